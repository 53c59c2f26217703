#include "finance/bank_amount.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr int32_t I32_MAX = std::numeric_limits<int32_t>::max();

// Keys: digits, 'b' backspace, 'c' clear, 'a' all; "sN" a slider click at x = N.
int64_t type_keys(int64_t maximum, const std::string& keys) {
    BankAmount amount;
    bank_amount_start(amount, maximum);
    for (size_t i = 0; i < keys.size(); ++i) {
        const char k = keys[i];
        if (k >= '0' && k <= '9')
            bank_amount_digit(amount, k - '0');
        else if (k == 'b')
            bank_amount_backspace(amount);
        else if (k == 'c')
            bank_amount_clear(amount);
        else if (k == 'a')
            bank_amount_all(amount);
        else if (k == 's') {
            size_t used = 0;
            bank_amount_slider(amount, std::stoi(keys.substr(i + 1), &used));
            i += used;
        }
        EXPECT_LE(amount.value, amount.maximum) << keys;
        EXPECT_GE(amount.value, 0) << keys;
    }
    return amount.value;
}

struct AmountCase {
    const char* what;
    int64_t maximum;
    const char* keys;
    int64_t expected;
};

TEST(BankAmountTest, KeysAndSliderGiveTheAmountWithinTheMaximum) {
    const AmountCase cases[] = {
        {"digits append", 100000, "1234", 1234},
        {"a leading 0 is replaced", 100000, "0007", 7},
        {"an eleventh digit is refused", 9999999999LL, "12345678901", 1234567890},
        {"ten nines fit and clamp to the maximum", I32_MAX, "9999999999", I32_MAX},
        {"above the maximum becomes the maximum", 500, "777", 500},
        {"backspace drops the last digit", 100000, "123b", 12},
        {"backspace on one digit gives 0", 100000, "5b", 0},
        {"clear", 100000, "55c", 0},
        {"all takes the maximum", 4321, "a", 4321},
        {"slider at 0 is one step", 3400, "s0", 101},
        {"slider at 102 is about half", 3400, "s102", 18 * 101},
        {"slider at 203 is capped at the maximum", 3400, "s203", 3400},
        {"slider past its end is the maximum", 3400, "s204", 3400},
        {"slider left of the bar is 0", 3400, "1s-1", 0},
        {"the slider's product does not overflow", I32_MAX, "s102", 18LL * (I32_MAX / 34 + 1)},
        {"the slider's product near the end clamps", I32_MAX, "s200", I32_MAX},
        {"maximum 0 stays 0", 0, "9as100", 0},
        {"a negative maximum counts as 0", -50, "9", 0},
    };
    for (const AmountCase& c : cases)
        EXPECT_EQ(type_keys(c.maximum, c.keys), c.expected) << c.what;
}

TEST(BankAmountTest, AccountsNeverSeeMoreThanThirtyTwoBitsHold) {
    BankAmount amount;
    bank_amount_start(amount, bank_amount_maximum(I32_MAX));
    for (int i = 0; i < BANK_AMOUNT_DIGITS; ++i)
        bank_amount_digit(amount, 9);
    EXPECT_EQ(bank_amount_yuan(amount), I32_MAX);
    EXPECT_FALSE(bank_amount_digit(amount, 1)); // the eleventh digit
    EXPECT_EQ(bank_amount_maximum(-5), 0);
}

} // namespace
