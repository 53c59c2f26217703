// The keyboard hook and the hot keys.
//
// Every key taken from the queue passes the hook first. The configurable
// keys of the settings become mouse actions every screen understands (the
// cursor keys move the pointer, the confirm key clicks, the cancel key
// right-clicks) and, while the board accepts input, the board's hot keys.
// The hook never swallows a key: screens that read keys themselves (the yes
// and no keys, page keys in lists) still get it.
#pragma once

#include <cstdint>

// Hot-key slots of the settings, in file order.
enum HotKeySlot : int {
    HK_CURSOR_UP = 0,
    HK_CURSOR_RIGHT = 1,
    HK_CURSOR_DOWN = 2,
    HK_CURSOR_LEFT = 3,
    HK_CONFIRM = 4,
    HK_CANCEL = 5,
    HK_SWITCH_OPTION = 6, // stored and configurable, read nowhere
    HK_SWITCH_LAYOUT = 7,
    // 8 HK_YES and 9 HK_NO are read by the pop-ups (shell/settings.h)
    HK_GO = 10,
    HK_DICE_COUNT = 11,
    HK_STOCKS = 12,
    HK_TRADE = 13,
    HK_CARDS = 14,
    HK_ITEMS = 15,
    HK_QUERY = 16,
    HK_MAP = 17,
    HK_ROTATE_LEFT = 18,
    HK_ROTATE_RIGHT = 19,
    HK_AUTOPLAY = 20,
    HK_SYSTEM = 21,
    HK_SAVE = 22,
    HK_LOAD = 23,
    HK_HELP = 24,
    HK_PAGE_UP = 25,
    HK_PAGE_DOWN = 26,
    HK_QUIT = 27,
};

// The chord being typed: 0x1100 after Ctrl went down, else the OR of the
// keys pressed since it was last cleared.
extern uint16_t hotkey_chord;
// 1 between the confirm key's posted button-down and its button-up.
extern uint16_t confirm_key_down;

// Called for every key as it is taken from the queue: key is the
// virtual-key code, flags bit 31 a release and bit 30 an auto-repeat.
// Always returns 0 (the key goes on to the window). It may open a modal
// screen (a toolbar window, the quit question) while the queue is read.
int32_t app_keyboard_hook(int32_t code, uint32_t key, uint32_t flags);

// Back to the start state (no chord, confirm key up).
void keyboard_reset();
