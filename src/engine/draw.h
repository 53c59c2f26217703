// Drawing and screen update.
#pragma once

#include <cstddef>
#include <cstdint>

// Every pixel equal to from in a run of count becomes to.
void gfx_replace_pixel(uint16_t* pixels, size_t count, uint16_t from, uint16_t to);
// Clears the back buffer and copies the whole screen to the display.
void gfx_clear_screen();
// The brightness pulse over the board cells marked 0xFFFF in the hit-test map.
void gfx_flash_board();
