// The four stand-in maps the data builder writes: each must pass the map
// validator and be a plausible board for whole games to run on.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "board/map.h"
#include "board/world_reset.h"
#include "data/stock_initial.h"
#include "engine/mkf.h"
#include "platform/files.h"
#include "support/map_fixture.h"

namespace {

constexpr int listed_rows[4] = {3, 4, 6, 6};

// A name field: a zero inside the field, non-empty, and GBK text before it.
bool gbk_name(const char* field, size_t size, std::string* why) {
    const void* end = std::memchr(field, 0, size);
    if (!end) {
        *why = "no terminating zero inside the field";
        return false;
    }
    size_t len = static_cast<size_t>(static_cast<const char*>(end) - field);
    if (len == 0) {
        *why = "empty";
        return false;
    }
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string in(field, len);
    std::string out(len * 3 + 4, '\0');
    char* ip = in.data();
    size_t il = len;
    char* op = out.data();
    size_t ol = out.size();
    size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || il != 0) {
        *why = "not GBK text";
        return false;
    }
    return true;
}

class StandinMapTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        map_fixture_reset();
        plat_set_data_dir(KARVO_TEST_DATA_DIR);
        int slot = mkf_open("MAPDAT.MKF");
        ASSERT_GE(slot, 0) << "the data builder writes MAPDAT.MKF into " << KARVO_TEST_DATA_DIR;
        uint32_t size = 0;
        void* data = mkf_read(slot, GetParam(), nullptr, &size);
        mkf_close(slot);
        ASSERT_NE(data, nullptr);
        block_.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
        std::free(data);
        std::string error;
        ASSERT_TRUE(map_validate(block_.data(), block_.size(), &error)) << error;
        ASSERT_TRUE(map_data_read(block_.data(), block_.size(), &error)) << error;
    }
    void TearDown() override { game_world_reset(); }

    static int type(int s) { return static_cast<int>(map_square_table[s].flags & SQF_TYPE_MASK); }
    std::vector<uint8_t> block_;
};

TEST_P(StandinMapTest, TheBlockIsExactlyItsTables) {
    EXPECT_EQ(map_data_size, block_.size());
}

TEST_P(StandinMapTest, SquaresFormAClosedNetworkWithForks) {
    int forks = 0;
    int closed = 0;
    int indoor = 0;
    std::set<std::pair<int, int>> places;
    for (int s = 1; s <= map_square_count; ++s) {
        const MapSquare& q = map_square_table[s];
        int links = 0;
        for (int k = 0; k < 4; ++k) {
            int t = q.links[k];
            if (t == 0) continue;
            ++links;
            const MapSquare& o = map_square_table[t];
            bool back = false;
            for (int j = 0; j < 4; ++j)
                back |= o.links[j] == s;
            EXPECT_TRUE(back) << "link " << s << " -> " << t << " has no way back";
            double len = std::hypot(o.x - q.x, o.y - q.y);
            EXPECT_GE(len, 64.0) << s << " -> " << t;
            EXPECT_LE(len, 160.0) << s << " -> " << t;
            if (q.flags & sqf_closed(k)) ++closed;
        }
        EXPECT_GE(links, 2) << "square " << s << " is a dead end";
        if (links >= 3) ++forks;
        if (q.flags & SQF_INDOOR) ++indoor;
        EXPECT_GT(q.x, 0) << s;
        EXPECT_GT(q.y, 0) << s;
        EXPECT_LT(q.x, MAP_WORLD_SIZE) << s;
        EXPECT_LT(q.y, MAP_WORLD_SIZE) << s;
        EXPECT_TRUE(places.insert({q.x, q.y}).second) << "square " << s << " shares its place";
        EXPECT_EQ(q.flags & (SQF_PLAYERS_MASK | SQF_WALKERS_MASK | SQF_GOD_MASK), 0u) << s;
    }
    EXPECT_GE(forks, 2);
    EXPECT_GE(closed, 1);
    EXPECT_GE(indoor, 3);
    // Walking only through open links reaches every square from square 1.
    std::vector<bool> seen(map_square_count + 1, false);
    std::deque<int> todo{1};
    seen[1] = true;
    while (!todo.empty()) {
        int s = todo.front();
        todo.pop_front();
        const MapSquare& q = map_square_table[s];
        for (int k = 0; k < 4; ++k) {
            int t = q.links[k];
            if (t && !(q.flags & sqf_closed(k)) && !seen[t]) {
                seen[t] = true;
                todo.push_back(t);
            }
        }
    }
    for (int s = 1; s <= map_square_count; ++s)
        EXPECT_TRUE(seen[s]) << "square " << s << " cannot be reached";
}

TEST_P(StandinMapTest, EverySquareTypeIsThereAndServesWhatItShould) {
    std::map<int, int> count;
    for (int s = 1; s <= map_square_count; ++s) {
        const MapSquare& q = map_square_table[s];
        ++count[type(s)];
        switch (type(s)) {
        case SQ_PROPERTY:
            EXPECT_TRUE(q.object > OBJ_LOT_BASE && q.object < OBJ_DECORATION_BASE) << s;
            EXPECT_FALSE(q.flags & SQF_INDOOR) << s;
            break;
        case SQ_JAIL:
            EXPECT_EQ(q.object, OBJ_JAIL);
            break;
        case SQ_HOSPITAL:
            EXPECT_EQ(q.object, OBJ_HOSPITAL);
            break;
        case SQ_BANK:
            ASSERT_GT(q.object, OBJ_COMPANY_BASE);
            EXPECT_EQ(map_company_table[q.object - OBJ_COMPANY_BASE].kind, COMPANY_KIND_BANK);
            break;
        case SQ_SHOP:
            EXPECT_GT(q.object, OBJ_COMPANY_BASE) << s;
            break;
        default:
            EXPECT_EQ(q.object, 0) << s;
        }
    }
    for (int t = 0; t < SQUARE_TYPE_COUNT; ++t)
        EXPECT_GE(count[t], 1) << "type " << t;
    EXPECT_EQ(count[SQ_JAIL], 1);
    EXPECT_EQ(count[SQ_HOSPITAL], 1);
    EXPECT_GE(count[SQ_PROPERTY], 30);
    ASSERT_GE(map_decoration_count, 2);
    EXPECT_NE(map_decoration_table[1].sprite, 0);
    EXPECT_NE(map_decoration_table[2].sprite, 0);
}

TEST_P(StandinMapTest, EveryPropertyHasItsSquareAndStreetsHoldTwoToFourPlots) {
    std::vector<int> served(10000, 0);
    for (int s = 1; s <= map_square_count; ++s)
        if (type(s) == SQ_PROPERTY) ++served[map_square_table[s].object];
    std::map<std::string, int> streets;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        EXPECT_EQ(served[OBJ_LOT_BASE + i], 1) << "plot " << i;
        streets[std::string(l.street, strnlen(l.street, sizeof l.street))]++;
        EXPECT_GT(l.land_price, 0);
        EXPECT_GT(l.build_price, 0);
        for (int k = 1; k < 6; ++k)
            EXPECT_GT(l.toll[k], l.toll[k - 1]) << "plot " << i;
        EXPECT_EQ(l.owner, 0);
        EXPECT_EQ(l.level, 0);
    }
    EXPECT_GE(streets.size(), 8u);
    for (const auto& [name, n] : streets) {
        EXPECT_GE(n, 2) << "a street of " << n;
        EXPECT_LE(n, 4) << "a street of " << n;
    }
    EXPECT_GE(map_facility_count, 4);
    for (int i = 1; i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        EXPECT_EQ(served[OBJ_FACILITY_BASE + i], 1) << "facility " << i;
        EXPECT_EQ(f.kind, 0);
        EXPECT_EQ(f.level, 0);
        EXPECT_GT(f.price, 0);
        EXPECT_GT(f.fee[0], 0);
    }
    for (int i = 1; i <= map_company_count; ++i)
        EXPECT_EQ(served[OBJ_COMPANY_BASE + i], 1) << "company " << i;
}

TEST_P(StandinMapTest, CompanyBuildingsMatchTheListedStocks) {
    const int m = GetParam();
    const auto& stocks = stock_initial_table[m];
    int banks = 0;
    int insurers = 0;
    int unlisted = 0;
    std::vector<int> per_row(12, 0);
    for (int j = 1; j <= map_company_count; ++j) {
        const CompanyBuilding& c = map_company_table[j];
        EXPECT_EQ(c.chairman, 0);
        EXPECT_NE(c.sprite, 0);
        if (c.listed >= 12) {
            ++unlisted;
            EXPECT_GT(c.value, 0);
            continue;
        }
        ++per_row[c.listed];
        EXPECT_EQ(c.value, static_cast<int32_t>(stocks[c.listed].reference_price) * 10000)
            << "company " << j;
        if (c.kind == COMPANY_KIND_BANK) ++banks;
        if (c.kind == COMPANY_KIND_INSURANCE) ++insurers;
    }
    for (int r = 0; r < 12; ++r) {
        EXPECT_EQ(per_row[r], r < listed_rows[m] ? 1 : 0) << "stock row " << r;
        EXPECT_EQ(stocks[r].building != 0, r < listed_rows[m]) << "stock row " << r;
    }
    EXPECT_EQ(banks, 1);
    EXPECT_EQ(insurers, 1);
    EXPECT_GE(unlisted, 1);
}

TEST_P(StandinMapTest, NamesAreGbkTextInsideTheirFields) {
    std::string why;
    for (int s = 1; s <= map_square_count; ++s)
        EXPECT_TRUE(gbk_name(map_square_table[s].name, sizeof map_square_table[s].name, &why))
            << "square " << s << ": " << why;
    for (int i = 1; i <= map_lot_count; ++i)
        EXPECT_TRUE(gbk_name(map_lot_table[i].street, sizeof map_lot_table[i].street, &why))
            << "plot " << i << ": " << why;
    for (int i = 1; i <= map_facility_count; ++i)
        EXPECT_TRUE(gbk_name(map_facility_table[i].name, sizeof map_facility_table[i].name, &why))
            << "facility " << i << ": " << why;
    for (int i = 1; i <= map_company_count; ++i)
        EXPECT_TRUE(gbk_name(map_company_table[i].name, sizeof map_company_table[i].name, &why))
            << "company " << i << ": " << why;
    for (int i = 1; i <= map_decoration_count; ++i)
        EXPECT_TRUE(
            gbk_name(map_decoration_table[i].name, sizeof map_decoration_table[i].name, &why))
            << "decoration " << i << ": " << why;
}

TEST_P(StandinMapTest, GodsFindPlacesThreeHundredUnitsApart) {
    // Greedily pick outdoor property squares each at least 300 units from
    // every one picked before (in x or in y): the eight first gods and their
    // counterparts must find room.
    std::vector<int> picked;
    for (int s = 1; s <= map_square_count; ++s) {
        const MapSquare& q = map_square_table[s];
        if (type(s) != SQ_PROPERTY || (q.flags & SQF_INDOOR)) continue;
        bool far = true;
        for (int p : picked) {
            const MapSquare& o = map_square_table[p];
            far &= std::abs(q.x - o.x) >= 300 || std::abs(q.y - o.y) >= 300;
        }
        if (far) picked.push_back(s);
    }
    EXPECT_GE(picked.size(), 10u);
    // And from every candidate there is a far one to go to.
    for (int s = 1; s <= map_square_count; ++s) {
        if (type(s) != SQ_PROPERTY) continue;
        int to = map_random_square_far(s);
        ASSERT_NE(to, 0);
        const MapSquare& a = map_square_table[s];
        const MapSquare& b = map_square_table[to];
        EXPECT_TRUE(std::abs(a.x - b.x) >= 300 || std::abs(a.y - b.y) >= 300) << s << " -> " << to;
    }
}

TEST_P(StandinMapTest, BuildingsStandApartFromThePath) {
    std::set<std::pair<int, int>> places;
    for (int s = 1; s <= map_square_count; ++s)
        places.insert({map_square_table[s].x, map_square_table[s].y});
    auto check = [&](int x, int y, const char* what, int i) {
        EXPECT_TRUE(places.insert({x, y}).second) << what << " " << i << " shares its place";
        EXPECT_GT(x, 0);
        EXPECT_GT(y, 0);
        EXPECT_LT(x, MAP_WORLD_SIZE);
        EXPECT_LT(y, MAP_WORLD_SIZE);
    };
    for (int i = 1; i <= map_lot_count; ++i)
        check(map_lot_table[i].x, map_lot_table[i].y, "plot", i);
    for (int i = 1; i <= map_facility_count; ++i)
        check(map_facility_table[i].x, map_facility_table[i].y, "facility", i);
    for (int i = 1; i <= map_company_count; ++i)
        check(map_company_table[i].x, map_company_table[i].y, "company", i);
    for (int i = 1; i <= map_decoration_count; ++i)
        check(map_decoration_table[i].x, map_decoration_table[i].y, "decoration", i);
}

INSTANTIATE_TEST_SUITE_P(Maps, StandinMapTest, ::testing::Range(0, 4));

} // namespace
