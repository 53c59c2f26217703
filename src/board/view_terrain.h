// Reading a map's terrain entry: its palette, its 72 x 72 grid of tile
// numbers and its 32 x 32 tiles of palette indices.
#pragma once

#include <cstdint>

// True when the entry holds at least its palette and grid.
bool view_terrain_valid(const uint8_t* terrain, uint32_t size);
// Colour i of the entry's palette (0 for an entry without one).
uint16_t view_terrain_colour(const uint8_t* terrain, uint32_t size, int i);
// The tile of cell (cx, cy), or nullptr for a cell outside the map, a tile
// number past the entry's tiles or an entry shorter than its grid.
const uint8_t* view_terrain_tile(const uint8_t* terrain, uint32_t size, int cx, int cy);
