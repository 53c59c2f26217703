// The board screen: regions, the flush, tabs, the toolbar's load command,
// the minimap's clicks and the control box, drawn from the stand-in data.
// With KARVO_SHOT_DIR set the whole screen is written there as a BMP.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/board_panel_sets.h"
#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/toolbar.h"
#include "board/turn.h"
#include "board/turn_flow.h"
#include "board/view.h"
#include "board/view_sets.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/text.h"
#include "engine/util.h"
#include "finance/stock.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "shell/keyboard.h"
#include "shell/save.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "support/map_fixture.h"

namespace {

int32_t lp(int x, int y) {
    return static_cast<int32_t>((static_cast<uint32_t>(y) << 16) | static_cast<uint16_t>(x));
}

int loaded_result = -1;

class BoardScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        map_fixture_reset();
        gfx_pixel_format_reset();
        gfx_reset();
        primary_surface = plat_surface_create(640, 480, true);
        back_surface = plat_surface_create(640, 480, false);
        // The engine draws in its reset format: the surfaces say so.
        plat_surface_set_format(primary_surface, PLAT_RGB555);
        plat_surface_set_format(back_surface, PLAT_RGB555);
        text_init();
        data_archive = mkf_open("data.mkf");
        settings_set_side_panel_layout(0);
        game_map = 1;
        game_player_count = 4;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            player_table[p] = character_table[p * 2 + 1];
            player_table[p].setup_control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
        }
        stock_new_game(game_map);
        ASSERT_TRUE(map_load()) << map_last_error();
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            PlayerRecord& r = player_table[p];
            const int s = 1 + p;
            r.square = static_cast<uint16_t>(s);
            r.x = static_cast<uint16_t>(map_square_table[s].x);
            r.y = static_cast<uint16_t>(map_square_table[s].y);
            r.control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
            r.dice = 1;
            map_square_table[s].flags |= sqf_player(p);
            actor_update_sprites(p);
        }
        for (int i = 1; i <= map_lot_count; ++i) {
            map_lot_table[i].owner = owner_of_seat(i % 4);
            map_lot_table[i].level = static_cast<uint8_t>(i % 6);
        }
        view_draw_minimap_marks(0);
        game_active_mover = 0;
        board_load_graphics();
        board_copy_count = 0;
        board_dirty = 0;
        saved_load = app_services.save_load_screen;
    }
    void TearDown() override {
        app_services.save_load_screen = saved_load;
        board_input_enabled = 0;
        view_hitmap = nullptr; // a test's own hit map
        board_free_graphics();
        if (data_archive >= 0) mkf_close(data_archive);
        data_archive = -1;
        text_shutdown();
        plat_surface_release(back_surface);
        plat_surface_release(primary_surface);
        back_surface = primary_surface = nullptr;
        settings_set_side_panel_layout(0);
        // A test that loads a game read the map's pictures and the movers'
        // sprites; the world reset below would only forget them.
        view_free_map_graphics();
        map_fixture_reset();
    }
    uint16_t back(int x, int y) const { return back_surface->pixels[y * 640 + x]; }
    uint16_t shown(int x, int y) const { return primary_surface->pixels[y * 640 + x]; }
    int (*saved_load)(int) = nullptr;
};

TEST_F(BoardScreenTest, TwoDrawsBeforeAFlushCopyOnceWithTheLaterValues) {
    player_table[0].colour = 0x20C020;
    board_draw_side_panel(0);
    player_table[0].colour = 0xC02020;
    board_draw_side_panel(0);
    EXPECT_EQ(board_dirty, DIRTY_TOP | DIRTY_MIDDLE);
    EXPECT_EQ(board_copy_count, 0u);
    board_flush_dirty();
    EXPECT_EQ(board_copy_count, 2u); // regions 4 and 8, once each
    EXPECT_EQ(board_dirty, 0);
    // The colour bar shows the later colour.
    EXPECT_EQ(shown(560, 60), gfx_rgb_to_pixel(0xC02020));
}

TEST_F(BoardScreenTest, WithEveryRegionDirtyTheFlushCopiesTheScreenAtOnce) {
    board_repaint(0);
    EXPECT_EQ(board_dirty, DIRTY_ALL);
    board_flush_dirty();
    EXPECT_EQ(board_copy_count, 1u);
    EXPECT_EQ(std::memcmp(primary_surface->pixels, back_surface->pixels, 640 * 480 * 2), 0);
    // Regions one by one otherwise, in the order 1, 2, 4, 8, 0x10.
    board_copy_count = 0;
    board_dirty = DIRTY_TOOLBAR | DIRTY_BOTTOM | DIRTY_VIEW;
    board_flush_dirty();
    EXPECT_EQ(board_copy_count, 3u);
}

TEST_F(BoardScreenTest, EachPlayerKeepsItsOwnSelectedTab) {
    board_input_enabled = 1;
    game_active_mover = 2;
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(620, 3 * 70 + 10));
    EXPECT_EQ(board_tabs[2], 3);
    game_active_mover = 3;
    board_draw_side_panel(0);
    EXPECT_EQ(board_tabs[3], 0);
    // Page 0's picture under player 3, page 3's again for player 2.
    const uint16_t page0 = back(450, 200);
    game_active_mover = 2;
    board_draw_side_panel(0);
    EXPECT_NE(back(450, 200), page0);
}

TEST_F(BoardScreenTest, LoadingAGameLeavesInputDisabledCancellingEnablesIt) {
    actor_anim_table[0].phase = PHASE_WAIT;
    for (int result : {-1, 2}) {
        SCOPED_TRACE(result);
        loaded_result = result;
        app_services.save_load_screen = [](int) { return loaded_result; };
        board_input_enabled = 1;
        board_toolbar_command(TOOLBAR_LOAD);
        EXPECT_EQ(board_input_enabled, result == -1 ? 1 : 0);
    }
}

TEST_F(BoardScreenTest, MinimapClicksJumpAndARightClickWithoutTargetDoesNothing) {
    settings_set_side_panel_layout(1);
    board_input_enabled = 1;
    view_draw_board(player_table[0].x, player_table[0].y);
    const int cx = view_camera_x, cy = view_camera_y;
    board_wndproc(nullptr, WM_RBUTTONUP, 0, lp(540, 380));
    EXPECT_EQ(board_scroll_target, 0);
    EXPECT_EQ(view_camera_x, cx);
    EXPECT_EQ(view_camera_y, cy);
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(540, 380));
    EXPECT_EQ(board_scroll_target, 1);
    EXPECT_EQ(board_scroll_x, static_cast<int>(100 * 11.625));
    EXPECT_EQ(board_scroll_y, static_cast<int>(100 * 11.625));
    EXPECT_EQ(view_camera_x, board_scroll_x);
    board_wndproc(nullptr, WM_LBUTTONUP, 0, lp(540, 380));
    board_wndproc(nullptr, WM_RBUTTONUP, 0, lp(540, 380));
    EXPECT_EQ(board_scroll_target, 0);
    EXPECT_EQ(view_camera_x, player_table[0].x);
    // The rotation buttons turn the view by one step either way.
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(480, 285));
    board_wndproc(nullptr, WM_LBUTTONUP, 0, lp(480, 285));
    EXPECT_EQ(view_rotation, 1);
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(450, 285));
    board_wndproc(nullptr, WM_LBUTTONUP, 0, lp(450, 285));
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(450, 285));
    board_wndproc(nullptr, WM_LBUTTONUP, 0, lp(450, 285));
    EXPECT_EQ(view_rotation, 7);
    view_rotation = 0;
}

TEST_F(BoardScreenTest, TheChairmanshipCountCountsTheMapsCompanyBuildings) {
    for (int i = 1; i <= map_company_count; ++i)
        map_company_table[i].chairman = i % 2 ? owner_of_seat(1) : OWNER_NONE;
    int expect = 0;
    for (int i = 1; i <= map_company_count; ++i)
        expect += i % 2;
    EXPECT_EQ(map_chair_count(1), expect);
    EXPECT_EQ(map_chair_count(0), 0);
}

TEST_F(BoardScreenTest, TheControlBoxIsRestoredUnderItsOldPlaceAndPicksDiceByRow) {
    board_repaint(1);
    const std::vector<uint16_t> before(primary_surface->pixels,
                                       primary_surface->pixels + 640 * 480);
    board_input_enable();
    EXPECT_NE(shown(board_box_x + 60, board_box_y + 48),
              before[(board_box_y + 48) * 640 + board_box_x + 60]);
    // Dragged by its title bar to another place: the old place shows the board again.
    const int ox = board_box_x, oy = board_box_y;
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(ox + 10, oy + 5));
    board_wndproc(nullptr, WM_MOUSEMOVE, 0, lp(ox + 10 + 200, oy + 5 + 150));
    board_wndproc(nullptr, WM_LBUTTONUP, 0, lp(ox + 210, oy + 155));
    EXPECT_EQ(board_box_x, ox + 200);
    EXPECT_EQ(board_box_y, oy + 150);
    EXPECT_EQ(shown(ox + 60, oy + 48), before[(oy + 48) * 640 + ox + 60]);
    // In a car, the selector's row picks one to three dice.
    player_table[0].travel = TRAVEL_CAR;
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(board_box_x + 10, board_box_y + BOX_H - 4));
    EXPECT_EQ(player_table[0].dice, 3);
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(board_box_x + 10, board_box_y + 20));
    EXPECT_EQ(player_table[0].dice, 1);
    board_input_disable();
    board_box_x = 180, board_box_y = 120;
    if (const char* dir = std::getenv("KARVO_SHOT_DIR")) {
        board_repaint(1);
        board_input_enable();
        const std::string path = std::string(dir) + "/board_screen.bmp";
        EXPECT_TRUE(plat_surface_save_bmp(primary_surface, path.c_str())) << path;
    }
}

TEST_F(BoardScreenTest, TheInformationPopupNamesWhatWasClickedBesideTheClick) {
    // A level-3 plot of player 1, a hotel at level 2, a company, a player.
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = owner_of_seat(1);
        map_lot_table[i].level = 3;
        map_lot_table[i].chain_store = 0;
    }
    board_input_enabled = 1;
    board_repaint(1);
    int lot = 0, x = 0, y = 0;
    for (int i = 1; i <= map_lot_count && !lot; ++i)
        if (view_object_screen_pos(OBJ_LOT_BASE + i, &x, &y, nullptr) && x > 20 && x < 420 &&
            y > 80 && y < 470)
            lot = i;
    ASSERT_NE(lot, 0);
    const std::vector<uint16_t> before(primary_surface->pixels,
                                       primary_surface->pixels + 640 * 480);
    shown_clear();
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(x, y - 6));
    const ShownEvent* e = shown_find_text(Shown::Panel, "三级");
    ASSERT_NE(e, nullptr);
    char name[32];
    util_strip_spaces(name, player_name(1));
    EXPECT_NE(e->text.find(name), std::string::npos);
    EXPECT_NE(e->text.find("公  寓"), std::string::npos);
    // Opened right of the click (left past x 301), below it (above from 116 into the view).
    const int px = x > 301 ? x - 139 : x, py = y - 6 - 40 >= 116 ? y - 6 - 116 : y - 6;
    int changed = 0;
    for (int yy = py; yy < py + 116; ++yy)
        for (int xx = std::max(px, 0); xx < std::min(px + 139, 640); ++xx)
            changed += shown(xx, yy) != before[yy * 640 + xx];
    EXPECT_GT(changed, 139 * 116 / 2);
    // The next mouse move restores the screen under it.
    board_wndproc(nullptr, WM_MOUSEMOVE, 0, lp(x, y));
    int left = 0;
    for (int yy = py; yy < py + 116; ++yy)
        for (int xx = std::max(px, 0); xx < std::min(px + 139, 640); ++xx)
            left += shown(xx, yy) != before[yy * 640 + xx];
    EXPECT_EQ(left, 0);
}

TEST_F(BoardScreenTest, APlotTheTollHighlightMarkedOpensNoPopup) {
    // The program's hit map, as the start-up allocates it.
    std::vector<uint16_t> program_hitmap(size_t{VIEW_HITMAP_SIDE} * VIEW_HITMAP_SIDE);
    view_hitmap = program_hitmap.data();
    board_input_enabled = 1;
    board_repaint(1);
    view_hitmap_build(1);
    int lot = 0, x = 0, y = 0;
    for (int i = 1; i <= map_lot_count && !lot; ++i)
        if (view_object_screen_pos(OBJ_LOT_BASE + i, &x, &y, nullptr) && x > 20 && x < 420 &&
            y > 80 && y < 470 && view_hitmap_at(x, y - 6 - 40) == OBJ_LOT_BASE + i)
            lot = i;
    ASSERT_NE(lot, 0);
    // As the toll highlight does: the plot's pixels become 0xFFFF, which reads
    // as occupants with slot bits no god slot has.
    gfx_replace_pixel(view_hitmap, size_t{VIEW_HITMAP_SIDE} * VIEW_HITMAP_SIDE,
                      static_cast<uint16_t>(OBJ_LOT_BASE + lot), 0xFFFF);
    ASSERT_EQ(view_hitmap_at(x, y - 6 - 40), 0xFFFF);
    shown_clear();
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(x, y - 6));
    EXPECT_EQ(shown_count(Shown::Panel), 0u);
}

TEST_F(BoardScreenTest, ThePopupsLinesFollowTheObjectsKind) {
    board_input_enabled = 1;
    board_repaint(1);
    // A player: its name; the hit map puts the player over its square.
    int x, y;
    ASSERT_TRUE(view_object_screen_pos(OBJ_OCCUPANTS | 1, &x, &y, nullptr));
    shown_clear();
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(x, y - 10));
    char name[32];
    util_strip_spaces(name, player_name(0));
    ASSERT_NE(shown_find_text(Shown::Panel, name), nullptr);
    EXPECT_EQ(shown_log().back().kind, Shown::Effect);
    board_wndproc(nullptr, WM_LBUTTONUP, 0, lp(x, y - 10));
    // A company building: chairman, name and the shares it still holds.
    for (int i = 1; i <= map_company_count; ++i) {
        map_company_table[i].chairman = owner_of_seat(0);
        map_company_table[i].own_shares = 1234;
    }
    // The view centred on company building 1.
    board_view_refresh(map_company_table[1].x, map_company_table[1].y, 0);
    ASSERT_TRUE(view_object_screen_pos(OBJ_COMPANY_BASE + 1, &x, &y, nullptr));
    EXPECT_EQ(x, 220);
    shown_clear();
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(x, y - 20));
    EXPECT_NE(shown_find_text(Shown::Panel, "余股:1234"), nullptr);
    EXPECT_NE(shown_find_text(Shown::Panel, map_company_table[1].name), nullptr);
}

// A point of the board view where a click finds the object: near its
// anchor, on a pixel the hit map gives to it. False when none is found.
bool click_point(int code, int* cx, int* cy) {
    int x, y;
    if (!view_object_screen_pos(code, &x, &y, nullptr)) return false;
    for (int dy = 0; dy < 48; ++dy)
        for (int dx = -16; dx <= 16; ++dx) {
            const int px = x + dx, py = y - dy;
            if (px < 0 || px >= 440 || py < 40 || py >= 480) continue;
            if (view_hitmap_at(px, py - 40) == code) {
                *cx = px, *cy = py;
                return true;
            }
        }
    return false;
}

// The lines of the popup opened by a click on the object, after the view
// is centred on it.
std::vector<std::string> popup_for(int code) {
    int wx = 0, wy = 0;
    if (!map_object_position(code, &wx, &wy)) return {};
    board_view_refresh(wx, wy, 0);
    int x, y;
    if (!click_point(code, &x, &y)) return {};
    shown_clear();
    board_wndproc(nullptr, WM_LBUTTONDOWN, 0, lp(x, y));
    board_wndproc(nullptr, WM_LBUTTONUP, 0, lp(x, y));
    std::vector<std::string> lines;
    for (const ShownEvent& e : shown_log())
        if (e.kind == Shown::Panel && e.number == code) {
            size_t at = 0;
            for (size_t nl; (nl = e.text.find('\n', at)) != std::string::npos; at = nl + 1)
                lines.push_back(e.text.substr(at, nl - at));
        }
    return lines;
}

std::string dollars(int32_t v) {
    char t[UTIL_THOUSANDS_BUF];
    util_format_thousands(t, v);
    return std::string("$") + t;
}

TEST_F(BoardScreenTest, ThePopupShowsTheTollItsOwnerCollectsForEverySeatAChainStoreAndAHotel) {
    game_price_index = 3;
    board_input_enabled = 1;
    board_repaint(1);
    const LandLot& first = map_lot_table[1];
    std::vector<int> street, others;
    for (int i = 1; i <= map_lot_count; ++i)
        (std::strncmp(map_lot_table[i].street, first.street, sizeof first.street) == 0 ? street
                                                                                       : others)
            .push_back(i);
    ASSERT_GE(street.size(), 2u);
    ASSERT_FALSE(others.empty());
    for (int seat = 0; seat < PLAYER_COUNT; ++seat) {
        SCOPED_TRACE(seat);
        for (int i = 1; i <= map_lot_count; ++i) {
            LandLot& l = map_lot_table[i];
            l.owner = OWNER_NONE, l.level = 1, l.chain_store = 0;
        }
        // The street's plots at several levels; a plot of another street of
        // the same owner adds nothing.
        int32_t tolls = 0;
        for (size_t k = 0; k < street.size(); ++k) {
            LandLot& l = map_lot_table[street[k]];
            l.owner = owner_of_seat(seat);
            l.level = static_cast<uint8_t>((seat + k) % 6);
            tolls += l.toll[l.level];
        }
        map_lot_table[others[0]].owner = owner_of_seat(seat);
        map_lot_table[others[0]].level = 5;
        board_view_refresh(0, 0, 1);
        const std::vector<std::string> lines = popup_for(OBJ_LOT_BASE + street[0]);
        ASSERT_EQ(lines.size(), 4u);
        char name[32];
        util_strip_spaces(name, player_name(seat));
        EXPECT_EQ(lines[0], name);
        EXPECT_EQ(lines[3], dollars(tolls * 3));
    }
    // A chain store: 2000 a store times the index, by the owner's stores.
    for (int i = 1; i <= map_lot_count; ++i)
        map_lot_table[i].owner = OWNER_NONE, map_lot_table[i].chain_store = 0;
    for (int k : {street[0], others[0]}) {
        map_lot_table[k].owner = owner_of_seat(1), map_lot_table[k].level = 1,
        map_lot_table[k].chain_store = 1;
    }
    board_view_refresh(0, 0, 1);
    std::vector<std::string> lines = popup_for(OBJ_LOT_BASE + street[0]);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "连锁店");
    EXPECT_EQ(lines[3], dollars(6000) + "×2");
    // A hotel at level 2: its fee at that level times the index.
    ASSERT_GE(map_facility_count, 1);
    FacilityLot& f = map_facility_table[1];
    f.owner = owner_of_seat(3), f.kind = FK_HOTEL, f.level = 2;
    board_view_refresh(0, 0, 1);
    lines = popup_for(OBJ_FACILITY_BASE + 1);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "饭  店");
    EXPECT_EQ(lines[2], "二级");
    EXPECT_EQ(lines[3], "×" + std::to_string(f.fee[2] * 3));
}

} // namespace

namespace {

// Where frame f of the dice set stands on the display (its top-left), or
// x -1 when it is not there whole.
void find_die(int f, int* at_x, int* at_y) {
    *at_x = *at_y = -1;
    const int slot = mkf_open("PANEL.MKF");
    void* set = mkf_read(slot, PANEL_DICE, nullptr, nullptr);
    mkf_close(slot);
    const ImageRecord* fr = set ? spr_frame(set, f) : nullptr;
    for (int y = 40; fr && y + fr->height <= 480 && *at_x < 0; ++y)
        for (int x = 0; x + fr->width <= 440 && *at_x < 0; ++x) {
            bool all = true;
            for (int i = 0; i < fr->width * fr->height && all; ++i) {
                const uint16_t p = fr->pixels[i];
                all = p == 0 ||
                      primary_surface->pixels[(y + i / fr->width) * 640 + x + i % fr->width] == p;
            }
            if (all) *at_x = x, *at_y = y;
        }
    if (set) spr_unlink(set), std::free(set);
}

} // namespace

TEST_F(BoardScreenTest, TheDiceStandBesideTheMoverOnTheSideItDoesNotFace) {
    view_rotation = 0;
    PlayerRecord& r = player_table[0];
    int px, py;
    // Facing 2 (world +x) goes right on the screen at rotation 0, facing 6 left.
    for (int facing : {2, 6}) {
        SCOPED_TRACE(facing);
        r.facing = static_cast<uint8_t>(facing);
        board_draw_map_view(1);
        ASSERT_TRUE(view_point_to_screen(r.x, r.y, &px, &py));
        const int values[3] = {2, 5, 6};
        board_show_dice(values, 3);
        int x[3], y[3];
        for (int die = 0; die < 3; ++die) {
            find_die(die * 6 + values[die] - 1, &x[die], &y[die]);
            ASSERT_GE(x[die], 0) << "die " << die;
            EXPECT_LT(std::abs(y[die] - py), 80);
        }
        EXPECT_LT(x[0], x[1]);
        EXPECT_LT(x[1], x[2]);
        if (facing == 2)
            EXPECT_LT(x[2], px);
        else
            EXPECT_GT(x[0], px);
    }
    // The next render of the view takes them away.
    board_draw_map_view(1);
    int gone_x, gone_y;
    find_die(1 * 6 + 5 - 1, &gone_x, &gone_y);
    EXPECT_EQ(gone_x, -1);
}

TEST_F(BoardScreenTest, TheRemoteFaceThrowsOneDieShowingIt) {
    player_table[0].dice = 3;
    shown_clear();
    EXPECT_EQ(dice_roll(4), 4);
    ASSERT_NE(shown_find_text(Shown::Panel, "dice 4"), nullptr);
    EXPECT_EQ(shown_find_text(Shown::Panel, "dice 4")->text, "dice 4");
    const uint32_t seed = game_rand_seed();
    const int total = dice_roll(0);
    EXPECT_GE(total, 3);
    EXPECT_LE(total, 18);
    EXPECT_NE(game_rand_seed(), seed); // three dice drawn from the game's generator
}

TEST_F(BoardScreenTest, AWaitingHumanFindsTheMouseOnTheGoButton) {
    board_box_x = 300, board_box_y = 200;
    board_cursor_to_go();
    int mx, my, gx, gy;
    plat_get_cursor_pos(&mx, &my);
    board_go_button_point(&gx, &gy);
    EXPECT_EQ(mx, gx);
    EXPECT_EQ(my, gy);
    // The point lies on the go button of the box's hit mask.
    const int slot = mkf_open("PANEL.MKF");
    uint32_t size = 0;
    auto* mask = static_cast<uint8_t*>(mkf_read(slot, PANEL_BOX_MASK, nullptr, &size));
    mkf_close(slot);
    ASSERT_EQ(size, static_cast<uint32_t>(BOX_W * BOX_H));
    EXPECT_EQ(mask[(gy - board_box_y) * BOX_W + (gx - board_box_x)], MASK_GO);
    std::free(mask);
}

TEST_F(BoardScreenTest, ThePortraitStaysClearOfTheColourBarAndTheFirstLabel) {
    for (int layout : {0, 2}) {
        SCOPED_TRACE(layout);
        settings_set_side_panel_layout(static_cast<uint8_t>(layout));
        player_table[0].colour = 0x10E010;
        if (layout == 0)
            board_draw_side_panel(0);
        else
            board_draw_header_panel(0);
        const ImageRecord* portrait = spr_frame(view_portrait_set(0), 0);
        ASSERT_NE(portrait, nullptr);
        // Drawn at (482, 40): it ends left of the bar (x 522 in the side
        // panel, 528 in the header) and above the first label (y 80).
        EXPECT_LE(482 + portrait->width, 520);
        EXPECT_LE(40 + portrait->height, 78);
        if (layout == 0) {
            for (int x = 523; x < 607; ++x)
                ASSERT_EQ(back(x, 60), gfx_rgb_to_pixel(0x10E010)) << x;
        }
    }
}

TEST(Toolbar, EachButtonIsAFortyPixelColumnOfTheStripOverTheBoard) {
    struct Case {
        int x, y, command;
    };
    for (const Case& c :
         {Case{0, 0, TOOLBAR_HELP}, Case{39, 39, TOOLBAR_HELP}, Case{40, 0, TOOLBAR_SYSTEM},
          Case{3 * 40 + 5, 20, TOOLBAR_LOAD}, Case{439, 20, TOOLBAR_STOCKS}, Case{440, 20, -1},
          Case{20, 40, -1}, Case{-1, 20, -1}, Case{20, -1, -1}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(toolbar_command_at(c.x, c.y), c.command);
    }
    for (int command = 0; command < TOOLBAR_COMMAND_COUNT; ++command)
        EXPECT_EQ(toolbar_command_at(toolbar_button_centre_x(command), TOOLBAR_BUTTON_CENTRE_Y),
                  command);
}

// The board window's own state belongs to the window, not to the game: a
// load over the running game (the board stays on the stack and is only
// repainted) and a new game's world reset keep it showing, so Esc still takes
// a handed-over seat back, and the control box stays where it was dragged.
TEST_F(BoardScreenTest, ALoadOrANewGameKeepsTheBoardWindowsOwnState) {
    game_date = 0x07CF0A1F;
    board_screen_active = 1; // as the push left it
    screen_depth = 1;
    board_box_x = 300;
    board_box_y = 210;
    const std::vector<uint8_t> image = save_image_encode();
    std::string error;
    ASSERT_TRUE(save_image_commit(image.data(), image.size(), plat_tick_count() - 1000, &error))
        << error;
    EXPECT_EQ(board_screen_active, 1);
    EXPECT_EQ(board_box_x, 300);
    EXPECT_EQ(board_box_y, 210);
    player_table[0].control = CTRL_HUMAN | CTRL_HANDED_OVER;
    autoplay_stop_request = 0;
    app_active = 1;
    app_keyboard_hook(0, VK_ESCAPE, 1);
    app_keyboard_hook(0, VK_ESCAPE, 1 | KEY_FLAG_REPEAT | KEY_FLAG_RELEASE);
    EXPECT_EQ(autoplay_stop_request, 1) << "Esc takes the seat back after a load";
    autoplay_stop_request = 0;
    app_active = 0;
    map_free();         // the board closed with the game it showed
    game_world_reset(); // as a new game starts
    EXPECT_EQ(board_box_x, 300);
    EXPECT_EQ(board_box_y, 210);
    // Pushing the board screen is what starts its own state.
    board_screen_active = 0;
    board_tabs[1] = 2;
    board_hover = 3;
    board_wndproc(nullptr, WM_SCREEN_START, 0, 0);
    screen_timer_stop();
    EXPECT_EQ(board_screen_active, 1);
    EXPECT_EQ(board_tabs[1], 0);
    EXPECT_EQ(board_hover, -1);
    EXPECT_EQ(board_box_x, 300);
    screen_depth = 0;
    board_screen_active = 0;
}

// A wandering character's turn names it where a player's name stands: in the
// side panel (layouts 0 and 1) and in the header (layout 2), beside the mark
// of the player it works for.
TEST_F(BoardScreenTest, AWanderersTurnShowsItsNameAndItsPatronsMark) {
    const struct { int layout, name_top; } cases[] = {{0, 40}, {1, 40}, {2, 16}};
    const uint16_t ink = static_cast<uint16_t>(gfx_rgb_to_pixel(0x181818));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        settings_set_side_panel_layout(static_cast<uint8_t>(c.layout));
        walker_of_mover(MOVER_THIEF).patron = 2;
        game_active_mover = MOVER_THIEF;
        auto ink_around_name = [&] {
            int n = 0;
            for (int y = c.name_top; y < c.name_top + 26; ++y)
                for (int x = 550; x < 615; ++x)
                    n += back(x, y) == ink;
            return n;
        };
        auto draw = [&] {
            board_dirty = 0;
            if (c.layout == 2)
                board_draw_header_panel(0);
            else
                board_draw_side_panel(0);
        };
        draw();
        EXPECT_GT(ink_around_name(), 30) << "the name in dark ink about x 582";
        const ImageRecord* mark =
            spr_frame(view_map_set(MAPGFX_OWNER_MARKS),
                      OWNER_MARK_PATRON_BASE + owner_character(owner_of_seat(2)));
        ASSERT_NE(mark, nullptr);
        std::vector<uint16_t> with_mark;
        for (int y = 64; y < 64 + mark->height; ++y)
            for (int x = 524; x < 524 + mark->width; ++x)
                with_mark.push_back(back(x, y));
        walker_of_mover(MOVER_THIEF).patron = 0xFF; // working for nobody: no mark
        draw();
        int mark_pixels = 0, i = 0;
        for (int y = 64; y < 64 + mark->height; ++y)
            for (int x = 524; x < 524 + mark->width; ++x)
                mark_pixels += back(x, y) != with_mark[static_cast<size_t>(i++)];
        EXPECT_GT(mark_pixels, 0) << "the patron's mark at (524, 64)";
        walker_of_mover(MOVER_THIEF).patron = 2;
        if (const char* dir = std::getenv("KARVO_SHOT_DIR")) {
            board_repaint(1);
            const std::string path =
                std::string(dir) + "/board_wanderer_layout" + std::to_string(c.layout) + ".bmp";
            EXPECT_TRUE(plat_surface_save_bmp(primary_surface, path.c_str())) << path;
        }
    }
    game_active_mover = 0;
}
