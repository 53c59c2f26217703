// The offer of a company's own shares to the player who lands on its
// building: the price per share, how many may be bought, the human's answer
// (yes or no, then the count on the number pad) or the computer's budget.
#pragma once

#include <cstdint>

// Offers new shares of company building `company` (one-based) to player.
void land_offer_shares(int player, int company);
// Shares a computer player (the current mover) subscribes at price_per_share,
// at most maximum; 0 for a price of 0 or less.
int land_ai_shares_to_buy(int32_t price_per_share, int32_t maximum);
// The largest offer to player at company: min(cash / price, 1000, shares the
// company holds); 0 when there is nothing to offer (price 0 included).
int32_t land_share_offer_limit(int player, int company);
