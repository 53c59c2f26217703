#include "platform/surface.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"

namespace {

struct SurfaceStore {
    std::unique_ptr<PlatSurface> surface;
    std::unique_ptr<uint16_t[]> pixels;
};

std::vector<SurfaceStore> g_surfaces;
PlatSurface* g_primary = nullptr;
PlatPixelFormat g_format = PLAT_RGB565;
std::atomic<bool> g_primary_dirty{false};

PlatPixelFormat format_from_env() {
    const char* env = std::getenv("KARVO_PIXEL_FORMAT");
    if (!env) return PLAT_RGB565;
    std::string s = env;
    if (s == "rgb555") return PLAT_RGB555;
    if (s == "bgr565") return PLAT_BGR565;
    if (s == "rgb444") return PLAT_RGB444;
    return PLAT_RGB565;
}

} // namespace

void plat_surface_reset() {
    g_surfaces.clear();
    g_primary = nullptr;
    g_format = format_from_env();
    g_primary_dirty = false;
}

PlatPixelFormat plat_pixel_format() {
    return g_format;
}
void plat_set_pixel_format(PlatPixelFormat format) {
    g_format = format;
}

void plat_surface_masks(const PlatSurface* s, uint32_t* red, uint32_t* green, uint32_t* blue) {
    uint32_t r = 0, g = 0, b = 0;
    switch (s ? s->format : g_format) {
    case PLAT_RGB555:
        r = 0x7C00, g = 0x03E0, b = 0x001F;
        break;
    case PLAT_RGB565:
        r = 0xF800, g = 0x07E0, b = 0x001F;
        break;
    case PLAT_BGR565:
        r = 0x001F, g = 0x07E0, b = 0xF800;
        break;
    case PLAT_RGB444:
        r = 0x0F00, g = 0x00F0, b = 0x000F;
        break;
    }
    if (red) *red = r;
    if (green) *green = g;
    if (blue) *blue = b;
}

PlatSurface* plat_surface_create(int32_t width, int32_t height, bool primary) {
    if (width <= 0 || height <= 0) return nullptr;
    SurfaceStore store;
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    store.pixels.reset(new uint16_t[count]());
    store.surface = std::make_unique<PlatSurface>();
    PlatSurface* s = store.surface.get();
    s->pixels = store.pixels.get();
    s->width = width;
    s->height = height;
    s->pitch = width * 2;
    s->primary = primary;
    s->format = g_format;
    g_surfaces.push_back(std::move(store));
    if (primary) {
        g_primary = s;
        g_primary_dirty = true;
    }
    return s;
}

void plat_surface_release(PlatSurface* s) {
    if (!s) return;
    if (s == g_primary) g_primary = nullptr;
    g_surfaces.erase(std::remove_if(g_surfaces.begin(), g_surfaces.end(),
                                    [s](const SurfaceStore& st) { return st.surface.get() == s; }),
                     g_surfaces.end());
}

void plat_surface_set_format(PlatSurface* s, PlatPixelFormat format) {
    if (!s) return;
    s->format = format;
    if (s->primary) g_primary_dirty = true;
}

PlatSurface* plat_primary_surface() {
    return g_primary;
}

uint16_t* plat_surface_lock(PlatSurface* s, int32_t* pitch) {
    if (!s) return nullptr;
    ++s->locks;
    if (pitch) *pitch = s->pitch;
    return s->pixels;
}

void plat_surface_unlock(PlatSurface* s) {
    if (!s) return;
    if (s->locks > 0) --s->locks;
    if (s->primary) g_primary_dirty = true;
}

bool plat_surface_restore(PlatSurface* s) {
    return s != nullptr;
}

void plat_blt_fast(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, const PlatRect* rect) {
    if (!dst || !src) return;
    PlatRect r = rect ? *rect : PlatRect{0, 0, src->width, src->height};
    // Cut the source rectangle to the source, then the target to the target.
    if (r.left < 0) x -= r.left, r.left = 0;
    if (r.top < 0) y -= r.top, r.top = 0;
    r.right = std::min(r.right, src->width);
    r.bottom = std::min(r.bottom, src->height);
    if (x < 0) r.left -= x, x = 0;
    if (y < 0) r.top -= y, y = 0;
    int32_t w = std::min(r.right - r.left, dst->width - x);
    int32_t h = std::min(r.bottom - r.top, dst->height - y);
    if (w <= 0 || h <= 0) return;
    const auto* s = reinterpret_cast<const uint8_t*>(src->pixels) + r.top * src->pitch + r.left * 2;
    auto* d = reinterpret_cast<uint8_t*>(dst->pixels) + y * dst->pitch + x * 2;
    for (int32_t row = 0; row < h; ++row)
        std::memmove(d + row * dst->pitch, s + row * src->pitch, static_cast<size_t>(w) * 2);
    if (dst->primary) g_primary_dirty = true;
}

void plat_primary_changed() {
    g_primary_dirty = true;
}

bool plat_take_primary_changed() {
    return g_primary_dirty.exchange(false);
}

void plat_wait_vertical_blank() {
    if (plat_clock_is_virtual()) return;
    constexpr uint32_t frame_ms = 16; // about 60 Hz
    uint32_t now = plat_tick_count();
    std::this_thread::sleep_for(std::chrono::milliseconds(frame_ms - now % frame_ms));
}

bool plat_surface_save_bmp(const PlatSurface* s, const char* path) {
    if (!s || !s->pixels) return false;
    uint32_t masks[3] = {0, 0, 0}; // blue, green, red: the BMP's byte order
    plat_surface_masks(s, &masks[2], &masks[1], &masks[0]);
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const int w = s->width, h = s->height, row = (w * 3 + 3) & ~3;
    uint8_t hdr[54] = {'B', 'M'};
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            hdr[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(2, 54u + static_cast<uint32_t>(row * h));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    hdr[26] = 1;
    hdr[28] = 24;
    bool ok = std::fwrite(hdr, 1, sizeof hdr, f) == sizeof hdr;
    std::vector<uint8_t> line(static_cast<size_t>(row), 0);
    for (int y = h - 1; y >= 0 && ok; --y) {
        const uint16_t* src = s->pixels + static_cast<ptrdiff_t>(y) * (s->pitch / 2);
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                const uint32_t m = masks[c];
                const uint32_t top = m ? m >> std::countr_zero(m) : 0;
                const uint32_t v = top ? (src[x] & m) >> std::countr_zero(m) : 0;
                line[3 * x + c] = static_cast<uint8_t>(top ? v * 255 / top : 0);
            }
        }
        ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
    }
    return std::fclose(f) == 0 && ok;
}
