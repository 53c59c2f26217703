// Net worth, the price index and the players' asset lists.
#pragma once

#include <array>
#include <cstdint>

// Total assets of player 0..3 at today's raw prices (the price index is not
// applied): cash + deposit - loan, the shares, the plots and the facilities.
int32_t asset_net_worth(int player);
// The shares' value alone: the same running truncated sum as in the net worth.
int32_t asset_shares_value(int player);
// Once per new day, after the game-over test: the price index rises to the
// average net worth of the players in the game over the starting money, and
// never falls.
void asset_update_price_index();

// The property list of the asset window: object codes (a plot 2000 + index, a
// facility 4000 + index) and their number.
inline constexpr int ASSET_LIST_MAX = 4000; // plots and facilities together
extern std::array<uint16_t, ASSET_LIST_MAX> asset_property_list;
extern int32_t asset_property_count;
// Fills the list. Filter 0 all (plots, then facilities), 1 plots, 2 facilities,
// 3 plots with houses (level, no chain store), 4 chain stores.
int asset_list_properties(int player, int filter);

// The asset window's page and land filter, kept from one opening to the next
// for the whole run of the program (a new or loaded game leaves them): the
// summary page and filter 0 at start.
extern int32_t asset_page;        // 0 summary, 1 land, 2 shares
extern int32_t asset_land_filter; // 0..4
// The first row of the land list, a multiple of 10; 0 at each opening.
extern int32_t asset_first_row;
inline constexpr int ASSET_ROWS_PER_PAGE = 10;
// Land page paging: down moves on only when more than 10 rows follow the first
// shown; up goes back 10 unless on the first page. 1 when the page changed.
int asset_page_down();
int asset_page_up();

// The player tabs: the seats of the players in the game in seat order, the
// empty entries 255. Returns their number.
inline constexpr uint8_t ASSET_NO_TAB = 255;
int asset_player_tabs(std::array<uint8_t, 4>& tabs);

// Summary page counts.
struct AssetSummary {
    int32_t properties; // plots and facilities together
    int32_t chain_stores;
    int32_t houses;           // plots with a level and no chain store
    int32_t facilities_built; // facilities with a level
    int32_t chaired;          // company buildings he chairs
};
AssetSummary asset_summary(int player);

// One row of the land page for an object code of the property list: the
// price (build or upgrade price x level + land price) and the fee the owner
// now takes, both times the price index, and the expiry date (0 none).
struct AssetRow {
    bool facility;
    bool chain_store;
    int32_t level;
    int32_t price;
    int32_t fee;
    uint32_t expiry;
};
AssetRow asset_row(int code);

// Clears the property list and its first row (the game's world reset); the
// page and the filter stay.
void asset_reset();
