// God modifiers of fate outcomes and fate insurance.
#pragma once

#include <array>
#include <cstdint>

// Names of the god kinds by GodKind (index 0: the spy).
extern const std::array<const char*, 19> god_names;

// Pays an insured player the amount.
void fate_insurance_payout(int player, int32_t amount);
