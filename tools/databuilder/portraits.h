// The characters' portrait sets (MAP.MKF entries 15 to 26, one per
// character): frame 0 the portrait, frames 1-4 the faces pleased, cross,
// dismayed and delighted, frame 5 the minimap token, all drawn by code.
#pragma once

#include "mkf_writer.h"

struct Canvas;

inline constexpr int PORTRAIT_FIRST_ENTRY = 15;
inline constexpr int PORTRAIT_SIZE = 36; // frame 0, hot spot (0, 0): fits the panels' frame
inline constexpr int FACE_SIZE = 48;     // frames 1-4, hot spot at the centre
inline constexpr int TOKEN_SIZE = 11;    // frame 5, hot spot at the centre

// The portrait set of a character 0..11.
FrameSetBytes standin_portrait_set(int character);
// Adds entries 15..26 to MAP.MKF.
void standin_add_portraits(ArchiveWriter& map_mkf);
// A character's portrait for the player chooser (data.mkf 2): 72 x 66.
FrameImage standin_chooser_portrait(int character);
// A character's head of size s with its top-left at (ox, oy) of cv
// (expression -1 the calm look, 0 pleased, 1 cross, 2 dismayed, 3 delighted).
void standin_draw_head(Canvas& cv, int ox, int oy, int s, int character, int expression);
