// The runner's game loop in this process: games that cross the four-hour
// mark of virtual time, games that stall, games stopped by a signal.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "finance/bank.h"
#include "finance/stock.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "runner_game.h"
#include "shell/app.h"
#include "shell/new_game.h"

namespace {

constexpr uint32_t FOUR_HOURS_MS = 4u * 60u * 60u * 1000u;

class RunnerGame : public ::testing::Test {
  protected:
    void TearDown() override { runner_close(); }

    RunnerResult play(const RunnerOptions& o, void (*on_day)(void*) = nullptr) {
        std::string error;
        EXPECT_TRUE(runner_setup(o, &error)) << error;
        return runner_play(o, on_day, nullptr);
    }
};

TEST_F(RunnerGame, GameAcrossTheFourHourMarkOfVirtualTimeEndsByItsDayLimit) {
    RunnerOptions o;
    o.seed = 5;
    o.map = 0;
    o.players = 2;
    o.days = 40;
    o.clock_start_ms = FOUR_HOURS_MS - 60000; // a day takes about ten seconds
    const RunnerResult r = play(o);
    EXPECT_GT(plat_tick_count(), FOUR_HOURS_MS);
    EXPECT_FALSE(plat_close_requested());
    EXPECT_EQ(r.stop, RUNNER_ENDED);
    EXPECT_NE(r.end_code, 0);
    EXPECT_EQ(r.days, 40);
    EXPECT_EQ(runner_stop_line(r), "");
    EXPECT_EQ(runner_exit_status(r, false), 0);
}

void swallow_steps() {}
// From day 3 on the active mover never takes its step again.
void stall_on_day_three(void*) {
    if (game_days_elapsed == 3) app_services.turn_take_step = swallow_steps;
}
// From day 3 on nothing can happen: no tick, no timer, no input.
void stop_time_on_day_three(void*) {
    if (game_days_elapsed == 3) plat_tick_stop();
}

TEST_F(RunnerGame, StalledGameEndsWithExitThreeAndALineNamingTheDayTheMoverAndItsPhase) {
    struct Case {
        const char* what;
        void (*on_day)(void*);
        RunnerStop stop;
        const char* line;
    };
    const Case cases[] = {
        {"a mover that never steps", stall_on_day_three, RUNNER_STALLED,
         "stalled on day 3 1998-01-04: mover "},
        {"time that stands still", stop_time_on_day_three, RUNNER_CLOSED,
         "stalled on day 3: nothing could happen any more"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunnerOptions o;
        o.seed = 7;
        o.players = 3;
        o.days = 200;
        const RunnerResult r = play(o, c.on_day);
        EXPECT_EQ(r.stop, c.stop);
        EXPECT_EQ(r.end_code, 0);
        EXPECT_EQ(r.days, 3);
        const std::string line = runner_stop_line(r);
        EXPECT_EQ(line.rfind(c.line, 0), 0u) << line;
        EXPECT_EQ(runner_exit_status(r, false), 3);
        if (c.stop == RUNNER_STALLED) {
            // Measured on the work since the last new day, not the whole game.
            EXPECT_EQ(r.stall_ticks, RUNNER_STALL_TICKS);
            EXPECT_EQ(r.stall_day, 3);
            EXPECT_GE(r.stall_mover, 0);
            EXPECT_LT(r.stall_mover, MOVER_COUNT);
            EXPECT_EQ(r.stall_phase, PHASE_WAIT);
            EXPECT_NE(line.find(" in phase 0 (wait)"), std::string::npos) << line;
        }
        runner_close();
    }
}

int g_signal = 0;
void signal_on_day_two(void*) {
    if (game_days_elapsed == 2) raise(g_signal);
}

TEST_F(RunnerGame, SigintOrSigtermStopsTheGameWhereItStands) {
    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        g_signal = sig;
        RunnerOptions o;
        o.seed = 5;
        o.players = 2;
        o.days = 1000;
        const RunnerResult r = play(o, signal_on_day_two);
        EXPECT_EQ(r.stop, RUNNER_CLOSED);
        EXPECT_EQ(r.stop_signal, sig);
        EXPECT_EQ(r.days, 2);
        EXPECT_EQ(runner_stop_line(r), "stopped by signal " + std::to_string(sig) + " on day 2");
        EXPECT_EQ(runner_exit_status(r, false), 128 + sig);
        EXPECT_EQ(runner_exit_status(r, true), 128 + sig);
        runner_close();
    }
}

// What every day of a game leaves on the board passes the checks a saved
// game's map block goes through.
std::string g_refused;
int g_days_checked = 0;
void validate_todays_block(void*) {
    std::vector<uint8_t> block(map_data_size);
    map_data_write(block.data());
    std::string error;
    ++g_days_checked;
    if (g_refused.empty() && !map_validate(block.data(), block.size(), &error))
        g_refused = "day " + std::to_string(game_days_elapsed) + ": " + error;
}

TEST_F(RunnerGame, EveryDayOfAGameOnEachMapLeavesABlockThatPassesTheChecks) {
    g_days_checked = 0;
    for (int map = 0; map < 4; ++map) {
        for (uint32_t seed : {3u, 8u}) {
            SCOPED_TRACE("map " + std::to_string(map) + " seed " + std::to_string(seed));
            g_refused.clear();
            RunnerOptions o;
            o.seed = seed;
            o.map = map;
            o.players = 4;
            o.days = 1095;
            const RunnerResult r = play(o, validate_todays_block);
            EXPECT_EQ(r.stop, RUNNER_ENDED);
            EXPECT_EQ(g_refused, "");
            runner_close();
        }
    }
    EXPECT_GT(g_days_checked, 400);
}

// The runner's set-up is the new-game routine's on the runner's choices; it
// adds only its own day limit.
TEST(RunnerSetUp, SetsItsGameUpThroughTheNewGameRoutine) {
    struct Case {
        bool human;
        int money, travel, land_term, victory;
        int32_t start, target;
    };
    const Case cases[] = {{false, 3, 0, 0, 0, 50000, 0}, {true, 1, 2, 4, 2, 200000, 10000000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.money);
        RunnerOptions o;
        o.seed = 17;
        o.map = 2;
        o.players = 3;
        o.days = 77;
        o.human = c.human;
        o.money = c.money;
        o.travel = c.travel;
        o.land_term = c.land_term;
        o.victory = c.victory;
        game_world_reset();
        std::string error;
        ASSERT_TRUE(runner_seat_players(o, &error)) << error;
        EXPECT_EQ(game_start_money, c.start);
        EXPECT_EQ(game_travel_mode, c.travel);
        EXPECT_EQ(game_land_term, c.land_term);
        EXPECT_EQ(game_asset_target, c.target);
        EXPECT_EQ(game_map, 2);
        EXPECT_EQ(game_day_limit, 77);
        EXPECT_EQ(game_human_count, c.human ? 1 : 0);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(player_table[k].setup_control,
                      c.human && k == 0 ? CTRL_HUMAN : CTRL_COMPUTER);
        EXPECT_EQ(player_table[3].setup_control, 0);

        // The routine run again on the same choices gives the same state.
        const auto players = player_table;
        const auto items = player_items;
        const auto stocks = stock_table;
        game_world_reset();
        ASSERT_TRUE(new_game_init(&error)) << error;
        EXPECT_EQ(std::memcmp(players.data(), player_table.data(), sizeof players), 0);
        EXPECT_EQ(items, player_items);
        EXPECT_EQ(std::memcmp(stocks.data(), stock_table.data(), sizeof stocks), 0);
    }
    // A choice the routine refuses fails the set-up with its reason.
    RunnerOptions bad;
    bad.money = 6;
    std::string error;
    EXPECT_FALSE(runner_seat_players(bad, &error));
    EXPECT_NE(error.find("starting money"), std::string::npos) << error;
    game_world_reset();
}

TEST(RunnerBankCheck, NamesABrokenAccountAndALoanAboveItsLimit) {
    game_world_reset();
    game_player_count = 2;
    for (int p = 0; p < 2; ++p)
        player_table[p].control = CTRL_COMPUTER;
    EXPECT_EQ(runner_bank_check(), "");
    player_table[1].loan = 100; // a loan without a due date
    EXPECT_NE(runner_bank_check().find("player 1 in the game holds loan 100"), std::string::npos);
    player_table[1].loan_due = cal_pack(1998, 4, 1);
    EXPECT_EQ(runner_bank_check(), "");
    player_table[1].special_financing = -1;
    EXPECT_NE(runner_bank_check().find("special financing -1"), std::string::npos);
    player_table[1].special_financing = 0;

    // A loan share above 100 % lends above the visit's limit: the audit saw it.
    player_table[0].loan_pct = 150;
    for (int i = 0; i < 100 && player_table[0].loan == 0; ++i) {
        player_table[0].cash = 1000;
        player_table[0].deposit = 0;
        bank_loan_visit(0);
    }
    EXPECT_EQ(runner_bank_check(),
              "the bank lent above the limit of the visit (1 of 1 operations)");
    game_world_reset();
}

TEST(RunnerExitStatus, InvariantBeforeStallBeforeEnd) {
    RunnerResult ended;
    ended.end_code = 1;
    RunnerResult stalled;
    stalled.stop = RUNNER_STALLED;
    EXPECT_EQ(runner_exit_status(ended, false), 0);
    EXPECT_EQ(runner_exit_status(ended, true), 4);
    EXPECT_EQ(runner_exit_status(stalled, false), 3);
    EXPECT_EQ(runner_exit_status(stalled, true), 4);
}

} // namespace

namespace {

std::vector<std::string> card_breaks;
void check_cards_each_day(void*) {
    const std::string broken = runner_card_check();
    if (!broken.empty()) card_breaks.push_back(broken);
}

TEST_F(RunnerGame, ComputersPlayCardsAndEveryCopyStaysAccountedFor) {
    RunnerOptions o;
    o.seed = 3;
    o.map = 1;
    o.players = 4;
    o.days = 300;
    std::string error;
    ASSERT_TRUE(runner_setup(o, &error)) << error;
    runner_watch_cards();
    card_breaks.clear();
    const RunnerResult r = runner_play(o, check_cards_each_day, nullptr);
    EXPECT_EQ(r.stop, RUNNER_ENDED);
    EXPECT_GT(runner_cards_played(), 0);
    EXPECT_TRUE(card_breaks.empty()) << card_breaks.front();
    card_set_observer(nullptr, nullptr);
}

TEST_F(RunnerGame, TheCardChecksCatchALostCopyAndAWrongCommand) {
    game_world_reset();
    cards_fill_pools();
    game_player_count = 2;
    player_table[0].control = player_table[1].control = CTRL_COMPUTER;
    EXPECT_EQ(runner_card_check(), "");
    ++card_stock[4];
    EXPECT_NE(runner_card_check(), "");
    --card_stock[4];

    card_add(0, CARD_REBUILD);
    card_add(0, CARD_ANGEL);
    const CardCommand refused{0, 9, 0, player_cards[0]};
    card_remove(0, CARD_REBUILD); // a refused card's routine must not touch the hand
    runner_check_card_command(refused, nullptr);
    EXPECT_NE(runner_card_check(), "");

    const CardCommand played{0, 9, 1, player_cards[0]};
    runner_check_card_command(played, nullptr); // the card did not leave
    EXPECT_NE(runner_card_check(), "");
    card_remove(0, CARD_ANGEL);
    runner_check_card_command(played, nullptr);
    EXPECT_EQ(runner_card_check(), "");

    card_add(0, CARD_ROB);
    const CardCommand rob{0, 13, 1, player_cards[0]};
    card_remove(0, CARD_ROB);
    card_add(0, CARD_TURTLE); // the rob brought one card
    runner_check_card_command(rob, nullptr);
    EXPECT_EQ(runner_card_check(), "");
    game_world_reset();
}

} // namespace
