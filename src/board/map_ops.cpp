// The operations other modules call on the board's buildings and paths.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "board/board_refresh.h"
#include "board/choice.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/status.h"
#include "board/view.h"
#include "engine/random.h"
#include "engine/wait.h"

namespace {

void redraw_minimap() {
    board_minimap_marks(0);
}

// One level down; a chain store becomes empty land. Level 0 stays as it is.
bool lower_lot(LandLot& l) {
    if (l.level == 0) return false;
    if (l.chain_store) {
        l.level = 0;
        l.chain_store = 0;
    } else {
        --l.level;
    }
    return true;
}

// One level down; a facility that reaches 0 loses its kind and hotel stays end.
bool lower_facility(FacilityLot& f) {
    if (f.level == 0) return false;
    if (--f.level == 0) {
        f.kind = FK_PARK;
        player_end_hotel_stays();
    }
    return true;
}

int32_t grudge_unit() {
    return 30 * game_price_index;
}

// Raises the grudge of a property's owner (owner byte, player + 1) toward
// the attacker; nothing when either is missing.
void grudge_owner(uint8_t owner, int attacker, int32_t amount) {
    if (owner == 0 || attacker < 0 || attacker >= PLAYER_COUNT) return;
    player_add_grudge(seat_of_owner(owner), attacker, amount);
}

void damage_lot(LandLot& l, int destroy, int attacker) {
    if (destroy) {
        uint8_t owner = l.owner;
        int32_t level = l.level;
        if (owner == 0 && level == 0 && l.chain_store == 0 && l.expiry == 0) return;
        l.owner = OWNER_NONE;
        l.level = 0;
        l.chain_store = 0;
        l.expiry = 0;
        grudge_owner(owner, attacker, level * grudge_unit());
        redraw_minimap();
    } else if (lower_lot(l)) {
        grudge_owner(l.owner, attacker, grudge_unit());
    }
}

void damage_facility(FacilityLot& f, int destroy, int attacker) {
    if (destroy) {
        uint8_t owner = f.owner;
        int32_t level = f.level;
        if (owner == 0 && level == 0 && f.kind == 0 && f.expiry == 0) return;
        f.owner = OWNER_NONE;
        f.level = 0;
        f.kind = FK_PARK;
        f.expiry = 0;
        player_end_hotel_stays();
        grudge_owner(owner, attacker, level * grudge_unit());
        redraw_minimap();
    } else if (lower_facility(f)) {
        grudge_owner(f.owner, attacker, grudge_unit());
    }
}

void damage_occupants(int code) {
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (code & (1 << p)) player_lose_vehicle(p);
    for (int w = 0; w < 4; ++w)
        if (code & (0x10 << w)) jail_send_hospital(MOVER_THIEF + w, 0);
    int slot = (code >> 8) & 0x7F;
    if (slot >= GOD_FIRST_SLOT && slot <= GOD_LAST_SLOT) god_remove(slot);
}

// The kind of a facility built from nothing, chosen by the current player.
uint8_t first_facility_kind(const FacilityLot& f) {
    int cur = game_active_mover;
    if (cur < 0 || cur >= PLAYER_COUNT) return FK_PARK;
    uint8_t control = player_table[cur].control;
    if (control != CTRL_OUT && !control_acts_by_itself(control)) {
        int kind = choose_facility_kind(0);
        if (kind < 0 || kind >= FACILITY_KIND_COUNT) return FK_PARK;
        return static_cast<uint8_t>(kind);
    }
    if (control_acts_by_itself(control) && owner_is_seat(f.owner, cur))
        return static_cast<uint8_t>(game_rand() % 4 + 1);
    return FK_PARK;
}

} // namespace

bool map_same_street(const LandLot& a, const LandLot& b) {
    return std::strncmp(a.street, b.street, sizeof a.street) == 0;
}

int map_building_op(int code, int op) {
    if (LandLot* l = map_lot(code)) {
        switch (op) {
        case MAP_OP_LOWER:
            return lower_lot(*l) ? 1 : 0;
        case MAP_OP_TAKE: {
            bool changed = l->owner || l->level || l->chain_store || l->expiry;
            l->owner = OWNER_NONE;
            l->level = 0;
            l->chain_store = 0;
            l->expiry = 0;
            redraw_minimap();
            return changed ? 1 : 0;
        }
        case MAP_OP_RAZE:
            if (l->level == 0) return 0;
            l->level = 0;
            l->chain_store = 0;
            return 1;
        }
        return 0;
    }
    if (FacilityLot* f = map_facility(code)) {
        switch (op) {
        case MAP_OP_LOWER:
            return lower_facility(*f) ? 1 : 0;
        case MAP_OP_TAKE: {
            bool changed = f->owner || f->level || f->kind || f->expiry;
            f->owner = OWNER_NONE;
            f->level = 0;
            f->kind = FK_PARK;
            f->expiry = 0;
            player_end_hotel_stays();
            redraw_minimap();
            return changed ? 1 : 0;
        }
        case MAP_OP_RAZE:
            if (f->level == 0) return 0;
            f->level = 0;
            f->kind = FK_PARK;
            player_end_hotel_stays();
            return 1;
        }
    }
    return 0;
}

int map_raise_level(int code) {
    if (LandLot* l = map_lot(code)) {
        if (l->chain_store) {
            if (l->level != 0) return 0;
            l->level = 1;
        } else {
            if (l->level >= 5) return 0;
            ++l->level;
        }
        return l->level == 5 ? MAP_RAISED_TOP : MAP_RAISED;
    }
    if (FacilityLot* f = map_facility(code)) {
        if (f->level == 0) {
            f->kind = first_facility_kind(*f);
            f->level = 1;
            return MAP_RAISED;
        }
        if (f->kind >= FACILITY_KIND_COUNT || f->level >= facility_max_level[f->kind]) return 0;
        ++f->level;
        return f->level == 5 ? MAP_RAISED_TOP : MAP_RAISED;
    }
    return 0;
}

void map_area_apply(const uint16_t* codes, int count, int mask, int destroy, int attacker) {
    std::vector<uint16_t> seen;
    for (int k = 0; k < count; ++k) {
        uint16_t code = codes[k];
        if (code == 0 || std::find(seen.begin(), seen.end(), code) != seen.end()) continue;
        seen.push_back(code);
        if (code & OBJ_OCCUPANTS) {
            if (mask & MAP_AREA_OCCUPANTS) damage_occupants(code);
        } else if (LandLot* l = map_lot(code)) {
            if (mask & MAP_AREA_PLOTS) damage_lot(*l, destroy, attacker);
        } else if (FacilityLot* f = map_facility(code)) {
            if (mask & MAP_AREA_FACILITIES) damage_facility(*f, destroy, attacker);
        }
    }
}

void map_area_effect(int radius, int mask, int destroy, int attacker) {
    int n = view_hitmap_list_radius(radius);
    n = std::clamp(n, 0, VIEW_PICK_LIST_SIZE - 8);
    // The handlers below may list again into the view's list: work on a copy.
    std::vector<uint16_t> codes(view_pick_list + 8, view_pick_list + 8 + n);
    map_area_apply(codes.data(), n, mask, destroy, attacker);
}

int map_chair_count(int p) {
    int n = 0;
    for (int i = 1; i <= map_company_count; ++i)
        if (map_company_table[i].chairman == p + 1) ++n;
    return n;
}

int map_best_building(int p) {
    int best = 0;
    int32_t best_value = -1;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (!owner_is_seat(l.owner, p) || l.chain_store || l.level >= 5) continue;
        if (l.toll[l.level] > best_value) {
            best_value = l.toll[l.level];
            best = object_code(OBJ_LOT_BASE, i);
        }
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        if (!owner_is_seat(f.owner, p) || f.kind >= FACILITY_KIND_COUNT ||
            f.level >= facility_max_level[f.kind])
            continue;
        if (f.price > best_value) {
            best_value = f.price;
            best = object_code(OBJ_FACILITY_BASE, i);
        }
    }
    return best;
}

int map_swap_buildings(int a, int b) {
    LandLot* la = map_lot(a);
    LandLot* lb = map_lot(b);
    FacilityLot* fa = map_facility(a);
    FacilityLot* fb = map_facility(b);
    int16_t *ax, *ay, *bx, *by;
    if (la && lb) {
        ax = &la->x;
        ay = &la->y;
        bx = &lb->x;
        by = &lb->y;
    } else if (fa && fb) {
        ax = &fa->x;
        ay = &fa->y;
        bx = &fb->x;
        by = &fb->y;
    } else {
        return 0;
    }
    const int16_t x0 = *ax, y0 = *ay, x1 = *bx, y1 = *by;
    const float dx = static_cast<float>(x1 - x0);
    const float dy = static_cast<float>(y1 - y0);
    const int frames = static_cast<int>(std::sqrt(dx * dx + dy * dy) * 0.0625f + 1.0f);
    for (int k = 1; k <= frames; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(frames);
        *ax = static_cast<int16_t>(x0 + static_cast<int>(dx * t));
        *ay = static_cast<int16_t>(y0 + static_cast<int>(dy * t));
        *bx = static_cast<int16_t>(x1 - static_cast<int>(dx * t));
        *by = static_cast<int16_t>(y1 - static_cast<int>(dy * t));
        board_view_refresh(0, 0, 1);
        wait_ms(24);
    }
    *ax = x0;
    *ay = y0;
    *bx = x1;
    *by = y1;
    if (la) {
        std::swap(la->level, lb->level);
        std::swap(la->chain_store, lb->chain_store);
    } else {
        std::swap(fa->level, fb->level);
        std::swap(fa->kind, fb->kind);
    }
    board_view_refresh(0, 0, 1);
    wait_ms(500);
    return 1;
}

int map_walk_path(int p, int n) {
    std::fill(view_pick_list, view_pick_list + 8, uint16_t{0});
    int cur = player_table[p].square;
    int prev = player_table[p].prev_square;
    int fork = 0;
    const int steps = std::min(n, 8);
    for (int i = 0; i < steps; ++i) {
        if (cur < 1 || cur > map_square_count) break;
        const MapSquare& q = map_square_table[cur];
        int open[4];
        int count = 0;
        for (int k = 0; k < 4; ++k) {
            int to = q.links[k];
            if (to != 0 && to != prev && (q.flags & sqf_closed(k)) == 0) open[count++] = to;
        }
        int next;
        if (count == 0) {
            next = prev;
        } else if (count == 1) {
            next = open[0];
        } else {
            next = open[game_rand() % count];
            fork = 1;
        }
        if (next == 0) break;
        view_pick_list[i] = static_cast<uint16_t>(next);
        prev = cur;
        cur = next;
    }
    return fork;
}
