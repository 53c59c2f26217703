// The board screen's toolbar: its eleven buttons from left to right, the
// window each opens and the hot key that opens it too. Each window module
// registers its command with one line at file scope, beside its opener,
//
//     TOOLBAR_COMMAND(TOOLBAR_QUERY, open_assets, HK_QUERY)
//
// and the board's clicks and the keyboard's hot keys both run that row. The
// commands, the module that registers each and its hot key:
//    0 help        shell/help_screen.cpp            HK_HELP
//    1 system      shell/sysmenu_screen.cpp         HK_SYSTEM
//    2 hand over   cards/ai_panel_screen.cpp        HK_AUTOPLAY
//    3 load        shell/app.cpp                    HK_LOAD
//    4 save        shell/save_screen.cpp            HK_SAVE
//    5 map         board/minimap.cpp                HK_MAP
//    6 query       finance/assets_screen.cpp        HK_QUERY
//    7 items       cards/item_screen.cpp            HK_ITEMS
//    8 cards       cards/card_screen.cpp            HK_CARDS
//    9 trade       finance/notice_board_screen.cpp  HK_TRADE
//   10 stocks      finance/stock_screen.cpp         HK_STOCKS
// A command holds one row and a hot-key slot opens one command; a second
// registration aborts at start. The rows are filled by static initialisers
// and read only once the program runs.
#pragma once

#include "engine/layout.h"
#include "engine/options.h" // the hot-key slots the rows name

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

// The toolbar picture's frame of a button: frame 0 is the strip, then one
// frame per command, then the same buttons lit (hovered or pressed).
inline constexpr int toolbar_button_frame(int command, bool lit) {
    return 1 + command + (lit ? TOOLBAR_COMMAND_COUNT : 0);
}

// The command of the button under screen point (x, y); -1 off the toolbar.
int toolbar_command_at(int x, int y);

// Opens the command's window. Returns false when it replaced the game under
// the board (a load), so the board must not give its input back.
using ToolbarOpener = bool (*)();

// A hot-key slot of no command.
inline constexpr int TOOLBAR_NO_HOT_KEY = -1;

struct ToolbarCommandRow {
    int command;        // ToolbarCommand
    ToolbarOpener open; // never nullptr
    int hot_key;        // the settings' hot-key slot (HK_*), or TOOLBAR_NO_HOT_KEY
};

// Puts the row at its command. A command outside the toolbar, a missing
// opener, a slot that is no hot key, a command registered twice or a slot
// taken by two commands aborts with a message. Returns true so that it can
// initialise a file-scope constant.
bool toolbar_command_register(const ToolbarCommandRow& row);
// The row registered for command, or nullptr (none, or no such command).
const ToolbarCommandRow* toolbar_command_row(int command);
// The command whose hot key is in `slot`, or -1.
int toolbar_command_of_hot_key(int slot);
// Opens the command's window; true (the board kept) when it has no row.
bool toolbar_command_open(int command);

#define TOOLBAR_COMMAND_JOIN2(a, b) a##b
#define TOOLBAR_COMMAND_JOIN(a, b) TOOLBAR_COMMAND_JOIN2(a, b)
#define TOOLBAR_COMMAND(command, open, hot_key)                                                    \
    namespace {                                                                                    \
    [[maybe_unused]] const bool TOOLBAR_COMMAND_JOIN(toolbar_command_registered_, __LINE__) =      \
        toolbar_command_register(ToolbarCommandRow{command, open, hot_key});                       \
    }
