#include <gtest/gtest.h>

#include "engine/random.h"

TEST(GameRandom, FollowsTheGeneratorFormula) {
    game_srand(1);
    // seed 1 -> 1103527590 -> (>>16)&0x7FFF = 16838, the classic first draw.
    EXPECT_EQ(game_rand(), 16838);
    EXPECT_EQ(game_rand_seed(), 1103527590u);
    EXPECT_EQ(game_rand(), 5758);
    EXPECT_EQ(game_rand(), 10113);
}

TEST(GameRandom, SeedReplaysTheSameSequence) {
    game_srand(0xDEADBEEF);
    int first[16];
    for (int& v : first)
        v = game_rand();
    game_srand(0xDEADBEEF);
    for (int v : first)
        EXPECT_EQ(game_rand(), v);
}

TEST(GameRandom, StaysInFifteenBits) {
    game_srand(12345);
    for (int i = 0; i < 10000; ++i) {
        int v = game_rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, GAME_RAND_MAX);
    }
}
