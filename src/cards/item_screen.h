// The windows of the item command: the item menu and the remote dice's faces.
#pragma once

struct DecisionRequest;

// The item menu of request.player over the board: the item number clicked,
// ITEM_DISMOUNT for the vehicle's cell, 0 when closed.
int item_menu_window(const DecisionRequest& request);
// The remote dice's six faces: the face clicked 1..6, 0 when closed.
int item_dice_window(const DecisionRequest& request);
