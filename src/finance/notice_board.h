// The bulletin board of offers between players.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <string>

#include "board/game_types.h"
#include "engine/presenter.h"

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

// A visit to the board by the current mover (human window or computer
// rules), after the stale offers are dropped and before the bank's reserve
// check.
void notice_visit();
// Each new day: the offers of the players in the game age by one day.
void notice_age_offers();
// Takes every offer off the board (a new game, and the world reset).
void notice_board_clear();

// Posts into the player's first slot that is empty or holds the same type and
// object (replacing that offer); nothing when none of the seven qualifies, or
// for a player, type or object the board cannot hold. Land offers take the
// property's chain-store byte or kind and its level. 1 when posted.
int notice_post(int player, int type, int object, int32_t asking, int count);
// Moves the player's later offers up one slot and empties the seventh.
void notice_remove(int player, int slot);
// Drops every offer whose seller no longer has what was offered, and every
// offer naming an object outside its type's range or the loaded map.
void notice_validate();
// The current mover buys the seller's offer: 1 bought, 0 not (too little
// cash, a full hand or item row, nothing there). The caller removes the offer.
int notice_buy_offer(int seller, int slot);

// What an offer is worth today (yuan, price index applied for land, items and
// cards; 0 for an offer naming nothing). Bounds the asking price.
int64_t notice_market_value(const NoticeOffer& offer);
int64_t notice_market_value_of(int type, int object, int count);
// The most a human may ask for: 10 x the market value, held within 32 bits.
int32_t notice_asking_limit(int type, int object, int count);

// The computer's visit in its three parts, for the mover p (each with its own
// chance); notice_visit runs them in this order.
void notice_ai_post(int player);
void notice_ai_reprice(int player);
// 1 when an offer was bought.
int notice_ai_buy(int player);
// The card ids of every ordered pair of different slots holding the same
// card: a card held twice gives two entries, three times six. Returns the
// number of entries written (at most out_max).
int notice_card_pairs(int player, uint8_t* out, int out_max);

// The whole board as read from a save or a snapshot: every type 0..4, every
// row packed, and no offer in a row of a seat at or above player_count, the
// count of the game the board belongs to. `board` is PLAYER_COUNT x
// NOTICE_SLOTS offers in row order.
bool notice_board_valid(const NoticeOffer* board, int player_count);
// The same for a board of the running game (game_player_count seats); never
// for one read from a file, which carries its own count.
bool notice_board_valid(const NoticeOffer* board);
// What each offer of such a board names: a stock 0..11 with 1..10000 shares,
// a plot or facility code of the map's `lots` and `facilities`, an item
// 1..13 or a card 1..30 by its type, at an asking price >= 0. False with the
// reason in `error`.
bool notice_board_objects_valid(const NoticeOffer* board, int lots, int facilities,
                                std::string* error);

// A human's answers on the board window (DECIDE_BOARD_ACTION, DECIDE_BOARD_POST).
inline constexpr int NOTICE_ACTION_EXIT = 0;
inline constexpr int NOTICE_ACTION_OFFER = 100; // + 10 x seller + slot
constexpr int notice_offer_action(int seller, int slot) {
    return NOTICE_ACTION_OFFER + 10 * seller + slot;
}
// True when the board window could answer this for player: 0, a kind 1..4 to
// post with a free slot left, or the button of an offer on the board.
bool notice_action_allowed(int player, int action);
// True when the posting window of type could give this object for player:
// 0, or stock + 1 with shares held, the code of a plot or facility he owns,
// an item or a card he holds.
bool notice_post_allowed(int player, int type, int object);
// True when the player's seventh slot is taken.
bool notice_row_full(int player);

// Messages of the board.
inline constexpr const char* NOTICE_TEXT_NO_CASH = "您的现金不足！";
inline constexpr const char* NOTICE_TEXT_CHAIRMAN = "恭喜您获得经营权！";
inline constexpr const char* NOTICE_TEXT_ITEMS_FULL = "道具栏已满\n\n无法购买！";
inline constexpr const char* NOTICE_TEXT_CARDS_FULL = "卡片栏已满\n\n无法购买！";
inline constexpr const char* NOTICE_TEXT_ROW_FULL = "公布栏已满\n\n请先撤件！";
inline constexpr const char* NOTICE_TEXT_COUNT = "请输入欲卖出的张数";
inline constexpr const char* NOTICE_TEXT_ASKING = "请输入欲拍卖的价格\n\n（市价：%d元）";

// An observer of purchases on the board (the runner's checks): called after
// each purchase with the buyer, the seller and the offer bought. nullptr
// removes it; a world reset keeps it.
using NoticeObserver = void (*)(int buyer, int seller, const NoticeOffer& offer);
void notice_set_observer(NoticeObserver observer);

// The window of a human's visit, filled by the window module: opened before
// the first of his answers and closed after the last; without it nothing is
// shown.
struct NoticeBoardPresenter {
    void (*open)(int player); // the board drawn for player
    void (*close)();          // the window gone, the board repainted
};
extern PresenterSlot<NoticeBoardPresenter> notice_board_presenter;
