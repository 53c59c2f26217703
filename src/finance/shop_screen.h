// The points shop's window: a card counter and an item counter with the
// player's own cards and items below.
#pragma once

#include "platform/messages.h"

struct DecisionRequest;

// The window's places on the 640 x 480 screen.
inline constexpr PlatRect SHOP_SWITCH_BUTTON{542, 13, 628, 99};
inline constexpr PlatRect SHOP_LEAVE_BUTTON{556, 246, 637, 287};
inline constexpr PlatRect SHOP_CARD_ROWS{23, 81, 216, 441}; // 24 px a row from y 81
inline constexpr int SHOP_CARD_ROW_H = 24;
// A card row's name and price, each by its text's top-left corner, for row 0
// of the panel at rest; each row lies SHOP_CARD_ROW_H lower.
inline constexpr int SHOP_CARD_NAME_X = 90, SHOP_CARD_NAME_Y = 83;
inline constexpr int SHOP_CARD_PRICE_X = 194, SHOP_CARD_PRICE_Y = 75;
inline constexpr PlatRect SHOP_ITEM_ROWS{23, 68, 216, 452}; // 48 px a row centred on 92 + 48 i
inline constexpr int SHOP_ITEM_ROW_H = 48;
inline constexpr PlatRect SHOP_GOODS{232, 298, 633, 467}; // the player's own, 80 x 56 cells
// Where the counter's panel comes to rest, and its size.
inline constexpr int SHOP_PANEL_X = 16, SHOP_PANEL_Y = 64, SHOP_PANEL_W = 206, SHOP_PANEL_H = 392;
inline constexpr PlatRect SHOP_POINTS_RECT{540, 110, 640, 236}; // the points balance
inline constexpr PlatRect SHOP_HOVER_RECT{232, 262, 540, 294};  // the goods under the cursor
inline constexpr int SHOP_CLERK_X = 330, SHOP_CLERK_Y = 96;     // the clerk's top-left corner
inline constexpr int SHOP_BALLOON_X = 250, SHOP_BALLOON_Y = 12; // the balloon's top-left corner

// The row of the counter shown under a screen point, -1 none (rows past
// those listed count as none).
int shop_row_at(int x, int y);
// The decision's action for a click at (x, y) on the window as it stands
// (the buttons, a row, a held card or item), -1 for nothing.
int shop_action_at(int x, int y);

// The window for request.player's visit on shop_session: every action taken
// in it is carried out there; it closes with SHOP_LEAVE (the takings stay
// in the session). Without a display it leaves at once.
int shop_window(const DecisionRequest& request);
