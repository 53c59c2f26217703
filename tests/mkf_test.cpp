// Archive reading: layout, conversion on reading, frame-set linking, and the
// limits of damaged or hostile archives.
#include "engine/image.h"
#include "engine/mkf.h"
#include "platform/files.h"

#include "mkfpack.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void set32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t f32(const Bytes& b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
           static_cast<uint32_t>(b[at + 3]) << 24;
}
void put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

// One entry as it goes into the file: header fields and the bytes after it.
struct RawEntry {
    uint32_t unpacked;
    uint32_t pixel_offset;
    uint32_t pixel_bytes;
    Bytes data; // stored bytes (packed when their size differs from `unpacked`)
};

RawEntry stored(const Bytes& plain, uint32_t pixel_offset = 0, uint32_t pixel_bytes = 0) {
    return {static_cast<uint32_t>(plain.size()), pixel_offset, pixel_bytes, plain};
}
RawEntry packed(const Bytes& plain, uint32_t pixel_offset = 0, uint32_t pixel_bytes = 0) {
    return {static_cast<uint32_t>(plain.size()), pixel_offset, pixel_bytes,
            mkfpack_compress(plain.data(), plain.size())};
}

// Archive file bytes: entry offsets are recorded in `offsets` when given.
Bytes archive_bytes(const std::vector<RawEntry>& entries,
                    std::vector<uint32_t>* offsets = nullptr) {
    Bytes f;
    put32(f, 0);
    std::vector<uint32_t> at;
    for (const RawEntry& e : entries) {
        at.push_back(static_cast<uint32_t>(f.size()));
        put32(f, e.unpacked);
        put32(f, static_cast<uint32_t>(e.data.size()));
        put32(f, e.pixel_offset);
        put32(f, e.pixel_bytes);
        f.insert(f.end(), e.data.begin(), e.data.end());
    }
    set32(f, 0, static_cast<uint32_t>(f.size()));
    for (uint32_t o : at)
        put32(f, o);
    if (offsets) *offsets = at;
    return f;
}

Bytes smp_set(const std::vector<std::pair<uint16_t, uint16_t>>& sizes) {
    Bytes b = {'S', 'M', 'P', 0};
    put32(b, static_cast<uint32_t>(sizes.size()));
    put32(b, static_cast<uint32_t>(12 + 12 * sizes.size()));
    for (auto [w, h] : sizes) {
        put16(b, w);
        put16(b, h);
        put16(b, 1);
        put16(b, 2);
        put32(b, static_cast<uint32_t>(w) * h * 2);
    }
    uint16_t v = 1;
    for (auto [w, h] : sizes)
        for (int i = 0; i < w * h; ++i)
            put16(b, v++);
    return b;
}

Bytes spr_set(const std::vector<std::pair<uint16_t, uint16_t>>& sizes) {
    Bytes b = {'S', 'P', 'R', 0};
    put32(b, static_cast<uint32_t>(sizes.size()));
    put32(b, static_cast<uint32_t>(12 + 12 * sizes.size()));
    for (auto [w, h] : sizes) {
        put16(b, w);
        put16(b, h);
        put16(b, 0);
        put16(b, 0);
        put32(b, static_cast<uint32_t>(w) * h);
    }
    for (int i = 0; i < 256; ++i)
        put16(b, 0x7FFF);
    uint8_t v = 1;
    for (auto [w, h] : sizes)
        for (int i = 0; i < w * h; ++i)
            b.push_back(v++);
    return b;
}

class MkfTest : public ::testing::Test {
  protected:
    fs::path dir;
    std::string saved_data_dir;

    void SetUp() override {
        mkf_reset();
        spr_reset();
        gfx_pixel_format_reset();
        dir = fs::temp_directory_path() /
              ("karvo_mkf_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        saved_data_dir = plat_data_dir();
        plat_set_data_dir(dir.string());
    }
    void TearDown() override {
        mkf_reset();
        spr_reset();
        gfx_pixel_format_reset();
        plat_set_data_dir(saved_data_dir);
        fs::remove_all(dir);
    }
    std::string write(const std::string& name, const Bytes& bytes) {
        fs::path p = dir / name;
        std::FILE* f = std::fopen(p.c_str(), "wb");
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return p.string();
    }
    int open(const Bytes& bytes) { return mkf_open(write("t.mkf", bytes).c_str()); }
};

Bytes read_all(int slot, int entry, uint32_t* size = nullptr) {
    uint32_t n = 0;
    void* p = mkf_read(slot, entry, nullptr, &n);
    if (!p) return {};
    Bytes b(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
    spr_unlink(p);
    std::free(p);
    if (size) *size = n;
    return b;
}

TEST_F(MkfTest, ReadsStoredAndPackedEntries) {
    Bytes text(5000);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<uint8_t>("archive "[i % 8]);
    Bytes small = {1, 2, 3};
    int slot = open(archive_bytes({stored(small), packed(text), stored({})}));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(mkf_entry_count(slot), 3);
    EXPECT_EQ(read_all(slot, 0), small);
    uint32_t n = 0;
    EXPECT_EQ(read_all(slot, 1, &n), text);
    EXPECT_EQ(n, text.size());
    // An empty entry reads as an empty block, not as a failure.
    void* empty = mkf_read(slot, 2, nullptr, &n);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(n, 0u);
    std::free(empty);
    // Into the caller's block.
    Bytes dest(text.size(), 0);
    EXPECT_EQ(mkf_read(slot, 1, dest.data(), nullptr), dest.data());
    EXPECT_EQ(dest, text);
}

TEST_F(MkfTest, EqualSizesMeanStoredEvenIfTheBytesWouldDecode) {
    // A valid packed stream kept with equal sizes is returned as is.
    MkfpackStream* s = mkfpack_stream_new();
    Bytes stream = mkfpack_stream_finish(s);
    int slot = open(archive_bytes({stored(stream)}));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(read_all(slot, 0), stream);
}

TEST_F(MkfTest, ArchiveWithNoEntries) {
    Bytes f;
    put32(f, 4);
    int slot = open(f);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(mkf_entry_count(slot), 0);
    EXPECT_EQ(mkf_read(slot, 0, nullptr, nullptr), nullptr);
}

TEST_F(MkfTest, ConvertsExactlyThePixelBytes) {
    Bytes plain = {0xAA, 0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0xBB};
    int slot = open(
        archive_bytes({stored(plain, 1, 4), packed(Bytes(64, 0xFF), 0, 0), stored(plain, 1, 5)}));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(read_all(slot, 0), plain); // RGB555 display: nothing converted
    gfx_set_pixel_format(PIXEL_RGB565);
    Bytes first = read_all(slot, 0);
    EXPECT_EQ(first, (Bytes{0xAA, 0xDF, 0xFF, 0xDF, 0xFF, 0xFF, 0x7F, 0xBB}));
    EXPECT_EQ(read_all(slot, 0),
              first); // a second read converts the file's bytes again, not the first result
    EXPECT_EQ(read_all(slot, 1), Bytes(64, 0xFF)); // count 0: left as stored
    EXPECT_EQ(read_all(slot, 2), first);           // an odd last byte is not half a pixel
}

TEST_F(MkfTest, LinksSmpFramesRightAfterTheRecords) {
    Bytes set = smp_set({{2, 2}, {3, 1}});
    int slot = open(archive_bytes({packed(set, 36, 14)}));
    ASSERT_GE(slot, 0);
    void* p = mkf_read(slot, 0, nullptr, nullptr);
    ASSERT_NE(p, nullptr);
    uint8_t* base = static_cast<uint8_t*>(p);
    ASSERT_EQ(spr_frame_count(p), 2);
    const ImageRecord* f0 = spr_frame(p, 0);
    const ImageRecord* f1 = spr_frame(p, 1);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(f0->pixels), base + 36);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(f1->pixels), base + 36 + 8);
    EXPECT_EQ(f0->hot_x, 1);
    EXPECT_EQ(f0->hot_y, 2);
    EXPECT_EQ(f1->width, 3);
    EXPECT_EQ(f1->pixels[2], 7);
    EXPECT_EQ(spr_frame(p, 2), nullptr);
    EXPECT_EQ(spr_palette(p), nullptr);
    // The stored sizes stay in the set's bytes.
    EXPECT_EQ(std::memcmp(base, set.data(), set.size()), 0);
    spr_unlink(p);
    EXPECT_EQ(spr_frame(p, 0), nullptr);
    std::free(p);
}

TEST_F(MkfTest, LinksSprFramesPastThePalette) {
    gfx_set_pixel_format(PIXEL_RGB565);
    Bytes set = spr_set({{2, 1}, {1, 3}});
    int slot = open(archive_bytes({stored(set, 36, 512)}));
    ASSERT_GE(slot, 0);
    void* p = mkf_read(slot, 0, nullptr, nullptr);
    ASSERT_NE(p, nullptr);
    uint8_t* base = static_cast<uint8_t*>(p);
    ASSERT_EQ(spr_frame_count(p), 2);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(spr_frame(p, 0)->pixels), base + 36 + 512);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(spr_frame(p, 1)->pixels), base + 36 + 512 + 2);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(spr_frame(p, 1)->pixels)[0], 3);
    EXPECT_EQ(spr_palette(p)[0], 0xFFDF); // the palette was converted on reading
    spr_unlink(p);
    std::free(p);
}

TEST_F(MkfTest, MagicWithoutItsZeroIsNotLinked) {
    Bytes set = smp_set({{1, 1}});
    set[3] = 'X';
    int slot = open(archive_bytes({stored(set)}));
    void* p = mkf_read(slot, 0, nullptr, nullptr);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(spr_frame_count(p), 0);
    EXPECT_EQ(spr_frame(p, 0), nullptr);
    std::free(p);
}

TEST_F(MkfTest, FrameSetsThatDoNotFitTheirEntryAreRejected) {
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        bool spr;
    };
    // Frame sets of two frames; one field is spoiled in each case.
    const Case cases[] = {
        {"count past the entry", 4, 1000, false},
        {"count so large the records wrap", 4, 0x20000000, false},
        {"data offset past the entry", 8, 100000, false},
        {"data offset inside the records", 8, 20, false},
        {"odd data offset", 8, 37, false},
        {"first frame size past the entry", 20, 100000, false},
        {"second frame size past the entry", 32, 7, false},
        {"frame smaller than its pixels", 20, 6, false},
        {"frame larger than its width", 12, 200, false},
        {"palette past the entry", 8, 36 + 100, true},
        {"SPR frame size past the entry", 32, 1000, true},
    };
    for (const Case& c : cases) {
        Bytes set = c.spr ? spr_set({{2, 2}, {2, 2}}) : smp_set({{2, 2}, {2, 2}});
        if (c.at == 12)
            set[12] = static_cast<uint8_t>(c.value);
        else
            set32(set, c.at, c.value);
        mkf_reset();
        int slot = open(archive_bytes({stored(set)}));
        ASSERT_GE(slot, 0);
        EXPECT_EQ(mkf_read(slot, 0, nullptr, nullptr), nullptr) << c.what;
        Bytes dest(set.size());
        EXPECT_EQ(mkf_read(slot, 0, dest.data(), nullptr), nullptr) << c.what;
        EXPECT_EQ(spr_frame_count(dest.data()), 0) << c.what;
    }
    // Too short to hold its header.
    Bytes tiny = {'S', 'P', 'R', 0, 1, 0};
    mkf_reset();
    int slot = open(archive_bytes({stored(tiny)}));
    EXPECT_EQ(mkf_read(slot, 0, nullptr, nullptr), nullptr);
}

TEST_F(MkfTest, SlotsOutsideTheTableOrNotOpenReadNothing) {
    int slot = open(archive_bytes({stored({1})}));
    ASSERT_EQ(slot, 0);
    uint32_t n = 77;
    for (int bad : {-1, 1, 15, 16, 1000})
        EXPECT_EQ(mkf_read(bad, 0, nullptr, &n), nullptr) << bad;
    EXPECT_EQ(n, 77u);
    EXPECT_EQ(mkf_close(-1), 0);
    EXPECT_EQ(mkf_close(99), 0);
    EXPECT_EQ(mkf_close(slot), 0);
    EXPECT_EQ(mkf_read(slot, 0, nullptr, nullptr), nullptr);
    EXPECT_EQ(mkf_close(slot), 0); // twice: nothing happens
}

TEST_F(MkfTest, SixteenArchivesAtMost) {
    std::string path = write("t.mkf", archive_bytes({stored({1})}));
    for (int i = 0; i < MKF_SLOT_COUNT; ++i)
        EXPECT_EQ(mkf_open(path.c_str()), i);
    EXPECT_EQ(mkf_open(path.c_str()), -1);
    mkf_close(5);
    EXPECT_EQ(mkf_open(path.c_str()), 5); // the lowest free slot
}

TEST_F(MkfTest, FindsArchivesUnderTheFallbackPrefix) {
    write("ONLYHERE.MKF", archive_bytes({stored({9})}));
    // Not in the working directory; the prefix "A:\" names the data directory.
    int slot = mkf_open("onlyhere.mkf");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(read_all(slot, 0), Bytes{9});
    EXPECT_EQ(mkf_open("missing.mkf"), -1);
    // Prefix and name must fit the 40-byte path.
    std::string longest(MKF_PATH_MAX - 4, 'n');
    write(longest, archive_bytes({stored({1})}));
    EXPECT_GE(mkf_open(longest.c_str()), 0);
    std::string too_long(MKF_PATH_MAX - 3, 'n');
    write(too_long, archive_bytes({stored({1})}));
    EXPECT_EQ(mkf_open(too_long.c_str()), -1);
    EXPECT_EQ(mkf_open(nullptr), -1);
    EXPECT_EQ(mkf_open(""), -1);
}

TEST_F(MkfTest, WorkingDirectoryComesBeforeTheFallback) {
    fs::path cwd = dir / "work";
    fs::create_directories(cwd);
    write("BOTH.MKF", archive_bytes({stored({2})})); // in the data directory
    Bytes here = archive_bytes({stored({1})});
    std::FILE* f = std::fopen((cwd / "BOTH.MKF").c_str(), "wb");
    std::fwrite(here.data(), 1, here.size(), f);
    std::fclose(f);
    fs::path before = fs::current_path();
    fs::current_path(cwd);
    int slot = mkf_open("BOTH.MKF");
    fs::current_path(before);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(read_all(slot, 0), Bytes{1});
}

TEST_F(MkfTest, MalformedFilesDoNotOpen) {
    EXPECT_EQ(open({}), -1);     // no index offset
    EXPECT_EQ(open({1, 0}), -1); // cut inside it
    Bytes past;
    put32(past, 100); // index offset past the end
    EXPECT_EQ(open(past), -1);
    Bytes inside;
    put32(inside, 2); // index offset inside its own word
    put32(inside, 0);
    EXPECT_EQ(open(inside), -1);
}

// Each kind of unusable file gets its own message, naming the file and its
// directory; a FIFO or a directory is refused at once instead of waited on.
TEST_F(MkfTest, UnusableFilesAreReportedEachWithItsOwnReason) {
    struct Case {
        const char* name;
        int kind; // 0 bytes as given, 1 FIFO, 2 directory
        Bytes bytes;
        const char* says;
    };
    Bytes past;
    put32(past, 100);
    const Case cases[] = {
        {"EMPTY.MKF", 0, {}, " is damaged: it is empty"},
        {"SHORT.MKF", 0, {1, 0}, " is damaged: its 2 bytes are too few for an archive"},
        {"PAST.MKF", 0, past,
         " is damaged: its index offset 100 lies outside its 4 bytes (cut short, or not an "
         "archive)"},
        {"FIFO.MKF", 1, {}, " is not a regular file"},
        {"DIR.MKF", 2, {}, " is not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path p = dir / c.name;
        if (c.kind == 0) write(c.name, c.bytes);
        if (c.kind == 1) {
            ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
        }
        if (c.kind == 2) fs::create_directories(p);
        EXPECT_EQ(mkf_open(c.name), -1);
        EXPECT_TRUE(mkf_last_open_found());
        EXPECT_EQ(std::string(mkf_last_open_error()),
                  std::string(c.name) + " in " + dir.string() + c.says);
    }
    // Missing: every place searched is named.
    EXPECT_EQ(mkf_open("NOWHERE.MKF"), -1);
    EXPECT_FALSE(mkf_last_open_found());
    EXPECT_EQ(std::string(mkf_last_open_error()),
              "cannot open NOWHERE.MKF: not found in the working directory (" +
                  fs::current_path().string() + ") nor in the data directory (" + dir.string() +
                  ")");
    // A success leaves no message behind.
    write("GOOD.MKF", archive_bytes({stored({1})}));
    EXPECT_GE(mkf_open("GOOD.MKF"), 0);
    EXPECT_STREQ(mkf_last_open_error(), "");
}

TEST_F(MkfTest, DamagedEntriesReadAsZero) {
    Bytes plain(3000);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<uint8_t>(i * i);
    std::vector<uint32_t> at;
    Bytes good = archive_bytes({packed(plain), stored({1, 2, 3, 4})}, &at);
    uint32_t index = static_cast<uint32_t>(good[0] | good[1] << 8 | good[2] << 16);
    struct Case {
        const char* what;
        int entry;                                      // the entry spoiled; the other still reads
        std::vector<std::pair<size_t, uint32_t>> edits; // (file offset, u32 written there)
        const char* says;                               // the check that failed
    };
    const char* header_past = "has its header past the end of the file (cut short?)";
    const char* data_past = "runs past the end of the file (cut short?)";
    const char* pixels_out = "has its pixels outside its data";
    const char* size = "does not unpack to its stated size";
    const std::vector<Case> cases = {
        {"entry header past the end",
         0,
         {{index, static_cast<uint32_t>(good.size() - 8)}},
         header_past},
        {"entry offset far past the end", 0, {{index, 0xFFFFFFF0u}}, header_past},
        {"packed data past the end", 0, {{at[0] + 4, 0x7FFFFFFF}}, data_past},
        {"stored data past the end", 1, {{at[1], 0x7FFFFFFF}, {at[1] + 4, 0x7FFFFFFF}}, data_past},
        {"unpacked size too large to allocate",
         0,
         {{at[0], 0xFFFFFFFFu}},
         "claims more unpacked bytes than its packed data can hold"},
        {"unpacked size larger than the stream gives", 0, {{at[0], 3001}}, size},
        {"unpacked size smaller than the stream gives", 0, {{at[0], 2999}}, size},
        {"pixel offset beyond the data", 1, {{at[1] + 8, 4}, {at[1] + 12, 2}}, pixels_out},
        {"pixel count beyond the data", 1, {{at[1] + 12, 6}}, pixels_out},
        {"pixel offset and count wrap around",
         1,
         {{at[1] + 8, 0xFFFFFFFEu}, {at[1] + 12, 4}},
         pixels_out},
    };
    std::string problem;
    for (const Case& c : cases) {
        Bytes f = good;
        for (auto [offset, value] : c.edits)
            set32(f, offset, value);
        mkf_reset();
        int slot = open(f);
        ASSERT_GE(slot, 0) << c.what;
        uint32_t n = 55;
        EXPECT_EQ(mkf_read(slot, c.entry, nullptr, &n), nullptr) << c.what;
        EXPECT_EQ(n, 55u) << c.what;
        EXPECT_EQ(std::string(mkf_last_read_error()),
                  "entry " + std::to_string(c.entry) + " " + c.says)
            << c.what;
        // The whole-archive check, which reads every header but unpacks
        // nothing, names the same entry and check for a header that is wrong.
        const bool header_wrong =
            c.says == header_past || c.says == data_past || c.says == pixels_out;
        if (header_wrong) {
            EXPECT_FALSE(mkf_check_archive("t.mkf", &problem)) << c.what;
            EXPECT_NE(problem.find(" is damaged: entry " + std::to_string(c.entry) + " " + c.says),
                      std::string::npos)
                << problem;
        }
        const Bytes other = c.entry == 0 ? Bytes{1, 2, 3, 4} : plain;
        EXPECT_EQ(read_all(slot, 1 - c.entry), other) << c.what;
    }
    // Corrupt packed bits: a flipped byte inside the stream. The reads stay
    // inside their blocks (the sanitizers watch), and a damaged stream that no
    // longer gives exactly the stated size is refused.
    size_t packed_size = static_cast<size_t>(f32(good, at[0] + 4));
    int refused = 0;
    for (size_t k : {size_t{0}, packed_size / 4, packed_size / 2, packed_size - 1}) {
        Bytes f = good;
        f[at[0] + 16 + k] ^= 0x5A;
        mkf_reset();
        int slot = open(f);
        ASSERT_GE(slot, 0);
        void* p = mkf_read(slot, 0, nullptr, nullptr);
        refused += p == nullptr;
        std::free(p);
    }
    EXPECT_GT(refused, 0);
    mkf_reset();
    int slot = open(good);
    EXPECT_EQ(mkf_read(slot, 2, nullptr, nullptr), nullptr); // past the index
    EXPECT_EQ(mkf_read(slot, -1, nullptr, nullptr), nullptr);
}

TEST_F(MkfTest, TheWholeArchiveCheckPassesAGoodOneAndFindsAnIndexCutShort) {
    Bytes good = archive_bytes({stored({1, 2}), stored({3})});
    std::string problem;
    EXPECT_TRUE(mkf_check_archive(write("GOOD.MKF", good).c_str(), &problem)) << problem;
    EXPECT_TRUE(mkf_last_open_found());
    Bytes cut(good.begin(), good.end() - 1); // the last offset loses a byte
    EXPECT_FALSE(mkf_check_archive(write("CUT.MKF", cut).c_str(), &problem));
    EXPECT_EQ(problem, (dir / "CUT.MKF").string() + " in " + dir.string() +
                           " is damaged: its index ends inside an entry offset (cut short?)");
    EXPECT_FALSE(mkf_check_archive("NOWHERE.MKF", &problem));
    EXPECT_FALSE(mkf_last_open_found());
    EXPECT_NE(problem.find("not found"), std::string::npos) << problem;
}

// A data directory that cannot be searched is not "not found": the message
// names it and says why.
TEST_F(MkfTest, ADataDirectoryThatCannotBeReadIsSaidSo) {
    const fs::path file = dir / "not_a_directory";
    write("not_a_directory", {1});
    plat_set_data_dir(file.string());
    EXPECT_EQ(mkf_open("DATA.MKF"), -1);
    EXPECT_FALSE(mkf_last_open_found());
    EXPECT_EQ(std::string(mkf_last_open_error()),
              "cannot open DATA.MKF: not found in the working directory (" +
                  fs::current_path().string() + "), and the directory " + file.string() +
                  " cannot be read: Not a directory");
    if (::geteuid() == 0) return; // permissions do not stop the superuser
    const fs::path locked = dir / "locked";
    fs::create_directories(locked);
    write("locked/DATA.MKF", archive_bytes({stored({1})}));
    fs::permissions(locked, fs::perms::none);
    plat_set_data_dir(locked.string());
    EXPECT_EQ(mkf_open("DATA.MKF"), -1);
    EXPECT_NE(std::string(mkf_last_open_error())
                  .find("the directory " + locked.string() + " cannot be read: Permission denied"),
              std::string::npos)
        << mkf_last_open_error();
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(MkfTest, ReadErrorsReadAsZero) {
    // The file shrinks after opening: the index still names the entries, but
    // the reads of their data come up short.
    // Far larger than the file's read buffer, so that the bytes must come from the file.
    Bytes plain(200000);
    uint32_t seed = 9;
    for (auto& c : plain)
        c = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 29);
    std::vector<uint32_t> at;
    Bytes f = archive_bytes({stored({1, 2, 3, 4}), packed(plain), stored(plain)}, &at);
    std::string path = write("t.mkf", f);
    int slot = mkf_open(path.c_str());
    ASSERT_GE(slot, 0);
    fs::resize_file(path, at[2] + 16 + 1000); // entry 2's header and part of its data remain
    uint32_t n = 55;
    EXPECT_EQ(mkf_read(slot, 2, nullptr, &n), nullptr);
    EXPECT_EQ(n, 55u);
    EXPECT_EQ(read_all(slot, 1), plain);
    fs::resize_file(path, at[1] + 16 + 1000); // now the packed entry is cut short too
    EXPECT_EQ(mkf_read(slot, 1, nullptr, &n), nullptr);
    EXPECT_EQ(n, 55u);
    EXPECT_EQ(read_all(slot, 0), (Bytes{1, 2, 3, 4}));
}

TEST_F(MkfTest, ResetClosesEverything) {
    int slot = open(archive_bytes({stored({1})}));
    data_archive = slot;
    mkf_reset();
    EXPECT_EQ(data_archive, -1);
    EXPECT_EQ(speech_archive, -1);
    EXPECT_EQ(mkf_entry_count(slot), -1);
    EXPECT_STREQ(mkf_fallback_prefix, "A:\\");
}

} // namespace
