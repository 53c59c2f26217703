// Films through the game's player: a film screen on the stack that ends at
// the film's notification, skipped on a key or button press (never on a
// release) when skipping is allowed, a missing film returning at once, and
// the sound set up again after it with every loaded list playing.
#include "engine/cursor.h"
#include "engine/data_report.h"
#include "engine/film.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/headless.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Log = std::vector<std::string>;

class Film : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        plat_script_set_close_at_end(false); // the films end by themselves
        plat_set_data_dir(KARVO_TEST_DATA_DIR);
        app_services.avi_on_end = avi_on_end;
        open_window();
        primary_surface = plat_surface_create(640, 480, true);
        back_surface = plat_surface_create(640, 480, false);
        shown_clear();
    }
    void TearDown() override {
        snd_shutdown();
        HeadlessTest::TearDown();
    }
    PlatRect rect{0, 0, 640, 480};
};

TEST_F(Film, AFilmIsSkippedOnAPressNeverOnARelease) {
    struct Case {
        int skippable;
        PlatScriptKind input;
        int result;
        uint32_t ends_after; // ms from the start
    };
    const Case cases[] = {
        {1, SCRIPT_KEY_DOWN, 1, 1000},   {1, SCRIPT_LEFT_DOWN, 1, 1000},
        {1, SCRIPT_RIGHT_DOWN, 1, 1000}, {1, SCRIPT_KEY_UP, 0, 5000},
        {1, SCRIPT_LEFT_UP, 0, 5000},    {1, SCRIPT_RIGHT_UP, 0, 5000},
        {0, SCRIPT_KEY_DOWN, 0, 5000},   {0, SCRIPT_LEFT_DOWN, 0, 5000},
    };
    for (const Case& c : cases) {
        uint32_t start = plat_tick_count();
        at(start + 1000, c.input,
           c.input == SCRIPT_KEY_DOWN || c.input == SCRIPT_KEY_UP ? 0x20 : -1);
        EXPECT_EQ(avi_play("FLYUS.AVI", &rect, c.skippable), c.result) << c.input;
        EXPECT_NEAR(static_cast<double>(plat_tick_count() - start), c.ends_after, 70.0) << c.input;
        EXPECT_EQ(avi_playing, 0);
        EXPECT_EQ(screen_depth, 0);
        plat_drain_input();
    }
    Log log(mci_log().end() - 4, mci_log().end());
    EXPECT_EQ(log[0].rfind("put vfw destination at 0 0 640 480", 0), 0u);
    EXPECT_EQ(log[1], "play vfw window from 0 notify");
    EXPECT_EQ(log[2], "stop vfw wait");
    EXPECT_EQ(log[3], "close vfw wait");
    EXPECT_EQ(shown_count(Shown::Film), std::size(cases));
}

TEST_F(Film, AMissingFilmReturnsAtOnceWithSoundBack) {
    ASSERT_EQ(snd_init(0), 1);
    uint32_t start = plat_tick_count();
    EXPECT_EQ(avi_play("NOFILM.AVI", &rect, 1), 0);
    EXPECT_EQ(plat_tick_count(), start);
    EXPECT_TRUE(plat_audio_open());
    Log log(mci_log().end() - 2, mci_log().end());
    EXPECT_EQ(
        log, (Log{"open avivideo!NOFILM.AVI alias vfw", "open avivideo!A:\\NOFILM.AVI alias vfw"}));
    EXPECT_TRUE(shown_find_text(Shown::Film, "NOFILM.AVI"));
}

// A film that cannot be opened sets the sound up again, which cuts a sound
// that plays; with nothing playing the film is looked for first and the
// device is kept as it is.
TEST_F(Film, AFilmThatCannotBeOpenedKeepsAQuietDeviceAndResetsAPlayingOne) {
    ASSERT_EQ(snd_init(0), 1);
    EffectListEntry list[] = {{2, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    ASSERT_NE(list[0].buffer, nullptr);
    const uint32_t quiet = plat_audio_session();
    EXPECT_EQ(avi_play("NOFILM.AVI", &rect, 1), 0);
    EXPECT_EQ(plat_audio_session(), quiet);
    snd_effect_play(&list[0], 1);
    ASSERT_TRUE(plat_sound_playing(static_cast<PlatSound>(list[0].buffer)));
    EXPECT_EQ(avi_play("NOFILM.AVI", &rect, 1), 0);
    EXPECT_NE(plat_audio_session(), quiet);
    EXPECT_TRUE(plat_audio_open());
    ASSERT_NE(list[0].buffer, nullptr); // read anew, stopped
    EXPECT_FALSE(plat_sound_playing(static_cast<PlatSound>(list[0].buffer)));
    snd_effects_free(list);
}

// A FIFO would hold the player for ever; a damaged film would show nothing.
// Each is told once, with its directory and what is wrong, and the game goes on.
TEST_F(Film, AFilmThatCannotBeUsedIsToldOnceAndReturnsAtOnce) {
    const fs::path dir = fs::temp_directory_path() / ("karvo_films_" + std::to_string(getpid()));
    fs::create_directories(dir);
    ASSERT_EQ(mkfifo((dir / "START.AVI").c_str(), 0600), 0);
    {
        std::ofstream f(dir / "END.AVI", std::ios::binary);
        f << "RIFF\x10\0\0\0AVI LIST"; // cut short after its first bytes
    }
    plat_set_data_dir(dir.string());
    data_reports_reset();
    ASSERT_EQ(snd_init(0), 1);
    const struct {
        const char* name;
        std::string says;
    } cases[] = {
        {"START.AVI", "START.AVI in " + dir.string() + " is not a regular file"},
        {"END.AVI", "END.AVI in " + dir.string() + " is damaged: not a film that can be read"},
        {"NOFILM.AVI", "cannot open NOFILM.AVI: not found in the working directory"},
    };
    for (int round = 0; round < 2; ++round)
        for (const auto& c : cases) {
            const uint32_t start = plat_tick_count();
            EXPECT_EQ(avi_play(c.name, &rect, 1), 0) << c.name;
            EXPECT_EQ(plat_tick_count(), start) << c.name;
            EXPECT_TRUE(plat_audio_open()) << c.name;
        }
    const std::vector<std::string>& told = data_reports();
    ASSERT_EQ(told.size(), std::size(cases));
    for (size_t i = 0; i < told.size(); ++i) {
        EXPECT_EQ(told[i].rfind(cases[i].says, 0), 0u) << told[i];
        EXPECT_NE(told[i].find("; the film is not shown"), std::string::npos) << told[i];
    }
    fs::remove_all(dir);
}

TEST_F(Film, EffectsLoadedBeforeAFilmPlayAfterIt) {
    ASSERT_EQ(snd_init(0), 1);
    EffectListEntry list[] = {{0, nullptr}, {2, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    ASSERT_NE(list[0].buffer, nullptr);
    uint32_t session = plat_audio_session();
    EXPECT_EQ(avi_play("OVER.AVI", &rect, 0), 0);
    EXPECT_NE(plat_audio_session(), session); // the film had the device to itself
    ASSERT_NE(list[0].buffer, nullptr);
    ASSERT_NE(list[1].buffer, nullptr);
    snd_effect_play(&list[1], 0);
    EXPECT_TRUE(plat_sound_playing(static_cast<PlatSound>(list[1].buffer)));
    snd_effects_free(list);
}

// What the cursor's hook saw while the film ran.
int g_served_playing = 0, g_drawn_playing = 0;
void serve_and_watch() {
    cursor_serve_ticks();
    if (!avi_playing) return;
    ++g_served_playing;
    if (cursor_state.cursor_flags & CURSOR_DRAWN) ++g_drawn_playing;
}

TEST_F(Film, TheCursorStaysOffTheFilmWhileItRunsAndComesBackAfter) {
    data_archive = mkf_open("data.mkf");
    ASSERT_GE(data_archive, 0);
    app_active = 1;
    cursor_start();
    ASSERT_NE(cursor_state.cursor_frames, nullptr) << "the stand-in cursor frames";
    plat_set_cursor_hook(serve_and_watch);
    plat_set_cursor_pos(300, 200);
    cursor_set_shape(0, 1, 0);
    cursor_set_mode(1);
    ASSERT_TRUE(cursor_state.cursor_flags & CURSOR_DRAWN);
    const PlatRect film{100, 100, 540, 380};
    g_served_playing = g_drawn_playing = 0;
    EXPECT_EQ(avi_play("FLYUS.AVI", &film, 0), 0);
    EXPECT_GT(g_served_playing, 0);
    EXPECT_EQ(g_drawn_playing, 0) << "hidden over the film for all of its run";
    EXPECT_TRUE(cursor_state.cursor_flags & CURSOR_DRAWN) << "shown again at the end";
    cursor_stop();
    mkf_close(data_archive);
    data_archive = -1;
}

// Only the film's own device ends the film; a music piece that ends while
// the film runs goes to the music and the film plays on.
int g_music_notes = 0;

TEST_F(Film, APieceEndingDuringTheFilmLeavesTheFilmRunning) {
    mci_test_set_disc(3, 1000);
    ASSERT_EQ(mci_send("open cdaudio!D: alias cdtrack wait"), 0u);
    ASSERT_EQ(mci_send("set cdtrack time format tmsf"), 0u);
    ASSERT_EQ(mci_send("play cdtrack from 3 notify"), 0u); // the last second of the disc
    g_music_notes = 0;
    app_services.music_on_notify = [] { ++g_music_notes; };
    const uint32_t start = plat_tick_count();
    EXPECT_EQ(avi_play("FLYUS.AVI", &rect, 0), 0);
    EXPECT_NEAR(static_cast<double>(plat_tick_count() - start), 5000.0, 70.0)
        << "the film played to its own end";
    EXPECT_EQ(g_music_notes, 1) << "the piece's end went to the music";
    EXPECT_EQ(avi_device, 0u);
    mci_send("close cdtrack");
}

} // namespace
