// 16-bit pixel surfaces in memory: the 640 x 480 back surface all drawing
// goes to and the primary surface the player sees. The primary surface is
// presented on the window whenever it has changed.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The pixel formats a display may report.
enum PlatPixelFormat : uint8_t {
    PLAT_RGB555 = 0,
    PLAT_RGB565 = 1,
    PLAT_BGR565 = 2,
    PLAT_RGB444 = 3,
};

struct PlatSurface {
    uint16_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0; // bytes per row
    int32_t locks = 0;
    bool primary = false;
    // The format of the pixels it holds: the display's format when it was
    // made, or what its maker said (plat_surface_set_format).
    PlatPixelFormat format = PLAT_RGB565;
};

// Resets the surface module: releases every surface, the format back to the
// default (RGB565, or KARVO_PIXEL_FORMAT when set to rgb555, rgb565, bgr565 or
// rgb444).
void plat_surface_reset();

// The format the display reports; tests may choose another before the
// surfaces are made.
PlatPixelFormat plat_pixel_format();
void plat_set_pixel_format(PlatPixelFormat format);
// The red, green and blue masks of a surface's own format (nullptr: the
// display's format).
void plat_surface_masks(const PlatSurface* s, uint32_t* red, uint32_t* green, uint32_t* blue);
// A surface that holds pixels of another format than the display's (a test
// drawing in one format of its own): masks, shots and presenting follow it.
void plat_surface_set_format(PlatSurface* s, PlatPixelFormat format);

// Writes the surface as a 24-bit BMP (for screenshots of tests and tools);
// false when the file cannot be written.
bool plat_surface_save_bmp(const PlatSurface* s, const char* path);

// A cleared surface in the display's format; the primary one is what gets
// presented.
PlatSurface* plat_surface_create(int32_t width, int32_t height, bool primary);
void plat_surface_release(PlatSurface* s);
PlatSurface* plat_primary_surface();

// Locks for direct access: the pixels (and the pitch in bytes). Always
// granted at once. Unlocking the primary surface marks it changed.
uint16_t* plat_surface_lock(PlatSurface* s, int32_t* pitch);
void plat_surface_unlock(PlatSurface* s);
// Restores a lost surface; surfaces in memory are never lost.
bool plat_surface_restore(PlatSurface* s);

// Fast copy of src's rectangle (whole surface when nullptr) to (x, y) of dst,
// cut at both surfaces' edges.
void plat_blt_fast(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, const PlatRect* rect);

// Marks the primary surface changed (for writers that bypass lock/unlock).
void plat_primary_changed();
// True once after each change: the window presents then.
bool plat_take_primary_changed();

// Waits for the start of the display's vertical blank (a 60 Hz beat with the
// real clock; at once with the virtual clock).
void plat_wait_vertical_blank();
