// The month end's rules and a computer's visit to the bulletin board on a
// busy stand-in board, with nothing shown: each under 50 microseconds.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/notice_board.h"
#include "finance/settlement.h"
#include "owned_board.h"
#include "runner_game.h"

namespace {

// Four computers with money, cards, items and shares; every property owned;
// each player's row of offers full of shares and land the others may buy.
bool busy_board() {
    setenv("KARVO_DATA", KARVO_BENCH_DATA_DIR, 0);
    RunnerOptions options;
    options.seed = 3;
    options.map = 1;
    std::string error;
    if (!runner_setup(options, &error)) return false;
    bench_own_and_build_everything();
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        r.control = CTRL_COMPUTER;
        r.cash = 500000;
        r.deposit = 500000;
        r.paid_month = 1000 * p;
        r.days_lost_month = static_cast<uint8_t>(p);
        for (int n = 1; n <= 13; ++n)
            player_items[p][n - 1] = 3;
    }
    return true;
}

void fill_board() {
    notice_board_clear();
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        int slot = 0;
        for (int i = 1; i <= map_lot_count && slot < NOTICE_SLOTS; ++i)
            if (map_lot_table[i].owner == owner_of_seat(p))
                notice_post(p, NOTICE_LAND, object_code(OBJ_LOT_BASE, i), 1 << 30, 0), ++slot;
    }
}

void BM_ComputerBoardVisit(benchmark::State& state) {
    if (!busy_board()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    fill_board();
    uint32_t seed = 1;
    for (auto _ : state) {
        game_srand(seed++);
        game_active_mover = static_cast<int>(seed % PLAYER_COUNT);
        notice_visit();
        if (notice_board[0][0].type == NOTICE_EMPTY) {
            state.PauseTiming();
            fill_board();
            state.ResumeTiming();
        }
        shown_clear();
    }
}
BENCHMARK(BM_ComputerBoardVisit);

void BM_SettlementRules(benchmark::State& state) {
    if (!busy_board()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    for (auto _ : state) {
        player_table[1].deposit = 500000;
        player_table[2].paid_month = 50000;
        settle_monthly();
        shown_clear();
    }
}
BENCHMARK(BM_SettlementRules);

} // namespace
