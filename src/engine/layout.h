// The named rectangles of the 640 x 480 screen that several windows share.
#pragma once

#include "platform/messages.h"

// The screen's size, and the whole screen as a rectangle.
inline constexpr int SCREEN_W = 640;
inline constexpr int SCREEN_H = 480;
inline constexpr PlatRect screen_rect{0, 0, SCREEN_W, SCREEN_H};
// The board screen's toolbar strip over the board view.
inline constexpr PlatRect LAYOUT_TOOLBAR{0, 0, 440, 40};
// The board view, which is also the drawing clip of the board's sprites.
inline constexpr PlatRect LAYOUT_BOARD_AREA{0, 40, 440, 480};
// The right-hand column: the mover's panel, minimap and calendar.
inline constexpr PlatRect LAYOUT_SIDE_PANEL{440, 0, 640, 480};
// The side column's three regions, top to bottom.
inline constexpr PlatRect LAYOUT_SIDE_TOP{440, 0, 640, 80};
inline constexpr PlatRect LAYOUT_SIDE_MIDDLE{440, 80, 640, 280};
inline constexpr PlatRect LAYOUT_SIDE_BOTTOM{440, 280, 640, 480};
