#include "platform/stop_signal.h"

#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>

#include "platform/queue.h"

namespace {

std::atomic<int> g_stop_signal{0};
std::atomic<bool> g_box_up{false};
std::atomic<pid_t> g_box_owner{0};
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

// Ends the process by sig itself, as if no handler had been installed.
void die_by(int sig) {
    signal(sig, SIG_DFL);
    raise(sig);
}

void on_stop_signal(int sig) {
    // Only lock-free atomics here: the close request is one as well.
    g_stop_signal.store(sig);
    plat_request_close();
    // A message box runs its own loop, which never looks at the close
    // request: while one is up the signal ends the program at once.
    if (g_box_up.load()) die_by(sig);
}

// SDL shows a message box from a forked copy of the program. Killed by a
// signal, the program would leave that copy and its box on the screen: the
// copy goes when the program does.
void box_copy_dies_with_owner() {
    if (!g_box_up.load()) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != g_box_owner.load()) _exit(1); // the owner went before prctl
}

} // namespace

void plat_stop_signals_install() {
    static const bool fork_watched =
        pthread_atfork(nullptr, nullptr, box_copy_dies_with_owner) == 0;
    (void)fork_watched;
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

void plat_stop_signals_box_up(bool up) {
    g_box_owner.store(getpid());
    g_box_up.store(up);
    // A signal that came just before the box went up ends the program too.
    if (up && g_stop_signal.load()) die_by(g_stop_signal.load());
}

int plat_stop_signal() {
    return g_stop_signal.load();
}
