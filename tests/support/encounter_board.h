// A small board for the rules of gods, encounters and jail: twelve squares in
// a line (100 world units apart), each with a role, and three computer
// players with money on it.
//
//   1..6  property squares serving plots 1..6 (plots 1-3 on street "A")
//   7     jail square (serves the jail decoration)
//   8     hospital square (serves the hospital decoration)
//   9     bank square
//   10    property square serving facility 1
//   11    property square serving company building 1
//   12    empty square
#pragma once

inline constexpr int EB_JAIL_SQUARE = 7;
inline constexpr int EB_HOSPITAL_SQUARE = 8;
inline constexpr int EB_BANK_SQUARE = 9;
inline constexpr int EB_FACILITY_SQUARE = 10;
inline constexpr int EB_COMPANY_SQUARE = 11;
inline constexpr int EB_EMPTY_SQUARE = 12;
inline constexpr int EB_SQUARES = 12;

// Resets every module the rules touch and builds the board; players 0..n-1
// are computer players with 10000 cash and 10000 deposit on square 12.
// Returns false when the board could not be loaded.
bool encounter_board_setup(int players = 3);

// Puts mover m (0..8) on square s (occupancy marks kept right).
void encounter_board_put(int m, int s);
