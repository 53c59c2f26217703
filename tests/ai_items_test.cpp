// The computer's item and dice decisions on a line of twelve squares, with
// the board view centred so that its lists hold what each case needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/view.h"
#include "cards/ai_cards.h"
#include "cards/ai_items.h"
#include "cards/ai_settings.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "support/encounter_board.h"

namespace {

class AiItemsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encounter_board_setup(3));
        // Player 0 starts on square 1 heading east: its next squares are 2, 3, ...
        encounter_board_put(0, 1);
        // The view shows squares 3 to 7 (x 300 to 700).
        view_draw_board(500, 100);
        ai_choice_set(3, 0);
    }
    static void own(int lot, int p, int level = 0) {
        map_lot_table[lot].owner = p < 0 ? OWNER_NONE : owner_of_seat(p);
        map_lot_table[lot].level = static_cast<uint8_t>(level);
    }
    // Square 3 gets a third link: the path forks there.
    static void fork_at_3() { map_square_table[3].links[2] = 12; }
    static int target() { return ai_choice_get(3); }
    // The board is drawn again, as every tick does, so the view lists see
    // what the case set up.
    static void look(int x = 500) { view_draw_board(x, 100); }
};

TEST_F(AiItemsTest, RobotDollClearsHarmAheadBeforeAnyFork) {
    ASSERT_NE(god_place(GK_SMALL_POVERTY, 3, 0, 0), 0);
    EXPECT_EQ(ai_item_decide_robot_doll(0), 1);
    fork_at_3();
    EXPECT_EQ(ai_item_decide_robot_doll(0), 0) << "a fork within 4 squares";
}

TEST_F(AiItemsTest, RobotDollClearsAMineOnItsOwnPlotAndARoadblockBeforeATollStreet) {
    EXPECT_EQ(ai_item_decide_robot_doll(0), 0) << "nothing ahead";
    ASSERT_NE(god_place(GK_MINE, 2, 0, 0), 0);
    EXPECT_EQ(ai_item_decide_robot_doll(0), 0) << "a mine on nobody's plot";
    own(2, 0);
    EXPECT_EQ(ai_item_decide_robot_doll(0), 1);
    own(2, -1);
    ASSERT_NE(god_place(GK_ROADBLOCK, 4, 0, 0), 0);
    own(4, 1, 5);
    map_lot_table[4].toll[5] = 3000;
    EXPECT_EQ(ai_item_decide_robot_doll(0), 0) << "a street toll of only 3000";
    map_lot_table[4].toll[5] = 3001;
    EXPECT_EQ(ai_item_decide_robot_doll(0), 1);
}

TEST_F(AiItemsTest, RoadblockStopsTheUserOnABuiltUnownedPlotAhead) {
    own(3, -1, 1);
    EXPECT_EQ(ai_item_decide_roadblock(0), 1);
    EXPECT_EQ(target(), 3);
    player_table[0].turtle_days = 2;
    EXPECT_EQ(ai_item_decide_roadblock(0), 0) << "a turtle cannot use it";
    player_table[0].turtle_days = 0;
    fork_at_3();
    EXPECT_EQ(ai_item_decide_roadblock(0), 0) << "the first rule needs no fork ahead";
}

TEST_F(AiItemsTest, RoadblockGuardsTheBestStreetOffThePathAhead) {
    encounter_board_put(0, 12);      // heading back west: 11 .. 6 ahead
    player_table[0].money_luck = -1; // no first rule
    own(5, 0, 5);
    map_lot_table[5].toll[5] = 6000;
    EXPECT_EQ(ai_item_decide_roadblock(0), 0) << "a toll of 6000 is not enough";
    map_lot_table[5].toll[5] = 7000;
    ASSERT_EQ(ai_item_decide_roadblock(0), 1);
    EXPECT_EQ(target(), 5);
    encounter_board_put(0, 1); // now square 5 lies ahead
    EXPECT_EQ(ai_item_decide_roadblock(0), 0);
}

TEST_F(AiItemsTest, MinesGoUnderOthersPropertyOffThePath) {
    own(6, 1, 1);
    encounter_board_put(0, 12);
    EXPECT_EQ(ai_item_decide_mine(0), 0) << "square 6 lies ahead";
    own(4, 1, 1);
    ASSERT_EQ(ai_item_decide_mine(0), 1);
    EXPECT_EQ(target(), 4);
}

TEST_F(AiItemsTest, NothingIsPlacedWhenEveryVisibleSquareLiesAhead) {
    encounter_board_put(0, 12);
    map_facility_table[1].owner = owner_of_seat(1); // served by square 10
    view_draw_board(1200, 100);                     // squares 10 .. 12 in view
    EXPECT_EQ(ai_item_decide_mine(0), 0);
    EXPECT_EQ(ai_item_decide_time_bomb(0), 0);
    view_draw_board(500, 100);
    ASSERT_EQ(ai_item_decide_time_bomb(0), 1);
    EXPECT_LT(target(), 6) << "a free square behind";
}

TEST_F(AiItemsTest, VehiclesAreTakenOneTryInFour) {
    int bikes = 0, cars = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        game_srand(seed);
        bikes += ai_item_decide_motorbike(0);
        cars += ai_item_decide_car(0);
    }
    EXPECT_GT(bikes, 60);
    EXPECT_LT(bikes, 140);
    EXPECT_GT(cars, 60);
    EXPECT_LT(cars, 140);
    player_table[0].travel = TRAVEL_MOTORBIKE;
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        game_srand(seed);
        EXPECT_EQ(ai_item_decide_motorbike(0), 0);
    }
    player_table[0].travel = TRAVEL_CAR;
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        game_srand(seed);
        EXPECT_EQ(ai_item_decide_car(0), 0);
    }
}

TEST_F(AiItemsTest, MissileAimsAtTheRivalOnViewFarFromTheUsersOwn) {
    encounter_board_put(0, 12);
    encounter_board_put(1, 5);
    player_table[1].grudge[0] = 0;
    player_table[0].grudge[1] = 500; // the main rival
    look();
    ASSERT_EQ(ai_item_decide_missile(0), 1);
    EXPECT_EQ(target(), OBJ_OCCUPANTS | 2);
    view_draw_board(500, 100);
    own(5, 0, 1); // the user's plot beside him
    EXPECT_EQ(ai_item_decide_missile(0), 0);
    own(5, -1);
    view_draw_board(500, 100);
    encounter_board_put(0, 5); // the user beside him
    EXPECT_EQ(ai_item_decide_missile(0), 0);
    // Out of view: not aimed at.
    encounter_board_put(0, 1);
    encounter_board_put(1, 12);
    look(300);
    EXPECT_EQ(ai_item_decide_missile(0), 0);
}

TEST_F(AiItemsTest, RemoteDiceStopsOnLandToBuyOrTheBestBuildingToRaise) {
    own(1, 0);
    ASSERT_EQ(ai_item_decide_remote_dice(0), 1);
    EXPECT_EQ(target(), 1) << "plot 2, unowned in the user's street, one step on";
    walker_of_mover(MOVER_THIEF).place = WALKER_FREE;
    encounter_board_put(MOVER_THIEF, 2);
    ASSERT_EQ(ai_item_decide_remote_dice(0), 1);
    EXPECT_EQ(target(), 2) << "square 2 has a walker on it";
    // Own plots to raise: the highest level wins.
    encounter_board_put(MOVER_THIEF, 12);
    own(2, 0, 1);
    own(3, 0, 3);
    ASSERT_EQ(ai_item_decide_remote_dice(0), 1);
    EXPECT_EQ(target(), 2);
    player_table[0].cash = 1250; // 2.5 x the build price is not exceeded
    EXPECT_EQ(ai_item_decide_remote_dice(0), 0);
}

TEST_F(AiItemsTest, RemoteDiceIsNotUsedUnderABadGodATurtleOrBeforeAFork) {
    own(1, 0);
    const struct {
        int kind, slot;
    } gods[] = {{GK_SMALL_BAD_LUCK, 7}, {GK_BIG_BAD_LUCK, 8}, {GK_DEATH, 15}, {GK_DEATH, 16}};
    for (const auto& g : gods) {
        ASSERT_EQ(god_table[g.slot].kind, g.kind);
        player_table[0].god_slot = static_cast<uint8_t>(g.slot);
        EXPECT_EQ(ai_item_decide_remote_dice(0), 0) << "slot " << g.slot;
    }
    player_table[0].god_slot = GK_ANGEL;
    EXPECT_EQ(ai_item_decide_remote_dice(0), 1);
    player_table[0].turtle_days = 1;
    EXPECT_EQ(ai_item_decide_remote_dice(0), 0);
    player_table[0].turtle_days = 0;
    player_table[0].stay_days = 1;
    EXPECT_EQ(ai_item_decide_remote_dice(0), 0);
    player_table[0].stay_days = 0;
    player_table[0].deposit = 0;
    player_table[0].cash = 9999;
    EXPECT_EQ(ai_item_decide_remote_dice(0), 0);
    player_table[0].cash = 10000;
    fork_at_3();
    EXPECT_EQ(ai_item_decide_remote_dice(0), 0);
}

TEST_F(AiItemsTest, RobotWorkerRaisesTheVisibleBuildingOfHighestFee) {
    EXPECT_EQ(ai_item_decide_robot_worker(0), 0);
    own(4, 0, 1);
    own(5, 0, 2);
    own(6, 0, 5);
    map_lot_table[6].toll[5] = 9000; // at the top: cannot rise
    look();
    ASSERT_EQ(ai_item_decide_robot_worker(0), 1);
    EXPECT_EQ(target(), OBJ_LOT_BASE + 5);
    EXPECT_EQ(ai_choice_get(2), static_cast<int>(view_hitmap_list_radius(-1)));
}

TEST_F(AiItemsTest, TeleporterGoesToTheHighestUnownedBuildingInView) {
    own(4, -1, 3);
    own(5, -1, 4);
    ASSERT_EQ(ai_item_decide_teleporter(0), 1);
    EXPECT_EQ(target(), 5);
    player_table[0].money_luck = -5;
    EXPECT_EQ(ai_item_decide_teleporter(0), 0);
    player_table[0].money_luck = 0;
    own(4, -1, 2);
    own(5, -1, 2);
    EXPECT_EQ(ai_item_decide_teleporter(0), 0) << "level 2 is not enough";
}

TEST_F(AiItemsTest, ConstructionVehicleByPersonality) {
    player_table[0].personality = PERS_GOOD;
    int uses = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        game_srand(seed);
        uses += ai_item_decide_construction_vehicle(0);
    }
    EXPECT_GT(uses, 5);
    EXPECT_LT(uses, 45);
    player_table[0].travel = TRAVEL_FRESH_CONSTRUCTION;
    player_table[0].personality = PERS_CUNNING;
    EXPECT_EQ(ai_item_decide_construction_vehicle(0), 0);
}

TEST_F(AiItemsTest, NuclearMissileNeedsCandidatesAndSparesTheUser) {
    // No candidate: no use, and nothing drawn from the generator.
    game_srand(7);
    const uint32_t seed = game_rand_seed();
    EXPECT_EQ(ai_item_decide_nuclear_missile(0), 0);
    EXPECT_EQ(game_rand_seed(), seed);
    encounter_board_put(0, 12);
    own(2, 1, 3);
    ASSERT_EQ(ai_item_decide_nuclear_missile(0), 1);
    EXPECT_EQ(target(), OBJ_LOT_BASE + 2);
    // The user's own plots near it: too much of his own would burn.
    own(3, 0, 1);
    own(1, 0, 1);
    EXPECT_EQ(ai_item_decide_nuclear_missile(0), 0);
    own(3, -1);
    own(1, -1);
    // Never where the user himself stands.
    encounter_board_put(0, 3);
    EXPECT_EQ(ai_item_decide_nuclear_missile(0), 0);
}

TEST_F(AiItemsTest, NuclearMissileAreaWithNothingOfTheOthersListedIsNoTarget) {
    // The user's unbuilt plot 3 stands on the very spot of plot 2 and hides
    // it from the list: the area holds none of the others' (c2 = s2 = 0).
    encounter_board_put(0, 12);
    own(2, 1, 3);
    own(3, 0, 0);
    map_lot_table[3].x = map_lot_table[2].x;
    map_lot_table[3].y = map_lot_table[2].y;
    EXPECT_EQ(ai_item_decide_nuclear_missile(0), 0);
}

TEST_F(AiItemsTest, LandOwnedByNamesPlotsAndFacilitiesOnly) {
    own(2, 1);
    map_facility_table[1].owner = owner_of_seat(1);
    EXPECT_EQ(ai_land_owned_by(1, OBJ_LOT_BASE + 2), 1);
    EXPECT_EQ(ai_land_owned_by(0, OBJ_LOT_BASE + 2), 0);
    EXPECT_EQ(ai_land_owned_by(1, OBJ_FACILITY_BASE + 1), 1);
    EXPECT_EQ(ai_land_owned_by(1, 2), 0);
    EXPECT_EQ(ai_land_owned_by(1, OBJ_LOT_BASE + 99), 0);
}

// ---------------------------------------------------------------------------
// Dice

struct DiceCase {
    const char* name;
    int mode;
    int bomb_days; // 0: no bomb
    int owner;     // of plots 2..6: -1 none, 0 self, 1 another
    int expected;  // 0: 2 or 3 at random
};

TEST_F(AiItemsTest, DiceByTheBombAndTheSquaresAhead) {
    const DiceCase cases[] = {
        {"car, bomb at 14 days", TRAVEL_CAR, 14, 1, 1},
        {"car, bomb at 15 days", TRAVEL_CAR, 15, -1, 3},
        {"motorbike, bomb at 14 days", TRAVEL_MOTORBIKE, 14, 1, 1},
        {"motorbike, bomb at 20 days", TRAVEL_MOTORBIKE, 20, -1, 2},
        {"car, unowned land ahead", TRAVEL_CAR, 0, -1, 1},
        {"car, own land ahead", TRAVEL_CAR, 0, 0, 1},
        {"motorbike, unowned land ahead", TRAVEL_MOTORBIKE, 0, -1, 1},
        {"car, others' land ahead", TRAVEL_CAR, 0, 1, 0},
        {"motorbike, others' land ahead", TRAVEL_MOTORBIKE, 0, 1, 2},
        {"walking", TRAVEL_WALK, 0, -1, 7},
        {"construction vehicle", TRAVEL_FRESH_CONSTRUCTION, 0, -1, 7},
    };
    for (const DiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(encounter_board_setup(3));
        encounter_board_put(0, 1);
        PlayerRecord& r = player_table[0];
        r.travel = static_cast<uint8_t>(c.mode);
        r.dice = 7; // kept when nothing changes it
        for (int lot = 2; lot <= 6; ++lot)
            own(lot, c.owner);
        if (c.bomb_days) {
            const int slot = god_place(GK_TIME_BOMB, 0, c.bomb_days, owner_of_seat(0));
            ASSERT_NE(slot, 0);
            r.bomb_slot = static_cast<uint8_t>(slot);
        }
        game_active_mover = 0;
        ai_choose_dice();
        if (c.expected == 0)
            EXPECT_TRUE(r.dice == 2 || r.dice == 3) << int(r.dice);
        else
            EXPECT_EQ(r.dice, c.expected);
    }
}

TEST_F(AiItemsTest, MixedLandAheadKeepsTheVehiclesDice) {
    player_table[0].travel = TRAVEL_CAR;
    own(2, -1);
    own(3, -1);
    for (int lot = 4; lot <= 6; ++lot)
        own(lot, 1);
    ai_choose_dice();
    EXPECT_EQ(player_table[0].dice, 3) << "A = 2 but B = 3";
}

TEST_F(AiItemsTest, ACarDriverWithThreeUnownedPlotsAheadAndNoneOfOthersThrowsOneDie) {
    player_table[0].travel = TRAVEL_CAR;
    map_square_table[5].object = 0; // squares 5 and 6 serve nothing
    map_square_table[6].object = 0;
    ai_choose_dice();
    EXPECT_EQ(player_table[0].dice, 1);
}

// ---------------------------------------------------------------------------
// The view's lists through the computer's view seam

std::vector<uint16_t> free_squares() {
    const uint16_t* codes = nullptr;
    const int n = ai_view_free_squares(&codes);
    return std::vector<uint16_t>(codes, codes + n);
}
std::vector<uint16_t> owned_near(int x) {
    const uint16_t* codes = nullptr;
    const int n = ai_view_owned_near(x, 140, -1, &codes);
    return std::vector<uint16_t>(codes, codes + n);
}
bool holds(const std::vector<uint16_t>& list, int code) {
    return std::find(list.begin(), list.end(), static_cast<uint16_t>(code)) != list.end();
}

TEST_F(AiItemsTest, AHeldTryReadsEachListOnceUntilTheBoardIsDrawnAroundAnotherPoint) {
    // Plots 5 and 6 stand out of view, by square 11.
    map_lot_table[5].x = 1100;
    map_lot_table[6].x = 1150;
    own(5, 1);
    ai_view_hold();
    const std::vector<uint16_t> first = free_squares();
    ASSERT_TRUE(holds(first, 4));
    ASSERT_NE(god_place(GK_ROADBLOCK, 4, 0, 0), 0); // square 4 is free no more
    EXPECT_EQ(free_squares(), first) << "read once for the whole try";
    // Reading what is owned around square 11 draws the board there: the free
    // squares are read again, as the view shows them now.
    EXPECT_TRUE(holds(owned_near(1100), OBJ_LOT_BASE + 5));
    const std::vector<uint16_t> moved = free_squares();
    EXPECT_FALSE(holds(moved, 4));
    EXPECT_TRUE(holds(moved, 11));
    own(6, 1);
    EXPECT_FALSE(holds(owned_near(1100), OBJ_LOT_BASE + 6)) << "the same point: read once";
    ai_view_release();
    EXPECT_TRUE(holds(owned_near(1100), OBJ_LOT_BASE + 6)) << "released: read each time";
    EXPECT_EQ(free_squares(), moved);
}

} // namespace
