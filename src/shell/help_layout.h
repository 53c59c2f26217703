// The help viewer's picture set (help.mkf 0) and where its parts go, in
// pixels from the window's top-left corner.
#pragma once

#include "platform/messages.h"

inline constexpr int HELP_SET_ENTRY = 0;
// The window's size when its picture is missing.
inline constexpr int HELP_W = 384, HELP_H = 384;

inline constexpr int HELP_FRAME_WINDOW = 0;
inline constexpr int HELP_FRAME_TAB = 1; // the highlighted chapter tab
// Arrow a (HelpArrow) in look l (HelpArrowLook) is frame 2 + 3a + l.
inline constexpr int HELP_FRAME_ARROW_FIRST = 2;
inline constexpr int HELP_FRAME_MARKER = 14; // beside the topic shown
inline constexpr int HELP_FRAME_COUNT = 15;

enum HelpArrow : int { HELP_LIST_UP = 0, HELP_LIST_DOWN = 1, HELP_PAGE_BACK = 2, HELP_PAGE_ON = 3 };
enum HelpArrowLook : int { HELP_LOOK_PLAIN = 0, HELP_LOOK_PRESSED = 1, HELP_LOOK_DIMMED = 2 };
inline constexpr int HELP_ARROW_COUNT = 4;
inline constexpr PlatRect HELP_ARROW_RECTS[HELP_ARROW_COUNT] = {
    {110, 356, 146, 376}, {154, 356, 190, 376}, {246, 358, 286, 378}, {296, 358, 336, 378}};

// Chapter tab j: x 26..91, y 58 + 36 j .. 90 + 36 j; its title centred at (59, 73 + 36 j).
inline constexpr int HELP_TAB_LEFT = 26, HELP_TAB_RIGHT = 91, HELP_TAB_TOP = 58, HELP_TAB_H = 32,
                     HELP_TAB_STEP = 36, HELP_TAB_TITLE_X = 59, HELP_TAB_TITLE_Y = 73;
// Topic row i: x 108..192, y 78 + 34 i .. 110 + 34 i.
inline constexpr int HELP_ROW_LEFT = 108, HELP_ROW_RIGHT = 192, HELP_ROW_TOP = 78, HELP_ROW_H = 32,
                     HELP_ROW_STEP = 34, HELP_ROWS = 8;
inline constexpr int HELP_MARKER_X = 102; // the marker's hot spot, on the row's middle
inline constexpr int HELP_CHAPTER_TITLE_X = 140, HELP_CHAPTER_TITLE_Y = 57;
// The page: 150 x 274 at (216, 80); line i at (232, 90 + 18 i).
inline constexpr PlatRect HELP_PAGE_RECT = {216, 80, 366, 354};
inline constexpr int HELP_LINE_X = 232, HELP_LINE_Y = 90, HELP_LINE_STEP = 18;
