// The points shop: players trade points for cards and items and sell them
// back for 90 % of their price. The store belongs to a company building; the
// takings of a visit (10 yuan per point spent, plus the full price of what
// was sold back) go to that company's earnings.
#pragma once

#include <array>
#include <cstdint>

// The computer's buying order after the vehicles: items 8, 2, 7, 1, 4, 3
// (as indices 0..7).
extern const std::array<uint8_t, 6> shop_item_priority;

// A visit from the landing rules with the object code the square serves; the
// store company is that code's company building (6001..7999), else there is
// no gift and nothing is booked.
void shop_visit(uint16_t object);

// The store company's building index of an object code, 0 when it names none.
int shop_store_company(uint16_t object);

// The four operations; each returns its share of the takings, 0 when
// refused (nothing changes then). A purchase needs the points and a copy to
// take, an item also fewer than nine held; a card bought into a full hand
// gives the cheapest held card back to the pool first.
int32_t shop_buy_card(int player, int card);
int32_t shop_buy_item(int player, int item);
// Sells the first held copy back: the price, 0 when not held.
int32_t shop_sell_card(int player, int card);
// Sells n held pieces of item: n x price, 0 when fewer are held.
int32_t shop_sell_items(int player, int item, int n);

// Orders card ids by points price, highest first (for a stable sort).
bool shop_compare_card_price(int a, int b);

// The computer's buying and selling; the takings.
int32_t shop_ai_visit(int player);

// ---------------------------------------------------------------------------
// The human's visit: the counter shown, the goods listed and what the visit
// took. The window and the scripted answers both act on it through
// shop_apply_action.

enum ShopCounter : int { SHOP_CARDS = 0, SHOP_ITEMS = 1 };
inline constexpr int SHOP_ROWS_MAX = 15;

struct ShopSession {
    int player = -1;
    int counter = SHOP_CARDS;
    std::array<uint8_t, SHOP_ROWS_MAX> cards{}; // card ids of the card counter's rows
    int card_rows = 0;
    std::array<uint8_t, 8> items{}; // item numbers of the item counter's rows
    int item_rows = 0;
    int32_t takings = 0;
};
extern ShopSession shop_session;

// Opens the visit of player: the card counter's rows drawn from the pool
// (rand() % 10 + 6 draws, each copy left equally likely, none from an empty
// pool), the items in stock listed.
void shop_session_open(int player);
// Lists the items 1..8 in stock for the item counter.
void shop_list_items();

// Actions of the decision DECIDE_SHOP_ACTION.
inline constexpr int SHOP_LEAVE = 0;
inline constexpr int SHOP_SWITCH = 1;
inline constexpr int SHOP_BUY_ROW = 100;   // + row of the counter shown
inline constexpr int SHOP_SELL_CARD = 200; // + hand slot
inline constexpr int SHOP_SELL_ITEM = 300; // + item number
// True when the window could give the action now.
bool shop_action_valid(const ShopSession& s, int action);

enum ShopOutcome : int {
    SHOP_DONE = 0,
    SHOP_NO_POINTS = 1, // too few points for the goods
    SHOP_FULL = 2,      // 15 cards or 9 of the item held
    SHOP_REFUSED = 3,   // nothing to take or give (no copy left, an invalid action)
};
// Carries one action out on the session (leaving changes nothing).
ShopOutcome shop_apply_action(ShopSession& s, int action);

// The chairman's gift on entering: a random item (rand() & 1) or card, shown
// by name; the card id, or SHOP_GIFT_ITEM | item, 0 when nothing was left.
inline constexpr int SHOP_GIFT_ITEM = 0x8000;
int shop_chairman_gift(int player);

// What a visit did, for the runner's checks.
struct ShopReport {
    int player;
    int company;          // store building index, 0 none
    int32_t points_spent; // points paid for purchases
    int32_t sold_prices;  // full prices of what was sold back
    int32_t takings;      // the visit's sum of the operations' results
    int64_t earnings_booked;
    int64_t total_booked;
};
using ShopObserver = void (*)(const ShopReport& report);
// nullptr removes it; a world reset keeps it.
void shop_set_observer(ShopObserver observer);
