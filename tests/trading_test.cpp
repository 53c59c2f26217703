// Buying, selling, transfers and the top holders of a company.
#include <cstring>

#include "support/stock_world.h"

namespace {

using TradingTest = StockWorld;

TEST_F(TradingTest, MarketPurchaseKeepsTheAverageCost) {
    player_table[0].deposit = 100000;
    set_price(3, 10.0f, 10.0f);
    stock_buy(0, 3, 100, 1);
    set_price(3, 12.34f, 12.34f);
    stock_table[3].volume = 500;
    stock_buy(0, 3, 100, 1);
    const StockHolding& h = stock_holdings[0][3];
    EXPECT_EQ(h.shares, 200);
    EXPECT_FLOAT_EQ(h.avg_cost, 11.17f);
    EXPECT_EQ(player_table[0].deposit, 100000 - 1000 - 1234);
    EXPECT_EQ(stock_table[3].volume, 400);
    EXPECT_EQ(stock_table[3].market_shares, 9800);
    EXPECT_EQ(player_table[0].cash, 0);
}

TEST_F(TradingTest, SellingKeepsOrResetsTheAverageCost) {
    player_table[1].deposit = 50000;
    stock_buy(1, 4, 300, 1);
    const float avg = stock_holdings[1][4].avg_cost;
    set_price(4, 90.0f, 80.0f);
    const int32_t deposit = player_table[1].deposit;
    stock_sell(1, 4, 100, 1);
    EXPECT_EQ(stock_holdings[1][4].avg_cost, avg);
    EXPECT_EQ(player_table[1].deposit, deposit + 9000);
    stock_sell(1, 4, 200, 0); // forced: into the jackpot
    EXPECT_EQ(stock_holdings[1][4].shares, 0);
    EXPECT_EQ(stock_holdings[1][4].avg_cost, 0.0f);
    EXPECT_EQ(player_table[1].deposit, deposit + 9000);
    EXPECT_EQ(lotto_jackpot, 18000);
    EXPECT_EQ(stock_table[4].market_shares, 10000);
    stock_sell(1, 4, 1, 1); // more than held: refused
    EXPECT_EQ(stock_holdings[1][4].shares, 0);
}

TEST_F(TradingTest, CompanySharesCostTheValuePerShareInCash) {
    for (int32_t value : {250000, 259999}) {
        trading_reset();
        companies[2].value = value;
        companies[2].own_shares = 5000;
        player_table[2].cash = 10000;
        stock_buy(2, 1, 10, 0);
        EXPECT_EQ(player_table[2].cash, 10000 - 250) << value;
        EXPECT_EQ(stock_table[1].market_shares, 5000);
        EXPECT_EQ(companies[2].own_shares, 4990);
        EXPECT_FLOAT_EQ(stock_holdings[2][1].avg_cost, 25.0f);
    }
    stock_sell(2, 1, 10, 1);
    EXPECT_EQ(stock_table[1].market_shares, 5010); // the market takes them back
    EXPECT_EQ(shares_everywhere(1), 10000);
    player_table[2].cash = 10000;
    stock_buy(2, 4, 10, 0); // an unlinked stock has no company to sell
    EXPECT_EQ(stock_holdings[2][4].shares, 0);
    EXPECT_EQ(player_table[2].cash, 10000);
}

TEST_F(TradingTest, EqualHoldingsKeepTheFirstAheadAndChairman) {
    for (int p = 0; p < 3; ++p)
        player_table[p].deposit = 1000000;
    stock_buy(1, 0, 100, 1);
    EXPECT_EQ(companies[1].chairman, 2);
    stock_buy(2, 0, 100, 1);
    EXPECT_EQ(companies[1].chairman, 2);
    EXPECT_EQ(companies[1].holders[0], 2);
    EXPECT_EQ(companies[1].holders[1], 3);
    stock_buy(0, 0, 150, 1);
    EXPECT_EQ(stock_update_manager(0, 0), 0); // already ranked
    EXPECT_EQ(companies[1].chairman, 1);
    const uint8_t order[] = {1, 2, 3, 0};
    EXPECT_EQ(std::memcmp(companies[1].holders, order, 4), 0);
    stock_sell(2, 0, 50, 1);
    stock_buy(2, 0, 50, 1); // back to 100: behind the one who had 100 first
    EXPECT_EQ(companies[1].holders[1], 2);
    EXPECT_EQ(companies[1].holders[2], 3);
}

TEST_F(TradingTest, FullSaleHandsTheChairToTheNextHolder) {
    for (int p = 0; p < 2; ++p)
        player_table[p].deposit = 1000000;
    stock_buy(0, 2, 300, 1);
    stock_buy(1, 2, 200, 1);
    EXPECT_EQ(companies[3].chairman, 1);
    stock_sell(0, 2, 300, 1);
    EXPECT_EQ(companies[3].chairman, 2);
    EXPECT_EQ(companies[3].holders[0], 2);
    EXPECT_EQ(companies[3].holders[1], 0);
    stock_sell(1, 2, 200, 1);
    EXPECT_EQ(companies[3].chairman, 0);
    EXPECT_EQ(companies[3].holders[0], 0);
    EXPECT_EQ(stock_update_manager(0, 5), 0); // no building: nothing ranked
}

TEST_F(TradingTest, TransferMovesSharesAndReRanksBoth) {
    player_table[0].deposit = 1000000;
    player_table[1].deposit = 1000000;
    stock_buy(0, 0, 400, 1);
    stock_buy(1, 0, 100, 1);
    EXPECT_EQ(companies[1].chairman, 1);
    const int64_t market = stock_table[0].market_shares;
    EXPECT_EQ(stock_transfer(0, 1, 0, 300, 6000), 1);
    EXPECT_EQ(stock_holdings[0][0].shares, 100);
    EXPECT_EQ(stock_holdings[1][0].shares, 400);
    EXPECT_FLOAT_EQ(stock_holdings[1][0].avg_cost, (10000.0f + 6000.0f) / 400.0f);
    EXPECT_EQ(companies[1].chairman, 2);
    EXPECT_EQ(companies[1].holders[1], 1);
    EXPECT_EQ(stock_table[0].market_shares, market);
    EXPECT_EQ(stock_transfer(0, 1, 0, 101, 0), 0);
    EXPECT_EQ(stock_transfer(0, 0, 0, 10, 0), 0);
    EXPECT_EQ(stock_transfer(0, 1, 0, 100, 0), 1);
    EXPECT_EQ(stock_holdings[0][0].avg_cost, 0.0f);
    EXPECT_EQ(companies[1].holders[1], 0);
}

TEST_F(TradingTest, BankruptcySellsEverythingIntoTheJackpot) {
    player_table[3].deposit = 1000000;
    stock_buy(3, 0, 100, 1);
    stock_buy(3, 5, 200, 1);
    const int32_t deposit = player_table[3].deposit;
    stock_sell_all_bankrupt(3);
    EXPECT_EQ(stock_holdings[3][0].shares, 0);
    EXPECT_EQ(stock_holdings[3][5].shares, 0);
    EXPECT_EQ(player_table[3].deposit, deposit);
    EXPECT_EQ(lotto_jackpot, 100 * 100 + 200 * 60);
    EXPECT_EQ(companies[1].chairman, 0);
}

TEST_F(TradingTest, SharesAreConservedThroughEveryKindOfTrade) {
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p].deposit = 50000000;
        player_table[p].cash = 50000000;
    }
    game_srand(99);
    for (int step = 0; step < 3000; ++step) {
        const int p = game_rand() % PLAYER_COUNT;
        const int i = game_rand() % STOCK_COUNT;
        const int n = game_rand() % 400 + 1;
        switch (game_rand() % 5) {
        case 0:
            stock_buy(p, i, std::min<int>(n, stock_table[i].market_shares), 1);
            break;
        case 1:
            if (const CompanyBuilding* c = stock_company(i))
                stock_buy(p, i, std::min<int>(n, c->own_shares), 0);
            break;
        case 2:
            stock_sell(p, i, std::min<int>(n, stock_holdings[p][i].shares), game_rand() % 2);
            break;
        case 3:
            stock_transfer(p, (p + 1) % PLAYER_COUNT, i,
                           std::min<int>(n, stock_holdings[p][i].shares), n);
            break;
        default:
            if (step % 500 == 0) stock_sell_all_bankrupt(p);
            break;
        }
        for (int k = 0; k < STOCK_COUNT; ++k)
            ASSERT_EQ(shares_everywhere(k), 10000) << "step " << step;
    }
    // The chairman is always the largest holder.
    for (int j = 1; j <= kCompanies; ++j) {
        const int stock = companies[j].listed;
        int32_t most = 0;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            most = std::max(most, stock_holdings[p][stock].shares);
        if (most == 0) {
            EXPECT_EQ(companies[j].chairman, 0);
        } else {
            ASSERT_NE(companies[j].chairman, 0);
            EXPECT_EQ(stock_holdings[companies[j].chairman - 1][stock].shares, most);
        }
    }
}

TEST_F(TradingTest, ExchangeRulesLimitWhatMayBeTraded) {
    int32_t most = -1;
    set_price(3, 180.0f, 180.0f);
    stock_table[3].volume = 500;
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most),
              STOCK_TRADE_NOTHING); // no deposit, no market buying
    player_table[0].cash = 1000000;
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most), STOCK_TRADE_NOTHING);
    player_table[0].deposit = 18179;
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most), STOCK_TRADE_OK);
    EXPECT_EQ(most, 100);
    player_table[0].deposit = 1000000;
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most), STOCK_TRADE_OK);
    EXPECT_EQ(most, 500);
    set_price(3, 198.0f, 180.0f);
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most), STOCK_TRADE_LIMIT);
    EXPECT_EQ(most, 0);
    stock_table[3].suspended_days = 1;
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most), STOCK_TRADE_NOTHING);
    stock_table[3].suspended_days = 0;

    EXPECT_EQ(stock_exchange_sell_check(0, 3, &most), STOCK_TRADE_NOTHING); // nothing held
    stock_holdings[0][3] = {40, 150.0f};
    EXPECT_EQ(stock_exchange_sell_check(0, 3, &most), STOCK_TRADE_OK);
    EXPECT_EQ(most, 40);
    set_price(3, 162.0f, 180.0f);
    EXPECT_EQ(stock_exchange_sell_check(0, 3, &most), STOCK_TRADE_LIMIT);
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most), STOCK_TRADE_OK); // a fall does not stop buying
    stock_closed_days = 1;
    EXPECT_EQ(stock_exchange_buy_check(0, 3, &most), STOCK_TRADE_NOTHING);
    EXPECT_EQ(stock_exchange_sell_check(0, 3, &most), STOCK_TRADE_NOTHING);
}

TEST_F(TradingTest, HoldingFileImageRoundTrips) {
    const StockHolding h{123456, 11.17f};
    uint8_t bytes[STOCK_HOLDING_SIZE];
    stock_holding_write(h, bytes);
    EXPECT_EQ(bytes[0], 123456 & 0xFF);
    const StockHolding back = stock_holding_read(bytes);
    EXPECT_EQ(back.shares, h.shares);
    EXPECT_EQ(back.avg_cost, h.avg_cost);
}

} // namespace
