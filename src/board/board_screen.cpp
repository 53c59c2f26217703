#include "board/board_screen.h"

#include "engine/shown.h"

// The board screen is not built yet: it returns at once while nothing is shown.
uint8_t board_dirty = 0;
uint8_t board_input_enabled = 0;
int32_t board_wndproc(PlatWindow, uint32_t, uint32_t, int32_t) {
    return 0;
}
void board_load_graphics() {}
void board_free_graphics() {}
void board_draw_side_panel(int) {}
void board_draw_header_panel(int) {}
void board_repaint_all() {
    shown_record(Shown::BoardRefresh, -1);
}
void board_draw_map_view(int) {}
void board_flush_dirty() {}
void board_input_enable() {}
void board_clear_scroll_target() {}
