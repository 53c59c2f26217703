#include "board/view_terrain.h"

#include "board/view_sets.h"

bool view_terrain_valid(const uint8_t* terrain, uint32_t size) {
    return terrain && size >= TERRAIN_TILES_AT;
}

uint16_t view_terrain_colour(const uint8_t* terrain, uint32_t size, int i) {
    if (!view_terrain_valid(terrain, size) || i < 0 || i > 255) return 0;
    const uint32_t at = TERRAIN_PALETTE_AT + 2u * static_cast<uint32_t>(i);
    return static_cast<uint16_t>(terrain[at] | (terrain[at + 1] << 8));
}

const uint8_t* view_terrain_tile(const uint8_t* terrain, uint32_t size, int cx, int cy) {
    if (!view_terrain_valid(terrain, size)) return nullptr;
    if (cx < 0 || cy < 0 || cx >= TERRAIN_CELLS || cy >= TERRAIN_CELLS) return nullptr;
    const uint32_t at = TERRAIN_GRID_AT + 2u * static_cast<uint32_t>(cy * TERRAIN_CELLS + cx);
    const uint32_t tile = static_cast<uint32_t>(terrain[at] | (terrain[at + 1] << 8));
    const uint32_t count = (size - TERRAIN_TILES_AT) / TERRAIN_TILE_BYTES;
    if (tile >= count) return nullptr;
    return terrain + TERRAIN_TILES_AT + tile * TERRAIN_TILE_BYTES;
}
