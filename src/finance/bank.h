// The bank rules: loans against a player's total assets with a due date,
// deposits, the special financing that the bank company's chairman draws
// from the other players' deposits, the reminders and the forced collection
// of a loan, the two bans that events put on a player, and everything a
// computer player decides at the bank. A human deals through the bank's
// windows, opened through bank_presenter, which call the deal functions
// below; every limit is enforced here.
#pragma once

#include <cstdint>

#include "engine/presenter.h"

// The bank's windows for a human player. Without them nothing is shown and
// nothing is dealt.
struct BankPresenter {
    void (*deposit_window)();
    // finance 1 offers the special-financing page of the bank square serving object.
    void (*loan_counter)(int finance, uint16_t object);
    void (*clerk_reminder)(); // three days before the current player's loan falls due
};
extern PresenterSlot<BankPresenter> bank_presenter;

// The visitor's total assets, set at each loan visit; the loan window reads it.
extern int32_t bank_loan_limit;

// Sets the player's due date to today + 90 days, moved on past days off,
// unless a due date is already set (a later loan never moves it).
void bank_set_loan_due(int player);
// Takes a forced payment: from the deposit, the shortfall from cash; a
// player who cannot pay it all is left with 0 and goes bankrupt.
void bank_charge(int player, int32_t amount);

// The deposit part of a bank visit, for the current mover.
void bank_deposit_visit();
// The loan part of a bank visit, given the object code the bank square serves.
void bank_loan_visit(uint16_t object);
// The loan reminders and forced repayment of the current player, at its turn start.
void bank_check_loan_due();
// Covers the bank company's reserve shortfall (flag 1 after a withdrawal or
// a rebalancing) or, flag 0 after share trades, makes everyone who no longer
// chairs the bank company repay his special financing.
void bank_check_reserves(int flag);

// The bank manager: the chairman of the last bank company building (in table
// order) that has one; -1 when there is none.
int bank_manager();
// 1 when the loan counter offers the special financing to the player: the
// bank square serves a company building that the player chairs.
int bank_finance_offered(int player, uint16_t object);
// The special financing available to the player: the deposits of the other
// three seats.
int64_t bank_finance_total(int player);

// ---------------------------------------------------------------------------
// A human's deals at the bank's windows. Each either does the whole deal or
// refuses with nothing changed.

enum BankDeal : int {
    BANK_DEAL_DONE = 0,
    BANK_DEAL_REFUSED = 1,      // the bank refuses all dealings with the player
    BANK_DEAL_SUSPENDED = 2,    // lending is suspended (borrowing, withdrawing)
    BANK_DEAL_OVER_LIMIT = 3,   // above what may be borrowed (the loan limit, the others' deposits)
    BANK_DEAL_NOTHING_OWED = 4, // repaying with nothing owed, or more than is owed
    BANK_DEAL_SHORT = 5,        // not enough money: repayment above cash + deposit,
                                // a deposit above the cash, a withdrawal above the deposit
    BANK_DEAL_BAD_AMOUNT = 6,   // an amount of 0 or below, or one the accounts cannot hold
    BANK_DEAL_NOT_OFFERED = 7,  // not a player in the game, or special financing not offered
};

// Loan counter: borrows amount (at most bank_loan_limit - loan) into the deposit.
BankDeal bank_borrow(int player, int32_t amount);
// Loan counter: repays amount (at most the loan), deposit first, then cash.
BankDeal bank_repay(int player, int32_t amount);
// Special-financing page of the bank square serving `object`: draws amount
// (at most the others' deposits - special financing) into the deposit.
BankDeal bank_finance_borrow(int player, uint16_t object, int32_t amount);
// Special-financing page: pays back amount (at most the special financing).
BankDeal bank_finance_repay(int player, uint16_t object, int32_t amount);
// Deposit window: cash into the deposit.
BankDeal bank_deposit(int player, int32_t amount);
// Deposit window: deposit into cash (not while lending is suspended), then
// the reserve check.
BankDeal bank_withdraw(int player, int32_t amount);

// ---------------------------------------------------------------------------
// The bank's own record of its operations, kept like the ledger's so that
// whole-game checks can prove that every operation kept its limits.

struct BankAudit {
    int64_t operations;  // every operation below
    int64_t loans;       // borrowed (computer or human)
    int64_t repayments;  // repaid by a computer or a human
    int64_t collections; // collected on or after the due date
    int64_t deposits;
    int64_t withdrawals;
    int64_t rebalances; // a computer's cash and deposit rebalanced
    int64_t finance_loans;
    int64_t finance_repayments;
    int64_t covers;           // the manager covered a reserve shortfall
    int64_t forced_financing; // special financing repaid on a change of chair
    // Broken limits: any of these non-zero is a fault.
    int64_t while_refused;   // a voluntary operation while dealings were refused
    int64_t while_suspended; // borrowing while lending was suspended
    int64_t over_limit;      // a loan above the visit's limit, financing above the deposits
    int64_t bad_due_dates;   // a new due date not a working day 90 or more days on, or
                             // a due date moved by a later loan
    int64_t bad_covers;      // a cover other than the shortfall
    int64_t bad_rebalances;  // a rebalancing that changed cash + deposit
};
const BankAudit& bank_audit();

// Clears the loan limit and the audit (the rest of the bank's state lives in
// the player records).
void bank_reset();
