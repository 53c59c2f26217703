// Sound effects and voice clips.
//
// Effects are WAVE entries of EFFECT.MKF, voices WAVE entries of
// speaking.mkf (entry = voice number). Each screen owns a list of the effects
// it uses, loads it when it opens and frees it when it closes. One voice
// plays at a time; one extra one-shot buffer serves the animations. When the
// audio device cannot be set up, sound stays off for the run and every call
// here does nothing.
#pragma once

#include <cstdint>

// One sound effect of a screen's list: the EFFECT.MKF entry (-1 ends the
// list) and the sound buffer made from it (nullptr = none).
struct EffectListEntry {
    int32_t entry;
    void* buffer;
};

inline constexpr int SND_LIST_PLACES = 16;
// The loaded lists (nullptr = free place), reloaded after a film.
extern EffectListEntry* snd_effect_lists[SND_LIST_PLACES];
// Effect volume in hundredths of a decibel by sound_level 0..4.
extern const int32_t snd_volume_table[5];
// 1 once the set-up failed: sound is off for the run.
extern uint8_t snd_disabled;
// The sound level 0..4 (settings byte 3; 0 = silent).
extern uint8_t& sound_level; // the settings' sound byte (engine/options.h)

// The board's list: EFFECT.MKF entries 7, 9, 10, 32 .. 62, 24 elements and
// the end; loaded with the map and freed with it.
inline constexpr int BOARD_EFFECT_COUNT = 24;
extern EffectListEntry board_effects[BOARD_EFFECT_COUNT + 1];

// Set-up; afterwards reload 1 reloads every loaded list, 0 empties the
// registry. 1, or 0 when sound is off.
int snd_init(int reload);
// Releases every buffer of every list, the voice and extra buffers, the device.
void snd_shutdown();
// A stopped buffer of a WAVE image of `size` bytes, or nullptr when sound is
// off, the image is no RIFF WAVE, holds no "data" chunk or no PCM the mixer
// plays.
void* snd_buffer_from_wave(const void* wave, uint32_t size);
void snd_effects_load(EffectListEntry* list);
void snd_effects_free(EffectListEntry* list);
// New buffers for every entry of every loaded list.
void snd_effects_reload_all();
// Plays one entry of a loaded list from its start; flags 1 loops, 0 once.
void snd_effect_play(EffectListEntry* entry, int flags);
void snd_effect_stop(EffectListEntry* entry);
// Waits while the last played effect still plays, at most 1000 ms.
void snd_wait_last_effect();

// The one-shot buffer of the animations: load replaces the previous one.
void snd_extra_load(int entry);
void snd_extra_play();
void snd_extra_free();

// Plays voice clip n of speaking.mkf once, stopping the voice that plays.
void snd_voice_play(int n);
void snd_voice_stop();
// 1 while the voice plays; a finished voice is released and 0 returned.
int snd_voice_playing();
// Waits until the voice ends, then for the rest of ms; a key or button
// release cuts it short. Other messages stay queued; a music end
// notification is handled. Recorded as a Shown::Wait of number
// SND_VOICE_WAIT with the ms asked for.
inline constexpr int32_t SND_VOICE_WAIT = 2;
void snd_voice_wait(uint32_t ms);

// Plays element of the board's effect list board_effects; flags 1 loops, 0 once.
void snd_board_effect_play(int element, int flags);
// Stops a looping element of board_effects.
void snd_board_effect_stop(int element);
