// Music by the command log: the CD or MIDI choice by the disc's tracks, the
// music level, event tunes over a background and back, repeats at each end,
// the resume stack's bounds and the volume tables.
#include "engine/data_report.h"
#include "engine/film.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "shell/app.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;
namespace fs = std::filesystem;

class Music : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("KARVO_HEADLESS", "1", 1);
        unsetenv("KARVO_SCRIPT");
        ASSERT_TRUE(plat_init());
        plat_set_data_dir(KARVO_TEST_DATA_DIR);
        music_reset();
        avi_playing = 0;
        shown_clear();
        back_surface = plat_surface_create(640, 480, false); // music plays with a display
        ASSERT_NE(back_surface, nullptr);
    }
    void TearDown() override {
        music_reset();
        back_surface = nullptr;
        plat_shutdown();
    }

    // The commands sent from here on.
    void mark() { from_ = mci_log().size(); }
    Log sent() const { return Log(mci_log().begin() + static_cast<long>(from_), mci_log().end()); }
    bool sent_any(const std::string& prefix) const {
        Log s = sent();
        return std::any_of(s.begin(), s.end(),
                           [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    }
    static std::string status(const char* command) {
        char buf[32] = "";
        mci_send(command, buf, sizeof buf);
        return buf;
    }
    // Lets virtual time pass until the piece's end is taken from the queue.
    static bool wait_end(uint32_t limit_ms) {
        uint32_t end = plat_tick_count() + limit_ms;
        while (static_cast<int32_t>(plat_tick_count() - end) < 0) {
            PlatMessage m;
            if (plat_peek_message(&m, true)) {
                if (m.message == MM_MCINOTIFY && m.wparam == MCI_NOTIFY_SUCCESSFUL) return true;
                continue;
            }
            uint32_t before = plat_tick_count();
            plat_idle(end - before);
            if (plat_tick_count() == before) return false;
        }
        return false;
    }
    size_t from_ = 0;
};

TEST_F(Music, OnlyADiscOfNineTracksGivesCdMode) {
    struct Case {
        int tracks;
        uint8_t cd_mode;
        const char* first_play;
    };
    const Case cases[] = {
        {-1, 0, "play mid from 0 notify"},
        {8, 0, "play mid from 0 notify"},
        {9, 1, "play cdtrack from 2 notify"},
        {10, 0, "play mid from 0 notify"},
    };
    for (const Case& c : cases) {
        mci_reset();
        music_reset();
        mci_test_set_disc(c.tracks);
        music_init();
        EXPECT_EQ(music_cd_mode, c.cd_mode) << c.tracks;
        EXPECT_EQ(mci_log()[0], "open cdaudio!A: alias cdtrack wait");
        if (c.tracks >= 0) {
            EXPECT_EQ(mci_log()[1], "set cdtrack time format tmsf");
            EXPECT_EQ(mci_log()[2], "status cdtrack number of tracks");
        }
        mark();
        music_next_background(1);
        Log s = sent();
        EXPECT_EQ(std::count(s.begin(), s.end(), c.first_play), 1) << c.tracks;
        EXPECT_EQ(sent_any("open sequencer!A:\\KARV08.MID alias mid"), c.cd_mode == 0) << c.tracks;
        EXPECT_EQ(music_current, 0x80);
        EXPECT_EQ(music_track_number(), 1) << c.tracks;
        EXPECT_EQ(c.cd_mode ? music_cd_on : music_midi_on, 1) << c.tracks;
        mark();
        music_shutdown();
        EXPECT_EQ(sent(), c.cd_mode ? (Log{"stop cdtrack wait", "close cdtrack wait"})
                                    : (Log{"close mid wait"}));
    }
}

TEST_F(Music, AtLevelZeroABackgroundIsChosenButNothingPlays) {
    music_level = 0;
    music_init();
    EXPECT_EQ(plat_midi_out_volume(), 0u);
    mark();
    music_next_background(3);
    EXPECT_EQ(music_background, 2);
    EXPECT_EQ(music_current, 0x82);
    EXPECT_EQ(music_track_number(), 0);
    EXPECT_FALSE(sent_any("open") || sent_any("play"));
    EXPECT_EQ(music_play_event(2), 0);
    music_resume();
    EXPECT_FALSE(sent_any("open") || sent_any("play"));
    EXPECT_EQ(music_current, 2);
}

TEST_F(Music, AnEventTuneOverABackgroundResumesItAtTheSavedPosition) {
    music_init();
    music_next_background(1);
    ASSERT_EQ(status("status mid mode"), "playing");
    plat_clock_advance_to(plat_tick_count() + 5000);
    mark();
    EXPECT_EQ(music_play_event(2), 1);
    EXPECT_EQ(music_stack_depth, 1);
    EXPECT_EQ(music_stack_ids[0], 0x80);
    EXPECT_EQ(music_stack_positions[0], 5000u);
    EXPECT_EQ(sent(), (Log{"status mid mode", "status mid position", "close mid wait",
                           "open sequencer!MIDI03.MID alias mid",
                           "open sequencer!A:\\MIDI03.MID alias mid", "play mid from 0 notify"}));
    EXPECT_EQ(music_current, 2);
    EXPECT_EQ(music_track_number(), 0);
    plat_clock_advance_to(plat_tick_count() + 1000);
    mark();
    music_resume();
    EXPECT_EQ(sent(),
              (Log{"close mid wait", "open sequencer!KARV08.MID alias mid",
                   "open sequencer!A:\\KARV08.MID alias mid", "play mid from 5000 notify"}));
    EXPECT_EQ(status("status mid position"), "5000");
    EXPECT_EQ(music_current, 0x80);
    EXPECT_EQ(music_stack_depth, 0);
    EXPECT_EQ(music_track_number(), 1);
    // Bit 15 plays the tune without saving the background.
    EXPECT_EQ(music_play_event(4 | MUSIC_NO_SAVE), 0);
    EXPECT_EQ(music_stack_depth, 0);
    EXPECT_EQ(music_current, 4);
}

TEST_F(Music, AnEventTuneRepeatsAtEachEndAndABackgroundMovesToTheNext) {
    music_init();
    music_play_event(5);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(wait_end(60000)) << round;
        mark();
        music_on_notify();
        EXPECT_EQ(sent(), Log{"play mid from 0 notify"}) << round;
        EXPECT_EQ(status("status mid mode"), "playing");
    }
    music_next_background(8);
    ASSERT_TRUE(wait_end(10 * 60000));
    mark();
    music_on_notify();
    EXPECT_TRUE(sent_any("open sequencer!A:\\KARV08.MID alias mid")); // after the eighth, the first
    EXPECT_EQ(music_current, 0x80);
}

TEST_F(Music, AnEventTuneSavedWhilePlayingResumesAsItselfAtItsPosition) {
    music_init();
    music_play_event(6);
    plat_clock_advance_to(plat_tick_count() + 700);
    music_push();
    ASSERT_EQ(music_stack_depth, 1);
    EXPECT_EQ(music_stack_ids[0], 6);
    EXPECT_EQ(music_stack_positions[0], 700u);
    music_play_event(9 | MUSIC_NO_SAVE);
    mark();
    music_resume();
    EXPECT_TRUE(sent_any("open sequencer!A:\\MIDI07.MID alias mid"));
    EXPECT_FALSE(sent_any("open sequencer!A:\\KARV21.MID")); // not the background of that index
    EXPECT_TRUE(sent_any("play mid from 700 notify"));
    EXPECT_EQ(music_current, 6);
}

TEST_F(Music, ANinthPushAndAResumeWithNothingSavedAreIgnored) {
    music_init();
    for (int i = 0; i < 9; ++i)
        music_push(); // nothing plays: each saves the next background from its start
    EXPECT_EQ(music_stack_depth, MUSIC_STACK_LEVELS);
    EXPECT_EQ(music_background, 0); // advanced eight times, not nine
    EXPECT_EQ(music_stack_ids[0], 0x81);
    EXPECT_EQ(music_stack_ids[7], 0x80);
    for (int i = 0; i < 8; ++i)
        music_resume();
    EXPECT_EQ(music_stack_depth, 0);
    EXPECT_EQ(music_current, 0x81);
    mark();
    music_resume();
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(music_current, 0x81);
    EXPECT_EQ(music_stack_depth, 0);
}

TEST_F(Music, EventTunesBeyondTheTableAndDuringAFilmPlayNothing) {
    music_init();
    mark();
    EXPECT_EQ(music_play_event(16), 0);
    EXPECT_TRUE(sent_any("open sequencer!A:\\MIDI16.MID alias mid"));
    mark();
    for (int n : {17, 18, 0x7FFF, 17 | MUSIC_NO_SAVE})
        EXPECT_EQ(music_play_event(n), 0) << n;
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(music_current, 16);
    avi_playing = 1;
    EXPECT_EQ(music_play_event(3), 0);
    music_resume();
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(shown_count(Shown::Music, 3), 1u); // still told, as every request is
}

TEST_F(Music, WithoutADisplayNothingIsSentButTheRequestIsRecorded) {
    back_surface = nullptr;
    music_init();
    mark();
    music_next_background(2);
    music_play_event(1);
    EXPECT_FALSE(sent_any("open") || sent_any("play"));
    EXPECT_EQ(shown_count(Shown::Music, 1), 1u);
    EXPECT_EQ(shown_count(Shown::Music, 0x81), 1u);
}

// A piece that is a FIFO, damaged or missing leaves the music quiet until
// the next request, as any piece that cannot be opened; each is told once.
TEST_F(Music, APieceThatCannotBeUsedIsToldOnceAndTheMusicGoesOn) {
    const fs::path dir = fs::temp_directory_path() / ("karvo_tunes_" + std::to_string(getpid()));
    fs::create_directories(dir);
    ASSERT_EQ(mkfifo((dir / "KARV08.MID").c_str(), 0600), 0);
    {
        std::ofstream f(dir / "KARV16.MID", std::ios::binary);
        f.write("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\1\0", 22); // its track cut short
    }
    fs::copy_file(fs::path(KARVO_TEST_DATA_DIR) / "KARV18.MID", dir / "KARV18.MID");
    plat_set_data_dir(dir.string());
    data_reports_reset();
    music_init();
    for (int round = 0; round < 2; ++round)
        for (int piece : {1, 2, 3, 4}) {
            music_next_background(piece);
            EXPECT_EQ(music_current, MUSIC_BACKGROUND_BIT | (piece - 1));
            EXPECT_EQ(status("status mid mode") == "playing", piece == 4) << piece;
        }
    const std::string in = " in " + dir.string();
    const std::vector<std::string> expected = {
        "KARV08.MID" + in + " is not a regular file; that music is not heard",
        "KARV16.MID" + in +
            " is damaged: a track runs past the end of the file (cut short); that music is not "
            "heard",
        "cannot open KARV17.MID: not found in the working directory (" +
            fs::current_path().string() + ") nor in the data directory (" + dir.string() +
            "); that music is not heard",
    };
    EXPECT_EQ(data_reports(), expected);
    fs::remove_all(dir);
}

TEST_F(Music, TheVolumeTablesScaleEachChannelOnItsOwn) {
    plat_midi_out_set_volume(0x8000FFFF);
    music_level = 2;
    music_init();
    const uint32_t midi[5] = {0, 0x4CCC9999, 0x6666CCCC, 0x7333E665, 0x8000FFFF};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(music_midi_volumes[i], midi[i]) << i;
    EXPECT_EQ(plat_midi_out_volume(), 0x6666CCCCu);
    music_level = 0;
    music_apply_level();
    EXPECT_EQ(plat_midi_out_volume(), 0u);
    music_shutdown();
    EXPECT_EQ(plat_midi_out_volume(), 0x8000FFFFu);

    // The CD's own volume: per channel when the device sets them apart, else
    // the whole value in tenths.
    struct Case {
        bool separate;
        uint32_t table[5];
    };
    const Case cases[] = {
        {true, {0, 0x06662000, 0x10005000, 0x16667000, 0x2000A000}},
        {false, {0, 0x06668666, 0x10004FFF, 0x1666D665, 0x2000A000}},
    };
    for (const Case& c : cases) {
        mci_reset();
        music_reset();
        mci_test_set_disc(9);
        mci_test_set_aux(true, c.separate, 0x2000A000);
        music_level = 3;
        music_init();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(music_cd_volumes[i], c.table[i]) << c.separate << " " << i;
        EXPECT_EQ(plat_aux_volume(plat_aux_cd_device()), c.table[3]);
        music_shutdown();
        EXPECT_EQ(plat_aux_volume(plat_aux_cd_device()), 0x2000A000u);
    }
}

TEST_F(Music, InCdModeAnEventTuneStopsTheDiscAndResumeContinuesIt) {
    mci_test_set_disc(9, 60000);
    music_init();
    music_next_background(3); // track 4
    plat_clock_advance_to(plat_tick_count() + 70000);
    EXPECT_EQ(music_track_number(), 4); // now on track 5 of the disc
    mark();
    EXPECT_EQ(music_play_event(1), 1);
    EXPECT_EQ(music_stack_depth, 0); // the disc keeps its own place
    EXPECT_EQ(status("status cdtrack mode"), "stopped");
    mark();
    music_resume();
    EXPECT_EQ(sent(),
              (Log{"close mid wait", "play cdtrack notify", "status cdtrack current track"}));
    EXPECT_EQ(music_current, 0x83); // track 5 is background 3
    EXPECT_EQ(music_cd_on, 1);
    mark();
    music_stop();
    EXPECT_EQ(sent(), (Log{"status cdtrack mode", "stop cdtrack wait"}));
    EXPECT_EQ(music_cd_on, 0);
}

} // namespace
