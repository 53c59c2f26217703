// The fate deck: which slots fit the current player, every row's effect, the
// god's answers and fate insurance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "cards/fate.h"
#include "cards/fate_gods.h"
#include "cards/news.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/util.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "support/encounter_board.h"

namespace {

class FateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encounter_board_setup(3));
        stock_new_game(0);
        map_company_table[1].listed = STOCK_COUNT;
        game_active_mover = 0;
        shown_clear();
        events_take_shown();
    }
    void TearDown() override { decision_set_answerer(nullptr, nullptr); }

    // Shows the slot at the cursor; the rows shown.
    static std::vector<int> show_slot(int slot) {
        auto at = std::find(fate_deck.begin(), fate_deck.end(), slot);
        std::swap(*at, fate_deck[fate_cursor]);
        fate_show();
        std::vector<int> rows;
        for (int code : events_take_shown())
            rows.push_back(code - FATE_SHOWN_BASE);
        return rows;
    }
    static void run_row(int row) {
        fate_handler_table[row](0);
        fate_handler_table[row](1);
    }
    // Attaches a god of the kind to player 0 by its slot, with luck values.
    static void god_of(int kind, int money, int mishap) {
        int first = 0, last = 0;
        ASSERT_TRUE(god_kind_slots(kind, &first, &last));
        player_table[0].god_slot = static_cast<uint8_t>(first);
        player_table[0].money_luck = static_cast<int16_t>(money);
        player_table[0].mishap_luck = static_cast<int16_t>(mishap);
    }
    static bool message_with(const char* needle) {
        return shown_find_text(Shown::Message, needle) != nullptr;
    }
};

TEST_F(FateTest, SlotsFitThePlayerAndVehicleSlotsTakeTheRowOfHisVehicle) {
    const struct {
        int slot;
        uint8_t travel;
        int applies;
        int becomes;
    } cases[] = {
        {10, TRAVEL_WALK, 0, 10}, {10, TRAVEL_MOTORBIKE, 1, 10}, {10, TRAVEL_CAR, 1, 11},
        {11, TRAVEL_WALK, 0, 11}, {11, TRAVEL_MOTORBIKE, 1, 10}, {11, TRAVEL_CAR, 1, 11},
        {12, TRAVEL_WALK, 1, 12}, {12, TRAVEL_MOTORBIKE, 1, 13}, {12, TRAVEL_CAR, 0, 12},
        {13, TRAVEL_WALK, 1, 12}, {13, TRAVEL_MOTORBIKE, 1, 13}, {13, TRAVEL_CAR, 0, 13},
        {14, TRAVEL_WALK, 1, 14}, {14, TRAVEL_MOTORBIKE, 1, 15}, {16, TRAVEL_CAR, 1, 16},
        {15, TRAVEL_WALK, 1, 14}, {16, TRAVEL_MOTORBIKE, 1, 15}, {14, TRAVEL_CAR, 1, 16},
        {2, TRAVEL_CAR, 1, 2},    {36, TRAVEL_WALK, 1, 36},
    };
    for (const auto& c : cases) {
        player_table[0].travel = c.travel;
        int slot = c.slot;
        EXPECT_EQ(fate_applicable(slot), c.applies) << c.slot << " " << int(c.travel);
        if (c.applies) {
            EXPECT_EQ(slot, c.becomes) << c.slot << " " << int(c.travel);
        }
    }
    // A construction vehicle (the whole travel byte, days included) meets none.
    for (uint8_t travel : {uint8_t{TRAVEL_CONSTRUCTION}, TRAVEL_FRESH_CONSTRUCTION}) {
        player_table[0].travel = travel;
        for (int s = 10; s <= 16; ++s) {
            int slot = s;
            EXPECT_EQ(fate_applicable(slot), 0) << s;
        }
    }
}

TEST_F(FateTest, SlotsWithCandidatesApplyOnlyWhenTheyExist) {
    const struct {
        int slot;
        std::function<void()> make_it_apply;
    } cases[] = {
        {0, [] { map_lot_table[3].owner = 1, map_lot_table[3].level = 1; }},
        {1, [] { map_lot_table[2].owner = 1; }},
        {5, [] { card_add(2, CARD_SHARE_WEALTH); }},
        {8, [] { stock_holdings[0][7].shares = 1; }},
        {9, [] { stock_holdings[0][7].shares = 1; }},
    };
    for (const auto& c : cases) {
        SetUp();
        // Another player's built plot, the player's own card: not his candidates.
        map_lot_table[5].owner = 2, map_lot_table[5].level = 2;
        card_add(0, CARD_SHARE_POVERTY);
        stock_holdings[1][0].shares = 10;
        int slot = c.slot;
        EXPECT_EQ(fate_applicable(slot), 0) << c.slot;
        c.make_it_apply();
        EXPECT_EQ(fate_applicable(slot), 1) << c.slot;
    }
    // Row 0 and 1 ask for a plot of the right level.
    SetUp();
    map_lot_table[3].owner = 1, map_lot_table[3].level = 1;
    int slot = 1;
    EXPECT_EQ(fate_applicable(slot), 0);
}

TEST_F(FateTest, PassedOverSlotsMoveTheCursorWhichWrapsAfter36) {
    // Slot 10 does not fit a walker, nor slots 0 and 1 a player without land.
    auto at = std::find(fate_deck.begin(), fate_deck.end(), 10);
    std::swap(*at, fate_deck[36]);
    fate_deck[0] = 0, fate_deck[1] = 1, fate_deck[2] = 2;
    fate_deck[10] = 36;
    fate_cursor = 36;
    fate_show();
    EXPECT_EQ(events_take_shown(), std::vector<int>{FATE_SHOWN_BASE + 2});
    EXPECT_EQ(fate_cursor, 3);
}

TEST_F(FateTest, OnMapTwoSlot34RunsRow42WithFiveDaysAndItsPicture) {
    game_map = 2;
    EXPECT_EQ(fate_row_of_slot(34), 42);
    EXPECT_EQ(fate_picture_table[fate_row_of_slot(34)], 465);
    EXPECT_EQ(show_slot(34), std::vector<int>{42});
    EXPECT_EQ(player_table[0].jail_days, 5);
    EXPECT_EQ(shown_count(Shown::Voice, 227), 1u);
    EXPECT_NE(shown_find_text(Shown::Panel, "5"), nullptr);
    EXPECT_EQ(fate_row_of_slot(32), 32);
    game_map = 3;
    EXPECT_EQ(fate_row_of_slot(36), 48);
}

TEST_F(FateTest, EveryMoneyRowPaysTheJackpotOrCreditsThePlayerItsScaledAmount) {
    const struct {
        int row;
        int32_t base;
        bool gain;
    } rows[] = {
        {14, 3000, false}, {15, 3000, false}, {16, 3000, false}, {17, 6000, false},
        {18, 600, false},  {19, 1500, false}, {20, 1000, true},  {21, 2000, true},
        {22, 3000, true},  {23, 1000, false}, {24, 2000, false}, {25, 10000, true},
        {26, 8000, false}, {27, 4000, true},  {28, 6000, true},  {29, 8000, true},
        {30, 5000, false}, {31, 5000, true},
    };
    for (const auto& r : rows) {
        SetUp();
        game_price_index = 2;
        player_table[0].cash = 30000;
        run_row(r.row);
        EXPECT_EQ(fate_amount, r.base * 2) << r.row;
        EXPECT_EQ(player_table[0].cash, 30000 + (r.gain ? 2 : -2) * r.base) << r.row;
        EXPECT_EQ(lotto_jackpot, r.gain ? 0 : 2 * r.base) << r.row;
        EXPECT_EQ(shown_count(Shown::Voice, 185 + r.row), 1u) << r.row;
    }
}

TEST_F(FateTest, EveryJailRowSendsThePlayerForItsDays) {
    for (int row = 33; row <= 48; ++row) {
        SetUp();
        run_row(row);
        EXPECT_EQ(player_table[0].jail_days, 3 + 2 * ((row - 33) % 4)) << row;
        EXPECT_EQ(jail_flags[0], 1) << row;
        EXPECT_EQ(shown_count(Shown::Voice, 185 + row), 1u) << row;
    }
}

TEST_F(FateTest, EveryOtherRowDoesWhatItSays) {
    const struct {
        int row;
        std::function<void()> setup;
        std::function<void()> check;
    } cases[] = {
        {0,
         [] {
             map_lot_table[2].owner = 1, map_lot_table[2].level = 3;
             map_lot_table[2].chain_store = 1;
         },
         [] {
             EXPECT_EQ(player_table[0].cash, 10000 + 3 * 500);
             EXPECT_EQ(map_lot_table[2].level, 0);
             EXPECT_EQ(map_lot_table[2].chain_store, 0);
             EXPECT_EQ(map_lot_table[2].owner, 1);
         }},
        {1, [] { map_lot_table[4].owner = 1, map_lot_table[4].expiry = 0x7CF0101; },
         [] {
             EXPECT_EQ(player_table[0].cash, 11000);
             EXPECT_EQ(map_lot_table[4].owner, 0);
             EXPECT_EQ(map_lot_table[4].expiry, 0u);
         }},
        {2, [] { game_price_index = 3; },
         [] {
             EXPECT_EQ(player_table[0].loan, 30000);
             EXPECT_EQ(player_table[0].cash, 10000);
             EXPECT_NE(player_table[0].loan_due, 0u);
         }},
        {3, [] { player_table[0].bank_refusal_days = 2; },
         [] { EXPECT_EQ(player_table[0].bank_refusal_days, 32); }},
        {4, [] { player_table[2].deposit = 0, player_table[1].deposit = 5555; },
         [] {
             EXPECT_EQ(player_table[1].deposit, 5555 - 555);
             EXPECT_EQ(player_table[0].deposit, 10555);
             EXPECT_EQ(player_table[2].cash, 10000);
         }},
        {5,
         [] {
             card_add(1, CARD_BUY_LAND), card_add(2, CARD_SWAP_LAND), card_add(2, CARD_SWAP_HOUSE);
         },
         [] {
             EXPECT_EQ(card_count(0), 2);
             EXPECT_EQ(card_count(1), 0);
             EXPECT_EQ(card_count(2), 1);
         }},
        {6, [] {},
         [] {
             EXPECT_EQ(player_table[0].away_days & AWAY_DAY_BITS, 3);
             EXPECT_EQ(player_table[0].away_days & 0x40, 0);
         }},
        {7, [] {}, [] { EXPECT_EQ(player_table[0].away_days, 0x40 + 3); }},
        {8, [] { stock_holdings[0][0].shares = 9, stock_holdings[0][1].shares = 100; },
         [] {
             EXPECT_EQ(stock_holdings[0][0].shares, 9);
             EXPECT_EQ(stock_holdings[0][1].shares, 90);
             EXPECT_GT(lotto_jackpot, 0);
         }},
        {9, [] { stock_holdings[0][1].shares = 100; },
         [] {
             EXPECT_EQ(stock_holdings[0][1].shares, 0);
             EXPECT_GT(player_table[0].deposit, 10000);
         }},
        {10, [] { player_table[0].travel = TRAVEL_MOTORBIKE, player_table[0].dice = 2; },
         [] {
             EXPECT_EQ(player_table[0].travel, TRAVEL_WALK);
             EXPECT_EQ(player_table[0].dice, 1);
         }},
        {11, [] { player_table[0].travel = TRAVEL_CAR, player_table[0].dice = 3; },
         [] {
             EXPECT_EQ(player_table[0].travel, TRAVEL_WALK);
             EXPECT_EQ(player_table[0].dice, 1);
         }},
        {12, [] {},
         [] {
             EXPECT_EQ(player_table[0].hospital_days, 3);
             EXPECT_EQ(hospital_flags[0], 1);
         }},
        {13, [] { player_table[0].travel = TRAVEL_MOTORBIKE; },
         [] {
             EXPECT_EQ(player_table[0].hospital_days, 3);
             EXPECT_EQ(player_table[0].travel, TRAVEL_WALK);
         }},
        {32,
         [] {
             player_table[0].points = 65500; // the sale saturates the 16-bit points
             card_add(0, CARD_SHARE_WEALTH);
         },
         [] {
             EXPECT_EQ(player_table[0].points, 65535);
             EXPECT_EQ(card_count(0), 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        SetUp();
        const auto stock_before = item_stock;
        c.setup();
        run_row(c.row);
        c.check();
        // The lost vehicle goes back to the shop.
        const int item = c.row == 10 ? 4 : c.row == 11 ? 5 : -1;
        if (item >= 0) {
            EXPECT_EQ(item_stock[item], stock_before[item] + 1);
        }
    }
}

TEST_F(FateTest, TheIdentityLoanFallsDueNinetyDaysOnOnAWorkingDayAndKeepsAnEarlierDate) {
    // 90 days after 5 January 1998 is Sunday 5 April: due the Monday after.
    game_date = cal_pack(1998, 1, 5);
    ASSERT_EQ(cal_weekday(cal_add_days(game_date, 90), nullptr, nullptr), 0);
    run_row(2);
    const PackedDate due = player_table[0].loan_due;
    EXPECT_EQ(cal_weekday(due, nullptr, nullptr), 1);
    EXPECT_EQ(cal_days_between(game_date, due), 91);
    game_date = cal_pack(1998, 2, 1);
    run_row(2);
    EXPECT_EQ(player_table[0].loan_due, due);
    EXPECT_EQ(player_table[0].loan, 20000);
}

TEST_F(FateTest, RowThreeKeepsTheEndMarkOfTheRefusalCounter) {
    player_table[0].bank_refusal_days = 0x80;
    run_row(3);
    EXPECT_EQ(player_table[0].bank_refusal_days, 0x9E);
}

// What the thief's decision was asked, and the strip's line at that moment.
struct BirthdayPick {
    int victim;
    std::string strip;
};
std::vector<BirthdayPick> birthday_picks;

int pick_first_card(const DecisionRequest& r, void*) {
    if (r.kind != DECIDE_THIEF_PICK) return 0;
    std::string strip;
    for (const ShownEvent& e : shown_log())
        if (e.kind == Shown::Panel) strip = e.text;
    birthday_picks.push_back({r.object, strip});
    return int{player_cards[static_cast<size_t>(r.object)][0]};
}

TEST_F(FateTest, ABirthdayOfAHumanLetsHimPickOncePerOpponentHoldingCards) {
    ASSERT_TRUE(encounter_board_setup(4));
    events_take_shown();
    shown_clear();
    game_active_mover = 0;
    player_table[0].control = CTRL_HUMAN;
    for (int q = 1; q <= 3; ++q) {
        card_add(q, q);
        card_add(q, q + 10);
    }
    birthday_picks.clear();
    decision_set_answerer(pick_first_card, nullptr);
    run_row(5);
    // Each of the three opponents asked once, in seat order, with the line
    // naming him on the strip while the human picks.
    ASSERT_EQ(birthday_picks.size(), 3u);
    for (int q = 1; q <= 3; ++q) {
        const BirthdayPick& pick = birthday_picks[static_cast<size_t>(q - 1)];
        EXPECT_EQ(pick.victim, q);
        EXPECT_EQ(pick.strip, "向" + util_without_spaces(player_name(q)) + "收一张卡片");
    }
    EXPECT_EQ(card_count(0), 3);
    for (int q = 1; q <= 3; ++q)
        EXPECT_EQ(card_count(q), 1) << q;
    size_t lines = 0;
    for (const ShownEvent& e : shown_log())
        lines += e.kind == Shown::Panel && e.text.find("收一张卡片") != std::string::npos ? 1 : 0;
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(shown_count(Shown::Speech, 0), 1u);

    // An opponent holding no card is not asked for one, nor named.
    while (card_count(2) > 0)
        card_lose_random(2);
    birthday_picks.clear();
    run_row(5);
    ASSERT_EQ(birthday_picks.size(), 2u);
    EXPECT_EQ(birthday_picks[0].victim, 1);
    EXPECT_EQ(birthday_picks[1].victim, 3);
    EXPECT_EQ(card_count(0), 5);
}

// ---------------------------------------------------------------------------
// The pardon and the scapegoat, through card_resolve_victim

void run_fate_row(int row) {
    fate_handler_table[row](0);
    fate_handler_table[row](1);
}

// A misfortune of days that a pardon or scapegoat card turns away: fate rows
// 6 (away), 12 (hospital), 33 (jail) and news 29 (a chairman to jail), each
// falling on player 0.
struct Misfortune {
    const char* what;
    void (*run)();
    int (*days)(int p);
    int expected;
};
const Misfortune MISFORTUNES[] = {
    {"fate row 6", [] { run_fate_row(6); },
     [](int p) { return player_table[p].away_days & AWAY_DAY_BITS; }, 3},
    {"fate row 12", [] { run_fate_row(12); },
     [](int p) { return int{player_table[p].hospital_days}; }, 3},
    {"fate row 33", [] { run_fate_row(33); }, [](int p) { return int{player_table[p].jail_days}; },
     3},
    {"news 29",
     [] {
         map_company_table[1].chairman = owner_of_seat(0);
         news_handler_table[29](0);
         news_handler_table[29](1);
     },
     [](int p) { return int{player_table[p].jail_days}; }, 5},
};

TEST_F(FateTest, APardonTurnsTheMisfortuneAwayAndAScapegoatPassesItOn) {
    for (const Misfortune& m : MISFORTUNES) {
        SCOPED_TRACE(m.what);
        // No card: player 0 takes it.
        SetUp();
        m.run();
        EXPECT_EQ(m.days(0), m.expected);
        // A pardon: nobody does, and the card is spent.
        SetUp();
        ASSERT_EQ(card_add(0, CARD_PARDON), 1);
        m.run();
        EXPECT_EQ(m.days(0), 0);
        EXPECT_EQ(m.days(1) + m.days(2), 0);
        EXPECT_FALSE(card_has(0, CARD_PARDON));
        EXPECT_NE(shown_find_text(Shown::Panel, "免罪卡生效"), nullptr);
        // A computer's scapegoat: the player it hates most takes it.
        SetUp();
        ASSERT_EQ(card_add(0, CARD_SCAPEGOAT), 1);
        player_table[0].grudge[2] = 40;
        m.run();
        EXPECT_EQ(m.days(0), 0);
        EXPECT_EQ(m.days(2), m.expected);
        EXPECT_EQ(m.days(1), 0);
        EXPECT_FALSE(card_has(0, CARD_SCAPEGOAT));
    }
}

TEST_F(FateTest, AHumansScapegoatPassesTheJailToThePlayerHePicks) {
    player_table[0].control = CTRL_HUMAN;
    ASSERT_EQ(card_add(0, CARD_SCAPEGOAT), 1);
    decision_script_push(1);
    run_row(33);
    EXPECT_EQ(decision_last_kind(), DECIDE_PLAYER);
    EXPECT_EQ(player_table[0].jail_days, 0);
    EXPECT_EQ(player_table[1].jail_days, 3);
    EXPECT_FALSE(card_has(0, CARD_SCAPEGOAT));
    // Declining (an answer not listed) keeps the card and the days.
    ASSERT_EQ(card_add(0, CARD_SCAPEGOAT), 1);
    decision_script_push(0);
    run_row(33);
    EXPECT_EQ(player_table[0].jail_days, 3);
    EXPECT_TRUE(card_has(0, CARD_SCAPEGOAT));
}

TEST_F(FateTest, TheGodWaivesOrDoublesLossesGainsAndMisfortunes) {
    const struct {
        int row;
        int money, mishap;
        int32_t cash;     // after, from 10000 (price index 1)
        int jail;         // jail days after
        const char* text; // the god's message
    } cases[] = {
        {14, 0, 0, 7000, 0, nullptr},       // a fine, answer 0
        {14, 150, 0, 10000, 0, "免付罚金"}, // waived
        {14, -60, 0, 4000, 0, "罚金加倍"},  // doubled
        {20, 0, 0, 11000, 0, nullptr},      // a gain, answer 0
        {20, -60, 0, 10000, 0, "奖金作废"}, // voided
        {20, 150, 0, 12000, 0, "奖金加倍"}, // doubled
        {33, 0, 0, 10000, 3, nullptr},      // jail, answer 0
        {33, 0, 150, 10000, 0, "逃过此劫"}, // escaped
        {33, 0, -60, 10000, 6, "倒霉加倍"}, // doubled days
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        SetUp();
        god_of(GK_BIG_WEALTH, c.money, c.mishap);
        run_row(c.row);
        EXPECT_EQ(player_table[0].cash, c.cash);
        EXPECT_EQ(player_table[0].jail_days, c.jail);
        if (c.text) {
            EXPECT_TRUE(message_with(c.text));
            EXPECT_TRUE(message_with("大财神"));
            EXPECT_NE(fate_god_result, FATE_GOD_NONE);
        } else {
            EXPECT_EQ(shown_count(Shown::Message), 0u);
            EXPECT_EQ(fate_god_result, FATE_GOD_NONE);
        }
    }
}

TEST_F(FateTest, TheLuckTableGivesSureAnswersAboveOneHundredACoinTossDownTo51) {
    const struct {
        int luck;
        bool toss;
        int answer; // when not a toss (or when the toss wins)
    } cases[] = {
        {101, false, FATE_GOD_WAIVE}, {100, true, FATE_GOD_WAIVE}, {51, true, FATE_GOD_WAIVE},
        {50, false, FATE_GOD_NONE},   {0, false, FATE_GOD_NONE},   {-1, false, FATE_GOD_DOUBLE},
    };
    for (const auto& c : cases) {
        for (uint32_t seed = 1; seed <= 8; ++seed) {
            god_of(GK_ANGEL, c.luck, c.luck);
            game_srand(seed);
            const int coin = game_rand() & 1;
            game_srand(seed);
            const int loss = fate_god_modifier(FATE_GOD_MONEY, 1);
            const int mishap = fate_god_modifier(FATE_GOD_MISHAP, 1);
            game_srand(seed);
            const int gain = fate_god_modifier(FATE_GOD_MONEY, 0);
            const int expect = c.toss && !coin ? FATE_GOD_NONE : c.answer;
            EXPECT_EQ(loss, expect) << c.luck << " " << seed;
            EXPECT_EQ(gain, expect == FATE_GOD_NONE ? FATE_GOD_NONE : 3 - expect)
                << c.luck << " " << seed;
            if (!c.toss) {
                EXPECT_EQ(mishap, c.answer) << c.luck;
            }
            // Only a toss draws a number.
            game_srand(seed);
            fate_god_modifier(FATE_GOD_MONEY, 1);
            const uint32_t after = game_rand_seed();
            game_srand(seed);
            if (c.toss) game_rand();
            EXPECT_EQ(after, game_rand_seed()) << c.luck;
        }
    }
    // The message is emptied by a 0.
    god_of(GK_ANGEL, -1, 0);
    fate_god_modifier(FATE_GOD_MONEY, 1);
    EXPECT_STRNE(fate_god_message, "");
    fate_god_modifier(FATE_GOD_MISHAP, 1);
    EXPECT_STREQ(fate_god_message, "");
    // No god: nothing.
    player_table[0].god_slot = 0, player_table[0].money_luck = 0;
    EXPECT_EQ(fate_god_modifier(FATE_GOD_MONEY, 0), FATE_GOD_NONE);
}

TEST_F(FateTest, TheDeathGodDoublesEveryFineAndVoidsEveryGainByName) {
    ASSERT_NE(god_place(GK_DEATH, 0, 5, 1), 0);
    ASSERT_EQ(player_table[0].money_luck, -200);
    EXPECT_EQ(fate_god_modifier(FATE_GOD_MONEY, 1), FATE_GOD_DOUBLE);
    EXPECT_NE(std::strstr(fate_god_message, "死神"), nullptr);
    EXPECT_EQ(fate_god_modifier(FATE_GOD_MONEY, 0), FATE_GOD_WAIVE);
    EXPECT_EQ(fate_god_modifier(FATE_GOD_MISHAP, 1), FATE_GOD_DOUBLE);
}

TEST_F(FateTest, TheAngelWaivesAFineOneTimeInTwo) {
    god_of(GK_ANGEL, 60, 60);
    int waived = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        game_srand(seed);
        waived += fate_god_modifier(FATE_GOD_MONEY, 1) == FATE_GOD_WAIVE ? 1 : 0;
    }
    EXPECT_GT(waived, 10);
    EXPECT_LT(waived, 30);
}

TEST_F(FateTest, AnInsuredPlayerIsPaidBackTheDoubledFine) {
    map_company_table[1].kind = COMPANY_KIND_INSURANCE;
    player_table[0].insurance_days = 5;
    god_of(GK_DEVIL, -60, -60);
    run_row(17); // 6000, doubled
    EXPECT_EQ(lotto_jackpot, 12000);
    // Paid from cash, then deposit; paid back into cash.
    EXPECT_EQ(player_table[0].cash, 12000);
    EXPECT_EQ(player_table[0].deposit, 8000);
    EXPECT_EQ(map_company_table[1].earnings, -12000);
    EXPECT_TRUE(message_with("12000"));
    EXPECT_TRUE(message_with("保险期间"));
}

TEST_F(FateTest, WithoutAnInsuranceCompanyNothingIsPaidOrShown) {
    player_table[0].insurance_days = 5;
    fate_insurance_payout(0, 3000);
    EXPECT_EQ(player_table[0].cash, 10000);
    EXPECT_EQ(shown_count(Shown::Message), 0u);
    // Uninsured: nothing either.
    map_company_table[1].kind = COMPANY_KIND_INSURANCE;
    player_table[0].insurance_days = 0;
    fate_insurance_payout(0, 3000);
    EXPECT_EQ(player_table[0].cash, 10000);
    EXPECT_EQ(shown_count(Shown::Message), 0u);
}

TEST_F(FateTest, AFineThatBankruptsThePlayerHasNoReactionNorPayout) {
    map_company_table[1].kind = COMPANY_KIND_INSURANCE;
    player_table[0].insurance_days = 5;
    player_table[0].cash = 100;
    player_table[0].deposit = 0;
    run_row(17);
    EXPECT_EQ(player_table[0].control, CTRL_OUT);
    EXPECT_FALSE(message_with("保险期间"));
    EXPECT_EQ(shown_count(Shown::Speech, 0), 0u);
    EXPECT_EQ(map_company_table[1].earnings, 0);
}

} // namespace
