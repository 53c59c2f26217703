#include "finance/ai_stock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/turn_steps.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/util.h"
#include "finance/stock.h"
#include "finance/trading.h"

namespace {

// Money thresholds scale with the price index; 64 bits keep a large index sane.
int64_t scaled(int64_t base) {
    return price_scaled(base);
}

// Shares the chairman holds of a stock (0 without a chairman).
int32_t chairman_shares(const CompanyBuilding& c, int stock) {
    if (c.chairman == 0 || c.chairman > PLAYER_COUNT) return 0;
    return stock_holdings[seat_of_owner(c.chairman)][stock].shares;
}

// Days until the loan falls due; no loan date means no deadline.
bool loan_due_within(const PlayerRecord& p, int days) {
    if (p.loan_due == 0) return false;
    return cal_days_between(game_date, p.loan_due) <= days;
}

// An integer score term trunc(x), kept in a sane range.
int score_term(double x) {
    if (!(x > 0)) return 0;
    if (x > 10000.0) return 10000;
    return static_cast<int>(x);
}

void announce(int player, const char* verb, int stock, int n) {
    const std::string text = player_plain_name(player) + "\n\n" + verb +
                             util_without_spaces(stock_name(stock)) + std::to_string(n) + "张";
    msg_show(text.c_str(), MSG_STANDARD_MS);
}

int64_t holdings_value(int player) {
    int64_t v = 0;
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const StockHolding& h = stock_holdings[player][i];
        if (h.shares > 0)
            v = static_cast<int64_t>(v + static_cast<double>(h.shares) * stock_table[i].price);
    }
    return v;
}

} // namespace

int stock_compare_scores(uint32_t a, uint32_t b) {
    const int sa = static_cast<int16_t>(a & 0xFFFF);
    const int sb = static_cast<int16_t>(b & 0xFFFF);
    return sb - sa;
}

int32_t stock_ai_budget(int player) {
    if (!is_player_seat(player)) return 0;
    const PlayerRecord& p = player_table[player];
    const int64_t v = holdings_value(player);
    int64_t b = (static_cast<int64_t>(p.cash) + p.deposit + v) * p.stock_pct / 100;
    if (v >= b) return 0;
    b -= v;
    if (b > p.deposit) b = p.deposit;
    if (b < 0) b = 0;
    return static_cast<int32_t>(std::min<int64_t>(b, INT32_MAX));
}

int stock_ai_buy_score(int player, int i) {
    if (!is_player_seat(player) || i < 0 || i >= STOCK_COUNT) return 0;
    const StockRecord& s = stock_table[i];
    if (s.suspended_days != 0 || stock_move_class(i) == MOVE_LIMIT_UP || s.volume == 0) return 0;
    const PlayerRecord& p = player_table[player];
    const double price = s.price;
    const int32_t own = stock_holdings[player][i].shares;
    int score = 0;
    if (s.building != 0) {
        const CompanyBuilding* c = stock_company(i);
        if (c == nullptr || p.deposit <= scaled(20000)) return 0;
        const int64_t a = stock_average_earnings(i);
        const double v = c->value / 10000;
        if (a > 0 && a < scaled(5000))
            score += 1;
        else if (a >= scaled(5000) && a < scaled(10000))
            score += 2;
        else if (a >= scaled(10000))
            score += 3;
        if (c->earnings > 0 && own < 5000 && price <= 1.2 * v) {
            score += 1;
            const uint8_t h = c->chairman;
            if (h != 0 && h != player + 1) {
                const int64_t hs = chairman_shares(*c, i);
                if (static_cast<int64_t>(s.market_shares) + own + c->own_shares > hs) score += 1;
                if (static_cast<int64_t>(s.volume) + own > hs) score += 2;
            }
        }
        if (price < 0.85 * v) score += 3;
        if (price < 0.7 * v) score += 5;
    } else {
        if (p.deposit <= scaled(30000)) return 0;
        const double r = s.reference_price;
        const float a6 = stock_history_average(i, 6);
        const float a24 = stock_history_average(i, 24);
        if (price < 2.5 * r && s.change_pct > 2.0f && a6 > a24) score += 2;
        if (price < 0.6 * r && a6 > a24) score += 4;
        if (a6 < 0.5 * a24) score += 2;
    }
    return score;
}

void stock_ai_buy(int player) {
    if (!is_player_seat(player)) return;
    const PlayerRecord& p = player_table[player];
    if (game_rand() % 3 != 0) return;
    if (p.stock_pct == 0) return;
    if (stock_market_closed() != 0) return;
    if (p.loan_due != 0 && cal_days_between(game_date, p.loan_due) < 15) return;
    const int32_t budget = stock_ai_budget(player);
    if (budget <= 0) return;

    std::array<uint32_t, STOCK_COUNT> entries{};
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const int score = stock_ai_buy_score(player, i);
        entries[i] = (static_cast<uint32_t>(i) << 16) | (static_cast<uint32_t>(score) & 0xFFFF);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](uint32_t a, uint32_t b) { return stock_compare_scores(a, b) < 0; });
    int choice = -1;
    for (int k = 0; k < STOCK_COUNT; ++k) {
        if (static_cast<int16_t>(entries[k] & 0xFFFF) == 0) continue;
        if (game_rand() % 24 <= 12 - k) {
            choice = static_cast<int>(entries[k] >> 16);
            break;
        }
    }
    if (choice < 0) return;
    const StockRecord& s = stock_table[choice];
    int64_t n = static_cast<int64_t>(budget / static_cast<double>(s.price));
    if (n <= 0) return;
    n = std::min<int64_t>(n, s.volume);
    stock_buy(player, choice, static_cast<int>(n), 1);
    board_refresh_actor_panel(player);
    announce(player, "买进", choice, static_cast<int>(n));
}

int stock_ai_sell_score(int player, int i, int urgent) {
    if (!is_player_seat(player) || i < 0 || i >= STOCK_COUNT) return 0;
    const StockRecord& s = stock_table[i];
    const StockHolding& h = stock_holdings[player][i];
    if (h.shares <= 0 || s.suspended_days != 0 || stock_move_class(i) == MOVE_LIMIT_DOWN) return 0;
    const PlayerRecord& p = player_table[player];
    const double price = s.price;
    const double prev = s.previous_price;
    const double avg = h.avg_cost;
    const int32_t own = h.shares;
    const uint8_t me = static_cast<uint8_t>(player + 1);
    int score = 0;
    if (s.building != 0) {
        const CompanyBuilding* c = stock_company(i);
        if (c == nullptr) return 0;
        const int64_t held = stock_shares_held(i);
        const double share = held > 0 ? static_cast<double>(own) / held : 0.0;
        const int day = static_cast<int>(game_date & 0xFF);
        const double v = c->value / 10000;
        const int64_t e = c->earnings;
        const int64_t a = stock_average_earnings(i);
        const uint8_t chair = c->chairman;
        if (e <= -scaled(10000) && share > 0.6 && day >= 11 && day <= 14) score += 3;
        if (e <= -scaled(6000) && price > 1.2 * avg && chair != me && day >= 9 && day <= 14)
            score += 2;
        if (a <= scaled(10000) && price >= 2.0 * v && price > 1.3 * avg && share < 0.4) score += 1;
        if (chair != 0 && chair != me &&
            static_cast<int64_t>(own) + s.market_shares + c->own_shares < chairman_shares(*c, i) &&
            e <= 0 && price >= 1.5 * avg)
            score += 1;
        if (price > 2.0 * v && price > 2.0 * avg && price < prev && chair != me) score += 2;
        if (price > 3.0 * v && price > 3.0 * avg && price < prev && chair == me) score += 2;
        if (urgent) score += 1;
    } else {
        // Shares that cost nothing have no gain ratio: the ratio rules stay out.
        const double q = avg > 0.0 ? price / avg : 0.0;
        const double low = stock_history_low(i);
        const float a6 = stock_history_average(i, 6);
        const float a24 = stock_history_average(i, 24);
        const int64_t money = static_cast<int64_t>(p.cash) + p.deposit;
        if (q > 1.6 && s.change_pct < 1.0f) score += 2;
        if (price > 8.0 * low && 8.0 * low > 1.25 * avg) score += 2;
        if (a24 > a6 && price < prev) score += 2;
        if (q >= 2.0) score += score_term((q - 2.0) / 0.5 + 1.0);
        if (money < scaled(30000) && q > 0) score += score_term(q / 0.5 + 1.0);
        if (money < scaled(16000) && q > 0) score += score_term(q / 0.5 + 1.0);
        if (urgent) score *= 2;
    }
    return score;
}

void stock_ai_sell(int player) {
    if (!is_player_seat(player)) return;
    const PlayerRecord& p = player_table[player];
    int urgent = 0;
    if (loan_due_within(p, 6) && static_cast<int64_t>(p.cash) + p.deposit < p.loan) {
        urgent = 1;
    } else if (game_rand() % 3 != 0) {
        return;
    }
    if (stock_market_closed() != 0) return;
    for (;;) {
        int best = -1;
        int best_score = 0;
        for (int i = 0; i < STOCK_COUNT; ++i) {
            const int score = stock_ai_sell_score(player, i, urgent);
            if (score > best_score) {
                best_score = score;
                best = i;
            }
        }
        if (best < 0) return;
        const int n = stock_holdings[player][best].shares;
        stock_sell(player, best, n, 1);
        board_refresh_actor_panel(player);
        announce(player, "卖出", best, n);
        if (!urgent) return;
        if (!(1.1 * p.loan > static_cast<double>(static_cast<int64_t>(p.cash) + p.deposit))) return;
    }
}

TURN_STEP(TURN_STEP_STOCK_BUY, stock_ai_buy)
TURN_STEP(TURN_STEP_STOCK_SELL, stock_ai_sell)
