// The runner's games with the lottery and auctions: computers buy numbers
// and the 15th draws them; a property picked from the test's own seed is
// auctioned every tenth day from the daily callback; the lottery's and the
// auctions' checks hold after every day.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "finance/auction.h"
#include "finance/lottery.h"
#include "runner_game.h"

namespace {

std::string first_broken;
std::mt19937 picker;
int seeded_auctions = 0;

void note(const std::string& broken) {
    if (first_broken.empty() && !broken.empty())
        first_broken = "day " + std::to_string(game_days_elapsed) + ": " + broken;
}

void auction_every_tenth_day(void*) {
    note(runner_lottery_check());
    note(runner_auction_check());
    if (game_days_elapsed % 10 != 0 || game_end_code) return;
    const int plots = map_lot_count, facilities = map_facility_count;
    const int k = static_cast<int>(picker() % static_cast<uint32_t>(plots + facilities));
    const int object = k < plots ? OBJ_LOT_BASE + 1 + k : OBJ_FACILITY_BASE + 1 + (k - plots);
    const LandLot* lot = map_lot(object);
    const int owner = lot ? lot->owner : map_facility(object)->owner;
    // The owner sells its own; nobody's goes for the jackpot.
    auction_run(owner != OWNER_NONE ? seat_of_owner(owner) : -1, object, 1);
    ++seeded_auctions;
    note(runner_auction_check());
}

class RunnerFinance : public ::testing::Test {
  protected:
    void TearDown() override {
        lotto_set_observer(nullptr);
        auction_set_observer(nullptr);
        runner_close();
    }
};

TEST_F(RunnerFinance, GamesBuyNumbersDrawThemAndAuctionSeededPropertiesWithEveryCheckHolding) {
    RunnerLottoCounts lotto;
    RunnerAuctionCounts auctions;
    for (uint32_t seed : {21u, 22u}) {
        RunnerOptions o;
        o.seed = seed;
        o.map = static_cast<int>(seed % 4);
        o.players = 4;
        o.days = 100;
        o.land_term = 3;
        std::string error;
        ASSERT_TRUE(runner_setup(o, &error)) << error;
        first_broken.clear();
        picker.seed(seed);
        seeded_auctions = 0;
        runner_watch_lottery();
        runner_watch_auctions();
        const RunnerResult result = runner_play(o, auction_every_tenth_day, nullptr);
        EXPECT_EQ(result.stop, RUNNER_ENDED);
        EXPECT_GT(result.days, 40);
        EXPECT_EQ(first_broken, "") << "seed " << seed;
        EXPECT_GE(seeded_auctions, result.days / 10 - 1) << "seed " << seed;
        const RunnerLottoCounts l = runner_lottery_counts();
        const RunnerAuctionCounts a = runner_auction_counts();
        lotto.sales += l.sales;
        lotto.draws += l.draws;
        lotto.hits += l.hits;
        auctions.auctions += a.auctions;
        auctions.sold += a.sold;
        EXPECT_GE(a.auctions, seeded_auctions);
        runner_close();
    }
    EXPECT_GT(lotto.sales, 0);
    EXPECT_GT(lotto.draws, 0);
    EXPECT_GT(auctions.sold, 0) << "computers buy at auction";
    EXPECT_LT(auctions.sold, auctions.auctions) << "and some auctions go void";
}

TEST_F(RunnerFinance, TheLotteryCheckCountsASaleShowsTheNumbersAndNamesAnOwnerOutOfTheGame) {
    RunnerOptions o;
    o.seed = 3;
    o.players = 3;
    o.days = 5;
    std::string error;
    ASSERT_TRUE(runner_setup(o, &error)) << error;
    runner_watch_lottery();
    ASSERT_EQ(runner_lottery_check(), "");
    for (int p = 0; p < 3; ++p)
        player_table[p].control = CTRL_COMPUTER; // on the board, as after the first turn
    player_table[1].cash = 5000;
    ASSERT_TRUE(lotto_buy(1, 7));
    ASSERT_TRUE(lotto_buy(1, 12));
    EXPECT_EQ(runner_lottery_check(), "");
    EXPECT_EQ(runner_lottery_counts().sales, 2);
    EXPECT_EQ(runner_lottery_columns(), " | L - / 7,12 / -");
    // A number owned by a seat beyond the game, then by a player who left.
    lotto_owners[3] = owner_of_seat(3);
    EXPECT_EQ(runner_lottery_check(), "lottery owners out of range");
    lotto_owners[3] = owner_of_seat(2);
    player_table[2].control = CTRL_OUT;
    EXPECT_EQ(runner_lottery_check(), "lottery number 4 owned by player 2, out of the game");
}

} // namespace
