#include "finance/bank.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>
#include <string>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/util.h"
#include "finance/assets.h"
#include "shell/screen.h"
#include "support/test_board.h"

namespace {

constexpr int32_t I32_MAX = std::numeric_limits<int32_t>::max();
constexpr PackedDate MID_MONTH = cal_pack(1998, 1, 15); // a Thursday, no holiday
constexpr uint16_t BANK_OBJECT = OBJ_COMPANY_BASE + 2;  // company building 2 is the bank

// Four computer players on a small board whose company building 2 is the
// bank company; money is set per test.
class BankTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        screen_depth = 0;
        ASSERT_TRUE(test_board_load());
        game_srand(4242);
        game_player_count = 4;
        game_date = MID_MONTH;
        for (int p = 0; p < 4; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].square = static_cast<uint16_t>(p + 1);
            player_table[p].loan_pct = 50;
            player_table[p].cash_pct = 50;
        }
        map_company_table[2].kind = COMPANY_KIND_BANK;
        game_active_mover = 0;
        shown_clear();
    }
    void TearDown() override { game_world_reset(); }

    static PlayerRecord& pl(int p) { return player_table[p]; }
    static void money(int p, int32_t cash, int32_t deposit, int32_t loan = 0) {
        pl(p).cash = cash;
        pl(p).deposit = deposit;
        pl(p).loan = loan;
    }
    static void set_chair(int building, int player) {
        map_company_table[building].chairman = owner_of_seat(player);
    }
    static size_t messages() { return shown_count(Shown::Message); }
    static bool told(const char* text) {
        for (const ShownEvent& e : shown_log())
            if (e.kind == Shown::Message && e.text == text) return true;
        return false;
    }
    static void expect_limits_kept() {
        const BankAudit& a = bank_audit();
        EXPECT_EQ(a.while_refused, 0);
        EXPECT_EQ(a.while_suspended, 0);
        EXPECT_EQ(a.over_limit, 0);
        EXPECT_EQ(a.bad_due_dates, 0);
        EXPECT_EQ(a.bad_covers, 0);
        EXPECT_EQ(a.bad_rebalances, 0);
    }
};

// ---------------------------------------------------------------------------
// Due date, charge, manager

TEST_F(BankTest, DueDateIsNinetyDaysOnMovedPastDaysOffAndKeptByALaterLoan) {
    struct Case {
        PackedDate today, due;
    };
    const Case cases[] = {
        {cal_pack(1998, 1, 8), cal_pack(1998, 4, 8)}, // a Wednesday: kept
        {cal_pack(1998, 1, 4), cal_pack(1998, 4, 6)}, // 4 April a day off, 5 April a Sunday
        {cal_pack(1998, 1, 5), cal_pack(1998, 4, 6)}, // a Sunday that is a day off too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.today);
        pl(1).loan_due = 0;
        game_date = c.today;
        bank_set_loan_due(1);
        EXPECT_EQ(pl(1).loan_due, c.due);
        EXPECT_EQ(cal_is_holiday(pl(1).loan_due), 0);
        game_date = cal_add_days(c.today, 20);
        bank_set_loan_due(1);
        EXPECT_EQ(pl(1).loan_due, c.due) << "a second loan moved the due date";
    }
}

TEST_F(BankTest, ChargeTakesTheDepositThenCashAndBankruptsAPlayerWhoCannotPay) {
    money(1, 500, 300);
    bank_charge(1, 600);
    EXPECT_EQ(pl(1).deposit, 0);
    EXPECT_EQ(pl(1).cash, 200);
    EXPECT_EQ(pl(1).control, CTRL_COMPUTER);
    bank_charge(1, 201);
    EXPECT_EQ(pl(1).cash, 0);
    EXPECT_EQ(pl(1).deposit, 0);
    EXPECT_EQ(pl(1).control, CTRL_OUT);
}

TEST_F(BankTest, ManagerIsTheChairmanOfTheLastBankBuildingThatHasOne) {
    EXPECT_EQ(bank_manager(), -1); // a bank without a chairman
    map_company_table[1].kind = COMPANY_KIND_BANK;
    map_company_table[3].kind = COMPANY_KIND_BANK;
    set_chair(1, 0);
    EXPECT_EQ(bank_manager(), 0);
    set_chair(3, 2);
    EXPECT_EQ(bank_manager(), 2);
    map_company_table[3].chairman = OWNER_NONE; // the last one has none: the one before counts
    set_chair(2, 3);
    EXPECT_EQ(bank_manager(), 3);
    map_company_table[3].kind = 0;
    set_chair(3, 1); // a chairman of another kind of company is no manager
    EXPECT_EQ(bank_manager(), 3);
}

// ---------------------------------------------------------------------------
// A computer's loan visit

TEST_F(BankTest, LoanLimitIsTheTotalAssetsWithLoansDeductedAndUnchangedByBorrowing) {
    money(0, 10000, 20000, 5000);
    pl(0).loan_due = cal_pack(1998, 3, 2);
    pl(0).control = CTRL_HUMAN;
    bank_loan_visit(BANK_OBJECT);
    EXPECT_EQ(bank_loan_limit, 25000);
    EXPECT_EQ(bank_borrow(0, 15000), BANK_DEAL_DONE);
    EXPECT_EQ(asset_net_worth(0), 25000) << "borrowing raised the assets";
    EXPECT_EQ(bank_borrow(0, 5000), BANK_DEAL_DONE); // the loan now equals the limit
    EXPECT_EQ(pl(0).loan, 25000);
    EXPECT_EQ(bank_borrow(0, 1), BANK_DEAL_OVER_LIMIT);
    EXPECT_EQ(pl(0).loan_due, cal_pack(1998, 3, 2)) << "a later loan moved the due date";
    expect_limits_kept();
}

TEST_F(BankTest, ComputerRepaysWhenRichOrWhenTheLoanFallsDueSoon) {
    struct Case {
        const char* what;
        int32_t cash, deposit;
        int days_to_due;
        bool repays;
    };
    const Case cases[] = {
        {"deposit twice the loan and 1 yuan", 0, 2001, 30, true},
        {"deposit exactly twice the loan, due far off", 5000, 2000, 7, false},
        {"due in 6 days, money 1.1 times the loan", 100, 1000, 6, true},
        {"due in 6 days, money short of 1.1 times", 99, 1000, 6, false},
        {"due date gone by, money enough", 1100, 0, -3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shown_clear();
        money(0, c.cash, c.deposit, 1000);
        pl(0).loan_due = cal_add_days(game_date, c.days_to_due);
        bank_loan_visit(BANK_OBJECT);
        if (c.repays) {
            EXPECT_EQ(pl(0).loan, 0);
            EXPECT_EQ(pl(0).loan_due, 0u);
            EXPECT_EQ(int64_t{pl(0).cash} + pl(0).deposit, int64_t{c.cash} + c.deposit - 1000);
            EXPECT_NE(shown_find_text(Shown::Message, "偿还银行贷款\n\n1000元"), nullptr);
        } else {
            EXPECT_EQ(pl(0).loan, 1000);
            EXPECT_EQ(messages(), 0u);
        }
    }
    expect_limits_kept();
}

TEST_F(BankTest, ComputerBorrowsItsShareOfTheLimitOnEveryVisitWhilePoorAndSeldomOtherwise) {
    auto visits = [](int32_t cash, int n) {
        int borrowed = 0;
        for (int i = 0; i < n; ++i) {
            money(0, cash, 0);
            pl(0).loan_due = 0;
            bank_loan_visit(BANK_OBJECT);
            if (pl(0).loan != 0) {
                ++borrowed;
                EXPECT_EQ(pl(0).loan, cash / 2); // loan share 50 % of the limit
                EXPECT_EQ(pl(0).deposit, cash / 2);
                EXPECT_NE(pl(0).loan_due, 0u);
            }
        }
        return borrowed;
    };
    EXPECT_EQ(visits(29999, 30), 30);
    const int rich = visits(30000, 60);
    EXPECT_GT(rich, 0);
    EXPECT_LT(rich, 20);
    EXPECT_NE(shown_find_text(Shown::Message, "向银行贷款\n\n14999元"), nullptr);
    pl(0).loan_pct = 0;
    EXPECT_EQ(visits(100, 30), 0);
    pl(0).loan_pct = 50;
    pl(0).bank_suspension_days = 2;
    EXPECT_EQ(visits(100, 30), 0);
    expect_limits_kept();
}

TEST_F(BankTest, ALargeLoanLimitLendsItsShareWithoutWrapping) {
    // 100 % of two thousand million: the product does not fit 32 bits.
    pl(0).loan_pct = 100;
    for (int i = 0; i < 100 && pl(0).loan == 0; ++i) {
        money(0, 2000000000, 0);
        bank_loan_visit(BANK_OBJECT);
    }
    EXPECT_EQ(pl(0).loan, 2000000000);
    EXPECT_EQ(pl(0).deposit, 2000000000);
    // 80 % of it would overflow the deposit: it borrows what the deposit holds.
    pl(1).loan_pct = 80;
    game_active_mover = 1;
    for (int i = 0; i < 100 && pl(1).loan == 0; ++i) {
        money(1, 0, 2000000000);
        bank_loan_visit(BANK_OBJECT);
    }
    EXPECT_EQ(pl(1).deposit, I32_MAX);
    EXPECT_EQ(pl(1).loan, I32_MAX - 2000000000);
    expect_limits_kept();
}

// ---------------------------------------------------------------------------
// A computer's deposit visit

TEST_F(BankTest, ComputerKeepsItsCashShareMoreEarlyInTheMonthAndLessLate) {
    struct Case {
        const char* what;
        int day, cash_pct;
        int32_t cash, deposit, cash_after;
    };
    const Case cases[] = {
        {"3rd, 70 %: 1.05 capped at 0.9", 3, 70, 100, 900, 900},
        {"28th, 10 %: 0.05", 28, 10, 500, 500, 50},
        {"7th, 40 %: still early", 7, 40, 0, 1000, 600},
        {"26th, 80 %: already late", 26, 80, 0, 1000, 400},
        {"15th, 50 %: within a quarter, kept", 15, 50, 300, 700, 300},
        {"15th, 50 %: a quarter off, rebalanced", 15, 50, 250, 750, 500},
        {"15th, 10 %, no cash: rebalanced though within", 15, 10, 0, 1000, 100},
        {"15th, 0 %: taken as 0.1", 15, 0, 1000, 0, 100},
        {"nothing at all", 15, 10, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game_date = cal_pack(1998, 1, c.day);
        pl(0).cash_pct = static_cast<uint8_t>(c.cash_pct);
        money(0, c.cash, c.deposit);
        bank_deposit_visit();
        EXPECT_EQ(pl(0).cash, c.cash_after);
        EXPECT_EQ(pl(0).deposit, c.cash + c.deposit - c.cash_after);
    }
    EXPECT_EQ(bank_audit().rebalances, 8);
    expect_limits_kept();
}

TEST_F(BankTest, RebalancingMoneyBeyondThirtyTwoBitsKeepsTheSumAndFillsTheDeposit) {
    pl(0).cash_pct = 10;
    money(0, 2000000000, 2000000000);
    bank_deposit_visit();
    EXPECT_EQ(pl(0).deposit, I32_MAX);
    EXPECT_EQ(int64_t{pl(0).cash} + pl(0).deposit, 4000000000LL);
    pl(0).cash_pct = 90;
    bank_deposit_visit();
    EXPECT_EQ(pl(0).cash, I32_MAX);
    EXPECT_EQ(int64_t{pl(0).cash} + pl(0).deposit, 4000000000LL);
    expect_limits_kept();
}

// ---------------------------------------------------------------------------
// Refusals and suspension

TEST_F(BankTest, RefusedDealingsBlockBothVisitsWithTheirMessage) {
    for (uint8_t control : {CTRL_COMPUTER, CTRL_HUMAN}) {
        SCOPED_TRACE(static_cast<int>(control));
        shown_clear();
        pl(0).control = control;
        pl(0).bank_refusal_days = 0x83; // end mark and 3 days: 4 shown
        money(0, 100, 0);
        bank_loan_limit = 7;
        const uint32_t seed = game_rand_seed();
        bank_deposit_visit();
        bank_loan_visit(BANK_OBJECT);
        const ShownEvent* e = shown_find_text(Shown::Message, "银行拒绝往来");
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->text, "银行拒绝往来\n\n还剩4天！");
        EXPECT_EQ(e->ms, 1000u);
        EXPECT_EQ(messages(), 1u);
        EXPECT_EQ(pl(0).cash, 100);
        EXPECT_EQ(pl(0).loan, 0);
        EXPECT_EQ(bank_loan_limit, 7);
        EXPECT_EQ(game_rand_seed(), seed) << "the loan visit drew a number";
    }
    EXPECT_EQ(bank_audit().operations, 0);
}

// ---------------------------------------------------------------------------
// The due-date check

TEST_F(BankTest, ReminderMessagesTwoAndOneDayBeforeForEveryoneNoneThreeDaysBefore) {
    for (uint8_t control : {CTRL_COMPUTER, CTRL_HUMAN}) {
        for (int n : {4, 3, 2, 1}) {
            SCOPED_TRACE(std::to_string(control) + " " + std::to_string(n));
            shown_clear();
            pl(0).control = control;
            money(0, 100, 5000, 1000);
            pl(0).loan_due = cal_add_days(game_date, n);
            bank_check_loan_due();
            EXPECT_EQ(pl(0).loan, 1000);
            if (n == 2)
                EXPECT_TRUE(told("距贷款到期日\n\n还剩２天！"));
            else if (n == 1)
                EXPECT_TRUE(told("距贷款到期日\n\n还剩１天！"));
            else
                EXPECT_EQ(messages(), 0u);
        }
    }
}

TEST_F(BankTest, DueDateCollectsTheLoanAndBankruptsAPlayerShortOfIt) {
    money(0, 2000, 3000, 10000);
    pl(0).loan_due = game_date;
    money(1, 2000, 3000, 4000);
    bank_check_loan_due();
    EXPECT_TRUE(told("贷款到期日\n\n强制执行！"));
    EXPECT_EQ(pl(0).control, CTRL_OUT);
    EXPECT_EQ(pl(0).cash, 0);
    EXPECT_EQ(pl(0).deposit, 0);
    EXPECT_EQ(pl(0).loan, 0);
    EXPECT_EQ(pl(0).loan_due, 0u);
    EXPECT_EQ(bank_audit().collections, 1);
}

TEST_F(BankTest, ALoanPastItsDueDateIsCollectedAtTheNextCheck) {
    money(2, 2000, 3000, 4000);
    pl(2).loan_due = cal_add_days(game_date, -2); // the day itself was skipped
    game_active_mover = 2;
    bank_check_loan_due();
    EXPECT_TRUE(told("贷款到期日\n\n强制执行！"));
    EXPECT_EQ(pl(2).loan, 0);
    EXPECT_EQ(pl(2).loan_due, 0u);
    EXPECT_EQ(pl(2).deposit, 0);
    EXPECT_EQ(pl(2).cash, 1000);
    EXPECT_EQ(pl(2).control, CTRL_COMPUTER);
}

TEST_F(BankTest, APlayerWithoutALoanIsNeitherRemindedNorCharged) {
    money(0, 100, 200);
    bank_check_loan_due();
    EXPECT_EQ(messages(), 0u);
    EXPECT_EQ(pl(0).cash, 100);
    EXPECT_EQ(pl(0).deposit, 200);
    EXPECT_EQ(bank_audit().operations, 0);
}

// ---------------------------------------------------------------------------
// Reserves and special financing

TEST_F(BankTest, ManagerCoversTheShortfallAfterAWithdrawalFromDepositThenCash) {
    set_chair(2, 1);
    pl(0).control = CTRL_HUMAN;
    money(0, 0, 20000);
    money(1, 8000, 4000);
    pl(1).special_financing = 50000;
    money(2, 0, 20000);
    money(3, 0, 10000);
    ASSERT_EQ(bank_withdraw(0, 10000), BANK_DEAL_DONE); // the others now hold 40000
    EXPECT_EQ(pl(0).cash, 10000);
    EXPECT_EQ(pl(1).deposit, 0);
    EXPECT_EQ(pl(1).cash, 2000);
    EXPECT_EQ(pl(1).special_financing, 40000);
    const std::string expected =
        "银行资金准备\n\n不足10000元\n\n由经营者" + util_without_spaces(player_name(1)) + "垫付！";
    const ShownEvent* e = shown_find_text(Shown::Message, "银行资金准备");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text, expected);
    EXPECT_EQ(e->ms, 2500u);
    EXPECT_EQ(game_active_mover, 0);
    EXPECT_EQ(bank_audit().covers, 1);
    expect_limits_kept();
}

TEST_F(BankTest, AWithdrawalByTheManagerHimselfOrAmpleReservesNeedNoCover) {
    set_chair(2, 1);
    pl(1).control = CTRL_HUMAN;
    money(1, 0, 30000);
    pl(1).special_financing = 50000;
    money(0, 0, 10000);
    game_active_mover = 1;
    ASSERT_EQ(bank_withdraw(1, 30000), BANK_DEAL_DONE);
    EXPECT_EQ(pl(1).special_financing, 50000);
    pl(0).control = CTRL_HUMAN;
    money(2, 0, 45000);
    game_active_mover = 0;
    ASSERT_EQ(bank_withdraw(0, 5000), BANK_DEAL_DONE); // 5000 + 45000 cover 50000
    EXPECT_EQ(pl(1).special_financing, 50000);
    EXPECT_EQ(bank_audit().covers, 0);
    EXPECT_EQ(messages(), 0u);
}

TEST_F(BankTest, AChangeOfChairMakesEveryoneButTheManagerRepayHisSpecialFinancing) {
    struct Case {
        const char* what;
        int manager; // -1 none
        bool p1_keeps;
    };
    const Case cases[] = {{"with a manager", 1, true}, {"without a manager", -1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shown_clear();
        map_company_table[2].chairman = OWNER_NONE;
        if (c.manager >= 0) set_chair(2, c.manager);
        money(1, 0, 9000);
        pl(1).special_financing = 6000;
        money(2, 5000, 20000);
        pl(2).special_financing = 30000;
        bank_check_reserves(0);
        EXPECT_EQ(pl(2).special_financing, 0);
        EXPECT_EQ(pl(2).control, CTRL_OUT) << "30000 from 25000 bankrupts him";
        EXPECT_EQ(pl(1).special_financing, c.p1_keeps ? 6000 : 0);
        EXPECT_EQ(pl(1).deposit, c.p1_keeps ? 9000 : 3000);
        EXPECT_TRUE(told("银行经营权易主！"));
        const std::string repay =
            util_without_spaces(player_name(2)) + "\n\n强制偿还30000元\n\n银行特别融资！";
        EXPECT_TRUE(told(repay.c_str()));
        EXPECT_EQ(shown_count(Shown::Message), c.p1_keeps ? 2u : 4u);
        EXPECT_EQ(game_active_mover, 0);
        pl(2).control = CTRL_COMPUTER;
    }
    expect_limits_kept();
}

// ---------------------------------------------------------------------------
// A human's deals

TEST_F(BankTest, EachHumanDealRefusedLeavesEverythingAsItWas) {
    struct Case {
        const char* what;
        void (*prepare)();
        BankDeal (*deal)();
        BankDeal expected;
    };
    const Case cases[] = {
        {"borrow while refused", [] { pl(0).bank_refusal_days = 1; },
         [] { return bank_borrow(0, 100); }, BANK_DEAL_REFUSED},
        {"borrow while suspended", [] { pl(0).bank_suspension_days = 1; },
         [] { return bank_borrow(0, 100); }, BANK_DEAL_SUSPENDED},
        {"borrow above the limit", [] {}, [] { return bank_borrow(0, 5001); },
         BANK_DEAL_OVER_LIMIT},
        {"borrow at the limit", [] { pl(0).loan = 8000; }, [] { return bank_borrow(0, 1); },
         BANK_DEAL_OVER_LIMIT},
        {"borrow nothing", [] {}, [] { return bank_borrow(0, 0); }, BANK_DEAL_BAD_AMOUNT},
        {"borrow into a full deposit", [] { pl(0).deposit = I32_MAX - 10; },
         [] { return bank_borrow(0, 11); }, BANK_DEAL_BAD_AMOUNT},
        {"borrow out of the game", [] { pl(0).control = CTRL_OUT; },
         [] { return bank_borrow(0, 100); }, BANK_DEAL_NOT_OFFERED},
        {"repay without a loan", [] { pl(0).loan = 0; }, [] { return bank_repay(0, 1); },
         BANK_DEAL_NOTHING_OWED},
        {"repay above the loan", [] {}, [] { return bank_repay(0, 3001); }, BANK_DEAL_NOTHING_OWED},
        {"repay above cash and deposit", [] { pl(0).loan = 9000; },
         [] { return bank_repay(0, 8001); }, BANK_DEAL_SHORT},
        {"repay a negative amount", [] {}, [] { return bank_repay(0, -5); }, BANK_DEAL_BAD_AMOUNT},
        {"repay while refused", [] { pl(0).bank_refusal_days = 1; },
         [] { return bank_repay(0, 10); }, BANK_DEAL_REFUSED},
        {"financing without the chair", [] { set_chair(2, 1); },
         [] { return bank_finance_borrow(0, BANK_OBJECT, 10); }, BANK_DEAL_NOT_OFFERED},
        {"financing at a square serving no company", [] {},
         [] { return bank_finance_borrow(0, OBJ_FACILITY_BASE + 1, 10); }, BANK_DEAL_NOT_OFFERED},
        {"financing while suspended", [] { pl(0).bank_suspension_days = 1; },
         [] { return bank_finance_borrow(0, BANK_OBJECT, 10); }, BANK_DEAL_SUSPENDED},
        {"financing above the deposits", [] {},
         [] { return bank_finance_borrow(0, BANK_OBJECT, 1001); }, BANK_DEAL_OVER_LIMIT},
        {"financing with all drawn", [] { pl(0).special_financing = 1000; },
         [] { return bank_finance_borrow(0, BANK_OBJECT, 1); }, BANK_DEAL_OVER_LIMIT},
        {"financing repaid without any", [] {},
         [] { return bank_finance_repay(0, BANK_OBJECT, 1); }, BANK_DEAL_NOTHING_OWED},
        {"financing repaid above cash and deposit", [] { pl(0).special_financing = 9000; },
         [] { return bank_finance_repay(0, BANK_OBJECT, 8001); }, BANK_DEAL_SHORT},
        {"deposit above the cash", [] {}, [] { return bank_deposit(0, 3001); }, BANK_DEAL_SHORT},
        {"deposit while refused", [] { pl(0).bank_refusal_days = 2; },
         [] { return bank_deposit(0, 10); }, BANK_DEAL_REFUSED},
        {"withdraw above the deposit", [] {}, [] { return bank_withdraw(0, 5001); },
         BANK_DEAL_SHORT},
        {"withdraw while suspended", [] { pl(0).bank_suspension_days = 1; },
         [] { return bank_withdraw(0, 10); }, BANK_DEAL_SUSPENDED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game_world_reset();
        ASSERT_TRUE(test_board_load());
        game_player_count = 4;
        game_date = MID_MONTH;
        map_company_table[2].kind = COMPANY_KIND_BANK;
        for (int p = 0; p < 4; ++p)
            pl(p).control = CTRL_COMPUTER;
        pl(0).control = CTRL_HUMAN;
        money(0, 3000, 5000, 3000);
        pl(0).loan_due = cal_pack(1998, 3, 2);
        money(1, 0, 1000);
        set_chair(2, 0);
        bank_loan_limit = 8000;
        c.prepare();
        const std::array<PlayerRecord, PLAYER_COUNT> players = player_table;
        EXPECT_EQ(c.deal(), c.expected);
        EXPECT_EQ(std::memcmp(players.data(), player_table.data(), sizeof players), 0);
        EXPECT_EQ(bank_audit().operations, 0);
    }
}

TEST_F(BankTest, HumanDealsMoveTheMoneyBetweenTheAccounts) {
    pl(0).control = CTRL_HUMAN;
    money(0, 3000, 5000);
    money(1, 0, 4000);
    money(2, 0, 6000);
    set_chair(2, 0);
    game_date = cal_pack(1998, 1, 8);
    bank_loan_limit = 8000;

    EXPECT_EQ(bank_borrow(0, 6000), BANK_DEAL_DONE);
    EXPECT_EQ(pl(0).deposit, 11000);
    EXPECT_EQ(pl(0).loan_due, cal_pack(1998, 4, 8));
    EXPECT_EQ(bank_repay(0, 1000), BANK_DEAL_DONE); // part: the due date stays
    EXPECT_EQ(pl(0).loan, 5000);
    EXPECT_EQ(pl(0).loan_due, cal_pack(1998, 4, 8));
    money(0, 3000, 2000, 5000);
    EXPECT_EQ(bank_repay(0, 5000), BANK_DEAL_DONE); // all: deposit first, then cash
    EXPECT_EQ(pl(0).deposit, 0);
    EXPECT_EQ(pl(0).cash, 0);
    EXPECT_EQ(pl(0).loan, 0);
    EXPECT_EQ(pl(0).loan_due, 0u);

    money(0, 500, 0);
    EXPECT_EQ(bank_finance_offered(0, BANK_OBJECT), 1);
    EXPECT_EQ(bank_finance_borrow(0, BANK_OBJECT, 10000), BANK_DEAL_DONE); // the others hold 10000
    EXPECT_EQ(pl(0).deposit, 10000);
    EXPECT_EQ(pl(0).special_financing, 10000);
    EXPECT_EQ(bank_finance_repay(0, BANK_OBJECT, 10300), BANK_DEAL_NOTHING_OWED);
    EXPECT_EQ(bank_finance_repay(0, BANK_OBJECT, 10000), BANK_DEAL_DONE);
    EXPECT_EQ(pl(0).special_financing, 0);
    EXPECT_EQ(pl(0).deposit, 0);
    EXPECT_EQ(pl(0).cash, 500);

    EXPECT_EQ(bank_deposit(0, 500), BANK_DEAL_DONE);
    EXPECT_EQ(pl(0).cash, 0);
    EXPECT_EQ(pl(0).deposit, 500);
    EXPECT_EQ(bank_withdraw(0, 200), BANK_DEAL_DONE);
    EXPECT_EQ(pl(0).cash, 200);
    EXPECT_EQ(pl(0).deposit, 300);
    EXPECT_EQ(bank_audit().operations, 7);
    expect_limits_kept();
}

TEST_F(BankTest, AHumansVisitMakesNoDealByItselfAndOffersFinancingToTheChairOnly) {
    pl(0).control = CTRL_HUMAN;
    money(0, 100, 900);
    set_chair(2, 0);
    const uint32_t seed = game_rand_seed();
    bank_deposit_visit();
    bank_loan_visit(BANK_OBJECT);
    EXPECT_EQ(pl(0).cash, 100);
    EXPECT_EQ(pl(0).loan, 0);
    EXPECT_EQ(bank_loan_limit, 1000);
    EXPECT_EQ(game_rand_seed(), seed);
    EXPECT_EQ(bank_finance_offered(0, BANK_OBJECT), 1);
    EXPECT_EQ(bank_finance_offered(1, BANK_OBJECT), 0);
    EXPECT_EQ(bank_finance_offered(0, OBJ_COMPANY_BASE + 1), 0);
    EXPECT_EQ(bank_finance_offered(0, OBJ_FACILITY_BASE + 2), 0);
    // A human handed over to the computer is the computer's at the bank.
    pl(0).control = CTRL_HUMAN | CTRL_HANDED_OVER;
    pl(0).cash_pct = 50;
    bank_deposit_visit();
    EXPECT_EQ(pl(0).cash, 500);
}

// The bank's audit catches an operation that broke its limits.
TEST_F(BankTest, AuditCountsALoanThatBrokeItsLimits) {
    pl(0).loan_pct = 150; // a setting beyond 100 % lends above the limit
    pl(0).bank_suspension_days = 0;
    for (int i = 0; i < 100 && pl(0).loan == 0; ++i) {
        money(0, 1000, 0);
        bank_loan_visit(BANK_OBJECT);
    }
    EXPECT_EQ(pl(0).loan, 1500);
    EXPECT_EQ(bank_audit().over_limit, 1);
}

} // namespace
