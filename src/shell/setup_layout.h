// Where the new-game setup screen puts things, and the frames of its
// picture set (JUMP.MKF 4, which the stage-end screens share).
#pragma once

#include "platform/messages.h"

// JUMP.MKF entries: 0..3 each map's 640 x 480 background (bare pixels), 4
// the screen's frame set, from 5 the runners (5 + 3 x character + travel mode).
inline constexpr int JUMP_FRAME_SET = 4;
inline constexpr int JUMP_RUNNER_FIRST = 5;
inline constexpr int JUMP_BACKGROUND_BYTES = 640 * 480 * 2;

// Frames of JUMP.MKF 4.
enum SetupFrame : int {
    SF_GRID = 0,         // the character grid, 440 x 155
    SF_PANEL = 1,        // the settings panel, 192 x 461, with the map and start/back buttons
    SF_PRESSED = 2,      // the start and back buttons pressed, a strip of the panel's width
    SF_ARROW = 3,        // a drop-down arrow pressed
    SF_LIST = 4,         // the paper of an open drop-down list
    SF_BEATEN = 5,       // the stamp on a character beaten earlier in the campaign
    SF_MAP_MARK = 6,     // the frame round the chosen map's button
    SF_CELL_LIT = 7,     // the frame round a hovered cell
    SF_STAGE_STAMP = 10, // the stage end's: the stamp of a cleared map
    SF_STAGE_MAP = 11,   // 11..14 the maps' pictures in the chooser
    SF_STAGE_CHOOSER = 15,
    SF_STAGE_CHOSEN = 17, // the mark on the chosen map
    SF_COUNT = 18,
};

// The grid picture's place; its cells are 72 x 72, six to a row, from
// (GRID_CELL_X, GRID_CELL_Y) of the screen.
inline constexpr int GRID_X = 4, GRID_Y = 10;
inline constexpr int GRID_W = 440, GRID_H = 155;
inline constexpr int GRID_CELL_X = 8, GRID_CELL_Y = 15, GRID_CELL = 72, GRID_COLUMNS = 6;
// The settings panel's place.
inline constexpr int PANEL_X = 445, PANEL_Y = 10;
inline constexpr int PANEL_W = 192, PANEL_H = 461;

// The settings' captions and values on the panel, panel coordinates: each
// caption's left edge and top, its value's right edge.
inline constexpr int SETUP_CAPTION_X = 8, SETUP_VALUE_RIGHT = 156;
inline constexpr int SETUP_CAPTION_Y[6] = {220, 256, 292, 328, 364, 400};
// The chosen runners stand on this line, side by side from the left.
inline constexpr int SETUP_RUNNER_GROUND = 440, SETUP_RUNNER_FIRST_X = 60;
inline constexpr int SETUP_RUNNER_STEP_X = 100;

// Hot spots, screen coordinates, right and bottom exclusive.
inline constexpr PlatRect SETUP_GRID_SPOT{8, 15, 440, 159};
inline constexpr PlatRect SETUP_START_SPOT{456, 176, 535, 215};
inline constexpr PlatRect SETUP_BACK_SPOT{544, 176, 623, 215};
// The drop-down arrows of settings 0..5, one under the other.
inline constexpr int SETUP_ARROW_LEFT = 602, SETUP_ARROW_RIGHT = 625;
inline constexpr int SETUP_ARROW_TOP = 226, SETUP_ARROW_STEP = 36, SETUP_ARROW_H = 24;
inline constexpr PlatRect setup_arrow_spot(int setting) {
    const int top = SETUP_ARROW_TOP + SETUP_ARROW_STEP * setting;
    return {SETUP_ARROW_LEFT, top, SETUP_ARROW_RIGHT, top + SETUP_ARROW_H};
}
// The buttons of maps 0..3, one under the other.
inline constexpr int SETUP_MAP_LEFT = 457, SETUP_MAP_RIGHT = 625;
inline constexpr int SETUP_MAP_TOP = 31, SETUP_MAP_H = 32;
inline constexpr PlatRect setup_map_spot(int map) {
    const int top = SETUP_MAP_TOP + SETUP_MAP_H * map;
    return {SETUP_MAP_LEFT, top, SETUP_MAP_RIGHT, top + SETUP_MAP_H};
}
// Character c's cell of the grid.
inline constexpr PlatRect setup_cell_spot(int c) {
    const int x = GRID_CELL_X + GRID_CELL * (c % GRID_COLUMNS);
    const int y = GRID_CELL_Y + GRID_CELL * (c / GRID_COLUMNS);
    return {x, y, x + GRID_CELL, y + GRID_CELL};
}
// The open list of settings 0..5, its rows SETUP_LIST_ROW_H high from the top.
inline constexpr PlatRect SETUP_LISTS[6] = {
    {561, 251, 602, 320}, {536, 287, 602, 425}, {561, 323, 602, 392},
    {536, 195, 602, 333}, {536, 231, 602, 369}, {516, 267, 602, 405},
};
inline constexpr int SETUP_LIST_ROW_H = 23;
// The strip of the pressed buttons lies at this height of the panel.
inline constexpr int SETUP_BUTTON_ROW_Y = 166, SETUP_BUTTON_ROW_H = 40;
