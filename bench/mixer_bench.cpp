// The mixer's cost per second of audio with eight looping buffers of mixed
// formats playing at once, rendered in the device's 1024-frame blocks (goal:
// under 5 ms a second). A second case adds a stream, as music plays.
#include "platform/mixer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

void add_voices(Mixer& m) {
    const MixerFormat formats[8] = {{1, 22050, 8}, {1, 11025, 8},  {1, 22050, 8},  {2, 44100, 16},
                                    {1, 8000, 8},  {2, 22050, 16}, {1, 48000, 16}, {2, 32000, 8}};
    for (int v = 0; v < 8; ++v) {
        std::vector<uint8_t> data(20000 + 1000 * v);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * (v + 3));
        MixerSound* s = m.create_sound(formats[v], data.data(), static_cast<uint32_t>(data.size()));
        s->playing = s->looping = true;
        s->gain = mixer_gain_from_hundredths_db(-500 * (v % 3));
    }
}

void fill_stream(void*, int16_t* out, uint32_t frames) {
    if (!out) return;
    for (uint32_t i = 0; i < 2 * frames; ++i)
        out[i] = static_cast<int16_t>(i * 13);
}

void render_one_second(benchmark::State& state, Mixer& m) {
    std::vector<int16_t> block(2 * 1024);
    for (auto _ : state) {
        for (uint32_t done = 0; done < MIXER_RATE; done += 1024) {
            m.render(block.data(), 1024);
            benchmark::DoNotOptimize(block.data());
        }
    }
    state.SetLabel("one iteration = 1 s of 44100 Hz stereo");
}

void BM_MixEightVoicesOneSecond(benchmark::State& state) {
    Mixer m;
    add_voices(m);
    render_one_second(state, m);
}
BENCHMARK(BM_MixEightVoicesOneSecond)->Unit(benchmark::kMillisecond);

void BM_MixEightVoicesAndAStreamOneSecond(benchmark::State& state) {
    Mixer m;
    add_voices(m);
    m.create_stream(fill_stream, nullptr)->playing = true;
    render_one_second(state, m);
}
BENCHMARK(BM_MixEightVoicesAndAStreamOneSecond)->Unit(benchmark::kMillisecond);

} // namespace
