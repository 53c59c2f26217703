#include "engine/text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/draw.h"
#include "engine/sound.h"
#include "platform/text.h"

TextStyle text_style{nullptr, 0, 0, 0, 0xFFFFFF, 0x101010};

namespace {

ImageRecord* surface = nullptr;

// 0x00RRGGBB <-> the kept order 0x00BBGGRR (the same exchange both ways).
uint32_t swap_red_blue(uint32_t c) {
    return (c & 0x00FF00) | (c & 0xFF) << 16 | (c >> 16 & 0xFF);
}

PlatFont* font() {
    return static_cast<PlatFont*>(text_style.font);
}

// The line step of vertical text.
int vertical_step() {
    int step = text_style.height + text_style.spacing;
    if (text_style.flags & (TEXT_SHADOW | TEXT_OUTLINE)) ++step;
    return step;
}

// One character a line at (x, y) of a buffer with rows of pitch pixels, cut
// at width x height.
void vertical(uint16_t* pixels, int pitch, int width, int height, int x, int y, const char* text,
              uint16_t pixel) {
    if (!text) return;
    for (int n;
         (n = plat_text_draw_char(font(), text, pixels, pitch, width, height, x, y, pixel)) > 0;
         text += n)
        y += vertical_step();
}

// The characters and the widest advance of a text laid out vertically.
void vertical_size(const char* text, int* w, int* h) {
    int count = 0, widest = 0;
    for (const char* s = text; *s;) {
        int n = (static_cast<uint8_t>(*s) & 0x80) ? (s[1] ? 2 : 0) : 1;
        if (n == 0) break;
        char one[3] = {s[0], n == 2 ? s[1] : '\0', '\0'};
        int cw = 0;
        plat_text_measure(font(), one, 0, &cw, nullptr);
        widest = std::max(widest, cw);
        ++count;
        s += n;
    }
    *w = widest;
    *h = count * vertical_step();
}

// The lit box of area (inclusive), false when nothing is lit.
bool lit_box(const uint16_t* pixels, const PlatRect& area, PlatRect* box) {
    int l = TEXT_SURFACE_W, t = TEXT_SURFACE_H, r = -1, b = -1;
    int x0 = std::max<int>(area.left, 0), y0 = std::max<int>(area.top, 0);
    int x1 = std::min<int>(area.right, TEXT_SURFACE_W),
        y1 = std::min<int>(area.bottom, TEXT_SURFACE_H);
    for (int y = y0; y < y1; ++y) {
        const uint16_t* row = pixels + static_cast<size_t>(y) * TEXT_SURFACE_W;
        for (int x = x0; x < x1; ++x)
            if (row[x]) {
                l = std::min(l, x), r = std::max(r, x);
                t = std::min(t, y), b = std::max(b, y);
            }
    }
    if (r < 0) return false;
    *box = PlatRect{l, t, r, b};
    return true;
}

// A voice marker: "#" and four ASCII digits. The voice number, or -1.
int voice_marker(const char* text) {
    if (text[0] != '#') return -1;
    int n = 0;
    for (int i = 1; i <= 4; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

} // namespace

void text_init() {
    if (surface) return;
    surface = image_new(TEXT_SURFACE_W, TEXT_SURFACE_H, 0, 0);
    if (surface)
        std::memset(surface->pixels, 0, static_cast<size_t>(TEXT_SURFACE_W) * TEXT_SURFACE_H * 2);
}

void text_shutdown() {
    text_style.font = nullptr;
    plat_font_release_all();
    std::free(surface);
    surface = nullptr;
}

const ImageRecord* text_surface() {
    return surface;
}

void text_set_font(int height, uint32_t rgb, uint32_t rgb2, uint32_t flags, int spacing) {
    text_style.font = plat_font_get(height, (flags & TEXT_BOLD) != 0);
    text_style.height = height;
    text_style.flags = flags;
    text_style.spacing = spacing;
    text_style.colour = swap_red_blue(rgb);
    text_style.colour2 = swap_red_blue(rgb2);
}

void text_blit_box(const uint16_t* pixels, const PlatRect& area, PlatRect* box) {
    if (!box) return;
    if (!pixels || !lit_box(pixels, area, box)) *box = PlatRect{};
}

void text_draw_vertical(ImageRecord* target, int x, int y, const char* text, uint32_t rgb) {
    if (!target || !target->pixels) return;
    vertical(target->pixels, target->width, target->width, target->height, x, y, text,
             gfx_rgb_to_pixel(rgb));
}

void text_draw(ImageRecord* target, const char* text, int x, int y, int align) {
    if (!text || !*text) return;
    int voice = voice_marker(text);
    if (voice >= 0) {
        snd_voice_play(voice);
        text += 5;
    }
    if (!surface || !font() || !*text) return;
    if (!target && !gfx_display_open()) return;

    // The drawing rectangle: the measured text widened by 10 each way.
    int w = 0, h = 0;
    const int extra = text_style.spacing - 1;
    plat_text_measure(font(), text, extra, &w, &h);
    w += 10, h += 10;
    bool centred = align == ALIGN_CENTRE_LINES || align == ALIGN_CENTRE_BOTTOM;
    if (align == ALIGN_VERTICAL) {
        // The horizontal measure exchanged does not always hold the column
        // (narrow characters stand one a line): take the column's own size
        // when it is larger, so no lit pixel falls outside the rectangle.
        int vw = 0, vh = 0;
        vertical_size(text, &vw, &vh);
        std::swap(w, h);
        w = std::max(w, vw + 10), h = std::max(h, vh + 10);
    }
    w = std::min(w, TEXT_SURFACE_W), h = std::min(h, TEXT_SURFACE_H);
    PlatRect rect{0, 0, w, h};
    if (centred)
        rect = PlatRect{(TEXT_SURFACE_W >> 1) - (w >> 1), 0, (TEXT_SURFACE_W >> 1) + (w >> 1), h};
    const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
    uint16_t* origin = surface->pixels + rect.left;

    auto pass = [&](int ox, int oy, uint32_t kept_colour) {
        uint16_t pixel = gfx_rgb_to_pixel(swap_red_blue(kept_colour));
        if (align == ALIGN_VERTICAL)
            vertical(origin, TEXT_SURFACE_W, rw, rh, ox, oy, text, pixel);
        else
            plat_text_draw(font(), text, extra, origin, TEXT_SURFACE_W, rw, rh, ox, oy,
                           centred ? rw : 0, pixel);
    };
    if (text_style.flags & TEXT_SHADOW) {
        pass(1, 1, text_style.colour2);
        pass(0, 0, text_style.colour);
    } else if (text_style.flags & TEXT_OUTLINE) {
        pass(1, 0, text_style.colour2);
        pass(1, 2, text_style.colour2);
        pass(0, 1, text_style.colour2);
        pass(2, 1, text_style.colour2);
        pass(1, 1, text_style.colour);
    } else {
        pass(0, 0, text_style.colour);
    }

    PlatRect box;
    if (lit_box(surface->pixels, rect, &box)) {
        int bw = box.right - box.left + 1, bh = box.bottom - box.top + 1;
        int px = x, py = y;
        switch (align) {
        case ALIGN_RIGHT_TOP:
            px = x - bw;
            break;
        case ALIGN_CENTRE:
        case ALIGN_CENTRE_LINES:
            px = x - (bw >> 1), py = y - (bh >> 1);
            break;
        case ALIGN_LEFT_MIDDLE:
            py = y - (bh >> 1);
            break;
        case ALIGN_RIGHT_MIDDLE:
            px = x - bw, py = y - (bh >> 1);
            break;
        case ALIGN_CENTRE_BOTTOM:
            px = x - (bw >> 1), py = y - bh;
            break;
        default:
            break;
        }
        bool clip = (text_style.flags & TEXT_CLIP) != 0;
        if (target) {
            if (clip)
                blit_part_key_to_image_clip(target, surface, px, py, box.left, box.top, bw, bh);
            else
                blit_part_key_to_image(target, surface, px, py, box.left, box.top, bw, bh);
        } else if (gfx_lock_back()) {
            if (clip)
                blit_part_key_clip(back_pixels, surface, px, py, box.left, box.top, bw, bh);
            else
                blit_part_key(back_pixels, surface, px, py, box.left, box.top, bw, bh);
            gfx_unlock_back();
        }
    }
    // Everything the passes could have lit goes back to 0, not only the box
    // that was copied, so no pixel is left for a later text to measure.
    blit_fill_rect(surface, rect.left, rect.top, rw, rh, 0);
}
