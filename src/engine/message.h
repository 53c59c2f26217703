// Message panels over the board.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The panel's rectangle on the screen, left, top, right, bottom (its picture,
// frame 5 of data.mkf 476, is drawn at left + 97, top + 80).
inline constexpr PlatRect msg_panel_rect{123, 49, 318, 184};
// Bit 31 of msg_show's time: the panel 100 pixels further right.
inline constexpr uint32_t MSG_SHIFT_RIGHT = 0x80000000u;
// How long an ordinary message stays up.
inline constexpr uint32_t MSG_STANDARD_MS = 1500;

// Shows text in the message panel for ms milliseconds, skippable.
void msg_show(const char* text, uint32_t ms);
// Shows text with the yes/no pop-up; returns 1 for yes, 0 for no.
int msg_ask_yes_no(const char* text);
// Shows text in the message panel moved MSG_PROMPT_SHIFT pixels left, clear
// of the number pad, while the pad asks for a number up to max; returns the
// pad's answer (0 when cancelled).
inline constexpr int MSG_PROMPT_SHIFT = 100;
int32_t msg_ask_number(const char* text, int32_t max);
