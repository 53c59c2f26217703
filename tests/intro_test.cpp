// The board intro: the map's film, the board picture with each player's
// darkened portrait and jump-in (its landing sound at frame 20), the final
// picture with the closing moves; a skip at any step ends it there, and the
// background music starts however early it ends. Without its pictures or
// animations it draws nothing and still goes on; with no display it only
// records the film and the music.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "board/game_state.h"
#include "engine/data_report.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "mkf_writer.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/intro.h"
#include "support/missing_data.h"
#include "support/popup_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int MAP = 1;
constexpr int CHARACTERS[2] = {3, 7};
constexpr uint16_t SENTINEL = 0x1234;

// How long an animation of JUMP.MKF plays, in ms (0 when it is missing).
uint32_t length_of(int entry) {
    const int slot = mkf_open("JUMP.MKF");
    uint32_t size = 0;
    void* data = mkf_read(slot, entry, nullptr, &size);
    mkf_close(slot);
    FlcHeader h{};
    const bool ok = data && flc_read_header(data, size, &h);
    std::free(data);
    return ok ? uint32_t{h.frames} * h.ms_per_frame : 0;
}

int position_of(const std::vector<std::string>& calls, const std::string& name) {
    const auto it = std::find(calls.begin(), calls.end(), name);
    return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
}

// The intro's steps as they were reached, "board", "opening", "jump-in 3", ...
std::vector<std::string> steps_shown() {
    std::vector<std::string> steps;
    for (const ShownEvent& e : shown_log()) {
        if (e.kind != Shown::Panel || e.text.rfind("intro ", 0) != 0) continue;
        std::string step(e.text.c_str() + 6);
        int character = -1;
        if (step == "jump-in") character = e.number - INTRO_JUMP_IN_FIRST;
        if (step == "closing") character = e.number - INTRO_CLOSING_FIRST;
        if (character >= 0) step.append(" ").append(std::to_string(character));
        steps.push_back(step);
    }
    return steps;
}

class Intro : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_map = MAP;
        game_player_count = 2;
        player_table[0].character = CHARACTERS[0];
        player_table[1].character = CHARACTERS[1];
        pictures = spr_read_set("JUMP.MKF", INTRO_PICTURES_ENTRY);
        ASSERT_NE(pictures, nullptr) << "the stand-in intro pictures";
        paint_screen(SENTINEL);
        shown_clear();
    }
    void TearDown() override {
        spr_free_set(pictures);
        PopupTest::TearDown();
    }
    void* pictures = nullptr;

    // Pixels of the back buffer (or the display) that differ from a frame
    // drawn at (0, 0).
    static int differs_from(const void* set, int frame, bool display) {
        const ImageRecord* f = spr_frame(set, frame);
        int n = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if ((display ? screen_at(x, y) : back_at(x, y)) != f->pixels[y * f->width + x]) ++n;
        return n;
    }
    static void shot(const std::string& name) { save_shot("intro_" + name); }
};

TEST_F(Intro, ItPlaysEveryStepInOrderAndEndsOnTheFinalPicture) {
    const uint32_t start = plat_tick_count();
    intro_run();
    const std::vector<std::string> calls = headless_calls;
    EXPECT_EQ(position_of(calls, "avi_play FLYCHINA.AVI"), 0);
    EXPECT_EQ(position_of(calls, "music_next_background 1"), 1);
    EXPECT_EQ(steps_shown(), (std::vector<std::string>{"board", "opening", "jump-in 3", "jump-in 7",
                                                       "final", "closing 3", "closing 7"}));
    EXPECT_EQ(shown_count(Shown::Effect, INTRO_EFFECT_BOARD), 1u);
    EXPECT_EQ(shown_count(Shown::Effect, INTRO_EFFECT_LANDING), 2u) << "one landing a player";
    // Every animation played to its end, one after another.
    uint32_t total = length_of(INTRO_OPENING_ENTRY);
    for (int c : CHARACTERS)
        total += length_of(INTRO_JUMP_IN_FIRST + c) + length_of(INTRO_CLOSING_FIRST + c);
    EXPECT_GT(total, 0u);
    EXPECT_EQ(plat_tick_count() - start, total);
    // The closing moves leave the final picture as it is, on the display too.
    EXPECT_EQ(differs_from(pictures, INTRO_FINAL_FRAME, false), 0);
    EXPECT_EQ(differs_from(pictures, INTRO_FINAL_FRAME, true), 0);
    shot("final");
}

TEST_F(Intro, ASkipAtEachStepEndsItThereAndTheMusicStillStarts) {
    const uint32_t opening = length_of(INTRO_OPENING_ENTRY);
    const uint32_t jump[2] = {length_of(INTRO_JUMP_IN_FIRST + CHARACTERS[0]),
                              length_of(INTRO_JUMP_IN_FIRST + CHARACTERS[1])};
    const uint32_t closing0 = length_of(INTRO_CLOSING_FIRST + CHARACTERS[0]);
    const uint32_t jump_frame_ms = jump[0] / 34;
    struct Case {
        const char* name;
        bool film_skipped;
        uint32_t release_at; // ms after the film; 0 none
        std::vector<std::string> steps;
        size_t landings;
        int back_frame; // the picture the back buffer holds at the end, -1 untouched
        const char* shot;
    };
    const std::vector<std::string> all = {"board",     "opening", "jump-in 3",
                                          "jump-in 7", "final",   "closing 3"};
    auto first = [&](size_t n) { return std::vector<std::string>(all.begin(), all.begin() + n); };
    const Case cases[] = {
        {"film", true, 0, {}, 0, -1, "film"},
        {"opening", false, opening / 2, first(2), 0, INTRO_BOARD_FRAME, "opening"},
        // The landing sound plays as the 20th frame shows, 19 frames in.
        {"first jump-in just before its landing", false,
         opening + (INTRO_JUMP_SOUND_FRAME - 1) * jump_frame_ms - 1, first(3), 0, -1, "jump_in"},
        {"first jump-in just after its landing", false,
         opening + (INTRO_JUMP_SOUND_FRAME - 1) * jump_frame_ms + 1, first(3), 1, -1, "landing"},
        {"second jump-in after its landing", false, opening + jump[0] + 25 * jump_frame_ms,
         first(4), 2, -1, "landed"},
        {"first closing move", false, opening + jump[0] + jump[1] + closing0 / 2, first(6), 2,
         INTRO_FINAL_FRAME, "closing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        paint_screen(SENTINEL);
        shown_clear();
        headless_calls.clear();
        app_services.avi_play = c.film_skipped
                                    ? [](const char*, const PlatRect*, int) { return 1; }
                                    : [](const char*, const PlatRect*, int) { return 0; };
        const uint32_t start = plat_tick_count();
        if (c.release_at) at(start + c.release_at, SCRIPT_KEY_UP, 0x20);
        intro_run();
        plat_drain_input();
        EXPECT_EQ(position_of(headless_calls, "music_next_background 1"), 0);
        EXPECT_EQ(steps_shown(), c.steps);
        EXPECT_EQ(shown_count(Shown::Effect, INTRO_EFFECT_LANDING), c.landings);
        // It ended at the skip, within the frame that took it.
        const uint32_t took = plat_tick_count() - start;
        EXPECT_GE(took, c.release_at);
        EXPECT_LE(took, c.release_at + jump_frame_ms * 2);
        if (c.back_frame >= 0) {
            EXPECT_EQ(differs_from(pictures, c.back_frame, false), 0);
        }
        if (c.film_skipped) {
            EXPECT_EQ(screen_differs(0, 0, 640, 480, SENTINEL), 0) << "nothing drawn";
        }
        shot(c.shot);
    }
}

TEST_F(Intro, TheWaitingPortraitIsTheCharacterDarkenedInsideItsFrameOnTheBoard) {
    // Skipped in the second player's jump-in before anything moved: the
    // back buffer holds what that player waits in.
    const uint32_t release =
        length_of(INTRO_OPENING_ENTRY) + length_of(INTRO_JUMP_IN_FIRST + CHARACTERS[0]) + 1;
    at(plat_tick_count() + release, SCRIPT_KEY_UP, 0x20);
    intro_run();
    const ImageRecord* board = spr_frame(pictures, INTRO_BOARD_FRAME);
    const ImageRecord* face = spr_frame(pictures, INTRO_PORTRAIT_FIRST + CHARACTERS[1]);
    const ImageRecord* frame = spr_frame(pictures, INTRO_PORTRAIT_FRAME);
    ASSERT_TRUE(board && face && frame);
    const int face_left = INTRO_PORTRAIT_X - face->hot_x, face_top = INTRO_PORTRAIT_Y - face->hot_y;
    const int frame_left = INTRO_FRAME_X - frame->hot_x, frame_top = INTRO_FRAME_Y - frame->hot_y;
    int dark = 0, framed = 0, board_seen = 0, wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            uint16_t want = board->pixels[y * board->width + x];
            const int fx = x - face_left, fy = y - face_top;
            bool in_face = false;
            if (fx >= 0 && fy >= 0 && fx < face->width && fy < face->height) {
                const uint16_t p = face->pixels[fy * face->width + fx];
                if (p != 0) {
                    gfx_brightness_run(&want, &p, 2, -INTRO_PORTRAIT_DARKEN);
                    in_face = true;
                }
            }
            const int rx = x - frame_left, ry = y - frame_top;
            bool in_frame = false;
            if (rx >= 0 && ry >= 0 && rx < frame->width && ry < frame->height &&
                frame->pixels[ry * frame->width + rx] != 0) {
                want = frame->pixels[ry * frame->width + rx];
                in_frame = true;
            }
            if (back_at(x, y) != want) ++wrong;
            if (in_frame)
                ++framed;
            else if (in_face)
                ++dark;
            else
                ++board_seen;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(dark, 100 * 100) << "the portrait shows in the frame's window";
    EXPECT_GT(framed, 0);
    // Darkened means darker: the portrait's brightest pixel lost brightness.
    uint16_t lit = 0, dimmed = 0;
    gfx_brightness_run(&dimmed, &face->pixels[face->width * 10 + 10], 2, -INTRO_PORTRAIT_DARKEN);
    lit = face->pixels[face->width * 10 + 10];
    EXPECT_LT(dimmed & 0x1F, lit & 0x1F);
}

TEST_F(Intro, WithoutItsPicturesOrAnimationsItDrawsNothingAndStillStartsTheMusic) {
    // A JUMP.MKF whose intro entries are damaged: a picture entry that is no
    // frame set, an opening that is no animation, a jump-in cut inside its
    // first frame chunk; the others missing.
    ArchiveWriter damaged;
    mkf_writer_add(damaged, INTRO_PICTURES_ENTRY, Bytes{'S', 'M', 'P', 0, 0xFF, 0xFF, 0xFF, 0x7F});
    mkf_writer_add(damaged, INTRO_OPENING_ENTRY, Bytes(100, 0x5A));
    Bytes cut(131, 0);
    cut[4] = 0x12;
    cut[5] = 0xAF; // the magic
    cut[6] = 1;    // one frame
    cut[8] = 16;   // 16 x 16
    cut[10] = 16;
    cut[16] = 40;
    mkf_writer_add(damaged, INTRO_JUMP_IN_FIRST + CHARACTERS[0], cut);
    expect_told_once_when_missing_or_damaged(
        "JUMP.MKF", damaged,
        [&] {
            paint_screen(SENTINEL);
            headless_calls.clear();
            intro_run();
            intro_run();
            EXPECT_EQ(position_of(headless_calls, "music_next_background 1"), 1);
            EXPECT_EQ(screen_differs(0, 0, 640, 480, SENTINEL), 0);
            EXPECT_EQ(flc_player.data, nullptr);
        },
        true);
}

class IntroHeadless : public HeadlessTest {};

TEST_F(IntroHeadless, WithNoDisplayItRecordsTheMapsFilmAndTheMusicAndReturnsAtOnce) {
    struct Case {
        int map;
        const char* film; // nullptr: none asked
    };
    const Case cases[] = {{0, "FLYTW.AVI"}, {1, "FLYCHINA.AVI"}, {2, "FLYJP.AVI"},
                          {3, "FLYUS.AVI"}, {4, nullptr},        {-1, nullptr}};
    game_player_count = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.map);
        headless_calls.clear();
        shown_clear();
        game_map = c.map;
        const uint32_t start = plat_tick_count();
        intro_run();
        std::vector<std::string> want;
        if (c.film) want.push_back(std::string("avi_play ") + c.film);
        want.push_back("music_next_background 1");
        EXPECT_EQ(headless_calls, want);
        EXPECT_EQ(plat_tick_count(), start);
        EXPECT_EQ(shown_count(Shown::Panel), 0u);
    }
}

} // namespace
