#include <gtest/gtest.h>

#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/status.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "support/ring_board.h"

namespace {

class Status : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(ring_board_load(8));
        cards_fill_pools();
        game_player_count = 2;
        ring_place_player(0, 3, CTRL_COMPUTER);
        ring_place_player(1, 5, CTRL_HUMAN);
    }
    static bool on_square(int p, int s) { return (map_square_table[s].flags & sqf_player(p)) != 0; }
};

TEST_F(Status, SendingAnAwayPlayerAwayAgainAddsTheDaysAndChangesTheKind) {
    player_send_away(0, 3, 0);
    EXPECT_EQ(player_table[0].away_days, 3);
    EXPECT_FALSE(on_square(0, 3));
    EXPECT_EQ(player_table[0].days_lost_month, 3);
    player_send_away(0, 3, 1);
    EXPECT_EQ(player_table[0].away_days, 64 + 6);
    EXPECT_EQ(player_table[0].days_lost_month, 3); // counted once, when it disappeared
}

TEST_F(Status, AwayDaysNeverCarryIntoTheKindBitsOrTheEndMark) {
    player_table[0].away_days = 64 + 60;
    player_send_away(0, 10, 1);
    EXPECT_EQ(player_table[0].away_days, 64 + 63);
    player_table[1].away_days = 50;
    player_send_away(1, 40, 0);
    EXPECT_EQ(player_table[1].away_days, 63);
    EXPECT_EQ(player_table[1].away_days & STATUS_END_MARK, 0);
}

TEST_F(Status, ComingBackPutsThePlayerOnItsSquareAgain) {
    player_send_away(0, 2, 1);
    player_return(0);
    EXPECT_EQ(player_table[0].away_days, 0);
    EXPECT_TRUE(on_square(0, 3));
}

TEST_F(Status, ABlastLeavesAWalkingPlayerHitAndShownOutOfTheGame) {
    player_lose_vehicle(0);
    EXPECT_EQ(player_table[0].control, CTRL_COMPUTER | CTRL_BLAST_HIT);
    EXPECT_EQ(actor_anim_table[0].flags & ANIM_EXTRA_MASK, ANIM_EXTRA_OUT);
    EXPECT_EQ(actor_anim_table[0].indoor, 1);
}

TEST_F(Status, ABlastTakesTheMotorbikeBackToTheShopAndStopsAMove) {
    --item_stock[ITEM_MOTORBIKE - 1];
    player_table[0].travel = TRAVEL_MOTORBIKE;
    player_table[0].dice = 2;
    game_active_mover = 0;
    turn_running = 1;
    actor_anim_table[0].phase = PHASE_MOVING;
    player_lose_vehicle(0);
    EXPECT_EQ(item_stock[ITEM_MOTORBIKE - 1], 10);
    EXPECT_EQ(player_table[0].travel, TRAVEL_WALK);
    EXPECT_EQ(player_table[0].dice, 1);
    EXPECT_EQ(actor_anim_table[0].phase, PHASE_WAIT);
    EXPECT_EQ(actor_anim_table[0].wait, 5);
}

TEST_F(Status, ABlastOnAPlayerInHospitalChangesNothing) {
    player_table[0].hospital_days = 3;
    player_table[0].travel = TRAVEL_CAR;
    player_lose_vehicle(0);
    EXPECT_EQ(player_table[0].control, CTRL_COMPUTER);
    EXPECT_EQ(player_table[0].travel, TRAVEL_CAR);
}

TEST_F(Status, ABlastOnAPlayerOutOfTheGameMovesItFarAway) {
    for (int i = 1; i <= 8; ++i)
        map_square_table[i].flags &= ~SQF_TYPE_MASK; // property squares
    player_table[0].control = CTRL_OUT;
    player_lose_vehicle(0);
    EXPECT_NE(player_table[0].square, 3);
    EXPECT_EQ(player_table[0].control, CTRL_OUT);
}

TEST_F(Status, EnteringABuildingFromAnotherSquareDropsThePlayerInside) {
    map_facility_table[2].x = 900;
    map_facility_table[2].y = 500;
    game_active_mover = 1;
    player_table[1].facing = 3;
    player_enter_building(0, 5, 2);
    const PlayerRecord& r = player_table[0];
    EXPECT_EQ(r.x, 900);
    EXPECT_EQ(r.y, 500);
    EXPECT_EQ(r.square, 5); // the active mover's square
    EXPECT_EQ(r.saved_facing, 3);
    EXPECT_EQ(r.inside_facility, 2);
    EXPECT_FALSE(on_square(0, 3));
    EXPECT_EQ(r.control & CTRL_INSIDE, 0);
}

TEST_F(Status, EnteringFromItsOwnSquareWalksThePlayerIn) {
    game_active_mover = 0;
    player_table[0].facing = 2;
    player_enter_building(0, 3, 1);
    EXPECT_NE(player_table[0].control & CTRL_INSIDE, 0);
    EXPECT_EQ(player_table[0].saved_facing, 2);
    EXPECT_EQ(actor_anim_table[0].phase, PHASE_MOVING);
    EXPECT_EQ(move_steps_left, 1);
    EXPECT_EQ(turn_running, 1);
}

TEST_F(Status, FacingTheSquareMarksTheStepOut) {
    player_table[0].x = 480;
    player_table[0].y = 200;
    map_square_table[3].flags &= ~sqf_player(0);
    player_face_square(0);
    EXPECT_NE(player_table[0].control & CTRL_STEPPING, 0);
    EXPECT_EQ(player_table[0].facing, 0); // straight down to the square
    EXPECT_TRUE(on_square(0, 3));
}

TEST_F(Status, ClearingAJailStayClearsItsFlagAndEveryStayCounter) {
    player_table[0].jail_days = 3;
    player_table[0].hotel_days = 1;
    jail_flags[0] = 1;
    player_clear_jail_hospital(0);
    EXPECT_EQ(jail_flags[0], 0);
    EXPECT_EQ(player_table[0].jail_days, 0);
    EXPECT_EQ(player_table[0].hotel_days, 0);
    EXPECT_EQ(actor_anim_table[0].flags & ANIM_EXTRA_MASK, ANIM_EXTRA_JAIL);
}

TEST_F(Status, SpritesFollowTheMoversState) {
    struct Case {
        uint8_t travel;
        uint8_t sleepwalk;
        bool indoor_square;
        uint8_t walk_family;
        uint8_t extra_family;
        uint8_t indoor;
    };
    const Case cases[] = {
        {TRAVEL_WALK, 0, false, 1, 0, 0},
        {TRAVEL_CAR, 0, false, 3, 0, 0},
        {TRAVEL_MOTORBIKE, 3, false, 5, 0, 0},
        {TRAVEL_WALK, 0, true, 0, ANIM_EXTRA_INDOOR, 1},
    };
    for (const Case& c : cases) {
        SetUp();
        player_table[0].travel = c.travel;
        player_table[0].sleepwalk_days = c.sleepwalk;
        if (c.indoor_square) map_square_table[3].flags |= SQF_INDOOR;
        actor_update_sprites(0);
        EXPECT_EQ(actor_anim_table[0].flags & ANIM_WALK_FAMILY_MASK, c.walk_family);
        EXPECT_EQ(actor_anim_table[0].flags & ANIM_EXTRA_MASK, c.extra_family);
        EXPECT_EQ(actor_anim_table[0].indoor, c.indoor);
    }
}

} // namespace
