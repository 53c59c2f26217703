#include "board/calendar.h"

#include <cstdio>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/speech.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "engine/flc.h"
#include "engine/music.h"
#include "engine/options.h"
#include "engine/util.h"

// ---------------------------------------------------------------------------
// Days

namespace {

constexpr std::array<int, 12> MONTH_LENGTH = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days from the start of year 0 to the start of year y (every fourth year,
// year 0 included, is a leap year).
constexpr int64_t days_before_year(int64_t y) {
    return 365 * y + (y + 3) / 4;
}

constexpr int64_t DAYS_BEFORE_1998 = days_before_year(1998);
constexpr int64_t DAYS_BEFORE_YEAR_LIMIT = days_before_year(0x10000);

int days_before_month(int year, int month) {
    int days = 0;
    for (int m = 1; m < month && m <= 12; ++m)
        days += cal_month_length(year, m);
    return days;
}

} // namespace

bool cal_is_leap_year(int year) {
    return year % 4 == 0;
}

int cal_month_length(int year, int month) {
    if (month < 1 || month > 12) return 0;
    if (month == 2 && cal_is_leap_year(year)) return 29;
    return MONTH_LENGTH[static_cast<size_t>(month - 1)];
}

int32_t cal_day_number(PackedDate date) {
    int year = cal_year(date);
    int64_t n = days_before_year(year) - DAYS_BEFORE_1998 +
                days_before_month(year, cal_month(date)) + cal_day(date) - 1;
    return static_cast<int32_t>(n);
}

PackedDate cal_from_day_number(int32_t n) {
    // Kept inside the years a packed date can hold.
    int64_t total = static_cast<int64_t>(n) + DAYS_BEFORE_1998;
    if (total < 0) total = 0;
    if (total >= DAYS_BEFORE_YEAR_LIMIT) total = DAYS_BEFORE_YEAR_LIMIT - 1;
    int64_t year = (total / 1461) * 4;
    int64_t rest = total % 1461;
    // The first year of each four is the leap year.
    if (rest >= 366) {
        rest -= 366;
        year += 1 + rest / 365;
        rest %= 365;
    }
    int y = static_cast<int>(year);
    int month = 1;
    while (month < 12 && rest >= cal_month_length(y, month)) {
        rest -= cal_month_length(y, month);
        ++month;
    }
    return cal_pack(y, month, static_cast<int>(rest) + 1);
}

int cal_weekday(PackedDate date, int* weekday, int* month_length) {
    int w = static_cast<int>(((static_cast<int64_t>(cal_day_number(date)) + 4) % 7 + 7) % 7);
    if (weekday) *weekday = w;
    if (month_length) *month_length = cal_month_length(cal_year(date), cal_month(date));
    return w;
}

int cal_next_day(PackedDate& date) {
    int year = cal_year(date);
    int month = cal_month(date);
    int day = cal_day(date);
    if (day + 1 > cal_month_length(year, month)) {
        if (month >= 12) {
            month = 1;
            ++year;
        } else {
            ++month;
        }
        date = cal_pack(year, month, 1);
        return 1;
    }
    date = cal_pack(year, month, day + 1);
    return 0;
}

PackedDate cal_add_days(PackedDate date, int32_t n) {
    return cal_from_day_number(
        static_cast<int32_t>(static_cast<int64_t>(cal_day_number(date)) + n));
}

int32_t cal_days_between(PackedDate a, PackedDate b) {
    return cal_day_number(b) - cal_day_number(a);
}

PackedDate cal_add_months(PackedDate date, uint32_t delta) {
    PackedDate r = date + delta;
    if (delta & 0xFF00) {
        while (cal_month(r) > 12)
            r = r + 0x10000 - 0x0C00;
    }
    return r;
}

// ---------------------------------------------------------------------------
// Lunar calendar

uint32_t cal_lunar_date(PackedDate date) {
    int32_t n = cal_day_number(date);
    if (n < 0 || n >= CAL_LUNAR_DAYS) return 0;
    return cal_lunar_table[static_cast<size_t>(n)];
}

// ---------------------------------------------------------------------------
// Holiday tables

namespace {

constexpr int8_t DAY_OFF = 1;
constexpr int8_t SPECIAL_DAY = 0;

constexpr HolidayEntry fixed(int month, int day, int8_t off = SPECIAL_DAY) {
    return HolidayEntry{
        off, HOLIDAY_FIXED, static_cast<uint8_t>(month), static_cast<uint8_t>(day), 0, 0, 0, 0, 0};
}
constexpr HolidayEntry lunar(int month, int day, int8_t off = SPECIAL_DAY) {
    return HolidayEntry{
        off, HOLIDAY_LUNAR, static_cast<uint8_t>(month), static_cast<uint8_t>(day), 0, 0, 0, 0, 0};
}
// The n-th weekday (0 Sunday) of a month.
constexpr HolidayEntry nth(int month, int n, int weekday, int8_t off = SPECIAL_DAY) {
    return HolidayEntry{off,
                        HOLIDAY_NTH_WEEKDAY,
                        static_cast<uint8_t>(month),
                        static_cast<uint8_t>(n),
                        static_cast<uint8_t>(weekday),
                        0,
                        0,
                        0,
                        0};
}
constexpr HolidayEntry unused(int month, int day) {
    HolidayEntry e = fixed(month, day);
    e.day_off = HOLIDAY_UNUSED;
    return e;
}
constexpr HolidayEntry with_film(HolidayEntry e, int film, int speed) {
    e.events = static_cast<uint8_t>(e.events | HEV_FILM);
    e.film = static_cast<uint16_t>(film);
    e.film_speed = static_cast<uint16_t>(speed);
    return e;
}
constexpr HolidayEntry with_tune(HolidayEntry e, int tune) {
    e.events = static_cast<uint8_t>(e.events | HEV_TUNE);
    e.tune = static_cast<uint16_t>(tune);
    return e;
}
constexpr HolidayEntry with_cards(HolidayEntry e) {
    e.events = static_cast<uint8_t>(e.events | HEV_CARDS);
    return e;
}

constexpr int SUNDAY = 0;
constexpr int MONDAY = 1;
constexpr int THURSDAY = 4;

constexpr HolidayEntry new_year = with_film(fixed(1, 1, DAY_OFF), 482, 90);
constexpr HolidayEntry christmas(int8_t off) {
    return with_cards(with_tune(with_film(fixed(12, 25, off), 513, 114), 13));
}
constexpr HolidayEntry lunar_new_year = with_tune(lunar(1, 1, DAY_OFF), 14);

} // namespace

const std::array<std::array<HolidayEntry, HOLIDAY_ENTRIES>, HOLIDAY_MAPS> holiday_table = {{
    {{
        new_year,
        fixed(2, 14),
        fixed(3, 29, DAY_OFF),
        fixed(4, 1),
        fixed(4, 4, DAY_OFF),
        fixed(4, 5, DAY_OFF),
        fixed(5, 1, DAY_OFF),
        nth(5, 2, SUNDAY),
        fixed(8, 8),
        fixed(9, 28, DAY_OFF),
        fixed(10, 25, DAY_OFF),
        fixed(10, 31),
        christmas(DAY_OFF),
        lunar(12, HOLIDAY_LUNAR_LAST_DAY, DAY_OFF),
        lunar_new_year,
        lunar(1, 2, DAY_OFF),
        lunar(1, 3, DAY_OFF),
        lunar(1, 15),
        lunar(5, 5, DAY_OFF),
        lunar(7, 15),
        lunar(8, 15, DAY_OFF),
        unused(10, 10),
        unused(10, 31),
        unused(11, 12),
    }},
    {{
        new_year,
        fixed(2, 14),
        fixed(3, 8, DAY_OFF),
        fixed(4, 5, DAY_OFF),
        fixed(5, 4, DAY_OFF),
        fixed(6, 1, DAY_OFF),
        fixed(7, 1, DAY_OFF),
        fixed(8, 1, DAY_OFF),
        fixed(5, 1, DAY_OFF),
        with_film(fixed(10, 1, DAY_OFF), 482, 90),
        christmas(SPECIAL_DAY),
        lunar(12, HOLIDAY_LUNAR_LAST_DAY, DAY_OFF),
        lunar_new_year,
        lunar(1, 2, DAY_OFF),
        lunar(1, 3, DAY_OFF),
        lunar(1, 15),
        lunar(5, 5, DAY_OFF),
        lunar(7, 15),
        lunar(8, 15, DAY_OFF),
    }},
    {{
        new_year,
        fixed(1, 2, DAY_OFF),
        fixed(1, 3, DAY_OFF),
        fixed(1, 15, DAY_OFF),
        fixed(2, 3),
        fixed(2, 14),
        fixed(2, 11, DAY_OFF),
        fixed(3, 3),
        fixed(3, 22, DAY_OFF),
        fixed(4, 29, DAY_OFF),
        fixed(5, 3, DAY_OFF),
        fixed(5, 5, DAY_OFF),
        fixed(9, 15, DAY_OFF),
        fixed(9, 23, DAY_OFF),
        fixed(10, 10, DAY_OFF),
        fixed(11, 3, DAY_OFF),
        fixed(11, 23, DAY_OFF),
        fixed(12, 23, DAY_OFF),
        christmas(SPECIAL_DAY),
    }},
    {{
        fixed(12, 31, DAY_OFF),
        new_year,
        nth(1, 3, MONDAY),
        fixed(2, 2),
        fixed(2, 12, DAY_OFF),
        fixed(2, 14),
        nth(2, 3, MONDAY, DAY_OFF),
        fixed(3, 30),
        nth(5, 2, SUNDAY),
        nth(5, 5, MONDAY),
        fixed(6, 14),
        fixed(6, 15),
        fixed(7, 4, DAY_OFF),
        nth(9, 1, MONDAY),
        fixed(10, 12),
        fixed(10, 31),
        fixed(11, 11),
        nth(11, 4, THURSDAY, DAY_OFF),
        fixed(12, 24, DAY_OFF),
        christmas(DAY_OFF),
    }},
}};

// ---------------------------------------------------------------------------
// Holiday look-up

namespace {

bool entry_is_used(const HolidayEntry& e) {
    // An all-zero entry names month 0 and matches nothing.
    return (static_cast<uint8_t>(e.day_off) & 0x80) == 0 && e.month >= 1 && e.month <= 12;
}

bool entry_is_day_off(const HolidayEntry& e) {
    return (static_cast<uint8_t>(e.day_off) & 0x80) == 0 && e.day_off != 0;
}

bool entry_matches(const HolidayEntry& e, PackedDate date) {
    if (!entry_is_used(e)) return false;
    const int year = cal_year(date);
    const int month = cal_month(date);
    const int day = cal_day(date);
    switch (e.rule) {
    case HOLIDAY_FIXED:
        return e.month == month && e.day == day;
    case HOLIDAY_LUNAR: {
        uint32_t lunar = cal_lunar_date(date);
        if (lunar == 0 || cal_month(lunar) != e.month) return false;
        if (e.day == HOLIDAY_LUNAR_LAST_DAY) {
            // The last day of the lunar month: the next day starts a new month.
            uint32_t next = cal_lunar_date(cal_add_days(date, 1));
            return next != 0 && cal_day(next) == 1;
        }
        return cal_day(lunar) == e.day;
    }
    case HOLIDAY_NTH_WEEKDAY: {
        if (e.month != month || e.day == 0 || e.weekday > 6) return false;
        int length = 0;
        const int w1 = cal_weekday(cal_pack(year, e.month, 1), nullptr, &length);
        const int w = e.weekday;
        const int d = (w < w1 ? w + 7 : w) - w1 + 1 + (e.day - 1) * 7;
        return d <= length && d == day;
    }
    default:
        return false;
    }
}

const std::array<HolidayEntry, HOLIDAY_ENTRIES>* current_map_holidays() {
    if (game_map < 0 || game_map >= HOLIDAY_MAPS) return nullptr;
    return &holiday_table[static_cast<size_t>(game_map)];
}

} // namespace

int cal_holiday_find(PackedDate date) {
    const auto* table = current_map_holidays();
    if (!table) return -1;
    for (int i = 0; i < HOLIDAY_ENTRIES; ++i) {
        if (entry_matches((*table)[static_cast<size_t>(i)], date)) return i;
    }
    return -1;
}

int cal_is_holiday(PackedDate date) {
    if (cal_weekday(date, nullptr, nullptr) == 0) return 1;
    const auto* table = current_map_holidays();
    if (!table) return 0;
    // Two holidays may fall on one day (a lunar one on a fixed one); the day
    // is off when either of them is.
    for (const HolidayEntry& e : *table) {
        if (entry_is_day_off(e) && entry_matches(e, date)) return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Holiday event

namespace {

constexpr uint8_t TUNE_DAYS = 0x33;
constexpr uint8_t NO_TUNE_DAYS = 0x11;

void give_christmas_cards() {
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[static_cast<size_t>(p)];
        if (r.control == 0) continue;
        int id = card_give_random(p);
        if (id == 0) continue;
        board_view_refresh(r.x, r.y, 0);
        // Names inside messages are written without their spaces.
        const std::string name = player_plain_name(p);
        char text[192];
        std::snprintf(text, sizeof text, "圣诞节\n\n%s得到%s！", name.c_str(), card_def(id).name);
        card_presenter().picture(id, text);
        speech_react_percent(p, card_def(id).level);
    }
}

} // namespace

void cal_holiday_event() {
    const int index = cal_holiday_find(game_date);
    if (index < 0) return;
    const HolidayEntry& e =
        holiday_table[static_cast<size_t>(game_map)][static_cast<size_t>(index)];
    if (e.events == 0) return;

    // The board shows the event without the side panel's second layout.
    const uint8_t layout = settings_side_panel_layout();
    if (layout == 1) settings_set_side_panel_layout(0);
    board_repaint_all();

    if ((e.events & HEV_TUNE) && music_day_countdown == 0) {
        music_stop();
        music_play_event(e.tune | 0x8000);
        music_day_countdown = e.tune == 0 ? NO_TUNE_DAYS : TUNE_DAYS;
    }
    if (e.events & HEV_FILM) flc_play_entry_speed(e.film, 0, 40, 0, e.film_speed);
    if (e.events & HEV_CARDS) give_christmas_cards();

    if (layout == 1) settings_set_side_panel_layout(layout);
    // The card gifts moved the view to each player; it follows the turn again.
    board_clear_scroll_target();
    board_repaint_all();
}
