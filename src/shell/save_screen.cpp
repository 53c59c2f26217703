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
#include "shell/save_layout.h"
#include "shell/screen.h"

namespace {

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

int row_top(int row) {
    return g.saving ? save_list_save_row_top(row + 1) : save_list_load_row_top(row);
}

PlatRect frame_rect(int frame, int x, int y) {
    const ImageRecord* f = spr_frame(g.pictures, frame);
    if (!f) return {x, y, x, y};
    return {x - f->hot_x, y - f->hot_y, x - f->hot_x + f->width, y - f->hot_y + f->height};
}

// One slot's row into the back buffer: date cell with the year and day (and
// "AUTO" for the autosave), the map's icon and each player's portrait.
void draw_row(ImageRecord* back, int slot, int top, const SaveSlotHead& head) {
    if (const ImageRecord* cell = spr_frame(g.pictures, SAVE_LIST_FRAME_DATE_CELL))
        popup_blit(back, cell, SAVE_LIST_DATE_CELL_X, top, true);
    text_set_font(16, 0xF0F0F0, 0x101010, 3, 1);
    char line[32];
    if (slot == 0)
        text_draw(back, "AUTO", SAVE_LIST_DATE_TEXT_X, top + SAVE_LIST_AUTO_DY, ALIGN_CENTRE);
    std::snprintf(line, sizeof line, "%d", static_cast<int>(head.date >> 16));
    text_draw(back, line, SAVE_LIST_DATE_TEXT_X, top + SAVE_LIST_YEAR_DY, ALIGN_CENTRE);
    std::snprintf(line, sizeof line, "%d/%d", static_cast<int>(head.date >> 8 & 0xFF),
                  static_cast<int>(head.date & 0xFF));
    text_draw(back, line, SAVE_LIST_DATE_TEXT_X, top + SAVE_LIST_DAY_DY, ALIGN_CENTRE);
    if (const ImageRecord* icon = spr_frame(g.pictures, SAVE_LIST_FRAME_MAP_ICON + head.map))
        popup_blit(back, icon, SAVE_LIST_MAP_ICON_X, top, true);
    for (int j = 0; j < head.players && j < 4; ++j)
        if (const ImageRecord* face = spr_frame(g.portraits, head.characters[j]))
            popup_blit(back, face, SAVE_LIST_PORTRAIT_X + SAVE_LIST_PORTRAIT_STEP * j, top, true);
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
            if (const ImageRecord* panel = spr_frame(g.pictures, SAVE_LIST_FRAME_LOAD_PANEL))
                popup_blit(back, panel, SAVE_LIST_LOAD_PANEL_X, SAVE_LIST_LOAD_PANEL_Y, true);
        any = true;
        if (back) draw_row(back, slot, save_list_load_row_top(slot), head);
        popup_unlock_back();
    }
    return any;
}

PlatRect highlight_rect(int row) {
    return save_list_highlight(row_top(row));
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
        const uint16_t c = gfx_rgb_to_pixel(SAVE_LIST_HIGHLIGHT_RGB);
        const int w = r.right - r.left, h = r.bottom - r.top;
        outline(px, pitch / 2, r.left, r.top, w, h, c);
        outline(px, pitch / 2, r.left + 1, r.top + 1, w - 2, h - 2, c);
        plat_surface_unlock(primary_surface);
    }
    cursor_show(&r);
}

int row_at(int x, int y) {
    if (x < SAVE_LIST_HIT_LEFT || x > SAVE_LIST_HIT_RIGHT) return -1;
    const int first = g.saving ? SAVE_LIST_SAVE_TOP : SAVE_LIST_LOAD_TOP;
    const int rows = g.saving ? SAVE_LIST_SAVE_ROWS : SAVE_LIST_LOAD_ROWS;
    return y > first && y < first + SAVE_LIST_ROW_H * rows ? (y - first) / SAVE_LIST_ROW_H : -1;
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
    g.pictures = spr_read_set(nullptr, SAVE_LIST_SET_ENTRY);
    g.portraits = spr_read_set(nullptr, SAVE_LIST_PORTRAITS_ENTRY);
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
        over_game ? image_save_screen_rect(frame_rect(
                        SAVE_LIST_FRAME_LOAD_PANEL, SAVE_LIST_LOAD_PANEL_X, SAVE_LIST_LOAD_PANEL_Y))
                  : nullptr;
    int result = -1;
    if (draw_load_list()) {
        shown_record(Shown::Panel, SAVE_LIST_SET_ENTRY, SAVE_LIST_FRAME_LOAD_PANEL, "load list");
        const int slot = screen_run(save_load_wndproc, 0);
        if (!plat_close_requested() && slot >= 0 && slot < SAVE_SLOTS && g.loadable[slot]) {
            result = save_read_slot(slot) == 1 ? 1 : -1;
            // A refused read loads nothing: the caller goes on as after a cancel.
            if (result == -1) msg_show(LOAD_FAILED, MSG_STANDARD_MS);
        }
    }
    if (over_game) {
        if (result == -1) {
            image_restore_screen_rect(saved, SAVE_LIST_LOAD_PANEL_X, SAVE_LIST_LOAD_PANEL_Y);
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
    ImageRecord* saved = image_save_screen_rect(
        frame_rect(SAVE_LIST_FRAME_SAVE_PANEL, SAVE_LIST_SAVE_PANEL_X, SAVE_LIST_SAVE_PANEL_Y));
    shown_record(Shown::Panel, SAVE_LIST_SET_ENTRY, SAVE_LIST_FRAME_SAVE_PANEL, "save list");
    const int row = screen_run(save_save_wndproc, 0);
    if (row != -1 && !plat_close_requested()) wait_ms(SAVED_PAUSE_MS);
    image_restore_screen_rect(saved, SAVE_LIST_SAVE_PANEL_X, SAVE_LIST_SAVE_PANEL_Y);
    free_pictures();
}

void save_draw_slots() {
    ImageRecord* back = popup_lock_back();
    if (back) {
        if (const ImageRecord* panel = spr_frame(g.pictures, SAVE_LIST_FRAME_SAVE_PANEL))
            popup_blit(back, panel, SAVE_LIST_SAVE_PANEL_X, SAVE_LIST_SAVE_PANEL_Y, true);
        for (int slot = 1; slot < SAVE_SLOTS; ++slot) {
            SaveSlotHead head;
            if (save_slot_head(slot, &head))
                draw_row(back, slot, save_list_save_row_top(slot), head);
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
