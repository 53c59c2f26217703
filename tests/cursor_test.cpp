#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/cursor.h"
#include "engine/image.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/settings.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0F0F;

struct TestFrame {
    int w, h, hot_x, hot_y;
    uint16_t pixel;
};

// An "SMP" frame set in a malloc'd block (the cursor frees it), each frame
// filled with its one pixel value.
void* make_set(const std::vector<TestFrame>& frames) {
    size_t size = 12 + 12 * frames.size();
    const uint32_t data_offset = static_cast<uint32_t>(size);
    for (const TestFrame& f : frames)
        size += static_cast<size_t>(f.w) * f.h * 2;
    auto* b = static_cast<uint8_t*>(std::calloc(size, 1));
    std::memcpy(b, "SMP", 4);
    const uint32_t count = static_cast<uint32_t>(frames.size());
    std::memcpy(b + 4, &count, 4);
    std::memcpy(b + 8, &data_offset, 4);
    size_t px = data_offset;
    for (size_t i = 0; i < frames.size(); ++i) {
        const TestFrame& f = frames[i];
        StoredImageRecord r{static_cast<uint16_t>(f.w), static_cast<uint16_t>(f.h),
                            static_cast<int16_t>(f.hot_x), static_cast<int16_t>(f.hot_y),
                            static_cast<uint32_t>(f.w * f.h * 2)};
        std::memcpy(b + 12 + 12 * i, &r, 12);
        for (int k = 0; k < f.w * f.h; ++k)
            std::memcpy(b + px + 2 * k, &f.pixel, 2);
        px += static_cast<size_t>(f.w) * f.h * 2;
    }
    EXPECT_EQ(spr_link_frames(b, static_cast<uint32_t>(size)), 1);
    return b;
}

class Cursor : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        app_active = 1;
        anim_tick_count = 0;
        anim_step_pending = 0;
        settings_set_game_speed(1);
        paint_screen(BACKGROUND);
    }
    void TearDown() override {
        settings_set_game_speed(1);
        PopupTest::TearDown();
    }
    // Starts the cursor with these frames in place of the stand-in set.
    void start_with(const std::vector<TestFrame>& frames) {
        cursor_start();
        ASSERT_NE(cursor_state.cursor_frames, nullptr) << "the stand-in cursor frames";
        spr_unlink(cursor_state.cursor_frames);
        std::free(cursor_state.cursor_frames);
        cursor_state.cursor_frames = make_set(frames);
    }
    void mouse(int x, int y) {
        plat_set_cursor_pos(x, y);
        plat_drain_input();
    }
};

TEST_F(Cursor, RaisesTheBoardAnimationStepEverySixFourOrTwoTicksBySpeed) {
    const int periods[3] = {6, 4, 2};
    for (int speed = 0; speed < 3; ++speed) {
        SCOPED_TRACE(speed);
        settings_set_game_speed(static_cast<uint8_t>(speed));
        anim_tick_count = 0;
        int raised = 0, first = 0;
        for (int t = 1; t <= 12; ++t) {
            anim_step_pending = 0;
            cursor_timer_tick();
            if (anim_step_pending) {
                ++raised;
                if (!first) first = t;
            }
        }
        EXPECT_EQ(first, periods[speed]);
        EXPECT_EQ(raised, 12 / periods[speed]);
    }
}

TEST_F(Cursor, TheVirtualClockRaisesTheStepEveryFortyMillisecondsAtSpeedTwo) {
    settings_set_game_speed(2);
    cursor_start();
    const uint32_t t0 = plat_tick_next_due();
    plat_clock_advance_to(t0);
    EXPECT_EQ(anim_step_pending.load(), 0);
    plat_clock_advance_to(t0 + 20);
    EXPECT_EQ(anim_step_pending.load(), 1);
}

TEST_F(Cursor, NeitherTheCursorNorTheAnimationTickAdvanceWhileInactive) {
    start_with({{4, 4, 0, 0, 0x1111}, {4, 4, 0, 0, 0x2222}});
    cursor_set_shape(0, 2, 1);
    cursor_set_mode(1);
    app_active = 0;
    cursor_due = 0;
    for (int i = 0; i < 12; ++i)
        cursor_timer_tick();
    cursor_serve_ticks();
    EXPECT_EQ(anim_step_pending.load(), 0);
    EXPECT_EQ(cursor_due.load(), 0u);
    EXPECT_EQ(cursor_state.frame_index, 0);
    EXPECT_EQ(screen_at(0, 0), 0x1111);
}

TEST_F(Cursor, AtTheCornerWithHotSpotFiveSavesAndRestoresOnlyTheVisiblePart) {
    start_with({{10, 10, 5, 5, 0x1234}});
    mouse(0, 0);
    cursor_set_shape(0, 1, 0);
    cursor_set_mode(1);
    EXPECT_EQ(cursor_state.box_x, 0);
    EXPECT_EQ(cursor_state.box_y, 0);
    EXPECT_EQ(cursor_state.box_w, 27);
    EXPECT_EQ(cursor_state.box_h, 27);
    EXPECT_EQ(screen_at(0, 0), 0x1234);
    EXPECT_EQ(screen_at(4, 4), 0x1234);
    EXPECT_EQ(screen_at(5, 5), BACKGROUND);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 25);
    cursor_set_mode(0);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
    EXPECT_EQ(cursor_state.last_x, -1);
}

TEST_F(Cursor, AFrameLargerThanTheBoxIsCutToItAndAShapePastTheSetIsIgnored) {
    start_with({{40, 40, 0, 0, 0x4321}, {2, 2, 0, 0, 0x5555}});
    mouse(100, 100);
    cursor_set_shape(0, 1, 0);
    cursor_set_mode(1);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 32 * 32);
    EXPECT_EQ(screen_at(131, 131), 0x4321);
    EXPECT_EQ(screen_at(132, 100), BACKGROUND);
    cursor_set_shape(1, 2, 0); // frames 1 and 2 of a set of two
    EXPECT_EQ(cursor_state.first, 0);
    EXPECT_EQ(screen_at(131, 131), 0x4321);
}

TEST_F(Cursor, HideWithARectangleFarFromTheCursorLeavesItOnTheScreen) {
    start_with({{8, 8, 0, 0, 0x7777}});
    mouse(300, 200);
    cursor_set_shape(0, 1, 0);
    cursor_set_mode(1);
    const PlatRect far{0, 0, 100, 100};
    cursor_hide(&far);
    EXPECT_TRUE(cursor_state.cursor_flags & CURSOR_DRAWN);
    EXPECT_EQ(screen_at(300, 200), 0x7777);
    const PlatRect near{290, 190, 305, 205};
    cursor_hide(&near);
    EXPECT_FALSE(cursor_state.cursor_flags & CURSOR_DRAWN);
    EXPECT_EQ(screen_at(300, 200), BACKGROUND);
    cursor_show(&far);
    EXPECT_FALSE(cursor_state.cursor_flags & CURSOR_DRAWN);
    cursor_show(&near);
    EXPECT_EQ(screen_at(300, 200), 0x7777);
}

// The mouse leaves a rectangle between the hide and the show of a copy (the
// move arrived while the copy was on its way): the cursor comes back at the
// mouse instead of staying off until something shows it unconditionally.
TEST_F(Cursor, ACopyThatTookItOffPutsItBackThoughTheMouseLeftTheRectangle) {
    start_with({{8, 8, 0, 0, 0x7777}});
    mouse(300, 200);
    cursor_set_shape(0, 1, 0);
    cursor_set_mode(1);
    const PlatRect copy{290, 190, 320, 220};
    mouse(100, 400); // not served yet: still drawn at (300, 200)
    cursor_hide(&copy);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
    cursor_show(&copy);
    EXPECT_TRUE(cursor_state.cursor_flags & CURSOR_DRAWN);
    EXPECT_EQ(screen_at(100, 400), 0x7777);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 64);
}

TEST_F(Cursor, ModeZeroRemovesItAndModeOneDrawsItAgainAtTheMouse) {
    start_with({{8, 8, 0, 0, 0x7777}});
    mouse(50, 60);
    cursor_set_shape(0, 1, 0);
    cursor_set_mode(1);
    EXPECT_EQ(cursor_get_mode(), 1);
    EXPECT_EQ(screen_at(50, 60), 0x7777);
    cursor_set_mode(0);
    EXPECT_EQ(cursor_get_mode(), 0);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
    mouse(400, 300);
    cursor_show(nullptr); // off: nothing
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
    cursor_set_mode(1);
    EXPECT_EQ(screen_at(400, 300), 0x7777);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 64);
    cursor_set_vsync_wait(0);
    EXPECT_TRUE(cursor_state.cursor_flags & CURSOR_NO_VSYNC);
    cursor_set_vsync_wait(1);
    EXPECT_FALSE(cursor_state.cursor_flags & CURSOR_NO_VSYNC);
    PlatRect r;
    cursor_get_rect(&r);
    EXPECT_EQ(r.left, 400);
    EXPECT_EQ(r.top, 300);
    EXPECT_EQ(r.right, 432);
    EXPECT_EQ(r.bottom, 332);
}

TEST_F(Cursor, TheTickOnlyCountsAndTheMainThreadFollowsTheMouseAndAnimates) {
    start_with({{4, 4, 0, 0, 0x1111}, {4, 4, 0, 0, 0x2222}, {4, 4, 0, 0, 0x3333}});
    mouse(10, 10);
    cursor_set_shape(0, 3, 2);
    cursor_set_mode(1);
    cursor_due = 0;
    mouse(200, 150);
    cursor_timer_tick();
    cursor_timer_tick();
    EXPECT_EQ(screen_at(10, 10), 0x1111) << "the timer itself never draws";
    EXPECT_EQ(screen_at(200, 150), BACKGROUND);
    EXPECT_EQ(cursor_due.load(), 2u);
    PlatMessage m;
    plat_peek_message(&m, false); // the layer serves the cursor as it takes messages
    EXPECT_EQ(cursor_due.load(), 0u);
    EXPECT_EQ(screen_at(10, 10), BACKGROUND);
    EXPECT_EQ(screen_at(200, 150), 0x2222) << "two ticks at two a frame: the next frame";
    EXPECT_EQ(cursor_state.frame_index, 1);
}

TEST_F(Cursor, WithTheRealClockTheTimerThreadLeavesTheDisplayAlone) {
    start_with({{4, 4, 0, 0, 0x1111}});
    mouse(10, 10);
    cursor_set_shape(0, 1, 0);
    cursor_set_mode(1);
    plat_tick_stop();
    plat_clock_reset(false);
    cursor_due = 0;
    plat_tick_start(cursor_timer_tick);
    mouse(300, 300);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    plat_tick_stop();
    EXPECT_GT(cursor_due.load(), 0u);
    EXPECT_EQ(screen_at(10, 10), 0x1111);
    EXPECT_EQ(screen_at(300, 300), BACKGROUND);
    cursor_serve_ticks();
    EXPECT_EQ(screen_at(10, 10), BACKGROUND);
    EXPECT_EQ(screen_at(300, 300), 0x1111);
}

} // namespace
