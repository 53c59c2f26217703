// The four stand-in city maps: their paths, squares, plots, facilities,
// company buildings and decorations, built in memory and packed as map blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/map.h"

// One map in memory, tables one-based (element 0 is the unused record 0).
struct StandinMap {
    std::vector<MapSquare> squares;
    std::vector<LandLot> lots;
    std::vector<FacilityLot> facilities;
    std::vector<CompanyBuilding> companies;
    std::vector<Decoration> decorations;
};

inline constexpr int STANDIN_MAP_COUNT = 4;
// Stock rows listed on each map's board (rows 0 .. n - 1).
inline constexpr int standin_listed_rows[STANDIN_MAP_COUNT] = {3, 4, 6, 6};

// Draws map m (0..3). Throws std::runtime_error when the drawing breaks one
// of its own rules.
StandinMap standin_map_build(int m);
// The map block of a map in memory.
std::vector<uint8_t> standin_map_pack(const StandinMap& map);
// UTF-8 text as GBK bytes; throws when it cannot be converted or does not
// fit `field` bytes with its terminating zero.
std::string standin_gbk(const std::string& utf8, size_t field);
