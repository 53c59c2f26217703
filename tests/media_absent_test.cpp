// A program built without the media layer (the runner, the rule tests):
// pieces keep their lengths and end with their notification, silently, and a
// film is not opened, with the reason told.
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/media.h"
#include "platform/midi.h"
#include "platform/queue.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
const fs::path data_dir = KARVO_TEST_DATA_DIR;

class MediaAbsent : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("KARVO_HEADLESS", "1", 1);
        unsetenv("KARVO_SCRIPT");
        ASSERT_TRUE(plat_init());
        plat_set_data_dir(data_dir.string());
    }
    void TearDown() override { plat_shutdown(); }
};

TEST_F(MediaAbsent, APieceEndsWithItsNotificationAtItsLengthAndRendersNothing) {
    ASSERT_FALSE(plat_media_present());
    std::unique_ptr<MidiSong> song = midi_load((data_dir / "MIDI03.MID").string());
    ASSERT_NE(song, nullptr);
    ASSERT_GT(song->length_ms, 0u);
    ASSERT_EQ(mci_send("open sequencer!A:\\MIDI03.MID alias mid"), 0u);
    const uint32_t start = plat_tick_count();
    ASSERT_EQ(mci_send("play mid from 0 notify"), 0u);
    int16_t out[64] = {1, 2, 3};
    mci_mix(out, 32);
    EXPECT_EQ(out[0], 1); // nothing added to what was there
    EXPECT_EQ(out[2], 3);
    uint32_t notified = 0;
    while (!notified && plat_tick_count() - start <= song->length_ms + 1000) {
        PlatMessage m;
        if (plat_peek_message(&m, true)) {
            if (m.message == MM_MCINOTIFY && m.wparam == MCI_NOTIFY_SUCCESSFUL)
                notified = plat_tick_count();
            continue;
        }
        plat_idle(100);
    }
    EXPECT_EQ(notified - start, song->length_ms);
    mci_close_all();
}

TEST_F(MediaAbsent, AFilmIsNotOpenedAndTheReasonSaysWhy) {
    ASSERT_TRUE(fs::exists(data_dir / "FLYUS.AVI"));
    EXPECT_EQ(mci_send("open avivideo!A:\\FLYUS.AVI alias vfw"), MCI_ERR_FILE);
    const PlatOpenResult result = mci_last_open_result();
    EXPECT_TRUE(result.found);
    EXPECT_NE(result.problem.find("media layer"), std::string::npos) << result.problem;
}

} // namespace
