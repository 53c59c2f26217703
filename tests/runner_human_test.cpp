// The runner's human session: a scripted headless run of the board screen
// writes the screen as a BMP; without the human's flags the runner's printout
// is the computer-only game's, line for line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runner_game.h"

namespace {

struct RunResult {
    int status = -1;
    std::string out;
};

RunResult run_runner(const std::string& args) {
    RunResult r;
    const std::string command = std::string(KARVO_RUNNER_PROGRAM) + " " + args + " 2>/dev/null";
    std::FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int w = pclose(p);
    r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    return r;
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::string day_lines;
void collect_day(void*) {
    day_lines += runner_day_line() + "\n";
}

} // namespace

TEST(RunnerHuman, AScriptedSessionWritesTheBoardScreenAsAShot) {
    const std::string script = "human_session.txt";
    {
        std::ofstream s(script);
        s << "# let the board come up, then close\n3000 nothing\n6000 close\n";
    }
    for (int map = 0; map < 4; ++map) {
        SCOPED_TRACE(map);
        const std::string shot = "human_map" + std::to_string(map) + ".bmp";
        std::remove(shot.c_str());
        const RunResult r = run_runner("7 " + std::to_string(map) + " 4 30 --human --script " +
                                       script + " --shot " + shot);
        ASSERT_EQ(r.status, 0);
        const std::vector<uint8_t> bmp = read_file(shot);
        ASSERT_GE(bmp.size(), 54u + 640u * 480u * 3u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(le32(bmp, 18), 640u);
        EXPECT_EQ(le32(bmp, 22), 480u);
        EXPECT_EQ(bmp[28], 24);
        // The board view, (0, 40)-(440, 480): many colours, not one fill.
        // Rows are stored bottom up.
        std::vector<bool> seen(1 << 15, false);
        int colours = 0;
        for (int y = 40; y < 480; y += 2)
            for (int x = 0; x < 440; x += 2) {
                const size_t at = 54 + static_cast<size_t>(479 - y) * 640 * 3 + x * 3;
                const int c = (bmp[at] >> 3) | (bmp[at + 1] >> 3) << 5 | (bmp[at + 2] >> 3) << 10;
                if (!seen[c]) ++colours, seen[c] = true;
            }
        EXPECT_GE(colours, 8);
    }
}

TEST(RunnerHuman, AScriptOrAShotWithoutTheHumanIsABadArgument) {
    EXPECT_EQ(run_runner("7 0 2 5 --shot x.bmp").status, 2);
    EXPECT_EQ(run_runner("7 0 2 5 --script x.txt").status, 2);
    EXPECT_EQ(run_runner("7 0 2 5 --human --script").status, 2);
    EXPECT_EQ(run_runner("7 0 2 5 --human --messages").status, 2);
}

TEST(RunnerHuman, AMissingScriptFailsToStart) {
    EXPECT_EQ(run_runner("7 0 2 5 --human --script no_such_script.txt").status, 1);
}

TEST(RunnerHuman, WithoutTheFlagsTheRunnerPrintsTheComputerOnlyGame) {
    const RunResult r = run_runner("11 2 3 20");
    ASSERT_EQ(r.status, 0);
    RunnerOptions options;
    options.seed = 11;
    options.map = 2;
    options.players = 3;
    options.days = 20;
    std::string error;
    ASSERT_TRUE(runner_setup(options, &error)) << error;
    day_lines.clear();
    const RunnerResult result = runner_play(options, collect_day, nullptr);
    runner_close();
    EXPECT_EQ(r.out, day_lines + runner_final_line(result) + "\n");
}
