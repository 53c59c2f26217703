// Gods, spirits and objects that stand on squares of the board in the 46
// fixed slots of god_table: placing and removing them, attaching a god to a
// player and what it does at once, the effects other rules ask a god for (on
// landing, on investing), a god leaving its holder, and their flights.
//
// A standing slot has its square, and that square carries the slot number in
// bits 16-23 of its flags. A held slot has a holder (player + 1) whose
// god_slot or bomb_slot names it, and its square follows the holder's square.
#pragma once

#include <cstdint>
#include <string>

// God values added to a holder's ill_fortune, money_luck and mishap_luck on
// attaching and taken off on removal, by GodKind.
struct GodValues {
    int16_t ill_fortune;
    int16_t money_luck;
    int16_t mishap_luck;
};
extern const GodValues god_value_table[19];

// Slot range of a kind: first and last slot; false for a kind without slots.
bool god_kind_slots(int kind, int* first, int* last);

// Puts a free slot of the kind on a square (square 0: none) with days and a
// holder (player + 1, 0 none). Returns the slot, or 0 when the kind's range
// is full (nothing is placed). A death god placed with a holder attaches.
int god_place(int kind, int square, int days, int holder);
// Removes a slot from its square or holder and undoes its effects; a removed
// god of slots 1-12 reappears far away as its counterpart.
void god_remove(int slot);
// 1 when the slot's kind can attach to a player.
int god_is_attachable(int slot);
// Attaches the god of the slot to player p; square is the square it stood on
// (0 if none). Runs the god's effect at once.
void god_attach(int p, int square, int slot);
// The god attached to p flies away and is removed.
void god_leave_player(int p);
// Angel, devil and land-god effect on the square p lands on.
void god_landing_effect(int p, int square);
// A fortune god builds one more level after p invested on the square.
void god_invest_bonus(int p, int square);
// 1 when p's god makes an investment fail (the reason is shown).
int god_invest_fail(int p);
// The first other player in the game holding a death god, -1 if none.
int god_find_death_holder(int p);

// 1 when no slot is in flight.
int god_none_flying();
// Starts a slot's wandering flight away from square `to` past square `from`.
void god_start_wander(int slot, int from, int to);
// Moves every flying slot one frame along its velocity; a flight ends when
// its frame count runs out, it leaves the board or the view's 29 x 29-cell window.
void god_advance_flights();
// god_fly and god_fly_up, the gods' flights over the board, are drawn by
// the board (board/board_refresh.h).
// Shows a god's caption over the board and waits.
void god_caption(const char* text);

// Consistency of slots, squares, occupancy marks and jail flags: empty when
// every rule holds, else the first broken rule in words.
std::string god_board_check();
