// The asset window the board's toolbar opens: a tab for each player in the
// game and three pages, the summary, the land list and the share list. The
// page and the land filter stay as the player left them for the rest of the
// run (finance/assets.h keeps them).
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The window's places on the 640 x 480 screen (right and bottom exclusive).
inline constexpr int ASSET_PLAYER_TAB_X = 16; // tab k from x 16 + 88 k
inline constexpr int ASSET_PLAYER_TAB_STEP = 88;
inline constexpr int ASSET_PLAYER_TAB_W = 88;
inline constexpr int ASSET_PLAYER_TAB_Y = 6;
inline constexpr int ASSET_PLAYER_TAB_H = 36;
inline constexpr int ASSET_PAGE_TAB_LEFT = 12; // page tab k from y 282 + 64 k
inline constexpr int ASSET_PAGE_TAB_RIGHT = 109;
inline constexpr int ASSET_PAGE_TAB_Y = 282;
inline constexpr int ASSET_PAGE_TAB_STEP = 64;
inline constexpr int ASSET_PAGE_TAB_H = 40;
inline constexpr int ASSET_FILTER_TAB_X = 120; // filter tab i from x 120 + 75 i
inline constexpr int ASSET_FILTER_TAB_W = 75;
inline constexpr int ASSET_FILTER_TAB_TOP = 64;
inline constexpr int ASSET_FILTER_TAB_BOTTOM = 97;
inline constexpr int ASSET_FILTER_COUNT = 5;
inline constexpr int ASSET_PAGE_COUNT = 3;
inline constexpr PlatRect ASSET_EXIT_BUTTON{492, 9, 602, 38};
inline constexpr PlatRect ASSET_PAGE_UP_BUTTON{593, 369, 623, 399};
inline constexpr PlatRect ASSET_PAGE_DOWN_BUTTON{593, 417, 623, 447};
// The area the pages are drawn in (the left column holds the portrait and
// the page tabs).
inline constexpr PlatRect ASSET_PAGE_AREA{116, 48, 634, 474};
inline constexpr PlatRect ASSET_FACE_AREA{6, 54, 110, 268};
// Land list rows: the middle of row r at y 144 + 32 r.
inline constexpr int ASSET_LAND_ROW_Y = 144;
inline constexpr int ASSET_LAND_ROW_STEP = 32;
// The land list's columns, each centred on its head.
inline constexpr int ASSET_LAND_COLUMN_X[5] = {168, 264, 356, 448, 540};
// A level mark of the development column and the gap between two.
inline constexpr int ASSET_LEVEL_MARK_W = 12;
inline constexpr int ASSET_LEVEL_MARK_STEP = 14;

// Frames of the window's picture set (PANEL.MKF 9).
enum AssetFrame : int {
    ASSET_F_BACKGROUND = 0, // 640 x 480: the frame, the page tabs' plates, the exit button
    ASSET_F_PLAYER_TAB = 1, // 88 x 36
    ASSET_F_PLAYER_TAB_LIT = 2,
    ASSET_F_PAGE_TAB_LIT = 3, // 97 x 40, the chosen page's plate
    ASSET_F_FILTER_TAB = 4,   // 75 x 33
    ASSET_F_FILTER_TAB_LIT = 5,
    ASSET_F_EXIT_PRESSED = 6, // 110 x 29
    ASSET_F_PAGE_UP = 7,      // 30 x 30
    ASSET_F_PAGE_UP_PRESSED = 8,
    ASSET_F_PAGE_DOWN = 9,
    ASSET_F_PAGE_DOWN_PRESSED = 10,
    ASSET_F_LEVEL_MARK = 11,    // 12 x 12, hot spot at the centre
    ASSET_F_SUMMARY_PANEL = 12, // the page area's plate of each page
    ASSET_F_LAND_PANEL = 13,
    ASSET_F_SHARE_PANEL = 14,
    ASSET_F_FACE_PANEL = 15, // the summary's box for the face and the god in the left column
    ASSET_FRAME_COUNT = 16,
};
inline constexpr int ASSET_PICTURES_ENTRY = 9; // PANEL.MKF
inline constexpr int ASSET_ITEM_PICTURES_ENTRY = 74;

// What a point of the window is: a player tab (its index), a page tab, a
// filter tab (only on the land page), a button, or nothing.
enum AssetSpotKind : int {
    ASSET_SPOT_NONE = 0,
    ASSET_SPOT_PLAYER_TAB,
    ASSET_SPOT_PAGE_TAB,
    ASSET_SPOT_FILTER_TAB,
    ASSET_SPOT_EXIT,
    ASSET_SPOT_PAGE_UP,
    ASSET_SPOT_PAGE_DOWN,
};
struct AssetSpot {
    AssetSpotKind kind;
    int index;
};
// The spot at (x, y) with `tabs` player tabs, on `page`.
AssetSpot asset_spot_at(int x, int y, int tabs, int page);

// The window from the board's toolbar and its hot key: reads its pictures,
// runs on the screen stack until closed, repaints the board and frees them.
// Without a display it returns at once.
void asset_open();
int32_t asset_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
// The background, the player tabs and the page tabs.
void asset_draw_captions();
// The summary page of the shown player.
void asset_draw_summary_page();
// The land page: with paging 0 the list is filled anew for the filter and
// starts at its first row; with paging 1 the rows from asset_first_row.
void asset_draw_land_page(int filter, int paging);
