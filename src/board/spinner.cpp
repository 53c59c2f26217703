#include "board/spinner.h"

#include <array>
#include <cstdio>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/fate_gods.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"

const int8_t spin_wheel_table[WHEEL_KIND_COUNT][WHEEL_POSITIONS] = {
    {1, -1, 0, -1, 1, -1, 2, -1, 3, -1, 2, -1},
    {-1, -1, 1, -1, -1, 4, -1, 3, -1, -1, 2, -1},
    {1, -1, 6, -1, 5, -1, 4, -1, 3, -1, 2, -1},
    {5, -1, 3, -1, 30, -1, 20, -1, 15, -1, 10, -1},
};

const char* const spin_wheel_prompts[WHEEL_KIND_COUNT] = {
    "%s\n\n送您出国旅游...",
    "%s的旅馆\n\n请进来休息...",
    "%s的购物中心\n\n您的消费倍数为...",
    "%s\n\n您的投保天数为...",
};

namespace {

void show_no_device(int, const char*) {}
void show_no_position(int, int) {}
void show_no_lever(int) {}
void show_no_text(const char*) {}
void show_nothing() {}
void wait_no_tick(uint32_t) {}

} // namespace

constinit PresenterSlot<SpinnerPresenter> spinner_presenter{SpinnerPresenter{
    .wheel_open = show_no_device,
    .wheel_draw = show_no_position,
    .reels_open = show_no_device,
    .reels_draw = show_no_lever,
    .panel_text = show_no_text,
    .show_board = show_nothing,
    .close = show_nothing,
    .tick = wait_no_tick,
}};

namespace {

// Sound lists of their own, each looped while its device spins.
EffectListEntry reel_sounds[2] = {{51, nullptr}, {-1, nullptr}};
EffectListEntry wheel_sounds[2] = {{52, nullptr}, {-1, nullptr}};

struct SpinnerState {
    int wheel_position = 0;
    std::array<int, 5> reel = {0, 0, 0, 0, 0}; // reels 1..4 (index 0 unused)
    // Braking of one reel.
    int brake_reel = 0;
    bool brake_started = false;
    int brake_interval = 0;
    int brake_counter = 0;
    int last_spin_ticks = 0;
    bool lever_down = false;
    std::string panel_text;
};

SpinnerState& st() {
    static SpinnerState s;
    return s;
}

// The device a stop request is asked about.
enum SpinDevice : int { DEVICE_WHEEL = 0, DEVICE_REELS = 1 };

// Only a human playing by hand who is not sleepwalking stops a spinner
// himself; for anyone else the stop comes by itself.
bool current_player_stops_by_hand() {
    const int m = game_active_mover;
    if (m < 0 || m >= PLAYER_COUNT) return false;
    const PlayerRecord& p = player_table[m];
    return p.control == CTRL_HUMAN && p.sleepwalk_days == 0;
}

// True when the stop comes at this tick (ticks count from 1).
bool stop_requested(int tick, SpinDevice device) {
    if (!current_player_stops_by_hand()) return tick >= SPIN_AUTO_STOP_TICKS;
    return decide_yes_no(DECIDE_SPIN_STOP, game_active_mover, nullptr, tick, device);
}

void wheel_advance() {
    st().wheel_position = (st().wheel_position + 1) % WHEEL_POSITIONS;
}

void reel_advance(int r) {
    st().reel[r] = (st().reel[r] + 1) % REEL_POSITIONS;
}

int clamp_kind(int kind) {
    return (kind >= 0 && kind < WHEEL_KIND_COUNT) ? kind : 0;
}

} // namespace

void spinner_reset() {
    st() = SpinnerState{};
}

int spin_wheel_position() {
    return st().wheel_position;
}

int spin_reel_position(int reel) {
    return (reel >= 1 && reel <= 4) ? st().reel[reel] : 0;
}

int spin_last_spin_ticks() {
    return st().last_spin_ticks;
}

int spin_stopped_by_hand() {
    return current_player_stops_by_hand() ? 1 : 0;
}

const std::string& spin_panel_text() {
    return st().panel_text;
}

const char* spin_god_text(int type) {
    switch (type) {
    case SPIN_SMALL_WEALTH:
        return "%s附身\n\n向所有对手收...";
    case SPIN_BIG_WEALTH:
        return "%s附身\n\n送您...";
    case SPIN_SMALL_POVERTY:
        return "%s附身\n\n付给每个人...";
    case SPIN_BIG_POVERTY:
        return "%s附身\n\n损失...";
    default:
        return nullptr;
    }
}

void spin_wheel_draw(int show_pointer) {
    spinner_presenter().wheel_draw(st().wheel_position, show_pointer);
}

int spin_wheel_run(int kind) {
    kind = clamp_kind(kind);
    SpinnerState& s = st();
    s.wheel_position = game_rand() % WHEEL_POSITIONS;
    snd_effect_play(&wheel_sounds[0], 1);
    spinner_presenter().show_board();

    // Spinning, one position a tick, until the stop request.
    int tick = 0;
    for (;;) {
        spinner_presenter().tick(WHEEL_TICK_MS);
        ++tick;
        wheel_advance();
        spin_wheel_draw(0);
        if (stop_requested(tick, DEVICE_WHEEL)) break;
    }
    s.last_spin_ticks = tick;
    spin_wheel_draw(1);
    snd_effect_play(&ui_effects[UI_PRESS], 0);

    // Braking: three advances at each interval 1..4 ticks, then a creep of
    // five ticks a position until the wheel stands on a position it can stop on.
    int interval = 1;
    int advances_left = 3;
    int counter = 0;
    for (;;) {
        spinner_presenter().tick(WHEEL_TICK_MS);
        if (++counter < interval) continue;
        counter = 0;
        wheel_advance();
        spin_wheel_draw(1);
        if (--advances_left == 0) {
            ++interval;
            advances_left = 3;
        }
        if (interval > 4 && spin_wheel_table[kind][s.wheel_position] != -1) break;
    }
    snd_effect_stop(&wheel_sounds[0]);

    // Showing the result until a click, or for 40 ticks.
    for (int t = 1; t < SPIN_AUTO_STOP_TICKS; ++t) {
        spinner_presenter().tick(WHEEL_TICK_MS);
        if (stop_requested(t, DEVICE_WHEEL)) break;
    }
    return spin_wheel_table[kind][s.wheel_position];
}

int spin_building_prompt(int kind, const char* name) {
    kind = clamp_kind(kind);
    char text[256];
    std::snprintf(text, sizeof text, spin_wheel_prompts[kind], name != nullptr ? name : "");
    st().panel_text = text;
    spinner_presenter().wheel_open(kind, text);
    snd_effects_load(wheel_sounds);
    const int value = spin_wheel_run(kind);
    snd_effects_free(wheel_sounds);
    spinner_presenter().close();
    return value;
}

int spin_reels_draw(int /*first_reel*/, int mask, int braking_reel) {
    SpinnerState& s = st();
    for (int r = 1; r <= 4; ++r) {
        if ((mask & (1 << (r - 1))) == 0 || r == braking_reel) continue;
        reel_advance(r);
    }
    if (braking_reel < 1 || braking_reel > 4) {
        spinner_presenter().reels_draw(s.lever_down ? 1 : 0);
        return 0;
    }

    if (s.brake_reel != braking_reel || !s.brake_started) {
        s.brake_reel = braking_reel;
        // Braking begins only between two digits (an odd position).
        if ((s.reel[braking_reel] & 1) == 0) {
            s.brake_started = false;
            reel_advance(braking_reel);
            spinner_presenter().reels_draw(s.lever_down ? 1 : 0);
            return 0;
        }
        s.brake_started = true;
        s.brake_interval = 1;
        s.brake_counter = 0;
    }
    // Each advance waits one tick longer than the one before; at interval 8
    // the reel has made seven more advances and rests on a digit.
    if (++s.brake_counter >= s.brake_interval) {
        reel_advance(braking_reel);
        ++s.brake_interval;
        s.brake_counter = 0;
    }
    spinner_presenter().reels_draw(s.lever_down ? 1 : 0);
    if (s.brake_interval >= 8) {
        s.brake_started = false;
        s.brake_reel = 0;
        return 1;
    }
    return 0;
}

int spin_reels_run(int three_reels) {
    SpinnerState& s = st();
    const int reels = three_reels ? 3 : 4;
    const int all = three_reels ? 0x7 : 0xF;
    s.brake_reel = 0;
    s.brake_started = false;
    s.lever_down = false;
    spinner_presenter().show_board();
    snd_effect_play(&reel_sounds[0], 1);

    // Spinning: every 10th tick each reel jumps to a random in-between
    // position; every tick every reel advances.
    int tick = 0;
    for (;;) {
        spinner_presenter().tick(REELS_TICK_MS);
        if (tick % 10 == 0) {
            for (int r = 1; r <= reels; ++r)
                s.reel[r] = (game_rand() % 10) * 2 + 1;
        }
        for (int r = 1; r <= reels; ++r)
            reel_advance(r);
        spinner_presenter().reels_draw(0);
        ++tick;
        if (stop_requested(tick, DEVICE_REELS)) break;
    }
    s.last_spin_ticks = tick;

    // The lever is pulled and comes up again four ticks later.
    s.lever_down = true;
    snd_effect_play(&ui_effects[UI_PRESS], 0);
    for (int t = 0; t < 4; ++t) {
        spinner_presenter().tick(REELS_TICK_MS);
        if (t == 3) s.lever_down = false;
        spin_reels_draw(reels, all, 0);
    }

    // Braking one reel after the other, units first.
    static constexpr int masks[5] = {0, 0xF, 0xE, 0xC, 0x8};
    for (int r = 1; r <= reels; ++r) {
        while (spin_reels_draw(reels, masks[r] & all, r) == 0)
            spinner_presenter().tick(REELS_TICK_MS);
    }

    snd_effect_stop(&reel_sounds[0]);
    int amount = (s.reel[3] / 2) * 100 + (s.reel[2] / 2) * 10 + s.reel[1] / 2;
    if (!three_reels) amount += (s.reel[4] / 2) * 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%d元", amount);
    s.panel_text = text;
    spinner_presenter().panel_text(text);

    // The amount stands for 40 more ticks.
    for (int t = 0; t < SPIN_AUTO_STOP_TICKS; ++t)
        spinner_presenter().tick(REELS_TICK_MS);
    return amount;
}

int spin_god_amount(int type) {
    if (type != SPIN_SMALL_WEALTH && type != SPIN_BIG_WEALTH && type != SPIN_SMALL_POVERTY &&
        type != SPIN_BIG_POVERTY)
        return 0;
    char text[256];
    std::snprintf(text, sizeof text, spin_god_text(type), god_names[type + 1]);
    st().panel_text = text;
    const bool three = (type == SPIN_SMALL_WEALTH || type == SPIN_SMALL_POVERTY);
    spinner_presenter().reels_open(three ? 1 : 0, text);
    snd_effects_load(reel_sounds);
    const int amount = spin_reels_run(three ? 1 : 0);
    snd_effects_free(reel_sounds);
    spinner_presenter().close();
    return amount;
}

WORLD_RESET(WORLD_RESET_SPINNER, spinner_reset)
