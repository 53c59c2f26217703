// The new-game setup window: the scrolling darkened city, the character
// grid, the settings panel with its drop-down lists and map buttons, and the
// chosen characters running at the bottom. The rules of choosing live in
// shell/setup.cpp.
#include "shell/setup_screen.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/game_state.h"
#include "data/characters.h"
#include "engine/cursor.h"
#include "engine/data_report.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "engine/util.h"
#include "platform/queue.h"
#include "shell/new_game.h"
#include "shell/screen.h"
#include "shell/setup.h"
#include "shell/setup_layout.h"

namespace {

constexpr int PORTRAIT_ENTRY = 2; // data.mkf: the characters' portraits
constexpr int SETUP_EFFECT_ENTRY = 5;
constexpr uint32_t CHOOSING_MS = 100, SLIDE_MS = 50;
constexpr int TICKS_PER_SECOND = 10;
constexpr int SCROLL_STEP = 2;
constexpr const char* JUMP_ARCHIVE = "JUMP.MKF";
constexpr const char* WITHOUT_PICTURES = "the setup screen is drawn without its pictures";

// Spots in hit-test order.
enum Spot : int {
    SPOT_NONE = -1,
    SPOT_GRID = 0,
    SPOT_START = 1,
    SPOT_BACK = 2,
    SPOT_ARROW_FIRST = 3, // 3..8 the arrows of settings 0..5
    SPOT_MAP_FIRST = 9,   // 9..12 maps 0..3
};

const char* const CAPTIONS[6] = {"游戏人数", "总 资 金", "行进方式",
                                 "土地权限", "游戏时间", "胜利条件"};
const char* const PLAYER_WORDS[3] = {"二人", "三人", "四人"};
const char* const TRAVEL_WORDS[3] = {"步行", "机车", "汽车"};
const char* const LAND_WORDS[6] = {"永久持有", "二年", "一年", "六个月", "三个月", "一个月"};
const char* const LENGTH_WORDS[6] = {"无限期", "二年", "一年", "六个月", "三个月", "一个月"};

struct Screen {
    int jump = -1;                                // JUMP.MKF, open while the screen runs
    uint16_t* background = nullptr;               // the map's city, 640 x 480
    uint16_t* dark = nullptr;                     // the same darkened
    void* frames = nullptr;                       // JUMP.MKF 4
    void* portraits = nullptr;                    // data.mkf 2
    ImageRecord* grid = nullptr;                  // the grid with its portraits and marks
    ImageRecord* panel = nullptr;                 // the panel with its captions and values
    ImageRecord* buttons[4] = {};                 // start, back; start pressed, back pressed
    std::array<void*, CHARACTER_COUNT> sprites{}; // runners of the current travel mode
    int sprite_mode = -1;
    EffectListEntry effects[2] = {{SETUP_EFFECT_ENTRY, nullptr}, {-1, nullptr}};
    // The window's state.
    int pressed = SPOT_NONE;
    int hovered = -1;  // the hovered cell
    int list = -1;     // the open list's setting
    int list_row = -1; // its highlighted row
    int ticks = 0;     // timer ticks in the current phase
    int scroll = 0;    // the background's sideways offset in pixels
    int slide = 0, slide_speed = 0;
    int runner_x[PLAYER_COUNT] = {};
} s;

// ---- Pictures

void read_background() {
    std::free(s.background);
    s.background = nullptr;
    uint32_t size = 0;
    void* px = s.jump >= 0 ? mkf_read(s.jump, game_map, nullptr, &size) : nullptr;
    if (px && size >= static_cast<uint32_t>(JUMP_BACKGROUND_BYTES)) {
        s.background = static_cast<uint16_t*>(px);
    } else {
        std::free(px);
        if (s.jump >= 0)
            data_report_bad_entry(s.jump, JUMP_ARCHIVE, game_map, "a 640 x 480 picture",
                                  WITHOUT_PICTURES);
    }
    if (!s.dark) s.dark = static_cast<uint16_t*>(std::calloc(SCREEN_W * SCREEN_H, 2));
    if (!s.dark) return;
    if (s.background)
        gfx_brightness_run(s.dark, s.background, JUMP_BACKGROUND_BYTES, -16);
    else
        std::memset(s.dark, 0, JUMP_BACKGROUND_BYTES);
}

void* read_jump_set(int entry) {
    void* set = s.jump >= 0 ? mkf_read(s.jump, entry, nullptr, nullptr) : nullptr;
    if (set && spr_frame_count(set) == 0) {
        std::free(set);
        set = nullptr;
    }
    if (!set && s.jump >= 0)
        data_report_bad_entry(s.jump, JUMP_ARCHIVE, entry, "a picture set", WITHOUT_PICTURES);
    return set;
}

void free_sprites() {
    for (void*& set : s.sprites)
        spr_free_set(set);
    s.sprite_mode = -1;
}

// Every chosen runner's sprite for the travel mode chosen.
void load_runner_sprites() {
    const int mode = setup_choice[SETUP_TRAVEL];
    if (mode != s.sprite_mode) free_sprites();
    s.sprite_mode = mode;
    for (int k = 0; k < setup_rules.chosen; ++k) {
        SetupRunner& r = setup_runners[static_cast<size_t>(k)];
        const int c = static_cast<int>(r.character & 0xFF);
        if (c >= CHARACTER_COUNT) continue;
        void*& set = s.sprites[static_cast<size_t>(c)];
        if (!set) set = read_jump_set(JUMP_RUNNER_FIRST + 3 * c + mode);
        r.sprite = static_cast<FrameSet*>(set);
    }
}

void compose_grid() {
    if (!s.grid) s.grid = image_new(GRID_W, GRID_H, 0, 0);
    if (!s.grid) return;
    blit_fill_rect(s.grid, 0, 0, GRID_W, GRID_H, 0x283860);
    if (const ImageRecord* f = spr_frame(s.frames, SF_GRID)) blit_to_image(s.grid, f, 0, 0);
    text_set_font(14, 0xF0F0F0, 0x101010, TEXT_SHADOW | TEXT_BOLD, 1);
    for (int c = 0; c < CHARACTER_COUNT; ++c) {
        const PlatRect r = setup_cell_spot(c);
        const int x = r.left - GRID_X, y = r.top - GRID_Y;
        if (const ImageRecord* p = spr_frame(s.portraits, c)) blit_to_image(s.grid, p, x, y + 3);
        uint8_t& mark = character_state[static_cast<size_t>(c)];
        if (mark == CHAR_BEATEN) mark = CHAR_BEATEN_SHOWN;
        if (mark == CHAR_BEATEN_SHOWN) {
            gfx_grey_rect(s.grid, x, y, GRID_CELL, GRID_CELL);
            if (const ImageRecord* f = spr_frame(s.frames, SF_BEATEN))
                blit_key_to_image(s.grid, f, x + GRID_CELL / 2, y + GRID_CELL / 2);
        } else if (mark == CHAR_TAKEN) {
            gfx_brightness_rect(s.grid, x, y, GRID_CELL, GRID_CELL, -10);
            for (int k = 0; k < setup_rules.chosen; ++k)
                if (static_cast<int>(setup_runners[static_cast<size_t>(k)].character & 0xFF) == c) {
                    char seat[8];
                    std::snprintf(seat, sizeof seat, "%dP", k + 1);
                    text_draw(s.grid, seat, x + GRID_CELL / 2, y + GRID_CELL / 2, ALIGN_CENTRE);
                }
        }
    }
}

std::string money_text(int32_t value) {
    char buf[UTIL_THOUSANDS_BUF];
    util_format_thousands(buf, value);
    return buf;
}

// The text of row `row` of setting `setting`.
std::string value_text(int setting, int row) {
    switch (setting) {
    case SETUP_PLAYERS:
        return PLAYER_WORDS[row];
    case SETUP_MONEY:
        return money_text(setup_money_table[static_cast<size_t>(row)]);
    case SETUP_TRAVEL:
        return TRAVEL_WORDS[row];
    case SETUP_LAND_TERM:
        return LAND_WORDS[row];
    case SETUP_GAME_TIME:
        return LENGTH_WORDS[row];
    case SETUP_VICTORY: {
        const int32_t multiple = setup_victory_table[static_cast<size_t>(row)];
        if (multiple == 0) return "无限";
        return money_text(multiple *
                          setup_money_table[static_cast<size_t>(setup_choice[SETUP_MONEY])]);
    }
    default:
        return "";
    }
}

void compose_panel() {
    if (!s.panel) s.panel = image_new(PANEL_W, PANEL_H, 0, 0);
    if (!s.panel) return;
    blit_fill_rect(s.panel, 0, 0, PANEL_W, PANEL_H, 0xE0D8C0);
    if (const ImageRecord* f = spr_frame(s.frames, SF_PANEL)) blit_to_image(s.panel, f, 0, 0);
    if (const ImageRecord* mark = spr_frame(s.frames, SF_MAP_MARK))
        blit_key_to_image(s.panel, mark, SETUP_MAP_LEFT - PANEL_X + mark->hot_x,
                          setup_map_spot(setup_choice[SETUP_MAP]).top - PANEL_Y + mark->hot_y);
    for (int k = 0; k < 6; ++k) {
        text_set_font(15, 0xFFFFFF, 0x303030, TEXT_SHADOW, 1);
        text_draw(s.panel, CAPTIONS[k], SETUP_CAPTION_X, SETUP_CAPTION_Y[k], ALIGN_LEFT_TOP);
        text_set_font(14, 0x181818, 0x181818, 0, 1);
        text_draw(s.panel, value_text(k, setup_choice[static_cast<size_t>(k)]).c_str(),
                  SETUP_VALUE_RIGHT, SETUP_CAPTION_Y[k] + 1, ALIGN_RIGHT_TOP);
    }
}

void cut_buttons() {
    const PlatRect spots[2] = {SETUP_START_SPOT, SETUP_BACK_SPOT};
    for (int b = 0; b < 2; ++b) {
        const PlatRect& r = spots[b];
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (const ImageRecord* panel = spr_frame(s.frames, SF_PANEL))
            s.buttons[b] = image_copy_rect(panel, nullptr, r.left - PANEL_X, r.top - PANEL_Y, w, h);
        if (const ImageRecord* strip = spr_frame(s.frames, SF_PRESSED))
            s.buttons[2 + b] = image_copy_rect(strip, nullptr, r.left - PANEL_X,
                                               r.top - PANEL_Y - SETUP_BUTTON_ROW_Y, w, h);
    }
}

// ---- Drawing the whole screen

void draw_background(ImageRecord* back) {
    if (!s.dark) return;
    const int off = s.scroll;
    for (int y = 0; y < SCREEN_H; ++y) {
        uint16_t* row = back->pixels + y * SCREEN_W;
        const uint16_t* src = s.dark + y * SCREEN_W;
        std::memcpy(row, src + off, static_cast<size_t>(SCREEN_W - off) * 2);
        std::memcpy(row + SCREEN_W - off, src, static_cast<size_t>(off) * 2);
    }
}

void draw_hover(ImageRecord* back) {
    if (s.hovered < 0 || character_state[static_cast<size_t>(s.hovered)] != CHAR_FREE) return;
    const PlatRect r = setup_cell_spot(s.hovered);
    const int dx = -s.slide;
    gfx_brightness_rect(back, r.left + dx, r.top, GRID_CELL, GRID_CELL, 6);
    if (const ImageRecord* lit = spr_frame(s.frames, SF_CELL_LIT))
        popup_blit(back, lit, r.left + dx + lit->hot_x, r.top + lit->hot_y, true);
    // The name on a darkened strip under a top-row cell, above a bottom-row one.
    constexpr int STRIP_H = 22, STRIP_W = GRID_CELL + 24;
    const bool top_row = s.hovered < GRID_COLUMNS;
    const int sy = top_row ? r.bottom : r.top - STRIP_H;
    const int sx = std::clamp(r.left + dx - 12, 0, SCREEN_W - STRIP_W);
    gfx_brightness_rect(back, sx, sy, STRIP_W, STRIP_H, -14);
    text_set_font(16, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
    text_draw(back, character_name(s.hovered), sx + STRIP_W / 2, sy + STRIP_H / 2, ALIGN_CENTRE);
}

void draw_list(ImageRecord* back) {
    if (s.list < 0) return;
    const PlatRect& r = SETUP_LISTS[s.list];
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (const ImageRecord* paper = spr_frame(s.frames, SF_LIST))
        popup_blit_part(back, paper, r.left, r.top, 0, 0, std::min<int>(w, paper->width),
                        std::min<int>(h, paper->height));
    else
        blit_fill_rect(back, r.left, r.top, w, h, 0xF8F4E0);
    blit_frame_rect(back, r.left - 1, r.top - 1, w + 2, h + 2, 0x202020);
    for (int row = 0; row < setup_choice_rows(s.list); ++row) {
        const int y = r.top + SETUP_LIST_ROW_H * row;
        const bool lit = row == s.list_row;
        if (lit) blit_fill_rect(back, r.left, y, w, SETUP_LIST_ROW_H, 0x3050A0);
        text_set_font(14, lit ? 0xFFFFFF : 0x181818, 0x181818, 0, 1);
        text_draw(back, value_text(s.list, row).c_str(), r.right - 4, y + SETUP_LIST_ROW_H / 2,
                  ALIGN_RIGHT_MIDDLE);
    }
}

void draw_runners(ImageRecord* back) {
    for (int k = 0; k < setup_rules.chosen; ++k) {
        const SetupRunner& r = setup_runners[static_cast<size_t>(k)];
        const int count = spr_frame_count(r.sprite);
        if (count == 0) continue;
        popup_blit(back, spr_frame(r.sprite, r.frame % count), s.runner_x[k], SETUP_RUNNER_GROUND,
                   true);
    }
}

void draw_screen() {
    ImageRecord* back = popup_lock_back();
    if (back) {
        draw_background(back);
        if (s.grid) popup_blit(back, s.grid, GRID_X - s.slide, GRID_Y, false);
        if (s.panel) popup_blit(back, s.panel, PANEL_X + s.slide, PANEL_Y, false);
        const PlatRect spots[2] = {SETUP_START_SPOT, SETUP_BACK_SPOT};
        for (int b = 0; b < 2; ++b) {
            const bool down = s.pressed == SPOT_START + b;
            if (ImageRecord* pic = s.buttons[down ? 2 + b : b])
                popup_blit(back, pic, spots[b].left + s.slide, spots[b].top, false);
        }
        if (s.pressed >= SPOT_ARROW_FIRST && s.pressed < SPOT_MAP_FIRST)
            if (const ImageRecord* arrow = spr_frame(s.frames, SF_ARROW))
                popup_blit(back, arrow, SETUP_ARROW_LEFT + arrow->hot_x,
                           setup_arrow_spot(s.pressed - SPOT_ARROW_FIRST).top + arrow->hot_y, true);
        if (setup_rules.phase == SETUP_CHOOSING) {
            draw_hover(back);
            draw_list(back);
        }
        draw_runners(back);
    }
    popup_unlock_back();
    popup_update(screen_rect);
}

void redraw_all() {
    compose_grid();
    compose_panel();
    draw_screen();
}

// ---- Input

bool inside(const PlatRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int spot_at(int x, int y) {
    if (inside(SETUP_GRID_SPOT, x, y)) return SPOT_GRID;
    if (inside(SETUP_START_SPOT, x, y)) return SPOT_START;
    if (inside(SETUP_BACK_SPOT, x, y)) return SPOT_BACK;
    for (int k = 0; k < 6; ++k)
        if (inside(setup_arrow_spot(k), x, y)) return SPOT_ARROW_FIRST + k;
    for (int m = 0; m < 4; ++m)
        if (inside(setup_map_spot(m), x, y)) return SPOT_MAP_FIRST + m;
    return SPOT_NONE;
}

int cell_at(int x, int y) {
    if (!inside(SETUP_GRID_SPOT, x, y)) return -1;
    const int c = (x - GRID_CELL_X) / GRID_CELL + GRID_COLUMNS * ((y - GRID_CELL_Y) / GRID_CELL);
    return c < CHARACTER_COUNT ? c : -1;
}

int list_row_at(int x, int y) {
    if (s.list < 0 || !inside(SETUP_LISTS[s.list], x, y)) return -1;
    const int row = (y - SETUP_LISTS[s.list].top) / SETUP_LIST_ROW_H;
    return row < setup_choice_rows(s.list) ? row : -1;
}

void mouse_move(int x, int y) {
    if (s.list >= 0) {
        const int row = list_row_at(x, y);
        if (row != s.list_row) {
            s.list_row = row;
            draw_screen();
        }
        return;
    }
    const int cell = cell_at(x, y);
    if (cell == s.hovered) return;
    s.hovered = cell;
    if (cell >= 0 && character_state[static_cast<size_t>(cell)] == CHAR_FREE)
        snd_effect_play(&ui_effects[UI_HOVER], 0);
    draw_screen();
}

void close_list() {
    s.list = -1;
    s.list_row = -1;
}

void left_down(int x, int y) {
    if (s.list >= 0) {
        const int row = list_row_at(x, y);
        if (row >= 0 && setup_set_choice(s.list, row)) load_runner_sprites();
        close_list();
        redraw_all();
        return;
    }
    const int spot = spot_at(x, y);
    if (spot == SPOT_GRID) {
        if (setup_grid_click(cell_at(x, y))) {
            snd_effect_play(&ui_effects[UI_PRESS], 0);
            load_runner_sprites();
            redraw_all();
        }
    } else if (spot == SPOT_START || spot == SPOT_BACK) {
        s.pressed = spot;
        snd_effect_play(&ui_effects[spot == SPOT_START ? UI_CONFIRM : UI_CANCEL], 0);
        draw_screen();
    } else if (spot >= SPOT_MAP_FIRST) {
        if (!setup_choose_map(spot - SPOT_MAP_FIRST)) return;
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        read_background();
        redraw_all();
    } else if (spot >= SPOT_ARROW_FIRST) {
        s.pressed = spot;
        snd_effect_play(&ui_effects[UI_HOVER], 0);
        draw_screen();
    }
}

void leave(int result) {
    cursor_set_mode(0);
    screen_timer_stop();
    screen_close(result);
}

void start_picks() {
    setup_rules.phase = SETUP_COMPUTER_PICKS;
    s.ticks = 0;
    s.hovered = -1;
    close_list();
    cursor_set_mode(0);
}

void left_up() {
    const int pressed = s.pressed;
    s.pressed = SPOT_NONE;
    if (pressed == SPOT_START) {
        if (setup_rules.chosen > 0) start_picks();
    } else if (pressed == SPOT_BACK) {
        leave(0);
        return;
    } else if (pressed >= SPOT_ARROW_FIRST && pressed < SPOT_MAP_FIRST) {
        s.list = pressed - SPOT_ARROW_FIRST;
        s.list_row = -1;
    }
    if (pressed != SPOT_NONE) draw_screen();
}

// ---- The timer

void advance_runners() {
    for (int k = 0; k < setup_rules.chosen; ++k)
        ++setup_runners[static_cast<size_t>(k)].frame;
}

void tick_choosing() {
    if (setup_rules.continuing && ++s.ticks == TICKS_PER_SECOND) {
        // The campaign goes on by itself: start pressed and let go.
        s.pressed = SPOT_START;
        snd_effect_play(&ui_effects[UI_CONFIRM], 0);
        left_up();
    }
}

void tick_picks() {
    if (++s.ticks % TICKS_PER_SECOND != 0) return;
    // Nobody left to take: the game is played by those chosen, if enough.
    if (!setup_all_chosen() && setup_free_count() == 0 && !setup_play_with_the_chosen())
        return leave(0);
    if (setup_all_chosen()) {
        setup_rules.phase = SETUP_SLIDE_OUT;
        s.ticks = 0;
        s.slide_speed = 2;
        screen_timer_start(SLIDE_MS);
        snd_effect_play(&s.effects[0], 0);
        return;
    }
    if (setup_computer_pick() >= 0) {
        snd_effect_play(&ui_effects[UI_PRESS], 0);
        load_runner_sprites();
        compose_grid();
    }
}

void tick_slide() {
    s.slide += s.slide_speed;
    s.slide_speed += 2;
    bool all_gone = true;
    for (int k = 0; k < setup_rules.chosen; ++k) {
        s.runner_x[k] += 4 + s.slide_speed;
        const ImageRecord* f = spr_frame(setup_runners[static_cast<size_t>(k)].sprite, 0);
        const int left = s.runner_x[k] - (f ? f->hot_x : 0);
        if (left < SCREEN_W) all_gone = false;
    }
    if (all_gone) leave(1);
}

} // namespace

int32_t setup_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    const int x = plat_point_x(lparam), y = plat_point_y(lparam);
    const bool choosing = setup_rules.phase == SETUP_CHOOSING && !setup_rules.continuing;
    switch (message) {
    case WM_SCREEN_START:
        setup_rules.phase = SETUP_CHOOSING;
        s.pressed = SPOT_NONE;
        s.hovered = -1;
        close_list();
        s.ticks = 0;
        setup_lower_player_count();
        for (int k = 0; k < PLAYER_COUNT; ++k)
            s.runner_x[k] = SETUP_RUNNER_FIRST_X + SETUP_RUNNER_STEP_X * k;
        load_runner_sprites();
        redraw_all();
        cursor_set_mode(setup_rules.continuing ? 0 : 1);
        screen_timer_start(CHOOSING_MS);
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(window, message, wparam, lparam);
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        s.scroll = (s.scroll + SCROLL_STEP) % SCREEN_W;
        advance_runners();
        if (setup_rules.phase == SETUP_CHOOSING)
            tick_choosing();
        else if (setup_rules.phase == SETUP_COMPUTER_PICKS)
            tick_picks();
        else
            tick_slide();
        draw_screen();
        return 0;
    case WM_MOUSEMOVE:
        if (choosing) mouse_move(x, y);
        return 0;
    case WM_LBUTTONDOWN:
        if (choosing) left_down(x, y);
        return 0;
    case WM_LBUTTONUP:
        if (choosing)
            left_up();
        else if (setup_rules.phase == SETUP_SLIDE_OUT)
            leave(1);
        return 0;
    case WM_RBUTTONUP:
        if (setup_rules.phase == SETUP_SLIDE_OUT) {
            leave(1);
        } else if (choosing) {
            if (s.list >= 0) {
                close_list();
                draw_screen();
            } else {
                leave(0);
            }
        }
        return 0;
    case WM_KEYDOWN:
        if (setup_rules.phase == SETUP_SLIDE_OUT) leave(1);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

namespace {

void free_screen() {
    free_sprites();
    for (int k = 0; k < PLAYER_COUNT; ++k)
        setup_runners[static_cast<size_t>(k)].sprite = nullptr;
    for (ImageRecord*& b : s.buttons) {
        std::free(b);
        b = nullptr;
    }
    std::free(s.grid);
    std::free(s.panel);
    std::free(s.background);
    std::free(s.dark);
    spr_free_set(s.frames);
    spr_free_set(s.portraits);
    snd_effects_free(s.effects);
    if (s.jump >= 0) mkf_close(s.jump);
    s = Screen{};
}

} // namespace

void setup_window_open(int continuing) {
    s = Screen{};
    snd_effects_load(s.effects);
    s.jump = mkf_open(JUMP_ARCHIVE);
    if (s.jump < 0) data_report_open_failure(JUMP_ARCHIVE, WITHOUT_PICTURES);
    setup_begin(continuing);
    read_background();
    s.frames = read_jump_set(JUMP_FRAME_SET);
    s.portraits = spr_read_set(nullptr, PORTRAIT_ENTRY);
    cut_buttons();
}

void setup_window_close() {
    free_screen();
}

int setup_run(int continuing) {
    shown_record(Shown::Panel, JUMP_FRAME_SET, 0, "setup");
    setup_window_open(continuing);
    music_play_event(0x8001);
    const int r = screen_run(setup_wndproc, continuing);
    if (s.jump >= 0) mkf_close(s.jump);
    s.jump = -1;
    std::string why;
    const bool made = setup_finish(r, &why);
    if (r == 1 && !made) std::fprintf(stderr, "karvo: the new game was refused: %s\n", why.c_str());
    setup_window_close();
    return r == 1 && made ? 1 : 0;
}
