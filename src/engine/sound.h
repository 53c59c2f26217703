// Sound effects and voice clips.
#pragma once

#include <cstdint>

// One sound effect of a screen's list: the EFFECT.MKF entry (-1 ends the
// list) and the sound buffer made from it (nullptr = none).
struct EffectListEntry {
    int32_t entry;
    void* buffer;
};

// Set-up; 1, or 0 when sound is off.
int snd_init(int reload);
void snd_shutdown();
void snd_effects_load(EffectListEntry* list);
void snd_effects_free(EffectListEntry* list);
// Plays one entry of a loaded list; flags 1 loops, 0 once.
void snd_effect_play(EffectListEntry* entry, int flags);
void snd_effect_stop(EffectListEntry* entry);
// Waits while the last played effect still plays, at most 1000 ms.
void snd_wait_last_effect();

// Plays element of the board's effect list board_effects; flags 1 loops, 0 once.
void snd_board_effect_play(int element, int flags);
// Stops a looping element of board_effects.
void snd_board_effect_stop(int element);
