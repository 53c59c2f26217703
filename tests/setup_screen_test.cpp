// The new-game setup: its rules on their own (a fresh and a continuing
// start, the lowered count, the map, playing with those chosen) and the window under scripted
// mouse, seeded: the defaults, start with nobody chosen, the computer's three picks a second apart,
// runners removed when the count drops, sprites read again on a travel change, the map buttons,
// back, the continuing setup starting by itself, and the campaign's marks rewritten at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

#include "board/game_state.h"
#include "engine/data_report.h"
#include "engine/image.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "mkf_writer.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/new_game.h"
#include "shell/screen.h"
#include "shell/setup.h"
#include "shell/setup_layout.h"
#include "shell/setup_screen.h"
#include "support/missing_data.h"
#include "support/popup_fixture.h"

namespace {

constexpr NewGameSettings INITIAL = {2, 1, 0, 0, 0, 0, 0};

// The layout's places, from the window's header.
struct Point {
    int x, y;
};
Point centre(const PlatRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
Point cell(int character) {
    return centre(setup_cell_spot(character));
}
const Point START = centre(SETUP_START_SPOT), BACK = centre(SETUP_BACK_SPOT);

class Setup : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        app_active = 1;
        shown_clear();
        game_srand(1234);
        t0 = plat_tick_count();
    }
    void press(uint32_t ms, Point at) { point_and_click(ms, at.x, at.y); }
    void pick(uint32_t ms, int character) { press(ms, cell(character)); }
    void choose(uint32_t ms, int setting, int row) {
        press(ms, centre(setup_arrow_spot(setting)));
        const PlatRect& list = SETUP_LISTS[setting];
        press(ms + 50, {list.left + 20, list.top + SETUP_LIST_ROW_H * row + 11});
    }
    // Off every spot.
    void right_click(uint32_t ms) { HeadlessTest::right_click(ms, 300, 300); }
};

TEST(SetupRules, AFreshSetupStartsFromTheInitialChoicesWithEveryCharacterFree) {
    game_map = 3;
    character_state.fill(2);
    setup_choice = {0, 5, 2, 5, 5, 5, 3};
    setup_begin(0);
    EXPECT_EQ(setup_choice, INITIAL);
    EXPECT_EQ(game_map, 0);
    EXPECT_EQ(setup_free_count(), CHARACTER_COUNT);
    EXPECT_EQ(setup_rules.chosen, 0);
}

TEST(SetupRules, AContinuingSetupRebuildsTheChoicesFromTheGameThatEnded) {
    struct Case {
        int32_t players, money, travel, land, days, target;
        NewGameSettings expected;
        const char* why;
    };
    const Case cases[] = {
        {3, 100000, 1, 2, 365, 5000000, {1, 2, 1, 2, 2, 2, 2}, "every value in its table"},
        {4, 12345, 2, 5, 30, 3 * 12345, {2, 1, 2, 5, 5, 5, 2}, "money outside: the initial"},
        {2, 10000, 0, 9, 1000, 7 * 10000, {0, 5, 0, 0, 0, 0, 2}, "days, term, target outside"},
    };
    for (const Case& c : cases) {
        character_state.fill(0);
        character_state[4] = 2;
        game_player_count = c.players;
        game_start_money = c.money;
        game_travel_mode = c.travel;
        game_land_term = c.land;
        game_day_limit = c.days;
        game_asset_target = c.target;
        game_map = 2;
        player_table[0].character = 9;
        setup_begin(1);
        EXPECT_EQ(setup_choice, c.expected) << c.why;
        EXPECT_EQ(setup_rules.chosen, 1) << c.why;
        EXPECT_EQ(setup_runners[0].character, 9u) << "the human is runner 0";
        EXPECT_EQ(character_state[9], CHAR_TAKEN);
        EXPECT_EQ(character_state[4], CHAR_BEATEN) << "kept from the campaign";
    }
}

TEST(SetupRules, TheCountDropsWhenFewCharactersAreFree) {
    struct Case {
        int beaten, players_before, players_after;
    };
    const Case cases[] = {{8, 4, 4}, {9, 4, 4}, {10, 4, 3}, {11, 4, 2}, {12, 3, 2}};
    for (const Case& c : cases) {
        setup_begin(0);
        for (int k = 0; k < c.beaten; ++k)
            character_state[static_cast<size_t>(k)] = CHAR_BEATEN;
        setup_choice[SETUP_PLAYERS] = c.players_before - 2;
        setup_lower_player_count();
        EXPECT_EQ(setup_player_count(), c.players_after) << c.beaten << " beaten";
    }
}

TEST(SetupRules, AGridClickTakesAFreeCharacterGivesOneBackAndRefusesTheRest) {
    setup_begin(0);
    setup_choice[SETUP_PLAYERS] = 0; // two players
    character_state[9] = CHAR_BEATEN;
    struct Case {
        int character;
        bool changed;
        int chosen_after;
        const char* why;
    };
    const Case cases[] = {
        {2, true, 1, "a free character is taken"}, {9, false, 1, "a beaten one cannot be"},
        {5, true, 2, "the second seat"},           {6, false, 2, "the seats are full"},
        {2, true, 1, "the first given back"},      {12, false, 1, "no such character"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(setup_grid_click(c.character), c.changed) << c.why;
        EXPECT_EQ(setup_rules.chosen, c.chosen_after) << c.why;
    }
    EXPECT_EQ(setup_runners[0].character, 5u) << "the later runner moved up";
    EXPECT_EQ(character_state[2], CHAR_FREE);
}

TEST(SetupRules, AMapButtonSetsTheChoiceAndTheGamesMapOnlyWhenItChangesThem) {
    setup_begin(0);
    struct Case {
        int map;
        bool changed;
        int map_after;
        const char* why;
    };
    const Case cases[] = {
        {2, true, 2, "another map"},       {2, false, 2, "the chosen one again"},
        {4, false, 2, "no such map"},      {-1, false, 2, "no such map"},
        {0, true, 0, "back to the first"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(setup_choose_map(c.map), c.changed) << c.why;
        EXPECT_EQ(setup_choice[SETUP_MAP], c.map_after) << c.why;
        EXPECT_EQ(game_map, c.map_after) << c.why;
    }
}

TEST(SetupRules, WithNobodyLeftTheGameIsPlayedByThoseChosenIfTwoAre) {
    struct Case {
        int chosen;
        bool played;
        int players_after;
    };
    const Case cases[] = {{0, false, 4}, {1, false, 4}, {2, true, 2}, {3, true, 3}};
    for (const Case& c : cases) {
        setup_begin(0);
        setup_choice[SETUP_PLAYERS] = 2; // four players
        for (int k = 0; k < c.chosen; ++k)
            ASSERT_TRUE(setup_grid_click(k));
        EXPECT_EQ(setup_play_with_the_chosen(), c.played) << c.chosen;
        EXPECT_EQ(setup_player_count(), c.players_after) << c.chosen;
        EXPECT_EQ(setup_rules.chosen, c.chosen) << "nobody is sent away";
    }
}

TEST_F(Setup, OnlyAFreeCharacterUnderThePointerPlaysTheHoverSound) {
    pick(100, 1);                             // free when the pointer came: a sound
    move(t0 + 200, cell(0).x, cell(0).y);     // a sound
    move(t0 + 300, cell(0).x + 5, cell(0).y); // the same cell
    move(t0 + 400, cell(1).x, cell(1).y);     // taken now
    move(t0 + 500, cell(7).x, cell(7).y);     // a sound
    move(t0 + 600, 300, 300);                 // off the grid
    right_click(700);
    EXPECT_EQ(setup_run(0), 0);
    EXPECT_EQ(shown_count(Shown::Effect, 0), 3u);
}

TEST_F(Setup, AFreshSetupOffersTheInitialChoicesAndGoesBackOnTheRightButton) {
    setup_choice = {0, 5, 2, 5, 5, 5, 3};
    right_click(200);
    EXPECT_EQ(setup_run(0), 0);
    EXPECT_EQ(setup_choice, INITIAL);
    EXPECT_EQ(shown_count(Shown::Music, 0x8001), 1u) << "event tune 1, the background unsaved";
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(Setup, StartDoesNothingUntilACharacterIsChosenAndBackLeaves) {
    press(200, START);
    press(400, BACK);
    EXPECT_EQ(setup_run(0), 0) << "the start click left the screen open for back";
    EXPECT_EQ(shown_count(Shown::Effect, 2), 1u) << "start's confirm sound";
    EXPECT_EQ(shown_count(Shown::Effect, 4), 1u) << "back's cancel sound";
    EXPECT_EQ(game_player_count, 0) << "no game was made";
}

TEST_F(Setup, AListsArrowClicksAndItsChosenRowIsSilent) {
    choose(200, SETUP_MONEY, 3);
    right_click(600);
    EXPECT_EQ(setup_run(0), 0);
    EXPECT_EQ(setup_choice[SETUP_MONEY], 3);
    EXPECT_EQ(shown_count(Shown::Effect, 0), 1u) << "the arrow's press";
    EXPECT_EQ(shown_count(Shown::Effect, 1), 0u) << "no click for the row";
}

struct Picks {
    std::vector<uint32_t> at; // when each computer pick was seen
    int last_chosen = 0;
};
Picks picks;

TEST_F(Setup, TheComputerTakesTheFreeSeatsOneASecondAndTheGameIsMade) {
    picks = Picks{};
    pick(200, 5);
    press(400, START);
    plat_set_cursor_hook([] {
        if (setup_rules.chosen > picks.last_chosen) {
            if (picks.last_chosen > 0) picks.at.push_back(plat_tick_count());
            picks.last_chosen = setup_rules.chosen;
        }
    });
    EXPECT_EQ(setup_run(0), 1);
    plat_set_cursor_hook(nullptr);
    ASSERT_EQ(picks.at.size(), 3u);
    EXPECT_EQ(picks.at[1] - picks.at[0], 1000u);
    EXPECT_EQ(picks.at[2] - picks.at[1], 1000u);
    EXPECT_EQ(game_player_count, 4);
    EXPECT_EQ(player_table[0].character, 5);
    EXPECT_EQ(player_table[0].setup_control, CTRL_HUMAN);
    std::set<int> characters;
    for (int p = 0; p < 4; ++p)
        characters.insert(player_table[static_cast<size_t>(p)].character);
    EXPECT_EQ(characters.size(), 4u) << "four different characters";
    for (int p = 1; p < 4; ++p)
        EXPECT_EQ(player_table[static_cast<size_t>(p)].setup_control, CTRL_COMPUTER);
    EXPECT_EQ(std::count(character_state.begin(), character_state.end(), 0), CHARACTER_COUNT)
        << "the taken marks are cleared at the end";
}

TEST_F(Setup, TheSamePicksFollowFromTheSameSeed) {
    std::vector<int> first;
    for (int run = 0; run < 2; ++run) {
        game_srand(99);
        t0 = plat_tick_count();
        pick(200, 0);
        press(400, START);
        ASSERT_EQ(setup_run(0), 1);
        std::vector<int> got;
        for (int p = 0; p < 4; ++p)
            got.push_back(player_table[static_cast<size_t>(p)].character);
        if (run == 0)
            first = got;
        else
            EXPECT_EQ(got, first);
    }
}

TEST_F(Setup, FewerPlayersRemoveTheLastRunnersAndAGivenBackOneLetsTheOthersMoveUp) {
    pick(200, 1);
    pick(300, 2);
    pick(400, 3);
    choose(500, SETUP_PLAYERS, 0); // two players: runner 3 goes
    pick(700, 1);                  // given back: 2 moves up
    pick(800, 7);
    right_click(1000);
    EXPECT_EQ(setup_run(0), 0);
    EXPECT_EQ(setup_choice[SETUP_PLAYERS], 0);
    ASSERT_EQ(setup_rules.chosen, 2);
    EXPECT_EQ(setup_runners[0].character, 2u);
    EXPECT_EQ(setup_runners[1].character, 7u);
    EXPECT_EQ(setup_runners[2].character, 0u);
}

struct Widths {
    int walking = -1, car = -1;
};
Widths widths;

TEST_F(Setup, ChangingTheTravelModeReadsEveryRunnersSpriteAgain) {
    widths = Widths{};
    pick(200, 4);
    choose(400, SETUP_TRAVEL, 2);
    right_click(700);
    static uint32_t when_walking, when_car;
    when_walking = t0 + 300, when_car = t0 + 600;
    plat_set_cursor_hook([] {
        const uint32_t now = plat_tick_count();
        const ImageRecord* f = setup_rules.chosen ? spr_frame(setup_runners[0].sprite, 0) : nullptr;
        if (!f) return;
        if (now >= when_walking && now < when_walking + 100) widths.walking = f->width;
        if (now >= when_car && widths.car < 0) widths.car = f->width;
    });
    EXPECT_EQ(setup_run(0), 0);
    plat_set_cursor_hook(nullptr);
    // The sets as stored: the character on foot and in a car.
    void* foot = spr_read_set("JUMP.MKF", JUMP_RUNNER_FIRST + 3 * 4 + 0);
    void* car = spr_read_set("JUMP.MKF", JUMP_RUNNER_FIRST + 3 * 4 + 2);
    ASSERT_TRUE(foot && car);
    EXPECT_EQ(widths.walking, spr_frame(foot, 0)->width);
    EXPECT_EQ(widths.car, spr_frame(car, 0)->width);
    EXPECT_NE(widths.walking, widths.car);
    spr_free_set(foot);
    spr_free_set(car);
}

TEST_F(Setup, AMapButtonChoosesTheMapAndMarksIt) {
    static uint16_t mark_pixel;
    static bool marked = false;
    marked = false;
    void* set = spr_read_set("JUMP.MKF", JUMP_FRAME_SET);
    ASSERT_NE(set, nullptr);
    mark_pixel = spr_frame(set, SF_MAP_MARK)->pixels[0];
    spr_free_set(set);
    press(200, centre(setup_map_spot(2)));
    right_click(600);
    static uint32_t when;
    when = t0 + 400;
    plat_set_cursor_hook([] {
        if (!marked && plat_tick_count() >= when)
            marked = PopupTest::screen_at(SETUP_MAP_LEFT, setup_map_spot(2).top) == mark_pixel &&
                     PopupTest::screen_at(SETUP_MAP_LEFT, SETUP_MAP_TOP) != mark_pixel;
    });
    EXPECT_EQ(setup_run(0), 0);
    plat_set_cursor_hook(nullptr);
    EXPECT_EQ(setup_choice[SETUP_MAP], 2);
    EXPECT_EQ(game_map, 2);
    EXPECT_TRUE(marked) << "the mark moved to the third button";
}

TEST_F(Setup, AContinuingSetupStartsByItselfWithTheKeptSettings) {
    game_player_count = 3;
    game_start_money = 100000;
    game_travel_mode = 1;
    game_land_term = 2;
    game_day_limit = 365;
    game_asset_target = 5000000;
    game_map = 1;
    game_date = 0x07D50310;
    player_table[0].character = 7;
    character_state.fill(0);
    character_state[3] = 2;
    character_state[4] = 2;
    // No input at all: the screen starts, picks and slides out by itself.
    EXPECT_EQ(setup_run(1), 1);
    EXPECT_EQ(game_player_count, 3);
    EXPECT_EQ(game_start_money, 100000);
    EXPECT_EQ(game_travel_mode, 1);
    EXPECT_EQ(game_map, 1);
    EXPECT_EQ(game_date, 0x07D50310u) << "the date goes on";
    EXPECT_EQ(player_table[0].character, 7);
    EXPECT_EQ(player_table[0].setup_control, CTRL_HUMAN);
    for (int p = 1; p < 3; ++p) {
        const int c = player_table[static_cast<size_t>(p)].character;
        EXPECT_TRUE(c != 3 && c != 4 && c != 7) << "a beaten or taken character: " << c;
    }
    EXPECT_EQ(character_state[3], 2) << "beaten stays beaten";
    EXPECT_EQ(character_state[4], 2);
    EXPECT_EQ(character_state[7], 0) << "the human's mark is cleared";
}

TEST_F(Setup, AContinuingSetupWithFewFreeLowersTheCount) {
    game_player_count = 4;
    game_start_money = 200000;
    game_map = 0;
    player_table[0].character = 11;
    character_state.fill(2);
    character_state[0] = 0; // one free besides the human's
    character_state[11] = 0;
    EXPECT_EQ(setup_run(1), 1);
    EXPECT_EQ(game_player_count, 2);
    EXPECT_EQ(player_table[1].character, 0);
    EXPECT_EQ(player_table[2].control, 0) << "an empty seat";
}

TEST_F(Setup, WithoutItsPicturesTheSetupStillChoosesAndStartsAndTellsWhyOnce) {
    // Its only entry, the first map's city, is cut short; the frames and
    // the runners are missing. The tunes are told of too, on their own lines.
    ArchiveWriter jump;
    mkf_writer_add_raw(jump, 0, Bytes(640 * 2, 0x11));
    expect_told_once_when_missing_or_damaged("JUMP.MKF", jump, [&] {
        t0 = plat_tick_count();
        choose(100, SETUP_PLAYERS, 0);
        pick(300, 6);
        press(500, START);
        EXPECT_EQ(setup_run(0), 1);
        EXPECT_EQ(game_player_count, 2);
        EXPECT_EQ(player_table[0].character, 6);
    });
}

} // namespace
