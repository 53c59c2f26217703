#include "shell/settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/record_io.h"
#include "platform/paths.h"

const KeyName cfg_key_names[KEY_NAME_ROWS + 1] = {
    {0x08, "BS"},    {0x09, "TAB"},     {0x0D, "ENTER"},     {0x11, "CTRL-"}, {0x1B, "ESC"},
    {0x20, "SPACE"}, {0x21, "PAGE UP"}, {0x22, "PAGE DOWN"}, {0x23, "END"},   {0x24, "HOME"},
    {0x25, "←"},     {0x26, "↑"},       {0x27, "→"},         {0x28, "↓"},     {0x2D, "INS"},
    {0x30, "0"},     {0x31, "1"},       {0x32, "2"},         {0x33, "3"},     {0x34, "4"},
    {0x35, "5"},     {0x36, "6"},       {0x37, "7"},         {0x38, "8"},     {0x39, "9"},
    {0x41, "A"},     {0x42, "B"},       {0x43, "C"},         {0x44, "D"},     {0x45, "E"},
    {0x46, "F"},     {0x47, "G"},       {0x48, "H"},         {0x49, "I"},     {0x4A, "J"},
    {0x4B, "K"},     {0x4C, "L"},       {0x4D, "M"},         {0x4E, "N"},     {0x4F, "O"},
    {0x50, "P"},     {0x51, "Q"},       {0x52, "R"},         {0x53, "S"},     {0x54, "T"},
    {0x55, "U"},     {0x56, "V"},       {0x57, "W"},         {0x58, "X"},     {0x59, "Y"},
    {0x5A, "Z"},     {0x6A, "*"},       {0x6B, "+"},         {0x6D, "-"},     {0x6F, "/"},
    {0x70, "F1"},    {0x71, "F2"},      {0x72, "F3"},        {0x73, "F4"},    {0x74, "F5"},
    {0x75, "F6"},    {0x76, "F7"},      {0x77, "F8"},        {0x78, "F9"},    {0x79, "F10"},
    {0x7A, "F11"},   {0x7B, "F12"},     {0xBA, ";"},         {0xBB, "="},     {0xBC, "<"},
    {0xBD, "-"},     {0xBE, ">"},       {0xBF, "?"},         {0xC0, "~"},     {0xDB, "["},
    {0xDC, "\\"},    {0xDD, "]"},       {0xDE, "'"},         {0, nullptr},
};

const char* const cfg_hotkey_labels[HOTKEY_COUNT] = {
    "光标上移",   "光标右移",  "光标下移",  "光标左移", "确定执行",     "取消指令",     "切换选项",
    "切换视窗组", "是<YES>",   "否<NO>",    "前进指令", "选择骰子数",   "股市",         "交易",
    "卡片",       "道具",      "查询",      "地图",     "地图向左旋转", "地图向右旋转", "托管",
    "系统",       "SAVE GAME", "LOAD GAME", "辅助说明", "向上换页",     "向下换页",     "结束程式",
};

const char* cfg_key_name(uint32_t code) {
    for (const KeyName* row = cfg_key_names; row->code != 0; ++row)
        if (row->code == code) return row->name;
    return nullptr;
}

std::string cfg_hotkey_name(HotKey key) {
    std::string name;
    if (const uint8_t modifier = static_cast<uint8_t>(key >> 8))
        if (const char* m = cfg_key_name(modifier)) name = m;
    if (const char* k = cfg_key_name(key & 0xFF)) name += k;
    return name;
}

uint32_t cfg_today() {
    const PlatDate today = plat_local_date();
    if (today.year < 1998) return SETTINGS_START_DATE;
    if (today.year > 2010) return 0x07DA0101; // 1 January 2010
    return static_cast<uint32_t>(today.year) << 16 | static_cast<uint32_t>(today.month) << 8 |
           static_cast<uint32_t>(today.day);
}

namespace {

// What a missing (or refused) file gives; bytes not named stay 0.
SettingsRecord missing_file_defaults() {
    SettingsRecord r{};
    r.game_speed = 1;
    r.animations = 1;
    r.music_level = 4;
    r.sound_level = 4;
    r.autosave = 1;
    r.side_panel_layout = 1;
    std::copy(std::begin(cfg_default_hotkeys), std::end(cfg_default_hotkeys), r.hotkeys);
    return r;
}

// The hot-key dialog clears a slot it can change (8 to 27) to 0, "no key",
// and that is kept; the first eight always hold a key.
bool hotkey_usable(int slot, HotKey key) {
    if (key == 0) return slot >= HK_YES;
    const uint8_t modifier = static_cast<uint8_t>(key >> 8);
    return (modifier == 0 || modifier == HOTKEY_CTRL) && cfg_key_name(key & 0xFF) != nullptr;
}

// Brings every byte of a record read from a file into its range.
void clamp_record(SettingsRecord& r) {
    r.game_speed = std::min<uint8_t>(r.game_speed, 2);
    r.animations = r.animations ? 1 : 0;
    r.music_level = std::min<uint8_t>(r.music_level, 4);
    r.sound_level = std::min<uint8_t>(r.sound_level, 4);
    r.autosave = r.autosave ? 1 : 0;
    r.side_panel_layout = std::min<uint8_t>(r.side_panel_layout, 2);
    r.calendar_page = std::min<uint8_t>(r.calendar_page, 1);
    for (int i = 0; i < HOTKEY_COUNT; ++i)
        if (!hotkey_usable(i, r.hotkeys[i])) r.hotkeys[i] = cfg_default_hotkeys[i];
}

} // namespace

void cfg_read() {
    SettingsRecord r = missing_file_defaults();
    const std::string path = plat_find_user_file(plat_config_dir(), SETTINGS_FILE_NAME);
    if (!path.empty()) {
        std::vector<uint8_t> bytes;
        std::string error;
        // Any size is read (up to a bound), so that the message can name it.
        if (!plat_read_user_file(path, 1 << 20, &bytes, &error)) {
            std::fprintf(stderr, "karvo: settings file %s, using the defaults\n", error.c_str());
        } else if (bytes.size() != SETTINGS_FILE_SIZE) {
            std::fprintf(stderr,
                         "karvo: settings file %s has %zu bytes, not %zu: using the defaults\n",
                         path.c_str(), bytes.size(), SETTINGS_FILE_SIZE);
        } else {
            settings_fields(RecordGet{bytes.data()}, r);
            clamp_record(r);
        }
    }
    r.game_date = cfg_today();
    settings_replace(r);
}

bool cfg_write() {
    uint8_t image[SETTINGS_FILE_SIZE] = {};
    settings_fields(RecordPut{image}, settings);
    std::string error;
    if (plat_write_file_atomic(plat_config_dir(), SETTINGS_FILE_NAME, image, sizeof image, &error))
        return true;
    std::fprintf(stderr, "karvo: cannot write the settings: %s\n", error.c_str());
    return false;
}
