// Music: background pieces from the CD or MIDI files, and event tunes.
//
// The background comes from the CD when the disc in the drive has 9 tracks
// (tracks 2 to 9), else from 8 MIDI files. Event tunes are always MIDI; while
// one plays, the background is kept on a resume stack. Ends of pieces come
// back as the main window's media notification (music_on_notify).
#pragma once

#include <cstdint>

#include "platform/mci.h"

inline constexpr int MUSIC_STACK_LEVELS = 8;
inline constexpr int MUSIC_BACKGROUND_COUNT = 8;
inline constexpr int MUSIC_EVENT_TUNE_COUNT = 17;
inline constexpr uint8_t MUSIC_BACKGROUND_BIT = 0x80;
inline constexpr int MUSIC_NO_SAVE = 0x8000; // music_play_event: keep the background unsaved

// Days left before a holiday's event tune gives way to the background music
// (low four bits count down; high four bits the length it started with).
extern uint8_t music_day_countdown;

// The music state.
extern uint8_t music_cd_mode;    // 1 when the background comes from the CD
extern uint8_t music_background; // index 0..7 of the background piece
// The music that plays or was asked for: bit 7 set = background piece (index
// in bits 0-2), else an event tune number; 0 at start.
extern uint8_t music_current;
extern int32_t music_stack_depth;
extern uint8_t music_stack_ids[MUSIC_STACK_LEVELS];
extern uint32_t music_stack_positions[MUSIC_STACK_LEVELS]; // 0: saved while not playing
extern uint8_t music_midi_on;        // 1 while a MIDI piece was started (until the alias closes)
extern uint8_t music_cd_on;          // 1 while a CD play was started
extern uint32_t music_cd_aux_device; // 0xFFFF = none
extern uint32_t music_saved_midi_volume;
extern uint32_t music_saved_aux_volume;
// Volumes by music level 0..4 (0 = music off).
extern uint32_t music_midi_volumes[5];
extern uint32_t music_cd_volumes[5];
extern const char* const music_midi_names[MUSIC_BACKGROUND_COUNT + MUSIC_EVENT_TUNE_COUNT];

// The music level, settings byte 2: 0 off .. 4 loudest.
extern uint8_t& music_level; // the settings' music byte (engine/options.h)

// Opens the music device (CD or MIDI), derives the volume tables from the
// volumes found and applies the music level.
void music_init();
// Closes the device and restores the volumes found at start.
void music_shutdown();
// Sets the MIDI (and the CD's) volume for music_level.
void music_apply_level();
// Plays event tune n; bit 15 of n: do not save the background first.
// Returns 1 when the background was saved.
int music_play_event(int n);
// Closes the MIDI piece.
void music_close_midi();
// Stops the CD when it plays.
void music_stop_cd();
// Saves the background on the resume stack.
void music_push();
// Continues the music saved before an event tune.
void music_resume();
// A piece has ended.
void music_on_notify();
// n > 0: plays background n - 1; 0: the next one.
void music_next_background(int n);
// Stops the CD or the MIDI piece and empties the resume stack.
void music_stop();
// The music option turned off: what plays stops (a background piece as by
// music_stop, an event tune as by music_close_midi) but stays the music asked
// for, so that turning the option on again restarts that piece.
void music_turn_off();
// The music option turned on again: the piece asked for starts from its
// beginning (the same background piece, or the event tune).
void music_turn_on();
// 1 when the device reports "playing" (MIDI only while music_midi_on).
int music_midi_playing();
int music_cd_playing();
// 0 when music is off or an event tune is current, else the background's
// number 1..8.
int music_track_number();

// Sets every music variable back to its start (music off at level 4, no
// device open).
void music_reset();
