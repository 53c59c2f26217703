// PANEL.MKF as the board screen reads it; the data builder writes the same.
#pragma once

inline constexpr int PANEL_SIDE =
    0; // frames 0-3 tab pages, 4 header, 5 a wandering character's page
inline constexpr int PANEL_TOOLBAR = 1;  // 0 background, 1-11 buttons, 12-22 lit
inline constexpr int PANEL_CALENDAR = 2; // 0-3 day pages by season, 4-7 month grids by season
inline constexpr int PANEL_DICE = 3;     // die x 6 + value - 1
inline constexpr int PANEL_BOX = 7;      // 0-5 the box's looks, 6-11 the dice buttons
inline constexpr int PANEL_BOX_MASK = 8; // one byte a pixel of box frame 0, unconverted
inline constexpr int PANEL_ENTRIES = 9;
inline constexpr int PANEL_HEADER_FRAME = 4;
inline constexpr int PANEL_WALKER_FRAME = 5;
// The control box.
inline constexpr int BOX_W = 96;
inline constexpr int BOX_H = 80;
inline constexpr int BOX_TITLE_H = 14;          // mask code 2
inline constexpr int BOX_DICE_W = 24;           // the selector's column at x 4..28, mask code 1
inline constexpr int BOX_GO_X = 36;             // the go button from here on, mask code 3
inline constexpr int BOX_GO_CX = BOX_GO_X + 28; // the go button's drawn centre
inline constexpr int BOX_GO_CY = 48;
inline constexpr int DICE_FACES = 6; // frames of a die in the dice set: die x 6 + value - 1
inline constexpr int MASK_DICE = 1;
inline constexpr int MASK_TITLE = 2;
inline constexpr int MASK_GO = 3;
