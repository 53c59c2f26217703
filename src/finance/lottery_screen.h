// The lottery's two windows: the ticket window of a human's visit (the 36
// numbers to circle, the holders, the jackpot, the clerk's balloon) and the
// monthly draw (the host, the drum, the drawn number in big digits, the
// winner). The window module fills the rules' lottery_presenter
// (finance/lottery.h); with no display each of its steps returns at once
// after recording what it would show.
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "platform/messages.h"

// PANEL.MKF entries and their frames.
inline constexpr int LOTTO_TICKET_ENTRY = 12; // 0 the window, 1 the stamp, 2 the balloon
inline constexpr int LOTTO_PANELS_ENTRY = 13; // 0 a holder's panel, 1 the jackpot panel
inline constexpr int LOTTO_CLERK_ENTRY = 14;  // 0 the clerk
inline constexpr int LOTTO_DRAW_ENTRY = 15;   // 0 the draw window, 1 the balloon, 2 the host
inline constexpr int LOTTO_DRUM_ENTRY = 16;   // the drum turning, LOTTO_DRUM_FRAMES frames
inline constexpr int LOTTO_DIGITS_ENTRY = 17; // 0-9 the big digits, 10 the winner's banner
inline constexpr int LOTTO_DRUM_FRAMES = 8;
inline constexpr int LOTTO_BANNER_FRAME = 10;

// The ticket: 9 x 4 cells of 64 x 48, the first at (31, 272).
inline constexpr int LOTTO_CELL_X0 = 31, LOTTO_CELL_Y0 = 272;
inline constexpr int LOTTO_CELL_W = 64, LOTTO_CELL_H = 48, LOTTO_CELL_COLUMNS = 9;
// The holders' panels of the ticket window stand this much higher than the
// draw's, above the ticket.
inline constexpr int LOTTO_TICKET_HOLDERS_DY = -304;
inline constexpr int LOTTO_HOLDER_W = 296, LOTTO_HOLDER_H = 60;
// The cell of number n's screen rectangle.
PlatRect lotto_cell_rect(int number);

// The ticket window: the clerk, its balloon and the jackpot panel.
inline constexpr int LOTTO_TICKET_BALLOON_X = 130, LOTTO_TICKET_BALLOON_Y = 172;
inline constexpr int LOTTO_TICKET_CLERK_X = 20, LOTTO_TICKET_CLERK_Y = 172;
inline constexpr int LOTTO_TICKET_JACKPOT_X = 470, LOTTO_TICKET_JACKPOT_Y = 190;
inline constexpr int LOTTO_JACKPOT_W = 150, LOTTO_JACKPOT_H = 60;
// The draw window: the host and its balloon, the drum, the drawn number's two
// digits side by side, the jackpot and the winner's banner.
inline constexpr int LOTTO_DRAW_BALLOON_X = 120, LOTTO_DRAW_BALLOON_Y = 50;
inline constexpr int LOTTO_DRAW_HOST_X = 20, LOTTO_DRAW_HOST_Y = 60;
inline constexpr int LOTTO_DRUM_X = 470, LOTTO_DRUM_Y = 40, LOTTO_DRUM_SIZE = 150;
inline constexpr int LOTTO_DIGITS_X = 482, LOTTO_DIGITS_Y = 200;
inline constexpr int LOTTO_DIGIT_STEP = 68, LOTTO_DIGITS_W = 140, LOTTO_DIGITS_H = 90;
inline constexpr int LOTTO_DRAW_JACKPOT_X = 300, LOTTO_DRAW_JACKPOT_Y = 260;
inline constexpr int LOTTO_BANNER_X = 20, LOTTO_BANNER_Y = 200;
inline constexpr int LOTTO_BANNER_W = 280, LOTTO_BANNER_H = 60;
// The pointer over the ticket, and the usual one it gives way to.
inline constexpr int LOTTO_CURSOR_TICKET = 28, LOTTO_CURSOR_NORMAL = 41;

// The drawing routines: the 36 numbers of the ticket (owned ones darkened),
// the holders' panels of the players in the game (dy added to the slots)
// and the jackpot panel at (x, y), into the back buffer.
void lotto_draw_numbers(ImageRecord* back);
void lotto_draw_holders(ImageRecord* back, int dy);
void lotto_draw_jackpot(ImageRecord* back, int x, int y);

// The ticket window's procedure: a free number clicked (1..36) or 0 for
// the right button; run by the DECIDE_LOTTERY_NUMBER window.
int32_t lotto_buy_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
// The draw window's procedure: it keeps the drum turning while it is asked to.
int32_t lotto_draw_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
