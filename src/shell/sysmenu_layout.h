// The system window's picture set (data.mkf 3) and where the parts of the
// window and of its date and hot-key dialogs go, in pixels from each one's
// top-left corner. The window's hot spots are sysmenu_spots (sysmenu.h).
#pragma once

#include "engine/options.h"
#include "platform/messages.h"

inline constexpr int SYSMENU_SET_ENTRY = 3;
// Frames of the set: the window, the date page, the hot-key page.
inline constexpr int SYSMENU_FRAME_WINDOW = 0, SYSMENU_FRAME_DATE = 1, SYSMENU_FRAME_HOTKEYS = 2;
// Their sizes when the set is missing; each is centred on the screen.
inline constexpr int SYSMENU_WINDOW_W = 340, SYSMENU_WINDOW_H = 350;
inline constexpr int SYSMENU_DATE_W = 200, SYSMENU_DATE_H = 220;
inline constexpr int SYSMENU_HOTKEY_W = 330, SYSMENU_HOTKEY_H = 320;

// ---- the window ----

// Its fixed labels: the five options' names end at their points, the track
// list's and the layout's headings start at theirs.
enum SysmenuLabel : int {
    SL_SPEED = 0,
    SL_ANIMATIONS = 1,
    SL_MUSIC = 2,
    SL_SOUND = 3,
    SL_AUTOSAVE = 4,
    SL_TRACKS = 5,
    SL_LAYOUT = 6,
    SL_COUNT = 7,
};
struct SysmenuPoint {
    int x, y;
};
inline constexpr SysmenuPoint SYSMENU_LABEL_AT[SL_COUNT] = {
    {74, 25}, {90, 57}, {60, 89}, {60, 121}, {90, 153}, {20, 210}, {217, 200}};
// The speed and level bars: a segment per step, SYSMENU_BAR_STEP apart.
inline constexpr int SYSMENU_BAR_STEP = 16, SYSMENU_SEGMENT_W = 14;
// The track list: a row per piece, SYSMENU_TRACK_ROW_H apart from the top of
// its hot spot; the playing one lit by a bar of SYSMENU_TRACK_BAR_H, its
// name SYSMENU_TRACK_TEXT_DX in from the left.
inline constexpr int SYSMENU_TRACK_ROW_H = 15, SYSMENU_TRACK_BAR_H = 14;
inline constexpr int SYSMENU_TRACK_TEXT_DX = 4;
// Where a game action asks its confirmation, on the screen.
inline constexpr int SYSMENU_CONFIRM_X = 320, SYSMENU_CONFIRM_Y = 200;

// ---- the date dialog ----

// Its buttons: DateButton's arrows and today, then cancel and OK; right and
// bottom exclusive.
inline constexpr int SYSMENU_DATE_CANCEL = 5, SYSMENU_DATE_OK = 6, SYSMENU_DATE_BUTTONS = 7;
inline constexpr PlatRect SYSMENU_DATE_BUTTON_RECTS[SYSMENU_DATE_BUTTONS] = {
    {74, 21, 90, 31},  {74, 31, 90, 41},    {160, 21, 176, 31},  {160, 31, 176, 41},
    {9, 180, 64, 210}, {72, 180, 127, 210}, {134, 180, 189, 210}};
// The month's name, the year and its character, centred on these points.
inline constexpr int SYSMENU_DATE_TITLE_Y = 31;
inline constexpr int SYSMENU_DATE_MONTH_X = 40, SYSMENU_DATE_YEAR_X = 127;
inline constexpr int SYSMENU_DATE_YEAR_MARK_X = 150;
// The day grid: the cell of column c and row r is centred at
// (SYSMENU_DAY_X + SYSMENU_DAY_STEP_X c, SYSMENU_DAY_Y + SYSMENU_DAY_STEP_Y r)
// and answers within SYSMENU_DAY_HALF_W and SYSMENU_DAY_HALF_H of its centre;
// clicks count inside SYSMENU_DAY_AREA only.
inline constexpr int SYSMENU_DAY_X = 28, SYSMENU_DAY_Y = 80;
inline constexpr int SYSMENU_DAY_STEP_X = 23, SYSMENU_DAY_STEP_Y = 18, SYSMENU_WEEK_DAYS = 7;
inline constexpr int SYSMENU_DAY_HALF_W = 10, SYSMENU_DAY_HALF_H = 8;
inline constexpr PlatRect SYSMENU_DAY_AREA{15, 70, 181, 177};

// ---- the hot-key dialog ----

// The key cells: slots 0..14 down the first column, the rest down the
// second, SYSMENU_KEY_ROW_H apart from SYSMENU_KEY_TOP. A cell answers from
// its x to SYSMENU_KEY_HIT_W further, both included; its name is drawn
// SYSMENU_KEY_TEXT_DY below the row's top.
inline constexpr int SYSMENU_KEY_COLUMN_X[2] = {105, 257};
inline constexpr int SYSMENU_KEY_TOP = 25, SYSMENU_KEY_ROW_H = 16, SYSMENU_KEY_COLUMN_ROWS = 15;
inline constexpr int SYSMENU_KEY_HIT_W = 55, SYSMENU_KEY_CELL_W = 53, SYSMENU_KEY_CELL_H = 13;
inline constexpr int SYSMENU_KEY_TEXT_DY = 8;
static_assert(HOTKEY_COUNT > SYSMENU_KEY_COLUMN_ROWS &&
              HOTKEY_COUNT <= 2 * SYSMENU_KEY_COLUMN_ROWS);
inline constexpr int sysmenu_key_x(int slot) {
    return SYSMENU_KEY_COLUMN_X[slot < SYSMENU_KEY_COLUMN_ROWS ? 0 : 1];
}
inline constexpr int sysmenu_key_y(int slot) {
    return SYSMENU_KEY_TOP +
           SYSMENU_KEY_ROW_H *
               (slot < SYSMENU_KEY_COLUMN_ROWS ? slot : slot - SYSMENU_KEY_COLUMN_ROWS);
}
// Its buttons: the original keys, cancel and OK; they answer on their edges too.
enum SysmenuKeyButton : int { SKB_DEFAULTS = 0, SKB_CANCEL = 1, SKB_OK = 2, SKB_COUNT = 3 };
inline constexpr PlatRect SYSMENU_KEY_BUTTON_RECTS[SKB_COUNT] = {
    {17, 281, 87, 311}, {130, 281, 200, 311}, {242, 281, 312, 311}};
