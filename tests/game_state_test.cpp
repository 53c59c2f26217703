#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/random.h"

namespace {

class GameStateTest : public ::testing::Test {
  protected:
    void SetUp() override { game_world_reset(); }

    // Seat p in the game as a computer player.
    static PlayerRecord& seat(int p, uint8_t control = CTRL_COMPUTER) {
        PlayerRecord& r = player_table[static_cast<size_t>(p)];
        r.control = control;
        return r;
    }
};

// ---------------------------------------------------------------------------
// Record images

TEST_F(GameStateTest, PlayerRecordImageKeepsEveryByteAtItsOffset) {
    uint8_t image[PLAYER_RECORD_SIZE];
    for (size_t i = 0; i < sizeof image; ++i)
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    PlayerRecord r = player_record_read(image);
    // Little-endian fields at their offsets, reserved bytes included.
    EXPECT_EQ(r.colour, 0x342D261Fu); // bytes 4..7 are 31, 38, 45, 52
    EXPECT_EQ(r.square, 0x5E57);      // bytes 12, 13 are 87, 94
    uint8_t back[PLAYER_RECORD_SIZE];
    player_record_write(r, back);
    EXPECT_EQ(0, std::memcmp(image, back, sizeof image));
    EXPECT_EQ(r.reserved_58, image[58]);
    EXPECT_EQ(r.reserved_67, image[67]);
    EXPECT_EQ(r.sleep_saved_dice, image[103]);
    EXPECT_EQ(static_cast<uint32_t>(r.grudge[1]), image[80] | image[81] << 8 | image[82] << 16 |
                                                      static_cast<uint32_t>(image[83]) << 24);
}

TEST_F(GameStateTest, WalkerAndGodImagesRoundTripAndMatchMemoryLayout) {
    uint8_t image[GOD_OBJECT_SIZE];
    for (size_t i = 0; i < sizeof image; ++i)
        image[i] = static_cast<uint8_t>(0xA0 + i);
    GodObject g = god_object_read(image);
    EXPECT_EQ(g.square, 0xA3A2);
    EXPECT_EQ(g.flight_facing, 0xA7);
    uint8_t back[GOD_OBJECT_SIZE];
    god_object_write(g, back);
    EXPECT_EQ(0, std::memcmp(image, back, sizeof image));
    // On a little-endian host the image is the record's memory itself.
    EXPECT_EQ(0, std::memcmp(image, &g, sizeof image));

    uint8_t wimage[WALKER_RECORD_SIZE];
    for (size_t i = 0; i < sizeof wimage; ++i)
        wimage[i] = static_cast<uint8_t>(0x10 + i);
    WalkerRecord w = walker_record_read(wimage);
    EXPECT_EQ(w.prev_square, 0x1716);
    EXPECT_EQ(w.turtle_days, 0x1F);
    uint8_t wback[WALKER_RECORD_SIZE];
    walker_record_write(w, wback);
    EXPECT_EQ(0, std::memcmp(wimage, wback, sizeof wimage));
}

TEST_F(GameStateTest, NameIsAnIndexReboundAfterLoading) {
    PlayerRecord& r = seat(0);
    r = character_table[5];
    r.control = CTRL_HUMAN;
    EXPECT_EQ(std::string(player_name(0)), "琳娜郡主");
    r.name = 0x0040A1C8; // a stale value from another program's memory
    player_rebind_names();
    EXPECT_EQ(r.name, 5u);
    EXPECT_EQ(std::string(player_name(0)), "琳娜郡主");
}

// ---------------------------------------------------------------------------
// Constant tables and reset

TEST_F(GameStateTest, CharacterTemplatesShareTheirCommonFields) {
    for (int c = 0; c < CHARACTER_COUNT; ++c) {
        const CharacterTemplate& t = character_table[static_cast<size_t>(c)];
        EXPECT_EQ(t.character, c);
        EXPECT_EQ(t.name, static_cast<uint32_t>(c));
        EXPECT_EQ(t.facing, 0);
        EXPECT_EQ(t.travel, 0);
        EXPECT_EQ(t.dice, 1);
        EXPECT_EQ(t.control, 0);
        EXPECT_EQ(t.ai_flags, 3);
        EXPECT_EQ(t.cash, 0);
        EXPECT_EQ(t.hotel_days, 0);
        EXPECT_NE(std::string(character_name(c)), "");
    }
    struct Row {
        const char* name;
        uint32_t colour;
        int sex, personality, loan_pct, cash_pct, stock_pct;
    };
    const Row rows[CHARACTER_COUNT] = {
        {"柯伦恩", 0x946126, 1, 2, 60, 50, 30},    {"塔莫尔兹", 0xBDC3C6, 1, 1, 100, 40, 45},
        {"影丸介", 0x41323B, 1, 2, 0, 70, 0},      {"宝太太", 0xC626C3, 0, 2, 100, 60, 30},
        {"阿禾叔", 0xC5B830, 1, 1, 50, 40, 25},    {"琳娜郡主", 0xED9D9D, 0, 1, 75, 70, 30},
        {"高桥铁心", 0x00F038, 1, 1, 100, 50, 20}, {"蜜蜜", 0xFFFFA0, 0, 0, 0, 40, 35},
        {"咕噜", 0xE77C08, 0, 0, 0, 60, 20},       {"林小芸", 0xCC1A20, 0, 0, 50, 50, 0},
        {"小杰克", 0x2017FE, 1, 1, 30, 55, 15},    {"银宝宝", 0x0EBDBD, 0, 2, 80, 80, 0},
    };
    for (int c = 0; c < CHARACTER_COUNT; ++c) {
        const CharacterTemplate& t = character_table[static_cast<size_t>(c)];
        const Row& r = rows[c];
        EXPECT_EQ(std::string(character_name(c)), r.name) << c;
        EXPECT_EQ(t.colour, r.colour) << c;
        EXPECT_EQ(t.sex, r.sex) << c;
        EXPECT_EQ(t.personality, r.personality) << c;
        EXPECT_EQ(t.loan_pct, r.loan_pct) << c;
        EXPECT_EQ(t.cash_pct, r.cash_pct) << c;
        EXPECT_EQ(t.stock_pct, r.stock_pct) << c;
    }
    EXPECT_EQ(std::string(character_name(12)), "");
    EXPECT_EQ(std::string(character_name(-1)), "");
}

TEST_F(GameStateTest, ResetGivesGodSlotsTheirKindsAndWalkersTheirPlaces) {
    EXPECT_EQ(god_table[0].kind, 0);
    EXPECT_EQ(god_table[1].kind, GK_SMALL_WEALTH);
    EXPECT_EQ(god_table[14].kind, GK_CHEST);
    EXPECT_EQ(god_table[15].kind, GK_DEATH);
    EXPECT_EQ(god_table[16].kind, GK_DEATH);
    EXPECT_EQ(god_table[17].kind, GK_ROADBLOCK);
    EXPECT_EQ(god_table[26].kind, GK_ROADBLOCK);
    EXPECT_EQ(god_table[27].kind, GK_MINE);
    EXPECT_EQ(god_table[36].kind, GK_MINE);
    EXPECT_EQ(god_table[37].kind, GK_TIME_BOMB);
    EXPECT_EQ(god_table[46].kind, GK_TIME_BOMB);
    EXPECT_EQ(walker_of_mover(MOVER_THIEF).place, WALKER_IN_JAIL);
    EXPECT_EQ(walker_of_mover(MOVER_ROBBER).place, WALKER_IN_JAIL);
    EXPECT_EQ(walker_of_mover(MOVER_HOOLIGAN).place, WALKER_IN_HOSPITAL);
    EXPECT_EQ(walker_of_mover(MOVER_SPY).place, WALKER_IN_HOSPITAL);
    EXPECT_EQ(walker_of_mover(MOVER_ROBOT_DOLL).place, WALKER_OFF_BOARD);
    EXPECT_EQ(game_price_index, 1);
    EXPECT_EQ(game_date, 0x07CE0101u);

    god_table[3].square = 9;
    player_table[2].cash = 5;
    game_end_code = 4;
    game_state_reset();
    EXPECT_EQ(god_table[3].square, 0);
    EXPECT_EQ(god_table[3].kind, GK_SMALL_FORTUNE);
    EXPECT_EQ(player_table[2].cash, 0);
    EXPECT_EQ(game_end_code, 0);
}

TEST(Codes, SeatsOwnersMoversPartiesAndObjectsConvertBothWays) {
    for (int seat = 0; seat < PLAYER_COUNT; ++seat) {
        EXPECT_TRUE(is_player_seat(seat));
        EXPECT_EQ(owner_of_seat(seat), seat + 1); // the stored byte stays seat + 1
        EXPECT_EQ(seat_of_owner(owner_of_seat(seat)), seat);
        EXPECT_TRUE(owner_is_seat(owner_of_seat(seat), seat));
        EXPECT_FALSE(owner_is_seat(OWNER_NONE, seat));
        EXPECT_FALSE(owner_is_seat(owner_of_seat(seat), (seat + 1) % PLAYER_COUNT));
        EXPECT_EQ(sqf_player(seat), 0x100u << seat);
    }
    for (int m : {-1, PLAYER_COUNT, MOVER_THIEF, MOVER_ROBOT_DOLL})
        EXPECT_FALSE(is_player_seat(m)) << m;
    for (int m = 0; m < MOVER_COUNT; ++m)
        EXPECT_EQ(is_wanderer(m), m >= 4 && m <= 7) << m;
    EXPECT_EQ(walker_index_of_mover(MOVER_THIEF), 0);
    EXPECT_EQ(walker_index_of_mover(MOVER_ROBOT_DOLL), WALKER_COUNT - 1);
    EXPECT_EQ(sqf_walker(MOVER_SPY), 0x8000u);
    for (int building : {1, 7, 20}) {
        EXPECT_EQ(party_of_company(building), 100 + building);
        EXPECT_EQ(company_of_party(party_of_company(building)), building);
    }
    struct Kind {
        int base;
        int first;
    };
    for (Kind k :
         {Kind{OBJ_SQUARE_BASE, 1}, Kind{OBJ_LOT_BASE, 2001}, Kind{OBJ_FACILITY_BASE, 4001},
          Kind{OBJ_COMPANY_BASE, 6001}, Kind{OBJ_DECORATION_BASE, 8001}}) {
        EXPECT_EQ(object_code(k.base, 1), k.first);
        EXPECT_EQ(object_index(object_code(k.base, OBJ_RANGE), k.base), OBJ_RANGE);
        EXPECT_FALSE(object_in(k.base, k.base, 5)); // index 0 is no record
        EXPECT_TRUE(object_in(k.first, k.base, 5));
        EXPECT_TRUE(object_in(object_code(k.base, 5), k.base, 5));
        EXPECT_FALSE(object_in(object_code(k.base, 6), k.base, 5));
    }
}

TEST(GodKind, AttachableKinds) {
    for (int k = 0; k < GOD_KIND_COUNT; ++k) {
        bool expected = (k >= 1 && k <= 10) || k == 12 || k == 15;
        EXPECT_EQ(god_kind_can_attach(k), expected) << k;
    }
}

// ---------------------------------------------------------------------------
// Day counters

TEST(StatusDays, CounterSetToNEndsAtCountNPlusOne) {
    for (uint8_t n = 1; n <= 127; n = static_cast<uint8_t>(n * 2 + 1)) {
        uint8_t v = n;
        int counts = 0;
        StatusCount result;
        do {
            result = status_days_count(v);
            ++counts;
            if (result == STATUS_RUNNING) {
                EXPECT_NE(v, 0);
            }
        } while (result == STATUS_RUNNING && counts < 300);
        EXPECT_EQ(result, STATUS_ENDED);
        EXPECT_EQ(counts, n + 1);
        EXPECT_EQ(v, 0);
    }
}

TEST(StatusDays, OneDayHoldsTheEndMarkThenEnds) {
    uint8_t v = 1;
    EXPECT_EQ(status_days_count(v), STATUS_RUNNING);
    EXPECT_EQ(v, STATUS_END_MARK);
    EXPECT_EQ(status_days_left(v), 1);
    EXPECT_EQ(status_days_count(v), STATUS_ENDED);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(status_days_count(v), STATUS_IDLE);
    EXPECT_EQ(v, 0);
}

TEST(StatusDays, AwayCounterKeepsItsKindBits) {
    uint8_t v = 0x40 | 2; // kind 1, two days
    EXPECT_EQ(status_days_left(v, AWAY_DAY_BITS), 3);
    EXPECT_EQ(status_days_count(v, AWAY_DAY_BITS), STATUS_RUNNING);
    EXPECT_EQ(v, 0x41);
    EXPECT_EQ(status_days_count(v, AWAY_DAY_BITS), STATUS_RUNNING);
    EXPECT_EQ(v, 0xC0); // end mark, kind bit still there for the return film
    EXPECT_EQ(v & 0x40, 0x40);
    EXPECT_EQ(status_days_left(v, AWAY_DAY_BITS), 1);
    EXPECT_EQ(status_days_count(v, AWAY_DAY_BITS), STATUS_ENDED);
    EXPECT_EQ(v, 0);
}

TEST(StatusDays, DaysLeftShown) {
    EXPECT_EQ(status_days_left(5), 6);
    EXPECT_EQ(status_days_left(0x45, AWAY_DAY_BITS), 6);
}

TEST(StatusDays, WideCounterFollowsTheSameRule) {
    int32_t closed = 10;
    int counts = 0;
    while (status_days_count(closed) == STATUS_RUNNING) {
        ++counts;
        EXPECT_NE(closed, 0); // still closed, the end mark included
    }
    EXPECT_EQ(counts, 10);
    EXPECT_EQ(closed, 0);
    int32_t bogus = 100000;
    EXPECT_EQ(status_days_count(bogus), STATUS_ENDED);
    EXPECT_EQ(bogus, 0);
}

// ---------------------------------------------------------------------------
// Player queries

TEST_F(GameStateTest, FirstInMaskLooksAtTheLowByteOnly) {
    EXPECT_EQ(player_first_in_mask(0), -1);
    EXPECT_EQ(player_first_in_mask(0x100), -1);
    EXPECT_EQ(player_first_in_mask(0x0C), 2);
    EXPECT_EQ(player_first_in_mask(0x80), 7);
    EXPECT_EQ(player_first_in_mask(0x101), 0);
}

TEST_F(GameStateTest, CountsAndFreedom) {
    seat(0, CTRL_HUMAN);
    seat(1, CTRL_COMPUTER);
    seat(2, CTRL_HUMAN | CTRL_HANDED_OVER);
    EXPECT_EQ(player_count_active(), 3);
    EXPECT_EQ(player_count_human(), 2);
    EXPECT_TRUE(player_is_free(0));
    EXPECT_FALSE(player_is_free(3)); // out of the game
    EXPECT_FALSE(player_is_free(-1));
    EXPECT_FALSE(player_is_free(4));
    player_table[1].hospital_days = 0x80;
    EXPECT_FALSE(player_is_free(1));
    player_table[1].hospital_days = 0;
    player_table[1].stay_days = 3; // staying put does not bind the player
    EXPECT_TRUE(player_is_free(1));
}

TEST_F(GameStateTest, MostHated) {
    seat(0);
    seat(1);
    seat(2);
    seat(3);
    EXPECT_EQ(player_most_hated(0), -1); // all grudges 0
    player_table[0].grudge[2] = 50;
    player_table[0].grudge[3] = 50;
    EXPECT_EQ(player_most_hated(0), 2); // tie: lower seat
    player_table[0].grudge[3] = 51;
    EXPECT_EQ(player_most_hated(0), 3);
    player_table[3].control = CTRL_OUT; // out of the game no longer counts
    EXPECT_EQ(player_most_hated(0), 2);
    player_table[0].grudge[0] = 999; // a grudge toward oneself is ignored
    EXPECT_EQ(player_most_hated(0), 2);
    EXPECT_EQ(player_most_hated(-1), -1);
}

TEST_F(GameStateTest, RandomOtherPicksOnlyFreeOthers) {
    seat(0);
    seat(1);
    seat(2);
    player_table[1].jail_days = 2;
    game_srand(77);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(player_random_other(0), 2);
    player_table[2].away_days = 0x43;
    EXPECT_EQ(player_random_other(0), -1);
    player_table[1].jail_days = 0;
    player_table[2].away_days = 0;
    // With two candidates the draw is rand() % 2 over seats 1, 2.
    game_srand(5);
    int expected = (game_rand() % 2) + 1;
    game_srand(5);
    EXPECT_EQ(player_random_other(0), expected);
}

TEST_F(GameStateTest, AddGrudgeClampsAndIgnoresSelfAndNobody) {
    seat(0);
    seat(1);
    player_add_grudge(0, 1, 40);
    EXPECT_EQ(player_table[0].grudge[1], 40);
    player_add_grudge(0, 1, -100);
    EXPECT_EQ(player_table[0].grudge[1], 0);
    player_add_grudge(0, 1, -5);
    EXPECT_EQ(player_table[0].grudge[1], 0);
    player_add_grudge(0, 0, 30);
    EXPECT_EQ(player_table[0].grudge[0], 0);
    // No owner or no attacker: nothing is written anywhere.
    player_add_grudge(-1, 1, 30);
    player_add_grudge(1, -1, 30);
    player_add_grudge(4, 1, 30);
    for (const PlayerRecord& r : player_table) {
        for (int32_t g : r.grudge) {
            EXPECT_EQ(g, 0);
        }
    }
    player_table[0].grudge[1] = INT32_MAX - 1;
    player_add_grudge(0, 1, 100);
    EXPECT_EQ(player_table[0].grudge[1], INT32_MAX);
}

TEST_F(GameStateTest, GrudgeTowardTheAllyBreaksTheAlliance) {
    seat(0);
    seat(1);
    seat(2);
    auto ally = [](int a, int b) {
        player_table[static_cast<size_t>(a)].ally = owner_of_seat(b);
        player_table[static_cast<size_t>(a)].alliance_days = 7;
        player_table[static_cast<size_t>(b)].ally = owner_of_seat(a);
        player_table[static_cast<size_t>(b)].alliance_days = 7;
    };
    ally(0, 1);
    player_add_grudge(0, 2, 10); // someone else: alliance holds
    EXPECT_EQ(player_table[0].ally, 2);
    player_add_grudge(0, 1, -10); // a lower grudge does not break it
    EXPECT_EQ(player_table[0].ally, 2);
    player_add_grudge(0, 1, 10);
    EXPECT_EQ(player_table[0].ally, 0);
    EXPECT_EQ(player_table[0].alliance_days, 0);
    EXPECT_EQ(player_table[1].ally, 0);
    EXPECT_EQ(player_table[1].alliance_days, 0);
    EXPECT_EQ(player_table[0].grudge[1], 10);
}

TEST_F(GameStateTest, EndHotelStaysMarksRunningStaysOnly) {
    seat(0).hotel_days = 4;
    seat(1).hotel_days = 0;
    player_table[3].hotel_days = 2; // seat not in the game
    player_end_hotel_stays();
    EXPECT_EQ(player_table[0].hotel_days, STATUS_END_MARK);
    EXPECT_EQ(player_table[1].hotel_days, 0);
    EXPECT_EQ(player_table[3].hotel_days, 2);
    EXPECT_EQ(status_days_count(player_table[0].hotel_days), STATUS_ENDED);
}

} // namespace
