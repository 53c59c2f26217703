// The square kinds: what a square does to the player whose move ends on it.
// Each module that runs a kind of square registers its row with one line at
// file scope, beside the small handler that calls into the module,
//
//     SQUARE_KIND(SQ_LOTTERY, land_lottery, SQUARE_SOUND_VISIT)
//
// and the landing (landing.cpp) looks the kind up here. The kinds, the
// module that registers each and the sound it plays:
//    0 property, 1 empty                    board/landing.cpp        none
//    2 news                                 cards/news.cpp           visit
//    3 fate                                 cards/fate.cpp           visit
//    4 jail, 5 hospital                     board/landing.cpp        visit
//    6-8 the three mini-games               board/minigames.cpp      visit
//    9 lottery                              finance/lottery.cpp      visit
//   10-12 points (50, 30, 10)               finance/shop.cpp         gift
//   13 card                                 cards/card_use.cpp       gift
//   14 bank                                 finance/bank.cpp         visit
//   15 shop                                 finance/shop.cpp         visit
//   16 magic house                          finance/magic_house.cpp  visit
// A kind holds one row; a second registration aborts at start. The rows are
// filled by static initialisers and read only once the program runs.
#pragma once

#include <cstdint>

// Wait values for the mover's ActorAnim: bit 7 ends the turn when the low
// seven bits of ticks have run out.
inline constexpr uint8_t LAND_WAIT_PROPERTY = 0x88;
inline constexpr uint8_t LAND_WAIT_OTHER = 0x80;

// The board_effects element a kind plays on landing, before its handler.
inline constexpr int SQUARE_SOUND_NONE = -1;
inline constexpr int SQUARE_SOUND_VISIT = 10; // a place to visit or a game
inline constexpr int SQUARE_SOUND_GIFT = 16;  // the points and card squares

// What the square does to the mover `cur` whose move ended on `square`,
// whose object code is `code`; returns the wait byte of the turn end.
using SquareAction = uint8_t (*)(int cur, int square, int code);

struct SquareKindRow {
    int kind;             // SquareType
    SquareAction handler; // never nullptr
    int sound;            // board_effects element, or SQUARE_SOUND_NONE
};

// Puts the row at its kind. A kind outside the square types, a missing
// handler or a kind registered twice aborts with a message. Returns true so
// that it can initialise a file-scope constant.
bool square_kind_register(const SquareKindRow& row);
// The row registered for kind, or nullptr (none, or no such kind).
const SquareKindRow* square_kind_row(int kind);

#define SQUARE_KIND_JOIN2(a, b) a##b
#define SQUARE_KIND_JOIN(a, b) SQUARE_KIND_JOIN2(a, b)
#define SQUARE_KIND(kind, handler, sound)                                                          \
    namespace {                                                                                    \
    [[maybe_unused]] const bool SQUARE_KIND_JOIN(square_kind_registered_, __LINE__) =              \
        square_kind_register(SquareKindRow{kind, handler, sound});                                 \
    }
