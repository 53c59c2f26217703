// The card windows under scripted mouse: the card window's picks and
// closing, the thief's window over cards and items, the card picture, and
// the panels drawn from the stand-in PANEL.MKF 11. The screen is looked at
// while a window is open through the platform's cursor hook.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/card_screen.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "engine/layout.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x1234;

// What the display showed while a window was open (taken once per run).
struct Seen {
    bool taken = false;
    int panel_pixels = 0; // pixels of the watched rectangle that are not the background
    std::string shot;     // the screen, when KARVO_SHOT_DIR names a directory
};
Seen seen;
PlatRect watched{};
std::string shot_name;

void look_at_screen() {
    if (seen.taken || !app_active) return;
    seen.taken = true;
    seen.panel_pixels = PopupTest::screen_differs(watched.left, watched.top, watched.right,
                                                  watched.bottom, BACKGROUND);
    seen.shot = PopupTest::save_shot(shot_name);
}

class CardScreens : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        cards_fill_pools();
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        seen = Seen{};
        shown_clear();
        plat_set_cursor_hook(look_at_screen);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        PopupTest::TearDown();
    }
    void watch(const PlatRect& r, const char* name) {
        watched = r;
        shot_name = name;
    }
};

// The centre of cell (column, row) of a panel shown at (CARD_PANEL_X, top),
// and the panel's rectangle.
int cell_x(int column) {
    return CARD_PANEL_X + CARD_GRID_DX + CARD_CELL_W * column + CARD_CELL_W / 2;
}
int cell_y(int top, int row) {
    return top + CARD_GRID_DY + CARD_CELL_H * row + CARD_CELL_H / 2;
}
PlatRect panel_rect(int top) {
    return {CARD_PANEL_X, top, CARD_PANEL_X + CARD_PANEL_W, top + CARD_PANEL_H};
}
constexpr int PANEL_PIXELS = CARD_PANEL_W * CARD_PANEL_H;

TEST_F(CardScreens, TheCardWindowClosesWithTheCardClickedAndRestoresTheBoard) {
    for (int id : {3, 7, 12, 20, 29, 30})
        card_add(0, id);
    watch(panel_rect(CARD_WINDOW_Y), "card_window");
    click(100, cell_x(3), cell_y(CARD_WINDOW_Y, 2)); // an empty cell: nothing
    click(200, cell_x(0), cell_y(CARD_WINDOW_Y, 1)); // slot 5: card 30
    DecisionRequest r{DECIDE_CARD_PICK, 0, nullptr, 0, 0};
    EXPECT_EQ(card_window_pick(r), 30);
    EXPECT_TRUE(seen.taken);
    EXPECT_GT(seen.panel_pixels, PANEL_PIXELS / 2) << "the card panel was shown";
    EXPECT_EQ(screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0) << "the board area is back";
    EXPECT_EQ(shown_count(Shown::BoardEffect, CARD_CLICK_SOUND), 1u)
        << "one click: the empty cell is silent";

    t0 = plat_tick_count();
    click(100, 5, 200); // beside the grid
    right_click(200, 300, 300);
    EXPECT_EQ(card_window_pick(r), 0) << "the right button closes with nothing";
    EXPECT_EQ(screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0);
}

TEST_F(CardScreens, TheThiefPicksAnItemOnlyWhenItemsMayBeTaken) {
    card_add(2, CARD_SWAP_HOUSE);
    item_add(2, 2);
    item_add(2, 2);
    item_add(2, 7);
    watch(panel_rect(CARD_THIEF_ITEMS_Y), "thief_window");
    DecisionRequest r{DECIDE_THIEF_PICK, 0, nullptr, 0, 2};
    r.param = 1;
    click(100, cell_x(1), cell_y(CARD_THIEF_ITEMS_Y, 0)); // the second kind held: item 7
    EXPECT_EQ(card_steal_window_pick(r), STEAL_ITEM_FLAG | 7);
    EXPECT_GT(seen.panel_pixels, PANEL_PIXELS / 2) << "the item panel was shown";
    EXPECT_EQ(item_menu_cells[0], 2);
    EXPECT_EQ(item_menu_cells[1], 7);
    EXPECT_EQ(item_menu_cells[2], 0);

    r.param = 0;
    t0 = plat_tick_count();
    seen = Seen{};
    shot_name = "thief_window_cards_only";
    click(100, cell_x(0), cell_y(CARD_THIEF_ITEMS_Y, 0)); // no item panel now
    click(200, cell_x(0), cell_y(CARD_THIEF_CARDS_Y, 0)); // the victim's card
    EXPECT_EQ(card_steal_window_pick(r), 5);
    EXPECT_EQ(seen.panel_pixels, 0) << "no item panel without items to take";
    EXPECT_EQ(screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0);
}

// The rules show the picture through the card presenter, which the window fills.
TEST_F(CardScreens, TheCardPictureShowsUnderItsCaptionAndTheBoardComesBack) {
    ASSERT_TRUE(card_presenter.installed());
    ASSERT_EQ(card_presenter().picture, card_show_picture);
    watch({CARD_PICTURE_X, CARD_PICTURE_Y, CARD_PICTURE_X + CARD_PICTURE_W,
           CARD_PICTURE_Y + CARD_PICTURE_H},
          "card_picture");
    at(t0 + 300, SCRIPT_LEFT_UP, 10, 10); // cuts the wait short
    const uint32_t start = plat_tick_count();
    card_presenter().picture(CARD_MONSTER, "使用怪兽卡");
    EXPECT_LT(plat_tick_count() - start, CARD_PICTURE_MS);
    EXPECT_GT(seen.panel_pixels, CARD_PICTURE_W * CARD_PICTURE_H * 9 / 10) << "the card picture";
    EXPECT_EQ(screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0);
    const ShownEvent* e = shown_find_text(Shown::Panel, "使用怪兽卡");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->number, CARD_PICTURE_BASE + CARD_MONSTER);
    EXPECT_EQ(shown_count(Shown::BoardEffect, CARD_SOUND), 1u);

    shown_clear();
    card_presenter().picture(0, "nothing");
    EXPECT_EQ(shown_count(Shown::Panel), 0u) << "card 0 shows nothing";
}

} // namespace
