// The computer players' settings panel: the humans set, for their own seats,
// whether the computer may use cards and items, its personality and its
// shares of cash and stock, and hand a seat over to the computer or take it
// back. The panel works on a copy of the rows; OK writes them back.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/view.h"
#include "cards/ai_settings.h"
#include "engine/draw.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"

namespace {

constexpr int PANEL_ENTRY = 77;
constexpr int PANEL_X = 102, PANEL_Y = 62;
// Frames of the panel's set.
enum PanelFrame : int {
    F_PANEL = 0,
    F_ROW = 1,
    F_ROW_LIT = 2,
    F_HANDED_OVER = 3,
    F_CHECK = 4,
    F_LEFT_PRESSED = 5,
    F_RIGHT_PRESSED = 6,
    F_OK_PRESSED = 7,
    F_CANCEL_PRESSED = 8,
    F_BAR_CELL = 9,
};
constexpr int FACE_FRAME = 1; // of a character's portrait set

// The rows: row k covers x 110..226, y 70 + 83k .. 153 + 83k.
constexpr int ROW_LEFT = 110, ROW_RIGHT = 227, ROW_TOP = 70, ROW_STEP = 83;

// One row: a human seat and its settings while the panel is open.
struct Row {
    int seat = -1;
    uint8_t control = 0;
    uint8_t flags = 0;
    uint8_t personality = 0;
    uint8_t cash_pct = 0;
    uint8_t stock_pct = 0;
};

enum Spot : int {
    SPOT_NONE = -1,
    SPOT_CARDS,
    SPOT_ITEMS,
    SPOT_GOOD,
    SPOT_NORMAL,
    SPOT_CUNNING,
    SPOT_CASH_DOWN,
    SPOT_CASH_UP,
    SPOT_STOCK_DOWN,
    SPOT_STOCK_UP,
    SPOT_OK,
    SPOT_CANCEL,
    SPOT_CASH_BAR,
    SPOT_STOCK_BAR,
    SPOT_COUNT,
};
// Rectangles (x1, y1, x2, y2), the right and bottom edges outside.
constexpr PlatRect SPOTS[SPOT_COUNT] = {
    {287, 106, 383, 124}, {287, 137, 383, 155}, {287, 194, 383, 212}, {287, 226, 383, 244},
    {287, 259, 383, 277}, {298, 328, 309, 350}, {392, 328, 403, 350}, {298, 361, 309, 383},
    {392, 361, 403, 383}, {479, 159, 519, 215}, {479, 247, 519, 303}, {310, 327, 390, 351},
    {310, 360, 390, 384},
};
constexpr int CHECK_X = 288;
constexpr int CHECK_Y[5] = {107, 139, 195, 227, 259}; // cards, items, personality 0..2
constexpr int BAR_CELL_X = 311, BAR_CELL_W = 8;
constexpr int BAR_CELL_Y[2] = {328, 361};

struct Panel {
    std::array<Row, PLAYER_COUNT> rows{};
    int count = 0;
    int selected = 0;
    int pressed = SPOT_NONE; // the spot held down
    int dragging = SPOT_NONE;
    void* set = nullptr;
    ImageRecord* clean = nullptr; // picture 0 with its texts
};
Panel panel;
// The row selected when the panel was last open.
int last_selected = 0;

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int spot_at(int x, int y) {
    for (int s = 0; s < SPOT_COUNT; ++s)
        if (inside(SPOTS[s], x, y)) return s;
    return SPOT_NONE;
}

int row_at(int x, int y) {
    if (x < ROW_LEFT || x >= ROW_RIGHT || y < ROW_TOP) return -1;
    const int k = (y - ROW_TOP) / ROW_STEP;
    return k < panel.count ? k : -1;
}

uint8_t step_down(uint8_t v) {
    return v < 11 ? 0 : static_cast<uint8_t>(v - 10);
}
uint8_t step_up(uint8_t v) {
    return v > 89 ? 100 : static_cast<uint8_t>(v + 10);
}
// A bar's value from the pointer: tens by cells of 8 pixels, 0..90.
uint8_t bar_value(int x) {
    x = std::clamp(x, SPOTS[SPOT_CASH_BAR].left, SPOTS[SPOT_CASH_BAR].right - 1);
    return static_cast<uint8_t>((x - SPOTS[SPOT_CASH_BAR].left) / BAR_CELL_W * 10);
}

// ---- The rows' rules

void rows_load() {
    panel.count = 0;
    int current = -1;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (!(r.control & CTRL_HUMAN)) continue;
        if (p == game_active_mover) current = panel.count;
        panel.rows[panel.count++] =
            Row{p, r.control, r.ai_flags, r.personality, r.cash_pct, r.stock_pct};
    }
    panel.selected =
        current >= 0 ? current : std::clamp(last_selected, 0, std::max(0, panel.count - 1));
}

void rows_write_back() {
    for (int k = 0; k < panel.count; ++k) {
        const Row& row = panel.rows[k];
        if (!is_player_seat(row.seat)) continue;
        PlayerRecord& r = player_table[row.seat];
        r.control = row.control;
        r.ai_flags = row.flags;
        r.personality = row.personality;
        r.cash_pct = row.cash_pct;
        r.stock_pct = row.stock_pct;
    }
}

void press_row(int k) {
    if (k == panel.selected)
        panel.rows[k].control ^= CTRL_HANDED_OVER;
    else
        panel.selected = k;
}

// A spot released; true when the panel closes.
bool act(int spot) {
    if (spot == SPOT_CANCEL) return true;
    if (panel.count == 0) return false; // nothing to set, and nothing to write
    Row& row = panel.rows[panel.selected];
    switch (spot) {
    case SPOT_CARDS:
        row.flags ^= 1;
        break;
    case SPOT_ITEMS:
        row.flags ^= 2;
        break;
    case SPOT_GOOD:
    case SPOT_NORMAL:
    case SPOT_CUNNING:
        row.personality = static_cast<uint8_t>(spot - SPOT_GOOD);
        break;
    case SPOT_CASH_DOWN:
        row.cash_pct = step_down(row.cash_pct);
        break;
    case SPOT_CASH_UP:
        row.cash_pct = step_up(row.cash_pct);
        break;
    case SPOT_STOCK_DOWN:
        row.stock_pct = step_down(row.stock_pct);
        break;
    case SPOT_STOCK_UP:
        row.stock_pct = step_up(row.stock_pct);
        break;
    case SPOT_OK:
        rows_write_back();
        return true;
    default:
        break;
    }
    return false;
}

void drag_bar(int spot, int x) {
    if (panel.count == 0) return;
    Row& row = panel.rows[panel.selected];
    (spot == SPOT_CASH_BAR ? row.cash_pct : row.stock_pct) = bar_value(x);
}

// ---- Drawing

void put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(panel.set, frame)) popup_blit(back, f, x, y, true);
}

void write_texts(ImageRecord* picture) {
    struct Text {
        const char* text;
        int x, y;
    };
    popup_font(20, 0xE0E0E0, 0x101010, TEXT_SHADOW, 1);
    for (const Text& t :
         {Text{"托管AI", 173, 26}, Text{"个  性", 173, 114}, Text{"资金运用比例", 249, 246}})
        popup_text(picture, t.text, t.x, t.y, ALIGN_CENTRE);
    popup_font(16, 0xE0E0E0, 0x101010, TEXT_SHADOW, 1);
    for (const Text& t :
         {Text{"使用卡片", 244, 53}, Text{"使用道具", 244, 84}, Text{"乖宝宝", 244, 141},
          Text{"普通人", 244, 173}, Text{"大老奸", 244, 206}, Text{"现金", 175, 277},
          Text{"存款", 321, 277}, Text{"股票", 175, 310}, Text{"资金", 321, 310}})
        popup_text(picture, t.text, t.x, t.y, ALIGN_CENTRE);
    popup_font(20, 0x101010, 0x101010, TEXT_BOLD, 1);
    popup_text(picture, "确定", 387, 105, ALIGN_VERTICAL);
    popup_text(picture, "取消", 387, 193, ALIGN_VERTICAL);
}

PlatRect panel_rect() {
    const int w = panel.clean ? panel.clean->width : 0, h = panel.clean ? panel.clean->height : 0;
    return {PANEL_X, PANEL_Y, PANEL_X + w, PANEL_Y + h};
}

void draw() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    if (panel.clean) popup_blit(back, panel.clean, PANEL_X, PANEL_Y, false);
    for (int k = 0; k < panel.count; ++k) {
        const int y = ROW_TOP + ROW_STEP * k;
        put(back, k == panel.selected ? F_ROW_LIT : F_ROW, ROW_LEFT, y);
        const int seat = panel.rows[k].seat;
        if (const ImageRecord* face = popup_frame(view_portrait_set(seat), FACE_FRAME))
            popup_blit(back, face, 182, y + 40, true);
        if (panel.rows[k].control & CTRL_HANDED_OVER) put(back, F_HANDED_OVER, 121, y + 36);
    }
    if (panel.count > 0) {
        const Row& row = panel.rows[panel.selected];
        if (row.flags & 1) put(back, F_CHECK, CHECK_X, CHECK_Y[0]);
        if (row.flags & 2) put(back, F_CHECK, CHECK_X, CHECK_Y[1]);
        if (row.personality <= PERS_CUNNING)
            put(back, F_CHECK, CHECK_X, CHECK_Y[2 + row.personality]);
        const uint8_t values[2] = {row.cash_pct, row.stock_pct};
        for (int b = 0; b < 2; ++b)
            for (int c = 0; c < std::min(10, values[b] / 10); ++c)
                put(back, F_BAR_CELL, BAR_CELL_X + BAR_CELL_W * c, BAR_CELL_Y[b]);
    }
    switch (panel.pressed) {
    case SPOT_CASH_DOWN:
    case SPOT_STOCK_DOWN:
        put(back, F_LEFT_PRESSED, SPOTS[panel.pressed].left, SPOTS[panel.pressed].top);
        break;
    case SPOT_CASH_UP:
    case SPOT_STOCK_UP:
        put(back, F_RIGHT_PRESSED, SPOTS[panel.pressed].left, SPOTS[panel.pressed].top);
        break;
    case SPOT_OK:
    case SPOT_CANCEL: {
        // The pressed button, its word moved one pixel down and right.
        const bool ok = panel.pressed == SPOT_OK;
        put(back, ok ? F_OK_PRESSED : F_CANCEL_PRESSED, SPOTS[panel.pressed].left,
            SPOTS[panel.pressed].top);
        popup_font(20, 0x101010, 0x101010, TEXT_BOLD, 1);
        popup_text(back, ok ? "确定" : "取消", PANEL_X + 388, PANEL_Y + (ok ? 106 : 194),
                   ALIGN_VERTICAL);
        break;
    }
    default:
        break;
    }
    popup_unlock_back();
    popup_update(panel_rect());
}

bool looks_pressed(int spot) {
    return spot >= SPOT_CASH_DOWN && spot <= SPOT_CANCEL;
}

int32_t ai_panel_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        draw();
        return 0;
    case WM_LBUTTONDOWN: {
        if (const int k = row_at(mx, my); k >= 0) {
            press_row(k);
            draw();
            return 0;
        }
        const int spot = spot_at(mx, my);
        if (spot == SPOT_CASH_BAR || spot == SPOT_STOCK_BAR) {
            panel.dragging = spot;
            drag_bar(spot, mx);
        } else {
            panel.pressed = spot;
        }
        if (spot != SPOT_NONE) snd_effect_play(&ui_effects[1], 0);
        draw();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (panel.dragging != SPOT_NONE) {
            drag_bar(panel.dragging, mx);
            draw();
        }
        return 0;
    case WM_LBUTTONUP: {
        const int held = panel.pressed;
        const bool redraw = looks_pressed(held) || panel.dragging != SPOT_NONE;
        panel.pressed = SPOT_NONE;
        panel.dragging = SPOT_NONE;
        if (held != SPOT_NONE && spot_at(mx, my) == held && act(held)) {
            screen_close(held == SPOT_OK ? 1 : 0);
            return 0;
        }
        if (held != SPOT_NONE || redraw) draw();
        return 0;
    }
    case WM_RBUTTONUP:
        screen_close(0);
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

void free_panel() {
    std::free(panel.clean);
    if (panel.set) spr_unlink(panel.set);
    std::free(panel.set);
    panel.clean = nullptr;
    panel.set = nullptr;
}

} // namespace

void ai_panel_open() {
    shown_record(Shown::Panel, PANEL_ENTRY, 0, "ai panel");
    if (!popup_lock_back()) return; // no display
    popup_unlock_back();
    panel = Panel{};
    const int archive = mkf_open("PANEL.MKF");
    if (archive >= 0) {
        panel.set = mkf_read(archive, PANEL_ENTRY, nullptr, nullptr);
        mkf_close(archive);
    }
    if (panel.set && spr_frame_count(panel.set) == 0) {
        std::free(panel.set);
        panel.set = nullptr;
    }
    if (const ImageRecord* picture = popup_frame(panel.set, F_PANEL)) {
        panel.clean = image_new(picture->width, picture->height, 0, 0);
        if (panel.clean) {
            blit_to_image(panel.clean, picture, picture->hot_x, picture->hot_y);
            write_texts(panel.clean);
        }
    }
    rows_load();
    screen_run(ai_panel_wndproc, 0);
    last_selected = panel.selected;
    free_panel();
    board_repaint_all();
}
