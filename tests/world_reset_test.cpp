#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/money.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/options.h"
#include "finance/bank.h"
#include "finance/lottery.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "runner_game.h"
#include "support/runner_process.h"

namespace {

// No fixture here: what is cleared is what game_world_reset() itself runs.
TEST(WorldReset, EveryRankHoldsTheResetOfItsModule) {
    for (int rank = 0; rank < WORLD_RESET_COUNT; ++rank)
        EXPECT_NE(world_reset_at(static_cast<WorldResetRank>(rank)), nullptr) << "rank " << rank;
    EXPECT_EQ(world_reset_at(WORLD_RESET_COUNT), nullptr);
}

TEST(WorldReset, ClearsTheStateOfEveryRegisteredModule) {
    struct Case {
        const char* what;
        std::function<void()> dirty;
        std::function<bool()> clean;
    };
    const std::vector<Case> cases = {
        {"player record", [] { player_table[2].cash = 777; },
         [] { return player_table[2].cash == 0; }},
        {"game values", [] { game_price_index = 9; },
         [] { return game_price_index == 1 && game_end_code == 0; }},
        {"card hand", [] { player_cards[1][0] = 5; }, [] { return player_cards[1][0] == 0; }},
        {"card pool", [] { card_stock[3] = 2; }, [] { return card_stock[3] == 0; }},
        {"ledger audit", [] { money_pay(0, 1, 10, 0); },
         [] { return money_audit().refused == 0 && money_audit().payments == 0; }},
        {"jail flags", [] { jail_flags[4] = 1; }, [] { return jail_flags[4] == 0; }},
        {"scripted answers", [] { decision_script_push(1); },
         [] { return decision_script_left() == 0; }},
        {"stock table", [] { stock_table[0].price = 42.0f; },
         [] { return stock_table[0].price == 0.0f && stock_closed_days == 0; }},
        {"holdings", [] { stock_holdings[3][2].shares = 100; },
         [] { return stock_holdings[3][2].shares == 0; }},
        {"lottery tickets", [] { lotto_owners[7] = owner_of_seat(1); },
         [] { return lotto_owners[7] == 0; }},
        {"board screen", [] { board_dirty = 1; }, [] { return board_dirty == 0; }},
        {"display copies", [] { board_copy_count = 12; }, [] { return board_copy_count == 0; }},
        {"scroll target", [] { board_scroll_target = 1, board_scroll_x = 300; },
         [] { return board_scroll_target == 0 && board_scroll_x == 0; }},
        {"view camera", [] { view_camera_x = 512, view_camera_y = -64; },
         [] { return view_camera_x == 0 && view_camera_y == 0; }},
        {"draw list", [] { view_draw_count = 5; }, [] { return view_draw_count == 0; }},
        {"hit-map camera", [] { hitmap_view_pos[0] = 33, hitmap_view_pos[1] = 44; },
         [] { return hitmap_view_pos[0] == -1 && hitmap_view_pos[1] == -1; }},
        {"bank loan limit", [] { bank_loan_limit = 5; },
         [] { return bank_loan_limit == 0 && bank_audit().operations == 0; }},
    };
    for (const Case& c : cases) {
        c.dirty();
        EXPECT_FALSE(c.clean()) << c.what << " was not changed";
        game_world_reset();
        EXPECT_TRUE(c.clean()) << c.what;
    }
}

std::vector<std::string> collected;
void collect_day(void*) {
    collected.push_back(runner_day_line());
}

// One game in this process, as the runner's day lines and final line.
std::string play_here(const RunnerOptions& o) {
    collected.clear();
    std::string error;
    if (!runner_setup(o, &error)) return "set-up failed: " + error;
    RunnerResult r = runner_play(o, collect_day, nullptr);
    runner_close();
    std::ostringstream out;
    for (const std::string& line : collected)
        out << line << '\n';
    out << runner_final_line(r) << '\n';
    return out.str();
}

std::string args_of(const RunnerOptions& o) {
    return std::to_string(o.seed) + " " + std::to_string(o.map) + " " + std::to_string(o.players) +
           " " + std::to_string(o.days);
}

// Games played one after another in one process print what each prints alone.
// The date and the side panel's calendar page live with the options: a new
// game neither resets nor forgets them.
TEST(WorldReset, LeavesTheOptionsAndTheirDateAlone) {
    board_calendar_page = 1;
    game_date = 0x07D3050F;
    settings_set_autosave(1);
    game_world_reset();
    EXPECT_EQ(settings.calendar_page, 1);
    EXPECT_EQ(settings.game_date, 0x07D3050Fu);
    EXPECT_EQ(settings_autosave(), 1);
    settings_reset_start_values();
    EXPECT_EQ(board_calendar_page, 0);
    EXPECT_EQ(game_date, SETTINGS_START_DATE);
}

TEST(WorldReset, BackToBackGamesPlayAsTheyPlayAlone) {
    const RunnerOptions games[] = {
        {5, 0, 4, 90, false}, {6, 1, 2, 90, false}, {7, 2, 3, 90, false},
        {8, 3, 4, 90, false}, {9, 0, 3, 90, false},
    };
    for (const RunnerOptions& o : games) {
        SCOPED_TRACE(args_of(o));
        RunOutput alone = run_runner(args_of(o));
        ASSERT_EQ(alone.status, 0) << alone.out;
        EXPECT_EQ(play_here(o), alone.out);
    }
}

} // namespace
