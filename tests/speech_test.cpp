#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/speech.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "data/speech_lines.h"
#include "engine/balloon.h"
#include "engine/draw.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "finance/stock.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/settings.h"
#include "support/map_fixture.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0C63;

// ---- The lines and their markers

TEST(SpeechLines, EveryLineStartsWithItsOwnVoiceAndHasWords) {
    for (int c = 0; c < SPEECH_CHARACTERS; ++c)
        for (int row = 0; row < SPEECH_ROWS; ++row) {
            const char* line = speech_line(c, row);
            ASSERT_NE(line, nullptr);
            const char* rest = nullptr;
            EXPECT_EQ(speech_voice_marker(line, &rest), SPEECH_FIRST_VOICE + 27 * c + row)
                << c << " " << row;
            EXPECT_GT(std::strlen(rest), 1u) << c << " " << row;
        }
    EXPECT_STREQ(speech_line(0, 0), "#1050别忌妒我！");
    EXPECT_STREQ(speech_line(0, 26), "#1076我要再接再励，\n永往直前！");
    EXPECT_EQ(speech_line(12, 0), nullptr);
    EXPECT_EQ(speech_line(0, 27), nullptr);
    EXPECT_EQ(speech_line(-1, 0), nullptr);
}

TEST(SpeechLines, AMarkerIsAHashAndFourAsciiDigits) {
    struct Case {
        const char* text;
        int voice;
        size_t skipped;
    };
    const Case cases[] = {
        {"#0123ab", 123, 5}, {"#0415@03", 415, 5}, {"#12", -1, 0},  {"#", -1, 0},
        {"#12a4xy", -1, 0},  {"", -1, 0},          {"0123", -1, 0}, {"#9999", 9999, 5},
    };
    for (const Case& c : cases) {
        const char* rest = nullptr;
        EXPECT_EQ(speech_voice_marker(c.text, &rest), c.voice) << c.text;
        EXPECT_EQ(rest, c.text + c.skipped) << c.text;
    }
    EXPECT_EQ(speech_voice_marker(nullptr, nullptr), -1);
}

// ---- The pickers (no display: the bubble only records what it was asked)

class Pickers : public ::testing::Test {
  protected:
    void SetUp() override {
        game_state_reset();
        map_fixture_reset();
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            player_table[p].control = CTRL_HUMAN;
            player_table[p].character = static_cast<uint8_t>(p + 3);
        }
        game_price_index = 2;
        shown_clear();
    }
    void TearDown() override { map_fixture_reset(); }
    // The row of player 1's character that was shown last, -1 none.
    static int shown_row() {
        const ShownEvent* last = nullptr;
        for (const ShownEvent& e : shown_log())
            if (e.kind == Shown::Speech) last = &e;
        if (!last) return -1;
        for (int row = 0; row < SPEECH_ROWS; ++row)
            if (last->text == speech_line(4, row)) return row;
        return -2;
    }
};

using Picker = void (*)(int, int32_t);
struct PickCase {
    const char* name;
    Picker pick;
    int32_t value;
    int row, or_row; // or_row: the other row a random bit may choose (-1 none)
};

TEST_F(Pickers, EachPicksItsRowsByThresholdsScaledByThePriceIndex) {
    const PickCase cases[] = {
        {"percent over 100", speech_react_percent, 101, 0, -1},
        {"percent over 50", speech_react_percent, 51, 0, 1},
        {"percent 50", speech_react_percent, 50, 2, -1},
        {"percent -5", speech_react_percent, -5, 2, -1},
        {"percent 0", speech_react_percent, 0, -1, -1},
        {"count 7", speech_react_count, 7, 3, -1},
        {"count 4", speech_react_count, 4, 3, 4},
        {"count 3", speech_react_count, 3, 5, -1},
        {"count 0", speech_react_count, 0, -1, -1},
        {"gain 9000 N", speech_react_gain, 18000, 6, -1},
        {"gain 5000 N", speech_react_gain, 10000, 6, 7},
        {"gain 2000 N", speech_react_gain, 4000, 8, -1},
        {"gain 1999 N", speech_react_gain, 3998, -1, -1},
        {"pay 9000 N", speech_react_pay, 18000, 9, -1},
        {"pay 5000 N", speech_react_pay, 9999 + 1, 9, 10},
        {"pay 1", speech_react_pay, 1, 11, -1},
        {"pay 0", speech_react_pay, 0, -1, -1},
        {"spared 9000 N", speech_react_spared, 18000, 12, -1},
        {"spared 5000 N", speech_react_spared, 17999, 12, 13},
        {"spared 1", speech_react_spared, 1, 14, -1},
        {"spared 0", speech_react_spared, 0, -1, -1},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            shown_clear();
            speech_last_text = nullptr;
            game_srand(seed);
            c.pick(1, c.value);
            const int row = shown_row();
            if (c.or_row < 0)
                EXPECT_EQ(row, c.row);
            else
                EXPECT_TRUE(row == c.row || row == c.or_row) << row;
        }
    }
}

TEST_F(Pickers, TheRivalLineOnlyForTheMainRivalAndABigEnoughAmount) {
    player_table[1].grudge[2] = 50;
    player_table[1].grudge[3] = 10;
    int shown = 0;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        game_srand(seed);
        const int bit = game_rand() & 1;
        game_srand(seed);
        speech_last_text = nullptr;
        shown_clear();
        const int r = speech_react_rival_pays(1, 2, 10000);
        EXPECT_EQ(r, bit);
        EXPECT_EQ(shown_row(), bit ? 18 : -1);
        shown += r;
    }
    EXPECT_GT(shown, 0);
    game_srand(1);
    EXPECT_EQ(speech_react_rival_pays(1, 3, 100000), 0) << "not the main rival";
    EXPECT_EQ(speech_react_rival_pays(1, 2, 9999), 0) << "below 5000 N";
}

TEST_F(Pickers, AStreetLineWhenTheMoverOwnsThreePlotsOfIt) {
    MapFixture f;
    f.square(100, 100, SQ_EMPTY);
    for (int i = 0; i < 4; ++i)
        f.lot(10 * i, 0, i < 3 ? owner_of_seat(1) : OWNER_NONE);
    ASSERT_TRUE(f.load());
    for (int i = 1; i <= map_lot_count; ++i)
        std::strcpy(map_lot_table[i].street, "Elm");
    game_active_mover = 1;
    speech_react_lot_group("Elm", 0);
    EXPECT_EQ(shown_row(), 16);
    shown_clear();
    speech_react_lot_group("Oak", 0);
    EXPECT_EQ(shown_row(), -1);
    int shown = 0;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        game_srand(seed);
        const bool one_in_three = game_rand() % 3 == 0;
        game_srand(seed);
        shown_clear();
        speech_last_text = nullptr;
        speech_react_lot_group("Elm", 1);
        EXPECT_EQ(shown_row(), one_in_three ? 17 : -1);
        shown += one_in_three;
    }
    EXPECT_GT(shown, 0);
    map_lot_table[3].owner = OWNER_NONE;
    shown_clear();
    speech_last_text = nullptr;
    speech_react_lot_group("Elm", 0);
    EXPECT_EQ(shown_row(), -1) << "two plots are not enough";
}

// ---- The bubble and the balloon on a display

class Bubble : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_state_reset();
        paint_screen(BACKGROUND);
        map_archive = mkf_open("MAP.MKF");
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            player_table[p].control = CTRL_HUMAN;
            player_table[p].character = static_cast<uint8_t>(p);
            actor_anim_table[p].portrait =
                static_cast<FrameSet*>(mkf_read(map_archive, 15 + p, nullptr, nullptr));
        }
        speech_last_text = nullptr;
        shown_clear();
        t0 = plat_tick_count();
        g_snapshot.clear();
        plat_set_cursor_hook(snapshot);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            spr_unlink(actor_anim_table[p].portrait);
            std::free(actor_anim_table[p].portrait);
            actor_anim_table[p].portrait = nullptr;
        }
        mkf_close(map_archive);
        settings_set_sound_level(4);
        PopupTest::TearDown();
    }
    // The display as the layer last saw it while something was shown.
    static void snapshot() {
        if (PopupTest::screen_differs(0, 40, 440, 260, BACKGROUND) == 0) return;
        g_snapshot.assign(primary_surface->pixels, primary_surface->pixels + 640 * 480);
    }
    static uint16_t seen(int x, int y) { return g_snapshot[y * 640 + x]; }
    // The pixel (px, py) of frame n of set drawn with its hot spot at (x, y) was seen.
    static bool frame_pixel_seen(const void* set, int n, int x, int y, int px, int py) {
        const ImageRecord* f = spr_frame(set, n);
        if (!f || g_snapshot.empty()) return false;
        const uint16_t p = f->pixels[py * f->width + px];
        return p && seen(x - f->hot_x + px, y - f->hot_y + py) == p;
    }
    // Every lit pixel of frame n of set drawn with its hot spot at (x, y) was seen.
    static bool frame_seen(const void* set, int n, int x, int y) {
        const ImageRecord* f = spr_frame(set, n);
        if (!f || g_snapshot.empty()) return false;
        for (int j = 0; j < f->height; ++j)
            for (int i = 0; i < f->width; ++i) {
                const uint16_t p = f->pixels[j * f->width + i];
                if (p && seen(x - f->hot_x + i, y - f->hot_y + j) != p) return false;
            }
        return true;
    }
    static inline std::vector<uint16_t> g_snapshot;
    int map_archive = -1;
    uint32_t t0 = 0;
};

TEST_F(Bubble, ShowsThePanelAndTheFaceForAtLeastOneSecondThenRestoresTheBoard) {
    // The bubble first scrolls the view to the player; draw that view here so
    // that what the bubble must leave behind is known.
    board_view_refresh(player_table[2].x, player_table[2].y, 0);
    const std::vector<uint16_t> board(primary_surface->pixels, primary_surface->pixels + 640 * 480);
    g_snapshot.clear();
    shown_clear();
    const char* line = speech_line(2, 8);
    speech_bubble(2, 3, line);
    EXPECT_GE(plat_tick_count() - t0, 1000u);
    EXPECT_TRUE(frame_pixel_seen(board_panel_set, 6, 220, 130, 10, 60));
    EXPECT_TRUE(frame_pixel_seen(board_panel_set, 6, 220, 130, 150, 4));
    EXPECT_TRUE(frame_seen(actor_anim_table[2].portrait, 4, 170, 130)) << "expression 3: frame 4";
    EXPECT_FALSE(frame_seen(actor_anim_table[2].portrait, 1, 170, 130));
    EXPECT_EQ(shown_count(Shown::BoardRefresh), 1u) << "the view went to the player";
    EXPECT_EQ(shown_count(Shown::Voice, 1050 + 27 * 2 + 8), 1u);
    EXPECT_TRUE(std::equal(board.begin(), board.end(), primary_surface->pixels))
        << "the board under the bubble is back";
}

TEST_F(Bubble, APictureMarkerShowsItsPictureAndPlaysTheVoice) {
    speech_bubble(SPEECH_NO_SCROLL | 1, 0, "#0415@03");
    EXPECT_TRUE(frame_seen(board_picture_set, 2, 240, 130));
    EXPECT_FALSE(frame_seen(board_picture_set, 3, 240, 130));
    EXPECT_EQ(shown_count(Shown::Voice, 415), 1u);
    EXPECT_EQ(shown_count(Shown::BoardRefresh), 0u) << "0x8000: no scrolling";
    EXPECT_EQ(shown_log()[0].number, 1) << "the flag is not part of the player";
}

TEST_F(Bubble, BadMarkersAreDrawnAsTheyStandAndPictureZeroDrawsNone) {
    for (const char* text : {"#12", "#", "@00", "#0007@00", "#12a4@01"}) {
        SCOPED_TRACE(text);
        g_snapshot.clear();
        shown_clear();
        speech_bubble(SPEECH_NO_SCROLL | 0, 0, text);
        EXPECT_TRUE(frame_pixel_seen(board_panel_set, 6, 220, 130, 10, 60));
        for (int n = 0; n < spr_frame_count(board_picture_set); ++n)
            EXPECT_FALSE(frame_seen(board_picture_set, n, 240, 130)) << n;
        EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
    }
}

TEST_F(Bubble, NothingForASleepwalkerOrAPlayerOutsideTheTableButTheTextIsRemembered) {
    player_table[1].sleepwalk_days = 2;
    const char* line = speech_line(1, 21);
    speech_bubble(1, 0, line);
    EXPECT_EQ(speech_last_text, line);
    EXPECT_TRUE(g_snapshot.empty());
    EXPECT_EQ(plat_tick_count(), t0);
    const char* other = speech_line(1, 22);
    speech_bubble(SPEECH_NO_SCROLL | 5, 0, other);
    EXPECT_EQ(speech_last_text, other);
    EXPECT_TRUE(g_snapshot.empty());
    player_table[1].sleepwalk_days = 0;
    speech_bubble(1, 0, other);
    EXPECT_TRUE(g_snapshot.empty()) << "the same line twice in a row is shown once";
    EXPECT_EQ(plat_tick_count(), t0);
}

// The bubble after a map load: the faces are the ones the map load read
// for the board, and the panel is the board's own set, read once.
class BubbleAfterMapLoad : public Bubble {
  protected:
    void SetUp() override {
        Bubble::SetUp();
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            spr_unlink(actor_anim_table[p].portrait);
            std::free(actor_anim_table[p].portrait);
            actor_anim_table[p].portrait = nullptr;
        }
        board_panels_free();
        game_world_reset();
        game_map = 0;
        game_player_count = 4;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            player_table[p].control = CTRL_HUMAN;
            player_table[p].setup_control = CTRL_HUMAN;
            player_table[p].character = static_cast<uint8_t>(3 + p);
        }
        stock_new_game(game_map);
        ASSERT_TRUE(map_load()) << map_last_error();
        paint_screen(BACKGROUND);
    }
    void TearDown() override {
        map_free();
        game_world_reset();
        Bubble::TearDown();
    }
};

TEST_F(BubbleAfterMapLoad, ShowsThePlayersFaceFromTheLoadedPortraits) {
    ASSERT_NE(view_portrait_set(1), nullptr);
    EXPECT_EQ(actor_anim_table[1].portrait, view_portrait_set(1)) << "one set, shared";
    EXPECT_EQ(view_board_marks(), board_panel_set) << "one panel set, shared";
    speech_bubble(SPEECH_NO_SCROLL | 1, 3, speech_line(4, 8));
    EXPECT_TRUE(frame_pixel_seen(board_panel_set, 6, 220, 130, 10, 60));
    EXPECT_TRUE(frame_seen(view_portrait_set(1), 4, 170, 130)) << "expression 3: frame 4";
    EXPECT_FALSE(frame_seen(view_portrait_set(0), 4, 170, 130)) << "not another player's face";
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

TEST_F(Bubble, WithoutItsPicturesTheBubbleStillShowsItsWords) {
    board_panels_free();
    spr_unlink(actor_anim_table[0].portrait);
    std::free(actor_anim_table[0].portrait);
    actor_anim_table[0].portrait = nullptr;
    speech_bubble(SPEECH_NO_SCROLL | 0, 2, speech_line(0, 3));
    ASSERT_FALSE(g_snapshot.empty()) << "the words were drawn";
    int lit = 0;
    for (int y = 40; y < 260; ++y)
        for (int x = 0; x < 440; ++x)
            lit += seen(x, y) != BACKGROUND;
    EXPECT_LT(lit, 2000) << "only the words";
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

// ---- The balloon

class Balloon : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        paint_screen(BACKGROUND);
        balloon_set(spr_frame(board_panel_set, 5), 320, 200, 0, 0, 0xF0F0F0, 0x101010);
    }
    void TearDown() override {
        settings_set_sound_level(4);
        snd_voice_stop();
        snd_shutdown();
        PopupTest::TearDown();
    }
};

TEST_F(Balloon, StaysTwoSecondsAndWhileItsVoicePlaysUnlessTheSoundIsOff) {
    snd_init(0);
    struct Case {
        const char* name;
        int voice;
        uint8_t level;
    };
    const Case cases[] = {{"no voice", -1, 4}, {"a voice", 127, 4}, {"a voice, sound off", 127, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings_set_sound_level(c.level);
        plat_clock_advance_to(plat_tick_count() + 10);
        const uint32_t t0 = plat_tick_count();
        if (c.voice >= 0) snd_voice_play(c.voice);
        balloon_show("words");
        EXPECT_NE(balloon_shown_time(), 0u);
        EXPECT_NE(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
        plat_clock_advance_to(t0 + 1500);
        EXPECT_EQ(balloon_hide(0), 0);
        plat_clock_advance_to(t0 + 2000);
        const bool voice_on = c.level != 0 && snd_voice_playing();
        if (c.voice >= 0 && c.level != 0) {
            ASSERT_TRUE(voice_on) << "the clip outlasts 2 s";
        }
        EXPECT_EQ(balloon_hide(0), voice_on ? 0 : 1);
        if (voice_on) {
            while (snd_voice_playing())
                plat_clock_advance_to(plat_tick_count() + 100);
            EXPECT_EQ(balloon_hide(0), 1);
        }
        EXPECT_EQ(balloon_shown_time(), 0u);
        EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
        EXPECT_EQ(balloon_hide(0), 1) << "nothing shown";
        snd_voice_stop();
    }
}

TEST_F(Balloon, ASecondShowStillHidesToTheScreenBeforeTheFirst) {
    balloon_show("one");
    balloon_set(spr_frame(board_panel_set, 5), 330, 210, 0, 0, 0xF0F0F0, 0);
    balloon_show("two");
    EXPECT_EQ(balloon_hide(BALLOON_HIDE_NOW), 1);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

TEST_F(Balloon, HiddenAtOnceWithFlagOneAndLeftOnTheDisplayWithFlagTwo) {
    balloon_show("now");
    EXPECT_EQ(balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY), 1);
    EXPECT_NE(screen_differs(0, 0, 640, 480, BACKGROUND), 0) << "not copied to the display";
    int differs = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            differs += back_at(x, y) != BACKGROUND;
    EXPECT_EQ(differs, 0) << "but gone from the back buffer";
}

TEST_F(Balloon, NothingWithoutAPicture) {
    balloon_set(nullptr, 100, 100, 0, 0, 0, 0);
    balloon_show("x");
    EXPECT_EQ(balloon_shown_time(), 0u);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

} // namespace
