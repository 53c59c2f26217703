// The media layer: MIDI synthesis (libfluidsynth) and film decoding
// (FFmpeg's libraries), kept apart from the rest of the platform so that
// what never plays music or films (the headless runner, the rule tests)
// starts without loading those libraries.
//
// The program and the media tests link the layer, which installs itself
// when the program starts. Without it a piece still has its length and
// its notifications and only sounds silent, and a film cannot be opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/messages.h"

struct MidiSong;
struct PlatVideo;

struct PlatMediaLayer {
    // MIDI synthesis (platform/midi.h).
    void (*midi_render_start)(const MidiSong* song, uint32_t from_ms);
    void (*midi_render_stop)();
    void (*midi_render_set_volume)(uint16_t left, uint16_t right);
    bool (*midi_render_mix)(int16_t* out, size_t frames);
    bool (*midi_render_prepare)();
    void (*midi_render_skip)(size_t frames);
    // Films (platform/video.h).
    PlatVideo* (*video_open)(const std::string& path, std::string* problem);
    void (*video_close)(PlatVideo* v);
    uint32_t (*video_length_ms)(const PlatVideo* v);
    bool (*video_has_sound)(const PlatVideo* v);
    void (*video_set_destination)(PlatVideo* v, const PlatRect& rect);
    bool (*video_advance)(PlatVideo* v, uint32_t position_ms);
    void (*video_rewind)(PlatVideo* v);
    uint32_t (*video_next_due_ms)(const PlatVideo* v);
    uint32_t (*video_frames_shown)(const PlatVideo* v);
    size_t (*video_sound_mix)(int16_t* out, size_t frames);
    void (*video_sound_skip)(size_t frames);
    void (*video_sound_clear)();
};

// Called once by the media layer as the program starts.
void plat_media_install(const PlatMediaLayer* layer);
// The installed layer, or one that synthesises silence and opens no film.
const PlatMediaLayer& plat_media();
// True when the media layer is linked in.
bool plat_media_present();
