#include "shell/settings.h"

#include <atomic>

#include "engine/sound.h"

// The settings are not built yet: the default layout is given.
void cfg_read() {}
void cfg_write() {}
namespace {
uint8_t side_panel_layout = 0;
} // namespace
uint8_t settings_side_panel_layout() {
    return side_panel_layout;
}
void settings_set_side_panel_layout(uint8_t layout) {
    side_panel_layout = static_cast<uint8_t>(layout % 3);
}
namespace {
uint8_t animations_option = 0;
uint8_t autosave_option = 0;
} // namespace
uint8_t settings_animations() {
    return animations_option;
}
void settings_set_animations(uint8_t on) {
    animations_option = on ? 1 : 0;
}
uint8_t settings_autosave() {
    return autosave_option;
}
void settings_set_autosave(uint8_t on) {
    autosave_option = on ? 1 : 0;
}

namespace {
// Until the settings file is read these hold the defaults a missing file gives.
// Read by the cursor timer's thread.
std::atomic<uint8_t> game_speed_option{1};
uint16_t hotkeys[HOTKEY_COUNT] = {0x26, 0x27, 0x28, 0x25, 0x0D, 0x1B, 0x09, 0x09,  0x59, 0x4E,
                                  0x20, 0x44, 0x57, 0x58, 0x43, 0x45, 0x46, 0x4D,  0xBC, 0xBE,
                                  0x41, 0x56, 0x53, 0x4C, 0x48, 0x21, 0x22, 0x1151};
} // namespace
uint8_t settings_game_speed() {
    const uint8_t speed = game_speed_option;
    return speed > 2 ? 2 : speed;
}
void settings_set_game_speed(uint8_t speed) {
    game_speed_option = speed;
}
// The sound module keeps the level it plays at; the settings read and set it there.
uint8_t settings_sound_level() {
    return sound_level > 4 ? 4 : sound_level;
}
void settings_set_sound_level(uint8_t level) {
    sound_level = level;
}
uint16_t settings_hotkey(int slot) {
    return slot >= 0 && slot < HOTKEY_COUNT ? hotkeys[slot] : 0;
}
void settings_set_hotkey(int slot, uint16_t key) {
    if (slot >= 0 && slot < HOTKEY_COUNT) hotkeys[slot] = key;
}
