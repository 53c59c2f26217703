// A game that goes through a save and a load plays on exactly as one that
// only runs the load's own steps: the save holds the whole game.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/record_io.h"
#include "shell/save.h"
#include "support/runner_process.h"

namespace fs = std::filesystem;

TEST(SaveRoundTrip, SavingAndLoadingPlaysOnAsTheLoadsOwnStepsAlone) {
    struct Case {
        const char* game;
        int day;
    } cases[] = {
        {"1 0 2 40", 7},
        {"2 1 3 40", 12},
        {"3 2 4 40", 25},
        {"4 3 4 60", 33},
        {"5 1 2 40 --animations", 9},
        {"6 3 3 40 --animations --money 0", 18},
    };
    for (const Case& c : cases) {
        const std::string day = std::to_string(c.day);
        const RunOutput through_save = run_runner(std::string(c.game) + " --roundtrip-at " + day);
        const RunOutput own_steps = run_runner(std::string(c.game) + " --reload-steps-at " + day);
        EXPECT_EQ(through_save.status, 0) << c.game;
        EXPECT_EQ(own_steps.status, 0) << c.game;
        EXPECT_EQ(through_save.out.find("invariant broken"), std::string::npos) << c.game;
        EXPECT_NE(through_save.out.find("\nday " + std::to_string(c.day + 1) + " "),
                  std::string::npos)
            << c.game << " did not play on";
        EXPECT_EQ(through_save.out, own_steps.out) << c.game;
    }
}

TEST(SaveRoundTrip, TheRunnerAutosavesOnlyWhenAskedIntoItsSaveDirectory) {
    const fs::path dir = fs::temp_directory_path() / ("karvo_autosave_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "on");
    fs::create_directories(dir / "off");
    const RunOutput off = run_runner("4 0 2 6 --save-dir " + (dir / "off").string());
    const RunOutput on = run_runner("4 0 2 6 --autosave --save-dir " + (dir / "on").string());
    EXPECT_EQ(off.status, 0);
    EXPECT_EQ(on.status, 0);
    EXPECT_TRUE(fs::is_empty(dir / "off"));
    // The autosave changes nothing of the game.
    EXPECT_EQ(on.out, off.out);
    std::ifstream in(dir / "on" / "SAVE0.DAT", std::ios::binary);
    const std::vector<uint8_t> image(std::istreambuf_iterator<char>(in), {});
    std::string error;
    ASSERT_TRUE(save_image_check(image.data(), image.size(), &error)) << error;
    // Written after each new day; the day that ended the game wrote none.
    EXPECT_NE(on.out.find("days=6"), std::string::npos);
    EXPECT_EQ(static_cast<int32_t>(le_get32(image.data() + SAVE_GAME_VALUES + 28)), 5);
    fs::remove_all(dir);
}
