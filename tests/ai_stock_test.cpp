// The computer's share trading: the buying and selling scores, the gates, the
// weighted pick, the budget and the urgent sale before a loan falls due.
#include "finance/ai_stock.h"
#include "support/stock_world.h"

namespace {

class AiStockTest : public StockWorld {
  protected:
    void SetUp() override {
        StockWorld::SetUp();
        for (StockRecord& s : stock_table)
            s.volume = 2000;
        // Buildings worth 100 yuan a share (v = 100) for stock 0, 10 for 1 and 2.
        companies[2].value = 100000;
        companies[3].value = 100000;
    }

    // A seed whose first draw passes (or fails) the 1-in-3 gate.
    static uint32_t seed_with_gate(bool pass, uint32_t from = 1) {
        for (uint32_t s = from;; ++s) {
            game_srand(s);
            if ((game_rand() % 3 == 0) == pass) return s;
        }
    }

    static void fill_history(int i, float older, float latest6) {
        stock_history_day = 24;
        for (int k = 0; k < 24; ++k)
            stock_price_history[i][k] = k >= 18 ? latest6 : older;
    }
};

TEST_F(AiStockTest, LinkedBuyScoreRules) {
    PlayerRecord& p = player_table[0];
    p.deposit = 20001;
    CompanyBuilding& c = companies[1];
    struct Case {
        const char* what;
        int32_t total_earnings;
        int32_t months;
        float price;
        int expected;
    };
    const Case cases[] = {
        {"nothing", 0, 0, 100.0f, 0},
        {"a low", 4999, 0, 100.0f, 1},
        {"a mid", 5000, 0, 100.0f, 2},
        {"a high", 10000, 0, 100.0f, 3},
        {"a per month", 30000, 3, 100.0f, 3},
        {"a per month low", 30000, 7, 100.0f, 1},
        {"cheap", 0, 0, 84.0f, 3},
        {"very cheap", 0, 0, 69.0f, 8},
    };
    for (const Case& k : cases) {
        c.earnings_total = k.total_earnings;
        game_months_elapsed = k.months;
        set_price(0, k.price, k.price);
        EXPECT_EQ(stock_ai_buy_score(0, 0), k.expected) << k.what;
    }
    game_months_elapsed = 0;
    c.earnings_total = 0;
    set_price(0, 120.0f, 120.0f);
    c.earnings = 1; // earning, cheap enough: +1; against another chairman up to +3 more
    EXPECT_EQ(stock_ai_buy_score(0, 0), 1);
    c.chairman = owner_of_seat(1);
    stock_holdings[1][0].shares = 2500;
    stock_table[0].market_shares = 2000;
    c.own_shares = 600;
    stock_table[0].volume = 2000;
    stock_holdings[0][0].shares = 499;
    EXPECT_EQ(stock_ai_buy_score(0, 0), 2); // 2000 + 499 + 600 > 2500, 2000 + 499 < 2500
    stock_holdings[0][0].shares = 501;
    EXPECT_EQ(stock_ai_buy_score(0, 0), 4);
    c.chairman = owner_of_seat(0); // his own chair
    EXPECT_EQ(stock_ai_buy_score(0, 0), 1);
    set_price(0, 121.0f, 121.0f);
    EXPECT_EQ(stock_ai_buy_score(0, 0), 0);
    // The deposit gate scales with the index.
    set_price(0, 69.0f, 69.0f);
    c.earnings = 0;
    p.deposit = 20000;
    EXPECT_EQ(stock_ai_buy_score(0, 0), 0);
    p.deposit = 40001;
    game_price_index = 2;
    EXPECT_EQ(stock_ai_buy_score(0, 0), 8);
}

TEST_F(AiStockTest, UnlinkedBuyScoreRules) {
    player_table[0].deposit = 30001;
    stock_table[3].change_pct = 3.0f;
    fill_history(3, 100.0f, 200.0f); // rising: A6 200 > A24 125
    set_price(3, 449.0f, 449.0f);
    EXPECT_EQ(stock_ai_buy_score(0, 3), 2);
    set_price(3, 107.0f, 107.0f); // below 0.6 of the listing price 180
    EXPECT_EQ(stock_ai_buy_score(0, 3), 6);
    stock_table[3].change_pct = 2.0f;
    EXPECT_EQ(stock_ai_buy_score(0, 3), 4);
    fill_history(3, 200.0f, 50.0f); // fallen: A6 50 < half of A24 162.5
    EXPECT_EQ(stock_ai_buy_score(0, 3), 2);
    player_table[0].deposit = 30000;
    EXPECT_EQ(stock_ai_buy_score(0, 3), 0);
}

TEST_F(AiStockTest, NeverBuysAtTheUpperLimitSuspendedOrWithoutVolume) {
    player_table[0].deposit = 1000000;
    set_price(0, 66.0f, 60.0f); // a limit rise
    EXPECT_EQ(stock_move_class(0), MOVE_LIMIT_UP);
    EXPECT_EQ(stock_ai_buy_score(0, 0), 0);
    set_price(0, 65.0f, 60.0f);
    EXPECT_EQ(stock_ai_buy_score(0, 0), 8);
    stock_table[0].suspended_days = 1;
    EXPECT_EQ(stock_ai_buy_score(0, 0), 0);
    stock_table[0].suspended_days = 0;
    stock_table[0].volume = 0;
    EXPECT_EQ(stock_ai_buy_score(0, 0), 0);
}

TEST_F(AiStockTest, BudgetWorksIn64BitsAndStaysWithinTheDeposit) {
    PlayerRecord& p = player_table[0];
    p.stock_pct = 30;
    p.cash = 100000;
    p.deposit = 100000;
    EXPECT_EQ(stock_ai_budget(0), 60000);
    stock_holdings[0][3] = {100, 180.0f}; // 18000 already invested
    EXPECT_EQ(stock_ai_budget(0), (100000 + 100000 + 18000) * 30 / 100 - 18000);
    stock_holdings[0][3] = {1000, 180.0f}; // 180000 invested: over the share
    EXPECT_EQ(stock_ai_budget(0), 0);
    stock_holdings[0][3] = {0, 0.0f};
    p.stock_pct = 100;
    p.cash = 2000000000;
    p.deposit = 2000000000;
    EXPECT_EQ(stock_ai_budget(0), 2000000000);
    p.stock_pct = 90;
    p.deposit = 1000;
    EXPECT_EQ(stock_ai_budget(0), 1000);
}

TEST_F(AiStockTest, BuyGates) {
    PlayerRecord& p = player_table[0];
    p.deposit = 1000000;
    p.stock_pct = 50;
    set_price(0, 60.0f, 60.0f); // the only candidate (score 8)
    struct Gate {
        const char* what;
        uint8_t pct;
        int closed;
        int32_t due_in; // days, -1 no loan date
        bool buys;
    };
    const Gate gates[] = {
        {"no share of money", 0, 0, -1, false},    {"closed market", 50, 1, -1, false},
        {"loan due in 10 days", 50, 0, 10, false}, {"loan due in 15 days", 50, 0, 15, true},
        {"no loan date", 50, 0, -1, true},
    };
    for (const Gate& g : gates) {
        trading_reset();
        stock_table[0].volume = 2000;
        stock_table[0].market_shares = 10000;
        p.deposit = 1000000;
        p.stock_pct = g.pct;
        stock_closed_days = g.closed;
        p.loan_due = g.due_in < 0 ? 0 : cal_add_days(game_date, g.due_in);
        // A draw sequence that passes the gate and takes the first candidate.
        uint32_t seed = 1;
        for (;; ++seed) {
            game_srand(seed);
            if (game_rand() % 3 != 0) continue;
            if (game_rand() % 24 <= 12) break;
        }
        game_srand(seed);
        stock_ai_buy(0);
        EXPECT_EQ(stock_holdings[0][0].shares > 0, g.buys) << g.what << " seed " << seed;
    }
    // What it buys: the budget over the price, at most the volume.
    trading_reset();
    p.deposit = 100000;
    p.cash = 0;
    p.loan_due = 0;
    stock_table[0].volume = 2000;
    uint32_t seed = 1;
    for (;; ++seed) {
        game_srand(seed);
        if (game_rand() % 3 == 0 && game_rand() % 24 <= 12) break;
    }
    game_srand(seed);
    stock_ai_buy(0);
    EXPECT_EQ(stock_holdings[0][0].shares, 50000 / 60);
    EXPECT_EQ(player_table[0].deposit, 100000 - static_cast<int32_t>(833 * 60.0f));
}

TEST_F(AiStockTest, WeightedPickTakesTheFirstCandidateThirteenTimesInTwentyFour) {
    PlayerRecord& p = player_table[0];
    p.stock_pct = 50;
    set_price(0, 60.0f, 60.0f); // score 8
    set_price(1, 8.0f, 8.0f);   // v = 10: score 3
    int gated = 0;
    int first = 0;
    int second = 0;
    for (uint32_t seed = 1; seed <= 6000; ++seed) {
        game_srand(seed);
        if (game_rand() % 3 != 0) continue;
        ++gated;
        trading_reset();
        for (int i = 0; i < 2; ++i) {
            stock_table[i].volume = 2000;
            stock_table[i].market_shares = 10000;
        }
        p.deposit = 1000000;
        game_srand(seed);
        stock_ai_buy(0);
        first += stock_holdings[0][0].shares > 0;
        second += stock_holdings[0][1].shares > 0;
        ASSERT_FALSE(stock_holdings[0][0].shares > 0 && stock_holdings[0][1].shares > 0);
    }
    ASSERT_GT(gated, 1500);
    EXPECT_NEAR(static_cast<double>(first) / gated, 13.0 / 24, 0.04);
    EXPECT_NEAR(static_cast<double>(second) / gated, 11.0 / 24 * 12.0 / 24, 0.04);
}

TEST_F(AiStockTest, CompareScoresPutsHigherFirst) {
    const uint32_t a = (3u << 16) | 5u;
    const uint32_t b = (1u << 16) | 0xFFFFu; // score -1
    EXPECT_LT(stock_compare_scores(a, b), 0);
    EXPECT_GT(stock_compare_scores(b, a), 0);
    EXPECT_EQ(stock_compare_scores(a, (7u << 16) | 5u), 0);
}

TEST_F(AiStockTest, LinkedSellScoreRules) {
    CompanyBuilding& c = companies[1]; // stock 0, v = 100
    StockHolding& h = stock_holdings[0][0];
    h = {1000, 100.0f};
    stock_holdings[1][0].shares = 500; // share 1000 / 1500
    game_date = cal_pack(1998, 3, 12);
    set_price(0, 100.0f, 100.0f);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 0);
    c.earnings = -10000;
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 3); // big loss, majority, days 11..14
    set_price(0, 121.0f, 121.0f);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 5); // and a loss with a gain on cost, days 9..14
    game_date = cal_pack(1998, 3, 10);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 2);
    game_date = cal_pack(1998, 3, 20);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 0);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 1), 1); // urgent
    c.earnings = 0;
    // High against the building's value and falling.
    h = {100, 90.0f}; // share 100 / 600 < 0.4
    set_price(0, 201.0f, 210.0f);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 1 + 2);
    c.chairman = owner_of_seat(0); // his own company: only far above value
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 1);
    set_price(0, 301.0f, 310.0f);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 1 + 2);
    // Another chairman he cannot catch up with, no earnings, a gain of half.
    c.chairman = owner_of_seat(1);
    stock_holdings[1][0].shares = 9000;
    stock_table[0].market_shares = 100;
    c.own_shares = 0;
    set_price(0, 135.0f, 135.0f);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 1);
    set_price(0, 134.0f, 134.0f);
    EXPECT_EQ(stock_ai_sell_score(0, 0, 0), 0);
}

TEST_F(AiStockTest, UnlinkedSellScoreRules) {
    PlayerRecord& p = player_table[0];
    p.deposit = 30000;
    StockHolding& h = stock_holdings[0][3];
    h = {100, 100.0f};
    set_price(3, 300.0f, 300.0f); // q = 3: +2 (q > 1.6, flat) and trunc((3 - 2) / 0.5 + 1) = 3
    EXPECT_EQ(stock_ai_sell_score(0, 3, 0), 5);
    EXPECT_EQ(stock_ai_sell_score(0, 3, 1), 10);
    p.deposit = 29999; // short of money: + trunc(3 / 0.5 + 1) = 7
    EXPECT_EQ(stock_ai_sell_score(0, 3, 0), 12);
    p.deposit = 15999; // and again
    EXPECT_EQ(stock_ai_sell_score(0, 3, 0), 19);
    p.deposit = 100000;
    stock_table[3].change_pct = 1.0f;
    EXPECT_EQ(stock_ai_sell_score(0, 3, 0), 3);
    // Far above the lowest price of the history, and the month's average above the week's.
    fill_history(3, 100.0f, 30.0f); // low 30: 8 x 30 = 240 > 125
    set_price(3, 250.0f, 260.0f);   // q 2.5, not flat enough for the q > 1.6 rule
    EXPECT_EQ(stock_ai_sell_score(0, 3, 0), 2 + 2 + 2);
    // Shares that cost nothing: no ratio, and no failure.
    h.avg_cost = 0.0f;
    EXPECT_EQ(stock_ai_sell_score(0, 3, 0), 2 + 2);
    p.deposit = 0;
    EXPECT_EQ(stock_ai_sell_score(0, 3, 0), 2 + 2);
}

TEST_F(AiStockTest, NeverSellsAtTheLowerLimitOrSuspended) {
    stock_holdings[0][3] = {100, 100.0f};
    player_table[0].deposit = 0;
    set_price(3, 162.0f, 180.0f); // a limit fall
    EXPECT_EQ(stock_move_class(3), MOVE_LIMIT_DOWN);
    EXPECT_EQ(stock_ai_sell_score(0, 3, 1), 0);
    set_price(3, 163.0f, 180.0f);
    EXPECT_GT(stock_ai_sell_score(0, 3, 1), 0);
    stock_table[3].suspended_days = 2;
    EXPECT_EQ(stock_ai_sell_score(0, 3, 1), 0);
    EXPECT_EQ(stock_ai_sell_score(0, 4, 1), 0); // nothing held
}

TEST_F(AiStockTest, UrgentSaleKeepsSellingUntilTheLoanIsCovered) {
    PlayerRecord& p = player_table[0];
    p.loan = 100000;
    p.loan_due = cal_add_days(game_date, 6);
    // Equal scores: the lower index goes first, and its proceeds cover the loan.
    stock_holdings[0][3] = {2000, 100.0f};
    set_price(3, 100.0f, 100.0f);
    stock_holdings[0][4] = {300, 80.0f};
    set_price(4, 80.0f, 80.0f);
    ASSERT_EQ(stock_ai_sell_score(0, 3, 1), stock_ai_sell_score(0, 4, 1));
    game_srand(seed_with_gate(false)); // urgency needs no gate draw
    stock_ai_sell(0);
    EXPECT_EQ(stock_holdings[0][3].shares, 0);
    EXPECT_EQ(stock_holdings[0][4].shares, 300);
    EXPECT_EQ(p.deposit, 200000);
    // Small holdings: everything that qualifies goes.
    p.deposit = 0;
    stock_holdings[0][3] = {200, 100.0f};
    stock_holdings[0][5] = {100, 60.0f};
    set_price(5, 54.0f, 60.0f); // at the lower limit: kept
    stock_ai_sell(0);
    EXPECT_EQ(stock_holdings[0][3].shares, 0);
    EXPECT_EQ(stock_holdings[0][4].shares, 0);
    EXPECT_EQ(stock_holdings[0][5].shares, 100);
    EXPECT_EQ(p.deposit, 20000 + 24000);
}

TEST_F(AiStockTest, NoUrgencyWithoutADueDateOrFarFromIt) {
    PlayerRecord& p = player_table[0];
    p.loan = 100000;
    stock_holdings[0][3] = {200, 100.0f};
    set_price(3, 100.0f, 100.0f);
    for (int32_t due_in : {-1, 7, 10}) {
        p.loan_due = due_in < 0 ? 0 : cal_add_days(game_date, due_in);
        game_srand(seed_with_gate(false));
        stock_ai_sell(0);
        EXPECT_EQ(stock_holdings[0][3].shares, 200) << due_in;
    }
    // With the gate passed it sells its best candidate once.
    game_srand(seed_with_gate(true));
    stock_ai_sell(0);
    EXPECT_EQ(stock_holdings[0][3].shares, 0);
    // A closed market sells nothing, urgent or not.
    stock_holdings[0][3] = {200, 100.0f};
    p.loan_due = cal_add_days(game_date, 3);
    stock_closed_days = 1;
    stock_ai_sell(0);
    EXPECT_EQ(stock_holdings[0][3].shares, 200);
}

} // namespace
