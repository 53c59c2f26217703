#include "support/ring_board.h"

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/movement.h"
#include "board/turn.h"
#include "board/turn_flow.h"
#include "cards/cards.h"
#include "finance/assets.h"
#include "finance/stock.h"
#include "finance/trading.h"

void turn_world_reset() {
    game_state_reset();
    map_reset();
    cards_reset();
    money_reset();
    gods_reset();
    jail_reset();
    decisions_reset();
    stock_reset();
    trading_reset();
    asset_reset();
    turn_reset();
    turn_flow_reset();
    movement_reset();
}

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
