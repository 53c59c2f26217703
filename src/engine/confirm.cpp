#include "engine/confirm.h"

#include <cstdlib>

#include "engine/cursor.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"
#include "platform/keys.h"
#include "platform/queue.h"

namespace {

constexpr int CONFIRM_ENTRY = 399;

struct ConfirmState {
    void* set;
    PlatRect rect;
    int half;
    uint32_t chord;
} g;

void draw_form(int frame) {
    ImageRecord* back = popup_lock_back();
    const ImageRecord* f = popup_frame(g.set, frame);
    if (back && f) {
        // The lit forms are drawn at the pop-up's place whatever their hot spot.
        popup_blit_part(back, f, g.rect.left, g.rect.top, 0, 0, f->width, f->height);
    }
    popup_unlock_back();
    plat_invalidate_rect(&g.rect);
}

void answer(int yes, bool sound) {
    cursor_set_mode(0);
    if (sound) snd_effect_play(&ui_effects[yes ? UI_CONFIRM : UI_CANCEL], 0);
    screen_close(yes);
}

int32_t confirm_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        g.half = 0;
        g.chord = 0;
        plat_set_cursor_pos(g.rect.left + 22, g.rect.top + 22);
        cursor_set_mode(1);
        plat_invalidate_rect(&g.rect);
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    case WM_MOUSEMOVE:
        if (mx >= g.rect.left && mx < g.rect.right && my >= g.rect.top && my < g.rect.bottom) {
            const int half = confirm_half(mx, g.rect.left, g.rect.right - g.rect.left);
            if (half != g.half) {
                g.half = half;
                snd_effect_play(&ui_effects[UI_HOVER], 0);
                draw_form(half);
            }
        } else if (g.half) {
            g.half = 0;
            draw_form(0);
        }
        return 0;
    case WM_LBUTTONUP:
        if (g.half) {
            const int yes = g.half == 1;
            draw_form(0);
            answer(yes, true);
        }
        return 0;
    case WM_KEYDOWN:
        g.chord = confirm_chord(g.chord, wparam);
        if (g.chord == settings_hotkey(HK_YES))
            answer(1, true);
        else if (g.chord == settings_hotkey(HK_NO))
            answer(0, true);
        return 0;
    case WM_KEYUP:
        g.chord = 0;
        return 0;
    case WM_RBUTTONUP:
        answer(0, true);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

} // namespace

int confirm_half(int mouse_x, int left, int width) {
    const int half_w = width / 2;
    if (half_w <= 0) return 1;
    const int half = (mouse_x - left) / half_w + 1;
    return half > 2 ? 2 : half;
}

uint32_t confirm_chord(uint32_t chord, uint32_t vk) {
    return chord | (vk == VK_CONTROL ? 0x1100u : vk);
}

int confirm_ask(int x, int y) {
    shown_record(Shown::Question, 1, 0, nullptr);
    return confirm_run(x, y);
}

int confirm_run(int x, int y) {
    if (!popup_lock_back()) return 0; // no display
    popup_unlock_back();
    const uint8_t mode = cursor_get_mode();
    if (mode == 1) cursor_set_mode(0);
    g = ConfirmState{};
    g.set = spr_read_set(nullptr, CONFIRM_ENTRY);
    const ImageRecord* plain = popup_frame(g.set, 0);
    int result = 0;
    if (plain && popup_frame(g.set, 1) && popup_frame(g.set, 2)) {
        g.rect.left = x - (plain->width >> 1);
        g.rect.top = y - (plain->height >> 1);
        g.rect.right = g.rect.left + plain->width;
        g.rect.bottom = g.rect.top + plain->height;
        ImageRecord* saved = popup_save_area(g.rect);
        draw_form(0);
        result = screen_run(confirm_proc, 0);
        popup_restore_area(saved, g.rect.left < 0 ? 0 : g.rect.left,
                           g.rect.top < 0 ? 0 : g.rect.top);
    }
    spr_free_set(g.set);
    if (mode == 1) cursor_set_mode(1);
    return result;
}
