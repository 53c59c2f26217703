// The title screen under scripted mouse: new game, exit, a load that counts
// only when a slot was read, the buttons lit under the pointer and put back
// when it leaves, and no sound for a click beside them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/title.h"
#include "shell/title_layout.h"
#include "support/popup_fixture.h"

namespace {

constexpr int PRESS_EFFECT = 1; // EFFECT.MKF entry of the common list's press
constexpr int HOVER_EFFECT = 0;
constexpr int NEW_GAME_BUTTON = 0, LOAD_BUTTON = 1, OPTIONS_BUTTON = 2, EXIT_BUTTON = 3;

class Title : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        app_active = 1;
        shown_clear();
        t0 = plat_tick_count();
    }
    void click_button(uint32_t ms, int b) {
        point_and_click(ms, TITLE_BUTTON_X[b], TITLE_BUTTON_Y[b]);
    }
};

TEST_F(Title, NewGameAndExitCloseWithTheirChoice) {
    click_button(200, 0);
    EXPECT_EQ(title_run(), 0);
    EXPECT_EQ(shown_count(Shown::Music, 0), 1u) << "the title's tune";
    t0 = plat_tick_count();
    click_button(200, 3);
    EXPECT_EQ(title_run(), 3);
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(Title, ALoadCountsOnlyWhenASlotWasRead) {
    struct Case {
        int load_result;
        int title_result;
        const char* why;
    };
    const Case cases[] = {
        {1, 1, "a slot read"},
        {-1, 3, "nothing chosen: the title stays and exit is clicked"},
        {0, 3, "a read that failed: no game to go on with"},
    };
    for (const Case& c : cases) {
        headless_calls.clear();
        headless_load_results = {c.load_result};
        t0 = plat_tick_count();
        click_button(200, 1);
        if (c.title_result == 3) click_button(600, 3);
        EXPECT_EQ(title_run(), c.title_result) << c.why;
        EXPECT_EQ(count_calls("save_load_screen 0"), 1) << c.why;
    }
}

// Pixel (x, y) of the screen against the same pixel of a button picture.
bool shows(int frame, int b, int x, int y) {
    void* set = spr_read_set(nullptr, TITLE_SET_ENTRY);
    const ImageRecord* f = spr_frame(set, frame);
    bool same = false;
    if (f) {
        const int left = TITLE_BUTTON_X[b] - f->hot_x, top = TITLE_BUTTON_Y[b] - f->hot_y;
        same = PopupTest::screen_at(x, y) == f->pixels[(y - top) * f->width + (x - left)];
    }
    spr_free_set(set);
    return same;
}

struct Seen {
    bool checked = false;
    bool new_lit = false, old_plain = false, old_lit_before = false;
};
Seen seen;

TEST_F(Title, MovingStraightOntoAnotherButtonLightsItAndPutsTheOldOneBack) {
    seen = Seen{};
    // A point inside both pictures, away from the labels.
    const int dx = -55, dy = -14;
    move(t0 + 100, TITLE_BUTTON_X[0], TITLE_BUTTON_Y[0]);
    move(t0 + 300, TITLE_BUTTON_X[1], TITLE_BUTTON_Y[1]);
    click_button(600, 3);
    static uint32_t first_at, second_at;
    first_at = t0 + 100, second_at = t0 + 400;
    static int sx, sy;
    sx = dx, sy = dy;
    plat_set_cursor_hook([] {
        const uint32_t now = plat_tick_count();
        if (!seen.old_lit_before && now >= first_at && now < first_at + 200)
            seen.old_lit_before = shows(2, 0, TITLE_BUTTON_X[0] + sx, TITLE_BUTTON_Y[0] + sy) &&
                                  !shows(1, 0, TITLE_BUTTON_X[0] + sx, TITLE_BUTTON_Y[0] + sy);
        if (!seen.checked && now >= second_at) {
            seen.checked = true;
            seen.new_lit = shows(4, 1, TITLE_BUTTON_X[1] + sx, TITLE_BUTTON_Y[1] + sy);
            seen.old_plain = shows(1, 0, TITLE_BUTTON_X[0] + sx, TITLE_BUTTON_Y[0] + sy);
        }
    });
    EXPECT_EQ(title_run(), 3);
    plat_set_cursor_hook(nullptr);
    EXPECT_TRUE(seen.old_lit_before) << "the first button lit";
    ASSERT_TRUE(seen.checked);
    EXPECT_TRUE(seen.new_lit) << "the second button lit";
    EXPECT_TRUE(seen.old_plain) << "the first one put back in the same move";
    EXPECT_EQ(shown_count(Shown::Effect, HOVER_EFFECT), 3u) << "a hover sound per button";
}

// Back from a window opened over the title with the pointer resting on a
// button: the button is lit at once and a click there, before any move,
// works. A lost click would fall through to the button clicked after it.
TEST_F(Title, BackFromAWindowTheButtonUnderThePointerIsLitAndAnswers) {
    struct Case {
        int opened, rests_on; // the button that opened the window, the one under the pointer
        int result, result_if_lost;
    };
    const Case cases[] = {
        {LOAD_BUTTON, LOAD_BUTTON, 1, 3},    // nothing chosen, then a second load reads a slot
        {OPTIONS_BUTTON, EXIT_BUTTON, 3, 0}, // the system window closed over exit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened);
        seen = Seen{};
        headless_load_results = {-1, 1};
        t0 = plat_tick_count();
        move(t0 + 200, TITLE_BUTTON_X[c.opened], TITLE_BUTTON_Y[c.opened]);
        at(t0 + 205, SCRIPT_LEFT_DOWN); // no move after it: the pointer rests
        at(t0 + 210, SCRIPT_LEFT_UP);
        if (c.opened == OPTIONS_BUTTON) {
            move(t0 + 300, TITLE_BUTTON_X[c.rests_on], TITLE_BUTTON_Y[c.rests_on]);
            at(t0 + 400, SCRIPT_RIGHT_DOWN);
            at(t0 + 405, SCRIPT_RIGHT_UP);
        }
        at(t0 + 600, SCRIPT_LEFT_DOWN); // where the pointer rests
        at(t0 + 605, SCRIPT_LEFT_UP);
        click_button(900, c.result_if_lost == 3 ? EXIT_BUTTON : NEW_GAME_BUTTON);
        static uint32_t look_at;
        static int lit;
        look_at = t0 + 500, lit = c.rests_on;
        plat_set_cursor_hook([] {
            if (seen.checked || plat_tick_count() < look_at) return;
            seen.checked = true;
            seen.new_lit =
                shows(2 * lit + 2, lit, TITLE_BUTTON_X[lit] - 55, TITLE_BUTTON_Y[lit] - 14);
        });
        EXPECT_EQ(title_run(), c.result);
        plat_set_cursor_hook(nullptr);
        EXPECT_TRUE(seen.checked);
        EXPECT_TRUE(seen.new_lit) << "the button under the pointer lit";
    }
}

TEST_F(Title, AClickBesideTheButtonsDoesNothingAndPlaysNoSound) {
    point_and_click(200, 20, 20);
    point_and_click(300, 630, 10);
    click_button(600, 3);
    EXPECT_EQ(title_run(), 3);
    EXPECT_EQ(shown_count(Shown::Effect, PRESS_EFFECT), 1u) << "only exit's press";
}

TEST_F(Title, WithoutItsPicturesTheButtonsStillAnswer) {
    const int kept = data_archive;
    data_archive = -1; // the title's set cannot be read
    click_button(200, 2);
    // The system window opened over the title: a right click closes it.
    right_click(300, 320, 240);
    click_button(400, 3);
    const int r = title_run();
    data_archive = kept;
    EXPECT_EQ(r, 3);
    EXPECT_EQ(shown_count(Shown::Effect, PRESS_EFFECT), 2u) << "options, then exit";
}

} // namespace
