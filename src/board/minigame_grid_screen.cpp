// The grid game's window: the board, its pieces, the walking figure.
#include <cstdint>

#include "board/minigames.h"
#include "board/minigames_screen_kit.h"
#include "engine/cursor.h"
#include "engine/message_draw.h"
#include "engine/modal.h"

namespace {

constexpr uint32_t TICK_MS = 100;

GridGame grid;
bool final_cursor_set = false;

const GridPoint& point(int column, int row) {
    return grid_points[row][column];
}

void draw_pieces(uint16_t* back) {
    for (int row = 0; row < GRID_SIDE; ++row)
        for (int column = 0; column < GRID_SIDE; ++column) {
            const int kind = grid.cells[row][column] & GRID_PIECE_MASK;
            if (!kind || !grid_exists(column, row)) continue;
            const GridPoint& p = point(column, row);
            mg_draw(back, mg_frame(GRID_BOARD_ENTRY, GRID_F_PIECE + kind), p.x, p.y);
        }
}

void draw_figure(uint16_t* back) {
    const GridPoint& here = point(grid.column, grid.row);
    switch (grid.state) {
    case GRID_WALKING: {
        const GridPoint& next = point(grid.next_column, grid.next_row);
        const int x = here.x + ((next.x - here.x) >> 2) * grid.sub;
        const int y = here.y + ((next.y - here.y) >> 2) * grid.sub;
        mg_draw(back, mg_frame(GRID_WALK_ENTRY, grid.facing * GRID_WALK_FRAMES + grid.sub), x, y);
        return;
    }
    case GRID_PICKING:
        mg_draw(back, mg_frame(GRID_PICK_ENTRY, grid.sub), here.x, here.y);
        return;
    case GRID_BOMBED:
        mg_draw(back, mg_frame(GRID_BOARD_ENTRY, GRID_F_BOMBED + (grid.wait_ticks & 1)), here.x,
                here.y);
        return;
    case GRID_MIDDLE_END:
        mg_draw(back, mg_frame(GRID_BOARD_ENTRY, GRID_F_BOMBED), here.x, here.y);
        return;
    case GRID_GOOD_END:
        mg_draw(back, mg_frame(GRID_GOOD_ENTRY, grid.sub), here.x, here.y);
        return;
    case GRID_BAD_END:
        mg_draw(back, mg_frame(GRID_BAD_ENTRY, grid.sub), here.x, here.y);
        return;
    default:
        mg_draw(back, mg_frame(GRID_WALK_ENTRY, grid.facing * GRID_WALK_FRAMES), here.x, here.y);
    }
}

void show() {
    minigame_draw_scene(MINIGAME_GRID);
    mg_present(grid.time, minigame_grid_score(grid));
}

void close_window() {
    screen_timer_stop();
    screen_close(minigame_points);
}

void tick() {
    minigame_grid_frame(grid);
    if (grid.phase == MG_OPENING) {
        minigame_draw_scene(MINIGAME_GRID);
        mg_play_opening();
        minigame_grid_begin(grid);
        cursor_set_shape(GRID_CURSOR_CROSSHAIR, 1, 0);
        cursor_set_mode(1);
    }
    if (grid.phase >= MG_FINAL && !final_cursor_set) {
        final_cursor_set = true;
        cursor_set_mode(0);
        cursor_set_shape(MG_CURSOR_ARROW, 1, 0);
    }
    if (grid.phase == MG_CLOSED) {
        close_window();
        return;
    }
    show();
}

} // namespace

GridGame& minigame_grid_state() {
    return grid;
}

void minigame_grid_draw(uint16_t* back) {
    mg_draw_opaque(back, mg_frame(GRID_BOARD_ENTRY, GRID_F_BOARD), 0, 0);
    draw_pieces(back);
    draw_figure(back);
    if ((grid.cells[grid.row][grid.column] & GRID_BEHIND_MASK) != 0)
        mg_draw(back, mg_frame(GRID_BOARD_ENTRY, GRID_OBSTACLE_FRAME), GRID_OBSTACLE_X,
                GRID_OBSTACLE_Y);
    if (grid.fly_kind > 0) {
        const GridPoint& p = point(grid.fly_column, grid.fly_row);
        mg_draw(back, mg_frame(GRID_FLY_FIRST_ENTRY + grid.fly_kind - 1, grid.fly_frame), p.x, p.y);
    }
    mg_draw_panel(back, grid.time, minigame_grid_score(grid));
    for (int kind = 2; kind < GRID_KINDS; ++kind)
        mg_draw_count(back, kind - 2, mg_frame(GRID_BOARD_ENTRY, GRID_F_PIECE + kind),
                      grid.counts[kind]);
    if (grid.phase >= MG_FINAL) mg_draw_final_score(back, minigame_grid_score(grid));
}

int32_t minigame_grid_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                              int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        final_cursor_set = false;
        minigame_draw_scene(MINIGAME_GRID);
        mg_present_all();
        screen_timer_start(TICK_MS);
        return 0;
    case WM_LBUTTONDOWN:
        minigame_grid_click(
            grid, grid_hit_at(mgw.hit, mgw.hit_size, plat_point_x(lparam), plat_point_y(lparam)));
        return 0;
    case WM_TIMER:
        if (mg_tick_due(message, wparam)) tick();
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}
