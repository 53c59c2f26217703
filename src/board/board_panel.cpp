#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/modal.h"
#include "engine/options.h"

// The parts of the board screen the rules call while the screen itself is
// drawn elsewhere: the side-panel refresh and the reset of its flags.

int board_refresh_actor_panel(int actor) {
    if (actor < 0 || actor > 7 || screen_depth > 1) return 0;
    const int32_t saved = game_active_mover;
    game_active_mover = actor;
    if (settings_side_panel_layout() == 2)
        board_draw_header_panel(1);
    else
        board_draw_side_panel(1);
    game_active_mover = saved;
    return 1;
}

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
