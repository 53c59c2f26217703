// The computer's item decisions on a busy board: one try of every item
// routine (1..13) with the view's lists held as a try holds them, each
// routine alone, and the dice choice; the try and the choice each under a
// millisecond.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/view.h"
#include "cards/ai_cards.h"
#include "cards/ai_items.h"
#include "runner_game.h"

namespace {

// A stand-in map where every plot and facility is owned and built, the
// players stand together and objects lie about, the view on player 0.
bool busy_board() {
    setenv("KARVO_DATA", KARVO_BENCH_DATA_DIR, 0);
    RunnerOptions options;
    options.seed = 3;
    options.map = 1;
    std::string error;
    if (!runner_setup(options, &error)) return false;
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = i % 5 == 0 ? OWNER_NONE : owner_of_seat(i % 5 - 1); // some unowned
        map_lot_table[i].level = static_cast<uint8_t>(i % 6);
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        map_facility_table[i].owner = owner_of_seat(i % 4);
        map_facility_table[i].kind = FK_HOTEL;
        map_facility_table[i].level = static_cast<uint8_t>(1 + i % 5);
    }
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        r.control = CTRL_COMPUTER;
        r.square = static_cast<uint16_t>(1 + p * 2);
        r.prev_square = static_cast<uint16_t>(map_square_table[r.square].links[0]);
        r.x = static_cast<uint16_t>(map_square_table[r.square].x);
        r.y = static_cast<uint16_t>(map_square_table[r.square].y);
        r.cash = 500000;
        r.deposit = 500000;
        r.grudge[(p + 1) % PLAYER_COUNT] = 1000;
    }
    for (int s = 10; s < 40 && s <= map_square_count; s += 3)
        god_place(GK_ROADBLOCK + s % 3, s, 0, 0);
    game_active_mover = 0;
    view_draw_board(player_table[0].x, player_table[0].y);
    return true;
}

void BM_ItemTryOfEveryKind(benchmark::State& state) {
    if (!busy_board()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    int uses = 0;
    for (auto _ : state) {
        // One try, as the item command makes it: the view's lists held.
        ai_view_hold();
        for (AiItemRoutine routine : ai_item_rows)
            uses += routine(0);
        ai_view_release();
    }
    benchmark::DoNotOptimize(uses);
    runner_close();
}

void BM_ItemRoutine(benchmark::State& state) {
    if (!busy_board()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    const AiItemRoutine routine = ai_item_rows[state.range(0) - 1];
    int uses = 0;
    for (auto _ : state)
        uses += routine(0);
    benchmark::DoNotOptimize(uses);
    runner_close();
}

void BM_ChooseDice(benchmark::State& state) {
    if (!busy_board()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    player_table[0].travel = TRAVEL_CAR;
    for (auto _ : state) {
        ai_choose_dice();
        benchmark::DoNotOptimize(player_table[0].dice);
    }
    runner_close();
}

} // namespace

BENCHMARK(BM_ItemTryOfEveryKind)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ItemRoutine)->ArgName("item")->DenseRange(1, 13)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChooseDice)->Unit(benchmark::kMicrosecond);
