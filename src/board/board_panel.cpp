#include "board/board_screen.h"
#include "board/world_reset.h"

// The board screen's flags start a game cleared.
void board_screen_reset() {
    board_dirty = 0;
    board_input_enabled = 0;
}

WORLD_RESET(WORLD_RESET_BOARD_SCREEN, board_screen_reset)
