#include "cards/cards.h"

#include <cstdio>
#include <string>

#include "board/decisions.h"
#include "board/status.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/ai_settings.h"
#include "engine/message.h"
#include "engine/random.h"

std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> player_cards{};
std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> player_items{};
std::array<uint8_t, CARD_KIND_COUNT> card_stock{};
std::array<uint8_t, ITEM_SHOP_KINDS> item_stock{};

namespace {

bool valid_card(int id) {
    return id >= 1 && id <= CARD_KIND_COUNT;
}
bool valid_item(int n) {
    return n >= 1 && n <= ITEM_KIND_COUNT;
}

} // namespace

void cards_reset() {
    for (auto& row : player_cards)
        row.fill(0);
    for (auto& row : player_items)
        row.fill(0);
    card_stock.fill(0);
    item_stock.fill(0);
}

void cards_fill_pools() {
    for (int id = 1; id <= CARD_KIND_COUNT; ++id)
        card_stock[id - 1] = card_defs[id].stock;
    for (int n = 1; n <= ITEM_SHOP_KINDS; ++n)
        item_stock[n - 1] = item_def(n).stock;
}

int card_count(int player) {
    if (!is_player_seat(player)) return 0;
    int n = 0;
    for (uint8_t id : player_cards[player])
        if (id != 0) ++n;
    return n;
}

int card_has(int player, int id) {
    if (!is_player_seat(player) || id == 0) return 0;
    for (uint8_t held : player_cards[player])
        if (held == id) return 1;
    return 0;
}

int card_cheapest(int player) {
    if (!is_player_seat(player)) return 0;
    int best = 0;
    for (uint8_t id : player_cards[player]) {
        if (id == 0) continue;
        if (best == 0 || card_def(id).price < card_def(best).price) best = id;
    }
    return best;
}

int card_add(int player, int id) {
    if (!is_player_seat(player) || !valid_card(id) || card_stock[id - 1] == 0) return 0;
    if (card_count(player) >= CARD_HAND_MAX) card_remove(player, card_cheapest(player));
    auto& row = player_cards[player];
    for (auto& slot : row) {
        if (slot == 0) {
            slot = static_cast<uint8_t>(id);
            --card_stock[id - 1];
            return 1;
        }
    }
    return 0;
}

void card_remove(int player, int id) {
    if (!is_player_seat(player) || !valid_card(id)) return;
    auto& row = player_cards[player];
    for (int i = 0; i < HOLDING_ROW; ++i) {
        if (row[i] != id) continue;
        for (int j = i; j + 1 < HOLDING_ROW; ++j)
            row[j] = row[j + 1];
        row[HOLDING_ROW - 1] = 0;
        ++card_stock[id - 1];
        return;
    }
}

int card_give_random(int player) {
    if (!is_player_seat(player)) return 0;
    int total = 0;
    for (uint8_t c : card_stock)
        total += c;
    if (total == 0) return 0;
    int pick = game_rand() % total;
    for (int id = 1; id <= CARD_KIND_COUNT; ++id) {
        pick -= card_stock[id - 1];
        if (pick < 0) return card_add(player, id) ? id : 0;
    }
    return 0;
}

int card_lose_random(int player) {
    int n = card_count(player);
    if (n == 0) return 0;
    int id = player_cards[player][game_rand() % n];
    card_remove(player, id);
    return id;
}

int card_lose_half(int player) {
    int n = card_count(player);
    if (n < 2) return 0;
    auto& row = player_cards[player];
    for (int i = 0; i < n / 2; ++i) {
        // Remove exactly the card now in slot i (an earlier copy of the same
        // id must stay), then close the gap.
        int id = row[i];
        for (int j = i; j + 1 < HOLDING_ROW; ++j)
            row[j] = row[j + 1];
        row[HOLDING_ROW - 1] = 0;
        ++card_stock[id - 1];
    }
    return 1;
}

int card_sell_all(int player) {
    if (!is_player_seat(player)) return 0;
    int points = 0;
    for (auto& slot : player_cards[player]) {
        if (slot == 0) continue;
        points += card_def(slot).price;
        ++card_stock[slot - 1];
        slot = 0;
    }
    return points;
}

int item_add(int player, int n) {
    if (!is_player_seat(player) || !valid_item(n)) return 0;
    uint8_t& count = player_items[player][n - 1];
    if (count >= ITEM_KIND_MAX) return 0;
    if (n <= ITEM_SHOP_KINDS) {
        if (item_stock[n - 1] == 0) return 0;
        --item_stock[n - 1];
    }
    ++count;
    return 1;
}

void item_remove(int player, int n) {
    if (!is_player_seat(player) || !valid_item(n)) return;
    uint8_t& count = player_items[player][n - 1];
    if (count == 0) return;
    --count;
    if (n <= ITEM_SHOP_KINDS) ++item_stock[n - 1];
}

int item_give_random(int player) {
    if (!is_player_seat(player)) return 0;
    int total = 0;
    for (int n = 1; n <= ITEM_SHOP_KINDS; ++n)
        if (player_items[player][n - 1] < ITEM_KIND_MAX) total += item_stock[n - 1];
    if (total == 0) return 0;
    int pick = game_rand() % total;
    for (int n = 1; n <= ITEM_SHOP_KINDS; ++n) {
        if (player_items[player][n - 1] >= ITEM_KIND_MAX) continue;
        pick -= item_stock[n - 1];
        if (pick < 0) return item_add(player, n) ? n : 0;
    }
    return 0;
}

int item_sell_all(int player) {
    if (!is_player_seat(player)) return 0;
    PlayerRecord& r = player_table[player];
    int points = 0;
    int ridden = 0;
    switch (r.travel & TRAVEL_MODE_MASK) {
    case TRAVEL_MOTORBIKE:
        ridden = ITEM_MOTORBIKE;
        break;
    case TRAVEL_CAR:
        ridden = ITEM_CAR;
        break;
    case TRAVEL_CONSTRUCTION:
        ridden = ITEM_CONSTRUCTION_VEHICLE;
        break;
    default:
        break;
    }
    if (ridden != 0) {
        // The ridden vehicle is a copy outside the counts: it is sold with the
        // rest and its copy goes back to the shop like theirs.
        points += item_def(ridden).price;
        if (ridden <= ITEM_SHOP_KINDS) ++item_stock[ridden - 1];
        r.travel = TRAVEL_WALK;
        r.dice = 1;
        actor_update_sprites(player);
    }
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n) {
        uint8_t& count = player_items[player][n - 1];
        points += count * item_def(n).price;
        if (n <= ITEM_SHOP_KINDS)
            item_stock[n - 1] = static_cast<uint8_t>(item_stock[n - 1] + count);
        count = 0;
    }
    return points;
}

int card_steal_accepts(int victim, int thief, int with_items, int pick) {
    if (pick == 0) return 1;
    if (!is_player_seat(victim) || !is_player_seat(thief) || victim == thief) return 0;
    if (pick & STEAL_ITEM_FLAG) {
        const int n = pick & ~STEAL_ITEM_FLAG;
        // An item the thief could not take (nine held) is no pick at all.
        return with_items && valid_item(n) && player_items[victim][n - 1] > 0 &&
                       player_items[thief][n - 1] < ITEM_KIND_MAX
                   ? 1
                   : 0;
    }
    return valid_card(pick) && card_has(victim, pick) ? 1 : 0;
}

int card_steal_pick(int victim, int thief, int with_items) {
    if (!is_player_seat(victim) || !is_player_seat(thief) || victim == thief) return 0;
    if (!control_acts_by_itself(player_table[thief].control)) {
        // The request names the victim as its object and with_items as its param.
        const int pick =
            decide(DecisionRequest{DECIDE_THIEF_PICK, thief, nullptr, 0, victim, with_items});
        return card_steal_accepts(victim, thief, with_items, pick) ? pick : 0;
    }
    const int pick = ai_choice_get(1);
    if (pick == 0 || (pick & STEAL_ITEM_FLAG) || !card_steal_accepts(victim, thief, 0, pick))
        return 0;
    char text[160];
    std::snprintf(text, sizeof text, "抢得%s的\n\n%s", player_plain_name(victim).c_str(),
                  card_def(pick).name);
    msg_show(text, MSG_STANDARD_MS);
    return pick;
}

int card_steal_move(int victim, int thief, int pick) {
    if (pick == 0 || !card_steal_accepts(victim, thief, 1, pick)) return 0;
    if (pick & STEAL_ITEM_FLAG) {
        const int n = pick & ~STEAL_ITEM_FLAG;
        item_remove(victim, n);
        item_add(thief, n);
    } else {
        card_remove(victim, pick);
        card_add(thief, pick);
    }
    return pick;
}

int card_steal(int victim, int thief, int with_items) {
    return card_steal_move(victim, thief, card_steal_pick(victim, thief, with_items));
}

WORLD_RESET(WORLD_RESET_CARDS, cards_reset)

TURN_STEP(TURN_STEP_SELL_ITEMS, [](int p) { item_sell_all(p); })
TURN_STEP(TURN_STEP_SELL_CARDS, [](int p) { card_sell_all(p); })
