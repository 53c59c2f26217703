// The layer's start and end, the one main window and the message box.
//
// Environment: KARVO_HEADLESS=1 runs on SDL's dummy drivers with the virtual
// clock; KARVO_WINDOWED=1 opens a window instead of taking the full screen;
// KARVO_SCRIPT=file feeds scripted input (platform/script.h) and closes the
// window when it has run out.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Starts the layer: SDL's video and event parts, the clock (virtual when
// headless), the script named by KARVO_SCRIPT. Every platform module is
// reset first. False when SDL cannot start or the script cannot be read;
// plat_init_error() then says why (the caller tells the user, once).
bool plat_init();
const char* plat_init_error();
// Stops the layer: the tick, the window, SDL. Safe to call twice.
void plat_shutdown();
bool plat_headless();
bool plat_windowed();

// Creates the main window (not shown yet) with its procedure.
PlatWindow plat_create_window(const char* title, PlatWndProc proc);
// Shows the window; the first activation is delivered here, with or
// without a display.
void plat_show_window();
// Destroys the window: WM_DESTROY goes straight to its procedure. Once only.
void plat_destroy_window();
bool plat_window_destroyed();
// Shows or hides the system mouse pointer over the window (the software
// cursor hides it while it runs).
void plat_show_system_cursor(bool show);
// Gives the window the keyboard focus.
void plat_set_focus();

// The display: opening it, then taking the full screen (or a window) at
// 640 x 480. Either may fail; tests can make them fail (step 1 open, 2 mode).
bool plat_display_open();
bool plat_display_set_mode(int32_t width, int32_t height, int32_t bits);
void plat_display_close();
void plat_test_fail_display(int step);

// Message box flags.
inline constexpr uint32_t MB_OK = 0x00;
inline constexpr uint32_t MB_ICONERROR = 0x10;
// Shows a message box (printed to standard error when there is no display).
void plat_message_box(const char* text, const char* caption, uint32_t flags);
// How many message boxes were shown, and the text and caption of the last
// (for tests).
int plat_message_box_count();
const char* plat_last_message_box();
const char* plat_last_message_box_caption();
// A box shown now is centred on the screen rather than on the main window
// (true until the window is shown; a shown window is centred or full screen).
bool plat_message_box_centred_on_screen();

// Internal to the layer: takes what the window system has delivered (input,
// activation, the close request) and presents the primary surface when it
// changed.
void plat_window_pump();
void plat_window_present();
// Tests: asks for a new window size, as a player dragging its border would.
void plat_window_test_resize(int width, int height);
// The size of the window's drawing area and where on it the 640 x 480
// picture is shown (after a present); false without a window on a display.
bool plat_window_picture_geometry(int* window_w, int* window_h, PlatRect* picture);
// Moves the system pointer to a 640 x 480 position inside the window.
void plat_window_warp_mouse(int x, int y);
