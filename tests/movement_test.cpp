#include <gtest/gtest.h>

#include <cmath>

#include "board/game_state.h"
#include "board/map.h"
#include "board/movement.h"
#include "board/world_reset.h"
#include "engine/random.h"
#include "support/ring_board.h"

namespace {

class Movement : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(ring_board_load(8));
        game_player_count = 2;
        game_srand(7);
    }
    // Frames until the active mover's step completes (at most 200).
    static int frames_of_step() {
        for (int n = 1; n <= 200; ++n)
            if (move_step_frame()) return n;
        return -1;
    }
};

TEST_F(Movement, FramesFollowTheTravelMode) {
    struct Case {
        uint8_t travel;
        int frames;
    };
    for (Case c : {Case{TRAVEL_WALK, 20}, Case{TRAVEL_MOTORBIKE, 13}, Case{TRAVEL_CAR, 10},
                   Case{TRAVEL_FRESH_CONSTRUCTION, 20}}) {
        SetUp();
        ring_place_player(0, 3, CTRL_COMPUTER);
        player_table[0].travel = c.travel;
        game_active_mover = 0;
        EXPECT_EQ(frames_of_step(), c.frames) << int(c.travel);
        const PlayerRecord& r = player_table[0];
        EXPECT_EQ(r.square, 4);
        EXPECT_EQ(r.prev_square, 3);
        EXPECT_EQ(r.x, 640);
        EXPECT_EQ(r.y, 320);
        EXPECT_EQ(r.facing, map_direction(3, 4));
        EXPECT_EQ(map_square_table[3].flags & sqf_player(0), 0u);
        EXPECT_NE(map_square_table[4].flags & sqf_player(0), 0u);
        EXPECT_EQ(move_step_running(), 0);
    }
}

TEST_F(Movement, PositionMovesAtTheModeSpeedEachFrame) {
    ring_place_player(0, 3, CTRL_COMPUTER);
    player_table[0].travel = TRAVEL_CAR;
    game_active_mover = 0;
    move_step_frame();
    EXPECT_EQ(player_table[0].x, 480 + 16);
    move_step_frame();
    EXPECT_EQ(player_table[0].x, 480 + 32);
    EXPECT_EQ(actor_anim_table[0].frame, 2);
}

TEST_F(Movement, AStepShorterThanOneFrameStillTakesOne) {
    map_square_table[4].x = 480 + 5;
    ring_place_player(0, 3, CTRL_COMPUTER);
    game_active_mover = 0;
    EXPECT_EQ(frames_of_step(), 1);
    EXPECT_EQ(player_table[0].x, 485);
}

TEST_F(Movement, AWandererStepOfUnderOneFrameDoesNotDivideByZero) {
    map_square_table[4].x = 480 + 4;
    WalkerRecord& w = walker_of_mover(MOVER_THIEF);
    w.place = WALKER_FREE;
    w.square = 3;
    w.prev_square = 2;
    w.x = 480;
    w.y = 320;
    game_active_mover = MOVER_THIEF;
    EXPECT_EQ(frames_of_step(), 1);
    EXPECT_EQ(w.square, 4);
    EXPECT_EQ(w.x, 484);
    EXPECT_TRUE(std::isfinite(actor_anim_table[MOVER_THIEF].fx));
    EXPECT_NE(map_square_table[4].flags & sqf_walker(MOVER_THIEF), 0u);
    EXPECT_EQ(map_square_table[3].flags & sqf_walker(MOVER_THIEF), 0u);
}

TEST_F(Movement, ADeadEndOrClosedLinksTurnTheMoverBack) {
    // Square 4 keeps only its way back (link 1 to square 3).
    map_square_table[4].links[0] = 0;
    ring_place_player(0, 4, CTRL_COMPUTER);
    player_table[0].prev_square = 3;
    game_active_mover = 0;
    frames_of_step();
    EXPECT_EQ(player_table[0].square, 3);

    // Square 6: the link onward is closed.
    SetUp();
    map_square_table[6].flags |= sqf_closed(0);
    ring_place_player(1, 6, CTRL_COMPUTER);
    player_table[1].prev_square = 5;
    game_active_mover = 1;
    frames_of_step();
    EXPECT_EQ(player_table[1].square, 5);
}

TEST_F(Movement, EnteringAHotelDropsTheInsideBitHalfWay) {
    ring_place_player(0, 3, CTRL_COMPUTER | CTRL_INSIDE);
    map_facility_table[1].x = 480;
    map_facility_table[1].y = 400; // 80 units away: 10 frames at 8
    player_table[0].inside_facility = 1;
    player_table[0].facing = 6;
    game_active_mover = 0;
    int frames = 0;
    bool cleared_half_way = false;
    while (!move_step_frame()) {
        ++frames;
        if (frames == 4) {
            EXPECT_NE(player_table[0].control & CTRL_INSIDE, 0);
        }
        if (frames == 6) cleared_half_way = (player_table[0].control & CTRL_INSIDE) == 0;
    }
    EXPECT_EQ(frames + 1, 10);
    EXPECT_TRUE(cleared_half_way);
    EXPECT_EQ(player_table[0].control, CTRL_COMPUTER);
    EXPECT_EQ(player_table[0].x, 480);
    EXPECT_EQ(player_table[0].y, 400);
    EXPECT_EQ(player_table[0].square, 3); // still on its square
    EXPECT_EQ(player_table[0].facing, 6); // facing is not turned along the path
}

TEST_F(Movement, AOneFrameStepIntoABuildingStillEndsTheInsideState) {
    ring_place_player(0, 3, CTRL_COMPUTER | CTRL_INSIDE);
    map_facility_table[1].x = 480;
    map_facility_table[1].y = 324;
    player_table[0].inside_facility = 1;
    game_active_mover = 0;
    EXPECT_EQ(frames_of_step(), 1);
    EXPECT_EQ(player_table[0].control, CTRL_COMPUTER);
}

TEST_F(Movement, SteppingOutClearsTheStayCountersHalfWay) {
    ring_place_player(0, 3, CTRL_HUMAN | CTRL_STEPPING);
    player_table[0].y = 400;
    player_table[0].hotel_days = 0x80;
    player_table[0].jail_days = 2;
    game_active_mover = 0;
    frames_of_step();
    EXPECT_EQ(player_table[0].hotel_days, 0);
    EXPECT_EQ(player_table[0].jail_days, 0);
    EXPECT_EQ(player_table[0].y, 320);
    EXPECT_NE(player_table[0].control & CTRL_STEPPING, 0); // the turn flow ends it
}

TEST_F(Movement, TurningAroundSendsTheMoverBack) {
    ring_place_player(0, 3, CTRL_COMPUTER);
    player_table[0].facing = 2;
    move_turn_around(0);
    EXPECT_EQ(player_table[0].facing, 6);
    EXPECT_EQ(player_table[0].prev_square, 4);
    game_active_mover = 0;
    frames_of_step();
    EXPECT_EQ(player_table[0].square, 2);
}

TEST_F(Movement, RelocationMovesTheOccupancyMarkFarAway) {
    for (int i = 1; i <= 8; ++i)
        map_square_table[i].flags = SQ_PROPERTY;
    ring_place_player(0, 1, CTRL_COMPUTER);
    player_relocate_random(0);
    const PlayerRecord& r = player_table[0];
    ASSERT_NE(r.square, 1);
    EXPECT_GE(std::abs(map_square_table[r.square].x - map_square_table[1].x), 300);
    EXPECT_EQ(map_square_table[1].flags & sqf_player(0), 0u);
    EXPECT_NE(map_square_table[r.square].flags & sqf_player(0), 0u);
    EXPECT_EQ(r.x, map_square_table[r.square].x);
    EXPECT_EQ(r.prev_square, map_square_table[r.square].links[0]);
}

TEST_F(Movement, AttachedGodAndBombFollowTheHolder) {
    ring_place_player(0, 3, CTRL_COMPUTER);
    player_table[0].god_slot = 1;
    player_table[0].bomb_slot = 37;
    game_active_mover = 0;
    frames_of_step();
    EXPECT_EQ(god_table[1].square, 4);
    EXPECT_EQ(god_table[37].square, 4);
}

} // namespace
