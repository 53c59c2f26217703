// What the characters say when they use an item, and their reactions to a
// roadblock, a mine and a time bomb picked up on the way.
#pragma once

#include <array>

inline constexpr int ITEM_SPEECH_CHARACTERS = 12;
inline constexpr int ITEM_SPEECH_ROWS = 26;
// A line's voice clip is 3100 + 26 x character + row.
inline constexpr int ITEM_SPEECH_FIRST_VOICE = 3100;

// Rows: n - 1 the user of item n (n = 1..13); 14 stopped by a roadblock, 15
// hit by a mine, 16 a time bomb picked up. Each line starts with "#" and its
// four-digit voice clip; rows no rule reads are empty.
inline constexpr int ITEM_LINE_ROADBLOCK_HIT = 14;
inline constexpr int ITEM_LINE_MINE_HIT = 15;
inline constexpr int ITEM_LINE_BOMB_TAKEN = 16;
extern const std::array<std::array<const char*, ITEM_SPEECH_ROWS>, ITEM_SPEECH_CHARACTERS>
    item_speech_lines;

// Row 0..25 of a character 0..11; "" outside the table.
const char* item_speech_line(int character, int row);
