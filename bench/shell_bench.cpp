// Full-screen windows drawn into the back surface: one timer frame of each
// mini-game in the middle of a busy game (the tick and the whole scene with
// its panel), each under 2 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "board/game_state.h"
#include "board/minigames_screen.h"
#include "board/world_reset.h"
#include "engine/draw.h"
#include "engine/mkf.h"
#include "engine/options.h"
#include "engine/random.h"
#include "platform/surface.h"

namespace {

struct Display {
    Display() {
        plat_surface_reset();
        gfx_set_pixel_format(PIXEL_RGB565);
        back_surface = plat_surface_create(SCREEN_W, SCREEN_H, false);
        primary_surface = plat_surface_create(SCREEN_W, SCREEN_H, true);
        data_archive = mkf_open("data.mkf");
        game_world_reset();
        game_player_count = 2;
        player_table[0].control = CTRL_HUMAN;
        player_table[0].character = 3;
        game_active_mover = 0;
        game_srand(17);
    }
    ~Display() {
        mkf_reset();
        data_archive = -1;
        back_surface = nullptr;
        primary_surface = nullptr;
        plat_surface_reset();
    }
};

// A grid game a few seconds in: the figure walking, pieces left, one flying.
void busy_grid() {
    GridGame& g = minigame_grid_state();
    g.phase = MG_RUNNING;
    g.counts[2] = 3;
    g.counts[4] = 2;
    minigame_grid_pick_cell(g, 6, 3);
    g.fly_kind = 3;
    g.fly_column = 2;
    g.fly_row = 6;
}

// Ten targets rising, two of them just hit.
void busy_targets() {
    TargetGame& g = minigame_targets_state();
    g.phase = MG_RUNNING;
    for (int s = 0; s < 10; ++s)
        g.slots[s] = {static_cast<int16_t>(40 + 80 * (s % 8)), static_cast<int16_t>(60 + 30 * s),
                      static_cast<int16_t>(s < 2 ? TARGET_HIT_KIND : s)};
    g.score = 123;
}

// Twelve objects in the air, the bomb thrower up, the runner running.
void busy_catch() {
    CatchGame& g = minigame_steer_state();
    g.phase = MG_RUNNING;
    for (int s = 0; s < 12; ++s)
        minigame_steer_spawn(g, 120 + 35 * s, s == 5);
    for (int s = 0; s < 12; ++s)
        g.objects[s].y = static_cast<int16_t>(90 + 24 * s);
    g.bomber_counter = 3;
    g.bomber_x = 420;
    g.runner_dir = 2;
    g.mouse_x = g.remembered_x = 600;
}

void frame(MinigameKind kind) {
    switch (kind) {
    case MINIGAME_GRID:
        minigame_grid_frame(minigame_grid_state());
        break;
    case MINIGAME_TARGETS:
        minigame_targets_frame(minigame_targets_state());
        break;
    default:
        minigame_steer_frame(minigame_steer_state());
    }
    minigame_draw_scene(kind);
}

void run(benchmark::State& state, MinigameKind kind, void (*busy)()) {
    Display display;
    if (!minigame_window_open(kind, 0)) {
        state.SkipWithError("no display");
        return;
    }
    busy();
    // Timing a frame that draws nothing would say nothing: the stand-in
    // pictures must be there.
    frame(kind);
    int drawn = 0;
    for (int i = 0; i < SCREEN_W * SCREEN_H; i += 97)
        drawn += back_surface->pixels[i] != 0;
    if (drawn < SCREEN_W * SCREEN_H / 97 / 2) {
        state.SkipWithError("the stand-in pictures are missing");
        minigame_window_close(kind);
        return;
    }
    const GridGame grid = minigame_grid_state();
    const TargetGame targets = minigame_targets_state();
    const CatchGame steer = minigame_steer_state();
    for (auto _ : state) {
        // Every frame from the same busy moment.
        state.PauseTiming();
        minigame_grid_state() = grid;
        minigame_targets_state() = targets;
        minigame_steer_state() = steer;
        state.ResumeTiming();
        frame(kind);
        benchmark::DoNotOptimize(back_surface->pixels[0]);
    }
    minigame_window_close(kind);
}

void BM_GridGameFrame(benchmark::State& state) {
    run(state, MINIGAME_GRID, busy_grid);
}
void BM_TargetGameFrame(benchmark::State& state) {
    run(state, MINIGAME_TARGETS, busy_targets);
}
void BM_CatchingGameFrame(benchmark::State& state) {
    run(state, MINIGAME_STEER, busy_catch);
}

} // namespace

BENCHMARK(BM_GridGameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TargetGameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CatchingGameFrame)->Unit(benchmark::kMicrosecond);
