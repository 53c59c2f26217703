// The news deck: its shuffle, check and stored form, the applicability of the
// events and what each event does in its two phases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/card_use.h"
#include "cards/news.h"
#include "cards/news_deck.h"
#include "engine/random.h"
#include "engine/record_io.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "support/encounter_board.h"
#include "support/test_board.h"

namespace {

// ---------------------------------------------------------------------------
// The decks

// The shuffle as it is described: card k is the (r+1)-th number not yet taken.
std::vector<int> shuffled_by_hand(uint32_t seed, int n) {
    game_srand(seed);
    std::vector<int> left(n), deck;
    for (int i = 0; i < n; ++i)
        left[i] = i;
    for (int k = 0; k < n; ++k) {
        const int r = game_rand() % (n - k);
        deck.push_back(left[r]);
        left.erase(left.begin() + r);
    }
    return deck;
}

TEST(NewsDeck, TheShufflesReplayTheirPermutationBySeedNewsFirst) {
    for (uint32_t seed : {1u, 7u, 12345u}) {
        game_world_reset();
        const std::vector<int> news = shuffled_by_hand(seed, NEWS_EVENT_COUNT);
        const uint32_t after_news = game_rand_seed();
        const std::vector<int> fate = shuffled_by_hand(after_news, FATE_SLOT_COUNT);
        game_srand(seed);
        news_cursor = 5;
        fate_cursor = 9;
        news_shuffle();
        fate_shuffle();
        EXPECT_EQ(std::vector<int>(news_deck.begin(), news_deck.end()), news) << seed;
        EXPECT_EQ(std::vector<int>(fate_deck.begin(), fate_deck.end()), fate) << seed;
        EXPECT_EQ(news_cursor, 0);
        EXPECT_EQ(fate_cursor, 0);
        EXPECT_TRUE(deck_valid(news_deck.data(), NEWS_EVENT_COUNT, news_cursor));
        EXPECT_TRUE(deck_valid(fate_deck.data(), FATE_SLOT_COUNT, fate_cursor));
    }
}

TEST(NewsDeck, TheCheckRefusesAnythingButAPermutationWithItsCursorInRange) {
    std::vector<uint8_t> deck(NEWS_EVENT_COUNT);
    for (int i = 0; i < NEWS_EVENT_COUNT; ++i)
        deck[i] = static_cast<uint8_t>(i);
    EXPECT_TRUE(deck_valid(deck.data(), NEWS_EVENT_COUNT, 0));
    EXPECT_TRUE(deck_valid(deck.data(), NEWS_EVENT_COUNT, 35));
    EXPECT_FALSE(deck_valid(deck.data(), NEWS_EVENT_COUNT, 36));
    EXPECT_FALSE(deck_valid(deck.data(), NEWS_EVENT_COUNT, -1));
    std::vector<uint8_t> twice = deck;
    twice[3] = 4;
    EXPECT_FALSE(deck_valid(twice.data(), NEWS_EVENT_COUNT, 0));
    std::vector<uint8_t> beyond = deck;
    beyond[0] = 36;
    EXPECT_FALSE(deck_valid(beyond.data(), NEWS_EVENT_COUNT, 0));
    std::vector<uint8_t> zeros(NEWS_EVENT_COUNT, 0);
    EXPECT_FALSE(deck_valid(zeros.data(), NEWS_EVENT_COUNT, 0));
}

TEST(NewsDeck, TheStoredBlockRoundTripsAndABadDeckIsRefusedWhole) {
    game_world_reset();
    game_srand(3);
    news_shuffle();
    fate_shuffle();
    news_cursor = 17;
    fate_cursor = 36;
    uint8_t block[DECKS_BLOCK_SIZE];
    decks_write(block);
    EXPECT_EQ(le_get32(block), 17u);
    EXPECT_EQ(le_get32(block + 4), 36u);
    EXPECT_EQ(block[8], news_deck[0]);
    EXPECT_EQ(block[8 + 36], fate_deck[0]);
    EXPECT_EQ(block[DECKS_BLOCK_SIZE - 1], fate_deck[36]);

    const auto news_before = news_deck;
    const auto fate_before = fate_deck;
    game_world_reset();
    ASSERT_TRUE(decks_read(block));
    EXPECT_EQ(news_deck, news_before);
    EXPECT_EQ(fate_deck, fate_before);
    EXPECT_EQ(news_cursor, 17);
    EXPECT_EQ(fate_cursor, 36);

    // A fate deck with a number twice, or a cursor out of range: nothing taken.
    uint8_t bad[DECKS_BLOCK_SIZE];
    std::memcpy(bad, block, sizeof bad);
    bad[8 + 36] = bad[8 + 37];
    game_world_reset();
    EXPECT_FALSE(decks_block_valid(bad));
    EXPECT_FALSE(decks_read(bad));
    EXPECT_EQ(news_cursor, 0);
    EXPECT_EQ(news_deck[5], 5);
    std::memcpy(bad, block, sizeof bad);
    le_put32(bad, 36);
    EXPECT_FALSE(decks_read(bad));
    EXPECT_EQ(news_cursor, 0);
}

TEST(NewsDeck, ASnapshotSlotIsCheckedOnlyWhenValid) {
    game_world_reset();
    game_srand(9);
    news_shuffle();
    fate_shuffle();
    std::vector<uint8_t> slot(10008, 0);
    EXPECT_TRUE(decks_snapshot_slot_valid(slot.data())); // not valid: zeros pass
    le_put32(slot.data(), 1);
    EXPECT_FALSE(decks_snapshot_slot_valid(slot.data())); // valid with zero decks
    decks_write(slot.data() + SNAPSHOT_DECKS_OFFSET);
    EXPECT_TRUE(decks_snapshot_slot_valid(slot.data()));
    slot[SNAPSHOT_DECKS_OFFSET + 8 + 35] = 200;
    EXPECT_FALSE(decks_snapshot_slot_valid(slot.data()));
}

// ---------------------------------------------------------------------------
// The events on the small board

class NewsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encounter_board_setup(3));
        stock_new_game(0);
        map_company_table[1].listed = STOCK_COUNT; // not listed unless a test says so
        shown_clear();
        events_take_shown();
    }

    // Puts event e at the cursor.
    static void next_news(int e) {
        auto at = std::find(news_deck.begin(), news_deck.end(), e);
        std::swap(*at, news_deck[news_cursor]);
    }

    // Shows event e; true when it was the one shown.
    static bool show(int e) {
        next_news(e);
        news_show();
        const std::vector<int> shown = events_take_shown();
        return shown.size() == 1 && shown[0] == e;
    }

    static size_t panel_lines(const char* needle) {
        size_t n = 0;
        for (const ShownEvent& ev : shown_log())
            n += ev.kind == Shown::Panel && ev.text.find(needle) != std::string::npos ? 1 : 0;
        return n;
    }
};

TEST_F(NewsTest, PassedOverCardsMoveTheCursorWhichWrapsAfter35) {
    // Nobody held, nothing built: events 0-5 do not apply, 6 does.
    news_cursor = 0;
    news_show();
    EXPECT_EQ(events_take_shown(), std::vector<int>{6});
    EXPECT_EQ(news_cursor, 7);

    // The last card does not apply (no company earns): the cursor wraps and
    // passes 0-5 again.
    news_cursor = 35;
    news_show();
    EXPECT_EQ(events_take_shown(), std::vector<int>{6});
    EXPECT_EQ(news_cursor, 7);

    // A card that applies at 35 is shown and the cursor wraps to 0.
    news_cursor = 35;
    map_company_table[1].earnings = 20000;
    news_show();
    EXPECT_EQ(events_take_shown(), std::vector<int>{35});
    EXPECT_EQ(news_cursor, 0);
}

TEST_F(NewsTest, EachConditionalEventAppliesOnlyWhenItsCandidatesExist) {
    const struct {
        std::vector<int> events;
        std::function<void()> make_it_apply;
    } cases[] = {
        {{0, 1}, [] { jail_flags[2] = 1; }},
        {{2, 3}, [] { hospital_flags[0] = 1; }},
        {{4, 5}, [] { map_facility_table[1].level = 1; }},
        {{15}, [] { map_lot_table[6].level = 2; }},
        {{8, 9, 12}, [] { map_lot_table[2].owner = owner_of_seat(0); }},
        {{10, 13}, [] { stock_holdings[1][3].shares = 10; }},
        {{17}, [] { player_table[2].travel = TRAVEL_CAR; }},
        {{28}, [] { stock_table[4].suspended_days = 2; }},
        {{29}, [] { map_company_table[1].chairman = owner_of_seat(1); }},
        {{35}, [] { map_company_table[1].earnings = 10001; }},
    };
    for (const auto& c : cases) {
        SetUp();
        for (int e : c.events)
            EXPECT_EQ(news_applicable(e), 0) << e;
        c.make_it_apply();
        for (int e : c.events)
            EXPECT_EQ(news_applicable(e), 1) << e;
    }
    // Event 7 needs land without owner; 16 a walker; 35 earnings above 10000.
    SetUp();
    EXPECT_EQ(news_applicable(7), 1);
    EXPECT_EQ(news_applicable(16), 1);
    for (int i = 1; i <= map_lot_count; ++i)
        map_lot_table[i].owner = owner_of_seat(0);
    map_facility_table[1].owner = owner_of_seat(1);
    EXPECT_EQ(news_applicable(7), 0);
    for (int p = 0; p < 3; ++p)
        player_table[p].travel = TRAVEL_MOTORBIKE;
    EXPECT_EQ(news_applicable(16), 0);
    map_company_table[1].earnings = 10000;
    EXPECT_EQ(news_applicable(35), 0);
    // Out of the game counts for nothing.
    SetUp();
    player_table[2].travel = TRAVEL_CAR;
    player_table[2].control = CTRL_OUT;
    EXPECT_EQ(news_applicable(17), 0);
    for (int e : {11, 22, 23, 24, 25, 26, 27, 6, 14, 18, 19, 20, 21, 30, 31, 32, 33, 34})
        EXPECT_EQ(news_applicable(e), 1) << e;
}

TEST_F(NewsTest, AnyChairmanIsDrawnButOnlyAFreeOneLetsTheEventRun) {
    TestBoardSize size;
    size.companies = 3;
    ASSERT_TRUE(test_board_load(size));
    map_company_table[1].chairman = owner_of_seat(0); // player 0, in a hotel
    map_company_table[3].chairman = owner_of_seat(1); // player 1, free
    for (int i = 1; i <= 3; ++i)
        map_company_table[i].listed = STOCK_COUNT;
    int drawn[2] = {0, 0};
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        for (int p : {0, 1}) {
            player_table[p].jail_days = 0;
            jail_flags[p] = 0;
            player_table[p].control = CTRL_COMPUTER;
        }
        player_table[0].hotel_days = 3;
        game_srand(seed);
        ASSERT_TRUE(show(29));
        ASSERT_TRUE(news_target == 0 || news_target == 1) << news_target;
        ++drawn[news_target];
        const int other = 1 - news_target;
        EXPECT_EQ(player_table[news_target].jail_days, 5);
        EXPECT_EQ(jail_flags[news_target], 1);
        EXPECT_EQ(player_table[news_target].hotel_days, 0) << "the jail ends a hotel stay";
        EXPECT_EQ(player_table[other].jail_days, 0);
        EXPECT_EQ(player_table[0].hotel_days, news_target == 0 ? 0 : 3);
    }
    EXPECT_GT(drawn[0], 0) << "the chairman in the hotel is drawn too";
    EXPECT_GT(drawn[1], 0);
    // Nobody free among the chairmen: the event does not run.
    player_table[1].jail_days = 5;
    player_table[0].hotel_days = 3;
    player_table[0].jail_days = 0;
    EXPECT_EQ(news_applicable(29), 0);
}

TEST_F(NewsTest, WithoutPlotsFacilitiesOrCompaniesTheirEventsDoNotApply) {
    TestBoardSize size;
    size.lots = 0;
    size.facilities = 0;
    size.companies = 0;
    ASSERT_TRUE(test_board_load(size));
    for (int e : {4, 5, 6, 7, 8, 9, 12, 14, 15, 18, 19, 20, 21, 29, 30, 31, 32, 33, 34, 35})
        EXPECT_EQ(news_applicable(e), 0) << e;
    // The deck still finds an event.
    for (int k = 0; k < NEWS_EVENT_COUNT; ++k)
        news_show();
    EXPECT_EQ(events_take_shown().size(), size_t{NEWS_EVENT_COUNT});
}

TEST_F(NewsTest, EveryEventDoesWhatItSaysInItsTwoPhases) {
    const struct {
        int e;
        std::function<void()> setup;
        std::function<void()> check;
    } cases[] = {
        {0, [] { jail_send(1, 4); },
         [] {
             EXPECT_EQ(player_table[1].jail_days, STATUS_END_MARK);
             EXPECT_EQ(jail_flags[1], 0);
             EXPECT_EQ(jail_flags[4], 1); // characters stay
         }},
        {1,
         [] {
             jail_send(1, 4);
             jail_flags[2] = 1, player_table[2].jail_days = STATUS_END_MARK;
             jail_flags[0] = 1, player_table[0].jail_days = 126;
         },
         [] {
             EXPECT_EQ(player_table[1].jail_days, 7);
             EXPECT_EQ(player_table[2].jail_days, 3); // the end mark holds no day
             EXPECT_EQ(player_table[0].jail_days, 127);
         }},
        {2, [] { jail_send_hospital(2, 2); },
         [] {
             EXPECT_EQ(player_table[2].hospital_days, STATUS_END_MARK);
             EXPECT_EQ(hospital_flags[2], 0);
         }},
        {3, [] { hospital_flags[0] = 1, player_table[0].hospital_days = 125; },
         [] { EXPECT_EQ(player_table[0].hospital_days, 127); }},
        {4,
         [] {
             map_lot_table[1].owner = owner_of_seat(1), map_lot_table[1].level = 2;
             encounter_board_put(2, 1); // standing by the target
         },
         [] {
             EXPECT_EQ(news_target, 2001);
             EXPECT_EQ(shown_count(Shown::Flc, 490), 1u);
             EXPECT_EQ(map_lot_table[1].owner, 0);        // taken away with all around it
             EXPECT_EQ(player_table[2].hospital_days, 3); // hit by the blast
             EXPECT_EQ(player_table[1].hospital_days, 0);
         }},
        {7, [] { map_lot_table[1].owner = owner_of_seat(1); },
         [] {
             EXPECT_NE(news_target, 2001);
             EXPECT_GT(news_target, 2000);
             // An unowned plot auctioned without a seller: sold, the price
             // went to the jackpot; void, it is still nobody's.
             EXPECT_NE(shown_find_text(Shown::Balloon, "#0131"), nullptr);
             if (news_owner_of(news_target) != 0) {
                 EXPECT_GT(lotto_jackpot, 0);
             }
         }},
        {19,
         [] {
             for (int i = 1; i <= 6; ++i)
                 map_lot_table[i].owner = owner_of_seat(0), map_lot_table[i].level = 1;
             map_facility_table[1].owner = owner_of_seat(0), map_facility_table[1].level = 1;
         },
         [] {
             EXPECT_EQ(news_owner_of(news_target), 0);
             EXPECT_EQ(news_value, 1);
             EXPECT_EQ(shown_count(Shown::Flash), 1u);
             EXPECT_EQ(shown_count(Shown::Speech, 0), 1u);
         }},
        {21,
         [] {
             for (int i = 1; i <= 6; ++i)
                 map_lot_table[i].owner = owner_of_seat(0), map_lot_table[i].level = 1;
             map_facility_table[1].owner = owner_of_seat(0), map_facility_table[1].level = 1;
         },
         [] {
             EXPECT_EQ(news_owner_of(news_target), 1);
             const bool lot = news_target < 4000;
             EXPECT_EQ(lot ? map_lot_table[news_target - 2000].level
                           : map_facility_table[news_target - 4000].level,
                       0);
             EXPECT_EQ(shown_count(Shown::Flc, 494), 1u);
         }},
        {5, [] { map_lot_table[4].owner = owner_of_seat(1), map_lot_table[4].level = 2; },
         [] {
             EXPECT_EQ(news_target, 2004);
             EXPECT_EQ(map_lot_table[4].owner, 0);
             EXPECT_EQ(map_lot_table[4].level, 0);
             EXPECT_EQ(shown_count(Shown::Flc, 498), 1u);
             EXPECT_EQ(shown_count(Shown::Speech, 1), 1u); // the owner complains
         }},
        {8,
         [] {
             game_price_index = 2;
             map_lot_table[1].owner = map_lot_table[2].owner = owner_of_seat(1);
             map_lot_table[3].owner = owner_of_seat(2);
         },
         [] {
             EXPECT_EQ(player_table[1].cash, 30000);
             EXPECT_EQ(player_table[2].cash, 10000);
         }},
        {9,
         [] {
             game_price_index = 2;
             map_lot_table[1].owner = owner_of_seat(0);
         },
         [] {
             // Players 1 and 2 own nothing: the lower seat wins.
             EXPECT_EQ(player_table[1].cash, 20000);
             EXPECT_EQ(player_table[2].cash, 10000);
         }},
        {10,
         [] {
             game_price_index = 2;
             stock_holdings[2][0].shares = 100, stock_holdings[1][5].shares = 50;
         },
         [] { EXPECT_EQ(player_table[2].cash, 30000); }},
        {11,
         [] {
             player_table[1].cash = 19;
             player_table[2].cash = -50;
         },
         [] {
             EXPECT_EQ(player_table[0].cash, 9500);
             EXPECT_EQ(lotto_jackpot, 500);
             EXPECT_EQ(player_table[1].cash, 19);
             EXPECT_EQ(player_table[2].cash, -50);
             EXPECT_EQ(panel_lines("缴交500元"), 1u);
             EXPECT_EQ(panel_lines("缴交"), 2u); // the text and that one line
         }},
        {12,
         [] {
             game_price_index = 2;
             map_lot_table[1].owner = owner_of_seat(0), map_lot_table[1].level = 2;
         },
         [] { EXPECT_EQ(player_table[0].cash, 10000 - 200); }},
        {13,
         [] {
             game_price_index = 2;
             stock_table[0].price = 10.0f;
             stock_holdings[1][0].shares = 100;
         },
         [] { EXPECT_EQ(player_table[1].cash, 10000 - 100); }},
        {15, [] { map_lot_table[4].owner = owner_of_seat(2), map_lot_table[4].level = 3; },
         [] {
             EXPECT_EQ(map_lot_table[4].level, 2);
             EXPECT_EQ(shown_count(Shown::Flc, 486), 1u);
             EXPECT_EQ(shown_count(Shown::Speech, 2), 1u);
         }},
        {16, [] { player_table[1].travel = TRAVEL_MOTORBIKE; },
         [] {
             EXPECT_EQ(player_table[0].stay_days, 1);
             EXPECT_EQ(player_table[1].stay_days, 0);
             EXPECT_EQ(player_table[2].stay_days, 1);
         }},
        {17, [] { player_table[1].travel = TRAVEL_MOTORBIKE; },
         [] {
             EXPECT_EQ(player_table[0].stay_days, 0);
             EXPECT_EQ(player_table[1].stay_days, 1);
         }},
        {20,
         [] {
             for (int i = 1; i <= 6; ++i)
                 map_lot_table[i].owner = owner_of_seat(0), map_lot_table[i].level = 2;
         },
         [] {
             EXPECT_EQ(shown_count(Shown::Flc, 493), 1u);
             // The plots around the target lose a level, owners kept.
             int lowered = 0;
             for (int i = 1; i <= 6; ++i) {
                 lowered += map_lot_table[i].level == 1 ? 1 : 0;
                 EXPECT_EQ(map_lot_table[i].owner, 1);
             }
             EXPECT_GE(lowered, 1);
             if (news_target < 4000) {
                 EXPECT_EQ(map_lot_table[news_target - 2000].level, 1);
             }
         }},
        {22, [] { player_table[2].control = CTRL_OUT; },
         [] {
             EXPECT_EQ(player_table[0].bank_suspension_days, 15);
             EXPECT_EQ(player_table[1].bank_suspension_days, 15);
             EXPECT_EQ(player_table[2].bank_suspension_days, 0);
         }},
        {23,
         [] {
             player_table[0].loan = 500;
             player_table[2].deposit = 0;
         },
         [] {
             EXPECT_EQ(player_table[0].deposit, 10000);
             EXPECT_EQ(player_table[1].deposit, 11000);
             EXPECT_EQ(player_table[2].deposit, 0);
             EXPECT_EQ(panel_lines("得到"), 2u); // a line with 0 too
         }},
        {24, [] {},
         [] {
             for (const StockRecord& s : stock_table) {
                 EXPECT_EQ(s.forced_move, 0x01);
                 EXPECT_LT(s.price, s.previous_price);
             }
         }},
        {25, [] {},
         [] {
             for (const StockRecord& s : stock_table) {
                 EXPECT_EQ(s.forced_move, 0x10);
                 EXPECT_GT(s.price, s.previous_price);
             }
         }},
        {26, [] {}, [] { EXPECT_EQ(stock_closed_days, 10); }},
        {27,
         [] {
             for (StockRecord& s : stock_table)
                 s.suspended_days = 3, s.price = s.previous_price + 1.0f;
         },
         [] {
             // An already suspended company restarts at 10 days.
             int restarted = 0;
             for (const StockRecord& s : stock_table) {
                 if (s.suspended_days != 10) continue;
                 ++restarted;
                 EXPECT_EQ(s.price, s.previous_price);
             }
             EXPECT_EQ(restarted, 1);
         }},
        {28, [] { stock_table[5].suspended_days = 4; },
         [] { EXPECT_EQ(stock_table[5].suspended_days, 0); }},
        {29, [] { map_company_table[1].chairman = owner_of_seat(2); },
         [] {
             EXPECT_EQ(player_table[2].jail_days, 5);
             EXPECT_EQ(jail_flags[2], 1);
         }},
        {30,
         [] {
             game_price_index = 3; // company amounts are not scaled
             map_company_table[1].listed = 2;
         },
         [] {
             EXPECT_EQ(map_company_table[1].earnings, -10000);
             EXPECT_EQ(map_company_table[1].earnings_total, -10000);
             EXPECT_EQ(stock_table[2].forced_move, 0x03);
             EXPECT_LT(stock_table[2].price, stock_table[2].previous_price);
         }},
        {31, [] { map_company_table[1].listed = 2; },
         [] {
             EXPECT_EQ(map_company_table[1].earnings, 20000);
             EXPECT_EQ(stock_table[2].forced_move, 0x30);
         }},
        {32, [] {}, [] { EXPECT_EQ(map_company_table[1].earnings, -20000); }},
        {33, [] {}, [] { EXPECT_EQ(map_company_table[1].earnings_total, -10000); }},
        {34, [] {}, [] { EXPECT_EQ(map_company_table[1].earnings, -5000); }},
        {35,
         [] {
             map_company_table[1].listed = 1;
             map_company_table[1].earnings = 30000;
             map_company_table[1].earnings_total = 50000;
         },
         [] {
             EXPECT_EQ(map_company_table[1].earnings, 60000);
             EXPECT_EQ(map_company_table[1].earnings_total, 110000);
             EXPECT_EQ(stock_table[1].forced_move, 0x30);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.e);
        SetUp();
        c.setup();
        ASSERT_TRUE(show(c.e));
        c.check();
    }
}

TEST_F(NewsTest, PriceChangesTakeTheWholeStreetOrTheOneFacilityAndSaturate) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        for (const auto& [e, factor] : {std::pair{6, 1.3}, std::pair{14, 0.7}}) {
            SetUp();
            game_srand(seed);
            map_lot_table[2].owner = owner_of_seat(0); // owned or not alike
            map_lot_table[5].land_price = 60000;
            map_facility_table[1].price = 60000;
            ASSERT_TRUE(show(e));
            auto expect_price = [&](uint16_t was) {
                const double v = was * factor;
                return static_cast<uint16_t>(v > 65535 ? 65535 : v);
            };
            if (object_in(news_target, OBJ_LOT_BASE, map_lot_count)) {
                const bool street_a = news_target <= 2003;
                for (int i = 1; i <= 6; ++i) {
                    const uint16_t was = i == 5 ? 60000 : 1000;
                    EXPECT_EQ(map_lot_table[i].land_price,
                              (i <= 3) == street_a ? expect_price(was) : was)
                        << seed << " plot " << i;
                }
                EXPECT_EQ(map_facility_table[1].price, 60000);
            } else {
                EXPECT_EQ(map_facility_table[1].price, expect_price(60000));
                for (int i = 1; i <= 6; ++i)
                    EXPECT_EQ(map_lot_table[i].land_price, i == 5 ? 60000 : 1000);
            }
        }
    }
}

TEST_F(NewsTest, TheEarthquakeLowersTheBuiltStreetAndClosesChainStores) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SetUp();
        game_srand(seed);
        map_lot_table[1].owner = owner_of_seat(0), map_lot_table[1].level = 2;
        map_lot_table[2].owner = owner_of_seat(1), map_lot_table[2].level = 1,
        map_lot_table[2].chain_store = 1;
        map_lot_table[4].owner = owner_of_seat(0), map_lot_table[4].level = 2;
        map_facility_table[1].owner = owner_of_seat(0), map_facility_table[1].level = 1;
        map_facility_table[1].kind = FK_HOTEL;
        ASSERT_TRUE(show(18));
        const bool a = news_target >= 2001 && news_target <= 2003;
        const bool b = news_target >= 2004 && news_target <= 2006;
        EXPECT_EQ(map_lot_table[1].level, a ? 1 : 2) << seed;
        EXPECT_EQ(map_lot_table[2].level, a ? 0 : 1);
        EXPECT_EQ(map_lot_table[2].chain_store, a ? 0 : 1);
        EXPECT_EQ(map_lot_table[4].level, b ? 1 : 2);
        EXPECT_EQ(map_facility_table[1].level, a || b ? 1 : 0);
        EXPECT_EQ(map_facility_table[1].kind, a || b ? FK_HOTEL : 0);
    }
}

TEST_F(NewsTest, ProfitsOf160000OrMoreWrapTheForcedMoveModulo16) {
    for (const auto& [earnings, forced] : {std::pair{20000, 0x20}, std::pair{150000, 0xF0},
                                           std::pair{160000, 0x00}, std::pair{170000, 0x10}}) {
        SetUp();
        map_company_table[1].listed = 0;
        map_company_table[1].earnings = earnings;
        ASSERT_TRUE(show(35));
        EXPECT_EQ(stock_table[0].forced_move, forced) << earnings;
    }
}

TEST_F(NewsTest, ATaxThatBankruptsAPayerWhoEndsTheGameStopsTheCollection) {
    // Two players: the first one's bankruptcy leaves one standing, which ends
    // the game; the second one's tax is not collected.
    ASSERT_TRUE(encounter_board_setup(2));
    stock_new_game(0);
    events_take_shown();
    game_price_index = 1;
    map_lot_table[1].owner = owner_of_seat(0), map_lot_table[1].level = 5;
    map_lot_table[1].build_price = 60000;
    map_lot_table[2].owner = owner_of_seat(1);
    player_table[0].cash = 0;
    player_table[0].deposit = 0;
    ASSERT_TRUE(show(12));
    EXPECT_EQ(player_table[0].control, CTRL_OUT);
    EXPECT_NE(game_end_code, 0);
    EXPECT_EQ(player_table[1].cash, 10000);
}

TEST_F(NewsTest, TheEventTextsCarryTheirVoiceAndThePanelTheirLines) {
    game_price_index = 2;
    map_lot_table[1].owner = owner_of_seat(0);
    ASSERT_TRUE(show(8));
    EXPECT_EQ(shown_count(Shown::Voice, 157), 1u);
    EXPECT_NE(shown_find_text(Shown::Panel, "20000"), nullptr);
    EXPECT_NE(shown_find_text(Shown::Panel, news_category_names[1]), nullptr);
    EXPECT_EQ(shown_count(Shown::Wait, 2), 1u); // the voice wait
}

} // namespace
