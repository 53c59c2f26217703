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
// The turn tests' game: a fresh world on a ring of 10 squares (8 lots, 2
// facilities) with the card pools filled, the generator seeded with 5, and
// three computer players on squares 2, 4 and 6 with 1000 in cash each; no
// autosave. False when the ring cannot be loaded.
bool ring_three_computers();
// A board waiting for its human: a ring of 12 squares, the human on square 1
// and a computer on square 3, the human to move, the board screen shown.
// False when the ring cannot be loaded.
bool ring_human_and_computer();
