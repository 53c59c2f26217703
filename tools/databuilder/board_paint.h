// Plain drawing for the board's stand-in pictures: a canvas of palette
// indices or of RGB555 pixels, filled with rectangles, discs and lines.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "mkf_writer.h"

template <typename P> struct Canvas {
    int w = 0, h = 0;
    std::vector<P> px;
    Canvas(int width, int height, P fill = 0)
        : w(width), h(height), px(size_t(width) * height, fill) {}
    void set(int x, int y, P v) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = v;
    }
    P get(int x, int y) const {
        return (x >= 0 && y >= 0 && x < w && y < h) ? px[size_t(y) * w + x] : P{};
    }
    void rect(int x0, int y0, int x1, int y1, P v) { // inclusive-exclusive
        for (int y = std::max(0, y0); y < std::min(h, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(w, x1); ++x)
                px[size_t(y) * w + x] = v;
    }
    void frame(int x0, int y0, int x1, int y1, P v) {
        rect(x0, y0, x1, y0 + 1, v);
        rect(x0, y1 - 1, x1, y1, v);
        rect(x0, y0, x0 + 1, y1, v);
        rect(x1 - 1, y0, x1, y1, v);
    }
    // An ellipse of radii rx, ry around (cx, cy).
    void disc(int cx, int cy, int rx, int ry, P v) {
        if (rx <= 0 || ry <= 0) return;
        for (int y = -ry; y <= ry; ++y)
            for (int x = -rx; x <= rx; ++x)
                if (int64_t(x) * x * ry * ry + int64_t(y) * y * rx * rx <=
                    int64_t(rx) * rx * ry * ry)
                    set(cx + x, cy + y, v);
    }
    // A line of the given half-width.
    void line(int x0, int y0, int x1, int y1, int half, P v) {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const int x = steps ? x0 + (x1 - x0) * i / steps : x0;
            const int y = steps ? y0 + (y1 - y0) * i / steps : y0;
            rect(x - half, y - half, x + half + 1, y + half + 1, v);
        }
    }
    // A diamond (a square turned on its corner, flattened).
    void diamond(int cx, int cy, int rx, int ry, P v) {
        for (int y = -ry; y <= ry; ++y) {
            const int span = rx - std::abs(y) * rx / std::max(1, ry);
            for (int x = -span; x <= span; ++x)
                set(cx + x, cy + y, v);
        }
    }
};

using Canvas8 = Canvas<uint8_t>;
using Canvas16 = Canvas<uint16_t>;

inline FrameImage frame_of(const Canvas8& c, int hot_x, int hot_y) {
    FrameImage f;
    f.width = static_cast<uint16_t>(c.w);
    f.height = static_cast<uint16_t>(c.h);
    f.hot_x = static_cast<int16_t>(hot_x);
    f.hot_y = static_cast<int16_t>(hot_y);
    f.indices = c.px;
    return f;
}

inline FrameImage frame_of(const Canvas16& c, int hot_x, int hot_y) {
    FrameImage f;
    f.width = static_cast<uint16_t>(c.w);
    f.height = static_cast<uint16_t>(c.h);
    f.hot_x = static_cast<int16_t>(hot_x);
    f.hot_y = static_cast<int16_t>(hot_y);
    f.pixels = c.px;
    return f;
}

// RGB555 of 0xRRGGBB; pure black is nudged so that it never reads as transparent.
inline uint16_t rgb555_of(uint32_t c) {
    const uint16_t p = rgb555(int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF));
    return p ? p : uint16_t{0x0421};
}

// Screen vector of each of the eight facings (0 down, 1 down-right, ...).
inline constexpr int FACING_DX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr int FACING_DY[8] = {1, 1, 0, -1, -1, -1, 0, 1};

// The calendar's day-page picture (a season's page or a holiday's picture,
// 200 x 200): the two page buttons the board screen answers at its top left
// (day, month), and the places its texts take, which ornaments keep clear of:
// the year top right, the month and the day number in the middle, the
// weekday down the left edge.
inline void calendar_page_buttons(Canvas16& p) {
    p.rect(8, 8, 34, 34, rgb555_of(0xC06040));
    p.rect(38, 8, 64, 34, rgb555_of(0x4060C0));
    p.frame(8, 8, 34, 34, rgb555_of(0x302010));
    p.frame(38, 8, 64, 34, rgb555_of(0x302010));
}
// The column right of the texts where a holiday picture's ornaments go.
inline constexpr int CALENDAR_ORNAMENT_X0 = 140, CALENDAR_ORNAMENT_X1 = 196;
inline constexpr int CALENDAR_ORNAMENT_Y0 = 44, CALENDAR_ORNAMENT_Y1 = 166;
