// The system window and its date and hot-key dialogs: drawing and input.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/toolbar.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/sysmenu.h"
#include "shell/sysmenu_layout.h"

namespace {

constexpr uint32_t INK = 0x101010, PANEL = 0xD8D0B8, BAR = 0x3C78C8, PRESSED = 0xA89C80;

const char* const MODE_LABELS[2][3] = {{"日期更改", "热键设定", "游戏说明"},
                                       {"重新游戏", "认输投降", "结束游戏"}};
const char* const TRACK_NAMES[MUSIC_BACKGROUND_COUNT] = {
    "1.携手创奇迹", "2.欢乐好时光", "3.黄金嘉年华", "4.美梦会成真",
    "5.奇幻妙城市", "6.看我的厉害", "7.世界逍遥游", "8.卡尔沃之夜"};
struct WindowLabel {
    const char* text;
    int align;
};
const WindowLabel WINDOW_LABELS[SL_COUNT] = {
    {"游戏速度", ALIGN_RIGHT_MIDDLE}, {"动画过程", ALIGN_RIGHT_MIDDLE},
    {"音 乐", ALIGN_RIGHT_MIDDLE},    {"音 效", ALIGN_RIGHT_MIDDLE},
    {"自动存档", ALIGN_RIGHT_MIDDLE}, {"乐  曲", ALIGN_LEFT_MIDDLE},
    {"视  窗", ALIGN_LEFT_MIDDLE}};
const char* const LAYOUT_LABELS[3] = {"日、月历", "缩小地图", "组合画面"};
const char* const MONTH_NAMES[12] = {"一月", "二月", "三月", "四月", "五月",   "六月",
                                     "七月", "八月", "九月", "十月", "十一月", "十二月"};

struct Window {
    void* set = nullptr;
    ImageRecord* page = nullptr; // the window with its labels, as opened
    int left = 0, top = 0;
    int pressed = -1;
} w;

void fill(ImageRecord* t, int x, int y, int wd, int h, uint32_t rgb) {
    blit_fill_rect(t, x, y, wd, h, rgb);
}
void box(ImageRecord* t, int x, int y, int wd, int h, uint32_t rgb) {
    blit_frame_rect(t, x, y, wd, h, rgb);
}
void label(ImageRecord* t, const char* s, int x, int y, int align, int size = 15,
           uint32_t rgb = INK) {
    text_set_font(size, rgb, rgb, 0, 1);
    text_draw(t, s, x, y, align);
}
void button(ImageRecord* t, int x0, int y0, int x1, int y1, const char* s, bool down) {
    fill(t, x0, y0, x1 - x0, y1 - y0, down ? PRESSED : 0xECE4D0);
    box(t, x0, y0, x1 - x0, y1 - y0, INK);
    label(t, s, (x0 + x1) / 2 + (down ? 1 : 0), (y0 + y1) / 2 + (down ? 1 : 0), ALIGN_CENTRE);
}
bool inside(int x, int y, int x0, int y0, int x1, int y1) {
    return x >= x0 && x < x1 && y >= y0 && y < y1;
}

// A page: the set's frame when there is one, else a plain panel of that size.
ImageRecord* new_page(int frame, int wd, int h, uint32_t face = PANEL) {
    const ImageRecord* f = spr_frame(w.set, frame);
    if (f) {
        wd = f->width;
        h = f->height;
    }
    ImageRecord* p = image_new(wd, h, 0, 0);
    if (!p) return nullptr;
    fill(p, 0, 0, wd, h, face);
    if (f)
        popup_blit(p, f, f->hot_x, f->hot_y, true);
    else {
        box(p, 0, 0, wd, h, INK);
        box(p, 2, 2, wd - 4, h - 4, 0x786850);
    }
    return p;
}

// The window's labels, written once at opening.
void compose_window() {
    ImageRecord* p = w.page = new_page(SYSMENU_FRAME_WINDOW, SYSMENU_WINDOW_W, SYSMENU_WINDOW_H);
    if (!p) return;
    for (int i = 0; i < SL_COUNT; ++i)
        label(p, WINDOW_LABELS[i].text, SYSMENU_LABEL_AT[i].x, SYSMENU_LABEL_AT[i].y,
              WINDOW_LABELS[i].align);
    for (int i = 0; i < 3; ++i) {
        const SysmenuRect& r = sysmenu_spots[SM_LAYOUT_0 + i];
        label(p, LAYOUT_LABELS[i], (r.left + r.right) / 2, (r.top + r.bottom) / 2, ALIGN_CENTRE);
    }
    for (int s : {SM_SPEED, SM_MUSIC_BAR, SM_SOUND_BAR}) {
        const SysmenuRect& r = sysmenu_spots[s];
        box(p, r.left - 1, r.top - 1, r.right - r.left + 2, r.bottom - r.top + 2, INK);
    }
    for (int s = SM_ANIMATIONS; s <= SM_AUTOSAVE; ++s) {
        const SysmenuRect& r = sysmenu_spots[s];
        fill(p, r.left, r.top, r.right - r.left, r.bottom - r.top, 0xF8F8F0);
        box(p, r.left, r.top, r.right - r.left, r.bottom - r.top, INK);
    }
    // The track list's frame goes round its hot spot, which the lit bar fills
    // edge to edge.
    const SysmenuRect& t = sysmenu_spots[SM_TRACKS];
    fill(p, t.left - 1, t.top - 1, t.right - t.left + 2, t.bottom - t.top + 2, 0xF8F8F0);
    box(p, t.left - 1, t.top - 1, t.right - t.left + 2, t.bottom - t.top + 2, INK);
}

void draw_buttons(ImageRecord* back) {
    for (int i = 0; i < 3; ++i) {
        const SysmenuRect& r = sysmenu_spots[SM_BUTTON_0 + i];
        button(back, w.left + r.left, w.top + r.top, w.left + r.right, w.top + r.bottom,
               MODE_LABELS[sysmenu_mode == SYSMENU_GAME][i], w.pressed == SM_BUTTON_0 + i);
    }
    const char* const names[2] = {"取 消", "确 定"};
    for (int i = 0; i < 2; ++i) {
        const SysmenuRect& r = sysmenu_spots[SM_CANCEL + i];
        button(back, w.left + r.left, w.top + r.top, w.left + r.right, w.top + r.bottom, names[i],
               w.pressed == SM_CANCEL + i);
    }
}

void draw_options() {
    ImageRecord* back = popup_lock_back();
    if (back && w.page) {
        const SettingsRecord& c = sysmenu_options_copy;
        const int x = w.left, y = w.top;
        popup_blit(back, w.page, x, y, false);
        const auto segments = [&](int spot, int n) {
            const SysmenuRect& r = sysmenu_spots[spot];
            for (int i = 0; i < n; ++i)
                fill(back, x + r.left + SYSMENU_BAR_STEP * i + 1, y + r.top + 2, SYSMENU_SEGMENT_W,
                     r.bottom - r.top - 4, BAR);
        };
        segments(SM_SPEED, (c.game_speed > 2 ? 2 : c.game_speed) + 1);
        segments(SM_MUSIC_BAR, c.music_level > 4 ? 4 : c.music_level);
        segments(SM_SOUND_BAR, c.sound_level > 4 ? 4 : c.sound_level);
        const auto check = [&](int spot, bool on) {
            const SysmenuRect& r = sysmenu_spots[spot];
            if (on)
                fill(back, x + r.left + 3, y + r.top + 3, r.right - r.left - 6,
                     r.bottom - r.top - 6, INK);
        };
        check(SM_ANIMATIONS, c.animations != 0);
        check(SM_AUTOSAVE, c.autosave != 0);
        check(SM_MUSIC_ON, c.music_level != 0);
        check(SM_SOUND_ON, c.sound_level != 0);
        const SysmenuRect& l =
            sysmenu_spots[SM_LAYOUT_0 + (c.side_panel_layout > 2 ? 2 : c.side_panel_layout)];
        box(back, x + l.left, y + l.top, l.right - l.left, l.bottom - l.top, 0xC02020);
        box(back, x + l.left + 1, y + l.top + 1, l.right - l.left - 2, l.bottom - l.top - 2,
            0xC02020);
        if (music_current & MUSIC_BACKGROUND_BIT) {
            const SysmenuRect& t = sysmenu_spots[SM_TRACKS];
            const int current = music_current & 7;
            for (int i = 0; i < MUSIC_BACKGROUND_COUNT; ++i) {
                const int row_top = y + t.top + SYSMENU_TRACK_ROW_H * i;
                if (i == current)
                    fill(back, x + t.left, row_top, t.right - t.left, SYSMENU_TRACK_BAR_H,
                         0xFF0000);
                label(back, TRACK_NAMES[i], x + t.left + SYSMENU_TRACK_TEXT_DX,
                      row_top + SYSMENU_TRACK_BAR_H / 2, ALIGN_LEFT_MIDDLE, 12,
                      i == current ? 0xFFFFFF : INK);
            }
        }
        draw_buttons(back);
    }
    popup_unlock_back();
    const PlatRect r{w.left, w.top, w.left + SYSMENU_WINDOW_W, w.top + SYSMENU_WINDOW_H};
    plat_invalidate_rect(&r);
}

int32_t paint(PlatWindow win, uint32_t message, uint32_t wparam, int32_t lparam) {
    popup_update(plat_paint_rect());
    return plat_def_window_proc(win, message, wparam, lparam);
}

// ---- the date dialog ----

struct DateDialog {
    ImageRecord* page = nullptr;
    int left = 0, top = 0;
    uint32_t date = 0, today = 0;
    int pressed = -1; // a button of SYSMENU_DATE_BUTTON_RECTS
} dd;

void draw_calendar() {
    ImageRecord* back = popup_lock_back();
    if (back && dd.page) {
        const int x = dd.left, y = dd.top;
        popup_blit(back, dd.page, x, y, false);
        const char* const names[3] = {"系 统", "取 消", "确 定"};
        for (int i = 0; i < SYSMENU_DATE_BUTTONS; ++i) {
            const PlatRect& r = SYSMENU_DATE_BUTTON_RECTS[i];
            if (i >= DATE_TODAY) {
                button(back, x + r.left, y + r.top, x + r.right, y + r.bottom,
                       names[i - DATE_TODAY], dd.pressed == i);
                continue;
            }
            // The arrows: a small triangle, pointing down on the upper button (one
            // less) and up on the lower one.
            button(back, x + r.left, y + r.top, x + r.right, y + r.bottom, "", dd.pressed == i);
            const int cx = x + (r.left + r.right) / 2, cy = y + r.top + 2;
            for (int row = 0; row < 5; ++row) {
                const int half = i % 2 == 0 ? 4 - row : row;
                fill(back, cx - half, cy + row, 2 * half + 1, 1, INK);
            }
        }
        const int month = cal_month(dd.date);
        char year[8];
        std::snprintf(year, sizeof year, "%d", cal_year(dd.date));
        label(back, MONTH_NAMES[(month >= 1 && month <= 12 ? month : 1) - 1],
              x + SYSMENU_DATE_MONTH_X, y + SYSMENU_DATE_TITLE_Y, ALIGN_CENTRE);
        label(back, year, x + SYSMENU_DATE_YEAR_X, y + SYSMENU_DATE_TITLE_Y, ALIGN_CENTRE);
        int first = 0, length = 0;
        cal_weekday(cal_pack(cal_year(dd.date), month, 1), &first, &length);
        for (int day = 1; day <= length; ++day) {
            const int cell = first + day - 1;
            const int cx = x + SYSMENU_DAY_X + SYSMENU_DAY_STEP_X * (cell % SYSMENU_WEEK_DAYS);
            const int cy = y + SYSMENU_DAY_Y + SYSMENU_DAY_STEP_Y * (cell / SYSMENU_WEEK_DAYS);
            const bool chosen = day == cal_day(dd.date);
            if (chosen)
                fill(back, cx - SYSMENU_DAY_HALF_W, cy - SYSMENU_DAY_HALF_H, 2 * SYSMENU_DAY_HALF_W,
                     2 * SYSMENU_DAY_HALF_H, 0x51916C);
            char n[12];
            std::snprintf(n, sizeof n, "%d", day);
            label(back, n, cx, cy, ALIGN_CENTRE, 12, chosen ? 0xFFFFFF : INK);
        }
    }
    popup_unlock_back();
    const PlatRect r{dd.left, dd.top, dd.left + SYSMENU_DATE_W, dd.top + SYSMENU_DATE_H};
    plat_invalidate_rect(&r);
}

int32_t date_wndproc(PlatWindow win, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int x = plat_point_x(lparam) - dd.left, y = plat_point_y(lparam) - dd.top;
    switch (message) {
    case WM_SCREEN_START:
        draw_calendar();
        cursor_set_mode(1);
        return 0;
    case WM_PAINT:
        return paint(win, message, wparam, lparam);
    case WM_LBUTTONDOWN:
        dd.pressed = -1;
        for (int i = 0; i < SYSMENU_DATE_BUTTONS; ++i) {
            const PlatRect& r = SYSMENU_DATE_BUTTON_RECTS[i];
            if (inside(x, y, r.left, r.top, r.right, r.bottom)) dd.pressed = i;
        }
        if (dd.pressed >= 0) {
            snd_effect_play(&ui_effects[UI_PRESS], 0);
        } else if (inside(x, y, SYSMENU_DAY_AREA.left, SYSMENU_DAY_AREA.top, SYSMENU_DAY_AREA.right,
                          SYSMENU_DAY_AREA.bottom)) {
            if (const int day = sysmenu_date_day_at(dd.date, x, y))
                dd.date = cal_pack(cal_year(dd.date), cal_month(dd.date), day);
        }
        draw_calendar();
        return 0;
    case WM_LBUTTONUP: {
        const int p = dd.pressed;
        dd.pressed = -1;
        if (p == SYSMENU_DATE_CANCEL) {
            cursor_set_mode(0);
            screen_close(-1);
            return 0;
        }
        if (p == SYSMENU_DATE_OK) {
            cursor_set_mode(0);
            screen_close(static_cast<int32_t>(dd.date));
            return 0;
        }
        if (p >= 0) dd.date = sysmenu_date_step(dd.date, p, dd.today);
        draw_calendar();
        return 0;
    }
    case WM_RBUTTONUP:
        cursor_set_mode(0);
        screen_close(-1);
        return 0;
    default:
        return plat_def_window_proc(win, message, wparam, lparam);
    }
}

// ---- the hot-key dialog ----

struct HotkeyDialog {
    ImageRecord* page = nullptr;
    int left = 0, top = 0;
    HotkeyEdit edit;
    int pressed = -1; // a slot, or PRESSED_BUTTON + button
    bool blink = false;
} hd;

constexpr int PRESSED_BUTTON = 100;
const char* const HK_BUTTON_NAMES[SKB_COUNT] = {"原始设定", "取 消", "确 定"};

void draw_hotkeys() {
    ImageRecord* back = popup_lock_back();
    if (back && hd.page) {
        const int x = hd.left, y = hd.top;
        popup_blit(back, hd.page, x, y, false);
        for (int s = 0; s < HOTKEY_COUNT; ++s) {
            const int cx = x + sysmenu_key_x(s), cy = y + sysmenu_key_y(s);
            const int text_y = cy + SYSMENU_KEY_TEXT_DY;
            label(back, cfg_hotkey_labels[s], cx - 4, text_y, ALIGN_RIGHT_MIDDLE, 12, 0xE8E8E8);
            if (hd.pressed == s)
                fill(back, cx, cy + 1, SYSMENU_KEY_CELL_W, SYSMENU_KEY_CELL_H, PRESSED);
            if (s == hd.edit.selected && hd.blink)
                fill(back, cx, cy + 1, SYSMENU_KEY_CELL_W, SYSMENU_KEY_CELL_H, 0xF0F0F0);
            label(back, cfg_hotkey_name(hd.edit.keys[s]).c_str(), cx + 2, text_y, ALIGN_LEFT_MIDDLE,
                  12, s < 8 ? 0x00F0F0 : 0xF0F000);
        }
        for (int b = 0; b < SKB_COUNT; ++b) {
            const PlatRect& r = SYSMENU_KEY_BUTTON_RECTS[b];
            button(back, x + r.left, y + r.top, x + r.right, y + r.bottom, HK_BUTTON_NAMES[b],
                   hd.pressed == PRESSED_BUTTON + b);
        }
    }
    popup_unlock_back();
    const PlatRect r{hd.left, hd.top, hd.left + SYSMENU_HOTKEY_W, hd.top + SYSMENU_HOTKEY_H};
    plat_invalidate_rect(&r);
}

void hotkey_close() {
    screen_timer_stop();
    cursor_set_mode(0);
    screen_close(0);
}

int32_t hotkey_wndproc(PlatWindow win, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int x = plat_point_x(lparam) - hd.left, y = plat_point_y(lparam) - hd.top;
    switch (message) {
    case WM_SCREEN_START:
        hotkey_edit_start(hd.edit);
        hd.pressed = -1;
        draw_hotkeys();
        screen_timer_start(250);
        cursor_set_mode(1);
        return 0;
    case WM_PAINT:
        return paint(win, message, wparam, lparam);
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        hd.blink = !hd.blink;
        if (hd.edit.selected >= 0) draw_hotkeys();
        return 0;
    case WM_LBUTTONDOWN: {
        hd.pressed = hotkey_cell_at(x, y);
        static const UiEffect sounds[SKB_COUNT] = {UI_PRESS, UI_CANCEL, UI_CONFIRM};
        for (int b = 0; b < SKB_COUNT && hd.pressed < 0; ++b) {
            const PlatRect& r = SYSMENU_KEY_BUTTON_RECTS[b];
            if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) {
                hd.pressed = PRESSED_BUTTON + b;
                snd_effect_play(&ui_effects[sounds[b]], 0);
            }
        }
        if (hd.pressed >= 0 && hd.pressed < PRESSED_BUTTON)
            snd_effect_play(&ui_effects[UI_PRESS], 0);
        draw_hotkeys();
        return 0;
    }
    case WM_LBUTTONUP: {
        const int p = hd.pressed;
        hd.pressed = -1;
        if (p == PRESSED_BUTTON + SKB_DEFAULTS)
            std::memcpy(hd.edit.keys, cfg_default_hotkeys, sizeof hd.edit.keys);
        if (p == PRESSED_BUTTON + SKB_CANCEL) return hotkey_close(), 0;
        if (p == PRESSED_BUTTON + SKB_OK) {
            hotkey_edit_ok(hd.edit);
            return hotkey_close(), 0;
        }
        if (p >= 0 && p < PRESSED_BUTTON) hotkey_edit_select(hd.edit, p);
        draw_hotkeys();
        return 0;
    }
    case WM_KEYDOWN:
        if (hd.edit.selected >= 0) {
            hotkey_edit_key(hd.edit, wparam & 0xFF);
            draw_hotkeys();
        }
        return 0;
    case WM_RBUTTONUP:
        hotkey_close();
        return 0;
    default:
        return plat_def_window_proc(win, message, wparam, lparam);
    }
}

// ---- the system window ----

void left_up() {
    const int p = w.pressed;
    w.pressed = -1;
    if (p >= SM_BUTTON_0 && p <= SM_BUTTON_2) {
        if (sysmenu_mode == SYSMENU_GAME) {
            draw_options();
            if (decide_confirm(game_active_mover, MODE_LABELS[1][p - SM_BUTTON_0],
                               SYSMENU_CONFIRM_X, SYSMENU_CONFIRM_Y)) {
                cursor_set_mode(0);
                screen_close(p - SM_BUTTON_0 + 1);
            }
            return;
        }
        cursor_set_mode(0);
        if (p == SM_BUTTON_0) sysmenu_date_dialog();
        if (p == SM_BUTTON_1) sysmenu_hotkey_dialog();
        if (p == SM_BUTTON_2) sysmenu_help();
        draw_options();
        cursor_set_mode(1);
        return;
    }
    if (p == SM_CANCEL) {
        cursor_set_mode(0);
        screen_close(0);
        return;
    }
    if (p == SM_OK) {
        const int32_t r = sysmenu_ok();
        cursor_set_mode(0);
        screen_close(r);
        return;
    }
    draw_options();
}

} // namespace

int32_t sysmenu_wndproc(PlatWindow win, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int x = plat_point_x(lparam) - w.left, y = plat_point_y(lparam) - w.top;
    switch (message) {
    case WM_SCREEN_START:
        w.pressed = -1;
        w.left = lparam & 0xFFFF;
        w.top = (lparam >> 16) & 0xFFFF;
        sysmenu_options_copy = settings;
        draw_options();
        cursor_set_mode(1);
        return 0;
    case WM_PAINT:
        return paint(win, message, wparam, lparam);
    case WM_LBUTTONDOWN:
        w.pressed = sysmenu_spot_at(x, y);
        if (w.pressed >= 0) sysmenu_press(w.pressed, x, y);
        draw_options();
        return 0;
    case WM_LBUTTONUP:
        left_up();
        return 0;
    case WM_RBUTTONUP:
        cursor_set_mode(0);
        screen_close(0);
        return 0;
    default:
        return plat_def_window_proc(win, message, wparam, lparam);
    }
}

void sysmenu_date_dialog() {
    dd = DateDialog{};
    dd.page = new_page(SYSMENU_FRAME_DATE, SYSMENU_DATE_W, SYSMENU_DATE_H);
    if (dd.page) label(dd.page, "年", SYSMENU_DATE_YEAR_MARK_X, SYSMENU_DATE_TITLE_Y, ALIGN_CENTRE);
    dd.left = SCREEN_W / 2 - SYSMENU_DATE_W / 2;
    dd.top = SCREEN_H / 2 - SYSMENU_DATE_H / 2;
    dd.today = cfg_today();
    dd.date = sysmenu_options_copy.game_date;
    const PlatRect r{dd.left, dd.top, dd.left + SYSMENU_DATE_W, dd.top + SYSMENU_DATE_H};
    ImageRecord* saved = popup_save_area(r);
    const int32_t d = screen_run(date_wndproc, 0);
    if (saved) popup_restore_area(saved, dd.left, dd.top);
    std::free(dd.page);
    dd = DateDialog{};
    sysmenu_date_apply(d);
}

void sysmenu_hotkey_dialog() {
    hd = HotkeyDialog{};
    hd.page = new_page(SYSMENU_FRAME_HOTKEYS, SYSMENU_HOTKEY_W, SYSMENU_HOTKEY_H, 0x283454);
    hd.left = SCREEN_W / 2 - SYSMENU_HOTKEY_W / 2;
    hd.top = SCREEN_H / 2 - SYSMENU_HOTKEY_H / 2;
    const PlatRect r{hd.left, hd.top, hd.left + SYSMENU_HOTKEY_W, hd.top + SYSMENU_HOTKEY_H};
    ImageRecord* saved = popup_save_area(r);
    screen_run(hotkey_wndproc, 0);
    if (saved) popup_restore_area(saved, hd.left, hd.top);
    std::free(hd.page);
    hd = HotkeyDialog{};
}

int sysmenu_run(int mode) {
    sysmenu_mode = mode;
    shown_record(Shown::Panel, SYSMENU_SET_ENTRY, mode, "system");
    w = Window{};
    w.set = spr_read_set(nullptr, SYSMENU_SET_ENTRY);
    compose_window();
    const int wd = w.page ? w.page->width : SYSMENU_WINDOW_W;
    const int h = w.page ? w.page->height : SYSMENU_WINDOW_H;
    w.left = SCREEN_W / 2 - wd / 2;
    w.top = SCREEN_H / 2 - h / 2;
    const PlatRect r{w.left, w.top, w.left + wd, w.top + h};
    ImageRecord* saved = popup_save_area(r);
    const int32_t result = screen_run(sysmenu_wndproc, (w.top << 16) | w.left);
    if (saved) popup_restore_area(saved, w.left, w.top);
    std::free(w.page);
    spr_free_set(w.set);
    w = Window{};
    sysmenu_perform(result);
    return result;
}

TOOLBAR_COMMAND(
    TOOLBAR_SYSTEM,
    [] {
        sysmenu_run(1);
        return true;
    },
    HK_SYSTEM)
