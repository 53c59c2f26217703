#include "cards/ai_items.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "board/game_state.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/turn_steps.h"
#include "board/view.h"
#include "cards/ai_cards.h"
#include "cards/ai_settings.h"
#include "data/filled_table.h"
#include "engine/random.h"

namespace {

// ---------------------------------------------------------------------------
// The board view's lists, through the computer's view seam (cards/ai_cards.h):
// a try holds them, so each is read once for all the kinds it tries.

std::vector<uint16_t> copied(const uint16_t* codes, int n) {
    return std::vector<uint16_t>(codes, codes + n);
}

// Every object the view shows; its length is ai_choice entry 2 while a
// decision runs.
std::vector<uint16_t> list_view() {
    const uint16_t* codes = nullptr;
    const int n = ai_view_list(&codes);
    return copied(codes, n);
}
std::vector<uint16_t> list_free_squares() {
    const uint16_t* codes = nullptr;
    const int n = ai_view_free_squares(&codes);
    return copied(codes, n);
}
std::vector<uint16_t> list_owned_near(int x, int y, int radius) {
    const uint16_t* codes = nullptr;
    const int n = ai_view_owned_near(x, y, radius, &codes);
    return copied(codes, n);
}

// ---------------------------------------------------------------------------

// The squares ahead of a player: up to n of them (at most 8), and whether a
// fork was met on the way.
struct Path {
    int squares[8] = {};
    int count = 0;
    bool fork = false;
    bool holds(int s) const {
        for (int i = 0; i < count; ++i)
            if (squares[i] == s) return true;
        return false;
    }
};

Path path_ahead(int p, int n) {
    Path path;
    path.fork = map_walk_path(p, n) != 0;
    for (int i = 0; i < std::min(n, 8) && view_pick_list[i] != 0; ++i)
        path.squares[path.count++] = view_pick_list[i];
    return path;
}

// The property a square serves (its object code), 0 for none.
int served(int square) {
    const MapSquare* sq = map_square(square);
    return sq ? sq->object : 0;
}

// The kind of the god or object standing on a square, 0 none.
int kind_on(int square) {
    const MapSquare* sq = map_square(square);
    if (!sq) return 0;
    const int slot = static_cast<int>((sq->flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT);
    return slot >= GOD_FIRST_SLOT && slot <= GOD_LAST_SLOT ? god_table[slot].kind : 0;
}

bool kind_in(int kind, std::initializer_list<int> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// Owned by somebody other than p.
bool others(uint8_t owner, int p) {
    return owner != OWNER_NONE && !owner_is_seat(owner, p);
}

// Plots of the street owned by p.
int street_plots(int p, const char* street) {
    int n = 0;
    for (int i = 1; i <= map_lot_count; ++i)
        if (owner_is_seat(map_lot_table[i].owner, p) &&
            std::strncmp(map_lot_table[i].street, street, sizeof map_lot_table[i].street) == 0)
            ++n;
    return n;
}

int32_t street_toll(const LandLot& l) {
    return land_toll(l.owner, l.street);
}

bool money_ok(const PlayerRecord& r) {
    return static_cast<int64_t>(r.cash) + r.deposit > 10000 && r.money_luck >= 0;
}

// A random entry of a list (one draw), 0 when it is empty.
int pick_random(const std::vector<int>& list) {
    if (list.empty()) return 0;
    return list[game_rand() % static_cast<int>(list.size())];
}

bool own_code_listed(const std::vector<uint16_t>& codes, int p) {
    return std::find(codes.begin(), codes.end(), static_cast<uint16_t>(OBJ_OCCUPANTS | (1 << p))) !=
           codes.end();
}

} // namespace

int ai_land_owned_by(int player, int object) {
    if (const LandLot* l = map_lot(object)) return owner_is_seat(l->owner, player) ? 1 : 0;
    if (const FacilityLot* f = map_facility(object)) return owner_is_seat(f->owner, player) ? 1 : 0;
    return 0;
}

int ai_item_decide_robot_doll(int player) {
    const Path path = path_ahead(player, 4);
    if (path.fork) return 0;
    const int N = game_price_index;
    for (int i = 0; i < path.count; ++i) {
        const int s = path.squares[i];
        const int kind = kind_on(s);
        if (kind_in(kind,
                    {GK_SMALL_POVERTY, GK_BIG_POVERTY, GK_SMALL_BAD_LUCK, GK_BIG_BAD_LUCK, GK_DOG}))
            return 1;
        const int code = served(s);
        if (kind == GK_MINE && ai_land_owned_by(player, code)) return 1;
        if (kind == GK_ROADBLOCK) {
            if (const LandLot* l = map_lot(code))
                if (others(l->owner, player) && street_toll(*l) > 3000 * N) return 1;
            if (const FacilityLot* f = map_facility(code))
                if (others(f->owner, player)) return 1;
        }
    }
    return 0;
}

int ai_item_decide_roadblock(int player) {
    const PlayerRecord& r = player_table[player];
    const int N = game_price_index;
    const Path near = path_ahead(player, 4);
    if (!near.fork && money_ok(r) && r.turtle_days == 0) {
        for (int i = 0; i < near.count; ++i) {
            const int s = near.squares[i];
            if (kind_on(s) != 0) continue;
            const int code = served(s);
            bool stop_here = false;
            if (const FacilityLot* f = map_facility(code)) {
                stop_here = f->owner == OWNER_NONE && f->price * N < r.cash;
            } else if (const LandLot* l = map_lot(code)) {
                stop_here = l->owner == OWNER_NONE &&
                            (l->level > 0 || street_plots(player, l->street) >= 2) &&
                            l->land_price * N < r.cash;
            }
            if (stop_here) {
                ai_choice_set(3, s);
                return 1;
            }
        }
    }
    // Else block the way in front of a street that earns well.
    const Path ahead = path_ahead(player, 6);
    int best = 0;
    int32_t best_toll = 0;
    for (uint16_t s : list_free_squares()) {
        const LandLot* l = map_lot(served(s));
        if (!l || !owner_is_seat(l->owner, player) || ahead.holds(s)) continue;
        const int32_t toll = street_toll(*l);
        if (toll > 6000 * N && toll > best_toll) {
            best_toll = toll;
            best = s;
        }
    }
    if (best == 0) return 0;
    ai_choice_set(3, best);
    return 1;
}

int ai_item_decide_mine(int player) {
    const Path ahead = path_ahead(player, 6);
    std::vector<int> candidates;
    for (uint16_t s : list_free_squares()) {
        if (ahead.holds(s)) continue;
        const int code = served(s);
        const LandLot* l = map_lot(code);
        const FacilityLot* f = map_facility(code);
        if ((l && others(l->owner, player)) || (f && others(f->owner, player)))
            candidates.push_back(s);
    }
    const int s = pick_random(candidates);
    if (s == 0) return 0;
    ai_choice_set(3, s);
    return 1;
}

int ai_item_decide_time_bomb(int player) {
    const Path ahead = path_ahead(player, 6);
    std::vector<int> candidates;
    for (uint16_t s : list_free_squares())
        if (!ahead.holds(s)) candidates.push_back(s);
    const int s = pick_random(candidates);
    if (s == 0) return 0;
    ai_choice_set(3, s);
    return 1;
}

int ai_item_decide_motorbike(int player) {
    return (player_table[player].travel & TRAVEL_MODE_MASK) == TRAVEL_WALK && game_rand() % 4 == 0
               ? 1
               : 0;
}

int ai_item_decide_car(int player) {
    return (player_table[player].travel & TRAVEL_MODE_MASK) < TRAVEL_CAR && game_rand() % 4 == 0
               ? 1
               : 0;
}

int ai_item_decide_missile(int player) {
    int victim = player_most_hated(player);
    if (victim < 0) victim = player_random_other(player);
    if (!is_player_seat(victim) || victim == player || player_table[victim].control == CTRL_OUT)
        return 0;
    const uint16_t code = static_cast<uint16_t>(OBJ_OCCUPANTS | (1 << victim));
    const std::vector<uint16_t> view = list_view();
    if (std::find(view.begin(), view.end(), code) == view.end()) return 0;
    // Never where the blast would reach the user or anything of his.
    const PlayerRecord& v = player_table[victim];
    for (uint16_t near : list_owned_near(v.x, v.y, 100)) {
        if (near == (OBJ_OCCUPANTS | (1 << player)) || ai_land_owned_by(player, near)) return 0;
    }
    ai_choice_set(3, code);
    return 1;
}

int ai_item_decide_remote_dice(int player) {
    const PlayerRecord& r = player_table[player];
    // The bad-luck gods and the death god (in either of its slots).
    if (r.god_slot >= GOD_FIRST_SLOT && r.god_slot <= GOD_LAST_SLOT &&
        kind_in(god_table[r.god_slot].kind, {GK_SMALL_BAD_LUCK, GK_BIG_BAD_LUCK, GK_DEATH}))
        return 0;
    // A stay or a turtle throws no dice (the item refuses then).
    if (r.turtle_days || r.stay_days) return 0;
    if (static_cast<int64_t>(r.cash) + r.deposit < 10000 || r.money_luck < 0) return 0;
    const Path path = path_ahead(player, 6);
    if (path.fork) return 0;
    const double cash = r.cash;
    int best_face = 0, best_level = -1;
    for (int i = 0; i < path.count; ++i) {
        const int s = path.squares[i];
        const int face = i + 1;
        if ((map_square_table[s].flags & SQF_WALKERS_MASK) != 0) continue;
        if (kind_in(kind_on(s),
                    {GK_SMALL_POVERTY, GK_BIG_POVERTY, GK_SMALL_BAD_LUCK, GK_BIG_BAD_LUCK, GK_DEVIL,
                     GK_DOG, GK_ROADBLOCK, GK_MINE, GK_TIME_BOMB}))
            continue;
        const int code = served(s);
        int level = -1;
        if (const LandLot* l = map_lot(code)) {
            const int mine = street_plots(player, l->street);
            if (l->owner == OWNER_NONE && mine >= 1 && cash > 2.5 * l->land_price) {
                ai_choice_set(3, face);
                return 1;
            }
            if (owner_is_seat(l->owner, player) && !l->chain_store && l->level < 5 && mine > 1 &&
                cash > 2.5 * l->build_price)
                level = l->level;
        } else if (const FacilityLot* f = map_facility(code)) {
            if (f->owner == OWNER_NONE && cash > 2.5 * f->price) {
                ai_choice_set(3, face);
                return 1;
            }
            if (owner_is_seat(f->owner, player) && f->kind != FK_PARK &&
                f->kind != FK_PETROL_STATION && f->level < 5 && cash > 2.5 * f->fee[0])
                level = f->level;
        }
        if (level > best_level) {
            best_level = level;
            best_face = face;
        }
    }
    if (best_face == 0) return 0;
    ai_choice_set(3, best_face);
    return 1;
}

int ai_item_decide_robot_worker(int player) {
    int best = 0;
    int32_t best_fee = -1;
    for (uint16_t code : list_view()) {
        int32_t fee = -1;
        if (const LandLot* l = map_lot(code)) {
            if (owner_is_seat(l->owner, player) && !l->chain_store && l->level < 5)
                fee = l->toll[l->level];
        } else if (const FacilityLot* f = map_facility(code)) {
            if (owner_is_seat(f->owner, player) && f->level > 0 && f->kind < FACILITY_KIND_COUNT &&
                f->level < facility_max_level[f->kind])
                fee = f->fee[f->level];
        }
        if (fee > best_fee) {
            best_fee = fee;
            best = code;
        }
    }
    if (best == 0) return 0;
    ai_choice_set(3, best);
    return 1;
}

int ai_item_decide_time_machine(int) {
    return 0;
}

int ai_item_decide_teleporter(int player) {
    const PlayerRecord& r = player_table[player];
    const int N = game_price_index;
    int best = 0, best_level = -1;
    for (uint16_t s : list_free_squares()) {
        const int code = served(s);
        int level = -1;
        if (const LandLot* l = map_lot(code)) {
            if (l->owner == OWNER_NONE && !l->chain_store && l->level > 2 &&
                l->build_price * N < r.cash)
                level = l->level;
        } else if (const FacilityLot* f = map_facility(code)) {
            if (f->owner == OWNER_NONE && f->kind != FK_PARK && f->level > 2 &&
                f->fee[0] * N < r.cash)
                level = f->level;
        }
        if (level > best_level) {
            best_level = level;
            best = s;
        }
    }
    if (best == 0 || !money_ok(r)) return 0;
    ai_choice_set(3, best);
    return 1;
}

int ai_item_decide_construction_vehicle(int player) {
    const PlayerRecord& r = player_table[player];
    if ((r.travel & TRAVEL_MODE_MASK) == TRAVEL_CONSTRUCTION) return 0;
    return r.personality >= game_rand() % 15 ? 1 : 0;
}

int ai_item_decide_nuclear_missile(int player) {
    std::vector<int> candidates;
    for (int i = 1; i <= map_lot_count; ++i)
        if (others(map_lot_table[i].owner, player) && map_lot_table[i].level > 0)
            candidates.push_back(OBJ_LOT_BASE + i);
    for (int i = 1; i <= map_facility_count; ++i)
        if (others(map_facility_table[i].owner, player) && map_facility_table[i].level > 0)
            candidates.push_back(OBJ_FACILITY_BASE + i);
    if (candidates.empty()) return 0;
    const double share = 1.0 / (player_count_active() + 2);
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int target = pick_random(candidates);
        int x = 0, y = 0;
        map_object_position(target, &x, &y);
        const std::vector<uint16_t> area = list_owned_near(x, y, -1);
        if (own_code_listed(area, player)) continue;
        int c1 = 0, s1 = 0, c2 = 0, s2 = 0;
        for (uint16_t code : area) {
            int owner = OWNER_NONE, level = 0;
            if (const LandLot* l = map_lot(code)) {
                owner = l->owner;
                level = l->level;
            } else if (const FacilityLot* f = map_facility(code)) {
                owner = f->owner;
                level = f->level;
            } else {
                continue;
            }
            if (owner_is_seat(owner, player)) {
                ++c1;
                s1 += level;
            } else if (owner != OWNER_NONE) {
                ++c2;
                s2 += level;
            }
        }
        // Nothing of the others' to hit there: no use in trying it.
        if (c2 == 0 || s2 == 0) continue;
        if (static_cast<double>(c1) / c2 < share && static_cast<double>(s1) / s2 < share) {
            ai_choice_set(3, target);
            return 1;
        }
    }
    return 0;
}

namespace {

constexpr FilledTable<AiItemRoutine, ITEM_KIND_COUNT> make_ai_item_rows() {
    FilledTable<AiItemRoutine, ITEM_KIND_COUNT> t;
    t[ITEM_ROBOT_DOLL - 1] = ai_item_decide_robot_doll;
    t[ITEM_ROADBLOCK - 1] = ai_item_decide_roadblock;
    t[ITEM_MINE - 1] = ai_item_decide_mine;
    t[ITEM_TIME_BOMB - 1] = ai_item_decide_time_bomb;
    t[ITEM_MOTORBIKE - 1] = ai_item_decide_motorbike;
    t[ITEM_CAR - 1] = ai_item_decide_car;
    t[ITEM_MISSILE - 1] = ai_item_decide_missile;
    t[ITEM_REMOTE_DICE - 1] = ai_item_decide_remote_dice;
    t[ITEM_ROBOT_WORKER - 1] = ai_item_decide_robot_worker;
    t[ITEM_TIME_MACHINE - 1] = ai_item_decide_time_machine;
    t[ITEM_TELEPORTER - 1] = ai_item_decide_teleporter;
    t[ITEM_CONSTRUCTION_VEHICLE - 1] = ai_item_decide_construction_vehicle;
    t[ITEM_NUCLEAR_MISSILE - 1] = ai_item_decide_nuclear_missile;
    return t;
}

} // namespace

constexpr FilledTable<AiItemRoutine, ITEM_KIND_COUNT> ai_item_rows_built = make_ai_item_rows();
static_assert(ai_item_rows_built.complete(), "every item has its decision");
constexpr std::array<AiItemRoutine, ITEM_KIND_COUNT> ai_item_rows = ai_item_rows_built.rows;

int ai_item_gate(int item) {
    return ai_try_item(item);
}

void ai_choose_dice() {
    const int p = game_active_mover;
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    const int mode = r.travel & TRAVEL_MODE_MASK;
    if (mode != TRAVEL_CAR && mode != TRAVEL_MOTORBIKE) return;
    r.dice = mode == TRAVEL_CAR ? 3 : 2;
    if (r.bomb_slot >= GOD_FIRST_SLOT && r.bomb_slot <= GOD_LAST_SLOT) {
        // A carried time bomb alone decides: one die once 14 days or fewer are left.
        if (god_table[r.bomb_slot].days <= 14) r.dice = 1;
        return;
    }
    const Path path = path_ahead(p, 5);
    int a = 0, b = 0;
    for (int i = 0; i < path.count; ++i) {
        const int code = served(path.squares[i]);
        int owner = -1;
        if (const LandLot* l = map_lot(code))
            owner = l->owner;
        else if (const FacilityLot* f = map_facility(code))
            owner = f->owner;
        if (owner < 0) continue;
        if (owner == OWNER_NONE || owner_is_seat(owner, p))
            ++a;
        else
            ++b;
    }
    if (mode == TRAVEL_CAR && a == 0 && b > 2) r.dice = static_cast<uint8_t>(2 + (game_rand() & 1));
    if (a >= 2 && b <= 1) r.dice = 1;
}

TURN_STEP(TURN_STEP_DICE_CHOICE, [](int) { ai_choose_dice(); })
