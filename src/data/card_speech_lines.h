// What the characters say when they play a card or are hit by one: for each
// of the 12 characters three runs of one entry per card: the user's line
// for card k, then the line of a card played on oneself, then the victim's
// line; nullptr where a card has none. Every line starts with "#" and its
// four-digit voice clip. Our stand-in lines, shared by the characters.
#pragma once

#include <array>

#include "data/card_defs.h"
#include "data/speech_lines.h"

inline constexpr int CARD_SPEECH_ENTRIES = 3 * CARD_KIND_COUNT;
inline constexpr int CARD_LINES_USER = 0;
inline constexpr int CARD_LINES_SELF = CARD_KIND_COUNT;
inline constexpr int CARD_LINES_VICTIM = 2 * CARD_KIND_COUNT;
// The first voice clip of our lines: 2000 + CARD_SPEECH_ENTRIES x character + entry.
inline constexpr int CARD_SPEECH_FIRST_VOICE = 2000;
// The entries of card id k's lines.
constexpr int card_line_user(int card) {
    return CARD_LINES_USER + card - 1;
}
constexpr int card_line_self(int card) {
    return CARD_LINES_SELF + card - 1;
}
constexpr int card_line_victim(int card) {
    return CARD_LINES_VICTIM + card - 1;
}
static_assert(card_line_self(1) == card_line_user(CARD_KIND_COUNT) + 1 &&
                  card_line_victim(1) == card_line_self(CARD_KIND_COUNT) + 1 &&
                  card_line_victim(CARD_KIND_COUNT) == CARD_SPEECH_ENTRIES - 1,
              "the three runs follow each other and fill a character's entries");

extern const std::array<std::array<const char*, CARD_SPEECH_ENTRIES>, SPEECH_CHARACTERS>
    card_speech_lines;
