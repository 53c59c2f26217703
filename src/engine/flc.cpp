#include "engine/flc.h"

#include "engine/shown.h"

// The animation player is not built yet: it returns at once while nothing is shown.
int flc_play_entry(int data_entry, int, int, uint32_t, int) {
    shown_record(Shown::Flc, data_entry);
    return 0;
}
int flc_play_entry_speed(int data_entry, int, int, uint32_t, int) {
    shown_record(Shown::Flc, data_entry);
    return 0;
}
