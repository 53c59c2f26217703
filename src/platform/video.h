// Films: AVI files read and decoded by FFmpeg's libraries.
//
// Frames are decoded on the main thread as the film's time passes and scaled
// into a rectangle of the primary surface in its pixel format; the sound is
// resampled to the mixer's 44100 Hz stereo and waits in a queue the mixer
// takes from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/messages.h"

struct PlatVideo;

// Opens and probes a film, a regular file only (a FIFO is refused without
// waiting on it); nullptr when it is missing or holds no video stream that
// can be decoded, with the reason in `problem` ("not found", "not a regular
// file", "unreadable: ...", "damaged: ...").
PlatVideo* video_open(const std::string& path, std::string* problem = nullptr);
void video_close(PlatVideo* v);

// The length the file announces, in milliseconds.
uint32_t video_length_ms(const PlatVideo* v);
int video_width(const PlatVideo* v);
int video_height(const PlatVideo* v);
bool video_has_sound(const PlatVideo* v);

// Where the frames go on the primary surface (right and bottom exclusive).
void video_set_destination(PlatVideo* v, const PlatRect& rect);

// Shows the last frame due at position ms (decoding every one before it) and
// queues the sound read on the way. False once the film has run out or its
// data broke off: nothing more can be shown then.
bool video_advance(PlatVideo* v, uint32_t position_ms);
// Back to the first frame, to play again from the start.
void video_rewind(PlatVideo* v);
// Where the next frame is due, or the end of what was decoded once the
// film has run out (milliseconds from its start).
uint32_t video_next_due_ms(const PlatVideo* v);
// How many frames went to the surface so far.
uint32_t video_frames_shown(const PlatVideo* v);

// The queued film sound, added to out (interleaved stereo 16-bit, clamped);
// returns the frames taken. Any thread.
size_t video_sound_mix(int16_t* out, size_t frames);
// Drops frames of the queued sound (time that passes unheard).
void video_sound_skip(size_t frames);
// Drops the queued sound.
void video_sound_clear();
// Frames of sound waiting.
size_t video_sound_queued();
// Frames of film sound the mixer has taken (heard, or passed unheard with the
// virtual clock) since the program started. Any thread.
uint64_t video_sound_frames_taken();
