// Share holdings and the trades that change them: buying from the market or
// from the company, selling to the market or into the jackpot, transfers
// between players, the average cost and the ranking of the top holders.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "board/game_state.h"
#include "finance/stock.h"

// One player's shares of one stock (8 bytes, little-endian in files).
struct StockHolding {
    int32_t shares; // shares held
    float avg_cost; // average price paid per share; 0 when none is held
};
static_assert(sizeof(StockHolding) == 8);
static_assert(offsetof(StockHolding, avg_cost) == 4);

inline constexpr size_t STOCK_HOLDING_SIZE = 8;
void stock_holding_write(const StockHolding& h, uint8_t* out);
StockHolding stock_holding_read(const uint8_t* in);

// stock_holdings[player][stock], saved whole, zeroed at a new game.
extern std::array<std::array<StockHolding, STOCK_COUNT>, PLAYER_COUNT> stock_holdings;
// The player holds shares of some stock.
bool trading_holds_shares(int player);

// Zeroes every holding.
void trading_reset();

// Buys n > 0 shares: from the market (deposit pays trunc(n x price); volume
// and market shares drop) or, from_market 0, from a linked company (cash pays
// n x trunc(value / 10000); the company's own shares drop). The caller makes
// sure the money and the shares suffice. Returns 1 when the buyer became
// the chairman (stock_update_manager), else 0.
int stock_buy(int player, int stock, int n, int from_market);
// Sells n <= shares held at today's price; the proceeds go to the deposit, or
// with to_deposit 0 into the lottery jackpot. The market takes the shares back.
void stock_sell(int player, int stock, int n, int to_deposit);
// Re-ranks the player among the four top holders of the stock's company
// building; 1 when the chairman changed.
int stock_update_manager(int player, int stock);
// Moves n > 0 shares of a stock from one player to another, the market
// counters untouched, and re-ranks both. The receiver's average cost takes
// the shares at the price paid for all of them (cost, yuan); the giver's stays
// (0 once he holds none). Returns 1 when done, 0 when the giver holds fewer
// than n shares or the players are the same.
int stock_transfer(int from, int to, int stock, int n, int32_t cost);
// A bankrupt player sells every holding whole into the jackpot.
void stock_sell_all_bankrupt(int player);

// The exchange's rules for the current player's trade in a stock. The result
// says what a click does; with STOCK_TRADE_OK *max_count is the most the
// number pad may offer (buying: the volume or what the deposit pays for,
// selling: the shares held).
enum StockTradeCheck : int {
    STOCK_TRADE_OK = 0,
    STOCK_TRADE_NOTHING = 1, // the click does nothing (closed, suspended, nothing to trade)
    STOCK_TRADE_LIMIT = 2,   // at the day's limit: the limit message shows for 1000 ms
};
inline constexpr const char* STOCK_TEXT_LIMIT_UP = "涨停无法买进！";
inline constexpr const char* STOCK_TEXT_LIMIT_DOWN = "跌停无法卖出！";
inline constexpr uint32_t STOCK_LIMIT_MESSAGE_MS = 1000;
StockTradeCheck stock_exchange_buy_check(int player, int stock, int32_t* max_count);
StockTradeCheck stock_exchange_sell_check(int player, int stock, int32_t* max_count);

// Sum of all players' shares of a stock (players 0 .. game_player_count - 1).
int32_t stock_shares_held(int stock);
