#include "cards/target_pick.h"

#include <algorithm>

#include "board/game_state.h"
#include "board/map.h"
#include "engine/layout.h"

namespace {

constexpr uint32_t OCC_PLAYER_BITS = 0x000F;
constexpr uint32_t OCC_WALKER_BITS = 0x00F0;
constexpr uint32_t OCC_GOD_BITS = 0x7F00;
constexpr int OCC_GOD_SHIFT = 8;

bool is_occupants(int code) {
    return code > 0 && (code & OBJ_OCCUPANTS) != 0 && code <= 0xFFFF;
}
bool is_square(int code) {
    return code >= 1 && code <= OBJ_RANGE;
}
bool is_lot(int code) {
    return code > OBJ_LOT_BASE && code <= OBJ_LOT_BASE + OBJ_RANGE;
}
bool is_facility(int code) {
    return code > OBJ_FACILITY_BASE && code <= OBJ_FACILITY_BASE + OBJ_RANGE;
}

// The players an occupant code names who are movers: in the game.
bool names_a_moving_player(int code) {
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if ((code & (1 << p)) && player_table[p].control != CTRL_OUT) return true;
    return false;
}

bool kind_ok(uint32_t kinds, int code) {
    if (is_square(code)) return (kinds & PICK_SQUARES) != 0;
    if (is_lot(code)) return (kinds & PICK_LOTS) != 0;
    if (is_facility(code)) return (kinds & PICK_FACILITIES) != 0;
    if (!is_occupants(code)) return false;
    const bool movers = (code & OCC_WALKER_BITS) != 0 || names_a_moving_player(code);
    const bool objects = (code & OCC_GOD_BITS) != 0;
    return ((kinds & PICK_MOVERS) && movers) || ((kinds & PICK_OBJECTS) && objects);
}

bool has_user_bit(int user, int code) {
    return is_occupants(code) && is_player_seat(user) && (code & (1 << user)) != 0;
}

// A plot or facility with a building whose owner is not the user (an owner
// byte of 0 counts as someone else too).
bool others_built(int user, int code) {
    if (const LandLot* l = map_lot(code)) return l->level > 0 && !owner_is_seat(l->owner, user);
    if (const FacilityLot* f = map_facility(code))
        return f->level > 0 && !owner_is_seat(f->owner, user);
    return false;
}

bool is_hazard(int code) {
    if (!is_occupants(code)) return false;
    const int slot = (code & OCC_GOD_BITS) >> OCC_GOD_SHIFT;
    if (slot < GOD_FIRST_SLOT || slot > GOD_LAST_SLOT) return false;
    const int kind = god_table[slot].kind;
    return kind == GK_ROADBLOCK || kind == GK_MINE || kind == GK_TIME_BOMB;
}

// The object the square the user stands on serves.
int user_square_object(int user) {
    if (!is_player_seat(user)) return 0;
    const MapSquare* sq = map_square(player_table[user].square);
    return sq ? sq->object : 0;
}

bool mode_ok(uint32_t mode, int user, int code) {
    switch (mode) {
    case PICK_ANY:
        return true;
    case PICK_OWN_PROPERTY:
        if (const LandLot* l = map_lot(code)) return owner_is_seat(l->owner, user);
        if (const FacilityLot* f = map_facility(code))
            return owner_is_seat(f->owner, user) && f->level > 0;
        return false;
    case PICK_SAME_KIND: {
        const int here = user_square_object(user);
        if (code == here) return false;
        if (is_lot(here)) return map_lot(code) != nullptr;
        if (is_facility(here)) return map_facility(code) != nullptr;
        return false;
    }
    case PICK_OTHER_PLAYER:
        return is_occupants(code) && (code & OCC_PLAYER_BITS) != 0 && !has_user_bit(user, code);
    case PICK_OTHERS_BUILT:
        return others_built(user, code);
    case PICK_OTHERS_BUILT_OR_HAZARD:
        return others_built(user, code) || is_hazard(code);
    case PICK_NOT_SELF:
        return !has_user_bit(user, code);
    case PICK_UNOWNED:
        if (const LandLot* l = map_lot(code)) return l->owner == OWNER_NONE && l->level == 0;
        if (const FacilityLot* f = map_facility(code))
            return f->owner == OWNER_NONE && f->level == 0;
        return false;
    default: // PICK_NOTHING and modes no caller uses
        return false;
    }
}

// The square a player shown on the board stands on, 0 when not shown.
int shown_player_square(int p) {
    const PlayerRecord& r = player_table[p];
    if (r.control == CTRL_OUT || !map_square_valid(r.square)) return 0;
    const bool away = r.hotel_days || r.away_days || r.jail_days || r.hospital_days;
    return away && !(r.control & CTRL_INSIDE) ? 0 : r.square;
}

// Occupants named by the code stand together on one square; 0 when any of
// them is not on the board.
int occupants_square(int code) {
    int square = -1;
    auto same = [&square](int s) {
        if (s == 0 || (square != -1 && square != s)) return false;
        square = s;
        return true;
    };
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if ((code & (1 << p)) && !same(shown_player_square(p))) return 0;
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        if (!(code & (1 << m))) continue;
        const WalkerRecord& w = walker_of_mover(m);
        if (!same(w.place == WALKER_FREE && map_square_valid(w.square) ? w.square : 0)) return 0;
    }
    if (const int slot = (code & OCC_GOD_BITS) >> OCC_GOD_SHIFT) {
        if (slot > GOD_LAST_SLOT) return 0;
        const GodObject& g = god_table[slot];
        int s = 0;
        if (g.kind != GK_NONE && g.flight == 0) {
            if (g.holder >= 1 && g.holder <= PLAYER_COUNT)
                s = shown_player_square(seat_of_owner(g.holder));
            else if (map_square_valid(g.square))
                s = g.square;
        }
        if (!same(s)) return 0;
    }
    return square > 0 ? square : 0;
}

} // namespace

uint32_t target_pick_kinds(uint32_t param) {
    uint32_t kinds = param & 0xFF;
    if (kinds & PICK_ALL) kinds = 0x37 | (kinds & PICK_SCROLL);
    return kinds;
}

bool target_pick_accepts(uint32_t param, int user, int code) {
    return kind_ok(target_pick_kinds(param), code) && mode_ok(target_pick_mode(param), user, code);
}

bool target_pick_names_board_object(int code) {
    if (is_square(code)) return map_square_valid(code);
    if (is_lot(code)) return map_lot(code) != nullptr;
    if (is_facility(code)) return map_facility(code) != nullptr;
    if (is_occupants(code)) return (code & ~OBJ_OCCUPANTS) != 0 && occupants_square(code) != 0;
    return false;
}

int target_pick_edge_at(int x, int y) {
    // The view's left and bottom borders, its top border with the toolbar
    // above it, and the whole side panel to its right.
    const PlatRect& view = LAYOUT_BOARD_AREA;
    if (x == view.left) return PICK_EDGE_LEFT;
    if (x >= view.right) return PICK_EDGE_RIGHT;
    if (y <= view.top) return PICK_EDGE_TOP;
    if (y == view.bottom - 1) return PICK_EDGE_BOTTOM;
    return PICK_EDGE_NONE;
}

bool target_pick_scroll_tick(int edge, int rotation, int* speed, int* x, int* y) {
    // Unit vectors of the eight directions in 16.16 fixed point.
    static constexpr int32_t DIAG = 46341, UNIT = 65536;
    static constexpr int32_t DX[8] = {0, -DIAG, -UNIT, -DIAG, 0, DIAG, UNIT, DIAG};
    static constexpr int32_t DY[8] = {-UNIT, -DIAG, 0, DIAG, UNIT, DIAG, 0, -DIAG};
    if (edge < PICK_EDGE_TOP || edge > PICK_EDGE_RIGHT) return false;
    if (*speed <= 64) *speed += 4;
    const int d = (2 * edge + rotation - 2) & 7;
    const int nx = std::clamp(*x + static_cast<int>(int64_t{*speed} * DX[d] / UNIT),
                              PICK_SCROLL_MIN, PICK_SCROLL_MAX);
    const int ny = std::clamp(*y + static_cast<int>(int64_t{*speed} * DY[d] / UNIT),
                              PICK_SCROLL_MIN, PICK_SCROLL_MAX);
    const bool moved = nx != *x || ny != *y;
    *x = nx;
    *y = ny;
    return moved;
}
