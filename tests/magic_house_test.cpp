// The magic house's rules: who each condition chooses, the computer's fate,
// each fate on the chosen players with the players it passes over, the
// human's fate and the revenge target through their decisions.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "cards/cards.h"
#include "cards/news_deck.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/magic_house.h"
#include "support/encounter_board.h"

namespace {

constexpr int PARDON = 21;

class MagicHouse : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encounter_board_setup(4));
        for (int p = 0; p < 4; ++p) {
            player_table[p].sex = 1;
            player_table[p].cash = 1000;
            player_table[p].deposit = 1000;
        }
        shown_clear();
    }
    void TearDown() override {
        magic_set_observer(nullptr);
        game_world_reset();
    }
    static std::vector<int> chosen() {
        std::vector<int> v;
        for (uint8_t c : magic_chosen)
            if (c == 0)
                break;
            else
                v.push_back(c - 1);
        return v;
    }
    static void choose(std::initializer_list<int> players) {
        magic_chosen = {};
        int i = 0;
        for (int p : players)
            magic_chosen[i++] = owner_of_seat(p);
    }
};

TEST_F(MagicHouse, EachConditionChoosesItsPlayersWithTiesAndSkips) {
    struct Case {
        int k;
        void (*set_up)();
        std::vector<int> expected;
    };
    const Case cases[] = {
        {3, [] { player_table[1].cash = player_table[2].cash = 5000; }, {1, 2}},
        {4, [] { player_table[3].deposit = 7000; }, {3}},
        {5, [] {}, {}}, // nobody has points: a 0 never counts
        {5, [] { player_table[2].points = 1; }, {2}},
        {1, [] {}, {}},
        {1,
         [] {
             map_lot_table[1].owner = owner_of_seat(0);
             map_lot_table[2].owner = owner_of_seat(1);
             map_facility_table[1].owner = owner_of_seat(1);
         },
         {1}},
        {2, // counted, not summed: one plot at level 5 is one
         [] {
             map_lot_table[1].owner = owner_of_seat(0);
             map_lot_table[1].level = 5;
             map_lot_table[2].owner = owner_of_seat(2);
             map_lot_table[2].level = 1;
         },
         {0, 2}},
        {0, // net worth 0 for all is a tie at 0
         [] {
             for (int p = 0; p < 4; ++p)
                 player_table[p].cash = player_table[p].deposit = 0;
         },
         {0, 1, 2, 3}},
        {0, [] { player_table[2].cash = 90000; }, {2}},
        {6, [] { player_table[1].travel = TRAVEL_MOTORBIKE; }, {0, 2, 3}},
        {7, [] { player_table[1].travel = TRAVEL_MOTORBIKE; }, {1}},
        {8, [] { player_table[3].travel = TRAVEL_CAR; }, {3}},
        {6, // the construction vehicle is none of the three
         [] {
             for (int p = 0; p < 4; ++p)
                 player_table[p].travel = TRAVEL_FRESH_CONSTRUCTION;
         },
         {}},
        {9, [] { player_table[0].god_slot = 3; }, {0}},
        {10, [] { player_table[2].sex = 0; }, {0, 1, 3}},
        {11, [] { player_table[2].sex = 0; }, {2}},
        {10, [] { player_table[1].control = CTRL_OUT; }, {0, 2, 3}}, // out of the game
    };
    for (const Case& c : cases) {
        SetUp();
        c.set_up();
        const int n = magic_select_players(c.k);
        EXPECT_EQ(chosen(), c.expected) << "condition " << c.k;
        EXPECT_EQ(n, static_cast<int>(c.expected.size())) << "condition " << c.k;
    }
}

TEST_F(MagicHouse, TheDrawEndsWithSomebodyChosenOrAtOnceWhenNobodyCouldBe) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        game_srand(seed);
        const int k = magic_draw_condition();
        ASSERT_GE(k, 0);
        EXPECT_FALSE(chosen().empty());
    }
    // Nobody in the game: nothing is drawn from the generator.
    for (int p = 0; p < 4; ++p)
        player_table[p].control = CTRL_OUT;
    game_srand(5);
    EXPECT_EQ(magic_draw_condition(), -1);
    EXPECT_TRUE(chosen().empty());
    game_srand(5);
    const int first = game_rand();
    game_srand(5);
    magic_draw_condition();
    EXPECT_EQ(game_rand(), first);
    // Sex bytes no condition knows, nothing else to meet: the visit ends.
    SetUp();
    for (int p = 0; p < 4; ++p) {
        player_table[p].sex = 2;
        player_table[p].travel = TRAVEL_FRESH_CONSTRUCTION;
        player_table[p].cash = player_table[p].deposit = -1;
    }
    EXPECT_EQ(magic_draw_condition(), -1);
    game_active_mover = 0;
    magic_visit();
    EXPECT_EQ(shown_count(Shown::Message), 0u);
}

TEST_F(MagicHouse, AComputerGivesACardWhenChosenAndNeverACardNorAnAuctionOtherwise) {
    choose({0, 2});
    EXPECT_EQ(magic_ai_fate(2), FATE_GIVE_CARD);
    choose({1});
    std::vector<int> seen(MAGIC_FATE_COUNT, 0);
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        game_srand(seed);
        ++seen[magic_ai_fate(0)];
    }
    EXPECT_EQ(seen[FATE_GIVE_CARD], 0);
    EXPECT_EQ(seen[FATE_AUCTION], 0);
    EXPECT_GT(seen[FATE_TURN_ROUND], seen[FATE_STAY]) << "6 becomes 7";
}

// ---------------------------------------------------------------------------
// The fates

TEST_F(MagicHouse, EachFateFallsOnTheChosenPlayer) {
    struct Case {
        int fate;
        void (*set_up)();
        void (*check)();
        const char* words; // the message, nullptr for none
    };
    const Case cases[] = {
        {FATE_SELL_CARDS,
         [] {
             card_add(1, CARD_SHARE_WEALTH);
             card_add(1, CARD_TURTLE);
             player_table[1].points = 65500;
         },
         [] {
             EXPECT_EQ(card_count(1), 0);
             EXPECT_EQ(player_table[1].points, 65535) << "held, not wrapped";
         },
         "变卖所有卡片"},
        {FATE_JAIL, [] { game_price_index = 3; },
         [] {
             EXPECT_EQ(player_table[1].jail_days, 3);
             EXPECT_EQ(player_table[1].grudge[0], 270);
         },
         "立刻坐牢三天"},
        {FATE_JAIL, [] { card_add(1, PARDON); },
         [] {
             EXPECT_EQ(player_table[1].jail_days, 0) << "the pardon cancels it";
             EXPECT_FALSE(card_has(1, PARDON));
         },
         "立刻坐牢三天"},
        {FATE_HOSPITAL, [] {}, [] { EXPECT_EQ(player_table[1].hospital_days, 3); }, "住院检查三天"},
        {FATE_STAY, [] {}, [] { EXPECT_EQ(player_table[1].stay_days, 1); }, "原地停留一回合"},
        {FATE_STAY, [] { player_table[1].stay_days = STATUS_END_MARK; },
         [] { EXPECT_EQ(player_table[1].stay_days, 1) << "the end mark counts as none"; }, nullptr},
        {FATE_STAY, [] { player_table[1].stay_days = 127; },
         [] { EXPECT_EQ(player_table[1].stay_days, 127) << "held at 127, not 0"; }, nullptr},
        {FATE_DEPOSIT_CASH, [] {},
         [] {
             EXPECT_EQ(player_table[1].cash, 0);
             EXPECT_EQ(player_table[1].deposit, 2000);
         },
         "存入所有现金"},
        {FATE_DEPOSIT_CASH, [] { player_table[1].deposit = INT_MAX - 10; },
         [] {
             EXPECT_EQ(player_table[1].deposit, INT_MAX);
             EXPECT_EQ(player_table[1].cash, 990) << "what does not fit stays";
         },
         nullptr},
        {FATE_GIVE_CARD, [] {}, [] { EXPECT_EQ(card_count(1), 1); }, "得到"},
        {FATE_GIVE_CARD, [] { card_stock.fill(0); }, [] { EXPECT_EQ(card_count(1), 0); }, nullptr},
        {FATE_TURN_ROUND, [] { player_table[1].facing = 2; },
         [] { EXPECT_EQ(player_table[1].facing, 6); }, "向后转"},
        {FATE_SELL_ITEMS,
         [] {
             item_add(1, ITEM_CAR);
             player_table[1].points = 10;
         },
         [] {
             EXPECT_EQ(player_items[1][ITEM_CAR - 1], 0);
             EXPECT_EQ(player_table[1].points, 160);
         },
         "变卖所有道具"},
    };
    for (const Case& c : cases) {
        SetUp();
        c.set_up();
        choose({1});
        magic_apply_fate(c.fate);
        c.check();
        if (c.words != nullptr) {
            EXPECT_NE(shown_find_text(Shown::Message, c.words), nullptr) << c.words;
        } else if (c.fate == FATE_GIVE_CARD) {
            EXPECT_EQ(shown_count(Shown::Message), 0u) << "no gift, no words";
        }
        EXPECT_EQ(game_active_mover, 0) << "the visitor is the mover again";
    }
}

TEST_F(MagicHouse, ThreeFatesRunThreeFateEventsForTheChosen) {
    for (int i = 0; i < FATE_SLOT_COUNT; ++i)
        fate_deck[i] = static_cast<uint8_t>(i);
    fate_cursor = 0;
    choose({1});
    magic_apply_fate(FATE_THREE_FATES);
    EXPECT_GE(fate_cursor, 3);
}

TEST_F(MagicHouse, BuildingAndDemolishingActOnTheServedPlotWithTheirFilms) {
    encounter_board_put(1, 2); // plot 2
    struct Case {
        int fate;
        int level_before, level_after;
        bool celebration;
        int film;
    };
    const Case cases[] = {
        {FATE_BUILD, 1, 2, false, 512},
        {FATE_BUILD, 4, 5, true, 512},
        {FATE_BUILD, 5, 5, false, 512},
        {FATE_DEMOLISH, 3, 2, false, 488},
    };
    for (const Case& c : cases) {
        map_lot_table[2].owner = owner_of_seat(2);
        map_lot_table[2].level = static_cast<uint8_t>(c.level_before);
        shown_clear();
        choose({1});
        magic_apply_fate(c.fate);
        EXPECT_EQ(map_lot_table[2].level, c.level_after) << c.fate << " from " << c.level_before;
        EXPECT_EQ(shown_count(Shown::Flc, c.film), 1u);
        EXPECT_EQ(shown_count(Shown::Flc, 482), c.celebration ? 1u : 0u);
        EXPECT_NE(shown_find_text(Shown::Speech, "？？？"), nullptr);
    }
}

TEST_F(MagicHouse, PlayersNotFreeOrOffAPropertyArePassedOverSilently) {
    struct Case {
        int fate;
        int square;
        void (*set_up)();
    };
    const Case cases[] = {
        {FATE_BUILD, EB_EMPTY_SQUARE, [] {}},
        {FATE_DEMOLISH, EB_BANK_SQUARE, [] {}},
        {FATE_AUCTION, EB_COMPANY_SQUARE, [] {}},
        {FATE_BUILD, 2, [] { player_table[1].jail_days = 2; }},
        {FATE_AUCTION, 2, [] { player_table[1].hotel_days = 1; }},
        {FATE_TURN_ROUND, 2, [] { player_table[1].hospital_days = 1; }},
        {FATE_TURN_ROUND, 2, [] { player_table[1].away_days = 1; }},
    };
    for (const Case& c : cases) {
        SetUp();
        encounter_board_put(1, c.square);
        map_lot_table[2].level = 2;
        c.set_up();
        player_table[1].facing = 2;
        choose({1});
        magic_apply_fate(c.fate);
        EXPECT_EQ(shown_count(Shown::Message), 0u) << c.fate << " on " << c.square;
        EXPECT_EQ(shown_count(Shown::Flc), 0u);
        EXPECT_EQ(map_lot_table[2].level, 2);
        EXPECT_EQ(player_table[1].facing, 2);
    }
}

TEST_F(MagicHouse, ApplyingStopsWhenTheGameEndsAndPassesOverPlayersWhoLeft) {
    choose({1, 2, 3});
    player_table[2].control = CTRL_OUT;
    magic_apply_fate(FATE_STAY);
    EXPECT_EQ(player_table[1].stay_days, 1);
    EXPECT_EQ(player_table[2].stay_days, 0);
    EXPECT_EQ(player_table[3].stay_days, 1);
    game_end_code = 1;
    choose({1, 3});
    magic_apply_fate(FATE_STAY);
    EXPECT_EQ(player_table[1].stay_days, 1);
    EXPECT_EQ(shown_count(Shown::Message), 2u);
    EXPECT_EQ(game_active_mover, 0);
}

// ---------------------------------------------------------------------------
// Visits and decisions

MagicReport last_report;
void keep_report(const MagicReport& r) {
    last_report = r;
}

TEST_F(MagicHouse, AComputerVisitAnnouncesTheConditionAndFateThenAppliesIt) {
    magic_set_observer(keep_report);
    game_srand(9);
    magic_visit();
    EXPECT_EQ(last_report.visitor, 0);
    ASSERT_GE(last_report.condition, 0);
    EXPECT_NE(last_report.fate, FATE_AUCTION);
    const ShownEvent& first = shown_log().front();
    EXPECT_EQ(first.kind, Shown::Message);
    EXPECT_EQ(first.text.find("#"), std::string::npos) << "the voice marker is left out";
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_EQ(shown_count(Shown::Music), 0u) << "a computer's visit plays no music";
}

TEST_F(MagicHouse, AHumanDecidesTheFateAndARefusedAnswerStays) {
    magic_set_observer(keep_report);
    player_table[0].control = CTRL_HUMAN;
    decision_script_push(FATE_DEPOSIT_CASH);
    magic_visit();
    EXPECT_EQ(decision_last_kind(), DECIDE_MAGIC_FATE);
    EXPECT_EQ(decision_last_object(), last_report.condition);
    EXPECT_EQ(last_report.fate, FATE_DEPOSIT_CASH);
    for (int answer : {12, -1, 99}) {
        decision_script_push(answer);
        magic_visit();
        EXPECT_EQ(last_report.fate, FATE_STAY) << answer;
    }
    // Nothing shown and nobody to ask: the window's stay.
    magic_visit();
    EXPECT_EQ(last_report.fate, FATE_STAY);
}

TEST_F(MagicHouse, TheRevengeTargetIsAnotherPlayerInTheGameOrNone) {
    decision_script_push(3 + 1);
    EXPECT_EQ(magic_pick_revenge_target(0), 4);
    EXPECT_EQ(decision_last_kind(), DECIDE_REVENGE_TARGET);
    for (int answer : {0 + 1, 9, -3}) {
        decision_script_push(answer);
        EXPECT_EQ(magic_pick_revenge_target(0), 0) << answer;
    }
    player_table[2].control = CTRL_OUT;
    decision_script_push(1 + 1);
    EXPECT_EQ(magic_pick_revenge_target(0), 2);
    decision_script_push(2 + 1);
    EXPECT_EQ(magic_pick_revenge_target(0), 0) << "a player who left";
    // One other player left: no screen, nothing asked.
    player_table[3].control = CTRL_OUT;
    const int asked = decision_asked_count();
    EXPECT_EQ(magic_pick_revenge_target(0), 0);
    EXPECT_EQ(decision_asked_count(), asked);
}

} // namespace

namespace {

// Each chosen player's message comes after a repaint of the whole board made
// while he is the mover, so the side panel shows him and not the visitor.
TEST_F(MagicHouse, TheWholeBoardIsRepaintedForEachChosenPlayerBeforeHisMessage) {
    choose({1, 2});
    magic_apply_fate(FATE_STAY);
    std::vector<size_t> repaints, messages;
    const auto& log = shown_log();
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].kind == Shown::BoardRefresh && log[i].number == -1) repaints.push_back(i);
        if (log[i].kind == Shown::Message) messages.push_back(i);
    }
    ASSERT_EQ(messages.size(), 2u);
    ASSERT_GE(repaints.size(), 2u) << "a board repaint, side panel included, for each";
    EXPECT_LT(repaints[0], messages[0]);
    EXPECT_GT(repaints[1], messages[0]);
    EXPECT_LT(repaints[1], messages[1]);
}

} // namespace
