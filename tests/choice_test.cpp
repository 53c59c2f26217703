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
    EXPECT_EQ(choice_facility_cell(50, 286), 0);
    EXPECT_EQ(choice_facility_cell(389, 353), 4);
    EXPECT_EQ(choice_facility_cell(390, 300), -1);
    EXPECT_EQ(choice_facility_cell(100, 285), -1);
    EXPECT_EQ(choice_player_cell(104 + 160, 290, 104, 287, 3), 2);
    EXPECT_EQ(choice_player_cell(104 + 240, 290, 104, 287, 3), -1);
    EXPECT_EQ(choice_player_cell(110, 287 + 72, 104, 287, 3), -1);
    EXPECT_EQ(choice_research_cell(35, 297), 0);
    EXPECT_EQ(choice_research_cell(406, 351), 4);
    EXPECT_EQ(choice_research_cell(34, 300), -1);
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
    int board_differs() const { return screen_differs(0, 40, 440, 480, BACKGROUND); }

    uint16_t yellow = 0;
    static inline std::vector<std::pair<int, int>> probes;
    static inline std::vector<std::vector<uint16_t>> samples;
};

TEST_F(ChoiceWindows, TheKindWindowIgnoresTheRightButtonWithoutCancelAndFramesOnlyTheHoveredCell) {
    // Probes on the left edges of cells 0 and 2 (the pointer starts on cell 2).
    watch({{50, 320}, {50 + 2 * 68, 320}});
    move(t0 + 100, 60, 300);
    right_click(200);
    point_and_click(300, 50 + 3 * 68 + 10, 300);
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
    // The three-player strip (frame 1) is 256 wide, its cells from x 104, y 287.
    const int x0 = 220 - 128 + 12, y0 = 320 - 45 + 12;
    watch({{x0 + 160 - 3, y0 + 30}, {x0 - 3, y0 + 30}});
    point_and_click(100, x0 + 160 + 20, y0 + 20);
    EXPECT_EQ(choose_player_window(3, players, "请选择嫁祸对象..."), 2);
    EXPECT_TRUE(seen_lit(0b01));
    EXPECT_FALSE(any_lit(1));
    EXPECT_EQ(board_differs(), 0);
    EXPECT_EQ(choose_player_window(5, players, "?"), -1);
}

TEST_F(ChoiceWindows, AResearchCellNotOfferedDoesNotReact) {
    // Level 2: the robot worker and the time machine only.
    watch({{32 + 76 * 3, 294 + 29}, {32 + 76 * 1, 294 + 29}});
    move(t0 + 100, 35 + 76 * 3 + 20, 320);
    at(t0 + 150, SCRIPT_LEFT_DOWN, 35 + 76 * 3 + 20, 320);
    at(t0 + 160, SCRIPT_LEFT_UP, 35 + 76 * 3 + 20, 320);
    point_and_click(300, 35 + 76 + 20, 320);
    EXPECT_EQ(choose_research_window(2), 1);
    EXPECT_FALSE(any_lit(0)) << "no frame on the teleporter";
    EXPECT_TRUE(seen_lit(0b10));
    EXPECT_EQ(board_differs(), 0);
}

TEST_F(ChoiceWindows, WithoutTheirPicturesTheWindowsStillAnswer) {
    void* panels = board_panel_set;
    board_panel_set = nullptr; // no message panel, no cells, no research panel
    point_and_click(100, 50 + 4 * 68 + 10, 300);
    EXPECT_EQ(choose_facility_window(0), FK_RESEARCH_INSTITUTE);
    t0 = plat_tick_count();
    point_and_click(100, 35 + 20, 320);
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
