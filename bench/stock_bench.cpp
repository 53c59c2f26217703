// One full day's price update of the twelve companies, and one computer
// player's trading decision (buying, then selling).
#include <benchmark/benchmark.h>

#include <array>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "engine/random.h"
#include "finance/ai_stock.h"
#include "finance/stock.h"
#include "finance/trading.h"

namespace {

std::array<CompanyBuilding, 4> companies{};

// Map 0's companies with three buildings on a trading day, four computer
// players with money, a loan falling due and a few holdings.
void set_up_market() {
    game_state_reset();
    stock_reset();
    trading_reset();
    game_player_count = 4;
    game_start_money = 200000;
    game_date = cal_pack(1998, 3, 3);
    for (int d = 3; cal_is_holiday(game_date) == 1; ++d)
        game_date = cal_pack(1998, 3, d);
    stock_new_game(0);
    for (int j = 1; j <= 3; ++j) {
        companies[j] = CompanyBuilding{};
        companies[j].listed = static_cast<uint8_t>(j - 1);
        companies[j].value = 1000000;
        companies[j].earnings = 20000;
        companies[j].earnings_total = 90000;
    }
    map_company_table = companies.data();
    map_company_count = 3;
    stock_link_companies();
    stock_init_company_shares();
    game_srand(2024);
    for (int d = 0; d < 40; ++d)
        stock_daily_update();
    stock_roll_volume();
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        r.control = CTRL_COMPUTER;
        r.stock_pct = 40;
        r.cash = 50000;
        r.deposit = 400000;
    }
}

void BM_StockDailyUpdate(benchmark::State& state) {
    set_up_market();
    for (auto _ : state) {
        stock_count_day_counters();
        stock_daily_update();
        benchmark::DoNotOptimize(stock_market_index);
    }
}
BENCHMARK(BM_StockDailyUpdate);

void BM_StockComputerDecision(benchmark::State& state) {
    set_up_market();
    const auto table = stock_table;
    PlayerRecord& p = player_table[0];
    const PlayerRecord start = p;
    uint32_t seed = 1;
    for (auto _ : state) {
        stock_table = table;
        trading_reset();
        stock_holdings[0][3] = {500, 100.0f};
        stock_holdings[0][7] = {800, 20.0f};
        p = start;
        game_srand(seed++);
        stock_ai_buy(0);
        stock_ai_sell(0);
        benchmark::DoNotOptimize(stock_holdings[0]);
    }
    map_company_table = nullptr;
    map_company_count = 0;
}
BENCHMARK(BM_StockComputerDecision);

} // namespace
