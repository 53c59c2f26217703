// Music: background tracks and event tunes.
#pragma once

#include <cstdint>

// Days left before a holiday's event tune gives way to the background music
// (low four bits count down; high four bits the length it started with).
extern uint8_t music_day_countdown;
// Index 0..7 of the background piece.
extern uint8_t music_background;
// 1 while a MIDI piece plays; 1 while a CD track plays.
extern uint8_t music_midi_on;
extern uint8_t music_cd_on;

// Opens the music device (CD or MIDI) and applies the music level.
void music_init();
// Closes the device and restores the volumes.
void music_shutdown();
// n > 0: plays background n - 1; 0: the next one.
void music_next_background(int n);
// A piece has ended.
void music_on_notify();
// Sends a media command string ("pause mid", "resume vfw", ...); 0 on success.
uint32_t mci_send(const char* command);

// Stops the CD or the MIDI tune and empties the resume stack.
void music_stop();
// Plays event tune n; bit 15 of n: do not save the background first.
// Returns 1 when the background was saved.
int music_play_event(int n);
// Closes the MIDI event tune.
void music_close_midi();
// Continues the music saved before an event tune.
void music_resume();
