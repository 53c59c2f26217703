#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "shell/screen.h"
#include "shell/settings.h"

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

// The board screen's flags start a game cleared.
void board_screen_reset() {
    board_dirty = 0;
    board_input_enabled = 0;
}

WORLD_RESET(WORLD_RESET_BOARD_SCREEN, board_screen_reset)
