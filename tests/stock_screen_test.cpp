// The stock screens: the exchange's trades, the closing notice, the pick of
// a company for the red and black cards, the detail page's chart and pie,
// and the dividend screen, under scripted mouse input.
#include "finance/stock_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/turn_flow.h"
#include "board/world_reset.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "engine/draw.h"
#include "engine/layout.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/dividends.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;
constexpr uint32_t P0_COLOUR = 0xE02020, P1_COLOUR = 0x2040E0;
constexpr int LINKED = 3; // stocks 0..2 have buildings 1..3

// A trading day of 1998 from 2 March on.
uint32_t open_day() {
    uint32_t date = cal_pack(1998, 3, 2);
    while (cal_is_holiday(date) != 0)
        cal_next_day(date);
    return date;
}

// Two players (0 a human, 1 a computer) on a board of three company
// buildings naming stocks 0..2, on a trading day.
struct Market {
    std::array<CompanyBuilding, 8> companies{};
    void set_up() {
        game_world_reset();
        cards_fill_pools();
        game_srand(7);
        game_player_count = 2;
        player_table[0].control = CTRL_HUMAN;
        player_table[0].colour = P0_COLOUR;
        player_table[0].deposit = 100000;
        player_table[1].control = CTRL_COMPUTER;
        player_table[1].colour = P1_COLOUR;
        game_active_mover = 0;
        stock_new_game(0);
        for (int j = 1; j <= LINKED; ++j) {
            companies[j].listed = static_cast<uint8_t>(j - 1);
            companies[j].value = 1000000;
        }
        map_company_table = companies.data();
        map_company_count = LINKED;
        stock_link_companies();
        stock_init_company_shares();
        for (StockRecord& s : stock_table) {
            s.price = s.previous_price = 20.0f;
            s.volume = 500;
        }
        game_date = open_day();
    }
    void tear_down() {
        map_company_table = nullptr;
        map_company_count = 0;
    }
};

int row_y(int i) {
    return STOCK_ROW_Y + STOCK_ROW_H * i;
}
int button_x(int b) {
    return (STOCK_BUTTON_RECTS[b].left + STOCK_BUTTON_RECTS[b].right) / 2;
}
int button_y(int b) {
    return (STOCK_BUTTON_RECTS[b].top + STOCK_BUTTON_RECTS[b].bottom) / 2;
}

// What the screen showed while open, sampled at each cursor redraw, and a
// shot of the first moment a wanted look appears when KARVO_SHOT_DIR is set.
struct Seen {
    int most_differing = 0; // display pixels not the background
    int limit_bar = 0;      // red limit bar pixels of row 0
    int hover_frame = 0;    // white pixels on row 5's top edge
    int chart = 0;          // chart pixels in the chart box
    int pie_holder = 0;     // player 0's colour around the pie
    int open_corner = 0;    // top-left pixels not the background while a screen is open
    int beside_figures = 0; // detail page: pixels right of the figures' box not the page's
    std::string shot;
    int shot_when_chart = 0;
    uint32_t shot_after = 0; // the virtual time from which the shot may be taken
    int shot_min_differing = 20000;
};
Seen g_seen;

int count_screen(const PlatRect& r, uint16_t pixel) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += PopupTest::screen_at(x, y) == pixel;
    return n;
}

void look() {
    g_seen.most_differing = std::max(
        g_seen.most_differing, PopupTest::screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND));
    g_seen.limit_bar = std::max(
        g_seen.limit_bar, count_screen(PlatRect{STOCK_LIMIT_BAR_X, row_y(0) - STOCK_LIMIT_BAR_H / 2,
                                                STOCK_LIMIT_BAR_X + STOCK_LIMIT_BAR_W,
                                                row_y(0) + STOCK_LIMIT_BAR_H / 2},
                                       gfx_rgb_to_pixel(0xD00000)));
    const int top5 = STOCK_ROWS.top + STOCK_ROW_H * 5;
    g_seen.hover_frame =
        std::max(g_seen.hover_frame,
                 count_screen(PlatRect{STOCK_ROWS.left, top5, STOCK_ROWS.right, top5 + 1},
                              gfx_rgb_to_pixel(0xFFFFFF)));
    if (screen_depth > 0)
        g_seen.open_corner =
            std::max(g_seen.open_corner, PopupTest::screen_differs(0, 0, 100, 100, BACKGROUND));
    const int chart = count_screen(STOCK_CHART_BOX, gfx_rgb_to_pixel(STOCK_CHART_COLOUR));
    g_seen.chart = std::max(g_seen.chart, chart);
    if (chart > 0) {
        // The figures' box's right edge and the strip beside it are each one
        // colour from top to bottom, nothing written across.
        const int top = STOCK_FIGURES_BOX.top + 4, bottom = STOCK_FIGURES_BOX.bottom - 4;
        int crossing = 0;
        for (int x = STOCK_FIGURES_BOX.right - 4; x < SCREEN_W; ++x)
            crossing +=
                bottom - top -
                count_screen(PlatRect{x, top, x + 1, bottom}, PopupTest::screen_at(x, bottom));
        g_seen.beside_figures = std::max(g_seen.beside_figures, crossing);
    }
    g_seen.pie_holder = std::max(
        g_seen.pie_holder,
        count_screen(PlatRect{STOCK_PIE_X - STOCK_PIE_R, STOCK_PIE_Y - STOCK_PIE_R,
                              STOCK_PIE_X + STOCK_PIE_R + 1, STOCK_PIE_Y + STOCK_PIE_R + 1},
                     gfx_rgb_to_pixel(P0_COLOUR)));
    const bool wanted =
        g_seen.shot_when_chart ? chart > 0 : g_seen.most_differing > g_seen.shot_min_differing;
    if (!g_seen.shot.empty() && wanted && plat_tick_count() >= g_seen.shot_after) {
        PopupTest::save_shot(g_seen.shot);
        g_seen.shot.clear();
    }
}

class StockScreen : public PopupTest {
  protected:
    Market market;
    void SetUp() override {
        PopupTest::SetUp();
        market.set_up();
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        shown_clear();
        decision_script_clear();
        g_seen = Seen{};
        plat_set_cursor_hook(look);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        market.tear_down();
        PopupTest::TearDown();
    }
};

TEST(StockScreenHitTest, RowsAndButtonsByTheirRectangles) {
    struct Case {
        int x, y, row, button;
    };
    const PlatRect& rows = STOCK_ROWS;
    const PlatRect& toggle = STOCK_BUTTON_RECTS[STOCK_BUTTON_TOGGLE];
    const PlatRect& buy = STOCK_BUTTON_RECTS[STOCK_BUTTON_BUY];
    const PlatRect& sell = STOCK_BUTTON_RECTS[STOCK_BUTTON_SELL];
    const PlatRect& detail = STOCK_BUTTON_RECTS[STOCK_BUTTON_DETAIL];
    const PlatRect& close = STOCK_BUTTON_RECTS[STOCK_BUTTON_CLOSE];
    const int mid = (buy.top + buy.bottom) / 2;
    const Case cases[] = {
        {rows.left, rows.top, 0, STOCK_BUTTON_NONE},
        {rows.right - 1, rows.top + STOCK_ROW_H - 1, 0, STOCK_BUTTON_NONE},
        {100, rows.top + STOCK_ROW_H, 1, STOCK_BUTTON_NONE},
        {100, rows.bottom - 1, 11, STOCK_BUTTON_NONE},
        {100, rows.bottom, -1, STOCK_BUTTON_NONE},
        {rows.left - 1, 200, -1, STOCK_BUTTON_NONE},
        {rows.right, 200, -1, STOCK_BUTTON_NONE},
        {100, rows.top - 1, -1, STOCK_BUTTON_NONE},
        {toggle.left, toggle.top, -1, STOCK_BUTTON_TOGGLE},
        {(buy.left + buy.right) / 2, mid, -1, STOCK_BUTTON_BUY},
        {(sell.left + sell.right) / 2, sell.bottom - 1, -1, STOCK_BUTTON_SELL},
        {detail.right - 1, detail.top + 8, -1, STOCK_BUTTON_DETAIL},
        {close.right - 1, close.bottom - 1, -1, STOCK_BUTTON_CLOSE},
        {close.right, mid, -1, STOCK_BUTTON_NONE},
        {(toggle.right + buy.left) / 2, mid, -1, STOCK_BUTTON_NONE}, // between two buttons
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stock_row_at(c.x, c.y), c.row) << c.x << "," << c.y;
        EXPECT_EQ(stock_button_at(c.x, c.y), c.button) << c.x << "," << c.y;
    }
}

TEST_F(StockScreen, BuyAndSellGoThroughTheNumberPadAndTheExchangeSounds) {
    g_seen.shot = "stock_exchange";
    g_seen.shot_after = t0 + 3500; // the holdings shown, a row selected and one framed
    decision_script_push(100);     // the number pad's answers
    decision_script_push(40);
    point_and_click(1000, 100, row_y(1));
    point_and_click(1500, button_x(STOCK_BUTTON_BUY), button_y(STOCK_BUTTON_BUY));
    point_and_click(2000, button_x(STOCK_BUTTON_SELL), button_y(STOCK_BUTTON_SELL));
    point_and_click(2500, button_x(STOCK_BUTTON_TOGGLE), button_y(STOCK_BUTTON_TOGGLE));
    move(t0 + 3000, 300, row_y(5) - 10);
    right_click(4000);
    EXPECT_EQ(stock_open_exchange(0), 0);
    EXPECT_EQ(stock_holdings[0][1].shares, 60);
    EXPECT_FLOAT_EQ(stock_holdings[0][1].avg_cost, 20.0f);
    EXPECT_EQ(player_table[0].deposit, 100000 - 100 * 20 + 40 * 20);
    EXPECT_EQ(stock_table[1].volume, 500 - 100 + 40);
    EXPECT_EQ(decision_script_left(), 0);
    EXPECT_EQ(decision_last_kind(), DECIDE_NUMBER);
    EXPECT_EQ(decision_last_amount(), 100) << "selling: at most the shares held";
    EXPECT_EQ(shown_count(Shown::Effect, STOCK_EFFECT_BUY), 1u);
    EXPECT_EQ(shown_count(Shown::Effect, STOCK_EFFECT_SELL), 1u);
    EXPECT_GE(shown_count(Shown::BoardRefresh), 1u) << "the board repainted after";
    EXPECT_GT(g_seen.most_differing, 200000) << "the exchange covers the screen";
    EXPECT_GE(g_seen.hover_frame, STOCK_ROWS.right - STOCK_ROWS.left - 2)
        << "the row under the pointer framed in white";
}

TEST_F(StockScreen, LimitsAndSuspensionStopTradesBeforeTheNumberPad) {
    // Row 0 at the limit up, row 1 at the limit down and held, row 2 suspended.
    stock_table[0].price = stock_price_step(20.0f, 10.0f);
    stock_table[1].price = stock_price_step(20.0f, -10.0f);
    stock_holdings[0][1] = StockHolding{50, 18.0f};
    stock_table[2].suspended_days = 2;
    stock_holdings[0][2] = StockHolding{50, 18.0f};
    point_and_click(1000, 100, row_y(0));
    point_and_click(1500, button_x(STOCK_BUTTON_BUY), button_y(STOCK_BUTTON_BUY));
    point_and_click(4000, 100, row_y(1));
    point_and_click(4500, button_x(STOCK_BUTTON_SELL), button_y(STOCK_BUTTON_SELL));
    point_and_click(7000, 100, row_y(2));
    point_and_click(7500, button_x(STOCK_BUTTON_BUY), button_y(STOCK_BUTTON_BUY));
    point_and_click(8000, button_x(STOCK_BUTTON_SELL), button_y(STOCK_BUTTON_SELL));
    point_and_click(8500, button_x(STOCK_BUTTON_CLOSE), button_y(STOCK_BUTTON_CLOSE));
    EXPECT_EQ(stock_open_exchange(0), 0);
    EXPECT_EQ(decision_asked_count(), 0) << "no number pad for any of them";
    EXPECT_NE(shown_find_text(Shown::Message, STOCK_TEXT_LIMIT_UP), nullptr);
    EXPECT_NE(shown_find_text(Shown::Message, STOCK_TEXT_LIMIT_DOWN), nullptr);
    EXPECT_EQ(shown_count(Shown::Message), 2u) << "a suspended company shows nothing";
    EXPECT_EQ(player_table[0].deposit, 100000);
    EXPECT_EQ(stock_holdings[0][1].shares, 50);
    EXPECT_EQ(stock_holdings[0][2].shares, 50);
    EXPECT_GT(g_seen.limit_bar, STOCK_LIMIT_BAR_W * STOCK_LIMIT_BAR_H / 2)
        << "the red bar behind a price at the limit";
}

TEST_F(StockScreen, AClosedDayShowsOnlyTheNoticeAndAnyClickClosesIt) {
    g_seen.shot = "stock_closed";
    g_seen.shot_min_differing = 2000;
    stock_closed_days = 2;
    // Nobody chairs the bank's company: the reserve check after the notice
    // makes a player with special financing repay it.
    player_table[1].special_financing = 5000;
    player_table[1].cash = 20000;
    decision_script_push(100);
    point_and_click(1000, 100, row_y(1)); // where a row would be: the notice closes
    for (int mode : {0, 1}) {
        if (mode == 1) {
            paint_screen(BACKGROUND);
            t0 = plat_tick_count();
            right_click(500);
        }
        shown_clear();
        EXPECT_EQ(stock_open_exchange(mode), 0);
        EXPECT_NE(shown_find_text(Shown::Panel, "本日休市"), nullptr);
        EXPECT_GE(shown_count(Shown::BoardRefresh), 1u);
    }
    EXPECT_EQ(decision_script_left(), 1) << "nothing traded";
    EXPECT_EQ(player_table[1].special_financing, 0) << "the bank's reserve check ran after";
    EXPECT_EQ(player_table[1].cash + player_table[1].deposit, 20000 - 5000);
    EXPECT_EQ(card_take_picked_company(), 0);
    EXPECT_EQ(stock_table[1].forced_move, 0);
    EXPECT_GT(g_seen.most_differing, 2000) << "the notice is drawn";
    EXPECT_EQ(g_seen.open_corner, 0) << "over the screen as it was";
}

// The red or black card played by player 0, the company picked in the
// exchange (window) or by a scripted answer.
struct PickCase {
    int card;
    bool window;
};

class StockPick : public StockScreen, public ::testing::WithParamInterface<PickCase> {};

TEST_P(StockPick, TheCardMovesThePickedCompanyByTheLimitOnceWhateverAnswered) {
    const PickCase c = GetParam();
    ASSERT_EQ(card_add(0, c.card), 1);
    stock_holdings[1][3] = StockHolding{1000, 20.0f};
    stock_table[3].suspended_days = 2; // a suspended company can be picked
    if (c.window) {
        g_seen.shot = c.card == 24 ? "stock_pick" : "";
        g_seen.shot_after = t0 + 1600; // the moved row
        move(t0 + 1000, 100, row_y(3));
        point_and_click(1500, 100, row_y(3));
    } else {
        decision_script_push(4);
    }
    const uint32_t start = plat_tick_count();
    EXPECT_EQ(card_handler_table[c.card](), 1);
    const float moved = stock_price_step(20.0f, c.card == 24 ? 10.0f : -10.0f);
    EXPECT_EQ(stock_table[3].forced_move, c.card == 24 ? STOCK_FORCE_RISE : STOCK_FORCE_FALL);
    EXPECT_FLOAT_EQ(stock_table[3].price, moved);
    EXPECT_FLOAT_EQ(stock_price_history[3][stock_latest_slot()], moved);
    for (int s = 0; s < STOCK_COUNT; ++s) {
        if (s == 3) continue;
        EXPECT_FLOAT_EQ(stock_table[s].price, 20.0f) << s;
    }
    EXPECT_FALSE(card_has(0, c.card)) << "the card is spent";
    EXPECT_EQ(card_take_picked_company(), 0) << "the card took the window's report";
    // The black card's grudge counts the drop once: 1000 x 2.0 / 200.
    EXPECT_EQ(player_table[1].grudge[0], c.card == 25 ? 10 : 0);
    if (c.window) {
        EXPECT_GE(plat_tick_count() - start, 1500u + 1000u) << "the moved row stays a second";
        EXPECT_GT(g_seen.most_differing, 200000);
    }
}

INSTANTIATE_TEST_SUITE_P(RedAndBlack, StockPick,
                         ::testing::Values(PickCase{24, true}, PickCase{24, false},
                                           PickCase{25, true}, PickCase{25, false}),
                         [](const ::testing::TestParamInfo<PickCase>& info) {
                             return std::string(info.param.card == 24 ? "Red" : "Black") +
                                    (info.param.window ? "ByWindow" : "ByScript");
                         });

TEST_F(StockScreen, LeavingThePickWithoutAClickCancelsTheCard) {
    ASSERT_EQ(card_add(0, 24), 1);
    right_click(1000);
    EXPECT_EQ(card_handler_table[24](), 0);
    EXPECT_TRUE(card_has(0, 24));
    for (const StockRecord& s : stock_table) {
        EXPECT_EQ(s.forced_move, 0);
        EXPECT_FLOAT_EQ(s.price, 20.0f);
    }
}

TEST_F(StockScreen, TheDetailPageOpensOnASecondClickOrItsTabAndDrawsChartAndPie) {
    g_seen.shot = "stock_detail";
    g_seen.shot_when_chart = 1;
    for (int k = 0; k < 30; ++k)
        stock_price_history[0][k] = 15.0f + static_cast<float>(k % 7);
    stock_history_day = 30;
    stock_holdings[0][0] = StockHolding{2500, 18.0f};
    stock_table[0].market_shares = static_cast<uint16_t>(stock_table[0].market_shares - 2500);
    point_and_click(1000, 100, row_y(0));
    point_and_click(1500, 100, row_y(0)); // the second click: the page
    click(2500, 300, 300);                // any click closes it
    point_and_click(3000, button_x(STOCK_BUTTON_DETAIL), button_y(STOCK_BUTTON_DETAIL));
    right_click(4000); // closes the page
    right_click(4500); // and the exchange
    EXPECT_EQ(stock_open_exchange(0), 0);
    EXPECT_GT(g_seen.chart, 30) << "the chart's line";
    EXPECT_EQ(g_seen.beside_figures, 0) << "every figure's label inside its box";
    // A quarter of the shares: about a quarter of the pie.
    EXPECT_NEAR(g_seen.pie_holder, 3.14159 * STOCK_PIE_R * STOCK_PIE_R / 4,
                0.05 * 3.14159 * STOCK_PIE_R * STOCK_PIE_R);
    EXPECT_EQ(shown_count(Shown::BoardRefresh), 1u);
}

// ---------------------------------------------------------------------------
// Chart and pie drawn into an image

class StockShapes : public ::testing::Test {
  protected:
    Market market;
    ImageRecord* img = nullptr;
    void SetUp() override {
        market.set_up();
        img = image_new(640, 480, 0, 0);
        std::fill_n(img->pixels, 640 * 480, uint16_t{0x1234});
    }
    void TearDown() override {
        std::free(img);
        market.tear_down();
    }
    int count(uint16_t pixel, const PlatRect& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += img->pixels[y * 640 + x] == pixel;
        return n;
    }
};

TEST_F(StockShapes, TheChartRunsInRingOrderToTheLatestSkippingZerosBetweenLowAndHigh) {
    const PlatRect box{100, 100, 244, 200}; // 144 wide: one column a slot
    auto& h = stock_price_history[5];
    h.fill(0.0f);
    // The ring's next slot is 10: slot 10 is the oldest, slot 9 the latest.
    stock_history_day = 10;
    h[10] = 30.0f; // oldest, the highest
    h[11] = 0.0f;  // skipped
    h[12] = 20.0f;
    h[100] = 10.0f; // the lowest
    h[9] = 25.0f;   // the latest
    int16_t xs[144], ys[144];
    ASSERT_EQ(stock_chart_points(5, box, xs, ys), 4);
    const int want_x[4] = {100, 102, 100 + 90, 243};
    const int want_y[4] = {100, 100 + 99 / 2, 199, 100 + 25};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(xs[k], want_x[k]) << k;
        EXPECT_NEAR(ys[k], want_y[k], 1) << k;
    }
    EXPECT_EQ(ys[0], box.top) << "the highest at the top";
    EXPECT_EQ(ys[2], box.bottom - 1) << "the lowest at the bottom";
    // Drawn: every pixel in the box, joined from the first point to the last.
    stock_draw_chart(img, 5, box);
    const uint16_t ink = gfx_rgb_to_pixel(STOCK_CHART_COLOUR);
    const int inside = count(ink, box);
    EXPECT_EQ(count(ink, PlatRect{0, 0, 640, 480}), inside) << "nothing outside the box";
    EXPECT_GE(inside, 144);
    for (int x = 100; x < 244; ++x)
        EXPECT_GE(count(ink, PlatRect{x, 100, x + 1, 200}), 1) << "a joined line, column " << x;
    // A flat history lies on the middle line; an empty one draws nothing.
    h.fill(0.0f);
    h[0] = h[1] = 12.0f;
    ASSERT_EQ(stock_chart_points(5, box, xs, ys), 2);
    EXPECT_EQ(ys[0], 100 + 99 / 2);
    EXPECT_EQ(ys[1], ys[0]);
    h.fill(0.0f);
    EXPECT_EQ(stock_chart_points(5, box, xs, ys), 0);
}

TEST_F(StockShapes, ThePieGivesEachHolderHisColourAndTheCompanyAndMarketGreysOfTenThousand) {
    // Stock 0: player 0 2500, player 1 none, the company 2500, the market 5000.
    stock_holdings[0][0].shares = 2500;
    stock_company(0)->own_shares = 2500;
    stock_table[0].market_shares = 5000;
    const int r = 40, cx = 300, cy = 200;
    stock_draw_pie(img, 0, cx, cy, r);
    int disc = 0;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            disc += dx * dx + dy * dy <= r * r;
    const int quarter = (disc - 1) / 4;
    const PlatRect all{0, 0, 640, 480};
    EXPECT_EQ(count(gfx_rgb_to_pixel(P0_COLOUR), all), quarter + 1);
    EXPECT_EQ(count(gfx_rgb_to_pixel(P1_COLOUR), all), 0);
    EXPECT_EQ(count(gfx_rgb_to_pixel(STOCK_PIE_COMPANY_GREY), all), quarter);
    EXPECT_EQ(count(gfx_rgb_to_pixel(STOCK_PIE_MARKET_GREY), all), 2 * quarter);
    // The first holder's slice starts straight up and runs clockwise.
    EXPECT_EQ(count(gfx_rgb_to_pixel(P0_COLOUR), PlatRect{cx, cy - r, cx + r + 1, cy}), quarter);
    // More shares than 10000 in all: the last slices are cut at the full turn.
    stock_table[0].market_shares = 9000;
    std::fill_n(img->pixels, 640 * 480, uint16_t{0x1234});
    stock_draw_pie(img, 0, cx, cy, r);
    EXPECT_EQ(count(gfx_rgb_to_pixel(STOCK_PIE_MARKET_GREY), all), 2 * quarter);
    EXPECT_EQ(count(uint16_t{0x1234}, all), 640 * 480 - disc);
}

// ---------------------------------------------------------------------------
// Dividends

class StockDividendRules : public ::testing::Test {
  protected:
    Market market;
    void SetUp() override {
        market.set_up();
        shown_clear();
        market.companies[1].earnings = 10000; // stock 0
        market.companies[2].earnings = 999;   // stock 1: nobody holds it
        stock_holdings[0][0].shares = 300;
        stock_holdings[1][0].shares = 100;
        player_table[1].deposit = 0;
    }
    void TearDown() override { market.tear_down(); }
};

TEST_F(StockDividendRules, TheScreenPaysOnceAndShowsWhatItPaid) {
    stock_show_dividends();
    EXPECT_EQ(player_table[0].deposit, 100000 + 7500);
    EXPECT_EQ(player_table[1].deposit, 2500);
    EXPECT_EQ(market.companies[1].earnings, 0);
    EXPECT_EQ(market.companies[2].earnings, 999) << "nobody holds it: it keeps accumulating";
    EXPECT_EQ(shown_count(Shown::Panel, STOCK_DIVIDEND_ENTRY), 1u);
    EXPECT_NE(shown_find_text(Shown::Panel, " 7500 2500 0 0"), nullptr);
}

TEST_F(StockDividendRules, TheFifteenthPaysTheDividendsOnceThroughTheScreen) {
    game_date = cal_pack(1998, 3, 14);
    const int32_t before0 = player_table[0].deposit;
    turn_new_day();
    ASSERT_EQ(cal_day(game_date), 15);
    EXPECT_EQ(player_table[0].deposit - before0, 7500);
    EXPECT_EQ(player_table[1].deposit, 2500);
    EXPECT_EQ(shown_count(Shown::Panel, STOCK_DIVIDEND_ENTRY), 1u);
    EXPECT_NE(shown_find_text(Shown::Panel, " 7500 2500 0 0"), nullptr)
        << "what was paid is what is shown";
}

class StockDividendWindow : public StockScreen {
  protected:
    void SetUp() override {
        StockScreen::SetUp();
        market.companies[1].earnings = 10000;
        stock_holdings[0][0].shares = 300;
        stock_holdings[1][0].shares = 100;
    }
};

TEST_F(StockDividendWindow, ThreeOneSecondTicksOrAClickCloseIt) {
    g_seen.shot = "stock_dividends";
    uint32_t start = plat_tick_count();
    stock_show_dividends();
    const uint32_t by_ticks = plat_tick_count() - start;
    EXPECT_GE(by_ticks, 3 * STOCK_DIVIDEND_TICK_MS);
    EXPECT_LT(by_ticks, 4 * STOCK_DIVIDEND_TICK_MS);
    EXPECT_EQ(shown_count(Shown::Effect, STOCK_EFFECT_DIVIDENDS), 1u);
    EXPECT_GT(g_seen.most_differing, 200000);
    EXPECT_EQ(player_table[0].deposit, 100000 + 7500);
    t0 = plat_tick_count();
    click(500, 300, 300);
    start = plat_tick_count();
    stock_show_dividends();
    EXPECT_LT(plat_tick_count() - start, 1000u);
    EXPECT_EQ(player_table[0].deposit, 100000 + 7500) << "the period's earnings were cleared";
}

} // namespace
