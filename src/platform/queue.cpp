#include "platform/queue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/mci.h"
#include "platform/script.h"
#include "platform/window.h"

namespace {

struct Timer {
    uint32_t id;
    uint32_t interval;
    uint32_t deadline;
    uint64_t order; // creation order breaks ties between equal deadlines
};

std::mutex g_mutex; // guards the posted queue and the quit request
std::deque<PlatMessage> g_posted;
bool g_quit_pending = false;
// Whether a posted message or the quit request waits: written with the lock
// held, read without it, so that the loop's many looks at an empty queue
// take no lock.
std::atomic<bool> g_posted_waiting{false};

void note_posted_locked() {
    g_posted_waiting.store(!g_posted.empty() || g_quit_pending, std::memory_order_release);
}

bool posted_may_wait() {
    return g_posted_waiting.load(std::memory_order_acquire);
}
int32_t g_quit_code = 0;

std::deque<PlatMessage> g_input; // main thread only, like everything below
std::vector<Timer> g_timers;
uint64_t g_timer_order = 0;
bool g_paint_invalid = false;
PlatRect g_paint_rect;
PlatRect g_last_paint_rect;

PlatWindow g_window = nullptr;
PlatWndProc g_proc = nullptr;
PlatKeyboardHook g_hook = nullptr;

int g_mouse_x = 0, g_mouse_y = 0;
uint32_t g_buttons = 0;
bool g_keys_down[256] = {};
int g_active = -1; // -1 not yet told either way

std::atomic<bool> g_close_requested{false};

bool before(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) < 0;
}
bool due(uint32_t deadline, uint32_t now) {
    return static_cast<int32_t>(now - deadline) >= 0;
}

PlatMessage make(uint32_t message, uint32_t wparam, int32_t lparam) {
    PlatMessage m;
    m.window = g_window;
    m.message = message;
    m.wparam = wparam;
    m.lparam = lparam;
    m.time = plat_tick_count();
    return m;
}

uint32_t key_modifiers() {
    uint32_t k = 0;
    if (g_keys_down[0x10]) k |= MK_SHIFT;
    if (g_keys_down[0x11]) k |= MK_CONTROL;
    return k;
}

PlatCursorHook g_cursor_hook = nullptr;

// Pulls from the window system and the script whatever has arrived.
void gather() {
    plat_run_cursor_hook();
    plat_window_pump();
    plat_script_release_due();
    mci_poll(); // film frames that are due, ends of pieces and films
}

// The first input message, passed through the keyboard hook; false if none.
bool take_input(PlatMessage* out, bool remove) {
    while (!g_input.empty()) {
        PlatMessage m = g_input.front();
        if (!remove) {
            *out = m;
            return true;
        }
        g_input.pop_front();
        if ((m.message == WM_KEYDOWN || m.message == WM_KEYUP) && g_hook &&
            g_hook(0, m.wparam, static_cast<uint32_t>(m.lparam)) != 0)
            continue;
        *out = m;
        return true;
    }
    return false;
}

Timer* first_due_timer(uint32_t now) {
    Timer* best = nullptr;
    for (Timer& t : g_timers) {
        if (!due(t.deadline, now)) continue;
        if (!best || before(t.deadline, best->deadline) ||
            (t.deadline == best->deadline && t.order < best->order))
            best = &t;
    }
    return best;
}

bool anything_waiting() {
    if (posted_may_wait()) {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_posted.empty() || g_quit_pending) return true;
    }
    if (!g_input.empty() || g_paint_invalid) return true;
    return first_due_timer(plat_tick_count()) != nullptr;
}

} // namespace

void plat_queue_reset() {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_posted.clear();
        g_quit_pending = false;
        g_quit_code = 0;
        note_posted_locked();
    }
    g_input.clear();
    g_timers.clear();
    g_timer_order = 0;
    g_paint_invalid = false;
    g_paint_rect = {};
    g_last_paint_rect = {};
    g_window = nullptr;
    g_proc = nullptr;
    g_hook = nullptr;
    g_cursor_hook = nullptr;
    g_mouse_x = g_mouse_y = 0;
    g_buttons = 0;
    std::fill(std::begin(g_keys_down), std::end(g_keys_down), false);
    g_active = -1;
    g_close_requested = false;
}

void plat_post_message(uint32_t message, uint32_t wparam, int32_t lparam) {
    PlatMessage m = make(message, wparam, lparam);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_posted.push_back(m);
    note_posted_locked();
}

void plat_post_quit_message(int32_t exit_code) {
    std::lock_guard<std::mutex> lock(g_mutex);
    // A quit already asked for keeps its exit code (the window's destruction
    // that follows a quit from a modal loop asks again with 0).
    if (!g_quit_pending) g_quit_code = exit_code;
    g_quit_pending = true;
    note_posted_locked();
}

bool plat_peek_message(PlatMessage* out, bool remove) {
    gather();
    if (posted_may_wait()) {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_posted.empty()) {
            *out = g_posted.front();
            if (remove) g_posted.pop_front();
            note_posted_locked();
            return true;
        }
    }
    if (take_input(out, remove)) return true;
    if (posted_may_wait()) {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_quit_pending) {
            *out = make(WM_QUIT, static_cast<uint32_t>(g_quit_code), 0);
            if (remove) g_quit_pending = false;
            note_posted_locked();
            return true;
        }
    }
    if (g_paint_invalid) {
        *out = make(WM_PAINT, 0, 0);
        if (remove) {
            // Taking the paint message validates the window, as the paint
            // handler's begin/end pair does; the rectangle stays readable.
            g_last_paint_rect = g_paint_rect;
            g_paint_invalid = false;
        }
        return true;
    }
    uint32_t now = plat_tick_count();
    if (Timer* t = first_due_timer(now)) {
        *out = make(WM_TIMER, t->id, 0);
        if (remove) {
            t->deadline += t->interval;
            if (due(t->deadline, now)) t->deadline = now + t->interval; // no burst after a stall
        }
        return true;
    }
    return false;
}

void plat_translate_message(const PlatMessage*) {}

int32_t plat_dispatch_message(const PlatMessage* msg) {
    if (!g_proc) return 0;
    return g_proc(msg->window ? msg->window : g_window, msg->message, msg->wparam, msg->lparam);
}

int32_t plat_send_message(uint32_t message, uint32_t wparam, int32_t lparam) {
    if (!g_proc) return 0;
    return g_proc(g_window, message, wparam, lparam);
}

int32_t plat_def_window_proc(PlatWindow, uint32_t message, uint32_t, int32_t) {
    if (message == WM_PAINT) g_paint_invalid = false;
    return 0;
}

void plat_set_window_proc(PlatWindow window, PlatWndProc proc) {
    g_window = window;
    g_proc = proc;
}

bool plat_take_input(PlatMessage* out) {
    gather();
    return take_input(out, true);
}

int plat_drain_input() {
    int n = 0;
    PlatMessage m;
    while (plat_take_input(&m))
        ++n;
    return n;
}

bool plat_message_waiting() {
    gather();
    return anything_waiting();
}

void plat_invalidate_rect(const PlatRect* rect) {
    PlatRect r = rect ? *rect : PlatRect{0, 0, 640, 480};
    if (!g_paint_invalid) {
        g_paint_rect = r;
    } else {
        g_paint_rect.left = std::min(g_paint_rect.left, r.left);
        g_paint_rect.top = std::min(g_paint_rect.top, r.top);
        g_paint_rect.right = std::max(g_paint_rect.right, r.right);
        g_paint_rect.bottom = std::max(g_paint_rect.bottom, r.bottom);
    }
    g_paint_invalid = true;
}

PlatRect plat_paint_rect() {
    return g_last_paint_rect;
}

void plat_update_window() {
    if (!g_paint_invalid) return;
    g_last_paint_rect = g_paint_rect;
    g_paint_invalid = false;
    plat_send_message(WM_PAINT, 0, 0);
}

void plat_set_timer(uint32_t id, uint32_t ms) {
    // Very short intervals are raised to the system's minimum, as windows do.
    if (ms < 10) ms = 10;
    uint32_t deadline = plat_tick_count() + ms;
    for (Timer& t : g_timers) {
        if (t.id == id) {
            t.interval = ms;
            t.deadline = deadline;
            return;
        }
    }
    g_timers.push_back({id, ms, deadline, g_timer_order++});
}

bool plat_kill_timer(uint32_t id) {
    auto it =
        std::find_if(g_timers.begin(), g_timers.end(), [id](const Timer& t) { return t.id == id; });
    if (it == g_timers.end()) return false;
    g_timers.erase(it);
    return true;
}

bool plat_next_timer_deadline(uint32_t* when) {
    bool any = false;
    for (const Timer& t : g_timers) {
        if (!any || before(t.deadline, *when)) *when = t.deadline;
        any = true;
    }
    return any;
}

void plat_set_keyboard_hook(PlatKeyboardHook hook) {
    g_hook = hook;
}
PlatKeyboardHook plat_keyboard_hook() {
    return g_hook;
}

void plat_get_cursor_pos(int* x, int* y) {
    if (x) *x = g_mouse_x;
    if (y) *y = g_mouse_y;
}

void plat_set_cursor_pos(int x, int y) {
    x = std::clamp(x, 0, 639);
    y = std::clamp(y, 0, 479);
    plat_window_warp_mouse(x, y);
    plat_input_mouse_move(x, y);
}

void plat_input_key(uint32_t vk, bool down) {
    vk &= 0xFF;
    uint32_t flags = 1; // repeat count
    if (down) {
        if (g_keys_down[vk]) flags |= KEY_FLAG_REPEAT;
    } else {
        flags |= KEY_FLAG_REPEAT | KEY_FLAG_RELEASE;
    }
    g_keys_down[vk] = down;
    g_input.push_back(make(down ? WM_KEYDOWN : WM_KEYUP, vk, static_cast<int32_t>(flags)));
}

void plat_input_mouse_move(int x, int y) {
    g_mouse_x = std::clamp(x, 0, 639);
    g_mouse_y = std::clamp(y, 0, 479);
    g_input.push_back(
        make(WM_MOUSEMOVE, g_buttons | key_modifiers(), plat_pack_point(g_mouse_x, g_mouse_y)));
}

void plat_input_button(uint32_t message) {
    switch (message) {
    case WM_LBUTTONDOWN:
        g_buttons |= MK_LBUTTON;
        break;
    case WM_LBUTTONUP:
        g_buttons &= ~MK_LBUTTON;
        break;
    case WM_RBUTTONDOWN:
        g_buttons |= MK_RBUTTON;
        break;
    case WM_RBUTTONUP:
        g_buttons &= ~MK_RBUTTON;
        break;
    default:
        return;
    }
    g_input.push_back(
        make(message, g_buttons | key_modifiers(), plat_pack_point(g_mouse_x, g_mouse_y)));
}

void plat_input_activate(bool active) {
    int state = active ? 1 : 0;
    if (g_active == state) return;
    g_active = state;
    plat_send_message(WM_ACTIVATEAPP, active ? 1u : 0u, 0);
}

void plat_request_close() {
    g_close_requested = true;
}
bool plat_close_requested() {
    return g_close_requested.load();
}

void plat_idle(uint32_t max_ms) {
    if (!plat_clock_is_virtual()) {
        // The script has run out and the program waits for more: a scripted
        // run ends under the real clock as under the virtual one.
        uint32_t next = 0;
        if (plat_script_close_at_end() && !plat_script_next_time(&next) && !anything_waiting())
            plat_request_close();
        plat_window_present();
        if (max_ms == 0)
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return;
    }
    gather();
    if (anything_waiting()) return;
    // Once the window is closing, a wait bounded in time (the last sound at
    // shut-down) still sees its time pass, or it would wait for ever.
    const bool closing_wait = plat_close_requested() && max_ms != PLAT_WAIT_FOREVER;
    uint32_t now = plat_tick_count();
    bool any = false;
    uint32_t target = 0;
    auto consider = [&](uint32_t t) {
        if (!any || before(t, target)) target = t;
        any = true;
    };
    uint32_t t;
    if (plat_next_timer_deadline(&t)) consider(t);
    if (plat_tick_running()) consider(plat_tick_next_due());
    if (mci_next_deadline(&t)) consider(t);
    bool scripted = plat_script_next_time(&t);
    if (scripted) consider(t);
    if (max_ms != PLAT_WAIT_FOREVER) consider(now + max_ms);
    if (!scripted && plat_script_close_at_end()) {
        // The script has run out and the program waits for more: close the
        // window, so a scripted run always ends.
        plat_request_close();
        if (!closing_wait) return;
    }
    if (!any) {
        plat_request_close(); // nothing can ever happen again
        return;
    }
    // The cap on game time guards scripted sessions only; a game played
    // on its own (the runner, the program without a script) runs as long
    // as it lasts.
    if (!closing_wait && plat_script_close_at_end() && plat_script_past_time_limit(target)) {
        plat_request_close();
        return;
    }
    if (before(now, target)) plat_clock_advance_to(target);
}

bool plat_take_posted(uint32_t message, PlatMessage* out) {
    gather();
    if (!posted_may_wait()) return false;
    std::lock_guard<std::mutex> lock(g_mutex);
    for (auto it = g_posted.begin(); it != g_posted.end(); ++it) {
        if (it->message != message) continue;
        *out = *it;
        g_posted.erase(it);
        note_posted_locked();
        return true;
    }
    return false;
}

void plat_idle_for_input(uint32_t max_ms) {
    if (!plat_clock_is_virtual()) {
        plat_window_present();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return;
    }
    gather();
    if (!g_input.empty() || max_ms == 0) return;
    uint32_t now = plat_tick_count();
    uint32_t target = now + max_ms;
    uint32_t t;
    if (plat_tick_running() && before(plat_tick_next_due(), target)) target = plat_tick_next_due();
    if (plat_script_next_time(&t) && before(t, target)) target = t;
    if (plat_script_past_time_limit(target)) {
        plat_request_close();
        return;
    }
    if (before(now, target)) plat_clock_advance_to(target);
}

void plat_set_cursor_hook(PlatCursorHook hook) {
    g_cursor_hook = hook;
}

void plat_run_cursor_hook() {
    static bool running = false; // the hook draws; it never takes messages itself
    if (!g_cursor_hook || running) return;
    running = true;
    g_cursor_hook();
    running = false;
}
