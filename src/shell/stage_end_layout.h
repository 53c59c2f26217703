// The stage end's pictures and where they go, in screen pixels: the
// celebration over the won map's background (JUMP.MKF, its frames SF_STAGE_*
// of setup_layout.h), its map chooser, and the continue offer's countdown.
#pragma once

#include "platform/messages.h"

// PANEL.MKF entries: the companion, the runners (+ character), and the
// countdown's set (frame 0 its title, frame n the number n).
inline constexpr int STAGE_COMPANION_ENTRY = 93, STAGE_RUNNER_FIRST = 100;
inline constexpr int STAGE_COUNTDOWN_ENTRY = 112;
// The cheer over the board: its film and its sound effect.
inline constexpr int STAGE_CHEER_FLC_ENTRY = 515, STAGE_CHEER_EFFECT = 101;

// ---- the celebration ----

// The background scrolls STAGE_SCROLL_STEP a tick. The runner crosses from
// STAGE_RUN_LEFT to STAGE_RUN_RIGHT and back, STAGE_RUN_STEP a tick, each run
// at a height of STAGE_RUN_TOP plus a draw below STAGE_RUN_HEIGHTS; the
// companion follows STAGE_COMPANION_DX behind him.
inline constexpr int STAGE_SCROLL_STEP = 2;
inline constexpr int STAGE_RUN_LEFT = -100, STAGE_RUN_RIGHT = 740, STAGE_RUN_STEP = 10;
inline constexpr int STAGE_RUN_TOP = 100, STAGE_RUN_HEIGHTS = 360;
inline constexpr int STAGE_COMPANION_DX = 60;
// Several humans are congratulated in a line centred here.
inline constexpr int STAGE_TITLE_X = 320, STAGE_TITLE_Y = 240, STAGE_TITLE_SIZE = 48;

// The chooser (one human) slides down on x STAGE_CHOOSER_X from
// STAGE_CHOOSER_START to rest at STAGE_CHOOSER_REST, STAGE_CHOOSER_SPEED a
// tick at first and one less each tick after.
inline constexpr int STAGE_CHOOSER_X = 320, STAGE_CHOOSER_START = -80;
inline constexpr int STAGE_CHOOSER_REST = 360, STAGE_CHOOSER_SPEED = 30;
// At rest map m's row starts STAGE_CHOOSER_ROW_H m below STAGE_CHOOSER_TOP;
// the rows answer from x STAGE_CHOOSER_LEFT to STAGE_CHOOSER_RIGHT, both
// included, and between the first row's top and the last row's bottom, both
// excluded. The hovered map's picture is centred on its row.
inline constexpr int STAGE_CHOOSER_LEFT = 201, STAGE_CHOOSER_RIGHT = 439;
inline constexpr int STAGE_CHOOSER_TOP = 280, STAGE_CHOOSER_ROW_H = 40, STAGE_CHOOSER_ROWS = 4;
inline constexpr int stage_chooser_row_middle(int map) {
    return STAGE_CHOOSER_TOP + STAGE_CHOOSER_ROW_H * map + STAGE_CHOOSER_ROW_H / 2;
}
// Where the cleared stamp is aimed within a map's picture and within the
// chooser's (map m's STAGE_CHOOSER_ROW_H m lower), and the chosen mark within
// a map's picture.
inline constexpr int STAGE_MAP_STAMP_X = 32, STAGE_MAP_STAMP_Y = 22;
inline constexpr int STAGE_CHOOSER_STAMP_X = 220, STAGE_CHOOSER_STAMP_Y = 28;
inline constexpr int STAGE_CHOSEN_MARK_X = 214, STAGE_CHOSEN_MARK_Y = 8;

// ---- the continue offer ----

// The countdown runs from STAGE_COUNTDOWN_FROM, a number a second: the title
// centred on (STAGE_COUNTDOWN_X, STAGE_COUNTDOWN_TITLE_Y), the number on
// (STAGE_COUNTDOWN_X, STAGE_COUNTDOWN_NUMBER_Y) inside STAGE_COUNTDOWN_AREA.
inline constexpr int STAGE_COUNTDOWN_FROM = 10;
inline constexpr int STAGE_COUNTDOWN_X = 320;
inline constexpr int STAGE_COUNTDOWN_TITLE_Y = 120, STAGE_COUNTDOWN_NUMBER_Y = 350;
inline constexpr PlatRect STAGE_COUNTDOWN_AREA{280, 300, 360, 400};
