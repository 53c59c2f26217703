#include <gtest/gtest.h>

#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/ai_settings.h"

namespace {

class AiPanelRows : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            player_table[p].control = p == 1 ? CTRL_COMPUTER : CTRL_HUMAN;
            player_table[p].cash_pct = 50;
            player_table[p].stock_pct = 20;
        }
        game_active_mover = 2;
    }
    void TearDown() override { game_world_reset(); }
    // The panel's rules pressed and released at one point, with no window
    // or clock (the window's scripted clicks are in ai_panel_screen_test).
    static void press_and_release(AiPanel& p, int x, int y) {
        ai_panel_press(p, x, y);
        ai_panel_release(p, x, y);
    }
    static void click_spot(AiPanel& p, int spot) {
        const AiPanelRect& r = ai_panel_spots[spot];
        press_and_release(p, r.left + 1, r.top + 1);
    }
    static int row_y(int row) { return AI_PANEL_ROW_TOP + AI_PANEL_ROW_STEP * row + 10; }
};

TEST_F(AiPanelRows, RowsAreTheHumanSeatsWithTheCurrentPlayerSelected) {
    AiPanel p = ai_panel_begin();
    ASSERT_EQ(p.count, 3);
    EXPECT_EQ(p.rows[0].seat, 0);
    EXPECT_EQ(p.rows[1].seat, 2);
    EXPECT_EQ(p.rows[2].seat, 3);
    EXPECT_EQ(p.selected, 1);
}

TEST_F(AiPanelRows, APressSelectsARowAndASecondPressHandsItOver) {
    AiPanel p = ai_panel_begin();
    press_and_release(p, 150, row_y(0));
    EXPECT_EQ(p.selected, 0);
    EXPECT_EQ(p.rows[0].control, CTRL_HUMAN);
    press_and_release(p, 150, row_y(0));
    EXPECT_EQ(p.rows[0].control, CTRL_HUMAN | CTRL_HANDED_OVER);
    press_and_release(p, 150, row_y(3)); // no fourth row
    EXPECT_EQ(p.selected, 0);
}

TEST_F(AiPanelRows, TheBarEndGivesNinetyAndOnlyPlusReachesOneHundred) {
    AiPanel p = ai_panel_begin();
    ai_panel_press(p, 311, 330);
    EXPECT_EQ(p.rows[1].cash_pct, 0);
    ai_panel_drag(p, 389, 330);
    EXPECT_EQ(p.rows[1].cash_pct, 90);
    ai_panel_drag(p, 395, 330); // past the bar: unchanged
    EXPECT_EQ(p.rows[1].cash_pct, 90);
    ai_panel_release(p, 395, 330);
    click_spot(p, AI_SPOT_CASH_PLUS);
    EXPECT_EQ(p.rows[1].cash_pct, 100);
    click_spot(p, AI_SPOT_CASH_PLUS);
    EXPECT_EQ(p.rows[1].cash_pct, 100);
    p.rows[1].stock_pct = 5;
    click_spot(p, AI_SPOT_STOCK_MINUS);
    EXPECT_EQ(p.rows[1].stock_pct, 0);
    ai_panel_press(p, 350, 370);
    EXPECT_EQ(p.rows[1].stock_pct, 50);
}

TEST_F(AiPanelRows, ASpotActsOnlyWhenReleasedOverIt) {
    AiPanel p = ai_panel_begin();
    const AiPanelRect& r = ai_panel_spots[AI_SPOT_CARDS];
    ai_panel_press(p, r.left + 1, r.top + 1);
    EXPECT_EQ(p.pressed, AI_SPOT_CARDS);
    ai_panel_release(p, 10, 10);
    EXPECT_EQ(p.rows[1].ai_flags, 0);
    click_spot(p, AI_SPOT_CARDS);
    click_spot(p, AI_SPOT_ITEMS);
    click_spot(p, AI_SPOT_CUNNING);
    EXPECT_EQ(p.rows[1].ai_flags, 3);
    EXPECT_EQ(p.rows[1].personality, PERS_CUNNING);
}

TEST_F(AiPanelRows, OkWritesEveryRowBackAndCancelNothing) {
    AiPanel p = ai_panel_begin();
    click_spot(p, AI_SPOT_GOOD);
    press_and_release(p, 150, row_y(2));
    press_and_release(p, 150, row_y(2));
    click_spot(p, AI_SPOT_STOCK_PLUS);
    AiPanel cancelled = p;
    click_spot(cancelled, AI_SPOT_CANCEL);
    EXPECT_EQ(cancelled.result, AI_PANEL_CLOSED);
    EXPECT_EQ(player_table[3].control, CTRL_HUMAN);
    AiPanel right = p;
    ai_panel_right_button(right);
    EXPECT_EQ(right.result, AI_PANEL_CLOSED);
    EXPECT_EQ(player_table[3].stock_pct, 20);
    click_spot(p, AI_SPOT_OK);
    EXPECT_EQ(p.result, AI_PANEL_OK);
    EXPECT_EQ(player_table[2].personality, PERS_GOOD);
    EXPECT_EQ(player_table[3].control, CTRL_HUMAN | CTRL_HANDED_OVER);
    EXPECT_EQ(player_table[3].stock_pct, 30);
    EXPECT_EQ(player_table[1].control, CTRL_COMPUTER);
}

TEST_F(AiPanelRows, TheSelectionIsKeptBetweenOpenings) {
    game_active_mover = 1; // a computer's turn: its seat has no row
    AiPanel p = ai_panel_begin();
    EXPECT_EQ(p.selected, -1);
    press_and_release(p, 150, row_y(2));
    ai_panel_right_button(p);
    EXPECT_EQ(ai_panel_begin().selected, 2);
}

TEST_F(AiPanelRows, WithoutHumanSeatsOnlyCancelLeaves) {
    for (int s = 0; s < PLAYER_COUNT; ++s)
        player_table[s].control = CTRL_COMPUTER;
    AiPanel p = ai_panel_begin();
    EXPECT_EQ(p.count, 0);
    press_and_release(p, 150, row_y(0));
    click_spot(p, AI_SPOT_CASH_PLUS);
    click_spot(p, AI_SPOT_OK);
    EXPECT_EQ(p.result, AI_PANEL_OPEN) << "OK has no row to write";
    click_spot(p, AI_SPOT_CANCEL);
    EXPECT_EQ(p.result, AI_PANEL_CLOSED);
}

} // namespace
