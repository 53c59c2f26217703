#include "board/money.h"

#include <algorithm>
#include <limits>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/turn_flow.h"
#include "board/world_reset.h"
#include "engine/util.h"

namespace {

MoneyAudit audit{};

bool is_company(int32_t party) {
    return party > PARTY_COMPANY_BASE && party <= party_of_company(map_company_count) &&
           map_company_table != nullptr;
}

void count_panel(int drew) {
    if (drew) ++audit.panel_refreshes;
}

CompanyBuilding& company(int32_t party) {
    return map_company_table[company_of_party(party)];
}

// A company has no cash: what it pays or earns moves both earnings fields,
// which may go below zero. Returns how much the earnings since the last
// dividend actually changed.
int64_t company_add(int32_t party, int64_t amount) {
    CompanyBuilding& c = company(party);
    const int32_t before = c.earnings;
    c.earnings = util_add_sat32(c.earnings, amount);
    c.earnings_total = util_add_sat32(c.earnings_total, amount);
    return int64_t{c.earnings} - before;
}

// Takes amount from a player, first from one account and the shortfall from
// the other; returns what was actually taken and whether he ran out.
int32_t player_take(PlayerRecord& pl, int32_t amount, bool deposit_first, bool* ran_out) {
    int32_t& first = deposit_first ? pl.deposit : pl.cash;
    int32_t& second = deposit_first ? pl.cash : pl.deposit;
    int64_t a = int64_t{first} - amount;
    int64_t b = second;
    if (a < 0) {
        b += a;
        a = 0;
    }
    int64_t paid = amount;
    *ran_out = false;
    if (b < 0) {
        paid += b; // the payment shrinks by the unpaid rest
        b = 0;
        if (paid < 0) paid = 0;
        *ran_out = true;
    }
    first = static_cast<int32_t>(a);
    second = static_cast<int32_t>(b);
    return static_cast<int32_t>(paid);
}

int64_t player_give(PlayerRecord& pl, int32_t amount, uint32_t flags) {
    int32_t& account = (flags & MONEY_INTO_CASH) ? pl.cash : pl.deposit;
    const int32_t before = account;
    account = util_add_sat32(account, amount);
    pl.received_month = util_add_sat32(pl.received_month, amount);
    return int64_t{account} - before;
}

} // namespace

bool money_party_valid(int32_t party, bool as_payee) {
    if (is_player_seat(party)) return true;
    if (party == PARTY_JACKPOT) return as_payee;
    return is_company(party);
}

bool money_pay(int32_t payer, int32_t payee, int32_t amount, uint32_t flags) {
    if (amount < 0 || !money_party_valid(payer, false) || !money_party_valid(payee, true)) {
        ++audit.refused;
        return false;
    }
    ++audit.payments;

    int64_t taken;
    if (is_company(payer)) {
        taken = -company_add(payer, -int64_t{amount});
    } else {
        PlayerRecord& pl = player_table[payer];
        const int64_t before = int64_t{pl.cash} + pl.deposit;
        bool ran_out = false;
        amount = player_take(pl, amount, (flags & MONEY_DEPOSIT_FIRST) != 0, &ran_out);
        taken = before - (int64_t{pl.cash} + pl.deposit);
        if (ran_out) {
            // Eliminated before the payee sees a yuan: both accounts are 0.
            ++audit.bankruptcies;
            player_go_bankrupt(payer);
        }
        // Counted after the bankruptcy cleared the record, so a bankrupt
        // player's counter holds exactly his last payment.
        pl.paid_month = util_add_sat32(pl.paid_month, amount);
    }

    int64_t given;
    if (payee == PARTY_JACKPOT) {
        const int32_t before = lotto_jackpot;
        lotto_jackpot = util_add_sat32(lotto_jackpot, amount);
        given = int64_t{lotto_jackpot} - before;
    } else if (is_company(payee)) {
        given = company_add(payee, amount);
    } else {
        given = player_give(player_table[payee], amount, flags);
    }

    audit.taken += taken;
    audit.given += given;
    if (taken != given) ++audit.mismatches;

    if (payer == game_active_mover && is_player_seat(payer) && player_table[payer].control != 0)
        count_panel(board_refresh_actor_panel(game_active_mover));
    return true;
}

bool money_credit(int32_t player, int32_t amount, uint32_t flags) {
    if (amount < 0 || !is_player_seat(player)) {
        ++audit.refused;
        return false;
    }
    audit.credited += player_give(player_table[player], amount, flags);
    if (player == game_active_mover) count_panel(board_refresh_actor_panel(player));
    return true;
}

int player_add_points(int player, int32_t delta) {
    if (!is_player_seat(player)) return 0;
    PlayerRecord& pl = player_table[player];
    pl.points =
        static_cast<uint16_t>(std::clamp<int64_t>(int64_t{pl.points} + delta, 0, POINTS_MAX));
    return pl.points;
}

const MoneyAudit& money_audit() {
    return audit;
}

void money_reset() {
    audit = MoneyAudit{};
}

WORLD_RESET(WORLD_RESET_MONEY, money_reset)
