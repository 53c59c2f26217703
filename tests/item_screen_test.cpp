// The item menu and the remote dice's window under scripted mouse input:
// what they close with, the board area put back, the hovered face lit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/card_screen.h"
#include "cards/cards.h"
#include "cards/item_screen.h"
#include "cards/item_use.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;

TEST(ItemMenuCells, HeldKindsFillTheGridInOrderAndTheLastCellLeavesTheVehicle) {
    game_world_reset();
    cards_fill_pools();
    for (int n : {2, 5, 9, 13})
        ASSERT_EQ(item_add(0, n), 1);
    player_table[0].travel = TRAVEL_WALK;
    item_menu_fill_cells(0);
    EXPECT_EQ(item_menu_cells[0], 2);
    EXPECT_EQ(item_menu_cells[1], 5);
    EXPECT_EQ(item_menu_cells[2], 9);
    EXPECT_EQ(item_menu_cells[3], 13);
    EXPECT_EQ(item_menu_cells[4], 0);
    EXPECT_EQ(item_menu_cells[ITEM_MENU_DISMOUNT_CELL], 0) << "walking";
    for (int travel : {1, 2, 0x1F}) {
        player_table[0].travel = static_cast<uint8_t>(travel);
        item_menu_fill_cells(0);
        EXPECT_EQ(item_menu_cells[ITEM_MENU_DISMOUNT_CELL], travel == 0x1F ? 0 : ITEM_DISMOUNT)
            << travel;
    }
}

TEST(ItemMenuCells, CellsAndFacesByScreenPoint) {
    EXPECT_EQ(item_menu_cell_at(19, 135), 0);
    EXPECT_EQ(item_menu_cell_at(98, 190), 0);
    EXPECT_EQ(item_menu_cell_at(99, 135), 1);
    EXPECT_EQ(item_menu_cell_at(418, 302), 14);
    EXPECT_EQ(item_menu_cell_at(419, 200), -1);
    EXPECT_EQ(item_menu_cell_at(100, 303), -1);
    EXPECT_EQ(item_menu_cell_at(18, 200), -1);
    EXPECT_EQ(item_dice_face_at(104, 314), 1);
    EXPECT_EQ(item_dice_face_at(133, 343), 1);
    EXPECT_EQ(item_dice_face_at(134, 320), 0) << "the gap between faces";
    EXPECT_EQ(item_dice_face_at(304, 320), 6);
    EXPECT_EQ(item_dice_face_at(220, 320), 0) << "where the pointer is put: between 3 and 4";
    EXPECT_EQ(item_dice_face_at(220, 313), 0);
    EXPECT_EQ(item_dice_face_at(220, 344), 0);
}

class ItemScreens : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        cards_fill_pools();
        game_player_count = 2;
        player_table[0].control = CTRL_HUMAN;
        game_active_mover = 0;
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
        shown_clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        PopupTest::TearDown();
    }
    static int menu() {
        return item_menu_window(DecisionRequest{DECIDE_ITEM_PICK, 0, nullptr, 0, 0});
    }
    static int faces() {
        return item_dice_window(DecisionRequest{DECIDE_REMOTE_DICE, 0, nullptr, 0, 0});
    }
};

TEST_F(ItemScreens, TheMenuClosesWithTheClickedItemAndPutsTheBoardBack) {
    ASSERT_EQ(item_add(0, ITEM_MINE), 1);
    ASSERT_EQ(item_add(0, ITEM_CAR), 1);
    player_table[0].travel = TRAVEL_MOTORBIKE;
    click(100, 19 + 80 + 40, 135 + 28); // cell 1
    EXPECT_EQ(menu(), ITEM_CAR);
    EXPECT_EQ(screen_differs(0, 40, 440, 480, BACKGROUND), 0);
    EXPECT_EQ(shown_count(Shown::Effect, 1), 1u) << "the click sound";
    t0 = plat_tick_count();
    click(100, 19 + 4 * 80 + 40, 135 + 2 * 56 + 28); // the dismount cell
    EXPECT_EQ(menu(), ITEM_DISMOUNT);
    t0 = plat_tick_count();
    click(100, 19 + 3 * 80 + 40, 135 + 28); // an empty cell: nothing
    right_click(200);
    EXPECT_EQ(menu(), 0);
    EXPECT_EQ(screen_differs(0, 40, 440, 480, BACKGROUND), 0);
}

TEST_F(ItemScreens, TheMenuShowsItsPanelOverTheBoardWhileOpen) {
    ASSERT_EQ(item_add(0, ITEM_ROADBLOCK), 1);
    static int changed = 0;
    changed = 0;
    plat_set_cursor_hook([] {
        if (PopupTest::back_at(14 + 1, 130 + 1) != BACKGROUND ||
            PopupTest::screen_differs(19, 135, 99, 191, BACKGROUND) > 0)
            changed = 1;
    });
    move(t0 + 100, 60, 160);
    right_click(300);
    EXPECT_EQ(menu(), 0);
    EXPECT_EQ(changed, 1) << "the held item drawn in its cell";
}

// The dismount cell's pixels while the menu is open, and a shot of the
// screen when KARVO_SHOT_DIR names a directory.
std::vector<uint16_t> g_dismount_cell;
std::string g_shot_name;
void look_at_menu() {
    if (!g_dismount_cell.empty() || PopupTest::screen_at(14 + 1, 130 + 1) == BACKGROUND) return;
    // Cell 14 of the grid: x 339..418, y 247..302.
    for (int y = 247; y < 303; ++y)
        for (int x = 339; x < 419; ++x)
            g_dismount_cell.push_back(PopupTest::screen_at(x, y));
    PopupTest::save_shot(g_shot_name);
}

TEST_F(ItemScreens, TheVehicleIsShownOnTheDismountCellOnlyWhileRiding) {
    ASSERT_EQ(item_add(0, ITEM_MINE), 1);
    ASSERT_EQ(item_add(0, ITEM_MINE), 1);
    ASSERT_EQ(item_add(0, ITEM_CAR), 1);
    ASSERT_EQ(item_add(0, ITEM_NUCLEAR_MISSILE), 1);
    plat_set_cursor_hook(look_at_menu);
    std::vector<uint16_t> cells[3];
    const uint8_t travel[3] = {TRAVEL_WALK, TRAVEL_MOTORBIKE, TRAVEL_CAR};
    const char* names[3] = {"item_menu_walking", "item_menu_motorbike", "item_menu_car"};
    for (int i = 0; i < 3; ++i) {
        player_table[0].travel = travel[i];
        g_dismount_cell.clear();
        g_shot_name = names[i];
        t0 = plat_tick_count();
        move(t0 + 100, 60, 160);
        right_click(300);
        EXPECT_EQ(menu(), 0);
        cells[i] = g_dismount_cell;
        ASSERT_FALSE(cells[i].empty()) << names[i];
    }
    // Walking, the cell is the panel's empty cell; riding, it shows the
    // motorbike or the car, each its own picture.
    EXPECT_NE(cells[0], cells[1]);
    EXPECT_NE(cells[0], cells[2]);
    EXPECT_NE(cells[1], cells[2]);
    EXPECT_EQ(screen_differs(0, 40, 440, 480, BACKGROUND), 0) << "the board put back";
}

TEST_F(ItemScreens, TheDiceWindowLightsTheHoveredFaceAndClosesWithTheClickedOne) {
    static std::vector<uint16_t> face2, face5;
    face2.clear();
    face5.clear();
    plat_set_cursor_hook([] {
        face2.push_back(PopupTest::back_at(144 + 2, 314 + 2));
        face5.push_back(PopupTest::back_at(264 + 2, 314 + 2));
    });
    move(t0 + 100, 150, 320); // face 2
    move(t0 + 200, 270, 320); // face 5
    click(300, 270, 320);
    EXPECT_EQ(faces(), 5);
    ASSERT_GE(face2.size(), 2u);
    bool face2_lit_then_plain = false;
    for (size_t i = 1; i < face2.size(); ++i)
        if (face2[i] != face2[i - 1]) face2_lit_then_plain = true;
    EXPECT_TRUE(face2_lit_then_plain);
    EXPECT_NE(face5.front(), face5.back()) << "face 5 lit once hovered";
    EXPECT_EQ(screen_differs(92, 300, 348, 355, BACKGROUND), 0);
    EXPECT_EQ(shown_count(Shown::Effect, 1), 1u);
}

TEST_F(ItemScreens, TheDiceWindowPutsThePointerOnTheStripAndTheRightButtonCloses) {
    right_click(100);
    EXPECT_EQ(faces(), 0);
    int x = 0, y = 0;
    plat_get_cursor_pos(&x, &y);
    EXPECT_EQ(x, 220);
    EXPECT_EQ(y, 320);
    EXPECT_EQ(shown_count(Shown::Effect, 4), 1u) << "the cancel sound (EFFECT.MKF 4)";
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

TEST_F(ItemScreens, AHumansRemoteDiceComesFromTheWindow) {
    ASSERT_EQ(item_add(0, ITEM_REMOTE_DICE), 1);
    click(6000, 104 + 40 * 2 + 10, 320); // face 3, after the user's line
    EXPECT_EQ(item_handler_table[ITEM_REMOTE_DICE](), 1);
    EXPECT_EQ(item_remote_dice_take(), 3);
}

} // namespace
