// The auction and the lottery with nothing shown: a whole auction among four
// computers (seating, limits, bidding, sale), the monthly draw with a winner,
// and a computer's ticket purchase; each well under 50 microseconds.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/auction.h"
#include "finance/lottery.h"
#include "runner_game.h"

namespace {

bool four_computers() {
    setenv("KARVO_DATA", KARVO_BENCH_DATA_DIR, 0);
    RunnerOptions options;
    options.seed = 5;
    options.map = 2;
    std::string error;
    if (!runner_setup(options, &error)) return false;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p].control = CTRL_COMPUTER;
        player_table[p].cash = 400000;
    }
    // A third of the plots owned, so the limits weigh streets and free land.
    for (int i = 1; i <= map_lot_count; i += 3)
        map_lot_table[i].owner = owner_of_seat(i % 4);
    return true;
}

struct Accounts {
    PlayerRecord players[PLAYER_COUNT];
    LandLot lot;
    int32_t jackpot;
};

void BM_FourComputerAuction(benchmark::State& state) {
    if (!four_computers()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    const int code = OBJ_LOT_BASE + 2;
    map_lot(code)->level = 3;
    Accounts kept;
    std::memcpy(kept.players, player_table.data(), sizeof kept.players);
    kept.lot = *map_lot(code);
    kept.jackpot = lotto_jackpot;
    int sold = 0;
    for (auto _ : state) {
        sold += auction_run(-1, code, 0);
        state.PauseTiming();
        std::memcpy(player_table.data(), kept.players, sizeof kept.players);
        *map_lot(code) = kept.lot;
        lotto_jackpot = kept.jackpot;
        shown_clear();
        state.ResumeTiming();
    }
    state.counters["sold"] = benchmark::Counter(sold, benchmark::Counter::kAvgIterations);
    runner_close();
}
BENCHMARK(BM_FourComputerAuction)->Unit(benchmark::kMicrosecond);

void BM_MonthlyDrawWithAWinner(benchmark::State& state) {
    if (!four_computers()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (int n = 1; n <= 12; ++n)
            lotto_owners[n - 1] = owner_of_seat(1); // more than ten: a sure hit
        lotto_jackpot = 80000;
        shown_clear();
        state.ResumeTiming();
        lotto_monthly_draw();
        benchmark::DoNotOptimize(lotto_jackpot);
    }
    runner_close();
}
BENCHMARK(BM_MonthlyDrawWithAWinner)->Unit(benchmark::kMicrosecond);

void BM_ComputerBuysATicket(benchmark::State& state) {
    if (!four_computers()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    game_active_mover = 1;
    for (auto _ : state) {
        lotto_visit();
        state.PauseTiming();
        lotto_reset();
        player_table[1].cash = 400000;
        state.ResumeTiming();
    }
    runner_close();
}
BENCHMARK(BM_ComputerBuysATicket)->Unit(benchmark::kMicrosecond);

} // namespace
