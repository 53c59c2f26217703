// The lottery of a running game, checked by the runner: a sale moves 1000
// from the buyer's cash into the jackpot and one free number to the buyer;
// a hit moves the whole jackpot into the winner's cash and frees every
// number; a miss changes nothing; every owned number belongs to a player in
// the game.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "board/game_state.h"
#include "engine/util.h"
#include "finance/lottery.h"
#include "runner_game.h"

namespace {

struct LottoSnapshot {
    std::array<int32_t, PLAYER_COUNT> cash{};
    int32_t jackpot = 0;
    std::array<uint8_t, LOTTO_NUMBERS> owners{};
};
LottoSnapshot before;
std::string broken;
RunnerLottoCounts counts;

LottoSnapshot snapshot() {
    LottoSnapshot s;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        s.cash[p] = player_table[p].cash;
    s.jackpot = lotto_jackpot;
    std::memcpy(s.owners.data(), lotto_owners, LOTTO_NUMBERS);
    return s;
}

void fail(const char* what, int player, int number) {
    if (!broken.empty()) return;
    char buf[160];
    std::snprintf(buf, sizeof buf, "lottery %s (player %d, number %d)", what, player, number);
    broken = buf;
}

// Every player's cash but the one given is as it was.
bool others_unchanged(const LottoSnapshot& now, int except) {
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != except && now.cash[p] != before.cash[p]) return false;
    return true;
}

void check_sale(const LottoEvent& e, const LottoSnapshot& now) {
    ++counts.sales;
    const int p = e.player, n = e.number;
    if (now.cash[p] != before.cash[p] - LOTTO_TICKET_PRICE || !others_unchanged(now, p))
        fail("sale did not take 1000 from the buyer's cash alone", p, n);
    if (now.jackpot != util_add_sat32(before.jackpot, LOTTO_TICKET_PRICE))
        fail("sale did not put 1000 into the jackpot", p, n);
    for (int k = 0; k < LOTTO_NUMBERS; ++k) {
        const bool sold = k == n - 1;
        if (sold && (before.owners[k] != OWNER_NONE || now.owners[k] != owner_of_seat(p)))
            fail("sale did not give a free number to the buyer", p, n);
        if (!sold && now.owners[k] != before.owners[k]) fail("sale changed another number", p, n);
    }
}

void check_draw(const LottoEvent& e, const LottoSnapshot& now) {
    ++counts.draws;
    if (e.player < 0) {
        if (now.jackpot != before.jackpot || now.owners != before.owners ||
            !others_unchanged(now, -1))
            fail("miss changed the jackpot, the numbers or cash", -1, e.number);
        return;
    }
    ++counts.hits;
    const int p = e.player;
    if (before.owners[e.number - 1] != owner_of_seat(p)) fail("hit paid a non-owner", p, e.number);
    if (int64_t{now.cash[p]} != int64_t{before.cash[p]} + before.jackpot ||
        !others_unchanged(now, p))
        fail("hit did not move the jackpot into the winner's cash", p, e.number);
    if (now.jackpot != 0) fail("hit left a jackpot", p, e.number);
    for (uint8_t owner : now.owners)
        if (owner != OWNER_NONE) fail("hit left a number owned", p, e.number);
}

void observe(const LottoEvent& e) {
    if (!e.after) {
        before = snapshot();
        return;
    }
    const LottoSnapshot now = snapshot();
    if (e.kind == LOTTO_SALE)
        check_sale(e, now);
    else
        check_draw(e, now);
}

} // namespace

void runner_watch_lottery() {
    broken.clear();
    counts = {};
    lotto_set_observer(observe);
}

RunnerLottoCounts runner_lottery_counts() {
    return counts;
}

std::string runner_lottery_check() {
    if (!broken.empty()) {
        std::string b = broken;
        broken.clear();
        return b;
    }
    if (!lotto_owners_valid(&lotto_owners[0].code, game_player_count))
        return "lottery owners out of range";
    for (int n = 1; n <= LOTTO_NUMBERS; ++n) {
        const int owner = lotto_owners[n - 1];
        if (owner != OWNER_NONE && player_table[seat_of_owner(owner)].control == CTRL_OUT) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "lottery number %d owned by player %d, out of the game",
                          n, seat_of_owner(owner));
            return buf;
        }
    }
    return {};
}

std::string runner_lottery_columns() {
    std::string line = " | L";
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        line += p == 0 ? " " : " / ";
        bool any = false;
        for (int n = 1; n <= LOTTO_NUMBERS; ++n) {
            if (!owner_is_seat(lotto_owners[n - 1], p)) continue;
            if (any) line += ',';
            line += std::to_string(n);
            any = true;
        }
        if (!any) line += '-';
    }
    return line;
}
