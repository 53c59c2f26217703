// The items' stand-in pictures, films and sounds: PANEL.MKF 72 (the remote
// dice's strip and its six lit faces), data.mkf 487 (a missile strike) and
// 489 (a mushroom cloud) over the board, and EFFECT.MKF 81 and 83 (the
// sounds of the missile and the nuclear missile; the robot worker's film
// shares the construction film and its sound).
#include "builder.h"
#include "canvas.h"
#include "flc_writer.h"
#include "sound_synth.h"

#include <cmath>
#include <vector>

namespace {

// ---- PANEL.MKF 72: 256 x 55, faces 30 x 30 at x = 12 + 40 (face - 1), y 14.

constexpr int STRIP_W = 256, STRIP_H = 55;
constexpr int FACE_X = 12, FACE_STEP = 40, FACE_Y = 14, FACE = 30;
constexpr uint16_t kInk = rgb555(20, 20, 30);

void draw_face(Canvas& cv, int x, int y, int face, bool lit) {
    cv.fill(x, y, FACE, FACE, lit ? rgb555(250, 220, 90) : rgb555(245, 245, 240));
    cv.frame(x, y, FACE, FACE, lit ? rgb555(200, 40, 30) : kInk);
    if (lit) cv.frame(x + 1, y + 1, FACE - 2, FACE - 2, rgb555(200, 40, 30));
    // Pips on a 3 x 3 grid.
    static const uint16_t pips[7] = {0, 0x010, 0x101, 0x111, 0x145, 0x155, 0x16D};
    for (int k = 0; k < 9; ++k) {
        if (!(pips[face] & (1 << k))) continue;
        const int px = x + 7 + (k % 3) * 8, py = y + 7 + (k / 3) * 8;
        cv.ellipse(px, py, 3, 3, face == 1 ? rgb555(210, 30, 30) : kInk);
    }
}

void build_dice_strip(ArchiveWriter& panel) {
    std::vector<FrameImage> frames;
    Canvas strip(STRIP_W, STRIP_H);
    strip.fill(0, 0, STRIP_W, STRIP_H, rgb555(60, 70, 110));
    strip.frame(0, 0, STRIP_W, STRIP_H, kInk);
    strip.frame(2, 2, STRIP_W - 4, STRIP_H - 4, rgb555(170, 180, 220));
    for (int f = 1; f <= 6; ++f)
        draw_face(strip, FACE_X + FACE_STEP * (f - 1), FACE_Y, f, false);
    frames.push_back(strip.img);
    for (int f = 1; f <= 6; ++f) {
        Canvas lit(FACE, FACE);
        draw_face(lit, 0, 0, f, true);
        frames.push_back(lit.img);
    }
    mkf_writer_add_frameset(panel, 72, frameset_smp(frames));
}

// ---- data.mkf 487 and 489: 440 x 440 over the board (index 0 lets it show).

constexpr int SIDE = 440;
enum : uint8_t { NONE = 0, WHITE, YELLOW, ORANGE, RED, GREY, DARK, SMOKE, STEEL };

std::vector<FlcRgb> palette() {
    std::vector<FlcRgb> p(256, FlcRgb{0, 0, 0});
    const FlcRgb named[] = {{0, 0, 0},      {255, 255, 240}, {250, 230, 60},
                            {250, 140, 20}, {210, 40, 30},   {150, 150, 150},
                            {60, 60, 70},   {200, 190, 170}, {120, 140, 170}};
    for (size_t i = 0; i < sizeof named / sizeof named[0]; ++i)
        p[i] = named[i];
    return p;
}

struct Frame {
    std::vector<uint8_t> px = std::vector<uint8_t>(SIDE * SIDE, NONE);
    void dot(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < SIDE && y < SIDE) px[y * SIDE + x] = c;
    }
    void ellipse(int cx, int cy, int rx, int ry, uint8_t c) {
        for (int y = -ry; y <= ry; ++y)
            for (int x = -rx; x <= rx; ++x)
                if (static_cast<double>(x * x) / (rx * rx + 1) +
                        static_cast<double>(y * y) / (ry * ry + 1) <=
                    1.0)
                    dot(cx + x, cy + y, c);
    }
    void rect(int x0, int y0, int w, int h, uint8_t c) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                dot(x, y, c);
    }
};

// A missile comes down on the middle of the board and bursts.
std::vector<std::vector<uint8_t>> missile_strike() {
    constexpr int frames = 14, fall = 6;
    std::vector<std::vector<uint8_t>> out;
    const int cx = SIDE / 2, cy = SIDE / 2;
    for (int n = 0; n < frames; ++n) {
        Frame f;
        if (n < fall) {
            const int y = cy * n / fall;
            const int x = cx - 120 + 120 * n / fall;
            f.rect(x - 6, y - 30, 12, 30, STEEL);
            f.ellipse(x, y, 6, 6, RED);
            f.ellipse(x - 10, y - 40, 8, 12, SMOKE);
        } else {
            const int r = 20 + (n - fall) * 22;
            f.ellipse(cx, cy, r, r * 3 / 4, n < frames - 2 ? ORANGE : SMOKE);
            f.ellipse(cx, cy, r * 2 / 3, r / 2, n < frames - 2 ? YELLOW : GREY);
            f.ellipse(cx, cy, r / 3, r / 4, WHITE);
        }
        out.push_back(std::move(f.px));
    }
    return out;
}

// A flash, then a mushroom cloud rising over the whole board.
std::vector<std::vector<uint8_t>> mushroom_cloud() {
    constexpr int frames = 16;
    std::vector<std::vector<uint8_t>> out;
    const int cx = SIDE / 2, ground = SIDE - 60;
    for (int n = 0; n < frames; ++n) {
        Frame f;
        if (n < 2) {
            f.rect(0, 0, SIDE, SIDE, WHITE);
        } else {
            const int rise = std::min(n - 2, 9);
            const int top = ground - 60 - rise * 30;
            f.ellipse(cx, ground, 60 + n * 10, 20 + n * 2, SMOKE);
            f.rect(cx - 24, top, 48, ground - top, GREY);
            f.ellipse(cx, top, 70 + rise * 8, 40 + rise * 4, ORANGE);
            f.ellipse(cx, top - 10, 50 + rise * 6, 26 + rise * 3, n < frames - 3 ? RED : DARK);
            f.ellipse(cx, top + 20, 90 + rise * 9, 16 + rise, SMOKE);
        }
        out.push_back(std::move(f.px));
    }
    return out;
}

void build_item_pictures(DataBuilder& b) {
    build_dice_strip(builder_archive(b, "PANEL.MKF"));
    ArchiveWriter& data = builder_archive(b, "data.mkf");
    mkf_writer_add(data, 487, flc_encode(SIDE, SIDE, 70, palette(), missile_strike()));
    mkf_writer_add(data, 489, flc_encode(SIDE, SIDE, 90, palette(), mushroom_cloud()));
    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    auto add = [&effects](int entry, void (*make)(Synth&)) {
        Synth s;
        make(s);
        mkf_writer_add(effects, entry, wave_image_u8(s.u8(), 22050));
    };
    add(81, [](Synth& s) { // a whistle coming down, then the blast
        s.tone(1800, 500, 500, 0, 0.5, 0);
        s.noise(600, 1.0, 0.2, 4);
    });
    add(83, [](Synth& s) { // a deep, long roar
        s.noise(300, 1.0, 0.6, 1);
        s.noise(1200, 0.9, 0.05, 1.5);
    });
}

} // namespace

KARVO_DATA_GENERATOR(build_item_pictures);
