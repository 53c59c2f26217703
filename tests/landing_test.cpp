#include "board/landing.h"
#include "board/minigames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/shown.h"
#include "engine/util.h"
#include "support/test_board.h"

namespace {

constexpr int A = 0, B = 1, C = 2, D = 3; // seats

class LandingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(test_board_load(TestBoardSize{12, 8, 2, 2, 2}));
        game_player_count = 4;
        game_start_money = 200000;
        for (int p = 0; p < 4; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].square = static_cast<uint16_t>(p + 1);
        }
        game_active_mover = A;
        // Squares 1..8 serve plots 1..8; plots 1-3 and 7 lie on one street.
        for (int i = 1; i <= 8; ++i) {
            map_square_table[i].flags = SQ_PROPERTY;
            map_square_table[i].object = static_cast<uint16_t>(OBJ_LOT_BASE + i);
            LandLot& lot = map_lot_table[i];
            std::strcpy(lot.street, (i <= 3 || i == 7) ? "North" : "South");
            lot.land_price = 1000;
            lot.build_price = 500;
            for (int l = 0; l < 6; ++l)
                lot.toll[l] = static_cast<uint16_t>(100 * (l + 1) + i);
        }
    }
    void TearDown() override { game_world_reset(); }
    static void own(int lot, int player, int level, int chain = 0) {
        map_lot_table[lot].owner = owner_of_seat(player);
        map_lot_table[lot].level = static_cast<uint8_t>(level);
        map_lot_table[lot].chain_store = static_cast<uint8_t>(chain);
    }
    static int32_t toll(int lot) { return map_lot_table[lot].toll[map_lot_table[lot].level]; }
    static int64_t worth(int p) { return int64_t{player_table[p].cash} + player_table[p].deposit; }
};

// ---------------------------------------------------------------------------
// Tolls

TEST_F(LandingTest, TollAddsUpTheOwnersPlotsOfTheStreet) {
    game_price_index = 2;
    own(1, B, 0);
    own(2, B, 2);
    own(3, B, 3);
    own(7, C, 4);    // same street, other owner
    own(4, B, 5);    // other street
    own(5, B, 1, 1); // a chain store does not count in a street toll
    player_table[A].cash = 100000;
    const int32_t expected = (toll(1) + toll(2) + toll(3)) * 2;
    EXPECT_EQ(land_toll(B + 1, "North"), expected);
    shown_clear();
    EXPECT_EQ(land_on_square(2), LAND_WAIT_PROPERTY);
    // The payer hears the toll sound, then reads the street, the owner's
    // name without spaces and the amount for 1500 ms.
    const std::vector<ShownEvent>& shown = shown_log();
    size_t sound = shown.size(), message = shown.size();
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].kind == Shown::BoardEffect && shown[i].number == 20 && sound == shown.size())
            sound = i;
        if (shown[i].kind == Shown::Message && message == shown.size()) message = i;
    }
    ASSERT_LT(message, shown.size());
    EXPECT_LT(sound, message);
    char owner[64];
    util_strip_spaces(owner, player_name(B));
    const std::string& text = shown[message].text;
    EXPECT_EQ(text.rfind("North", 0), 0u) << text;
    EXPECT_NE(text.find(owner), std::string::npos) << text;
    EXPECT_NE(text.find(std::to_string(expected)), std::string::npos) << text;
    EXPECT_EQ(shown[message].ms, 1500u);
    EXPECT_EQ(player_table[A].cash, 100000 - expected);
    EXPECT_EQ(player_table[B].deposit, expected);
    EXPECT_EQ(map_lot_table[2].last_toll, expected);
    EXPECT_EQ(player_table[A].grudge[B], expected / 100);
    EXPECT_EQ(land_toll(0, "North"), 0); // nobody owns the unowned plots
}

TEST_F(LandingTest, ChainStoresChargeTwoThousandEachOnAnyStreet) {
    game_price_index = 3;
    own(1, B, 0, 1);
    own(4, B, 1, 1);
    own(5, B, 0, 1);
    own(8, B, 0, 1);
    own(2, B, 4);
    player_table[A].cash = 50000;
    EXPECT_EQ(land_count_chain_stores(B + 1), 4);
    EXPECT_EQ(land_toll(B + 1, nullptr), 8000 * 3);
    land_on_square(5);
    EXPECT_EQ(player_table[B].deposit, 24000);
    EXPECT_EQ(player_table[A].cash, 50000 - 24000);
}

TEST_F(LandingTest, MarkDoublesTheTollOrSealsTheProperty) {
    own(4, B, 2);
    player_table[A].cash = 10000;
    map_lot_table[4].mark = 0x50;
    land_on_square(4);
    const int32_t one = land_toll(B + 1, "South");
    EXPECT_EQ(player_table[B].deposit, 2 * one);

    map_lot_table[4].mark = 0x55; // sealed: no toll at all
    map_lot_table[4].last_toll = 77;
    const int64_t before = worth(A);
    land_on_square(4);
    EXPECT_EQ(worth(A), before);
    EXPECT_EQ(map_lot_table[4].last_toll, 77);
}

TEST_F(LandingTest, AllySharesTheTollInProportionAndOnlyTheOwnersPartDoubles) {
    own(1, B, 3); // owner's part
    own(7, C, 1); // ally's part on the same street
    player_table[B].ally = owner_of_seat(C);
    player_table[C].ally = owner_of_seat(B);
    map_lot_table[1].mark = 0x30;
    player_table[A].cash = 10000;
    const int64_t t = 2 * int64_t{toll(1)};
    const int64_t u = toll(7);
    const int64_t total = t + u;
    land_on_square(1);
    const int32_t ally_part = static_cast<int32_t>(total * (static_cast<double>(u) / total));
    EXPECT_EQ(player_table[C].deposit, ally_part);
    EXPECT_EQ(player_table[B].deposit, total - ally_part);
    EXPECT_EQ(player_table[A].cash, 10000 - total);
    EXPECT_EQ(map_lot_table[1].last_toll, total);
}

TEST_F(LandingTest, GrudgeComesFromWhatOwnerAndAllyCollectAfterTheGod) {
    // Owner's part 1000, ally's 3000; the small wealth god halves the toll.
    own(1, B, 0);
    own(7, C, 0);
    map_lot_table[1].toll[0] = 1000;
    map_lot_table[7].toll[0] = 3000;
    player_table[B].ally = owner_of_seat(C);
    player_table[C].ally = owner_of_seat(B);
    player_table[A].god_slot = GK_SMALL_WEALTH;
    god_table[GK_SMALL_WEALTH].holder = owner_of_seat(A);
    player_table[A].cash = 10000;
    land_on_square(1);
    EXPECT_EQ(player_table[B].deposit, 500);
    EXPECT_EQ(player_table[C].deposit, 1500);
    EXPECT_EQ(player_table[A].grudge[B], 5);
    EXPECT_EQ(player_table[A].grudge[C], 15);
}

TEST_F(LandingTest, PayersGodChangesTheToll) {
    struct Case {
        int slot;
        int32_t paid; // of a toll of 1000
    };
    const Case cases[] = {{GK_SMALL_WEALTH, 500},
                          {GK_BIG_WEALTH, 0},
                          {GK_SMALL_POVERTY, 1500},
                          {GK_BIG_POVERTY, 2000},
                          {GK_SMALL_FORTUNE, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        own(4, B, 0);
        map_lot_table[4].toll[0] = 1000;
        player_table[A] = PlayerRecord{};
        player_table[A].control = CTRL_COMPUTER;
        player_table[A].square = 1;
        player_table[A].cash = 5000;
        player_table[A].god_slot = static_cast<uint8_t>(c.slot);
        player_table[B].deposit = 0;
        land_on_square(4);
        EXPECT_EQ(player_table[B].deposit, c.paid);
        EXPECT_EQ(player_table[A].cash, 5000 - c.paid);
        EXPECT_EQ(player_table[A].grudge[B], c.paid / 100); // nothing when spared
        EXPECT_EQ(fee_apply_god(A, FEE_NAME_TOLL, 1000), c.paid);
    }
}

TEST_F(LandingTest, ExemptionsWaiveTheToll) {
    struct Case {
        const char* why;
        void (*set)();
    };
    const Case cases[] = {
        {"allied with the payer", [] { player_table[B].ally = owner_of_seat(A); }},
        {"death god", [] { player_table[B].god_slot = 15; }},
        {"hotel", [] { player_table[B].hotel_days = 2; }},
        {"away", [] { player_table[B].away_days = 0x41; }},
        {"jail", [] { player_table[B].jail_days = 0x80; }},
        {"hospital", [] { player_table[B].hospital_days = 1; }},
        {"hibernation", [] { player_table[B].hibernation_days = 3; }},
        {"sleepwalking", [] { player_table[B].sleepwalk_days = 3; }},
        {"sealed", [] { map_lot_table[4].mark = 0x21; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SetUp();
        own(4, B, 2);
        player_table[A].cash = 10000;
        c.set();
        EXPECT_EQ(fee_check_exemption(B, map_lot_table[4].mark, FEE_NAME_TOLL), 0);
        land_on_square(4);
        EXPECT_EQ(player_table[A].cash, 10000);
        EXPECT_EQ(player_table[B].deposit, 0);
        EXPECT_EQ(player_table[A].grudge[B], 0);
    }
    SetUp();
    EXPECT_EQ(fee_check_exemption(B, 0x50, FEE_NAME_TOLL), 1); // doubled is not sealed
}

TEST_F(LandingTest, DeathGodHolderPaysInsteadAndAnAllyHolderPaysNothing) {
    own(4, B, 1);
    player_table[A].cash = 10000;
    player_table[D].cash = 10000;
    player_table[D].god_slot = 16; // the second death god slot
    god_table[16].holder = owner_of_seat(D);
    const int32_t t = land_toll(B + 1, "South");
    land_on_square(4);
    EXPECT_EQ(player_table[A].cash, 10000);
    EXPECT_EQ(player_table[D].cash, 10000 - t);
    EXPECT_EQ(player_table[B].deposit, t);
    EXPECT_EQ(map_lot_table[4].last_toll, t);

    // The death god's holder is the owner's ally: nobody pays, the last toll stays.
    player_table[D].cash = 10000;
    player_table[B].deposit = 0;
    map_lot_table[4].last_toll = 5;
    player_table[B].ally = owner_of_seat(D);
    player_table[D].ally = owner_of_seat(B);
    land_on_square(4);
    EXPECT_EQ(player_table[A].cash, 10000);
    EXPECT_EQ(player_table[D].cash, 10000);
    EXPECT_EQ(player_table[B].deposit, 0);
    EXPECT_EQ(map_lot_table[4].last_toll, 5);
}

TEST_F(LandingTest, APayerWhoCannotPayGoesBankruptAndTheOwnerGetsTheRest) {
    own(4, B, 5);
    map_lot_table[4].toll[5] = 9000;
    player_table[A].cash = 1000;
    player_table[A].deposit = 500;
    EXPECT_EQ(land_on_square(4), LAND_WAIT_PROPERTY);
    EXPECT_EQ(player_table[A].control, CTRL_OUT);
    EXPECT_EQ(player_table[A].cash, 0);
    EXPECT_EQ(player_table[A].deposit, 0);
    EXPECT_EQ(player_table[B].deposit, 1500);
    EXPECT_EQ(map_lot_table[4].last_toll, 9000);
}

// A computer who cannot pay the toll in cash reaches for its card, which the
// cards module lends the landing: the free pass waives the toll, the
// scapegoat hands it to the player it hates most.
TEST_F(LandingTest, ACardRescuesThePayerOfATollHeCannotPayInCash) {
    ASSERT_TRUE(landing_cards.installed()) << "the cards module fills the landing's card rows";
    const struct {
        int card;
        int paid_by; // -1 nobody
    } cases[] = {{CARD_FREE_PASS, -1}, {CARD_SCAPEGOAT, C}};
    for (const auto& c : cases) {
        SetUp();
        own(4, B, 5);
        map_lot_table[4].toll[5] = 9000;
        cards_fill_pools();
        ASSERT_EQ(card_add(A, c.card), 1);
        player_table[A].cash = 1000;
        player_table[A].deposit = 100000;
        player_table[A].grudge[C] = 5000;
        player_table[C].cash = 50000;
        int64_t before[PLAYER_COUNT];
        for (int p = 0; p < PLAYER_COUNT; ++p)
            before[p] = worth(p);
        EXPECT_EQ(land_on_square(4), LAND_WAIT_PROPERTY);
        EXPECT_EQ(card_has(A, c.card), 0) << "card " << c.card;
        EXPECT_EQ(worth(A), before[A]) << "card " << c.card;
        EXPECT_EQ(worth(B), before[B] + (c.paid_by < 0 ? 0 : 9000)) << "card " << c.card;
        EXPECT_EQ(worth(C), before[C] - (c.paid_by == C ? 9000 : 0)) << "card " << c.card;
    }
}

TEST_F(LandingTest, SleepwalkerPaysTollsButGetsNothingElse) {
    player_table[A].sleepwalk_days = 3;
    player_table[A].cash = 10000;
    own(4, B, 0);
    land_on_square(4);
    EXPECT_EQ(player_table[A].cash, 10000 - toll(4));
    land_on_square(5); // unowned: not bought
    EXPECT_EQ(map_lot_table[5].owner, 0);
    own(6, A, 1);
    land_on_square(6); // own: not upgraded
    EXPECT_EQ(map_lot_table[6].level, 1);
    map_square_table[9].flags = SQ_POINTS_50;
    EXPECT_EQ(land_on_square(9), LAND_WAIT_OTHER);
    EXPECT_EQ(player_table[A].points, 0);
}

// ---------------------------------------------------------------------------
// Buying and upgrading

TEST_F(LandingTest, ComputerBuysOnlyAboveItsReserve) {
    // Starting money 200000: reserve min(10000, 7000) = 7000, times the index 2.
    game_price_index = 2;
    map_lot_table[5].level = 1;
    const int32_t price = (1 * 500 + 1000) * 2;
    EXPECT_EQ(price, 3000);
    player_table[A].cash = price;
    player_table[A].deposit = 14000; // exactly price + reserve: no
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].owner, 0);
    EXPECT_EQ(player_table[A].cash, price);
    player_table[A].deposit = 14001;
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].owner, A + 1);
    EXPECT_EQ(player_table[A].cash, 0);
    EXPECT_EQ(decision_asked_count(), 0); // a computer is never asked

    game_start_money = 100000; // reserve 5000 times the index 2
    player_table[A].cash = 0;
    player_table[A].deposit = 10000;
    EXPECT_EQ(land_ai_should_buy(0), 0);
    player_table[A].deposit = 10001;
    EXPECT_EQ(land_ai_should_buy(0), 1);
}

TEST_F(LandingTest, HumanIsAskedAndBuysOnYes) {
    player_table[A].control = CTRL_HUMAN;
    player_table[A].cash = 5000;
    decision_script_push(0);
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].owner, 0);
    EXPECT_EQ(decision_last_kind(), DECIDE_BUY);
    EXPECT_EQ(decision_last_amount(), 1000);
    EXPECT_EQ(decision_last_object(), OBJ_LOT_BASE + 5);
    EXPECT_EQ(decision_last_text(), "South\n\n费用:1000元\n\n是否买下此地？");
    decision_script_push(1);
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].owner, A + 1);
    EXPECT_EQ(player_table[A].cash, 4000);
    EXPECT_EQ(map_lot_table[5].expiry, 0u); // rights never lapse with term 0

    // A human handed over to the computer decides like a computer.
    player_table[A].control = CTRL_HUMAN | CTRL_HANDED_OVER;
    player_table[A].deposit = 100000;
    land_on_square(6);
    EXPECT_EQ(map_lot_table[6].owner, A + 1);
    EXPECT_EQ(decision_asked_count(), 2);
}

TEST_F(LandingTest, NoPurchaseWithoutCashOrWithTheLandGod) {
    player_table[A].cash = 999;
    player_table[A].deposit = 100000; // the deposit does not buy
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].owner, 0);
    player_table[A].cash = 100000;
    player_table[A].god_slot = GK_LAND_GOD;
    god_table[GK_LAND_GOD].holder = owner_of_seat(A);
    land_on_square(5);
    // The land god's holder never buys: the god takes the plot for nothing.
    EXPECT_EQ(map_lot_table[5].owner, A + 1);
    EXPECT_EQ(player_table[A].cash, 100000);
    EXPECT_EQ(money_audit().payments, 0);
}

TEST_F(LandingTest, PurchaseSetsTheExpiryOfTheLandTerm) {
    game_land_term = 3; // six months
    game_date = (1998u << 16) | (11u << 8) | 15u;
    player_table[A].cash = 100000;
    player_table[A].deposit = 100000;
    land_on_square(5);
    ASSERT_EQ(map_lot_table[5].owner, A + 1);
    EXPECT_EQ(map_lot_table[5].expiry, (1999u << 16) | (5u << 8) | 15u);
}

TEST_F(LandingTest, OwnPlotIsUpgradedUpToLevelFive) {
    game_price_index = 3;
    own(5, A, 3);
    player_table[A].cash = 3000;
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].level, 4);
    EXPECT_EQ(player_table[A].cash, 1500);
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].level, 5);
    EXPECT_EQ(player_table[A].cash, 0);
    player_table[A].cash = 100000;
    land_on_square(5); // at the top
    EXPECT_EQ(map_lot_table[5].level, 5);
    own(6, A, 0, 1); // a chain store is never upgraded here
    land_on_square(6);
    EXPECT_EQ(map_lot_table[6].level, 0);
    EXPECT_EQ(player_table[A].cash, 100000);
    own(4, A, 1);
    player_table[A].cash = 1499; // short of 1500
    land_on_square(4);
    EXPECT_EQ(map_lot_table[4].level, 1);
}

TEST_F(LandingTest, HumanIsAskedBeforeUpgrading) {
    own(5, A, 1);
    player_table[A].control = CTRL_HUMAN;
    player_table[A].cash = 2000;
    decision_script_push(0);
    decision_script_push(1);
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].level, 1);
    EXPECT_EQ(decision_last_kind(), DECIDE_BUILD);
    EXPECT_EQ(decision_last_text(), "South\n\n升级费用:500元\n\n是否升级？");
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].level, 2);
    EXPECT_EQ(player_table[A].cash, 1500);
    // Any control value other than human, computer or handed over does not build.
    player_table[A].control = CTRL_HUMAN | CTRL_STEPPING;
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].level, 2);
    EXPECT_EQ(decision_asked_count(), 2);
}

TEST_F(LandingTest, InvestmentGodsVoidOrCrownThePurchaseAndTheUpgrade) {
    player_table[A].cash = 100000;
    player_table[A].deposit = 100000;
    // A bad-luck god makes the purchase fail: nothing is paid.
    player_table[A].god_slot = 7;
    god_table[7].holder = owner_of_seat(A);
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].owner, 0);
    EXPECT_EQ(player_table[A].cash, 100000);
    // A fortune god builds a house on top of the purchase, for nothing.
    god_table[7].holder = OWNER_NONE;
    player_table[A].god_slot = GK_SMALL_FORTUNE;
    god_table[GK_SMALL_FORTUNE].holder = owner_of_seat(A);
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].owner, A + 1);
    EXPECT_EQ(map_lot_table[5].level, 1);
    EXPECT_EQ(player_table[A].cash, 99000);
    // ... and one more after an upgrade below the top.
    map_lot_table[5].level = 2;
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].level, 4);
    EXPECT_EQ(player_table[A].cash, 98500);
    // The upgrade to the top celebrates instead of calling the god.
    land_on_square(5);
    EXPECT_EQ(map_lot_table[5].level, 5);
    EXPECT_EQ(player_table[A].cash, 98000);
}

// ---------------------------------------------------------------------------
// Other squares

TEST_F(LandingTest, PointSquaresGivePointsWithoutWrapping) {
    map_square_table[9].flags = SQ_POINTS_50;
    map_square_table[10].flags = SQ_POINTS_30;
    map_square_table[11].flags = SQ_POINTS_10;
    EXPECT_EQ(land_on_square(9), LAND_WAIT_OTHER);
    EXPECT_EQ(land_on_square(10), LAND_WAIT_OTHER);
    EXPECT_EQ(land_on_square(11), LAND_WAIT_OTHER);
    EXPECT_EQ(player_table[A].points, 90);
    player_table[A].points = 65500;
    land_on_square(9);
    EXPECT_EQ(player_table[A].points, 65535);
}

TEST_F(LandingTest, WaitValueByKindAndBadSquaresAreHarmless) {
    map_square_table[9].flags = SQ_EMPTY;
    map_square_table[10].flags = SQ_PROPERTY;
    map_square_table[10].object = 0;
    map_square_table[11].flags = SQ_PROPERTY;
    map_square_table[11].object = OBJ_LOT_BASE + 200; // no such plot
    EXPECT_EQ(land_on_square(9), LAND_WAIT_OTHER);
    EXPECT_EQ(land_on_square(10), LAND_WAIT_OTHER);
    EXPECT_EQ(land_on_square(11), LAND_WAIT_PROPERTY);
    EXPECT_EQ(land_on_square(0), LAND_WAIT_OTHER);
    EXPECT_EQ(land_on_square(13), LAND_WAIT_OTHER);
    game_active_mover = MOVER_THIEF;
    EXPECT_EQ(land_on_square(1), LAND_WAIT_OTHER);
}

TEST_F(LandingTest, EachKindPlaysItsSoundAndDoesItsOwnThing) {
    struct Kind {
        int type;
        int sound;  // board_effects element, -1 none
        int points; // -1: a mini-game's score for a computer, 50 to 69
    };
    const Kind kinds[] = {
        {SQ_EMPTY, -1, 0},
        {SQ_NEWS, 10, 0},
        {SQ_FATE, 10, 0},
        {SQ_JAIL, 10, 0},
        {SQ_HOSPITAL, 10, 0},
        {SQ_MINIGAME_GRID, 10, -1},
        {SQ_MINIGAME_TARGETS, 10, -1},
        {SQ_MINIGAME_STEER, 10, -1},
        {SQ_LOTTERY, 10, 0},
        {SQ_POINTS_50, 16, 50},
        {SQ_POINTS_30, 16, 30},
        {SQ_POINTS_10, 16, 10},
        {SQ_CARD, 16, 0},
        {SQ_BANK, 10, 0},
        {SQ_SHOP, 10, 0},
        {SQ_MAGIC_HOUSE, 10, 0},
        {SQUARE_TYPE_COUNT, -1, 0},
        {0xFF, -1, 0},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.type);
        map_square_table[9].flags = static_cast<uint32_t>(k.type);
        player_table[A].points = 100;
        shown_clear();
        EXPECT_EQ(land_on_square(9), LAND_WAIT_OTHER);
        EXPECT_EQ(shown_count(Shown::BoardEffect), k.sound < 0 ? 0u : 1u);
        if (k.sound >= 0) {
            EXPECT_EQ(shown_count(Shown::BoardEffect, k.sound), 1u);
        }
        if (k.points < 0) {
            EXPECT_GE(player_table[A].points, 150);
            EXPECT_LE(player_table[A].points, 169);
            EXPECT_EQ(player_table[A].points, 100 + minigame_points);
            continue;
        }
        EXPECT_EQ(player_table[A].points, 100 + k.points);
        // The points squares show their points for one second.
        if (k.points) {
            ASSERT_EQ(shown_count(Shown::Message), 1u);
            for (const ShownEvent& e : shown_log())
                if (e.kind == Shown::Message) {
                    EXPECT_EQ(e.ms, 1000u);
                }
        }
    }
}

TEST_F(LandingTest, CardSquareGivesACardFromThePool) {
    map_square_table[9].flags = SQ_CARD;
    land_on_square(9);
    EXPECT_EQ(card_count(A), 0); // an empty pool gives nothing
    cards_fill_pools();
    land_on_square(9);
    EXPECT_EQ(card_count(A), 1);
}

TEST_F(LandingTest, CardRescueTestLooksAtSizeAndMeans) {
    game_price_index = 2;
    player_table[A].cash = 100;
    player_table[A].deposit = 100;
    EXPECT_EQ(fee_card_rescue_due(A, 200), 0);
    EXPECT_EQ(fee_card_rescue_due(A, 201), 1);
    player_table[A].cash = 100000;
    EXPECT_EQ(fee_card_rescue_due(A, 3999), 0);
    EXPECT_EQ(fee_card_rescue_due(A, 4000), 1);
}

} // namespace
