// The board of one map: the squares of the path and the properties and
// places around it, and the operations other modules call on them.
//
// The map data is one block (little-endian): a header of five (count, offset)
// pairs, then five tables indexed from 1 (record 0 exists and is never used):
// squares, land plots, facility plots, company buildings, decorations. The
// block is read whole from MAPDAT.MKF at a new game and written whole into
// save games and time-machine snapshots. Here it is decoded field by field
// into the tables below; map_data_write turns the tables back into the block,
// every byte not named by a field carried unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "board/game_state.h"

// ---------------------------------------------------------------------------
// Square types (low byte of MapSquare::flags)

enum SquareType : uint8_t {
    SQ_PROPERTY = 0,
    SQ_EMPTY = 1,
    SQ_NEWS = 2,
    SQ_FATE = 3,
    SQ_JAIL = 4,
    SQ_HOSPITAL = 5,
    SQ_MINIGAME_GRID = 6,
    SQ_MINIGAME_TARGETS = 7,
    SQ_MINIGAME_STEER = 8,
    SQ_LOTTERY = 9,
    SQ_POINTS_50 = 10,
    SQ_POINTS_30 = 11,
    SQ_POINTS_10 = 12,
    SQ_CARD = 13,
    SQ_BANK = 14,
    SQ_SHOP = 15,
    SQ_MAGIC_HOUSE = 16,
};
inline constexpr int SQUARE_TYPE_COUNT = 17;

enum FacilityKind : uint8_t {
    FK_PARK = 0,
    FK_HOTEL = 1,
    FK_SHOPPING_CENTRE = 2,
    FK_PETROL_STATION = 3,
    FK_RESEARCH_INSTITUTE = 4,
};
inline constexpr int FACILITY_KIND_COUNT = 5;
inline constexpr uint8_t facility_max_level[FACILITY_KIND_COUNT] = {1, 5, 5, 1, 5};

// Company kinds with a rule of their own (the fee rules know the rest).
inline constexpr uint8_t COMPANY_KIND_INSURANCE = 4;
inline constexpr uint8_t COMPANY_KIND_BANK = 7;
inline constexpr int COMPANY_KIND_COUNT = 12; // kinds 0..11

// ---------------------------------------------------------------------------
// Object codes: anything on the board in 16 bits.

inline constexpr int OBJ_SQUARE_BASE = 0;        // 1-1999 square i
inline constexpr int OBJ_LOT_BASE = 2000;        // 2001-3999 land plot i
inline constexpr int OBJ_FACILITY_BASE = 4000;   // 4001-5999 facility i
inline constexpr int OBJ_COMPANY_BASE = 6000;    // 6001-7999 company building i
inline constexpr int OBJ_DECORATION_BASE = 8000; // 8001-9999 decoration i
inline constexpr int OBJ_RANGE = 1999;           // largest index of each kind
// The code of record `index` of the table at `base`, and back.
constexpr uint16_t object_code(int base, int index) {
    return static_cast<uint16_t>(base + index);
}
constexpr int object_index(int code, int base) {
    return code - base;
}
// True when code names one of the `count` records of the table at `base`.
constexpr bool object_in(int code, int base, int count) {
    return code > base && code <= base + count;
}
// With bit 15 set a code names the occupants of a square: bits 0-3 players
// (bit p), bits 4-7 wandering characters 4..7, bits 8-14 a god slot.
inline constexpr uint16_t OBJ_OCCUPANTS = 0x8000;

inline constexpr uint16_t OBJ_HOSPITAL = 8001; // decoration 1
inline constexpr uint16_t OBJ_JAIL = 8002;     // decoration 2

// ---------------------------------------------------------------------------
// Records. Every record starts with its world position (32 units to a terrain
// cell, 72 x 72 cells) and a name text at offset 4 (GBK bytes).

inline constexpr int MAP_WORLD_SIZE = 72 * 32;

// A node of the path (40 bytes).
struct MapSquare {
    int16_t x;
    int16_t y;
    char name[20];
    uint16_t links[4]; // neighbouring squares, 0 none; link i is 0..3
    uint16_t object;   // ObjectCode of the property or place this square serves
    uint16_t marker;   // frame of the square's marker picture
    uint32_t flags;    // see SQF_* below
};
static_assert(sizeof(MapSquare) == 40);
static_assert(offsetof(MapSquare, name) == 4);
static_assert(offsetof(MapSquare, links) == 24);
static_assert(offsetof(MapSquare, object) == 32);
static_assert(offsetof(MapSquare, marker) == 34);
static_assert(offsetof(MapSquare, flags) == 36);

// Bits of MapSquare::flags.
inline constexpr uint32_t SQF_TYPE_MASK = 0x000000FF;    // SquareType
inline constexpr uint32_t SQF_PLAYERS_MASK = 0x00000F00; // bit 8 + p
inline constexpr uint32_t SQF_WALKERS_MASK = 0x0000F000; // bit 12 + w, movers 4..7
inline constexpr uint32_t SQF_GOD_MASK = 0x00FF0000;     // god slot standing here
inline constexpr int SQF_GOD_SHIFT = 16;
inline constexpr uint32_t SQF_CLOSED_MASK = 0x78000000; // bit 30 - i closes link i
inline constexpr uint32_t SQF_INDOOR = 0x80000000;
constexpr uint32_t sqf_player(int p) {
    return 0x100u << p;
}
constexpr uint32_t sqf_walker(int mover) {
    return 0x1000u << walker_index_of_mover(mover);
}
constexpr uint32_t sqf_closed(int link) {
    return 0x40000000u >> link;
}

// A land plot (52 bytes).
struct LandLot {
    int16_t x;
    int16_t y;
    char street[19]; // plots of one street share the name (tolls add up over a street)
    uint8_t mark; // high 4 bits days left, low 4 bits kind (0x50 toll doubled 5 days, 0x51 seized)
    uint8_t chain_store; // 1 when a chain store is built
    Owner owner;         // player + 1, 0 none
    uint8_t level;       // houses 0..5
    uint8_t facing;
    uint16_t land_price;
    uint16_t build_price; // per level
    uint16_t toll[6];     // by level 0..5
    int32_t last_toll;
    uint32_t expiry; // ownership expiry PackedDate, 0 none
};
static_assert(sizeof(LandLot) == 52);
static_assert(offsetof(LandLot, street) == 4);
static_assert(offsetof(LandLot, mark) == 23);
static_assert(offsetof(LandLot, chain_store) == 24);
static_assert(offsetof(LandLot, owner) == 25);
static_assert(offsetof(LandLot, level) == 26);
static_assert(offsetof(LandLot, facing) == 27);
static_assert(offsetof(LandLot, land_price) == 28);
static_assert(offsetof(LandLot, build_price) == 30);
static_assert(offsetof(LandLot, toll) == 32);
static_assert(offsetof(LandLot, last_toll) == 44);
static_assert(offsetof(LandLot, expiry) == 48);

// A facility plot (56 bytes).
struct FacilityLot {
    int16_t x;
    int16_t y;
    char name[20];
    uint8_t kind;  // FacilityKind; 0 while nothing is built
    Owner owner;   // player + 1, 0 none
    uint8_t level; // 0 = nothing built
    uint8_t facing;
    uint8_t mark;          // as for land plots
    uint8_t research_item; // item being developed, 1..5
    uint8_t research_days;
    uint8_t reserved_31;
    uint16_t reserved_32;
    uint16_t price;
    uint16_t fee[6]; // [0] upgrade price, [level] fee at that level
    int32_t last_fee;
    uint32_t expiry; // ownership expiry PackedDate, 0 none
};
static_assert(sizeof(FacilityLot) == 56);
static_assert(offsetof(FacilityLot, kind) == 24);
static_assert(offsetof(FacilityLot, owner) == 25);
static_assert(offsetof(FacilityLot, level) == 26);
static_assert(offsetof(FacilityLot, facing) == 27);
static_assert(offsetof(FacilityLot, mark) == 28);
static_assert(offsetof(FacilityLot, research_item) == 29);
static_assert(offsetof(FacilityLot, research_days) == 30);
static_assert(offsetof(FacilityLot, reserved_31) == 31);
static_assert(offsetof(FacilityLot, reserved_32) == 32);
static_assert(offsetof(FacilityLot, price) == 34);
static_assert(offsetof(FacilityLot, fee) == 36);
static_assert(offsetof(FacilityLot, last_fee) == 48);
static_assert(offsetof(FacilityLot, expiry) == 52);

// A company building (52 bytes); the money ledger names building i 100 + i.
struct CompanyBuilding {
    int16_t x;
    int16_t y;
    char name[20];
    Owner chairman; // player + 1, 0 none
    uint8_t listed; // row of the stock table; 12 or more: not listed
    uint8_t kind;   // 0..11, its fee rule
    uint8_t facing;
    Owner holders[4]; // the four largest shareholders, player + 1
    uint16_t sprite;  // entry of the map archive
    uint16_t base_fee;
    int32_t value;
    int32_t earnings;       // since the last dividend
    int32_t earnings_total; // of all time
    int32_t own_shares;     // shares the company holds itself
};
static_assert(sizeof(CompanyBuilding) == 52);
static_assert(offsetof(CompanyBuilding, chairman) == 24);
static_assert(offsetof(CompanyBuilding, listed) == 25);
static_assert(offsetof(CompanyBuilding, kind) == 26);
static_assert(offsetof(CompanyBuilding, facing) == 27);
static_assert(offsetof(CompanyBuilding, holders) == 28);
static_assert(offsetof(CompanyBuilding, sprite) == 32);
static_assert(offsetof(CompanyBuilding, base_fee) == 34);
static_assert(offsetof(CompanyBuilding, value) == 36);
static_assert(offsetof(CompanyBuilding, earnings) == 40);
static_assert(offsetof(CompanyBuilding, earnings_total) == 44);
static_assert(offsetof(CompanyBuilding, own_shares) == 48);

// A decoration (28 bytes). Decoration 1 is the hospital, 2 the jail.
struct Decoration {
    int16_t x;
    int16_t y;
    char name[20];
    uint8_t facing;
    uint8_t reserved_25;
    uint16_t sprite; // entry of the map archive, 0 none
};
static_assert(sizeof(Decoration) == 28);
static_assert(offsetof(Decoration, facing) == 24);
static_assert(offsetof(Decoration, reserved_25) == 25);
static_assert(offsetof(Decoration, sprite) == 26);

inline constexpr size_t MAP_HEADER_SIZE = 40;
inline constexpr size_t MAP_SQUARE_SIZE = 40;
inline constexpr size_t MAP_LOT_SIZE = 52;
inline constexpr size_t MAP_FACILITY_SIZE = 56;
inline constexpr size_t MAP_COMPANY_SIZE = 52;
inline constexpr size_t MAP_DECORATION_SIZE = 28;

// ---------------------------------------------------------------------------
// The loaded map. The tables are one-based: entries 1..count are the board's
// records (entry 0 is the block's unused record 0). All pointers are null and
// all counts 0 while no map is loaded.

extern MapSquare* map_square_table;
extern int32_t map_square_count;
extern LandLot* map_lot_table;
extern int32_t map_lot_count;
extern FacilityLot* map_facility_table;
extern int32_t map_facility_count;
extern CompanyBuilding* map_company_table;
extern int32_t map_company_count;

// Square s of the loaded map, or nullptr when s names none.
inline MapSquare* map_square(int s) {
    return (map_square_table && s >= 1 && s <= map_square_count) ? &map_square_table[s] : nullptr;
}
inline bool map_square_valid(int s) {
    return map_square(s) != nullptr;
}
// The plot or facility an object code names in the loaded map, or nullptr
// when it names none.
inline LandLot* map_lot(int code) {
    return (map_lot_table && object_in(code, OBJ_LOT_BASE, map_lot_count))
               ? &map_lot_table[object_index(code, OBJ_LOT_BASE)]
               : nullptr;
}
inline FacilityLot* map_facility(int code) {
    return (map_facility_table && object_in(code, OBJ_FACILITY_BASE, map_facility_count))
               ? &map_facility_table[object_index(code, OBJ_FACILITY_BASE)]
               : nullptr;
}
// True when two plots stand on the same street.
bool map_same_street(const LandLot& a, const LandLot& b);
extern Decoration* map_decoration_table;
extern int32_t map_decoration_count;
// Size of the block in bytes: the decorations' offset + (count + 1) x 28.
extern uint32_t map_data_size;
// The squares that serve the hospital (8001) and the jail (8002), 0 none.
extern int32_t hospital_square;
extern int32_t jail_square;

// Clears the map module: no map, no tables, every count 0.
void map_reset();
bool map_data_loaded();

// ---------------------------------------------------------------------------
// The block

// Checks a map block before it is used: the header's counts and offsets lie
// inside the block, the tables do not overlap the header or each other, the
// links, object codes, owners, levels, kinds and god slots are in range, the
// square types are 0 to 16, a chain store byte is 0 or 1, no facility stands
// above its kind's top level and no term runs on unowned property (every
// state a game reaches keeps these, so saved blocks pass too). Returns true when the block is
// sound; else false with the reason in `error` (when not null).
bool map_validate(const uint8_t* block, size_t size, std::string* error);

// Takes a block (a new game's entry of MAPDAT.MKF, a save game's block or a
// snapshot's copy): validates it, decodes it into a scratch copy and only then
// replaces the current map. A bad block is refused with the reason in `error`
// and the current map, if any, is kept. Bytes beyond map_data_size are ignored.
bool map_data_read(const uint8_t* block, size_t size, std::string* error);

// Takes a fresh block of MAPDAT.MKF for a new game: validates it, checks the
// state it starts a game with (nobody owns land or facilities or chairs a
// company before the first turn, a facility with nothing built has no kind,
// the shares of every company on the stock table add up with one building
// listing it), then sets the new map up: the squares' occupant and god marks
// are rebuilt from the movers and the god slots instead of trusted, the
// snapshots get their map copies, the gods take their first places, the
// companies their own shares, the day's stock volume is rolled and the view
// turned to 0. A refused block changes nothing; the reason, naming the table,
// record and field, is in `error`. The stock table of the game must be set.
bool map_start_new_block(const uint8_t* block, size_t size, std::string* error);

// Writes the current map as a block of map_data_size bytes into `out`.
void map_data_write(uint8_t* out);

// ---------------------------------------------------------------------------
// Loading and freeing

// Loads the map of game_map. With no map data present (a new game) the data
// comes from entry game_map of MAPDAT.MKF, or when that archive cannot be
// opened from entry 2 x map + 1 of MAP.MKF; then the snapshots get their map
// copies, the gods take their first places, the companies their own shares,
// the day's stock volume is rolled and the view turned to 0. A loaded game
// brings its block first (map_data_read) and only the graphics and the
// per-map links are set up. Returns false, with the reason in map_last_error,
// when no sound map block could be had; the state is then unchanged.
bool map_load();
// Frees the map data block and everything that map_load set up for it.
void map_free();
// Reason of the last failed map_load.
const std::string& map_last_error();

// ---------------------------------------------------------------------------
// Queries

// Eight-way direction 0..7 of the vector from square `from` to square `to`.
int map_direction(int from, int to);
// A random square that is not a property square, with no player, character or
// god on it and not indoor; 0 when there is none.
int map_random_free_square();
// A random property square with no occupant, no god and not indoor. When
// `from` is not 0 the square lies at least 300 world units from square `from`
// in x or in y if any such square exists, else it is any candidate. 0 when
// there is no candidate at all.
int map_random_square_far(int from);
// World position of an object code. For an occupants code: the lowest player,
// else the lowest wandering character, else the square of the god slot.
// Returns false (and 0, 0) for a code that names nothing on this map.
bool map_object_position(int code, int* x, int* y);

// ---------------------------------------------------------------------------
// Operations on buildings

enum MapBuildingOp : int {
    MAP_OP_LOWER = 0, // one level down
    MAP_OP_TAKE = 1,  // owner and buildings taken away
    MAP_OP_RAZE = 2,  // buildings razed, the owner stays
};
// On a plot or facility; 1 when something changed.
int map_building_op(int code, int op);
// Raises a plot or facility one level: 0 nothing, 1 raised, 129 raised to level 5.
inline constexpr int MAP_RAISED = 1;
inline constexpr int MAP_RAISED_TOP = 129;
int map_raise_level(int code);
// Damages everything within `radius` of the view centre (-1 the whole view).
// Mask bit 1 plots, bit 2 facilities, bit 5 occupants. `attacker` is a player
// or -1.
void map_area_effect(int radius, int mask, int destroy, int attacker);
// The same on a given list of object codes (the view lists them for
// map_area_effect); repeated codes count once.
void map_area_apply(const uint16_t* codes, int count, int mask, int destroy, int attacker);
inline constexpr int MAP_AREA_PLOTS = 1 << 1;
inline constexpr int MAP_AREA_FACILITIES = 1 << 2;
inline constexpr int MAP_AREA_OCCUPANTS = 1 << 5;
// Object code of player p's most valuable plot or facility that can still be
// raised, 0 if none.
int map_best_building(int p);
// Company buildings of the map whose chairman is player p.
int map_chair_count(int p);
// Swaps the buildings of two plots or two facilities with a sliding animation.
// Returns 1 when swapped, 0 when the two are not both plots or both facilities.
int map_swap_buildings(int a, int b);
// Preview of the next min(n, 8) squares player p will walk, into the first
// eight entries of view_pick_list; 1 if a fork was met.
int map_walk_path(int p, int n);
