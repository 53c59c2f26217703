#include "shell/new_game.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "board/game_state.h"
#include "board/jail.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "data/characters.h"
#include "data/stock_initial.h"
#include "finance/lottery.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "shell/stage_end.h"

namespace {

class NewGameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        setup_choice = {2, 1, 0, 0, 0, 0, 0};
        setup_runners = {};
        // Seat 0 a human playing character 3, the others computers.
        const uint32_t characters[PLAYER_COUNT] = {3, 7, 11, 0};
        for (int k = 0; k < PLAYER_COUNT; ++k)
            setup_runners[k].character = characters[k] | (k == 0 ? 0u : SETUP_COMPUTER_SEAT);
    }
    void TearDown() override { game_world_reset(); }

    static bool init() {
        std::string error;
        const bool ok = new_game_init(&error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }
    static int item_count(int player, int item) { return player_items[player][item - 1]; }
};

TEST_F(NewGameTest, SeatsTheChosenCharactersWithTheirMoneyItemsAndControl) {
    setup_choice[SETUP_MONEY] = 5; // 10000
    ASSERT_TRUE(init());
    EXPECT_EQ(game_player_count, 4);
    EXPECT_EQ(game_human_count, 1);
    EXPECT_EQ(game_start_money, 10000);
    const PlayerRecord& human = player_table[0];
    EXPECT_EQ(human.character, 3);
    EXPECT_EQ(human.setup_control, CTRL_HUMAN);
    EXPECT_EQ(human.control, character_table[3].control) << "the control byte waits for the board";
    EXPECT_EQ(human.cash, 5000);
    EXPECT_EQ(human.deposit, 5000);
    for (int k = 1; k < 4; ++k) {
        SCOPED_TRACE(k);
        const PlayerRecord& r = player_table[k];
        EXPECT_EQ(r.setup_control, CTRL_COMPUTER);
        EXPECT_EQ(r.cash, r.cash_pct * 100); // its cash share of 10000
        EXPECT_EQ(r.deposit, 10000 - r.cash);
        EXPECT_EQ(r.dice, 1);
        EXPECT_EQ(r.travel, TRAVEL_WALK);
    }
    EXPECT_EQ(player_table[2].cash, 8000); // character 11 keeps 80 %
    for (int k = 0; k < 4; ++k)
        for (int item : {1, 2, 3, 4, 8, 9})
            EXPECT_EQ(item_count(k, item), 1) << "seat " << k << " item " << item;
}

TEST_F(NewGameTest, TwoPlayersLeaveSeatsTwoAndThreeAllZeroWithoutItems) {
    player_table[3].cash = 99; // a game before
    setup_choice[SETUP_PLAYERS] = 0;
    ASSERT_TRUE(init());
    EXPECT_EQ(game_player_count, 2);
    const PlayerRecord zero{};
    for (int k : {2, 3}) {
        EXPECT_EQ(std::memcmp(&player_table[k], &zero, sizeof zero), 0) << "seat " << k;
        for (uint8_t n : player_items[k])
            EXPECT_EQ(n, 0);
    }
    // The shop lost one of items 1-4 and 8 per player, nothing else.
    for (int item = 1; item <= ITEM_SHOP_KINDS; ++item) {
        const bool handed = item <= 4 || item == 8;
        EXPECT_EQ(item_stock[item - 1], card_def(ITEM_ID_BASE + item).stock - (handed ? 2 : 0))
            << "item " << item;
    }
    for (int id = 1; id <= CARD_KIND_COUNT; ++id)
        EXPECT_EQ(card_stock[id - 1], card_def(id).stock);
}

TEST_F(NewGameTest, TravelByVehicleGivesItsDiceAndTakesOneVehicleAPlayerFromTheShop) {
    struct Case {
        int travel, item;
    };
    for (const Case c : {Case{TRAVEL_CAR, ITEM_CAR}, Case{TRAVEL_MOTORBIKE, ITEM_MOTORBIKE}}) {
        SCOPED_TRACE(c.travel);
        setup_choice[SETUP_TRAVEL] = c.travel;
        setup_choice[SETUP_PLAYERS] = 1; // three players
        ASSERT_TRUE(init());
        EXPECT_EQ(game_travel_mode, c.travel);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(player_table[k].dice, c.travel + 1);
            EXPECT_EQ(player_table[k].travel, c.travel);
            EXPECT_EQ(item_count(k, c.item), 0) << "the vehicle is ridden, not held";
        }
        EXPECT_EQ(item_stock[c.item - 1], card_def(ITEM_ID_BASE + c.item).stock - 3);
    }
}

TEST_F(NewGameTest, GameOptionsComeFromTheirTables) {
    struct Case {
        int money, time, victory, land;
        int32_t start, day_limit, target;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 300000, 0, 0},         // no limit, no target
        {5, 0, 0, 5, 10000, 0, 0},          // no target whatever the money
        {1, 2, 3, 2, 200000, 365, 2000000}, // one year, ten times the money
        {3, 5, 5, 3, 50000, 30, 150000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.money);
        setup_choice[SETUP_MONEY] = c.money;
        setup_choice[SETUP_GAME_TIME] = c.time;
        setup_choice[SETUP_VICTORY] = c.victory;
        setup_choice[SETUP_LAND_TERM] = c.land;
        setup_choice[SETUP_MAP] = 2;
        ASSERT_TRUE(init());
        EXPECT_EQ(game_start_money, c.start);
        EXPECT_EQ(game_day_limit, c.day_limit);
        EXPECT_EQ(game_asset_target, c.target);
        EXPECT_EQ(game_land_term, c.land);
        EXPECT_EQ(game_map, 2);
    }
}

TEST_F(NewGameTest, JailAndHospitalHoldTheWanderersWhereTheWalkersStand) {
    jail_flags[0] = 1; // a player held in the game before
    walker_table[0].place = WALKER_FREE;
    ASSERT_TRUE(init());
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        SCOPED_TRACE(m);
        const WalkerRecord& w = walker_of_mover(m);
        EXPECT_EQ(jail_flags[m], w.place == WALKER_IN_JAIL ? 1 : 0);
        EXPECT_EQ(hospital_flags[m], w.place == WALKER_IN_HOSPITAL ? 1 : 0);
    }
    EXPECT_EQ(jail_flags[MOVER_THIEF], 1);
    EXPECT_EQ(hospital_flags[MOVER_SPY], 1);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        EXPECT_EQ(jail_flags[p] + hospital_flags[p], 0);
    EXPECT_EQ(walker_of_mover(MOVER_ROBOT_DOLL).place, WALKER_OFF_BOARD);
}

TEST_F(NewGameTest, MarketStartsFromTheMapsTableWithItsBaseSummedInSinglePrecision) {
    for (int map = 0; map < 4; ++map) {
        SCOPED_TRACE(map);
        game_price_index = 7;
        game_days_elapsed = 40;
        game_months_elapsed = 2;
        stock_closed_days = 3;
        stock_market_trend = 0.5f;
        stock_history_day = 9;
        stock_price_history[4][9] = 12.0f;
        stock_holdings[1][2].shares = 100;
        lotto_owners[5] = owner_of_seat(1);
        lotto_jackpot = 5000;
        setup_choice[SETUP_MAP] = map;
        ASSERT_TRUE(init());
        float sum = 0.0f;
        for (int i = 0; i < STOCK_COUNT; ++i) {
            EXPECT_EQ(
                std::memcmp(&stock_table[i], &stock_initial_table[map][i], sizeof(StockRecord)), 0);
            sum += stock_initial_table[map][i].reference_price;
        }
        EXPECT_EQ(stock_index_base, static_cast<int32_t>(10.0 * sum));
        EXPECT_EQ(game_price_index, 1);
        EXPECT_EQ(game_days_elapsed, 0);
        EXPECT_EQ(game_months_elapsed, 0);
        EXPECT_EQ(stock_closed_days, 0);
        EXPECT_EQ(stock_market_trend, 0.0f);
        EXPECT_EQ(stock_history_day, 0);
        EXPECT_EQ(stock_price_history[4][9], 0.0f);
        EXPECT_EQ(stock_holdings[1][2].shares, 0);
        EXPECT_EQ(lotto_owners[5], 0);
        EXPECT_EQ(lotto_jackpot, 0);
    }
}

TEST_F(NewGameTest, KeepsTheDateTheMarketIndexTheRotationAndTheClearedMaps) {
    game_date = 0x07CF0A1F;
    stock_market_index = 12345;
    view_rotation = 5;
    campaign_maps_cleared[1] = 1;
    ASSERT_TRUE(init());
    EXPECT_EQ(game_date, 0x07CF0A1Fu);
    EXPECT_EQ(stock_market_index, 12345);
    EXPECT_EQ(view_rotation, 5);
    EXPECT_EQ(campaign_maps_cleared[1], 1);
    campaign_maps_cleared[1] = 0;
}

TEST_F(NewGameTest, AChoiceOutsideItsTableOrAnUnknownCharacterIsRefusedWithNothingChanged) {
    struct Case {
        int index, value;
    };
    const Case cases[] = {{SETUP_PLAYERS, 3},  {SETUP_PLAYERS, -1},  {SETUP_MONEY, 6},
                          {SETUP_TRAVEL, 3},   {SETUP_LAND_TERM, 6}, {SETUP_GAME_TIME, 6},
                          {SETUP_VICTORY, -1}, {SETUP_MAP, 4},       {-1, 12}};
    ASSERT_TRUE(init()); // a game in progress
    player_table[1].cash = 4321;
    const auto players = player_table;
    const auto cards = card_stock;
    const auto items = item_stock;
    const int32_t start = game_start_money;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + " = " + std::to_string(c.value));
        setup_choice = {2, 4, 1, 0, 0, 0, 0};
        if (c.index >= 0)
            setup_choice[c.index] = c.value;
        else
            setup_runners[3].character = static_cast<uint32_t>(c.value) | SETUP_COMPUTER_SEAT;
        std::string error;
        EXPECT_FALSE(new_game_init(&error));
        EXPECT_FALSE(error.empty());
        EXPECT_NE(error.find(std::to_string(c.value)), std::string::npos) << error;
        EXPECT_EQ(std::memcmp(players.data(), player_table.data(), sizeof players), 0);
        EXPECT_EQ(card_stock, cards);
        EXPECT_EQ(item_stock, items);
        EXPECT_EQ(game_start_money, start);
        setup_runners[3].character = SETUP_COMPUTER_SEAT;
    }
    // A seat beyond the player count is not read.
    setup_choice = {0, 1, 0, 0, 0, 0, 0};
    setup_runners[3].character = 200;
    EXPECT_TRUE(new_game_init(nullptr));
}

TEST_F(NewGameTest, CharacterStateKeepsOnlyTheBeatenMarks) {
    character_state = {0, 1, 2, 4, 4, 3, 1, 0, 2, 4, 0, 7};
    setup_rewrite_character_state();
    const std::array<uint8_t, CHARACTER_COUNT> expected = {0, 0, 0, 2, 2, 0, 0, 0, 0, 2, 0, 0};
    EXPECT_EQ(character_state, expected);
}

} // namespace
