#include "finance/bank_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "board/board_panel_sets.h"
#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/view.h"
#include "engine/balloon.h"
#include "engine/cursor.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/music.h"
#include "engine/numpad.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/wait.h"
#include "finance/bank.h"
#include "finance/bank_amount.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/queue.h"

// The deposit window: two modes (withdraw, deposit), eighteen buttons, the
// typed amount and its slider. The deal is the bank's (bank_deposit,
// bank_withdraw); the window only picks the amount.
namespace {

constexpr uint32_t TAB_BACK_MS = 360; // the side panel's own tab comes back after the window
constexpr int WIN_X = BANK_DEPOSIT_X, WIN_Y = BANK_DEPOSIT_Y;

enum DepositMode : int { MODE_WITHDRAW = 0, MODE_DEPOSIT = 1 };

struct Deposit {
    int player = 0;
    int mode = MODE_WITHDRAW;
    bool withdraw_locked = false; // lending suspended: deposit only
    BankAmount amount;
    int pressed = BANK_B_NONE;
    void* set = nullptr;
};
Deposit dep;

int button_at(int x, int y) {
    for (int b = 0; b < BANK_B_COUNT; ++b) {
        const PlatRect s = bank_deposit_spot(b);
        if (x >= WIN_X + s.left && x < WIN_X + s.right && y >= WIN_Y + s.top &&
            y < WIN_Y + s.bottom)
            return b;
    }
    return BANK_B_NONE;
}

void set_mode(int mode) {
    dep.mode = mode;
    const PlayerRecord& r = player_table[dep.player];
    bank_amount_start(dep.amount, bank_amount_maximum(mode == MODE_DEPOSIT ? r.cash : r.deposit));
}

void put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(dep.set, frame)) popup_blit(back, f, x, y, true);
}

// A button's pressed look at its place.
void put_pressed(ImageRecord* back, int button) {
    const PlatRect s = bank_deposit_spot(button);
    put(back, 1 + button, WIN_X + s.left, WIN_Y + s.top);
}

void draw() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    put(back, 0, WIN_X, WIN_Y);
    // The current mode's button stays pressed.
    put_pressed(back, dep.mode == MODE_DEPOSIT ? BANK_B_DEPOSIT : BANK_B_WITHDRAW);
    if (dep.pressed > BANK_B_SLIDER) put_pressed(back, dep.pressed);
    // The bar shows the amount as a filled share of its width.
    if (const ImageRecord* bar = popup_frame(dep.set, BANK_DEPOSIT_F_BAR);
        bar && dep.amount.maximum > 0) {
        const int w = static_cast<int>(dep.amount.value * bar->width / dep.amount.maximum);
        if (w > 0)
            popup_blit_part(back, bar, WIN_X + BANK_BAR_X, WIN_Y + BANK_BAR_Y, 0, 0, w,
                            bar->height);
    }
    popup_font(16, 0xF0F0F0, 0x101010, TEXT_SHADOW, 1);
    popup_text(back, "提  款", WIN_X + 61, WIN_Y + 31, ALIGN_CENTRE);
    popup_text(back, "存  款", WIN_X + 161, WIN_Y + 31, ALIGN_CENTRE);
    popup_text(back, "离  开", WIN_X + 260, WIN_Y + 31, ALIGN_CENTRE);
    for (int d = 0; d <= 9; ++d) {
        const PlatRect s = bank_deposit_spot(BANK_B_DIGIT0 + d);
        char digit[2] = {static_cast<char>('0' + d), 0};
        popup_text(back, digit, WIN_X + (s.left + s.right) / 2, WIN_Y + (s.top + s.bottom) / 2,
                   ALIGN_CENTRE);
    }
    const char* words[4] = {"清  除", "退  格", "全  部", "确  定"};
    for (int k = 0; k < 4; ++k) {
        const PlatRect s = bank_deposit_spot(BANK_B_CLEAR + k);
        popup_text(back, words[k], WIN_X + (s.left + s.right) / 2, WIN_Y + (s.top + s.bottom) / 2,
                   ALIGN_CENTRE);
    }
    char figure[24];
    std::snprintf(figure, sizeof figure, "%lld", static_cast<long long>(dep.amount.value));
    popup_font(24, 0x80FF80, 0x101010, TEXT_BOLD, 1);
    popup_text(back, figure, WIN_X + BANK_DISPLAY_RIGHT, WIN_Y + BANK_DISPLAY_Y,
               ALIGN_RIGHT_MIDDLE);
    popup_unlock_back();
    popup_update(BANK_DEPOSIT_RECT);
}

// What a button does; true when the window closes.
bool press(int button, int x) {
    switch (button) {
    case BANK_B_WITHDRAW:
        if (dep.withdraw_locked) return false;
        set_mode(MODE_WITHDRAW);
        return false;
    case BANK_B_DEPOSIT:
        set_mode(MODE_DEPOSIT);
        return false;
    case BANK_B_LEAVE:
        return true;
    case BANK_B_SLIDER:
        bank_amount_slider(dep.amount, x - (WIN_X + BANK_BAR_X));
        return false;
    case BANK_B_CLEAR:
        bank_amount_clear(dep.amount);
        return false;
    case BANK_B_BACKSPACE:
        bank_amount_backspace(dep.amount);
        return false;
    case BANK_B_ALL:
        bank_amount_all(dep.amount);
        return false;
    case BANK_B_OK: {
        const int32_t yuan = bank_amount_yuan(dep.amount);
        if (yuan == 0) return false;
        if (dep.mode == MODE_DEPOSIT)
            bank_deposit(dep.player, yuan);
        else
            bank_withdraw(dep.player, yuan); // runs the reserve check itself
        board_refresh_actor_panel(dep.player);
        return true;
    }
    default:
        if (button >= BANK_B_DIGIT0 && button < BANK_B_DIGIT0 + 10)
            bank_amount_digit(dep.amount, button - BANK_B_DIGIT0);
        return false;
    }
}

// A key pressed as its button: digits, Backspace, Enter and the letter keys.
int key_button(uint32_t key, int* x) {
    if (key >= '0' && key <= '9') return BANK_B_DIGIT0 + static_cast<int>(key - '0');
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9)
        return BANK_B_DIGIT0 + static_cast<int>(key - VK_NUMPAD0);
    if (key == VK_BACK) return BANK_B_BACKSPACE;
    if (key == VK_RETURN) return BANK_B_OK;
    if (key == BANK_KEY_CLEAR) return BANK_B_CLEAR;
    if (key == BANK_KEY_ALL) return BANK_B_ALL;
    if (key == BANK_KEY_SLIDER) {
        *x = WIN_X + BANK_BAR_X + BANK_KEY_SLIDER_AT;
        return BANK_B_SLIDER;
    }
    return BANK_B_NONE;
}

int32_t deposit_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        draw();
        return 0;
    case WM_LBUTTONDOWN: {
        const int b = button_at(plat_point_x(lparam), plat_point_y(lparam));
        if (b == BANK_B_NONE) return 0;
        snd_effect_play(
            &ui_effects[b == BANK_B_WITHDRAW && dep.withdraw_locked ? UI_REFUSED : UI_PRESS], 0);
        dep.pressed = b;
        const bool closes = press(b, plat_point_x(lparam));
        if (closes) {
            screen_close(0);
            return 0;
        }
        draw();
        return 0;
    }
    case WM_LBUTTONUP:
        if (dep.pressed != BANK_B_NONE) {
            dep.pressed = BANK_B_NONE;
            draw();
        }
        return 0;
    case WM_KEYDOWN: {
        int x = 0;
        const int b = key_button(wparam, &x);
        if (b == BANK_B_NONE) return 0;
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        if (press(b, x)) {
            screen_close(0);
            return 0;
        }
        draw();
        return 0;
    }
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

} // namespace

void bank_deposit_screen() {
    shown_record(Shown::Panel, BANK_DEPOSIT_ENTRY, 0, "bank deposit");
    if (!popup_lock_back()) return; // no display: nothing is dealt
    popup_unlock_back();
    dep = Deposit{};
    dep.player = game_active_mover;
    const PlayerRecord& r = player_table[dep.player];
    dep.withdraw_locked = r.bank_suspension_days != 0;
    set_mode(dep.withdraw_locked ? MODE_DEPOSIT : MODE_WITHDRAW);
    // The accounts are on the side panel's first tab: it is shown meanwhile
    // (the composite header of layout 2 shows them anyway).
    const uint8_t tab = board_tabs[dep.player];
    const bool tab_switched = settings_side_panel_layout() != 2 && tab != 0;
    if (tab_switched) {
        board_tabs[dep.player] = 0;
        board_refresh_actor_panel(dep.player);
    }
    dep.set = spr_read_set("PANEL.MKF", BANK_DEPOSIT_ENTRY);
    ImageRecord* saved = popup_save_area(BANK_DEPOSIT_RECT);
    if (dep.withdraw_locked) {
        char text[64];
        std::snprintf(text, sizeof text, "银行暂停放款\n\n还剩%d天！",
                      status_days_left(r.bank_suspension_days));
        msg_show(text, MSG_STANDARD_MS);
    }
    numpad_open = 1;
    // Passing the bank comes in the middle of a move, which has the pointer off.
    const int cursor = cursor_show_for_clicks();
    screen_run(deposit_wndproc, 0);
    cursor_give_back(cursor);
    numpad_open = 0;
    if (saved != nullptr) popup_restore_area(saved, WIN_X, WIN_Y);
    spr_free_set(dep.set);
    if (tab_switched) {
        wait_ms(TAB_BACK_MS);
        board_tabs[dep.player] = tab;
        board_refresh_actor_panel(dep.player);
    }
}

// ---------------------------------------------------------------------------
// The loan counter: the clerk over the board view, the menu, the accounts
// card and the calendar card on the side panel; for the bank company's
// chairman also the special-financing page. Amounts are asked through the
// number pad's decision; the deals are the bank's (bank_borrow, bank_repay,
// bank_finance_borrow, bank_finance_repay). The clerk's reminder uses the
// same pictures.

namespace {

constexpr int COUNTER_X = BANK_COUNTER_X, COUNTER_Y = BANK_COUNTER_Y;
constexpr int CLERK_TICK_MS = 50;
constexpr int FINANCE_TICK_MS = 100;
// The calendar card's background is the board calendar's day page of the
// month's season (PANEL.MKF 2, frames 0-3).
constexpr int SEASON_OF_MONTH[13] = {0, 3, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3};
constexpr const char* MENU_WORDS[3] = {"申请贷款", "偿还贷款", "特别融资"};
constexpr const char* PAGE_WORDS[BANK_P_COUNT] = {"周转现金", "归还款项", "离  开"};

struct Counter {
    int player = 0;
    int finance = 0;
    uint16_t object = 0;
    bool reminder = false; // the clerk's reminder: no menu
    int pressed = -1;
    int clerk_tick = 0;
    void* set = nullptr;
    void* calendar = nullptr; // the calendar pictures
    // The special-financing page.
    bool page_open = false;
    int page_pressed = -1;
    bool page_dealt = false;
    int64_t page_total = 0; // the other seats' deposits when the page opened
    // The clerk's reminder: the line being said.
    int reminder_line = 0;
    std::string greeting;
};
Counter ctr;

int menu_count() {
    return ctr.reminder ? 0 : ctr.finance == 1 ? 3 : 2;
}

bool inside(int x, int y, const PlatRect& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int menu_at(int x, int y) {
    for (int k = 0; k < menu_count(); ++k)
        if (inside(x, y, bank_menu_rect(k))) return k;
    return -1;
}

int page_button_at(int x, int y) {
    for (int k = 0; k < BANK_P_COUNT; ++k)
        if (inside(x, y, bank_page_button_rect(k))) return k;
    return -1;
}

bool lending_suspended() {
    return player_table[ctr.player].bank_suspension_days != 0;
}

void counter_put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(ctr.set, frame)) popup_blit(back, f, x, y, true);
}

std::string yuan(int64_t amount) {
    char figure[32];
    std::snprintf(figure, sizeof figure, "$%lld", static_cast<long long>(amount));
    return figure;
}

void bank_draw_accounts(ImageRecord* back) {
    const PlayerRecord& r = player_table[ctr.player];
    counter_put(back, BANK_F_ACCOUNTS, BANK_ACCOUNTS_X, BANK_ACCOUNTS_Y);
    // The face's top-left corner 16 pixels below the card's top, centred on
    // it, wherever the frame's hot spot lies.
    if (const ImageRecord* face = popup_frame(view_portrait_set(ctr.player), 1))
        popup_blit(back, face, BANK_ACCOUNTS_X + 100 - face->width / 2 + face->hot_x,
                   BANK_ACCOUNTS_Y + BANK_FACE_DY + face->hot_y, true);
    popup_font(16, 0xF0F0F0, 0x101010, TEXT_SHADOW, 1);
    popup_text(back, player_name(ctr.player), BANK_ACCOUNTS_X + 100, BANK_ACCOUNTS_Y + 120,
               ALIGN_CENTRE);
    const char* labels[3] = {"现  金", "存  款", "贷  款"};
    const int32_t figures[3] = {r.cash, r.deposit, r.loan};
    for (int k = 0; k < 3; ++k) {
        const int y = BANK_ACCOUNTS_Y + 160 + 36 * k;
        popup_text(back, labels[k], BANK_ACCOUNTS_X + 16, y, ALIGN_LEFT_MIDDLE);
        popup_text(back, yuan(figures[k]).c_str(), BANK_ACCOUNTS_X + 186, y, ALIGN_RIGHT_MIDDLE);
    }
}

void bank_draw_calendar(ImageRecord* back) {
    // Today's holiday, as the board's calendar shows it, else the season's page.
    if (const ImageRecord* holiday = popup_frame(board_holiday_picture(), 0))
        popup_blit(back, holiday, BANK_CALENDAR_X, BANK_CALENDAR_Y, true);
    else if (const ImageRecord* page = popup_frame(
                 ctr.calendar, SEASON_OF_MONTH[std::clamp(cal_month(game_date), 1, 12)]))
        popup_blit(back, page, BANK_CALENDAR_X, BANK_CALENDAR_Y, true);
    static constexpr const char* WEEKDAYS[7] = {"星期日", "星期一", "星期二", "星期三",
                                                "星期四", "星期五", "星期六"};
    char text[32];
    popup_font(16, 0x202020, 0, 0, 1);
    std::snprintf(text, sizeof text, "%d", cal_year(game_date));
    popup_text(back, text, BANK_CALENDAR_X + 100, BANK_CALENDAR_Y + 24,
               ALIGN_CENTRE); // clear of the page's buttons
    std::snprintf(text, sizeof text, "%d月", cal_month(game_date));
    popup_text(back, text, BANK_CALENDAR_X + 160, BANK_CALENDAR_Y + 24, ALIGN_CENTRE);
    popup_text(back, WEEKDAYS[cal_weekday(game_date, nullptr, nullptr)], BANK_CALENDAR_X + 100,
               BANK_CALENDAR_Y + 140, ALIGN_CENTRE);
    popup_font(64, 0xC02020, 0, TEXT_BOLD, 1);
    std::snprintf(text, sizeof text, "%d", cal_day(game_date));
    popup_text(back, text, BANK_CALENDAR_X + 100, BANK_CALENDAR_Y + 84, ALIGN_CENTRE);
    const PlayerRecord& r = player_table[ctr.player];
    if (r.loan_due != 0) {
        popup_font(16, 0x202020, 0, 0, 1);
        std::snprintf(text, sizeof text, "距还款日%d天", cal_days_between(game_date, r.loan_due));
        popup_text(back, text, BANK_CALENDAR_X + 100, BANK_CALENDAR_Y + 176, ALIGN_CENTRE);
    }
}

// The special-financing page's three figures and its buttons.
void bank_draw_number_box(ImageRecord* back, int64_t total) {
    const int x = COUNTER_X + BANK_PAGE_X, y = COUNTER_Y + BANK_PAGE_Y;
    const int64_t drawn = player_table[ctr.player].special_financing;
    counter_put(back, BANK_F_FINANCE, x, y);
    popup_font(18, 0xF0E080, 0x101010, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, "特别融资", x + BANK_PAGE_W / 2, y + 22, ALIGN_CENTRE);
    const char* labels[3] = {"客户存款总额", "目前融资金额", "尚可融资金额"};
    const int64_t figures[3] = {total, drawn, std::max<int64_t>(0, total - drawn)};
    popup_font(16, 0xF0F0F0, 0x101010, TEXT_SHADOW, 1);
    for (int k = 0; k < 3; ++k) {
        const int row = y + BANK_PAGE_FIGURE_Y + BANK_PAGE_FIGURE_STEP * k + 14;
        popup_text(back, labels[k], x + 16, row, ALIGN_LEFT_MIDDLE);
        popup_text(back, yuan(figures[k]).c_str(), x + BANK_PAGE_W - 20, row, ALIGN_RIGHT_MIDDLE);
    }
    popup_font(16, 0x101010, 0, TEXT_BOLD, 1);
    for (int k = 0; k < BANK_P_COUNT; ++k) {
        const bool grey = k == BANK_P_BORROW && lending_suspended();
        const int state = grey ? 1 : k == ctr.page_pressed ? 2 : 0;
        const int bx = x + BANK_PAGE_BUTTON_X + BANK_PAGE_BUTTON_STEP * k,
                  by = y + BANK_PAGE_BUTTON_Y;
        counter_put(back, BANK_F_PAGE_BUTTON + state, bx, by);
        popup_text(back, PAGE_WORDS[k], bx + BANK_PAGE_BUTTON_W / 2 + (state == 2),
                   by + BANK_PAGE_BUTTON_H / 2 + (state == 2), ALIGN_CENTRE);
    }
}

void draw_clerk(ImageRecord* back) {
    const bool talking = balloon_shown_time() != 0;
    // The counter's own picture behind the clerk first: her frames differ in shape.
    if (const ImageRecord* wall = popup_frame(ctr.set, BANK_F_COUNTER))
        popup_blit_part(back, wall, COUNTER_X + BANK_CLERK_X, COUNTER_Y + BANK_CLERK_Y,
                        BANK_CLERK_X, BANK_CLERK_Y, BANK_CLERK_W, BANK_CLERK_H);
    counter_put(back, BANK_F_CLERK + (talking ? (ctr.clerk_tick / 2) % BANK_CLERK_FRAMES : 0),
                COUNTER_X + BANK_CLERK_X, COUNTER_Y + BANK_CLERK_Y);
}

// The whole counter: the menu and, while it is open, the financing page,
// then both cards.
void bank_draw_menu() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    counter_put(back, BANK_F_COUNTER, COUNTER_X, COUNTER_Y);
    draw_clerk(back);
    popup_font(18, 0x101010, 0, TEXT_BOLD, 1);
    for (int k = 0; k < menu_count(); ++k) {
        const bool grey = k == BANK_M_BORROW && lending_suspended();
        const int state = grey ? 1 : k == ctr.pressed ? 2 : 0;
        const int y = COUNTER_Y + BANK_MENU_Y + BANK_MENU_STEP * k;
        counter_put(back, BANK_F_BUTTON + 3 * k + state, COUNTER_X + BANK_MENU_X, y);
        popup_text(back, MENU_WORDS[k], COUNTER_X + BANK_MENU_X + BANK_MENU_W / 2 + (state == 2),
                   y + BANK_MENU_H / 2 + (state == 2), ALIGN_CENTRE);
    }
    if (ctr.page_open) bank_draw_number_box(back, ctr.page_total);
    bank_draw_accounts(back);
    bank_draw_calendar(back);
    popup_unlock_back();
    popup_update(screen_rect);
}

// Only the clerk, so that her balloon beside her stays.
void redraw_clerk() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    draw_clerk(back);
    popup_unlock_back();
    popup_update(PlatRect{COUNTER_X + BANK_CLERK_X, COUNTER_Y + BANK_CLERK_Y,
                          COUNTER_X + BANK_CLERK_X + BANK_CLERK_W,
                          COUNTER_Y + BANK_CLERK_Y + BANK_CLERK_H});
}

// The clerk says a line for the balloon's time, her mouth moving at each
// tick of the window; a click skips it.
void say(const char* line, int tick_ms) {
    balloon_show(line);
    const uint32_t shown = plat_tick_count();
    while (!plat_close_requested() && plat_tick_count() - shown < BALLOON_MIN_MS) {
        const uint32_t left = BALLOON_MIN_MS - (plat_tick_count() - shown);
        if (wait_ms_skippable(std::min(static_cast<uint32_t>(tick_ms), left)) == 1) break;
        ++ctr.clerk_tick;
        redraw_clerk();
    }
    balloon_hide(BALLOON_HIDE_NOW);
    redraw_clerk();
}

void say(const char* line) {
    say(line, CLERK_TICK_MS);
}

void borrow() {
    if (lending_suspended()) return;
    const PlayerRecord& r = player_table[ctr.player];
    if (r.loan >= bank_loan_limit) {
        say("#0081很抱歉！\n金额已超过\n许可额度。");
        return;
    }
    say("#0078请输入您要贷款\n的金额！");
    const int32_t most =
        static_cast<int32_t>(std::max<int64_t>(0, int64_t{bank_loan_limit} - r.loan));
    const int32_t amount = decide_number(ctr.player, "请输入您要贷款的金额", most);
    if (amount <= 0 || bank_borrow(ctr.player, amount) != BANK_DEAL_DONE) return;
    bank_draw_menu();
    say("#0079您的贷款手续\n已经完成。");
    say("#0080请于三个月内\n还清贷款。");
}

void repay() {
    const PlayerRecord& r = player_table[ctr.player];
    if (r.loan <= 0) return;
    say("#0082请输入您预备\n还款的金额！");
    const int32_t amount = decide_number(ctr.player, "请输入您预备还款的金额", r.loan);
    if (amount <= 0) return;
    if (bank_repay(ctr.player, amount) == BANK_DEAL_SHORT) {
        say("#0083很抱歉！\n您的现金不足。");
        return;
    }
    bank_draw_menu();
    say("#0084您的还款手续\n已完成。");
}

// ---- The special-financing page

void finance_borrow() {
    if (lending_suspended()) return;
    const PlayerRecord& r = player_table[ctr.player];
    if (r.special_financing >= ctr.page_total) return;
    say("#0087请输入您要\n周转的金额～", FINANCE_TICK_MS);
    const int32_t most = static_cast<int32_t>(std::clamp<int64_t>(
        ctr.page_total - r.special_financing, 0, std::numeric_limits<int32_t>::max()));
    const int32_t amount = decide_number(ctr.player, "请输入您要周转的金额", most);
    if (amount <= 0) return;
    if (bank_finance_borrow(ctr.player, ctr.object, amount) != BANK_DEAL_DONE) return;
    ctr.page_dealt = true;
    bank_draw_menu();
}

void finance_repay() {
    const PlayerRecord& r = player_table[ctr.player];
    if (r.special_financing <= 0) return;
    say("#0089请输入您要\n还款的金额～", FINANCE_TICK_MS);
    const int32_t amount = decide_number(ctr.player, "请输入您要还款的金额", r.special_financing);
    if (amount <= 0) return;
    const BankDeal deal = bank_finance_repay(ctr.player, ctr.object, amount);
    if (deal == BANK_DEAL_SHORT) {
        say("#0090董事长您别开玩笑了～", FINANCE_TICK_MS);
        return;
    }
    if (deal != BANK_DEAL_DONE) return;
    ctr.page_dealt = true;
    bank_draw_menu();
}

void finance_leave() {
    screen_timer_stop();
    say("#0091董事长慢走！", FINANCE_TICK_MS);
    ctr.page_open = false;
    screen_close(ctr.page_dealt ? 1 : 0);
}

// The page's result: 1 when a deal was made on it.
int32_t bank_finance_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        ctr.page_total = bank_finance_total(ctr.player);
        ctr.page_open = true;
        ctr.page_dealt = false;
        ctr.page_pressed = -1;
        bank_draw_menu();
        screen_timer_start(FINANCE_TICK_MS);
        say("#0086董事长亲自光临\n不知有何指教？", FINANCE_TICK_MS);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam))
            return plat_def_window_proc(window, message, wparam, lparam);
        ++ctr.clerk_tick;
        return 0;
    case WM_LBUTTONDOWN: {
        ctr.page_pressed = page_button_at(plat_point_x(lparam), plat_point_y(lparam));
        if (ctr.page_pressed < 0) return 0;
        const bool refused = ctr.page_pressed == BANK_P_BORROW && lending_suspended();
        snd_effect_play(&ui_effects[refused ? UI_REFUSED : UI_PRESS], 0);
        bank_draw_menu();
        return 0;
    }
    case WM_LBUTTONUP: {
        const int button = ctr.page_pressed;
        ctr.page_pressed = -1;
        if (button < 0) return 0;
        bank_draw_menu();
        if (button == BANK_P_BORROW) finance_borrow();
        if (button == BANK_P_REPAY) finance_repay();
        if (button == BANK_P_EXIT) finance_leave();
        return 0;
    }
    case WM_RBUTTONUP:
        finance_leave();
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---- The counter

void leave_counter() {
    screen_timer_stop();
    say("#0085谢谢您的惠顾！");
    screen_close(0);
}

int32_t bank_loan_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START: {
        bank_draw_menu();
        screen_timer_start(CLERK_TICK_MS);
        const PlayerRecord& r = player_table[ctr.player];
        if (lending_suspended()) {
            char text[64];
            std::snprintf(text, sizeof text, "银行暂停放款\n\n还剩%d天！",
                          status_days_left(r.bank_suspension_days));
            msg_show(text, MSG_STANDARD_MS | MSG_SHIFT_RIGHT);
        }
        if (settings_animations()) {
            say("#0075欢迎光临\n卡尔沃银行！");
            say("#0076需要我为您\n服务吗？");
        }
        return 0;
    }
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam))
            return plat_def_window_proc(window, message, wparam, lparam);
        ++ctr.clerk_tick;
        return 0;
    case WM_LBUTTONDOWN:
        ctr.pressed = menu_at(plat_point_x(lparam), plat_point_y(lparam));
        if (ctr.pressed < 0) return 0;
        snd_effect_play(&ui_effects[ctr.pressed == BANK_M_BORROW && lending_suspended() ? UI_REFUSED
                                                                                        : UI_PRESS],
                        0);
        bank_draw_menu();
        return 0;
    case WM_LBUTTONUP: {
        const int item = ctr.pressed;
        ctr.pressed = -1;
        if (item < 0) return 0;
        bank_draw_menu();
        if (item == BANK_M_BORROW) borrow();
        if (item == BANK_M_REPAY) repay();
        if (item == BANK_M_FINANCE) {
            // A deal on the page ends the whole visit.
            if (screen_run(bank_finance_wndproc, 0) == 1) {
                screen_timer_stop();
                screen_close(0);
                return 0;
            }
            bank_draw_menu();
        }
        return 0;
    }
    case WM_RBUTTONUP:
        leave_counter();
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---- The clerk's reminder: three lines on the window's ticks, a click ends it.

const char* reminder_text(int line) {
    static constexpr const char* LATER[2] = {"您向银行借贷的\n贷款即将到期。", "请不要忘记喔！"};
    return line == 0 ? ctr.greeting.c_str() : LATER[line - 1];
}
constexpr int REMINDER_LINES = 3;

int32_t bank_clerk_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        bank_draw_menu();
        ctr.reminder_line = 0;
        balloon_show(reminder_text(0));
        screen_timer_start(CLERK_TICK_MS);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam))
            return plat_def_window_proc(window, message, wparam, lparam);
        ++ctr.clerk_tick;
        if (balloon_hide(0) == 1) {
            if (++ctr.reminder_line >= REMINDER_LINES) {
                screen_timer_stop();
                screen_close(0);
                return 0;
            }
            balloon_show(reminder_text(ctr.reminder_line));
        }
        redraw_clerk();
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        screen_timer_stop();
        balloon_hide(BALLOON_HIDE_NOW);
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

void counter_open() {
    ctr.set = spr_read_set("PANEL.MKF", BANK_COUNTER_ENTRY);
    ctr.calendar = spr_read_set("PANEL.MKF", PANEL_CALENDAR);
    balloon_set(popup_frame(ctr.set, BANK_F_BALLOON), COUNTER_X + BANK_BALLOON_X,
                COUNTER_Y + BANK_BALLOON_Y, 0, 0, 0x101010, 0);
    music_play_event(4);
}

void counter_close() {
    balloon_reset();
    spr_free_set(ctr.set);
    ctr.set = nullptr;
    spr_free_set(ctr.calendar);
    ctr.calendar = nullptr;
    music_resume();
    board_repaint_all();
}

} // namespace

void bank_loan_screen(int finance, uint16_t object) {
    shown_record(Shown::Panel, BANK_COUNTER_ENTRY, 0, "bank loan counter");
    if (!popup_lock_back()) return; // no display: nothing is dealt
    popup_unlock_back();
    ctr = Counter{};
    ctr.player = game_active_mover;
    ctr.finance = finance;
    ctr.object = object;
    counter_open();
    const int cursor = cursor_show_for_clicks(); // a landing has the pointer off
    screen_run(bank_loan_wndproc, finance);
    cursor_give_back(cursor);
    counter_close();
}

void bank_clerk_reminder() {
    const int p = game_active_mover;
    // Only a player at the controls is reminded; a computer is told nothing.
    if (!is_player_seat(p) || (player_table[p].control & ~CTRL_TURN_BITS) != CTRL_HUMAN) return;
    shown_record(Shown::Panel, BANK_COUNTER_ENTRY, 1, "bank clerk reminder");
    if (!popup_lock_back()) return; // no display: nothing to show
    popup_unlock_back();
    ctr = Counter{};
    ctr.player = p;
    ctr.reminder = true;
    ctr.greeting = player_plain_name(p) + "您好";
    counter_open();
    const int cursor = cursor_show_for_clicks(); // so has the start of a turn
    screen_run(bank_clerk_wndproc, 0);
    cursor_give_back(cursor);
    counter_close();
}

PRESENTER(bank_presenter,
          BankPresenter{bank_deposit_screen, bank_loan_screen, bank_clerk_reminder});
