// The stack of modal screens, the modal loop's entry for windows of every
// layer (engine/screen_stack.cpp). Every screen is a window procedure on the
// stack: screen_run pushes one, sends it WM_SCREEN_START and runs a nested
// message loop until the window calls screen_close. The main window
// procedure (the shell's) hands the top procedure every message it does not
// handle itself.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Private messages, posted by a screen to itself through the main window so
// the work runs after the message being handled.
inline constexpr uint32_t WM_SCREEN_START = WM_USER + 1; // 1025: lParam = the caller's argument
inline constexpr uint32_t WM_SCREEN_END = WM_USER + 2;   // 1026: never dispatched; lParam = result

// The screens' own private messages.
inline constexpr uint32_t WM_SCREEN_READY =
    WM_USER + 5; // 1029: after the first paint (mini-games: game over)
inline constexpr uint32_t WM_LOTTERY_LEAVE = WM_USER + 6; // 1030: end of the visit
inline constexpr uint32_t WM_AUCTION_BID =
    WM_USER + 7; // 1031: wParam 0 pass, 1..5 raise, 6 give up
inline constexpr uint32_t WM_BANK_REMINDER = WM_USER + 8; // 1032
inline constexpr uint32_t WM_BANK_BORROW = WM_USER + 9;   // 1033
inline constexpr uint32_t WM_BANK_REPAY = WM_USER + 10;   // 1034
inline constexpr uint32_t WM_STOCK_DETAIL = WM_USER + 11; // 1035
inline constexpr uint32_t WM_SHOP_SLIDE = WM_USER + 12;   // 1036
inline constexpr uint32_t WM_SHOP_HOVER = WM_USER + 13;   // 1037
inline constexpr uint32_t WM_SHOP_POINTS = WM_USER + 14;  // 1038

// Runs a modal screen; returns the result it passed to screen_close. Returns 0
// at once, without running the screen, when the stack is full or the window
// is being closed; returns 0 too when the window is closed while it runs
// (every open modal loop then unwinds). `proc_name` is the procedure's name,
// which the screen trace (KARVO_TRACE_SCREENS=1) prints; screen_run passes
// the text it was given, which must be a procedure's own name: a procedure
// chosen by an expression does not compile there (the trace would print the
// expression), so each choice gets its own screen_run.
int32_t screen_run_named(PlatWndProc proc, int32_t arg, const char* proc_name);
#define screen_run(proc, arg) screen_run_named((proc), (arg), screen_proc_name(#proc))

// The text itself when it is a name (letters, digits, '_' and "::", no part
// starting with a digit); anything else is not a constant expression.
consteval const char* screen_proc_name(const char* text) {
    const auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    bool start = true;
    for (const char* c = text; *c != '\0'; ++c) {
        if (c[0] == ':' && c[1] == ':') {
            ++c;
            start = true;
        } else if (letter(*c) || (!start && *c >= '0' && *c <= '9')) {
            start = false;
        } else {
            throw "screen_run takes a window procedure by its name";
        }
    }
    if (start) throw "screen_run takes a window procedure by its name";
    return text;
}
// Ends the top screen with a result. A screen closes once: a second call
// before its loop has ended is ignored.
void screen_close(int32_t result);
// A screen's own window timer: its id is the depth the screen runs at.
void screen_timer_start(uint32_t ms);
void screen_timer_stop();
// True when a timer message (its wParam) belongs to the top screen.
bool screen_timer_is_mine(uint32_t wparam);

inline constexpr int SCREEN_STACK_SIZE = 16; // entry 0 stays empty
inline constexpr int SCREEN_MAX_DEPTH = SCREEN_STACK_SIZE - 1;
// The depth of the top screen (0: none) and each depth's procedure.
extern int32_t screen_depth;
extern PlatWndProc screen_procs[SCREEN_STACK_SIZE];

// Puts a procedure on the stack without a nested loop (the board screen, which
// the main loop drives) and posts it the start message; the caller checks
// there is room. screen_pop takes the top one off again.
void screen_push(PlatWndProc proc, const char* proc_name);
void screen_pop();
// Empties the stack.
void screen_stack_reset();
