// Game days a second of four computer players with every rule in play
// (starting money 300000 so that games run long, land rights lapsing after
// one year's term, the animations option off and on), three-year games on the
// four stand-in maps, the game's own time apart from its set-up.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "runner_game.h"

namespace {

void count_day(void* context) {
    ++*static_cast<int64_t*>(context);
}

void BM_InGameDaysFourPlayers(benchmark::State& state) {
    setenv("KARVO_DATA", KARVO_BENCH_DATA_DIR, 0);
    RunnerOptions options;
    options.players = 4;
    options.days = 1095;
    options.money = 0;
    options.land_term = 3;
    options.animations = state.range(0) != 0;
    int64_t days = 0;
    double setup_ms = 0;
    uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        options.seed = seed;
        options.map = static_cast<int>(seed % 4);
        ++seed;
        std::string error;
        const auto t0 = std::chrono::steady_clock::now();
        if (!runner_setup(options, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        setup_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count();
        state.ResumeTiming();
        RunnerResult result = runner_play(options, count_day, &days);
        benchmark::DoNotOptimize(result);
    }
    runner_close();
    state.counters["days_per_second"] =
        benchmark::Counter(static_cast<double>(days), benchmark::Counter::kIsRate);
    state.counters["days_per_game"] =
        benchmark::Counter(static_cast<double>(days), benchmark::Counter::kAvgIterations);
    state.counters["setup_ms"] = setup_ms / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(BM_InGameDaysFourPlayers)
    ->ArgName("animations")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(24)
    ->Unit(benchmark::kMillisecond);
