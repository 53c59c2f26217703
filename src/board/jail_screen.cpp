// The jail's and the hospital's bail screens over the whole screen. Both run
// on a 100 ms timer: it takes the balloons away when they have been read and
// moves the visit on; in the hospital it also drives the receptionist, who
// blinks and moves her mouth while her voice plays. A screen answers the
// cell clicked and closes; the rules (board/jail.cpp) ask, bail and show the
// rest of the visit through the presenter rows at the end of this file, each
// of which runs the same screen again while there is something to wait for.
#include "board/jail_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "engine/balloon.h"
#include "engine/cursor.h"
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
#include "engine/util.h"
#include "platform/clock.h"
#include "platform/queue.h"

namespace {

constexpr uint32_t TIMER_MS = 100;
constexpr int JAIL_TUNE = 15, HOSPITAL_TUNE = 16;
constexpr uint32_t DARK = 0x202020, WHITE = 0xFFFFFF, SHADOW = 0x101010;
constexpr int BLINK_CHANCE = 1024; // of 32768, each tick

// The receptionist's course through a hospital visit.
enum ClerkState : int {
    CLERK_START = 0,
    CLERK_GREETING = 1, // her greeting in the balloon
    CLERK_WAITING = 2,  // for the visitor's choice
    CLERK_ACCEPTED = 4, // she said yes; the bail follows the balloon
    CLERK_SHORT = 5,    // short of points
    CLERK_THANKS = 6,   // the freed character thanks the visitor
    CLERK_GOODBYE = 7,  // her goodbye, then the screen closes
};

struct Visit {
    bool open = false;    // the screen is up for a visit
    bool entered = false; // its procedure has started once
    int cursor = -1;      // the pointer's mode to give back at the close
    int hospital = 0;
    int visitor = -1;
    void* own = nullptr;         // the place's pictures
    void* freed = nullptr;       // the freed characters' pictures
    ImageRecord* work = nullptr; // the screen under the info box
    int boxed = -1;              // the person whose info box is up
    bool balloon = false;        // a balloon was put up and its end not yet taken
    bool bailed = false;
    int state = CLERK_START;
    int chosen = -1;
    ImageRecord* under_freed = nullptr; // the screen under a freed character's picture
    int under_x = 0, under_y = 0;
    int blink = 0;      // the blink's frame step, 0 none
    bool mouth = false; // her mouth is drawn open
    uint32_t looks = 1; // the looks' own generator: the game's never draws for them
};
Visit v;

int looks_rand() {
    v.looks = v.looks * 1103515245u + 12345u;
    return static_cast<int>((v.looks >> 16) & 0x7FFF);
}

int cell_x(int person) {
    return v.hospital ? HOSPITAL_CELL_X[person] : JAIL_CELL_X[person];
}
int cell_y(int person) {
    return v.hospital ? HOSPITAL_CELL_Y[person] : JAIL_CELL_Y[person];
}

int cost(int person) {
    return jail_cost(v.hospital, person);
}

void put(ImageRecord* back, const void* set, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(set, frame)) popup_blit(back, f, x, y, true);
}

// A rectangle of the place's background put back.
void background_part(ImageRecord* back, int x, int y, int w, int h) {
    if (const ImageRecord* bg = popup_frame(v.own, 0))
        popup_blit_part(back, bg, x, y, x, y, w, h);
    else
        blit_fill_rect(back, x, y, w, h, 0x303030);
}

void draw_points(ImageRecord* back) {
    const int x = v.hospital ? HOSPITAL_EXIT_X : JAIL_EXIT_X;
    const int y = v.hospital ? HOSPITAL_EXIT_Y : JAIL_EXIT_Y;
    background_part(back, x, y, BAIL_EXIT_W, BAIL_EXIT_H);
    put(back, v.own, v.hospital ? HOSPITAL_F_EXIT : JAIL_F_EXIT, x, y);
    char text[16];
    std::snprintf(text, sizeof text, "%d",
                  is_player_seat(v.visitor) ? player_table[v.visitor].points : 0);
    popup_font(20, WHITE, SHADOW, TEXT_SHADOW, 1);
    popup_text(back, text, v.hospital ? HOSPITAL_POINTS_X : JAIL_POINTS_X,
               v.hospital ? HOSPITAL_POINTS_Y : JAIL_POINTS_Y, ALIGN_RIGHT_MIDDLE);
}

void update_points() {
    ImageRecord* back = popup_lock_back();
    if (back != nullptr) draw_points(back);
    popup_unlock_back();
    const int x = v.hospital ? HOSPITAL_EXIT_X : JAIL_EXIT_X;
    const int y = v.hospital ? HOSPITAL_EXIT_Y : JAIL_EXIT_Y;
    popup_update(PlatRect{x, y, x + BAIL_EXIT_W, y + BAIL_EXIT_H});
}

// A held person's picture in his cell or bed.
void draw_person(ImageRecord* back, int person) {
    const int x = cell_x(person), y = cell_y(person);
    if (person < PLAYER_COUNT) {
        const int character = player_table[person].character;
        put(back, v.own, (v.hospital ? HOSPITAL_F_PORTRAIT : JAIL_F_PORTRAIT) + character, x, y);
    } else {
        put(back, v.own, (v.hospital ? HOSPITAL_F_CHARACTER : JAIL_F_CHARACTER) + person, x, y);
    }
    if (!v.hospital) put(back, v.own, JAIL_F_BARS, x, y);
}

// The cell of a person just freed, empty again.
void empty_cell(int person) {
    const int x = cell_x(person), y = cell_y(person);
    const int w = v.hospital ? HOSPITAL_CELL_W : JAIL_CELL_W;
    const int h = v.hospital ? HOSPITAL_CELL_H : JAIL_CELL_H;
    ImageRecord* back = popup_lock_back();
    if (back != nullptr) {
        background_part(back, x, y, w, h);
        if (!v.hospital) put(back, v.own, JAIL_F_EMPTY_CELL, x, y);
    }
    popup_unlock_back();
    popup_update(PlatRect{x, y, x + w, y + h});
}

// ---------------------------------------------------------------------------
// The info box over the cell under the mouse

PlatRect box_rect(int person) {
    const int x = cell_x(person), y = cell_y(person);
    const int w = v.work != nullptr ? v.work->width : 0, h = v.work != nullptr ? v.work->height : 0;
    if (v.hospital) return PlatRect{x + HOSPITAL_INFO_DX, y, x + HOSPITAL_INFO_DX + w, y + h};
    return PlatRect{x + JAIL_INFO_DX, y + JAIL_INFO_DY, x + JAIL_INFO_DX + w, y + JAIL_INFO_DY + h};
}

void hide_box() {
    if (v.boxed < 0) return;
    const PlatRect r = box_rect(v.boxed);
    v.boxed = -1;
    ImageRecord* back = popup_lock_back();
    if (back != nullptr && v.work != nullptr) popup_blit(back, v.work, r.left, r.top, false);
    popup_unlock_back();
    popup_update(r);
}

void show_box(int person) {
    hide_box();
    if (v.work == nullptr) return;
    const PlatRect r = box_rect(person);
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) {
        popup_unlock_back();
        return;
    }
    popup_blit_part(v.work, back, 0, 0, r.left, r.top, v.work->width, v.work->height);
    put(back, v.own, v.hospital ? HOSPITAL_F_INFO_BOX : JAIL_F_INFO_BOX, r.left, r.top);
    // The name, the caption and the cost, centred in the box's lines.
    const int cx = v.hospital ? r.left + 41 : cell_x(person) + 77;
    const int y0 = v.hospital ? cell_y(person) + 26 : cell_y(person) + 146;
    char price[16];
    std::snprintf(price, sizeof price, "%d点", cost(person));
    const std::string name = util_without_spaces(jail_person_name(person));
    popup_font(16, DARK, 0, 0, 1);
    popup_text(back, name.c_str(), cx, y0, ALIGN_CENTRE);
    popup_text(back, "保释点数", cx, y0 + 22, ALIGN_CENTRE);
    popup_text(back, price, cx, y0 + 44, ALIGN_CENTRE);
    popup_unlock_back();
    popup_update(r);
    v.boxed = person;
}

void hover(int x, int y) {
    const int person = jail_cell_at(v.hospital, x, y);
    if (person == v.boxed) return;
    if (person < 0) {
        hide_box();
        return;
    }
    snd_effect_play(&ui_effects[UI_HOVER], 0);
    show_box(person);
}

// ---------------------------------------------------------------------------
// Balloons

void say(int x, int y, const char* line) {
    balloon_hide(BALLOON_HIDE_NOW);
    balloon_set(popup_frame(v.own, v.hospital ? HOSPITAL_F_BALLOON : JAIL_F_BALLOON), x, y, 0, -7,
                DARK, 0);
    balloon_show(line);
    v.balloon = true;
}

void say_clerk(const char* line) {
    say(HOSPITAL_CLERK_BALLOON_X, HOSPITAL_CLERK_BALLOON_Y, line);
}

const char* thanks_line(int person) {
    return jail_thanks_lines[static_cast<size_t>(walker_index_of_mover(person))];
}

void close_with(int result) {
    screen_timer_stop();
    screen_close(result);
}

// The screen of the open visit runs until it closes: its answer is the
// person + 1 whose cell was clicked, 0 when the visitor leaves or what the
// screen waited for is over.
int32_t run_screen() {
    if (v.hospital) return screen_run(jail_hospital_bail_wndproc, 0);
    return screen_run(jail_bail_wndproc, 0);
}

// A freed character's picture, the jail's standing on its point.
void show_freed_in_jail(int person) {
    ImageRecord* back = popup_lock_back();
    if (back != nullptr) put(back, v.freed, person - MOVER_THIEF, JAIL_FREED_X, JAIL_FREED_Y);
    popup_unlock_back();
    if (const ImageRecord* f = popup_frame(v.freed, person - MOVER_THIEF)) {
        const int left = JAIL_FREED_X - f->hot_x, top = JAIL_FREED_Y - f->hot_y;
        popup_update(PlatRect{left, top, left + f->width, top + f->height});
    }
}

// ---------------------------------------------------------------------------
// The jail

// A click on a held person's cell answers with him.
int32_t jail_click(int x, int y) {
    if (v.balloon) {
        balloon_hide(BALLOON_HIDE_NOW);
        return 0;
    }
    if (v.bailed) return 0;
    const int person = jail_cell_at(0, x, y);
    if (person < 0) return 0;
    hide_box();
    close_with(person + 1);
    return 0;
}

} // namespace

void jail_bail_draw() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) {
        popup_unlock_back();
        return;
    }
    if (const ImageRecord* bg = popup_frame(v.own, JAIL_F_BACKGROUND))
        popup_blit(back, bg, 0, 0, false);
    else
        blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x303030);
    for (int person = 0; person < JAIL_PERSONS; ++person) {
        if (jail_held(0, person))
            draw_person(back, person);
        else
            put(back, v.own, JAIL_F_EMPTY_CELL, JAIL_CELL_X[person], JAIL_CELL_Y[person]);
    }
    draw_points(back);
    popup_unlock_back();
    popup_update(screen_rect);
}

int32_t jail_bail_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        // Started again for the next answer, it goes on where it was.
        if (v.entered) {
            screen_timer_start(TIMER_MS);
            return 0;
        }
        v.entered = true;
        v.boxed = -1;
        v.balloon = false;
        v.bailed = false;
        screen_timer_start(TIMER_MS);
        jail_bail_draw();
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        if (v.balloon && balloon_hide(0) == 1) {
            v.balloon = false;
            if (v.bailed) {
                close_with(0);
                return 0;
            }
            jail_bail_draw();
        }
        return 0;
    case WM_MOUSEMOVE:
        if (!v.balloon && !v.bailed) hover(mx, my);
        return 0;
    case WM_LBUTTONUP:
        return jail_click(mx, my);
    case WM_RBUTTONUP:
        balloon_hide(BALLOON_HIDE_NOW);
        v.balloon = false;
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        close_with(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// The hospital

namespace {

void draw_clerk(ImageRecord* back) {
    if (v.state == CLERK_GOODBYE)
        put(back, v.own, HOSPITAL_F_GOODBYE, HOSPITAL_GOODBYE_X, HOSPITAL_GOODBYE_Y);
    else
        put(back, v.own, HOSPITAL_F_RECEPTIONIST, HOSPITAL_CLERK_X, HOSPITAL_CLERK_Y);
}

// Where both of her poses may lie.
PlatRect clerk_area() {
    return PlatRect{
        std::min(HOSPITAL_CLERK_X, HOSPITAL_GOODBYE_X),
        std::min(HOSPITAL_CLERK_Y, HOSPITAL_GOODBYE_Y),
        std::max(HOSPITAL_CLERK_X + HOSPITAL_CLERK_W, HOSPITAL_GOODBYE_X + HOSPITAL_GOODBYE_W),
        std::max(HOSPITAL_CLERK_Y + HOSPITAL_CLERK_H, HOSPITAL_GOODBYE_Y + HOSPITAL_GOODBYE_H)};
}

// A part of her standing picture (her eyes or mouth) drawn as it is, or a
// frame of the same part over it.
void clerk_part(ImageRecord* back, const PlatRect& part, int frame) {
    const int x = HOSPITAL_CLERK_X + part.left, y = HOSPITAL_CLERK_Y + part.top;
    const ImageRecord* f = popup_frame(v.own, frame >= 0 ? frame : HOSPITAL_F_RECEPTIONIST);
    if (f == nullptr) return;
    if (frame >= 0)
        popup_blit(back, f, x, y, true);
    else
        popup_blit_part(back, f, x, y, part.left, part.top, part.right - part.left,
                        part.bottom - part.top);
}

void update_part(const PlatRect& part) {
    popup_update(PlatRect{HOSPITAL_CLERK_X + part.left, HOSPITAL_CLERK_Y + part.top,
                          HOSPITAL_CLERK_X + part.right, HOSPITAL_CLERK_Y + part.bottom});
}

// One tick of her face: a blink now and then, her mouth while she speaks.
void animate_clerk() {
    if (v.state == CLERK_START || v.state == CLERK_GOODBYE) return;
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) {
        popup_unlock_back();
        return;
    }
    if (v.blink == 0 && looks_rand() < BLINK_CHANCE) v.blink = 1;
    if (v.blink > 0) {
        if (v.blink <= HOSPITAL_BLINK_FRAMES) {
            clerk_part(back, HOSPITAL_EYES, HOSPITAL_F_BLINK + v.blink - 1);
            ++v.blink;
        } else {
            clerk_part(back, HOSPITAL_EYES, -1);
            v.blink = 0;
        }
        update_part(HOSPITAL_EYES);
    }
    if (snd_voice_playing()) {
        const int open = looks_rand() % (HOSPITAL_MOUTH_FRAMES + 1);
        clerk_part(back, HOSPITAL_MOUTH, -1);
        if (open > 0) clerk_part(back, HOSPITAL_MOUTH, HOSPITAL_F_MOUTH + open - 1);
        v.mouth = open > 0;
        update_part(HOSPITAL_MOUTH);
    } else if (v.mouth) {
        clerk_part(back, HOSPITAL_MOUTH, -1);
        v.mouth = false;
        update_part(HOSPITAL_MOUTH);
    }
    popup_unlock_back();
}

void to_waiting() {
    v.state = CLERK_WAITING;
    if (v.bailed) close_with(0);
}

// Her "OK" has been read: the chosen person leaves his bed, a character
// stands beside it and thanks; the screen then lets the bail be paid.
void leave_bed() {
    const int person = v.chosen;
    empty_cell(person);
    if (person < PLAYER_COUNT) {
        close_with(0);
        return;
    }
    if (const ImageRecord* f = popup_frame(v.freed, person - 2)) {
        v.under_x = HOSPITAL_FREED_RIGHT - f->width;
        v.under_y = HOSPITAL_FREED_BOTTOM - f->height;
        v.under_freed = popup_save_area(
            PlatRect{v.under_x, v.under_y, HOSPITAL_FREED_RIGHT, HOSPITAL_FREED_BOTTOM});
        ImageRecord* back = popup_lock_back();
        if (back != nullptr) popup_blit(back, f, v.under_x + f->hot_x, v.under_y + f->hot_y, true);
        popup_unlock_back();
        popup_update(PlatRect{v.under_x, v.under_y, HOSPITAL_FREED_RIGHT, HOSPITAL_FREED_BOTTOM});
    }
    say(HOSPITAL_THANKS_X, HOSPITAL_THANKS_Y, thanks_line(person));
    close_with(0);
}

void balloon_read() {
    switch (v.state) {
    case CLERK_GREETING:
    case CLERK_SHORT:
        to_waiting();
        return;
    case CLERK_ACCEPTED:
        leave_bed();
        return;
    case CLERK_THANKS:
        if (v.under_freed != nullptr) popup_restore_area(v.under_freed, v.under_x, v.under_y);
        v.under_freed = nullptr;
        to_waiting();
        return;
    case CLERK_GOODBYE:
        close_with(0);
        return;
    default:
        return;
    }
}

// A click on a patient's bed while she waits answers with him.
int32_t hospital_click(int x, int y) {
    if (v.state != CLERK_WAITING) {
        if (v.balloon) balloon_hide(BALLOON_HIDE_NOW);
        return 0;
    }
    const int person = jail_cell_at(1, x, y);
    if (person < 0) return 0;
    hide_box();
    close_with(person + 1);
    return 0;
}

void say_goodbye() {
    hide_box();
    v.state = CLERK_GOODBYE;
    v.blink = 0;
    v.mouth = false;
    const PlatRect a = clerk_area();
    ImageRecord* back = popup_lock_back();
    if (back != nullptr) {
        background_part(back, a.left, a.top, a.right - a.left, a.bottom - a.top);
        draw_clerk(back);
    }
    popup_unlock_back();
    popup_update(a);
    snd_effect_play(&ui_effects[UI_CANCEL], 0);
    say_clerk(HOSPITAL_GOODBYE);
}

} // namespace

void jail_hospital_bail_draw() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) {
        popup_unlock_back();
        return;
    }
    if (const ImageRecord* bg = popup_frame(v.own, HOSPITAL_F_BACKGROUND))
        popup_blit(back, bg, 0, 0, false);
    else
        blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x303030);
    for (int person = 0; person < JAIL_PERSONS; ++person)
        if (jail_held(1, person)) draw_person(back, person);
    draw_clerk(back);
    draw_points(back);
    popup_unlock_back();
    popup_update(screen_rect);
}

int32_t jail_hospital_bail_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                                   int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        // Started again for the next answer, it goes on where it was.
        if (v.entered) {
            screen_timer_start(TIMER_MS);
            return 0;
        }
        v.entered = true;
        v.boxed = -1;
        v.balloon = false;
        v.bailed = false;
        v.state = CLERK_START;
        jail_hospital_bail_draw();
        screen_timer_start(TIMER_MS);
        plat_post_message(WM_SCREEN_READY, 0, 0);
        return 0;
    case WM_SCREEN_READY:
        v.state = CLERK_GREETING;
        say_clerk(HOSPITAL_GREETING);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        animate_clerk();
        if (v.balloon && balloon_hide(0) == 1) {
            v.balloon = false;
            balloon_read();
        }
        return 0;
    case WM_MOUSEMOVE:
        if (v.state == CLERK_WAITING && !v.balloon) hover(mx, my);
        return 0;
    case WM_LBUTTONUP:
        return hospital_click(mx, my);
    case WM_RBUTTONUP:
        if (v.state == CLERK_WAITING) say_goodbye();
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

namespace {

bool accepts_cell(const DecisionRequest& r, int answer) {
    if (answer == 0) return true;
    if (r.list == nullptr) return false;
    return std::find(r.list, r.list + r.list_count, answer - 1) != r.list + r.list_count;
}

} // namespace

DECISION_KIND(DECIDE_BAIL_CELL, jail_bail_window, accepts_cell, 0);

int jail_cell_at(int hospital, int x, int y) {
    for (int person = 0; person < JAIL_PERSONS; ++person) {
        if (!jail_held(hospital, person)) continue;
        const int cx = hospital ? HOSPITAL_CELL_X[person] : JAIL_CELL_X[person];
        const int cy = hospital ? HOSPITAL_CELL_Y[person] : JAIL_CELL_Y[person];
        const int w = hospital ? HOSPITAL_CELL_W : JAIL_HIT_W;
        const int h = hospital ? HOSPITAL_CELL_H : JAIL_CELL_H;
        // The jail's cells take their far edges too.
        const bool in = hospital ? (x >= cx && x < cx + w && y >= cy && y < cy + h)
                                 : (x >= cx && x <= cx + w && y >= cy && y <= cy + h);
        if (in) return person;
    }
    return -1;
}

int jail_bail_window(const DecisionRequest&) {
    if (!v.open) return 0; // no display: nobody to click
    return run_screen();
}

namespace {

void open_screen(int hospital, int visitor) {
    shown_record(Shown::Panel, hospital ? HOSPITAL_PICTURES : JAIL_PICTURES, 0,
                 hospital ? "hospital bail" : "jail bail");
    if (popup_lock_back() == nullptr) { // no display
        popup_unlock_back();
        return;
    }
    popup_unlock_back();
    v = Visit{};
    v.open = true;
    // The visit comes in the middle of a move, which has the pointer off.
    v.cursor = cursor_show_for_clicks();
    v.hospital = hospital;
    v.visitor = visitor;
    v.looks = plat_tick_count() | 1;
    v.own = spr_read_set("PANEL.MKF", hospital ? HOSPITAL_PICTURES : JAIL_PICTURES);
    v.freed = spr_read_set("PANEL.MKF", hospital ? HOSPITAL_FREED : JAIL_FREED);
    if (hospital) {
        const ImageRecord* box = popup_frame(v.own, HOSPITAL_F_INFO_BOX);
        v.work = box != nullptr ? image_new(box->width, box->height, 0, 0) : nullptr;
    } else {
        v.work = image_new(JAIL_INFO_W, JAIL_INFO_H, 0, 0);
    }
    if (hospital)
        jail_hospital_bail_draw();
    else
        jail_bail_draw();
    music_play_event(hospital ? HOSPITAL_TUNE : JAIL_TUNE);
}

bool say_short_of_points() {
    if (!v.open) return false;
    snd_effect_play(&ui_effects[UI_REFUSED], 0);
    if (v.hospital) {
        v.state = CLERK_SHORT;
        say_clerk(JAIL_SHORT_OF_POINTS);
    } else {
        say(JAIL_SHORT_X, JAIL_SHORT_Y, JAIL_SHORT_OF_POINTS);
    }
    return true;
}

void accept_bail(int person) {
    if (!v.open) return;
    snd_effect_play(&ui_effects[UI_CONFIRM], 0);
    if (v.hospital) {
        v.chosen = person;
        v.state = CLERK_ACCEPTED;
        say_clerk(HOSPITAL_ACCEPTED);
        run_screen(); // until her OK is read and the bed is empty
        return;
    }
    empty_cell(person);
    if (person < PLAYER_COUNT) return;
    show_freed_in_jail(person);
    say(JAIL_THANKS_X, JAIL_THANKS_Y, thanks_line(person));
}

bool show_freed(int person) {
    if (!v.open) return false;
    v.bailed = true;
    // A player freed from the jail leaves it at once, his points untold.
    if (!v.hospital && person < PLAYER_COUNT) return true;
    update_points();
    if (person < PLAYER_COUNT) {
        v.state = CLERK_WAITING;
        return true;
    }
    if (v.hospital) v.state = CLERK_THANKS;
    run_screen(); // until the thanks are read
    return true;
}

void close_screen() {
    if (!v.open) return;
    balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY);
    balloon_reset();
    music_resume();
    std::free(v.under_freed);
    std::free(v.work);
    spr_free_set(v.own);
    spr_free_set(v.freed);
    const int cursor = v.cursor;
    v = Visit{};
    board_repaint_all();
    cursor_give_back(cursor);
}

} // namespace

PRESENTER(jail_presenter,
          JailPresenter{open_screen, say_short_of_points, accept_bail, show_freed, close_screen});
