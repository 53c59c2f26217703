// Program entry: starts the platform layer and runs the game.
#include <cstdio>

#include "platform/stop_signal.h"
#include "platform/window.h"
#include "shell/app.h"

int main() {
    if (!plat_init()) {
        std::fprintf(stderr, "karvo: %s\n", plat_init_error());
        return 1;
    }
    int code = app_main(nullptr, nullptr, "", 1);
    plat_shutdown();
    // Stopped by SIGINT or SIGTERM: the shutdown has run; the status says
    // which signal ended the program, as the shell expects.
    if (int sig = plat_stop_signal()) return 128 + sig;
    // Start-up failed (the message box said why).
    if (app_start_failed) return 1;
    return code;
}
