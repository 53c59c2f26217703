// The target picker's pointer shapes, frames of the cursor set: the
// caller's frames over a target it accepts, these elsewhere.
#pragma once

#include "cards/target_pick.h"

inline constexpr int PICK_CURSOR_NO_TARGET = 5; // over nothing the picker takes
inline constexpr int PICK_CURSOR_NORMAL = 41;   // the shape given back when it closes
// The one-frame shape of each held edge, by PICK_EDGE_*.
inline constexpr int PICK_CURSOR_EDGE[PICK_EDGE_RIGHT + 1] = {0, 34, 40, 38, 36};
// The ticks each of the caller's target frames is shown.
inline constexpr int PICK_TARGET_FRAME_TICKS = 10;
