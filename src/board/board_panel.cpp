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

// A new game starts with the board screen as it first opens: flags cleared,
// every player on the first tab, nothing hovered or pressed, the control box
// at its first place. The calendar page is an option and stays.
void board_screen_reset() {
    board_dirty = 0;
    board_input_enabled = 0;
    board_screen_active = 0;
    board_scroll_target = 0;
    board_scroll_x = board_scroll_y = 0;
    board_copy_count = 0;
    for (uint8_t& tab : board_tabs)
        tab = 0;
    board_hover = -1;
    board_pressed = 0;
    board_box_x = BOARD_BOX_START_X;
    board_box_y = BOARD_BOX_START_Y;
}

WORLD_RESET(WORLD_RESET_BOARD_SCREEN, board_screen_reset)
