// The software cursor and its 20 ms timer.
#pragma once

#include <atomic>
#include <cstdint>

// Raised by the cursor timer when a board animation step is due; consumed by
// the turn driver's tick.
extern std::atomic<uint8_t> anim_step_pending;

// Loads the cursor frames, hides the system pointer and starts the timer.
void cursor_start();
// Stops the timer, frees the frames and shows the system pointer again.
void cursor_stop();
// The shape: frames first .. first + count - 1, advancing every ticks timer ticks.
void cursor_set_shape(int first, int count, int ticks);

struct PlatRect;
// Takes the cursor off the display before rect is copied there (nullptr:
// unconditionally), and puts it back after.
void cursor_hide(const PlatRect* rect);
void cursor_show(const PlatRect* rect);
