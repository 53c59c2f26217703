#include "shell/keyboard.h"

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/toolbar.h"
#include "board/turn.h"
#include "board/turn_flow.h"
#include "board/view.h"
#include "engine/cursor.h"
#include "engine/numpad.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"

uint16_t hotkey_chord = 0;
uint16_t confirm_key_down = 0;

namespace {

constexpr int CURSOR_STEP = 10;
constexpr uint16_t CTRL_CHORD = 0x1100;

bool released(uint32_t flags) {
    return (flags & KEY_FLAG_RELEASE) != 0;
}

bool slot_is(int slot, uint32_t key) {
    return settings_hotkey(slot) == static_cast<uint16_t>(key);
}

int current_player() {
    return game_active_mover >= 0 && game_active_mover < PLAYER_COUNT ? game_active_mover : -1;
}

// A human plays by hand when a seat in the game is exactly human (not handed
// over) and free to act (not in a hotel, away, in jail or in hospital).
bool human_plays_by_hand() {
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.control == CTRL_HUMAN && r.hotel_days == 0 && r.away_days == 0 && r.jail_days == 0 &&
            r.hospital_days == 0)
            return true;
    }
    return false;
}

void post_at_cursor(uint32_t message) {
    int x = 0, y = 0;
    plat_get_cursor_pos(&x, &y);
    plat_post_message(message, 0, plat_pack_point(x, y));
}

// ---- The board's hot-key actions

void switch_layout() {
    settings_set_side_panel_layout(static_cast<uint8_t>((settings_side_panel_layout() + 1) % 3));
    board_input_disable();
    board_repaint(1);
    board_input_enable();
}

void go() {
    cursor_set_mode(0);
    board_input_disable();
    board_repaint_all();
    turn_begin_move();
}

// Motorbike 1 -> 2 -> 1, car 1 -> 2 -> 3 -> 1, on foot it stays; a mover
// that must stay changes nothing.
void dice_count() {
    const int p = current_player();
    if (p < 0) return;
    PlayerRecord& r = player_table[p];
    if (r.stay_days != 0) return;
    const int mode = r.travel & TRAVEL_MODE_MASK;
    const int most = mode == TRAVEL_MOTORBIKE ? 2 : mode == TRAVEL_CAR ? 3 : 1;
    r.dice = static_cast<uint8_t>(r.dice >= most ? 1 : r.dice + 1);
    board_draw_control_box(1);
}

void rotate(int step) {
    view_rotation = (view_rotation + step) & 7;
    hitmap_view_pos[0] = hitmap_view_pos[1] = -1;
    board_draw_map_view(1);
}

void turn_page(int step) {
    if (settings_side_panel_layout() == 2) return;
    const int p = current_player();
    if (p < 0) return;
    board_tabs[p] = static_cast<uint8_t>((board_tabs[p] + step) & 3);
    board_draw_side_panel(1);
}

void quit() {
    cursor_set_mode(0);
    board_input_disable();
    const int p = current_player();
    if (decide_confirm(p < 0 ? 0 : p, nullptr, 220, 240)) {
        cfg_write();
        app_quit = 1;
    } else {
        board_input_enable();
        cursor_set_mode(1);
    }
}

struct HotKeyAction {
    int slot;
    void (*run)();
};

// The board's own hot keys, in the order the chord is compared with them.
constexpr HotKeyAction OWN_KEYS[] = {
    {HK_SWITCH_LAYOUT, switch_layout},    {HK_GO, go},
    {HK_DICE_COUNT, dice_count},          {HK_ROTATE_LEFT, [] { rotate(-1); }},
    {HK_ROTATE_RIGHT, [] { rotate(1); }}, {HK_QUIT, quit},
    {HK_PAGE_UP, [] { turn_page(-1); }},  {HK_PAGE_DOWN, [] { turn_page(1); }},
};

// Runs the first key the chord matches: the board's own keys as listed, the
// toolbar commands' keys (their rows in board/toolbar.h) in slot order, each
// compared just before the first own key of a higher slot.
void run_first_match(uint16_t chord) {
    int next_toolbar_slot = 0;
    // Compares the toolbar's keys below `limit` not compared yet.
    auto toolbar_key_below = [&](int limit) {
        for (; next_toolbar_slot < limit; ++next_toolbar_slot) {
            const int command = toolbar_command_of_hot_key(next_toolbar_slot);
            if (command >= 0 && settings_hotkey(next_toolbar_slot) == chord) {
                board_toolbar_command(command);
                return true;
            }
        }
        return false;
    };
    for (const HotKeyAction& a : OWN_KEYS) {
        if (toolbar_key_below(a.slot)) return;
        if (settings_hotkey(a.slot) == chord) {
            a.run();
            return;
        }
    }
    toolbar_key_below(HOTKEY_COUNT);
}

void hot_key(uint32_t key, uint32_t flags) {
    if (!board_input_enabled) return;
    // A release or an auto-repeat breaks the chord: Ctrl held down must be
    // pressed again before the key of its chord.
    if (flags & (KEY_FLAG_RELEASE | KEY_FLAG_REPEAT)) {
        hotkey_chord = 0;
        return;
    }
    if (key == VK_CONTROL)
        hotkey_chord = CTRL_CHORD;
    else
        hotkey_chord = static_cast<uint16_t>(hotkey_chord | key);
    run_first_match(hotkey_chord);
    if (hotkey_chord != CTRL_CHORD) hotkey_chord = 0;
}

} // namespace

void keyboard_reset() {
    hotkey_chord = 0;
    confirm_key_down = 0;
}

int32_t app_keyboard_hook(int32_t, uint32_t key, uint32_t flags) {
    if (!app_active) return 0;
    int x = 0, y = 0;
    plat_get_cursor_pos(&x, &y);
    const bool press = !released(flags);
    if (press && slot_is(HK_CURSOR_UP, key)) {
        plat_set_cursor_pos(x, y - CURSOR_STEP);
    } else if (press && slot_is(HK_CURSOR_RIGHT, key)) {
        plat_set_cursor_pos(x + CURSOR_STEP, y);
    } else if (press && slot_is(HK_CURSOR_DOWN, key)) {
        plat_set_cursor_pos(x, y + CURSOR_STEP);
    } else if (press && slot_is(HK_CURSOR_LEFT, key)) {
        plat_set_cursor_pos(x - CURSOR_STEP, y);
    } else if (slot_is(HK_CONFIRM, key)) {
        // The pad reads Enter itself; a held key clicks once.
        if (numpad_open || (press && confirm_key_down)) return 0;
        post_at_cursor(press ? WM_LBUTTONDOWN : WM_LBUTTONUP);
        confirm_key_down = press ? 1 : 0;
    } else if (!press && slot_is(HK_CANCEL, key)) {
        if (board_screen_active && screen_depth == 1) {
            // Only the board is open: Esc ends the computer's auto-play of
            // every human, unless a human plays by hand.
            if (!human_plays_by_hand()) autoplay_stop_request = 1;
        } else {
            plat_post_message(WM_RBUTTONUP, 0, 0);
        }
    } else {
        hot_key(key, flags);
    }
    return 0;
}
