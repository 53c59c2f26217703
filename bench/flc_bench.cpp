// Decoding one 440 x 440 FLC frame: a byte-run frame (the first frame of an
// animation) and a delta frame (a moving figure over a still picture), beside
// memcpy of the frame's 16-bit pixels. The ratios benchmark times all three
// in one pass and reports the decode time per frame and decode/memcpy.
#include "engine/flc_decode.h"
#include "engine/image.h"
#include "flc_writer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr int SIDE = 440;

// A picture of bands, blocks and noise, and the same with a textured figure
// moved (every pixel of the figure changes).
std::vector<uint8_t> picture(int shift) {
    std::vector<uint8_t> p(SIDE * SIDE);
    uint32_t seed = 11;
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x) {
            seed = seed * 1103515245u + 12345u;
            uint8_t v = static_cast<uint8_t>(y / 20 + ((x / 30) % 3) * 40);
            if ((seed >> 16) % 7 == 0) v = static_cast<uint8_t>(seed >> 24);
            p[static_cast<size_t>(y) * SIDE + x] = v;
        }
    for (int y = 100; y < 340; ++y)
        for (int x = 80 + shift; x < 280 + shift; ++x)
            p[static_cast<size_t>(y) * SIDE + x] = static_cast<uint8_t>(200 + (x + y + shift) % 30);
    return p;
}

struct Fixture {
    FlcBytes anim;
    FlcHeader header{};
    uint32_t second = 0; // offset of the delta frame
    std::vector<uint16_t> target = std::vector<uint16_t>(SIDE * SIDE);
    std::vector<uint16_t> source = std::vector<uint16_t>(SIDE * SIDE, 0x1234);
    uint16_t palette[256] = {};
    FlcCanvas canvas;
    Fixture() {
        std::vector<FlcRgb> pal(256);
        for (int i = 0; i < 256; ++i)
            pal[static_cast<size_t>(i)] =
                FlcRgb{static_cast<uint8_t>(i), static_cast<uint8_t>(i / 2),
                       static_cast<uint8_t>(255 - i)};
        anim = flc_encode(SIDE, SIDE, 50, pal, {picture(0), picture(12)});
        flc_read_header(anim.data(), anim.size(), &header);
        canvas.pixels = target.data();
        canvas.pitch = canvas.width = canvas.height = SIDE;
        second = FLC_FIRST_CHUNK;
        flc_decode_frame(anim.data(), anim.size(), &second, header, palette, canvas);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void decode_byte_run() {
    Fixture& f = fixture();
    uint32_t at = FLC_FIRST_CHUNK;
    benchmark::DoNotOptimize(
        flc_decode_frame(f.anim.data(), f.anim.size(), &at, f.header, f.palette, f.canvas));
    benchmark::ClobberMemory();
}
void decode_delta() {
    Fixture& f = fixture();
    uint32_t at = f.second;
    benchmark::DoNotOptimize(
        flc_decode_frame(f.anim.data(), f.anim.size(), &at, f.header, f.palette, f.canvas));
    benchmark::ClobberMemory();
}
void copy_frame() {
    Fixture& f = fixture();
    std::memcpy(f.target.data(), f.source.data(), f.target.size() * 2);
    benchmark::ClobberMemory();
}

template <void (*Run)()> void BM_frame(benchmark::State& state) {
    for (auto _ : state)
        Run();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * SIDE * SIDE * 2);
}
void BM_flc_byte_run_frame(benchmark::State& state) {
    BM_frame<decode_byte_run>(state);
}
void BM_flc_delta_frame(benchmark::State& state) {
    BM_frame<decode_delta>(state);
}
void BM_frame_memcpy(benchmark::State& state) {
    BM_frame<copy_frame>(state);
}

// Seconds for one run, the best of many.
double best(void (*run)()) {
    double b = 1e30;
    for (int rep = 0; rep < 50; ++rep) {
        auto t0 = std::chrono::steady_clock::now();
        run();
        b = std::min(b,
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return b;
}

void BM_flc_ratios(benchmark::State& state) {
    double run = 0, delta = 0, copy = 0;
    for (auto _ : state) {
        run = best(decode_byte_run);
        delta = best(decode_delta);
        copy = best(copy_frame);
    }
    state.counters["byte_run_ms"] = run * 1e3;
    state.counters["delta_ms"] = delta * 1e3;
    state.counters["memcpy_ms"] = copy * 1e3;
    state.counters["byte_run_per_memcpy"] = run / copy;
    state.counters["delta_per_memcpy"] = delta / copy;
}

} // namespace

BENCHMARK(BM_flc_byte_run_frame);
BENCHMARK(BM_flc_delta_frame);
BENCHMARK(BM_frame_memcpy);
BENCHMARK(BM_flc_ratios)->Iterations(1)->Unit(benchmark::kMillisecond);
