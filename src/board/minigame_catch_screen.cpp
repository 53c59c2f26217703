// The catching game's window: the throwers along the top, the falling
// objects, the runner and the explosion.
#include <cstdint>
#include <cstdlib>

#include "board/minigames.h"
#include "board/minigames_screen_kit.h"
#include "engine/draw.h"
#include "engine/flc.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/wait.h"
#include "platform/queue.h"

namespace {

constexpr uint32_t TICK_MS = 50;
constexpr uint32_t FINAL_MS = 2000;
constexpr int TENTHS_PER_TICK_DIVISOR = 2; // 50 ms ticks

CatchGame steer;
bool explosion_started = false;

int32_t time_tenths() {
    return steer.time / TENTHS_PER_TICK_DIVISOR;
}

void show() {
    minigame_draw_scene(MINIGAME_STEER);
    mg_present(time_tenths(), catch_score(steer));
}

void free_explosion() {
    flc_stop();
    std::free(mgw.explosion);
    mgw.explosion = nullptr;
}

// The explosion plays one frame a tick over the scene as it was when the
// bomb was caught; 1 while it goes on.
bool explosion_step() {
    if (!explosion_started) {
        explosion_started = true;
        shown_record(Shown::Flc, CATCH_EXPLOSION_ENTRY);
        minigame_draw_scene(MINIGAME_STEER);
        mg_present_all();
        mgw.explosion = mkf_read(data_archive, CATCH_EXPLOSION_ENTRY, nullptr, &mgw.explosion_size);
        if (!mgw.explosion || !flc_start(mgw.explosion, mgw.explosion_size, steer.explosion_x,
                                         steer.explosion_y, FLC_OVER_BACKGROUND)) {
            free_explosion();
            return false;
        }
    }
    if (flc_next_frame()) return true;
    free_explosion();
    return false;
}

void finish() {
    screen_timer_stop();
    minigame_draw_scene(MINIGAME_STEER);
    mg_present_all();
    wait_ms(FINAL_MS);
    steer.phase = MG_CLOSED;
    screen_close(minigame_points);
}

void tick() {
    int mx = 0, my = 0;
    plat_get_cursor_pos(&mx, &my);
    steer.mouse_x = mx;
    minigame_steer_frame(steer);
    if (steer.phase == MG_OPENING) {
        minigame_draw_scene(MINIGAME_STEER);
        mg_play_opening();
        plat_get_cursor_pos(&mx, &my);
        steer.mouse_x = mx;
        minigame_steer_begin(steer);
    }
    if (steer.warp_x >= 0) {
        plat_set_cursor_pos(steer.warp_x, my);
        steer.warp_x = -1;
    }
    if (steer.phase == MG_FINAL) {
        finish();
        return;
    }
    if (steer.explosion == 1) {
        if (!explosion_step()) minigame_steer_explosion_over(steer);
        return;
    }
    show();
}

} // namespace

CatchGame& minigame_steer_state() {
    return steer;
}

void minigame_steer_draw(uint16_t* back) {
    mg_draw_opaque(back, mg_frame(CATCH_BACKGROUND_ENTRY, 0), 0, 0);
    for (const CatchObject& o : steer.objects) {
        if (o.x == 0) continue;
        spr_draw_scaled(back, mg_set(CATCH_OBJECT_FIRST_ENTRY + catch_kind(o)), catch_frame(o),
                        catch_drawn_x(o), o.y, catch_scale(o));
    }
    if (steer.bomber_counter >= 0)
        mg_draw(back, mg_frame(CATCH_BOMBER_ENTRY, steer.bomber_counter), steer.bomber_x,
                CATCH_BOMBER_Y);
    mg_draw(back, mg_frame(CATCH_THROWER_ENTRY, catch_thrower_frame(steer)), steer.thrower_x,
            CATCH_THROWER_Y);
    mg_draw(back, mg_frame(CATCH_RUNNER_FIRST_ENTRY, catch_runner_frame(steer)), steer.runner_x,
            CATCH_GROUND_Y);
    mg_draw_panel(back, time_tenths(), catch_score(steer));
    for (int k = 0; k < 4; ++k)
        mg_draw_count(back, k, mg_frame(CATCH_OBJECT_FIRST_ENTRY + k, 0), steer.counts[k]);
    if (steer.phase >= MG_FINAL) mg_draw_final_score(back, catch_score(steer));
}

int32_t minigame_steer_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                               int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        explosion_started = false;
        minigame_draw_scene(MINIGAME_STEER);
        mg_present_all();
        screen_timer_start(TICK_MS);
        return 0;
    case WM_TIMER:
        if (mg_tick_due(message, wparam)) tick();
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}
