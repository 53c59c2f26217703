#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/ai_items.h"
#include "cards/ai_settings.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "cards/item_use.h"
#include "data/card_speech_lines.h"
#include "engine/random.h"

namespace {

class Cards : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        cards_fill_pools();
        game_srand(12345);
        for (int p = 0; p < PLAYER_COUNT; ++p)
            player_table[p].control = CTRL_COMPUTER;
    }
    void TearDown() override { game_world_reset(); }

    // Every copy is either in a hand, in the pool, or being ridden.
    static void expect_conserved() {
        for (int id = 1; id <= CARD_KIND_COUNT; ++id) {
            int total = card_stock[id - 1];
            for (int p = 0; p < PLAYER_COUNT; ++p)
                for (uint8_t held : player_cards[p])
                    if (held == id) ++total;
            EXPECT_EQ(total, card_defs[id].stock) << "card " << id;
        }
        for (int n = 1; n <= ITEM_SHOP_KINDS; ++n) {
            int total = item_stock[n - 1];
            for (int p = 0; p < PLAYER_COUNT; ++p) {
                total += player_items[p][n - 1];
                int mode = player_table[p].travel & TRAVEL_MODE_MASK;
                if ((n == ITEM_MOTORBIKE && mode == TRAVEL_MOTORBIKE) ||
                    (n == ITEM_CAR && mode == TRAVEL_CAR))
                    ++total;
            }
            EXPECT_EQ(total, item_def(n).stock) << "item " << n;
        }
    }
};

TEST_F(Cards, TableHoldsThirtyCardsOfOneHundredCopiesAndThirteenItems) {
    int copies = 0;
    for (int id = 1; id <= CARD_KIND_COUNT; ++id)
        copies += card_defs[id].stock;
    EXPECT_EQ(copies, 100);
    EXPECT_STREQ(card_def(CARD_SHARE_WEALTH).name, "均富卡");
    EXPECT_STREQ(item_def(ITEM_NUCLEAR_MISSILE).name, "核子飞弹");
    EXPECT_EQ(item_def(ITEM_CAR).price, 150);
    for (int n = ITEM_ROBOT_WORKER; n <= ITEM_KIND_COUNT; ++n)
        EXPECT_EQ(item_def(n).stock, 0);
}

TEST_F(Cards, FullHandGivesBackTheCheapestCardFirst) {
    // Fourteen dear cards, then two copies of the cheapest price (15): 7 and 12.
    const int ids[15] = {1, 2, 9, 10, 15, 11, 30, 24, 29, 19, 3, 26, 27, 7, 12};
    for (int id : ids)
        ASSERT_EQ(card_add(0, id), 1);
    ASSERT_EQ(card_count(0), 15);
    EXPECT_EQ(card_cheapest(0), 7); // earlier slot wins the tie with 12
    ASSERT_EQ(card_add(0, CARD_DISMISS_GOD), 1);
    EXPECT_EQ(card_count(0), 15);
    EXPECT_FALSE(card_has(0, CARD_REBUILD));
    EXPECT_TRUE(card_has(0, CARD_DEMOLISH));
    EXPECT_EQ(player_cards[0][14], 22);
    expect_conserved();
}

TEST_F(Cards, RemoveTakesTheEarlierCopyAndKeepsTheRowPacked) {
    card_add(0, CARD_BUY_LAND);
    card_add(0, CARD_SWAP_HOUSE);
    card_add(0, CARD_BUY_LAND);
    card_remove(0, CARD_BUY_LAND);
    EXPECT_EQ(player_cards[0][0], 5);
    EXPECT_EQ(player_cards[0][1], 3);
    EXPECT_EQ(player_cards[0][2], 0);
    card_remove(0, CARD_TURTLE); // not held: nothing
    EXPECT_EQ(card_count(0), 2);
    expect_conserved();
}

TEST_F(Cards, AddRefusesBadIdsAndAnEmptyPool) {
    EXPECT_EQ(card_add(0, 0), 0);
    EXPECT_EQ(card_add(0, 31), 0);
    EXPECT_EQ(card_add(0, -1), 0);
    ASSERT_EQ(card_add(0, CARD_SHARE_WEALTH), 1); // the only copy of card 1
    EXPECT_EQ(card_stock[0], 0);
    EXPECT_EQ(card_add(1, CARD_SHARE_WEALTH), 0); // no copy left: the count must not wrap
    EXPECT_EQ(card_stock[0], 0);
    EXPECT_EQ(card_count(1), 0);
    EXPECT_EQ(card_count(0), 1);
    expect_conserved();
}

TEST_F(Cards, RandomCardFollowsThePoolAndStopsWhenItIsEmpty) {
    card_stock.fill(0);
    card_stock[4] = 3;  // card 5
    card_stock[10] = 1; // card 11
    EXPECT_NE(card_give_random(0), 0);
    EXPECT_NE(card_give_random(0), 0);
    EXPECT_NE(card_give_random(0), 0);
    EXPECT_NE(card_give_random(0), 0);
    EXPECT_EQ(card_give_random(0), 0);
    EXPECT_EQ(card_count(0), 4);
    EXPECT_EQ(card_count(0), 4);

    int fives = 0, elevens = 0;
    for (int i = 0; i < 4000; ++i) {
        card_stock.fill(0);
        card_stock[4] = 3;
        card_stock[10] = 1;
        for (auto& row : player_cards)
            row.fill(0);
        int id = card_give_random(1);
        if (id == 5) ++fives;
        if (id == 11) ++elevens;
    }
    EXPECT_EQ(fives + elevens, 4000);
    EXPECT_GT(fives, 2 * elevens + 400); // about three to one
    EXPECT_LT(fives, 4 * elevens);
}

TEST_F(Cards, LoseHalfRemovesEverySecondCardFromTheFirst) {
    const int ids[5] = {3, 4, 5, 6, 7};
    for (int id : ids)
        card_add(0, id);
    EXPECT_EQ(card_lose_half(0), 1);
    EXPECT_EQ(card_count(0), 3);
    EXPECT_FALSE(card_has(0, CARD_BUY_LAND));
    EXPECT_FALSE(card_has(0, CARD_SWAP_HOUSE));
    EXPECT_TRUE(card_has(0, CARD_SWAP_LAND));
    EXPECT_TRUE(card_has(0, CARD_TURN_AROUND));
    EXPECT_TRUE(card_has(0, CARD_REBUILD));

    card_add(1, CARD_BUY_LAND);
    EXPECT_EQ(card_lose_half(1), 0);
    EXPECT_EQ(card_count(1), 1);
    expect_conserved();
}

TEST_F(Cards, LoseRandomAndSellAllReturnToThePool) {
    EXPECT_EQ(card_lose_random(0), 0);
    card_add(0, CARD_ANGEL);
    card_add(0, CARD_DEMOLISH);
    int lost = card_lose_random(0);
    EXPECT_TRUE(lost == 9 || lost == 12);
    EXPECT_EQ(card_count(0), 1);
    card_add(0, CARD_RED);
    int expected = card_def(CARD_RED).price + card_def(lost == 9 ? 12 : 9).price;
    EXPECT_EQ(card_sell_all(0), expected);
    EXPECT_EQ(card_count(0), 0);
    expect_conserved();
}

TEST_F(Cards, ItemKindsStopAtNineAndResearchItemsNeverTouchTheShop) {
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(item_add(0, ITEM_MOTORBIKE), 1);
    EXPECT_EQ(item_add(0, ITEM_MOTORBIKE), 0);
    EXPECT_EQ(player_items[0][ITEM_MOTORBIKE - 1], 9);
    EXPECT_EQ(item_stock[ITEM_MOTORBIKE - 1], 1);
    EXPECT_EQ(item_add(0, ITEM_TELEPORTER), 1);
    EXPECT_EQ(player_items[0][ITEM_TELEPORTER - 1], 1);
    item_remove(0, ITEM_TELEPORTER);
    EXPECT_EQ(player_items[0][ITEM_TELEPORTER - 1], 0);
    EXPECT_EQ(item_add(0, 0), 0);
    EXPECT_EQ(item_add(0, 14), 0);
    item_stock[ITEM_MINE - 1] = 0;
    EXPECT_EQ(item_add(1, ITEM_MINE), 0);
    EXPECT_EQ(player_items[1][ITEM_MINE - 1], 0);
    item_stock[ITEM_MINE - 1] = 10;
    expect_conserved();
}

TEST_F(Cards, RandomItemIsDrawnOnlyAmongKindsThatCanBeGiven) {
    // Only the motorbike and the car are in stock; the motorbike kind is full.
    item_stock.fill(0);
    item_stock[ITEM_MOTORBIKE - 1] = 10;
    item_stock[ITEM_CAR - 1] = 1;
    player_items[0][ITEM_MOTORBIKE - 1] = 9;
    item_stock[ITEM_MOTORBIKE - 1] = 1;
    EXPECT_EQ(item_give_random(0), ITEM_CAR);
    EXPECT_EQ(player_items[0][ITEM_CAR - 1], 1);
    EXPECT_EQ(item_give_random(0), 0); // nothing left that can be given
    EXPECT_EQ(player_items[0][ITEM_MOTORBIKE - 1], 9);
    EXPECT_EQ(item_stock[ITEM_MOTORBIKE - 1], 1);
}

TEST_F(Cards, SellAllCountsTheRiddenCar) {
    item_add(0, ITEM_CAR);
    item_remove(0, ITEM_CAR);
    // Riding: the copy left the shop and is not among the counts.
    --item_stock[ITEM_CAR - 1];
    player_table[0].travel = TRAVEL_CAR;
    player_table[0].dice = 3;
    item_add(0, ITEM_MINE);
    item_add(0, ITEM_MINE);
    item_add(0, ITEM_NUCLEAR_MISSILE);
    expect_conserved();
    int points = item_sell_all(0);
    EXPECT_EQ(points, item_def(ITEM_CAR).price + 2 * item_def(ITEM_MINE).price +
                          item_def(ITEM_NUCLEAR_MISSILE).price);
    EXPECT_EQ(player_table[0].travel, TRAVEL_WALK);
    EXPECT_EQ(player_table[0].dice, 1);
    for (uint8_t c : player_items[0])
        EXPECT_EQ(c, 0);
    expect_conserved();
}

int pick_first_card(int victim, int, int) {
    return player_cards[victim][0];
}
int pick_mine(int, int, int) {
    return STEAL_ITEM_FLAG | ITEM_MINE;
}

TEST_F(Cards, StealingMovesOneCopyAndLeavesThePoolsAlone) {
    player_table[1].control = CTRL_HUMAN;
    card_add(0, CARD_ROB);
    item_add(0, ITEM_MINE);
    decision_script_push(pick_first_card(0, 1, 0));
    EXPECT_EQ(card_steal(0, 1, 0), 13);
    EXPECT_FALSE(card_has(0, CARD_ROB));
    EXPECT_TRUE(card_has(1, CARD_ROB));
    decision_script_push(pick_mine(0, 1, 0));
    EXPECT_EQ(card_steal(0, 1, 0), 0); // items not allowed in this steal
    EXPECT_EQ(player_items[0][ITEM_MINE - 1], 1);
    decision_script_push(pick_mine(0, 1, 1));
    EXPECT_EQ(card_steal(0, 1, 1), STEAL_ITEM_FLAG | ITEM_MINE);
    EXPECT_EQ(player_items[0][ITEM_MINE - 1], 0);
    EXPECT_EQ(player_items[1][ITEM_MINE - 1], 1);
    expect_conserved();
}

TEST_F(Cards, CopiesAreConservedThroughRandomOperations) {
    for (int step = 0; step < 3000; ++step) {
        int p = game_rand() % PLAYER_COUNT;
        int q = (p + 1 + game_rand() % 3) % PLAYER_COUNT;
        switch (game_rand() % 10) {
        case 0:
            card_give_random(p);
            break;
        case 1:
            card_add(p, game_rand() % 32);
            break;
        case 2:
            card_lose_random(p);
            break;
        case 3:
            card_lose_half(p);
            break;
        case 4:
            if (game_rand() % 8 == 0) card_sell_all(p);
            break;
        case 5:
            item_give_random(p);
            break;
        case 6:
            item_add(p, 1 + game_rand() % 13);
            break;
        case 7:
            item_remove(p, 1 + game_rand() % 13);
            break;
        case 8:
            if (game_rand() % 8 == 0) item_sell_all(p);
            break;
        case 9: {
            decision_script_push(pick_first_card(p, q, 1));
            player_table[q].control = CTRL_HUMAN;
            card_steal(p, q, 1);
            player_table[q].control = CTRL_COMPUTER;
            break;
        }
        }
        ASSERT_LE(card_count(p), CARD_HAND_MAX);
        for (int n = 0; n < ITEM_KIND_COUNT; ++n)
            ASSERT_LE(player_items[p][n], ITEM_KIND_MAX);
    }
    expect_conserved();
}

// Every card and item table has a row for every id it is indexed by, so that
// a card or item added to one and not the other shows here.
TEST(CardTables, EveryRowOfEveryTableIsSet) {
    struct Table {
        const char* name;
        int rows;
        std::function<bool(int)> set;
    };
    const Table tables[] = {
        {"card_defs", CARD_DEF_ROWS,
         [](int i) { return i == 0 || (card_defs[i].name && card_defs[i].name[0]); }},
        {"card_handler_table", CARD_KIND_COUNT + 1,
         [](int i) { return card_handler_table[i] != nullptr; }},
        {"item_handler_table", ITEM_HANDLER_ROWS,
         [](int i) { return item_handler_table[i] != nullptr; }},
        {"ai_card_table", CARD_DEF_ROWS, [](int i) { return ai_card_table[i] != nullptr; }},
        {"ai_item_rows", ITEM_KIND_COUNT, [](int i) { return ai_item_rows[i] != nullptr; }},
    };
    for (const Table& t : tables)
        for (int i = 0; i < t.rows; ++i)
            EXPECT_TRUE(t.set(i)) << t.name << " row " << i;
}

// The items' ids follow the cards', and each card's three speech lines (the
// user's, on oneself, the victim's) have entries of their own that together
// fill a character's entries.
TEST(CardTables, ItemIdsAndSpeechEntriesFollowTheCardCount) {
    EXPECT_EQ(CARD_DEF_ROWS, 1 + CARD_KIND_COUNT + ITEM_KIND_COUNT);
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
        EXPECT_EQ(&item_def(n), &card_def(CARD_KIND_COUNT + n)) << "item " << n;
    std::set<int> entries;
    for (int k = 1; k <= CARD_KIND_COUNT; ++k)
        for (int e : {card_line_user(k), card_line_self(k), card_line_victim(k)}) {
            EXPECT_GE(e, 0) << "card " << k;
            EXPECT_LT(e, CARD_SPEECH_ENTRIES) << "card " << k;
            EXPECT_TRUE(entries.insert(e).second) << "card " << k << " entry " << e;
        }
    EXPECT_EQ(static_cast<int>(entries.size()), CARD_SPEECH_ENTRIES);
}

} // namespace
