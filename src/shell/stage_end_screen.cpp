// The stage end's windows: the celebration with its map chooser, the
// continue offer's countdown, and the cheer over the board.
#include <cstdlib>
#include <cstring>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "engine/confirm.h"
#include "engine/cursor.h"
#include "engine/data_report.h"
#include "engine/draw.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/music.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_effects.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/setup_layout.h"
#include "shell/stage_end.h"
#include "shell/stage_end_layout.h"

namespace {

constexpr const char* JUMP_ARCHIVE = "JUMP.MKF";
constexpr const char* WITHOUT_PICTURES = "the celebration is drawn without its pictures";

// A frame as an image of its own, so that stamps can be drawn into it.
ImageRecord* own_copy(const void* set, int n) {
    const ImageRecord* f = spr_frame(set, n);
    if (!f) return nullptr;
    ImageRecord* c = image_new(f->width, f->height, f->hot_x, f->hot_y);
    if (!c) return nullptr;
    std::memset(c->pixels, 0, static_cast<size_t>(f->width) * f->height * 2);
    blit_key_to_image(c, f, f->hot_x, f->hot_y);
    return c;
}

// The cleared stamp's corner at (x, y), the stamp kept whole inside the
// picture.
void stamp_whole(ImageRecord* into, const ImageRecord* stamp, int x, int y) {
    if (!into) return;
    const StampOrigin o =
        stage_stamp_origin(into->width, into->height, stamp->width, stamp->height, x, y);
    blit_key_to_image(into, stamp, o.left + stamp->hot_x, o.top + stamp->hot_y);
}

// ---- the celebration

struct Celebration {
    int jump = -1, panel = -1;      // JUMP.MKF and PANEL.MKF, open while the screen runs
    uint16_t* background = nullptr; // 640 x 480 from JUMP.MKF game_map
    void* stage = nullptr;
    void* runner = nullptr;
    void* companion = nullptr;
    ImageRecord* maps[STAGE_CHOOSER_ROWS] = {};
    ImageRecord* chooser = nullptr;
    int scroll = 0;
    int figure_x = STAGE_RUN_LEFT, figure_y = 0, direction = 0, step = 0;
    int panel_y = STAGE_CHOOSER_START, panel_speed = STAGE_CHOOSER_SPEED;
    bool panel_rest = false;
    int hovered = -1;
    int state = 0; // 0 running, 1 the next release ends, 2 a map chosen
    int delay = 0;
} c;

bool several_humans() {
    return game_human_count != 1;
}

void draw_scene() {
    ImageRecord* back = popup_lock_back();
    if (back) {
        if (c.background) {
            // Every row rotated left by the scroll offset.
            for (int y = 0; y < SCREEN_H; ++y) {
                const uint16_t* row = c.background + static_cast<size_t>(y) * SCREEN_W;
                uint16_t* out = back->pixels + static_cast<size_t>(y) * back->width;
                const int off = c.scroll % SCREEN_W;
                std::memcpy(out, row + off, static_cast<size_t>(SCREEN_W - off) * 2);
                std::memcpy(out + SCREEN_W - off, row, static_cast<size_t>(off) * 2);
            }
        } else {
            blit_fill_rect(back, 0, 0, SCREEN_W, SCREEN_H, 0x203060);
        }
        const int count = spr_frame_count(c.runner);
        if (const ImageRecord* f =
                spr_frame(c.runner, stage_running_frame(count, c.direction, c.step)))
            popup_blit(back, f, c.figure_x, c.figure_y, true);
        const int side = c.direction ? STAGE_COMPANION_DX : -STAGE_COMPANION_DX;
        if (const ImageRecord* f =
                spr_frame(c.companion, stage_companion_frame(c.direction, c.step)))
            popup_blit(back, f, c.figure_x + side, c.figure_y, true);
        if (several_humans()) {
            text_set_font(STAGE_TITLE_SIZE, 0xF0F0F0, 0x101010, 3, 1);
            text_draw(back, "恭喜胜利过关！！", STAGE_TITLE_X, STAGE_TITLE_Y, ALIGN_CENTRE);
        } else {
            if (c.chooser) popup_blit(back, c.chooser, STAGE_CHOOSER_X, c.panel_y, true);
            if (c.panel_rest && c.hovered >= 0 && !campaign_maps_cleared[c.hovered] &&
                c.maps[c.hovered])
                popup_blit(back, c.maps[c.hovered], STAGE_CHOOSER_X,
                           stage_chooser_row_middle(c.hovered), true);
        }
    }
    popup_unlock_back();
    plat_invalidate_rect(nullptr);
}

// Each run across the screen, the first one too, at a height of its own.
int figure_height() {
    return game_rand() % STAGE_RUN_HEIGHTS + STAGE_RUN_TOP;
}

void celebration_tick() {
    if (c.state == 2 && --c.delay <= 0) {
        c.state = 1;
        plat_post_message(WM_LBUTTONUP, 0, 0);
    }
    c.scroll = (c.scroll + STAGE_SCROLL_STEP) % SCREEN_W;
    c.figure_x += c.direction ? -STAGE_RUN_STEP : STAGE_RUN_STEP;
    ++c.step;
    if (c.figure_x > STAGE_RUN_RIGHT || c.figure_x < STAGE_RUN_LEFT) {
        c.direction ^= 1;
        c.figure_x = c.direction ? STAGE_RUN_RIGHT : STAGE_RUN_LEFT;
        c.figure_y = figure_height();
    }
    if (!several_humans() && !c.panel_rest) {
        if (c.panel_y + c.panel_speed >= STAGE_CHOOSER_REST) {
            c.panel_y = STAGE_CHOOSER_REST;
            c.panel_rest = true;
            cursor_set_mode(1);
        } else {
            c.panel_y += c.panel_speed;
            if (c.panel_speed > 1) --c.panel_speed;
        }
    }
    draw_scene();
}

} // namespace

int32_t stage_won_wndproc(PlatWindow w, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        c.figure_y = figure_height();
        screen_timer_start(50);
        draw_scene();
        return 0;
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(w, message, wparam, lparam);
    case WM_TIMER:
        if (screen_timer_is_mine(wparam)) celebration_tick();
        return 0;
    case WM_MOUSEMOVE: {
        if (several_humans() || !c.panel_rest) return 0;
        const int row = stage_chooser_row(plat_point_x(lparam), plat_point_y(lparam));
        if (row == c.hovered) return 0;
        c.hovered = row;
        if (row >= 0 && !campaign_maps_cleared[row]) snd_effect_play(&ui_effects[UI_HOVER], 0);
        draw_scene();
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (several_humans()) {
            c.state = 1;
        } else if (c.panel_rest && c.state == 0 && c.hovered >= 0 &&
                   !campaign_maps_cleared[c.hovered]) {
            snd_effect_play(&ui_effects[UI_CONFIRM], 0);
            if (c.maps[c.hovered])
                if (const ImageRecord* mark = spr_frame(c.stage, SF_STAGE_CHOSEN))
                    blit_key_to_image(c.maps[c.hovered], mark, STAGE_CHOSEN_MARK_X + mark->hot_x,
                                      STAGE_CHOSEN_MARK_Y + mark->hot_y);
            game_map = c.hovered;
            c.state = 2;
            c.delay = 10;
            draw_scene();
        }
        return 0;
    case WM_RBUTTONUP:
        if (!several_humans()) return 0;
        c.state = 1;
        [[fallthrough]];
    case WM_LBUTTONUP:
        if (c.state != 1) return 0;
        cursor_set_mode(0);
        screen_timer_stop();
        screen_close(0);
        return 0;
    default:
        return plat_def_window_proc(w, message, wparam, lparam);
    }
}

namespace {

// ---- the countdown

struct Countdown {
    void* set = nullptr;
    ImageRecord* saved = nullptr;
    int counter = STAGE_COUNTDOWN_FROM;
    int accepted = 0;
    uint32_t chord = 0; // the keys pressed since the last release
} d;

void draw_number() {
    ImageRecord* back = popup_lock_back();
    if (back) {
        const PlatRect& a = STAGE_COUNTDOWN_AREA;
        if (d.saved)
            popup_blit_part(back, d.saved, a.left, a.top, a.left, a.top, a.right - a.left,
                            a.bottom - a.top);
        if (const ImageRecord* f = spr_frame(d.set, d.counter))
            popup_blit(back, f, STAGE_COUNTDOWN_X, STAGE_COUNTDOWN_NUMBER_Y, true);
    }
    popup_unlock_back();
    plat_invalidate_rect(&STAGE_COUNTDOWN_AREA);
}

int32_t countdown_wndproc(PlatWindow w, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START: {
        d.counter = STAGE_COUNTDOWN_FROM;
        d.accepted = 0;
        d.chord = 0;
        d.saved = image_save_screen_rect(screen_rect);
        ImageRecord* back = popup_lock_back();
        if (back)
            if (const ImageRecord* f = spr_frame(d.set, 0))
                popup_blit(back, f, STAGE_COUNTDOWN_X, STAGE_COUNTDOWN_TITLE_Y, true);
        popup_unlock_back();
        draw_number();
        screen_timer_start(1000);
        plat_invalidate_rect(nullptr);
        return 0;
    }
    case WM_PAINT:
        popup_update(plat_paint_rect());
        return plat_def_window_proc(w, message, wparam, lparam);
    case WM_TIMER:
        // The board below keeps its own timer running: only ours counts.
        if (!screen_timer_is_mine(wparam)) return 0;
        if (--d.counter <= 0) {
            plat_post_message(WM_RBUTTONUP, 0, 0);
            return 0;
        }
        draw_number();
        return 0;
    case WM_KEYDOWN:
        d.chord = confirm_chord(d.chord, wparam & 0xFF);
        return 0;
    case WM_KEYUP: {
        // The yes key's release, with Ctrl held when the key is a Ctrl chord.
        const HotKey yes = settings_hotkey(HK_YES);
        const bool accepted = (wparam & 0xFF) == (yes & 0xFFu) && d.chord == yes;
        d.chord = 0;
        if (!accepted) return 0;
    }
        [[fallthrough]];
    case WM_LBUTTONUP:
        d.accepted = 1;
        plat_post_message(WM_RBUTTONUP, 0, 0);
        return 0;
    case WM_RBUTTONUP:
        screen_timer_stop();
        if (d.saved) {
            image_restore_screen_rect(d.saved, 0, 0);
            d.saved = nullptr;
        }
        screen_close(d.accepted);
        return 0;
    default:
        return plat_def_window_proc(w, message, wparam, lparam);
    }
}

} // namespace

void stage_won_window_open() {
    c = Celebration{};
    c.jump = mkf_open(JUMP_ARCHIVE);
    if (c.jump < 0) data_report_open_failure(JUMP_ARCHIVE, WITHOUT_PICTURES);
    c.panel = mkf_open("PANEL.MKF");
    uint32_t size = 0;
    void* px = c.jump >= 0 ? mkf_read(c.jump, game_map, nullptr, &size) : nullptr;
    if (px && size >= static_cast<uint32_t>(JUMP_BACKGROUND_BYTES)) {
        c.background = static_cast<uint16_t*>(px);
    } else {
        std::free(px);
        if (c.jump >= 0)
            data_report_bad_entry(c.jump, JUMP_ARCHIVE, game_map, "a 640 x 480 picture",
                                  WITHOUT_PICTURES);
    }
    c.stage = spr_read_set_from(c.jump, JUMP_FRAME_SET);
    if (!c.stage && c.jump >= 0)
        data_report_bad_entry(c.jump, JUMP_ARCHIVE, JUMP_FRAME_SET, "a picture set",
                              WITHOUT_PICTURES);
    int winner = 0;
    while (winner < PLAYER_COUNT - 1 &&
           player_table[static_cast<size_t>(winner)].control == CTRL_OUT)
        ++winner;
    c.runner = spr_read_set_from(c.panel, STAGE_RUNNER_FIRST +
                                              player_table[static_cast<size_t>(winner)].character);
    c.companion = spr_read_set_from(c.panel, STAGE_COMPANION_ENTRY);
    for (int j = 0; j < STAGE_CHOOSER_ROWS; ++j)
        c.maps[j] = own_copy(c.stage, SF_STAGE_MAP + j);
    c.chooser = own_copy(c.stage, SF_STAGE_CHOOSER);
    if (const ImageRecord* stamp = spr_frame(c.stage, SF_STAGE_STAMP))
        for (int j = 0; j < STAGE_CHOOSER_ROWS; ++j) {
            if (!campaign_maps_cleared[j]) continue;
            stamp_whole(c.maps[j], stamp, STAGE_MAP_STAMP_X, STAGE_MAP_STAMP_Y);
            stamp_whole(c.chooser, stamp, STAGE_CHOOSER_STAMP_X,
                        STAGE_CHOOSER_STAMP_Y + STAGE_CHOOSER_ROW_H * j);
        }
}

void stage_won_window_close() {
    std::free(c.background);
    for (ImageRecord*& m : c.maps)
        std::free(m);
    std::free(c.chooser);
    spr_free_set(c.stage);
    spr_free_set(c.runner);
    spr_free_set(c.companion);
    if (c.jump >= 0) mkf_close(c.jump);
    if (c.panel >= 0) mkf_close(c.panel);
    c = Celebration{};
}

void stage_won_screen() {
    stage_won_window_open();
    shown_record(Shown::Panel, JUMP_FRAME_SET, static_cast<uint32_t>(game_map), "stage cleared");
    music_play_event(0x8006);
    screen_run(stage_won_wndproc, 0);
    music_close_midi();
    stage_won_window_close();
}

// The board view as the player sees it, into the back surface.
static void board_view_to_back() {
    if (!primary_surface) return;
    int32_t pitch = 0;
    const uint16_t* screen = plat_surface_lock(primary_surface, &pitch);
    uint16_t* back = gfx_lock_back();
    if (screen && back)
        for (int y = LAYOUT_BOARD_AREA.top; y < LAYOUT_BOARD_AREA.bottom; ++y)
            std::memcpy(back + static_cast<size_t>(y) * SCREEN_W,
                        screen + static_cast<size_t>(y) * static_cast<size_t>(pitch / 2),
                        static_cast<size_t>(LAYOUT_BOARD_AREA.right - LAYOUT_BOARD_AREA.left) * 2);
    gfx_unlock_back();
    if (screen) plat_surface_unlock(primary_surface);
}

int stage_countdown_screen(int over_board) {
    shown_record(Shown::Panel, STAGE_COUNTDOWN_ENTRY, 0, "continue");
    // Nobody can answer an offer that is not shown: it is declined.
    if (!gfx_display_open()) return 0;
    if (over_board == 0) board_view_to_back();
    d = Countdown{};
    d.set = spr_read_set("PANEL.MKF", STAGE_COUNTDOWN_ENTRY);
    const int r = screen_run(countdown_wndproc, 0);
    std::free(d.saved);
    spr_free_set(d.set);
    d = Countdown{};
    return r;
}

void stage_cheer_over_board() {
    board_repaint(0);
    board_dirty = 0;
    flc_play_entry(STAGE_CHEER_FLC_ENTRY, 0, LAYOUT_BOARD_AREA.top, FLC_OVER_BACKGROUND,
                   STAGE_CHEER_EFFECT);
}
