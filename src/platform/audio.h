// The one audio device (44100 Hz, stereo, 16-bit) and the sound buffers and
// streams it mixes (mixer.h).
//
// The device is set up in four steps that mirror the game's sound set-up:
// plat_audio_create (the audio system and a device found and opened; fails
// when there is none), plat_audio_set_exclusive (the device held for the
// game alone), plat_audio_create_primary (the mixer),
// plat_audio_set_format (the mixer's clock set to now, playback started; SDL
// converts to whatever the hardware takes).
// Tests make a step fail with plat_audio_test_fail. plat_audio_close undoes
// whatever steps succeeded.
//
// Time: with the real clock the device's callback mixes and moves every
// buffer and stream on. With the virtual clock (headless) nothing moves on
// its own: each call below first brings the mixer up to plat_tick_count(),
// so positions, ends and loops follow virtual time and replay exactly. The
// dummy driver plays what the device gets; nobody hears it.
//
// Main thread only, except where a function says otherwise. Handles are
// invalid after plat_sound_release / plat_stream_release or
// plat_audio_close; nullptr handles are accepted and do nothing.
#pragma once

#include <cstdint>

#include "platform/mixer.h"

using PlatSound = MixerSound*;
using PlatStream = MixerStream*;

// ---- Set-up, each step true on success
bool plat_audio_create();
bool plat_audio_set_exclusive();
bool plat_audio_create_primary();
bool plat_audio_set_format();
// Releases every buffer and stream and the device; safe when not open.
void plat_audio_close();
// True once all four steps succeeded and until plat_audio_close.
bool plat_audio_open();
// A number that changes with every completed set-up: a stream made in an
// earlier session was released by the close that ended it.
uint32_t plat_audio_session();
// Tests: step 1..4 fails from the next set-up on (0 = none).
void plat_audio_test_fail(int step);

// ---- Sound buffers (effects, voices)
// A stopped buffer holding a copy of the samples; nullptr when the device is
// not open or the format is not one the mixer plays.
PlatSound plat_sound_create(const MixerFormat& format, const void* data, uint32_t bytes);
void plat_sound_release(PlatSound sound);
// Playback from the current position; looping wraps to 0 at the end.
void plat_sound_play(PlatSound sound, bool looping);
void plat_sound_stop(PlatSound sound);
void plat_sound_set_position(PlatSound sound, uint32_t frame);
bool plat_sound_playing(PlatSound sound);
// Milliseconds until a sound playing once ends (rounded up); 0 when it is
// stopped, PLAT_SOUND_FOREVER while it loops.
inline constexpr uint32_t PLAT_SOUND_FOREVER = 0xFFFFFFFFu;
uint32_t plat_sound_ms_left(PlatSound sound);
// Volume in hundredths of a decibel, 0 = full, -10000 = silent.
void plat_sound_set_volume(PlatSound sound, int32_t hundredths_db);

// ---- Streams (music, film sound): 44100 Hz stereo 16-bit, mixed with the
// buffers. A pull stream calls `fill` from the mixer (see MixerStreamFill: on
// the device's thread with the real clock); a push stream (fill nullptr)
// plays what plat_stream_write queued and silence when it runs dry.
PlatStream plat_stream_create(MixerStreamFill fill, void* user);
void plat_stream_release(PlatStream stream);
void plat_stream_play(PlatStream stream);
void plat_stream_pause(PlatStream stream);
void plat_stream_set_volume(PlatStream stream, int32_t hundredths_db);
// Push streams: queues interleaved stereo frames.
void plat_stream_write(PlatStream stream, const int16_t* frames, uint32_t count);
// Push streams: frames queued and not yet played.
uint32_t plat_stream_queued(PlatStream stream);
// Frames the stream has played (or passed unheard) since it was created.
uint64_t plat_stream_frames_played(PlatStream stream);

// Buffers that exist, and those playing now (tests, and a check that
// nothing is left behind).
int plat_audio_sound_count();
int plat_audio_playing_count();

// Brings the mixer up to the clock now (the virtual clock only; otherwise
// nothing). Every call above does it first.
void plat_audio_sync();
