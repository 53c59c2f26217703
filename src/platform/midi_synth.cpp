// The MIDI synthesiser of the media layer: libfluidsynth with the General
// MIDI sound font, fed from a song's event list.
#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/midi.h"

namespace {

constexpr double RATE = 44100.0;

std::mutex g_mutex; // the renderer's state, shared with the audio thread
fluid_settings_t* g_settings = nullptr;
fluid_synth_t* g_synth = nullptr;
bool g_synth_failed = false;
const MidiSong* g_song = nullptr;
size_t g_next = 0;
double g_pos_ms = 0;
float g_gain_left = 1.0f, g_gain_right = 1.0f;
std::vector<float> g_left, g_right;
bool g_need_seek = false; // the synthesizer must be reset and brought to g_pos_ms

bool make_synth() {
    if (g_synth) return true;
    if (g_synth_failed) return false;
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    g_settings = new_fluid_settings();
    if (g_settings) {
        fluid_settings_setnum(g_settings, "synth.sample-rate", RATE);
        fluid_settings_setint(g_settings, "synth.reverb.active", 0);
        fluid_settings_setint(g_settings, "synth.chorus.active", 0);
        g_synth = new_fluid_synth(g_settings);
    }
    // A library opening the name itself: a FIFO there would hold it for ever.
    const std::string font_problem = plat_regular_file_problem(midi_sound_font_path());
    if (g_synth && (!font_problem.empty() ||
                    fluid_synth_sfload(g_synth, midi_sound_font_path(), 1) == FLUID_FAILED)) {
        std::fprintf(stderr, "karvo: cannot load the sound font %s; music is silent\n",
                     midi_sound_font_path());
        delete_fluid_synth(g_synth);
        g_synth = nullptr;
    }
    if (!g_synth) {
        if (g_settings) delete_fluid_settings(g_settings);
        g_settings = nullptr;
        g_synth_failed = true;
        return false;
    }
    return true;
}

void send(const MidiEvent& e) {
    int ch = e.status & 0x0F;
    switch (e.status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(g_synth, ch, e.data1);
        break;
    case 0x90:
        if (e.data2)
            fluid_synth_noteon(g_synth, ch, e.data1, e.data2);
        else
            fluid_synth_noteoff(g_synth, ch, e.data1);
        break;
    case 0xA0:
        fluid_synth_key_pressure(g_synth, ch, e.data1, e.data2);
        break;
    case 0xB0:
        fluid_synth_cc(g_synth, ch, e.data1, e.data2);
        break;
    case 0xC0:
        fluid_synth_program_change(g_synth, ch, e.data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(g_synth, ch, e.data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(g_synth, ch, e.data1 | (e.data2 << 7));
        break;
    default:
        break;
    }
}

// Everything but the notes up to the start position, so a piece resumed in
// the middle has its instruments, controllers and bends.
void catch_up(const MidiSong& song, uint32_t from_ms, size_t* next) {
    size_t i = 0;
    for (; i < song.events.size() && song.events[i].ms < from_ms; ++i) {
        uint8_t kind = song.events[i].status & 0xF0;
        if (kind != 0x80 && kind != 0x90) send(song.events[i]);
    }
    *next = i;
}

} // namespace

const char* midi_sound_font_path() {
    return "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

void midi_render_start(const MidiSong* song, uint32_t from_ms) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_song = song;
    g_pos_ms = from_ms;
    g_next = 0;
    g_need_seek = true; // done by the next render, off the caller's thread
}

void midi_render_stop() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_song = nullptr;
    g_need_seek = true;
}

void midi_render_set_volume(uint16_t left, uint16_t right) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_gain_left = left / 65535.0f;
    g_gain_right = right / 65535.0f;
}

bool midi_render_mix(int16_t* out, size_t frames) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!make_synth()) return false;
    if (g_need_seek) {
        fluid_synth_system_reset(g_synth);
        g_next = 0;
        if (g_song) catch_up(*g_song, static_cast<uint32_t>(g_pos_ms), &g_next);
        g_need_seek = false;
    }
    if (g_left.size() < frames) {
        g_left.resize(frames);
        g_right.resize(frames);
    }
    // Events are sent at the start of the block they fall in: 64 frames
    // (1.5 ms) is finer than anyone hears.
    size_t done = 0;
    while (done < frames) {
        size_t block = std::min<size_t>(64, frames - done);
        if (g_song) {
            while (g_next < g_song->events.size() && g_song->events[g_next].ms <= g_pos_ms)
                send(g_song->events[g_next++]);
        }
        std::fill(g_left.begin(), g_left.begin() + static_cast<long>(block), 0.0f);
        std::fill(g_right.begin(), g_right.begin() + static_cast<long>(block), 0.0f);
        fluid_synth_write_float(g_synth, static_cast<int>(block), g_left.data(), 0, 1,
                                g_right.data(), 0, 1);
        for (size_t i = 0; i < block; ++i) {
            int16_t* o = out + 2 * (done + i);
            float l = o[0] + g_left[i] * g_gain_left * 32767.0f;
            float r = o[1] + g_right[i] * g_gain_right * 32767.0f;
            o[0] = static_cast<int16_t>(std::clamp(l, -32768.0f, 32767.0f));
            o[1] = static_cast<int16_t>(std::clamp(r, -32768.0f, 32767.0f));
        }
        done += block;
        g_pos_ms += block * 1000.0 / RATE;
    }
    return true;
}

bool midi_render_prepare() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return make_synth();
}

bool midi_render_ready() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_synth != nullptr;
}

void midi_render_skip(size_t frames) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pos_ms += frames * 1000.0 / RATE;
    g_need_seek = true; // the next sound starts from here with the piece's settings
}

void midi_render_shutdown() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_song = nullptr;
    if (g_synth) delete_fluid_synth(g_synth);
    if (g_settings) delete_fluid_settings(g_settings);
    g_synth = nullptr;
    g_settings = nullptr;
    g_synth_failed = false;
}
