// The compiled-in lunar table against the Chinese calendar's published month
// tables: every lunar month start from 1998 to 2020 falls on the right day.
#include <gtest/gtest.h>

#include <lunar-date/lunar-date.h>

#include <cstdio>
#include <string>

#include "board/calendar.h"

namespace {

constexpr PackedDate D(int y, int m, int d) {
    return static_cast<PackedDate>(y << 16 | m << 8 | d);
}

// The library's lunar date of a western date, packed like the table (a leap
// month with 0x80 added), 0 when it cannot tell.
uint32_t library_lunar(LunarDate* cal, PackedDate date) {
    GError* error = nullptr;
    lunar_date_set_solar_date(cal, static_cast<GDateYear>(date >> 16),
                              static_cast<GDateMonth>((date >> 8) & 0xFF),
                              static_cast<GDateDay>(date & 0xFF), 12, &error);
    if (error) {
        g_error_free(error);
        return 0;
    }
    gchar* text = lunar_date_strftime(cal, "%(nian) %(yue) %(ri)");
    int y = 0, m = 0, d = 0;
    char star = 0;
    uint32_t out = 0;
    // A leap month is written with '*' before its number.
    const bool leap = std::sscanf(text, "%*d %c", &star) == 1 && star == '*';
    if (std::sscanf(text, leap ? "%d *%d %d" : "%d %d %d", &y, &m, &d) == 3)
        out = D(y, m | (leap ? static_cast<int>(CAL_LUNAR_LEAP_MONTH) : 0), d);
    g_free(text);
    return out;
}

TEST(LunarTable, EveryMonthStartFrom1998To2020MatchesThePublishedTables) {
    LunarDate* cal = lunar_date_new();
    ASSERT_NE(cal, nullptr);
    int month_starts = 0;
    for (int n = 0; n < CAL_LUNAR_DAYS; ++n) {
        const PackedDate day = cal_from_day_number(n);
        const uint32_t expected = library_lunar(cal, day);
        ASSERT_NE(expected, 0u) << "day " << n;
        const bool starts = (expected & 0xFF) == 1 || (cal_lunar_table[n] & 0xFF) == 1;
        if (!starts) continue;
        ++month_starts;
        EXPECT_EQ(cal_lunar_table[n], expected) << std::hex << "western date " << day;
    }
    lunar_date_free(cal);
    // Twelve or thirteen months a year over 23 years.
    EXPECT_GE(month_starts, 23 * 12);
    EXPECT_LE(month_starts, 23 * 13);
}

TEST(LunarTable, MonthStartsNearMidnightFallOnTheirPublishedDay) {
    struct Case {
        PackedDate western;
        uint32_t lunar;
    };
    const Case cases[] = {
        {D(1999, 1, 17), D(1998, 12, 1)},
        {D(1999, 1, 16), D(1998, 11, 29)},
        {D(1998, 1, 28), D(1998, 1, 1)},
        {D(2000, 2, 5), D(2000, 1, 1)},
        {D(2002, 2, 12), D(2002, 1, 1)},
        {D(2004, 1, 22), D(2004, 1, 1)},
        {D(2006, 1, 29), D(2006, 1, 1)},
        {D(2009, 1, 26), D(2009, 1, 1)},
        {D(2012, 1, 23), D(2012, 1, 1)},
        {D(2015, 2, 19), D(2015, 1, 1)},
        {D(2017, 1, 28), D(2017, 1, 1)},
        {D(2020, 1, 25), D(2020, 1, 1)},
        // The leap fourth month of 2020 matches no holiday of the fourth month.
        {D(2020, 5, 23), D(2020, 4 | CAL_LUNAR_LEAP_MONTH, 1)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cal_lunar_date(c.western), c.lunar) << std::hex << c.western;
}

} // namespace
