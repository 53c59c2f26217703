// The magic house's two windows over the board: the house, where the host
// turns the condition wheel and the visitor picks a fate button, and the
// pick-a-player screen of a player giving up. Both run on a 100 ms timer.
#include "finance/magic_house_screen.h"

#include <algorithm>
#include <cstdlib>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "engine/balloon.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/music.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "finance/magic_house.h"
#include "platform/queue.h"

namespace {

constexpr int MAGIC_MUSIC = 7;
constexpr uint32_t TIMER_MS = 100;
constexpr int WHEEL_TICKS = 10; // 1 with the animations off

// EFFECT.MKF 153 the wheel's tick, 154 the spell.
enum MagicSound : int { S_TICK = 0, S_SPELL = 1 };

constexpr const char* INTRO[] = {"#0037进来魔法屋，就得\n完全照我的指示！",
                                 "#0038我选出符合条件的人。", "#0039你来决定他们的命运～"};
constexpr const char* YOUR_TURN = "#0040嘿～轮到你了！";
constexpr const char* SPELL = "#0041天灵灵地灵灵～";
constexpr const char* REVENGE_ASK = "#0042你想召唤死神，\n为你复仇吗？";
constexpr const char* REVENGE_WHO = "#0043你要死神附身在谁身上？";

enum Stage : int {
    INTRO_LINES, // the host's introduction, one line after another
    SPINNING,    // the wheel turns
    TELLING,     // the condition's line, then "your turn"
    CHOOSING,    // the buttons follow the mouse
    CASTING,     // the spell plays, then the window closes
};

struct Window {
    void* house = nullptr;
    void* wheel = nullptr;
    void* host = nullptr;
    void* faces = nullptr;
    EffectListEntry effects[3] = {{153, nullptr}, {154, nullptr}, {-1, nullptr}};
    ImageRecord* saved = nullptr; // the board under the window
    Stage stage = INTRO_LINES;
    int line = 0;  // introduction line shown
    int ticks = 0; // of the stage
    int condition = 0;
    int hovered = -1;
    int chosen = -1;    // the fate or face clicked
    bool told = false;  // "your turn" said
    bool quick = false; // as with the animations off: off, or the introduction cut short
    bool revenge = false;
    int count = 0; // revenge: faces
    int players[4] = {};
};
Window win;

void sound(int s) {
    snd_effect_play(&win.effects[s], 0);
}

void put(ImageRecord* back, const void* set, int frame, int x, int y) {
    if (const ImageRecord* f = popup_frame(set, frame)) popup_blit(back, f, x, y, true);
}

void say(const char* line) {
    balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY);
    balloon_show(line);
}

PlatRect fate_rect(int f) {
    const MagicFate& b = magic_fate_table[static_cast<size_t>(f)];
    return PlatRect{b.x, b.y, b.x + MAGIC_FATE_W, b.y + MAGIC_FATE_H};
}

// ---------------------------------------------------------------------------
// Drawing

void draw_button(ImageRecord* back, int f, bool lit) {
    const PlatRect r = fate_rect(f);
    const ImageRecord* frame = popup_frame(win.house, lit ? MAGIC_F_BUTTON_LIT : MAGIC_F_BUTTON);
    if (frame != nullptr)
        popup_blit(back, frame, r.left, r.top, true);
    else
        blit_fill_rect(back, r.left, r.top, MAGIC_FATE_W, MAGIC_FATE_H, lit ? 0xE0C040 : 0x604080);
    popup_font(16, lit ? 0x101010 : 0xFFFFFF, 0x101010, lit ? 0 : TEXT_SHADOW, 1);
    popup_text(back, magic_fate_table[static_cast<size_t>(f)].text, (r.left + r.right) / 2,
               (r.top + r.bottom) / 2, ALIGN_CENTRE);
}

void draw_wheel(ImageRecord* back) {
    const ImageRecord* house = popup_frame(win.house, MAGIC_F_HOUSE);
    const PlatRect& w = MAGIC_WHEEL_RECT;
    if (house != nullptr)
        popup_blit_part(back, house, w.left, w.top, w.left - LAYOUT_BOARD_AREA.left,
                        w.top - LAYOUT_BOARD_AREA.top, w.right - w.left, w.bottom - w.top);
    put(back, win.wheel, MAGIC_F_WHEEL + win.ticks % MAGIC_WHEEL_STEPS, MAGIC_WHEEL_CX,
        MAGIC_WHEEL_CY);
    if (win.stage >= TELLING)
        put(back, win.wheel, MAGIC_F_CONDITION + win.condition, MAGIC_WHEEL_CX, MAGIC_WHEEL_CY);
}

// magic_draw_panel: the house, the host, the wheel and the twelve buttons
// (or, for the pick-a-player screen, the faces).
void magic_draw_panel() {
    ImageRecord* back = popup_lock_back();
    if (back == nullptr) return;
    const PlatRect& a = LAYOUT_BOARD_AREA;
    if (const ImageRecord* house = popup_frame(win.house, MAGIC_F_HOUSE))
        popup_blit(back, house, a.left, a.top, false);
    else
        blit_fill_rect(back, a.left, a.top, a.right - a.left, a.bottom - a.top, 0x281838);
    put(back, win.host, MAGIC_F_HOST, MAGIC_HOST_X, MAGIC_HOST_Y);
    if (win.revenge && win.stage >= CHOOSING) {
        // The faces appear once the host has asked his two questions.
        for (int i = 0; i < win.count; ++i) {
            const PlatRect r = magic_face_rect(i, win.count);
            if (i == win.hovered)
                for (int k = 1; k <= 3; ++k)
                    blit_frame_rect(back, r.left - k, r.top - k, MAGIC_FACE_W + 2 * k,
                                    MAGIC_FACE_H + 2 * k, 0xF8D040);
            const int character = player_table[static_cast<size_t>(win.players[i])].character;
            put(back, win.faces, character, r.left, r.top);
        }
    } else if (!win.revenge) {
        draw_wheel(back);
        for (int f = 0; f < MAGIC_FATE_COUNT; ++f)
            draw_button(back, f, win.stage == CHOOSING && f == win.hovered);
    }
    if (win.stage == CASTING && win.ticks < MAGIC_SPELL_FRAMES)
        put(back, win.host, MAGIC_F_SPELL + win.ticks, MAGIC_SPELL_X, MAGIC_SPELL_Y);
    popup_unlock_back();
    popup_update(a);
}

void redraw_keeping_balloon() {
    // The balloon is taken away and put up again so it lies over the panel.
    const bool shown = balloon_shown_time() != 0;
    balloon_hide(BALLOON_HIDE_NO_COPY | (shown ? BALLOON_HIDE_NOW : 0));
    magic_draw_panel();
}

void close_with(int result) {
    screen_timer_stop();
    screen_close(result);
}

// ---------------------------------------------------------------------------
// The house

void start_spinning() {
    win.stage = SPINNING;
    win.ticks = 0;
    balloon_hide(BALLOON_HIDE_NOW);
}

void house_tick() {
    ++win.ticks;
    switch (win.stage) {
    case INTRO_LINES:
        if (balloon_hide(0) != 1) return;
        if (++win.line < 3) {
            say(INTRO[win.line]);
            return;
        }
        start_spinning();
        return;
    case SPINNING: {
        const int ticks = win.quick ? 1 : WHEEL_TICKS;
        sound(S_TICK);
        ImageRecord* back = popup_lock_back();
        if (back != nullptr) draw_wheel(back);
        popup_unlock_back();
        popup_update(MAGIC_WHEEL_RECT);
        if (win.ticks < ticks) return;
        win.stage = TELLING;
        win.ticks = 0;
        redraw_keeping_balloon();
        say(magic_condition_texts[static_cast<size_t>(win.condition)]);
        return;
    }
    case TELLING:
        if (win.quick) {
            win.stage = CHOOSING;
            return;
        }
        if (balloon_hide(0) != 1) return;
        say(YOUR_TURN);
        win.stage = CHOOSING;
        return;
    case CHOOSING:
        return;
    case CASTING:
        if (win.ticks <= MAGIC_SPELL_FRAMES) {
            magic_draw_panel();
            return;
        }
        if (balloon_hide(0) == 1) close_with(win.chosen);
        return;
    }
}

int32_t magic_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        magic_draw_panel();
        screen_timer_start(TIMER_MS);
        win.quick = !settings_animations();
        if (!win.quick) {
            win.stage = INTRO_LINES;
            say(INTRO[0]);
        } else {
            start_spinning();
        }
        return 0;
    case WM_TIMER:
        if (screen_timer_is_mine(wparam)) house_tick();
        return 0;
    case WM_MOUSEMOVE: {
        if (win.stage != CHOOSING) return 0;
        const int f = magic_fate_at(mx, my);
        if (f == win.hovered) return 0;
        ImageRecord* back = popup_lock_back();
        if (back != nullptr) {
            if (win.hovered >= 0) draw_button(back, win.hovered, false);
            if (f >= 0) draw_button(back, f, true);
        }
        popup_unlock_back();
        if (win.hovered >= 0) popup_update(fate_rect(win.hovered));
        if (f >= 0) {
            popup_update(fate_rect(f));
            snd_effect_play(&ui_effects[UI_HOVER], 0);
        }
        win.hovered = f;
        return 0;
    }
    case WM_LBUTTONUP: {
        if (win.stage != CHOOSING && win.stage != TELLING) return 0;
        const PlatRect& w = MAGIC_WHEEL_RECT;
        if (mx >= w.left && mx < w.right && my >= w.top && my < w.bottom) {
            say(magic_condition_texts[static_cast<size_t>(win.condition)]);
            return 0;
        }
        const int f = magic_fate_at(mx, my);
        if (win.stage != CHOOSING || f < 0) return 0;
        snd_effect_play(&ui_effects[UI_CONFIRM], 0);
        sound(S_SPELL);
        win.chosen = f;
        win.stage = CASTING;
        win.ticks = 0;
        say(SPELL);
        return 0;
    }
    case WM_RBUTTONUP:
        // Only the introduction can be cut short, and the rest then runs as
        // with the animations off; from the wheel on the visitor must choose.
        if (win.stage == INTRO_LINES) {
            win.quick = true;
            start_spinning();
        }
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------
// The pick-a-player screen

int32_t magic_revenge_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                              int32_t lparam) {
    const int mx = plat_point_x(lparam), my = plat_point_y(lparam);
    switch (message) {
    case WM_SCREEN_START:
        win.stage = INTRO_LINES;
        win.hovered = -1;
        magic_draw_panel();
        screen_timer_start(TIMER_MS);
        say(REVENGE_ASK);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        ++win.ticks;
        if (win.stage == INTRO_LINES && balloon_hide(0) == 1) {
            if (++win.line < 2) {
                say(REVENGE_WHO);
                return 0;
            }
            // The faces appear, the one under the pointer lit at once.
            win.stage = CHOOSING;
            int x = 0, y = 0;
            plat_get_cursor_pos(&x, &y);
            win.hovered = magic_face_at(x, y, win.count);
            magic_draw_panel();
        } else if (win.stage == CASTING) {
            if (win.ticks <= MAGIC_SPELL_FRAMES)
                magic_draw_panel();
            else if (balloon_hide(0) == 1)
                close_with(win.chosen);
        }
        return 0;
    case WM_MOUSEMOVE: {
        if (win.stage != CHOOSING) return 0;
        const int i = magic_face_at(mx, my, win.count);
        if (i == win.hovered) return 0;
        win.hovered = i;
        if (i >= 0) snd_effect_play(&ui_effects[UI_HOVER], 0);
        magic_draw_panel();
        return 0;
    }
    case WM_LBUTTONUP: {
        if (win.stage != CHOOSING) return 0;
        const int i = magic_face_at(mx, my, win.count);
        if (i < 0) return 0;
        snd_effect_play(&ui_effects[UI_CONFIRM], 0);
        sound(S_SPELL);
        win.chosen = win.players[i] + 1;
        win.stage = CASTING;
        win.ticks = 0;
        say(SPELL);
        return 0;
    }
    case WM_RBUTTONUP:
        // At any time, the closing spell too: the player names nobody.
        snd_effect_play(&ui_effects[UI_CANCEL], 0);
        close_with(0);
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

// ---------------------------------------------------------------------------

bool open_window(bool revenge) {
    if (popup_lock_back() == nullptr) return false;
    popup_unlock_back();
    win = Window{};
    win.revenge = revenge;
    win.saved = popup_save_area(LAYOUT_BOARD_AREA);
    win.house = spr_read_set("PANEL.MKF", MAGIC_HOUSE_ENTRY);
    if (!revenge) win.wheel = spr_read_set("PANEL.MKF", MAGIC_WHEEL_ENTRY);
    win.host = spr_read_set("PANEL.MKF", MAGIC_HOST_ENTRY);
    if (revenge) win.faces = spr_read_set(nullptr, MAGIC_FACES_ENTRY);
    snd_effects_load(win.effects);
    balloon_set(popup_frame(win.host, MAGIC_F_BALLOON), MAGIC_BALLOON_X, MAGIC_BALLOON_Y, 0, -7,
                0x101010, 0);
    music_play_event(MAGIC_MUSIC);
    return true;
}

void close_window() {
    balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY);
    balloon_reset();
    music_resume();
    snd_effects_free(win.effects);
    spr_free_set(win.house);
    spr_free_set(win.wheel);
    spr_free_set(win.host);
    spr_free_set(win.faces);
    popup_restore_area(win.saved, LAYOUT_BOARD_AREA.left, LAYOUT_BOARD_AREA.top);
    win = Window{};
    board_repaint_all();
}

bool accepts_fate(const DecisionRequest&, int answer) {
    return answer >= 0 && answer < MAGIC_FATE_COUNT;
}

bool accepts_target(const DecisionRequest& r, int answer) {
    if (answer == 0) return true;
    if (r.list == nullptr) return false;
    return std::find(r.list, r.list + r.list_count, answer - 1) != r.list + r.list_count;
}

} // namespace

DECISION_KIND(DECIDE_MAGIC_FATE, magic_window, accepts_fate, FATE_STAY);
DECISION_KIND(DECIDE_REVENGE_TARGET, magic_revenge_window, accepts_target, 0);

int magic_fate_at(int x, int y) {
    for (int f = 0; f < MAGIC_FATE_COUNT; ++f) {
        const PlatRect r = fate_rect(f);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return f;
    }
    return -1;
}

int magic_face_at(int x, int y, int count) {
    for (int i = 0; i < count; ++i) {
        const PlatRect r = magic_face_rect(i, count);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
    }
    return -1;
}

int magic_window(const DecisionRequest& r) {
    shown_record(Shown::Panel, MAGIC_HOUSE_ENTRY, 0, "magic house");
    if (r.object < 0 || r.object >= MAGIC_CONDITION_COUNT || !open_window(false)) return FATE_STAY;
    win.condition = r.object;
    const int fate = screen_run(magic_wndproc, 0);
    const bool chose = win.chosen >= 0;
    close_window();
    // A window closed from outside answers as the decision's cancel.
    return chose && fate >= 0 && fate < MAGIC_FATE_COUNT ? fate : FATE_STAY;
}

int magic_revenge_window(const DecisionRequest& r) {
    shown_record(Shown::Panel, MAGIC_HOUSE_ENTRY, 0, "revenge");
    if (r.list == nullptr || r.list_count < 1 || r.list_count > 3 || !open_window(true)) return 0;
    win.count = r.list_count;
    std::copy(r.list, r.list + r.list_count, win.players);
    const int target = screen_run(magic_revenge_wndproc, 0);
    close_window();
    return target;
}
