// The time machine: one snapshot of the whole game per seat, taken when a
// human begins a move and restored by the time machine item; and the
// construction vehicle's arrival test.
//
// A snapshot is stored in save games as a 10008-byte little-endian image
// followed by its copy of the map block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "board/game_types.h"
#include "cards/cards.h"
#include "cards/news_deck.h"
#include "finance/notice_board.h"
#include "finance/stock_types.h"
#include "finance/trading.h"

inline constexpr size_t SNAPSHOT_IMAGE_SIZE = 10008;

// Offsets of the blocks in the image.
enum SnapshotOffset : size_t {
    SNAP_VALID = 0,
    SNAP_DATE = 4,
    SNAP_PLAYERS = 8,
    SNAP_WALKERS = 424,
    SNAP_GODS = 504, // slots 1..46
    SNAP_CARDS = 1608,
    SNAP_ITEMS = 1668,
    SNAP_CARD_STOCK = 1728,
    SNAP_ITEM_STOCK = 1758,
    SNAP_HISTORY_DAY = 1768,
    SNAP_HISTORY = 1772,
    SNAP_HOLDINGS = 8684,
    SNAP_STOCKS = 9068,
    SNAP_NOTICES = 9500,
    SNAP_PRICE_INDEX = 9836,
    SNAP_DAYS_ELAPSED = 9840,
    SNAP_MONTHS_ELAPSED = 9844,
    SNAP_CLOSED_DAYS = 9848,
    SNAP_INDEX_BASE = 9852,
    SNAP_MARKET_INDEX = 9856,
    SNAP_MARKET_TREND = 9860,
    SNAP_JACKPOT = 9864,
    SNAP_LOTTO_OWNERS = 9868,
    SNAP_JAIL = 9904,
    SNAP_HOSPITAL = 9912,
    SNAP_NEWS_CURSOR = 9920,
    SNAP_FATE_CURSOR = 9924,
    SNAP_NEWS_DECK = 9928,
    SNAP_FATE_DECK = 9964,
    SNAP_MAP_POINTER = 10004,
};

// One seat's snapshot: the saved game state as it stood, and the map block
// copy beside it.
struct GameSnapshot {
    int32_t valid = 0; // 1 after a snapshot
    uint32_t date = 0;
    std::array<PlayerRecord, PLAYER_COUNT> players{};
    std::array<WalkerRecord, WALKER_COUNT> walkers{};
    std::array<GodObject, GOD_LAST_SLOT> gods{}; // slots 1..46
    std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> cards{};
    std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> items{};
    std::array<uint8_t, CARD_KIND_COUNT> card_stock{};
    std::array<uint8_t, ITEM_SHOP_KINDS> item_stock{};
    int32_t history_day = 0;
    std::array<std::array<float, STOCK_HISTORY_DAYS>, STOCK_COUNT> history{};
    std::array<std::array<StockHolding, STOCK_COUNT>, PLAYER_COUNT> holdings{};
    std::array<StockRecord, STOCK_COUNT> stocks{};
    std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT> notices{};
    int32_t price_index = 0;
    int32_t days_elapsed = 0;
    int32_t months_elapsed = 0;
    int32_t closed_days = 0;
    int32_t index_base = 0;
    int32_t market_index = 0;
    float market_trend = 0;
    int32_t jackpot = 0;
    std::array<Owner, 36> lotto_owners{};
    std::array<uint8_t, 8> jail{};
    std::array<uint8_t, 8> hospital{};
    int32_t news_cursor = 0;
    int32_t fate_cursor = 0;
    std::array<uint8_t, NEWS_EVENT_COUNT> news_deck{};
    std::array<uint8_t, FATE_SLOT_COUNT> fate_deck{};
    std::vector<uint8_t> map_copy; // the map block as it stood
};

extern std::array<GameSnapshot, PLAYER_COUNT> snapshot_slots;

// Clears every seat's snapshot and gives each a zeroed map copy of
// map_size bytes (a new map was loaded).
void snapshot_prepare_slots(uint32_t map_size);
// Clears every snapshot and frees the map copies.
void snapshot_free_slots();
// Takes the current mover's snapshot when it is a human seat (also one
// handed over to the computer); otherwise nothing.
void snapshot_take();
// Puts the game back to the current mover's snapshot: 1 restored, 0 when the
// slot holds none (or its map copy is unsound). The slot stays valid.
int snapshot_restore();

// The image of seat's snapshot (SNAPSHOT_IMAGE_SIZE bytes; padding and the
// map pointer written 0).
void snapshot_image_write(int seat, uint8_t* out);
// Checks an image: valid is 0 or 1, and a valid one holds decks that are
// permutations, cursors and the history position in range, card rows packed
// with ids 1..30, item counts at most 9 with the last two bytes of each row
// 0, character numbers in range, and lottery numbers and offers held only
// by the `player_count` seats of the game the image belongs to (a save's own
// count, never the running game's). False with the reason in error.
bool snapshot_image_check(const uint8_t* in, int player_count, std::string* error);
// Reads seat's snapshot from an image of a game of `player_count` seats after
// checking it; a refused image changes nothing. The map copy is left as it is
// (the reader fills it).
bool snapshot_image_read(int seat, const uint8_t* in, int player_count, std::string* error);

static_assert(SNAP_NEWS_CURSOR == SNAPSHOT_DECKS_OFFSET, "the decks block of a snapshot");
