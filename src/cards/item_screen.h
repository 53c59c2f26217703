// The windows of the item command: the item menu and the remote dice's faces.
#pragma once

#include <array>

struct DecisionRequest;

// The item menu's grid: 15 cells of 80 x 56 pixels, five a row, from screen
// (19, 135); cell to item number (0 empty). The kinds held fill the cells in
// order, as the shared drawing of a player's item grid fills its cell table;
// the last cell (index 14) stands for leaving the ridden motorbike or car
// (ITEM_DISMOUNT).
inline constexpr int ITEM_MENU_CELLS = 16;
inline constexpr int ITEM_MENU_DISMOUNT_CELL = 14;
extern std::array<int, ITEM_MENU_CELLS> item_menu_grid;
// Fills item_menu_grid for player p.
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
