// The board drawn from the stand-in data set: each map with markers,
// buildings by level in their owners' colours and the characters told apart.
// With KARVO_SHOT_DIR set, each map's render is also written there as a BMP.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/turn.h"
#include "board/view.h"
#include "board/view_draw.h"
#include "board/view_sets.h"
#include "board/view_terrain.h"
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
        map_lot_table[i].owner = owner_of_seat(i % 4);
        map_lot_table[i].level = static_cast<uint8_t>(i % 6);
        map_lot_table[i].chain_store = i % 7 == 0;
        if (map_lot_table[i].chain_store) map_lot_table[i].level = 1;
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        map_facility_table[i].owner = owner_of_seat(i % 4);
        map_facility_table[i].kind = static_cast<uint8_t>(i % 5);
        map_facility_table[i].level = 1;
    }
    for (int i = 1; i <= map_company_count; ++i)
        map_company_table[i].chairman = owner_of_seat(i % 4);
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

namespace {

// The street signs painted on a stand-in map's ground: the texels of the
// terrain's light sign colour, grouped into signs by touching (8-neighbours).
struct Sign {
    std::vector<std::pair<int, int>> texels; // world x, y
    int cx = 0, cy = 0;                      // their centre
};

std::vector<Sign> terrain_signs(int m, uint16_t* light, uint16_t* dark) {
    std::vector<Sign> signs;
    const int slot = mkf_open("MAP.MKF");
    uint32_t size = 0;
    auto* t = static_cast<uint8_t*>(mkf_read(slot, MAPGFX_TERRAIN_BASE + 2 * m, nullptr, &size));
    mkf_close(slot);
    if (!t || !view_terrain_valid(t, size)) {
        std::free(t);
        return signs;
    }
    constexpr int SIGN_INDEX = 11, SIGN_INK_INDEX = 12; // the builder's sign colours
    *light = view_terrain_colour(t, size, SIGN_INDEX);
    *dark = view_terrain_colour(t, size, SIGN_INK_INDEX);
    constexpr int W = TERRAIN_CELLS * TERRAIN_TILE_SIDE;
    std::vector<uint8_t> is_sign(size_t{W} * W, 0);
    for (int cy = 0; cy < TERRAIN_CELLS; ++cy)
        for (int cx = 0; cx < TERRAIN_CELLS; ++cx)
            if (const uint8_t* tile = view_terrain_tile(t, size, cx, cy))
                for (int i = 0; i < 32 * 32; ++i)
                    if (tile[i] == SIGN_INDEX || tile[i] == SIGN_INK_INDEX)
                        is_sign[size_t(cy * 32 + i / 32) * W + cx * 32 + i % 32] = 1;
    std::free(t);
    for (int y = 0; y < W; ++y)
        for (int x = 0; x < W; ++x) {
            if (is_sign[size_t(y) * W + x] != 1) continue;
            Sign s;
            std::vector<std::pair<int, int>> todo{{x, y}};
            is_sign[size_t(y) * W + x] = 2;
            long sx = 0, sy = 0;
            while (!todo.empty()) {
                auto [px, py] = todo.back();
                todo.pop_back();
                s.texels.push_back({px, py});
                sx += px, sy += py;
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx) {
                        const int nx = px + dx, ny = py + dy;
                        if (nx < 0 || ny < 0 || nx >= W || ny >= W) continue;
                        uint8_t& v = is_sign[size_t(ny) * W + nx];
                        if (v == 1) v = 2, todo.push_back({nx, ny});
                    }
            }
            s.cx = static_cast<int>(sx / static_cast<long>(s.texels.size()));
            s.cy = static_cast<int>(sy / static_cast<long>(s.texels.size()));
            if (s.texels.size() >= 20) signs.push_back(std::move(s));
        }
    return signs;
}

TEST_P(ViewStandinTest, EveryStreetSignShowsWholeOverMarkersFlagsAndHouses) {
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
    uint16_t light = 0, dark = 0;
    const std::vector<Sign> signs = terrain_signs(m, &light, &dark);
    std::set<std::string> streets;
    for (int i = 1; i <= map_lot_count; ++i)
        streets.insert(
            std::string(map_lot_table[i].street,
                        strnlen(map_lot_table[i].street, sizeof map_lot_table[i].street)));
    ASSERT_EQ(signs.size(), streets.size()) << "one sign a street";
    // Nothing but the board itself: the gods and the players off it.
    for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s) {
        if (god_table[s].square >= 1 && god_table[s].square <= map_square_count)
            map_square_table[god_table[s].square].flags &= ~SQF_GOD_MASK;
        god_table[s].square = 0;
    }
    // Flags on every plot, then the tallest houses; every facility and company built.
    for (int i = 1; i <= map_facility_count; ++i) {
        map_facility_table[i].owner = owner_of_seat(i % 4);
        map_facility_table[i].kind = static_cast<uint8_t>(1 + i % 4);
        map_facility_table[i].level = facility_max_level[map_facility_table[i].kind];
    }
    for (int i = 1; i <= map_company_count; ++i)
        map_company_table[i].chairman = owner_of_seat(i % 4);
    // A sign's texels as the screen shows them, by where each lands.
    auto sign_pixels = [](const Sign& s) {
        std::vector<int> at;
        for (auto [wx, wy] : s.texels) {
            int x, y;
            const bool in = view_point_to_screen(wx, wy, &x, &y) && x >= 0 && x < 440 &&
                            y >= VIEW_TOP && y < 480;
            at.push_back(in ? back_surface->pixels[y * 640 + x] : -1);
        }
        return at;
    };
    // The bare ground first: no marker, building, flag or place drawn.
    const std::vector<uint8_t> board_before = [] {
        std::vector<uint8_t> v(map_data_size);
        map_data_write(v.data());
        return v;
    }();
    std::vector<std::vector<int>> bare;
    for (int i = 1; i <= map_square_count; ++i)
        map_square_table[i].marker = 0;
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = OWNER_NONE;
        map_lot_table[i].level = map_lot_table[i].mark = 0;
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        map_facility_table[i].owner = OWNER_NONE;
        map_facility_table[i].level = map_facility_table[i].kind = 0;
    }
    for (int i = 1; i <= map_company_count; ++i)
        map_company_table[i].sprite = 0;
    for (int i = 1; i <= map_decoration_count; ++i)
        map_decoration_table[i].sprite = 0;
    view_rotation = 0;
    for (const Sign& s : signs) {
        view_draw_board(s.cx, s.cy);
        bare.push_back(sign_pixels(s));
    }
    ASSERT_TRUE(map_data_read(board_before.data(), board_before.size(), nullptr));
    for (int level : {0, 5}) {
        for (int i = 1; i <= map_lot_count; ++i) {
            map_lot_table[i].owner = owner_of_seat(i % 4);
            map_lot_table[i].level = static_cast<uint8_t>(level);
        }
        for (size_t k = 0; k < signs.size(); ++k) {
            const Sign& s = signs[k];
            view_draw_board(s.cx, s.cy);
            const std::vector<int> now = sign_pixels(s);
            int shown = 0, kept = 0;
            for (size_t i = 0; i < now.size(); ++i) {
                if (bare[k][i] != light && bare[k][i] != dark) continue;
                ++shown;
                kept += now[i] == bare[k][i];
            }
            EXPECT_GT(shown, static_cast<int>(s.texels.size()) / 2) << "sign " << k << " in view";
            EXPECT_GE(kept, shown * 99 / 100)
                << "sign " << k << " at " << s.cx << "," << s.cy << " with plots at level " << level
                << ": " << shown - kept << " of its " << shown << " pixels covered";
            if (const char* dir = std::getenv("KARVO_SHOT_DIR")) {
                const std::string path = std::string(dir) + "/sign_" + std::to_string(m) + "_" +
                                         std::to_string(k) + "_" + std::to_string(level) + ".bmp";
                plat_surface_save_bmp(back_surface, path.c_str());
            }
        }
    }
}

} // namespace
