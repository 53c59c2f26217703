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

constexpr int ROW_X = 150;
int row_y(int k) {
    return 70 + 83 * k + 40;
}
constexpr int OK_X = 495, OK_Y = 185, CANCEL_X = 495, CANCEL_Y = 270;

TEST_F(AiPanel, OkWritesEveryRowBackWithItsSwitchesPersonalityAndShares) {
    click(100, 300, 115);                     // use cards
    click(200, 300, 265);                     // cunning
    at(t0 + 300, SCRIPT_LEFT_DOWN, 320, 340); // the cash bar, then dragged to its end
    move(t0 + 320, 389, 340);
    at(t0 + 340, SCRIPT_LEFT_UP, 389, 340);
    click(400, 395, 370);        // stock + : 95
    click(500, 395, 370);        // stock + : 100
    click(600, ROW_X, row_y(0)); // select the first row (seat 0)
    click(700, ROW_X, row_y(0)); // and hand it over
    click(800, 300, 370 - 33);   // cash - on seat 0: 40
    move(t0 + 900, OK_X, OK_Y);
    at(t0 + 900, SCRIPT_LEFT_DOWN, OK_X, OK_Y);
    at(t0 + 950, SCRIPT_LEFT_UP, OK_X, OK_Y);
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
    click(100, 300, 115);
    click(200, ROW_X, row_y(1)); // the selected row: handed over in the copy
    click(300, CANCEL_X, CANCEL_Y);
    ai_panel_open();
    t0 = plat_tick_count();
    click(100, 300, 146);
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
    click(100, 300, 146); // use items, on the row kept selected (seat 3)
    click(200, OK_X, OK_Y);
    ai_panel_open();
    EXPECT_EQ(player_table[3].ai_flags, 2);
    EXPECT_EQ(player_table[0].ai_flags, 0);
}

TEST_F(AiPanel, WithNoHumanSeatOkDoesNotCloseButTheRightButtonDoes) {
    for (PlayerRecord& r : player_table)
        r.control = CTRL_COMPUTER;
    click(100, OK_X, OK_Y);
    click(150, ROW_X, row_y(0));
    click(200, 395, 370);
    right_click(1000, 300, 300);
    ai_panel_open();
    EXPECT_GE(plat_tick_count() - t0, 1000u) << "only the right button left the panel";
    for (const PlayerRecord& r : player_table)
        EXPECT_EQ(r.stock_pct, 85);
}

} // namespace
