// The load and save lists' picture sets and where their parts go, in screen
// pixels. The load list has a row per slot 0..5, the save list one per slot
// 1..5; each row holds the date cell, the map's icon and the portraits.
#pragma once

#include <cstdint>

#include "platform/messages.h"

inline constexpr int SAVE_LIST_SET_ENTRY = 479;     // data.mkf: panels, map icons, date cell
inline constexpr int SAVE_LIST_PORTRAITS_ENTRY = 2; // data.mkf: a portrait per character
// Frames of the lists' set.
inline constexpr int SAVE_LIST_FRAME_LOAD_PANEL = 0, SAVE_LIST_FRAME_SAVE_PANEL = 1;
inline constexpr int SAVE_LIST_FRAME_MAP_ICON = 2; // + map
inline constexpr int SAVE_LIST_FRAME_DATE_CELL = 6;

// The panels' top-left corners.
inline constexpr int SAVE_LIST_LOAD_PANEL_X = 40, SAVE_LIST_LOAD_PANEL_Y = 15;
inline constexpr int SAVE_LIST_SAVE_PANEL_X = 40, SAVE_LIST_SAVE_PANEL_Y = 48;

// Row r of a list starts SAVE_LIST_ROW_H x r below its first row.
inline constexpr int SAVE_LIST_ROW_H = 72;
inline constexpr int SAVE_LIST_LOAD_TOP = 24, SAVE_LIST_LOAD_ROWS = 6; // rows are slots 0..5
inline constexpr int SAVE_LIST_SAVE_TOP = 57, SAVE_LIST_SAVE_ROWS = 5; // rows are slots 1..5
inline constexpr int save_list_load_row_top(int slot) {
    return SAVE_LIST_LOAD_TOP + SAVE_LIST_ROW_H * slot;
}
inline constexpr int save_list_save_row_top(int slot) {
    return SAVE_LIST_SAVE_TOP + SAVE_LIST_ROW_H * (slot - 1);
}
// A row answers the pointer from x SAVE_LIST_HIT_LEFT to SAVE_LIST_HIT_RIGHT,
// both included, and between its top and the next row's, both excluded.
inline constexpr int SAVE_LIST_HIT_LEFT = 130, SAVE_LIST_HIT_RIGHT = 576;

// Within a row: the date cell, its text centred on SAVE_LIST_DATE_TEXT_X
// ("AUTO" for the autosave, the year, month/day at those heights below the
// row's top), the map's icon and player j's portrait.
inline constexpr int SAVE_LIST_DATE_CELL_X = 129, SAVE_LIST_DATE_TEXT_X = 165;
inline constexpr int SAVE_LIST_AUTO_DY = 15, SAVE_LIST_YEAR_DY = 36, SAVE_LIST_DAY_DY = 57;
inline constexpr int SAVE_LIST_MAP_ICON_X = 209;
inline constexpr int SAVE_LIST_PORTRAIT_X = 289, SAVE_LIST_PORTRAIT_STEP = 72;

// The hovered row's highlight: two yellow outlines, the outer one round this
// rectangle and the inner one a pixel within it.
inline constexpr uint32_t SAVE_LIST_HIGHLIGHT_RGB = 0xFFFF00;
inline constexpr int SAVE_LIST_HIGHLIGHT_LEFT = 127, SAVE_LIST_HIGHLIGHT_RIGHT = 579;
inline constexpr int SAVE_LIST_HIGHLIGHT_ABOVE = 2, SAVE_LIST_HIGHLIGHT_BELOW = 74;
inline constexpr PlatRect save_list_highlight(int row_top) {
    return {SAVE_LIST_HIGHLIGHT_LEFT, row_top - SAVE_LIST_HIGHLIGHT_ABOVE,
            SAVE_LIST_HIGHLIGHT_RIGHT, row_top + SAVE_LIST_HIGHLIGHT_BELOW};
}
