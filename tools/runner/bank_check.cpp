// The bank's invariants of a running game, checked by the runner after
// every day.
#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "finance/bank.h"
#include "runner_game.h"

std::string runner_bank_check() {
    char buf[200];
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.control == CTRL_OUT) continue;
        if (r.loan < 0 || r.special_financing < 0 || (r.loan == 0) != (r.loan_due == 0)) {
            std::snprintf(buf, sizeof buf,
                          "player %d in the game holds loan %d, special financing %d, due date "
                          "%08x",
                          p, r.loan, r.special_financing, r.loan_due);
            return buf;
        }
    }
    const BankAudit& a = bank_audit();
    const struct {
        int64_t count;
        const char* what;
    } broken[] = {
        {a.while_refused, "dealt with a player whose dealings were refused"},
        {a.while_suspended, "lent to a player whose lending was suspended"},
        {a.over_limit, "lent above the limit of the visit"},
        {a.bad_due_dates, "set a due date off a working day 90 days on, or moved one"},
        {a.bad_covers, "covered a reserve shortfall by another amount"},
        {a.bad_rebalances, "rebalanced cash and deposit to another sum"},
    };
    for (const auto& b : broken) {
        if (b.count == 0) continue;
        std::snprintf(buf, sizeof buf, "the bank %s (%lld of %lld operations)", b.what,
                      static_cast<long long>(b.count), static_cast<long long>(a.operations));
        return buf;
    }
    return {};
}
