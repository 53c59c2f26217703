// The news and fate events' pictures: PANEL.MKF 66 (frame 0 the news panel,
// frame 1 the fate panel, both 440 x 480 to cover the board area and the
// toolbar strip; frames 2-5 the four wandering characters as the hospital's
// visiting screen shows them) and data.mkf 400-475, one scene of 388 x 251
// RGB555 pixels stored bare for each news event (400 + e) and fate picture
// (436-475), each drawn from a few plain shapes that tell its event.
#include "board_paint.h"
#include "builder.h"

#include <cmath>

namespace {

constexpr int PANEL_ENTRY = 66;
constexpr int PANEL_W = 440, PANEL_H = 480;
constexpr int PIC_W = 388, PIC_H = 251;
constexpr int PIC_X = 25, PIC_Y = 44; // where the panels frame the picture
constexpr int NEWS_FIRST = 400, FATE_FIRST = 436, FATE_LAST = 475;

uint16_t c(uint32_t rgb) {
    return rgb555_of(rgb);
}

// ---------------------------------------------------------------------------
// The panels

FrameImage panel(bool fate) {
    const uint32_t base = fate ? 0x5A2848 : 0x203C68;
    const uint32_t light = fate ? 0xB070A0 : 0x7090C8;
    Canvas16 p(PANEL_W, PANEL_H, c(base));
    // A soft gradient down the panel.
    for (int y = 0; y < PANEL_H; ++y) {
        const int k = y * 40 / PANEL_H;
        const uint32_t r = ((base >> 16) & 0xFF) + k, g = ((base >> 8) & 0xFF) + k,
                       b = (base & 0xFF) + k;
        p.rect(0, y, PANEL_W, y + 1, c(r << 16 | g << 8 | b));
    }
    p.frame(0, 0, PANEL_W, PANEL_H, c(light));
    p.frame(3, 3, PANEL_W - 3, PANEL_H - 3, c(light));
    // The strip at the top: the heading's band (news) or a plain band (fate).
    p.rect(6, 6, PANEL_W - 6, 38, c(fate ? 0x7A3868 : 0x2C5088));
    // The picture's sunken frame.
    p.rect(PIC_X - 4, PIC_Y - 4, PIC_X + PIC_W + 4, PIC_Y + PIC_H + 4, c(0x101010));
    p.frame(PIC_X - 4, PIC_Y - 4, PIC_X + PIC_W + 4, PIC_Y + PIC_H + 4, c(light));
    // The text box below the picture (the faces stand in its right end).
    const int text_top = PIC_Y + PIC_H + 8;
    p.rect(14, text_top, PANEL_W - 14, PANEL_H - 12, c(fate ? 0x4A1E3C : 0x182E54));
    p.frame(14, text_top, PANEL_W - 14, PANEL_H - 12, c(light));
    // A small emblem in the top strip's right end: a sheet of news, a star of fate.
    if (fate) {
        p.disc(410, 22, 10, 10, c(0xF0D060));
        p.disc(410, 22, 5, 5, c(0x7A3868));
    } else {
        p.rect(398, 12, 424, 32, c(0xE8E8E8));
        for (int k = 0; k < 3; ++k)
            p.rect(401, 16 + 5 * k, 421, 18 + 5 * k, c(0x404040));
    }
    return frame_of(p, 0, 0);
}

// A wandering character (thief, robber, hooligan, spy) as the hospital's
// visiting screen shows them in their beds.
FrameImage walker(int w) {
    const uint32_t coat[4] = {0x303030, 0x803020, 0x4060A0, 0x305030};
    Canvas16 p(64, 64, 0);
    p.rect(4, 40, 60, 56, c(0xF0F0F0));             // the bed
    p.rect(4, 36, 16, 56, c(0xD0D0E0));             // the pillow
    p.rect(14, 38, 50, 52, c(coat[w]));             // the blanket
    p.disc(12, 30, 8, 8, c(0xF0C8A0));              // the head
    if (w == 0) p.rect(6, 28, 18, 31, c(0x101010)); // the thief's mask
    if (w == 3) p.rect(5, 22, 19, 24, c(0x202020)); // the spy's hat brim
    return frame_of(p, 0, 0);
}

// ---------------------------------------------------------------------------
// The scenes

enum Motif {
    M_BARS,       // jail bars
    M_BARS_OPEN,  // bars swung open
    M_CROSS,      // a hospital's red cross
    M_UFO,        // a flying saucer
    M_MONSTER,    // a monster over a house
    M_HOUSE_UP,   // a house with a rising arrow
    M_HOUSE_DOWN, // a house with a falling arrow
    M_HOUSE_FLAG, // a plot with a sale flag
    M_MEDAL,      // a medal over coins
    M_COINS,      // coins
    M_TAX,        // a tax sheet and coins
    M_GHOST,      // a dark house with a ghost
    M_FIRE,       // a house on fire
    M_RAIN,       // heavy rain
    M_CARS,       // a row of cars
    M_QUAKE,      // a cracked house
    M_FLOOD,      // water over the land
    M_STORM,      // a typhoon's spiral
    M_TORNADO,    // a tornado's funnel
    M_BANK,       // a bank with columns
    M_CHART_UP,   // a rising chart
    M_CHART_DOWN, // a falling chart
    M_CHART_STOP, // a chart with a stop sign
    M_COMPANY,    // a tower with a falling arrow
    M_COMPANY_UP, // a tower with a rising arrow
    M_WRECK,      // a wrecking ball at a house
    M_CHECK,      // a crossed-out cheque
    M_SCREEN,     // a computer screen
    M_CAKE,       // a birthday cake
    M_PLANE,      // an aeroplane
    M_MOTORBIKE,  // a motorbike
    M_CAR,        // a car
    M_DITCH,      // a figure falling into a ditch
    M_FIGURE,     // a figure on a road
    M_PARTY,      // a laid table
    M_TRASH,      // litter
    M_DOG,        // a dog
    M_WALLET,     // an empty wallet
    M_TICKET,     // a lottery receipt
    M_CARDS,      // cards fanned out
    M_PRISON,     // a prison with a watch tower
};

void sky(Canvas16& p, uint32_t top, uint32_t bottom) {
    for (int y = 0; y < p.h; ++y) {
        auto mix = [&](int shift) {
            const int a = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
            return static_cast<uint32_t>(a + (b - a) * y / (p.h - 1));
        };
        p.rect(0, y, p.w, y + 1, c(mix(16) << 16 | mix(8) << 8 | mix(0)));
    }
}

void ground(Canvas16& p, uint32_t colour) {
    p.rect(0, 190, p.w, p.h, c(colour));
}

void house(Canvas16& p, int x, int y, uint32_t wall, uint32_t roof) {
    p.rect(x - 50, y - 70, x + 50, y, c(wall));
    for (int k = 0; k < 40; ++k)
        p.rect(x - 60 + k * 3 / 2, y - 70 - k, x + 60 - k * 3 / 2, y - 69 - k, c(roof));
    p.rect(x - 12, y - 36, x + 12, y, c(0x704020));
    p.rect(x - 40, y - 56, x - 22, y - 40, c(0xA0D0F0));
    p.rect(x + 22, y - 56, x + 40, y - 40, c(0xA0D0F0));
}

void arrow(Canvas16& p, int x, int y, bool up, uint32_t colour) {
    p.rect(x - 8, up ? y : y - 60, x + 8, up ? y + 60 : y, c(colour));
    for (int k = 0; k < 24; ++k) {
        const int row = up ? y - k : y + k;
        p.rect(x - 24 + k, row, x + 24 - k, row + 1, c(colour));
    }
}

void coins(Canvas16& p, int x, int y, int n) {
    for (int k = 0; k < n; ++k) {
        const int cx = x + (k % 4) * 30 - 45, cy = y - (k / 4) * 14;
        p.disc(cx, cy, 14, 7, c(0xE0B020));
        p.disc(cx, cy, 9, 4, c(0xF8D860));
    }
}

void bars(Canvas16& p, bool open) {
    p.rect(60, 30, 330, 220, c(0x303040));
    p.disc(195, 140, 30, 40, c(0xF0C8A0)); // a face behind them
    for (int k = 0; k < 7; ++k) {
        const int x = 70 + k * 40 + (open ? 120 : 0);
        p.rect(x, 30, x + 10, 220, c(0x909098));
    }
    p.rect(60, 30, 330, 40, c(0x707078));
    p.rect(60, 210, 330, 220, c(0x707078));
}

void chart(Canvas16& p, int trend) {
    p.rect(40, 30, 350, 220, c(0x102018));
    for (int k = 1; k < 5; ++k)
        p.rect(40, 30 + k * 38, 350, 31 + k * 38, c(0x204030));
    int y = 130;
    for (int x = 50; x < 340; x += 10) {
        const int ny = std::max(40, std::min(210, y - trend * 6 + ((x / 10) % 3 - 1) * 8));
        p.line(x, y, x + 10, ny, 1, c(trend > 0 ? 0xF04040 : trend < 0 ? 0x40E060 : 0xE0E0E0));
        y = ny;
    }
}

void company(Canvas16& p, bool up) {
    p.rect(130, 40, 230, 200, c(0x607090));
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 4; ++col)
            p.rect(140 + col * 22, 52 + row * 20, 154 + col * 22, 64 + row * 20, c(0xF0E080));
    arrow(p, 300, up ? 100 : 160, up, up ? 0xF04040 : 0x30C050);
}

void vehicle(Canvas16& p, int x, int y, bool car, uint32_t colour) {
    if (car) {
        p.rect(x - 60, y - 30, x + 60, y, c(colour));
        p.rect(x - 35, y - 55, x + 30, y - 30, c(colour));
        p.rect(x - 28, y - 50, x + 22, y - 34, c(0xA0D0F0));
        p.disc(x - 35, y, 14, 14, c(0x202020));
        p.disc(x + 35, y, 14, 14, c(0x202020));
    } else {
        p.disc(x - 40, y, 18, 18, c(0x202020));
        p.disc(x + 40, y, 18, 18, c(0x202020));
        p.line(x - 40, y, x, y - 30, 3, c(colour));
        p.line(x, y - 30, x + 40, y, 3, c(colour));
        p.line(x + 20, y - 40, x + 30, y - 60, 2, c(0x404040));
        p.rect(x - 20, y - 40, x + 15, y - 28, c(colour));
    }
}

void figure(Canvas16& p, int x, int y, uint32_t coat) {
    p.line(x - 10, y - 40, x - 16, y, 3, c(0x303040));
    p.line(x + 10, y - 40, x + 16, y, 3, c(0x303040));
    p.rect(x - 14, y - 80, x + 14, y - 38, c(coat));
    p.disc(x, y - 92, 12, 12, c(0xF0C8A0));
}

void prison(Canvas16& p, uint32_t wall) {
    p.rect(40, 90, 350, 200, c(wall));
    p.rect(300, 30, 340, 200, c(wall));
    p.rect(292, 22, 348, 36, c(0x404048));
    for (int k = 0; k < 6; ++k)
        for (int b = 0; b < 3; ++b)
            p.rect(60 + k * 40 + b * 9, 110, 64 + k * 40 + b * 9, 150, c(0x202028));
    p.rect(150, 160, 220, 200, c(0x303038));
    p.disc(320, 50, 6, 6, c(0xF8F080)); // the tower's lamp
}

void scene(Canvas16& p, Motif m, uint32_t tint) {
    sky(p, 0x80B0E8, 0xD8E8F8);
    ground(p, 0x70A050);
    switch (m) {
    case M_BARS:
        bars(p, false);
        break;
    case M_BARS_OPEN:
        bars(p, true);
        figure(p, 110, 215, tint);
        break;
    case M_CROSS:
        p.rect(110, 40, 280, 200, c(0xF8F8F8));
        p.rect(175, 60, 215, 180, c(0xE02020));
        p.rect(135, 100, 255, 140, c(0xE02020));
        if (tint & 1) figure(p, 320, 215, 0x6080C0);
        break;
    case M_UFO:
        sky(p, 0x101830, 0x304070);
        ground(p, 0x304030);
        house(p, 100, 200, 0xC0B090, 0x805040);
        p.disc(240, 70, 90, 22, c(0xA0A0B0));
        p.disc(240, 56, 40, 22, c(0x80E0F0));
        for (int k = 0; k < 40; ++k)
            p.rect(220 - k, 92 + k * 3, 260 + k, 95 + k * 3, c(0xF0F080));
        break;
    case M_MONSTER:
        house(p, 110, 200, 0xC0B090, 0x805040);
        p.disc(270, 120, 60, 80, c(0x40A040));
        p.disc(250, 90, 10, 10, c(0xF8F8F8));
        p.disc(290, 90, 10, 10, c(0xF8F8F8));
        p.rect(240, 140, 300, 150, c(0x802020));
        break;
    case M_HOUSE_UP:
    case M_HOUSE_DOWN:
        house(p, 150, 200, 0xE0D0A0, tint);
        arrow(p, 300, m == M_HOUSE_UP ? 80 : 150, m == M_HOUSE_UP,
              m == M_HOUSE_UP ? 0xF04040 : 0x30C050);
        break;
    case M_HOUSE_FLAG:
        p.frame(80, 150, 300, 230, c(0xF0F0F0));
        p.rect(270, 60, 276, 200, c(0x604020));
        p.rect(276, 60, 336, 100, c(tint));
        break;
    case M_MEDAL:
        coins(p, 200, 220, 8);
        p.line(180, 30, 200, 90, 4, c(0x2050C0));
        p.line(220, 30, 200, 90, 4, c(0xC02020));
        p.disc(200, 115, 34, 34, c(0xE0B020));
        p.disc(200, 115, 22, 22, c(0xF8D860));
        break;
    case M_COINS:
        coins(p, 200, 210, 12);
        break;
    case M_TAX:
        p.rect(90, 30, 230, 210, c(0xF8F8F0));
        for (int k = 0; k < 8; ++k)
            p.rect(105, 50 + k * 18, 215, 54 + k * 18, c(0x606060));
        p.rect(105, 190, 150, 200, c(tint));
        coins(p, 300, 220, 6);
        break;
    case M_GHOST:
        sky(p, 0x202030, 0x404060);
        house(p, 150, 200, 0x606070, 0x303040);
        p.disc(290, 90, 40, 50, c(0xE8E8F8));
        p.rect(250, 90, 330, 150, c(0xE8E8F8));
        p.disc(275, 80, 6, 8, c(0x101010));
        p.disc(305, 80, 6, 8, c(0x101010));
        break;
    case M_FIRE:
        house(p, 190, 200, 0xE0D0A0, 0x805040);
        for (int k = 0; k < 5; ++k)
            p.disc(130 + k * 30, 100 - (k % 2) * 20, 22, 40, c(k % 2 ? 0xF8C020 : 0xF06020));
        break;
    case M_RAIN:
    case M_STORM:
        sky(p, 0x303848, 0x707888);
        ground(p, 0x406040);
        p.disc(120, 50, 80, 30, c(0x505868));
        p.disc(270, 45, 90, 32, c(0x505868));
        for (int k = 0; k < 60; ++k) {
            const int x = (k * 53) % PIC_W, y = 80 + (k * 37) % 160;
            p.line(x, y, x - 6, y + 16, 0, c(0xA0C0F0));
        }
        if (m == M_STORM)
            for (int r = 10; r < 90; r += 8)
                p.disc(200 + r / 2, 130, r, r / 2, c(r % 16 ? 0x8090A0 : 0x505868));
        break;
    case M_CARS:
        p.rect(0, 160, PIC_W, 230, c(0x505058));
        for (int k = 0; k < 4; ++k)
            vehicle(p, 50 + k * 95, 215, true, 0xC03030 + k * 0x2040);
        break;
    case M_QUAKE:
        house(p, 190, 200, 0xE0D0A0, 0x805040);
        p.line(150, 130, 180, 170, 2, c(0x202020));
        p.line(180, 170, 170, 200, 2, c(0x202020));
        p.line(0, 205, PIC_W, 215, 3, c(0x403020));
        break;
    case M_FLOOD:
        house(p, 190, 170, 0xE0D0A0, 0x805040);
        p.rect(0, 150, PIC_W, PIC_H, c(0x4070B0));
        for (int k = 0; k < 8; ++k)
            p.rect(k * 50, 160 + (k % 2) * 20, k * 50 + 30, 164 + (k % 2) * 20, c(0xA0C8F0));
        break;
    case M_TORNADO:
        sky(p, 0x506070, 0x90A0A8);
        for (int k = 0; k < 18; ++k)
            p.disc(200 + (k % 3) * 6, 20 + k * 10, 90 - k * 4, 7, c(0x707880 + (k % 2) * 0x101010));
        break;
    case M_BANK:
        p.rect(80, 80, 310, 200, c(0xE8E0D0));
        for (int k = 0; k < 40; ++k)
            p.rect(70 + k * 3, 80 - k, 320 - k * 3, 81 - k, c(0xC8C0B0));
        for (int k = 0; k < 5; ++k)
            p.rect(100 + k * 44, 95, 116 + k * 44, 200, c(0xB0A898));
        coins(p, 330, 225, tint & 1 ? 6 : 0);
        break;
    case M_CHART_UP:
        chart(p, 1);
        break;
    case M_CHART_DOWN:
        chart(p, -1);
        break;
    case M_CHART_STOP:
        chart(p, 0);
        p.disc(300, 70, 36, 36, c(0xE02020));
        p.rect(276, 64, 324, 76, c(0xF8F8F8));
        break;
    case M_COMPANY:
    case M_COMPANY_UP:
        company(p, m == M_COMPANY_UP);
        break;
    case M_WRECK:
        house(p, 240, 200, 0xE0D0A0, 0x805040);
        p.line(60, 0, 120, 120, 1, c(0x303030));
        p.disc(120, 130, 30, 30, c(0x303030));
        break;
    case M_CHECK:
        p.rect(60, 70, 330, 180, c(0xF0F0D8));
        p.rect(80, 100, 250, 104, c(0x606060));
        p.rect(80, 130, 200, 134, c(0x606060));
        p.line(60, 70, 330, 180, 4, c(0xE02020));
        p.line(330, 70, 60, 180, 4, c(0xE02020));
        break;
    case M_SCREEN:
        p.rect(100, 40, 290, 170, c(0x303030));
        p.rect(110, 50, 280, 160, c(0x103010));
        for (int k = 0; k < 6; ++k)
            p.rect(120, 60 + k * 16, 150 + (k * 37) % 110, 66 + k * 16, c(0x40F040));
        p.rect(170, 170, 220, 200, c(0x303030));
        break;
    case M_CAKE:
        p.rect(110, 120, 280, 200, c(0xF0D0E0));
        p.rect(110, 150, 280, 160, c(0xE05080));
        for (int k = 0; k < 5; ++k) {
            p.rect(130 + k * 32, 90, 136 + k * 32, 120, c(0xF8F8F8));
            p.disc(133 + k * 32, 82, 5, 8, c(0xF8C020));
        }
        break;
    case M_PLANE:
        p.rect(90, 110, 320, 140, c(0xE8E8F0));
        p.line(180, 125, 140, 40, 10, c(0xC8C8D8));
        p.line(180, 125, 140, 210, 10, c(0xC8C8D8));
        p.line(300, 125, 320, 80, 6, c(0xC8C8D8));
        p.disc(90, 125, 20, 15, c(0xE8E8F0));
        break;
    case M_MOTORBIKE:
    case M_CAR:
        p.rect(0, 170, PIC_W, 240, c(0x505058));
        vehicle(p, 190, 220, m == M_CAR, tint);
        if (tint & 0x10) p.line(90, 120, 300, 230, 5, c(0xE02020)); // wrecked or stolen
        break;
    case M_DITCH:
        p.rect(120, 190, 280, PIC_H, c(0x403020));
        figure(p, 200, 220, 0x6080C0);
        p.rect(300, 60, 340, 100, c(0xF8F8F8));
        p.rect(315, 64, 325, 96, c(0xE02020));
        p.rect(304, 75, 336, 85, c(0xE02020));
        break;
    case M_FIGURE:
        p.rect(0, 170, PIC_W, 240, c(0x505058));
        for (int k = 0; k < 6; ++k)
            p.rect(40 + k * 55, 200, 70 + k * 55, 208, c(0xF0F0F0));
        figure(p, 200, 215, tint);
        break;
    case M_PARTY:
        p.rect(60, 140, 330, 160, c(0x905030));
        p.rect(80, 160, 90, 220, c(0x905030));
        p.rect(300, 160, 310, 220, c(0x905030));
        for (int k = 0; k < 5; ++k)
            p.disc(90 + k * 52, 130, 20, 8, c(0xF8F8F8));
        break;
    case M_TRASH:
        for (int k = 0; k < 9; ++k)
            p.rect(60 + k * 33, 200 - (k % 3) * 10, 80 + k * 33, 214 - (k % 3) * 10,
                   c(0x806040 + k * 0x081008));
        figure(p, 320, 215, 0x6080C0);
        break;
    case M_DOG:
        p.disc(190, 160, 60, 30, c(0x906030));
        p.disc(260, 130, 28, 24, c(0x906030));
        p.disc(275, 122, 5, 5, c(0x101010));
        for (int k = 0; k < 4; ++k)
            p.rect(150 + k * 26, 180, 160 + k * 26, 215, c(0x906030));
        p.disc(110, 215, 16, 6, c(0x604020));
        break;
    case M_WALLET:
        p.rect(110, 80, 280, 180, c(0x603820));
        p.rect(110, 120, 280, 126, c(0x402410));
        p.disc(196, 152, 10, 10, c(0xC0A040));
        break;
    case M_TICKET:
        p.rect(130, 30, 260, 220, c(0xF8F8F0));
        for (int k = 0; k < 8; ++k)
            p.rect(145, 50 + k * 16, 245 - (k % 3) * 20, 54 + k * 16, c(0x606060));
        p.disc(300, 80, 30, 30, c(0xE0B020));
        break;
    case M_CARDS:
        for (int k = 0; k < 5; ++k)
            p.rect(90 + k * 45, 50 + (k % 2) * 10, 160 + k * 45, 160 + (k % 2) * 10,
                   c(0xF8F8F8 - k * 0x101808));
        coins(p, 200, 225, 4);
        break;
    case M_PRISON:
        prison(p, tint);
        break;
    }
}

// News event e: its motif and tint.
Motif news_motif(int e, uint32_t* tint) {
    static const Motif motifs[36] = {
        M_BARS_OPEN,  M_BARS,       M_CROSS,      M_CROSS,      M_UFO,      M_MONSTER,
        M_HOUSE_UP,   M_HOUSE_FLAG, M_MEDAL,      M_COINS,      M_MEDAL,    M_TAX,
        M_TAX,        M_TAX,        M_GHOST,      M_FIRE,       M_RAIN,     M_CARS,
        M_QUAKE,      M_FLOOD,      M_STORM,      M_TORNADO,    M_BANK,     M_BANK,
        M_CHART_DOWN, M_CHART_UP,   M_CHART_STOP, M_CHART_STOP, M_CHART_UP, M_BARS,
        M_COMPANY,    M_COMPANY_UP, M_COMPANY,    M_COMPANY,    M_COMPANY,  M_COMPANY_UP,
    };
    *tint = 0x805040 + static_cast<uint32_t>(e) * 0x030507;
    return motifs[e];
}

// Fate picture entry 436..475: its motif and tint (the prisons of the maps
// differ by their walls).
Motif fate_motif(int entry, uint32_t* tint) {
    static const Motif motifs[] = {
        M_WRECK,  M_HOUSE_FLAG, M_BANK,     M_CHECK,     M_SCREEN, M_CAKE,  M_PLANE,
        M_UFO,    M_CHART_DOWN, M_CHART_UP, M_MOTORBIKE, M_CAR,    M_DITCH, M_MOTORBIKE,
        M_FIGURE, M_MOTORBIKE,  M_CAR,      M_PARTY,     M_TRASH,  M_DOG,   M_COINS,
        M_WALLET, M_HOUSE_UP,   M_COINS,    M_TICKET,    M_TAX,    M_TAX,   M_CARDS,
    };
    const int k = entry - FATE_FIRST;
    if (k < static_cast<int>(sizeof motifs / sizeof motifs[0])) {
        *tint = 0x3060C0 + static_cast<uint32_t>(k) * 0x050301;
        if (entry == 446 || entry == 447 || entry == 449) *tint |= 0x10; // lost or wrecked
        return motifs[k];
    }
    const uint32_t walls[] = {0x9A9AA0, 0xA89070, 0x8090A0, 0xA08080};
    *tint = walls[(entry - 464) % 4] + static_cast<uint32_t>((entry - 464) / 4) * 0x080808;
    return M_PRISON;
}

Bytes bare_pixels(const Canvas16& p) {
    Bytes data;
    data.reserve(p.px.size() * 2);
    for (uint16_t v : p.px) {
        data.push_back(static_cast<uint8_t>(v));
        data.push_back(static_cast<uint8_t>(v >> 8));
    }
    return data;
}

void build_event_pictures(DataBuilder& b) {
    std::vector<FrameImage> frames = {panel(false), panel(true)};
    for (int w = 0; w < 4; ++w)
        frames.push_back(walker(w));
    mkf_writer_add_frameset(builder_archive(b, "PANEL.MKF"), PANEL_ENTRY, frameset_smp(frames));

    ArchiveWriter& data = builder_archive(b, "data.mkf");
    for (int entry = NEWS_FIRST; entry <= FATE_LAST; ++entry) {
        Canvas16 p(PIC_W, PIC_H, c(0x808080));
        uint32_t tint = 0;
        const Motif m =
            entry < FATE_FIRST ? news_motif(entry - NEWS_FIRST, &tint) : fate_motif(entry, &tint);
        scene(p, m, tint);
        const Bytes bytes = bare_pixels(p);
        mkf_writer_add(data, entry, bytes, 0, static_cast<uint32_t>(bytes.size()));
    }
}

} // namespace

KARVO_DATA_GENERATOR(build_event_pictures);
