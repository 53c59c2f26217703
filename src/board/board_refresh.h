// The one door from the rules to the board screen: what game code calls after
// it changed the board or wants a place shown. Each call records in the shown
// log first (engine/shown.h); with no display it returns after that.
//
// Rule files include this header, never board_screen.h or the drawing headers.
#pragma once

// flags bit 0: re-render the view at the current camera; without it the view
// is centred on world (x, y) (the current mover's position clears the scroll
// target, any other point sets it). Bit 1 also redraws the toolbar, bit 2
// repaints everything. Game code calls board_view_refresh(0, 0, 1) after
// changing the board and board_view_refresh(x, y, 0) to show a place.
void board_view_refresh(int x, int y, int flags);
// Repaints every region of the board screen.
void board_repaint_all();
// Redraws the side panel (or the header panel, by the layout option) for
// mover actor (0..7) while no modal screen is open over the board; 1 when it
// drew, 0 when it did not.
int board_refresh_actor_panel(int actor);
// Forgets the board's scroll target.
void board_clear_scroll_target();
