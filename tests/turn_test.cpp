#include <gtest/gtest.h>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/movement.h"
#include "board/turn.h"
#include "board/turn_flow.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "support/ring_board.h"

namespace {

class Turn : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(ring_board_load(10));
        cards_fill_pools();
        game_srand(99);
        game_player_count = 2;
        ring_place_player(0, 3, CTRL_COMPUTER);
        ring_place_player(1, 7, CTRL_COMPUTER);
        player_table[0].cash = player_table[1].cash = 10000;
        game_active_mover = 0;
    }
    // Ticks until the active mover changes or the limit runs out.
    static int ticks_until_next_mover(int limit = 2000) {
        int start = game_active_mover;
        for (int n = 1; n <= limit; ++n) {
            turn_tick();
            if (game_active_mover != start || (actor_anim_table[start].flags & ANIM_NEEDS_STEP))
                return n;
        }
        return -1;
    }
};

TEST_F(Turn, ClosingWaitsEndTheTurnAfterTheirTicks) {
    struct Case {
        uint8_t wait;
        int ticks;
    };
    // A wait of 0x80 has no ticks left: it ends the turn on the first tick.
    for (Case c : {Case{0x80, 1}, Case{0x81, 1}, Case{0x83, 3}}) {
        SetUp();
        actor_anim_table[0].wait = c.wait;
        turn_running = 1;
        EXPECT_EQ(ticks_until_next_mover(200), c.ticks) << int(c.wait);
        EXPECT_EQ(game_active_mover, 1);
        EXPECT_EQ(turn_running, 0);
        EXPECT_NE(actor_anim_table[1].flags & ANIM_NEEDS_STEP, 0);
    }
}

TEST_F(Turn, AStayingPlayerLandsOnItsOwnSquareAfterTwoTicks) {
    map_square_table[3].flags = (map_square_table[3].flags & ~SQF_TYPE_MASK) | SQ_POINTS_10;
    player_table[0].stay_days = 2;
    turn_begin_move();
    EXPECT_EQ(actor_anim_table[0].phase, PHASE_WAIT);
    EXPECT_EQ(actor_anim_table[0].wait, 2);
    turn_tick();
    EXPECT_EQ(player_table[0].points, 0);
    turn_tick();
    EXPECT_EQ(player_table[0].points, 10);
    EXPECT_EQ(player_table[0].square, 3);
    EXPECT_NE(actor_anim_table[0].wait & ANIM_WAIT_ENDS_TURN, 0);
}

TEST_F(Turn, AMoveWalksItsDiceAndWaitsFiveTicksBeforeLanding) {
    player_table[0].dice = 1;
    turn_begin_move();
    ASSERT_EQ(actor_anim_table[0].phase, PHASE_DICE);
    int ticks = 0;
    while (actor_anim_table[0].phase == PHASE_DICE && ticks < 100) {
        turn_tick();
        ++ticks;
    }
    ASSERT_EQ(actor_anim_table[0].phase, PHASE_MOVING);
    const int total = dice_total;
    ASSERT_GE(total, 1);
    ASSERT_LE(total, 6);
    EXPECT_EQ(move_steps_left, total);
    while (move_steps_left > 0 && ticks < 2000) {
        turn_tick();
        ++ticks;
    }
    EXPECT_EQ(move_step_done, 1);
    EXPECT_EQ(actor_anim_table[0].phase, PHASE_MOVING);
    turn_tick(); // the tick after the last step: encounters, then the wait
    EXPECT_EQ(move_step_done, 0);
    EXPECT_EQ(actor_anim_table[0].phase, PHASE_WAIT);
    EXPECT_EQ(actor_anim_table[0].wait, 5);
    int passed = (3 + total - 1) % 10 + 1;
    EXPECT_EQ(player_table[0].square, passed);
}

TEST_F(Turn, TheRemoteDiceFaceReplacesEveryDie) {
    player_table[0].dice = 3;
    EXPECT_EQ(dice_roll(4), 4);
    for (int i = 0; i < 50; ++i) {
        int t = dice_roll(0);
        EXPECT_GE(t, 3);
        EXPECT_LE(t, 18);
    }
}

TEST_F(Turn, AHotelStayEndsWithAStepOutAndThePlayerPlaysOn) {
    struct Case {
        uint8_t control;
        uint8_t phase_after; // of the turn that follows the step out
    };
    for (Case c : {Case{CTRL_HUMAN, PHASE_WAIT}, Case{CTRL_COMPUTER, PHASE_DICE},
                   Case{CTRL_HUMAN | CTRL_HANDED_OVER, PHASE_DICE}}) {
        SetUp();
        PlayerRecord& r = player_table[0];
        r.control = c.control;
        r.hotel_days = 0x80;
        r.y = 400; // inside the hotel beside square 3
        r.saved_facing = 5;
        turn_start_countdowns(0);
        EXPECT_EQ(r.hotel_days, 0);
        EXPECT_NE(r.control & CTRL_STEPPING, 0);
        turn_take_step();
        EXPECT_EQ(actor_anim_table[0].phase, PHASE_MOVING) << int(c.control);
        EXPECT_EQ(move_steps_left, 1);
        ASSERT_GT(ticks_until_next_mover(), 0);
        EXPECT_EQ(game_active_mover, 0); // the same player keeps the turn
        EXPECT_EQ(r.control, c.control);
        EXPECT_EQ(r.y, 320);
        EXPECT_EQ(r.square, 3);
        EXPECT_EQ(r.facing, 5);
        actor_anim_table[0].flags &= ~ANIM_NEEDS_STEP;
        turn_take_step();
        EXPECT_EQ(actor_anim_table[0].phase, c.phase_after) << int(c.control);
    }
}

TEST_F(Turn, AReleaseFromJailStepsOutAndPlaysOn) {
    PlayerRecord& r = player_table[0];
    r.jail_days = 0x80;
    r.y = 250; // behind the bars beside square 3
    turn_start_countdowns(0);
    EXPECT_EQ(r.jail_days, 0);
    ASSERT_NE(r.control & CTRL_STEPPING, 0);
    turn_take_step();
    EXPECT_EQ(actor_anim_table[0].phase, PHASE_MOVING);
    ASSERT_GT(ticks_until_next_mover(), 0);
    EXPECT_EQ(game_active_mover, 0);
    EXPECT_EQ(r.control, CTRL_COMPUTER);
    EXPECT_EQ(r.y, 320);
}

TEST_F(Turn, AHeldPlayerLosesItsTurnAfterThreeTicks) {
    player_table[0].jail_days = 2;
    turn_take_step();
    EXPECT_EQ(actor_anim_table[0].wait, 0x83);
    EXPECT_EQ(ticks_until_next_mover(), 3);
    EXPECT_EQ(game_active_mover, 1);
}

TEST_F(Turn, ASeatNotYetOnTheBoardEntersOnceOnAFreeSquare) {
    map_square_table[5].flags &= ~SQF_TYPE_MASK; // a property square is never chosen
    PlayerRecord& r = player_table[1];
    map_square_table[7].flags &= ~sqf_player(1);
    r = PlayerRecord{};
    r.setup_control = CTRL_COMPUTER;
    r.dice = 1;
    game_active_mover = 1;
    turn_take_step();
    EXPECT_EQ(r.control, CTRL_COMPUTER);
    ASSERT_NE(r.square, 0);
    EXPECT_NE(r.square, 5);
    EXPECT_EQ(r.x, map_square_table[r.square].x);
    EXPECT_NE(map_square_table[r.square].flags & sqf_player(1), 0u);
    EXPECT_EQ(turn_pending_entry, 0);
    int placed = 0;
    for (int i = 1; i <= map_square_count; ++i)
        if (map_square_table[i].flags & sqf_player(1)) ++placed;
    EXPECT_EQ(placed, 1);
    EXPECT_EQ(actor_anim_table[1].phase, PHASE_DICE); // and it plays its first turn
}

TEST_F(Turn, RazingABuiltPlotWithoutOwnerRaisesNoGrudge) {
    for (int owner : {0, 2}) {
        SetUp();
        map_square_table[3].object = OBJ_LOT_BASE + 1;
        map_square_table[3].flags &= ~SQF_TYPE_MASK;
        map_lot_table[1].level = 3;
        map_lot_table[1].owner = Owner{static_cast<uint8_t>(owner)};
        map_lot_table[1].x = 480;
        map_lot_table[1].y = 250;
        player_table[0].travel = TRAVEL_FRESH_CONSTRUCTION;
        player_table[0].facing = 2;
        actor_anim_table[0].phase = PHASE_RAZE;
        actor_anim_table[0].frame = 0;
        turn_running = 1;
        int ticks = 0;
        while (actor_anim_table[0].phase == PHASE_RAZE && ticks < 200) {
            turn_tick();
            ++ticks;
        }
        EXPECT_EQ(actor_anim_table[0].phase, PHASE_WAIT);
        EXPECT_EQ(map_lot_table[1].level, 0);
        EXPECT_EQ(map_lot_table[1].owner, owner);
        EXPECT_EQ(player_table[0].facing, 2);
        for (int p = 0; p < PLAYER_COUNT; ++p)
            for (int q = 0; q < PLAYER_COUNT; ++q)
                EXPECT_EQ(player_table[p].grudge[q], (owner == 2 && p == 1 && q == 0) ? 30 : 0);
    }
}

TEST_F(Turn, ToolbarCommandsRunOnlyForAFreeHumanWaitingForItsGo) {
    player_table[0].control = CTRL_HUMAN;
    EXPECT_EQ(turn_can_act(), 1);
    player_table[0].sleepwalk_days = 2;
    EXPECT_EQ(turn_can_act(), 0);
    EXPECT_NE(actor_anim_table[0].flags & ANIM_NEEDS_STEP, 0);
    player_table[0].sleepwalk_days = 0;
    actor_anim_table[0].phase = PHASE_MOVING;
    EXPECT_EQ(turn_can_act(), 0);
}

TEST_F(Turn, GodsFlyOnEveryTickAndTheRobotDollLandsOnlyOnceNoneFlies) {
    god_place(GK_CHEST, 5, 0, 0);
    god_start_wander(GK_CHEST, 5, 4);
    ASSERT_EQ(god_none_flying(), 0);
    const float start_x = god_table[GK_CHEST].fx;
    turn_running = 0; // no turn machine runs: the flight still moves
    turn_tick();
    EXPECT_NE(god_table[GK_CHEST].fx, start_x);

    WalkerRecord& doll = walker_of_mover(MOVER_ROBOT_DOLL);
    doll.place = WALKER_FREE;
    doll.square = 5;
    doll.patron = 0;
    game_active_mover = MOVER_ROBOT_DOLL;
    actor_anim_table[MOVER_ROBOT_DOLL].phase = PHASE_WAIT;
    actor_anim_table[MOVER_ROBOT_DOLL].wait = 1;
    turn_running = 1;
    int ticks = 0;
    while (!god_none_flying() && ticks < 500) {
        turn_tick();
        ++ticks;
        if (!god_none_flying()) {
            ASSERT_EQ(actor_anim_table[MOVER_ROBOT_DOLL].wait, 1) << ticks;
        }
    }
    ASSERT_EQ(god_none_flying(), 1);
    if (actor_anim_table[MOVER_ROBOT_DOLL].wait == 1) turn_tick(); // the flight ended on that tick
    EXPECT_NE(actor_anim_table[MOVER_ROBOT_DOLL].wait, 1);         // it has landed
}

TEST_F(Turn, AFreeWandererWalksTwoToTenSteps) {
    WalkerRecord& w = walker_of_mover(MOVER_SPY);
    w.place = WALKER_FREE;
    w.square = 2;
    w.prev_square = 1;
    w.x = 320;
    w.y = 320;
    game_active_mover = MOVER_SPY;
    turn_take_step();
    EXPECT_EQ(actor_anim_table[MOVER_SPY].phase, PHASE_MOVING);
    EXPECT_GE(move_steps_left, 2);
    EXPECT_LE(move_steps_left, 10);
    w.stay_days = 1;
    actor_anim_table[MOVER_SPY].phase = PHASE_WAIT;
    turn_begin_move();
    EXPECT_EQ(actor_anim_table[MOVER_SPY].wait, 0x82);
}

} // namespace
