// The card and item windows over the board: the hand drawn into the card
// panel, the items into the item panel, the card window, the thief's window
// and the card picture shown when a card is played.
#pragma once

#include <array>
#include <cstdint>

#include "board/decisions.h"
#include "engine/image.h"
#include "platform/messages.h"

// PANEL.MKF entry of the card and item panels, and its pictures.
inline constexpr int CARD_PANEL_ENTRY = 11;
enum CardPanelFrame : int {
    CARD_F_CARD_PANEL = 0,
    CARD_F_ITEM_PANEL = 1,
    CARD_F_ITEM_ICON = 2, // + item - 1, items 1..13
};
// A panel picture's left edge on the screen, and its top in the card
// window and in the thief's window (the victim's cards above his items).
inline constexpr int CARD_PANEL_X = 14;
inline constexpr int CARD_WINDOW_Y = 130;
inline constexpr int CARD_THIEF_CARDS_Y = 70, CARD_THIEF_ITEMS_Y = 270;
// The panels' grid: three rows of five cells of 80 x 56, the first cell's
// corner at (5, 5) of the panel picture, which the grid fills but for that
// margin all round; a cell's text is centred on it.
inline constexpr int CARD_CELL_W = 80, CARD_CELL_H = 56, CARD_CELL_COLUMNS = 5;
inline constexpr int CARD_GRID_ROWS = 3;
inline constexpr int CARD_GRID_DX = 5, CARD_GRID_DY = 5;
inline constexpr int CARD_CELL_X0 = CARD_GRID_DX + CARD_CELL_W / 2; // the first cell's centre
inline constexpr int CARD_CELL_Y0 = CARD_GRID_DY + CARD_CELL_H / 2;
inline constexpr int CARD_PANEL_W = CARD_CELL_W * CARD_CELL_COLUMNS + 2 * CARD_GRID_DX;
inline constexpr int CARD_PANEL_H = CARD_CELL_H * CARD_GRID_ROWS + 2 * CARD_GRID_DY;
// Within an item's cell, from its centre: the icon's place and the right
// end of its "×count".
inline constexpr int ITEM_ICON_DX = -16, ITEM_ICON_DY = 0;
inline constexpr int ITEM_COUNT_DX = 34, ITEM_COUNT_DY = -10;
// data.mkf entry of card id's picture: 529 + id; the pictures are 165 x 256.
inline constexpr int CARD_PICTURE_BASE = 529;
inline constexpr int CARD_PICTURE_W = 165, CARD_PICTURE_H = 256;
// The card picture over the board, its caption in the message panel (frame
// CARD_CAPTION_FRAME of the board's panel pictures) above it, for
// CARD_PICTURE_MS unless a click cuts it short.
inline constexpr int CARD_PICTURE_X = 138, CARD_PICTURE_Y = 200;
inline constexpr int CARD_CAPTION_FRAME = 5;
inline constexpr int CARD_CAPTION_X = 220, CARD_CAPTION_Y = 129;
inline constexpr uint32_t CARD_PICTURE_MS = 1500;
// board_effects elements: the card sound, and the card window's click.
inline constexpr int CARD_SOUND = 4;
inline constexpr int CARD_CLICK_SOUND = 1;

// Cell index of the item panel to item number (0 empty), filled by item_draw_list.
inline constexpr int ITEM_MENU_CELLS = 16;
extern std::array<uint8_t, ITEM_MENU_CELLS> item_menu_cells;

// The grid of a card or item panel picture drawn at (CARD_PANEL_X, top) of
// the screen: the cell under a screen point (-1 none) and a cell's rectangle
// on the screen.
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
