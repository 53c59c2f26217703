// The bank's windows for a human player: the loan counter (with the special
// financing page for the bank company's chairman), the deposit window and
// the clerk's reminder before a loan falls due. The deals they make go
// through the rules of finance/bank.h.
#pragma once

#include <cstdint>

// The loan counter, its pictures and music around it; finance 1 offers the
// special-financing page, whose deals name the object code the bank square
// serves.
void bank_loan_screen(int finance, uint16_t object);
// The deposit window, the side panel on its first tab meanwhile.
void bank_deposit_screen();
// The clerk's reminder three days before the current player's loan falls
// due: for a human at the controls only; it closes by itself or at a click.
void bank_clerk_reminder();
