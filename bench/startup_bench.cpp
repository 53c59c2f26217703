// Start-up as a player or a script meets it, each a real process started
// from exec and waited for: the program headless up to its title (the opening
// film skipped by a key at once) and out again; in a window with the real
// clock, the wait between the opening film's end and the title; the runner's
// start (a game of one day); and whole runner games of the default options,
// as game days a second of the whole process, start-up included. KARVO_BENCH_PROGRAM and
// KARVO_BENCH_RUNNER name other builds' programs to time instead.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A scratch directory for the program's settings and saves, and the script.
const fs::path& scratch() {
    static const fs::path dir = [] {
        fs::path d =
            fs::temp_directory_path() / ("karvo_startup_bench_" + std::to_string(getpid()));
        fs::create_directories(d);
        // The film is skipped by the first key; the title then waits for
        // input the script no longer has, and the window closes.
        std::ofstream(d / "skip_film.txt") << "0 keydown 0x20\n1 keyup 0x20\n";
        // The film plays to its end; the title is up well before the close.
        std::ofstream(d / "whole_film.txt") << "8000 close\n";
        return d;
    }();
    return dir;
}

// The environment of a headless run: ours, with the game's own variables set.
std::vector<std::string> headless_env(bool script) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("KARVO_", 0) == 0 || v.rfind("SDL_", 0) == 0) continue;
        env.push_back(v);
    }
    env.push_back("KARVO_HEADLESS=1");
    env.push_back("SDL_VIDEODRIVER=dummy");
    env.push_back("SDL_AUDIODRIVER=dummy");
    env.push_back(std::string("KARVO_DATA=") + KARVO_BENCH_DATA_DIR);
    env.push_back("KARVO_HOME=" + scratch().string());
    if (script) env.push_back("KARVO_SCRIPT=" + (scratch() / "skip_film.txt").string());
    return env;
}

// The programs started: the build's own, or others named by
// KARVO_BENCH_PROGRAM and KARVO_BENCH_RUNNER (to compare two builds).
std::string program(const char* variable, const char* built) {
    const char* other = std::getenv(variable);
    return other && *other ? other : built;
}

// In a window on SDL's offscreen driver, with the real clock and the screen
// trace on standard error.
std::vector<std::string> windowed_env() {
    std::vector<std::string> env;
    for (const std::string& v : headless_env(false))
        if (v.rfind("KARVO_HEADLESS=", 0) != 0 && v.rfind("SDL_VIDEODRIVER=", 0) != 0)
            env.push_back(v);
    env.push_back("KARVO_HEADLESS=0");
    env.push_back("KARVO_WINDOWED=1");
    env.push_back("SDL_VIDEODRIVER=offscreen");
    env.push_back("KARVO_TRACE_SCREENS=1");
    env.push_back("KARVO_SCRIPT=" + (scratch() / "whole_film.txt").string());
    return env;
}

struct Run {
    int status = -1;    // exit status, -1 when it did not exit normally
    double ms = 0;      // from the spawn to the end of the wait
    std::string output; // what it printed on its standard output (or error)
    std::vector<std::pair<double, std::string>> lines; // each line as it came, ms from the spawn
};

// Starts a program with its arguments and environment and waits for it.
Run run(const std::vector<std::string>& args, const std::vector<std::string>& env,
        bool standard_error = false) {
    std::vector<char*> argv, envp;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    int out[2];
    Run r;
    if (pipe(out) != 0) return r;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1],
                                     standard_error ? STDERR_FILENO : STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, standard_error ? STDOUT_FILENO : STDERR_FILENO,
                                     "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return r;
    }
    char buf[65536];
    ssize_t n;
    std::string line;
    while ((n = read(out[0], buf, sizeof buf)) > 0) {
        const double at =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
        r.output.append(buf, static_cast<size_t>(n));
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] != '\n') {
                line += buf[i];
                continue;
            }
            r.lines.emplace_back(at, line);
            line.clear();
        }
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Times whole runs with manual timing: the benchmark's figure is the run's
// own wall time.
void BM_ProgramToTitleAndOut(benchmark::State& state) {
    const std::vector<std::string> env = headless_env(true);
    for (auto _ : state) {
        const Run r = run({program("KARVO_BENCH_PROGRAM", KARVO_PROGRAM)}, env);
        if (r.status != 0) {
            state.SkipWithError("the program did not start and close cleanly");
            return;
        }
        state.SetIterationTime(r.ms / 1000.0);
    }
}

// The time from the film's screen to the title's, the film played whole
// (6 s), less the film's length: what the title keeps the player waiting.
void BM_WindowFilmEndToTitle(benchmark::State& state) {
    constexpr double FILM_MS = 6000;
    const std::vector<std::string> env = windowed_env();
    for (auto _ : state) {
        const Run r = run({program("KARVO_BENCH_PROGRAM", KARVO_PROGRAM)}, env, true);
        double film = -1, title = -1;
        for (const auto& [at, text] : r.lines) {
            if (film < 0 && text.find("screen avi_wndproc") != std::string::npos) film = at;
            if (title < 0 && text.find("screen title_wndproc") != std::string::npos) title = at;
        }
        if (r.status != 0 || film < 0 || title < film + FILM_MS) {
            state.SkipWithError("the program showed no whole film before its title");
            return;
        }
        state.SetIterationTime((title - film - FILM_MS) / 1000.0);
    }
}

void BM_RunnerStartOneDayGame(benchmark::State& state) {
    const std::vector<std::string> env = headless_env(false);
    for (auto _ : state) {
        const Run r =
            run({program("KARVO_BENCH_RUNNER", KARVO_RUNNER_PROGRAM), "1", "0", "2", "1"}, env);
        if (r.status != 0 || r.output.find("end code=") == std::string::npos) {
            state.SkipWithError("the runner did not play its day");
            return;
        }
        state.SetIterationTime(r.ms / 1000.0);
    }
}

// Default games of 4 players on the four maps (seeds 1, 2, ...; they end at
// the first bankruptcy or after three years), whole processes.
void BM_RunnerDefaultGamesWholeProcess(benchmark::State& state) {
    const std::vector<std::string> env = headless_env(false);
    int64_t days = 0;
    int seed = 1;
    for (auto _ : state) {
        const std::string s = std::to_string(seed), map = std::to_string(seed % 4);
        ++seed;
        const Run r =
            run({program("KARVO_BENCH_RUNNER", KARVO_RUNNER_PROGRAM), s, map, "4", "1095"}, env);
        const size_t at = r.output.rfind(" days=");
        if (r.status != 0 || at == std::string::npos) {
            state.SkipWithError("a runner game did not end cleanly");
            return;
        }
        days += std::atol(r.output.c_str() + at + 6);
        state.SetIterationTime(r.ms / 1000.0);
    }
    state.counters["days_per_second"] =
        benchmark::Counter(static_cast<double>(days), benchmark::Counter::kIsRate);
    state.counters["days_per_game"] =
        benchmark::Counter(static_cast<double>(days), benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_ProgramToTitleAndOut)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_WindowFilmEndToTitle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RunnerStartOneDayGame)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_RunnerDefaultGamesWholeProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
