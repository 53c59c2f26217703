// The software cursor over the number pad and the yes/no pop-up in a
// scripted run: the mouse moves come through the platform's script feed, the
// pad and the pop-up run their own message loops, and the display is looked
// at while they are open. Wherever the cursor is not, the display shows the
// back buffer; where it is, its frame's opaque pixels at the mouse position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/confirm.h"
#include "engine/cursor.h"
#include "engine/image.h"
#include "engine/numpad.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;

// One look at the display, taken the first time the cursor's hook runs at or
// after `at`.
struct Look {
    uint32_t at;
    int x, y;            // where the mouse was sent
    int mismatches = -1; // display pixels unlike the expectation
    int cursor_px = 0;   // opaque cursor pixels expected on the display
    int frame = -1;      // the cursor's frame in the set
};
std::vector<Look> g_looks;

// Display pixels that are not what the back buffer and the cursor's current
// frame, drawn at (mx, my), make together.
int mismatches(int mx, int my, int* cursor_px) {
    const ImageRecord* f =
        spr_frame(cursor_state.cursor_frames, cursor_state.first + cursor_state.frame_index);
    const int left = mx - f->hot_x, top = my - f->hot_y;
    int bad = 0;
    *cursor_px = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            uint16_t want = PopupTest::back_at(x, y);
            const int fx = x - left, fy = y - top;
            if (fx >= 0 && fy >= 0 && fx < f->width && fy < f->height && fx < CURSOR_BOX &&
                fy < CURSOR_BOX && f->pixels[fy * f->width + fx] != 0) {
                want = f->pixels[fy * f->width + fx];
                ++*cursor_px;
            }
            if (PopupTest::screen_at(x, y) != want) ++bad;
        }
    return bad;
}

void serve_and_look() {
    cursor_serve_ticks();
    for (Look& l : g_looks) {
        if (l.mismatches >= 0 || plat_tick_count() < l.at) continue;
        int mx = 0, my = 0;
        plat_get_cursor_pos(&mx, &my);
        if (mx != l.x || my != l.y) continue; // not there yet
        l.mismatches = mismatches(mx, my, &l.cursor_px);
        l.frame = cursor_state.first + cursor_state.frame_index;
    }
}

class PopupCursor : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        paint_screen(BACKGROUND);
        app_active = 1;
        cursor_start();
        ASSERT_NE(cursor_state.cursor_frames, nullptr) << "data.mkf 0";
        cursor_set_shape(41, 1, 0);
        cursor_set_mode(1);
        plat_set_cursor_hook(serve_and_look);
        g_looks.clear();
        t0 = plat_tick_count();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        PopupTest::TearDown();
    }
    // The mouse goes to (x, y) at ms; the display is looked at 100 ms later.
    void move_and_look(uint32_t ms, int x, int y) {
        move(t0 + ms, x, y);
        Look l;
        l.at = t0 + ms + 100;
        l.x = x;
        l.y = y;
        g_looks.push_back(l);
    }
    void expect_cursor_at_every_look(int frame_of_shape) {
        for (const Look& l : g_looks) {
            SCOPED_TRACE(std::to_string(l.x) + ", " + std::to_string(l.y));
            EXPECT_EQ(l.mismatches, 0);
            EXPECT_GT(l.cursor_px, 20) << "the cursor's frame drawn there";
            if (frame_of_shape >= 0) {
                EXPECT_EQ(l.frame, frame_of_shape);
            }
        }
    }
    uint32_t t0 = 0;
};

TEST_F(PopupCursor, OverTheNumberPadThePadsPointerFollowsTheMouse) {
    // The pad at (256, 144), 128 x 192: its title strip, a digit, the slider,
    // a corner half off the pad, then the right button cancels.
    move_and_look(100, 300, 150);
    move_and_look(300, 276, 270);
    move_and_look(500, 330, 190);
    move_and_look(700, 380, 330);
    at(t0 + 1000, SCRIPT_RIGHT_DOWN, 380, 330);
    at(t0 + 1010, SCRIPT_RIGHT_UP, 380, 330);
    EXPECT_EQ(numpad_input(100), 0);
    expect_cursor_at_every_look(27);
    // Back to the arrow, drawn over the restored screen.
    EXPECT_EQ(cursor_state.first, 41);
    int px = 0;
    EXPECT_EQ(mismatches(380, 330, &px), 0);
    EXPECT_GT(px, 20);
}

TEST_F(PopupCursor, OverTheYesNoPopUpTheCursorFollowsTheMouseAndAnimates) {
    // A cycling shape of the caller: frames 12-26, a frame every 2 ticks.
    cursor_set_shape(12, 15, 2);
    // The pop-up (120 x 56) centred on (320, 240): (260, 212)-(380, 268). The
    // pointer starts on yes at (282, 234); then over no, over yes, off it.
    Look start;
    start.at = t0 + 50;
    start.x = 282;
    start.y = 234;
    g_looks.push_back(start);
    move_and_look(200, 360, 250);
    move_and_look(420, 275, 225);
    move_and_look(650, 200, 300);
    at(t0 + 900, SCRIPT_RIGHT_UP, 200, 300);
    EXPECT_EQ(confirm_ask(320, 240), 0);
    expect_cursor_at_every_look(-1);
    std::vector<int> frames;
    for (const Look& l : g_looks) {
        EXPECT_GE(l.frame, 12);
        EXPECT_LE(l.frame, 26);
        frames.push_back(l.frame);
    }
    // The frames moved on between the looks, two ticks (40 ms) a frame.
    for (size_t i = 1; i < frames.size(); ++i)
        EXPECT_NE(frames[i], frames[i - 1]) << i;
}

} // namespace
