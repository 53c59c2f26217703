// The characters' speech bubble and reaction lines.
#pragma once

#include <cstdint>

// The player number may carry this: do not scroll the board view to the player.
inline constexpr int SPEECH_NO_SCROLL = 0x8000;
// The bubble's area of the board view, saved and restored around it.
inline constexpr int SPEECH_AREA_LEFT = 0, SPEECH_AREA_TOP = 40;
inline constexpr int SPEECH_AREA_RIGHT = 440, SPEECH_AREA_BOTTOM = 260;

// The text of the last bubble asked for (never cleared: one line object is
// not shown twice in a row).
extern const char* speech_last_text;

// Shows text in player's speech bubble with an expression 0..3 (the face is
// frame expression + 1 of the player's portrait set) and waits for its voice.
void speech_bubble(int player, int expression, const char* text);
// Reaction line row of a character (0..11, row 0..26); nullptr outside.
const char* speech_line(int character, int row);
// Player p says row of his character's lines with the worried face.
void speech_say_line(int p, int row);
void speech_react_percent(int player, int32_t value);
void speech_react_count(int player, int32_t count);
void speech_react_gain(int player, int32_t amount);
void speech_react_pay(int player, int32_t amount);
void speech_react_spared(int player, int32_t amount);
// Returns 1 when the line was shown.
int speech_react_rival_pays(int player, int payee, int32_t amount);
void speech_react_lot_group(const char* group_name, int chance);

// A text's leading voice marker: "#" and four ASCII digits. Returns the
// clip number and sets *rest past the marker, or -1 (rest = text) without one.
int speech_voice_marker(const char* text, const char** rest);
