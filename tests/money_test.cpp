#include "board/money.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "shell/screen.h"
#include "support/test_board.h"

namespace {

// Every yuan of the game that a payment can reach.
int64_t money_in_game() {
    int64_t sum = lotto_jackpot;
    for (const PlayerRecord& p : player_table)
        sum += int64_t{p.cash} + p.deposit;
    for (int i = 1; i <= map_company_count; ++i)
        sum += map_company_table[i].earnings;
    return sum;
}

class MoneyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        screen_depth = 0;
        ASSERT_TRUE(test_board_load());
        game_player_count = 4;
        for (int p = 0; p < 4; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].square = static_cast<uint16_t>(p + 1);
        }
        game_active_mover = 0;
    }
    void TearDown() override { game_world_reset(); }
};

struct PayCase {
    int32_t cash, deposit, amount;
    uint32_t flags;
    int32_t cash_after, deposit_after, paid;
    bool bankrupt;
};

class MoneyPayAccounts : public MoneyTest, public ::testing::WithParamInterface<PayCase> {};

TEST_P(MoneyPayAccounts, TakesFromTheRightAccountAndCutsTheShortfall) {
    const PayCase& c = GetParam();
    player_table[1].cash = c.cash;
    player_table[1].deposit = c.deposit;
    player_table[2].deposit = 100;
    ASSERT_TRUE(money_pay(1, 2, c.amount, c.flags));
    if (c.bankrupt) {
        EXPECT_EQ(player_table[1].control, CTRL_OUT);
        EXPECT_EQ(money_audit().bankruptcies, 1);
    } else {
        EXPECT_EQ(player_table[1].control, CTRL_COMPUTER);
    }
    EXPECT_EQ(player_table[1].cash, c.cash_after);
    EXPECT_EQ(player_table[1].deposit, c.deposit_after);
    EXPECT_EQ(player_table[1].paid_month, c.paid);
    // The payee gets only what was there, into his deposit (flags bit 0 clear).
    EXPECT_EQ(player_table[2].deposit, 100 + c.paid);
    EXPECT_EQ(player_table[2].cash, 0);
    EXPECT_EQ(player_table[2].received_month, c.paid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoneyPayAccounts,
    ::testing::Values(PayCase{300, 200, 1000, 0, 0, 0, 500, true},
                      PayCase{300, 2000, 1000, 0, 0, 1300, 1000, false},
                      PayCase{300, 2000, 1000, MONEY_DEPOSIT_FIRST, 300, 1000, 1000, false},
                      PayCase{300, 200, 1000, MONEY_DEPOSIT_FIRST, 0, 0, 500, true},
                      PayCase{500, 0, 500, 0, 0, 0, 500, false},
                      PayCase{0, 500, 500, 0, 0, 0, 500, false}, PayCase{0, 0, 1, 0, 0, 0, 0, true},
                      PayCase{700, 50, 0, 0, 700, 50, 0, false}));

TEST_F(MoneyTest, PayeeCashFlagAndMonthlyCountersAddUp) {
    player_table[0].cash = 10000;
    ASSERT_TRUE(money_pay(0, 3, 1200, MONEY_INTO_CASH));
    ASSERT_TRUE(money_pay(0, 3, 800, 0));
    EXPECT_EQ(player_table[3].cash, 1200);
    EXPECT_EQ(player_table[3].deposit, 800);
    EXPECT_EQ(player_table[3].received_month, 2000);
    EXPECT_EQ(player_table[0].paid_month, 2000);
    EXPECT_EQ(player_table[0].cash, 8000);
}

TEST_F(MoneyTest, JackpotTakesPaymentsAndIgnoresTheCashFlag) {
    lotto_jackpot = 5000;
    player_table[2].cash = 3000;
    ASSERT_TRUE(money_pay(2, PARTY_JACKPOT, 1000, MONEY_INTO_CASH));
    EXPECT_EQ(lotto_jackpot, 6000);
    EXPECT_EQ(player_table[2].cash, 2000);
    for (int p : {0, 1, 3}) {
        EXPECT_EQ(player_table[p].cash, 0);
        EXPECT_EQ(player_table[p].deposit, 0);
        EXPECT_EQ(player_table[p].received_month, 0);
    }
}

TEST_F(MoneyTest, CompaniesPayWithoutLimitAndEarnIntoBothFields) {
    map_company_table[3].earnings = 100;
    map_company_table[3].earnings_total = 400;
    ASSERT_TRUE(money_pay(103, 1, 1000, MONEY_INTO_CASH));
    EXPECT_EQ(map_company_table[3].earnings, -900);
    EXPECT_EQ(map_company_table[3].earnings_total, -600);
    EXPECT_EQ(player_table[1].cash, 1000);
    EXPECT_EQ(player_table[1].received_month, 1000);

    player_table[1].cash = 700;
    ASSERT_TRUE(money_pay(1, 101, 700, 0));
    EXPECT_EQ(map_company_table[1].earnings, 700);
    EXPECT_EQ(map_company_table[1].earnings_total, 700);
    EXPECT_EQ(map_company_table[2].earnings, 0);
}

TEST_F(MoneyTest, UnknownPartiesAndNegativeAmountsAreRefused) {
    player_table[0].cash = 5000;
    lotto_jackpot = 100;
    struct Bad {
        int32_t payer, payee, amount;
    };
    const Bad cases[] = {
        {-1, 0, 10}, // the jackpot never pays
        {-2, 0, 10},
        {4, 0, 10},
        {0, 4, 10},
        {0, -2, 10},
        {100, 0, 10},
        {0, 100, 10},
        {104, 0, 10},
        {0, 104, 10},
        {50, 0, 10},
        {0, 0x7FFFFFFF, 10},
        {0, 1, -1}, // a negative amount would move money
                    // backwards
        {101, 0, -500},
    };
    const int64_t before = money_in_game();
    for (const Bad& b : cases) {
        EXPECT_FALSE(money_pay(b.payer, b.payee, b.amount, 0)) << b.payer << " -> " << b.payee;
    }
    EXPECT_EQ(money_in_game(), before);
    EXPECT_EQ(player_table[0].cash, 5000);
    EXPECT_EQ(player_table[0].paid_month, 0);
    EXPECT_EQ(money_audit().refused, static_cast<int64_t>(std::size(cases)));
    EXPECT_EQ(money_audit().payments, 0);

    EXPECT_FALSE(money_credit(4, 10, 0));
    EXPECT_FALSE(money_credit(-1, 10, 0));
    EXPECT_FALSE(money_credit(0, -10, 0));
    EXPECT_EQ(player_table[0].cash, 5000);
    EXPECT_EQ(player_table[0].received_month, 0);
}

TEST_F(MoneyTest, CompanyPartiesFollowTheMapsBuildings) {
    ASSERT_TRUE(test_board_load(TestBoardSize{8, 6, 2, 1, 2}));
    EXPECT_TRUE(money_party_valid(101, false));
    EXPECT_FALSE(money_party_valid(102, true));
    map_reset();
    EXPECT_FALSE(money_party_valid(101, true));
    EXPECT_TRUE(money_party_valid(3, false));
    EXPECT_TRUE(money_party_valid(PARTY_JACKPOT, true));
    EXPECT_FALSE(money_party_valid(PARTY_JACKPOT, false));
}

// Every kind of payer and payee: what leaves one account arrives in the other.
struct Transfer {
    int32_t payer, payee, amount;
    uint32_t flags;
};

class MoneyConservation : public MoneyTest, public ::testing::WithParamInterface<Transfer> {};

TEST_P(MoneyConservation, PaymentsNeitherCreateNorDestroyMoney) {
    const Transfer& t = GetParam();
    player_table[0].cash = 1500;
    player_table[0].deposit = 2500;
    player_table[1].cash = 40;
    player_table[1].deposit = 10; // goes bankrupt on anything above 50
    player_table[2].cash = 900;
    map_company_table[1].earnings = 300;
    map_company_table[2].earnings = -50;
    lotto_jackpot = 1234;
    const int64_t before = money_in_game();
    ASSERT_TRUE(money_pay(t.payer, t.payee, t.amount, t.flags));
    EXPECT_EQ(money_in_game(), before);
    EXPECT_EQ(money_audit().taken, money_audit().given);
    EXPECT_EQ(money_audit().mismatches, 0);
    for (const PlayerRecord& p : player_table) {
        EXPECT_GE(p.cash, 0);
        EXPECT_GE(p.deposit, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    PartyKinds, MoneyConservation,
    ::testing::Values(Transfer{0, 2, 3000, 0},
                      Transfer{0, 2, 3000, MONEY_DEPOSIT_FIRST | MONEY_INTO_CASH},
                      Transfer{0, 102, 2000, 0}, Transfer{0, PARTY_JACKPOT, 4000, 0},
                      Transfer{101, 0, 5000, MONEY_INTO_CASH}, Transfer{102, 101, 700, 0},
                      Transfer{103, PARTY_JACKPOT, 10, 0}, Transfer{1, 0, 5000, 0},
                      Transfer{1, 103, 5000, 0}, Transfer{1, PARTY_JACKPOT, 5000, 0},
                      Transfer{2, 2, 600, MONEY_INTO_CASH}));

TEST_F(MoneyTest, CreditGoesToTheChosenAccountAndCountsAsReceived) {
    ASSERT_TRUE(money_credit(2, 800, MONEY_INTO_CASH));
    ASSERT_TRUE(money_credit(2, 200, 0));
    EXPECT_EQ(player_table[2].cash, 800);
    EXPECT_EQ(player_table[2].deposit, 200);
    EXPECT_EQ(player_table[2].received_month, 1000);
    EXPECT_EQ(money_audit().credited, 1000);
}

TEST_F(MoneyTest, OnlyTheCurrentMoversPaymentsRedrawTheSidePanel) {
    player_table[1].cash = 1000;
    game_active_mover = 0;
    screen_depth = 1;
    money_pay(1, 0, 10, 0); // not the current mover
    EXPECT_EQ(money_audit().panel_refreshes, 0);
    game_active_mover = 1;
    money_pay(1, 0, 10, 0);
    EXPECT_EQ(money_audit().panel_refreshes, 1);
    money_credit(0, 10, 0); // the payee's panel is never redrawn by a credit to another
    EXPECT_EQ(money_audit().panel_refreshes, 1);
    money_credit(1, 10, 0);
    EXPECT_EQ(money_audit().panel_refreshes, 2);
    screen_depth = 2; // a modal screen over the board
    money_credit(1, 10, 0);
    money_pay(1, 0, 10, 0);
    EXPECT_EQ(money_audit().panel_refreshes, 2);
    EXPECT_EQ(game_active_mover, 1);
}

TEST_F(MoneyTest, PointsSaturateInsteadOfWrapping) {
    player_table[0].points = 65500;
    EXPECT_EQ(player_add_points(0, 50), 65535);
    EXPECT_EQ(player_add_points(0, 500), 65535);
    EXPECT_EQ(player_add_points(0, -535), 65000);
    player_table[1].points = 20;
    EXPECT_EQ(player_add_points(1, -50), 0);
    EXPECT_EQ(player_table[1].points, 0);
    EXPECT_EQ(player_add_points(7, 10), 0);
}

} // namespace
