// Save games on stand-in map 0 with four players, every seat's snapshot
// taken: encoding the game to its file image, and checking and decoding one
// (in memory: no disk, no loading picture, no wait).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/time_machine.h"
#include "data/characters.h"
#include "finance/stock.h"
#include "platform/files.h"
#include "shell/save.h"

namespace {

bool set_up_game() {
    static bool done = false;
    if (done) return true;
    plat_set_data_dir(KARVO_BENCH_DATA_DIR);
    game_world_reset();
    game_map = 0;
    game_player_count = 4;
    game_human_count = 4;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p] = character_table[p * 3];
        player_table[p].setup_control = CTRL_HUMAN;
        player_table[p].dice = 1;
    }
    stock_new_game(game_map);
    if (!map_load()) return false;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p].square = static_cast<uint16_t>(1 + p);
        player_table[p].control = CTRL_HUMAN;
        game_active_mover = p;
        snapshot_take();
    }
    game_active_mover = 0;
    done = true;
    return true;
}

void BM_SaveEncode(benchmark::State& state) {
    if (!set_up_game()) {
        state.SkipWithError("the stand-in map did not load");
        return;
    }
    for (auto _ : state) {
        std::vector<uint8_t> image = save_image_encode();
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(BM_SaveEncode)->Unit(benchmark::kMicrosecond);

void BM_SaveCheckAndDecode(benchmark::State& state) {
    if (!set_up_game()) {
        state.SkipWithError("the stand-in map did not load");
        return;
    }
    const std::vector<uint8_t> image = save_image_encode();
    std::string error;
    for (auto _ : state) {
        if (!save_image_decode(image.data(), image.size(), &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SaveCheckAndDecode)->Unit(benchmark::kMicrosecond);

} // namespace
