#include <gtest/gtest.h>

#include <set>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/spinner.h"
#include "board/world_reset.h"
#include "engine/random.h"

namespace {

class SpinnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        game_player_count = 2;
        player_table[0].control = CTRL_COMPUTER;
        player_table[1].control = CTRL_HUMAN;
        game_active_mover = 0;
    }
};

TEST_F(SpinnerTest, ComputerWheelBrakesAtTickFortyAndStopsOnAValue) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        for (int kind = 0; kind < WHEEL_KIND_COUNT; ++kind) {
            game_srand(seed);
            const int start = game_rand() % WHEEL_POSITIONS;
            game_srand(seed);
            const int value = spin_wheel_run(kind);
            EXPECT_EQ(spin_last_spin_ticks(), SPIN_AUTO_STOP_TICKS);
            const int pos = spin_wheel_position();
            EXPECT_NE(spin_wheel_table[kind][pos], -1);
            EXPECT_EQ(value, spin_wheel_table[kind][pos]);
            // 40 spinning advances and 12 braking ones, then the creep to
            // the first position that holds a value.
            int expect = (start + 40 + 12) % WHEEL_POSITIONS;
            while (spin_wheel_table[kind][expect] == -1)
                expect = (expect + 1) % WHEEL_POSITIONS;
            EXPECT_EQ(pos, expect) << "seed " << seed << " kind " << kind;
        }
    }
}

TEST_F(SpinnerTest, WheelValuesFromEveryStart) {
    const std::set<int> hotel = {1, 2, 3, 4};
    const std::set<int> insurance = {3, 5, 10, 15, 20, 30};
    std::set<int> seen_hotel, seen_insurance;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        game_srand(seed);
        seen_hotel.insert(spin_building_prompt(WHEEL_HOTEL_DAYS, "x"));
        seen_insurance.insert(spin_building_prompt(WHEEL_INSURANCE_DAYS, "x"));
    }
    for (int v : seen_hotel)
        EXPECT_TRUE(hotel.count(v)) << v;
    for (int v : seen_insurance)
        EXPECT_TRUE(insurance.count(v)) << v;
    EXPECT_EQ(seen_hotel, hotel);
    EXPECT_EQ(seen_insurance, insurance);
}

TEST_F(SpinnerTest, HumanStopsWhenHeClicks) {
    game_active_mover = 1;
    // Nobody to ask: the click comes at once, after the first tick.
    spin_wheel_run(WHEEL_TRAVEL);
    EXPECT_EQ(spin_last_spin_ticks(), 1);
    EXPECT_EQ(decision_last_kind(), DECIDE_SPIN_STOP);
    // A scripted human lets it run three ticks.
    decision_script_push(0);
    decision_script_push(0);
    decision_script_push(1);
    spin_wheel_run(WHEEL_TRAVEL);
    EXPECT_EQ(spin_last_spin_ticks(), 3);
    // A human who never clicks: the result stands for 40 ticks at most.
    const int asked = decision_asked_count();
    for (int i = 0; i < 100; ++i)
        decision_script_push(0);
    decision_script_push(1); // the stop of the spinning comes after 101 ticks
    for (int i = 0; i < 60; ++i)
        decision_script_push(0);
    spin_wheel_run(WHEEL_TRAVEL);
    EXPECT_EQ(decision_script_left(), 60 - 39);
    EXPECT_EQ(spin_last_spin_ticks(), 101);
    EXPECT_EQ(decision_asked_count() - asked, 101 + 39);
}

TEST_F(SpinnerTest, SleepwalkingOrHandedOverHumanStopsByItself) {
    game_active_mover = 1;
    player_table[1].sleepwalk_days = 2;
    spin_wheel_run(WHEEL_TRAVEL);
    EXPECT_EQ(spin_last_spin_ticks(), SPIN_AUTO_STOP_TICKS);
    player_table[1].sleepwalk_days = 0;
    player_table[1].control = CTRL_HUMAN | CTRL_HANDED_OVER;
    spin_reels_run(1);
    EXPECT_EQ(spin_last_spin_ticks(), SPIN_AUTO_STOP_TICKS);
    EXPECT_EQ(decision_asked_count(), 0);
}

TEST_F(SpinnerTest, BrakedReelMakesSevenAdvancesAndRestsOnADigit) {
    // Reel 1 on an odd position: braking starts at once.
    spin_reels_draw(4, 0xF, 0); // all reels at 1
    const int before = spin_reel_position(1);
    ASSERT_EQ(before & 1, 1);
    int ticks = 1;
    while (spin_reels_draw(4, 0xF, 1) == 0)
        ++ticks;
    EXPECT_EQ(spin_reel_position(1), (before + 7) % REEL_POSITIONS);
    EXPECT_EQ(spin_reel_position(1) % 2, 0);
    EXPECT_EQ(ticks, 1 + 2 + 3 + 4 + 5 + 6 + 7);
    // The unbraked reels went on one position a tick.
    EXPECT_EQ(spin_reel_position(2), (1 + ticks) % REEL_POSITIONS);

    // A reel on an even position first moves on to an odd one.
    const int even = spin_reel_position(1);
    int t2 = 1;
    while (spin_reels_draw(4, 0x1, 1) == 0)
        ++t2;
    EXPECT_EQ(spin_reel_position(1), (even + 8) % REEL_POSITIONS);
    EXPECT_EQ(t2, 1 + 28);
}

TEST_F(SpinnerTest, ReelAmountsAreTheirDigits) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        game_srand(seed);
        const int three = spin_god_amount(SPIN_SMALL_WEALTH);
        EXPECT_GE(three, 0);
        EXPECT_LE(three, 999);
        EXPECT_EQ(three, (spin_reel_position(3) / 2) * 100 + (spin_reel_position(2) / 2) * 10 +
                             spin_reel_position(1) / 2);
        for (int r = 1; r <= 3; ++r)
            EXPECT_EQ(spin_reel_position(r) % 2, 0);
        const int four = spin_god_amount(SPIN_BIG_POVERTY);
        EXPECT_LE(four, 9999);
        EXPECT_EQ(four, (spin_reel_position(4) / 2) * 1000 + (spin_reel_position(3) / 2) * 100 +
                            (spin_reel_position(2) / 2) * 10 + spin_reel_position(1) / 2);
    }
    EXPECT_EQ(spin_god_amount(2), 0);
}

TEST_F(SpinnerTest, ReelsAreDeterministicBySeed) {
    game_srand(77);
    const int a = spin_god_amount(SPIN_BIG_WEALTH);
    game_srand(77);
    EXPECT_EQ(spin_god_amount(SPIN_BIG_WEALTH), a);
    EXPECT_EQ(spin_last_spin_ticks(), SPIN_AUTO_STOP_TICKS);
}

} // namespace

namespace {

TEST_F(SpinnerTest, PanelShowsThePromptThenTheAmount) {
    spin_building_prompt(WHEEL_HOTEL_DAYS, "阿禾叔");
    EXPECT_EQ(spin_panel_text(), "阿禾叔的旅馆\n\n请进来休息...");
    const int amount = spin_god_amount(SPIN_SMALL_POVERTY);
    EXPECT_EQ(spin_panel_text(), std::to_string(amount) + "元");
    EXPECT_STREQ(spin_god_text(SPIN_SMALL_POVERTY), "%s附身\n\n付给每个人...");
    EXPECT_EQ(spin_god_text(3), nullptr);
}

} // namespace
