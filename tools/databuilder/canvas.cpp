#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "maps_layout.h"
#include "platform/text.h"

Canvas::Canvas(int w, int h, int hot_x, int hot_y) {
    img.width = static_cast<uint16_t>(w);
    img.height = static_cast<uint16_t>(h);
    img.hot_x = static_cast<int16_t>(hot_x);
    img.hot_y = static_cast<int16_t>(hot_y);
    img.pixels.assign(static_cast<size_t>(w) * h, 0);
}

void Canvas::fill(int x, int y, int w, int h, uint16_t c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            put(i, j, c);
}

void Canvas::frame(int x, int y, int w, int h, uint16_t c) {
    fill(x, y, w, 1, c);
    fill(x, y + h - 1, w, 1, c);
    fill(x, y, 1, h, c);
    fill(x + w - 1, y, 1, h, c);
}

void Canvas::ellipse(int cx, int cy, int rx, int ry, uint16_t c) {
    for (int j = -ry; j <= ry; ++j)
        for (int i = -rx; i <= rx; ++i)
            if (static_cast<double>(i) * i * ry * ry + static_cast<double>(j) * j * rx * rx <=
                static_cast<double>(rx) * rx * ry * ry)
                put(cx + i, cy + j, c);
}

void Canvas::line(int x0, int y0, int x1, int y1, uint16_t c, int thick) {
    const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int k = 0; k <= n; ++k) {
        const int x = n ? x0 + (x1 - x0) * k / n : x0;
        const int y = n ? y0 + (y1 - y0) * k / n : y0;
        fill(x - thick / 2, y - thick / 2, thick, thick, c);
    }
}

void Canvas::polygon(const int* xy, int corners, uint16_t c) {
    for (int y = 0; y < img.height; ++y) {
        const double sy = y + 0.5;
        for (int x = 0; x < img.width; ++x) {
            const double sx = x + 0.5;
            bool in = false;
            for (int i = 0, j = corners - 1; i < corners; j = i++) {
                const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
                if ((yi > sy) != (yj > sy) && sx < (xj - xi) * (sy - yi) / (yj - yi) + xi) in = !in;
            }
            if (in) at(x, y) = c;
        }
    }
}

bool Canvas::label(const std::string& utf8, int x, int y, int height, uint16_t c, bool centred,
                   bool bold) {
    PlatFont* font = plat_font_get(height, bold);
    if (!font) return false;
    const std::string gbk = standin_gbk(utf8, 256);
    int w = 0, h = 0;
    plat_text_measure(font, gbk.c_str(), 0, &w, &h);
    const int left = centred ? x - w / 2 : x;
    plat_text_draw(font, gbk.c_str(), 0, img.pixels.data(), img.width, img.width, img.height, left,
                   y, 0, c);
    return true;
}

FrameImage numbered_picture(int number, int w, int h, uint16_t background, int hot_x, int hot_y) {
    Canvas cv(w, h, hot_x, hot_y);
    cv.fill(0, 0, w, h, background);
    cv.frame(0, 0, w, h, rgb555(250, 250, 250));
    const int size = std::max(8, std::min(h - 4, 16));
    cv.label(std::to_string(number), w / 2, (h - size) / 2, size, rgb555(16, 16, 16), true);
    return cv.img;
}
