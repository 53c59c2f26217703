// The auction window and the bid buttons.
#include "finance/auction_screen.h"

#include <array>
#include <cstdio>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "engine/balloon.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "finance/auction.h"
#include "platform/clock.h"

namespace {

constexpr uint32_t TICK_MS = 100;
constexpr int TICKS_AFTER_A_BID = 6; // the choice stays in view before the next turn
constexpr int SOUND_GAVEL = 0, SOUND_BID = 1;
constexpr uint32_t INK = 0x101010, LIGHT = 0xF8F0D8, GOLD = 0xF8D040, DIM = 0x909090;

EffectListEntry auction_sounds[] = {{143, nullptr}, {144, nullptr}, {-1, nullptr}};

struct Window {
    bool open = false;
    void* set = nullptr;
    std::array<std::array<void*, AUCTION_BIDDER_PICTURES>, AUCTION_SEATS> pictures{};
    ImageRecord* saved = nullptr;
    int pause = 0;
    bool finishing = false;
    int hovered = -1, pressed = -1; // the bid buttons
    uint8_t cursor_mode = 0;
};
Window w;

const ImageRecord* frame(int n) {
    return popup_frame(w.set, n);
}

int row_y(int seat) {
    return AUCTION_ROW_Y0 + AUCTION_ROW_DY * seat;
}

void text_at(ImageRecord* back, const char* text, int x, int y, int align, int height,
             uint32_t rgb) {
    popup_font(height, rgb, INK, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, text, x, y, align);
}

void draw_button(ImageRecord* back, int choice, bool lit) {
    const PlatRect r = auction_button_rect(choice);
    if (const ImageRecord* f =
            frame((lit ? AUCTION_FRAME_BUTTON_LIT : AUCTION_FRAME_BUTTON) + choice))
        popup_blit(back, f, r.left, r.top, false);
}

// The picture of the property and its price plate.
void draw_property(ImageRecord* back) {
    if (const ImageRecord* f = frame(auction_picture_frame(auction_state.object)))
        popup_blit(back, f, AUCTION_PICTURE_X, AUCTION_PICTURE_Y, false);
    const int plate_y = AUCTION_PICTURE_Y + AUCTION_PLATE_DY;
    if (const ImageRecord* f = frame(AUCTION_FRAME_PLATE))
        popup_blit(back, f, AUCTION_PICTURE_X, plate_y, false);
    char price[32];
    std::snprintf(price, sizeof price, "%d元", auction_state.price);
    text_at(back, "标价：", AUCTION_PICTURE_X + 12, plate_y + 24, ALIGN_LEFT_MIDDLE, 20, LIGHT);
    text_at(back, price, AUCTION_PICTURE_X + 190, plate_y + 24, ALIGN_RIGHT_MIDDLE, 20, GOLD);
}

void draw_row(ImageRecord* back, int seat, int picture, bool active) {
    const PlatRect r = auction_row_rect(seat);
    const AuctionSeatView& seated = auction_seated[seat];
    if (seated.player == 0) return;
    const int p = seat_of_owner(seated.player);
    const int y = row_y(seat);
    if (const ImageRecord* f = frame(AUCTION_FRAME_ROW)) popup_blit(back, f, r.left, r.top, false);
    const int k = picture >= 0 && picture < AUCTION_BIDDER_PICTURES ? picture : 0;
    if (const ImageRecord* face = popup_frame(w.pictures[seat][k], 0))
        popup_blit(back, face, AUCTION_ROW_FACE_X, y, true);
    const bool bidding = auction_bidders[seat].player != 0;
    char line[48];
    text_at(back, player_name(p), r.left + 20, y - 24, ALIGN_LEFT_MIDDLE, 16, LIGHT);
    if (seated.state != SEAT_BIDDING && seated.state != SEAT_CANNOT_AFFORD) {
        text_at(back, auction_seat_reason(seated.state), r.left + 20, y + 2, ALIGN_LEFT_MIDDLE, 16,
                DIM);
    } else {
        std::snprintf(line, sizeof line, "%d元", player_table[p].cash);
        text_at(back, line, r.left + 20, y + 2, ALIGN_LEFT_MIDDLE, 16, bidding ? GOLD : DIM);
    }
    if (auction_state.leader == seat) {
        std::snprintf(line, sizeof line, "%d元", auction_state.price);
        text_at(back, line, r.left + 20, y + 26, ALIGN_LEFT_MIDDLE, 16, 0xFF8060);
    }
    if (!bidding)
        gfx_grey_rect(back, r.left, r.top, AUCTION_ROW_W, AUCTION_ROW_H);
    else if (auction_bidders[seat].state != 0)
        if (const ImageRecord* f = frame(AUCTION_FRAME_PASSED))
            popup_blit(back, f, r.left + 52, y + 26, true);
    if (active)
        if (const ImageRecord* f = frame(AUCTION_FRAME_MARKER))
            popup_blit(back, f, r.left + 3, y, true);
}

void draw_rows(ImageRecord* back) {
    for (int seat = 0; seat < AUCTION_SEATS; ++seat) {
        int picture = AUCTION_PICTURE_PLAIN;
        if (seat == auction_state.leader) picture = AUCTION_PICTURE_BIDDING;
        if (seat == auction_state.leader && auction_result() >= 0) picture = AUCTION_PICTURE_WINNER;
        draw_row(back, seat, picture, seat == auction_state.turn && auction_result() < 0);
    }
}

void draw_all() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x301818);
    if (const ImageRecord* f = frame(AUCTION_FRAME_WINDOW)) popup_blit(back, f, 0, 0, false);
    draw_property(back);
    for (int c = 0; c < AUCTION_CHOICES; ++c)
        draw_button(back, c, false);
    draw_rows(back);
    popup_unlock_back();
    popup_update(screen_rect);
}

// Redraws what a step may change: the price, the rows.
void draw_changes() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    draw_property(back);
    draw_rows(back);
    popup_unlock_back();
    popup_update({AUCTION_PICTURE_X, AUCTION_PICTURE_Y + AUCTION_PLATE_DY,
                  AUCTION_PICTURE_X + AUCTION_PICTURE_W,
                  AUCTION_PICTURE_Y + AUCTION_PLATE_DY + AUCTION_PLATE_H});
    popup_update({AUCTION_ROW_LEFT - 20, 0, SCREEN_W, SCREEN_H});
}

bool display_open() {
    if (!popup_lock_back()) return false;
    popup_unlock_back();
    return true;
}

void load(int bidders) {
    w = Window{};
    w.set = spr_read_set("PANEL.MKF", AUCTION_SET_ENTRY);
    for (int seat = 0; seat < AUCTION_SEATS; ++seat) {
        if (auction_seated[seat].player == 0) continue;
        const int c = player_table[seat_of_owner(auction_seated[seat].player)].character;
        for (int k = 0; k < AUCTION_BIDDER_PICTURES; ++k) {
            w.pictures[seat][k] =
                spr_read_set("PANEL.MKF", AUCTION_BIDDER_PICTURE_BASE + 3 * (c % 12) + k);
            auction_bidders[seat].pictures[k] = w.pictures[seat][k];
        }
    }
    snd_effects_load(auction_sounds);
    shown_record(Shown::Panel, AUCTION_SET_ENTRY, 0, bidders > 0 ? "auction" : "auction void");
}

void unload() {
    for (int seat = 0; seat < AUCTION_SEATS; ++seat)
        for (int k = 0; k < AUCTION_BIDDER_PICTURES; ++k) {
            spr_free_set(w.pictures[seat][k]);
            auction_bidders[seat].pictures[k] = nullptr;
        }
    spr_free_set(w.set);
    snd_effects_free(auction_sounds);
}

// ---------------------------------------------------------------------------
// The bid buttons: the DECIDE_AUCTION_BID window.

bool covers(int player, int32_t price, int choice) {
    if (choice < 1 || choice > AUCTION_RAISES) return true;
    return is_player_seat(player) &&
           int64_t{player_table[player].cash} >= int64_t{price} + auction_raise_steps[choice - 1];
}

void light_button(int choice, bool lit) {
    if (choice < 0) return;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    draw_button(back, choice, lit);
    popup_unlock_back();
    popup_update(auction_button_rect(choice));
}

int bid_player = -1;

int32_t bid_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        w.hovered = w.pressed = -1;
        return 0;
    case WM_MOUSEMOVE: {
        const int c = auction_button_at(mx, my);
        if (c == w.hovered) return 0;
        light_button(w.hovered, false);
        w.hovered = c;
        if (c >= 0) {
            light_button(c, true);
            snd_effect_play(&ui_effects[UI_HOVER], 0);
        }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const int c = auction_button_at(mx, my);
        if (c < 0) return 0;
        if (!covers(bid_player, auction_state.price, c)) {
            snd_effect_play(&ui_effects[UI_REFUSED], 0);
            return 0;
        }
        w.pressed = c;
        light_button(c, true);
        snd_effect_play(&auction_sounds[SOUND_BID], 0);
        return 0;
    }
    case WM_LBUTTONUP: {
        const int c = w.pressed;
        w.pressed = -1;
        if (c < 0) return 0;
        light_button(c, false);
        w.hovered = -1;
        if (auction_button_at(mx, my) == c) screen_close(c);
        return 0;
    }
    case WM_RBUTTONUP:
        // The right button is the pass: the window always has a way out.
        light_button(w.hovered, false);
        w.hovered = w.pressed = -1;
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        screen_close(AUCTION_PASS);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

int ask_bid(const DecisionRequest& r) {
    if (!w.open) return AUCTION_PASS;
    bid_player = r.player;
    const int c = screen_run(bid_wndproc, 0);
    bid_player = -1;
    return c;
}

bool accepts_bid(const DecisionRequest& r, int answer) {
    return answer >= 0 && answer < AUCTION_CHOICES && covers(r.player, r.amount, answer);
}

} // namespace

DECISION_KIND(DECIDE_AUCTION_BID, ask_bid, accepts_bid, AUCTION_PASS);

PlatRect auction_button_rect(int choice) {
    const int top = AUCTION_BUTTON_TOP + AUCTION_BUTTON_DY * choice;
    return {AUCTION_BUTTON_LEFT, top, AUCTION_BUTTON_RIGHT + 1, top + AUCTION_BUTTON_H};
}

int auction_button_at(int x, int y) {
    for (int c = 0; c < AUCTION_CHOICES; ++c) {
        const PlatRect r = auction_button_rect(c);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return c;
    }
    return -1;
}

PlatRect auction_row_rect(int seat) {
    const int top = AUCTION_ROW_Y0 + AUCTION_ROW_DY * seat - AUCTION_ROW_H / 2;
    return {AUCTION_ROW_LEFT, top, AUCTION_ROW_LEFT + AUCTION_ROW_W, top + AUCTION_ROW_H};
}

void auction_draw_bidder(int seat, int picture, int active) {
    if (seat < 0 || seat >= AUCTION_SEATS) return;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    draw_row(back, seat, picture, active != 0);
    popup_unlock_back();
    popup_update(auction_row_rect(seat));
}

int32_t auction_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        w.pause = 0;
        w.finishing = false;
        screen_timer_start(TICK_MS);
        return 0;
    case WM_TIMER: {
        if (!screen_timer_is_mine(wparam)) return 0;
        if (w.pause > 0) {
            --w.pause;
            return 0;
        }
        // Each line stays its two seconds and its voice; the next one
        // replaces it, so the last words stay in view while a human bids.
        if (balloon_shown_time() != 0 &&
            (plat_tick_count() - balloon_shown_time() < BALLOON_MIN_MS || snd_voice_playing()))
            return 0;
        if (w.finishing) {
            screen_timer_stop();
            screen_close(auction_result());
            return 0;
        }
        const bool a_turn = auction_state.step == AUCTION_STEP_TURN;
        const int before = auction_state.leader;
        const bool more = auction_step();
        draw_changes();
        if (auction_state.leader != before) snd_effect_play(&auction_sounds[SOUND_BID], 0);
        if (!more) {
            if (auction_result() >= 0) snd_effect_play(&auction_sounds[SOUND_GAVEL], 0);
            w.finishing = true;
        } else if (a_turn) {
            w.pause = TICKS_AFTER_A_BID;
        }
        return 0;
    }
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

int auction_screen_run(int bidders) {
    if (!display_open()) return AUCTION_NOT_SHOWN;
    load(bidders);
    w.open = true;
    w.cursor_mode = cursor_get_mode();
    w.saved = popup_save_area(screen_rect);
    balloon_set(frame(AUCTION_FRAME_BALLOON), AUCTION_BALLOON_X, AUCTION_BALLOON_Y, 0, 0, INK, 0);
    draw_all();
    cursor_set_mode(1);
    screen_run(auction_wndproc, bidders);
    // A window closed by the program's end leaves an unfinished chain: void.
    const int result = auction_result();
    balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY);
    balloon_reset();
    popup_restore_area(w.saved, 0, 0);
    w.saved = nullptr;
    if (w.cursor_mode != 1) cursor_set_mode(w.cursor_mode);
    w.open = false;
    unload();
    board_repaint_all();
    return result;
}

PRESENTER(auction_presenter, AuctionPresenter{auction_screen_run});
