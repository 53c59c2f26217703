#include "platform/midi.h"

#include "platform/files.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>

namespace {

constexpr double RATE = 44100.0;

uint32_t be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
uint16_t be16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

struct TickEvent {
    uint64_t tick;
    uint32_t order; // keeps the file's order between events of one tick
    uint8_t status, data1, data2;
    uint32_t tempo; // meta tempo (microseconds per quarter), 0 for channel events
};

// A variable-length quantity; false when it runs past end or is too long.
bool read_vlq(const uint8_t*& p, const uint8_t* end, uint32_t* out) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (p >= end) return false;
        uint8_t b = *p++;
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            *out = v;
            return true;
        }
    }
    return false;
}

bool parse_track(const uint8_t* p, const uint8_t* end, std::vector<TickEvent>& out,
                 uint32_t& order) {
    uint64_t tick = 0;
    uint8_t running = 0;
    while (p < end) {
        uint32_t delta = 0;
        if (!read_vlq(p, end, &delta)) return false;
        tick += delta;
        if (p >= end) return false;
        uint8_t status = *p;
        if (status & 0x80) {
            ++p;
        } else {
            if (!running) return false; // data byte with no status before it
            status = running;
        }
        if (status == 0xFF) {
            if (p >= end) return false;
            uint8_t type = *p++;
            uint32_t len = 0;
            if (!read_vlq(p, end, &len) || len > static_cast<size_t>(end - p)) return false;
            if (type == 0x51 && len == 3) {
                uint32_t tempo = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
                if (tempo) out.push_back({tick, order++, 0xFF, 0, 0, tempo});
            }
            // The end of a track still counts towards the piece's length.
            if (type == 0x2F) out.push_back({tick, order++, 0xFF, 0x2F, 0, 0});
            p += len;
            if (type == 0x2F) return true;
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            uint32_t len = 0;
            if (!read_vlq(p, end, &len) || len > static_cast<size_t>(end - p)) return false;
            p += len;
            running = 0;
            continue;
        }
        if (status >= 0xF0) return false; // no other system messages belong in a file
        running = status;
        int need = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (end - p < need) return false;
        uint8_t d1 = p[0] & 0x7F;
        uint8_t d2 = need == 2 ? (p[1] & 0x7F) : 0;
        p += need;
        out.push_back({tick, order++, status, d1, d2, 0});
    }
    return true; // a track may end without its end marker
}

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

std::unique_ptr<MidiSong> midi_parse(const uint8_t* data, size_t size, std::string* why) {
    std::string ignored;
    if (!why) why = &ignored;
    auto refuse = [why](const char* reason) {
        *why = reason;
        return nullptr;
    };
    if (!data || size < 14 || be32(data) != 0x4D546864 /* MThd */)
        return refuse("it does not begin with a MIDI header");
    uint32_t header_len = be32(data + 4);
    if (header_len < 6 || header_len > size - 8) return refuse("its header has a wrong length");
    uint16_t format = be16(data + 8);
    uint16_t tracks = be16(data + 10);
    uint16_t division = be16(data + 12);
    if (format > 1 || tracks == 0 || division == 0)
        return refuse("its header gives a format, track count or division it cannot have");
    std::vector<TickEvent> all;
    uint32_t order = 0;
    size_t at = 8 + header_len;
    int found = 0;
    while (found < tracks && size - at >= 8) {
        uint32_t id = be32(data + at);
        uint32_t len = be32(data + at + 4);
        at += 8;
        if (len > size - at) return refuse("a track runs past the end of the file (cut short)");
        if (id == 0x4D54726B /* MTrk */) {
            if (!parse_track(data + at, data + at + len, all, order))
                return refuse("a track's events cannot be read");
            ++found;
        }
        at += len;
    }
    if (found != tracks) return refuse("it holds fewer tracks than its header says");
    std::stable_sort(all.begin(), all.end(), [](const TickEvent& a, const TickEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    // Ticks to milliseconds through the tempo map (120 beats a minute until
    // the first tempo event); a time-code division has a fixed tick length.
    double ms_per_tick = 0;
    bool smpte = division & 0x8000;
    if (smpte) {
        int fps = -static_cast<int8_t>(division >> 8);
        int per_frame = division & 0xFF;
        if (fps <= 0 || per_frame == 0) return refuse("its time-code division is not valid");
        ms_per_tick = 1000.0 / (fps * per_frame);
    } else {
        ms_per_tick = 500.0 / division;
    }
    auto song = std::make_unique<MidiSong>();
    uint64_t last_tick = 0;
    double ms = 0;
    for (const TickEvent& e : all) {
        ms += static_cast<double>(e.tick - last_tick) * ms_per_tick;
        last_tick = e.tick;
        if (ms > 4.0e9) return refuse("it lasts longer than the clock can count");
        uint32_t at_ms = static_cast<uint32_t>(ms);
        song->length_ms = std::max(song->length_ms, at_ms);
        if (e.status == 0xFF) {
            if (e.tempo && !smpte) ms_per_tick = e.tempo / 1000.0 / division;
            continue;
        }
        song->events.push_back({at_ms, e.status, e.data1, e.data2});
    }
    return song;
}

std::unique_ptr<MidiSong> midi_load(const std::string& path, std::string* problem) {
    std::string ignored;
    if (!problem) problem = &ignored;
    std::string bytes;
    // No piece of music is this large.
    if (!plat_read_regular_file(path, MIDI_FILE_MAX_BYTES, &bytes, problem)) return nullptr;
    std::string why;
    auto song = midi_parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &why);
    if (!song) *problem = "damaged: " + why;
    return song;
}

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
