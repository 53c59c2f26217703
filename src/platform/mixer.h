// The software mixer behind the audio device: sound buffers in any PCM
// format a WAVE may hold, resampled linearly to the device's 44100 Hz
// stereo 16-bit, and streams (music, film sound) that are already in the
// device's format. Every playing buffer and stream is scaled by its gain and
// added; the sum is clamped to 16 bits.
//
// The mixer knows nothing of threads or clocks: the audio device (audio.h)
// owns one and runs it from the device's callback or from the virtual clock.
// Benchmarks and tests drive a Mixer of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

inline constexpr uint32_t MIXER_RATE = 44100;
inline constexpr uint32_t MIXER_CHANNELS = 2;

// Fills `frames` stereo frames (interleaved int16, left first) of a stream.
// `out` is nullptr when the time passes unheard (the virtual clock): the
// stream then moves on by `frames` as if it had rendered them. Called with
// the mixer's lock held: it must not call back into the audio layer.
using MixerStreamFill = void (*)(void* user, int16_t* out, uint32_t frames);

// The format of a sound's samples as a WAVE's format block gives it.
struct MixerFormat {
    uint16_t channels;        // 1 or 2
    uint32_t samples_per_sec; // 8000 .. 48000
    uint16_t bits_per_sample; // 8 (unsigned) or 16 (signed, little-endian)
};

// True when the mixer can play sound of this format.
bool mixer_format_supported(const MixerFormat& format);

// Gain as a 16.16 factor from hundredths of a decibel (10^(v/2000)); 0 dB
// and above give 1.0, -10000 and below give silence.
int32_t mixer_gain_from_hundredths_db(int32_t hundredths_db);

struct MixerSound {
    std::vector<int16_t> pcm; // interleaved, `channels` per frame
    uint32_t frames = 0;
    uint32_t channels = 1;
    uint32_t rate = 22050;
    uint64_t step = 0;     // source frames per output frame, 32.32
    uint64_t position = 0; // source frames, 32.32
    bool playing = false;
    bool looping = false;
    int32_t gain = 0x10000; // 16.16
};

struct MixerStream {
    MixerStreamFill fill = nullptr; // nullptr: frames come from `queue`
    void* user = nullptr;
    std::vector<int16_t> queue; // queued stereo frames (push streams)
    size_t queue_head = 0;      // samples of `queue` already played
    bool playing = false;
    int32_t gain = 0x10000;
    uint64_t frames_played = 0;
};

class Mixer {
  public:
    // A stopped buffer at position 0, gain 1.0; nullptr when the format is
    // not supported or the data is empty. `bytes` is cut to whole frames.
    MixerSound* create_sound(const MixerFormat& format, const void* data, uint32_t bytes);
    void release_sound(MixerSound* sound);
    MixerStream* create_stream(MixerStreamFill fill, void* user);
    void release_stream(MixerStream* stream);
    // Forgets every buffer and stream (their pointers become invalid).
    void release_all();
    size_t sound_count() const { return sounds_.size(); }

    // Adds `frames` output frames of every playing buffer and stream to
    // `out` (cleared first); out == nullptr moves them on without sound.
    void render(int16_t* out, uint32_t frames);

  private:
    void skip_sound(MixerSound& s, uint32_t frames);
    std::vector<std::unique_ptr<MixerSound>> sounds_;
    std::vector<std::unique_ptr<MixerStream>> streams_;
    std::vector<int32_t> accum_;
    std::vector<int16_t> stream_buf_;
};
