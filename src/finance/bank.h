// The bank rules.
#pragma once

#include <cstdint>

// The deposit part of a bank visit, for the current mover.
void bank_deposit_visit();
// The loan part of a bank visit, given the object code the bank square serves.
void bank_loan_visit(uint16_t object);
