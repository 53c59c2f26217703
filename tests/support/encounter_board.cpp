#include "support/encounter_board.h"

#include <cstring>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/movement.h"
#include "board/spinner.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "support/test_board.h"

bool encounter_board_setup(int players) {
    game_world_reset();
    cards_fill_pools();
    game_srand(1);
    const std::vector<uint8_t> block = test_board_block(TestBoardSize{EB_SQUARES, 6, 1, 1, 2});
    std::string error;
    if (!map_data_read(block.data(), block.size(), &error)) return false;
    for (int i = 1; i <= EB_SQUARES; ++i) {
        MapSquare& sq = map_square_table[i];
        sq.x = static_cast<int16_t>(100 * i);
        sq.y = 100;
        sq.links[0] = static_cast<uint16_t>(i > 1 ? i - 1 : 0);
        sq.links[1] = static_cast<uint16_t>(i < EB_SQUARES ? i + 1 : 0);
        sq.flags = SQ_PROPERTY;
        sq.object = 0;
    }
    for (int i = 1; i <= 6; ++i) {
        map_square_table[i].object = static_cast<uint16_t>(OBJ_LOT_BASE + i);
        LandLot& lot = map_lot_table[i];
        std::memset(lot.street, 0, sizeof lot.street);
        std::strcpy(lot.street, i <= 3 ? "A" : "B");
        lot.land_price = 1000;
        lot.build_price = 500;
        for (int l = 0; l <= 5; ++l)
            lot.toll[l] = static_cast<uint16_t>(100 * (l + 1));
        lot.x = static_cast<int16_t>(100 * i);
        lot.y = 140;
    }
    map_square_table[EB_JAIL_SQUARE].flags = SQ_JAIL;
    map_square_table[EB_JAIL_SQUARE].object = OBJ_JAIL;
    map_square_table[EB_HOSPITAL_SQUARE].flags = SQ_HOSPITAL;
    map_square_table[EB_HOSPITAL_SQUARE].object = OBJ_HOSPITAL;
    map_square_table[EB_BANK_SQUARE].flags = SQ_BANK;
    map_square_table[EB_FACILITY_SQUARE].object = OBJ_FACILITY_BASE + 1;
    map_square_table[EB_COMPANY_SQUARE].object = OBJ_COMPANY_BASE + 1;
    map_square_table[EB_EMPTY_SQUARE].flags = SQ_EMPTY;
    map_facility_table[1].price = 2000;
    map_facility_table[1].fee[0] = 800;
    map_decoration_table[1].x = 800; // hospital
    map_decoration_table[1].y = 160;
    map_decoration_table[2].x = 700; // jail
    map_decoration_table[2].y = 160;
    // The characters start where a new game puts them, flags in step.
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        jail_flags[m] = walker_of_mover(m).place == WALKER_IN_JAIL ? 1 : 0;
        hospital_flags[m] = walker_of_mover(m).place == WALKER_IN_HOSPITAL ? 1 : 0;
    }
    jail_square = EB_JAIL_SQUARE;
    hospital_square = EB_HOSPITAL_SQUARE;

    game_player_count = players;
    for (int p = 0; p < players; ++p) {
        PlayerRecord& r = player_table[p];
        r.control = CTRL_COMPUTER;
        r.character = static_cast<uint8_t>(p);
        r.name = static_cast<uint32_t>(p);
        r.cash = 10000;
        r.deposit = 10000;
        r.personality = PERS_NORMAL;
        r.dice = 1;
        encounter_board_put(p, EB_EMPTY_SQUARE);
    }
    game_active_mover = 0;
    return true;
}

void encounter_board_put(int m, int s) {
    const MapSquare& to = map_square_table[s];
    if (m < PLAYER_COUNT) {
        PlayerRecord& r = player_table[m];
        if (r.square >= 1 && r.square <= map_square_count)
            map_square_table[r.square].flags &= ~sqf_player(m);
        r.square = static_cast<uint16_t>(s);
        r.prev_square = static_cast<uint16_t>(s > 1 ? s - 1 : 0);
        r.x = static_cast<uint16_t>(to.x);
        r.y = static_cast<uint16_t>(to.y);
        map_square_table[s].flags |= sqf_player(m);
        god_follow_holder(m);
        return;
    }
    WalkerRecord& w = walker_of_mover(m);
    if (m <= MOVER_SPY && w.square >= 1 && w.square <= map_square_count)
        map_square_table[w.square].flags &= ~sqf_walker(m);
    w.square = static_cast<uint16_t>(s);
    w.prev_square = static_cast<uint16_t>(s > 1 ? s - 1 : 0);
    w.x = static_cast<uint16_t>(to.x);
    w.y = static_cast<uint16_t>(to.y);
    if (m <= MOVER_SPY) map_square_table[s].flags |= sqf_walker(m);
}
