#include <gtest/gtest.h>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "finance/stock.h"

namespace {

class CardDecisions : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        cards_fill_pools();
        for (int p = 0; p < PLAYER_COUNT; ++p)
            player_table[p].control = CTRL_HUMAN;
    }
    void TearDown() override { game_world_reset(); }
    static int scripted(const DecisionRequest& r, int answer) {
        decision_script_push(answer);
        return decide(r);
    }
};

TEST_F(CardDecisions, AnswersTheWindowsWouldRefuseCountAsTheirCancel) {
    card_add(0, CARD_REBUILD);
    const DecisionRequest card{DECIDE_CARD_PICK, 0, nullptr, 0, 0};
    EXPECT_EQ(scripted(card, 7), 7);
    EXPECT_EQ(scripted(card, 8), 0);  // not held
    EXPECT_EQ(scripted(card, 31), 0); // no card

    item_add(1, ITEM_MINE);
    card_add(1, CARD_ANGEL);
    const DecisionRequest theft{DECIDE_THIEF_PICK, 0, nullptr, 0, 1, 1};
    EXPECT_EQ(scripted(theft, 9), 9);
    EXPECT_EQ(scripted(theft, STEAL_ITEM_FLAG | ITEM_MINE), STEAL_ITEM_FLAG | ITEM_MINE);
    EXPECT_EQ(scripted(theft, STEAL_ITEM_FLAG | ITEM_CAR), 0); // not held
    player_items[0][ITEM_MINE - 1] = ITEM_KIND_MAX;
    EXPECT_EQ(scripted(theft, STEAL_ITEM_FLAG | ITEM_MINE), 0); // nowhere to put it
    const DecisionRequest cards_only{DECIDE_THIEF_PICK, 0, nullptr, 0, 1, 0};
    player_items[0][ITEM_MINE - 1] = 0;
    EXPECT_EQ(scripted(cards_only, STEAL_ITEM_FLAG | ITEM_MINE), 0);

    const DecisionRequest use{DECIDE_USE_CARD, 0, "?", 0, 20};
    EXPECT_EQ(scripted(use, 1), 1);
    EXPECT_EQ(scripted(use, 2), 0);

    stock_new_game(0);
    game_date = cal_pack(1998, 3, 10);
    while (stock_market_closed())
        cal_next_day(game_date);
    const DecisionRequest company{DECIDE_COMPANY, 0, nullptr, 0, 0, 1};
    EXPECT_EQ(scripted(company, 12), 12);
    EXPECT_EQ(scripted(company, 13), 0);
    stock_closed_days = 2; // a closed day
    EXPECT_EQ(scripted(company, 1), 0);
}

TEST_F(CardDecisions, WithoutAnAnswerTheCardKindsCancel) {
    card_add(0, CARD_REBUILD);
    EXPECT_EQ(decide(DecisionRequest{DECIDE_CARD_PICK, 0, nullptr, 0, 0}), 0);
    EXPECT_EQ(decide(DecisionRequest{DECIDE_THIEF_PICK, 1, nullptr, 0, 0, 1}), 0);
    EXPECT_EQ(decide(DecisionRequest{DECIDE_COMPANY, 0, nullptr, 0, 0, 2}), 0);
}

} // namespace
