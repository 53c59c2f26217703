// The month-end settlement: the bonus, the two awards, the counters' reset
// and the steps the screen takes with no display.
#include "finance/settlement.h"

#include <climits>

#include "engine/music.h"
#include "engine/shown.h"
#include "finance/settlement_screen.h"
#include "shell/settings.h"
#include "support/stock_world.h"

namespace {

class SettlementTest : public StockWorld {
  protected:
    void SetUp() override {
        StockWorld::SetUp();
        game_price_index = 1;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            player_table[p].character = static_cast<uint8_t>(3 * p);
        settings_set_animations(1);
        shown_clear();
    }
    void TearDown() override {
        settle_set_observer(nullptr);
        StockWorld::TearDown();
    }
    // Sets the unluckiest scores through the money paid this month.
    static void scores(std::initializer_list<int32_t> s) {
        int p = 0;
        for (int32_t v : s)
            player_table[p++].paid_month = v;
    }
};

TEST_F(SettlementTest, TheBonusGoesToDepositsWithoutALoanOfAnySize) {
    const struct {
        int32_t deposit, loan, after;
    } cases[] = {
        {999, 0, 1098},           {1000, 1, 1000}, {0, 0, 0}, {INT32_MAX, 0, INT32_MAX},
        {500000, 200000, 500000},
    };
    for (const auto& c : cases) {
        player_table[1].deposit = c.deposit;
        player_table[1].loan = c.loan;
        EXPECT_EQ(settle_interest(1), c.deposit / 10);
        settle_pay_bonus();
        EXPECT_EQ(player_table[1].deposit, c.after) << c.deposit << " with a loan of " << c.loan;
    }
    // Only players in the game.
    player_table[2].control = 0;
    player_table[2].deposit = 1000;
    settle_pay_bonus();
    EXPECT_EQ(player_table[2].deposit, 1000);
}

TEST_F(SettlementTest, TheUnluckiestNeedsAClearLeadOverTheNextLowerScore) {
    const struct {
        std::vector<int32_t> s;
        int who;
    } cases[] = {
        {{10000, 5000, 0, 0}, 0},    {{10000, 6000, 0, 0}, -1}, // a lead of exactly 40 %
        {{0, 8000, 0, 0}, -1},                                  // one positive score alone
        {{-5, 7000, 7000, 3000}, 1}, // tied best against the next: the first wins
        {{7000, 7000, 0, 0}, -1},    // tied best and nothing below
        {{0, 0, 0, 0}, -1},          {{-100, -50, 0, 0}, -1},   {{INT32_MAX, INT32_MIN, 1, 0}, 0},
    };
    for (const auto& c : cases) {
        for (int p = 0; p < 4; ++p)
            player_table[p].paid_month = c.s[p];
        EXPECT_EQ(settle_pick_unluckiest(), c.who) << c.s[0] << " " << c.s[1] << " " << c.s[2];
    }
}

TEST_F(SettlementTest, TheScoreAddsDaysLostAtTheIndexAndTheIllFortuneWeightIn64Bits) {
    PlayerRecord& r = player_table[2];
    r.paid_month = 3000;
    r.received_month = 1000;
    r.days_lost_month = 4;
    r.ill_fortune = -7;
    game_price_index = 3;
    EXPECT_EQ(settle_unluck_score(2), 3000 - 1000 + 4 * 3 * 2500 - 70);
    r.paid_month = INT32_MAX;
    r.received_month = INT32_MIN;
    r.days_lost_month = 255;
    game_price_index = INT32_MAX;
    EXPECT_EQ(settle_unluck_score(2),
              int64_t{INT32_MAX} - INT32_MIN + 255 * 2500 * int64_t{INT32_MAX} - 70);
}

TEST_F(SettlementTest, TheChampionHasTheLargestTotalFirstOnTiesOrIsTheFirstListed) {
    player_table[0].control = 0;
    const struct {
        std::vector<int32_t> cash;
        int index;
    } cases[] = {
        {{0, 100, 300, 300}, 1}, // seats 2 and 3 tie: the first listed of them (index 1)
        {{0, 500, 300, 100}, 0},
        {{0, 0, -5, 0}, 0},
    };
    for (const auto& c : cases) {
        for (int p = 0; p < 4; ++p)
            player_table[p].cash = c.cash[p];
        EXPECT_EQ(settle_pick_champion(), c.index);
    }
}

TEST_F(SettlementTest, TheMonthEndPaysBeforeTheAwardsAnnouncesThemAndResetsTheCounters) {
    player_table[0].deposit = 999;
    player_table[1].loan = 1;
    player_table[1].deposit = 5000;
    player_table[3].cash = 100000;
    scores({10000, 5000, 0, 0});
    player_table[0].days_lost_month = 0;
    player_table[2].received_month = 300;
    player_table[2].days_lost_month = 2;
    static SettleReport seen;
    settle_set_observer([](const SettleReport& r) { seen = r; });
    settle_monthly();
    EXPECT_EQ(player_table[0].deposit, 1098);
    EXPECT_EQ(player_table[1].deposit, 5000);
    EXPECT_EQ(seen.deposit_before[0], 999);
    EXPECT_EQ(seen.deposit_after[0], 1098);
    EXPECT_EQ(seen.unluckiest, 0);
    EXPECT_EQ(seen.champion, 3);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(player_table[p].paid_month, 0);
        EXPECT_EQ(player_table[p].received_month, 0);
        EXPECT_EQ(player_table[p].days_lost_month, 0);
    }
    // Music 9 around the screen; the balloons, name lines and animations in order.
    EXPECT_EQ(shown_count(Shown::Music, 9), 1u);
    std::vector<std::string> balloons;
    std::vector<int> flcs;
    for (const ShownEvent& e : shown_log()) {
        if (e.kind == Shown::Balloon) balloons.push_back(e.text);
        if (e.kind == Shown::Flc) flcs.push_back(e.number);
    }
    char unlucky[32], champion[32];
    settle_name_line(SETTLE_UNLUCKY_VOICE, 0, unlucky, sizeof unlucky);
    settle_name_line(SETTLE_CHAMPION_VOICE, 9, champion, sizeof champion);
    ASSERT_EQ(balloons.size(), 8u);
    EXPECT_EQ(balloons[0].substr(0, 5), "#0092");
    EXPECT_EQ(balloons[1].substr(0, 5), "#0093");
    EXPECT_EQ(balloons[2].substr(0, 5), "#0095");
    EXPECT_EQ(balloons[3], unlucky);
    EXPECT_EQ(balloons[4].substr(0, 5), "#0108");
    EXPECT_EQ(balloons[5].substr(0, 5), "#0109");
    EXPECT_EQ(balloons[6], champion);
    EXPECT_EQ(balloons[7].substr(0, 5), "#0122");
    EXPECT_EQ(flcs, (std::vector<int>{settle_droop_flc(0), settle_cheer_flc(9)}));
    EXPECT_EQ(std::string(unlucky).substr(0, 5), "#0096");
    EXPECT_EQ(std::string(champion).substr(0, 5), "#0119");
}

TEST_F(SettlementTest, AChampionWhoIsAlsoUnluckiestIsAnnouncedOnlyOnce) {
    scores({10000, 1000, 0, 0});
    player_table[0].cash = 90000;
    settle_monthly();
    EXPECT_EQ(shown_find_text(Shown::Balloon, "#0095"), nullptr);
    ASSERT_NE(shown_find_text(Shown::Balloon, "#0109"), nullptr);
    EXPECT_EQ(shown_count(Shown::Flc), 1u);
    EXPECT_EQ(shown_count(Shown::Flc, settle_cheer_flc(0)), 1u);
}

TEST_F(SettlementTest, WithAnimationsOffTheBonusIsPaidAndTheCountersResetWithoutAwards) {
    settings_set_animations(0);
    player_table[2].deposit = 2000;
    scores({10000, 1000, 0, 0});
    settle_monthly();
    settings_set_animations(1);
    EXPECT_EQ(player_table[2].deposit, 2200);
    EXPECT_EQ(player_table[0].paid_month, 0);
    EXPECT_EQ(shown_count(Shown::Balloon), 0u);
    EXPECT_EQ(shown_count(Shown::Flc), 0u);
    EXPECT_EQ(shown_count(Shown::Music, 9), 1u);
}

} // namespace
