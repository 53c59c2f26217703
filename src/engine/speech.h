// The characters' speech bubble and reaction lines.
#pragma once

#include <cstdint>

// Shows text in player's speech bubble with an expression (player may carry 0x8000: no scroll).
void speech_bubble(int player, int expression, const char* text);
// Reaction line row of a character (0..11, row 0..26).
const char* speech_line(int character, int row);
void speech_react_percent(int player, int32_t value);
void speech_react_count(int player, int32_t count);
void speech_react_gain(int player, int32_t amount);
void speech_react_pay(int player, int32_t amount);
void speech_react_spared(int player, int32_t amount);
// Returns 1 when the line was shown.
int speech_react_rival_pays(int player, int payee, int32_t amount);
void speech_react_lot_group(const char* group_name, int chance);
