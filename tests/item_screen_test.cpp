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
#include "engine/layout.h"
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

// The item menu's grid on the screen, and a cell's rectangle and centre.
constexpr int GRID_LEFT = ITEM_MENU_X + CARD_GRID_DX, GRID_TOP = ITEM_MENU_Y + CARD_GRID_DY;
constexpr int GRID_RIGHT = GRID_LEFT + CARD_CELL_W * CARD_CELL_COLUMNS;
constexpr int GRID_BOTTOM = GRID_TOP + CARD_CELL_H * CARD_GRID_ROWS;
PlatRect menu_cell(int cell) {
    const int x = GRID_LEFT + CARD_CELL_W * (cell % CARD_CELL_COLUMNS);
    const int y = GRID_TOP + CARD_CELL_H * (cell / CARD_CELL_COLUMNS);
    return {x, y, x + CARD_CELL_W, y + CARD_CELL_H};
}
int centre_x(const PlatRect& r) {
    return (r.left + r.right) / 2;
}
int centre_y(const PlatRect& r) {
    return (r.top + r.bottom) / 2;
}

TEST(ItemMenuCells, CellsAndFacesByScreenPoint) {
    const struct {
        int x, y, cell;
    } cells[] = {
        {GRID_LEFT, GRID_TOP, 0},
        {GRID_LEFT + CARD_CELL_W - 1, GRID_TOP + CARD_CELL_H - 1, 0},
        {GRID_LEFT + CARD_CELL_W, GRID_TOP, 1},
        {GRID_RIGHT - 1, GRID_BOTTOM - 1, CARD_CELL_COLUMNS * CARD_GRID_ROWS - 1},
        {GRID_RIGHT, GRID_TOP + CARD_CELL_H, -1},
        {GRID_LEFT + CARD_CELL_W, GRID_BOTTOM, -1},
        {GRID_LEFT - 1, GRID_TOP + CARD_CELL_H, -1},
    };
    for (const auto& c : cells)
        EXPECT_EQ(item_menu_cell_at(c.x, c.y), c.cell) << c.x << "," << c.y;
    const int face4 = ITEM_FACE_X + 3 * ITEM_FACE_STEP;
    const struct {
        int x, y, face;
        const char* where;
    } faces[] = {
        {ITEM_FACE_X, ITEM_FACE_Y, 1, "face 1's corner"},
        {ITEM_FACE_X + ITEM_FACE_W - 1, ITEM_FACE_Y + ITEM_FACE_H - 1, 1, "face 1's far corner"},
        {ITEM_FACE_X + ITEM_FACE_W, ITEM_FACE_Y + 6, 0, "the gap between faces"},
        {ITEM_FACE_X + 5 * ITEM_FACE_STEP, ITEM_FACE_Y + 6, 6, "face 6"},
        {ITEM_DICE_CURSOR_X, ITEM_DICE_CURSOR_Y, 0, "where the pointer is put: between 3 and 4"},
        {face4, ITEM_FACE_Y - 1, 0, "above the faces"},
        {face4, ITEM_FACE_Y + ITEM_FACE_H, 0, "below the faces"},
    };
    for (const auto& f : faces)
        EXPECT_EQ(item_dice_face_at(f.x, f.y), f.face) << f.where;
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
    // The board view's pixels that are not the background.
    static int board_changed() {
        const PlatRect& a = LAYOUT_BOARD_AREA;
        return screen_differs(a.left, a.top, a.right, a.bottom, BACKGROUND);
    }
};

TEST_F(ItemScreens, TheMenuClosesWithTheClickedItemAndPutsTheBoardBack) {
    ASSERT_EQ(item_add(0, ITEM_MINE), 1);
    ASSERT_EQ(item_add(0, ITEM_CAR), 1);
    player_table[0].travel = TRAVEL_MOTORBIKE;
    click(100, centre_x(menu_cell(1)), centre_y(menu_cell(1)));
    EXPECT_EQ(menu(), ITEM_CAR);
    EXPECT_EQ(board_changed(), 0);
    EXPECT_EQ(shown_count(Shown::Effect, 1), 1u) << "the click sound";
    t0 = plat_tick_count();
    const PlatRect dismount = menu_cell(ITEM_MENU_DISMOUNT_CELL);
    click(100, centre_x(dismount), centre_y(dismount));
    EXPECT_EQ(menu(), ITEM_DISMOUNT);
    t0 = plat_tick_count();
    click(100, centre_x(menu_cell(3)), centre_y(menu_cell(3))); // an empty cell: nothing
    right_click(200);
    EXPECT_EQ(menu(), 0);
    EXPECT_EQ(board_changed(), 0);
}

TEST_F(ItemScreens, TheMenuShowsItsPanelOverTheBoardWhileOpen) {
    ASSERT_EQ(item_add(0, ITEM_ROADBLOCK), 1);
    static int changed = 0;
    changed = 0;
    plat_set_cursor_hook([] {
        const PlatRect cell = menu_cell(0);
        if (PopupTest::back_at(ITEM_MENU_X + 1, ITEM_MENU_Y + 1) != BACKGROUND ||
            PopupTest::screen_differs(cell.left, cell.top, cell.right, cell.bottom, BACKGROUND) > 0)
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
    if (!g_dismount_cell.empty() ||
        PopupTest::screen_at(ITEM_MENU_X + 1, ITEM_MENU_Y + 1) == BACKGROUND)
        return;
    const PlatRect cell = menu_cell(ITEM_MENU_DISMOUNT_CELL);
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right; ++x)
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
    EXPECT_EQ(board_changed(), 0) << "the board put back";
}

TEST_F(ItemScreens, TheDiceWindowLightsTheHoveredFaceAndClosesWithTheClickedOne) {
    static std::vector<uint16_t> face2, face5;
    face2.clear();
    face5.clear();
    plat_set_cursor_hook([] {
        const PlatRect r2 = item_dice_face_rect(2), r5 = item_dice_face_rect(5);
        face2.push_back(PopupTest::back_at(r2.left + 2, r2.top + 2));
        face5.push_back(PopupTest::back_at(r5.left + 2, r5.top + 2));
    });
    const PlatRect r2 = item_dice_face_rect(2), r5 = item_dice_face_rect(5);
    move(t0 + 100, centre_x(r2), centre_y(r2));
    move(t0 + 200, centre_x(r5), centre_y(r5));
    click(300, centre_x(r5), centre_y(r5));
    EXPECT_EQ(faces(), 5);
    ASSERT_GE(face2.size(), 2u);
    bool face2_lit_then_plain = false;
    for (size_t i = 1; i < face2.size(); ++i)
        if (face2[i] != face2[i - 1]) face2_lit_then_plain = true;
    EXPECT_TRUE(face2_lit_then_plain);
    EXPECT_NE(face5.front(), face5.back()) << "face 5 lit once hovered";
    const PlatRect& a = ITEM_DICE_AREA;
    EXPECT_EQ(screen_differs(a.left, a.top, a.right, a.bottom, BACKGROUND), 0);
    EXPECT_EQ(shown_count(Shown::Effect, 1), 1u);
}

TEST_F(ItemScreens, TheDiceWindowPutsThePointerOnTheStripAndTheRightButtonCloses) {
    right_click(100);
    EXPECT_EQ(faces(), 0);
    int x = 0, y = 0;
    plat_get_cursor_pos(&x, &y);
    EXPECT_EQ(x, ITEM_DICE_CURSOR_X);
    EXPECT_EQ(y, ITEM_DICE_CURSOR_Y);
    EXPECT_EQ(shown_count(Shown::Effect, 4), 1u) << "the cancel sound (EFFECT.MKF 4)";
    EXPECT_EQ(screen_differs(0, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0);
}

TEST_F(ItemScreens, AHumansRemoteDiceComesFromTheWindow) {
    ASSERT_EQ(item_add(0, ITEM_REMOTE_DICE), 1);
    const PlatRect r3 = item_dice_face_rect(3);
    click(6000, centre_x(r3), centre_y(r3)); // face 3, after the user's line
    EXPECT_EQ(item_handler_table[ITEM_REMOTE_DICE](), 1);
    EXPECT_EQ(item_remote_dice_take(), 3);
}

} // namespace
