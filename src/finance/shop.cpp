#include "finance/shop.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "board/speech.h"
#include "board/square_kinds.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/util.h"

const std::array<uint8_t, 6> shop_item_priority = {7, 1, 6, 0, 3, 2};
ShopSession shop_session;

namespace {

constexpr int POINTS_WANTED = 100; // below this a computer sells its spares
constexpr int CARD_DRAWS_MIN = 6;  // the card counter lists 6..15 draws
constexpr int CARD_DRAWS_SPREAD = 10;
constexpr int TAKINGS_PER_POINT = 10; // yuan booked per point spent

// What the operations of the running visit did.
struct Tally {
    int32_t spent = 0;
    int32_t sold = 0;
};
Tally tally;
ShopObserver observer = nullptr;

int price_of_card(int id) {
    return card_def(id).price;
}
int price_of_item(int n) {
    return item_def(n).price;
}
// A computer of this personality does not want goods of this nastiness.
bool unwanted(int level, int player) {
    return level - static_cast<int>(player_table[player].personality) == 2;
}
int travel_mode(int player) {
    return player_table[player].travel & TRAVEL_MODE_MASK;
}
bool valid_player(int player) {
    return is_player_seat(player);
}
// Back-sale points: trunc(price x 0.9), in whole numbers.
int32_t resale_points(int32_t price) {
    return static_cast<int32_t>(int64_t{price} * 9 / 10);
}

// ---------------------------------------------------------------------------
// The computer's steps

void ai_sell_unwanted(int p) {
    int slot = 0;
    while (slot < CARD_HAND_MAX && player_cards[p][slot] != 0) {
        const int id = player_cards[p][slot];
        if (unwanted(card_def(id).level, p) && shop_sell_card(p, id) > 0) continue;
        ++slot;
    }
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n) {
        const int held = player_items[p][n - 1];
        if (held > 0 && unwanted(item_def(n).level, p)) shop_sell_items(p, n, held);
    }
}

void ai_sell_spares(int p) {
    if (player_table[p].points >= POINTS_WANTED) return;
    if (const int cheapest = card_cheapest(p)) shop_sell_card(p, cheapest);
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n) {
        const int held = player_items[p][n - 1];
        if (held > 1) shop_sell_items(p, n, held - 1);
    }
    const int riding = travel_mode(p) == TRAVEL_MOTORBIKE ? ITEM_MOTORBIKE
                       : travel_mode(p) == TRAVEL_CAR     ? ITEM_CAR
                                                          : 0;
    if (riding != 0 && player_items[p][riding - 1] > 0)
        shop_sell_items(p, riding, player_items[p][riding - 1]);
}

void ai_buy_cards(int p, int32_t t) {
    std::vector<int> candidates;
    for (int id = 1; id <= CARD_KIND_COUNT; ++id) {
        if (t < price_of_card(id) || unwanted(card_def(id).level, p)) continue;
        for (int copy = 0; copy < card_stock[id - 1]; ++copy)
            candidates.push_back(id);
    }
    std::stable_sort(candidates.begin(), candidates.end(), shop_compare_card_price);
    for (const int id : candidates) {
        if (card_count(p) >= CARD_HAND_MAX) break;
        if (t >= price_of_card(id) && shop_buy_card(p, id) > 0) t -= price_of_card(id);
    }
}

// A vehicle needs strictly more budget than its price.
void ai_buy_vehicle(int p, int item, int mode, int32_t& q) {
    if (travel_mode(p) == mode || player_items[p][item - 1] > 0) return;
    if (price_of_item(item) < q && item_stock[item - 1] > 0 && shop_buy_item(p, item) > 0)
        q -= price_of_item(item);
}

void ai_buy_items(int p, int32_t q) {
    ai_buy_vehicle(p, ITEM_MOTORBIKE, TRAVEL_MOTORBIKE, q);
    ai_buy_vehicle(p, ITEM_CAR, TRAVEL_CAR, q);
    for (const uint8_t index : shop_item_priority) {
        const int n = index + 1;
        if (player_items[p][n - 1] >= ITEM_KIND_MAX || unwanted(item_def(n).level, p)) continue;
        if (price_of_item(n) <= q && item_stock[n - 1] > 0 && shop_buy_item(p, n) > 0)
            q -= price_of_item(n);
    }
}

// ---------------------------------------------------------------------------

// Adds the visit's takings to the store company's two earnings counters.
void book(int company, int32_t takings, ShopReport* report) {
    if (company == 0 || takings == 0) return;
    CompanyBuilding& c = map_company_table[company];
    const int32_t before = c.earnings, total_before = c.earnings_total;
    c.earnings = util_add_sat32(c.earnings, takings);
    c.earnings_total = util_add_sat32(c.earnings_total, takings);
    report->earnings_booked = int64_t{c.earnings} - before;
    report->total_booked = int64_t{c.earnings_total} - total_before;
}

int32_t human_visit(int p) {
    shop_session_open(p);
    for (;;) {
        const int action = decide(DecisionRequest{DECIDE_SHOP_ACTION, p, nullptr, 0, 0});
        if (action == SHOP_LEAVE) break;
        shop_apply_action(shop_session, action);
    }
    const int32_t takings = shop_session.takings;
    shop_session = ShopSession{};
    return takings;
}

} // namespace

int shop_store_company(uint16_t object) {
    if (!object_in(object, OBJ_COMPANY_BASE, map_company_count) || map_company_table == nullptr)
        return 0;
    return object_index(object, OBJ_COMPANY_BASE);
}

bool shop_compare_card_price(int a, int b) {
    return price_of_card(a) > price_of_card(b);
}

int32_t shop_buy_card(int player, int card) {
    if (!valid_player(player) || card < 1 || card > CARD_KIND_COUNT) return 0;
    const int price = price_of_card(card);
    if (player_table[player].points < price) return 0;
    // With a full hand card_add gives the cheapest held card back first.
    if (card_add(player, card) == 0) return 0;
    player_add_points(player, -price);
    tally.spent += price;
    return price * TAKINGS_PER_POINT;
}

int32_t shop_buy_item(int player, int item) {
    if (!valid_player(player) || item < 1 || item > ITEM_SHOP_KINDS) return 0;
    const int price = price_of_item(item);
    if (player_table[player].points < price) return 0;
    if (item_add(player, item) == 0) return 0;
    player_add_points(player, -price);
    tally.spent += price;
    return price * TAKINGS_PER_POINT;
}

int32_t shop_sell_card(int player, int card) {
    if (!valid_player(player) || card < 1 || card > CARD_KIND_COUNT || !card_has(player, card))
        return 0;
    const int price = price_of_card(card);
    card_remove(player, card);
    player_add_points(player, resale_points(price));
    tally.sold += price;
    return price;
}

int32_t shop_sell_items(int player, int item, int n) {
    if (!valid_player(player) || item < 1 || item > ITEM_KIND_COUNT || n <= 0 ||
        player_items[player][item - 1] < n)
        return 0;
    const int32_t price = price_of_item(item) * n;
    for (int i = 0; i < n; ++i)
        item_remove(player, item);
    player_add_points(player, resale_points(price));
    tally.sold += price;
    return price;
}

int32_t shop_ai_visit(int p) {
    if (!valid_player(p)) return 0;
    const int32_t spent = tally.spent, sold = tally.sold;
    ai_sell_unwanted(p);
    ai_sell_spares(p);
    const int32_t points = player_table[p].points;
    if (points > 0) {
        const int32_t t = points / 2;
        const int32_t q = points - t;
        ai_buy_cards(p, t);
        ai_buy_items(p, q);
    }
    return (tally.spent - spent) * TAKINGS_PER_POINT + (tally.sold - sold);
}

void shop_list_items() {
    ShopSession& s = shop_session;
    s.items = {};
    s.item_rows = 0;
    for (int n = 1; n <= ITEM_SHOP_KINDS; ++n)
        if (item_stock[n - 1] > 0) s.items[s.item_rows++] = static_cast<uint8_t>(n);
}

void shop_session_open(int player) {
    shop_session = ShopSession{};
    ShopSession& s = shop_session;
    s.player = player;
    std::array<int, CARD_KIND_COUNT> left{};
    int pool = 0;
    for (int k = 0; k < CARD_KIND_COUNT; ++k)
        pool += left[k] = card_stock[k];
    const int draws = game_rand() % CARD_DRAWS_SPREAD + CARD_DRAWS_MIN;
    for (int i = 0; i < draws && pool > 0; ++i) {
        int pick = game_rand() % pool;
        int k = 0;
        while (pick >= left[k])
            pick -= left[k++];
        --left[k];
        --pool;
        s.cards[s.card_rows++] = static_cast<uint8_t>(k + 1);
    }
    shop_list_items();
}

bool shop_action_valid(const ShopSession& s, int action) {
    if (action == SHOP_LEAVE || action == SHOP_SWITCH) return true;
    if (!valid_player(s.player)) return false;
    if (action >= SHOP_BUY_ROW && action < SHOP_SELL_CARD) {
        const int row = action - SHOP_BUY_ROW;
        return row < (s.counter == SHOP_CARDS ? s.card_rows : s.item_rows);
    }
    if (action >= SHOP_SELL_CARD && action < SHOP_SELL_CARD + CARD_HAND_MAX)
        return player_cards[s.player][action - SHOP_SELL_CARD] != 0;
    if (action > SHOP_SELL_ITEM && action <= SHOP_SELL_ITEM + ITEM_KIND_COUNT)
        return player_items[s.player][action - SHOP_SELL_ITEM - 1] > 0;
    return false;
}

ShopOutcome shop_apply_action(ShopSession& s, int action) {
    if (!shop_action_valid(s, action)) return SHOP_REFUSED;
    const int p = s.player;
    int32_t got = 0;
    if (action == SHOP_LEAVE) return SHOP_DONE;
    if (action == SHOP_SWITCH) {
        s.counter = s.counter == SHOP_CARDS ? SHOP_ITEMS : SHOP_CARDS;
        if (s.counter == SHOP_ITEMS) shop_list_items();
        return SHOP_DONE;
    }
    if (action < SHOP_SELL_CARD) {
        const int row = action - SHOP_BUY_ROW;
        if (s.counter == SHOP_CARDS) {
            const int id = s.cards[row];
            if (player_table[p].points < price_of_card(id)) return SHOP_NO_POINTS;
            if (card_count(p) >= CARD_HAND_MAX) return SHOP_FULL;
            got = shop_buy_card(p, id);
        } else {
            const int n = s.items[row];
            if (player_table[p].points < price_of_item(n)) return SHOP_NO_POINTS;
            if (player_items[p][n - 1] >= ITEM_KIND_MAX) return SHOP_FULL;
            got = shop_buy_item(p, n);
        }
    } else if (action < SHOP_SELL_ITEM) {
        got = shop_sell_card(p, player_cards[p][action - SHOP_SELL_CARD]);
    } else {
        got = shop_sell_items(p, action - SHOP_SELL_ITEM, 1);
    }
    if (got == 0) return SHOP_REFUSED;
    s.takings = util_add_sat32(s.takings, got);
    return SHOP_DONE;
}

int shop_chairman_gift(int p) {
    int given = 0;
    const char* name = nullptr;
    int price = 0;
    if (game_rand() & 1) {
        if (const int n = item_give_random(p)) {
            given = SHOP_GIFT_ITEM | n;
            name = item_def(n).name;
            price = item_def(n).price;
        }
    } else if (const int id = card_give_random(p)) {
        given = id;
        name = card_def(id).name;
        price = card_def(id).price;
    }
    if (given == 0) return 0; // nothing left to give: nothing said
    char text[128];
    std::snprintf(text, sizeof text, "欢迎董事长光临\n\n送您%s！", name);
    msg_show(text, MSG_STANDARD_MS);
    speech_react_percent(p, price);
    return given;
}

void shop_visit(uint16_t object) {
    const int p = game_active_mover;
    if (!valid_player(p) || player_table[p].control == CTRL_OUT) return;
    const int company = shop_store_company(object);
    tally = Tally{};
    if (company != 0 && owner_is_seat(map_company_table[company].chairman, p))
        shop_chairman_gift(p);
    const int32_t takings =
        player_table[p].control == CTRL_HUMAN ? human_visit(p) : shop_ai_visit(p);
    ShopReport report{p, company, tally.spent, tally.sold, takings, 0, 0};
    book(company, takings, &report);
    if (observer != nullptr) observer(report);
}

void shop_set_observer(ShopObserver o) {
    observer = o;
}

namespace {
uint8_t land_shop(int, int, int code) {
    shop_visit(static_cast<uint16_t>(code));
    return LAND_WAIT_OTHER;
}

// The points squares hand out the shop's currency.
constexpr int SPEECH_ROW_0_OR_1 = -2;

void points_square(int cur, const char* text, int points, int speech_row) {
    flc_play_entry(496, 204, 180, 1, 98);
    msg_show(text, 1000);
    player_add_points(cur, points);
    if (speech_row == SPEECH_ROW_0_OR_1) speech_row = game_rand() & 1;
    if (speech_row >= 0)
        speech_bubble(cur, 0, speech_line(player_table[cur].character, speech_row));
}
uint8_t land_points_50(int cur, int, int) {
    points_square(cur, "得点卷５０点", 50, SPEECH_ROW_0_OR_1);
    return LAND_WAIT_OTHER;
}
uint8_t land_points_30(int cur, int, int) {
    points_square(cur, "得点卷３０点", 30, 2);
    return LAND_WAIT_OTHER;
}
uint8_t land_points_10(int cur, int, int) {
    points_square(cur, "得点卷１０点", 10, -1);
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_SHOP, land_shop, SQUARE_SOUND_VISIT)
SQUARE_KIND(SQ_POINTS_50, land_points_50, SQUARE_SOUND_GIFT)
SQUARE_KIND(SQ_POINTS_30, land_points_30, SQUARE_SOUND_GIFT)
SQUARE_KIND(SQ_POINTS_10, land_points_10, SQUARE_SOUND_GIFT)
