#include "runner_game.h"

#include <cstdlib>

#include "board/game_state.h"
#include "board/map.h"
#include "board/turn.h"
#include "board/turn_flow.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/cursor.h"
#include "engine/random.h"
#include "finance/assets.h"
#include "finance/stock.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/queue.h"
#include "platform/stop_signal.h"
#include "platform/window.h"
#include "shell/app.h"
#include "shell/new_game.h"
#include "shell/settings.h"

namespace {

// Cursor-timer ticks per animation tick (the fastest game speed).
constexpr int TICKS_PER_STEP = 2;

int tick_count = 0;
uint64_t anim_ticks = 0;
uint64_t turn_steps = 0;
int captured_end = 0;
int captured_leader = -1;

void runner_tick() {
    if (++tick_count >= TICKS_PER_STEP) {
        tick_count = 0;
        anim_step_pending = 1;
    }
}

int leader_now() {
    int leader = -1;
    int32_t best = 0;
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        if (player_table[p].control == CTRL_OUT) continue;
        int32_t worth = asset_net_worth(p);
        if (leader < 0 || worth > best) {
            leader = p;
            best = worth;
        }
    }
    return leader;
}

void capture_end() {
    if (game_end_code && !captured_end) {
        captured_end = game_end_code;
        captured_leader = leader_now();
    }
}

void watched_turn_tick() {
    ++anim_ticks;
    turn_tick();
    capture_end();
}

void watched_turn_take_step() {
    ++turn_steps;
    turn_take_step();
    capture_end();
}

int no_title() {
    return -1;
}
void no_stage_won() {}
int no_load_screen(int) {
    return -1;
}

} // namespace

bool runner_seat_players(const RunnerOptions& options, std::string* error) {
    // The runner's own options, whatever a settings file said: the start
    // values, animations and autosave by its flags, and today's date, which
    // the runner fixes at 1 January 1998.
    setenv("KARVO_TODAY", "1998-01-01", 1);
    settings_reset_start_values();
    settings_set_animations(options.animations ? 1 : 0);
    settings_set_autosave(options.autosave ? 1 : 0);
    game_date = cfg_today();
    game_srand(options.seed);

    // Distinct characters, drawn from the seed.
    int characters[CHARACTER_COUNT];
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        characters[c] = c;
    for (int c = CHARACTER_COUNT - 1; c > 0; --c) {
        int k = game_rand() % (c + 1);
        int t = characters[c];
        characters[c] = characters[k];
        characters[k] = t;
    }
    // The set-up screen's choices; the day limit is the runner's own.
    setup_choice = {options.players - 2, options.money, options.travel, options.land_term, 0,
                    options.victory,     options.map};
    setup_runners = {};
    for (int k = 0; k < options.players && k < PLAYER_COUNT; ++k) {
        setup_runners[k].character = static_cast<uint32_t>(characters[k]);
        if (!(options.human && k == 0)) setup_runners[k].character |= SETUP_COMPUTER_SEAT;
    }
    const bool ok = new_game_init(error);
    setup_rewrite_character_state();
    if (!ok) return false;
    game_day_limit = options.days;
    return true;
}

bool runner_setup(const RunnerOptions& options, std::string* error) {
    if (options.players < 2 || options.players > PLAYER_COUNT) {
        if (error) *error = "the player count must be 2, 3 or 4";
        return false;
    }
    if (options.map < 0 || options.map > 3) {
        if (error) *error = "the map number must be 0 to 3";
        return false;
    }
    if (options.days < 1) {
        if (error) *error = "the day limit must be at least 1";
        return false;
    }
    // The platform on SDL's dummy drivers with the virtual clock, whatever
    // the environment asked for: a runner's game never shows anything.
    setenv("KARVO_HEADLESS", "1", 1);
    if (!plat_init()) {
        if (error) *error = std::string("cannot start the platform layer: ") + plat_init_error();
        return false;
    }
    app_reset();
    game_world_reset();
    runner_watch_shop();
    if (!runner_seat_players(options, error)) {
        plat_shutdown();
        return false;
    }
    if (!map_load()) {
        if (error) *error = "cannot load the map: " + map_last_error();
        plat_shutdown();
        return false;
    }
    stock_daily_update();

    if (plat_clock_is_virtual() && options.clock_start_ms != 0)
        plat_clock_advance_to(options.clock_start_ms);

    app_services.turn_tick = watched_turn_tick;
    app_services.turn_take_step = watched_turn_take_step;
    app_services.title_run = no_title;
    app_services.stage_won = no_stage_won;
    app_services.save_load_screen = no_load_screen;
    return true;
}

RunnerResult runner_play(const RunnerOptions&, void (*on_day)(void*), void* context) {
    tick_count = 0;
    anim_ticks = 0;
    turn_steps = 0;
    captured_end = 0;
    captured_leader = -1;
    anim_step_pending = 0;
    plat_tick_start(runner_tick);

    game_active_mover = 0;
    actor_anim_table[0].flags |= ANIM_NEEDS_STEP;
    RunnerResult result;
    int shown_day = game_days_elapsed;
    // The work done since the last new day; too much of it without one is a stall.
    uint64_t day_ticks = anim_ticks, day_steps = turn_steps, passes = 0;
    auto stalled = [&] {
        if (anim_ticks - day_ticks < RUNNER_STALL_TICKS &&
            turn_steps - day_steps < RUNNER_STALL_STEPS && passes < RUNNER_STALL_PASSES)
            return false;
        result.stop = RUNNER_STALLED;
        result.stall_day = game_days_elapsed;
        result.stall_date = game_date;
        result.stall_mover = game_active_mover;
        result.stall_phase = game_active_mover >= 0 && game_active_mover < MOVER_COUNT
                                 ? actor_anim_table[game_active_mover].phase
                                 : -1;
        result.stall_ticks = anim_ticks - day_ticks;
        result.stall_steps = turn_steps - day_steps;
        return true;
    };
    auto closed = [&] {
        if (!plat_close_requested()) return false;
        result.stop = RUNNER_CLOSED;
        result.stop_signal = plat_stop_signal();
        return true;
    };
    while (!captured_end && !closed()) {
        ++passes;
        // As in the main loop: messages first, the idle pass when none waits.
        PlatMessage message;
        if (plat_peek_message(&message, true)) {
            if (message.message == WM_QUIT) {
                // No window posts one; a quit from elsewhere closes the game.
                result.stop = RUNNER_CLOSED;
                break;
            }
            plat_translate_message(&message);
            plat_dispatch_message(&message);
            if (stalled()) break;
            continue;
        }
        // The idle pass would shut the program down on a close request; the
        // runner stops first, with the game as it stands.
        if (closed()) break;
        app_idle_pass();
        if (closed()) break;
        if (game_days_elapsed != shown_day && !captured_end) {
            shown_day = game_days_elapsed;
            day_ticks = anim_ticks;
            day_steps = turn_steps;
            passes = 0;
            if (on_day) on_day(context);
        }
        if (captured_end || stalled()) break;
        plat_idle(PLAT_WAIT_FOREVER);
    }
    plat_tick_stop();

    result.end_code = captured_end;
    if (captured_end) result.stop = RUNNER_ENDED;
    result.leader = captured_end ? captured_leader : leader_now();
    result.days = game_days_elapsed;
    result.ticks = anim_ticks;
    app_reset();
    map_free();
    return result;
}

void runner_close() {
    plat_shutdown();
}
