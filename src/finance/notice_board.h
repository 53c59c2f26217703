// The bulletin board of offers between players.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <string>

#include "board/game_types.h"

enum NoticeType : uint8_t {
    NOTICE_EMPTY = 0,
    NOTICE_SHARES = 1,
    NOTICE_LAND = 2,
    NOTICE_ITEM = 3,
    NOTICE_CARD = 4,
};

// One offer (12 bytes, little-endian in files).
struct NoticeOffer {
    uint8_t type;       // NoticeType
    uint8_t age;        // days since posting
    uint16_t object;    // stock 0..11, ObjectCode of the land, item 1..13 or card 1..30
    int32_t asking;     // asking price, yuan
    uint16_t count;     // shares offered
    uint8_t land_kind;  // land: the plot's chain-store byte or the facility's kind at posting
    uint8_t land_level; // land: the level at posting
};
static_assert(sizeof(NoticeOffer) == 12);
static_assert(offsetof(NoticeOffer, object) == 2);
static_assert(offsetof(NoticeOffer, asking) == 4);
static_assert(offsetof(NoticeOffer, count) == 8);
static_assert(offsetof(NoticeOffer, land_kind) == 10);
static_assert(offsetof(NoticeOffer, land_level) == 11);

inline constexpr int NOTICE_SLOTS = 7; // offers per player
inline constexpr size_t NOTICE_OFFER_SIZE = 12;
void notice_offer_write(const NoticeOffer& r, uint8_t* out);
NoticeOffer notice_offer_read(const uint8_t* in);

// Each player's offers, packed at the front of the row; saved whole, zeroed
// at a new game.
extern std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT> notice_board;

// A visit to the board by the current mover (human window or computer rules).
void notice_visit();
// Each new day: the offers of the players in the game age by one day.
void notice_age_offers();
// Takes every offer off the board (a new game, and the world reset).
void notice_board_clear();

// The check of a board read from a file: every offer's type is 0..4, each
// row is packed at its front, and an offer names a stock 0..11, a plot or
// facility code of the map's `lots` and `facilities`, an item 1..13 or a card
// 1..30 by its type, asks a price >= 0 and, for shares, offers 1..10000. False
// with the reason in `error`.
bool notice_board_valid(
    const std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT>& board, int lots,
    int facilities, std::string* error);
