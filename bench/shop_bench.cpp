// A computer's visits to the points shop and the magic house with nothing
// shown, on a stand-in map where everything is owned and built: each under
// 50 microseconds. Every visit starts from the same hands, pools and records.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/game_state.h"
#include "board/map.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/magic_house.h"
#include "finance/shop.h"
#include "owned_board.h"
#include "runner_game.h"

namespace {

struct Start {
    std::array<PlayerRecord, PLAYER_COUNT> players;
    std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> cards, items;
    std::array<uint8_t, CARD_KIND_COUNT> card_pool;
    std::array<uint8_t, ITEM_SHOP_KINDS> item_pool;
    std::vector<LandLot> lots;
    std::vector<FacilityLot> facilities;
};
Start start;

void keep_start() {
    start = Start{player_table, player_cards, player_items, card_stock, item_stock, {}, {}};
    start.lots.assign(map_lot_table, map_lot_table + map_lot_count + 1);
    start.facilities.assign(map_facility_table, map_facility_table + map_facility_count + 1);
}

void back_to_start() {
    player_table = start.players;
    player_cards = start.cards;
    player_items = start.items;
    card_stock = start.card_pool;
    item_stock = start.item_pool;
    std::copy(start.lots.begin(), start.lots.end(), map_lot_table);
    std::copy(start.facilities.begin(), start.facilities.end(), map_facility_table);
    game_end_code = 0;
    game_active_mover = 0;
}

// Four computers with points, a few cards and items each, player 0 chairman
// of the first company.
bool busy_game() {
    setenv("KARVO_DATA", KARVO_BENCH_DATA_DIR, 0);
    RunnerOptions options;
    options.seed = 5;
    options.map = 1;
    std::string error;
    if (!runner_setup(options, &error) || map_company_count < 1) return false;
    bench_own_and_build_everything();
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        r.control = CTRL_COMPUTER;
        r.points = static_cast<uint16_t>(300 + 40 * p);
        r.personality = static_cast<uint8_t>(p % 3);
        r.sex = static_cast<uint8_t>(p % 2);
        for (int id : {3, 7, 12, 20})
            card_add(p, id + p);
        item_add(p, 1 + p);
    }
    map_company_table[1].chairman = owner_of_seat(0);
    keep_start();
    return true;
}

void BM_ComputerShopVisit(benchmark::State& state) {
    if (!busy_game()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    const uint16_t store = object_code(OBJ_COMPANY_BASE, 1);
    uint32_t seed = 1;
    for (auto _ : state) {
        back_to_start();
        game_srand(seed++);
        shop_visit(store);
        shown_clear();
    }
    benchmark::DoNotOptimize(player_table[0].points);
    runner_close();
}

void BM_ComputerMagicVisit(benchmark::State& state) {
    if (!busy_game()) {
        state.SkipWithError("no stand-in map");
        return;
    }
    uint32_t seed = 1;
    for (auto _ : state) {
        back_to_start();
        game_srand(seed++);
        magic_visit();
        shown_clear();
    }
    benchmark::DoNotOptimize(magic_chosen);
    runner_close();
}

} // namespace

BENCHMARK(BM_ComputerShopVisit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputerMagicVisit)->Unit(benchmark::kMicrosecond);
