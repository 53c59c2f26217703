// The software cursor and its 20 ms timer.
//
// The system pointer is hidden while the cursor runs; an animated frame of
// data.mkf entry 0 is drawn straight onto the primary surface instead. The
// 20 ms tick only counts: the board's animation steps and the cursor ticks
// that are due. Everything that touches the display (saving the pixels under
// the cursor, drawing, restoring) runs on the main thread, from the hook the
// platform layer calls whenever it takes messages, drains input, idles or
// presents, and from cursor_hide / cursor_show around every copy to the
// display. The two threads share only atomic counters and flags.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/image.h"
#include "platform/messages.h"

inline constexpr int CURSOR_BOX = 32; // the save-under box is 32 x 32

// cursor_flags bits.
inline constexpr uint8_t CURSOR_DRAWN = 0x01;    // the cursor is on the display now
inline constexpr uint8_t CURSOR_NO_VSYNC = 0x02; // do not wait for the vertical blank

struct CursorState {
    void* cursor_frames;     // the frame set (data.mkf entry 0), 0 until cursor_start
    int32_t first;           // the current shape's first frame in the set
    int32_t frame_count;     // frames of the current shape (1 = still, 0 = none set)
    int32_t frame_index;     // 0 .. frame_count - 1
    int32_t ticks_per_frame; // timer ticks between animation frames
    int32_t tick_count;      // ticks counted toward the next frame
    uint8_t cursor_mode;     // 1 on, any other value off
    uint8_t cursor_flags;    // CURSOR_DRAWN, CURSOR_NO_VSYNC
    uint8_t cursor_busy;     // set while the cursor is being drawn or removed
    int32_t last_x, last_y;  // mouse position at the last draw; last_x -1: nothing saved
    int32_t box_x, box_y;    // top-left of the saved box
    int32_t box_w, box_h;    // its size after the cut at the screen's edges
    ImageRecord* save_under; // 32 x 32: the display pixels under the cursor
};
extern CursorState cursor_state;

// Timer ticks per board animation step by game speed 0, 1, 2.
extern const uint8_t anim_tick_table[3];
// Ticks counted toward the next board animation step (timer only).
extern std::atomic<uint8_t> anim_tick_count;
// Raised by the cursor timer when a board animation step is due; consumed by
// the turn driver's tick.
extern std::atomic<uint8_t> anim_step_pending;
// Cursor ticks raised by the timer and not yet served by the main thread.
extern std::atomic<uint32_t> cursor_due;

// Loads the cursor frames, hides the system pointer and starts the timer
// (once: nothing when the frames are loaded).
void cursor_start();
// Stops the timer, frees the frames and shows the system pointer again.
void cursor_stop();
// The shape: frames first .. first + count - 1, advancing every ticks timer
// ticks; a shape reaching past the set is ignored.
void cursor_set_shape(int first, int count, int ticks);
// Around a copy of rect to the display (nullptr: unconditionally): hide
// removes the cursor, show draws it again at the mouse position. Both act
// only while the mode is 1 and the program is not quitting; with a rectangle
// only when it meets the cursor's box.
void cursor_hide(const PlatRect* rect);
void cursor_show(const PlatRect* rect);
// Mode 1 shows the cursor; any other mode hides it first.
void cursor_set_mode(int mode);
uint8_t cursor_get_mode();
// A window that waits for a click shows the pointer while it is open,
// whatever mode the command that opened it left (the board takes the pointer
// off while a command or a move runs): cursor_show_for_clicks shows it and
// returns what to hand cursor_give_back when the window closes. Nothing
// without a display.
int cursor_show_for_clicks();
void cursor_give_back(int before);
// 1 waits for the vertical blank before a redraw, anything else does not.
// The redraw never blocks on it: the wait belongs to a display that tears.
void cursor_set_vsync_wait(int on);
// The cursor's 32 x 32 box at the mouse position less the hot spot, cut to
// 640 x 480.
void cursor_get_rect(PlatRect* rect);

// The 20 ms timer: the board's animation tick and a cursor tick due. Runs on
// the timer's thread and touches nothing but atomics.
void cursor_timer_tick();
// The main thread's part of the timer (the platform hook): animates the
// shape and redraws the cursor when the mouse moved or the frame changed.
void cursor_serve_ticks();
