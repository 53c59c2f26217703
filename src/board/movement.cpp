#include "board/movement.h"

#include <cmath>

#include "board/map.h"
#include "board/status.h"
#include "board/world_reset.h"
#include "data/anim_frames.h"
#include "engine/random.h"
#include "engine/sound.h"

namespace {

// Sound element of the board's effect list played when a mover turns round.
constexpr int TURN_AROUND_SOUND = 8;

// The step under way for the active mover (not saved).
struct StepState {
    int frames_left = 0; // 0: no step started
    int target_x = 0;
    int target_y = 0;
    float dx = 0.0f;
    float dy = 0.0f;
    int half = 0; // half-way frame
    bool half_done = false;
    bool building = false; // a step into or out of a building
};
StepState step;

bool link_open(const MapSquare& sq, int i) {
    return sq.links[i] != 0 && (sq.flags & sqf_closed(i)) == 0 && map_square_valid(sq.links[i]);
}

// The next square from `square` when the mover came from `prev`: a random
// open link other than the way back, else the way back.
int choose_next(int square, int prev) {
    const MapSquare* sq = map_square(square);
    if (!sq) return square;
    int candidates[4];
    int count = 0;
    for (int i = 0; i < 4; ++i)
        if (link_open(*sq, i) && sq->links[i] != prev) candidates[count++] = sq->links[i];
    if (count > 0) return candidates[game_rand() % count];
    if (map_square_valid(prev)) return prev;
    return square; // an isolated square: stay
}

float distance(int x0, int y0, int x1, int y1) {
    float dx = static_cast<float>(x1 - x0);
    float dy = static_cast<float>(y1 - y0);
    return std::sqrt(dx * dx + dy * dy);
}

void set_occupied(int square, uint32_t bit, bool on) {
    MapSquare* sq = map_square(square);
    if (!sq) return;
    if (on)
        sq->flags |= bit;
    else
        sq->flags &= ~bit;
}

// The half-way action of stepping into or out of a building.
void half_way(PlayerRecord& r) {
    if (step.half_done) return;
    step.half_done = true;
    if (r.control & CTRL_STEPPING) {
        r.hotel_days = 0;
        r.away_days = 0;
        r.jail_days = 0;
        r.hospital_days = 0;
    } else {
        r.control &= 0x0F;
    }
}

// Advances the step by one frame; true when the step completed.
template <typename Pos> bool advance(Pos& x, Pos& y, ActorAnim& a) {
    int left = step.frames_left;
    step.frames_left = left - 1;
    if (left <= 1) {
        step.frames_left = 0;
        x = static_cast<Pos>(step.target_x);
        y = static_cast<Pos>(step.target_y);
        return true;
    }
    a.fx += step.dx;
    a.fy += step.dy;
    x = static_cast<Pos>(static_cast<int>(a.fx));
    y = static_cast<Pos>(static_cast<int>(a.fy));
    return false;
}

int walker_step_frame(int m) {
    WalkerRecord& w = walker_of_mover(m);
    ActorAnim& a = actor_anim_table[m];
    if (step.frames_left == 0) {
        int next = choose_next(w.square, w.prev_square);
        int old = w.square;
        w.prev_square = static_cast<uint16_t>(old);
        w.square = static_cast<uint16_t>(next);
        if (m <= MOVER_SPY) {
            set_occupied(old, sqf_walker(m), false);
            set_occupied(next, sqf_walker(m), true);
        }
        actor_update_sprites(m);
        const MapSquare* to = map_square(next);
        step.target_x = to ? to->x : w.x;
        step.target_y = to ? to->y : w.y;
        const MapSquare* from = map_square(old);
        int sx = from ? from->x : w.x;
        int sy = from ? from->y : w.y;
        // A step shorter than one frame still takes one frame.
        int frames = static_cast<int>(distance(sx, sy, step.target_x, step.target_y) * 0.125f);
        if (frames < 1) frames = 1;
        step.frames_left = frames;
        step.dx = static_cast<float>(step.target_x - w.x) / static_cast<float>(frames);
        step.dy = static_cast<float>(step.target_y - w.y) / static_cast<float>(frames);
        step.half = 0;
        step.half_done = true;
        a.fx = w.x;
        a.fy = w.y;
    }
    bool done = advance(w.x, w.y, a);
    if (map_square_valid(w.prev_square) && map_square_valid(w.square) && w.prev_square != w.square)
        w.facing = static_cast<uint8_t>(map_direction(w.prev_square, w.square));
    if (w.sleepwalk_days) a.walk_frame = static_cast<uint8_t>((a.walk_frame + 1) % 6);
    return done ? 1 : 0;
}

int player_step_frame(int p) {
    PlayerRecord& r = player_table[p];
    ActorAnim& a = actor_anim_table[p];
    if (step.frames_left == 0) {
        step.building = (r.control & (CTRL_STEPPING | CTRL_INSIDE)) != 0;
        const MapSquare* here = map_square(r.square);
        if (r.control & CTRL_STEPPING) {
            step.target_x = here ? here->x : r.x;
            step.target_y = here ? here->y : r.y;
        } else if (r.control & CTRL_INSIDE) {
            bool ok = map_facility_table && r.inside_facility >= 1 &&
                      r.inside_facility <= map_facility_count;
            step.target_x = ok ? map_facility_table[r.inside_facility].x : r.x;
            step.target_y = ok ? map_facility_table[r.inside_facility].y : r.y;
        } else {
            int next = choose_next(r.square, r.prev_square);
            int old = r.square;
            r.prev_square = static_cast<uint16_t>(old);
            r.square = static_cast<uint16_t>(next);
            god_follow_holder(p);
            set_occupied(old, sqf_player(p), false);
            set_occupied(next, sqf_player(p), true);
            const MapSquare* to = map_square(next);
            step.target_x = to ? to->x : r.x;
            step.target_y = to ? to->y : r.y;
        }
        actor_update_sprites(p);
        float dist = distance(r.x, r.y, step.target_x, step.target_y);
        float unrounded;
        if (a.indoor == 0 && !step.building)
            unrounded = dist / static_cast<float>(move_speed_table[r.travel & TRAVEL_MODE_MASK]);
        else
            unrounded = dist * 0.125f;
        int frames = static_cast<int>(unrounded);
        if (frames < 1) frames = 1;
        // The per-frame move keeps the full speed; the last frame snaps to
        // the target.
        float divisor = unrounded >= 1.0f ? unrounded : 1.0f;
        step.frames_left = frames;
        step.half = frames / 2;
        step.half_done = false;
        step.dx = static_cast<float>(step.target_x - r.x) / divisor;
        step.dy = static_cast<float>(step.target_y - r.y) / divisor;
        a.fx = r.x;
        a.fy = r.y;
    }
    bool done = advance(r.x, r.y, a);
    const bool building = step.building;
    if (building && (done || step.frames_left < step.half)) half_way(r);
    if (!building && map_square_valid(r.prev_square) && map_square_valid(r.square) &&
        r.prev_square != r.square)
        r.facing = static_cast<uint8_t>(map_direction(r.prev_square, r.square));
    if (r.sleepwalk_days) a.walk_frame = static_cast<uint8_t>((a.walk_frame + 1) % 6);
    return done ? 1 : 0;
}

} // namespace

int move_step_frame() {
    int m = game_active_mover;
    if (m < 0 || m >= MOVER_COUNT) return 0;
    int done = m >= PLAYER_COUNT ? walker_step_frame(m) : player_step_frame(m);
    ActorAnim& a = actor_anim_table[m];
    a.frame = static_cast<uint8_t>((a.frame + 1) % ANIM_WALK_FRAMES);
    return done;
}

int move_step_running() {
    return step.frames_left != 0 ? 1 : 0;
}

void move_turn_around(int m) {
    if (m < 0 || m >= MOVER_COUNT) return;
    snd_board_effect_play(TURN_AROUND_SOUND, 0);
    uint8_t* facing;
    uint16_t* prev;
    uint16_t square;
    if (m < PLAYER_COUNT) {
        facing = &player_table[m].facing;
        prev = &player_table[m].prev_square;
        square = player_table[m].square;
    } else {
        WalkerRecord& w = walker_of_mover(m);
        facing = &w.facing;
        prev = &w.prev_square;
        square = w.square;
    }
    *facing = static_cast<uint8_t>((*facing + 4) % 8);
    const MapSquare* sq = map_square(square);
    int candidates[4];
    int count = 0;
    if (sq)
        for (int i = 0; i < 4; ++i)
            if (link_open(*sq, i) && sq->links[i] != *prev) candidates[count++] = sq->links[i];
    *prev = static_cast<uint16_t>(count > 0 ? candidates[game_rand() % count] : 0);
}

void player_relocate_random(int p) {
    if (p < 0 || p >= PLAYER_COUNT) return;
    PlayerRecord& r = player_table[p];
    set_occupied(r.square, sqf_player(p), false);
    int target = map_random_square_far(r.square);
    if (!map_square_valid(target)) target = r.square; // no free square: stay
    const MapSquare* sq = map_square(target);
    if (sq) {
        int link = 0;
        for (int i = 0; i < 4 && link == 0; ++i)
            if (map_square_valid(sq->links[i])) link = sq->links[i];
        r.square = static_cast<uint16_t>(target);
        r.prev_square = static_cast<uint16_t>(link);
        r.x = static_cast<uint16_t>(sq->x);
        r.y = static_cast<uint16_t>(sq->y);
        if (link != 0) r.facing = static_cast<uint8_t>(map_direction(link, target));
    }
    set_occupied(r.square, sqf_player(p), true);
}

void god_follow_holder(int p) {
    if (p < 0 || p >= PLAYER_COUNT) return;
    const PlayerRecord& r = player_table[p];
    if (r.god_slot >= GOD_FIRST_SLOT && r.god_slot <= GOD_LAST_SLOT)
        god_table[r.god_slot].square = r.square;
    if (r.bomb_slot >= GOD_FIRST_SLOT && r.bomb_slot <= GOD_LAST_SLOT)
        god_table[r.bomb_slot].square = r.square;
}

void movement_reset() {
    step = StepState{};
}

uint16_t mover_square(int m) {
    if (m >= 0 && m < PLAYER_COUNT) return player_table[m].square;
    if (m >= PLAYER_COUNT && m < MOVER_COUNT) return walker_of_mover(m).square;
    return 0;
}

void mover_position(int m, int& x, int& y) {
    x = y = 0;
    if (m >= 0 && m < PLAYER_COUNT) {
        x = player_table[m].x;
        y = player_table[m].y;
    } else if (m >= PLAYER_COUNT && m < MOVER_COUNT) {
        x = walker_of_mover(m).x;
        y = walker_of_mover(m).y;
    }
}

WORLD_RESET(WORLD_RESET_MOVEMENT, movement_reset)
