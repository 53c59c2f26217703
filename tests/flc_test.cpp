// The FLC player: the five sub-chunk kinds from animations the builder's
// writer made, the opcodes as the format has them, the option bits, frame
// timing and messages, board mode and the board difference, damaged data,
// and the stand-in animations the game plays.
#include "board/status.h"
#include "data/anim_frames.h"
#include "engine/draw.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "flc_writer.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Frame = std::vector<uint8_t>;

std::vector<FlcRgb> test_palette() {
    std::vector<FlcRgb> p(256);
    for (int i = 0; i < 256; ++i)
        p[static_cast<size_t>(i)] = FlcRgb{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                           static_cast<uint8_t>(i * 7)};
    return p;
}

uint16_t pixel_of(const FlcRgb& c) {
    return gfx_rgb_to_pixel(static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 |
                            c.b);
}

// The animation's bytes in a block of exactly their size, so a read past
// the end is caught.
struct Block {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
    explicit Block(const FlcBytes& b, size_t n = SIZE_MAX)
        : bytes(new uint8_t[std::min(n, b.size())]), size(std::min(n, b.size())) {
        std::memcpy(bytes.get(), b.data(), size);
    }
};

// Decodes every frame into a plain width x height buffer; the pixels after
// each frame.
std::vector<std::vector<uint16_t>> decode_all(const Block& b, uint16_t* palette, int max_frames) {
    std::vector<std::vector<uint16_t>> out;
    FlcHeader h{};
    if (!flc_read_header(b.bytes.get(), b.size, &h)) return out;
    std::vector<uint16_t> px(static_cast<size_t>(h.width) * h.height, 0);
    FlcCanvas c;
    c.pixels = px.data();
    c.pitch = c.width = h.width;
    c.height = h.height;
    uint32_t at = FLC_FIRST_CHUNK;
    for (int n = 0; n < std::min<int>(h.frames, max_frames); ++n) {
        if (!flc_decode_frame(b.bytes.get(), b.size, &at, h, palette, c)) break;
        out.push_back(px);
    }
    return out;
}

std::vector<uint16_t> expected(const Frame& f) {
    const std::vector<FlcRgb> pal = test_palette();
    std::vector<uint16_t> out;
    for (uint8_t i : f)
        out.push_back(pixel_of(pal[i]));
    return out;
}

// A picture with flat runs, single pixels and a changing last column.
Frame pattern(int w, int h, int seed) {
    Frame f(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            f[static_cast<size_t>(y) * w + x] =
                static_cast<uint8_t>(x < w / 3 ? 7 : ((x * 31 + y * 17 + seed * 13) % 9) + seed);
    return f;
}

class FlcDecodeTest : public ::testing::Test {
  protected:
    void SetUp() override { gfx_set_pixel_format(PIXEL_RGB565); }
    void TearDown() override { gfx_pixel_format_reset(); }
};

TEST_F(FlcDecodeTest, EachSubChunkKindDrawsTheFrameItWasWrittenFrom) {
    struct Case {
        const char* name;
        int w, h;
        FlcBytes (*second)(int w, int h, const Frame& a, const Frame& b);
    };
    const Case cases[] = {
        {"copy", 17, 6,
         [](int w, int h, const Frame&, const Frame& b) { return flc_copy_chunk(w, h, b.data()); }},
        {"byte run", 300, 4,
         [](int w, int h, const Frame&, const Frame& b) {
             return flc_byte_run_chunk(w, h, b.data());
         }},
        {"byte delta", 300, 5,
         [](int w, int h, const Frame& a, const Frame& b) {
             return flc_byte_delta_chunk(w, h, a.data(), b.data());
         }},
        {"word delta, even width", 300, 5,
         [](int w, int h, const Frame& a, const Frame& b) {
             return flc_word_delta_chunk(w, h, a.data(), b.data());
         }},
        {"word delta, odd width", 17, 9,
         [](int w, int h, const Frame& a, const Frame& b) {
             return flc_word_delta_chunk(w, h, a.data(), b.data());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Frame a = pattern(c.w, c.h, 0);
        Frame b = pattern(c.w, c.h, 3);
        // Unchanged lines and a line where only the last pixel changes.
        std::copy(a.begin(), a.begin() + c.w * 2, b.begin());
        std::copy(a.begin() + c.w * 3, a.begin() + c.w * 4 - 1, b.begin() + c.w * 3);
        b[static_cast<size_t>(c.w) * 4 - 1] = 200;
        const FlcBytes file = flc_file(c.w, c.h, 50,
                                       {flc_frame_chunk({flc_colour_chunk({{0, test_palette()}}),
                                                         flc_copy_chunk(c.w, c.h, a.data())}),
                                        flc_frame_chunk({c.second(c.w, c.h, a, b)})});
        uint16_t pal[256] = {};
        const auto frames = decode_all(Block(file), pal, 10);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0], expected(a));
        EXPECT_EQ(frames[1], expected(b));
    }
}

TEST_F(FlcDecodeTest, AnEncodedSequenceDecodesFrameByFrame) {
    const int w = 301, h = 12;
    std::vector<Frame> frames = {pattern(w, h, 0), pattern(w, h, 0), pattern(w, h, 0),
                                 pattern(w, h, 0)};
    frames[1][5] = 250;                                                  // one pixel
    frames[2] = frames[1];                                               // no change at all
    std::fill(frames[3].begin() + w * 2, frames[3].begin() + w * 9, 42); // a large flat area
    frames[3][static_cast<size_t>(w) * 11 - 1] = 1;                      // a last pixel
    uint16_t pal[256] = {};
    const auto got = decode_all(Block(flc_encode(w, h, 40, test_palette(), frames)), pal, 10);
    ASSERT_EQ(got.size(), frames.size());
    for (size_t n = 0; n < frames.size(); ++n)
        EXPECT_EQ(got[n], expected(frames[n])) << "frame " << n;
}

TEST_F(FlcDecodeTest, ChunksAndSubChunksOfOtherKindsAreSkipped) {
    const Frame a = pattern(9, 4, 1);
    // Kind 11 holds 64-level colour packets (entry 7 here); only kind 4 is read.
    const FlcBytes file =
        flc_file(9, 4, 10,
                 {flc_other_chunk(0xF100, {1, 2, 3, 4, 5}),
                  flc_frame_chunk({flc_colour_chunk({{0, test_palette()}}),
                                   flc_sub_chunk(11, {1, 0, 7, 1, 63, 63, 63}),
                                   flc_sub_chunk(13, {}), flc_copy_chunk(9, 4, a.data())})});
    uint16_t pal[256] = {};
    const auto frames = decode_all(Block(file), pal, 5);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], expected(a));
}

TEST_F(FlcDecodeTest, ColourPacketsSkipAndSetEntriesAndStopAtTheLastEntry) {
    const FlcRgb c1{1, 2, 3}, c2{4, 5, 6}, c3{7, 8, 9};
    uint16_t pal[260];
    std::fill(pal, pal + 260, uint16_t{0x1234});
    FlcBytes file =
        flc_file(2, 2, 10, {flc_frame_chunk({flc_colour_chunk({{10, {c1, c2}}, {5, {c3}}})})});
    ASSERT_EQ(decode_all(Block(file), pal, 1).size(), 1u);
    EXPECT_EQ(pal[10], pixel_of(c1));
    EXPECT_EQ(pal[11], pixel_of(c2));
    EXPECT_EQ(pal[17], pixel_of(c3));
    for (int i : {0, 9, 12, 16, 18, 255})
        EXPECT_EQ(pal[i], 0x1234) << i;

    // Ten colours from entry 250: six are set, nothing past the palette.
    file = flc_file(2, 2, 10,
                    {flc_frame_chunk({flc_colour_chunk({{250, std::vector<FlcRgb>(10, c1)}})})});
    ASSERT_EQ(decode_all(Block(file), pal, 1).size(), 1u);
    EXPECT_EQ(pal[255], pixel_of(c1));
    for (int i = 256; i < 260; ++i)
        EXPECT_EQ(pal[i], 0x1234) << i;
}

TEST_F(FlcDecodeTest, OpcodesFollowTheFlcFormat) {
    uint16_t pal[256];
    for (int i = 0; i < 256; ++i)
        pal[i] = static_cast<uint16_t>(1000 + i);
    // Byte run: a count of 128 copies 128 bytes, then 2 repeats of 9.
    FlcBytes run = {0, 128};
    for (int i = 0; i < 128; ++i)
        run.push_back(static_cast<uint8_t>(i));
    run.insert(run.end(), {2, 9});
    auto frames = decode_all(
        Block(flc_file(130, 1, 10, {flc_frame_chunk({flc_sub_chunk(15, run)})})), pal, 1);
    ASSERT_EQ(frames.size(), 1u);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(frames[0][static_cast<size_t>(i)], 1000 + i);
    EXPECT_EQ(frames[0][128], 1009);
    EXPECT_EQ(frames[0][129], 1009);

    // Word delta: 0xFFFE skips two lines; 0x8007 sets the line's last pixel
    // to 7 and the packet count follows (one packet copying the pair 3, 4).
    const FlcBytes delta = {1, 0, 0xFE, 0xFF, 0x07, 0x80, 1, 0, 0, 1, 3, 4};
    frames =
        decode_all(Block(flc_file(5, 3, 10, {flc_frame_chunk({flc_sub_chunk(7, delta)})})), pal, 1);
    ASSERT_EQ(frames.size(), 1u);
    const std::vector<uint16_t> want = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1003, 1004, 0, 0, 1007};
    EXPECT_EQ(frames[0], want);

    // Byte delta from line 1: skip 2, repeat 5 three times.
    const FlcBytes bytes = {1, 0, 1, 0, 1, 2, 0xFD, 5};
    frames = decode_all(Block(flc_file(6, 2, 10, {flc_frame_chunk({flc_sub_chunk(12, bytes)})})),
                        pal, 1);
    ASSERT_EQ(frames.size(), 1u);
    const std::vector<uint16_t> want2 = {0, 0, 0, 0, 0, 0, 0, 0, 1005, 1005, 1005, 0};
    EXPECT_EQ(frames[0], want2);
}

TEST_F(FlcDecodeTest, DamagedDataEndsTheAnimationWithoutReadingPastIt) {
    const int w = 40, h = 20;
    const std::vector<Frame> frames = {pattern(w, h, 0), pattern(w, h, 2), pattern(w, h, 4)};
    const FlcBytes whole = flc_encode(w, h, 40, test_palette(), frames);
    uint16_t pal[256] = {};
    ASSERT_EQ(decode_all(Block(whole), pal, 10).size(), 3u);
    // Cut anywhere: never more frames than lie whole in the data, never a
    // read past it (the block is exactly as long as the cut).
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        const auto got = decode_all(Block(whole, cut), pal, 10);
        EXPECT_LT(got.size(), 3u) << cut;
    }
    // A chunk of size 0, or a frame whose sub-chunk count is larger than
    // what it holds, ends at once.
    FlcBytes zero = flc_file(w, h, 40, {flc_frame_chunk({})});
    std::fill(zero.begin() + 128, zero.begin() + 132, 0);
    EXPECT_TRUE(decode_all(Block(zero), pal, 10).empty());
    FlcBytes counted =
        flc_file(w, h, 40, {flc_frame_chunk({flc_copy_chunk(w, h, frames[0].data())})});
    counted[128 + 6] = 2;
    EXPECT_TRUE(decode_all(Block(counted), pal, 10).empty());
    // A sub-chunk claiming more bytes than its frame.
    FlcBytes sub = flc_file(w, h, 40, {flc_frame_chunk({flc_copy_chunk(w, h, frames[0].data())})});
    sub[128 + 16 + 1] = 0x7F;
    EXPECT_TRUE(decode_all(Block(sub), pal, 10).empty());
}

// ---- The player on the display and the back buffer

int render_calls = 0;
uint16_t render_colour = 0;
uint32_t render_delay_ms = 0;
void render_board() {
    ++render_calls;
    int32_t pitch = 0;
    uint16_t* px = plat_surface_lock(back_surface, &pitch);
    for (int y = 40; y < 480; ++y)
        std::fill(px + y * (pitch / 2), px + y * (pitch / 2) + 440, render_colour);
    plat_surface_unlock(back_surface);
    if (render_delay_ms) plat_clock_advance_to(plat_tick_count() + render_delay_ms);
}

class FlcPlayerTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        // The frame waits here end with their frames, not with the script.
        plat_script_set_close_at_end(false);
        gfx_set_pixel_format(PIXEL_RGB565);
        back_surface = plat_surface_create(640, 480, false);
        primary_surface = plat_surface_create(640, 480, true);
        render_calls = 0;
        render_colour = 0;
        render_delay_ms = 0;
        shown_clear();
    }
    void TearDown() override {
        flc_stop();
        flc_board_render = nullptr;
        flc_set_sounds(nullptr, 0);
        std::free(view_hitmap);
        view_hitmap = nullptr;
        gfx_pixel_format_reset();
        HeadlessTest::TearDown();
    }
    static uint16_t& at(PlatSurface* s, int x, int y) { return s->pixels[y * (s->pitch / 2) + x]; }
    static void fill(PlatSurface* s, uint16_t (*f)(int x, int y)) {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                at(s, x, y) = f(x, y);
    }
    // frames frames of w x h, frame n filled with colour n + 1 except a left
    // third of index 0.
    static FlcBytes solid_frames(int w, int h, int frames, uint32_t ms) {
        std::vector<Frame> f;
        for (int n = 0; n < frames; ++n) {
            Frame p(static_cast<size_t>(w) * h, static_cast<uint8_t>(n + 1));
            for (int y = 0; y < h; ++y)
                std::fill(p.begin() + y * w, p.begin() + y * w + w / 3, 0);
            f.push_back(p);
        }
        return flc_encode(w, h, ms, test_palette(), f);
    }
    static int frames_until_end(const Block& b, uint32_t flags, int limit) {
        EXPECT_EQ(flc_start(b.bytes.get(), b.size, 0, 40, flags), 1);
        int n = 0;
        while (n < limit) {
            ++n;
            if (!flc_next_frame()) break;
        }
        return n;
    }
};

TEST_F(FlcPlayerTest, PlayCountsRepeatTheAnimationAndLoopsNeverEnd) {
    const Block b(solid_frames(8, 4, 4, 10));
    struct Case {
        uint32_t flags;
        int frames;
    };
    for (const Case& c : {Case{0, 4}, Case{0x100, 4}, Case{0x300, 12}, Case{FLC_LOOP, 50}}) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(frames_until_end(b, c.flags, 50), c.frames);
    }
    EXPECT_EQ(flc_next_frame(), 1); // the loop still goes on
    flc_stop();
    EXPECT_EQ(flc_next_frame(), 0);
}

TEST_F(FlcPlayerTest, OverTheBackgroundIndexZeroShowsTheBackBuffer) {
    fill(back_surface, [](int x, int y) { return static_cast<uint16_t>(x * 3 + y); });
    const Block b(solid_frames(30, 10, 1, 10));
    ASSERT_EQ(flc_start(b.bytes.get(), b.size, 100, 200, FLC_OVER_BACKGROUND), 1);
    EXPECT_EQ(flc_next_frame(), 0);
    const uint16_t one = pixel_of(test_palette()[1]);
    for (int y = 200; y < 210; ++y) {
        EXPECT_EQ(at(primary_surface, 100, y), at(back_surface, 100, y));
        EXPECT_EQ(at(primary_surface, 109, y), at(back_surface, 109, y));
        EXPECT_EQ(at(primary_surface, 110, y), one);
        EXPECT_EQ(at(primary_surface, 129, y), one);
    }
    EXPECT_EQ(at(primary_surface, 130, 205), 0);
    EXPECT_EQ(at(primary_surface, 99, 205), 0);

    // Without bit 0 index 0 is its own colour; bit 3 keeps the display as
    // it is and draws into the back buffer.
    const uint16_t zero = pixel_of(test_palette()[0]);
    ASSERT_EQ(flc_start(b.bytes.get(), b.size, 300, 20, 0), 1);
    flc_next_frame();
    EXPECT_EQ(at(primary_surface, 300, 20), zero);
    ASSERT_EQ(flc_start(b.bytes.get(), b.size, 400, 20, FLC_BACK_ONLY | FLC_OVER_BACKGROUND), 1);
    flc_next_frame();
    EXPECT_EQ(at(back_surface, 400, 20), zero);
    EXPECT_EQ(at(back_surface, 420, 20), one);
    EXPECT_EQ(at(primary_surface, 420, 20), 0);
}

TEST_F(FlcPlayerTest, WritesAreCutToTheScreen) {
    const Block b(solid_frames(100, 60, 2, 10));
    ASSERT_EQ(flc_start(b.bytes.get(), b.size, 600, 450, FLC_BACK_ONLY), 1);
    flc_next_frame();
    EXPECT_EQ(flc_next_frame(), 0);
    EXPECT_EQ(at(back_surface, 639, 479), pixel_of(test_palette()[2]));
    ASSERT_EQ(flc_start(b.bytes.get(), b.size, -50, -30, FLC_OVER_BACKGROUND), 1);
    flc_next_frame();
    EXPECT_EQ(at(primary_surface, 49, 29), pixel_of(test_palette()[1]));
}

TEST_F(FlcPlayerTest, BoardDifferenceFrameRendersTheBoardUnderTheAnimation) {
    flc_board_render = render_board;
    const Block b(solid_frames(440, 440, 5, 10));
    struct Case {
        uint32_t flags;
        int renders;
    };
    for (const Case& c : {Case{0x30001, 1}, Case{0xFF0001, 5}, Case{0x1, 0}}) {
        SCOPED_TRACE(c.flags);
        render_calls = 0;
        EXPECT_EQ(frames_until_end(b, c.flags, 10), 5);
        EXPECT_EQ(render_calls, c.renders);
    }
    // Places above the board and past its corner keep to the difference
    // buffer and the screen.
    const Block big(solid_frames(100, 100, 2, 10));
    for (int place : {-20, 400}) {
        ASSERT_EQ(flc_start(big.bytes.get(), big.size, place, place + 10, 0xFF0001), 1);
        EXPECT_EQ(flc_next_frame(), 1);
        EXPECT_EQ(flc_next_frame(), 0);
    }
    // After the re-render the board shows through where the animation left
    // the back buffer's pixel, and the animation's own pixels stay.
    render_colour = 0x5555;
    ASSERT_EQ(flc_start(b.bytes.get(), b.size, 0, 40, 0x10001), 1);
    flc_next_frame();
    EXPECT_EQ(at(primary_surface, 10, 100), 0x5555);
    EXPECT_EQ(at(primary_surface, 300, 100), pixel_of(test_palette()[1]));
}

TEST_F(FlcPlayerTest, ABoardDifferenceNeedsBitZeroAndNotBitThree) {
    flc_board_render = render_board;
    const Block b(solid_frames(8, 4, 4, 100));
    for (uint32_t flags : {0x30009u, 0x30000u, 0xFF0008u}) {
        SCOPED_TRACE(flags);
        EXPECT_EQ(flc_start(b.bytes.get(), b.size, 0, 40, flags), 0);
        EXPECT_EQ(flc_next_frame(), 0);
        const uint32_t t = plat_tick_count();
        EXPECT_EQ(flc_play(b.bytes.get(), b.size, 0, 40, flags, -1), 0);
        EXPECT_EQ(plat_tick_count(), t);
    }
    EXPECT_EQ(render_calls, 0);
    EXPECT_EQ(at(primary_surface, 5, 41), 0);
}

TEST_F(FlcPlayerTest, BoardModeShowsTheBoardBufferThroughTheFrameBrightness) {
    const Block b(solid_frames(8, 4, 6, 10));
    EXPECT_EQ(flc_start(b.bytes.get(), b.size, 0, 40, FLC_BOARD_MODE), 0); // no board buffer
    view_hitmap = static_cast<uint16_t*>(std::calloc(440 * 440, 2));
    const uint16_t grey = gfx_rgb_to_pixel(0x808080);
    fill(back_surface, [](int, int) { return gfx_rgb_to_pixel(0x808080); });
    ASSERT_EQ(flc_start(b.bytes.get(), b.size, 0, 40, FLC_BOARD_MODE), 1);
    const int k[] = {0, 0, 0, 4, 12, 24}; // frames 1 to 6
    for (int n = 0; n < 6; ++n) {
        SCOPED_TRACE(n + 1);
        flc_next_frame();
        uint16_t want = 0;
        gfx_brightness_run(&want, &grey, 2, k[n]);
        EXPECT_EQ(at(primary_surface, 200, 300), want);
        // The animation itself went into the board buffer's top left.
        EXPECT_EQ(view_hitmap[440 + 5], pixel_of(test_palette()[n + 1]));
    }
    EXPECT_NE(at(primary_surface, 200, 300), grey);
    EXPECT_EQ(at(primary_surface, 500, 300), 0); // beside the board: untouched
}

TEST_F(FlcPlayerTest, TheSoundElementPlaysAfterItsFrame) {
    EffectListEntry list[] = {{7, nullptr}, {9, nullptr}, {-1, nullptr}};
    flc_set_sounds(list, 1);
    const Block b(solid_frames(8, 4, 4, 10));
    EXPECT_EQ(frames_until_end(b, 2u << FLC_SOUND_SHIFT, 10), 4);
    EXPECT_EQ(shown_count(Shown::Effect, 9), 1u);
    EXPECT_EQ(shown_count(Shown::Effect, 7), 0u);
    // An element past the list's end plays nothing.
    flc_set_sounds(list, 2);
    EXPECT_EQ(frames_until_end(b, 2u << FLC_SOUND_SHIFT, 10), 4);
    EXPECT_EQ(shown_count(Shown::Effect), 1u);
}

TEST_F(FlcPlayerTest, FrameTimeIncludesTheDecode) {
    flc_board_render = render_board;
    render_delay_ms = 30; // the re-render inside each frame takes 30 ms
    const Block b(solid_frames(8, 4, 5, 100));
    const uint32_t t = plat_tick_count();
    EXPECT_EQ(flc_play(b.bytes.get(), b.size, 0, 40, 0xFF0001, -1), 0);
    EXPECT_EQ(plat_tick_count() - t, 500u);
    // A speed override of 3 gives 30 ms a frame.
    const uint32_t t2 = plat_tick_count();
    flc_board_render = nullptr;
    EXPECT_EQ(flc_play(b.bytes.get(), b.size, 0, 40, 0x30, -1), 0);
    EXPECT_EQ(plat_tick_count() - t2, 150u);
}

TEST_F(FlcPlayerTest, AKeyUpEndsASkippableLoopAndOnlyThat) {
    const Block b(solid_frames(8, 4, 4, 50));
    key_down(300, VK_SPACE);
    key_up(1000, VK_SPACE);
    EXPECT_EQ(flc_play(b.bytes.get(), b.size, 0, 40, FLC_LOOP | FLC_SKIPPABLE, -1), 1);
    EXPECT_EQ(plat_tick_count(), 1000u);
    // Not skippable: the key-up is taken and the animation plays its 4 frames.
    key_up(1100, VK_SPACE);
    EXPECT_EQ(flc_play(b.bytes.get(), b.size, 0, 40, 0, -1), 0);
    EXPECT_EQ(plat_tick_count(), 1200u);
}

TEST_F(FlcPlayerTest, TheFrameWaitKeepsMessagesForTheScreen) {
    const Block b(solid_frames(8, 4, 4, 50));
    plat_post_message(WM_USER + 7, 1, 2);
    plat_post_message(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    plat_post_quit_message(3);
    const uint32_t t = plat_tick_count();
    EXPECT_EQ(flc_play(b.bytes.get(), b.size, 0, 40, 0, -1), 0);
    EXPECT_EQ(plat_tick_count() - t, 200u);
    EXPECT_EQ(count_calls("music_on_notify"), 1); // the piece that ended is followed up
    PlatMessage m;
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_USER + 7);
    ASSERT_TRUE(plat_peek_message(&m, true));
    EXPECT_EQ(m.message, WM_QUIT);
}

TEST_F(FlcPlayerTest, DamagedDataEndsThePlayerCleanly) {
    const FlcBytes whole = solid_frames(20, 10, 3, 10);
    for (size_t cut = 128; cut < whole.size(); cut += 7) {
        const Block b(whole, cut);
        ASSERT_EQ(flc_start(b.bytes.get(), b.size, 10, 50, FLC_LOOP), 1);
        int n = 0;
        while (flc_next_frame() && n < 10)
            ++n;
        EXPECT_LT(n, 3) << cut;
        EXPECT_EQ(flc_next_frame(), 0);
    }
    const Block tiny(whole, 127);
    EXPECT_EQ(flc_start(tiny.bytes.get(), tiny.size, 0, 0, 0), 0);
    FlcBytes other = whole;
    other[4] = 0x11;
    EXPECT_EQ(flc_start(other.data(), other.size(), 0, 0, 0), 0);
}

// ---- The stand-in animations the game plays

class FlcEntryTest : public FlcPlayerTest {
  protected:
    void SetUp() override {
        FlcPlayerTest::SetUp();
        mkf_reset();
        data_archive = mkf_open("data.mkf");
        ASSERT_GE(data_archive, 0);
    }
    void TearDown() override {
        mkf_reset();
        FlcPlayerTest::TearDown();
    }
};

TEST_F(FlcEntryTest, PlayingAnEntryReadsItFromTheArchive) {
    EXPECT_EQ(flc_play_entry(496, 204, 180, FLC_OVER_BACKGROUND, 98), 0);
    EXPECT_EQ(shown_count(Shown::Flc, 496), 1u);
    EXPECT_EQ(shown_count(Shown::Effect, 98), 1u); // once, after the first frame
    int drawn = 0;
    for (int y = 180; y < 340; ++y)
        for (int x = 204; x < 436; ++x)
            drawn += at(primary_surface, x, y) != 0;
    EXPECT_GT(drawn, 100);
    // A missing entry, and no display at all: nothing plays.
    const uint32_t t = plat_tick_count();
    EXPECT_EQ(flc_play_entry(9999, 0, 40, 0, -1), 0);
    back_surface = nullptr;
    EXPECT_EQ(flc_play_entry(496, 204, 180, 1, 98), 0);
    EXPECT_EQ(plat_tick_count(), t);
    EXPECT_EQ(shown_count(Shown::Flc, 496), 2u);
}

TEST_F(FlcEntryTest, ThePlayerAwayFilmsPlayTheirSounds) {
    struct Case {
        int kind, film, sound;
    };
    for (const Case& c : {Case{1, 492, 84}, Case{0, 517, 96}}) {
        SCOPED_TRACE(c.kind);
        shown_clear();
        player_send_away(0, 3, c.kind);
        player_return(0);
        EXPECT_EQ(shown_count(Shown::Flc, c.film), 2u);
        EXPECT_EQ(shown_count(Shown::Effect, c.sound), 2u);
    }
}

TEST_F(FlcEntryTest, EveryAnimationFitsItsPlaceAndOutlastsItsBoardFrame) {
    struct Use {
        int entry, x, y;
        uint32_t flags;
    };
    std::vector<Use> uses = {{482, 0, 40, 0},       {483, 0, 210, 0x1E0001}, {484, 0, 40, 0x30001},
                             {485, 0, 40, 1},       {491, 0, 40, 0x30001},   {492, 0, 40, 0},
                             {495, 208, 180, 1},    {496, 204, 180, 1},      {497, 0, 40, 0x120001},
                             {511, 0, 40, 0x10001}, {513, 0, 40, 0},         {514, 0, 40, 0},
                             {517, 0, 40, 0}};
    for (int e = 499; e <= 510; ++e)
        uses.push_back({e, 0, 40, 1});
    for (int e = 518; e <= 529; ++e)
        uses.push_back({e, 0, 40, 0});
    for (const Use& u : uses) {
        SCOPED_TRACE(u.entry);
        uint32_t size = 0;
        void* p = mkf_read(data_archive, u.entry, nullptr, &size);
        ASSERT_NE(p, nullptr);
        const Block b(FlcBytes(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + size));
        std::free(p);
        FlcHeader h{};
        ASSERT_EQ(flc_read_header(b.bytes.get(), b.size, &h), 1);
        EXPECT_LE(u.x + h.width, 440);
        EXPECT_LE(u.y + h.height, 480);
        EXPECT_GT(h.frames, static_cast<int>((u.flags >> 16) & 0xFF));
        if (u.entry == 485) {
            EXPECT_EQ(h.frames, ANIM_RAZE_FILM_FRAMES);
        }
        uint16_t pal[256] = {};
        const auto frames = decode_all(b, pal, 1000);
        ASSERT_EQ(frames.size(), h.frames);
        EXPECT_NE(frames.front(), frames.back());
        const bool over = (u.flags & 1) != 0;
        // Over the board most of the picture lets the board show through;
        // the others cover their place.
        const size_t clear = static_cast<size_t>(
            std::count(frames[h.frames / 2].begin(), frames[h.frames / 2].end(), pal[0]));
        if (over) {
            EXPECT_GT(clear, frames[0].size() / 3);
        } else {
            EXPECT_LT(clear, frames[0].size() / 2);
        }
    }
}

} // namespace
