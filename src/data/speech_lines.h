// The characters' reaction lines shown in the speech bubble.
#pragma once

#include <array>

inline constexpr int SPEECH_CHARACTERS = 12;
inline constexpr int SPEECH_ROWS = 27;
// The first voice clip; a line's clip is 1050 + 27 x character + row.
inline constexpr int SPEECH_FIRST_VOICE = 1050;

// Rows by use: 0-2 a percentage, 3-5 a count, 6-8 a gain, 9-11 a payment,
// 12-14 a payment spared, 16-17 a street owned, 18 the main rival paid;
// 15 and 19-26 are read by row (jail, hospital, wins and losses). Every
// line starts with "#" and its four-digit voice clip.
extern const std::array<std::array<const char*, SPEECH_ROWS>, SPEECH_CHARACTERS> speech_lines;
