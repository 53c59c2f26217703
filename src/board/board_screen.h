// The main board screen: toolbar, board view, side panel, minimap and
// calendar, and the control box. Game code reaches it through the door
// (board_refresh.h), whose presenter this window fills.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Regions drawn but not yet copied to the display.
inline constexpr uint8_t DIRTY_TOOLBAR = 1;   // (0, 0)-(440, 40)
inline constexpr uint8_t DIRTY_VIEW = 2;      // (0, 40)-(440, 480)
inline constexpr uint8_t DIRTY_TOP = 4;       // (440, 0)-(640, 80)
inline constexpr uint8_t DIRTY_MIDDLE = 8;    // (440, 80)-(640, 280)
inline constexpr uint8_t DIRTY_BOTTOM = 0x10; // (440, 280)-(640, 480)
inline constexpr uint8_t DIRTY_ALL = 0x1F;
extern uint8_t board_dirty;
// 1 from the board screen's start until its graphics are freed at the game's end.
extern uint8_t board_screen_active;

// The board screen's window procedure.
int32_t board_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
// Loads the board pictures (nothing when loaded); frees them and the map.
void board_load_graphics();
void board_free_graphics();

void board_draw_side_panel(int refresh);
void board_draw_header_panel(int refresh);
// Renders the board view centred on the scroll target, or else on the current mover.
void board_draw_map_view(int refresh);
// Copies the dirty regions to the display.
void board_flush_dirty();
// Where the mouse goes for the go button (screen pixels).
void board_go_button_point(int* x, int* y);

// Copies made to the display (each region copy, or one for the whole screen).
extern uint32_t board_copy_count;
// The selected side-panel tab of each player.
extern uint8_t board_tabs[4];
// Hovered toolbar button (-1 none); pressed item (0 none, 1/2 the rotation
// buttons, 100 + n toolbar button n).
extern int32_t board_hover;
extern int32_t board_pressed;
// The control box's top-left corner; it stays where the player leaves it.
inline constexpr int32_t BOARD_BOX_START_X = 180, BOARD_BOX_START_Y = 120;
extern int32_t board_box_x;
extern int32_t board_box_y;
// The picture set of today's holiday on the map's calendar (200 x 200 at
// most, kept by the board), nullptr when today is none or it is missing.
const void* board_holiday_picture();
// The calendar's page: 0 the day, 1 the month.
extern uint8_t& board_calendar_page; // the settings' calendar page (engine/options.h)

void board_draw_toolbar(int refresh);
void board_draw_minimap(int refresh);
void board_draw_calendar(int refresh);
// Draws (show 1) or takes away (0) the control box on the display.
void board_draw_control_box(int show);
// Redraws the control box when input is enabled and the rectangle meets it.
void board_control_box_clip(const PlatRect& rect);
void board_show_info_popup(int x, int y);
// Runs toolbar command n (a ToolbarCommand) through the toolbar's table.
void board_toolbar_command(int n);
void board_info_popup_frame();
// Puts the board's display bookkeeping back to its start for a new game or a
// load; the window's own state is set when it is pushed (WM_SCREEN_START).
void board_screen_reset();
