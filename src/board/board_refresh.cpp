// The door from the rules to the board screen: the board's state and the
// shown log here, the pictures through the presenter the board window fills.
#include "board/board_refresh.h"

#include <cstdio>
#include <cstring>

#include "board/board_panel_sets.h"
#include "board/game_state.h"
#include "engine/modal.h"
#include "engine/shown.h"

uint8_t board_input_enabled = 0;
uint8_t board_scroll_target = 0;
int32_t board_scroll_x = 0;
int32_t board_scroll_y = 0;

namespace {

// Without the board window nothing is drawn.
void show_nothing() {}
void show_nothing_at(int) {}
void show_no_dice(const int*, int) {}

} // namespace

constinit PresenterSlot<BoardPresenter> board_presenter{BoardPresenter{
    .view_at_camera = show_nothing,
    .minimap = show_nothing,
    .centred_view = show_nothing,
    .toolbar = show_nothing,
    .repaint = show_nothing_at,
    .flush = show_nothing,
    .control_box = show_nothing_at,
    .cursor_to_go = show_nothing,
    .actor_panel = show_nothing,
    .dice = show_no_dice,
    .mark_begin = show_nothing,
    .mark_object = show_nothing_at,
    .flash_marked = show_nothing,
    .minimap_marks = show_nothing_at,
    .animation = show_nothing,
}};

void board_mover_position(int* x, int* y) {
    const int m = game_active_mover;
    *x = 0, *y = 0;
    if (m >= 0 && m < PLAYER_COUNT) {
        *x = player_table[m].x, *y = player_table[m].y;
    } else if (m >= MOVER_THIEF && m < MOVER_COUNT) {
        const WalkerRecord& w = walker_of_mover(m);
        *x = w.x, *y = w.y;
    }
}

void board_view_refresh(int x, int y, int flags) {
    shown_record(Shown::BoardRefresh, flags);
    const BoardPresenter& board = board_presenter();
    if (flags & 1) {
        board.view_at_camera();
    } else {
        int mx, my;
        board_mover_position(&mx, &my);
        if (x == mx && y == my) {
            board_scroll_target = 0;
        } else {
            board_scroll_target = 1;
            board_scroll_x = x, board_scroll_y = y;
        }
        board.minimap_marks(0);
        board.minimap();
        board.centred_view();
    }
    if (flags & 2) board.toolbar();
    if (flags & 4) board.repaint(0);
    board.flush();
}

// The panel is drawn for the actor as if it were the one moving.
int board_refresh_actor_panel(int actor) {
    if (actor < 0 || actor > 7 || screen_depth > 1) return 0;
    const int32_t saved = game_active_mover;
    game_active_mover = actor;
    board_presenter().actor_panel();
    game_active_mover = saved;
    return 1;
}

void board_repaint_all() {
    shown_record(Shown::BoardRefresh, -1);
    board_clear_scroll_target();
    board_presenter().repaint(1);
}

void board_repaint(int flag) {
    board_presenter().repaint(flag);
}

void board_clear_scroll_target() {
    board_scroll_target = 0;
}

void board_show_mover_view() {
    board_presenter().centred_view();
    board_presenter().flush();
}

void board_input_enable() {
    board_input_enabled = 1;
    board_presenter().control_box(1);
}

void board_input_disable() {
    board_input_enabled = 0;
    board_presenter().control_box(0);
}

void board_cursor_to_go() {
    board_presenter().cursor_to_go();
}

void board_show_dice(const int* values, int n) {
    char faces[32] = "dice";
    for (int i = 0; i < n && i < 3; ++i) {
        const size_t used = std::strlen(faces);
        std::snprintf(faces + used, sizeof faces - used, " %d", values[i]);
    }
    shown_record(Shown::Panel, PANEL_DICE, 0, faces);
    board_presenter().dice(values, n);
}

void board_mark_begin() {
    board_presenter().mark_begin();
}

void board_mark_object(int code) {
    board_presenter().mark_object(code);
}

void board_flash_marked() {
    board_presenter().flash_marked();
}

void board_minimap_marks(int large) {
    board_presenter().minimap_marks(large);
}

void board_play_animation() {
    board_presenter().animation();
}
