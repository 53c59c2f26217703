#include "finance/bank.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/square_kinds.h"
#include "board/turn_flow.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/util.h"
#include "finance/assets.h"

int32_t bank_loan_limit = 0;

constinit PresenterSlot<BankPresenter> bank_presenter{BankPresenter{
    [] {},
    [](int, uint16_t) {},
    [] {},
}};

namespace {

constexpr int64_t I32_MAX = std::numeric_limits<int32_t>::max();
constexpr int64_t I32_MIN = std::numeric_limits<int32_t>::min();
constexpr int32_t LOAN_DAYS = 90;
// A computer this poor considers borrowing on every visit (not scaled by the price index).
constexpr int64_t POOR_BELOW = 30000;

BankAudit audit{};

// The turn bits of the control byte say nothing about who plays the seat; a
// human handed over to the computer is the computer's here.
bool plays_by_hand(const PlayerRecord& r) {
    return (r.control & ~CTRL_TURN_BITS) == CTRL_HUMAN;
}

bool in_game(int p) {
    return is_player_seat(p) && p < game_player_count && player_table[p].control != CTRL_OUT;
}

// Takes amount from the deposit first and the rest from cash; the caller
// has made sure that the two hold it.
void take_deposit_first(PlayerRecord& r, int64_t amount) {
    int64_t deposit = int64_t{r.deposit} - amount;
    int64_t cash = r.cash;
    if (deposit < 0) {
        cash += deposit;
        deposit = 0;
    }
    r.deposit = static_cast<int32_t>(deposit);
    r.cash = static_cast<int32_t>(cash);
}

// Deposits of the players in the game other than m: the reserves behind m's
// special financing.
int64_t others_deposits(int m) {
    int64_t sum = 0;
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p)
        if (p != m && player_table[p].control != CTRL_OUT) sum += player_table[p].deposit;
    return sum;
}

// ---------------------------------------------------------------------------
// The audit: every operation is recorded with the player's accounts before
// it, and its limits are checked against the accounts after it.

enum class Op {
    Borrow,
    Repay,
    Collect,
    Deposit,
    Withdraw,
    Rebalance,
    FinanceBorrow,
    FinanceRepay,
    Cover,
    ForcedFinancing,
};

// The audit's count of each operation, in the order of Op.
constexpr int64_t BankAudit::*op_counters[] = {
    &BankAudit::loans,           &BankAudit::repayments,         &BankAudit::collections,
    &BankAudit::deposits,        &BankAudit::withdrawals,        &BankAudit::rebalances,
    &BankAudit::finance_loans,   &BankAudit::finance_repayments, &BankAudit::covers,
    &BankAudit::forced_financing};
static_assert(std::size(op_counters) == static_cast<size_t>(Op::ForcedFinancing) + 1);

struct Before {
    int player;
    PackedDate date;
    int64_t cash, deposit, loan, financing;
    PackedDate due;
    uint8_t refusal, suspension;
};

Before before(int p) {
    const PlayerRecord& r = player_table[p];
    return Before{p,
                  game_date,
                  r.cash,
                  r.deposit,
                  r.loan,
                  r.special_financing,
                  r.loan_due,
                  r.bank_refusal_days,
                  r.bank_suspension_days};
}

// `limit`: for a loan the visit's loan limit, for special financing the
// others' deposits.
void record(Op op, const Before& b, int64_t limit) {
    const PlayerRecord& r = player_table[b.player];
    ++audit.operations;
    ++(audit.*op_counters[static_cast<int>(op)]);
    const bool forced = op == Op::Collect || op == Op::Cover || op == Op::ForcedFinancing;
    if (!forced && b.refusal != 0) ++audit.while_refused;
    const bool borrowing = op == Op::Borrow || op == Op::FinanceBorrow;
    if (borrowing && b.suspension != 0) ++audit.while_suspended;

    if (op == Op::Borrow) {
        if (r.loan > limit) ++audit.over_limit;
        const bool due_ok = b.due == 0 ? r.loan_due != 0 && cal_is_holiday(r.loan_due) == 0 &&
                                             cal_days_between(b.date, r.loan_due) >= LOAN_DAYS
                                       : r.loan_due == b.due;
        if (!due_ok) ++audit.bad_due_dates;
    }
    if (op == Op::FinanceBorrow && r.special_financing > limit) ++audit.over_limit;
    if (op == Op::Cover) {
        // The others' deposits, which the cover leaves as they were.
        const int64_t reserves = others_deposits(b.player);
        const int64_t shortfall = b.financing - reserves;
        const int64_t paid = (b.cash + b.deposit) - (int64_t{r.cash} + r.deposit);
        // A manager who could not pay it all went bankrupt with nothing left.
        const bool ok = r.control == CTRL_OUT
                            ? paid <= shortfall && r.special_financing == 0
                            : shortfall > 0 && paid == shortfall && r.special_financing == reserves;
        if (!ok) ++audit.bad_covers;
    }
    if (op == Op::Rebalance && int64_t{r.cash} + r.deposit != b.cash + b.deposit)
        ++audit.bad_rebalances;
}

// ---------------------------------------------------------------------------
// A computer at the bank

// Keeps the chosen share of cash + deposit in cash, more early in the month
// and less late in it.
void computer_rebalance(int p) {
    PlayerRecord& r = player_table[p];
    const int64_t c = r.cash;
    const int64_t total = c + r.deposit;
    const int day = cal_day(game_date);
    double t = r.cash_pct / 100.0;
    if (day <= 7) t *= 1.5;
    if (day >= 26) t *= 0.5;
    if (t >= 1.0)
        t = 0.9;
    else if (t <= 0)
        t = 0.1;
    // With nothing at all the share of cash is 0 (and, as cash is 0, it is
    // rebalanced all the same).
    const float s = total == 0 ? 0.0f : static_cast<float>(c) / static_cast<float>(total);
    const double off = s - t;
    if (off > -0.25 && off < 0.25 && c != 0) return;

    const Before b = before(p);
    int64_t cash = static_cast<int64_t>(std::trunc(static_cast<double>(total) * t));
    // Both accounts must hold their part: what one cannot hold stays in the other.
    cash = std::clamp(cash, std::max(total - I32_MAX, I32_MIN), std::min(I32_MAX, total - I32_MIN));
    r.cash = static_cast<int32_t>(cash);
    r.deposit = static_cast<int32_t>(total - cash);
    record(Op::Rebalance, b, 0);
    board_refresh_actor_panel(p);
    bank_check_reserves(1);
}

// Repays the whole loan when the deposit is more than twice it, or when it
// falls due within 6 days and the money covers 1.1 times it.
void computer_repay(int p) {
    PlayerRecord& r = player_table[p];
    const int64_t loan = r.loan;
    const bool rich = 2 * loan < r.deposit;
    const bool due_soon =
        cal_days_between(game_date, r.loan_due) <= 6 &&
        static_cast<double>(r.cash) + r.deposit >= 1.1 * static_cast<double>(loan);
    if (!rich && !due_soon) return;
    const Before b = before(p);
    const int32_t amount = r.loan;
    bank_charge(p, amount);
    r.loan = 0;
    r.loan_due = 0;
    record(Op::Repay, b, 0);
    char text[128];
    std::snprintf(text, sizeof text, "%s\n\n偿还银行贷款\n\n%d元", player_plain_name(p).c_str(),
                  amount);
    msg_show(text, MSG_STANDARD_MS);
}

// One visit in ten, and every visit while poor, borrows the computer's share
// of the loan limit.
void computer_borrow(int p) {
    PlayerRecord& r = player_table[p];
    const int roll = game_rand();
    if (roll % 10 != 0 && int64_t{r.cash} + r.deposit >= POOR_BELOW) return;
    if (r.bank_suspension_days != 0 || r.loan_pct == 0) return;
    // In 64 bits: the product overflows 32 bits for a large limit, and a
    // negative limit (debts above the assets) lends nothing.
    int64_t amount = int64_t{r.loan_pct} * bank_loan_limit / 100;
    amount = std::min(amount, I32_MAX - r.deposit); // what the deposit can hold
    if (amount <= 0) return;
    const Before b = before(p);
    r.loan = static_cast<int32_t>(amount);
    r.deposit = static_cast<int32_t>(r.deposit + amount);
    bank_set_loan_due(p);
    record(Op::Borrow, b, bank_loan_limit);
    char text[128];
    std::snprintf(text, sizeof text, "%s\n\n向银行贷款\n\n%d元", player_plain_name(p).c_str(),
                  r.loan);
    msg_show(text, MSG_STANDARD_MS);
}

// The current mover is set to p while the bank tells it something, so that
// the board follows p.
class MoverFor {
  public:
    explicit MoverFor(int p) : saved_(game_active_mover) {
        game_active_mover = p;
        board_repaint_all();
    }
    ~MoverFor() {
        game_active_mover = saved_;
        board_repaint_all();
    }
    MoverFor(const MoverFor&) = delete;
    MoverFor& operator=(const MoverFor&) = delete;

  private:
    int saved_;
};

void reserve_cover(int m) {
    if (m < 0 || m == game_active_mover) return;
    PlayerRecord& r = player_table[m];
    if (r.special_financing == 0) return;
    const int64_t reserves = others_deposits(m);
    if (reserves >= r.special_financing) return;
    const int64_t shortfall = r.special_financing - reserves;
    MoverFor mover(m);
    char text[160];
    std::snprintf(text, sizeof text, "银行资金准备\n\n不足%d元\n\n由经营者%s垫付！",
                  static_cast<int32_t>(shortfall), player_plain_name(m).c_str());
    msg_show(text, 2500);
    const Before b = before(m);
    bank_charge(m, static_cast<int32_t>(shortfall));
    r.special_financing =
        static_cast<int32_t>(std::max<int64_t>(0, r.special_financing - shortfall));
    record(Op::Cover, b, 0);
}

void chair_changed(int m) {
    for (int i = 0; i < game_player_count && i < PLAYER_COUNT; ++i) {
        PlayerRecord& r = player_table[i];
        if (i == m || r.control == CTRL_OUT || r.special_financing == 0) continue;
        MoverFor mover(i);
        msg_show("银行经营权易主！", MSG_STANDARD_MS);
        char text[160];
        std::snprintf(text, sizeof text, "%s\n\n强制偿还%d元\n\n银行特别融资！",
                      player_plain_name(i).c_str(), r.special_financing);
        msg_show(text, MSG_STANDARD_MS);
        const Before b = before(i);
        bank_charge(i, r.special_financing);
        r.special_financing = 0;
        record(Op::ForcedFinancing, b, 0);
    }
}

// The refusals every deal shares.
BankDeal deal_open(int p) {
    if (!in_game(p)) return BANK_DEAL_NOT_OFFERED;
    if (player_table[p].bank_refusal_days != 0) return BANK_DEAL_REFUSED;
    return BANK_DEAL_DONE;
}

// A repayment of amount against what is owed.
BankDeal repay_refusal(const PlayerRecord& r, int64_t owed, int32_t amount) {
    if (owed <= 0) return BANK_DEAL_NOTHING_OWED;
    if (amount <= 0) return BANK_DEAL_BAD_AMOUNT;
    if (amount > owed) return BANK_DEAL_NOTHING_OWED;
    if (amount > int64_t{r.cash} + r.deposit) return BANK_DEAL_SHORT;
    return BANK_DEAL_DONE;
}

} // namespace

// ---------------------------------------------------------------------------
// Rules

void bank_set_loan_due(int player) {
    if (!is_player_seat(player)) return;
    PlayerRecord& r = player_table[player];
    if (r.loan_due != 0) return;
    PackedDate due = cal_add_days(game_date, LOAN_DAYS);
    while (cal_is_holiday(due))
        cal_next_day(due);
    r.loan_due = due;
}

void bank_charge(int player, int32_t amount) {
    if (!is_player_seat(player) || amount <= 0) return;
    PlayerRecord& r = player_table[player];
    int64_t deposit = int64_t{r.deposit} - amount;
    int64_t cash = r.cash;
    if (deposit < 0) {
        cash += deposit;
        deposit = 0;
    }
    r.deposit = static_cast<int32_t>(deposit);
    if (cash < 0) {
        r.cash = 0;
        player_go_bankrupt(player);
        return;
    }
    r.cash = static_cast<int32_t>(cash);
}

void bank_deposit_visit() {
    const int p = game_active_mover;
    if (!is_player_seat(p)) return;
    const PlayerRecord& r = player_table[p];
    if (r.bank_refusal_days != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "银行拒绝往来\n\n还剩%d天！",
                      status_days_left(r.bank_refusal_days));
        msg_show(text, 1000);
        return;
    }
    if (plays_by_hand(r))
        bank_presenter().deposit_window();
    else
        computer_rebalance(p);
}

void bank_loan_visit(uint16_t object) {
    const int p = game_active_mover;
    if (!is_player_seat(p)) return;
    const PlayerRecord& r = player_table[p];
    if (r.bank_refusal_days != 0) return; // the deposit visit has told the player
    bank_loan_limit = asset_net_worth(p);
    if (plays_by_hand(r))
        bank_presenter().loan_counter(bank_finance_offered(p, object), object);
    else if (r.loan != 0)
        computer_repay(p);
    else
        computer_borrow(p);
}

void bank_check_loan_due() {
    const int p = game_active_mover;
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    // Without a loan (no due date) the days are negative.
    int32_t n = r.loan_due == 0 ? -1 : cal_days_between(game_date, r.loan_due);
    if (n > 3) return;
    board_repaint(1);
    if (r.loan_due == 0) return;
    // A due date that went by unchecked (a skipped day) is collected now, as
    // on the day itself.
    if (n < 0) n = 0;
    switch (n) {
    case 3:
        if (plays_by_hand(r)) bank_presenter().clerk_reminder();
        break;
    case 2:
        msg_show("距贷款到期日\n\n还剩２天！", MSG_STANDARD_MS);
        break;
    case 1:
        msg_show("距贷款到期日\n\n还剩１天！", MSG_STANDARD_MS);
        break;
    default: {
        msg_show("贷款到期日\n\n强制执行！", MSG_STANDARD_MS);
        const Before b = before(p);
        bank_charge(p, r.loan);
        r.loan = 0;
        r.loan_due = 0;
        record(Op::Collect, b, 0);
        break;
    }
    }
}

void bank_check_reserves(int flag) {
    const int m = bank_manager();
    if (flag == 1)
        reserve_cover(m);
    else if (flag == 0)
        chair_changed(m);
}

int bank_manager() {
    int m = -1;
    for (int i = 1; map_company_table != nullptr && i <= map_company_count; ++i) {
        const CompanyBuilding& c = map_company_table[i];
        if (c.kind == COMPANY_KIND_BANK && c.chairman != 0 && c.chairman <= PLAYER_COUNT)
            m = seat_of_owner(c.chairman);
    }
    return m;
}

int bank_finance_offered(int player, uint16_t object) {
    if (!is_player_seat(player)) return 0;
    if (object <= OBJ_COMPANY_BASE || object > OBJ_COMPANY_BASE + OBJ_RANGE) return 0;
    const int i = object - OBJ_COMPANY_BASE;
    if (map_company_table == nullptr || i > map_company_count) return 0;
    return owner_is_seat(map_company_table[i].chairman, player) ? 1 : 0;
}

int64_t bank_finance_total(int player) {
    int64_t sum = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != player) sum += player_table[p].deposit;
    return sum;
}

// ---------------------------------------------------------------------------
// A human's deals

BankDeal bank_borrow(int player, int32_t amount) {
    if (BankDeal d = deal_open(player); d != BANK_DEAL_DONE) return d;
    PlayerRecord& r = player_table[player];
    if (r.bank_suspension_days != 0) return BANK_DEAL_SUSPENDED;
    if (amount <= 0) return BANK_DEAL_BAD_AMOUNT;
    if (r.loan >= bank_loan_limit || amount > int64_t{bank_loan_limit} - r.loan)
        return BANK_DEAL_OVER_LIMIT;
    if (int64_t{r.deposit} + amount > I32_MAX) return BANK_DEAL_BAD_AMOUNT;
    const Before b = before(player);
    r.deposit += amount;
    r.loan += amount;
    bank_set_loan_due(player);
    record(Op::Borrow, b, bank_loan_limit);
    return BANK_DEAL_DONE;
}

BankDeal bank_repay(int player, int32_t amount) {
    if (BankDeal d = deal_open(player); d != BANK_DEAL_DONE) return d;
    PlayerRecord& r = player_table[player];
    if (BankDeal d = repay_refusal(r, r.loan, amount); d != BANK_DEAL_DONE) return d;
    const Before b = before(player);
    take_deposit_first(r, amount);
    r.loan -= amount;
    if (r.loan == 0) r.loan_due = 0;
    record(Op::Repay, b, 0);
    return BANK_DEAL_DONE;
}

BankDeal bank_finance_borrow(int player, uint16_t object, int32_t amount) {
    if (BankDeal d = deal_open(player); d != BANK_DEAL_DONE) return d;
    if (!bank_finance_offered(player, object)) return BANK_DEAL_NOT_OFFERED;
    PlayerRecord& r = player_table[player];
    if (r.bank_suspension_days != 0) return BANK_DEAL_SUSPENDED;
    const int64_t total = bank_finance_total(player);
    if (r.special_financing >= total) return BANK_DEAL_OVER_LIMIT;
    if (amount <= 0) return BANK_DEAL_BAD_AMOUNT;
    if (amount > total - r.special_financing) return BANK_DEAL_OVER_LIMIT;
    if (int64_t{r.deposit} + amount > I32_MAX || int64_t{r.special_financing} + amount > I32_MAX)
        return BANK_DEAL_BAD_AMOUNT;
    const Before b = before(player);
    r.deposit += amount;
    r.special_financing += amount;
    record(Op::FinanceBorrow, b, total);
    return BANK_DEAL_DONE;
}

BankDeal bank_finance_repay(int player, uint16_t object, int32_t amount) {
    if (BankDeal d = deal_open(player); d != BANK_DEAL_DONE) return d;
    if (!bank_finance_offered(player, object)) return BANK_DEAL_NOT_OFFERED;
    PlayerRecord& r = player_table[player];
    if (BankDeal d = repay_refusal(r, r.special_financing, amount); d != BANK_DEAL_DONE) return d;
    const Before b = before(player);
    take_deposit_first(r, amount);
    r.special_financing -= amount;
    record(Op::FinanceRepay, b, 0);
    return BANK_DEAL_DONE;
}

BankDeal bank_deposit(int player, int32_t amount) {
    if (BankDeal d = deal_open(player); d != BANK_DEAL_DONE) return d;
    PlayerRecord& r = player_table[player];
    if (amount <= 0) return BANK_DEAL_BAD_AMOUNT;
    if (amount > r.cash) return BANK_DEAL_SHORT;
    if (int64_t{r.deposit} + amount > I32_MAX) return BANK_DEAL_BAD_AMOUNT;
    const Before b = before(player);
    r.cash -= amount;
    r.deposit += amount;
    record(Op::Deposit, b, 0);
    return BANK_DEAL_DONE;
}

BankDeal bank_withdraw(int player, int32_t amount) {
    if (BankDeal d = deal_open(player); d != BANK_DEAL_DONE) return d;
    PlayerRecord& r = player_table[player];
    if (r.bank_suspension_days != 0) return BANK_DEAL_SUSPENDED;
    if (amount <= 0) return BANK_DEAL_BAD_AMOUNT;
    if (amount > r.deposit) return BANK_DEAL_SHORT;
    if (int64_t{r.cash} + amount > I32_MAX) return BANK_DEAL_BAD_AMOUNT;
    const Before b = before(player);
    r.deposit -= amount;
    r.cash += amount;
    record(Op::Withdraw, b, 0);
    bank_check_reserves(1);
    return BANK_DEAL_DONE;
}

const BankAudit& bank_audit() {
    return audit;
}

void bank_reset() {
    bank_loan_limit = 0;
    audit = BankAudit{};
}

WORLD_RESET(WORLD_RESET_BANK, bank_reset)

TURN_STEP(TURN_STEP_RESERVES, [](int) { bank_check_reserves(0); })
TURN_STEP(TURN_STEP_LOAN_DUE, [](int) { bank_check_loan_due(); })
namespace {
uint8_t land_bank(int, int, int code) {
    bank_deposit_visit();
    if (game_end_code == 0) bank_loan_visit(static_cast<uint16_t>(code));
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_BANK, land_bank, SQUARE_SOUND_VISIT)
