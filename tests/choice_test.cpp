#include "board/choice.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "board/choice_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"
#include "support/test_board.h"

namespace {

// ---- Rules, without a display

class ChoiceRules : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(test_board_load(TestBoardSize{4, 1, 2, 1, 2}));
        game_player_count = 2;
        player_table[0].control = CTRL_COMPUTER;
        player_table[1].control = CTRL_HUMAN;
        game_active_mover = 0;
    }
    void TearDown() override { game_world_reset(); }
    static FacilityLot& institute(int owner, int level) {
        FacilityLot& f = map_facility_table[1];
        f.kind = FK_RESEARCH_INSTITUTE;
        f.owner = owner_of_seat(owner);
        f.level = static_cast<uint8_t>(level);
        return f;
    }
};

TEST_F(ChoiceRules, AComputerOwnerStartsTheHighestOfferedItem) {
    FacilityLot& f = institute(0, 2);
    choose_research_item(1);
    EXPECT_EQ(f.research_item, 2); // slot 1, the time machine
    EXPECT_EQ(f.research_days, RESEARCH_DAYS);
    EXPECT_EQ(decision_asked_count(), 0);
}

TEST_F(ChoiceRules, AHumansResearchChoiceOutsideTheOfferedCellsCountsAsCancel) {
    FacilityLot& f = institute(1, 2);
    decision_script_push(3); // the teleporter is not offered at level 2
    choose_research_item(1);
    EXPECT_EQ(decision_last_kind(), DECIDE_RESEARCH_SLOT);
    EXPECT_EQ(f.research_item, 0);
    decision_script_push(0);
    choose_research_item(1);
    EXPECT_EQ(f.research_item, 1);
    EXPECT_EQ(f.research_days, RESEARCH_DAYS);
}

TEST_F(ChoiceRules, APlayerOutsideTheListOrACountOutsideTwoToFourIsNoChoice) {
    const int players[4] = {0, 2, 3, 1};
    decision_script_push(1); // not among the first three
    EXPECT_EQ(choose_player(3, players, "?"), -1);
    decision_script_push(3);
    EXPECT_EQ(choose_player(3, players, "?"), 3);
    const int asked = decision_asked_count();
    EXPECT_EQ(choose_player(1, players, "?"), -1);
    EXPECT_EQ(choose_player(5, players, "?"), -1);
    EXPECT_EQ(choose_player(2, nullptr, "?"), -1);
    EXPECT_EQ(decision_asked_count(), asked) << "nobody is asked";
}

TEST_F(ChoiceRules, TheFacilityKindIsCancelledOnlyWhereCancellingIsAllowed) {
    decision_script_push(-1);
    EXPECT_EQ(choose_facility_kind(0), FK_PARK);
    decision_script_push(-1);
    EXPECT_EQ(choose_facility_kind(1), -1);
    decision_script_push(7);
    EXPECT_EQ(choose_facility_kind(1), -1);
    decision_script_push(FK_HOTEL);
    EXPECT_EQ(choose_facility_kind(1), FK_HOTEL);
    // Without a display the windows answer at once.
    EXPECT_EQ(choose_facility_kind(0), FK_PARK);
    EXPECT_EQ(choose_facility_kind(1), -1);
}

TEST(ChoiceCells, CellsUnderThePoint) {
    constexpr int kx = CHOICE_KIND_X, ky = CHOICE_KIND_Y, side = CHOICE_KIND_CELL;
    EXPECT_EQ(choice_facility_cell(kx, ky), 0);
    EXPECT_EQ(choice_facility_cell(kx + 5 * side - 1, ky + side - 1), 4);
    EXPECT_EQ(choice_facility_cell(kx + 5 * side, ky + 14), -1);
    EXPECT_EQ(choice_facility_cell(kx + 50, ky - 1), -1);
    constexpr int x0 = 104, y0 = 287, w = CHOICE_PLAYER_CELL_W;
    EXPECT_EQ(choice_player_cell(x0 + 2 * w, y0 + 3, x0, y0, 3), 2);
    EXPECT_EQ(choice_player_cell(x0 + 3 * w, y0 + 3, x0, y0, 3), -1);
    EXPECT_EQ(choice_player_cell(x0 + 6, y0 + CHOICE_PLAYER_CELL_H, x0, y0, 3), -1);
    const PlatRect& research = CHOICE_RESEARCH_AREA;
    EXPECT_EQ(choice_research_cell(research.left, research.top), 0);
    EXPECT_EQ(choice_research_cell(research.right - 1, research.bottom - 1), 4);
    EXPECT_EQ(choice_research_cell(research.left - 1, research.top + 3), -1);
    EXPECT_EQ(choice_research_offered(2), 2);
    EXPECT_EQ(choice_research_offered(9), 5);
}

// ---- Windows, on a display

constexpr uint16_t BACKGROUND = 0x0842;

class ChoiceWindows : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        yellow = gfx_rgb_to_pixel(CHOICE_HOVER_RGB);
        samples.clear();
        probes.clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        game_world_reset();
        PopupTest::TearDown();
    }
    // Samples the back buffer at the probes whenever the window takes messages.
    void watch(std::vector<std::pair<int, int>> points) {
        probes = std::move(points);
        plat_set_cursor_hook([] {
            std::vector<uint16_t> s;
            for (const auto& [x, y] : probes)
                s.push_back(PopupTest::back_at(x, y));
            samples.push_back(s);
        });
    }
    // True when some sample shows exactly the probes of lit (bit i: probe i) in yellow.
    bool seen_lit(unsigned lit) const {
        for (const std::vector<uint16_t>& s : samples) {
            unsigned mask = 0;
            for (size_t i = 0; i < s.size(); ++i)
                if (s[i] == yellow) mask |= 1u << i;
            if (mask == lit) return true;
        }
        return false;
    }
    bool any_lit(size_t probe) const {
        for (const std::vector<uint16_t>& s : samples)
            if (s[probe] == yellow) return true;
        return false;
    }
    int board_differs() const {
        const PlatRect& a = LAYOUT_BOARD_AREA;
        return screen_differs(a.left, a.top, a.right, a.bottom, BACKGROUND);
    }

    uint16_t yellow = 0;
    static inline std::vector<std::pair<int, int>> probes;
    static inline std::vector<std::vector<uint16_t>> samples;
};

TEST_F(ChoiceWindows, TheKindWindowIgnoresTheRightButtonWithoutCancelAndFramesOnlyTheHoveredCell) {
    // Probes on the left edges of cells 0 and 2 (the pointer starts on cell 2).
    constexpr int kx = CHOICE_KIND_X, side = CHOICE_KIND_CELL, y = CHOICE_KIND_Y + 14;
    const int mid = CHOICE_KIND_Y + side / 2;
    watch({{kx, mid}, {kx + 2 * side, mid}});
    move(t0 + 100, kx + 10, y);
    right_click(200);
    point_and_click(300, kx + 3 * side + 10, y);
    EXPECT_EQ(choose_facility_window(0), FK_PETROL_STATION);
    EXPECT_TRUE(seen_lit(0b10)) << "cell 2 under the pointer at the start";
    EXPECT_TRUE(seen_lit(0b01)) << "cell 0 alone once the pointer moved";
    EXPECT_FALSE(seen_lit(0b11)) << "never two frames";
    EXPECT_EQ(board_differs(), 0) << "the board area restored";
    EXPECT_GE(shown_count(Shown::Effect, 0), 2u) << "a hover sound per new cell";
}

TEST_F(ChoiceWindows, TheKindWindowCancelsWithTheRightButtonWhenAllowed) {
    right_click(100);
    EXPECT_EQ(choose_facility_window(1), -1);
    EXPECT_EQ(board_differs(), 0);
}

TEST_F(ChoiceWindows, AScapegoatAmongThreeUsesTheThreePlayerStripAndMapsCellTwo) {
    const int players[3] = {3, 0, 2};
    for (int p = 0; p < 4; ++p)
        player_table[p].character = static_cast<uint8_t>(p * 2);
    // The three-player strip (frame 1) is 256 wide and 90 high.
    const int x0 = CHOICE_STRIP_X - 256 / 2 + CHOICE_STRIP_INSET,
              y0 = CHOICE_STRIP_Y - 90 / 2 + CHOICE_STRIP_INSET;
    const PlatRect third = choice_player_frame_rect(2, x0, y0),
                   first = choice_player_frame_rect(0, x0, y0);
    watch({{third.left, y0 + 30}, {first.left, y0 + 30}});
    point_and_click(100, x0 + 2 * CHOICE_PLAYER_CELL_W + 20, y0 + 20);
    EXPECT_EQ(choose_player_window(3, players, "请选择嫁祸对象..."), 2);
    EXPECT_TRUE(seen_lit(0b01));
    EXPECT_FALSE(any_lit(1));
    EXPECT_EQ(board_differs(), 0);
    EXPECT_EQ(choose_player_window(5, players, "?"), -1);
}

TEST_F(ChoiceWindows, AResearchCellNotOfferedDoesNotReact) {
    // Level 2: the robot worker and the time machine only.
    const PlatRect teleporter = choice_research_cell_rect(3), second = choice_research_cell_rect(1);
    watch({{teleporter.left, teleporter.top + 29}, {second.left, second.top + 29}});
    const int y = CHOICE_RESEARCH_AREA.top + 23;
    const int on_teleporter = choice_research_press_rect(3).left + 20;
    move(t0 + 100, on_teleporter, y);
    at(t0 + 150, SCRIPT_LEFT_DOWN, on_teleporter, y);
    at(t0 + 160, SCRIPT_LEFT_UP, on_teleporter, y);
    point_and_click(300, choice_research_press_rect(1).left + 20, y);
    EXPECT_EQ(choose_research_window(2), 1);
    EXPECT_FALSE(any_lit(0)) << "no frame on the teleporter";
    EXPECT_TRUE(seen_lit(0b10));
    EXPECT_EQ(board_differs(), 0);
}

TEST_F(ChoiceWindows, WithoutTheirPicturesTheWindowsStillAnswer) {
    void* panels = board_panel_set;
    board_panel_set = nullptr; // no message panel, no cells, no research panel
    point_and_click(100, CHOICE_KIND_X + 4 * CHOICE_KIND_CELL + 10, CHOICE_KIND_Y + 14);
    EXPECT_EQ(choose_facility_window(0), FK_RESEARCH_INSTITUTE);
    t0 = plat_tick_count();
    point_and_click(100, CHOICE_RESEARCH_AREA.left + 20, CHOICE_RESEARCH_AREA.top + 23);
    EXPECT_EQ(choose_research_window(1), 0);
    board_panel_set = panels;
    EXPECT_EQ(board_differs(), 0);
}

TEST_F(ChoiceWindows, WithoutADisplayTheWindowsAnswerAtOnce) {
    PlatSurface* back = back_surface;
    back_surface = nullptr;
    const int players[2] = {0, 1};
    EXPECT_EQ(choose_facility_window(0), FK_PARK);
    EXPECT_EQ(choose_facility_window(1), -1);
    EXPECT_EQ(choose_player_window(2, players, "?"), -1);
    EXPECT_EQ(choose_research_window(5), -1);
    back_surface = back;
}

} // namespace
