#include "board/choice_screen.h"

#include <algorithm>
#include <cstdlib>

#include "board/choice.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "data/card_defs.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"

namespace {

void play(UiEffect element) {
    snd_effect_play(&ui_effects[element], 0);
}

// What every dialog shares: the saved board area and the panel's rectangle.
struct Dialog {
    ImageRecord* saved = nullptr;
    PlatRect panel{0, 0, 0, 0};
    const char* prompt = "";
    int prompt_y = CHOICE_PROMPT_Y;
    int hovered = -1;
    int arg = 0;
    uint8_t cursor_mode = 0; // the cursor's mode before the dialog
};
Dialog dlg;

void font() {
    popup_font(16, 0xF0F0F0, 0x101010, TEXT_OUTLINE | TEXT_BOLD, 1);
}

// Redraws the message panel with the prompt and, when given, a label below.
void draw_panel(ImageRecord* back, const char* label) {
    const ImageRecord* f = popup_frame(board_panel_set, CHOICE_PANEL_FRAME);
    if (f != nullptr) {
        const int left = CHOICE_PANEL_X - f->hot_x, top = CHOICE_PANEL_Y - f->hot_y;
        dlg.panel = PlatRect{left, top, left + f->width, top + f->height};
        // The board under the panel first, so no earlier label shows through.
        if (dlg.saved != nullptr)
            popup_blit_part(back, dlg.saved, dlg.panel.left, dlg.panel.top,
                            dlg.panel.left - LAYOUT_BOARD_AREA.left,
                            dlg.panel.top - LAYOUT_BOARD_AREA.top, f->width, f->height);
        popup_blit(back, f, CHOICE_PANEL_X, CHOICE_PANEL_Y, true);
    }
    font();
    popup_text(back, dlg.prompt, CHOICE_PANEL_X, dlg.prompt_y, ALIGN_CENTRE_LINES);
    if (label != nullptr)
        popup_text(back, label, CHOICE_PANEL_X, CHOICE_LABEL_Y, ALIGN_CENTRE_LINES);
}

// A frame `rings` pixels thick inside the rectangle (x, y, w, h).
void hover_frame(ImageRecord* back, int x, int y, int w, int h, int rings) {
    for (int i = 0; i < rings; ++i)
        blit_frame_rect(back, x + i, y + i, w - 2 * i, h - 2 * i, CHOICE_HOVER_RGB);
}

// Starts a dialog: saves the board area; false without a display.
bool open_dialog(const char* prompt, int prompt_y) {
    if (popup_lock_back() == nullptr) return false;
    popup_unlock_back();
    dlg = Dialog{};
    dlg.prompt = prompt != nullptr ? prompt : "";
    dlg.prompt_y = prompt_y;
    dlg.saved = popup_save_area(LAYOUT_BOARD_AREA);
    dlg.cursor_mode = cursor_get_mode();
    return true;
}

void close_dialog() {
    popup_restore_area(dlg.saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    dlg.saved = nullptr;
    if (dlg.cursor_mode != 1) cursor_set_mode(dlg.cursor_mode);
}

// What the three windows do alike at the start and on paint.
bool common_message(uint32_t message) {
    if (message == WM_SCREEN_START) {
        dlg.hovered = -1;
        // The cursor shown where the mouse is put, also after a command
        // that hid it; the mode it had comes back on closing.
        cursor_set_mode(0);
        plat_set_cursor_pos(CHOICE_POINTER_X, CHOICE_POINTER_Y);
        cursor_set_mode(1);
        plat_invalidate_rect(&LAYOUT_BOARD_AREA);
        return true;
    }
    if (message == WM_PAINT) {
        popup_update(plat_paint_rect());
        return false; // the default procedure validates
    }
    return false;
}

// ---------------------------------------------------------------------------
// Facility kinds

void* kind_cells = nullptr; // the board's panel set, not owned

void kind_draw(int cell, bool lit) {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    const int x = CHOICE_KIND_X + CHOICE_KIND_CELL * cell, y = CHOICE_KIND_Y;
    constexpr int side = CHOICE_KIND_CELL;
    const ImageRecord* cells = popup_frame(kind_cells, CHOICE_CELLS_FRAME);
    if (lit) {
        hover_frame(back, x, y, side, side, CHOICE_KIND_RINGS);
    } else if (cells != nullptr) {
        // The cells' picture lies with its top-left 7 pixels before the first cell.
        popup_blit_part(back, cells, x, y, x - (CHOICE_CELLS_X - cells->hot_x),
                        y - (CHOICE_CELLS_Y - cells->hot_y), side, side);
    }
    draw_panel(back, lit ? choice_facility_labels[cell] : nullptr);
    popup_unlock_back();
    popup_update(PlatRect{x, y, x + side, y + side});
    popup_update(dlg.panel);
}

int32_t facility_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    if (common_message(message)) return 0;
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_MOUSEMOVE: {
        const int cell = choice_facility_cell(mx, my);
        if (cell == dlg.hovered) return 0;
        if (cell >= 0) play(UI_HOVER);
        if (dlg.hovered >= 0) kind_draw(dlg.hovered, false);
        dlg.hovered = cell;
        if (cell >= 0) kind_draw(cell, true);
        return 0;
    }
    case WM_LBUTTONUP: {
        const int cell = choice_facility_cell(mx, my);
        if (cell >= 0) {
            play(UI_PRESS);
            screen_close(cell);
        }
        return 0;
    }
    case WM_RBUTTONUP:
        if (dlg.arg != 0) {
            play(UI_CANCEL);
            screen_close(-1);
        }
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// Players

struct PlayerDialog {
    int count = 0;
    int x0 = 0, y0 = 0;
    ImageRecord* strip = nullptr; // the strip with the portraits, hot spot at its centre
} pd;

void player_draw(int cell, bool lit) {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    const PlatRect r = choice_player_frame_rect(cell, pd.x0, pd.y0);
    const int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    if (lit) {
        hover_frame(back, x, y, w, h, CHOICE_PLAYER_RINGS);
    } else if (pd.strip != nullptr) {
        const int left = CHOICE_STRIP_X - pd.strip->hot_x, top = CHOICE_STRIP_Y - pd.strip->hot_y;
        popup_blit_part(back, pd.strip, x, y, x - left, y - top, w, h);
    }
    popup_unlock_back();
    popup_update(r);
}

int32_t player_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    if (common_message(message)) return 0;
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_MOUSEMOVE: {
        const int cell = choice_player_cell(mx, my, pd.x0, pd.y0, pd.count);
        if (cell == dlg.hovered) return 0;
        if (cell >= 0) play(UI_HOVER);
        if (dlg.hovered >= 0) player_draw(dlg.hovered, false);
        dlg.hovered = cell;
        if (cell >= 0) player_draw(cell, true);
        return 0;
    }
    case WM_LBUTTONUP: {
        const int cell = choice_player_cell(mx, my, pd.x0, pd.y0, pd.count);
        if (cell >= 0) {
            play(UI_PRESS);
            screen_close(cell);
        }
        return 0;
    }
    case WM_RBUTTONUP:
        play(UI_CANCEL);
        screen_close(-1);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// Research

ImageRecord* research_work = nullptr;

void research_draw(int cell, bool lit) {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    const PlatRect r = choice_research_cell_rect(cell);
    if (research_work != nullptr)
        popup_blit_part(back, research_work, r.left, r.top, r.left - CHOICE_WORK_X,
                        r.top - CHOICE_WORK_Y, r.right - r.left, r.bottom - r.top);
    if (lit)
        hover_frame(back, r.left, r.top, r.right - r.left, r.bottom - r.top, CHOICE_RESEARCH_RINGS);
    draw_panel(back, lit ? item_def(RESEARCH_FIRST_ITEM + cell).name : nullptr);
    popup_unlock_back();
    popup_update(r);
    popup_update(dlg.panel);
}

int research_offered_cell(int x, int y) {
    const int cell = choice_research_cell(x, y);
    return cell >= 0 && cell < choice_research_offered(dlg.arg) ? cell : -1;
}

int32_t research_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    if (common_message(message)) return 0;
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_MOUSEMOVE: {
        const int cell = research_offered_cell(mx, my);
        // A cell not offered does not react: the frame stays where it was.
        if (cell < 0 || cell == dlg.hovered) return 0;
        play(UI_HOVER);
        if (dlg.hovered >= 0) research_draw(dlg.hovered, false);
        dlg.hovered = cell;
        research_draw(cell, true);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const int cell = research_offered_cell(mx, my);
        if (cell >= 0 && cell == dlg.hovered) {
            gfx_press_rect(choice_research_press_rect(cell));
            popup_update(choice_research_cell_rect(cell));
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        gfx_release_rect();
        if (dlg.hovered >= 0) popup_update(choice_research_cell_rect(dlg.hovered));
        if (dlg.hovered >= 0) {
            play(UI_PRESS);
            screen_close(dlg.hovered);
        }
        return 0;
    }
    case WM_RBUTTONUP:
        play(UI_CANCEL);
        screen_close(-1);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// Registration

int ask_facility_cancel(const DecisionRequest&) {
    return choose_facility_window(1);
}
int ask_facility(const DecisionRequest&) {
    return choose_facility_window(0);
}
bool accepts_facility_cancel(const DecisionRequest&, int answer) {
    return answer >= -1 && answer <= 4;
}
int ask_player(const DecisionRequest& r) {
    return choose_player_window(r.list_count, r.list, r.text);
}
bool accepts_player(const DecisionRequest& r, int answer) {
    if (answer == -1) return true;
    if (r.list == nullptr) return false;
    return std::find(r.list, r.list + r.list_count, answer) != r.list + r.list_count;
}
int ask_research(const DecisionRequest& r) {
    return choose_research_window(r.param);
}
bool accepts_research(const DecisionRequest& r, int answer) {
    return answer == -1 || (answer >= 0 && answer < choice_research_offered(r.param));
}

} // namespace

DECISION_KIND(DECIDE_FACILITY_KIND, ask_facility);
DECISION_KIND(DECIDE_FACILITY_KIND_CANCEL, ask_facility_cancel, accepts_facility_cancel, -1);
DECISION_KIND(DECIDE_PLAYER, ask_player, accepts_player, -1);
DECISION_KIND(DECIDE_RESEARCH_SLOT, ask_research, accepts_research, -1);

int choose_facility_window(int may_cancel) {
    const int none = may_cancel != 0 ? -1 : 0;
    if (!open_dialog("请选择设施类别", CHOICE_PROMPT_Y)) return none;
    dlg.arg = may_cancel;
    kind_cells = board_panel_set;
    if (ImageRecord* back = popup_lock_back()) {
        popup_blit(back, popup_frame(kind_cells, CHOICE_CELLS_FRAME), CHOICE_CELLS_X,
                   CHOICE_CELLS_Y, false);
        draw_panel(back, nullptr);
        popup_unlock_back();
        popup_update(LAYOUT_BOARD_AREA);
    }
    int result = screen_run(facility_proc, may_cancel);
    // A window closed from outside answers as a cancel would.
    if (result < -1 || result > 4 || (result == -1 && may_cancel == 0)) result = none;
    close_dialog();
    return result;
}

int choose_player_window(int count, const int* players, const char* prompt) {
    if (count < 2 || count > 4 || players == nullptr) return -1;
    if (!open_dialog(prompt, CHOICE_PANEL_Y)) return -1;
    void* strips = spr_read_set(nullptr, CHOICE_STRIP_ENTRY);
    void* portraits = spr_read_set(nullptr, CHOICE_PORTRAIT_ENTRY);
    pd = PlayerDialog{};
    pd.count = count;
    const ImageRecord* strip = popup_frame(strips, count - 2);
    if (strip != nullptr) {
        pd.strip = image_copy_rect(strip, nullptr, 0, 0, strip->width, strip->height);
        if (pd.strip != nullptr) {
            pd.strip->hot_x = strip->hot_x;
            pd.strip->hot_y = strip->hot_y;
            for (int k = 0; k < count; ++k) {
                const int p = players[k];
                const int character = is_player_seat(p) ? player_table[p].character : -1;
                const ImageRecord* face = popup_frame(portraits, character);
                if (face != nullptr)
                    popup_blit_part(pd.strip, face, CHOICE_STRIP_INSET + CHOICE_PLAYER_CELL_W * k,
                                    CHOICE_STRIP_INSET, 0, 0, face->width, face->height);
            }
        }
        pd.x0 = CHOICE_STRIP_X - strip->hot_x + CHOICE_STRIP_INSET;
        pd.y0 = CHOICE_STRIP_Y - strip->hot_y + CHOICE_STRIP_INSET;
    } else {
        // Without its picture the strip still has its place.
        pd.x0 = CHOICE_STRIP_X - (CHOICE_PLAYER_CELL_W * count + CHOICE_STRIP_MARGIN) / 2 +
                CHOICE_STRIP_INSET;
        pd.y0 = CHOICE_STRIP_Y - CHOICE_STRIP_H / 2 + CHOICE_STRIP_INSET;
    }
    if (ImageRecord* back = popup_lock_back()) {
        draw_panel(back, nullptr);
        if (pd.strip != nullptr) popup_blit(back, pd.strip, CHOICE_STRIP_X, CHOICE_STRIP_Y, false);
        popup_unlock_back();
        popup_update(LAYOUT_BOARD_AREA);
    }
    int result = screen_run(player_proc, count);
    result = (result >= 0 && result < count) ? players[result] : -1;
    close_dialog();
    std::free(pd.strip);
    pd.strip = nullptr;
    spr_free_set(strips);
    spr_free_set(portraits);
    return result;
}

int choose_research_window(int level) {
    const int offered = choice_research_offered(level);
    if (!open_dialog("请选择欲开发道具", CHOICE_PROMPT_Y)) return -1;
    dlg.arg = level;
    void* icons = spr_read_set("PANEL.MKF", CHOICE_ICON_ENTRY);
    const ImageRecord* panel = popup_frame(board_panel_set, CHOICE_RESEARCH_FRAME);
    if (panel != nullptr) {
        research_work = image_copy_rect(panel, nullptr, 0, 0, panel->width, panel->height);
        if (research_work != nullptr) {
            for (int s = 0; s < RESEARCH_SLOTS; ++s) {
                popup_blit(research_work, popup_frame(icons, RESEARCH_FIRST_ITEM + s + 1),
                           CHOICE_RESEARCH_ICON_X + CHOICE_RESEARCH_STEP * s,
                           CHOICE_RESEARCH_ICON_Y, true);
                const PlatRect g = choice_research_press_rect(s);
                if (s >= offered)
                    gfx_grey_rect(research_work, g.left - CHOICE_WORK_X, g.top - CHOICE_WORK_Y,
                                  g.right - g.left, g.bottom - g.top);
            }
        }
    }
    if (ImageRecord* back = popup_lock_back()) {
        draw_panel(back, nullptr);
        if (research_work != nullptr)
            popup_blit(back, research_work, CHOICE_WORK_X, CHOICE_WORK_Y, false);
        popup_unlock_back();
        popup_update(LAYOUT_BOARD_AREA);
    }
    int result = screen_run(research_proc, level);
    if (result < 0 || result >= offered) result = -1;
    close_dialog();
    std::free(research_work);
    research_work = nullptr;
    spr_free_set(icons);
    return result;
}
