#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/turn.h"
#include "board/turn_flow.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "shell/settings.h"
#include "support/ring_board.h"

namespace {

std::vector<std::string> steps;
std::vector<int> values;

void record(const char* step, int value) {
    steps.emplace_back(step);
    values.push_back(value);
}

class TurnFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ring_three_computers());
        steps.clear();
        values.clear();
        turn_flow_set_trace(record);
    }
    void TearDown() override {
        turn_flow_set_trace(nullptr);
        settings_set_autosave(0);
    }

    static std::vector<int> movers_after(int turns) {
        std::vector<int> order;
        for (int i = 0; i < turns; ++i) {
            turn_next_actor();
            order.push_back(game_active_mover);
        }
        return order;
    }
    static int count(const char* step) {
        int n = 0;
        for (const auto& s : steps)
            if (s == step) ++n;
        return n;
    }
};

TEST_F(TurnFlow, PlayersThenFreeWanderersThenANewDay) {
    walker_of_mover(MOVER_ROBBER).place = WALKER_FREE;
    walker_of_mover(MOVER_SPY).place = WALKER_FREE;
    EXPECT_EQ(movers_after(6), (std::vector<int>{1, 2, MOVER_ROBBER, MOVER_SPY, 0, 1}));
    EXPECT_EQ(game_days_elapsed, 1);
    EXPECT_NE(actor_anim_table[1].flags & ANIM_NEEDS_STEP, 0);
}

TEST_F(TurnFlow, WithEveryWandererHeldTheLastPlayerIsFollowedByTheFirst) {
    game_active_mover = 2;
    EXPECT_EQ(movers_after(1), (std::vector<int>{0}));
    EXPECT_EQ(game_days_elapsed, 1);
    EXPECT_EQ(game_date, cal_pack(1998, 1, 2));
}

TEST_F(TurnFlow, ABankruptSeatNeverMovesAndASeatNotOnTheBoardDoes) {
    player_table[1].control = CTRL_OUT; // bankrupt: it still stands on its square
    player_table[2] = PlayerRecord{};   // not on the board yet
    player_table[2].setup_control = CTRL_COMPUTER;
    EXPECT_EQ(movers_after(4), (std::vector<int>{2, 0, 2, 0}));
}

TEST_F(TurnFlow, TheNewDayRunsItsStepsInOrder) {
    game_date = cal_pack(1998, 1, 14);
    turn_new_day();
    EXPECT_EQ(steps, (std::vector<std::string>{"music", "date", "price_index", "notice_age",
                                               "stock_counters", "reseed", "stock_prices",
                                               "holiday", "dividends", "lottery", "rights"}));
    steps.clear();
    game_date = cal_pack(1998, 1, 31);
    turn_new_day();
    EXPECT_EQ(steps, (std::vector<std::string>{"music", "date", "price_index", "notice_age",
                                               "stock_counters", "reseed", "stock_prices",
                                               "holiday", "settlement", "gift_chest", "rights"}));
    EXPECT_EQ(game_months_elapsed, 1);
    EXPECT_EQ(game_date, cal_pack(1998, 2, 1));
}

TEST_F(TurnFlow, TheDayLimitEndsTheGameBeforeAnythingElseOfThatDay) {
    game_day_limit = 30;
    game_days_elapsed = 29;
    player_table[1].cash = 5000;
    game_active_mover = 2;
    turn_next_actor();
    EXPECT_EQ(steps, (std::vector<std::string>{"music", "date"}));
    EXPECT_EQ(game_end_code, 1);
    EXPECT_EQ(game_active_mover, 1);
    EXPECT_EQ(player_table[1].control, CTRL_COMPUTER);
    EXPECT_EQ(player_table[0].control, CTRL_OUT);
    EXPECT_EQ(player_table[2].control, CTRL_OUT);
    EXPECT_EQ(count("countdowns"), 0); // nothing of the turn after the end
}

TEST_F(TurnFlow, AutosaveFollowsANewDayButNeverAnEndedGame) {
    settings_set_autosave(1);
    game_active_mover = 2;
    turn_next_actor(); // the wrap: a new day
    EXPECT_EQ(count("autosave"), 1);
    turn_next_actor(); // the same day goes on
    EXPECT_EQ(count("autosave"), 1);
    game_day_limit = game_days_elapsed + 1;
    game_active_mover = 2;
    turn_next_actor(); // the day limit ends the game on this wrap
    ASSERT_NE(game_end_code, 0);
    EXPECT_EQ(count("autosave"), 1);
}

TEST_F(TurnFlow, ABlastHitEndsWithTheTurn) {
    player_table[0].control = CTRL_COMPUTER | CTRL_BLAST_HIT;
    actor_update_sprites(0);
    ASSERT_EQ(actor_anim_table[0].flags & ANIM_EXTRA_MASK, ANIM_EXTRA_OUT);
    turn_next_actor();
    EXPECT_EQ(player_table[0].control, CTRL_COMPUTER);
    EXPECT_EQ(actor_anim_table[0].indoor, 0);
    EXPECT_EQ(actor_anim_table[0].flags & ANIM_WALK_FAMILY_MASK, 1);
    EXPECT_EQ(game_active_mover, 1);
}

TEST_F(TurnFlow, NothingOfATurnRunsOnceTheGameHasEnded) {
    game_end_code = 1;
    turn_next_actor();
    EXPECT_EQ(game_active_mover, 0);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(actor_anim_table[1].flags & ANIM_NEEDS_STEP, 0);
    player_table[0].hotel_days = 1;
    turn_start_countdowns(0);
    EXPECT_EQ(player_table[0].hotel_days, 1);
}

TEST_F(TurnFlow, LeaderAndEndCodeAtTheEnd) {
    struct Case {
        int32_t cash[3];
        int32_t limit;
        int32_t target;
        int humans;
        uint8_t control0;
        int ends;
        int leader;
        uint8_t code;
    };
    const Case cases[] = {
        {{1000, 3000, 3000}, 10, 0, 0, CTRL_COMPUTER, 1, 1, 1},   // a tie goes to the lower seat
        {{1000, 3000, 2000}, 0, 3000, 0, CTRL_COMPUTER, 1, 1, 1}, // asset target reached
        {{1000, 2999, 2000}, 0, 3000, 0, CTRL_COMPUTER, 0, -1, 0},
        {{0, 0, 0}, 10, 0, 0, CTRL_COMPUTER, 1, -1, 1}, // nobody above 0: the limit still ends it
        {{9000, 100, 100}, 10, 0, 1, CTRL_HUMAN, 1, 0, 2}, // the single human won the map
        {{9000, 100, 100}, 10, 0, 2, CTRL_HUMAN, 1, 0, 3}, // a human won among humans
        {{100, 9000, 100}, 10, 0, 2, CTRL_HUMAN, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SetUp();
        for (int p = 0; p < 3; ++p)
            player_table[p].cash = c.cash[p];
        player_table[0].control = c.control0;
        game_human_count = c.humans;
        game_day_limit = c.limit;
        game_asset_target = c.target;
        game_days_elapsed = 10;
        EXPECT_EQ(turn_check_game_over(), c.ends);
        EXPECT_EQ(game_end_code, c.code);
        if (c.leader >= 0) {
            EXPECT_EQ(game_active_mover, c.leader);
            for (int p = 0; p < 3; ++p)
                EXPECT_EQ(player_table[p].control != CTRL_OUT, p == c.leader);
        }
    }
}

TEST_F(TurnFlow, NetWorthCountsEveryKindOfAsset) {
    // Seat 0 leads by each kind of asset in turn; seat 1 holds 5000 in cash.
    struct Case {
        const char* kind;
        void (*give)();
    };
    const Case cases[] = {
        {"cash", [] { player_table[0].cash = 6000; }},
        {"deposit", [] { player_table[0].deposit = 5001; }},
        {"plot",
         [] {
             map_lot_table[1].owner = owner_of_seat(0);
             map_lot_table[1].land_price = 4000;
             map_lot_table[1].build_price = 500;
             map_lot_table[1].level = 2;
         }},
        {"facility",
         [] {
             map_facility_table[1].owner = owner_of_seat(0);
             map_facility_table[1].price = 4500;
             map_facility_table[1].fee[0] = 600;
             map_facility_table[1].level = 1;
         }},
        {"shares",
         [] {
             stock_table[0].price = 10.0f;
             stock_holdings[0][0].shares = 600;
         }},
    };
    for (const Case& c : cases) {
        SetUp();
        player_table[0].cash = 0;
        player_table[1].cash = 5000;
        player_table[2].cash = 0;
        c.give();
        game_day_limit = 5;
        game_days_elapsed = 5;
        EXPECT_EQ(turn_check_game_over(), 1) << c.kind;
        EXPECT_EQ(game_active_mover, 0) << c.kind;
    }
    SetUp();
    player_table[0].cash = 6000;
    player_table[0].loan = 2000; // a loan counts against it
    player_table[1].cash = 5000;
    game_day_limit = 5;
    game_days_elapsed = 5;
    turn_check_game_over();
    EXPECT_EQ(game_active_mover, 1);
}

TEST_F(TurnFlow, TheLastPlayerStandingWins) {
    game_human_count = 2;
    player_table[0].control = CTRL_HUMAN;
    player_table[1].control = CTRL_HUMAN;
    player_go_bankrupt(2);
    EXPECT_EQ(game_end_code, 0);
    shown_clear();
    player_go_bankrupt(1);
    EXPECT_EQ(game_end_code, 3);
    // The bankruptcy's tune, the repainted board, its film and a two-second pause, in order.
    std::vector<Shown> kinds;
    for (const ShownEvent& e : shown_log())
        if (e.kind == Shown::Music || e.kind == Shown::BoardRefresh || e.kind == Shown::Flc ||
            e.kind == Shown::Wait)
            kinds.push_back(e.kind);
    const std::vector<Shown> expected = {Shown::Music, Shown::BoardRefresh, Shown::Flc,
                                         Shown::Wait};
    ASSERT_GE(kinds.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), kinds.begin()));
    EXPECT_EQ(shown_count(Shown::Music, 2), 1u);
    EXPECT_EQ(shown_count(Shown::Flc, 514), 1u);
    EXPECT_EQ(shown_count(Shown::Flc), 1u);
    EXPECT_EQ(player_table[1].control, CTRL_OUT);
    EXPECT_EQ(character_state[player_table[1].character], 2);
}

TEST_F(TurnFlow, AGameWithoutHumansEndsAtTheFirstBankruptcy) {
    player_go_bankrupt(1);
    EXPECT_EQ(game_end_code, 1);
    player_go_bankrupt(1); // already out: nothing
    EXPECT_EQ(player_table[1].cash, 0);
}

TEST_F(TurnFlow, BankruptcyFreesThePropertyAndAuctionsThreeOfMoreThanThree) {
    for (int freed : {5, 4, 3}) {
        SetUp();
        game_human_count = 1;
        player_table[0].control = CTRL_HUMAN;
        for (int i = 1; i <= freed; ++i) {
            map_lot_table[i].owner = owner_of_seat(2);
            map_lot_table[i].level = 2;
            map_lot_table[i].expiry = cal_pack(1999, 1, 1);
        }
        player_table[2].points = 500;
        card_add(2, CARD_REBUILD);
        item_add(2, ITEM_MINE);
        walker_of_mover(MOVER_THIEF).place = WALKER_FREE;
        walker_of_mover(MOVER_THIEF).patron = 2;
        player_go_bankrupt(2);
        EXPECT_EQ(game_end_code, 0);
        for (int i = 1; i <= freed; ++i) {
            EXPECT_EQ(map_lot_table[i].owner, 0);
            EXPECT_EQ(map_lot_table[i].expiry, 0u);
            EXPECT_EQ(map_lot_table[i].level, 2); // the houses stay
        }
        std::vector<int> auctioned;
        for (size_t k = 0; k < steps.size(); ++k)
            if (steps[k] == "auction") auctioned.push_back(values[k]);
        if (freed > 3) {
            ASSERT_EQ(auctioned.size(), 3u) << freed;
            EXPECT_NE(auctioned[0], auctioned[1]);
            EXPECT_NE(auctioned[0], auctioned[2]);
            EXPECT_NE(auctioned[1], auctioned[2]);
            for (int code : auctioned) {
                EXPECT_GT(code, OBJ_LOT_BASE);
                EXPECT_LE(code, OBJ_LOT_BASE + freed);
            }
        } else {
            EXPECT_TRUE(auctioned.empty());
        }
        EXPECT_EQ(card_stock[6], card_defs[7].stock);
        EXPECT_EQ(item_stock[ITEM_MINE - 1], 10);
        EXPECT_EQ(player_table[2].points, 0);
        EXPECT_EQ(walker_of_mover(MOVER_THIEF).place, WALKER_IN_JAIL);
        EXPECT_NE(map_square_table[6].flags & sqf_player(2), 0u);
    }
}

TEST_F(TurnFlow, CountdownsFollowTheCountingRule) {
    PlayerRecord& r = player_table[0];
    r.hotel_days = 1;
    r.turtle_days = 1;
    r.stay_days = 1;
    r.insurance_days = 2;
    turn_start_countdowns(0);
    EXPECT_EQ(r.hotel_days, 0x80);
    EXPECT_EQ(r.turtle_days, 1); // held in the hotel: it waits
    EXPECT_EQ(r.stay_days, 0x80);
    EXPECT_EQ(r.insurance_days, 1);
    turn_start_countdowns(0);
    EXPECT_EQ(r.hotel_days, 0);
    EXPECT_NE(r.control & CTRL_STEPPING, 0);
    EXPECT_EQ(r.turtle_days, 0x80);
    EXPECT_EQ(r.stay_days, 0);
    EXPECT_EQ(r.insurance_days, 0x80);
    turn_start_countdowns(0);
    EXPECT_EQ(r.turtle_days, 0);
    EXPECT_EQ(r.insurance_days, 0);
}

TEST_F(TurnFlow, AwayDaysKeepTheirKindUntilThePlayerReturns) {
    PlayerRecord& r = player_table[0];
    r.away_days = 0x40 | 1;
    map_square_table[2].flags &= ~sqf_player(0);
    turn_start_countdowns(0);
    EXPECT_EQ(r.away_days, 0x40 | 0x80);
    turn_start_countdowns(0);
    EXPECT_EQ(r.away_days, 0);
    EXPECT_NE(map_square_table[2].flags & sqf_player(0), 0u);
}

TEST_F(TurnFlow, TheVehicleComesBackAfterSleepwalkingOnlyWithItsItem) {
    for (bool holds : {true, false}) {
        SetUp();
        PlayerRecord& r = player_table[0];
        r.sleepwalk_days = 0x80;
        r.sleep_saved_travel = TRAVEL_MOTORBIKE;
        r.sleep_saved_dice = 2;
        if (holds) item_add(0, ITEM_MOTORBIKE);
        turn_start_countdowns(0);
        EXPECT_EQ(r.sleepwalk_days, 0);
        EXPECT_EQ(r.travel, holds ? TRAVEL_MOTORBIKE : TRAVEL_WALK);
        EXPECT_EQ(r.dice, holds ? 2 : 1);
        EXPECT_EQ(player_items[0][ITEM_MOTORBIKE - 1], 0);
    }
}

TEST_F(TurnFlow, TheConstructionVehicleRunsSevenDaysThenGivesTheOldVehicleBack) {
    PlayerRecord& r = player_table[0];
    r.travel = TRAVEL_FRESH_CONSTRUCTION;
    r.dice = 1;
    r.setup_control = TRAVEL_CAR;
    r.saved_dice = 3;
    item_add(0, ITEM_CAR);
    for (int day = 1; day <= 6; ++day) {
        turn_start_countdowns(0);
        EXPECT_EQ(r.travel, TRAVEL_FRESH_CONSTRUCTION - 4 * day) << day;
    }
    turn_start_countdowns(0);
    EXPECT_EQ(r.travel, TRAVEL_CAR);
    EXPECT_EQ(r.dice, 3);
    EXPECT_EQ(player_items[0][ITEM_CAR - 1], 0);
}

TEST_F(TurnFlow, RightsLapseOnADateThatNeverComes) {
    game_date = cal_pack(1998, 2, 28);
    map_lot_table[1].owner = owner_of_seat(0);
    map_lot_table[1].expiry = cal_pack(1998, 2, 31); // one month after 31 January
    map_lot_table[2].owner = owner_of_seat(1);
    map_lot_table[2].expiry = cal_pack(1998, 3, 2);
    map_facility_table[1].owner = owner_of_seat(2);
    map_facility_table[1].expiry = cal_pack(1998, 3, 1);
    map_lot_table[3].mark = 0x15;
    map_lot_table[4].owner = owner_of_seat(0);
    map_lot_table[4].expiry = cal_pack(1998, 2, 10); // the date dialog jumped past it
    map_lot_table[5].mark = 0x25;
    turn_new_day();
    EXPECT_EQ(map_lot_table[4].owner, 0);
    EXPECT_EQ(map_lot_table[5].mark, 0x15);
    EXPECT_EQ(map_lot_table[1].owner, 0);
    EXPECT_EQ(map_lot_table[1].expiry, 0u);
    EXPECT_EQ(map_lot_table[2].owner, 2);
    EXPECT_EQ(map_facility_table[1].owner, 0);
    EXPECT_EQ(map_lot_table[3].mark, 0);
}

TEST_F(TurnFlow, ResearchEndsWithTheNewItem) {
    FacilityLot& f = map_facility_table[2];
    f.kind = FK_RESEARCH_INSTITUTE;
    f.owner = owner_of_seat(0);
    f.level = 3;
    f.research_item = 3;
    f.research_days = 1;
    turn_start_countdowns(0);
    EXPECT_EQ(player_items[0][8 + 3 - 1], 1);
    EXPECT_EQ(f.research_days, 0);
    f.research_item = 4; // above the institute's level: research stops
    f.research_days = 2;
    turn_start_countdowns(0);
    EXPECT_EQ(f.research_days, 0);
    EXPECT_EQ(player_items[0][8 + 4 - 1], 0);
}

TEST_F(TurnFlow, AlliesForgiveEachOtherDaily) {
    player_table[0].ally = owner_of_seat(1);
    player_table[1].ally = owner_of_seat(0);
    player_table[0].alliance_days = 1;
    player_table[1].alliance_days = 1;
    player_table[0].grudge[1] = 50;
    player_table[1].grudge[0] = 10;
    turn_start_countdowns(0);
    EXPECT_EQ(player_table[0].grudge[1], 30);
    EXPECT_EQ(player_table[1].grudge[0], 0);
    EXPECT_EQ(player_table[0].alliance_days, 0x80);
    turn_start_countdowns(0);
    EXPECT_EQ(player_table[0].ally, 0);
    EXPECT_EQ(player_table[1].ally, 0);
}

} // namespace
