// The points shop's window over the whole screen: the counter's goods slide
// in on the left, the clerk speaks in the middle, the player's own cards or
// items lie below, the points balance and the two buttons on the right.
// Every click becomes one of the shop decision's actions and is carried out
// by the shop's rules.
#include "finance/shop_screen.h"

#include <cstdio>
#include <cstdlib>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "cards/card_screen.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "engine/balloon.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "finance/shop.h"
#include "platform/queue.h"

namespace {

constexpr int BACKGROUND_ENTRY = 10; // frame 0 the card counter, 1 the item counter
constexpr int FRAMES_ENTRY = 11;     // the card window's frames, then the shop's
enum ShopFrame : int {
    F_GOODS_CARDS = 0, // the card and item panels the held goods are drawn into
    F_GOODS_ITEMS = 1,
    F_CARD_PANEL = 17,
    F_ITEM_PANEL = 18,
    F_CARD_CLERK = 19,
    F_ITEM_CLERK = 20,
    F_SWITCH_PRESSED = 21,
    F_LEAVE_PRESSED = 22,
    F_BALLOON = 23,
    F_ROW_LIT = 24,
};
constexpr int SHOP_MUSIC = 6;
constexpr uint32_t TIMER_MS = 30;
constexpr int PANEL_X = SHOP_PANEL_X, PANEL_Y = SHOP_PANEL_Y;
constexpr int PANEL_W = SHOP_PANEL_W, PANEL_H = SHOP_PANEL_H;
constexpr int SLIDE_SPEED = 30; // pixels of the first step; each step 3 fewer
constexpr int GOODS_X = 227, GOODS_Y = 293;
constexpr int CLERK_X = SHOP_CLERK_X, CLERK_Y = SHOP_CLERK_Y;
constexpr int BALLOON_X = SHOP_BALLOON_X, BALLOON_Y = SHOP_BALLOON_Y;
constexpr PlatRect POINTS_RECT = SHOP_POINTS_RECT;
constexpr PlatRect HOVER_RECT = SHOP_HOVER_RECT;
constexpr int NO_ACTION = -1;

// The shop's own effects: EFFECT.MKF 150 a purchase, 151 a sale, 152 the
// counter switched.
enum ShopSound : int { S_BUY = 0, S_SELL = 1, S_SWITCH = 2 };
constexpr int EFFECT_FIRST = 150;

struct Lines {
    const char* greeting;
    const char* ask;
    const char* farewell;
    const char* no_points;
    const char* full;
};
constexpr Lines CARD_LINES{"#0000有什么我能\n为你服务的吗？", "#0001请挑选你想要\n兑换的卡片。",
                           "#0004欢迎下次再来！", "#0002抱歉！\n你的点数不足！",
                           "#0003对不起！\n您的卡片栏已满！"};
constexpr Lines ITEM_LINES{"#0005欢迎光临\n道具店！", "#0006您要兑换\n什么道具？",
                           "#0010谢谢惠顾！", "#0007对不起，\n您的点卷不够！",
                           "#0008很抱歉！您的\n道具栏已满！"};

struct Window {
    void* background = nullptr;
    void* frames = nullptr;
    EffectListEntry effects[4] = {{EFFECT_FIRST, nullptr},
                                  {EFFECT_FIRST + 1, nullptr},
                                  {EFFECT_FIRST + 2, nullptr},
                                  {-1, nullptr}};
    int panel_x = PANEL_X;
    int speed = 0; // the slide's next step, 0 at rest
    int hovered = NO_ACTION;
    int pressed = 0; // the action of the button held down, 0 none
    bool leaving = false;
};
Window win;

const Lines& lines() {
    return shop_session.counter == SHOP_CARDS ? CARD_LINES : ITEM_LINES;
}

void sound(int s) {
    snd_effect_play(&win.effects[s], 0);
}

void put(ImageRecord* back, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(win.frames, frame)) popup_blit(back, f, x, y, true);
}

// The n-th kind held in item order, as the item grid lists them; 0 none.
int held_item_in_cell(int p, int cell) {
    for (int n = 1; n <= ITEM_KIND_COUNT; ++n)
        if (player_items[p][n - 1] > 0 && cell-- == 0) return n;
    return 0;
}

int goods_cell_at(int x, int y) {
    const PlatRect& g = SHOP_GOODS;
    if (x < g.left || x >= g.right - 1 || y < g.top || y >= g.bottom - 1) return -1;
    return (y - g.top) / CARD_CELL_H * CARD_CELL_COLUMNS + (x - g.left) / CARD_CELL_W;
}

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// ---------------------------------------------------------------------------
// Drawing

void draw_rows(ImageRecord* back) {
    const ShopSession& s = shop_session;
    const int dx = win.panel_x - PANEL_X;
    put(back, s.counter == SHOP_CARDS ? F_CARD_PANEL : F_ITEM_PANEL, win.panel_x, PANEL_Y);
    const int lit_row = win.hovered >= SHOP_BUY_ROW && win.hovered < SHOP_SELL_CARD
                            ? win.hovered - SHOP_BUY_ROW
                            : -1;
    char price[16];
    if (s.counter == SHOP_CARDS) {
        popup_font(16, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
        for (int i = 0; i < s.card_rows; ++i) {
            const int top = SHOP_CARD_ROWS.top + SHOP_CARD_ROW_H * i;
            if (i == lit_row && win.speed == 0) put(back, F_ROW_LIT, SHOP_CARD_ROWS.left, top);
            // A small card at the head of the row, coloured by its nastiness.
            constexpr uint32_t chips[3] = {0x40C070, 0xF0A030, 0xE04040};
            const CardDef& d = card_def(s.cards[i]);
            blit_fill_rect(back, 37 + dx, top + 4, 14, 16, 0xF0EBD8);
            blit_fill_rect(back, 39 + dx, top + 6, 10, 12, chips[d.level % 3]);
            popup_text(back, d.name, SHOP_CARD_NAME_X + dx, SHOP_CARD_NAME_Y + SHOP_CARD_ROW_H * i,
                       ALIGN_LEFT_TOP);
            std::snprintf(price, sizeof price, "$%d", d.price);
            popup_text(back, price, SHOP_CARD_PRICE_X + dx, SHOP_CARD_PRICE_Y + SHOP_CARD_ROW_H * i,
                       ALIGN_LEFT_TOP);
        }
        return;
    }
    popup_font(16, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
    for (int i = 0; i < s.item_rows; ++i) {
        const int mid = 92 + SHOP_ITEM_ROW_H * i;
        if (i == lit_row && win.speed == 0)
            put(back, F_ROW_LIT, SHOP_ITEM_ROWS.left, mid - SHOP_CARD_ROW_H / 2);
        const int n = s.items[i];
        put(back, n + 1, 44 + dx, mid); // the icon, hot spot at its centre
        popup_text(back, item_def(n).name, 70 + dx, mid, ALIGN_LEFT_MIDDLE);
        std::snprintf(price, sizeof price, "$%d", item_def(n).price);
        popup_text(back, price, 208 + dx, mid, ALIGN_RIGHT_MIDDLE);
    }
}

void draw_goods(ImageRecord* back) {
    const bool cards = shop_session.counter == SHOP_CARDS;
    const ImageRecord* frame = popup_frame(win.frames, cards ? F_GOODS_CARDS : F_GOODS_ITEMS);
    if (frame == nullptr) return;
    ImageRecord* composed = image_new(frame->width, frame->height, 0, 0);
    if (composed == nullptr) return;
    if (cards)
        card_draw_inventory(composed, win.frames, shop_session.player);
    else
        item_draw_list(composed, win.frames, shop_session.player);
    popup_blit(back, composed, GOODS_X, GOODS_Y, true);
    std::free(composed);
}

void draw_points(ImageRecord* back) {
    const ImageRecord* bg = popup_frame(win.background, shop_session.counter);
    if (bg != nullptr)
        popup_blit_part(back, bg, POINTS_RECT.left, POINTS_RECT.top, POINTS_RECT.left,
                        POINTS_RECT.top, POINTS_RECT.right - POINTS_RECT.left,
                        POINTS_RECT.bottom - POINTS_RECT.top);
    popup_font(16, 0xF8E070, 0x101010, TEXT_SHADOW, 1);
    popup_text(back, "点数", 588, 140, ALIGN_CENTRE);
    char text[16];
    std::snprintf(text, sizeof text, "%d", player_table[shop_session.player].points);
    popup_font(20, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
    popup_text(back, text, 588, 180, ALIGN_CENTRE);
}

// The name and price of the goods under the cursor.
void draw_hover(ImageRecord* back) {
    const ImageRecord* bg = popup_frame(win.background, shop_session.counter);
    if (bg != nullptr)
        popup_blit_part(back, bg, HOVER_RECT.left, HOVER_RECT.top, HOVER_RECT.left, HOVER_RECT.top,
                        HOVER_RECT.right - HOVER_RECT.left, HOVER_RECT.bottom - HOVER_RECT.top);
    const ShopSession& s = shop_session;
    const int a = win.hovered;
    const char* name = nullptr;
    int price = 0;
    const char* how = "兑换";
    if (a >= SHOP_BUY_ROW && a < SHOP_SELL_CARD) {
        const int row = a - SHOP_BUY_ROW;
        const CardDef& d =
            s.counter == SHOP_CARDS ? card_def(s.cards[row]) : item_def(s.items[row]);
        name = d.name;
        price = d.price;
    } else if (a >= SHOP_SELL_CARD && a < SHOP_SELL_ITEM) {
        const CardDef& d = card_def(player_cards[s.player][a - SHOP_SELL_CARD]);
        name = d.name;
        price = d.price * 9 / 10;
        how = "卖回";
    } else if (a > SHOP_SELL_ITEM) {
        const CardDef& d = item_def(a - SHOP_SELL_ITEM);
        name = d.name;
        price = d.price * 9 / 10;
        how = "卖回";
    }
    if (name == nullptr) return;
    char text[80];
    std::snprintf(text, sizeof text, "%s %s  %d点", how, name, price);
    popup_font(16, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
    popup_text(back, text, (HOVER_RECT.left + HOVER_RECT.right) / 2,
               (HOVER_RECT.top + HOVER_RECT.bottom) / 2, ALIGN_CENTRE);
}

// shop_draw_background: the counter's picture, its panel and goods, the
// clerk, the held goods and the balance.
void shop_draw_background() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    const ShopSession& s = shop_session;
    if (const ImageRecord* bg = popup_frame(win.background, s.counter))
        popup_blit(back, bg, 0, 0, false);
    else
        blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x303040);
    draw_rows(back);
    put(back, s.counter == SHOP_CARDS ? F_CARD_CLERK : F_ITEM_CLERK, CLERK_X, CLERK_Y);
    draw_goods(back);
    draw_points(back);
    draw_hover(back);
    if (win.pressed == SHOP_SWITCH + 1)
        put(back, F_SWITCH_PRESSED, SHOP_SWITCH_BUTTON.left, SHOP_SWITCH_BUTTON.top);
    if (win.pressed == SHOP_LEAVE + 1)
        put(back, F_LEAVE_PRESSED, SHOP_LEAVE_BUTTON.left, SHOP_LEAVE_BUTTON.top);
    popup_unlock_back();
    popup_update(screen_rect);
}

void say(const char* line) {
    balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY);
    balloon_show(line);
}

void start_slide() {
    win.speed = SLIDE_SPEED;
    int travel = 0;
    for (int v = SLIDE_SPEED; v > 0; v -= 3)
        travel += v;
    win.panel_x = PANEL_X - travel;
}

void redraw() {
    balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY);
    shop_draw_background();
}

// ---------------------------------------------------------------------------

void act(int action) {
    const ShopOutcome outcome = shop_apply_action(shop_session, action);
    if (action == SHOP_SWITCH) {
        sound(S_SWITCH);
        win.hovered = NO_ACTION;
        start_slide();
        redraw();
        say(lines().greeting);
        return;
    }
    switch (outcome) {
    case SHOP_NO_POINTS:
        snd_effect_play(&ui_effects[UI_REFUSED], 0);
        say(lines().no_points);
        return;
    case SHOP_FULL:
        snd_effect_play(&ui_effects[UI_REFUSED], 0);
        say(lines().full);
        return;
    case SHOP_REFUSED:
        snd_effect_play(&ui_effects[UI_REFUSED], 0);
        return;
    case SHOP_DONE:
        break;
    }
    sound(action < SHOP_SELL_CARD ? S_BUY : S_SELL);
    // What was sold may have been the goods under the cursor.
    if (!shop_action_valid(shop_session, win.hovered)) win.hovered = NO_ACTION;
    redraw();
    plat_post_message(WM_SHOP_POINTS, 0, 0);
}

int32_t shop_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        start_slide();
        shop_draw_background();
        screen_timer_start(TIMER_MS);
        plat_post_message(WM_SCREEN_READY, 0, 0);
        return 0;
    case WM_SCREEN_READY:
        say(lines().greeting);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        if (win.speed > 0) plat_post_message(WM_SHOP_SLIDE, 0, 0);
        if (win.leaving && balloon_hide(0) == 1) {
            screen_timer_stop();
            screen_close(SHOP_LEAVE);
        }
        return 0;
    case WM_SHOP_SLIDE:
        if (win.speed <= 0) return 0;
        win.panel_x += win.speed;
        win.speed -= 3;
        if (win.speed <= 0) win.panel_x = PANEL_X;
        {
            ImageRecord* back = popup_lock_back();
            if (back != nullptr) {
                const PlatRect area{0, PANEL_Y, PANEL_X + PANEL_W, PANEL_Y + PANEL_H};
                if (const ImageRecord* bg = popup_frame(win.background, shop_session.counter))
                    popup_blit_part(back, bg, area.left, area.top, area.left, area.top,
                                    area.right - area.left, area.bottom - area.top);
                draw_rows(back);
                popup_unlock_back();
                popup_update(area);
            }
        }
        if (win.speed <= 0) say(lines().ask);
        return 0;
    case WM_SHOP_HOVER: {
        ImageRecord* back = popup_lock_back();
        if (back == nullptr) return 0;
        draw_hover(back);
        if (win.speed == 0) draw_rows(back);
        popup_unlock_back();
        popup_update(HOVER_RECT);
        popup_update(PlatRect{0, PANEL_Y, PANEL_X + PANEL_W, PANEL_Y + PANEL_H});
        return 0;
    }
    case WM_SHOP_POINTS: {
        ImageRecord* back = popup_lock_back();
        if (back == nullptr) return 0;
        draw_points(back);
        popup_unlock_back();
        popup_update(POINTS_RECT);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (win.leaving) return 0;
        int a = shop_action_at(mx, my);
        if (a == SHOP_LEAVE || a == SHOP_SWITCH) a = NO_ACTION;
        if (a == win.hovered) return 0;
        win.hovered = a;
        if (a != NO_ACTION) snd_effect_play(&ui_effects[UI_HOVER], 0);
        plat_post_message(WM_SHOP_HOVER, 0, 0);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        if (win.leaving) return 0;
        const int a = shop_action_at(mx, my);
        if (a != SHOP_LEAVE && a != SHOP_SWITCH) return 0;
        win.pressed = a + 1;
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        shop_draw_background();
        return 0;
    }
    case WM_LBUTTONUP: {
        if (win.leaving) return 0;
        const int a = shop_action_at(mx, my);
        const int held = win.pressed;
        win.pressed = 0;
        if (held != 0) shop_draw_background();
        if (a == SHOP_LEAVE || a == SHOP_SWITCH) {
            if (held != a + 1) return 0; // a button counts when pressed and let go on it
        }
        if (a == NO_ACTION) return 0;
        if (a == SHOP_LEAVE) {
            snd_effect_play(&ui_effects[UI_CANCEL], 0);
            win.leaving = true;
            say(lines().farewell);
            return 0;
        }
        act(a);
        return 0;
    }
    case WM_RBUTTONUP:
        if (win.leaving) return 0;
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        win.leaving = true;
        say(lines().farewell);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

bool accepts_action(const DecisionRequest& r, int answer) {
    return r.player == shop_session.player && shop_action_valid(shop_session, answer);
}

} // namespace

DECISION_KIND(DECIDE_SHOP_ACTION, shop_window, accepts_action, SHOP_LEAVE);

int shop_row_at(int x, int y) {
    const ShopSession& s = shop_session;
    if (s.counter == SHOP_CARDS) {
        if (!inside(SHOP_CARD_ROWS, x, y)) return -1;
        const int row = (y - SHOP_CARD_ROWS.top) / SHOP_CARD_ROW_H;
        return row < s.card_rows ? row : -1;
    }
    if (!inside(SHOP_ITEM_ROWS, x, y)) return -1;
    const int row = (y - SHOP_ITEM_ROWS.top) / SHOP_ITEM_ROW_H;
    return row < s.item_rows ? row : -1;
}

int shop_action_at(int x, int y) {
    const ShopSession& s = shop_session;
    if (inside(SHOP_SWITCH_BUTTON, x, y)) return SHOP_SWITCH;
    if (inside(SHOP_LEAVE_BUTTON, x, y)) return SHOP_LEAVE;
    if (const int row = shop_row_at(x, y); row >= 0) return SHOP_BUY_ROW + row;
    const int cell = goods_cell_at(x, y);
    if (cell < 0 || !is_player_seat(s.player)) return NO_ACTION;
    if (s.counter == SHOP_CARDS)
        return player_cards[s.player][cell] != 0 ? SHOP_SELL_CARD + cell : NO_ACTION;
    const int n = held_item_in_cell(s.player, cell);
    return n != 0 ? SHOP_SELL_ITEM + n : NO_ACTION;
}

int shop_window(const DecisionRequest&) {
    shown_record(Shown::Panel, BACKGROUND_ENTRY, 0, "shop");
    if (popup_lock_back() == nullptr) return SHOP_LEAVE; // no display: nobody to click
    popup_unlock_back();
    win = Window{};
    win.background = spr_read_set("PANEL.MKF", BACKGROUND_ENTRY);
    win.frames = spr_read_set("PANEL.MKF", FRAMES_ENTRY);
    snd_effects_load(win.effects);
    balloon_set(popup_frame(win.frames, F_BALLOON), BALLOON_X, BALLOON_Y, 0, -7, 0x101010, 0);
    music_play_event(SHOP_MUSIC);
    screen_run(shop_wndproc, 0);
    balloon_reset();
    music_resume();
    snd_effects_free(win.effects);
    spr_free_set(win.background);
    spr_free_set(win.frames);
    win = Window{};
    board_repaint_all();
    return SHOP_LEAVE;
}
