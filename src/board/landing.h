// What the square on which the current mover's move ended does to it: the
// dispatch over the square kinds' table (board/square_kinds.h), and for land
// plots the purchase, upgrade and toll rules with the payment pipeline
// (exemptions, gods, grudge, card rescues, death god, ledger) that the
// facility and company fees share.
#pragma once

#include <cstdint>

#include "board/square_kinds.h" // the wait values the landing returns
#include "engine/presenter.h"

// The toll's name in every toll message.
inline constexpr const char* FEE_NAME_TOLL = "过路费";

// Runs the landing of the current mover (game_active_mover) on square and
// returns the wait byte of its turn end.
uint8_t land_on_square(int square);

// Toll owed to owner (player + 1): with a street, the tolls by level of the
// owner's plain plots of that street; with nullptr, 2000 for each of the
// owner's chain stores. Times the price index. Owner 0 owns nothing.
int32_t land_toll(int owner, const char* street);

// Plots with a chain store owned by owner (player + 1).
int land_count_chain_stores(int owner);
// Plots with a chain store whose owner byte is `owner`, nobody's (0)
// included: the count the information pop-up shows beside a chain store.
int land_chain_store_lots(int owner);

// 1 when the fee of the property of the owner at seat (0..3) with this
// mark byte is due; 0 when it is waived (and the reason was shown).
int fee_check_exemption(int seat, uint8_t mark, const char* fee_name);

// The amount after the payer's attached wealth or poverty god.
int32_t fee_apply_god(int payer, const char* fee_name, int32_t amount);

// 1 when the payer is allowed to reach for a free-pass or scapegoat card:
// a large amount, or more than the payer has.
int fee_card_rescue_due(int payer, int32_t amount);

// What the cards add to a landing on property, filled by the cards module
// (cards/card_use.cpp) with one line; without the cards a toll is paid as
// owed and a ridden vehicle does nothing.
struct LandingCards {
    // The toll total owed by cur to the owner at payee (0..3): the free-pass
    // card may waive it (0 returned), the scapegoat card may put another
    // player in *payer's place; else total.
    int32_t (*toll_rescue)(int cur, int payee, int32_t total, int* payer);
    // What player p's ridden construction vehicle does on square.
    void (*vehicle_arrive)(int p, int square);
};
extern PresenterSlot<LandingCards> landing_cards;

// 1 when a computer player buys property at price.
int land_ai_should_buy(int32_t price);

// Gives a plot or facility bought today its ownership term: the expiry the
// game's land term sets from today, left alone when land is held for good.
void land_set_purchase_expiry(uint32_t& expiry);
