// A session of the whole program by scripted input alone, as a person plays
// it: the film skipped, the title's new game, a setup of two players with
// one character on a map of its own, start, the human's turns by the keys
// (Space to go, N to decline, the right button to close what opens) over
// three days and more, then Ctrl+Q and Y, or the system window's quit and
// Y. Run in this process, where the game can be watched, and as the real
// program, whose settings, autosave and screens are checked afterwards.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/turn_flow.h"
#include "board/world_reset.h"
#include "engine/cursor.h"
#include "engine/shown.h"
#include "finance/magic_house.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/app.h"
#include "shell/new_game.h"
#include "shell/save.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/setup_layout.h"
#include "shell/stage_end.h"
#include "shell/sysmenu.h"
#include "support/scripted_session.h"

namespace fs = std::filesystem;

namespace {

constexpr int CHARACTER = 3;
constexpr int MAP = 1;
constexpr int TURN_ROUNDS = 60;
// The human may sit in jail when the quit begins: it is tried until its turn.
constexpr int QUIT_TRIES = 300;
constexpr uint32_t ROUND_MS = 700;
// The system window (340 x 350) opens centred on the screen.
constexpr int SYSMENU_LEFT = 320 - 340 / 2, SYSMENU_TOP = 240 - 350 / 2;

enum class Ending { CTRL_Q, SYSTEM_WINDOW };

// The whole session as the script format's lines.
std::string session_script(Ending ending = Ending::CTRL_Q) {
    std::ostringstream s;
    uint32_t t = 500;
    auto ev = [&](uint32_t dt, const std::string& what) {
        t += dt;
        s << t << ' ' << what << '\n';
    };
    auto click = [&](uint32_t dt, int x, int y) {
        ev(dt, "move " + std::to_string(x) + ' ' + std::to_string(y));
        ev(20, "ldown");
        ev(20, "lup");
    };
    auto key = [&](uint32_t dt, const char* vk) {
        ev(dt, std::string("keydown ") + vk);
        ev(20, std::string("keyup ") + vk);
    };
    click(0, 320, 240);    // the opening film skipped
    click(1500, 190, 380); // new game
    // Two players, the character, the map, start.
    click(1000, SETUP_ARROW_LEFT + 10, SETUP_ARROW_TOP + 12);
    click(200, 581, 251 + 11);
    click(300, GRID_CELL_X + GRID_CELL * CHARACTER + 36, GRID_CELL_Y + 36);
    click(300, 540, SETUP_MAP_TOP + SETUP_MAP_H * MAP + 16);
    click(300, 495, 195);
    ev(6000, "nothing");
    for (int i = 0; i < TURN_ROUNDS; ++i) {
        key(ROUND_MS / 3, "0x20"); // go
        key(ROUND_MS / 3, "0x4E"); // no to a question
        ev(ROUND_MS / 3, "rdown"); // a window that opened
        ev(20, "rup");
    }
    if (ending == Ending::SYSTEM_WINDOW) {
        // V on the human's turn, the window's quit, yes; the right button
        // clears whatever a try made open when the window did not.
        const SysmenuRect& quit = sysmenu_spots[SM_BUTTON_2];
        for (int i = 0; i < QUIT_TRIES; ++i) {
            key(300, "0x56");
            click(300, SYSMENU_LEFT + (quit.left + quit.right) / 2,
                  SYSMENU_TOP + (quit.top + quit.bottom) / 2);
            key(300, "0x59");
            ev(200, "rdown");
            ev(20, "rup");
        }
        ev(600000, "nothing"); // never reached when the quit took
        return s.str();
    }
    // Ctrl+Q on the human's turn, then yes.
    for (int i = 0; i < QUIT_TRIES; ++i) {
        ev(300, "keydown 0x11");
        ev(20, "keydown 0x51");
        ev(20, "keyup 0x51");
        ev(20, "keyup 0x11");
        key(200, "0x59");
    }
    ev(600000, "nothing"); // never reached when the quit took
    return s.str();
}

struct Watch {
    int max_days = 0;
    int seat0_character = -1;
    int seat0_control = -1;
    int map = -1;
    int players = 0;
    bool board_seen = false;
} watch;

void watch_game() {
    if (screen_depth >= 1 && game_player_count > 0) {
        watch.board_seen = true;
        watch.max_days = std::max(watch.max_days, static_cast<int>(game_days_elapsed));
        watch.seat0_character = player_table[0].character;
        watch.seat0_control = player_table[0].setup_control;
        watch.map = game_map;
        watch.players = game_player_count;
    }
}

TEST(GameSession, APersonSetsUpAndPlaysThreeDaysByKeysAndQuits) {
    setenv("KARVO_HEADLESS", "1", 1);
    unsetenv("KARVO_SCRIPT");
    ASSERT_TRUE(plat_init());
    app_reset();
    game_world_reset();
    std::string error;
    ASSERT_TRUE(plat_script_parse(session_script(), &error)) << error;
    plat_script_set_close_at_end(true);
    watch = Watch{};
    // The cursor's own hook goes on; the watch runs beside it.
    app_services.cursor_start = [] {
        cursor_start();
        plat_set_cursor_hook([] {
            cursor_serve_ticks();
            watch_game();
        });
    };
    const int code = app_main(nullptr, nullptr, "", 1);
    plat_set_cursor_hook(nullptr);
    uint32_t next = 0;
    const bool script_left = plat_script_next_time(&next);
    plat_shutdown();
    app_reset();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(script_left) << "the quit ended the program, not the script";
    EXPECT_TRUE(watch.board_seen);
    EXPECT_EQ(watch.players, 2);
    EXPECT_EQ(watch.seat0_character, CHARACTER);
    EXPECT_EQ(watch.seat0_control, CTRL_HUMAN);
    EXPECT_EQ(watch.map, MAP);
    EXPECT_GE(watch.max_days, 3);
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct ProgramRun {
    int status = -1;
    std::string output; // standard output and error
    bool has_cfg = false;
    std::string save0; // SAVE0.DAT's bytes, empty when none was written
};

// The real program on the dummy drivers in a directory of its own, with
// its own home, a fixed today and the screen trace.
ProgramRun run_program(const std::string& script, const std::string& name) {
    const fs::path program = fs::path(KARVO_TEST_DATA_DIR).parent_path() / "karvo";
    const fs::path dir =
        fs::temp_directory_path() / ("karvo_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "home");
    std::ofstream(dir / "session.txt") << script;
    const std::string cmd = "cd '" + dir.string() +
                            "' && env KARVO_HEADLESS=1 SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                            "KARVO_HOME='" +
                            (dir / "home").string() +
                            "' KARVO_TODAY=2003-05-17 KARVO_TRACE_SCREENS=1 "
                            "KARVO_SCRIPT=session.txt '" +
                            program.string() + "' >output.txt 2>&1";
    ProgramRun r;
    r.status = std::system(cmd.c_str());
    r.output = read_file(dir / "output.txt");
    r.has_cfg = fs::is_regular_file(dir / "home" / SETTINGS_FILE_NAME);
    if (fs::is_regular_file(dir / "home" / save_slot_name(0)))
        r.save0 = read_file(dir / "home" / save_slot_name(0));
    fs::remove_all(dir);
    return r;
}

// The procedures the trace names, in the order they were put on the stack.
std::vector<std::string> traced_screens(const std::string& output) {
    std::vector<std::string> names;
    std::istringstream in(output);
    const std::string head = "karvo: screen ";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(head, 0) == 0)
            names.push_back(line.substr(head.size(), line.find(" at depth") - head.size()));
    return names;
}

TEST(GameSession, TheRealProgramQuitsFromTheSystemWindowLeavingItsSettingsAndAutosave) {
    const std::string script = session_script(Ending::SYSTEM_WINDOW);
    const ProgramRun first = run_program(script, "sysquit1");
    ASSERT_TRUE(WIFEXITED(first.status)) << first.output;
    EXPECT_EQ(WEXITSTATUS(first.status), 0) << first.output;
    EXPECT_EQ(first.output.find("Sanitizer"), std::string::npos) << first.output;
    EXPECT_TRUE(first.has_cfg);

    // Title, setup, the board, the system window and its confirmation, in
    // that order; the quit was the last thing opened, so the program ended
    // there and not with its script (whose further tries would open the
    // system window again).
    const std::vector<std::string> screens = traced_screens(first.output);
    const std::vector<std::string> wanted = {"title_wndproc", "setup_wndproc", "board",
                                             "sysmenu_wndproc", "confirm_proc"};
    size_t at = 0;
    for (const std::string& w : wanted) {
        while (at < screens.size() && screens[at] != w)
            ++at;
        EXPECT_LT(at, screens.size()) << w << " missing or out of order\n" << first.output;
    }
    ASSERT_GE(screens.size(), 2u) << first.output;
    EXPECT_EQ(screens[screens.size() - 2], "sysmenu_wndproc") << first.output;
    EXPECT_EQ(screens.back(), "confirm_proc") << first.output;
    EXPECT_EQ(std::count(screens.begin(), screens.end(), "sysmenu_wndproc"), 1) << first.output;

    // The autosave loads with the game's own reader.
    ASSERT_FALSE(first.save0.empty()) << first.output;
    game_world_reset();
    std::string error;
    ASSERT_TRUE(save_image_decode(reinterpret_cast<const uint8_t*>(first.save0.data()),
                                  first.save0.size(), &error))
        << error;
    EXPECT_EQ(game_player_count, 2);
    EXPECT_EQ(player_table[0].character, CHARACTER);
    EXPECT_EQ(player_table[0].setup_control, CTRL_HUMAN);
    EXPECT_EQ(game_map, MAP);
    EXPECT_GE(static_cast<int>(game_days_elapsed), 3);
    game_world_reset();

    // The same session gives the same autosave.
    const ProgramRun second = run_program(script, "sysquit2");
    EXPECT_EQ(WEXITSTATUS(second.status), 0) << second.output;
    EXPECT_TRUE(second.save0 == first.save0) << "the second run's autosave differs";
}

// ---- a campaign of four maps on the program's own services, but for the
// turns: once the computer has entered the board, the human's next turn
// begins with the computer's bankruptcy, so the human wins the map.

namespace campaign {

// The maps in the order they are played: the setup's, then the chooser's.
constexpr int MAP_ORDER[4] = {0, 2, 1, 3};

struct SetupSeen {
    int continuing, result, players, travel, map, seat0_character, seat0_control, opponent;
    int32_t money;
    uint32_t took_ms;
};

ScriptedSession session;
std::vector<SetupSeen> setups;
std::vector<int> boards_on; // the map of each board the human played on
int title_runs = 0, stage_wins = 0, won_maps_before_films = 0;
bool films_shown = false, quit_after_films = false;
void (*real_step)() = nullptr;
int (*real_title)() = nullptr;
int (*real_setup)(int) = nullptr;
void (*real_stage_won)() = nullptr;

int title() {
    ++title_runs;
    session_click(session, 1500, 190, 380); // new game
    return real_title();
}

int setup(int continuing) {
    if (!continuing) {
        // Two players, the fourth money row, the second travel mode, the
        // character, the first map, start.
        auto arrow = [](uint32_t at, int setting) {
            session_click(session, at, SETUP_ARROW_LEFT + 10,
                          SETUP_ARROW_TOP + SETUP_ARROW_STEP * setting + 12);
        };
        arrow(1000, 0);
        session_click(session, 1300, 581, 251 + 11);
        arrow(1600, 1);
        session_click(session, 1900, 570, 287 + 23 * 3 + 11);
        arrow(2200, 2);
        session_click(session, 2500, 581, 323 + 23 + 11);
        session_click(session, 2800, GRID_CELL_X + GRID_CELL * CHARACTER + 36, GRID_CELL_Y + 36);
        session_click(session, 3100, 540, SETUP_MAP_TOP + SETUP_MAP_H * MAP_ORDER[0] + 16);
        session_click(session, 3400, 495, 195);
    }
    const uint32_t t = plat_tick_count();
    const int r = real_setup(continuing);
    setups.push_back({continuing, r, game_player_count, game_travel_mode, game_map,
                      player_table[0].character, player_table[0].setup_control,
                      player_table[1].character, game_start_money, plat_tick_count() - t});
    return r;
}

// Once the computer has entered the board, the human's next turn begins
// with the computer's bankruptcy.
void step() {
    if (game_end_code == END_RUNNING && game_active_mover == 0 &&
        player_table[1].control == CTRL_COMPUTER) {
        boards_on.push_back(game_map);
        player_go_bankrupt(1);
        return;
    }
    real_step();
}

// On the board the human goes by the keys: Space to go, N to decline, the
// right button to close what opened.
uint32_t next_turn_keys = 0;
void turn_keys() {
    if (screen_depth < 1 || screen_procs[1] != app_services.board_wndproc ||
        plat_tick_count() < next_turn_keys)
        return;
    next_turn_keys = plat_tick_count() + 700;
    // The magic house has no way out but a fate: the harmless stay.
    if (screen_depth >= 2 && decision_last_kind() == DECIDE_MAGIC_FATE) {
        const MagicFate& stay = magic_fate_table[FATE_STAY];
        session_click(session, 100, stay.x + 10, stay.y + 10);
        return;
    }
    session_at(session, 100, SCRIPT_KEY_DOWN, 0x20);
    session_at(session, 120, SCRIPT_KEY_UP, 0x20);
    session_at(session, 333, SCRIPT_KEY_DOWN, 0x4E);
    session_at(session, 353, SCRIPT_KEY_UP, 0x4E);
    session_at(session, 566, SCRIPT_RIGHT_DOWN);
    session_at(session, 586, SCRIPT_RIGHT_UP);
}

void stage_won_then_choose() {
    ++stage_wins;
    const int next = stage_wins < 4 ? MAP_ORDER[stage_wins] : -1;
    if (next >= 0) {
        // The next map's row once the chooser has come to rest.
        session_click(session, 2500, 320, 280 + 40 * next + 20);
    } else {
        won_maps_before_films = campaign_maps_cleared[0] + campaign_maps_cleared[1] +
                                campaign_maps_cleared[2] + campaign_maps_cleared[3];
        shown_clear();
    }
    real_stage_won();
    if (next < 0) {
        films_shown =
            shown_find_text(Shown::Film, "END.AVI") && shown_find_text(Shown::Film, "OVER.AVI");
        quit_after_films = app_quit != 0;
    }
}

} // namespace campaign

TEST(GameSession, ACampaignGoesFromMapToMapThroughTheChooserAndEndsInTheFilms) {
    using namespace campaign;
    setenv("KARVO_HEADLESS", "1", 1);
    unsetenv("KARVO_SCRIPT");
    ASSERT_TRUE(plat_init());
    app_reset();
    game_world_reset();
    session = ScriptedSession{};
    setups.clear();
    boards_on.clear();
    title_runs = stage_wins = won_maps_before_films = 0;
    films_shown = quit_after_films = false;
    next_turn_keys = 0;
    plat_script_set_close_at_end(true);
    plat_script_set_time_limit(30u * 60 * 1000); // a hang ends the run
    session_click(session, 500, 320, 240);       // the opening film skipped
    real_step = app_services.turn_take_step;
    real_title = app_services.title_run;
    real_setup = app_services.setup_run;
    real_stage_won = app_services.stage_won;
    app_services.turn_take_step = step;
    app_services.title_run = title;
    app_services.setup_run = setup;
    app_services.stage_won = stage_won_then_choose;
    app_services.intro_run = [] {};
    app_services.cursor_start = [] {
        cursor_start();
        plat_set_cursor_hook([] {
            cursor_serve_ticks();
            turn_keys();
            session_keep_alive();
        });
    };
    const int code = app_main(nullptr, nullptr, "", 1);
    plat_set_cursor_hook(nullptr);
    const bool closed_by_limit = plat_tick_count() >= 30u * 60 * 1000;
    plat_shutdown();
    app_reset();
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(closed_by_limit) << "the campaign never ended";
    EXPECT_EQ(title_runs, 1) << "never back at the title";
    EXPECT_EQ(boards_on, std::vector<int>(std::begin(MAP_ORDER), std::end(MAP_ORDER)));
    ASSERT_EQ(setups.size(), 4u);
    const SetupSeen& first = setups[0];
    EXPECT_EQ(first.continuing, 0);
    EXPECT_EQ(first.players, 2);
    EXPECT_EQ(first.money, setup_money_table[3]);
    EXPECT_EQ(first.travel, 1);
    EXPECT_EQ(first.seat0_character, CHARACTER);
    std::vector<int> opponents = {first.opponent};
    for (size_t i = 0; i < setups.size(); ++i) {
        const SetupSeen& s = setups[i];
        SCOPED_TRACE("setup " + std::to_string(i));
        EXPECT_EQ(s.result, 1);
        EXPECT_EQ(s.map, MAP_ORDER[i]) << "the chooser's map";
        EXPECT_EQ(s.seat0_control, CTRL_HUMAN);
        if (i == 0) continue;
        // A continuing setup starts by itself with what the first one chose.
        EXPECT_EQ(s.continuing, 1);
        EXPECT_LT(s.took_ms, 15000u) << "it waited for input";
        EXPECT_EQ(s.players, first.players);
        EXPECT_EQ(s.money, first.money);
        EXPECT_EQ(s.travel, first.travel);
        EXPECT_EQ(s.seat0_character, CHARACTER);
        EXPECT_EQ(std::count(opponents.begin(), opponents.end(), s.opponent), 0)
            << "a beaten opponent came back: " << s.opponent;
        opponents.push_back(s.opponent);
    }
    EXPECT_EQ(stage_wins, 4);
    EXPECT_EQ(won_maps_before_films, 3);
    EXPECT_TRUE(films_shown) << "END.AVI then OVER.AVI";
    EXPECT_TRUE(quit_after_films);
}

TEST(GameSession, TheRealProgramPlaysTheSameSessionAndExitsCleanly) {
    const fs::path program = fs::path(KARVO_TEST_DATA_DIR).parent_path() / "karvo";
    ASSERT_TRUE(fs::exists(program)) << program;
    const fs::path dir =
        fs::temp_directory_path() / ("karvo_session_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "session.txt") << session_script();
    const std::string cmd = "cd '" + dir.string() +
                            "' && env KARVO_HEADLESS=1 SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                            "KARVO_SCRIPT=session.txt '" +
                            program.string() + "' >output.txt 2>&1";
    const int status = std::system(cmd.c_str());
    std::ifstream in(dir / "output.txt");
    const std::string output((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    fs::remove_all(dir);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
    EXPECT_EQ(output.find("refused"), std::string::npos) << output;
}

} // namespace
