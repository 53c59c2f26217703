// The three mini-games' rules driven tick by tick: the grid game's layout,
// walk, detour, pieces and endings; the target game's rises, hits and
// special targets; the catching game's falls, catches, throwers and poses.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "board/minigame_catch.h"
#include "board/minigame_common.h"
#include "board/minigame_grid.h"
#include "board/minigame_target.h"
#include "board/minigames.h"
#include "engine/random.h"
#include "engine/shown.h"

namespace {

// ---------------------------------------------------------------------------
// Grid game

class GridRules : public ::testing::Test {
  protected:
    void SetUp() override {
        game_srand(7);
        minigame_grid_start(g);
        g.phase = MG_RUNNING;
        clear_pieces();
        shown_clear();
    }
    void clear_pieces() {
        for (auto& row : g.cells)
            for (uint16_t& c : row)
                c = static_cast<uint16_t>(c & ~GRID_PIECE_MASK);
    }
    // Ticks until the figure is idle again (or the game leaves its run),
    // noting each cell it stands on.
    std::vector<std::pair<int, int>> walk_to(int column, int row) {
        std::vector<std::pair<int, int>> path{{g.column, g.row}};
        if (!minigame_grid_pick_cell(g, column, row)) return path;
        for (int t = 0; t < 200 && g.state != GRID_IDLE && g.phase == MG_RUNNING; ++t) {
            minigame_grid_frame(g);
            if (path.back() != std::make_pair<int, int>(g.column, g.row))
                path.emplace_back(g.column, g.row);
        }
        return path;
    }
    GridGame g{};
};

TEST_F(GridRules, TheBoardHasSixtyFourPositionsAndFiveBehindTheObstacle) {
    int exists = 0, behind = 0;
    for (int row = 0; row < GRID_SIDE; ++row)
        for (int column = 0; column < GRID_SIDE; ++column) {
            exists += grid_exists(column, row);
            behind += (g.cells[row][column] & GRID_BEHIND_MASK) != 0;
        }
    EXPECT_EQ(exists, GRID_POSITIONS);
    EXPECT_EQ(behind, 5);
    EXPECT_FALSE(grid_exists(4, 4)) << "the hole";
    EXPECT_EQ(grid_points[6][2].x, 320);
    EXPECT_EQ(grid_points[6][2].y, 321);
}

TEST_F(GridRules, SetupPlacesEachPieceAtTheDrawnFreePositionInRowOrder) {
    for (uint32_t seed : {1u, 99u, 31337u}) {
        // The same draw done another way: a list of the free positions,
        // the chosen one taken out of it.
        game_srand(seed);
        std::vector<std::pair<int, int>> free_cells;
        for (int row = 0; row < GRID_SIDE; ++row)
            for (int column = 0; column < GRID_SIDE; ++column)
                if (grid_exists(column, row)) free_cells.emplace_back(column, row);
        int expected[GRID_SIDE][GRID_SIDE] = {};
        for (int kind = 1; kind <= 5; ++kind)
            for (int n = 0; n < GRID_PIECES_OF_KIND[kind]; ++n) {
                const int r = (static_cast<int>(free_cells.size()) * game_rand()) >> 15;
                expected[free_cells[r].second][free_cells[r].first] = kind;
                free_cells.erase(free_cells.begin() + r);
            }
        game_srand(seed);
        GridGame fresh{};
        minigame_grid_setup(fresh);
        int per_kind[GRID_KINDS] = {};
        for (int row = 0; row < GRID_SIDE; ++row)
            for (int column = 0; column < GRID_SIDE; ++column) {
                const int kind = fresh.cells[row][column] & GRID_PIECE_MASK;
                EXPECT_EQ(kind, expected[row][column]) << seed << " " << column << "," << row;
                ++per_kind[kind];
            }
        for (int kind = 1; kind <= 5; ++kind)
            EXPECT_EQ(per_kind[kind], GRID_PIECES_OF_KIND[kind]);
    }
}

TEST_F(GridRules, ClicksOnTheOwnCellOffTheBoardOrWhileWalkingDoNothing) {
    minigame_grid_click(g, static_cast<uint8_t>(GRID_START_ROW * 9 + GRID_START_COLUMN));
    EXPECT_EQ(g.state, GRID_IDLE);
    minigame_grid_click(g, GRID_HIT_NONE);
    minigame_grid_click(g, 4 * 9 + 4); // the hole
    minigame_grid_click(g, 0);         // row 0, column 0: no position
    EXPECT_EQ(g.state, GRID_IDLE);
    EXPECT_EQ(shown_count(Shown::Effect), 0u);
    minigame_grid_click(g, 6 * 9 + 5);
    ASSERT_EQ(g.state, GRID_WALKING);
    minigame_grid_click(g, 3 * 9 + 3);
    EXPECT_EQ(g.target_column, 5);
    EXPECT_EQ(g.target_row, 6);
    EXPECT_EQ(shown_count(Shown::Effect, 11), 1u) << "the walking loop once";
}

TEST_F(GridRules, AHitImageByteNamesItsCellAndReadsOutsideNameNone) {
    const uint8_t image[4] = {5 * 9 + 2, 255, 4 * 9 + 4, 80};
    EXPECT_EQ(grid_hit_at(image, 4, 0, 0), 5 * 9 + 2);
    EXPECT_EQ(grid_hit_at(image, 4, 4, 0), GRID_HIT_NONE) << "past the image's bytes";
    EXPECT_EQ(grid_hit_at(image, 4, -1, 0), GRID_HIT_NONE);
    EXPECT_EQ(grid_hit_at(nullptr, 0, 1, 1), GRID_HIT_NONE);
    int c = -1, r = -1;
    EXPECT_TRUE(grid_cell_of_hit(image[0], &c, &r));
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 5);
    EXPECT_FALSE(grid_cell_of_hit(image[2], &c, &r));
    EXPECT_FALSE(grid_cell_of_hit(image[3], &c, &r));
    EXPECT_FALSE(grid_cell_of_hit(200, &c, &r));
}

TEST_F(GridRules, TheFigureFacesByItsStepAndWalksACellInFourQuarters) {
    struct Case {
        int dc, dr, facing;
    };
    const Case cases[] = {{1, -1, 4}, {1, 0, 3},   {1, 1, 2},  {0, -1, 5},
                          {0, 1, 1},  {-1, -1, 6}, {-1, 0, 7}, {-1, 1, 0}};
    for (const Case& k : cases) {
        SetUp();
        ASSERT_EQ(minigame_grid_pick_cell(g, GRID_START_COLUMN + k.dc, GRID_START_ROW + k.dr), 1);
        EXPECT_EQ(g.facing, k.facing) << k.dc << "," << k.dr;
        for (int q = 1; q < GRID_QUARTERS; ++q) {
            minigame_grid_frame(g);
            EXPECT_EQ(g.sub, q);
            EXPECT_EQ(g.column, GRID_START_COLUMN);
        }
        minigame_grid_frame(g);
        EXPECT_EQ(g.column, GRID_START_COLUMN + k.dc);
        EXPECT_EQ(g.row, GRID_START_ROW + k.dr);
        EXPECT_EQ(g.state, GRID_PICKING);
        EXPECT_EQ(shown_count(Shown::Effect, 12), 1u) << "arrival";
    }
}

TEST_F(GridRules, AWalkAcrossTheHoleGoesRoundIt) {
    struct Case {
        int from_c, from_r, to_c, to_r;
        std::vector<std::pair<int, int>> path;
    };
    const Case cases[] = {
        {3, 4, 5, 4, {{3, 4}, {4, 5}, {5, 4}}}, // along row 4: one row down, then up
        {4, 3, 4, 5, {{4, 3}, {5, 4}, {4, 5}}}, // down column 4: one column right
        {2, 4, 6, 4, {{2, 4}, {3, 4}, {4, 5}, {5, 5}, {6, 4}}}, // aimed again from below
        {3, 3, 5, 5, {{3, 3}, {4, 3}, {5, 4}, {5, 5}}},         // the diagonal through the hole
    };
    for (const Case& k : cases) {
        SetUp();
        g.column = static_cast<int8_t>(k.from_c);
        g.row = static_cast<int8_t>(k.from_r);
        const auto path = walk_to(k.to_c, k.to_r);
        EXPECT_EQ(path, k.path) << k.from_c << "," << k.from_r << " to " << k.to_c << "," << k.to_r;
        for (const auto& cell : path)
            EXPECT_TRUE(grid_exists(cell.first, cell.second));
        EXPECT_EQ(g.column, k.to_c);
        EXPECT_EQ(g.row, k.to_r);
    }
}

TEST_F(GridRules, APieceIsTakenAtThePickUpsFourthTickAndScores) {
    struct Case {
        int kind, sound, points;
    };
    const Case cases[] = {{2, 16, 5}, {3, 17, 12}, {4, 17, 8}, {5, 18, 20}};
    for (const Case& k : cases) {
        SetUp();
        g.cells[6][3] = static_cast<uint16_t>(k.kind);
        walk_to(3, 6);
        EXPECT_EQ(g.state, GRID_IDLE);
        EXPECT_EQ(g.cells[6][3] & GRID_PIECE_MASK, 0);
        EXPECT_EQ(g.counts[k.kind], 1);
        EXPECT_EQ(minigame_grid_score(g), k.points);
        EXPECT_EQ(minigame_points, k.points);
        EXPECT_EQ(g.fly_kind, k.kind) << "the piece flies";
        EXPECT_EQ(shown_count(Shown::Effect, k.sound), 1u);
    }
}

TEST_F(GridRules, ABombEndsTheGameWithTheScoreSoFar) {
    g.counts[2] = 2;
    g.cells[6][3] = GRID_BOMB;
    walk_to(3, 6);
    EXPECT_EQ(g.state, GRID_BOMBED);
    EXPECT_EQ(g.phase, MG_ENDING);
    EXPECT_EQ(shown_count(Shown::Effect, 15), 1u);
    const int32_t time = g.time;
    for (int t = 0; t < GRID_REACTION_TICKS - 1; ++t)
        minigame_grid_frame(g);
    EXPECT_EQ(g.phase, MG_ENDING);
    minigame_grid_frame(g);
    EXPECT_EQ(g.phase, MG_FINAL);
    EXPECT_EQ(g.time, time) << "the clock stopped";
    EXPECT_EQ(minigame_points, 10);
    for (int t = 0; t < GRID_FINAL_TICKS; ++t)
        minigame_grid_frame(g);
    EXPECT_EQ(g.phase, MG_CLOSED);
}

TEST_F(GridRules, EveryScoredPieceCollectedIsOneHundredAndEightyEight) {
    for (int kind = 2; kind <= 5; ++kind)
        g.counts[kind] = GRID_PIECES_OF_KIND[kind];
    EXPECT_EQ(minigame_grid_score(g), 188);
}

TEST_F(GridRules, TheEndingFollowsTheScoreWhenTheTimeRunsOut) {
    struct Case {
        int c2, c3, c4;
        int32_t score;
        uint8_t state;
        int sound; // the looped ending sound, -1 none
    };
    const Case cases[] = {
        {3, 2, 0, 39, GRID_BAD_END, 14},
        {0, 0, 5, 40, GRID_MIDDLE_END, -1},
        {11, 0, 0, 55, GRID_MIDDLE_END, -1},
        {0, 0, 7, 56, GRID_GOOD_END, 13},
    };
    for (const Case& k : cases) {
        SetUp();
        g.counts[2] = k.c2;
        g.counts[3] = k.c3;
        g.counts[4] = k.c4;
        g.good_frames = g.bad_frames = 3;
        ASSERT_EQ(minigame_grid_score(g), k.score);
        g.time = 1;
        minigame_grid_frame(g);
        EXPECT_EQ(g.state, k.state) << k.score;
        EXPECT_EQ(g.phase, MG_ENDING);
        if (k.sound >= 0) {
            EXPECT_EQ(shown_count(Shown::Effect, k.sound), 1u);
        }
        // The good and bad endings play their three frames four times, the
        // middle one stands 14 ticks.
        const int ticks = k.state == GRID_MIDDLE_END ? GRID_REACTION_TICKS : 3 * GRID_ENDING_PLAYS;
        for (int t = 0; t < ticks - 1; ++t)
            minigame_grid_frame(g);
        EXPECT_EQ(g.phase, MG_ENDING) << k.score;
        minigame_grid_frame(g);
        EXPECT_EQ(g.phase, MG_FINAL) << k.score;
        EXPECT_EQ(minigame_points, k.score);
    }
}

TEST_F(GridRules, AClickOnTheFinalScoreClosesAtTheNextTick) {
    g.phase = MG_FINAL;
    g.wait_ticks = GRID_FINAL_TICKS;
    minigame_grid_frame(g);
    EXPECT_EQ(g.phase, MG_FINAL);
    minigame_grid_click(g, GRID_HIT_NONE);
    minigame_grid_frame(g);
    EXPECT_EQ(g.phase, MG_CLOSED);
}

TEST_F(GridRules, TheClockStartsOnlyAfterTheCountdownAndTheOpening) {
    minigame_grid_start(g);
    for (int t = 0; t < GRID_COUNTDOWN_TICKS - 1; ++t)
        minigame_grid_frame(g);
    EXPECT_EQ(g.phase, MG_COUNTDOWN);
    minigame_grid_frame(g);
    EXPECT_EQ(g.phase, MG_OPENING);
    minigame_grid_frame(g);
    EXPECT_EQ(g.time, GRID_TIME_TICKS) << "waits for the opening animation";
    minigame_grid_begin(g);
    minigame_grid_frame(g);
    EXPECT_EQ(g.time, GRID_TIME_TICKS - 1);
}

// ---------------------------------------------------------------------------
// Target game

class TargetRules : public ::testing::Test {
  protected:
    void SetUp() override {
        game_srand(3);
        minigame_targets_start(g);
        g.phase = MG_RUNNING;
        shown_clear();
    }
    TargetSlot& put(int slot, int x, int y, int kind) {
        g.slots[slot] = {static_cast<int16_t>(x), static_cast<int16_t>(y),
                         static_cast<int16_t>(kind)};
        return g.slots[slot];
    }
    // A seed whose next draw % 6 is the effect.
    static uint32_t seed_for_surprise(int effect) {
        for (uint32_t seed = 1;; ++seed) {
            game_srand(seed);
            if (game_rand() % 6 == effect) return seed;
        }
    }
    TargetGame g{};
};

TEST_F(TargetRules, AClickOnTwoOverlappingTargetsHitsBothAndMissesTheRest) {
    put(0, 120, 200, 0);
    put(1, 120, 225, 1);
    put(2, 440, 200, 2);
    minigame_targets_click(g, 125, 215);
    EXPECT_EQ(g.score, 1 + 2);
    EXPECT_EQ(g.slots[0].kind, TARGET_HIT_KIND);
    EXPECT_EQ(g.slots[1].kind, TARGET_HIT_KIND);
    EXPECT_EQ(g.slots[2].kind, 2);
    EXPECT_EQ(shown_count(Shown::Effect, 21), 2u);
    EXPECT_EQ(shown_count(Shown::Effect, 20), 1u);
    // A hit target shows its picture three ticks, then its slot is free.
    g.ended = 1;
    for (int t = 0; t < 2; ++t) {
        minigame_targets_frame(g);
        EXPECT_NE(g.slots[0].x, 0);
    }
    minigame_targets_frame(g);
    EXPECT_EQ(g.slots[0].x, 0);
}

TEST_F(TargetRules, TheHitBoxesByKind) {
    struct Case {
        int kind, dx, dy;
        bool hit;
    };
    const Case cases[] = {{0, 22, 30, true},   {0, 23, 0, false},  {5, -22, -30, true},
                          {5, 0, 31, false},   {6, 18, 26, true},  {6, 19, 0, false},
                          {11, 0, -27, false}, {11, -18, 26, true}};
    for (const Case& k : cases) {
        const TargetSlot t{200, 200, static_cast<int16_t>(k.kind)};
        EXPECT_EQ(target_box_contains(t, 200 + k.dx, 200 + k.dy), k.hit)
            << k.kind << " " << k.dx << "," << k.dy;
    }
    const TargetSlot hit{200, 200, TARGET_HIT_KIND};
    EXPECT_FALSE(target_box_contains(hit, 200, 200)) << "a hit target is hit once";
}

TEST_F(TargetRules, DoublingPassesNineHundredNinetyNineAndTheNextSmallHitSetsIt) {
    g.score = 600;
    put(0, 120, 200, TARGET_DOUBLE);
    minigame_targets_click(g, 120, 200);
    EXPECT_EQ(g.score, 1200);
    int d[3];
    minigame_panel_digits(g.score, d);
    EXPECT_EQ(d[0] * 100 + d[1] * 10 + d[2], 999) << "the panel shows at most 999";
    put(1, 200, 200, 0);
    minigame_targets_click(g, 200, 200);
    EXPECT_EQ(g.score, 999);
    put(2, 280, 200, TARGET_HALVE);
    minigame_targets_click(g, 280, 200);
    EXPECT_EQ(g.score, 499);
    // Doubling stops at the 32-bit limit.
    g.score = INT32_MAX / 2 + 5;
    put(3, 360, 200, TARGET_DOUBLE);
    minigame_targets_click(g, 360, 200);
    EXPECT_EQ(g.score, INT32_MAX);
}

TEST_F(TargetRules, KindElevenClearsFreezeAndSpeedThenDrawsOneOfSixEffects) {
    for (int effect = 0; effect < 6; ++effect) {
        SetUp();
        g.score = 40;
        g.freeze = 7;
        g.speed = TARGET_SPEED_HALF;
        put(0, 120, 200, TARGET_SURPRISE);
        put(1, 440, 200, 7);
        game_srand(seed_for_surprise(effect));
        minigame_targets_click(g, 120, 200);
        EXPECT_EQ(g.last_surprise, effect);
        const int32_t time = g.time;
        switch (effect) {
        case 0:
            EXPECT_EQ(g.time, 1);
            minigame_targets_frame(g);
            EXPECT_TRUE(g.ended);
            break;
        case 1:
            EXPECT_EQ(g.freeze, TARGET_FREEZE_TICKS);
            EXPECT_EQ(g.speed, TARGET_SPEED_NORMAL);
            minigame_targets_frame(g);
            EXPECT_EQ(g.slots[1].y, 200) << "frozen";
            break;
        case 2:
        case 3:
            EXPECT_EQ(g.freeze, 0);
            EXPECT_EQ(g.speed, effect == 2 ? TARGET_SPEED_DOUBLE : TARGET_SPEED_HALF);
            minigame_targets_frame(g);
            EXPECT_EQ(g.slots[1].y, 200 - (effect == 2 ? 48 : 12));
            EXPECT_EQ(g.time, time - 1);
            break;
        case 4:
            EXPECT_EQ(g.score, 0);
            EXPECT_EQ(g.freeze, 0);
            EXPECT_EQ(g.speed, TARGET_SPEED_NORMAL);
            break;
        default:
            EXPECT_EQ(g.score, 80);
        }
    }
}

TEST_F(TargetRules, TargetsRiseByKindAndSpeedAndLeaveAtTheTop) {
    struct Case {
        int kind, speed, rise;
    };
    const Case cases[] = {{0, 0, 15},  {4, 0, 18}, {7, 0, 24}, {11, 0, 18},
                          {7, -1, 48}, {0, 1, 7},  {4, 1, 9}};
    for (const Case& k : cases) {
        SetUp();
        g.ended = 1; // no new targets
        g.speed = k.speed;
        put(0, 40, 200, k.kind);
        minigame_targets_frame(g);
        EXPECT_EQ(g.slots[0].y, 200 - k.rise) << k.kind << " " << k.speed;
    }
    SetUp();
    g.ended = 1;
    put(0, 40, TARGET_GONE_ABOVE + 10, 0);
    put(1, 120, 100, 0);
    minigame_targets_frame(g);
    EXPECT_EQ(g.slots[0].x, 0) << "risen out of the picture";
    minigame_targets_frame(g);
    EXPECT_NE(g.slots[1].x, 0);
}

TEST_F(TargetRules, ANewTargetStartsAtTheBottomOfAColumnNoTargetIsLowIn) {
    g.freeze = 1000;
    for (int c = 0; c < 7; ++c)
        put(c, TARGET_COLUMN_X0 + TARGET_COLUMN_DX * c, 350, 0);
    int spawned = -1;
    for (int t = 0; t < 100 && spawned < 0; ++t) {
        minigame_targets_frame(g);
        for (int s = 7; s < TARGET_SLOTS; ++s)
            if (g.slots[s].x != 0) spawned = s;
    }
    ASSERT_GE(spawned, 0);
    EXPECT_EQ(g.slots[spawned].x, TARGET_COLUMN_X0 + TARGET_COLUMN_DX * 7);
    EXPECT_EQ(g.slots[spawned].y, TARGET_START_Y);
    EXPECT_EQ(shown_count(Shown::Effect, 19), 1u);
}

TEST_F(TargetRules, TheGameEndsOnceTheTimeIsOutAndNoTargetIsLeft) {
    g.time = 1;
    put(0, 40, 100, 7);
    minigame_targets_frame(g);
    EXPECT_TRUE(g.ended);
    EXPECT_EQ(g.phase, MG_RUNNING) << "a target still rises";
    minigame_targets_click(g, 40, g.slots[0].y);
    EXPECT_EQ(g.slots[0].kind, 7) << "no hits once the time is out";
    for (int t = 0; t < 10 && g.phase == MG_RUNNING; ++t)
        minigame_targets_frame(g);
    EXPECT_EQ(g.phase, MG_FINAL);
    for (const TargetSlot& s : g.slots)
        EXPECT_EQ(s.x, 0);
}

// ---------------------------------------------------------------------------
// Catching game

class CatchRules : public ::testing::Test {
  protected:
    void SetUp() override {
        game_srand(11);
        CatchFrameBox boxes[13];
        for (CatchFrameBox& b : boxes)
            b = {60, 96, 30, 94};
        g = CatchGame{};
        catch_set_runner_frames(g, boxes, 13);
        minigame_steer_start(g, 320);
        g.phase = MG_RUNNING;
        shown_clear();
    }
    CatchObject& put(int slot, int x, int y, int kind) {
        g.objects[slot] = {static_cast<int16_t>(x), static_cast<int16_t>(y),
                           static_cast<int16_t>(kind), 0};
        return g.objects[slot];
    }
    CatchGame g{};
};

TEST_F(CatchRules, ThrownObjectsTakeTheirKindDriftAndStart) {
    struct Case {
        int x, drift;
    };
    const Case cases[] = {{110, -50}, {320, 0}, {530, 50}, {215, -25}};
    for (const Case& k : cases) {
        SetUp();
        game_srand(5);
        const int r = game_rand() % 20;
        const int kind = r < 9 ? 3 : r < 15 ? 2 : r < 18 ? 1 : 0;
        game_srand(5);
        minigame_steer_spawn(g, k.x, false);
        const CatchObject& o = g.objects[0];
        EXPECT_EQ(catch_kind(o), kind);
        EXPECT_EQ(catch_drift(o), k.drift) << k.x;
        EXPECT_EQ(o.y, CATCH_START_Y);
        EXPECT_EQ(o.speed, CATCH_START_SPEED);
    }
    minigame_steer_spawn(g, 400, true);
    EXPECT_EQ(catch_kind(g.objects[1]), CATCH_BOMB);
    EXPECT_EQ(g.bombs_in_air, 1);
    for (int s = 0; s < CATCH_SLOTS; ++s)
        g.objects[s].x = 100;
    minigame_steer_spawn(g, 400, true);
    EXPECT_EQ(g.bombs_in_air, 1) << "no free slot: nothing thrown";
}

TEST_F(CatchRules, ObjectsArcThenFallByKindGrowingAndDrifting) {
    g.ended = 1;
    g.runner_x = 600;
    CatchObject& o = put(0, 200, 100, 1);
    o.speed = CATCH_START_SPEED;
    o.word = static_cast<int16_t>(1 | (static_cast<uint8_t>(-40) << 8));
    EXPECT_EQ(catch_scale(o), 32768u);
    minigame_steer_frame(g);
    EXPECT_EQ(o.y, 86);
    EXPECT_EQ(o.speed, -14);
    EXPECT_EQ(catch_frame(o), 1);
    while (o.y <= 129)
        minigame_steer_frame(g);
    const int y = o.y;
    minigame_steer_frame(g);
    EXPECT_EQ(o.y, y + CATCH_FALL[1]);
    o.y = 380;
    EXPECT_EQ(catch_scale(o), 65536u);
    EXPECT_EQ(catch_drawn_x(o), 160);
    o.y = 255;
    EXPECT_EQ(catch_drawn_x(o), 180);
    EXPECT_EQ(catch_scale(o), 49152u);
}

TEST_F(CatchRules, ARunningRunnerCatchesWhatFallsInItsBoxAStandingOneNothing) {
    g.ended = 1;
    put(0, 320, 330, 0);
    put(1, 320, 330, 2);
    g.runner_dir = 0;
    g.mouse_x = 320;
    minigame_steer_frame(g);
    EXPECT_EQ(g.counts[0] + g.counts[2], 0) << "standing";
    // Running: the objects in its box are caught and score.
    SetUp();
    put(0, 330, 330, 0);
    put(1, 330, 340, 2);
    put(2, 100, 330, 3);
    g.mouse_x = g.remembered_x = 320;
    g.runner_dir = 2;
    minigame_steer_frame(g);
    EXPECT_EQ(g.counts[0], 1);
    EXPECT_EQ(g.counts[2], 1);
    EXPECT_EQ(g.counts[3], 0);
    EXPECT_EQ(catch_score(g), 13);
    EXPECT_EQ(g.objects[0].x, 0);
    EXPECT_NE(g.objects[2].x, 0);
}

TEST_F(CatchRules, ACaughtBombEndsTheGameAtOnceWithPoseFour) {
    g.counts[0] = 7; // 70 points would earn the cheering pose
    put(0, 320, 330, CATCH_BOMB);
    g.bombs_in_air = 1;
    put(1, 325, 335, 0);
    g.runner_dir = 1;
    minigame_steer_frame(g);
    EXPECT_EQ(g.explosion, 1);
    EXPECT_EQ(g.pose, CATCH_BOMB_POSE);
    EXPECT_TRUE(g.ended);
    EXPECT_EQ(g.explosion_x, 320 - 55);
    EXPECT_EQ(g.counts[0], 7) << "what still falls is not counted";
    EXPECT_EQ(shown_count(Shown::Effect, 15), 1u);
    minigame_steer_frame(g);
    EXPECT_EQ(g.phase, MG_RUNNING) << "the explosion plays";
    minigame_steer_explosion_over(g);
    minigame_steer_frame(g);
    EXPECT_EQ(g.phase, MG_FINAL);
    EXPECT_EQ(g.pose, CATCH_BOMB_POSE);
    EXPECT_EQ(g.counts[0], 7);
    EXPECT_EQ(minigame_points, 70);
}

TEST_F(CatchRules, TheEndPoseFollowsTheScore) {
    struct Case {
        int ones;
        int pose;
    };
    const Case cases[] = {{0, 1}, {39, 1}, {40, 2}, {49, 2}, {50, 0}, {59, 0}, {60, 3}};
    for (const Case& k : cases) {
        SetUp();
        g.counts[3] = k.ones;
        g.time = 1;
        minigame_steer_frame(g);
        EXPECT_EQ(g.phase, MG_FINAL);
        EXPECT_EQ(g.pose, k.pose) << k.ones;
        EXPECT_EQ(catch_pose_of_score(k.ones), k.pose);
    }
}

TEST_F(CatchRules, TheMouseFlickedWarpsToTheEdgeAndTheRunnerRunsThere) {
    g.mouse_x = 300; // 20 left of where it was
    minigame_steer_frame(g);
    EXPECT_EQ(g.warp_x, CATCH_MOUSE_LEFT);
    EXPECT_EQ(g.runner_dir, 1);
    EXPECT_EQ(g.runner_x, 310);
    EXPECT_EQ(catch_runner_frame(g), 5 + 1);
    g.mouse_x = 4; // a small move: no warp
    minigame_steer_frame(g);
    EXPECT_EQ(g.warp_x, -1);
    EXPECT_EQ(g.runner_x, 300);
    g.mouse_x = 20; // more than 8 right of 0
    minigame_steer_frame(g);
    EXPECT_EQ(g.warp_x, CATCH_MOUSE_RIGHT);
    EXPECT_EQ(g.runner_dir, 2);
    EXPECT_EQ(catch_runner_frame(g), 5 + 4 + g.runner_counter);
    g.runner_x = 635;
    g.mouse_x = CATCH_MOUSE_RIGHT;
    minigame_steer_frame(g);
    EXPECT_EQ(g.runner_dir, 0) << "within 8 pixels it stands";
    EXPECT_EQ(catch_runner_frame(g), g.pose);
}

TEST_F(CatchRules, ARunnerSetTooSmallToRunStands) {
    struct Case {
        int frames, m;
    };
    const Case cases[] = {{0, 0}, {5, 0}, {6, 0}, {7, 1}, {13, 4}, {12, 3}};
    for (const Case& k : cases) {
        CatchFrameBox boxes[13] = {};
        catch_set_runner_frames(g, boxes, k.frames);
        EXPECT_EQ(g.run_frames, k.m) << k.frames;
    }
    CatchFrameBox boxes[6];
    for (CatchFrameBox& b : boxes)
        b = {60, 96, 30, 94};
    catch_set_runner_frames(g, boxes, 6);
    put(0, 300, 330, 0);
    g.mouse_x = 100;
    for (int t = 0; t < 5; ++t)
        minigame_steer_frame(g);
    EXPECT_EQ(g.runner_x, 320);
    EXPECT_EQ(g.runner_dir, 0);
    EXPECT_EQ(catch_runner_frame(g), g.pose);
}

TEST_F(CatchRules, TheThrowerWalksTurnsAndThrowsWithinItsPath) {
    // From its start it turns at the left for one more tick, then walks right.
    EXPECT_EQ(catch_thrower_frame(g), 7);
    minigame_steer_frame(g);
    EXPECT_EQ(g.thrower_state, THROWER_RIGHT);
    EXPECT_EQ(g.thrower_counter, 0);
    int thrown = 0, turns = 0, last_state = g.thrower_state;
    for (int t = 0; t < 300; ++t) {
        g.mouse_x = g.remembered_x = g.runner_x; // the runner stands
        minigame_steer_frame(g);
        EXPECT_GE(g.thrower_x, CATCH_THROWER_MIN_X);
        EXPECT_LE(g.thrower_x, CATCH_THROWER_MAX_X);
        if (g.thrower_state != last_state) ++turns;
        last_state = g.thrower_state;
        for (CatchObject& o : g.objects)
            if (o.x != 0 && o.y == CATCH_START_Y) ++thrown;
        if (g.phase != MG_RUNNING) break;
    }
    EXPECT_GT(thrown, 10);
    EXPECT_GE(turns, 4);
    // Once the game has ended it stands.
    SetUp();
    g.time = 1;
    put(0, 100, 300, 3);
    minigame_steer_frame(g);
    EXPECT_EQ(g.thrower_state, THROWER_TURN_AT_RIGHT);
    EXPECT_EQ(g.thrower_counter, 2);
}

TEST_F(CatchRules, TheBombThrowerThrowsAtItsSeventhFrameAndLeavesAfterItsLast) {
    g.bomber_counter = CATCH_BOMBER_THROWS_AT;
    g.bomber_x = 250;
    g.thrower_state = THROWER_TURN_AT_LEFT;
    minigame_steer_frame(g);
    EXPECT_EQ(g.bombs_in_air, 1);
    EXPECT_EQ(shown_count(Shown::Effect, 22), 1u);
    EXPECT_EQ(shown_count(Shown::Effect, 24), 1u);
    bool bomb = false;
    for (const CatchObject& o : g.objects)
        if (o.x == 250 && catch_kind(o) == CATCH_BOMB) bomb = true;
    EXPECT_TRUE(bomb);
    g.bomber_counter = CATCH_BOMBER_LAST;
    minigame_steer_frame(g);
    EXPECT_EQ(g.bomber_counter, -1);
    // A lost bomb lowers the count and, the last one gone, stops its sound.
    SetUp();
    put(0, 200, 378, CATCH_BOMB);
    g.bombs_in_air = 1;
    g.runner_x = 600;
    g.mouse_x = g.remembered_x = 600;
    minigame_steer_frame(g);
    EXPECT_EQ(g.bombs_in_air, 0);
    EXPECT_EQ(g.objects[0].x, 0);
}

TEST_F(CatchRules, TheBombThrowerComesOnTheFarHalfThreeTimesInTen) {
    int came = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SetUp();
        g.thrower_state = THROWER_RIGHT;
        g.thrower_x = 400;
        g.thrower_counter = 1;
        g.throw_at = 0;
        game_srand(seed);
        const bool expect = game_rand() % 10 >= 7;
        const int x = game_rand() % 140 + 160;
        game_srand(seed);
        minigame_steer_frame(g);
        EXPECT_EQ(g.bomber_counter == 0, expect) << seed;
        if (expect) {
            EXPECT_EQ(g.bomber_x, x) << "the left half, across from the thrower";
            ++came;
        }
    }
    EXPECT_GT(came, 30);
    EXPECT_LT(came, 90);
}

// ---------------------------------------------------------------------------
// What the three share

TEST(MinigameCommon, PanelDigitsStopAtNineHundredNinetyNineAndTheFinalScoreShowsEveryDigit) {
    struct Case {
        int32_t score;
        int panel;
        int digits;
    };
    const Case cases[] = {{0, 0, 1},     {7, 7, 1},      {188, 188, 3},
                          {999, 999, 3}, {1200, 999, 4}, {INT32_MAX, 999, 10},
                          {-5, 0, 1}};
    for (const Case& k : cases) {
        int d[3];
        minigame_panel_digits(k.score, d);
        EXPECT_EQ(d[0] * 100 + d[1] * 10 + d[2], k.panel) << k.score;
        int all[10];
        const int n = minigame_score_digits(k.score, all);
        ASSERT_EQ(n, k.digits) << k.score;
        int64_t back = 0;
        for (int i = 0; i < n; ++i)
            back = back * 10 + all[i];
        EXPECT_EQ(back, k.score < 0 ? 0 : k.score);
        int xs[10];
        minigame_final_digit_x(n, 60, xs);
        EXPECT_GE(xs[0], 0);
        EXPECT_LE(xs[n - 1] + 60, 640) << "every digit on the screen";
        for (int i = 1; i < n; ++i)
            EXPECT_GE(xs[i] - xs[i - 1], 60) << "digits do not overlap";
    }
    int xs[10];
    minigame_final_digit_x(3, 60, xs);
    EXPECT_EQ(xs[1] - xs[0], MG_FINAL_DX);
    EXPECT_EQ(xs[1] + 30, MG_FINAL_CENTRE_X) << "centred on x 353";
    EXPECT_EQ(minigame_double(INT32_MAX), INT32_MAX);
    EXPECT_EQ(minigame_double(600), 1200);
}

} // namespace
