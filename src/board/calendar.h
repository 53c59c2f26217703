// The game's calendar: packed dates, day arithmetic, weekdays, the holidays of
// each map and the event a holiday brings.
#pragma once

#include <array>
#include <cstdint>

// A date in one value that compares in calendar order: day in bits 0-7, month
// in bits 8-15, year in bits 16-31. A delta of years and months in the same
// packing is added by cal_add_months.
using PackedDate = uint32_t;

constexpr PackedDate cal_pack(int year, int month, int day) {
    return (static_cast<uint32_t>(year) << 16) | ((static_cast<uint32_t>(month) & 0xFF) << 8) |
           (static_cast<uint32_t>(day) & 0xFF);
}
constexpr int cal_year(PackedDate d) {
    return static_cast<int>(d >> 16);
}
constexpr int cal_month(PackedDate d) {
    return static_cast<int>((d >> 8) & 0xFF);
}
constexpr int cal_day(PackedDate d) {
    return static_cast<int>(d & 0xFF);
}

// Day number 0 is 1 January 1998, a Thursday.
inline constexpr PackedDate CAL_FIRST_DATE = cal_pack(1998, 1, 1);

// Every year divisible by 4 is a leap year.
bool cal_is_leap_year(int year);
// Days of the month (1..12) in that year; 0 for a month outside 1..12.
int cal_month_length(int year, int month);

int32_t cal_day_number(PackedDate date);
PackedDate cal_from_day_number(int32_t n);
// Weekday (0 Sunday .. 6 Saturday), also stored in *weekday, and the length of
// the date's month in *month_length; either pointer may be null.
int cal_weekday(PackedDate date, int* weekday, int* month_length);
// Advances one day; 1 when the month changed (a new year included), else 0.
int cal_next_day(PackedDate& date);
PackedDate cal_add_days(PackedDate date, int32_t n);
int32_t cal_days_between(PackedDate a, PackedDate b);
// date + delta; a month past 12 carries into the year. The day is not
// clamped: 31 January plus one month is 31 February.
PackedDate cal_add_months(PackedDate date, uint32_t delta);

// Land-ownership terms by game_land_term: none, two years, one year, six,
// three and one month.
inline constexpr std::array<uint32_t, 6> land_term_delta = {0,     0x20000, 0x10000,
                                                            0x600, 0x300,   0x100};

// ---------------------------------------------------------------------------
// Lunar calendar

// One lunar date per day from day number 0, packed like a PackedDate (lunar
// year, month, day). A day of a leap month has 0x80 added to its month.
inline constexpr int CAL_LUNAR_DAYS = 8401;
inline constexpr uint32_t CAL_LUNAR_LEAP_MONTH = 0x80;
extern const std::array<uint32_t, CAL_LUNAR_DAYS> cal_lunar_table;
// Lunar date of a day, 0 when the day lies outside the table.
uint32_t cal_lunar_date(PackedDate date);

// ---------------------------------------------------------------------------
// Holidays

// One entry of a map's holiday table (12 bytes).
struct HolidayEntry {
    int8_t day_off; // 1 a day off, 0 a special day; bit 7 set: entry not used
    uint8_t rule;   // HolidayRule
    uint8_t month;
    uint8_t day;     // day (fixed and lunar dates) or n (n-th weekday)
    uint8_t weekday; // 0 Sunday .. 6, for the n-th weekday rule
    uint8_t events;  // HolidayEvent bits
    uint16_t film;   // data.mkf entry
    uint16_t film_speed;
    uint16_t tune; // event tune number
};
static_assert(sizeof(HolidayEntry) == 12);

enum HolidayRule : uint8_t {
    HOLIDAY_FIXED = 0,
    HOLIDAY_LUNAR = 1,
    HOLIDAY_NTH_WEEKDAY = 2,
};

enum HolidayEvent : uint8_t {
    HEV_FILM = 1,
    HEV_DISPLAY = 2, // carried for the calendar display
    HEV_TUNE = 4,
    HEV_CARDS = 8, // every player gets a card
};

inline constexpr int8_t HOLIDAY_UNUSED = static_cast<int8_t>(0x80);
inline constexpr int HOLIDAY_ENTRIES = 24;
inline constexpr int HOLIDAY_MAPS = 4;
// A lunar entry with this day stands for the last day of its month (lunar
// months have 29 or 30 days).
inline constexpr uint8_t HOLIDAY_LUNAR_LAST_DAY = 31;

extern const std::array<std::array<HolidayEntry, HOLIDAY_ENTRIES>, HOLIDAY_MAPS> holiday_table;

// Index of the first used holiday entry of game_map that falls on the date,
// -1 if none.
int cal_holiday_find(PackedDate date);
// 1 for a Sunday or a holiday that is a day off, else 0.
int cal_is_holiday(PackedDate date);
// Runs the event of today's holiday, if any: its film, its tune and, at
// Christmas, a card for every player.
void cal_holiday_event();
