// The runner's games with items: computer players holding every item use
// them, and the items' invariants hold after every day.
#include <gtest/gtest.h>

#include <string>

#include "board/game_state.h"
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

} // namespace
