// The market core: records, the initial tables, the price step, the daily
// update with its bands, forced moves, suspension, the counters, the history
// ring, the volume and the links to the company buildings.
#include <algorithm>
#include <array>
#include <cstring>

#include "data/stock_initial.h"
#include "support/stock_world.h"

namespace {

struct StepCase {
    float prev;
    float pct;
    float expected;
};

class StockStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StockStepTest, MovesInWholeTicksOfTheNewBand) {
    const StepCase c = GetParam();
    EXPECT_FLOAT_EQ(stock_price_step(c.prev, c.pct), c.expected)
        << c.prev << " by " << c.pct << " %";
}

INSTANTIATE_TEST_SUITE_P(Cases, StockStepTest,
                         ::testing::Values(
                             // The worked examples.
                             StepCase{100.0f, 10.0f, 110.0f}, StepCase{200.0f, -7.25f, 186.0f},
                             StepCase{40.0f, 2.6f, 41.0f}, StepCase{150.0f, -0.2f, 150.0f},
                             // Whole moves with ticks that are not exact in binary stay whole.
                             StepCase{20.0f, 10.0f, 22.0f}, StepCase{30.0f, -10.0f, 27.0f},
                             StepCase{10.0f, 10.0f, 11.0f}, StepCase{4.0f, -10.0f, 3.6f},
                             StepCase{2.0f, 10.0f, 2.2f},
                             // Band crossings: the tick is the new price's.
                             StepCase{14.9f, 10.0f, 16.3f}, StepCase{4.9f, 10.0f, 5.35f},
                             StepCase{160.0f, -10.0f, 144.0f}, StepCase{52.0f, -5.0f, 49.4f},
                             StepCase{145.0f, 5.0f, 152.0f},
                             // The limits of a price.
                             StepCase{1.0f, -10.0f, 1.0f}, StepCase{1.05f, -10.0f, 1.0f},
                             StepCase{9500.0f, 10.0f, 9999.0f}, StepCase{9999.0f, 10.0f, 9999.0f},
                             StepCase{100.0f, 0.0f, 100.0f}));

TEST(StockRecordTest, FileImageRoundTripsEveryField) {
    StockRecord r{};
    r.name = 0x01020304u;
    r.building = 0x0506;
    r.suspended_days = 7;
    r.forced_move = 0x20;
    r.market_shares = 9000;
    r.volume = 1234;
    r.reference_price = 180.0f;
    r.previous_price = 181.5f;
    r.price = 190.0f;
    r.volatility = 1.6f;
    r.change_pct = -3.25f;
    r.noise = 12.5f;
    uint8_t bytes[STOCK_RECORD_SIZE];
    stock_record_write(r, bytes);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[4], 0x06);
    EXPECT_EQ(bytes[7], 0x20);
    EXPECT_EQ(bytes[8], 9000 & 0xFF);
    const StockRecord back = stock_record_read(bytes);
    EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
}

TEST(StockInitialTest, TablesHoldTheListingsOfEachMap) {
    EXPECT_STREQ(stock_company_names[stock_initial_table[0][3].name], "台 积 电");
    EXPECT_STREQ(stock_company_names[stock_initial_table[2][4].name], "ＳＥＧＡ");
    EXPECT_STREQ(stock_company_names[stock_initial_table[3][11].name], "百事可乐");
    const StockRecord& oil = stock_initial_table[1][3];
    EXPECT_EQ(oil.market_shares, 0);
    EXPECT_EQ(oil.building, 1);
    EXPECT_FLOAT_EQ(oil.price, 15.0f);
    EXPECT_EQ(stock_initial_table[3][9].volatility, 0.8f);
    for (const auto& map : stock_initial_table) {
        for (const StockRecord& s : map) {
            EXPECT_EQ(s.price, s.reference_price);
            EXPECT_EQ(s.previous_price, s.reference_price);
            EXPECT_EQ(s.suspended_days | s.forced_move | s.volume, 0);
            EXPECT_EQ(s.change_pct, 0.0f);
        }
    }
}

using StockMarketTest = StockWorld;

TEST_F(StockMarketTest, NewGameTakesTheMapTableAndIndexBase) {
    stock_price_history[0][5] = 3.0f;
    stock_history_day = 9;
    stock_new_game(3);
    EXPECT_STREQ(stock_name(0), "花旗银行");
    EXPECT_EQ(stock_history_day, 0);
    EXPECT_EQ(stock_price_history[0][5], 0.0f);
    // 200+55+20+18+16+550+245+166+955+1030+1440+310 = 5005.
    EXPECT_EQ(stock_index_base, 50050);
    stock_table[2].name = 999;
    stock_rebind_names(3);
    EXPECT_STREQ(stock_name(2), "环球百货");
}

TEST_F(StockMarketTest, LinkingKeepsTheLastBuildingAndDropsMissingOnes) {
    stock_new_game(0);
    companies[1].listed = 1;
    companies[2].listed = 1;
    companies[3].listed = 99; // names no stock
    stock_link_companies();
    EXPECT_EQ(stock_table[0].building, 0); // flagged, but no building names it
    EXPECT_EQ(stock_table[1].building, 2);
    EXPECT_EQ(stock_table[2].building, 0);
    EXPECT_EQ(stock_table[3].building, 0); // unlinked in the table
    stock_init_company_shares();
    EXPECT_EQ(companies[2].own_shares, 5000);
}

TEST_F(StockMarketTest, CompanyHoldsWhatTheMarketDoesNot) {
    EXPECT_EQ(stock_table[1].building, 2);
    EXPECT_EQ(companies[1].own_shares, 0);
    EXPECT_EQ(companies[2].own_shares, 5000);
    for (int i = 0; i < STOCK_COUNT; ++i)
        EXPECT_EQ(shares_everywhere(i), 10000);
}

TEST_F(StockMarketTest, ClosedOrHolidayChangesNothing) {
    for (int round = 0; round < 2; ++round) {
        stock_daily_update();
        const auto table = stock_table;
        const auto history = stock_price_history;
        const int32_t day = stock_history_day;
        const int32_t index = stock_market_index;
        const uint32_t seed = game_rand_seed();
        if (round == 0) {
            stock_closed_days = 1;
        } else {
            stock_closed_days = 0;
            uint32_t holiday = 0;
            for (uint32_t d = 1; d <= 28 && holiday == 0; ++d) {
                const uint32_t date = (1998u << 16) | (3u << 8) | d;
                if (cal_is_holiday(date) == 1) holiday = date;
            }
            ASSERT_NE(holiday, 0u);
            game_date = holiday;
        }
        EXPECT_EQ(stock_market_closed(), 1);
        stock_daily_update();
        EXPECT_EQ(std::memcmp(&table, &stock_table, sizeof table), 0);
        EXPECT_EQ(std::memcmp(&history, &stock_price_history, sizeof history), 0);
        EXPECT_EQ(stock_history_day, day);
        EXPECT_EQ(stock_market_index, index);
        EXPECT_EQ(game_rand_seed(), seed);
    }
}

TEST_F(StockMarketTest, DailyUpdateWritesRingSlotAndIndex) {
    stock_history_day = 143;
    stock_daily_update();
    EXPECT_EQ(stock_history_day, 0);
    EXPECT_EQ(stock_latest_slot(), 143);
    float sum = 0.0f;
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const StockRecord& s = stock_table[i];
        EXPECT_EQ(stock_price_history[i][143], s.price);
        EXPECT_EQ(s.price, stock_price_step(s.previous_price, s.change_pct));
        EXPECT_GE(s.change_pct, -10.0f);
        EXPECT_LE(s.change_pct, 10.0f);
        sum += s.price;
    }
    EXPECT_EQ(stock_market_index, static_cast<int32_t>(sum * 10.0));
}

TEST_F(StockMarketTest, TrendThenOneNoiseDrawPerMovingStockInOrder) {
    stock_table[5].suspended_days = 1; // draws nothing
    stock_table[7].forced_move = 0x01; // draws nothing
    stock_table[9].change_pct = 1.5f;  // carried into today's change
    game_srand(4242);
    const float trend = static_cast<float>((game_rand() - 16384) / 4097.0);
    std::array<float, STOCK_COUNT> noise{};
    for (int i = 0; i < STOCK_COUNT; ++i) {
        if (i != 5 && i != 7) noise[i] = static_cast<float>((game_rand() - 16384) / 1171.0);
    }
    game_srand(4242);
    stock_daily_update();
    EXPECT_EQ(stock_market_trend, trend);
    // Stocks 3.. are unlinked and start inside their band.
    for (int i : {3, 4, 6, 8, 9, 10, 11}) {
        const StockRecord& s = stock_table[i];
        EXPECT_EQ(s.noise, noise[i]) << i;
        float change = noise[i] * s.volatility + (i == 9 ? 1.5f : 0.0f);
        change = change + trend;
        change = std::min(10.0f, std::max(-10.0f, change));
        EXPECT_EQ(s.change_pct, change) << i;
    }
    EXPECT_EQ(stock_table[7].change_pct, -10.0f);
}

TEST_F(StockMarketTest, SuspendedStockHoldsItsPrice) {
    stock_table[4].suspended_days = 2;
    stock_table[4].change_pct = 7.0f;
    stock_daily_update();
    EXPECT_EQ(stock_table[4].price, 80.0f);
    EXPECT_EQ(stock_table[4].change_pct, 0.0f);
    EXPECT_EQ(stock_price_history[4][0], 80.0f);
    stock_count_day_counters();
    EXPECT_EQ(stock_table[4].suspended_days, 1);
    stock_count_day_counters();
    EXPECT_EQ(stock_table[4].suspended_days, 0); // trades again on the day it reaches 0
}

TEST_F(StockMarketTest, ForcedMovesAreOneLimitStepFromYesterday) {
    stock_table[5].forced_move = STOCK_FORCE_RISE;
    stock_table[6].forced_move = STOCK_FORCE_FALL;
    stock_table[7].forced_move = 0x22; // both nibbles: rises
    stock_table[5].change_pct = -9.0f;
    stock_daily_update();
    EXPECT_EQ(stock_table[5].price, stock_price_step(60.0f, 10.0f));
    EXPECT_EQ(stock_table[5].price, 66.0f);
    EXPECT_EQ(stock_table[6].price, 54.0f);
    EXPECT_EQ(stock_table[7].price, stock_price_step(27.0f, 10.0f));
    EXPECT_EQ(stock_move_class(5), MOVE_LIMIT_UP);
    EXPECT_EQ(stock_move_class(6), MOVE_LIMIT_DOWN);
}

TEST_F(StockMarketTest, ForceMoveReplacesTodaysMoveInTheLatestSlot) {
    stock_daily_update();
    stock_daily_update();
    const float yesterday = stock_table[8].previous_price;
    const float other = stock_table[9].price;
    stock_table[8].forced_move = STOCK_FORCE_FALL;
    stock_table[8].suspended_days = 3; // a forced move ignores suspension
    stock_closed_days = 2;             // and the market being closed
    stock_force_move(9);
    EXPECT_EQ(stock_table[8].price, stock_price_step(yesterday, -10.0f));
    EXPECT_EQ(stock_price_history[8][1], stock_table[8].price);
    EXPECT_EQ(stock_table[9].price, other);
    stock_table[9].forced_move = STOCK_FORCE_RISE;
    stock_force_move(0);
    EXPECT_EQ(stock_move_class(9), MOVE_LIMIT_UP);
    stock_force_move(13); // out of range: nothing
}

TEST_F(StockMarketTest, CountersFollowTheirRules) {
    stock_table[0].forced_move = 0x21;
    stock_count_day_counters();
    EXPECT_EQ(stock_table[0].forced_move, 0x10);
    stock_count_day_counters();
    EXPECT_EQ(stock_table[0].forced_move, 0x00);
    // Set during a day, 2 keeps the market closed on the next two days.
    stock_closed_days = 2;
    stock_count_day_counters();
    EXPECT_EQ(stock_market_closed(), 1);
    stock_count_day_counters();
    EXPECT_EQ(stock_closed_days, 0x80);
    EXPECT_EQ(stock_market_closed(), 1);
    stock_count_day_counters();
    EXPECT_EQ(stock_market_closed(), 0);
}

TEST_F(StockMarketTest, BandsHalveAndDoubleTheChange) {
    struct BandCase {
        int stock;
        float price;
        float change;
        float factor_up;   // applied when the change is positive
        float factor_down; // applied when it is not
    };
    // Stock 0 is linked (value 1000000: v = 100), stock 3 unlinked (reference 180).
    const BandCase cases[] = {
        {0, 301.0f, 6.0f, 0.5f, 2.0f}, {0, 301.0f, -6.0f, 0.5f, 2.0f},
        {0, 84.0f, 6.0f, 2.0f, 0.5f},  {0, 84.0f, -6.0f, 2.0f, 0.5f},
        {0, 200.0f, 6.0f, 1.0f, 1.0f}, {3, 1441.0f, 6.0f, 0.5f, 2.0f},
        {3, 89.0f, -6.0f, 2.0f, 0.5f}, {3, 500.0f, -6.0f, 1.0f, 1.0f},
    };
    for (const BandCase& c : cases) {
        stock_reset();
        stock_new_game(0);
        stock_link_companies();
        for (StockRecord& s : stock_table)
            s.volatility = 0.0f;
        stock_table[c.stock].price = c.price;
        stock_table[c.stock].change_pct = c.change;
        game_srand(777);
        const float trend = static_cast<float>((game_rand() - 16384) / 4097.0);
        game_srand(777);
        stock_daily_update();
        EXPECT_EQ(stock_market_trend, trend);
        float expected = c.change + trend;
        expected *= expected > 0 ? c.factor_up : c.factor_down;
        if (expected > 10.0f) expected = 10.0f;
        if (expected < -10.0f) expected = -10.0f;
        EXPECT_FLOAT_EQ(stock_table[c.stock].change_pct, expected)
            << "stock " << c.stock << " at " << c.price;
    }
}

TEST_F(StockMarketTest, ABuildingTheMapDoesNotHaveFallsBackToTheListingBand) {
    stock_table[0].building = 50; // as a damaged save might hold
    EXPECT_EQ(stock_company(0), nullptr);
    for (StockRecord& s : stock_table)
        s.volatility = 0.0f;
    stock_table[0].price = 801.0f; // above 8 x the listing price 100
    stock_table[0].change_pct = 6.0f;
    game_srand(777);
    const float trend = static_cast<float>((game_rand() - 16384) / 4097.0);
    game_srand(777);
    stock_daily_update();
    EXPECT_FLOAT_EQ(stock_table[0].change_pct, (6.0f + trend) * 0.5f);
}

TEST_F(StockMarketTest, MoveAndFormatClasses) {
    set_price(0, 110.0f, 100.0f);
    EXPECT_EQ(stock_move_class(0), MOVE_LIMIT_UP);
    set_price(0, 109.5f, 100.0f);
    EXPECT_EQ(stock_move_class(0), MOVE_UP);
    set_price(0, 18.0f, 20.0f);
    EXPECT_EQ(stock_move_class(0), MOVE_LIMIT_DOWN);
    set_price(0, 18.1f, 20.0f);
    EXPECT_EQ(stock_move_class(0), MOVE_DOWN);
    set_price(0, 9999.0f, 9999.0f);
    EXPECT_EQ(stock_move_class(0), MOVE_FLAT);
    set_price(0, 22.0f, 20.0f); // a whole limit move with a tick that is not exact
    EXPECT_EQ(stock_move_class(0), MOVE_LIMIT_UP);
    EXPECT_EQ(stock_format_class(14.99f), 0);
    EXPECT_EQ(stock_format_class(15.0f), 1);
    EXPECT_EQ(stock_format_class(149.9f), 1);
    EXPECT_EQ(stock_format_class(150.0f), 2);
}

TEST_F(StockMarketTest, HistoryRingAveragesHighsAndLows) {
    EXPECT_EQ(stock_history_average(0, 6), 0.0f);
    EXPECT_EQ(stock_history_high(0), 0.0f);
    EXPECT_EQ(stock_history_low(0), 10000.0f);
    // The ring wraps: slots 142, 143, 0, 1 hold the latest four prices.
    stock_history_day = 2;
    const float prices[] = {10.0f, 20.0f, 30.0f, 40.0f};
    stock_price_history[0][142] = prices[0];
    stock_price_history[0][143] = prices[1];
    stock_price_history[0][0] = prices[2];
    stock_price_history[0][1] = prices[3];
    EXPECT_EQ(stock_latest_slot(), 1);
    EXPECT_FLOAT_EQ(stock_history_average(0, 2), 35.0f);
    EXPECT_FLOAT_EQ(stock_history_average(0, 6), 25.0f); // zero slots do not count
    stock_price_history[0][100] = 5.0f;                  // outside the last 24
    EXPECT_FLOAT_EQ(stock_history_average(0, 24), 25.0f);
    EXPECT_EQ(stock_history_high(0), 40.0f);
    EXPECT_EQ(stock_history_low(0), 5.0f);
    // 145 updates go once round and one slot further.
    stock_reset();
    stock_new_game(0);
    for (int d = 0; d < 145; ++d)
        stock_daily_update();
    EXPECT_EQ(stock_history_day, 1);
    EXPECT_EQ(stock_price_history[3][0], stock_table[3].price);
}

TEST_F(StockMarketTest, VolumeIsATenthToThreeTenthsOfTheMarket) {
    stock_table[0].market_shares = 1000;
    stock_table[1].market_shares = 0;
    stock_table[2].market_shares = 1001;
    for (int round = 0; round < 50; ++round) {
        stock_roll_volume();
        EXPECT_EQ(stock_table[0].volume, 1000);
        EXPECT_EQ(stock_table[1].volume, 0);
        for (int i = 2; i < STOCK_COUNT; ++i) {
            const int m = stock_table[i].market_shares;
            EXPECT_GE(stock_table[i].volume, m / 10);
            EXPECT_LT(stock_table[i].volume, m * 3 / 10);
        }
    }
}

TEST_F(StockMarketTest, PricesStayWithinLimitsOverALongRun) {
    for (int d = 0; d < 2000; ++d) {
        if (d % 97 == 0) stock_table[d % STOCK_COUNT].forced_move = STOCK_FORCE_RISE;
        stock_count_day_counters();
        stock_daily_update();
        for (const StockRecord& s : stock_table) {
            ASSERT_GE(s.price, 1.0f);
            ASSERT_LE(s.price, 9999.0f);
        }
    }
}

} // namespace
