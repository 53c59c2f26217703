// The runner's games with items: computer players holding every item use
// them, and the items' invariants hold after every day.
#include <gtest/gtest.h>

#include <string>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "cards/cards.h"
#include "cards/item_use.h"
#include "runner_game.h"

namespace {

std::string first_broken;

void check_items(void*) {
    const std::string broken = runner_item_check();
    if (first_broken.empty() && !broken.empty())
        first_broken = "day " + std::to_string(game_days_elapsed) + ": " + broken;
}

class RunnerItems : public ::testing::Test {
  protected:
    void TearDown() override {
        item_set_observer(nullptr);
        runner_close();
    }
};

TEST_F(RunnerItems, PlayersHoldingEveryItemUseThemAndEveryCopyStaysInTheGame) {
    int used[ITEM_DISMOUNT + 1] = {};
    for (uint32_t seed : {11u, 12u, 13u}) {
        RunnerOptions o;
        o.seed = seed;
        o.map = static_cast<int>(seed % 4);
        o.players = 4;
        o.days = 120;
        std::string error;
        ASSERT_TRUE(runner_setup(o, &error)) << error;
        for (int p = 0; p < o.players; ++p)
            for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
                for (int k = 0; k < 2; ++k)
                    item_add(p, n);
        // Built plots nobody owns, for the teleporter to go to.
        for (int i = 1; i <= map_lot_count; i += 3)
            map_lot_table[i].level = 3;
        first_broken.clear();
        runner_watch_items();
        ASSERT_EQ(runner_item_check(), "");
        const RunnerResult result = runner_play(o, check_items, nullptr);
        EXPECT_EQ(result.stop, RUNNER_ENDED);
        EXPECT_GT(result.days, 20);
        EXPECT_EQ(first_broken, "") << "seed " << seed;
        for (int n = 1; n <= ITEM_DISMOUNT; ++n)
            used[n] += runner_items_used(n);
        runner_close();
    }
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n) {
        if (n == ITEM_TIME_MACHINE)
            EXPECT_EQ(used[n], 0) << "a computer never tries the time machine";
        else
            EXPECT_GT(used[n], 0) << "item " << n;
    }
}

TEST_F(RunnerItems, TheItemCheckNamesALostCopyATenthCountAndAFilledSpareByte) {
    RunnerOptions o;
    o.seed = 4;
    o.players = 2;
    o.days = 5;
    std::string error;
    ASSERT_TRUE(runner_setup(o, &error)) << error;
    runner_watch_items();
    ASSERT_EQ(runner_item_check(), "");
    --item_stock[ITEM_MINE - 1];
    EXPECT_EQ(runner_item_check(), "item 3 has 9 copies in the game, not 10");
    ++item_stock[ITEM_MINE - 1];
    // A ridden car is one of the ten.
    --item_stock[ITEM_CAR - 1];
    player_table[1].travel = TRAVEL_CAR;
    EXPECT_EQ(runner_item_check(), "");
    player_items[1][ITEM_TELEPORTER - 1] = 10;
    EXPECT_EQ(runner_item_check(), "player 1 holds 10 of item 11");
    player_items[1][ITEM_TELEPORTER - 1] = 0;
    player_items[0][14] = 1;
    EXPECT_EQ(runner_item_check(), "player 0's item row has 1 in byte 14");
    player_items[0][14] = 0;
    // A placed roadblock counts as its copy.
    ASSERT_GE(player_items[0][ITEM_ROADBLOCK - 1], 1);
    --player_items[0][ITEM_ROADBLOCK - 1];
    ASSERT_NE(god_place(GK_ROADBLOCK, 1, 0, 0), 0);
    EXPECT_EQ(runner_item_check(), "");
}

} // namespace
