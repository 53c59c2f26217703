#include "board/fees.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/spinner.h"
#include "board/view_sets.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "finance/stock_offer.h"
#include "finance/trading.h"
#include "support/test_board.h"

namespace {

constexpr int A = 0, B = 1, C = 2; // seats
// Squares 1..4 serve facilities 1..4, squares 5..8 companies 1..4.
constexpr int FAC_SQUARE = 1, COMPANY_SQUARE = 5;

class FeesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(test_board_load(TestBoardSize{8, 2, 4, 4, 2}));
        game_player_count = 4;
        game_start_money = 200000;
        for (int p = 0; p < 4; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].square = static_cast<uint16_t>(p + 1);
            player_table[p].cash = 100000;
        }
        game_active_mover = A;
        for (int i = 1; i <= 4; ++i) {
            map_square_table[i].flags = SQ_PROPERTY;
            map_square_table[i].object = object_code(OBJ_FACILITY_BASE, i);
            map_square_table[4 + i].flags = SQ_PROPERTY;
            map_square_table[4 + i].object = object_code(OBJ_COMPANY_BASE, i);
            std::strcpy(map_facility_table[i].name, "Plaza");
            std::strcpy(map_company_table[i].name, "Acme");
            map_company_table[i].listed = 12; // not listed
        }
    }
    void TearDown() override { game_world_reset(); }

    static FacilityLot& facility(int kind, int owner, int level) {
        FacilityLot& f = map_facility_table[1];
        f.kind = static_cast<uint8_t>(kind);
        f.owner = owner_of_seat(owner);
        f.level = static_cast<uint8_t>(level);
        return f;
    }
    static CompanyBuilding& company(int kind, int chairman, int base) {
        CompanyBuilding& c = map_company_table[1];
        c.kind = static_cast<uint8_t>(kind);
        c.chairman = chairman < 0 ? OWNER_NONE : owner_of_seat(chairman);
        c.base_fee = static_cast<uint16_t>(base);
        return c;
    }
    // Company 1 listed as stock 0 at value, holding own shares.
    static CompanyBuilding& listed(int32_t value, int32_t own_shares) {
        CompanyBuilding& c = map_company_table[1];
        c.listed = 0;
        c.value = value;
        c.own_shares = own_shares;
        stock_table[0].building = 1;
        return c;
    }
    // Seeds the generator so that the computer's wheel of kind stops on value.
    static void wheel_will_stop_on(int kind, int value) {
        for (uint32_t s = 1; s < 5000; ++s) {
            game_srand(s);
            if (spin_wheel_run(kind) == value) {
                game_srand(s);
                return;
            }
        }
        FAIL() << "no seed stops wheel " << kind << " on " << value;
    }
    static bool shown_text(const char* needle) {
        return shown_find_text(Shown::Message, needle) != nullptr;
    }
};

// ---------------------------------------------------------------------------
// Facilities

TEST_F(FeesTest, PetrolStationChargesTheVehicleFactorTimesTheDiceAndNothingToAWalker) {
    facility(FK_PETROL_STATION, B, 1);
    game_price_index = 2;
    dice_total = 7;
    shown_clear();
    land_on_square(FAC_SQUARE);
    EXPECT_EQ(player_table[A].cash, 100000);
    EXPECT_FALSE(shown_text("加油费"));

    player_table[A].travel = TRAVEL_CAR;
    land_on_square(FAC_SQUARE);
    EXPECT_EQ(player_table[A].cash, 100000 - 14000); // 2 x 500 x 7 x 2
    EXPECT_EQ(player_table[B].deposit, 14000);
    EXPECT_EQ(map_facility_table[1].last_fee, 14000);
    EXPECT_TRUE(shown_text("加油费"));
    EXPECT_EQ(fee_vehicle_factor(TRAVEL_MOTORBIKE), 1);
    EXPECT_EQ(fee_vehicle_factor(TRAVEL_CONSTRUCTION | 0x1C), 4);
}

TEST_F(FeesTest, HotelNightsAreChargedAndSpentInTheHotel) {
    struct Case {
        int nights;
        uint8_t hotel_days;
    };
    for (const Case& k : {Case{4, 3}, Case{1, STATUS_END_MARK}}) {
        SCOPED_TRACE(k.nights);
        SetUp();
        FacilityLot& f = facility(FK_HOTEL, B, 3);
        f.fee[3] = 300;
        f.mark = 0x50; // fees doubled for five days
        // Insured: the map's insurance company pays 2000 a night back.
        map_company_table[2].kind = COMPANY_KIND_INSURANCE;
        player_table[A].insurance_days = 10;
        wheel_will_stop_on(WHEEL_HOTEL_DAYS, k.nights);
        land_on_square(FAC_SQUARE);
        const int32_t fee = k.nights * 600;
        EXPECT_EQ(player_table[A].cash, 100000 - fee + k.nights * 2000);
        EXPECT_EQ(player_table[B].deposit, fee);
        EXPECT_EQ(player_table[A].hotel_days, k.hotel_days);
        EXPECT_EQ(player_table[A].days_lost_month, k.nights);
        EXPECT_EQ(player_table[A].grudge[B], fee / 100 + k.nights * 20);
        EXPECT_EQ(player_table[A].inside_facility, 1);
        EXPECT_TRUE(shown_text(("休息" + std::to_string(k.nights) + "天").c_str()));
    }
}

TEST_F(FeesTest, AHotelStayFallsOnTheDeathGodsHolder) {
    FacilityLot& f = facility(FK_HOTEL, B, 1);
    f.fee[1] = 500;
    ASSERT_NE(god_place(GK_DEATH, 0, 5, owner_of_seat(C)), 0);
    const int32_t c_cash = player_table[C].cash;
    wheel_will_stop_on(WHEEL_HOTEL_DAYS, 2);
    shown_clear();
    land_on_square(FAC_SQUARE);
    EXPECT_TRUE(shown_text("死神显灵"));
    EXPECT_EQ(player_table[A].cash, 100000);
    EXPECT_EQ(player_table[C].cash, c_cash - 1000);
    EXPECT_EQ(player_table[B].deposit, 1000);
    EXPECT_EQ(player_table[C].hotel_days, 1);
    EXPECT_EQ(player_table[A].hotel_days, 0);
}

TEST_F(FeesTest, AScapegoatTakesTheHotelBillAndTheStay) {
    FacilityLot& f = facility(FK_HOTEL, B, 1);
    f.fee[1] = 1000;
    cards_fill_pools();
    ASSERT_NE(card_add(A, CARD_SCAPEGOAT), 0);
    player_table[A].cash = 100; // the bill is more than he has: he passes it on
    player_table[A].deposit = 100000;
    player_table[A].grudge[C] = 5000; // to the one he hates most
    const int32_t c_cash = player_table[C].cash;
    wheel_will_stop_on(WHEEL_HOTEL_DAYS, 3);
    land_on_square(FAC_SQUARE);
    EXPECT_EQ(card_has(A, CARD_SCAPEGOAT), 0);
    EXPECT_EQ(player_table[A].cash, 100);
    EXPECT_EQ(player_table[C].cash, c_cash - 3000);
    EXPECT_EQ(player_table[B].deposit, 3000);
    EXPECT_EQ(player_table[C].hotel_days, 2);
    EXPECT_EQ(player_table[A].hotel_days, 0);
}

TEST_F(FeesTest, ABuildVoidedByAGodKeepsTheChosenKindAtLevelZero) {
    FacilityLot& f = facility(FK_PARK, A, 0);
    f.price = 1000;
    const int slot = god_place(GK_SMALL_BAD_LUCK, 0, 5, owner_of_seat(A));
    ASSERT_NE(slot, 0);
    player_table[A].god_slot = static_cast<uint8_t>(slot);
    land_on_square(FAC_SQUARE);
    EXPECT_EQ(f.level, 0);
    EXPECT_GE(f.kind, FK_HOTEL); // a computer never builds a park
    EXPECT_EQ(player_table[A].cash, 100000);

    player_table[A].god_slot = 0;
    f.kind = FK_PARK;
    land_on_square(FAC_SQUARE);
    EXPECT_EQ(f.level, 1);
    EXPECT_EQ(player_table[A].cash, 100000 - 1000);
}

TEST_F(FeesTest, AHumanChoosesTheKindOfHisFirstBuildingWithoutACancel) {
    FacilityLot& f = facility(FK_PARK, A, 0);
    f.price = 1000;
    player_table[A].control = CTRL_HUMAN;
    decision_script_push(FK_SHOPPING_CENTRE);
    land_on_square(FAC_SQUARE);
    EXPECT_EQ(decision_last_kind(), DECIDE_FACILITY_KIND);
    EXPECT_EQ(f.kind, FK_SHOPPING_CENTRE);
    EXPECT_EQ(f.level, 1);
}

// ---------------------------------------------------------------------------
// Companies

TEST_F(FeesTest, AComputerCompanyChargesItsBaseTimesTheDaysWhateverThePriceIndex) {
    company(3, B, 100);
    game_days_elapsed = 50;
    game_price_index = 3;
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(player_table[A].cash, 100000 - 5000);
    EXPECT_EQ(player_table[B].deposit, 0); // the company earns it, not the chairman
    EXPECT_EQ(map_company_table[1].earnings, 5000);
    EXPECT_TRUE(shown_text("电脑费"));
}

TEST_F(FeesTest, NoFeeAtACompanyWithoutAChairman) {
    company(3, -1, 100);
    game_days_elapsed = 50;
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(player_table[A].cash, 100000);
}

TEST_F(FeesTest, TheTravelWheelDecidesTheTripAndItsFee) {
    for (int n : {0, 2}) {
        SCOPED_TRACE(n);
        SetUp();
        company(1, B, 1000);
        wheel_will_stop_on(WHEEL_TRAVEL, n);
        shown_clear();
        land_on_square(COMPANY_SQUARE);
        EXPECT_EQ(shown_text("不用出国！"), n == 0);
        EXPECT_EQ(player_table[A].cash, 100000 - n * 1000);
        EXPECT_EQ(player_table[A].away_days & AWAY_DAY_BITS, n);
    }
}

TEST_F(FeesTest, AWaivedTravelFeeStillSendsThePlayerAbroad) {
    company(1, B, 1000);
    // By the big wealth god.
    player_table[A].god_slot = GK_BIG_WEALTH;
    wheel_will_stop_on(WHEEL_TRAVEL, 3);
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(player_table[A].cash, 100000);
    EXPECT_EQ(player_table[A].away_days & AWAY_DAY_BITS, 3);

    // By the free-pass card of a computer who cannot pay it in cash.
    SetUp();
    company(1, B, 1000);
    cards_fill_pools();
    ASSERT_NE(card_add(A, CARD_FREE_PASS), 0);
    player_table[A].cash = 1000;
    player_table[A].deposit = 100000;
    wheel_will_stop_on(WHEEL_TRAVEL, 2);
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(card_has(A, CARD_FREE_PASS), 0);
    EXPECT_EQ(player_table[A].cash, 1000);
    EXPECT_EQ(player_table[A].deposit, 100000);
    EXPECT_EQ(map_company_table[1].earnings, 0);
    EXPECT_EQ(player_table[A].away_days & AWAY_DAY_BITS, 2);
}

TEST_F(FeesTest, OwnConstructionCompanyRaisesTheBestBuildingTwoLevelsOrToTheTop) {
    struct Case {
        int level, raised;
        bool top;
    };
    for (const Case& k : {Case{1, 3, false}, Case{4, 5, true}}) {
        SCOPED_TRACE(k.level);
        SetUp();
        company(11, A, 0);
        map_lot_table[1].owner = owner_of_seat(A);
        map_lot_table[1].level = static_cast<uint8_t>(k.level);
        map_lot_table[1].toll[k.level] = 500;
        shown_clear();
        land_on_square(COMPANY_SQUARE);
        EXPECT_EQ(map_lot_table[1].level, k.raised);
        EXPECT_EQ(shown_count(Shown::Flc, 512), 1u);
        EXPECT_EQ(shown_count(Shown::Flc, CELEBRATION_FILM), k.top ? 1u : 0u);
        EXPECT_EQ(player_table[A].cash, 100000);
    }
}

TEST_F(FeesTest, AnotherChairmansConstructionCompanyRaisesOnceForThePlotsPrice) {
    company(11, B, 0);
    game_price_index = 2;
    // Nothing to raise: the flat fee.
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(player_table[A].cash, 100000 - 2000);
    // A plot of his own: raised one level for its land price.
    map_lot_table[1].owner = owner_of_seat(A);
    map_lot_table[1].level = 1;
    map_lot_table[1].land_price = 3000;
    map_lot_table[1].toll[1] = 100;
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(map_lot_table[1].level, 2);
    EXPECT_EQ(player_table[A].cash, 100000 - 2000 - 6000);
    EXPECT_EQ(map_company_table[1].earnings, 8000);
}

TEST_F(FeesTest, InsuranceDaysAddUpToAtMost127) {
    EXPECT_EQ(fee_add_days(110, 30), 127); // not (110 + 30) & 0x7F = 12
    EXPECT_EQ(fee_add_days(STATUS_END_MARK, 5), 5);
    EXPECT_EQ(fee_add_days(10, 20), 30);
    EXPECT_EQ(fee_add_days(0, 3), 3);

    company(COMPANY_KIND_INSURANCE, A, 100);
    player_table[A].insurance_days = 110;
    wheel_will_stop_on(WHEEL_INSURANCE_DAYS, 30);
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(player_table[A].insurance_days, 127);
    EXPECT_EQ(player_table[A].cash, 100000); // the chairman insures himself for nothing
}

TEST_F(FeesTest, FeeProductsSaturateInsteadOfWrapping) {
    company(6, B, 65535);
    player_table[A].travel = TRAVEL_CONSTRUCTION;
    dice_total = 18;
    game_price_index = 100000;
    shown_clear();
    land_on_square(COMPANY_SQUARE);
    EXPECT_TRUE(shown_text("2147483647"));
    EXPECT_LE(player_table[A].cash, 0); // everything went, nothing was added
    EXPECT_GE(map_company_table[1].earnings, 100000);
}

// ---------------------------------------------------------------------------
// The share offer

TEST_F(FeesTest, TheOfferIsAtMostWhatTheCashBuysAThousandAndWhatTheCompanyHolds) {
    listed(200000, 5000); // 20 a share
    player_table[A].cash = 5000;
    EXPECT_EQ(land_share_offer_limit(A, 1), 250);
    player_table[A].cash = 1000000;
    EXPECT_EQ(land_share_offer_limit(A, 1), 1000);
    map_company_table[1].own_shares = 40;
    EXPECT_EQ(land_share_offer_limit(A, 1), 40);
    map_company_table[1].own_shares = 0;
    EXPECT_EQ(land_share_offer_limit(A, 1), 0);
}

TEST_F(FeesTest, ACompanyWorthLessThanOneYuanAShareOffersNothing) {
    listed(9999, 5000);
    EXPECT_EQ(land_share_offer_limit(A, 1), 0);
    EXPECT_EQ(land_ai_shares_to_buy(0, 100), 0);
    player_table[A].control = CTRL_HUMAN;
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_EQ(stock_holdings[A][0].shares, 0);
}

TEST_F(FeesTest, AComputerSubscribesWhatItsCashAboveThirtyPercentOfTheStartBuys) {
    // 200000 x 0.3 = 60000 kept back.
    struct Case {
        int32_t cash, max, expected;
    };
    for (const Case& k : {Case{62000, 500, 100}, Case{60000, 500, 0}, Case{90000, 500, 500}}) {
        player_table[A].cash = k.cash;
        EXPECT_EQ(land_ai_shares_to_buy(20, k.max), k.expected) << k.cash;
    }
    listed(200000, 5000);
    player_table[A].cash = 62000;
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(stock_holdings[A][0].shares, 100);
    EXPECT_EQ(player_table[A].cash, 60000);
    EXPECT_EQ(map_company_table[1].own_shares, 4900);
}

TEST_F(FeesTest, AHumanIsAskedYesOrNoThenTheCountAndBecomesChairman) {
    listed(200000, 5000);
    player_table[A].control = CTRL_HUMAN;
    // Yes, then more than offered: the pad would refuse it, so nothing is bought.
    decision_script_push(1);
    decision_script_push(5001);
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(decision_last_kind(), DECIDE_SHARE_COUNT);
    EXPECT_EQ(decision_last_amount(), 1000);
    EXPECT_EQ(stock_holdings[A][0].shares, 0);

    decision_script_push(1);
    decision_script_push(100);
    shown_clear();
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(stock_holdings[A][0].shares, 100);
    EXPECT_EQ(player_table[A].cash, 100000 - 2000);
    EXPECT_EQ(map_company_table[1].chairman, owner_of_seat(A));
    EXPECT_TRUE(shown_text("恭喜您获得经营权！"));

    // No: nothing asked about the count.
    decision_script_push(0);
    land_on_square(COMPANY_SQUARE);
    EXPECT_EQ(decision_last_kind(), DECIDE_SHARE_OFFER);
    EXPECT_EQ(stock_holdings[A][0].shares, 100);
}

} // namespace
