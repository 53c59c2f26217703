// The modal loop's entry for windows of every layer. The shell's screen
// stack implements it (shell/screen.cpp): screen_run pushes a window
// procedure, sends it WM_SCREEN_START and runs a nested message loop until
// the window calls screen_close.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Private messages, posted by a screen to itself through the main window so
// the work runs after the message being handled.
inline constexpr uint32_t WM_SCREEN_START = WM_USER + 1; // 1025: lParam = the caller's argument
inline constexpr uint32_t WM_SCREEN_END = WM_USER + 2;   // 1026: never dispatched; lParam = result

// Runs a modal screen; returns the result it passed to screen_close. Returns 0
// at once, without running the screen, when the stack is full or the window
// is being closed; returns 0 too when the window is closed while it runs
// (every open modal loop then unwinds). `proc_name` is the procedure's name
// in the caller's source, which the screen trace (KARVO_TRACE_SCREENS=1)
// prints; screen_run passes it by itself.
int32_t screen_run_named(PlatWndProc proc, int32_t arg, const char* proc_name);
#define screen_run(proc, arg) screen_run_named((proc), (arg), #proc)
// Ends the top screen with a result. A screen closes once: a second call
// before its loop has ended is ignored.
void screen_close(int32_t result);
// A screen's own window timer: its id is the depth the screen runs at.
void screen_timer_start(uint32_t ms);
void screen_timer_stop();
// True when a timer message (its wParam) belongs to the top screen.
bool screen_timer_is_mine(uint32_t wparam);
