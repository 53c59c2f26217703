// A computer player's card try: the gate and the decisions of a full hand of
// fifteen cards over a busy board view (every plot and facility built and
// owned, the players, the wandering characters and gods in one window),
// each decision reading the view's list as in a game. Budget: under 1 ms.
#include <benchmark/benchmark.h>

#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/ai_settings.h"
#include "cards/cards.h"
#include "data/characters.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "finance/stock.h"
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
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = static_cast<uint8_t>(1 + i % 4);
        map_lot_table[i].level = static_cast<uint8_t>(1 + i % 5);
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        map_facility_table[i].owner = static_cast<uint8_t>(1 + i % 4);
        map_facility_table[i].kind = static_cast<uint8_t>(i % 5);
        map_facility_table[i].level = 1;
    }
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        const MapSquare& sq = map_square_table[1 + p];
        r.x = static_cast<uint16_t>(sq.x), r.y = static_cast<uint16_t>(sq.y);
        r.square = static_cast<uint16_t>(1 + p);
        r.control = CTRL_COMPUTER;
        r.personality = PERS_CUNNING; // every card reaches its decision
        r.cash = 90000;
        actor_update_sprites(p);
    }
    player_table[0].grudge[1] = 500; // a main rival
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        WalkerRecord& w = walker_of_mover(m);
        const MapSquare& sq = map_square_table[m - 3];
        w.place = WALKER_FREE;
        w.x = static_cast<uint16_t>(sq.x), w.y = static_cast<uint16_t>(sq.y);
        w.square = static_cast<uint16_t>(m - 3);
        actor_update_sprites(m);
    }
    // A full hand of the cards with decisions that read the view.
    for (int id : {2, 4, 9, 10, 11, 12, 13, 14, 16, 17, 23, 26, 27, 29, 30})
        card_add(0, id);
    for (int p = 1; p < PLAYER_COUNT; ++p)
        for (int id : {1, 11, 24})
            card_add(p, id);
    game_active_mover = 0;
    board_draw_map_view(0);
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
        int played = 0;
        for (uint8_t id : player_cards[0])
            played += ai_try_card(id);
        objects = ai_choice_get(2);
        benchmark::DoNotOptimize(played);
    }
    state.counters["view_objects"] = objects;
}
BENCHMARK(BM_ComputerCardTry)->Unit(benchmark::kMicrosecond);

} // namespace
