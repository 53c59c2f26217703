#include <gtest/gtest.h>

#include "board/encounters.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "cards/cards.h"
#include "support/encounter_board.h"

namespace {

int square_slot(int s) {
    return static_cast<int>((map_square_table[s].flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT);
}

class EncountersTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(encounter_board_setup(3)); }
    void TearDown() override { EXPECT_EQ(god_board_check(), ""); }

    // Mover m has just stepped onto square s; steps_left 0 means it stops there.
    void step(int m, int s, int steps_left) {
        encounter_board_put(m, s);
        game_active_mover = m;
        move_steps_left = steps_left;
        land_encounter();
        EXPECT_EQ(god_board_check(), "");
    }
    void free_walker(int m, int patron) {
        WalkerRecord& w = walker_of_mover(m);
        w.place = WALKER_FREE;
        w.patron = static_cast<uint8_t>(patron);
        jail_flags[m] = 0;
        hospital_flags[m] = 0;
    }
};

TEST_F(EncountersTest, GodsAttachOnlyToAPlayerWhoStops) {
    god_place(GK_ANGEL, 3, 0, 0);
    step(0, 3, 2);
    EXPECT_EQ(player_table[0].god_slot, 0);
    EXPECT_EQ(square_slot(3), 9);
    step(0, 3, 0);
    EXPECT_EQ(player_table[0].god_slot, 9);
    EXPECT_EQ(square_slot(3), 0);
    // Characters leave gods alone.
    god_place(GK_LAND_GOD, 4, 0, 0);
    free_walker(MOVER_SPY, 1);
    step(MOVER_SPY, 4, 0);
    EXPECT_EQ(square_slot(4), 12);
}

TEST_F(EncountersTest, RobotDollClearsEverySlotItStepsOn) {
    god_place(GK_ROADBLOCK, 5, 0, 0);
    walker_of_mover(MOVER_ROBOT_DOLL).place = WALKER_FREE;
    step(MOVER_ROBOT_DOLL, 5, 3);
    EXPECT_EQ(square_slot(5), 0);
    EXPECT_EQ(god_table[17].square, 0);
    EXPECT_EQ(god_table[17].flight, 255); // it flies off
    EXPECT_EQ(god_none_flying(), 0);
    EXPECT_EQ(move_steps_left, 3); // the doll walks on
}

TEST_F(EncountersTest, BeggarIsMetOnlyWhenStoppingAndMovesAway) {
    player_table[2].control = CTRL_OUT; // a beggar
    encounter_board_put(2, 4);
    game_price_index = 2;
    step(0, 4, 1);
    EXPECT_EQ(lotto_jackpot, 0);
    step(0, 4, 0);
    EXPECT_EQ(lotto_jackpot, 2000);
    EXPECT_EQ(player_table[0].cash, 8000);
    EXPECT_NE(player_table[2].square, 4);
}

TEST_F(EncountersTest, MoverBankruptedByTheBeggarMeetsNothingMore) {
    player_table[2].control = CTRL_OUT;
    encounter_board_put(2, 4);
    player_table[0].cash = 400;
    player_table[0].deposit = 0;
    god_place(GK_SMALL_WEALTH, 4, 0, 0);
    step(0, 4, 0);
    EXPECT_EQ(player_table[0].control, CTRL_OUT);
    EXPECT_EQ(lotto_jackpot, 400);
    // The wealth god stays where it stands: nobody out of the game collects.
    EXPECT_EQ(god_table[1].holder, 0);
    EXPECT_EQ(player_table[1].cash, 10000);
}

TEST_F(EncountersTest, NothingHappensOnceTheGameIsOver) {
    god_place(GK_CHEST, 3, 0, 0);
    game_end_code = 1;
    step(0, 3, 0);
    EXPECT_EQ(player_table[0].points, 0);
    EXPECT_EQ(square_slot(3), 14);
}

TEST_F(EncountersTest, BombPassesToAnotherPlayerWithoutStopping) {
    const int bomb = god_place(GK_TIME_BOMB, 0, 0, 0);
    player_table[0].bomb_slot = static_cast<uint8_t>(bomb);
    god_table[bomb].holder = 1;
    god_table[bomb].days = 10;
    god_table[bomb].square = player_table[0].square;
    encounter_board_put(1, 5);
    step(0, 5, 3);
    EXPECT_EQ(player_table[0].bomb_slot, 0);
    EXPECT_EQ(player_table[1].bomb_slot, bomb);
    EXPECT_EQ(god_table[bomb].holder, 2);
    EXPECT_EQ(god_table[bomb].days, 9);
    EXPECT_EQ(move_steps_left, 3);
    // Not to a player who carries one already, nor to one out of the game.
    const int other = god_place(GK_TIME_BOMB, 0, 0, 0);
    player_table[2].bomb_slot = static_cast<uint8_t>(other);
    god_table[other].holder = 3;
    god_table[other].days = 10;
    encounter_board_put(2, 6);
    god_table[other].square = 6;
    step(1, 6, 2);
    EXPECT_EQ(player_table[1].bomb_slot, bomb);
}

TEST_F(EncountersTest, BombGoingOffLowersTheBuildingAndSendsTheCarrierToHospital) {
    map_lot_table[2].owner = 3;
    map_lot_table[2].level = 3;
    player_table[0].travel = TRAVEL_CAR;
    const int bomb = god_place(GK_TIME_BOMB, 0, 0, 0);
    player_table[0].bomb_slot = static_cast<uint8_t>(bomb);
    god_table[bomb].holder = 1;
    god_table[bomb].days = 1;
    god_table[bomb].square = player_table[0].square;
    god_place(GK_CHEST, 2, 0, 0);
    step(0, 2, 4);
    EXPECT_EQ(map_lot_table[2].level, 2);
    EXPECT_EQ(player_table[0].bomb_slot, 0);
    EXPECT_EQ(god_table[bomb].holder, 0);
    EXPECT_EQ(player_table[0].hospital_days, 5);
    EXPECT_EQ(player_table[0].travel & TRAVEL_MODE_MASK, TRAVEL_WALK);
    EXPECT_EQ(move_steps_left, 0);
    EXPECT_EQ(player_table[0].points, 0); // the step ended with the blast
}

TEST_F(EncountersTest, DogBitesWalkersButNotRiders) {
    god_place(GK_DOG, 3, 0, 0);
    player_table[0].travel = TRAVEL_CAR;
    step(0, 3, 0);
    EXPECT_EQ(square_slot(3), 0);
    EXPECT_EQ(player_table[0].hospital_days, 0);
    EXPECT_EQ(player_table[0].travel, TRAVEL_CAR);
    const int back = god_table[12].square; // the land god came instead
    EXPECT_NE(back, 0);
    god_remove(12); // the dog returns
    const int dog = god_table[11].square;
    ASSERT_NE(dog, 0);
    step(1, dog, 0);
    EXPECT_EQ(player_table[1].hospital_days, 3);
    EXPECT_EQ(move_steps_left, 0);
}

TEST_F(EncountersTest, GiftGivesAnItemOrStaysWhenThePoolIsEmpty) {
    god_place(GK_GIFT, 3, 0, 0);
    step(0, 3, 1);
    EXPECT_EQ(square_slot(3), 13);
    const std::array<uint8_t, ITEM_SHOP_KINDS> stock = item_stock;
    item_stock.fill(0);
    step(0, 3, 0);
    EXPECT_EQ(square_slot(3), 13);
    item_stock = stock;
    step(0, 3, 0);
    EXPECT_EQ(square_slot(3), 0);
    int held = 0;
    for (uint8_t n : player_items[0])
        held += n;
    EXPECT_EQ(held, 1);
}

TEST_F(EncountersTest, ThiefLeavesTheGiftWhenNothingCanBeGivenToItsPatron) {
    free_walker(MOVER_THIEF, 1);
    god_place(GK_GIFT, 3, 0, 0);
    item_stock.fill(0);
    step(MOVER_THIEF, 3, 2);
    EXPECT_EQ(square_slot(3), 13);
    EXPECT_EQ(god_table[13].square, 3);
    cards_fill_pools();
    step(MOVER_THIEF, 3, 2);
    EXPECT_EQ(square_slot(3), 0);
    int held = 0;
    for (uint8_t n : player_items[1])
        held += n;
    EXPECT_EQ(held, 1);
}

TEST_F(EncountersTest, ChestGivesPointsToThePlayerOrTheThiefsPatron) {
    god_place(GK_CHEST, 3, 0, 0);
    step(0, 3, 0);
    EXPECT_EQ(player_table[0].points, 500);
    god_place(GK_CHEST, 4, 0, 0);
    free_walker(MOVER_THIEF, 2);
    walker_of_mover(MOVER_THIEF).sleepwalk_days = 2;
    step(MOVER_THIEF, 4, 1);
    EXPECT_EQ(square_slot(4), 14); // a sleepwalking thief takes nothing
    walker_of_mover(MOVER_THIEF).sleepwalk_days = 0;
    step(MOVER_THIEF, 4, 1);
    EXPECT_EQ(player_table[2].points, 500);
    EXPECT_EQ(square_slot(4), 0);
}

TEST_F(EncountersTest, RoadblockStopsMoversAndTheThiefPocketsIt) {
    god_place(GK_ROADBLOCK, 3, 0, 0);
    step(0, 3, 4);
    EXPECT_EQ(move_steps_left, 0);
    EXPECT_EQ(square_slot(3), 0);
    god_place(GK_ROADBLOCK, 4, 0, 0);
    free_walker(MOVER_ROBBER, 1);
    step(MOVER_ROBBER, 4, 4);
    EXPECT_EQ(move_steps_left, 0);
    god_place(GK_ROADBLOCK, 5, 0, 0);
    free_walker(MOVER_THIEF, 1);
    step(MOVER_THIEF, 5, 4);
    EXPECT_EQ(move_steps_left, 4);
    EXPECT_EQ(player_items[1][1], 1); // item 2, the roadblock
    EXPECT_EQ(square_slot(5), 0);
}

TEST_F(EncountersTest, MineHurtsWhoStopsAndTheThiefTakesIt) {
    god_place(GK_MINE, 3, 0, 0);
    step(0, 3, 2);
    EXPECT_EQ(square_slot(3), 27);
    step(0, 3, 0);
    EXPECT_EQ(player_table[0].hospital_days, 3);
    EXPECT_EQ(square_slot(3), 0);
    god_place(GK_MINE, 4, 0, 0);
    free_walker(MOVER_HOOLIGAN, 1);
    step(MOVER_HOOLIGAN, 4, 0);
    EXPECT_EQ(walker_of_mover(MOVER_HOOLIGAN).place, WALKER_IN_HOSPITAL);
    god_place(GK_MINE, 5, 0, 0);
    free_walker(MOVER_THIEF, 2);
    step(MOVER_THIEF, 5, 3);
    EXPECT_EQ(player_items[2][2], 1);
}

TEST_F(EncountersTest, TimeBombIsPickedUpByAPlayerWhoStops) {
    const int slot = god_place(GK_TIME_BOMB, 3, 0, 0);
    step(0, 3, 0);
    EXPECT_EQ(player_table[0].bomb_slot, slot);
    EXPECT_EQ(god_table[slot].holder, 1);
    EXPECT_EQ(god_table[slot].days, BOMB_STEPS);
    EXPECT_EQ(square_slot(3), 0);
    // The robber, hooligan and spy leave bombs alone; the thief takes them.
    const int other = god_place(GK_TIME_BOMB, 4, 0, 0);
    free_walker(MOVER_SPY, 1);
    step(MOVER_SPY, 4, 0);
    EXPECT_EQ(square_slot(4), other);
    free_walker(MOVER_THIEF, 1);
    step(MOVER_THIEF, 4, 0);
    EXPECT_EQ(square_slot(4), 0);
    EXPECT_EQ(player_items[1][3], 1);
}

TEST_F(EncountersTest, ThiefTakesHalfTheVictimsPoints) {
    free_walker(MOVER_THIEF, 2);
    encounter_board_put(1, 5);
    player_table[1].points = 1;
    step(MOVER_THIEF, 5, 3);
    EXPECT_EQ(player_table[1].points, 1);
    player_table[1].points = 301;
    step(MOVER_THIEF, 5, 3);
    EXPECT_EQ(player_table[1].points, 151);
    EXPECT_EQ(player_table[2].points, 150);
    // Its own patron is never the victim.
    encounter_board_put(1, 6);
    encounter_board_put(2, 6);
    step(MOVER_THIEF, 6, 0);
    EXPECT_EQ(player_table[1].points, 76);
    EXPECT_EQ(player_table[2].points, 225);
}

TEST_F(EncountersTest, RobberTakesACardAndRaidsTheBank) {
    free_walker(MOVER_ROBBER, 0);
    card_add(1, CARD_SWAP_HOUSE);
    encounter_board_put(1, EB_BANK_SQUARE);
    player_table[2].deposit = 999;
    step(MOVER_ROBBER, EB_BANK_SQUARE, 2);
    EXPECT_EQ(card_count(1), 0);
    EXPECT_EQ(card_has(0, CARD_SWAP_HOUSE), 1);
    EXPECT_EQ(player_table[1].deposit, 8000);
    EXPECT_EQ(player_table[2].deposit, 999 - 199);
    EXPECT_EQ(player_table[0].cash, 10000 + 2000 + 199);
    EXPECT_EQ(player_table[0].deposit, 10000);
    EXPECT_EQ(player_table[1].control, CTRL_COMPUTER);
}

TEST_F(EncountersTest, HooliganExtortsTheWholeStreetAndSpyTakesLastTolls) {
    for (int i = 1; i <= 3; ++i)
        map_lot_table[i].owner = 2; // street "A", player 1
    map_lot_table[3].chain_store = 1;
    map_lot_table[4].owner = 2; // street "B"
    map_lot_table[2].last_toll = 0;
    free_walker(MOVER_HOOLIGAN, 0);
    game_price_index = 3;
    step(MOVER_HOOLIGAN, 2, 1);
    EXPECT_EQ(player_table[0].deposit, 10000); // passing: nothing
    step(MOVER_HOOLIGAN, 2, 0);
    EXPECT_EQ(player_table[0].deposit, 10000 + 3 * 1000 * 3);
    EXPECT_EQ(player_table[1].cash, 10000 - 9000);

    free_walker(MOVER_SPY, 0);
    step(MOVER_SPY, 2, 0); // last toll 0: nothing
    EXPECT_EQ(player_table[0].deposit, 19000);
    map_lot_table[2].last_toll = 700;
    step(MOVER_SPY, 2, 0);
    EXPECT_EQ(player_table[0].deposit, 19700);
    // On the patron's own plot nothing happens.
    map_lot_table[5].owner = 1;
    map_lot_table[5].last_toll = 500;
    step(MOVER_SPY, 5, 0);
    EXPECT_EQ(player_table[0].deposit, 19700);
}

TEST_F(EncountersTest, SpyTakesOnlyACompanysSurplus) {
    CompanyBuilding& c = map_company_table[1];
    c.chairman = 3;
    c.earnings = -5000;
    c.earnings_total = -5000;
    free_walker(MOVER_SPY, 0);
    step(MOVER_SPY, EB_COMPANY_SQUARE, 0);
    EXPECT_EQ(c.earnings, -5000);
    EXPECT_EQ(player_table[0].deposit, 10000);
    c.earnings = 1200;
    step(MOVER_SPY, EB_COMPANY_SQUARE, 0);
    EXPECT_EQ(c.earnings, 0);
    EXPECT_EQ(player_table[0].deposit, 11200);
    // The hooligan does nothing at a company.
    c.earnings = 1200;
    free_walker(MOVER_HOOLIGAN, 0);
    step(MOVER_HOOLIGAN, EB_COMPANY_SQUARE, 0);
    EXPECT_EQ(c.earnings, 1200);
}

TEST_F(EncountersTest, FreedCharacterGoesBackInAtTheNextSquareOfThatKind) {
    jail_send(MOVER_THIEF, 0);
    game_active_mover = 1;
    jail_release(MOVER_THIEF); // put down on the jail square: armed
    ASSERT_EQ(walker_of_mover(MOVER_THIEF).memory, 0x81);
    step(MOVER_THIEF, 3, 4);
    EXPECT_EQ(walker_of_mover(MOVER_THIEF).place, WALKER_FREE);
    step(MOVER_THIEF, EB_JAIL_SQUARE, 4);
    EXPECT_EQ(walker_of_mover(MOVER_THIEF).place, WALKER_IN_JAIL);
    EXPECT_EQ(jail_flags[MOVER_THIEF], 1);
    EXPECT_EQ(move_steps_left, 0);
    // Not armed yet: the first such square only arms it.
    free_walker(MOVER_SPY, 0);
    WalkerRecord& spy = walker_of_mover(MOVER_SPY);
    spy.memory = 2;
    step(MOVER_SPY, EB_HOSPITAL_SQUARE, 3);
    EXPECT_EQ(spy.memory, 0x82);
    EXPECT_EQ(spy.place, WALKER_FREE);
    step(MOVER_SPY, EB_HOSPITAL_SQUARE, 3);
    EXPECT_EQ(spy.place, WALKER_IN_HOSPITAL);
}

} // namespace
