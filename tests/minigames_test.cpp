// Who plays a mini-game by hand, and the score everyone else gets: drawn
// from the game's generator, shown with its message and one of the
// character's first two lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "board/minigames.h"
#include "board/speech.h"
#include "board/world_reset.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/shown.h"

namespace {

class Minigames : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        game_player_count = 2;
        game_active_mover = 1;
        player_table[1].character = 3;
        shown_clear();
    }
    void TearDown() override { settings_set_animations(1); }
};

TEST_F(Minigames, OnlyAHumanWithAnimationsOnPlaysByHand) {
    struct Case {
        uint8_t control;
        uint8_t animations;
        bool by_hand;
    };
    const Case cases[] = {
        {CTRL_HUMAN, 1, true},
        {CTRL_HUMAN, 0, false},
        {CTRL_COMPUTER, 1, false},
        {CTRL_HUMAN | CTRL_HANDED_OVER, 1, false},
        {CTRL_HUMAN | CTRL_STEPPING, 1, false},
    };
    for (const Case& c : cases) {
        player_table[1].control = c.control;
        settings_set_animations(c.animations);
        EXPECT_EQ(minigame_played_by_hand(1), c.by_hand) << int(c.control) << int(c.animations);
    }
}

TEST_F(Minigames, EveryoneElseGetsFiftyToSixtyNineWithItsMessageAndLine) {
    int (*const games[])() = {minigame_play_grid, minigame_play_targets, minigame_play_steer};
    for (uint32_t seed : {1u, 77u, 12345u})
        for (auto game : games) {
            player_table[1].control = CTRL_COMPUTER;
            game_srand(seed);
            const int expected = game_rand() % 20 + 50;
            const int line = game_rand() & 1;
            game_srand(seed);
            shown_clear();
            const int got = game();
            EXPECT_EQ(got, expected) << seed;
            EXPECT_GE(got, 50);
            EXPECT_LE(got, 69);
            EXPECT_EQ(minigame_points, got);
            char text[32];
            std::snprintf(text, sizeof text, "得点卷%d点", expected);
            ASSERT_EQ(shown_count(Shown::Message), 1u);
            ASSERT_EQ(shown_count(Shown::Speech, 1), 1u);
            for (const ShownEvent& e : shown_log()) {
                if (e.kind == Shown::Message) {
                    EXPECT_EQ(e.text, text);
                    EXPECT_EQ(e.ms, 2000u);
                }
                if (e.kind == Shown::Speech) {
                    EXPECT_EQ(e.text, speech_line(3, line));
                }
            }
        }
}

} // namespace

namespace {

TEST_F(Minigames, AHumanWithNoScreenToPlayOnWinsNothingAndDrawsNothing) {
    player_table[1].control = CTRL_HUMAN;
    settings_set_animations(1);
    int (*const games[])() = {minigame_play_grid, minigame_play_targets, minigame_play_steer};
    const int entries[] = {80, 91, 92};
    for (int i = 0; i < 3; ++i) {
        minigame_points = 77;
        game_srand(9);
        shown_clear();
        EXPECT_EQ(games[i](), 0);
        EXPECT_EQ(minigame_points, 0);
        EXPECT_EQ(shown_count(Shown::Panel, entries[i]), 1u) << "the game's window asked for";
        EXPECT_EQ(shown_count(Shown::Message), 0u);
        EXPECT_EQ(game_rand_seed(), 9u) << "nothing drawn from the generator";
    }
}

} // namespace
