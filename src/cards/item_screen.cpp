#include "cards/item_screen.h"

#include <cstdlib>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/toolbar.h"
#include "cards/card_screen.h"
#include "cards/item_use.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"

namespace {

struct MenuState {
    void* panel = nullptr;
    ImageRecord* picture = nullptr; // the item panel with the grid drawn in
    int pressed = -1;               // the cell held down, -1 none
};
MenuState menu;

struct DiceState {
    void* panel = nullptr;
    int hovered = 0; // the face under the pointer, 0 none
};
DiceState dice;

// The menu's cells, drawn into dest when given: the kinds held as the item
// grid draws them, then the dismount cell while riding the motorbike or car.
void menu_cells(ImageRecord* dest, void* panel, int p) {
    item_draw_list(dest, panel, p);
    if (!item_menu_offers(p, ITEM_DISMOUNT)) return;
    item_menu_cells[ITEM_MENU_DISMOUNT_CELL] = ITEM_DISMOUNT;
    const int mode = player_table[p].travel & TRAVEL_MODE_MASK;
    const ImageRecord* vehicle =
        popup_frame(panel, mode == TRAVEL_CAR ? ITEM_F_CAR : ITEM_F_MOTORBIKE);
    if (dest && vehicle) popup_blit(dest, vehicle, ITEM_DISMOUNT_X, ITEM_DISMOUNT_Y, true);
}

// The item panel with the player's cells drawn in; nullptr without the panel.
ImageRecord* compose_menu(void* panel, int p) {
    const ImageRecord* frame = popup_frame(panel, CARD_F_ITEM_PANEL);
    ImageRecord* picture = frame ? image_new(frame->width, frame->height, 0, 0) : nullptr;
    menu_cells(picture, panel, p);
    return picture;
}

void draw_menu() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    if (menu.picture) popup_blit(back, menu.picture, ITEM_MENU_X, ITEM_MENU_Y, false);
    popup_unlock_back();
    popup_update(LAYOUT_BOARD_AREA);
}

int32_t menu_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        draw_menu();
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    case WM_LBUTTONDOWN: {
        const int cell = item_menu_cell_at(mx, my);
        if (cell < 0 || item_menu_cells[cell] == 0) return 0;
        menu.pressed = cell;
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        gfx_press_rect(card_grid_cell_rect(cell, ITEM_MENU_Y));
        return 0;
    }
    case WM_LBUTTONUP:
        if (menu.pressed >= 0) {
            gfx_release_rect();
            screen_close(item_menu_cells[menu.pressed]);
        }
        return 0;
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_close(0);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

// The strip with the hovered face lit.
void draw_dice() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    if (const ImageRecord* strip = popup_frame(dice.panel, ITEM_DICE_F_STRIP))
        popup_blit(back, strip, ITEM_DICE_X, ITEM_DICE_Y, false);
    if (dice.hovered != 0) {
        const PlatRect r = item_dice_face_rect(dice.hovered);
        if (const ImageRecord* lit = popup_frame(dice.panel, ITEM_DICE_F_LIT + dice.hovered - 1))
            popup_blit(back, lit, r.left, r.top, false);
    }
    popup_unlock_back();
    popup_update(ITEM_DICE_AREA);
}

int32_t dice_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        plat_set_cursor_pos(ITEM_DICE_CURSOR_X, ITEM_DICE_CURSOR_Y);
        dice.hovered = item_dice_face_at(ITEM_DICE_CURSOR_X, ITEM_DICE_CURSOR_Y);
        draw_dice();
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    case WM_MOUSEMOVE: {
        const int face = item_dice_face_at(mx, my);
        if (face != dice.hovered) {
            dice.hovered = face;
            draw_dice();
        }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const int face = item_dice_face_at(mx, my);
        if (face == 0) return 0;
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        screen_close(face);
        return 0;
    }
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_close(0);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

} // namespace

void item_menu_fill_cells(int p) {
    menu_cells(nullptr, nullptr, p);
}

int item_menu_cell_at(int x, int y) {
    return card_grid_cell_at(x, y, ITEM_MENU_Y);
}

int item_dice_face_at(int x, int y) {
    if (y < ITEM_FACE_Y || y >= ITEM_FACE_Y + ITEM_FACE_H) return 0;
    for (int face = 1; face <= 6; ++face) {
        const PlatRect r = item_dice_face_rect(face);
        if (x >= r.left && x < r.right) return face;
    }
    return 0;
}

int item_menu_window(const DecisionRequest& request) {
    shown_record(Shown::Panel, CARD_PANEL_ENTRY, 0, "item menu");
    item_menu_fill_cells(request.player);
    if (!popup_lock_back()) return 0; // no display
    popup_unlock_back();
    menu = MenuState{};
    menu.panel = spr_read_set("PANEL.MKF", CARD_PANEL_ENTRY);
    menu.picture = compose_menu(menu.panel, request.player);
    ImageRecord* saved = popup_save_area(LAYOUT_BOARD_AREA);
    const int result = screen_run(menu_proc, 0);
    popup_restore_area(saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    std::free(menu.picture);
    spr_free_set(menu.panel);
    menu = MenuState{};
    return result;
}

int item_dice_window(const DecisionRequest&) {
    shown_record(Shown::Panel, ITEM_DICE_ENTRY, 0, "remote dice");
    if (!popup_lock_back()) return 0; // no display
    popup_unlock_back();
    dice = DiceState{};
    dice.panel = spr_read_set("PANEL.MKF", ITEM_DICE_ENTRY);
    ImageRecord* saved = popup_save_area(ITEM_DICE_AREA);
    const int result = screen_run(dice_proc, 0);
    popup_restore_area(saved, ITEM_DICE_AREA.left, ITEM_DICE_AREA.top);
    spr_free_set(dice.panel);
    return result;
}

namespace {

// The answers the two windows could give; any other counts as closing.
// An item held, or leaving the motorbike or car while riding it; 0 closes.
bool accepts_item(const DecisionRequest& r, int answer) {
    return answer == 0 || item_menu_offers(r.player, answer) == 1;
}

// A face 1..6; 0 closes.
bool accepts_face(const DecisionRequest&, int answer) {
    return answer >= 0 && answer <= 6;
}

} // namespace

DECISION_KIND(DECIDE_ITEM_PICK, item_menu_window, accepts_item, 0);
DECISION_KIND(DECIDE_REMOTE_DICE, item_dice_window, accepts_face, 0);

TOOLBAR_COMMAND(
    TOOLBAR_ITEMS,
    [] {
        item_use();
        return true;
    },
    HK_ITEMS)
