#include "engine/message.h"

#include "engine/confirm.h"
#include "engine/cursor.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "engine/wait.h"

namespace {

constexpr int PANEL_FRAME = 5; // of the board's panel set
constexpr int PANEL_DX = 97, PANEL_DY = 80;
constexpr int SHIFT_DX = 100;

// Saves the board area and draws the panel with its text at (x, y).
ImageRecord* draw_panel(const char* text, int x, int y) {
    popup_font(16, 0xF0F0F0, 0x101010, 3, 1);
    ImageRecord* saved = popup_save_area(LAYOUT_BOARD_AREA);
    ImageRecord* back = popup_lock_back();
    popup_blit(back, popup_frame(board_panel_set, PANEL_FRAME), x, y, true);
    popup_text(nullptr, text, x, y, 4);
    popup_unlock_back();
    return saved;
}

} // namespace

void msg_show(const char* text, uint32_t ms) {
    const bool shifted = (ms & MSG_SHIFT_RIGHT) != 0;
    ms &= ~MSG_SHIFT_RIGHT;
    shown_record(Shown::Message, shifted ? 1 : 0, ms, text);
    if (!popup_lock_back()) return; // no display
    popup_unlock_back();
    const uint8_t mode = cursor_get_mode();
    if (mode == 1) cursor_set_mode(0);
    PlatRect r = msg_panel_rect;
    if (shifted) {
        r.left += SHIFT_DX;
        r.right += SHIFT_DX;
    }
    ImageRecord* saved = draw_panel(text, r.left + PANEL_DX, r.top + PANEL_DY);
    popup_update(r);
    wait_ms_skippable(ms);
    popup_restore_area(saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    if (mode == 1) cursor_set_mode(1);
}

int msg_ask_yes_no(const char* text) {
    shown_record(Shown::Question, 0, 0, text);
    if (!popup_lock_back()) return 0; // no display
    popup_unlock_back();
    ImageRecord* saved =
        draw_panel(text, msg_panel_rect.left + PANEL_DX, msg_panel_rect.top + PANEL_DY);
    popup_update(msg_panel_rect);
    const int yes = confirm_run(220, 320);
    popup_restore_area(saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    return yes;
}

int32_t msg_ask_number(const char* text, int32_t max) {
    shown_record(Shown::Question, 0, 0, text);
    if (!popup_lock_back()) return numpad_input(max); // no display: the pad records and answers
    popup_unlock_back();
    PlatRect r = msg_panel_rect;
    r.left -= MSG_PROMPT_SHIFT;
    r.right -= MSG_PROMPT_SHIFT;
    ImageRecord* saved = draw_panel(text, r.left + PANEL_DX, r.top + PANEL_DY);
    popup_update(r);
    const int32_t n = numpad_input(max);
    popup_restore_area(saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    return n;
}
