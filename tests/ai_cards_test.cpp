#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/ai_cards.h"
#include "cards/ai_settings.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "support/encounter_board.h"

namespace {

constexpr int LOT_A1 = OBJ_LOT_BASE + 1, LOT_A2 = OBJ_LOT_BASE + 2, LOT_A3 = OBJ_LOT_BASE + 3;
constexpr int LOT_B4 = OBJ_LOT_BASE + 4, LOT_B5 = OBJ_LOT_BASE + 5, LOT_B6 = OBJ_LOT_BASE + 6;
constexpr int FACILITY = OBJ_FACILITY_BASE + 1;

uint16_t square_code(int s) {
    const uint32_t f = map_square_table[s].flags;
    return static_cast<uint16_t>(0x8000 | ((f >> 8) & 0xFF) | (((f >> 16) & 0x7F) << 8));
}

class AiCards : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encounter_board_setup(3));
        view({});
    }
    void TearDown() override { game_world_reset(); }
    static void view(std::vector<uint16_t> codes) {
        list = std::move(codes);
        ai_view_set_list(list.data(), static_cast<int>(list.size()));
    }
    // Shows every plot and facility and the squares where players stand.
    static void view_all() {
        std::vector<uint16_t> codes;
        for (int i = 1; i <= 6; ++i)
            codes.push_back(static_cast<uint16_t>(OBJ_LOT_BASE + i));
        codes.push_back(FACILITY);
        for (int p = 0; p < 3; ++p)
            codes.push_back(square_code(player_table[p].square));
        view(codes);
    }
    static void own(int code, int p, int level) {
        if (code > OBJ_FACILITY_BASE) {
            map_facility_table[code - OBJ_FACILITY_BASE].owner = owner_of_seat(p);
            map_facility_table[code - OBJ_FACILITY_BASE].level = static_cast<uint8_t>(level);
        } else {
            map_lot_table[code - OBJ_LOT_BASE].owner = owner_of_seat(p);
            map_lot_table[code - OBJ_LOT_BASE].level = static_cast<uint8_t>(level);
        }
    }
    // A new market on a day it is open.
    static void open_market_day() {
        stock_new_game(0);
        game_date = cal_pack(1998, 3, 10);
        while (stock_market_closed())
            cal_next_day(game_date);
    }
    static inline std::vector<uint16_t> list;
};

// ---------------------------------------------------------------------------
// The gate

int reached = 0;
int count_reach() {
    ++reached;
    return 1;
}

TEST_F(AiCards, TheGateWeighsTheLevelAgainstThePersonality) {
    const auto saved = ai_card_table;
    struct Case {
        int id; // its level
        int personality;
    };
    // d = level - personality: >= 2 never, 1 one in three, <= 0 always.
    const Case cases[] = {{4, 0}, {4, 2}, {3, 0}, {3, 1}, {1, 0}, {1, 1}, {1, 2}, {13, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "card " << c.id << " personality " << c.personality);
        ai_card_table[c.id] = count_reach;
        player_table[0].personality = static_cast<uint8_t>(c.personality);
        const int d = card_def(c.id).level - c.personality;
        game_srand(7);
        int expected = 0;
        for (int i = 0; i < 300; ++i)
            if (d <= 0 || (d == 1 && game_rand() % 3 == 0)) ++expected;
        game_srand(7);
        reached = 0;
        int yes = 0;
        for (int i = 0; i < 300; ++i)
            yes += ai_try_card(c.id);
        EXPECT_EQ(reached, expected);
        EXPECT_EQ(yes, expected);
        if (d >= 2) {
            EXPECT_EQ(expected, 0);
        } else if (d == 1) {
            EXPECT_NEAR(expected, 100, 30);
        } else {
            EXPECT_EQ(expected, 300);
        }
    }
    ai_card_table = saved;
}

TEST_F(AiCards, RowsWithoutARoutineAnswerNoAndEveryItemRowHasOne) {
    player_table[0].personality = PERS_CUNNING;
    for (int id : {5, 6, 18, 19, 20, 21})
        EXPECT_EQ(ai_try_card(id), 0) << id;
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
        EXPECT_NE(ai_card_table[static_cast<size_t>(ITEM_ID_BASE + n)], nullptr) << n;
    EXPECT_EQ(ai_try_item(10), 0); // the time machine is never tried
    EXPECT_EQ(ai_try_card(0), 0);
    EXPECT_EQ(ai_try_card(31), 0);
}

// ---------------------------------------------------------------------------
// The decisions

TEST_F(AiCards, ShareWealthWhenPoorAgainstTheAverage) {
    player_table[0].cash = 2999;
    player_table[1].cash = 40000;
    player_table[2].cash = 50000;
    EXPECT_EQ(ai_card_share_wealth(), 1); // 29990 < 30999
    player_table[0].cash = 3000;
    EXPECT_EQ(ai_card_share_wealth(), 0);
}

TEST_F(AiCards, ShareAndTaxFindTargetsWithAndWithoutARival) {
    encounter_board_put(1, 3);
    encounter_board_put(2, 4);
    player_table[0].cash = 1000;
    player_table[1].cash = 60000;
    player_table[2].cash = 60000;
    view_all();
    // No rival: the last rich player in seat order.
    EXPECT_EQ(ai_card_share_poverty(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(2));
    EXPECT_EQ(ai_card_tax_audit(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(2));
    // The rival first, at its lower bar.
    player_table[0].grudge[1] = 10;
    player_table[1].cash = 31000;
    EXPECT_EQ(ai_card_share_poverty(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(1));
    EXPECT_EQ(ai_card_tax_audit(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(1));
    // Nobody on view: no play.
    view({});
    EXPECT_EQ(ai_card_share_poverty(), 0);
    EXPECT_EQ(ai_card_tax_audit(), 0);
}

TEST_F(AiCards, BuyLandOnlyFromARivalAndNeverOffProperty) {
    encounter_board_put(0, 4);
    own(LOT_B4, 1, 2);
    player_table[0].cash = 50000;
    EXPECT_EQ(ai_card_buy_land(), 0); // no rival
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_buy_land(), 1);
    player_table[0].cash = 2000; // value 1000 + 2 x 500
    EXPECT_EQ(ai_card_buy_land(), 0);
    player_table[0].cash = 50000;
    encounter_board_put(0, EB_EMPTY_SQUARE);
    for (auto f : {ai_card_buy_land, ai_card_swap_land, ai_card_rebuild, ai_card_auction})
        EXPECT_EQ(f(), 0);
}

TEST_F(AiCards, AuctionAndRebuildOfOthersProperty) {
    encounter_board_put(0, EB_FACILITY_SQUARE);
    map_facility_table[1].kind = FK_HOTEL;
    own(FACILITY, 1, 2);
    EXPECT_EQ(ai_card_auction(), 0);
    EXPECT_EQ(ai_card_rebuild(), 0);
    player_table[0].grudge[1] = 10; // the rival's level 2 is enough
    EXPECT_EQ(ai_card_auction(), 1);
    EXPECT_EQ(ai_card_rebuild(), 1);
    EXPECT_EQ(ai_choice_get(0), FK_PARK);
    // An own park of level 1 gets a random kind 1..4.
    own(FACILITY, 0, 1);
    map_facility_table[1].kind = FK_PARK;
    game_srand(3);
    const int kind = game_rand() % 4 + 1;
    game_srand(3);
    EXPECT_EQ(ai_card_rebuild(), 1);
    EXPECT_EQ(ai_choice_get(0), kind);
}

TEST_F(AiCards, RebuildMakesAChainStoreOnlyOfAStreetOfOthers) {
    encounter_board_put(0, 1);
    own(LOT_A1, 0, 1);
    player_table[0].personality = PERS_NORMAL;
    own(LOT_A2, 1, 1);
    EXPECT_EQ(ai_card_rebuild(), 0); // plot 3 is nobody's
    own(LOT_A3, 2, 1);
    EXPECT_EQ(ai_card_rebuild(), 1);
    player_table[0].personality = PERS_GOOD;
    map_lot_table[3].owner = 0;
    EXPECT_EQ(ai_card_rebuild(), 1);
}

TEST_F(AiCards, AngelPicksAStreetWithThreeOwnPlainPlots) {
    own(LOT_A1, 0, 1);
    own(LOT_A2, 0, 4);
    view_all();
    EXPECT_EQ(ai_card_angel(), 0);
    own(LOT_A3, 0, 0);
    EXPECT_EQ(ai_card_angel(), 1);
    EXPECT_EQ(ai_choice_get(0), LOT_A1);
}

TEST_F(AiCards, DemonHitsTheRivalsStrongStreet) {
    own(LOT_B4, 1, 4);
    own(LOT_B5, 1, 3);
    view_all();
    EXPECT_EQ(ai_card_demon(), 0); // no rival, and the others' street sum is only 7
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_demon(), 1);
    EXPECT_EQ(ai_choice_get(0), LOT_B4);
    own(LOT_B6, 0, 2);
    EXPECT_EQ(ai_card_demon(), 0); // self's sum there is 2
}

TEST_F(AiCards, MonsterPrefersTheRivalsFacilityThenTheHighestElsewhere) {
    own(LOT_A1, 1, 4);
    own(LOT_B4, 2, 5);
    view_all();
    EXPECT_EQ(ai_card_monster(), 1);
    EXPECT_EQ(ai_choice_get(0), LOT_B4);
    own(FACILITY, 1, 3);
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_monster(), 1);
    EXPECT_EQ(ai_choice_get(0), FACILITY);
    own(FACILITY, 0, 3);
    own(LOT_A1, 0, 4);
    own(LOT_B4, 2, 3);
    EXPECT_EQ(ai_card_monster(), 0); // a plot of level 3 is not enough without the rival
}

TEST_F(AiCards, DemolitionRemovesARoadblockOnOthersLand) {
    own(LOT_A2, 1, 0);
    const int slot = god_place(GK_ROADBLOCK, 2, 0, 0);
    ASSERT_NE(slot, 0);
    view({square_code(2)});
    EXPECT_EQ(ai_card_demolish(), 1);
    EXPECT_EQ(ai_choice_get(0), square_code(2));
    own(LOT_A2, 0, 0);
    EXPECT_EQ(ai_card_demolish(), 0);
}

TEST_F(AiCards, RobTakesTheRivalsDearestNastyCardOrElseALevelTwoCard) {
    encounter_board_put(1, 3);
    encounter_board_put(2, 4);
    card_add(1, CARD_BUY_LAND);  // level 1, 35
    card_add(1, CARD_SWAP_LAND); // level 0, 25
    card_add(2, CARD_MONSTER);   // level 2, 60
    view_all();
    EXPECT_EQ(ai_card_rob(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(2));
    EXPECT_EQ(ai_choice_get(1), 11);
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_rob(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(1));
    EXPECT_EQ(ai_choice_get(1), 3);
    card_remove(2, CARD_MONSTER);
    card_remove(1, CARD_BUY_LAND);
    EXPECT_EQ(ai_card_rob(), 0);
}

TEST_F(AiCards, StayOnAnOwnPlotWorthBuildingOrOnAVisitorOfAnOwnHotel) {
    encounter_board_put(0, 1);
    own(LOT_A1, 0, 2);
    player_table[0].cash = 10000;
    EXPECT_EQ(ai_card_stay(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(0));
    player_table[0].money_luck = -1;
    EXPECT_EQ(ai_card_stay(), 0);
    player_table[0].money_luck = 0;
    player_table[0].turtle_days = 1;
    EXPECT_EQ(ai_card_stay(), 0);
    map_facility_table[1].kind = FK_HOTEL;
    own(FACILITY, 0, 2);
    encounter_board_put(2, EB_FACILITY_SQUARE);
    view_all();
    EXPECT_EQ(ai_card_stay(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(2));
}

TEST_F(AiCards, HibernationIsTriedAboutOnceInFour) {
    game_srand(11);
    int played = 0;
    for (int i = 0; i < 400; ++i)
        played += ai_card_hibernate();
    EXPECT_NEAR(played, 100, 30);
}

TEST_F(AiCards, SleepwalkSparesSleepersAndRevengeHolders) {
    encounter_board_put(1, 3);
    encounter_board_put(2, 4);
    view_all();
    player_table[1].hibernation_days = 2;
    card_add(2, CARD_REVENGE);
    EXPECT_EQ(ai_card_sleepwalk(), 0);
    card_remove(2, CARD_REVENGE);
    EXPECT_EQ(ai_card_sleepwalk(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(2));
}

TEST_F(AiCards, GodsAreDismissedWhenBadAndInvitedWhenGood) {
    EXPECT_EQ(ai_card_dismiss_god(), 0);
    EXPECT_EQ(ai_card_invite_god(), 0);
    const int good = god_place(GK_SMALL_FORTUNE, 3, 0, 0);
    ASSERT_NE(good, 0);
    view({static_cast<uint16_t>(0x8000 | (good << 8))});
    EXPECT_EQ(ai_card_invite_god(), 1);
    EXPECT_EQ(ai_choice_get(0), good);
    const int bad = god_place(GK_SMALL_POVERTY, 0, 0, 0);
    ASSERT_NE(bad, 0);
    god_attach(0, 0, bad);
    EXPECT_EQ(ai_card_dismiss_god(), 1);
}

TEST_F(AiCards, RedCardOnTheDearestHoldingWhileTheMarketIsOpen) {
    open_market_day();
    stock_holdings[0][2] = StockHolding{100, 50.0f};
    stock_holdings[0][5] = StockHolding{300, 20.0f};
    EXPECT_EQ(ai_card_red(), 1);
    EXPECT_EQ(ai_choice_get(0), 5);
    stock_table[5].suspended_days = 2;
    EXPECT_EQ(ai_card_red(), 1);
    EXPECT_EQ(ai_choice_get(0), 2);
    stock_closed_days = 3;
    EXPECT_EQ(ai_card_red(), 0);
    EXPECT_EQ(ai_card_black(), 0);
}

TEST_F(AiCards, BlackCardOnTheRivalsHoldingThatSelfDoesNotShare) {
    open_market_day();
    stock_holdings[1][3] = StockHolding{100, 50.0f};
    stock_holdings[1][4] = StockHolding{500, 50.0f};
    stock_holdings[0][4] = StockHolding{1, 50.0f};
    EXPECT_EQ(ai_card_black(), 0); // no rival, nobody chairs a company
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_black(), 1);
    EXPECT_EQ(ai_choice_get(0), 3);
}

TEST_F(AiCards, RaiseTollOnAStreetSelfDominates) {
    own(LOT_A1, 0, 4);
    own(LOT_A2, 0, 3);
    view_all();
    EXPECT_EQ(ai_card_raise_toll(), 1); // 2 of 3 plots, sum 7, others 0
    EXPECT_EQ(ai_choice_get(0), LOT_A1);
    own(LOT_A3, 1, 0);
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_raise_toll(), 0); // the rival owns a plot there
}

TEST_F(AiCards, AllianceWithTheBiggestOwnerOnViewUnlessRivalOrAlly) {
    own(LOT_A1, 2, 0);
    own(LOT_B4, 2, 0);
    own(LOT_A2, 1, 0);
    encounter_board_put(2, 5);
    view_all();
    EXPECT_EQ(ai_card_alliance(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(2));
    player_table[0].ally = owner_of_seat(2);
    EXPECT_EQ(ai_card_alliance(), 0);
    player_table[0].ally = 0;
    player_table[0].grudge[2] = 10;
    EXPECT_EQ(ai_card_alliance(), 0);
}

TEST_F(AiCards, TurtleOnSelfBeforeCheapLandButNeverAtAFork) {
    // Self on square 1 facing forward: squares 2, 3, 4 are unowned plots.
    encounter_board_put(0, 1);
    player_table[0].prev_square = 0;
    player_table[0].cash = 10000;
    EXPECT_EQ(ai_card_turtle(), 1);
    EXPECT_EQ(ai_choice_get(0), ai_player_code(0));
    // A fork right ahead.
    map_square_table[2].links[2] = 12;
    map_square_table[12].links[2] = 2;
    EXPECT_EQ(ai_card_turtle(), 0);
}

TEST_F(AiCards, SeizeTheRivalsFacilityAhead) {
    encounter_board_put(0, 8);
    player_table[0].prev_square = 7;
    map_facility_table[1].kind = FK_HOTEL;
    own(FACILITY, 1, 3);
    EXPECT_EQ(ai_card_seize(), 0);
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_seize(), 1);
    EXPECT_EQ(ai_choice_get(0), FACILITY);
}

TEST_F(AiCards, SwapLandTradesACheapOwnPlotForARivalsDearerBuiltOne) {
    encounter_board_put(0, 1);
    own(LOT_A1, 0, 1);
    map_lot_table[4].land_price = 1500;
    own(LOT_B4, 1, 2);
    view_all();
    EXPECT_EQ(ai_card_swap_land(), 0); // no rival
    player_table[0].grudge[1] = 10;
    EXPECT_EQ(ai_card_swap_land(), 1);
    EXPECT_EQ(ai_choice_get(0), LOT_B4);
    map_lot_table[4].land_price = 1000; // not dearer
    EXPECT_EQ(ai_card_swap_land(), 0);
    map_lot_table[4].land_price = 1500;
    own(LOT_A2, 0, 0); // self owns another plot of the street
    EXPECT_EQ(ai_card_swap_land(), 0);
}

TEST_F(AiCards, DemolitionClearsAMineOnOwnLand) {
    own(LOT_A2, 0, 0);
    const int slot = god_place(GK_MINE, 2, 0, 0);
    ASSERT_NE(slot, 0);
    view({square_code(2)});
    EXPECT_EQ(ai_card_demolish(), 1);
    own(LOT_A2, 1, 0);
    EXPECT_EQ(ai_card_demolish(), 0);
}

TEST_F(AiCards, ABombNearItsEndIsDismissed) {
    const int bomb = god_place(GK_TIME_BOMB, 0, 13, owner_of_seat(0));
    ASSERT_NE(bomb, 0);
    player_table[0].bomb_slot = static_cast<uint8_t>(bomb);
    EXPECT_EQ(ai_card_dismiss_god(), 0);
    god_table[bomb].days = 12;
    EXPECT_EQ(ai_card_dismiss_god(), 1);
}

TEST_F(AiCards, SeizeAStreetAheadWhereOthersBuiltMuch) {
    encounter_board_put(0, 3);
    player_table[0].prev_square = 2;
    own(LOT_B4, 1, 4);
    own(LOT_B5, 2, 2);
    EXPECT_EQ(ai_card_seize(), 0); // others' sum 6
    own(LOT_B6, 2, 1);
    EXPECT_EQ(ai_card_seize(), 1);
    EXPECT_EQ(ai_choice_get(0), LOT_B4);
    own(LOT_B6, 0, 0);
    EXPECT_EQ(ai_card_seize(), 0); // self owns a plot there
}

TEST_F(AiCards, RaiseTollOnTheHighestOwnFacilityWithoutAStreet) {
    map_facility_table[1].kind = FK_HOTEL;
    own(FACILITY, 0, 2);
    view_all();
    EXPECT_EQ(ai_card_raise_toll(), 0);
    own(FACILITY, 0, 3);
    EXPECT_EQ(ai_card_raise_toll(), 1);
    EXPECT_EQ(ai_choice_get(0), FACILITY);
}

TEST_F(AiCards, TurtleOnAPlayerAboutToPaySelfTwice) {
    // Player 1 on square 3 walks onto self's plots 4 and 5.
    encounter_board_put(0, EB_EMPTY_SQUARE);
    player_table[0].prev_square = EB_EMPTY_SQUARE; // a dead end: self gets nothing ahead
    encounter_board_put(1, 3);
    player_table[1].prev_square = 2;
    own(LOT_B4, 0, 5);
    own(LOT_B5, 0, 5);
    for (int i = 4; i <= 6; ++i)
        for (int l = 0; l <= 5; ++l)
            map_lot_table[i].toll[l] = 3000;
    view_all();
    EXPECT_EQ(ai_card_turtle(), 1); // 2 x 6000 >= 10000
    EXPECT_EQ(ai_choice_get(0), ai_player_code(1));
    for (int i = 4; i <= 6; ++i)
        map_lot_table[i].toll[5] = 2000;
    EXPECT_EQ(ai_card_turtle(), 0); // 2 x 4000
}

TEST_F(AiCards, TheViewListsCountIsKeptInChoiceTwo) {
    view_all();
    const uint16_t* codes = nullptr;
    EXPECT_EQ(ai_view_list(&codes), static_cast<int>(list.size()));
    EXPECT_EQ(ai_choice_get(2), static_cast<int>(list.size()));
    EXPECT_EQ(codes[0], LOT_A1);
}

TEST_F(AiCards, RivalLandRules) {
    EXPECT_EQ(ai_is_rival_land(-1, LOT_A1), 0);
    own(LOT_A1, 1, 1);
    EXPECT_EQ(ai_is_rival_land(1, LOT_A1), 0); // the rival's level 1, no plot of self there
    own(LOT_A2, 0, 0);
    EXPECT_EQ(ai_is_rival_land(2, LOT_A1), 1); // self owns another plot of the street
    own(LOT_B4, 1, 2);
    EXPECT_EQ(ai_is_rival_land(1, LOT_B4), 1);
    EXPECT_EQ(ai_is_rival_land(2, LOT_B4), 0);
    own(FACILITY, 2, 1);
    EXPECT_EQ(ai_is_rival_land(1, FACILITY), 1);
}

} // namespace
