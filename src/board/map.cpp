#include "board/map.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/map_block.h"
#include "board/status.h"
#include "board/turn.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/time_machine.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/util.h"
#include "finance/stock.h"

MapSquare* map_square_table = nullptr;
int32_t map_square_count = 0;
LandLot* map_lot_table = nullptr;
int32_t map_lot_count = 0;
FacilityLot* map_facility_table = nullptr;
int32_t map_facility_count = 0;
CompanyBuilding* map_company_table = nullptr;
int32_t map_company_count = 0;
Decoration* map_decoration_table = nullptr;
int32_t map_decoration_count = 0;
uint32_t map_data_size = 0;
int32_t hospital_square = 0;
int32_t jail_square = 0;

namespace {

MapStore g_map;
bool g_loaded = false;
std::string g_last_error;

// Points the public tables and counts at the current store.
void bind_tables() {
    if (!g_loaded) {
        map_square_table = nullptr;
        map_lot_table = nullptr;
        map_facility_table = nullptr;
        map_company_table = nullptr;
        map_decoration_table = nullptr;
        map_square_count = map_lot_count = map_facility_count = 0;
        map_company_count = map_decoration_count = 0;
        map_data_size = 0;
        return;
    }
    map_square_table = g_map.squares.data();
    map_square_count = g_map.count[MAP_T_SQUARES];
    map_lot_table = g_map.lots.data();
    map_lot_count = g_map.count[MAP_T_LOTS];
    map_facility_table = g_map.facilities.data();
    map_facility_count = g_map.count[MAP_T_FACILITIES];
    map_company_table = g_map.companies.data();
    map_company_count = g_map.count[MAP_T_COMPANIES];
    map_decoration_table = g_map.decorations.data();
    map_decoration_count = g_map.count[MAP_T_DECORATIONS];
    map_data_size = static_cast<uint32_t>(g_map.block.size());
}

void find_jail_and_hospital() {
    hospital_square = 0;
    jail_square = 0;
    for (int i = 1; i <= map_square_count; ++i) {
        if (map_square_table[i].object == OBJ_HOSPITAL && hospital_square == 0) hospital_square = i;
        if (map_square_table[i].object == OBJ_JAIL && jail_square == 0) jail_square = i;
    }
}

// Reads the map block of `map` from MAPDAT.MKF, or from MAP.MKF when the
// first archive is missing. A MAPDAT.MKF that is there but damaged is an
// error of its own: the map it holds is not silently replaced by another.
// The caller frees the block.
void* read_map_block(int map, uint32_t* size, std::string* error) {
    const std::string which = "map " + std::to_string(map) + ": ";
    int slot = mkf_open("MAPDAT.MKF");
    int entry = map;
    const char* archive = "MAPDAT.MKF";
    if (slot < 0 && mkf_last_open_found()) {
        *error = which + mkf_last_open_error();
        return nullptr;
    }
    if (slot < 0) {
        const std::string first = mkf_last_open_error();
        slot = mkf_open("MAP.MKF");
        entry = 2 * map + 1;
        archive = "MAP.MKF";
        if (slot < 0) {
            *error = which + first + "; " + mkf_last_open_error();
            return nullptr;
        }
    }
    void* data = mkf_read(slot, entry, nullptr, size);
    mkf_close(slot);
    if (!data)
        *error = "map " + std::to_string(map) + ": entry " + std::to_string(entry) + " of " +
                 archive + " is missing or damaged";
    return data;
}

// A new game's set-up of a freshly read map: snapshots, gods, the companies'
// own shares, the day's volume and the view direction.
void start_new_map() {
    snapshot_prepare_slots(map_data_size);
    god_table_reset();
    static constexpr int first_gods[] = {GK_SMALL_WEALTH,   GK_SMALL_FORTUNE, GK_SMALL_POVERTY,
                                         GK_SMALL_BAD_LUCK, GK_ANGEL,         GK_DOG,
                                         GK_GIFT,           GK_CHEST};
    for (int kind : first_gods) {
        int square = map_random_square_far(0);
        if (square != 0) god_place(kind, square, 0, 0);
    }
    // Only buildings of a listed company (row below 12) have market shares
    // to subtract; the others keep the shares their record holds.
    stock_init_company_shares();
    stock_roll_volume();
    view_rotation = 0;
}

// The state a fresh block starts a new game with, beyond what every block
// must satisfy: before the first turn nobody owns land or facilities or chairs
// a company, a chain store has one level at most, a facility with nothing
// built has no kind, and every company's
// shares add up: those the market does not hold belong to exactly one
// building listing the company. False with the table, record and field.
bool start_state_sound(const MapStore& s, std::string* error) {
    auto bad = [&](const char* table, int i, const std::string& why) {
        *error = std::string("map ") + table + " " + std::to_string(i) + ": " + why;
        return false;
    };
    for (int i = 1; i <= s.count[MAP_T_LOTS]; ++i) {
        const LandLot& l = s.lots[i];
        if (l.owner != 0)
            return bad("land plot", i,
                       "owner " + std::to_string(l.owner) + " before the game's first turn");
        // Raising a chain store stops at level 1.
        if (l.chain_store != 0 && l.level > 1)
            return bad("land plot", i,
                       "chain store at level " + std::to_string(l.level) + " (one level at most)");
    }
    for (int i = 1; i <= s.count[MAP_T_FACILITIES]; ++i) {
        const FacilityLot& f = s.facilities[i];
        if (f.owner != 0)
            return bad("facility", i,
                       "owner " + std::to_string(f.owner) + " before the game's first turn");
        if (f.level == 0 && f.kind != 0)
            return bad("facility", i, "kind " + std::to_string(f.kind) + " with nothing built");
    }
    int listing[STOCK_COUNT] = {};
    for (int j = 1; j <= s.count[MAP_T_COMPANIES]; ++j) {
        const CompanyBuilding& c = s.companies[j];
        if (c.chairman != 0)
            return bad("company building", j,
                       "chairman " + std::to_string(c.chairman) + " before anyone holds shares");
        if (c.listed >= STOCK_COUNT) continue;
        if (listing[c.listed] != 0)
            return bad("company building", j,
                       "listed company " + std::to_string(c.listed) + " also listed by building " +
                           std::to_string(listing[c.listed]) + ": its shares would count twice");
        if (stock_table[c.listed].building == 0 &&
            stock_table[c.listed].market_shares != STOCK_TOTAL_SHARES)
            return bad("company building", j,
                       "listed company " + std::to_string(c.listed) +
                           " has no building on this map's stock table");
        listing[c.listed] = j;
    }
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const StockRecord& st = stock_table[i];
        if (st.building != 0 && listing[i] == 0 && st.market_shares != STOCK_TOTAL_SHARES) {
            *error = "map company buildings: none lists company " + std::to_string(i) + ", so " +
                     std::to_string(STOCK_TOTAL_SHARES - st.market_shares) +
                     " of its shares outside the market would belong to nobody";
            return false;
        }
    }
    return true;
}

// A fresh block's occupant and god marks cannot be trusted: nobody stands on
// the board before the first turn and the god slots are placed anew. They are
// rebuilt from the movers that stand on the board (none in a new game) and
// from the god slots as they are placed.
void rebuild_square_marks() {
    for (int q = 1; q <= map_square_count; ++q)
        map_square_table[q].flags &= ~(SQF_PLAYERS_MASK | SQF_WALKERS_MASK | SQF_GOD_MASK);
    auto on_board = [](int square, int x, int y) {
        return square >= 1 && square <= map_square_count && (x != 0 || y != 0);
    };
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (on_board(r.square, r.x, r.y)) map_square_table[r.square].flags |= sqf_player(p);
    }
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        const WalkerRecord& w = walker_of_mover(m);
        if (w.place == WALKER_FREE && on_board(w.square, w.x, w.y))
            map_square_table[w.square].flags |= sqf_walker(m);
    }
}

bool square_has_nobody(const MapSquare& q) {
    return (q.flags & (SQF_PLAYERS_MASK | SQF_WALKERS_MASK | SQF_GOD_MASK | SQF_INDOOR)) == 0;
}

} // namespace

void map_reset() {
    g_map = MapStore{};
    g_loaded = false;
    g_last_error.clear();
    hospital_square = 0;
    jail_square = 0;
    bind_tables();
}

bool map_data_loaded() {
    return g_loaded;
}

bool map_data_read(const uint8_t* block, size_t size, std::string* error) {
    if (!map_validate(block, size, error)) return false;
    MapStore scratch;
    map_store_decode(block, map_block_data_size(block), scratch);
    g_map = std::move(scratch);
    g_loaded = true;
    bind_tables();
    find_jail_and_hospital();
    return true;
}

bool map_start_new_block(const uint8_t* block, size_t size, std::string* error) {
    std::string why;
    if (!map_validate(block, size, &why)) {
        if (error) *error = why;
        return false;
    }
    MapStore scratch;
    map_store_decode(block, map_block_data_size(block), scratch);
    if (!start_state_sound(scratch, &why)) {
        if (error) *error = why;
        return false;
    }
    g_map = std::move(scratch);
    g_loaded = true;
    bind_tables();
    find_jail_and_hospital();
    rebuild_square_marks();
    start_new_map();
    return true;
}

void map_data_write(uint8_t* out) {
    if (g_loaded) map_store_encode(g_map, out);
}

const std::string& map_last_error() {
    return g_last_error;
}

bool map_load() {
    view_free_map_graphics();
    actor_reset_all();
    if (!g_loaded) {
        std::string error;
        uint32_t size = 0;
        void* block = read_map_block(game_map, &size, &error);
        bool ok = block && map_start_new_block(static_cast<const uint8_t*>(block), size, &error);
        std::free(block);
        if (!ok) {
            g_last_error = error;
            return false;
        }
    }
    // The movers' animation records start afresh before the graphics give
    // them their portraits; their sprites follow their state.
    for (ActorAnim& a : actor_anim_table)
        a = ActorAnim{};
    view_load_map_graphics(game_map);
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p)
        actor_update_sprites(p);
    for (int m = MOVER_THIEF; m <= MOVER_ROBOT_DOLL; ++m)
        actor_update_sprites(m);
    find_jail_and_hospital();
    stock_link_companies();
    snd_effects_load(board_effects);
    board_minimap_marks(0);
    return true;
}

void map_free() {
    snd_effects_free(board_effects);
    view_free_map_graphics();
    actor_reset_all();
    snapshot_free_slots();
    turn_pending_entry = 0;
    std::string keep = g_last_error;
    map_reset();
    g_last_error = keep;
}

int map_direction(int from, int to) {
    if (from < 1 || from > map_square_count || to < 1 || to > map_square_count)
        return util_direction8(0, 0);
    const MapSquare& a = map_square_table[from];
    const MapSquare& b = map_square_table[to];
    return util_direction8(b.x - a.x, b.y - a.y);
}

int map_random_free_square() {
    int n = 0;
    for (int i = 1; i <= map_square_count; ++i) {
        const MapSquare& q = map_square_table[i];
        if ((q.flags & SQF_TYPE_MASK) != SQ_PROPERTY && square_has_nobody(q)) ++n;
    }
    if (n == 0) return 0;
    int pick = game_rand() % n;
    for (int i = 1; i <= map_square_count; ++i) {
        const MapSquare& q = map_square_table[i];
        if ((q.flags & SQF_TYPE_MASK) != SQ_PROPERTY && square_has_nobody(q) && pick-- == 0)
            return i;
    }
    return 0;
}

int map_random_square_far(int from) {
    auto candidate = [](const MapSquare& q) {
        return (q.flags & SQF_TYPE_MASK) == SQ_PROPERTY && square_has_nobody(q);
    };
    auto far = [from](const MapSquare& q) {
        if (from <= 0 || from > map_square_count) return true;
        const MapSquare& f = map_square_table[from];
        return std::abs(q.x - f.x) >= 300 || std::abs(q.y - f.y) >= 300;
    };
    int all = 0;
    int far_count = 0;
    for (int i = 1; i <= map_square_count; ++i) {
        const MapSquare& q = map_square_table[i];
        if (!candidate(q)) continue;
        ++all;
        if (far(q)) ++far_count;
    }
    if (all == 0) return 0;
    // With no candidate far enough any candidate will do.
    bool need_far = far_count > 0;
    int pick = game_rand() % (need_far ? far_count : all);
    for (int i = 1; i <= map_square_count; ++i) {
        const MapSquare& q = map_square_table[i];
        if (!candidate(q) || (need_far && !far(q))) continue;
        if (pick-- == 0) return i;
    }
    return 0;
}

bool map_object_position(int code, int* x, int* y) {
    *x = 0;
    *y = 0;
    if (!g_loaded || code <= 0) return false;
    if (code & OBJ_OCCUPANTS) {
        for (int p = 0; p < 4; ++p)
            if (code & (1 << p)) {
                *x = player_table[p].x;
                *y = player_table[p].y;
                return true;
            }
        for (int w = 0; w < 4; ++w)
            if (code & (0x10 << w)) {
                *x = walker_table[w].x;
                *y = walker_table[w].y;
                return true;
            }
        int slot = (code >> 8) & 0x7F;
        if (slot < GOD_FIRST_SLOT || slot > GOD_LAST_SLOT) return false;
        int square = god_table[slot].square;
        if (square < 1 || square > map_square_count) return false;
        *x = map_square_table[square].x;
        *y = map_square_table[square].y;
        return true;
    }
    if (!map_code_in_range(g_map.count, code)) return false;
    int i = code % 2000;
    switch (code / 2000) {
    case 0:
        *x = map_square_table[i].x;
        *y = map_square_table[i].y;
        break;
    case 1:
        *x = map_lot_table[i].x;
        *y = map_lot_table[i].y;
        break;
    case 2:
        *x = map_facility_table[i].x;
        *y = map_facility_table[i].y;
        break;
    case 3:
        *x = map_company_table[i].x;
        *y = map_company_table[i].y;
        break;
    default:
        *x = map_decoration_table[i].x;
        *y = map_decoration_table[i].y;
        break;
    }
    return true;
}

WORLD_RESET(WORLD_RESET_MAP, map_reset)
