// The stage end: the runner's frames kept inside their set, the chooser's
// rows, the campaign's maps (a won map, the choice of the next, the ending
// films after the fourth) and the ten-second continue offer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/data_report.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "mkf_writer.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/setup_layout.h"
#include "shell/stage_end.h"
#include "shell/stage_end_layout.h"
#include "support/missing_data.h"
#include "support/popup_fixture.h"

namespace {

// The screen, when KARVO_SHOT_DIR names a directory, once the chooser rests.
uint32_t shot_at = 0;
bool shot_taken = false;
std::string shot_name = "stage_chooser";
void shoot() {
    if (shot_taken || screen_depth < 1 || plat_tick_count() < shot_at) return;
    shot_taken = true;
    PopupTest::save_shot(shot_name);
}

TEST(StageFrames, RunningFramesStayInsideSetsOfEveryCount) {
    for (int count = 0; count <= 30; ++count)
        for (int direction = 0; direction < 2; ++direction)
            for (int step = 0; step < 40; ++step) {
                const int f = stage_running_frame(count, direction, step);
                if (count < 7) {
                    EXPECT_EQ(f, 0) << "too few frames to run: the runner stands, count " << count;
                } else {
                    EXPECT_GE(f, 5) << count;
                    EXPECT_LT(f, count) << "count " << count << " direction " << direction;
                }
            }
    EXPECT_EQ(stage_running_frame(19, 0, 0), 5);
    EXPECT_EQ(stage_running_frame(19, 1, 0), 12);
    EXPECT_EQ(stage_running_frame(19, 1, 6), 18);
    EXPECT_EQ(stage_companion_frame(0, 4), 5);
    EXPECT_EQ(stage_companion_frame(1, 5), 18);
}

TEST(StageFrames, ChooserRowsAnswerOnlyInsideTheChooser) {
    struct Case {
        int x, y, row;
    };
    constexpr int x = STAGE_CHOOSER_X, top = STAGE_CHOOSER_TOP, h = STAGE_CHOOSER_ROW_H;
    constexpr int bottom = top + h * STAGE_CHOOSER_ROWS;
    const Case cases[] = {{x, top + 1, 0},
                          {x, top + h - 1, 0},
                          {x, top + h, 1},
                          {STAGE_CHOOSER_LEFT, bottom - 1, STAGE_CHOOSER_ROWS - 1},
                          {STAGE_CHOOSER_LEFT - 1, top + h / 2, -1},
                          {STAGE_CHOOSER_RIGHT + 1, top + h / 2, -1},
                          {x, top, -1},
                          {x, bottom, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(stage_chooser_row(c.x, c.y), c.row) << c.x << "," << c.y;
}

TEST(StageFrames, AClearedStampLiesWholeInsideThePictureItMarks) {
    struct Case {
        int target_w, target_h, w, h, x, y, left, top;
    };
    const Case cases[] = {
        {240, 40, 20, 12, 32, 22, 32, 22},      // inside: where it is aimed
        {240, 160, 20, 12, 220, 28, 220, 28},   // touching the right edge
        {240, 160, 44, 30, 220, 28, 196, 28},   // past the right edge: moved in
        {240, 160, 20, 12, 220, 150, 220, 148}, // past the bottom
        {240, 40, 44, 30, 32, 22, 32, 10},      // a taller stamp on a map's picture
        {30, 20, 40, 24, 15, 10, 0, 0},         // larger than the picture
        {240, 160, 20, 12, -5, -5, 0, 0},       // past the top-left
    };
    for (const Case& c : cases) {
        const StampOrigin o = stage_stamp_origin(c.target_w, c.target_h, c.w, c.h, c.x, c.y);
        EXPECT_EQ(o.left, c.left) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
        EXPECT_EQ(o.top, c.top) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
    }
}

class Campaign : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        std::memset(campaign_maps_cleared, 0, sizeof campaign_maps_cleared);
        app_active = 1;
        app_quit = 0;
        shown_clear();
        t0 = plat_tick_count();
        game_player_count = 2;
        player_table[0].control = CTRL_HUMAN;
        player_table[0].character = 3;
        player_table[1].control = CTRL_COMPUTER;
        player_table[1].character = 7;
        game_human_count = 1;
    }
    void TearDown() override {
        app_quit = 0;
        std::memset(campaign_maps_cleared, 0, sizeof campaign_maps_cleared);
        PopupTest::TearDown();
    }
    // The chooser's row of map m.
    static int row_y(int m) { return stage_chooser_row_middle(m); }
};

TEST_F(Campaign, AWonMapIsMarkedAndOnlyAMapNotClearedCanBeChosen) {
    game_map = 0;
    campaign_maps_cleared[3] = 1; // an earlier win: its stamp on the last row
    // The panel has come to rest by 2 s; map 0 (just won) is inert and silent.
    point_and_click(2000, STAGE_CHOOSER_X, row_y(0));
    point_and_click(2300, STAGE_CHOOSER_X, row_y(2));
    shot_at = t0 + 2250;
    shot_taken = false;
    plat_set_cursor_hook(shoot);
    stage_won();
    plat_set_cursor_hook(nullptr);
    EXPECT_EQ(campaign_maps_cleared[0], 1);
    EXPECT_EQ(game_map, 2);
    EXPECT_GE(plat_tick_count() - t0, 2300u + 450u) << "closed half a second after the choice";
    EXPECT_EQ(app_quit, 0);
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(Campaign, AnotherScreensTimerDoesNotHurryTheChoice) {
    game_map = 0;
    plat_set_timer(7, 20); // not the celebration's depth
    point_and_click(2000, STAGE_CHOOSER_X, row_y(2));
    stage_won();
    plat_kill_timer(7);
    EXPECT_EQ(game_map, 2);
    EXPECT_GE(plat_tick_count() - t0, 2000u + 450u) << "closed half a second after the choice";
}

// The celebration's screen a second in, the runner on its first run.
std::vector<uint16_t> first_run;
void take_first_run() {
    if (!first_run.empty() || screen_depth < 1 || plat_tick_count() < shot_at) return;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            first_run.push_back(PopupTest::screen_at(x, y));
}

TEST_F(Campaign, TheFirstRunnerRunsAtAHeightTheGamesGeneratorDraws) {
    game_human_count = 2;
    // Two seeds whose first draws put the runner high and low.
    uint32_t seeds[2] = {0, 0};
    int heights[2] = {0, 0};
    for (uint32_t seed = 1, found = 0; found < 2 && seed < 1000; ++seed) {
        game_srand(seed);
        const int h = game_rand() % STAGE_RUN_HEIGHTS + STAGE_RUN_TOP;
        if ((found == 0 && h < 160) || (found == 1 && h > 340)) {
            seeds[found] = seed;
            heights[found++] = h;
        }
    }
    ASSERT_NE(seeds[1], 0u);
    std::vector<uint16_t> seen[2];
    for (int i = 0; i < 2; ++i) {
        t0 = plat_tick_count();
        shot_at = t0 + 1000;
        first_run.clear();
        right_click(1500, 320, 240);
        game_srand(seeds[i]);
        plat_set_cursor_hook(take_first_run);
        stage_won();
        plat_set_cursor_hook(nullptr);
        ASSERT_EQ(first_run.size(), 640u * 480u);
        seen[i] = first_run;
    }
    // Rows where the two pictures differ: where either runner is.
    const auto differs_near = [&](int row) {
        for (int y = std::max(0, row - 30); y < std::min(480, row + 30); ++y)
            for (int x = 0; x < 640; ++x)
                if (seen[0][y * 640 + x] != seen[1][y * 640 + x]) return true;
        return false;
    };
    EXPECT_TRUE(differs_near(heights[0])) << "a runner at " << heights[0];
    EXPECT_TRUE(differs_near(heights[1])) << "a runner at " << heights[1];
}

TEST_F(Campaign, WithoutItsPicturesTheCelebrationStillEndsAndTellsWhyOnce) {
    // Its only entry, the first map's city, is cut short; the frames are missing.
    ArchiveWriter jump;
    mkf_writer_add_raw(jump, 0, Bytes(640 * 2, 0x11));
    game_human_count = 2; // congratulated, then ended by a right click
    expect_told_once_when_missing_or_damaged("JUMP.MKF", jump, [&] {
        std::memset(campaign_maps_cleared, 0, sizeof campaign_maps_cleared);
        for (int map : {0, 1}) { // twice: told the first time only
            game_map = map;
            t0 = plat_tick_count();
            right_click(500, 320, 240);
            stage_won();
            EXPECT_EQ(campaign_maps_cleared[map], 1);
        }
    });
}

TEST_F(Campaign, SeveralHumansAreCongratulatedAndARightClickEndsIt) {
    game_human_count = 2;
    game_map = 1;
    right_click(500, 320, 240);
    stage_won();
    EXPECT_EQ(campaign_maps_cleared[1], 1);
    EXPECT_EQ(game_map, 1) << "no map chosen";
    EXPECT_LT(plat_tick_count() - t0, 1000u);
}

TEST_F(Campaign, TheFourthMapEndsWithBothFilmsAndQuits) {
    campaign_maps_cleared[0] = campaign_maps_cleared[1] = campaign_maps_cleared[3] = 1;
    game_map = 2;
    stage_won();
    EXPECT_EQ(app_quit, 1);
    const ShownEvent* end = shown_find_text(Shown::Film, "END.AVI");
    const ShownEvent* over = shown_find_text(Shown::Film, "OVER.AVI");
    EXPECT_NE(end, nullptr);
    EXPECT_NE(over, nullptr);
    EXPECT_EQ(shown_count(Shown::Panel, JUMP_FRAME_SET), 0u) << "no celebration after the last map";
}

TEST_F(Campaign, TheContinueOfferIsDeclinedByWaitingOrTheNoKeyAndAcceptedByAClick) {
    character_state[3] = 1;
    character_state[7] = 2;
    at(t0 + 500, SCRIPT_KEY_DOWN, 0x4E); // the no key: nothing
    at(t0 + 550, SCRIPT_KEY_UP, 0x4E);
    shot_at = t0 + 3500;
    shot_taken = false;
    shot_name = "stage_countdown";
    plat_set_cursor_hook(shoot);
    EXPECT_EQ(stage_offer_continue(1), END_TO_TITLE);
    plat_set_cursor_hook(nullptr);
    EXPECT_GE(plat_tick_count() - t0, 10000u) << "ten seconds";
    EXPECT_LT(plat_tick_count() - t0, 11500u);
    EXPECT_EQ(character_state[7], 2) << "declined: nothing freed";

    t0 = plat_tick_count();
    at(t0 + 2500, SCRIPT_KEY_DOWN, settings.hotkeys[HK_YES]);
    at(t0 + 2550, SCRIPT_KEY_UP, settings.hotkeys[HK_YES]);
    player_table[0].control = CTRL_OUT;
    EXPECT_EQ(stage_offer_continue(1), END_LOAD_GAME);
    EXPECT_LT(plat_tick_count() - t0, 4000u);
    EXPECT_EQ(character_state[7], 0) << "the opponent free again";
    EXPECT_EQ(character_state[3], 1) << "the human's own character kept";
    EXPECT_EQ(player_table[0].control, CTRL_HUMAN);

    t0 = plat_tick_count();
    click(1500, 320, 240);
    shown_clear();
    EXPECT_EQ(stage_offer_continue(0), END_LOAD_GAME);
    EXPECT_EQ(shown_count(Shown::Flc, STAGE_CHEER_FLC_ENTRY), 1u) << "the cheer over the board";
}

TEST_F(Campaign, ACtrlChordYesKeyAcceptsOnlyWithCtrlHeld) {
    SettingsRecord keys = settings;
    keys.hotkeys[HK_YES] = 0x1159; // Ctrl+Y
    settings_replace(keys);
    at(t0 + 500, SCRIPT_KEY_DOWN, 0x59); // Y alone: nothing
    at(t0 + 550, SCRIPT_KEY_UP, 0x59);
    at(t0 + 2500, SCRIPT_KEY_DOWN, 0x11);
    at(t0 + 2520, SCRIPT_KEY_DOWN, 0x59);
    at(t0 + 2550, SCRIPT_KEY_UP, 0x59);
    at(t0 + 2570, SCRIPT_KEY_UP, 0x11);
    EXPECT_EQ(stage_offer_continue(1), END_LOAD_GAME);
    EXPECT_GE(plat_tick_count() - t0, 2550u) << "Y alone accepted nothing";
    EXPECT_LT(plat_tick_count() - t0, 4000u);
    keys.hotkeys[HK_YES] = cfg_default_hotkeys[HK_YES];
    settings_replace(keys);
}

// In play the board lies under the offer, its 500 ms blink timer running.
class OfferOverTheBoard : public Campaign {
  protected:
    void SetUp() override {
        Campaign::SetUp();
        ASSERT_TRUE(set_up_two_players());
        game_human_count = 1;
        game_active_mover = 0;
        board_load_graphics();
        app_services.board_wndproc = board_wndproc;
        screen_push_board(0);
        PlatMessage m;
        ASSERT_TRUE(plat_peek_message(&m, true));
        ASSERT_EQ(m.message, WM_SCREEN_START);
        plat_dispatch_message(&m);
        ASSERT_EQ(board_screen_active, 1);
        t0 = plat_tick_count();
    }
    void TearDown() override {
        screen_pop_board();
        board_free_graphics();
        Campaign::TearDown();
    }
};

TEST_F(OfferOverTheBoard, TheBoardsTimerDoesNotHastenTheTenSeconds) {
    shot_at = t0 + 3500;
    shot_taken = false;
    shot_name = "stage_countdown_over_board";
    plat_set_cursor_hook(shoot);
    EXPECT_EQ(stage_offer_continue(0), END_TO_TITLE);
    plat_set_cursor_hook(nullptr);
    EXPECT_GE(plat_tick_count() - t0, 10000u) << "ten seconds with the board below";
    EXPECT_LT(plat_tick_count() - t0, 11500u);
    EXPECT_EQ(screen_depth, 1) << "the board is still there";
}

} // namespace
