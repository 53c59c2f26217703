// The picker's window: a modal screen over the board view. The cursor shows
// the caller's frames over an acceptable target and the no-target shape
// elsewhere; with scrolling allowed, holding it at an edge moves the view
// ever faster.
#include <cstdint>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/view.h"
#include "cards/target_pick.h"
#include "cards/target_pick_layout.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"

namespace {

constexpr uint32_t SCROLL_TIMER_MS = 50;
constexpr int BOARD_CLICK = 1; // board_effects element

struct Picker {
    uint32_t param = 0;
    uint32_t kinds = 0;
    int user = -1;
    int target = 0;
    int edge = PICK_EDGE_NONE;
    int speed = PICK_SCROLL_START_SPEED;
    int scroll_x = 0, scroll_y = 0;
    bool target_shape = false;
};
Picker picker;

void stop_scroll() {
    if (picker.edge == PICK_EDGE_NONE) return;
    screen_timer_stop();
    picker.edge = PICK_EDGE_NONE;
    picker.speed = PICK_SCROLL_START_SPEED;
}

void start_scroll(int edge) {
    if (picker.edge == PICK_EDGE_NONE) {
        if (board_scroll_target) {
            picker.scroll_x = board_scroll_x;
            picker.scroll_y = board_scroll_y;
        } else if (is_player_seat(picker.user)) {
            picker.scroll_x = player_table[picker.user].x;
            picker.scroll_y = player_table[picker.user].y;
        }
        screen_timer_start(SCROLL_TIMER_MS);
    }
    picker.edge = edge;
    picker.target = 0;
    picker.target_shape = false;
    cursor_set_shape(PICK_CURSOR_EDGE[edge], 1, 0);
}

void hover(int x, int y) {
    int code = 0;
    if (x >= 0 && x < VIEW_HITMAP_SIDE && y >= VIEW_TOP && y < VIEW_TOP + VIEW_HITMAP_SIDE) {
        view_hitmap_build(0);
        code = view_hitmap_at(x, y - VIEW_TOP);
    }
    if (code != 0 && target_pick_accepts(picker.param, picker.user, code)) {
        if (!picker.target_shape)
            cursor_set_shape(target_pick_first_frame(picker.param),
                             target_pick_frame_count(picker.param), PICK_TARGET_FRAME_TICKS);
        picker.target = code;
        picker.target_shape = true;
        return;
    }
    if (picker.target_shape || picker.target != 0 || cursor_state.first != PICK_CURSOR_NO_TARGET)
        cursor_set_shape(PICK_CURSOR_NO_TARGET, 1, 0);
    picker.target = 0;
    picker.target_shape = false;
}

void finish(int32_t result) {
    stop_scroll();
    cursor_set_shape(PICK_CURSOR_NORMAL, 1, 0);
    screen_close(result);
}

int32_t target_pick_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START: {
        picker.kinds = target_pick_kinds(picker.param);
        picker.target = 0;
        picker.target_shape = false;
        picker.edge = PICK_EDGE_NONE;
        picker.speed = PICK_SCROLL_START_SPEED;
        cursor_set_mode(1);
        view_hitmap_build(1);
        int x = 0, y = 0;
        plat_get_cursor_pos(&x, &y);
        plat_post_message(WM_MOUSEMOVE, 0, plat_pack_point(x, y));
        return 0;
    }
    case WM_MOUSEMOVE:
        if (picker.kinds & PICK_SCROLL) {
            if (const int edge = target_pick_edge_at(mx, my)) {
                start_scroll(edge);
                return 0;
            }
            stop_scroll();
        }
        hover(mx, my);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam) || cursor_get_mode() != 1) return 0;
        if (target_pick_scroll_tick(picker.edge, view_rotation, &picker.speed, &picker.scroll_x,
                                    &picker.scroll_y))
            board_view_refresh(picker.scroll_x, picker.scroll_y, 0);
        return 0;
    case WM_LBUTTONUP:
        if (picker.edge != PICK_EDGE_NONE) return 0;
        if (picker.target != 0) {
            snd_board_effect_play(BOARD_CLICK, 0);
            finish(picker.target);
        } else {
            snd_effect_play(&ui_effects[UI_REFUSED], 0);
        }
        return 0;
    case WM_RBUTTONUP:
        if (picker.edge != PICK_EDGE_NONE || (picker.kinds & PICK_NO_CANCEL)) return 0;
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        finish(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

int run_picker(uint32_t param, int user) {
    if (!popup_lock_back()) return 0; // no display: nobody to click
    popup_unlock_back();
    picker = Picker{};
    picker.param = param;
    picker.user = user;
    const int32_t code = screen_run(target_pick_wndproc, static_cast<int32_t>(param));
    picker.edge = PICK_EDGE_NONE;
    return code;
}

int target_pick_window(const DecisionRequest& r) {
    return run_picker(static_cast<uint32_t>(r.param), r.player);
}

// An answer given for the picker stands only when the window could have
// given it: it names something on the board now that the picker accepts.
bool target_pick_answer_ok(const DecisionRequest& r, int answer) {
    if (answer == 0) return true;
    return target_pick_names_board_object(answer) &&
           target_pick_accepts(static_cast<uint32_t>(r.param), r.player, answer);
}

} // namespace

DECISION_KIND(DECIDE_TARGET, target_pick_window, target_pick_answer_ok, 0);

int target_pick(uint32_t param) {
    return run_picker(param, game_active_mover);
}
