#include "engine/flc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "engine/surfaces.h"
#include "platform/clock.h"
#include "platform/queue.h"

FlcPlayer flc_player = {};
void (*flc_board_render)() = nullptr;
void (*flc_board_after)() = nullptr;
void (*flc_music_notify)() = nullptr;

namespace {

constexpr int BOARD = FLC_BOARD_SIDE;

// Brightness of the board-mode copy by frame number; frames from 32 on use 0.
constexpr int board_brightness[32] = {0, 0, 0, 0, 4, 12, 24, 28, 30, 28, 24, 20, 16, 14, 12, 10,
                                      9, 8, 7, 6, 5, 4,  3,  2,  1,  0,  0,  0,  0,  0,  0,  0};

EffectListEntry* next_sound_list = nullptr;
int next_sound_element = 0;

// The element lies in the list, before its end mark.
bool list_has(const EffectListEntry* list, int element) {
    if (!list || element < 0) return false;
    for (int i = 0; i <= element; ++i)
        if (list[i].entry < 0) return false;
    return true;
}

PlatRect player_rect() {
    const FlcPlayer& f = flc_player;
    return PlatRect{f.rect[0], f.rect[1], f.rect[2], f.rect[3]};
}

void free_diff() {
    std::free(flc_player.diff);
    flc_player.diff = nullptr;
}

// A locked surface seen as rows of pixels; the back buffer through the
// drawing service's counted lock, so back_pixels stays right for others.
struct Locked {
    PlatSurface* surface = nullptr;
    uint16_t* pixels = nullptr;
    int pitch = 0; // pixels a row
    bool lock(PlatSurface* s) {
        if (!s) return false;
        int32_t bytes = s->pitch;
        pixels = s == back_surface ? gfx_lock_back() : plat_surface_lock(s, &bytes);
        if (!pixels) return false;
        surface = s;
        pitch = bytes / 2;
        return true;
    }
    void unlock() {
        if (surface && surface == back_surface)
            gfx_unlock_back();
        else if (surface)
            plat_surface_unlock(surface);
        surface = nullptr;
        pixels = nullptr;
    }
};

// The pixel of the target that lies at board cell (c, r): the display at
// screen row r + 40, or the board buffer.
uint16_t* board_target(const Locked& display, int c, int r) {
    if (flc_player.output == FLC_TO_BOARD) return view_hitmap + r * BOARD + c;
    return display.pixels + (r + FLC_BOARD_TOP) * display.pitch + c;
}

// The animation's pixels as differences from the back buffer behind them,
// then the freshly drawn board copied wherever the difference is 0, so the
// board moves on under the animation while the animation's own pixels stay.
void board_difference() {
    FlcPlayer& f = flc_player;
    const bool board = f.output == FLC_TO_BOARD;
    cursor_hide(nullptr);
    Locked back, display;
    if (!back.lock(back_surface) || (!board && !display.lock(primary_surface))) {
        back.unlock();
        cursor_show(nullptr);
        return;
    }
    for (int j = 0; j < f.header.height; ++j) {
        const int sy = f.y + j, dy = f.diff_y + j;
        if (sy < 0 || sy >= SCREEN_H || dy < 0 || dy >= BOARD) continue;
        if (board && j >= BOARD) break;
        for (int i = 0; i < f.header.width; ++i) {
            const int sx = f.x + i, dx = f.diff_x + i;
            if (sx < 0 || sx >= SCREEN_W || dx < 0 || dx >= BOARD) continue;
            if (board && i >= BOARD) break;
            const uint16_t shown =
                board ? view_hitmap[j * BOARD + i] : display.pixels[sy * display.pitch + sx];
            f.diff[dy * BOARD + dx] =
                static_cast<uint16_t>(shown - back.pixels[sy * back.pitch + sx]);
        }
    }
    back.unlock();
    display.unlock();
    if (flc_board_render) flc_board_render();
    if (back.lock(back_surface) && (board || display.lock(primary_surface))) {
        for (int r = 0; r < BOARD; ++r) {
            const uint16_t* src = back.pixels + (r + FLC_BOARD_TOP) * back.pitch;
            const uint16_t* d = f.diff + r * BOARD;
            for (int c = 0; c < BOARD; ++c)
                if (d[c] == 0) *board_target(display, c, r) = src[c];
        }
    }
    back.unlock();
    display.unlock();
    cursor_show(nullptr);
}

// The board buffer onto the display at row 40 through the frame's brightness.
void board_copy_back() {
    const FlcPlayer& f = flc_player;
    const int k = f.frame < 32 ? board_brightness[f.frame] : 0;
    cursor_hide(nullptr);
    Locked display;
    if (display.lock(primary_surface)) {
        for (int r = 0; r < BOARD && r + FLC_BOARD_TOP < SCREEN_H; ++r) {
            uint16_t* dst = display.pixels + (r + FLC_BOARD_TOP) * display.pitch;
            const uint16_t* src = view_hitmap + r * BOARD;
            if (k == 0)
                std::memcpy(dst, src, BOARD * 2);
            else
                gfx_brightness_run(dst, src, BOARD * 2, k);
        }
        display.unlock();
    }
    cursor_show(nullptr);
}

// The board area of the back buffer into the board buffer.
void board_copy_out() {
    Locked back;
    if (!back.lock(back_surface)) return;
    for (int r = 0; r < BOARD; ++r)
        std::memcpy(view_hitmap + r * BOARD, back.pixels + (r + FLC_BOARD_TOP) * back.pitch,
                    BOARD * 2);
    back.unlock();
}

// Decodes one frame onto the output's target; false when it could not.
bool decode_to_target() {
    FlcPlayer& f = flc_player;
    Locked back, display;
    FlcCanvas c;
    const PlatRect rect = player_rect();
    bool ok = true;
    if (f.over_background) {
        ok = back.lock(back_surface);
        c.background = back.pixels;
        c.bg_pitch = back.pitch;
        c.bg_width = SCREEN_W;
        c.bg_height = SCREEN_H;
        c.bg_x = f.x;
        c.bg_y = f.y;
    }
    if (f.output == FLC_TO_DISPLAY) {
        cursor_hide(&rect);
        ok = ok && display.lock(primary_surface);
        c.pixels = display.pixels;
        c.pitch = display.pitch;
        c.width = SCREEN_W;
        c.height = SCREEN_H;
        c.x = f.x;
        c.y = f.y;
    } else if (f.output == FLC_TO_BACK) {
        ok = back.lock(back_surface);
        c.pixels = back.pixels;
        c.pitch = back.pitch;
        c.width = SCREEN_W;
        c.height = SCREEN_H;
        c.x = f.x;
        c.y = f.y;
    } else {
        c.pixels = view_hitmap;
        c.pitch = BOARD;
        c.width = BOARD;
        c.height = BOARD;
        ok = ok && view_hitmap != nullptr;
    }
    if (ok) ok = flc_decode_frame(f.data, f.size, &f.chunk, f.header, f.palette, c) == 1;
    display.unlock();
    back.unlock();
    if (f.output == FLC_TO_DISPLAY) cursor_show(&rect);
    return ok;
}

// Messages of the frame wait: input (a release ends a skippable animation)
// and the end notifications of music and films are taken; everything else
// stays queued for the screen's own loop. True when skipped.
bool take_frame_messages(bool skippable) {
    bool skipped = false;
    PlatMessage m;
    while (plat_take_input(&m))
        if (skippable &&
            (m.message == WM_KEYUP || m.message == WM_LBUTTONUP || m.message == WM_RBUTTONUP))
            skipped = true;
    while (plat_take_posted(MM_MCINOTIFY, &m)) {
        if (m.wparam != MCI_NOTIFY_SUCCESSFUL)
            plat_dispatch_message(&m);
        else if (flc_music_notify)
            flc_music_notify();
    }
    return skipped;
}

} // namespace

void flc_set_sounds(EffectListEntry* list, int element) {
    next_sound_list = list;
    next_sound_element = element;
}

void flc_stop() {
    free_diff();
    flc_player.data = nullptr;
    flc_player.chunk = 0;
}

int flc_start(const void* anim, size_t size, int x, int y, uint32_t flags) {
    FlcHeader h;
    if (!flc_read_header(anim, size, &h)) return 0;
    const int diff_frame = static_cast<int>((flags & FLC_DIFF_MASK) >> FLC_DIFF_SHIFT);
    if (diff_frame != 0 && ((flags & FLC_BACK_ONLY) || !(flags & FLC_OVER_BACKGROUND))) return 0;
    const bool board = (flags & FLC_BOARD_MODE) != 0;
    if (board && !view_hitmap) return 0;
    uint16_t* diff = nullptr;
    if (diff_frame != 0) {
        diff = static_cast<uint16_t*>(std::calloc(BOARD * BOARD, sizeof(uint16_t)));
        if (!diff) return 0;
    }
    flc_stop();
    FlcPlayer& f = flc_player;
    f = FlcPlayer{};
    f.data = static_cast<const uint8_t*>(anim);
    f.size = size;
    f.header = h;
    f.x = x;
    f.y = y;
    f.rect[0] = x;
    f.rect[1] = y;
    f.rect[2] = x + h.width;
    f.rect[3] = y + h.height;
    f.ms_per_frame = h.ms_per_frame;
    f.chunk = f.first_frame = FLC_FIRST_CHUNK;
    f.skippable = (flags & FLC_SKIPPABLE) != 0;
    f.loop = (flags & FLC_LOOP) != 0;
    f.over_background = (flags & FLC_OVER_BACKGROUND) && !(flags & FLC_BACK_ONLY);
    f.play_count = static_cast<int>((flags & FLC_PLAYS_MASK) >> FLC_PLAYS_SHIFT);
    f.diff_frame = diff_frame;
    f.diff = diff;
    f.diff_x = x;
    f.diff_y = y - FLC_BOARD_TOP;
    if (board) {
        f.output = FLC_TO_BOARD;
        f.pitch = BOARD * 2;
        board_copy_out();
    } else {
        f.output = (flags & FLC_BACK_ONLY) ? FLC_TO_BACK : FLC_TO_DISPLAY;
        f.pitch = (f.over_background && primary_surface) ? primary_surface->pitch : SCREEN_W * 2;
    }
    const uint32_t speed = (flags & FLC_SPEED_MASK) >> FLC_SPEED_SHIFT;
    if (speed != 0) f.ms_per_frame = speed * 10;
    f.sound_frame = static_cast<int>((flags & FLC_SOUND_MASK) >> FLC_SOUND_SHIFT);
    f.sound_list = next_sound_list;
    f.sound_element = next_sound_element;
    return 1;
}

int flc_next_frame() {
    FlcPlayer& f = flc_player;
    if (!f.data || f.chunk == 0 || f.frame >= f.header.frames) return 0;
    if (!decode_to_target()) {
        // Damaged data: the animation ends where it broke.
        flc_stop();
        return 0;
    }
    bool ended = false;
    if (++f.frame >= f.header.frames) {
        if (f.loop) {
            f.frame = 0;
            f.chunk = f.first_frame;
        } else if (f.play_count == 0 || --f.play_count == 0) {
            ended = true;
        } else {
            f.frame = 0;
            f.chunk = f.first_frame;
        }
    }
    if (f.diff && (f.diff_frame == FLC_DIFF_EVERY_FRAME || f.diff_frame == f.frame))
        board_difference();
    if (f.sound_frame != 0 && f.sound_frame == f.frame && list_has(f.sound_list, f.sound_element))
        snd_effect_play(&f.sound_list[f.sound_element], 0);
    if (f.output == FLC_TO_BOARD) board_copy_back();
    if (ended) free_diff();
    return ended ? 0 : 1;
}

int flc_play(const void* anim, size_t size, int x, int y, uint32_t flags, int effect_entry) {
    if (!flc_start(anim, size, x, y, flags)) return 0;
    if (effect_entry >= 0) snd_extra_load(effect_entry);
    const bool board = flc_player.output == FLC_TO_BOARD;
    bool skipped = false;
    bool first = true;
    for (;;) {
        const uint32_t start = plat_tick_count();
        const int more = flc_next_frame();
        if (first && effect_entry >= 0) snd_extra_play();
        first = false;
        // A frame lasts at least a millisecond, so time passes even when a
        // header gives 0.
        const uint32_t frame_ms = std::max<uint32_t>(flc_player.ms_per_frame, 1);
        for (;;) {
            if (take_frame_messages(flc_player.skippable != 0)) skipped = true;
            if (skipped || plat_close_requested()) break;
            if (plat_tick_count() - start >= frame_ms) break;
            plat_idle_for_input(start + frame_ms - plat_tick_count());
        }
        if (!more || skipped || plat_close_requested()) break;
    }
    free_diff();
    if (board && flc_board_after) flc_board_after();
    return skipped ? 1 : 0;
}

int flc_play_entry(int data_entry, int x, int y, uint32_t flags, int effect_entry) {
    shown_record(Shown::Flc, data_entry);
    if (!gfx_display_open()) return 0;
    uint32_t size = 0;
    void* anim = mkf_read(data_archive, data_entry, nullptr, &size);
    if (!anim) return 0;
    const int skipped = flc_play(anim, size, x, y, flags, effect_entry);
    flc_stop();
    std::free(anim);
    return skipped;
}

int flc_play_entry_speed(int data_entry, int x, int y, uint32_t flags, int effect_entry) {
    return flc_play_entry(data_entry, x, y, flags, effect_entry);
}
