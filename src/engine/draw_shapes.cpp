// Lines and filled disc sectors drawn in software into a 16-bit image (the
// stock detail page's chart and pie).
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "engine/draw.h"

namespace {

struct Cut {
    int left, top, right, bottom;
};

// The clip rectangle cut to the image; false when nothing is left.
bool cut_to(const ImageRecord* target, const PlatRect& clip, Cut* out) {
    if (target == nullptr || target->pixels == nullptr) return false;
    out->left = clip.left > 0 ? clip.left : 0;
    out->top = clip.top > 0 ? clip.top : 0;
    out->right = clip.right < target->width ? clip.right : target->width;
    out->bottom = clip.bottom < target->height ? clip.bottom : target->height;
    return out->left < out->right && out->top < out->bottom;
}

} // namespace

void draw_line_clip(ImageRecord* target, const PlatRect& clip, int x0, int y0, int x1, int y1,
                    uint32_t rgb) {
    Cut c{};
    if (!cut_to(target, clip, &c)) return;
    const uint16_t colour = gfx_rgb_to_pixel(rgb);
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x0 >= c.left && x0 < c.right && y0 >= c.top && y0 < c.bottom)
            target->pixels[static_cast<size_t>(y0) * target->width + x0] = colour;
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void draw_sector_clip(ImageRecord* target, const PlatRect& clip, int cx, int cy, int r,
                      int64_t from, int64_t to, int64_t whole, uint32_t rgb) {
    Cut c{};
    if (r < 0 || whole <= 0 || from >= to || !cut_to(target, clip, &c)) return;
    const uint16_t colour = gfx_rgb_to_pixel(rgb);
    const int64_t r2 = static_cast<int64_t>(r) * r;
    const double turn = 2.0 * std::numbers::pi;
    for (int dy = -r; dy <= r; ++dy) {
        const int y = cy + dy;
        if (y < c.top || y >= c.bottom) continue;
        for (int dx = -r; dx <= r; ++dx) {
            const int x = cx + dx;
            if (x < c.left || x >= c.right) continue;
            if (static_cast<int64_t>(dx) * dx + static_cast<int64_t>(dy) * dy > r2) continue;
            // Clockwise from straight up on a screen whose y grows downward.
            double angle = std::atan2(static_cast<double>(dx), static_cast<double>(-dy));
            if (angle < 0) angle += turn;
            const double at = angle / turn * static_cast<double>(whole);
            if (at < static_cast<double>(from) || at >= static_cast<double>(to)) continue;
            target->pixels[static_cast<size_t>(y) * target->width + x] = colour;
        }
    }
}
