#include "shell/sysmenu.h"

#include <cstring>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/turn_flow.h"
#include "engine/music.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"
#include "finance/magic_house.h"
#include "shell/app.h"
#include "shell/help.h"
#include "shell/settings.h"
#include "shell/sysmenu_layout.h"

int32_t sysmenu_mode = SYSMENU_TITLE;
SettingsRecord sysmenu_options_copy{};

const SysmenuRect sysmenu_spots[SYSMENU_SPOT_COUNT] = {
    {81, 17, 128, 33},    {89, 81, 152, 97},    {89, 113, 152, 129},  {227, 14, 327, 49},
    {227, 68, 327, 103},  {227, 119, 327, 154}, {18, 226, 177, 345},  {194, 314, 256, 344},
    {266, 314, 328, 344}, {98, 50, 113, 65},    {66, 82, 81, 97},     {66, 114, 81, 129},
    {98, 146, 113, 161},  {217, 214, 324, 236}, {217, 246, 324, 268}, {217, 278, 324, 300},
};

namespace {

// The options are the record's first 16 bytes: all but the hot keys.
constexpr size_t OPTION_BYTES = offsetof(SettingsRecord, hotkeys);
static_assert(OPTION_BYTES == 16);

void click_sound() {
    snd_effect_play(&ui_effects[UI_PRESS], 0);
}

bool background_playing() {
    return (music_current & MUSIC_BACKGROUND_BIT) != 0;
}

} // namespace

int sysmenu_spot_at(int x, int y) {
    for (int i = 0; i < SYSMENU_SPOT_COUNT; ++i) {
        const SysmenuRect& r = sysmenu_spots[i];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
    }
    return -1;
}

void sysmenu_press(int spot, int x, int y) {
    SettingsRecord& c = sysmenu_options_copy;
    switch (spot) {
    case SM_SPEED:
        c.game_speed = static_cast<uint8_t>((x - sysmenu_spots[spot].left) / SYSMENU_BAR_STEP);
        click_sound();
        break;
    case SM_MUSIC_BAR:
        c.music_level = static_cast<uint8_t>((x - sysmenu_spots[spot].left) / SYSMENU_BAR_STEP + 1);
        click_sound();
        break;
    case SM_SOUND_BAR:
        c.sound_level = static_cast<uint8_t>((x - sysmenu_spots[spot].left) / SYSMENU_BAR_STEP + 1);
        click_sound();
        break;
    case SM_ANIMATIONS:
        c.animations = c.animations ? 0 : 1;
        click_sound();
        break;
    case SM_AUTOSAVE:
        c.autosave = c.autosave ? 0 : 1;
        click_sound();
        break;
    case SM_MUSIC_ON:
        c.music_level = c.music_level ? 0 : 4;
        click_sound();
        break;
    case SM_SOUND_ON:
        c.sound_level = c.sound_level ? 0 : 4;
        click_sound();
        break;
    case SM_LAYOUT_0:
    case SM_LAYOUT_1:
    case SM_LAYOUT_2:
        c.side_panel_layout = static_cast<uint8_t>(spot - SM_LAYOUT_0);
        click_sound();
        break;
    case SM_TRACKS:
        // A track is picked only while the music is on and a background plays.
        if (settings_music_level() != 0 && background_playing())
            music_next_background((y - sysmenu_spots[spot].top) / SYSMENU_TRACK_ROW_H + 1);
        else
            snd_effect_play(&ui_effects[UI_REFUSED], 0);
        break;
    case SM_BUTTON_0:
    case SM_BUTTON_1:
    case SM_BUTTON_2:
    case SM_OK:
        click_sound();
        break;
    case SM_CANCEL:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        break;
    default:
        break;
    }
}

int32_t sysmenu_ok() {
    const uint8_t m = settings_music_level();
    const uint8_t l = settings_side_panel_layout();
    SettingsRecord next = settings;
    std::memcpy(&next, &sysmenu_options_copy, OPTION_BYTES);
    settings_replace(next);
    cfg_write();
    const uint8_t now = settings_music_level();
    if (now == 0 && m != 0)
        music_turn_off();
    else if (now != 0 && m == 0)
        music_turn_on();
    else if (now != 0 && now != m)
        music_apply_level();
    return settings_side_panel_layout() != l ? SYSMENU_LAYOUT_CHANGED : 0;
}

void sysmenu_perform(int32_t r) {
    switch (r & 0x7FFF) {
    case SM_RESTART:
        sysmenu_restart();
        break;
    case SM_SURRENDER:
        sysmenu_surrender();
        break;
    case SM_QUIT:
        sysmenu_quit();
        break;
    default:
        break;
    }
    // Only a game has a board to repaint: from the title the new layout
    // shows when the next game opens its board.
    if ((r & SYSMENU_LAYOUT_CHANGED) && sysmenu_mode == SYSMENU_GAME) board_repaint(1);
}

void sysmenu_help() {
    help_show(-1, -1);
}

void sysmenu_restart() {
    game_date = cfg_today();
    game_end_code = END_TO_TITLE;
}

void sysmenu_surrender() {
    const int leaver = game_active_mover;
    player_go_bankrupt(leaver);
    // The bankruptcy may have ended the game: nobody is left to haunt then.
    if (game_end_code != END_RUNNING) return;
    if (game_human_count <= 1 || player_count_human() == 0) return;
    const int pick = magic_pick_revenge_target(leaver);
    if (pick <= 0) return;
    const int32_t mover = game_active_mover;
    game_active_mover = pick - 1;
    board_repaint(1);
    god_place(15, 0, 7, pick);
    game_active_mover = mover;
}

void sysmenu_quit() {
    cfg_write();
    app_quit = 1;
}

uint32_t sysmenu_date_step(uint32_t date, int button, uint32_t today) {
    int y = cal_year(date), m = cal_month(date), d = cal_day(date);
    switch (button) {
    case DATE_MONTH_DOWN:
        m = m <= 1 ? 12 : m - 1;
        break;
    case DATE_MONTH_UP:
        m = m >= 12 ? 1 : m + 1;
        break;
    case DATE_YEAR_DOWN:
        if (y > DATE_YEAR_FIRST) --y;
        break;
    case DATE_YEAR_UP:
        if (y < DATE_YEAR_LAST) ++y;
        break;
    case DATE_TODAY:
        return today;
    default:
        break;
    }
    const int length = cal_month_length(y, m);
    if (d > length) d = length;
    if (d < 1) d = 1;
    return cal_pack(y, m, d);
}

int sysmenu_date_day_at(uint32_t date, int x, int y) {
    int first_weekday = 0, length = 0;
    cal_weekday(cal_pack(cal_year(date), cal_month(date), 1), &first_weekday, &length);
    for (int day = 1; day <= length; ++day) {
        const int cell = first_weekday + day - 1;
        const int cx = SYSMENU_DAY_X + SYSMENU_DAY_STEP_X * (cell % SYSMENU_WEEK_DAYS);
        const int cy = SYSMENU_DAY_Y + SYSMENU_DAY_STEP_Y * (cell / SYSMENU_WEEK_DAYS);
        if (x - cx <= SYSMENU_DAY_HALF_W && cx - x <= SYSMENU_DAY_HALF_W &&
            y - cy <= SYSMENU_DAY_HALF_H && cy - y <= SYSMENU_DAY_HALF_H)
            return day;
    }
    return 0;
}

void sysmenu_date_apply(int32_t d) {
    if (d == -1) return;
    sysmenu_options_copy.game_date = static_cast<uint32_t>(d);
    game_date = static_cast<uint32_t>(d);
}

void hotkey_edit_start(HotkeyEdit& e) {
    std::memcpy(e.keys, settings.hotkeys, sizeof e.keys);
    e.selected = -1;
    e.before = 0;
}

void hotkey_edit_select(HotkeyEdit& e, int slot) {
    if (slot < HK_YES || slot >= HOTKEY_COUNT) return;
    // A slot left holding only Ctrl gets its key back.
    if (e.selected >= 0 && e.keys[e.selected] == (HOTKEY_CTRL << 8)) e.keys[e.selected] = e.before;
    e.selected = slot;
    e.before = e.keys[slot];
    e.keys[slot] = 0;
}

void hotkey_edit_key(HotkeyEdit& e, uint32_t vk) {
    if (e.selected < 0 || !cfg_key_name(vk)) return;
    if (vk == HOTKEY_CTRL) {
        e.keys[e.selected] = HOTKEY_CTRL << 8;
        return;
    }
    e.keys[e.selected] = static_cast<HotKey>(e.keys[e.selected] | (vk & 0xFF));
    e.selected = -1;
}

void hotkey_edit_ok(HotkeyEdit& e) {
    // Ctrl alone would fire at every Ctrl press: the slot keeps its old key.
    if (e.selected >= 0 && e.keys[e.selected] == (HOTKEY_CTRL << 8)) e.keys[e.selected] = e.before;
    e.selected = -1;
    SettingsRecord next = settings;
    std::memcpy(next.hotkeys, e.keys, sizeof next.hotkeys);
    settings_replace(next);
    cfg_write();
}

int hotkey_cell_at(int x, int y) {
    constexpr int rows = SYSMENU_KEY_COLUMN_ROWS;
    if (y < SYSMENU_KEY_TOP || y >= SYSMENU_KEY_TOP + SYSMENU_KEY_ROW_H * rows) return -1;
    const int row = (y - SYSMENU_KEY_TOP) / SYSMENU_KEY_ROW_H;
    for (int column = 0; column < 2; ++column) {
        const int x0 = SYSMENU_KEY_COLUMN_X[column], first = rows * column;
        if (x >= x0 && x <= x0 + SYSMENU_KEY_HIT_W && first + row < HOTKEY_COUNT)
            return first + row;
    }
    return -1;
}
