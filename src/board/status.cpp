#include "board/status.h"

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/sprites.h"
#include "board/turn.h"
#include "cards/cards.h"
#include "cards/fate_gods.h"
#include "engine/flc.h"
#include "engine/util.h"

namespace {

// Walking families (low bits of ActorAnim::flags).
constexpr uint8_t FAMILY_SLEEPWALK = 5;
constexpr uint8_t FAMILY_WALKER = 1;

// Travel sounds: 11 + travel mode outdoors, 15 indoors.
constexpr int SOUND_TRAVEL_BASE = 11;
constexpr int SOUND_TRAVEL_INDOOR = 15;

// Films of disappearing and coming back.
constexpr int FILM_AWAY_KIND1 = 492;
constexpr int FILM_AWAY_KIND0 = 517;
// The EFFECT.MKF entries played with them.
constexpr int FILM_AWAY_KIND1_SOUND = 84;
constexpr int FILM_AWAY_KIND0_SOUND = 96;

bool on_indoor_square(int square) {
    const MapSquare* sq = map_square(square);
    return sq && (sq->flags & SQF_INDOOR) != 0;
}

void set_occupied(int p, bool on) {
    MapSquare* sq = map_square(player_table[p].square);
    if (!sq) return;
    if (on)
        sq->flags |= sqf_player(p);
    else
        sq->flags &= ~sqf_player(p);
}

bool move_running(int m) {
    return m == game_active_mover && turn_running && actor_anim_table[m].phase == PHASE_MOVING;
}

// Makes the named family the loaded one of its group, freeing the other
// family of that group first.
void want_walk_family(int m, uint8_t family) {
    ActorAnim& a = actor_anim_table[m];
    if ((a.flags & ANIM_WALK_FAMILY_MASK) == family) return;
    if (a.flags & ANIM_WALK_FAMILY_MASK) actor_free_sprites(m, 0);
    a.flags = static_cast<uint8_t>((a.flags & ~ANIM_WALK_FAMILY_MASK) | family);
    sprites_load(m);
}

void want_extra_family(int m, uint8_t family) {
    ActorAnim& a = actor_anim_table[m];
    if ((a.flags & ANIM_EXTRA_MASK) == family) return;
    if (a.flags & ANIM_EXTRA_MASK) actor_free_sprites(m, 1);
    a.flags = static_cast<uint8_t>((a.flags & ~ANIM_EXTRA_MASK) | family);
    sprites_load(m);
}

// The effect entry plays once after the film's first frame.
void play_film(int entry, int effect_entry) {
    flc_play_entry(entry, 0, 40, 0, effect_entry);
}

// The two looks every mover shares: sleepwalking, else standing on an indoor
// square. True when one of them applies (and is now set up).
bool sleepwalk_or_indoor_sprites(int m, bool sleepwalking, int square) {
    ActorAnim& a = actor_anim_table[m];
    if (sleepwalking) {
        want_walk_family(m, FAMILY_SLEEPWALK);
        a.indoor = 0;
        a.frame = 0;
        return true;
    }
    if (!on_indoor_square(square)) return false;
    want_extra_family(m, ANIM_EXTRA_INDOOR);
    if (a.indoor == 0 && move_running(m)) {
        turn_set_travel_sound(SOUND_TRAVEL_INDOOR);
        a.frame = 0;
    }
    a.indoor = 1;
    return true;
}

void player_sprites(int p) {
    PlayerRecord& r = player_table[p];
    ActorAnim& a = actor_anim_table[p];
    if (r.control == CTRL_OUT || (r.control & CTRL_BLAST_HIT)) {
        want_extra_family(p, ANIM_EXTRA_OUT);
        if (p == game_active_mover) turn_set_travel_sound(0);
        a.indoor = 1;
        if (a.phase == PHASE_MOVING) {
            // A blast stops the mover; it lands five ticks later.
            a.phase = PHASE_WAIT;
            a.wait = 5;
        }
        a.frame = 0;
        return;
    }
    if (sleepwalk_or_indoor_sprites(p, r.sleepwalk_days != 0, r.square)) return;
    int mode = r.travel & TRAVEL_MODE_MASK;
    want_walk_family(p, static_cast<uint8_t>(mode + 1));
    a.indoor = 0;
    a.frame = 0;
    if (move_running(p) && move_sound_slot != SOUND_TRAVEL_BASE + mode)
        turn_set_travel_sound(SOUND_TRAVEL_BASE + mode);
}

void walker_sprites(int m) {
    ActorAnim& a = actor_anim_table[m];
    if (m == MOVER_ROBOT_DOLL) {
        want_walk_family(m, FAMILY_WALKER);
        a.indoor = 0;
        a.frame = 0;
        return;
    }
    const WalkerRecord& w = walker_of_mover(m);
    if (sleepwalk_or_indoor_sprites(m, w.sleepwalk_days != 0, w.square)) return;
    want_walk_family(m, FAMILY_WALKER);
    a.indoor = 0;
    a.frame = 0;
    if (move_running(m) && move_sound_slot != SOUND_TRAVEL_BASE)
        turn_set_travel_sound(SOUND_TRAVEL_BASE);
}

} // namespace

void actor_update_sprites(int m) {
    if (m < 0 || m >= MOVER_COUNT) return;
    if (m < PLAYER_COUNT)
        player_sprites(m);
    else
        walker_sprites(m);
}

void actor_free_sprites(int m, int odd) {
    if (m < 0 || m >= MOVER_COUNT) return;
    sprites_release(m, odd);
    ActorAnim& a = actor_anim_table[m];
    if (odd)
        a.flags &= 0x0F;
    else
        a.flags &= 0xF0;
}

void actor_set_overlay(int p, int jail) {
    if (!is_player_seat(p)) return;
    ActorAnim& a = actor_anim_table[p];
    if (a.flags & ANIM_EXTRA_MASK) actor_free_sprites(p, 1);
    a.flags = static_cast<uint8_t>((a.flags & ~ANIM_EXTRA_MASK) | ANIM_EXTRA_JAIL);
    sprites_load_overlay(p, jail);
    a.indoor = 1;
    a.phase = PHASE_WAIT;
    a.frame = 0;
}

void actor_reset_all() {
    for (int m = 0; m < MOVER_COUNT; ++m) {
        actor_free_sprites(m, 0);
        actor_free_sprites(m, 1);
    }
}

bool player_in_building(const PlayerRecord& r) {
    return r.hotel_days || r.away_days || r.jail_days || r.hospital_days;
}

void player_send_away(int p, int days, int kind) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    if (days < 0) days = 0;
    kind &= 3;
    if (r.away_days != 0) {
        // The days add up but never carry into the kind bits or the end mark.
        int total = (r.away_days & AWAY_DAY_BITS) + days;
        if (total > AWAY_DAY_BITS) total = AWAY_DAY_BITS;
        r.away_days = static_cast<uint8_t>(kind * 64 + total);
        return;
    }
    player_clear_jail_hospital(p);
    board_view_refresh(r.x, r.y, 0);
    speech_react_count(p, days);
    if (r.insurance_days) fate_insurance_payout(p, days * 2000 * game_price_index);
    int lost = r.days_lost_month + days;
    r.days_lost_month = static_cast<uint8_t>(lost > 255 ? 255 : lost);
    if (days > AWAY_DAY_BITS) days = AWAY_DAY_BITS;
    r.away_days = static_cast<uint8_t>(kind * 64 + days);
    set_occupied(p, false);
    if (kind == 1)
        play_film(FILM_AWAY_KIND1, FILM_AWAY_KIND1_SOUND);
    else
        play_film(FILM_AWAY_KIND0, FILM_AWAY_KIND0_SOUND);
    if (const MapSquare* sq = map_square(r.square)) {
        r.x = static_cast<uint16_t>(sq->x);
        r.y = static_cast<uint16_t>(sq->y);
    }
}

void player_return(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    board_repaint_all();
    uint8_t old = r.away_days;
    r.away_days = 0;
    set_occupied(p, true);
    actor_update_sprites(p);
    if (old & 0x40)
        play_film(FILM_AWAY_KIND1, FILM_AWAY_KIND1_SOUND);
    else
        play_film(FILM_AWAY_KIND0, FILM_AWAY_KIND0_SOUND);
}

void player_enter_building(int p, int square, int facility) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    set_occupied(p, false);
    bool facility_ok = map_facility_table && facility >= 1 && facility <= map_facility_count;
    if (p == game_active_mover && r.square == square) {
        r.control |= CTRL_INSIDE;
        r.saved_facing = r.facing;
        if (facility_ok) {
            const FacilityLot& f = map_facility_table[facility];
            r.facing = static_cast<uint8_t>(util_direction8(f.x - r.x, f.y - r.y));
        }
        r.inside_facility = static_cast<int16_t>(facility);
        turn_begin_move();
        return;
    }
    if (facility_ok) {
        r.x = static_cast<uint16_t>(map_facility_table[facility].x);
        r.y = static_cast<uint16_t>(map_facility_table[facility].y);
    }
    int active = game_active_mover;
    if (active >= 0 && active < PLAYER_COUNT) {
        r.square = player_table[active].square;
        r.prev_square = player_table[active].prev_square;
        r.saved_facing = player_table[active].facing;
    } else if (active >= PLAYER_COUNT && active < MOVER_COUNT) {
        r.square = walker_of_mover(active).square;
        r.prev_square = walker_of_mover(active).prev_square;
        r.saved_facing = walker_of_mover(active).facing;
    }
    actor_update_sprites(p);
    god_follow_holder(p);
    r.inside_facility = static_cast<int16_t>(facility);
}

void player_face_square(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    r.control |= CTRL_STEPPING;
    if (const MapSquare* sq = map_square(r.square))
        r.facing = static_cast<uint8_t>(util_direction8(sq->x - r.x, sq->y - r.y));
    set_occupied(p, true);
}

void player_lose_vehicle(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    if (r.control == CTRL_OUT) {
        player_relocate_random(p);
        return;
    }
    if (r.hotel_days || r.away_days || r.jail_days || r.hospital_days) return;
    int mode = r.travel & TRAVEL_MODE_MASK;
    if (mode != TRAVEL_WALK) {
        if (mode == TRAVEL_MOTORBIKE) ++item_stock[ITEM_MOTORBIKE - 1];
        if (mode == TRAVEL_CAR) ++item_stock[ITEM_CAR - 1];
        r.travel = TRAVEL_WALK;
        r.dice = 1;
    }
    r.control |= CTRL_BLAST_HIT;
    actor_update_sprites(p);
}

void player_clear_jail_hospital(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    if (r.jail_days) {
        jail_flags[p] = 0;
        actor_set_overlay(p, 1);
    }
    if (r.hospital_days) {
        hospital_flags[p] = 0;
        actor_set_overlay(p, 0);
    }
    r.hotel_days = 0;
    r.away_days = 0;
    r.jail_days = 0;
    r.hospital_days = 0;
}
