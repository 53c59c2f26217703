#include "finance/lottery.h"

#include "board/world_reset.h"

// The lottery is not built yet: it returns at once.
void lotto_visit() {}
uint8_t lotto_owners[36] = {};
void lotto_monthly_draw() {}

void lotto_reset() {
    for (uint8_t& owner : lotto_owners)
        owner = 0;
}

WORLD_RESET(WORLD_RESET_LOTTERY, lotto_reset)
