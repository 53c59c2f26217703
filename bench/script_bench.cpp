// Loading a scripted session of 100,000 timed clicks and moves, written in
// time order and out of it (goal: both well under a second, the unsorted
// one no slower than a sort).
#include "platform/script.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

std::string session(bool sorted) {
    std::string text;
    uint32_t seed = 12345;
    for (uint32_t i = 0; i < 100000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t t = sorted ? i * 7 : (seed >> 8) % 700000;
        text += std::to_string(t) + (i % 2 ? " ldown 300 200\n" : " move 120 460\n");
    }
    return text;
}

void load(benchmark::State& state, bool sorted) {
    const std::string text = session(sorted);
    for (auto _ : state) {
        plat_script_reset();
        std::string error;
        benchmark::DoNotOptimize(plat_script_parse(text, &error));
    }
    plat_script_reset();
    state.SetLabel("one iteration = 100,000 events");
}

void BM_ScriptLoadSorted(benchmark::State& state) {
    load(state, true);
}
void BM_ScriptLoadUnsorted(benchmark::State& state) {
    load(state, false);
}
BENCHMARK(BM_ScriptLoadSorted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptLoadUnsorted)->Unit(benchmark::kMillisecond);

} // namespace
