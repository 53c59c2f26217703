// The millisecond clock that every timed thing in the game reads.
#pragma once

#include <cstdint>

// Milliseconds since the layer started (the tick count of the game).
uint32_t plat_tick_count();
