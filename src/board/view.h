// The board view and its hit-test map.
#pragma once

#include <cstdint>

inline constexpr int VIEW_HITMAP_SIDE = 440;
// 440 x 440 object codes of the board view, nullptr while not allocated.
extern uint16_t* view_hitmap;

void board_view_refresh(int x, int y, int flags);
void view_hitmap_build(int force);
// The celebration film over the board.
void view_play_animation();
void view_draw_minimap_marks(int large);
