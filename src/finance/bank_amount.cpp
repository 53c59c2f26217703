#include "finance/bank_amount.h"

#include <algorithm>
#include <limits>

namespace {

int digit_count(int64_t value) {
    int n = 1;
    while (value >= 10) {
        value /= 10;
        ++n;
    }
    return n;
}

void set_value(BankAmount& amount, int64_t value) {
    amount.value = std::clamp<int64_t>(value, 0, amount.maximum);
    amount.digits = digit_count(amount.value);
}

} // namespace

void bank_amount_start(BankAmount& amount, int64_t maximum) {
    amount.maximum = std::max<int64_t>(maximum, 0);
    set_value(amount, 0);
}

bool bank_amount_digit(BankAmount& amount, int digit) {
    if (digit < 0 || digit > 9) return false;
    if (amount.value != 0 && amount.digits >= BANK_AMOUNT_DIGITS) return false;
    // At most ten digits: 9 999 999 999 fits easily in 64 bits.
    const int64_t typed = amount.value * 10 + digit;
    set_value(amount, typed);
    return true;
}

void bank_amount_backspace(BankAmount& amount) {
    set_value(amount, amount.digits <= 1 ? 0 : amount.value / 10);
}

void bank_amount_clear(BankAmount& amount) {
    set_value(amount, 0);
}

void bank_amount_all(BankAmount& amount) {
    set_value(amount, amount.maximum);
}

void bank_amount_slider(BankAmount& amount, int x) {
    if (x < 0) {
        set_value(amount, 0);
        return;
    }
    if (x >= BANK_SLIDER_WIDTH) {
        set_value(amount, amount.maximum);
        return;
    }
    const int64_t step = amount.maximum / 34 + 1;
    set_value(amount, (static_cast<int64_t>(x / 6) + 1) * step);
}

int32_t bank_amount_yuan(const BankAmount& amount) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(amount.value, 0, std::numeric_limits<int32_t>::max()));
}

int64_t bank_amount_maximum(int32_t account) {
    return std::max<int64_t>(account, 0);
}
