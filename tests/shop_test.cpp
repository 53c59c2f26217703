// The points shop's rules: the four operations and their refusals, the
// computer's seven steps on hand-made hands, the chairman's gift, the human's
// visit through scripted answers and the takings booked to the store.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/shop.h"
#include "support/encounter_board.h"

namespace {

constexpr uint16_t STORE = OBJ_COMPANY_BASE + 1;

class Shop : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encounter_board_setup(3));
        shown_clear();
    }
    void TearDown() override {
        shop_set_observer(nullptr);
        game_world_reset();
    }
    static void empty_pools() {
        card_stock.fill(0);
        item_stock.fill(0);
    }
    static void hand(int p, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (card_stock[id - 1] == 0) card_stock[id - 1] = 1;
            ASSERT_EQ(card_add(p, id), 1) << id;
        }
    }
    static void give_items(int p, int n, int count) {
        player_items[p][n - 1] = static_cast<uint8_t>(count);
    }
    static std::vector<int> cards_of(int p) {
        std::vector<int> v;
        for (uint8_t id : player_cards[p])
            if (id != 0) v.push_back(id);
        return v;
    }
    static int points(int p) { return player_table[p].points; }
};

struct Snapshot {
    std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> cards, items;
    std::array<uint8_t, CARD_KIND_COUNT> card_pool;
    std::array<uint8_t, ITEM_SHOP_KINDS> item_pool;
    uint16_t points;
    bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot() {
    return Snapshot{player_cards, player_items, card_stock, item_stock, player_table[0].points};
}

TEST_F(Shop, OperationsMovePointsAndGoodsAndReturnTheirTakings) {
    player_table[0].points = 500;
    EXPECT_EQ(shop_buy_card(0, 30), 700); // 乌龟卡, 70 points
    EXPECT_EQ(points(0), 430);
    EXPECT_EQ(card_stock[29], 2);
    EXPECT_EQ(shop_buy_item(0, ITEM_CAR), 1500);
    EXPECT_EQ(points(0), 280);
    EXPECT_EQ(item_stock[ITEM_CAR - 1], 9);
    EXPECT_EQ(shop_sell_card(0, 30), 70);
    EXPECT_EQ(points(0), 280 + 63);
    EXPECT_EQ(card_stock[29], 3);
    ASSERT_EQ(item_add(0, ITEM_CAR), 1);
    EXPECT_EQ(shop_sell_items(0, ITEM_CAR, 2), 300);
    EXPECT_EQ(points(0), 343 + 270);
    EXPECT_EQ(player_items[0][ITEM_CAR - 1], 0);
    EXPECT_EQ(item_stock[ITEM_CAR - 1], 10);
    // A research item has no shop stock to go back to.
    give_items(0, ITEM_TELEPORTER, 1);
    EXPECT_EQ(shop_sell_items(0, ITEM_TELEPORTER, 1), 95);
    EXPECT_EQ(item_stock, (std::array<uint8_t, 8>{10, 10, 10, 10, 10, 10, 10, 10}));
}

TEST_F(Shop, ACardBoughtWithFifteenHeldGivesTheCheapestHeldBackFirst) {
    // 购地卡 35, 送神符 10 (the cheapest), 拆除卡 15, then twelve 免罪卡 25.
    hand(0, {3, 22, 12, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21});
    ASSERT_EQ(card_count(0), CARD_HAND_MAX);
    player_table[0].points = 500;
    const uint8_t pool_before = card_stock[22 - 1];
    EXPECT_EQ(shop_buy_card(0, 30), 700); // 乌龟卡, 70 points
    EXPECT_EQ(points(0), 430);
    EXPECT_EQ(cards_of(0),
              (std::vector<int>{3, 12, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 30}));
    EXPECT_EQ(card_stock[22 - 1], pool_before + 1) << "送神符 back in the pool";
}

TEST_F(Shop, ACardSoldForFifteenGivesThirteenAndPointsNeverWrap) {
    hand(0, {7});
    EXPECT_EQ(shop_sell_card(0, 7), 15);
    EXPECT_EQ(points(0), 13);
    hand(0, {1});
    player_table[0].points = 65500;
    EXPECT_EQ(shop_sell_card(0, 1), 200);
    EXPECT_EQ(points(0), 65535) << "held at the top, not wrapped";
    give_items(0, ITEM_MISSILE, 9);
    player_table[0].points = 65000;
    EXPECT_EQ(shop_sell_items(0, ITEM_MISSILE, 9), 900);
    EXPECT_EQ(points(0), 65535);
}

TEST_F(Shop, RefusedOperationsChangeNothing) {
    struct Case {
        const char* what;
        void (*set_up)();
        int32_t (*op)();
    };
    const Case cases[] = {
        {"card with too few points", [] { player_table[0].points = 69; },
         [] { return shop_buy_card(0, 30); }},
        {"card with no copy left",
         [] {
             player_table[0].points = 500;
             card_stock[29] = 0;
         },
         [] { return shop_buy_card(0, 30); }},
        {"item with too few points", [] { player_table[0].points = 149; },
         [] { return shop_buy_item(0, ITEM_CAR); }},
        {"item with the stock empty",
         [] {
             player_table[0].points = 500;
             item_stock[ITEM_CAR - 1] = 0;
         },
         [] { return shop_buy_item(0, ITEM_CAR); }},
        {"item with nine held",
         [] {
             player_table[0].points = 500;
             player_items[0][ITEM_MINE - 1] = 9;
         },
         [] { return shop_buy_item(0, ITEM_MINE); }},
        {"research item", [] { player_table[0].points = 500; },
         [] { return shop_buy_item(0, ITEM_TELEPORTER); }},
        {"card not held", [] {}, [] { return shop_sell_card(0, 30); }},
        {"more items than held", [] { player_items[0][ITEM_MINE - 1] = 2; },
         [] { return shop_sell_items(0, ITEM_MINE, 3); }},
        {"no seat", [] {}, [] { return shop_buy_card(7, 30); }},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(encounter_board_setup(3));
        c.set_up();
        const Snapshot before = snapshot();
        EXPECT_EQ(c.op(), 0) << c.what;
        EXPECT_TRUE(snapshot() == before) << c.what;
    }
}

TEST_F(Shop, CardsSortByPriceHighestFirstKeepingTheOrderOfEqualPrices) {
    std::vector<int> ids = {7, 30, 12, 1, 2, 14};
    std::stable_sort(ids.begin(), ids.end(), shop_compare_card_price);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 30, 14, 7, 12}));
    EXPECT_EQ(shop_item_priority, (std::array<uint8_t, 6>{7, 1, 6, 0, 3, 2}));
}

// ---------------------------------------------------------------------------
// The computer's steps

TEST_F(Shop, AGoodComputerSellsEveryNastyCardAndItemWhateverItsSlot) {
    empty_pools();
    player_table[0].personality = PERS_GOOD;
    player_table[0].points = 100;
    hand(0, {1, 7, 10, 2}); // levels 2, 0, 2, 2: two in a row after the first sale
    give_items(0, ITEM_MISSILE, 2);
    give_items(0, ITEM_ROBOT_DOLL, 1);
    EXPECT_EQ(shop_ai_visit(0), 200 + 180 + 200 + 200);
    EXPECT_EQ(cards_of(0), (std::vector<int>{7}));
    EXPECT_EQ(player_items[0][ITEM_MISSILE - 1], 0);
    EXPECT_EQ(player_items[0][ITEM_ROBOT_DOLL - 1], 1);
    EXPECT_EQ(points(0), 100 + 180 + 162 + 180 + 180);
    EXPECT_EQ(item_stock[ITEM_MISSILE - 1], 2) << "nothing nasty is bought back";
}

TEST_F(Shop, ARiderShortOfPointsSellsSparesAndTheRiddenKindThenBuysWithHalfEach) {
    empty_pools();
    player_table[0].travel = TRAVEL_MOTORBIKE;
    player_table[0].points = 50;
    hand(0, {3, 7, 12}); // 35, 15, 15: the first 15 goes
    card_stock.fill(0);
    give_items(0, ITEM_MOTORBIKE, 2);
    give_items(0, ITEM_ROADBLOCK, 3);
    const int32_t takings = shop_ai_visit(0);
    // Sales 15 + 80 + 60 + 80 bring 13 + 72 + 54 + 72: 261 points, t 130, q 131.
    // The card sold comes back (15); a roadblock (30) is bought; the car
    // (150) is more than q and the motorbike is ridden.
    EXPECT_EQ(cards_of(0), (std::vector<int>{3, 12, 7}));
    EXPECT_EQ(player_items[0][ITEM_MOTORBIKE - 1], 0);
    EXPECT_EQ(player_items[0][ITEM_ROADBLOCK - 1], 2);
    EXPECT_EQ(points(0), 261 - 15 - 30);
    EXPECT_EQ(takings, 15 + 80 + 60 + 80 + 10 * (15 + 30));
}

TEST_F(Shop, WithOneHundredFiftyPointsAtMostSeventyFiveGoOnCardsAndOnItems) {
    player_table[0].points = 150;
    shop_ai_visit(0);
    // Cards: the dearest that fits 75 is 乌龟卡 (70); nothing costs 5 or less.
    EXPECT_EQ(cards_of(0), (std::vector<int>{30}));
    // Items in order 8, 2, 7, 1: 30 + 30 + 15 of 75; no vehicle (80 is not below 75).
    const std::array<int, 13> expected = {1, 1, 0, 0, 0, 0, 0, 1};
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
        EXPECT_EQ(player_items[0][n - 1], expected[n - 1]) << "item " << n;
    EXPECT_EQ(points(0), 5);
}

TEST_F(Shop, AVehicleNeedsMoreItemBudgetThanItsPriceTheOtherItemsAsMuch) {
    struct Case {
        int points;
        uint8_t travel;
        int motorbikes, cars;
    };
    // q = points - points / 2; cards are out of the way (empty pool).
    const Case cases[] = {
        {160, TRAVEL_WALK, 0, 0},      // q 80: not below 80
        {162, TRAVEL_WALK, 1, 0},      // q 81
        {302, TRAVEL_WALK, 1, 0},      // q 151: the motorbike first leaves 71
        {302, TRAVEL_MOTORBIKE, 0, 1}, // riding the motorbike: the car
        {302, TRAVEL_CAR, 1, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(encounter_board_setup(3));
        card_stock.fill(0);
        player_table[0].points = static_cast<uint16_t>(c.points);
        player_table[0].travel = c.travel;
        shop_ai_visit(0);
        EXPECT_EQ(player_items[0][ITEM_MOTORBIKE - 1], c.motorbikes)
            << c.points << " " << +c.travel;
        EXPECT_EQ(player_items[0][ITEM_CAR - 1], c.cars) << c.points << " " << +c.travel;
    }
    // Exactly the price is enough for the others: q 30 buys the remote dice.
    ASSERT_TRUE(encounter_board_setup(3));
    card_stock.fill(0);
    player_table[0].points = 60;
    shop_ai_visit(0);
    EXPECT_EQ(player_items[0][ITEM_REMOTE_DICE - 1], 1);
    EXPECT_EQ(points(0), 30);
}

TEST_F(Shop, CardBuyingStopsAtAFullHandAndSkipsUnwantedCards) {
    player_table[0].personality = PERS_GOOD;
    player_table[0].points = 2000;
    for (int i = 0; i < 14; ++i)
        hand(0, {i % 2 ? 7 : 12});
    shop_ai_visit(0);
    EXPECT_EQ(card_count(0), 15);
    // The dearest card a good player wants: 天使卡 (160, level 0).
    EXPECT_EQ(player_cards[0][14], 9);
    EXPECT_EQ(points(0), 2000 - 160 - 150 - 80 - 30 - 30 - 15 - 25 - 25 + 0)
        << "cards 160, then the vehicles, then items 8, 2, 1, 4, 3 (7 is nasty)";
}

TEST_F(Shop, NoPointsBuyNothing) {
    player_table[0].points = 0;
    const Snapshot before = snapshot();
    EXPECT_EQ(shop_ai_visit(0), 0);
    EXPECT_TRUE(snapshot() == before);
}

// ---------------------------------------------------------------------------
// The visit

ShopReport last_report;
int reports = 0;
void keep_report(const ShopReport& r) {
    last_report = r;
    ++reports;
}

TEST_F(Shop, TheVisitBooksItsTakingsToTheStoreCompany) {
    shop_set_observer(keep_report);
    reports = 0;
    map_company_table[1].earnings = 100;
    map_company_table[1].earnings_total = 1000;
    player_table[0].points = 150;
    hand(0, {7});
    shop_visit(STORE);
    ASSERT_EQ(reports, 1);
    EXPECT_EQ(last_report.company, 1);
    EXPECT_EQ(last_report.takings, 10 * last_report.points_spent + last_report.sold_prices);
    EXPECT_GT(last_report.takings, 0);
    EXPECT_EQ(map_company_table[1].earnings, 100 + last_report.takings);
    EXPECT_EQ(map_company_table[1].earnings_total, 1000 + last_report.takings);
    // Another object: nothing is booked, there is no gift.
    map_company_table[1].chairman = owner_of_seat(1);
    game_active_mover = 1;
    player_table[1].points = 150;
    const int32_t earned = map_company_table[1].earnings;
    shop_visit(OBJ_LOT_BASE + 1);
    EXPECT_EQ(last_report.company, 0);
    EXPECT_EQ(map_company_table[1].earnings, earned);
    EXPECT_EQ(shown_count(Shown::Message), 0u);
}

TEST_F(Shop, TheChairmanGetsAGiftEvenWhenHeBuysNothingAndNoWordsWhenNoneIsLeft) {
    // A human who leaves at once: he buys nothing and sells nothing.
    map_company_table[1].chairman = owner_of_seat(0);
    player_table[0].control = CTRL_HUMAN;
    shop_visit(STORE);
    EXPECT_EQ(card_count(0) + player_items[0][0] + player_items[0][1] + player_items[0][2] +
                  player_items[0][3] + player_items[0][4] + player_items[0][5] +
                  player_items[0][6] + player_items[0][7],
              1);
    EXPECT_NE(shown_find_text(Shown::Message, "欢迎董事长光临"), nullptr);
    // Both pools empty: whichever is drawn gives nothing and says nothing.
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        ASSERT_TRUE(encounter_board_setup(3));
        empty_pools();
        game_srand(seed);
        map_company_table[1].chairman = owner_of_seat(0);
        shown_clear();
        EXPECT_EQ(shop_chairman_gift(0), 0);
        EXPECT_EQ(shown_count(Shown::Message), 0u) << seed;
    }
}

// ---------------------------------------------------------------------------
// The human's visit

TEST_F(Shop, TheCardCounterDrawsSixToFifteenCopiesAndNoMoreThanThePoolHolds) {
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        game_srand(seed);
        shop_session_open(0);
        EXPECT_GE(shop_session.card_rows, 6);
        EXPECT_LE(shop_session.card_rows, 15);
    }
    // Two copies left: two rows, each copy once.
    card_stock.fill(0);
    card_stock[4] = 1;
    card_stock[9] = 1;
    shop_session_open(0);
    ASSERT_EQ(shop_session.card_rows, 2);
    std::vector<int> rows{shop_session.cards[0], shop_session.cards[1]};
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<int>{5, 10}));
    card_stock.fill(0);
    shop_session_open(0);
    EXPECT_EQ(shop_session.card_rows, 0);
    EXPECT_FALSE(shop_action_valid(shop_session, SHOP_BUY_ROW));
    // The item counter lists the kinds in stock.
    item_stock[1] = 0;
    shop_list_items();
    EXPECT_EQ(shop_session.item_rows, 7);
    EXPECT_EQ(shop_session.items[1], 3);
}

TEST_F(Shop, AHumanActsThroughTheShopDecisionAndLeavesWithTheTakingsBooked) {
    player_table[0].control = CTRL_HUMAN;
    player_table[0].points = 300;
    card_stock.fill(0);
    card_stock[29] = 1; // one 乌龟卡: its row bought twice takes it once
    hand(0, {7});
    card_stock[6] = 0;
    give_items(0, ITEM_MINE, 1);
    shop_set_observer(keep_report);
    decision_script_push(SHOP_BUY_ROW);       // 乌龟卡 70
    decision_script_push(SHOP_BUY_ROW);       // no copy left: nothing
    decision_script_push(SHOP_SELL_CARD + 0); // 改建卡 back: 15, +13
    decision_script_push(SHOP_SWITCH);        // the item counter
    decision_script_push(SHOP_BUY_ROW + 5);   // item 6, the car: 150
    decision_script_push(SHOP_SELL_ITEM + 3); // one mine: 25, +22
    decision_script_push(SHOP_SELL_ITEM + 3); // none left: the answer leaves
    decision_script_push(SHOP_SWITCH);        // never reached
    shop_visit(STORE);
    EXPECT_EQ(decision_script_left(), 1);
    EXPECT_EQ(cards_of(0), (std::vector<int>{30}));
    EXPECT_EQ(player_items[0][ITEM_CAR - 1], 1);
    EXPECT_EQ(player_items[0][ITEM_MINE - 1], 0);
    EXPECT_EQ(points(0), 300 - 70 + 13 - 150 + 22);
    EXPECT_EQ(last_report.takings, 700 + 15 + 1500 + 25);
    EXPECT_EQ(map_company_table[1].earnings, 700 + 15 + 1500 + 25);
    EXPECT_EQ(decision_last_kind(), DECIDE_SHOP_ACTION);
}

TEST_F(Shop, RefusedPurchasesGiveTheClerksReasonAndChangeNothing) {
    card_stock.fill(0);
    card_stock[0] = 1; // 均富卡, 200
    shop_session_open(0);
    ASSERT_EQ(shop_session.card_rows, 1);
    player_table[0].points = 199;
    Snapshot before = snapshot();
    EXPECT_EQ(shop_apply_action(shop_session, SHOP_BUY_ROW), SHOP_NO_POINTS);
    EXPECT_TRUE(snapshot() == before);
    player_table[0].points = 1000;
    for (int i = 0; i < CARD_HAND_MAX; ++i)
        hand(0, {7});
    before = snapshot();
    EXPECT_EQ(shop_apply_action(shop_session, SHOP_BUY_ROW), SHOP_FULL);
    EXPECT_TRUE(snapshot() == before);
    shop_apply_action(shop_session, SHOP_SWITCH);
    give_items(0, ITEM_ROBOT_DOLL, 9);
    before = snapshot();
    EXPECT_EQ(shop_apply_action(shop_session, SHOP_BUY_ROW), SHOP_FULL);
    EXPECT_EQ(shop_apply_action(shop_session, SHOP_BUY_ROW + 8), SHOP_REFUSED);
    EXPECT_EQ(shop_apply_action(shop_session, SHOP_SELL_CARD + 15), SHOP_REFUSED);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(shop_session.takings, 0);
}

} // namespace
