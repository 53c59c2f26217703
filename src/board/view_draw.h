// Between the view's state half (board/view.cpp) and its pictures
// (board/view_paint.cpp, board/sprites.cpp).
#pragma once

#include <cstdint>

#include "board/view.h"

// Frames per direction of a mover's slot: count / 8 by the animation counts.
int view_frames_per_direction(int slot);
// Tints mover m's loaded sets blue (hibernation).
void view_tint_mover(int m);
// The pixels of a render: terrain, markers, the sorted list and the steps
// left; nothing without a back surface.
void view_paint();
// True when view_paint has a back surface to paint into.
bool view_paint_possible();
// The frame set an entry is drawn from, nullptr when not loaded.
void* view_entry_set(const ViewDrawEntry& e);
// Writes code into every opaque pixel of the frame drawn at screen (x, y),
// 40 pixels up into the map; clipped to the map.
void view_stamp(uint16_t* map, const void* set, int frame, int x, int y, uint16_t code);
// The camera, the draw list and the hit map's camera back to their start.
void view_reset_state();

// A frame drawn into a 16-bit surface at (x, y) by its hot spot, clipped to
// the rectangle [cx0, cx1) x [cy0, cy1). An "SPR" frame goes through its
// set's palette; index 0 (or pixel 0) is transparent. With `fill` not 0
// every opaque pixel takes that colour.
void view_blit_frame(uint16_t* dst, int pitch_pixels, const void* set, int frame, int x, int y,
                     int cx0, int cy0, int cx1, int cy1, uint16_t fill = 0);
