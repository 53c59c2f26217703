// The board screen's toolbar: its eleven buttons from left to right and the
// one table of what each runs. The toolbar's clicks, its hit test and the
// keyboard's hot keys all go through this table, so a new window is one row
// here and its own module.
#pragma once

#include "engine/layout.h"

enum ToolbarCommand : int {
    TOOLBAR_HELP = 0,
    TOOLBAR_SYSTEM = 1,
    TOOLBAR_HAND_OVER = 2, // the computer-player panel
    TOOLBAR_LOAD = 3,
    TOOLBAR_SAVE = 4,
    TOOLBAR_MAP = 5,
    TOOLBAR_QUERY = 6, // the asset lists
    TOOLBAR_ITEMS = 7,
    TOOLBAR_CARDS = 8,
    TOOLBAR_TRADE = 9, // the notice board
    TOOLBAR_STOCKS = 10,
    TOOLBAR_COMMAND_COUNT = 11,
};

// Each button is a 40-pixel-wide column of the toolbar strip, its picture
// centred in it.
inline constexpr int TOOLBAR_BUTTON_W = 40;
inline constexpr int toolbar_button_centre_x(int command) {
    return LAYOUT_TOOLBAR.left + TOOLBAR_BUTTON_W * command + TOOLBAR_BUTTON_W / 2;
}
inline constexpr int TOOLBAR_BUTTON_CENTRE_Y = (LAYOUT_TOOLBAR.top + LAYOUT_TOOLBAR.bottom) / 2;

// The command of the button under screen point (x, y); -1 off the toolbar.
int toolbar_command_at(int x, int y);

// Runs the command's window. Returns false when it replaced the game under
// the board (a load), so the board must not give its input back.
using ToolbarHandler = bool (*)();
extern const ToolbarHandler toolbar_handlers[TOOLBAR_COMMAND_COUNT];
