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
// PANEL.MKF entry of the dividend screen (frame 0, 640 x 480).
inline constexpr int STOCK_DIVIDEND_ENTRY = 76;
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

// The detail page's chart box and pie.
inline constexpr PlatRect STOCK_CHART_BOX{32, 96, 412, 280};
inline constexpr int STOCK_PIE_X = 476, STOCK_PIE_Y = 388, STOCK_PIE_R = 64;
inline constexpr uint32_t STOCK_CHART_COLOUR = 0xF0F000;
inline constexpr uint32_t STOCK_PIE_COMPANY_GREY = 0xA0A0A0;
inline constexpr uint32_t STOCK_PIE_MARKET_GREY = 0x606060;

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
