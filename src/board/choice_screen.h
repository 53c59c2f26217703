// The windows of the choice dialogs, each a screen on the stack over the
// board view: the board area is saved, the message panel shows the prompt,
// a row of cells lies below it, the hovered cell gets a yellow frame, and
// the area is restored when the window closes. With no display open they
// answer at once: the park, or cancel where cancelling is allowed.
#pragma once

#include <cstdint>

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
inline constexpr uint32_t CHOICE_HOVER_RGB = 0xFFFF00;
