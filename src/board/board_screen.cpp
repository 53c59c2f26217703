#include "board/board_screen.h"

// The board screen is not built yet: it returns at once while nothing is shown.
void board_draw_side_panel(int) {}
void board_draw_header_panel(int) {}
void board_repaint_all() {}
