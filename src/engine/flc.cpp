#include "engine/flc.h"

// The animation player is not built yet: it returns at once while nothing is shown.
int flc_play_entry(int, int, int, uint32_t, int) { return 0; }
int flc_play_entry_speed(int, int, int, uint32_t, int) { return 0; }
