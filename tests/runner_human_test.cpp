// The runner's human session: a scripted headless run of the board screen
// writes the screen as a BMP; without the human's flags the runner's printout
// is the computer-only game's, line for line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "runner_game.h"

namespace {

struct RunResult {
    int status = -1;
    std::string out;
};

// Runs a shell command line; what it prints on standard output is kept.
RunResult run_command(const std::string& command) {
    RunResult r;
    std::FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int w = pclose(p);
    r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    return r;
}

RunResult run_runner(const std::string& args) {
    return run_command(std::string(KARVO_RUNNER_PROGRAM) + " " + args + " 2>/dev/null");
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::string day_lines;
void collect_day(void*) {
    day_lines += runner_day_line() + "\n";
}

} // namespace

TEST(RunnerHuman, AScriptedSessionWritesTheBoardScreenAsAShot) {
    const std::string script = "human_session.txt";
    {
        std::ofstream s(script);
        s << "# let the board come up, then close\n3000 nothing\n6000 close\n";
    }
    for (int map = 0; map < 4; ++map) {
        SCOPED_TRACE(map);
        const std::string shot = "human_map" + std::to_string(map) + ".bmp";
        std::remove(shot.c_str());
        const RunResult r = run_runner("7 " + std::to_string(map) + " 4 30 --human --script " +
                                       script + " --shot " + shot);
        ASSERT_EQ(r.status, 0);
        const std::vector<uint8_t> bmp = read_file(shot);
        ASSERT_GE(bmp.size(), 54u + 640u * 480u * 3u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(le32(bmp, 18), 640u);
        EXPECT_EQ(le32(bmp, 22), 480u);
        EXPECT_EQ(bmp[28], 24);
        // The board view, (0, 40)-(440, 480): many colours, not one fill.
        // Rows are stored bottom up.
        std::vector<bool> seen(1 << 15, false);
        int colours = 0;
        for (int y = 40; y < 480; y += 2)
            for (int x = 0; x < 440; x += 2) {
                const size_t at = 54 + static_cast<size_t>(479 - y) * 640 * 3 + x * 3;
                const int c = (bmp[at] >> 3) | (bmp[at + 1] >> 3) << 5 | (bmp[at + 2] >> 3) << 10;
                if (!seen[c]) ++colours, seen[c] = true;
            }
        EXPECT_GE(colours, 8);
    }
}

TEST(RunnerHuman, AScriptOrAShotWithoutTheHumanIsABadArgument) {
    EXPECT_EQ(run_runner("7 0 2 5 --shot x.bmp").status, 2);
    EXPECT_EQ(run_runner("7 0 2 5 --script x.txt").status, 2);
    EXPECT_EQ(run_runner("7 0 2 5 --human --script").status, 2);
    EXPECT_EQ(run_runner("7 0 2 5 --human --messages").status, 2);
}

TEST(RunnerHuman, AMissingOrBadScriptFailsToStartSayingWhyOnce) {
    EXPECT_EQ(run_runner("7 0 2 5 --human --script no_such_script.txt").status, 1);
    {
        std::ofstream s("bad_session.txt");
        s << "10 nothing\n20 dance\n";
    }
    const struct {
        const char* script;
        const char* why;
    } cases[] = {{"no_such_script.txt", "cannot open script no_such_script.txt in the working "
                                        "directory"},
                 {"bad_session.txt", "script line 2: cannot read \"20 dance\""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const std::string command = std::string(KARVO_RUNNER_PROGRAM) +
                                    " 7 0 2 5 --human --script " + c.script + " 2>&1 >/dev/null";
        const RunResult run = run_command(command);
        const std::string& err = run.out;
        EXPECT_EQ(run.status, 1) << err;
        EXPECT_NE(err.find(c.why), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err; // one line, no second reason
    }
}

// A data file the game cannot run without is told in the game's own box;
// the runner adds only that the game could not start, never a second,
// wrong reason.
TEST(RunnerHuman, AMissingOrDamagedDataFileIsToldByTheGameAlone) {
    namespace fs = std::filesystem;
    const fs::path data = fs::absolute("human_bad_data");
    const struct {
        const char* name;
        bool damaged; // a file of junk in its place, else none at all
    } cases[] = {{"PANEL.MKF", false}, {"MAP.MKF", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(data);
        fs::create_directories(data);
        for (const fs::directory_entry& e : fs::directory_iterator(KARVO_TEST_DATA_DIR))
            if (e.path().filename() != c.name)
                fs::create_symlink(e.path(), data / e.path().filename());
        if (c.damaged) std::ofstream(data / c.name) << "not an archive";
        const std::string command = "KARVO_DATA=" + data.string() + " " + KARVO_RUNNER_PROGRAM +
                                    " 7 0 2 5 --human 2>&1 >/dev/null";
        const RunResult run = run_command(command);
        const std::string& err = run.out;
        EXPECT_EQ(run.status, 1) << err;
        EXPECT_NE(err.find(c.name), std::string::npos) << err;
        EXPECT_NE(err.find("the game could not start"), std::string::npos) << err;
        EXPECT_EQ(err.find("cannot open the window"), std::string::npos) << err;
    }
    fs::remove_all(data);
}

TEST(RunnerHuman, WithoutTheFlagsTheRunnerPrintsTheComputerOnlyGame) {
    const RunResult r = run_runner("11 2 3 20");
    ASSERT_EQ(r.status, 0);
    RunnerOptions options;
    options.seed = 11;
    options.map = 2;
    options.players = 3;
    options.days = 20;
    std::string error;
    ASSERT_TRUE(runner_setup(options, &error)) << error;
    day_lines.clear();
    const RunnerResult result = runner_play(options, collect_day, nullptr);
    runner_close();
    EXPECT_EQ(r.out, day_lines + runner_final_line(result) + "\n");
}

// ---------------------------------------------------------------------------
// A whole human turn played by clicks, in this process, headless: the test
// watches the running program from the cursor's hook (which the layer calls
// whenever it takes messages or lets time pass, also inside modal screens)
// and adds the next scripted input as each stage comes up.

#include "board/board_panel_sets.h"
#include "board/board_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/view.h"
#include "engine/cursor.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "engine/util.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "support/human_session.h"
#include "support/scripted_session.h"

namespace {

struct Session : ScriptedSession {
    // What was seen, stage by stage.
    bool box_with_cursor_on_go = false;
    bool dice_drawn = false;
    int pop_up_cursor_checks = 0;
    bool bought = false;
    bool computers_played = false;
    bool next_turn_enabled = false;
    bool map_window_opened = false;
    bool map_window_closed = false;
    bool cards_and_items = false;
    bool card_window = false; // the card command opened the card window
    bool item_menu = false;   // the item command opened the item menu
    bool rotated = false;
    bool tab_selected = false;
    bool popup_shown = false;
    int buy_square = 0;
    int move_x = -1, move_y = -1; // a scripted move over the pop-up still to check
    int yes_x = 0, yes_y = 0;     // where the pop-up put the mouse: its yes half
    int questions = 0;
    int rotation = 0;
    std::vector<uint16_t> before; // the display before the click on the board
    bool other_moved = false;     // another mover's turn came since the human's go
    int go_clicks = 0;
};
Session s;

void fail(const std::string& what) {
    session_fail(s, what);
}

void at(uint32_t delay, PlatScriptKind kind, int a = -1, int b = -1) {
    session_at(s, delay, kind, a, b);
}

// The rectangle of pixels where the display differs from the back buffer,
// within r; empty (left >= right) when none.
PlatRect differing(const PlatRect& r) {
    PlatRect d{r.right, r.bottom, r.left, r.top};
    for (int y = std::max(0, r.top); y < std::min(480, r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(640, r.right); ++x)
            if (surface_pixel(primary_surface, x, y) != surface_pixel(back_surface, x, y)) {
                d.left = std::min(d.left, x), d.top = std::min(d.top, y);
                d.right = std::max(d.right, x + 1), d.bottom = std::max(d.bottom, y + 1);
            }
    return d;
}

bool inside(const PlatRect& in, const PlatRect& out) {
    return in.left >= out.left && in.top >= out.top && in.right <= out.right &&
           in.bottom <= out.bottom;
}

// The control box is on the display with the mouse on its go button and the
// cursor drawn there.
bool box_waits_for_go() {
    int mx, my, gx, gy;
    plat_get_cursor_pos(&mx, &my);
    board_go_button_point(&gx, &gy);
    const bool title_bar = surface_pixel(primary_surface, board_box_x + 4, board_box_y + 4) !=
                           surface_pixel(back_surface, board_box_x + 4, board_box_y + 4);
    return board_input_enabled && mx == gx && my == gy && cursor_get_mode() == 1 &&
           (cursor_state.cursor_flags & CURSOR_DRAWN) && title_bar;
}

// A die face drawn on the display inside the board view: every opaque
// pixel of the frame found at one place.
bool die_on_display(int frame) {
    const int slot = mkf_open("PANEL.MKF");
    void* set = slot >= 0 ? mkf_read(slot, PANEL_DICE, nullptr, nullptr) : nullptr;
    if (slot >= 0) mkf_close(slot);
    const ImageRecord* f = set ? spr_frame(set, frame) : nullptr;
    bool found = false;
    if (f) {
        for (int y = 40; y + f->height <= 480 && !found; ++y)
            for (int x = 0; x + f->width <= 440 && !found; ++x) {
                bool all = true;
                for (int fy = 0; fy < f->height && all; ++fy)
                    for (int fx = 0; fx < f->width && all; ++fx) {
                        const uint16_t p = f->pixels[fy * f->width + fx];
                        if (p != 0 && surface_pixel(primary_surface, x + fx, y + fy) != p)
                            all = false;
                    }
                found = all;
            }
    }
    if (set) spr_unlink(set), std::free(set);
    return found;
}

void director() {
    if (!primary_surface || !back_surface) return;
    const uint32_t now = plat_tick_count();
    if (now > 20u * 60u * 1000u && s.stage < 100) { // a stage that never came
        fail("the session did not reach its end");
        s.stage = 100;
        at(10, SCRIPT_CLOSE);
        return;
    }
    if (now < s.next_at) {
        session_keep_alive();
        return;
    }
    const int m = game_active_mover;
    switch (s.stage) {
    case 0: // the human's first turn: the box waits for the go click
        if (m == 0 && board_input_enabled && screen_depth == 1) {
            if (!box_waits_for_go()) fail("the first turn's box or cursor");
            s.box_with_cursor_on_go = box_waits_for_go();
            at(100, SCRIPT_LEFT_DOWN);
            at(150, SCRIPT_LEFT_UP);
            s.questions = static_cast<int>(shown_count(Shown::Question));
            s.stage = 1;
        }
        break;
    case 1: // the dice faces beside the mover while the roll waits
        if (const ShownEvent* e = shown_find_text(Shown::Panel, "dice ")) {
            const int value = std::atoi(e->text.c_str() + 5);
            s.dice_drawn = value >= 1 && value <= 6 && die_on_display(value - 1);
            if (!s.dice_drawn) fail("the die's face is not on the display");
            s.stage = 2;
        }
        break;
    case 2: // walked and landed: the buy question's pop-up is up
        // A landing that asks nothing ends the turn; the human throws again
        // on his next turn until he lands on a plot nobody owns.
        if (m != 0) s.other_moved = true;
        if (m == 0 && s.other_moved && board_input_enabled && screen_depth == 1 &&
            s.go_clicks < 12) {
            if (!box_waits_for_go()) fail("a later turn's box or cursor");
            at(100, SCRIPT_LEFT_DOWN);
            at(150, SCRIPT_LEFT_UP);
            s.other_moved = false;
            ++s.go_clicks;
            break;
        }
        if (static_cast<int>(shown_count(Shown::Question)) > s.questions && screen_depth == 2 &&
            cursor_get_mode() == 1) {
            s.buy_square = player_table[0].square;
            plat_get_cursor_pos(&s.yes_x, &s.yes_y);
            s.move_x = s.yes_x + 70, s.move_y = s.yes_y + 30;
            at(200, SCRIPT_MOUSE_MOVE, s.move_x, s.move_y);
            s.stage = 3;
        }
        break;
    case 3:
    case 4: { // the cursor follows the scripted mouse over the pop-up
        int x, y;
        plat_get_cursor_pos(&x, &y);
        if (x != s.move_x || y != s.move_y || cursor_state.last_x != x || cursor_state.last_y != y)
            break;
        PlatRect cursor_box;
        cursor_get_rect(&cursor_box);
        const PlatRect d = differing({0, 0, 640, 480});
        if (d.left < d.right && inside(d, cursor_box))
            ++s.pop_up_cursor_checks;
        else
            fail("the display differs from the back buffer away from the cursor");
        if (s.stage == 3) {
            s.move_x = s.yes_x, s.move_y = s.yes_y;
            at(150, SCRIPT_MOUSE_MOVE, s.move_x, s.move_y);
            s.stage = 4;
        } else {
            at(100, SCRIPT_LEFT_DOWN);
            at(150, SCRIPT_LEFT_UP);
            s.stage = 5;
        }
        break;
    }
    case 5: // answered: the plot is the human's; the computers play
        if (screen_depth == 1 && m != 0) {
            const MapSquare* sq = map_square(s.buy_square);
            const int code = sq ? sq->object : 0;
            s.bought = decision_last_kind() == DECIDE_BUY && code > OBJ_LOT_BASE &&
                       code < OBJ_FACILITY_BASE &&
                       map_lot_table[code - OBJ_LOT_BASE].owner == owner_of_seat(0);
            if (!s.bought) fail("the plot was not bought");
            s.stage = 6;
        }
        break;
    case 6: // the computers' turns, then the human's next with input enabled
        if (m != 0) s.computers_played = true;
        if (m == 0 && s.computers_played && board_input_enabled && screen_depth == 1) {
            s.next_turn_enabled = box_waits_for_go();
            if (!s.next_turn_enabled) fail("the next turn's box or cursor");
            session_toolbar(s, 100, TOOLBAR_MAP); // the map window
            s.stage = 7;
        }
        break;
    case 7:
        if (screen_depth == 2) {
            s.map_window_opened = shown_find_text(Shown::Panel, "minimap") != nullptr;
            at(200, SCRIPT_RIGHT_UP);
            s.stage = 8;
        }
        break;
    case 8:
        if (screen_depth == 1 && board_input_enabled) {
            s.map_window_closed = true;
            session_toolbar(s, 100, TOOLBAR_CARDS); // cards: the card window opens
            s.stage = 13;
        }
        break;
    case 13:
        if (screen_depth == 2) {
            s.card_window = shown_find_text(Shown::Panel, "cards") != nullptr;
            at(200, SCRIPT_RIGHT_UP); // closed, no card played
            s.stage = 14;
        }
        break;
    case 14:
        if (screen_depth == 1 && board_input_enabled) {
            session_toolbar(s, 100, TOOLBAR_ITEMS); // items: the item menu opens
            s.stage = 15;
        }
        break;
    case 15:
        if (screen_depth == 2) {
            s.item_menu = shown_find_text(Shown::Panel, "item menu") != nullptr;
            at(200, SCRIPT_RIGHT_UP);
            s.stage = 12;
        }
        break;
    case 12: // both commands ran on the human's turn and gave the input back
        s.cards_and_items = shown_count(Shown::Panel, 108) >= 1 &&
                            shown_count(Shown::Panel, 107) >= 1 && s.card_window && s.item_menu &&
                            board_input_enabled && cursor_get_mode() == 1;
        if (!s.cards_and_items) fail("the cards and items commands");
        if (screen_depth == 1 && board_input_enabled) {
            s.rotation = view_rotation;
            session_click(s, 100, 480, 290); // the minimap's rotate-right button (layout 1)
            s.stage = 9;
        }
        break;
    case 9:
        s.rotated = view_rotation == ((s.rotation + 1) & 7);
        if (!s.rotated) fail("the view did not turn");
        session_click(s, 100, 620, 2 * 70 + 20); // the third tab
        s.stage = 10;
        break;
    case 10: {
        s.tab_selected = board_tabs[0] == 2;
        if (!s.tab_selected) fail("the tab was not selected");
        int x, y;
        view_point_to_screen(player_table[0].x, player_table[0].y, &x, &y);
        s.before.assign(primary_surface->pixels,
                        primary_surface->pixels + 480 * (primary_surface->pitch / 2));
        at(100, SCRIPT_MOUSE_MOVE, x, y - 10); // on the player's figure
        at(150, SCRIPT_LEFT_DOWN);
        s.stage = 11;
        break;
    }
    case 11: {
        char name[32];
        util_strip_spaces(name, player_name(0));
        const bool named = shown_find_text(Shown::Panel, name) != nullptr;
        // The pop-up (139 x 116) changed the view on the display.
        int changed = 0;
        for (int y = 40; y < 480; ++y)
            for (int x = 0; x < 440; ++x)
                changed += surface_pixel(primary_surface, x, y) !=
                           s.before[y * (primary_surface->pitch / 2) + x];
        s.popup_shown = named && changed >= 139 * 116 / 2;
        if (!s.popup_shown)
            fail("the information pop-up: " + std::string(named ? "named" : "not named") + ", " +
                 std::to_string(changed) + " pixels changed");
        at(100, SCRIPT_LEFT_UP);
        at(300, SCRIPT_CLOSE);
        s.stage = 100;
        break;
    }
    default:
        break;
    }
    session_keep_alive();
}

void hook() {
    cursor_serve_ticks();
    director();
}

void watch_the_game() {
    shown_clear(); // what an earlier game of this process showed is not this session's
    settings_set_side_panel_layout(1); // side panel and minimap: tabs and rotation buttons
    plat_set_cursor_hook(hook);
}

} // namespace

TEST(RunnerHuman, AHumanTurnPlaysByClicksThenTheComputersAndTheNextTurn) {
    s = Session{};
    RunnerOptions options;
    options.seed = 1;
    options.map = 0;
    options.players = 3;
    options.days = 30;
    std::string error;
    const int status = session_run_human("human_turn.txt", options, watch_the_game, &error);
    ASSERT_EQ(status, 0) << error;
    for (const std::string& f : s.failures)
        ADD_FAILURE() << f;
    EXPECT_EQ(s.stage, 100);
    EXPECT_TRUE(s.box_with_cursor_on_go);
    EXPECT_TRUE(s.dice_drawn);
    EXPECT_EQ(s.pop_up_cursor_checks, 2);
    EXPECT_TRUE(s.bought);
    EXPECT_TRUE(s.computers_played);
    EXPECT_TRUE(s.next_turn_enabled);
    EXPECT_TRUE(s.map_window_opened);
    EXPECT_TRUE(s.map_window_closed);
    EXPECT_TRUE(s.cards_and_items);
    EXPECT_TRUE(s.rotated);
    EXPECT_TRUE(s.tab_selected);
    EXPECT_TRUE(s.popup_shown);
}
