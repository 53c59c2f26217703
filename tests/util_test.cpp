#include "engine/util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
