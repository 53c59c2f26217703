#include "finance/notice_board_screen.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/toolbar.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/util.h"
#include "finance/assets.h"
#include "finance/notice_board.h"
#include "finance/stock.h"
#include "finance/trading.h"

namespace {

constexpr uint32_t INK = 0x201810, LIGHT = 0xF8F0D8, SHADOW = 0x101010, DIM = 0x806040;
constexpr const char* KIND_NAMES[] = {"", "股  票", "地  产", "道  具", "卡  片"};

void fill(ImageRecord* back, const PlatRect& r, uint32_t rgb) {
    blit_fill_rect(back, r.left, r.top, r.right - r.left, r.bottom - r.top, rgb);
}

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

struct BoardWindow {
    int player = -1;
    bool open = false;
    void* pictures = nullptr;
    void* items = nullptr;
    ImageRecord* saved = nullptr;
} bw;

void ui_sound(UiEffect e) {
    snd_effect_play(&ui_effects[e], 0);
}

// Draws frame n at the rectangle's corner, or a plain box without it.
void draw_box(ImageRecord* back, int frame, const PlatRect& r) {
    if (const ImageRecord* f = popup_frame(bw.pictures, frame)) {
        popup_blit(back, f, r.left, r.top, true);
        return;
    }
    fill(back, r, 0xE8E0D0);
}

// Where draw_box draws on the screen: the rectangle, and all of the frame
// where the picture is larger. A dialog keeps and gives back the whole of it.
PlatRect box_area(int frame, const PlatRect& r) {
    PlatRect area = r;
    if (const ImageRecord* f = popup_frame(bw.pictures, frame)) {
        const int left = r.left - f->hot_x, top = r.top - f->hot_y;
        area = {std::min(area.left, left), std::min(area.top, top),
                std::max(area.right, left + f->width), std::max(area.bottom, top + f->height)};
    }
    return {std::max(area.left, screen_rect.left), std::max(area.top, screen_rect.top),
            std::min(area.right, screen_rect.right), std::min(area.bottom, screen_rect.bottom)};
}

void text_at(ImageRecord* back, const char* text, int x, int y, int size, uint32_t colour,
             int align = ALIGN_LEFT_TOP) {
    popup_font(size, colour, colour == LIGHT ? SHADOW : 0, colour == LIGHT ? TEXT_SHADOW : 0, 1);
    popup_text(back, text, x, y, align);
}

void button(ImageRecord* back, const PlatRect& r, const char* text, bool pressed) {
    draw_box(back, pressed ? NOTICE_FRAME_BUTTON_PRESSED : NOTICE_FRAME_BUTTON, r);
    text_at(back, text, (r.left + r.right) / 2, (r.top + r.bottom) / 2, 20, LIGHT, ALIGN_CENTRE);
}

std::string yuan(int64_t v) {
    char digits[UTIL_THOUSANDS_BUF];
    util_format_thousands(digits, util_clamp32(v));
    return std::string(digits) + "元";
}

// ---------------------------------------------------------------------------
// The board

void draw_board(ImageRecord* back) {
    if (const ImageRecord* f = popup_frame(bw.pictures, NOTICE_FRAME_WINDOW))
        popup_blit(back, f, 0, 0, false);
    else
        fill(back, screen_rect, 0x604830);
    for (int seat = 0; seat < game_player_count && seat < PLAYER_COUNT; ++seat) {
        const int y = NOTICE_GRID_Y + NOTICE_CELL_STEP * seat;
        const PlayerRecord& r = player_table[seat];
        if (const ImageRecord* face = popup_frame(actor_anim_table[seat].portrait, 0))
            popup_blit(back, face, 40, y + 4, true);
        text_at(back, player_name(seat), 58, y + 44, 16, r.control ? LIGHT : DIM, ALIGN_CENTRE);
        for (int slot = 0; slot < NOTICE_SLOTS; ++slot) {
            const NoticeOffer& o = notice_board[seat][slot];
            if (o.type == NOTICE_EMPTY || o.type > NOTICE_CARD) continue;
            const int x = NOTICE_GRID_X + NOTICE_CELL_STEP * slot;
            const int frame = NOTICE_FRAME_ICON_BASE + o.type + 4 * (r.sex ? 1 : 0);
            if (const ImageRecord* icon = popup_frame(bw.pictures, frame))
                popup_blit(back, icon, x + NOTICE_CELL_SIZE / 2, y + NOTICE_CELL_SIZE / 2, true);
            else
                fill(back, PlatRect{x + 4, y + 4, x + 60, y + 60}, 0xF8C000);
        }
    }
    draw_box(back, NOTICE_FRAME_POST, NOTICE_POST_BUTTON);
    draw_box(back, NOTICE_FRAME_EXIT, NOTICE_EXIT_BUTTON);
}

void show_board() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    draw_board(back);
    popup_unlock_back();
    popup_update(screen_rect);
}

// ---------------------------------------------------------------------------
// A small modal list of buttons or rows over the board: the values of the
// rects clicked; right click 0.

struct Pick {
    std::vector<PlatRect> rects;
    std::vector<int> values;
    int pressed = -1;
    int result = 0;
    void (*extra)(int x, int y) = nullptr; // the land page's tabs and paging
};
Pick pick;

int32_t pick_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        pick.pressed = -1;
        return 0;
    case WM_LBUTTONDOWN:
        for (size_t k = 0; k < pick.rects.size(); ++k)
            if (inside(pick.rects[k], mx, my)) {
                pick.pressed = static_cast<int>(k);
                gfx_press_rect(pick.rects[k]);
                ui_sound(UI_PRESS);
                return 0;
            }
        if (pick.extra) pick.extra(mx, my);
        return 0;
    case WM_LBUTTONUP:
        if (pick.pressed < 0) return 0;
        gfx_release_rect();
        if (inside(pick.rects[static_cast<size_t>(pick.pressed)], mx, my)) {
            ui_sound(UI_CONFIRM);
            screen_close(pick.values[static_cast<size_t>(pick.pressed)]);
        }
        pick.pressed = -1;
        return 0;
    case WM_RBUTTONUP:
        if (pick.pressed >= 0) gfx_release_rect();
        ui_sound(UI_CANCEL);
        screen_close(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

int run_pick() {
    return screen_run(pick_wndproc, 0);
}

// The choice of the four kinds to post.
int choose_kind() {
    const PlatRect area = box_area(NOTICE_FRAME_PANEL, NOTICE_CHOICE_PANEL);
    ImageRecord* under = popup_save_area(area);
    ImageRecord* back = popup_lock_back();
    pick = Pick{};
    if (back) {
        draw_box(back, NOTICE_FRAME_PANEL, NOTICE_CHOICE_PANEL);
        text_at(back, "公布何种物件？", 320, 150, 20, INK, ALIGN_CENTRE);
        for (int k = 1; k <= 4; ++k) {
            const PlatRect r = notice_kind_button(k);
            button(back, r, KIND_NAMES[k], false);
            pick.rects.push_back(r);
            pick.values.push_back(k);
        }
    }
    popup_unlock_back();
    popup_update(area);
    const int kind = run_pick();
    popup_restore_area(under, area.left, area.top);
    popup_update(area);
    return kind;
}

// ---------------------------------------------------------------------------
// The detail of one offer: its button's action, or 0.

std::string offer_title(const NoticeOffer& o) {
    switch (o.type) {
    case NOTICE_SHARES:
        return o.object < STOCK_COUNT ? stock_name(o.object) : "";
    case NOTICE_LAND:
        if (const LandLot* l = map_lot(o.object)) return l->chain_store ? "连锁店" : "住宅用地";
        return "商业用地";
    case NOTICE_ITEM:
        return item_def(o.object).name;
    case NOTICE_CARD:
        return card_def(o.object).name;
    default:
        return "";
    }
}

int show_detail(int seat, int slot) {
    const NoticeOffer& o = notice_board[seat][slot];
    const PlatRect area = box_area(NOTICE_FRAME_PANEL, NOTICE_DETAIL_PANEL);
    ImageRecord* under = popup_save_area(area);
    ImageRecord* back = popup_lock_back();
    pick = Pick{};
    if (back) {
        draw_box(back, NOTICE_FRAME_PANEL, NOTICE_DETAIL_PANEL);
        int y = NOTICE_DETAIL_PANEL.top + 24;
        const int lx = NOTICE_DETAIL_PANEL.left + 30, vx = NOTICE_DETAIL_PANEL.left + 110;
        auto line = [&](const char* label, const std::string& value) {
            text_at(back, label, lx, y, 20, INK);
            text_at(back, value.c_str(), vx, y, 20, INK);
            y += 34;
        };
        line("类型：", offer_title(o));
        line("市价：", yuan(notice_market_value(o)));
        line("卖价：", yuan(o.asking));
        if (o.type == NOTICE_SHARES) line("张数：", std::to_string(o.count) + "张");
        if (o.type == NOTICE_LAND) {
            const LandLot* l = map_lot(o.object);
            const FacilityLot* f = map_facility(o.object);
            line("地点：", l ? l->street : f ? f->name : "");
            line("等级：", std::to_string(l ? l->level : f ? f->level : 0));
        }
        if (o.type == NOTICE_ITEM)
            if (const ImageRecord* pic = popup_frame(bw.items, o.object - 1))
                popup_blit(back, pic, NOTICE_DETAIL_PANEL.right - 50, NOTICE_DETAIL_PANEL.top + 50,
                           true);
        button(back, NOTICE_DETAIL_BUTTON, seat == bw.player ? "撤 件" : "购 买", false);
        pick.rects.push_back(NOTICE_DETAIL_BUTTON);
        pick.values.push_back(notice_offer_action(seat, slot));
    }
    popup_unlock_back();
    popup_update(area);
    const int action = run_pick();
    popup_restore_area(under, area.left, area.top);
    popup_update(area);
    return action;
}

// ---------------------------------------------------------------------------
// The board window: the button pressed, as an action.

struct BoardPress {
    int pressed = 0; // 1 post, 2 exit, 3 an offer
    int seat = 0, slot = 0;
} press;

int32_t board_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        press = BoardPress{};
        return 0;
    case WM_LBUTTONDOWN:
        if (inside(NOTICE_POST_BUTTON, mx, my)) {
            press.pressed = 1;
            gfx_press_rect(NOTICE_POST_BUTTON);
        } else if (inside(NOTICE_EXIT_BUTTON, mx, my)) {
            press.pressed = 2;
            gfx_press_rect(NOTICE_EXIT_BUTTON);
        } else if (notice_screen_cell_at(mx, my, &press.seat, &press.slot) &&
                   notice_board[press.seat][press.slot].type != NOTICE_EMPTY) {
            press.pressed = 3;
        } else {
            return 0;
        }
        ui_sound(UI_PRESS);
        return 0;
    case WM_LBUTTONUP: {
        const int was = press.pressed;
        press.pressed = 0;
        if (was == 1 || was == 2) gfx_release_rect();
        if (was == 2) {
            ui_sound(UI_CANCEL);
            screen_close(NOTICE_ACTION_EXIT);
        } else if (was == 1) {
            if (notice_row_full(bw.player)) {
                ui_sound(UI_REFUSED);
                msg_show(NOTICE_TEXT_ROW_FULL, MSG_STANDARD_MS);
                return 0;
            }
            const int kind = choose_kind();
            if (kind != 0) screen_close(kind);
        } else if (was == 3) {
            const int action = show_detail(press.seat, press.slot);
            if (action != 0) screen_close(action);
        }
        return 0;
    }
    case WM_RBUTTONUP:
        ui_sound(UI_CANCEL);
        screen_close(NOTICE_ACTION_EXIT);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

int ask_action(const DecisionRequest& r) {
    if (!bw.open || r.player != bw.player) return NOTICE_ACTION_EXIT;
    show_board();
    return screen_run(board_wndproc, 0);
}
bool accepts_action(const DecisionRequest& r, int answer) {
    return notice_action_allowed(r.player, answer);
}

// ---------------------------------------------------------------------------
// The posting windows: a list of what the player holds of the kind.

struct PostList {
    int player = 0, type = 0;
    int filter = 0, first = 0; // the land page
    std::vector<int> values;
    std::vector<std::string> cols[4];
} post;

void fill_post_rows() {
    post.values.clear();
    for (auto& c : post.cols)
        c.clear();
    auto row = [&](int value, std::string a, std::string b, std::string c, std::string d = "") {
        post.values.push_back(value);
        post.cols[0].push_back(std::move(a));
        post.cols[1].push_back(std::move(b));
        post.cols[2].push_back(std::move(c));
        post.cols[3].push_back(std::move(d));
    };
    const int p = post.player;
    if (post.type == NOTICE_SHARES) {
        for (int i = 0; i < STOCK_COUNT; ++i) {
            const int32_t n = stock_holdings[p][i].shares;
            if (n <= 0) continue;
            row(i + 1, stock_name(i), std::to_string(n),
                yuan(notice_market_value_of(NOTICE_SHARES, i, n)));
        }
    } else if (post.type == NOTICE_LAND) {
        const int count = asset_list_properties(p, post.filter);
        for (int k = post.first; k < count && k < post.first + NOTICE_LIST_ROWS; ++k) {
            const int code = asset_property_list[static_cast<size_t>(k)];
            const AssetRow a = asset_row(code);
            const LandLot* l = map_lot(code);
            const FacilityLot* f = map_facility(code);
            std::string place = l ? l->street : f ? f->name : "";
            std::string dev = a.chain_store  ? "连锁店"
                              : a.level == 0 ? "空  地"
                                             : std::to_string(a.level) + " 级";
            char term[24] = "无限期";
            if (a.expiry != 0)
                std::snprintf(term, sizeof term, "%02d/%d/%d", cal_year(a.expiry) % 100,
                              cal_month(a.expiry), cal_day(a.expiry));
            row(code, place, dev, yuan(notice_market_value_of(NOTICE_LAND, code, 0)), term);
        }
    } else if (post.type == NOTICE_ITEM) {
        for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
            if (player_items[p][n - 1] > 0)
                row(n, item_def(n).name, "×" + std::to_string(player_items[p][n - 1]),
                    yuan(notice_market_value_of(NOTICE_ITEM, n, 0)));
    } else if (post.type == NOTICE_CARD) {
        for (int k = 0; k < HOLDING_ROW; ++k)
            if (const int id = player_cards[p][k])
                row(id, card_def(id).name, "", yuan(notice_market_value_of(NOTICE_CARD, id, 0)));
    }
}

PlatRect list_row(int k) {
    const int y = NOTICE_LIST_Y + NOTICE_LIST_ROW_H * k;
    return {NOTICE_LIST_X, y, NOTICE_LIST_X + NOTICE_LIST_W - 60, y + NOTICE_LIST_ROW_H};
}

void draw_post_list() {
    fill_post_rows();
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    draw_box(back, NOTICE_FRAME_PANEL, NOTICE_LIST_PANEL);
    fill(back, NOTICE_LIST_PANEL, 0xF0E8D8);
    fill(back,
         PlatRect{NOTICE_LIST_PANEL.left, NOTICE_LIST_PANEL.top, NOTICE_LIST_PANEL.right,
                  NOTICE_LIST_PANEL.top + 4},
         0x604020);
    static const char* const heads[5][4] = {{},
                                            {"股票名称", "持有张数", "总 市 价", ""},
                                            {"地  点", "开发状况", "市  价", "租  期"},
                                            {"道  具", "数  量", "市  价", ""},
                                            {"卡  片", "", "市  价", ""}};
    const int cx[4] = {NOTICE_LIST_X + 10, NOTICE_LIST_X + 190, NOTICE_LIST_X + 300,
                       NOTICE_LIST_X + 420};
    if (post.type == NOTICE_LAND) {
        static const char* const tabs[] = {"全  部", "住宅区", "商业区", "房  屋", "连锁店"};
        for (int i = 0; i < 5; ++i) {
            const PlatRect r{NOTICE_TAB_X + NOTICE_TAB_W * i, NOTICE_TAB_Y,
                             NOTICE_TAB_X + NOTICE_TAB_W * (i + 1) - 4,
                             NOTICE_TAB_Y + NOTICE_TAB_H};
            fill(back, r, i == post.filter ? 0x906030 : 0xD8C8A8);
            text_at(back, tabs[i], (r.left + r.right) / 2, (r.top + r.bottom) / 2, 16,
                    i == post.filter ? LIGHT : INK, ALIGN_CENTRE);
        }
        button(back, NOTICE_PAGE_UP, "▲", false);
        button(back, NOTICE_PAGE_DOWN, "▼", false);
    } else {
        text_at(back, KIND_NAMES[post.type], 320, 100, 20, INK, ALIGN_CENTRE);
    }
    for (int c = 0; c < 4; ++c)
        text_at(back, heads[post.type][c], cx[c], NOTICE_LIST_Y - 26, 16, DIM);
    for (size_t k = 0; k < post.values.size(); ++k) {
        const PlatRect r = list_row(static_cast<int>(k));
        fill(back, PlatRect{r.left, r.bottom - 1, r.right, r.bottom}, 0xB0A080);
        for (int c = 0; c < 4; ++c)
            text_at(back, post.cols[c][k].c_str(), cx[c], r.top + 5, 16, INK);
        if (post.type == NOTICE_ITEM)
            if (const ImageRecord* pic = popup_frame(bw.items, post.values[k] - 1))
                popup_blit(back, pic, cx[1] - 24, r.top + NOTICE_LIST_ROW_H / 2, true);
    }
    popup_unlock_back();
    popup_update(box_area(NOTICE_FRAME_PANEL, NOTICE_LIST_PANEL));
    pick.rects.clear();
    pick.values.clear();
    for (size_t k = 0; k < post.values.size(); ++k) {
        pick.rects.push_back(list_row(static_cast<int>(k)));
        pick.values.push_back(post.values[k]);
    }
}

// The land page's filter tabs and page buttons.
void land_page_click(int x, int y) {
    if (post.type != NOTICE_LAND) return;
    const int count = asset_list_properties(post.player, post.filter);
    if (y >= NOTICE_TAB_Y && y < NOTICE_TAB_Y + NOTICE_TAB_H && x >= NOTICE_TAB_X &&
        x < NOTICE_TAB_X + 5 * NOTICE_TAB_W) {
        post.filter = (x - NOTICE_TAB_X) / NOTICE_TAB_W;
        post.first = 0;
    } else if (inside(NOTICE_PAGE_DOWN, x, y) && count - post.first > NOTICE_LIST_ROWS) {
        post.first += NOTICE_LIST_ROWS;
    } else if (inside(NOTICE_PAGE_UP, x, y) && post.first >= NOTICE_LIST_ROWS) {
        post.first -= NOTICE_LIST_ROWS;
    } else {
        return;
    }
    ui_sound(UI_PRESS);
    draw_post_list();
}

int ask_post(const DecisionRequest& r) {
    if (!bw.open || r.player != bw.player) return 0;
    post = PostList{};
    post.player = r.player;
    post.type = r.param;
    const PlatRect area = box_area(NOTICE_FRAME_PANEL, NOTICE_LIST_PANEL);
    ImageRecord* under = popup_save_area(area);
    pick = Pick{};
    pick.extra = land_page_click;
    draw_post_list();
    const int picked = run_pick();
    popup_restore_area(under, area.left, area.top);
    popup_update(area);
    return picked;
}
bool accepts_post(const DecisionRequest& r, int answer) {
    return notice_post_allowed(r.player, r.param, answer);
}

} // namespace

DECISION_KIND(DECIDE_BOARD_ACTION, ask_action, accepts_action, NOTICE_ACTION_EXIT);
DECISION_KIND(DECIDE_BOARD_POST, ask_post, accepts_post, 0);

bool notice_screen_cell_at(int x, int y, int* seat, int* slot) {
    const int dx = x - NOTICE_GRID_X, dy = y - NOTICE_GRID_Y;
    if (dx < 0 || dy < 0 || dx % NOTICE_CELL_STEP >= NOTICE_CELL_SIZE ||
        dy % NOTICE_CELL_STEP >= NOTICE_CELL_SIZE)
        return false;
    const int k = dx / NOTICE_CELL_STEP, s = dy / NOTICE_CELL_STEP;
    if (k >= NOTICE_SLOTS || s >= PLAYER_COUNT || s >= game_player_count) return false;
    *seat = s;
    *slot = k;
    return true;
}

void notice_screen_open(int player) {
    shown_record(Shown::Panel, NOTICE_PANEL_ENTRY, 0, "bulletin board");
    if (!gfx_display_open()) return;
    bw = BoardWindow{};
    bw.player = player;
    bw.open = true;
    bw.pictures = spr_read_set("PANEL.MKF", NOTICE_PANEL_ENTRY);
    bw.items = spr_read_set("PANEL.MKF", NOTICE_ITEM_PICTURES_ENTRY);
    show_board();
}

void notice_screen_close() {
    if (!bw.open) return;
    spr_free_set(bw.pictures);
    spr_free_set(bw.items);
    bw = BoardWindow{};
    board_repaint_all();
}

PRESENTER(notice_board_presenter, NoticeBoardPresenter{
                                      .open = notice_screen_open,
                                      .close = notice_screen_close,
                                  });

TOOLBAR_COMMAND(
    TOOLBAR_TRADE,
    [] {
        notice_visit();
        return true;
    },
    HK_TRADE)
