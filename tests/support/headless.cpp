#include "support/headless.h"

#include <algorithm>
#include <cstdlib>

#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/cursor.h"
#include "engine/film.h"
#include "engine/music.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/app.h"
#include "shell/screen.h"

std::vector<std::string> headless_calls;
std::deque<int> headless_title_results;
std::deque<int> headless_setup_results;
std::deque<int> headless_load_results;

namespace {

void rec(const char* name) {
    headless_calls.emplace_back(name);
}

int next_of(std::deque<int>& list, int otherwise) {
    if (list.empty()) return otherwise;
    int v = list.front();
    list.pop_front();
    return v;
}

int32_t recorded_board_proc(PlatWindow, uint32_t message, uint32_t, int32_t) {
    if (message == WM_SCREEN_START) rec("board_start");
    return 0;
}

void install_recorders() {
    AppServices& s = app_services;
    s.snd_init = [](int) {
        rec("snd_init");
        return 0;
    };
    s.text_init = [] { rec("text_init"); };
    s.gfx_detect_pixel_format = [](uint32_t, uint32_t) { rec("gfx_detect_pixel_format"); };
    s.snd_effects_load = [](EffectListEntry*) { rec("snd_effects_load"); };
    s.cfg_read = [] { rec("cfg_read"); };
    s.mkf_open = [](const char* name) {
        headless_calls.push_back(std::string("mkf_open ") + name);
        return std::string(name) == "data.mkf" ? 3 : 4;
    };
    s.cursor_start = [] { rec("cursor_start"); };
    s.music_init = [] { rec("music_init"); };
    s.cursor_set_shape = [](int, int, int) { rec("cursor_set_shape"); };
    s.snd_wait_last_effect = [] { rec("snd_wait_last_effect"); };
    s.cursor_stop = [] { rec("cursor_stop"); };
    s.music_shutdown = [] { rec("music_shutdown"); };
    s.mkf_close = [](int slot) {
        headless_calls.push_back("mkf_close " + std::to_string(slot));
        return 0;
    };
    s.board_free_graphics = [] { rec("board_free_graphics"); };
    s.map_free = [] { rec("map_free"); };
    s.text_shutdown = [] { rec("text_shutdown"); };
    s.snd_effects_free = [](EffectListEntry*) { rec("snd_effects_free"); };
    s.snd_shutdown = [] { rec("snd_shutdown"); };
    s.avi_play = [](const char* name, const PlatRect*, int) {
        headless_calls.push_back(std::string("avi_play ") + name);
        return 0;
    };
    s.title_run = [] {
        rec("title_run");
        return next_of(headless_title_results, 2);
    };
    s.setup_run = [](int continuing) {
        headless_calls.push_back("setup_run " + std::to_string(continuing));
        return next_of(headless_setup_results, 0);
    };
    s.map_load = [] {
        rec("map_load");
        return true;
    };
    s.board_load_graphics = [] { rec("board_load_graphics"); };
    s.stock_daily_update = [] { rec("stock_daily_update"); };
    s.intro_run = [] { rec("intro_run"); };
    s.stage_won = [] { rec("stage_won"); };
    s.save_load_screen = [](int over) {
        headless_calls.push_back("save_load_screen " + std::to_string(over));
        return next_of(headless_load_results, -1);
    };
    s.gfx_clear_screen = [] { rec("gfx_clear_screen"); };
    s.board_flush_dirty = [] { rec("board_flush_dirty"); };
    s.turn_tick = [] {
        rec("turn_tick");
        anim_step_pending = 0;
    };
    s.turn_take_step = [] { rec("turn_take_step"); };
    s.music_stop = [] { rec("music_stop"); };
    s.music_next_background = [](int n) {
        headless_calls.push_back("music_next_background " + std::to_string(n));
    };
    s.board_wndproc = recorded_board_proc;
    s.mci_send = [](const char* command) {
        headless_calls.push_back(std::string("mci ") + command);
        return uint32_t{0};
    };
    s.avi_on_end = [] { rec("avi_on_end"); };
    s.music_on_notify = [] { rec("music_on_notify"); };
    s.data_check = [](std::string*) { return true; }; // the recorded archives are all there
}

} // namespace

void HeadlessTest::SetUp() {
    setenv("KARVO_HEADLESS", "1", 1);
    unsetenv("KARVO_SCRIPT");
    unsetenv("KARVO_WINDOWED");
    ASSERT_TRUE(plat_init());
    app_reset();
    game_world_reset();
    anim_step_pending = 0;
    avi_playing = 0;
    music_midi_on = 0;
    music_cd_on = 0;
    headless_calls.clear();
    headless_title_results.clear();
    headless_setup_results.clear();
    headless_load_results.clear();
    install_recorders();
    plat_script_set_close_at_end(true);
    plat_script_set_time_limit(10 * 60 * 1000);
}

void HeadlessTest::TearDown() {
    plat_shutdown();
    app_reset();
}

void HeadlessTest::click(uint32_t ms, int x, int y) {
    at(t0 + ms, SCRIPT_LEFT_DOWN, x, y);
    at(t0 + ms + 5, SCRIPT_LEFT_UP, x, y);
}

void HeadlessTest::point_and_click(uint32_t ms, int x, int y) {
    move(t0 + ms, x, y);
    click(ms + 5, x, y);
}

void HeadlessTest::right_click(uint32_t ms, int x, int y) {
    at(t0 + ms, SCRIPT_RIGHT_DOWN, x, y);
    at(t0 + ms + 5, SCRIPT_RIGHT_UP, x, y);
}

void HeadlessTest::at(uint32_t ms, PlatScriptKind kind, int32_t a, int32_t b) {
    PlatScriptEvent ev;
    ev.time = ms;
    ev.kind = kind;
    ev.a = a;
    ev.b = b;
    plat_script_add(ev);
}

int HeadlessTest::run_app() {
    return app_main(nullptr, nullptr, "", 1);
}

void HeadlessTest::open_window() {
    app_hwnd = plat_create_window("Karvo", app_wndproc);
    ASSERT_NE(app_hwnd, nullptr);
    plat_show_window();
}

std::vector<std::string> HeadlessTest::calls_among(const std::vector<std::string>& names) const {
    std::vector<std::string> out;
    for (const std::string& c : headless_calls)
        if (std::find(names.begin(), names.end(), c) != names.end()) out.push_back(c);
    return out;
}

int HeadlessTest::count_calls(const std::string& name) const {
    return static_cast<int>(std::count(headless_calls.begin(), headless_calls.end(), name));
}
