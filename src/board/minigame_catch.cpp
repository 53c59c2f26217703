// The catching game's rules: the falling objects, the two throwers, the
// runner steered by the mouse, the catch and the explosion.
#include "board/minigame_catch.h"

#include <cstdlib>

#include "board/minigames.h"
#include "engine/random.h"

EffectListEntry catch_sounds[5] = {
    {22, nullptr}, {23, nullptr}, {24, nullptr}, {15, nullptr}, {-1, nullptr}};

namespace {

// The thrower's frames by state (0, 2, 3, 4) and counter 0..5.
constexpr int THROWER_FRAMES[5][6] = {
    {0, 1, 2, 3, 5, 6},   {0, 1, 2, 3, 5, 6},       {7, 8, 9, 10, 11, 0},
    {11, 10, 9, 8, 7, 0}, {12, 13, 14, 15, 17, 18},
};
constexpr int TURN_TICKS = 5;
constexpr int WALK_STEPS = 5; // counters 0..4 walk and may throw; 5 decides

void play(int element, int flags = 0) {
    snd_effect_play(&catch_sounds[element], flags);
}
void stop(int element) {
    snd_effect_stop(&catch_sounds[element]);
}

int16_t make_word(int kind, int frame, int drift) {
    return static_cast<int16_t>((kind & 0x0F) | ((frame & 7) << 4) |
                                (static_cast<uint8_t>(static_cast<int8_t>(drift)) << 8));
}

double depth_of(const CatchObject& o) {
    const int below = o.y > CATCH_ARC_UNTIL - 1 ? o.y - CATCH_ARC_UNTIL : 0;
    return below / static_cast<double>(CATCH_SCALE_SPAN);
}

// The runner's catch box holds (x, y).
bool in_catch_box(const CatchGame& g, int x, int y) {
    const int f = catch_runner_frame(g);
    if (f < 0 || f >= g.runner_frame_count) return false;
    const CatchFrameBox& b = g.runner_boxes[f];
    const int left = g.runner_x - b.hot_x, right = g.runner_x + b.width - b.hot_x;
    const int top = CATCH_GROUND_Y - b.hot_y, bottom = b.height - b.hot_y + CATCH_GROUND_Y;
    return x >= left && x < right && y >= top && y < bottom;
}

void lose(CatchGame& g, CatchObject& o) {
    if (catch_kind(o) == CATCH_BOMB && g.bombs_in_air > 0 && --g.bombs_in_air == 0)
        stop(CATCH_SND_BOMB);
    o = CatchObject{};
}

void objects_tick(CatchGame& g) {
    for (CatchObject& o : g.objects) {
        if (o.x == 0) continue;
        const int kind = catch_kind(o);
        if (g.runner_dir != 0 && g.explosion == 0 && in_catch_box(g, catch_drawn_x(o), o.y)) {
            if (kind == CATCH_BOMB) {
                if (g.bombs_in_air > 0) --g.bombs_in_air;
                stop(CATCH_SND_BOMB);
                play(CATCH_SND_BLAST);
                g.explosion = 1;
                g.explosion_x = g.runner_x + CATCH_EXPLOSION_DX;
                g.explosion_y = CATCH_EXPLOSION_Y;
                g.pose = CATCH_BOMB_POSE;
                g.bomb_caught = 1;
                g.ended = 1;
                g.runner_dir = 0;
            } else {
                ++g.counts[kind];
                g.score_changed = 1;
                minigame_points = catch_score(g);
            }
            o = CatchObject{};
            continue;
        }
        o.word = make_word(kind, (catch_frame(o) + 1) % CATCH_OBJECT_FRAMES, catch_drift(o));
        if (o.y > CATCH_ARC_UNTIL - 1) {
            o.y = static_cast<int16_t>(o.y + CATCH_FALL[kind]);
        } else {
            o.speed =
                static_cast<int16_t>(o.speed + 2 > CATCH_MAX_SPEED ? CATCH_MAX_SPEED : o.speed + 2);
            o.y = static_cast<int16_t>(o.y + o.speed);
        }
        if (o.y > CATCH_GROUND_Y) lose(g, o);
    }
}

void steer(CatchGame& g) {
    g.warp_x = -1;
    if (g.ended || g.explosion != 0) {
        g.runner_dir = 0;
        return;
    }
    if (g.mouse_x < g.remembered_x - CATCH_STEER_SLACK) {
        g.warp_x = g.remembered_x = g.mouse_x = CATCH_MOUSE_LEFT;
    } else if (g.mouse_x > g.remembered_x + CATCH_STEER_SLACK) {
        g.warp_x = g.remembered_x = g.mouse_x = CATCH_MOUSE_RIGHT;
    }
    const int gap = g.mouse_x - g.runner_x;
    if (g.run_frames <= 0 || std::abs(gap) <= CATCH_STEER_SLACK) {
        g.runner_dir = 0;
        return;
    }
    g.runner_dir = gap < 0 ? 1 : 2;
    g.runner_x += gap < 0 ? -CATCH_RUNNER_STEP : CATCH_RUNNER_STEP;
    g.runner_counter = (g.runner_counter + 1) % g.run_frames;
}

void bomber_tick(CatchGame& g) {
    if (g.bomber_counter < 0) {
        const bool right_half = g.thrower_state == THROWER_RIGHT && g.thrower_x > CATCH_MIDDLE_X;
        const bool left_half = g.thrower_state == THROWER_LEFT && g.thrower_x < CATCH_MIDDLE_X;
        if (g.ended || !(right_half || left_half) || minigame_steer_chance() != 0) return;
        g.bomber_x = game_rand() % 140 + 160 + (g.thrower_x <= CATCH_MIDDLE_X ? 200 : 0);
        g.bomber_counter = 0;
        return;
    }
    if (g.bomber_counter == CATCH_BOMBER_THROWS_AT && g.explosion == 0) {
        play(CATCH_SND_THROW);
        play(CATCH_SND_BOMB, 1);
        minigame_steer_spawn(g, g.bomber_x, true);
    }
    if (++g.bomber_counter > CATCH_BOMBER_LAST) g.bomber_counter = -1;
}

void walk(CatchGame& g, int dir) {
    g.thrower_x += dir * CATCH_THROWER_STEP;
    if (g.thrower_x > CATCH_THROWER_MAX_X) g.thrower_x = CATCH_THROWER_MAX_X;
    if (g.thrower_x < CATCH_THROWER_MIN_X) g.thrower_x = CATCH_THROWER_MIN_X;
}

void thrower_tick(CatchGame& g) {
    if (g.ended) {
        g.thrower_state = THROWER_TURN_AT_RIGHT;
        g.thrower_counter = 2;
        return;
    }
    switch (g.thrower_state) {
    case THROWER_RIGHT:
    case THROWER_LEFT: {
        const bool right = g.thrower_state == THROWER_RIGHT;
        const int dir = right ? 1 : -1;
        if (g.thrower_counter < WALK_STEPS) {
            if (g.thrower_counter == g.throw_at) minigame_steer_spawn(g, g.thrower_x, false);
            walk(g, dir);
            ++g.thrower_counter;
            return;
        }
        const bool far_half = right ? g.thrower_x > CATCH_MIDDLE_X : g.thrower_x < CATCH_MIDDLE_X;
        const bool at_end =
            right ? g.thrower_x >= CATCH_THROWER_MAX_X : g.thrower_x <= CATCH_THROWER_MIN_X;
        if ((far_half && game_rand() % 4 == 0) || at_end) {
            g.thrower_state = right ? THROWER_TURN_AT_RIGHT : THROWER_TURN_AT_LEFT;
        } else {
            g.throw_at = game_rand() % 5;
            walk(g, dir);
        }
        g.thrower_counter = 0;
        return;
    }
    default:
        if (++g.thrower_counter < TURN_TICKS) return;
        g.thrower_state = g.thrower_state == THROWER_TURN_AT_RIGHT ? THROWER_LEFT : THROWER_RIGHT;
        g.thrower_counter = 0;
    }
}

bool any_object(const CatchGame& g) {
    for (const CatchObject& o : g.objects)
        if (o.x != 0) return true;
    return false;
}

void finish(CatchGame& g) {
    stop(CATCH_SND_RUN);
    stop(CATCH_SND_BOMB);
    if (!g.bomb_caught) g.pose = catch_pose_of_score(catch_score(g));
    g.runner_dir = 0;
    g.phase = MG_FINAL;
    minigame_points = catch_score(g);
}

} // namespace

void catch_set_runner_frames(CatchGame& g, const CatchFrameBox* boxes, int frames) {
    if (frames < 0) frames = 0;
    if (frames > CATCH_RUNNER_MAX_FRAMES) frames = CATCH_RUNNER_MAX_FRAMES;
    for (int f = 0; f < frames; ++f)
        g.runner_boxes[f] = boxes[f];
    g.runner_frame_count = frames;
    g.run_frames = frames > CATCH_POSES ? (frames - CATCH_POSES) / 2 : 0;
    g.runner_counter = 0;
}

int catch_drawn_x(const CatchObject& o) {
    return o.x + static_cast<int>(catch_drift(o) * depth_of(o));
}

uint32_t catch_scale(const CatchObject& o) {
    return static_cast<uint32_t>(32768 + depth_of(o) * 32768);
}

int catch_kind(const CatchObject& o) {
    return o.word & 0x0F;
}
int catch_frame(const CatchObject& o) {
    return (o.word >> 4) & 7;
}
int catch_drift(const CatchObject& o) {
    return static_cast<int8_t>(static_cast<uint16_t>(o.word) >> 8);
}

int catch_thrower_frame(const CatchGame& g) {
    const int s = g.thrower_state >= 0 && g.thrower_state <= 4 ? g.thrower_state : 0;
    const int c = g.thrower_counter >= 0 && g.thrower_counter <= 5 ? g.thrower_counter : 0;
    return THROWER_FRAMES[s][c];
}

int catch_runner_frame(const CatchGame& g) {
    if (g.runner_dir == 0 || g.run_frames <= 0) return g.pose;
    return CATCH_POSES + g.run_frames * (g.runner_dir - 1) + g.runner_counter;
}

int catch_pose_of_score(int32_t score) {
    if (score < 40) return 1;
    if (score < 50) return 2;
    if (score < 60) return 0;
    return 3;
}

int32_t catch_score(const CatchGame& g) {
    int32_t score = 0;
    for (int k = 0; k < 4; ++k)
        score += CATCH_POINTS[k] * g.counts[k];
    return score;
}

void minigame_steer_start(CatchGame& g, int mouse_x) {
    const CatchFrameBox* boxes = g.runner_boxes;
    const int frames = g.runner_frame_count;
    CatchFrameBox kept[CATCH_RUNNER_MAX_FRAMES];
    for (int f = 0; f < frames; ++f)
        kept[f] = boxes[f];
    g = CatchGame{};
    catch_set_runner_frames(g, kept, frames);
    g.runner_x = CATCH_RUNNER_START_X;
    g.thrower_x = CATCH_THROWER_MIN_X;
    g.thrower_state = THROWER_TURN_AT_LEFT;
    g.thrower_counter = 4;
    g.bomber_counter = -1;
    g.time = CATCH_TIME_TICKS;
    g.phase = MG_COUNTDOWN;
    g.wait_ticks = CATCH_COUNTDOWN_TICKS;
    g.mouse_x = g.remembered_x = mouse_x;
    g.warp_x = -1;
    minigame_points = 0;
}

void minigame_steer_begin(CatchGame& g) {
    if (g.phase != MG_OPENING) return;
    g.phase = MG_RUNNING;
    g.remembered_x = g.mouse_x;
    play(CATCH_SND_RUN, 1);
}

void minigame_steer_spawn(CatchGame& g, int x, bool bomb) {
    CatchObject* slot = nullptr;
    for (CatchObject& o : g.objects)
        if (o.x == 0) {
            slot = &o;
            break;
        }
    if (!slot) return;
    int kind = CATCH_BOMB;
    if (bomb) {
        ++g.bombs_in_air;
    } else {
        const int r = game_rand() % 20;
        kind = r < 9 ? 3 : r < 15 ? 2 : r < 18 ? 1 : 0;
    }
    const double off = x - CATCH_MIDDLE_X;
    const int drift = static_cast<int>(off / 210 * 260 - off);
    slot->x = static_cast<int16_t>(x);
    slot->y = CATCH_START_Y;
    slot->speed = CATCH_START_SPEED;
    slot->word = make_word(kind, 0, drift);
}

int minigame_steer_chance() {
    return game_rand() % 10 < 7 ? 1 : 0;
}

void minigame_steer_frame(CatchGame& g) {
    if (!mg_stage_tick(g)) return;
    if (g.explosion == 2) {
        finish(g);
        return;
    }
    if (!g.ended && --g.time <= 0) {
        g.time = 0;
        g.ended = 1;
    }
    objects_tick(g);
    steer(g);
    bomber_tick(g);
    thrower_tick(g);
    if (g.ended && g.explosion == 0 && !any_object(g)) finish(g);
}

void minigame_steer_explosion_over(CatchGame& g) {
    if (g.explosion == 1) g.explosion = 2;
}
