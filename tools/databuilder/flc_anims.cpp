// data.mkf's FLC animations: each event of the board drawn in plain shapes,
// frame by frame, and written with the FLC writer. Animations drawn over the
// board (option bit 0 of their callers) keep colour index 0 wherever the
// board should show through; the others cover their whole place.
#include "builder.h"
#include "flc_writer.h"

#include "data/anim_frames.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

// The shared palette (index 0 is the see-through colour over the board and
// black elsewhere).
enum Colour : uint8_t {
    C_NONE = 0,
    C_WHITE,
    C_RED,
    C_ORANGE,
    C_YELLOW,
    C_GREEN,
    C_DARK_GREEN,
    C_BLUE,
    C_NIGHT,
    C_GREY,
    C_DARK_GREY,
    C_BROWN,
    C_SKIN,
    C_GOLD,
    C_PURPLE,
    C_CYAN,
    C_LIGHT_GREY,
    C_BLACK,
    C_PINK,
    C_DARK_RED,
    C_CHARACTER = 32, // 12 colours of the characters
    C_SKY = 64,       // 32 shades from deep blue to dusk
};

std::vector<FlcRgb> palette() {
    std::vector<FlcRgb> p(256, FlcRgb{0, 0, 0});
    const FlcRgb named[] = {{0, 0, 0},       {255, 255, 255}, {220, 30, 30},   {250, 140, 20},
                            {250, 230, 40},  {50, 190, 60},   {20, 110, 40},   {40, 90, 230},
                            {15, 20, 60},    {140, 140, 150}, {70, 70, 80},    {130, 80, 30},
                            {250, 200, 160}, {230, 180, 30},  {140, 50, 190},  {60, 210, 230},
                            {200, 200, 210}, {8, 8, 8},       {250, 130, 180}, {120, 10, 20}};
    for (size_t i = 0; i < sizeof named / sizeof named[0]; ++i)
        p[i] = named[i];
    const FlcRgb characters[12] = {{230, 40, 40},   {40, 120, 240},  {40, 190, 80},
                                   {240, 200, 30},  {170, 60, 200},  {250, 120, 30},
                                   {30, 200, 200},  {240, 100, 170}, {120, 80, 40},
                                   {160, 160, 160}, {100, 220, 120}, {60, 60, 160}};
    for (int i = 0; i < 12; ++i)
        p[C_CHARACTER + i] = characters[i];
    for (int i = 0; i < 32; ++i)
        p[C_SKY + i] = FlcRgb{static_cast<uint8_t>(10 + i * 4), static_cast<uint8_t>(15 + i * 3),
                              static_cast<uint8_t>(60 + i * 3)};
    return p;
}

struct Pic {
    int w, h;
    std::vector<uint8_t> px;
    Pic(int width, int height, uint8_t c = C_NONE)
        : w(width), h(height), px(static_cast<size_t>(width) * height, c) {}
    void dot(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<size_t>(y) * w + x] = c;
    }
    void rect(int x, int y, int rw, int rh, uint8_t c) {
        for (int j = y; j < y + rh; ++j)
            for (int i = x; i < x + rw; ++i)
                dot(i, j, c);
    }
    void disc(int cx, int cy, int r, uint8_t c) { ring(cx, cy, 0, r, c); }
    void ring(int cx, int cy, int r0, int r1, uint8_t c) {
        for (int j = cy - r1; j <= cy + r1; ++j)
            for (int i = cx - r1; i <= cx + r1; ++i) {
                const int d = (i - cx) * (i - cx) + (j - cy) * (j - cy);
                if (d <= r1 * r1 && d >= r0 * r0) dot(i, j, c);
            }
    }
    void ellipse(int cx, int cy, int rx, int ry, uint8_t c) {
        for (int j = cy - ry; j <= cy + ry; ++j)
            for (int i = cx - rx; i <= cx + rx; ++i) {
                const double u = double(i - cx) / rx, v = double(j - cy) / ry;
                if (u * u + v * v <= 1.0) dot(i, j, c);
            }
    }
    void line(int x0, int y0, int x1, int y1, int thick, uint8_t c) {
        const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int k = 0; k <= n; ++k) {
            const int x = n ? x0 + (x1 - x0) * k / n : x0;
            const int y = n ? y0 + (y1 - y0) * k / n : y0;
            rect(x - thick / 2, y - thick / 2, thick, thick, c);
        }
    }
    void triangle(int x0, int y0, int x1, int y1, int x2, int y2, uint8_t c) {
        const int top = std::min({y0, y1, y2}), bottom = std::max({y0, y1, y2});
        const int left = std::min({x0, x1, x2}), right = std::max({x0, x1, x2});
        auto side = [](int ax, int ay, int bx, int by, int px, int py) {
            return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
        };
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                const int a = side(x0, y0, x1, y1, x, y), b = side(x1, y1, x2, y2, x, y),
                          d = side(x2, y2, x0, y0, x, y);
                if ((a >= 0 && b >= 0 && d >= 0) || (a <= 0 && b <= 0 && d <= 0)) dot(x, y, c);
            }
    }
    void star(int cx, int cy, int r, uint8_t c) {
        triangle(cx, cy - r, cx - r * 7 / 8, cy + r / 2, cx + r * 7 / 8, cy + r / 2, c);
        triangle(cx, cy + r, cx - r * 7 / 8, cy - r / 2, cx + r * 7 / 8, cy - r / 2, c);
    }
};

// A standing figure: head, body and legs, feet at (x, y); step swings the legs.
void figure(Pic& p, int x, int y, int size, uint8_t body, int step) {
    const int s = size;
    const int swing = (step % 2 == 0) ? s / 5 : -s / 5;
    p.line(x, y - s, x - swing, y, std::max(2, s / 8), C_DARK_GREY);
    p.line(x, y - s, x + swing, y, std::max(2, s / 8), C_DARK_GREY);
    p.rect(x - s / 4, y - s * 2, s / 2, s, body);
    p.line(x - s / 4, y - s * 2 + s / 6, x - s / 2, y - s + swing / 2, std::max(2, s / 10), body);
    p.line(x + s / 4, y - s * 2 + s / 6, x + s / 2, y - s - swing / 2, std::max(2, s / 10), body);
    p.disc(x, y - s * 2 - s / 4, s / 4, C_SKIN);
}

void coin(Pic& p, int cx, int cy, int r) {
    p.disc(cx, cy, r, C_GOLD);
    p.ring(cx, cy, r * 2 / 3, r * 2 / 3 + 1, C_ORANGE);
    p.rect(cx - 1, cy - r / 2, 3, r, C_ORANGE);
}

using Drawer = std::function<void(Pic&, int frame, int frames)>;

FlcBytes animation(int w, int h, int frames, uint32_t ms, uint8_t ground, const Drawer& draw) {
    std::vector<std::vector<uint8_t>> out;
    for (int n = 0; n < frames; ++n) {
        Pic p(w, h, ground);
        draw(p, n, frames);
        out.push_back(std::move(p.px));
    }
    return flc_encode(w, h, ms, palette(), out);
}

constexpr int BOARD = 440;

// Fireworks over a night sky (the new year and the national day).
void fireworks(Pic& p, int n, int frames) {
    for (int y = 0; y < p.h; ++y)
        p.rect(0, y, p.w, 1, static_cast<uint8_t>(C_SKY + y * 31 / p.h / 2));
    for (int x = 0; x < p.w; x += 40)
        p.rect(x, p.h - 60 - (x * 7 % 50), 36, 60 + (x * 7 % 50), C_DARK_GREY);
    const uint8_t colours[] = {C_RED, C_YELLOW, C_CYAN, C_PINK, C_GREEN};
    for (int b = 0; b < 5; ++b) {
        const int age = n - b * 3;
        if (age < 0) {
            continue;
        }
        const int cx = 60 + b * 80, cy = 90 + (b % 2) * 70;
        if (age < 3) {
            p.line(cx, p.h - 60, cx, cy + (3 - age) * 40, 3, C_WHITE);
            continue;
        }
        const int r = std::min(90, (age - 2) * 14);
        for (int k = 0; k < 16; ++k) {
            const double a = k * 3.14159265 / 8;
            p.disc(cx + static_cast<int>(r * std::cos(a)), cy + static_cast<int>(r * std::sin(a)),
                   age > 8 ? 2 : 4, colours[b]);
        }
    }
    (void)frames;
}

// A tree with a star and falling snow (Christmas).
void christmas(Pic& p, int n, int) {
    for (int y = 0; y < p.h; ++y)
        p.rect(0, y, p.w, 1, static_cast<uint8_t>(C_SKY + y * 20 / p.h));
    p.rect(0, 380, p.w, 60, C_WHITE);
    p.rect(205, 330, 30, 55, C_BROWN);
    for (int k = 0; k < 3; ++k)
        p.triangle(220, 90 + k * 70, 120 - k * 20, 220 + k * 60, 320 + k * 20, 220 + k * 60,
                   C_DARK_GREEN);
    p.star(220, 90, 22 + (n % 2) * 4, C_YELLOW);
    const uint8_t balls[] = {C_RED, C_GOLD, C_CYAN, C_PINK};
    for (int k = 0; k < 8; ++k)
        p.disc(170 + (k * 37) % 100, 190 + k * 22, 7, balls[(k + n) % 4]);
    for (int k = 0; k < 40; ++k) {
        const int x = (k * 97) % p.w, y = ((k * 53) + n * 12) % 380;
        p.disc(x, y, 3, C_WHITE);
    }
}

// An ambulance drives in with its light flashing (the hospital).
void ambulance(Pic& p, int n, int frames) {
    const int x = -160 + (p.w + 40) * n / frames;
    const int y = p.h - 150;
    p.rect(x, y, 150, 80, C_WHITE);
    p.rect(x + 110, y + 10, 36, 30, C_CYAN);
    p.rect(x + 40, y + 20, 40, 12, C_RED);
    p.rect(x + 54, y + 6, 12, 40, C_RED);
    p.disc(x + 30, y + 84, 16, C_BLACK);
    p.disc(x + 120, y + 84, 16, C_BLACK);
    p.rect(x + 60, y - 16, 24, 16, n % 2 ? C_RED : C_BLUE);
}

// Bars come down and a figure behind them (the jail).
void jail_bars(Pic& p, int n, int frames) {
    const int drop = std::min(p.h, p.h * (n + 1) * 2 / frames);
    figure(p, p.w / 2, p.h - 60, 90, C_ORANGE, 0);
    for (int x = 30; x < p.w; x += 55)
        p.rect(x, 0, 14, drop, C_DARK_GREY);
    p.rect(0, std::max(0, drop - 20), p.w, 20, C_GREY);
}

// An expanding burst with flying debris (the explosion).
void explosion(Pic& p, int n, int frames) {
    const int cx = p.w / 2, cy = p.h / 2;
    const int r = 20 + n * 160 / frames;
    if (n < frames - 3) {
        p.disc(cx, cy, r, C_ORANGE);
        p.disc(cx, cy, r * 2 / 3, C_YELLOW);
        p.disc(cx, cy, r / 3, C_WHITE);
    } else {
        p.ring(cx, cy, r - 20, r, C_DARK_GREY);
    }
    for (int k = 0; k < 12; ++k) {
        const double a = k * 3.14159265 / 6 + 0.2;
        const int d = r + 20 + n * 6;
        p.rect(cx + static_cast<int>(d * std::cos(a)), cy + static_cast<int>(d * std::sin(a)), 10,
               10, C_BROWN);
    }
}

// A building's floors fall in and a dust cloud rises (razing).
void raze(Pic& p, int n, int frames) {
    const int cx = p.w / 2, base = p.h / 2 + 100;
    const int floors = std::max(0, 4 - n * 5 / frames);
    for (int k = 0; k < floors; ++k)
        p.rect(cx - 70, base - (k + 1) * 50, 140, 46, k % 2 ? C_LIGHT_GREY : C_GREY);
    for (int k = 0; k < 6; ++k)
        p.rect(cx - 90 + k * 32, base - 20 + (n * (k + 2) * 3) % 40, 24, 18, C_BROWN);
    p.ellipse(cx, base, 40 + n * 12, 14 + n * 4, C_LIGHT_GREY);
    p.line(cx + 150, 0, cx + 150 - 120 + (n % 4) * 30, base - 160, 4, C_DARK_GREY);
    p.disc(cx + 150 - 120 + (n % 4) * 30, base - 160, 28, C_BLACK);
}

// A dog leaps and bites (the dog's bite).
void dog(Pic& p, int n, int frames, bool ride_away) {
    const int y = p.h / 2 + 100;
    if (ride_away) {
        // A motorbike speeds off with the dog chasing behind.
        const int bx = p.w / 2 + n * 220 / frames;
        p.disc(bx - 40, y + 20, 22, C_BLACK);
        p.disc(bx + 40, y + 20, 22, C_BLACK);
        p.rect(bx - 40, y - 10, 80, 20, C_RED);
        figure(p, bx, y - 10, 50, C_BLUE, 0);
        for (int k = 1; k < 4; ++k)
            p.line(bx - 70 - k * 20, y - 20 + k * 8, bx - 110 - k * 20, y - 20 + k * 8, 3,
                   C_LIGHT_GREY);
    } else {
        figure(p, p.w / 2 + 80, y + 30, 80, C_BLUE, n);
    }
    const int dx = ride_away ? 40 + n * 160 / frames : 40 + n * 200 / frames;
    const int hop = (n % 2) * 20;
    p.ellipse(dx, y - hop, 60, 26, C_BROWN);
    p.disc(dx + 60, y - 30 - hop, 24, C_BROWN);
    p.triangle(dx + 50, y - 54 - hop, dx + 62, y - 80 - hop, dx + 70, y - 50 - hop, C_BROWN);
    p.rect(dx + 78, y - 24 - hop + (n % 2) * 6, 18, 6, C_WHITE); // the jaw opening and closing
    for (int k = 0; k < 4; ++k)
        p.rect(dx - 45 + k * 28, y + 18 - hop, 9, 26, C_BROWN);
}

// A figure spun up into a whirl and gone (kind 1) or sinking through a
// glowing hole (kind 0): a player disappearing or coming back.
void away(Pic& p, int n, int frames, int kind) {
    for (int y = 0; y < p.h; ++y)
        p.rect(0, y, p.w, 1, static_cast<uint8_t>(C_SKY + 8 + y * 16 / p.h));
    const int cx = p.w / 2, ground = p.h - 80;
    p.rect(0, ground, p.w, 80, C_DARK_GREEN);
    if (kind == 1) {
        for (int k = 0; k < 6; ++k) {
            const int r = 30 + k * 22;
            p.ring(cx + ((n + k) % 3 - 1) * 10, ground - k * 50, r, r + 5, C_LIGHT_GREY);
        }
        figure(p, cx, ground - n * 300 / frames, 70, C_RED, n);
    } else {
        p.ellipse(cx, ground + 10, 110, 26, C_PURPLE);
        p.ellipse(cx, ground + 10, 80, 16, C_BLACK);
        const int sink = n * 180 / frames;
        Pic fig(p.w, p.h);
        figure(fig, cx, ground + sink, 70, C_RED, 0);
        for (int y = 0; y < ground + 6; ++y)
            for (int x = 0; x < p.w; ++x)
                if (uint8_t c = fig.px[static_cast<size_t>(y) * p.w + x]) p.dot(x, y, c);
        for (int k = 0; k < 10; ++k)
            p.star(cx - 100 + k * 22, ground - 20 - ((n * 9 + k * 17) % 120), 5, C_YELLOW);
    }
}

// Coins spring from the square and rise (points).
void points(Pic& p, int n, int frames) {
    for (int k = 0; k < 5; ++k) {
        const int t = n - k * 2;
        if (t < 0) continue;
        const int x = 30 + k * 42, y = p.h - 30 - t * (p.h - 60) / frames;
        coin(p, x, y, 18);
    }
    p.star(p.w / 2, 30, 10 + (n % 3) * 5, C_YELLOW);
}

// A card turns over and shines (a card).
void card(Pic& p, int n, int frames) {
    const int cx = p.w / 2, cy = p.h / 2;
    const double a = 3.14159265 * n / (frames - 1);
    const int half = std::max(2, static_cast<int>(std::abs(std::cos(a)) * 50));
    const bool face = n >= frames / 2;
    p.rect(cx - half, cy - 70, half * 2, 140, C_WHITE);
    p.rect(cx - half + 3, cy - 67, half * 2 - 6, 134, face ? C_GOLD : C_BLUE);
    if (face && half > 20) p.star(cx, cy, 30, C_RED);
    if (!face && half > 12) p.ring(cx, cy, 20, 26, C_CYAN);
}

// A god coming down in its light; the symbol names the god. Small gods are
// drawn smaller.
struct God {
    int entry;
    uint8_t robe, glow;
    int symbol; // 0 coin, 1 star, 2 broken coin, 3 cloud, 4 wings, 5 horns, 6 house, 7 dark eye
    bool small;
};
constexpr God gods[] = {
    {499, C_RED, C_GOLD, 0, true},         {500, C_RED, C_GOLD, 0, false},
    {501, C_GREEN, C_YELLOW, 1, true},     {502, C_GREEN, C_YELLOW, 1, false},
    {503, C_DARK_GREY, C_GREY, 2, true},   {504, C_DARK_GREY, C_GREY, 2, false},
    {505, C_PURPLE, C_DARK_GREY, 3, true}, {506, C_PURPLE, C_DARK_GREY, 3, false},
    {507, C_WHITE, C_CYAN, 4, false},      {508, C_DARK_RED, C_RED, 5, false},
    {509, C_BROWN, C_GREEN, 6, false},     {510, C_BLACK, C_PURPLE, 7, false},
};

void god(Pic& p, int n, int frames, const God& g) {
    const int size = g.small ? 50 : 80;
    const int cx = p.w / 2;
    // Down from the top, its symbol always in sight above the head.
    const int feet = size * 3 + 60 + n * 120 / frames;
    p.ellipse(cx, feet - size, size + 30 + (n % 2) * 8, size * 3 / 2, g.glow);
    figure(p, cx, feet, size, g.robe, 0);
    const int sy = feet - size * 3;
    switch (g.symbol) {
    case 0:
        coin(p, cx, sy - 20, size / 3);
        break;
    case 1:
        p.star(cx, sy - 20, size / 3, C_YELLOW);
        break;
    case 2:
        coin(p, cx, sy - 20, size / 3);
        p.line(cx - size / 3, sy - 20 - size / 3, cx + size / 3, sy - 20 + size / 3, 4, C_BLACK);
        break;
    case 3:
        p.ellipse(cx, sy - 20, size / 2, size / 5, C_DARK_GREY);
        for (int k = 0; k < 4; ++k)
            p.line(cx - size / 3 + k * size / 5, sy - 5, cx - size / 3 + k * size / 5 - 6,
                   sy + 10 + (n % 2) * 6, 2, C_BLUE);
        break;
    case 4:
        p.triangle(cx - size / 4, feet - size * 2, cx - size - 20,
                   feet - size * 2 - 40 + (n % 2) * 20, cx - size / 4, feet - size, C_WHITE);
        p.triangle(cx + size / 4, feet - size * 2, cx + size + 20,
                   feet - size * 2 - 40 + (n % 2) * 20, cx + size / 4, feet - size, C_WHITE);
        p.ring(cx, sy + 10, size / 4, size / 4 + 3, C_GOLD);
        break;
    case 5:
        p.triangle(cx - size / 4, sy + 20, cx - size / 6, sy - 10, cx - size / 10, sy + 20, C_RED);
        p.triangle(cx + size / 4, sy + 20, cx + size / 6, sy - 10, cx + size / 10, sy + 20, C_RED);
        break;
    case 6:
        p.rect(cx - size / 3, sy - 30, size * 2 / 3, size / 2, C_YELLOW);
        p.triangle(cx - size / 2, sy - 30, cx, sy - 30 - size / 3, cx + size / 2, sy - 30, C_RED);
        break;
    default:
        p.ellipse(cx, sy - 20, size / 3, size / 5, C_WHITE);
        p.disc(cx, sy - 20, size / 8, C_PURPLE);
        break;
    }
}

// Coins falling away and a chart going down (bankruptcy).
void bankrupt(Pic& p, int n, int frames) {
    p.rect(0, 0, p.w, p.h, C_DARK_GREY);
    p.rect(40, 40, p.w - 80, p.h - 80, C_BLACK);
    int x0 = 60, y0 = 100;
    for (int k = 1; k <= 8; ++k) {
        const int x1 = 60 + k * 40, y1 = 100 + k * k * 4 + (k % 2) * 20;
        if (k <= n * 9 / frames) p.line(x0, y0, x1, y1, 5, C_RED);
        x0 = x1;
        y0 = y1;
    }
    figure(p, 120, p.h - 60, 70, C_GREY, 0);
    for (int k = 0; k < 6; ++k)
        coin(p, 200 + k * 35, 60 + (n * 25 + k * 40) % 320, 12);
    if (n > frames / 2) {
        p.line(80, p.h - 230, 160, p.h - 150, 8, C_RED);
        p.line(160, p.h - 230, 80, p.h - 150, 8, C_RED);
    }
}

// A character walks into the spotlight and stars burst (its entry onto the board).
void entry(Pic& p, int n, int frames, int character) {
    p.rect(0, 0, p.w, p.h, C_NIGHT);
    p.rect(0, p.h - 100, p.w, 100, C_DARK_GREY);
    p.ellipse(p.w / 2, p.h - 90, 130, 30, C_LIGHT_GREY);
    p.triangle(p.w / 2, 0, p.w / 2 - 130, p.h - 90, p.w / 2 + 130, p.h - 90, C_SKY + 12);
    p.ellipse(p.w / 2, p.h - 90, 130, 30, C_LIGHT_GREY);
    const int walk = std::min(frames * 2 / 3, n);
    const int x = -40 + (p.w / 2 + 40) * walk / (frames * 2 / 3);
    const uint8_t colour = static_cast<uint8_t>(C_CHARACTER + character);
    figure(p, x, p.h - 90, 90, colour, n);
    // The hat shape tells the twelve apart as well as the colour.
    const int hy = p.h - 90 - 90 * 2 - 45;
    switch (character % 4) {
    case 0:
        p.rect(x - 26, hy - 6, 52, 8, colour);
        break;
    case 1:
        p.triangle(x - 24, hy, x, hy - 34, x + 24, hy, colour);
        break;
    case 2:
        p.disc(x, hy - 6, 12, colour);
        break;
    default:
        p.rect(x - 16, hy - 24, 32, 24, colour);
        break;
    }
    if (n > frames * 2 / 3)
        for (int k = 0; k < 8; ++k) {
            const double a = k * 3.14159265 / 4;
            const int r = (n - frames * 2 / 3) * 18;
            p.star(p.w / 2 + static_cast<int>(r * std::cos(a)),
                   p.h - 220 + static_cast<int>(r * std::sin(a)), 10, C_YELLOW);
        }
}

// A robot worker raises a building storey by storey (the construction
// companies and the robot worker item); drawn over the board.
void construction(Pic& p, int n, int frames) {
    const int cx = p.w / 2, ground = p.h - 120;
    const int storeys = 1 + n * 5 / frames;
    for (int k = 0; k < storeys; ++k) {
        p.rect(cx - 50, ground - 36 * (k + 1), 100, 34, k % 2 ? C_LIGHT_GREY : C_GREY);
        for (int w = 0; w < 3; ++w)
            p.rect(cx - 38 + 30 * w, ground - 36 * (k + 1) + 10, 16, 14, C_CYAN);
    }
    // The storey going up now, lifted by the robot's arm.
    const int lift = (n * 5) % frames * 36 / frames;
    const int top = ground - 36 * storeys - lift;
    p.rect(cx - 50, top - 34, 100, 34, C_ORANGE);
    // The robot beside it: a box body, a round head, an arm to the storey.
    const int rx = cx + 100, ry = ground;
    p.rect(rx - 20, ry - 60, 40, 60, C_BLUE);
    p.disc(rx, ry - 74, 14, C_LIGHT_GREY);
    p.disc(rx - 5, ry - 76, 3, C_RED);
    p.disc(rx + 5, ry - 76, 3, C_RED);
    p.line(rx - 20, ry - 50, cx + 50, top - 17, 6, C_YELLOW);
    p.rect(rx - 18, ry - 4, 14, 6, C_BLACK);
    p.rect(rx + 4, ry - 4, 14, 6, C_BLACK);
    if (n >= frames - 4) p.star(cx, ground - 36 * storeys - 70, 18, C_YELLOW);
}

// A gas blast in a house: the flash, then fire and smoke rising (news).
void gas_blast(Pic& p, int n, int frames) {
    const int cx = BOARD / 2, cy = BOARD / 2 + 20;
    const int r = 20 + n * 90 / frames;
    p.disc(cx, cy, r, n < frames / 2 ? C_YELLOW : C_ORANGE);
    p.disc(cx, cy, r * 2 / 3, n < frames / 2 ? C_WHITE : C_RED);
    for (int k = 0; k < 5; ++k)
        p.disc(cx - 60 + k * 30, cy - r - 10 * k - n * 6, 14 + n * 2, C_DARK_GREY);
}

// A flying saucer sweeping in and beaming the board (news: the alien attack).
void saucer_raid(Pic& p, int n, int frames) {
    const int x = n * (BOARD + 160) / frames - 80, y = 90 + (n % 4) * 4;
    if (n > frames / 3 && n < frames * 5 / 6)
        for (int k = 0; k < 80; ++k)
            p.rect(x - 20 - k, y + 20 + k * 3, 40 + 2 * k, 3, (k / 6) % 2 ? C_YELLOW : C_WHITE);
    p.ellipse(x, y, 80, 20, C_LIGHT_GREY);
    p.ellipse(x, y - 16, 36, 20, C_CYAN);
    for (int k = -2; k <= 2; ++k)
        p.disc(x + k * 28, y + 6, 4, (n + k) % 2 ? C_RED : C_YELLOW);
}

// Rain bands turning round the board's centre (news: the typhoon).
void typhoon(Pic& p, int n, int frames) {
    const double turn = n * 6.2831853 / frames;
    for (int arm = 0; arm < 3; ++arm)
        for (int k = 0; k < 60; ++k) {
            const double a = turn + arm * 2.094 + k * 0.09;
            const int r = 20 + k * 3;
            p.disc(BOARD / 2 + static_cast<int>(r * std::cos(a)),
                   BOARD / 2 + static_cast<int>(r * std::sin(a)), 6, k % 2 ? C_GREY : C_LIGHT_GREY);
        }
    for (int k = 0; k < 30; ++k)
        p.line((k * 61 + n * 13) % BOARD, (k * 37 + n * 29) % BOARD, (k * 61 + n * 13) % BOARD - 6,
               (k * 37 + n * 29) % BOARD + 18, 1, C_CYAN);
}

// A funnel crossing the board (news: the tornado).
void tornado(Pic& p, int n, int frames) {
    const int x = BOARD / 4 + n * (BOARD / 2) / frames;
    for (int k = 0; k < 24; ++k) {
        const int y = 40 + k * 15;
        const int w = 110 - k * 4;
        const int sway = static_cast<int>(10 * std::sin((k + n) * 0.7));
        p.ellipse(x + sway, y, w, 6, k % 2 ? C_GREY : C_DARK_GREY);
    }
    for (int k = 0; k < 6; ++k)
        p.rect(x - 60 + (k * 23 + n * 11) % 120, 380 - (k * 31 + n * 17) % 200, 8, 6, C_BROWN);
}

// A monster rising behind the houses, roaring and smashing (news).
void monster(Pic& p, int n, int frames) {
    const int rise = std::min(n, frames / 3) * 200 / (frames / 3);
    const int cx = BOARD / 2, top = 420 - rise;
    p.ellipse(cx, top + 120, 90, 120, C_DARK_GREEN);
    p.disc(cx - 30, top + 40, 12, C_WHITE);
    p.disc(cx + 30, top + 40, 12, C_WHITE);
    p.disc(cx - 30, top + 40, 5, C_RED);
    p.disc(cx + 30, top + 40, 5, C_RED);
    if (n % 6 < 3) p.ellipse(cx, top + 85, 30, 14, C_DARK_RED);
    for (int k = 0; k < 5; ++k)
        p.triangle(cx - 70 + k * 35, top - 10, cx - 58 + k * 35, top + 20, cx - 82 + k * 35,
                   top + 20, C_GREEN);
    if (n > frames / 2) {
        const int arm = (n - frames / 2) % 6;
        p.line(cx + 80, top + 100, cx + 160, top + 60 + arm * 20, 14, C_DARK_GREEN);
        if (arm > 3) p.star(cx + 160, top + 130, 30, C_YELLOW);
    }
}

void add(DataBuilder& b, int entry, const FlcBytes& anim) {
    mkf_writer_add(builder_archive(b, "data.mkf"), entry, anim);
}

void build_flc_animations(DataBuilder& b) {
    add(b, 482, animation(BOARD, BOARD, 24, 80, C_NIGHT, fireworks));
    add(b, 513, animation(BOARD, BOARD, 20, 90, C_NIGHT, christmas));
    // The hospital's place is the lower part of the board (from row 210).
    add(b, 483, animation(BOARD, 270, 36, 60, C_NONE, ambulance));
    add(b, 497, animation(BOARD, BOARD, 24, 70, C_NONE, jail_bars));
    add(b, 484, animation(BOARD, BOARD, 14, 60, C_NONE, explosion));
    add(b, 485, animation(BOARD, BOARD, ANIM_RAZE_FILM_FRAMES, 80, C_NONE, raze));
    add(b, 491,
        animation(BOARD, BOARD, 12, 80, C_NONE, [](Pic& p, int n, int f) { dog(p, n, f, false); }));
    add(b, 511,
        animation(BOARD, BOARD, 12, 80, C_NONE, [](Pic& p, int n, int f) { dog(p, n, f, true); }));
    add(b, 492,
        animation(BOARD, BOARD, 16, 80, C_NONE, [](Pic& p, int n, int f) { away(p, n, f, 1); }));
    add(b, 517,
        animation(BOARD, BOARD, 16, 80, C_NONE, [](Pic& p, int n, int f) { away(p, n, f, 0); }));
    // Points and card squares play in the middle of the board.
    add(b, 496, animation(232, 160, 14, 70, C_NONE, points));
    add(b, 495, animation(224, 160, 14, 70, C_NONE, card));
    for (const God& g : gods)
        add(b, g.entry, animation(BOARD, BOARD, 16, 80, C_NONE, [&g](Pic& p, int n, int f) {
                god(p, n, f, g);
            }));
    add(b, 514, animation(BOARD, BOARD, 18, 90, C_BLACK, bankrupt));
    add(b, 512, animation(BOARD, BOARD, 48, 60, C_NONE, construction));
    // The news events' disasters, drawn over the board.
    add(b, 486, animation(BOARD, BOARD, 8, 80, C_NONE, gas_blast));
    add(b, 490, animation(BOARD, BOARD, 28, 70, C_NONE, saucer_raid));
    add(b, 493, animation(BOARD, BOARD, 12, 80, C_NONE, typhoon));
    add(b, 494, animation(BOARD, BOARD, 12, 80, C_NONE, tornado));
    add(b, 498, animation(BOARD, BOARD, 36, 70, C_NONE, monster));
    for (int c = 0; c < 12; ++c)
        add(b, 518 + c, animation(BOARD, BOARD, 18, 70, C_NIGHT, [c](Pic& p, int n, int f) {
                entry(p, n, f, c);
            }));
}

} // namespace

KARVO_DATA_GENERATOR(build_flc_animations);

// Small animations of every sub-chunk kind, and two of the game's own, as
// the FLC fuzzing seeds.
void builder_write_flc_seeds(const std::string& seed_dir) {
    const std::string dir = seed_dir + "/flc";
    std::filesystem::create_directories(dir);
    auto save = [&](const std::string& name, const FlcBytes& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    };
    constexpr int w = 15, h = 9;
    std::vector<uint8_t> a(w * h), c(w * h);
    for (int i = 0; i < w * h; ++i) {
        a[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 5);
        c[static_cast<size_t>(i)] = static_cast<uint8_t>((i / 7) % 3 == 0 ? i % 11 : i % 5);
    }
    const FlcBytes colours =
        flc_colour_chunk({{2, {{10, 20, 30}, {40, 50, 60}}}, {5, {{1, 2, 3}}}});
    save("kinds.flc", flc_file(w, h, 50,
                               {flc_other_chunk(0xF100, {1, 2, 3, 4}),
                                flc_frame_chunk({colours, flc_copy_chunk(w, h, a.data())}),
                                flc_frame_chunk({flc_word_delta_chunk(w, h, a.data(), c.data())}),
                                flc_frame_chunk({flc_byte_delta_chunk(w, h, c.data(), a.data())}),
                                flc_frame_chunk({flc_byte_run_chunk(w, h, c.data()),
                                                 flc_sub_chunk(11, {9, 9})})}));
    save("points.flc", animation(232, 160, 6, 70, C_NONE, points));
    save("card.flc", animation(224, 160, 6, 70, C_NONE, card));
}

// The two films of the card effects, drawn over the board.
namespace {

// A monster stamping in from the left, its foot coming down on the houses.
void monster_stamping(Pic& p, int n, int frames) {
    const int x = 60 + 240 * std::min(n, frames - 5) / (frames - 5);
    const int lift = (n % 4 < 2) ? 30 : 0;
    for (int k = 0; k < 3; ++k) { // the houses under it
        const int hx = 250 + 50 * k, crushed = n >= frames - 5 && k == 1 ? 30 : 0;
        p.rect(hx, 330 + crushed, 40, 50 - crushed, C_LIGHT_GREY);
        p.triangle(hx - 4, 330 + crushed, hx + 20, 305 + crushed, hx + 44, 330 + crushed, C_RED);
    }
    p.ellipse(x, 230, 70, 90, C_DARK_GREEN); // the body
    p.disc(x + 40, 130, 40, C_GREEN);        // the head
    p.disc(x + 55, 120, 8, C_YELLOW);        // an eye
    for (int t = 0; t < 4; ++t)              // teeth
        p.triangle(x + 50 + 8 * t, 150, x + 54 + 8 * t, 160, x + 58 + 8 * t, 150, C_WHITE);
    for (int s = 0; s < 5; ++s) // spikes on the back
        p.triangle(x - 70 + 12 * s, 180 + 10 * s, x - 90 + 12 * s, 170 + 10 * s, x - 66 + 12 * s,
                   165 + 10 * s, C_YELLOW);
    p.rect(x - 40, 300, 30, 80, C_DARK_GREEN);        // the planted leg
    p.rect(x + 20, 300 - lift, 30, 80, C_DARK_GREEN); // the stamping leg
    p.rect(x + 10, 375 - lift, 50, 12, C_DARK_GREEN);
    if (lift == 0 && n > 0)
        for (int d = 0; d < 6; ++d) // dust from the stamp
            p.disc(x + 35 + (d - 3) * 18, 392 - (d % 2) * 8, 6, C_GREY);
}

// A wrecking ball swinging on its chain from a crane into a building, which
// breaks apart and falls.
void wrecking_ball(Pic& p, int n, int frames) {
    constexpr int pivot_x = 120, pivot_y = 40, chain = 230;
    const double swing = 0.9 * std::cos(n * 3.14159265 / 12.0);
    const int bx = pivot_x + static_cast<int>(chain * std::sin(swing + 0.6));
    const int by = pivot_y + static_cast<int>(chain * std::cos(swing + 0.6));
    p.rect(30, 40, 12, 380, C_YELLOW); // the crane
    p.rect(30, 36, 100, 10, C_YELLOW);
    p.line(pivot_x, pivot_y, bx, by, 3, C_DARK_GREY);
    const int hits = std::min(4, n / 10);
    for (int floor = 0; floor < 6 - hits; ++floor) { // the building, losing floors
        const int fall = (n % 10) * 4 * (floor == 5 - hits ? 1 : 0);
        p.rect(290, 380 - 40 * floor + fall, 100, 38, C_BROWN);
        for (int w = 0; w < 3; ++w)
            p.rect(300 + 32 * w, 390 - 40 * floor + fall, 16, 14, C_YELLOW);
    }
    for (int r = 0; r < hits * 3; ++r) // rubble
        p.disc(280 + (r * 37) % 130, 410 + (r * 13) % 20, 8, C_GREY);
    p.disc(bx, by, 28, C_DARK_GREY);
    p.disc(bx - 8, by - 8, 7, C_GREY);
    (void)frames;
}

void build_card_films(DataBuilder& b) {
    add(b, 516, animation(BOARD, BOARD, 18, 80, C_NONE, monster_stamping));
    add(b, 488, animation(BOARD, BOARD, 40, 70, C_NONE, wrecking_ball));
}

} // namespace

KARVO_DATA_GENERATOR(build_card_films);
