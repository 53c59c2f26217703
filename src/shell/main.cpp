// Program entry: starts the platform layer and runs the game.
#include "platform/window.h"
#include "shell/app.h"

int main() {
    if (!plat_init()) return 1;
    int code = app_main(nullptr, nullptr, "", 1);
    plat_shutdown();
    return code;
}
