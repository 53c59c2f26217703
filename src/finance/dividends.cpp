#include "finance/dividends.h"

#include "board/map.h"
#include "board/money.h"
#include "finance/trading.h"

StockDividends stock_compute_dividends() {
    StockDividends d{};
    for (int i = 0; i < STOCK_COUNT; ++i) {
        CompanyBuilding* c = stock_company(i);
        if (c == nullptr) continue;
        d.linked[i] = true;
        const int32_t e = c->earnings;
        d.earnings[i] = e;
        int64_t held = 0;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            if (player_table[p].control != 0) held += stock_holdings[p][i].shares;
        }
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            if (player_table[p].control == 0 || held <= 0) continue;
            const int32_t shares = stock_holdings[p][i].shares;
            const float fraction =
                shares > 0 ? static_cast<float>(static_cast<double>(shares) / held) : 0.0f;
            const int32_t amount = static_cast<int32_t>(static_cast<double>(e) * fraction);
            d.amount[i][p] = amount;
            d.total[p] += amount;
        }
        if (held != 0) c->earnings = 0;
    }
    return d;
}

StockDividends stock_pay_dividends() {
    StockDividends d = stock_compute_dividends();
    for (int i = 0; i < STOCK_COUNT; ++i) {
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            if (d.amount[i][p] > 0) money_credit(p, d.amount[i][p], 0);
        }
    }
    return d;
}
