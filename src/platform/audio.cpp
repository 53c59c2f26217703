#include "platform/audio.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/clock.h"

namespace {

std::mutex g_lock; // the mixer's state, between the main thread and the device's callback
Mixer g_mixer;
bool g_subsystem = false;
SDL_AudioDeviceID g_device = 0;
// On the virtual clock the main thread moves the mixer on and a device would
// only ever play silence: SDL's dummy device (which always opens) is not
// opened at all, so no device thread is waited for when it closes.
bool g_mixer_only = false;
bool g_primary = false;
std::atomic<bool> g_open{false};
uint32_t g_session = 0; // counts the set-ups, so holders of a stream can tell theirs is gone
int g_fail_step = 0;
// Virtual clock: the time the mixer has been brought up to, in output frames
// since `g_base_ms`.
uint32_t g_base_ms = 0;
uint64_t g_frames_done = 0;

bool virtual_time() {
    return plat_clock_is_virtual();
}

void device_callback(void*, Uint8* stream, int len) {
    auto* out = reinterpret_cast<int16_t*>(stream);
    uint32_t frames = static_cast<uint32_t>(len) / (MIXER_CHANNELS * sizeof(int16_t));
    // With the virtual clock the main thread moves the mixer on; the device
    // only gets silence, or positions would follow the wall clock.
    if (virtual_time() || !g_open) {
        std::fill(out, out + frames * MIXER_CHANNELS, int16_t{0});
        return;
    }
    std::lock_guard<std::mutex> hold(g_lock);
    g_mixer.render(out, frames);
}

uint64_t frames_at(uint32_t ms) {
    return uint64_t{ms} * MIXER_RATE / 1000;
}

// Brings the mixer to the virtual time now. Called with g_lock held.
void sync_locked() {
    if (!g_open || !virtual_time()) return;
    uint32_t now = plat_tick_count();
    if (now < g_base_ms) { // the clock was reset: count from here
        g_base_ms = now;
        g_frames_done = 0;
        return;
    }
    uint64_t target = frames_at(now - g_base_ms);
    while (g_frames_done < target) {
        uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(target - g_frames_done, 1u << 22));
        g_mixer.render(nullptr, n);
        g_frames_done += n;
    }
}

bool failing(int step) {
    return g_fail_step == step;
}

} // namespace

bool plat_audio_create() {
    if (failing(1)) return false;
    if (!g_subsystem) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            static bool told = false;
            if (!told) std::fprintf(stderr, "karvo: no audio: %s\n", SDL_GetError());
            told = true;
            return false;
        }
        g_subsystem = true;
    }
    if (g_device || g_mixer_only) return true;
    if (virtual_time()) {
        const char* driver = SDL_GetCurrentAudioDriver();
        if (driver && std::strcmp(driver, "dummy") == 0) {
            g_mixer_only = true;
            return true;
        }
    }
    // Finding and opening a device belongs here: a machine without one
    // fails at this first step, not at the exclusive one.
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(MIXER_RATE);
    want.format = AUDIO_S16SYS;
    want.channels = MIXER_CHANNELS;
    want.samples = 1024;
    want.callback = device_callback;
    SDL_AudioSpec have{};
    // No changes allowed: the mixer renders the device's format exactly.
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!g_device) {
        // Films try again on their own; the reason is told once.
        static bool told = false;
        if (!told)
            std::fprintf(stderr, "karvo: no audio device can be opened: %s\n", SDL_GetError());
        told = true;
        return false;
    }
    return true;
}

bool plat_audio_set_exclusive() {
    // The device opened above is the game's alone (SDL shares it with nobody).
    return !failing(2) && (g_device != 0 || g_mixer_only);
}

bool plat_audio_create_primary() {
    if (failing(3) || (!g_device && !g_mixer_only)) return false;
    std::lock_guard<std::mutex> hold(g_lock);
    g_mixer.release_all();
    g_primary = true;
    return true;
}

bool plat_audio_set_format() {
    if (failing(4) || !g_primary) return false;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_base_ms = plat_tick_count();
        g_frames_done = 0;
        g_open = true;
        ++g_session;
    }
    if (g_device) SDL_PauseAudioDevice(g_device, 0);
    return true;
}

void plat_audio_close() {
    if (g_device) {
        SDL_PauseAudioDevice(g_device, 1);
        SDL_CloseAudioDevice(g_device); // waits for the callback to finish
    }
    g_device = 0;
    g_mixer_only = false;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_open = false;
        g_primary = false;
        g_mixer.release_all();
    }
    if (g_subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_subsystem = false;
}

bool plat_audio_open() {
    return g_open;
}

uint32_t plat_audio_session() {
    return g_session;
}

void plat_audio_test_fail(int step) {
    g_fail_step = step;
}

void plat_audio_sync() {
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
}

PlatSound plat_sound_create(const MixerFormat& format, const void* data, uint32_t bytes) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (!g_open) return nullptr;
    sync_locked();
    return g_mixer.create_sound(format, data, bytes);
}

void plat_sound_release(PlatSound sound) {
    if (!sound) return;
    std::lock_guard<std::mutex> hold(g_lock);
    g_mixer.release_sound(sound);
}

void plat_sound_play(PlatSound sound, bool looping) {
    if (!sound) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    sound->looping = looping;
    if (sound->position >= (uint64_t{sound->frames} << 32)) sound->position = 0;
    sound->playing = true;
}

void plat_sound_stop(PlatSound sound) {
    if (!sound) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    sound->playing = false;
}

void plat_sound_set_position(PlatSound sound, uint32_t frame) {
    if (!sound) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    sound->position = uint64_t{std::min(frame, sound->frames)} << 32;
}

bool plat_sound_playing(PlatSound sound) {
    if (!sound) return false;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    return sound->playing;
}

uint32_t plat_sound_ms_left(PlatSound sound) {
    if (!sound) return 0;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    if (!sound->playing) return 0;
    if (sound->looping) return PLAT_SOUND_FOREVER;
    uint64_t left = (uint64_t{sound->frames} << 32) - sound->position;
    uint64_t frames = (left + sound->step - 1) / sound->step;
    return static_cast<uint32_t>((frames * 1000 + MIXER_RATE - 1) / MIXER_RATE);
}

void plat_sound_set_volume(PlatSound sound, int32_t hundredths_db) {
    if (!sound) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    sound->gain = mixer_gain_from_hundredths_db(hundredths_db);
}

PlatStream plat_stream_create(MixerStreamFill fill, void* user) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (!g_open) return nullptr;
    sync_locked();
    return g_mixer.create_stream(fill, user);
}

void plat_stream_release(PlatStream stream) {
    if (!stream) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    g_mixer.release_stream(stream);
}

void plat_stream_play(PlatStream stream) {
    if (!stream) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    stream->playing = true;
}

void plat_stream_pause(PlatStream stream) {
    if (!stream) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    stream->playing = false;
}

void plat_stream_set_volume(PlatStream stream, int32_t hundredths_db) {
    if (!stream) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    stream->gain = mixer_gain_from_hundredths_db(hundredths_db);
}

void plat_stream_write(PlatStream stream, const int16_t* frames, uint32_t count) {
    if (!stream || !frames || stream->fill) return;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    stream->queue.insert(stream->queue.end(), frames, frames + size_t{count} * MIXER_CHANNELS);
}

uint32_t plat_stream_queued(PlatStream stream) {
    if (!stream) return 0;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    return static_cast<uint32_t>((stream->queue.size() - stream->queue_head) / MIXER_CHANNELS);
}

uint64_t plat_stream_frames_played(PlatStream stream) {
    if (!stream) return 0;
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    return stream->frames_played;
}

int plat_audio_sound_count() {
    std::lock_guard<std::mutex> hold(g_lock);
    return static_cast<int>(g_mixer.sound_count());
}

int plat_audio_playing_count() {
    std::lock_guard<std::mutex> hold(g_lock);
    sync_locked();
    return static_cast<int>(g_mixer.playing_count());
}
