// The card and item windows over the board: the hand drawn into the card
// panel, the items into the item panel, the card window, the thief's window
// and the card picture shown when a card is played.
#pragma once

#include <array>
#include <cstdint>

#include "board/decisions.h"
#include "engine/image.h"
#include "platform/messages.h"

// PANEL.MKF entry of the card and item panels: picture 0 the card panel,
// 1 the item panel, 2..14 the icons of items 1..13.
inline constexpr int CARD_PANEL_ENTRY = 11;
// The panels' grid: five cells of 80 x 56 to a row, the first centred at
// (45, 33) of the panel picture.
inline constexpr int CARD_CELL_W = 80, CARD_CELL_H = 56, CARD_CELL_COLUMNS = 5;
inline constexpr int CARD_CELL_X0 = 45, CARD_CELL_Y0 = 33;
// data.mkf entry of card id's picture: 529 + id.
inline constexpr int CARD_PICTURE_BASE = 529;
// board_effects element of the card sound.
inline constexpr int CARD_SOUND = 4;

// Cell index of the item panel to item number (0 empty), filled by item_draw_list.
inline constexpr int ITEM_MENU_CELLS = 16;
extern std::array<uint8_t, ITEM_MENU_CELLS> item_menu_cells;

// The grid of a card or item panel picture drawn at (14, top) of the screen:
// 15 cells of 80 x 56 from (19, top + 5). The cell under a screen point
// (-1 none) and a cell's rectangle on the screen.
int card_grid_cell_at(int x, int y, int top);
PlatRect card_grid_cell_rect(int cell, int top);

// Draws the player's card names into the card panel's grid. With dest given
// the panel's picture 0 is copied into it first and the names go there;
// otherwise into picture 0 itself.
void card_draw_inventory(ImageRecord* dest, void* panel, int player);
// The same grid for the item kinds held: icon and "×count"; with dest given
// the panel's picture 1 is copied into it first. Fills item_menu_cells.
void item_draw_list(ImageRecord* dest, void* panel, int player);

// Shows card id's picture under caption for a moment (nothing for id 0): the
// card presenter's picture.
void card_show_picture(int id, const char* caption);

// The card window of player r.player: a held card id, 0 when closed.
int card_window_pick(const DecisionRequest& r);
// The thief's window: r.player the thief, r.object the victim, r.param 1
// when items may be taken too. A card id, STEAL_ITEM_FLAG | item, or 0.
int card_steal_window_pick(const DecisionRequest& r);
