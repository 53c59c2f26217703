// The deposit window under scripted mouse and keys: typing on the
// calculator keys, the modes, the slider, all and clear, OK dealing through
// the bank, the right button and leave dealing nothing, and deposit only
// while lending is suspended.
#include "finance/bank_screen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "finance/bank.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

constexpr int WIN_X = 160, WIN_Y = 90;
constexpr int BAR_LEFT = WIN_X + 58, BAR_Y = WIN_Y + 112;
struct Point {
    int x, y;
};
// Centres of the buttons on the screen.
Point digit(int d) {
    if (d == 0) return {WIN_X + 16 + 26, WIN_Y + 256 + 17};
    const int row = 2 - (d - 1) / 3, col = (d - 1) % 3;
    return {WIN_X + 16 + 60 * col + 26, WIN_Y + 136 + 40 * row + 17};
}
constexpr Point WITHDRAW{WIN_X + 61, WIN_Y + 31}, DEPOSIT{WIN_X + 161, WIN_Y + 31},
    LEAVE{WIN_X + 260, WIN_Y + 31}, CLEAR{WIN_X + 250, WIN_Y + 153},
    BACKSPACE{WIN_X + 250, WIN_Y + 193}, ALL{WIN_X + 250, WIN_Y + 233},
    OK{WIN_X + 250, WIN_Y + 273};

// The bar's pixels as shown while the window is open.
uint32_t shot_at = 0;
bool shot_taken = false;
uint16_t bar_pixels[204];
void shoot() {
    if (shot_taken || plat_tick_count() < shot_at) return;
    shot_taken = true;
    for (int x = 0; x < 204; ++x)
        bar_pixels[x] = PopupTest::screen_at(BAR_LEFT + x, BAR_Y);
    PopupTest::save_shot("bank_deposit");
}

class BankDeposit : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        shown_clear();
        game_player_count = 2;
        for (int p = 0; p < 2; ++p) {
            player_table[p].control = CTRL_HUMAN;
            player_table[p].cash = 1000;
            player_table[p].deposit = 5000;
        }
        game_active_mover = 1;
        app_active = 1;
        t = plat_tick_count() + 50;
    }
    void click(Point p) {
        at(t, SCRIPT_LEFT_DOWN, p.x, p.y);
        at(t + 5, SCRIPT_LEFT_UP, p.x, p.y);
        t += 50;
    }
    void key(uint32_t vk) {
        key_down(t, vk);
        key_up(t + 5, vk);
        t += 50;
    }
    void right_click() {
        at(t, SCRIPT_RIGHT_DOWN, 300, 300);
        at(t + 5, SCRIPT_RIGHT_UP, 300, 300);
        t += 50;
    }
    const PlayerRecord& me() const { return player_table[1]; }
    uint32_t t = 0;
};

TEST_F(BankDeposit, TypedDigitsWithdrawOnOkThroughTheBank) {
    for (int d : {1, 2, 3, 9})
        click(digit(d));
    click(BACKSPACE);
    click(digit(4)); // 1234
    click(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 5000 - 1234);
    EXPECT_EQ(me().cash, 1000 + 1234);
    EXPECT_EQ(player_table[0].deposit, 5000) << "only the visitor deals";
    EXPECT_EQ(numpad_open, 0) << "the flag is set only while the window is open";
}

TEST_F(BankDeposit, DepositModeAllTakesTheWholeCashAndAnAmountAboveItIsCapped) {
    click(DEPOSIT);
    for (int d : {9, 9, 9, 9})
        click(digit(d)); // above the cash: the cash
    click(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().cash, 0);
    EXPECT_EQ(me().deposit, 6000);
}

TEST_F(BankDeposit, KeysPressTheButtons) {
    key('7');
    key(VK_NUMPAD0 + 5);
    key(VK_BACK);
    key(67); // clears
    key(77); // all: the whole deposit
    key(VK_RETURN);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 0);
    EXPECT_EQ(me().cash, 6000);
}

TEST_F(BankDeposit, TheSliderBarFillsWithTheAmount) {
    // H clicks the slider 102 pixels from its left end: (17 + 1) x (5000 / 34 + 1).
    key(72);
    shot_at = t;
    move(t, 300, 300); // the cursor's redraw takes the shot
    t += 50;
    right_click();
    at(t + 100, SCRIPT_LEFT_DOWN, OK.x, OK.y); // never reached: the right button left
    plat_set_cursor_hook(shoot);
    bank_deposit_screen();
    plat_set_cursor_hook(nullptr);
    ASSERT_TRUE(shot_taken);
    EXPECT_EQ(me().deposit, 5000) << "the right button deals nothing";
    // The filled share of the bar is one colour, the rest another.
    const int filled = 18 * (5000 / 34 + 1) * 204 / 5000;
    int lit = 0;
    for (int x = 0; x < 204; ++x)
        lit += bar_pixels[x] == bar_pixels[0];
    EXPECT_NE(bar_pixels[0], bar_pixels[203]);
    EXPECT_EQ(lit, filled);
}

TEST_F(BankDeposit, TheSliderClickSetsItsStepAndLeaveDealsNothing) {
    click(Point{BAR_LEFT + 102, BAR_Y});
    click(LEAVE);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 5000);
    t = plat_tick_count() + 50;
    click(Point{BAR_LEFT + 102, BAR_Y});
    click(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 5000 - 18 * (5000 / 34 + 1));
}

TEST_F(BankDeposit, WhileLendingIsSuspendedOnlyDepositingIsPossible) {
    player_table[1].bank_suspension_days = 2;
    click(WITHDRAW); // refused: the mode stays deposit
    click(digit(5));
    click(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().cash, 995);
    EXPECT_EQ(me().deposit, 5005);
    EXPECT_NE(shown_find_text(Shown::Message, "还剩3天"), nullptr)
        << "the suspension's days are shown";
}

} // namespace

// The loan counter: amounts come through the number pad's decision.
namespace {

constexpr int MENU_X = 150 + 70, BORROW_Y = 40 + 300 + 18, REPAY_Y = 40 + 346 + 18;
constexpr PackedDate TODAY = cal_pack(1998, 1, 15);

class BankLoan : public BankDeposit {
  protected:
    void SetUp() override {
        BankDeposit::SetUp();
        decisions_reset();
        game_date = TODAY;
        bank_loan_limit = 10000;
    }
    // The clerk's lines take their input while she speaks: leave well after.
    void leave() {
        t += 20000;
        right_click();
    }
    bool said(const char* words) const { return shown_find_text(Shown::Balloon, words) != nullptr; }
};

bool counter_shot = false;
uint32_t counter_shot_at = 0;
void shoot_counter() {
    if (counter_shot || plat_tick_count() < counter_shot_at) return;
    counter_shot = true;
    PopupTest::save_shot("bank_counter");
}

TEST_F(BankLoan, BorrowingAddsToDepositAndLoanAndSetsTheDueDate) {
    decision_script_push(4000);
    click(Point{MENU_X, BORROW_Y});
    move(t + 12000, 300, 200);
    counter_shot_at = t + 12000;
    leave();
    plat_set_cursor_hook(shoot_counter);
    bank_loan_screen(0, 0);
    plat_set_cursor_hook(nullptr);
    EXPECT_GE(shown_count(Shown::BoardRefresh), 1u) << "the board is repainted after";
    EXPECT_EQ(me().loan, 4000);
    EXPECT_EQ(me().deposit, 9000);
    EXPECT_NE(me().loan_due, 0u);
    EXPECT_EQ(decision_last_amount(), 10000) << "the pad's maximum is the limit less the loan";
    EXPECT_TRUE(said("您的贷款手续"));
    EXPECT_TRUE(said("谢谢您的惠顾"));
    EXPECT_GE(shown_count(Shown::Music, 4), 1u);
}

TEST_F(BankLoan, AtTheLimitNoPadOpens) {
    player_table[1].loan = 10000;
    click(Point{MENU_X, BORROW_Y});
    leave();
    bank_loan_screen(0, 0);
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_TRUE(said("金额已超过"));
    EXPECT_EQ(me().loan, 10000);
}

TEST_F(BankLoan, RepayingTheWholeLoanClearsTheDueDateAndMoreThanCashAndDepositIsRefused) {
    player_table[1].loan = 8000;
    player_table[1].loan_due = cal_pack(1998, 4, 15);
    decision_script_push(7000); // above cash + deposit (6000): refused
    decision_script_push(8000); // the pad's answer is capped at the loan by the window's seam
    click(Point{MENU_X, REPAY_Y});
    leave();
    bank_loan_screen(0, 0);
    EXPECT_TRUE(said("您的现金不足"));
    EXPECT_EQ(me().loan, 8000);
    EXPECT_EQ(me().deposit, 5000);
    EXPECT_EQ(me().cash, 1000);

    decisions_reset();
    player_table[1].deposit = 9000;
    t = plat_tick_count() + 50;
    decision_script_push(8000);
    click(Point{MENU_X, REPAY_Y});
    leave();
    bank_loan_screen(0, 0);
    EXPECT_EQ(me().loan, 0);
    EXPECT_EQ(me().loan_due, 0u) << "the whole loan repaid clears the due date";
    EXPECT_EQ(me().deposit, 1000);
    EXPECT_TRUE(said("您的还款手续"));
}

} // namespace
