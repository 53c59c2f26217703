// A small painter for the stand-in pictures: RGB555 pixels (0 transparent),
// filled shapes and labels drawn with the game's own font service.
#pragma once

#include <cstdint>
#include <string>

#include "mkf_writer.h"

struct Canvas {
    FrameImage img;
    Canvas(int w, int h, int hot_x = 0, int hot_y = 0);
    uint16_t& at(int x, int y) { return img.pixels[static_cast<size_t>(y) * img.width + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < img.width && y < img.height; }
    void put(int x, int y, uint16_t c) {
        if (inside(x, y)) at(x, y) = c;
    }
    void fill(int x, int y, int w, int h, uint16_t c);
    void frame(int x, int y, int w, int h, uint16_t c);
    // A filled disc or ellipse centred on (cx, cy).
    void ellipse(int cx, int cy, int rx, int ry, uint16_t c);
    void line(int x0, int y0, int x1, int y1, uint16_t c, int thick = 1);
    // A filled polygon (even-odd), corners as x, y pairs.
    void polygon(const int* xy, int corners, uint16_t c);
    // A label (UTF-8) in the game's font, height in pixels, centred on cx or
    // left at x, its top at y; false when no font could be had.
    bool label(const std::string& utf8, int x, int y, int height, uint16_t c, bool centred,
               bool bold = true);
};

// A picture of a number (placeholders), w x h, in a colour.
FrameImage numbered_picture(int number, int w, int h, uint16_t background, int hot_x = 0,
                            int hot_y = 0);
