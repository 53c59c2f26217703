// A small market world for the stock tests: four computer players, the
// companies of map 0 and a board of three company buildings, a few plots and
// facilities held in the fixture (no map file needed), on a trading day.
#pragma once

#include <gtest/gtest.h>

#include <array>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "board/world_reset.h"
#include "engine/random.h"
#include "finance/assets.h"
#include "finance/stock.h"
#include "finance/trading.h"

class StockWorld : public ::testing::Test {
  protected:
    static constexpr int kCompanies = 3; // buildings 1..3 name stocks 0..2

    std::array<CompanyBuilding, 8> companies{};
    std::array<LandLot, 8> lots{};
    std::array<FacilityLot, 8> facilities{};

    void SetUp() override {
        game_world_reset();
        game_srand(12345);
        game_player_count = 4;
        game_start_money = 200000;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            player_table[p].control = CTRL_COMPUTER;
        stock_new_game(0);
        for (int j = 1; j <= kCompanies; ++j) {
            companies[j].listed = static_cast<uint8_t>(j - 1);
            companies[j].value = 1000000; // 100 yuan a share
        }
        map_company_table = companies.data();
        map_company_count = kCompanies;
        map_lot_table = lots.data();
        map_lot_count = 0;
        map_facility_table = facilities.data();
        map_facility_count = 0;
        stock_link_companies();
        stock_init_company_shares();
        game_date = open_day();
    }

    void TearDown() override {
        map_company_table = nullptr;
        map_company_count = 0;
        map_lot_table = nullptr;
        map_lot_count = 0;
        map_facility_table = nullptr;
        map_facility_count = 0;
    }

    // The first day from 2 March 1998 on which the market trades.
    static uint32_t open_day() {
        for (uint32_t d = 2; d < 28; ++d) {
            const uint32_t date = (1998u << 16) | (3u << 8) | d;
            if (cal_is_holiday(date) == 0) return date;
        }
        return (1998u << 16) | (3u << 8) | 3u;
    }

    // Shares of stock i in the market, with its company and with the players.
    static int64_t shares_everywhere(int i) {
        int64_t n = stock_table[i].market_shares;
        if (const CompanyBuilding* c = stock_company(i)) n += c->own_shares;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            n += stock_holdings[p][i].shares;
        return n;
    }

    // Today's price and yesterday's of stock i.
    static void set_price(int i, float price, float previous) {
        stock_table[i].price = price;
        stock_table[i].previous_price = previous;
    }
};
