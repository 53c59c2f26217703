// Blitters, fills, quads, the screen update, press and release, saved
// rectangles and the board flash.
#include "engine/draw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/surface.h"
#include "support/popup_fixture.h"

namespace {

// A 640 x 480 buffer inside guard rows, so a write outside shows.
struct Screen {
    static constexpr int kGuard = 2 * SCREEN_W;
    static constexpr uint16_t kFill = 0x5A5A;
    std::vector<uint16_t> mem = std::vector<uint16_t>(SCREEN_W * SCREEN_H + 2 * kGuard, kFill);
    uint16_t* px() { return mem.data() + kGuard; }
    uint16_t at(int x, int y) { return px()[y * SCREEN_W + x]; }
    bool guards_intact() const {
        for (int i = 0; i < kGuard; ++i)
            if (mem[i] != kFill || mem[mem.size() - 1 - i] != kFill) return false;
        return true;
    }
    int changed() {
        int n = 0;
        for (int i = 0; i < SCREEN_W * SCREEN_H; ++i)
            n += px()[i] != kFill;
        return n;
    }
};

// An image with pixels behind it, each pixel (x, y) = base + y * width + x.
struct Img {
    ImageRecord* rec;
    Img(int w, int h, int hx = 0, int hy = 0, uint16_t base = 0x100) {
        rec = image_new(w, h, hx, hy);
        for (int i = 0; i < w * h; ++i)
            rec->pixels[i] = static_cast<uint16_t>(base + i);
    }
    ~Img() { std::free(rec); }
    uint16_t at(int x, int y) const { return rec->pixels[y * rec->width + x]; }
};

// An "SPR" set of one frame; palette entry i is 0x2000 + i.
struct Spr {
    std::vector<uint8_t> bytes;
    Spr(int w, int h, int hx, int hy, const std::vector<uint8_t>& idx) {
        const uint32_t data_offset = 12 + 12;
        bytes.resize(data_offset + SPR_PALETTE_BYTES + idx.size());
        std::memcpy(bytes.data(), "SPR", 4);
        uint32_t count = 1;
        std::memcpy(&bytes[4], &count, 4);
        std::memcpy(&bytes[8], &data_offset, 4);
        StoredImageRecord r{static_cast<uint16_t>(w), static_cast<uint16_t>(h),
                            static_cast<int16_t>(hx), static_cast<int16_t>(hy),
                            static_cast<uint32_t>(idx.size())};
        std::memcpy(&bytes[12], &r, 12);
        for (int i = 0; i < 256; ++i) {
            uint16_t c = static_cast<uint16_t>(0x2000 + i);
            std::memcpy(&bytes[data_offset + 2 * i], &c, 2);
        }
        std::memcpy(&bytes[data_offset + SPR_PALETTE_BYTES], idx.data(), idx.size());
        EXPECT_EQ(spr_link_frames(bytes.data(), static_cast<uint32_t>(bytes.size())), 1);
    }
    const void* set() const { return bytes.data(); }
    const ImageRecord* frame() const { return spr_frame(bytes.data(), 0); }
};

// Indices of a w x h frame: 0 on a checkerboard, else 1 + (x + y * w) % 200.
std::vector<uint8_t> checker(int w, int h) {
    std::vector<uint8_t> v(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            v[y * w + x] = ((x + y) & 1) ? 0 : static_cast<uint8_t>(1 + (x + y * w) % 200);
    return v;
}

class DrawTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        gfx_reset();
        spr_reset();
        shown_clear();
        gfx_set_pixel_format(GetParam());
    }
    void TearDown() override {
        spr_reset();
        gfx_reset();
        gfx_pixel_format_reset();
    }
};

TEST_P(DrawTest, ImagesOutsideTheScreenAreNotDrawnAndThoseInsideAre) {
    Img img(10, 10, 3, 2);
    struct Case {
        int x, y;
        bool drawn;
    } cases[] = {
        {-7, 100, false},  // right edge at x = 0
        {-6, 100, true},   // one column in
        {643, 100, false}, // starting at x = 640
        {642, 100, true},  // the last column
        {100, -8, false},  // bottom edge at y = 0
        {100, 482, false}, // starting at y = 480
        {100, 481, true},
    };
    for (const Case& c : cases) {
        Screen s;
        blit_opaque(s.px(), img.rec, c.x, c.y);
        blit_key(s.px(), img.rec, c.x, c.y);
        blit_part(s.px(), img.rec, c.x, c.y, 0, 0, 10, 10);
        EXPECT_EQ(s.changed() > 0, c.drawn) << c.x << "," << c.y;
        EXPECT_TRUE(s.guards_intact());
    }
}

TEST_P(DrawTest, KeyedDrawsSkipZeroAndCopyEveryOtherValue) {
    Img img(3, 1);
    img.rec->pixels[0] = 0;
    img.rec->pixels[1] = 0x0001;
    img.rec->pixels[2] = 0xFFFF;
    for (auto draw :
         {+[](Screen&s, const ImageRecord*i) { blit_key(s.px(), i, 10, 50); },
          +[](Screen&s, const ImageRecord*i) { blit_key_clip(s.px(), i, 10, 50); },
          +[](Screen&s, const ImageRecord*i) { blit_part_key(s.px(), i, 10, 50, 0, 0, 3, 1); }}) {
        Screen s;
        draw(s, img.rec);
        EXPECT_EQ(s.at(10, 50), Screen::kFill);
        EXPECT_EQ(s.at(11, 50), 0x0001);
        EXPECT_EQ(s.at(12, 50), 0xFFFF);
    }
    Img target(4, 1, 0, 0, 0x7777);
    blit_key_to_image(target.rec, img.rec, 1, 0);
    EXPECT_EQ(target.at(1, 0), 0x7778);
    EXPECT_EQ(target.at(2, 0), 0x0001);
    blit_to_image(target.rec, img.rec, 1, 0);
    EXPECT_EQ(target.at(1, 0), 0);
}

TEST_P(DrawTest, AClippedPartDrawsOnlyInsideAndShiftsTheSource) {
    gfx_set_clip(100, 100, 200, 200);
    Img img(40, 40);
    Screen s;
    // The part (5, 6, 30, 30) lands at (90, 95): 10 columns and 5 rows cut.
    blit_part_clip(s.px(), img.rec, 90, 95, 5, 6, 30, 30);
    for (int y = 95; y < 125; ++y)
        for (int x = 90; x < 120; ++x) {
            bool inside = x >= 100 && y >= 100;
            EXPECT_EQ(s.at(x, y), inside ? img.at(5 + x - 90, 6 + y - 95) : Screen::kFill)
                << x << "," << y;
        }
    EXPECT_EQ(s.changed(), 20 * 25);
    // The same into an image: cut at the clip rectangle and at the image.
    Img target(150, 150);
    std::fill_n(target.rec->pixels, 150 * 150, 0);
    blit_part_key_to_image_clip(target.rec, img.rec, 90, 95, 5, 6, 30, 30);
    EXPECT_EQ(target.at(100, 100), img.at(15, 11));
    EXPECT_EQ(target.at(99, 100), 0);
    EXPECT_EQ(target.at(100, 99), 0);
}

TEST_P(DrawTest, AnImageCrossingTwoOppositeEdgesIsCutAtBoth) {
    Img big(30, 30);
    Img target(10, 8, 0, 0, 0);
    // Guard: a second image right behind the target's pixels.
    std::vector<uint16_t> mem(10 * 8 + 20, 0x4444);
    target.rec->pixels = mem.data() + 10;
    std::fill_n(target.rec->pixels, 80, 0);
    blit_to_image(target.rec, big.rec, -10, -11);
    blit_part_key_to_image(target.rec, big.rec, -10, -11, 0, 0, 30, 30);
    blit_silhouette(target.rec, big.rec, -10, -11, 0xFFFFFF);
    blit_fill_rect(target.rec, -5, -5, 40, 40, 0x123456);
    blit_frame_rect(target.rec, -1, -1, 12, 10, 0x654321);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(mem[i], 0x4444);
        EXPECT_EQ(mem[mem.size() - 1 - i], 0x4444);
    }
    target.rec->pixels = reinterpret_cast<uint16_t*>(target.rec + 1);
    std::fill_n(target.rec->pixels, 80, 0);
    blit_to_image(target.rec, big.rec, -10, -11);
    EXPECT_EQ(target.at(0, 0), big.at(10, 11));
    EXPECT_EQ(target.at(9, 7), big.at(19, 18));
    Screen s;
    Img wide(700, 500);
    blit_opaque(s.px(), wide.rec, -30, -10);
    EXPECT_EQ(s.at(0, 0), wide.at(30, 10));
    EXPECT_EQ(s.at(639, 479), wide.at(669, 489));
    EXPECT_TRUE(s.guards_intact());
}

TEST_P(DrawTest, ScaledFramesAtOneToOneMatchKeyedAndAtHalfTakeEveryOtherPixel) {
    Spr spr(9, 7, 2, 1, checker(9, 7));
    Screen keyed, scaled, half, none;
    spr_draw_key(keyed.px(), spr.set(), 0, 50, 60);
    spr_draw_scaled(scaled.px(), spr.set(), 0, 50, 60, 0x10000);
    EXPECT_EQ(keyed.mem, scaled.mem);
    spr_draw_scaled(half.px(), spr.set(), 0, 50, 60, 0x8000);
    const uint8_t* idx = reinterpret_cast<const uint8_t*>(spr.frame()->pixels);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x) {
            bool inside = x < 5 && y < 4; // ceil(9 / 2) x ceil(7 / 2)
            uint8_t i = inside ? idx[(2 * y) * 9 + 2 * x] : 0;
            EXPECT_EQ(half.at(48 + x, 59 + y), i ? 0x2000 + i : Screen::kFill) << x << "," << y;
        }
    spr_draw_scaled(none.px(), spr.set(), 0, 50, 60, 0);
    spr_draw_key(none.px(), spr.set(), 1, 50, 60); // no frame 1
    EXPECT_EQ(none.changed(), 0);
    // Opaque: index 0 drawn through the palette too.
    Screen opaque;
    spr_draw(opaque.px(), spr.set(), 0, 50, 60);
    EXPECT_EQ(opaque.at(49, 59), 0x2000);
    EXPECT_EQ(opaque.changed(), 63);
}

// The frame's bytes end the set's block: a 16-bit read of it would run past.
TEST_P(DrawTest, APaletteFrameHandedToAnyBlitterIsDrawnThroughItsPalette) {
    Spr spr(9, 7, 2, 1, checker(9, 7));
    const ImageRecord* f = spr.frame();
    ASSERT_EQ(reinterpret_cast<const uint8_t*>(f->pixels) + 9 * 7,
              spr.bytes.data() + spr.bytes.size());
    Screen keyed, opaque;
    spr_draw_key(keyed.px(), spr.set(), 0, 50, 60);
    spr_draw(opaque.px(), spr.set(), 0, 50, 60);
    for (auto draw :
         {+[](Screen&s, const ImageRecord*i) { blit_key(s.px(), i, 50, 60); },
          +[](Screen&s, const ImageRecord*i) { blit_key_clip(s.px(), i, 50, 60); },
          +[](Screen&s, const ImageRecord*i) { blit_part_key(s.px(), i, 50, 60, 0, 0, 9, 7); }}) {
        Screen s;
        draw(s, f);
        EXPECT_EQ(s.mem, keyed.mem);
    }
    Screen s;
    blit_opaque(s.px(), f, 50, 60);
    EXPECT_EQ(s.mem, opaque.mem);
    // Into an image, and as a silhouette: only the lit indices count.
    Img target(12, 10, 0, 0, 0);
    std::fill_n(target.rec->pixels, 120, 0);
    blit_key_to_image(target.rec, f, 2, 1);
    const uint8_t* idx = reinterpret_cast<const uint8_t*>(f->pixels);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            const uint8_t i = idx[y * 9 + x];
            EXPECT_EQ(target.at(x, y), i ? 0x2000 + i : 0) << x << "," << y;
        }
    std::fill_n(target.rec->pixels, 120, 0);
    blit_silhouette(target.rec, f, 2, 1, 0xFFFFFF);
    int lit = 0, drawn = 0;
    for (int i = 0; i < 9 * 7; ++i)
        lit += idx[i] != 0;
    for (int i = 0; i < 120; ++i)
        drawn += target.rec->pixels[i] == gfx_rgb_to_pixel(0xFFFFFF);
    EXPECT_EQ(drawn, lit);
    // A 16-bit image is no frame of a set; an unlinked set's records are forgotten.
    EXPECT_EQ(spr_record_palette(target.rec), nullptr);
    EXPECT_EQ(spr_record_palette(f), spr_palette(spr.bytes.data()));
    spr_unlink(spr.set());
    EXPECT_EQ(spr_record_palette(f), nullptr);
}

TEST_P(DrawTest, SilhouetteMaskAndTintWriteOnlyUnderLitPixels) {
    Img img(4, 2);
    img.rec->pixels[1] = 0;
    Img target(8, 8, 0, 0, 0x0F0F);
    blit_silhouette(target.rec, img.rec, 6, 7, 0xFF0000);
    EXPECT_EQ(target.at(6, 7), gfx_rgb_to_pixel(0xFF0000));
    EXPECT_EQ(target.at(7, 7), 0x0F0F + 63); // source 0 leaves it
    Spr spr(5, 3, 0, 0, checker(5, 3));
    std::vector<uint16_t> board(VIEW_HITMAP_SIDE * VIEW_HITMAP_SIDE + 16, 0);
    spr_mask_to_board(board.data(), spr.frame(), 437, 438, 0xABCD);
    EXPECT_EQ(board[438 * 440 + 437], 0xABCD);
    EXPECT_EQ(board[438 * 440 + 438], 0);
    EXPECT_EQ(board[439 * 440 + 438], 0xABCD);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(board[VIEW_HITMAP_SIDE * VIEW_HITMAP_SIDE + i], 0);
    static constexpr uint16_t red[4] = {0x7C00, 0xF800, 0x003F, 0x0F00};
    static constexpr uint16_t blue[4] = {0x003F, 0x003F, 0xF800, 0x000F};
    Screen s;
    spr_mask_tint(s.px(), spr.frame(), 438, 40, 0);
    EXPECT_EQ(s.at(438, 40), Screen::kFill | red[GetParam()]);
    EXPECT_EQ(s.at(439, 40), Screen::kFill);
    EXPECT_EQ(s.at(440, 40), Screen::kFill); // outside the clip rectangle
    spr_mask_tint(s.px(), spr.frame(), 10, 100, 1);
    EXPECT_EQ(s.at(10, 100), Screen::kFill | blue[GetParam()]);
}

TEST_P(DrawTest, FillAndFrameCoverTheirRectangle) {
    Img target(6, 5);
    std::fill_n(target.rec->pixels, 30, 0);
    blit_fill_rect(target.rec, 1, 1, 3, 2, 0xFFFFFF);
    blit_frame_rect(target.rec, 0, 0, 6, 5, 0x00FF00);
    uint16_t white = gfx_rgb_to_pixel(0xFFFFFF), green = gfx_rgb_to_pixel(0x00FF00);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            bool edge = x == 0 || y == 0 || x == 5 || y == 4;
            bool filled = x >= 1 && x <= 3 && y >= 1 && y <= 2;
            EXPECT_EQ(target.at(x, y), edge ? green : filled ? white : 0) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, DrawTest,
                         ::testing::Values(PIXEL_RGB555, PIXEL_RGB565, PIXEL_BGR565, PIXEL_RGB444));

TEST(DrawClip, ReversedOrOutsideRectanglesAreCutToTheScreen) {
    struct Case {
        PlatRect in, out;
    } cases[] = {
        {{0, 40, 440, 480}, {0, 40, 440, 480}},
        {{-20, -5, 700, 900}, {0, 0, 640, 480}},
        {{300, 200, 100, 100}, {300, 200, 300, 200}},
        {{800, 600, 900, 700}, {640, 480, 640, 480}},
    };
    for (const Case& c : cases) {
        gfx_set_clip(c.in.left, c.in.top, c.in.right, c.in.bottom);
        EXPECT_EQ(gfx_clip_rect.left, c.out.left);
        EXPECT_EQ(gfx_clip_rect.top, c.out.top);
        EXPECT_EQ(gfx_clip_rect.right, c.out.right);
        EXPECT_EQ(gfx_clip_rect.bottom, c.out.bottom);
    }
    Img img(8, 8);
    Screen s;
    gfx_set_clip(300, 200, 100, 100);
    blit_key_clip(s.px(), img.rec, 299, 199);
    EXPECT_EQ(s.changed(), 0);
    gfx_reset();
    EXPECT_EQ(gfx_clip_rect.top, 40);
}

uint32_t corner(int x, int y) {
    return static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y & 0xFFFF);
}

class QuadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gfx_reset();
        gfx_set_clip(0, 0, 640, 480);
        for (int i = 0; i < 256; ++i)
            gfx_map_palette[i] = static_cast<uint16_t>(0x8000 + i);
        for (int i = 0; i < 32 * 32; ++i)
            tile[i] = static_cast<uint8_t>(i % 251);
    }
    void TearDown() override { gfx_reset(); }
    uint8_t tile[32 * 32];
};

TEST_F(QuadTest, ATwoByTwoGridOfQuadsLeavesNoPixelUnwritten) {
    // The outer rectangle (100, 100)-(200, 200) cut by slanted inner edges.
    const int top_mid = 140, left_mid = 160, right_mid = 130, bottom_mid = 170;
    const int cx = 155, cy = 145;
    const uint32_t quads[4][4] = {
        {corner(100, 100), corner(top_mid, 100), corner(cx, cy), corner(100, left_mid)},
        {corner(top_mid, 100), corner(200, 100), corner(200, right_mid), corner(cx, cy)},
        {corner(cx, cy), corner(200, right_mid), corner(200, 200), corner(bottom_mid, 200)},
        {corner(100, left_mid), corner(cx, cy), corner(bottom_mid, 200), corner(100, 200)},
    };
    Screen s;
    for (const auto& q : quads)
        gfx_draw_quad(s.px(), tile, q);
    for (int y = 95; y < 205; ++y)
        for (int x = 95; x < 205; ++x) {
            bool inside = x >= 100 && x <= 200 && y >= 100 && y < 200;
            EXPECT_EQ(s.at(x, y) != Screen::kFill, inside) << x << "," << y;
        }
}

TEST_F(QuadTest, AnUprightSquareMapsTheTileTexelForTexel) {
    const uint32_t q[4] = {corner(10, 50), corner(41, 50), corner(41, 81), corner(10, 81)};
    Screen s;
    gfx_draw_quad(s.px(), tile, q);
    for (int v = 0; v < 31; ++v)
        for (int u = 0; u <= 31; ++u)
            ASSERT_EQ(s.at(10 + u, 50 + v), gfx_map_palette[tile[v * 32 + u]]) << u << "," << v;
    EXPECT_EQ(s.at(10, 81), Screen::kFill);
    // Cut at the clip rectangle.
    Screen c;
    gfx_set_clip(20, 60, 30, 70);
    gfx_draw_quad(c.px(), tile, q);
    EXPECT_EQ(c.changed(), 10 * 10);
    EXPECT_EQ(c.at(20, 60), gfx_map_palette[tile[10 * 32 + 10]]);
}

// With surfaces: the screen update, press and release, save and restore, the
// screen clear and the flash.
class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat_surface_reset();
        gfx_reset();
        gfx_set_pixel_format(PIXEL_RGB565);
        shown_clear();
        back_surface = plat_surface_create(SCREEN_W, SCREEN_H, false);
        primary_surface = plat_surface_create(SCREEN_W, SCREEN_H, true);
        for (int i = 0; i < SCREEN_W * SCREEN_H; ++i)
            back_surface->pixels[i] = static_cast<uint16_t>(i * 7 + 1);
    }
    void TearDown() override {
        view_hitmap = nullptr;
        back_surface = nullptr;
        primary_surface = nullptr;
        plat_surface_reset();
        gfx_reset();
        gfx_pixel_format_reset();
    }
    uint16_t back(int x, int y) { return back_surface->pixels[y * SCREEN_W + x]; }
    uint16_t shown(int x, int y) { return primary_surface->pixels[y * SCREEN_W + x]; }
};

TEST_F(DisplayTest, TheScreenUpdateUnlocksAndCopiesOnlyItsRectangle) {
    ASSERT_NE(gfx_lock_back(), nullptr);
    EXPECT_EQ(back_image.pixels, back_pixels);
    gfx_screen_update(PlatRect{-5, 10, 20, 30});
    EXPECT_EQ(back_pixels, nullptr);
    EXPECT_EQ(back_surface->locks, 0);
    EXPECT_EQ(shown(0, 10), back(0, 10));
    EXPECT_EQ(shown(19, 29), back(19, 29));
    EXPECT_EQ(shown(20, 29), 0);
    EXPECT_EQ(shown(19, 30), 0);
    EXPECT_EQ(shown(0, 9), 0);
}

TEST_F(DisplayTest, PressingAndReleasingRestoresTheRectanglePixelForPixel) {
    std::vector<uint16_t> before(back_surface->pixels, back_surface->pixels + SCREEN_W * SCREEN_H);
    const PlatRect rects[] = {{100, 120, 180, 150}, {600, 460, 700, 500}, {0, 0, 640, 480}};
    for (const PlatRect& r : rects) {
        gfx_press_rect(r);
        int right = std::min(r.right, 640), bottom = std::min(r.bottom, 480);
        // Moved one right and down; the top row darkened.
        EXPECT_EQ(back(r.left + 1, r.top + 1), before[r.top * SCREEN_W + r.left]);
        EXPECT_EQ(back(right - 1, bottom - 1), before[(bottom - 2) * SCREEN_W + right - 2]);
        uint16_t dark = 0;
        gfx_brightness_run(&dark, &before[r.top * SCREEN_W + r.left + 3], 2, -16);
        EXPECT_EQ(back(r.left + 3, r.top), dark);
        EXPECT_EQ(shown(r.left + 1, r.top + 1), back(r.left + 1, r.top + 1));
        gfx_release_rect();
        EXPECT_TRUE(std::equal(before.begin(), before.end(), back_surface->pixels));
    }
    gfx_release_rect(); // a second release changes nothing
    EXPECT_TRUE(std::equal(before.begin(), before.end(), back_surface->pixels));
}

TEST_F(DisplayTest, AOnePixelWideOrTallPressDarkensItsPixelsAndTheReleaseRestoresThem) {
    const std::vector<uint16_t> before(back_surface->pixels,
                                       back_surface->pixels + SCREEN_W * SCREEN_H);
    const PlatRect rects[] = {{200, 100, 201, 112}, {300, 50, 312, 51}, {639, 468, 640, 480}};
    for (const PlatRect& r : rects) {
        SCOPED_TRACE(r.left);
        gfx_press_rect(r);
        int changed = 0;
        for (int i = 0; i < SCREEN_W * SCREEN_H; ++i)
            changed += back_surface->pixels[i] != before[static_cast<size_t>(i)];
        EXPECT_EQ(changed, 12);
        // Nothing to move: every pixel of the rectangle keeps its place, darkened.
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                uint16_t dark = 0;
                gfx_brightness_run(&dark, &before[static_cast<size_t>(y) * SCREEN_W + x], 2, -16);
                EXPECT_EQ(back(x, y), dark);
                EXPECT_EQ(shown(x, y), dark);
            }
        gfx_release_rect();
        EXPECT_TRUE(std::equal(before.begin(), before.end(), back_surface->pixels));
        EXPECT_EQ(shown(r.left, r.top), before[static_cast<size_t>(r.top) * SCREEN_W + r.left]);
    }
    gfx_press_rect(PlatRect{100, 100, 100, 112}); // empty: nothing pressed
    gfx_release_rect();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), back_surface->pixels));
}

TEST_F(DisplayTest, ARestoreWithBit15KeepsTheImageForASecondRestore) {
    ImageRecord* saved = image_save_screen_rect(PlatRect{10, 20, 30, 25});
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->width, 20);
    EXPECT_EQ(saved->height, 5);
    uint16_t first = back(10, 20);
    image_restore_screen_rect(saved, 200, 100 | 0x8000);
    EXPECT_EQ(back(200, 100), first);
    EXPECT_EQ(shown(200, 100), first);
    EXPECT_EQ(shown(219, 104), back(29, 24));
    image_restore_screen_rect(saved, 300, 300); // still there; freed now
    EXPECT_EQ(back(300, 300), first);
    EXPECT_EQ(shown(300, 300), first);
    image_restore_screen_rect(nullptr, 0, 0);
    EXPECT_EQ(image_save_screen_rect(PlatRect{700, 0, 800, 10}), nullptr);
}

TEST_F(DisplayTest, TheClearBlanksBothSurfaces) {
    primary_surface->pixels[5] = 9;
    gfx_clear_screen();
    for (int i = 0; i < SCREEN_W * SCREEN_H; i += 97) {
        ASSERT_EQ(back_surface->pixels[i], 0);
        ASSERT_EQ(primary_surface->pixels[i], 0);
    }
}

TEST_F(DisplayTest, TheFlashChangesOnlyMarkedCellsAndWaitsAfterward) {
    std::vector<uint16_t> map(VIEW_HITMAP_SIDE * VIEW_HITMAP_SIDE, 0);
    view_hitmap = map.data();
    map[0] = 0xFFFF;              // screen (0, 40)
    map[100 * 440 + 50] = 0xFFFF; // screen (50, 140)
    map[100 * 440 + 51] = 0xFFFE;
    for (int i = 0; i < SCREEN_W * SCREEN_H; ++i)
        primary_surface->pixels[i] = 0x1111;
    gfx_flash_board();
    // The last step (k = 0) leaves the marked pixels as in the back buffer.
    EXPECT_EQ(shown(0, 40), back(0, 40));
    EXPECT_EQ(shown(50, 140), back(50, 140));
    EXPECT_EQ(shown(51, 140), 0x1111);
    EXPECT_EQ(shown(0, 39), 0x1111);
    int changed = 0;
    for (int i = 0; i < SCREEN_W * SCREEN_H; ++i)
        changed += primary_surface->pixels[i] != 0x1111;
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(shown_count(Shown::Flash), 1u);
    size_t steps = 0, after = 0;
    for (const ShownEvent& e : shown_log())
        if (e.kind == Shown::Wait) (e.ms == 30 ? steps : after) += 1;
    EXPECT_EQ(steps, 16u);
    EXPECT_EQ(after, 1u);
    EXPECT_EQ(shown_log().back().ms, 400u);
}

// The flash with the layer's clock and input.
class FlashTest : public PopupTest {};

TEST_F(FlashTest, AKeyUpEndsThePulseAfterItsStepAndTheLongWaitStillRuns) {
    std::vector<uint16_t> map(VIEW_HITMAP_SIDE * VIEW_HITMAP_SIDE, 0xFFFF);
    view_hitmap = map.data();
    shown_clear();
    const uint32_t t0 = plat_tick_count();
    key_down(t0 + 70, 'A');
    key_up(t0 + 100, 'A');
    gfx_flash_board();
    view_hitmap = nullptr;
    size_t steps = 0;
    for (const ShownEvent& e : shown_log())
        steps += e.kind == Shown::Wait && e.ms == 30;
    EXPECT_EQ(steps, 4u); // the fourth step (90..120 ms) takes the key-up
    EXPECT_EQ(shown_log().back().ms, 400u);
    EXPECT_EQ(plat_tick_count() - t0, 100u + 400u);
}

TEST_F(FlashTest, WithoutAKeyTheWholePulseRuns) {
    std::vector<uint16_t> map(VIEW_HITMAP_SIDE * VIEW_HITMAP_SIDE, 0xFFFF);
    view_hitmap = map.data();
    const uint32_t t0 = plat_tick_count();
    gfx_flash_board();
    view_hitmap = nullptr;
    EXPECT_EQ(plat_tick_count() - t0, 16u * 30u + 400u);
}

TEST(DrawHeadless, WithoutADisplayServicesRecordAndReturn) {
    gfx_reset();
    shown_clear();
    ASSERT_EQ(back_surface, nullptr);
    EXPECT_FALSE(gfx_display_open());
    EXPECT_EQ(gfx_lock_back(), nullptr);
    gfx_flash_board();
    EXPECT_EQ(shown_count(Shown::Flash), 1u);
    EXPECT_EQ(shown_count(Shown::Wait), 0u);
    gfx_press_rect(PlatRect{0, 0, 10, 10});
    gfx_release_rect();
    gfx_clear_screen();
    gfx_screen_update(PlatRect{0, 0, 640, 480});
    EXPECT_EQ(image_save_screen_rect(PlatRect{0, 0, 10, 10}), nullptr);
    image_restore_screen_rect(image_new(2, 2, 0, 0), 0, 0); // freed, nothing drawn
}

} // namespace
