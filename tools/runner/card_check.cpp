#include <array>
#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "runner_game.h"

namespace {

std::string first_broken_command;
int played_commands = 0;

std::array<int, CARD_KIND_COUNT + 1> counts(const std::array<uint8_t, HOLDING_ROW>& hand) {
    std::array<int, CARD_KIND_COUNT + 1> n{};
    for (uint8_t id : hand)
        if (id >= 1 && id <= CARD_KIND_COUNT) ++n[id];
    return n;
}

} // namespace

// A refused card leaves the hand as it was; a played one takes exactly one
// copy of its id. The rob card may bring one card; the god card 23 invites
// may give or take cards, so its command is not checked.
void runner_check_card_command(const CardCommand& c, void*) {
    played_commands += c.played != 0;
    if (!first_broken_command.empty() || c.id == 0 || c.id == 23) return;
    if (!is_player_seat(c.user) || player_table[c.user].control == CTRL_OUT) return;
    const auto& after = player_cards[static_cast<size_t>(c.user)];
    char text[160];
    if (!c.played) {
        if (after != c.hand_before) {
            std::snprintf(text, sizeof text, "refused card %d changed the hand of player %d", c.id,
                          c.user);
            first_broken_command = text;
        }
        return;
    }
    const auto before = counts(c.hand_before);
    const auto now = counts(after);
    int gained = 0;
    bool wrong = false;
    for (int id = 1; id <= CARD_KIND_COUNT; ++id) {
        const int d = now[id] - before[id] + (id == c.id ? 1 : 0);
        if (d == 1 && c.id == 13 && gained == 0)
            gained = 1;
        else if (d != 0)
            wrong = true;
    }
    if (wrong) {
        std::snprintf(text, sizeof text,
                      "played card %d did not take exactly one copy from player %d", c.id, c.user);
        first_broken_command = text;
    }
}

void runner_watch_cards() {
    first_broken_command.clear();
    played_commands = 0;
    card_set_observer(runner_check_card_command, nullptr);
}

int runner_cards_played() {
    return played_commands;
}

std::string runner_card_check() {
    if (!first_broken_command.empty()) {
        std::string broken = first_broken_command;
        first_broken_command.clear();
        return broken;
    }
    for (int id = 1; id <= CARD_KIND_COUNT; ++id) {
        int copies = card_stock[static_cast<size_t>(id - 1)];
        for (const auto& hand : player_cards)
            for (uint8_t held : hand)
                copies += held == id;
        if (copies != card_defs[static_cast<size_t>(id)].stock) {
            char text[96];
            std::snprintf(text, sizeof text, "card %d has %d copies, not %d", id, copies,
                          card_defs[static_cast<size_t>(id)].stock);
            return text;
        }
    }
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        bool gap = false;
        for (uint8_t id : player_cards[static_cast<size_t>(p)]) {
            if (id == 0) {
                gap = true;
                continue;
            }
            if (gap) return "player " + std::to_string(p) + "'s cards are not packed";
            if (id > CARD_KIND_COUNT)
                return "player " + std::to_string(p) + " holds card id " + std::to_string(id);
        }
        for (int n = 1; n < HOLDING_ROW; ++n)
            if (player_items[static_cast<size_t>(p)][static_cast<size_t>(n - 1)] > ITEM_KIND_MAX)
                return "player " + std::to_string(p) + " holds " +
                       std::to_string(
                           player_items[static_cast<size_t>(p)][static_cast<size_t>(n - 1)]) +
                       " of item " + std::to_string(n);
    }
    for (int n = 1; n <= ITEM_SHOP_KINDS; ++n)
        if (item_stock[static_cast<size_t>(n - 1)] > item_def(n).stock)
            return "item " + std::to_string(n) + ": " +
                   std::to_string(item_stock[static_cast<size_t>(n - 1)]) +
                   " in the shop, more than its " + std::to_string(item_def(n).stock);
    return {};
}

std::string runner_card_columns() {
    std::string line = " | C";
    char buf[8];
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        line += p == 0 ? " " : " / ";
        bool any = false;
        for (uint8_t id : player_cards[static_cast<size_t>(p)]) {
            if (id == 0) break;
            std::snprintf(buf, sizeof buf, "%s%d", any ? "," : "", id);
            line += buf;
            any = true;
        }
        if (!any) line += "-";
    }
    return line;
}
