// Net worth, the price index and the asset lists.
#include "support/stock_world.h"

namespace {

class AssetsTest : public StockWorld {
  protected:
    void SetUp() override {
        StockWorld::SetUp();
        // Plots 1..4 and facilities 1..3.
        map_lot_count = 4;
        map_facility_count = 3;
        for (int i = 1; i <= 4; ++i) {
            lots[i].land_price = static_cast<uint16_t>(1000 * i);
            lots[i].build_price = 500;
            std::snprintf(lots[i].street, sizeof lots[i].street, "street%d", i);
        }
        for (int i = 1; i <= 3; ++i) {
            facilities[i].price = static_cast<uint16_t>(10000 * i);
            facilities[i].fee[0] = 2000; // upgrade price
            facilities[i].fee[1] = 300;
            facilities[i].fee[2] = 600;
        }
    }
};

TEST_F(AssetsTest, NetWorthCountsMoneySharesAndProperty) {
    PlayerRecord& p = player_table[0];
    p.cash = 1000;
    p.deposit = 5000;
    p.loan = 2000;
    p.special_financing = 99999; // not counted
    EXPECT_EQ(asset_net_worth(0), 4000);
    stock_holdings[0][3] = {10, 180.0f}; // 1800 at today's price
    stock_holdings[0][5] = {3, 1.0f};
    set_price(5, 12.35f, 12.0f); // 37.05: truncated after the addition
    EXPECT_EQ(asset_shares_value(0), 1837);
    stock_holdings[1][6] = {10, 20.0f};
    set_price(6, 21.9f, 20.0f); // 218.99999...: the product is not rounded first
    EXPECT_EQ(asset_shares_value(1), 218);
    EXPECT_EQ(asset_net_worth(0), 4000 + 1837);
    lots[1].owner = owner_of_seat(0);
    lots[1].level = 3; // 1000 + 3 x 500
    lots[2].owner = owner_of_seat(0);
    lots[2].level = 4;
    lots[2].chain_store = 1;          // 2000 + one build price, whatever the level
    lots[3].owner = owner_of_seat(1); // another player's
    facilities[2].owner = owner_of_seat(0);
    facilities[2].level = 2;                  // 20000 + 2 x 2000
    companies[1].chairman = owner_of_seat(0); // company buildings are not counted
    EXPECT_EQ(asset_net_worth(0), 5837 + 2500 + 2500 + 24000);
    game_price_index = 7; // raw prices: the index is not applied
    EXPECT_EQ(asset_net_worth(0), 5837 + 2500 + 2500 + 24000);
    EXPECT_EQ(asset_net_worth(4), 0);
}

TEST_F(AssetsTest, LargeTotalsLoseLowDigitsAndNegativeOnesStay) {
    PlayerRecord& p = player_table[1];
    p.deposit = 30000001; // beyond 2^24: the sum is single precision
    stock_holdings[1][3] = {1, 0.0f};
    set_price(3, 2.0f, 2.0f);
    EXPECT_EQ(asset_net_worth(1), static_cast<int32_t>(static_cast<float>(30000001) + 2.0f));
    p.deposit = 0;
    p.loan = 50000;
    EXPECT_EQ(asset_net_worth(1), -49998);
    p.cash = INT32_MAX;
    p.deposit = INT32_MAX;
    p.loan = 0;
    stock_holdings[1][3] = {0, 0.0f};
    EXPECT_EQ(asset_net_worth(1), INT32_MAX); // held, not wrapped
}

TEST_F(AssetsTest, PriceIndexRisesWithTheAverageAndNeverFalls) {
    game_player_count = 2;
    player_table[2].control = 0;
    player_table[3].control = 0;
    player_table[0].cash = 399999;
    player_table[1].cash = 399999;
    asset_update_price_index();
    EXPECT_EQ(game_price_index, 1);
    player_table[1].cash = 400001;
    asset_update_price_index();
    EXPECT_EQ(game_price_index, 2);
    player_table[0].cash = -5000000; // a negative total lowers the average only
    asset_update_price_index();
    EXPECT_EQ(game_price_index, 2);
    // A bankrupt player does not count.
    player_table[0].control = 0;
    player_table[1].cash = 1200000;
    asset_update_price_index();
    EXPECT_EQ(game_price_index, 6);
}

TEST_F(AssetsTest, PriceIndexSumDoesNotOverflow) {
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p].cash = 1000000000;
        player_table[p].deposit = 1000000000;
    }
    game_start_money = 200000;
    asset_update_price_index();
    EXPECT_EQ(game_price_index, 2000000000 / 200000);
    game_start_money = 0; // a broken setting changes nothing
    asset_update_price_index();
    EXPECT_EQ(game_price_index, 10000);
}

TEST_F(AssetsTest, PropertyListsFilterAndPage) {
    lots[1].owner = owner_of_seat(0);
    lots[2].owner = owner_of_seat(0);
    lots[2].level = 2;
    lots[3].owner = owner_of_seat(0);
    lots[3].chain_store = 1;
    lots[3].level = 1;
    lots[4].owner = owner_of_seat(1);
    facilities[1].owner = owner_of_seat(0);
    facilities[3].owner = owner_of_seat(0);
    struct FilterCase {
        int filter;
        std::vector<uint16_t> codes;
    };
    const FilterCase cases[] = {
        {0, {2001, 2002, 2003, 4001, 4003}},
        {1, {2001, 2002, 2003}},
        {2, {4001, 4003}},
        {3, {2002}},
        {4, {2003}},
    };
    for (const FilterCase& c : cases) {
        ASSERT_EQ(asset_list_properties(0, c.filter), static_cast<int>(c.codes.size())) << c.filter;
        for (size_t k = 0; k < c.codes.size(); ++k)
            EXPECT_EQ(asset_property_list[k], c.codes[k]);
    }
    EXPECT_EQ(asset_list_properties(3, 0), 0);
    EXPECT_EQ(asset_page_down(), 0);
    EXPECT_EQ(asset_page_up(), 0);
    // 25 rows: two pages down, then no further.
    map_lot_count = 7;
    for (int i = 1; i <= 7; ++i)
        lots[i].owner = owner_of_seat(0);
    asset_list_properties(0, 0);
    asset_property_count = 25;
    EXPECT_EQ(asset_page_down(), 1);
    EXPECT_EQ(asset_page_down(), 1);
    EXPECT_EQ(asset_first_row, 20);
    EXPECT_EQ(asset_page_down(), 0);
    EXPECT_EQ(asset_page_up(), 1);
    EXPECT_EQ(asset_page_up(), 1);
    EXPECT_EQ(asset_page_up(), 0);
    asset_property_count = 20; // exactly two pages: the third is empty and not shown
    EXPECT_EQ(asset_page_down(), 1);
    EXPECT_EQ(asset_page_down(), 0);
}

TEST_F(AssetsTest, SummaryAndLandRows) {
    lots[1].owner = owner_of_seat(0);
    lots[1].level = 2;
    lots[2].owner = owner_of_seat(0);
    lots[2].chain_store = 1;
    lots[2].level = 1;
    facilities[1].owner = owner_of_seat(0);
    facilities[1].level = 2;
    facilities[1].kind = FK_HOTEL;
    facilities[2].owner = owner_of_seat(0);
    companies[2].chairman = owner_of_seat(0);
    const AssetSummary s = asset_summary(0);
    EXPECT_EQ(s.properties, 4);
    EXPECT_EQ(s.chain_stores, 1);
    EXPECT_EQ(s.houses, 1);
    EXPECT_EQ(s.facilities_built, 1);
    EXPECT_EQ(s.chaired, 1);
    game_price_index = 3;
    const AssetRow plot = asset_row(2001);
    EXPECT_FALSE(plot.facility);
    EXPECT_EQ(plot.price, (500 * 2 + 1000) * 3); // the page shows scaled prices
    const AssetRow hotel = asset_row(4001);
    EXPECT_TRUE(hotel.facility);
    EXPECT_EQ(hotel.price, (2000 * 2 + 10000) * 3);
    EXPECT_EQ(hotel.fee, 600 * 3);
    EXPECT_EQ(asset_row(4002).fee, 0); // nothing built
    EXPECT_EQ(asset_row(9999).price, 0);
    player_table[1].control = 0;
    std::array<uint8_t, 4> tabs{};
    EXPECT_EQ(asset_player_tabs(tabs), 3);
    EXPECT_EQ(tabs[0], 0);
    EXPECT_EQ(tabs[1], 2);
    EXPECT_EQ(tabs[2], 3);
    EXPECT_EQ(tabs[3], ASSET_NO_TAB);
}

} // namespace
