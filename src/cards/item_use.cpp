#include "cards/item_use.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/god_flight.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/status.h"
#include "board/turn.h"
#include "board/turn_steps.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/ai_cards.h"
#include "cards/ai_items.h"
#include "cards/ai_settings.h"
#include "cards/cards.h"
#include "cards/target_pick.h"
#include "cards/time_machine.h"
#include "data/filled_table.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/music.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"

int item_remote_dice_value = 0;

namespace {

// The player who already tried an item this turn (-1 none): a computer gets
// one try a turn, also when its turn resumes after the robot doll's walk.
int item_tried_by = -1;

ItemObserver observer = nullptr;

// The board_effects element of an object put down on the board (a thud).
constexpr int SOUND_PLACED = 5;
// Films over the board and the EFFECT.MKF entries played with them.
constexpr int FILM_MISSILE = 487;
constexpr uint32_t FILM_MISSILE_FLAGS = 0x090001; // the board redrawn from frame 9
constexpr int FILM_MISSILE_SOUND = 81;
constexpr int FILM_NUCLEAR = 489;
constexpr uint32_t FILM_NUCLEAR_FLAGS = 0x80090001; // board mode, redrawn from frame 9
constexpr int FILM_NUCLEAR_SOUND = 83;
constexpr int FILM_WORKER = 512;
constexpr uint32_t FILM_WORKER_FLAGS = 0x2C0001; // the board redrawn from frame 44
constexpr int FILM_WORKER_SOUND = 91;
// What the area effects hit: plots, facilities and the squares' occupants.
constexpr int AREA_MASK = MAP_AREA_PLOTS | MAP_AREA_FACILITIES | MAP_AREA_OCCUPANTS;
constexpr int MISSILE_RADIUS = 100;
constexpr int HIT_GRUDGE = 90;
constexpr int HIT_HOSPITAL_DAYS = 3;

int user() {
    return game_active_mover;
}

bool is_computer(int p) {
    return control_acts_by_itself(player_table[p].control);
}

int travel_mode(int p) {
    return player_table[p].travel & TRAVEL_MODE_MASK;
}

void say(int p, int item) {
    speech_bubble(p, 0, item_speech_line(player_table[p].character, item - 1));
}

// A human chooses on the board; a computer's decision left its target.
int ask_target(int p, uint32_t param) {
    if (is_computer(p)) return ai_choice_get(3);
    return decide(DecisionRequest{DECIDE_TARGET, p, nullptr, 0, 0, static_cast<int32_t>(param)});
}

// Takes one copy out of the counts without returning it to the shop.
void consume(int p, int n) {
    uint8_t& count = player_items[p][n - 1];
    if (count > 0) --count;
}

// A ridden motorbike or car comes back into the counts; a tenth copy goes to
// the shop stock instead.
void back_to_counts(int p, int n) {
    uint8_t& count = player_items[p][n - 1];
    if (count < ITEM_KIND_MAX)
        ++count;
    else if (n <= ITEM_SHOP_KINDS)
        ++item_stock[n - 1];
}

// Gives back the motorbike or car being ridden (the construction vehicle is
// not an item of the counts: it is lost).
void give_back_ridden(int p) {
    switch (travel_mode(p)) {
    case TRAVEL_MOTORBIKE:
        back_to_counts(p, ITEM_MOTORBIKE);
        break;
    case TRAVEL_CAR:
        back_to_counts(p, ITEM_CAR);
        break;
    default:
        break;
    }
}

void set_travel(int p, uint8_t travel, uint8_t dice) {
    PlayerRecord& r = player_table[p];
    r.travel = travel;
    r.dice = dice;
    actor_update_sprites(p);
    board_view_refresh(0, 0, 1);
}

bool square_code(int code) {
    return code > OBJ_SQUARE_BASE && code < OBJ_LOT_BASE && map_square_valid(code);
}

// Whether god_place can put an object of the kind on the square: a square
// holds one slot at most, and the kind's range must have a free slot.
bool can_place(int kind, int square) {
    if (!square_code(square) || (map_square_table[square].flags & SQF_GOD_MASK) != 0) return false;
    int first = 0, last = 0;
    if (!god_kind_slots(kind, &first, &last)) return false;
    for (int s = first; s <= last; ++s)
        if (god_table[s].square == 0 && god_table[s].holder == 0) return true;
    return false;
}

// Items 2-4: an object put down on a square.
int place_object(int item, int kind, int cursor_frame) {
    const int p = user();
    const int square = ask_target(p, target_pick_param(PICK_SQUARES, PICK_ANY, cursor_frame, 1));
    if (!can_place(kind, square)) return 0;
    say(p, item);
    const int slot = god_place(kind, square, 0, 0);
    if (slot == 0) return 0; // cannot happen after can_place
    const PlayerRecord& r = player_table[p];
    const MapSquare& sq = map_square_table[square];
    god_fly(slot, r.x, r.y, sq.x, sq.y, 100);
    snd_board_effect_play(SOUND_PLACED, 0);
    consume(p, item);
    board_view_refresh(0, 0, 1);
    return 1;
}

// The missiles: the view goes to the target, the area is struck, the film
// plays and every player the blast hit goes to hospital.
void strike(int p, int target, int radius, int destroy, int film, uint32_t flags, int sound) {
    int x = 0, y = 0;
    if (map_object_position(target, &x, &y)) board_view_refresh(x, y, 0);
    uint8_t hit_before[PLAYER_COUNT];
    for (int q = 0; q < PLAYER_COUNT; ++q)
        hit_before[q] = player_table[q].control & CTRL_BLAST_HIT;
    map_area_effect(radius, AREA_MASK, destroy, p);
    flc_play_entry(film, 0, VIEW_TOP, flags, sound);
    for (int q = 0; q < PLAYER_COUNT; ++q) {
        if (hit_before[q] || !(player_table[q].control & CTRL_BLAST_HIT)) continue;
        player_add_grudge(q, p, HIT_GRUDGE * game_price_index);
        jail_send_hospital(q, HIT_HOSPITAL_DAYS);
    }
    board_repaint_all();
}

bool target_exists(int code) {
    int x, y;
    return code != 0 && map_object_position(code, &x, &y);
}

int missile_strike(int item, int cursor_frame, int radius, int destroy, int film, uint32_t flags,
                   int sound) {
    const int p = user();
    const int target =
        ask_target(p, target_pick_param(PICK_ALL | PICK_SCROLL, PICK_ANY, cursor_frame, 1));
    if (!target_exists(target)) return 0;
    say(p, item);
    item_remove(p, item);
    strike(p, target, radius, destroy, film, flags, sound);
    return 1;
}

// ---------------------------------------------------------------------------
// The teleporter

// The open links of a square (not 0, not closed).
int open_links(int square, int* out) {
    const MapSquare& sq = map_square_table[square];
    int n = 0;
    for (int i = 0; i < 4; ++i)
        if (map_square_valid(sq.links[i]) && (sq.flags & sqf_closed(i)) == 0)
            out[n++] = sq.links[i];
    return n;
}

// Where a mover put on `dest` faces and which square it came from: the open
// link nearest its present facing leads on, another open link lies behind.
void arrival_facing(int dest, int facing, int* new_facing, int* prev) {
    int links[4];
    const int n = open_links(dest, links);
    *new_facing = facing;
    *prev = 0;
    if (n == 0) return;
    int best = 0, best_diff = 9;
    for (int i = 0; i < n; ++i) {
        const int d = std::abs(map_direction(dest, links[i]) - facing) % 8;
        const int diff = d < 8 - d ? d : 8 - d;
        if (diff < best_diff) {
            best_diff = diff;
            best = i;
        }
    }
    *new_facing = map_direction(dest, links[best]);
    *prev = links[best];
    for (int i = 0; i < n; ++i) {
        if (i != best) {
            *prev = links[i];
            break;
        }
    }
}

int destination_square(int p) {
    const int code = ask_target(p, target_pick_param(PICK_SQUARES, PICK_ANY, 9, 3));
    return square_code(code) ? code : 0;
}

// A player (0..3) or a walker (4..8) put on another square.
void put_mover(int m, int dest) {
    const MapSquare& to = map_square_table[dest];
    if (is_player_seat(m)) {
        PlayerRecord& r = player_table[m];
        int facing, prev;
        arrival_facing(dest, r.facing, &facing, &prev);
        if (MapSquare* old = map_square(r.square)) old->flags &= ~sqf_player(m);
        r.square = static_cast<uint16_t>(dest);
        r.prev_square = static_cast<uint16_t>(prev);
        r.facing = static_cast<uint8_t>(facing);
        r.x = static_cast<uint16_t>(to.x);
        r.y = static_cast<uint16_t>(to.y);
        map_square_table[dest].flags |= sqf_player(m);
        god_follow_holder(m);
    } else {
        WalkerRecord& w = walker_of_mover(m);
        int facing, prev;
        arrival_facing(dest, w.facing, &facing, &prev);
        if (m <= MOVER_SPY) {
            if (MapSquare* old = map_square(w.square)) old->flags &= ~sqf_walker(m);
            map_square_table[dest].flags |= sqf_walker(m);
        }
        w.square = static_cast<uint16_t>(dest);
        w.prev_square = static_cast<uint16_t>(prev);
        w.facing = static_cast<uint8_t>(facing);
        w.x = static_cast<uint16_t>(to.x);
        w.y = static_cast<uint16_t>(to.y);
    }
    actor_update_sprites(m);
}

int teleport_mover(int p, int m) {
    const int dest = destination_square(p);
    if (dest == 0) return 0;
    if (m == p) {
        // The user lands on the destination: its landing rules apply.
        snapshot_take();
        put_mover(m, dest);
        move_steps_left = 0;
        ActorAnim& a = actor_anim_table[m];
        a.phase = PHASE_MOVING;
        a.frame = 0;
        turn_running = 1;
    } else {
        put_mover(m, dest);
    }
    return 1;
}

int teleport_object(int p, int slot) {
    GodObject& g = god_table[slot];
    const int dest = destination_square(p);
    if (dest == 0 || dest == g.square || (map_square_table[dest].flags & SQF_GOD_MASK) != 0)
        return 0;
    if (MapSquare* old = map_square(g.square)) old->flags &= ~SQF_GOD_MASK;
    MapSquare& to = map_square_table[dest];
    g.square = static_cast<uint16_t>(dest);
    to.flags = (to.flags & ~SQF_GOD_MASK) | (static_cast<uint32_t>(slot) << SQF_GOD_SHIFT);
    for (int i = 0; i < 4; ++i) {
        if (to.links[i] != 0) {
            g.facing = static_cast<uint8_t>(map_direction(to.links[i], dest));
            break;
        }
    }
    return 1;
}

int teleport_property(int p, int code) {
    if (LandLot* from = map_lot(code)) {
        if (from->owner == OWNER_NONE && from->level == 0) return 0;
        const int dest = ask_target(p, target_pick_param(PICK_LOTS, PICK_UNOWNED, 9, 3));
        LandLot* to = map_lot(dest);
        if (!to || to == from || to->owner != OWNER_NONE || to->level != 0) return 0;
        to->owner = from->owner;
        to->level = from->level;
        to->chain_store = from->chain_store;
        to->expiry = from->expiry;
        from->owner = OWNER_NONE;
        from->level = 0;
        from->chain_store = 0;
        from->expiry = 0;
        from->last_toll = 0;
    } else if (FacilityLot* from = map_facility(code)) {
        if (from->owner == OWNER_NONE && from->level == 0) return 0;
        const int dest = ask_target(p, target_pick_param(PICK_FACILITIES, PICK_UNOWNED, 9, 3));
        FacilityLot* to = map_facility(dest);
        if (!to || to == from || to->owner != OWNER_NONE || to->level != 0) return 0;
        to->owner = from->owner;
        to->level = from->level;
        to->kind = from->kind;
        to->expiry = from->expiry;
        from->owner = OWNER_NONE;
        from->level = 0;
        from->kind = FK_PARK;
        from->expiry = 0;
        from->last_fee = 0;
        // Guests of the hotel that left are sent on their way.
        player_end_hotel_stays();
    } else {
        return 0;
    }
    board_minimap_marks(0);
    return 1;
}

// What the first choice names: a mover (0..8), or -1.
int mover_of_code(int code) {
    if (!(code & OBJ_OCCUPANTS)) return -1;
    const int movers = code & 0xFF;
    if (movers != 0) {
        const int m = player_first_in_mask(static_cast<uint32_t>(movers));
        if (is_player_seat(m)) return player_table[m].control != CTRL_OUT ? m : -1;
        return walker_of_mover(m).place == WALKER_FREE ? m : -1;
    }
    const int slot = (code >> 8) & 0x7F;
    if (slot >= GOD_FIRST_SLOT && slot <= GOD_LAST_SLOT && god_table[slot].holder != 0) {
        // An object held by a player stands for that player.
        const int holder = seat_of_owner(god_table[slot].holder);
        return is_player_seat(holder) && player_table[holder].control != CTRL_OUT ? holder : -1;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// The routines

int item_robot_doll() {
    const int p = user();
    const PlayerRecord& r = player_table[p];
    item_remove(p, ITEM_ROBOT_DOLL);
    say(p, ITEM_ROBOT_DOLL);
    WalkerRecord& doll = walker_of_mover(MOVER_ROBOT_DOLL);
    doll.square = r.square;
    doll.prev_square = r.prev_square;
    doll.x = r.x;
    doll.y = r.y;
    doll.facing = r.facing;
    doll.patron = static_cast<uint8_t>(p);
    doll.place = WALKER_FREE;
    game_active_mover = MOVER_ROBOT_DOLL;
    actor_update_sprites(MOVER_ROBOT_DOLL);
    turn_begin_move();
    return 1;
}

int item_roadblock() {
    return place_object(ITEM_ROADBLOCK, GK_ROADBLOCK, 0);
}
int item_mine() {
    return place_object(ITEM_MINE, GK_MINE, 1);
}
int item_time_bomb() {
    return place_object(ITEM_TIME_BOMB, GK_TIME_BOMB, 2);
}

int ride(int item, int mode, uint8_t dice) {
    const int p = user();
    if (travel_mode(p) == mode) return 0;
    give_back_ridden(p);
    consume(p, item);
    set_travel(p, static_cast<uint8_t>(mode), dice);
    say(p, item);
    return 1;
}

int item_motorbike() {
    return ride(ITEM_MOTORBIKE, TRAVEL_MOTORBIKE, 2);
}
int item_car() {
    return ride(ITEM_CAR, TRAVEL_CAR, 3);
}

int item_missile() {
    return missile_strike(ITEM_MISSILE, 3, MISSILE_RADIUS, 0, FILM_MISSILE, FILM_MISSILE_FLAGS,
                          FILM_MISSILE_SOUND);
}

int item_remote_dice() {
    const int p = user();
    const PlayerRecord& r = player_table[p];
    // A move with a stay or turtle counter throws no dice: the face would be
    // left for somebody else's throw.
    if (r.stay_days || r.turtle_days) return 0;
    int face;
    if (is_computer(p)) {
        face = ai_choice_get(3);
    } else {
        say(p, ITEM_REMOTE_DICE);
        face = decide(DecisionRequest{DECIDE_REMOTE_DICE, p, nullptr, 0, 0});
    }
    if (face < 1 || face > 6) return 0;
    turn_begin_move();
    item_remove(p, ITEM_REMOTE_DICE);
    item_remote_dice_value = face;
    return 1;
}

int item_robot_worker() {
    const int p = user();
    const int code =
        ask_target(p, target_pick_param(PICK_LOTS | PICK_FACILITIES, PICK_OWN_PROPERTY, 9, 3));
    // Only the user's own plot, or own built facility, that can still rise.
    if (const LandLot* l = map_lot(code)) {
        if (!owner_is_seat(l->owner, p) || (l->chain_store ? l->level != 0 : l->level >= 5))
            return 0;
    } else if (const FacilityLot* f = map_facility(code)) {
        if (!owner_is_seat(f->owner, p) || f->level == 0 || f->kind >= FACILITY_KIND_COUNT ||
            f->level >= facility_max_level[f->kind])
            return 0;
    } else {
        return 0;
    }
    say(p, ITEM_ROBOT_WORKER);
    item_remove(p, ITEM_ROBOT_WORKER);
    int x = 0, y = 0;
    if (map_object_position(code, &x, &y)) board_view_refresh(x, y, 0);
    const int raised = map_raise_level(code);
    flc_play_entry(FILM_WORKER, 0, VIEW_TOP, FILM_WORKER_FLAGS, FILM_WORKER_SOUND);
    if (raised & 0x80) board_play_animation();
    board_repaint_all();
    return 1;
}

int item_time_machine() {
    const int p = user();
    // Without a snapshot of his own the machine is refused before the line.
    if (!is_player_seat(p) || snapshot_slots[p].valid != 1) return 0;
    say(p, ITEM_TIME_MACHINE);
    if (!snapshot_restore()) return 0;
    item_time_machine_tune();
    item_remove(p, ITEM_TIME_MACHINE);
    board_minimap_marks(0);
    board_repaint_all();
    return 1;
}

int item_teleporter() {
    const int p = user();
    int what;
    if (is_computer(p)) {
        what = OBJ_OCCUPANTS | (1 << p);
    } else {
        what = ask_target(
            p, target_pick_param(PICK_LOTS | PICK_FACILITIES | PICK_MOVERS | PICK_OBJECTS, PICK_ANY,
                                 32, 2));
    }
    if (what == 0) return 0;
    int moved = 0;
    const int m = mover_of_code(what);
    if (m >= 0) {
        moved = teleport_mover(p, m);
    } else if (what & OBJ_OCCUPANTS) {
        const int slot = (what >> 8) & 0x7F;
        if (slot >= GOD_FIRST_SLOT && slot <= GOD_LAST_SLOT && god_table[slot].square != 0 &&
            god_table[slot].holder == 0)
            moved = teleport_object(p, slot);
    } else {
        moved = teleport_property(p, what);
    }
    if (!moved) return 0;
    say(p, ITEM_TELEPORTER);
    item_remove(p, ITEM_TELEPORTER);
    board_repaint_all();
    return 1;
}

int item_construction_vehicle() {
    const int p = user();
    if (travel_mode(p) == TRAVEL_CONSTRUCTION) return 0;
    give_back_ridden(p);
    PlayerRecord& r = player_table[p];
    // The vehicle's copies: what the player rode before, given back when its
    // days are over.
    r.setup_control = r.travel;
    r.saved_dice = r.dice;
    consume(p, ITEM_CONSTRUCTION_VEHICLE);
    set_travel(p, TRAVEL_FRESH_CONSTRUCTION, 1);
    say(p, ITEM_CONSTRUCTION_VEHICLE);
    return 1;
}

int item_nuclear_missile() {
    return missile_strike(ITEM_NUCLEAR_MISSILE, 4, -1, 1, FILM_NUCLEAR, FILM_NUCLEAR_FLAGS,
                          FILM_NUCLEAR_SOUND);
}

int item_dismount() {
    const int p = user();
    const int mode = travel_mode(p);
    if (mode != TRAVEL_MOTORBIKE && mode != TRAVEL_CAR) return 0;
    give_back_ridden(p);
    set_travel(p, TRAVEL_WALK, 1);
    return 1;
}

// Runs item n for player p; 0 when refused.
int run_item(int p, int n) {
    if (!item_menu_offers(p, n)) return 0;
    if (observer) observer(p, n, -1);
    const int result = item_handler_table[n]();
    if (observer) observer(p, n, result);
    return result;
}

void use_human(int p) {
    board_repaint_all();
    for (;;) {
        const int n = decide(DecisionRequest{DECIDE_ITEM_PICK, p, nullptr, 0, 0});
        if (n == 0) return;
        if (run_item(p, n)) return;
        snd_effect_play(&ui_effects[UI_REFUSED], 0);
    }
}

void use_computer(int p) {
    if (item_tried_by == p) return;
    item_tried_by = p;
    int kinds[ITEM_KIND_COUNT];
    int count = 0;
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
        if (n != ITEM_TIME_MACHINE && player_items[p][n - 1] > 0) kinds[count++] = n;
    if (count == 0) return;
    const int start = count < 5 ? 0 : game_rand() % count;
    // The decisions of one try share each of the view's lists.
    ai_view_hold();
    int chosen = 0;
    for (int k = 0; k < 4; ++k) {
        int i = start + k;
        if (count >= 5)
            i %= count;
        else if (i >= count)
            break; // the empty entries after the kinds held end the try
        if (ai_item_gate(kinds[i])) {
            chosen = kinds[i];
            break;
        }
    }
    ai_view_release();
    if (chosen == 0) return;
    char text[64];
    std::snprintf(text, sizeof text, "使用%s", item_def(chosen).name);
    msg_show(text, MSG_STANDARD_MS);
    run_item(p, chosen);
}

// Each item's routine at its number; row 0 refuses.
constexpr FilledTable<ItemHandler, ITEM_HANDLER_ROWS> make_item_handlers() {
    FilledTable<ItemHandler, ITEM_HANDLER_ROWS> t;
    t[0] = [] { return 0; };
    t[ITEM_ROBOT_DOLL] = item_robot_doll;
    t[ITEM_ROADBLOCK] = item_roadblock;
    t[ITEM_MINE] = item_mine;
    t[ITEM_TIME_BOMB] = item_time_bomb;
    t[ITEM_MOTORBIKE] = item_motorbike;
    t[ITEM_CAR] = item_car;
    t[ITEM_MISSILE] = item_missile;
    t[ITEM_REMOTE_DICE] = item_remote_dice;
    t[ITEM_ROBOT_WORKER] = item_robot_worker;
    t[ITEM_TIME_MACHINE] = item_time_machine;
    t[ITEM_TELEPORTER] = item_teleporter;
    t[ITEM_CONSTRUCTION_VEHICLE] = item_construction_vehicle;
    t[ITEM_NUCLEAR_MISSILE] = item_nuclear_missile;
    t[ITEM_DISMOUNT] = item_dismount;
    return t;
}

} // namespace

constexpr FilledTable<ItemHandler, ITEM_HANDLER_ROWS> item_handler_table_built =
    make_item_handlers();
static_assert(item_handler_table_built.complete(), "every item number has its routine");
constexpr std::array<ItemHandler, ITEM_HANDLER_ROWS> item_handler_table =
    item_handler_table_built.rows;

int item_menu_offers(int p, int n) {
    if (!is_player_seat(p)) return 0;
    if (n == ITEM_DISMOUNT) {
        const int mode = travel_mode(p);
        return mode == TRAVEL_MOTORBIKE || mode == TRAVEL_CAR ? 1 : 0;
    }
    return n >= 1 && n <= ITEM_KIND_COUNT && player_items[p][n - 1] > 0 ? 1 : 0;
}

void item_use() {
    const int p = game_active_mover;
    if (!is_player_seat(p)) return;
    const PlayerRecord& r = player_table[p];
    if (r.control == CTRL_HUMAN)
        use_human(p);
    else if (control_acts_by_itself(r.control) && (r.ai_flags & 2))
        use_computer(p);
}

void item_time_machine_tune() {
    if (music_day_countdown == 0) return;
    ++music_day_countdown;
    if ((music_day_countdown & 0x0F) > (music_day_countdown >> 4)) {
        music_day_countdown = 0;
        music_close_midi();
        music_next_background(0);
    }
}

void item_set_observer(ItemObserver o) {
    observer = o;
}

int item_remote_dice_take() {
    const int face = item_remote_dice_value;
    item_remote_dice_value = 0;
    return face;
}

void item_construction_vehicle_arrive(int p, int square) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    if (r.control == CTRL_OUT || (r.travel & 0x83) != TRAVEL_CONSTRUCTION) return;
    if (r.sleepwalk_days != 0 || r.hotel_days != 0) return;
    const MapSquare* sq = map_square(square);
    if (!sq) return;
    const int code = sq->object;
    int owner = 0, level = 0;
    if (object_in(code, OBJ_LOT_BASE, map_lot_count)) {
        const LandLot& l = map_lot_table[object_index(code, OBJ_LOT_BASE)];
        owner = l.owner;
        level = l.level;
    } else if (object_in(code, OBJ_FACILITY_BASE, map_facility_count)) {
        const FacilityLot& f = map_facility_table[object_index(code, OBJ_FACILITY_BASE)];
        owner = f.owner;
        level = f.level;
    } else {
        return;
    }
    if (owner_is_seat(owner, p) || level <= 0) return;
    board_repaint_all();
    actor_anim_table[p].phase = PHASE_RAZE;
    actor_anim_table[p].frame = 0;
    turn_running = 1;
}

void item_turn_end() {
    item_remote_dice_value = 0;
    item_tried_by = -1;
}

void item_use_reset() {
    item_remote_dice_value = 0;
    item_tried_by = -1;
}

WORLD_RESET(WORLD_RESET_ITEMS, item_use_reset)

TURN_STEP(TURN_STEP_ITEM, [](int) { item_use(); })
TURN_STEP(TURN_STEP_VEHICLE_ARRIVE,
          [](int p) { item_construction_vehicle_arrive(p, player_table[p].square); })
TURN_STEP(TURN_STEP_ITEMS_END, [](int) { item_turn_end(); })
