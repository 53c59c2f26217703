#include "board/map_block.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "board/game_state.h"

namespace {

uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
void put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

MapSquare read_square(const uint8_t* p) {
    MapSquare r{};
    r.x = static_cast<int16_t>(get16(p));
    r.y = static_cast<int16_t>(get16(p + 2));
    std::memcpy(r.name, p + 4, sizeof r.name);
    for (int i = 0; i < 4; ++i) r.links[i] = get16(p + 24 + 2 * i);
    r.object = get16(p + 32);
    r.marker = get16(p + 34);
    r.flags = get32(p + 36);
    return r;
}
void write_square(const MapSquare& r, uint8_t* p) {
    put16(p, static_cast<uint16_t>(r.x));
    put16(p + 2, static_cast<uint16_t>(r.y));
    std::memcpy(p + 4, r.name, sizeof r.name);
    for (int i = 0; i < 4; ++i) put16(p + 24 + 2 * i, r.links[i]);
    put16(p + 32, r.object);
    put16(p + 34, r.marker);
    put32(p + 36, r.flags);
}

LandLot read_lot(const uint8_t* p) {
    LandLot r{};
    r.x = static_cast<int16_t>(get16(p));
    r.y = static_cast<int16_t>(get16(p + 2));
    std::memcpy(r.street, p + 4, sizeof r.street);
    r.mark = p[23];
    r.chain_store = p[24];
    r.owner = p[25];
    r.level = p[26];
    r.facing = p[27];
    r.land_price = get16(p + 28);
    r.build_price = get16(p + 30);
    for (int i = 0; i < 6; ++i) r.toll[i] = get16(p + 32 + 2 * i);
    r.last_toll = static_cast<int32_t>(get32(p + 44));
    r.expiry = get32(p + 48);
    return r;
}
void write_lot(const LandLot& r, uint8_t* p) {
    put16(p, static_cast<uint16_t>(r.x));
    put16(p + 2, static_cast<uint16_t>(r.y));
    std::memcpy(p + 4, r.street, sizeof r.street);
    p[23] = r.mark;
    p[24] = r.chain_store;
    p[25] = r.owner;
    p[26] = r.level;
    p[27] = r.facing;
    put16(p + 28, r.land_price);
    put16(p + 30, r.build_price);
    for (int i = 0; i < 6; ++i) put16(p + 32 + 2 * i, r.toll[i]);
    put32(p + 44, static_cast<uint32_t>(r.last_toll));
    put32(p + 48, r.expiry);
}

FacilityLot read_facility(const uint8_t* p) {
    FacilityLot r{};
    r.x = static_cast<int16_t>(get16(p));
    r.y = static_cast<int16_t>(get16(p + 2));
    std::memcpy(r.name, p + 4, sizeof r.name);
    r.kind = p[24];
    r.owner = p[25];
    r.level = p[26];
    r.facing = p[27];
    r.mark = p[28];
    r.research_item = p[29];
    r.research_days = p[30];
    r.reserved_31 = p[31];
    r.reserved_32 = get16(p + 32);
    r.price = get16(p + 34);
    for (int i = 0; i < 6; ++i) r.fee[i] = get16(p + 36 + 2 * i);
    r.last_fee = static_cast<int32_t>(get32(p + 48));
    r.expiry = get32(p + 52);
    return r;
}
void write_facility(const FacilityLot& r, uint8_t* p) {
    put16(p, static_cast<uint16_t>(r.x));
    put16(p + 2, static_cast<uint16_t>(r.y));
    std::memcpy(p + 4, r.name, sizeof r.name);
    p[24] = r.kind;
    p[25] = r.owner;
    p[26] = r.level;
    p[27] = r.facing;
    p[28] = r.mark;
    p[29] = r.research_item;
    p[30] = r.research_days;
    p[31] = r.reserved_31;
    put16(p + 32, r.reserved_32);
    put16(p + 34, r.price);
    for (int i = 0; i < 6; ++i) put16(p + 36 + 2 * i, r.fee[i]);
    put32(p + 48, static_cast<uint32_t>(r.last_fee));
    put32(p + 52, r.expiry);
}

CompanyBuilding read_company(const uint8_t* p) {
    CompanyBuilding r{};
    r.x = static_cast<int16_t>(get16(p));
    r.y = static_cast<int16_t>(get16(p + 2));
    std::memcpy(r.name, p + 4, sizeof r.name);
    r.chairman = p[24];
    r.listed = p[25];
    r.kind = p[26];
    r.facing = p[27];
    for (int i = 0; i < 4; ++i) r.holders[i] = p[28 + i];
    r.sprite = get16(p + 32);
    r.base_fee = get16(p + 34);
    r.value = static_cast<int32_t>(get32(p + 36));
    r.earnings = static_cast<int32_t>(get32(p + 40));
    r.earnings_total = static_cast<int32_t>(get32(p + 44));
    r.own_shares = static_cast<int32_t>(get32(p + 48));
    return r;
}
void write_company(const CompanyBuilding& r, uint8_t* p) {
    put16(p, static_cast<uint16_t>(r.x));
    put16(p + 2, static_cast<uint16_t>(r.y));
    std::memcpy(p + 4, r.name, sizeof r.name);
    p[24] = r.chairman;
    p[25] = r.listed;
    p[26] = r.kind;
    p[27] = r.facing;
    for (int i = 0; i < 4; ++i) p[28 + i] = r.holders[i];
    put16(p + 32, r.sprite);
    put16(p + 34, r.base_fee);
    put32(p + 36, static_cast<uint32_t>(r.value));
    put32(p + 40, static_cast<uint32_t>(r.earnings));
    put32(p + 44, static_cast<uint32_t>(r.earnings_total));
    put32(p + 48, static_cast<uint32_t>(r.own_shares));
}

Decoration read_decoration(const uint8_t* p) {
    Decoration r{};
    r.x = static_cast<int16_t>(get16(p));
    r.y = static_cast<int16_t>(get16(p + 2));
    std::memcpy(r.name, p + 4, sizeof r.name);
    r.facing = p[24];
    r.reserved_25 = p[25];
    r.sprite = get16(p + 26);
    return r;
}
void write_decoration(const Decoration& r, uint8_t* p) {
    put16(p, static_cast<uint16_t>(r.x));
    put16(p + 2, static_cast<uint16_t>(r.y));
    std::memcpy(p + 4, r.name, sizeof r.name);
    p[24] = r.facing;
    p[25] = r.reserved_25;
    put16(p + 26, r.sprite);
}

template <typename Rec, typename Read>
void decode_table(const uint8_t* block, const MapStore& s, int t, std::vector<Rec>& out, Read read) {
    out.resize(static_cast<size_t>(s.count[t]) + 1);
    const uint8_t* p = block + s.offset[t];
    for (auto& r : out) {
        r = read(p);
        p += map_record_size[t];
    }
}

template <typename Rec, typename Write>
void encode_table(uint8_t* out, const MapStore& s, int t, const std::vector<Rec>& recs, Write write) {
    uint8_t* p = out + s.offset[t];
    for (const auto& r : recs) {
        write(r, p);
        p += map_record_size[t];
    }
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

const char* const table_names[MAP_TABLE_COUNT] = {"squares", "land plots", "facilities",
                                                  "company buildings", "decorations"};

}  // namespace

int32_t map_header_count(const uint8_t* block, int t) {
    return static_cast<int32_t>(get32(block + 8 * t));
}
int32_t map_header_offset(const uint8_t* block, int t) {
    return static_cast<int32_t>(get32(block + 8 * t + 4));
}

void map_store_decode(const uint8_t* block, size_t size, MapStore& s) {
    for (int t = 0; t < MAP_TABLE_COUNT; ++t) {
        s.count[t] = map_header_count(block, t);
        s.offset[t] = map_header_offset(block, t);
    }
    s.block.assign(block, block + size);
    decode_table(block, s, MAP_T_SQUARES, s.squares, read_square);
    decode_table(block, s, MAP_T_LOTS, s.lots, read_lot);
    decode_table(block, s, MAP_T_FACILITIES, s.facilities, read_facility);
    decode_table(block, s, MAP_T_COMPANIES, s.companies, read_company);
    decode_table(block, s, MAP_T_DECORATIONS, s.decorations, read_decoration);
}

void map_store_encode(const MapStore& s, uint8_t* out) {
    std::memcpy(out, s.block.data(), s.block.size());
    encode_table(out, s, MAP_T_SQUARES, s.squares, write_square);
    encode_table(out, s, MAP_T_LOTS, s.lots, write_lot);
    encode_table(out, s, MAP_T_FACILITIES, s.facilities, write_facility);
    encode_table(out, s, MAP_T_COMPANIES, s.companies, write_company);
    encode_table(out, s, MAP_T_DECORATIONS, s.decorations, write_decoration);
}

std::vector<uint8_t> map_block_make(const std::vector<MapSquare>& squares, const std::vector<LandLot>& lots,
                                    const std::vector<FacilityLot>& facilities,
                                    const std::vector<CompanyBuilding>& companies,
                                    const std::vector<Decoration>& decorations) {
    MapStore s;
    s.squares = squares;
    s.lots = lots;
    s.facilities = facilities;
    s.companies = companies;
    s.decorations = decorations;
    const size_t sizes[MAP_TABLE_COUNT] = {squares.size(), lots.size(), facilities.size(), companies.size(),
                                           decorations.size()};
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
        put32(&s.block[8 * t], static_cast<uint32_t>(s.count[t]));
        put32(&s.block[8 * t + 4], static_cast<uint32_t>(s.offset[t]));
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
        return fail(error, "map block too short for its header (" + std::to_string(size) + " bytes)");
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
            return fail(error, std::string("map ") + table_names[t] + ": table lies beyond the decorations");
        for (int u = t + 1; u < MAP_TABLE_COUNT; ++u)
            if (begin[t] < end[u] && begin[u] < end[t])
                return fail(error, std::string("map ") + table_names[t] + " and " + table_names[u] + " overlap");
    }
    return true;
}

bool map_store_check(const MapStore& s, std::string* error) {
    auto bad = [&](const char* table, int i, const std::string& why) {
        return fail(error, std::string("map ") + table + " " + std::to_string(i) + ": " + why);
    };
    const int32_t n = s.count[MAP_T_SQUARES];
    for (int i = 1; i <= n; ++i) {
        const MapSquare& q = s.squares[i];
        int type = static_cast<int>(q.flags & SQF_TYPE_MASK);
        if (type >= SQUARE_TYPE_COUNT) return bad("square", i, "type " + std::to_string(type) + " not 0..16");
        for (int k = 0; k < 4; ++k) {
            int to = q.links[k];
            if (to > n) return bad("square", i, "link " + std::to_string(k) + " to square " + std::to_string(to) + " that does not exist");
            if (to == i) return bad("square", i, "links to itself");
        }
        if (q.object != 0 && !map_code_in_range(s.count, q.object))
            return bad("square", i, "serves object " + std::to_string(q.object) + " that does not exist");
        int god = static_cast<int>((q.flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT);
        if (god > GOD_LAST_SLOT) return bad("square", i, "god slot " + std::to_string(god) + " not 0..46");
    }
    for (int i = 1; i <= s.count[MAP_T_LOTS]; ++i) {
        const LandLot& l = s.lots[i];
        if (l.owner > PLAYER_COUNT) return bad("land plot", i, "owner " + std::to_string(l.owner) + " not 0..4");
        if (l.level > 5) return bad("land plot", i, "level " + std::to_string(l.level) + " not 0..5");
        if (l.facing > 7) return bad("land plot", i, "facing " + std::to_string(l.facing) + " not 0..7");
    }
    for (int i = 1; i <= s.count[MAP_T_FACILITIES]; ++i) {
        const FacilityLot& f = s.facilities[i];
        if (f.kind >= FACILITY_KIND_COUNT) return bad("facility", i, "kind " + std::to_string(f.kind) + " not 0..4");
        if (f.owner > PLAYER_COUNT) return bad("facility", i, "owner " + std::to_string(f.owner) + " not 0..4");
        if (f.level > 5) return bad("facility", i, "level " + std::to_string(f.level) + " not 0..5");
        if (f.facing > 7) return bad("facility", i, "facing " + std::to_string(f.facing) + " not 0..7");
        if (f.research_item > 5) return bad("facility", i, "research item " + std::to_string(f.research_item) + " not 0..5");
    }
    for (int i = 1; i <= s.count[MAP_T_COMPANIES]; ++i) {
        const CompanyBuilding& c = s.companies[i];
        if (c.chairman > PLAYER_COUNT) return bad("company building", i, "chairman " + std::to_string(c.chairman) + " not 0..4");
        if (c.kind >= COMPANY_KIND_COUNT) return bad("company building", i, "kind " + std::to_string(c.kind) + " not 0..11");
        if (c.facing > 7) return bad("company building", i, "facing " + std::to_string(c.facing) + " not 0..7");
        for (uint8_t h : c.holders)
            if (h > PLAYER_COUNT) return bad("company building", i, "shareholder " + std::to_string(h) + " not 0..4");
    }
    for (int i = 1; i <= s.count[MAP_T_DECORATIONS]; ++i) {
        const Decoration& d = s.decorations[i];
        if (d.facing > 7) return bad("decoration", i, "facing " + std::to_string(d.facing) + " not 0..7");
    }
    return true;
}

bool map_validate(const uint8_t* block, size_t size, std::string* error) {
    if (!check_header(block, size, error)) return false;
    int64_t data_size = map_header_offset(block, MAP_T_DECORATIONS) +
                        (static_cast<int64_t>(map_header_count(block, MAP_T_DECORATIONS)) + 1) *
                            static_cast<int64_t>(MAP_DECORATION_SIZE);
    MapStore s;
    map_store_decode(block, static_cast<size_t>(data_size), s);
    return map_store_check(s, error);
}
