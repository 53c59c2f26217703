#include "engine/film.h"

// Films are not built yet: they return at once while nothing is shown.
uint8_t avi_playing = 0;

int avi_play(const char*, const PlatRect*, int) { return 0; }
void avi_on_end() {}
