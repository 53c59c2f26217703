// The stock market: the twelve listed companies of the current map, their
// 144-day price history, the market-wide values and the rules by which prices
// move (the daily random walk with its value bands, whole price ticks, forced
// limit moves, suspension, the daily tradable volume).
//
// StockRecord is stored whole in save games, so its layout is a file format.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "finance/stock_types.h"

inline constexpr size_t STOCK_RECORD_SIZE = 36;
void stock_record_write(const StockRecord& r, uint8_t* out);
StockRecord stock_record_read(const uint8_t* in);

// Forced-move bytes the cards set before stock_force_move: today and one more day.
inline constexpr uint8_t STOCK_FORCE_RISE = 0x20;
inline constexpr uint8_t STOCK_FORCE_FALL = 0x02;

// Result of stock_move_class.
enum StockMove : int {
    MOVE_UP = 0,
    MOVE_LIMIT_UP = 1,
    MOVE_DOWN = 2,
    MOVE_LIMIT_DOWN = 3,
    MOVE_FLAT = 4,
};

// ---------------------------------------------------------------------------
// Market state (all saved)

extern std::array<StockRecord, STOCK_COUNT> stock_table;
extern std::array<std::array<float, STOCK_HISTORY_DAYS>, STOCK_COUNT> stock_price_history;
extern int32_t stock_history_day;  // ring slot the next daily update writes, 0..143
extern int32_t stock_market_index; // trunc(10 x the sum of the twelve prices)
extern int32_t stock_index_base;   // trunc(10 x the sum of the reference prices), at a new game
extern float stock_market_trend;   // market-wide term of the last daily update
extern int32_t stock_closed_days;  // days the whole market stays closed (day-counter rule)

// Clears the whole market: every record, the history, the ring slot, the
// index, its base, the trend and the closed days.
void stock_reset();

// The stock part of a new game: stock_table from stock_initial_table[map],
// history, trend and closed days cleared, stock_index_base computed.
void stock_new_game(int map);

// Name text of stock i (0-based) of the current table.
const char* stock_name(int i);
// Binds the names again after stock_table was read from a file: row i takes
// the name of row i of the map's initial table.
void stock_rebind_names(int map);

// ---------------------------------------------------------------------------
// Operations

// After the map data is loaded: each stock whose building flag is set gets the
// index of the (last) company building that names it.
void stock_link_companies();
// On a new game, after stock_link_companies: every company building holds
// 10000 minus the market shares of its listed company.
void stock_init_company_shares();
// 1 when the market is closed today (closed days running, or a holiday).
int stock_market_closed();
// The price after a move of pct percent from prev, cut back toward prev to a
// whole number of ticks of the new price's band, clamped to 1.0 .. 9999.0.
float stock_price_step(float prev, float pct);
// The day's prices (once per new day, and once when a new game starts).
void stock_daily_update();
// The forced limit move of stock k (1..12), or with k = 0 of every stock
// whose forced_move byte is set.
void stock_force_move(int k);
// The tradable volume of all twelve stocks (each player's turn start, map load).
void stock_roll_volume();
// Counts the stock counters at a new day, before the daily update: suspension
// and forced moves drop by one day, the market's closed days follow the
// day-counter rule.
void stock_count_day_counters();
// Today's move of stock i (0-based).
StockMove stock_move_class(int i);
// 0, 1 or 2: a price is shown with 2 - class decimals.
int stock_format_class(float price);

// The company building stock i (0-based) is linked to, or nullptr for an
// unlinked stock (or a building index the map does not have).
struct CompanyBuilding;
CompanyBuilding* stock_company(int i);

// A linked company's average earnings per month elapsed (all-time earnings
// when no month has passed yet); 0 for an unlinked stock.
int64_t stock_average_earnings(int i);

// Ring slot of the latest price (stock_history_day - 1, or 143 when 0).
int stock_latest_slot();
// Mean of the nonzero entries among the last n history slots of stock i,
// walking back from the latest; 0 when all are 0.
float stock_history_average(int i, int n);
// Highest and lowest nonzero entries of the whole history of stock i
// (0 and 10000.0 when there is none).
float stock_history_high(int i);
float stock_history_low(int i);
