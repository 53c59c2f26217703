#include "shell/screen.h"

#include <cstdio>

#include "board/game_state.h"
#include "engine/film.h"
#include "engine/music.h"
#include "engine/surfaces.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "shell/app.h"

int32_t app_was_inactive = 0;

void screen_reset() {
    screen_stack_reset();
    app_was_inactive = 0;
}

void screen_push_board(int start_music) {
    if (screen_depth >= SCREEN_MAX_DEPTH) {
        std::fprintf(stderr, "karvo: screen stack full; board not opened\n");
        return;
    }
    screen_push(app_services.board_wndproc, "board");
    if (game_active_mover >= 0 && game_active_mover < MOVER_COUNT)
        actor_anim_table[game_active_mover].flags |= ANIM_NEEDS_STEP;
    if (start_music) app_services.music_next_background(0);
}

void screen_pop_board() {
    screen_pop();
    app_services.music_stop();
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
