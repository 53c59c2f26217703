// The display's pixel format and the per-format pixel operations.
#include "engine/image.h"

#include <cstring>

int gfx_pixel_format = PIXEL_RGB555;

void gfx_set_pixel_format(int format) {
    gfx_pixel_format = (format >= 0 && format < PIXEL_FORMAT_COUNT) ? format : PIXEL_RGB555;
}

int gfx_pixel_format_from_masks(uint32_t red_mask, uint32_t green_mask) {
    if (red_mask == 0x7C00 && green_mask == 0x3E0) return PIXEL_RGB555;
    if (red_mask == 0xF800 && green_mask == 0x7E0) return PIXEL_RGB565;
    if (red_mask == 0x1F && green_mask == 0x7E0) return PIXEL_BGR565;
    if (red_mask == 0xF00 && green_mask == 0xF0) return PIXEL_RGB444;
    return PIXEL_RGB555;
}

void gfx_detect_pixel_format(uint32_t red_mask, uint32_t green_mask) {
    gfx_pixel_format = gfx_pixel_format_from_masks(red_mask, green_mask);
}

void gfx_pixel_format_reset() {
    gfx_pixel_format = PIXEL_RGB555;
}

namespace {

constexpr std::array<BrightnessTable, 63> make_brightness_tables() {
    std::array<BrightnessTable, 63> tables{};
    for (int k = -31; k <= 31; ++k) {
        BrightnessTable& t = tables[static_cast<size_t>(k + 31)];
        for (int c = 0; c < 32; ++c) {
            // round(x / 31) with halves up is (2x + 31) / 62.
            int v = k <= 0 ? (2 * c * (31 + k) + 31) / 62 : c + (2 * (31 - c) * k + 31) / 62;
            t[static_cast<size_t>(c)] = static_cast<uint8_t>(v);
        }
    }
    return tables;
}

uint16_t min31(int v) {
    return static_cast<uint16_t>(v > 31 ? 31 : v);
}

// Stored RGB555 to each format.
uint16_t convert_to_565(uint16_t p) {
    return static_cast<uint16_t>((p & 0x1F) | ((p << 1) & 0xFFC0));
}
uint16_t convert_to_bgr565(uint16_t p) {
    return static_cast<uint16_t>(((p >> 10) & 0x1F) | (((p >> 5) & 0x1F) << 6) |
                                 ((p & 0x1F) << 11));
}
uint16_t convert_to_444(uint16_t p) {
    uint16_t q =
        static_cast<uint16_t>(((p & 0x7800) >> 3) | ((p & 0x3C0) >> 2) | ((p & 0x1E) >> 1));
    // Dropping the lowest bit of each channel would turn the darkest colours
    // into 0, the transparent value; keep them visible as the darkest blue.
    return (q == 0 && (p & 0x7FFF) != 0) ? 1 : q;
}

// Colour 0x00RRGGBB to a pixel.
uint16_t rgb_555(uint32_t c) {
    return static_cast<uint16_t>((((c >> 16) & 0xFF) >> 3) << 10 | (((c >> 8) & 0xFF) >> 3) << 5 |
                                 ((c & 0xFF) >> 3));
}
uint16_t rgb_565(uint32_t c) {
    return static_cast<uint16_t>((((c >> 16) & 0xFF) >> 3) << 11 | (((c >> 8) & 0xFF) >> 2) << 5 |
                                 ((c & 0xFF) >> 3));
}
uint16_t rgb_bgr565(uint32_t c) {
    return static_cast<uint16_t>(((c & 0xFF) >> 3) << 11 | (((c >> 8) & 0xFF) >> 2) << 5 |
                                 (((c >> 16) & 0xFF) >> 3));
}
uint16_t rgb_444(uint32_t c) {
    return static_cast<uint16_t>((((c >> 16) & 0xFF) >> 4) << 8 | (((c >> 8) & 0xFF) >> 4) << 4 |
                                 ((c & 0xFF) >> 4));
}

// Brightness of one pixel through table t.
uint16_t bright_555(uint16_t p, const BrightnessTable& t) {
    return static_cast<uint16_t>(t[(p >> 10) & 31] << 10 | t[(p >> 5) & 31] << 5 | t[p & 31]);
}
// Both 565 layouts: the outer 5-bit channels and green's upper 5 bits.
uint16_t bright_565(uint16_t p, const BrightnessTable& t) {
    return static_cast<uint16_t>(t[(p >> 11) & 31] << 11 | t[(p >> 6) & 31] << 6 | t[p & 31]);
}
// 4-bit channels go through the 5-bit table widened (15 -> 31) and back.
uint16_t bright4(unsigned c, const BrightnessTable& t) {
    return static_cast<uint16_t>(t[c * 2 + (c >> 3)] >> 1);
}
uint16_t bright_444(uint16_t p, const BrightnessTable& t) {
    return static_cast<uint16_t>(bright4((p >> 8) & 15, t) << 8 | bright4((p >> 4) & 15, t) << 4 |
                                 bright4(p & 15, t));
}

uint16_t grey_555(uint16_t p) {
    unsigned v = (((p >> 10) & 31) + ((p >> 5) & 31) + (p & 31) + 16) / 4;
    return static_cast<uint16_t>(v << 10 | v << 5 | v);
}
uint16_t grey_565(uint16_t p) {
    unsigned v = (((p >> 11) & 31) + ((p >> 6) & 31) + (p & 31) + 16) / 4;
    return static_cast<uint16_t>(v << 11 | v << 6 | v);
}
uint16_t grey_444(uint16_t p) {
    unsigned v = (((p >> 8) & 15) + ((p >> 4) & 15) + (p & 15) + 8) / 4;
    return static_cast<uint16_t>(v << 8 | v << 4 | v);
}

// Blue tint: red and green to the channels' average (raised), blue to its
// maximum. The average is held to the channel's range so that bright colours
// do not spill into the neighbouring channel.
uint16_t tint_555(uint16_t p) {
    uint16_t v = min31(static_cast<int>((((p >> 10) & 31) + ((p >> 5) & 31) + (p & 31) + 40) / 4));
    return static_cast<uint16_t>(v << 10 | v << 5 | 31);
}
uint16_t tint_565(uint16_t p) {
    int v = static_cast<int>((((p >> 11) & 31) + ((p >> 6) & 31) + (p & 31) + 31) / 4) & 31;
    uint16_t w = min31(v + 8);
    return static_cast<uint16_t>(w << 11 | w << 6 | 31);
}
uint16_t tint_bgr565(uint16_t p) {
    uint16_t v = min31(static_cast<int>((((p >> 11) & 31) + ((p >> 6) & 31) + (p & 31) + 40) / 4));
    return static_cast<uint16_t>(31 << 11 | v << 6 | v);
}
uint16_t tint_444(uint16_t p) {
    unsigned v = (((p >> 8) & 15) + ((p >> 4) & 15) + (p & 15) + 20) / 4;
    if (v > 15) v = 15;
    return static_cast<uint16_t>(v << 8 | v << 4 | 15);
}

struct FormatOps {
    uint16_t (*convert)(uint16_t);
    uint16_t (*to_pixel)(uint32_t);
    uint16_t (*brightness)(uint16_t, const BrightnessTable&);
    uint16_t (*grey)(uint16_t);
    uint16_t (*tint)(uint16_t);
};

// Indexed by PixelFormat.
constexpr std::array<FormatOps, PIXEL_FORMAT_COUNT> gfx_format_table = {{
    {nullptr, rgb_555, bright_555, grey_555, tint_555},
    {convert_to_565, rgb_565, bright_565, grey_565, tint_565},
    {convert_to_bgr565, rgb_bgr565, bright_565, grey_565, tint_bgr565},
    {convert_to_444, rgb_444, bright_444, grey_444, tint_444},
}};

const FormatOps& ops() {
    int f = gfx_pixel_format;
    return gfx_format_table[static_cast<size_t>((f >= 0 && f < PIXEL_FORMAT_COUNT) ? f
                                                                                   : PIXEL_RGB555)];
}

// Pixels may sit at any byte offset of an entry, so they are moved byte-wise.
uint16_t load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
void store16(uint8_t* p, uint16_t v) {
    std::memcpy(p, &v, 2);
}

// Rectangle of an image clipped to it; false when nothing is left.
bool clip(const ImageRecord* image, int& x, int& y, int& w, int& h) {
    if (!image || !image->pixels) return false;
    if (x < 0) w += x, x = 0;
    if (y < 0) h += y, y = 0;
    if (x + w > image->width) w = image->width - x;
    if (y + h > image->height) h = image->height - y;
    return w > 0 && h > 0;
}

} // namespace

const std::array<BrightnessTable, 63> gfx_brightness_tables = make_brightness_tables();

const BrightnessTable& gfx_brightness_table(int k) {
    if (k < -31) k = -31;
    if (k > 31) k = 31;
    return gfx_brightness_tables[static_cast<size_t>(k + 31)];
}

void gfx_convert_pixels(void* pixels, uint32_t byte_count) {
    const FormatOps& o = ops();
    if (!o.convert || !pixels) return;
    uint8_t* p = static_cast<uint8_t*>(pixels);
    for (uint32_t i = 0; i + 1 < byte_count; i += 2)
        store16(p + i, o.convert(load16(p + i)));
}

uint16_t gfx_rgb_to_pixel(uint32_t rgb) {
    return ops().to_pixel(rgb);
}

void gfx_palette_from_rgb(uint16_t* dst, const uint8_t* src, int count) {
    for (int i = 0; i < count; ++i, src += 3)
        dst[i] = gfx_rgb_to_pixel(static_cast<uint32_t>(src[0]) << 16 |
                                  static_cast<uint32_t>(src[1]) << 8 | src[2]);
}

void gfx_brightness_run(uint16_t* dst, const uint16_t* src, uint32_t byte_count, int k) {
    const FormatOps& o = ops();
    const BrightnessTable& t = gfx_brightness_table(k);
    for (uint32_t i = 0; i < byte_count / 2; ++i)
        dst[i] = o.brightness(src[i], t);
}

void gfx_brightness_rect(ImageRecord* image, int x, int y, int w, int h, int k) {
    if (!clip(image, x, y, w, h)) return;
    for (int row = y; row < y + h; ++row) {
        uint16_t* p = image->pixels + static_cast<size_t>(row) * image->width + x;
        gfx_brightness_run(p, p, static_cast<uint32_t>(w) * 2, k);
    }
}

void gfx_grey_run(uint16_t* dst, const uint16_t* src, uint32_t byte_count) {
    const FormatOps& o = ops();
    for (uint32_t i = 0; i < byte_count / 2; ++i)
        if (src[i] != 0) dst[i] = o.grey(src[i]);
}

void gfx_grey_rect(ImageRecord* image, int x, int y, int w, int h) {
    if (!clip(image, x, y, w, h)) return;
    for (int row = y; row < y + h; ++row) {
        uint16_t* p = image->pixels + static_cast<size_t>(row) * image->width + x;
        gfx_grey_run(p, p, static_cast<uint32_t>(w) * 2);
    }
}

void gfx_tint_palette(void* spr_set) {
    uint16_t* palette = spr_palette(spr_set);
    if (!palette) return;
    const FormatOps& o = ops();
    for (int i = 0; i < 256; ++i)
        palette[i] = o.tint(palette[i]);
}

void gfx_replace_pixel(uint16_t* pixels, int count, uint16_t from, uint16_t to) {
    for (int i = 0; i < count; ++i)
        if (pixels[i] == from) pixels[i] = to;
}
