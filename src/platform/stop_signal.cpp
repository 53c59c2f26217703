#include "platform/stop_signal.h"

#include <signal.h>

#include <atomic>

#include "platform/queue.h"

namespace {

std::atomic<int> g_stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void on_stop_signal(int sig) {
    // Only lock-free atomics here: the close request is one as well.
    g_stop_signal.store(sig);
    plat_request_close();
}

} // namespace

void plat_stop_signals_install() {
    g_stop_signal.store(0);
    struct sigaction action = {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    // One-shot: a program that does not stop on the first signal still ends
    // on the second. Interrupted system calls return, so no blocking read
    // holds the close back.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int plat_stop_signal() {
    return g_stop_signal.load();
}
