#include "support/ring_board.h"

#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "cards/cards.h"
#include "engine/options.h"
#include "engine/random.h"

bool ring_board_load(int squares, int lots, int facilities) {
    TestBoardSize size;
    size.squares = squares;
    size.lots = lots;
    size.facilities = facilities;
    if (!test_board_load(size)) return false;
    for (int i = 1; i <= squares; ++i) {
        MapSquare& sq = map_square_table[i];
        sq.x = static_cast<int16_t>(160 * i);
        sq.y = 320;
        sq.links[0] = static_cast<uint16_t>(i == squares ? 1 : i + 1);
        sq.links[1] = static_cast<uint16_t>(i == 1 ? squares : i - 1);
        sq.links[2] = 0;
        sq.links[3] = 0;
        sq.object = 0;
        sq.flags = SQ_EMPTY;
    }
    return true;
}

void ring_place_player(int p, int s, uint8_t control) {
    PlayerRecord& r = player_table[p];
    r.control = control;
    r.square = static_cast<uint16_t>(s);
    r.prev_square = static_cast<uint16_t>(s == 1 ? map_square_count : s - 1);
    r.x = static_cast<uint16_t>(map_square_table[s].x);
    r.y = static_cast<uint16_t>(map_square_table[s].y);
    r.dice = 1;
    map_square_table[s].flags |= sqf_player(p);
}

bool ring_three_computers() {
    game_world_reset();
    if (!ring_board_load(10, 8, 2)) return false;
    cards_fill_pools();
    game_srand(5);
    game_player_count = 3;
    ring_place_player(0, 2, CTRL_COMPUTER);
    ring_place_player(1, 4, CTRL_COMPUTER);
    ring_place_player(2, 6, CTRL_COMPUTER);
    for (int p = 0; p < 3; ++p)
        player_table[p].cash = 1000;
    settings_set_autosave(0);
    return true;
}

bool ring_human_and_computer() {
    if (!ring_board_load(12)) return false;
    game_player_count = 2;
    ring_place_player(0, 1, CTRL_HUMAN);
    ring_place_player(1, 3, CTRL_COMPUTER);
    game_active_mover = 0;
    board_screen_active = 1;
    return true;
}
