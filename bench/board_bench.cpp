// The board's cost: the whole board frame a player sees (toolbar, the view
// with its sprites, the side panel in each of its three layouts, calendar,
// minimap, texts, the copy to the display), checked to have drawn every
// region; the map view alone of a crowded window (terrain, sorted objects,
// the copy to the primary surface); a camera sweep across the map and a
// hit-map build; each also as a ratio to a memcpy of one 640 x 480 16-bit
// frame (614,400 bytes) timed in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/status.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/mkf.h"
#include "engine/options.h"
#include "engine/text.h"
#include "finance/stock.h"
#include "owned_board.h"
#include "platform/files.h"
#include "platform/surface.h"
#include "shell/app.h"

namespace {

constexpr size_t FRAME_BYTES = 640 * 480 * 2;

// Nanoseconds of one memcpy of a frame, the best of many.
double memcpy_ns() {
    static double best = 0;
    if (best > 0) return best;
    std::vector<uint8_t> a(FRAME_BYTES, 1), b(FRAME_BYTES, 2);
    best = 1e18;
    for (int rep = 0; rep < 200; ++rep) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(b.data(), a.data(), FRAME_BYTES);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(t1 - t0).count());
    }
    return best;
}

// Map 0 of the stand-in data with every plot and facility built and owned,
// the four players and the wandering characters in one window.
bool setup_board() {
    static bool done = false;
    if (done) return true;
    plat_set_data_dir(KARVO_BENCH_DATA_DIR);
    gfx_pixel_format_reset();
    primary_surface = plat_surface_create(640, 480, true);
    back_surface = plat_surface_create(640, 480, false);
    data_archive = mkf_open("data.mkf");
    text_init();
    game_world_reset();
    game_map = 0;
    // A new game's map is checked against the stock table, as the game loads it.
    stock_new_game(0);
    game_player_count = 4;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p] = character_table[p * 3];
        player_table[p].setup_control = CTRL_COMPUTER;
    }
    if (!map_load()) return false;
    bench_own_and_build_everything();
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        const MapSquare& sq = map_square_table[1 + p];
        r.x = static_cast<uint16_t>(sq.x), r.y = static_cast<uint16_t>(sq.y);
        r.square = static_cast<uint16_t>(1 + p);
        r.control = CTRL_COMPUTER;
        actor_update_sprites(p);
    }
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        WalkerRecord& w = walker_of_mover(m);
        const MapSquare& sq = map_square_table[m - 3];
        w.place = WALKER_FREE;
        w.x = static_cast<uint16_t>(sq.x), w.y = static_cast<uint16_t>(sq.y);
        w.square = static_cast<uint16_t>(m - 3);
        actor_update_sprites(m);
    }
    // Gods and placed objects on the same squares.
    for (int slot = GOD_FIRST_SLOT; slot <= 24; ++slot)
        god_table[slot].square = static_cast<uint16_t>(1 + slot % 6);
    view_draw_minimap_marks(0);
    board_load_graphics();
    done = true;
    return true;
}

void report_ratio(benchmark::State& state) {
    state.counters["ratio_to_memcpy"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * memcpy_ns() * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Memcpy614400(benchmark::State& state) {
    std::vector<uint8_t> a(FRAME_BYTES, 1), b(FRAME_BYTES, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), FRAME_BYTES);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}

void BM_BoardFrame(benchmark::State& state) {
    if (!setup_board()) {
        state.SkipWithError("map 0 cannot be loaded");
        return;
    }
    game_active_mover = 0;
    for (auto _ : state) {
        board_draw_map_view(0);
        board_flush_dirty();
        benchmark::DoNotOptimize(plat_take_primary_changed());
    }
    view_draw_list_ready();
    state.counters["objects"] = view_draw_count;
    report_ratio(state);
}

// The regions a layout draws: the toolbar, the view and the side panel's
// three bands (each a picture of its own in every layout).
constexpr PlatRect FRAME_REGIONS[5] = {LAYOUT_TOOLBAR, LAYOUT_BOARD_AREA, LAYOUT_SIDE_TOP,
                                       LAYOUT_SIDE_MIDDLE, LAYOUT_SIDE_BOTTOM};
constexpr const char* FRAME_REGION_NAMES[5] = {"toolbar", "view", "side_top", "side_middle",
                                               "side_bottom"};

// The share of a region's pixels of the display that differ from `mark`.
double drawn_share(const PlatRect& r, uint16_t mark) {
    int64_t n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += primary_surface->pixels[y * 640 + x] != mark;
    return static_cast<double>(n) / ((r.right - r.left) * (r.bottom - r.top));
}

// board_repaint(1) in side-panel layout range(0): everything drawn and
// copied to the display. Before timing, one frame over a display filled with
// a colour no picture uses shows that every region was drawn.
void BM_FullBoardFrame(benchmark::State& state) {
    if (!setup_board()) {
        state.SkipWithError("map 0 cannot be loaded");
        return;
    }
    settings_set_side_panel_layout(static_cast<uint8_t>(state.range(0)));
    game_active_mover = 0;
    constexpr uint16_t MARK = 0x0821;
    std::fill(primary_surface->pixels, primary_surface->pixels + 640 * 480, MARK);
    std::fill(back_surface->pixels, back_surface->pixels + 640 * 480, MARK);
    board_repaint(1);
    // KARVO_BENCH_SHOT_DIR=DIR keeps each layout's frame there to look at.
    if (const char* dir = std::getenv("KARVO_BENCH_SHOT_DIR"))
        plat_surface_save_bmp(
            primary_surface,
            (std::string(dir) + "/board_frame_" + std::to_string(state.range(0)) + ".bmp").c_str());
    for (int i = 0; i < 5; ++i) {
        const double share = drawn_share(FRAME_REGIONS[i], MARK);
        state.counters[std::string("drawn_") + FRAME_REGION_NAMES[i]] = share;
        if (share < 0.5) {
            state.SkipWithError(
                (std::string("the frame left the ") + FRAME_REGION_NAMES[i] + " region undrawn")
                    .c_str());
            return;
        }
    }
    for (auto _ : state) {
        board_repaint(1);
        benchmark::DoNotOptimize(plat_take_primary_changed());
    }
    report_ratio(state);
    settings_set_side_panel_layout(0);
}

void BM_CameraSweep(benchmark::State& state) {
    if (!setup_board()) {
        state.SkipWithError("map 0 cannot be loaded");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        const int t = step++ % 64;
        view_draw_board(200 + t * 30, 200 + t * 28);
    }
    report_ratio(state);
}

void BM_HitMapBuild(benchmark::State& state) {
    if (!setup_board()) {
        state.SkipWithError("map 0 cannot be loaded");
        return;
    }
    view_draw_board(player_table[0].x, player_table[0].y);
    for (auto _ : state) {
        view_hitmap_build(1);
        benchmark::DoNotOptimize(view_hitmap_at(220, 220));
    }
    report_ratio(state);
}

} // namespace

BENCHMARK(BM_Memcpy614400)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullBoardFrame)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoardFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CameraSweep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitMapBuild)->Unit(benchmark::kMicrosecond);
