// The stand-in data set the build wrote: every entry reads back, the manifest
// matches the archives, and the first picture the program shows is in place.
#include "board/view_sets.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "platform/files.h"
#include "shell/setup_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path data_dir = KARVO_TEST_DATA_DIR;
const fs::path manifest_path =
    fs::path(__FILE__).parent_path().parent_path() / "tools" / "data_manifest.txt";

struct ManifestLine {
    std::string archive;
    int entry; // -1: the line names a whole file (entry "-"), not an archive entry
};

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

std::vector<ManifestLine> read_manifest() {
    std::vector<ManifestLine> lines;
    std::ifstream in(manifest_path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string f;
        while (std::getline(ss, f, '|'))
            fields.push_back(trim(f));
        EXPECT_EQ(fields.size(), 5u) << line;
        if (fields.size() < 2) continue;
        lines.push_back({fields[0], fields[1] == "-" ? -1 : std::atoi(fields[1].c_str())});
    }
    return lines;
}

class DataSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mkf_reset();
        spr_reset();
        gfx_pixel_format_reset();
        plat_set_data_dir(data_dir.string());
    }
    void TearDown() override {
        mkf_reset();
        spr_reset();
        gfx_pixel_format_reset();
    }
    static int open_data(const std::string& name) { return mkf_open(("A:\\" + name).c_str()); }
};

TEST_F(DataSetTest, EveryEntryOfEveryArchiveReads) {
    int archives = 0;
    for (const auto& file : fs::directory_iterator(data_dir)) {
        std::string ext = file.path().extension().string();
        if (ext != ".mkf" && ext != ".MKF") continue;
        ++archives;
        std::string name = file.path().filename().string();
        int slot = open_data(name);
        ASSERT_GE(slot, 0) << name;
        int count = mkf_entry_count(slot);
        EXPECT_GT(count, 0) << name;
        for (int e = 0; e < count; ++e) {
            MkfEntryHeader h{};
            ASSERT_EQ(mkf_read_header(slot, e, &h), 1) << name << " " << e;
            uint32_t size = 0xFFFFFFFF;
            void* p = mkf_read(slot, e, nullptr, &size);
            ASSERT_NE(p, nullptr) << name << " entry " << e;
            EXPECT_EQ(size, h.unpacked_size) << name << " entry " << e;
            spr_unlink(p);
            std::free(p);
        }
        mkf_close(slot);
    }
    EXPECT_GT(archives, 0);
}

TEST_F(DataSetTest, ManifestNamesEveryEntryWritten) {
    std::vector<ManifestLine> manifest = read_manifest();
    ASSERT_FALSE(manifest.empty());
    std::set<std::pair<std::string, int>> listed;
    for (const ManifestLine& m : manifest) {
        EXPECT_TRUE(listed.insert({m.archive, m.entry}).second)
            << "listed twice: " << m.archive << " " << m.entry;
        if (m.entry == -1) {
            std::error_code ec;
            EXPECT_GT(fs::file_size(data_dir / m.archive, ec), 0u) << m.archive;
            EXPECT_FALSE(ec) << m.archive;
            continue;
        }
        int slot = open_data(m.archive);
        ASSERT_GE(slot, 0) << m.archive;
        MkfEntryHeader h{};
        EXPECT_EQ(mkf_read_header(slot, m.entry, &h), 1) << m.archive << " " << m.entry;
        EXPECT_GT(h.unpacked_size, 0u) << m.archive << " " << m.entry;
        mkf_close(slot);
    }
    // Every non-empty entry of the archives is listed (empty ones fill gaps).
    for (const auto& file : fs::directory_iterator(data_dir)) {
        std::string name = file.path().filename().string();
        int slot = open_data(name);
        if (slot < 0) {
            EXPECT_TRUE(listed.count({name, -1})) << "not in the manifest: " << name;
            continue;
        }
        for (int e = 0; e < mkf_entry_count(slot); ++e) {
            MkfEntryHeader h{};
            if (mkf_read_header(slot, e, &h) && h.unpacked_size > 0) {
                EXPECT_TRUE(listed.count({name, e})) << "not in the manifest: " << name << " " << e;
            }
        }
        mkf_close(slot);
    }
}

TEST_F(DataSetTest, EverySoundAnAnimationAsksForIsAWave) {
    // The extra sounds the board's, the cards' and the stage end's animations
    // name (101: the cheer when a lost stage is continued).
    const int entries[] = {80, 82, 84, 85, 86, 87, 88, 89, 90, 93, 95, 97, 98, 99, 101};
    const int slot = open_data("EFFECT.MKF");
    ASSERT_GE(slot, 0);
    for (int e : entries) {
        uint32_t size = 0;
        auto* p = static_cast<uint8_t*>(mkf_read(slot, e, nullptr, &size));
        ASSERT_NE(p, nullptr) << "EFFECT.MKF entry " << e;
        EXPECT_GT(size, 44u) << "EFFECT.MKF entry " << e << " holds no sound";
        if (size >= 12) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(p), 4), "RIFF") << e;
            EXPECT_EQ(std::string(reinterpret_cast<char*>(p) + 8, 4), "WAVE") << e;
        }
        std::free(p);
    }
    mkf_close(slot);
}

TEST_F(DataSetTest, LoadingPictureIsAPackedFullScreenOfPixels) {
    data_archive = open_data("data.mkf");
    ASSERT_GE(data_archive, 0);
    MkfEntryHeader h{};
    ASSERT_EQ(mkf_read_header(data_archive, 560, &h), 1);
    EXPECT_EQ(h.unpacked_size, 640u * 480u * 2u);
    EXPECT_LT(h.packed_size, h.unpacked_size);
    EXPECT_EQ(h.pixel_offset, 0u);
    EXPECT_EQ(h.pixel_byte_count, h.unpacked_size);
    uint16_t* stored = static_cast<uint16_t*>(mkf_read(data_archive, 560, nullptr, nullptr));
    ASSERT_NE(stored, nullptr);
    gfx_set_pixel_format(PIXEL_RGB565);
    uint16_t* shown = static_cast<uint16_t*>(mkf_read(data_archive, 560, nullptr, nullptr));
    ASSERT_NE(shown, nullptr);
    size_t opaque = 0;
    for (size_t i = 0; i < 640u * 480u; ++i) {
        EXPECT_EQ(stored[i] & 0x8000, 0) << i; // stored as RGB555
        EXPECT_EQ(shown[i], static_cast<uint16_t>((stored[i] & 0x1F) | ((stored[i] << 1) & 0xFFC0)))
            << i;
        opaque += stored[i] != 0;
        if (HasFailure()) break;
    }
    EXPECT_GT(opaque, 640u * 400u); // a picture, not an empty block
    std::free(stored);
    std::free(shown);
}

// The calendar draws the weekday, the month and the day number over a
// holiday's picture: there the picture is plain sky, one colour a row.
TEST_F(DataSetTest, HolidayPicturesKeepTheirOrnamentsOffTheDate) {
    data_archive = open_data("data.mkf");
    ASSERT_GE(data_archive, 0);
    // Picture-relative rectangles: the weekday, the month, the day number.
    const int areas[3][4] = {{6, 70, 30, 135}, {56, 44, 135, 82}, {56, 92, 140, 166}};
    for (int e = HOLIDAY_PICTURE_FIRST; e <= HOLIDAY_PICTURE_LAST; ++e) {
        void* set = mkf_read(data_archive, e, nullptr, nullptr);
        const ImageRecord* f = set ? spr_frame(set, 0) : nullptr;
        ASSERT_NE(f, nullptr) << e;
        for (const auto& a : areas)
            for (int y = a[1]; y < a[3]; ++y)
                for (int x = a[0] + 1; x < a[2]; ++x)
                    ASSERT_EQ(f->pixels[y * f->width + x], f->pixels[y * f->width + a[0]])
                        << "entry " << e << " at " << x << ", " << y;
        spr_unlink(set);
        std::free(set);
    }
}

// The street names are painted on each map's ground in two colours of
// their own (the sign and its letters).
TEST_F(DataSetTest, EveryMapsGroundCarriesStreetSigns) {
    const int slot = open_data("MAP.MKF");
    ASSERT_GE(slot, 0);
    for (int m = 0; m < 4; ++m) {
        SCOPED_TRACE(m);
        uint32_t size = 0;
        auto* t =
            static_cast<uint8_t*>(mkf_read(slot, MAPGFX_TERRAIN_BASE + 2 * m, nullptr, &size));
        ASSERT_NE(t, nullptr);
        ASSERT_GE(size, TERRAIN_TILES_AT);
        // Cells showing a sign's plate with letters on it.
        int signed_cells = 0;
        for (int cell = 0; cell < TERRAIN_CELLS * TERRAIN_CELLS; ++cell) {
            const uint32_t tile = t[TERRAIN_GRID_AT + 2 * cell] | t[TERRAIN_GRID_AT + 2 * cell + 1]
                                                                      << 8;
            const uint8_t* px = t + TERRAIN_TILES_AT + tile * TERRAIN_TILE_BYTES;
            ASSERT_LE(TERRAIN_TILES_AT + (tile + 1) * TERRAIN_TILE_BYTES, size);
            int plate = 0, ink = 0;
            for (uint32_t i = 0; i < TERRAIN_TILE_BYTES; ++i)
                plate += px[i] == 11, ink += px[i] == 12;
            signed_cells += plate > 50 && ink > 20;
        }
        // Every map has several streets of two to four plots; each sign
        // covers a few cells.
        EXPECT_GE(signed_cells, 10);
        std::free(t);
    }
    mkf_close(slot);
}

// The lottery ticket window's cursor (data.mkf 0, frame 28) is a pen that
// points with its nib: the hot spot is an opaque pixel at the lower left and
// the barrel leans up to the right, all within the cursor's 32 x 32 box.
TEST_F(DataSetTest, TheTicketWindowsCursorIsAPenPointingWithItsNib) {
    data_archive = open_data("data.mkf");
    ASSERT_GE(data_archive, 0);
    void* set = mkf_read(data_archive, 0, nullptr, nullptr);
    const ImageRecord* f = set ? spr_frame(set, 28) : nullptr;
    ASSERT_NE(f, nullptr);
    EXPECT_LE(f->width, 32);
    EXPECT_LE(f->height, 32);
    ASSERT_TRUE(f->hot_x >= 0 && f->hot_y >= 0 && f->hot_x < f->width && f->hot_y < f->height);
    EXPECT_NE(f->pixels[f->hot_y * f->width + f->hot_x], 0) << "the tip itself is drawn";
    EXPECT_LT(f->hot_x, f->width / 4);
    EXPECT_GT(f->hot_y, f->height * 3 / 4);
    // Opaque pixels of the top and bottom quarters, by half.
    int top[2] = {0, 0}, bottom[2] = {0, 0};
    for (int y = 0; y < f->height; ++y)
        for (int x = 0; x < f->width; ++x) {
            if (f->pixels[y * f->width + x] == 0) continue;
            const int half = x >= f->width / 2 ? 1 : 0;
            if (y < f->height / 4) ++top[half];
            if (y >= f->height * 3 / 4) ++bottom[half];
        }
    EXPECT_GT(top[1], 0);
    EXPECT_EQ(top[0], 0);
    EXPECT_GT(bottom[0], 0);
    EXPECT_EQ(bottom[1], 0);
    spr_unlink(set);
    std::free(set);
}

} // namespace

// The stage end stamps a cleared map at (220, 28 + 40 j) of the chooser's
// 40-pixel rows and at (32, 22) of the map's picture, and marks the chosen
// map at (214, 8) of its picture: each mark lies wholly inside what it is
// stamped into, the chooser's stamp inside its own row.
TEST_F(DataSetTest, TheStageEndsMarksFitTheRowsAndPicturesTheyAreStampedInto) {
    const int jump = open_data("JUMP.MKF");
    ASSERT_GE(jump, 0);
    void* set = mkf_read(jump, JUMP_FRAME_SET, nullptr, nullptr);
    ASSERT_NE(set, nullptr);
    const ImageRecord* stamp = spr_frame(set, SF_STAGE_STAMP);
    const ImageRecord* chooser = spr_frame(set, SF_STAGE_CHOOSER);
    const ImageRecord* chosen = spr_frame(set, SF_STAGE_CHOSEN);
    ASSERT_TRUE(stamp && chooser && chosen);
    EXPECT_LE(220 + stamp->width, chooser->width);
    EXPECT_LE(28 + stamp->height, 40) << "inside the row";
    EXPECT_GE(chooser->height, 4 * 40);
    for (int m = 0; m < 4; ++m) {
        SCOPED_TRACE(m);
        const ImageRecord* map = spr_frame(set, SF_STAGE_MAP + m);
        ASSERT_NE(map, nullptr);
        EXPECT_LE(32 + stamp->width, map->width);
        EXPECT_LE(22 + stamp->height, map->height);
        EXPECT_LE(214 + chosen->width, map->width);
        EXPECT_LE(8 + chosen->height, map->height);
    }
    spr_unlink(set);
    std::free(set);
    mkf_close(jump);
}
