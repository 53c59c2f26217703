// The entry of every test program. Tests run headless on SDL's dummy drivers
// with the stand-in data, however they are started (ctest, the binary by
// hand, a test that runs itself as a child): each variable is set here
// unless the caller already chose it. Settings and saves go to a fresh
// temporary home, removed at the end, and games start on 1 January 1998.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {
std::string temporary_home;
void remove_temporary_home() {
    std::error_code ignored;
    if (!temporary_home.empty()) std::filesystem::remove_all(temporary_home, ignored);
}
} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("KARVO_HEADLESS", "1", 0);
    setenv("KARVO_DATA", KARVO_TEST_DATA_DIR, 0);
    setenv("KARVO_TODAY", "1998-01-01", 0);
    if (!std::getenv("KARVO_HOME")) {
        std::string pattern =
            std::filesystem::temp_directory_path().string() + "/karvo-test-XXXXXX";
        if (mkdtemp(pattern.data())) {
            temporary_home = pattern;
            std::atexit(remove_temporary_home);
            setenv("KARVO_HOME", temporary_home.c_str(), 1);
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
