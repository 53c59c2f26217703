#include "cards/ai_settings.h"

// The computer players' decisions are not built yet: they choose nothing.
int ai_choice_get(int) {
    return 0;
}
