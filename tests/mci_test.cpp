// The media command interpreter on the virtual clock: its grammar, MIDI
// files read into timed events and rendered by the synthesizer, the CD hook,
// and films decoded into the primary surface, each ending with its
// notification exactly when its time is up.
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/midi.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "platform/video.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const fs::path data_dir = KARVO_TEST_DATA_DIR;

std::vector<uint8_t> read_bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

class Mci : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("KARVO_HEADLESS", "1", 1);
        unsetenv("KARVO_SCRIPT");
        ASSERT_TRUE(plat_init());
        plat_set_data_dir(data_dir.string());
    }
    void TearDown() override { plat_shutdown(); }

    static std::string reply(const char* command) {
        char buf[64];
        EXPECT_EQ(mci_send(command, buf, sizeof buf), 0u) << command;
        return buf;
    }
    // Lets virtual time pass until a media notification is taken (or limit
    // ms have passed); returns the time it arrived, or 0 when none did.
    static uint32_t wait_notify(uint32_t limit_ms, PlatMessage* got = nullptr) {
        uint32_t end = plat_tick_count() + limit_ms;
        while (static_cast<int32_t>(plat_tick_count() - end) < 0) {
            PlatMessage m;
            if (plat_peek_message(&m, true)) {
                if (m.message == MM_MCINOTIFY) {
                    if (got) *got = m;
                    return plat_tick_count();
                }
                continue;
            }
            uint32_t before = plat_tick_count();
            plat_idle(end - plat_tick_count());
            if (plat_tick_count() == before && !plat_message_waiting()) return 0; // nothing due
        }
        return 0;
    }
};

TEST_F(Mci, CommandsOutsideTheListOrOnClosedAliasesFail) {
    struct Case {
        const char* command;
        uint32_t result;
    };
    const Case cases[] = {
        {"open cdaudio!A: alias cdtrack wait", MCI_ERR_NOT_READY}, // no disc
        {"open sequencer!NOTHERE.MID alias mid", MCI_ERR_FILE},
        {"open sequencer!A:\\MIDI01.MID alias mid", 0},
        {"open sequencer!A:\\MIDI02.MID alias mid", MCI_ERR_IN_USE},
        {"open sequencer!A:\\MAPDAT.MKF alias other", MCI_ERR_FILE}, // not a MIDI file
        {"open avivideo!A:\\MIDI01.MID alias vfw", MCI_ERR_FILE},    // not a film
        {"open waveaudio!A:\\MIDI01.MID alias w", MCI_ERR_UNRECOGNIZED},
        {"open sequencer!A:\\MIDI01.MID as mid", MCI_ERR_UNRECOGNIZED},
        {"play mid from 0 notify", 0},
        {"play mid from 999999 notify", MCI_ERR_OUT_OF_RANGE},
        {"play mid from x notify", MCI_ERR_UNRECOGNIZED},
        {"play mid window from 0 notify", MCI_ERR_UNRECOGNIZED}, // only films take a window
        {"play mid backwards", MCI_ERR_UNRECOGNIZED},
        {"status mid volume", MCI_ERR_UNRECOGNIZED},
        {"status mid number of tracks", MCI_ERR_UNRECOGNIZED},
        {"set mid time format tmsf", MCI_ERR_UNRECOGNIZED},
        {"put mid destination at 0 0 10 10", MCI_ERR_UNRECOGNIZED},
        {"seek mid to start", MCI_ERR_UNRECOGNIZED},
        {"", MCI_ERR_UNRECOGNIZED},
        {"pause mid", 0},
        {"resume mid", 0},
        {"stop mid wait", 0},
        {"close mid wait", 0},
        {"close mid wait", MCI_ERR_NO_DEVICE},
        {"status cdtrack mode", MCI_ERR_NO_DEVICE},
        {"pause vfw", MCI_ERR_NO_DEVICE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mci_send(c.command), c.result) << c.command;
    ASSERT_EQ(mci_log().size(), std::size(cases));
    EXPECT_EQ(mci_log()[2], "open sequencer!A:\\MIDI01.MID alias mid");
}

TEST_F(Mci, APieceReportsItsModeAndPositionThroughPauseAndResume) {
    ASSERT_EQ(mci_send("open sequencer!A:\\KARV08.MID alias mid"), 0u);
    EXPECT_EQ(reply("status mid mode"), "stopped");
    ASSERT_EQ(mci_send("play mid from 1000 notify"), 0u);
    EXPECT_EQ(reply("status mid mode"), "playing");
    plat_clock_advance_to(plat_tick_count() + 500);
    EXPECT_EQ(reply("status mid position"), "1500");
    ASSERT_EQ(mci_send("pause mid"), 0u);
    EXPECT_EQ(reply("status mid mode"), "paused");
    plat_clock_advance_to(plat_tick_count() + 4000);
    EXPECT_EQ(reply("status mid position"), "1500");
    ASSERT_EQ(mci_send("resume mid"), 0u);
    plat_clock_advance_to(plat_tick_count() + 250);
    EXPECT_EQ(reply("status mid position"), "1750");
    EXPECT_EQ(reply("status mid mode"), "playing");
}

TEST_F(Mci, APieceEndsWithOneNotificationAtItsLengthAndAStoppedOneWithNone) {
    std::unique_ptr<MidiSong> song = midi_load((data_dir / "MIDI03.MID").string());
    ASSERT_NE(song, nullptr);
    ASSERT_EQ(mci_send("open sequencer!A:\\MIDI03.MID alias mid"), 0u);
    uint32_t start = plat_tick_count();
    ASSERT_EQ(mci_send("play mid from 0 notify"), 0u);
    PlatMessage m;
    EXPECT_EQ(wait_notify(60000, &m) - start, song->length_ms);
    EXPECT_EQ(m.wparam, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(reply("status mid mode"), "stopped");
    EXPECT_EQ(wait_notify(song->length_ms * 2), 0u); // once only

    // Played again from the middle, then stopped: the end is never told.
    ASSERT_EQ(mci_send("play mid from 1000 notify"), 0u);
    plat_clock_advance_to(plat_tick_count() + 200);
    ASSERT_EQ(mci_send("stop mid"), 0u);
    EXPECT_EQ(wait_notify(song->length_ms * 2), 0u);
    // A pause keeps the notification for the end after resuming.
    ASSERT_EQ(mci_send("play mid from 0 notify"), 0u);
    ASSERT_EQ(mci_send("pause mid"), 0u);
    plat_clock_advance_to(plat_tick_count() + 300);
    start = plat_tick_count();
    ASSERT_EQ(mci_send("resume mid"), 0u);
    EXPECT_EQ(wait_notify(60000) - start, song->length_ms);
}

TEST_F(Mci, TheDiscHookAnswersAsADiscOfItsTracks) {
    mci_test_set_disc(9, 1000);
    ASSERT_EQ(mci_send("open cdaudio!A: alias cdtrack wait"), 0u);
    EXPECT_EQ(mci_send("set cdtrack time format tmsf"), 0u);
    EXPECT_EQ(mci_send("set cdtrack time format ms"), MCI_ERR_UNRECOGNIZED);
    EXPECT_EQ(reply("status cdtrack number of tracks"), "9");
    EXPECT_EQ(mci_send("play cdtrack from 10 notify"), MCI_ERR_OUT_OF_RANGE);
    EXPECT_EQ(mci_send("pause cdtrack"), MCI_ERR_UNRECOGNIZED); // a CD stops instead
    uint32_t start = plat_tick_count();
    ASSERT_EQ(mci_send("play cdtrack from 3 notify"), 0u);
    EXPECT_EQ(reply("status cdtrack current track"), "3");
    plat_clock_advance_to(start + 2500);
    EXPECT_EQ(reply("status cdtrack current track"), "5");
    ASSERT_EQ(mci_send("stop cdtrack"), 0u);
    plat_clock_advance_to(start + 9000);
    ASSERT_EQ(mci_send("play cdtrack notify"), 0u); // continues where it stopped
    EXPECT_EQ(reply("status cdtrack current track"), "5");
    // To the end of the disc: tracks 5 (half played) to 9.
    EXPECT_EQ(wait_notify(60000) - (start + 9000), 4500u);
}

TEST_F(Mci, BrokenMidiFilesReadAsNone) {
    std::vector<uint8_t> good = read_bytes(data_dir / "MIDI01.MID");
    ASSERT_NE(midi_parse(good.data(), good.size()), nullptr);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    auto cut = good;
    cut.resize(good.size() - 7);
    auto bad_track_length = good;
    bad_track_length[14 + 7] = 0x7F; // the first track claims more than the file holds
    auto format2 = good;
    format2[9] = 2;
    std::vector<uint8_t> no_status = {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,   0,
                                      96,  'M', 'T', 'r', 'k', 0, 0, 0, 3, 0, 0x3C, 0x40};
    std::vector<uint8_t> long_vlq = {'M', 'T', 'h',  'd',  0,    0,    0,    6,    0,   0,
                                     0,   1,   0,    96,   'M',  'T',  'r',  'k',  0,   0,
                                     0,   7,   0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C};
    const Case cases[] = {
        {"cut short", cut},
        {"track past the end", bad_track_length},
        {"format 2", format2},
        {"data byte before any status", no_status},
        {"delta of five bytes", long_vlq},
        {"empty", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(midi_parse(c.bytes.data(), c.bytes.size()), nullptr) << c.what;
}

TEST_F(Mci, TheTunesAreLongDistinctBackgroundsAndShortEventTunes) {
    const char* backgrounds[] = {"KARV08.MID", "KARV16.MID", "KARV17.MID", "KARV18.MID",
                                 "KARV19.MID", "KARV20.MID", "KARV21.MID", "KARV22.MID"};
    std::vector<std::vector<int>> melodies;
    for (const char* name : backgrounds) {
        std::unique_ptr<MidiSong> song = midi_load((data_dir / name).string());
        ASSERT_NE(song, nullptr) << name;
        EXPECT_GE(song->length_ms, 60000u) << name;
        std::vector<int> notes;
        for (const MidiEvent& e : song->events)
            if ((e.status & 0xF0) == 0x90 && e.data2)
                notes.push_back(e.data1 + 128 * (e.status & 15));
        EXPECT_GT(notes.size(), 200u) << name;
        notes.resize(64);
        for (const auto& other : melodies)
            EXPECT_NE(notes, other) << name;
        melodies.push_back(notes);
    }
    const char* tunes[] = {"MIDI01.MID", "MIDI05.MID", "MIDI14-1.MID", "MIDI14-2.MID",
                           "MIDI16.MID"};
    for (const char* name : tunes) {
        std::unique_ptr<MidiSong> song = midi_load((data_dir / name).string());
        ASSERT_NE(song, nullptr) << name;
        EXPECT_GE(song->length_ms, 2000u) << name;
        EXPECT_LE(song->length_ms, 12000u) << name;
    }
}

TEST_F(Mci, TheSynthesizerRendersAPieceAtTheOutputVolume) {
    std::unique_ptr<MidiSong> song = midi_load((data_dir / "MIDI01.MID").string());
    ASSERT_NE(song, nullptr);
    auto peak_of = [&](uint32_t volume) {
        plat_midi_out_set_volume(volume);
        midi_render_start(song.get(), 0);
        std::vector<int16_t> out(2 * 44100);
        EXPECT_TRUE(midi_render_mix(out.data(), 44100));
        int left = 0, right = 0;
        for (size_t i = 0; i < out.size(); i += 2) {
            left = std::max(left, std::abs(out[i]));
            right = std::max(right, std::abs(out[i + 1]));
        }
        midi_render_stop();
        return std::make_pair(left, right);
    };
    auto full = peak_of(0xFFFFFFFF);
    EXPECT_GT(full.first, 500);
    EXPECT_GT(full.second, 500);
    auto right_off = peak_of(0x0000FFFF);
    EXPECT_NEAR(right_off.first, full.first, full.first / 50 + 2);
    EXPECT_EQ(right_off.second, 0);
    EXPECT_EQ(peak_of(0), std::make_pair(0, 0));
    midi_render_shutdown();
}

class Films : public Mci {
  protected:
    void SetUp() override {
        Mci::SetUp();
        primary = plat_surface_create(640, 480, true);
        ASSERT_NE(primary, nullptr);
    }
    PlatSurface* primary = nullptr;

    size_t lit_pixels(int x0, int y0, int x1, int y1) {
        size_t n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += primary->pixels[y * (primary->pitch / 2) + x] != 0;
        return n;
    }
};

TEST_F(Films, AFilmPlaysIntoItsRectangleForItsLengthWithItsSound) {
    ASSERT_EQ(mci_send("open avivideo!A:\\START.AVI alias vfw"), 0u);
    EXPECT_EQ(mci_send("window vfw handle 1"), 0u);
    ASSERT_EQ(mci_send("put vfw destination at 100 50 320 240"), 0u);
    uint32_t start = plat_tick_count();
    const uint64_t taken = video_sound_frames_taken();
    ASSERT_EQ(mci_send("play vfw window from 0 notify"), 0u);
    EXPECT_EQ(reply("status vfw mode"), "playing");
    plat_clock_advance_to(start + 2000);
    PlatMessage m;
    EXPECT_FALSE(plat_peek_message(&m, false));
    // The sound read with two seconds of pictures, resampled to the mixer's
    // rate, taken by the mixer as the virtual time passed.
    EXPECT_GT(video_sound_frames_taken() - taken, 44100u * 3 / 2);
    EXPECT_LT(video_sound_queued(), 44100u / 2);
    uint32_t ended = wait_notify(60000);
    // 90 frames at 15 a second.
    EXPECT_NEAR(static_cast<double>(ended - start), 6000.0, 70.0);
    EXPECT_EQ(reply("status vfw mode"), "stopped");
    EXPECT_GT(lit_pixels(100, 50, 420, 290), 320u * 240u * 99 / 100);
    EXPECT_EQ(lit_pixels(0, 0, 640, 50) + lit_pixels(0, 290, 640, 480) +
                  lit_pixels(0, 50, 100, 290) + lit_pixels(420, 50, 640, 290),
              0u);
    EXPECT_EQ(video_sound_queued(), 0u); // what the mixer did not take is dropped at the end
    EXPECT_EQ(mci_send("close vfw wait"), 0u);
}

TEST_F(Films, AFilmIsScaledAndCutToTheSurface) {
    ASSERT_EQ(mci_send("open avivideo!A:\\OVER.AVI alias vfw"), 0u);
    ASSERT_EQ(mci_send("put vfw destination at 400 300 640 480"), 0u); // twice the size, half off
    ASSERT_EQ(mci_send("play vfw window from 0 notify"), 0u);
    plat_clock_advance_to(plat_tick_count() + 1000);
    PlatMessage m;
    plat_peek_message(&m, false);
    EXPECT_GT(lit_pixels(400, 300, 640, 480), 240u * 180u * 99 / 100);
    EXPECT_EQ(lit_pixels(0, 0, 400, 300), 0u);
}

TEST_F(Films, AFilmCutShortEndsEarlyWithItsNotificationAndAMissingOneDoesNotOpen) {
    fs::path dir = fs::temp_directory_path() / ("karvo_films_" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::vector<uint8_t> film = read_bytes(data_dir / "START.AVI");
    ASSERT_GT(film.size(), 10000u);
    film.resize(film.size() / 3);
    std::ofstream((dir / "CUT.AVI").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(film.data()),
               static_cast<std::streamsize>(film.size()));
    plat_set_data_dir(dir.string());
    EXPECT_EQ(mci_send("open avivideo!A:\\START.AVI alias vfw"), MCI_ERR_FILE);
    ASSERT_EQ(mci_send("open avivideo!A:\\CUT.AVI alias vfw"), 0u);
    uint32_t start = plat_tick_count();
    ASSERT_EQ(mci_send("play vfw window from 0 notify"), 0u);
    uint32_t ended = wait_notify(60000);
    EXPECT_GT(ended, start);
    EXPECT_LT(ended - start, 4000u);
    mci_send("close vfw wait");
    fs::remove_all(dir);
}

TEST_F(Films, APausedFilmHoldsItsTimeAndAStoppedOneIsNotTold) {
    ASSERT_EQ(mci_send("open avivideo!A:\\FLYJP.AVI alias vfw"), 0u);
    uint32_t start = plat_tick_count();
    ASSERT_EQ(mci_send("play vfw window from 0 notify"), 0u);
    plat_clock_advance_to(start + 1000);
    ASSERT_EQ(mci_send("pause vfw"), 0u);
    EXPECT_EQ(reply("status vfw mode"), "paused");
    plat_clock_advance_to(start + 3000);
    ASSERT_EQ(mci_send("resume vfw"), 0u);
    EXPECT_NEAR(static_cast<double>(wait_notify(60000) - start), 7000.0, 70.0);
    ASSERT_EQ(mci_send("close vfw wait"), 0u);
    ASSERT_EQ(mci_send("open avivideo!A:\\FLYJP.AVI alias vfw"), 0u);
    ASSERT_EQ(mci_send("play vfw window from 0 notify"), 0u);
    plat_clock_advance_to(plat_tick_count() + 500);
    ASSERT_EQ(mci_send("stop vfw wait"), 0u);
    EXPECT_EQ(wait_notify(20000), 0u);
    // Played again, it runs its whole length from the first frame.
    start = plat_tick_count();
    ASSERT_EQ(mci_send("play vfw window from 0 notify"), 0u);
    EXPECT_NEAR(static_cast<double>(wait_notify(60000) - start), 5000.0, 70.0);
}

} // namespace

namespace {

TEST(FilmData, TheSevenFilmsAre320By240WithSoundAndLastFourToEightSeconds) {
    for (const char* name : {"START.AVI", "END.AVI", "OVER.AVI", "FLYTW.AVI", "FLYCHINA.AVI",
                             "FLYJP.AVI", "FLYUS.AVI"}) {
        PlatVideo* v = video_open((data_dir / name).string());
        ASSERT_NE(v, nullptr) << name;
        EXPECT_EQ(video_width(v), 320) << name;
        EXPECT_EQ(video_height(v), 240) << name;
        EXPECT_TRUE(video_has_sound(v)) << name;
        EXPECT_GE(video_length_ms(v), 4000u) << name;
        EXPECT_LE(video_length_ms(v), 8000u) << name;
        video_close(v);
    }
}

} // namespace
