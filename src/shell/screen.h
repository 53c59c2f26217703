// The main window procedure and the board screen's place on the stack.
//
// The stack of modal screens is the engine's (engine/modal.h). The main
// window procedure passes every message it does not handle itself to the
// procedure on top. The board screen is the bottom of the stack during a
// game and is driven by the main loop instead.
#pragma once

#include <cstdint>

#include "engine/modal.h"
#include "platform/messages.h"

// Set at the first deactivation, never cleared.
extern int32_t app_was_inactive;

// Puts the board screen on the stack without a nested loop and flags the
// active mover for its turn step; a non-zero flag starts the music.
void screen_push_board(int start_music);
// Takes the board screen off again and stops the music.
void screen_pop_board();

// The main window procedure.
int32_t app_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);

// Empties the stack and forgets any deactivation (tests call it in SetUp).
void screen_reset();
