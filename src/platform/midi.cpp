#include "platform/midi.h"

#include "platform/files.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

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
