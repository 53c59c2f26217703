#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using steady = std::chrono::steady_clock;

std::atomic<bool> g_virtual{false};
std::atomic<uint32_t> g_virtual_now{0};
steady::time_point g_real_start = steady::now();

std::atomic<PlatTickFn> g_tick_fn{nullptr};
bool g_tick_on = false;
uint32_t g_next_tick = 0; // virtual clock

// The real clock's tick thread; stopping joins it.
struct TickThread {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;

    void start() {
        stop = false;
        thread = std::thread([this] { run(); });
    }
    void run() {
        auto next = steady::now() + std::chrono::milliseconds(PLAT_TICK_PERIOD_MS);
        std::unique_lock<std::mutex> lock(mutex);
        while (!stop) {
            if (wake.wait_until(lock, next, [this] { return stop; })) break;
            lock.unlock();
            if (PlatTickFn fn = g_tick_fn.load()) fn();
            lock.lock();
            next += std::chrono::milliseconds(PLAT_TICK_PERIOD_MS);
            auto now = steady::now();
            if (next < now) next = now; // after a stall, do not burst
        }
    }
    void join() {
        if (!thread.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop = true;
        }
        wake.notify_all();
        thread.join();
    }
    ~TickThread() { join(); }
};

TickThread& tick_thread() {
    static TickThread t;
    return t;
}

} // namespace

uint32_t plat_tick_count() {
    if (g_virtual.load()) return g_virtual_now.load();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(steady::now() - g_real_start);
    return static_cast<uint32_t>(ms.count());
}

void plat_clock_reset(bool use_virtual) {
    plat_tick_stop();
    g_virtual = use_virtual;
    g_virtual_now = 0;
    g_real_start = steady::now();
    g_next_tick = 0;
}

bool plat_clock_is_virtual() {
    return g_virtual.load();
}

void plat_clock_advance_to(uint32_t t) {
    if (!g_virtual.load()) return;
    // Time only moves forward; the comparison is wrap-safe.
    if (static_cast<int32_t>(t - g_virtual_now.load()) <= 0) return;
    while (g_tick_on && static_cast<int32_t>(t - g_next_tick) >= 0) {
        g_virtual_now = g_next_tick;
        g_next_tick += PLAT_TICK_PERIOD_MS;
        if (PlatTickFn fn = g_tick_fn.load()) fn();
    }
    g_virtual_now = t;
}

void plat_tick_start(PlatTickFn fn) {
    g_tick_fn = fn;
    if (g_tick_on) return;
    g_tick_on = true;
    if (g_virtual.load()) {
        g_next_tick = g_virtual_now.load() + PLAT_TICK_PERIOD_MS;
    } else {
        tick_thread().start();
    }
}

void plat_tick_stop() {
    if (!g_tick_on) return;
    g_tick_on = false;
    tick_thread().join();
    g_tick_fn = nullptr;
}

bool plat_tick_running() {
    return g_tick_on;
}

uint32_t plat_tick_next_due() {
    return g_next_tick;
}
