// The 30 card routines. Every refusal returns 0 before the card leaves the
// hand; a played card leaves it where each routine says.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/god_flight.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/status.h"
#include "board/turn_flow.h"
#include "cards/ai_settings.h"
#include "cards/card_use.h"
#include "cards/target_pick.h"
#include "data/card_speech_lines.h"
#include "data/filled_table.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/util.h"
#include "engine/wait.h"
#include "finance/auction.h"
#include "finance/stock.h"
#include "finance/trading.h"

namespace {

constexpr uint8_t MARK_TOLL_DOUBLED = 0x50;
constexpr uint8_t MARK_SEIZED = 0x51;
constexpr int MOOD_NEUTRAL = 0, MOOD_HURT = 1, MOOD_HURT_MORE = 2, MOOD_BOAST = 3;

int user() {
    return game_active_mover;
}
PlayerRecord& rec(int p) {
    return player_table[static_cast<size_t>(p)];
}
bool by_computer(int p) {
    return control_acts_by_itself(rec(p).control);
}
// The owner of a plot or facility as a player 0..3, -1 nobody.
int owner_seat(int code) {
    const int owner = map_lot(code)        ? map_lot(code)->owner
                      : map_facility(code) ? map_facility(code)->owner
                                           : 0;
    return owner >= 1 && owner <= PLAYER_COUNT ? seat_of_owner(owner) : -1;
}
int level_of(int code) {
    return map_lot(code)        ? map_lot(code)->level
           : map_facility(code) ? map_facility(code)->level
                                : 0;
}
// The object the square under p serves.
int under(int p) {
    const MapSquare* sq = map_square(rec(p).square);
    return sq ? sq->object : 0;
}
void grudge(int from, int toward, int64_t amount) {
    if (is_player_seat(from)) player_add_grudge(from, toward, util_clamp32(amount));
}
// trunc(price x price index x (level + 2.0) / 5.0) of a plot (land price) or facility (price).
int64_t take_grudge(int code) {
    const int64_t price = map_lot(code) ? map_lot(code)->land_price : map_facility(code)->price;
    return static_cast<int64_t>(
        std::trunc(static_cast<double>(price_scaled(price)) * (level_of(code) + 2.0) / 5.0));
}

// The occupants a mover target names: its first occupant (players before
// walkers), -1 when the code names none.
int first_occupant(int code) {
    if ((code & OBJ_OCCUPANTS) == 0) return -1;
    return player_first_in_mask(static_cast<uint32_t>(code) & 0xFF);
}
bool names_nothing(int code, uint32_t kinds) {
    if (kinds & PICK_MOVERS) {
        const int m = first_occupant(code);
        if (m < 0) return true;
        if (m < PLAYER_COUNT) return rec(m).control == CTRL_OUT;
        return false;
    }
    if (map_lot(code)) return (kinds & PICK_LOTS) == 0;
    if (map_facility(code)) return (kinds & PICK_FACILITIES) == 0;
    if ((kinds & PICK_OBJECTS) && (code & OBJ_OCCUPANTS)) return ((code >> 8) & 0x7F) == 0;
    return true;
}

// The card's target: a human's pick on the board, or the computer's choice,
// to which a marker flies so that the humans see it. 0 cancelled.
int target(uint32_t kinds, uint32_t mode) {
    const int u = user();
    int code;
    if (by_computer(u)) {
        code = ai_choice_get(0);
        int x = 0, y = 0;
        if (map_object_position(code, &x, &y)) god_fly(0, rec(u).x, rec(u).y, x, y, 100);
    } else {
        code =
            decide(DecisionRequest{DECIDE_TARGET, u, nullptr, 0, 0,
                                   static_cast<int32_t>(target_pick_param(kinds, mode, 12, 15))});
    }
    if (code == 0 || names_nothing(code, kinds)) return 0;
    // The picker's mode for the user's own square: never another player's
    // target while the user stands there too.
    const uint32_t own_bit = 1u << u;
    if ((mode == PICK_OTHER_PLAYER || mode == PICK_NOT_SELF) && (code & own_bit)) return 0;
    if (mode == PICK_OTHER_PLAYER && (code & 0x0F) == 0) return 0;
    return code;
}
// A mover target that must be a player in the game: the player, -1 none.
int player_target(uint32_t mode) {
    const int code = target(PICK_MOVERS, mode);
    const int v = code ? first_occupant(code) : -1;
    return v >= 0 && v < PLAYER_COUNT ? v : -1;
}

void flash(std::initializer_list<int> codes) {
    board_mark_begin();
    for (int code : codes)
        board_mark_object(code);
    board_flash_marked();
}

void fresh_term(uint32_t& expiry) {
    if (game_land_term > 0 && game_land_term < static_cast<int32_t>(land_term_delta.size()))
        expiry = cal_add_months(game_date, land_term_delta[static_cast<size_t>(game_land_term)]);
}

void refresh_panel() {
    board_refresh_actor_panel(user());
}

// Every plot of the street of code.
template <typename F> void each_street_plot(int code, F f) {
    const LandLot& street = *map_lot(code);
    for (int i = 1; i <= map_lot_count; ++i)
        if (map_same_street(map_lot_table[i], street))
            f(map_lot_table[i], object_code(OBJ_LOT_BASE, i));
}

// ---------------------------------------------------------------------------

int card_share_wealth() {
    const int u = user();
    card_remove(u, CARD_SHARE_WEALTH);
    card_say(u, card_line_user(CARD_SHARE_WEALTH), MOOD_BOAST);
    // Sums in 64 bits: four fortunes near the limit must not wrap.
    int64_t sum = 0;
    int count = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (rec(p).control == CTRL_OUT) continue;
        sum += rec(p).cash;
        ++count;
    }
    if (count == 0) return 1;
    const int64_t avg = sum / count;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (rec(p).control == CTRL_OUT) continue;
        if (rec(p).cash > avg) grudge(p, u, (rec(p).cash - avg) / 100);
        rec(p).cash = static_cast<int32_t>(avg);
    }
    refresh_panel();
    return 1;
}

int card_share_poverty() {
    const int u = user();
    const int v = player_target(PICK_OTHER_PLAYER);
    if (v < 0 || v == u) return 0;
    card_remove(u, CARD_SHARE_POVERTY);
    card_say(u, card_line_user(CARD_SHARE_POVERTY), MOOD_BOAST);
    const int64_t avg = (int64_t{rec(u).cash} + rec(v).cash) / 2;
    if (rec(v).cash > avg) grudge(v, u, (rec(v).cash - avg) / 100);
    rec(u).cash = rec(v).cash = static_cast<int32_t>(avg);
    card_say(v, card_line_victim(CARD_SHARE_POVERTY), MOOD_HURT);
    refresh_panel();
    return 1;
}

int card_buy_land() {
    const int u = user();
    const int code = under(u);
    if (!map_lot(code) && !map_facility(code)) return 0;
    const int owner = owner_seat(code);
    if (owner < 0 || owner == u) return 0;
    int64_t price;
    uint32_t* expiry;
    Owner* owner_byte;
    if (map_lot(code)) {
        LandLot& l = *map_lot(code);
        price = price_scaled(int64_t{l.level} * l.build_price + l.land_price);
        expiry = &l.expiry;
        owner_byte = &l.owner;
    } else {
        FacilityLot& f = *map_facility(code);
        price = price_scaled(int64_t{f.level} * f.fee[0] + f.price);
        expiry = &f.expiry;
        owner_byte = &f.owner;
    }
    if (rec(u).cash < price) {
        msg_show("您的现金不足！", MSG_STANDARD_MS);
        return 0;
    }
    grudge(owner, u, take_grudge(code));
    card_say(u, card_line_user(CARD_BUY_LAND), MOOD_BOAST);
    *owner_byte = owner_of_seat(u);
    board_minimap_marks(0);
    fresh_term(*expiry);
    money_pay(u, owner, static_cast<int32_t>(price), 0);
    card_say(owner, card_line_victim(CARD_BUY_LAND), MOOD_HURT);
    card_remove(u, CARD_BUY_LAND);
    return 1;
}

// Cards 4 and 5: the other plot or facility of the same kind, 0 none.
int swap_partner(int here) {
    const uint32_t kind = map_lot(here) ? PICK_LOTS : PICK_FACILITIES;
    const int code = target(kind, PICK_SAME_KIND);
    if (code == here || (kind == PICK_LOTS ? !map_lot(code) : !map_facility(code))) return 0;
    return code;
}

// The swap's lines: the user boasts when he gives away the one under him and
// gets one of at least its level; the other side's owner, when there is one,
// complains when he loses one of at least the level he gets.
void swap_lines(int u, int here_owner, int here_level, int there_owner, int there_level) {
    if (here_owner == u && there_level >= here_level)
        card_say(u, card_line_user(CARD_SWAP_LAND), MOOD_BOAST);
    if (there_owner >= 0 && there_owner != u && there_level >= here_level)
        card_say(there_owner, card_line_victim(CARD_SWAP_LAND), MOOD_HURT_MORE);
}

int card_swap_land() {
    const int u = user();
    const int here = under(u);
    if (!map_lot(here) && !map_facility(here)) return 0;
    const int there = swap_partner(here);
    if (there == 0) return 0;
    flash({here, there});
    wait_ms(500);
    const int here_owner = owner_seat(here), there_owner = owner_seat(there);
    // The owners change places and each term goes with its owner; land that
    // came from nobody starts a term of its own.
    auto swap = [](Owner& a_owner, uint32_t& a_exp, Owner& b_owner, uint32_t& b_exp) {
        std::swap(a_owner, b_owner);
        std::swap(a_exp, b_exp);
        if (a_owner != OWNER_NONE && a_exp == 0) fresh_term(a_exp);
        if (b_owner != OWNER_NONE && b_exp == 0) fresh_term(b_exp);
    };
    if (map_lot(here))
        swap(map_lot(here)->owner, map_lot(here)->expiry, map_lot(there)->owner,
             map_lot(there)->expiry);
    else
        swap(map_facility(here)->owner, map_facility(here)->expiry, map_facility(there)->owner,
             map_facility(there)->expiry);
    board_minimap_marks(0);
    swap_lines(u, here_owner, level_of(here), there_owner, level_of(there));
    card_remove(u, CARD_SWAP_LAND);
    return 1;
}

int card_swap_house() {
    const int u = user();
    const int here = under(u);
    if (!map_lot(here) && !map_facility(here)) return 0;
    const int there = swap_partner(here);
    if (there == 0) return 0;
    const int here_level = level_of(here), there_level = level_of(there);
    const bool kinds_differ =
        map_facility(here) && map_facility(here)->kind != map_facility(there)->kind;
    flash({here, there});
    wait_ms(500);
    map_swap_buildings(here, there);
    // A facility whose kind changed is no longer the hotel its guests stay in.
    if (kinds_differ) player_end_hotel_stays();
    swap_lines(u, owner_seat(here), here_level, owner_seat(there), there_level);
    card_remove(u, CARD_SWAP_HOUSE);
    return 1;
}

int card_turn_around() {
    const int u = user();
    const int code = target(PICK_MOVERS, PICK_ANY);
    const int m = code ? first_occupant(code) : -1;
    if (m < 0) return 0;
    card_remove(u, CARD_TURN_AROUND);
    card_say(u, card_line_user(CARD_TURN_AROUND), MOOD_BOAST);
    move_turn_around(m);
    if (m == u)
        card_say(u, card_line_self(CARD_TURN_AROUND), MOOD_NEUTRAL);
    else if (m < PLAYER_COUNT)
        card_say(m, card_line_victim(CARD_TURN_AROUND), MOOD_HURT_MORE);
    return 1;
}

int card_rebuild() {
    const int u = user();
    const int here = under(u);
    if ((!map_lot(here) && !map_facility(here)) || level_of(here) == 0) return 0;
    if (map_facility(here)) {
        FacilityLot& f = *map_facility(here);
        card_say(u, card_line_user(CARD_REBUILD), MOOD_BOAST);
        const int kind =
            by_computer(u)
                ? ai_choice_get(0)
                : decide(DecisionRequest{DECIDE_FACILITY_KIND_CANCEL, u, nullptr, 0, here});
        if (kind < 0 || kind >= FACILITY_KIND_COUNT) return 0;
        if ((kind == FK_PARK || kind == FK_PETROL_STATION) && f.level > 1) f.level = 1;
        if (f.kind != kind) player_end_hotel_stays();
        f.kind = static_cast<uint8_t>(kind);
    } else {
        LandLot& l = *map_lot(here);
        card_say(u, card_line_user(CARD_REBUILD), MOOD_BOAST);
        l.chain_store = l.chain_store ? 0 : 1;
        if (l.chain_store && l.level > 1) l.level = 1;
    }
    board_view_refresh(0, 0, 1);
    card_remove(u, CARD_REBUILD);
    return 1;
}

int card_auction() {
    const int u = user();
    const int here = under(u);
    if (!map_lot(here) && !map_facility(here)) return 0;
    const int owner = owner_seat(here);
    if (owner >= 0) grudge(owner, u, take_grudge(here));
    card_say(u, card_line_user(CARD_AUCTION), MOOD_BOAST);
    if (owner >= 0 && owner != u) card_say(owner, card_line_victim(CARD_AUCTION), MOOD_HURT);
    if (auction_run(u, here, 1) == 0) {
        if (map_lot(here)) {
            map_lot(here)->owner = OWNER_NONE;
            map_lot(here)->expiry = 0;
        } else {
            map_facility(here)->owner = OWNER_NONE;
            map_facility(here)->expiry = 0;
        }
        board_minimap_marks(0);
    }
    card_remove(u, CARD_AUCTION);
    board_repaint_all();
    return 1;
}

int card_angel() {
    const int u = user();
    const int code = target(PICK_LOTS | PICK_FACILITIES, PICK_ANY);
    if (!map_lot(code) && !map_facility(code)) return 0;
    card_remove(u, CARD_ANGEL);
    card_say(u, card_line_user(CARD_ANGEL), MOOD_BOAST);
    bool top = false;
    board_mark_begin();
    if (map_facility(code)) {
        top = map_raise_level(code) == MAP_RAISED_TOP;
        flash({code});
    } else {
        each_street_plot(code, [&](LandLot& l, int c) {
            if (l.level >= 5) return;
            if (!l.chain_store) {
                ++l.level;
                top = top || l.level == 5;
            } else if (l.level == 0) {
                l.level = 1;
            } else {
                return;
            }
            board_mark_object(c);
        });
        board_flash_marked();
    }
    if (top) board_play_animation();
    return 1;
}

int card_demon() {
    const int u = user();
    const int code = target(PICK_LOTS | PICK_FACILITIES, PICK_ANY);
    if (!map_lot(code) && !map_facility(code)) return 0;
    card_remove(u, CARD_DEMON);
    card_say(u, card_line_user(CARD_DEMON), MOOD_NEUTRAL);
    if (map_facility(code)) {
        FacilityLot& f = *map_facility(code);
        const int owner = owner_seat(code);
        if (owner >= 0) grudge(owner, u, price_scaled(int64_t{f.level} * 30));
        f.level = 0;
        f.kind = FK_PARK;
        player_end_hotel_stays();
        flash({code});
    } else {
        board_mark_begin();
        each_street_plot(code, [&](LandLot& l, int c) {
            if (l.owner >= 1 && l.owner <= PLAYER_COUNT)
                grudge(seat_of_owner(l.owner), u, price_scaled(int64_t{l.level} * 30));
            l.level = 0;
            l.chain_store = 0;
            board_mark_object(c);
        });
        board_flash_marked();
    }
    return 1;
}

// Built property of somebody other than the user (mode 5).
bool others_built(int code, int u) {
    return (map_lot(code) || map_facility(code)) && level_of(code) > 0 && owner_seat(code) != u;
}

int card_monster() {
    const int u = user();
    const int code = target(PICK_LOTS | PICK_FACILITIES, PICK_OTHERS_BUILT);
    if (!others_built(code, u)) return 0;
    const int owner = owner_seat(code); // built land may have no owner: no grudge, no line
    card_remove(u, CARD_MONSTER);
    card_say(u, card_line_user(CARD_MONSTER), MOOD_NEUTRAL);
    if (owner >= 0) grudge(owner, u, price_scaled(int64_t{level_of(code)} * 30));
    int x = 0, y = 0;
    if (map_object_position(code, &x, &y)) board_view_refresh(x, y, 0);
    map_building_op(code, MAP_OP_RAZE);
    flc_play_entry(516, 0, 40, 0x100001, 80);
    wait_ms(500);
    if (owner >= 0) card_say(owner, card_line_victim(CARD_MONSTER), MOOD_HURT);
    return 1;
}

int card_demolish() {
    const int u = user();
    const int code =
        target(PICK_LOTS | PICK_FACILITIES | PICK_OBJECTS, PICK_OTHERS_BUILT_OR_HAZARD);
    if (code == 0) return 0;
    if (!map_lot(code) && !map_facility(code)) {
        const int slot = (code & OBJ_OCCUPANTS) ? (code >> 8) & 0x7F : 0;
        if (slot < GOD_FIRST_SLOT || slot > GOD_LAST_SLOT) return 0;
        const GodObject& g = god_table[static_cast<size_t>(slot)];
        if (g.kind < GK_ROADBLOCK || g.kind > GK_TIME_BOMB || g.square == 0) return 0;
        card_remove(u, CARD_DEMOLISH);
        card_say(u, card_line_user(CARD_DEMOLISH), MOOD_NEUTRAL);
        god_remove(slot);
        return 1;
    }
    if (!others_built(code, u)) return 0;
    const int owner = owner_seat(code);
    card_remove(u, CARD_DEMOLISH);
    card_say(u, card_line_user(CARD_DEMOLISH), MOOD_NEUTRAL);
    if (map_facility(code)) {
        FacilityLot& f = *map_facility(code);
        if (--f.level == 0) {
            f.kind = FK_PARK;
            player_end_hotel_stays();
        }
    } else {
        LandLot& l = *map_lot(code);
        if (l.chain_store) {
            l.level = 0;
            l.chain_store = 0;
        } else {
            --l.level;
        }
    }
    if (owner >= 0) grudge(owner, u, price_scaled(30));
    flc_play_entry(488, 0, 40, 0x260001, 97);
    wait_ms(500);
    if (owner >= 0) card_say(owner, card_line_victim(CARD_DEMOLISH), MOOD_HURT);
    return 1;
}

int card_rob() {
    const int u = user();
    const int v = player_target(PICK_OTHER_PLAYER);
    if (v < 0 || v == u) return 0;
    card_say(u, card_line_user(CARD_ROB), MOOD_BOAST);
    // The pick first, then the card leaves, so a full hand keeps its cards.
    const int pick = card_steal_pick(v, u, 1);
    if (pick == 0) return 0;
    card_remove(u, CARD_ROB);
    const int moved = card_steal_move(v, u, pick);
    const int row = (moved & STEAL_ITEM_FLAG) ? ITEM_ID_BASE + (moved & ~STEAL_ITEM_FLAG) : moved;
    if (moved != 0) grudge(v, u, card_def(row).price);
    card_say(v, card_line_victim(CARD_ROB), MOOD_HURT);
    return 1;
}

int card_stay() {
    const int u = user();
    const int code = target(PICK_MOVERS, PICK_ANY);
    const int m = code ? first_occupant(code) : -1;
    if (m < 0) return 0;
    card_remove(u, CARD_STAY);
    if (m != u) card_say(u, card_line_user(CARD_STAY), MOOD_BOAST);
    if (m >= PLAYER_COUNT) {
        walker_of_mover(m).stay_days = 1;
    } else if (m == u) {
        card_say(u, card_line_self(CARD_STAY), MOOD_BOAST);
        rec(u).stay_days = 0x80;
    } else {
        card_say(m, card_line_victim(CARD_STAY), MOOD_HURT_MORE);
        rec(m).stay_days = 1;
    }
    return 1;
}

int card_hibernate() {
    const int u = user();
    card_remove(u, CARD_HIBERNATE);
    card_say(u, card_line_user(CARD_HIBERNATE), MOOD_BOAST);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = rec(p);
        if (p == u || r.control == CTRL_OUT || r.x == 0 || r.hotel_days || r.away_days ||
            r.jail_days || r.hospital_days)
            continue;
        grudge(p, u, price_scaled(150));
        // A sleepwalk ends by its own rule, so its saved vehicle comes back.
        if (r.sleepwalk_days) player_end_sleepwalk(p);
        r.hibernation_days = 5;
        r.days_lost_month = static_cast<uint8_t>(std::min(255, r.days_lost_month + 5));
    }
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        WalkerRecord& w = walker_of_mover(m);
        if (w.place != WALKER_FREE) continue;
        w.sleepwalk_days = 0;
        w.hibernation_days = 5;
    }
    return 1;
}

// Sleepwalking for days: the travel mode and dice are kept for its end, a
// motorbike or car goes back to the items, and the player walks with one die.
void start_sleepwalk(int c, int days) {
    PlayerRecord& r = rec(c);
    r.sleepwalk_days = static_cast<uint8_t>(days);
    r.days_lost_month = static_cast<uint8_t>(std::min(255, r.days_lost_month + 5));
    r.sleep_saved_travel = r.travel;
    r.sleep_saved_dice = r.dice;
    const int mode = r.travel & TRAVEL_MODE_MASK;
    if (mode == TRAVEL_MOTORBIKE || mode == TRAVEL_CAR) {
        const int n = mode == TRAVEL_MOTORBIKE ? ITEM_MOTORBIKE : ITEM_CAR;
        uint8_t& count = player_items[static_cast<size_t>(c)][static_cast<size_t>(n - 1)];
        if (count < ITEM_KIND_MAX)
            ++count;
        else
            ++item_stock[static_cast<size_t>(n - 1)];
    }
    r.travel = TRAVEL_WALK;
    r.dice = 1;
    actor_update_sprites(c);
}

// The victim of cards 16 and 17 after the pardon and scapegoat cards: the
// player, or -1 when the pardon cancelled it.
int final_victim(int v) {
    if (card_has(v, CARD_PARDON)) {
        card_pardon(v);
        return -1;
    }
    if (card_has(v, CARD_SCAPEGOAT)) {
        const int c = card_scapegoat(v, 0, 0);
        if (c != -1) return c;
    }
    return v;
}

int card_sleepwalk() {
    const int u = user();
    const int code = target(PICK_MOVERS, PICK_NOT_SELF);
    const int v = code ? first_occupant(code) : -1;
    if (v < 0 || v == u) return 0;
    card_remove(u, CARD_SLEEPWALK);
    card_say(u, card_line_user(CARD_SLEEPWALK), MOOD_BOAST);
    if (v >= PLAYER_COUNT) {
        WalkerRecord& w = walker_of_mover(v);
        if (w.hibernation_days == 0) w.sleepwalk_days = 5;
        return 1;
    }
    if (rec(v).hibernation_days != 0) return 1;
    grudge(v, u, price_scaled(150));
    const int c = final_victim(v);
    if (c < 0) return 1;
    speech_bubble(c, MOOD_HURT, speech_line(rec(c).character, 21));
    start_sleepwalk(c, c == u ? 4 : 5);
    if (c == v && card_has(v, CARD_REVENGE)) {
        card_revenge(v);
        start_sleepwalk(u, 5);
    }
    return 1;
}

int card_frame_up() {
    const int u = user();
    const int code = target(PICK_MOVERS, PICK_NOT_SELF);
    const int v = code ? first_occupant(code) : -1;
    if (v < 0 || v == u) return 0;
    card_remove(u, CARD_FRAME_UP);
    card_say(u, card_line_user(CARD_FRAME_UP), MOOD_BOAST);
    if (v >= PLAYER_COUNT) {
        jail_send(v, 5);
        return 1;
    }
    grudge(v, u, price_scaled(150));
    const int c = final_victim(v);
    if (c < 0) return 1;
    jail_send(c, c == u ? 4 : 5);
    card_say(c, card_line_victim(CARD_FRAME_UP), MOOD_HURT);
    if (c == v && card_has(v, CARD_REVENGE)) {
        card_revenge(v);
        jail_send(u, 5);
    }
    return 1;
}

int card_not_playable() {
    return 0;
}

bool dismissable(int kind) {
    return (kind >= GK_SMALL_POVERTY && kind <= GK_BIG_BAD_LUCK) || kind == GK_DEVIL ||
           kind == GK_DEATH;
}

int card_dismiss_god() {
    const int u = user();
    PlayerRecord& r = rec(u);
    const bool bomb = r.bomb_slot != 0;
    const bool god = r.god_slot != 0 && dismissable(god_table[r.god_slot].kind);
    if (!bomb && !god) return 0;
    if (bomb) god_remove(r.bomb_slot);
    if (god) god_leave_player(u);
    card_remove(u, CARD_DISMISS_GOD);
    card_say(u, card_line_user(CARD_DISMISS_GOD), MOOD_NEUTRAL);
    return 1;
}

int card_invite_god() {
    const int u = user();
    const int slot = by_computer(u) ? ai_choice_get(0) : card_nearest_free_god();
    if (slot < GOD_FIRST_SLOT || slot > GOD_LAST_SLOT || !god_is_attachable(slot)) return 0;
    const GodObject& g = god_table[static_cast<size_t>(slot)];
    const MapSquare* from = map_square(g.square);
    if (g.holder != 0 || !from) return 0;
    const int square = g.square;
    card_remove(u, CARD_INVITE_GOD);
    card_say(u, card_line_user(CARD_INVITE_GOD), MOOD_NEUTRAL);
    god_fly(slot, from->x, from->y, rec(u).x, rec(u).y, 0);
    god_attach(u, square, slot);
    return 1;
}

// Cards 24 and 25: the company chosen, -1 none.
int company_pick(int card) {
    const int u = user();
    if (by_computer(u)) {
        const int company = ai_choice_get(0);
        if (company < 0 || company >= STOCK_COUNT) return -1;
        card_force_company(company, card);
        char text[160];
        std::snprintf(text, sizeof text, "对%s使用%s！",
                      util_without_spaces(stock_name(company)).c_str(), card_def(card).name);
        msg_show(text, MSG_STANDARD_MS);
        return company;
    }
    card_take_picked_company(); // nothing left over from an earlier pick
    const int answer =
        decide(DecisionRequest{DECIDE_COMPANY, u, nullptr, 0, 0, card == CARD_RED ? 1 : 2});
    // The exchange's pick click has applied the move itself; a scripted or
    // answered pick has not.
    const bool applied = card_take_picked_company() == answer;
    if (answer < 1 || answer > STOCK_COUNT) return -1;
    if (!applied) card_force_company(answer - 1, card);
    return answer - 1;
}

int card_red() {
    const int u = user();
    card_say(u, card_line_user(CARD_RED), MOOD_NEUTRAL);
    if (company_pick(CARD_RED) < 0) return 0;
    card_remove(u, CARD_RED);
    return 1;
}

int card_black() {
    const int u = user();
    card_say(u, card_line_user(CARD_BLACK), MOOD_NEUTRAL);
    float kept[STOCK_COUNT];
    for (int s = 0; s < STOCK_COUNT; ++s)
        kept[s] = stock_table[static_cast<size_t>(s)].price;
    const int company = company_pick(CARD_BLACK);
    if (company < 0) return 0;
    const double drop = double{kept[company]} - stock_table[static_cast<size_t>(company)].price;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const int32_t s =
            stock_holdings[static_cast<size_t>(p)][static_cast<size_t>(company)].shares;
        if (s > 0 && p != u) grudge(p, u, static_cast<int64_t>(std::trunc(s * drop / 200.0)));
    }
    card_remove(u, CARD_BLACK);
    return 1;
}

int card_tax_audit() {
    const int u = user();
    const int v = player_target(PICK_OTHER_PLAYER);
    if (v < 0 || v == u) return 0;
    card_remove(u, CARD_TAX_AUDIT);
    card_say(u, card_line_user(CARD_TAX_AUDIT), MOOD_NEUTRAL);
    // Debt pays no tax, and gets none back.
    auto tax_of = [](int p) {
        return static_cast<int32_t>(std::trunc(std::max(0, rec(p).cash) * 0.2));
    };
    int32_t tax = tax_of(v);
    grudge(v, u, tax / 100);
    if (card_has(v, CARD_FREE_PASS) && card_free_pass(v, u, tax) == 1) return 1;
    int c = v;
    if (card_has(v, CARD_SCAPEGOAT) && tax > 2000) {
        const int other = card_scapegoat(v, 2, 0);
        if (other != -1) c = other;
    }
    if (c == u) return 1;
    tax = tax_of(c);
    if (tax > 0) money_pay(c, u, tax, 0);
    char text[160];
    std::snprintf(text, sizeof text, "抽取%s\n\n%d元税金！", player_plain_name(c).c_str(), tax);
    msg_show(text, MSG_STANDARD_MS);
    card_say(c, card_line_victim(CARD_TAX_AUDIT), MOOD_HURT_MORE);
    return 1;
}

int mark_card(int id, uint8_t mark) {
    const int u = user();
    const int code = target(PICK_LOTS | PICK_FACILITIES, PICK_ANY);
    if (!map_lot(code) && !map_facility(code)) return 0;
    card_remove(u, id);
    card_say(u, card_line_user(id), MOOD_NEUTRAL);
    if (map_lot(code)) {
        each_street_plot(code, [mark](LandLot& l, int) { l.mark = mark; });
    } else {
        FacilityLot& f = *map_facility(code);
        f.mark = mark;
        if (mark == MARK_SEIZED && f.kind == FK_RESEARCH_INSTITUTE) f.research_days = 0;
    }
    return 1;
}

int card_raise_toll() {
    return mark_card(CARD_RAISE_TOLL, MARK_TOLL_DOUBLED);
}
int card_seize() {
    return mark_card(CARD_SEIZE, MARK_SEIZED);
}

int card_alliance() {
    const int u = user();
    const int partner = player_target(PICK_OTHER_PLAYER);
    if (partner < 0 || partner == u) return 0;
    card_remove(u, CARD_ALLIANCE);
    card_say(u, card_line_user(CARD_ALLIANCE), MOOD_BOAST);
    player_break_alliance(u);
    player_break_alliance(partner);
    rec(u).ally = owner_of_seat(partner);
    rec(partner).ally = owner_of_seat(u);
    rec(u).alliance_days = rec(partner).alliance_days = 7;
    refresh_panel();
    card_say(partner, card_line_victim(CARD_ALLIANCE), MOOD_NEUTRAL);
    return 1;
}

int card_turtle() {
    const int u = user();
    const int code = target(PICK_MOVERS, PICK_ANY);
    const int m = code ? first_occupant(code) : -1;
    if (m < 0) return 0;
    card_remove(u, CARD_TURTLE);
    if (m != u) card_say(u, card_line_user(CARD_TURTLE), MOOD_BOAST);
    if (m >= PLAYER_COUNT) {
        walker_of_mover(m).turtle_days = 3;
    } else if (m == u) {
        card_say(u, card_line_self(CARD_TURTLE), MOOD_BOAST);
        rec(u).turtle_days = 2;
    } else {
        card_say(m, card_line_victim(CARD_TURTLE), MOOD_HURT_MORE);
        rec(m).turtle_days = 3;
    }
    return 1;
}

// Each card's routine at its id; the four cards that act by themselves, and
// row 0, refuse.
constexpr FilledTable<CardHandler, CARD_KIND_COUNT + 1> make_card_handlers() {
    FilledTable<CardHandler, CARD_KIND_COUNT + 1> t;
    t[0] = card_not_playable;
    t[CARD_SHARE_WEALTH] = card_share_wealth;
    t[CARD_SHARE_POVERTY] = card_share_poverty;
    t[CARD_BUY_LAND] = card_buy_land;
    t[CARD_SWAP_LAND] = card_swap_land;
    t[CARD_SWAP_HOUSE] = card_swap_house;
    t[CARD_TURN_AROUND] = card_turn_around;
    t[CARD_REBUILD] = card_rebuild;
    t[CARD_AUCTION] = card_auction;
    t[CARD_ANGEL] = card_angel;
    t[CARD_DEMON] = card_demon;
    t[CARD_MONSTER] = card_monster;
    t[CARD_DEMOLISH] = card_demolish;
    t[CARD_ROB] = card_rob;
    t[CARD_STAY] = card_stay;
    t[CARD_HIBERNATE] = card_hibernate;
    t[CARD_SLEEPWALK] = card_sleepwalk;
    t[CARD_FRAME_UP] = card_frame_up;
    t[CARD_REVENGE] = card_not_playable;
    t[CARD_SCAPEGOAT] = card_not_playable;
    t[CARD_FREE_PASS] = card_not_playable;
    t[CARD_PARDON] = card_not_playable;
    t[CARD_DISMISS_GOD] = card_dismiss_god;
    t[CARD_INVITE_GOD] = card_invite_god;
    t[CARD_RED] = card_red;
    t[CARD_BLACK] = card_black;
    t[CARD_TAX_AUDIT] = card_tax_audit;
    t[CARD_RAISE_TOLL] = card_raise_toll;
    t[CARD_SEIZE] = card_seize;
    t[CARD_ALLIANCE] = card_alliance;
    t[CARD_TURTLE] = card_turtle;
    return t;
}

} // namespace

constexpr FilledTable<CardHandler, CARD_KIND_COUNT + 1> card_handler_table_built =
    make_card_handlers();
static_assert(card_handler_table_built.complete(), "every card id has its routine");
constexpr std::array<CardHandler, CARD_KIND_COUNT + 1> card_handler_table =
    card_handler_table_built.rows;
