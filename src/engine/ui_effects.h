// The common effect list every screen shares: one sound for each kind of
// feedback a window gives. Loaded at start-up, freed at shutdown.
#pragma once

#include "engine/sound.h"

enum UiEffect : int {
    UI_HOVER = 0,   // the pointer comes onto a button
    UI_PRESS = 1,   // a button is pressed or a value changes
    UI_CONFIRM = 2, // a choice is confirmed
    UI_CANCEL = 3,  // a window is cancelled or closed
    UI_REFUSED = 4, // what was asked is not allowed
};

extern EffectListEntry ui_effects[6];
