// The stock screens' pictures and sounds: PANEL.MKF 75 (the exchange, its
// tabs plain, lit and pressed, its two buttons, the detail page), 76 (the
// dividend screen) and EFFECT.MKF 115-117 (a purchase, a sale, the
// dividends).
#include "builder.h"
#include "canvas.h"
#include "finance_art.h"
#include "sound_synth.h"

#include <vector>

#include "finance/stock_screen.h"

namespace {

const uint16_t kNavy = rgb555(16, 32, 64);
const uint16_t kDeep = rgb555(8, 20, 44);
const uint16_t kLine = rgb555(60, 90, 140);
const uint16_t kGold = rgb555(240, 200, 70);
const uint16_t kFace = rgb555(40, 80, 140);
const uint16_t kLit = rgb555(80, 140, 210);
const uint16_t kPressed = rgb555(20, 44, 84);

int width(const PlatRect& r) {
    return r.right - r.left;
}
int height(const PlatRect& r) {
    return r.bottom - r.top;
}

// A button face: plain, lit or pressed (darker, the label a pixel lower).
FrameImage button(const char* label, const PlatRect& r, int look) {
    const int w = width(r), h = height(r);
    Canvas cv(w, h);
    const uint16_t face = look == 0 ? kFace : look == 1 ? kLit : kPressed;
    fin_panel(cv, 0, 0, w, h, face, look == 2 ? kDeep : kGold);
    const int size = w > 100 ? 16 : 18; // the long tab's label fits at 16
    cv.label(label, w / 2 + (look == 2 ? 1 : 0), h / 2 - size / 2 + (look == 2 ? 1 : 0), size,
             look == 1 ? FIN_WHITE : kGold, true);
    return cv.img;
}

FrameImage exchange_background() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, kNavy);
    cv.fill(0, 0, 640, 54, kDeep);
    cv.line(0, 54, 639, 54, kGold, 2);
    // The column heads' strip and the table, a faint line between rows.
    cv.fill(STOCK_ROWS.left, 52 + 2, width(STOCK_ROWS), 22, rgb555(24, 48, 92));
    cv.frame(STOCK_ROWS.left - 2, STOCK_ROWS.top - 2, width(STOCK_ROWS) + 4, height(STOCK_ROWS) + 4,
             kGold);
    for (int i = 1; i < 12; ++i) {
        const int y = STOCK_ROWS.top + STOCK_ROW_H * i;
        cv.line(STOCK_ROWS.left, y, STOCK_ROWS.right - 1, y, kLine);
    }
    for (int x : {176, 316, 440, 540})
        cv.line(x, STOCK_ROWS.top, x, STOCK_ROWS.bottom - 1, kLine);
    return cv.img;
}

FrameImage detail_page() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, kNavy);
    cv.fill(0, 0, 640, 56, kDeep);
    cv.line(0, 56, 639, 56, kGold, 2);
    const PlatRect& c = STOCK_CHART_BOX;
    fin_panel(cv, c.left - 8, c.top - 28, width(c) + 16, height(c) + 36, kDeep, kLine);
    // A light grid behind the chart.
    for (int k = 1; k < 4; ++k)
        cv.line(c.left, c.top + height(c) * k / 4, c.right - 1, c.top + height(c) * k / 4,
                rgb555(30, 50, 90));
    for (int k = 1; k < 6; ++k)
        cv.line(c.left + width(c) * k / 6, c.top, c.left + width(c) * k / 6, c.bottom - 1,
                rgb555(30, 50, 90));
    fin_panel(cv, 436, 68, 200, 220, kDeep, kLine);  // the figures
    fin_panel(cv, 24, 300, 384, 168, kDeep, kLine);  // the company's figures
    fin_panel(cv, 400, 300, 232, 168, kDeep, kLine); // the pie and its legend
    return cv.img;
}

FrameImage dividend_background() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, rgb555(64, 24, 16));
    cv.fill(0, 0, 640, 60, rgb555(40, 12, 8));
    cv.line(0, 60, 639, 60, kGold, 2);
    fin_panel(cv, 10, 74, 620, 360, rgb555(84, 36, 24), kGold);
    // The corner cell split between "names" and "companies".
    cv.line(12, 76, 150, 110, kGold);
    cv.line(12, 110, 628, 110, kGold);
    cv.line(12, 398, 628, 398, kGold);
    for (int k = 0; k <= 4; ++k)
        cv.line(150 + 98 * k, 76, 150 + 98 * k, 431, rgb555(150, 90, 50));
    for (int i = 1; i < 12; ++i)
        cv.line(12, 110 + 24 * i, 628, 110 + 24 * i, rgb555(110, 56, 36));
    return cv.img;
}

Bytes effect(int n) {
    Synth s;
    switch (n) {
    case 0: // a purchase: two rising chimes
        s.tone(988, 988, 80, 0, 0.6, 8);
        s.tone(1319, 1319, 140, 0, 0.6, 6);
        break;
    case 1: // a sale: two falling chimes
        s.tone(1319, 1319, 80, 0, 0.6, 8);
        s.tone(988, 988, 140, 0, 0.6, 6);
        break;
    default: // the dividends: a little fanfare
        s.tone(784, 784, 90, 1, 0.35, 4);
        s.tone(988, 988, 90, 1, 0.35, 4);
        s.tone(1175, 1175, 220, 1, 0.35, 3);
        break;
    }
    return wave_image_u8(s.u8(), 22050);
}

void build_stock_pictures(DataBuilder& b) {
    static const char* const tabs[3] = {"买进", "卖出", "上市公司资讯"};
    std::vector<FrameImage> f;
    f.push_back(exchange_background()); // 0
    for (int look = 0; look < 3; ++look)
        for (int k = 0; k < 3; ++k)
            f.push_back(button(tabs[k], STOCK_BUTTON_RECTS[STOCK_BUTTON_BUY + k], look)); // 1-9
    f.push_back(button("股价/持股", STOCK_BUTTON_RECTS[STOCK_BUTTON_TOGGLE], 0));         // 10
    f.push_back(button("股价/持股", STOCK_BUTTON_RECTS[STOCK_BUTTON_TOGGLE], 2));         // 11
    f.push_back(button("X", STOCK_BUTTON_RECTS[STOCK_BUTTON_CLOSE], 0));                  // 12
    f.push_back(button("X", STOCK_BUTTON_RECTS[STOCK_BUTTON_CLOSE], 2));                  // 13
    f.push_back(detail_page());                                                           // 14
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    mkf_writer_add_frameset(panel, STOCK_PANEL_ENTRY, frameset_smp(f));
    mkf_writer_add_frameset(panel, STOCK_DIVIDEND_ENTRY, frameset_smp({dividend_background()}));
    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    mkf_writer_add(effects, STOCK_EFFECT_BUY, effect(0));
    mkf_writer_add(effects, STOCK_EFFECT_SELL, effect(1));
    mkf_writer_add(effects, STOCK_EFFECT_DIVIDENDS, effect(2));
}

} // namespace

KARVO_DATA_GENERATOR(build_stock_pictures);
