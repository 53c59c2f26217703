// The media layer's entry: hands the platform its MIDI synthesiser and film
// decoder as the program starts (this file is linked whole with the layer).
#include "platform/media.h"
#include "platform/midi.h"
#include "platform/video.h"

namespace {

const PlatMediaLayer LAYER = {
    midi_render_start, midi_render_stop,      midi_render_set_volume,
    midi_render_mix,   midi_render_prepare,   midi_render_skip,
    video_open,        video_close,           video_length_ms,
    video_has_sound,   video_set_destination, video_advance,
    video_rewind,      video_next_due_ms,     video_frames_shown,
    video_sound_mix,   video_sound_skip,      video_sound_clear,
};

const bool INSTALLED = (plat_media_install(&LAYER), true);

} // namespace
