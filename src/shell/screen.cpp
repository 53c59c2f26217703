#include "shell/screen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/game_state.h"
#include "engine/film.h"
#include "engine/music.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "shell/app.h"

int32_t screen_depth = 0;
PlatWndProc screen_procs[SCREEN_STACK_SIZE] = {};
int32_t app_was_inactive = 0;

namespace {

// Each screen put on the stack gets a serial number. A close message carries
// the serial of the screen that posted it, so it ends that screen and no
// other: a close for a screen below the top waits until the screens above it
// have ended, and a close whose screen has already ended is dropped.
uint32_t g_serial[SCREEN_STACK_SIZE] = {};
uint32_t g_next_serial = 0;
bool g_closing[SCREEN_STACK_SIZE] = {};  // the screen has posted its close
bool g_deferred[SCREEN_STACK_SIZE] = {}; // its close arrived while a screen above ran
int32_t g_deferred_result[SCREEN_STACK_SIZE] = {};

void enter(int depth, PlatWndProc proc) {
    screen_procs[depth] = proc;
    g_serial[depth] = ++g_next_serial;
    g_closing[depth] = false;
    g_deferred[depth] = false;
    g_deferred_result[depth] = 0;
}

void leave(int depth) {
    screen_procs[depth] = nullptr;
    g_serial[depth] = 0;
    g_closing[depth] = false;
    g_deferred[depth] = false;
}

int depth_of_serial(uint32_t serial) {
    if (serial == 0) return 0;
    for (int d = 1; d <= screen_depth && d < SCREEN_STACK_SIZE; ++d)
        if (g_serial[d] == serial) return d;
    return 0;
}

// KARVO_TRACE_SCREENS=1: each screen run and board push is named on stderr.
bool tracing() {
    const char* v = std::getenv("KARVO_TRACE_SCREENS");
    return v && std::strcmp(v, "1") == 0;
}

} // namespace

void screen_reset() {
    screen_depth = 0;
    for (int d = 0; d < SCREEN_STACK_SIZE; ++d)
        leave(d);
    g_next_serial = 0;
    app_was_inactive = 0;
}

int32_t screen_run_named(PlatWndProc proc, int32_t arg, const char* proc_name) {
    if (plat_close_requested()) return 0;
    if (tracing())
        std::fprintf(stderr, "karvo: screen %s at depth %d\n", proc_name ? proc_name : "?",
                     screen_depth + 1);
    if (screen_depth >= SCREEN_MAX_DEPTH) {
        std::fprintf(stderr, "karvo: screen stack full (depth %d); screen not opened\n",
                     screen_depth);
        return 0;
    }
    const int depth = ++screen_depth;
    enter(depth, proc);
    plat_post_message(WM_SCREEN_START, 0, arg);
    int32_t result = 0;
    for (;;) {
        if (g_deferred[depth]) {
            result = g_deferred_result[depth];
            break;
        }
        if (plat_close_requested()) break; // the window is closing: unwind
        PlatMessage m;
        if (!plat_peek_message(&m, true)) {
            plat_idle(PLAT_WAIT_FOREVER);
            continue;
        }
        if (m.message == WM_SCREEN_END) {
            int owner = depth_of_serial(m.wparam);
            if (owner == depth) {
                result = m.lparam;
                break;
            }
            if (owner > 0 && owner < depth) {
                g_deferred[owner] = true;
                g_deferred_result[owner] = m.lparam;
            }
            continue;
        }
        if (m.message == WM_QUIT) {
            // A quit inside a modal loop would be lost here: keep it for the
            // main loop and unwind every modal screen first.
            plat_request_close();
            plat_post_quit_message(static_cast<int32_t>(m.wparam));
            break;
        }
        plat_translate_message(&m);
        plat_dispatch_message(&m);
    }
    leave(depth);
    screen_depth = depth - 1;
    return result;
}

void screen_close(int32_t result) {
    int depth = screen_depth;
    if (depth <= 0 || depth >= SCREEN_STACK_SIZE || g_closing[depth]) return;
    g_closing[depth] = true;
    plat_post_message(WM_SCREEN_END, g_serial[depth], result);
}

void screen_push_board(int start_music) {
    if (screen_depth >= SCREEN_MAX_DEPTH) {
        std::fprintf(stderr, "karvo: screen stack full; board not opened\n");
        return;
    }
    ++screen_depth;
    if (tracing()) std::fprintf(stderr, "karvo: screen board at depth %d\n", screen_depth);
    enter(screen_depth, app_services.board_wndproc);
    plat_post_message(WM_SCREEN_START, 0, 0);
    if (game_active_mover >= 0 && game_active_mover < MOVER_COUNT)
        actor_anim_table[game_active_mover].flags |= ANIM_NEEDS_STEP;
    if (start_music) app_services.music_next_background(0);
}

void screen_pop_board() {
    if (screen_depth > 0) {
        leave(screen_depth);
        --screen_depth;
    }
    app_services.music_stop();
}

void screen_timer_start(uint32_t ms) {
    plat_set_timer(static_cast<uint32_t>(screen_depth), ms);
}
void screen_timer_stop() {
    plat_kill_timer(static_cast<uint32_t>(screen_depth));
}
bool screen_timer_is_mine(uint32_t wparam) {
    return wparam == static_cast<uint32_t>(screen_depth);
}

int32_t app_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_DESTROY:
        app_shutdown();
        plat_post_quit_message(0);
        return 0;
    case WM_ACTIVATEAPP:
        if (wparam) {
            if (app_was_inactive) {
                if (primary_surface) plat_surface_restore(primary_surface);
                if (avi_playing) app_services.mci_send("resume vfw");
                if (music_midi_on) app_services.mci_send("resume mid");
                if (music_cd_on) app_services.mci_send("play cdtrack notify");
            }
            plat_set_focus();
            app_active = 1;
        } else {
            app_was_inactive = 1;
            app_active = 0;
            if (avi_playing) app_services.mci_send("pause vfw");
            if (music_midi_on) app_services.mci_send("pause mid");
            if (music_cd_on) app_services.mci_send("stop cdtrack");
        }
        return 0;
    case MM_MCINOTIFY:
        // lParam names the device that finished: the film's end ends the
        // film, a music piece's end goes to the music even while a film plays.
        if (wparam == MCI_NOTIFY_SUCCESSFUL) {
            if (avi_device != 0 && static_cast<uint32_t>(lparam) == avi_device) {
                if (avi_playing) app_services.avi_on_end();
            } else {
                app_services.music_on_notify();
            }
        }
        return 0;
    default:
        break;
    }
    // Once shut down, nothing is left for the screens to work with.
    if (!app_shutdown_done && screen_depth > 0 && screen_depth < SCREEN_STACK_SIZE &&
        screen_procs[screen_depth])
        return screen_procs[screen_depth](window, message, wparam, lparam);
    return plat_def_window_proc(window, message, wparam, lparam);
}
