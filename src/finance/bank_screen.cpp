#include "finance/bank_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/view.h"
#include "engine/balloon.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message.h"
#include "engine/message_draw.h"
#include "engine/music.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/wait.h"
#include "finance/bank.h"
#include "finance/bank_amount.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "shell/screen.h"
#include "shell/settings.h"

// The deposit window: two modes (withdraw, deposit), eighteen buttons, the
// typed amount and its slider. The deal is the bank's (bank_deposit,
// bank_withdraw); the window only picks the amount.
namespace {

constexpr int DEPOSIT_ENTRY = 24;
constexpr int WIN_X = 160, WIN_Y = 90, WIN_W = 320, WIN_H = 300;

enum DepositMode : int { MODE_WITHDRAW = 0, MODE_DEPOSIT = 1 };

// The buttons, as numbered by their pressed looks (frame button + 1); the
// bar is frame 19.
enum DepositButton : int {
    B_WITHDRAW = 0,
    B_DEPOSIT = 1,
    B_LEAVE = 2,
    B_SLIDER = 3,
    B_DIGIT0 = 4, // .. B_DIGIT0 + 9
    B_CLEAR = 14,
    B_BACKSPACE = 15,
    B_ALL = 16,
    B_OK = 17,
    B_COUNT = 18,
    B_NONE = -1,
};
constexpr int F_BAR = 19;
constexpr int BAR_X = 58, BAR_Y = 104, BAR_H = 16;
constexpr int DISPLAY_RIGHT = 296, DISPLAY_Y = 74;

struct Spot {
    int x, y, w, h; // in the window
};
// The digit keys lie as on a calculator: 7 8 9 on top, 0 below 1.
constexpr Spot digit_spot(int d) {
    if (d == 0) return {16, 256, 52, 34};
    const int row = 2 - (d - 1) / 3, col = (d - 1) % 3;
    return {16 + 60 * col, 136 + 40 * row, 52, 34};
}
constexpr Spot SPOTS[B_COUNT] = {
    {16, 16, 90, 30},    {116, 16, 90, 30},   {216, 16, 88, 30},   {BAR_X, BAR_Y, 204, BAR_H},
    digit_spot(0),       digit_spot(1),       digit_spot(2),       digit_spot(3),
    digit_spot(4),       digit_spot(5),       digit_spot(6),       digit_spot(7),
    digit_spot(8),       digit_spot(9),       {196, 136, 108, 34}, {196, 176, 108, 34},
    {196, 216, 108, 34}, {196, 256, 108, 34},
};

struct Deposit {
    int player = 0;
    int mode = MODE_WITHDRAW;
    bool withdraw_locked = false; // lending suspended: deposit only
    BankAmount amount;
    int pressed = B_NONE;
    void* set = nullptr;
};
Deposit dep;

int button_at(int x, int y) {
    for (int b = 0; b < B_COUNT; ++b) {
        const Spot& s = SPOTS[b];
        if (x >= WIN_X + s.x && x < WIN_X + s.x + s.w && y >= WIN_Y + s.y && y < WIN_Y + s.y + s.h)
            return b;
    }
    return B_NONE;
}

void set_mode(int mode) {
    dep.mode = mode;
    const PlayerRecord& r = player_table[dep.player];
    bank_amount_start(dep.amount, bank_amount_maximum(mode == MODE_DEPOSIT ? r.cash : r.deposit));
}

void put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(dep.set, frame)) popup_blit(back, f, x, y, true);
}

void draw() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    put(back, 0, WIN_X, WIN_Y);
    // The current mode's button stays pressed.
    const int mode_button = dep.mode == MODE_DEPOSIT ? B_DEPOSIT : B_WITHDRAW;
    put(back, 1 + mode_button, WIN_X + SPOTS[mode_button].x, WIN_Y + SPOTS[mode_button].y);
    if (dep.pressed > B_SLIDER)
        put(back, 1 + dep.pressed, WIN_X + SPOTS[dep.pressed].x, WIN_Y + SPOTS[dep.pressed].y);
    // The bar shows the amount as a filled share of its width.
    if (const ImageRecord* bar = popup_frame(dep.set, F_BAR); bar && dep.amount.maximum > 0) {
        const int w = static_cast<int>(dep.amount.value * bar->width / dep.amount.maximum);
        if (w > 0) popup_blit_part(back, bar, WIN_X + BAR_X, WIN_Y + BAR_Y, 0, 0, w, bar->height);
    }
    popup_font(16, 0xF0F0F0, 0x101010, TEXT_SHADOW, 1);
    popup_text(back, "提  款", WIN_X + 61, WIN_Y + 31, ALIGN_CENTRE);
    popup_text(back, "存  款", WIN_X + 161, WIN_Y + 31, ALIGN_CENTRE);
    popup_text(back, "离  开", WIN_X + 260, WIN_Y + 31, ALIGN_CENTRE);
    for (int d = 0; d <= 9; ++d) {
        const Spot s = digit_spot(d);
        char digit[2] = {static_cast<char>('0' + d), 0};
        popup_text(back, digit, WIN_X + s.x + s.w / 2, WIN_Y + s.y + s.h / 2, ALIGN_CENTRE);
    }
    const char* words[4] = {"清  除", "退  格", "全  部", "确  定"};
    for (int k = 0; k < 4; ++k) {
        const Spot& s = SPOTS[B_CLEAR + k];
        popup_text(back, words[k], WIN_X + s.x + s.w / 2, WIN_Y + s.y + s.h / 2, ALIGN_CENTRE);
    }
    char figure[24];
    std::snprintf(figure, sizeof figure, "%lld", static_cast<long long>(dep.amount.value));
    popup_font(24, 0x80FF80, 0x101010, TEXT_BOLD, 1);
    popup_text(back, figure, WIN_X + DISPLAY_RIGHT, WIN_Y + DISPLAY_Y, ALIGN_RIGHT_MIDDLE);
    popup_unlock_back();
    popup_update(PlatRect{WIN_X, WIN_Y, WIN_X + WIN_W, WIN_Y + WIN_H});
}

// What a button does; true when the window closes.
bool press(int button, int x) {
    switch (button) {
    case B_WITHDRAW:
        if (dep.withdraw_locked) return false;
        set_mode(MODE_WITHDRAW);
        return false;
    case B_DEPOSIT:
        set_mode(MODE_DEPOSIT);
        return false;
    case B_LEAVE:
        return true;
    case B_SLIDER:
        bank_amount_slider(dep.amount, x - (WIN_X + BAR_X));
        return false;
    case B_CLEAR:
        bank_amount_clear(dep.amount);
        return false;
    case B_BACKSPACE:
        bank_amount_backspace(dep.amount);
        return false;
    case B_ALL:
        bank_amount_all(dep.amount);
        return false;
    case B_OK: {
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
        if (button >= B_DIGIT0 && button < B_DIGIT0 + 10)
            bank_amount_digit(dep.amount, button - B_DIGIT0);
        return false;
    }
}

// A key pressed as its button: digits, Backspace, Enter, C clears, M takes
// all, H clicks the slider 102 pixels from its left end.
int key_button(uint32_t key, int* x) {
    if (key >= '0' && key <= '9') return B_DIGIT0 + static_cast<int>(key - '0');
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9)
        return B_DIGIT0 + static_cast<int>(key - VK_NUMPAD0);
    if (key == VK_BACK) return B_BACKSPACE;
    if (key == VK_RETURN) return B_OK;
    if (key == 67) return B_CLEAR;
    if (key == 77) return B_ALL;
    if (key == 72) {
        *x = WIN_X + BAR_X + 102;
        return B_SLIDER;
    }
    return B_NONE;
}

int32_t deposit_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        draw();
        return 0;
    case WM_LBUTTONDOWN: {
        const int b = button_at(plat_point_x(lparam), plat_point_y(lparam));
        if (b == B_NONE) return 0;
        snd_effect_play(&ui_effects[b == B_WITHDRAW && dep.withdraw_locked ? UI_REFUSED : UI_PRESS],
                        0);
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
        if (dep.pressed != B_NONE) {
            dep.pressed = B_NONE;
            draw();
        }
        return 0;
    case WM_KEYDOWN: {
        int x = 0;
        const int b = key_button(wparam, &x);
        if (b == B_NONE) return 0;
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
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

} // namespace

void bank_deposit_screen() {
    shown_record(Shown::Panel, DEPOSIT_ENTRY, 0, "bank deposit");
    if (!popup_lock_back()) return; // no display: nothing is dealt
    popup_unlock_back();
    dep = Deposit{};
    dep.player = game_active_mover;
    const PlayerRecord& r = player_table[dep.player];
    dep.withdraw_locked = r.bank_suspension_days != 0;
    set_mode(dep.withdraw_locked ? MODE_DEPOSIT : MODE_WITHDRAW);
    dep.set = spr_read_set("PANEL.MKF", DEPOSIT_ENTRY);
    ImageRecord* saved = popup_save_area(PlatRect{WIN_X, WIN_Y, WIN_X + WIN_W, WIN_Y + WIN_H});
    if (dep.withdraw_locked) {
        char text[64];
        std::snprintf(text, sizeof text, "银行暂停放款\n\n还剩%d天！",
                      status_days_left(r.bank_suspension_days));
        msg_show(text, MSG_STANDARD_MS);
    }
    numpad_open = 1;
    screen_run(deposit_wndproc, 0);
    numpad_open = 0;
    if (saved != nullptr) popup_restore_area(saved, WIN_X, WIN_Y);
    spr_free_set(dep.set);
}

// ---------------------------------------------------------------------------
// The loan counter: the clerk over the board view, the menu, the accounts
// card and the calendar card on the side panel. Amounts are asked through the
// number pad's decision; the deals are the bank's (bank_borrow, bank_repay).

namespace {

constexpr int COUNTER_ENTRY = 23;
constexpr int COUNTER_X = LAYOUT_BOARD_AREA.left, COUNTER_Y = LAYOUT_BOARD_AREA.top;
constexpr int CLERK_X = 150, CLERK_Y = 70; // the clerk's frames, in the board view
constexpr int CLERK_FRAMES = 4;
constexpr int CLERK_TICK_MS = 50;
constexpr int MENU_X = 150, MENU_Y = 300, MENU_STEP = 46, MENU_W = 140, MENU_H = 36;
constexpr int BALLOON_X = 300, BALLOON_Y = 90;
constexpr int ACCOUNTS_X = 440, ACCOUNTS_Y = 0, CALENDAR_X = 440, CALENDAR_Y = 280;

// Frames of PANEL.MKF 23.
enum CounterFrame : int {
    F_COUNTER = 0,
    F_CLERK = 1,  // .. F_CLERK + CLERK_FRAMES - 1, the mouth moving
    F_BUTTON = 5, // + 3 x item + state: plain, grey, pressed
    F_FINANCE = 14,
    F_ACCOUNTS = 15,
    F_CALENDAR = 16,
    F_BALLOON = 17,
};
enum MenuItem : int { M_BORROW = 0, M_REPAY = 1 };
constexpr const char* MENU_WORDS[3] = {"申请贷款", "偿还贷款", "特别融资"};

struct Counter {
    int player = 0;
    int finance = 0;
    uint16_t object = 0;
    int pressed = -1;
    int clerk_tick = 0;
    void* set = nullptr;
};
Counter ctr;

// The financing item joins the menu with the special-financing page; until
// that page exists the chairman sees the two loan items only.
int menu_count() {
    return 2;
}

int menu_at(int x, int y) {
    for (int k = 0; k < menu_count(); ++k) {
        const int top = COUNTER_Y + MENU_Y + MENU_STEP * k;
        if (x >= COUNTER_X + MENU_X && x < COUNTER_X + MENU_X + MENU_W && y >= top &&
            y < top + MENU_H)
            return k;
    }
    return -1;
}

bool lending_suspended() {
    return player_table[ctr.player].bank_suspension_days != 0;
}

void counter_put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(ctr.set, frame)) popup_blit(back, f, x, y, true);
}

void draw_accounts(ImageRecord* back) {
    const PlayerRecord& r = player_table[ctr.player];
    counter_put(back, F_ACCOUNTS, ACCOUNTS_X, ACCOUNTS_Y);
    if (const ImageRecord* face = popup_frame(view_portrait_set(ctr.player), 1))
        popup_blit(back, face, ACCOUNTS_X + 100 - face->width / 2, ACCOUNTS_Y + 16, true);
    popup_font(16, 0xF0F0F0, 0x101010, TEXT_SHADOW, 1);
    popup_text(back, player_name(ctr.player), ACCOUNTS_X + 100, ACCOUNTS_Y + 120, ALIGN_CENTRE);
    const char* labels[3] = {"现  金", "存  款", "贷  款"};
    const int32_t figures[3] = {r.cash, r.deposit, r.loan};
    for (int k = 0; k < 3; ++k) {
        const int y = ACCOUNTS_Y + 160 + 36 * k;
        popup_text(back, labels[k], ACCOUNTS_X + 16, y, ALIGN_LEFT_MIDDLE);
        char figure[24];
        std::snprintf(figure, sizeof figure, "$%d", figures[k]);
        popup_text(back, figure, ACCOUNTS_X + 186, y, ALIGN_RIGHT_MIDDLE);
    }
}

void draw_calendar(ImageRecord* back) {
    counter_put(back, F_CALENDAR, CALENDAR_X, CALENDAR_Y);
    static constexpr const char* WEEKDAYS[7] = {"星期日", "星期一", "星期二", "星期三",
                                                "星期四", "星期五", "星期六"};
    char text[32];
    popup_font(16, 0x202020, 0, 0, 1);
    std::snprintf(text, sizeof text, "%d", cal_year(game_date));
    popup_text(back, text, CALENDAR_X + 40, CALENDAR_Y + 24, ALIGN_CENTRE);
    std::snprintf(text, sizeof text, "%d月", cal_month(game_date));
    popup_text(back, text, CALENDAR_X + 160, CALENDAR_Y + 24, ALIGN_CENTRE);
    popup_text(back, WEEKDAYS[cal_weekday(game_date, nullptr, nullptr)], CALENDAR_X + 100,
               CALENDAR_Y + 140, ALIGN_CENTRE);
    popup_font(64, 0xC02020, 0, TEXT_BOLD, 1);
    std::snprintf(text, sizeof text, "%d", cal_day(game_date));
    popup_text(back, text, CALENDAR_X + 100, CALENDAR_Y + 84, ALIGN_CENTRE);
    const PlayerRecord& r = player_table[ctr.player];
    if (r.loan_due != 0) {
        popup_font(16, 0x202020, 0, 0, 1);
        std::snprintf(text, sizeof text, "距还款日%d天", cal_days_between(game_date, r.loan_due));
        popup_text(back, text, CALENDAR_X + 100, CALENDAR_Y + 176, ALIGN_CENTRE);
    }
}

void draw_counter() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    counter_put(back, F_COUNTER, COUNTER_X, COUNTER_Y);
    const bool talking = balloon_shown_time() != 0;
    counter_put(back, F_CLERK + (talking ? (ctr.clerk_tick / 3) % CLERK_FRAMES : 0),
                COUNTER_X + CLERK_X, COUNTER_Y + CLERK_Y);
    popup_font(18, 0x101010, 0, TEXT_BOLD, 1);
    for (int k = 0; k < menu_count(); ++k) {
        const bool grey = k == M_BORROW && lending_suspended();
        const int state = grey ? 1 : k == ctr.pressed ? 2 : 0;
        const int y = COUNTER_Y + MENU_Y + MENU_STEP * k;
        counter_put(back, F_BUTTON + 3 * k + state, COUNTER_X + MENU_X, y);
        popup_text(back, MENU_WORDS[k], COUNTER_X + MENU_X + MENU_W / 2 + (state == 2),
                   y + MENU_H / 2 + (state == 2), ALIGN_CENTRE);
    }
    draw_accounts(back);
    draw_calendar(back);
    popup_unlock_back();
    popup_update(LAYOUT_SCREEN);
}

// The clerk says a line; a click skips it.
void say(const char* line) {
    balloon_show(line);
    draw_counter();
    wait_ms_skippable(BALLOON_MIN_MS);
    balloon_hide(BALLOON_HIDE_NOW);
    draw_counter();
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
    draw_counter();
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
    draw_counter();
    say("#0084您的还款手续\n已完成。");
}

int32_t loan_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START: {
        draw_counter();
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
        if (balloon_shown_time() != 0) draw_counter();
        return 0;
    case WM_LBUTTONDOWN:
        ctr.pressed = menu_at(plat_point_x(lparam), plat_point_y(lparam));
        if (ctr.pressed < 0) return 0;
        snd_effect_play(
            &ui_effects[ctr.pressed == M_BORROW && lending_suspended() ? UI_REFUSED : UI_PRESS], 0);
        draw_counter();
        return 0;
    case WM_LBUTTONUP: {
        const int item = ctr.pressed;
        ctr.pressed = -1;
        draw_counter();
        if (item == M_BORROW) borrow();
        if (item == M_REPAY) repay();
        return 0;
    }
    case WM_RBUTTONUP:
        screen_timer_stop();
        say("#0085谢谢您的惠顾！");
        screen_close(0);
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

void counter_open() {
    ctr.set = spr_read_set("PANEL.MKF", COUNTER_ENTRY);
    balloon_set(popup_frame(ctr.set, F_BALLOON), COUNTER_X + BALLOON_X, COUNTER_Y + BALLOON_Y, 0, 0,
                0x101010, 0);
    music_play_event(4);
}

void counter_close() {
    balloon_reset();
    spr_free_set(ctr.set);
    music_resume();
    board_repaint_all();
}

} // namespace

void bank_loan_screen(int finance, uint16_t object) {
    shown_record(Shown::Panel, COUNTER_ENTRY, 0, "bank loan counter");
    if (!popup_lock_back()) return; // no display: nothing is dealt
    popup_unlock_back();
    ctr = Counter{};
    ctr.player = game_active_mover;
    ctr.finance = finance;
    ctr.object = object;
    counter_open();
    screen_run(loan_wndproc, finance);
    counter_close();
}

// The clerk's reminder is not built yet: the reminder day passes silently.
void bank_clerk_reminder() {}
