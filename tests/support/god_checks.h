// Whole-game consistency of the god slots, the squares' god and occupancy
// marks, and the jail and hospital flags, for runs over many seeded games.
#pragma once

#include <string>

// Empty when every rule holds; else the first broken rule, in words.
std::string god_board_check();
