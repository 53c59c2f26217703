// What the characters say when they play a card or are hit by one: for each
// of the 12 characters 90 entries: entry k - 1 the user's line for card k,
// 29 + k the line of a card played on oneself, 59 + k the victim's line;
// nullptr where a card has none. Every line starts with "#" and its
// four-digit voice clip. Our stand-in lines, shared by the characters.
#pragma once

#include <array>

#include "data/speech_lines.h"

inline constexpr int CARD_SPEECH_ENTRIES = 90;
// The first voice clip of our lines: 2000 + 90 x character + entry.
inline constexpr int CARD_SPEECH_FIRST_VOICE = 2000;
// The entries of card id k's lines.
constexpr int card_line_user(int card) {
    return card - 1;
}
constexpr int card_line_self(int card) {
    return 29 + card;
}
constexpr int card_line_victim(int card) {
    return 59 + card;
}

extern const std::array<std::array<const char*, CARD_SPEECH_ENTRIES>, SPEECH_CHARACTERS>
    card_speech_lines;
