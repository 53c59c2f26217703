// The computer players' settings panel under scripted mouse: the rows of the
// human seats, the switches, the personality, the bars and their arrows, OK
// writing every row back, cancel and the right button writing nothing, and
// the selected row kept between openings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/ai_settings.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

bool shot_taken = false;
uint32_t shot_at = 0;
void shoot() {
    if (shot_taken || plat_tick_count() < shot_at) return;
    shot_taken = true;
    PopupTest::save_shot("ai_panel");
}

class AiPanel : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        shown_clear();
        const uint8_t controls[4] = {CTRL_HUMAN, CTRL_COMPUTER, CTRL_HUMAN,
                                     CTRL_HUMAN | CTRL_HANDED_OVER};
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            player_table[p].control = controls[p];
            player_table[p].character = static_cast<uint8_t>(p);
            player_table[p].cash_pct = 50;
            player_table[p].stock_pct = 85;
        }
        game_player_count = 4;
        game_active_mover = 2; // the second row
        app_active = 1;
        t0 = plat_tick_count();
    }
};

// Points inside row k, a spot and a bar.
constexpr int ROW_X = AI_PANEL_ROW_LEFT + 40;
int row_y(int k) {
    return AI_PANEL_ROW_TOP + AI_PANEL_ROW_STEP * k + 40;
}
int spot_x(AiPanelSpot s) {
    const AiPanelRect& r = ai_panel_spots[static_cast<size_t>(s)];
    return (r.left + r.right) / 2;
}
int spot_y(AiPanelSpot s) {
    const AiPanelRect& r = ai_panel_spots[static_cast<size_t>(s)];
    return (r.top + r.bottom) / 2;
}
constexpr int CASH_BAR_Y = (AI_PANEL_CASH_BAR.top + AI_PANEL_CASH_BAR.bottom) / 2;

TEST_F(AiPanel, OkWritesEveryRowBackWithItsSwitchesPersonalityAndShares) {
    click(100, spot_x(AI_SPOT_CARDS), spot_y(AI_SPOT_CARDS));
    click(200, spot_x(AI_SPOT_CUNNING), spot_y(AI_SPOT_CUNNING));
    // The cash bar, then dragged to its end.
    const int bar_end = AI_PANEL_CASH_BAR.right - 1;
    at(t0 + 300, SCRIPT_LEFT_DOWN, AI_PANEL_CASH_BAR.left + 10, CASH_BAR_Y);
    move(t0 + 320, bar_end, CASH_BAR_Y);
    at(t0 + 340, SCRIPT_LEFT_UP, bar_end, CASH_BAR_Y);
    click(400, spot_x(AI_SPOT_STOCK_PLUS), spot_y(AI_SPOT_STOCK_PLUS)); // 95
    click(500, spot_x(AI_SPOT_STOCK_PLUS), spot_y(AI_SPOT_STOCK_PLUS)); // 100
    click(600, ROW_X, row_y(0)); // select the first row (seat 0)
    click(700, ROW_X, row_y(0)); // and hand it over
    click(800, spot_x(AI_SPOT_CASH_MINUS), spot_y(AI_SPOT_CASH_MINUS)); // on seat 0: 40
    const int ok_x = spot_x(AI_SPOT_OK), ok_y = spot_y(AI_SPOT_OK);
    move(t0 + 900, ok_x, ok_y);
    at(t0 + 900, SCRIPT_LEFT_DOWN, ok_x, ok_y);
    at(t0 + 950, SCRIPT_LEFT_UP, ok_x, ok_y);
    shot_at = t0 + 920; // with the OK button held
    plat_set_cursor_hook(shoot);
    ai_panel_open();
    plat_set_cursor_hook(nullptr);
    const PlayerRecord& s2 = player_table[2];
    EXPECT_EQ(s2.ai_flags, 1);
    EXPECT_EQ(s2.personality, PERS_CUNNING);
    EXPECT_EQ(s2.cash_pct, 90) << "the bar's end gives 90";
    EXPECT_EQ(s2.stock_pct, 100) << "the + arrow reaches 100";
    EXPECT_EQ(s2.control, CTRL_HUMAN);
    EXPECT_EQ(player_table[0].control, CTRL_HUMAN | CTRL_HANDED_OVER);
    EXPECT_EQ(player_table[0].cash_pct, 40);
    EXPECT_EQ(player_table[1].control, CTRL_COMPUTER) << "a computer seat has no row";
    EXPECT_EQ(player_table[3].control, CTRL_HUMAN | CTRL_HANDED_OVER);
    EXPECT_GE(shown_count(Shown::BoardRefresh), 1u) << "the board is repainted after";
}

TEST_F(AiPanel, CancelAndTheRightButtonWriteNothing) {
    click(100, spot_x(AI_SPOT_CARDS), spot_y(AI_SPOT_CARDS));
    click(200, ROW_X, row_y(1)); // the selected row: handed over in the copy
    click(300, spot_x(AI_SPOT_CANCEL), spot_y(AI_SPOT_CANCEL));
    ai_panel_open();
    t0 = plat_tick_count();
    click(100, spot_x(AI_SPOT_ITEMS), spot_y(AI_SPOT_ITEMS));
    right_click(200, 300, 300);
    ai_panel_open();
    EXPECT_EQ(player_table[2].ai_flags, 0);
    EXPECT_EQ(player_table[2].control, CTRL_HUMAN);
}

TEST_F(AiPanel, TheSelectedRowIsKeptWhenTheCurrentPlayerHasNone) {
    game_active_mover = 1; // a computer: no row of its own
    click(100, ROW_X, row_y(2));
    right_click(200, 300, 300);
    ai_panel_open();
    t0 = plat_tick_count();
    // Use items, on the row kept selected (seat 3).
    click(100, spot_x(AI_SPOT_ITEMS), spot_y(AI_SPOT_ITEMS));
    click(200, spot_x(AI_SPOT_OK), spot_y(AI_SPOT_OK));
    ai_panel_open();
    EXPECT_EQ(player_table[3].ai_flags, 2);
    EXPECT_EQ(player_table[0].ai_flags, 0);
}

TEST_F(AiPanel, WithNoHumanSeatOkDoesNotCloseButTheRightButtonDoes) {
    for (PlayerRecord& r : player_table)
        r.control = CTRL_COMPUTER;
    click(100, spot_x(AI_SPOT_OK), spot_y(AI_SPOT_OK));
    click(150, ROW_X, row_y(0));
    click(200, spot_x(AI_SPOT_STOCK_PLUS), spot_y(AI_SPOT_STOCK_PLUS));
    right_click(1000, 300, 300);
    ai_panel_open();
    EXPECT_GE(plat_tick_count() - t0, 1000u) << "only the right button left the panel";
    for (const PlayerRecord& r : player_table)
        EXPECT_EQ(r.stock_pct, 85);
}

} // namespace
