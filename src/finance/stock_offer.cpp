#include "finance/stock_offer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "engine/message.h"
#include "engine/numpad.h"
#include "finance/stock.h"
#include "finance/trading.h"

namespace {

constexpr int32_t OFFER_MOST = 1000;

// The listed company a building sells shares of, -1 when it sells none.
int listed_stock(int company) {
    if (map_company_table == nullptr || company < 1 || company > map_company_count) return -1;
    const int listed = map_company_table[company].listed;
    if (listed >= STOCK_COUNT || stock_company(listed) != &map_company_table[company]) return -1;
    return listed;
}

int32_t share_price(const CompanyBuilding& c) {
    return c.value / 10000;
}

int ask_offer_window(const DecisionRequest& r) {
    return msg_ask_yes_no(r.text != nullptr ? r.text : "");
}
bool accepts_yes_no(const DecisionRequest&, int answer) {
    return answer == 0 || answer == 1;
}

int ask_count_window(const DecisionRequest& r) {
    return numpad_input(r.amount);
}
bool accepts_count(const DecisionRequest& r, int answer) {
    return answer >= 0 && answer <= r.amount;
}

} // namespace

DECISION_KIND(DECIDE_SHARE_OFFER, ask_offer_window, accepts_yes_no, 0);
DECISION_KIND(DECIDE_SHARE_COUNT, ask_count_window, accepts_count, 0);

int32_t land_share_offer_limit(int player, int company) {
    if (!is_player_seat(player) || listed_stock(company) < 0) return 0;
    const CompanyBuilding& c = map_company_table[company];
    const int32_t price = share_price(c);
    const int32_t cash = player_table[player].cash;
    // A company worth less than one yuan a share has nothing to sell.
    if (price <= 0 || cash <= 0 || c.own_shares <= 0) return 0;
    return std::min({cash / price, OFFER_MOST, c.own_shares});
}

int land_ai_shares_to_buy(int32_t price_per_share, int32_t maximum) {
    const int cur = game_active_mover;
    if (!is_player_seat(cur) || price_per_share <= 0 || maximum <= 0) return 0;
    const int64_t reserve = static_cast<int64_t>(game_start_money * 0.3) * game_price_index;
    const int64_t budget = int64_t{player_table[cur].cash} - reserve;
    if (budget <= 0) return 0;
    if (budget > int64_t{price_per_share} * maximum) return maximum;
    return static_cast<int>(budget / price_per_share);
}

void land_offer_shares(int player, int company) {
    if (!is_player_seat(player)) return;
    const PlayerRecord& pl = player_table[player];
    if (pl.sleepwalk_days != 0 || pl.control == CTRL_OUT) return;
    const int32_t most = land_share_offer_limit(player, company);
    if (most <= 0) return;
    const CompanyBuilding& c = map_company_table[company];
    const int32_t price = share_price(c);
    int count = 0;
    if (pl.control == CTRL_HUMAN) {
        char name[21];
        std::memcpy(name, c.name, sizeof c.name);
        name[20] = '\0';
        char text[160];
        std::snprintf(text, sizeof text, "%s\n\n每股售价%d\n\n是否认购股份？", name, price);
        const int32_t code = object_code(OBJ_COMPANY_BASE, company);
        if (decide(DecisionRequest{DECIDE_SHARE_OFFER, player, text, price, code}) == 1)
            count = decide(DecisionRequest{DECIDE_SHARE_COUNT, player, nullptr, most, code});
    } else {
        count = land_ai_shares_to_buy(price, most);
    }
    if (count <= 0) return;
    if (stock_buy(player, c.listed, count, 0) == 1) msg_show("恭喜您获得经营权！", MSG_STANDARD_MS);
    board_refresh_actor_panel(player);
}
