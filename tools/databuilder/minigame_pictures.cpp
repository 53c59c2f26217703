// PANEL.MKF's mini-game pictures: 78 the opening animation (FLC), 79 the
// digits and the bottom strip, 80-90 the grid game (board, hit image,
// figure, pieces), 91 the target game, 92 and 94-99 the catching game and
// 100-111 each character's runner (5 poses, then 4 frames running left and
// 4 running right).
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "board/minigame_catch.h"
#include "board/minigame_common.h"
#include "board/minigame_grid.h"
#include "board/minigame_target.h"
#include "builder.h"
#include "canvas.h"
#include "data/characters.h"
#include "flc_writer.h"

namespace {

const uint16_t kInk = rgb555(24, 20, 20);
const uint16_t kWhite = rgb555(248, 248, 248);
const uint16_t kYellow = rgb555(248, 216, 40);
const uint16_t kRed = rgb555(216, 40, 32);
const uint16_t kBlue = rgb555(40, 96, 232);
const uint16_t kGreen = rgb555(48, 176, 72);
const uint16_t kSkin = rgb555(240, 200, 160);
const uint16_t kGrey = rgb555(120, 120, 128);
const uint16_t kDark = rgb555(40, 40, 48);
const uint16_t kGold = rgb555(232, 184, 40);
const uint16_t kBrown = rgb555(136, 84, 40);

uint16_t colour_of(uint32_t rgb) {
    return rgb555((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF) | 0x0421; // never 0
}

// ---- Digits: seven segments, so they read the same on every machine.

void seven_segment(Canvas& cv, int digit, int x, int y, int w, int h, int t, uint16_t c) {
    static const uint8_t SEGMENTS[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const uint8_t s = SEGMENTS[digit % 10];
    const int mid = y + h / 2 - t / 2;
    if (s & 0x01) cv.fill(x + t, y, w - 2 * t, t, c);           // top
    if (s & 0x02) cv.fill(x + w - t, y + t, t, h / 2 - t, c);   // upper right
    if (s & 0x04) cv.fill(x + w - t, mid + t, t, h / 2 - t, c); // lower right
    if (s & 0x08) cv.fill(x + t, y + h - t, w - 2 * t, t, c);   // bottom
    if (s & 0x10) cv.fill(x, mid + t, t, h / 2 - t, c);         // lower left
    if (s & 0x20) cv.fill(x, y + t, t, h / 2 - t, c);           // upper left
    if (s & 0x40) cv.fill(x + t, mid, w - 2 * t, t, c);         // middle
}

FrameImage digit(int d, bool big) {
    // The big digits stand on a dark plate as wide as their spacing, so a
    // final score reads over any scene.
    const int w = big ? MG_FINAL_DX : 18, h = big ? 96 : 28, t = big ? 10 : 3;
    const int dw = big ? 50 : w - 2, dh = big ? 80 : h - 2, dx = big ? 8 : 1, dy = big ? 8 : 1;
    Canvas cv(w, h);
    if (big) cv.fill(0, 0, w, h, rgb555(20, 24, 56));
    Canvas shape(w, h);
    seven_segment(shape, d, dx, dy, dw, dh, t, big ? kYellow : rgb555(120, 248, 120));
    // A small digit gets a dark outline so it reads over any picture.
    for (int y = 0; y < h && !big; ++y)
        for (int x = 0; x < w; ++x)
            if (shape.at(x, y) != 0)
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        if (cv.inside(x + i, y + j) && cv.at(x + i, y + j) == 0)
                            cv.at(x + i, y + j) = kInk;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (shape.at(x, y) != 0) cv.at(x, y) = shape.at(x, y);
    return cv.img;
}

// The bottom strip: the panel's box with the time's and the score's places.
FrameImage bottom_strip() {
    Canvas cv(640, 480 - MG_STRIP_Y);
    for (int y = 0; y < cv.img.height; ++y)
        cv.fill(0, y, 640, 1, rgb555(48 + y / 3, 40 + y / 4, 80 + y / 2));
    const int top = MG_PANEL_TOP - MG_STRIP_Y, h = MG_PANEL_BOTTOM - MG_PANEL_TOP;
    cv.fill(MG_PANEL_LEFT, top, MG_PANEL_RIGHT - MG_PANEL_LEFT, h, rgb555(16, 20, 40));
    cv.frame(MG_PANEL_LEFT, top, MG_PANEL_RIGHT - MG_PANEL_LEFT, h, kGold);
    cv.frame(MG_PANEL_LEFT + 2, top + 2, MG_PANEL_RIGHT - MG_PANEL_LEFT - 4, h - 4, kBrown);
    // The decimal point between the seconds and the tenths.
    cv.fill(MG_TIME_DIGIT_X[1] + 20, MG_PANEL_DIGIT_Y - MG_STRIP_Y + 23, 4, 4,
            rgb555(120, 248, 120));
    cv.label("时间", 12, 4, 16, kWhite, false);
    cv.label("得分", MG_SCORE_DIGIT_X[0] - 4, 4, 16, kWhite, false);
    return cv.img;
}

FrameSetBytes digits_set() {
    std::vector<FrameImage> frames;
    for (int d = 0; d < 10; ++d)
        frames.push_back(digit(d, false));
    for (int d = 0; d < 10; ++d)
        frames.push_back(digit(d, true));
    frames.push_back(bottom_strip());
    return frameset_smp(frames);
}

// ---- The opening animation: a banner that grows, then holds.

Bytes opening_flc() {
    const int W = 640, H = 480;
    std::vector<FlcRgb> pal(256, FlcRgb{0, 0, 0});
    pal[1] = {250, 220, 40};
    pal[2] = {210, 30, 30};
    pal[3] = {20, 20, 30};
    Canvas text(260, 80);
    text.label("开始！", 130, 6, 64, kRed, true);
    std::vector<std::vector<uint8_t>> frames;
    constexpr int STEPS = 10;
    for (int f = 0; f < STEPS + 4; ++f) {
        std::vector<uint8_t> px(static_cast<size_t>(W) * H, 0);
        const int k = f < STEPS ? f + 1 : STEPS;
        const int bw = 300 * k / STEPS, bh = 110 * k / STEPS;
        const int x0 = W / 2 - bw / 2, y0 = 200 - bh / 2;
        for (int y = y0; y < y0 + bh; ++y)
            for (int x = x0; x < x0 + bw; ++x) {
                const bool edge = y < y0 + 4 || y >= y0 + bh - 4 || x < x0 + 4 || x >= x0 + bw - 4;
                px[static_cast<size_t>(y) * W + x] = edge ? 3 : 1;
            }
        if (k == STEPS)
            for (int y = 0; y < text.img.height; ++y)
                for (int x = 0; x < text.img.width; ++x)
                    if (text.at(x, y) != 0)
                        px[static_cast<size_t>(y0 + 15 + y) * W + (x0 + 36 + x)] = 2;
        frames.push_back(px);
    }
    return flc_encode(W, H, 70, pal, frames);
}

// ---- The grid game

// The cell under a screen point, by the board's isometric axes (a column
// is +48, -24; a row +48, +24); -1 between cells and off the board.
int cell_at(int px, int py, double edge) {
    const double u = (px + 64) / 48.0, v = (py - 225) / 24.0;
    const double col = (u - v) / 2, row = (u + v) / 2;
    const int c = static_cast<int>(std::floor(col + 0.5)),
              r = static_cast<int>(std::floor(row + 0.5));
    if (!grid_exists(c, r)) return -1;
    if (std::fabs(col - c) > 0.5 - edge || std::fabs(row - r) > 0.5 - edge) return -2;
    return r * GRID_SIDE + c;
}

// The obstacle in the middle: a pile of rocks on the hole, low enough that
// only the five positions behind it are hidden.
void rocks(Canvas& cv, int cx, int base) {
    const uint16_t stone = rgb555(150, 140, 130), shade = rgb555(100, 92, 88);
    cv.ellipse(cx, base - 26, 98, 30, shade);
    cv.ellipse(cx, base - 30, 94, 26, stone);
    cv.ellipse(cx - 46, base - 44, 34, 24, stone);
    cv.ellipse(cx + 44, base - 46, 36, 26, stone);
    cv.ellipse(cx, base - 58, 40, 28, rgb555(170, 160, 150));
    cv.ellipse(cx - 40, base - 50, 8, 5, shade);
    cv.ellipse(cx + 30, base - 60, 10, 6, shade);
    cv.ellipse(cx + 6, base - 22, 12, 6, shade);
}

FrameImage grid_board() {
    Canvas cv(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const int cell = cell_at(x, y, 0.03);
            uint16_t c = rgb555(40 + y / 8, 90 + y / 10, 150);
            if (cell == -2) c = rgb555(30, 70, 30);
            if (cell >= 0) {
                const int col = cell % GRID_SIDE, row = cell / GRID_SIDE;
                c = (col + row) % 2 ? rgb555(120, 200, 100) : rgb555(96, 176, 80);
            }
            cv.at(x, y) = c;
        }
    rocks(cv, GRID_OBSTACLE_X, GRID_OBSTACLE_Y + 26);
    cv.label("拾宝游戏", 20, 16, 28, kWhite, false);
    return cv.img;
}

// The rocks again, drawn over a figure standing behind them.
FrameImage obstacle() {
    Canvas cv(200, 100, 100, 74);
    rocks(cv, 100, 100);
    return cv.img;
}

void figure(Canvas& cv, int cx, int ground, int facing, int step, uint16_t shirt, int crouch) {
    const int swing = (step % 2) ? 4 : 0;
    const int hip = ground - 20 + crouch, shoulder = ground - 40 + crouch;
    cv.line(cx, hip, cx - swing, ground - 1, kInk, 3);
    cv.line(cx, hip, cx + swing, ground - 1, kInk, 3);
    cv.fill(cx - 7, shoulder, 14, hip - shoulder + 1, shirt);
    cv.frame(cx - 7, shoulder, 14, hip - shoulder + 1, kInk);
    cv.ellipse(cx, shoulder - 8, 8, 8, kSkin);
    // The nose points where the figure faces (0 down-left .. 7 round the compass).
    static const int FACE_DX[8] = {-5, -6, 0, 5, 6, 5, 0, -5};
    const int f = facing & 7;
    cv.fill(cx + FACE_DX[f] - 1, shoulder - 9, 3, 3, kInk);
    cv.ellipse(cx, shoulder - 14, 8, 3, kBrown);
}

FrameImage figure_frame(int facing, int step, uint16_t shirt, int crouch) {
    Canvas cv(32, 60, 16, 58);
    figure(cv, 16, 58, facing, step, shirt, crouch);
    return cv.img;
}

FrameImage bombed_figure(int k) {
    Canvas cv(48, 72, 24, 58);
    figure(cv, 24, 58 + 14, 0, 0, kDark, 0);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 48; ++x)
            if (cv.at(x, y) == kSkin) cv.at(x, y) = kGrey;
    cv.ellipse(16 + 8 * k, 12, 9, 7, rgb555(200, 200, 200));
    cv.ellipse(30 - 6 * k, 6, 7, 5, rgb555(170, 170, 170));
    return cv.img;
}

FrameImage piece(int kind) {
    Canvas cv(28, 28, 14, 22);
    switch (kind) {
    case 1: // the bomb
        cv.ellipse(14, 16, 10, 10, kDark);
        cv.line(18, 7, 23, 2, kBrown, 2);
        cv.ellipse(24, 2, 2, 2, kYellow);
        break;
    case 2: // a coin
        cv.ellipse(14, 16, 9, 9, kGold);
        cv.ellipse(14, 16, 5, 5, kYellow);
        break;
    case 3: { // a ruby
        const int xy[] = {14, 4, 24, 13, 14, 26, 4, 13};
        cv.polygon(xy, 4, kRed);
        break;
    }
    case 4: { // a sapphire
        const int xy[] = {14, 6, 22, 16, 14, 26, 6, 16};
        cv.polygon(xy, 4, kBlue);
        break;
    }
    default: { // a golden star
        int xy[20];
        for (int k = 0; k < 10; ++k) {
            const double a = -1.5708 + k * 3.14159265 / 5;
            const double r = k % 2 ? 5 : 12;
            xy[2 * k] = 14 + static_cast<int>(r * std::cos(a));
            xy[2 * k + 1] = 15 + static_cast<int>(r * std::sin(a));
        }
        cv.polygon(xy, 10, kYellow);
    }
    }
    return cv.img;
}

FrameSetBytes grid_board_set() {
    std::vector<FrameImage> frames = {grid_board(), bombed_figure(0), bombed_figure(1), obstacle()};
    for (int kind = 1; kind <= 5; ++kind)
        frames.push_back(piece(kind));
    return frameset_smp(frames);
}

Bytes grid_hit_image() {
    Bytes b(static_cast<size_t>(GRID_HIT_W) * GRID_HIT_H, GRID_HIT_NONE);
    for (int y = 0; y < GRID_HIT_H; ++y)
        for (int x = 0; x < GRID_HIT_W; ++x) {
            const int cell = cell_at(x, y, 0.03);
            if (cell >= 0) b[static_cast<size_t>(y) * GRID_HIT_W + x] = static_cast<uint8_t>(cell);
        }
    return b;
}

FrameSetBytes walk_set() {
    std::vector<FrameImage> frames;
    for (int dir = 0; dir < 8; ++dir)
        for (int q = 0; q < 4; ++q)
            frames.push_back(figure_frame(dir, q, kRed, 0));
    return frameset_smp(frames);
}

FrameSetBytes pick_set() {
    std::vector<FrameImage> frames;
    for (int q = 0; q < 4; ++q)
        frames.push_back(figure_frame(0, 0, kRed, q < 2 ? 4 * (q + 1) : 4 * (4 - q)));
    return frameset_smp(frames);
}

FrameSetBytes ending_set(bool good) {
    std::vector<FrameImage> frames;
    for (int q = 0; q < 4; ++q) {
        Canvas cv(40, 76, 20, 58);
        const int lift = good ? (q % 2 ? 12 : 0) : 0;
        figure(cv, 20, 58 - lift, 0, 0, kRed, good ? 0 : 4);
        if (good) {
            cv.line(13, 24 - lift, 6, 10 - lift, kSkin, 3);
            cv.line(27, 24 - lift, 34, 10 - lift, kSkin, 3);
        } else {
            cv.fill(14, 14 + 4 + q * 2, 2, 4, kBlue); // a tear
        }
        frames.push_back(cv.img);
    }
    return frameset_smp(frames);
}

FrameSetBytes fly_set(int kind) {
    std::vector<FrameImage> frames;
    const FrameImage p = piece(kind);
    for (int f = 0; f < GRID_FLY_FRAMES; ++f) {
        Canvas cv(28, 100, 14, 94);
        const int rise = f * 14;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const uint16_t c = p.pixels[static_cast<size_t>(y) * p.width + x];
                if (c) cv.put(x, 72 - rise + y, c);
            }
        frames.push_back(cv.img);
    }
    return frameset_smp(frames);
}

// ---- The target game

FrameImage target_picture(int kind) {
    const bool big = kind <= 5;
    const int w = big ? 44 : 36, h = big ? 60 : 52;
    Canvas cv(w, h, w / 2, h / 2);
    const uint16_t rings[6] = {
        kRed, kBlue, kGreen, rgb555(200, 80, 200), kGold, rgb555(240, 120, 40)};
    cv.fill(w / 2 - 2, h / 2, 4, h / 2, kBrown); // the post
    const int r = big ? 20 : 16;
    if (kind < 9) {
        const uint16_t c = rings[kind % 6];
        cv.ellipse(w / 2, r + 2, r, r, kWhite);
        cv.ellipse(w / 2, r + 2, r - 4, r - 4, c);
        cv.ellipse(w / 2, r + 2, r - 9, r - 9, kWhite);
        cv.ellipse(w / 2, r + 2, r - 13 > 1 ? r - 13 : 2, r - 13 > 1 ? r - 13 : 2, c);
        if (!big) cv.frame(0, 0, w, 2 * r + 5, kInk);
    } else {
        const char* label = kind == TARGET_DOUBLE ? "×2" : kind == TARGET_HALVE ? "÷2" : "？";
        const uint16_t c = kind == TARGET_DOUBLE ? kGold : kind == TARGET_HALVE ? kGrey : kGreen;
        cv.ellipse(w / 2, r + 2, r, r, kInk);
        cv.ellipse(w / 2, r + 2, r - 2, r - 2, c);
        cv.label(label, w / 2, r - 8, 18, kInk, true);
    }
    return cv.img;
}

FrameImage hit_picture() {
    Canvas cv(56, 60, 28, 30);
    int xy[32];
    for (int k = 0; k < 16; ++k) {
        const double a = k * 3.14159265 / 8;
        const double r = k % 2 ? 10 : 27;
        xy[2 * k] = 28 + static_cast<int>(r * std::cos(a));
        xy[2 * k + 1] = 30 + static_cast<int>(r * std::sin(a));
    }
    cv.polygon(xy, 16, kYellow);
    cv.ellipse(28, 30, 8, 8, kRed);
    return cv.img;
}

FrameImage target_background() {
    Canvas cv(640, TARGET_AREA_H);
    for (int y = 0; y < TARGET_AREA_H; ++y)
        cv.fill(0, y, 640, 1, rgb555(30 + y / 5, 40 + y / 6, 100 + y / 4));
    for (int x = 0; x < 640; x += 80)
        cv.fill(x, 300, 80, TARGET_AREA_H - 300, (x / 80) % 2 ? rgb555(200, 60, 60) : kWhite);
    cv.fill(0, 296, 640, 4, kGold);
    cv.label("射靶游戏", 20, 12, 28, kWhite, false);
    return cv.img;
}

FrameSetBytes target_set() {
    std::vector<FrameImage> frames = {target_background()};
    for (int kind = 0; kind < TARGET_KINDS; ++kind)
        frames.push_back(target_picture(kind));
    frames.push_back(hit_picture());
    return frameset_smp(frames);
}

// ---- The catching game

FrameImage catch_background() {
    Canvas cv(640, 480);
    for (int y = 0; y < 480; ++y)
        cv.fill(0, y, 640, 1, rgb555(80 + y / 6, 150 + y / 10, 230 - y / 8));
    cv.fill(80, CATCH_THROWER_Y, 480, 10, kBrown); // the throwers' walk
    cv.frame(80, CATCH_THROWER_Y, 480, 10, kInk);
    cv.fill(0, CATCH_GROUND_Y, 640, 480 - CATCH_GROUND_Y, kGreen);
    cv.fill(0, CATCH_GROUND_Y, 640, 3, rgb555(30, 110, 40));
    cv.label("接宝游戏", 20, 12, 28, kWhite, false);
    return cv.img;
}

FrameSetBytes catch_background_set() {
    return frameset_smp({catch_background()});
}

FrameSetBytes bomber_set() {
    std::vector<FrameImage> frames;
    for (int f = 0; f <= CATCH_BOMBER_LAST; ++f) {
        Canvas cv(44, 70, 22, 68);
        const int rise = f < 4 ? (4 - f) * 8 : f > 9 ? (f - 9) * 8 : 0; // pops up, hides again
        figure(cv, 22, 68 + rise, 0, 0, kDark, 0);
        cv.fill(12, 44 + rise, 20, 4, kDark);                                  // a mask
        if (f >= 5 && f <= 7) cv.line(28, 40 + rise, 38, 22 + rise, kSkin, 3); // the throwing arm
        if (f < CATCH_BOMBER_THROWS_AT) cv.ellipse(36, 20 + rise, 5, 5, kInk);
        frames.push_back(cv.img);
    }
    return frameset_smp(frames);
}

// An 8-bit set's picture from RGB555 canvases: each colour gets an index.
FrameSetBytes spr_from(const std::vector<FrameImage>& pictures) {
    std::vector<uint16_t> palette(256, 0);
    std::map<uint16_t, uint8_t> index;
    int next = 1;
    std::vector<FrameImage> frames;
    for (const FrameImage& p : pictures) {
        FrameImage f = p;
        f.indices.assign(p.pixels.size(), 0);
        for (size_t i = 0; i < p.pixels.size(); ++i) {
            const uint16_t c = p.pixels[i];
            if (c == 0) continue;
            auto it = index.find(c);
            if (it == index.end() && next < 256) {
                palette[next] = c;
                it = index.emplace(c, static_cast<uint8_t>(next++)).first;
            }
            f.indices[i] = it != index.end() ? it->second : 1;
        }
        f.pixels.clear();
        frames.push_back(f);
    }
    return frameset_spr(palette, frames);
}

FrameSetBytes object_set(int kind) {
    std::vector<FrameImage> frames;
    for (int f = 0; f < CATCH_OBJECT_FRAMES; ++f) {
        Canvas cv(36, 36, 18, 18);
        const double a = f * 3.14159265 / 4;
        const int wob = static_cast<int>(4 * std::cos(a));
        switch (kind) {
        case 0: { // a gold ingot, the best catch
            const int xy[] = {4, 22, 10, 10, 26, 10, 32, 22, 26, 28, 10, 28};
            cv.polygon(xy, 6, kGold);
            cv.ellipse(18, 14, 6 + wob / 2, 4, kYellow);
            break;
        }
        case 1: // a red envelope
            cv.fill(9 + wob / 2, 6, 18 - wob, 24, kRed);
            cv.fill(15, 14, 6, 6, kGold);
            break;
        case 2: // a peach
            cv.ellipse(18, 19, 12, 12, rgb555(248, 150, 120));
            cv.ellipse(18 + wob, 8, 5, 3, kGreen);
            break;
        case 3: // a coin turning
            cv.ellipse(18, 18, 12 - (wob < 0 ? -wob : wob) * 2, 12, kGold);
            break;
        default: // the bomb with its spark
            cv.ellipse(18, 20, 12, 12, kDark);
            cv.line(24, 9, 28, 4, kBrown, 2);
            cv.ellipse(29, 3, 2 + (f % 2), 2 + (f % 2), f % 2 ? kYellow : kRed);
        }
        frames.push_back(cv.img);
    }
    return spr_from(frames);
}

// A runner: five poses (0 plain, 1 sad, 2 content, 3 cheering, 4 blackened),
// then four frames running left and four running right.
constexpr int RUN_FRAMES = 4;

FrameImage runner(int character, int pose, int run_dir, int step) {
    const uint16_t own = colour_of(character_table[character].colour);
    Canvas cv(60, 96, 30, 94);
    const int cx = 30, ground = 94;
    const int swing = run_dir ? (step % 2 ? 8 : -8) : 0;
    const int hip = ground - 34, shoulder = ground - 62;
    const uint16_t skin = pose == 4 ? kGrey : kSkin;
    cv.line(cx, hip, cx + swing, ground - 1, kInk, 5);
    cv.line(cx, hip, cx - swing, ground - 1, kInk, 5);
    cv.fill(cx - 10, shoulder, 20, hip - shoulder + 2, pose == 4 ? kDark : own);
    cv.frame(cx - 10, shoulder, 20, hip - shoulder + 2, kInk);
    cv.ellipse(cx, shoulder - 12, 11, 11, skin);
    cv.ellipse(cx, shoulder - 20, 11, 4, own);
    // The basket held up to catch with.
    const int lean = run_dir == 1 ? -4 : run_dir == 2 ? 4 : 0;
    if (pose == 3) {
        cv.line(cx - 9, shoulder + 4, cx - 20, shoulder - 22, skin, 3);
        cv.line(cx + 9, shoulder + 4, cx + 20, shoulder - 22, skin, 3);
    } else if (pose != 4) {
        cv.line(cx - 9, shoulder + 4, cx - 16 + lean, shoulder - 4, skin, 3);
        cv.line(cx + 9, shoulder + 4, cx + 16 + lean, shoulder - 4, skin, 3);
        cv.fill(cx - 22 + lean, shoulder - 8, 44, 6, kBrown);
    }
    // The face by pose.
    const int ey = shoulder - 13;
    cv.fill(cx - 5, ey, 2, 3, kInk);
    cv.fill(cx + 3, ey, 2, 3, kInk);
    if (pose == 1) cv.line(cx - 4, ey + 8, cx + 4, ey + 6, kInk);
    if (pose == 2 || pose == 0) cv.fill(cx - 3, ey + 6, 6, 1, kInk);
    if (pose == 3) cv.ellipse(cx, ey + 7, 4, 2, kRed);
    if (pose == 4) {
        cv.ellipse(cx - 12, shoulder - 30, 8, 6, rgb555(200, 200, 200));
        cv.ellipse(cx + 10, shoulder - 36, 6, 5, rgb555(170, 170, 170));
    }
    return cv.img;
}

FrameSetBytes runner_set(int character) {
    std::vector<FrameImage> frames;
    for (int pose = 0; pose < CATCH_POSES; ++pose)
        frames.push_back(runner(character, pose, 0, 0));
    for (int dir = 1; dir <= 2; ++dir)
        for (int step = 0; step < RUN_FRAMES; ++step)
            frames.push_back(runner(character, 0, dir, step));
    return frameset_smp(frames);
}

void build_minigame_pictures(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "PANEL.MKF");
    mkf_writer_add(a, MG_OPENING_ENTRY, opening_flc());
    mkf_writer_add_frameset(a, MG_DIGITS_ENTRY, digits_set());
    mkf_writer_add_frameset(a, GRID_BOARD_ENTRY, grid_board_set());
    mkf_writer_add(a, GRID_HIT_ENTRY, grid_hit_image());
    mkf_writer_add_frameset(a, GRID_WALK_ENTRY, walk_set());
    mkf_writer_add_frameset(a, GRID_PICK_ENTRY, pick_set());
    mkf_writer_add_frameset(a, GRID_GOOD_ENTRY, ending_set(true));
    mkf_writer_add_frameset(a, GRID_BAD_ENTRY, ending_set(false));
    for (int kind = 1; kind <= 5; ++kind)
        mkf_writer_add_frameset(a, GRID_FLY_FIRST_ENTRY + kind - 1, fly_set(kind));
    mkf_writer_add_frameset(a, TARGET_SET_ENTRY, target_set());
    mkf_writer_add_frameset(a, CATCH_BACKGROUND_ENTRY, catch_background_set());
    mkf_writer_add_frameset(a, CATCH_BOMBER_ENTRY, bomber_set());
    for (int kind = 0; kind < CATCH_KINDS; ++kind)
        mkf_writer_add_frameset(a, CATCH_OBJECT_FIRST_ENTRY + kind, object_set(kind));
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        mkf_writer_add_frameset(a, CATCH_RUNNER_FIRST_ENTRY + c, runner_set(c));
}

} // namespace

KARVO_DATA_GENERATOR(build_minigame_pictures);
