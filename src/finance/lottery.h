// The lottery.
#pragma once

#include <cstdint>

// Landing on a lottery square, for the current mover.
void lotto_visit();
// Owner (player + 1, 0 free) of each lottery number 1..36 at index n - 1.
extern uint8_t lotto_owners[36];
// The monthly draw of the 15th.
void lotto_monthly_draw();
// Frees every lottery number.
void lotto_reset();
