// A game played through the real program, headless, by scripted clicks: the
// human's card and item commands with their windows, pictures and the target
// picker; the computers' cards and items seen on the board; news and fate
// panels; the spinners and the choice dialogs met on the way. The test
// watches from the cursor's hook (called whenever the program takes messages
// or lets time pass, also inside modal screens), adds the next clicks as each
// stage comes up and writes a shot of each step into the working directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "board/board_panel_sets.h"
#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/view.h"
#include "cards/card_screen.h"
#include "cards/cards.h"
#include "cards/item_screen.h"
#include "cards/item_use.h"
#include "cards/news_deck.h"
#include "cards/news_screen.h"
#include "engine/cursor.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "finance/magic_house.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/surface.h"
#include "runner_game.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "support/human_session.h"
#include "support/scripted_session.h"

namespace {

constexpr int ITEM_ROADBLOCK = 2, ITEM_REMOTE = 8;
constexpr int REMOTE_FACE = 4;
constexpr int TARGET_FRAME = 12; // the cards' first target frame of the cursor
constexpr int SQUARE_FRAME = 0;  // the roadblock's target frame
constexpr int NO_TARGET_FRAME = 5;

struct Play : ScriptedSession {
    uint32_t seen_at = 0; // when the stage's picture was first seen
    std::vector<std::string> shots;
    // The human's card.
    bool card_window = false, card_window_cursor = false;
    bool card_picture = false, card_picker = false, card_effect = false;
    bool card_board_back = false, item_board_back = false; // windows gone, input back
    // The human's items.
    bool item_menu = false, item_menu_cursor = false, item_picker = false;
    bool roadblock_placed = false;
    int roadblock_square = 0;
    bool dice_window = false, dice_cursor = false, dice_thrown = false;
    // Met on the way.
    bool computer_card_flight = false, computer_card_picture = false;
    bool computer_item_flight = false, computer_item_film = false;
    bool news = false, fate = false, news_effect = false, fate_effect = false;
    size_t event_log_mark = 0; // the log's size when the last panel closed
    int panel_pending = 0;     // 1 news, 2 fate: waiting for its effect
    bool shoot_flight = false;
    bool shoot_film = false;
    uint32_t film_at = 0;
    int rob_stage = 0, rob_victim = -1, rob_card = 0, rob_copies = 0;
    bool thief_window = false, robbed = false;
    std::set<int> spins;    // the devices the human stopped: 0 the wheel, 1 the reels
    std::set<int> dialogs;  // decision kinds of the choice dialogs opened
    std::set<int> answered; // and closed by a click on a cell
    int dialog_open = -1;   // the dialog clicked, waiting for it to close
    size_t log_seen = 0;
    int questions = 0;
    bool settlement = false;      // the month-end screen is up
    bool settlement_seen = false; // shown over the board, hurried by clicks
    int human_turns = 0;
    uint32_t deep_since = 0; // a window nobody handles: right-clicked after a while
    int deep_tries = 0;      // answers given to the window up now
};
Play s;

void fail(const std::string& what) {
    session_fail(s, what);
}

void at(uint32_t delay, PlatScriptKind kind, int a = -1, int b = -1) {
    session_at(s, delay, kind, a, b);
}

void shot(const std::string& name) {
    const std::string file = "play_" + name + ".bmp";
    if (plat_surface_save_bmp(primary_surface, file.c_str())) s.shots.push_back(file);
}

uint16_t px(int x, int y) {
    return surface_pixel(primary_surface, x, y);
}

// Distinct colours in a rectangle of the display.
int colours(int left, int top, int right, int bottom) {
    std::set<uint16_t> seen;
    for (int y = top; y < bottom; y += 2)
        for (int x = left; x < right; x += 2)
            seen.insert(px(x, y));
    return static_cast<int>(seen.size());
}

// The colours of a card-sized panel whose corner is (left, top): a window
// drawn there shows its frame, its cells and what they hold.
int panel_colours(int left, int top) {
    return colours(left, top, left + CARD_PANEL_W, top + CARD_PANEL_H);
}

// The display shows the back buffer everywhere but under the cursor and the
// control box (both drawn on the display alone): a window that closed left
// nothing of itself behind.
bool display_is_back_buffer() {
    PlatRect cursor{0, 0, 0, 0};
    if (cursor_state.cursor_flags & CURSOR_DRAWN) cursor_get_rect(&cursor);
    const PlatRect box{board_box_x, board_box_y, board_box_x + BOX_W, board_box_y + BOX_H};
    const auto in = [](const PlatRect& r, int x, int y) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    };
    const int pitch = primary_surface->pitch / 2;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (primary_surface->pixels[y * pitch + x] != back_surface->pixels[y * pitch + x] &&
                !in(cursor, x, y) && !(board_input_enabled && in(box, x, y)))
                return false;
    return true;
}

bool human_waits() {
    return game_active_mover == 0 && board_input_enabled && screen_depth == 1;
}

int cursor_x() {
    int x, y;
    plat_get_cursor_pos(&x, &y);
    return x;
}
int cursor_y() {
    int x, y;
    plat_get_cursor_pos(&x, &y);
    return y;
}

// The centre of the card window's cell holding id.
bool card_cell(int id, int* x, int* y) {
    for (int c = 0; c < HOLDING_ROW; ++c)
        if (player_cards[0][c] == id) {
            *x = CARD_PANEL_X + CARD_GRID_DX + CARD_CELL_W * (c % CARD_CELL_COLUMNS) +
                 CARD_CELL_W / 2;
            *y = CARD_WINDOW_Y + CARD_GRID_DY + CARD_CELL_H * (c / CARD_CELL_COLUMNS) +
                 CARD_CELL_H / 2;
            return true;
        }
    return false;
}

// The centre of the item menu's cell of item n.
bool item_cell(int n, int* x, int* y) {
    for (int c = 0; c < ITEM_MENU_CELLS; ++c)
        if (item_menu_cells[static_cast<size_t>(c)] == n) {
            *x = ITEM_MENU_X + CARD_GRID_DX + CARD_CELL_W * (c % CARD_CELL_COLUMNS) +
                 CARD_CELL_W / 2;
            *y = ITEM_MENU_Y + CARD_GRID_DY + CARD_CELL_H * (c / CARD_CELL_COLUMNS) +
                 CARD_CELL_H / 2;
            return true;
        }
    return false;
}

// A point of the view on a path square with nobody and nothing on it, well
// inside its patch of the hit-test map.
bool free_square_point(int* px_out, int* py_out, int* square) {
    view_hitmap_build(1);
    for (int y = 120; y < 420; y += 4)
        for (int x = 60; x < 380; x += 4) {
            const int code = view_hitmap_at(x, y - VIEW_TOP);
            if (code <= OBJ_SQUARE_BASE || code >= OBJ_LOT_BASE || !map_square_valid(code))
                continue;
            if (map_square_table[code].flags & (SQF_GOD_MASK | 0xFF)) continue;
            bool patch = true;
            for (int d = -4; d <= 4 && patch; d += 4)
                patch = view_hitmap_at(x + d, y - VIEW_TOP) == code &&
                        view_hitmap_at(x, y + d - VIEW_TOP) == code;
            if (!patch) continue;
            *px_out = x, *py_out = y, *square = code;
            return true;
        }
    return false;
}

// What the log brought since the last look: the computers' cards and items,
// the news and fate panels and what followed them.
void read_log() {
    const std::vector<ShownEvent>& log = shown_log();
    for (; s.log_seen < log.size(); ++s.log_seen) {
        const ShownEvent& e = log[s.log_seen];
        const bool computer = game_active_mover != 0;
        if (computer && e.kind == Shown::Panel && e.text.rfind("flight", 0) == 0 && e.number == 0 &&
            !s.computer_card_flight) {
            s.computer_card_flight = true;
            s.shoot_flight = true; // on the next call, while the marker flies
        }
        if (computer && e.kind == Shown::Panel && e.number > CARD_PICTURE_BASE &&
            e.number <= CARD_PICTURE_BASE + 30)
            s.computer_card_picture = true;
        // An object put down flies from the computer to its square; a
        // missile's strike plays its film over the board.
        if (computer && e.kind == Shown::Panel && e.text.rfind("flight", 0) == 0 && e.number != 0)
            s.computer_item_flight = true;
        if (computer && e.kind == Shown::Flc && (e.number == 487 || e.number == 489) &&
            !s.computer_item_film) {
            s.computer_item_film = true;
            s.shoot_film = true; // a little later, the missile on its way
            s.film_at = plat_tick_count();
        }
        if (e.kind == Shown::Panel && e.text == "settlement") s.settlement = true;
        if (s.panel_pending && s.log_seen >= s.event_log_mark &&
            (e.kind == Shown::BoardRefresh || e.kind == Shown::Message || e.kind == Shown::Speech ||
             e.kind == Shown::Flc || e.kind == Shown::Flash)) {
            (s.panel_pending == 1 ? s.news_effect : s.fate_effect) = true;
            s.panel_pending = 0;
        }
    }
}

// A news or fate panel on the display: its picture and the board's toolbar
// covered; shot once each.
void watch_panels() {
    for (int code : events_take_shown()) {
        const bool is_fate = code >= FATE_SHOWN_BASE;
        if ((is_fate && s.fate) || (!is_fate && s.news)) continue;
        const int pic = colours(EVENT_PICTURE_X, EVENT_PICTURE_Y, EVENT_PICTURE_X + EVENT_PICTURE_W,
                                EVENT_PICTURE_Y + EVENT_PICTURE_H);
        const bool texts = shown_count(Shown::Panel, EVENT_PANEL_ENTRY) > 0;
        if (pic < 4 || !texts) {
            fail("the event panel's picture or text: " + std::to_string(pic) + " colours");
            continue;
        }
        shot(is_fate ? "fate_panel" : "news_panel");
        (is_fate ? s.fate : s.news) = true;
        s.panel_pending = is_fate ? 2 : 1;
        s.event_log_mark = shown_log().size();
    }
}

// After the scripted stages: the human plays every turn by clicks, yes to
// every question, the first cell of every dialog, stops every spin.
bool all_met();

int copies(int id) {
    return static_cast<int>(std::count(player_cards[0].begin(), player_cards[0].end(), id));
}

// A computer with cards standing in view away from the human: the point of
// its figure, where the hit-test map names its square's occupants with it
// first.
int robbable(int* x, int* y) {
    view_hitmap_build(1);
    for (int p = 1; p < PLAYER_COUNT; ++p) {
        if (player_table[p].control == CTRL_OUT || card_count(p) == 0 ||
            player_table[p].square == player_table[0].square)
            continue;
        if (!view_point_to_screen(player_table[p].x, player_table[p].y, x, y)) continue;
        *y -= 10;
        if (*x < 20 || *x >= 420 || *y < 60 || *y >= 460) continue;
        const int code = view_hitmap_at(*x, *y - VIEW_TOP);
        if ((code & OBJ_OCCUPANTS) && player_first_in_mask(code & 0xFF) == p) return p;
    }
    return -1;
}

// The rob card on a computer in view: the card window, the picker on the
// victim, then the thief's window with the victim's cards and items, whose
// first card the human takes.
bool rob() {
    const uint32_t now = plat_tick_count();
    const DecisionKind k = decision_last_kind();
    int x = 0, y = 0;
    switch (s.rob_stage) {
    case 0:
        // Last, so that the rest of the game is not changed by the card:
        // given once everything else was seen.
        if (!all_met() || !human_waits()) return false;
        if (!card_has(0, CARD_ROB) && !card_add(0, CARD_ROB)) return false;
        // Something to take: the computers may have played every card.
        for (int p = 1; p < PLAYER_COUNT; ++p)
            if (player_table[p].control != CTRL_OUT && card_count(p) == 0) card_add(p, CARD_STAY);
        if (robbable(&x, &y) < 0) return false;
        session_toolbar(s, 100, TOOLBAR_CARDS);
        s.rob_copies = copies(CARD_ROB);
        s.rob_stage = 1;
        return true;
    case 1:
        if (screen_depth != 2 || k != DECIDE_CARD_PICK) return true;
        if (!card_cell(CARD_ROB, &x, &y)) return false;
        session_click(s, 200, x, y);
        s.rob_stage = 2;
        return true;
    case 2:
        if (screen_depth != 2 || k != DECIDE_TARGET) return true;
        s.rob_victim = robbable(&x, &y);
        if (s.rob_victim < 0) {
            at(100, SCRIPT_RIGHT_UP); // the victim went out of view meanwhile
            s.rob_stage = 0;
            return true;
        }
        session_click(s, 100, x, y);
        s.rob_stage = 3;
        return true;
    case 3:
        if (screen_depth != 2 || k != DECIDE_THIEF_PICK) return true;
        if (s.seen_at == 0) s.seen_at = now;
        if (now - s.seen_at < 300) return true;
        s.seen_at = 0;
        s.rob_card = player_cards[s.rob_victim][0];
        s.thief_window = panel_colours(CARD_PANEL_X, CARD_THIEF_CARDS_Y) >= 3 &&
                         panel_colours(CARD_PANEL_X, CARD_THIEF_ITEMS_Y) >= 3;
        shot("thief_window");
        session_click(s, 100, CARD_PANEL_X + CARD_GRID_DX + CARD_CELL_W / 2,
                      CARD_THIEF_CARDS_Y + CARD_GRID_DY + CARD_CELL_H / 2);
        s.rob_stage = 4;
        return true;
    case 4:
        if (!human_waits()) return true;
        s.robbed = copies(CARD_ROB) == s.rob_copies - 1 && card_has(0, s.rob_card) &&
                   display_is_back_buffer();
        shot("robbed");
        s.rob_stage = 5;
        return true;
    default:
        return false;
    }
}

void autoplay() {
    const uint32_t now = plat_tick_count();
    const DecisionKind k = decision_last_kind();
    if (rob()) return;
    if (human_waits()) {
        ++s.human_turns;
        s.deep_since = 0;
        int gx, gy;
        board_go_button_point(&gx, &gy);
        at(100, SCRIPT_MOUSE_MOVE, gx, gy);
        at(150, SCRIPT_LEFT_DOWN);
        at(200, SCRIPT_LEFT_UP);
        return;
    }
    if (screen_depth < 2) {
        s.deep_since = 0;
        s.deep_tries = 0;
        s.settlement = false;
        if (s.dialog_open >= 0) s.answered.insert(s.dialog_open), s.dialog_open = -1;
        // A spin the human stops: the release is read during a tick.
        if (k == DECIDE_SPIN_STOP && decision_last_player() == 0 && game_active_mover == 0) {
            const int device = decision_last_object(); // 0 the wheel, 1 the reels
            if (!s.spins.count(device)) shot(device == 0 ? "spin_wheel" : "spin_reels");
            s.spins.insert(device);
            at(300, SCRIPT_LEFT_DOWN);
            at(350, SCRIPT_LEFT_UP);
        }
        return;
    }
    if (s.settlement) { // the month end: each click hurries a balloon or a pause
        if (!s.settlement_seen) shot("settlement");
        s.settlement_seen = true;
        at(400, SCRIPT_LEFT_DOWN);
        at(450, SCRIPT_LEFT_UP);
        return;
    }
    // A question's yes/no (the bank's deposit pad shows the pointer too).
    if (static_cast<int>(shown_count(Shown::Question)) > s.questions && cursor_get_mode() == 1 &&
        !numpad_open) {
        s.questions = static_cast<int>(shown_count(Shown::Question));
        at(200, SCRIPT_LEFT_DOWN);
        at(250, SCRIPT_LEFT_UP);
        return;
    }
    if ((k == DECIDE_FACILITY_KIND || k == DECIDE_FACILITY_KIND_CANCEL || k == DECIDE_PLAYER ||
         k == DECIDE_RESEARCH_SLOT) &&
        !s.dialogs.count(k) && cursor_x() == 220 && cursor_y() == 320) {
        if (s.seen_at == 0) s.seen_at = now;
        if (now - s.seen_at < 300) return;
        s.seen_at = 0;
        // The cursor is drawn where the dialog put the mouse.
        PlatRect box;
        cursor_get_rect(&box);
        if (cursor_get_mode() != 1 || !(cursor_state.cursor_flags & CURSOR_DRAWN) ||
            box.left > 220 || box.right <= 220 || box.top > 320 || box.bottom <= 320)
            fail("the dialog's cursor");
        shot("dialog_" + std::to_string(k));
        s.dialogs.insert(k);
        // A dialog asked right after another (a research institute raised
        // asks for its cell at once): the one before was answered.
        if (s.dialog_open >= 0) s.answered.insert(s.dialog_open);
        s.dialog_open = k;
        // A research institute built here asks for its item cell later.
        if (k == DECIDE_FACILITY_KIND) at(100, SCRIPT_MOUSE_MOVE, 50 + 68 * 4 + 34, 320);
        // The first research cell, the one every level offers.
        if (k == DECIDE_RESEARCH_SLOT) at(100, SCRIPT_MOUSE_MOVE, 67, 322);
        at(200, SCRIPT_LEFT_DOWN);
        at(250, SCRIPT_LEFT_UP);
        return;
    }
    if (s.deep_since == 0) s.deep_since = now;
    if (now - s.deep_since > 3000) { // a window the test does not know: closed
        s.deep_since = 0;
        s.dialog_open = -1;
        // The last decision asked may belong to a window already closed: an
        // answer by its geometry that left the window up is followed by the
        // right click every other window takes as its way out.
        if (++s.deep_tries % 2 == 0) {
            at(100, SCRIPT_RIGHT_DOWN);
            at(150, SCRIPT_RIGHT_UP);
            return;
        }
        // A facility's kind has no way out (the pointer may have left the
        // place the dialog put it on): a click on the park's cell.
        if (k == DECIDE_FACILITY_KIND) {
            s.dialog_open = k;
            at(100, SCRIPT_MOUSE_MOVE, 50 + 34, 320);
            at(150, SCRIPT_LEFT_DOWN);
            at(200, SCRIPT_LEFT_UP);
            return;
        }
        // The magic house cannot be left without a fate: the harmless stay.
        if (k == DECIDE_MAGIC_FATE) {
            const MagicFate& stay = magic_fate_table[FATE_STAY];
            at(100, SCRIPT_MOUSE_MOVE, stay.x + 10, stay.y + 10);
            at(150, SCRIPT_LEFT_DOWN);
            at(200, SCRIPT_LEFT_UP);
            return;
        }
        at(100, SCRIPT_RIGHT_DOWN);
        at(150, SCRIPT_RIGHT_UP);
    }
}

bool all_met() {
    return s.news && s.fate && s.news_effect && s.fate_effect && s.computer_card_flight &&
           s.computer_item_flight && s.computer_item_film && s.spins.size() == 2 &&
           s.answered.size() >= 3;
}

void director() {
    if (!primary_surface || !back_surface) return;
    const uint32_t now = plat_tick_count();
    if (s.shoot_flight) shot("computer_card_flight"), s.shoot_flight = false;
    if (s.shoot_film && now >= s.film_at + 300) shot("computer_missile"), s.shoot_film = false;
    read_log();
    watch_panels();
    if (s.stage < 100 && (now > 240u * 60u * 1000u || (s.stage == 20 && all_met() && s.robbed))) {
        if (s.stage != 20) fail("the scripted stages did not end");
        shot("end");
        s.stage = 100;
        at(10, SCRIPT_CLOSE);
        return;
    }
    if (now < s.next_at) {
        session_keep_alive();
        return;
    }
    switch (s.stage) {
    case 0: // the human's first turn: the item command
        if (human_waits()) {
            shot("board");
            session_toolbar(s, 100, TOOLBAR_ITEMS);
            s.stage = 6;
        }
        break;
    case 14: // the human's next turn: the card command
        if (human_waits()) {
            session_toolbar(s, 100, TOOLBAR_CARDS);
            s.stage = 1;
        } else {
            autoplay();
        }
        break;
    case 1: // the card window: the hand drawn, the cursor shown
        if (screen_depth == 2 && shown_find_text(Shown::Panel, "cards")) {
            s.card_window = panel_colours(CARD_PANEL_X, CARD_WINDOW_Y) >= 3;
            s.card_window_cursor =
                cursor_get_mode() == 1 && (cursor_state.cursor_flags & CURSOR_DRAWN);
            shot("card_window");
            int x = 0, y = 0;
            if (!card_cell(CARD_STAY, &x, &y)) fail("the stay card is not in the hand");
            session_click(s, 200, x, y);
            s.stage = 2;
        }
        break;
    case 2: // the card's picture under its caption
        if (shown_count(Shown::Panel, CARD_PICTURE_BASE + CARD_STAY) > 0) {
            if (s.seen_at == 0) s.seen_at = now;
            if (now - s.seen_at < 300) break;
            s.card_picture = colours(138 - 60, 200 - 80, 138 + 60, 200 + 80) >= 3 &&
                             shown_find_text(Shown::Panel, "使用") != nullptr;
            shot("card_picture");
            s.seen_at = 0;
            s.stage = 3;
        }
        break;
    case 3: // the picker: over the human's own figure the target frames show
        if (screen_depth == 2 && decision_last_kind() == DECIDE_TARGET) {
            int x, y;
            view_point_to_screen(player_table[0].x, player_table[0].y, &x, &y);
            at(100, SCRIPT_MOUSE_MOVE, x, y - 10);
            s.stage = 4;
        }
        break;
    case 4:
        s.card_picker = cursor_state.first == TARGET_FRAME && cursor_get_mode() == 1;
        shot("card_picker");
        at(100, SCRIPT_LEFT_DOWN);
        at(150, SCRIPT_LEFT_UP);
        s.stage = 5;
        break;
    case 5: // the effect: the card left the hand, the mover stays
        if (human_waits()) {
            s.card_effect = card_has(0, CARD_STAY) == 0 && player_table[0].stay_days == 0x80;
            s.card_board_back = display_is_back_buffer() && cursor_get_mode() == 1;
            shot("card_effect");
            s.stage = 20;
        }
        break;
    case 6: // the item menu
        if (screen_depth == 2 && shown_find_text(Shown::Panel, "item menu")) {
            s.item_menu = panel_colours(ITEM_MENU_X, ITEM_MENU_Y) >= 3;
            s.item_menu_cursor =
                cursor_get_mode() == 1 && (cursor_state.cursor_flags & CURSOR_DRAWN);
            shot("item_menu");
            int x = 0, y = 0;
            if (!item_cell(ITEM_ROADBLOCK, &x, &y)) fail("no roadblock in the menu");
            session_click(s, 200, x, y);
            s.stage = 7;
        }
        break;
    case 7: // the picker for the roadblock's square
        if (screen_depth == 2 && decision_last_kind() == DECIDE_TARGET) {
            int x, y;
            if (!free_square_point(&x, &y, &s.roadblock_square)) {
                fail("no free square in view");
                at(100, SCRIPT_RIGHT_UP);
                s.stage = 9;
                break;
            }
            at(100, SCRIPT_MOUSE_MOVE, x, y);
            s.stage = 8;
        }
        break;
    case 8:
        s.item_picker = cursor_state.first == SQUARE_FRAME && cursor_get_mode() == 1;
        shot("item_picker");
        at(100, SCRIPT_LEFT_DOWN);
        at(150, SCRIPT_LEFT_UP);
        s.stage = 9;
        break;
    case 9: // placed; the remote dice next
        if (human_waits()) {
            s.roadblock_placed = (map_square_table[s.roadblock_square].flags & SQF_GOD_MASK) != 0;
            s.item_board_back = display_is_back_buffer() && cursor_get_mode() == 1;
            shot("roadblock");
            session_toolbar(s, 100, TOOLBAR_ITEMS);
            s.stage = 10;
        }
        break;
    case 10:
        if (screen_depth == 2 && shown_count(Shown::Panel, 11) >= 2 &&
            decision_last_kind() == DECIDE_ITEM_PICK) {
            int x = 0, y = 0;
            if (!item_cell(ITEM_REMOTE, &x, &y)) fail("no remote dice in the menu");
            session_click(s, 200, x, y);
            s.stage = 11;
        }
        break;
    case 11: // the remote dice's window: the mouse put on it, a face lit
        if (screen_depth == 2 && shown_find_text(Shown::Panel, "remote dice")) {
            // The window puts the mouse on its faces when it starts.
            if (s.seen_at == 0) s.seen_at = now;
            if (now - s.seen_at < 200) break;
            s.seen_at = 0;
            s.dice_cursor = cursor_x() == 220 && cursor_y() == 320 && cursor_get_mode() == 1;
            at(100, SCRIPT_MOUSE_MOVE, 104 + 40 * (REMOTE_FACE - 1) + 15, 328);
            s.stage = 12;
        }
        break;
    case 12:
        s.dice_window = colours(92, 300, 348, 355) >= 2;
        shot("remote_dice");
        at(100, SCRIPT_LEFT_DOWN);
        at(150, SCRIPT_LEFT_UP);
        s.stage = 13;
        break;
    case 13: // the move starts with the face chosen
        if (shown_find_text(Shown::Panel, "dice ")) {
            const ShownEvent* e = nullptr;
            for (const ShownEvent& d : shown_log())
                if (d.kind == Shown::Panel && d.text.rfind("dice ", 0) == 0) e = &d;
            s.dice_thrown = e && std::atoi(e->text.c_str() + 5) == REMOTE_FACE;
            shot("dice_thrown");
            s.stage = 14;
        }
        break;
    case 20:
        autoplay();
        break;
    default:
        break;
    }
    session_keep_alive();
}

void hook() {
    cursor_serve_ticks();
    director();
}

void game_started() {
    shown_clear();
    settings_set_side_panel_layout(1);
    // Money enough that nobody leaves the game before every step was met,
    // and that the human buys and builds where he lands (the facility
    // dialogs), whatever the visits cost on the way.
    player_table[0].deposit = 5000000;
    player_table[0].cash = 5000000;
    // The hands, through the rules' own functions.
    card_add(0, CARD_STAY);
    card_add(0, CARD_SCAPEGOAT); // the scapegoat: a harm turned away asks for a player
    item_add(0, ITEM_ROADBLOCK);
    item_add(0, ITEM_REMOTE);
    for (int p = 1; p < PLAYER_COUNT; ++p) {
        player_table[p].deposit = 5000000;
        for (int id : {11, 12, 14, 16, 26, 28, 30})
            card_add(p, id);
        for (int n : {2, 3, 7})
            item_add(p, n);
    }
    (void)events_take_shown();
    plat_set_cursor_hook(hook);
}

} // namespace

TEST(PlayThrough, AHumanAndTheComputersPlayCardsItemsAndEventsThroughTheRealProgram) {
    s = Play{};
    RunnerOptions options;
    options.seed = 10;
    // Another seed, for finding one whose course meets every step after the
    // rules changed what the computers do.
    if (const char* seed = std::getenv("KARVO_PLAY_THROUGH_SEED"))
        options.seed = static_cast<uint32_t>(std::strtoul(seed, nullptr, 10));
    options.map = 0;
    options.players = 4;
    options.days = 200;
    options.animations = true;
    std::string error;
    const int status = session_run_human("play_through.txt", options, game_started, &error);
    ASSERT_EQ(status, 0) << error;
    for (const std::string& f : s.failures)
        ADD_FAILURE() << f;
    std::string shots;
    for (const std::string& f : s.shots)
        shots += f + " ";
    SCOPED_TRACE(shots);
    EXPECT_EQ(s.stage, 100);
    // The human's card: window (with the cursor), picture, picker, effect.
    EXPECT_TRUE(s.card_window);
    EXPECT_TRUE(s.card_window_cursor);
    EXPECT_TRUE(s.card_picture);
    EXPECT_TRUE(s.card_picker);
    EXPECT_TRUE(s.card_effect);
    EXPECT_TRUE(s.card_board_back);
    // The human's items: menu, picker, the roadblock, the remote dice.
    EXPECT_TRUE(s.item_menu);
    EXPECT_TRUE(s.item_menu_cursor);
    EXPECT_TRUE(s.item_picker);
    EXPECT_TRUE(s.roadblock_placed);
    EXPECT_TRUE(s.item_board_back);
    EXPECT_TRUE(s.dice_window);
    EXPECT_TRUE(s.dice_cursor);
    EXPECT_TRUE(s.dice_thrown);
    // The computers' cards and items on the board.
    EXPECT_TRUE(s.computer_card_flight);
    EXPECT_TRUE(s.computer_item_flight);
    EXPECT_TRUE(s.computer_item_film);
    // News and fate panels, then their effects.
    EXPECT_TRUE(s.news);
    EXPECT_TRUE(s.news_effect);
    EXPECT_TRUE(s.fate);
    EXPECT_TRUE(s.fate_effect);
    // A spin stopped by a click; the three choice dialogs answered by clicks.
    EXPECT_EQ(s.spins, (std::set<int>{0, 1}));
    // The rob card: the thief's window over the board, a card taken by a click.
    EXPECT_TRUE(s.thief_window) << "the rob reached step " << s.rob_stage << " with "
                                << int(card_stock[CARD_ROB - 1]) << " rob cards in the pool";
    EXPECT_TRUE(s.robbed);
    EXPECT_TRUE(s.settlement_seen);
    EXPECT_EQ(s.answered,
              (std::set<int>{DECIDE_FACILITY_KIND, DECIDE_RESEARCH_SLOT, DECIDE_PLAYER}));
}
