// The windows of the item command: the item menu and the remote dice's faces.
#pragma once

struct DecisionRequest;

// The item menu is the item panel (PANEL.MKF 11 picture 1) at (14, 130)
// with the card window's grid: item_menu_cells (cards/card_screen.h) holds
// the item number of each cell, the kinds held in order as item_draw_list
// puts them, and the last cell (index 14) stands for leaving the ridden
// motorbike or car (ITEM_DISMOUNT).
inline constexpr int ITEM_MENU_DISMOUNT_CELL = 14;
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
