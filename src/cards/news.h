// The news deck.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int NEWS_EVENT_COUNT = 36;
// A permutation of the events 0..35 and the index of the next one; saved
// with the game and copied by the time machine.
extern std::array<uint8_t, NEWS_EVENT_COUNT> news_deck;
extern int32_t news_cursor;

// Draws and runs a news event for the current mover.
void news_show();
