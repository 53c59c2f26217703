// The constant table of the 30 cards and 13 items.
#pragma once

#include <array>
#include <cstdint>

struct CardDef {
    const char* name; // display name (UTF-8)
    uint8_t stock;    // copies in the pool at the start of a game
    uint8_t price;    // price in points
    uint8_t level;    // nastiness 0..2, compared with a computer player's personality
};

inline constexpr int CARD_KIND_COUNT = 30; // card ids 1..30
inline constexpr int ITEM_KIND_COUNT = 13; // item numbers 1..13
inline constexpr int ITEM_ID_BASE = 30;    // item n has id 30 + n
inline constexpr int CARD_DEF_ROWS = 44;   // row 0 empty, ids 1..43
inline constexpr int ITEM_SHOP_KINDS = 8;  // items 1..8 have a shop stock

// Item numbers.
enum ItemNumber : int {
    ITEM_ROBOT_DOLL = 1,
    ITEM_ROADBLOCK = 2,
    ITEM_MINE = 3,
    ITEM_TIME_BOMB = 4,
    ITEM_MOTORBIKE = 5,
    ITEM_CAR = 6,
    ITEM_MISSILE = 7,
    ITEM_REMOTE_DICE = 8,
    ITEM_ROBOT_WORKER = 9,
    ITEM_TIME_MACHINE = 10,
    ITEM_TELEPORTER = 11,
    ITEM_CONSTRUCTION_VEHICLE = 12,
    ITEM_NUCLEAR_MISSILE = 13,
};

extern const std::array<CardDef, CARD_DEF_ROWS> card_defs;

// Row of a card id 1..30 or of item number 1..13.
inline const CardDef& card_def(int id) {
    return card_defs[(id >= 1 && id <= 43) ? id : 0];
}
inline const CardDef& item_def(int n) {
    return card_defs[(n >= 1 && n <= ITEM_KIND_COUNT) ? ITEM_ID_BASE + n : 0];
}
