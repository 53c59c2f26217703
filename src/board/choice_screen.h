// The windows of the choice dialogs, each a screen on the stack over the
// board view: the board area is saved, the message panel shows the prompt,
// a row of cells lies below it, the hovered cell gets a yellow frame, and
// the area is restored when the window closes. With no display open they
// answer at once: the park, or cancel where cancelling is allowed.
#pragma once

#include <cstdint>

#include "board/choice.h"
#include "platform/messages.h"

// The five facility kinds: 0..4, or -1 (right button) when may_cancel.
int choose_facility_window(int may_cancel);
// One of the listed players (2..4 of them) or -1 (right button).
int choose_player_window(int count, const int* players, const char* prompt);
// The research institute's cells for its level: an offered slot, or -1.
int choose_research_window(int level);

// Pictures the dialogs read, for tests: data.mkf entries and frames.
inline constexpr int CHOICE_CELLS_FRAME = 4;    // of data.mkf 476: the five kind cells
inline constexpr int CHOICE_RESEARCH_FRAME = 7; // of data.mkf 476: the research panel
inline constexpr int CHOICE_STRIP_ENTRY = 477;  // strips for 2, 3, 4 players
inline constexpr int CHOICE_PORTRAIT_ENTRY = 2; // portraits by character
inline constexpr int CHOICE_ICON_ENTRY = 11;    // PANEL.MKF: item n at frame n + 1
inline constexpr int CHOICE_PANEL_FRAME = 5;    // of the board's panel set: the message panel
inline constexpr uint32_t CHOICE_HOVER_RGB = 0xFFFF00;

// The message panel's hot spot, the prompt's and the label's middle lines
// (a player dialog's prompt lies on the panel's own line).
inline constexpr int CHOICE_PANEL_X = 220, CHOICE_PANEL_Y = 130;
inline constexpr int CHOICE_PROMPT_Y = 112, CHOICE_LABEL_Y = 144;
// Where a dialog puts the pointer as it opens.
inline constexpr int CHOICE_POINTER_X = 220, CHOICE_POINTER_Y = 320;

// The facility kinds' picture's top-left corner (its cells from
// CHOICE_KIND_X, CHOICE_KIND_Y), and the hovered cell's frame thickness.
inline constexpr int CHOICE_CELLS_X = 43, CHOICE_CELLS_Y = 279;
inline constexpr int CHOICE_KIND_RINGS = 3;

// The players' strip's hot spot; its portraits lie CHOICE_STRIP_INSET in
// from its corner, a cell apart. Without its picture it is taken as
// CHOICE_PLAYER_CELL_W a player + CHOICE_STRIP_MARGIN wide and
// CHOICE_STRIP_H high.
inline constexpr int CHOICE_STRIP_X = 220, CHOICE_STRIP_Y = 320;
inline constexpr int CHOICE_STRIP_INSET = 12, CHOICE_STRIP_MARGIN = 16, CHOICE_STRIP_H = 90;
// The hovered player's frame: CHOICE_PLAYER_RINGS thick, reaching
// CHOICE_PLAYER_FRAME_OUT out of the cell on the left and top.
inline constexpr int CHOICE_PLAYER_FRAME_OUT = 3, CHOICE_PLAYER_FRAME_W = 78,
                     CHOICE_PLAYER_FRAME_H = 72, CHOICE_PLAYER_RINGS = 3;
constexpr PlatRect choice_player_frame_rect(int cell, int x0, int y0) {
    const int x = x0 + CHOICE_PLAYER_CELL_W * cell - CHOICE_PLAYER_FRAME_OUT;
    const int y = y0 - CHOICE_PLAYER_FRAME_OUT;
    return {x, y, x + CHOICE_PLAYER_FRAME_W, y + CHOICE_PLAYER_FRAME_H};
}

// The research panel's top-left corner, an item's icon in it (slot s at
// x + CHOICE_RESEARCH_STEP s), a cell's drawn rectangle and the pressed part
// of it (also the part greyed when not offered).
inline constexpr int CHOICE_WORK_X = 20, CHOICE_WORK_Y = 280;
inline constexpr int CHOICE_RESEARCH_ICON_X = 48, CHOICE_RESEARCH_ICON_Y = 44; // in the panel
inline constexpr int CHOICE_RESEARCH_RINGS = 2;
constexpr PlatRect choice_research_cell_rect(int slot) {
    const int x = 32 + CHOICE_RESEARCH_STEP * slot;
    return {x, 294, x + 71, 294 + 59};
}
constexpr PlatRect choice_research_press_rect(int slot) {
    const int x = CHOICE_RESEARCH_AREA.left + CHOICE_RESEARCH_STEP * slot;
    return {x, CHOICE_RESEARCH_AREA.top, x + 66, CHOICE_RESEARCH_AREA.top + 54};
}
