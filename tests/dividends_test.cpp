// The dividends of the 15th: split by shares, paid into the deposit, and the
// period's earnings cleared only when someone in the game holds the stock.
#include "finance/dividends.h"
#include "support/stock_world.h"

namespace {

using DividendsTest = StockWorld;

TEST_F(DividendsTest, EarningsSplitByShareAndPaidIntoTheDeposit) {
    companies[1].earnings = 10000;
    stock_holdings[0][0].shares = 300;
    stock_holdings[1][0].shares = 100;
    companies[3].earnings = 1000; // three equal holders: truncated shares
    for (int p = 0; p < 3; ++p)
        stock_holdings[p][2].shares = 50;
    const StockDividends d = stock_pay_dividends();
    EXPECT_TRUE(d.linked[0]);
    EXPECT_FALSE(d.linked[3]);
    EXPECT_EQ(d.earnings[0], 10000);
    EXPECT_EQ(d.amount[0][0], 7500);
    EXPECT_EQ(d.amount[0][1], 2500);
    EXPECT_EQ(d.amount[2][0], 333);
    EXPECT_EQ(d.amount[2][2], 333);
    EXPECT_EQ(d.total[0], 7833);
    EXPECT_EQ(player_table[0].deposit, 7833);
    EXPECT_EQ(player_table[1].deposit, 2833);
    EXPECT_EQ(player_table[2].deposit, 333);
    EXPECT_EQ(player_table[0].cash, 0);
    EXPECT_EQ(companies[1].earnings, 0);
    EXPECT_EQ(companies[3].earnings, 0);
}

TEST_F(DividendsTest, UnheldEarningsKeepAccumulating) {
    companies[2].earnings = 5000;
    const StockDividends d = stock_pay_dividends();
    EXPECT_EQ(d.earnings[1], 5000);
    EXPECT_EQ(d.total[0], 0);
    EXPECT_EQ(companies[2].earnings, 5000);
}

TEST_F(DividendsTest, BankruptHolderIsSkipped) {
    companies[1].earnings = 9000;
    stock_holdings[3][0].shares = 600; // gone bankrupt
    stock_holdings[0][0].shares = 300;
    companies[2].earnings = 4000;
    stock_holdings[3][1].shares = 100; // the only holder is out of the game
    player_table[3].control = 0;
    const StockDividends d = stock_pay_dividends();
    EXPECT_EQ(d.amount[0][0], 9000);
    EXPECT_EQ(d.amount[0][3], 0);
    EXPECT_EQ(player_table[3].deposit, 0);
    EXPECT_EQ(companies[1].earnings, 0);
    EXPECT_EQ(companies[2].earnings, 4000);
}

TEST_F(DividendsTest, LossesPayNothingButClearThePeriod) {
    companies[1].earnings = -3000;
    stock_holdings[2][0].shares = 100;
    const StockDividends d = stock_pay_dividends();
    EXPECT_EQ(d.amount[0][2], -3000);
    EXPECT_EQ(player_table[2].deposit, 0);
    EXPECT_EQ(player_table[2].cash, 0);
    EXPECT_EQ(companies[1].earnings, 0);
    // Computing alone moves no money.
    companies[1].earnings = 800;
    const StockDividends shown = stock_compute_dividends();
    EXPECT_EQ(shown.amount[0][2], 800);
    EXPECT_EQ(player_table[2].deposit, 0);
}

} // namespace
