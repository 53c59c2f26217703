// The board view and its hit-test map.
#pragma once

#include <cstdint>

inline constexpr int VIEW_HITMAP_SIDE = 440;
// 440 x 440 object codes of the board view, nullptr while not allocated.
extern uint16_t* view_hitmap;
// The view position the hit-test map was last built for (-1: rebuild).
extern int32_t hitmap_view_pos[2];

void board_view_refresh(int x, int y, int flags);
void view_hitmap_build(int force);
// The celebration film over the board.
void view_play_animation();
void view_draw_minimap_marks(int large);

// Objects listed by the view: entries 0..7 hold a walk-path preview, the
// listing routines write from entry 8 on.
inline constexpr int VIEW_PICK_LIST_SIZE = 8 + 1024;
extern uint16_t view_pick_list[VIEW_PICK_LIST_SIZE];
// Lists the distinct objects of the last draw list within a radius of the
// view centre (-1 the whole view) into view_pick_list from entry 8; the count.
int view_hitmap_list_radius(int radius);
// The graphics half of loading a map: terrain, minimap, markers, sprite sets,
// view pictures, building and decoration sprites, portraits, movers' sprites,
// board marks, god sprites and the board's effect list.
void view_load_map_graphics(int map);
// Frees all of it, clears the movers' sprite sets, the view's scroll target
// and camera.
void view_free_map_graphics();
