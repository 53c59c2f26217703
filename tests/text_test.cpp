// The text engine and the platform font service: voice markers, alignments,
// the lit box, the passes, the text surface left clean, GBK texts.
#include "engine/text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/map.h"
#include "engine/draw.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "platform/files.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace {

// The lit box of a screen-sized buffer: pixels differing from `empty`.
struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;
    int w() const { return right - left + 1; }
    int h() const { return bottom - top + 1; }
    bool empty() const { return right < left; }
};

Box lit_box(const uint16_t* px, int w, int h, uint16_t empty = 0) {
    Box b{w, h, -1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (px[y * w + x] != empty) {
                b.left = std::min(b.left, x), b.right = std::max(b.right, x);
                b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
            }
    if (b.right < 0) return Box{};
    return b;
}

bool surface_clean() {
    const ImageRecord* s = text_surface();
    if (!s) return false;
    for (int i = 0; i < TEXT_SURFACE_W * TEXT_SURFACE_H; ++i)
        if (s->pixels[i]) return false;
    return true;
}

// "中文" in GBK: what the game's literals are compiled to.
constexpr const char* kTwo = "中文";

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat_surface_reset();
        gfx_reset();
        gfx_set_pixel_format(PIXEL_RGB565);
        shown_clear();
        back_surface = plat_surface_create(SCREEN_W, SCREEN_H, false);
        primary_surface = plat_surface_create(SCREEN_W, SCREEN_H, true);
        text_init();
        text_set_font(16, 0xFFFFFF, 0x101010, 0, 1);
        ASSERT_NE(text_style.font, nullptr) << "AR PL UMing (fonts-arphic-uming) is needed";
    }
    void TearDown() override {
        text_shutdown();
        back_surface = nullptr;
        primary_surface = nullptr;
        plat_surface_reset();
        gfx_reset();
        gfx_pixel_format_reset();
    }
    void clear_back() { std::memset(back_surface->pixels, 0, SCREEN_W * SCREEN_H * 2); }
    // Draws into the cleared back buffer and gives the lit box.
    Box draw(const char* text, int x, int y, int align) {
        clear_back();
        text_draw(nullptr, text, x, y, align);
        EXPECT_TRUE(surface_clean()) << text;
        return lit_box(back_surface->pixels, SCREEN_W, SCREEN_H);
    }
};

TEST_F(TextTest, LiteralsAreGbk) {
    EXPECT_STREQ(kTwo, "\xD6\xD0\xCE\xC4");
}

TEST_F(TextTest, AVoiceMarkerPlaysItsClipAndIsNotDrawn) {
    std::string marked = std::string("#0123") + kTwo;
    Box with = draw(marked.c_str(), 100, 100, 0);
    EXPECT_EQ(shown_count(Shown::Voice), 1u);
    EXPECT_EQ(shown_count(Shown::Voice, 123), 1u);
    Box plain = draw(kTwo, 100, 100, 0);
    EXPECT_FALSE(with.empty());
    EXPECT_EQ(with.left, plain.left);
    EXPECT_EQ(with.w(), plain.w());
    EXPECT_EQ(with.h(), plain.h());
    shown_clear();
    EXPECT_TRUE(draw("#9876", 100, 100, 0).empty());
    EXPECT_EQ(shown_count(Shown::Voice, 9876), 1u);
}

TEST_F(TextTest, BadMarkersAreDrawnAsTheyStandAndPlayNothing) {
    for (const char* text : {"#", "#1", "#12", "#123", "#12a4", "#-123", "# 1234", "#１２３４"}) {
        Box b = draw(text, 50, 50, 0);
        EXPECT_FALSE(b.empty()) << text;
    }
    EXPECT_EQ(shown_count(Shown::Voice), 0u);
    // "#12a4" is wider than "12a4": the "#" is drawn too.
    EXPECT_GT(draw("#12a4", 50, 50, 0).w(), draw("12a4", 50, 50, 0).w());
}

TEST_F(TextTest, EmptyAndNullTextsDrawAndPlayNothing) {
    EXPECT_TRUE(draw("", 10, 10, 0).empty());
    EXPECT_TRUE(draw(nullptr, 10, 10, 0).empty());
    EXPECT_EQ(shown_count(Shown::Voice), 0u);
}

TEST_F(TextTest, AlignmentsPlaceTheLitBox) {
    const int x = 320, y = 240;
    std::string text = std::string(kTwo) + "Ab";
    Box ref = draw(text.c_str(), x, y, 0);
    ASSERT_FALSE(ref.empty());
    EXPECT_EQ(ref.left, x);
    EXPECT_EQ(ref.top, y);
    const int w = ref.w(), h = ref.h();
    struct Case {
        int align, left, top;
    } cases[] = {
        {1, x - w, y},
        {2, x - (w >> 1), y - (h >> 1)},
        {4, x - (w >> 1), y - (h >> 1)},
        {5, x, y - (h >> 1)},
        {6, x - w, y - (h >> 1)},
        {7, x - (w >> 1), y - h},
        {8, x, y},
        {-1, x, y},
    };
    for (const Case& c : cases) {
        Box b = draw(text.c_str(), x, y, c.align);
        EXPECT_EQ(b.left, c.left) << c.align;
        EXPECT_EQ(b.top, c.top) << c.align;
        EXPECT_EQ(b.w(), w) << c.align;
        EXPECT_EQ(b.h(), h) << c.align;
    }
    Box version = draw("v1.0", 638, 470, 6);
    EXPECT_EQ(version.right, 637);
    EXPECT_LE(std::abs((version.top + version.bottom) / 2 - 470), 1);
    Box bottom = draw(text.c_str(), 300, 200, 7);
    EXPECT_EQ(bottom.bottom, 199);
    // Vertical: one character a line from (x, y), taller than wide.
    Box vertical = draw(text.c_str(), 100, 60, 3);
    EXPECT_EQ(vertical.left, 100);
    EXPECT_EQ(vertical.top, 60);
    EXPECT_GT(vertical.h(), 3 * 16);
    EXPECT_LT(vertical.w(), 20);
}

TEST_F(TextTest, CentredLinesAreCentredOnEachOther) {
    std::string text = std::string(kTwo) + kTwo + kTwo + "\n" + kTwo;
    for (int align : {4, 7}) {
        Box all = draw(text.c_str(), 320, 240, align);
        // The short lower line: its lit columns in the rows of the second line.
        Box low{SCREEN_W, SCREEN_H, -1, -1};
        for (int yy = all.bottom - 10; yy <= all.bottom; ++yy)
            for (int xx = 0; xx < SCREEN_W; ++xx)
                if (back_surface->pixels[yy * SCREEN_W + xx])
                    low.left = std::min(low.left, xx), low.right = std::max(low.right, xx);
        int mid_all = (all.left + all.right) / 2, mid_low = (low.left + low.right) / 2;
        EXPECT_LE(std::abs(mid_all - mid_low), 2) << align;
        EXPECT_GT(all.w(), 2 * low.w()) << align;
    }
    // Left lines otherwise.
    Box all = draw(text.c_str(), 100, 100, 0);
    EXPECT_EQ(all.left, 100);
}

TEST_F(TextTest, AShadowMakesTheBoxOnePixelWiderAndHigher) {
    Box plain = draw(kTwo, 100, 100, 0);
    text_set_font(16, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
    Box shadow = draw(kTwo, 100, 100, 0);
    EXPECT_EQ(shadow.w(), plain.w() + 1);
    EXPECT_EQ(shadow.h(), plain.h() + 1);
    // The outline adds one pixel on every side.
    text_set_font(16, 0xFFFFFF, 0x101010, TEXT_OUTLINE, 1);
    Box outline = draw(kTwo, 100, 100, 0);
    EXPECT_EQ(outline.w(), plain.w() + 2);
    EXPECT_EQ(outline.h(), plain.h() + 2);
    // Wider spacing: one more pixel after each character.
    text_set_font(16, 0xFFFFFF, 0x101010, 0, 3);
    EXPECT_EQ(draw(kTwo, 100, 100, 0).w(), plain.w() + 2);
}

TEST_F(TextTest, TheTextSurfaceIsZeroAfterEveryKindOfText) {
    std::string big;
    for (int i = 0; i < 60; ++i)
        big += kTwo;
    big += "\n";
    big += big + big + big + big + big + big + big + big + big + big + big + big;
    const char* texts[] = {kTwo, "abcdefghijklmnop", "x\ny\nz", big.c_str(), "AB\xD6"};
    struct Style {
        uint32_t flags;
        int align;
    } styles[] = {{0, 0},         {TEXT_SHADOW, 2}, {TEXT_OUTLINE, 4}, {TEXT_BOLD, 7},
                  {TEXT_CLIP, 1}, {0, 3},           {TEXT_SHADOW, 3},  {TEXT_OUTLINE, 3}};
    ImageRecord* image = image_new(64, 32, 0, 0);
    for (const Style& s : styles) {
        text_set_font(20, 0xFFFF00, 0x101010, s.flags, 1);
        for (const char* t : texts) {
            text_draw(nullptr, t, 300, 200, s.align);
            ASSERT_TRUE(surface_clean()) << s.flags << "/" << s.align << ": " << t;
            text_draw(image, t, 10, 10, s.align);
            ASSERT_TRUE(surface_clean()) << s.flags << "/" << s.align << ": " << t;
        }
    }
    std::free(image);
}

TEST_F(TextTest, AVerticalColumnOfNarrowCharactersIsDrawnWhole) {
    // Eight ASCII letters stand taller than their horizontal width.
    Box b = draw("abcdefgh", 50, 20, 3);
    EXPECT_GE(b.h(), 7 * (16 + 1));
    EXPECT_TRUE(surface_clean());
}

TEST_F(TextTest, ALoneLastLeadByteEndsTheText) {
    Box whole = draw("AB", 100, 100, 0);
    Box cut = draw("AB\xD6", 100, 100, 0);
    EXPECT_EQ(cut.w(), whole.w());
    EXPECT_EQ(cut.h(), whole.h());
    Box vcut = draw("AB\xD6", 100, 100, 3);
    Box vwhole = draw("AB", 100, 100, 3);
    EXPECT_EQ(vcut.h(), vwhole.h());
    int w = 0, h = 0, w2 = 0;
    PlatFont* font = plat_font_get(16, false);
    plat_text_measure(font, "AB\xD6", 0, &w, &h);
    plat_text_measure(font, "AB", 0, &w2, nullptr);
    EXPECT_EQ(w, w2);
}

TEST_F(TextTest, TheClipFlagCutsTheCopyAtTheClipRectangle) {
    text_set_font(16, 0xFFFFFF, 0x101010, TEXT_CLIP, 1);
    Box b = draw(kTwo, 430, 100, 0); // the clip rectangle ends at x = 440
    EXPECT_EQ(b.right, 439);
    Box above = draw(kTwo, 100, 30, 0); // and starts at y = 40
    EXPECT_EQ(above.top, 40);
}

TEST_F(TextTest, MeasuringCountsLinesAndSpacing) {
    PlatFont* font = plat_font_get(16, false);
    ASSERT_EQ(font, plat_font_get(16, false)); // cached
    EXPECT_NE(font, plat_font_get(16, true));
    int w1 = 0, h1 = 0, w3 = 0, h3 = 0;
    plat_text_measure(font, kTwo, 0, &w1, &h1);
    EXPECT_EQ(h1, 16);
    EXPECT_EQ(w1, 2 * 16); // a full-width face: each character as wide as high
    plat_text_measure(font, (std::string(kTwo) + "\n" + kTwo + kTwo + "\n").c_str(), 2, &w3, &h3);
    EXPECT_EQ(h3, 3 * 16);
    EXPECT_EQ(w3, 4 * (16 + 2));
}

TEST_F(TextTest, ALiteralMixedWithAMapNameReadsAsOneText) {
    plat_set_data_dir(KARVO_TEST_DATA_DIR);
    int slot = mkf_open("MAPDAT.MKF");
    ASSERT_GE(slot, 0);
    uint32_t size = 0;
    void* data = mkf_read(slot, 0, nullptr, &size);
    mkf_close(slot);
    ASSERT_NE(data, nullptr);
    std::string error;
    ASSERT_TRUE(map_data_read(static_cast<uint8_t*>(data), size, &error)) << error;
    std::string name;
    for (int s = 1; s <= map_square_count && name.empty(); ++s) {
        const MapSquare& q = map_square_table[s];
        std::string n(q.name, strnlen(q.name, sizeof q.name));
        if (!n.empty() && (static_cast<uint8_t>(n[0]) & 0x80)) name = n;
    }
    map_reset();
    std::free(data);
    ASSERT_FALSE(name.empty());
    // Every character of the message is full width: literal and name both
    // read as GBK, no byte pair falls across the seam.
    std::string message = std::string("到达") + name;
    size_t chars = 0;
    for (size_t i = 0; i < message.size(); ++i, ++chars)
        if (static_cast<uint8_t>(message[i]) & 0x80) ++i;
    int w = 0;
    plat_text_measure(plat_font_get(16, false), message.c_str(), 0, &w, nullptr);
    EXPECT_EQ(w, static_cast<int>(chars) * 16) << message;
    EXPECT_FALSE(draw(message.c_str(), 10, 100, 0).empty());
}

TEST_F(TextTest, WithoutADisplayTextsIntoTheBackBufferDoNothingButPlay) {
    back_surface = nullptr;
    std::string marked = std::string("#0042") + kTwo;
    text_draw(nullptr, marked.c_str(), 10, 10, 0);
    EXPECT_EQ(shown_count(Shown::Voice, 42), 1u);
    EXPECT_TRUE(surface_clean());
    // Into an image it still draws.
    ImageRecord* image = image_new(64, 32, 0, 0);
    std::memset(image->pixels, 0, 64 * 32 * 2);
    text_draw(image, kTwo, 0, 0, 0);
    EXPECT_FALSE(lit_box(image->pixels, 64, 32).empty());
    std::free(image);
}

TEST_F(TextTest, AMissingFontIsReportedOnceAndDrawsNothing) {
    int before = plat_font_missing_reports();
    plat_font_set_file("/nonexistent/font.ttc");
    text_set_font(16, 0xFFFFFF, 0x101010, 0, 1);
    EXPECT_EQ(text_style.font, nullptr);
    text_set_font(24, 0xFFFFFF, 0x101010, TEXT_BOLD, 1);
    EXPECT_TRUE(draw(kTwo, 100, 100, 0).empty());
    EXPECT_EQ(plat_font_missing_reports(), before + 1);
    plat_font_set_file(nullptr);
    text_set_font(16, 0xFFFFFF, 0x101010, 0, 1);
    EXPECT_FALSE(draw(kTwo, 100, 100, 0).empty());
}

TEST_F(TextTest, ADemonstrationScreenIsWritten) {
    clear_back();
    gfx_lock_back();
    blit_fill_rect(&back_image, 0, 0, 640, 480, 0x203060);
    gfx_unlock_back();
    text_set_font(24, 0xFFFFFF, 0x101010, TEXT_SHADOW | TEXT_BOLD, 1);
    text_draw(nullptr, "城市地图 (shadow, bold)", 320, 40, 2);
    text_set_font(16, 0xFFFF00, 0x101010, TEXT_OUTLINE, 1);
    text_draw(nullptr, "描边文字：您好，欢迎光临！\n第二行居中", 320, 120, 4);
    text_set_font(16, 0xFFFFFF, 0x101010, 0, 2);
    text_draw(nullptr, "竖排文字", 40, 80, 3);
    text_draw(nullptr, "右下角 v1.0", 638, 470, 6);
    text_set_font(12, 0x80FF80, 0x101010, 0, 1);
    text_draw(nullptr, "小字 12 像素：0123456789 ABCdef", 100, 300, 0);
    gfx_screen_update(PlatRect{0, 0, 640, 480});
    ASSERT_TRUE(plat_surface_save_bmp(back_surface, "text_demo.bmp"));
    EXPECT_TRUE(surface_clean());
    EXPECT_EQ(primary_surface->pixels[240 * 640 + 2], back_surface->pixels[240 * 640 + 2]);
}

} // namespace
