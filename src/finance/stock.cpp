#include "finance/stock.h"

#include <cmath>
#include <cstring>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "data/stock_initial.h"
#include "engine/random.h"
#include "engine/record_io.h"

std::array<StockRecord, STOCK_COUNT> stock_table{};
std::array<std::array<float, STOCK_HISTORY_DAYS>, STOCK_COUNT> stock_price_history{};
int32_t stock_history_day = 0;
int32_t stock_market_index = 0;
int32_t stock_index_base = 0;
float stock_market_trend = 0.0f;
int32_t stock_closed_days = 0;

namespace {

// A move counts as whole ticks when it falls short of the next tick by less
// than this part of a tick: the ticks 0.01, 0.05 and 0.1 are not exact in
// binary, and a move of exactly 20 ticks must not come out as 19.
constexpr double TICK_TOLERANCE = 1e-3;

// Band limits and multipliers of the daily walk.
constexpr double LINKED_HIGH = 3.0;
constexpr double LINKED_LOW = 0.85;
constexpr double UNLINKED_HIGH = 8.0;
constexpr double UNLINKED_LOW = 0.5;
constexpr float LIMIT_PCT = 10.0f;

double price_tick(long double price) {
    if (price < 5) return 0.01;
    if (price < 15) return 0.05;
    if (price < 50) return 0.1;
    if (price < 150) return 0.5;
    return 1.0;
}

template <typename Io, typename Rec> void stock_fields(const Io& io, Rec& r) {
    io(r.name, 0);
    io(r.building, 4);
    io(r.suspended_days, 6);
    io(r.forced_move, 7);
    io(r.market_shares, 8);
    io(r.volume, 10);
    io(r.reference_price, 12);
    io(r.previous_price, 16);
    io(r.price, 20);
    io(r.volatility, 24);
    io(r.change_pct, 28);
    io(r.noise, 32);
}

float limit_direction(uint8_t forced_move) {
    return (forced_move & 0xF0) ? LIMIT_PCT : -LIMIT_PCT;
}

} // namespace

void stock_record_write(const StockRecord& r, uint8_t* out) {
    stock_fields(RecordPut{out}, r);
}

StockRecord stock_record_read(const uint8_t* in) {
    StockRecord r{};
    stock_fields(RecordGet{in}, r);
    return r;
}

void stock_reset() {
    stock_table = {};
    for (auto& row : stock_price_history)
        row.fill(0.0f);
    stock_history_day = 0;
    stock_market_index = 0;
    stock_index_base = 0;
    stock_market_trend = 0.0f;
    stock_closed_days = 0;
}

void stock_new_game(int map) {
    stock_reset();
    if (map < 0 || map >= STOCK_MAP_COUNT) map = 0;
    stock_table = stock_initial_table[map];
    float sum = 0.0f;
    for (const StockRecord& s : stock_table)
        sum += s.reference_price;
    stock_index_base = static_cast<int32_t>(10.0 * sum);
}

const char* stock_name(int i) {
    if (i < 0 || i >= STOCK_COUNT) return "";
    uint32_t h = stock_table[i].name;
    if (h >= stock_company_names.size()) return "";
    return stock_company_names[h];
}

void stock_rebind_names(int map) {
    if (map < 0 || map >= STOCK_MAP_COUNT) map = 0;
    for (int i = 0; i < STOCK_COUNT; ++i)
        stock_table[i].name = stock_initial_table[map][i].name;
}

CompanyBuilding* stock_company(int i) {
    if (i < 0 || i >= STOCK_COUNT) return nullptr;
    int b = stock_table[i].building;
    if (b <= 0 || map_company_table == nullptr || b > map_company_count) return nullptr;
    return &map_company_table[b];
}

int64_t stock_average_earnings(int i) {
    const CompanyBuilding* c = stock_company(i);
    if (c == nullptr) return 0;
    if (game_months_elapsed > 0) return c->earnings_total / game_months_elapsed;
    return c->earnings_total;
}

void stock_link_companies() {
    for (int i = 0; i < STOCK_COUNT; ++i) {
        StockRecord& s = stock_table[i];
        if (s.building == 0) continue;
        // A flagged stock that no building names stays unlinked rather than
        // pointing at some other company's building.
        uint16_t found = 0;
        for (int j = 1; map_company_table != nullptr && j <= map_company_count; ++j) {
            if (map_company_table[j].listed == i) found = static_cast<uint16_t>(j);
        }
        s.building = found;
    }
}

void stock_init_company_shares() {
    for (int j = 1; map_company_table != nullptr && j <= map_company_count; ++j) {
        CompanyBuilding& c = map_company_table[j];
        if (c.listed >= STOCK_COUNT) continue;
        c.own_shares = STOCK_TOTAL_SHARES - stock_table[c.listed].market_shares;
    }
}

int stock_market_closed() {
    if (stock_closed_days != 0) return 1;
    return cal_is_holiday(game_date) == 1 ? 1 : 0;
}

float stock_price_step(float prev, float pct) {
    const long double exact = (static_cast<long double>(pct) + 100.0L) / 100.0L * prev;
    const float moved = static_cast<float>(exact);
    const double tick = price_tick(exact);
    // The move, cut back toward prev to a whole number of ticks of the new
    // price's band.
    const float d = pct > 0 ? moved - prev : prev - moved;
    double ticks = std::floor(static_cast<double>(d) / tick + TICK_TOLERANCE);
    if (!(ticks > 0)) ticks = 0;
    const long double step = static_cast<long double>(ticks) * tick;
    float result = static_cast<float>(pct > 0 ? prev + step : prev - step);
    if (!(result >= STOCK_PRICE_MIN)) result = STOCK_PRICE_MIN;
    if (result > STOCK_PRICE_MAX) result = STOCK_PRICE_MAX;
    return result;
}

void stock_daily_update() {
    if (stock_market_closed() == 1) return;
    const float trend = static_cast<float>((game_rand() - 16384) / 4097.0);
    stock_market_trend = trend;
    float sum = 0.0f;
    for (int i = 0; i < STOCK_COUNT; ++i) {
        StockRecord& s = stock_table[i];
        s.previous_price = s.price;
        if (s.suspended_days != 0) {
            s.change_pct = 0.0f;
        } else if (s.forced_move != 0) {
            s.change_pct = limit_direction(s.forced_move);
        } else {
            s.noise = static_cast<float>((game_rand() - 16384) / 1171.0);
            s.change_pct = s.noise * s.volatility + s.change_pct;
            s.change_pct = s.change_pct + trend;
            double high;
            double low;
            const double prev = s.previous_price;
            // A building index the map does not have falls back to the listing price's band.
            if (const CompanyBuilding* c = stock_company(i)) {
                const double v = c->value / 10000.0;
                high = LINKED_HIGH * v;
                low = LINKED_LOW * v;
            } else {
                high = UNLINKED_HIGH * s.reference_price;
                low = UNLINKED_LOW * s.reference_price;
            }
            if (prev > high) {
                s.change_pct = s.change_pct > 0 ? s.change_pct * 0.5f : s.change_pct * 2.0f;
            } else if (prev < low) {
                s.change_pct = s.change_pct > 0 ? s.change_pct * 2.0f : s.change_pct * 0.5f;
            }
            if (s.change_pct > LIMIT_PCT) s.change_pct = LIMIT_PCT;
            if (s.change_pct < -LIMIT_PCT) s.change_pct = -LIMIT_PCT;
        }
        s.price = stock_price_step(s.previous_price, s.change_pct);
        stock_price_history[i][stock_history_day] = s.price;
        sum += s.price;
    }
    stock_history_day = (stock_history_day + 1) % STOCK_HISTORY_DAYS;
    stock_market_index = static_cast<int32_t>(sum * 10.0);
}

int stock_latest_slot() {
    int day = stock_history_day;
    if (day <= 0 || day >= STOCK_HISTORY_DAYS) return STOCK_HISTORY_DAYS - 1;
    return day - 1;
}

void stock_force_move(int k) {
    if (k < 0 || k > STOCK_COUNT) return;
    const int slot = stock_latest_slot();
    for (int i = 0; i < STOCK_COUNT; ++i) {
        if (k != 0 && i != k - 1) continue;
        StockRecord& s = stock_table[i];
        if (s.forced_move == 0) continue;
        s.change_pct = limit_direction(s.forced_move);
        s.price = stock_price_step(s.previous_price, s.change_pct);
        stock_price_history[i][slot] = s.price;
    }
}

void stock_roll_volume() {
    for (StockRecord& s : stock_table) {
        if (s.market_shares <= 1000) {
            s.volume = s.market_shares;
        } else {
            const double part = (game_rand() % 2000 + 1000) / 10000.0;
            s.volume = static_cast<uint16_t>(s.market_shares * part);
        }
    }
}

void stock_count_day_counters() {
    for (StockRecord& s : stock_table) {
        if (s.suspended_days != 0) --s.suspended_days;
        if (s.forced_move & 0xF0) s.forced_move = static_cast<uint8_t>(s.forced_move - 0x10);
        if (s.forced_move & 0x0F) s.forced_move = static_cast<uint8_t>(s.forced_move - 1);
    }
    status_days_count(stock_closed_days);
}

StockMove stock_move_class(int i) {
    if (i < 0 || i >= STOCK_COUNT) return MOVE_FLAT;
    const StockRecord& s = stock_table[i];
    if (s.price > s.previous_price) {
        return s.price >= stock_price_step(s.previous_price, LIMIT_PCT) ? MOVE_LIMIT_UP : MOVE_UP;
    }
    if (s.price < s.previous_price) {
        return s.price <= stock_price_step(s.previous_price, -LIMIT_PCT) ? MOVE_LIMIT_DOWN
                                                                         : MOVE_DOWN;
    }
    return MOVE_FLAT;
}

int stock_format_class(float price) {
    if (price < 15.0f) return 0;
    if (price < 150.0f) return 1;
    return 2;
}

float stock_history_average(int i, int n) {
    if (i < 0 || i >= STOCK_COUNT || n <= 0) return 0.0f;
    if (n > STOCK_HISTORY_DAYS) n = STOCK_HISTORY_DAYS;
    int slot = stock_latest_slot();
    float sum = 0.0f;
    int count = 0;
    for (int k = 0; k < n; ++k) {
        const float p = stock_price_history[i][slot];
        if (p != 0.0f) {
            sum += p;
            ++count;
        }
        slot = slot == 0 ? STOCK_HISTORY_DAYS - 1 : slot - 1;
    }
    return count == 0 ? 0.0f : sum / static_cast<float>(count);
}

float stock_history_high(int i) {
    float high = 0.0f;
    if (i < 0 || i >= STOCK_COUNT) return high;
    for (float p : stock_price_history[i]) {
        if (p != 0.0f && p > high) high = p;
    }
    return high;
}

float stock_history_low(int i) {
    float low = 10000.0f;
    if (i < 0 || i >= STOCK_COUNT) return low;
    for (float p : stock_price_history[i]) {
        if (p != 0.0f && p < low) low = p;
    }
    return low;
}

WORLD_RESET(WORLD_RESET_STOCK, stock_reset)

NEW_DAY_STEP(NEW_DAY_STOCK_COUNTERS, stock_count_day_counters)
NEW_DAY_STEP(NEW_DAY_STOCK_PRICES, stock_daily_update)
TURN_STEP(TURN_STEP_STOCK_VOLUME, [](int) { stock_roll_volume(); })
