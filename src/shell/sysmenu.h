// The system window: the options, and the date, hot-key and help buttons
// (mode 0, from the title) or restart, surrender and quit (mode 1, in a game).
// The options are edited on a copy that takes effect only on OK.
#pragma once

#include <cstdint>

#include "engine/options.h"
#include "platform/messages.h"

enum SysmenuMode : int32_t { SYSMENU_TITLE = 0, SYSMENU_GAME = 1 };

// Hot spots of the system window, relative to its top-left corner.
enum SysmenuSpot : int {
    SM_SPEED = 0,
    SM_MUSIC_BAR = 1,
    SM_SOUND_BAR = 2,
    SM_BUTTON_0 = 3, // date / restart
    SM_BUTTON_1 = 4, // hot keys / surrender
    SM_BUTTON_2 = 5, // help / quit
    SM_TRACKS = 6,
    SM_CANCEL = 7,
    SM_OK = 8,
    SM_ANIMATIONS = 9,
    SM_MUSIC_ON = 10,
    SM_SOUND_ON = 11,
    SM_AUTOSAVE = 12,
    SM_LAYOUT_0 = 13,
    SM_LAYOUT_1 = 14,
    SM_LAYOUT_2 = 15,
};
inline constexpr int SYSMENU_SPOT_COUNT = 16;
struct SysmenuRect {
    int left, top, right, bottom; // right and bottom exclusive
};
extern const SysmenuRect sysmenu_spots[SYSMENU_SPOT_COUNT];
// Close code bit: the side-panel layout was changed.
inline constexpr int32_t SYSMENU_LAYOUT_CHANGED = 0x8000;
enum SysmenuAction : int32_t { SM_NONE = 0, SM_RESTART = 1, SM_SURRENDER = 2, SM_QUIT = 3 };

extern int32_t sysmenu_mode;
// The working copy of the settings while the window is open (only its first
// 16 bytes, the options, are edited; the hot keys are the dialog's).
extern SettingsRecord sysmenu_options_copy;

// The first hot spot holding the point (relative), -1 for none.
int sysmenu_spot_at(int x, int y);
// A left press on hot spot `spot` at the relative point: the copy's options
// change (bars, checks, layout), a track is started. Plays the press sound.
void sysmenu_press(int spot, int x, int y);
// OK: the copy becomes the settings, the file is written, the music follows
// the new level. SYSMENU_LAYOUT_CHANGED when the layout differs, else 0.
int32_t sysmenu_ok();

// Runs the window centred and performs the chosen game action.
int sysmenu_run(int mode);
// The window procedure (run by sysmenu_run; lParam = (top << 16) | left).
int32_t sysmenu_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
// What sysmenu_run does with the window's close code.
void sysmenu_perform(int32_t r);

// The mode-0 actions.
void sysmenu_date_dialog();
void sysmenu_hotkey_dialog();
void sysmenu_help();
// The mode-1 actions.
void sysmenu_restart();
void sysmenu_surrender();
void sysmenu_quit();

// The date dialog's editing of its working date.
enum DateButton : int {
    DATE_MONTH_DOWN = 0,
    DATE_MONTH_UP = 1,
    DATE_YEAR_DOWN = 2,
    DATE_YEAR_UP = 3,
    DATE_TODAY = 4,
};
inline constexpr int DATE_YEAR_FIRST = 1998, DATE_YEAR_LAST = 2010;
// The date after a button; the day is cut to its month's length.
uint32_t sysmenu_date_step(uint32_t date, int button, uint32_t today);
// The day of the month under the relative point of the day grid (0 none).
int sysmenu_date_day_at(uint32_t date, int x, int y);
// The date dialog's result: -1 cancelled, else the chosen date. Sets the
// copy's date and game_date at once when not cancelled.
void sysmenu_date_apply(int32_t d);

// The hot-key dialog's editing.
struct HotkeyEdit {
    HotKey keys[HOTKEY_COUNT];
    HotKey before = 0; // the selected slot's key before it was cleared
    int selected = -1; // -1 none
};
void hotkey_edit_start(HotkeyEdit& e);
// A click on slot `slot`: slots 8..27 become selected with their key cleared.
void hotkey_edit_select(HotkeyEdit& e, int slot);
// A key press while a slot is selected (keys without a name do nothing).
void hotkey_edit_key(HotkeyEdit& e, uint32_t vk);
// OK: the keys go into the settings and the file is written.
void hotkey_edit_ok(HotkeyEdit& e);
// The slot of a key cell at the relative point, -1 for none.
int hotkey_cell_at(int x, int y);
