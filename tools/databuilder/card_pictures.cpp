// The card and item pictures: data.mkf 530-559 (one picture a card),
// PANEL.MKF 11 (the card and item panels with the item icons) and PANEL.MKF
// 77 (the computer players' settings panel and its pieces).
#include "builder.h"
#include "canvas.h"
#include "shop_pictures.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr uint16_t INK = rgb555(16, 16, 16); // the darkest colour drawn (0 is see-through)
constexpr uint16_t WHITE = rgb555(250, 250, 250);

// ---- data.mkf 530-559: the cards

struct CardArt {
    const char* name;
    int level; // nastiness 0..2 colours the face
};
// The card names (UTF-8 here; the game's own table holds them as GBK).
constexpr CardArt CARDS[30] = {
    {"均富卡", 2}, {"均贫卡", 2}, {"购地卡", 1}, {"换地卡", 0}, {"换屋卡", 0}, {"转向卡", 0},
    {"改建卡", 0}, {"拍卖卡", 1}, {"天使卡", 0}, {"恶魔卡", 2}, {"怪兽卡", 2}, {"拆除卡", 1},
    {"抢夺卡", 2}, {"停留卡", 0}, {"冬眠卡", 2}, {"梦游卡", 1}, {"陷害卡", 2}, {"复仇卡", 0},
    {"嫁祸卡", 0}, {"免费卡", 0}, {"免罪卡", 0}, {"送神符", 0}, {"请神符", 0}, {"红卡", 0},
    {"黑卡", 1},   {"查税卡", 1}, {"涨价卡", 0}, {"查封卡", 1}, {"同盟卡", 0}, {"乌龟卡", 0},
};

// An emblem of its own for each card: a regular shape whose corners and
// spokes follow the id, in a colour of its own.
void emblem(Canvas& cv, int id, int cx, int cy, int r) {
    const uint16_t colours[6] = {rgb555(250, 210, 40), rgb555(60, 200, 230), rgb555(240, 90, 160),
                                 rgb555(120, 230, 90), rgb555(250, 140, 40), rgb555(180, 120, 250)};
    const uint16_t colour = colours[id % 6];
    const int corners = 3 + id % 5;
    const bool star = (id / 5) % 2 == 1;
    std::vector<int> xy;
    const int points = star ? corners * 2 : corners;
    for (int k = 0; k < points; ++k) {
        const double a = -3.14159265 / 2 + k * 2 * 3.14159265 / points;
        const double rr = star && k % 2 == 1 ? r * 0.45 : r;
        xy.push_back(cx + static_cast<int>(rr * std::cos(a)));
        xy.push_back(cy + static_cast<int>(rr * std::sin(a)));
    }
    cv.ellipse(cx, cy, r + 6, r + 6, INK);
    cv.polygon(xy.data(), points, colour);
    // Rings inside tell apart the cards whose shape repeats.
    for (int k = 0; k <= id / 10; ++k) {
        const int rr = std::max(2, 8 - 3 * k);
        cv.ellipse(cx, cy, rr, rr, k % 2 ? colour : INK);
    }
}

FrameImage card_picture(int id) {
    constexpr int W = 165, H = 256;
    const uint16_t faces[3] = {rgb555(40, 150, 80), rgb555(220, 150, 30), rgb555(200, 40, 40)};
    const CardArt& art = CARDS[id - 1];
    Canvas cv(W, H);
    cv.fill(0, 0, W, H, rgb555(240, 235, 215));
    cv.fill(6, 6, W - 12, H - 12, faces[art.level]);
    cv.frame(6, 6, W - 12, H - 12, INK);
    cv.frame(10, 10, W - 20, H - 20, rgb555(250, 240, 200));
    emblem(cv, id, W / 2, 96, 46);
    cv.fill(14, 168, W - 28, 58, rgb555(250, 245, 230));
    cv.frame(14, 168, W - 28, 58, INK);
    const std::string name = art.name;
    const int size = name.size() > 9 ? 30 : 36; // three characters, or two
    cv.label(name, W / 2, 197 - size / 2, size, INK, true);
    cv.label(std::to_string(id), 22, 16, 16, WHITE, false);
    return cv.img;
}

// ---- PANEL.MKF 11: the card and item panels and the item icons

constexpr int PANEL_W = 410, PANEL_H = 178; // five cells of 80 x 56 to a row, three rows
constexpr int ICON = 32;                    // icons are 32 x 32, hot spot at the centre

FrameImage grid_panel(uint16_t face, uint16_t cell) {
    Canvas cv(PANEL_W, PANEL_H);
    cv.fill(0, 0, PANEL_W, PANEL_H, face);
    cv.frame(0, 0, PANEL_W, PANEL_H, INK);
    cv.frame(1, 1, PANEL_W - 2, PANEL_H - 2, rgb555(230, 230, 230));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col) {
            const int x = 5 + 80 * col, y = 5 + 56 * row;
            cv.fill(x + 2, y + 2, 76, 52, cell);
            cv.frame(x + 2, y + 2, 76, 52, INK);
        }
    return cv.img;
}

// Each item drawn so it can be told at a glance.
FrameImage item_icon(int n) {
    Canvas cv(ICON, ICON, ICON / 2, ICON / 2);
    const uint16_t grey = rgb555(150, 150, 160), red = rgb555(220, 40, 40),
                   yellow = rgb555(250, 220, 40), blue = rgb555(50, 100, 230),
                   green = rgb555(60, 190, 70), skin = rgb555(250, 200, 160);
    switch (n) {
    case 1: // robot doll: a little figure with a big head
        cv.ellipse(16, 9, 7, 7, skin);
        cv.fill(10, 16, 12, 10, rgb555(240, 120, 180));
        cv.fill(11, 26, 3, 5, INK);
        cv.fill(18, 26, 3, 5, INK);
        cv.fill(13, 8, 2, 2, INK);
        cv.fill(18, 8, 2, 2, INK);
        break;
    case 2: // roadblock: a striped barrier on legs
        cv.fill(3, 10, 26, 8, WHITE);
        for (int k = 0; k < 4; ++k)
            cv.fill(3 + 7 * k, 10, 3, 8, red);
        cv.fill(6, 18, 3, 12, grey);
        cv.fill(23, 18, 3, 12, grey);
        break;
    case 3: // mine: a flat dome with a fuse cap
        cv.ellipse(16, 22, 13, 7, rgb555(90, 90, 60));
        cv.fill(13, 12, 6, 6, red);
        break;
    case 4: { // time bomb: a round bomb with a lit fuse
        cv.ellipse(15, 19, 11, 11, INK);
        cv.ellipse(12, 16, 3, 3, grey);
        cv.line(22, 10, 27, 4, rgb555(150, 100, 40), 2);
        cv.ellipse(28, 3, 3, 3, yellow);
        break;
    }
    case 5: // motorbike: two wheels and a low frame
    case 15:
        cv.ellipse(7, 24, 6, 6, INK);
        cv.ellipse(25, 24, 6, 6, INK);
        cv.line(7, 24, 16, 14, red, 3);
        cv.line(16, 14, 25, 24, red, 3);
        cv.line(20, 10, 25, 10, grey, 2);
        break;
    case 6: // car: a body, a cabin and two wheels
    case 16:
        cv.fill(2, 14, 28, 10, blue);
        cv.fill(8, 7, 15, 8, blue);
        cv.fill(10, 9, 11, 5, rgb555(190, 230, 250));
        cv.ellipse(9, 25, 4, 4, INK);
        cv.ellipse(23, 25, 4, 4, INK);
        break;
    case 7: { // missile: a rocket body with fins and a red tip
        const int body[] = {16, 1, 21, 9, 21, 25, 11, 25, 11, 9};
        cv.polygon(body, 5, grey);
        const int tip[] = {16, 1, 21, 9, 11, 9};
        cv.polygon(tip, 3, red);
        cv.fill(6, 20, 5, 8, red);
        cv.fill(21, 20, 5, 8, red);
        cv.fill(13, 26, 6, 5, yellow);
        break;
    }
    case 8: // remote dice: a die showing five
        cv.fill(4, 4, 24, 24, WHITE);
        cv.frame(4, 4, 24, 24, INK);
        for (const auto& [x, y] : {std::pair{9, 9}, {21, 9}, {15, 15}, {9, 21}, {21, 21}})
            cv.ellipse(x, y, 2, 2, red);
        break;
    case 9: // robot worker: a square head with an antenna and a spanner arm
        cv.fill(9, 8, 14, 11, grey);
        cv.fill(12, 11, 3, 3, blue);
        cv.fill(18, 11, 3, 3, blue);
        cv.line(16, 8, 16, 2, INK, 1);
        cv.ellipse(16, 2, 2, 2, red);
        cv.fill(10, 19, 12, 10, rgb555(110, 110, 130));
        cv.line(22, 21, 29, 15, yellow, 2);
        break;
    case 10: // time machine: a clock face
        cv.ellipse(16, 16, 14, 14, yellow);
        cv.ellipse(16, 16, 11, 11, WHITE);
        cv.line(16, 16, 16, 8, INK, 2);
        cv.line(16, 16, 22, 19, INK, 2);
        break;
    case 11: // teleporter: nested rings of a portal
        cv.ellipse(16, 16, 14, 14, rgb555(140, 60, 220));
        cv.ellipse(16, 16, 10, 10, rgb555(60, 210, 230));
        cv.ellipse(16, 16, 6, 6, rgb555(140, 60, 220));
        cv.ellipse(16, 16, 2, 2, WHITE);
        break;
    case 12: // construction vehicle: a bulldozer with its blade
        cv.fill(8, 10, 14, 10, yellow);
        cv.fill(11, 5, 8, 6, yellow);
        cv.fill(6, 20, 20, 7, INK);
        cv.fill(24, 12, 5, 15, grey);
        break;
    default: // 13 nuclear missile: an atom
        cv.ellipse(16, 16, 4, 4, red);
        for (int k = 0; k < 3; ++k) {
            const double a = k * 3.14159265 / 3;
            for (int t = 0; t < 80; ++t) {
                const double u = t * 2 * 3.14159265 / 80;
                const double ex = 13 * std::cos(u), ey = 5 * std::sin(u);
                cv.put(16 + static_cast<int>(ex * std::cos(a) - ey * std::sin(a)),
                       16 + static_cast<int>(ex * std::sin(a) + ey * std::cos(a)), green);
            }
        }
        break;
    }
    if (n == 15 || n == 16) { // leaving the vehicle: an arrow out
        cv.line(18, 5, 29, 5, WHITE, 2);
        const int head[] = {31, 5, 26, 1, 26, 9};
        cv.polygon(head, 3, WHITE);
    }
    return cv.img;
}

// The dismount cell's picture (n 15 the motorbike, 16 the car): a cell's
// size with its top-left corner as the hot spot, since the menu puts it on
// the cell's corner; the vehicle and its leave arrow in the middle, the rest
// see-through.
FrameImage dismount_picture(int n) {
    Canvas cv(80, 56);
    const FrameImage icon = item_icon(n);
    const int left = 40 - icon.width / 2, top = 28 - icon.height / 2;
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x)
            if (const uint16_t c = icon.pixels[static_cast<size_t>(y) * icon.width + x])
                cv.put(left + x, top + y, c);
    return cv.img;
}

// ---- PANEL.MKF 77: the computer players' settings panel

constexpr int AI_W = 430, AI_H = 350;
// The panel lies at (102, 62) of the screen; the rectangles below are the
// screen's, less that corner.
constexpr int AX = 102, AY = 62;

FrameImage ai_panel() {
    Canvas cv(AI_W, AI_H);
    const uint16_t face = rgb555(50, 60, 90), well = rgb555(30, 36, 56),
                   line = rgb555(200, 200, 220);
    cv.fill(0, 0, AI_W, AI_H, face);
    cv.frame(0, 0, AI_W, AI_H, line);
    cv.frame(2, 2, AI_W - 4, AI_H - 4, INK);
    cv.fill(110 - AX, 70 - AY, 117, 4 * 83, well); // the four rows
    // The switches, the personality rows and the two bars.
    for (int y : {106, 137, 194, 226, 259}) {
        cv.fill(287 - AX, y - AY, 97, 19, well);
        cv.frame(288 - AX, y + 1 - AY, 16, 16, line);
    }
    for (int y : {328, 361}) {
        cv.fill(298 - AX, y - AY, 12, 23, rgb555(110, 120, 160));
        cv.fill(392 - AX, y - AY, 12, 23, rgb555(110, 120, 160));
        cv.line(306 - AX, y + 5 - AY, 301 - AX, y + 11 - AY, WHITE, 2);
        cv.line(301 - AX, y + 11 - AY, 306 - AX, y + 17 - AY, WHITE, 2);
        cv.line(396 - AX, y + 5 - AY, 401 - AX, y + 11 - AY, WHITE, 2);
        cv.line(401 - AX, y + 11 - AY, 396 - AX, y + 17 - AY, WHITE, 2);
        cv.fill(310 - AX, y - AY, 81, 23, well);
        cv.frame(310 - AX, y - AY, 81, 23, line);
    }
    for (int y : {159, 247}) { // the two buttons
        cv.fill(479 - AX, y - AY, 41, 57, rgb555(210, 200, 170));
        cv.frame(479 - AX, y - AY, 41, 57, WHITE);
    }
    return cv.img;
}

FrameImage ai_piece(int w, int h, uint16_t fill, uint16_t edge) {
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, fill);
    cv.frame(0, 0, w, h, edge);
    return cv.img;
}

FrameImage ai_row_frame(bool lit) {
    Canvas cv(117, 83);
    const uint16_t edge = lit ? rgb555(250, 220, 60) : rgb555(130, 140, 180);
    cv.fill(0, 0, 117, 83, lit ? rgb555(90, 100, 150) : rgb555(40, 46, 70));
    cv.frame(0, 0, 117, 83, edge);
    cv.frame(1, 1, 115, 81, edge);
    return cv.img;
}

FrameImage ai_hand_over_mark() { // a small computer screen
    Canvas cv(24, 22);
    cv.fill(0, 0, 24, 16, rgb555(180, 180, 190));
    cv.fill(3, 3, 18, 10, rgb555(60, 200, 230));
    cv.fill(9, 16, 6, 3, rgb555(180, 180, 190));
    cv.fill(4, 19, 16, 3, rgb555(180, 180, 190));
    return cv.img;
}

FrameImage ai_check_mark() {
    Canvas cv(16, 16);
    cv.line(2, 8, 6, 13, rgb555(80, 240, 90), 3);
    cv.line(6, 13, 14, 2, rgb555(80, 240, 90), 3);
    return cv.img;
}

FrameImage ai_pressed_arrow(bool right) {
    Canvas cv(12, 23);
    cv.fill(0, 0, 12, 23, rgb555(60, 70, 110));
    const int x0 = right ? 4 : 8, x1 = right ? 9 : 3;
    cv.line(x0, 6, x1, 12, rgb555(250, 220, 60), 2);
    cv.line(x1, 12, x0, 18, rgb555(250, 220, 60), 2);
    return cv.img;
}

void build_card_pictures(DataBuilder& b) {
    ArchiveWriter& data = builder_archive(b, "data.mkf");
    for (int id = 1; id <= 30; ++id)
        mkf_writer_add_frameset(data, 529 + id, frameset_smp({card_picture(id)}));

    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    std::vector<FrameImage> frames{grid_panel(rgb555(40, 60, 120), rgb555(60, 90, 160)),
                                   grid_panel(rgb555(40, 100, 70), rgb555(60, 140, 100))};
    for (int n = 1; n <= 13; ++n)
        frames.push_back(item_icon(n));
    frames.push_back(dismount_picture(15));
    frames.push_back(dismount_picture(16));
    shop_counter_frames(frames);
    mkf_writer_add_frameset(panel, 11, frameset_smp(frames));

    const uint16_t pressed = rgb555(150, 140, 110);
    mkf_writer_add_frameset(
        panel, 77,
        frameset_smp({ai_panel(), ai_row_frame(false), ai_row_frame(true), ai_hand_over_mark(),
                      ai_check_mark(), ai_pressed_arrow(false), ai_pressed_arrow(true),
                      ai_piece(41, 57, pressed, INK), ai_piece(41, 57, pressed, INK),
                      ai_piece(8, 23, rgb555(80, 220, 120), rgb555(40, 140, 70))}));
}

} // namespace

KARVO_DATA_GENERATOR(build_card_pictures);
