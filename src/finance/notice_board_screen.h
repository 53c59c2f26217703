// The bulletin board's window for a human visit: the grid of every player's
// offers, the post button with its four posting windows, the detail window
// of an offer. Its answers reach the rules as DECIDE_BOARD_ACTION and
// DECIDE_BOARD_POST.
#pragma once

// PANEL.MKF entries: the board's pictures (window, buttons, offer icons 9-16)
// and the item pictures (item n as frame n - 1).
inline constexpr int NOTICE_PANEL_ENTRY = 73;
inline constexpr int NOTICE_ITEM_PICTURES_ENTRY = 74;

// The window around a human's visit: loads the pictures and draws the board;
// nothing without a display.
void notice_screen_open(int player);
// Frees the pictures and repaints the board.
void notice_screen_close();
