// The auction window: the property's picture with its minimum price on the
// left, the host's balloon, the seven bid buttons in a column and one row
// per seat on the right. The window runs the rules' bidding chain one step a
// tick; a human's bid is taken from the buttons (the DECIDE_AUCTION_BID
// window).
#pragma once

#include <cstdint>

#include "platform/messages.h"

// PANEL.MKF entry of the auction's pictures and the frames it holds.
inline constexpr int AUCTION_SET_ENTRY = 26;
inline constexpr int AUCTION_FRAME_WINDOW = 0;     // 640 x 480
inline constexpr int AUCTION_FRAME_BALLOON = 1;    // the host's balloon
inline constexpr int AUCTION_FRAME_BUTTON = 2;     // + choice 0..6: the buttons
inline constexpr int AUCTION_FRAME_BUTTON_LIT = 9; // + choice: pressed or lit
inline constexpr int AUCTION_FRAME_ROW = 16;       // a seat's row
inline constexpr int AUCTION_FRAME_MARKER = 17;    // the turn's marker
inline constexpr int AUCTION_FRAME_GAVEL = 18;
inline constexpr int AUCTION_FRAME_PASSED = 19;         // the passed mark on a row
inline constexpr int AUCTION_FRAME_PLATE = 20;          // the price plate under the picture
inline constexpr int AUCTION_FRAME_PROPERTY_FIRST = 30; // frames 30..115 the properties
inline constexpr int AUCTION_FRAME_COUNT = 116;
// The three pictures of a bidder's row (entries 3 c + 27 + k).
inline constexpr int AUCTION_PICTURE_PLAIN = 0;
inline constexpr int AUCTION_PICTURE_BIDDING = 1;
inline constexpr int AUCTION_PICTURE_WINNER = 2;

// Where things stand: the rows 120 pixels apart from y = 80, centred at
// x = 590 for the face; the buttons at x 363..449.
inline constexpr int AUCTION_ROW_FACE_X = 590, AUCTION_ROW_Y0 = 80, AUCTION_ROW_DY = 120;
inline constexpr int AUCTION_ROW_LEFT = 460, AUCTION_ROW_W = 176, AUCTION_ROW_H = 80;
inline constexpr int AUCTION_BUTTON_LEFT = 363, AUCTION_BUTTON_RIGHT = 449;
inline constexpr int AUCTION_BUTTON_TOP = 70, AUCTION_BUTTON_H = 44, AUCTION_BUTTON_DY = 52;
inline constexpr int AUCTION_PICTURE_X = 40, AUCTION_PICTURE_Y = 60;
inline constexpr int AUCTION_PICTURE_W = 200, AUCTION_PICTURE_H = 150;
inline constexpr int AUCTION_PLATE_DY = 160, AUCTION_PLATE_H = 48; // the price plate below it
inline constexpr int AUCTION_BALLOON_X = 20, AUCTION_BALLOON_Y = 320;
inline constexpr int AUCTION_BALLOON_W = 320, AUCTION_BALLOON_H = 140;

// The screen rectangle of bid button choice 0..6.
PlatRect auction_button_rect(int choice);
// The button under (x, y), -1 none.
int auction_button_at(int x, int y);
// The row of a seat.
PlatRect auction_row_rect(int seat);

// Runs the window over the board for an auction set up by auction_run
// (bidders at the start given): the winning seat, -1 void, AUCTION_NOT_SHOWN
// with no display.
int auction_screen_run(int bidders);

// Redraws the row of a seat with one of its three pictures, the turn's
// marker on or off.
void auction_draw_bidder(int seat, int picture, int active);

// The window procedure (start argument: the bidders at the start).
int32_t auction_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
