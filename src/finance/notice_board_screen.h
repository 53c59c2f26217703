// The bulletin board's window for a human visit: the grid of every player's
// offers, the post button with its four posting windows, the detail window
// of an offer. Its answers reach the rules as DECIDE_BOARD_ACTION and
// DECIDE_BOARD_POST.
#pragma once

#include "platform/messages.h"

// PANEL.MKF entries: the board's pictures (window, buttons, offer icons 9-16)
// and the item pictures (item n as frame n - 1).
inline constexpr int NOTICE_PANEL_ENTRY = 73;
inline constexpr int NOTICE_ITEM_PICTURES_ENTRY = 74;
// The board pictures' frames: the window, the post and exit buttons (their
// pressed looks one further), the panel of the dialogs and lists, a plain
// button and its pressed look, and the offer icons at
// NOTICE_FRAME_ICON_BASE + type + 4 x the seller's sex.
inline constexpr int NOTICE_FRAME_WINDOW = 0, NOTICE_FRAME_POST = 1, NOTICE_FRAME_EXIT = 3;
inline constexpr int NOTICE_FRAME_PANEL = 5, NOTICE_FRAME_BUTTON = 6;
inline constexpr int NOTICE_FRAME_BUTTON_PRESSED = 7, NOTICE_FRAME_ICON_BASE = 8;

// The window around a human's visit, which the rules reach through
// notice_board_presenter: loads the pictures and draws the board; nothing
// without a display.
void notice_screen_open(int player);
// Frees the pictures and repaints the board.
void notice_screen_close();

// The board window's geometry: the offer of seat s, slot k in the cell at
// (NOTICE_GRID_X + 72k, NOTICE_GRID_Y + 72s), 64 x 64; the post and exit
// buttons.
inline constexpr int NOTICE_GRID_X = 104, NOTICE_GRID_Y = 114, NOTICE_CELL_STEP = 72;
inline constexpr int NOTICE_CELL_SIZE = 64;
inline constexpr PlatRect NOTICE_POST_BUTTON{465, 75, 535, 113};
inline constexpr PlatRect NOTICE_EXIT_BUTTON{540, 430, 630, 468};
// The choice of the kind to post: the panel and its four buttons, kind k
// (1..4) at NOTICE_KIND_BUTTON_Y0 + NOTICE_KIND_BUTTON_STEP x k.
inline constexpr PlatRect NOTICE_CHOICE_PANEL{140, 120, 500, 360};
inline constexpr int NOTICE_KIND_BUTTON_X = 265, NOTICE_KIND_BUTTON_Y0 = 130;
inline constexpr int NOTICE_KIND_BUTTON_STEP = 45;
inline constexpr int NOTICE_BUTTON_W = 110, NOTICE_BUTTON_H = 36;
constexpr PlatRect notice_kind_button(int kind) {
    const int y = NOTICE_KIND_BUTTON_Y0 + NOTICE_KIND_BUTTON_STEP * kind;
    return {NOTICE_KIND_BUTTON_X, y, NOTICE_KIND_BUTTON_X + NOTICE_BUTTON_W, y + NOTICE_BUTTON_H};
}
// The detail of one offer and its one button (buy, or withdraw one's own).
inline constexpr PlatRect NOTICE_DETAIL_PANEL{160, 110, 480, 390};
inline constexpr PlatRect NOTICE_DETAIL_BUTTON{265, 330, 375, 366};
// The seat and slot of the cell under a point, false off the grid.
bool notice_screen_cell_at(int x, int y, int* seat, int* slot);
// The posting windows: their panel, the land page's page buttons, the list
// of up to 10 rows from (NOTICE_LIST_X, NOTICE_LIST_Y), NOTICE_LIST_ROW_H
// apart, and the land page's filter tabs 80 wide from x 112.
inline constexpr PlatRect NOTICE_LIST_PANEL{24, 60, 616, 470};
inline constexpr PlatRect NOTICE_PAGE_UP{560, 80, 600, 112}, NOTICE_PAGE_DOWN{560, 420, 600, 452};
inline constexpr int NOTICE_LIST_X = 40, NOTICE_LIST_Y = 164, NOTICE_LIST_ROW_H = 28;
inline constexpr int NOTICE_LIST_W = 560, NOTICE_LIST_ROWS = 10;
inline constexpr int NOTICE_TAB_X = 112, NOTICE_TAB_W = 80, NOTICE_TAB_Y = 92, NOTICE_TAB_H = 32;
