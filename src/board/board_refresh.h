// The one door from the rules to the board screen: what game code calls after
// it changed the board or wants a place shown. Each call records in the shown
// log first (engine/shown.h); with no display it returns after that.
//
// Rule files include this header, never board_screen.h or the drawing headers.
// The door keeps the board's own state (the scroll target, whether it takes
// input) and shows the rest through the board presenter, which the board
// window fills.
#pragma once

#include <cstdint>

#include "engine/presenter.h"

// 1 while the board accepts input.
extern uint8_t board_input_enabled;
// The scroll target that replaces the current mover as the view's centre.
extern uint8_t board_scroll_target;
extern int32_t board_scroll_x;
extern int32_t board_scroll_y;
// World position of the current mover (a player's or a wandering character's).
void board_mover_position(int* x, int* y);

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
// Repaints every region; with flag non-zero the whole back buffer is copied
// to the display at once.
void board_repaint(int flag);
// Renders the view centred on the scroll target, or else on the current
// mover, and shows it.
void board_show_mover_view();

// Enables the board's input and shows the control box; disabling hides it.
void board_input_enable();
void board_input_disable();
// A human's turn waits for the go click: the mouse is put on the control
// box's go button and the cursor shown.
void board_cursor_to_go();
// Draws the faces of n dice (values 1..6) beside the active mover and shows
// them; the next render of the view takes them away.
void board_show_dice(const int* values, int n);

// Highlighting objects: board_mark_begin takes the board's objects as they
// are drawn now, board_mark_object marks one object code among them and
// board_flash_marked makes the marked ones blink (recorded as a flash).
void board_mark_begin();
void board_mark_object(int code);
void board_flash_marked();
// Redraws the minimap's ownership marks (0 the small minimap, 1 the large).
void board_minimap_marks(int large);
// The celebration film over the whole board.
void board_play_animation();

// What the board window shows for the door. The view, the minimap and the
// toolbar are drawn and left for the flush, which copies them to the display.
struct BoardPresenter {
    void (*view_at_camera)(); // the view again at its camera
    void (*minimap)();
    void (*centred_view)(); // the view around the scroll target, or else the mover
    void (*toolbar)();
    void (*repaint)(int flush); // every region; flush 1 copies the whole screen at once
    void (*flush)();
    void (*control_box)(int show);
    void (*cursor_to_go)();
    void (*actor_panel)(); // the side or header panel of the active mover, shown at once
    void (*dice)(const int* values, int n);
    void (*mark_begin)();
    void (*mark_object)(int code);
    void (*flash_marked)();
    void (*minimap_marks)(int large);
    void (*animation)();
};
extern PresenterSlot<BoardPresenter> board_presenter;
