// The three mini-games played in their windows by a human with the
// animations on, under scripted mouse input: a watcher on the cursor's hook
// aims the clicks (or flicks the mouse) the way a player would, and each
// game runs to its end on its own timer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "board/game_state.h"
#include "board/minigames.h"
#include "board/minigames_screen.h"
#include "board/minigames_screen_kit.h"
#include "board/world_reset.h"
#include "engine/layout.h"
#include "engine/music.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;

// What the watcher saw while a game ran.
struct Watch {
    MinigameKind kind = MINIGAME_GRID;
    uint32_t next_action = 0;
    uint32_t running_since = 0; // 0 until the game runs
    int actions = 0;
    bool saw_running = false, saw_final = false;
    int final_band_changed = 0; // pixels of the final score's band unlike the running scene
    uint16_t running_band[SCREEN_W * 84];
    bool band_kept = false;
    int runner_min_x = SCREEN_W, runner_max_x = 0;
    int warps = 0;
    uint32_t explosion_since = 0;
    int opening_over_scene = 0; // display pixels of the banner's place unlike the scene under it
    uint32_t opening_since = 0;
    std::string shot_running, shot_final;
};
Watch w;

constexpr int BAND_TOP = MG_FINAL_Y, BAND_H = 84; // the big digits' band

void add(uint32_t at, PlatScriptKind kind, int x, int y) {
    PlatScriptEvent ev;
    ev.time = at;
    ev.kind = kind;
    ev.a = x;
    ev.b = y;
    plat_script_add(ev);
}

void click_at(int x, int y) {
    const uint32_t now = plat_tick_count();
    add(now + 1, SCRIPT_MOUSE_MOVE, x, y);
    add(now + 2, SCRIPT_LEFT_DOWN, x, y);
    add(now + 3, SCRIPT_LEFT_UP, x, y);
}

// The grid: walk to the nearest scored piece whenever the figure is idle.
void aim_grid() {
    const GridGame& g = minigame_grid_state();
    if (g.phase != MG_RUNNING || g.state != GRID_IDLE) return;
    int best = -1, best_d = 1000;
    for (int row = 0; row < GRID_SIDE; ++row)
        for (int c = 0; c < GRID_SIDE; ++c) {
            const int kind = g.cells[row][c] & GRID_PIECE_MASK;
            if (kind < 2) continue;
            const int d = std::abs(c - g.column) + std::abs(row - g.row);
            if (d < best_d) best_d = d, best = row * GRID_SIDE + c;
        }
    if (best < 0) return;
    const GridPoint& p = grid_points[best / GRID_SIDE][best % GRID_SIDE];
    click_at(p.x, p.y);
    ++w.actions;
}

// The targets: a click on the lowest live target now and then.
void aim_targets() {
    const TargetGame& g = minigame_targets_state();
    if (g.phase != MG_RUNNING || g.ended) return;
    for (const TargetSlot& t : g.slots)
        if (t.x != 0 && t.kind < TARGET_HIT_MARK && t.y < TARGET_AREA_H - 30) {
            click_at(t.x, t.y);
            ++w.actions;
            return;
        }
}

// The catching game: a flick of the mouse toward the lowest falling object.
void steer_catch() {
    const CatchGame& g = minigame_steer_state();
    if (g.phase != MG_RUNNING || g.ended) return;
    int target = -1, lowest = 0;
    for (const CatchObject& o : g.objects)
        if (o.x != 0 && catch_kind(o) != CATCH_BOMB && o.y > lowest) {
            lowest = o.y;
            target = catch_drawn_x(o);
        }
    int mx = 0, my = 0;
    plat_get_cursor_pos(&mx, &my);
    if (target < 0 || std::abs(target - g.runner_x) < 20) return;
    const uint32_t now = plat_tick_count();
    add(now + 1, SCRIPT_MOUSE_MOVE, target < g.runner_x ? mx - 20 : mx + 20, my);
    ++w.actions;
}

uint8_t phase_now() {
    switch (w.kind) {
    case MINIGAME_GRID:
        return minigame_grid_state().phase;
    case MINIGAME_TARGETS:
        return minigame_targets_state().phase;
    default:
        return minigame_steer_state().phase;
    }
}

void watch() {
    if (screen_depth == 0) return;
    const uint8_t phase = phase_now();
    const uint32_t now = plat_tick_count();
    if (phase == MG_OPENING) {
        // The opening plays on the display over the scene the back buffer holds.
        if (w.opening_since == 0) w.opening_since = now;
        if (now > w.opening_since + 800 && w.opening_over_scene == 0) {
            PopupTest::save_shot(w.shot_running + "_opening");
            for (int y = 150; y < 250; ++y)
                for (int x = 170; x < 470; ++x)
                    w.opening_over_scene += PopupTest::screen_at(x, y) != PopupTest::back_at(x, y);
        }
    }
    if (phase == MG_RUNNING) {
        if (w.running_since == 0) w.running_since = now;
        if (!w.saw_running && now > w.running_since + 3000) {
            w.saw_running = true;
            PopupTest::save_shot(w.shot_running);
            for (int y = 0; y < BAND_H; ++y)
                for (int x = 0; x < SCREEN_W; ++x)
                    w.running_band[y * SCREEN_W + x] = PopupTest::screen_at(x, BAND_TOP + y);
            w.band_kept = true;
        }
        if (now >= w.next_action) {
            w.next_action = now + (w.kind == MINIGAME_STEER ? 150 : 300);
            if (w.kind == MINIGAME_GRID) aim_grid();
            if (w.kind == MINIGAME_TARGETS) aim_targets();
            if (w.kind == MINIGAME_STEER) steer_catch();
        }
    }
    if (w.kind == MINIGAME_STEER) {
        const CatchGame& g = minigame_steer_state();
        if (g.runner_x < w.runner_min_x) w.runner_min_x = g.runner_x;
        if (g.runner_x > w.runner_max_x) w.runner_max_x = g.runner_x;
        int mx = 0, my = 0;
        plat_get_cursor_pos(&mx, &my);
        if (mx == 0 || mx == SCREEN_W - 1) ++w.warps;
        if (g.explosion == 1 && w.explosion_since == 0) w.explosion_since = plat_tick_count();
        if (w.explosion_since && plat_tick_count() == w.explosion_since + 200)
            PopupTest::save_shot("minigame_catch_explosion");
    }
    const bool final_drawn = w.kind == MINIGAME_GRID ? phase == MG_FINAL : phase >= MG_FINAL;
    if (final_drawn && !w.saw_final && w.band_kept) {
        w.saw_final = true;
        PopupTest::save_shot(w.shot_final);
        for (int y = 0; y < BAND_H; ++y)
            for (int x = 0; x < SCREEN_W; ++x)
                if (PopupTest::screen_at(x, BAND_TOP + y) != w.running_band[y * SCREEN_W + x])
                    ++w.final_band_changed;
    }
}

class MinigameWindows : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        game_player_count = 2;
        player_table[0].control = CTRL_HUMAN;
        player_table[0].character = 2;
        player_table[1].control = CTRL_COMPUTER;
        game_active_mover = 0;
        settings_set_animations(1);
        paint_screen(BACKGROUND);
        app_active = 1;
        game_srand(21);
        shown_clear();
        w = Watch{};
        w.next_action = plat_tick_count();
        plat_set_cursor_hook(watch);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        PopupTest::TearDown();
    }
    // Plays the game and checks what every game does: its tune over the
    // music and the music back, its opening, its end by itself, its score.
    int play(MinigameKind kind, int (*game)(), int tune, const char* name) {
        w.kind = kind;
        w.shot_running = std::string("minigame_") + name;
        w.shot_final = std::string("minigame_") + name + "_final";
        const int depth = music_stack_depth;
        const uint32_t start = plat_tick_count();
        const int points = game();
        EXPECT_EQ(screen_depth, 0);
        EXPECT_EQ(points, minigame_points);
        EXPECT_EQ(shown_count(Shown::Music, tune), 1u);
        EXPECT_EQ(music_stack_depth, depth) << "the music before the game resumed";
        EXPECT_EQ(shown_count(Shown::Flc, MG_OPENING_ENTRY), 1u);
        EXPECT_GT(w.opening_over_scene, 10000) << "the opening's banner over the scene";
        EXPECT_TRUE(w.saw_running);
        EXPECT_TRUE(w.saw_final);
        EXPECT_GT(w.final_band_changed, 500) << "the final score in big digits";
        EXPECT_GT(w.actions, 3);
        EXPECT_LT(plat_tick_count() - start, 60000u) << "the game ended by itself";
        EXPECT_EQ(screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0)
            << "the screen under it put back";
        return points;
    }
};

TEST_F(MinigameWindows, TheGridGameIsPlayedToItsEndAndScoresWhatWasPickedUp) {
    const int points = play(MINIGAME_GRID, minigame_play_grid, MINIGAME_TUNE_GRID, "grid");
    EXPECT_GT(points, 0);
    EXPECT_EQ(points, minigame_grid_score(minigame_grid_state()));
    EXPECT_GE(shown_count(Shown::Effect, 11), 2u) << "walks";
    EXPECT_GE(shown_count(Shown::Effect, 12), 2u) << "arrivals";
    EXPECT_EQ(minigame_grid_state().phase, MG_CLOSED);
}

TEST_F(MinigameWindows, TheTargetGameIsPlayedToItsEndAndScoresItsHits) {
    const int points =
        play(MINIGAME_TARGETS, minigame_play_targets, MINIGAME_TUNE_TARGETS, "targets");
    EXPECT_GE(shown_count(Shown::Effect, 21), 3u) << "hits";
    EXPECT_EQ(points, minigame_targets_state().score);
    EXPECT_GE(shown_count(Shown::Effect, 19), 5u) << "targets came up";
}

TEST_F(MinigameWindows, TheCatchingGameIsSteeredByTheMouseToItsEnd) {
    const int points = play(MINIGAME_STEER, minigame_play_steer, MINIGAME_TUNE_STEER, "catch");
    const CatchGame& g = minigame_steer_state();
    EXPECT_EQ(points, catch_score(g));
    EXPECT_GT(w.warps, 0) << "the flicked mouse is put at an edge";
    EXPECT_LT(w.runner_min_x, CATCH_RUNNER_START_X);
    EXPECT_GT(w.runner_max_x, CATCH_RUNNER_START_X);
    EXPECT_EQ(g.pose, g.bomb_caught ? CATCH_BOMB_POSE : catch_pose_of_score(points));
    EXPECT_EQ(shown_count(Shown::Effect, 23), 1u) << "the running loop";
}

TEST_F(MinigameWindows, AfterATickThePanelIsCopiedWholeForANewScoreAndOnlyItsTimeElse) {
    ASSERT_TRUE(minigame_window_open(MINIGAME_TARGETS, 0));
    TargetGame& g = minigame_targets_state();
    g.phase = MG_RUNNING;
    const auto copied = [this](int left, int right) {
        return screen_differs(left, MG_PANEL_TOP, right, MG_PANEL_BOTTOM, BACKGROUND) > 0;
    };
    struct Case {
        int32_t time, score;
        bool time_area, score_area;
    };
    // Shown last: time 150, score 0.
    const Case cases[] = {{150, 0, false, false}, {149, 0, true, false}, {149, 5, true, true}};
    for (const Case& k : cases) {
        paint_screen(BACKGROUND);
        mgw.shown_time = 150;
        mgw.shown_score = 0;
        g.time = k.time;
        g.score = k.score;
        minigame_draw_scene(MINIGAME_TARGETS);
        mg_present(g.time, g.score);
        EXPECT_EQ(copied(MG_PANEL_LEFT, MG_TIME_RIGHT), k.time_area) << k.time << " " << k.score;
        EXPECT_EQ(copied(MG_TIME_RIGHT, MG_PANEL_RIGHT), k.score_area) << k.time << " " << k.score;
        EXPECT_GT(screen_differs(0, 0, SCREEN_W, MG_PANEL_TOP, BACKGROUND), 200000)
            << "the play area";
    }
    minigame_window_close(MINIGAME_TARGETS);
}

TEST_F(MinigameWindows, WithoutItsPicturesAGameDrawsNothingAndStillEndsByItself) {
    const std::string data_dir = plat_data_dir();
    const std::string empty = ::testing::TempDir() + "/minigame_no_pictures";
    std::filesystem::create_directories(empty);
    plat_set_data_dir(empty);
    int (*const games[])() = {minigame_play_grid, minigame_play_targets, minigame_play_steer};
    const MinigameKind kinds[] = {MINIGAME_GRID, MINIGAME_TARGETS, MINIGAME_STEER};
    // The screen trace names each game's own procedure.
    const char* const traced[] = {"karvo: screen minigame_grid_wndproc at depth 1\n",
                                  "karvo: screen minigame_targets_wndproc at depth 1\n",
                                  "karvo: screen minigame_steer_wndproc at depth 1\n"};
    setenv("KARVO_TRACE_SCREENS", "1", 1);
    for (int i = 0; i < 3; ++i) {
        w = Watch{};
        w.kind = kinds[i];
        paint_screen(BACKGROUND);
        const uint32_t start = plat_tick_count();
        testing::internal::CaptureStderr();
        const int points = games[i]();
        const std::string trace = testing::internal::GetCapturedStderr();
        EXPECT_NE(trace.find(traced[i]), std::string::npos) << trace;
        EXPECT_EQ(points, minigame_points);
        EXPECT_EQ(screen_depth, 0);
        EXPECT_LT(plat_tick_count() - start, 60000u) << "ended by itself";
        EXPECT_EQ(screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0)
            << "nothing drawn, nothing left";
    }
    EXPECT_EQ(minigame_grid_state().phase, MG_CLOSED);
    EXPECT_EQ(minigame_grid_score(minigame_grid_state()), 0) << "no hit image: no walk";
    unsetenv("KARVO_TRACE_SCREENS");
    plat_set_data_dir(data_dir);
}

} // namespace
