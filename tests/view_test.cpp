// The board view: its projection tables, the draw list and list queries as
// game state, and what a render puts into the back surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/sprites.h"
#include "board/status.h"
#include "board/turn.h"
#include "board/view.h"
#include "board/view_draw.h"
#include "board/view_sets.h"
#include "board/view_terrain.h"
#include "data/anim_frames.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "mkf_writer.h"
#include "platform/files.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "support/map_fixture.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint16_t> pick_list(int n) {
    return std::vector<uint16_t>(view_pick_list + 8, view_pick_list + 8 + n);
}

class ViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        map_fixture_reset();
        view_free_map_graphics();
        spr_reset();
        gfx_pixel_format_reset();
        back_surface = nullptr;
    }
    void TearDown() override {
        view_free_map_graphics();
        if (data_archive >= 0) mkf_close(data_archive);
        data_archive = -1;
        if (back_surface) plat_surface_release(back_surface);
        back_surface = nullptr;
        map_fixture_reset();
        if (!dir.empty()) fs::remove_all(dir);
    }

    // A player standing at a world point.
    void place_player(int p, int x, int y, int square = 0) {
        PlayerRecord& r = player_table[p];
        r.x = static_cast<uint16_t>(x);
        r.y = static_cast<uint16_t>(y);
        r.square = static_cast<uint16_t>(square);
        r.control = CTRL_COMPUTER;
        if (square) map_square_table[square].flags |= sqf_player(p);
    }

    std::string dir;
};

// ---------------------------------------------------------------------------
// The projection

TEST(ViewProjection, RotationZeroHasTheThreeGivenCorners) {
    const auto* t = view_corner_table(0);
    EXPECT_EQ(t[14][15][0], -11);
    EXPECT_EQ(t[14][15][1], 34);
    EXPECT_EQ(t[15][14][0], 25);
    EXPECT_EQ(t[15][14][1], 14);
    EXPECT_EQ(t[0][0][0], -211);
    EXPECT_EQ(t[0][0][1], -714);
    EXPECT_EQ(t[14][14][0], 0);
    EXPECT_EQ(t[14][14][1], 0);
}

TEST(ViewProjection, EveryRotationStepsOneCellAsItsMatrixMovesAPoint) {
    // A point 32 units on in x sits one cell on: its in-cell offset falls by
    // (a, b), so the next cell's corner lies (-a, -b) away; likewise in y.
    const int m[8][4] = {{-34, 11, -14, -25}, {-34, -9, 16, -25}, {-13, -25, 37, -9},
                         {16, -25, 36, 11},   {37, -9, 16, 26},   {36, 11, -14, 26},
                         {16, 26, -35, 11},   {-14, 26, -35, -9}};
    for (int r = 0; r < 8; ++r) {
        const auto* t = view_corner_table(r);
        SCOPED_TRACE(r);
        EXPECT_NEAR(t[14][15][1], -m[r][0], 4);
        EXPECT_NEAR(t[14][15][0], -m[r][1], 4);
        EXPECT_NEAR(t[15][14][1], -m[r][2], 4);
        EXPECT_NEAR(t[15][14][0], -m[r][3], 4);
    }
}

TEST(ViewProjection, DrawOrderEndsWithinCapacityAndRunsBackToFront) {
    for (int r = 0; r < 8; ++r) {
        SCOPED_TRACE(r);
        const int8_t* o = view_draw_order(r);
        const auto* t = view_corner_table(r);
        int n = 0;
        int last_y = -1 << 20;
        std::set<std::pair<int, int>> seen;
        while (o[2 * n] != VIEW_ORDER_END) {
            ASSERT_LT(n, VIEW_ORDER_CAPACITY - 1);
            const int dy = o[2 * n], dx = o[2 * n + 1];
            EXPECT_TRUE(seen.insert({dy, dx}).second);
            ASSERT_GE(dy, -14);
            ASSERT_LT(dy, 14);
            ASSERT_GE(dx, -14);
            ASSERT_LT(dx, 14);
            const int y = t[dy + 14][dx + 14][0] + t[dy + 15][dx + 15][0] + t[dy + 14][dx + 15][0] +
                          t[dy + 15][dx + 14][0];
            EXPECT_GE(y, last_y);
            last_y = y;
            ++n;
        }
        EXPECT_GT(n, 200);
    }
}

TEST(ViewProjection, MapViewOffsetUsesTheRotationMatrix) {
    view_rotation = 0;
    int x, y;
    map_view_offset(32 * 5 + 16, 32 * 9 + 8, &x, &y);
    EXPECT_EQ(x, -34 * 16 / 32 + -14 * 8 / 32);
    EXPECT_EQ(y, 11 * 16 / 32 + -25 * 8 / 32);
    view_rotation = 3;
    map_view_offset(31, 31, &x, &y);
    EXPECT_EQ(x, 16 * 31 / 32 + 36 * 31 / 32);
    EXPECT_EQ(y, -25 * 31 / 32 + 11 * 31 / 32);
    view_rotation = 0;
}

TEST(ViewTerrain, TilesOnlyComeFromInsideTheEntryAndTheMap) {
    std::vector<uint8_t> t(TERRAIN_TILES_AT + 2 * TERRAIN_TILE_BYTES, 0);
    t[TERRAIN_GRID_AT] = 1;     // cell (0, 0): tile 1
    t[TERRAIN_GRID_AT + 2] = 2; // cell (1, 0): tile 2, past the two tiles
    t[TERRAIN_PALETTE_AT + 2] = 0x34, t[TERRAIN_PALETTE_AT + 3] = 0x12;
    const uint32_t n = static_cast<uint32_t>(t.size());
    EXPECT_EQ(view_terrain_tile(t.data(), n, 0, 0),
              t.data() + TERRAIN_TILES_AT + TERRAIN_TILE_BYTES);
    EXPECT_EQ(view_terrain_tile(t.data(), n, 1, 0), nullptr);
    EXPECT_EQ(view_terrain_tile(t.data(), n, 2, 0), t.data() + TERRAIN_TILES_AT);
    for (auto [x, y] : {std::pair{-1, 0}, {72, 0}, {0, 72}, {0, -1}})
        EXPECT_EQ(view_terrain_tile(t.data(), n, x, y), nullptr);
    EXPECT_EQ(view_terrain_colour(t.data(), n, 1), 0x1234);
    // An entry shorter than its grid has no tiles and no palette.
    EXPECT_EQ(view_terrain_tile(t.data(), TERRAIN_TILES_AT - 1, 2, 0), nullptr);
    EXPECT_EQ(view_terrain_colour(t.data(), 600, 1), 0);
    EXPECT_EQ(view_terrain_tile(t.data(), TERRAIN_TILES_AT + 1023, 2, 0), nullptr);
}

// ---------------------------------------------------------------------------
// Game state: the same with or without a display

TEST_F(ViewTest, TheCameraPointIsTheViewCentreAndFarPointsHaveNoPlace) {
    view_draw_board(1000, 1000);
    int x, y;
    EXPECT_TRUE(view_point_to_screen(1000, 1000, &x, &y));
    EXPECT_EQ(x, 220);
    EXPECT_EQ(y, 260);
    const struct {
        int wx, wy;
        bool in;
    } cases[] = {
        {1000 + 14 * 32, 1000, true},
        {1000 + 15 * 32, 1000, false},
        {1000, 1000 - 14 * 32, true},
        {1000, 1000 - 15 * 32, false},
        {1000 - 15 * 32, 1000 + 15 * 32, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wx * 10000 + c.wy);
        EXPECT_EQ(view_point_to_screen(c.wx, c.wy, &x, &y), c.in);
        if (!c.in) {
            EXPECT_EQ(x, 0);
            EXPECT_EQ(y, 0);
        }
    }
}

TEST_F(ViewTest, AtEqualScreenYTheHigherLayerIsDrawnLater) {
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    f.lot(640, 640, owner_of_seat(0));
    ASSERT_TRUE(f.load());
    place_player(0, 640, 640, s);
    place_player(1, 640, 640, s);
    game_active_mover = 1;
    view_draw_board(640, 640);
    view_draw_list_ready();
    ASSERT_EQ(view_draw_count, 3);
    std::vector<uint16_t> order;
    for (int i = 0; i < view_draw_count; ++i)
        order.push_back(view_draw_list[view_sort_keys[i] >> 16].code);
    EXPECT_EQ(order, (std::vector<uint16_t>{2001, 0x8001, 0x8002}));
}

TEST_F(ViewTest, AFlyingGodHasNoCodeAndIsDrawnOverEverything) {
    MapFixture f;
    f.square(640, 640, SQ_EMPTY);
    f.lot(640, 700, owner_of_seat(0));
    ASSERT_TRUE(f.load());
    GodObject& g = god_table[1];
    g.flight = 10;
    g.fx = 600;
    g.fy = 600;
    view_draw_board(640, 640);
    view_draw_list_ready();
    ASSERT_EQ(view_draw_count, 2);
    const ViewDrawEntry& last = view_draw_list[view_sort_keys[1] >> 16];
    EXPECT_TRUE(last.flags & VDE_FLYING);
    EXPECT_EQ(last.code, 0);
    EXPECT_EQ(view_hitmap_list_radius(-1), 1);
    EXPECT_EQ(view_pick_list[8], 2001);
}

TEST_F(ViewTest, TimeBombsCarryTheirStepCounterAndAHeldOneItsOwnSprite) {
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    const int t = f.square(700, 640, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    place_player(0, 640, 640, s);
    int standing = 0, held = 0;
    for (int slot = GOD_FIRST_SLOT; slot <= GOD_LAST_SLOT; ++slot) {
        if (god_table[slot].kind != GK_TIME_BOMB) continue;
        if (!standing)
            standing = slot;
        else if (!held)
            held = slot;
    }
    ASSERT_TRUE(standing && held);
    god_table[standing].square = static_cast<uint16_t>(t);
    god_table[standing].days = 7;
    god_table[held].square = static_cast<uint16_t>(s);
    god_table[held].holder = owner_of_seat(0);
    god_table[held].days = 3;
    view_draw_board(640, 640);
    int seen = 0;
    view_draw_list_ready();
    for (int i = 0; i < view_draw_count; ++i) {
        const ViewDrawEntry& e = view_draw_list[i];
        if (e.kind != VS_GOD) continue;
        EXPECT_TRUE(e.flags & VDE_BOMB_COUNT);
        if (e.code == (OBJ_OCCUPANTS | (standing << 8))) {
            EXPECT_EQ(e.counter, 7);
            EXPECT_EQ(e.index, GK_TIME_BOMB - 1);
            ++seen;
        }
        if (e.code == (OBJ_OCCUPANTS | (held << 8))) {
            EXPECT_EQ(e.counter, 3);
            EXPECT_EQ(e.index, GOD_SPRITE_CARRIED_BOMB);
            ++seen;
        }
    }
    EXPECT_EQ(seen, 2);
}

TEST_F(ViewTest, SharedAnchorsAddUpOccupantsOnlyAndTheLaterPlaceStands) {
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    f.lot(700, 660, owner_of_seat(0));
    f.lot(700, 660, owner_of_seat(1));
    ASSERT_TRUE(f.load());
    place_player(0, 640, 640, s);
    place_player(1, 640, 640, s);
    view_draw_board(640, 640);
    std::vector<uint16_t> got = pick_list(view_hitmap_list_radius(-1));
    std::sort(got.begin(), got.end());
    // Two plots on one anchor never make a third plot's code (2003).
    EXPECT_EQ(got, (std::vector<uint16_t>{2002, 0x8003}));
}

TEST_F(ViewTest, AFullDrawListTakesNoMoreAndKeepsTheMovers) {
    MapFixture f;
    for (int i = 0; i < 200; ++i)
        f.lot(500 + (i % 20) * 16, 500 + (i / 20) * 16, owner_of_seat(0));
    const int s = f.square(640, 640, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    place_player(0, 640, 640, s);
    view_draw_board(640, 640);
    view_draw_list_ready();
    EXPECT_EQ(view_draw_count, VIEW_DRAW_LIST_SIZE);
    int x, y;
    EXPECT_TRUE(view_object_screen_pos(0x8001, &x, &y, nullptr));
    EXPECT_EQ(x, 220);
    EXPECT_EQ(y, 260);
}

TEST_F(ViewTest, ListRadiiPastTheViewStopAtItsEdgeAndTheListAtItsCapacity) {
    MapFixture f;
    for (int i = 0; i < 1100; ++i)
        f.square(400 + (i % 40) * 12, 400 + (i / 40) * 12, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    view_draw_board(640, 640);
    const int n = view_list_free_squares();
    EXPECT_LE(n, VIEW_PICK_LIST_SIZE - 8);
    EXPECT_GT(n, 500);
    for (uint16_t c : pick_list(n))
        EXPECT_TRUE(c >= 1 && c <= 1100);
    // A radius above 220 lists the whole view, no more.
    MapFixture g;
    g.square(640, 640, SQ_EMPTY);
    for (int i = 0; i < 30; ++i)
        g.lot(300 + i * 24, 640, owner_of_seat(0));
    ASSERT_TRUE(g.load());
    view_draw_board(640, 640);
    const std::vector<uint16_t> whole = pick_list(view_hitmap_list_radius(-1));
    EXPECT_EQ(pick_list(view_hitmap_list_radius(1000)), whole);
    EXPECT_LT(view_hitmap_list_radius(40), static_cast<int>(whole.size()));
}

// The tint changes the mover's pictures in place: it comes with the render
// that shows the mover hibernating, whether or not its list is read, once.
TEST_F(ViewTest, AHibernatingMoverInTheWindowIsTintedByTheRenderThatShowsIt) {
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    const int far = f.square(640 + 40 * VIEW_CELL, 640, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    place_player(0, 640, 640, s);
    place_player(1, 640 + 40 * VIEW_CELL, 640, far);
    player_table[0].hibernation_days = 3;
    player_table[1].hibernation_days = 3;
    actor_anim_table[0].flags = actor_anim_table[1].flags = 0;
    view_draw_board(640, 640);
    EXPECT_TRUE(actor_anim_table[0].flags & ANIM_TINTED);
    EXPECT_FALSE(actor_anim_table[1].flags & ANIM_TINTED); // outside the window
    view_draw_board(640, 640);
    view_draw_list_ready();
    EXPECT_TRUE(actor_anim_table[0].flags & ANIM_TINTED);
    EXPECT_EQ(view_draw_count, 1);
}

TEST_F(ViewTest, HitMapLookupsOutsideTheViewGiveNothing) {
    MapFixture f;
    f.square(640, 640, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    view_draw_board(640, 640);
    for (auto [x, y] : {std::pair{-1, 0}, {440, 10}, {10, 440}, {0, -1}, {100000, 100000}})
        EXPECT_EQ(view_hitmap_at(x, y), 0);
}

TEST_F(ViewTest, PlayersHiddenByAStatusAreNotListedUnlessStepping) {
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    place_player(0, 640, 640, s);
    player_table[0].jail_days = 3;
    view_draw_board(640, 640);
    view_draw_list_ready();
    EXPECT_EQ(view_draw_count, 0);
    player_table[0].control |= CTRL_INSIDE;
    view_draw_board(640, 640);
    view_draw_list_ready();
    EXPECT_EQ(view_draw_count, 1);
}

TEST_F(ViewTest, OwnedNearListsThePlayerAndOwnedPropertiesAroundAPoint) {
    MapFixture f;
    const int s = f.square(1000, 1000, SQ_EMPTY);
    f.lot(1010, 1000, owner_of_seat(0));
    f.lot(1020, 1000, OWNER_NONE);
    f.facility(990, 1000, FK_HOTEL, owner_of_seat(1), 1);
    f.lot(1300, 1300, owner_of_seat(0));
    ASSERT_TRUE(f.load());
    place_player(0, 1000, 1000, s);
    game_active_mover = 0;
    std::vector<uint16_t> got = pick_list(view_list_owned_near(1000, 1000, 60));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<uint16_t>{2001, 4001, 0x8001}));
    EXPECT_EQ(view_camera_x, 1000);
}

TEST_F(ViewTest, BoardRefreshesMoveTheCameraWithoutADisplay) {
    MapFixture f;
    const int s = f.square(900, 700, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    place_player(0, 900, 700, s);
    game_active_mover = 0;
    board_view_refresh(300, 400, 0);
    EXPECT_EQ(board_scroll_target, 1);
    EXPECT_EQ(view_camera_x, 300);
    EXPECT_EQ(view_camera_y, 400);
    board_view_refresh(900, 700, 0);
    EXPECT_EQ(board_scroll_target, 0);
    board_view_refresh(300, 400, 0);
    board_repaint_all();
    EXPECT_EQ(board_scroll_target, 0);
    EXPECT_EQ(view_camera_x, 900);
    EXPECT_EQ(view_camera_y, 700);
}

// ---------------------------------------------------------------------------
// Pictures: fixture sets of solid colours, one colour per entry and frame

uint16_t solid(int entry, int frame) {
    // Distinct RGB555 colours, never 0.
    return static_cast<uint16_t>(((entry * 37 + frame * 11) % 0x7FFE) + 1);
}

FrameImage block_frame(int w, int h, int hx, int hy, uint16_t colour) {
    FrameImage f;
    f.width = static_cast<uint16_t>(w);
    f.height = static_cast<uint16_t>(h);
    f.hot_x = static_cast<int16_t>(hx);
    f.hot_y = static_cast<int16_t>(hy);
    f.pixels.assign(static_cast<size_t>(w) * h, colour);
    return f;
}

void add_solid_set(ArchiveWriter& a, int entry, int frames, int w, int h, int hx, int hy) {
    std::vector<FrameImage> fr;
    for (int i = 0; i < frames; ++i)
        fr.push_back(block_frame(w, h, hx, hy, solid(entry, i)));
    mkf_writer_add_frameset(a, entry, frameset_smp(fr));
}

// An indexed set drawn in palette entry 1 (the owner's colour).
void add_owner_set(ArchiveWriter& a, int entry, int frames) {
    std::vector<uint16_t> pal(256, 0);
    pal[1] = solid(entry, 0);
    std::vector<FrameImage> fr;
    for (int i = 0; i < frames; ++i) {
        FrameImage f;
        f.width = 10, f.height = 20, f.hot_x = 5, f.hot_y = 19;
        f.indices.assign(200, 1);
        fr.push_back(f);
    }
    mkf_writer_add_frameset(a, entry, frameset_spr(pal, fr));
}

class ViewPictureTest : public ViewTest {
  protected:
    void SetUp() override {
        ViewTest::SetUp();
        dir = (fs::temp_directory_path() /
               ("karvo_view_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                  .string();
        fs::create_directories(dir);
        plat_set_data_dir(dir);
    }
    void TearDown() override {
        ViewTest::TearDown();
        plat_set_data_dir("");
    }
    void write_archives(bool with_terrain = true) {
        ArchiveWriter map;
        map.name = "MAP.MKF";
        if (with_terrain) {
            Bytes t(TERRAIN_TILES_AT + 2 * TERRAIN_TILE_BYTES, 0);
            // Palette: index 1 and 2 in two colours; tile 0 all 1, tile 1 all 2.
            auto put16 = [&](size_t at, uint16_t v) { t[at] = v & 0xFF, t[at + 1] = v >> 8; };
            put16(TERRAIN_PALETTE_AT + 2, 0x1111);
            put16(TERRAIN_PALETTE_AT + 4, 0x2222);
            for (int c = 0; c < 72 * 72; ++c)
                put16(TERRAIN_GRID_AT + 2 * c, (c % 72) >= 36 ? 1 : 0);
            std::fill(t.begin() + TERRAIN_TILES_AT, t.begin() + TERRAIN_TILES_AT + 1024, 1);
            std::fill(t.begin() + TERRAIN_TILES_AT + 1024, t.end(), 2);
            mkf_writer_add(map, 0, t, TERRAIN_PALETTE_AT, 512);
        }
        add_solid_set(map, MAPGFX_MARKERS, 18, 16, 8, 8, 4);
        add_solid_set(map, MAPGFX_OWNER_MARKS, OWNER_MARK_FRAMES, 6, 12, 3, 11);
        add_solid_set(map, MAPGFX_BASE_SHAPES, 4, 30, 14, 15, 7);
        for (int i = 0; i < VIEW_BUILDING_SETS; ++i) {
            const int e = MAPGFX_BUILDING_BASE + i;
            if (std::none_of(extra_map_sets.begin(), extra_map_sets.end(),
                             [e](const auto& x) { return x.first == e; }))
                add_owner_set(map, e, 48);
        }
        add_solid_set(map, MAPGFX_DIGITS, 10, 20, 30, 10, 15);
        add_solid_set(map, MAPGFX_PORTRAIT_BASE, 6, 6, 6, 0, 0);
        {
            std::vector<FrameImage> mini{block_frame(200, 200, 0, 0, 0x0C63),
                                         block_frame(400, 400, 0, 0, 0x0C63)};
            mkf_writer_add_frameset(map, MAPGFX_MINIMAP_BASE, frameset_smp(mini));
        }
        for (auto& [entry, set] : extra_map_sets)
            mkf_writer_add_frameset(map, entry, set);
        if (!terrain_override.empty()) mkf_writer_add(map, 0, terrain_override, 4, 512);
        ASSERT_TRUE(mkf_writer_save(map, dir + "/MAP.MKF"));
        ArchiveWriter data;
        data.name = "data.mkf";
        for (int e = MOVER_SPRITE_BASE; e < MOVER_SPRITE_BASE + 21; ++e)
            add_solid_set(data, e, 8 * ANIM_THROW_FRAMES, 12, 30, 6, 29);
        for (int e = WALKER_SPRITE_BASE + 4 * MOVER_THIEF; e < WALKER_SPRITE_BASE + 4 * 8; ++e)
            add_solid_set(data, e, 8 * ANIM_WALK_FRAMES, 12, 30, 6, 29);
        add_solid_set(data, 476, 30, 4, 4, 0, 0);
        for (int e = GOD_SPRITE_BASE; e < GOD_SPRITE_BASE + GOD_SPRITE_COUNT; ++e)
            add_solid_set(data, e, 8, 8, 8, 4, 7);
        ASSERT_TRUE(mkf_writer_save(data, dir + "/data.mkf"));
    }
    void open_display(bool with_terrain = true) {
        write_archives(with_terrain);
        back_surface = plat_surface_create(640, 480, false);
        data_archive = mkf_open("A:\\data.mkf");
        ASSERT_GE(data_archive, 0);
    }
    uint16_t at(int x, int y) const { return back_surface->pixels[y * 640 + x]; }
    std::vector<std::pair<int, FrameSetBytes>> extra_map_sets;
    Bytes terrain_override;
};

TEST_F(ViewPictureTest, EveryViewPixelIsDrawnByATileInEveryRotation) {
    open_display(false);
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    view_load_map_graphics(0);
    for (int r = 0; r < 8; ++r)
        for (auto [x, y] : {std::pair{1152, 1152}, {0, 0}, {2303, 2303}, {2303, 17}}) {
            SCOPED_TRACE(r * 100000 + x * 10 + y);
            view_rotation = r;
            std::fill(back_surface->pixels, back_surface->pixels + 640 * 480, uint16_t{0x7FFF});
            view_draw_board(x, y);
            int missed = 0;
            for (int yy = VIEW_TOP; yy < 480; ++yy)
                for (int xx = 0; xx < 440; ++xx)
                    missed += at(xx, yy) == 0x7FFF;
            EXPECT_EQ(missed, 0);
            EXPECT_EQ(at(500, 300), 0x7FFF); // nothing beside the view
        }
    view_rotation = 0;
}

TEST_F(ViewPictureTest, TerrainTilesComeFromTheGridAndOutsideIsBlank) {
    open_display();
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    view_load_map_graphics(0);
    // Cells 0..35 in x use tile 0 (colour 0x1111), 36.. tile 1 (0x2222).
    view_draw_board(20 * 32 + 16, 20 * 32 + 16);
    EXPECT_EQ(at(220, 262), 0x1111);
    view_draw_board(50 * 32 + 16, 20 * 32 + 16);
    EXPECT_EQ(at(220, 262), 0x2222);
    view_draw_board(16, 16);
    EXPECT_NE(at(30, 50), 0x1111); // far outside the map's corner
    EXPECT_NE(at(30, 50), 0x2222);
}

TEST_F(ViewPictureTest, APlayerOverASquareIsHitAsThePlayer) {
    open_display();
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    const int free = f.square(640 + 96, 640, SQ_EMPTY);
    f.link(s, free);
    ASSERT_TRUE(f.load());
    map_square_table[s].marker = 1;
    map_square_table[free].marker = 1;
    place_player(0, 640, 640, s);
    view_load_map_graphics(0);
    actor_update_sprites(0);
    view_draw_board(640, 640);
    EXPECT_EQ(view_hitmap_at(220, 260 - 40), 0x8001);
    EXPECT_EQ(view_hitmap_at(220, 260 - 40 - 20), 0x8001); // the body, above the feet
    int x, y;
    ASSERT_TRUE(view_point_to_screen(640 + 96, 640, &x, &y));
    EXPECT_EQ(view_hitmap_at(x, y - 40), free);
    // The player's own sprite: walking family, slot 0, character 0.
    EXPECT_EQ(at(220, 255), solid(MOVER_SPRITE_BASE, 0));
}

// The picture a mover shows by its state: (slot, data.mkf entry, frame).
TEST_F(ViewPictureTest, MoversShowTheSetOfTheirStateAndFrame) {
    open_display();
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    const int in = f.square(900, 900, SQ_EMPTY, 0, SQF_INDOOR);
    ASSERT_TRUE(f.load());
    view_load_map_graphics(0);
    const int base = MOVER_SPRITE_BASE; // character 0
    struct Case {
        const char* what;
        uint8_t travel, phase, frame, facing;
        int rotation, square;
        bool sleepwalk, out;
        int entry, picture_frame;
    } cases[] = {
        {"waiting on foot", 0, PHASE_WAIT, 0, 0, 0, 1, false, false, base, 0},
        {"walking, step 3", 0, PHASE_MOVING, 3, 0, 0, 1, false, false, base + 1, 3},
        {"walking, turned view", 0, PHASE_MOVING, 3, 2, 1, 1, false, false, base + 1, 1 * 8 + 3},
        {"throwing", 0, PHASE_DICE, 9, 0, 0, 1, false, false, base + 2, 9},
        {"on a motorbike", 1, PHASE_MOVING, 0, 0, 0, 1, false, false, base + 4, 0},
        {"in a car", 2, PHASE_MOVING, 0, 0, 0, 1, false, false, base + 7, 0},
        {"construction vehicle working", 3, PHASE_RAZE, 2, 0, 0, 1, false, false, base + 12, 2},
        {"sleepwalking", 0, PHASE_MOVING, 1, 0, 0, 1, true, false, base + 17, 1},
        {"indoors waiting", 0, PHASE_WAIT, 0, 0, 0, 2, false, false, base + 13, 0},
        {"out of the game", 0, PHASE_WAIT, 0, 0, 0, 1, false, true, base + 18, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayerRecord& r = player_table[0];
        const int sq = c.square == 1 ? s : in;
        map_square_table[s].flags &= ~SQF_PLAYERS_MASK;
        map_square_table[in].flags &= ~SQF_PLAYERS_MASK;
        place_player(0, map_square_table[sq].x, map_square_table[sq].y, sq);
        r.travel = c.travel;
        r.sleepwalk_days = c.sleepwalk ? 2 : 0;
        r.control = c.out ? CTRL_OUT : CTRL_COMPUTER;
        r.facing = c.facing;
        view_rotation = c.rotation;
        actor_update_sprites(0);
        ActorAnim& a = actor_anim_table[0];
        a.phase = c.phase;
        a.frame = c.frame;
        view_draw_board(r.x, r.y);
        EXPECT_EQ(at(220, 250), solid(c.entry, c.picture_frame));
    }
    view_rotation = 0;
}

TEST_F(ViewPictureTest, MotorbikeToCarReloadsTheSetAndSwitchesTheTravelSound) {
    open_display();
    MapFixture f;
    const int s = f.square(640, 640, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    view_load_map_graphics(0);
    place_player(0, 640, 640, s);
    game_active_mover = 0;
    turn_running = 1;
    player_table[0].travel = TRAVEL_MOTORBIKE;
    actor_update_sprites(0);
    actor_anim_table[0].phase = PHASE_MOVING;
    actor_update_sprites(0);
    EXPECT_EQ(move_sound_slot, 12);
    view_draw_board(640, 640);
    EXPECT_EQ(at(220, 250), solid(MOVER_SPRITE_BASE + 4, 0));
    player_table[0].travel = TRAVEL_CAR;
    actor_update_sprites(0);
    EXPECT_EQ(move_sound_slot, 13);
    EXPECT_EQ(actor_anim_table[0].flags & ANIM_WALK_FAMILY_MASK, 3);
    view_draw_board(640, 640);
    EXPECT_EQ(at(220, 250), solid(MOVER_SPRITE_BASE + 7, 0));
    // A blast stops the car: the out-of-game look, landing five ticks later.
    player_table[0].control |= CTRL_BLAST_HIT;
    actor_update_sprites(0);
    EXPECT_EQ(actor_anim_table[0].phase, PHASE_WAIT);
    EXPECT_EQ(actor_anim_table[0].wait, 5);
    view_draw_board(640, 640);
    EXPECT_EQ(at(220, 250), solid(MOVER_SPRITE_BASE + 18, 0));
    turn_running = 0;
}

TEST_F(ViewPictureTest, AWanderingCharacterShowsItsIndoorAndSleepwalkingSetsWhileMoving) {
    open_display(false);
    MapFixture f;
    const int out = f.square(640, 640, SQ_EMPTY);
    const int in = f.square(640, 640, SQ_EMPTY, 0, SQF_INDOOR);
    ASSERT_TRUE(f.load());
    view_load_map_graphics(0);
    WalkerRecord& w = walker_of_mover(MOVER_THIEF);
    w.place = WALKER_FREE;
    w.x = 640, w.y = 640;
    const int base = WALKER_SPRITE_BASE + 4 * MOVER_THIEF;
    ActorAnim& a = actor_anim_table[MOVER_THIEF];
    const struct {
        int square;
        bool sleepwalk;
        uint8_t phase;
        int entry; // -1: nothing drawn
    } cases[] = {
        {out, false, PHASE_WAIT, base},      {out, false, PHASE_MOVING, base + 1},
        {in, false, PHASE_MOVING, base + 2}, {out, true, PHASE_MOVING, base + 3},
        {in, false, PHASE_WAIT, -1}, // its indoor look has no waiting set
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        w.square = static_cast<uint16_t>(c.square);
        w.sleepwalk_days = c.sleepwalk ? 1 : 0;
        actor_update_sprites(MOVER_THIEF);
        a.phase = c.phase;
        std::fill(back_surface->pixels, back_surface->pixels + 640 * 480, uint16_t{0x7FFF});
        view_draw_board(640, 640);
        view_draw_list_ready();
        ASSERT_GE(view_draw_count, 1);
        EXPECT_EQ(view_draw_list[0].code, OBJ_OCCUPANTS | 0x10);
        if (c.entry < 0)
            EXPECT_EQ(at(220, 250), gfx_rgb_to_pixel(0x202820)); // the blank ground
        else
            EXPECT_EQ(at(220, 250), solid(c.entry, 0));
    }
}

TEST_F(ViewPictureTest, BuildingsTakeTheirOwnersColourAndUnownedOnesTheirOwn) {
    open_display();
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    const int lot = f.lot(640, 640, owner_of_seat(1), 3) - OBJ_LOT_BASE;
    ASSERT_TRUE(f.load());
    view_load_map_graphics(0);
    player_table[1].colour = 0x30C060;
    view_draw_board(640, 640);
    EXPECT_EQ(at(220, 250), gfx_rgb_to_pixel(0x30C060));
    map_lot_table[lot].owner = OWNER_NONE;
    view_draw_board(640, 640);
    EXPECT_EQ(at(220, 250), solid(MAPGFX_BUILDING_BASE + VIEW_SET_HOUSES, 0));
    // Without houses, the owner's flag: owner mark frame = character.
    map_lot_table[lot].owner = owner_of_seat(1);
    map_lot_table[lot].level = 0;
    player_table[1].character = 7;
    view_draw_board(640, 640);
    EXPECT_EQ(at(220, 255), solid(MAPGFX_OWNER_MARKS, 7));
}

TEST_F(ViewPictureTest, MinimapMarksFollowOwnershipAndTokensThePlayers) {
    open_display();
    MapFixture f;
    const int s = f.square(1000, 1200, SQ_EMPTY);
    const int lot = f.lot(1024, 512, owner_of_seat(0)) - OBJ_LOT_BASE;
    ASSERT_TRUE(f.load());
    game_player_count = 2;
    place_player(0, 1000, 1200, s);
    view_load_map_graphics(0);
    player_table[0].colour = 0xF02020;
    view_draw_minimap_marks(0);
    view_draw_minimap_marks(1);
    const ImageRecord* small = spr_frame(view_minimap_work(), 0);
    const ImageRecord* large = spr_frame(view_minimap_work(), 1);
    ASSERT_TRUE(small && large);
    const uint16_t red = gfx_rgb_to_pixel(0xF02020);
    // (1024, 512) x 89 / 1024 = (89, 44); x 89 / 512 = (178, 89).
    EXPECT_EQ(small->pixels[44 * 200 + 89], red);
    EXPECT_EQ(large->pixels[89 * 400 + 178], red);
    EXPECT_EQ(small->pixels[44 * 200 + 85], 0x0C63);
    // The plot's term lapses: its mark is gone at the next redraw.
    map_lot_table[lot].owner = OWNER_NONE;
    view_draw_minimap_marks(0);
    EXPECT_EQ(small->pixels[44 * 200 + 89], 0x0C63);
    // The large window: the picture at (20, 60), each player's token on it.
    view_minimap_wndproc(nullptr, WM_PAINT, 0, 0);
    EXPECT_EQ(at(20 + 5, 60 + 5), 0x0C63);
    EXPECT_EQ(at(((1000 * 11392) >> 16) + 20 + 1, ((1200 * 11392) >> 16) + 60 + 1),
              solid(MAPGFX_PORTRAIT_BASE, 5));
}

TEST_F(ViewPictureTest, BadPicturesAreReportedAndTheBoardStillDraws) {
    // A terrain shorter than its grid, a building set too short for level 5,
    // a company naming an entry that does not exist.
    terrain_override.assign(600, 0);
    {
        std::vector<FrameImage> few;
        for (int i = 0; i < 8; ++i)
            few.push_back(block_frame(10, 20, 5, 19, 0x1234));
        extra_map_sets.push_back({MAPGFX_BUILDING_BASE + VIEW_SET_HOUSES + 0, frameset_smp(few)});
    }
    open_display(false);
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    f.lot(640, 640, owner_of_seat(0), 5);
    const int c = f.company(600, 600, 12) - OBJ_COMPANY_BASE;
    ASSERT_TRUE(f.load());
    map_company_table[c].sprite = 4000;
    testing::internal::CaptureStderr();
    view_load_map_graphics(0);
    view_draw_board(640, 640);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("terrain"), std::string::npos) << err;
    EXPECT_NE(err.find("4000"), std::string::npos) << err;
    EXPECT_NE(err.find("past its set's end"), std::string::npos) << err;
    EXPECT_EQ(at(220, 250), gfx_rgb_to_pixel(0x202820)); // blank ground, no house
    view_draw_list_ready();
    EXPECT_EQ(view_draw_count, 2); // both still listed
}

TEST_F(ViewPictureTest, AMissingMapArchiveIsReportedAndTheViewDrawsBlank) {
    back_surface = plat_surface_create(640, 480, false);
    MapFixture f;
    f.square(640, 640, SQ_EMPTY);
    ASSERT_TRUE(f.load());
    testing::internal::CaptureStderr();
    view_load_map_graphics(0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("MAP.MKF"), std::string::npos);
    view_draw_board(640, 640);
    EXPECT_EQ(at(220, 260), gfx_rgb_to_pixel(0x202820));
}

} // namespace

TEST(ViewGraphics, AnAnimationInBoardModeRedrawsTheBoardOnlyWhileItsGraphicsAreLoaded) {
    view_free_map_graphics();
    EXPECT_EQ(flc_board_render, nullptr);
    view_load_map_graphics(0);
    EXPECT_NE(flc_board_render, nullptr);
    view_free_map_graphics();
    EXPECT_EQ(flc_board_render, nullptr);
}
