#include "board/spinner_screen.h"

#include <cstdlib>

#include "board/decisions.h"
#include "board/spinner.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/shown.h"
#include "engine/text.h"
#include "engine/wait.h"
#include "platform/clock.h"
#include "platform/queue.h"

namespace {

struct ScreenState {
    void* set = nullptr;  // the device's pictures
    bool own_set = false; // read here (freed at close)
    ImageRecord* saved = nullptr;
    int three = 0;
    bool reels = false;
    PlatRect panel{0, 0, 0, 0};
    bool released = false;
    const void* test_reels = nullptr;
    const void* test_wheels = nullptr;
    int cursor = -1; // the pointer's mode to give back at close
} ss;

bool display() {
    if (popup_lock_back() == nullptr) return false;
    popup_unlock_back();
    return true;
}

void use_set(const void* test_set, int entry) {
    if (test_set != nullptr) {
        ss.set = const_cast<void*>(test_set);
        ss.own_set = false;
    } else {
        ss.set = spr_read_set("PANEL.MKF", entry);
        ss.own_set = ss.set != nullptr;
    }
}

PlatRect frame_rect(const ImageRecord* f, int x, int y) {
    if (f == nullptr) return PlatRect{x, y, x, y};
    return PlatRect{x - f->hot_x, y - f->hot_y, x - f->hot_x + f->width, y - f->hot_y + f->height};
}

// The board under a rectangle, from the saved area.
void restore_under(ImageRecord* back, const PlatRect& r) {
    if (ss.saved == nullptr || r.right <= r.left || r.bottom <= r.top) return;
    int left = r.left < LAYOUT_BOARD_AREA.left ? LAYOUT_BOARD_AREA.left : r.left;
    int top = r.top < LAYOUT_BOARD_AREA.top ? LAYOUT_BOARD_AREA.top : r.top;
    int right = r.right > LAYOUT_BOARD_AREA.right ? LAYOUT_BOARD_AREA.right : r.right;
    int bottom = r.bottom > LAYOUT_BOARD_AREA.bottom ? LAYOUT_BOARD_AREA.bottom : r.bottom;
    if (right <= left || bottom <= top) return;
    popup_blit_part(back, ss.saved, left, top, left - LAYOUT_BOARD_AREA.left,
                    top - LAYOUT_BOARD_AREA.top, right - left, bottom - top);
}

void draw_panel(ImageRecord* back, const char* text) {
    const ImageRecord* f = popup_frame(board_panel_set, SPIN_PANEL_FRAME);
    if (f != nullptr) {
        ss.panel = frame_rect(f, SPIN_PANEL_X, SPIN_PANEL_Y);
        restore_under(back, ss.panel);
        popup_blit(back, f, SPIN_PANEL_X, SPIN_PANEL_Y, true);
    }
    popup_font(16, 0xF0F0F0, 0x101010, TEXT_OUTLINE | TEXT_BOLD, 1);
    popup_text(back, text, SPIN_PANEL_X, SPIN_PANEL_Y, ALIGN_CENTRE_LINES);
}

bool open_common(const char* text) {
    if (!display()) return false;
    // The one who stops the spin by a click sees the pointer.
    ss.cursor = spin_stopped_by_hand() ? cursor_show_for_clicks() : -1;
    ss.saved = popup_save_area(LAYOUT_BOARD_AREA);
    if (ImageRecord* back = popup_lock_back()) {
        draw_panel(back, text);
        popup_unlock_back();
    }
    return true;
}

} // namespace

int spin_screen_reel_x(int three_reels, int place) {
    if (three_reels)
        return (place >= 0 && place < 3) ? SPIN_REEL_X_THREE[place] : SPIN_REEL_X_THREE[0];
    return (place >= 0 && place < 4) ? SPIN_REEL_X_FOUR[place] : SPIN_REEL_X_FOUR[0];
}

int spin_screen_reel_x_of(int three_reels, int reel) {
    const int n = three_reels ? 3 : 4;
    return spin_screen_reel_x(three_reels, n - reel);
}

int spin_screen_lever_x(int three_reels) {
    return three_reels ? SPIN_LEVER_X_THREE : SPIN_LEVER_X_FOUR;
}

void spin_screen_use_pictures(const void* reels, const void* wheels) {
    ss.test_reels = reels;
    ss.test_wheels = wheels;
}

void spin_screen_wheel_open(int kind, const char* text) {
    ss.released = false;
    if (!open_common(text)) return;
    ss.reels = false;
    use_set(ss.test_wheels, SPIN_WHEEL_FIRST_ENTRY + kind);
    if (ImageRecord* back = popup_lock_back()) {
        popup_blit(back, popup_frame(ss.set, SPIN_FRAME_WHEEL_FIRST), SPIN_DEVICE_X, SPIN_DEVICE_Y,
                   true);
        popup_blit(back, popup_frame(ss.set, SPIN_FRAME_POINTER_START), SPIN_POINTER_X,
                   SPIN_POINTER_Y, true);
        popup_unlock_back();
    }
}

void spin_screen_wheel_draw(int position, int show_pointer) {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    const ImageRecord* wheel = popup_frame(ss.set, SPIN_FRAME_WHEEL_FIRST + position);
    restore_under(back, frame_rect(wheel, SPIN_DEVICE_X, SPIN_DEVICE_Y));
    popup_blit(back, wheel, SPIN_DEVICE_X, SPIN_DEVICE_Y, true);
    PlatRect r = SPIN_WHEEL_RECT;
    if (!show_pointer)
        popup_blit(back, popup_frame(ss.set, SPIN_FRAME_POINTER_START), SPIN_POINTER_X,
                   SPIN_POINTER_Y, true);
    if (show_pointer) {
        // The stop pointer over the board where the first pointer stood.
        const ImageRecord* first = popup_frame(ss.set, SPIN_FRAME_POINTER_START);
        const ImageRecord* pointer = popup_frame(ss.set, SPIN_FRAME_POINTER);
        const PlatRect a = frame_rect(first, SPIN_POINTER_X, SPIN_POINTER_Y);
        const PlatRect b = frame_rect(pointer, SPIN_POINTER_X, SPIN_POINTER_Y);
        restore_under(back, a);
        popup_blit(back, wheel, SPIN_DEVICE_X, SPIN_DEVICE_Y, true);
        popup_blit(back, pointer, SPIN_POINTER_X, SPIN_POINTER_Y, true);
        for (const PlatRect& p : {a, b}) {
            if (p.right <= p.left) continue;
            if (p.left < r.left) r.left = p.left;
            if (p.top < r.top) r.top = p.top;
            if (p.right > r.right) r.right = p.right;
            if (p.bottom > r.bottom) r.bottom = p.bottom;
        }
    }
    popup_unlock_back();
    popup_update(r);
}

void spin_screen_reels_open(int three_reels, const char* text) {
    ss.released = false;
    if (!open_common(text)) return;
    ss.reels = true;
    ss.three = three_reels ? 1 : 0;
    use_set(ss.test_reels, SPIN_REELS_ENTRY);
    if (ImageRecord* back = popup_lock_back()) {
        popup_blit(back,
                   popup_frame(ss.set, ss.three ? SPIN_FRAME_BODY_THREE : SPIN_FRAME_BODY_FOUR),
                   SPIN_DEVICE_X, SPIN_DEVICE_Y, true);
        popup_blit(back, popup_frame(ss.set, SPIN_FRAME_LEVER_UP), spin_screen_lever_x(ss.three),
                   SPIN_LEVER_Y, true);
        popup_unlock_back();
    }
}

void spin_screen_reels_draw(int lever_down) {
    if (!ss.reels) return;
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    const int n = ss.three ? 3 : 4;
    PlatRect r{SCREEN_W, SCREEN_H, 0, 0};
    auto grow = [&r](const PlatRect& p) {
        if (p.right <= p.left) return;
        if (p.left < r.left) r.left = p.left;
        if (p.top < r.top) r.top = p.top;
        if (p.right > r.right) r.right = p.right;
        if (p.bottom > r.bottom) r.bottom = p.bottom;
    };
    for (int reel = 1; reel <= n; ++reel) {
        const ImageRecord* f =
            popup_frame(ss.set, SPIN_FRAME_REEL_FIRST + spin_reel_position(reel));
        const int x = spin_screen_reel_x_of(ss.three, reel);
        popup_blit(back, f, x, SPIN_REEL_Y, false);
        grow(frame_rect(f, x, SPIN_REEL_Y));
    }
    const ImageRecord* up = popup_frame(ss.set, SPIN_FRAME_LEVER_UP);
    const ImageRecord* down = popup_frame(ss.set, SPIN_FRAME_LEVER_DOWN);
    const int lx = spin_screen_lever_x(ss.three);
    const PlatRect a = frame_rect(up, lx, SPIN_LEVER_Y), b = frame_rect(down, lx, SPIN_LEVER_Y);
    restore_under(back, a);
    restore_under(back, b);
    // The body under the lever, where the two lever pictures differ.
    const ImageRecord* body =
        popup_frame(ss.set, ss.three ? SPIN_FRAME_BODY_THREE : SPIN_FRAME_BODY_FOUR);
    if (body != nullptr) {
        const PlatRect br = frame_rect(body, SPIN_DEVICE_X, SPIN_DEVICE_Y);
        for (const PlatRect& l : {a, b}) {
            const int left = l.left > br.left ? l.left : br.left;
            const int top = l.top > br.top ? l.top : br.top;
            const int right = l.right < br.right ? l.right : br.right;
            const int bottom = l.bottom < br.bottom ? l.bottom : br.bottom;
            if (right > left && bottom > top)
                blit_part_key_to_image(back, body, left + body->hot_x, top + body->hot_y,
                                       left - br.left, top - br.top, right - left, bottom - top);
        }
    }
    popup_blit(back, lever_down ? down : up, lx, SPIN_LEVER_Y, true);
    grow(a);
    grow(b);
    popup_unlock_back();
    if (r.right > r.left) popup_update(r);
}

void spin_screen_panel_text(const char* text) {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    draw_panel(back, text);
    popup_unlock_back();
    popup_update(ss.panel);
}

void spin_screen_show_board() {
    if (display()) popup_update(LAYOUT_BOARD_AREA);
}

void spin_screen_close() {
    if (ss.saved != nullptr)
        popup_restore_area(ss.saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    ss.saved = nullptr;
    if (ss.own_set) spr_free_set(ss.set);
    ss.set = nullptr;
    ss.own_set = false;
    ss.reels = false;
    cursor_give_back(ss.cursor);
    ss.cursor = -1;
}

void spin_screen_tick(uint32_t ms) {
    shown_record(Shown::Wait, 0, ms);
    if (!display() || ms == 0) return;
    const uint32_t start = plat_tick_count();
    for (;;) {
        if (wait_take_messages(0)) ss.released = true;
        const uint32_t elapsed = plat_tick_count() - start;
        if (elapsed >= ms || plat_close_requested()) return;
        plat_idle_for_input(ms - elapsed);
    }
}

int spin_screen_stop_input() {
    if (!display()) return 1;
    const bool released = ss.released;
    ss.released = false;
    return released ? 1 : 0;
}

namespace {

int stop_by_release(const DecisionRequest&) {
    return spin_screen_stop_input();
}

} // namespace

DECISION_KIND(DECIDE_SPIN_STOP, stop_by_release);

PRESENTER(spinner_presenter, SpinnerPresenter{
                                 .wheel_open = spin_screen_wheel_open,
                                 .wheel_draw = spin_screen_wheel_draw,
                                 .reels_open = spin_screen_reels_open,
                                 .reels_draw = spin_screen_reels_draw,
                                 .panel_text = spin_screen_panel_text,
                                 .show_board = spin_screen_show_board,
                                 .close = spin_screen_close,
                                 .tick = spin_screen_tick,
                             });
