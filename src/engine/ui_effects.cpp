#include "engine/ui_effects.h"

// The common list's effect for each UiEffect, in the order of its values; -1 ends the list.
EffectListEntry ui_effects[6] = {{0, nullptr}, {1, nullptr}, {2, nullptr},
                                 {4, nullptr}, {3, nullptr}, {-1, nullptr}};
