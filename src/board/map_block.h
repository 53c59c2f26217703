// Decoding and encoding of the map block, shared by the map module's files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "board/map.h"

// The five tables of the block, in header order.
enum MapTable : int {
    MAP_T_SQUARES = 0,
    MAP_T_LOTS = 1,
    MAP_T_FACILITIES = 2,
    MAP_T_COMPANIES = 3,
    MAP_T_DECORATIONS = 4,
};
inline constexpr int MAP_TABLE_COUNT = 5;
inline constexpr size_t map_record_size[MAP_TABLE_COUNT] = {
    MAP_SQUARE_SIZE, MAP_LOT_SIZE, MAP_FACILITY_SIZE, MAP_COMPANY_SIZE, MAP_DECORATION_SIZE};

// A decoded map: the raw block (for the bytes between and around the tables)
// and the records, record 0 included.
struct MapStore {
    std::vector<uint8_t> block;
    int32_t count[MAP_TABLE_COUNT] = {};
    int32_t offset[MAP_TABLE_COUNT] = {};
    std::vector<MapSquare> squares;
    std::vector<LandLot> lots;
    std::vector<FacilityLot> facilities;
    std::vector<CompanyBuilding> companies;
    std::vector<Decoration> decorations;
};

// The header's count and offset of table t.
int32_t map_header_count(const uint8_t* block, int t);
int32_t map_header_offset(const uint8_t* block, int t);

// Size of a block whose header has been checked: it ends with the last
// decoration.
size_t map_block_data_size(const uint8_t* block);
// Decodes a block whose header has been checked (counts and offsets inside it).
void map_store_decode(const uint8_t* block, size_t size, MapStore& store);
// Writes the records of a store back over its raw block.
void map_store_encode(const MapStore& store, uint8_t* out);
// Checks the decoded records; false with the reason in `error`.
bool map_store_check(const MapStore& store, std::string* error);

// A new block holding the given tables (each with its unused record 0) one
// after the other behind the header.
std::vector<uint8_t> map_block_make(const std::vector<MapSquare>& squares,
                                    const std::vector<LandLot>& lots,
                                    const std::vector<FacilityLot>& facilities,
                                    const std::vector<CompanyBuilding>& companies,
                                    const std::vector<Decoration>& decorations);

// Validity of an object code against the counts of a store.
bool map_code_in_range(const int32_t count[MAP_TABLE_COUNT], int code);
