// Money and ownership invariants of a running game, checked by the runner
// after every day.
#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "runner_game.h"

namespace {

// An owner byte (player + 1) is sound when it is 0 or names a seat of the
// game; an eliminated owner is allowed only once the game has ended (the
// last bankruptcy of a game ends it before the property is freed).
bool owner_sound(int owner) {
    if (owner == 0) return true;
    if (owner < 1 || owner > game_player_count) return false;
    return player_table[seat_of_owner(owner)].control != CTRL_OUT || game_end_code != 0;
}

} // namespace

std::string runner_money_check() {
    char buf[200];
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.control == CTRL_OUT) continue;
        if (r.cash < 0 || r.deposit < 0) {
            std::snprintf(buf, sizeof buf, "player %d in the game holds cash %d, deposit %d", p,
                          r.cash, r.deposit);
            return buf;
        }
        if (r.ally > game_player_count || owner_is_seat(r.ally, p)) {
            std::snprintf(buf, sizeof buf, "player %d has ally byte %d", p, r.ally.code);
            return buf;
        }
    }
    const MoneyAudit& a = money_audit();
    if (a.mismatches != 0 || a.taken != a.given) {
        std::snprintf(buf, sizeof buf, "ledger moved %lld out and %lld in (%lld payments differ)",
                      static_cast<long long>(a.taken), static_cast<long long>(a.given),
                      static_cast<long long>(a.mismatches));
        return buf;
    }
    if (a.refused != 0) {
        std::snprintf(buf, sizeof buf, "ledger refused %lld payments (bad party or amount)",
                      static_cast<long long>(a.refused));
        return buf;
    }
    if (lotto_jackpot < 0) {
        std::snprintf(buf, sizeof buf, "jackpot %d below 0", lotto_jackpot);
        return buf;
    }
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (!owner_sound(l.owner) || l.level > 5 || l.chain_store > 1 ||
            (l.chain_store != 0 && l.level > 1) || (l.owner == 0 && l.expiry != 0)) {
            std::snprintf(buf, sizeof buf, "plot %d: owner %d level %d chain %d expiry %08x", i,
                          l.owner.code, l.level, l.chain_store, l.expiry);
            return buf;
        }
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        const bool kind_ok =
            // An empty plot may keep the kind of a building a god voided, and
            // keeps it when its owner's term lapses or its owner goes bankrupt.
            f.kind < FACILITY_KIND_COUNT &&
            f.level <= facility_max_level[f.kind < FACILITY_KIND_COUNT ? f.kind : 0];
        if (!owner_sound(f.owner) || !kind_ok || (f.owner == 0 && f.expiry != 0)) {
            std::snprintf(buf, sizeof buf, "facility %d: owner %d kind %d level %d expiry %08x", i,
                          f.owner.code, f.kind, f.level, f.expiry);
            return buf;
        }
    }
    for (int i = 1; i <= map_company_count; ++i) {
        const CompanyBuilding& c = map_company_table[i];
        if (!owner_sound(c.chairman)) {
            std::snprintf(buf, sizeof buf, "company %d: chairman %d", i, c.chairman.code);
            return buf;
        }
    }
    return {};
}

std::string runner_money_columns() {
    std::string line = " | own";
    char buf[64];
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        std::snprintf(buf, sizeof buf, " P%d=", p);
        line += buf;
        bool any = false;
        for (int i = 1; i <= map_lot_count; ++i) {
            const LandLot& l = map_lot_table[i];
            if (!owner_is_seat(l.owner, p)) continue;
            std::snprintf(buf, sizeof buf, "%s%d:%d%s", any ? "," : "",
                          object_code(OBJ_LOT_BASE, i), l.level, l.chain_store ? "c" : "");
            line += buf;
            any = true;
        }
        for (int i = 1; i <= map_facility_count; ++i) {
            const FacilityLot& f = map_facility_table[i];
            if (!owner_is_seat(f.owner, p)) continue;
            std::snprintf(buf, sizeof buf, "%s%d:%d", any ? "," : "",
                          object_code(OBJ_FACILITY_BASE, i), f.level);
            line += buf;
            any = true;
        }
        if (!any) line += "-";
    }
    std::snprintf(buf, sizeof buf, " | jackpot=%d | earn", lotto_jackpot);
    line += buf;
    for (int i = 1; i <= map_company_count; ++i) {
        std::snprintf(buf, sizeof buf, "%s%d", i == 1 ? " " : ",", map_company_table[i].earnings);
        line += buf;
    }
    return line;
}
