#include "engine/util.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/record_io.h"

namespace {

TEST(UtilFormatThousands, GroupsDigitsFromTheRight) {
    struct Case {
        int32_t value;
        const char* text;
    };
    const Case cases[] = {{0, "0"},
                          {123, "123"},
                          {1234, "1,234"},
                          {-100, "-100"},
                          {-1234567, "-1,234,567"},
                          {1000000, "1,000,000"},
                          {-999, "-999"},
                          {INT32_MAX, "2,147,483,647"},
                          {INT32_MIN, "-2,147,483,648"}};
    for (const Case& c : cases) {
        char buf[UTIL_THOUSANDS_BUF];
        std::memset(buf, 'x', sizeof buf);
        util_format_thousands(buf, c.value);
        EXPECT_STREQ(buf, c.text) << c.value;
    }
}

TEST(UtilRectUnion, SmallestRectangleHoldingBoth) {
    UtilRect a{0, 0, 10, 10}, b{5, -5, 20, 8}, out{};
    util_rect_union(&a, &b, &out);
    EXPECT_EQ(out.left, 0);
    EXPECT_EQ(out.top, -5);
    EXPECT_EQ(out.right, 20);
    EXPECT_EQ(out.bottom, 10);
    util_rect_union(&a, &b, &a); // out may be a
    EXPECT_EQ(a.top, -5);
    EXPECT_EQ(a.right, 20);
}

TEST(UtilStripSpaces, DropsSpacesAndReturnsSourceLength) {
    char dst[32];
    EXPECT_EQ(util_strip_spaces(dst, " Old  Wang "), 11);
    EXPECT_STREQ(dst, "OldWang");
    char same[] = "a b c";
    EXPECT_EQ(util_strip_spaces(same, same), 5);
    EXPECT_STREQ(same, "abc");
    EXPECT_EQ(util_strip_spaces(dst, ""), 0);
    EXPECT_STREQ(dst, "");
}

TEST(UtilStripSpaces, NamesWithoutSpacesAsAString) {
    EXPECT_EQ(util_without_spaces(" Old  Wang "), "OldWang");
    EXPECT_EQ(util_without_spaces("   "), "");
    EXPECT_EQ(util_without_spaces(nullptr), "");
}

TEST(UtilSaturate, SumsStopAtTheEndsOfTheRange) {
    struct Case {
        int32_t a;
        int64_t b;
        int32_t sum;
    };
    const Case cases[] = {
        {5, 7, 12},
        {INT32_MAX - 1, 1, INT32_MAX},
        {INT32_MAX, 1, INT32_MAX},
        {INT32_MAX, int64_t{INT32_MAX} * 4, INT32_MAX},
        {INT32_MIN, -1, INT32_MIN},
        {INT32_MIN + 3, -2, INT32_MIN + 1},
        {-10, int64_t{1} << 40, INT32_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(util_add_sat32(c.a, c.b), c.sum) << c.a << " + " << c.b;
    EXPECT_EQ(util_clamp32(int64_t{INT32_MIN} - 5), INT32_MIN);
}

struct Sample {
    uint8_t a;
    uint16_t b;
    int16_t c;
    uint32_t d;
    int32_t e;
    float f;
    char name[5];
};

// Offsets for the first fields, the rest packed after them.
template <typename Io, typename Rec> void sample_fields(const Io& io, Rec& r) {
    io(r.a, 1);
    io(r.b, 2);
    io(r.c);
    io(r.d);
    io(r.e, 12);
    io(r.f);
    io(r.name);
}

TEST(RecordIo, OneFieldListWritesLittleEndianAndReadsItBack) {
    const Sample in{0xA5, 0x1234, -2, 0xCAFEBABE, -100000, 1.5f, "abcd"};
    uint8_t image[26];
    std::memset(image, 0xEE, sizeof image);
    sample_fields(RecordPut{image}, in);
    const uint8_t expected[26] = {0xEE, 0xA5, 0x34, 0x12, 0xFE, 0xFF, 0xBE, 0xBA, 0xFE,
                                  0xCA, 0xEE, 0xEE, 0x60, 0x79, 0xFE, 0xFF, 0x00, 0x00,
                                  0xC0, 0x3F, 'a',  'b',  'c',  'd',  0,    0xEE};
    EXPECT_EQ(std::memcmp(image, expected, sizeof image), 0); // unnamed bytes untouched
    Sample out{};
    sample_fields(RecordGet{image}, out);
    EXPECT_EQ(out.a, in.a);
    EXPECT_EQ(out.b, in.b);
    EXPECT_EQ(out.c, in.c);
    EXPECT_EQ(out.d, in.d);
    EXPECT_EQ(out.e, in.e);
    EXPECT_EQ(out.f, in.f);
    EXPECT_STREQ(out.name, "abcd");
    EXPECT_EQ(le_get16(image + 2), 0x1234);
    EXPECT_EQ(le_get32(image + 6), 0xCAFEBABEu);
}

TEST(UtilDirection8, EightWaysInScreenCoordinates) {
    struct Case {
        int dx, dy, dir;
    };
    const Case cases[] = {
        {10, 0, 2},
        {0, -10, 4},
        {-10, 0, 6},
        {0, 10, 0},
        {10, 10, 1},
        {10, -10, 3},
        {-10, -10, 5},
        {-10, 10, 7},
        // About 22 degrees rounds to the right, about 26.6 degrees to up-right.
        {10, -4, 2},
        {10, -5, 3},
        {-3, 100, 0},
        {100000, 1, 2},
        {-1, -1000, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(util_direction8(c.dx, c.dy), c.dir) << c.dx << "," << c.dy;
}

TEST(UtilDirection8, ZeroVectorFacesRightWithoutDividing) {
    // The ratio of the smaller to the larger component is 0/0 here.
    EXPECT_EQ(util_direction8(0, 0), 2);
}

} // namespace
