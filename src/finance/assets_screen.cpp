// The asset window: the player tabs along the top, the page tabs on the left,
// and the page of the shown player: the summary of his money, shares,
// property, items and cards; his land list by filter, ten rows a page; his
// shares. The figures come from the asset rules (finance/assets.cpp); the
// window only draws them and keeps which player, page and filter it shows.
#include "finance/assets_screen.h"

#include <array>
#include <cstdio>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/toolbar.h"
#include "board/view.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "engine/confirm.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/util.h"
#include "finance/assets.h"
#include "finance/stock.h"
#include "finance/trading.h"

namespace {

constexpr uint32_t BACKDROP = 0x203048; // when the window's picture is missing
constexpr uint32_t INK = 0x101010;
constexpr uint32_t WHITE = 0xF8F8F8;
constexpr uint32_t GREY = 0x909098;
constexpr uint32_t LABEL = 0xF0D878;    // the summary's labels and the column heads
constexpr uint32_t FACILITY = 0x90E0F0; // facility rows, apart from the plots
constexpr int PORTRAIT_FACE = 1;        // the pleased face of a portrait set, centred
constexpr int GOD_FRAME = 0;

constexpr const char* PAGE_CAPTIONS[ASSET_PAGE_COUNT] = {"资产清单", "地产清单", "股票清单"};
constexpr const char* FILTER_CAPTIONS[ASSET_FILTER_COUNT] = {"全  部", "住宅区", "商业区", "房  屋",
                                                             "连锁店"};
constexpr const char* LAND_HEADS[5] = {"地  点", "开发状况", "价  格", "收  费", "租  期"};

struct Window {
    void* pictures = nullptr; // PANEL.MKF 9
    void* items = nullptr;    // PANEL.MKF 74: item n as frame n - 1
    int player = 0;           // the seat shown
    std::array<uint8_t, 4> tabs{};
    int tab_count = 0;
    AssetSpotKind pressed = ASSET_SPOT_NONE; // the button held down
    uint32_t chord = 0;                      // the keys typed since the last key-up
};
Window win;

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(win.pictures, frame)) popup_blit(back, f, x, y, true);
}

void text(ImageRecord* back, const char* s, int x, int y, int align, int height, uint32_t rgb) {
    popup_font(height, rgb, INK, TEXT_SHADOW, 1);
    popup_text(back, s, x, y, align);
}

void number(ImageRecord* back, int32_t value, int x, int y, int height) {
    char buf[UTIL_THOUSANDS_BUF];
    util_format_thousands(buf, value);
    text(back, buf, x, y, ALIGN_RIGHT_MIDDLE, height, WHITE);
}

void times(ImageRecord* back, int32_t n, int x, int y, int align, int height) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "×%d", n);
    text(back, buf, x, y, align, height, WHITE);
}

// The value of one holding: the product truncated, as the net worth takes it.
int32_t holding_value(int player, int stock) {
    const long double v =
        static_cast<long double>(stock_holdings[player][stock].shares) * stock_table[stock].price;
    if (!(v < 2.0e9L && v > -2.0e9L)) return v > 0 ? INT32_MAX : INT32_MIN;
    return static_cast<int32_t>(v);
}

// ---- Summary page

void draw_summary_left(ImageRecord* back, int p) {
    const PlayerRecord& r = player_table[p];
    constexpr int ROWS[4] = {88, 136, 184, 232};
    constexpr const char* TOP[4] = {"现  金", "存  款", "贷  款", "总资产"};
    constexpr const char* RIGHT[4] = {"股  票", "点  卷", "保险期", "企  业"};
    constexpr const char* BOTTOM[4] = {"土  地", "连锁店", "房  屋", "设  施"};
    constexpr int LOW_ROWS[4] = {296, 344, 392, 440};
    for (int i = 0; i < 4; ++i) {
        text(back, TOP[i], 142, ROWS[i], ALIGN_LEFT_MIDDLE, 20, LABEL);
        text(back, RIGHT[i], 430, ROWS[i], ALIGN_LEFT_MIDDLE, 20, LABEL);
        text(back, BOTTOM[i], 142, LOW_ROWS[i], ALIGN_LEFT_MIDDLE, 20, LABEL);
    }
    const int32_t money[4] = {r.cash, r.deposit, r.loan, asset_net_worth(p)};
    for (int i = 0; i < 4; ++i)
        number(back, money[i], 330, ROWS[i], 28);
    number(back, asset_shares_value(p), 602, ROWS[0], 28);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", r.points);
    text(back, buf, 602, ROWS[1], ALIGN_RIGHT_MIDDLE, 28, WHITE);
    std::snprintf(buf, sizeof buf, "%d天", r.insurance_days);
    text(back, buf, 602, ROWS[2], ALIGN_RIGHT_MIDDLE, 28, WHITE);
    const AssetSummary s = asset_summary(p);
    times(back, s.chaired, 602, ROWS[3], ALIGN_RIGHT_MIDDLE, 28);
    const int32_t counts[4] = {s.properties, s.chain_stores, s.houses, s.facilities_built};
    for (int i = 0; i < 4; ++i)
        times(back, counts[i], 250, LOW_ROWS[i], ALIGN_RIGHT_MIDDLE, 28);
}

// The left column: his face, and an attached god with its days left.
void draw_summary_column(ImageRecord* back, int p) {
    put(back, ASSET_F_FACE_PANEL, ASSET_FACE_AREA.left, ASSET_FACE_AREA.top);
    if (const ImageRecord* face = popup_frame(view_portrait_set(p), PORTRAIT_FACE))
        popup_blit(back, face, 60, 100, true);
    const PlayerRecord& r = player_table[p];
    if (r.god_slot < GOD_FIRST_SLOT || r.god_slot > GOD_LAST_SLOT) return;
    const GodObject& g = god_table[r.god_slot];
    if (g.kind == 0) return;
    if (const ImageRecord* god = popup_frame(view_god_sprite(g.kind - 1), GOD_FRAME))
        popup_blit(back, god, 60, 188, true);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d天", g.days);
    text(back, buf, 60, 234, ALIGN_CENTRE, 16, WHITE);
}

// Cells from x 300 in steps of 72, the next row 32 lower once x passes 588.
struct CellWalk {
    int x = 300;
    int y;
    void next() {
        x += 72;
        if (x > 588) {
            x = 300;
            y += 32;
        }
    }
};

void draw_summary_goods(ImageRecord* back, int p) {
    CellWalk item{300, 281};
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n) {
        const int held = player_items[p][n - 1];
        if (held <= 0) continue;
        if (const ImageRecord* pic = popup_frame(win.items, n - 1))
            popup_blit(back, pic, item.x, item.y, true);
        times(back, held, item.x + 18, item.y, ALIGN_LEFT_MIDDLE, 16);
        item.next();
    }
    CellWalk card{300, 385};
    for (int i = 0; i < CARD_HAND_MAX; ++i) {
        const int id = player_cards[p][i];
        if (id == 0) continue;
        text(back, card_def(id).name, card.x - 16, card.y, ALIGN_LEFT_MIDDLE, 16, WHITE);
        card.next();
    }
}

// ---- Land page

void draw_level_marks(ImageRecord* back, int level, int cx, int y) {
    if (level <= 0) return;
    const int width = level * ASSET_LEVEL_MARK_STEP - (ASSET_LEVEL_MARK_STEP - ASSET_LEVEL_MARK_W);
    const int first = cx - width / 2 + ASSET_LEVEL_MARK_W / 2;
    for (int k = 0; k < level; ++k)
        put(back, ASSET_F_LEVEL_MARK, first + ASSET_LEVEL_MARK_STEP * k, y);
}

void draw_land_row(ImageRecord* back, int code, int y) {
    const AssetRow row = asset_row(code);
    const int* col = ASSET_LAND_COLUMN_X;
    const uint32_t colour = row.facility ? FACILITY : WHITE;
    char name[24] = {};
    if (row.facility) {
        const FacilityLot& f = map_facility_table[object_index(code, OBJ_FACILITY_BASE)];
        std::snprintf(name, sizeof name, "%.*s", static_cast<int>(sizeof f.name), f.name);
    } else {
        const LandLot& l = map_lot_table[object_index(code, OBJ_LOT_BASE)];
        std::snprintf(name, sizeof name, "%.*s", static_cast<int>(sizeof l.street), l.street);
    }
    text(back, name, col[0], y, ALIGN_CENTRE, 16, colour);
    if (row.chain_store)
        text(back, "连锁店", col[1], y, ALIGN_CENTRE, 16, colour);
    else
        draw_level_marks(back, row.level, col[1], y);
    char buf[UTIL_THOUSANDS_BUF];
    util_format_thousands(buf, row.price);
    text(back, buf, col[2], y, ALIGN_CENTRE, 16, colour);
    util_format_thousands(buf, row.fee);
    text(back, buf, col[3], y, ALIGN_CENTRE, 16, colour);
    if (row.expiry == 0) {
        text(back, "无限期", col[4], y, ALIGN_CENTRE, 16, colour);
    } else {
        char date[24];
        std::snprintf(date, sizeof date, "%02u/%u/%u", (row.expiry >> 16) % 100,
                      (row.expiry >> 8) & 0xFF, row.expiry & 0xFF);
        text(back, date, col[4], y, ALIGN_CENTRE, 16, colour);
    }
}

// ---- Share page

void draw_share_page() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    put(back, ASSET_F_SHARE_PANEL, ASSET_PAGE_AREA.left, ASSET_PAGE_AREA.top);
    text(back, "股票名称", 204, 68, ALIGN_LEFT_MIDDLE, 16, LABEL);
    text(back, "持有张数", 332, 68, ALIGN_LEFT_MIDDLE, 16, LABEL);
    text(back, "总 市 价", 476, 68, ALIGN_LEFT_MIDDLE, 16, LABEL);
    const int p = win.player;
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const int y = 100 + 32 * i;
        text(back, stock_name(i), 204, y, ALIGN_LEFT_MIDDLE, 16, WHITE);
        number(back, stock_holdings[p][i].shares, 384, y, 16);
        number(back, holding_value(p, i), 536, y, 16);
    }
    popup_unlock_back();
}

// ---- The whole window

// Draws everything; refill 1 takes the land list anew from its first row.
void redraw(int refill) {
    asset_draw_captions();
    switch (asset_page) {
    case 1:
        asset_draw_land_page(asset_land_filter, refill ? 0 : 1);
        break;
    case 2:
        draw_share_page();
        break;
    default:
        asset_draw_summary_page();
        break;
    }
    popup_update(screen_rect);
}

void page_step(AssetSpotKind button) {
    if (button == ASSET_SPOT_PAGE_DOWN)
        asset_page_down();
    else
        asset_page_up();
}

// A page key works like a press on its button: shown held down until the
// key comes up.
void page_key(AssetSpotKind button) {
    if (asset_page != 1) return;
    snd_effect_play(&ui_effects[UI_PRESS], 0);
    win.pressed = button;
    page_step(button);
    redraw(0);
}

void left_down(int x, int y) {
    const AssetSpot s = asset_spot_at(x, y, win.tab_count, asset_page);
    switch (s.kind) {
    case ASSET_SPOT_PLAYER_TAB:
        if (win.tabs[s.index] == win.player) return;
        win.player = win.tabs[s.index];
        break;
    case ASSET_SPOT_PAGE_TAB:
        if (s.index == asset_page) return;
        asset_page = s.index;
        break;
    case ASSET_SPOT_FILTER_TAB:
        if (s.index == asset_land_filter) return;
        asset_land_filter = s.index;
        break;
    case ASSET_SPOT_EXIT:
    case ASSET_SPOT_PAGE_UP:
    case ASSET_SPOT_PAGE_DOWN:
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        win.pressed = s.kind;
        redraw(0);
        return;
    case ASSET_SPOT_NONE:
        return;
    }
    snd_effect_play(&ui_effects[UI_PRESS], 0);
    redraw(1);
}

void left_up(int x, int y) {
    const AssetSpotKind held = win.pressed;
    if (held == ASSET_SPOT_NONE) return;
    win.pressed = ASSET_SPOT_NONE;
    const AssetSpot s = asset_spot_at(x, y, win.tab_count, asset_page);
    if (held == ASSET_SPOT_EXIT && s.kind == held) {
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_close(0);
        return;
    }
    if (s.kind == held) page_step(held);
    redraw(0);
}

} // namespace

AssetSpot asset_spot_at(int x, int y, int tabs, int page) {
    if (inside(ASSET_EXIT_BUTTON, x, y)) return {ASSET_SPOT_EXIT, 0};
    if (y >= ASSET_PLAYER_TAB_Y && y < ASSET_PLAYER_TAB_Y + ASSET_PLAYER_TAB_H &&
        x >= ASSET_PLAYER_TAB_X) {
        const int k = (x - ASSET_PLAYER_TAB_X) / ASSET_PLAYER_TAB_STEP;
        if (k < tabs && x - ASSET_PLAYER_TAB_X - ASSET_PLAYER_TAB_STEP * k < ASSET_PLAYER_TAB_W)
            return {ASSET_SPOT_PLAYER_TAB, k};
    }
    if (x >= ASSET_PAGE_TAB_LEFT && x < ASSET_PAGE_TAB_RIGHT && y >= ASSET_PAGE_TAB_Y) {
        const int k = (y - ASSET_PAGE_TAB_Y) / ASSET_PAGE_TAB_STEP;
        if (k < ASSET_PAGE_COUNT &&
            y - ASSET_PAGE_TAB_Y - ASSET_PAGE_TAB_STEP * k < ASSET_PAGE_TAB_H)
            return {ASSET_SPOT_PAGE_TAB, k};
    }
    if (page != 1) return {ASSET_SPOT_NONE, 0};
    if (y >= ASSET_FILTER_TAB_TOP && y < ASSET_FILTER_TAB_BOTTOM && x >= ASSET_FILTER_TAB_X) {
        const int i = (x - ASSET_FILTER_TAB_X) / ASSET_FILTER_TAB_W;
        if (i < ASSET_FILTER_COUNT) return {ASSET_SPOT_FILTER_TAB, i};
    }
    if (inside(ASSET_PAGE_UP_BUTTON, x, y)) return {ASSET_SPOT_PAGE_UP, 0};
    if (inside(ASSET_PAGE_DOWN_BUTTON, x, y)) return {ASSET_SPOT_PAGE_DOWN, 0};
    return {ASSET_SPOT_NONE, 0};
}

void asset_draw_captions() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    if (const ImageRecord* bg = popup_frame(win.pictures, ASSET_F_BACKGROUND))
        popup_blit(back, bg, 0, 0, false);
    else
        blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, BACKDROP);
    for (int k = 0; k < win.tab_count; ++k) {
        const int x = ASSET_PLAYER_TAB_X + ASSET_PLAYER_TAB_STEP * k;
        const bool shown = win.tabs[k] == win.player;
        put(back, shown ? ASSET_F_PLAYER_TAB_LIT : ASSET_F_PLAYER_TAB, x, ASSET_PLAYER_TAB_Y);
        text(back, player_name(win.tabs[k]), x + ASSET_PLAYER_TAB_W / 2,
             ASSET_PLAYER_TAB_Y + ASSET_PLAYER_TAB_H / 2, ALIGN_CENTRE, 16, shown ? WHITE : GREY);
    }
    for (int k = 0; k < ASSET_PAGE_COUNT; ++k) {
        const int y = ASSET_PAGE_TAB_Y + ASSET_PAGE_TAB_STEP * k;
        const bool chosen = k == asset_page;
        if (chosen) put(back, ASSET_F_PAGE_TAB_LIT, ASSET_PAGE_TAB_LEFT, y);
        text(back, PAGE_CAPTIONS[k], (ASSET_PAGE_TAB_LEFT + ASSET_PAGE_TAB_RIGHT) / 2,
             y + ASSET_PAGE_TAB_H / 2, ALIGN_CENTRE, 20, chosen ? WHITE : GREY);
    }
    if (win.pressed == ASSET_SPOT_EXIT)
        put(back, ASSET_F_EXIT_PRESSED, ASSET_EXIT_BUTTON.left, ASSET_EXIT_BUTTON.top);
    popup_unlock_back();
}

void asset_draw_summary_page() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    put(back, ASSET_F_SUMMARY_PANEL, ASSET_PAGE_AREA.left, ASSET_PAGE_AREA.top);
    const int p = win.player;
    if (is_player_seat(p)) {
        draw_summary_column(back, p);
        draw_summary_left(back, p);
        draw_summary_goods(back, p);
    }
    popup_unlock_back();
}

void asset_draw_land_page(int filter, int paging) {
    if (paging == 0) {
        asset_list_properties(win.player, filter);
        asset_first_row = 0;
    }
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    put(back, ASSET_F_LAND_PANEL, ASSET_PAGE_AREA.left, ASSET_PAGE_AREA.top);
    const int tab_middle = (ASSET_FILTER_TAB_TOP + ASSET_FILTER_TAB_BOTTOM) / 2;
    for (int i = 0; i < ASSET_FILTER_COUNT; ++i) {
        const int x = ASSET_FILTER_TAB_X + ASSET_FILTER_TAB_W * i;
        const bool chosen = i == filter;
        put(back, chosen ? ASSET_F_FILTER_TAB_LIT : ASSET_F_FILTER_TAB, x, ASSET_FILTER_TAB_TOP);
        text(back, FILTER_CAPTIONS[i], x + ASSET_FILTER_TAB_W / 2, tab_middle, ALIGN_CENTRE, 16,
             chosen ? WHITE : GREY);
    }
    for (int c = 0; c < 5; ++c)
        text(back, LAND_HEADS[c], ASSET_LAND_COLUMN_X[c], 112, ALIGN_CENTRE, 16, LABEL);
    for (int r = 0; r < ASSET_ROWS_PER_PAGE; ++r) {
        const int n = asset_first_row + r;
        if (n < 0 || n >= asset_property_count) break;
        draw_land_row(back, asset_property_list[n], ASSET_LAND_ROW_Y + ASSET_LAND_ROW_STEP * r);
    }
    put(back, win.pressed == ASSET_SPOT_PAGE_UP ? ASSET_F_PAGE_UP_PRESSED : ASSET_F_PAGE_UP,
        ASSET_PAGE_UP_BUTTON.left, ASSET_PAGE_UP_BUTTON.top);
    put(back, win.pressed == ASSET_SPOT_PAGE_DOWN ? ASSET_F_PAGE_DOWN_PRESSED : ASSET_F_PAGE_DOWN,
        ASSET_PAGE_DOWN_BUTTON.left, ASSET_PAGE_DOWN_BUTTON.top);
    popup_unlock_back();
}

int32_t asset_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        win.player = win.tabs[0];
        for (int k = 0; k < win.tab_count; ++k)
            if (win.tabs[k] == game_active_mover) win.player = game_active_mover;
        win.pressed = ASSET_SPOT_NONE;
        win.chord = 0;
        asset_first_row = 0;
        redraw(1);
        return 0;
    case WM_LBUTTONDOWN:
        left_down(mx, my);
        return 0;
    case WM_LBUTTONUP:
        left_up(mx, my);
        return 0;
    case WM_RBUTTONUP:
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_close(0);
        return 0;
    case WM_KEYDOWN:
        win.chord = confirm_chord(win.chord, wparam);
        if (win.chord == settings_hotkey(HK_PAGE_UP))
            page_key(ASSET_SPOT_PAGE_UP);
        else if (win.chord == settings_hotkey(HK_PAGE_DOWN))
            page_key(ASSET_SPOT_PAGE_DOWN);
        return 0;
    case WM_KEYUP:
        win.chord = 0;
        if (win.pressed == ASSET_SPOT_PAGE_UP || win.pressed == ASSET_SPOT_PAGE_DOWN) {
            win.pressed = ASSET_SPOT_NONE;
            redraw(0);
        }
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

void asset_open() {
    shown_record(Shown::Panel, ASSET_PICTURES_ENTRY, 0, "assets");
    if (popup_lock_back() == nullptr) return; // no display: nobody to read it
    popup_unlock_back();
    win = Window{};
    win.tab_count = asset_player_tabs(win.tabs);
    if (win.tab_count == 0) return;
    win.pictures = spr_read_set("PANEL.MKF", ASSET_PICTURES_ENTRY);
    win.items = spr_read_set("PANEL.MKF", ASSET_ITEM_PICTURES_ENTRY);
    const int cursor = cursor_show_for_clicks();
    screen_run(asset_wndproc, 0);
    cursor_give_back(cursor);
    board_repaint_all();
    spr_free_set(win.pictures);
    spr_free_set(win.items);
    win = Window{};
}

TOOLBAR_COMMAND(
    TOOLBAR_QUERY,
    [] {
        asset_open();
        return true;
    },
    HK_QUERY)
