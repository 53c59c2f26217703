// The target game's rules: rising, spawning, hits and the special targets.
#include "board/minigame_target.h"

#include <cstdlib>

#include "board/minigames.h"
#include "engine/random.h"

EffectListEntry target_sounds[4] = {{19, nullptr}, {20, nullptr}, {21, nullptr}, {-1, nullptr}};

namespace {

void play(int element) {
    snd_effect_play(&target_sounds[element], 0);
}

// The kind a free slot's draw gives, -1 for none.
int draw_kind() {
    const int v = game_rand() % 1000;
    if (v < 20) return v / 4;
    if (v < 28) return (27 - v) / 2 + 5;
    if (v < 30) return TARGET_SPECIALS[game_rand() % 10];
    return -1;
}

void spawn(TargetGame& g, TargetSlot& slot) {
    const int kind = draw_kind();
    if (kind < 0) return;
    int free_columns[TARGET_COLUMNS];
    int count = 0;
    for (int c = 0; c < TARGET_COLUMNS; ++c) {
        const int x = TARGET_COLUMN_X0 + TARGET_COLUMN_DX * c;
        bool busy = false;
        for (const TargetSlot& t : g.slots)
            if (t.x == x && t.y > TARGET_COLUMN_BUSY_BELOW) busy = true;
        if (!busy) free_columns[count++] = c;
    }
    if (count == 0) return;
    const int c = free_columns[game_rand() % count];
    slot.x = static_cast<int16_t>(TARGET_COLUMN_X0 + TARGET_COLUMN_DX * c);
    slot.y = TARGET_START_Y;
    slot.kind = static_cast<int16_t>(kind);
    play(TARGET_SND_NEW);
}

void rise(const TargetGame& g, TargetSlot& t) {
    if (g.freeze > 0) return;
    int r = TARGET_RISE[t.kind];
    if (g.speed == TARGET_SPEED_DOUBLE) r *= 2;
    if (g.speed == TARGET_SPEED_HALF) r /= 2;
    t.y = static_cast<int16_t>(t.y - r);
    if (t.y < TARGET_GONE_ABOVE) t = TargetSlot{};
}

void score_hit(TargetGame& g, int kind) {
    if (kind <= 8) {
        const int32_t added = g.score + kind + 1;
        g.score = added > MG_ADD_LIMIT ? MG_ADD_LIMIT : added;
    } else if (kind == TARGET_DOUBLE) {
        g.score = minigame_double(g.score);
    } else if (kind == TARGET_HALVE) {
        g.score /= 2;
    } else {
        g.freeze = 0;
        g.speed = TARGET_SPEED_NORMAL;
        g.last_surprise = game_rand() % 6;
        switch (g.last_surprise) {
        case 0:
            g.time = 1;
            break;
        case 1:
            g.freeze = TARGET_FREEZE_TICKS;
            break;
        case 2:
            g.speed = TARGET_SPEED_DOUBLE;
            break;
        case 3:
            g.speed = TARGET_SPEED_HALF;
            break;
        case 4:
            g.score = 0;
            break;
        default:
            g.score = minigame_double(g.score);
        }
    }
    g.score_changed = 1;
    minigame_points = g.score;
}

} // namespace

bool target_box_contains(const TargetSlot& t, int x, int y) {
    if (t.x == 0 || t.kind >= TARGET_HIT_MARK) return false;
    const bool big = t.kind <= 5;
    const int w = big ? TARGET_BOX_BIG_W : TARGET_BOX_SMALL_W;
    const int h = big ? TARGET_BOX_BIG_H : TARGET_BOX_SMALL_H;
    return std::abs(x - t.x) <= w && std::abs(y - t.y) <= h;
}

void minigame_targets_start(TargetGame& g) {
    g = TargetGame{};
    g.time = TARGET_TIME_TICKS;
    g.phase = MG_COUNTDOWN;
    g.wait_ticks = TARGET_COUNTDOWN_TICKS;
    g.last_surprise = -1;
    minigame_points = 0;
}

void minigame_targets_begin(TargetGame& g) {
    if (g.phase == MG_OPENING) g.phase = MG_RUNNING;
}

void minigame_targets_frame(TargetGame& g) {
    if (!mg_stage_tick(g)) return;
    if (g.freeze > 0) --g.freeze;
    if (!g.ended && --g.time <= 0) {
        g.time = 0;
        g.ended = 1;
    }
    bool any = false;
    for (TargetSlot& t : g.slots) {
        if (t.x != 0 && t.kind >= TARGET_HIT_MARK) {
            t.kind = static_cast<int16_t>(t.kind - TARGET_HIT_MARK);
            if (t.kind < TARGET_HIT_MARK) t = TargetSlot{};
        } else if (t.x != 0) {
            rise(g, t);
        } else if (!g.ended) {
            spawn(g, t);
        }
        if (t.x != 0) any = true;
    }
    if (g.ended && !any) {
        g.phase = MG_FINAL;
        minigame_points = g.score;
    }
}

void minigame_targets_click(TargetGame& g, int x, int y) {
    if (g.phase != MG_RUNNING || g.ended) return;
    for (TargetSlot& t : g.slots) {
        if (t.x == 0 || t.kind >= TARGET_HIT_MARK) continue;
        if (!target_box_contains(t, x, y)) {
            play(TARGET_SND_MISS);
            continue;
        }
        play(TARGET_SND_HIT);
        const int kind = t.kind;
        t.kind = TARGET_HIT_KIND;
        score_hit(g, kind);
    }
}
