// Game days per second of a four-player computer game on each stand-in map,
// with the animations option off and on, and how busy the bank was.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

// The runner's game driver (linked in by the runner's build): the benchmark
// plays exactly the games the runner plays.
#include "finance/bank.h"
#include "runner_game.h"

namespace {

void count_day(void* context) {
    ++*static_cast<int64_t*>(context);
}

void BM_ComputerGameDays(benchmark::State& state) {
    setenv("KARVO_DATA", KARVO_BENCH_DATA_DIR, 0);
    RunnerOptions options;
    options.map = static_cast<int>(state.range(0));
    options.animations = state.range(1) != 0;
    options.players = 4;
    options.days = 400;
    int64_t days = 0;
    int64_t bank_operations = 0;
    uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        options.seed = seed++;
        std::string error;
        if (!runner_setup(options, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.ResumeTiming();
        RunnerResult result = runner_play(options, count_day, &days);
        benchmark::DoNotOptimize(result);
        bank_operations += bank_audit().operations; // kept until the next set-up
    }
    runner_close();
    state.counters["days_per_second"] =
        benchmark::Counter(static_cast<double>(days), benchmark::Counter::kIsRate);
    state.counters["bank_ops_per_day"] =
        days > 0 ? static_cast<double>(bank_operations) / static_cast<double>(days) : 0.0;
}

} // namespace

BENCHMARK(BM_ComputerGameDays)
    ->ArgNames({"map", "animations"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
