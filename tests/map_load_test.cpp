// Loading a map: a new game's map from the map data archive (or the map
// archive when the first is missing) with its gods, company shares and
// stock links; a loaded game's own block; refusals that leave no trace.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/turn.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "finance/stock.h"
#include "platform/files.h"
#include "support/map_fixture.h"

namespace {

namespace fs = std::filesystem;
using Block = std::vector<uint8_t>;

constexpr int listed_rows[4] = {3, 4, 6, 6};

void put32(Block& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// An archive with the given entries stored as they are.
void write_archive(const fs::path& path, const std::vector<Block>& entries) {
    Block body;
    std::vector<uint32_t> offsets;
    for (const Block& e : entries) {
        offsets.push_back(static_cast<uint32_t>(4 + body.size()));
        put32(body, static_cast<uint32_t>(e.size()));
        put32(body, static_cast<uint32_t>(e.size()));
        put32(body, 0);
        put32(body, 0);
        body.insert(body.end(), e.begin(), e.end());
    }
    Block file;
    put32(file, static_cast<uint32_t>(4 + body.size()));
    file.insert(file.end(), body.begin(), body.end());
    for (uint32_t o : offsets)
        put32(file, o);
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
}

MapFixture two_square_board() {
    MapFixture f;
    int a = f.square(100, 100, SQ_JAIL, OBJ_JAIL);
    int b = f.square(300, 100, SQ_PROPERTY, static_cast<uint16_t>(f.company(300, 150, 0, 7)));
    f.link(a, b);
    f.decoration(100, 150);
    f.decoration(100, 50);
    return f;
}

class MapLoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        map_fixture_reset();
        plat_set_data_dir(KARVO_TEST_DATA_DIR);
        dir_ = fs::temp_directory_path() / ("karvo_map_load_" + std::to_string(getpid()));
        fs::remove_all(dir_);
    }
    void TearDown() override {
        game_world_reset();
        mkf_reset();
        fs::remove_all(dir_);
        plat_set_data_dir(KARVO_TEST_DATA_DIR);
    }
    void use_temp_dir() {
        fs::create_directories(dir_);
        plat_set_data_dir(dir_.string());
    }
    fs::path dir_;
};

TEST_F(MapLoadTest, EachStandInMapLoadsForANewGame) {
    for (int m = 0; m < 4; ++m) {
        SCOPED_TRACE("map " + std::to_string(m));
        map_fixture_reset();
        stock_new_game(m);
        game_map = m;
        view_rotation = 5;
        ASSERT_TRUE(map_load()) << map_last_error();
        ASSERT_TRUE(map_data_loaded());
        EXPECT_GT(map_square_count, 40);
        EXPECT_EQ(view_rotation, 0);
        ASSERT_NE(jail_square, 0);
        ASSERT_NE(hospital_square, 0);
        EXPECT_EQ(map_square_table[jail_square].flags & SQF_TYPE_MASK, SQ_JAIL);
        EXPECT_EQ(map_square_table[hospital_square].flags & SQF_TYPE_MASK, SQ_HOSPITAL);
        // The first gods stand on distinct outdoor property squares that know them.
        std::set<int> squares;
        for (int kind : {1, 3, 5, 7, 9, 11, 13, 14}) {
            int s = god_table[kind].square;
            ASSERT_GT(s, 0) << "kind " << kind;
            squares.insert(s);
            const MapSquare& q = map_square_table[s];
            EXPECT_EQ(q.flags & SQF_TYPE_MASK, SQ_PROPERTY);
            EXPECT_FALSE(q.flags & SQF_INDOOR);
            EXPECT_EQ((q.flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT, static_cast<uint32_t>(kind));
        }
        EXPECT_EQ(squares.size(), 8u);
        for (int slot = 1; slot <= GOD_LAST_SLOT; ++slot)
            EXPECT_NE(god_table[slot].kind, 0) << slot;
        // Listed companies hold what the market does not; the others keep their record.
        for (int j = 1; j <= map_company_count; ++j) {
            const CompanyBuilding& c = map_company_table[j];
            if (c.listed < 12) {
                EXPECT_EQ(c.own_shares, 10000 - stock_table[c.listed].market_shares) << j;
                EXPECT_EQ(stock_table[c.listed].building, j);
            } else {
                EXPECT_EQ(c.own_shares, 0) << j;
            }
        }
        for (int r = listed_rows[m]; r < 12; ++r)
            EXPECT_EQ(stock_table[r].building, 0) << r;
        map_free();
        EXPECT_FALSE(map_data_loaded());
    }
}

TEST_F(MapLoadTest, TheSameSeedPlacesTheSameGods) {
    std::vector<int> first;
    for (int run = 0; run < 2; ++run) {
        map_fixture_reset();
        stock_new_game(2);
        game_map = 2;
        game_srand(99);
        ASSERT_TRUE(map_load()) << map_last_error();
        std::vector<int> places;
        for (int kind = 1; kind <= 14; ++kind)
            places.push_back(god_table[kind].square);
        if (run == 0)
            first = places;
        else
            EXPECT_EQ(places, first);
    }
}

TEST_F(MapLoadTest, ALoadedGameKeepsItsOwnBlockAndGods) {
    stock_new_game(0);
    MapFixture f = two_square_board();
    ASSERT_TRUE(f.load());
    map_company_table[1].own_shares = 1234;
    god_table[3].square = 2;
    game_map = 3;
    view_rotation = 6;
    actor_anim_table[5].phase = PHASE_MOVING;
    actor_anim_table[5].frame = 7;
    actor_anim_table[0].wait = 3;
    ASSERT_TRUE(map_load()) << map_last_error();
    EXPECT_EQ(actor_anim_table[5].phase, PHASE_WAIT) << "the movers' records start afresh";
    EXPECT_EQ(actor_anim_table[5].frame, 0);
    EXPECT_EQ(actor_anim_table[0].wait, 0);
    EXPECT_EQ(map_square_count, 2);
    EXPECT_EQ(map_company_table[1].own_shares, 1234);
    EXPECT_EQ(god_table[3].square, 2);
    EXPECT_EQ(god_table[1].square, 0);
    EXPECT_EQ(view_rotation, 6);
    EXPECT_EQ(jail_square, 1);
    EXPECT_EQ(stock_table[0].building, 1) << "the stocks are linked again";
}

TEST_F(MapLoadTest, WithoutTheMapDataArchiveTheMapArchiveServes) {
    use_temp_dir();
    // Map 1's stock table lists rows 1 and 3 with shares outside the market:
    // buildings of theirs hold them.
    MapFixture f = two_square_board();
    f.company(500, 150, 1, 2);
    f.company(600, 150, 3, 3);
    Block good = f.block();
    write_archive(dir_ / "MAP.MKF", {Block{}, Block{}, Block{}, good});
    stock_new_game(1);
    game_map = 1;
    ASSERT_TRUE(map_load()) << map_last_error();
    EXPECT_EQ(map_square_count, 2);
    EXPECT_EQ(map_decoration_count, 2);
    // Stock row 0 of map 1 is listed with all its shares in the market.
    EXPECT_EQ(map_company_table[1].own_shares, 0);
}

TEST_F(MapLoadTest, NoArchiveAtAllIsAnError) {
    use_temp_dir();
    game_map = 0;
    view_rotation = 4;
    EXPECT_FALSE(map_load());
    EXPECT_NE(map_last_error().find("MAPDAT.MKF"), std::string::npos) << map_last_error();
    EXPECT_FALSE(map_data_loaded());
    EXPECT_EQ(view_rotation, 4);
    // Both archives, each with the places it was looked for in.
    for (const char* name : {"MAPDAT.MKF", "MAP.MKF"})
        EXPECT_NE(map_last_error().find(std::string("cannot open ") + name +
                                        ": not found in the working directory (" +
                                        fs::current_path().string() +
                                        ") nor in the data directory (" + dir_.string() + ")"),
                  std::string::npos)
            << map_last_error();
}

// A map data archive that is there but unusable is reported as such, and the
// map archive does not silently stand in for it.
TEST_F(MapLoadTest, ADamagedEmptyOrFifoMapDataArchiveIsReportedAsSuch) {
    struct Case {
        const char* what;
        Block bytes;
        bool fifo;
        const char* says;
    };
    Block not_archive;
    put32(not_archive, 0x4B524148); // text, not an index offset
    put32(not_archive, 0x20544F4E);
    const Case cases[] = {
        {"damaged", not_archive, false, " is damaged: its index offset "},
        {"empty", {}, false, " is damaged: it is empty"},
        {"a FIFO", {}, true, " is not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir_);
        use_temp_dir();
        write_archive(dir_ / "MAP.MKF", {Block{}, two_square_board().block()});
        const fs::path p = dir_ / "MAPDAT.MKF";
        if (c.fifo) {
            ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
        } else {
            std::FILE* f = std::fopen(p.c_str(), "wb");
            ASSERT_NE(f, nullptr);
            if (!c.bytes.empty()) std::fwrite(c.bytes.data(), 1, c.bytes.size(), f);
            std::fclose(f);
        }
        game_map = 0;
        EXPECT_FALSE(map_load());
        EXPECT_FALSE(map_data_loaded());
        const std::string& e = map_last_error();
        EXPECT_EQ(e.rfind("map 0: MAPDAT.MKF in " + dir_.string() + c.says, 0), 0u) << e;
        EXPECT_EQ(e.find("cannot"), std::string::npos) << e;
    }
}

// A new game's board: jail, a plot, a facility, company 1 of map 0 (whose
// stock table leaves 5000 of its shares outside the market) and an empty
// square, in a ring.
MapFixture start_board() {
    MapFixture f;
    int jail = f.square(100, 100, SQ_JAIL, OBJ_JAIL);
    int a = f.square(400, 100, SQ_PROPERTY, static_cast<uint16_t>(f.lot(400, 150)));
    int b = f.square(700, 100, SQ_PROPERTY, static_cast<uint16_t>(f.facility(700, 150)));
    int c = f.square(700, 500, SQ_PROPERTY, static_cast<uint16_t>(f.company(750, 500, 1, 2)));
    int e = f.square(100, 500, SQ_EMPTY);
    f.link(jail, a);
    f.link(a, b);
    f.link(b, c);
    f.link(c, e);
    f.link(e, jail);
    f.decoration(100, 150);
    f.decoration(100, 50);
    return f;
}

// Every kind of start state a new game cannot begin with: refused with the
// table, record and field, or (the squares' occupant and god marks, which a
// new game rebuilds) put right.
TEST_F(MapLoadTest, DamagedStartStatesAreRefusedWithTheirReasonOrPutRight) {
    struct Case {
        const char* what;
        void (*damage)(MapFixture&);
        const char* refusal; // nullptr: accepted with the marks rebuilt
    };
    const Case cases[] = {
        {"square past the board's right edge", [](MapFixture& f) { f.squares[2].x = 2304; },
         "map square 2: x 2304 off the board 0..2303"},
        {"square above the board", [](MapFixture& f) { f.squares[4].y = -1; },
         "map square 4: y -1 off the board 0..2303"},
        {"square on the board's last cell",
         [](MapFixture& f) {
             f.squares[3].x = 2303;
             f.squares[3].y = 2303;
         },
         nullptr},
        {"chain store byte", [](MapFixture& f) { f.lots[1].chain_store = 2; },
         "map land plot 1: chain store 2 not 0..1"},
        {"chain store with houses",
         [](MapFixture& f) {
             f.lots[1].chain_store = 1;
             f.lots[1].level = 3;
         },
         "map land plot 1: chain store at level 3"},
        {"term on unowned land", [](MapFixture& f) { f.lots[1].expiry = 0x07CE0201; },
         "map land plot 1: expiry 07CE0201 while unowned"},
        {"term on an unowned facility", [](MapFixture& f) { f.facilities[1].expiry = 0x07CE0201; },
         "map facility 1: expiry 07CE0201 while unowned"},
        {"land owned before the first turn",
         [](MapFixture& f) { f.lots[1].owner = owner_of_seat(0); },
         "map land plot 1: owner 1 before the game's first turn"},
        {"facility owned before the first turn",
         [](MapFixture& f) { f.facilities[1].owner = owner_of_seat(3); },
         "map facility 1: owner 4 before the game's first turn"},
        {"facility kind with nothing built", [](MapFixture& f) { f.facilities[1].kind = 2; },
         "map facility 1: kind 2 with nothing built"},
        {"facility above its kind's top level", [](MapFixture& f) { f.facilities[1].level = 3; },
         "map facility 1: level 3 above the 1 of its kind 0"},
        {"chairman before anyone holds shares",
         [](MapFixture& f) { f.companies[1].chairman = owner_of_seat(1); },
         "map company building 1: chairman 2 before anyone holds shares"},
        {"company of the stock table without building",
         [](MapFixture& f) { f.companies[1].listed = 12; },
         "map company buildings: none lists company 1, so 5000 of its shares"},
        {"company listed twice", [](MapFixture& f) { f.company(900, 500, 1, 3); },
         "map company building 2: listed company 1 also listed by building 1"},
        {"company not on the stock table", [](MapFixture& f) { f.company(900, 500, 4, 3); },
         nullptr},
        {"stale player and character marks",
         [](MapFixture& f) {
             f.squares[2].flags |= sqf_player(0) | sqf_player(3);
             f.squares[5].flags |= sqf_walker(MOVER_SPY);
         },
         nullptr},
        {"god slot that stands nowhere", [](MapFixture& f) { f.squares[5].flags |= 5u << 16; },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        map_fixture_reset();
        fs::remove_all(dir_);
        use_temp_dir();
        MapFixture f = start_board();
        c.damage(f);
        write_archive(dir_ / "MAPDAT.MKF", {f.block()});
        stock_new_game(0);
        // The wandering characters held, as a new game starts them.
        walker_table = walker_initial;
        jail_flags[MOVER_THIEF] = jail_flags[MOVER_ROBBER] = 1;
        hospital_flags[MOVER_HOOLIGAN] = hospital_flags[MOVER_SPY] = 1;
        game_map = 0;
        const auto gods_before = god_table;
        const bool loaded = map_load();
        if (c.refusal) {
            EXPECT_FALSE(loaded);
            EXPECT_FALSE(map_data_loaded());
            EXPECT_EQ(map_last_error().rfind(c.refusal, 0), 0u) << map_last_error();
            for (int s = 0; s < GOD_SLOT_COUNT; ++s)
                EXPECT_EQ(god_table[s].square, gods_before[s].square);
            continue;
        }
        ASSERT_TRUE(loaded) << map_last_error();
        EXPECT_EQ(god_board_check(), "");
        for (int q = 1; q <= map_square_count; ++q) {
            const uint32_t flags = map_square_table[q].flags;
            EXPECT_EQ(flags & (SQF_PLAYERS_MASK | SQF_WALKERS_MASK), 0u) << "square " << q;
            const uint32_t slot = (flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT;
            if (slot != 0) {
                EXPECT_EQ(god_table[slot].square, q);
            }
        }
        map_free();
    }
}

TEST_F(MapLoadTest, AMissingEntryIsAnError) {
    use_temp_dir();
    write_archive(dir_ / "MAPDAT.MKF", {two_square_board().block()});
    game_map = 2;
    EXPECT_FALSE(map_load());
    EXPECT_NE(map_last_error().find("entry 2"), std::string::npos) << map_last_error();
    EXPECT_FALSE(map_data_loaded());
}

TEST_F(MapLoadTest, ACorruptBlockIsRefusedWithNothingChanged) {
    use_temp_dir();
    MapFixture f = two_square_board();
    f.squares[1].flags = 40; // no such square type
    write_archive(dir_ / "MAPDAT.MKF", {f.block()});
    stock_new_game(0);
    game_map = 0;
    view_rotation = 3;
    const auto gods_before = god_table;
    const auto stocks_before = stock_table;
    EXPECT_FALSE(map_load());
    EXPECT_NE(map_last_error().find("type 40"), std::string::npos) << map_last_error();
    EXPECT_FALSE(map_data_loaded());
    EXPECT_EQ(view_rotation, 3);
    for (int s = 0; s < GOD_SLOT_COUNT; ++s)
        EXPECT_EQ(god_table[s].square, gods_before[s].square);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(stock_table[i].volume, stocks_before[i].volume);
}

TEST_F(MapLoadTest, FreeingForgetsTheMapAndThePendingEntry) {
    ASSERT_TRUE(two_square_board().load());
    turn_pending_entry = 2;
    map_free();
    EXPECT_FALSE(map_data_loaded());
    EXPECT_EQ(map_square_table, nullptr);
    EXPECT_EQ(map_company_count, 0);
    EXPECT_EQ(map_data_size, 0u);
    EXPECT_EQ(jail_square, 0);
    EXPECT_EQ(turn_pending_entry, 0);
    map_free(); // twice is harmless
}

} // namespace
