// JUMP.MKF: the four cities' backgrounds (0-3, bare 640 x 480 pixels), the
// setup and stage-end screens' frame set (4) and the characters' runners
// (5 + 3 x character + travel mode: on foot, on a motorbike, in a car).
#include <string>
#include <vector>

#include "builder.h"
#include "canvas.h"
#include "data/characters.h"
#include "shell/setup_layout.h"

namespace {

const uint16_t kInk = rgb555(24, 20, 20);
const uint16_t kWhite = rgb555(248, 248, 248);
const uint16_t kPaper = rgb555(236, 226, 196);
const uint16_t kPaperDark = rgb555(180, 160, 120);
const uint16_t kYellow = rgb555(248, 216, 40);
const uint16_t kRed = rgb555(210, 40, 32);
const uint16_t kSkin = rgb555(240, 200, 160);

const char* const kCities[4] = {"台北", "北京", "东京", "纽约"};

uint16_t colour_of(uint32_t rgb) {
    return rgb555((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF) | 0x0421; // never 0
}

// ---- 0..3: a city at dusk, its towers in a row of its own, its name large

struct CityLook {
    int sky_top[3], sky_bottom[3];
    uint32_t seed;
};
const CityLook kLooks[4] = {
    {{40, 60, 140}, {240, 150, 90}, 11},
    {{90, 30, 50}, {240, 190, 110}, 23},
    {{20, 40, 90}, {220, 120, 160}, 37},
    {{10, 20, 60}, {90, 150, 220}, 41},
};

Bytes city_background(int map) {
    const CityLook& look = kLooks[map];
    Canvas cv(640, 480);
    for (int y = 0; y < 480; ++y) {
        const int t = y * 255 / 479;
        int c[3];
        for (int i = 0; i < 3; ++i)
            c[i] = look.sky_top[i] + (look.sky_bottom[i] - look.sky_top[i]) * t / 255;
        cv.fill(0, y, 640, 1, rgb555(c[0], c[1], c[2]));
    }
    uint32_t seed = look.seed;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<uint32_t>(range));
    };
    // Two rows of towers, the far one paler; the picture wraps sideways, so
    // the last tower stops short of the right edge.
    for (int row = 0; row < 2; ++row) {
        const uint16_t body = row == 0 ? rgb555(70, 70, 110) : rgb555(30, 28, 48);
        for (int x0 = row * 17; x0 < 620;) {
            const int w = 26 + next(44);
            const int top = (row == 0 ? 170 : 250) + next(110);
            cv.fill(x0, top, w, 480 - top, body);
            if (row == 1)
                for (int y = top + 6; y < 470; y += 12)
                    for (int x = x0 + 4; x < x0 + w - 5; x += 8)
                        if (next(3)) cv.fill(x, y, 3, 5, rgb555(250, 220, 120));
            x0 += w + 3 + next(10);
        }
    }
    cv.label(kCities[map], 320, 380, 64, rgb555(250, 250, 240), true);
    Bytes out;
    out.reserve(cv.img.pixels.size() * 2);
    for (uint16_t p : cv.img.pixels) {
        out.push_back(static_cast<uint8_t>(p));
        out.push_back(static_cast<uint8_t>(p >> 8));
    }
    return out;
}

// ---- 4: the frame set

void raised(Canvas& cv, int x, int y, int w, int h, uint16_t face) {
    cv.fill(x, y, w, h, face);
    cv.fill(x, y, w, 2, kWhite);
    cv.fill(x, y, 2, h, kWhite);
    cv.fill(x, y + h - 2, w, 2, kPaperDark);
    cv.fill(x + w - 2, y, 2, h, kPaperDark);
    cv.frame(x, y, w, h, kInk);
}

void sunken(Canvas& cv, int x, int y, int w, int h, uint16_t face) {
    cv.fill(x, y, w, h, face);
    cv.fill(x, y, w, 2, kPaperDark);
    cv.fill(x, y, 2, h, kPaperDark);
    cv.frame(x, y, w, h, kInk);
}

void down_arrow(Canvas& cv, int x, int y, uint16_t c) {
    const int tri[] = {x + 6, y + 9, x + 18, y + 9, x + 12, y + 16};
    cv.polygon(tri, 3, c);
}

FrameImage grid_picture() {
    Canvas cv(GRID_W, GRID_H);
    cv.fill(0, 0, GRID_W, GRID_H, rgb555(40, 56, 96));
    cv.frame(0, 0, GRID_W, GRID_H, kInk);
    cv.frame(1, 1, GRID_W - 2, GRID_H - 2, rgb555(140, 160, 210));
    const int ox = GRID_CELL_X - GRID_X, oy = GRID_CELL_Y - GRID_Y;
    for (int c = 0; c < 12; ++c) {
        const int x = ox + GRID_CELL * (c % GRID_COLUMNS), y = oy + GRID_CELL * (c / GRID_COLUMNS);
        cv.fill(x, y, GRID_CELL, GRID_CELL, rgb555(200, 210, 230));
        cv.frame(x, y, GRID_CELL, GRID_CELL, kInk);
    }
    return cv.img;
}

// The panel in its own coordinates: the map buttons, start and back, the
// six value boxes with their arrows (the captions and values are written on
// it by the screen).
constexpr int PX(int screen_x) {
    return screen_x - PANEL_X;
}
constexpr int PY(int screen_y) {
    return screen_y - PANEL_Y;
}

FrameImage panel_picture() {
    Canvas cv(PANEL_W, PANEL_H);
    cv.fill(0, 0, PANEL_W, PANEL_H, kPaper);
    cv.frame(0, 0, PANEL_W, PANEL_H, kInk);
    cv.frame(2, 2, PANEL_W - 4, PANEL_H - 4, kPaperDark);
    cv.label("选择地图", PANEL_W / 2, 4, 14, kInk, true);
    for (int m = 0; m < 4; ++m) {
        const int y = PY(SETUP_MAP_TOP + SETUP_MAP_H * m);
        raised(cv, PX(SETUP_MAP_LEFT), y, SETUP_MAP_RIGHT - SETUP_MAP_LEFT, SETUP_MAP_H - 1,
               rgb555(200, 216, 236));
        cv.label(kCities[m], PANEL_W / 2, y + 7, 16, kInk, true);
    }
    const PlatRect buttons[2] = {SETUP_START_SPOT, SETUP_BACK_SPOT};
    const char* const words[2] = {"开 始", "返 回"};
    for (int b = 0; b < 2; ++b) {
        const PlatRect& r = buttons[b];
        raised(cv, PX(r.left), PY(r.top), r.right - r.left, r.bottom - r.top,
               b == 0 ? rgb555(120, 200, 120) : rgb555(220, 150, 120));
        cv.label(words[b], PX((r.left + r.right) / 2), PY(r.top) + 11, 16, kInk, true);
    }
    for (int k = 0; k < 6; ++k) {
        const int y = PY(SETUP_ARROW_TOP + SETUP_ARROW_STEP * k);
        cv.fill(4, y, 64, SETUP_ARROW_H, rgb555(70, 80, 120)); // under the caption
        sunken(cv, 70, y, PX(SETUP_ARROW_LEFT) - 70, SETUP_ARROW_H, kWhite);
        raised(cv, PX(SETUP_ARROW_LEFT), y, SETUP_ARROW_RIGHT - SETUP_ARROW_LEFT, SETUP_ARROW_H,
               rgb555(200, 200, 210));
        down_arrow(cv, PX(SETUP_ARROW_LEFT), y, kInk);
    }
    return cv.img;
}

FrameImage pressed_strip() {
    Canvas cv(PANEL_W, SETUP_BUTTON_ROW_H);
    const PlatRect buttons[2] = {SETUP_START_SPOT, SETUP_BACK_SPOT};
    const char* const words[2] = {"开 始", "返 回"};
    for (int b = 0; b < 2; ++b) {
        const PlatRect& r = buttons[b];
        const int x = PX(r.left), y = PY(r.top) - SETUP_BUTTON_ROW_Y;
        sunken(cv, x, y, r.right - r.left, r.bottom - r.top,
               b == 0 ? rgb555(90, 170, 90) : rgb555(190, 120, 90));
        cv.label(words[b], PX((r.left + r.right) / 2) + 1, y + 12, 16, kInk, true);
    }
    return cv.img;
}

FrameImage pressed_arrow() {
    Canvas cv(SETUP_ARROW_RIGHT - SETUP_ARROW_LEFT, SETUP_ARROW_H);
    sunken(cv, 0, 0, cv.img.width, cv.img.height, rgb555(160, 160, 176));
    down_arrow(cv, 1, 1, kInk);
    return cv.img;
}

FrameImage list_paper() {
    Canvas cv(90, 140);
    cv.fill(0, 0, 90, 140, rgb555(250, 246, 226));
    return cv.img;
}

// A stamp of two characters in a red ring, its hot spot at the centre.
FrameImage stamp(const char* word, int w, int h) {
    Canvas cv(w, h, w / 2, h / 2);
    cv.ellipse(w / 2, h / 2, w / 2 - 1, h / 2 - 1, kRed);
    cv.ellipse(w / 2, h / 2, w / 2 - 4, h / 2 - 4, 0);
    cv.label(word, w / 2, h / 2 - 8, 16, kRed, true);
    return cv.img;
}

// The stage end's stamp on a cleared map: a small red seal with a tick,
// small enough for the corner of a chooser row (20 x 12 from (220, 28)).
FrameImage cleared_stamp() {
    Canvas cv(20, 12, 10, 6);
    cv.ellipse(10, 6, 9, 5, kRed);
    cv.line(5, 6, 8, 9, kWhite);
    cv.line(8, 9, 14, 3, kWhite);
    return cv.img;
}

FrameImage outline(int w, int h, uint16_t c) {
    Canvas cv(w, h);
    for (int i = 0; i < 3; ++i)
        cv.frame(i, i, w - 2 * i, h - 2 * i, c);
    return cv.img;
}

FrameImage blank() {
    return Canvas(1, 1).img;
}

FrameImage stage_map_picture(int map) {
    Canvas cv(240, 40, 120, 20);
    cv.fill(0, 0, 240, 40, rgb555(250, 230, 150));
    cv.frame(0, 0, 240, 40, kInk);
    cv.label(kCities[map], 120, 11, 18, kInk, true);
    return cv.img;
}

FrameImage stage_chooser() {
    Canvas cv(240, 160, 120, 80);
    cv.fill(0, 0, 240, 160, kPaper);
    for (int m = 0; m < 4; ++m) {
        cv.frame(0, 40 * m, 240, 40, kInk);
        cv.label(kCities[m], 120, 40 * m + 11, 18, kPaperDark, true);
    }
    return cv.img;
}

FrameImage chosen_mark() {
    Canvas cv(24, 24);
    cv.line(3, 12, 9, 19, kRed, 3);
    cv.line(9, 19, 21, 4, kRed, 3);
    return cv.img;
}

FrameSetBytes screen_frames() {
    std::vector<FrameImage> f(SF_COUNT, blank());
    f[SF_GRID] = grid_picture();
    f[SF_PANEL] = panel_picture();
    f[SF_PRESSED] = pressed_strip();
    f[SF_ARROW] = pressed_arrow();
    f[SF_LIST] = list_paper();
    f[SF_BEATEN] = stamp("击败", 60, 36);
    f[SF_MAP_MARK] = outline(SETUP_MAP_RIGHT - SETUP_MAP_LEFT, SETUP_MAP_H - 1, kRed);
    f[SF_CELL_LIT] = outline(GRID_CELL, GRID_CELL, kYellow);
    f[SF_STAGE_STAMP] = cleared_stamp();
    for (int m = 0; m < 4; ++m)
        f[SF_STAGE_MAP + m] = stage_map_picture(m);
    f[SF_STAGE_CHOOSER] = stage_chooser();
    f[SF_STAGE_CHOSEN] = chosen_mark();
    return frameset_smp(f);
}

// ---- 5..40: a character running to the right, 8 frames, the hot spot
// under its feet

constexpr int RUNNER_FRAMES = 8;

void runner_body(Canvas& cv, int cx, int ground, int step, uint16_t own, bool legs) {
    const int swing[RUNNER_FRAMES] = {0, 4, 8, 4, 0, -4, -8, -4};
    const int s = swing[step % RUNNER_FRAMES];
    const int hip = ground - 26, shoulder = ground - 50;
    if (legs) {
        cv.line(cx, hip, cx + s, ground - 2, kInk, 4);
        cv.line(cx, hip, cx - s, ground - 2, kInk, 4);
    }
    cv.fill(cx - 8, shoulder, 16, hip - shoulder + 2, own);
    cv.frame(cx - 8, shoulder, 16, hip - shoulder + 2, kInk);
    cv.line(cx, shoulder + 4, cx + 10 - s / 2, shoulder + 16, own, 3);
    cv.ellipse(cx + 2, shoulder - 10, 9, 9, kSkin);
    cv.ellipse(cx + 2, shoulder - 16, 9, 4, own); // the hair in the character's colour
    cv.put(cx + 7, shoulder - 11, kInk);
    cv.put(cx + 7, shoulder - 10, kInk);
}

void wheel(Canvas& cv, int x, int y, int r, int step) {
    cv.ellipse(x, y, r, r, kInk);
    cv.ellipse(x, y, r / 3, r / 3, rgb555(170, 170, 170));
    const int dx[4] = {r - 2, 0, -(r - 2), 0}, dy[4] = {0, r - 2, 0, -(r - 2)};
    cv.put(x + dx[step % 4], y + dy[step % 4], rgb555(220, 220, 220));
}

FrameImage runner_frame(int character, int mode, int step) {
    const uint16_t own = colour_of(character_table[character].colour);
    if (mode == 0) {
        Canvas cv(48, 84, 24, 83);
        runner_body(cv, 22, 83 - (step % 4 == 2 ? 3 : 0), step, own, true);
        return cv.img;
    }
    if (mode == 1) {
        Canvas cv(84, 84, 42, 83);
        wheel(cv, 18, 70, 12, step);
        wheel(cv, 66, 70, 12, step);
        cv.fill(16, 56, 52, 8, kRed);
        cv.line(60, 56, 66, 40, kInk, 2);
        runner_body(cv, 38, 70, 0, own, false);
        return cv.img;
    }
    Canvas cv(100, 70, 50, 69);
    wheel(cv, 22, 58, 10, step);
    wheel(cv, 78, 58, 10, step);
    cv.fill(4, 34, 92, 20, own);
    cv.fill(24, 16, 50, 20, own);
    cv.frame(4, 34, 92, 20, kInk);
    cv.frame(24, 16, 50, 20, kInk);
    cv.fill(50, 20, 20, 13, rgb555(200, 220, 250));
    cv.ellipse(58, 26, 5, 5, kSkin);
    cv.fill(90, 38, 6, 5, kYellow);
    return cv.img;
}

FrameSetBytes runner_set(int character, int mode) {
    std::vector<FrameImage> frames;
    for (int step = 0; step < RUNNER_FRAMES; ++step)
        frames.push_back(runner_frame(character, mode, step));
    return frameset_smp(frames);
}

void build_jump_pictures(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "JUMP.MKF");
    for (int m = 0; m < 4; ++m) {
        const Bytes px = city_background(m);
        mkf_writer_add(a, m, px, 0, static_cast<uint32_t>(px.size()));
    }
    mkf_writer_add_frameset(a, JUMP_FRAME_SET, screen_frames());
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        for (int mode = 0; mode < 3; ++mode)
            mkf_writer_add_frameset(a, JUMP_RUNNER_FIRST + 3 * c + mode, runner_set(c, mode));
}

} // namespace

KARVO_DATA_GENERATOR(build_jump_pictures);
