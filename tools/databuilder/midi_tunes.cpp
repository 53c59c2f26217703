// The 25 MIDI files: eight background pieces (KARV08.MID, KARV16.MID to
// KARV22.MID), a minute and more each, and the seventeen short event tunes
// (MIDI01.MID to MIDI16.MID with MIDI14-1.MID and MIDI14-2.MID). Every piece
// is composed here from its own key, tempo, chord progression, instruments
// and melody seed; they are written as loose files beside the archives.
#include "builder.h"

#include "midi_writer.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Style {
    const char* name;
    int bpm;
    int root; // MIDI note of the key's tonic (octave 4)
    bool minor;
    int progression; // index into kProgressions
    int lead, pad, bass;
    int seed;
    int bars; // 0: as many as a minute and a few seconds need
    bool drums;
};

// Scale degrees (0-based) of four chords, one per bar, repeated.
const int kProgressions[][4] = {
    {0, 5, 3, 4}, {0, 3, 4, 0}, {0, 4, 5, 3}, {5, 3, 0, 4},
    {0, 2, 3, 4}, {0, 3, 0, 4}, {1, 4, 0, 0}, {0, 6, 5, 4},
};

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// Backgrounds: calm to lively, each with its own instruments.
const Style kBackgrounds[8] = {
    {"KARV08.MID", 108, 60, false, 0, 0, 48, 33, 11, 0, true},  // piano over strings
    {"KARV16.MID", 96, 62, true, 3, 73, 89, 32, 23, 0, true},   // flute, warm pad
    {"KARV17.MID", 126, 65, false, 2, 11, 4, 34, 37, 0, true},  // vibraphone, e-piano
    {"KARV18.MID", 84, 57, true, 7, 40, 49, 42, 41, 0, false},  // violin, slow strings
    {"KARV19.MID", 132, 67, false, 4, 56, 61, 33, 53, 0, true}, // trumpet, brass
    {"KARV20.MID", 112, 64, true, 1, 24, 46, 32, 67, 0, true},  // guitar, harp
    {"KARV21.MID", 100, 58, false, 5, 71, 52, 35, 79, 0, true}, // clarinet, choir
    {"KARV22.MID", 120, 63, false, 6, 80, 90, 38, 97, 0, true}, // square lead, synth
};

// Event tunes: a few bars each, a fanfare or a motif fitting a win, a
// purchase, a festival or a finance screen.
const Style kEventTunes[17] = {
    {"MIDI01.MID", 140, 72, false, 0, 56, 61, 33, 101, 2, true},
    {"MIDI02.MID", 120, 60, false, 2, 9, 0, 33, 103, 2, false},
    {"MIDI03.MID", 100, 64, true, 3, 19, 19, 32, 107, 3, false},
    {"MIDI04.MID", 110, 65, false, 1, 0, 48, 33, 109, 3, true},
    {"MIDI05.MID", 132, 62, false, 4, 60, 61, 35, 113, 3, true},
    {"MIDI06.MID", 96, 67, false, 5, 12, 11, 32, 127, 3, false},
    {"MIDI07.MID", 118, 57, true, 7, 71, 68, 33, 131, 3, true},
    {"MIDI08.MID", 150, 69, false, 0, 105, 24, 34, 137, 3, true},
    {"MIDI09.MID", 104, 60, true, 3, 46, 48, 32, 139, 3, false},
    {"MIDI10.MID", 126, 64, false, 6, 22, 0, 33, 149, 2, true},
    {"MIDI11.MID", 138, 70, false, 2, 62, 62, 38, 151, 2, true},
    {"MIDI12.MID", 90, 55, true, 7, 42, 49, 43, 157, 3, false},
    {"MIDI13.MID", 144, 67, false, 4, 114, 115, 33, 163, 2, true},
    {"MIDI14-1.MID", 116, 62, false, 0, 74, 52, 33, 167, 3, true},
    {"MIDI14-2.MID", 116, 62, false, 1, 74, 52, 33, 173, 3, true},
    {"MIDI15.MID", 128, 65, false, 5, 8, 10, 32, 179, 2, false},
    {"MIDI16.MID", 100, 59, true, 3, 53, 91, 32, 181, 3, false},
};

int note_of(const Style& s, int degree, int octave_shift) {
    const int* scale = s.minor ? kMinor : kMajor;
    int oct = degree / 7, d = degree % 7;
    if (d < 0) {
        d += 7;
        --oct;
    }
    return s.root + scale[d] + 12 * (oct + octave_shift);
}

MidiFile compose(const Style& s) {
    constexpr int kTicks = 96; // per beat
    uint32_t seed = static_cast<uint32_t>(s.seed);
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<uint32_t>(range));
    };
    int bars = s.bars;
    if (bars == 0) {
        double bar_seconds = 4 * 60.0 / s.bpm;
        bars = static_cast<int>(64.0 / bar_seconds) + 1;
        bars = (bars + 3) / 4 * 4; // whole turns of the progression
    }
    MidiFile f;
    f.division = kTicks;
    f.tracks.resize(4); // all at once: references into the list stay valid
    MidiTrack& tempo = f.tracks[0];
    tempo.tempo(0, 60000000 / s.bpm);
    MidiTrack& lead = f.tracks[1];
    MidiTrack& pad = f.tracks[2];
    MidiTrack& bass = f.tracks[3];
    lead.program(0, 0, s.lead);
    pad.program(0, 1, s.pad);
    bass.program(0, 2, s.bass);
    lead.control(0, 0, 7, 110);
    pad.control(0, 1, 7, 70);
    bass.control(0, 2, 7, 95);
    // A motif of eight steps, varied by turn: the piece's own melody.
    int motif[8];
    for (int& m : motif)
        m = next(5) - 2;
    int degree = 4;
    for (int bar = 0; bar < bars; ++bar) {
        uint32_t t0 = static_cast<uint32_t>(bar) * 4 * kTicks;
        int chord = kProgressions[s.progression][bar % 4];
        bool last = bar == bars - 1;
        // Chord tones held for the bar (the last bar ends on the tonic).
        int c = last ? 0 : chord;
        for (int k : {0, 2, 4})
            pad.note(t0, 1, note_of(s, c + k, 0), 64, 4 * kTicks - 4);
        // Bass on the root, twice a bar.
        bass.note(t0, 2, note_of(s, c, -2), 96, 2 * kTicks - 8);
        if (!last)
            bass.note(t0 + 2 * kTicks, 2, note_of(s, c + (bar % 2 ? 4 : 0), -2), 88,
                      2 * kTicks - 8);
        // Melody: eighth and quarter notes walking around the chord.
        if (last) {
            lead.note(t0, 0, note_of(s, 7, 0), 110, 4 * kTicks - 8);
            continue;
        }
        uint32_t t = t0;
        int step = 0;
        while (t < t0 + 4 * kTicks) {
            int len = (next(3) == 0 ? 2 : 1) * kTicks / 2;
            if (t + static_cast<uint32_t>(len) > t0 + 4 * kTicks)
                len = static_cast<int>(t0 + 4 * kTicks - t);
            degree += motif[(step + bar) % 8] + ((bar / 4) % 2 ? 1 : 0) * (step % 2 ? -1 : 1);
            // Stay near the chord and within a singable range.
            if (degree < chord) degree = chord + 2;
            if (degree > chord + 9) degree = chord + 4;
            if (step == 0) degree = chord + 2 * next(3);
            if (next(7) != 0) lead.note(t, 0, note_of(s, degree, 0), 90 + next(30), len - 6);
            t += static_cast<uint32_t>(len);
            ++step;
        }
        if (s.drums) {
            for (int beat = 0; beat < 4; ++beat) {
                uint32_t tb = t0 + static_cast<uint32_t>(beat) * kTicks;
                pad.note(tb, 9, beat % 2 ? 38 : 36, 90, kTicks / 4); // kick and snare
                pad.note(tb + kTicks / 2, 9, 42, 60, kTicks / 4);    // closed hi-hat
            }
        }
    }
    return f;
}

void write_file(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

void build_midi_tunes(DataBuilder& b) {
    for (const Style& s : kBackgrounds)
        write_file(b.out_dir + "/" + s.name, compose(s).bytes());
    for (const Style& s : kEventTunes)
        write_file(b.out_dir + "/" + s.name, compose(s).bytes());
}

} // namespace

KARVO_DATA_GENERATOR(build_midi_tunes);
