#include "board/turn.h"

#include <cstdio>
#include <string>

#include "board/board_refresh.h"
#include "board/encounters.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/status.h"
#include "board/turn_flow.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/item_use.h"
#include "data/anim_frames.h"
#include "data/characters.h"
#include "engine/cursor.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/surfaces.h"
#include "engine/util.h"
#include "engine/wait.h"

uint8_t move_step_done = 0;
int32_t move_sound_slot = 0;
int32_t turn_pending_entry = 0;
int32_t raze_delay = 0;

namespace {

constexpr int SOUND_TRAVEL_BASE = 11;
constexpr int SOUND_TRAVEL_INDOOR = 15;
constexpr int SOUND_ROBOT_DOLL = 9;
constexpr int SOUND_BOMB_TICKING = 17;
constexpr int SOUND_RAZE = 18;
constexpr int FILM_ENTRY_BASE = 518; // + character: a player's entry onto the board

// Ticks of the razing film still to decode.
int raze_film_left = 0;
// The building being razed.
int raze_target = 0;

void travel_sound_start(int m) {
    if (m == MOVER_ROBOT_DOLL) {
        turn_set_travel_sound(SOUND_ROBOT_DOLL);
        return;
    }
    if (actor_anim_table[m].indoor) {
        turn_set_travel_sound(SOUND_TRAVEL_INDOOR);
    } else if (is_player_seat(m)) {
        turn_set_travel_sound(SOUND_TRAVEL_BASE + (player_table[m].travel & TRAVEL_MODE_MASK));
    } else {
        turn_set_travel_sound(SOUND_TRAVEL_BASE);
    }
    if (is_player_seat(m) && player_table[m].bomb_slot)
        snd_board_effect_play(SOUND_BOMB_TICKING, 1);
}

void travel_sound_stop(int m) {
    turn_set_travel_sound(0);
    if (is_player_seat(m) && player_table[m].bomb_slot) snd_board_effect_stop(SOUND_BOMB_TICKING);
}

// The view follows the mover (or the scroll target) and is shown.
void follow_mover() {
    board_show_mover_view();
}

// A computer player's moves before it throws.
void computer_acts(int p) {
    turn_steps_run(TURN_STEP_STOCK_BUY, TURN_STEP_RESERVES, p);
    if (game_end_code) return;
    turn_step_run(TURN_STEP_NOTICE_VISIT, p);
    // A coin decides between a card and an item.
    turn_step_run((game_rand() & 1) ? TURN_STEP_CARD : TURN_STEP_ITEM, p);
    const PlayerRecord& r = player_table[p];
    if (player_in_building(r) || r.hibernation_days || r.sleepwalk_days) {
        actor_anim_table[p].flags |= ANIM_NEEDS_STEP;
        return;
    }
    // A card or item that started a move (or handed the turn to the robot
    // doll) leaves nothing more to do.
    if (game_active_mover != p || actor_anim_table[p].phase != PHASE_WAIT) return;
    turn_step_run(TURN_STEP_DICE_CHOICE, p);
    turn_begin_move();
}

void raze_tick(int p) {
    ActorAnim& a = actor_anim_table[p];
    PlayerRecord& r = player_table[p];
    if (raze_delay > 0) {
        --raze_delay;
        return;
    }
    if (a.frame == 0) {
        raze_target = 0;
        if (const MapSquare* sq = map_square(r.square)) {
            int code = sq->object;
            if (object_in(code, OBJ_LOT_BASE, map_lot_count) ||
                object_in(code, OBJ_FACILITY_BASE, map_facility_count))
                raze_target = code;
        }
        int owner = 0;
        int tx = r.x, ty = r.y;
        if (raze_target > OBJ_FACILITY_BASE) {
            const FacilityLot& f = map_facility_table[object_index(raze_target, OBJ_FACILITY_BASE)];
            owner = f.owner;
            tx = f.x;
            ty = f.y;
        } else if (raze_target > OBJ_LOT_BASE) {
            const LandLot& l = map_lot_table[object_index(raze_target, OBJ_LOT_BASE)];
            owner = l.owner;
            tx = l.x;
            ty = l.y;
        }
        // A built plot whose rights lapsed has no owner to bear a grudge.
        if (owner >= 1 && owner <= PLAYER_COUNT)
            player_add_grudge(seat_of_owner(owner), p, 30 * game_price_index);
        r.saved_facing = r.facing;
        r.facing = static_cast<uint8_t>(util_direction8(tx - r.x, ty - r.y));
        raze_film_left = ANIM_RAZE_FILM_FRAMES;
        raze_delay = 6;
        a.frame = 1;
        return;
    }
    if (a.frame == 3 && raze_target) map_building_op(raze_target, MAP_OP_RAZE);
    if (a.frame == 2) snd_board_effect_play(SOUND_RAZE, 0);
    if (a.frame >= 2 && raze_film_left > 0) --raze_film_left;
    if (a.frame < ANIM_WORK_FRAMES - 1) {
        ++a.frame;
        return;
    }
    if (raze_film_left > 0) return;
    r.facing = r.saved_facing;
    a.phase = PHASE_WAIT;
    a.frame = 0;
    raze_target = 0;
}

} // namespace

void turn_set_travel_sound(int slot) {
    if (move_sound_slot == slot) return;
    if (move_sound_slot) snd_board_effect_stop(move_sound_slot);
    move_sound_slot = slot;
    if (slot) snd_board_effect_play(slot, 1);
}

void turn_enter_board(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    int square = map_random_free_square();
    if (!map_square(square)) square = 1;
    MapSquare* sq = map_square(square);
    if (!sq) return;
    int links[4];
    int count = 0;
    for (int i = 0; i < 4; ++i)
        if (map_square(sq->links[i])) links[count++] = sq->links[i];
    int prev = count ? links[game_rand() % count] : 0;
    r.square = static_cast<uint16_t>(square);
    r.prev_square = static_cast<uint16_t>(prev);
    r.facing = static_cast<uint8_t>(prev ? map_direction(prev, square) : 0);
    r.x = static_cast<uint16_t>(sq->x);
    r.y = static_cast<uint16_t>(sq->y);
    sq->flags |= sqf_player(p);
    turn_pending_entry = p + 1;
}

int turn_check_status(int at_landing) {
    int m = game_active_mover;
    if (m >= PLAYER_COUNT && m < MOVER_COUNT) {
        const WalkerRecord& w = walker_of_mover(m);
        if (!at_landing && w.place == WALKER_FREE && !w.hibernation_days)
            return w.stay_days ? 0 : 2;
        return 0;
    }
    if (!is_player_seat(m)) return 0;
    PlayerRecord& r = player_table[m];
    if (r.control == CTRL_OUT) return 0;
    const bool building = (r.control & (CTRL_STEPPING | CTRL_INSIDE)) != 0;
    const bool held = player_in_building(r) || r.hibernation_days;
    if (at_landing) return (!building && !held) ? r.control : 0;
    if (!held) {
        // A player stepping into or out of a building walks that one step at
        // once, whatever its control; the others act by their control.
        if (r.sleepwalk_days || building) {
            turn_begin_move();
            return -1;
        }
        return r.control & 0x0F;
    }
    if (building) {
        turn_begin_move();
        return -1;
    }
    turn_step_run(TURN_STEP_SNAPSHOT, m);
    char text[160] = "";
    std::string name = player_plain_name(m);
    if (r.hotel_days)
        std::snprintf(text, sizeof text, "%s住宿中\n\n还剩%d天！", name.c_str(),
                      status_days_left(r.hotel_days));
    if (r.away_days)
        std::snprintf(text, sizeof text, "%s消失中\n\n还剩%d天！", name.c_str(),
                      status_days_left(r.away_days, AWAY_DAY_BITS));
    if (r.jail_days) {
        if (game_rand() & 1) speech_say_line(m, 19);
        std::snprintf(text, sizeof text, "%s坐牢中\n\n还剩%d天！", name.c_str(),
                      status_days_left(r.jail_days));
    }
    if (r.hospital_days) {
        if (game_rand() & 1) speech_say_line(m, 20);
        std::snprintf(text, sizeof text, "%s住院中\n\n还剩%d天！", name.c_str(),
                      status_days_left(r.hospital_days));
    }
    if (r.hibernation_days && !player_in_building(r)) {
        if (game_rand() & 1) speech_say_line(m, 21);
        std::snprintf(text, sizeof text, "%s冬眠中\n\n还剩%d天！", name.c_str(),
                      status_days_left(r.hibernation_days));
    }
    msg_show(text, MSG_STANDARD_MS);
    return 0;
}

void turn_land() {
    int m = game_active_mover;
    ActorAnim& a = actor_anim_table[m];
    if (turn_check_status(1) != 0)
        a.wait = land_on_square(mover_square(m));
    else
        a.wait = 0x83;
}

void turn_begin_move() {
    int m = game_active_mover;
    if (m < 0 || m >= MOVER_COUNT) return;
    ActorAnim& a = actor_anim_table[m];
    if (m == MOVER_ROBOT_DOLL) {
        move_steps_left = 9;
        a.phase = PHASE_MOVING;
        turn_set_travel_sound(SOUND_ROBOT_DOLL);
    } else if (m >= PLAYER_COUNT) {
        const WalkerRecord& w = walker_of_mover(m);
        if (w.stay_days) {
            a.phase = PHASE_WAIT;
            a.wait = 0x82;
        } else {
            move_steps_left = w.turtle_days ? 1 : game_rand() % 9 + 2;
            a.phase = PHASE_MOVING;
            travel_sound_start(m);
        }
    } else {
        const PlayerRecord& r = player_table[m];
        if (r.control & (CTRL_STEPPING | CTRL_INSIDE)) {
            move_steps_left = 1;
            a.phase = PHASE_MOVING;
        } else {
            turn_step_run(TURN_STEP_SNAPSHOT, m);
            if (r.stay_days) {
                a.phase = PHASE_WAIT;
                a.wait = 2;
            } else if (r.turtle_days) {
                move_steps_left = 1;
                a.phase = PHASE_MOVING;
            } else {
                a.phase = PHASE_DICE;
            }
        }
        if (a.phase == PHASE_MOVING) travel_sound_start(m);
    }
    a.frame = 0;
    turn_running = 1;
}

void turn_take_step() {
    int m = game_active_mover;
    if (m < 0 || m >= MOVER_COUNT) return;
    if (is_player_seat(m)) {
        PlayerRecord& r = player_table[m];
        // A seat that is not on the board yet enters it once, here.
        if (r.control == CTRL_OUT && r.x == 0 && r.square == 0 && r.setup_control != 0)
            turn_enter_board(m);
        if (turn_pending_entry) {
            int p = turn_pending_entry - 1;
            flc_play_entry(FILM_ENTRY_BASE + r.character, 0, 40, 0, -1);
            PlayerRecord& e = player_table[p];
            if (const MapSquare* sq = map_square(e.square)) {
                e.x = static_cast<uint16_t>(sq->x);
                e.y = static_cast<uint16_t>(sq->y);
            }
            e.control = e.setup_control;
            actor_update_sprites(p);
            turn_pending_entry = 0;
            board_view_refresh(0, 0, 1);
        }
    }
    bool shown = is_player_seat(m)
                     ? player_table[m].control != CTRL_OUT
                     : (m != MOVER_ROBOT_DOLL && walker_of_mover(m).place == WALKER_FREE);
    if (shown) board_repaint_all();
    int r = turn_check_status(0);
    switch (r) {
    case 0:
        turn_land();
        turn_running = 1;
        break;
    case 1:
        board_input_enable();
        board_cursor_to_go();
        break;
    case 2:
    case 5:
        if (!is_player_seat(m)) {
            turn_begin_move();
        } else {
            computer_acts(m);
        }
        break;
    default:
        break;
    }
}

void turn_tick() {
    anim_step_pending = 0;
    // Flying gods move on every tick, also while a human thinks.
    god_advance_flights();
    if (!turn_running) return;
    int m = game_active_mover;
    if (m < 0 || m >= MOVER_COUNT) return;
    ActorAnim& a = actor_anim_table[m];
    switch (a.phase) {
    case PHASE_WAIT: {
        if (a.wait == 0) return;
        // The low seven bits count the ticks; a wait with none left fires
        // on this tick.
        int ticks = a.wait & 0x7F;
        if (ticks > 0) --ticks;
        a.wait = static_cast<uint8_t>((a.wait & 0x80) | ticks);
        if (ticks > 0) return;
        if (a.wait & ANIM_WAIT_ENDS_TURN) {
            turn_running = 0;
            a.wait = 0;
            turn_next_actor();
        } else if (m == MOVER_ROBOT_DOLL && !god_none_flying()) {
            a.wait = 1;
        } else {
            turn_land();
        }
        return;
    }
    case PHASE_MOVING:
        if (move_steps_left == 0) {
            travel_sound_stop(m);
            a.phase = PHASE_WAIT;
            a.frame = 0;
            a.wait = 5;
        }
        if (move_step_done) {
            move_step_done = 0;
            land_encounter();
        }
        if (move_steps_left > 0 && a.phase == PHASE_MOVING && move_step_frame()) {
            move_step_done = 1;
            --move_steps_left;
        }
        break;
    case PHASE_DICE:
        ++a.frame;
        if (a.frame >= ANIM_THROW_FRAMES) {
            int total = dice_roll(item_remote_dice_take());
            move_steps_left = total;
            dice_total = total;
            a.phase = PHASE_MOVING;
            a.frame = 0;
            travel_sound_start(m);
        }
        break;
    case PHASE_RAZE:
        if (is_player_seat(m))
            raze_tick(m);
        else
            a.phase = PHASE_WAIT;
        break;
    default:
        a.phase = PHASE_WAIT;
        return;
    }
    follow_mover();
}

int dice_roll(int face) {
    int m = game_active_mover;
    int n = is_player_seat(m) ? player_table[m].dice : 1;
    if (n < 1) n = 1;
    if (n > 3) n = 3;
    // No film is named for the dice: the faces are shown at once.
    int values[3] = {};
    int total = 0;
    if (face != 0) {
        n = 1;
        values[0] = face;
        total = face;
    } else {
        for (int i = 0; i < n; ++i) {
            values[i] = game_rand() % 6 + 1;
            total += values[i];
        }
    }
    board_show_dice(values, n);
    wait_ms(500);
    return total;
}

int turn_can_act() {
    int m = game_active_mover;
    if (is_player_seat(m)) {
        const PlayerRecord& r = player_table[m];
        if (r.control != CTRL_HUMAN || player_in_building(r) || r.hibernation_days ||
            r.sleepwalk_days) {
            actor_anim_table[m].flags |= ANIM_NEEDS_STEP;
            return 0;
        }
    }
    if (m < 0 || m >= MOVER_COUNT) return 0;
    return (actor_anim_table[m].phase == PHASE_WAIT && game_end_code == 0 && !app_quit) ? 1 : 0;
}

void turn_reset() {
    move_step_done = 0;
    move_sound_slot = 0;
    turn_pending_entry = 0;
    raze_delay = 0;
    raze_film_left = 0;
    raze_target = 0;
    movement_reset();
}

WORLD_RESET(WORLD_RESET_TURN, turn_reset)
