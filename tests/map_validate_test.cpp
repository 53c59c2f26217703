// The map block: its fields where the layout puts them, every byte carried
// through a read and a write, and the checks that refuse a bad block while
// the map in use stays as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "board/game_state.h"
#include "board/map.h"
#include "engine/random.h"
#include "support/map_fixture.h"

namespace {

using Block = std::vector<uint8_t>;

uint32_t get32(const Block& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
void put32(Block& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(Block& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
size_t count_at(int table) {
    return 8 * table;
}
size_t offset_at(int table) {
    return 8 * table + 4;
}
// Byte offset of record i of a table in the block.
size_t rec(const Block& b, int table, int i, size_t size) {
    return get32(b, offset_at(table)) + i * size;
}

// Three squares in a line, two plots, a facility, a company and the two places.
MapFixture small_board() {
    MapFixture f;
    int a = f.square(100, 100, SQ_PROPERTY, static_cast<uint16_t>(f.lot(100, 150, OWNER_NONE, 0)));
    int b = f.square(200, 100, SQ_JAIL, OBJ_JAIL);
    int c = f.square(300, 100, SQ_HOSPITAL, OBJ_HOSPITAL);
    f.link(a, b);
    f.link(b, c);
    f.lot(200, 150);
    f.facility(300, 150, FK_HOTEL, owner_of_seat(0), 2);
    f.company(400, 150, 0, 7);
    f.decoration(300, 50);
    f.decoration(200, 50);
    return f;
}

class MapBlockTest : public ::testing::Test {
  protected:
    void SetUp() override { map_fixture_reset(); }
};

Block current_block() {
    Block out(map_data_size);
    map_data_write(out.data());
    return out;
}

TEST_F(MapBlockTest, FieldsAreReadFromWhereTheLayoutPutsThem) {
    Block b = small_board().block();
    size_t sq = rec(b, 0, 2, MAP_SQUARE_SIZE);
    put16(b, sq + 24, 3); // link 0
    put16(b, sq + 30, 1); // link 3
    put16(b, sq + 34, 9); // marker frame
    put32(b, sq + 36, SQ_JAIL | 0x00050000u | SQF_INDOOR | sqf_closed(3));
    size_t lot = rec(b, 1, 1, MAP_LOT_SIZE);
    b[lot + 23] = 0x51;
    b[lot + 24] = 1;
    b[lot + 25] = 2;          // owned: a term runs only while somebody owns the plot
    put16(b, lot + 42, 4321); // toll at level 5
    put32(b, lot + 48, 0x07CE0C1F);
    size_t fac = rec(b, 2, 1, MAP_FACILITY_SIZE);
    b[fac + 29] = 4;
    b[fac + 30] = 6;
    put16(b, fac + 34, 7777);
    put16(b, fac + 36, 888);
    put32(b, fac + 48, 0xFFFFFFFEu);
    size_t co = rec(b, 3, 1, MAP_COMPANY_SIZE);
    b[co + 25] = 12;
    b[co + 31] = 3;
    put16(b, co + 32, 99);
    put32(b, co + 36, 2500000);
    put32(b, co + 48, 4321);
    size_t de = rec(b, 4, 2, MAP_DECORATION_SIZE);
    b[de + 24] = 6;
    put16(b, de + 26, 81);
    std::string error;
    ASSERT_TRUE(map_data_read(b.data(), b.size(), &error)) << error;
    const MapSquare& q = map_square_table[2];
    EXPECT_EQ(q.links[0], 3);
    EXPECT_EQ(q.links[3], 1);
    EXPECT_EQ(q.marker, 9);
    EXPECT_EQ(q.flags & SQF_TYPE_MASK, SQ_JAIL);
    EXPECT_EQ((q.flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT, 5u);
    EXPECT_TRUE(q.flags & SQF_INDOOR);
    EXPECT_TRUE(q.flags & (1u << 27)) << "link 3 is closed by bit 27";
    EXPECT_EQ(map_lot_table[1].mark, 0x51);
    EXPECT_EQ(map_lot_table[1].chain_store, 1);
    EXPECT_EQ(map_lot_table[1].owner, 2);
    EXPECT_EQ(map_lot_table[1].toll[5], 4321);
    EXPECT_EQ(map_lot_table[1].expiry, 0x07CE0C1Fu);
    EXPECT_EQ(map_facility_table[1].research_item, 4);
    EXPECT_EQ(map_facility_table[1].research_days, 6);
    EXPECT_EQ(map_facility_table[1].price, 7777);
    EXPECT_EQ(map_facility_table[1].fee[0], 888);
    EXPECT_EQ(map_facility_table[1].last_fee, -2);
    EXPECT_EQ(map_company_table[1].listed, 12);
    EXPECT_EQ(map_company_table[1].holders[3], 3);
    EXPECT_EQ(map_company_table[1].sprite, 99);
    EXPECT_EQ(map_company_table[1].value, 2500000);
    EXPECT_EQ(map_company_table[1].own_shares, 4321);
    EXPECT_EQ(map_decoration_table[2].facing, 6);
    EXPECT_EQ(map_decoration_table[2].sprite, 81);
    EXPECT_EQ(jail_square, 2);
    EXPECT_EQ(hospital_square, 3);
}

TEST_F(MapBlockTest, EveryByteIsCarriedThroughAReadAndAWrite) {
    Block good = small_board().block();
    // Move all tables 12 bytes on, leaving a gap after the header, and fill
    // the gap, every record 0 and every byte no field names with a pattern.
    Block b(good.size() + 12);
    std::memcpy(b.data(), good.data(), MAP_HEADER_SIZE);
    std::memcpy(b.data() + MAP_HEADER_SIZE + 12, good.data() + MAP_HEADER_SIZE,
                good.size() - MAP_HEADER_SIZE);
    for (int t = 0; t < 5; ++t)
        put32(b, offset_at(t), get32(b, offset_at(t)) + 12);
    for (size_t k = 0; k < 12; ++k)
        b[MAP_HEADER_SIZE + k] = static_cast<uint8_t>(0xA0 + k);
    const size_t sizes[5] = {MAP_SQUARE_SIZE, MAP_LOT_SIZE, MAP_FACILITY_SIZE, MAP_COMPANY_SIZE,
                             MAP_DECORATION_SIZE};
    for (int t = 0; t < 5; ++t)
        for (size_t k = 0; k < sizes[t]; ++k)
            b[rec(b, t, 0, sizes[t]) + k] = static_cast<uint8_t>(k * 7 + t);
    size_t fac = rec(b, 2, 1, MAP_FACILITY_SIZE);
    b[fac + 31] = 0x5A;
    put16(b, fac + 32, 0xBEEF);
    b[rec(b, 4, 1, MAP_DECORATION_SIZE) + 25] = 0x77;
    std::memcpy(&b[rec(b, 0, 1, MAP_SQUARE_SIZE) + 4], "\xB5\xD8\xB5\xE3\0\x11\x22",
                7); // bytes after the name's end
    std::string error;
    ASSERT_TRUE(map_data_read(b.data(), b.size(), &error)) << error;
    EXPECT_EQ(map_data_size, b.size());
    EXPECT_EQ(map_facility_table[1].reserved_32, 0xBEEF);
    EXPECT_EQ(current_block(), b);
    // Changes made in play reach the block.
    map_lot_table[1].owner = owner_of_seat(2);
    Block changed = current_block();
    EXPECT_EQ(changed[rec(b, 1, 1, MAP_LOT_SIZE) + 25], 3);
}

TEST_F(MapBlockTest, BytesAfterTheLastDecorationAreNotPartOfTheBlock) {
    Block b = small_board().block();
    const size_t size = b.size();
    b.resize(size + 100, 0xEE);
    std::string error;
    ASSERT_TRUE(map_data_read(b.data(), b.size(), &error)) << error;
    EXPECT_EQ(map_data_size, size);
}

TEST_F(MapBlockTest, NoMapMeansEmptyTables) {
    EXPECT_FALSE(map_data_loaded());
    EXPECT_EQ(map_square_table, nullptr);
    EXPECT_EQ(map_square_count, 0);
    EXPECT_EQ(map_data_size, 0u);
    EXPECT_EQ(map_random_free_square(), 0);
    int x = 1, y = 1;
    EXPECT_FALSE(map_object_position(1, &x, &y));
}

struct Corruption {
    const char* what;
    std::function<void(Block&)> apply;
};

const std::vector<Corruption>& corruptions() {
    static const std::vector<Corruption> list = {
        {"header cut short", [](Block& b) { b.resize(39); }},
        {"block cut inside the decorations", [](Block& b) { b.resize(b.size() - 1); }},
        {"negative count", [](Block& b) { put32(b, count_at(1), 0xFFFFFFFFu); }},
        {"count above 1999", [](Block& b) { put32(b, count_at(0), 2000); }},
        {"huge count", [](Block& b) { put32(b, count_at(4), 0x7FFFFFFFu); }},
        {"no squares", [](Block& b) { put32(b, count_at(0), 0); }},
        {"offset inside the header", [](Block& b) { put32(b, offset_at(1), 20); }},
        {"negative offset", [](Block& b) { put32(b, offset_at(2), 0xFFFFFF00u); }},
        {"table beyond the block",
         [](Block& b) { put32(b, count_at(4), get32(b, count_at(4)) + 1); }},
        {"tables overlap", [](Block& b) { put32(b, offset_at(1), get32(b, offset_at(0)) + 40); }},
        {"table after the decorations",
         [](Block& b) {
             put32(b, offset_at(3), static_cast<uint32_t>(b.size()));
             b.resize(b.size() + 2 * MAP_COMPANY_SIZE);
         }},
        {"square type 17", [](Block& b) { b[rec(b, 0, 1, MAP_SQUARE_SIZE) + 36] = 17; }},
        {"square x past the board",
         [](Block& b) { put16(b, rec(b, 0, 2, MAP_SQUARE_SIZE), 72 * 32); }},
        {"square x negative", [](Block& b) { put16(b, rec(b, 0, 1, MAP_SQUARE_SIZE), 0xFFFF); }},
        {"square y far off the board",
         [](Block& b) { put16(b, rec(b, 0, 3, MAP_SQUARE_SIZE) + 2, 30000); }},
        {"link to a missing square",
         [](Block& b) { put16(b, rec(b, 0, 1, MAP_SQUARE_SIZE) + 26, 4); }},
        {"link to itself", [](Block& b) { put16(b, rec(b, 0, 2, MAP_SQUARE_SIZE) + 28, 2); }},
        {"serves a missing plot",
         [](Block& b) { put16(b, rec(b, 0, 1, MAP_SQUARE_SIZE) + 32, 2003); }},
        {"serves a missing decoration",
         [](Block& b) { put16(b, rec(b, 0, 1, MAP_SQUARE_SIZE) + 32, 8003); }},
        {"serves code 2000", [](Block& b) { put16(b, rec(b, 0, 1, MAP_SQUARE_SIZE) + 32, 2000); }},
        {"serves code 10000",
         [](Block& b) { put16(b, rec(b, 0, 1, MAP_SQUARE_SIZE) + 32, 10000); }},
        {"god slot 47", [](Block& b) { b[rec(b, 0, 3, MAP_SQUARE_SIZE) + 38] = 47; }},
        {"plot owner 5", [](Block& b) { b[rec(b, 1, 2, MAP_LOT_SIZE) + 25] = 5; }},
        {"plot level 6", [](Block& b) { b[rec(b, 1, 1, MAP_LOT_SIZE) + 26] = 6; }},
        {"plot facing 8", [](Block& b) { b[rec(b, 1, 1, MAP_LOT_SIZE) + 27] = 8; }},
        {"facility kind 5", [](Block& b) { b[rec(b, 2, 1, MAP_FACILITY_SIZE) + 24] = 5; }},
        {"facility owner 5", [](Block& b) { b[rec(b, 2, 1, MAP_FACILITY_SIZE) + 25] = 5; }},
        {"facility level 6", [](Block& b) { b[rec(b, 2, 1, MAP_FACILITY_SIZE) + 26] = 6; }},
        {"research item 6", [](Block& b) { b[rec(b, 2, 1, MAP_FACILITY_SIZE) + 29] = 6; }},
        {"chairman 5", [](Block& b) { b[rec(b, 3, 1, MAP_COMPANY_SIZE) + 24] = 5; }},
        {"company kind 12", [](Block& b) { b[rec(b, 3, 1, MAP_COMPANY_SIZE) + 26] = 12; }},
        {"shareholder 5", [](Block& b) { b[rec(b, 3, 1, MAP_COMPANY_SIZE) + 30] = 5; }},
        {"decoration facing 8", [](Block& b) { b[rec(b, 4, 2, MAP_DECORATION_SIZE) + 24] = 8; }},
    };
    return list;
}

TEST_F(MapBlockTest, TheSmallBoardIsSound) {
    Block b = small_board().block();
    std::string error;
    EXPECT_TRUE(map_validate(b.data(), b.size(), &error)) << error;
    EXPECT_FALSE(map_validate(nullptr, 0, &error));
}

TEST_F(MapBlockTest, ABadBlockIsRefusedAndTheMapInUseIsKept) {
    // The map in use: another board, changed in play.
    MapFixture in_use = small_board();
    in_use.square(400, 100, SQ_NEWS);
    in_use.link(3, 4);
    ASSERT_TRUE(in_use.load());
    map_lot_table[2].owner = owner_of_seat(1);
    map_lot_table[2].level = 3;
    const Block before = current_block();
    const MapSquare* table = map_square_table;
    for (const Corruption& c : corruptions()) {
        Block b = small_board().block();
        c.apply(b);
        std::string error;
        EXPECT_FALSE(map_validate(b.data(), b.size(), &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        error.clear();
        EXPECT_FALSE(map_data_read(b.data(), b.size(), &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(map_square_count, 4) << c.what;
        EXPECT_EQ(map_square_table, table) << c.what;
        EXPECT_EQ(current_block(), before) << c.what;
        EXPECT_EQ(jail_square, 2) << c.what;
    }
}

TEST_F(MapBlockTest, TheReasonNamesWhatIsWrong) {
    Block b = small_board().block();
    b[rec(b, 0, 1, MAP_SQUARE_SIZE) + 36] = 23;
    std::string error;
    ASSERT_FALSE(map_validate(b.data(), b.size(), &error));
    EXPECT_NE(error.find("square 1"), std::string::npos) << error;
    EXPECT_NE(error.find("23"), std::string::npos) << error;
}

TEST_F(MapBlockTest, EveryShorterBlockIsRefused) {
    const Block good = small_board().block();
    for (size_t n = 0; n < good.size(); ++n) {
        Block b(good.begin(), good.begin() + static_cast<long>(n));
        std::string error;
        EXPECT_FALSE(map_validate(b.data(), b.size(), &error)) << n << " bytes";
    }
}

// Damaged blocks either are refused or give a board whose routines stay
// inside their tables (the sanitizer builds watch the memory).
TEST_F(MapBlockTest, DamagedBlocksAreRefusedOrSafeToUse) {
    const Block good = small_board().block();
    game_srand(2024);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        Block b = good;
        int hits = 1 + game_rand() % 4;
        for (int k = 0; k < hits; ++k)
            b[static_cast<size_t>(game_rand()) % b.size()] = static_cast<uint8_t>(game_rand());
        std::string error;
        if (!map_data_read(b.data(), b.size(), &error)) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        ++accepted;
        for (int s = 1; s <= map_square_count; ++s) {
            player_table[0].square = static_cast<uint16_t>(s);
            player_table[0].prev_square = map_square_table[s].links[0];
            map_walk_path(0, 8);
            map_random_square_far(s);
            for (int k = 0; k < 4; ++k)
                map_direction(s, map_square_table[s].links[k]);
            int x, y;
            map_object_position(map_square_table[s].object, &x, &y);
            map_building_op(map_square_table[s].object, round % 3);
            map_raise_level(map_square_table[s].object);
        }
        map_best_building(round % 4);
        map_random_free_square();
        Block out(map_data_size);
        map_data_write(out.data());
    }
    EXPECT_GT(accepted, 0) << "damage to names and prices is harmless and accepted";
}

} // namespace
