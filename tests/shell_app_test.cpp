#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/mkf.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/app.h"
#include "shell/keyboard.h"
#include "shell/screen.h"
#include "shell/stage_end.h"
#include "support/headless.h"

namespace {

class App : public HeadlessTest {};

const std::vector<std::string> kStartUp = {
    "snd_init",   "text_init",         "gfx_detect_pixel_format", "snd_effects_load",
    "cfg_read",   "mkf_open data.mkf", "mkf_open speaking.mkf",   "cursor_start",
    "music_init", "cursor_set_shape",
};
const std::vector<std::string> kShutdown = {
    "snd_wait_last_effect", "cursor_stop", "music_shutdown", "mkf_close 4",      "mkf_close 3",
    "board_free_graphics",  "map_free",    "text_shutdown",  "snd_effects_free", "snd_shutdown",
};

std::vector<std::string> concat(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

bool g_hook_installed_in_title = false;
int32_t g_pitch_in_title = 0;

TEST_F(App, StartsUpAndShutsDownInOrder) {
    g_hook_installed_in_title = false;
    app_services.title_run = [] {
        headless_calls.emplace_back("title_run");
        g_hook_installed_in_title = plat_keyboard_hook() == app_keyboard_hook;
        g_pitch_in_title = primary_pitch;
        return 2; // none of the title's choices: on to the main loop
    };
    close_window(100);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(
        headless_calls,
        concat({kStartUp, {"avi_play START.AVI", "title_run", "gfx_clear_screen"}, kShutdown}));
    EXPECT_TRUE(g_hook_installed_in_title);
    EXPECT_EQ(g_pitch_in_title, 1280);
    EXPECT_EQ(plat_keyboard_hook(), nullptr);
    EXPECT_EQ(app_shutdown_done, 1);
    EXPECT_EQ(primary_surface, nullptr);
    EXPECT_TRUE(plat_window_destroyed());
    EXPECT_EQ(plat_tick_count(), 100u);
}

// What start-up and shutdown do between the services, seen from the services.
std::vector<std::string> g_seen;
void seen(const char* name, bool fact) {
    g_seen.push_back(std::string(name) + (fact ? " yes" : " no"));
}
bool hook_on() {
    return plat_keyboard_hook() == app_keyboard_hook;
}

TEST_F(App, TheStepsBetweenTheServicesFallInTheirPlaces) {
    g_seen.clear();
    // Left over from an earlier run: start-up clears them (a pending quit or
    // end code would otherwise act at once).
    game_end_code = END_TO_TITLE;
    app_quit = 1;
    board_input_enabled = 1;
    campaign_maps_cleared[2] = 1;
    screen_depth = 3;
    AppServices& s = app_services;
    s.text_init = [] { seen("surfaces before text_init", primary_surface && back_surface); };
    s.cfg_read = [] { seen("hook before cfg_read", hook_on()); };
    s.mkf_open = [](const char*) {
        seen("hook before mkf_open", hook_on());
        return 1;
    };
    s.cursor_set_shape = [](int first, int count, int ticks) {
        seen("arrow shape", first == 41 && count == 1 && ticks == 0);
        seen("hit-test map before the shape", view_hitmap != nullptr);
    };
    s.title_run = [] {
        seen("hit-test map in the title", view_hitmap != nullptr);
        seen("start state in the title", game_end_code == 0 && app_quit == 0 &&
                                             board_input_enabled == 0 && screen_depth == 0 &&
                                             campaign_maps_cleared[2] == 0);
        return 2;
    };
    s.snd_wait_last_effect = [] { seen("hit-test map at the shutdown's start", view_hitmap); };
    s.cursor_stop = [] { seen("hit-test map at cursor_stop", view_hitmap); };
    s.text_shutdown = [] { seen("hook at text_shutdown", hook_on()); };
    s.snd_effects_free = [](EffectListEntry*) { seen("hook at snd_effects_free", hook_on()); };
    s.snd_shutdown = [] { seen("surfaces at snd_shutdown", primary_surface && back_surface); };
    close_window(100);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(g_seen, (std::vector<std::string>{
                          "surfaces before text_init yes",
                          "hook before cfg_read no",
                          "hook before mkf_open yes",
                          "hook before mkf_open yes",
                          "arrow shape yes",
                          "hit-test map before the shape no",
                          "hit-test map in the title yes",
                          "start state in the title yes",
                          "hit-test map at the shutdown's start yes",
                          "hit-test map at cursor_stop no",
                          "hook at text_shutdown yes",
                          "hook at snd_effects_free no",
                          "surfaces at snd_shutdown yes",
                      }));
    EXPECT_EQ(plat_tick_count(), 100u); // the stale quit request did not end the run
    EXPECT_EQ(primary_surface, nullptr);
    EXPECT_EQ(back_surface, nullptr);
}

TEST_F(App, ExitFromTheTitleShutsDownOnceBeforeTheWindowGoes) {
    headless_title_results = {3};
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(count_calls("snd_shutdown"), 1);
    EXPECT_EQ(count_calls("gfx_clear_screen"), 0);
    EXPECT_TRUE(plat_window_destroyed());
}

TEST_F(App, WithoutAWindowTheProgramEndsAtOnce) {
    plat_shutdown(); // no window system to make the window with
    EXPECT_EQ(run_app(), -1);
    EXPECT_TRUE(headless_calls.empty());
}

TEST_F(App, ADisplayFailureIsReportedAndEndsTheProgram) {
    const std::pair<int, const char*> cases[] = {{1, "DirectDraw Initial Error!"},
                                                 {2, "DirectDraw SetMode Error!"}};
    for (auto [step, text] : cases) {
        SCOPED_TRACE(step);
        TearDown();
        SetUp();
        plat_test_fail_display(step);
        EXPECT_EQ(run_app(), 0);
        EXPECT_EQ(plat_message_box_count(), 1);
        EXPECT_STREQ(plat_last_message_box(), text);
        EXPECT_EQ(count_calls("title_run"), 0);
        EXPECT_EQ(headless_calls,
                  std::vector<std::string>{"snd_init"}); // sound set-up is not undone
        EXPECT_EQ(app_start_failed, 1);                  // the program's status is not 0
    }
}

TEST_F(App, DataItCannotRunWithoutEndsTheStartUpWithABox) {
    app_services.data_check = [](std::string* problem) {
        *problem = "PANEL.MKF in /somewhere is damaged: entry 3 runs past the end of the file";
        return false;
    };
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(plat_message_box_count(), 1);
    EXPECT_STREQ(plat_last_message_box_caption(), "ERROR");
    EXPECT_STREQ(plat_last_message_box(),
                 "PANEL.MKF in /somewhere is damaged: entry 3 runs past the end of the file.\n"
                 "The game cannot run without it.");
    EXPECT_TRUE(plat_message_box_centred_on_screen());
    EXPECT_EQ(app_start_failed, 1);
    EXPECT_EQ(count_calls("title_run"), 0);
    EXPECT_EQ(count_calls("avi_play START.AVI"), 0);
    EXPECT_EQ(headless_calls, std::vector<std::string>{"snd_init"});
}

TEST_F(App, ANewGameLoadsTheMapAndPushesTheBoardScreen) {
    headless_title_results = {0};
    headless_setup_results = {1};
    close_window(100);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(
        calls_among({"title_run", "setup_run 0", "music_stop", "map_load", "board_load_graphics",
                     "stock_daily_update", "intro_run", "board_start", "turn_take_step"}),
        (std::vector<std::string>{"title_run", "setup_run 0", "music_stop", "map_load",
                                  "board_load_graphics", "stock_daily_update", "intro_run",
                                  "board_start", "turn_take_step"}));
    EXPECT_EQ(count_calls("music_next_background 0"), 0); // the intro started the music
    EXPECT_EQ(campaign_continuing, 1);
}

TEST_F(App, ANewGameWhoseMapCannotBeLoadedGoesBackToTheTitle) {
    headless_title_results = {0, 3};
    headless_setup_results = {1};
    app_services.map_load = [] {
        headless_calls.emplace_back("map_load");
        return false;
    };
    close_window(1000);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(
        calls_among({"title_run", "setup_run 0", "map_load", "board_load_graphics", "board_start"}),
        (std::vector<std::string>{"title_run", "setup_run 0", "map_load", "title_run"}));
}

TEST_F(App, ALoadedGameFromTheTitleResumesWithMusic) {
    headless_title_results = {1};
    close_window(100);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(
        calls_among({"title_run", "setup_run 0", "board_load_graphics", "music_next_background 0",
                     "board_start", "turn_take_step"}),
        (std::vector<std::string>{"title_run", "board_load_graphics", "music_next_background 0",
                                  "board_start", "turn_take_step"}));
    EXPECT_EQ(campaign_continuing, 1);
}

// End codes: a game runs until its first turn step sets the code.
uint8_t g_code = 0;
bool g_stage_won_quits = false;

struct EndCase {
    uint8_t code;
    std::vector<int> load_results;
    bool stage_won_quits;
    std::vector<std::string> expected; // calls after the turn step, up to the shutdown
};

TEST_F(App, TheGameEndCodesTakeTheirPaths) {
    const std::vector<EndCase> cases = {
        {END_TO_TITLE, {}, false, {"board_free_graphics", "music_stop", "title_run"}},
        {END_STAGE_CLEARED,
         {},
         false,
         {"board_free_graphics", "music_stop", "stage_won", "setup_run 1", "title_run"}},
        {END_STAGE_CLEARED, {}, true, {"board_free_graphics", "music_stop", "stage_won"}},
        {END_GAME_WON, {}, false, {"board_free_graphics", "music_stop", "stage_won", "title_run"}},
        {END_LOAD_GAME,
         {-1},
         false,
         {"board_free_graphics", "music_stop", "save_load_screen 0", "title_run"}},
        // A slot whose read failed leaves no game: back to the title too.
        {END_LOAD_GAME,
         {0},
         false,
         {"board_free_graphics", "music_stop", "save_load_screen 0", "title_run"}},
        {END_LOAD_GAME,
         {2},
         false,
         {"board_free_graphics", "music_stop", "save_load_screen 0", "board_load_graphics",
          "music_next_background 0", "board_start", "turn_take_step"}},
        {5, {}, false, {"board_free_graphics", "music_stop"}},
        {200, {}, false, {"board_free_graphics", "music_stop"}},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + (c.stage_won_quits ? " quitting" : ""));
        TearDown();
        SetUp();
        headless_title_results = {0};
        headless_setup_results = {1};
        headless_load_results.assign(c.load_results.begin(), c.load_results.end());
        g_code = c.code;
        g_stage_won_quits = c.stage_won_quits;
        app_services.turn_take_step = [] {
            headless_calls.emplace_back("turn_take_step");
            game_end_code = g_code;
            g_code = 0; // only the first step ends the game
        };
        app_services.stage_won = [] {
            headless_calls.emplace_back("stage_won");
            if (g_stage_won_quits) app_quit = 1;
        };
        close_window(1000);
        EXPECT_EQ(run_app(), 0);

        auto first = std::find(headless_calls.begin(), headless_calls.end(), "turn_take_step");
        auto end = std::find(first, headless_calls.end(), "gfx_clear_screen");
        ASSERT_NE(first, headless_calls.end());
        std::vector<std::string> after(first + 1, end);
        EXPECT_EQ(after, c.expected);
        EXPECT_EQ(game_end_code, 0);
        EXPECT_EQ(count_calls("snd_shutdown"), 1);
        if (c.stage_won_quits) {
            EXPECT_LT(plat_tick_count(), 1000u);
        } // quit without waiting for the close
    }
}

std::vector<uint32_t> g_flush_times, g_tick_times, g_step_times, g_end_times;

TEST_F(App, NoIdleWorkRunsWhileTheProgramIsInactive) {
    g_flush_times.clear();
    g_tick_times.clear();
    g_step_times.clear();
    g_end_times.clear();
    app_services.title_run = [] {
        board_dirty = 1;
        anim_step_pending = 1;
        actor_anim_table[0].flags |= ANIM_NEEDS_STEP;
        game_end_code = 7;
        app_quit = 1; // seen only in the idle branch too
        return 2;
    };
    app_services.turn_take_step = [] { g_step_times.push_back(plat_tick_count()); };
    app_services.music_stop = [] { g_end_times.push_back(plat_tick_count()); };
    app_services.gfx_clear_screen = [] { g_end_times.push_back(plat_tick_count()); };
    app_services.board_flush_dirty = [] {
        g_flush_times.push_back(plat_tick_count());
        board_dirty = 0;
    };
    app_services.turn_tick = [] {
        g_tick_times.push_back(plat_tick_count());
        anim_step_pending = 0;
    };
    activate(0, false);
    activate(300, true);
    close_window(400);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(g_flush_times, (std::vector<uint32_t>{300}));
    EXPECT_EQ(g_tick_times, (std::vector<uint32_t>{300}));
    EXPECT_EQ(g_step_times, (std::vector<uint32_t>{300}));
    // The end code's board pop stops the music, then the quit clears the screen.
    EXPECT_EQ(g_end_times, (std::vector<uint32_t>{300, 300}));
    EXPECT_EQ(count_calls("board_free_graphics"), 2); // the end code, then the shutdown
    EXPECT_EQ(plat_tick_count(), 300u);
}

TEST_F(App, BackAtTheTitleTheCampaignStartsAfresh) {
    static std::vector<std::string> at_title;
    at_title.clear();
    app_services.setup_run = [](int) {
        game_map = 2; // the setup's choice
        return 1;
    };
    app_services.turn_take_step = [] {
        campaign_maps_cleared[0] = 1;
        game_end_code = END_TO_TITLE;
    };
    headless_title_results = {0};
    app_services.title_run = [] {
        at_title.push_back(std::to_string(campaign_continuing) + " " + std::to_string(game_map) +
                           " " + std::to_string(campaign_maps_cleared[0]));
        if (headless_title_results.empty()) return 2;
        headless_title_results.pop_front();
        return 0;
    };
    close_window(100);
    EXPECT_EQ(run_app(), 0);
    // Before the game, and after it with continuing, map and cleared maps reset.
    EXPECT_EQ(at_title, (std::vector<std::string>{"0 0 0", "0 0 0"}));
}

int32_t never_closing_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START && screen_depth < 2) screen_run(never_closing_proc, 0);
    return 0;
}

TEST_F(App, AChainOfTurnStepsRunsWithinOneTick) {
    headless_title_results = {0};
    headless_setup_results = {1};
    static std::vector<uint32_t> step_times;
    step_times.clear();
    app_services.turn_take_step = [] {
        step_times.push_back(plat_tick_count());
        if (step_times.size() < 5) actor_anim_table[game_active_mover].flags |= ANIM_NEEDS_STEP;
    };
    close_window(100);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(step_times, (std::vector<uint32_t>(5, 0))); // no time passed between the steps
}

TEST_F(App, AStepThatAlwaysAsksForAnotherStillLetsTimePass) {
    headless_title_results = {0};
    headless_setup_results = {1};
    app_services.turn_take_step = [] {
        headless_calls.emplace_back("turn_take_step");
        actor_anim_table[game_active_mover].flags |= ANIM_NEEDS_STEP;
    };
    close_window(100);
    EXPECT_EQ(run_app(), 0); // ends instead of spinning at one moment forever
    EXPECT_GT(count_calls("turn_take_step"), 64);
}

TEST_F(App, ClosingTheWindowInsideAModalScreenUnwindsThenShutsDownOnce) {
    app_services.title_run = [] {
        headless_calls.emplace_back("title_run");
        screen_run(never_closing_proc, 0);
        headless_calls.emplace_back("title_unwound");
        return 0; // what an unwound title might say: no new game may start
    };
    headless_setup_results = {1};
    close_window(250);
    EXPECT_EQ(run_app(), 0);
    EXPECT_EQ(calls_among({"title_run", "title_unwound", "setup_run 0", "snd_shutdown"}),
              (std::vector<std::string>{"title_run", "title_unwound", "snd_shutdown"}));
    EXPECT_EQ(screen_depth, 0);
    EXPECT_EQ(plat_tick_count(), 250u);
}

int32_t quit_posting_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START) plat_post_quit_message(7);
    return 0;
}

TEST_F(App, AQuitMessageInsideAModalScreenEndsTheProgramWithItsCode) {
    app_services.title_run = [] {
        screen_run(quit_posting_proc, 0);
        return 2;
    };
    EXPECT_EQ(run_app(), 7);
    EXPECT_EQ(count_calls("snd_shutdown"), 1);
}

TEST_F(App, TheQuitRequestIsActedOnInTheIdlePass) {
    headless_title_results = {0};
    headless_setup_results = {1};
    app_services.turn_take_step = [] {
        headless_calls.emplace_back("turn_take_step");
        app_quit = 1; // as the quit hot key does
    };
    close_window(5000);
    EXPECT_EQ(run_app(), 0);
    auto after = calls_among({"turn_take_step", "gfx_clear_screen", "snd_shutdown"});
    EXPECT_EQ(after,
              (std::vector<std::string>{"turn_take_step", "gfx_clear_screen", "snd_shutdown"}));
    EXPECT_LT(plat_tick_count(), 5000u);
}

// An archive whose every entry is one stored 640 x 480 picture.
std::string write_picture_archive(uint16_t seed) {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("karvo_loading_" + std::to_string(::getpid()) + ".mkf"))
                           .string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    auto put32 = [f](uint32_t v) {
        uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        std::fwrite(b, 1, 4, f);
    };
    const uint32_t bytes = 640 * 480 * 2;
    put32(4 + 16 + bytes); // where the index starts
    put32(bytes);
    put32(bytes); // stored as is
    put32(0);
    put32(0); // already in the display's format
    for (uint32_t i = 0; i < 640 * 480; ++i) {
        uint16_t px = static_cast<uint16_t>(seed + i);
        std::fwrite(&px, 2, 1, f); // little-endian machine
    }
    for (int e = 0; e <= 560; ++e)
        put32(4);
    std::fclose(f);
    return path;
}

TEST_F(App, TheLoadingPictureFillsTheScreenAndStopsTheMusic) {
    mkf_reset();
    std::string path = write_picture_archive(0x1234);
    data_archive = mkf_open(path.c_str());
    ASSERT_GE(data_archive, 0);
    back_surface = plat_surface_create(640, 480, false);
    primary_surface = plat_surface_create(640, 480, true);
    app_show_loading_picture();
    EXPECT_EQ(primary_surface->pixels[0], 0x1234);
    EXPECT_EQ(primary_surface->pixels[640 * 480 - 1],
              static_cast<uint16_t>(0x1234 + 640 * 480 - 1));
    EXPECT_EQ(back_surface->pixels[1000], static_cast<uint16_t>(0x1234 + 1000));
    EXPECT_EQ(count_calls("music_stop"), 1);

    // Without the archive the screen stays as it is; the music still stops.
    mkf_close(data_archive);
    data_archive = -1;
    primary_surface->pixels[0] = 7;
    app_show_loading_picture();
    EXPECT_EQ(primary_surface->pixels[0], 7);
    EXPECT_EQ(count_calls("music_stop"), 2);
    std::remove(path.c_str());
    mkf_reset();
}

} // namespace
