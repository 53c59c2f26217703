// The stock screens: the exchange with its price and holdings tables, a
// company's detail page with its holders' pie and price chart, the closing
// notice of a day without trading and the dividend screen of the 15th.
// The rules they call are finance/stock.cpp's, trading.cpp's and
// dividends.cpp's; with no display each records what it would show and
// returns at once.
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "platform/messages.h"

// PANEL.MKF entry of the exchange's pictures and its frames.
inline constexpr int STOCK_PANEL_ENTRY = 75;
enum StockPanelFrame : int {
    STOCK_FRAME_BACKGROUND = 0,  // 640 x 480: the title strip, the buttons' places, the table
    STOCK_FRAME_TAB_PLAIN = 1,   // + tab: the three tabs (buy, sell, the company page) as drawn
    STOCK_FRAME_TAB_LIT = 4,     // + tab: lit under the pointer
    STOCK_FRAME_TAB_PRESSED = 7, // + tab: held down
    STOCK_FRAME_TOGGLE = 10,     // the prices / holdings button, 11 pressed
    STOCK_FRAME_CLOSE = 12,      // the close button, 13 pressed
    STOCK_FRAME_DETAIL = 14,     // 640 x 480: the detail page's boxes
    STOCK_FRAME_COUNT = 15,
};
// PANEL.MKF entry of the dividend screen and its one frame (640 x 480).
inline constexpr int STOCK_DIVIDEND_ENTRY = 76;
inline constexpr int STOCK_DIVIDEND_F_BACKGROUND = 0;
// EFFECT.MKF entries of the exchange's list: a purchase, a sale; and the
// dividend screen's sound.
inline constexpr int STOCK_EFFECT_BUY = 115;
inline constexpr int STOCK_EFFECT_SELL = 116;
inline constexpr int STOCK_EFFECT_DIVIDENDS = 117;

// Geometry of the exchange. Row i of the table: centre line y 96 + 32 i,
// hover and click area STOCK_ROWS cut in twelve rows of 32.
inline constexpr PlatRect STOCK_ROWS{16, 80, 625, 464};
inline constexpr int STOCK_ROW_Y = 96, STOCK_ROW_H = 32;
// The buttons: 1 prices / holdings, the tabs 2 buy, 3 sell, 4 company
// page, 5 close.
inline constexpr PlatRect STOCK_BUTTON_RECTS[6] = {
    {0, 0, 0, 0},       {220, 12, 312, 46}, {322, 12, 394, 46},
    {398, 12, 470, 46}, {474, 12, 586, 46}, {592, 12, 628, 46},
};
enum StockButton : int {
    STOCK_BUTTON_NONE = 0,
    STOCK_BUTTON_TOGGLE = 1,
    STOCK_BUTTON_BUY = 2,
    STOCK_BUTTON_SELL = 3,
    STOCK_BUTTON_DETAIL = 4,
    STOCK_BUTTON_CLOSE = 5,
};
// The limit bar behind a price at the day's limit: 89 x 20 from x 144,
// centred on the row.
inline constexpr int STOCK_LIMIT_BAR_X = 144, STOCK_LIMIT_BAR_W = 89, STOCK_LIMIT_BAR_H = 20;
// The table's title, its heads' middle line, and its columns: each head's
// left end and its values' right end (a name starts at its head, and so
// does the volume column's "suspended").
inline constexpr int STOCK_TITLE_X = 70, STOCK_TITLE_Y = 24;
inline constexpr int STOCK_HEAD_Y = 64;
enum StockColumn : int {
    STOCK_COL_NAME = 0,
    STOCK_COL_PRICE,
    STOCK_COL_CHANGE,
    STOCK_COL_VOLUME,
    STOCK_COL_SHARES,
    STOCK_COL_COST,
    STOCK_COLUMN_COUNT,
};
inline constexpr int STOCK_HEAD_X[STOCK_COLUMN_COUNT] = {76, 188, 280, 368, 468, 572};
inline constexpr int STOCK_VALUE_RIGHT[STOCK_COLUMN_COUNT] = {0, 225, 305, 401, 504, 609};
// The closing notice's words, centred, with their shadow this far below right.
inline constexpr int STOCK_CLOSED_X = 320, STOCK_CLOSED_Y = 240, STOCK_CLOSED_SHADOW = 4;

// The detail page: the company's name centred on top, the chart box and
// the pie.
inline constexpr int STOCK_DETAIL_NAME_X = 320, STOCK_DETAIL_NAME_Y = 28;
inline constexpr PlatRect STOCK_CHART_BOX{32, 96, 412, 280};
inline constexpr int STOCK_PIE_X = 476, STOCK_PIE_Y = 388, STOCK_PIE_R = 64;
// The figures' box of the page's picture, its two columns of values and
// their four rows, each label this far above its value. The right column's
// labels are longer than the room from its values' x to the box's edge:
// they end at STOCK_FIGURES_LABEL_END instead of starting at the value.
inline constexpr PlatRect STOCK_FIGURES_BOX{436, 68, 636, 288};
inline constexpr int STOCK_FIGURES_X[2] = {453, 589};
inline constexpr int STOCK_FIGURES_Y[4] = {123, 162, 208, 254};
inline constexpr int STOCK_FIGURES_LABEL_DY = 16, STOCK_FIGURES_LABEL_END = 630;
// The company's lines below the chart: label and value columns, the rows.
inline constexpr int STOCK_COMPANY_LABEL_X = 40, STOCK_COMPANY_VALUE_X = 136;
inline constexpr int STOCK_COMPANY_ROW_Y = 318, STOCK_COMPANY_ROW_STEP = 30;
// The pie's legend beside it: a colour swatch and the holder's name a row.
inline constexpr int STOCK_LEGEND_SWATCH_X = 556, STOCK_LEGEND_SWATCH = 12;
inline constexpr int STOCK_LEGEND_TEXT_X = 574, STOCK_LEGEND_STEP = 20;
inline constexpr uint32_t STOCK_CHART_COLOUR = 0xF0F000;
inline constexpr uint32_t STOCK_PIE_COMPANY_GREY = 0xA0A0A0;
inline constexpr uint32_t STOCK_PIE_MARKET_GREY = 0x606060;

// The dividend screen: its title's centre, the heads of the players' and
// the companies' columns, player k's column from STOCK_DIVIDEND_PLAYER_X +
// STOCK_DIVIDEND_PLAYER_STEP k (his amounts end at the _AMOUNT_RIGHT of
// that column), a company's row and the bottom line of the totals.
inline constexpr int STOCK_DIVIDEND_TITLE_X = 296, STOCK_DIVIDEND_TITLE_Y = 25;
inline constexpr int STOCK_DIVIDEND_PLAYERS_HEAD_X = 104, STOCK_DIVIDEND_PLAYERS_HEAD_Y = 82;
inline constexpr int STOCK_DIVIDEND_COMPANY_HEAD_X = 18, STOCK_DIVIDEND_COMPANY_HEAD_Y = 94;
inline constexpr int STOCK_DIVIDEND_HEAD_Y = 88;
inline constexpr int STOCK_DIVIDEND_PLAYER_X = 160, STOCK_DIVIDEND_PLAYER_STEP = 98;
inline constexpr int STOCK_DIVIDEND_AMOUNT_RIGHT = 198;
inline constexpr int STOCK_DIVIDEND_EARNINGS_HEAD_X = 542, STOCK_DIVIDEND_EARNINGS_X = 572;
inline constexpr int STOCK_DIVIDEND_NAME_X = 62;
inline constexpr int STOCK_DIVIDEND_ROW_Y = 116, STOCK_DIVIDEND_ROW_STEP = 24;
inline constexpr int STOCK_DIVIDEND_TOTAL_Y = 404;
// The dividend screen's closing: three ticks of one second.
inline constexpr uint32_t STOCK_DIVIDEND_TICK_MS = 1000;
inline constexpr int STOCK_DIVIDEND_TICKS = 3;

// The exchange (mode 0), or the pick of a company for the red (mode 1) or
// black (mode 2) card, which answers DECIDE_COMPANY. On a closed day only the
// closing notice shows. The result is 0, or in pick mode the picked stock +
// 1, whose forced move the pick's click has already applied (see
// card_take_picked_company; the card applies the move only for a pick the
// window did not apply itself).
int stock_open_exchange(int mode);

// The dividends of the 15th: paid once (stock_pay_dividends), then shown.
void stock_show_dividends();

// Which row of the table (0..11) or button (StockButton) lies under a point,
// -1 / STOCK_BUTTON_NONE for none.
int stock_row_at(int x, int y);
int stock_button_at(int x, int y);

// The points of stock i's price chart in box: the 144 history slots in ring
// order ending at the latest, each nonzero one at x = left + k (w - 1) / 143
// for its place k, y between bottom - 1 (the lowest shown) and top (the
// highest); a flat history lies on the middle line. Returns the count.
int stock_chart_points(int i, const PlatRect& box, int16_t* xs, int16_t* ys);
// The chart and the holders' pie of stock i, drawn into an image (the
// detail page draws them into the back buffer).
void stock_draw_chart(ImageRecord* target, int i, const PlatRect& box);
void stock_draw_pie(ImageRecord* target, int i, int cx, int cy, int r);
