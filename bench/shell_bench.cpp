// Full-screen windows drawn into the back surface: one timer frame of each
// mini-game in the middle of a busy game (the tick and the whole scene with
// its panel), of the setup screen and of the stage end, each under 2 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "board/game_state.h"
#include "board/minigames_screen.h"
#include "board/world_reset.h"
#include "engine/draw.h"
#include "engine/mkf.h"
#include "engine/modal.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/text.h"
#include "platform/surface.h"
#include "shell/setup_layout.h"
#include "shell/setup_screen.h"
#include "shell/stage_end.h"

namespace {

struct Display {
    Display() {
        plat_surface_reset();
        gfx_set_pixel_format(PIXEL_RGB565);
        back_surface = plat_surface_create(SCREEN_W, SCREEN_H, false);
        primary_surface = plat_surface_create(SCREEN_W, SCREEN_H, true);
        data_archive = mkf_open("data.mkf");
        text_init(); // the setup's captions and values are drawn once it opens
        game_world_reset();
        game_player_count = 2;
        player_table[0].control = CTRL_HUMAN;
        player_table[0].character = 3;
        game_active_mover = 0;
        game_srand(17);
    }
    ~Display() {
        text_shutdown();
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

// At least half of a sparse sample of the back surface drawn.
bool back_drawn() {
    int drawn = 0;
    for (int i = 0; i < SCREEN_W * SCREEN_H; i += 97)
        drawn += back_surface->pixels[i] != 0;
    return drawn >= SCREEN_W * SCREEN_H / 97 / 2;
}

void send(PlatWndProc proc, uint32_t message, int x = 0, int y = 0) {
    proc(nullptr, message, 0, plat_pack_point(x, y));
}

// The setup with two runners taken, the pointer over a third character: the
// background scrolling, the runners running, the grid, panel and strip drawn.
void BM_SetupScreenFrame(benchmark::State& state) {
    Display display;
    setup_window_open(0);
    send(setup_wndproc, WM_SCREEN_START);
    for (int c : {1, 3}) {
        send(setup_wndproc, WM_LBUTTONDOWN, GRID_CELL_X + GRID_CELL * c + 36, GRID_CELL_Y + 36);
        send(setup_wndproc, WM_LBUTTONUP, GRID_CELL_X + GRID_CELL * c + 36, GRID_CELL_Y + 36);
    }
    send(setup_wndproc, WM_MOUSEMOVE, GRID_CELL_X + GRID_CELL * 5 + 36, GRID_CELL_Y + 36);
    send(setup_wndproc, WM_TIMER);
    if (!back_drawn()) {
        state.SkipWithError("the stand-in pictures are missing");
    } else {
        for (auto _ : state) {
            send(setup_wndproc, WM_TIMER);
            benchmark::DoNotOptimize(back_surface->pixels[0]);
        }
    }
    setup_window_close();
}

// The stage end after a won map with another cleared: the background
// scrolling, the winner and companion running, the chooser at rest with a
// map under the pointer.
void BM_StageEndFrame(benchmark::State& state) {
    Display display;
    game_map = 1;
    game_human_count = 1;
    campaign_maps_cleared[0] = campaign_maps_cleared[1] = 1;
    stage_won_window_open();
    send(stage_won_wndproc, WM_SCREEN_START);
    for (int i = 0; i < 40; ++i) // the chooser slides in and comes to rest
        send(stage_won_wndproc, WM_TIMER);
    send(stage_won_wndproc, WM_MOUSEMOVE, 320, 280 + 40 * 2 + 20);
    if (!back_drawn()) {
        state.SkipWithError("the stand-in pictures are missing");
    } else {
        for (auto _ : state) {
            send(stage_won_wndproc, WM_TIMER);
            benchmark::DoNotOptimize(back_surface->pixels[0]);
        }
    }
    stage_won_window_close();
    campaign_maps_cleared[0] = campaign_maps_cleared[1] = 0;
}

} // namespace

BENCHMARK(BM_SetupScreenFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageEndFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridGameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TargetGameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CatchingGameFrame)->Unit(benchmark::kMicrosecond);
