// One run of the program with its sounds, music, films and animations:
// the real start-up opens with START.AVI and its sound; then, with the board
// up and the main loop running, the interface sounds, a voice, a background
// piece with an event tune over it and back, an FLC animation over the
// screen and one in board mode. Headless on the dummy drivers with the
// virtual clock; the opening film is also run in a window under Xvfb.
// A frame of the film and the board-mode frame are written to
// media_demo_start_film.bmp and media_demo_board_flc.bmp.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "board/map.h"
#include "board/turn.h"
#include "board/world_reset.h"
#include "engine/cursor.h"
#include "engine/film.h"
#include "engine/flc.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/mci.h"
#include "platform/media.h"
#include "platform/midi.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/surface.h"
#include "platform/video.h"
#include "platform/window.h"
#include "runner_game.h"
#include "shell/app.h"

namespace {

constexpr int UI_SOUNDS = 5;
constexpr int VOICE_CLIP = 1050;
constexpr int BACKGROUND = 3;   // music_next_background(3): KARV17.MID
constexpr int EVENT_TUNE = 0;   // MIDI01.MID, a few seconds
constexpr int SCREEN_FLC = 496; // coins rising over the points square
constexpr int BOARD_FLC = 484;  // an explosion, here in board mode
constexpr uint32_t BOARD_FLAGS =
    FLC_BOARD_MODE | FLC_OVER_BACKGROUND | (9u << FLC_DIFF_SHIFT); // redrawn from frame 9
constexpr int SHOT_FRAME = 6;

// One step of the film: where it was told to be, and what it had done then.
struct FilmStep {
    uint32_t position_ms = 0, next_due_ms = 0, length_ms = 0;
    uint32_t frames_shown = 0;
    uint64_t sound_taken = 0; // film sound the mixer had taken
    bool more = true;         // false: the film had run out
};

// What the run saw, from inside it.
struct Seen {
    // The opening film.
    uint32_t film_first_tick = 0, film_last_tick = 0;
    std::vector<FilmStep> film_steps;
    int film_colours = 0; // distinct colours of the screen during the film
    bool film_shot_saved = false;
    uint32_t title_tick = 0;
    // The demonstration's steps.
    uint32_t board_up_tick = 0;
    bool ui_playing[UI_SOUNDS] = {};
    bool ui_playing_later = true;
    int voice_playing = 0, voice_playing_later = 1;
    int background_playing = 0;
    uint8_t background_current = 0;
    int pushed = 0, event_playing = 0;
    uint8_t event_current = 0xFF;
    uint32_t saved_position = 0;
    size_t log_before_resume = 0;
    int resumed_playing = 0;
    uint8_t resumed_current = 0;
    std::set<int> screen_frames, board_frames;
    int screen_flc_changed = 0;       // display pixels the screen FLC changed
    int board_flc_changed = 0;        // board pixels changed at the shot frame
    int outside_board_changed = -1;   // pixels outside the board area changed then
    bool extra_sound_playing = false; // the screen FLC's own sound during it
    bool board_shot_saved = false;
    int board_music_after = 0;
    bool quit_asked = false;
};
Seen g;
std::vector<uint16_t> g_before; // the display before the demonstration's animation
bool g_watch = false;           // one of the demonstration's animations runs
int g_playing_before = 0;       // buffers and streams playing before it

std::vector<uint16_t> screen_copy() {
    return std::vector<uint16_t>(primary_surface->pixels, primary_surface->pixels + 640 * 480);
}

int changed_in(const std::vector<uint16_t>& before, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (primary_surface->pixels[y * 640 + x] != before[static_cast<size_t>(y * 640 + x)])
                ++n;
    return n;
}

// Runs whenever the layer takes messages, idles or presents: the cursor's own
// work, then a look at the film or the animation that is running.
void probe() {
    cursor_serve_ticks();
    if (avi_playing) {
        if (g.film_first_tick == 0) g.film_first_tick = plat_tick_count();
        g.film_last_tick = plat_tick_count();
        std::set<uint16_t> colours;
        for (int i = 0; i < 640 * 480; i += 97)
            colours.insert(primary_surface->pixels[i]);
        g.film_colours = std::max(g.film_colours, static_cast<int>(colours.size()));
        if (!g.film_shot_saved && plat_tick_count() - g.film_first_tick >= 3000)
            g.film_shot_saved = plat_surface_save_bmp(primary_surface, "media_demo_start_film.bmp");
    }
    if (!g_watch || !flc_player.data || flc_player.frame == 0) return;
    if (flc_player.output == FLC_TO_DISPLAY) {
        if (plat_audio_playing_count() > g_playing_before) g.extra_sound_playing = true;
        g.screen_frames.insert(flc_player.frame);
        g.screen_flc_changed = std::max(g.screen_flc_changed, changed_in(g_before, 0, 0, 640, 480));
    } else if (flc_player.output == FLC_TO_BOARD) {
        g.board_frames.insert(flc_player.frame);
        if (flc_player.frame == SHOT_FRAME && !g.board_shot_saved) {
            g.board_shot_saved = plat_surface_save_bmp(primary_surface, "media_demo_board_flc.bmp");
            g.board_flc_changed = changed_in(g_before, 0, 40, 440, 480);
            g.outside_board_changed =
                changed_in(g_before, 440, 0, 640, 480) + changed_in(g_before, 0, 0, 440, 40);
        }
    }
}

// The media layer as installed, and the same with each step of a film written down.
PlatMediaLayer g_media;
bool advance_and_note(PlatVideo* v, uint32_t position_ms) {
    const bool more = g_media.video_advance(v, position_ms);
    g.film_steps.push_back({position_ms, g_media.video_next_due_ms(v), g_media.video_length_ms(v),
                            g_media.video_frames_shown(v), video_sound_frames_taken(), more});
    return more;
}
void note_film_steps() {
    static PlatMediaLayer noting;
    if (plat_media().video_advance != advance_and_note) g_media = plat_media();
    noting = g_media;
    noting.video_advance = advance_and_note;
    plat_media_install(&noting);
}

void start_cursor_with_probe() {
    cursor_start();
    plat_set_cursor_hook(probe);
}

int title() {
    if (g.title_tick == 0) {
        g.title_tick = plat_tick_count();
        return 0; // a new game
    }
    return 3; // back at the title after the game: exit
}

int setup(int) {
    RunnerOptions o;
    o.seed = 5;
    o.map = 1;
    o.players = 4;
    o.days = 30;
    o.human = true; // the human's turn waits: the board stays quiet
    std::string error;
    if (!runner_seat_players(o, &error)) return 0;
    return map_load() ? 1 : 0;
}

bool any_ui_playing() {
    for (int i = 0; i < UI_SOUNDS; ++i)
        if (plat_sound_playing(static_cast<PlatSound>(ui_effects[i].buffer))) return true;
    return false;
}

// The demonstration, step by step at its time after the board came up, from
// the main loop's idle pass (the turn tick).
void demo_step() {
    static int step = 0;
    if (g.board_up_tick == 0) {
        g.board_up_tick = plat_tick_count();
        step = 0;
    }
    const uint32_t since = plat_tick_count() - g.board_up_tick;
    switch (step) {
    case 0:
        for (int i = 0; i < UI_SOUNDS; ++i) {
            snd_effect_play(&ui_effects[i], 0);
            g.ui_playing[i] = plat_sound_playing(static_cast<PlatSound>(ui_effects[i].buffer));
        }
        break;
    case 1:
        if (since < 1500) return;
        g.ui_playing_later = any_ui_playing();
        snd_voice_play(VOICE_CLIP);
        g.voice_playing = snd_voice_playing();
        break;
    case 2:
        if (since < 2000) return;
        music_next_background(BACKGROUND);
        g.background_playing = music_midi_playing();
        g.background_current = music_current;
        break;
    case 3:
        if (since < 6000) return;
        g.pushed = music_play_event(EVENT_TUNE);
        g.event_playing = music_midi_playing();
        g.event_current = music_current;
        g.saved_position = music_stack_positions[0];
        break;
    case 4:
        // Past the tune's end: it has repeated, as event tunes do.
        if (since < 12000) return;
        g.voice_playing_later = snd_voice_playing();
        g.log_before_resume = mci_log().size();
        music_resume();
        g.resumed_playing = music_midi_playing();
        g.resumed_current = music_current;
        break;
    case 5:
        if (since < 13000) return;
        g_before = screen_copy();
        g_playing_before = plat_audio_playing_count();
        g_watch = true;
        flc_play_entry(SCREEN_FLC, 204, 180, FLC_OVER_BACKGROUND, 98);
        g_watch = false;
        break;
    case 6:
        if (since < 15000) return;
        g_before = screen_copy();
        g_watch = true;
        flc_play_entry(BOARD_FLC, 0, 40, BOARD_FLAGS, 82);
        g_watch = false;
        g.board_music_after = music_midi_playing();
        break;
    case 7:
        g.quit_asked = true;
        app_quit = 1; // as the quit hot key does
        break;
    default:
        return;
    }
    ++step;
}

void real_turn_tick_then_demo() {
    turn_tick();
    demo_step();
}

class MediaDemo : public ::testing::Test {
  protected:
    void SetUp() override {
        g = Seen{};
        g_before.clear();
        g_watch = false;
        unsetenv("KARVO_SCRIPT");
    }
    void TearDown() override {
        plat_shutdown();
        app_reset();
    }
};

// Index of the first log line at or after from that starts with prefix.
size_t find_from(const std::vector<std::string>& log, size_t from, const std::string& prefix) {
    for (size_t i = from; i < log.size(); ++i)
        if (log[i].rfind(prefix, 0) == 0) return i;
    return log.size();
}

// The line of the open that succeeded for a MIDI file (the working directory
// first, then the data set's), at or after from.
size_t find_piece(const std::vector<std::string>& log, size_t from, const std::string& file) {
    for (size_t i = find_from(log, from, "open sequencer!"); i + 1 < log.size();
         i = find_from(log, i + 1, "open sequencer!"))
        if (log[i].find(file + " alias mid") != std::string::npos &&
            log[i + 1].rfind("open ", 0) != 0)
            return i;
    return log.size();
}

void expect_opening_film(const std::vector<std::string>& log, uint32_t film_ms) {
    // Opened from the working directory or, failing that, the data set's.
    const size_t window = find_from(log, 0, "window vfw handle ");
    ASSERT_LT(window, log.size());
    ASSERT_GE(window, 1u);
    const std::string& open = log[window - 1];
    EXPECT_EQ(open.rfind("open avivideo!", 0), 0u) << open;
    EXPECT_NE(open.find("START.AVI alias vfw"), std::string::npos) << open;
    ASSERT_LT(window + 4, log.size());
    EXPECT_EQ(log[window + 1], "put vfw destination at 0 0 640 480");
    EXPECT_EQ(log[window + 2], "play vfw window from 0 notify");
    EXPECT_EQ(log[window + 3], "stop vfw wait");
    EXPECT_EQ(log[window + 4], "close vfw wait");
    // It ran to its end, its frames in order on the screen and its sound
    // through the mixer (a 22050 Hz track resampled to 44100 Hz). The steps
    // follow the clock: with the real one a busy machine shows fewer frames,
    // never the film cut short or out of order.
    const std::vector<FilmStep>& steps = g.film_steps;
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps.front().position_ms, 0u);
    // The last step found no frame left: the last one was shown, within a
    // frame's time of the length the file announces.
    constexpr uint32_t FRAME_MS = 67;
    EXPECT_EQ(steps.back().length_ms, film_ms);
    EXPECT_FALSE(steps.back().more);
    EXPECT_GE(steps.back().position_ms + FRAME_MS, film_ms);
    EXPECT_GE(steps.back().next_due_ms + FRAME_MS, film_ms);
    for (size_t i = 1; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(steps[i].position_ms, steps[i - 1].position_ms);
        EXPECT_GE(steps[i].frames_shown, steps[i - 1].frames_shown);
        if (steps[i].frames_shown > steps[i - 1].frames_shown) {
            EXPECT_GT(steps[i].next_due_ms, steps[i - 1].next_due_ms);
        }
    }
    EXPECT_GE(steps.back().frames_shown, 2u);
    EXPECT_GE(g.film_colours, 8);
    // Its sound still came in its last second.
    const auto last_second = std::find_if(steps.begin(), steps.end(), [&](const FilmStep& s) {
        return s.position_ms + 1000 >= film_ms;
    });
    EXPECT_GT(steps.back().sound_taken, last_second->sound_taken);
    if (plat_clock_is_virtual()) {
        // The virtual clock waits for each frame and takes all the sound.
        EXPECT_EQ(steps.back().frames_shown, film_ms / FRAME_MS + 1);
        EXPECT_GE(steps.back().sound_taken - steps.front().sound_taken,
                  uint64_t{film_ms} * 44100 / 1000 * 95 / 100);
    }
    EXPECT_GE(g.title_tick, g.film_last_tick);
    EXPECT_TRUE(g.film_shot_saved);
}

TEST_F(MediaDemo, OneRunPlaysTheFilmSoundsVoiceMusicAndAnimations) {
    setenv("KARVO_HEADLESS", "1", 1);
    unsetenv("KARVO_WINDOWED");
    // A guard: a run that never asks to quit is closed at two minutes.
    PlatScriptEvent guard;
    guard.time = 120000;
    guard.kind = SCRIPT_CLOSE;
    ASSERT_TRUE(plat_init());
    app_reset();
    game_world_reset();
    shown_clear();
    plat_script_add(guard);
    // The real services, but for the title, set-up and intro screens, which
    // are not built yet, and the demonstration after each turn tick.
    app_services.cursor_start = start_cursor_with_probe;
    note_film_steps();
    app_services.title_run = title;
    app_services.setup_run = setup;
    app_services.intro_run = [] {};
    app_services.turn_tick = real_turn_tick_then_demo;
    EXPECT_EQ(app_main(nullptr, nullptr, "", 1), 0);
    EXPECT_TRUE(g.quit_asked) << "the demonstration did not run to its end";
    const std::vector<std::string> log = mci_log();
    if (std::getenv("KARVO_MEDIA_DEMO_LOG"))
        for (const std::string& l : log)
            std::fprintf(stderr, "mci: %s\n", l.c_str());

    // The opening film, with its sound, before the title.
    expect_opening_film(log, 6000);
    EXPECT_TRUE(shown_find_text(Shown::Film, "START.AVI"));

    // The interface sounds: all five played at once, all over 1.5 s later.
    for (int i = 0; i < UI_SOUNDS; ++i) {
        EXPECT_TRUE(g.ui_playing[i]) << i;
        EXPECT_EQ(shown_count(Shown::Effect, ui_effects[i].entry), 1u) << i;
    }
    EXPECT_FALSE(g.ui_playing_later);
    // The voice: playing, over before the music came back.
    EXPECT_EQ(g.voice_playing, 1);
    EXPECT_EQ(g.voice_playing_later, 0);
    EXPECT_EQ(shown_count(Shown::Voice, VOICE_CLIP), 1u);

    // The background piece.
    const size_t bg = find_piece(log, 0, "KARV17.MID");
    ASSERT_LT(bg, log.size());
    EXPECT_EQ(log[bg + 1], "play mid from 0 notify");
    EXPECT_EQ(g.background_playing, 1);
    EXPECT_EQ(g.background_current, MUSIC_BACKGROUND_BIT | (BACKGROUND - 1));
    // The event tune over it: the background's place saved four seconds in.
    EXPECT_EQ(g.pushed, 1);
    EXPECT_EQ(g.event_playing, 1);
    EXPECT_EQ(g.event_current, EVENT_TUNE);
    EXPECT_GE(g.saved_position, 3900u);
    EXPECT_LE(g.saved_position, 4100u);
    const size_t ev = find_piece(log, bg, "MIDI01.MID");
    ASSERT_LT(ev, log.size());
    EXPECT_EQ(log[ev + 1], "play mid from 0 notify");
    // Its end came back through the main loop and it played again.
    EXPECT_LT(find_from(log, ev + 2, "play mid from 0 notify"), g.log_before_resume);
    // Back to the background where it was.
    const std::string resume = "play mid from " + std::to_string(g.saved_position) + " notify";
    const size_t back = find_piece(log, g.log_before_resume, "KARV17.MID");
    ASSERT_LT(back, log.size());
    EXPECT_EQ(log[back + 1], resume);
    EXPECT_EQ(g.resumed_playing, 1);
    EXPECT_EQ(g.resumed_current, MUSIC_BACKGROUND_BIT | (BACKGROUND - 1));
    EXPECT_EQ(music_stack_depth, 0);
    EXPECT_EQ(g.board_music_after, 1) << "the background plays on through the animations";

    // The animation over the screen: every frame shown, pixels changed, its sound.
    EXPECT_EQ(shown_count(Shown::Flc, SCREEN_FLC), 1u);
    EXPECT_EQ(g.screen_frames.size(), 14u);
    EXPECT_GT(g.screen_flc_changed, 1000);
    EXPECT_TRUE(g.extra_sound_playing);
    EXPECT_GE(shown_count(Shown::Effect, 98), 1u);
    // In board mode: the frames through the board buffer, only the board
    // area changed, the picture written.
    EXPECT_EQ(shown_count(Shown::Flc, BOARD_FLC), 1u);
    EXPECT_EQ(g.board_frames.size(), 14u);
    EXPECT_GT(g.board_flc_changed, 440 * 440 / 4);
    EXPECT_EQ(g.outside_board_changed, 0);
    EXPECT_TRUE(g.board_shot_saved);
    EXPECT_GE(shown_count(Shown::Effect, 82), 1u);
}

// Under Xvfb: the program in a window with the real clock opens with its
// film and the film's sound, and has the title's synthesizer ready after it. The test runs itself
// as the child.
TEST_F(MediaDemo, InAWindowUnderXvfbTheProgramOpensWithItsFilmAndItsSound) {
    if (const char* child = std::getenv("KARVO_MEDIA_XVFB_CHILD"); child && *child == '1') {
        ASSERT_TRUE(plat_init());
        ASSERT_TRUE(plat_windowed());
        ASSERT_FALSE(plat_headless());
        app_reset();
        game_world_reset();
        app_services.cursor_start = start_cursor_with_probe;
        note_film_steps();
        static bool synth_ready_at_title;
        synth_ready_at_title = false;
        app_services.title_run = [] {
            g.title_tick = plat_tick_count();
            synth_ready_at_title = midi_render_ready();
            return 3; // exit from the title
        };
        EXPECT_EQ(app_main(nullptr, nullptr, "", 1), 0);
        expect_opening_film(mci_log(), 6000);
        // Made while the film played: the title's tune starts at once.
        EXPECT_TRUE(synth_ready_at_title);
        return;
    }
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xvfb-run";
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    const std::string out = "media_demo_xvfb.txt";
    const std::string cmd =
        "xvfb-run -a -s '-screen 0 1024x768x24' env KARVO_MEDIA_XVFB_CHILD=1 KARVO_HEADLESS=0 "
        "KARVO_WINDOWED=1 SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 '" +
        std::string(self) +
        "' --gtest_filter=MediaDemo.InAWindowUnderXvfbTheProgramOpensWithItsFilmAndItsSound >" +
        out + " 2>&1";
    const int status = std::system(cmd.c_str());
    std::string text;
    if (std::FILE* f = std::fopen(out.c_str(), "r")) {
        char buf[4096];
        size_t got = 0;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
            text.append(buf, got);
        std::fclose(f);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    EXPECT_NE(text.find("[  PASSED  ] 1 test"), std::string::npos) << text;
}

} // namespace
