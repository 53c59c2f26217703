#include "cards/card_screen.h"

#include <cstdio>
#include <cstdlib>

#include "board/toolbar.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/wait.h"

std::array<uint8_t, ITEM_MENU_CELLS> item_menu_cells{};

namespace {

void cell_centre(int cell, int* x, int* y) {
    *x = CARD_CELL_X0 + CARD_CELL_W * (cell % CARD_CELL_COLUMNS);
    *y = CARD_CELL_Y0 + CARD_CELL_H * (cell / CARD_CELL_COLUMNS);
}

// The panel's picture n copied into dest (when given); the picture drawn on.
ImageRecord* panel_target(ImageRecord* dest, void* panel, int n) {
    const ImageRecord* picture = popup_frame(panel, n);
    if (!dest) return const_cast<ImageRecord*>(picture);
    if (picture) blit_to_image(dest, picture, picture->hot_x, picture->hot_y);
    return dest;
}

// ---------------------------------------------------------------------------
// The grid windows: the card window and the thief's window.

struct GridWindow {
    int seat = -1;      // whose hand is shown
    int card_top = 0;   // screen y of the card panel
    int item_top = -1;  // screen y of the item panel, -1 none
    int pressed = 0;    // the pick held down
    bool click = false; // a press sounds the click (the card window)
};
GridWindow grid;

// What a press at (x, y) picks, and the cell's rectangle.
int pick_at(int x, int y, PlatRect* rect) {
    int cell = card_grid_cell_at(x, y, grid.card_top);
    if (cell >= 0 && cell < HOLDING_ROW && is_player_seat(grid.seat)) {
        const int id = player_cards[grid.seat][cell];
        *rect = card_grid_cell_rect(cell, grid.card_top);
        return id;
    }
    if (grid.item_top < 0) return 0;
    cell = card_grid_cell_at(x, y, grid.item_top);
    if (cell < 0 || cell >= ITEM_MENU_CELLS || item_menu_cells[cell] == 0) return 0;
    *rect = card_grid_cell_rect(cell, grid.item_top);
    return STEAL_ITEM_FLAG | item_menu_cells[cell];
}

int32_t grid_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        grid.pressed = 0;
        return 0;
    case WM_LBUTTONDOWN: {
        PlatRect rect{};
        const int pick = pick_at(mx, my, &rect);
        if (pick == 0 || grid.pressed != 0) return 0;
        grid.pressed = pick;
        gfx_press_rect(rect);
        if (grid.click) snd_board_effect_play(CARD_CLICK_SOUND, 0);
        return 0;
    }
    case WM_LBUTTONUP:
        if (grid.pressed == 0) return 0;
        gfx_release_rect();
        screen_close(grid.pressed);
        return 0;
    case WM_RBUTTONUP:
        if (grid.pressed != 0) gfx_release_rect();
        grid.pressed = 0;
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// Draws a panel picture filled by draw at (CARD_PANEL_X, y) of the back buffer.
void show_panel(void* panel, int picture, int y, int seat, void (*draw)(ImageRecord*, void*, int)) {
    const ImageRecord* frame = popup_frame(panel, picture);
    if (!frame) return;
    ImageRecord* composed = image_new(frame->width, frame->height, 0, 0);
    if (!composed) return;
    draw(composed, panel, seat);
    ImageRecord* back = popup_lock_back();
    if (back) popup_blit(back, composed, CARD_PANEL_X, y, false);
    popup_unlock_back();
    std::free(composed);
}

int run_grid(int seat, int card_top, int item_top, bool click) {
    shown_record(Shown::Panel, CARD_PANEL_ENTRY, 0, click ? "cards" : "thief");
    if (!popup_lock_back()) return 0; // no display: nobody to click
    popup_unlock_back();
    void* panel = spr_read_set("PANEL.MKF", CARD_PANEL_ENTRY);
    ImageRecord* saved = popup_save_area(LAYOUT_BOARD_AREA);
    grid = GridWindow{};
    grid.seat = seat;
    grid.card_top = card_top;
    grid.item_top = item_top;
    grid.click = click;
    item_menu_cells = {};
    show_panel(panel, CARD_F_CARD_PANEL, card_top, seat, card_draw_inventory);
    if (item_top >= 0) show_panel(panel, CARD_F_ITEM_PANEL, item_top, seat, item_draw_list);
    popup_update(LAYOUT_BOARD_AREA);
    const int32_t pick = screen_run(grid_wndproc, 0);
    popup_restore_area(saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    spr_free_set(panel);
    grid = GridWindow{};
    return pick;
}

} // namespace

int card_grid_cell_at(int x, int y, int top) {
    const int gx = x - (CARD_PANEL_X + CARD_GRID_DX), gy = y - (top + CARD_GRID_DY);
    if (gx < 0 || gy < 0 || gx >= CARD_CELL_W * CARD_CELL_COLUMNS ||
        gy >= CARD_CELL_H * CARD_GRID_ROWS)
        return -1;
    return gy / CARD_CELL_H * CARD_CELL_COLUMNS + gx / CARD_CELL_W;
}

PlatRect card_grid_cell_rect(int cell, int top) {
    const int x = CARD_PANEL_X + CARD_GRID_DX + CARD_CELL_W * (cell % CARD_CELL_COLUMNS);
    const int y = top + CARD_GRID_DY + CARD_CELL_H * (cell / CARD_CELL_COLUMNS);
    return {x, y, x + CARD_CELL_W, y + CARD_CELL_H};
}

void card_draw_inventory(ImageRecord* dest, void* panel, int player) {
    ImageRecord* target = panel_target(dest, panel, CARD_F_CARD_PANEL);
    if (!target || !is_player_seat(player)) return;
    text_set_font(20, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
    for (int cell = 0; cell < HOLDING_ROW; ++cell) {
        const int id = player_cards[player][cell];
        if (id == 0) break;
        int x, y;
        cell_centre(cell, &x, &y);
        text_draw(target, card_def(id).name, x, y, ALIGN_CENTRE);
    }
}

void item_draw_list(ImageRecord* dest, void* panel, int player) {
    item_menu_cells = {};
    ImageRecord* target = panel_target(dest, panel, CARD_F_ITEM_PANEL);
    if (!is_player_seat(player)) return;
    text_set_font(16, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
    int cell = 0;
    for (int n = 1; n <= ITEM_KIND_COUNT && cell < ITEM_MENU_CELLS; ++n) {
        const int count = player_items[player][n - 1];
        if (count == 0) continue;
        item_menu_cells[cell] = static_cast<uint8_t>(n);
        int x, y;
        cell_centre(cell, &x, &y);
        ++cell;
        if (!target) continue;
        if (const ImageRecord* icon = popup_frame(panel, CARD_F_ITEM_ICON + n - 1))
            popup_blit(target, icon, x + ITEM_ICON_DX, y + ITEM_ICON_DY, true);
        char text[16];
        std::snprintf(text, sizeof text, "×%d", count);
        text_draw(target, text, x + ITEM_COUNT_DX, y + ITEM_COUNT_DY, ALIGN_RIGHT_TOP);
    }
}

void card_show_picture(int id, const char* caption) {
    if (id == 0) return;
    shown_record(Shown::Panel, CARD_PICTURE_BASE + id, CARD_PICTURE_MS, caption);
    if (!popup_lock_back()) return; // no display
    popup_unlock_back();
    const uint8_t mode = cursor_get_mode();
    if (mode == 1) cursor_set_mode(0);
    void* picture = spr_read_set(nullptr, CARD_PICTURE_BASE + id);
    ImageRecord* saved = popup_save_area(LAYOUT_BOARD_AREA);
    ImageRecord* back = popup_lock_back();
    if (back) {
        if (const ImageRecord* panel = popup_frame(board_panel_set, CARD_CAPTION_FRAME))
            popup_blit(back, panel, CARD_CAPTION_X, CARD_CAPTION_Y, true);
        popup_font(16, 0xF0F0F0, 0x101010, TEXT_SHADOW, 1);
        if (caption)
            popup_text(nullptr, caption, CARD_CAPTION_X, CARD_CAPTION_Y, ALIGN_CENTRE_LINES);
        if (const ImageRecord* card = popup_frame(picture, 0))
            popup_blit(back, card, CARD_PICTURE_X, CARD_PICTURE_Y, true);
    }
    popup_unlock_back();
    popup_update(LAYOUT_BOARD_AREA);
    snd_board_effect_play(CARD_SOUND, 0);
    wait_ms_skippable(CARD_PICTURE_MS);
    popup_restore_area(saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    spr_free_set(picture);
    if (mode == 1) cursor_set_mode(1);
}

int card_window_pick(const DecisionRequest& r) {
    return run_grid(r.player, CARD_WINDOW_Y, -1, true);
}

int card_steal_window_pick(const DecisionRequest& r) {
    return run_grid(r.object, CARD_THIEF_CARDS_Y, r.param == 1 ? CARD_THIEF_ITEMS_Y : -1, false);
}

namespace {

// DECIDE_CARD_PICK: a card the deciding player holds, or 0 (the window closed).
bool accepts_card(const DecisionRequest& r, int answer) {
    return answer == 0 || (is_player_seat(r.player) && answer >= 1 && answer <= CARD_KIND_COUNT &&
                           card_has(r.player, answer));
}

// DECIDE_THIEF_PICK (object = the victim, param = with_items): what the
// thief's window offers, or 0.
bool accepts_theft(const DecisionRequest& r, int answer) {
    return card_steal_accepts(r.object, r.player, r.param, answer) == 1;
}

} // namespace

DECISION_KIND(DECIDE_CARD_PICK, card_window_pick, accepts_card, 0);
DECISION_KIND(DECIDE_THIEF_PICK, card_steal_window_pick, accepts_theft, 0);

PRESENTER(card_presenter, CardPresenter{card_show_picture});

TOOLBAR_COMMAND(
    TOOLBAR_CARDS,
    [] {
        card_use();
        return true;
    },
    HK_CARDS)
