#include "engine/sound.h"

#include "engine/shown.h"

// Sound is not built yet: it returns at once while nothing is played.
int snd_init(int) {
    return 0;
}
void snd_shutdown() {}
void snd_effects_load(EffectListEntry*) {}
void snd_effects_free(EffectListEntry*) {}
void snd_wait_last_effect() {}
void snd_board_effect_play(int element, int) {
    shown_record(Shown::BoardEffect, element);
}
void snd_board_effect_stop(int) {}
void snd_effect_play(EffectListEntry* entry, int) {
    if (entry) shown_record(Shown::Effect, entry->entry);
}
void snd_effect_stop(EffectListEntry*) {}
void snd_voice_play(int n) {
    shown_record(Shown::Voice, n);
}
