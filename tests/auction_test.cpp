// The land auction's rules with nothing shown: the minimum price, the seats
// and their reasons, the computer's limit and choice, whole auctions with
// computers and scripted humans, the sale and the void auction.
#include "finance/auction.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "support/test_board.h"

namespace {

constexpr int LOT1 = OBJ_LOT_BASE + 1, LOT2 = OBJ_LOT_BASE + 2, FAC1 = OBJ_FACILITY_BASE + 1;

class Auction : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(test_board_load(TestBoardSize{8, 6, 2, 1, 1}));
        game_player_count = 4;
        for (int p = 0; p < 4; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].character = static_cast<uint8_t>(p);
            player_table[p].cash = 50000;
        }
        for (int i = 1; i <= 6; ++i) {
            LandLot& lot = map_lot_table[i];
            std::strcpy(lot.street, i <= 3 ? "North" : "South");
            lot.land_price = 1000;
            lot.build_price = 500;
        }
        map_facility_table[1].price = 2000;
        game_srand(77);
        shown_clear();
    }
    void TearDown() override {
        auction_set_observer(nullptr);
        game_world_reset();
    }
    static std::vector<std::string> balloons() {
        std::vector<std::string> out;
        for (const ShownEvent& e : shown_log())
            if (e.kind == Shown::Balloon) out.push_back(e.text);
        return out;
    }
};

TEST_F(Auction, MinimumPriceIsThePriceTimesOneAndAHalfPerTwoLevelsTimesTheIndex) {
    struct Case {
        int object, price, level, index;
        int32_t minimum;
    };
    const Case cases[] = {
        {LOT1, 1000, 2, 1, 2000},            // the Part's example
        {LOT1, 999, 1, 1, 1498},             // 1498.5 truncated before the index
        {LOT1, 999, 1, 3, 4494},             // the index after the truncation
        {FAC1, 2000, 3, 2, 10000},           // a facility's own price
        {LOT1, 65535, 5, 100000, INT32_MAX}, // 64-bit product held to 32 bits
        {OBJ_LOT_BASE + 99, 1000, 0, 1, 0},  // names nothing
    };
    for (const Case& c : cases) {
        if (LandLot* lot = map_lot(c.object)) {
            lot->land_price = static_cast<uint16_t>(c.price);
            lot->level = static_cast<uint8_t>(c.level);
            lot->build_price = 60000; // never counts
        }
        if (FacilityLot* f = map_facility(c.object)) {
            f->price = static_cast<uint16_t>(c.price);
            f->level = static_cast<uint8_t>(c.level);
        }
        game_price_index = c.index;
        EXPECT_EQ(auction_minimum_price(c.object), c.minimum) << c.object << " " << c.price;
    }
}

TEST_F(Auction, SeatsTakeTheirLastTrueReasonAndOnlyFreePlayersWhoCanPayBid) {
    struct Case {
        const char* what;
        void (*set)(PlayerRecord&);
        int seller;
        int state;
    };
    const Case cases[] = {
        {"free with enough cash", [](PlayerRecord&) {}, -1, SEAT_BIDDING},
        {"cash equal to the minimum", [](PlayerRecord& r) { r.cash = 2000; }, -1,
         SEAT_CANNOT_AFFORD},
        {"hotel over poor",
         [](PlayerRecord& r) {
             r.cash = 0;
             r.hotel_days = 2;
         },
         -1, SEAT_HOTEL},
        {"away", [](PlayerRecord& r) { r.away_days = 0x41; }, -1, SEAT_AWAY},
        {"jail over hotel",
         [](PlayerRecord& r) {
             r.hotel_days = 1;
             r.jail_days = 3;
         },
         -1, SEAT_JAIL},
        {"hospital", [](PlayerRecord& r) { r.hospital_days = 1; }, -1, SEAT_HOSPITAL},
        {"hibernating", [](PlayerRecord& r) { r.hibernation_days = 0x80; }, -1, SEAT_HIBERNATING},
        {"sleepwalking", [](PlayerRecord& r) { r.sleepwalk_days = 2; }, -1, SEAT_SLEEPWALKING},
        {"the seller over all",
         [](PlayerRecord& r) {
             r.cash = 0;
             r.jail_days = 2;
         },
         1, SEAT_SELLER},
    };
    map_lot_table[1].level = 2; // minimum 2000
    for (const Case& c : cases) {
        SetUp();
        map_lot_table[1].level = 2;
        player_table[0].control = CTRL_OUT; // not in the game: no seat
        c.set(player_table[1]);
        const int bidders = auction_seat_players(c.seller, LOT1, 2000);
        EXPECT_EQ(auction_seated[0].player, 2) << c.what << ": seats are filled from seat 0";
        EXPECT_EQ(auction_seated[0].state, c.state) << c.what;
        EXPECT_EQ(auction_bidders[0].player, c.state == SEAT_BIDDING ? 2 : 0) << c.what;
        EXPECT_EQ(bidders, c.state == SEAT_BIDDING ? 3 : 2) << c.what;
        EXPECT_EQ(auction_seated[3].player, 0) << c.what;
    }
    EXPECT_STREQ(auction_seat_reason(SEAT_JAIL), "坐牢中");
    EXPECT_STREQ(auction_seat_reason(SEAT_SELLER), "卖方");
    EXPECT_STREQ(auction_seat_reason(SEAT_CANNOT_AFFORD), "");
}

// The limit by its formula, with the two draws it makes taken from the same seed.
int32_t limit_by_hand(int weight, double m, int n, double unowned, int price, int cash,
                      uint32_t seed) {
    game_srand(seed);
    const float f = static_cast<float>(game_rand()) / 32767.0f * 0.3f + 0.5f;
    const double a = std::trunc(weight * m * n * (6.0 - 4.0 * unowned) * f);
    const double b = std::trunc((game_rand() / 65536.0 + 3.0) * price * n);
    return static_cast<int32_t>(std::min({a, b, static_cast<double>(cash)}));
}

TEST_F(Auction, ComputerLimitCountsTheStreetTheFreeLandAndTheIndexTwice) {
    // Plot 2 (North) at level 3, index 2: minimum 1000 x 2.5 x 2 = 5000. P2
    // owns plots 1 and 3 of North and 4 of South; 3 of the 6 plots are free.
    map_lot_table[2].level = 3;
    for (int i : {1, 3, 4})
        map_lot_table[i].owner = owner_of_seat(2);
    game_price_index = 2;
    player_table[2].cash = 1000000;
    // weight = trunc(3 / 2) + 1 + 2 street plots = 4; u = 3 / 6.
    for (uint32_t seed : {1u, 9u, 12345u}) {
        const int32_t expected = limit_by_hand(4, 5000, 2, 0.5, 1000, 1000000, seed);
        game_srand(seed);
        EXPECT_EQ(auction_ai_limit(3, LOT2), expected) << seed;
    }
    // B caps A: about 3.x times the price times the index; cash caps both.
    game_srand(1);
    EXPECT_LE(auction_ai_limit(3, LOT2), 2 * 1000 * 4);
    player_table[2].cash = 3000;
    EXPECT_EQ(auction_ai_limit(3, LOT2), 3000);
    // A facility: only the free share of facilities counts, no street.
    map_facility_table[1].level = 1;
    map_facility_table[2].owner = owner_of_seat(0);
    player_table[2].cash = 1000000;
    const int32_t expected = limit_by_hand(1, 3000 * 2, 2, 0.5, 2000, 1000000, 4);
    game_srand(4);
    EXPECT_EQ(auction_ai_limit(3, FAC1), expected);
    // An index that overflows 32 bits twice over: held to the cash, never negative.
    game_price_index = 50000;
    map_lot_table[2].land_price = 60000;
    EXPECT_EQ(auction_ai_limit(3, LOT2), 1000000);
}

TEST_F(Auction, ComputerRaisesOnlyEnoughToPassTheLeadersCashByAbout500) {
    struct Case {
        int32_t price, limit, leader_cash;
        int bidders;
        int choice;
    };
    const Case cases[] = {
        {10000, 100000, -1, 2, 5},    // no leader: the largest raise that fits
        {10000, 10400, -1, 2, 1},     // only +100 fits
        {10000, 10099, -1, 2, 0},     // nothing fits: pass
        {10000, 100000, 9600, 2, 1},  // d = 100
        {10000, 100000, 10000, 2, 2}, // d = 500
        {10000, 100000, 10500, 2, 3}, // d = 1000
        {10000, 100000, 14500, 2, 4}, // d = 5000
        {10000, 100000, 14501, 2, 5}, // d = 5001: unchanged
        {10000, 100000, 9600, 1, 1},  // one bidder: +100 only
        {10000, 100000, -1, 1, 1},
    };
    for (const Case& c : cases) {
        auction_state.price = c.price;
        auction_state.start_bidders = c.bidders;
        auction_state.leader = c.leader_cash >= 0 ? 1 : -1;
        auction_bidders[0] = {1, 0, c.limit, {}};
        auction_bidders[1] = {2, 0, 0, {}};
        player_table[0].cash = 1000000;
        player_table[1].cash = c.leader_cash;
        EXPECT_EQ(auction_ai_choice(0), c.choice)
            << c.price << " " << c.limit << " " << c.leader_cash;
    }
    player_table[0].cash = 9999;
    EXPECT_EQ(auction_ai_choice(0), AUCTION_GIVE_UP) << "cash below the price";
}

TEST_F(Auction, ComputersBidUpAndTheWinnerPaysTheSellersDepositAndOwnsThePlot) {
    std::vector<AuctionEvent> events;
    static std::vector<AuctionEvent>* seen = nullptr;
    seen = &events;
    auction_set_observer([](const AuctionEvent& e) { seen->push_back(e); });
    map_lot_table[1].owner = owner_of_seat(0); // the seller's own plot
    const int32_t seller_deposit = player_table[0].deposit;
    const int64_t money_before = int64_t{player_table[1].cash} + player_table[2].cash +
                                 player_table[3].cash + player_table[0].deposit;
    ASSERT_EQ(auction_run(0, LOT1, 0), 1);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].sold, -1);
    const AuctionEvent& sale = events[1];
    EXPECT_EQ(sale.sold, 1);
    ASSERT_GE(sale.winner, 1);
    EXPECT_GT(sale.price, 1000);
    EXPECT_EQ(map_lot_table[1].owner, sale.winner + 1);
    EXPECT_EQ(player_table[sale.winner].cash, 50000 - sale.price);
    EXPECT_EQ(player_table[0].deposit, seller_deposit + sale.price);
    EXPECT_EQ(int64_t{player_table[1].cash} + player_table[2].cash + player_table[3].cash +
                  player_table[0].deposit,
              money_before);
    const std::vector<std::string> lines = balloons();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "#0131公开拍卖土地一处。");
    EXPECT_EQ(lines[1], "#0132底价1000元\n请意者出价。");
    EXPECT_EQ(lines[lines.size() - 2], "#0135" + std::to_string(sale.price) + "元成交");
    char winner_line[64];
    auction_winner_line(sale.winner, winner_line, sizeof winner_line);
    EXPECT_EQ(lines.back(), winner_line);
    EXPECT_EQ(shown_count(Shown::Music), 0u) << "music 0 leaves the music";
    EXPECT_EQ(auction_bidders[1].player, 0) << "the seats are cleared at the end";
}

TEST_F(Auction, WinnerLinesNameTheCharacterWithItsOwnVoice) {
    char line[64];
    auction_winner_line(0, line, sizeof line);
    EXPECT_STREQ(line, "#0136恭喜柯伦恩购得此地！");
    auction_winner_line(11, line, sizeof line);
    EXPECT_STREQ(line, "#0147恭喜银宝宝购得此地！");
}

TEST_F(Auction, WithoutASellerTheJackpotTakesThePriceAndATermStartsForUnownedLand) {
    struct Case {
        int term;
        uint32_t expiry_before;
        int owner_before;
        uint32_t expiry_after;
    };
    game_date = cal_pack(1999, 3, 10);
    const Case cases[] = {
        {0, 0, 0, 0},                                       // land held for good
        {2, 0, 0, cal_pack(2000, 3, 10)},                   // one year from today
        {5, cal_pack(1999, 5, 1), 1, cal_pack(1999, 5, 1)}, // owned: its term stays
    };
    for (const Case& c : cases) {
        SetUp();
        game_date = cal_pack(1999, 3, 10);
        game_land_term = c.term;
        player_table[0].control = CTRL_OUT;
        map_lot_table[2].owner = Owner{static_cast<uint8_t>(c.owner_before)};
        map_lot_table[2].expiry = c.expiry_before;
        lotto_jackpot = 700;
        ASSERT_EQ(auction_run(-1, LOT2, 1), 1) << c.term;
        const int winner = seat_of_owner(map_lot_table[2].owner);
        ASSERT_GE(winner, 1);
        EXPECT_EQ(lotto_jackpot, 700 + (50000 - player_table[winner].cash)) << c.term;
        EXPECT_EQ(map_lot_table[2].expiry, c.expiry_after) << c.term;
        EXPECT_EQ(shown_count(Shown::Music, 5), 1u) << "music 1 plays the auction's tune";
    }
}

TEST_F(Auction, APreviousOwnerBuysBackAndKeepsThePlotUnchangedWhileThePriceGoesToTheSeller) {
    game_land_term = 3;
    map_lot_table[1].owner = owner_of_seat(1);
    map_lot_table[1].level = 1;
    map_lot_table[1].expiry = cal_pack(1998, 9, 9);
    for (int p : {2, 3})
        player_table[p].control = CTRL_OUT; // seller 0 and the owner 1 alone
    ASSERT_EQ(auction_run(0, LOT1, 0), 1);
    EXPECT_EQ(map_lot_table[1].owner, 2);
    EXPECT_EQ(map_lot_table[1].level, 1);
    EXPECT_EQ(map_lot_table[1].expiry, cal_pack(1998, 9, 9));
    EXPECT_EQ(player_table[1].cash, 50000 - 1500 - 100) << "one bidder raises +100 only";
    EXPECT_EQ(player_table[0].deposit, 1600);
}

TEST_F(Auction, AVoidAuctionLeavesOwnerLevelExpiryAndMoneyExactlyAsTheyWere) {
    struct Case {
        const char* what;
        void (*set)();
    };
    const Case cases[] = {
        {"nobody can pay",
         [] {
             for (int p = 0; p < 4; ++p)
                 player_table[p].cash = 1500;
         }},
        {"nobody is free",
         [] {
             for (int p = 0; p < 4; ++p)
                 player_table[p].jail_days = 2;
         }},
        {"the only bidder passes",
         [] {
             for (int p = 1; p < 4; ++p)
                 player_table[p].hotel_days = 1;
             player_table[0].control = CTRL_HUMAN;
             decision_script_push(AUCTION_PASS);
         }},
        {"a raise beyond the cash counts as a pass",
         [] {
             for (int p = 1; p < 4; ++p)
                 player_table[p].control = CTRL_OUT;
             player_table[0].control = CTRL_HUMAN;
             player_table[0].cash = 1600;
             decision_script_push(5);
         }},
    };
    for (const Case& c : cases) {
        SetUp();
        game_land_term = 2;
        map_lot_table[1].owner = owner_of_seat(3);
        map_lot_table[1].level = 1;
        map_lot_table[1].expiry = cal_pack(1998, 7, 7);
        c.set();
        const LandLot before = map_lot_table[1];
        std::vector<int32_t> cash;
        for (int p = 0; p < 4; ++p)
            cash.push_back(player_table[p].cash);
        EXPECT_EQ(auction_run(-1, LOT1, 0), 0) << c.what;
        EXPECT_EQ(std::memcmp(&before, &map_lot_table[1], sizeof before), 0) << c.what;
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(player_table[p].cash, cash[p]) << c.what;
        EXPECT_EQ(lotto_jackpot, 0) << c.what;
        EXPECT_EQ(balloons().back(), "#0148无人出价，宣布流标。") << c.what;
        EXPECT_EQ(decision_script_left(), 0) << c.what;
    }
}

TEST_F(Auction, HumansBidThroughTheDecisionsAndTheLeaderIsNeverAskedWhileLeading) {
    for (int p = 2; p < 4; ++p)
        player_table[p].control = CTRL_OUT;
    player_table[0].control = CTRL_HUMAN;
    player_table[1].control = CTRL_HUMAN;
    // Seat 0 raises 1000, seat 1 raises 100, seat 0 raises 500, seat 1 gives up.
    for (int answer : {3, 1, 2, AUCTION_GIVE_UP})
        decision_script_push(answer);
    ASSERT_EQ(auction_run(-1, LOT1, 0), 1);
    EXPECT_EQ(decision_asked_count(), 4);
    EXPECT_EQ(decision_last_kind(), DECIDE_AUCTION_BID);
    EXPECT_EQ(decision_last_player(), 1);
    EXPECT_EQ(decision_last_amount(), 1000 + 1000 + 100 + 500);
    EXPECT_EQ(decision_last_object(), LOT1);
    EXPECT_EQ(map_lot_table[1].owner, 1);
    EXPECT_EQ(player_table[0].cash, 50000 - 2600);
    EXPECT_EQ(lotto_jackpot, 2600);

    // With nothing shown and nothing scripted a human passes.
    SetUp();
    for (int p = 1; p < 4; ++p)
        player_table[p].control = CTRL_OUT;
    player_table[0].control = CTRL_HUMAN;
    EXPECT_EQ(auction_run(-1, LOT1, 0), 0);
    EXPECT_EQ(decision_asked_count(), 1);
}

TEST_F(Auction, AHumanWhoseCashIsBelowThePriceGivesUpWithoutBeingAsked) {
    for (int p = 2; p < 4; ++p)
        player_table[p].control = CTRL_OUT;
    player_table[1].control = CTRL_HUMAN;
    player_table[1].cash = 1200; // above the minimum 1000, below 1000 + 5000
    // A computer owning two more North plots: its limit is about three times
    // the price, so it opens with +1000.
    map_lot_table[2].owner = map_lot_table[3].owner = owner_of_seat(0);
    ASSERT_EQ(auction_run(-1, LOT1, 0), 1);
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_EQ(map_lot_table[1].owner, 1);
}

TEST_F(Auction, ThePictureFollowsLevelKindChainAndOwner) {
    game_map = 2;
    player_table[3].character = 7;
    struct Case {
        int object, level, owner, extra, frame;
    };
    const Case cases[] = {
        {LOT1, 3, 1, 0, 3 + 10 + 29}, {LOT1, 2, 1, 1, 50},  {LOT1, 0, 4, 0, 98},
        {LOT1, 0, 0, 0, 90},          {FAC1, 2, 1, 3, 63},  {FAC1, 1, 1, 0, 51},
        {FAC1, 0, 4, 0, 111},         {FAC1, 0, 0, 0, 103},
    };
    for (const Case& c : cases) {
        if (LandLot* lot = map_lot(c.object)) {
            lot->level = static_cast<uint8_t>(c.level);
            lot->owner = Owner{static_cast<uint8_t>(c.owner)};
            lot->chain_store = static_cast<uint8_t>(c.extra);
        } else {
            FacilityLot* f = map_facility(c.object);
            f->level = static_cast<uint8_t>(c.level);
            f->owner = Owner{static_cast<uint8_t>(c.owner)};
            f->kind = static_cast<uint8_t>(c.extra);
        }
        EXPECT_EQ(auction_picture_frame(c.object), c.frame) << c.object << " " << c.level;
    }
}

TEST_F(Auction, ACodeThatNamesNoPlotOrFacilityOrABadSellerIsNoAuction) {
    EXPECT_EQ(auction_run(-1, OBJ_LOT_BASE + 7, 1), 0);
    EXPECT_EQ(auction_run(-1, 6001, 1), 0);
    EXPECT_EQ(auction_run(4, LOT1, 1), 0);
    EXPECT_EQ(shown_count(Shown::Balloon), 0u);
    EXPECT_EQ(shown_count(Shown::Music), 0u);
}

} // namespace
