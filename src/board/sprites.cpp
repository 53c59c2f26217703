#include "board/sprites.h"

// The sprite loader is not built yet: nothing is loaded while nothing is shown.
void sprites_load(int) {}
void sprites_load_overlay(int, int) {}
void sprites_release(int, int) {}
