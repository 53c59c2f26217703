#include "board/map_block.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "engine/record_io.h"

namespace {

// Map records go through the shared field lists: each field is named with
// its offset in the record.
using Get = RecordGet;
using Put = RecordPut;

template <typename Io, typename Rec> void square_fields(const Io& io, Rec& r) {
    io(r.x, 0);
    io(r.y, 2);
    io(r.name, 4);
    for (size_t i = 0; i < 4; ++i)
        io(r.links[i], 24 + 2 * i);
    io(r.object, 32);
    io(r.marker, 34);
    io(r.flags, 36);
}

template <typename Io, typename Rec> void lot_fields(const Io& io, Rec& r) {
    io(r.x, 0);
    io(r.y, 2);
    io(r.street, 4);
    io(r.mark, 23);
    io(r.chain_store, 24);
    io(r.owner.code, 25);
    io(r.level, 26);
    io(r.facing, 27);
    io(r.land_price, 28);
    io(r.build_price, 30);
    for (size_t i = 0; i < 6; ++i)
        io(r.toll[i], 32 + 2 * i);
    io(r.last_toll, 44);
    io(r.expiry, 48);
}

template <typename Io, typename Rec> void facility_fields(const Io& io, Rec& r) {
    io(r.x, 0);
    io(r.y, 2);
    io(r.name, 4);
    io(r.kind, 24);
    io(r.owner.code, 25);
    io(r.level, 26);
    io(r.facing, 27);
    io(r.mark, 28);
    io(r.research_item, 29);
    io(r.research_days, 30);
    io(r.reserved_31, 31);
    io(r.reserved_32, 32);
    io(r.price, 34);
    for (size_t i = 0; i < 6; ++i)
        io(r.fee[i], 36 + 2 * i);
    io(r.last_fee, 48);
    io(r.expiry, 52);
}

template <typename Io, typename Rec> void company_fields(const Io& io, Rec& r) {
    io(r.x, 0);
    io(r.y, 2);
    io(r.name, 4);
    io(r.chairman.code, 24);
    io(r.listed, 25);
    io(r.kind, 26);
    io(r.facing, 27);
    for (size_t i = 0; i < 4; ++i)
        io(r.holders[i].code, 28 + i);
    io(r.sprite, 32);
    io(r.base_fee, 34);
    io(r.value, 36);
    io(r.earnings, 40);
    io(r.earnings_total, 44);
    io(r.own_shares, 48);
}

template <typename Io, typename Rec> void decoration_fields(const Io& io, Rec& r) {
    io(r.x, 0);
    io(r.y, 2);
    io(r.name, 4);
    io(r.facing, 24);
    io(r.reserved_25, 25);
    io(r.sprite, 26);
}

template <typename Rec, void (*Fields)(const Get&, Rec&)>
void decode_table(const uint8_t* block, const MapStore& s, int t, std::vector<Rec>& out) {
    out.assign(static_cast<size_t>(s.count[t]) + 1, Rec{});
    const uint8_t* p = block + s.offset[t];
    for (Rec& r : out) {
        Fields(Get{p}, r);
        p += map_record_size[t];
    }
}

template <typename Rec, void (*Fields)(const Put&, const Rec&)>
void encode_table(uint8_t* out, const MapStore& s, int t, const std::vector<Rec>& recs) {
    uint8_t* p = out + s.offset[t];
    for (const Rec& r : recs) {
        Fields(Put{p}, r);
        p += map_record_size[t];
    }
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

std::string hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

const char* const table_names[MAP_TABLE_COUNT] = {"squares", "land plots", "facilities",
                                                  "company buildings", "decorations"};

} // namespace

int32_t map_header_count(const uint8_t* block, int t) {
    int32_t v;
    Get{block + 8 * t}(v, 0);
    return v;
}
int32_t map_header_offset(const uint8_t* block, int t) {
    int32_t v;
    Get{block + 8 * t}(v, 4);
    return v;
}

size_t map_block_data_size(const uint8_t* block) {
    const int64_t end = map_header_offset(block, MAP_T_DECORATIONS) +
                        (static_cast<int64_t>(map_header_count(block, MAP_T_DECORATIONS)) + 1) *
                            static_cast<int64_t>(MAP_DECORATION_SIZE);
    return static_cast<size_t>(end);
}

void map_store_decode(const uint8_t* block, size_t size, MapStore& s) {
    for (int t = 0; t < MAP_TABLE_COUNT; ++t) {
        s.count[t] = map_header_count(block, t);
        s.offset[t] = map_header_offset(block, t);
    }
    s.block.assign(block, block + size);
    decode_table<MapSquare, square_fields<Get, MapSquare>>(block, s, MAP_T_SQUARES, s.squares);
    decode_table<LandLot, lot_fields<Get, LandLot>>(block, s, MAP_T_LOTS, s.lots);
    decode_table<FacilityLot, facility_fields<Get, FacilityLot>>(block, s, MAP_T_FACILITIES,
                                                                 s.facilities);
    decode_table<CompanyBuilding, company_fields<Get, CompanyBuilding>>(block, s, MAP_T_COMPANIES,
                                                                        s.companies);
    decode_table<Decoration, decoration_fields<Get, Decoration>>(block, s, MAP_T_DECORATIONS,
                                                                 s.decorations);
}

void map_store_encode(const MapStore& s, uint8_t* out) {
    std::memcpy(out, s.block.data(), s.block.size());
    encode_table<MapSquare, square_fields<Put, const MapSquare>>(out, s, MAP_T_SQUARES, s.squares);
    encode_table<LandLot, lot_fields<Put, const LandLot>>(out, s, MAP_T_LOTS, s.lots);
    encode_table<FacilityLot, facility_fields<Put, const FacilityLot>>(out, s, MAP_T_FACILITIES,
                                                                       s.facilities);
    encode_table<CompanyBuilding, company_fields<Put, const CompanyBuilding>>(
        out, s, MAP_T_COMPANIES, s.companies);
    encode_table<Decoration, decoration_fields<Put, const Decoration>>(out, s, MAP_T_DECORATIONS,
                                                                       s.decorations);
}

std::vector<uint8_t> map_block_make(const std::vector<MapSquare>& squares,
                                    const std::vector<LandLot>& lots,
                                    const std::vector<FacilityLot>& facilities,
                                    const std::vector<CompanyBuilding>& companies,
                                    const std::vector<Decoration>& decorations) {
    MapStore s;
    s.squares = squares;
    s.lots = lots;
    s.facilities = facilities;
    s.companies = companies;
    s.decorations = decorations;
    const size_t sizes[MAP_TABLE_COUNT] = {squares.size(), lots.size(), facilities.size(),
                                           companies.size(), decorations.size()};
    size_t at = MAP_HEADER_SIZE;
    for (int t = 0; t < MAP_TABLE_COUNT; ++t) {
        s.count[t] = sizes[t] > 0 ? static_cast<int32_t>(sizes[t] - 1) : 0;
        s.offset[t] = static_cast<int32_t>(at);
        at += (static_cast<size_t>(s.count[t]) + 1) * map_record_size[t];
    }
    // A table given empty still gets its record 0.
    s.squares.resize(static_cast<size_t>(s.count[MAP_T_SQUARES]) + 1);
    s.lots.resize(static_cast<size_t>(s.count[MAP_T_LOTS]) + 1);
    s.facilities.resize(static_cast<size_t>(s.count[MAP_T_FACILITIES]) + 1);
    s.companies.resize(static_cast<size_t>(s.count[MAP_T_COMPANIES]) + 1);
    s.decorations.resize(static_cast<size_t>(s.count[MAP_T_DECORATIONS]) + 1);
    s.block.assign(at, 0);
    for (int t = 0; t < MAP_TABLE_COUNT; ++t) {
        const Put header{&s.block[8 * t]};
        header(static_cast<uint32_t>(s.count[t]), 0);
        header(static_cast<uint32_t>(s.offset[t]), 4);
    }
    std::vector<uint8_t> out(at);
    map_store_encode(s, out.data());
    return out;
}

bool map_code_in_range(const int32_t count[MAP_TABLE_COUNT], int code) {
    if (code <= 0) return false;
    const int bases[MAP_TABLE_COUNT] = {OBJ_SQUARE_BASE, OBJ_LOT_BASE, OBJ_FACILITY_BASE,
                                        OBJ_COMPANY_BASE, OBJ_DECORATION_BASE};
    for (int t = 0; t < MAP_TABLE_COUNT; ++t) {
        int i = code - bases[t];
        if (i >= 1 && i <= OBJ_RANGE) return i <= count[t];
    }
    return false;
}

// The header: five tables, each inside the block, after the header, not
// overlapping another, and all of them ending by the end of the decorations.
static bool check_header(const uint8_t* block, size_t size, std::string* error) {
    if (!block || size < MAP_HEADER_SIZE)
        return fail(error,
                    "map block too short for its header (" + std::to_string(size) + " bytes)");
    int64_t begin[MAP_TABLE_COUNT];
    int64_t end[MAP_TABLE_COUNT];
    for (int t = 0; t < MAP_TABLE_COUNT; ++t) {
        int64_t count = map_header_count(block, t);
        int64_t offset = map_header_offset(block, t);
        std::string what = std::string("map ") + table_names[t];
        if (count < 0 || count > OBJ_RANGE)
            return fail(error, what + ": count " + std::to_string(count) + " out of range 0..1999");
        if (offset < static_cast<int64_t>(MAP_HEADER_SIZE))
            return fail(error, what + ": offset " + std::to_string(offset) + " inside the header");
        begin[t] = offset;
        end[t] = offset + (count + 1) * static_cast<int64_t>(map_record_size[t]);
        if (end[t] > static_cast<int64_t>(size))
            return fail(error, what + ": table ends at byte " + std::to_string(end[t]) +
                                   " beyond the block's " + std::to_string(size));
    }
    if (map_header_count(block, MAP_T_SQUARES) < 1) return fail(error, "map has no squares");
    for (int t = 0; t < MAP_TABLE_COUNT; ++t) {
        if (end[t] > end[MAP_T_DECORATIONS])
            return fail(error, std::string("map ") + table_names[t] +
                                   ": table lies beyond the decorations");
        for (int u = t + 1; u < MAP_TABLE_COUNT; ++u)
            if (begin[t] < end[u] && begin[u] < end[t])
                return fail(error, std::string("map ") + table_names[t] + " and " + table_names[u] +
                                       " overlap");
    }
    return true;
}

bool map_store_check(const MapStore& s, std::string* error) {
    auto bad = [&](const char* table, int i, const std::string& why) {
        return fail(error, std::string("map ") + table + " " + std::to_string(i) + ": " + why);
    };
    const int32_t n = s.count[MAP_T_SQUARES];
    const std::string board_top = std::to_string(MAP_WORLD_SIZE - 1);
    for (int i = 1; i <= n; ++i) {
        const MapSquare& q = s.squares[i];
        // A square off the board cannot be walked to or drawn.
        if (q.x < 0 || q.x >= MAP_WORLD_SIZE)
            return bad("square", i, "x " + std::to_string(q.x) + " off the board 0.." + board_top);
        if (q.y < 0 || q.y >= MAP_WORLD_SIZE)
            return bad("square", i, "y " + std::to_string(q.y) + " off the board 0.." + board_top);
        int type = static_cast<int>(q.flags & SQF_TYPE_MASK);
        if (type >= SQUARE_TYPE_COUNT)
            return bad("square", i, "type " + std::to_string(type) + " not 0..16");
        for (int k = 0; k < 4; ++k) {
            int to = q.links[k];
            if (to > n)
                return bad("square", i,
                           "link " + std::to_string(k) + " to square " + std::to_string(to) +
                               " that does not exist");
            if (to == i) return bad("square", i, "links to itself");
        }
        if (q.object != 0 && !map_code_in_range(s.count, q.object))
            return bad("square", i,
                       "serves object " + std::to_string(q.object) + " that does not exist");
        int god = static_cast<int>((q.flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT);
        if (god > GOD_LAST_SLOT)
            return bad("square", i, "god slot " + std::to_string(god) + " not 0..46");
    }
    for (int i = 1; i <= s.count[MAP_T_LOTS]; ++i) {
        const LandLot& l = s.lots[i];
        if (l.owner > PLAYER_COUNT)
            return bad("land plot", i, "owner " + std::to_string(l.owner) + " not 0..4");
        if (l.level > 5)
            return bad("land plot", i, "level " + std::to_string(l.level) + " not 0..5");
        if (l.facing > 7)
            return bad("land plot", i, "facing " + std::to_string(l.facing) + " not 0..7");
        // A chain store is a flag.
        if (l.chain_store > 1)
            return bad("land plot", i,
                       "chain store " + std::to_string(l.chain_store) + " not 0..1");
        // Lapsing, bankruptcy and razing clear the term with the owner;
        // houses on unowned land are normal.
        if (l.owner == 0 && l.expiry != 0)
            return bad("land plot", i, "expiry " + hex(l.expiry) + " while unowned");
    }
    for (int i = 1; i <= s.count[MAP_T_FACILITIES]; ++i) {
        const FacilityLot& f = s.facilities[i];
        if (f.kind >= FACILITY_KIND_COUNT)
            return bad("facility", i, "kind " + std::to_string(f.kind) + " not 0..4");
        if (f.owner > PLAYER_COUNT)
            return bad("facility", i, "owner " + std::to_string(f.owner) + " not 0..4");
        if (f.level > 5)
            return bad("facility", i, "level " + std::to_string(f.level) + " not 0..5");
        if (f.facing > 7)
            return bad("facility", i, "facing " + std::to_string(f.facing) + " not 0..7");
        if (f.research_item > 5)
            return bad("facility", i,
                       "research item " + std::to_string(f.research_item) + " not 0..5");
        if (f.level > facility_max_level[f.kind])
            return bad("facility", i,
                       "level " + std::to_string(f.level) + " above the " +
                           std::to_string(facility_max_level[f.kind]) + " of its kind " +
                           std::to_string(f.kind));
        if (f.owner == 0 && f.expiry != 0)
            return bad("facility", i, "expiry " + hex(f.expiry) + " while unowned");
    }
    for (int i = 1; i <= s.count[MAP_T_COMPANIES]; ++i) {
        const CompanyBuilding& c = s.companies[i];
        if (c.chairman > PLAYER_COUNT)
            return bad("company building", i,
                       "chairman " + std::to_string(c.chairman) + " not 0..4");
        if (c.kind >= COMPANY_KIND_COUNT)
            return bad("company building", i, "kind " + std::to_string(c.kind) + " not 0..11");
        if (c.facing > 7)
            return bad("company building", i, "facing " + std::to_string(c.facing) + " not 0..7");
        for (uint8_t h : c.holders)
            if (h > PLAYER_COUNT)
                return bad("company building", i, "shareholder " + std::to_string(h) + " not 0..4");
    }
    for (int i = 1; i <= s.count[MAP_T_DECORATIONS]; ++i) {
        const Decoration& d = s.decorations[i];
        if (d.facing > 7)
            return bad("decoration", i, "facing " + std::to_string(d.facing) + " not 0..7");
    }
    return true;
}

bool map_validate(const uint8_t* block, size_t size, std::string* error) {
    if (!check_header(block, size, error)) return false;
    MapStore s;
    map_store_decode(block, map_block_data_size(block), s);
    return map_store_check(s, error);
}
