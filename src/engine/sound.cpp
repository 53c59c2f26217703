#include "engine/sound.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/data_report.h"
#include "engine/mkf.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound_wave.h"
#include "engine/surfaces.h"
#include "engine/wait.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"

EffectListEntry* snd_effect_lists[SND_LIST_PLACES] = {};
const int32_t snd_volume_table[5] = {-10000, -2000, -1000, -500, 0};
uint8_t snd_disabled = 0;
uint8_t& sound_level = settings.sound_level;

EffectListEntry board_effects[BOARD_EFFECT_COUNT + 1] = {
    {7, nullptr},  {9, nullptr},  {10, nullptr}, {32, nullptr}, {33, nullptr},
    {34, nullptr}, {35, nullptr}, {36, nullptr}, {37, nullptr}, {38, nullptr},
    {43, nullptr}, {44, nullptr}, {45, nullptr}, {46, nullptr}, {53, nullptr},
    {47, nullptr}, {48, nullptr}, {49, nullptr}, {50, nullptr}, {54, nullptr},
    {55, nullptr}, {56, nullptr}, {15, nullptr}, {62, nullptr}, {-1, nullptr},
};

namespace {

constexpr const char* EFFECT_ARCHIVE = "EFFECT.MKF";

// Lists loaded beyond the 16 places: they get new buffers after a film as
// well, so no list keeps a buffer the film's shutdown released.
std::vector<EffectListEntry*> overflow_lists;
PlatSound voice_buffer = nullptr;
PlatSound extra_buffer = nullptr;
int32_t extra_entry = -1;
PlatSound last_played = nullptr;

PlatSound as_sound(void* buffer) {
    return static_cast<PlatSound>(buffer);
}

// Feedback is played only with a display; rule tests and the runner just
// read the record.
bool display_open() {
    return back_surface != nullptr;
}

void buffer_play(PlatSound buffer, int flags) {
    if (!buffer || sound_level == 0) return;
    plat_sound_set_position(buffer, 0);
    plat_sound_set_volume(buffer, snd_volume_table[sound_level > 4 ? 4 : sound_level]);
    plat_sound_play(buffer, (flags & 1) != 0);
    last_played = buffer;
}

void release_list(EffectListEntry* list) {
    for (EffectListEntry* e = list; e->entry != -1; ++e) {
        if (!e->buffer) continue;
        plat_sound_stop(as_sound(e->buffer));
        if (last_played == e->buffer) last_played = nullptr;
        plat_sound_release(as_sound(e->buffer));
        e->buffer = nullptr;
    }
}

// The effect archive, or -1 after telling (once) why it cannot be used.
int open_effects() {
    const int archive = mkf_open(EFFECT_ARCHIVE);
    if (archive < 0)
        data_report(EFFECT_ARCHIVE,
                    std::string(mkf_last_open_error()) + "; the sound effects are silent");
    return archive;
}

// A buffer made from one effect entry, or nullptr after telling (once) what
// is wrong with it.
void* effect_buffer(int archive, int entry) {
    uint32_t size = 0;
    void* wave = mkf_read(archive, entry, nullptr, &size);
    void* buffer = nullptr;
    WaveData w;
    if (!wave)
        data_report(EFFECT_ARCHIVE, std::string(mkf_slot_name(archive)) + " is damaged: " +
                                        mkf_last_read_error() + "; that sound is silent");
    else if (!wave_parse(wave, size, &w))
        data_report(EFFECT_ARCHIVE, std::string(mkf_slot_name(archive)) + " is damaged: entry " +
                                        std::to_string(entry) +
                                        " is not a PCM sound wave; that sound is silent");
    else
        buffer = snd_buffer_from_wave(wave, size);
    std::free(wave);
    return buffer;
}

void fill_list(EffectListEntry* list) {
    release_list(list);
    int archive = open_effects();
    if (archive < 0) return;
    for (EffectListEntry* e = list; e->entry != -1; ++e)
        e->buffer = effect_buffer(archive, e->entry);
    mkf_close(archive);
}

bool registered(EffectListEntry* list) {
    for (EffectListEntry* l : snd_effect_lists)
        if (l == list) return true;
    for (EffectListEntry* l : overflow_lists)
        if (l == list) return true;
    return false;
}

template <typename Fn> void each_list(Fn fn) {
    for (EffectListEntry* l : snd_effect_lists)
        if (l) fn(l);
    for (EffectListEntry* l : overflow_lists)
        fn(l);
}

void release_voice() {
    if (!voice_buffer) return;
    if (last_played == voice_buffer) last_played = nullptr;
    plat_sound_release(voice_buffer);
    voice_buffer = nullptr;
}

void release_extra() {
    if (!extra_buffer) return;
    if (last_played == extra_buffer) last_played = nullptr;
    plat_sound_release(extra_buffer);
    extra_buffer = nullptr;
}

bool before(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) < 0;
}

// Lets up to max_ms pass without taking any message but input the caller
// takes itself. With the virtual clock a queued message (a timer, a posted
// one) must not hold time still, so the clock is moved on directly, never
// past the next tick or scripted input.
void pass_time(uint32_t max_ms) {
    if (max_ms == 0) max_ms = 1;
    if (!plat_clock_is_virtual() || !plat_message_waiting()) {
        plat_idle(max_ms);
        return;
    }
    uint32_t now = plat_tick_count();
    uint32_t target = now + max_ms;
    uint32_t t = 0;
    if (plat_tick_running() && before(plat_tick_next_due(), target)) target = plat_tick_next_due();
    if (plat_script_next_time(&t) && before(t, target)) target = t;
    if (!before(now, target)) target = now + 1;
    plat_clock_advance_to(target);
}

} // namespace

int snd_init(int reload) {
    if (snd_disabled) return 0;
    if (!plat_audio_open()) {
        if (!plat_audio_create()) {
            plat_message_box("DirectSound Initial Error or SoundCard Not Found!", "WARNING",
                             MB_ICONERROR);
            plat_audio_close();
            snd_disabled = 1;
            return 0;
        }
        const char* failure = nullptr;
        if (!plat_audio_set_exclusive())
            failure = "DirectSound SetCooperativeLevel Error!";
        else if (!plat_audio_create_primary())
            failure = "DirectSound CreateSoundPrimaryBuffer Error!";
        else if (!plat_audio_set_format())
            failure = "DirectSound SetFormat Error!";
        if (failure) {
            plat_message_box(failure, "ERROR", MB_ICONERROR);
            plat_audio_close();
            snd_disabled = 1;
            return 0;
        }
    }
    release_voice();
    release_extra();
    last_played = nullptr;
    if (reload) {
        snd_effects_reload_all();
    } else {
        for (EffectListEntry*& l : snd_effect_lists)
            l = nullptr;
        overflow_lists.clear();
    }
    return 1;
}

void snd_shutdown() {
    each_list([](EffectListEntry* l) {
        // The device's close releases every buffer; the lists only forget theirs.
        for (EffectListEntry* e = l; e->entry != -1; ++e)
            e->buffer = nullptr;
    });
    voice_buffer = nullptr;
    extra_buffer = nullptr;
    last_played = nullptr;
    plat_audio_close();
}

void* snd_buffer_from_wave(const void* wave, uint32_t size) {
    WaveData w;
    if (!plat_audio_open() || !wave_parse(wave, size, &w)) return nullptr;
    return plat_sound_create(w.format, w.samples, w.bytes);
}

void snd_effects_load(EffectListEntry* list) {
    if (!list || snd_disabled) return;
    // A list loaded while a film has sound shut down gets its buffers when
    // sound is set up again.
    if (plat_audio_open()) fill_list(list);
    if (registered(list)) return;
    for (EffectListEntry*& l : snd_effect_lists) {
        if (!l) {
            l = list;
            return;
        }
    }
    overflow_lists.push_back(list);
}

void snd_effects_free(EffectListEntry* list) {
    if (!list) return;
    release_list(list);
    for (EffectListEntry*& l : snd_effect_lists)
        if (l == list) l = nullptr;
    std::erase(overflow_lists, list);
}

void snd_effects_reload_all() {
    if (!plat_audio_open()) return;
    each_list(fill_list);
}

void snd_effect_play(EffectListEntry* entry, int flags) {
    if (!entry) return;
    shown_record(Shown::Effect, entry->entry);
    if (!display_open()) return;
    buffer_play(as_sound(entry->buffer), flags);
}

void snd_effect_stop(EffectListEntry* entry) {
    if (entry) plat_sound_stop(as_sound(entry->buffer));
}

void snd_wait_last_effect() {
    uint32_t start = plat_tick_count();
    while (last_played && plat_sound_playing(last_played)) {
        uint32_t waited = plat_tick_count() - start;
        if (waited >= 1000) break;
        uint32_t left = plat_sound_ms_left(last_played);
        pass_time(left < 1000 - waited ? left : 1000 - waited);
    }
}

void snd_extra_load(int entry) {
    release_extra();
    extra_entry = entry;
    if (!plat_audio_open()) return;
    int archive = open_effects();
    if (archive < 0) return;
    extra_buffer = as_sound(effect_buffer(archive, entry));
    mkf_close(archive);
}

void snd_extra_play() {
    shown_record(Shown::Effect, extra_entry);
    if (!display_open()) return;
    buffer_play(extra_buffer, 0);
}

void snd_extra_free() {
    if (extra_buffer) plat_sound_stop(extra_buffer);
    release_extra();
    extra_entry = -1;
}

void snd_voice_play(int n) {
    shown_record(Shown::Voice, n);
    if (!display_open()) return;
    snd_voice_stop();
    if (sound_level == 0 || !plat_audio_open()) return;
    uint32_t size = 0;
    void* wave = mkf_read(speech_archive, n, nullptr, &size);
    if (!wave) {
        // A missing archive was told at start-up; this tells a damaged one.
        data_report("speaking.mkf", std::string(mkf_slot_name(speech_archive)) + " is damaged: " +
                                        mkf_last_read_error() + "; that voice is not heard");
        return;
    }
    voice_buffer = as_sound(snd_buffer_from_wave(wave, size));
    std::free(wave);
    buffer_play(voice_buffer, 0);
}

void snd_voice_stop() {
    if (voice_buffer) plat_sound_stop(voice_buffer);
    release_voice();
}

int snd_voice_playing() {
    if (!voice_buffer) return 0;
    if (plat_sound_playing(voice_buffer)) return 1;
    release_voice();
    return 0;
}

void snd_voice_wait(uint32_t ms) {
    shown_record(Shown::Wait, SND_VOICE_WAIT, ms);
    if (!display_open()) return;
    uint32_t start = plat_tick_count();
    bool cut = false;
    if (voice_buffer && sound_level != 0) {
        // Input and the media notifications only: whatever else arrives
        // (quit, paint, timers, posted messages) waits for the message loop.
        while (snd_voice_playing() && !plat_close_requested()) {
            if (wait_take_messages(1)) {
                cut = true;
                break;
            }
            plat_idle_for_input(plat_sound_ms_left(voice_buffer));
        }
        snd_voice_stop();
    }
    uint32_t passed = plat_tick_count() - start;
    if (!cut && passed < ms && !plat_close_requested()) wait_ms_skippable(ms - passed);
}

void snd_board_effect_play(int element, int flags) {
    shown_record(Shown::BoardEffect, element);
    if (!display_open() || element < 0 || element >= BOARD_EFFECT_COUNT) return;
    buffer_play(as_sound(board_effects[element].buffer), flags);
}

void snd_board_effect_stop(int element) {
    if (element < 0 || element >= BOARD_EFFECT_COUNT) return;
    plat_sound_stop(as_sound(board_effects[element].buffer));
}
