// God modifiers of fate outcomes and fate insurance.
#pragma once

#include <array>
#include <cstdint>

// Names of the god kinds by GodKind (index 0: the spy).
extern const std::array<const char*, 19> god_names;

// The message of the last answer of fate_god_modifier, empty after a 0.
inline constexpr int FATE_GOD_MESSAGE_SIZE = 48;
extern char fate_god_message[FATE_GOD_MESSAGE_SIZE];

// What the current mover's attached god makes of a fate outcome.
enum FateGodAnswer : int {
    FATE_GOD_NONE = 0,   // nothing special
    FATE_GOD_WAIVE = 1,  // the outcome is waived
    FATE_GOD_DOUBLE = 2, // the outcome is doubled
};
inline constexpr int FATE_GOD_MONEY = 0;  // kind: a payment (loss 1) or a gain (loss 0)
inline constexpr int FATE_GOD_MISHAP = 1; // kind: a misfortune (loss ignored)
// Asks the god attached to game_active_mover; a gods with a luck value of
// 51..100 acts one time in two (one draw), above 100 always, below 0 always
// against the player.
int fate_god_modifier(int kind, int loss);

// Pays an insured player the amount from the map's insurance company; an
// uninsured player, or a map without an insurance company, gets nothing and
// sees nothing.
void fate_insurance_payout(int player, int32_t amount);
