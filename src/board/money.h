// The money ledger: every transfer between two parties of the game (a
// player, a company building of the board, the lottery jackpot) and every
// credit to a player from outside the game goes through here. The ledger
// picks the accounts, cuts a payment down to what the payer has, hands a
// player who cannot pay to the bankruptcy routine before the payee is paid,
// and keeps the two monthly counters of the awards.
//
// Points (the shop currency) are not money but are raised from many places;
// player_add_points is the one way to change them so they never wrap.
#pragma once

#include <cstdint>

// Ledger party ids.
inline constexpr int32_t PARTY_JACKPOT = -1;       // lotto_jackpot, payee only
inline constexpr int32_t PARTY_COMPANY_BASE = 100; // 100 + i: company building i (one-based)
constexpr int32_t party_of_company(int building) {
    return PARTY_COMPANY_BASE + building;
}
constexpr int company_of_party(int32_t party) {
    return party - PARTY_COMPANY_BASE;
}

// Flags of money_pay and money_credit.
inline constexpr uint32_t MONEY_INTO_CASH = 1; // a player payee receives into cash, else deposit
inline constexpr uint32_t MONEY_DEPOSIT_FIRST =
    4; // a player payer pays from deposit first, else cash first

inline constexpr int32_t POINTS_MAX = 65535;

// True for 0..3 (a player seat), -1 (the jackpot, only when as_payee) and
// 101..100 + map_company_count.
bool money_party_valid(int32_t party, bool as_payee);

// Moves amount (yuan, not negative) from payer to payee. A player payer who
// cannot pay everything pays what he has and is eliminated before the payee
// is credited. Returns false, and moves nothing, for an unknown party or a
// negative amount.
bool money_pay(int32_t payer, int32_t payee, int32_t amount, uint32_t flags);

// Adds amount (not negative) to a player's cash (MONEY_INTO_CASH) or deposit
// and to the received-this-month counter. Returns false, and changes
// nothing, for a player id outside 0..3 or a negative amount.
bool money_credit(int32_t player, int32_t amount, uint32_t flags);

// Adds delta (may be negative) to a player's points, held within 0..65535.
// Returns the points now held.
int player_add_points(int player, int32_t delta);

// The ledger's own record of what it moved, kept so that whole-game checks
// can prove that no payment created or destroyed money. taken counts what
// left payers' accounts, given what reached payees'; both count companies
// and the jackpot too.
struct MoneyAudit {
    int64_t taken;
    int64_t given;
    int64_t payments;   // accepted money_pay calls
    int64_t refused;    // money_pay and money_credit calls refused
    int64_t mismatches; // payments whose taken and given differed
    int64_t credited;   // money_credit total
    int64_t bankruptcies;
    int64_t panel_refreshes; // side-panel redraws the ledger asked for and that drew
};
const MoneyAudit& money_audit();

// Clears the audit record (the ledger has no other state).
void money_reset();
