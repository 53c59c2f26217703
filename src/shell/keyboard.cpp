#include "shell/keyboard.h"

// The keyboard hook is not built yet: keys pass through untouched.
int32_t app_keyboard_hook(int32_t, uint32_t, uint32_t) {
    return 0;
}
