// The stock market's record type and sizes: types only, so the constant
// tables (src/data) can hold the starting records without reaching the rules.
//
// StockRecord is stored whole in save games, so its layout is a file format.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int STOCK_COUNT = 12;           // listed companies per map
inline constexpr int STOCK_MAP_COUNT = 4;        // maps with their own companies
inline constexpr int STOCK_HISTORY_DAYS = 144;   // slots of the price ring
inline constexpr int STOCK_TOTAL_SHARES = 10000; // shares of one company in all
inline constexpr float STOCK_PRICE_MIN = 1.0f;
inline constexpr float STOCK_PRICE_MAX = 9999.0f;

// One listed company (36 bytes, little-endian in files).
struct StockRecord {
    uint32_t name; // handle of the company's name text (see stock_name)
    uint16_t
        building; // initial table: 1 has a building; once linked: CompanyBuilding index, 0 none
    uint8_t suspended_days; // trading suspended while nonzero
    uint8_t forced_move;    // high nibble days of forced rise, low nibble days of forced fall
    uint16_t market_shares; // shares available in the market
    uint16_t volume;        // shares that can still be traded in the market now
    float reference_price;  // the listing price; never changed
    float previous_price;   // yesterday's price
    float price;            // today's price, 1.0 .. 9999.0
    float volatility;       // factor of the daily noise
    float change_pct;       // today's change in percent, carried into tomorrow's
    float noise;            // today's random term before the volatility factor
};
static_assert(sizeof(StockRecord) == 36);
static_assert(offsetof(StockRecord, building) == 4);
static_assert(offsetof(StockRecord, suspended_days) == 6);
static_assert(offsetof(StockRecord, forced_move) == 7);
static_assert(offsetof(StockRecord, market_shares) == 8);
static_assert(offsetof(StockRecord, volume) == 10);
static_assert(offsetof(StockRecord, reference_price) == 12);
static_assert(offsetof(StockRecord, previous_price) == 16);
static_assert(offsetof(StockRecord, price) == 20);
static_assert(offsetof(StockRecord, volatility) == 24);
static_assert(offsetof(StockRecord, change_pct) == 28);
static_assert(offsetof(StockRecord, noise) == 32);
