#include "cards/ai_settings.h"

// The computer players' card decisions are not built yet; ai_choice only
// keeps what the item decisions write for the item effects.
namespace {
int ai_choice[4] = {0, 0, 0, 0};
}

int ai_choice_get(int i) {
    return i >= 0 && i < 4 ? ai_choice[i] : 0;
}
void ai_choice_set(int i, int value) {
    if (i >= 0 && i < 4) ai_choice[i] = value;
}
void ai_panel_open() {}
