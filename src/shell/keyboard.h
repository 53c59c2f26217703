// The keyboard hook and the hot keys.
#pragma once

#include <cstdint>

// Called for every key as it is taken from the queue: key is the
// virtual-key code, flags bit 31 a release and bit 30 an auto-repeat.
// Always returns 0 (the key goes on to the window).
int32_t app_keyboard_hook(int32_t code, uint32_t key, uint32_t flags);
