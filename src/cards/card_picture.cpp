#include "cards/card_use.h"

// The card's picture is drawn by the card windows; until they are built a
// card is played without it.
void card_show_picture(int, const char*) {}
