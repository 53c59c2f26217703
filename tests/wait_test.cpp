#include <gtest/gtest.h>

#include "engine/shown.h"
#include "engine/wait.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

class Waits : public PopupTest {};

struct WaitCase {
    const char* name;
    bool skippable;
    uint32_t ms;
    PlatScriptKind event; // SCRIPT_NOTHING: none
    uint32_t event_at;
    int result;
    uint32_t elapsed;
};

TEST_F(Waits, EndAfterTheirTimeOrAtTheFirstReleaseWhenSkippable) {
    const WaitCase cases[] = {
        {"skippable 0 ms", true, 0, SCRIPT_NOTHING, 0, 0, 0},
        {"plain 0 ms", false, 0, SCRIPT_NOTHING, 0, 0, 0},
        {"key-up ends a skippable wait", true, 5000, SCRIPT_KEY_UP, 300, 1, 300},
        {"left button up ends it", true, 5000, SCRIPT_LEFT_UP, 200, 1, 200},
        {"right button up ends it", true, 5000, SCRIPT_RIGHT_UP, 100, 1, 100},
        {"a key-down does not", true, 1000, SCRIPT_KEY_DOWN, 200, 0, 1000},
        {"a plain wait runs its time", false, 1000, SCRIPT_KEY_UP, 200, 0, 1000},
        {"nothing happens", true, 1500, SCRIPT_NOTHING, 0, 0, 1500},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t t0 = plat_tick_count();
        if (c.event != SCRIPT_NOTHING) at(t0 + c.event_at, c.event, 'A', -1);
        const int r = c.skippable ? wait_ms_skippable(c.ms) : (wait_ms(c.ms), 0);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(plat_tick_count() - t0, c.elapsed);
        plat_drain_input();
    }
}

TEST_F(Waits, DropInputButKeepPostedMessagesQuitPaintAndTimers) {
    const uint32_t t0 = plat_tick_count();
    plat_post_message(WM_USER + 50, 7, 0);
    plat_post_quit_message(3);
    plat_invalidate_rect(nullptr);
    plat_set_timer(99, 100);
    at(t0 + 50, SCRIPT_KEY_DOWN, 'B');
    at(t0 + 60, SCRIPT_LEFT_DOWN, 10, 10);
    wait_ms(500);
    EXPECT_EQ(plat_tick_count() - t0, 500u);
    PlatMessage m;
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_USER + 50);
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_QUIT) << "the key and the button pressed during the wait are gone";
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_PAINT);
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wparam, 99u);
}

TEST_F(Waits, ServeTheEndOfAMusicPieceAsTheMainWindowDoes) {
    plat_post_message(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    plat_post_message(WM_USER + 51, 0, 0);
    wait_ms(100);
    EXPECT_EQ(count_calls("music_on_notify"), 1);
    PlatMessage m;
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_USER + 51);
    for (int i = 0; i < 8 && plat_peek_message(&m, true); ++i)
        EXPECT_NE(m.message, MM_MCINOTIFY) << "served once, then gone";
}

TEST_F(Waits, ReturnAtOnceWithoutADisplayAfterRecordingThemselves) {
    PlatSurface* back = back_surface;
    back_surface = nullptr;
    shown_clear();
    const uint32_t t0 = plat_tick_count();
    EXPECT_EQ(wait_ms_skippable(5000), 0);
    wait_ms(700);
    EXPECT_EQ(plat_tick_count(), t0);
    ASSERT_EQ(shown_count(Shown::Wait), 2u);
    EXPECT_EQ(shown_log()[0].ms, 5000u);
    EXPECT_EQ(shown_log()[1].ms, 700u);
    back_surface = back;
}

TEST_F(Waits, EndWhenTheWindowIsClosed) {
    const uint32_t t0 = plat_tick_count();
    close_window(t0 + 250);
    wait_ms(10000);
    EXPECT_EQ(plat_tick_count() - t0, 250u);
}

} // namespace
