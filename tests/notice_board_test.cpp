// The bulletin board: posting, withdrawing, the check of stale offers,
// purchases between players, the computer's visit and the check of a saved
// board.
#include "finance/notice_board.h"

#include <climits>

#include "board/decisions.h"
#include "cards/cards.h"
#include "engine/shown.h"
#include "support/stock_world.h"

namespace {

class NoticeBoardTest : public StockWorld {
  protected:
    void SetUp() override {
        StockWorld::SetUp();
        cards_fill_pools();
        // Plot 1 (seat 0, two houses) and facility 1 (seat 1, kind 1, level 1).
        lots[1].owner = owner_of_seat(0);
        lots[1].level = 2;
        lots[1].land_price = 1000;
        lots[1].build_price = 500;
        lots[2].land_price = 3000;
        map_lot_count = 2;
        facilities[1].owner = owner_of_seat(1);
        facilities[1].kind = 1;
        facilities[1].level = 1;
        facilities[1].price = 2000;
        facilities[1].fee[0] = 800;
        map_facility_count = 1;
        game_price_index = 1;
        shown_clear();
    }

    static constexpr uint16_t kPlot = object_code(OBJ_LOT_BASE, 1);
    static constexpr uint16_t kFacility = object_code(OBJ_FACILITY_BASE, 1);

    static int filled(int p) {
        int n = 0;
        for (const NoticeOffer& o : notice_board[p])
            n += o.type != NOTICE_EMPTY;
        return n;
    }
    // A seed whose first draw is a multiple of m, so a "1 in m" chance comes up.
    static void seed_chance(int m, bool hit = true) {
        for (uint32_t s = 1;; ++s) {
            game_srand(s);
            if ((game_rand() % m == 0) == hit) {
                game_srand(s);
                return;
            }
        }
    }
    static void give_shares(int p, int stock, int n) {
        stock_holdings[p][stock].shares += n;
        stock_update_manager(p, stock);
    }
};

TEST_F(NoticeBoardTest, PostingFillsTheFirstFreeSlotOrReplacesTheSameObjectInItsSlot) {
    give_shares(0, 2, 50);
    EXPECT_EQ(notice_post(0, NOTICE_SHARES, 2, 900, 30), 1);
    EXPECT_EQ(notice_post(0, NOTICE_LAND, kPlot, 5000, 0), 1);
    EXPECT_EQ(notice_post(0, NOTICE_SHARES, 2, 700, 40), 1); // replaces slot 0
    EXPECT_EQ(filled(0), 2);
    EXPECT_EQ(notice_board[0][0].asking, 700);
    EXPECT_EQ(notice_board[0][0].count, 40);
    EXPECT_EQ(notice_board[0][1].land_kind, 0);
    EXPECT_EQ(notice_board[0][1].land_level, 2);
    EXPECT_EQ(notice_post(1, NOTICE_LAND, kFacility, 1, 0), 1);
    EXPECT_EQ(notice_board[1][0].land_kind, 1);
    EXPECT_EQ(notice_board[1][0].land_level, 1);
    // An eighth offer finds no slot.
    for (int item = 1; item <= 5; ++item)
        EXPECT_EQ(notice_post(0, NOTICE_ITEM, item, 100, 0), 1);
    EXPECT_TRUE(notice_row_full(0));
    EXPECT_EQ(notice_post(0, NOTICE_CARD, 3, 100, 0), 0);
    EXPECT_EQ(notice_post(0, NOTICE_ITEM, 5, 999, 0), 1) << "the same object still replaces";
    EXPECT_EQ(notice_board[0][6].asking, 999);
    // Nothing the board cannot hold.
    EXPECT_EQ(notice_post(0, NOTICE_SHARES, STOCK_COUNT, 1, 1), 0);
    EXPECT_EQ(notice_post(1, NOTICE_LAND, object_code(OBJ_LOT_BASE, 3), 1, 0), 0);
    EXPECT_EQ(notice_post(1, 5, 1, 1, 0), 0);
}

TEST_F(NoticeBoardTest, RemovingMovesTheLaterOffersUpAndEmptiesTheSeventh) {
    for (int item = 1; item <= 7; ++item)
        notice_post(2, NOTICE_ITEM, item, 100 * item, 0);
    notice_remove(2, 1);
    EXPECT_EQ(notice_board[2][0].object, 1);
    EXPECT_EQ(notice_board[2][1].object, 3);
    EXPECT_EQ(notice_board[2][5].object, 7);
    EXPECT_EQ(notice_board[2][6].type, NOTICE_EMPTY);
}

TEST_F(NoticeBoardTest, ValidationDropsStaleOffersInOnePassAndKeepsTheRest) {
    give_shares(0, 1, 30);
    player_items[0][3 - 1] = 1;
    give_shares(0, 2, 20);
    notice_post(0, NOTICE_SHARES, 1, 100, 30);
    notice_post(0, NOTICE_LAND, kPlot, 100, 0);
    notice_post(0, NOTICE_ITEM, 3, 100, 0);
    notice_post(0, NOTICE_SHARES, 2, 100, 20);
    stock_holdings[0][1].shares = 29; // some sold elsewhere
    lots[1].level = 3;                // upgraded after posting
    notice_validate();
    EXPECT_EQ(filled(0), 2);
    EXPECT_EQ(notice_board[0][0].type, NOTICE_ITEM);
    EXPECT_EQ(notice_board[0][1].type, NOTICE_SHARES);
    EXPECT_EQ(notice_board[0][1].object, 2);
    // Items and cards no longer held; land sold on.
    card_add(1, CARD_SWAP_LAND);
    notice_post(1, NOTICE_CARD, 4, 100, 0);
    notice_post(1, NOTICE_LAND, kFacility, 100, 0);
    card_remove(1, CARD_SWAP_LAND);
    facilities[1].owner = owner_of_seat(2);
    player_items[0][3 - 1] = 0;
    notice_validate();
    EXPECT_EQ(filled(0), 1);
    EXPECT_EQ(filled(1), 0);
}

TEST_F(NoticeBoardTest, ValidationDropsOffersNamingNothingOnTheBoardWithoutLookingThemUp) {
    struct Case {
        uint8_t type;
        uint16_t object;
        uint16_t count;
    };
    const Case cases[] = {
        {NOTICE_SHARES, STOCK_COUNT, 1},
        {NOTICE_SHARES, 1, 0},
        {NOTICE_LAND, object_code(OBJ_LOT_BASE, 9999 - 2000), 0},
        {NOTICE_LAND, object_code(OBJ_FACILITY_BASE, 2), 0},
        {NOTICE_LAND, 7, 0},
        {NOTICE_ITEM, 0, 0},
        {NOTICE_ITEM, 14, 0},
        {NOTICE_CARD, 31, 0},
        {9, 1, 0},
    };
    give_shares(0, 1, 5);
    for (const Case& c : cases) {
        notice_board_clear();
        notice_board[0][0] = NoticeOffer{c.type, 0, c.object, 10, c.count, 0, 0};
        notice_post(0, NOTICE_SHARES, 1, 50, 5);
        notice_validate();
        EXPECT_EQ(filled(0), 1) << "type " << int{c.type} << " object " << c.object;
        EXPECT_EQ(notice_board[0][0].type, NOTICE_SHARES);
        EXPECT_EQ(notice_board[0][0].count, 5);
    }
}

TEST_F(NoticeBoardTest, SharesBoughtMoveByTransferPayTheSellersDepositAndReRankBoth) {
    set_price(0, 10.0f, 10.0f);
    give_shares(1, 0, 300); // seller chairs the company
    give_shares(2, 0, 200);
    notice_post(1, NOTICE_SHARES, 0, 2500, 250);
    player_table[0].control = CTRL_HUMAN;
    player_table[0].cash = 3000;
    stock_holdings[0][0] = StockHolding{50, 8.0f};
    game_active_mover = 0;
    ASSERT_EQ(notice_buy_offer(1, 0), 1);
    EXPECT_EQ(stock_holdings[0][0].shares, 300);
    EXPECT_FLOAT_EQ(stock_holdings[0][0].avg_cost, (400.0f + 2500.0f) / 300.0f);
    EXPECT_EQ(stock_holdings[1][0].shares, 50);
    EXPECT_EQ(player_table[0].cash, 500);
    EXPECT_EQ(player_table[1].deposit, 2500);
    // Both re-ranked: the buyer on top, the larger remaining holder next.
    const CompanyBuilding* c = stock_company(0);
    EXPECT_EQ(c->chairman, owner_of_seat(0));
    EXPECT_EQ(c->holders[1], owner_of_seat(2));
    EXPECT_EQ(c->holders[2], owner_of_seat(1));
    EXPECT_NE(shown_find_text(Shown::Message, NOTICE_TEXT_CHAIRMAN), nullptr);
}

TEST_F(NoticeBoardTest, SellingPartOfAHoldingHandsTheChairToTheLargerHolder) {
    give_shares(1, 0, 300);
    give_shares(2, 0, 200);
    notice_post(1, NOTICE_SHARES, 0, 10, 150);
    player_table[3].cash = 100;
    game_active_mover = 3; // a computer buyer: no message
    ASSERT_EQ(notice_buy_offer(1, 0), 1);
    EXPECT_EQ(stock_company(0)->chairman, owner_of_seat(2));
    EXPECT_EQ(shown_count(Shown::Message), 0u);
}

TEST_F(NoticeBoardTest, PurchasesAreRefusedOnCashAloneAndOnAFullHandWithNothingPaid) {
    player_table[0].control = CTRL_HUMAN;
    game_active_mover = 0;
    // Deposit enough, cash short.
    notice_post(0, NOTICE_LAND, kPlot, 5000, 0);
    player_table[2].control = CTRL_HUMAN;
    player_table[2].cash = 4999;
    player_table[2].deposit = 100000;
    game_active_mover = 2;
    EXPECT_EQ(notice_buy_offer(0, 0), 0);
    EXPECT_NE(shown_find_text(Shown::Message, NOTICE_TEXT_NO_CASH), nullptr);
    EXPECT_EQ(lots[1].owner, owner_of_seat(0));
    // Nine of the item held.
    player_items[1][2 - 1] = 1;
    notice_post(1, NOTICE_ITEM, 2, 100, 0);
    player_items[2][2 - 1] = ITEM_KIND_MAX;
    EXPECT_EQ(notice_buy_offer(1, 0), 0);
    EXPECT_NE(shown_find_text(Shown::Message, NOTICE_TEXT_ITEMS_FULL), nullptr);
    // Fifteen cards held.
    card_add(1, CARD_TURN_AROUND);
    notice_post(1, NOTICE_CARD, 6, 100, 0);
    for (int k = 0; k < CARD_HAND_MAX; ++k)
        player_cards[2][k] = static_cast<uint8_t>(1 + k % 10);
    EXPECT_EQ(notice_buy_offer(1, 1), 0);
    EXPECT_NE(shown_find_text(Shown::Message, NOTICE_TEXT_CARDS_FULL), nullptr);
    EXPECT_EQ(player_table[2].cash, 4999);
    EXPECT_EQ(player_items[1][2 - 1], 1);
    EXPECT_EQ(card_has(1, CARD_TURN_AROUND), 1);
    // Enough cash: land changes hands, level and expiry stay.
    lots[1].expiry = 12345;
    player_table[2].cash = 5000;
    ASSERT_EQ(notice_buy_offer(0, 0), 1);
    EXPECT_EQ(lots[1].owner, owner_of_seat(2));
    EXPECT_EQ(lots[1].level, 2);
    EXPECT_EQ(lots[1].expiry, 12345u);
    EXPECT_EQ(player_table[0].deposit, 5000);
    EXPECT_EQ(player_table[2].cash, 0);
}

TEST_F(NoticeBoardTest, ItemsAndCardsMoveFromHandToHandThroughThePools) {
    player_items[1][7 - 1] = 2;
    notice_post(1, NOTICE_ITEM, 7, 300, 0);
    card_add(1, CARD_ANGEL);
    notice_post(1, NOTICE_CARD, 9, 400, 0);
    const auto stock_before = card_stock;
    player_table[0].cash = 1000;
    game_active_mover = 0;
    ASSERT_EQ(notice_buy_offer(1, 0), 1);
    ASSERT_EQ(notice_buy_offer(1, 1), 1);
    EXPECT_EQ(player_items[0][7 - 1], 1);
    EXPECT_EQ(player_items[1][7 - 1], 1);
    EXPECT_EQ(card_has(0, CARD_ANGEL), 1);
    EXPECT_EQ(card_has(1, CARD_ANGEL), 0);
    EXPECT_EQ(card_stock, stock_before);
    EXPECT_EQ(player_table[0].cash, 300);
    EXPECT_EQ(player_table[1].deposit, 700);
}

TEST_F(NoticeBoardTest, MarketValuesFollowThePriceIndexAndStayWithinBounds) {
    set_price(4, 12.5f, 12.5f);
    game_price_index = 3;
    EXPECT_EQ(notice_market_value_of(NOTICE_SHARES, 4, 10), 125);
    EXPECT_EQ(notice_market_value_of(NOTICE_LAND, kPlot, 0), (1000 + 2 * 500) * 3);
    EXPECT_EQ(notice_market_value_of(NOTICE_LAND, kFacility, 0), (2000 + 800) * 3);
    EXPECT_EQ(notice_market_value_of(NOTICE_ITEM, 5, 0), item_def(5).price * 100 * 3);
    EXPECT_EQ(notice_market_value_of(NOTICE_CARD, 2, 0),
              card_def(CARD_SHARE_POVERTY).price * 100 * 3);
    EXPECT_EQ(notice_asking_limit(NOTICE_SHARES, 4, 10), 1250);
    // A huge index: 64-bit values, the asking bound held at the 32-bit top.
    game_price_index = INT32_MAX;
    EXPECT_EQ(notice_market_value_of(NOTICE_LAND, kPlot, 0), int64_t{2000} * INT32_MAX);
    EXPECT_EQ(notice_asking_limit(NOTICE_LAND, kPlot, 0), INT32_MAX);
    EXPECT_EQ(notice_asking_limit(NOTICE_LAND, object_code(OBJ_LOT_BASE, 5), 0), 0);
}

TEST_F(NoticeBoardTest, TheCardPairListCountsOrderedPairs) {
    const struct {
        std::vector<int> hand;
        int pairs;
    } cases[] = {{{5, 5}, 2}, {{5, 5, 5}, 6}, {{5, 5, 7, 7}, 4}, {{1, 2, 3}, 0}};
    for (const auto& c : cases) {
        player_cards[0] = {};
        for (size_t k = 0; k < c.hand.size(); ++k)
            player_cards[0][k] = static_cast<uint8_t>(c.hand[k]);
        uint8_t out[HOLDING_ROW * HOLDING_ROW];
        EXPECT_EQ(notice_card_pairs(0, out, static_cast<int>(sizeof out)), c.pairs);
    }
}

TEST_F(NoticeBoardTest, AComputerPostsADoubledCardFromAFullHandMakingRoomFirst) {
    for (int k = 0; k < 13; ++k)
        card_add(1, k == 12 ? 8 : 8 + k);
    for (int item = 1; item <= 7; ++item)
        notice_post(1, NOTICE_ITEM, item, 1, 0);
    player_items[1] = {};
    game_price_index = 2;
    seed_chance(15);
    notice_ai_post(1);
    EXPECT_EQ(notice_board[1][0].object, 2) << "the first offer was withdrawn";
    EXPECT_EQ(notice_board[1][6].type, NOTICE_CARD);
    EXPECT_EQ(notice_board[1][6].object, 8);
    EXPECT_EQ(notice_board[1][6].asking, card_def(CARD_AUCTION).price * 100 * 2);
}

TEST_F(NoticeBoardTest, AComputerPostsOnlyItemsItCanSpareAndNothingWithoutOne) {
    player_table[2].personality = PERS_GOOD;
    player_items[2][1 - 1] = 2;
    seed_chance(15);
    notice_ai_post(2);
    EXPECT_EQ(filled(2), 0) << "two of a kind it does not mind: no candidate";
    player_items[2][4 - 1] = 3;
    seed_chance(15);
    notice_ai_post(2);
    ASSERT_EQ(filled(2), 1);
    EXPECT_EQ(notice_board[2][0].type, NOTICE_ITEM);
    EXPECT_EQ(notice_board[2][0].object, 4);
    seed_chance(15, false);
    notice_ai_post(2);
    EXPECT_EQ(filled(2), 1);
}

TEST_F(NoticeBoardTest, AComputerRepricesItsItemsAndCardsToTheIndex) {
    player_items[3][2 - 1] = 1;
    card_add(3, CARD_SWAP_LAND);
    give_shares(3, 1, 10);
    notice_post(3, NOTICE_ITEM, 2, 1, 0);
    notice_post(3, NOTICE_CARD, 4, 1, 0);
    notice_post(3, NOTICE_SHARES, 1, 1, 10);
    game_price_index = 4;
    seed_chance(3);
    notice_ai_reprice(3);
    EXPECT_EQ(notice_board[3][0].asking, item_def(2).price * 400);
    EXPECT_EQ(notice_board[3][1].asking, card_def(CARD_SWAP_LAND).price * 400);
    EXPECT_EQ(notice_board[3][2].asking, 1);
}

TEST_F(NoticeBoardTest, AComputerBuysOneCheapShareOrLandOfferAndNeverItemsOrCards) {
    set_price(0, 10.0f, 10.0f);
    set_price(1, 10.0f, 10.0f);
    player_items[0][2 - 1] = 1;
    card_add(0, CARD_SWAP_LAND);
    give_shares(0, 0, 100);
    give_shares(0, 1, 99);
    notice_post(0, NOTICE_ITEM, 2, 1, 0);
    notice_post(0, NOTICE_CARD, 4, 1, 0);
    notice_post(0, NOTICE_SHARES, 0, 1000, 100); // 10 a share: not below the price
    notice_post(0, NOTICE_LAND, kPlot, 5999, 0); // under 3 x 2000
    notice_post(0, NOTICE_SHARES, 1, 980, 99);   // 9 a share
    game_active_mover = 3;
    player_table[3].cash = 12000; // 2 x 5999 < 12000
    seed_chance(4);
    EXPECT_EQ(notice_ai_buy(3), 1);
    EXPECT_EQ(lots[1].owner, owner_of_seat(3));
    EXPECT_EQ(filled(0), 4);
    EXPECT_EQ(notice_board[0][3].count, 99);
    EXPECT_EQ(player_items[3][2 - 1], 0);
    EXPECT_EQ(card_has(3, CARD_SWAP_LAND), 0);
    // The dear shares are passed over; the cheap ones are bought.
    player_table[3].cash = 999;
    seed_chance(4);
    EXPECT_EQ(notice_ai_buy(3), 1);
    EXPECT_EQ(stock_holdings[3][1].shares, 99);
    EXPECT_EQ(stock_holdings[3][0].shares, 0);
    EXPECT_EQ(filled(0), 3);
}

TEST_F(NoticeBoardTest, AComputerLandTestDoesNotOverflowNearTheTop) {
    notice_post(0, NOTICE_LAND, kPlot, INT32_MAX, 0);
    game_price_index = INT32_MAX;
    game_active_mover = 1;
    player_table[1].cash = INT32_MAX;
    seed_chance(4);
    EXPECT_EQ(notice_ai_buy(1), 0);
    EXPECT_EQ(lots[1].owner, owner_of_seat(0));
}

TEST_F(NoticeBoardTest, AgeingCountsOnlyTheOffersOfPlayersInTheGame) {
    give_shares(0, 0, 10);
    notice_post(0, NOTICE_SHARES, 0, 1, 10);
    notice_board[1][0] = NoticeOffer{NOTICE_ITEM, 0, 1, 1, 0, 0, 0};
    player_table[1].control = 0;
    notice_age_offers();
    notice_age_offers();
    EXPECT_EQ(notice_board[0][0].age, 2);
    EXPECT_EQ(notice_board[0][1].age, 0);
    EXPECT_EQ(notice_board[1][0].age, 0);
}

TEST_F(NoticeBoardTest, TheSavedBoardCheckRefusesUnknownTypesHolesAndRowsOfAbsentSeats) {
    struct Case {
        int player, slot;
        uint8_t type;
        int players;
        bool valid;
    };
    const Case cases[] = {
        {0, 0, NOTICE_CARD, 4, true},
        {3, 6, NOTICE_LAND, 4, false}, // a hole before slot 6
        {0, 0, 5, 4, false},
        {2, 0, NOTICE_ITEM, 2, false}, // seat 2 of a 2-player game
        {1, 0, NOTICE_SHARES, 2, true},
    };
    for (const Case& c : cases) {
        notice_board_clear();
        game_player_count = c.players;
        notice_board[c.player][c.slot].type = c.type;
        EXPECT_EQ(notice_board_valid(&notice_board[0][0]), c.valid)
            << "seat " << c.player << " slot " << c.slot << " type " << int{c.type};
    }
    // Whatever the seller's control: a computer that left keeps a valid row.
    game_player_count = 4;
    notice_board_clear();
    notice_board[3][0].type = NOTICE_ITEM;
    player_table[3].control = 0;
    EXPECT_TRUE(notice_board_valid(&notice_board[0][0]));
    EXPECT_FALSE(notice_board_valid(nullptr));
}

// ---------------------------------------------------------------------------
// A human's visit through the window's answers

class NoticeVisitTest : public NoticeBoardTest {
  protected:
    void SetUp() override {
        NoticeBoardTest::SetUp();
        player_table[0].control = CTRL_HUMAN;
        game_active_mover = 0;
        decisions_reset();
    }
    static void script(std::initializer_list<int> answers) {
        for (int a : answers)
            decision_script_push(a);
    }
};

TEST_F(NoticeVisitTest, AHumanPostsSharesWithACountAndAnAskingPriceWithinTheirBounds) {
    set_price(5, 20.0f, 20.0f);
    give_shares(0, 5, 40);
    script({NOTICE_SHARES, 5 + 1, 30, 6000, NOTICE_ACTION_EXIT});
    notice_visit();
    ASSERT_EQ(filled(0), 1);
    EXPECT_EQ(notice_board[0][0].object, 5);
    EXPECT_EQ(notice_board[0][0].count, 30);
    EXPECT_EQ(notice_board[0][0].asking, 6000);
    EXPECT_EQ(decision_script_left(), 0);
    // Asking above 10 x the market value (600) counts as cancelled.
    notice_board_clear();
    script({NOTICE_SHARES, 5 + 1, 30, 6001, NOTICE_ACTION_EXIT});
    notice_visit();
    EXPECT_EQ(filled(0), 0);
}

TEST_F(NoticeVisitTest, AHumanPostsLandItemsAndCardsAndCancelsWithWhatHeDoesNotHold) {
    player_items[0][3 - 1] = 1;
    card_add(0, CARD_DEMOLISH);
    script({NOTICE_LAND, kPlot, 100, NOTICE_ITEM, 3, 200, NOTICE_CARD, 13, NOTICE_CARD, 12, 300,
            NOTICE_LAND, kFacility, NOTICE_ACTION_EXIT});
    notice_visit();
    ASSERT_EQ(filled(0), 3);
    EXPECT_EQ(notice_board[0][0].object, kPlot);
    EXPECT_EQ(notice_board[0][1].object, 3);
    EXPECT_EQ(notice_board[0][2].object, 12);
    EXPECT_EQ(notice_board[0][2].asking, 300);
    EXPECT_EQ(decision_script_left(), 0);
}

TEST_F(NoticeVisitTest, AHumanWithdrawsHisOwnOfferAndBuysAnotherAfterConfirming) {
    player_items[0][3 - 1] = 1;
    notice_post(0, NOTICE_ITEM, 3, 100, 0);
    player_items[2][1 - 1] = 1;
    notice_post(2, NOTICE_ITEM, 1, 100, 0);
    player_table[0].cash = 500;
    script({notice_offer_action(2, 0), 0, notice_offer_action(0, 0), notice_offer_action(2, 0), 1,
            NOTICE_ACTION_EXIT});
    notice_visit();
    EXPECT_EQ(filled(0), 0);
    EXPECT_EQ(filled(2), 0);
    EXPECT_EQ(player_items[0][1 - 1], 1);
    EXPECT_EQ(player_table[0].cash, 400);
    EXPECT_EQ(decision_script_left(), 0);
}

TEST_F(NoticeVisitTest, AnAnswerTheWindowWouldRefuseEndsTheVisit) {
    struct Case {
        int answer;
        bool allowed;
    };
    player_items[0][1 - 1] = 1;
    const Case cases[] = {{NOTICE_ACTION_EXIT, true},
                          {NOTICE_SHARES, true},
                          {5, false},
                          {notice_offer_action(0, 0), false},
                          {notice_offer_action(4, 0), false},
                          {99, false}};
    for (const Case& c : cases)
        EXPECT_EQ(notice_action_allowed(0, c.answer), c.allowed) << c.answer;
    for (int item = 1; item <= 7; ++item)
        notice_post(0, NOTICE_ITEM, item, 1, 0);
    EXPECT_FALSE(notice_action_allowed(0, NOTICE_ITEM)) << "a full row posts nothing";
    EXPECT_TRUE(notice_action_allowed(0, notice_offer_action(0, 6)));
    script({notice_offer_action(3, 0), notice_offer_action(0, 0)});
    notice_visit();
    EXPECT_EQ(decision_script_left(), 1) << "the refused answer ended the visit";
}

} // namespace
