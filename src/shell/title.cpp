#include "shell/title.h"

#include <cstdlib>

#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/message_draw.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/sysmenu.h"
#include "shell/title_layout.h"

namespace {

enum TitleButton : int { NEW_GAME = 0, LOAD_GAME = 1, OPTIONS = 2, EXIT = 3 };

struct Title {
    void* set = nullptr;
    ImageRecord* background = nullptr; // frame 0 with the plain buttons and the version
    int hovered = -1;
} t;

const ImageRecord* lit_picture(int b) {
    return spr_frame(t.set, 2 * b + 2);
}

// Without the pictures a button is a plain labelled box of this size.
constexpr int PLAIN_W = 124, PLAIN_H = 40;
const char* const LABELS[TITLE_BUTTON_COUNT] = {"新的游戏", "载入进度", "游戏设定", "离开游戏"};

PlatRect button_rect(int b) {
    const ImageRecord* f = lit_picture(b);
    if (!f)
        return {TITLE_BUTTON_X[b] - PLAIN_W / 2, TITLE_BUTTON_Y[b] - PLAIN_H / 2,
                TITLE_BUTTON_X[b] + PLAIN_W / 2, TITLE_BUTTON_Y[b] + PLAIN_H / 2};
    const int left = TITLE_BUTTON_X[b] - f->hot_x, top = TITLE_BUTTON_Y[b] - f->hot_y;
    return {left, top, left + f->width, top + f->height};
}

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void plain_button(ImageRecord* target, int b, bool lit) {
    const PlatRect r = button_rect(b);
    blit_fill_rect(target, r.left, r.top, PLAIN_W, PLAIN_H, lit ? 0xF0D050 : 0xC8C8DC);
    blit_frame_rect(target, r.left, r.top, PLAIN_W, PLAIN_H, 0x181818);
    text_set_font(18, 0x181818, 0x181818, 0, 1);
    text_draw(target, LABELS[b], TITLE_BUTTON_X[b], TITLE_BUTTON_Y[b], ALIGN_CENTRE);
}

void compose_background() {
    t.background = image_new(SCREEN_W, SCREEN_H, 0, 0);
    if (!t.background) return;
    blit_fill_rect(t.background, 0, 0, SCREEN_W, SCREEN_H, 0);
    if (const ImageRecord* f = spr_frame(t.set, 0)) blit_to_image(t.background, f, 0, 0);
    for (int b = 0; b < TITLE_BUTTON_COUNT; ++b)
        if (const ImageRecord* f = spr_frame(t.set, 2 * b + 1))
            blit_key_to_image(t.background, f, TITLE_BUTTON_X[b], TITLE_BUTTON_Y[b]);
        else
            plain_button(t.background, b, false);
    text_set_font(16, 0xF0F0F0, 0x101010, TEXT_SHADOW | TEXT_BOLD, 1);
    text_draw(t.background, "V2.06", 638, 470, ALIGN_RIGHT_MIDDLE);
}

void background_to_back() {
    ImageRecord* back = popup_lock_back();
    if (back && t.background) popup_blit(back, t.background, 0, 0, false);
    popup_unlock_back();
}

void restore_button(int b) {
    const PlatRect r = button_rect(b);
    ImageRecord* back = popup_lock_back();
    if (back && t.background)
        popup_blit_part(back, t.background, r.left, r.top, r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
    popup_unlock_back();
    plat_invalidate_rect(&r);
}

void light_button(int b) {
    const PlatRect r = button_rect(b);
    ImageRecord* back = popup_lock_back();
    if (back && lit_picture(b))
        popup_blit(back, lit_picture(b), TITLE_BUTTON_X[b], TITLE_BUTTON_Y[b], true);
    else if (back)
        plain_button(back, b, true);
    popup_unlock_back();
    plat_invalidate_rect(&r);
}

// The button under (x, y) lit, the one left put back; moving onto a
// button sounds.
void hover_at(int x, int y, bool moved) {
    int now = -1;
    for (int b = 0; b < TITLE_BUTTON_COUNT && now < 0; ++b)
        if (inside(button_rect(b), x, y)) now = b;
    if (now == t.hovered) return;
    const int before = t.hovered;
    t.hovered = now;
    if (now >= 0) {
        light_button(now);
        if (moved) snd_effect_play(&ui_effects[UI_HOVER], 0);
    }
    if (before >= 0) restore_button(before);
}

// The plain title, with the button the pointer already rests on lit at
// once, so that a click there works before the mouse moves.
void title_shown() {
    t.hovered = -1;
    background_to_back();
    plat_invalidate_rect(nullptr);
    cursor_set_mode(1);
    int x = 0, y = 0;
    plat_get_cursor_pos(&x, &y);
    hover_at(x, y, false);
}

void left_down() {
    if (t.hovered < 0) return;
    snd_effect_play(&ui_effects[UI_PRESS], 0);
    switch (t.hovered) {
    case NEW_GAME:
        cursor_set_mode(0);
        screen_close(0);
        break;
    case LOAD_GAME:
        cursor_set_mode(0);
        // Only a slot actually read counts: a refused or failed read leaves
        // no game to go on with.
        if (app_services.save_load_screen(0) > 0)
            screen_close(1);
        else
            title_shown();
        break;
    case OPTIONS:
        cursor_set_mode(0);
        sysmenu_run(0);
        title_shown();
        break;
    case EXIT:
        cursor_set_mode(0);
        screen_close(3);
        break;
    default:
        break;
    }
}

} // namespace

int32_t title_wndproc(PlatWindow w, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        title_shown();
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(w, message, wparam, lparam);
    case WM_MOUSEMOVE:
        hover_at(plat_point_x(lparam), plat_point_y(lparam), true);
        return 0;
    case WM_LBUTTONDOWN:
        left_down();
        return 0;
    default:
        return plat_def_window_proc(w, message, wparam, lparam);
    }
}

int title_run() {
    shown_record(Shown::Panel, TITLE_SET_ENTRY, 0, "title");
    t = Title{};
    t.set = spr_read_set(nullptr, TITLE_SET_ENTRY);
    compose_background();
    music_play_event(0);
    const int r = screen_run(title_wndproc, 0);
    music_close_midi();
    std::free(t.background);
    spr_free_set(t.set);
    t = Title{};
    return r;
}
