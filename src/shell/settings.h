// The settings file and its options.
#pragma once

#include <cstdint>

// Fills the settings from the file or the defaults; today's date.
void cfg_read();
// Option byte 5: the side-panel layout 0..2.
uint8_t settings_side_panel_layout();
void settings_set_side_panel_layout(uint8_t layout);
// Option byte 1: 1 when animations (films, captions, greetings) are shown.
uint8_t settings_animations();
void settings_set_animations(uint8_t on);
// Option byte 4: 1 when the game is saved to slot 0 after each new day.
uint8_t settings_autosave();
void settings_set_autosave(uint8_t on);
