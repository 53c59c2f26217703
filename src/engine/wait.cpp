#include "engine/wait.h"

#include "engine/shown.h"
#include "engine/surfaces.h"
#include "platform/clock.h"
#include "platform/queue.h"

namespace {

bool is_release(uint32_t message) {
    return message == WM_KEYUP || message == WM_LBUTTONUP || message == WM_RBUTTONUP;
}

// Waits up to ms; with skippable set a release ends it with 1.
int wait_loop(uint32_t ms, bool skippable) {
    const uint32_t start = plat_tick_count();
    for (;;) {
        if (wait_take_messages(skippable ? 1 : 0) && skippable) return 1;
        // Unsigned, so a clock that wraps still measures the right time.
        const uint32_t elapsed = plat_tick_count() - start;
        if (elapsed >= ms || plat_close_requested()) return 0;
        plat_idle_for_input(ms - elapsed);
    }
}

} // namespace

int wait_take_messages(int stop_at_release) {
    int released = 0;
    PlatMessage m;
    while (!(released && stop_at_release) && plat_take_input(&m))
        if (is_release(m.message)) released = 1;
    // The end of a film or a music piece is served as the main window would.
    while (plat_take_posted(MM_MCINOTIFY, &m))
        plat_dispatch_message(&m);
    return released;
}

void wait_ms(uint32_t ms) {
    shown_record(Shown::Wait, 0, ms);
    if (!back_surface || ms == 0) return;
    wait_loop(ms, false);
}

int wait_ms_skippable(uint32_t ms) {
    shown_record(Shown::Wait, 1, ms);
    if (!back_surface || ms == 0) return 0;
    return wait_loop(ms, true);
}
