// The stack of modal screens and the main window procedure.
//
// Every screen is a window procedure on the stack. screen_run pushes one,
// sends it the start message and runs a nested message loop until the screen
// closes itself; the main window procedure passes every message it does not
// handle itself to the procedure on top. The board screen is the bottom of
// the stack during a game and is driven by the main loop instead.
#pragma once

#include <cstdint>

#include "engine/modal.h"
#include "platform/messages.h"

inline constexpr int SCREEN_STACK_SIZE = 16; // entry 0 stays empty
inline constexpr int SCREEN_MAX_DEPTH = SCREEN_STACK_SIZE - 1;

// The screens' own private messages (the start and end are engine/modal.h's).
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

extern int32_t screen_depth;
extern PlatWndProc screen_procs[SCREEN_STACK_SIZE];
// Set at the first deactivation, never cleared.
extern int32_t app_was_inactive;

// Puts the board screen on the stack without a nested loop and flags the
// active mover for its turn step; a non-zero flag starts the music.
void screen_push_board(int start_music);
// Takes the board screen off again and stops the music.
void screen_pop_board();

// The main window procedure.
int32_t app_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);

// Empties the stack (tests call it in SetUp).
void screen_reset();
