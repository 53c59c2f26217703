// The items of a running game, checked by the runner: every copy of items
// 1..8 is somewhere (in a hand, in the shop, ridden, or standing on the board
// as a roadblock, mine or time bomb), and a refused item changes nothing.
#include <array>
#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "cards/cards.h"
#include "cards/item_use.h"
#include "runner_game.h"

namespace {

// The state a refused item must leave as it found it.
struct ItemHoldings {
    std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> items{};
    std::array<uint8_t, ITEM_SHOP_KINDS> stock{};
    uint8_t travel = 0, dice = 0;
};
ItemHoldings before_item;
std::string refused_broken;
std::array<int, ITEM_DISMOUNT + 1> uses{};

ItemHoldings holdings_of(int p) {
    return ItemHoldings{player_items, item_stock, player_table[p].travel, player_table[p].dice};
}

void observe_item(int p, int n, int result) {
    if (result < 0) {
        before_item = holdings_of(p);
        return;
    }
    if (result != 0) {
        if (n >= 1 && n <= ITEM_DISMOUNT) ++uses[n];
        return;
    }
    if (!refused_broken.empty()) return;
    const ItemHoldings after = holdings_of(p);
    if (after.items != before_item.items || after.stock != before_item.stock ||
        after.travel != before_item.travel || after.dice != before_item.dice) {
        char buf[120];
        std::snprintf(buf, sizeof buf,
                      "item %d refused to player %d changed counts, stock or travel", n, p);
        refused_broken = buf;
    }
}

// God slots of a placed item's kind that stand on the board or are carried.
int slots_in_use(int kind) {
    int n = 0;
    for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s)
        if (god_table[s].kind == kind && (god_table[s].square != 0 || god_table[s].holder != 0))
            ++n;
    return n;
}

} // namespace

void runner_watch_items() {
    refused_broken.clear();
    uses.fill(0);
    item_set_observer(observe_item);
}

int runner_items_used(int n) {
    return n >= 1 && n <= ITEM_DISMOUNT ? uses[n] : 0;
}

std::string runner_item_check() {
    char buf[160];
    if (!refused_broken.empty()) {
        std::string broken = refused_broken;
        refused_broken.clear();
        return broken;
    }
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        for (int n = 1; n <= ITEM_KIND_COUNT; ++n) {
            if (player_items[p][n - 1] > ITEM_KIND_MAX) {
                std::snprintf(buf, sizeof buf, "player %d holds %d of item %d", p,
                              player_items[p][n - 1], n);
                return buf;
            }
        }
        for (int i = ITEM_KIND_COUNT; i < HOLDING_ROW; ++i) {
            if (player_items[p][i] != 0) {
                std::snprintf(buf, sizeof buf, "player %d's item row has %d in byte %d", p,
                              player_items[p][i], i);
                return buf;
            }
        }
    }
    for (int n = 1; n <= ITEM_SHOP_KINDS; ++n) {
        int copies = item_stock[n - 1];
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            copies += player_items[p][n - 1];
            const int mode = player_table[p].travel & TRAVEL_MODE_MASK;
            if ((n == ITEM_MOTORBIKE && mode == TRAVEL_MOTORBIKE) ||
                (n == ITEM_CAR && mode == TRAVEL_CAR))
                ++copies;
        }
        if (n == ITEM_ROADBLOCK) copies += slots_in_use(GK_ROADBLOCK);
        if (n == ITEM_MINE) copies += slots_in_use(GK_MINE);
        if (n == ITEM_TIME_BOMB) copies += slots_in_use(GK_TIME_BOMB);
        if (copies != 10) {
            std::snprintf(buf, sizeof buf, "item %d has %d copies in the game, not 10", n, copies);
            return buf;
        }
    }
    return {};
}

std::string runner_item_columns() {
    std::string line = " | items";
    char buf[48];
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        std::snprintf(buf, sizeof buf, " P%d=t%d:", p, player_table[p].travel & TRAVEL_MODE_MASK);
        line += buf;
        for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
            line += static_cast<char>('0' + player_items[p][n - 1]);
    }
    return line;
}
