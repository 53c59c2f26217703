// The amount typed in the deposit window: a decimal digit string of at most
// ten digits whose value never exceeds the mode's maximum. Ten digits do not
// fit 32 bits, so the value and the slider's product are worked out in 64
// bits and clamped to the maximum before they reach an account.
#pragma once

#include <cstdint>

constexpr int BANK_AMOUNT_DIGITS = 10;
constexpr int BANK_SLIDER_WIDTH = 204; // the slider bar, pixels

struct BankAmount {
    int64_t maximum = 0; // the deposit when withdrawing, the cash when depositing
    int64_t value = 0;   // never above the maximum
    int digits = 1;      // digits shown; the value 0 shows as one digit
};

// A new mode: the maximum (a negative one counts as 0) and the amount 0.
void bank_amount_start(BankAmount& amount, int64_t maximum);
// Appends a digit 0..9: a leading 0 is replaced, an eleventh digit is
// refused (false), a value above the maximum becomes the maximum.
bool bank_amount_digit(BankAmount& amount, int digit);
// Removes the last digit; with one digit left the amount becomes 0.
void bank_amount_backspace(BankAmount& amount);
void bank_amount_clear(BankAmount& amount);
void bank_amount_all(BankAmount& amount);
// A click x pixels from the slider's left end: left of it 0, at or past its
// right end the maximum, else (x / 6 + 1) x (maximum / 34 + 1), at most the maximum.
void bank_amount_slider(BankAmount& amount, int x);
// The amount as the accounts hold it (the maximum never exceeds them).
int32_t bank_amount_yuan(const BankAmount& amount);
// The maximum of a mode from 32-bit accounts.
int64_t bank_amount_maximum(int32_t account);
