// The points shop's and the magic house's visits in a running game, checked
// by the runner: a shop visit's takings are 10 yuan a point spent plus the
// prices sold back and are booked whole to the store company; the magic
// house chose exactly who meets its condition, and a computer visitor gave
// the fate its rule allows. The day line shows every player's points and
// the visits of the day.
#include <array>
#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "finance/magic_house.h"
#include "finance/shop.h"
#include "runner_game.h"

namespace {

std::string shop_broken;
std::string visits; // the day line's visits since the last column
int shop_visits = 0, magic_visits = 0;

void note(const char* what) {
    if (shop_broken.empty()) shop_broken = what;
}

void observe_shop(const ShopReport& r) {
    ++shop_visits;
    char buf[160];
    std::snprintf(buf, sizeof buf, " shop%d=%d", r.player, r.takings);
    visits += buf;
    if (int64_t{r.takings} != int64_t{10} * r.points_spent + r.sold_prices) {
        std::snprintf(buf, sizeof buf,
                      "shop visit of player %d took %d, not 10 x %d spent + %d sold back", r.player,
                      r.takings, r.points_spent, r.sold_prices);
        note(buf);
    }
    const int64_t due = r.company != 0 ? r.takings : 0;
    if (r.earnings_booked != due || r.total_booked != due) {
        std::snprintf(buf, sizeof buf,
                      "shop visit of player %d booked %lld and %lld of takings %d to company %d",
                      r.player, static_cast<long long>(r.earnings_booked),
                      static_cast<long long>(r.total_booked), r.takings, r.company);
        note(buf);
    }
}

void observe_magic(const MagicReport& r) {
    ++magic_visits;
    char buf[160];
    std::snprintf(buf, sizeof buf, " magic%d=%d>%d", r.visitor, r.condition, r.fate);
    visits += buf;
    // The chosen list again from the condition, before the fate changes anything.
    const std::array<uint8_t, 5> kept = magic_chosen;
    magic_select_players(r.condition);
    const std::array<uint8_t, 5> expected = magic_chosen;
    magic_chosen = kept;
    if (r.chosen != expected || r.chosen[0] == 0) {
        std::snprintf(buf, sizeof buf, "magic house condition %d chose other players than it meets",
                      r.condition);
        note(buf);
    }
    if (!is_player_seat(r.visitor) || player_table[r.visitor].control == CTRL_HUMAN) return;
    bool visitor_chosen = false;
    for (const uint8_t c : r.chosen)
        visitor_chosen = visitor_chosen || (c != 0 && owner_is_seat(c, r.visitor));
    const bool allowed = visitor_chosen ? r.fate == FATE_GIVE_CARD
                                        : r.fate != FATE_GIVE_CARD && r.fate != FATE_AUCTION &&
                                              r.fate >= 0 && r.fate < MAGIC_FATE_COUNT;
    if (!allowed) {
        std::snprintf(buf, sizeof buf, "computer %d gave fate %d in the magic house (%s)",
                      r.visitor, r.fate, visitor_chosen ? "chosen itself" : "not chosen");
        note(buf);
    }
}

} // namespace

void runner_watch_shop() {
    shop_broken.clear();
    visits.clear();
    shop_visits = magic_visits = 0;
    shop_set_observer(observe_shop);
    magic_set_observer(observe_magic);
}

int runner_shop_visits() {
    return shop_visits;
}
int runner_magic_visits() {
    return magic_visits;
}

std::string runner_shop_check() {
    std::string broken = shop_broken;
    shop_broken.clear();
    return broken;
}

std::string runner_points_columns() {
    std::string column = " | pts";
    char buf[24];
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        std::snprintf(buf, sizeof buf, "%s%d", p == 0 ? " " : ",", player_table[p].points);
        column += buf;
    }
    column += visits;
    visits.clear();
    return column;
}
