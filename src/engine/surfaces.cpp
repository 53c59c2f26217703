#include "engine/surfaces.h"

PlatWindow app_hwnd = nullptr;
std::atomic<uint8_t> app_active{0};
std::atomic<uint8_t> app_quit{0};
PlatSurface* primary_surface = nullptr;
PlatSurface* back_surface = nullptr;
int32_t primary_pitch = 0;
