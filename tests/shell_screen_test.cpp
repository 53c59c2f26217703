#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/game_state.h"
#include "engine/film.h"
#include "engine/music.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/headless.h"

namespace {

// What the test screens saw: "<screen>:<message>" and results.
std::vector<std::string> g_log;
void log(const std::string& s) {
    g_log.push_back(s);
}

class Screens : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        g_log.clear();
        open_window();
        plat_script_set_close_at_end(false);
    }
};

// Inner screen: closes with its argument + 1 on start.
int32_t inner_proc(PlatWindow, uint32_t msg, uint32_t, int32_t lparam) {
    if (msg == WM_SCREEN_START) {
        log("inner start " + std::to_string(lparam));
        screen_close(lparam + 1);
    }
    return 0;
}

// Outer screen: on start opens the inner screen twice from its handler,
// then closes with the sum of what they returned.
int32_t outer_proc(PlatWindow, uint32_t msg, uint32_t, int32_t lparam) {
    if (msg == WM_SCREEN_START) {
        log("outer depth " + std::to_string(screen_depth));
        int32_t a = screen_run(inner_proc, lparam);
        log("outer got " + std::to_string(a) + " at depth " + std::to_string(screen_depth));
        int32_t b = screen_run(inner_proc, 10);
        log("outer got " + std::to_string(b));
        plat_post_message(1100, 0, 0);
    }
    if (msg == 1100) screen_close(1000);
    return 0;
}

TEST_F(Screens, NestedScreensReturnTheirResultsToTheHandlerThatOpenedThem) {
    EXPECT_EQ(screen_run(outer_proc, 4), 1000);
    EXPECT_EQ(screen_depth, 0);
    EXPECT_EQ(g_log,
              (std::vector<std::string>{"outer depth 1", "inner start 4", "outer got 5 at depth 1",
                                        "inner start 10", "outer got 11"}));
}

// Posts two messages, then its close, then one more.
int32_t closing_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START) {
        plat_post_message(1101, 0, 0);
        plat_post_message(1102, 0, 0);
        screen_close(6);
        plat_post_message(1103, 0, 0);
    } else if (msg >= 1101 && msg <= 1103) {
        log("closing " + std::to_string(msg));
    }
    return 0;
}

TEST_F(Screens, MessagesQueuedBeforeACloseStillReachTheClosingScreen) {
    EXPECT_EQ(screen_run(closing_proc, 0), 6);
    EXPECT_EQ(g_log, (std::vector<std::string>{"closing 1101", "closing 1102"}));
    PlatMessage m;
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, 1103u); // left for whoever is below
}

// Closes twice: only the first close counts.
int32_t double_close_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START) {
        screen_close(5);
        screen_close(6);
    }
    return 0;
}

// Opens the double-closing screen, then waits for a message before closing.
int32_t patient_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START) {
        log("inner returned " + std::to_string(screen_run(double_close_proc, 0)));
        plat_post_message(1104, 0, 0);
    } else if (msg == 1104) {
        log("patient still open");
        screen_close(9);
    }
    return 0;
}

TEST_F(Screens, ASecondCloseDoesNotEndTheScreenBelow) {
    EXPECT_EQ(screen_run(patient_proc, 0), 9);
    EXPECT_EQ(g_log, (std::vector<std::string>{"inner returned 5", "patient still open"}));
}

// Closes itself, then opens a screen from the same handler: its close must
// wait until that screen has ended.
int32_t early_close_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START) {
        screen_close(21);
        log("inner returned " + std::to_string(screen_run(patient_proc, 0)));
    }
    return 0;
}

TEST_F(Screens, ACloseForAnOuterScreenWaitsForTheScreensAboveIt) {
    EXPECT_EQ(screen_run(early_close_proc, 0), 21);
    EXPECT_EQ(g_log, (std::vector<std::string>{"inner returned 5", "patient still open",
                                               "inner returned 9"}));
}

TEST_F(Screens, AStaleCloseIsDroppedAtTheMainLoopAndByLaterScreens) {
    // A close message of a screen that no longer exists.
    plat_post_message(WM_SCREEN_END, 12345, 77);
    EXPECT_EQ(screen_run(closing_proc, 0), 6);
}

// Timer screens: the lower one counts its timer messages and opens the upper
// one at its second; the upper one closes at its third own timer.
std::vector<uint32_t> g_lower_ticks, g_upper_ticks;
int g_lower_foreign = 0;

int32_t upper_timer_proc(PlatWindow, uint32_t msg, uint32_t wparam, int32_t) {
    if (msg == WM_SCREEN_START) screen_timer_start(70);
    if (msg == WM_TIMER && screen_timer_is_mine(wparam)) {
        g_upper_ticks.push_back(plat_tick_count());
        if (g_upper_ticks.size() == 3) {
            screen_timer_stop();
            screen_close(0);
        }
    }
    return 0;
}

int32_t lower_timer_proc(PlatWindow, uint32_t msg, uint32_t wparam, int32_t) {
    if (msg == WM_SCREEN_START) screen_timer_start(50);
    if (msg == WM_TIMER) {
        if (!screen_timer_is_mine(wparam)) {
            ++g_lower_foreign;
            return 0;
        }
        g_lower_ticks.push_back(plat_tick_count());
        if (g_lower_ticks.size() == 2) screen_run(upper_timer_proc, 0);
        if (g_lower_ticks.size() == 4) {
            screen_timer_stop();
            screen_close(0);
        }
    }
    return 0;
}

TEST_F(Screens, ACoveredScreensTimerIsSilentAndResumesWhenUncovered) {
    g_lower_ticks.clear();
    g_upper_ticks.clear();
    g_lower_foreign = 0;
    screen_run(lower_timer_proc, 0);
    EXPECT_EQ(g_upper_ticks, (std::vector<uint32_t>{170, 240, 310}));
    // Nothing reached the lower screen while the upper one was open.
    ASSERT_EQ(g_lower_ticks.size(), 4u);
    EXPECT_EQ(g_lower_ticks[0], 50u);
    EXPECT_EQ(g_lower_ticks[1], 100u);
    EXPECT_GE(g_lower_ticks[2], 310u);
    EXPECT_EQ(g_lower_ticks[3], g_lower_ticks[2] + 50);
    EXPECT_EQ(g_lower_foreign, 0);
}

int32_t deep_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START) {
        if (screen_depth < 20) {
            int32_t r = screen_run(deep_proc, 0);
            log("depth " + std::to_string(screen_depth) + " got " + std::to_string(r));
        }
        screen_close(screen_depth);
    }
    return 0;
}

TEST_F(Screens, APushBeyondDepthFifteenIsRefused) {
    EXPECT_EQ(screen_run(deep_proc, 0), 1);
    ASSERT_FALSE(g_log.empty());
    EXPECT_EQ(g_log.front(), "depth 15 got 0"); // the sixteenth was not opened
    EXPECT_EQ(g_log.back(), "depth 1 got 2");
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(Screens, AtDepthZeroMessagesGoToTheDefaultProcedure) {
    EXPECT_EQ(app_wndproc(app_hwnd, 1100, 0, 0), 0);
    plat_invalidate_rect(nullptr);
    EXPECT_EQ(app_wndproc(app_hwnd, WM_PAINT, 0, 0), 0);
    PlatMessage m;
    EXPECT_FALSE(plat_peek_message(&m, true)); // the default procedure validated the window
}

TEST_F(Screens, TheBoardIsPushedWithoutALoopAndFlagsTheMoverForItsStep) {
    screen_push_board(1);
    EXPECT_EQ(screen_depth, 1);
    EXPECT_EQ(screen_procs[1], app_services.board_wndproc);
    EXPECT_TRUE(actor_anim_table[0].flags & ANIM_NEEDS_STEP);
    PlatMessage m;
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_SCREEN_START);
    plat_dispatch_message(&m);
    screen_pop_board();
    EXPECT_EQ(screen_depth, 0);
    EXPECT_EQ(calls_among({"music_next_background 0", "board_start", "music_stop"}),
              (std::vector<std::string>{"music_next_background 0", "board_start", "music_stop"}));
}

class Activation : public HeadlessTest {};

TEST_F(Activation, OnlyLaterActivationsRestoreAndResumeTheMedia) {
    avi_playing = 1;
    music_midi_on = 1;
    music_cd_on = 1;
    open_window();
    EXPECT_EQ(app_active, 1); // the first activation arrived with the window
    EXPECT_EQ(app_was_inactive, 0);
    EXPECT_TRUE(headless_calls.empty()); // and resumed nothing
    music_cd_on = 0;
    activate(0, false);
    activate(0, true);
    PlatMessage m;
    plat_peek_message(&m, true);
    EXPECT_EQ(app_active, 1);
    EXPECT_EQ(app_was_inactive, 1);
    EXPECT_EQ(calls_among({"mci pause vfw", "mci pause mid", "mci resume vfw", "mci resume mid"}),
              (std::vector<std::string>{"mci pause vfw", "mci pause mid", "mci resume vfw",
                                        "mci resume mid"}));
    avi_playing = 0;
    music_midi_on = 0;
    music_cd_on = 1;
    activate(1, false);
    activate(1, true);
    plat_idle(PLAT_WAIT_FOREVER);
    plat_peek_message(&m, true);
    EXPECT_EQ(calls_among({"mci stop cdtrack", "mci play cdtrack notify"}),
              (std::vector<std::string>{"mci stop cdtrack", "mci play cdtrack notify"}));
    music_cd_on = 0;
}

TEST_F(Screens, MediaNotificationsGoToTheFilmOrTheMusicOnlyWhenSuccessful) {
    app_wndproc(app_hwnd, MM_MCINOTIFY, 4, 0); // aborted: ignored
    app_wndproc(app_hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    avi_playing = 1;
    avi_device = 7;
    app_wndproc(app_hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 7);
    avi_playing = 0;
    avi_device = 0;
    EXPECT_EQ(calls_among({"music_on_notify", "avi_on_end"}),
              (std::vector<std::string>{"music_on_notify", "avi_on_end"}));
}

// The notification names its device: while a film plays, the end of a music
// piece goes to the music and leaves the film running.
TEST_F(Screens, DuringAFilmOnlyTheFilmsOwnDeviceEndsIt) {
    struct Case {
        uint32_t device; // lParam
        const char* call;
    };
    const Case cases[] = {{7, "avi_on_end"}, {3, "music_on_notify"}, {0, "music_on_notify"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        avi_playing = 1;
        avi_device = 7;
        const size_t before = calls_among({"music_on_notify", "avi_on_end"}).size();
        app_wndproc(app_hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<int32_t>(c.device));
        const std::vector<std::string> calls = calls_among({"music_on_notify", "avi_on_end"});
        ASSERT_EQ(calls.size(), before + 1);
        EXPECT_EQ(calls.back(), c.call);
    }
    avi_playing = 0;
    avi_device = 0;
}

// A screen that never closes by itself.
int32_t waiting_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START) log("waiting at " + std::to_string(screen_depth));
    if (msg == WM_SCREEN_START && screen_depth < 3)
        log("inner " + std::to_string(screen_run(waiting_proc, 0)));
    return 0;
}

TEST_F(Screens, ClosingTheWindowUnwindsEveryModalLoop) {
    close_window(500);
    EXPECT_EQ(screen_run(waiting_proc, 0), 0);
    EXPECT_EQ(screen_depth, 0);
    EXPECT_EQ(plat_tick_count(), 500u);
    EXPECT_EQ(g_log, (std::vector<std::string>{"waiting at 1", "waiting at 2", "waiting at 3",
                                               "inner 0", "inner 0"}));
    EXPECT_EQ(screen_run(waiting_proc, 0), 0); // nothing opens any more
    EXPECT_EQ(g_log.size(), 5u);
}

int32_t quitting_proc(PlatWindow, uint32_t msg, uint32_t, int32_t) {
    if (msg == WM_SCREEN_START && screen_depth == 1)
        log("inner " + std::to_string(screen_run(quitting_proc, 0)));
    if (msg == WM_SCREEN_START && screen_depth == 2) plat_post_quit_message(7);
    return 0;
}

TEST_F(Screens, AQuitInsideAModalLoopIsKeptForTheMainLoop) {
    EXPECT_EQ(screen_run(quitting_proc, 0), 0);
    EXPECT_TRUE(plat_close_requested());
    PlatMessage m;
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wparam, 7u);
}

} // namespace
