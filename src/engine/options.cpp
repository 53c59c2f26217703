#include "engine/options.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

constexpr SettingsRecord start_values() {
    SettingsRecord r{};
    r.game_speed = 1;
    r.music_level = 4;
    r.sound_level = 4;
    r.game_date = SETTINGS_START_DATE;
    for (int i = 0; i < HOTKEY_COUNT; ++i)
        r.hotkeys[i] = cfg_default_hotkeys[i];
    return r;
}

// The cursor timer's thread reads the speed while the main thread may set it.
std::atomic_ref<uint8_t> speed_byte() {
    return std::atomic_ref<uint8_t>(settings.game_speed);
}

} // namespace

constinit SettingsRecord settings = start_values();

void settings_replace(const SettingsRecord& r) {
    static_assert(offsetof(SettingsRecord, game_speed) == 0);
    std::memcpy(reinterpret_cast<uint8_t*>(&settings) + 1, reinterpret_cast<const uint8_t*>(&r) + 1,
                sizeof r - 1);
    speed_byte().store(r.game_speed, std::memory_order_relaxed);
}

void settings_reset_start_values() {
    settings_replace(start_values());
}

uint8_t settings_side_panel_layout() {
    return settings.side_panel_layout;
}
void settings_set_side_panel_layout(uint8_t layout) {
    settings.side_panel_layout = static_cast<uint8_t>(layout % 3);
}
uint8_t settings_animations() {
    return settings.animations;
}
void settings_set_animations(uint8_t on) {
    settings.animations = on ? 1 : 0;
}
uint8_t settings_autosave() {
    return settings.autosave;
}
void settings_set_autosave(uint8_t on) {
    settings.autosave = on ? 1 : 0;
}
uint8_t settings_game_speed() {
    return std::min<uint8_t>(speed_byte().load(std::memory_order_relaxed), 2);
}
void settings_set_game_speed(uint8_t speed) {
    speed_byte().store(speed, std::memory_order_relaxed);
}
uint8_t settings_music_level() {
    return std::min<uint8_t>(settings.music_level, 4);
}
void settings_set_music_level(uint8_t level) {
    settings.music_level = level;
}
uint8_t settings_sound_level() {
    return std::min<uint8_t>(settings.sound_level, 4);
}
void settings_set_sound_level(uint8_t level) {
    settings.sound_level = level;
}
uint8_t settings_calendar_page() {
    return settings.calendar_page;
}
void settings_set_calendar_page(uint8_t page) {
    settings.calendar_page = page ? 1 : 0;
}
HotKey settings_hotkey(int slot) {
    return slot >= 0 && slot < HOTKEY_COUNT ? settings.hotkeys[slot] : 0;
}
void settings_set_hotkey(int slot, HotKey key) {
    if (slot >= 0 && slot < HOTKEY_COUNT) settings.hotkeys[slot] = key;
}
