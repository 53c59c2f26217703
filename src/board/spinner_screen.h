// The spinners' pictures over the board view: the wheel of each kind
// (PANEL.MKF 68 + kind) and the slot machine (PANEL.MKF 67), with the
// message panel above them. Each run saves the board area first and restores
// it at the end; during the run each tick copies the device's rectangle
// straight to the display. With no display open nothing is drawn, and a
// missing picture draws nothing; the spinners' rules run the same.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Pictures.
inline constexpr int SPIN_REELS_ENTRY = 67;       // PANEL.MKF
inline constexpr int SPIN_WHEEL_FIRST_ENTRY = 68; // PANEL.MKF 68 + wheel kind
// Frames of the slot machine's set.
inline constexpr int SPIN_FRAME_BODY_FOUR = 0;
inline constexpr int SPIN_FRAME_BODY_THREE = 1;
inline constexpr int SPIN_FRAME_LEVER_UP = 2;
inline constexpr int SPIN_FRAME_LEVER_DOWN = 3;
inline constexpr int SPIN_FRAME_REEL_FIRST = 4; // + reel position 0..19
// Frames of a wheel's set.
inline constexpr int SPIN_FRAME_POINTER_START = 0;
inline constexpr int SPIN_FRAME_POINTER = 1;
inline constexpr int SPIN_FRAME_WHEEL_FIRST = 2; // + wheel position 0..11
// The message panel: its frame of the board's panel set, its hot spot,
// which is also the middle of its text.
inline constexpr int SPIN_PANEL_FRAME = 5;
inline constexpr int SPIN_PANEL_X = 220, SPIN_PANEL_Y = 130;
// Where they go.
inline constexpr int SPIN_DEVICE_X = 220, SPIN_DEVICE_Y = 320; // the body or the wheel
inline constexpr int SPIN_POINTER_X = 265, SPIN_POINTER_Y = 230;
inline constexpr int SPIN_REEL_Y = 320, SPIN_REEL_W = 38;
inline constexpr int SPIN_LEVER_Y = 240;
// The wheel's rectangle, copied to the display each tick.
inline constexpr PlatRect SPIN_WHEEL_RECT{138, 238, 303, 403};
// Left edges of the reels, left to right, and the lever's place, of the
// four-reel machine and the three-reel one.
inline constexpr int SPIN_REEL_X_FOUR[4] = {145, 182, 219, 256};
inline constexpr int SPIN_REEL_X_THREE[3] = {163, 200, 237};
inline constexpr int SPIN_LEVER_X_FOUR = 317, SPIN_LEVER_X_THREE = 298;
// The left edge of the reel drawn r-th from the left (0-based) of three or four.
int spin_screen_reel_x(int three_reels, int place);
// The left edge of reel r (1 units .. 4 thousands): the units rightmost, so
// the reels read as the amount does.
int spin_screen_reel_x_of(int three_reels, int reel);
int spin_screen_lever_x(int three_reels);

// The wheel of a kind with its prompt: pictures read, board area saved,
// panel, wheel, first pointer and text drawn.
void spin_screen_wheel_open(int kind, const char* text);
// The wheel at a position, with the stop pointer when show_pointer is 1.
void spin_screen_wheel_draw(int position, int show_pointer);
// The slot machine with its text.
void spin_screen_reels_open(int three_reels, const char* text);
// The reels at their positions (spin_reel_position) and the lever.
void spin_screen_reels_draw(int lever_down);
// The message panel with another text (the amount won).
void spin_screen_panel_text(const char* text);
// Copies the whole board area to the display.
void spin_screen_show_board();
// Board area restored, pictures freed.
void spin_screen_close();

// One tick's wait: the input that arrives is taken and dropped, a key or
// button release kept as a stop request, music notifications served.
void spin_screen_tick(uint32_t ms);
// The stop request of a human playing by hand: 1 without a display (the
// spin stops at once), else whether a release came during the last tick.
int spin_screen_stop_input();

// Tests draw with pictures of their own: the set used instead of PANEL.MKF
// 67 (reels) or 68 + kind (wheels), nullptr for the archive again.
void spin_screen_use_pictures(const void* reels, const void* wheels);
