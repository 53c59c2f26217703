#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/music.h"

namespace {

constexpr PackedDate D(int y, int m, int d) {
    return cal_pack(y, m, d);
}
constexpr HolidayEntry kEmptyEntry{};

class CalendarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        music_day_countdown = 0;
    }
};

// ---------------------------------------------------------------------------
// Days

TEST(CalendarDays, NextDayAcrossMonthsYearsAndLeapDays) {
    struct Case {
        PackedDate from, to;
        int month_changed;
    };
    const Case cases[] = {
        {D(1998, 2, 28), D(1998, 3, 1), 1},  {D(2000, 2, 28), D(2000, 2, 29), 0},
        {D(2000, 2, 29), D(2000, 3, 1), 1},  {D(1998, 12, 31), D(1999, 1, 1), 1},
        {D(1998, 1, 30), D(1998, 1, 31), 0}, {D(1998, 4, 30), D(1998, 5, 1), 1},
        {D(2100, 2, 28), D(2100, 2, 29), 0}, // every fourth year is a leap year here
        {D(1998, 2, 31), D(1998, 3, 1), 1},  // an unclamped date from a month delta
    };
    for (const Case& c : cases) {
        PackedDate d = c.from;
        EXPECT_EQ(cal_next_day(d), c.month_changed) << std::hex << c.from;
        EXPECT_EQ(d, c.to) << std::hex << c.from;
    }
}

TEST(CalendarDays, DayNumbersMatchTheCivilCalendar) {
    using namespace std::chrono;
    const sys_days base = sys_days{year{1998} / January / 1};
    EXPECT_EQ(cal_day_number(CAL_FIRST_DATE), 0);
    // Within 1901..2099 the every-fourth-year rule agrees with the civil one.
    PackedDate walk = CAL_FIRST_DATE;
    for (int n = -30000; n < 36000; n += 7) {
        year_month_day ymd{base + days{n}};
        PackedDate expected = D(int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
        ASSERT_EQ(cal_from_day_number(n), expected) << n;
        ASSERT_EQ(cal_day_number(expected), n);
    }
    for (int n = 0; n < 3000; ++n) {
        ASSERT_EQ(cal_from_day_number(n), walk);
        cal_next_day(walk);
    }
}

TEST(CalendarDays, WeekdaysAndMonthLengths) {
    int w = -1, len = -1;
    EXPECT_EQ(cal_weekday(D(1998, 1, 1), &w, &len), 4);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(len, 31);
    EXPECT_EQ(cal_weekday(D(1998, 1, 4), &w, &len), 0);
    EXPECT_EQ(cal_weekday(D(2000, 2, 10), nullptr, &len), 4);
    EXPECT_EQ(len, 29);
    EXPECT_EQ(cal_weekday(D(1997, 12, 31), nullptr, nullptr), 3); // before day 0
    EXPECT_EQ(cal_month_length(1999, 2), 28);
    EXPECT_EQ(cal_month_length(1999, 13), 0);
}

TEST(CalendarDays, AddDaysAndDaysBetween) {
    EXPECT_EQ(cal_add_days(D(1998, 1, 1), 90), D(1998, 4, 1));
    EXPECT_EQ(cal_add_days(D(1999, 12, 20), 15), D(2000, 1, 4));
    EXPECT_EQ(cal_add_days(D(2000, 3, 1), -1), D(2000, 2, 29));
    EXPECT_EQ(cal_days_between(D(1998, 1, 1), D(1999, 1, 1)), 365);
    EXPECT_EQ(cal_days_between(D(2000, 1, 1), D(2001, 1, 1)), 366);
    EXPECT_EQ(cal_days_between(D(1999, 1, 1), D(1998, 1, 1)), -365);
}

TEST(CalendarDays, AddMonthsCarriesIntoTheYearWithoutClamping) {
    EXPECT_EQ(cal_add_months(D(1998, 11, 15), 0x300), D(1999, 2, 15));
    EXPECT_EQ(cal_add_months(D(1998, 1, 31), 0x100), D(1998, 2, 31));
    EXPECT_EQ(cal_add_months(D(1998, 12, 1), 0x600), D(1999, 6, 1));
    EXPECT_EQ(cal_add_months(D(1998, 12, 31), 0x100), D(1999, 1, 31));
    EXPECT_EQ(cal_add_months(D(1998, 5, 9), 0x20000), D(2000, 5, 9));
    EXPECT_LT(D(1998, 2, 31), D(1998, 3, 1)); // still in calendar order
    EXPECT_EQ(land_term_delta[0], 0u);
    EXPECT_EQ(cal_add_months(D(1998, 8, 1), land_term_delta[1]), D(2000, 8, 1));
    EXPECT_EQ(cal_add_months(D(1998, 8, 1), land_term_delta[2]), D(1999, 8, 1));
    EXPECT_EQ(cal_add_months(D(1998, 8, 1), land_term_delta[3]), D(1999, 2, 1));
    EXPECT_EQ(cal_add_months(D(1998, 8, 1), land_term_delta[4]), D(1998, 11, 1));
    EXPECT_EQ(cal_add_months(D(1998, 8, 1), land_term_delta[5]), D(1998, 9, 1));
}

// ---------------------------------------------------------------------------
// Lunar calendar

TEST(CalendarLunar, KnownLunarDates) {
    EXPECT_EQ(cal_lunar_table[0], D(1997, 12, 3));
    EXPECT_EQ(cal_lunar_date(D(1998, 1, 1)), D(1997, 12, 3));
    // Lunar new years.
    EXPECT_EQ(cal_lunar_date(D(1998, 1, 28)), D(1998, 1, 1));
    EXPECT_EQ(cal_lunar_date(D(1999, 2, 16)), D(1999, 1, 1));
    EXPECT_EQ(cal_lunar_date(D(2001, 1, 24)), D(2001, 1, 1));
    EXPECT_EQ(cal_lunar_date(D(2020, 1, 25)), D(2020, 1, 1));
    // Mid-autumn 1998 and the dragon-boat festival 2005.
    EXPECT_EQ(cal_lunar_date(D(1998, 10, 5)), D(1998, 8, 15));
    EXPECT_EQ(cal_lunar_date(D(2005, 6, 11)), D(2005, 5, 5));
    // The last day of the table, and beyond it.
    EXPECT_EQ(cal_from_day_number(CAL_LUNAR_DAYS - 1), D(2020, 12, 31));
    EXPECT_EQ(cal_lunar_date(D(2020, 12, 31)), D(2020, 11, 17));
    EXPECT_EQ(cal_lunar_date(D(2021, 1, 1)), 0u);
    EXPECT_EQ(cal_lunar_date(D(1997, 12, 31)), 0u);
}

TEST(CalendarLunar, TableRunsDayByDay) {
    int leap_days = 0;
    for (int n = 1; n < CAL_LUNAR_DAYS; ++n) {
        uint32_t prev = cal_lunar_table[static_cast<size_t>(n - 1)];
        uint32_t cur = cal_lunar_table[static_cast<size_t>(n)];
        ASSERT_GE(cal_day(cur), 1);
        ASSERT_LE(cal_day(cur), 30);
        if (cal_day(cur) != 1) {
            ASSERT_EQ(cur, prev + 1) << n;
        } else {
            ASSERT_GE(cal_day(prev), 29) << n;
        }
        if (cal_month(cur) & CAL_LUNAR_LEAP_MONTH) ++leap_days;
    }
    // 1998 to 2020 hold nine leap months of 29 or 30 days.
    EXPECT_GE(leap_days, 9 * 29);
    EXPECT_LE(leap_days, 9 * 30);
}

// ---------------------------------------------------------------------------
// Holidays

// One entry in the notation of the holiday lists: month/day, "L " lunar,
// "W month: n x weekday", then "off", the film with its speed, the tune and
// the card gift; "-" for an empty entry.
std::string describe(const HolidayEntry& e) {
    if (std::memcmp(&e, &kEmptyEntry, sizeof e) == 0) return "-";
    std::string s;
    if (static_cast<uint8_t>(e.day_off) & 0x80) s = "unused ";
    if (e.rule == HOLIDAY_LUNAR) s += "L ";
    if (e.rule == HOLIDAY_NTH_WEEKDAY)
        s += "W " + std::to_string(e.month) + ": " + std::to_string(e.day) + "x" +
             std::to_string(e.weekday);
    else
        s += std::to_string(e.month) + "/" + std::to_string(e.day);
    if (e.day_off == 1) s += " off";
    if (e.events & HEV_FILM)
        s += " F" + std::to_string(e.film) + "@" + std::to_string(e.film_speed);
    if (e.events & HEV_TUNE) s += " T" + std::to_string(e.tune);
    if (e.events & HEV_CARDS) s += " C";
    if (e.events & HEV_DISPLAY) s += " D";
    if (!(e.events & HEV_FILM) && (e.film || e.film_speed)) s += " film without its bit";
    if (!(e.events & HEV_TUNE) && e.tune) s += " tune without its bit";
    return s;
}

TEST(CalendarHolidays, EveryTableHoldsItsListedEntriesInOrder) {
    const std::vector<std::vector<std::string>> expected = {
        {"1/1 off F482@90",
         "2/14",
         "3/29 off",
         "4/1",
         "4/4 off",
         "4/5 off",
         "5/1 off",
         "W 5: 2x0",
         "8/8",
         "9/28 off",
         "10/25 off",
         "10/31",
         "12/25 off F513@114 T13 C",
         "L 12/31 off",
         "L 1/1 off T14",
         "L 1/2 off",
         "L 1/3 off",
         "L 1/15",
         "L 5/5 off",
         "L 7/15",
         "L 8/15 off",
         "unused 10/10",
         "unused 10/31",
         "unused 11/12"},
        {"1/1 off F482@90", "2/14", "3/8 off", "4/5 off", "5/4 off", "6/1 off", "7/1 off",
         "8/1 off", "5/1 off", "10/1 off F482@90", "12/25 F513@114 T13 C", "L 12/31 off",
         "L 1/1 off T14", "L 1/2 off", "L 1/3 off", "L 1/15", "L 5/5 off", "L 7/15", "L 8/15 off"},
        {"1/1 off F482@90", "1/2 off", "1/3 off", "1/15 off", "2/3", "2/14", "2/11 off", "3/3",
         "3/22 off", "4/29 off", "5/3 off", "5/5 off", "9/15 off", "9/23 off", "10/10 off",
         "11/3 off", "11/23 off", "12/23 off", "12/25 F513@114 T13 C"},
        {"12/31 off",    "1/1 off F482@90",
         "W 1: 3x1",     "2/2",
         "2/12 off",     "2/14",
         "W 2: 3x1 off", "3/30",
         "W 5: 2x0",     "W 5: 5x1",
         "6/14",         "6/15",
         "7/4 off",      "W 9: 1x1",
         "10/12",        "10/31",
         "11/11",        "W 11: 4x4 off",
         "12/24 off",    "12/25 off F513@114 T13 C"},
    };
    for (int m = 0; m < HOLIDAY_MAPS; ++m) {
        for (int i = 0; i < HOLIDAY_ENTRIES; ++i) {
            const std::string want =
                static_cast<size_t>(i) < expected[m].size() ? expected[m][i] : "-";
            EXPECT_EQ(describe(holiday_table[m][i]), want) << "map " << m << " entry " << i;
        }
    }
}

TEST_F(CalendarTest, FixedAndLunarHolidaysOfTheFirstMap) {
    game_map = 0;
    EXPECT_EQ(cal_holiday_find(D(1998, 1, 1)), 0);
    EXPECT_EQ(cal_holiday_find(D(1998, 2, 14)), 1);
    EXPECT_EQ(cal_holiday_find(D(1998, 12, 25)), 12);
    EXPECT_EQ(cal_holiday_find(D(1998, 1, 28)), 14); // lunar new year
    EXPECT_EQ(cal_holiday_find(D(1998, 1, 29)), 15);
    EXPECT_EQ(cal_holiday_find(D(1998, 2, 11)), 17); // lantern festival
    EXPECT_EQ(cal_holiday_find(D(1998, 10, 5)), 20); // mid-autumn
    EXPECT_EQ(cal_is_holiday(D(1998, 10, 5)), 1);    // a Monday off
    EXPECT_EQ(cal_holiday_find(D(1998, 6, 15)), -1);
    // A leap fifth month repeats no holiday: 1998 had one.
    PackedDate d = D(1998, 6, 1);
    for (int i = 0; i < 60; ++i, cal_next_day(d)) {
        uint32_t lunar = cal_lunar_date(d);
        if ((cal_month(lunar) & CAL_LUNAR_LEAP_MONTH) && cal_day(lunar) == 5) break;
    }
    ASSERT_EQ(cal_lunar_date(d) & 0xFFFF, ((5u | CAL_LUNAR_LEAP_MONTH) << 8) | 5u);
    EXPECT_EQ(cal_holiday_find(d), -1);
    // Outside the lunar table no lunar entry matches (lunar new year 2021).
    EXPECT_EQ(cal_holiday_find(D(2021, 2, 12)), -1);
}

TEST_F(CalendarTest, LunarNewYearsEveIsTheLastDayOfTheTwelfthMonth) {
    for (int map : {0, 1}) {
        game_map = map;
        const int eve = map == 0 ? 13 : 11;
        // Lunar new years 1998..2020; the day before each is the eve, whether
        // the twelfth month had 29 or 30 days.
        const PackedDate new_years[] = {D(1998, 1, 28), D(1999, 2, 16), D(2000, 2, 5),
                                        D(2001, 1, 24), D(2005, 2, 9),  D(2010, 2, 14),
                                        D(2016, 2, 8),  D(2020, 1, 25)};
        for (PackedDate ny : new_years) {
            PackedDate e = cal_add_days(ny, -1);
            EXPECT_EQ(cal_holiday_find(e), eve) << std::hex << e;
            EXPECT_EQ(cal_is_holiday(e), 1);
            EXPECT_NE(cal_holiday_find(cal_add_days(ny, -2)), eve);
        }
    }
}

TEST_F(CalendarTest, NthWeekdayRules) {
    game_map = 3;
    EXPECT_EQ(cal_holiday_find(D(1998, 5, 10)), 8); // 2nd Sunday of May
    EXPECT_EQ(cal_holiday_find(D(1998, 1, 19)), 2); // 3rd Monday of January
    EXPECT_EQ(cal_holiday_find(D(1998, 2, 16)), 6); // 3rd Monday of February, off
    EXPECT_EQ(cal_is_holiday(D(1998, 2, 16)), 1);
    EXPECT_EQ(cal_holiday_find(D(1998, 9, 7)), 13);   // 1st Monday of September
    EXPECT_EQ(cal_holiday_find(D(1998, 11, 26)), 17); // 4th Thursday of November
    EXPECT_EQ(cal_is_holiday(D(1998, 11, 26)), 1);
    // The 5th Monday of May exists in 1999 (31 May) but not in 1998.
    EXPECT_EQ(cal_holiday_find(D(1999, 5, 31)), 9);
    for (PackedDate d = D(1998, 5, 1); d <= D(1998, 5, 31); cal_next_day(d)) {
        EXPECT_NE(cal_holiday_find(d), 9) << std::hex << d;
    }
    EXPECT_EQ(cal_holiday_find(D(1998, 5, 25)), -1); // the last Monday is only the 4th
}

TEST_F(CalendarTest, UnusedAndEmptyEntriesNeverMatch) {
    game_map = 0;
    EXPECT_EQ(cal_holiday_find(D(1998, 10, 10)), -1);
    EXPECT_EQ(cal_holiday_find(D(1998, 11, 12)), -1);
    EXPECT_EQ(cal_holiday_find(D(1998, 10, 31)), 11); // the used 10/31 still does
    EXPECT_EQ(holiday_table[0][21].day_off, HOLIDAY_UNUSED);
    game_map = 2;
    // Entries past the listed ones are all zero.
    for (int i = 19; i < HOLIDAY_ENTRIES; ++i)
        EXPECT_EQ(holiday_table[2][static_cast<size_t>(i)].month, 0);
    for (PackedDate d = D(1998, 1, 1); d <= D(1998, 12, 31); cal_next_day(d)) {
        int i = cal_holiday_find(d);
        EXPECT_LT(i, 19);
    }
    game_map = 7; // no such map
    EXPECT_EQ(cal_holiday_find(D(1998, 1, 1)), -1);
    EXPECT_EQ(cal_is_holiday(D(1998, 1, 4)), 1); // still a Sunday
    EXPECT_EQ(cal_is_holiday(D(1998, 1, 1)), 0);
}

TEST_F(CalendarTest, DaysOff) {
    game_map = 0;
    EXPECT_EQ(cal_is_holiday(D(1998, 1, 4)), 1); // Sunday
    EXPECT_EQ(cal_is_holiday(D(1998, 1, 1)), 1); // new year, off
    EXPECT_EQ(cal_is_holiday(D(1998, 4, 1)), 0); // a special day, no day off
    EXPECT_EQ(cal_is_holiday(D(1998, 1, 5)), 0);
    game_map = 1;
    EXPECT_EQ(cal_is_holiday(D(1998, 12, 25)), 0); // Christmas is no day off here
    game_map = 2;
    EXPECT_EQ(cal_is_holiday(D(1998, 2, 11)), 1);
    EXPECT_EQ(cal_is_holiday(D(1998, 2, 3)), 0);
    // 14 February 2002 is both a special day and the third day of the lunar
    // new year (off): the first entry is the special day, the day is off.
    game_map = 0;
    EXPECT_EQ(cal_holiday_find(D(2002, 2, 14)), 1);
    EXPECT_EQ(cal_is_holiday(D(2002, 2, 14)), 1);
}

TEST_F(CalendarTest, ChristmasGivesEveryPlayerACardAndStartsTheTune) {
    cards_fill_pools();
    game_map = 3;
    game_date = D(1998, 12, 25);
    player_table[0].control = CTRL_HUMAN;
    player_table[1].control = CTRL_COMPUTER;
    player_table[1].character = 3;
    player_table[1].name = 3;
    cal_holiday_event();
    EXPECT_EQ(card_count(0), 1);
    EXPECT_EQ(card_count(1), 1);
    EXPECT_EQ(card_count(2), 0); // not in the game
    EXPECT_EQ(music_day_countdown, 0x33);

    // A running event tune is not replaced.
    music_day_countdown = 0x21;
    cal_holiday_event();
    EXPECT_EQ(music_day_countdown, 0x21);
    EXPECT_EQ(card_count(0), 2);
}

TEST_F(CalendarTest, EventlessDaysDoNothing) {
    cards_fill_pools();
    player_table[0].control = CTRL_HUMAN;
    game_map = 0;
    for (PackedDate d : {D(1998, 2, 14), D(1998, 1, 1), D(1998, 6, 15)}) {
        game_date = d;
        cal_holiday_event();
    }
    EXPECT_EQ(card_count(0), 0);
    EXPECT_EQ(music_day_countdown, 0);
    game_date = D(1998, 1, 28); // lunar new year: its tune only
    cal_holiday_event();
    EXPECT_EQ(music_day_countdown, 0x33);
    EXPECT_EQ(card_count(0), 0);
}

} // namespace
