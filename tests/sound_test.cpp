// Sound effects, voice clips and the mixer behind them, on SDL's dummy audio
// driver with the virtual clock; the effects and voices are the stand-in
// data set's.
#include "board/game_state.h"
#include "board/map.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/sound_wave.h"
#include "finance/stock.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "shell/app.h"
#include "support/headless.h"
#include "support/map_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put_u32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put_u16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put_chunk(Bytes& b, const char* id, uint32_t size, const Bytes& body) {
    b.insert(b.end(), id, id + 4);
    put_u32(b, size);
    b.insert(b.end(), body.begin(), body.end());
}

// A WAVE image: the format block, any chunks in between, then "data".
Bytes wave(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& between,
           uint32_t data_size, const Bytes& samples) {
    Bytes b{'R', 'I', 'F', 'F'};
    put_u32(b, 0);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put_u32(b, 16);
    put_u16(b, tag);
    put_u16(b, channels);
    put_u32(b, rate);
    put_u32(b, rate * channels * bits / 8);
    put_u16(b, static_cast<uint16_t>(channels * bits / 8));
    put_u16(b, bits);
    b.insert(b.end(), between.begin(), between.end());
    put_chunk(b, "data", data_size, samples);
    return b;
}

Bytes ramp(size_t n) {
    Bytes s(n);
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<uint8_t>(i * 7);
    return s;
}

Bytes chunk(const char* id, uint32_t size, size_t body) {
    Bytes b;
    put_chunk(b, id, size, Bytes(body, 0));
    return b;
}

// Milliseconds a clip of the data set lasts.
uint32_t clip_ms(int archive, int entry) {
    uint32_t size = 0;
    void* p = mkf_read(archive, entry, nullptr, &size);
    EXPECT_NE(p, nullptr) << "entry " << entry;
    WaveData w{};
    bool ok = p && wave_parse(p, size, &w);
    std::free(p);
    EXPECT_TRUE(ok) << "entry " << entry;
    if (!ok) return 0;
    uint32_t frames = w.bytes / (w.format.channels * w.format.bits_per_sample / 8u);
    return static_cast<uint32_t>(uint64_t{frames} * 1000 / w.format.samples_per_sec);
}

// Lets virtual time pass without taking any message.
void pass_until(uint32_t t) {
    plat_clock_advance_to(t);
}

const ShownEvent* last_wait(int32_t number) {
    const ShownEvent* found = nullptr;
    for (const ShownEvent& e : shown_log())
        if (e.kind == Shown::Wait && e.number == number) found = &e;
    return found;
}

} // namespace

TEST(WaveReading, ReadsWhatTheImageHoldsAndNeverPastIt) {
    struct Case {
        const char* name;
        Bytes image;
        bool ok;
        uint16_t channels, bits;
        uint32_t rate, bytes;
    };
    Bytes big_chunk = chunk("LIST", 0xFFFFFFF0u, 4);
    const Case cases[] = {
        {"good", wave(1, 1, 22050, 8, {}, 40, ramp(40)), true, 1, 8, 22050, 40},
        {"data size past the entry", wave(1, 1, 22050, 8, {}, 5000, ramp(40)), true, 1, 8, 22050,
         40},
        {"no data chunk",
         [] {
             Bytes b = wave(1, 1, 22050, 8, {}, 0, {});
             b.resize(b.size() - 8);
             put_chunk(b, "junk", 4, ramp(4));
             return b;
         }(),
         false, 0, 0, 0, 0},
        {"odd chunk padded", wave(1, 1, 11025, 8, chunk("LIST", 3, 4), 10, ramp(10)), true, 1, 8,
         11025, 10},
        {"odd chunk not padded", wave(1, 1, 11025, 8, chunk("LIST", 3, 3), 10, ramp(10)), true, 1,
         8, 11025, 10},
        {"16-bit stereo", wave(1, 2, 44100, 16, {}, 64, ramp(64)), true, 2, 16, 44100, 64},
        {"not PCM", wave(3, 1, 22050, 32, {}, 40, ramp(40)), false, 0, 0, 0, 0},
        {"chunk size past the end", wave(1, 1, 22050, 8, big_chunk, 8, ramp(8)), false, 0, 0, 0, 0},
        {"not RIFF",
         [] {
             Bytes b = wave(1, 1, 22050, 8, {}, 8, ramp(8));
             b[0] = 'X';
             return b;
         }(),
         false, 0, 0, 0, 0},
        {"shorter than the format block", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},
         false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaveData w{};
        ASSERT_EQ(wave_parse(c.image.data(), static_cast<uint32_t>(c.image.size()), &w), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(w.format.channels, c.channels);
        EXPECT_EQ(w.format.bits_per_sample, c.bits);
        EXPECT_EQ(w.format.samples_per_sec, c.rate);
        EXPECT_EQ(w.bytes, c.bytes);
        EXPECT_EQ(std::memcmp(w.samples, ramp(c.bytes).data(), c.bytes), 0);
    }
}

TEST(Mixer, GainFollowsHundredthsOfADecibel) {
    const struct {
        int32_t v;
        int32_t gain;
    } cases[] = {{0, 65536},     {500, 65536},  {-2000, 6554},
                 {-1000, 20724}, {-500, 36854}, {-10000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(mixer_gain_from_hundredths_db(c.v), c.gain) << c.v;
}

TEST(Mixer, ConvertsResamplesLinearlyAndClampsTheSum) {
    Mixer m;
    // 8-bit unsigned mono at half the device rate: every other output frame
    // lies halfway between two samples, on both channels.
    const uint8_t u8[] = {128, 192, 64};
    MixerSound* a = m.create_sound({1, 22050, 8}, u8, sizeof u8);
    ASSERT_NE(a, nullptr);
    a->playing = true;
    int16_t out[12];
    m.render(out, 6);
    const int16_t want[] = {0, 0, 8192, 8192, 16384, 16384, 0, 0, -16384, -16384, -16384, -16384};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(out[i], want[i]) << i;
    EXPECT_FALSE(a->playing) << "ends after its last sample";

    // From the lowest to the highest sample, three quarters of the way.
    const int16_t edges[] = {-32768, 32767};
    MixerSound* e = m.create_sound({1, 33075, 16}, edges, sizeof edges);
    e->playing = true;
    m.render(out, 2);
    EXPECT_EQ(out[0], -32768);
    EXPECT_EQ(out[2], 16383);
    m.release_sound(e);

    // Two loud 16-bit stereo sounds: the sum stops at the 16-bit limits.
    const int16_t loud[] = {30000, -30000, 30000, -30000};
    MixerSound* b = m.create_sound({2, 44100, 16}, loud, sizeof loud);
    MixerSound* c = m.create_sound({2, 44100, 16}, loud, sizeof loud);
    b->playing = c->playing = true;
    m.render(out, 2);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
}

TEST(Mixer, RefusesFormatsItCannotPlay) {
    Mixer m;
    const uint8_t s[8] = {};
    EXPECT_EQ(m.create_sound({1, 96000, 8}, s, 8), nullptr);
    EXPECT_EQ(m.create_sound({3, 22050, 8}, s, 8), nullptr);
    EXPECT_EQ(m.create_sound({1, 22050, 24}, s, 8), nullptr);
    EXPECT_EQ(m.create_sound({2, 22050, 16}, s, 3), nullptr) << "less than one frame";
    EXPECT_NE(m.create_sound({2, 8000, 16}, s, 8), nullptr);
}

TEST(Mixer, TimePassedUnheardEndsAndLoopsWhereSoundWould) {
    std::vector<uint8_t> pcm(1001);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<uint8_t>(i);
    Mixer heard, unheard;
    MixerSound* h = heard.create_sound({1, 11025, 8}, pcm.data(), 1001);
    MixerSound* u = unheard.create_sound({1, 11025, 8}, pcm.data(), 1001);
    h->playing = u->playing = h->looping = u->looping = true;
    std::vector<int16_t> out(2 * 4999);
    for (int round = 0; round < 3; ++round) {
        heard.render(out.data(), 4999);
        unheard.render(nullptr, 4999);
        EXPECT_EQ(h->position, u->position) << round;
    }
    h->looping = u->looping = false;
    heard.render(out.data(), 4999);
    unheard.render(nullptr, 4999);
    EXPECT_FALSE(h->playing);
    EXPECT_FALSE(u->playing);
}

class SoundTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        plat_set_data_dir(KARVO_TEST_DATA_DIR);
        mkf_reset();
        back_surface = plat_surface_create(640, 480, false);
        snd_disabled = 0;
        sound_level = 4;
        ASSERT_EQ(snd_init(0), 1);
        speech_archive = mkf_open("speaking.mkf");
        effects_ = mkf_open("EFFECT.MKF");
        ASSERT_GE(speech_archive, 0);
        ASSERT_GE(effects_, 0);
        // Waits here end with the voice, not when the script has run out.
        plat_script_set_close_at_end(false);
        shown_clear();
    }
    void TearDown() override {
        snd_shutdown();
        for (EffectListEntry& e : board_effects)
            e.buffer = nullptr;
        mkf_reset();
        speech_archive = -1;
        snd_disabled = 0;
        sound_level = 4;
        HeadlessTest::TearDown();
    }
    int effects_ = -1;
};

TEST_F(SoundTest, AVoiceWaitLastsTheVoiceThenTheRestOfItsTime) {
    uint32_t voice = clip_ms(speech_archive, 2);
    ASSERT_GT(voice, 300u);
    uint32_t start = plat_tick_count();
    snd_voice_play(2);
    EXPECT_EQ(snd_voice_playing(), 1);
    snd_voice_wait(voice + 800);
    EXPECT_EQ(plat_tick_count() - start, voice + 800);
    EXPECT_EQ(snd_voice_playing(), 0);
    ASSERT_NE(last_wait(1), nullptr) << "the rest is a skippable wait";
    EXPECT_LE(last_wait(1)->ms, 800u);
    EXPECT_GE(last_wait(1)->ms, 775u) << "asked for once the voice had ended";
    EXPECT_EQ(shown_count(Shown::Voice, 2), 1u);
    EXPECT_EQ(plat_audio_sound_count(), 0) << "the voice's buffer is released";
}

TEST_F(SoundTest, AtLevelZeroNothingPlaysButTheVoiceWaitStillWaits) {
    sound_level = 0;
    EffectListEntry list[] = {{2, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    snd_effect_play(&list[0], 0);
    snd_voice_play(127);
    snd_extra_load(82);
    snd_extra_play();
    EXPECT_EQ(plat_audio_playing_count(), 0);
    EXPECT_EQ(snd_voice_playing(), 0);
    snd_voice_wait(1000);
    ASSERT_NE(last_wait(1), nullptr);
    EXPECT_EQ(last_wait(1)->ms, 1000u) << "the whole time is still waited";
    EXPECT_EQ(shown_count(Shown::Voice, 127), 1u) << "still recorded";
    snd_effects_free(list);
    snd_extra_free();
}

TEST_F(SoundTest, ANewVoiceStopsTheOneThatPlays) {
    snd_voice_play(123);
    pass_until(plat_tick_count() + 100);
    snd_voice_play(124);
    EXPECT_EQ(plat_audio_sound_count(), 1);
    EXPECT_EQ(plat_audio_playing_count(), 1);
    uint32_t start = plat_tick_count();
    snd_voice_wait(0);
    uint32_t passed = plat_tick_count() - start;
    uint32_t second = clip_ms(speech_archive, 124);
    EXPECT_GE(passed, second);
    EXPECT_LE(passed, second + 25) << "the second voice from its start";
}

TEST_F(SoundTest, AReleaseCutsTheVoiceWaitAndKeepsOtherMessages) {
    ASSERT_GT(clip_ms(speech_archive, 127), 1000u);
    open_window(); // the music notification goes to its procedure
    uint32_t start = plat_tick_count();
    key_down(start + 200, VK_SPACE);
    key_up(start + 400, VK_SPACE);
    plat_post_message(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    plat_post_message(WM_USER + 7, 1, 2);
    plat_set_timer(9, 50);
    snd_voice_play(127);
    snd_voice_wait(3000);
    EXPECT_EQ(plat_tick_count() - start, 400u) << "ends at the key-up";
    EXPECT_EQ(last_wait(1), nullptr) << "no further wait";
    EXPECT_EQ(snd_voice_playing(), 0);
    EXPECT_EQ(plat_audio_playing_count(), 0);
    // The music notification was handed on; the rest is still queued.
    EXPECT_EQ(count_calls("music_on_notify"), 1);
    std::vector<uint32_t> left;
    PlatMessage m;
    while (left.size() < 10 && plat_peek_message(&m, true))
        left.push_back(m.message);
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left[0], WM_USER + 7);
    EXPECT_EQ(std::count(left.begin(), left.end(), WM_TIMER), 1);
    EXPECT_EQ(std::count(left.begin(), left.end(), MM_MCINOTIFY), 0);
}

TEST_F(SoundTest, ButtonReleasesCutTheWaitAndPressesDoNot) {
    const uint32_t releases[] = {WM_LBUTTONUP, WM_RBUTTONUP};
    for (uint32_t release : releases) {
        uint32_t start = plat_tick_count();
        at(start + 100, SCRIPT_MOUSE_MOVE, 10, 10);
        at(start + 150, release == WM_LBUTTONUP ? SCRIPT_LEFT_DOWN : SCRIPT_RIGHT_DOWN);
        at(start + 300, release == WM_LBUTTONUP ? SCRIPT_LEFT_UP : SCRIPT_RIGHT_UP);
        snd_voice_play(127);
        snd_voice_wait(3000);
        EXPECT_EQ(plat_tick_count() - start, 300u) << release;
    }
}

TEST_F(SoundTest, ALoopPlaysUntilStoppedOrFreed) {
    EffectListEntry list[] = {{32, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    ASSERT_NE(list[0].buffer, nullptr);
    uint32_t length = clip_ms(effects_, 32);
    snd_effect_play(&list[0], 1);
    pass_until(plat_tick_count() + 10 * length + 7);
    EXPECT_TRUE(plat_sound_playing(static_cast<PlatSound>(list[0].buffer)));
    snd_effect_stop(&list[0]);
    EXPECT_FALSE(plat_sound_playing(static_cast<PlatSound>(list[0].buffer)));

    snd_effect_play(&list[0], 1);
    pass_until(plat_tick_count() + 3 * length);
    EXPECT_EQ(plat_audio_playing_count(), 1);
    snd_effects_free(list);
    EXPECT_EQ(list[0].buffer, nullptr);
    EXPECT_EQ(plat_audio_playing_count(), 0);
    EXPECT_EQ(plat_audio_sound_count(), 0);
}

TEST_F(SoundTest, AnEffectPlayedOnceEndsAtItsLengthInVirtualTime) {
    EffectListEntry list[] = {{2, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    auto buffer = static_cast<PlatSound>(list[0].buffer);
    uint32_t left = 0;
    snd_effect_play(&list[0], 0);
    left = plat_sound_ms_left(buffer);
    EXPECT_NEAR(static_cast<double>(left), clip_ms(effects_, 2), 1.0);
    uint32_t start = plat_tick_count();
    pass_until(start + left - 1);
    EXPECT_TRUE(plat_sound_playing(buffer));
    pass_until(start + left);
    EXPECT_FALSE(plat_sound_playing(buffer));
    // Played again, it starts from the beginning.
    snd_effect_play(&list[0], 0);
    EXPECT_EQ(plat_sound_ms_left(buffer), left);
    snd_effects_free(list);
}

TEST_F(SoundTest, WaitingForTheLastEffectStopsAfterASecond) {
    EffectListEntry list[] = {{2, nullptr}, {32, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    uint32_t start = plat_tick_count();
    snd_effect_play(&list[0], 0);
    snd_wait_last_effect();
    EXPECT_NEAR(static_cast<double>(plat_tick_count() - start), clip_ms(effects_, 2), 1.0);
    start = plat_tick_count();
    snd_effect_play(&list[1], 1);
    snd_wait_last_effect();
    EXPECT_EQ(plat_tick_count() - start, 1000u);
    snd_effects_free(list);
}

TEST_F(SoundTest, AScriptedRunThatHasClosedWaitsForALoopOnlyUpToTheLimit) {
    // The wait at shutdown ends at its limit while a travel sound loops,
    // also once the script has run out and the window is closing.
    EffectListEntry list[] = {{32, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    plat_script_set_close_at_end(true);
    const uint32_t start = plat_tick_count();
    snd_effect_play(&list[0], 1);
    snd_wait_last_effect();
    EXPECT_LE(plat_tick_count() - start, 1000u);
    EXPECT_TRUE(plat_sound_playing(static_cast<PlatSound>(list[0].buffer)));
    plat_script_set_close_at_end(false);
    snd_effects_free(list);
}

TEST_F(SoundTest, AtShutDownAfterTheScriptHasRunOutTheLastEffectStillEnds) {
    // The script's last line closed the window while a sound played.
    plat_script_set_close_at_end(true);
    plat_request_close();
    EffectListEntry list[] = {{2, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    const uint32_t start = plat_tick_count();
    snd_effect_play(&list[0], 0);
    snd_wait_last_effect();
    EXPECT_NEAR(static_cast<double>(plat_tick_count() - start), clip_ms(effects_, 2), 1.0);
    snd_effects_free(list);
}

TEST_F(SoundTest, EveryListPlaysAgainAfterAFilm) {
    // Seventeen open screens; the film shuts sound down and sets it up again.
    std::vector<EffectListEntry> lists(17 * 2);
    for (int i = 0; i < 17; ++i) {
        lists[2 * i] = {i % 5, nullptr};
        lists[2 * i + 1] = {-1, nullptr};
        snd_effects_load(&lists[2 * i]);
        ASSERT_NE(lists[2 * i].buffer, nullptr) << i;
    }
    EffectListEntry closed[] = {{1, nullptr}, {-1, nullptr}};
    snd_effects_load(closed);
    snd_effects_free(closed);
    snd_shutdown();
    EffectListEntry during[] = {{3, nullptr}, {-1, nullptr}};
    snd_effects_load(during); // opened while the film plays
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(lists[2 * i].buffer, nullptr) << "no list keeps a released buffer: " << i;
    ASSERT_EQ(snd_init(1), 1);
    for (int i = 0; i < 17; ++i)
        EXPECT_NE(lists[2 * i].buffer, nullptr) << i;
    EXPECT_EQ(closed[0].buffer, nullptr) << "a closed screen's list stays empty";
    EXPECT_NE(during[0].buffer, nullptr);
    snd_effects_free(during);
    EXPECT_EQ(plat_audio_sound_count(), 17);
    snd_effect_play(&lists[2 * 16], 0);
    EXPECT_EQ(plat_audio_playing_count(), 1);
    for (int i = 0; i < 17; ++i)
        snd_effects_free(&lists[2 * i]);
    EXPECT_EQ(plat_audio_sound_count(), 0);
    // Without reload the registry starts empty.
    snd_effects_load(&lists[0]);
    snd_shutdown();
    ASSERT_EQ(snd_init(0), 1);
    EXPECT_EQ(lists[0].buffer, nullptr);
}

TEST_F(SoundTest, WithoutADisplayNothingPlaysButEverythingIsRecorded) {
    EffectListEntry list[] = {{2, nullptr}, {-1, nullptr}};
    snd_effects_load(list);
    plat_surface_release(back_surface);
    back_surface = nullptr;
    uint32_t start = plat_tick_count();
    snd_effect_play(&list[0], 0);
    snd_voice_play(2);
    snd_voice_wait(1000);
    EXPECT_EQ(plat_audio_playing_count(), 0);
    EXPECT_EQ(plat_tick_count(), start);
    EXPECT_EQ(shown_count(Shown::Effect, 2), 1u);
    EXPECT_EQ(shown_count(Shown::Voice, 2), 1u);
    EXPECT_EQ(shown_count(Shown::Wait, SND_VOICE_WAIT), 1u);
    snd_effects_free(list);
}

TEST_F(SoundTest, TheBoardsListComesAndGoesWithTheMap) {
    snd_effects_load(board_effects);
    for (int i = 0; i < BOARD_EFFECT_COUNT; ++i)
        ASSERT_NE(board_effects[i].buffer, nullptr) << "element " << i;
    snd_board_effect_play(3, 1);
    snd_board_effect_play(24, 0); // past the list: nothing
    EXPECT_EQ(plat_audio_playing_count(), 1);
    pass_until(plat_tick_count() + 2000);
    EXPECT_EQ(plat_audio_playing_count(), 1);
    snd_board_effect_stop(3);
    EXPECT_EQ(plat_audio_playing_count(), 0);
    EXPECT_EQ(shown_count(Shown::BoardEffect, 3), 1u);
    snd_effects_free(board_effects);
    EXPECT_EQ(plat_audio_sound_count(), 0);
}

TEST_F(SoundTest, LoadingTheMapLoadsTheBoardsListAndFreeingItFreesIt) {
    map_fixture_reset();
    stock_new_game(0);
    game_map = 0;
    ASSERT_TRUE(map_load()) << map_last_error();
    for (int i = 0; i < BOARD_EFFECT_COUNT; ++i)
        EXPECT_NE(board_effects[i].buffer, nullptr) << "element " << i;
    EXPECT_EQ(plat_audio_sound_count(), BOARD_EFFECT_COUNT);
    map_free();
    for (int i = 0; i < BOARD_EFFECT_COUNT; ++i)
        EXPECT_EQ(board_effects[i].buffer, nullptr) << "element " << i;
    EXPECT_EQ(plat_audio_sound_count(), 0);
}

TEST_F(SoundTest, EveryEffectIsADistinctShortWaveOfTheGamesFormat) {
    std::set<uint64_t> seen; // a 64-bit FNV-1a of each effect's samples
    int count = 0;
    for (int e = 0; e < mkf_entry_count(effects_); ++e) {
        uint32_t size = 0;
        void* p = mkf_read(effects_, e, nullptr, &size);
        if (!p || size == 0) {
            std::free(p);
            continue;
        }
        SCOPED_TRACE(e);
        WaveData w{};
        ASSERT_TRUE(wave_parse(p, size, &w));
        EXPECT_EQ(w.format.channels, 1);
        EXPECT_EQ(w.format.bits_per_sample, 8);
        EXPECT_EQ(w.format.samples_per_sec, 22050u);
        EXPECT_GT(w.bytes, 22050u / 100);
        EXPECT_LT(w.bytes, 22050u * 2) << "short";
        uint64_t hash = 14695981039346656037ull;
        for (uint32_t i = 0; i < w.bytes; ++i)
            hash = (hash ^ w.samples[i]) * 1099511628211ull;
        EXPECT_TRUE(seen.insert(hash).second) << "distinct";
        std::free(p);
        ++count;
    }
    const int named[] = {0,   1,   2,   3,   4,   5,   7,   9,   10,  11,  12,  13,  14,  15,  16,
                         17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  32,  33,  34,  35,  36,
                         37,  38,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,
                         56,  62,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,
                         93,  94,  95,  96,  97,  98,  99,  101, 102, 103, 104, 105, 106, 107, 108,
                         109, 110, 111, 112, 113, 114, 115, 116, 117, 140, 141, 142, 143, 144, 145,
                         146, 147, 148, 149, 150, 151, 152, 153, 154};
    EXPECT_EQ(count, static_cast<int>(std::size(named)));
    for (int e : named)
        EXPECT_GT(clip_ms(effects_, e), 0u) << e;
}

TEST_F(SoundTest, EveryVoiceTheGamesLinesNameHasItsClip) {
    // The lines name their voice as "#" and four digits at their start.
    namespace fs = std::filesystem;
    fs::path src = fs::path(__FILE__).parent_path().parent_path() / "src";
    std::regex voice("\"#([0-9]{4})");
    std::set<int> named;
    for (const auto& f : fs::recursive_directory_iterator(src)) {
        if (!f.is_regular_file()) continue;
        std::ifstream in(f.path());
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator it(text.begin(), text.end(), voice), end; it != end; ++it)
            named.insert(std::stoi((*it)[1].str()));
    }
    ASSERT_FALSE(named.empty());
    for (int n : named) {
        SCOPED_TRACE(n);
        uint32_t size = 0;
        void* p = mkf_read(speech_archive, n, nullptr, &size);
        ASSERT_NE(p, nullptr);
        WaveData w{};
        EXPECT_TRUE(wave_parse(p, size, &w));
        EXPECT_EQ(w.format.samples_per_sec, 11025u);
        EXPECT_EQ(w.format.bits_per_sample, 8);
        EXPECT_EQ(w.format.channels, 1);
        EXPECT_GT(w.bytes, 11025u / 10) << "words, not an empty clip";
        std::free(p);
    }
}

TEST_F(SoundTest, TheExtraBufferIsReplacedByTheNextLoad) {
    snd_extra_load(82);
    snd_extra_play();
    EXPECT_EQ(plat_audio_playing_count(), 1);
    snd_extra_load(93);
    EXPECT_EQ(plat_audio_sound_count(), 1);
    EXPECT_EQ(plat_audio_playing_count(), 0);
    snd_extra_play();
    EXPECT_EQ(shown_count(Shown::Effect, 93), 1u);
    snd_extra_free();
    EXPECT_EQ(plat_audio_sound_count(), 0);
}

TEST_F(SoundTest, StreamsFollowVirtualTime) {
    struct Pull {
        uint64_t frames = 0;
        int silent_calls = 0;
    } pull;
    PlatStream s = plat_stream_create(
        [](void* user, int16_t* out, uint32_t frames) {
            auto* p = static_cast<Pull*>(user);
            p->frames += frames;
            if (!out) ++p->silent_calls;
        },
        &pull);
    PlatStream q = plat_stream_create(nullptr, nullptr);
    std::vector<int16_t> frames(2 * 44100, 100);
    plat_stream_write(q, frames.data(), 44100);
    plat_stream_play(s);
    plat_stream_play(q);
    uint32_t start = plat_tick_count();
    pass_until(start + 250);
    plat_audio_sync();
    uint64_t expect = uint64_t{start + 250} * 44100 / 1000 - uint64_t{start} * 44100 / 1000;
    EXPECT_EQ(pull.frames, expect);
    EXPECT_GT(pull.silent_calls, 0);
    EXPECT_EQ(plat_stream_frames_played(q), expect);
    EXPECT_EQ(plat_stream_queued(q), 44100 - expect);
    plat_stream_pause(s);
    pass_until(start + 500);
    EXPECT_EQ(plat_stream_frames_played(s), expect) << "paused";
    plat_stream_release(s);
    plat_stream_release(q);
}

TEST(SoundSetUp, EachFailingStepShowsItsMessageAndLeavesSoundOff) {
    const struct {
        int step;
        const char* text;
        const char* caption;
    } cases[] = {
        {1, "DirectSound Initial Error or SoundCard Not Found!", "WARNING"},
        {2, "DirectSound SetCooperativeLevel Error!", "ERROR"},
        {3, "DirectSound CreateSoundPrimaryBuffer Error!", "ERROR"},
        {4, "DirectSound SetFormat Error!", "ERROR"},
    };
    setenv("KARVO_HEADLESS", "1", 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        ASSERT_TRUE(plat_init());
        snd_disabled = 0;
        plat_audio_test_fail(c.step);
        EXPECT_EQ(snd_init(0), 0);
        EXPECT_EQ(snd_disabled, 1);
        EXPECT_EQ(plat_message_box_count(), 1);
        EXPECT_STREQ(plat_last_message_box(), c.text);
        EXPECT_STREQ(plat_last_message_box_caption(), c.caption);
        EXPECT_FALSE(plat_audio_open());
        // Off for the run: no second attempt, no second message, nothing made.
        plat_audio_test_fail(0);
        EXPECT_EQ(snd_init(1), 0);
        EXPECT_EQ(plat_message_box_count(), 1);
        Bytes image = wave(1, 1, 22050, 8, {}, 8, ramp(8));
        EXPECT_EQ(snd_buffer_from_wave(image.data(), static_cast<uint32_t>(image.size())), nullptr);
        plat_shutdown();
    }
    snd_disabled = 0;
}

// A machine whose audio system starts but has no device that opens (here
// SDL's file-writing driver with a file that cannot be made) has no sound
// card as far as the game can tell; the box is centred on the screen, the
// main window not being shown yet at start-up.
TEST(SoundSetUp, NoAudioDeviceThatOpensIsAMissingSoundCard) {
    setenv("KARVO_HEADLESS", "1", 1);
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = driver ? driver : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/nonexistent-directory/karvo-sound.raw", 1);
    ASSERT_TRUE(plat_init());
    snd_disabled = 0;
    EXPECT_EQ(snd_init(0), 0);
    EXPECT_EQ(snd_disabled, 1);
    EXPECT_EQ(plat_message_box_count(), 1);
    EXPECT_STREQ(plat_last_message_box(), "DirectSound Initial Error or SoundCard Not Found!");
    EXPECT_STREQ(plat_last_message_box_caption(), "WARNING");
    EXPECT_TRUE(plat_message_box_centred_on_screen());
    EXPECT_FALSE(plat_audio_open());
    plat_shutdown();
    snd_disabled = 0;
    unsetenv("SDL_DISKAUDIOFILE");
    if (driver)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

TEST(SoundRealClock, TheDeviceMovesSoundsOnByItself) {
    unsetenv("KARVO_HEADLESS");
    // The dummy device's own thread, never a real card (there may be none).
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(plat_init());
    ASSERT_FALSE(plat_clock_is_virtual());
    snd_disabled = 0;
    ASSERT_EQ(snd_init(0), 1);
    Bytes image = wave(1, 1, 22050, 8, {}, 2205, Bytes(2205, 200)); // 100 ms
    auto s = static_cast<PlatSound>(
        snd_buffer_from_wave(image.data(), static_cast<uint32_t>(image.size())));
    ASSERT_NE(s, nullptr);
    plat_sound_play(s, false);
    // Nobody advances the mixer here but the device's own thread.
    uint32_t start = plat_tick_count();
    while (plat_sound_playing(s) && plat_tick_count() - start < 10000)
        plat_idle(1);
    EXPECT_FALSE(plat_sound_playing(s));
    snd_shutdown();
    plat_shutdown();
    setenv("KARVO_HEADLESS", "1", 1);
}
