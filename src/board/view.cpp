#include "board/view.h"

#include "engine/shown.h"

// The board view is not built yet: it returns at once while nothing is shown.
uint16_t* view_hitmap = nullptr;
int32_t hitmap_view_pos[2] = {};
void board_view_refresh(int, int, int flags) {
    shown_record(Shown::BoardRefresh, flags);
}
void view_hitmap_build(int) {}
void view_play_animation() {}
void view_draw_minimap_marks(int) {}
uint16_t view_pick_list[VIEW_PICK_LIST_SIZE] = {};
int view_hitmap_list_radius(int) {
    return 0;
}
void view_load_map_graphics(int) {}
void view_free_map_graphics() {}
