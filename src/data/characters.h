// The constant tables a game's state starts from: the twelve playable
// characters, the wandering figures' start records and the fixed kind of
// every god slot.
#pragma once

#include <array>
#include <cstdint>

#include "board/game_types.h"

// The twelve playable characters in the player layout; a new game copies the
// chosen one into its seat. The `name` field holds the character's index.
extern const std::array<CharacterTemplate, CHARACTER_COUNT> character_table;

// Name of character 0..11 (UTF-8); "" for anything else.
const char* character_name(int character);

// The five wandering figures as a new game starts them.
extern const std::array<WalkerRecord, WALKER_COUNT> walker_initial;

// Kind of each god slot 0..46 (slot 0 is never used and holds 0).
extern const std::array<uint8_t, GOD_SLOT_COUNT> god_initial_kinds;
