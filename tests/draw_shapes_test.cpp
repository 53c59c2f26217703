// Lines and disc sectors: how many pixels each draws, where, and that the
// clip rectangle and the image's edges stop them.
#include "engine/draw.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr uint16_t EMPTY = 0x1234;

struct Img {
    ImageRecord* rec;
    Img(int w, int h) {
        rec = image_new(w, h, 0, 0);
        for (int i = 0; i < w * h; ++i)
            rec->pixels[i] = EMPTY;
    }
    ~Img() { std::free(rec); }
    uint16_t at(int x, int y) const { return rec->pixels[y * rec->width + x]; }
    int count(uint16_t pixel, const PlatRect& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += at(x, y) == pixel;
        return n;
    }
    int count(uint16_t pixel) const {
        return count(pixel, PlatRect{0, 0, rec->width, rec->height});
    }
};

constexpr PlatRect ALL{0, 0, 100, 100};

TEST(DrawLine, DrawsOnePixelPerStepOfTheLongerAxisBothEndsIncluded) {
    struct Case {
        int x0, y0, x1, y1;
    };
    const Case cases[] = {{10, 10, 60, 10}, {10, 10, 10, 70}, {5, 5, 45, 45},  {80, 20, 20, 50},
                          {30, 90, 33, 10}, {50, 50, 50, 50}, {90, 10, 10, 11}};
    const uint16_t ink = gfx_rgb_to_pixel(0xF0F000);
    for (const Case& c : cases) {
        Img img(100, 100);
        draw_line_clip(img.rec, ALL, c.x0, c.y0, c.x1, c.y1, 0xF0F000);
        const int steps = std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0)) + 1;
        EXPECT_EQ(img.count(ink), steps) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
        EXPECT_EQ(img.at(c.x0, c.y0), ink);
        EXPECT_EQ(img.at(c.x1, c.y1), ink);
        // Every pixel of the line lies within its bounding box.
        const PlatRect box{std::min(c.x0, c.x1), std::min(c.y0, c.y1), std::max(c.x0, c.x1) + 1,
                           std::max(c.y0, c.y1) + 1};
        EXPECT_EQ(img.count(ink, box), steps);
    }
}

TEST(DrawLine, StopsAtTheClipRectangleAndAtTheImage) {
    const uint16_t ink = gfx_rgb_to_pixel(0x00F0F0);
    Img img(100, 100);
    const PlatRect clip{20, 0, 60, 100};
    draw_line_clip(img.rec, clip, 0, 40, 99, 40, 0x00F0F0);
    EXPECT_EQ(img.count(ink), 40) << "only x 20..59";
    EXPECT_EQ(img.count(ink, clip), 40);
    // Ends far outside the image: only its pixels inside are drawn, nothing wraps.
    Img edge(100, 100);
    draw_line_clip(edge.rec, PlatRect{-500, -500, 500, 500}, -300, 70, 400, 70, 0x00F0F0);
    EXPECT_EQ(edge.count(ink), 100);
    Img none(100, 100);
    draw_line_clip(none.rec, PlatRect{40, 40, 40, 90}, 0, 60, 99, 60, 0x00F0F0);
    EXPECT_EQ(none.count(ink), 0) << "an empty clip draws nothing";
}

// Pixels of the disc of radius r: dx^2 + dy^2 <= r^2.
int disc_pixels(int r) {
    int n = 0;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            n += dx * dx + dy * dy <= r * r;
    return n;
}

TEST(DrawSector, SectorsThatMeetShareNoPixelAndTogetherFillTheDisc) {
    const uint32_t colours[4] = {0xF00000, 0x00F000, 0x0000F0, 0xF0F000};
    const int64_t cuts[5] = {0, 1234, 5000, 7777, 10000};
    Img img(100, 100);
    for (int k = 0; k < 4; ++k)
        draw_sector_clip(img.rec, ALL, 50, 50, 30, cuts[k], cuts[k + 1], 10000, colours[k]);
    int total = 0;
    for (int k = 0; k < 4; ++k) {
        const int n = img.count(gfx_rgb_to_pixel(colours[k]));
        EXPECT_GT(n, 0);
        total += n;
    }
    EXPECT_EQ(total, disc_pixels(30));
    EXPECT_EQ(img.count(EMPTY), 100 * 100 - disc_pixels(30)) << "nothing outside the disc";
    // Each share is near its part of the disc.
    for (int k = 0; k < 4; ++k) {
        const double share = static_cast<double>(cuts[k + 1] - cuts[k]) / 10000.0;
        EXPECT_NEAR(img.count(gfx_rgb_to_pixel(colours[k])), share * disc_pixels(30),
                    0.02 * disc_pixels(30));
    }
}

TEST(DrawSector, QuartersAreEqualButTheFirstHoldsTheCentre) {
    const uint32_t colours[4] = {0xF00000, 0x00F000, 0x0000F0, 0xF0F000};
    Img img(100, 100);
    for (int k = 0; k < 4; ++k)
        draw_sector_clip(img.rec, ALL, 50, 50, 20, k, k + 1, 4, colours[k]);
    const int quarter = (disc_pixels(20) - 1) / 4;
    EXPECT_EQ(img.count(gfx_rgb_to_pixel(colours[0])), quarter + 1);
    for (int k = 1; k < 4; ++k)
        EXPECT_EQ(img.count(gfx_rgb_to_pixel(colours[k])), quarter) << k;
    // Clockwise from straight up: the first quarter is the upper right.
    EXPECT_EQ(img.count(gfx_rgb_to_pixel(colours[0]), PlatRect{50, 30, 71, 50}), quarter);
    EXPECT_EQ(img.count(gfx_rgb_to_pixel(colours[1]), PlatRect{51, 50, 71, 71}), quarter);
    EXPECT_EQ(img.count(gfx_rgb_to_pixel(colours[3]), PlatRect{30, 30, 50, 51}), quarter);
}

TEST(DrawSector, TheClipCutsTheDiscAndEmptyOrReversedSectorsDrawNothing) {
    const uint16_t ink = gfx_rgb_to_pixel(0xF00000);
    Img img(100, 100);
    draw_sector_clip(img.rec, PlatRect{0, 0, 50, 100}, 50, 50, 20, 0, 10000, 10000, 0xF00000);
    EXPECT_EQ(img.count(ink), (disc_pixels(20) - 41) / 2) << "the left half without column 50";
    EXPECT_EQ(img.count(ink, PlatRect{50, 0, 100, 100}), 0);
    Img corner(100, 100);
    draw_sector_clip(corner.rec, ALL, 0, 0, 10, 0, 10000, 10000, 0xF00000);
    EXPECT_EQ(corner.count(ink), (disc_pixels(10) - 1) / 4 + 11) << "a disc cut by the image";
    Img none(100, 100);
    draw_sector_clip(none.rec, ALL, 50, 50, 20, 300, 300, 10000, 0xF00000);
    draw_sector_clip(none.rec, ALL, 50, 50, 20, 700, 300, 10000, 0xF00000);
    draw_sector_clip(none.rec, ALL, 50, 50, 20, 0, 10, 0, 0xF00000);
    EXPECT_EQ(none.count(ink), 0);
}

} // namespace
