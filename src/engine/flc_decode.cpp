#include "engine/flc_decode.h"

#include <algorithm>

#include "engine/image.h"

namespace {

uint16_t rd16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t rd32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Reads from one sub-chunk's data; any read past its end marks it broken.
struct Reader {
    const uint8_t* p;
    const uint8_t* end;
    bool have(size_t n) const { return static_cast<size_t>(end - p) >= n; }
    bool u8(int* v) {
        if (!have(1)) return false;
        *v = *p++;
        return true;
    }
    bool u16(int* v) {
        if (!have(2)) return false;
        *v = rd16(p);
        p += 2;
        return true;
    }
};

// One line of the canvas: the columns of the animation that may be written
// (lo <= i < hi) and where column 0 lies in the target and the background.
struct Line {
    uint16_t* dst = nullptr;
    const uint16_t* bg = nullptr;
    int lo = 0;
    int hi = 0;
};

class Painter {
  public:
    Painter(const FlcCanvas& c, const FlcHeader& h, const uint16_t* palette)
        : c_(c), w_(h.width), h_(h.height), pal_(palette) {}

    // Line j of the animation (any value; lines outside write nothing).
    Line line(int64_t j) const {
        Line l;
        if (j < 0 || j >= h_ || !c_.pixels) return l;
        const int64_t ty = c_.y + j;
        if (ty < 0 || ty >= c_.height) return l;
        int lo = std::max(0, -c_.x);
        int hi = std::min(w_, c_.width - c_.x);
        l.dst = c_.pixels + ty * c_.pitch + c_.x;
        if (c_.background) {
            const int64_t by = c_.bg_y + j;
            if (by < 0 || by >= c_.bg_height) return Line{};
            lo = std::max(lo, -c_.bg_x);
            hi = std::min(hi, c_.bg_width - c_.bg_x);
            l.bg = c_.background + by * c_.bg_pitch + c_.bg_x;
        }
        l.lo = lo;
        l.hi = hi;
        return l;
    }
    void put(const Line& l, int64_t i, int index) const {
        if (i < l.lo || i >= l.hi) return;
        l.dst[i] = (l.bg && index == 0) ? l.bg[i] : pal_[index];
    }
    // n pixels from src at columns x.. of the line, cut to what may be written.
    void copy(const Line& l, int64_t x, const uint8_t* src, int64_t n) const {
        const int64_t a = std::max<int64_t>(x, l.lo), b = std::min<int64_t>(x + n, l.hi);
        if (l.bg) {
            for (int64_t i = a; i < b; ++i)
                l.dst[i] = src[i - x] ? pal_[src[i - x]] : l.bg[i];
        } else {
            for (int64_t i = a; i < b; ++i)
                l.dst[i] = pal_[src[i - x]];
        }
    }
    // n pixels of one index.
    void fill(const Line& l, int64_t x, int index, int64_t n) const {
        const int64_t a = std::max<int64_t>(x, l.lo), b = std::min<int64_t>(x + n, l.hi);
        if (l.bg && index == 0) {
            for (int64_t i = a; i < b; ++i)
                l.dst[i] = l.bg[i];
        } else if (a < b) {
            std::fill(l.dst + a, l.dst + b, pal_[index]);
        }
    }
    int width() const { return w_; }
    int height() const { return h_; }

  private:
    const FlcCanvas& c_;
    int w_, h_;
    const uint16_t* pal_;
};

// Packets of (colours to skip, colours to set, RGB triples). Entries past
// the 256 of the palette are never written.
bool colour_packets(Reader r, uint16_t* palette) {
    int packets;
    if (!r.u16(&packets)) return false;
    int index = 0;
    for (int n = 0; n < packets; ++n) {
        int skip, count;
        if (!r.u8(&skip) || !r.u8(&count)) return false;
        if (count == 0) count = 256;
        if (!r.have(static_cast<size_t>(count) * 3)) return false;
        index += skip;
        if (index < 256) gfx_palette_from_rgb(palette + index, r.p, std::min(count, 256 - index));
        r.p += static_cast<size_t>(count) * 3;
        index += count;
        if (index >= 256) break;
    }
    return true;
}

// Lines of word packets: words of 0xC000 and more skip lines, 0x8000-0xBFFF
// set the line's last pixel, smaller ones give the line's packet count.
bool word_delta(Reader r, const Painter& pt) {
    int lines;
    if (!r.u16(&lines)) return false;
    int64_t y = 0;
    for (int n = 0; n < lines; ++n) {
        int word;
        for (;;) {
            if (!r.u16(&word)) return false;
            if (word >= 0xC000) {
                y += 65536 - word;
            } else if (word >= 0x8000) {
                pt.put(pt.line(y), pt.width() - 1, word & 0xFF);
            } else {
                break;
            }
        }
        const Line l = pt.line(y);
        int64_t x = 0;
        for (int p = 0; p < word; ++p) {
            int skip, count;
            if (!r.u8(&skip) || !r.u8(&count)) return false;
            x += skip;
            if (count < 128) {
                if (!r.have(static_cast<size_t>(count) * 2)) return false;
                pt.copy(l, x, r.p, count * 2);
                x += count * 2;
                r.p += count * 2;
            } else {
                if (!r.have(2)) return false;
                const int a = r.p[0], b = r.p[1];
                r.p += 2;
                if (a == b) {
                    pt.fill(l, x, a, (256 - count) * 2);
                    x += (256 - count) * 2;
                } else {
                    for (int k = 256 - count; k > 0; --k) {
                        pt.put(l, x++, a);
                        pt.put(l, x++, b);
                    }
                }
            }
        }
        ++y;
    }
    return true;
}

bool byte_delta(Reader r, const Painter& pt) {
    int first, lines;
    if (!r.u16(&first) || !r.u16(&lines)) return false;
    for (int n = 0; n < lines; ++n) {
        const Line l = pt.line(first + n);
        int packets;
        if (!r.u8(&packets)) return false;
        int64_t x = 0;
        for (int p = 0; p < packets; ++p) {
            int skip, count;
            if (!r.u8(&skip) || !r.u8(&count)) return false;
            x += skip;
            if (count < 128) {
                if (!r.have(static_cast<size_t>(count))) return false;
                pt.copy(l, x, r.p, count);
                x += count;
                r.p += count;
            } else {
                int v;
                if (!r.u8(&v)) return false;
                pt.fill(l, x, v, 256 - count);
                x += 256 - count;
            }
        }
    }
    return true;
}

// Per line: the old packet count (ignored), then runs until the width is
// filled: a count below 128 repeats the next byte, 128 and more copy
// 256 - count bytes.
bool byte_run(Reader r, const Painter& pt) {
    for (int j = 0; j < pt.height(); ++j) {
        const Line l = pt.line(j);
        int ignored;
        if (!r.u8(&ignored)) return false;
        int64_t x = 0;
        while (x < pt.width()) {
            int count;
            if (!r.u8(&count)) return false;
            if (count < 128) {
                int v;
                if (!r.u8(&v)) return false;
                pt.fill(l, x, v, count);
                x += count;
            } else {
                const int n = 256 - count;
                if (!r.have(static_cast<size_t>(n))) return false;
                pt.copy(l, x, r.p, n);
                x += n;
                r.p += n;
            }
        }
    }
    return true;
}

bool copy(Reader r, const Painter& pt) {
    const size_t w = static_cast<size_t>(pt.width());
    if (!r.have(w * static_cast<size_t>(pt.height()))) return false;
    for (int j = 0; j < pt.height(); ++j) {
        const Line l = pt.line(j);
        pt.copy(l, 0, r.p, pt.width());
        r.p += w;
    }
    return true;
}

} // namespace

int flc_read_header(const void* data, size_t size, FlcHeader* out) {
    if (!data || size < FLC_FIRST_CHUNK) return 0;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (rd16(p + 4) != FLC_MAGIC) return 0;
    out->frames = rd16(p + 6);
    out->width = rd16(p + 8);
    out->height = rd16(p + 10);
    out->ms_per_frame = rd32(p + 16);
    return 1;
}

int flc_decode_frame(const uint8_t* data, size_t size, uint32_t* offset, const FlcHeader& header,
                     uint16_t* palette, const FlcCanvas& canvas) {
    size_t at = *offset;
    for (;;) {
        if (at > size || size - at < 6) return 0;
        const uint32_t chunk = rd32(data + at);
        if (chunk < 6 || chunk > size - at) return 0;
        if (rd16(data + at + 4) == FLC_FRAME_CHUNK) break;
        at += chunk;
    }
    const uint32_t chunk = rd32(data + at);
    if (chunk < 8) return 0;
    const size_t end = at + chunk;
    const int subs = rd16(data + at + 6);
    size_t pos = at + 16;
    const Painter pt(canvas, header, palette);
    for (int n = 0; n < subs; ++n) {
        if (pos > end || end - pos < 6) return 0;
        const uint32_t sub = rd32(data + pos);
        if (sub < 6 || sub > end - pos) return 0;
        const Reader r{data + pos + 6, data + pos + sub};
        bool ok = true;
        switch (rd16(data + pos + 4)) {
        case FLC_COLOUR:
            ok = colour_packets(r, palette);
            break;
        case FLC_WORD_DELTA:
            ok = word_delta(r, pt);
            break;
        case FLC_BYTE_DELTA:
            ok = byte_delta(r, pt);
            break;
        case FLC_BYTE_RUN:
            ok = byte_run(r, pt);
            break;
        case FLC_COPY:
            ok = copy(r, pt);
            break;
        default:
            break;
        }
        if (!ok) return 0;
        pos += sub;
    }
    *offset = static_cast<uint32_t>(at + chunk);
    return 1;
}
