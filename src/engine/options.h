// The player's options and hot keys: one record, `settings`, which is the
// exact image of the settings file. The engine, the board and the windows
// read and set the options through the accessors below; the shell's
// settings module reads and writes the file (shell/settings.h).
#pragma once

#include <cstddef>
#include <cstdint>

// Hot-key slots, in file order.
enum HotKeySlot : int {
    HK_CURSOR_UP = 0,
    HK_CURSOR_RIGHT = 1,
    HK_CURSOR_DOWN = 2,
    HK_CURSOR_LEFT = 3,
    HK_CONFIRM = 4,
    HK_CANCEL = 5,
    HK_SWITCH_OPTION = 6,
    HK_SWITCH_LAYOUT = 7,
    HK_YES = 8,
    HK_NO = 9,
    HK_GO = 10,
    HK_DICE_COUNT = 11,
    HK_STOCKS = 12,
    HK_TRADE = 13,
    HK_CARDS = 14,
    HK_ITEMS = 15,
    HK_QUERY = 16,
    HK_MAP = 17,
    HK_ROTATE_LEFT = 18,
    HK_ROTATE_RIGHT = 19,
    HK_AUTOPLAY = 20,
    HK_SYSTEM = 21,
    HK_SAVE = 22,
    HK_LOAD = 23,
    HK_HELP = 24,
    HK_PAGE_UP = 25,
    HK_PAGE_DOWN = 26,
    HK_QUIT = 27,
};
inline constexpr int HOTKEY_COUNT = 28;
// A hot key: low byte a virtual-key code, high byte the modifier (0x11 for
// Ctrl, 0 for none).
using HotKey = uint16_t;
inline constexpr uint8_t HOTKEY_CTRL = 0x11;

// The default of each slot.
inline constexpr HotKey cfg_default_hotkeys[HOTKEY_COUNT] = {
    0x26, 0x27, 0x28, 0x25, 0x0D, 0x1B, 0x09, 0x09, 0x59, 0x4E, 0x20, 0x44, 0x57, 0x58,
    0x43, 0x45, 0x46, 0x4D, 0xBC, 0xBE, 0x41, 0x56, 0x53, 0x4C, 0x48, 0x21, 0x22, 0x1151};

// The settings file's 72 bytes.
struct SettingsRecord {
    uint8_t game_speed;        // 0..2: a board step every 6, 4 or 2 cursor ticks
    uint8_t animations;        // 1: films, captions, greetings shown
    uint8_t music_level;       // 0..4, 0 off
    uint8_t sound_level;       // 0..4, 0 silent
    uint8_t autosave;          // 1: slot 0 written after each new day
    uint8_t side_panel_layout; // 0 calendar, 1 minimap, 2 the composite header
    uint8_t unused_6[2];       // kept as read
    uint32_t game_date;        // PackedDate: the game's today
    uint8_t calendar_page;     // 0..1, the side panel's calendar page
    uint8_t unused_13[3];      // kept as read
    HotKey hotkeys[HOTKEY_COUNT];
};
static_assert(sizeof(SettingsRecord) == 72);
static_assert(offsetof(SettingsRecord, autosave) == 4);
static_assert(offsetof(SettingsRecord, game_date) == 8);
static_assert(offsetof(SettingsRecord, calendar_page) == 12);
static_assert(offsetof(SettingsRecord, hotkeys) == 16);
inline constexpr size_t SETTINGS_FILE_SIZE = 72;

// The record's fields at their offsets (engine/record_io.h).
template <typename Io, typename Rec> void settings_fields(const Io& io, Rec& r) {
    io(r.game_speed, 0);
    io(r.animations, 1);
    io(r.music_level, 2);
    io(r.sound_level, 3);
    io(r.autosave, 4);
    io(r.side_panel_layout, 5);
    io(r.unused_6[0], 6);
    io(r.unused_6[1], 7);
    io(r.game_date, 8);
    io(r.calendar_page, 12);
    for (size_t i = 0; i < 3; ++i)
        io(r.unused_13[i], 13 + i);
    for (size_t i = 0; i < HOTKEY_COUNT; ++i)
        io(r.hotkeys[i], 16 + 2 * i);
}

// 1 January 1998, the date of a game before any settings file is read.
inline constexpr uint32_t SETTINGS_START_DATE = 0x07CE0101;

extern SettingsRecord settings;

// Replaces the whole record (the speed byte as the cursor timer reads it).
void settings_replace(const SettingsRecord& r);
// Puts back the values the program starts with before any file is read:
// speed 1, music and sound 4, the default hot keys, animations, autosave,
// layout and calendar page 0, the date 1 January 1998.
void settings_reset_start_values();

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
// cursor ticks); values above 2 read as 2. Read by the cursor timer's thread.
uint8_t settings_game_speed();
void settings_set_game_speed(uint8_t speed);
// Option byte 2: the music level 0..4 (0 off); values above 4 read as 4.
uint8_t settings_music_level();
void settings_set_music_level(uint8_t level);
// Option byte 3: the sound level 0..4 (0 silent); values above 4 read as 4.
uint8_t settings_sound_level();
void settings_set_sound_level(uint8_t level);
// Byte 12: the side panel's calendar page 0..1.
uint8_t settings_calendar_page();
void settings_set_calendar_page(uint8_t page);
// The hot key of a slot 0..27 (0 for any other slot).
HotKey settings_hotkey(int slot);
void settings_set_hotkey(int slot, HotKey key);
