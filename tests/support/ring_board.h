// A ring of squares for the movement and turn tests.
#pragma once

#include <cstdint>

#include "board/world_reset.h"
#include "support/test_board.h"

// Square i lies at (160 * i, 320); link 0 goes to i + 1, link 1 to i - 1
// (both wrapping round the ring). Every square is empty (SQ_EMPTY).
bool ring_board_load(int squares, int lots = 4, int facilities = 2);
// Puts player p on square s (position, previous square s - 1, occupancy).
void ring_place_player(int p, int s, uint8_t control);
