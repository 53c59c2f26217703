// The board operations: buildings lowered, taken, razed and raised, area
// damage, the best building, swapping, the walk preview, random squares,
// object positions and directions.
#include <gtest/gtest.h>

#include <cstdlib>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/view.h"
#include "engine/random.h"
#include "support/map_fixture.h"

namespace {

class MapOpsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        map_fixture_reset();
        game_player_count = 3;
        for (int p = 0; p < 3; ++p)
            player_table[p].control = CTRL_COMPUTER;
    }
    LandLot& lot(int code) { return map_lot_table[code - OBJ_LOT_BASE]; }
    FacilityLot& fac(int code) { return map_facility_table[code - OBJ_FACILITY_BASE]; }
};

// ---------------------------------------------------------------------------
// Building operations

TEST_F(MapOpsTest, LoweringAPlotTakesOneLevelAndAChainStoreBecomesEmptyLand) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int a = f.lot(10, 10, owner_of_seat(0), 3);
    int b = f.lot(20, 10, owner_of_seat(0), 0);
    int c = f.lot(30, 10, owner_of_seat(1), 2);
    f.lots[3].chain_store = 1;
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_building_op(a, MAP_OP_LOWER), 1);
    EXPECT_EQ(lot(a).level, 2);
    EXPECT_EQ(map_building_op(b, MAP_OP_LOWER), 0);
    EXPECT_EQ(lot(b).level, 0);
    EXPECT_EQ(map_building_op(c, MAP_OP_LOWER), 1);
    EXPECT_EQ(lot(c).level, 0);
    EXPECT_EQ(lot(c).chain_store, 0);
    EXPECT_EQ(lot(c).owner, 2);
}

TEST_F(MapOpsTest, TakingAPlotClearsOwnerLevelChainStoreAndExpiryButKeepsPrices) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int a = f.lot(10, 10, owner_of_seat(1), 4);
    f.lots[1].chain_store = 1;
    f.lots[1].expiry = 0x07CF0102;
    f.lots[1].mark = 0x50;
    int bare = f.lot(20, 10);
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_building_op(a, MAP_OP_TAKE), 1);
    EXPECT_EQ(lot(a).owner, 0);
    EXPECT_EQ(lot(a).level, 0);
    EXPECT_EQ(lot(a).chain_store, 0);
    EXPECT_EQ(lot(a).expiry, 0u);
    EXPECT_EQ(lot(a).mark, 0x50);
    EXPECT_EQ(lot(a).land_price, 1000);
    EXPECT_EQ(map_building_op(bare, MAP_OP_TAKE), 0);
}

TEST_F(MapOpsTest, RazingKeepsTheOwner) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int a = f.lot(10, 10, owner_of_seat(1), 4);
    int empty = f.lot(20, 10, owner_of_seat(1), 0);
    int h = f.facility(30, 10, FK_HOTEL, owner_of_seat(2), 2);
    ASSERT_TRUE(f.load());
    player_table[0].hotel_days = 3;
    EXPECT_EQ(map_building_op(a, MAP_OP_RAZE), 1);
    EXPECT_EQ(lot(a).level, 0);
    EXPECT_EQ(lot(a).owner, 2);
    EXPECT_EQ(map_building_op(empty, MAP_OP_RAZE), 0);
    EXPECT_EQ(map_building_op(h, MAP_OP_RAZE), 1);
    EXPECT_EQ(fac(h).level, 0);
    EXPECT_EQ(fac(h).kind, FK_PARK);
    EXPECT_EQ(fac(h).owner, 3);
    EXPECT_EQ(player_table[0].hotel_days, STATUS_END_MARK);
}

TEST_F(MapOpsTest, LoweringALevelOneFacilityLeavesNoKindAndEndsHotelStays) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int h1 = f.facility(10, 10, FK_HOTEL, owner_of_seat(0), 1);
    int h3 = f.facility(20, 10, FK_SHOPPING_CENTRE, owner_of_seat(0), 3);
    ASSERT_TRUE(f.load());
    player_table[1].hotel_days = 2;
    EXPECT_EQ(map_building_op(h3, MAP_OP_LOWER), 1);
    EXPECT_EQ(fac(h3).level, 2);
    EXPECT_EQ(fac(h3).kind, FK_SHOPPING_CENTRE);
    EXPECT_EQ(player_table[1].hotel_days, 2);
    EXPECT_EQ(map_building_op(h1, MAP_OP_LOWER), 1);
    EXPECT_EQ(fac(h1).level, 0);
    EXPECT_EQ(fac(h1).kind, 0);
    EXPECT_EQ(player_table[1].hotel_days, STATUS_END_MARK);
    EXPECT_EQ(map_building_op(h1, MAP_OP_LOWER), 0);
}

TEST_F(MapOpsTest, TakingAFacilityClearsEverythingAndEndsHotelStays) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int h = f.facility(10, 10, FK_HOTEL, owner_of_seat(1), 4);
    f.facilities[1].expiry = 5;
    ASSERT_TRUE(f.load());
    player_table[2].hotel_days = 1;
    EXPECT_EQ(map_building_op(h, MAP_OP_TAKE), 1);
    EXPECT_EQ(fac(h).owner, 0);
    EXPECT_EQ(fac(h).level, 0);
    EXPECT_EQ(fac(h).kind, 0);
    EXPECT_EQ(fac(h).expiry, 0u);
    EXPECT_EQ(player_table[2].hotel_days, STATUS_END_MARK);
}

TEST_F(MapOpsTest, OperationsOnCodesThatAreNoBuildingDoNothing) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    f.company(10, 10, 0);
    f.lot(10, 20, owner_of_seat(0), 2);
    ASSERT_TRUE(f.load());
    for (int code : {0, 1, 2002, 4001, 6001, 8001, 0x8001})
        for (int op = 0; op < 3; ++op) {
            EXPECT_EQ(map_building_op(code, op), 0) << code << " op " << op;
            EXPECT_EQ(map_raise_level(code), 0) << code;
        }
    EXPECT_EQ(map_lot_table[1].level, 2);
}

// ---------------------------------------------------------------------------
// Raising

TEST_F(MapOpsTest, RaisingAPlotUpToFive) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int a = f.lot(10, 10, owner_of_seat(0), 0);
    ASSERT_TRUE(f.load());
    for (int level = 1; level <= 4; ++level) {
        EXPECT_EQ(map_raise_level(a), MAP_RAISED);
        EXPECT_EQ(lot(a).level, level);
    }
    EXPECT_EQ(map_raise_level(a), MAP_RAISED_TOP);
    EXPECT_EQ(lot(a).level, 5);
    EXPECT_EQ(map_raise_level(a), 0);
    EXPECT_EQ(lot(a).level, 5);
}

TEST_F(MapOpsTest, AChainStoreRisesFromZeroToOneOnly) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int a = f.lot(10, 10, owner_of_seat(0), 0);
    f.lots[1].chain_store = 1;
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_raise_level(a), MAP_RAISED);
    EXPECT_EQ(lot(a).level, 1);
    EXPECT_EQ(map_raise_level(a), 0);
    EXPECT_EQ(lot(a).level, 1);
}

TEST_F(MapOpsTest, AFacilityBuiltByAComputerOwnerGetsARandomKindThatIsNeverAPark) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int mine = f.facility(10, 10, 0, owner_of_seat(0), 0);
    int other = f.facility(20, 10, 0, owner_of_seat(1), 0);
    ASSERT_TRUE(f.load());
    game_active_mover = 0;
    game_srand(777);
    int expected = game_rand() % 4 + 1;
    game_srand(777);
    EXPECT_EQ(map_raise_level(mine), MAP_RAISED);
    EXPECT_EQ(fac(mine).kind, expected);
    EXPECT_EQ(fac(mine).level, 1);
    // Not its own: a park.
    EXPECT_EQ(map_raise_level(other), MAP_RAISED);
    EXPECT_EQ(fac(other).kind, FK_PARK);
    EXPECT_EQ(fac(other).level, 1);
    // A park is at its top at level 1.
    EXPECT_EQ(map_raise_level(other), 0);
}

TEST_F(MapOpsTest, AHumanChoosesTheKindAndAWalkerBuildsAPark) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int a = f.facility(10, 10, 0, OWNER_NONE, 0);
    int b = f.facility(20, 10, 0, OWNER_NONE, 0);
    ASSERT_TRUE(f.load());
    player_table[0].control = CTRL_HUMAN;
    game_active_mover = 0;
    uint32_t seed = game_rand_seed();
    EXPECT_EQ(map_raise_level(a), MAP_RAISED);
    EXPECT_EQ(fac(a).level, 1);
    EXPECT_LT(fac(a).kind, FACILITY_KIND_COUNT);
    EXPECT_EQ(game_rand_seed(), seed) << "a human's choice draws no random number";
    game_active_mover = MOVER_THIEF;
    EXPECT_EQ(map_raise_level(b), MAP_RAISED);
    EXPECT_EQ(fac(b).kind, FK_PARK);
}

TEST_F(MapOpsTest, FacilitiesRiseToTheTopOfTheirKind) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int hotel = f.facility(10, 10, FK_HOTEL, owner_of_seat(0), 4);
    int petrol = f.facility(20, 10, FK_PETROL_STATION, owner_of_seat(0), 1);
    int lab = f.facility(30, 10, FK_RESEARCH_INSTITUTE, owner_of_seat(0), 2);
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_raise_level(hotel), MAP_RAISED_TOP);
    EXPECT_EQ(fac(hotel).level, 5);
    EXPECT_EQ(map_raise_level(hotel), 0);
    EXPECT_EQ(map_raise_level(petrol), 0);
    EXPECT_EQ(map_raise_level(lab), MAP_RAISED);
    EXPECT_EQ(fac(lab).level, 3);
}

// ---------------------------------------------------------------------------
// Area damage

TEST_F(MapOpsTest, DamageWithoutDestructionLowersOneLevelAndRaisesTheOwnersGrudge) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int owned = f.lot(10, 10, owner_of_seat(0), 2); // player 0
    int chain = f.lot(20, 10, owner_of_seat(1), 1); // player 1
    f.lots[2].chain_store = 1;
    int hotel = f.facility(30, 10, FK_HOTEL, owner_of_seat(2), 1); // player 2
    ASSERT_TRUE(f.load());
    game_price_index = 2;
    player_table[1].hotel_days = 4;
    uint16_t codes[] = {static_cast<uint16_t>(owned), static_cast<uint16_t>(chain),
                        static_cast<uint16_t>(hotel)};
    map_area_apply(codes, 3, MAP_AREA_PLOTS | MAP_AREA_FACILITIES, 0, 1);
    EXPECT_EQ(lot(owned).level, 1);
    EXPECT_EQ(lot(owned).owner, 1);
    EXPECT_EQ(lot(chain).level, 0);
    EXPECT_EQ(lot(chain).chain_store, 0);
    EXPECT_EQ(fac(hotel).level, 0);
    EXPECT_EQ(fac(hotel).kind, 0);
    EXPECT_EQ(player_table[1].hotel_days, STATUS_END_MARK);
    EXPECT_EQ(player_table[0].grudge[1], 60);
    EXPECT_EQ(player_table[2].grudge[1], 60);
    EXPECT_EQ(player_table[1].grudge[1], 0) << "no grudge toward oneself";
}

TEST_F(MapOpsTest, DamageWithoutDestructionLeavesLevelZeroAlone) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int plot = f.lot(10, 10, owner_of_seat(0), 0);
    int park = f.facility(20, 10, 0, owner_of_seat(0), 0);
    ASSERT_TRUE(f.load());
    uint16_t codes[] = {static_cast<uint16_t>(plot), static_cast<uint16_t>(park)};
    map_area_apply(codes, 2, MAP_AREA_PLOTS | MAP_AREA_FACILITIES, 0, 2);
    EXPECT_EQ(lot(plot).level, 0);
    EXPECT_EQ(fac(park).level, 0);
    EXPECT_EQ(lot(plot).toll[0], 100) << "the toll table is read at level 0 only";
    EXPECT_EQ(player_table[0].grudge[2], 0) << "nothing damaged, no grudge";
}

TEST_F(MapOpsTest, NoGrudgeWithoutAnOwnerOrWithoutAnAttacker) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int unowned = f.lot(10, 10, OWNER_NONE, 3);
    int owned = f.lot(20, 10, owner_of_seat(0), 3);
    int unowned2 = f.lot(30, 10, OWNER_NONE, 2);
    ASSERT_TRUE(f.load());
    const auto before = player_table;
    uint16_t lower[] = {static_cast<uint16_t>(unowned), static_cast<uint16_t>(owned)};
    map_area_apply(lower, 2, MAP_AREA_PLOTS, 0, -1);
    EXPECT_EQ(lot(unowned).level, 2);
    EXPECT_EQ(lot(owned).level, 2);
    uint16_t destroy[] = {static_cast<uint16_t>(unowned2)};
    map_area_apply(destroy, 1, MAP_AREA_PLOTS, 1, 1);
    EXPECT_EQ(lot(unowned2).level, 0);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int q = 0; q < PLAYER_COUNT; ++q)
            EXPECT_EQ(player_table[p].grudge[q], before[p].grudge[q]) << p << " toward " << q;
}

TEST_F(MapOpsTest, DestructionClearsThePropertyAndScalesTheGrudgeByItsLevel) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int plot = f.lot(10, 10, owner_of_seat(0), 3);
    f.lots[1].expiry = 77;
    int mall = f.facility(20, 10, FK_SHOPPING_CENTRE, owner_of_seat(1), 4);
    int noattacker = f.lot(30, 10, owner_of_seat(2), 2);
    ASSERT_TRUE(f.load());
    game_price_index = 3;
    uint16_t codes[] = {static_cast<uint16_t>(plot), static_cast<uint16_t>(mall)};
    map_area_apply(codes, 2, MAP_AREA_PLOTS | MAP_AREA_FACILITIES, 1, 2);
    EXPECT_EQ(lot(plot).owner, 0);
    EXPECT_EQ(lot(plot).level, 0);
    EXPECT_EQ(lot(plot).expiry, 0u);
    EXPECT_EQ(fac(mall).owner, 0);
    EXPECT_EQ(fac(mall).kind, 0);
    EXPECT_EQ(player_table[0].grudge[2], 3 * 30 * 3);
    EXPECT_EQ(player_table[1].grudge[2], 4 * 30 * 3);
    uint16_t last[] = {static_cast<uint16_t>(noattacker)};
    map_area_apply(last, 1, MAP_AREA_PLOTS, 1, -1);
    EXPECT_EQ(lot(noattacker).owner, 0);
    for (int q = 0; q < PLAYER_COUNT; ++q)
        EXPECT_EQ(player_table[2].grudge[q], 0);
}

TEST_F(MapOpsTest, TheMaskPicksWhatIsHitAndRepeatedCodesCountOnce) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int plot = f.lot(10, 10, owner_of_seat(0), 3);
    int hotel = f.facility(20, 10, FK_HOTEL, owner_of_seat(0), 3);
    ASSERT_TRUE(f.load());
    uint16_t codes[] = {static_cast<uint16_t>(plot), static_cast<uint16_t>(hotel),
                        static_cast<uint16_t>(plot)};
    map_area_apply(codes, 3, MAP_AREA_FACILITIES, 0, -1);
    EXPECT_EQ(lot(plot).level, 3);
    EXPECT_EQ(fac(hotel).level, 2);
    map_area_apply(codes, 3, MAP_AREA_PLOTS, 0, -1);
    EXPECT_EQ(lot(plot).level, 2);
}

TEST_F(MapOpsTest, OccupantsLoseTheirVehicleAndGodsAreRemoved) {
    MapFixture f;
    int s1 = f.square(100, 100, SQ_EMPTY);
    int s2 = f.square(200, 100, SQ_PROPERTY, static_cast<uint16_t>(f.lot(200, 150)));
    f.link(s1, s2);
    ASSERT_TRUE(f.load());
    player_table[1].travel = TRAVEL_CAR;
    player_table[1].dice = 3;
    player_table[1].square = static_cast<uint16_t>(s2);
    int slot = god_place(GK_ROADBLOCK, s2, 0, 0);
    ASSERT_NE(slot, 0);
    WalkerRecord& hooligan = walker_of_mover(MOVER_HOOLIGAN);
    hooligan.place = WALKER_FREE;
    hooligan.square = static_cast<uint16_t>(s2);
    map_square_table[s2].flags |= sqf_walker(MOVER_HOOLIGAN);
    uint16_t codes[] = {static_cast<uint16_t>(OBJ_OCCUPANTS | 0x2),
                        static_cast<uint16_t>(OBJ_OCCUPANTS | slot << 8),
                        static_cast<uint16_t>(OBJ_OCCUPANTS | 0x40)};
    map_area_apply(codes, 1, MAP_AREA_PLOTS, 0, 0);
    EXPECT_EQ(player_table[1].travel, TRAVEL_CAR) << "occupants are hit only with their mask bit";
    map_area_apply(codes, 3, MAP_AREA_OCCUPANTS, 0, 0);
    EXPECT_EQ(hooligan.place, WALKER_IN_HOSPITAL) << "a wandering character goes to hospital";
    EXPECT_EQ(map_square_table[s2].flags & SQF_WALKERS_MASK, 0u);
    EXPECT_EQ(player_table[1].travel & TRAVEL_MODE_MASK, TRAVEL_WALK);
    EXPECT_EQ(player_table[1].dice, 1);
    EXPECT_TRUE(player_table[1].control & CTRL_BLAST_HIT);
    EXPECT_EQ(god_table[slot].square, 0);
    EXPECT_EQ(map_square_table[s2].flags & SQF_GOD_MASK, 0u);
}

// ---------------------------------------------------------------------------
// Best building

TEST_F(MapOpsTest, BestBuildingIsTheLargestTollOrFacilityPriceThatCanStillRise) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int cheap = f.lot(10, 10, owner_of_seat(0), 1, 1000); // toll[1] 200
    int dear = f.lot(20, 10, owner_of_seat(0), 2, 2000);  // toll[2] 600
    int tie = f.lot(30, 10, owner_of_seat(0), 2, 2000);   // same value, later: loses
    int top = f.lot(40, 10, owner_of_seat(0), 5, 9000);   // at level 5: out
    int chain = f.lot(50, 10, owner_of_seat(0), 1, 9000); // chain store: out
    f.lots[5].chain_store = 1;
    int other = f.lot(60, 10, owner_of_seat(1), 1, 9000); // another owner
    int lab = f.facility(70, 10, FK_RESEARCH_INSTITUTE, owner_of_seat(0), 2, 500);
    int full = f.facility(80, 10, FK_PETROL_STATION, owner_of_seat(0), 1, 9000); // at its top
    ASSERT_TRUE(f.load());
    (void)cheap;
    (void)tie;
    (void)top;
    (void)chain;
    (void)other;
    (void)full;
    EXPECT_EQ(map_best_building(0), dear);
    // A facility worth more wins; a tie with a plot goes to the plot.
    map_facility_table[lab - OBJ_FACILITY_BASE].price = 700;
    EXPECT_EQ(map_best_building(0), lab);
    map_facility_table[lab - OBJ_FACILITY_BASE].price = 600;
    EXPECT_EQ(map_best_building(0), dear);
    EXPECT_EQ(map_best_building(1), other);
    EXPECT_EQ(map_best_building(2), 0);
}

// ---------------------------------------------------------------------------
// Swapping

TEST_F(MapOpsTest, SwappingTwoPlotsExchangesHousesAndChainStoresButNotOwners) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int a = f.lot(100, 200, owner_of_seat(0), 4);
    int b = f.lot(900, 700, owner_of_seat(1), 0);
    f.lots[2].chain_store = 1;
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_swap_buildings(a, b), 1);
    EXPECT_EQ(lot(a).level, 0);
    EXPECT_EQ(lot(a).chain_store, 1);
    EXPECT_EQ(lot(b).level, 4);
    EXPECT_EQ(lot(b).chain_store, 0);
    EXPECT_EQ(lot(a).owner, 1);
    EXPECT_EQ(lot(b).owner, 2);
    EXPECT_EQ(lot(a).x, 100);
    EXPECT_EQ(lot(a).y, 200);
    EXPECT_EQ(lot(b).x, 900);
    EXPECT_EQ(lot(b).y, 700);
}

TEST_F(MapOpsTest, SwappingFacilitiesExchangesKindsAndMixedPairsAreRefused) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    int plot = f.lot(10, 10, owner_of_seat(0), 2);
    int hotel = f.facility(20, 10, FK_HOTEL, owner_of_seat(0), 3);
    int petrol = f.facility(30, 10, FK_PETROL_STATION, owner_of_seat(1), 1);
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_swap_buildings(plot, hotel), 0);
    EXPECT_EQ(lot(plot).level, 2);
    EXPECT_EQ(fac(hotel).level, 3);
    EXPECT_EQ(map_swap_buildings(hotel, petrol), 1);
    EXPECT_EQ(fac(hotel).kind, FK_PETROL_STATION);
    EXPECT_EQ(fac(hotel).level, 1);
    EXPECT_EQ(fac(petrol).kind, FK_HOTEL);
    EXPECT_EQ(fac(petrol).level, 3);
    EXPECT_EQ(fac(petrol).owner, 2);
}

// ---------------------------------------------------------------------------
// Walk preview

// A ring 1-2-3-4-5-6 with a spur 3-7-8 back to 5; 7's link back to 3 closed.
class MapWalkTest : public MapOpsTest {
  protected:
    void SetUp() override {
        MapOpsTest::SetUp();
        MapFixture f;
        for (int i = 0; i < 8; ++i)
            f.square(100 + 100 * i, 100, SQ_EMPTY);
        f.link(1, 2);
        f.link(2, 3);
        f.link(3, 4);
        f.link(4, 5);
        f.link(5, 6);
        f.link(6, 1);
        f.link(3, 7);
        f.link(7, 8);
        f.link(8, 5);
        ASSERT_TRUE(f.load());
    }
    void put(int p, int square, int prev) {
        player_table[p].square = static_cast<uint16_t>(square);
        player_table[p].prev_square = static_cast<uint16_t>(prev);
    }
};

TEST_F(MapWalkTest, FollowsTheOnlyWayAndStopsAfterEightSquares) {
    put(0, 1, 6);
    for (int k = 0; k < VIEW_PICK_LIST_SIZE; ++k)
        view_pick_list[k] = 99;
    EXPECT_EQ(map_walk_path(0, 1), 0);
    EXPECT_EQ(view_pick_list[0], 2);
    for (int k = 1; k < 8; ++k)
        EXPECT_EQ(view_pick_list[k], 0) << k;
    EXPECT_EQ(view_pick_list[8], 99) << "only the preview entries are cleared";
    // With the spur closed at both ends the ring never forks.
    map_square_table[3].flags |= sqf_closed(2);
    map_square_table[5].flags |= sqf_closed(2);
    put(0, 4, 5);
    EXPECT_EQ(map_walk_path(0, 12), 0);
    const uint16_t expected[8] = {3, 2, 1, 6, 5, 4, 3, 2};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(view_pick_list[k], expected[k]) << k;
}

TEST_F(MapWalkTest, AForkDrawsAmongTheOpenLinks) {
    put(0, 2, 1);
    game_srand(4242);
    uint32_t seed = game_rand_seed();
    int first = game_rand() % 2;
    game_srand(seed);
    EXPECT_EQ(map_walk_path(0, 2), 1);
    EXPECT_EQ(view_pick_list[0], 3);
    EXPECT_EQ(view_pick_list[1], first == 0 ? 4 : 7);
}

TEST_F(MapWalkTest, AClosedLinkIsNotTakenAndADeadEndTurnsBack) {
    // Close 3's link to 7 (its fourth slot holds nothing, 7 is link 2).
    map_square_table[3].flags |= sqf_closed(2);
    put(0, 2, 1);
    EXPECT_EQ(map_walk_path(0, 3), 0);
    EXPECT_EQ(view_pick_list[0], 3);
    EXPECT_EQ(view_pick_list[1], 4);
    // Cut 8's only way on: from 7 a walker at 8 has to turn back.
    map_square_table[8].flags |= sqf_closed(1);
    put(0, 8, 7);
    EXPECT_EQ(map_walk_path(0, 2), 0);
    EXPECT_EQ(view_pick_list[0], 7);
    EXPECT_EQ(view_pick_list[1], 3);
}

// ---------------------------------------------------------------------------
// Random squares

TEST_F(MapOpsTest, RandomFreeSquareSkipsPropertyOccupiedGodAndIndoorSquares) {
    MapFixture f;
    f.square(100, 100, SQ_PROPERTY);
    int free_square = f.square(200, 100, SQ_NEWS);
    f.square(300, 100, SQ_NEWS, 0, sqf_player(2));
    f.square(400, 100, SQ_NEWS, 0, sqf_walker(MOVER_SPY));
    f.square(500, 100, SQ_NEWS, 0, 5u << SQF_GOD_SHIFT);
    f.square(600, 100, SQ_NEWS, 0, SQF_INDOOR);
    ASSERT_TRUE(f.load());
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(map_random_free_square(), free_square);
    map_square_table[free_square].flags |= sqf_player(0);
    EXPECT_EQ(map_random_free_square(), 0);
}

TEST_F(MapOpsTest, RandomFarSquareLiesThreeHundredUnitsAwayInXOrY) {
    MapFixture f;
    int from = f.square(1000, 1000, SQ_PROPERTY);
    f.square(1299, 1299, SQ_PROPERTY);             // near in both
    int far_x = f.square(1300, 1000, SQ_PROPERTY); // 300 away in x, same y
    f.square(1000, 1200, SQ_PROPERTY);
    f.square(1000, 1500, SQ_NEWS); // far, but not a property square
    f.square(700, 1000, SQ_PROPERTY, 0, SQF_INDOOR);
    ASSERT_TRUE(f.load());
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(map_random_square_far(from), far_x);
    // Without a far candidate any candidate will do.
    map_square_table[far_x].flags |= sqf_player(1);
    for (int k = 0; k < 20; ++k) {
        int s = map_random_square_far(from);
        EXPECT_TRUE(s == 1 || s == 2 || s == 4) << s;
    }
    // From 0 every candidate counts.
    for (int k = 0; k < 20; ++k)
        EXPECT_NE(map_random_square_far(0), 0);
}

TEST_F(MapOpsTest, RandomSquaresReturnZeroWhenNoSquareQualifies) {
    MapFixture f;
    f.square(100, 100, SQ_PROPERTY, 0, sqf_player(0));
    f.square(200, 100, SQ_NEWS, 0, SQF_INDOOR);
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_random_square_far(0), 0);
    EXPECT_EQ(map_random_square_far(1), 0);
    EXPECT_EQ(map_random_free_square(), 0);
}

// ---------------------------------------------------------------------------
// Positions and directions

TEST_F(MapOpsTest, ObjectPositionsOfEveryKindOfCode) {
    MapFixture f;
    f.square(100, 110, SQ_EMPTY);
    int sq2 = f.square(200, 210, SQ_EMPTY);
    f.lot(300, 310);
    f.facility(400, 410);
    f.company(500, 510, 0);
    f.decoration(600, 610);
    ASSERT_TRUE(f.load());
    player_table[2].x = 50;
    player_table[2].y = 60;
    walker_table[1].x = 70;
    walker_table[1].y = 80;
    god_table[20].square = static_cast<uint16_t>(sq2);
    struct Case {
        int code;
        bool found;
        int x, y;
    } cases[] = {
        {1, true, 100, 110},
        {2, true, 200, 210},
        {3, false, 0, 0},
        {2001, true, 300, 310},
        {2002, false, 0, 0},
        {4001, true, 400, 410},
        {6001, true, 500, 510},
        {8001, true, 600, 610},
        {2000, false, 0, 0},
        {0, false, 0, 0},
        {OBJ_OCCUPANTS | 0x4 | 0x20 | (20 << 8), true, 50, 60}, // a player first
        {OBJ_OCCUPANTS | 0x20 | (20 << 8), true, 70, 80},       // then a character
        {OBJ_OCCUPANTS | (20 << 8), true, 200, 210},            // then a god's square
        {OBJ_OCCUPANTS | (21 << 8), false, 0, 0},               // a free slot
    };
    for (const Case& c : cases) {
        int x = -1, y = -1;
        EXPECT_EQ(map_object_position(c.code, &x, &y), c.found) << c.code;
        EXPECT_EQ(x, c.x) << c.code;
        EXPECT_EQ(y, c.y) << c.code;
    }
}

TEST_F(MapOpsTest, DirectionBetweenSquares) {
    MapFixture f;
    f.square(500, 500, SQ_EMPTY);
    f.square(500, 600, SQ_EMPTY); // below
    f.square(600, 500, SQ_EMPTY); // right
    f.square(400, 400, SQ_EMPTY); // up-left
    ASSERT_TRUE(f.load());
    EXPECT_EQ(map_direction(1, 2), 0);
    EXPECT_EQ(map_direction(1, 3), 2);
    EXPECT_EQ(map_direction(2, 1), 4);
    EXPECT_EQ(map_direction(1, 4), 5);
    EXPECT_EQ(map_direction(1, 1), 2);
}

} // namespace
