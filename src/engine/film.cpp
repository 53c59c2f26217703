#include "engine/film.h"

#include <cstdio>

#include "engine/cursor.h"
#include "engine/data_report.h"
#include "engine/mkf.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/surfaces.h"
#include "platform/audio.h"
#include "platform/mci.h"
#include "platform/queue.h"

uint8_t avi_playing = 0;
uint8_t avi_skippable = 0;
uint32_t avi_device = 0;

namespace {

PlatRect g_rect; // where the running film goes

// A film that cannot be used is told once; the game goes on without it.
bool open_film(const char* name) {
    char command[96];
    std::snprintf(command, sizeof command, "open avivideo!%s alias vfw", name);
    if (mci_send(command) == 0) return true;
    const PlatOpenResult own = mci_last_open_result();
    char prefixed[64];
    std::snprintf(prefixed, sizeof prefixed, "%s%s", mkf_fallback_prefix, name);
    std::snprintf(command, sizeof command, "open avivideo!%s alias vfw", prefixed);
    if (mci_send(command) == 0) return true;
    data_report(name, plat_open_failure(name, own, prefixed, mci_last_open_result()) +
                          "; the film is not shown");
    return false;
}

} // namespace

int avi_play(const char* name, const PlatRect* rect, int skippable) {
    shown_record(Shown::Film, 0, 0, name);
    if (!back_surface || !name || !rect) return 0; // no display: nothing to show it on
    // The film's sound needs the audio device to itself: sound is shut down,
    // and set up again (with its buffers read anew) when the film cannot be
    // opened. With the device open and nothing playing that changes nothing
    // anyone hears, so the film is looked for first and the device kept.
    if (plat_audio_open() && plat_audio_playing_count() == 0) {
        if (!open_film(name)) return 0;
        snd_shutdown();
    } else {
        snd_shutdown();
        if (!open_film(name)) {
            snd_init(1);
            return 0;
        }
    }
    g_rect = *rect;
    avi_device = mci_device_id("vfw");
    avi_skippable = skippable ? 1 : 0;
    int result = screen_run(avi_wndproc, 0);
    avi_playing = 0;
    mci_send("stop vfw wait");
    mci_send("close vfw wait");
    avi_device = 0;
    // The film's pixels are gone from under it: the cursor comes back.
    cursor_show(&g_rect);
    snd_init(1);
    return result;
}

int32_t avi_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START: {
        char command[64];
        std::snprintf(command, sizeof command, "window vfw handle %d",
                      static_cast<int>(reinterpret_cast<uintptr_t>(app_hwnd) & 0x7FFFFFFF));
        mci_send(command);
        std::snprintf(command, sizeof command, "put vfw destination at %d %d %d %d", g_rect.left,
                      g_rect.top, g_rect.right - g_rect.left, g_rect.bottom - g_rect.top);
        mci_send(command);
        // The film is drawn straight onto the display: the software cursor
        // must not save or restore pixels over it while it runs.
        cursor_hide(&g_rect);
        if (mci_send("play vfw window from 0 notify") == 0)
            avi_playing = 1;
        else
            screen_close(0); // a film that cannot start would never end
        return 0;
    }
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (avi_playing && avi_skippable) {
            avi_playing = 0;
            screen_close(1);
        }
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

void avi_on_end() {
    avi_playing = 0;
    screen_close(0);
}
