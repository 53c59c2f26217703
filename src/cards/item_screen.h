// The windows of the item command: the item menu and the remote dice's faces.
#pragma once

#include "cards/card_screen.h"
#include "platform/messages.h"

struct DecisionRequest;

// The item menu is the item panel (CARD_F_ITEM_PANEL of PANEL.MKF 11) at
// (ITEM_MENU_X, ITEM_MENU_Y) with the card window's grid: item_menu_cells
// holds the item number of each cell, the kinds held in order as
// item_draw_list puts them, and the last cell (index 14) stands for leaving
// the ridden motorbike or car (ITEM_DISMOUNT), whose picture of the same set
// lies on it at (ITEM_DISMOUNT_X, ITEM_DISMOUNT_Y) of the panel.
inline constexpr int ITEM_MENU_X = CARD_PANEL_X, ITEM_MENU_Y = 130;
inline constexpr int ITEM_MENU_DISMOUNT_CELL = 14;
enum ItemMenuFrame : int { ITEM_F_MOTORBIKE = 15, ITEM_F_CAR = 16 };
inline constexpr int ITEM_DISMOUNT_X = 325, ITEM_DISMOUNT_Y = 117;

// The remote dice's window (PANEL.MKF 72): the strip at (92, 300), its six
// faces 30 wide from x 104, 40 apart, y 314..343; each face has a lit
// picture, drawn on it while the pointer is there. The window opens with the
// pointer on the strip, between faces 3 and 4.
inline constexpr int ITEM_DICE_ENTRY = 72;
enum ItemDiceFrame : int {
    ITEM_DICE_F_STRIP = 0,
    ITEM_DICE_F_LIT = 1, // + face - 1
};
inline constexpr int ITEM_DICE_X = 92, ITEM_DICE_Y = 300;
inline constexpr PlatRect ITEM_DICE_AREA{ITEM_DICE_X, ITEM_DICE_Y, 348, 355};
inline constexpr int ITEM_FACE_X = 104, ITEM_FACE_STEP = 40, ITEM_FACE_W = 30;
inline constexpr int ITEM_FACE_Y = 314, ITEM_FACE_H = 30;
inline constexpr int ITEM_DICE_CURSOR_X = 220, ITEM_DICE_CURSOR_Y = 320;
// Face 1..6's rectangle on the screen.
constexpr PlatRect item_dice_face_rect(int face) {
    const int x = ITEM_FACE_X + ITEM_FACE_STEP * (face - 1);
    return {x, ITEM_FACE_Y, x + ITEM_FACE_W, ITEM_FACE_Y + ITEM_FACE_H};
}

// Fills item_menu_cells for player p as the menu shows them.
void item_menu_fill_cells(int p);
// The cell under a screen point, -1 outside the grid.
int item_menu_cell_at(int x, int y);
// The remote dice's face (1..6) under a screen point, 0 none.
int item_dice_face_at(int x, int y);

// The item menu of request.player over the board: the item number clicked,
// ITEM_DISMOUNT for the vehicle's cell, 0 when closed (the right button, or
// no display).
int item_menu_window(const DecisionRequest& request);
// The remote dice's six faces: the face clicked 1..6, 0 when closed.
int item_dice_window(const DecisionRequest& request);
