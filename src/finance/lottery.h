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

// The check of the owners read from a file: each is 0 (free) or a player + 1
// of the game's `players`.
bool lotto_owners_valid(const uint8_t* owners, int players);
