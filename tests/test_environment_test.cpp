// Every test program sets up the headless environment it needs itself, so
// that ctest, or a test program started by hand, passes from a bare shell.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

TEST(TestEnvironment, TestsPassStartedWithNoneOfTheHeadlessSettings) {
    // Tests that need the dummy video and sound drivers, the virtual clock
    // and the stand-in data, started with an empty environment.
    const char* runs[] = {
        "./sound_test --gtest_filter=SoundRealClock.*:SoundTest.*",
        "./shell_app_test --gtest_filter=App.StartsUpAndShutsDownInOrder",
        "./map_load_test",
        // The real program with a scripted human: a real clock here would
        // play the session in real time.
        "./play_through_test",
    };
    for (const char* run : runs) {
        SCOPED_TRACE(run);
        const std::string cmd =
            std::string("env -i PATH=/usr/bin:/bin timeout 300 ") + run + " 2>&1";
        FILE* f = popen(cmd.c_str(), "r");
        ASSERT_NE(f, nullptr);
        std::string out;
        char buf[1024];
        size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, got);
        const int status = pclose(f);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
        EXPECT_NE(out.find("[  PASSED  ]"), std::string::npos) << out;
    }
}

} // namespace
