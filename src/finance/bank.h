// The bank rules.
#pragma once

#include <cstdint>

// The deposit part of a bank visit, for the current mover.
void bank_deposit_visit();
// The loan part of a bank visit, given the object code the bank square serves.
void bank_loan_visit(uint16_t object);
// The loan reminders and forced repayment of the current player, at its turn start.
void bank_check_loan_due();
// Covers the bank company's reserve shortfall (flag 1 after a rebalancing).
void bank_check_reserves(int flag);
// Sets the loan's due date when none is set: 90 days on, moved past days off.
void bank_set_loan_due(int player);
