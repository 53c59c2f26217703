#include "shell/save.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

#include "board/calendar.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/map_block.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "cards/news_deck.h"
#include "cards/time_machine.h"
#include "data/characters.h"
#include "engine/random.h"
#include "engine/record_io.h"
#include "finance/lottery.h"
#include "finance/notice_board.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/stage_end.h"

namespace {

// The largest map block a file may carry: far above any map's.
constexpr uint64_t SAVE_MAP_MAX = 4u << 20;
constexpr uint32_t LOAD_LASTS_MS = 1000;

// Offsets of the thirteen game values of block 18.
enum GameValue : size_t {
    GV_ACTIVE_MOVER = SAVE_GAME_VALUES,
    GV_TRAVEL_MODE = SAVE_GAME_VALUES + 4,
    GV_LAND_TERM = SAVE_GAME_VALUES + 8,
    GV_DAY_LIMIT = SAVE_GAME_VALUES + 12,
    GV_ASSET_TARGET = SAVE_GAME_VALUES + 16,
    GV_START_MONEY = SAVE_GAME_VALUES + 20,
    GV_PRICE_INDEX = SAVE_GAME_VALUES + 24,
    GV_DAYS_ELAPSED = SAVE_GAME_VALUES + 28,
    GV_MONTHS_ELAPSED = SAVE_GAME_VALUES + 32,
    GV_CLOSED_DAYS = SAVE_GAME_VALUES + 36,
    GV_INDEX_BASE = SAVE_GAME_VALUES + 40,
    GV_MARKET_INDEX = SAVE_GAME_VALUES + 44,
    GV_MARKET_TREND = SAVE_GAME_VALUES + 48,
};
constexpr size_t GAME_VALUE_COUNT = 13;
static_assert(GV_MARKET_TREND + 4 == SAVE_GAME_VALUES + 4 * GAME_VALUE_COUNT);

// The file's blocks in their order up to the map block, each with its size
// taken from what it holds, so a table or record that grows cannot run into
// the block after it. The map block and the snapshots follow (save_file_size).
struct SaveBlock {
    size_t offset;
    size_t size;
    const char* holds;
};
constexpr SaveBlock SAVE_BLOCKS[] = {
    {SAVE_VERSION, sizeof SAVE_FORMAT_VERSION, "format version"},
    {SAVE_DATE, sizeof game_date, "date"},
    {SAVE_MAP, sizeof game_map, "map"},
    {SAVE_PLAYER_COUNT, sizeof game_player_count, "player count"},
    {SAVE_PLAYERS, PLAYER_COUNT* PLAYER_RECORD_SIZE, "player records"},
    {SAVE_HUMAN_COUNT, sizeof game_human_count, "human count"},
    {SAVE_WALKERS, WALKER_COUNT* WALKER_RECORD_SIZE, "walker records"},
    {SAVE_GODS, (GOD_LAST_SLOT - GOD_FIRST_SLOT + 1) * GOD_OBJECT_SIZE, "god slots 1.."},
    {SAVE_CARDS, sizeof player_cards, "cards held"},
    {SAVE_ITEMS, sizeof player_items, "items held"},
    {SAVE_CARD_STOCK, sizeof card_stock, "card stock"},
    {SAVE_ITEM_STOCK, sizeof item_stock, "item stock"},
    {SAVE_HISTORY_DAY, sizeof stock_history_day, "price history day"},
    {SAVE_HISTORY, sizeof stock_price_history, "price history"},
    {SAVE_HOLDINGS, PLAYER_COUNT* STOCK_COUNT* STOCK_HOLDING_SIZE, "stock holdings"},
    {SAVE_STOCKS, STOCK_COUNT* STOCK_RECORD_SIZE, "stock records"},
    {SAVE_NOTICES, PLAYER_COUNT* NOTICE_SLOTS* NOTICE_OFFER_SIZE, "bulletin board"},
    {SAVE_GAME_VALUES, 4 * GAME_VALUE_COUNT, "game values"},
    {SAVE_CAMPAIGN, sizeof campaign_maps_cleared, "campaign"},
    {SAVE_CHARACTERS, sizeof character_state, "character states"},
    {SAVE_JACKPOT, sizeof lotto_jackpot, "jackpot"},
    {SAVE_LOTTO_OWNERS, LOTTO_NUMBERS * sizeof lotto_owners[0].code, "lottery owners"},
    {SAVE_JAIL, sizeof jail_flags, "jail flags"},
    {SAVE_HOSPITAL, sizeof hospital_flags, "hospital flags"},
    {SAVE_DECKS, DECKS_BLOCK_SIZE, "news and fate decks"},
    {SAVE_ROTATION, sizeof view_rotation, "view rotation"},
    {SAVE_MAP_SIZE, sizeof map_data_size, "map block size"},
    {SAVE_MAP_BLOCK, 0, "the map block"},
};
static_assert(SAVE_BLOCKS[0].offset == 0);

// One assertion per block: it ends where the next one begins.
template <size_t Row> constexpr bool block_meets_next() {
    static_assert(SAVE_BLOCKS[Row].offset + SAVE_BLOCKS[Row].size == SAVE_BLOCKS[Row + 1].offset,
                  "a save block does not end where the next one begins");
    return true;
}
template <size_t... Row> constexpr bool blocks_meet(std::index_sequence<Row...>) {
    return (block_meets_next<Row>() && ...);
}
static_assert(blocks_meet(std::make_index_sequence<std::size(SAVE_BLOCKS) - 1>()));

// The scalar and byte blocks of the file, one list for both directions: Io
// is RecordPut or RecordGet. Records go through their modules' own images.
template <typename Io> void save_scalar_fields(const Io& io) {
    io(game_date, SAVE_DATE);
    io(game_map, SAVE_MAP);
    io(game_player_count, SAVE_PLAYER_COUNT);
    io(game_human_count, SAVE_HUMAN_COUNT);
    io(stock_history_day, SAVE_HISTORY_DAY);
    for (int st = 0; st < STOCK_COUNT; ++st)
        for (int d = 0; d < STOCK_HISTORY_DAYS; ++d)
            io(stock_price_history[st][d], SAVE_HISTORY + 4 * (st * STOCK_HISTORY_DAYS + d));
    io(game_active_mover, GV_ACTIVE_MOVER);
    io(game_travel_mode, GV_TRAVEL_MODE);
    io(game_land_term, GV_LAND_TERM);
    io(game_day_limit, GV_DAY_LIMIT);
    io(game_asset_target, GV_ASSET_TARGET);
    io(game_start_money, GV_START_MONEY);
    io(game_price_index, GV_PRICE_INDEX);
    io(game_days_elapsed, GV_DAYS_ELAPSED);
    io(game_months_elapsed, GV_MONTHS_ELAPSED);
    io(stock_closed_days, GV_CLOSED_DAYS);
    io(stock_index_base, GV_INDEX_BASE);
    io(stock_market_index, GV_MARKET_INDEX);
    io(stock_market_trend, GV_MARKET_TREND);
    io(lotto_jackpot, SAVE_JACKPOT);
    io(view_rotation, SAVE_ROTATION);
    auto bytes = [&io](auto& table, size_t at) {
        for (auto& b : table)
            io(b, at++);
    };
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        bytes(player_cards[p], SAVE_CARDS + HOLDING_ROW * p);
        bytes(player_items[p], SAVE_ITEMS + HOLDING_ROW * p);
    }
    bytes(card_stock, SAVE_CARD_STOCK);
    bytes(item_stock, SAVE_ITEM_STOCK);
    bytes(campaign_maps_cleared, SAVE_CAMPAIGN);
    bytes(character_state, SAVE_CHARACTERS);
    for (size_t n = 0; n < LOTTO_NUMBERS; ++n)
        io(lotto_owners[n].code, SAVE_LOTTO_OWNERS + n);
    bytes(jail_flags, SAVE_JAIL);
    bytes(hospital_flags, SAVE_HOSPITAL);
}

size_t player_at(int p) {
    return SAVE_PLAYERS + PLAYER_RECORD_SIZE * p;
}
size_t holding_at(int p, int st) {
    return SAVE_HOLDINGS + STOCK_HOLDING_SIZE * (p * STOCK_COUNT + st);
}
size_t notice_at(int p, int k) {
    return SAVE_NOTICES + NOTICE_OFFER_SIZE * (p * NOTICE_SLOTS + k);
}

// Name handles and the snapshots' map pointers mean nothing in a file.
void clear_pointer_fields(uint8_t* players, uint8_t* stocks) {
    for (int p = 0; p < PLAYER_COUNT; ++p)
        le_put32(players + PLAYER_RECORD_SIZE * p, 0);
    for (int st = 0; st < STOCK_COUNT; ++st)
        le_put32(stocks + STOCK_RECORD_SIZE * st, 0);
}

int32_t get_i32(const uint8_t* image, size_t at) {
    return static_cast<int32_t>(le_get32(image + at));
}
float get_f32(const uint8_t* image, size_t at) {
    float v;
    RecordGet{image}(v, at);
    return v;
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

bool real_date(uint32_t date) {
    const int y = cal_year(date), m = cal_month(date), d = cal_day(date);
    return m >= 1 && m <= 12 && d >= 1 && d <= cal_month_length(y, m);
}

bool price_ok(float v) {
    return std::isfinite(v) && v >= STOCK_PRICE_MIN && v <= STOCK_PRICE_MAX;
}

// Range of a field and the reason when it is out of it.
struct Range {
    std::string* error;
    bool operator()(int64_t v, int64_t lo, int64_t hi, const std::string& what) const {
        if (v >= lo && v <= hi) return true;
        return fail(error, what + " is " + std::to_string(v) + ", not " + std::to_string(lo) +
                               ".." + std::to_string(hi));
    }
};

bool check_players(const uint8_t* image, int n, const MapStore& map, const Range& in) {
    const int squares = map.count[MAP_T_SQUARES];
    const int facilities = map.count[MAP_T_FACILITIES];
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord r = player_record_read(image + player_at(p));
        const std::string seat = "seat " + std::to_string(p) + " ";
        if (p >= n && !in(r.control, 0, 0, seat + "control (beyond the players)")) return false;
        if (!in(r.character, 0, CHARACTER_COUNT - 1, seat + "character") ||
            !in(r.square, 0, squares, seat + "square") ||
            !in(r.prev_square, 0, squares, seat + "previous square") ||
            !in(r.facing, 0, 7, seat + "facing") ||
            !in(r.god_slot, 0, GOD_LAST_SLOT, seat + "god slot") ||
            !in(r.ally, 0, n, seat + "ally") ||
            !in(r.inside_facility, 0, facilities, seat + "facility inside") ||
            !in(r.cash, 0, INT32_MAX, seat + "cash") ||
            !in(r.deposit, 0, INT32_MAX, seat + "deposit") ||
            !in(r.loan, 0, INT32_MAX, seat + "loan") ||
            !in(r.special_financing, 0, INT32_MAX, seat + "special financing"))
            return false;
        if (r.bomb_slot != 0 && !in(r.bomb_slot, 37, GOD_LAST_SLOT, seat + "time bomb slot"))
            return false;
        if (p < n && !in(r.dice, 1, 3, seat + "dice")) return false;
        if (r.loan_due != 0 && !real_date(r.loan_due))
            return fail(in.error, seat + "loan due date is not a date");
        for (int q = 0; q < PLAYER_COUNT; ++q)
            if (!in(r.grudge[q], 0, INT32_MAX, seat + "grudge")) return false;
    }
    return true;
}

bool check_walkers_and_gods(const uint8_t* image, int n, const MapStore& map, const Range& in) {
    const int squares = map.count[MAP_T_SQUARES];
    for (int w = 0; w < WALKER_COUNT; ++w) {
        const WalkerRecord r = walker_record_read(image + SAVE_WALKERS + WALKER_RECORD_SIZE * w);
        const std::string who = "walker " + std::to_string(w) + " ";
        if (!in(r.square, 0, squares, who + "square") ||
            !in(r.prev_square, 0, squares, who + "previous square") ||
            !in(r.patron, 0, PLAYER_COUNT, who + "patron") || !in(r.facing, 0, 7, who + "facing") ||
            !in(r.place, 0, 3, who + "place"))
            return false;
    }
    for (int g = GOD_FIRST_SLOT; g <= GOD_LAST_SLOT; ++g) {
        const GodObject r =
            god_object_read(image + SAVE_GODS + GOD_OBJECT_SIZE * (g - GOD_FIRST_SLOT));
        const std::string slot = "god slot " + std::to_string(g) + " ";
        if (!in(r.kind, god_initial_kinds[g], god_initial_kinds[g], slot + "kind") ||
            !in(r.square, 0, squares, slot + "square") || !in(r.facing, 0, 7, slot + "facing") ||
            !in(r.holder, 0, n, slot + "holder"))
            return false;
        if (!std::isfinite(r.fx) || !std::isfinite(r.fy) || !std::isfinite(r.fdx) ||
            !std::isfinite(r.fdy))
            return fail(in.error, slot + "flight is not finite");
    }
    return true;
}

// The company building a listed stock is linked to, as the map links it
// when it loads: the last building listing it, 0 none.
int linked_building(const MapStore& map, int stock) {
    int found = 0;
    for (int j = 1; j <= map.count[MAP_T_COMPANIES]; ++j)
        if (map.companies[j].listed == stock) found = j;
    return found;
}

bool check_market(const uint8_t* image, const MapStore& map, const Range& in) {
    for (int st = 0; st < STOCK_COUNT; ++st) {
        for (int d = 0; d < STOCK_HISTORY_DAYS; ++d) {
            const float v = get_f32(image, SAVE_HISTORY + 4 * (st * STOCK_HISTORY_DAYS + d));
            if (v != 0.0f && !price_ok(v))
                return fail(in.error, "stock " + std::to_string(st) + " history slot " +
                                          std::to_string(d) + " is not 0 or 1..9999");
        }
        const StockRecord r = stock_record_read(image + SAVE_STOCKS + STOCK_RECORD_SIZE * st);
        if (!price_ok(r.price) || !price_ok(r.previous_price) || !price_ok(r.reference_price))
            return fail(in.error, "stock " + std::to_string(st) + " price out of 1..9999");
        if (!std::isfinite(r.volatility) || !std::isfinite(r.change_pct) || !std::isfinite(r.noise))
            return fail(in.error, "stock " + std::to_string(st) + " holds a value not finite");
        if (!in(r.market_shares, 0, STOCK_TOTAL_SHARES, "stock market shares")) return false;
        if (r.building != 0 && r.building != linked_building(map, st))
            return fail(in.error, "stock " + std::to_string(st) + " names company building " +
                                      std::to_string(r.building) + ", not the one listing it");
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            const StockHolding h = stock_holding_read(image + holding_at(p, st));
            if (!in(h.shares, 0, STOCK_TOTAL_SHARES, "shares held") || !std::isfinite(h.avg_cost) ||
                h.avg_cost < 0)
                return fail(in.error, "seat " + std::to_string(p) + " holding of stock " +
                                          std::to_string(st) + " is out of range");
        }
    }
    if (!in(get_i32(image, SAVE_HISTORY_DAY), 0, STOCK_HISTORY_DAYS - 1, "price history day"))
        return false;
    if (!std::isfinite(get_f32(image, GV_MARKET_TREND)))
        return fail(in.error, "the market trend is not finite");
    return true;
}

bool check_values(const uint8_t* image, const Range& in) {
    const std::pair<size_t, const char*> non_negative[] = {
        {GV_DAY_LIMIT, "day limit"},
        {GV_ASSET_TARGET, "asset target"},
        {GV_START_MONEY, "starting money"},
        {GV_DAYS_ELAPSED, "days elapsed"},
        {GV_MONTHS_ELAPSED, "months elapsed"},
        {GV_CLOSED_DAYS, "market closed days"},
        {GV_INDEX_BASE, "index base"},
        {GV_MARKET_INDEX, "market index"},
        {SAVE_JACKPOT, "jackpot"},
    };
    for (const auto& [at, what] : non_negative)
        if (!in(get_i32(image, at), 0, INT32_MAX, what)) return false;
    return in(get_i32(image, GV_ACTIVE_MOVER), 0, MOVER_COUNT - 1, "active mover") &&
           in(get_i32(image, GV_TRAVEL_MODE), 0, 2, "travel mode") &&
           in(get_i32(image, GV_LAND_TERM), 0, 5, "land term") &&
           in(get_i32(image, GV_PRICE_INDEX), 1, INT32_MAX, "price index") &&
           in(get_i32(image, SAVE_ROTATION), 0, 7, "view rotation");
}

bool check_bytes(const uint8_t* image, int n, const Range& in) {
    for (int i = 0; i < 4; ++i)
        if (!in(image[SAVE_CAMPAIGN + i], 0, 1, "campaign byte")) return false;
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        if (!in(image[SAVE_CHARACTERS + c], 0, 2, "character state")) return false;
    for (int i = 0; i < JAIL_PERSONS; ++i)
        if (!in(image[SAVE_JAIL + i], 0, 1, "jail flag") ||
            !in(image[SAVE_HOSPITAL + i], 0, 1, "hospital flag"))
            return false;
    if (!lotto_owners_valid(image + SAVE_LOTTO_OWNERS, n))
        return fail(in.error, "a lottery number's owner is not a player of the game");
    if (!decks_block_valid(image + SAVE_DECKS))
        return fail(in.error, "a news or fate deck is not a permutation or its cursor is out "
                              "of range");
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        bool ended = false;
        for (int i = 0; i < HOLDING_ROW; ++i) {
            const uint8_t card = image[SAVE_CARDS + HOLDING_ROW * p + i];
            if (card == 0)
                ended = true;
            else if (ended || card > CARD_KIND_COUNT)
                return fail(in.error, "seat " + std::to_string(p) + " card slot " +
                                          std::to_string(i) + " holds " + std::to_string(card));
            const int most = i < ITEM_KIND_COUNT ? ITEM_KIND_MAX : 0;
            if (!in(image[SAVE_ITEMS + HOLDING_ROW * p + i], 0, most, "item count")) return false;
        }
    }
    return true;
}

std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT> notices_of(const uint8_t* image) {
    std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT> board{};
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int k = 0; k < NOTICE_SLOTS; ++k)
            board[p][k] = notice_offer_read(image + notice_at(p, k));
    return board;
}

// Decodes and checks a map block of exactly `size` bytes.
bool check_map_block(const uint8_t* block, size_t size, MapStore* store, std::string* error) {
    if (!map_validate(block, size, error)) return false;
    if (map_block_data_size(block) != size)
        return fail(error, "the map block's size " + std::to_string(size) +
                               " is not the size its header gives");
    map_store_decode(block, size, *store);
    return true;
}

void take_blocks(const uint8_t* image, size_t map_size, int n) {
    save_scalar_fields(RecordGet{image});
    for (int p = 0; p < PLAYER_COUNT; ++p)
        player_table[p] = player_record_read(image + player_at(p));
    for (int w = 0; w < WALKER_COUNT; ++w)
        walker_table[w] = walker_record_read(image + SAVE_WALKERS + WALKER_RECORD_SIZE * w);
    for (int g = GOD_FIRST_SLOT; g <= GOD_LAST_SLOT; ++g)
        god_table[g] = god_object_read(image + SAVE_GODS + GOD_OBJECT_SIZE * (g - GOD_FIRST_SLOT));
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int st = 0; st < STOCK_COUNT; ++st)
            stock_holdings[p][st] = stock_holding_read(image + holding_at(p, st));
    for (int st = 0; st < STOCK_COUNT; ++st)
        stock_table[st] = stock_record_read(image + SAVE_STOCKS + STOCK_RECORD_SIZE * st);
    notice_board = notices_of(image);
    decks_read(image + SAVE_DECKS);
    map_data_read(image + SAVE_MAP_BLOCK, map_size, nullptr);
    const uint8_t* snap = image + SAVE_MAP_BLOCK + map_size;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        snapshot_slots[p] = GameSnapshot{};
        if (p >= n) continue;
        snapshot_slots[p].map_copy.assign(snap + SAVE_SNAPSHOT_SIZE,
                                          snap + SAVE_SNAPSHOT_SIZE + map_size);
        // The whole check passed against this same count, so no snapshot
        // is refused here.
        snapshot_image_read(p, snap, n, nullptr);
        snap += SAVE_SNAPSHOT_SIZE + map_size;
    }
    // Name handles are never taken from a file.
    player_rebind_names();
    stock_rebind_names(game_map);
}

} // namespace

std::vector<uint8_t> save_image_encode() {
    const size_t map_size = map_data_loaded() ? map_data_size : 0;
    const int n = std::clamp(game_player_count, 0, PLAYER_COUNT);
    std::vector<uint8_t> image(save_file_size(map_size, n), 0);
    uint8_t* out = image.data();
    le_put32(out + SAVE_VERSION, static_cast<uint32_t>(SAVE_FORMAT_VERSION));
    save_scalar_fields(RecordPut{out});
    for (int p = 0; p < PLAYER_COUNT; ++p)
        player_record_write(player_table[p], out + player_at(p));
    for (int w = 0; w < WALKER_COUNT; ++w)
        walker_record_write(walker_table[w], out + SAVE_WALKERS + WALKER_RECORD_SIZE * w);
    for (int g = GOD_FIRST_SLOT; g <= GOD_LAST_SLOT; ++g)
        god_object_write(god_table[g], out + SAVE_GODS + GOD_OBJECT_SIZE * (g - GOD_FIRST_SLOT));
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int st = 0; st < STOCK_COUNT; ++st)
            stock_holding_write(stock_holdings[p][st], out + holding_at(p, st));
    for (int st = 0; st < STOCK_COUNT; ++st)
        stock_record_write(stock_table[st], out + SAVE_STOCKS + STOCK_RECORD_SIZE * st);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int k = 0; k < NOTICE_SLOTS; ++k)
            notice_offer_write(notice_board[p][k], out + notice_at(p, k));
    decks_write(out + SAVE_DECKS);
    le_put32(out + SAVE_MAP_SIZE, static_cast<uint32_t>(map_size));
    if (map_size) map_data_write(out + SAVE_MAP_BLOCK);
    clear_pointer_fields(out + SAVE_PLAYERS, out + SAVE_STOCKS);
    uint8_t* snap = out + SAVE_MAP_BLOCK + map_size;
    for (int p = 0; p < n; ++p) {
        snapshot_image_write(p, snap);
        clear_pointer_fields(snap + SNAP_PLAYERS, snap + SNAP_STOCKS);
        const std::vector<uint8_t>& copy = snapshot_slots[p].map_copy;
        if (copy.size() == map_size) std::memcpy(snap + SAVE_SNAPSHOT_SIZE, copy.data(), map_size);
        snap += SAVE_SNAPSHOT_SIZE + map_size;
    }
    return image;
}

bool save_image_check(const uint8_t* image, size_t size, std::string* error) {
    const Range in{error};
    if (size < SAVE_MAP_BLOCK)
        return fail(error, std::to_string(size) + " bytes, shorter than the file's head");
    if (get_i32(image, SAVE_VERSION) != SAVE_FORMAT_VERSION)
        return fail(error, "format version " + std::to_string(get_i32(image, SAVE_VERSION)) +
                               ", not " + std::to_string(SAVE_FORMAT_VERSION));
    const int32_t n = get_i32(image, SAVE_PLAYER_COUNT);
    const uint32_t map_size = le_get32(image + SAVE_MAP_SIZE);
    if (!in(n, 2, PLAYER_COUNT, "player count") || !in(get_i32(image, SAVE_MAP), 0, 3, "map") ||
        !in(get_i32(image, SAVE_HUMAN_COUNT), 0, n, "human count") ||
        !in(map_size, 40, SAVE_MAP_MAX, "map block size"))
        return false;
    if (save_file_size(map_size, n) != size)
        return fail(error, std::to_string(size) + " bytes where " + std::to_string(n) +
                               " players and a map block of " + std::to_string(map_size) +
                               " make " + std::to_string(save_file_size(map_size, n)));
    if (!real_date(le_get32(image + SAVE_DATE))) return fail(error, "the date is not a date");
    MapStore map;
    std::string why;
    if (!check_map_block(image + SAVE_MAP_BLOCK, map_size, &map, &why))
        return fail(error, "map block: " + why);
    if (!check_players(image, n, map, in) || !check_walkers_and_gods(image, n, map, in) ||
        !check_market(image, map, in) || !check_values(image, in) || !check_bytes(image, n, in))
        return false;
    const auto notices = notices_of(image);
    if (!notice_board_valid(&notices[0][0], n))
        return fail(error, "bulletin board: an unknown offer type, a gap in a row or an offer "
                           "of a seat not in the game");
    if (!notice_board_objects_valid(&notices[0][0], map.count[MAP_T_LOTS],
                                    map.count[MAP_T_FACILITIES], error))
        return false;
    const uint8_t* snap = image + SAVE_MAP_BLOCK + map_size;
    for (int p = 0; p < n; ++p, snap += SAVE_SNAPSHOT_SIZE + map_size) {
        if (!snapshot_image_check(snap, n, &why))
            return fail(error, "seat " + std::to_string(p) + " " + why);
        if (get_i32(snap, SNAP_VALID) == 0) continue;
        MapStore copy;
        if (!check_map_block(snap + SAVE_SNAPSHOT_SIZE, map_size, &copy, &why))
            return fail(error, "seat " + std::to_string(p) + " snapshot's map copy: " + why);
    }
    return true;
}

void save_load_own_steps(uint32_t picture_shown_at) {
    // Everything a save does not hold starts as in a new world: the saved
    // blocks are kept aside over a world reset and put back.
    const std::vector<uint8_t> kept = save_image_encode();
    const size_t map_size = le_get32(kept.data() + SAVE_MAP_SIZE);
    game_world_reset();
    take_blocks(kept.data(), map_size, get_i32(kept.data(), SAVE_PLAYER_COUNT));
    // The map block is present: only its graphics and links are set up.
    map_load();
    if (game_active_mover >= 0 && game_active_mover < MOVER_COUNT)
        actor_anim_table[game_active_mover].flags |= ANIM_NEEDS_STEP;
    game_srand_from_clock();
    // A load lasts a second from the loading picture, and no message is
    // taken meanwhile; the idle moments keep the picture on the window.
    const uint32_t until = picture_shown_at + LOAD_LASTS_MS;
    if (plat_clock_is_virtual()) {
        if (static_cast<int32_t>(until - plat_tick_count()) > 0) plat_clock_advance_to(until);
    } else {
        while (static_cast<int32_t>(until - plat_tick_count()) > 0)
            plat_idle_for_input(until - plat_tick_count());
    }
}

bool save_image_decode(const uint8_t* image, size_t size, std::string* error) {
    if (!save_image_check(image, size, error)) return false;
    map_free();
    game_world_reset();
    take_blocks(image, le_get32(image + SAVE_MAP_SIZE), get_i32(image, SAVE_PLAYER_COUNT));
    return true;
}

bool save_image_commit(const uint8_t* image, size_t size, uint32_t picture_shown_at,
                       std::string* error) {
    if (!save_image_decode(image, size, error)) return false;
    save_load_own_steps(picture_shown_at);
    return true;
}

std::string save_slot_name(int slot) {
    return "SAVE" + std::to_string(slot) + ".DAT";
}

bool save_write_slot(int slot, std::string* error) {
    if (slot < 0 || slot >= SAVE_SLOTS) return fail(error, "no save slot " + std::to_string(slot));
    if (!map_data_loaded()) return fail(error, "no game is running");
    const std::vector<uint8_t> image = save_image_encode();
    return plat_write_file_atomic(plat_save_dir(), save_slot_name(slot).c_str(), image.data(),
                                  image.size(), error);
}

namespace {

// Reads and checks the slot's whole file; `missing` tells a slot without a
// file from one whose file cannot be used.
bool read_checked(int slot, std::vector<uint8_t>* image, std::string* error,
                  bool* missing = nullptr) {
    const std::string name = save_slot_name(slot);
    const std::string path = plat_find_user_file(plat_save_dir(), name.c_str());
    if (missing) *missing = path.empty();
    if (path.empty()) return fail(error, name + ": no such file in " + plat_save_dir());
    const uint64_t most = save_file_size(SAVE_MAP_MAX, PLAYER_COUNT);
    if (!plat_read_user_file(path, static_cast<size_t>(most), image, error)) return false;
    std::string why;
    if (!save_image_check(image->data(), image->size(), &why))
        return fail(error, path + ": " + why);
    return true;
}

} // namespace

int save_read_slot(int slot, std::string* error) {
    std::vector<uint8_t> image;
    std::string why;
    if (slot < 0 || slot >= SAVE_SLOTS || !read_checked(slot, &image, &why)) {
        if (why.empty()) why = "no save slot " + std::to_string(slot);
        std::fprintf(stderr, "karvo: cannot load the game: %s\n", why.c_str());
        if (error) *error = why;
        return 0;
    }
    app_show_loading_picture();
    const uint32_t shown_at = plat_tick_count();
    save_image_commit(image.data(), image.size(), shown_at, nullptr);
    return 1;
}

bool save_slot_head(int slot, SaveSlotHead* head) {
    // The lists leave out a slot whose file cannot be used; the player is
    // told why on stderr, once for each reason (the lists are drawn again
    // and again), and again if the file changes to another fault.
    static std::string told[SAVE_SLOTS];
    std::vector<uint8_t> image;
    std::string why;
    bool missing = false;
    const bool usable = read_checked(slot, &image, &why, &missing);
    if (slot >= 0 && slot < SAVE_SLOTS) {
        if (usable || missing) {
            told[slot].clear();
        } else if (why != told[slot]) {
            std::fprintf(stderr, "karvo: save slot %d is not listed: %s\n", slot, why.c_str());
            told[slot] = why;
        }
    }
    if (!usable) return false;
    head->date = le_get32(image.data() + SAVE_DATE);
    head->map = get_i32(image.data(), SAVE_MAP);
    head->players = get_i32(image.data(), SAVE_PLAYER_COUNT);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        head->characters[p] = image[player_at(p) + 19];
    return true;
}

void save_autosave() {
    std::string error;
    if (!save_write_slot(0, &error))
        std::fprintf(stderr, "karvo: the autosave failed: %s\n", error.c_str());
}

TURN_STEP(TURN_STEP_AUTOSAVE, [](int) { save_autosave(); })
