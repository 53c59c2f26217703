#include "board/board_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/board_panel_sets.h"
#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/toolbar.h"
#include "board/turn.h"
#include "board/view.h"
#include "board/view_draw.h"
#include "board/view_sets.h"
#include "cards/fate_gods.h"
#include "data/card_defs.h"
#include "engine/cursor.h"
#include "engine/data_report.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/mkf.h"
#include "engine/modal.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/surfaces.h"
#include "engine/text.h"
#include "engine/util.h"
#include "finance/assets.h"
#include "finance/trading.h"
#include "platform/queue.h"
#include "platform/surface.h"

uint8_t board_dirty = 0;
uint8_t board_screen_active = 0;
uint32_t board_copy_count = 0;
uint8_t board_tabs[PLAYER_COUNT] = {};
int32_t board_hover = -1;
int32_t board_pressed = 0;
int32_t board_box_x = BOARD_BOX_START_X;
int32_t board_box_y = BOARD_BOX_START_Y;
uint8_t& board_calendar_page = settings.calendar_page; // kept with the options

namespace {

constexpr PlatRect REGIONS[5] = {
    LAYOUT_TOOLBAR, LAYOUT_BOARD_AREA, LAYOUT_SIDE_TOP, LAYOUT_SIDE_MIDDLE, LAYOUT_SIDE_BOTTOM,
};

struct Panel {
    bool loaded = false;
    void* sets[PANEL_ENTRIES] = {};
    uint8_t* mask = nullptr; // BOX_W x BOX_H codes
    bool box_shown = false;
    int shown_x = 0, shown_y = 0; // where the box was last drawn
    uint8_t blink = 0;
    bool minimap_drag = false;
    bool box_drag = false;
    int grab_x = 0, grab_y = 0;
    int go_x = BOX_GO_CX, go_y = BOX_GO_CY; // the go button's point inside the box
};
Panel g;

bool is_player(int m) {
    return m >= 0 && m < PLAYER_COUNT;
}

void copy_rect(const PlatRect& r) {
    ++board_copy_count;
    if (!primary_surface || !back_surface) return;
    gfx_screen_update(r);
    board_control_box_clip(r);
}

// A region drawn: copied at once or left for the next flush. A region is
// always drawn anew, so a flush shows the latest values; the dirty bits only
// decide what the flush copies.
void region_done(uint8_t bits, int refresh) {
    if (!refresh) {
        board_dirty |= bits;
        return;
    }
    for (int i = 0; i < 5; ++i)
        if (bits & (1 << i)) copy_rect(REGIONS[i]);
    board_dirty &= static_cast<uint8_t>(~bits);
}

int layout() {
    return settings_side_panel_layout() % 3;
}

int minimap_top() {
    return layout() == 1 ? 280 : 80;
}

// Drawing into the back buffer: a frame of a set at its hot spot, cut to the screen.
void put(const void* set, int frame, int x, int y) {
    uint16_t* px = gfx_lock_back();
    if (px) view_blit_frame(px, SCREEN_W, set, frame, x, y, 0, 0, SCREEN_W, SCREEN_H);
    gfx_unlock_back();
}

void fill(int x, int y, int w, int h, uint32_t rgb) {
    if (!gfx_lock_back()) return;
    blit_fill_rect(&back_image, x, y, w, h, rgb);
    gfx_unlock_back();
}

void outline(int x, int y, int w, int h, uint32_t rgb) {
    if (!gfx_lock_back()) return;
    blit_frame_rect(&back_image, x, y, w, h, rgb);
    gfx_unlock_back();
}

void text(const char* s, int x, int y, int height, uint32_t rgb, int align, uint32_t flags = 0,
          uint32_t rgb2 = 0) {
    if (!gfx_display_open()) return;
    text_set_font(height, rgb, rgb2, flags, 1);
    text_draw(nullptr, s, x, y, align);
}

void money_text(char* out, size_t n, int32_t v) {
    char t[UTIL_THOUSANDS_BUF];
    util_format_thousands(t, v);
    std::snprintf(out, n, "$%s", t);
}

// The side panel's figures of player p's page.
void page_values(int p, int page, char v[3][32]) {
    const PlayerRecord& r = player_table[p];
    std::memset(v, 0, 3 * 32);
    switch (page) {
    case 0:
        money_text(v[0], 32, r.cash);
        money_text(v[1], 32, r.deposit);
        money_text(v[2], 32, asset_net_worth(p));
        break;
    case 1: {
        int owned = 0, chains = 0, built = 0;
        for (int i = 1; i <= map_lot_count; ++i)
            if (map_lot_table[i].owner == p + 1)
                ++owned, chains += map_lot_table[i].chain_store ? 1 : 0;
        for (int i = 1; i <= map_facility_count; ++i)
            if (map_facility_table[i].owner == p + 1)
                ++owned, built += map_facility_table[i].level > 0;
        std::snprintf(v[0], 32, "%d", owned);
        std::snprintf(v[1], 32, "%d", chains);
        std::snprintf(v[2], 32, "%d", built);
        break;
    }
    case 2: {
        int32_t value = 0, cost = 0;
        for (int s = 0; s < STOCK_COUNT; ++s) {
            const StockHolding& h = stock_holdings[p][s];
            value += static_cast<int32_t>(static_cast<float>(h.shares) * stock_table[s].price);
            cost += static_cast<int32_t>(static_cast<float>(h.shares) * h.avg_cost);
        }
        money_text(v[0], 32, value);
        money_text(v[1], 32, cost);
        std::snprintf(v[2], 32, "%d", map_chair_count(p));
        break;
    }
    default:
        std::snprintf(v[0], 32, "%d", r.points);
        money_text(v[1], 32, r.loan);
        std::snprintf(v[2], 32, "%d天", r.insurance_days);
        break;
    }
}

const char* const TAB_TITLES[4] = {"资金", "地产", "股票", "其他"};

// The labels of the tab pages and the header, drawn into their pictures once.
void label_pages() {
    static const char* const LABELS[4][3] = {{"现  金", "存  款", "总资产"},
                                             {"土  地", "连锁店", "设  施"},
                                             {"总市值", "成  本", "经营权"},
                                             {"点  卷", "贷  款", "保险期"}};
    if (!g.sets[PANEL_SIDE] || !gfx_display_open()) return;
    text_set_font(12, 0x181818, 0, 0, 1);
    for (int page = 0; page < 4; ++page) {
        auto* fr = const_cast<ImageRecord*>(spr_frame(g.sets[PANEL_SIDE], page));
        if (!fr) continue;
        const int ys[3] = {80, 145, 208};
        for (int i = 0; i < 3; ++i)
            text_draw(fr, LABELS[page][i], 10, ys[i], ALIGN_LEFT_TOP);
    }
    if (auto* fr = const_cast<ImageRecord*>(spr_frame(g.sets[PANEL_SIDE], PANEL_HEADER_FRAME))) {
        text_draw(fr, "现金", 90, 40, ALIGN_LEFT_TOP);
        text_draw(fr, "存款", 90, 62, ALIGN_LEFT_TOP);
    }
}

// The point the mouse is put on for the go button: the middle of the
// mask's go pixels, or the go pixel nearest to it when the button is not
// convex.
void find_go_point() {
    long sx = 0, sy = 0, n = 0;
    for (int y = 0; y < BOX_H; ++y)
        for (int x = 0; x < BOX_W; ++x)
            if (g.mask[y * BOX_W + x] == MASK_GO) sx += x, sy += y, ++n;
    if (n == 0) return;
    const int cx = static_cast<int>(sx / n), cy = static_cast<int>(sy / n);
    long best = -1;
    for (int y = 0; y < BOX_H; ++y)
        for (int x = 0; x < BOX_W; ++x) {
            if (g.mask[y * BOX_W + x] != MASK_GO) continue;
            const long d = long{x - cx} * (x - cx) + long{y - cy} * (y - cy);
            if (best < 0 || d < best) best = d, g.go_x = x, g.go_y = y;
        }
}

} // namespace

// ---------------------------------------------------------------------------
// Pictures

void board_load_graphics() {
    if (g.loaded) return;
    g.loaded = true;
    std::fill(board_tabs, board_tabs + PLAYER_COUNT, uint8_t{0});
    if (!back_surface) return;
    const int slot = mkf_open("PANEL.MKF");
    if (slot < 0) {
        data_report("PANEL.MKF", std::string(mkf_last_open_error()) +
                                     "; the board screen is drawn without its panels");
        return;
    }
    for (int e = 0; e < PANEL_ENTRIES; ++e) {
        if (e == PANEL_BOX_MASK) continue;
        g.sets[e] = spr_read_set_from(slot, e);
        if (!g.sets[e])
            std::fprintf(stderr, "karvo: PANEL.MKF entry %d is missing or not a frame set\n", e);
    }
    uint32_t size = 0;
    uint8_t* mask = static_cast<uint8_t*>(mkf_read(slot, PANEL_BOX_MASK, nullptr, &size));
    const ImageRecord* box = g.sets[PANEL_BOX] ? spr_frame(g.sets[PANEL_BOX], 0) : nullptr;
    if (mask && box && box->width == BOX_W && box->height == BOX_H && size == BOX_W * BOX_H) {
        g.mask = mask;
        find_go_point();
    } else {
        std::fprintf(stderr, "karvo: the control box's hit mask (PANEL.MKF 8) does not fit the "
                             "box; its buttons do not answer\n");
        std::free(mask);
    }
    mkf_close(slot);
    label_pages();
}

void board_free_graphics() {
    for (void*& s : g.sets)
        spr_free_set(s);
    std::free(g.mask);
    g.mask = nullptr;
    g.loaded = false;
    board_screen_active = 0;
    map_free();
}

// ---------------------------------------------------------------------------
// Regions

void board_draw_toolbar(int refresh) {
    put(g.sets[PANEL_TOOLBAR], 0, 0, 0);
    for (int i = 0; i < TOOLBAR_COMMAND_COUNT; ++i) {
        const bool lit = board_hover == i || board_pressed == 100 + i;
        put(g.sets[PANEL_TOOLBAR], toolbar_button_frame(i, lit), toolbar_button_centre_x(i),
            TOOLBAR_BUTTON_CENTRE_Y);
    }
    region_done(DIRTY_TOOLBAR, refresh);
}

// The panels' pictures and figures, made only where they can be seen.
static void draw_side_panel_contents();

// A wandering character's turn: its name, centred at (582, name_y), and the
// mark of the player it works for.
static void draw_wanderer_id(int mover, int name_y, int font) {
    text(jail_person_name(mover), 582, name_y, font, 0x181818, ALIGN_CENTRE);
    const int patron = walker_of_mover(mover).patron;
    if (is_player(patron))
        put(view_map_set(MAPGFX_OWNER_MARKS),
            OWNER_MARK_PATRON_BASE + owner_character(owner_of_seat(patron)), 524, 64);
}

void board_draw_side_panel(int refresh) {
    if (layout() == 2) return;
    if (gfx_display_open()) draw_side_panel_contents();
    if (refresh) {
        copy_rect({440, 0, 640, 280});
        board_dirty &= static_cast<uint8_t>(~(DIRTY_TOP | DIRTY_MIDDLE));
    } else {
        board_dirty |= DIRTY_TOP | DIRTY_MIDDLE;
    }
}

static void draw_side_panel_contents() {
    const int m = game_active_mover;
    int p = m;
    if (m == MOVER_ROBOT_DOLL) p = walker_of_mover(m).patron;
    if (is_player(p) && (m == p || m == MOVER_ROBOT_DOLL)) {
        const int tab = board_tabs[p] & 3;
        put(g.sets[PANEL_SIDE], tab, 440, 0);
        char line[48];
        std::snprintf(line, sizeof line, "物价指数  %d", game_price_index);
        text(line, 450, 260, 12, 0x181818, ALIGN_LEFT_TOP);
        const int tab_y[4] = {15, 88, 158, 230};
        for (int t = 0; t < 4; ++t)
            text(TAB_TITLES[t], 617, tab_y[t], 18, t == tab ? 0x101010 : 0x404040, ALIGN_VERTICAL);
        const PlayerRecord& r = player_table[p];
        fill(522, 56, 86, 12, r.colour);
        outline(522, 56, 86, 12, 0x202020);
        put(view_portrait_set(p), 0, 482, 40);
        if (r.ally >= 1 && r.ally <= PLAYER_COUNT)
            put(view_map_set(MAPGFX_OWNER_MARKS), OWNER_MARK_ALLY_BASE + owner_character(r.ally),
                524, 64);
        char name[32];
        util_strip_spaces(name, player_name(p));
        text(name, 564, 40, 22, 0x181818, ALIGN_CENTRE);
        char v[3][32];
        page_values(p, tab, v);
        const int ys[3] = {102, 166, 230};
        for (int i = 0; i < 3; ++i)
            text(v[i], 600, ys[i], 16, 0x181818, ALIGN_RIGHT_TOP);
        if (tab == 3 && r.loan && r.loan_due) {
            const int days = cal_days_between(game_date, r.loan_due);
            if (days != 0) {
                std::snprintf(line, sizeof line, "%d天", days);
                text(line, 500, 146, 12, 0x181818, ALIGN_LEFT_TOP);
            }
        }
    } else if (is_wanderer(m)) {
        put(g.sets[PANEL_SIDE], PANEL_WALKER_FRAME, 440, 0);
        draw_wanderer_id(m, 40, 22);
    }
}

void board_draw_header_panel(int refresh) {
    if (layout() != 2) return;
    if (!gfx_display_open()) return region_done(DIRTY_TOP, refresh);
    put(g.sets[PANEL_SIDE], PANEL_HEADER_FRAME, 440, 0);
    const int m = game_active_mover;
    if (is_player(m)) {
        const PlayerRecord& r = player_table[m];
        fill(528, 32, 106, 4, r.colour);
        put(view_portrait_set(m), 0, 482, 40);
        if (r.ally >= 1 && r.ally <= PLAYER_COUNT)
            put(view_map_set(MAPGFX_OWNER_MARKS), OWNER_MARK_ALLY_BASE + owner_character(r.ally),
                524, 64);
        char name[32], v[32];
        util_strip_spaces(name, player_name(m));
        text(name, 582, 16, 20, 0x181818, ALIGN_CENTRE);
        money_text(v, sizeof v, r.cash);
        text(v, 634, 41, 12, 0x181818, ALIGN_RIGHT_TOP);
        money_text(v, sizeof v, r.deposit);
        text(v, 634, 63, 12, 0x181818, ALIGN_RIGHT_TOP);
    } else if (is_wanderer(m)) {
        draw_wanderer_id(m, 20, 20);
    }
    region_done(DIRTY_TOP, refresh);
}

void board_draw_minimap(int refresh) {
    if (layout() == 0) return;
    const int y0 = minimap_top();
    put(view_minimap_work(), 0, 440, y0);
    put(view_board_marks(), 20, 443, y0 + 3);
    put(view_board_marks(), 21, 468, y0 + 3);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.x == 0) continue;
        put(view_board_marks(), 12 + p, 440 + r.x * 89 / 1024, y0 + r.y * 89 / 1024);
    }
    int x, y;
    board_mover_position(&x, &y);
    if (x || y) outline(440 + x * 89 / 1024 - 15, y0 + y * 89 / 1024 - 15, 30, 30, 0xFFFFFF);
    if (board_scroll_target)
        outline(440 + board_scroll_x * 89 / 1024 - 15, y0 + board_scroll_y * 89 / 1024 - 15, 30, 30,
                0xFF0000);
    region_done(layout() == 1 ? DIRTY_BOTTOM : DIRTY_MIDDLE, refresh);
}

const void* board_holiday_picture() {
    const int h = cal_holiday_find(game_date);
    static const int PICTURE_BASE[4] = {4, 28, 47, 67};
    if (h < 0 || data_archive < 0) return nullptr;
    static int cached = -1;
    static void* kept = nullptr;
    const int entry = PICTURE_BASE[game_map & 3] + h;
    if (entry != cached) {
        spr_free_set(kept);
        kept = spr_read_set(nullptr, entry);
        const ImageRecord* fr = kept ? spr_frame(kept, 0) : nullptr;
        if (!fr || fr->width > HOLIDAY_PICTURE_SIDE || fr->height > HOLIDAY_PICTURE_SIDE) {
            std::fprintf(
                stderr, "karvo: holiday picture data.mkf %d is missing or over 200 x 200\n", entry);
            spr_free_set(kept);
            kept = nullptr; // a refused picture is never drawn
        }
        cached = entry;
    }
    return kept;
}

void board_draw_calendar(int refresh) {
    if (layout() == 1) return;
    if (!gfx_display_open()) return region_done(DIRTY_BOTTOM, refresh);
    static const int SEASON[13] = {0, 3, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3};
    const int day = static_cast<int>(game_date & 0xFF),
              month = static_cast<int>(game_date >> 8 & 0xFF);
    const int year = static_cast<int>(game_date >> 16);
    const int season = SEASON[std::clamp(month, 1, 12)];
    int weekday = 0, length = 30;
    cal_weekday(game_date, &weekday, &length);
    char line[32];
    if (board_calendar_page == 1) {
        put(g.sets[PANEL_CALENDAR], 4 + season, 440, 280);
        const int first = ((weekday - (day - 1)) % 7 + 7) % 7;
        for (int d = 1; d <= length; ++d) {
            const int cell = first + d - 1;
            const int x = 470 + 23 * (cell % 7), y = 378 + 14 * (cell / 7);
            const PackedDate date = (game_date & 0xFFFFFF00u) | static_cast<uint32_t>(d);
            std::snprintf(line, sizeof line, "%d", d);
            text(line, x, y, 12, cal_is_holiday(date) ? 0xE00000 : 0x202020, ALIGN_CENTRE);
            if (d == day) outline(x - 10, y - 7, 20, 14, 0xE00000);
        }
    } else {
        const void* picture = board_holiday_picture();
        if (picture)
            put(picture, 0, 440, 280);
        else
            put(g.sets[PANEL_CALENDAR], season, 440, 280);
        static const char* const WEEKDAYS[7] = {"星期日", "星期一", "星期二", "星期三",
                                                "星期四", "星期五", "星期六"};
        const bool red = cal_is_holiday(game_date) != 0;
        text(WEEKDAYS[weekday % 7], 448, 352, 16, red ? 0xE00000 : 0x202020, ALIGN_VERTICAL);
        std::snprintf(line, sizeof line, "%d", day);
        text(line, 500, 376, 60, red ? 0xE00000 : 0x202020, ALIGN_LEFT_TOP, red ? TEXT_OUTLINE : 0,
             0x202020);
    }
    std::snprintf(line, sizeof line, "%d", year);
    text(line, 580, 288, 24, 0x202020, ALIGN_LEFT_TOP);
    std::snprintf(line, sizeof line, "%d月", month);
    text(line, 500, 328, 28, 0x202020, ALIGN_LEFT_TOP);
    region_done(DIRTY_BOTTOM, refresh);
}

void board_draw_map_view(int refresh) {
    int x, y;
    if (board_scroll_target) {
        x = board_scroll_x, y = board_scroll_y;
    } else {
        board_mover_position(&x, &y);
    }
    view_draw_board(x, y);
    region_done(DIRTY_VIEW, refresh);
}

// ---------------------------------------------------------------------------
// The control box, drawn straight onto the primary surface.

namespace {

void restore_under_box(int x, int y) {
    if (!primary_surface || !back_surface) return;
    PlatRect r{x, y, x + BOX_W, y + BOX_H};
    plat_blt_fast(primary_surface, x, y, back_surface, &r);
}

bool player_must_stay(const PlayerRecord& r) {
    return r.stay_days != 0;
}

void draw_box(int show);

} // namespace

void board_draw_control_box(int show) {
    // The box is drawn straight onto the display, where the cursor is too:
    // the cursor comes off first so that its saved pixels stay right.
    cursor_hide(nullptr);
    draw_box(show);
    cursor_show(nullptr);
}

namespace {

void draw_box(int show) {
    const bool moved = g.box_shown && (g.shown_x != board_box_x || g.shown_y != board_box_y);
    if (g.box_shown && (moved || !show)) {
        restore_under_box(g.shown_x, g.shown_y);
        g.box_shown = false;
    }
    if (!show || !primary_surface) return;
    const int m = game_active_mover;
    if (!is_player(m)) return;
    const PlayerRecord& r = player_table[m];
    const int k = g.blink + (r.turtle_days ? 4 : (player_must_stay(r) ? 2 : 0));
    int32_t pitch = 0;
    uint16_t* px = plat_surface_lock(primary_surface, &pitch);
    if (!px) return;
    const int pp = pitch / 2, bx = board_box_x, by = board_box_y;
    auto draw = [&](int frame, int x, int y) {
        view_blit_frame(px, pp, g.sets[PANEL_BOX], frame, x, y, 0, 0, SCREEN_W, SCREEN_H);
    };
    draw(k, bx, by);
    const int mode = r.travel & TRAVEL_MODE_MASK;
    const int buttons = mode == TRAVEL_MOTORBIKE ? 2 : (mode == TRAVEL_CAR ? 3 : 1);
    if (buttons == 1) {
        if (player_must_stay(r))
            draw(6, bx + 8, by + 26);
        else
            draw(7, bx + 7, by + 26);
    } else {
        for (int i = 0; i < buttons; ++i) {
            const int y = buttons == 2 ? by + 16 + 19 * i : by + 9 + 16 * i;
            const bool lit = i < r.dice && !player_must_stay(r);
            if (lit)
                draw(2 * i + 7, bx + 7, y);
            else
                draw(2 * i + 6, bx + 8, y);
        }
    }
    plat_surface_unlock(primary_surface);
    g.box_shown = true;
    g.shown_x = bx, g.shown_y = by;
}

} // namespace

void board_control_box_clip(const PlatRect& r) {
    if (!board_input_enabled || !g.box_shown) return;
    if (r.right <= board_box_x || r.left >= board_box_x + BOX_W || r.bottom <= board_box_y ||
        r.top >= board_box_y + BOX_H)
        return;
    g.box_shown = false; // drawn anew over the copy
    board_draw_control_box(1);
}

// ---------------------------------------------------------------------------
// What the door shows

namespace {

void repaint_regions(int flag) {
    board_draw_toolbar(0);
    board_draw_map_view(0);
    switch (layout()) {
    case 0:
        board_draw_side_panel(0);
        board_draw_calendar(0);
        break;
    case 1:
        board_draw_side_panel(0);
        board_draw_minimap(0);
        break;
    default:
        board_draw_header_panel(0);
        board_draw_minimap(0);
        board_draw_calendar(0);
        break;
    }
    board_dirty = DIRTY_ALL;
    if (flag) board_flush_dirty();
}

void view_at_camera() {
    view_draw_board(-1, 0);
    board_dirty |= DIRTY_VIEW;
}

void minimap() {
    board_draw_minimap(0);
}

void centred_view() {
    board_draw_map_view(0);
}

void toolbar() {
    board_draw_toolbar(0);
}

} // namespace

void board_flush_dirty() {
    if (board_dirty == 0) return;
    if (board_dirty == DIRTY_ALL) {
        copy_rect({0, 0, SCREEN_W, SCREEN_H});
        board_dirty = 0;
        return;
    }
    for (int i = 0; i < 5; ++i)
        if (board_dirty & (1 << i)) copy_rect(REGIONS[i]);
    board_dirty = 0;
}

namespace {

// The cursor while the board works on its own (a move, a command's screen):
// taken off; back when the human may act again.
void cursor_busy() {
    if (g.loaded && primary_surface) cursor_set_mode(0);
}

void cursor_normal() {
    if (g.loaded && primary_surface) cursor_set_mode(1);
}

} // namespace

void board_go_button_point(int* x, int* y) {
    *x = board_box_x + g.go_x;
    *y = board_box_y + g.go_y;
}

namespace {

void cursor_to_go() {
    if (!g.loaded || !primary_surface) return;
    int x, y;
    board_go_button_point(&x, &y);
    plat_set_cursor_pos(x, y);
    cursor_set_mode(1);
}

void show_dice(const int* values, int n) {
    if (!g.sets[PANEL_DICE] || !back_surface || n < 1) return;
    // Beside the mover, on the side it does not face, so the dice never
    // stand on the road it is about to walk.
    const int m = game_active_mover;
    int wx, wy;
    board_mover_position(&wx, &wy);
    int sx, sy;
    if (!view_point_to_screen(wx, wy, &sx, &sy)) sx = VIEW_CENTRE_X, sy = VIEW_CENTRE_Y;
    int side = 1;
    if (is_player(m)) {
        static const int DX[8] = {0, 1, 1, 1, 0, -1, -1, -1}, DY[8] = {1, 1, 0, -1, -1, -1, 0, 1};
        const int f = player_table[m].facing & 7;
        int ax, ay;
        if (view_point_to_screen(wx + DX[f] * VIEW_CELL, wy + DY[f] * VIEW_CELL, &ax, &ay) &&
            ax > sx)
            side = -1;
    }
    const ImageRecord* die = spr_frame(g.sets[PANEL_DICE], 0);
    const int w = die ? die->width : 32, h = die ? die->height : 32;
    const int gap = w + 4;
    const int first = side > 0 ? sx + 24 + w / 2 : sx - 24 - w / 2 - gap * (n - 1);
    const int y = sy - 40;
    PlatRect r{SCREEN_W, SCREEN_H, 0, 0};
    for (int i = 0; i < n; ++i) {
        const int x = first + gap * i;
        put(g.sets[PANEL_DICE], i * DICE_FACES + std::clamp(values[i], 1, 6) - 1, x, y);
        r.left = std::min(r.left, x - w), r.top = std::min(r.top, y - h);
        r.right = std::max(r.right, x + w), r.bottom = std::max(r.bottom, y + h);
    }
    r.left = std::clamp(r.left, 0, 440), r.right = std::clamp(r.right, 0, 440);
    r.top = std::clamp(r.top, VIEW_TOP, SCREEN_H),
    r.bottom = std::clamp(r.bottom, VIEW_TOP, SCREEN_H);
    if (r.left < r.right && r.top < r.bottom) copy_rect(r);
}

} // namespace

// ---------------------------------------------------------------------------
// Toolbar commands

void board_toolbar_command(int n) {
    shown_record(Shown::Panel, 100 + n, 0, "toolbar");
    cursor_busy();
    board_input_disable();
    board_hover = -1;
    board_pressed = 0;
    board_draw_toolbar(1);
    const bool board_kept = toolbar_command_open(n);
    if (turn_can_act() == 1 && board_kept) {
        board_input_enable();
        cursor_normal();
    }
}

// ---------------------------------------------------------------------------
// The window procedure

namespace {

bool on_minimap(int x, int y) {
    const int y0 = minimap_top();
    return layout() != 0 && x >= 440 && x < 640 && y >= y0 && y < y0 + 200;
}

bool on_box(int x, int y) {
    return board_input_enabled && x >= board_box_x && x < board_box_x + BOX_W && y >= board_box_y &&
           y < board_box_y + BOX_H;
}

void scroll_to_minimap(int x, int y) {
    const int y0 = minimap_top();
    board_scroll_target = 1;
    board_scroll_x = std::clamp(static_cast<int>((x - 440) * 11.625), 220, 2084);
    board_scroll_y = std::clamp(static_cast<int>((y - y0) * 11.625), 220, 2084);
    board_draw_minimap(0);
    board_draw_map_view(0);
    board_flush_dirty();
}

void left_down(int x, int y) {
    if (on_box(x, y)) {
        const int code = g.mask ? g.mask[(y - board_box_y) * BOX_W + (x - board_box_x)] : 0;
        const int m = game_active_mover;
        if (code == MASK_DICE && is_player(m) && !player_must_stay(player_table[m])) {
            PlayerRecord& r = player_table[m];
            const int mode = r.travel & TRAVEL_MODE_MASK;
            const int rows = mode == TRAVEL_MOTORBIKE ? 2 : (mode == TRAVEL_CAR ? 3 : 1);
            const int row = std::clamp((y - board_box_y) * rows / BOX_H, 0, rows - 1);
            r.dice = static_cast<uint8_t>(row + 1);
            board_draw_control_box(1);
        } else if (code == MASK_TITLE) {
            g.box_drag = true;
            g.grab_x = x - board_box_x, g.grab_y = y - board_box_y;
        } else if (code == MASK_GO) {
            cursor_busy();
            board_input_disable();
            board_repaint_all();
            turn_begin_move();
        }
        return;
    }
    if (layout() != 2 && x >= 616 && y < 280) {
        const int m = game_active_mover;
        if (is_player(m) && board_tabs[m] != y / 70) {
            board_tabs[m] = static_cast<uint8_t>(y / 70);
            shown_record(Shown::Effect, 1);
            board_draw_side_panel(1);
        }
        return;
    }
    if (x < 440 && y >= 40) {
        board_show_info_popup(x, y);
        return;
    }
    if (const int command = toolbar_command_at(x, y); command >= 0) {
        board_pressed = 100 + command;
        board_draw_toolbar(1);
        return;
    }
    if (on_minimap(x, y)) {
        const int y0 = minimap_top();
        if (y >= y0 + 3 && y <= y0 + 28 && x >= 443 && x <= 492) {
            board_pressed = x <= 467 ? 1 : 2;
            return;
        }
        g.minimap_drag = true;
        scroll_to_minimap(x, y);
        return;
    }
    if (layout() != 1 && y >= 288 && y <= 314) {
        if (x >= 448 && x <= 474) board_calendar_page = 0;
        if (x >= 478 && x <= 504) board_calendar_page = 1;
        board_draw_calendar(1);
    }
}

void left_up(int, int) {
    board_info_popup_frame();
    g.minimap_drag = false;
    g.box_drag = false;
    if (board_pressed == 1 || board_pressed == 2) {
        view_rotation = (view_rotation + (board_pressed == 1 ? 7 : 1)) % 8;
        hitmap_view_pos[0] = hitmap_view_pos[1] = -1;
        board_pressed = 0;
        board_draw_minimap(0);
        board_draw_map_view(0);
        board_flush_dirty();
    } else if (board_pressed >= 100) {
        const int n = board_pressed - 100;
        board_pressed = 0;
        board_toolbar_command(n);
    }
}

void mouse_move(int x, int y) {
    board_info_popup_frame();
    if (g.minimap_drag) {
        if (on_minimap(x, y))
            scroll_to_minimap(x, y);
        else
            g.minimap_drag = false;
        return;
    }
    if (g.box_drag) {
        board_box_x = std::clamp(x - g.grab_x, 0, SCREEN_W - BOX_W);
        board_box_y = std::clamp(y - g.grab_y, 0, SCREEN_H - BOX_H);
        board_draw_control_box(1);
        return;
    }
    const int hover = toolbar_command_at(x, y);
    if (hover != board_hover) {
        if (hover >= 0) shown_record(Shown::Effect, 0);
        board_hover = hover;
        board_draw_toolbar(1);
    }
}

} // namespace

namespace {

constexpr int POPUP_W = 139, POPUP_H = 116;
constexpr int POPUP_FRAME_FIRST = 8; // of the pop-up set: + 1 left of the click, + 2 above it

struct Popup {
    bool open = false;
    int x = 0, y = 0;
    ImageRecord* under = nullptr;
};
Popup popup;

const char* const LEVEL_NAMES[6] = {"０级", "一级", "二级", "三级", "四级", "五级"};
// What stands on a plot of each level.
const char* const PLOT_BUILDINGS[6] = {"空  地", "平  房", "小  楼", "公  寓", "大  楼", "摩天楼"};
const char* const FACILITY_NAMES[5] = {"公  园", "饭  店", "购物中心", "加油站", "研究所"};

std::string owner_name(int owner) {
    if (owner < 1 || owner > PLAYER_COUNT) return "";
    char name[32];
    util_strip_spaces(name, player_name(owner - 1));
    return name;
}

std::string fmt_money(int32_t v) {
    char t[32];
    money_text(t, sizeof t, v);
    return t;
}

std::string fmt_int(const char* f, int32_t v) {
    char t[32];
    std::snprintf(t, sizeof t, f, v);
    return t;
}

// The popup's lines for an object code; empty when it shows nothing.
std::vector<std::string> popup_lines(int code) {
    std::vector<std::string> lines;
    if (code & OBJ_OCCUPANTS) {
        const int slot = (code >> 8) & 0x7F;
        if (slot) {
            // The toll highlight marks the hit map with 0xFFFF, no god slot.
            const int kind = slot <= GOD_LAST_SLOT ? god_table[slot].kind : 0;
            if (kind > 0 && kind < static_cast<int>(god_names.size()))
                lines.push_back(god_names[kind]);
        } else if (code & 0x0F) {
            lines.push_back(owner_name(player_first_in_mask(code & 0x0F) + 1));
        } else {
            static const char* const WALKERS[4] = {"小偷", "强盗", "流氓", "间谍"};
            for (int w = 0; w < 4; ++w)
                if (code & (0x10 << w)) {
                    lines.push_back(WALKERS[w]);
                    break;
                }
        }
    } else if (code >= 1 && code <= OBJ_RANGE && code <= map_square_count) {
        if (map_square_table[code].name[0]) lines.push_back(map_square_table[code].name);
    } else if (code > OBJ_LOT_BASE && code - OBJ_LOT_BASE <= map_lot_count &&
               code < OBJ_FACILITY_BASE) {
        const LandLot& l = map_lot_table[code - OBJ_LOT_BASE];
        lines.push_back(owner_name(l.owner));
        const int level = std::min<int>(l.level, 5);
        lines.push_back(l.chain_store ? "连锁店" : PLOT_BUILDINGS[level]);
        lines.push_back(LEVEL_NAMES[level]);
        if (l.chain_store) {
            const int chains = land_chain_store_lots(l.owner);
            lines.push_back(fmt_money(2000 * game_price_index) + fmt_int("×%d", chains));
        } else if (l.owner) {
            lines.push_back(fmt_money(land_toll(l.owner, l.street)));
        } else {
            lines.push_back(fmt_money(l.toll[level]));
        }
    } else if (code > OBJ_FACILITY_BASE && code < OBJ_COMPANY_BASE &&
               code - OBJ_FACILITY_BASE <= map_facility_count) {
        const FacilityLot& f = map_facility_table[code - OBJ_FACILITY_BASE];
        lines.push_back(owner_name(f.owner));
        const int level = std::min<int>(f.level, 5);
        if (level == 0) {
            lines.push_back("空  地");
        } else {
            lines.push_back(FACILITY_NAMES[f.kind % 5]);
            if (f.kind == FK_PETROL_STATION) {
                lines.push_back(fmt_int("×%d", 1000));
            } else if (f.kind == FK_HOTEL || f.kind == FK_SHOPPING_CENTRE) {
                lines.push_back(LEVEL_NAMES[level]);
                lines.push_back(fmt_int("×%d", f.fee[level] * game_price_index));
            } else if (f.kind == FK_RESEARCH_INSTITUTE) {
                lines.push_back(LEVEL_NAMES[level]);
                if (f.research_item) lines.push_back(item_def(f.research_item).name);
            }
        }
    } else if (code > OBJ_COMPANY_BASE && code < OBJ_DECORATION_BASE &&
               code - OBJ_COMPANY_BASE <= map_company_count) {
        const CompanyBuilding& c = map_company_table[code - OBJ_COMPANY_BASE];
        lines.push_back(owner_name(c.chairman));
        lines.push_back(c.name);
        lines.push_back(fmt_int("余股:%d", c.own_shares));
    } else if (code > OBJ_DECORATION_BASE && code - OBJ_DECORATION_BASE <= map_decoration_count) {
        lines.push_back(map_decoration_table[code - OBJ_DECORATION_BASE].name);
    }
    return lines;
}

} // namespace

void board_show_info_popup(int x, int y) {
    const int code = view_hitmap_at(x, y - VIEW_TOP);
    if (!(code & OBJ_OCCUPANTS) && (code < 1 || code > 9999)) return;
    const std::vector<std::string> lines = popup_lines(code);
    if (lines.empty()) return;
    std::string all;
    for (const std::string& l : lines)
        all += l + "\n";
    shown_record(Shown::Panel, code, 0, all.c_str());
    shown_record(Shown::Effect, 1);
    board_draw_control_box(0);
    if (!back_surface) return;
    const bool left = x > 301, above = y - VIEW_TOP >= POPUP_H;
    popup.x = left ? x - POPUP_W : x;
    popup.y = above ? y - POPUP_H : y;
    popup.x = std::clamp(popup.x, 0, SCREEN_W - POPUP_W);
    popup.y = std::clamp(popup.y, 0, SCREEN_H - POPUP_H);
    if (!popup.under) popup.under = image_new(POPUP_W, POPUP_H, 0, 0);
    if (!popup.under) return;
    if (gfx_lock_back()) {
        image_copy_rect(&back_image, popup.under, popup.x, popup.y, POPUP_W, POPUP_H);
        gfx_unlock_back();
    }
    if (view_board_marks())
        put(view_board_marks(), POPUP_FRAME_FIRST + (left ? 1 : 0) + (above ? 2 : 0), popup.x,
            popup.y);
    else
        fill(popup.x, popup.y, POPUP_W, POPUP_H, 0xF0E8D0);
    const int cx = left ? x - 78 : x + 78;
    int cy = above ? y - 96 : y + 42;
    for (const std::string& l : lines) {
        text(l.c_str(), cx, cy, 16, 0x181818, ALIGN_CENTRE);
        cy += 18;
    }
    popup.open = true;
    gfx_screen_update({popup.x, popup.y, popup.x + POPUP_W, popup.y + POPUP_H});
}

void board_info_popup_frame() {
    if (!popup.open) return;
    popup.open = false;
    if (popup.under && gfx_lock_back()) {
        blit_to_image(&back_image, popup.under, popup.x, popup.y);
        gfx_unlock_back();
    }
    gfx_screen_update({popup.x, popup.y, popup.x + POPUP_W, popup.y + POPUP_H});
    if (board_input_enabled) board_draw_control_box(1);
}

int32_t board_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    if (!g.loaded) return plat_def_window_proc(window, message, wparam, lparam);
    const int x = plat_point_x(lparam), y = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        board_screen_active = 1;
        std::fill(board_tabs, board_tabs + PLAYER_COUNT, uint8_t{0});
        board_hover = -1;
        board_pressed = 0;
        g.minimap_drag = g.box_drag = false;
        gfx_set_clip(LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top, LAYOUT_BOARD_AREA.right,
                     LAYOUT_BOARD_AREA.bottom);
        screen_timer_start(500);
        repaint_regions(0);
        return 0;
    case WM_PAINT:
        repaint_regions(0);
        return 0;
    case WM_TIMER:
        if (screen_timer_is_mine(wparam) && board_input_enabled && !popup.open) {
            g.blink ^= 1;
            board_draw_control_box(1);
        }
        return 0;
    default:
        break;
    }
    if (!board_input_enabled) return 0;
    switch (message) {
    case WM_MOUSEMOVE:
        mouse_move(x, y);
        break;
    case WM_LBUTTONDOWN:
        left_down(x, y);
        break;
    case WM_LBUTTONUP:
        left_up(x, y);
        break;
    case WM_RBUTTONUP:
        if (on_minimap(x, y) && board_scroll_target) {
            board_scroll_target = 0;
            board_draw_minimap(0);
            board_draw_map_view(0);
            board_flush_dirty();
        }
        break;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// The door's marks and flashes, the minimap, the films

namespace {

// Marks are seen only in a flash of the display: without one the hit map is
// left to be built afresh by its next reader.
void mark_begin() {
    if (!gfx_display_open()) {
        hitmap_view_pos[0] = hitmap_view_pos[1] = -1;
        return;
    }
    view_hitmap_build(1);
}

// A marked object's pixels of the hit map all become the flash code.
void mark_object(int code) {
    if (view_hitmap != nullptr && gfx_display_open())
        gfx_replace_pixel(view_hitmap, size_t{VIEW_HITMAP_SIDE} * VIEW_HITMAP_SIDE,
                          static_cast<uint16_t>(code), 0xFFFF);
}

void actor_panel() {
    if (settings_side_panel_layout() == 2)
        board_draw_header_panel(1);
    else
        board_draw_side_panel(1);
}

} // namespace

PRESENTER(board_presenter, BoardPresenter{
                               .view_at_camera = view_at_camera,
                               .minimap = minimap,
                               .centred_view = centred_view,
                               .toolbar = toolbar,
                               .repaint = repaint_regions,
                               .flush = board_flush_dirty,
                               .control_box = board_draw_control_box,
                               .cursor_to_go = cursor_to_go,
                               .actor_panel = actor_panel,
                               .dice = show_dice,
                               .mark_begin = mark_begin,
                               .mark_object = mark_object,
                               .flash_marked = gfx_flash_board,
                               .minimap_marks = view_draw_minimap_marks,
                               .animation = view_play_animation,
                           });
