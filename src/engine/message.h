// Message panels over the board.
#pragma once

#include <cstdint>

// Shows text in the message panel for ms milliseconds (bit 31: 100 pixels further right).
void msg_show(const char* text, uint32_t ms);
// Shows text with the yes/no pop-up; returns 1 for yes, 0 for no.
int msg_ask_yes_no(const char* text);
