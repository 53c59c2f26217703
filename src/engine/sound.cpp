#include "engine/sound.h"

// Sound is not built yet: it returns at once while nothing is played.
void snd_board_effect_play(int, int) {}
