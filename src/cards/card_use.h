// Card effects.
#pragma once

#include <cstdint>

// Who is harmed in victim's place: victim, another player, or -1 when the
// pardon card cancels the harm.
int card_resolve_victim(int victim);
// The scapegoat card of holder: the new victim, or -1 (unchanged).
int card_scapegoat(int holder, int context, int32_t amount);
// Shows card id's picture under caption for a moment (nothing for id 0).
void card_show_picture(int id, const char* caption);
// The free-pass card of holder against payee: 1 used, 0 not.
int card_free_pass(int holder, int payee, int32_t amount);
// The toolbar's card command and the computer's card try.
void card_use();
