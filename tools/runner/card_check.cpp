#include <string>

#include "board/game_state.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "runner_game.h"

std::string runner_card_check() {
    std::array<int, CARD_KIND_COUNT> held{};
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        bool gap = false;
        for (uint8_t id : player_cards[p]) {
            if (id == 0) {
                gap = true;
                continue;
            }
            if (gap) return "player " + std::to_string(p) + "'s cards are not packed";
            if (id > CARD_KIND_COUNT)
                return "player " + std::to_string(p) + " holds card id " + std::to_string(id);
            ++held[id - 1];
        }
        for (int n = 1; n < HOLDING_ROW; ++n)
            if (player_items[p][n - 1] > ITEM_KIND_MAX)
                return "player " + std::to_string(p) + " holds " +
                       std::to_string(player_items[p][n - 1]) + " of item " + std::to_string(n);
    }
    for (int id = 1; id <= CARD_KIND_COUNT; ++id)
        if (held[id - 1] + card_stock[id - 1] != card_defs[id].stock)
            return "card " + std::to_string(id) + ": " + std::to_string(held[id - 1]) +
                   " held and " + std::to_string(card_stock[id - 1]) + " in the pool, " +
                   std::to_string(card_defs[id].stock) + " in the game";
    for (int n = 1; n <= ITEM_SHOP_KINDS; ++n)
        if (item_stock[n - 1] > item_def(n).stock)
            return "item " + std::to_string(n) + ": " + std::to_string(item_stock[n - 1]) +
                   " in the shop, more than its " + std::to_string(item_def(n).stock);
    return {};
}
