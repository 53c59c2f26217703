// The pointer over the windows that wait for a click: the hand-over panel and
// the full map opened from the toolbar (which takes the pointer off while its
// commands run), and the wheel and the reels a human stops, show it while
// they are open and give the mode back when they close; a computer's spin
// shows none; so do the bank's, the stock market's and the bail windows
// opened with the pointer off. Watched from the platform's hook at every
// wait.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/jail_screen.h"
#include "board/map.h"
#include "board/spinner.h"
#include "board/status.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/cursor.h"
#include "finance/bank_screen.h"
#include "finance/stock.h"
#include "finance/stock_screen.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/popup_fixture.h"

namespace {

// The pointer as each wait of the window found it.
struct Sample {
    int depth;
    bool shown;
};
std::vector<Sample> samples;
bool watching = false;
std::string shot_name; // written once, a while into the window, with KARVO_SHOT_DIR set

void watch_pointer() {
    cursor_serve_ticks(); // the cursor's own hook, which this one stands in for
    if (!watching) return;
    samples.push_back(
        {screen_depth, cursor_get_mode() == 1 && (cursor_state.cursor_flags & CURSOR_DRAWN) != 0});
    if (samples.size() == 40 && !shot_name.empty()) PopupTest::save_shot(shot_name);
}

class PointerWindows : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        ASSERT_TRUE(set_up_two_players()) << map_last_error();
        game_active_mover = 0;
        board_load_graphics();
        board_draw_map_view(0);
        board_flush_dirty();
        cursor_start();
        cursor_set_shape(41, 1, 0); // the normal pointer, as the start-up sets it
        app_active = 1;
        samples.clear();
        plat_set_cursor_hook(watch_pointer);
        t0 = plat_tick_count();
    }
    void TearDown() override {
        watching = false;
        plat_set_cursor_hook(nullptr);
        board_input_enabled = 0;
        board_free_graphics();
        PopupTest::TearDown();
    }
};

// Every wait of the window (the samples at depth at least `depth`) saw the
// pointer shown, or none did.
void expect_pointer(int depth, bool shown) {
    size_t seen = 0;
    for (const Sample& s : samples) {
        if (s.depth < depth) continue;
        ++seen;
        EXPECT_EQ(s.shown, shown) << "at depth " << s.depth;
    }
    EXPECT_GT(seen, 0u) << "the window waited";
}

TEST_F(PointerWindows, TheHandOverPanelAndTheFullMapShowThePointerWhileOpen) {
    for (int command : {2, 5}) {
        SCOPED_TRACE(command);
        samples.clear();
        t0 = plat_tick_count();
        shot_name = "pointer_command_" + std::to_string(command);
        cursor_set_mode(1); // the human's turn: the pointer is up
        board_input_enabled = 1;
        move(t0 + 50, 300, 300);
        right_click(400, 300, 300); // both close on the right button
        watching = true;
        board_toolbar_command(command);
        watching = false;
        EXPECT_EQ(screen_depth, 0);
        expect_pointer(1, true);
    }
}

TEST_F(PointerWindows, TheWheelAndTheReelsAHumanStopsShowThePointerAndGiveItBack) {
    const struct {
        const char* what;
        int mover;
        bool reels;
    } cases[] = {
        {"the human's wheel", 0, false},
        {"the human's reels", 0, true},
        {"a computer's wheel", 1, false},
        {"a computer's reels", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        samples.clear();
        game_active_mover = c.mover;
        t0 = plat_tick_count();
        shot_name =
            std::string("pointer_") + (c.reels ? "reels" : "wheel") + (c.mover ? "_computer" : "");
        cursor_set_mode(0); // off while the move runs, as the go button leaves it
        point_and_click(300, 220, 320);
        point_and_click(3000, 220, 320);
        watching = true;
        if (c.reels)
            spin_god_amount(SPIN_BIG_WEALTH);
        else
            spin_building_prompt(WHEEL_HOTEL_DAYS, "饭店");
        watching = false;
        expect_pointer(0, c.mover == 0);
        EXPECT_EQ(cursor_get_mode(), 0) << "given back";
    }
}

// A press of the left button at (x, y), or of the right one.
constexpr int RIGHT = -1;
struct Press {
    uint32_t ms;
    int x = 636, y = 4; // by default away from any button
};

// The windows opened for a human while the pointer is off (a landing in the
// middle of his move, the start of his turn, the new day, a toolbar command):
// each shows it while it waits for his clicks and gives the mode back.
TEST_F(PointerWindows, EachWindowThatWaitsForClicksShowsThePointerAndGivesTheModeBack) {
    const struct {
        const char* what;
        const char* shot;
        void (*open)();
        std::vector<Press> presses;
    } windows[] = {
        {"the bank's deposit window", "pointer_deposit", bank_deposit_screen, {{400, RIGHT}}},
        {"the bank's loan counter",
         "pointer_counter",
         [] { bank_loan_screen(0, 0); },
         {{400, RIGHT}, {800, RIGHT}, {1200, RIGHT}, {1600, RIGHT}}},
        {"the bank clerk's reminder",
         "pointer_reminder",
         bank_clerk_reminder,
         {{400}, {800}, {1200, RIGHT}, {1600, RIGHT}}},
        {"the stock market closed for the new year",
         "",
         [] { stock_open_exchange(0); },
         {{400, RIGHT}}},
        {"the stock exchange",
         "pointer_stocks",
         [] {
             const uint32_t today = game_date;
             game_date = cal_pack(1998, 1, 6); // a working day
             stock_open_exchange(0);
             game_date = today;
         },
         {{1000, RIGHT}, {1400, RIGHT}}},
        {"the dividends", "pointer_dividends", stock_show_dividends, {{400}, {800, RIGHT}}},
        // The cell of the held computer, whom he is short of points for;
        // the balloon hurried, then away.
        {"the jail's bail screen",
         "pointer_jail",
         jail_bail_visit,
         {{400, JAIL_CELL_X[1] + 60, JAIL_CELL_Y[1] + 60}, {900}, {1400, RIGHT}}},
        // The same in the hospital; her greeting and goodbye are hurried.
        {"the hospital's bail screen",
         "pointer_hospital",
         jail_hospital_bail_visit,
         {{300},
          {600, HOSPITAL_CELL_X[1] + 60, HOSPITAL_CELL_Y[1] + 50},
          {1100},
          {1600, RIGHT},
          {2000}}},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.what);
        samples.clear();
        shot_name = w.shot;
        jail_flags.fill(0);
        hospital_flags.fill(0);
        jail_flags[1] = hospital_flags[1] = 1; // the computer is held in both
        player_table[1].jail_days = player_table[1].hospital_days = 4;
        player_table[0].points = 0;
        t0 = plat_tick_count();
        cursor_set_mode(0); // off while the move runs, as the go button leaves it
        move(t0 + 50, 600, 300);
        for (const Press& p : w.presses) {
            if (p.x == RIGHT)
                right_click(p.ms, 300, 300);
            else
                point_and_click(p.ms, p.x, p.y);
        }
        watching = true;
        w.open();
        watching = false;
        EXPECT_EQ(screen_depth, 0);
        expect_pointer(1, true);
        EXPECT_EQ(cursor_get_mode(), 0) << "given back";
    }
}

} // namespace
