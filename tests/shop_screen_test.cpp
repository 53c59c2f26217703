// The points shop's window under scripted mouse input: the counter's hit
// test, what clicks buy and sell, the switch and leave buttons, the music
// and the board repainted after.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/image.h"
#include "engine/music.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/shop.h"
#include "finance/shop_screen.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;

TEST(ShopHitTest, CardRowsStopAtTheRowsListedAndTheLastPixelRowIsNone) {
    game_world_reset();
    cards_fill_pools();
    shop_session = ShopSession{};
    shop_session.player = 0;
    shop_session.card_rows = 15;
    struct Case {
        int x, y, row;
    };
    const Case full[] = {{23, 81, 0},    {215, 104, 0}, {100, 105, 1}, {100, 440, 14},
                         {100, 441, -1}, {22, 90, -1},  {216, 90, -1}, {100, 80, -1}};
    for (const Case& c : full)
        EXPECT_EQ(shop_row_at(c.x, c.y), c.row) << c.x << "," << c.y;
    shop_session.card_rows = 6;
    EXPECT_EQ(shop_row_at(100, 81 + 24 * 5), 5);
    EXPECT_EQ(shop_row_at(100, 81 + 24 * 6), -1) << "a row past those listed";
    EXPECT_EQ(shop_action_at(100, 81 + 24 * 6), -1);
    // The item counter: 48 pixels a row, centred on 92 + 48 i.
    shop_session.counter = SHOP_ITEMS;
    shop_session.item_rows = 3;
    EXPECT_EQ(shop_row_at(100, 68), 0);
    EXPECT_EQ(shop_row_at(100, 116), 1);
    EXPECT_EQ(shop_row_at(100, 92 + 96), 2);
    EXPECT_EQ(shop_row_at(100, 92 + 144), -1);
}

TEST(ShopHitTest, ButtonsAndHeldGoodsGiveTheirActions) {
    game_world_reset();
    cards_fill_pools();
    ASSERT_EQ(card_add(0, CARD_REBUILD), 1);
    ASSERT_EQ(card_add(0, CARD_ANGEL), 1);
    ASSERT_EQ(item_add(0, ITEM_MINE), 1);
    ASSERT_EQ(item_add(0, ITEM_CAR), 1);
    shop_session = ShopSession{};
    shop_session.player = 0;
    EXPECT_EQ(shop_action_at(542, 13), SHOP_SWITCH);
    EXPECT_EQ(shop_action_at(627, 98), SHOP_SWITCH);
    EXPECT_EQ(shop_action_at(628, 98), -1);
    EXPECT_EQ(shop_action_at(556, 246), SHOP_LEAVE);
    EXPECT_EQ(shop_action_at(636, 286), SHOP_LEAVE);
    EXPECT_EQ(shop_action_at(232, 298), SHOP_SELL_CARD + 0);
    EXPECT_EQ(shop_action_at(312, 353), SHOP_SELL_CARD + 1);
    EXPECT_EQ(shop_action_at(392, 320), -1) << "an empty slot";
    EXPECT_EQ(shop_action_at(231, 320), -1);
    shop_session.counter = SHOP_ITEMS;
    EXPECT_EQ(shop_action_at(240, 320), SHOP_SELL_ITEM + ITEM_MINE);
    EXPECT_EQ(shop_action_at(320, 320), SHOP_SELL_ITEM + ITEM_CAR);
    EXPECT_EQ(shop_action_at(632, 466), -1);
}

class ShopWindow : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        cards_fill_pools();
        game_srand(3);
        game_player_count = 2;
        player_table[0].control = CTRL_HUMAN;
        player_table[0].points = 500;
        player_table[1].control = CTRL_COMPUTER;
        game_active_mover = 0;
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        shown_clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        shop_set_observer(nullptr);
        PopupTest::TearDown();
    }
};

ShopReport g_report;
void keep(const ShopReport& r) {
    g_report = r;
}

// What the screen showed while open, and a shot when KARVO_SHOT_DIR is set.
struct Seen {
    int switch_button = 0, panel = 0, goods = 0;
};
Seen g_seen;
std::string g_shot;
void look() {
    g_seen.switch_button =
        std::max(g_seen.switch_button, PopupTest::screen_differs(542, 13, 628, 99, BACKGROUND));
    g_seen.panel = std::max(g_seen.panel, PopupTest::screen_differs(23, 81, 216, 441, BACKGROUND));
    g_seen.goods =
        std::max(g_seen.goods, PopupTest::screen_differs(232, 298, 633, 467, BACKGROUND));
    if (!g_shot.empty() && g_seen.panel > 0 && plat_tick_count() > 1500) {
        PopupTest::save_shot(g_shot);
        g_shot.clear();
    }
}

TEST_F(ShopWindow, ClicksBuyAndSellTheSwitchChangesCounterAndLeaveClosesWithMusicBack) {
    ASSERT_EQ(card_add(0, CARD_REBUILD), 1);
    shop_set_observer(keep);
    g_seen = Seen{};
    g_shot = "shop_cards";
    plat_set_cursor_hook(look);
    const int depth = music_stack_depth;
    point_and_click(1000, 100, 81 + 5); // row 0 of the card counter
    point_and_click(1500, 100, 441);    // past the rows: nothing
    point_and_click(2000, 240, 300);    // sell the held 改建卡
    point_and_click(2500, 580, 50);     // to the item counter
    point_and_click(3500, 100, 92);     // buy the first item (the robot doll)
    point_and_click(4000, 590, 260);    // leave
    shop_visit(0);
    ASSERT_EQ(card_count(0), 1) << "one card bought, the held one sold";
    EXPECT_EQ(g_report.points_spent, card_def(player_cards[0][0]).price + 15);
    EXPECT_EQ(player_items[0][ITEM_ROBOT_DOLL - 1], 1);
    EXPECT_EQ(g_report.sold_prices, 15);
    EXPECT_EQ(g_report.takings, 10 * g_report.points_spent + 15);
    EXPECT_EQ(player_table[0].points, 500 - g_report.points_spent + 13);
    EXPECT_EQ(shown_count(Shown::Music, 6), 1u);
    EXPECT_EQ(music_stack_depth, depth) << "the music before it resumed";
    EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u) << "the board repainted after";
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0000"), nullptr) << "the card clerk's greeting";
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0005"), nullptr) << "the item clerk's";
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0010"), nullptr) << "the item farewell";
    EXPECT_GT(g_seen.switch_button, 0);
    EXPECT_GT(g_seen.panel, 0);
    EXPECT_GT(g_seen.goods, 0);
}

// The top-left corner of the text-coloured pixels in a rectangle of the
// display, {-1, -1} when there are none.
struct Corner {
    int x = -1, y = -1;
    bool operator==(const Corner&) const = default;
};
void PrintTo(const Corner& c, std::ostream* os) {
    *os << "(" << c.x << ", " << c.y << ")";
}
Corner text_corner(int left, int top, int right, int bottom) {
    const uint16_t white = gfx_rgb_to_pixel(0xFFFFFF);
    Corner c;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (PopupTest::screen_at(x, y) == white) {
                if (c.y < 0) c.y = y;
                if (c.x < 0 || x < c.x) c.x = x;
            }
    return c;
}

// Each card row's name and price where they belong, read once the panel
// has come to rest.
std::vector<Corner> g_names, g_prices;
uint32_t g_rows_after = 0;
void look_at_rows() {
    if (!g_names.empty() || plat_tick_count() < g_rows_after) return;
    for (int i = 0; i < shop_session.card_rows; ++i) {
        const int band = SHOP_CARD_PRICE_Y + SHOP_CARD_ROW_H * i; // the row's texts lie below
        g_names.push_back(text_corner(56, band, 190, band + SHOP_CARD_ROW_H));
        g_prices.push_back(text_corner(190, band, 240, band + SHOP_CARD_ROW_H));
    }
}

TEST_F(ShopWindow, ACardRowShowsItsNameAndItsPriceAtTheirPlaces) {
    g_names.clear();
    g_prices.clear();
    g_rows_after = t0 + 1500;
    plat_set_cursor_hook(look_at_rows);
    right_click(2000);
    shop_visit(0);
    ASSERT_GE(g_names.size(), 6u);
    for (size_t i = 0; i < g_names.size(); ++i) {
        SCOPED_TRACE(i);
        const int row = SHOP_CARD_ROW_H * static_cast<int>(i);
        EXPECT_EQ(g_names[i], (Corner{SHOP_CARD_NAME_X, SHOP_CARD_NAME_Y + row}));
        EXPECT_EQ(g_prices[i], (Corner{SHOP_CARD_PRICE_X, SHOP_CARD_PRICE_Y + row}));
    }
}

TEST_F(ShopWindow, RefusedPurchasesLetTheClerkSaySoAndTheRightButtonLeaves) {
    player_table[0].points = 5;
    g_seen = Seen{};
    g_shot = "shop_items";
    plat_set_cursor_hook(look);
    point_and_click(1000, 580, 50); // the item counter
    point_and_click(2000, 100, 92); // the robot doll, 15 points
    right_click(3000);
    shop_visit(0);
    EXPECT_EQ(player_items[0][ITEM_ROBOT_DOLL - 1], 0);
    EXPECT_EQ(player_table[0].points, 5);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0007"), nullptr);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0010"), nullptr);
}

TEST_F(ShopWindow, AVisitDrawsAndBuysAlikeShownOrAnsweredByScript) {
    game_srand(11);
    point_and_click(1000, 100, 81 + 5); // row 0
    right_click(2000);
    shop_visit(0);
    const uint32_t shown_seed = game_rand_seed();
    const auto shown_hand = player_cards[0];
    ASSERT_NE(shown_hand[0], 0);

    game_world_reset();
    cards_fill_pools();
    player_table[0].control = CTRL_HUMAN;
    player_table[0].points = 500;
    game_player_count = 2;
    game_srand(11);
    decision_script_push(SHOP_BUY_ROW);
    decision_script_push(SHOP_LEAVE);
    shop_visit(0);
    EXPECT_EQ(game_rand_seed(), shown_seed);
    EXPECT_EQ(player_cards[0], shown_hand);
}

} // namespace
