// Pixel formats, conversions and per-format pixel operations, images, frame sets.
#include "engine/image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class ImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gfx_pixel_format_reset();
        spr_reset();
    }
    void TearDown() override {
        gfx_pixel_format_reset();
        spr_reset();
    }
};

uint16_t converted(int format, uint16_t stored) {
    gfx_set_pixel_format(format);
    uint16_t p = stored;
    gfx_convert_pixels(&p, 2);
    return p;
}

TEST_F(ImageTest, FormatFromMasks) {
    EXPECT_EQ(gfx_pixel_format_from_masks(0x7C00, 0x3E0), PIXEL_RGB555);
    EXPECT_EQ(gfx_pixel_format_from_masks(0xF800, 0x7E0), PIXEL_RGB565);
    EXPECT_EQ(gfx_pixel_format_from_masks(0x1F, 0x7E0), PIXEL_BGR565);
    EXPECT_EQ(gfx_pixel_format_from_masks(0xF00, 0xF0), PIXEL_RGB444);
    EXPECT_EQ(gfx_pixel_format_from_masks(0xFF0000, 0xFF00), PIXEL_RGB555);
    gfx_detect_pixel_format(0x1F, 0x7E0);
    EXPECT_EQ(gfx_pixel_format, PIXEL_BGR565);
    gfx_set_pixel_format();
    EXPECT_EQ(gfx_pixel_format, PIXEL_RGB565);
    gfx_set_pixel_format(7);
    EXPECT_EQ(gfx_pixel_format, PIXEL_RGB555);
}

TEST_F(ImageTest, ConversionInEveryFormat) {
    struct Case {
        int format;
        uint16_t stored, shown;
    };
    // Stored 0x7FFF white, 0x7C00 red, 0x03E0 green, 0x001F blue, 0x4210 grey.
    const Case cases[] = {
        {PIXEL_RGB555, 0x7FFF, 0x7FFF}, {PIXEL_RGB555, 0x1234, 0x1234},
        {PIXEL_RGB565, 0x7FFF, 0xFFDF}, {PIXEL_RGB565, 0x7C00, 0xF800},
        {PIXEL_RGB565, 0x03E0, 0x07C0}, {PIXEL_RGB565, 0x001F, 0x001F},
        {PIXEL_BGR565, 0x7C00, 0x001F}, {PIXEL_BGR565, 0x001F, 0xF800},
        {PIXEL_BGR565, 0x03E0, 0x07C0}, {PIXEL_BGR565, 0x7FFF, 0xFFDF},
        {PIXEL_RGB444, 0x7FFF, 0x0FFF}, {PIXEL_RGB444, 0x7C00, 0x0F00},
        {PIXEL_RGB444, 0x4210, 0x0888}, {PIXEL_RGB444, 0x0000, 0x0000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(converted(c.format, c.stored), c.shown) << c.format << " " << c.stored;
}

TEST_F(ImageTest, Rgb444KeepsDarkPixelsOpaque) {
    // Each channel's lowest bit is dropped; the darkest colours must not
    // become 0, the transparent value.
    for (uint16_t dark : {0x0001, 0x0020, 0x0400, 0x0421})
        EXPECT_NE(converted(PIXEL_RGB444, dark), 0) << dark;
}

TEST_F(ImageTest, ConversionCoversExactlyTheByteCount) {
    gfx_set_pixel_format(PIXEL_RGB565);
    std::vector<uint16_t> px = {0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF};
    gfx_convert_pixels(px.data(), 6); // three pixels, an odd count of pairs
    EXPECT_EQ(px, (std::vector<uint16_t>{0xFFDF, 0xFFDF, 0xFFDF, 0x7FFF}));
    // Unaligned pixels inside a byte block.
    uint8_t bytes[5] = {0xAA, 0xFF, 0x7F, 0xBB, 0xCC};
    gfx_convert_pixels(bytes + 1, 2);
    EXPECT_EQ(bytes[1], 0xDF);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[0], 0xAA);
    EXPECT_EQ(bytes[3], 0xBB);
}

TEST_F(ImageTest, ColourToPixel) {
    struct Case {
        int format;
        uint32_t rgb;
        uint16_t pixel;
    };
    const Case cases[] = {
        {PIXEL_RGB555, 0xFFFFFF, 0x7FFF}, {PIXEL_RGB565, 0xFFFFFF, 0xFFFF},
        {PIXEL_BGR565, 0xFF0000, 0x001F}, {PIXEL_BGR565, 0x0000FF, 0xF800},
        {PIXEL_RGB444, 0xFFFFFF, 0x0FFF}, {PIXEL_RGB565, 0x00FC00, 0x07E0},
        {PIXEL_RGB555, 0x081018, 0x0443},
    };
    for (const Case& c : cases) {
        gfx_set_pixel_format(c.format);
        EXPECT_EQ(gfx_rgb_to_pixel(c.rgb), c.pixel) << c.format << " " << c.rgb;
    }
    gfx_set_pixel_format(PIXEL_RGB565);
    const uint8_t triples[6] = {255, 0, 0, 0, 0, 255};
    uint16_t pal[2];
    gfx_palette_from_rgb(pal, triples, 2);
    EXPECT_EQ(pal[0], 0xF800);
    EXPECT_EQ(pal[1], 0x001F);
}

TEST_F(ImageTest, BrightnessTables) {
    for (int c = 0; c < 32; ++c) {
        EXPECT_EQ(gfx_brightness_table(0)[c], c);
        EXPECT_EQ(gfx_brightness_table(-31)[c], 0);
        EXPECT_EQ(gfx_brightness_table(31)[c], 31);
    }
    EXPECT_EQ(gfx_brightness_table(16)[0], 16);
    EXPECT_EQ(gfx_brightness_table(16)[31], 31);
    EXPECT_EQ(gfx_brightness_table(-16)[31], 15);
    EXPECT_EQ(gfx_brightness_table(-16)[2], 1);
    EXPECT_EQ(gfx_brightness_table(-1)[16], 15); // 16 x 30 / 31 = 15.48
    EXPECT_EQ(gfx_brightness_table(1)[0], 1);    // 31 / 31
}

TEST_F(ImageTest, BrightnessRunPerFormat) {
    const uint16_t src[2] = {0xFFFF, 0x0000};
    uint16_t dst[2];
    gfx_set_pixel_format(PIXEL_RGB565);
    gfx_brightness_run(dst, src, 4, -16); // 31 -> 15 in every 5-bit channel, green's low bit 0
    EXPECT_EQ(dst[0], (15 << 11) | (15 << 6) | 15);
    EXPECT_EQ(dst[1], 0);
    gfx_set_pixel_format(PIXEL_RGB555);
    uint16_t w = 0x7FFF;
    gfx_brightness_run(&w, &w, 2, -31);
    EXPECT_EQ(w, 0);
    gfx_set_pixel_format(PIXEL_RGB444);
    uint16_t g = 0x0FFF;
    gfx_brightness_run(&g, &g, 2, 0);
    EXPECT_EQ(g, 0x0FFF);
    uint16_t b = 0x0000;
    gfx_brightness_run(&b, &b, 2, 31);
    EXPECT_EQ(b, 0x0FFF);
}

TEST_F(ImageTest, GreyKeepsTransparencyAndAveragesChannels) {
    gfx_set_pixel_format(PIXEL_RGB555);
    const uint16_t src[3] = {0x7FFF, 0x0000, 0x7C00};
    uint16_t dst[3] = {1, 0x1234, 1};
    gfx_grey_run(dst, src, 6);
    EXPECT_EQ(dst[0], (27 << 10) | (27 << 5) | 27);
    EXPECT_EQ(dst[1], 0x1234); // pixel 0 skipped: the destination keeps its value
    EXPECT_EQ(dst[2], (11 << 10) | (11 << 5) | 11); // (31 + 16) / 4
    gfx_set_pixel_format(PIXEL_RGB565);
    uint16_t p = 0xFFFF;
    gfx_grey_run(&p, &p, 2);
    EXPECT_EQ(p, (27 << 11) | (27 << 6) | 27);
    gfx_set_pixel_format(PIXEL_RGB444);
    p = 0x0FFF;
    gfx_grey_run(&p, &p, 2);
    EXPECT_EQ(p, 0x0DDD); // (45 + 8) / 4 = 13
}

// An "SPR" set of one 1 x 1 frame, with its palette.
std::vector<uint8_t> tiny_spr(uint16_t colour) {
    std::vector<uint8_t> b(12 + 12 + 512 + 1, 0);
    std::memcpy(b.data(), "SPR", 4);
    b[4] = 1;
    b[8] = 24;
    b[12] = 1;
    b[14] = 1;
    b[20] = 1; // frame size
    for (int i = 0; i < 256; ++i) {
        b[24 + 2 * i] = static_cast<uint8_t>(colour);
        b[25 + 2 * i] = static_cast<uint8_t>(colour >> 8);
    }
    return b;
}

TEST_F(ImageTest, BlueTintPerFormat) {
    struct Case {
        int format;
        uint16_t colour, tinted;
    };
    const Case cases[] = {
        {PIXEL_RGB565, 0x0000, (15 << 11) | (15 << 6) | 31}, // black: v = 7 + 8
        {PIXEL_RGB555, 0x0000, (10 << 10) | (10 << 5) | 31},
        {PIXEL_BGR565, 0x0000, (31 << 11) | (10 << 6) | 10},
        {PIXEL_RGB444, 0x0000, (5 << 8) | (5 << 4) | 15},
        // Bright colours: the average is held to the channel's range.
        {PIXEL_RGB555, 0x7FFF, 0x7FFF},
        {PIXEL_BGR565, 0xFFFF, 0xFFDF},
        {PIXEL_RGB444, 0x0FFF, 0x0FFF},
        {PIXEL_RGB565, 0xFFFF, 0xFFDF},
    };
    for (const Case& c : cases) {
        gfx_set_pixel_format(c.format);
        std::vector<uint8_t> set = tiny_spr(c.colour);
        ASSERT_EQ(spr_link_frames(set.data(), static_cast<uint32_t>(set.size())), 1);
        gfx_tint_palette(set.data());
        EXPECT_EQ(spr_palette(set.data())[0], c.tinted) << c.format << " " << c.colour;
        EXPECT_EQ(spr_palette(set.data())[255], c.tinted);
        spr_unlink(set.data());
    }
}

TEST_F(ImageTest, ReplacePixel) {
    uint16_t px[5] = {1, 2, 1, 3, 1};
    gfx_replace_pixel(px, 4, 1, 9);
    EXPECT_EQ(px[0], 9);
    EXPECT_EQ(px[1], 2);
    EXPECT_EQ(px[2], 9);
    EXPECT_EQ(px[4], 1); // outside the count
}

TEST_F(ImageTest, NewImageAndRectangleCopies) {
    ImageRecord* img = image_new(4, 3, 2, 1);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->width, 4);
    EXPECT_EQ(img->hot_x, 2);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(img->pixels),
              reinterpret_cast<uint8_t*>(img) + sizeof(ImageRecord));
    for (int i = 0; i < 12; ++i)
        img->pixels[i] = static_cast<uint16_t>(i + 1);
    ImageRecord* part = image_copy_rect(img, nullptr, 1, 1, 2, 2);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->width, 2);
    EXPECT_EQ(part->height, 2);
    EXPECT_EQ(part->hot_x, 0);
    EXPECT_EQ(part->hot_y, 0);
    EXPECT_EQ(part->pixels[0], 6);
    EXPECT_EQ(part->pixels[1], 7);
    EXPECT_EQ(part->pixels[2], 10);
    EXPECT_EQ(part->pixels[3], 11);
    // Into a given block, and refusing rectangles outside the source.
    ImageRecord* again = image_copy_rect(img, part, 0, 0, 2, 1);
    EXPECT_EQ(again, part);
    EXPECT_EQ(part->pixels[0], 1);
    EXPECT_EQ(image_copy_rect(img, nullptr, 3, 0, 2, 1), nullptr);
    EXPECT_EQ(image_copy_rect(img, nullptr, 0, -1, 1, 1), nullptr);

    gfx_set_pixel_format(PIXEL_RGB555);
    for (int i = 0; i < 12; ++i)
        img->pixels[i] = 0x7FFF;
    gfx_brightness_rect(img, 1, 1, 2, 2, -31);
    EXPECT_EQ(img->pixels[5], 0);
    EXPECT_EQ(img->pixels[4], 0x7FFF);
    EXPECT_EQ(img->pixels[7], 0x7FFF);
    gfx_grey_rect(img, 0, 0, 10, 10); // clipped to the image
    EXPECT_EQ(img->pixels[0], (27 << 10) | (27 << 5) | 27);
    EXPECT_EQ(img->pixels[5], 0);
    std::free(part);
    std::free(img);
}

TEST_F(ImageTest, WordCopies) {
    uint16_t src[7] = {1, 2, 3, 4, 5, 6, 7}, dst[7] = {};
    blit_copy_words(dst, src + 1, 5);
    EXPECT_EQ(dst[0], 2);
    EXPECT_EQ(dst[4], 6);
    EXPECT_EQ(dst[5], 0);
    blit_copy_words_dst(dst + 1, src, 3);
    EXPECT_EQ(dst[1], 1);
    EXPECT_EQ(dst[3], 3);
}

} // namespace
