// The board drawn from the stand-in data set: each map with markers,
// buildings by level in their owners' colours and the characters told apart.
// With KARVO_SHOT_DIR set, each map's render is also written there as a BMP.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/turn.h"
#include "board/view.h"
#include "board/view_draw.h"
#include "board/view_sets.h"
#include "data/characters.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "finance/stock.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "support/map_fixture.h"

namespace {

class ViewStandinTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        map_fixture_reset();
        gfx_pixel_format_reset();
        back_surface = plat_surface_create(640, 480, false);
        // The engine draws in its reset format: the surface says so.
        plat_surface_set_format(back_surface, PLAT_RGB555);
        data_archive = mkf_open("data.mkf");
    }
    void TearDown() override {
        map_free();
        if (data_archive >= 0) mkf_close(data_archive);
        data_archive = -1;
        plat_surface_release(back_surface);
        back_surface = nullptr;
        map_fixture_reset();
    }
};

TEST_P(ViewStandinTest, TheBoardShowsBuildingsInOwnersColoursAndEveryPlayer) {
    ASSERT_GE(data_archive, 0);
    const int m = GetParam();
    game_map = m;
    game_player_count = 4;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_table[p] = character_table[p * 3];
        player_table[p].setup_control = CTRL_COMPUTER;
    }
    stock_new_game(m);
    ASSERT_TRUE(map_load()) << map_last_error();
    // Every plot owned in turn by the four players, at levels 0 to 5; every
    // facility built.
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = static_cast<uint8_t>(1 + i % 4);
        map_lot_table[i].level = static_cast<uint8_t>(i % 6);
        map_lot_table[i].chain_store = i % 7 == 0;
        if (map_lot_table[i].chain_store) map_lot_table[i].level = 1;
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        map_facility_table[i].owner = static_cast<uint8_t>(1 + i % 4);
        map_facility_table[i].kind = static_cast<uint8_t>(i % 5);
        map_facility_table[i].level = 1;
    }
    for (int i = 1; i <= map_company_count; ++i)
        map_company_table[i].chairman = static_cast<uint8_t>(1 + i % 4);
    // The four players close together on the first squares.
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        const int s = 1 + p;
        r.square = static_cast<uint16_t>(s);
        r.x = static_cast<uint16_t>(map_square_table[s].x);
        r.y = static_cast<uint16_t>(map_square_table[s].y);
        r.facing = static_cast<uint8_t>(p * 2);
        r.travel = static_cast<uint8_t>(p % 3);
        r.control = CTRL_COMPUTER;
        map_square_table[s].flags |= sqf_player(p);
        actor_update_sprites(p);
    }
    int shown = 0;
    for (int r = 0; r < 8; r += 3) {
        SCOPED_TRACE(r);
        view_rotation = r;
        view_draw_board(player_table[0].x, player_table[0].y);
        std::set<uint16_t> colours;
        for (int y = VIEW_TOP; y < 480; ++y)
            for (int x = 0; x < 440; ++x)
                colours.insert(back_surface->pixels[y * 640 + x]);
        EXPECT_GT(colours.size(), 20u);
        // Every player in view shows its colour; the players stand in the
        // draw list with their own codes.
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            int x, y;
            ASSERT_TRUE(view_object_screen_pos(OBJ_OCCUPANTS | (1 << p), &x, &y, nullptr)) << p;
            if (x < 20 || x >= 420 || y < VIEW_TOP + 60 || y >= 480) continue;
            ++shown;
            EXPECT_TRUE(colours.count(gfx_rgb_to_pixel(player_table[p].colour))) << p;
        }
        if (const char* dir = std::getenv("KARVO_SHOT_DIR")) {
            const std::string path =
                std::string(dir) + "/board_" + std::to_string(m) + "_" + std::to_string(r) + ".bmp";
            EXPECT_TRUE(plat_surface_save_bmp(back_surface, path.c_str())) << path;
        }
    }
    view_rotation = 0;
    EXPECT_GE(shown, 3);
}

INSTANTIATE_TEST_SUITE_P(EachMap, ViewStandinTest, ::testing::Range(0, 4));

} // namespace
