// The board intro: JUMP.MKF 41 (the board picture, the final picture, the
// portrait frame and the portraits), 42 (the opening animation), 43-54 (each
// character jumping in past its portrait) and 55-66 (each character's run
// along the bottom of the final picture), and its two sounds, EFFECT.MKF 25
// (the board appears) and 26 (a character lands).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "builder.h"
#include "canvas.h"
#include "data/characters.h"
#include "flc_writer.h"
#include "portraits.h"
#include "shell/intro.h"
#include "sound_synth.h"

namespace {

const uint16_t kInk = rgb555(24, 20, 20);
const uint16_t kWhite = rgb555(248, 248, 248);
const uint16_t kGold = rgb555(236, 190, 60);
const uint16_t kGoldDark = rgb555(150, 104, 30);
const uint16_t kRoad = rgb555(90, 90, 100);

uint16_t colour_of(uint32_t rgb) {
    return rgb555((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF) | 0x0421; // never 0
}

// ---- The pictures

// The road along the bottom, where the closing moves run.
void road(Canvas& cv) {
    const PlatRect& s = INTRO_CLOSING_STRIP;
    cv.fill(s.left, s.top, s.right - s.left, s.bottom - s.top, kRoad);
    cv.fill(s.left, s.top, s.right - s.left, 3, rgb555(200, 200, 190));
    for (int x = 10; x < s.right; x += 48)
        cv.fill(x, s.top + 19, 26, 3, kWhite);
}

// A ring of squares round the edge of the board, the corners in gold.
void squares(Canvas& cv) {
    const uint16_t colours[4] = {rgb555(230, 90, 80), rgb555(90, 160, 230), rgb555(250, 210, 80),
                                 rgb555(120, 200, 110)};
    constexpr int S = 40, TOP = 0, BOTTOM = 400;
    for (int i = 0; i < 16; ++i) {
        const uint16_t c = (i == 0 || i == 15) ? kGold : colours[i % 4];
        for (int y : {TOP, BOTTOM}) {
            cv.fill(i * S + 1, y + 1, S - 2, S - 2, c);
            cv.frame(i * S, y, S, S, kInk);
        }
    }
    for (int j = 1; j < 10; ++j)
        for (int x : {0, 600}) {
            cv.fill(x + 1, j * S + 1, S - 2, S - 2, colours[(j + x / S) % 4]);
            cv.frame(x, j * S, S, S, kInk);
        }
}

// The board: green felt inside the ring of squares, a spotlit stage where the
// portraits appear, houses on either side.
FrameImage board_picture(bool final) {
    Canvas cv(640, 480);
    for (int y = 0; y < 480; ++y) {
        const int t = y * 255 / 479;
        cv.fill(0, y, 640, 1,
                final ? rgb555(60 + t / 4, 140 + t / 5, 200 - t / 4)
                      : rgb555(40 + t / 8, 120 + t / 6, 70 + t / 8));
    }
    squares(cv);
    road(cv);
    const PlatRect& a = INTRO_PORTRAIT_AREA;
    const int cx = (a.left + a.right) / 2, cy = (a.top + a.bottom) / 2;
    if (!final) {
        cv.ellipse(cx, cy, 108, 118, rgb555(250, 240, 180));
        cv.ellipse(cx, cy, 100, 110, rgb555(220, 220, 150));
        cv.label("卡尔沃", cx, 322, 40, rgb555(250, 240, 200), true);
        cv.label("谁将成为地产大亨？", cx, 368, 20, rgb555(250, 250, 250), true);
    } else {
        cv.ellipse(320, 200, 150, 100, rgb555(250, 220, 90));
        cv.ellipse(320, 200, 142, 92, rgb555(200, 40, 40));
        cv.label("出发！", 320, 155, 72, rgb555(250, 240, 200), true);
        cv.label("祝各位好运", 320, 330, 28, rgb555(250, 250, 250), true);
        uint32_t seed = 5;
        for (int k = 0; k < 90; ++k) { // confetti
            seed = seed * 1103515245u + 12345u;
            const int x = 48 + static_cast<int>((seed >> 8) % 544);
            const int y = 48 + static_cast<int>((seed >> 20) % 340);
            cv.fill(x, y, 5, 3, colour_of(character_table[k % CHARACTER_COUNT].colour));
        }
    }
    // Houses on the felt, left and right of the stage.
    for (int side = 0; side < 2; ++side)
        for (int k = 0; k < 3; ++k) {
            const int x = side == 0 ? 64 + 34 * (k % 2) : 500 + 34 * (k % 2);
            const int y = 90 + 100 * k;
            const int roof[] = {x - 4, y + 18, x + 28, y - 4, x + 60, y + 18};
            cv.polygon(roof, 3, rgb555(190, 60, 50));
            cv.fill(x, y + 18, 56, 40, rgb555(240, 230, 200));
            cv.frame(x, y + 18, 56, 40, kInk);
            cv.fill(x + 22, y + 36, 12, 22, rgb555(120, 80, 40));
        }
    return cv.img;
}

// The frame round a portrait: a gold border with a see-through window and a
// plinth below. Drawn at (INTRO_FRAME_X, INTRO_FRAME_Y), its hot spot puts it
// exactly over the portrait area.
constexpr int FRAME_W = INTRO_PORTRAIT_AREA.right - INTRO_PORTRAIT_AREA.left;
constexpr int FRAME_H = INTRO_PORTRAIT_AREA.bottom - INTRO_PORTRAIT_AREA.top;
constexpr int FRAME_DX = INTRO_PORTRAIT_AREA.left - INTRO_FRAME_X;
constexpr int FRAME_DY = INTRO_PORTRAIT_AREA.top - INTRO_FRAME_Y;
// The portrait: its hot spot at the drawing point, its window inside the frame.
constexpr int FACE_W = 120, FACE_H = 140;
constexpr int FACE_LEFT = 230, FACE_TOP = 100; // on the screen
constexpr int FACE_HOT_X = INTRO_PORTRAIT_X - FACE_LEFT, FACE_HOT_Y = INTRO_PORTRAIT_Y - FACE_TOP;
constexpr int PLINTH_TOP = 256; // on the screen: where the jump-ins land

FrameImage portrait_frame() {
    Canvas cv(FRAME_W, FRAME_H, -FRAME_DX, -FRAME_DY);
    const int wl = FACE_LEFT - INTRO_PORTRAIT_AREA.left, wt = FACE_TOP - INTRO_PORTRAIT_AREA.top;
    constexpr int B = 10; // border width
    cv.fill(wl - B, wt - B, FACE_W + 2 * B, FACE_H + 2 * B, kGold);
    cv.frame(wl - B, wt - B, FACE_W + 2 * B, FACE_H + 2 * B, kInk);
    cv.frame(wl - B + 3, wt - B + 3, FACE_W + 2 * B - 6, FACE_H + 2 * B - 6, kGoldDark);
    cv.fill(wl, wt, FACE_W, FACE_H, 0);
    cv.frame(wl - 1, wt - 1, FACE_W + 2, FACE_H + 2, kInk);
    const int pt = PLINTH_TOP - INTRO_PORTRAIT_AREA.top;
    cv.fill(wl - 20, pt, FACE_W + 40, 26, rgb555(150, 90, 50));
    cv.fill(wl - 20, pt, FACE_W + 40, 4, rgb555(200, 140, 90));
    cv.frame(wl - 20, pt, FACE_W + 40, 26, kInk);
    for (int k = 0; k < 4; ++k) // studs in the corners of the border
        cv.ellipse(wl - B / 2 + (k % 2) * (FACE_W + B), wt - B / 2 + (k / 2) * (FACE_H + B), 3, 3,
                   rgb555(250, 240, 200));
    return cv.img;
}

FrameImage portrait(int character) {
    Canvas cv(FACE_W, FACE_H, FACE_HOT_X, FACE_HOT_Y);
    cv.fill(0, 0, FACE_W, FACE_H, rgb555(200, 220, 240));
    const uint16_t own = colour_of(character_table[character].colour);
    cv.ellipse(FACE_W / 2, FACE_H + 10, 54, 44, own); // the shoulders
    standin_draw_head(cv, 10, 4, 100, character, 0);
    for (uint16_t& p : cv.img.pixels) // the portrait is solid: no see-through gaps
        if (p == 0) p = rgb555(200, 220, 240);
    return cv.img;
}

FrameSetBytes intro_pictures() {
    std::vector<FrameImage> f;
    f.push_back(board_picture(false)); // 0
    f.push_back(board_picture(true));  // 1
    f.push_back(Canvas(1, 1).img);     // 2 (not used)
    f.push_back(portrait_frame());     // 3
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        f.push_back(portrait(c)); // 4 + c
    return frameset_smp(f);
}

// ---- The animations, 8-bit: index 0 lets the picture behind show through

enum Colour : uint8_t { C_NONE, C_INK, C_SKIN, C_WHITE, C_YELLOW, C_RED, C_SHOE, C_OWN = 16 };

std::vector<FlcRgb> palette() {
    std::vector<FlcRgb> p(256, FlcRgb{0, 0, 0});
    p[C_INK] = {24, 20, 20};
    p[C_SKIN] = {250, 214, 170};
    p[C_WHITE] = {250, 250, 250};
    p[C_YELLOW] = {250, 220, 60};
    p[C_RED] = {210, 40, 32};
    p[C_SHOE] = {70, 50, 40};
    for (int c = 0; c < CHARACTER_COUNT; ++c) {
        const uint32_t rgb = character_table[c].colour;
        p[C_OWN + c] = FlcRgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                              static_cast<uint8_t>(rgb)};
    }
    return p;
}

struct Pic {
    int w, h;
    std::vector<uint8_t> px;
    Pic(int width, int height) : w(width), h(height), px(static_cast<size_t>(width) * height, 0) {}
    void dot(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<size_t>(y) * w + x] = c;
    }
    void disc(int cx, int cy, int r, uint8_t c) {
        for (int j = -r; j <= r; ++j)
            for (int i = -r; i <= r; ++i)
                if (i * i + j * j <= r * r) dot(cx + i, cy + j, c);
    }
    void rect(int x, int y, int rw, int rh, uint8_t c) {
        for (int j = y; j < y + rh; ++j)
            for (int i = x; i < x + rw; ++i)
                dot(i, j, c);
    }
    void line(int x0, int y0, int x1, int y1, int thick, uint8_t c) {
        const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int k = 0; k <= n; ++k)
            disc(n ? x0 + (x1 - x0) * k / n : x0, n ? y0 + (y1 - y0) * k / n : y0, thick / 2, c);
    }
};

enum Pose { RUN_A, RUN_B, LEAP, CHEER };

// A character's figure, feet at (x, y), in its own colour.
void figure(Pic& p, int x, int y, int character, Pose pose) {
    const uint8_t own = static_cast<uint8_t>(C_OWN + character);
    const int hip = y - 30, neck = y - 62;
    // Legs.
    const int spread = pose == RUN_A ? 14 : pose == RUN_B ? -14 : pose == LEAP ? 18 : 8;
    p.line(x, hip, x + spread, y - 2, 6, C_INK);
    p.line(x, hip, x - spread, y - 2, 6, C_INK);
    p.rect(x + spread - 4, y - 4, 9, 4, C_SHOE);
    p.rect(x - spread - 4, y - 4, 9, 4, C_SHOE);
    // Body and arms.
    p.rect(x - 10, neck, 21, hip - neck + 2, own);
    const bool up = pose == LEAP || pose == CHEER;
    p.line(x - 9, neck + 6, x - 22, up ? neck - 16 : neck + 24 - spread / 2, 5, own);
    p.line(x + 9, neck + 6, x + 22, up ? neck - 16 : neck + 24 + spread / 2, 5, own);
    p.disc(x - 22, up ? neck - 18 : neck + 26 - spread / 2, 4, C_SKIN);
    p.disc(x + 22, up ? neck - 18 : neck + 26 + spread / 2, 4, C_SKIN);
    // Head with hair in the character's colour.
    p.disc(x, neck - 14, 14, C_INK);
    p.disc(x, neck - 14, 12, C_SKIN);
    for (int j = -13; j <= -4; ++j)
        for (int i = -13; i <= 13; ++i)
            if (i * i + j * j <= 169) p.dot(x + i, neck - 14 + j, own);
    p.disc(x - 5, neck - 13, 2, C_INK);
    p.disc(x + 5, neck - 13, 2, C_INK);
    p.line(x - 5, neck - 6, x + 5, neck - 6, 2, pose == CHEER ? C_RED : C_INK);
}

// A four-pointed sparkle.
void sparkle(Pic& p, int cx, int cy, int r, uint8_t c) {
    p.line(cx - r, cy, cx + r, cy, 3, c);
    p.line(cx, cy - r, cx, cy + r, 3, c);
    p.disc(cx, cy, 3, C_WHITE);
}

constexpr int JUMP_FRAMES = 34;
constexpr int LAND_FRAME = INTRO_JUMP_SOUND_FRAME - 1; // shown as the 20th frame
constexpr int JUMP_MS = 40;

// In from the lower left in one leap onto the plinth below the portrait,
// landing as the 20th frame shows (the landing sound), a cheer, then off to
// the right: the picture behind is left as it was.
FlcBytes jump_in(int character) {
    const int land_x = (INTRO_PORTRAIT_AREA.left + INTRO_PORTRAIT_AREA.right) / 2;
    const int land_y = PLINTH_TOP + 1;
    std::vector<std::vector<uint8_t>> frames;
    for (int n = 0; n < JUMP_FRAMES; ++n) {
        Pic p(640, 480);
        if (n <= LAND_FRAME) {
            const double t = static_cast<double>(n) / LAND_FRAME;
            const int x = static_cast<int>(-30 + (land_x + 30) * t);
            const int y = static_cast<int>(478 + (land_y - 478) * t - 260 * std::sin(t * 3.14159));
            figure(p, x, y, character, n == LAND_FRAME ? CHEER : LEAP);
            if (n == LAND_FRAME)
                for (int k = 0; k < 4; ++k)
                    sparkle(p, land_x - 40 + 80 * (k % 2), land_y - 90 + 60 * (k / 2), 8, C_YELLOW);
        } else if (n < LAND_FRAME + 8) {
            const int bob = (n - LAND_FRAME) % 2 == 0 ? 0 : -6;
            figure(p, land_x, land_y + bob, character, CHEER);
            sparkle(p, land_x - 44, land_y - 96 + bob, 6 + (n % 3) * 2, C_YELLOW);
            sparkle(p, land_x + 44, land_y - 70 - bob, 6 + ((n + 1) % 3) * 2, C_YELLOW);
        } else {
            const int k = n - (LAND_FRAME + 8), left = JUMP_FRAMES - (LAND_FRAME + 8);
            const double t = static_cast<double>(k + 1) / left;
            const int x = static_cast<int>(land_x + (700 - land_x) * t);
            const int y =
                static_cast<int>(land_y + (470 - land_y) * t - 120 * std::sin(t * 3.14159));
            figure(p, x, y, character, LEAP);
        }
        frames.push_back(std::move(p.px));
    }
    return flc_encode(640, 480, JUMP_MS, palette(), frames);
}

constexpr int RUN_FRAMES = 26;
constexpr int RUN_MS = 40;

// Across the road at the bottom, left to right and out of the picture.
FlcBytes closing_move(int character) {
    std::vector<std::vector<uint8_t>> frames;
    const int ground = INTRO_CLOSING_STRIP.bottom - 4;
    for (int n = 0; n < RUN_FRAMES; ++n) {
        Pic p(640, 480);
        const int x = -30 + (700 * (n + 1)) / RUN_FRAMES;
        // The figure is taller than the strip: it runs with its feet on the
        // road, its head over the picture, and leaves nothing when it is gone.
        figure(p, x, ground - (n % 2 ? 3 : 0), character, n % 2 ? RUN_B : RUN_A);
        for (int k = 1; k <= 3; ++k) // dust behind
            p.disc(x - 20 - 14 * k, ground - 4 - (n + k) % 3, 5 - k, C_WHITE);
        frames.push_back(std::move(p.px));
    }
    return flc_encode(640, 480, RUN_MS, palette(), frames);
}

constexpr int OPEN_FRAMES = 26;
constexpr int OPEN_MS = 50;

// The words of the opening as indices: the label drawn by the font, its ink
// turned into colour c.
void words(Pic& p, const char* utf8, int cx, int top, int height, uint8_t c) {
    Canvas cv(p.w, p.h);
    if (!cv.label(utf8, cx, top, height, kWhite, true)) return;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            if (cv.at(x, y) != 0) p.dot(x, y, c);
}

// The twelve characters' colours spiral out from the stage's centre, then
// the banner opens over them.
FlcBytes opening() {
    const PlatRect& a = INTRO_PORTRAIT_AREA;
    const int w = a.right - a.left, h = a.bottom - a.top;
    std::vector<std::vector<uint8_t>> frames;
    for (int n = 0; n < OPEN_FRAMES; ++n) {
        Pic p(w, h);
        const double grow = std::min(1.0, n / 12.0);
        for (int c = 0; c < CHARACTER_COUNT; ++c) {
            const double angle = c * 6.2831853 / CHARACTER_COUNT + n * 0.18;
            const int x = w / 2 + static_cast<int>(std::cos(angle) * 92 * grow);
            const int y = h / 2 + static_cast<int>(std::sin(angle) * 104 * grow);
            p.disc(x, y, 9, C_INK);
            p.disc(x, y, 7, static_cast<uint8_t>(C_OWN + c));
        }
        if (n >= 12) {
            const int open = std::min(w - 20, (n - 11) * 40);
            p.rect(w / 2 - open / 2, h / 2 - 26, open, 52, C_RED);
            p.rect(w / 2 - open / 2, h / 2 - 26, open, 3, C_YELLOW);
            p.rect(w / 2 - open / 2, h / 2 + 23, open, 3, C_YELLOW);
            if (open >= w - 20) words(p, "游戏开始", w / 2, h / 2 - 16, 32, C_WHITE);
        }
        frames.push_back(std::move(p.px));
    }
    return flc_encode(w, h, OPEN_MS, palette(), frames);
}

void build_intro_pictures(DataBuilder& b) {
    ArchiveWriter& jump = builder_archive(b, "JUMP.MKF");
    mkf_writer_add_frameset(jump, INTRO_PICTURES_ENTRY, intro_pictures());
    mkf_writer_add(jump, INTRO_OPENING_ENTRY, opening());
    for (int c = 0; c < CHARACTER_COUNT; ++c) {
        mkf_writer_add(jump, INTRO_JUMP_IN_FIRST + c, jump_in(c));
        mkf_writer_add(jump, INTRO_CLOSING_FIRST + c, closing_move(c));
    }

    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    Synth appear; // a rising sweep into a bright chord
    appear.tone(300, 1200, 220, 0, 0.45, 2);
    for (double f : {523.0, 659.0, 784.0})
        appear.tone(f, f, 110, 2, 0.45, 5);
    appear.tone(1047, 1047, 360, 2, 0.5, 4);
    mkf_writer_add(effects, INTRO_EFFECT_BOARD, wave_image_u8(appear.u8(), 22050));
    Synth landing; // a soft thump and a small chime
    landing.noise(30, 0.9, 0.25, 40);
    landing.tone(150, 70, 140, 0, 0.8, 18);
    landing.tone(1568, 1568, 160, 0, 0.35, 12);
    mkf_writer_add(effects, INTRO_EFFECT_LANDING, wave_image_u8(landing.u8(), 22050));
}

} // namespace

KARVO_DATA_GENERATOR(build_intro_pictures);
