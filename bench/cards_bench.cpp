// A computer player's card try: the try list of a full hand of fifteen
// cards, the gate and the decisions over a busy board view (every plot and facility built and
// owned, the players, the wandering characters and gods in one window),
// each decision reading the view's list as in a game. Budget: under 1 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/status.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/ai_cards.h"
#include "cards/ai_settings.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "data/characters.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "finance/stock.h"
#include "owned_board.h"
#include "platform/files.h"
#include "platform/surface.h"
#include "shell/app.h"

namespace {

bool setup_board() {
    static bool done = false;
    if (done) return true;
    plat_set_data_dir(KARVO_BENCH_DATA_DIR);
    gfx_pixel_format_reset();
    primary_surface = plat_surface_create(640, 480, true);
    back_surface = plat_surface_create(640, 480, false);
    data_archive = mkf_open("data.mkf");
    game_world_reset();
    cards_fill_pools();
    game_map = 0;
    game_player_count = 4;
    stock_new_game(0);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p] = character_table[p * 3];
        player_table[p].setup_control = CTRL_COMPUTER;
    }
    if (!map_load()) return false;
    bench_own_and_build_everything();
    // The busiest window of the map: the square whose view lists the most.
    int centre = 1, most = -1;
    for (int s = 1; s + 7 <= map_square_count; ++s) {
        view_draw_board(map_square_table[s].x, map_square_table[s].y);
        view_draw_list_ready();
        if (view_draw_count > most) {
            most = view_draw_count;
            centre = s;
        }
    }
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        const MapSquare& sq = map_square_table[centre + p];
        r.x = static_cast<uint16_t>(sq.x), r.y = static_cast<uint16_t>(sq.y);
        r.square = static_cast<uint16_t>(centre + p);
        map_square_table[r.square].flags |= sqf_player(p);
        r.control = CTRL_COMPUTER;
        r.personality = PERS_CUNNING; // every card reaches its decision
        r.ai_flags = 3;
        r.cash = 90000;
        actor_update_sprites(p);
    }
    player_table[0].grudge[1] = 500; // a main rival
    god_place(GK_SMALL_FORTUNE, centre + 1, 0, 0);
    god_place(GK_ROADBLOCK, centre + 2, 0, 0);
    god_place(GK_MINE, centre + 3, 0, 0);
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        WalkerRecord& w = walker_of_mover(m);
        const MapSquare& sq = map_square_table[centre + m];
        w.place = WALKER_FREE;
        w.x = static_cast<uint16_t>(sq.x), w.y = static_cast<uint16_t>(sq.y);
        w.square = static_cast<uint16_t>(centre + m);
        map_square_table[w.square].flags |= sqf_walker(m);
        actor_update_sprites(m);
    }
    // A full hand of the cards with decisions that read the view.
    for (int id : {2, 4, 9, 10, 11, 12, 13, 14, 16, 17, 23, 26, 27, 29, 30})
        card_add(0, id);
    for (int p = 1; p < PLAYER_COUNT; ++p)
        for (int id : {1, 11, 24})
            card_add(p, id);
    game_active_mover = 0;
    view_draw_board(player_table[0].x, player_table[0].y);
    done = true;
    return true;
}

void BM_ComputerCardTry(benchmark::State& state) {
    if (!setup_board()) {
        state.SkipWithError("map 0 cannot be loaded");
        return;
    }
    game_srand(1);
    int objects = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(card_ai_choose(0));
        objects = ai_choice_get(2);
    }
    state.counters["view_objects"] = objects;
    view_draw_list_ready();
    state.counters["drawn"] = view_draw_count;
}
BENCHMARK(BM_ComputerCardTry)->Unit(benchmark::kMicrosecond);

// The same try when the view would show the whole map: every plot,
// facility and company and every square's occupants (the stand-in maps
// space their squares widely, so the real window above lists few).
void BM_ComputerCardTryWholeMapInView(benchmark::State& state) {
    if (!setup_board()) {
        state.SkipWithError("map 0 cannot be loaded");
        return;
    }
    std::vector<uint16_t> codes;
    for (int i = 1; i <= map_lot_count; ++i)
        codes.push_back(static_cast<uint16_t>(OBJ_LOT_BASE + i));
    for (int i = 1; i <= map_facility_count; ++i)
        codes.push_back(static_cast<uint16_t>(OBJ_FACILITY_BASE + i));
    for (int i = 1; i <= map_company_count; ++i)
        codes.push_back(static_cast<uint16_t>(OBJ_COMPANY_BASE + i));
    for (int s = 1; s <= map_square_count; ++s) {
        const uint32_t f = map_square_table[s].flags;
        if (f & (SQF_PLAYERS_MASK | SQF_WALKERS_MASK | SQF_GOD_MASK))
            codes.push_back(
                static_cast<uint16_t>(0x8000 | ((f >> 8) & 0xFF) | (((f >> 16) & 0x7F) << 8)));
    }
    ai_view_set_list(codes.data(), static_cast<int>(codes.size()));
    game_srand(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(card_ai_choose(0));
    ai_view_set_list(nullptr, 0);
    state.counters["view_objects"] = static_cast<double>(codes.size());
}
BENCHMARK(BM_ComputerCardTryWholeMapInView)->Unit(benchmark::kMicrosecond);

} // namespace
