// One news event and one fate event with nothing shown (no display open: the
// rules, the draws and the records of what would be shown), and the two
// shuffles. A news event and a fate event should each take under 50 us.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "cards/fate.h"
#include "cards/news.h"
#include "data/characters.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "platform/files.h"

namespace {

// Map 0 of the stand-in data, four computer players, half the land built.
bool setup_game() {
    static bool done = false;
    if (done) return true;
    plat_set_data_dir(KARVO_BENCH_DATA_DIR);
    data_archive = mkf_open("data.mkf");
    game_world_reset();
    cards_fill_pools();
    game_map = 0;
    game_player_count = 4;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p] = character_table[p * 3];
        player_table[p].setup_control = CTRL_COMPUTER;
    }
    stock_new_game(0);
    if (!map_load()) return false;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        r.control = CTRL_COMPUTER;
        r.cash = r.deposit = 1000000;
    }
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = owner_of_seat(i % 4);
        map_lot_table[i].level = static_cast<uint8_t>(i % 2);
    }
    news_shuffle();
    fate_shuffle();
    game_active_mover = 0;
    done = true;
    return true;
}

void put_next(auto& deck, int32_t cursor, int card) {
    auto at = std::find(deck.begin(), deck.end(), card);
    std::swap(*at, deck[cursor]);
}

// News event state.range(0) at the cursor, shown and applied.
void BM_NewsEvent(benchmark::State& state) {
    if (!setup_game()) {
        state.SkipWithError("map 0 of the stand-in data cannot be loaded");
        return;
    }
    const int e = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (PlayerRecord& r : player_table)
            r.cash = 1000000;
        put_next(news_deck, news_cursor, e);
        news_show();
        events_take_shown();
        if (shown_log().size() > 1000) shown_clear();
    }
}
// An award (scroll, credit, reaction), a tax over every player, a price rise
// over a street with its flash, the market crash.
BENCHMARK(BM_NewsEvent)->Arg(8)->Arg(11)->Arg(6)->Arg(24)->Unit(benchmark::kMicrosecond);

// Fate slot state.range(0) for player 0.
void BM_FateEvent(benchmark::State& state) {
    if (!setup_game()) {
        state.SkipWithError("map 0 of the stand-in data cannot be loaded");
        return;
    }
    const int slot = static_cast<int>(state.range(0));
    for (auto _ : state) {
        player_table[0].cash = 1000000;
        player_table[0].jail_days = 0;
        put_next(fate_deck, fate_cursor, slot);
        fate_show();
        events_take_shown();
        if (shown_log().size() > 1000) shown_clear();
    }
}
// A fine (god, payment, reaction), a windfall, the identity loan.
BENCHMARK(BM_FateEvent)->Arg(17)->Arg(25)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_NewsShuffle(benchmark::State& state) {
    game_srand(1);
    for (auto _ : state) {
        news_shuffle();
        benchmark::DoNotOptimize(news_deck.data());
    }
}
BENCHMARK(BM_NewsShuffle);

void BM_FateShuffle(benchmark::State& state) {
    game_srand(1);
    for (auto _ : state) {
        fate_shuffle();
        benchmark::DoNotOptimize(fate_deck.data());
    }
}
BENCHMARK(BM_FateShuffle);

} // namespace
