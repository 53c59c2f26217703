// The computer players' settings panel's window: it shows the rows' state
// machine (cards/ai_settings) and feeds it the mouse; the rows' rules live
// there.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "board/game_state.h"
#include "board/toolbar.h"
#include "board/view.h"
#include "cards/ai_panel_layout.h"
#include "cards/ai_settings.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/surfaces.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"

namespace {

const char* const LABELS[AI_L_COUNT] = {"托管AI",   "个  性", "资金运用比例", "使用卡片",
                                        "使用道具", "乖宝宝", "普通人",       "大老奸",
                                        "现金",     "存款",   "股票",         "资金"};

struct Window {
    AiPanel* rows = nullptr;      // the state machine shown
    void* set = nullptr;          // PANEL.MKF 77
    ImageRecord* clean = nullptr; // picture 0 with its texts
};
Window win;

// ---- Drawing

void put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(win.set, frame)) popup_blit(back, f, x, y, true);
}

void write_texts(ImageRecord* picture) {
    for (int i = 0; i < AI_L_COUNT; ++i) {
        if (i == 0) popup_font(20, 0xE0E0E0, 0x101010, TEXT_SHADOW, 1);
        if (i == AI_PANEL_HEADINGS) popup_font(16, 0xE0E0E0, 0x101010, TEXT_SHADOW, 1);
        popup_text(picture, LABELS[i], AI_PANEL_LABEL_AT[i].x, AI_PANEL_LABEL_AT[i].y,
                   ALIGN_CENTRE);
    }
    popup_font(20, 0x101010, 0x101010, TEXT_BOLD, 1);
    popup_text(picture, "确定", AI_PANEL_OK_WORD.x, AI_PANEL_OK_WORD.y, ALIGN_VERTICAL);
    popup_text(picture, "取消", AI_PANEL_CANCEL_WORD.x, AI_PANEL_CANCEL_WORD.y, ALIGN_VERTICAL);
}

PlatRect panel_rect() {
    const int w = win.clean ? win.clean->width : 0, h = win.clean ? win.clean->height : 0;
    return {AI_PANEL_X, AI_PANEL_Y, AI_PANEL_X + w, AI_PANEL_Y + h};
}

void draw() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    const AiPanel& p = *win.rows;
    if (win.clean) popup_blit(back, win.clean, AI_PANEL_X, AI_PANEL_Y, false);
    for (int k = 0; k < p.count; ++k) {
        const int y = AI_PANEL_ROW_TOP + AI_PANEL_ROW_STEP * k;
        put(back, k == p.selected ? AI_F_ROW_LIT : AI_F_ROW, AI_PANEL_ROW_LEFT, y);
        const AiPanelRow& row = p.rows[static_cast<size_t>(k)];
        if (const ImageRecord* face = popup_frame(view_portrait_set(row.seat), AI_PANEL_FACE_FRAME))
            popup_blit(back, face, AI_PANEL_FACE_X, y + AI_PANEL_FACE_DY, true);
        if (row.control & CTRL_HANDED_OVER)
            put(back, AI_F_HANDED_OVER, AI_PANEL_HANDED_X, y + AI_PANEL_HANDED_DY);
    }
    if (p.selected >= 0 && p.selected < p.count) {
        const AiPanelRow& row = p.rows[static_cast<size_t>(p.selected)];
        if (row.ai_flags & 1) put(back, AI_F_CHECK, AI_PANEL_CHECK_X, AI_PANEL_CHECK_Y[0]);
        if (row.ai_flags & 2) put(back, AI_F_CHECK, AI_PANEL_CHECK_X, AI_PANEL_CHECK_Y[1]);
        if (row.personality <= PERS_CUNNING)
            put(back, AI_F_CHECK, AI_PANEL_CHECK_X, AI_PANEL_CHECK_Y[2 + row.personality]);
        const uint8_t values[2] = {row.cash_pct, row.stock_pct};
        for (int b = 0; b < 2; ++b)
            for (int c = 0; c < std::min(AI_PANEL_BAR_CELLS, values[b] / 10); ++c)
                put(back, AI_F_BAR_CELL, AI_PANEL_BAR_CELL_X + AI_PANEL_BAR_CELL_W * c,
                    AI_PANEL_BAR_CELL_Y[b]);
    }
    const AiPanelRect* held =
        p.pressed != AI_SPOT_NONE ? &ai_panel_spots[static_cast<size_t>(p.pressed)] : nullptr;
    switch (p.pressed) {
    case AI_SPOT_CASH_MINUS:
    case AI_SPOT_STOCK_MINUS:
        put(back, AI_F_LEFT_PRESSED, held->left, held->top);
        break;
    case AI_SPOT_CASH_PLUS:
    case AI_SPOT_STOCK_PLUS:
        put(back, AI_F_RIGHT_PRESSED, held->left, held->top);
        break;
    case AI_SPOT_OK:
    case AI_SPOT_CANCEL: {
        // The pressed button, its word moved one pixel down and right.
        const bool ok = p.pressed == AI_SPOT_OK;
        put(back, ok ? AI_F_OK_PRESSED : AI_F_CANCEL_PRESSED, held->left, held->top);
        popup_font(20, 0x101010, 0x101010, TEXT_BOLD, 1);
        const AiPanelPoint& word = ok ? AI_PANEL_OK_WORD : AI_PANEL_CANCEL_WORD;
        popup_text(back, ok ? "确定" : "取消", AI_PANEL_X + word.x + 1, AI_PANEL_Y + word.y + 1,
                   ALIGN_VERTICAL);
        break;
    }
    default:
        break;
    }
    popup_unlock_back();
    popup_update(panel_rect());
}

int32_t ai_panel_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    AiPanel& p = *win.rows;
    switch (message) {
    case WM_SCREEN_START:
        draw();
        return 0;
    case WM_LBUTTONDOWN:
        ai_panel_press(p, mx, my);
        if (p.pressed != AI_SPOT_NONE || p.dragging != 0) snd_effect_play(&ui_effects[UI_PRESS], 0);
        draw();
        return 0;
    case WM_MOUSEMOVE:
        if (p.dragging == 0) return 0;
        ai_panel_drag(p, mx, my);
        draw();
        return 0;
    case WM_LBUTTONUP:
        ai_panel_release(p, mx, my);
        break;
    case WM_RBUTTONUP:
        ai_panel_right_button(p);
        break;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
    if (p.result != AI_PANEL_OPEN)
        screen_close(p.result);
    else
        draw();
    return 0;
}

void free_window() {
    std::free(win.clean);
    spr_free_set(win.set);
    win = Window{};
}

// Shows the panel at (AI_PANEL_X, AI_PANEL_Y) and runs it modally; the result
// stays in rows.
void ai_panel_window(AiPanel& rows) {
    shown_record(Shown::Panel, AI_PANEL_ENTRY, 0, "ai panel");
    if (!popup_lock_back()) return; // no display: the panel closes as cancelled
    popup_unlock_back();
    win = Window{};
    win.rows = &rows;
    win.set = spr_read_set("PANEL.MKF", AI_PANEL_ENTRY);
    if (const ImageRecord* picture = popup_frame(win.set, AI_F_PANEL)) {
        win.clean = image_new(picture->width, picture->height, 0, 0);
        if (win.clean) {
            blit_to_image(win.clean, picture, picture->hot_x, picture->hot_y);
            write_texts(win.clean);
        }
    }
    const int cursor = cursor_show_for_clicks();
    screen_run(ai_panel_wndproc, 0);
    cursor_give_back(cursor);
    free_window();
}

[[maybe_unused]] const bool window_installed = (ai_panel_set_window(ai_panel_window), true);

} // namespace

TOOLBAR_COMMAND(
    TOOLBAR_HAND_OVER,
    [] {
        ai_panel_open();
        return true;
    },
    HK_AUTOPLAY)
