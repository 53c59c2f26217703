// The ticket window and the draw window of the lottery.
#include "finance/lottery_screen.h"

#include <cstdio>
#include <string>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/view.h"
#include "engine/balloon.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/wait.h"
#include "finance/lottery.h"
#include "platform/queue.h"

namespace {

constexpr uint32_t TICK_MS = 100;
constexpr int SPIN_TICKS = 20; // the drum turns for two seconds
constexpr int SOUND_STAMP = 0, SOUND_DRUM = 1, SOUND_FANFARE = 2;
constexpr uint32_t INK = 0x101010, LIGHT = 0xF8F0D8, GOLD = 0xF8D040;

EffectListEntry lottery_sounds[] = {{140, nullptr}, {141, nullptr}, {142, nullptr}, {-1, nullptr}};

struct Window {
    bool open = false;
    bool draw = false; // the draw window, else the ticket window
    int player = -1;
    void* sets[4] = {};
    ImageRecord* saved = nullptr;
    uint8_t cursor_mode = 0;
    int spin = 0;
    int pressed = 0; // a number held down in the ticket window
};
Window w;

bool display_open() {
    if (!popup_lock_back()) return false;
    popup_unlock_back();
    return true;
}

const ImageRecord* frame(int set, int n) {
    return popup_frame(w.sets[set], n);
}

void text_at(ImageRecord* back, const char* text, int x, int y, int align, int height,
             uint32_t rgb) {
    popup_font(height, rgb, INK, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, text, x, y, align);
}

void open_window(bool draw, const int (&entries)[4], int balloon_set_index, int balloon_frame,
                 int balloon_x, int balloon_y) {
    w = Window{};
    w.draw = draw;
    shown_record(Shown::Panel, entries[0], 0, draw ? "lottery draw" : "lottery ticket");
    if (!display_open()) return;
    for (int k = 0; k < 4; ++k)
        w.sets[k] = entries[k] >= 0 ? spr_read_set("PANEL.MKF", entries[k]) : nullptr;
    snd_effects_load(lottery_sounds);
    w.open = true;
    w.cursor_mode = cursor_get_mode();
    w.saved = popup_save_area(screen_rect);
    balloon_set(frame(balloon_set_index, balloon_frame), balloon_x, balloon_y, 0, 0, INK, 0);
}

// The balloon shown stays its time (and its voice); a program being closed
// does not wait.
void wait_for_balloon() {
    while (balloon_hide(0) == 0 && !plat_close_requested())
        wait_ms(TICK_MS);
}

void close_window() {
    if (!w.open) return;
    wait_for_balloon();
    balloon_reset();
    popup_restore_area(w.saved, 0, 0);
    w.saved = nullptr;
    if (w.cursor_mode != 1) cursor_set_mode(w.cursor_mode);
    cursor_set_shape(LOTTO_CURSOR_NORMAL, 1, 0); // the ticket shape gives way to the usual pointer
    snd_effects_free(lottery_sounds);
    for (void*& set : w.sets)
        spr_free_set(set);
    w = Window{};
    board_repaint_all();
}

void show_whole_screen() {
    popup_update(screen_rect);
}

void ticket_draw_all() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x203050);
    if (const ImageRecord* f = frame(0, 0)) popup_blit(back, f, 0, 0, false);
    if (const ImageRecord* clerk = frame(2, 0))
        popup_blit(back, clerk, LOTTO_TICKET_CLERK_X, LOTTO_TICKET_CLERK_Y, true);
    lotto_draw_holders(back, LOTTO_TICKET_HOLDERS_DY);
    lotto_draw_jackpot(back, LOTTO_TICKET_JACKPOT_X, LOTTO_TICKET_JACKPOT_Y);
    lotto_draw_numbers(back);
    popup_unlock_back();
    show_whole_screen();
}

void draw_draw_all() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x302040);
    if (const ImageRecord* f = frame(0, 0)) popup_blit(back, f, 0, 0, false);
    if (const ImageRecord* host = frame(0, 2))
        popup_blit(back, host, LOTTO_DRAW_HOST_X, LOTTO_DRAW_HOST_Y, true);
    if (const ImageRecord* drum = frame(2, 0))
        popup_blit(back, drum, LOTTO_DRUM_X, LOTTO_DRUM_Y, true);
    lotto_draw_holders(back, 0);
    lotto_draw_jackpot(back, LOTTO_DRAW_JACKPOT_X, LOTTO_DRAW_JACKPOT_Y);
    popup_unlock_back();
    show_whole_screen();
}

// ---------------------------------------------------------------------------
// The ticket window's clicks: the DECIDE_LOTTERY_NUMBER window.

int ask_number(const DecisionRequest&) {
    if (!w.open || w.draw) return 0;
    return screen_run(lotto_buy_wndproc, 0);
}

bool accepts_number(const DecisionRequest& r, int answer) {
    if (answer == 0) return true;
    return answer >= 1 && answer <= LOTTO_NUMBERS && lotto_owners[answer - 1] == OWNER_NONE &&
           is_player_seat(r.player) && player_table[r.player].cash >= LOTTO_TICKET_PRICE;
}

} // namespace

DECISION_KIND(DECIDE_LOTTERY_NUMBER, ask_number, accepts_number, 0);

PlatRect lotto_cell_rect(int number) {
    const int i = number - 1;
    const int x = LOTTO_CELL_X0 + LOTTO_CELL_W * (i % LOTTO_CELL_COLUMNS);
    const int y = LOTTO_CELL_Y0 + LOTTO_CELL_H * (i / LOTTO_CELL_COLUMNS);
    return {x, y, x + LOTTO_CELL_W, y + LOTTO_CELL_H};
}

void lotto_draw_numbers(ImageRecord* back) {
    if (!back) return;
    for (int n = 1; n <= LOTTO_NUMBERS; ++n) {
        const PlatRect r = lotto_cell_rect(n);
        char digits[8];
        std::snprintf(digits, sizeof digits, "%02d", n);
        text_at(back, digits, (r.left + r.right) / 2, (r.top + r.bottom) / 2, ALIGN_CENTRE, 24,
                0x183060);
        if (lotto_owners[n - 1] != OWNER_NONE)
            gfx_brightness_rect(back, r.left + 1, r.top + 1, LOTTO_CELL_W - 2, LOTTO_CELL_H - 2,
                                -14);
    }
}

void lotto_draw_holders(ImageRecord* back, int dy) {
    if (!back) return;
    int slot = 0;
    for (int p = 0; p < PLAYER_COUNT && slot < static_cast<int>(lotto_holder_slots.size()); ++p) {
        if (player_table[p].control == CTRL_OUT) continue;
        const int x = lotto_holder_slots[slot].x, y = lotto_holder_slots[slot].y + dy;
        ++slot;
        if (const ImageRecord* f = popup_frame(w.sets[1], 0)) popup_blit(back, f, x, y, false);
        if (const ImageRecord* face = popup_frame(view_portrait_set(p), 0))
            popup_blit(back, face, x + 12, y + 12, true);
        std::string rows[2];
        int shown = 0;
        for (int n = 1; n <= LOTTO_NUMBERS && shown < 12; ++n) {
            if (!owner_is_seat(lotto_owners[n - 1], p)) continue;
            char digits[4];
            std::snprintf(digits, sizeof digits, "%02d", n);
            rows[shown / 6] += digits;
            ++shown;
        }
        if (shown <= 6) {
            text_at(back, rows[0].c_str(), x + 60, y + LOTTO_HOLDER_H / 2, ALIGN_LEFT_MIDDLE, 20,
                    LIGHT);
        } else {
            text_at(back, rows[0].c_str(), x + 60, y + 17, ALIGN_LEFT_MIDDLE, 18, LIGHT);
            text_at(back, rows[1].c_str(), x + 60, y + 42, ALIGN_LEFT_MIDDLE, 18, LIGHT);
        }
    }
}

void lotto_draw_jackpot(ImageRecord* back, int x, int y) {
    if (!back) return;
    if (const ImageRecord* f = popup_frame(w.sets[1], 1)) popup_blit(back, f, x, y, false);
    char amount[24];
    std::snprintf(amount, sizeof amount, "$%d", lotto_jackpot);
    text_at(back, "累积奖金", x + 75, y + 16, ALIGN_CENTRE, 18, LIGHT);
    text_at(back, amount, x + 75, y + 42, ALIGN_CENTRE, 20, GOLD);
}

// ---------------------------------------------------------------------------
// The steps the rules show through lottery_presenter.

namespace {

void say_line(const char* text) {
    if (w.open) wait_for_balloon();
    balloon_show(text);
}

void pause_for(uint32_t ms) {
    wait_ms(ms);
}

void open_ticket_window(int p) {
    open_window(false, {LOTTO_TICKET_ENTRY, LOTTO_PANELS_ENTRY, LOTTO_CLERK_ENTRY, -1}, 0, 2,
                LOTTO_TICKET_BALLOON_X, LOTTO_TICKET_BALLOON_Y);
    w.player = p;
    if (!w.open) return;
    ticket_draw_all();
    cursor_set_shape(LOTTO_CURSOR_TICKET, 1, 0);
    cursor_set_mode(1);
}

void stamp_number(int number) {
    shown_record(Shown::Panel, LOTTO_TICKET_ENTRY, 0, "stamp");
    if (!w.open) return;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    const PlatRect r = lotto_cell_rect(number);
    lotto_draw_numbers(back);
    if (const ImageRecord* stamp = frame(0, 1))
        popup_blit(back, stamp, (r.left + r.right) / 2, (r.top + r.bottom) / 2, true);
    lotto_draw_holders(back, LOTTO_TICKET_HOLDERS_DY);
    lotto_draw_jackpot(back, LOTTO_TICKET_JACKPOT_X, LOTTO_TICKET_JACKPOT_Y);
    popup_unlock_back();
    show_whole_screen();
    snd_effect_play(&lottery_sounds[SOUND_STAMP], 0);
}

void open_draw_window() {
    open_window(true, {LOTTO_DRAW_ENTRY, LOTTO_PANELS_ENTRY, LOTTO_DRUM_ENTRY, LOTTO_DIGITS_ENTRY},
                0, 1, LOTTO_DRAW_BALLOON_X, LOTTO_DRAW_BALLOON_Y);
    if (w.open) draw_draw_all();
}

void turn_drum() {
    shown_record(Shown::Panel, LOTTO_DRUM_ENTRY, 0, "drum");
    if (!w.open) return;
    snd_effect_play(&lottery_sounds[SOUND_DRUM], 1);
    screen_run(lotto_draw_wndproc, 0);
    snd_effect_stop(&lottery_sounds[SOUND_DRUM]);
}

void show_drawn_number(int number) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", number);
    shown_record(Shown::Panel, LOTTO_DIGITS_ENTRY, 0, digits);
    if (!w.open) return;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    for (int k = 0; k < 2; ++k)
        if (const ImageRecord* d = frame(3, digits[k] - '0'))
            popup_blit(back, d, LOTTO_DIGITS_X + LOTTO_DIGIT_STEP * k, LOTTO_DIGITS_Y, true);
    popup_unlock_back();
    popup_update({LOTTO_DIGITS_X, LOTTO_DIGITS_Y, LOTTO_DIGITS_X + LOTTO_DIGITS_W,
                  LOTTO_DIGITS_Y + LOTTO_DIGITS_H});
}

void show_winner(int winner, const char* line) {
    // The line is spoken with its voice marker and shown large without it.
    shown_record(Shown::Panel, LOTTO_DIGITS_ENTRY, 0, line);
    if (!w.open) return;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    if (const ImageRecord* banner = frame(3, LOTTO_BANNER_FRAME))
        popup_blit(back, banner, LOTTO_BANNER_X, LOTTO_BANNER_Y, false);
    if (const ImageRecord* face = popup_frame(view_portrait_set(winner), 0))
        popup_blit(back, face, LOTTO_BANNER_X + 14, LOTTO_BANNER_Y + 12, true);
    popup_font(32, GOLD, INK, TEXT_OUTLINE | TEXT_BOLD, 2);
    popup_text(back, line, LOTTO_BANNER_X + 150, LOTTO_BANNER_Y + 30, ALIGN_CENTRE);
    lotto_draw_jackpot(back, LOTTO_DRAW_JACKPOT_X, LOTTO_DRAW_JACKPOT_Y);
    popup_unlock_back();
    popup_update({LOTTO_BANNER_X, LOTTO_BANNER_Y, LOTTO_BANNER_X + LOTTO_BANNER_W,
                  LOTTO_BANNER_Y + LOTTO_BANNER_H});
    popup_update({LOTTO_DRAW_JACKPOT_X, LOTTO_DRAW_JACKPOT_Y,
                  LOTTO_DRAW_JACKPOT_X + LOTTO_JACKPOT_W, LOTTO_DRAW_JACKPOT_Y + LOTTO_JACKPOT_H});
    snd_effect_play(&lottery_sounds[SOUND_FANFARE], 0);
}

} // namespace

PRESENTER(lottery_presenter, LotteryPresenter{
                                 .open_ticket = open_ticket_window,
                                 .stamp = stamp_number,
                                 .open_draw = open_draw_window,
                                 .spin = turn_drum,
                                 .show_number = show_drawn_number,
                                 .show_winner = show_winner,
                                 .say = say_line,
                                 .wait = pause_for,
                                 .close = close_window,
                             });

int32_t lotto_buy_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        w.pressed = 0;
        screen_timer_start(TICK_MS);
        return 0;
    case WM_TIMER:
        // The last balloon goes once its time is up; the window waits on.
        if (screen_timer_is_mine(wparam)) balloon_hide(0);
        return 0;
    case WM_LBUTTONDOWN: {
        const int n = lotto_cell_at(mx, my);
        if (n == 0 || lotto_owners[n - 1] != OWNER_NONE) return 0;
        w.pressed = n;
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        return 0;
    }
    case WM_LBUTTONUP: {
        const int n = w.pressed;
        w.pressed = 0;
        if (n != 0 && lotto_cell_at(mx, my) == n) {
            screen_timer_stop();
            screen_close(n);
        }
        return 0;
    }
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_timer_stop();
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

int32_t lotto_draw_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        w.spin = 0;
        screen_timer_start(TICK_MS);
        return 0;
    case WM_TIMER: {
        if (!screen_timer_is_mine(wparam)) return 0;
        ImageRecord* back = popup_lock_back();
        if (back) {
            if (const ImageRecord* drum = frame(2, w.spin % LOTTO_DRUM_FRAMES))
                popup_blit(back, drum, LOTTO_DRUM_X, LOTTO_DRUM_Y, true);
            popup_unlock_back();
            popup_update({LOTTO_DRUM_X, LOTTO_DRUM_Y, LOTTO_DRUM_X + LOTTO_DRUM_SIZE,
                          LOTTO_DRUM_Y + LOTTO_DRUM_SIZE});
        }
        if (++w.spin >= SPIN_TICKS) {
            screen_timer_stop();
            screen_close(0);
        }
        return 0;
    }
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}
