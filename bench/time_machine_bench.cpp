// The time machine on stand-in map 0 with four players: taking a human's
// snapshot (every saved block and the map copy) and restoring it (the blocks,
// the map decoded again, names bound and the movers' sprites reset).
#include <benchmark/benchmark.h>

#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/world_reset.h"
#include "cards/time_machine.h"
#include "data/characters.h"
#include "finance/stock.h"
#include "platform/files.h"

namespace {

bool set_up_game() {
    static bool done = false;
    if (done) return true;
    plat_set_data_dir(KARVO_BENCH_DATA_DIR);
    game_world_reset();
    game_map = 0;
    game_player_count = 4;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p] = character_table[p * 3];
        player_table[p].setup_control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
    }
    stock_new_game(game_map);
    if (!map_load()) return false;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        r.square = static_cast<uint16_t>(1 + p);
        r.control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
    }
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = owner_of_seat(i % 4);
        map_lot_table[i].level = static_cast<uint8_t>(1 + i % 5);
    }
    game_active_mover = 0;
    done = true;
    return true;
}

void BM_SnapshotTake(benchmark::State& state) {
    if (!set_up_game()) {
        state.SkipWithError("the stand-in map did not load");
        return;
    }
    for (auto _ : state) {
        snapshot_take();
        benchmark::DoNotOptimize(snapshot_slots[0].valid);
    }
}
BENCHMARK(BM_SnapshotTake);

void BM_SnapshotRestore(benchmark::State& state) {
    if (!set_up_game()) {
        state.SkipWithError("the stand-in map did not load");
        return;
    }
    snapshot_take();
    for (auto _ : state) {
        benchmark::DoNotOptimize(snapshot_restore());
    }
}
BENCHMARK(BM_SnapshotRestore);

} // namespace
