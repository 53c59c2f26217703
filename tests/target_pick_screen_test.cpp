// The target picker's window over the stand-in board under scripted mouse:
// a click on an acceptable object closes with its code, a click elsewhere is
// refused, the right button cancels unless the caller forbids it, and the
// view scrolls at an edge only when the caller allows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/target_pick.h"
#include "cards/target_pick_layout.h"
#include "data/characters.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/layout.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

constexpr int REFUSED_EFFECT = 3, CANCEL_EFFECT = 4; // EFFECT.MKF entries of ui_effects 4 and 3

class PickerWindow : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        ASSERT_TRUE(set_up_two_players()) << map_last_error();
        for (int i = 1; i <= map_lot_count; ++i) {
            map_lot_table[i].owner = owner_of_seat(i % 2);
            map_lot_table[i].level = static_cast<uint8_t>(1 + i % 5);
        }
        game_active_mover = 0;
        board_load_graphics();
        board_draw_map_view(0);
        board_flush_dirty();
        view_hitmap_build(1);
        cursor_start();
        shown_clear();
        app_active = 1;
        t0 = plat_tick_count();
    }
    void TearDown() override {
        board_free_graphics();
        PopupTest::TearDown();
    }
    // A screen point over an object of the kinds whose code the test wants.
    bool find(bool (*wanted)(int code), int* x, int* y, int* code) {
        for (int py = 20; py < VIEW_HITMAP_SIDE - 20; ++py)
            for (int px = 20; px < VIEW_HITMAP_SIDE - 20; ++px)
                if (const int c = view_hitmap_at(px, py); c != 0 && wanted(c)) {
                    *x = px;
                    *y = py + VIEW_TOP;
                    *code = c;
                    return true;
                }
        return false;
    }
};

bool is_property(int code) {
    return code > OBJ_LOT_BASE && code < OBJ_COMPANY_BASE;
}
bool is_other_property(int code) {
    return !is_property(code) && code != 0;
}

constexpr uint32_t PROPERTIES = target_pick_param(PICK_LOTS | PICK_FACILITIES, PICK_ANY, 12, 15);

// The cursor's shape while the picker runs, seen from the platform's hook;
// the screen is written once over a target when KARVO_SHOT_DIR is set.
int shape_over_target = -1;
void watch_cursor() {
    if (cursor_state.first != 12 || shape_over_target == 12) return;
    shape_over_target = 12;
    PopupTest::save_shot("picker");
}

TEST_F(PickerWindow, AClickOnAnAcceptedObjectClosesWithItsCode) {
    int x, y, code;
    ASSERT_TRUE(find(is_property, &x, &y, &code)) << "a plot or facility in view";
    point_and_click(100, x, y);
    plat_set_cursor_hook(watch_cursor);
    EXPECT_EQ(target_pick(PROPERTIES), code);
    plat_set_cursor_hook(nullptr);
    EXPECT_EQ(shape_over_target, 12) << "the target frames over an accepted object";
    EXPECT_EQ(cursor_state.first, PICK_CURSOR_NORMAL) << "the normal cursor again";
    EXPECT_EQ(shown_count(Shown::Effect, REFUSED_EFFECT), 0u);
}

TEST_F(PickerWindow, AClickOnAnythingElseIsRefusedAndTheRightButtonCancels) {
    int x, y, code;
    ASSERT_TRUE(find(is_other_property, &x, &y, &code)) << "something not a property in view";
    point_and_click(100, x, y);
    right_click(200, x, y);
    EXPECT_EQ(target_pick(PROPERTIES), 0);
    EXPECT_EQ(shown_count(Shown::Effect, REFUSED_EFFECT), 1u);
    EXPECT_EQ(shown_count(Shown::Effect, CANCEL_EFFECT), 1u);
}

TEST_F(PickerWindow, WithoutCancelTheRightButtonDoesNothing) {
    int x, y, code;
    ASSERT_TRUE(find(is_property, &x, &y, &code));
    right_click(100, x, y);
    point_and_click(200, x, y);
    EXPECT_EQ(target_pick(PROPERTIES | PICK_NO_CANCEL), code);
    EXPECT_EQ(shown_count(Shown::Effect, CANCEL_EFFECT), 0u);
}

TEST_F(PickerWindow, TheViewScrollsAtAnEdgeOnlyWhenTheCallerAllowsIt) {
    for (const bool scroll : {false, true}) {
        SCOPED_TRACE(scroll);
        board_clear_scroll_target();
        t0 = plat_tick_count();
        move(t0 + 100, SCREEN_W - 1, 200); // the right edge
        move(t0 + 600, 200, 200);          // back inside: the scroll stops
        right_click(700, 200, 200);
        const uint32_t kinds = PICK_LOTS | (scroll ? PICK_SCROLL : 0);
        EXPECT_EQ(target_pick(target_pick_param(kinds, PICK_ANY, 12, 15)), 0);
        if (!scroll) {
            EXPECT_EQ(board_scroll_target, 0) << "the view never moves";
            continue;
        }
        ASSERT_EQ(board_scroll_target, 1);
        // About ten 50 ms ticks at 12, 16, 20, ...: well past the first step.
        EXPECT_GT(board_scroll_x - player_table[0].x, 12 + 16 + 20 + 24);
        EXPECT_EQ(board_scroll_y, player_table[0].y) << "straight right at rotation 0";
    }
}

} // namespace
