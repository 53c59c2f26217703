// The load and save lists: six (load) or five (save) rows over the title or
// the running game, each slot's date, map and players' portraits.
#include <cstdio>
#include <cstdlib>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/toolbar.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/message.h"
#include "engine/message_draw.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/wait.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "shell/save.h"
#include "shell/screen.h"

namespace {

constexpr int SAVE_PICTURES_ENTRY = 479; // data.mkf: the lists' panels, map icons, date cell
constexpr int PORTRAITS_ENTRY = 2;       // data.mkf: a portrait per character
constexpr int LOAD_PANEL_X = 40, LOAD_PANEL_Y = 15;
constexpr int SAVE_PANEL_X = 40, SAVE_PANEL_Y = 48;
constexpr int ROW_H = 72;
constexpr int ROWS_LEFT = 130, ROWS_RIGHT = 576;
constexpr uint32_t HIGHLIGHT = 0xFFFF00;
constexpr uint32_t SAVED_PAUSE_MS = 500;
constexpr const char* SAVE_FAILED = "存档失败";
constexpr const char* LOAD_FAILED = "读取存档失败";

struct Lists {
    void* pictures = nullptr;
    void* portraits = nullptr;
    bool loadable[SAVE_SLOTS] = {};
    bool saving = false; // the save list (rows 0..4 are slots 1..5)
    int hovered = -1;    // the row under the pointer, -1 none
} g;

int load_row_top(int slot) {
    return 24 + ROW_H * slot;
}
int save_row_top(int slot) {
    return ROW_H * slot - 15;
}
int row_top(int row) {
    return g.saving ? save_row_top(row + 1) : load_row_top(row);
}

PlatRect frame_rect(int frame, int x, int y) {
    const ImageRecord* f = spr_frame(g.pictures, frame);
    if (!f) return {x, y, x, y};
    return {x - f->hot_x, y - f->hot_y, x - f->hot_x + f->width, y - f->hot_y + f->height};
}

// One slot's row into the back buffer: date cell with the year and day (and
// "AUTO" for the autosave), the map's icon and each player's portrait.
void draw_row(ImageRecord* back, int slot, int top, const SaveSlotHead& head) {
    if (const ImageRecord* cell = spr_frame(g.pictures, 6)) popup_blit(back, cell, 129, top, true);
    text_set_font(16, 0xF0F0F0, 0x101010, 3, 1);
    char line[32];
    if (slot == 0) text_draw(back, "AUTO", 165, top + 15, ALIGN_CENTRE);
    std::snprintf(line, sizeof line, "%d", static_cast<int>(head.date >> 16));
    text_draw(back, line, 165, top + 36, ALIGN_CENTRE);
    std::snprintf(line, sizeof line, "%d/%d", static_cast<int>(head.date >> 8 & 0xFF),
                  static_cast<int>(head.date & 0xFF));
    text_draw(back, line, 165, top + 57, ALIGN_CENTRE);
    if (const ImageRecord* icon = spr_frame(g.pictures, 2 + head.map))
        popup_blit(back, icon, 209, top, true);
    for (int j = 0; j < head.players && j < 4; ++j)
        if (const ImageRecord* face = spr_frame(g.portraits, head.characters[j]))
            popup_blit(back, face, 289 + 72 * j, top, true);
}

// The load list into the back buffer; false (nothing drawn) when no slot loads.
bool draw_load_list() {
    bool any = false;
    for (int slot = 0; slot < SAVE_SLOTS; ++slot) {
        SaveSlotHead head;
        g.loadable[slot] = save_slot_head(slot, &head);
        if (!g.loadable[slot]) continue;
        ImageRecord* back = popup_lock_back();
        if (back && !any)
            if (const ImageRecord* panel = spr_frame(g.pictures, 0))
                popup_blit(back, panel, LOAD_PANEL_X, LOAD_PANEL_Y, true);
        any = true;
        if (back) draw_row(back, slot, load_row_top(slot), head);
        popup_unlock_back();
    }
    return any;
}

PlatRect highlight_rect(int row) {
    const int top = row_top(row);
    return {127, top - 2, 579, top + 74};
}

// The old highlight goes by copying its rectangle from the back buffer.
void remove_highlight() {
    if (g.hovered < 0) return;
    popup_update(highlight_rect(g.hovered));
}

void outline(uint16_t* px, int pp, int x, int y, int w, int h, uint16_t c) {
    for (int i = 0; i < w; ++i)
        px[y * pp + x + i] = px[(y + h - 1) * pp + x + i] = c;
    for (int j = 0; j < h; ++j)
        px[(y + j) * pp + x] = px[(y + j) * pp + x + w - 1] = c;
}

// The new highlight straight onto the display: two yellow outlines.
void draw_highlight(int row) {
    if (!primary_surface) return;
    const PlatRect r = highlight_rect(row);
    cursor_hide(&r);
    int32_t pitch = 0;
    if (uint16_t* px = plat_surface_lock(primary_surface, &pitch)) {
        const uint16_t c = gfx_rgb_to_pixel(HIGHLIGHT);
        outline(px, pitch / 2, 127, r.top, 452, 76, c);
        outline(px, pitch / 2, 128, r.top + 1, 450, 74, c);
        plat_surface_unlock(primary_surface);
    }
    cursor_show(&r);
}

int row_at(int x, int y) {
    if (x < ROWS_LEFT || x > ROWS_RIGHT) return -1;
    if (g.saving) return y >= 58 && y <= 416 ? (y - 57) / ROW_H : -1;
    return y >= 25 && y <= 455 ? (y - 24) / ROW_H : -1;
}

void mouse_move(int x, int y) {
    const int row = row_at(x, y);
    if (row == g.hovered) return;
    if (row < 0) {
        remove_highlight();
        g.hovered = -1;
        return;
    }
    snd_effect_play(&ui_effects[UI_HOVER], 0);
    remove_highlight();
    g.hovered = row;
    draw_highlight(row);
}

void pick() {
    if (g.hovered < 0) return;
    if (!g.saving) {
        if (!g.loadable[g.hovered]) return;
        snd_effect_play(&ui_effects[UI_CONFIRM], 0);
        cursor_set_mode(0);
        screen_close(g.hovered);
        return;
    }
    snd_effect_play(&ui_effects[UI_CONFIRM], 0);
    cursor_set_mode(0);
    std::string error;
    if (!save_write_slot(g.hovered + 1, &error)) {
        std::fprintf(stderr, "karvo: cannot save the game: %s\n", error.c_str());
        msg_show(SAVE_FAILED, MSG_STANDARD_MS);
    }
    save_draw_slots();
    popup_update({0, 0, SCREEN_W, SCREEN_H});
    screen_close(g.hovered);
}

int32_t list_wndproc(PlatWindow w, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        g.hovered = -1;
        cursor_set_mode(1);
        if (g.saving) save_draw_slots();
        plat_invalidate_rect(nullptr);
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(w, message, wparam, lparam);
    case WM_MOUSEMOVE:
        mouse_move(plat_point_x(lparam), plat_point_y(lparam));
        return 0;
    case WM_LBUTTONDOWN:
        pick();
        return 0;
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        cursor_set_mode(0);
        screen_close(-1);
        return 0;
    default:
        return plat_def_window_proc(w, message, wparam, lparam);
    }
}

void read_pictures() {
    g = Lists{};
    g.pictures = spr_read_set(nullptr, SAVE_PICTURES_ENTRY);
    g.portraits = spr_read_set(nullptr, PORTRAITS_ENTRY);
}

void free_pictures() {
    spr_free_set(g.pictures);
    spr_free_set(g.portraits);
}

} // namespace

int32_t save_load_wndproc(PlatWindow w, uint32_t message, uint32_t wparam, int32_t lparam) {
    return list_wndproc(w, message, wparam, lparam);
}
int32_t save_save_wndproc(PlatWindow w, uint32_t message, uint32_t wparam, int32_t lparam) {
    return list_wndproc(w, message, wparam, lparam);
}

int save_load_screen(int over_game) {
    read_pictures();
    ImageRecord* saved =
        over_game ? image_save_screen_rect(frame_rect(0, LOAD_PANEL_X, LOAD_PANEL_Y)) : nullptr;
    int result = -1;
    if (draw_load_list()) {
        shown_record(Shown::Panel, SAVE_PICTURES_ENTRY, 0, "load list");
        const int slot = screen_run(save_load_wndproc, 0);
        if (!plat_close_requested() && slot >= 0 && slot < SAVE_SLOTS && g.loadable[slot]) {
            result = save_read_slot(slot) == 1 ? 1 : -1;
            // A refused read loads nothing: the caller goes on as after a cancel.
            if (result == -1) msg_show(LOAD_FAILED, MSG_STANDARD_MS);
        }
    }
    if (over_game) {
        if (result == -1) {
            image_restore_screen_rect(saved, LOAD_PANEL_X, LOAD_PANEL_Y);
        } else {
            std::free(saved);
            board_repaint(1);
            if (music_day_countdown) {
                music_day_countdown = 0;
                music_close_midi();
            }
            music_next_background(0);
        }
    }
    free_pictures();
    return result;
}

void save_save_screen() {
    read_pictures();
    g.saving = true;
    ImageRecord* saved = image_save_screen_rect(frame_rect(1, SAVE_PANEL_X, SAVE_PANEL_Y));
    shown_record(Shown::Panel, SAVE_PICTURES_ENTRY, 1, "save list");
    const int row = screen_run(save_save_wndproc, 0);
    if (row != -1 && !plat_close_requested()) wait_ms(SAVED_PAUSE_MS);
    image_restore_screen_rect(saved, SAVE_PANEL_X, SAVE_PANEL_Y);
    free_pictures();
}

void save_draw_slots() {
    ImageRecord* back = popup_lock_back();
    if (back) {
        if (const ImageRecord* panel = spr_frame(g.pictures, 1))
            popup_blit(back, panel, SAVE_PANEL_X, SAVE_PANEL_Y, true);
        for (int slot = 1; slot < SAVE_SLOTS; ++slot) {
            SaveSlotHead head;
            if (save_slot_head(slot, &head)) draw_row(back, slot, save_row_top(slot), head);
        }
    }
    popup_unlock_back();
}

TOOLBAR_COMMAND(
    TOOLBAR_SAVE,
    [] {
        save_save_screen();
        return true;
    },
    HK_SAVE)
