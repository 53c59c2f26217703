// The FLC animation player.
#pragma once

#include <cstdint>

// Plays data.mkf entry data_entry at (x, y) with FlcFlags, the EFFECT.MKF
// entry effect_entry once after the first frame (-1 none); 1 when skipped.
int flc_play_entry(int data_entry, int x, int y, uint32_t flags, int effect_entry);
// The same with the animation's speed given (frame time in the FLC's units).
int flc_play_entry_speed(int data_entry, int x, int y, uint32_t flags, int speed);
