// The bulletin board's window and the month-end settlement screen under
// scripted mouse: what each click answers, what shows while they are open,
// and the board given back after.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/balloon.h"
#include "engine/layout.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "finance/notice_board.h"
#include "finance/notice_board_screen.h"
#include "finance/settlement.h"
#include "finance/settlement_screen.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x1234;

// The display, row by row, then the back buffer.
std::vector<uint16_t> display_pixels() {
    std::vector<uint16_t> out;
    for (auto pixel : {PopupTest::screen_at, PopupTest::back_at})
        for (int y = 0; y < SCREEN_H; ++y)
            for (int x = 0; x < SCREEN_W; ++x)
                out.push_back(pixel(x, y));
    return out;
}

struct Seen {
    bool taken = false;
    int pixels = 0; // of the watched rectangle, not the background
    std::vector<uint16_t> display;
};
Seen seen;
PlatRect watched{};
std::string shot_name;
bool (*ready)() = nullptr;

void look_at_screen() {
    if (seen.taken || !app_active || (ready && !ready())) return;
    seen.taken = true;
    seen.pixels = PopupTest::screen_differs(watched.left, watched.top, watched.right,
                                            watched.bottom, BACKGROUND);
    seen.display = display_pixels();
    PopupTest::save_shot(shot_name);
}

class FinanceScreens : public PopupTest {
  protected:
    std::array<LandLot, 4> lots{};
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        cards_fill_pools();
        game_player_count = 4;
        game_price_index = 1;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            player_table[p].control = CTRL_COMPUTER;
        player_table[0].control = CTRL_HUMAN;
        game_active_mover = 0;
        lots[1].owner = owner_of_seat(0);
        lots[1].land_price = 1000;
        lots[2].owner = owner_of_seat(0);
        lots[2].level = 2;
        lots[2].land_price = 2000;
        map_lot_table = lots.data();
        map_lot_count = 2;
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        seen = Seen{};
        ready = nullptr;
        shown_clear();
        plat_set_cursor_hook(look_at_screen);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        map_lot_table = nullptr;
        map_lot_count = 0;
        PopupTest::TearDown();
    }
    void watch(const PlatRect& r, const char* name) {
        watched = r;
        shot_name = name;
    }
    static int ask(DecisionKind kind, int param = 0) {
        DecisionRequest r{kind, 0, nullptr, 0, 0};
        r.param = param;
        return decide(r);
    }
    static int cell_x(int slot) { return NOTICE_GRID_X + NOTICE_CELL_STEP * slot + 32; }
    static int cell_y(int seat) { return NOTICE_GRID_Y + NOTICE_CELL_STEP * seat + 32; }
    static int mid_x(const PlatRect& r) { return (r.left + r.right) / 2; }
    static int mid_y(const PlatRect& r) { return (r.top + r.bottom) / 2; }
};

TEST_F(FinanceScreens, AnOfferClickedOpensItsDetailWhoseButtonIsTheAnswer) {
    player_items[2][4 - 1] = 1;
    notice_post(2, NOTICE_ITEM, 4, 700, 0);
    watch({NOTICE_GRID_X, NOTICE_GRID_Y + 2 * NOTICE_CELL_STEP, NOTICE_GRID_X + NOTICE_CELL_SIZE,
           NOTICE_GRID_Y + 2 * NOTICE_CELL_STEP + NOTICE_CELL_SIZE},
          "notice_board");
    ready = [] { return screen_depth >= 1; };
    notice_screen_open(0);
    click(200, cell_x(3), cell_y(1)); // an empty cell: nothing
    click(400, cell_x(0), cell_y(2)); // seat 2's item: the detail
    click(700, mid_x(NOTICE_DETAIL_BUTTON), mid_y(NOTICE_DETAIL_BUTTON)); // buy
    EXPECT_EQ(ask(DECIDE_BOARD_ACTION), notice_offer_action(2, 0));
    EXPECT_TRUE(seen.taken);
    EXPECT_GT(seen.pixels, NOTICE_CELL_SIZE * NOTICE_CELL_SIZE / 4) << "the offer's icon";
    // The exit button, then a right click, close with 0.
    t0 = plat_tick_count();
    click(200, mid_x(NOTICE_EXIT_BUTTON), mid_y(NOTICE_EXIT_BUTTON));
    EXPECT_EQ(ask(DECIDE_BOARD_ACTION), NOTICE_ACTION_EXIT);
    t0 = plat_tick_count();
    right_click(200);
    EXPECT_EQ(ask(DECIDE_BOARD_ACTION), NOTICE_ACTION_EXIT);
    notice_screen_close();
    EXPECT_GE(shown_count(Shown::BoardRefresh), 1u) << "the board repainted after";
}

TEST_F(FinanceScreens, APostWithAFullRowShowsTheMessageAndAKindOpensItsPostingWindow) {
    for (int item = 1; item <= 7; ++item)
        notice_board[0][item - 1] =
            NoticeOffer{NOTICE_ITEM, 0, static_cast<uint16_t>(item), 1, 0, 0, 0};
    notice_screen_open(0);
    click(200, mid_x(NOTICE_POST_BUTTON), mid_y(NOTICE_POST_BUTTON)); // the row is full
    right_click(2500);
    EXPECT_EQ(ask(DECIDE_BOARD_ACTION), NOTICE_ACTION_EXIT);
    EXPECT_NE(shown_find_text(Shown::Message, NOTICE_TEXT_ROW_FULL), nullptr);
    notice_board_clear();
    t0 = plat_tick_count();
    click(200, mid_x(NOTICE_POST_BUTTON), mid_y(NOTICE_POST_BUTTON));
    const PlatRect land = notice_kind_button(NOTICE_LAND);
    click(500, mid_x(land), mid_y(land));
    EXPECT_EQ(ask(DECIDE_BOARD_ACTION), NOTICE_LAND);
    // The land window: the houses tab holds plot 2 alone, its first row.
    t0 = plat_tick_count();
    watch({NOTICE_LIST_X, NOTICE_LIST_Y, NOTICE_LIST_X + 300, NOTICE_LIST_Y + NOTICE_LIST_ROW_H},
          "notice_post_land");
    seen = Seen{};
    ready = [] { return screen_depth >= 1; };
    click(300, NOTICE_TAB_X + 3 * NOTICE_TAB_W + 20, NOTICE_TAB_Y + 10);
    click(600, NOTICE_LIST_X + 100, NOTICE_LIST_Y + 10);
    EXPECT_EQ(ask(DECIDE_BOARD_POST, NOTICE_LAND), object_code(OBJ_LOT_BASE, 2));
    EXPECT_GT(seen.pixels, 0);
    notice_screen_close();
}

// A dialog of the board window gives the board back whole when it closes:
// while the pop-up after it asks (the asking price after a kind was chosen,
// the confirmation after an offer's buy button), every pixel right of and
// below where the dialog stood shows the board as it opened, on the display
// and in the back buffer that is shown next.
TEST_F(FinanceScreens, AClosedDialogLeavesNothingOfItselfUnderTheNextQuestion) {
    struct Case {
        const char* name;
        PlatRect dialog;
        int x1, y1, x2, y2, x3, y3; // its clicks; x3 < 0 for none
        bool (*asking)();           // the question after it is up
    };
    const PlatRect kind = notice_kind_button(NOTICE_ITEM);
    const PlatRect& buy = NOTICE_DETAIL_BUTTON;
    const Case cases[] = {
        {"notice_after_kind", NOTICE_CHOICE_PANEL, mid_x(NOTICE_POST_BUTTON),
         mid_y(NOTICE_POST_BUTTON), mid_x(kind), mid_y(kind), NOTICE_LIST_X + 100,
         NOTICE_LIST_Y + 10, [] { return numpad_open != 0; }},
        {"notice_after_detail", NOTICE_DETAIL_PANEL, cell_x(0), cell_y(2), mid_x(buy), mid_y(buy),
         -1, -1, [] { return shown_count(Shown::Question, 1) >= 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        notice_board_clear();
        player_items[0][4 - 1] = 1;
        player_items[2][4 - 1] = 1;
        notice_post(2, NOTICE_ITEM, 4, 700, 0);
        notice_screen_open(0);
        const std::vector<uint16_t> board = display_pixels();
        notice_screen_close();
        seen = Seen{};
        shown_clear();
        shot_name = c.name;
        ready = c.asking;
        t0 = plat_tick_count();
        click(200, c.x1, c.y1);
        click(500, c.x2, c.y2);
        if (c.x3 >= 0) click(900, c.x3, c.y3);
        right_click(1500); // the question cancelled
        right_click(2000); // the board left
        notice_visit();
        ASSERT_TRUE(seen.taken);
        int left_over[2] = {};
        for (int surface = 0; surface < 2; ++surface)
            for (int y = c.dialog.top; y < SCREEN_H; ++y)
                for (int x = c.dialog.left; x < SCREEN_W; ++x) {
                    const bool in_dialog = x < c.dialog.right && y < c.dialog.bottom;
                    const size_t i = static_cast<size_t>((surface * SCREEN_H + y) * SCREEN_W + x);
                    if (!in_dialog && seen.display[i] != board[i]) ++left_over[surface];
                }
        EXPECT_EQ(left_over[0], 0) << "on the display";
        EXPECT_EQ(left_over[1], 0) << "in the back buffer";
        EXPECT_EQ(screen_depth, 0);
    }
}

TEST_F(FinanceScreens, TheSettlementScreenShowsItsListingAndClicksHurryItToTheEnd) {
    settings_set_animations(1);
    player_table[1].deposit = 1000;
    player_table[2].loan = 5;
    player_table[2].deposit = 3000;
    watch(screen_rect, "settlement");
    ready = [] { return balloon_shown_time() != 0; };
    for (int k = 0; k < 60; ++k)
        click(300 + 400 * k, 320, 240);
    settle_monthly();
    EXPECT_TRUE(seen.taken);
    EXPECT_GT(seen.pixels, SCREEN_W * SCREEN_H / 2) << "the settlement covers the screen";
    EXPECT_EQ(player_table[1].deposit, 1100);
    EXPECT_EQ(player_table[2].deposit, 3000);
    EXPECT_EQ(shown_count(Shown::Music, 9), 1u);
    EXPECT_GE(shown_count(Shown::BoardRefresh), 1u);
    EXPECT_EQ(screen_depth, 0);
}

} // namespace
