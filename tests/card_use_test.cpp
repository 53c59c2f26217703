#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/speech.h"
#include "board/world_reset.h"
#include "cards/ai_cards.h"
#include "cards/ai_settings.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "data/card_speech_lines.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "support/encounter_board.h"

namespace {

constexpr int LOT_A1 = OBJ_LOT_BASE + 1, LOT_A2 = OBJ_LOT_BASE + 2, LOT_B4 = OBJ_LOT_BASE + 4;
constexpr int FACILITY = OBJ_FACILITY_BASE + 1;

int code_of(int p) {
    return 0x8000 | (1 << p);
}

class CardUse : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encounter_board_setup(3));
        for (int p = 0; p < 3; ++p)
            player_table[p].character = static_cast<uint8_t>(p);
        human(0); // the user answers through the decision script
        shown_clear();
    }
    void TearDown() override {
        card_set_observer(nullptr, nullptr);
        game_world_reset();
    }
    static void human(int p) { player_table[p].control = CTRL_HUMAN; }
    static int play(int id) { return card_handler_table[id](); }
    // Gives the card to the current player and plays it.
    static int give_and_play(int id) {
        card_add(game_active_mover, id);
        return play(id);
    }
    static LandLot& lot(int code) { return map_lot_table[code - OBJ_LOT_BASE]; }
    static FacilityLot& fac() { return map_facility_table[1]; }
    static bool said(int p, int entry) {
        const char* text = card_speech_lines[player_table[p].character][entry];
        for (const ShownEvent& e : shown_log())
            if (e.kind == Shown::Speech && e.number == p && text && e.text == text) return true;
        return false;
    }
};

// ---------------------------------------------------------------------------
// Refusals: the card stays in the hand.

TEST_F(CardUse, EveryRefusedCardStaysInTheHand) {
    // A human on an empty square who cancels every question: only the two
    // cards without a target or a condition are played.
    human(0);
    for (int id = 1; id <= CARD_KIND_COUNT; ++id) {
        SCOPED_TRACE(id);
        ASSERT_EQ(card_add(0, id), 1);
        const auto hand = player_cards[0];
        for (int i = 0; i < 4; ++i)
            decision_script_push(0);
        const int played = play(id);
        decision_script_clear();
        if (id == 1 || id == 15) {
            EXPECT_EQ(played, 1);
            EXPECT_FALSE(card_has(0, id));
        } else {
            EXPECT_EQ(played, 0);
            EXPECT_EQ(player_cards[0], hand);
            card_remove(0, id);
        }
    }
}

TEST_F(CardUse, AHumansRefusedCardSoundsAndReopensTheWindowUntilItCloses) {
    human(0);
    card_add(0, CARD_BUY_LAND); // nothing to buy on the empty square
    card_add(0, CARD_STAY);
    std::vector<CardCommand> seen;
    card_set_observer([](const CardCommand& c,
                         void* v) { static_cast<std::vector<CardCommand>*>(v)->push_back(c); },
                      &seen);
    for (int a : {3, 14, code_of(1)})
        decision_script_push(a);
    card_use();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].id, 3);
    EXPECT_EQ(seen[0].played, 0);
    EXPECT_EQ(seen[1].id, 14);
    EXPECT_EQ(seen[1].played, 1);
    EXPECT_TRUE(card_has(0, CARD_BUY_LAND));
    EXPECT_FALSE(card_has(0, CARD_STAY));
    EXPECT_EQ(player_table[1].stay_days, 1);
    EXPECT_EQ(shown_count(Shown::Effect), 1u);
    // A card the human does not hold closes the window like 0.
    decision_script_push(25);
    card_use();
    EXPECT_EQ(seen.size(), 2u);
}

// ---------------------------------------------------------------------------
// The computer's try list

std::vector<int> tried;
template <int ID> int record_try() {
    tried.push_back(ID);
    return 0;
}
template <int... IDS> void install_recorders(std::integer_sequence<int, IDS...>) {
    ((ai_card_table[IDS + 1] = record_try<IDS + 1>), ...);
}

class TryList : public CardUse {
  protected:
    void SetUp() override {
        CardUse::SetUp();
        saved = ai_card_table;
        install_recorders(std::make_integer_sequence<int, CARD_KIND_COUNT>{});
        tried.clear();
        player_table[0].control = CTRL_COMPUTER;
        player_table[0].personality = PERS_CUNNING; // the gate never holds back
        player_table[0].ai_flags = 1;
    }
    void TearDown() override {
        ai_card_table = saved;
        CardUse::TearDown();
    }
    std::array<AiDecision, CARD_DEF_ROWS> saved;
};

TEST_F(TryList, ASmallHandIsTriedInSlotOrderWithoutADraw) {
    for (int id : {7, 3, 12, 9, 2})
        card_add(0, id);
    const uint32_t seed = game_rand_seed();
    card_use();
    EXPECT_EQ(tried, (std::vector<int>{7, 3, 12, 9, 2}));
    EXPECT_EQ(game_rand_seed(), seed);
}

TEST_F(TryList, ALargeHandTriesEightSlotsFromARandomStartWrapping) {
    const int ids[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int id : ids)
        card_add(0, id);
    game_srand(99);
    const int start = game_rand() % 12;
    game_srand(99);
    card_use();
    std::vector<int> expected;
    for (int i = 0; i < 8; ++i)
        expected.push_back(ids[(start + i) % 12]);
    // Rows 5, 6 answer through their recorder too: the gate asks every row.
    EXPECT_EQ(tried, expected);
}

TEST_F(TryList, TheFirstCardTheGateLetsThroughIsPlayedAndEndsTheTurn) {
    ai_card_table[15] = [] { return 1; };
    for (int id : {7, 15, 12})
        card_add(0, id);
    card_use();
    EXPECT_EQ(tried, (std::vector<int>{7}));
    EXPECT_FALSE(card_has(0, CARD_HIBERNATE));
    EXPECT_TRUE(card_has(0, CARD_DEMOLISH));
    EXPECT_EQ(player_table[1].hibernation_days, 5);
}

TEST_F(TryList, NoCardIsTriedWithoutTheUseCardsFlag) {
    player_table[0].ai_flags = 2;
    card_add(0, CARD_REBUILD);
    card_use();
    EXPECT_TRUE(tried.empty());
}

// ---------------------------------------------------------------------------
// Effects and their edge cases

TEST_F(CardUse, ShareWealthAveragesCashInSixtyFourBitsAndCountsDebt) {
    player_table[0].cash = INT32_MAX;
    player_table[1].cash = INT32_MAX - 1;
    player_table[2].cash = INT32_MAX - 2;
    EXPECT_EQ(give_and_play(1), 1);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(player_table[p].cash, INT32_MAX - 1);
    player_table[0].cash = 10000;
    player_table[1].cash = 20000;
    player_table[2].cash = -3000;
    EXPECT_EQ(give_and_play(1), 1);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(player_table[p].cash, 9000);
    EXPECT_EQ(player_table[1].grudge[0], 110); // (20000 - 9000) / 100
}

TEST_F(CardUse, ShareWealthWithEqualCashChangesNothing) {
    EXPECT_EQ(give_and_play(1), 1);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(player_table[p].cash, 10000);
        EXPECT_EQ(player_table[p].grudge[0], 0);
    }
}

TEST_F(CardUse, BuyLandIsRefusedOnOwnUnownedOrTooDearLand) {
    encounter_board_put(0, 1);
    card_add(0, CARD_BUY_LAND);
    EXPECT_EQ(play(3), 0); // unowned
    lot(LOT_A1).owner = owner_of_seat(0);
    EXPECT_EQ(play(3), 0); // own
    lot(LOT_A1).owner = owner_of_seat(1);
    lot(LOT_A1).level = 2;
    player_table[0].cash = 1999; // (2 x 500 + 1000) - 1
    EXPECT_EQ(play(3), 0);
    EXPECT_NE(shown_find_text(Shown::Message, "您的现金不足！"), nullptr);
    EXPECT_TRUE(card_has(0, CARD_BUY_LAND));
    player_table[0].cash = 2000;
    game_land_term = 1;
    EXPECT_EQ(play(3), 1);
    EXPECT_EQ(lot(LOT_A1).owner, owner_of_seat(0));
    EXPECT_NE(lot(LOT_A1).expiry, 0u);
    EXPECT_EQ(player_table[0].cash, 0);
    EXPECT_EQ(player_table[1].deposit, 12000);
    EXPECT_EQ(player_table[1].grudge[0], 800); // trunc(1000 x (2 + 2.0) / 5.0)
    EXPECT_FALSE(card_has(0, CARD_BUY_LAND));
}

TEST_F(CardUse, SwapLandNeedsNoOwnerAndMovesTermsWithTheirOwners) {
    game_land_term = 1;
    encounter_board_put(0, 1);
    lot(LOT_A1).owner = owner_of_seat(1);
    lot(LOT_A1).expiry = 0x07CF0101;
    lot(LOT_B4).owner = owner_of_seat(2);
    lot(LOT_B4).expiry = 0x07CF0202;
    decision_script_push(LOT_B4);
    EXPECT_EQ(give_and_play(4), 1);
    EXPECT_EQ(lot(LOT_A1).owner, owner_of_seat(2));
    EXPECT_EQ(lot(LOT_A1).expiry, 0x07CF0202u);
    EXPECT_EQ(lot(LOT_B4).owner, owner_of_seat(1));
    EXPECT_EQ(lot(LOT_B4).expiry, 0x07CF0101u);
    // Land taken from nobody starts a term of its own; nobody speaks for it.
    lot(LOT_A1).owner = owner_of_seat(0);
    lot(LOT_A1).expiry = 0x07CF0101;
    lot(LOT_A2).owner = OWNER_NONE;
    lot(LOT_A2).expiry = 0;
    shown_clear();
    decision_script_push(LOT_A2);
    EXPECT_EQ(give_and_play(4), 1);
    EXPECT_EQ(lot(LOT_A1).owner, OWNER_NONE);
    EXPECT_EQ(lot(LOT_A1).expiry, 0u);
    EXPECT_EQ(lot(LOT_A2).owner, owner_of_seat(0));
    EXPECT_NE(lot(LOT_A2).expiry, 0u);
    EXPECT_EQ(shown_count(Shown::Speech), 1u); // the user's line only
    EXPECT_TRUE(said(0, 3));
}

TEST_F(CardUse, SwapLandRefusesTheSamePlotAndTheOtherKind) {
    encounter_board_put(0, 1);
    card_add(0, CARD_SWAP_LAND);
    decision_script_push(LOT_A1);
    EXPECT_EQ(play(4), 0);
    decision_script_push(FACILITY);
    EXPECT_EQ(play(4), 0);
    EXPECT_TRUE(card_has(0, CARD_SWAP_LAND));
}

TEST_F(CardUse, RebuildTurnsAPlainPlotIntoAChainStoreOfLevelOneAndBack) {
    encounter_board_put(0, 1);
    lot(LOT_A1).level = 4;
    EXPECT_EQ(give_and_play(7), 1);
    EXPECT_EQ(lot(LOT_A1).chain_store, 1);
    EXPECT_EQ(lot(LOT_A1).level, 1);
    EXPECT_EQ(give_and_play(7), 1);
    EXPECT_EQ(lot(LOT_A1).chain_store, 0);
    EXPECT_EQ(lot(LOT_A1).level, 1);
    lot(LOT_A1).level = 0;
    card_add(0, CARD_REBUILD);
    EXPECT_EQ(play(7), 0);
}

TEST_F(CardUse, RebuildAndHouseSwapOfAFacilityEndHotelStays) {
    encounter_board_put(0, EB_FACILITY_SQUARE);
    fac().kind = FK_HOTEL;
    fac().level = 3;
    fac().owner = owner_of_seat(1);
    player_table[2].hotel_days = 3;
    human(0);
    decision_script_push(-1); // a human cancels the kind dialog
    card_add(0, CARD_REBUILD);
    EXPECT_EQ(play(7), 0);
    EXPECT_EQ(player_table[2].hotel_days, 3);
    decision_script_push(FK_PARK);
    EXPECT_EQ(play(7), 1);
    EXPECT_EQ(fac().kind, FK_PARK);
    EXPECT_EQ(fac().level, 1);
    EXPECT_EQ(player_table[2].hotel_days, STATUS_END_MARK);
}

TEST_F(CardUse, AngelRaisesTheWholeStreetButNotABuiltChainStore) {
    human(0);
    lot(LOT_A1).level = 4;
    lot(LOT_A2).chain_store = 1;
    lot(LOT_A2).level = 1;
    map_lot_table[3].chain_store = 1; // level 0: becomes level 1
    decision_script_push(LOT_A1);
    EXPECT_EQ(give_and_play(9), 1);
    EXPECT_EQ(lot(LOT_A1).level, 5);
    EXPECT_EQ(lot(LOT_A2).level, 1);
    EXPECT_EQ(map_lot_table[3].level, 1);
    EXPECT_EQ(lot(LOT_B4).level, 0);
    EXPECT_EQ(shown_count(Shown::Flash), 1u);
}

TEST_F(CardUse, MonsterAndDemolitionOnBuiltLandOfNobodyChargeNobody) {
    human(0);
    lot(LOT_A1).level = 3;
    decision_script_push(LOT_A1);
    EXPECT_EQ(give_and_play(11), 1);
    EXPECT_EQ(lot(LOT_A1).level, 0);
    EXPECT_EQ(shown_count(Shown::Speech), 1u);
    lot(LOT_A2).level = 2;
    decision_script_push(LOT_A2);
    EXPECT_EQ(give_and_play(12), 1);
    EXPECT_EQ(lot(LOT_A2).level, 1);
    for (int p = 0; p < 3; ++p)
        for (int q = 0; q < 3; ++q)
            EXPECT_EQ(player_table[p].grudge[q], 0);
    // Owned: the owner's grudge and line.
    lot(LOT_B4).level = 2;
    lot(LOT_B4).owner = owner_of_seat(1);
    decision_script_push(LOT_B4);
    EXPECT_EQ(give_and_play(12), 1);
    EXPECT_EQ(player_table[1].grudge[0], 30);
    EXPECT_TRUE(said(1, 71));
}

TEST_F(CardUse, RobTakesThePickBeforeTheRobCardLeavesAFullHand) {
    human(0);
    encounter_board_put(1, 3);
    const int hand[14] = {7, 7, 7, 7, 7, 7, 7, 12, 12, 12, 12, 12, 14, 14};
    for (int id : hand)
        card_add(0, id);
    card_add(0, CARD_ROB);
    card_add(1, CARD_SHARE_WEALTH);
    decision_script_push(code_of(1));
    decision_script_push(1);
    EXPECT_EQ(play(13), 1);
    EXPECT_EQ(card_count(0), 15);
    EXPECT_TRUE(card_has(0, CARD_SHARE_WEALTH));
    EXPECT_FALSE(card_has(0, CARD_ROB));
    EXPECT_EQ(player_table[1].grudge[0], 200);
}

TEST_F(CardUse, RobOfAnItemTheThiefCannotHoldIsNoPick) {
    human(0);
    player_items[0][ITEM_MINE - 1] = 9;
    player_items[1][ITEM_MINE - 1] = 1;
    card_add(0, CARD_ROB);
    decision_script_push(code_of(1));
    decision_script_push(STEAL_ITEM_FLAG | ITEM_MINE);
    EXPECT_EQ(play(13), 0);
    EXPECT_TRUE(card_has(0, CARD_ROB));
    EXPECT_EQ(player_items[1][ITEM_MINE - 1], 1);
    EXPECT_EQ(player_table[1].grudge[0], 0);
}

TEST_F(CardUse, HibernationSkipsHeldAndAbsentPlayersAndEndsASleepwalk) {
    player_table[1].jail_days = 2;
    player_table[2].sleepwalk_days = 3;
    player_table[2].sleep_saved_travel = TRAVEL_CONSTRUCTION | (5 << 2);
    player_table[2].sleep_saved_dice = 2;
    EXPECT_EQ(give_and_play(15), 1);
    EXPECT_EQ(player_table[1].hibernation_days, 0);
    EXPECT_EQ(player_table[1].grudge[0], 0);
    EXPECT_EQ(player_table[2].hibernation_days, 5);
    EXPECT_EQ(player_table[2].sleepwalk_days, 0);
    EXPECT_EQ(player_table[2].travel & TRAVEL_MODE_MASK, TRAVEL_CONSTRUCTION);
    EXPECT_EQ(player_table[2].dice, 2);
    EXPECT_EQ(player_table[2].grudge[0], 150);
    EXPECT_EQ(player_table[0].hibernation_days, 0);
}

TEST_F(CardUse, SleepwalkLeavesAVehicleRiderWalkingAndIsSpentOnASleeper) {
    human(0);
    player_table[1].travel = TRAVEL_CAR;
    player_table[1].dice = 3;
    decision_script_push(code_of(1));
    EXPECT_EQ(give_and_play(16), 1);
    EXPECT_EQ(player_table[1].sleepwalk_days, 5);
    EXPECT_EQ(player_table[1].travel, TRAVEL_WALK);
    EXPECT_EQ(player_table[1].dice, 1);
    EXPECT_EQ(player_items[1][ITEM_CAR - 1], 1);
    EXPECT_EQ(player_table[1].sleep_saved_travel, TRAVEL_CAR);
    player_table[2].hibernation_days = 2;
    decision_script_push(code_of(2));
    EXPECT_EQ(give_and_play(16), 1);
    EXPECT_EQ(player_table[2].sleepwalk_days, 0);
    EXPECT_EQ(player_table[2].grudge[0], 0);
}

TEST_F(CardUse, FrameUpPassedBackByAScapegoatJailsTheUserForFourDays) {
    human(0);
    card_add(1, CARD_SCAPEGOAT);
    player_table[1].grudge[0] = 500; // the computer victim hates the user most
    decision_script_push(code_of(1));
    EXPECT_EQ(give_and_play(17), 1);
    EXPECT_EQ(player_table[0].jail_days, 4);
    EXPECT_EQ(player_table[1].jail_days, 0);
    EXPECT_FALSE(card_has(1, CARD_SCAPEGOAT));
}

TEST_F(CardUse, FrameUpOnARevengeHolderJailsBoth) {
    human(0);
    card_add(1, CARD_REVENGE);
    decision_script_push(code_of(1));
    EXPECT_EQ(give_and_play(17), 1);
    EXPECT_EQ(player_table[1].jail_days, 5);
    EXPECT_EQ(player_table[0].jail_days, 5);
    EXPECT_FALSE(card_has(1, CARD_REVENGE));
}

TEST_F(CardUse, TaxAuditCountsDebtAsNothingAndFollowsTheScapegoat) {
    human(0);
    player_table[1].cash = -5000;
    decision_script_push(code_of(1));
    EXPECT_EQ(give_and_play(26), 1);
    EXPECT_EQ(player_table[1].cash, -5000);
    EXPECT_EQ(player_table[0].cash, 10000);
    // Redirected by a scapegoat: the tax is the new victim's.
    player_table[1].cash = 30000;
    player_table[2].cash = 5000;
    card_add(1, CARD_SCAPEGOAT);
    player_table[1].grudge[2] = 900;
    decision_script_push(code_of(1));
    EXPECT_EQ(give_and_play(26), 1);
    EXPECT_EQ(player_table[2].cash, 4000);
    EXPECT_EQ(player_table[1].cash, 30000);
    // Redirected to the user himself: nothing is paid.
    card_add(1, CARD_SCAPEGOAT);
    player_table[1].grudge[2] = 0;
    player_table[1].grudge[0] = 900;
    const int32_t before = player_table[0].cash + player_table[0].deposit;
    decision_script_push(code_of(1));
    EXPECT_EQ(give_and_play(26), 1);
    EXPECT_EQ(player_table[0].cash + player_table[0].deposit, before);
}

TEST_F(CardUse, AllianceBetweenTwoAlliedPlayersLeavesTheirAlliesAlone) {
    encounter_board_setup(4);
    human(0);
    player_table[0].ally = owner_of_seat(2);
    player_table[2].ally = owner_of_seat(0);
    player_table[1].ally = owner_of_seat(3);
    player_table[3].ally = owner_of_seat(1);
    decision_script_push(code_of(1));
    EXPECT_EQ(give_and_play(29), 1);
    EXPECT_EQ(player_table[0].ally, owner_of_seat(1));
    EXPECT_EQ(player_table[1].ally, owner_of_seat(0));
    EXPECT_EQ(player_table[0].alliance_days, 7);
    EXPECT_EQ(player_table[2].ally, 0);
    EXPECT_EQ(player_table[3].ally, 0);
}

TEST_F(CardUse, MoverCardsRefuseTheUsersOwnSquareForOtherPlayerModes) {
    human(0);
    encounter_board_put(1, EB_EMPTY_SQUARE); // shares the user's square
    card_add(0, CARD_SHARE_POVERTY);
    decision_script_push(code_of(0) | code_of(1));
    EXPECT_EQ(play(2), 0);
    EXPECT_TRUE(card_has(0, CARD_SHARE_POVERTY));
}

TEST_F(CardUse, StayAndTurtleOnOneselfUseTheSelfMarks) {
    human(0);
    decision_script_push(code_of(0));
    EXPECT_EQ(give_and_play(14), 1);
    EXPECT_EQ(player_table[0].stay_days, 0x80);
    decision_script_push(code_of(0));
    EXPECT_EQ(give_and_play(30), 1);
    EXPECT_EQ(player_table[0].turtle_days, 2);
    EXPECT_TRUE(said(0, 59));
    WalkerRecord& thief = walker_of_mover(MOVER_THIEF); // a walker on the board
    thief.place = WALKER_FREE;
    thief.square = player_table[1].square;
    decision_script_push(0x8000 | (1 << 4));
    EXPECT_EQ(give_and_play(30), 1);
    EXPECT_EQ(walker_of_mover(MOVER_THIEF).turtle_days, 3);
}

// ---------------------------------------------------------------------------
// The cards that act by themselves

TEST_F(CardUse, PardonGoesBeforeTheScapegoat) {
    card_add(1, CARD_PARDON);
    card_add(1, CARD_SCAPEGOAT);
    EXPECT_EQ(card_resolve_victim(1), -1);
    EXPECT_FALSE(card_has(1, CARD_PARDON));
    EXPECT_TRUE(card_has(1, CARD_SCAPEGOAT));
    player_table[1].grudge[2] = 50;
    EXPECT_EQ(card_resolve_victim(1), 2);
    EXPECT_FALSE(card_has(1, CARD_SCAPEGOAT));
    EXPECT_EQ(card_resolve_victim(1), 1);
}

TEST_F(CardUse, RevengeSpendsTheCardAndAnswersOne) {
    card_add(1, CARD_REVENGE);
    EXPECT_EQ(card_revenge(1), 1);
    EXPECT_FALSE(card_has(1, CARD_REVENGE));
    EXPECT_TRUE(said(1, 17));
    EXPECT_TRUE(said(0, 77));
}

struct ScapegoatCase {
    int context;
    int32_t cash;
    int32_t amount;
    int expected; // the new victim, or -1
};

TEST_F(CardUse, AComputersScapegoatPassesOnlyAtItsThresholds) {
    const ScapegoatCase cases[] = {
        {0, 10000, 0, 2},      // always
        {1, 10000, 10001, 2},  // more than its cash
        {1, 10000, 3999, -1},  // below the least random bar (4000)
        {1, 90000, 8000, 2},   // above the greatest (7999)
        {2, 20001, 0, 2},      // a fifth of the cash above 4000
        {2, 20000, 0, -1},     // exactly 4000
        {3, 90000, 90000, -1}, // any other context
    };
    for (const ScapegoatCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.context << " " << c.cash << " " << c.amount);
        card_add(1, CARD_SCAPEGOAT);
        player_table[1].cash = c.cash;
        player_table[1].grudge[2] = 10;
        EXPECT_EQ(card_scapegoat(1, c.context, c.amount), c.expected);
        EXPECT_EQ(card_has(1, CARD_SCAPEGOAT), c.expected == -1 ? 1 : 0);
        card_remove(1, CARD_SCAPEGOAT);
    }
}

TEST_F(CardUse, AHumansScapegoatAsksYesNoForOneCandidateAndChoosesAmongSeveral) {
    encounter_board_setup(2);
    human(0);
    card_add(0, CARD_SCAPEGOAT);
    decision_script_push(0);
    EXPECT_EQ(card_scapegoat(0, 1, 99999), -1);
    EXPECT_EQ(decision_last_kind(), DECIDE_USE_CARD);
    EXPECT_TRUE(card_has(0, CARD_SCAPEGOAT));
    decision_script_push(1);
    EXPECT_EQ(card_scapegoat(0, 1, 1), 1);
    EXPECT_FALSE(card_has(0, CARD_SCAPEGOAT));

    encounter_board_setup(3);
    human(0);
    card_add(0, CARD_SCAPEGOAT);
    decision_script_push(3); // not listed
    EXPECT_EQ(card_scapegoat(0, 0, 0), -1);
    EXPECT_EQ(decision_last_kind(), DECIDE_PLAYER);
    decision_script_push(2);
    EXPECT_EQ(card_scapegoat(0, 0, 0), 2);
}

TEST_F(CardUse, FreePassThresholdsAndAHumansNo) {
    card_add(1, CARD_FREE_PASS);
    EXPECT_EQ(card_free_pass(1, 0, 2999), 0);  // below the least bar, within cash
    EXPECT_EQ(card_free_pass(1, 0, 10001), 1); // more than the cash
    EXPECT_FALSE(card_has(1, CARD_FREE_PASS));
    card_add(1, CARD_FREE_PASS);
    player_table[1].cash = 90000;
    EXPECT_EQ(card_free_pass(1, 0, 6000), 1); // above the greatest bar (5999)
    human(2);
    card_add(2, CARD_FREE_PASS);
    decision_script_push(0);
    EXPECT_EQ(card_free_pass(2, 0, 99999), 0);
    EXPECT_TRUE(card_has(2, CARD_FREE_PASS));
    decision_script_push(1);
    EXPECT_EQ(card_free_pass(2, -1, 10), 1);
}

TEST_F(CardUse, InviteGodTakesTheNearestFreeAttachableGod) {
    const int near = god_place(GK_SMALL_WEALTH, 11, 0, 0);
    const int far = god_place(GK_BIG_WEALTH, 2, 0, 0);
    ASSERT_NE(near, 0);
    ASSERT_NE(far, 0);
    const uint16_t list[] = {static_cast<uint16_t>(0x8000 | (far << 8)),
                             static_cast<uint16_t>(0x8000 | (near << 8))};
    ai_view_set_list(list, 2);
    EXPECT_EQ(card_nearest_free_god(), near);
    human(0);
    EXPECT_EQ(give_and_play(23), 1);
    EXPECT_EQ(player_table[0].god_slot, near);
    ai_view_set_list(nullptr, 0);
}

TEST(CardLines, EveryCharacterSpeaksExactlyTheEntriesTheCardsUseInItsOwnVoice) {
    std::set<int> spoken;
    for (int e = 0; e < 30; ++e)
        spoken.insert(e);
    for (int e : {35, 36, 43, 59})
        spoken.insert(e);
    for (int k : {2, 3, 4, 5, 6, 8, 11, 12, 13, 14, 17, 18, 19, 20, 26, 29, 30})
        spoken.insert(59 + k);
    for (int c = 0; c < SPEECH_CHARACTERS; ++c) {
        for (int e = 0; e < CARD_SPEECH_ENTRIES; ++e) {
            SCOPED_TRACE(testing::Message() << c << " " << e);
            const char* line = card_speech_lines[c][e];
            ASSERT_EQ(line != nullptr, spoken.count(e) == 1);
            if (!line) continue;
            const int voice = speech_voice_marker(line, nullptr);
            if (c == 1 && e == 0) {
                EXPECT_STREQ(line, "#0426有钱大家花！");
            } else if (c == 1 && e == 61) {
                EXPECT_STREQ(line, "#0460喔！\n我的血汗钱！！");
            } else {
                EXPECT_EQ(voice, CARD_SPEECH_FIRST_VOICE + 90 * c + e);
            }
        }
    }
}

} // namespace
