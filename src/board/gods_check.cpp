// Whole-game consistency of the god slots, the squares' god and occupancy
// marks, and the jail and hospital flags: the rules every routine that moves
// a slot, a mover or a prisoner keeps, checked by the runner after each day.
#include <string>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"

namespace {

std::string at(const char* what, int n) {
    return std::string(what) + " " + std::to_string(n);
}

int square_slot(int s) {
    return static_cast<int>((map_square_table[s].flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT);
}

bool square_ok(int s) {
    return s >= 1 && s <= map_square_count;
}

std::string check_slots() {
    for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s) {
        const GodObject& g = god_table[s];
        const int expect = s <= 14   ? s
                           : s <= 16 ? GK_DEATH
                           : s <= 26 ? GK_ROADBLOCK
                           : s <= 36 ? GK_MINE
                                     : GK_TIME_BOMB;
        if (g.kind != expect) return at("slot holds a foreign kind:", s);
        if (g.holder > PLAYER_COUNT) return at("slot holder out of range:", s);
        if (g.square != 0 && !square_ok(g.square)) return at("slot square out of range:", s);
        if (g.holder != 0) {
            const PlayerRecord& r = player_table[seat_of_owner(g.holder)];
            if (r.god_slot != s && r.bomb_slot != s)
                return at("held slot not named by its holder:", s);
            if (g.square != r.square) return at("held slot not on its holder's square:", s);
        } else if (g.square != 0 && square_slot(g.square) != s) {
            return at("standing slot not named by its square:", s);
        }
    }
    return {};
}

std::string check_squares() {
    for (int q = 1; q <= map_square_count; ++q) {
        const uint32_t flags = map_square_table[q].flags;
        const int s = square_slot(q);
        if (s != 0) {
            if (s > GOD_LAST_SLOT) return at("square names a slot out of range:", q);
            if (god_table[s].square != q || god_table[s].holder != 0)
                return at("square names a slot that stands elsewhere:", q);
        }
        for (int p = 0; p < PLAYER_COUNT; ++p)
            if ((flags & sqf_player(p)) && player_table[p].square != q)
                return at("stale player mark on square", q);
        for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m)
            if ((flags & sqf_walker(m)) && walker_of_mover(m).square != q)
                return at("stale character mark on square", q);
    }
    return {};
}

std::string check_players() {
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.god_slot != 0) {
            if (r.god_slot > GOD_LAST_SLOT || !god_kind_can_attach(god_table[r.god_slot].kind))
                return at("player holds a slot that cannot attach:", p);
            if (!owner_is_seat(god_table[r.god_slot].holder, p))
                return at("attached god names another holder:", p);
        }
        if (r.bomb_slot != 0) {
            if (r.bomb_slot > GOD_LAST_SLOT || god_table[r.bomb_slot].kind != GK_TIME_BOMB)
                return at("player carries a slot that is no bomb:", p);
            if (!owner_is_seat(god_table[r.bomb_slot].holder, p))
                return at("carried bomb names another holder:", p);
        }
        if (r.control == CTRL_OUT && (r.god_slot != 0 || r.bomb_slot != 0))
            return at("player out of the game still holds a slot:", p);
        if ((r.jail_days & STATUS_DAY_BITS) != 0 && !jail_flags[p])
            return at("jailed player has no jail flag:", p);
        if (jail_flags[p] && r.jail_days == 0) return at("jail flag without jail days:", p);
        if ((r.hospital_days & STATUS_DAY_BITS) != 0 && !hospital_flags[p])
            return at("player in hospital has no hospital flag:", p);
        if (hospital_flags[p] && r.hospital_days == 0)
            return at("hospital flag without hospital days:", p);
        if (r.jail_days != 0 && r.hospital_days != 0)
            return at("player in jail and hospital at once:", p);
        if (r.control == CTRL_OUT && (jail_flags[p] || hospital_flags[p]))
            return at("player out of the game is held:", p);
        if (r.square != 0 && !square_ok(r.square)) return at("player square out of range:", p);
    }
    return {};
}

std::string check_walkers() {
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        const WalkerRecord& w = walker_of_mover(m);
        if ((w.place == WALKER_IN_JAIL) != (jail_flags[m] != 0))
            return at("jail flag differs from place of mover", m);
        if ((w.place == WALKER_IN_HOSPITAL) != (hospital_flags[m] != 0))
            return at("hospital flag differs from place of mover", m);
        if (w.place > WALKER_OFF_BOARD) return at("place out of range of mover", m);
        if (w.place == WALKER_FREE) {
            if (w.patron >= PLAYER_COUNT) return at("patron out of range of mover", m);
            if (w.square != 0 && !square_ok(w.square)) return at("square out of range of mover", m);
        }
    }
    return {};
}

} // namespace

std::string god_board_check() {
    if (map_square_table == nullptr) return {};
    for (auto check : {check_slots, check_squares, check_players, check_walkers}) {
        std::string broken = check();
        if (!broken.empty()) return broken;
    }
    return {};
}
