// The program's window, display surfaces and run flags. They are defined
// here in the engine (engine/surfaces.cpp); the start-up sets them, the
// engine reads them to draw and to wait.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/layout.h"
#include "platform/messages.h"
#include "platform/surface.h"

extern PlatWindow app_hwnd;
// 1 while the program is the active application; read by the cursor timer.
extern std::atomic<uint8_t> app_active;
// Quit request: the main loop shuts down in its idle pass; read by the cursor timer.
extern std::atomic<uint8_t> app_quit;
extern PlatSurface* primary_surface;
extern PlatSurface* back_surface;
extern int32_t primary_pitch;
