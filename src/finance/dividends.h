// The dividends of the 15th: each listed company with a building splits its
// earnings of the period among the players in the game by their shares, and
// the period starts again.
#pragma once

#include <array>
#include <cstdint>

#include "board/game_state.h"
#include "finance/stock.h"

// What the dividend screen shows.
struct StockDividends {
    std::array<bool, STOCK_COUNT> linked;      // the company has a building (a row is shown)
    std::array<int32_t, STOCK_COUNT> earnings; // E, the period's earnings before clearing
    std::array<std::array<int32_t, PLAYER_COUNT>, STOCK_COUNT> amount; // per company and player
    std::array<int32_t, PLAYER_COUNT> total;                           // per player
};

// Computes the period's dividends and clears each company's period earnings
// when someone in the game holds its shares (otherwise they keep accumulating).
// Money is not moved.
StockDividends stock_compute_dividends();
// Computes the dividends and pays each positive amount into the holder's
// deposit; a company with negative earnings pays nothing. Run on the 15th,
// before the lottery draw; the dividend screen shows the result.
StockDividends stock_pay_dividends();
