#include "engine/numpad.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/cursor.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"
#include "platform/keys.h"
#include "platform/queue.h"

const uint8_t numpad_slider_steps[NUMPAD_STEPS] = {3,  6,  9,  12, 15, 19, 22, 25,  28,  31, 34, 38,
                                                   41, 44, 47, 50, 53, 57, 60, 63,  66,  69, 73, 76,
                                                   79, 82, 85, 88, 92, 95, 98, 101, 104, 107};
const NumpadRect numpad_button_rects[16] = {
    {0, 0, 0, 0},      {0, 0, 0, 0},      {8, 63, 58, 25},   {64, 63, 57, 25},
    {8, 95, 33, 17},   {48, 95, 33, 17},  {88, 95, 33, 17},  {8, 119, 33, 17},
    {48, 119, 33, 17}, {88, 119, 33, 17}, {8, 143, 33, 17},  {48, 143, 33, 17},
    {88, 143, 33, 17}, {8, 167, 33, 17},  {48, 167, 33, 17}, {88, 167, 33, 17},
};
NumpadState numpad_state{};
uint8_t numpad_open = 0;

namespace {

NumpadState& np = numpad_state;

constexpr int PAD_START_X = 256, PAD_START_Y = 144;
constexpr int BAR_X = 10, BAR_Y = 42, BAR_H = 12;
constexpr int VALUE_RIGHT = 107, VALUE_Y = 11, GLYPH_STEP = 12;
constexpr int FRAME_PAD = 0, FRAME_BAR = 1, FRAME_GLYPH_BASE = 16 - '0';
constexpr int CURSOR_PAD = 27, CURSOR_NORMAL = 41;
constexpr int PANEL_PAD_ENTRY = 21, PANEL_ID_MAP_ENTRY = 22;
constexpr int BOARD_CLICK = 1; // board_effects element

// The digit a button id stands for, or -1.
int button_digit(int id) {
    if (id == NUMPAD_DIGIT0) return 0;
    if (id >= 7 && id <= 15) return (id <= 9) ? id : (id <= 12 ? id - 6 : id - 12);
    return -1;
}

int32_t value_of(const char* text) {
    return static_cast<int32_t>(std::strtol(text, nullptr, 10));
}

void set_value(char* text, int32_t v) {
    std::snprintf(text, NUMPAD_DIGITS + 1, "%d", static_cast<int>(v));
}

PlatRect pad_rect() {
    return {np.x, np.y, np.x + NUMPAD_W, np.y + NUMPAD_H};
}

void invalidate(const PlatRect& r) {
    plat_invalidate_rect(&r);
}

void click() {
    snd_board_effect_play(BOARD_CLICK, 0);
}

// The pad picture at its place, taken as the clean copy.
void draw_pad(ImageRecord* back) {
    popup_blit(back, popup_frame(np.pad_set, FRAME_PAD), np.x, np.y, true);
    std::free(np.clean);
    np.clean = image_copy_rect(back, nullptr, np.x, np.y, NUMPAD_W, NUMPAD_H);
}

void draw_value(ImageRecord* back) {
    if (!back || !np.clean) return;
    // The digits' row and the bar from the clean copy, then the digits.
    popup_blit_part(back, np.clean, np.x + VALUE_Y, np.y + VALUE_Y, VALUE_Y, VALUE_Y,
                    NUMPAD_W - VALUE_Y, BAR_Y - VALUE_Y);
    const int n = static_cast<int>(std::strlen(np.value));
    for (int i = 0; i < n; ++i) {
        const int gx = np.x + VALUE_RIGHT - GLYPH_STEP * (n - 1 - i);
        popup_blit(back, popup_frame(np.pad_set, FRAME_GLYPH_BASE + np.value[i]), gx,
                   np.y + VALUE_Y, true);
    }
    popup_blit(back, popup_frame(np.pad_set, FRAME_BAR), np.x + BAR_X, np.y + BAR_Y, false);
    const int32_t v = value_of(np.value);
    if (v != 0)
        popup_blit_part(back, np.clean, np.x + BAR_X, np.y + BAR_Y, BAR_X, BAR_Y,
                        numpad_bar_width(v, np.max), BAR_H);
    invalidate({np.x + 11, np.y + 11, np.x + 117, np.y + 54});
}

void redraw_value() {
    ImageRecord* back = popup_lock_back();
    draw_value(back);
    popup_unlock_back();
}

// A button's look: pressed (its frame of the pad set) or as on the clean copy.
void draw_button(int id, bool pressed) {
    if (id < NUMPAD_MAXIMUM || id > 15) return;
    const NumpadRect& r = numpad_button_rects[id];
    ImageRecord* back = popup_lock_back();
    if (pressed) {
        const ImageRecord* f = popup_frame(np.pad_set, id);
        if (f) popup_blit_part(back, f, np.x + r.x, np.y + r.y, 0, 0, r.w, r.h);
    } else if (np.clean) {
        popup_blit_part(back, np.clean, np.x + r.x, np.y + r.y, r.x, r.y, r.w, r.h);
    }
    popup_unlock_back();
    invalidate({np.x + r.x, np.y + r.y, np.x + r.x + r.w, np.y + r.y + r.h});
}

int id_at(int mx, int my) {
    const int px = mx - np.x, py = my - np.y;
    if (!np.id_map || px < 0 || py < 0 || px >= NUMPAD_W || py >= NUMPAD_H) return 0;
    return np.id_map[py * NUMPAD_W + px];
}

void slide_to(int mx, int my) {
    if (id_at(mx, my) != NUMPAD_SLIDER) return;
    click();
    const int32_t v = numpad_slider_value(mx - np.x - BAR_X, np.max);
    if (v < 0) return;
    set_value(np.value, v);
    redraw_value();
}

void drag_to(int mx, int my) {
    const PlatRect old = pad_rect();
    int nx = 0, ny = 0;
    numpad_drag_position(mx, my, np.grab_x, np.grab_y, &nx, &ny);
    if (nx == np.x && ny == np.y) return;
    popup_restore_area(np.saved, np.x, np.y);
    np.x = nx;
    np.y = ny;
    np.saved = popup_save_area(pad_rect());
    ImageRecord* back = popup_lock_back();
    draw_pad(back);
    draw_value(back);
    popup_unlock_back();
    const PlatRect now = pad_rect();
    invalidate({std::min(old.left, now.left), std::min(old.top, now.top),
                std::max(old.right, now.right), std::max(old.bottom, now.bottom)});
}

void finish(int32_t result) {
    cursor_set_mode(0);
    cursor_set_shape(CURSOR_NORMAL, 1, 0);
    screen_close(result);
}

int32_t numpad_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START: {
        set_value(np.value, 0);
        ImageRecord* back = popup_lock_back();
        draw_pad(back);
        draw_value(back);
        popup_unlock_back();
        cursor_set_shape(CURSOR_PAD, 1, 0);
        cursor_set_mode(1);
        invalidate(pad_rect());
        return 0;
    }
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    case WM_LBUTTONDOWN: {
        const int id = id_at(mx, my);
        if (id == 0) return 0;
        if (id == NUMPAD_DRAG) {
            np.dragging = 1;
            np.grab_x = mx - np.x;
            np.grab_y = my - np.y;
        } else if (id == NUMPAD_SLIDER) {
            np.sliding = 1;
            slide_to(mx, my);
        } else {
            click();
            np.pressed = id;
            draw_button(id, true);
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (const int id = numpad_key_button(wparam)) {
            np.pressed = id;
            click();
            int x = 0, y = 0;
            plat_get_cursor_pos(&x, &y);
            plat_post_message(WM_LBUTTONUP, 0, plat_pack_point(x, y));
        } else {
            np.pressed = 0;
        }
        return 0;
    case WM_MOUSEMOVE:
        if (np.dragging)
            drag_to(mx, my);
        else if (np.sliding)
            slide_to(mx, my);
        return 0;
    case WM_LBUTTONUP: {
        np.dragging = 0;
        np.sliding = 0;
        const int id = np.pressed;
        np.pressed = 0;
        if (id < NUMPAD_MAXIMUM || id > 15) return 0;
        draw_button(id, false);
        if (id == NUMPAD_OK) {
            finish(value_of(np.value));
            return 0;
        }
        numpad_apply(np.value, id, np.max);
        redraw_value();
        return 0;
    }
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        finish(0);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

void free_pictures() {
    spr_free_set(np.pad_set);
    std::free(np.id_map);
    std::free(np.clean);
    np.pad_set = nullptr;
    np.id_map = nullptr;
    np.clean = nullptr;
}

} // namespace

void numpad_apply(char* value, int id, int32_t max) {
    max = std::clamp(max, 0, NUMPAD_MAX);
    const size_t len = std::strlen(value);
    if (id == NUMPAD_MAXIMUM) {
        set_value(value, max);
    } else if (id == NUMPAD_CLEAR) {
        set_value(value, 0);
    } else if (id == NUMPAD_BACKSPACE) {
        if (len <= 1)
            set_value(value, 0);
        else
            value[len - 1] = '\0';
    } else if (const int d = button_digit(id); d >= 0) {
        if (len >= NUMPAD_DIGITS) return;
        if (len == 1 && value[0] == '0') {
            value[0] = static_cast<char>('0' + d);
        } else {
            value[len] = static_cast<char>('0' + d);
            value[len + 1] = '\0';
        }
        if (value_of(value) > max) set_value(value, max);
    }
}

int32_t numpad_slider_value(int p, int32_t max) {
    max = std::clamp(max, 0, NUMPAD_MAX);
    if (p < 1) return 0;
    for (int i = 0; i < NUMPAD_STEPS; ++i)
        if (numpad_slider_steps[i] >= p) return static_cast<int32_t>(int64_t{max} * i / 33);
    return -1;
}

int numpad_bar_width(int32_t value, int32_t max) {
    if (max <= 0 || value <= 0) return 0;
    const int64_t step = std::min<int64_t>(int64_t{value} * 33 / max, NUMPAD_STEPS - 1);
    return numpad_slider_steps[step];
}

int numpad_key_button(uint32_t vk) {
    switch (vk) {
    case VK_BACK:
        return NUMPAD_BACKSPACE;
    case VK_RETURN:
        return NUMPAD_OK;
    case '0':
        return NUMPAD_DIGIT0;
    case 'C':
        return NUMPAD_CLEAR;
    case 'M':
        return NUMPAD_MAXIMUM;
    case 'H':
        return NUMPAD_SLIDER;
    default:
        break;
    }
    if (vk >= '1' && vk <= '3') return static_cast<int>(13 + vk - '1');
    if (vk >= '4' && vk <= '6') return static_cast<int>(10 + vk - '4');
    if (vk >= '7' && vk <= '9') return static_cast<int>(7 + vk - '7');
    return 0;
}

void numpad_drag_position(int mx, int my, int gx, int gy, int* x, int* y) {
    *x = std::clamp(mx - gx, 0, 640 - NUMPAD_W);
    *y = std::clamp(my - gy, 0, 480 - NUMPAD_H);
}

int32_t numpad_input(int32_t max) {
    shown_record(Shown::Panel, PANEL_PAD_ENTRY, 0, nullptr);
    if (!popup_lock_back()) return 0; // no display
    popup_unlock_back();
    const uint8_t mode = cursor_get_mode();
    if (mode == 1) cursor_set_mode(0);
    numpad_open = 1;
    np = NumpadState{};
    const int panel = mkf_open("PANEL.MKF");
    uint32_t map_size = 0;
    np.pad_set = spr_read_set_from(panel, PANEL_PAD_ENTRY);
    np.id_map = static_cast<uint8_t*>(mkf_read(panel, PANEL_ID_MAP_ENTRY, nullptr, &map_size));
    mkf_close(panel);
    int32_t result = 0;
    if (np.pad_set && spr_frame(np.pad_set, FRAME_PAD) && np.id_map &&
        map_size >= uint32_t{NUMPAD_W} * NUMPAD_H) {
        np.x = PAD_START_X;
        np.y = PAD_START_Y;
        np.max = std::clamp(max, 0, NUMPAD_MAX);
        np.saved = popup_save_area(pad_rect());
        result = screen_run(numpad_proc, 0);
        popup_restore_area(np.saved, np.x, np.y);
        np.saved = nullptr;
    }
    free_pictures();
    if (mode == 1) cursor_set_mode(1);
    numpad_open = 0;
    return std::clamp(result, 0, np.max);
}
