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

#include "engine/options.h"

// The hot-key slots (HK_*) are the settings' (engine/options.h).

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
