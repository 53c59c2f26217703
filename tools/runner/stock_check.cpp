#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "runner_game.h"

std::string runner_stock_check(int32_t* last_price_index) {
    char buf[160];
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const StockRecord& s = stock_table[i];
        int64_t shares = s.market_shares;
        const CompanyBuilding* c = stock_company(i);
        if (c != nullptr) shares += c->own_shares;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            shares += stock_holdings[p][i].shares;
        if (shares != STOCK_TOTAL_SHARES) {
            std::snprintf(buf, sizeof buf, "stock %d: %lld shares in all (market %d, company %d)",
                          i, static_cast<long long>(shares), s.market_shares,
                          c != nullptr ? c->own_shares : 0);
            return buf;
        }
        if (!(s.price >= STOCK_PRICE_MIN && s.price <= STOCK_PRICE_MAX)) {
            std::snprintf(buf, sizeof buf, "stock %d: price %g out of 1.0 .. 9999.0", i, s.price);
            return buf;
        }
    }
    if (last_price_index != nullptr) {
        if (game_price_index < *last_price_index) {
            std::snprintf(buf, sizeof buf, "price index fell from %d to %d", *last_price_index,
                          game_price_index);
            return buf;
        }
        *last_price_index = game_price_index;
    }
    return {};
}
