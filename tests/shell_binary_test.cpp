// Runs the real program on the dummy drivers with a scripted session.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/runner_process.h"

namespace fs = std::filesystem;

namespace {

// The build writes the program next to its data directory.
fs::path program() {
    return fs::path(KARVO_TEST_DATA_DIR).parent_path() / "karvo";
}

struct ProgramRun {
    int exit_code = -1;
    std::string output;
};

// Headless: the dummy drivers and the virtual clock. Otherwise the real clock
// and SDL's offscreen driver, which renders in memory like a display.
ProgramRun run_with_script(const std::string& script, bool headless = true) {
    fs::path dir = fs::temp_directory_path() / ("karvo_binary_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path script_file = dir / "session.txt";
    std::ofstream(script_file) << script;
    fs::path out_file = dir / "output.txt";
    std::string env = headless
                          ? "KARVO_HEADLESS=1 SDL_VIDEODRIVER=dummy"
                          : "KARVO_HEADLESS=0 SDL_VIDEODRIVER=offscreen SDL_RENDER_DRIVER=software"
                            // The offscreen driver's graphics libraries keep
                            // allocations of their own past exit; the headless
                            // runs check the program's own memory.
                            " ASAN_OPTIONS=detect_leaks=0";
    std::string cmd = "cd '" + dir.string() + "' && env " + env +
                      " SDL_AUDIODRIVER=dummy KARVO_SCRIPT='" + script_file.string() + "' '" +
                      program().string() + "' >'" + out_file.string() + "' 2>&1";
    int status = std::system(cmd.c_str());
    ProgramRun r;
    if (WIFEXITED(status)) r.exit_code = WEXITSTATUS(status);
    std::ifstream in(out_file);
    r.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove_all(dir);
    return r;
}

TEST(Program, StartsRunsItsMainLoopAndExitsCleanlyWhenAsked) {
    ASSERT_TRUE(fs::exists(program())) << program();
    ProgramRun r = run_with_script("100 move 320 240\n"
                                   "150 keydown 0x20\n"
                                   "160 keyup 0x20\n"
                                   "200 activate 0\n"
                                   "300 activate 1\n"
                                   "400 close\n");
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_EQ(r.output.find("ERROR"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
}

TEST(Program, RunsWithTheRealClockAndARenderingDriver) {
    for (const char* windowed : {"0", "1"}) {
        setenv("KARVO_WINDOWED", windowed, 1);
        ProgramRun r = run_with_script("50 move 100 100\n120 ldown\n130 lup\n200 close\n", false);
        EXPECT_EQ(r.exit_code, 0) << windowed << r.output;
    }
    unsetenv("KARVO_WINDOWED");
}

TEST(Program, AScriptThatHasRunOutEndsTheRun) {
    ProgramRun r = run_with_script("50 nothing\n");
    EXPECT_EQ(r.exit_code, 0) << r.output;
}

TEST(Program, AnUnreadableScriptIsRefused) {
    ProgramRun r = run_with_script("10 dance\n");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.output.find("script line 1"), std::string::npos) << r.output;
}

TEST(Program, AScriptedSessionPastFourHoursOfGameTimeClosesSayingSoOnce) {
    ProgramRun r = run_with_script("20000000 nothing\n");
    EXPECT_EQ(r.exit_code, 0) << r.output;
    const std::string line = "scripted run passed 14400000 ms of game time; closing";
    const size_t first = r.output.find(line);
    ASSERT_NE(first, std::string::npos) << r.output;
    EXPECT_EQ(r.output.find(line, first + 1), std::string::npos) << r.output;
}

TEST(Program, AMissingScriptIsRefusedNamingWhereItWasLookedFor) {
    const std::string cmd = "cd /tmp && env KARVO_HEADLESS=1 SDL_VIDEODRIVER=dummy "
                            "SDL_AUDIODRIVER=dummy KARVO_SCRIPT=no_such_session.txt '" +
                            program().string() + "' 2>&1";
    FILE* f = popen(cmd.c_str(), "r");
    ASSERT_NE(f, nullptr);
    std::string out;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    const int status = pclose(f);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << out;
    EXPECT_NE(out.find("cannot open script no_such_session.txt in the working directory (/tmp)"),
              std::string::npos)
        << out;
}

TEST(Program, SigintOrSigtermEndsItPromptlyAfterItsShutdown) {
    // No script and the real clock: the program waits at the title for ever.
    for (int sig : {SIGINT, SIGTERM}) {
        const RunOutput r = run_and_signal({program().string()},
                                           {"KARVO_HEADLESS=0", "SDL_VIDEODRIVER=offscreen",
                                            "SDL_RENDER_DRIVER=software", "SDL_AUDIODRIVER=dummy",
                                            "ASAN_OPTIONS=detect_leaks=0", "KARVO_SCRIPT="},
                                           false, 300, sig);
        EXPECT_EQ(r.status, 128 + sig) << r.out;
    }
}

} // namespace
