// A new game from the set-up screen's choices: the players with their money,
// items and vehicles, the card and item pools, the wandering characters in
// jail and hospital, the game options, the chosen map's stock market, and the
// empty trading board, holdings, lottery and decks. The map, the gods and the
// movers' animation records come afterwards with the map load.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "board/game_types.h"

// The set-up screen's seven choices, by index.
enum SetupChoice : int {
    SETUP_PLAYERS = 0,   // players - 2, 0..2
    SETUP_MONEY = 1,     // row of setup_money_table
    SETUP_TRAVEL = 2,    // TravelMode 0..2
    SETUP_LAND_TERM = 3, // 0..5, kept as game_land_term
    SETUP_GAME_TIME = 4, // row of setup_days_table
    SETUP_VICTORY = 5,   // row of setup_victory_table
    SETUP_MAP = 6,       // 0..3
    SETUP_CHOICE_COUNT = 7,
};
using NewGameSettings = std::array<int32_t, SETUP_CHOICE_COUNT>;

// One chosen character, per seat in the order chosen.
struct SetupRunner {
    uint32_t character; // 0..11, SETUP_COMPUTER_SEAT set for a computer seat
    int32_t frame;      // its running animation's frame
    FrameSet* sprite;   // its running sprite (the set-up screen's)
};
inline constexpr uint32_t SETUP_COMPUTER_SEAT = 0x80000000u;

extern NewGameSettings setup_choice;
extern std::array<SetupRunner, PLAYER_COUNT> setup_runners;

inline constexpr int SETUP_TABLE_ROWS = 6;
extern const std::array<int32_t, SETUP_TABLE_ROWS> setup_money_table;   // starting money
extern const std::array<int32_t, SETUP_TABLE_ROWS> setup_days_table;    // day limit, 0 none
extern const std::array<int32_t, SETUP_TABLE_ROWS> setup_victory_table; // x starting money, 0 none

// Turns setup_choice and setup_runners into a fresh game state (everything
// but what the map load sets). The date, the market index, the view's
// rotation and the campaign's cleared maps are kept. A choice outside its
// table or a seat's character above 11 is refused: false with the reason in
// `error` (may be null), and nothing changed.
bool new_game_init(std::string* error);
// The end of every set-up, confirmed or left: a character marked beaten in
// this set-up's grid (4) stays beaten (2), every other mark is cleared.
void setup_rewrite_character_state();
