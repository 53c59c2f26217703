// Any byte string as a new game's map block: decoding and validating it must
// stay inside the bytes, a refusal must say why, and a block that is taken
// must start a game whose board, money and market invariants hold (the ones
// the headless runner checks after every day). Each input is tried with the
// stock table of every map and two to four players.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/random.h"
#include "finance/stock.h"
#include "runner_game.h"

namespace {

// A new game's set-up as far as the board's start state needs it.
void new_game(int map, int players) {
    game_world_reset();
    game_srand(static_cast<uint32_t>(map + 1));
    game_player_count = players;
    for (int p = 0; p < players; ++p) {
        player_table[p] = character_table[p];
        player_table[p].setup_control = CTRL_COMPUTER;
        player_table[p].cash = 25000;
        player_table[p].deposit = 25000;
    }
    walker_table = walker_initial;
    jail_flags.fill(0);
    hospital_flags.fill(0);
    jail_flags[MOVER_THIEF] = jail_flags[MOVER_ROBBER] = 1;
    hospital_flags[MOVER_HOOLIGAN] = hospital_flags[MOVER_SPY] = 1;
    game_map = map;
    stock_new_game(map);
}

[[noreturn]] void broken(int map, const char* what, const std::string& why) {
    std::fprintf(stderr, "map_fuzz: stock table of map %d: %s: %s\n", map, what, why.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    for (int map = 0; map < 4; ++map) {
        new_game(map, 2 + map % 3);
        std::string error;
        if (!map_start_new_block(data, size, &error)) {
            if (error.empty()) broken(map, "refused", "without a reason");
            if (map_data_loaded()) broken(map, "refused", "but loaded: " + error);
            continue;
        }
        stock_link_companies();
        if (std::string b = god_board_check(); !b.empty()) broken(map, "board", b);
        if (std::string b = runner_money_check(); !b.empty()) broken(map, "money", b);
        if (std::string b = runner_stock_check(nullptr); !b.empty()) broken(map, "market", b);
        map_free();
    }
    return 0;
}
