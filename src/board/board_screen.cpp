#include "board/board_screen.h"

#include "board/game_state.h"
#include "board/view.h"
#include "engine/shown.h"
#include "platform/surface.h"
#include "shell/app.h"

uint8_t board_dirty = 0;
uint8_t board_input_enabled = 0;
uint8_t board_scroll_target = 0;
int32_t board_scroll_x = 0;
int32_t board_scroll_y = 0;

namespace {

constexpr PlatRect REGIONS[5] = {
    {0, 0, 440, 40},     {0, 40, 440, 480},    {440, 0, 640, 80},
    {440, 80, 640, 280}, {440, 280, 640, 480},
};

void copy_rect(const PlatRect& r) {
    if (!primary_surface || !back_surface) return;
    plat_blt_fast(primary_surface, r.left, r.top, back_surface, &r);
}

// A region drawn: copied at once or left for the next flush.
void region_done(uint8_t bits, int refresh) {
    if (!refresh) {
        board_dirty |= bits;
        return;
    }
    for (int i = 0; i < 5; ++i)
        if (bits & (1 << i)) copy_rect(REGIONS[i]);
    board_dirty &= static_cast<uint8_t>(~bits);
}

} // namespace

int32_t board_wndproc(PlatWindow, uint32_t, uint32_t, int32_t) {
    return 0;
}
void board_load_graphics() {}
void board_free_graphics() {}
void board_draw_side_panel(int) {}
void board_draw_header_panel(int) {}

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

void board_draw_map_view(int refresh) {
    int x, y;
    if (board_scroll_target) {
        x = board_scroll_x, y = board_scroll_y;
    } else {
        board_mover_position(&x, &y);
    }
    view_draw_board(x, y);
    region_done(DIRTY_VIEW, refresh);
}

void board_repaint(int flag) {
    board_draw_map_view(0);
    if (flag) {
        if (primary_surface && back_surface)
            plat_blt_fast(primary_surface, 0, 0, back_surface, nullptr);
        board_dirty = 0;
    }
}

void board_repaint_all() {
    shown_record(Shown::BoardRefresh, -1);
    board_clear_scroll_target();
    board_repaint(1);
}

void board_view_refresh(int x, int y, int flags) {
    shown_record(Shown::BoardRefresh, flags);
    if (flags & 1) {
        view_draw_board(-1, 0);
        board_dirty |= DIRTY_VIEW;
    } else {
        int mx, my;
        board_mover_position(&mx, &my);
        if (x == mx && y == my) {
            board_scroll_target = 0;
        } else {
            board_scroll_target = 1;
            board_scroll_x = x, board_scroll_y = y;
        }
        view_draw_minimap_marks(0);
        board_draw_map_view(0);
    }
    if (flags & 4) board_repaint(0);
    board_flush_dirty();
}

void board_flush_dirty() {
    if (board_dirty == DIRTY_ALL) {
        if (primary_surface && back_surface)
            plat_blt_fast(primary_surface, 0, 0, back_surface, nullptr);
        board_dirty = 0;
        return;
    }
    for (int i = 0; i < 5; ++i)
        if (board_dirty & (1 << i)) copy_rect(REGIONS[i]);
    board_dirty = 0;
}

void board_input_enable() {
    board_input_enabled = 1;
}
void board_input_disable() {
    board_input_enabled = 0;
}
void board_clear_scroll_target() {
    board_scroll_target = 0;
}
