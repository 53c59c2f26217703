#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/headless.h"

namespace {

// Bounded, so a queue that never runs dry fails the test instead of hanging it.
std::vector<PlatMessage> take_all() {
    std::vector<PlatMessage> out;
    PlatMessage m;
    while (out.size() < 10000 && plat_peek_message(&m, true))
        out.push_back(m);
    return out;
}

std::vector<uint32_t> numbers(const std::vector<PlatMessage>& ms) {
    std::vector<uint32_t> out;
    for (const PlatMessage& m : ms)
        out.push_back(m.message);
    return out;
}

class Queue : public HeadlessTest {};

TEST_F(Queue, TakesPostedThenInputThenQuitThenPaintThenTimers) {
    plat_set_timer(7, 10);
    plat_clock_advance_to(50);
    plat_invalidate_rect(nullptr);
    plat_post_quit_message(3);
    plat_input_key('A', true);
    plat_post_message(1100, 1, 2);
    plat_post_message(1101, 0, 0);

    PlatMessage peeked;
    ASSERT_TRUE(plat_peek_message(&peeked, false));
    EXPECT_EQ(peeked.message, 1100u); // looking does not take it

    auto ms = take_all();
    EXPECT_EQ(numbers(ms),
              (std::vector<uint32_t>{1100, 1101, WM_KEYDOWN, WM_QUIT, WM_PAINT, WM_TIMER}));
    EXPECT_EQ(ms[0].wparam, 1u);
    EXPECT_EQ(ms[0].lparam, 2);
    EXPECT_EQ(ms[3].wparam, 3u); // the exit code
    EXPECT_EQ(ms[5].wparam, 7u); // the timer id
    PlatRect r = plat_paint_rect();
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom, 480);
}

TEST_F(Queue, PaintCarriesTheUnionOfInvalidRectangles) {
    PlatRect a{10, 20, 30, 40}, b{100, 5, 120, 25};
    plat_invalidate_rect(&a);
    plat_invalidate_rect(&b);
    auto ms = take_all();
    ASSERT_EQ(numbers(ms), (std::vector<uint32_t>{WM_PAINT})); // one paint for both
    PlatRect r = plat_paint_rect();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right, 120);
    EXPECT_EQ(r.bottom, 40);
}

TEST_F(Queue, ATimerHasAtMostOneMessagePendingAndKillingDropsIt) {
    plat_set_timer(1, 10);
    plat_set_timer(2, 30);
    plat_clock_advance_to(100); // timer 1 missed nine periods
    auto ms = take_all();
    ASSERT_EQ(numbers(ms), (std::vector<uint32_t>{WM_TIMER, WM_TIMER}));
    EXPECT_EQ(ms[0].wparam, 1u); // the earlier deadline first
    EXPECT_EQ(ms[1].wparam, 2u);

    plat_clock_advance_to(200);
    EXPECT_TRUE(plat_kill_timer(1));
    ms = take_all();
    ASSERT_EQ(ms.size(), 1u);
    EXPECT_EQ(ms[0].wparam, 2u);
    EXPECT_FALSE(plat_kill_timer(1));
}

TEST_F(Queue, TimersFireAtTheirPeriodInVirtualTime) {
    plat_script_set_close_at_end(false);
    plat_set_timer(5, 50);
    std::vector<uint32_t> times;
    for (int guard = 0; guard < 1000 && times.size() < 4 && !plat_close_requested(); ++guard) {
        PlatMessage m;
        if (plat_peek_message(&m, true)) {
            if (m.message == WM_TIMER) times.push_back(plat_tick_count());
        } else {
            plat_idle(PLAT_WAIT_FOREVER);
        }
    }
    EXPECT_EQ(times, (std::vector<uint32_t>{50, 100, 150, 200}));
}

TEST_F(Queue, PostingWorksFromOtherThreads) {
    constexpr int per_thread = 500;
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < per_thread; ++i)
                plat_post_message(1200 + t, static_cast<uint32_t>(i), 0);
        });
    for (auto& th : threads)
        th.join();
    auto ms = take_all();
    ASSERT_EQ(ms.size(), 4u * per_thread);
    uint32_t next[4] = {};
    for (const PlatMessage& m : ms) {
        uint32_t t = m.message - 1200;
        ASSERT_LT(t, 4u);
        EXPECT_EQ(m.wparam, next[t]++); // each thread's messages keep their order
    }
}

TEST_F(Queue, KeysCarryVirtualCodesWithRepeatAndReleaseBits) {
    key_down(0, VK_RETURN);
    key_down(0, VK_RETURN); // held: an auto-repeat
    key_up(0, VK_RETURN);
    auto ms = take_all();
    ASSERT_EQ(numbers(ms), (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP}));
    for (const PlatMessage& m : ms)
        EXPECT_EQ(m.wparam, VK_RETURN);
    auto flags = [](const PlatMessage& m) { return static_cast<uint32_t>(m.lparam) & 0xC0000000u; };
    EXPECT_EQ(flags(ms[0]), 0u);
    EXPECT_EQ(flags(ms[1]), KEY_FLAG_REPEAT);
    EXPECT_EQ(flags(ms[2]), KEY_FLAG_REPEAT | KEY_FLAG_RELEASE);
}

std::vector<std::pair<uint32_t, uint32_t>> g_hooked;
int32_t swallow_escape(int32_t, uint32_t key, uint32_t flags) {
    g_hooked.emplace_back(key, flags);
    return key == VK_ESCAPE ? 1 : 0;
}

TEST_F(Queue, TheKeyboardHookSeesEveryKeyAndMaySwallowIt) {
    g_hooked.clear();
    plat_set_keyboard_hook(swallow_escape);
    key_down(0, VK_ESCAPE);
    key_down(0, 'Q');
    key_up(0, VK_ESCAPE);
    move(0, 5, 6);
    auto ms = take_all();
    ASSERT_EQ(numbers(ms), (std::vector<uint32_t>{WM_KEYDOWN, WM_MOUSEMOVE}));
    EXPECT_EQ(ms[0].wparam, static_cast<uint32_t>('Q'));
    ASSERT_EQ(g_hooked.size(), 3u); // mouse input does not pass the hook
    EXPECT_EQ(g_hooked[0].first, VK_ESCAPE);
    EXPECT_EQ(g_hooked[2].second & KEY_FLAG_RELEASE, KEY_FLAG_RELEASE);
}

TEST_F(Queue, SettingTheMouseMovesItAndQueuesAMove) {
    plat_set_cursor_pos(700, 123); // kept on the screen
    int x = 0, y = 0;
    plat_get_cursor_pos(&x, &y);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 123);
    at(0, SCRIPT_LEFT_DOWN);
    at(0, SCRIPT_LEFT_UP, 20, 30);
    auto ms = take_all();
    ASSERT_EQ(numbers(ms),
              (std::vector<uint32_t>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
    EXPECT_EQ(ms[0].lparam, plat_pack_point(639, 123));
    EXPECT_EQ(ms[1].wparam & MK_LBUTTON, MK_LBUTTON);
    EXPECT_EQ(ms[3].lparam, plat_pack_point(20, 30));
    EXPECT_EQ(ms[3].wparam & MK_LBUTTON, 0u);
}

TEST_F(Queue, DrainingInputKeepsEveryOtherMessage) {
    plat_set_window_proc(nullptr, app_wndproc);
    plat_script_set_close_at_end(false);
    plat_set_timer(9, 10);
    plat_clock_advance_to(10);
    plat_post_message(1300, 0, 0);
    plat_post_quit_message(0);
    plat_invalidate_rect(nullptr);
    key_down(10, 'A');
    at(10, SCRIPT_RIGHT_DOWN);
    activate(10, true); // arrives in the middle of the drain
    at(10, SCRIPT_RIGHT_UP);
    close_window(10);
    EXPECT_EQ(plat_drain_input(), 3);
    EXPECT_EQ(app_active, 1); // the activation reached the window procedure
    EXPECT_TRUE(plat_close_requested());
    EXPECT_EQ(numbers(take_all()), (std::vector<uint32_t>{1300, WM_QUIT, WM_PAINT, WM_TIMER}));
}

TEST_F(Queue, IdleJumpsTheVirtualClockToTheNextThingDue) {
    plat_script_set_close_at_end(false);
    plat_set_timer(1, 300);
    at(120, SCRIPT_NOTHING);
    plat_idle(PLAT_WAIT_FOREVER);
    EXPECT_EQ(plat_tick_count(), 120u); // the scripted event
    plat_script_release_due();
    plat_idle(PLAT_WAIT_FOREVER);
    EXPECT_EQ(plat_tick_count(), 300u); // the timer
    plat_idle(40);
    EXPECT_EQ(plat_tick_count(), 300u); // a message waits: no jump
    PlatMessage m;
    ASSERT_TRUE(plat_peek_message(&m, true));
    plat_idle(40);
    EXPECT_EQ(plat_tick_count(), 340u); // the wait's own limit
}

TEST_F(Queue, AScriptThatHasRunOutClosesTheWindowUnderEitherClock) {
    for (const bool virtual_clock : {true, false}) {
        SCOPED_TRACE(virtual_clock ? "virtual clock" : "real clock");
        plat_queue_reset();
        plat_script_reset();
        plat_script_set_close_at_end(true);
        plat_clock_reset(virtual_clock);
        at(10, SCRIPT_NOTHING);
        plat_idle(PLAT_WAIT_FOREVER);
        EXPECT_FALSE(plat_close_requested());
        while (plat_tick_count() < 10) // the real clock's own time
            plat_idle(PLAT_WAIT_FOREVER);
        plat_script_release_due();
        // A message still waiting is taken first.
        plat_post_message(1300, 0, 0);
        plat_idle(PLAT_WAIT_FOREVER);
        EXPECT_FALSE(plat_close_requested());
        PlatMessage m;
        ASSERT_TRUE(plat_peek_message(&m, true));
        plat_idle(PLAT_WAIT_FOREVER);
        EXPECT_TRUE(plat_close_requested());
    }
    plat_clock_reset(true);
}

TEST_F(Queue, ActivationIsSentStraightToTheProcedureOnlyWhenItChanges) {
    static std::vector<uint32_t> seen;
    seen.clear();
    plat_set_window_proc(nullptr, [](PlatWindow, uint32_t msg, uint32_t w, int32_t) -> int32_t {
        if (msg == WM_ACTIVATEAPP) seen.push_back(w);
        return 0;
    });
    plat_input_activate(true);
    plat_input_activate(true);
    plat_input_activate(false);
    EXPECT_EQ(seen, (std::vector<uint32_t>{1, 0}));
    PlatMessage m;
    EXPECT_FALSE(plat_peek_message(&m, true)); // nothing went through the queue
}

} // namespace
