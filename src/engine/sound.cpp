#include "engine/sound.h"

// Sound is not built yet: it returns at once while nothing is played.
int snd_init(int) { return 0; }
void snd_shutdown() {}
void snd_effects_load(EffectListEntry*) {}
void snd_effects_free(EffectListEntry*) {}
void snd_wait_last_effect() {}
void snd_board_effect_play(int, int) {}
void snd_board_effect_stop(int) {}
void snd_effect_play(EffectListEntry*, int) {}
void snd_effect_stop(EffectListEntry*) {}
