#include "cards/ai_items.h"

// The computer's dice decision is not built yet: the dice count stays as it is.
void ai_choose_dice() {}
