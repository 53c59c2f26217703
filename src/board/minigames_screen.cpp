// The mini-games' windows: what the three share (pictures, the bottom
// panel, the final score, the screen update) and their opening and closing.
#include "board/minigames_screen.h"

#include <cstdlib>

#include "board/game_state.h"
#include "board/minigames_screen_kit.h"
#include "data/characters.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/flc.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/surfaces.h"
#include "platform/queue.h"

MinigameWindow mgw;

namespace {

struct GameFiles {
    int first_entry, last_entry; // the frame sets of PANEL.MKF the game reads
    EffectListEntry* sounds;
    const char* name;
};

const GameFiles& files_of(MinigameKind kind) {
    static const GameFiles GRID{GRID_BOARD_ENTRY, GRID_FLY_FIRST_ENTRY + 4, grid_sounds,
                                "grid game"};
    static const GameFiles TARGETS{TARGET_SET_ENTRY, TARGET_SET_ENTRY, target_sounds,
                                   "target game"};
    static const GameFiles STEER{CATCH_BACKGROUND_ENTRY, CATCH_OBJECT_FIRST_ENTRY + 4, catch_sounds,
                                 "catching game"};
    return kind == MINIGAME_GRID ? GRID : kind == MINIGAME_TARGETS ? TARGETS : STEER;
}

// The runner's set sits after the game's own sets.
constexpr int RUNNER_SLOT = CATCH_RUNNER_FIRST_ENTRY - CATCH_BACKGROUND_ENTRY;

void read_sets(int slot, const GameFiles& f, int player) {
    mgw.first_entry = f.first_entry;
    for (int e = f.first_entry; e <= f.last_entry; ++e)
        if (e != GRID_HIT_ENTRY) mgw.sets[e - f.first_entry] = spr_read_set_from(slot, e);
    if (mgw.kind == MINIGAME_GRID)
        mgw.hit = static_cast<uint8_t*>(mkf_read(slot, GRID_HIT_ENTRY, nullptr, &mgw.hit_size));
    if (mgw.kind == MINIGAME_STEER) {
        // A character outside the table has no runner (it stands, drawn by nothing).
        const int character = player_table[player].character;
        if (character < CHARACTER_COUNT)
            mgw.sets[RUNNER_SLOT] = spr_read_set_from(slot, CATCH_RUNNER_FIRST_ENTRY + character);
    }
}

// The runner's frames as the catch box sees them.
void give_runner_frames(CatchGame& g) {
    CatchFrameBox boxes[CATCH_RUNNER_MAX_FRAMES] = {};
    const void* set = mgw.sets[RUNNER_SLOT];
    int n = spr_frame_count(set);
    if (n > CATCH_RUNNER_MAX_FRAMES) n = CATCH_RUNNER_MAX_FRAMES;
    for (int f = 0; f < n; ++f)
        if (const ImageRecord* r = spr_frame(set, f))
            boxes[f] = {static_cast<int16_t>(r->width), static_cast<int16_t>(r->height), r->hot_x,
                        r->hot_y};
    catch_set_runner_frames(g, boxes, n);
}

void start_state(MinigameKind kind) {
    switch (kind) {
    case MINIGAME_GRID: {
        GridGame& g = minigame_grid_state();
        minigame_grid_start(g);
        g.good_frames = spr_frame_count(mg_set(GRID_GOOD_ENTRY));
        g.bad_frames = spr_frame_count(mg_set(GRID_BAD_ENTRY));
        return;
    }
    case MINIGAME_TARGETS:
        minigame_targets_start(minigame_targets_state());
        return;
    case MINIGAME_STEER: {
        CatchGame& g = minigame_steer_state();
        give_runner_frames(g);
        int mx = 0, my = 0;
        plat_get_cursor_pos(&mx, &my);
        minigame_steer_start(g, mx);
        return;
    }
    }
}

void draw_digit(uint16_t* back, int digit, int x, int y) {
    const ImageRecord* f = spr_frame(mgw.digits, digit);
    if (f) blit_key(back, f, x + f->hot_x, y + f->hot_y);
}

} // namespace

const ImageRecord* mg_frame(int entry, int frame) {
    return spr_frame(mg_set(entry), frame);
}

void* mg_set(int entry) {
    if (mgw.kind == MINIGAME_STEER && entry >= CATCH_RUNNER_FIRST_ENTRY)
        return mgw.sets[RUNNER_SLOT];
    const int i = entry - mgw.first_entry;
    return i >= 0 && i < MG_MAX_SETS ? mgw.sets[i] : nullptr;
}

void mg_draw(uint16_t* back, const ImageRecord* img, int x, int y) {
    if (back && img) blit_key(back, img, x, y);
}

void mg_draw_opaque(uint16_t* back, const ImageRecord* img, int x, int y) {
    if (back && img) blit_opaque(back, img, x, y);
}

void mg_draw_panel(uint16_t* back, int32_t time_tenths, int32_t score) {
    if (!back) return;
    if (const ImageRecord* strip = spr_frame(mgw.digits, MG_STRIP_FRAME))
        blit_opaque(back, strip, strip->hot_x, MG_STRIP_Y + strip->hot_y);
    int d[3];
    minigame_panel_digits(time_tenths, d);
    for (int i = 0; i < 3; ++i)
        draw_digit(back, d[i], MG_TIME_DIGIT_X[i], MG_PANEL_DIGIT_Y);
    minigame_panel_digits(score, d);
    for (int i = 0; i < 3; ++i)
        draw_digit(back, d[i], MG_SCORE_DIGIT_X[i], MG_PANEL_DIGIT_Y);
}

void mg_draw_count(uint16_t* back, int place, const ImageRecord* icon, int32_t count) {
    if (!back) return;
    const int x = MG_COUNT_X0 + MG_COUNT_DX * place;
    if (icon) {
        // Centred on its place whatever its hot spot.
        blit_key(back, icon, x + MG_COUNT_ICON_CX - icon->width / 2 + icon->hot_x,
                 MG_COUNT_ICON_CY - icon->height / 2 + icon->hot_y);
    }
    const int32_t shown = count < 0 ? 0 : count > 99 ? 99 : count;
    draw_digit(back, shown / 10, x + MG_COUNT_DIGITS_DX, MG_PANEL_DIGIT_Y);
    draw_digit(back, shown % 10, x + MG_COUNT_DIGITS_DX + MG_COUNT_DIGIT_DX, MG_PANEL_DIGIT_Y);
}

void mg_draw_final_score(uint16_t* back, int32_t score) {
    if (!back) return;
    int digits[10];
    const int n = minigame_score_digits(score, digits);
    const ImageRecord* any = spr_frame(mgw.digits, MG_BIG_DIGIT_FIRST);
    int xs[10];
    minigame_final_digit_x(n, any ? any->width : MG_BIG_DIGIT_W, xs);
    for (int i = 0; i < n; ++i)
        draw_digit(back, MG_BIG_DIGIT_FIRST + digits[i], xs[i], MG_FINAL_Y);
}

void mg_present(int32_t time_tenths, int32_t score) {
    popup_update(PlatRect{0, 0, SCREEN_W, MG_PANEL_TOP});
    if (score != mgw.shown_score) {
        popup_update(PlatRect{MG_PANEL_LEFT, MG_PANEL_TOP, MG_PANEL_RIGHT, MG_PANEL_BOTTOM});
    } else if (time_tenths != mgw.shown_time) {
        popup_update(PlatRect{MG_PANEL_LEFT, MG_PANEL_TOP, MG_TIME_RIGHT, MG_PANEL_BOTTOM});
    }
    mgw.shown_score = score;
    mgw.shown_time = time_tenths;
}

void mg_present_all() {
    popup_update(screen_rect);
}

void mg_play_opening() {
    shown_record(Shown::Flc, MG_OPENING_ENTRY, 0, "PANEL.MKF");
    mg_present_all();
    if (mgw.opening) flc_play(mgw.opening, mgw.opening_size, 0, 0, FLC_OVER_BACKGROUND, -1);
    flc_stop();
    mg_present_all();
}

bool mg_tick_due(uint32_t message, uint32_t wparam) {
    return message == WM_TIMER && screen_timer_is_mine(wparam) && app_active.load() != 0;
}

bool minigame_window_open(MinigameKind kind, int player) {
    const GameFiles& f = files_of(kind);
    shown_record(Shown::Panel, f.first_entry, 0, f.name);
    if (!gfx_display_open() || player < 0 || player >= PLAYER_COUNT) return false;
    mgw = MinigameWindow{};
    mgw.kind = kind;
    mgw.player = player;
    const int slot = mkf_open("PANEL.MKF");
    if (slot >= 0) {
        mgw.digits = spr_read_set_from(slot, MG_DIGITS_ENTRY);
        mgw.opening = mkf_read(slot, MG_OPENING_ENTRY, nullptr, &mgw.opening_size);
        read_sets(slot, f, player);
        mkf_close(slot);
    }
    snd_effects_load(f.sounds);
    mgw.cursor_mode = cursor_get_mode();
    mgw.under = popup_save_area(screen_rect);
    mgw.open = true;
    start_state(kind);
    return true;
}

void minigame_window_run(MinigameKind kind) {
    switch (kind) { // each window by its own name, which the screen trace prints
    case MINIGAME_GRID:
        screen_run(minigame_grid_wndproc, 0);
        break;
    case MINIGAME_TARGETS:
        screen_run(minigame_targets_wndproc, 0);
        break;
    case MINIGAME_STEER:
        screen_run(minigame_steer_wndproc, 0);
        break;
    }
}

void minigame_window_close(MinigameKind kind) {
    if (!mgw.open) return;
    flc_stop();
    snd_effects_free(files_of(kind).sounds);
    spr_free_set(mgw.digits);
    for (void*& set : mgw.sets)
        spr_free_set(set);
    std::free(mgw.hit);
    std::free(mgw.opening);
    std::free(mgw.explosion);
    if (mgw.under) popup_restore_area(mgw.under, 0, 0);
    if (mgw.cursor_mode == 1) cursor_set_mode(1);
    mgw = MinigameWindow{};
}

PRESENTER(minigame_presenter, MinigamePresenter{
                                  .open = minigame_window_open,
                                  .run = minigame_window_run,
                                  .close = minigame_window_close,
                              });

void minigame_draw_scene(MinigameKind kind) {
    uint16_t* back = gfx_lock_back();
    if (!back) return;
    if (kind == MINIGAME_GRID) minigame_grid_draw(back);
    if (kind == MINIGAME_TARGETS) minigame_targets_draw(back);
    if (kind == MINIGAME_STEER) minigame_steer_draw(back);
    gfx_unlock_back();
}
