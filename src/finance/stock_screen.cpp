// The stock screens. The exchange lists the twelve companies in one table
// (prices, or prices with the mover's holdings), trades the selected
// company through the exchange's trade checks and the number pad, opens its
// detail page, or in pick mode picks a company for the red or black card.
#include "finance/stock_screen.h"

#include <cstdio>
#include <string>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/toolbar.h"
#include "board/turn_steps.h"
#include "cards/card_use.h"
#include "data/card_defs.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/util.h"
#include "engine/wait.h"
#include "finance/bank.h"
#include "finance/dividends.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "platform/queue.h"

namespace {

constexpr uint32_t WHITE = 0xF0F0F0, CYAN = 0x00F0F0, RED = 0xFF0000, GREEN = 0x00FF00;
constexpr uint32_t BAR_RED = 0xD00000, BAR_GREEN = 0x00D000;
constexpr uint32_t BLACK = 0x080808; // pixel 0 is see-through: the darkest that shows
constexpr uint32_t SHADOW = 0x101010, GOLD = 0xF8D048, SELECTED = 0x284878;
constexpr int RED_CARD_MODE = 1, BLACK_CARD_MODE = 2;
constexpr uint32_t PICK_SHOWN_MS = 1000;
constexpr int TABLE_PRICES = 0, TABLE_HOLDINGS = 1;

struct Exchange {
    int mode = 0;
    int player = -1;
    int selected = -1;
    int hovered = -1;
    int hover_button = STOCK_BUTTON_NONE;
    int pressed_button = STOCK_BUTTON_NONE;
    int table = TABLE_PRICES;
    void* set = nullptr;
    EffectListEntry effects[3] = {
        {STOCK_EFFECT_BUY, nullptr}, {STOCK_EFFECT_SELL, nullptr}, {-1, nullptr}};
};
Exchange ex;

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void put(ImageRecord* back, const void* set, int frame, int x, int y, bool key) {
    if (const ImageRecord* f = popup_frame(set, frame)) popup_blit(back, f, x, y, key);
}

int row_mid(int i) {
    return STOCK_ROW_Y + STOCK_ROW_H * i;
}

// A price by its format class: 2, 1 or 0 decimals.
void price_text(char* out, size_t size, float value, float price) {
    std::snprintf(out, size, "%.*f", 2 - stock_format_class(price), static_cast<double>(value));
}
void change_text(char* out, size_t size, const StockRecord& s) {
    std::snprintf(out, size, "%+.*f", 2 - stock_format_class(s.price),
                  static_cast<double>(s.price) - s.previous_price);
}
void thousands(char* out, int64_t value) {
    util_format_thousands(out, util_clamp32(value));
}

uint32_t move_colour(StockMove m) {
    if (m == MOVE_UP || m == MOVE_LIMIT_UP) return RED;
    if (m == MOVE_DOWN || m == MOVE_LIMIT_DOWN) return GREEN;
    return WHITE;
}

// ---------------------------------------------------------------------------
// The exchange's drawing

void stock_draw_captions(ImageRecord* back) {
    popup_font(24, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, ex.table == TABLE_PRICES ? "股 价 表" : "持有股数表", STOCK_TITLE_X,
               STOCK_TITLE_Y, ALIGN_LEFT_TOP);
    popup_font(16, WHITE, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    static const char* const heads[STOCK_COLUMN_COUNT] = {"股票名称", "成交价",   "涨跌",
                                                          "交易量",   "持有股数", "平均成本"};
    for (int c = 0; c < STOCK_COLUMN_COUNT; ++c)
        popup_text(back, heads[c], STOCK_HEAD_X[c], STOCK_HEAD_Y, ALIGN_LEFT_MIDDLE);
    for (int i = 0; i < STOCK_COUNT; ++i) {
        popup_font(16, stock_company(i) != nullptr ? CYAN : WHITE, SHADOW, TEXT_SHADOW, 1);
        popup_text(back, stock_name(i), STOCK_HEAD_X[STOCK_COL_NAME], row_mid(i),
                   ALIGN_LEFT_MIDDLE);
    }
}

void stock_draw_rows(ImageRecord* back, int table) {
    char text[32];
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const StockRecord& s = stock_table[i];
        const int y = row_mid(i);
        const StockMove m = stock_move_class(i);
        uint32_t colour = move_colour(m);
        if (m == MOVE_LIMIT_UP || m == MOVE_LIMIT_DOWN) {
            blit_fill_rect(back, STOCK_LIMIT_BAR_X, y - STOCK_LIMIT_BAR_H / 2, STOCK_LIMIT_BAR_W,
                           STOCK_LIMIT_BAR_H, m == MOVE_LIMIT_UP ? BAR_RED : BAR_GREEN);
            colour = m == MOVE_LIMIT_UP ? WHITE : BLACK;
        }
        popup_font(16, colour, SHADOW, 0, 1);
        price_text(text, sizeof text, s.price, s.price);
        popup_text(back, text, STOCK_VALUE_RIGHT[STOCK_COL_PRICE], y, ALIGN_RIGHT_MIDDLE);
        popup_font(16, move_colour(m), SHADOW, TEXT_SHADOW, 1);
        change_text(text, sizeof text, s);
        popup_text(back, text, STOCK_VALUE_RIGHT[STOCK_COL_CHANGE], y, ALIGN_RIGHT_MIDDLE);
        popup_font(16, WHITE, SHADOW, TEXT_SHADOW, 1);
        if (s.suspended_days != 0) {
            popup_text(back, "暂停交易", STOCK_HEAD_X[STOCK_COL_VOLUME], y, ALIGN_LEFT_MIDDLE);
        } else {
            std::snprintf(text, sizeof text, "%d", s.volume);
            popup_text(back, text, STOCK_VALUE_RIGHT[STOCK_COL_VOLUME], y, ALIGN_RIGHT_MIDDLE);
        }
        if (table != TABLE_HOLDINGS || !is_player_seat(ex.player)) continue;
        const StockHolding& h = stock_holdings[ex.player][i];
        thousands(text, h.shares);
        popup_text(back, text, STOCK_VALUE_RIGHT[STOCK_COL_SHARES], y, ALIGN_RIGHT_MIDDLE);
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(h.avg_cost));
        popup_text(back, text, STOCK_VALUE_RIGHT[STOCK_COL_COST], y, ALIGN_RIGHT_MIDDLE);
    }
}

// The three tabs and the two buttons, the one under the pointer lit and the
// one held down pressed.
void stock_draw_tabs(ImageRecord* back, int tab) {
    for (int b = STOCK_BUTTON_BUY; b <= STOCK_BUTTON_DETAIL; ++b) {
        const int k = b - STOCK_BUTTON_BUY;
        int frame = STOCK_FRAME_TAB_PLAIN + k;
        if (ex.pressed_button == b)
            frame = STOCK_FRAME_TAB_PRESSED + k;
        else if (tab == b)
            frame = STOCK_FRAME_TAB_LIT + k;
        put(back, ex.set, frame, STOCK_BUTTON_RECTS[b].left, STOCK_BUTTON_RECTS[b].top, false);
    }
    const int toggle = STOCK_FRAME_TOGGLE + (ex.pressed_button == STOCK_BUTTON_TOGGLE ? 1 : 0);
    put(back, ex.set, toggle, STOCK_BUTTON_RECTS[STOCK_BUTTON_TOGGLE].left,
        STOCK_BUTTON_RECTS[STOCK_BUTTON_TOGGLE].top, false);
    const int close = STOCK_FRAME_CLOSE + (ex.pressed_button == STOCK_BUTTON_CLOSE ? 1 : 0);
    put(back, ex.set, close, STOCK_BUTTON_RECTS[STOCK_BUTTON_CLOSE].left,
        STOCK_BUTTON_RECTS[STOCK_BUTTON_CLOSE].top, false);
}

void draw_exchange() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    if (const ImageRecord* bg = popup_frame(ex.set, STOCK_FRAME_BACKGROUND))
        popup_blit(back, bg, 0, 0, false);
    else
        blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x102040);
    const int w = STOCK_ROWS.right - STOCK_ROWS.left;
    if (ex.selected >= 0)
        blit_fill_rect(back, STOCK_ROWS.left, STOCK_ROWS.top + STOCK_ROW_H * ex.selected, w,
                       STOCK_ROW_H, SELECTED);
    stock_draw_captions(back);
    stock_draw_rows(back, ex.table);
    stock_draw_tabs(back, ex.hover_button);
    if (ex.hovered >= 0)
        blit_frame_rect(back, STOCK_ROWS.left, STOCK_ROWS.top + STOCK_ROW_H * ex.hovered, w,
                        STOCK_ROW_H, 0xFFFFFF);
    popup_unlock_back();
    popup_update(screen_rect);
}

// ---------------------------------------------------------------------------
// The detail page

constexpr int FIGURES_LEFT_COLUMN_X = STOCK_FIGURES_X[0];
constexpr int FIGURES_RIGHT_COLUMN_X = STOCK_FIGURES_X[1];

void label_and_value(ImageRecord* back, const char* label, const char* value, int x, int y) {
    popup_font(12, GOLD, SHADOW, TEXT_SHADOW, 1);
    if (x == FIGURES_RIGHT_COLUMN_X)
        popup_text(back, label, STOCK_FIGURES_LABEL_END, y - STOCK_FIGURES_LABEL_DY,
                   ALIGN_RIGHT_TOP);
    else
        popup_text(back, label, x, y - STOCK_FIGURES_LABEL_DY, ALIGN_LEFT_TOP);
    popup_font(16, WHITE, SHADOW, TEXT_SHADOW, 1);
    popup_text(back, value, x, y, ALIGN_LEFT_TOP);
}

void draw_figures(ImageRecord* back, int i) {
    const StockRecord& s = stock_table[i];
    char text[40];
    price_text(text, sizeof text, s.price, s.price);
    label_and_value(back, "成交价", text, FIGURES_LEFT_COLUMN_X, STOCK_FIGURES_Y[0]);
    change_text(text, sizeof text, s);
    label_and_value(back, "涨跌", text, FIGURES_LEFT_COLUMN_X, STOCK_FIGURES_Y[1]);
    std::snprintf(text, sizeof text, "%d", s.volume);
    label_and_value(back, "交易量", text, FIGURES_RIGHT_COLUMN_X, STOCK_FIGURES_Y[0]);
    const double pct =
        s.previous_price != 0.0f
            ? (static_cast<double>(s.price) - s.previous_price) / s.previous_price * 100.0
            : 0.0;
    std::snprintf(text, sizeof text, "%.2f", pct);
    label_and_value(back, "涨跌幅", text, FIGURES_RIGHT_COLUMN_X, STOCK_FIGURES_Y[1]);
    price_text(text, sizeof text, stock_history_average(i, 6), s.price);
    label_and_value(back, "周均价", text, FIGURES_LEFT_COLUMN_X, STOCK_FIGURES_Y[2]);
    price_text(text, sizeof text, stock_history_average(i, 24), s.price);
    label_and_value(back, "月均价", text, FIGURES_RIGHT_COLUMN_X, STOCK_FIGURES_Y[2]);
    price_text(text, sizeof text, stock_history_high(i), s.price);
    label_and_value(back, "历史高价", text, FIGURES_LEFT_COLUMN_X, STOCK_FIGURES_Y[3]);
    price_text(text, sizeof text, stock_history_low(i), s.price);
    label_and_value(back, "历史低价", text, FIGURES_RIGHT_COLUMN_X, STOCK_FIGURES_Y[3]);
}

void draw_company(ImageRecord* back, int i) {
    const CompanyBuilding* c = stock_company(i);
    if (c == nullptr) return;
    char value[40];
    std::string chairman;
    if (c->chairman >= 1 && c->chairman <= PLAYER_COUNT)
        chairman = player_plain_name(seat_of_owner(c->chairman));
    struct Line {
        const char* label;
        int64_t amount;
    };
    const Line lines[] = {{"本月盈余", c->earnings},
                          {"平均盈余", stock_average_earnings(i)},
                          {"经 营 者", 0},
                          {"保留股份", c->own_shares},
                          {"累积盈余", c->earnings_total}};
    for (int k = 0; k < 5; ++k) {
        const int y = STOCK_COMPANY_ROW_Y + STOCK_COMPANY_ROW_STEP * k;
        popup_font(16, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
        popup_text(back, lines[k].label, STOCK_COMPANY_LABEL_X, y, ALIGN_LEFT_TOP);
        popup_font(16, WHITE, SHADOW, TEXT_SHADOW, 1);
        if (k == 2) {
            popup_text(back, chairman.c_str(), STOCK_COMPANY_VALUE_X, y, ALIGN_LEFT_TOP);
            continue;
        }
        thousands(value, lines[k].amount);
        popup_text(back, value, STOCK_COMPANY_VALUE_X, y, ALIGN_LEFT_TOP);
    }
    popup_font(16, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, "持股比例", STOCK_PIE_X, STOCK_PIE_Y - STOCK_PIE_R - 16, ALIGN_CENTRE);
    stock_draw_pie(back, i, STOCK_PIE_X, STOCK_PIE_Y, STOCK_PIE_R);
    // The legend: each holder in his colour, then the company and the market.
    int y = STOCK_PIE_Y - STOCK_PIE_R + 4;
    auto legend = [&](const char* name, uint32_t rgb) {
        blit_fill_rect(back, STOCK_LEGEND_SWATCH_X, y + 2, STOCK_LEGEND_SWATCH, STOCK_LEGEND_SWATCH,
                       rgb);
        popup_font(12, WHITE, SHADOW, TEXT_SHADOW, 1);
        popup_text(back, name, STOCK_LEGEND_TEXT_X, y + 8, ALIGN_LEFT_MIDDLE);
        y += STOCK_LEGEND_STEP;
    };
    for (int p = 0; p < PLAYER_COUNT && p < game_player_count; ++p) {
        if (stock_holdings[p][i].shares > 0)
            legend(player_plain_name(p).c_str(), player_table[p].colour);
    }
    legend("公司", STOCK_PIE_COMPANY_GREY);
    legend("市场", STOCK_PIE_MARKET_GREY);
}

void draw_detail(int i) {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    if (const ImageRecord* bg = popup_frame(ex.set, STOCK_FRAME_DETAIL))
        popup_blit(back, bg, 0, 0, false);
    else
        blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x102040);
    popup_font(28, stock_company(i) != nullptr ? CYAN : WHITE, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, stock_name(i), STOCK_DETAIL_NAME_X, STOCK_DETAIL_NAME_Y, ALIGN_CENTRE);
    popup_font(16, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, "半年内股价走势线图", (STOCK_CHART_BOX.left + STOCK_CHART_BOX.right) / 2,
               STOCK_CHART_BOX.top - 14, ALIGN_CENTRE);
    stock_draw_chart(back, i, STOCK_CHART_BOX);
    draw_figures(back, i);
    draw_company(back, i);
    popup_unlock_back();
    popup_update(screen_rect);
}

int32_t stock_detail_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        draw_detail(lparam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// Trading and picking

void trade(int button) {
    const int i = ex.selected;
    if (i < 0) return;
    const bool buying = button == STOCK_BUTTON_BUY;
    int32_t most = 0;
    const StockTradeCheck check = buying ? stock_exchange_buy_check(ex.player, i, &most)
                                         : stock_exchange_sell_check(ex.player, i, &most);
    if (check == STOCK_TRADE_NOTHING) return;
    if (check == STOCK_TRADE_LIMIT) {
        msg_show(buying ? STOCK_TEXT_LIMIT_UP : STOCK_TEXT_LIMIT_DOWN, STOCK_LIMIT_MESSAGE_MS);
        draw_exchange();
        return;
    }
    const int n = decide_number(ex.player, stock_name(i), most, i + 1);
    if (n > 0 && n <= most) {
        snd_effect_play(&ex.effects[buying ? 0 : 1], 0);
        if (buying)
            stock_buy(ex.player, i, n, 1);
        else
            stock_sell(ex.player, i, n, 1);
    }
    draw_exchange();
}

void pick(int i) {
    // The card's own routine sets the forced move and applies it.
    card_pick_company(i, ex.mode == RED_CARD_MODE ? CARD_RED : CARD_BLACK);
    ex.selected = i;
    ex.hovered = -1;
    draw_exchange();
    wait_ms(PICK_SHOWN_MS);
    screen_close(i + 1);
}

void close_exchange() {
    snd_effect_play(&ui_effects[UI_CANCEL], 0);
    ex.table = TABLE_PRICES;
    screen_close(0);
}

void button_clicked(int b) {
    switch (b) {
    case STOCK_BUTTON_TOGGLE:
        ex.table = ex.table == TABLE_PRICES ? TABLE_HOLDINGS : TABLE_PRICES;
        draw_exchange();
        return;
    case STOCK_BUTTON_BUY:
    case STOCK_BUTTON_SELL:
        if (ex.mode == 0) trade(b);
        return;
    case STOCK_BUTTON_DETAIL:
        if (ex.mode == 0 && ex.selected >= 0)
            plat_post_message(WM_STOCK_DETAIL, static_cast<uint32_t>(ex.selected), 0);
        return;
    case STOCK_BUTTON_CLOSE:
        close_exchange();
        return;
    default:
        return;
    }
}

void row_clicked(int i) {
    if (ex.mode != 0) {
        pick(i);
        return;
    }
    if (ex.selected == i) {
        plat_post_message(WM_STOCK_DETAIL, static_cast<uint32_t>(i), 0);
        return;
    }
    snd_effect_play(&ui_effects[UI_PRESS], 0);
    ex.selected = i;
    draw_exchange();
}

int32_t stock_exchange_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                               int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        ex.mode = lparam;
        draw_exchange();
        return 0;
    case WM_MOUSEMOVE: {
        const int row = stock_row_at(mx, my);
        const int b = stock_button_at(mx, my);
        if (row == ex.hovered && b == ex.hover_button) return 0;
        if ((row >= 0 && row != ex.hovered) || (b != STOCK_BUTTON_NONE && b != ex.hover_button))
            snd_effect_play(&ui_effects[UI_HOVER], 0);
        ex.hovered = row;
        ex.hover_button = b;
        draw_exchange();
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const int b = stock_button_at(mx, my);
        if (b == STOCK_BUTTON_NONE) return 0;
        ex.pressed_button = b;
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        draw_exchange();
        return 0;
    }
    case WM_LBUTTONUP: {
        const int held = ex.pressed_button;
        ex.pressed_button = STOCK_BUTTON_NONE;
        const int b = stock_button_at(mx, my);
        if (held != STOCK_BUTTON_NONE) {
            draw_exchange();
            // A button counts when pressed and let go on it.
            if (b == held) button_clicked(b);
            return 0;
        }
        const int row = stock_row_at(mx, my);
        if (row >= 0) row_clicked(row);
        return 0;
    }
    case WM_RBUTTONUP:
        close_exchange();
        return 0;
    case WM_STOCK_DETAIL:
        if (wparam < static_cast<uint32_t>(STOCK_COUNT)) {
            snd_effect_play(&ui_effects[UI_CONFIRM], 0);
            screen_run(stock_detail_wndproc, static_cast<int32_t>(wparam));
            draw_exchange();
        }
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// The closing notice

int32_t stock_closed_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START: {
        ImageRecord* back = popup_lock_back();
        if (back == nullptr) return 0;
        popup_font(72, 0x202020, SHADOW, TEXT_BOLD, 1);
        popup_text(back, "本日休市", STOCK_CLOSED_X + STOCK_CLOSED_SHADOW,
                   STOCK_CLOSED_Y + STOCK_CLOSED_SHADOW, ALIGN_CENTRE);
        popup_font(72, WHITE, SHADOW, TEXT_BOLD, 1);
        popup_text(back, "本日休市", STOCK_CLOSED_X, STOCK_CLOSED_Y, ALIGN_CENTRE);
        popup_unlock_back();
        popup_update(screen_rect);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// The dividend screen

struct DividendScreen {
    StockDividends d{};
    void* set = nullptr;
    int ticks = 0;
    EffectListEntry effects[2] = {{STOCK_EFFECT_DIVIDENDS, nullptr}, {-1, nullptr}};
};
DividendScreen dv;

int dividend_amount_right(int k) {
    return STOCK_DIVIDEND_AMOUNT_RIGHT + STOCK_DIVIDEND_PLAYER_STEP * k;
}

int dividend_columns() {
    return game_player_count < PLAYER_COUNT ? game_player_count : PLAYER_COUNT;
}

void draw_dividends() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    if (const ImageRecord* bg = popup_frame(dv.set, STOCK_DIVIDEND_F_BACKGROUND))
        popup_blit(back, bg, 0, 0, false);
    else
        blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x402010);
    popup_font(28, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, "上市公司分红", STOCK_DIVIDEND_TITLE_X, STOCK_DIVIDEND_TITLE_Y, ALIGN_CENTRE);
    popup_font(12, WHITE, SHADOW, TEXT_SHADOW, 1);
    popup_text(back, "人名", STOCK_DIVIDEND_PLAYERS_HEAD_X, STOCK_DIVIDEND_PLAYERS_HEAD_Y,
               ALIGN_LEFT_TOP);
    popup_text(back, "公司", STOCK_DIVIDEND_COMPANY_HEAD_X, STOCK_DIVIDEND_COMPANY_HEAD_Y,
               ALIGN_LEFT_TOP);
    popup_font(16, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    const int columns = dividend_columns();
    for (int k = 0; k < columns; ++k) {
        if (player_table[k].control == 0) continue;
        popup_text(back, player_plain_name(k).c_str(),
                   STOCK_DIVIDEND_PLAYER_X + STOCK_DIVIDEND_PLAYER_STEP * k, STOCK_DIVIDEND_HEAD_Y,
                   ALIGN_LEFT_TOP);
    }
    popup_text(back, "本月盈余", STOCK_DIVIDEND_EARNINGS_HEAD_X, STOCK_DIVIDEND_HEAD_Y,
               ALIGN_LEFT_TOP);
    char text[32];
    int row = 0;
    popup_font(16, WHITE, SHADOW, TEXT_SHADOW, 1);
    for (int i = 0; i < STOCK_COUNT; ++i) {
        if (!dv.d.linked[i]) continue;
        const int y = STOCK_DIVIDEND_ROW_Y + STOCK_DIVIDEND_ROW_STEP * row++;
        popup_text(back, stock_name(i), STOCK_DIVIDEND_NAME_X, y, ALIGN_LEFT_TOP);
        for (int k = 0; k < columns; ++k) {
            if (player_table[k].control == 0) continue;
            thousands(text, dv.d.amount[i][k]);
            popup_text(back, text, dividend_amount_right(k), y, ALIGN_RIGHT_TOP);
        }
        thousands(text, dv.d.earnings[i]);
        popup_text(back, text, STOCK_DIVIDEND_EARNINGS_X, y, ALIGN_LEFT_TOP);
    }
    popup_font(16, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, "红  利", STOCK_DIVIDEND_NAME_X, STOCK_DIVIDEND_TOTAL_Y, ALIGN_LEFT_TOP);
    for (int k = 0; k < columns; ++k) {
        if (player_table[k].control == 0) continue;
        thousands(text, dv.d.total[k]);
        popup_text(back, text, dividend_amount_right(k), STOCK_DIVIDEND_TOTAL_Y, ALIGN_RIGHT_TOP);
    }
    popup_unlock_back();
    popup_update(screen_rect);
}

int32_t stock_dividend_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                               int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        draw_dividends();
        snd_effect_play(&dv.effects[0], 0);
        dv.ticks = 0;
        screen_timer_start(STOCK_DIVIDEND_TICK_MS);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        if (++dv.ticks >= STOCK_DIVIDEND_TICKS) {
            screen_timer_stop();
            screen_close(0);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        screen_timer_stop();
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// What the dividend screen shows, as one line for the record.
std::string dividends_summary(const StockDividends& d) {
    std::string s = "上市公司分红";
    char part[48];
    for (int k = 0; k < PLAYER_COUNT; ++k) {
        std::snprintf(part, sizeof part, " %d", d.total[k]);
        s += part;
    }
    return s;
}

} // namespace

// ---------------------------------------------------------------------------

int stock_row_at(int x, int y) {
    if (!inside(STOCK_ROWS, x, y)) return -1;
    return (y - STOCK_ROWS.top) / STOCK_ROW_H;
}

int stock_button_at(int x, int y) {
    for (int b = STOCK_BUTTON_TOGGLE; b <= STOCK_BUTTON_CLOSE; ++b)
        if (inside(STOCK_BUTTON_RECTS[b], x, y)) return b;
    return STOCK_BUTTON_NONE;
}

int stock_open_exchange(int mode) {
    if (mode < 0 || mode > BLACK_CARD_MODE) mode = 0;
    const bool closed = stock_market_closed() == 1;
    shown_record(Shown::Panel, STOCK_PANEL_ENTRY, 0, closed ? "本日休市" : "股 价 表");
    int result = 0;
    if (popup_lock_back() != nullptr) {
        popup_unlock_back();
        ex = Exchange{};
        ex.player = is_player_seat(game_active_mover) ? game_active_mover : -1;
        ex.set = spr_read_set("PANEL.MKF", STOCK_PANEL_ENTRY);
        // The toolbar and the cards open it with the pointer off.
        const int cursor = cursor_show_for_clicks();
        if (closed) {
            screen_run(stock_closed_wndproc, mode);
        } else {
            snd_effects_load(ex.effects);
            result = screen_run(stock_exchange_wndproc, mode);
            snd_effects_free(ex.effects);
        }
        cursor_give_back(cursor);
        spr_free_set(ex.set);
        ex = Exchange{};
        board_repaint_all();
    }
    bank_check_reserves(0);
    return mode == 0 ? 0 : result;
}

void stock_show_dividends() {
    const StockDividends d = stock_pay_dividends();
    shown_record(Shown::Panel, STOCK_DIVIDEND_ENTRY, 0, dividends_summary(d).c_str());
    if (popup_lock_back() == nullptr) return;
    popup_unlock_back();
    dv = DividendScreen{};
    dv.d = d;
    dv.set = spr_read_set("PANEL.MKF", STOCK_DIVIDEND_ENTRY);
    snd_effects_load(dv.effects);
    const int cursor = cursor_show_for_clicks(); // the new day runs with the pointer off
    screen_run(stock_dividend_wndproc, 0);
    cursor_give_back(cursor);
    snd_effects_free(dv.effects);
    spr_free_set(dv.set);
    dv = DividendScreen{};
    board_repaint_all();
}

// ---------------------------------------------------------------------------
// Chart and pie

int stock_chart_points(int i, const PlatRect& box, int16_t* xs, int16_t* ys) {
    if (i < 0 || i >= STOCK_COUNT) return 0;
    const auto& h = stock_price_history[i];
    const float high = stock_history_high(i), low = stock_history_low(i);
    const int first = (stock_latest_slot() + 1) % STOCK_HISTORY_DAYS;
    const int w = box.right - box.left, ht = box.bottom - box.top;
    int n = 0;
    for (int k = 0; k < STOCK_HISTORY_DAYS; ++k) {
        const float p = h[(first + k) % STOCK_HISTORY_DAYS];
        if (p == 0.0f) continue;
        const int x = box.left + k * (w - 1) / (STOCK_HISTORY_DAYS - 1);
        int y;
        if (high > low) {
            const double up = (static_cast<double>(p) - low) / (static_cast<double>(high) - low);
            y = box.bottom - 1 - static_cast<int>(up * (ht - 1) + 0.5);
        } else {
            y = box.top + (ht - 1) / 2;
        }
        xs[n] = static_cast<int16_t>(x);
        ys[n] = static_cast<int16_t>(y);
        ++n;
    }
    return n;
}

void stock_draw_chart(ImageRecord* target, int i, const PlatRect& box) {
    int16_t xs[STOCK_HISTORY_DAYS], ys[STOCK_HISTORY_DAYS];
    const int n = stock_chart_points(i, box, xs, ys);
    if (n == 1) draw_line_clip(target, box, xs[0], ys[0], xs[0], ys[0], STOCK_CHART_COLOUR);
    for (int k = 1; k < n; ++k)
        draw_line_clip(target, box, xs[k - 1], ys[k - 1], xs[k], ys[k], STOCK_CHART_COLOUR);
}

void stock_draw_pie(ImageRecord* target, int i, int cx, int cy, int r) {
    if (i < 0 || i >= STOCK_COUNT) return;
    const PlatRect all{cx - r, cy - r, cx + r + 1, cy + r + 1};
    int64_t at = 0;
    auto slice = [&](int64_t n, uint32_t rgb) {
        if (n <= 0) return;
        const int64_t end = at + n < STOCK_TOTAL_SHARES ? at + n : STOCK_TOTAL_SHARES;
        draw_sector_clip(target, all, cx, cy, r, at, end, STOCK_TOTAL_SHARES, rgb);
        at = end;
    };
    for (int p = 0; p < PLAYER_COUNT && p < game_player_count; ++p)
        slice(stock_holdings[p][i].shares, player_table[p].colour);
    const CompanyBuilding* c = stock_company(i);
    slice(c != nullptr ? c->own_shares : 0, STOCK_PIE_COMPANY_GREY);
    slice(stock_table[i].market_shares, STOCK_PIE_MARKET_GREY);
}

namespace {

// DECIDE_COMPANY (param = 1 rising, 2 falling): a listed company on a day
// the market is open, or 0.
bool accepts_company(const DecisionRequest&, int answer) {
    return answer == 0 || (answer >= 1 && answer <= STOCK_COUNT && stock_market_closed() == 0);
}
int ask_exchange(const DecisionRequest& r) {
    return stock_open_exchange(r.param);
}

} // namespace

DECISION_KIND(DECIDE_COMPANY, ask_exchange, accepts_company, 0);

// The dividends are paid once, then shown.
NEW_DAY_STEP(NEW_DAY_DIVIDENDS, stock_show_dividends)

TOOLBAR_COMMAND(
    TOOLBAR_STOCKS,
    [] {
        stock_open_exchange(0);
        return true;
    },
    HK_STOCKS)
