// The magic house's windows under scripted mouse input: the fate button
// clicked is the fate, the right button only cuts the introduction short,
// the pick-a-player screen's faces, the music and the board put back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/music.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/magic_house.h"
#include "finance/magic_house_screen.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/settings.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;

TEST(MagicHitTest, FateButtonsAndFacesByScreenPoint) {
    const MagicFate& first = magic_fate_table[0];
    EXPECT_EQ(magic_fate_at(first.x, first.y), 0);
    EXPECT_EQ(magic_fate_at(first.x + MAGIC_FATE_W - 1, first.y + MAGIC_FATE_H - 1), 0);
    EXPECT_EQ(magic_fate_at(first.x + MAGIC_FATE_W, first.y), -1);
    for (int f = 0; f < MAGIC_FATE_COUNT; ++f) {
        const MagicFate& b = magic_fate_table[f];
        EXPECT_EQ(magic_fate_at(b.x + 10, b.y + 10), f);
        EXPECT_GE(b.y, 40) << "on the board area";
        EXPECT_LE(b.x + MAGIC_FATE_W, 440);
        EXPECT_LE(b.y + MAGIC_FATE_H, 480);
    }
    EXPECT_EQ(magic_fate_at(220, 180), -1) << "the wheel";
    // Two faces side by side about the board's middle, three likewise.
    EXPECT_EQ(magic_face_at(220 - 45, 300, 2), 0);
    EXPECT_EQ(magic_face_at(220 + 45, 300, 2), 1);
    EXPECT_EQ(magic_face_at(220, 300, 2), -1) << "between two faces";
    EXPECT_EQ(magic_face_at(220, 300, 3), 1);
    EXPECT_EQ(magic_face_at(220, 200, 3), -1);
}

class MagicWindow : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        cards_fill_pools();
        game_srand(4);
        game_player_count = 4;
        for (int p = 0; p < 4; ++p) {
            player_table[p].control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
            player_table[p].character = static_cast<uint8_t>(p * 2);
            player_table[p].sex = 1;
        }
        game_active_mover = 0;
        settings_set_animations(0);
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        shown_clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        magic_set_observer(nullptr);
        settings_set_animations(1);
        PopupTest::TearDown();
    }
    void click(uint32_t ms, int x, int y) {
        at(t0 + ms, SCRIPT_MOUSE_MOVE, x, y);
        at(t0 + ms + 5, SCRIPT_LEFT_DOWN, x, y);
        at(t0 + ms + 10, SCRIPT_LEFT_UP, x, y);
    }
    void right_click(uint32_t ms) {
        at(t0 + ms, SCRIPT_RIGHT_DOWN);
        at(t0 + ms + 5, SCRIPT_RIGHT_UP);
    }
    static void click_fate(MagicWindow& t, uint32_t ms, int f) {
        t.click(ms, magic_fate_table[f].x + 20, magic_fate_table[f].y + 10);
    }
    uint32_t t0 = 0;
};

MagicReport g_report;
void keep(const MagicReport& r) {
    g_report = r;
}

// Whether the hovered button ever looked unlike a plain one, and a shot.
bool g_lit_seen = false;
std::string g_shot;
uint32_t g_shot_after = 0;
void look() {
    const MagicFate& b = magic_fate_table[FATE_STAY];
    const MagicFate& c = magic_fate_table[FATE_JAIL];
    const uint16_t hovered = PopupTest::screen_at(b.x + 3, b.y + 3);
    const uint16_t plain = PopupTest::screen_at(c.x + 3, c.y + 3);
    if (hovered != BACKGROUND && plain != BACKGROUND && hovered != plain) g_lit_seen = true;
    if (!g_shot.empty() && plat_tick_count() > g_shot_after) {
        PopupTest::save_shot(g_shot);
        g_shot.clear();
    }
}

TEST_F(MagicWindow, TheClickedFateButtonIsTheFateAndTheRightButtonDoesNothingOnceItTurns) {
    magic_set_observer(keep);
    g_lit_seen = false;
    g_shot = "magic_house";
    g_shot_after = t0 + 900;
    plat_set_cursor_hook(look);
    const int depth = music_stack_depth;
    right_click(400);
    at(t0 + 800, SCRIPT_MOUSE_MOVE, magic_fate_table[FATE_STAY].x + 20,
       magic_fate_table[FATE_STAY].y + 10);
    click_fate(*this, 1000, FATE_DEPOSIT_CASH);
    player_table[1].cash = 700;
    magic_visit();
    EXPECT_EQ(g_report.fate, FATE_DEPOSIT_CASH);
    EXPECT_EQ(shown_count(Shown::Music, 7), 1u);
    EXPECT_EQ(music_stack_depth, depth);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0041"), nullptr) << "the spell's words";
    EXPECT_EQ(shown_find_text(Shown::Balloon, "#0037"), nullptr) << "no introduction";
    EXPECT_TRUE(g_lit_seen) << "the hovered button lit";
    EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u);
}

TEST_F(MagicWindow, WithAnimationsTheHostIntroducesAndTheRightButtonSkipsIt) {
    settings_set_animations(1);
    magic_set_observer(keep);
    right_click(300);
    right_click(2000); // from the wheel on: nothing
    click_fate(*this, 8000, FATE_TURN_ROUND);
    magic_visit();
    EXPECT_EQ(g_report.fate, FATE_TURN_ROUND);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0037"), nullptr);
    EXPECT_EQ(shown_find_text(Shown::Balloon, "#0038"), nullptr) << "skipped";
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0040"), nullptr) << "your turn";
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0041"), nullptr);
}

TEST_F(MagicWindow, ThePickAPlayerScreenGivesTheClickedFaceOrNothing) {
    static int board_changed = 0;
    board_changed = 0;
    g_shot = "magic_revenge";
    g_shot_after = t0 + 2800;
    plat_set_cursor_hook([] {
        if (PopupTest::screen_differs(0, 40, 440, 480, BACKGROUND) > 0) board_changed = 1;
        look();
    });
    // Three others: faces 0, 1, 2 are players 1, 2, 3.
    at(t0 + 300, SCRIPT_MOUSE_MOVE, 220, 300);
    click(3000, 220, 300);
    EXPECT_EQ(magic_pick_revenge_target(0), 2 + 1);
    EXPECT_EQ(board_changed, 1);
    EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u) << "the board repainted after";
    EXPECT_EQ(shown_count(Shown::Music, 7), 1u);
    t0 = plat_tick_count();
    right_click(200);
    EXPECT_EQ(magic_pick_revenge_target(0), 0);
}

TEST_F(MagicWindow, AVisitDrawsAlikeShownOrAnsweredByScript) {
    magic_set_observer(keep);
    game_srand(21);
    click_fate(*this, 1000, FATE_STAY);
    magic_visit();
    const MagicReport shown = g_report;
    const uint32_t shown_seed = game_rand_seed();
    for (int p = 0; p < 4; ++p)
        player_table[p].stay_days = 0;
    game_srand(21);
    decision_script_push(FATE_STAY);
    magic_visit();
    EXPECT_EQ(g_report.condition, shown.condition);
    EXPECT_EQ(g_report.chosen, shown.chosen);
    EXPECT_EQ(game_rand_seed(), shown_seed);
}

} // namespace
