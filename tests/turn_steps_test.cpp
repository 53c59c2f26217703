#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/turn.h"
#include "board/turn_flow.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/options.h"
#include "engine/random.h"
#include "finance/lottery.h"
#include "shell/app.h"
#include "support/ring_board.h"

namespace {

using Ran = std::vector<std::pair<TurnStepRank, int>>;
Ran ran;

void record(TurnStepRank rank, int who) {
    ran.emplace_back(rank, who);
}

std::vector<TurnStepRank> ranks_of(const Ran& steps) {
    std::vector<TurnStepRank> ranks;
    for (const auto& [rank, who] : steps)
        ranks.push_back(rank);
    return ranks;
}

// The steps in the order a round takes them, with their names and kinds.
struct Expected {
    TurnStepRank rank;
    const char* name;
    bool new_day;
};
const Expected EXPECTED[] = {
    {TURN_STEP_STOCK_BUY, "stock_buy", false},
    {TURN_STEP_STOCK_SELL, "stock_sell", false},
    {TURN_STEP_RESERVES, "reserves", false},
    {TURN_STEP_NOTICE_VISIT, "notice_visit", false},
    {TURN_STEP_CARD, "card", false},
    {TURN_STEP_ITEM, "item", false},
    {TURN_STEP_DICE_CHOICE, "dice_choice", false},
    {TURN_STEP_SNAPSHOT, "snapshot", false},
    {TURN_STEP_VEHICLE_ARRIVE, "vehicle_arrive", false},
    {TURN_STEP_ITEMS_END, "items_end", false},
    {TURN_STEP_AUTOPLAY_PANEL, "autoplay_panel", false},
    {NEW_DAY_PRICE_INDEX, "price_index", true},
    {NEW_DAY_NOTICE_AGE, "notice_age", true},
    {NEW_DAY_STOCK_COUNTERS, "stock_counters", true},
    {NEW_DAY_STOCK_PRICES, "stock_prices", true},
    {NEW_DAY_DIVIDENDS, "dividends", true},
    {NEW_DAY_LOTTERY, "lottery", true},
    {NEW_DAY_SETTLEMENT, "settlement", true},
    {TURN_STEP_STOCK_VOLUME, "stock_volume", false},
    {TURN_STEP_LOAN_DUE, "loan_due", false},
    {TURN_STEP_AUTOSAVE, "autosave", false},
    {TURN_STEP_CONTINUE_OFFER, "continue", false},
    {TURN_STEP_SELL_SHARES, "sell_shares", false},
    {TURN_STEP_SELL_ITEMS, "sell_items", false},
    {TURN_STEP_SELL_CARDS, "sell_cards", false},
    {TURN_STEP_FREE_TICKETS, "free_tickets", false},
    {TURN_STEP_AUCTION, "auction", false},
};

// No fixture: what is registered is what the linked modules registered.
TEST(TurnStepTable, ListsEveryStepOnceInRankOrderEachRegistered) {
    ASSERT_EQ(std::size(EXPECTED), static_cast<size_t>(TURN_STEP_COUNT));
    std::set<std::string> names;
    for (size_t i = 0; i < std::size(EXPECTED); ++i) {
        const Expected& e = EXPECTED[i];
        EXPECT_EQ(static_cast<size_t>(e.rank), i) << e.name;
        EXPECT_STREQ(turn_step_name(e.rank), e.name);
        EXPECT_EQ(turn_step_is_new_day(e.rank), e.new_day) << e.name;
        EXPECT_TRUE(turn_step_registered(e.rank)) << e.name;
        EXPECT_TRUE(names.insert(e.name).second) << e.name << " named twice";
    }
    EXPECT_FALSE(turn_step_registered(TURN_STEP_COUNT));
    EXPECT_STREQ(turn_step_name(TURN_STEP_COUNT), "");
}

void another_turn_step(int) {}
void another_day_step() {}

TEST(TurnStepTableDeathTest, ARankTakesOneStepOfItsOwnKind) {
    EXPECT_DEATH(turn_step_register(TURN_STEP_CARD, another_turn_step), "registered twice");
    EXPECT_DEATH(new_day_step_register(NEW_DAY_LOTTERY, another_day_step), "registered twice");
    EXPECT_DEATH(turn_step_register(NEW_DAY_LOTTERY, another_turn_step),
                 "is a step of the new day");
    EXPECT_DEATH(new_day_step_register(TURN_STEP_CARD, another_day_step),
                 "is not a step of the new day");
    EXPECT_DEATH(turn_step_register(TURN_STEP_COUNT, another_turn_step), "without a step");
}

class TurnSteps : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ring_three_computers());
        ran.clear();
        turn_steps_set_observer(record);
    }
    void TearDown() override {
        turn_steps_set_observer(nullptr);
        settings_set_autosave(0);
    }
};

TEST_F(TurnSteps, AComputersTurnRunsItsStepsInRankOrder) {
    // Over several seeds the coin falls both ways: a card or an item, never both.
    std::set<TurnStepRank> played;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SetUp();
        game_srand(seed);
        game_active_mover = 1;
        turn_take_step();
        const std::vector<TurnStepRank> got = ranks_of(ran);
        ASSERT_EQ(got.size(), 7u) << seed;
        const TurnStepRank coin = got[4];
        ASSERT_TRUE(coin == TURN_STEP_CARD || coin == TURN_STEP_ITEM) << seed;
        played.insert(coin);
        EXPECT_EQ(got, (std::vector<TurnStepRank>{TURN_STEP_STOCK_BUY, TURN_STEP_STOCK_SELL,
                                                  TURN_STEP_RESERVES, TURN_STEP_NOTICE_VISIT, coin,
                                                  TURN_STEP_DICE_CHOICE, TURN_STEP_SNAPSHOT}))
            << seed;
        for (const auto& [rank, who] : ran)
            EXPECT_EQ(who, 1) << turn_step_name(rank);
        EXPECT_EQ(actor_anim_table[1].phase, PHASE_DICE) << seed;
    }
    EXPECT_EQ(played.size(), 2u);
}

TEST_F(TurnSteps, AnEndedGameStopsAComputersTurnAfterTheReserves) {
    game_end_code = 1;
    game_active_mover = 1;
    turn_take_step();
    EXPECT_EQ(ranks_of(ran), (std::vector<TurnStepRank>{TURN_STEP_STOCK_BUY, TURN_STEP_STOCK_SELL,
                                                        TURN_STEP_RESERVES}));
}

TEST_F(TurnSteps, TheWrapRunsTheNewDayThenTheTurnStartThenTheAutosave) {
    struct Case {
        PackedDate date;
        std::vector<TurnStepRank> of_the_day;
    };
    const Case cases[] = {
        {cal_pack(1998, 1, 14), {NEW_DAY_DIVIDENDS, NEW_DAY_LOTTERY}},
        {cal_pack(1998, 1, 31), {NEW_DAY_SETTLEMENT}},
        {cal_pack(1998, 1, 3), {}},
    };
    for (const Case& c : cases) {
        SetUp();
        settings_set_autosave(1);
        game_date = c.date;
        game_active_mover = 2;
        turn_next_actor();
        std::vector<TurnStepRank> expected = {TURN_STEP_ITEMS_END, NEW_DAY_PRICE_INDEX,
                                              NEW_DAY_NOTICE_AGE, NEW_DAY_STOCK_COUNTERS,
                                              NEW_DAY_STOCK_PRICES};
        expected.insert(expected.end(), c.of_the_day.begin(), c.of_the_day.end());
        expected.insert(expected.end(),
                        {TURN_STEP_STOCK_VOLUME, TURN_STEP_LOAN_DUE, TURN_STEP_AUTOSAVE});
        EXPECT_EQ(ranks_of(ran), expected) << cal_day(c.date);
        EXPECT_EQ(ran.front().second, 2) << "the turn that ended";
        EXPECT_EQ(ran[ran.size() - 2].second, 0) << "the new mover's turn starts";
    }
    // Within a day: no new day and no autosave.
    SetUp();
    settings_set_autosave(1);
    game_active_mover = 0;
    turn_next_actor();
    EXPECT_EQ(ranks_of(ran), (std::vector<TurnStepRank>{TURN_STEP_ITEMS_END, TURN_STEP_STOCK_VOLUME,
                                                        TURN_STEP_LOAN_DUE}));
}

TEST_F(TurnSteps, ABankruptsSaleRunsInRankOrderAndFreesItsTickets) {
    game_human_count = 1;
    player_table[0].control = CTRL_HUMAN;
    for (int i = 1; i <= 5; ++i)
        map_lot_table[i].owner = owner_of_seat(2);
    lotto_owners[3] = owner_of_seat(2);
    lotto_owners[4] = owner_of_seat(1);
    player_go_bankrupt(2);
    ASSERT_EQ(ran.size(), 7u);
    EXPECT_EQ(ranks_of(ran),
              (std::vector<TurnStepRank>{TURN_STEP_SELL_SHARES, TURN_STEP_SELL_ITEMS,
                                         TURN_STEP_SELL_CARDS, TURN_STEP_FREE_TICKETS,
                                         TURN_STEP_AUCTION, TURN_STEP_AUCTION, TURN_STEP_AUCTION}));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(ran[k].second, 2);
    for (int k = 4; k < 7; ++k)
        EXPECT_GT(ran[k].second, OBJ_LOT_BASE) << "an auction is told the object";
    EXPECT_EQ(lotto_owners[3], OWNER_NONE);
    EXPECT_EQ(lotto_owners[4], owner_of_seat(1));
}

TEST_F(TurnSteps, TheSingleHumansBankruptcyIsOfferedTheContinueWhichSetsTheEndCode) {
    game_human_count = 1;
    player_table[0].control = CTRL_HUMAN;
    player_go_bankrupt(0); // the offer is declined by waiting
    EXPECT_EQ(ranks_of(ran), (std::vector<TurnStepRank>{TURN_STEP_CONTINUE_OFFER}));
    EXPECT_EQ(ran[0].second, 0) << "bankrupt, not lost over the board";
    EXPECT_EQ(game_end_code, END_TO_TITLE);
}

} // namespace
