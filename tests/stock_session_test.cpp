// The share exchange in the real program: on his turn the human opens it from
// the toolbar, selects a company, buys the most the number pad offers by its
// own buttons, looks at the company's page and goes back to the board.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "finance/stock_screen.h"
#include "finance/trading.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "runner_game.h"
#include "shell/screen.h"
#include "support/human_session.h"
#include "support/popup_fixture.h"
#include "support/scripted_session.h"

namespace {

constexpr int STOCK = 0;

struct Session : ScriptedSession {
    int32_t most = 0;
    int32_t deposit_before = 0;
    bool exchange_drawn = false, pad_opened = false, detail_drawn = false, back_on_board = false;
};
Session s;

bool human_waits() {
    return game_active_mover == 0 && board_input_enabled && screen_depth == 1;
}

void shot(const char* name) {
    PopupTest::save_shot(name);
}

// Display pixels of a rectangle in one colour.
int pixels_of(const PlatRect& r, uint32_t rgb) {
    const uint16_t p = gfx_rgb_to_pixel(rgb);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += surface_pixel(primary_surface, x, y) == p;
    return n;
}

void director() {
    if (!primary_surface || !back_surface) return;
    const uint32_t now = plat_tick_count();
    if (now > 10u * 60u * 1000u && s.stage < 100) {
        session_fail(s, "the session did not reach its end");
        s.stage = 100;
        session_at(s, 10, SCRIPT_CLOSE);
        return;
    }
    if (now < s.next_at) {
        session_keep_alive();
        return;
    }
    const int row_y = STOCK_ROW_Y + STOCK_ROW_H * STOCK;
    switch (s.stage) {
    case 0: // the human's turn: the toolbar's stock button
        if (human_waits()) {
            session_toolbar(s, 100, TOOLBAR_STOCKS);
            s.stage = 1;
        }
        break;
    case 1: // the exchange is up: select the company, then buy
        if (screen_depth == 2 && shown_count(Shown::Panel, STOCK_PANEL_ENTRY) == 1) {
            s.exchange_drawn = PopupTest::screen_differs(0, 0, 640, 480, 0) > 200000;
            shot("session_exchange");
            if (stock_exchange_buy_check(0, STOCK, &s.most) != STOCK_TRADE_OK)
                session_fail(s, "the company cannot be bought");
            s.deposit_before = player_table[0].deposit;
            session_click(s, 100, 100, row_y);
            session_click(s, 400,
                          (STOCK_BUTTON_RECTS[STOCK_BUTTON_BUY].left +
                           STOCK_BUTTON_RECTS[STOCK_BUTTON_BUY].right) /
                              2,
                          30);
            s.stage = 2;
        }
        break;
    case 2: // the number pad: its maximum button, then OK
        if (numpad_open) {
            s.pad_opened = true;
            shot("session_numpad");
            const NumpadRect& m = numpad_button_rects[NUMPAD_MAXIMUM];
            const NumpadRect& ok = numpad_button_rects[NUMPAD_OK];
            session_click(s, 100, numpad_state.x + m.x + m.w / 2, numpad_state.y + m.y + m.h / 2);
            session_click(s, 400, numpad_state.x + ok.x + ok.w / 2,
                          numpad_state.y + ok.y + ok.h / 2);
            s.stage = 3;
        }
        break;
    case 3: // bought: the company's page by a second click on its row
        if (!numpad_open && screen_depth == 2 &&
            shown_count(Shown::Effect, STOCK_EFFECT_BUY) == 1) {
            session_click(s, 100, 100, row_y);
            s.stage = 4;
        }
        break;
    case 4:
        if (screen_depth == 3) {
            s.detail_drawn = pixels_of(STOCK_CHART_BOX, STOCK_CHART_COLOUR) > 0;
            shot("session_detail");
            session_at(s, 300, SCRIPT_RIGHT_DOWN);
            session_at(s, 350, SCRIPT_RIGHT_UP); // the page
            session_at(s, 800, SCRIPT_RIGHT_DOWN);
            session_at(s, 850, SCRIPT_RIGHT_UP); // the exchange
            s.stage = 5;
        }
        break;
    case 5:
        if (human_waits()) {
            s.back_on_board = true;
            shot("session_board");
            session_at(s, 100, SCRIPT_CLOSE);
            s.stage = 100;
        }
        break;
    default:
        break;
    }
    session_keep_alive();
}

void hook() {
    cursor_serve_ticks();
    director();
}

void game_started() {
    shown_clear();
    // A trading day, and a deposit to buy with.
    game_date = cal_pack(1998, 3, 2);
    while (stock_market_closed() == 1)
        cal_next_day(game_date);
    player_table[0].deposit = 30000;
    plat_set_cursor_hook(hook);
}

} // namespace

TEST(StockSession, TheHumanBuysAtTheExchangeByItsButtonsAndTheNumberPadAndGoesBack) {
    s = Session{};
    RunnerOptions options;
    options.seed = 3;
    options.map = 0;
    options.players = 2;
    options.days = 30;
    std::string error;
    const int status = session_run_human("stock_session.txt", options, game_started, &error);
    ASSERT_EQ(status, 0) << error;
    for (const std::string& f : s.failures)
        ADD_FAILURE() << f;
    EXPECT_EQ(s.stage, 100);
    EXPECT_TRUE(s.exchange_drawn);
    EXPECT_TRUE(s.pad_opened);
    EXPECT_TRUE(s.detail_drawn);
    EXPECT_TRUE(s.back_on_board);
    ASSERT_GT(s.most, 0);
    EXPECT_EQ(stock_holdings[0][STOCK].shares, s.most) << "the pad's maximum";
    EXPECT_LT(player_table[0].deposit, s.deposit_before);
}
