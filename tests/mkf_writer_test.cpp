// The data builder's archive writer, read back through the game's reader.
#include "engine/image.h"
#include "engine/mkf.h"

#include "mkf_writer.h"
#include "mkfpack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class MkfWriterTest : public ::testing::Test {
  protected:
    fs::path path;
    void SetUp() override {
        mkf_reset();
        spr_reset();
        gfx_pixel_format_reset();
        path = fs::temp_directory_path() /
               ("karvo_writer_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".mkf");
    }
    void TearDown() override {
        mkf_reset();
        spr_reset();
        gfx_pixel_format_reset();
        fs::remove(path);
    }
    int save_and_open(const ArchiveWriter& a) {
        EXPECT_TRUE(mkf_writer_save(a, path.string()));
        return mkf_open(path.c_str());
    }
};

std::vector<FrameImage> sample_frames() {
    std::vector<FrameImage> frames(2);
    frames[0].width = 3;
    frames[0].height = 2;
    frames[0].hot_x = -1;
    frames[0].hot_y = 4;
    frames[1].width = 1;
    frames[1].height = 5;
    for (FrameImage& f : frames)
        for (int i = 0; i < f.width * f.height; ++i) {
            f.pixels.push_back(static_cast<uint16_t>(0x7C00 | i));
            f.indices.push_back(static_cast<uint8_t>(i + 1));
        }
    return frames;
}

TEST_F(MkfWriterTest, PacksWhenSmallerStoresOtherwise) {
    ArchiveWriter a;
    Bytes runs(4000, 7);
    Bytes tiny = {1, 2};
    mkf_writer_add(a, 0, runs);
    mkf_writer_add(a, 1, tiny); // would grow when packed
    mkf_writer_add_raw(a, 3, runs);
    Bytes even(6, 'A'); // packs to exactly its own size, which would read as stored
    ASSERT_EQ(mkfpack_compress(even.data(), even.size()).size(), even.size());
    mkf_writer_add(a, 4, even);
    EXPECT_LT(a.entries[0].data.size(), runs.size());
    EXPECT_EQ(a.entries[1].data, tiny);
    EXPECT_FALSE(a.entries[2].present);
    EXPECT_EQ(a.entries[3].data, runs);
    EXPECT_EQ(a.entries[4].data, even);
    int slot = save_and_open(a);
    ASSERT_GE(slot, 0);
    ASSERT_EQ(mkf_entry_count(slot), 5);
    MkfEntryHeader h{};
    ASSERT_EQ(mkf_read_header(slot, 0, &h), 1);
    EXPECT_NE(h.packed_size, h.unpacked_size);
    ASSERT_EQ(mkf_read_header(slot, 3, &h), 1);
    EXPECT_EQ(h.packed_size, h.unpacked_size);
    for (int e : {0, 1, 3, 4}) {
        uint32_t n = 0;
        uint8_t* p = static_cast<uint8_t*>(mkf_read(slot, e, nullptr, &n));
        ASSERT_NE(p, nullptr) << e;
        EXPECT_EQ(Bytes(p, p + n), e == 1 ? tiny : e == 4 ? even : runs) << e;
        std::free(p);
    }
    EXPECT_THROW(mkf_writer_add(a, 0, tiny), std::invalid_argument);       // written twice
    EXPECT_THROW(mkf_writer_add(a, 9, tiny, 1, 2), std::invalid_argument); // pixels past the data
}

TEST_F(MkfWriterTest, SmpSetLinksAndConverts) {
    gfx_set_pixel_format(PIXEL_RGB565);
    ArchiveWriter a;
    mkf_writer_add_frameset(a, 0, frameset_smp(sample_frames()));
    int slot = save_and_open(a);
    void* set = mkf_read(slot, 0, nullptr, nullptr);
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(spr_frame_count(set), 2);
    const ImageRecord* f0 = spr_frame(set, 0);
    const ImageRecord* f1 = spr_frame(set, 1);
    EXPECT_EQ(f0->width, 3);
    EXPECT_EQ(f0->hot_x, -1);
    EXPECT_EQ(f0->hot_y, 4);
    EXPECT_EQ(f1->height, 5);
    EXPECT_EQ(f1->pixels, f0->pixels + 6); // frames follow one another
    EXPECT_EQ(f0->pixels[5], 0xF805);      // 0x7C05 in RGB565
    EXPECT_EQ(f1->pixels[4], 0xF804);
    spr_unlink(set);
    std::free(set);
}

TEST_F(MkfWriterTest, SprSetConvertsOnlyItsPalette) {
    gfx_set_pixel_format(PIXEL_BGR565);
    std::vector<uint16_t> palette(256, 0x7C00);
    ArchiveWriter a;
    mkf_writer_add_frameset(a, 0, frameset_spr(palette, sample_frames()));
    int slot = save_and_open(a);
    void* set = mkf_read(slot, 0, nullptr, nullptr);
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(spr_frame_count(set), 2);
    EXPECT_EQ(spr_palette(set)[0], 0x001F); // red moves to the low bits
    EXPECT_EQ(spr_palette(set)[255], 0x001F);
    const uint8_t* f0 = reinterpret_cast<const uint8_t*>(spr_frame(set, 0)->pixels);
    const uint8_t* f1 = reinterpret_cast<const uint8_t*>(spr_frame(set, 1)->pixels);
    EXPECT_EQ(f0, reinterpret_cast<uint8_t*>(spr_palette(set)) + 512);
    EXPECT_EQ(f1, f0 + 6);
    EXPECT_EQ(f0[5], 6); // indices untouched
    EXPECT_EQ(f1[0], 1);
    spr_unlink(set);
    std::free(set);
}

TEST_F(MkfWriterTest, EmptyArchive) {
    ArchiveWriter a;
    Bytes image = mkf_writer_image(a);
    EXPECT_EQ(image, (Bytes{4, 0, 0, 0}));
    int slot = save_and_open(a);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(mkf_entry_count(slot), 0);
}

} // namespace
