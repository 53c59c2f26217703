// The spinners' and the choice dialogs' pictures: PANEL.MKF 67 (the slot
// machine), 68-71 (a wheel of each kind); data.mkf 476 frames 4 and 7 (through the
// panel set's writer), 477 (the player strips) and 2 (the portraits to choose
// from); the rattle of the reels and the tick of the wheel (EFFECT.MKF 51
// and 52) and the construction film's sound (EFFECT.MKF 91).
#include "builder.h"
#include "canvas.h"
#include "choice_pictures.h"
#include "portraits.h"
#include "sound_synth.h"

#include <cmath>
#include <string>

#include "board/spinner.h"
#include "board/spinner_screen.h"

namespace {

const uint16_t kInk = rgb555(24, 16, 16);
constexpr double kPi = 3.14159265358979;

// ---- The slot machine

FrameImage reel_body(int reels) {
    const int w = reels == 4 ? 200 : 164, h = 120;
    Canvas cv(w, h, w / 2, h / 2);
    cv.fill(0, 0, w, h, rgb555(170, 40, 40));
    cv.frame(0, 0, w, h, kInk);
    cv.frame(4, 4, w - 8, h - 8, rgb555(240, 200, 80));
    // The window the reels show through.
    const int left = (reels == 4 ? 145 : 163) - (220 - w / 2) - 3;
    cv.fill(left, h / 2 - 28, reels * 37 + 7, 56, kInk);
    return cv.img;
}

// The lever beside the body: the hinge on the body's side, the knob up
// (below the message panel) or pulled down.
FrameImage lever(int down) {
    Canvas cv(24, 110, 12, 40);
    cv.fill(9, 60, 6, 50, rgb555(120, 120, 130)); // the hinge
    if (down) {
        cv.line(12, 62, 12, 94, rgb555(200, 200, 210), 4);
        cv.ellipse(12, 98, 9, 9, rgb555(220, 40, 40));
    } else {
        cv.line(12, 62, 12, 20, rgb555(200, 200, 210), 4);
        cv.ellipse(12, 12, 9, 9, rgb555(220, 40, 40));
    }
    return cv.img;
}

// Reel position p: a digit at an even position, half of two digits between.
FrameImage reel_strip(int p) {
    Canvas cv(SPIN_REEL_W - 1, 50, 0, 25);
    cv.fill(0, 0, SPIN_REEL_W - 1, 50, rgb555(248, 244, 230));
    cv.frame(0, 0, SPIN_REEL_W - 1, 50, kInk);
    const uint16_t ink = rgb555(30, 30, 120);
    if (p % 2 == 0) {
        cv.label(std::to_string(p / 2), 18, 9, 28, ink, true);
    } else {
        // The lower half of the next digit above, the upper half of this one below.
        Canvas digits(SPIN_REEL_W - 1, 100, 0, 0);
        digits.label(std::to_string(((p + 1) / 2) % 10), 18, 9, 28, ink, true);
        digits.label(std::to_string((p / 2) % 10), 18, 59, 28, ink, true);
        for (int y = 1; y < 49; ++y)
            for (int x = 1; x < SPIN_REEL_W - 2; ++x)
                if (digits.at(x, y + 25) != 0) cv.at(x, y) = digits.at(x, y + 25);
        cv.line(1, 25, SPIN_REEL_W - 3, 25, rgb555(180, 180, 170));
    }
    return cv.img;
}

FrameSetBytes slot_machine() {
    std::vector<FrameImage> frames = {reel_body(4), reel_body(3), lever(0), lever(1)};
    for (int p = 0; p < REEL_POSITIONS; ++p)
        frames.push_back(reel_strip(p));
    return frameset_smp(frames);
}

// ---- The wheels

// The pointer: a triangle pointing at the wheel's rim, below left.
FrameImage pointer(int stop) {
    Canvas cv(36, 36, 18, 18);
    const int tri[] = {2, 2, 34, 10, 8, 33};
    cv.polygon(tri, 3, kInk);
    const int in[] = {6, 6, 29, 11, 10, 28};
    cv.polygon(in, 3, stop ? rgb555(250, 60, 40) : rgb555(250, 220, 60));
    return cv.img;
}

// The wheel turned to position p: sector p lies under the pointer (up and
// to the right); each sector the wheel can stop on shows its value.
FrameImage wheel(int kind, int p) {
    constexpr int size = 165, r = 80, c = 82;
    Canvas cv(size, size, c, c);
    const double pointer_angle = std::atan2(230.0 - 320.0, 265.0 - 220.0);
    const uint16_t colours[2] = {rgb555(250, 230, 150), rgb555(150, 200, 240)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x - c, dy = y - c;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > r) continue;
            if (d > r - 2) {
                cv.at(x, y) = kInk;
                continue;
            }
            double a = std::atan2(dy, dx) - pointer_angle + kPi / 12;
            while (a < 0)
                a += 2 * kPi;
            const int sector = (static_cast<int>(a / (kPi / 6)) % 12 + p) % 12;
            cv.at(x, y) = colours[sector % 2];
        }
    for (int s = 0; s < 12; ++s) {
        const int value = spin_wheel_table[kind][s];
        if (value < 0) continue;
        const double a = pointer_angle + (s - p) * kPi / 6;
        const int lx = c + static_cast<int>(std::lround(std::cos(a) * r * 0.68));
        const int ly = c + static_cast<int>(std::lround(std::sin(a) * r * 0.68));
        cv.label(std::to_string(value), lx, ly - 9, 18, rgb555(160, 20, 20), true);
    }
    cv.ellipse(c, c, 8, 8, kInk);
    return cv.img;
}

FrameSetBytes wheel_set(int kind) {
    std::vector<FrameImage> frames = {pointer(0), pointer(1)};
    for (int p = 0; p < WHEEL_POSITIONS; ++p)
        frames.push_back(wheel(kind, p));
    return frameset_smp(frames);
}

// ---- data.mkf 477 and 2: the player strips and the portraits

FrameImage player_strip(int players) {
    const int w = 80 * players + 16, h = 90;
    Canvas cv(w, h, w / 2, h / 2);
    cv.fill(0, 0, w, h, rgb555(60, 80, 120));
    cv.frame(0, 0, w, h, rgb555(240, 200, 80));
    for (int k = 0; k < players; ++k)
        cv.frame(12 + 80 * k - 1, 11, 74, 68, rgb555(200, 200, 220));
    return cv.img;
}

void build_spinner_pictures(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    mkf_writer_add_frameset(panel, SPIN_REELS_ENTRY, slot_machine());
    for (int kind = 0; kind < WHEEL_KIND_COUNT; ++kind)
        mkf_writer_add_frameset(panel, SPIN_WHEEL_FIRST_ENTRY + kind, wheel_set(kind));

    ArchiveWriter& data = builder_archive(b, "data.mkf");
    mkf_writer_add_frameset(data, 477,
                            frameset_smp({player_strip(2), player_strip(3), player_strip(4)}));
    std::vector<FrameImage> faces;
    for (int c = 0; c < 12; ++c)
        faces.push_back(standin_chooser_portrait(c));
    mkf_writer_add_frameset(data, 2, frameset_smp(faces));

    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    Synth rattle; // the reels: a fast looping rattle
    for (int i = 0; i < 10; ++i) {
        rattle.noise(12, 0.7, 0.5, 120);
        rattle.tone(700, 650, 8, 1, 0.3, 60);
        rattle.silence(20);
    }
    mkf_writer_add(effects, 51, wave_image_u8(rattle.u8(), 22050));
    Synth tick; // the wheel: a looping tick
    for (int i = 0; i < 6; ++i) {
        tick.tone(1800, 1500, 10, 0, 0.6, 80);
        tick.silence(50);
    }
    mkf_writer_add(effects, 52, wave_image_u8(tick.u8(), 22050));
    Synth build; // the construction film: hammering and a rising whistle
    for (int i = 0; i < 6; ++i) {
        build.noise(25, 0.9, 0.6, 50);
        build.tone(220, 200, 40, 1, 0.5, 20);
        build.silence(80);
    }
    build.tone(600, 1200, 300, 0, 0.5, 3);
    mkf_writer_add(effects, 91, wave_image_u8(build.u8(), 22050));
}

} // namespace

FrameImage standin_kind_cells() {
    Canvas cv(354, 82, 0, 0);
    cv.fill(0, 0, 354, 82, rgb555(70, 60, 50));
    cv.frame(0, 0, 354, 82, rgb555(240, 200, 80));
    const char* labels[5] = {"公园", "旅馆", "购物", "加油", "研究"};
    const uint16_t tints[5] = {rgb555(120, 200, 110), rgb555(230, 150, 120), rgb555(240, 200, 110),
                               rgb555(150, 170, 230), rgb555(200, 150, 220)};
    for (int k = 0; k < 5; ++k) {
        const int x = 7 + 68 * k;
        cv.fill(x + 4, 11, 60, 60, tints[k]);
        cv.frame(x + 4, 11, 60, 60, kInk);
        cv.label(labels[k], x + 34, 32, 16, kInk, true);
    }
    return cv.img;
}

FrameImage standin_research_panel() {
    Canvas cv(400, 88, 0, 0);
    cv.fill(0, 0, 400, 88, rgb555(60, 70, 90));
    cv.frame(0, 0, 400, 88, rgb555(240, 200, 80));
    for (int s = 0; s < 5; ++s) {
        cv.fill(15 + 76 * s, 17, 66, 54, rgb555(200, 210, 225));
        cv.frame(15 + 76 * s, 17, 66, 54, kInk);
    }
    return cv.img;
}

KARVO_DATA_GENERATOR(build_spinner_pictures);
