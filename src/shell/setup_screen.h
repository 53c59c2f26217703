// The new-game setup screen; where it puts things is in shell/setup_layout.h,
// what its choices do in shell/setup.h.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// 1 when a game was set up and initialised, 0 back to the title.
int setup_run(int continuing);

// The window's parts, which setup_run puts around its modal loop and the
// benchmarks drive by hand: its pictures read and the setup begun, the
// window procedure (a timer message with wParam the stack depth is one
// frame drawn into the back surface), and everything freed.
void setup_window_open(int continuing);
int32_t setup_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
void setup_window_close();
