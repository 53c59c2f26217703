// Standard MIDI files and their synthesis.
//
// A file is read once into a list of channel events with their times in
// milliseconds, so a piece can start at any position and its length is
// known before it plays. Sound comes from libfluidsynth with the General
// MIDI sound font; the synthesizer is made when a piece first renders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct MidiEvent {
    uint32_t ms;    // from the start of the piece
    uint8_t status; // 0x80..0xEF: a channel message
    uint8_t data1;
    uint8_t data2;
};

struct MidiSong {
    std::vector<MidiEvent> events; // in time order
    uint32_t length_ms = 0;        // the time of the last event (end of track included)
};

inline constexpr size_t MIDI_FILE_MAX_BYTES = 16u << 20;

// Reads a standard MIDI file (format 0 or 1) from memory; nullptr when it
// is not one or is cut short, with which check failed in `why`.
std::unique_ptr<MidiSong> midi_parse(const uint8_t* data, size_t size, std::string* why = nullptr);
// Reads the file at path, a regular file of at most 16 MiB (a FIFO is
// refused without waiting); nullptr when it cannot be used, with the reason
// in `problem` ("not found", "not a regular file", "unreadable: ...",
// "larger than 16 MiB", "damaged: ...").
std::unique_ptr<MidiSong> midi_load(const std::string& path, std::string* problem = nullptr);

// The sound font the synthesizer loads.
const char* midi_sound_font_path();

// The piece the renderer plays (nullptr: silence), from position ms. The
// song stays owned by the caller and must outlive its playing.
void midi_render_start(const MidiSong* song, uint32_t from_ms);
void midi_render_stop();
// Output gain of the two channels, 0..0xFFFF each.
void midi_render_set_volume(uint16_t left, uint16_t right);
// Renders frames of 44100 Hz interleaved stereo 16-bit sound, adding to what
// out holds (clamped). Returns false when the synthesizer cannot be made
// (no sound font): out is left as it was. Any thread.
bool midi_render_mix(int16_t* out, size_t frames);
// Makes the synthesizer now (loading the sound font takes a moment, better
// spent here than in the device's callback); false when it cannot be made.
bool midi_render_prepare();
// True once the synthesizer is made (waits while it is being made).
bool midi_render_ready();
// Moves the piece on by frames without a sound (time that passes unheard).
void midi_render_skip(size_t frames);
// Frees the synthesizer (the next render makes it again).
void midi_render_shutdown();
