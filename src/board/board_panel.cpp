#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/world_reset.h"

// The reset of the board screen's display bookkeeping, apart from the window.

// A new game or a load starts the board's display bookkeeping afresh: no
// region dirty, input off until the turn asks for it, the view's scroll
// position and target back with the view camera. What belongs to the board
// window itself (its shown flag, the tabs, the toolbar's hover and press) is
// set when the window is pushed, and the control box stays where the player
// left it for the whole run: a load over a running game keeps the window on
// the stack and only repaints it.
void board_screen_reset() {
    board_dirty = 0;
    board_input_enabled = 0;
    board_scroll_target = 0;
    board_scroll_x = board_scroll_y = 0;
    board_copy_count = 0;
}

WORLD_RESET(WORLD_RESET_BOARD_SCREEN, board_screen_reset)
