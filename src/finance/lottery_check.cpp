#include "finance/lottery.h"

bool lotto_owners_valid(const uint8_t* owners, int players) {
    for (int n = 0; n < 36; ++n)
        if (owners[n] > players) return false;
    return true;
}
