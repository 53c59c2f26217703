#include "engine/film.h"

#include "engine/shown.h"

// Films are not built yet: they return at once while nothing is shown.
uint8_t avi_playing = 0;

int avi_play(const char* name, const PlatRect*, int) {
    shown_record(Shown::Film, 0, 0, name);
    return 0;
}
void avi_on_end() {}
