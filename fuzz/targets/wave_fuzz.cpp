// Any byte string as a WAVE entry: reading must stay inside the image, and
// a sound made from what it finds must play (once, then looped) without
// reading past its samples.
#include "engine/sound_wave.h"
#include "platform/mixer.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    // A copy of exactly `size` bytes, so that any read past it is caught.
    std::vector<uint8_t> image(data, data + size);
    WaveData w{};
    if (!wave_parse(image.data(), static_cast<uint32_t>(image.size()), &w)) return 0;
    Mixer mixer;
    MixerSound* s = mixer.create_sound(w.format, w.samples, w.bytes);
    if (!s) return 0;
    std::vector<int16_t> out(2 * 512);
    s->playing = true;
    mixer.render(out.data(), 512);
    s->playing = s->looping = true;
    s->position = 0;
    s->gain = mixer_gain_from_hundredths_db(-1000);
    mixer.render(out.data(), 512);
    mixer.render(nullptr, 70000);
    mixer.render(out.data(), 512);
    return 0;
}
