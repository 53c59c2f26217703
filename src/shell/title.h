// The title screen: new game, load game, options and exit.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// 0 new game, 1 a game was loaded from the title, 3 exit.
int title_run();
// The title's window procedure (run by title_run).
int32_t title_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
