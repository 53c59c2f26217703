// The target game's window: the targets rising over the picture.
#include <cstdint>

#include "board/minigames.h"
#include "board/minigames_screen_kit.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/wait.h"

namespace {

constexpr uint32_t TICK_MS = 100;
constexpr uint32_t FINAL_MS = 2000;

TargetGame targets;

void show() {
    minigame_draw_scene(MINIGAME_TARGETS);
    mg_present(targets.time, targets.score);
}

void finish() {
    cursor_set_mode(0);
    cursor_set_shape(MG_CURSOR_ARROW, 1, 0);
    screen_timer_stop();
    minigame_draw_scene(MINIGAME_TARGETS);
    mg_present_all();
    wait_ms(FINAL_MS);
    targets.phase = MG_CLOSED;
    screen_close(minigame_points);
}

void tick() {
    minigame_targets_frame(targets);
    if (targets.phase == MG_OPENING) {
        minigame_draw_scene(MINIGAME_TARGETS);
        mg_play_opening();
        minigame_targets_begin(targets);
        cursor_set_shape(TARGET_CURSOR_AIM_FIRST, TARGET_CURSOR_AIM_FRAMES,
                         TARGET_CURSOR_AIM_TICKS);
        cursor_set_mode(1);
    }
    if (targets.phase == MG_FINAL) {
        finish();
        return;
    }
    show();
}

} // namespace

TargetGame& minigame_targets_state() {
    return targets;
}

void minigame_targets_draw(uint16_t* back) {
    mg_draw_opaque(back, mg_frame(TARGET_SET_ENTRY, TARGET_F_BACKGROUND), 0, 0);
    const PlatRect kept = gfx_clip_rect;
    gfx_set_clip(0, 0, SCREEN_W, TARGET_AREA_H);
    for (const TargetSlot& t : targets.slots) {
        if (t.x == 0) continue;
        const int frame = t.kind >= TARGET_HIT_MARK ? TARGET_HIT_FRAME
                                                    : TARGET_F_TARGET + (t.kind & TARGET_KIND_MASK);
        if (const ImageRecord* f = mg_frame(TARGET_SET_ENTRY, frame))
            blit_key_clip(back, f, t.x, t.y);
    }
    gfx_set_clip(kept.left, kept.top, kept.right, kept.bottom);
    mg_draw_panel(back, targets.time, targets.score);
    if (targets.phase >= MG_FINAL) mg_draw_final_score(back, targets.score);
}

int32_t minigame_targets_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                                 int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        minigame_draw_scene(MINIGAME_TARGETS);
        mg_present_all();
        screen_timer_start(TICK_MS);
        return 0;
    case WM_LBUTTONDOWN:
        minigame_targets_click(targets, plat_point_x(lparam), plat_point_y(lparam));
        return 0;
    case WM_TIMER:
        if (mg_tick_due(message, wparam)) tick();
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}
