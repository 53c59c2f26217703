// The lottery's two windows: the ticket window of a human's visit (the 36
// numbers to circle, the holders, the jackpot, the clerk's balloon) and the
// monthly draw (the host, the drum, the drawn number in big digits, the
// winner). The rules call these at their steps; with no display each
// returns at once after recording what it would show.
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

// The ticket window for player p: pictures read, the window drawn.
void lotto_buy_screen_open(int p);
// The stamp on number, with its sound.
void lotto_buy_screen_stamp(int number);
// The window closed, pictures freed, the board repainted.
void lotto_buy_screen_close();

// The draw window: pictures read, the window drawn.
void lotto_draw_screen_open();
// The drum turns.
void lotto_draw_screen_spin();
// The drawn number in big digits.
void lotto_draw_screen_number(int number);
// The winner's face and name line (large, spoken) with the jackpot.
void lotto_draw_screen_winner(int winner, const char* line);
void lotto_draw_screen_close();

// The balloon of the open window says text; the one before it stays its
// two seconds (and its voice) first. Recorded with no display.
void lotto_screen_say(const char* text);
// A pause of the open window.
void lotto_screen_wait(uint32_t ms);

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
