// The deposit window under scripted mouse and keys: typing on the
// calculator keys, the modes, the slider, all and clear, OK dealing through
// the bank, the right button and leave dealing nothing, and deposit only
// while lending is suspended.
#include "finance/bank_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/board_panel_sets.h"
#include "board/board_screen.h"
#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/numpad.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "finance/bank.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/app.h"
#include "support/popup_fixture.h"
#include "support/test_board.h"

namespace {

// The slider's bar on the screen, along its middle row.
constexpr int BAR_LEFT = BANK_DEPOSIT_X + BANK_BAR_X,
              BAR_Y = BANK_DEPOSIT_Y + BANK_BAR_Y + BANK_BAR_H / 2;
struct Point {
    int x, y;
};
constexpr Point centre(const PlatRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
// Centres of the deposit window's buttons on the screen.
constexpr Point button(int b) {
    const Point p = centre(bank_deposit_spot(b));
    return {BANK_DEPOSIT_X + p.x, BANK_DEPOSIT_Y + p.y};
}
constexpr Point digit(int d) {
    return button(BANK_B_DIGIT0 + d);
}
constexpr Point WITHDRAW = button(BANK_B_WITHDRAW), DEPOSIT = button(BANK_B_DEPOSIT),
                LEAVE = button(BANK_B_LEAVE), CLEAR = button(BANK_B_CLEAR),
                BACKSPACE = button(BANK_B_BACKSPACE), ALL = button(BANK_B_ALL),
                OK = button(BANK_B_OK);

// A click 102 pixels from the bar's left end: trunc(102 / 6) + 1 steps.
constexpr int SLIDER_STEPS = BANK_KEY_SLIDER_AT / 6 + 1;

// The bar's pixels as shown while the window is open.
uint32_t shot_at = 0;
bool shot_taken = false;
uint16_t bar_pixels[BANK_BAR_W];
void shoot() {
    if (shot_taken || plat_tick_count() < shot_at) return;
    shot_taken = true;
    for (int x = 0; x < BANK_BAR_W; ++x)
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
        restart();
    }
    // The script's events follow one another 50 ms apart, from 50 ms after
    // the clock's start t0; next is the coming event's time after t0.
    void restart() {
        t0 = plat_tick_count();
        next = 50;
    }
    uint32_t when() const { return t0 + next; }
    void press(Point p) {
        click(next, p.x, p.y);
        next += 50;
    }
    void key(uint32_t vk) {
        key_down(when(), vk);
        key_up(when() + 5, vk);
        next += 50;
    }
    void right_press() {
        right_click(next, 300, 300);
        next += 50;
    }
    const PlayerRecord& me() const { return player_table[1]; }
    uint32_t next = 0;
};

TEST_F(BankDeposit, TypedDigitsWithdrawOnOkThroughTheBank) {
    for (int d : {1, 2, 3, 9})
        press(digit(d));
    press(BACKSPACE);
    press(digit(4)); // 1234
    press(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 5000 - 1234);
    EXPECT_EQ(me().cash, 1000 + 1234);
    EXPECT_EQ(player_table[0].deposit, 5000) << "only the visitor deals";
    EXPECT_EQ(numpad_open, 0) << "the flag is set only while the window is open";
}

TEST_F(BankDeposit, DepositModeAllTakesTheWholeCashAndAnAmountAboveItIsCapped) {
    press(DEPOSIT);
    for (int d : {9, 9, 9, 9})
        press(digit(d)); // above the cash: the cash
    press(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().cash, 0);
    EXPECT_EQ(me().deposit, 6000);
}

TEST_F(BankDeposit, KeysPressTheButtons) {
    key('7');
    key(VK_NUMPAD0 + 5);
    key(VK_BACK);
    key(BANK_KEY_CLEAR);
    key(BANK_KEY_ALL); // the whole deposit
    key(VK_RETURN);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 0);
    EXPECT_EQ(me().cash, 6000);
}

TEST_F(BankDeposit, TheSliderBarFillsWithTheAmount) {
    // The slider's key clicks it 102 pixels from its left end: (17 + 1) x (5000 / 34 + 1).
    key(BANK_KEY_SLIDER);
    shot_at = when();
    move(when(), 300, 300); // the cursor's redraw takes the shot
    next += 50;
    right_press();
    at(when() + 100, SCRIPT_LEFT_DOWN, OK.x, OK.y); // never reached: the right button left
    plat_set_cursor_hook(shoot);
    bank_deposit_screen();
    plat_set_cursor_hook(nullptr);
    ASSERT_TRUE(shot_taken);
    EXPECT_EQ(me().deposit, 5000) << "the right button deals nothing";
    // The filled share of the bar is one colour, the rest another.
    const int filled = SLIDER_STEPS * (5000 / 34 + 1) * BANK_BAR_W / 5000;
    int lit = 0;
    for (int x = 0; x < BANK_BAR_W; ++x)
        lit += bar_pixels[x] == bar_pixels[0];
    EXPECT_NE(bar_pixels[0], bar_pixels[BANK_BAR_W - 1]);
    EXPECT_EQ(lit, filled);
}

TEST_F(BankDeposit, TheSliderClickSetsItsStepAndLeaveDealsNothing) {
    press(Point{BAR_LEFT + BANK_KEY_SLIDER_AT, BAR_Y});
    press(LEAVE);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 5000);
    restart();
    press(Point{BAR_LEFT + BANK_KEY_SLIDER_AT, BAR_Y});
    press(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().deposit, 5000 - SLIDER_STEPS * (5000 / 34 + 1));
}

TEST_F(BankDeposit, WhileLendingIsSuspendedOnlyDepositingIsPossible) {
    player_table[1].bank_suspension_days = 2;
    press(WITHDRAW); // refused: the mode stays deposit
    press(digit(5));
    press(OK);
    bank_deposit_screen();
    EXPECT_EQ(me().cash, 995);
    EXPECT_EQ(me().deposit, 5005);
    EXPECT_NE(shown_find_text(Shown::Message, "还剩3天"), nullptr)
        << "the suspension's days are shown";
}

} // namespace

// The loan counter: amounts come through the number pad's decision.
namespace {

constexpr Point BORROW = centre(bank_menu_rect(BANK_M_BORROW)),
                REPAY = centre(bank_menu_rect(BANK_M_REPAY));
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
        next += 20000;
        right_press();
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
    press(BORROW);
    move(when() + 12000, 300, 200);
    counter_shot_at = when() + 12000;
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

// The clerk's balloon, above her at the counter's top: seen while she
// speaks when a point inside it is not the counter's wall.
constexpr Point IN_BALLOON{BANK_COUNTER_X + BANK_BALLOON_X + 20,
                           BANK_COUNTER_Y + BANK_BALLOON_Y + 40};
int balloon_seen = -1;
uint32_t balloon_look_at = 0;
void look_for_balloon() {
    if (balloon_seen >= 0 || plat_tick_count() < balloon_look_at) return;
    balloon_seen =
        PopupTest::screen_at(IN_BALLOON.x, IN_BALLOON.y) != PopupTest::screen_at(430, 200);
}

TEST_F(BankLoan, AtTheLimitNoPadOpens) {
    player_table[1].loan = 10000;
    press(BORROW);
    balloon_seen = -1;
    balloon_look_at = when() + 500;
    move(when() + 500, 300, 200);
    leave();
    plat_set_cursor_hook(look_for_balloon);
    bank_loan_screen(0, 0);
    plat_set_cursor_hook(nullptr);
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_TRUE(said("金额已超过"));
    EXPECT_EQ(me().loan, 10000);
    EXPECT_EQ(balloon_seen, 1) << "the clerk's line is seen in her balloon";
}

TEST_F(BankLoan, RepayingTheWholeLoanClearsTheDueDateAndMoreThanCashAndDepositIsRefused) {
    player_table[1].loan = 8000;
    player_table[1].loan_due = cal_pack(1998, 4, 15);
    decision_script_push(7000); // above cash + deposit (6000): refused
    decision_script_push(8000); // the pad's answer is capped at the loan by the window's seam
    press(REPAY);
    leave();
    bank_loan_screen(0, 0);
    EXPECT_TRUE(said("您的现金不足"));
    EXPECT_EQ(me().loan, 8000);
    EXPECT_EQ(me().deposit, 5000);
    EXPECT_EQ(me().cash, 1000);

    decisions_reset();
    player_table[1].deposit = 9000;
    restart();
    decision_script_push(8000);
    press(REPAY);
    leave();
    bank_loan_screen(0, 0);
    EXPECT_EQ(me().loan, 0);
    EXPECT_EQ(me().loan_due, 0u) << "the whole loan repaid clears the due date";
    EXPECT_EQ(me().deposit, 1000);
    EXPECT_TRUE(said("您的还款手续"));
}

} // namespace

// The counter's two cards: the calendar card on the calendar pictures, the
// accounts card with the player's face whole inside it.
namespace {

constexpr int CALENDAR_STRIP_W = 22, CALENDAR_STRIP_H = 30; // at (8, 100): left of the day

bool cards_shot = false;
uint32_t cards_shot_at = 0;
std::vector<uint16_t> cards_seen; // the screen while the counter is open
void shoot_cards() {
    if (cards_shot || plat_tick_count() < cards_shot_at) return;
    cards_shot = true;
    cards_seen.assign(size_t{SCREEN_W} * SCREEN_H, 0);
    for (int y = 0; y < SCREEN_H; ++y)
        for (int x = 0; x < SCREEN_W; ++x)
            cards_seen[size_t{SCREEN_W} * y + x] = PopupTest::screen_at(x, y);
    if (const char* dir = std::getenv("KARVO_SHOT_DIR"))
        PopupTest::save_screen_bmp(std::string(dir) + "/bank_cards_" +
                                   std::to_string(cal_month(game_date)) + "_" +
                                   std::to_string(cal_day(game_date)));
}

// True when every pixel the picture draws was seen with its top-left
// corner at (left, top) in the rectangle's part (x, y, w, h) of the picture.
bool picture_shown(const ImageRecord* pic, int left, int top, int x, int y, int w, int h) {
    if (pic == nullptr) return false;
    const uint16_t* palette = spr_record_palette(pic);
    const auto* indices = reinterpret_cast<const uint8_t*>(pic->pixels);
    int drawn = 0;
    for (int j = y; j < y + h && j < pic->height; ++j)
        for (int i = x; i < x + w && i < pic->width; ++i) {
            const int at = j * pic->width + i;
            const uint16_t px =
                palette ? (indices[at] ? palette[indices[at]] : 0) : pic->pixels[at];
            if (px == 0) continue;
            ++drawn;
            const int sx = left + i, sy = top + j;
            if (sx < 0 || sy < 0 || sx >= SCREEN_W || sy >= SCREEN_H) return false;
            if (cards_seen[size_t{SCREEN_W} * sy + sx] != px) return false;
        }
    return drawn > 0;
}

class BankCards : public BankLoan {
  protected:
    // Opens the counter on a date and takes the shot while it is open.
    void open_on(PackedDate date) {
        game_date = date;
        cards_shot = false;
        restart();
        cards_shot_at = when() + 200;
        move(when() + 200, 300, 200);
        leave();
        plat_set_cursor_hook(shoot_cards);
        bank_loan_screen(0, 0);
        plat_set_cursor_hook(nullptr);
    }
};

TEST_F(BankCards, TheCalendarCardIsTheSeasonsDayPageOrTodaysHolidayPicture) {
    struct Case {
        PackedDate date;
        int season; // the day page shown, -1 the holiday's picture
    };
    const Case cases[] = {{TODAY, 3},
                          {cal_pack(1998, 5, 12), 1},
                          {cal_pack(1998, 9, 9), 2},
                          {cal_pack(1998, 2, 14), -1}};
    void* pages = spr_read_set("PANEL.MKF", PANEL_CALENDAR);
    ASSERT_NE(pages, nullptr);
    for (const Case& c : cases) {
        open_on(c.date);
        ASSERT_TRUE(cards_shot);
        const ImageRecord* shown =
            spr_frame(c.season >= 0 ? pages : board_holiday_picture(), std::max(c.season, 0));
        EXPECT_TRUE(picture_shown(shown, BANK_CALENDAR_X, BANK_CALENDAR_Y, 8, 100, CALENDAR_STRIP_W,
                                  CALENDAR_STRIP_H))
            << cal_month(c.date) << "/" << cal_day(c.date);
    }
    spr_free_set(pages);
}

TEST_F(BankCards, TheAccountsCardShowsTheWholeFaceCentredBelowItsTop) {
    ASSERT_TRUE(set_up_two_players());
    game_active_mover = 1;
    open_on(TODAY);
    ASSERT_TRUE(cards_shot);
    const ImageRecord* face = spr_frame(view_portrait_set(1), 1);
    ASSERT_NE(face, nullptr);
    EXPECT_TRUE(picture_shown(face, BANK_ACCOUNTS_X + 100 - face->width / 2,
                              BANK_ACCOUNTS_Y + BANK_FACE_DY, 0, 0, face->width, face->height));
}

} // namespace

// The deposit window shows the side panel's first tab meanwhile.
namespace {

uint8_t tab_seen = 0xFF;
void note_tab() {
    if (tab_seen == 0xFF) tab_seen = board_tabs[1];
}

TEST_F(BankDeposit, TheSidePanelShowsTheFirstTabMeanwhileUnlessTheLayoutIsTheHeader) {
    struct Case {
        uint8_t layout, tab, during;
    };
    const Case cases[] = {{0, 2, 0}, {1, 3, 0}, {2, 2, 2}, {0, 0, 0}};
    for (const Case& c : cases) {
        settings_set_side_panel_layout(c.layout);
        board_tabs[1] = c.tab;
        tab_seen = 0xFF;
        restart();
        move(when(), 300, 300);
        next += 50;
        right_press();
        plat_set_cursor_hook(note_tab);
        bank_deposit_screen();
        plat_set_cursor_hook(nullptr);
        EXPECT_EQ(tab_seen, c.during) << "layout " << int{c.layout} << " tab " << int{c.tab};
        EXPECT_EQ(board_tabs[1], c.tab) << "the player's own tab comes back";
    }
    settings_reset_start_values();
}

} // namespace

// The special-financing page of the bank company's chairman.
namespace {

constexpr uint16_t BANK_OBJECT = OBJ_COMPANY_BASE + 2; // company building 2 is the bank
constexpr Point FINANCE = centre(bank_menu_rect(BANK_M_FINANCE));
constexpr int PAGE_LEFT = BANK_COUNTER_X + BANK_PAGE_X, PAGE_TOP = BANK_COUNTER_Y + BANK_PAGE_Y;
constexpr Point page_button(int k) {
    return centre(bank_page_button_rect(k));
}

// The first and the third figure's wells and the menu under the page, seen
// while the page is open.
bool page_shot = false;
uint32_t page_shot_at = 0;
uint16_t well_first = 0, well_third = 0, under_menu = 0;
void shoot_page() {
    if (page_shot || plat_tick_count() < page_shot_at) return;
    page_shot = true;
    const int well_top = PAGE_TOP + BANK_PAGE_FIGURE_Y + 2;
    well_first = PopupTest::screen_at(PAGE_LEFT + 152, well_top);
    well_third = PopupTest::screen_at(PAGE_LEFT + 152, well_top + 2 * BANK_PAGE_FIGURE_STEP);
    const PlatRect menu = bank_menu_rect(BANK_M_BORROW);
    under_menu = PopupTest::screen_at(menu.left + 3, menu.top + 3);
    if (const char* dir = std::getenv("KARVO_SHOT_DIR"))
        PopupTest::save_screen_bmp(std::string(dir) + "/bank_finance");
}

class BankFinance : public BankLoan {
  protected:
    void SetUp() override {
        BankLoan::SetUp();
        ASSERT_TRUE(test_board_load());
        map_company_table[2].kind = COMPANY_KIND_BANK;
        map_company_table[2].chairman = owner_of_seat(1); // player 1 chairs it
        game_player_count = 4;
        player_table[2].control = CTRL_COMPUTER;
        player_table[2].deposit = 3000; // with player 0's 5000: 8000 to draw on
    }
    void TearDown() override {
        game_world_reset();
        BankLoan::TearDown();
    }
    // The clerk's lines take their input while she speaks: go on well after.
    void later() { next += 20000; }
    void open_page() {
        press(FINANCE);
        later();
    }
    void visit() { bank_loan_screen(bank_finance_offered(1, BANK_OBJECT), BANK_OBJECT); }
    // A case of a table: the script of the one before is dropped (a visit
    // that ended left its last click unused).
    void next_case() {
        plat_script_reset();
        plat_script_set_close_at_end(false);
        decisions_reset();
        shown_clear();
        restart();
        next = 3000; // after the suspension's message
    }
};

TEST_F(BankFinance, ADealOnThePageEndsTheWholeVisit) {
    decision_script_push(3000);
    open_page();
    press(page_button(BANK_P_BORROW));
    later();
    page_shot_at = when();
    move(when(), 300, 200);
    next += 50;
    press(page_button(BANK_P_EXIT));
    later();
    right_press(); // would leave the counter, were it still open
    plat_set_cursor_hook(shoot_page);
    visit();
    plat_set_cursor_hook(nullptr);
    EXPECT_EQ(decision_last_amount(), 8000) << "the pad's maximum is the others' deposits";
    EXPECT_EQ(me().special_financing, 3000);
    EXPECT_EQ(me().deposit, 8000);
    EXPECT_TRUE(said("董事长亲自光临"));
    EXPECT_TRUE(said("周转的金额"));
    EXPECT_TRUE(said("董事长慢走"));
    EXPECT_FALSE(said("谢谢您的惠顾")) << "the counter closed with the page";
    ASSERT_TRUE(page_shot);
    EXPECT_EQ(well_first, well_third) << "the figures' wells are drawn";
    EXPECT_NE(well_first, under_menu) << "the page lies over the menu";
    EXPECT_EQ(bank_audit().over_limit, 0);
}

TEST_F(BankFinance, RepayingIsRefusedAboveCashAndDepositAndAWholeRepaymentEndsTheVisit) {
    struct Case {
        const char* what;
        int32_t cash, deposit, financing, amount;
        int32_t financing_after, deposit_after, cash_after;
        const char* line;
        bool visit_ends;
    };
    const Case cases[] = {
        {"above cash + deposit", 1000, 1000, 4000, 3000, 4000, 1000, 1000, "别开玩笑", false},
        {"the deposit first", 1000, 5000, 4000, 4000, 0, 1000, 1000, nullptr, true},
        {"then the cash", 3000, 1000, 4000, 2500, 1500, 0, 1500, nullptr, true},
    };
    for (const Case& c : cases) {
        next_case();
        player_table[1].cash = c.cash;
        player_table[1].deposit = c.deposit;
        player_table[1].special_financing = c.financing;
        decision_script_push(c.amount);
        open_page();
        press(page_button(BANK_P_REPAY));
        later();
        press(page_button(BANK_P_EXIT));
        later();
        right_press();
        visit();
        EXPECT_EQ(decision_last_amount(), c.financing) << c.what << ": the pad's maximum";
        EXPECT_EQ(me().special_financing, c.financing_after) << c.what;
        EXPECT_EQ(me().deposit, c.deposit_after) << c.what;
        EXPECT_EQ(me().cash, c.cash_after) << c.what;
        if (c.line != nullptr) {
            EXPECT_TRUE(said(c.line)) << c.what;
        }
        EXPECT_EQ(said("谢谢您的惠顾"), !c.visit_ends) << c.what;
    }
}

TEST_F(BankFinance, WithLendingSuspendedOrNothingLeftToDrawNoPadOpens) {
    struct Case {
        const char* what;
        uint8_t suspension;
        int32_t financing;
    };
    const Case cases[] = {{"lending suspended", 3, 0}, {"the others' deposits drawn", 0, 8000}};
    for (const Case& c : cases) {
        next_case();
        player_table[1].bank_suspension_days = c.suspension;
        player_table[1].special_financing = c.financing;
        open_page();
        press(page_button(BANK_P_BORROW));
        later();
        right_press(); // the page
        later();
        right_press(); // the counter
        visit();
        EXPECT_EQ(decision_asked_count(), 0) << c.what;
        EXPECT_EQ(me().special_financing, c.financing) << c.what;
        EXPECT_TRUE(said("董事长慢走")) << c.what;
        EXPECT_TRUE(said("谢谢您的惠顾")) << c.what << ": back at the counter, then left";
    }
}

TEST_F(BankFinance, OnlyTheChairmanFindsThePage) {
    map_company_table[2].chairman = owner_of_seat(0); // player 0 chairs it now
    open_page();
    right_press();
    visit();
    EXPECT_FALSE(said("董事长亲自光临"));
    EXPECT_TRUE(said("谢谢您的惠顾"));
}

} // namespace

// The clerk's reminder three days before the due date.
namespace {

class BankReminder : public BankLoan {
  protected:
    void SetUp() override {
        BankLoan::SetUp();
        player_table[1].loan = 4000;
        player_table[1].loan_due = cal_add_days(TODAY, 3);
    }
};

TEST_F(BankReminder, OnlyAPlayerAtTheControlsIsRemindedAndTheReminderClosesByItself) {
    struct Case {
        const char* what;
        uint8_t control;
        bool reminded;
    };
    const Case cases[] = {{"a human", CTRL_HUMAN, true},
                          {"a computer", CTRL_COMPUTER, false},
                          {"a human handed over", CTRL_HUMAN | CTRL_HANDED_OVER, false}};
    for (const Case& c : cases) {
        shown_clear();
        player_table[1].control = c.control;
        bank_check_loan_due();
        const std::string greeting = player_plain_name(1) + "您好";
        EXPECT_EQ(said(greeting.c_str()), c.reminded) << c.what;
        EXPECT_EQ(said("您向银行借贷的\n贷款即将到期。"), c.reminded) << c.what;
        EXPECT_EQ(said("请不要忘记喔！"), c.reminded) << c.what;
        EXPECT_EQ(shown_count(Shown::Music, 4) >= 1, c.reminded) << c.what;
        EXPECT_EQ(shown_count(Shown::Message), 0u) << c.what << ": no message three days before";
        EXPECT_EQ(me().loan, 4000) << c.what;
        EXPECT_EQ(shown_count(Shown::BoardRefresh) >= 1, c.reminded)
            << c.what << ": the board is repainted after the reminder";
    }
}

bool reminder_shot = false;
uint32_t reminder_shot_at = 0;
void shoot_reminder() {
    if (reminder_shot || plat_tick_count() < reminder_shot_at) return;
    reminder_shot = true;
    balloon_seen =
        PopupTest::screen_at(IN_BALLOON.x, IN_BALLOON.y) != PopupTest::screen_at(430, 200);
    if (const char* dir = std::getenv("KARVO_SHOT_DIR"))
        PopupTest::save_screen_bmp(std::string(dir) + "/bank_reminder");
}

TEST_F(BankReminder, AClickSkipsTheRest) {
    balloon_seen = -1;
    reminder_shot_at = when() + 300;
    move(when() + 300, 300, 200);
    next += 600;
    press(Point{300, 200});
    plat_set_cursor_hook(shoot_reminder);
    bank_clerk_reminder();
    plat_set_cursor_hook(nullptr);
    EXPECT_TRUE(said("您好"));
    EXPECT_FALSE(said("请不要忘记喔！"));
    ASSERT_TRUE(reminder_shot);
    EXPECT_EQ(balloon_seen, 1) << "the greeting is seen in the clerk's balloon";
    EXPECT_LT(plat_tick_count(), when() + 1000u) << "the click ended it";
}

} // namespace
