#include "finance/assets.h"

#include <cmath>
#include <cstring>

#include "board/game_state.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "engine/util.h"
#include "finance/stock.h"
#include "finance/trading.h"

std::array<uint16_t, ASSET_LIST_MAX> asset_property_list{};
int32_t asset_property_count = 0;
int32_t asset_page = 0;
int32_t asset_land_filter = 0;
int32_t asset_first_row = 0;

namespace {

// Adds a holding's value to a running total the way the net worth does: the
// product in extended precision (exact), the total taken to single precision
// before the addition, the sum truncated (so a total beyond 2^24 loses its low
// digits, while 10 shares at 21.9 stay worth 218).
int64_t add_share_value(int64_t w, const StockHolding& h, float price) {
    const long double product = static_cast<long double>(h.shares) * price;
    const long double sum = static_cast<long double>(static_cast<float>(w)) + product;
    // Far outside what any game reaches; kept finite so the conversion is defined.
    if (!(sum < 4.0e15L && sum > -4.0e15L))
        return sum > 0 ? INT64_C(4000000000000000) : -INT64_C(4000000000000000);
    return static_cast<int64_t>(sum);
}

int64_t lot_worth(const LandLot& l) {
    int64_t w = l.land_price;
    if (l.chain_store != 0) {
        w += l.build_price;
    } else {
        w += static_cast<int64_t>(l.level) * l.build_price;
    }
    return w;
}

int64_t facility_worth(const FacilityLot& f) {
    return f.price + static_cast<int64_t>(f.level) * f.fee[0];
}

bool lot_passes(const LandLot& l, int filter) {
    switch (filter) {
    case 0:
    case 1:
        return true;
    case 3:
        return l.level != 0 && l.chain_store == 0;
    case 4:
        return l.chain_store != 0 && l.level != 0;
    default:
        return false;
    }
}

void push_code(int code) {
    if (asset_property_count < ASSET_LIST_MAX) {
        asset_property_list[asset_property_count++] = static_cast<uint16_t>(code);
    }
}

} // namespace

int32_t asset_net_worth(int player) {
    if (!is_player_seat(player)) return 0;
    const PlayerRecord& p = player_table[player];
    int64_t w = static_cast<int64_t>(p.cash) + p.deposit - p.loan;
    for (int i = 0; i < STOCK_COUNT; ++i)
        w = add_share_value(w, stock_holdings[player][i], stock_table[i].price);
    const uint8_t owner = owner_of_seat(player);
    for (int i = 1; map_lot_table != nullptr && i <= map_lot_count; ++i) {
        if (map_lot_table[i].owner == owner) w += lot_worth(map_lot_table[i]);
    }
    for (int i = 1; map_facility_table != nullptr && i <= map_facility_count; ++i) {
        if (map_facility_table[i].owner == owner) w += facility_worth(map_facility_table[i]);
    }
    return util_clamp32(w);
}

int32_t asset_shares_value(int player) {
    if (!is_player_seat(player)) return 0;
    int64_t w = 0;
    for (int i = 0; i < STOCK_COUNT; ++i)
        w = add_share_value(w, stock_holdings[player][i], stock_table[i].price);
    return util_clamp32(w);
}

void asset_update_price_index() {
    int64_t sum = 0;
    int64_t n = 0;
    const int count = game_player_count < PLAYER_COUNT ? game_player_count : PLAYER_COUNT;
    for (int p = 0; p < count; ++p) {
        if (player_table[p].control == 0) continue;
        sum += asset_net_worth(p);
        ++n;
    }
    if (n == 0 || game_start_money <= 0) return;
    const int64_t q = (sum / n) / game_start_money;
    if (q > game_price_index) game_price_index = util_clamp32(q);
}

int asset_list_properties(int player, int filter) {
    asset_property_count = 0;
    if (!is_player_seat(player)) return 0;
    const uint8_t owner = owner_of_seat(player);
    if (filter != 2) {
        for (int i = 1; map_lot_table != nullptr && i <= map_lot_count; ++i) {
            const LandLot& l = map_lot_table[i];
            if (l.owner == owner && lot_passes(l, filter)) push_code(object_code(OBJ_LOT_BASE, i));
        }
    }
    if (filter == 0 || filter == 2) {
        for (int i = 1; map_facility_table != nullptr && i <= map_facility_count; ++i) {
            if (map_facility_table[i].owner == owner) push_code(object_code(OBJ_FACILITY_BASE, i));
        }
    }
    return asset_property_count;
}

int asset_page_down() {
    if (asset_property_count - asset_first_row > ASSET_ROWS_PER_PAGE) {
        asset_first_row += ASSET_ROWS_PER_PAGE;
        return 1;
    }
    return 0;
}

int asset_page_up() {
    if (asset_first_row >= ASSET_ROWS_PER_PAGE) {
        asset_first_row -= ASSET_ROWS_PER_PAGE;
        return 1;
    }
    return 0;
}

int asset_player_tabs(std::array<uint8_t, 4>& tabs) {
    tabs.fill(ASSET_NO_TAB);
    int n = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (player_table[p].control != 0) tabs[n++] = static_cast<uint8_t>(p);
    }
    return n;
}

AssetSummary asset_summary(int player) {
    AssetSummary s{};
    if (!is_player_seat(player)) return s;
    const uint8_t owner = owner_of_seat(player);
    for (int i = 1; map_lot_table != nullptr && i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (l.owner != owner) continue;
        ++s.properties;
        if (l.chain_store != 0) {
            ++s.chain_stores;
        } else if (l.level != 0) {
            ++s.houses;
        }
    }
    for (int i = 1; map_facility_table != nullptr && i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        if (f.owner != owner) continue;
        ++s.properties;
        if (f.level != 0) ++s.facilities_built;
    }
    for (int i = 1; map_company_table != nullptr && i <= map_company_count; ++i) {
        if (map_company_table[i].chairman == owner) ++s.chaired;
    }
    return s;
}

AssetRow asset_row(int code) {
    AssetRow r{};
    const int64_t index = game_price_index;
    if (object_in(code, OBJ_LOT_BASE, map_lot_count) && map_lot_table != nullptr) {
        const LandLot& l = map_lot_table[object_index(code, OBJ_LOT_BASE)];
        r.chain_store = l.chain_store != 0;
        r.level = l.level;
        r.price =
            util_clamp32((static_cast<int64_t>(l.build_price) * l.level + l.land_price) * index);
        if (l.owner != 0) {
            if (r.chain_store) {
                r.fee = land_toll(l.owner, nullptr);
            } else {
                char street[sizeof(l.street) + 1] = {};
                std::memcpy(street, l.street, sizeof(l.street));
                r.fee = land_toll(l.owner, street);
            }
        }
        r.expiry = l.expiry;
    } else if (object_in(code, OBJ_FACILITY_BASE, map_facility_count) &&
               map_facility_table != nullptr) {
        const FacilityLot& f = map_facility_table[object_index(code, OBJ_FACILITY_BASE)];
        r.facility = true;
        r.level = f.level;
        r.price = util_clamp32((static_cast<int64_t>(f.fee[0]) * f.level + f.price) * index);
        if (f.kind != FK_PARK && f.level != 0 && f.level < 6)
            r.fee = util_clamp32(static_cast<int64_t>(f.fee[f.level]) * index);
        r.expiry = f.expiry;
    }
    return r;
}

void asset_reset() {
    asset_property_list.fill(0);
    asset_property_count = 0;
    asset_first_row = 0;
}

WORLD_RESET(WORLD_RESET_ASSETS, asset_reset)

NEW_DAY_STEP(NEW_DAY_PRICE_INDEX, asset_update_price_index)
