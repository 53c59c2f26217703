// The entry of every test program. Tests run headless on SDL's dummy drivers
// with the stand-in data, however they are started (ctest, the binary by
// hand, a test that runs itself as a child): each variable is set here
// unless the caller already chose it.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("KARVO_HEADLESS", "1", 0);
    setenv("KARVO_DATA", KARVO_TEST_DATA_DIR, 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
