// The lottery's rules with nothing shown: computer and human ticket sales,
// the monthly draw, hits and misses, the ticket's hit test and the check of
// a saved owners' image.
#include "finance/lottery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "shell/settings.h"

namespace {

class Lottery : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        settings_set_animations(0);
        game_player_count = 4;
        for (int p = 0; p < 4; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].character = static_cast<uint8_t>(p + 3);
            player_table[p].cash = 20000;
        }
        game_srand(11);
        shown_clear();
    }
    void TearDown() override {
        lotto_set_observer(nullptr);
        settings_set_animations(0);
        game_world_reset();
    }
    static std::vector<std::string> balloons() {
        std::vector<std::string> out;
        for (const ShownEvent& e : shown_log())
            if (e.kind == Shown::Balloon) out.push_back(e.text);
        return out;
    }
    static int owned_by(int p) {
        return static_cast<int>(std::count(lotto_owners, lotto_owners + LOTTO_NUMBERS, p + 1));
    }
};

TEST_F(Lottery, AComputerBuysOneFreeNumberOnlyWithCashAboveAThousand) {
    struct Case {
        int32_t cash;
        bool buys;
    };
    for (const Case c : {Case{1000, false}, Case{1001, true}, Case{50000, true}}) {
        SetUp();
        game_active_mover = 2;
        player_table[2].cash = c.cash;
        lotto_jackpot = 300;
        for (int n = 1; n <= 30; ++n)
            lotto_owners[n - 1] = owner_of_seat(0); // six left: 31..36
        const uint32_t seed = game_rand_seed();
        lotto_visit();
        EXPECT_EQ(owned_by(2), c.buys ? 1 : 0) << c.cash;
        EXPECT_EQ(player_table[2].cash, c.buys ? c.cash - 1000 : c.cash);
        EXPECT_EQ(lotto_jackpot, c.buys ? 1300 : 300);
        EXPECT_EQ(player_table[2].paid_month, 0) << "the ticket is not a ledger payment";
        if (!c.buys) {
            EXPECT_EQ(game_rand_seed(), seed) << "no draw without a purchase";
            continue;
        }
        // The one bought is the (rand() % 6)-th free number.
        game_srand(seed);
        const int expected = 31 + game_rand() % 6;
        EXPECT_EQ(lotto_owners[expected - 1], 3);
        EXPECT_EQ(shown_count(Shown::Music), 0u) << "a computer's visit plays no music";
    }
    // Every number owned: nothing, no draw.
    std::fill(lotto_owners, lotto_owners + LOTTO_NUMBERS, owner_of_seat(0));
    const uint32_t seed = game_rand_seed();
    game_active_mover = 3;
    lotto_visit();
    EXPECT_EQ(game_rand_seed(), seed);
    EXPECT_EQ(owned_by(3), 0);
}

TEST_F(Lottery, AHumanPicksAFreeNumberAtTheTicketWindowOrLeaves) {
    struct Case {
        const char* what;
        int32_t cash;
        int answer; // -1: not asked
        bool buys;
        const char* last;
    };
    const Case cases[] = {
        {"a free number", 5000, 8, true, "#0014拜拜！祝您中奖！"},
        {"exactly 1000 may buy", 1000, 9, true, "#0014拜拜！祝您中奖！"},
        {"an owned number is refused", 5000, 1, false, "#0016下次再来吧！"},
        {"out of range is refused", 5000, 37, false, "#0016下次再来吧！"},
        {"leaving", 5000, 0, false, "#0016下次再来吧！"},
        {"too poor to be asked", 999, -1, false, "#0016下次再来吧！"},
    };
    for (const Case& c : cases) {
        SetUp();
        game_active_mover = 0;
        player_table[0].control = CTRL_HUMAN;
        player_table[0].cash = c.cash;
        lotto_owners[0] = owner_of_seat(1);
        if (c.answer >= 0) decision_script_push(c.answer);
        lotto_visit();
        EXPECT_EQ(decision_asked_count(), c.answer >= 0 ? 1 : 0) << c.what;
        if (c.answer >= 0) {
            EXPECT_EQ(decision_last_kind(), DECIDE_LOTTERY_NUMBER) << c.what;
        }
        EXPECT_EQ(owned_by(0), c.buys ? 1 : 0) << c.what;
        if (c.buys) {
            EXPECT_EQ(lotto_owners[c.answer - 1], 1) << c.what;
        }
        EXPECT_EQ(player_table[0].cash, c.buys ? c.cash - 1000 : c.cash) << c.what;
        EXPECT_EQ(lotto_jackpot, c.buys ? 1000 : 0) << c.what;
        ASSERT_FALSE(balloons().empty()) << c.what;
        EXPECT_EQ(balloons().back(), c.last) << c.what;
        EXPECT_EQ(shown_count(Shown::Music, 6), 1u) << c.what;
    }
    EXPECT_EQ(balloons().front(), "#0015太可惜了！\n您的现金不足～");
}

TEST_F(Lottery, GreetingsComeOnlyWithTheAnimationsOption) {
    game_active_mover = 1;
    player_table[1].control = CTRL_HUMAN;
    settings_set_animations(1);
    decision_script_push(0);
    lotto_visit();
    const std::vector<std::string> lines = balloons();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 5), "#0011");
    EXPECT_EQ(lines[1].substr(0, 5), "#0012");
    EXPECT_EQ(lines[2].substr(0, 5), "#0013");
    // A human handed over buys by the computer's rule, without the window.
    SetUp();
    game_active_mover = 1;
    player_table[1].control = CTRL_HUMAN | CTRL_COMPUTER | CTRL_HANDED_OVER;
    lotto_visit();
    EXPECT_EQ(owned_by(1), 1);
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_EQ(shown_count(Shown::Balloon), 0u);
}

TEST_F(Lottery, NoDrawAtAllWhileNobodyOwnsANumber) {
    lotto_jackpot = 9000;
    const uint32_t seed = game_rand_seed();
    lotto_monthly_draw();
    EXPECT_EQ(shown_log().size(), 0u) << "no window, no music";
    EXPECT_EQ(game_rand_seed(), seed);
    EXPECT_EQ(lotto_jackpot, 9000);
}

TEST_F(Lottery, AHitPaysTheWholeJackpotIntoCashAndFreesEveryNumber) {
    lotto_jackpot = 45000;
    for (int n = 1; n <= 11; ++n)
        lotto_owners[n - 1] = owner_of_seat(2); // more than ten: the draw hits an owned number
    lotto_owners[20] = owner_of_seat(0);
    player_table[2].received_month = 100;
    lotto_monthly_draw();
    const int32_t gain = player_table[2].cash - 20000;
    const int32_t other = player_table[0].cash - 20000;
    EXPECT_EQ(gain + other, 45000) << "one winner takes it all";
    EXPECT_TRUE(gain == 45000 || other == 45000);
    if (gain == 45000) {
        EXPECT_EQ(player_table[2].received_month, 45100) << "a windfall of the month";
    }
    EXPECT_EQ(lotto_jackpot, 0);
    EXPECT_EQ(lotto_free_count(), LOTTO_NUMBERS);
    EXPECT_EQ(shown_count(Shown::Music, 8), 1u);
    const std::vector<std::string> lines = balloons();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0].substr(0, 5), "#0017");
    EXPECT_EQ(lines[2].substr(0, 5), "#0019");
    EXPECT_EQ(lines.back(), "#0036行动要快喔！");
}

TEST_F(Lottery, AMissChangesNothingAndTheNumbersWaitForNextMonth) {
    // At most ten numbers each: the draw is rand() % 36 + 1 over all 36.
    for (uint32_t seed = 1; seed < 200; ++seed) {
        SetUp();
        for (int n = 1; n <= 10; ++n)
            lotto_owners[n - 1] = owner_of_seat(1);
        game_srand(seed);
        const int drawn = game_rand() % 36 + 1;
        if (drawn <= 10) continue;
        game_srand(seed);
        lotto_jackpot = 12000;
        lotto_monthly_draw();
        EXPECT_EQ(owned_by(1), 10);
        EXPECT_EQ(lotto_jackpot, 12000);
        EXPECT_EQ(player_table[1].cash, 20000);
        EXPECT_NE(std::find(balloons().begin(), balloons().end(),
                            std::string("#0033SORRY！\n本月份没有人\n得奖～")),
                  balloons().end());
        EXPECT_EQ(shown_count(Shown::Wait), 1u) << "half a second before the miss is told";
        return;
    }
    FAIL() << "no seed drew a free number";
}

TEST_F(Lottery, DrawnNumbersFollowTheOwnershipRule) {
    // All 36 owned: every draw hits.
    for (int n = 1; n <= 36; ++n)
        lotto_owners[n - 1] = Owner{static_cast<uint8_t>(1 + n % 4)};
    for (int k = 0; k < 50; ++k)
        EXPECT_NE(lotto_owner_of(lotto_draw_number()), -1);
    // One player with eleven: always one of the owned, uniformly in order.
    std::fill(lotto_owners, lotto_owners + LOTTO_NUMBERS, OWNER_NONE);
    const int owned[11] = {2, 3, 5, 8, 13, 17, 19, 23, 29, 31, 36};
    for (int n : owned)
        lotto_owners[n - 1] = owner_of_seat(3);
    for (uint32_t seed : {3u, 4u, 5u, 6u}) {
        game_srand(seed);
        const int k = game_rand() % 11;
        game_srand(seed);
        EXPECT_EQ(lotto_draw_number(), owned[k]);
    }
}

TEST_F(Lottery, OnlyTheNineByFourCellsOfTheTicketCount) {
    struct Case {
        int x, y, number;
    };
    const Case cases[] = {
        {30, 271, 1}, {93, 271, 1},   {94, 271, 2},  {605, 271, 9}, {606, 271, 0}, {30, 462, 28},
        {30, 463, 0}, {605, 462, 36}, {606, 463, 0}, {29, 300, 0},  {300, 270, 0}, {100, 330, 11},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lotto_cell_at(c.x, c.y), c.number) << c.x << "," << c.y;
}

TEST_F(Lottery, ASavedOwnersImageHoldsOnlyFreeNumbersOrSeatsInTheGame) {
    uint8_t owners[LOTTO_NUMBERS] = {};
    EXPECT_TRUE(lotto_owners_valid(owners, 2));
    owners[35] = 2;
    EXPECT_TRUE(lotto_owners_valid(owners, 2));
    owners[0] = 3;
    EXPECT_FALSE(lotto_owners_valid(owners, 2)) << "seat 2 in a two-player game";
    EXPECT_TRUE(lotto_owners_valid(owners, 3));
    owners[0] = 5;
    EXPECT_FALSE(lotto_owners_valid(owners, 4));
    owners[0] = 0xFF;
    EXPECT_FALSE(lotto_owners_valid(owners, 4));
    EXPECT_FALSE(lotto_owners_valid(nullptr, 4));
}

TEST_F(Lottery, TheObserverSeesEachSaleAndDrawBeforeAndAfter) {
    static std::vector<LottoEvent> events;
    events.clear();
    lotto_set_observer([](const LottoEvent& e) { events.push_back(e); });
    game_active_mover = 1;
    lotto_visit();
    lotto_monthly_draw();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, LOTTO_SALE);
    EXPECT_FALSE(events[0].after);
    EXPECT_EQ(events[1].player, 1);
    EXPECT_TRUE(events[1].after);
    EXPECT_EQ(events[2].kind, LOTTO_DRAW);
    EXPECT_GE(events[3].number, 1);
    EXPECT_LE(events[3].number, 36);
}

TEST_F(Lottery, WinnerLinesAreTheVoiceNumberAndTheName) {
    char line[48];
    lotto_winner_line(0, line, sizeof line);
    EXPECT_STREQ(line, "#0020柯伦恩");
    lotto_winner_line(11, line, sizeof line);
    EXPECT_STREQ(line, "#0031银宝宝");
}

} // namespace
