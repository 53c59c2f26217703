// The main board screen: toolbar and side panel.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Regions drawn but not yet copied to the display.
extern uint8_t board_dirty;
// 1 while the board accepts input.
extern uint8_t board_input_enabled;

// The board screen's window procedure.
int32_t board_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
// Loads the board pictures (nothing when loaded); frees them and the map.
void board_load_graphics();
void board_free_graphics();

void board_draw_side_panel(int refresh);
void board_draw_header_panel(int refresh);
void board_repaint_all();
// Renders the board view centred on the scroll target, or else on the current mover.
void board_draw_map_view(int refresh);
// Copies the dirty regions to the display.
void board_flush_dirty();
// Enables the board's input and shows the control box.
void board_input_enable();
// Forgets the board's scroll target.
void board_clear_scroll_target();
// Clears the board screen's flags for a new game.
void board_screen_reset();
// Redraws the side panel (or the header panel, by the layout option) for
// mover actor (0..7) while no modal screen is open over the board; 1 when it
// drew, 0 when it did not.
int board_refresh_actor_panel(int actor);
