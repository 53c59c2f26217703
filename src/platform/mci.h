// The media command interpreter: CD audio, MIDI pieces and films driven by
// command strings, as the game's music and film code is written against.
//
// Understood (alias names are the caller's; one device per alias):
//   open cdaudio!D: alias A wait        set A time format tmsf
//   open sequencer!FILE alias A         open avivideo!FILE alias A
//   play A [window] [from N] [notify]   stop A [wait]   close A [wait]
//   pause A   resume A                  window A handle N
//   put A destination at L T W H
//   status A mode | position | number of tracks | current track
// "status" answers in the reply buffer ("playing", "paused", "stopped", or a
// number). Anything else fails. A "notify" play posts MM_MCINOTIFY with
// MCI_NOTIFY_SUCCESSFUL (lParam the device's id) to the main window when the
// piece or the film has played to its end; stopping or closing first drops it.
//
// Positions follow the game's clock (plat_tick_count), so with the virtual
// clock a piece or a film lasts exactly its length. MIDI positions are in
// milliseconds; CD positions count tracks of a fixed length.
//
// There is no CD drive: "open cdaudio!..." reports no disc unless a test
// hook puts in a disc of n tracks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// Results of mci_send: 0 is success.
inline constexpr uint32_t MCI_ERR_UNRECOGNIZED = 1; // not a command of the list above
inline constexpr uint32_t MCI_ERR_NO_DEVICE = 2;    // the alias is not open
inline constexpr uint32_t MCI_ERR_FILE = 3;         // the file is missing or cannot be read
inline constexpr uint32_t MCI_ERR_NOT_READY = 4;    // no disc in the drive
inline constexpr uint32_t MCI_ERR_IN_USE = 5;       // the alias is already open
inline constexpr uint32_t MCI_ERR_OUT_OF_RANGE = 6; // a position or track the piece lacks

// Runs one command; the answer of a "status" command goes to reply (cut to
// reply_size with its terminating zero; reply may be nullptr).
uint32_t mci_send(const char* command, char* reply, uint32_t reply_size);
inline uint32_t mci_send(const char* command) {
    return mci_send(command, nullptr, 0);
}

// The id of the device open under alias (the lParam of its MM_MCINOTIFY), or
// 0 when the alias is not open.
uint32_t mci_device_id(const char* alias);

// What became of the file of the last "open" of a sequencer or a film: not
// found (with the reason the search stopped), or found at its path and, when
// the open failed, why ("not a regular file", "unreadable: ...", "damaged: ...").
const PlatOpenResult& mci_last_open_result();

// Makes the MIDI synthesizer ready on a thread of its own (its sound font
// takes a moment to load), so that the first piece opened later starts at
// once; only where pieces are heard (the audio device open, the real clock).
// The next "open sequencer!..." waits for it.
void mci_prepare_sequencer();

// Closes every device and forgets the log and the test hooks' settings.
void mci_reset();
// Closes every device (the log stays).
void mci_close_all();
// Every command sent since the last reset or clear, in order.
const std::vector<std::string>& mci_log();
void mci_log_clear();

// Main thread, as time passes (the message queue calls it): shows the
// film's frames that are due and reports the ends of pieces and films.
void mci_poll();
// The time at which mci_poll has something to do next; false when nothing
// plays.
bool mci_next_deadline(uint32_t* when);

// Frames of a running MIDI piece and film sound, added into interleaved
// 44100 Hz stereo 16-bit out: for the mixer. Any thread.
void mci_mix(int16_t* out, size_t frames);

// Test hook: the drive holds a disc of n tracks of track_ms each (n < 0:
// no disc, the default).
void mci_test_set_disc(int tracks, uint32_t track_ms = 60000);

// The MIDI output's volume: left channel in the low, right in the high 16
// bits (0xFFFFFFFF at start).
uint32_t plat_midi_out_volume();
void plat_midi_out_set_volume(uint32_t volume);

// The CD-audio auxiliary device with volume control: its id, or 0xFFFF when
// there is none (the default; a test hook makes one).
uint32_t plat_aux_cd_device();
// True when the device sets left and right separately.
bool plat_aux_separate_channels(uint32_t device);
uint32_t plat_aux_volume(uint32_t device);
void plat_aux_set_volume(uint32_t device, uint32_t volume);
void mci_test_set_aux(bool present, bool separate_channels, uint32_t volume);
