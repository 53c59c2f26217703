// Writing standard MIDI files (format 1): tracks of timed channel events.
#pragma once

#include "mkf_writer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

struct MidiTrack {
    struct Event {
        uint32_t tick;
        uint32_t order;
        std::vector<uint8_t> bytes; // status and data (or a whole meta event)
    };
    std::vector<Event> events;

    void add(uint32_t tick, std::vector<uint8_t> bytes) {
        events.push_back({tick, static_cast<uint32_t>(events.size()), std::move(bytes)});
    }
    void tempo(uint32_t tick, uint32_t us_per_beat) {
        add(tick, {0xFF, 0x51, 0x03, static_cast<uint8_t>(us_per_beat >> 16),
                   static_cast<uint8_t>(us_per_beat >> 8), static_cast<uint8_t>(us_per_beat)});
    }
    void program(uint32_t tick, int channel, int program) {
        add(tick, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program & 0x7F)});
    }
    void control(uint32_t tick, int channel, int controller, int value) {
        add(tick, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(controller),
                   static_cast<uint8_t>(value)});
    }
    void note(uint32_t tick, int channel, int key, int velocity, int length) {
        if (key < 0 || key > 127 || length <= 0) return;
        add(tick, {static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(key),
                   static_cast<uint8_t>(std::clamp(velocity, 1, 127))});
        add(tick + static_cast<uint32_t>(length),
            {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(key), 0});
    }
};

struct MidiFile {
    uint16_t division = 96;
    std::vector<MidiTrack> tracks;

    Bytes bytes() const {
        Bytes out;
        auto be32 = [&out](uint32_t v) {
            for (int s = 24; s >= 0; s -= 8)
                out.push_back(static_cast<uint8_t>(v >> s));
        };
        auto be16 = [&out](uint32_t v) {
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v));
        };
        for (char c : {'M', 'T', 'h', 'd'})
            out.push_back(static_cast<uint8_t>(c));
        be32(6);
        be16(1);
        be16(static_cast<uint32_t>(tracks.size()));
        be16(division);
        for (const MidiTrack& t : tracks) {
            std::vector<MidiTrack::Event> ev = t.events;
            // Note-offs before note-ons at one tick, so a repeated key restarts.
            std::stable_sort(ev.begin(), ev.end(), [](const auto& a, const auto& b) {
                if (a.tick != b.tick) return a.tick < b.tick;
                bool a_off = (a.bytes[0] & 0xF0) == 0x80, b_off = (b.bytes[0] & 0xF0) == 0x80;
                return a_off && !b_off;
            });
            Bytes body;
            uint32_t last = 0;
            auto vlq = [&body](uint32_t v) {
                uint8_t tmp[5];
                int n = 0;
                tmp[n++] = v & 0x7F;
                while (v >>= 7)
                    tmp[n++] = static_cast<uint8_t>(0x80 | (v & 0x7F));
                while (n)
                    body.push_back(tmp[--n]);
            };
            for (const auto& e : ev) {
                vlq(e.tick - last);
                last = e.tick;
                for (uint8_t c : e.bytes)
                    body.push_back(c);
            }
            vlq(0);
            for (uint8_t c : {0xFF, 0x2F, 0x00})
                body.push_back(c);
            for (char c : {'M', 'T', 'r', 'k'})
                out.push_back(static_cast<uint8_t>(c));
            be32(static_cast<uint32_t>(body.size()));
            for (uint8_t c : body)
                out.push_back(c);
        }
        return out;
    }
};
