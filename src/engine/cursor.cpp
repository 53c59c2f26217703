#include "engine/cursor.h"

// The software cursor is not built yet: it returns at once while nothing is shown.
std::atomic<uint8_t> anim_step_pending{0};

void cursor_start() {}
void cursor_stop() {}
void cursor_set_shape(int, int, int) {}
void cursor_hide(const PlatRect*) {}
void cursor_show(const PlatRect*) {}
