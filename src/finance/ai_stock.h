// The computer players' share trading at the start of their turns: first
// stock_ai_buy, then stock_ai_sell, then the bank reserve check (the turn step
// calls them in that order).
#pragma once

#include <cstdint>

// May buy one stock from the deposit.
void stock_ai_buy(int player);
// May sell the whole holding of one stock to the deposit; while a loan falls
// due and cash and deposit do not cover it, keeps selling its best candidates.
void stock_ai_sell(int player);
// Sort order of the buying scores: each word holds the score (signed) in the
// low 16 bits and the stock index in the high 16 bits; a higher score sorts
// first. Negative when a goes before b, positive when after, 0 when equal.
int stock_compare_scores(uint32_t a, uint32_t b);

// The scores of the two decisions, for every stock (0 = not a candidate).
// The buying score reads the budget's deposit gate; both read today's state.
int stock_ai_buy_score(int player, int stock);
int stock_ai_sell_score(int player, int stock, int urgent);
// The buying budget of stock_ai_buy (0 when nothing is to be bought), worked
// in 64 bits and held within the deposit.
int32_t stock_ai_budget(int player);
