// The settings file KARVO.CFG: the 72 bytes of the options record
// (engine/options.h, which every option accessor reads), its hot keys' names,
// and today's date.
#pragma once

#include <cstdint>
#include <string>

#include "engine/options.h"

inline constexpr const char* SETTINGS_FILE_NAME = "KARVO.CFG";

// Fills the settings from the file in the configuration directory, or with
// the defaults when there is none (speed 1, animations 1, music and sound 4,
// autosave 1, layout 1, calendar page 0, the default hot keys). A file of any
// size but 72 bytes is refused whole: the defaults, and a line on stderr
// naming the file and its size. Bytes out of range are clamped, a hot key
// with another modifier than none or Ctrl, or with a key that has no name,
// takes its slot's default; 0 is "no key" in slots 8 to 27, which the hot-key
// dialog can clear, and the default in slots 0 to 7. Then the date becomes
// today (cfg_today).
void cfg_read();
// Writes the settings to the file, atomically: false (with a line on stderr)
// when it could not be written, and the old file stays.
bool cfg_write();
// Today's local date as the game starts it: 1 January 1998 for a year before
// 1998, 1 January 2010 for one after 2010.
uint32_t cfg_today();

// The key-name table: 78 rows {key code, name}, then a row of code 0.
struct KeyName {
    uint32_t code;
    const char* name;
};
inline constexpr int KEY_NAME_ROWS = 78;
extern const KeyName cfg_key_names[KEY_NAME_ROWS + 1];
// The name of a key code, nullptr when it has no row.
const char* cfg_key_name(uint32_t code);
// A hot key as the hot-key dialog shows it: the modifier's name (if any)
// then the key's name; a part without a row shows nothing.
std::string cfg_hotkey_name(HotKey key);
// The label of each hot-key slot in the hot-key dialog.
extern const char* const cfg_hotkey_labels[HOTKEY_COUNT];
