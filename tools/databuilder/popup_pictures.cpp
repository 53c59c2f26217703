// The engine's pop-up pictures: data.mkf 0 (the cursor frames), 399 (the
// yes/no pop-up), 476 (the board panels), 478 (the bubble's small pictures),
// and PANEL.MKF 21 and 22 (the number pad and its button-id map).
#include <cmath>
#include <string>

#include "builder.h"
#include "canvas.h"
#include "choice_pictures.h"
#include "platform/text.h"

namespace {

const uint16_t kInk = rgb555(16, 16, 16);
const uint16_t kWhite = rgb555(248, 248, 248);
const uint16_t kRed = rgb555(224, 40, 32);
const uint16_t kYellow = rgb555(248, 216, 40);
const uint16_t kGrey = rgb555(150, 150, 160);
const uint16_t kBlue = rgb555(60, 110, 220);
const uint16_t kGreen = rgb555(60, 190, 80);

// ---- data.mkf 0: 43 cursor frames of at most 32 x 32

FrameImage arrow_pointer(uint16_t body) {
    Canvas cv(20, 30, 0, 0);
    const int outline[] = {0, 0, 0, 24, 6, 19, 11, 29, 15, 27, 10, 18, 18, 18};
    cv.polygon(outline, 7, kInk);
    const int inner[] = {1, 3, 1, 21, 6, 16, 11, 26, 13, 25, 8, 16, 15, 16};
    cv.polygon(inner, 7, body);
    return cv.img;
}

FrameImage crosshair() {
    Canvas cv(31, 31, 15, 15);
    cv.fill(15, 0, 1, 31, kInk);
    cv.fill(0, 15, 31, 1, kInk);
    cv.fill(14, 2, 3, 10, kWhite);
    cv.fill(14, 19, 3, 10, kWhite);
    cv.fill(2, 14, 10, 3, kWhite);
    cv.fill(19, 14, 10, 3, kWhite);
    cv.fill(15, 0, 1, 31, kRed);
    cv.fill(0, 15, 31, 1, kRed);
    return cv.img;
}

FrameImage no_target() {
    Canvas cv(28, 28, 14, 14);
    cv.ellipse(14, 14, 13, 13, kRed);
    cv.ellipse(14, 14, 9, 9, 0);
    cv.line(6, 6, 22, 22, kRed, 4);
    return cv.img;
}

// Arrows pointing up (0), right (1), down (2) or left (3); the hot spot at the tip.
FrameImage direction_arrow(int dir, bool bright) {
    static const int kTip[4][2] = {{16, 1}, {31, 16}, {16, 31}, {1, 16}};
    Canvas cv(32, 32, kTip[dir][0], kTip[dir][1]);
    int up[] = {16, 1, 30, 15, 21, 15, 21, 30, 11, 30, 11, 15, 2, 15};
    int pts[14];
    for (int i = 0; i < 7; ++i) {
        int x = up[2 * i], y = up[2 * i + 1];
        for (int r = 0; r < dir; ++r) { // a quarter turn clockwise each
            const int nx = 32 - y, ny = x;
            x = nx;
            y = ny;
        }
        pts[2 * i] = x;
        pts[2 * i + 1] = y;
    }
    cv.polygon(pts, 7, kInk);
    // The inside lit, a one-pixel ink outline kept.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (cv.at(x, y) == kInk && x > 0 && y > 0 && x < 31 && y < 31 && cv.at(x - 1, y) &&
                cv.at(x + 1, y) && cv.at(x, y - 1) && cv.at(x, y + 1))
                cv.at(x, y) = bright ? kYellow : kGreen;
    return cv.img;
}

// One frame of a turning cycle: a ring of dots with one lit.
FrameImage cycle_frame(int lit, int count, uint16_t colour) {
    Canvas cv(32, 32, 16, 16);
    for (int k = 0; k < count; ++k) {
        const double a = 2 * 3.14159265358979 * k / count;
        const int x = 16 + static_cast<int>(std::lround(11 * std::sin(a)));
        const int y = 16 - static_cast<int>(std::lround(11 * std::cos(a)));
        cv.ellipse(x, y, k == lit ? 4 : 2, k == lit ? 4 : 2, k == lit ? colour : kGrey);
    }
    return cv.img;
}

FrameImage object_icon(int kind) {
    Canvas cv(32, 32, 16, 16);
    switch (kind) {
    case 0: // roadblock
        cv.fill(3, 12, 26, 9, kWhite);
        for (int x = 3; x < 29; x += 8)
            cv.fill(x, 12, 4, 9, kRed);
        cv.frame(3, 12, 26, 9, kInk);
        cv.fill(6, 21, 3, 8, kInk);
        cv.fill(23, 21, 3, 8, kInk);
        break;
    case 1: // mine
        cv.ellipse(16, 18, 10, 7, rgb555(90, 90, 80));
        cv.fill(15, 6, 3, 6, kInk);
        cv.ellipse(16, 6, 2, 2, kRed);
        break;
    case 2: // bomb
        cv.ellipse(14, 18, 10, 10, kInk);
        cv.line(20, 9, 26, 3, rgb555(180, 140, 60), 2);
        cv.ellipse(27, 3, 2, 2, kYellow);
        break;
    default: { // missile and nuclear missile
        cv.line(6, 26, 24, 8, kind == 3 ? kGrey : rgb555(230, 200, 60), 6);
        const int tip[] = {21, 5, 29, 3, 27, 11};
        cv.polygon(tip, 3, kRed);
        const int fin[] = {3, 21, 11, 29, 5, 29, 3, 27};
        cv.polygon(fin, 4, kRed);
        if (kind == 4) cv.ellipse(15, 17, 3, 3, kYellow);
        break;
    }
    }
    return cv.img;
}

// The pen the ticket window circles a number with: it leans to the right,
// its hot spot at the nib's tip.
FrameImage pen() {
    Canvas cv(30, 30, 1, 28);
    const int outline[] = {1, 28, 4, 19, 21, 2, 27, 8, 10, 25};
    cv.polygon(outline, 5, kInk);
    const int body[] = {6, 19, 21, 4, 25, 8, 10, 23};
    cv.polygon(body, 4, kBlue);
    cv.line(8, 19, 21, 6, rgb555(150, 190, 250)); // the shine along the barrel
    const int cap[] = {19, 6, 21, 4, 25, 8, 23, 10};
    cv.polygon(cap, 4, kRed);
    const int nib[] = {0, 29, 4, 21, 8, 25};
    cv.polygon(nib, 3, kYellow);
    cv.put(1, 28, kInk);
    return cv.img;
}

void build_cursor_frames(ArchiveWriter& data) {
    std::vector<FrameImage> frames(43);
    for (int i = 0; i < 43; ++i)
        frames[i] = numbered_picture(i, 24, 24, kGrey, 12, 12);
    for (int k = 0; k <= 4; ++k)
        frames[k] = object_icon(k);
    frames[5] = no_target();
    for (int k = 0; k < 3; ++k)
        frames[9 + k] = cycle_frame(k, 3, kYellow);
    for (int k = 0; k < 15; ++k)
        frames[12 + k] = cycle_frame(k, 15, kBlue);
    frames[27] = arrow_pointer(kYellow);
    frames[28] = pen();
    frames[32] = cycle_frame(0, 2, kRed);
    frames[33] = cycle_frame(1, 2, kRed);
    for (int d = 0; d < 4; ++d) {
        frames[34 + 2 * d] = direction_arrow(d, true);
        if (d < 3) frames[35 + 2 * d] = direction_arrow(d, false);
    }
    frames[41] = arrow_pointer(kWhite);
    frames[42] = crosshair();
    mkf_writer_add_frameset(data, 0, frameset_smp(frames));
}

// ---- data.mkf 399: the yes/no pop-up, frames 0 plain, 1 yes lit, 2 no lit

constexpr int kConfirmW = 120, kConfirmH = 56;

FrameImage confirm_frame(int lit) {
    Canvas cv(kConfirmW, kConfirmH, 0, 0);
    cv.fill(0, 0, kConfirmW, kConfirmH, rgb555(40, 60, 110));
    cv.frame(0, 0, kConfirmW, kConfirmH, kWhite);
    for (int half = 1; half <= 2; ++half) {
        const int x = half == 1 ? 6 : kConfirmW / 2 + 3;
        const uint16_t face = lit == half ? kYellow : rgb555(170, 180, 200);
        cv.fill(x, 8, kConfirmW / 2 - 9, kConfirmH - 16, face);
        cv.frame(x, 8, kConfirmW / 2 - 9, kConfirmH - 16, kInk);
        cv.label(half == 1 ? "是" : "否", x + (kConfirmW / 2 - 9) / 2, 18, 20, kInk, true);
    }
    return cv.img;
}

void build_confirm(ArchiveWriter& data) {
    mkf_writer_add_frameset(data, 399,
                            frameset_smp({confirm_frame(0), confirm_frame(1), confirm_frame(2)}));
}

// ---- data.mkf 476: the board panels; 478: the bubble's small pictures

FrameImage message_panel() {
    Canvas cv(195, 135, 97, 80);
    cv.fill(0, 0, 195, 135, rgb555(30, 50, 100));
    cv.frame(0, 0, 195, 135, rgb555(250, 220, 120));
    cv.frame(3, 3, 189, 129, rgb555(200, 170, 80));
    return cv.img;
}

FrameImage speech_bubble_frame() {
    // 300 x 120 at (220, 130): (70, 70)-(370, 190), inside the bubble's area.
    Canvas cv(300, 120, 150, 60);
    cv.ellipse(150, 58, 148, 56, kInk);
    cv.ellipse(150, 58, 146, 54, rgb555(250, 250, 240));
    const int tail[] = {60, 100, 40, 119, 95, 106};
    cv.polygon(tail, 3, rgb555(250, 250, 240));
    return cv.img;
}

// The information pop-up, 139 x 116, drawn at its top-left corner; the
// pointer corner sits where the click was: + 1 the pop-up left of the click,
// + 2 above it.
FrameImage info_popup_frame(int variant) {
    constexpr int w = 139, h = 116;
    Canvas cv(w, h, 0, 0);
    cv.fill(0, 0, w, h, rgb555(240, 232, 208));
    cv.frame(0, 0, w, h, rgb555(120, 80, 40));
    cv.frame(2, 2, w - 4, h - 4, rgb555(200, 160, 100));
    const int cx = (variant & 1) ? w - 8 : 7, cy = (variant & 2) ? h - 8 : 7;
    cv.ellipse(cx, cy, 4, 4, rgb555(200, 60, 40));
    return cv.img;
}

// A player's mark on the small minimap: a disc in the seat's colour.
FrameImage minimap_player_mark(int seat) {
    static const uint16_t colours[4] = {rgb555(230, 40, 40), rgb555(40, 90, 230),
                                        rgb555(40, 180, 60), rgb555(230, 200, 30)};
    Canvas cv(7, 7, 3, 3);
    cv.ellipse(3, 3, 3, 3, kInk);
    cv.ellipse(3, 3, 2, 2, colours[seat]);
    return cv.img;
}

// The minimap's rotation buttons: a turning arrow each way.
FrameImage rotation_button(int clockwise) {
    Canvas cv(22, 16, 0, 0);
    cv.fill(0, 0, 22, 16, rgb555(200, 200, 210));
    cv.frame(0, 0, 22, 16, kInk);
    cv.line(5, 8, 17, 8, kInk, 2);
    const int tip = clockwise ? 17 : 4, back = clockwise ? 12 : 9;
    const int head[] = {tip, 8, back, 3, back, 13};
    cv.polygon(head, 3, kInk);
    return cv.img;
}

// An owner's mark on the minimap, recoloured by the owner when drawn: a plot
// is a square, a facility or company a diamond; + 1 the odd facing, turned.
FrameImage minimap_owner_mark(int place, int large, int odd) {
    const int side = large ? 9 : 4, half = side / 2;
    Canvas cv(side, side, half, half);
    const uint16_t c = rgb555(248, 248, 248);
    if (!place) {
        if (odd)
            cv.fill(0, half / 2, side, side - half, c);
        else
            cv.fill(half / 2, 0, side - half, side, c);
    } else {
        const int d[] = {half, 0, side - 1, half, half, side - 1, 0, half};
        cv.polygon(d, 4, c);
        if (odd) cv.put(half, half, 0);
    }
    return cv.img;
}

void build_board_panels(ArchiveWriter& data) {
    std::vector<FrameImage> frames;
    for (int i = 0; i < 30; ++i)
        frames.push_back(numbered_picture(i, 20, 20, rgb555(120, 160, 120), 10, 10));
    frames[4] = standin_kind_cells();
    frames[5] = message_panel();
    frames[7] = standin_research_panel();
    frames[6] = speech_bubble_frame();
    for (int v = 0; v < 4; ++v)
        frames[8 + v] = info_popup_frame(v);
    for (int p = 0; p < 4; ++p)
        frames[12 + p] = minimap_player_mark(p);
    frames[20] = rotation_button(0);
    frames[21] = rotation_button(1);
    for (int large = 0; large < 2; ++large)
        for (int place = 0; place < 2; ++place)
            for (int odd = 0; odd < 2; ++odd)
                frames[22 + 4 * large + 2 * place + odd] = minimap_owner_mark(place, large, odd);
    mkf_writer_add_frameset(data, 476, frameset_smp(frames));
    std::vector<FrameImage> pictures;
    for (int i = 1; i <= 20; ++i)
        pictures.push_back(
            numbered_picture(i, 40, 40, rgb555(120 + 6 * i, 190, 230 - 6 * i), 0, 20));
    mkf_writer_add_frameset(data, 478, frameset_smp(pictures));
}

// ---- PANEL.MKF 21 and 22: the number pad

constexpr int kPadW = 128, kPadH = 192;
struct PadButton {
    int id, x, y, w, h;
    const char* label;
};
const PadButton kButtons[] = {
    {2, 8, 63, 58, 25, "M"},    {3, 64, 63, 57, 25, "OK"},  {4, 8, 95, 33, 17, "C"},
    {5, 48, 95, 33, 17, "0"},   {6, 88, 95, 33, 17, "←"},   {7, 8, 119, 33, 17, "7"},
    {8, 48, 119, 33, 17, "8"},  {9, 88, 119, 33, 17, "9"},  {10, 8, 143, 33, 17, "4"},
    {11, 48, 143, 33, 17, "5"}, {12, 88, 143, 33, 17, "6"}, {13, 8, 167, 33, 17, "1"},
    {14, 48, 167, 33, 17, "2"}, {15, 88, 167, 33, 17, "3"},
};
constexpr int kBarX = 10, kBarY = 42, kBarW = 107, kBarH = 12;
constexpr int kTitleH = 10;

void draw_button(Canvas& cv, const PadButton& b, int ox, int oy, bool pressed) {
    cv.fill(ox, oy, b.w, b.h, pressed ? rgb555(120, 130, 150) : rgb555(200, 205, 215));
    cv.frame(ox, oy, b.w, b.h, kInk);
    const int size = b.h > 20 ? 16 : 12;
    cv.label(b.label, ox + b.w / 2 + (pressed ? 1 : 0), oy + (b.h - size) / 2 + (pressed ? 1 : 0),
             size, kInk, true);
}

// Seven-segment digit d, 12 pixels wide (the last two columns left free).
FrameImage digit_glyph(int d) {
    static const uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                          0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    Canvas cv(12, 24, 0, 0);
    cv.fill(0, 0, 12, 24, rgb555(20, 40, 20));
    const uint16_t on = rgb555(90, 250, 110);
    const uint8_t s = kSegments[d];
    if (s & 0x01) cv.fill(2, 1, 6, 2, on);  // top
    if (s & 0x02) cv.fill(8, 3, 2, 8, on);  // upper right
    if (s & 0x04) cv.fill(8, 13, 2, 8, on); // lower right
    if (s & 0x08) cv.fill(2, 21, 6, 2, on); // bottom
    if (s & 0x10) cv.fill(0, 13, 2, 8, on); // lower left
    if (s & 0x20) cv.fill(0, 3, 2, 8, on);  // upper left
    if (s & 0x40) cv.fill(2, 11, 6, 2, on); // middle
    return cv.img;
}

void build_number_pad(ArchiveWriter& panel) {
    Canvas pad(kPadW, kPadH);
    pad.fill(0, 0, kPadW, kPadH, rgb555(70, 80, 100));
    pad.frame(0, 0, kPadW, kPadH, kInk);
    pad.fill(1, 1, kPadW - 2, kTitleH - 1, rgb555(40, 60, 130));
    pad.fill(10, 11, 108, 26, rgb555(20, 40, 20)); // the digits' window
    for (int x = 0; x < kBarW; ++x) {
        const int t = x * 255 / (kBarW - 1);
        pad.fill(kBarX + x, kBarY, 1, kBarH, rgb555(60 + t * 3 / 4, 200 - t / 2, 60));
    }
    for (const PadButton& b : kButtons)
        draw_button(pad, b, b.x, b.y, false);
    std::vector<FrameImage> frames(26);
    frames[0] = pad.img;
    Canvas bar(kBarW, kBarH);
    bar.fill(0, 0, kBarW, kBarH, rgb555(30, 30, 40));
    bar.frame(0, 0, kBarW, kBarH, kGrey);
    frames[1] = bar.img;
    for (const PadButton& b : kButtons) {
        Canvas pressed(b.w, b.h);
        draw_button(pressed, b, 0, 0, true);
        frames[b.id] = pressed.img;
    }
    for (int d = 0; d < 10; ++d)
        frames[16 + d] = digit_glyph(d);
    mkf_writer_add_frameset(panel, 21, frameset_smp(frames));

    Bytes ids(static_cast<size_t>(kPadW) * kPadH, 0);
    auto mark = [&](int x, int y, int w, int h, uint8_t id) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                ids[static_cast<size_t>(j) * kPadW + i] = id;
    };
    mark(0, 0, kPadW, kTitleH, 1);
    // The slider reaches one pixel past the bar, so its last step (p = 107) can be had.
    mark(kBarX, kBarY, kBarW + 1, kBarH, 16);
    for (const PadButton& b : kButtons)
        mark(b.x, b.y, b.w, b.h, static_cast<uint8_t>(b.id));
    mkf_writer_add(panel, 22, ids);
}

void build_popup_pictures(DataBuilder& b) {
    ArchiveWriter& data = builder_archive(b, "data.mkf");
    build_cursor_frames(data);
    build_confirm(data);
    build_board_panels(data);
    build_number_pad(builder_archive(b, "PANEL.MKF"));
    plat_font_release_all(); // the labels are done; the fonts are not kept open
}

} // namespace

KARVO_DATA_GENERATOR(build_popup_pictures);
