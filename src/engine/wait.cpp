#include "engine/wait.h"

#include "engine/shown.h"

// Not built yet: returns at once while nothing is shown.
void wait_ms(uint32_t ms) {
    shown_record(Shown::Wait, 0, ms);
}
int wait_ms_skippable(uint32_t ms) {
    shown_record(Shown::Wait, 1, ms);
    return 0;
}
