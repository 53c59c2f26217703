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
// The items' rows follow the cards': item n has id ITEM_ID_BASE + n.
inline constexpr int ITEM_ID_BASE = CARD_KIND_COUNT;
inline constexpr int CARD_DEF_ROWS = 1 + CARD_KIND_COUNT + ITEM_KIND_COUNT; // row 0 empty
inline constexpr int ITEM_SHOP_KINDS = 8; // items 1..8 have a shop stock

// Card ids.
enum CardId : int {
    CARD_SHARE_WEALTH = 1,
    CARD_SHARE_POVERTY = 2,
    CARD_BUY_LAND = 3,
    CARD_SWAP_LAND = 4,
    CARD_SWAP_HOUSE = 5,
    CARD_TURN_AROUND = 6,
    CARD_REBUILD = 7,
    CARD_AUCTION = 8,
    CARD_ANGEL = 9,
    CARD_DEMON = 10,
    CARD_MONSTER = 11,
    CARD_DEMOLISH = 12,
    CARD_ROB = 13,
    CARD_STAY = 14,
    CARD_HIBERNATE = 15,
    CARD_SLEEPWALK = 16,
    CARD_FRAME_UP = 17,
    CARD_REVENGE = 18,
    CARD_SCAPEGOAT = 19,
    CARD_FREE_PASS = 20,
    CARD_PARDON = 21,
    CARD_DISMISS_GOD = 22,
    CARD_INVITE_GOD = 23,
    CARD_RED = 24,
    CARD_BLACK = 25,
    CARD_TAX_AUDIT = 26,
    CARD_RAISE_TOLL = 27,
    CARD_SEIZE = 28,
    CARD_ALLIANCE = 29,
    CARD_TURTLE = 30,
};

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

// Row of a card id 1..30 (or an item's id) or of item number 1..13.
inline const CardDef& card_def(int id) {
    return card_defs[(id >= 1 && id < CARD_DEF_ROWS) ? id : 0];
}
inline const CardDef& item_def(int n) {
    return card_defs[(n >= 1 && n <= ITEM_KIND_COUNT) ? ITEM_ID_BASE + n : 0];
}
