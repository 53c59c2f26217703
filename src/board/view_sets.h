// Where the board's pictures sit in their archives and how the frames of a
// set are laid out. The data builder writes the sets by these numbers and
// the view reads them by the same, so the two cannot drift apart.
#pragma once

#include <cstdint>

// MAP.MKF entries, m = map 0..3, c = character 0..11.
inline constexpr int MAPGFX_TERRAIN_BASE = 0; // 2m terrain, 2m + 1 the map block
inline constexpr int MAPGFX_MINIMAP_BASE = 8; // m + 8
inline constexpr int MAPGFX_MARKERS = 12;     // square markers, frame = MapSquare::marker
// Marker frames: 1..16 the special square types, 17 a property square.
inline constexpr int MARKER_PROPERTY_FRAME = 17;
inline constexpr int MARKER_FRAMES = 18;
inline constexpr int MAPGFX_OWNER_MARKS = 13;       // frame = character; see OWNER_MARK_*
inline constexpr int MAPGFX_BASE_SHAPES = 14;       // plot and facility ground shapes
inline constexpr int MAPGFX_PORTRAIT_BASE = 15;     // c + 15
inline constexpr int MAPGFX_BUILDING_BASE = 27;     // 27 + 5m + i, i = VIEW_SET_*
inline constexpr int MAPGFX_DIGITS = 47;            // frames 0-9
inline constexpr int MAPGFX_PLACEHOLDER_FIRST = 48; // 48..68, read with the map
inline constexpr int MAPGFX_PLACEHOLDER_COUNT = 21;
// Company buildings and decorations name their own entries in their records;
// the stand-in maps put them here.
inline constexpr int MAPGFX_COMPANY_BASE = 69;    // 69 + 16m + (i - 1)
inline constexpr int MAPGFX_DECORATION_BASE = 77; // 77 + 16m + (i - 1)
inline constexpr int MAPGFX_PER_MAP_SPRITES = 16;

// Terrain entry: the only converted pixels are the palette.
inline constexpr uint32_t TERRAIN_PALETTE_AT = 4;
inline constexpr uint32_t TERRAIN_GRID_AT = 528;
inline constexpr uint32_t TERRAIN_TILES_AT = 10896;
inline constexpr int TERRAIN_CELLS = 72;
inline constexpr int TERRAIN_TILE_SIDE = 32;
inline constexpr uint32_t TERRAIN_TILE_BYTES = 1024;

// Owner marks: frames 0-11 a flag in each character's colour, then the small
// ally mark and patron mark of each character.
inline constexpr int OWNER_MARK_ALLY_BASE = 12;
inline constexpr int OWNER_MARK_PATRON_BASE = 24;
inline constexpr int OWNER_MARK_FRAMES = 36;

// Base shapes: frame = facing parity, + 2 for facilities and company buildings.
inline constexpr int BASE_SHAPE_FACILITY = 2;

// The five building sets of a map. Every picture comes in 8 directions:
// frame = group x 8 + direction. Palette index 1 is the owner's colour.
enum ViewBuildingSet : int {
    VIEW_SET_HOUSES = 0,   // groups 0-4 houses of levels 1-5, group 5 the chain store
    VIEW_SET_HOTEL = 1,    // groups 0-4 levels 1-5
    VIEW_SET_SHOPPING = 2, // groups 0-4 levels 1-5
    VIEW_SET_RESEARCH = 3, // groups 0-4 levels 1-5
    VIEW_SET_SMALL = 4,    // group 0 the park, group 1 the petrol station
};
inline constexpr int VIEW_BUILDING_SETS = 5;
inline constexpr int VIEW_DIRECTIONS = 8;
inline constexpr int VIEW_CHAIN_STORE_GROUP = 5;
inline constexpr int VIEW_PARK_GROUP = 0;
inline constexpr int VIEW_PETROL_GROUP = 1;
inline constexpr int VIEW_SET_GROUPS[VIEW_BUILDING_SETS] = {6, 5, 5, 5, 2};
inline constexpr uint8_t VIEW_OWNER_COLOUR_INDEX = 1;

// data.mkf entries of the movers and gods.
inline constexpr int MOVER_SPRITE_BASE = 87; // 21c + 87 .. 21c + 107
inline constexpr int MOVER_SPRITES_PER_CHARACTER = 21;
inline constexpr int WALKER_SPRITE_BASE = 323; // 4m + 323 .. 4m + 326, m = 4..7
inline constexpr int DOLL_SPRITE_FIRST = 480;  // 480, 481
inline constexpr int GOD_SPRITE_BASE = 355;    // 20 sets: kind k at k - 1
inline constexpr int GOD_SPRITE_COUNT = 20;
inline constexpr int GOD_SPRITE_SLEEP_MARK = 18; // 6 frames, the sleepwalking cycle
inline constexpr int GOD_SPRITE_CARRIED_BOMB = 19;
inline constexpr int GOD_SLEEP_MARK_FRAMES = 6;
inline constexpr int HOLIDAY_PICTURE_FIRST = 4; // data.mkf 4..86
inline constexpr int HOLIDAY_PICTURE_LAST = 86;
inline constexpr int HOLIDAY_PICTURE_SIDE = 200;
inline constexpr int CELEBRATION_FILM = 482;
