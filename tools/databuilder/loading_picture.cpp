// data.mkf entry 560: the full-screen loading picture, 640 x 480 RGB555
// pixels stored bare (not a frame set); all of it is converted on reading.
#include "builder.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kLoadingEntry = 560;

// A dusk sky over a row of towers, with an empty progress frame near the bottom.
std::vector<uint16_t> draw_loading_picture() {
    std::vector<uint16_t> px(static_cast<size_t>(kWidth) * kHeight);
    auto at = [&](int x, int y) -> uint16_t& { return px[static_cast<size_t>(y) * kWidth + x]; };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            int t = y * 255 / (kHeight - 1);
            at(x, y) = rgb555(40 + t / 2, 30 + t / 3, 120 - t / 3);
        }
    // Towers: widths and heights from a fixed sequence, each with lit windows.
    uint32_t seed = 7;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<uint32_t>(range));
    };
    for (int x0 = 0; x0 < kWidth;) {
        int w = 30 + next(50);
        int top = 180 + next(160);
        for (int y = top; y < 420; ++y)
            for (int x = x0; x < x0 + w && x < kWidth; ++x) {
                bool window = ((x - x0) % 8 >= 3) && ((x - x0) % 8 <= 5) && ((y - top) % 12 >= 4) &&
                              ((y - top) % 12 <= 7) && (x - x0) > 2 && (x - x0) < w - 3;
                at(x, y) = window ? rgb555(240, 220, 120) : rgb555(24, 24, 48);
            }
        x0 += w + 2 + next(6);
    }
    for (int y = 420; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            at(x, y) = rgb555(16, 16, 32);
    // Progress frame: a light outline around a dark bar.
    for (int y = 440; y < 456; ++y)
        for (int x = 170; x < 470; ++x) {
            bool edge = y == 440 || y == 455 || x == 170 || x == 469;
            at(x, y) = edge ? rgb555(230, 230, 240) : rgb555(8, 8, 16);
        }
    // A sun disc in the sky.
    for (int y = 40; y < 140; ++y)
        for (int x = 460; x < 560; ++x) {
            int dx = x - 510, dy = y - 90;
            if (dx * dx + dy * dy < 40 * 40) at(x, y) = rgb555(255, 200, 90);
        }
    return px;
}

void build_loading_picture(DataBuilder& b) {
    std::vector<uint16_t> px = draw_loading_picture();
    Bytes data;
    data.reserve(px.size() * 2);
    for (uint16_t p : px) {
        data.push_back(static_cast<uint8_t>(p));
        data.push_back(static_cast<uint8_t>(p >> 8));
    }
    mkf_writer_add(builder_archive(b, "data.mkf"), kLoadingEntry, data, 0,
                   static_cast<uint32_t>(data.size()));
}

} // namespace

KARVO_DATA_GENERATOR(build_loading_picture);
