// The settings file and its options.
#pragma once

#include <cstdint>

// Fills the settings from the file or the defaults; today's date.
void cfg_read();
// Writes the settings to the file; callers ignore the outcome.
void cfg_write();
// Option byte 5: the side-panel layout 0..2.
uint8_t settings_side_panel_layout();
void settings_set_side_panel_layout(uint8_t layout);
// Option byte 1: 1 when animations (films, captions, greetings) are shown.
uint8_t settings_animations();
void settings_set_animations(uint8_t on);
// Option byte 4: 1 when the game is saved to slot 0 after each new day.
uint8_t settings_autosave();
void settings_set_autosave(uint8_t on);
// Option byte 0: the game speed 0..2 (board animation step every 6, 4 or 2
// cursor ticks); values above 2 read as 2.
uint8_t settings_game_speed();
void settings_set_game_speed(uint8_t speed);
// Option byte 3: the sound level 0..4 (0 silent); values above 4 read as 4.
uint8_t settings_sound_level();
void settings_set_sound_level(uint8_t level);
// Hot-key slots the pop-ups compare a chord with: low byte a virtual-key
// code, high byte 0x11 for Ctrl.
inline constexpr int HK_YES = 8;
inline constexpr int HK_NO = 9;
inline constexpr int HOTKEY_COUNT = 28;
// The hot key of a slot 0..27 (0 for any other slot).
uint16_t settings_hotkey(int slot);
void settings_set_hotkey(int slot, uint16_t key);
