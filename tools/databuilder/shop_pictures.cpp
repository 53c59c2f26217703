// The points shop's and the magic house's pictures and sounds: PANEL.MKF 10
// (the two counters' backgrounds), the shop's frames of PANEL.MKF 11 (see
// shop_pictures.h), PANEL.MKF 18 (the house and its fate buttons), 19 (the
// condition wheel and the conditions), 20 (the host, his balloon and the
// house's spell) and EFFECT.MKF 150-154 (purchase, sale, counter switch,
// wheel tick, spell).
#include "shop_pictures.h"

#include "builder.h"
#include "canvas.h"
#include "sound_synth.h"

#include <cmath>
#include <string>

#include "finance/magic_house.h"
#include "finance/shop_screen.h"

namespace {

constexpr uint16_t INK = rgb555(16, 16, 16);
constexpr uint16_t WHITE = rgb555(250, 250, 250);
constexpr uint16_t GOLD = rgb555(250, 210, 60);
constexpr double PI = 3.14159265358979;

// A raised button with a label, drawn straight onto a picture.
void raised_button(Canvas& cv, const PlatRect& r, const char* label, uint16_t face) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    cv.fill(r.left, r.top, w, h, face);
    cv.fill(r.left, r.top, w, 3, WHITE);
    cv.fill(r.left, r.top, 3, h, WHITE);
    cv.fill(r.left, r.bottom - 3, w, 3, INK);
    cv.fill(r.right - 3, r.top, 3, h, INK);
    cv.label(label, (r.left + r.right) / 2, (r.top + r.bottom) / 2 - 10, 20, INK, true);
}

// The same button pressed in: only its edges, so the label underneath shows.
FrameImage pressed_edges(int w, int h) {
    Canvas cv(w, h);
    cv.fill(0, 0, w, 3, INK);
    cv.fill(0, 0, 3, h, INK);
    cv.fill(0, h - 3, w, 3, rgb555(200, 200, 200));
    cv.fill(w - 3, 0, 3, h, rgb555(200, 200, 200));
    return cv.img;
}

// ---- PANEL.MKF 10: a counter's background (cards 0, items 1)

FrameImage counter_background(int counter) {
    Canvas cv(640, 480);
    const uint16_t wall = counter == 0 ? rgb555(70, 90, 150) : rgb555(60, 130, 90);
    const uint16_t stripe = counter == 0 ? rgb555(80, 100, 165) : rgb555(70, 145, 100);
    cv.fill(0, 0, 640, 480, wall);
    for (int x = 0; x < 640; x += 40)
        cv.fill(x, 0, 20, 300, stripe);
    cv.fill(0, 290, 640, 190, rgb555(120, 80, 50)); // the floor
    // The counter desk in front of the clerk.
    cv.fill(240, 240, 300, 22, rgb555(170, 120, 70));
    cv.frame(240, 240, 300, 22, INK);
    // The shop's sign over the goods.
    cv.fill(16, 10, 206, 46, rgb555(200, 60, 50));
    cv.frame(16, 10, 206, 46, GOLD);
    cv.label(counter == 0 ? "卡片兑换处" : "道具兑换处", 119, 20, 24, WHITE, true);
    // The goods' place: the panel slides in over it.
    cv.fill(SHOP_PANEL_X, SHOP_PANEL_Y, SHOP_PANEL_W, SHOP_PANEL_H, rgb555(40, 40, 60));
    // The balance.
    const PlatRect& p = SHOP_POINTS_RECT;
    cv.fill(p.left, p.top, p.right - p.left - 4, p.bottom - p.top, rgb555(30, 30, 40));
    cv.frame(p.left, p.top, p.right - p.left - 4, p.bottom - p.top, GOLD);
    // The strip naming the goods under the cursor.
    const PlatRect& h = SHOP_HOVER_RECT;
    cv.fill(h.left, h.top, h.right - h.left, h.bottom - h.top, rgb555(30, 30, 40));
    cv.frame(h.left, h.top, h.right - h.left, h.bottom - h.top, rgb555(150, 150, 170));
    // The player's own goods.
    const PlatRect& g = SHOP_GOODS;
    cv.fill(g.left - 5, g.top - 5, 410, 178, rgb555(50, 50, 70));
    // The two buttons: to the other counter, and out.
    raised_button(cv, SHOP_SWITCH_BUTTON, counter == 0 ? "道具" : "卡片", GOLD);
    raised_button(cv, SHOP_LEAVE_BUTTON, "离开", rgb555(230, 120, 100));
    return cv.img;
}

// ---- PANEL.MKF 11 from frame 17

FrameImage counter_panel(int counter) {
    Canvas cv(SHOP_PANEL_W, SHOP_PANEL_H);
    const uint16_t face = counter == 0 ? rgb555(30, 50, 110) : rgb555(30, 90, 60);
    const uint16_t band = counter == 0 ? rgb555(45, 70, 140) : rgb555(45, 115, 80);
    cv.fill(0, 0, SHOP_PANEL_W, SHOP_PANEL_H, face);
    cv.frame(0, 0, SHOP_PANEL_W, SHOP_PANEL_H, GOLD);
    cv.frame(2, 2, SHOP_PANEL_W - 4, SHOP_PANEL_H - 4, INK);
    const int left = SHOP_CARD_ROWS.left - SHOP_PANEL_X;
    const int width = SHOP_CARD_ROWS.right - SHOP_CARD_ROWS.left;
    if (counter == 0) {
        for (int i = 0; i < 15; i += 2)
            cv.fill(left, SHOP_CARD_ROWS.top - SHOP_PANEL_Y + SHOP_CARD_ROW_H * i, width,
                    SHOP_CARD_ROW_H, band);
    } else {
        for (int i = 0; i < 8; i += 2)
            cv.fill(left, SHOP_ITEM_ROWS.top - SHOP_PANEL_Y + SHOP_ITEM_ROW_H * i, width,
                    SHOP_ITEM_ROW_H, band);
    }
    return cv.img;
}

FrameImage clerk(int counter) {
    Canvas cv(120, 150);
    const uint16_t skin = rgb555(250, 205, 170);
    const uint16_t hair = counter == 0 ? rgb555(60, 40, 30) : rgb555(200, 120, 40);
    const uint16_t coat = counter == 0 ? rgb555(40, 80, 200) : rgb555(200, 60, 100);
    cv.ellipse(60, 130, 50, 40, coat); // shoulders
    cv.fill(52, 78, 16, 14, skin);     // neck
    cv.ellipse(60, 50, 32, 36, skin);  // face
    cv.ellipse(60, 24, 34, 18, hair);  // hair
    cv.ellipse(47, 50, 4, 5, INK);     // eyes
    cv.ellipse(73, 50, 4, 5, INK);
    cv.line(50, 68, 70, 68, rgb555(200, 60, 60), 3);                    // smile
    cv.fill(54, 98, 12, 30, WHITE);                                     // shirt
    cv.fill(57, 100, 6, 20, counter == 0 ? GOLD : rgb555(60, 60, 200)); // tie
    return cv.img;
}

// A balloon with its tail to the lower right (towards the clerk or host).
FrameImage balloon(int w, int h) {
    Canvas cv(w, h + 14);
    cv.ellipse(w / 2, h / 2, w / 2 - 1, h / 2 - 1, INK);
    cv.ellipse(w / 2, h / 2, w / 2 - 3, h / 2 - 3, WHITE);
    const int tail[] = {w * 3 / 4 - 12, h - 8, w * 3 / 4 + 8, h - 8, w * 3 / 4 + 20, h + 12};
    cv.polygon(tail, 3, WHITE);
    return cv.img;
}

FrameImage lit_row() {
    Canvas cv(SHOP_CARD_ROWS.right - SHOP_CARD_ROWS.left, SHOP_CARD_ROW_H);
    cv.frame(0, 0, cv.img.width, cv.img.height, GOLD);
    cv.frame(1, 1, cv.img.width - 2, cv.img.height - 2, GOLD);
    return cv.img;
}

// ---- PANEL.MKF 18: the house and its buttons

FrameImage house() {
    Canvas cv(440, 440);
    cv.fill(0, 0, 440, 440, rgb555(50, 30, 80));
    for (int i = 0; i < 60; ++i) // a starry ceiling
        cv.ellipse((i * 97) % 440, (i * 53) % 230, 1 + i % 2, 1 + i % 2, rgb555(230, 220, 140));
    cv.fill(0, 236, 440, 204, rgb555(80, 50, 110)); // the floor under the buttons
    cv.frame(0, 0, 440, 440, GOLD);
    cv.frame(3, 3, 434, 434, INK);
    cv.label("魔法屋", 80, 176 - 40, 24, GOLD, true);
    return cv.img;
}

FrameImage fate_button(bool lit) {
    Canvas cv(MAGIC_FATE_W, MAGIC_FATE_H);
    const uint16_t face = lit ? GOLD : rgb555(110, 60, 160);
    cv.fill(0, 0, MAGIC_FATE_W, MAGIC_FATE_H, face);
    cv.frame(0, 0, MAGIC_FATE_W, MAGIC_FATE_H, lit ? WHITE : rgb555(190, 150, 230));
    cv.frame(1, 1, MAGIC_FATE_W - 2, MAGIC_FATE_H - 2, INK);
    return cv.img;
}

// ---- PANEL.MKF 19: the wheel turned by step (of four) and the conditions

constexpr int WHEEL = 140;

FrameImage wheel(int step) {
    Canvas cv(WHEEL, WHEEL, WHEEL / 2, WHEEL / 2);
    const uint16_t sectors[2] = {rgb555(230, 80, 90), rgb555(240, 200, 70)};
    const int r = WHEEL / 2 - 2;
    for (int y = 0; y < WHEEL; ++y)
        for (int x = 0; x < WHEEL; ++x) {
            const double dx = x - WHEEL / 2 + 0.5, dy = y - WHEEL / 2 + 0.5;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > r) continue;
            double a = std::atan2(dy, dx) + step * PI / 24;
            if (a < 0) a += 2 * PI;
            const int sector = static_cast<int>(a / (2 * PI / 12)) % 12;
            cv.put(x, y, d > r - 3 ? INK : sectors[sector % 2]);
        }
    cv.ellipse(WHEEL / 2, WHEEL / 2, 6, 6, INK);
    return cv.img;
}

FrameImage condition(int k) {
    static const char* const words[MAGIC_CONDITION_COUNT] = {"财产", "土地", "房屋", "现金",
                                                             "存款", "点卷", "走路", "摩托",
                                                             "汽车", "神明", "男生", "女生"};
    Canvas cv(100, 100, 50, 50);
    const uint16_t colours[4] = {rgb555(60, 160, 230), rgb555(90, 200, 110), rgb555(240, 150, 60),
                                 rgb555(200, 110, 220)};
    cv.ellipse(50, 50, 49, 49, INK);
    cv.ellipse(50, 50, 46, 46, WHITE);
    cv.ellipse(50, 50, 40, 40, colours[k % 4]);
    cv.label(words[k], 50, 38, 24, WHITE, true);
    return cv.img;
}

// ---- PANEL.MKF 20: the host, his balloon and the spell

FrameImage host() {
    Canvas cv(120, 180);
    const uint16_t robe = rgb555(60, 40, 160);
    cv.ellipse(60, 160, 50, 40, robe);
    cv.ellipse(60, 82, 28, 30, rgb555(250, 210, 180));
    cv.ellipse(60, 112, 24, 18, rgb555(235, 235, 235)); // beard
    const int hat[] = {60, 2, 96, 60, 24, 60};
    cv.polygon(hat, 3, robe);
    cv.ellipse(60, 60, 40, 8, robe);
    cv.ellipse(60, 26, 5, 5, GOLD); // a star on the hat
    cv.ellipse(49, 80, 4, 4, INK);
    cv.ellipse(71, 80, 4, 4, INK);
    cv.line(100, 120, 116, 92, rgb555(150, 100, 50), 3); // the wand
    cv.ellipse(116, 90, 4, 4, GOLD);
    return cv.img;
}

FrameImage spell(int n) {
    Canvas cv(200, 200, 100, 100);
    const int r = 12 + n * 11;
    for (int k = 0; k < 12; ++k) {
        const double a = k * PI / 6 + n * 0.3;
        cv.ellipse(100 + static_cast<int>(r * std::cos(a)), 100 + static_cast<int>(r * std::sin(a)),
                   5, 5, k % 2 ? GOLD : WHITE);
    }
    cv.ellipse(100, 100, 10 - n, 10 - n, GOLD);
    return cv.img;
}

// ---- EFFECT.MKF 150-154

Bytes effect(int n) {
    Synth s;
    switch (n) {
    case 0: // a purchase: a register's bell
        s.tone(1568, 1568, 90, 0, 0.7, 8);
        s.tone(2093, 2093, 160, 0, 0.7, 6);
        break;
    case 1: // a sale: coins dropped
        for (int i = 0; i < 3; ++i) {
            s.tone(2400 - 200 * i, 2200 - 200 * i, 40, 0, 0.6, 30);
            s.silence(30);
        }
        break;
    case 2: // the counter switched: a swish
        s.noise(160, 0.5, 0.5, 12);
        break;
    case 3: // the wheel's tick
        s.tone(1800, 1600, 15, 1, 0.5, 60);
        s.silence(30);
        break;
    default: // the spell: a rising shimmer
        for (int i = 0; i < 6; ++i)
            s.tone(800 + 200 * i, 900 + 200 * i, 60, 0, 0.5, 10);
        break;
    }
    return wave_image_u8(s.u8(), 22050);
}

void build_shop_and_magic_pictures(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    mkf_writer_add_frameset(panel, 10,
                            frameset_smp({counter_background(0), counter_background(1)}));
    mkf_writer_add_frameset(panel, 18,
                            frameset_smp({house(), fate_button(false), fate_button(true)}));
    std::vector<FrameImage> wheels;
    for (int step = 0; step < 4; ++step)
        wheels.push_back(wheel(step));
    for (int k = 0; k < MAGIC_CONDITION_COUNT; ++k)
        wheels.push_back(condition(k));
    mkf_writer_add_frameset(panel, 19, frameset_smp(wheels));
    std::vector<FrameImage> hosts{host(), balloon(270, 60)};
    for (int n = 0; n < 8; ++n)
        hosts.push_back(spell(n));
    mkf_writer_add_frameset(panel, 20, frameset_smp(hosts));
    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    for (int n = 0; n < 5; ++n)
        mkf_writer_add(effects, 150 + n, effect(n));
}

} // namespace

void shop_counter_frames(std::vector<FrameImage>& frames) {
    frames.push_back(counter_panel(0)); // 17
    frames.push_back(counter_panel(1)); // 18
    frames.push_back(clerk(0));         // 19
    frames.push_back(clerk(1));         // 20
    frames.push_back(pressed_edges(SHOP_SWITCH_BUTTON.right - SHOP_SWITCH_BUTTON.left,
                                   SHOP_SWITCH_BUTTON.bottom - SHOP_SWITCH_BUTTON.top)); // 21
    frames.push_back(pressed_edges(SHOP_LEAVE_BUTTON.right - SHOP_LEAVE_BUTTON.left,
                                   SHOP_LEAVE_BUTTON.bottom - SHOP_LEAVE_BUTTON.top)); // 22
    frames.push_back(balloon(220, 70));                                                // 23
    frames.push_back(lit_row());                                                       // 24
}

KARVO_DATA_GENERATOR(build_shop_and_magic_pictures);
