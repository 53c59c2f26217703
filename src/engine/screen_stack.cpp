#include "engine/modal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/queue.h"

int32_t screen_depth = 0;
PlatWndProc screen_procs[SCREEN_STACK_SIZE] = {};

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

void screen_stack_reset() {
    screen_depth = 0;
    for (int d = 0; d < SCREEN_STACK_SIZE; ++d)
        leave(d);
    g_next_serial = 0;
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

void screen_push(PlatWndProc proc, const char* proc_name) {
    ++screen_depth;
    if (tracing())
        std::fprintf(stderr, "karvo: screen %s at depth %d\n", proc_name ? proc_name : "?",
                     screen_depth);
    enter(screen_depth, proc);
    plat_post_message(WM_SCREEN_START, 0, 0);
}

void screen_pop() {
    if (screen_depth > 0) {
        leave(screen_depth);
        --screen_depth;
    }
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
