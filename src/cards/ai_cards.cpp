#include "cards/ai_cards.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "board/game_state.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/view.h"
#include "cards/ai_settings.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "finance/stock.h"
#include "finance/trading.h"

namespace {

// ---------------------------------------------------------------------------
// The view list and what is on it

bool list_given = false;
std::vector<uint16_t> given_list;

// A list read once while the lists are held.
struct HeldList {
    bool read = false;
    std::vector<uint16_t> codes;
};
bool list_held = false;
HeldList held_view, held_free, held_near;
int near_x = 0, near_y = 0, near_radius = 0; // what held_near was read for

// The count of a list the view wrote into view_pick_list.
int listed_count(int n) {
    return std::clamp(n, 0, VIEW_PICK_LIST_SIZE - 8);
}

// Serves a held list, reading it first when it is not yet read.
int held_or_read(HeldList& held, int (*read)(), const uint16_t** codes) {
    if (!held.read) {
        const int n = listed_count(read());
        held.codes.assign(view_pick_list + 8, view_pick_list + 8 + n);
        held.read = true;
    }
    *codes = held.codes.data();
    return static_cast<int>(held.codes.size());
}

int read_view() {
    return view_hitmap_list_radius(-1);
}
int read_free_squares() {
    return view_list_free_squares();
}

void forget_held() {
    held_view = HeldList{};
    held_free = HeldList{};
    held_near = HeldList{};
}

int self() {
    return game_active_mover;
}
PlayerRecord& rec(int p) {
    return player_table[static_cast<size_t>(p)];
}

int owner_byte(int code) {
    if (map_lot(code)) return map_lot(code)->owner;
    if (map_facility(code)) return map_facility(code)->owner;
    return 0;
}
int level_of(int code) {
    if (map_lot(code)) return map_lot(code)->level;
    if (map_facility(code)) return map_facility(code)->level;
    return 0;
}
// Land price of a plot, price of a facility.
int64_t base_price(int code) {
    if (map_lot(code)) return map_lot(code)->land_price;
    if (map_facility(code)) return map_facility(code)->price;
    return 0;
}
int64_t value_of(int code) {
    if (map_lot(code)) {
        const LandLot& l = *map_lot(code);
        return l.land_price + int64_t{l.level} * l.build_price;
    }
    if (map_facility(code)) {
        const FacilityLot& f = *map_facility(code);
        return f.price + int64_t{f.level} * f.fee[0];
    }
    return 0;
}
// Owned by a player other than p.
bool others(int owner, int p) {
    return owner != OWNER_NONE && !owner_is_seat(owner, p);
}
bool active(int p) {
    return is_player_seat(p) && rec(p).control != CTRL_OUT;
}
// The object the square under player p serves, 0 none.
int under(int p) {
    const MapSquare* sq = map_square(rec(p).square);
    return sq ? sq->object : 0;
}
// Plots of p in the street of lot, other than lot itself.
bool owns_other_in_street(int p, int lot_code) {
    const LandLot& l = *map_lot(lot_code);
    for (int i = 1; i <= map_lot_count; ++i) {
        if (i == object_index(lot_code, OBJ_LOT_BASE)) continue;
        const LandLot& o = map_lot_table[i];
        if (owner_is_seat(o.owner, p) && map_same_street(o, l)) return true;
    }
    return false;
}

struct View {
    const uint16_t* codes = nullptr;
    int count = 0;
    uint32_t players = 0; // players standing on squares the list names
};

View view_now() {
    View v;
    v.count = ai_view_list(&v.codes);
    for (int i = 0; i < v.count; ++i)
        if (v.codes[i] & OBJ_OCCUPANTS) v.players |= v.codes[i] & 0x0Fu;
    return v;
}
// Another player in the game standing where the view shows.
bool on_view(const View& v, int p) {
    return p != self() && active(p) && (v.players & (1u << p)) != 0;
}

int64_t holding_value(int p, int s) {
    const StockHolding& h = stock_holdings[static_cast<size_t>(p)][static_cast<size_t>(s)];
    return h.shares > 0 ? static_cast<int64_t>(std::trunc(h.shares * double{h.avg_cost})) : 0;
}

int choose(int target) {
    ai_choice_set(0, target);
    return 1;
}

// The monster's pick (also the demolition's first choice): 0 none.
int monster_target(const View& v) {
    const int me = self();
    const int rival = player_most_hated(me);
    int best_lot[PLAYER_COUNT] = {}, best_fac[PLAYER_COUNT] = {};
    auto better = [](int code, int best) {
        if (best == 0) return true;
        if (level_of(code) != level_of(best)) return level_of(code) > level_of(best);
        return base_price(code) > base_price(best);
    };
    for (int i = 0; i < v.count; ++i) {
        const int code = v.codes[i];
        if (!map_lot(code) && !map_facility(code)) continue;
        const int owner = owner_byte(code);
        if (!others(owner, me) || level_of(code) <= 2) continue;
        int* slot = map_lot(code) ? best_lot : best_fac;
        const int o = seat_of_owner(owner);
        if (better(code, slot[o])) slot[o] = code;
    }
    if (rival >= 0) {
        if (best_fac[rival] != 0) return best_fac[rival];
        if (best_lot[rival] != 0) return best_lot[rival];
    }
    int best = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != me && active(p) && best_fac[p] != 0 && better(best_fac[p], best))
            best = best_fac[p];
    if (best != 0) return best;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != me && active(p) && best_lot[p] != 0 && level_of(best_lot[p]) > 3 &&
            better(best_lot[p], best))
            best = best_lot[p];
    return best;
}

// The god slot standing on a code of the list, 0 none.
int god_of(int code) {
    return (code & OBJ_OCCUPANTS) ? (code >> 8) & 0x7F : 0;
}
int god_kind_of_slot(int slot) {
    return slot >= GOD_FIRST_SLOT && slot <= GOD_LAST_SLOT
               ? god_table[static_cast<size_t>(slot)].kind
               : 0;
}
bool bad_god(int kind) {
    return (kind >= GK_SMALL_POVERTY && kind <= GK_BIG_BAD_LUCK) || kind == GK_DEVIL ||
           kind == GK_DEATH;
}

} // namespace

void ai_view_set_list(const uint16_t* codes, int count) {
    list_given = codes != nullptr;
    given_list.assign(codes ? codes : nullptr, codes ? codes + (count > 0 ? count : 0) : nullptr);
}

void ai_view_hold() {
    forget_held();
    list_held = true;
}

void ai_view_release() {
    list_held = false;
    forget_held();
}

int ai_view_list(const uint16_t** codes) {
    int count;
    if (list_given) {
        *codes = given_list.data();
        count = static_cast<int>(given_list.size());
    } else if (list_held) {
        count = held_or_read(held_view, read_view, codes);
    } else {
        count = listed_count(read_view());
        *codes = view_pick_list + 8;
    }
    ai_choice_set(2, count);
    return count;
}

int ai_view_free_squares(const uint16_t** codes) {
    if (list_held) return held_or_read(held_free, read_free_squares, codes);
    *codes = view_pick_list + 8;
    return listed_count(read_free_squares());
}

int ai_view_owned_near(int x, int y, int radius, const uint16_t** codes) {
    if (list_held && held_near.read && near_x == x && near_y == y && near_radius == radius) {
        *codes = held_near.codes.data();
        return static_cast<int>(held_near.codes.size());
    }
    const int n = listed_count(view_list_owned_near(x, y, radius));
    *codes = view_pick_list + 8;
    if (!list_held) return n;
    // The board was drawn centred on the point: the view shows other things.
    held_view.read = false;
    held_free.read = false;
    held_near.codes.assign(view_pick_list + 8, view_pick_list + 8 + n);
    held_near.read = true;
    near_x = x, near_y = y, near_radius = radius;
    *codes = held_near.codes.data();
    return n;
}

void ai_cards_reset() {
    list_given = false;
    given_list.clear();
    list_held = false;
    forget_held();
}

int ai_is_rival_land(int rival, int object) {
    if (rival < 0) return 0;
    const int me = self();
    if (map_lot(object)) {
        const LandLot& l = *map_lot(object);
        if (!others(l.owner, me) || l.level == 0) return 0;
        if (owns_other_in_street(me, object)) return 1;
        return owner_is_seat(l.owner, rival) && l.level > 1 ? 1 : 0;
    }
    if (map_facility(object)) {
        const FacilityLot& f = *map_facility(object);
        return others(f.owner, me) && f.level > 0 ? 1 : 0;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// The decisions

int ai_card_share_wealth() {
    const PlayerRecord& me = rec(self());
    int64_t sum = 0;
    int count = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!active(p)) continue;
        sum += rec(p).cash;
        ++count;
    }
    if (count == 0) return 0;
    return int64_t{me.cash} * 10 < sum / count && me.cash < price_scaled(3000) ? 1 : 0;
}

int ai_card_share_poverty() {
    const View v = view_now();
    const int64_t cash = rec(self()).cash;
    const int rival = player_most_hated(self());
    if (rival >= 0 && on_view(v, rival) && rec(rival).cash > price_scaled(30000) &&
        rec(rival).cash > 2 * cash)
        return choose(ai_player_code(rival));
    int target = -1;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (on_view(v, p) && rec(p).cash > price_scaled(50000) && rec(p).cash > 3 * cash)
            target = p;
    return target >= 0 ? choose(ai_player_code(target)) : 0;
}

int ai_card_buy_land() {
    const int code = under(self());
    return ai_is_rival_land(player_most_hated(self()), code) == 1 &&
                   price_scaled(value_of(code)) < rec(self()).cash
               ? 1
               : 0;
}

int ai_card_swap_land() {
    const int me = self();
    const int here = under(me);
    if (map_lot(here)) {
        const LandLot& l = *map_lot(here);
        if (!owner_is_seat(l.owner, me) || l.level > 1 || owns_other_in_street(me, here)) return 0;
    } else if (map_facility(here)) {
        const FacilityLot& f = *map_facility(here);
        if (!owner_is_seat(f.owner, me) || f.level > 1) return 0;
    } else {
        return 0;
    }
    const int rival = player_most_hated(me);
    const View v = view_now();
    for (int i = 0; i < v.count; ++i) {
        const int code = v.codes[i];
        if (map_lot(here) ? !map_lot(code) : !map_facility(code)) continue;
        if (code == here) continue;
        if (map_lot(code) && map_same_street(*map_lot(code), *map_lot(here))) continue;
        if (base_price(code) <= base_price(here) || level_of(code) <= level_of(here)) continue;
        if (ai_is_rival_land(rival, code) == 1) return choose(code);
    }
    return 0;
}

int ai_card_rebuild() {
    const int me = self();
    const int here = under(me);
    const int rival = player_most_hated(me);
    if (map_lot(here)) {
        const LandLot& l = *map_lot(here);
        if (!owner_is_seat(l.owner, me)) return 0;
        if (l.chain_store) return owns_other_in_street(me, here) ? 1 : 0;
        if (l.level != 1) return 0;
        if (rec(me).personality == PERS_GOOD) return 1;
        for (int i = 1; i <= map_lot_count; ++i) {
            if (i == object_index(here, OBJ_LOT_BASE)) continue;
            const LandLot& o = map_lot_table[i];
            if (map_same_street(o, l) && !others(o.owner, me)) return 0;
        }
        return 1;
    }
    if (!map_facility(here)) return 0;
    const FacilityLot& f = *map_facility(here);
    if (owner_is_seat(f.owner, me)) {
        if (f.kind == FK_PARK && f.level == 1) return choose(game_rand() % 4 + 1);
        return 0;
    }
    if (others(f.owner, me) && f.kind != FK_PARK &&
        (f.level > 2 || (owner_is_seat(f.owner, rival) && f.level > 1)))
        return choose(FK_PARK);
    return 0;
}

int ai_card_auction() {
    const int me = self();
    const int here = under(me);
    if (!map_lot(here) && !map_facility(here)) return 0;
    const int owner = owner_byte(here);
    if (!others(owner, me)) return 0;
    const int rival = player_most_hated(me);
    return level_of(here) > 2 || (owner_is_seat(owner, rival) && level_of(here) > 1) ? 1 : 0;
}

int ai_card_angel() {
    const int me = self();
    const View v = view_now();
    std::vector<int> first;  // first plot seen of each street
    std::vector<int> counts; // its plain plots below level 5
    for (int i = 0; i < v.count; ++i) {
        const int code = v.codes[i];
        if (!map_lot(code)) continue;
        const LandLot& l = *map_lot(code);
        if (!owner_is_seat(l.owner, me) || l.chain_store || l.level >= 5) continue;
        size_t s = 0;
        while (s < first.size() && !map_same_street(*map_lot(first[s]), l))
            ++s;
        if (s == first.size()) {
            first.push_back(code);
            counts.push_back(0);
        }
        ++counts[s];
    }
    std::vector<int> streets;
    for (size_t s = 0; s < first.size(); ++s)
        if (counts[s] >= 3) streets.push_back(first[s]);
    if (streets.empty()) return 0;
    return choose(streets[static_cast<size_t>(game_rand() % static_cast<int>(streets.size()))]);
}

int ai_card_demon() {
    const int me = self();
    const int rival = player_most_hated(me);
    const View v = view_now();
    struct Street {
        int first;
        int sum[PLAYER_COUNT];
        int plots[PLAYER_COUNT];
    };
    std::vector<Street> streets;
    for (int i = 0; i < v.count; ++i) {
        const int code = v.codes[i];
        if (!map_lot(code)) continue;
        const LandLot& l = *map_lot(code);
        if (l.chain_store || l.owner == OWNER_NONE || l.owner > PLAYER_COUNT) continue;
        size_t s = 0;
        while (s < streets.size() && !map_same_street(*map_lot(streets[s].first), l))
            ++s;
        if (s == streets.size()) streets.push_back(Street{code, {}, {}});
        const int o = seat_of_owner(l.owner);
        streets[s].sum[o] += l.level;
        ++streets[s].plots[o];
    }
    for (const Street& s : streets) {
        if (rival >= 0) {
            if (s.plots[rival] > 1 && s.sum[rival] > 6 && s.sum[me] < 2) return choose(s.first);
        } else if (s.sum[me] == 0) {
            int sum = 0, plots = 0;
            for (int p = 0; p < PLAYER_COUNT; ++p) {
                if (p == me || !active(p)) continue;
                sum += s.sum[p];
                plots += s.plots[p];
            }
            if (sum > 8 && plots > 2) return choose(s.first);
        }
    }
    return 0;
}

int ai_card_monster() {
    const int target = monster_target(view_now());
    return target != 0 ? choose(target) : 0;
}

int ai_card_demolish() {
    const View v = view_now();
    if (const int target = monster_target(v)) return choose(target);
    const int me = self();
    const bool riding = (rec(me).travel & TRAVEL_MODE_MASK) != TRAVEL_WALK;
    for (int i = 0; i < v.count; ++i) {
        const int code = v.codes[i];
        if (map_lot(code)) {
            const LandLot& l = *map_lot(code);
            if (l.chain_store && others(l.owner, me) && rec(me).personality != PERS_GOOD &&
                land_count_chain_stores(l.owner) > 3)
                return choose(code);
        } else if (map_facility(code)) {
            const FacilityLot& f = *map_facility(code);
            if (riding && others(f.owner, me) && f.kind == FK_PETROL_STATION && f.level == 1)
                return choose(code);
        } else if (const int slot = god_of(code)) {
            const GodObject& g = god_table[static_cast<size_t>(slot)];
            const MapSquare* sq = map_square(g.square);
            if (!sq || g.holder != 0) continue;
            const int served = sq->object;
            if (!map_lot(served) && !map_facility(served)) continue;
            const int owner = owner_byte(served);
            if (g.kind == GK_ROADBLOCK && others(owner, me)) return choose(code);
            if (g.kind == GK_MINE && owner_is_seat(owner, me)) return choose(code);
        }
    }
    return 0;
}

int ai_card_rob() {
    const View v = view_now();
    const int me = self();
    const int rival = player_most_hated(me);
    auto best_card = [](int p, int min_level) {
        int best = 0;
        for (uint8_t id : player_cards[static_cast<size_t>(p)]) {
            if (id == 0) break;
            if (card_def(id).level < min_level) continue;
            if (best == 0 || card_def(id).price > card_def(best).price) best = id;
        }
        return best;
    };
    if (rival >= 0 && on_view(v, rival)) {
        if (const int id = best_card(rival, 1)) {
            ai_choice_set(1, id);
            return choose(ai_player_code(rival));
        }
    }
    int victim = -1, best = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!on_view(v, p)) continue;
        const int id = best_card(p, 2);
        if (id != 0 && (best == 0 || card_def(id).price > card_def(best).price)) {
            best = id;
            victim = p;
        }
    }
    if (victim < 0) return 0;
    ai_choice_set(1, best);
    return choose(ai_player_code(victim));
}

int ai_card_stay() {
    const int me = self();
    const PlayerRecord& r = rec(me);
    const int here = under(me);
    if (r.turtle_days == 0 && r.money_luck >= 0) {
        if (map_lot(here)) {
            const LandLot& l = *map_lot(here);
            if (owner_is_seat(l.owner, me) && !l.chain_store && l.level < 5 &&
                price_scaled(l.build_price) < r.cash && int64_t{r.cash} + r.deposit > 10000 &&
                (owns_other_in_street(me, here) || l.level >= 2))
                return choose(ai_player_code(me));
        } else if (map_facility(here)) {
            const FacilityLot& f = *map_facility(here);
            if (owner_is_seat(f.owner, me) && f.kind != FK_PARK && f.kind != FK_PETROL_STATION &&
                f.level < 5 && price_scaled(f.fee[0]) < r.cash && r.cash > 10000)
                return choose(ai_player_code(me));
        }
    }
    const View v = view_now();
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!on_view(v, p)) continue;
        const int at = under(p);
        if (map_facility(at)) {
            const FacilityLot& f = *map_facility(at);
            if (owner_is_seat(f.owner, me) && f.kind != FK_PARK && f.level >= 2)
                return choose(ai_player_code(p));
        } else if (object_in(at, OBJ_COMPANY_BASE, map_company_count)) {
            if (owner_is_seat(map_company_table[object_index(at, OBJ_COMPANY_BASE)].chairman, me))
                return choose(ai_player_code(p));
        }
    }
    return 0;
}

int ai_card_hibernate() {
    return game_rand() % 4 == 0 ? 1 : 0;
}

int ai_card_sleepwalk() {
    const View v = view_now();
    const int rival = player_most_hated(self());
    int list[PLAYER_COUNT];
    int count = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!on_view(v, p) || rec(p).hibernation_days != 0 || card_has(p, CARD_REVENGE)) continue;
        if (p == rival) return choose(ai_player_code(p));
        list[count++] = p;
    }
    if (count == 0) return 0;
    return choose(ai_player_code(list[game_rand() % count]));
}

int ai_card_dismiss_god() {
    const PlayerRecord& r = rec(self());
    if (r.god_slot != 0) return bad_god(god_kind_of_slot(r.god_slot)) ? 1 : 0;
    return r.bomb_slot != 0 && god_table[r.bomb_slot].days < 13 ? 1 : 0;
}

int ai_card_invite_god() {
    auto good = [](int kind) {
        return (kind >= GK_SMALL_WEALTH && kind <= GK_BIG_FORTUNE) || kind == GK_LAND_GOD;
    };
    const PlayerRecord& r = rec(self());
    if (r.god_slot != 0 && good(god_kind_of_slot(r.god_slot))) return 0;
    const int slot = card_nearest_free_god();
    return slot != 0 && good(god_kind_of_slot(slot)) ? choose(slot) : 0;
}

int ai_card_red() {
    if (stock_market_closed()) return 0;
    const int me = self();
    int best = -1;
    int64_t best_value = 0;
    for (int s = 0; s < STOCK_COUNT; ++s) {
        if (stock_holdings[me][s].shares <= 0 || stock_table[s].suspended_days != 0 ||
            stock_move_class(s) == MOVE_LIMIT_UP)
            continue;
        const int64_t value = holding_value(me, s);
        if (best < 0 || value > best_value) {
            best = s;
            best_value = value;
        }
    }
    return best >= 0 ? choose(best) : 0;
}

int ai_card_black() {
    if (stock_market_closed()) return 0;
    const int me = self();
    auto largest = [me](int p, bool need_building) {
        int best = -1;
        int64_t best_value = 0;
        for (int s = 0; s < STOCK_COUNT; ++s) {
            if (stock_holdings[p][s].shares <= 0 || stock_holdings[me][s].shares != 0 ||
                stock_table[s].suspended_days != 0 || stock_move_class(s) == MOVE_LIMIT_DOWN)
                continue;
            if (need_building && stock_company(s) == nullptr) continue;
            const int64_t value = holding_value(p, s);
            if (best < 0 || value > best_value) {
                best = s;
                best_value = value;
            }
        }
        return best;
    };
    const int rival = player_most_hated(me);
    if (rival >= 0) {
        const int s = largest(rival, false);
        if (s >= 0) return choose(s);
    }
    int chair = -1, chairs = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (p == me || !active(p)) continue;
        const int n = map_chair_count(p);
        if (n > chairs) {
            chair = p;
            chairs = n;
        }
    }
    if (chair < 0) return 0;
    const int s = largest(chair, true);
    return s >= 0 ? choose(s) : 0;
}

int ai_card_tax_audit() {
    const View v = view_now();
    const int rival = player_most_hated(self());
    if (rival >= 0 && on_view(v, rival) && rec(rival).cash > price_scaled(30000))
        return choose(ai_player_code(rival));
    int target = -1;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (on_view(v, p) && rec(p).cash > price_scaled(50000)) target = p;
    return target >= 0 ? choose(ai_player_code(target)) : 0;
}

int ai_card_raise_toll() {
    const int me = self();
    const int rival = player_most_hated(me);
    const View v = view_now();
    std::vector<int> tested;
    for (int i = 0; i < v.count; ++i) {
        const int code = v.codes[i];
        if (!map_lot(code)) continue;
        const LandLot& l = *map_lot(code);
        bool seen = false;
        for (int t : tested)
            seen = seen || map_same_street(*map_lot(t), l);
        if (seen) continue;
        tested.push_back(code);
        int plots = 0, mine = 0, my_sum = 0, other_sum = 0;
        bool rival_owns = false;
        for (int k = 1; k <= map_lot_count; ++k) {
            const LandLot& o = map_lot_table[k];
            if (!map_same_street(o, l)) continue;
            ++plots;
            if (owner_is_seat(o.owner, me)) {
                ++mine;
                my_sum += o.level;
            } else if (o.owner != OWNER_NONE) {
                other_sum += o.level;
                if (owner_is_seat(o.owner, rival)) rival_owns = true;
            }
        }
        if (!rival_owns && mine >= 0.66 * plots && my_sum > 6 && other_sum <= 3)
            return choose(code);
    }
    int best = 0, best_level = 2;
    for (int i = 0; i < v.count; ++i) {
        const int code = v.codes[i];
        if (!map_facility(code)) continue;
        const FacilityLot& f = *map_facility(code);
        if (owner_is_seat(f.owner, me) && f.kind != FK_PARK && f.level > best_level) {
            best = code;
            best_level = f.level;
        }
    }
    return best != 0 ? choose(best) : 0;
}

int ai_card_seize() {
    const int me = self();
    const int rival = player_most_hated(me);
    map_walk_path(me, 6);
    for (int i = 0; i < 6; ++i) {
        const MapSquare* sq = map_square(view_pick_list[i]);
        if (!sq) break;
        const int code = sq->object;
        if (map_facility(code)) {
            const FacilityLot& f = *map_facility(code);
            if (rival >= 0 && owner_is_seat(f.owner, rival) && f.kind != FK_PARK && f.level > 2)
                return choose(code);
        } else if (map_lot(code)) {
            const LandLot& l = *map_lot(code);
            bool mine = false;
            int other_sum = 0;
            for (int k = 1; k <= map_lot_count; ++k) {
                const LandLot& o = map_lot_table[k];
                if (!map_same_street(o, l)) continue;
                if (owner_is_seat(o.owner, me))
                    mine = true;
                else if (o.owner != OWNER_NONE)
                    other_sum += o.level;
            }
            if (!mine && other_sum > 6) return choose(code);
        }
    }
    return 0;
}

int ai_card_alliance() {
    const int me = self();
    int best = -1, best_count = -1;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (p == me || !active(p)) continue;
        int n = 0;
        for (int i = 1; i <= map_lot_count; ++i)
            n += owner_is_seat(map_lot_table[i].owner, p);
        for (int i = 1; i <= map_facility_count; ++i)
            n += owner_is_seat(map_facility_table[i].owner, p);
        if (n > best_count) {
            best = p;
            best_count = n;
        }
    }
    if (best < 0) return 0;
    const View v = view_now();
    if (!on_view(v, best) || best == player_most_hated(me) || owner_is_seat(rec(me).ally, best))
        return 0;
    return choose(ai_player_code(best));
}

namespace {

// What self's property on a square ahead earns when p stops there (-1 when
// the square serves none of self's properties that count), and whether it
// ends the count (unowned, or p's own property).
int64_t toll_for_self(int me, int p, int code, bool* stop) {
    *stop = false;
    if (map_lot(code)) {
        const LandLot& l = *map_lot(code);
        if (l.owner == OWNER_NONE || owner_is_seat(l.owner, p)) *stop = true;
        return owner_is_seat(l.owner, me) ? land_toll(l.owner, l.street) : -1;
    }
    if (map_facility(code)) {
        const FacilityLot& f = *map_facility(code);
        if (f.owner == OWNER_NONE || owner_is_seat(f.owner, p)) *stop = true;
        if (!owner_is_seat(f.owner, me) || f.kind == FK_PARK || f.kind == FK_RESEARCH_INSTITUTE)
            return -1;
        return f.level <= 5 ? f.fee[f.level] : 0;
    }
    if (object_in(code, OBJ_COMPANY_BASE, map_company_count)) {
        const CompanyBuilding& c = map_company_table[object_index(code, OBJ_COMPANY_BASE)];
        return owner_is_seat(c.chairman, me) ? c.base_fee : -1;
    }
    return -1;
}

} // namespace

int ai_card_turtle() {
    const int me = self();
    const PlayerRecord& r = rec(me);
    if (map_walk_path(me, 3) == 0) {
        bool harmful = false;
        int good = 0;
        int64_t cost = 0;
        for (int i = 0; i < 3; ++i) {
            const MapSquare* sq = map_square(view_pick_list[i]);
            if (!sq) break;
            const int code = sq->object;
            if (map_lot(code)) {
                const LandLot& l = *map_lot(code);
                if (others(l.owner, me) && land_toll(l.owner, l.street) > price_scaled(1000))
                    harmful = true;
                if (!l.chain_store && l.level < 5 && !others(l.owner, me)) {
                    ++good;
                    cost += l.owner == OWNER_NONE ? l.land_price : l.build_price;
                }
            } else if (map_facility(code)) {
                const FacilityLot& f = *map_facility(code);
                if (others(f.owner, me) && f.level > 0 && f.kind != FK_PARK &&
                    f.kind != FK_RESEARCH_INSTITUTE)
                    harmful = true;
                if (f.owner == OWNER_NONE) {
                    ++good;
                    cost += f.price;
                } else if (owner_is_seat(f.owner, me) && f.level < 5) {
                    ++good;
                    cost += f.fee[0];
                }
            } else if (object_in(code, OBJ_COMPANY_BASE, map_company_count)) {
                if (others(map_company_table[object_index(code, OBJ_COMPANY_BASE)].chairman, me))
                    harmful = true;
            }
        }
        if (!harmful && good >= 2 && r.cash > 1.5 * static_cast<double>(cost) &&
            int64_t{r.cash} + r.deposit > 10000 && r.money_luck >= 0)
            return choose(ai_player_code(me));
    }
    const View v = view_now();
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!on_view(v, p)) continue;
        if (map_walk_path(p, 3) != 0) continue;
        int mine = 0;
        int64_t worth = 0;
        for (int i = 0; i < 3; ++i) {
            const MapSquare* sq = map_square(view_pick_list[i]);
            if (!sq) break;
            bool stop = false;
            const int64_t toll = toll_for_self(me, p, sq->object, &stop);
            if (stop) break;
            if (toll >= 0) {
                ++mine;
                worth += toll;
            }
        }
        if (mine >= 2 && worth >= price_scaled(10000)) return choose(ai_player_code(p));
    }
    return 0;
}
