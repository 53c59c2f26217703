// The fate deck.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int FATE_SLOT_COUNT = 37;
// A permutation of the slots 0..36 and the index of the next one; saved with
// the game and copied by the time machine.
extern std::array<uint8_t, FATE_SLOT_COUNT> fate_deck;
extern int32_t fate_cursor;

// Draws and runs a fate event for the current mover.
void fate_show();
