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
        EXPECT_GE(b.y, LAYOUT_BOARD_AREA.top) << "on the board area";
        EXPECT_LE(b.x + MAGIC_FATE_W, LAYOUT_BOARD_AREA.right);
        EXPECT_LE(b.y + MAGIC_FATE_H, LAYOUT_BOARD_AREA.bottom);
    }
    EXPECT_EQ(magic_fate_at(MAGIC_WHEEL_CX, MAGIC_WHEEL_CY), -1) << "the wheel";
    // Two faces side by side about the board's middle, three likewise.
    constexpr int MIDDLE = LAYOUT_BOARD_AREA.right / 2, HALF_CELL = MAGIC_FACE_CELL / 2;
    EXPECT_EQ(magic_face_at(MIDDLE - HALF_CELL, MAGIC_FACE_CY, 2), 0);
    EXPECT_EQ(magic_face_at(MIDDLE + HALF_CELL, MAGIC_FACE_CY, 2), 1);
    EXPECT_EQ(magic_face_at(MIDDLE, MAGIC_FACE_CY, 2), -1) << "between two faces";
    EXPECT_EQ(magic_face_at(MIDDLE, MAGIC_FACE_CY, 3), 1);
    EXPECT_EQ(magic_face_at(MIDDLE, MAGIC_FACE_CY - MAGIC_FACE_H, 3), -1);
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
    void click_fate(uint32_t ms, int f) {
        point_and_click(ms, magic_fate_table[f].x + 20, magic_fate_table[f].y + 10);
    }
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
    move(t0 + 800, magic_fate_table[FATE_STAY].x + 20, magic_fate_table[FATE_STAY].y + 10);
    click_fate(1000, FATE_DEPOSIT_CASH);
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

// With the animations on the host introduces the house, the wheel turns ten
// ticks and he says it is the visitor's turn; a right click during the
// introduction runs the rest as with the animations off (one tick, no "your
// turn"); a right click once the wheel turns does nothing.
TEST_F(MagicWindow, ARightClickDuringTheIntroductionRunsTheRestAsWithoutAnimations) {
    constexpr int WHEEL_TICK = 153; // the wheel's tick of EFFECT.MKF
    // The introduction's three lines take some 6 s, the wheel then 1 s
    // (0.1 s when quick) and the condition's line 2 s.
    const struct {
        const char* name;
        int animations;
        uint32_t skip_ms, wheel_ms, fate_ms; // 0: no skip
        size_t ticks;
        bool second_line, your_turn;
    } cases[] = {
        {"animations on", 1, 0, 6500, 12000, 10, true, true},
        {"introduction skipped", 1, 300, 2000, 4000, 1, false, false},
        {"animations off", 0, 0, 400, 3000, 1, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings_set_animations(c.animations);
        magic_set_observer(keep);
        t0 = plat_tick_count();
        shown_clear();
        if (c.skip_ms != 0) right_click(c.skip_ms);
        right_click(c.wheel_ms);
        click_fate(c.fate_ms, FATE_TURN_ROUND);
        magic_visit();
        EXPECT_EQ(g_report.fate, FATE_TURN_ROUND);
        EXPECT_EQ(shown_count(Shown::Effect, WHEEL_TICK), c.ticks);
        EXPECT_EQ(shown_find_text(Shown::Balloon, "#0037") != nullptr, c.animations == 1);
        EXPECT_EQ(shown_find_text(Shown::Balloon, "#0038") != nullptr, c.second_line);
        EXPECT_EQ(shown_find_text(Shown::Balloon, "#0040") != nullptr, c.your_turn);
        EXPECT_NE(shown_find_text(Shown::Balloon, "#0041"), nullptr) << "the spell's words";
    }
}

// The face strip and two face borders, early in the host's two questions
// and once both have been asked (some 4 s in).
struct FaceLook {
    uint32_t at = 0;
    bool taken = false;
    uint64_t strip = 0;
    uint16_t first_border = 0, pointed_border = 0;
};
FaceLook g_faces[2];

void look_at_faces(uint32_t t0) {
    for (FaceLook& f : g_faces) {
        if (f.taken || plat_tick_count() < t0 + f.at) continue;
        f.taken = true;
        const PlatRect first = magic_face_rect(0, 3), pointed = magic_face_rect(1, 3),
                       last = magic_face_rect(2, 3);
        for (int y = first.top; y < first.bottom; ++y)
            for (int x = first.left; x < last.right; ++x)
                f.strip = f.strip * 31 + PopupTest::screen_at(x, y);
        // Face 0's and face 1's (under the pointer) top-left border pixel.
        f.first_border = PopupTest::screen_at(first.left - 1, first.top - 1);
        f.pointed_border = PopupTest::screen_at(pointed.left - 1, pointed.top - 1);
    }
}

TEST_F(MagicWindow, ThePickAPlayerScreenShowsTheFacesAfterItsQuestionsAndGivesTheClickedOne) {
    static int board_changed = 0;
    static uint32_t start = 0;
    board_changed = 0;
    start = t0;
    g_faces[0] = FaceLook{1000};
    g_faces[1] = FaceLook{4500};
    g_shot = "magic_revenge";
    g_shot_after = t0 + 4800;
    plat_set_cursor_hook([] {
        const PlatRect& a = LAYOUT_BOARD_AREA;
        if (PopupTest::screen_differs(a.left, a.top, a.right, a.bottom, BACKGROUND) > 0)
            board_changed = 1;
        look_at_faces(start);
        look();
    });
    // Three others: faces 0, 1, 2 are players 1, 2, 3; the pointer rests
    // on the middle one from before the faces appear.
    const PlatRect middle = magic_face_rect(1, 3);
    const int x = (middle.left + middle.right) / 2;
    move(t0 + 300, x, MAGIC_FACE_CY);
    point_and_click(5000, x, MAGIC_FACE_CY);
    EXPECT_EQ(magic_pick_revenge_target(0), 2 + 1);
    EXPECT_EQ(board_changed, 1);
    ASSERT_TRUE(g_faces[0].taken && g_faces[1].taken);
    EXPECT_NE(g_faces[0].strip, g_faces[1].strip) << "the faces appear after the questions";
    EXPECT_NE(g_faces[1].pointed_border, g_faces[0].pointed_border) << "lit at once";
    EXPECT_EQ(g_faces[1].first_border, g_faces[0].first_border);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0042"), nullptr);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0043"), nullptr);
    EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u) << "the board repainted after";
    EXPECT_EQ(shown_count(Shown::Music, 7), 1u);
}

// A right click closes the pick-a-player screen naming nobody at any time:
// during the questions, once the faces are up, and during the closing spell.
TEST_F(MagicWindow, ARightClickOnThePickAPlayerScreenNamesNobodyAtAnyTime) {
    for (const uint32_t right_ms : {200u, 4600u, 5300u}) {
        SCOPED_TRACE(right_ms);
        t0 = plat_tick_count();
        const PlatRect middle = magic_face_rect(1, 3);
        point_and_click(5000, (middle.left + middle.right) / 2, MAGIC_FACE_CY);
        right_click(right_ms);
        EXPECT_EQ(magic_pick_revenge_target(0), 0);
        plat_script_reset();
    }
}

TEST_F(MagicWindow, AVisitDrawsAlikeShownOrAnsweredByScript) {
    magic_set_observer(keep);
    game_srand(21);
    click_fate(1000, FATE_STAY);
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
