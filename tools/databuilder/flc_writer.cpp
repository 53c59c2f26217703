#include "flc_writer.h"

#include <algorithm>
#include <stdexcept>

namespace {

void put16(FlcBytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(FlcBytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void set32(FlcBytes& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k)
        b[at + static_cast<size_t>(k)] = static_cast<uint8_t>(v >> (8 * k));
}

// Runs of one line: repeats of three or more, literals in between. Each run
// is (start, length, repeat).
struct Run {
    int start, length;
    bool repeat;
};
std::vector<Run> runs_of(const uint8_t* p, int n, int max_repeat, int max_literal) {
    std::vector<Run> out;
    int i = 0, literal = 0;
    auto flush_literal = [&](int end) {
        while (literal < end) {
            const int len = std::min(max_literal, end - literal);
            out.push_back({literal, len, false});
            literal += len;
        }
    };
    while (i < n) {
        int j = i + 1;
        while (j < n && p[j] == p[i] && j - i < max_repeat)
            ++j;
        if (j - i >= 3) {
            flush_literal(i);
            out.push_back({i, j - i, true});
            literal = j;
        }
        i = j;
    }
    flush_literal(n);
    return out;
}

} // namespace

FlcBytes flc_sub_chunk(uint16_t type, const FlcBytes& payload) {
    FlcBytes b;
    put32(b, static_cast<uint32_t>(payload.size() + 6));
    put16(b, type);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

FlcBytes flc_colour_chunk(const std::vector<FlcColourPacket>& packets) {
    FlcBytes p;
    put16(p, static_cast<uint32_t>(packets.size()));
    for (const FlcColourPacket& k : packets) {
        if (k.colours.empty() || k.colours.size() > 256)
            throw std::invalid_argument("colour packet of 1 to 256 colours");
        p.push_back(k.skip);
        p.push_back(static_cast<uint8_t>(k.colours.size() & 0xFF));
        for (const FlcRgb& c : k.colours) {
            p.push_back(c.r);
            p.push_back(c.g);
            p.push_back(c.b);
        }
    }
    return flc_sub_chunk(4, p);
}

FlcBytes flc_copy_chunk(int width, int height, const uint8_t* pixels) {
    return flc_sub_chunk(16, FlcBytes(pixels, pixels + static_cast<size_t>(width) * height));
}

FlcBytes flc_byte_run_chunk(int width, int height, const uint8_t* pixels) {
    FlcBytes p;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * width;
        const std::vector<Run> runs = runs_of(row, width, 127, 128);
        p.push_back(static_cast<uint8_t>(runs.size()));
        for (const Run& r : runs) {
            if (r.repeat) {
                p.push_back(static_cast<uint8_t>(r.length));
                p.push_back(row[r.start]);
            } else {
                p.push_back(static_cast<uint8_t>(256 - r.length));
                p.insert(p.end(), row + r.start, row + r.start + r.length);
            }
        }
    }
    return flc_sub_chunk(15, p);
}

FlcBytes flc_byte_delta_chunk(int width, int height, const uint8_t* prev, const uint8_t* cur) {
    auto same = [&](int y) {
        return std::equal(cur + static_cast<size_t>(y) * width,
                          cur + static_cast<size_t>(y + 1) * width,
                          prev + static_cast<size_t>(y) * width);
    };
    int first = 0, last = height - 1;
    while (first < height && same(first))
        ++first;
    while (last > first && same(last))
        --last;
    FlcBytes p;
    if (first >= height) {
        put16(p, 0);
        put16(p, 0);
        return flc_sub_chunk(12, p);
    }
    put16(p, static_cast<uint32_t>(first));
    put16(p, static_cast<uint32_t>(last - first + 1));
    for (int y = first; y <= last; ++y) {
        const uint8_t* a = prev + static_cast<size_t>(y) * width;
        const uint8_t* c = cur + static_cast<size_t>(y) * width;
        FlcBytes line;
        int packets = 0, x = 0, at = 0;
        while (x < width) {
            if (a[x] == c[x]) {
                ++x;
                continue;
            }
            int end = x;
            // A changed span; gaps of under three equal pixels stay inside it.
            while (end < width) {
                if (a[end] != c[end]) {
                    ++end;
                    continue;
                }
                int gap = end;
                while (gap < width && a[gap] == c[gap] && gap - end < 3)
                    ++gap;
                if (gap - end >= 3 || gap >= width) break;
                end = gap;
            }
            int skip = x - at;
            while (skip > 255) {
                line.push_back(255);
                line.push_back(0);
                ++packets;
                skip -= 255;
            }
            bool first_packet = true;
            for (const Run& r : runs_of(c + x, end - x, 128, 127)) {
                line.push_back(static_cast<uint8_t>(first_packet ? skip : 0));
                first_packet = false;
                if (r.repeat) {
                    line.push_back(static_cast<uint8_t>(256 - r.length));
                    line.push_back(c[x + r.start]);
                } else {
                    line.push_back(static_cast<uint8_t>(r.length));
                    line.insert(line.end(), c + x + r.start, c + x + r.start + r.length);
                }
                ++packets;
            }
            at = x = end;
        }
        if (packets > 255) return {};
        p.push_back(static_cast<uint8_t>(packets));
        p.insert(p.end(), line.begin(), line.end());
    }
    return flc_sub_chunk(12, p);
}

FlcBytes flc_word_delta_chunk(int width, int height, const uint8_t* prev, const uint8_t* cur) {
    const int pairs = width / 2;
    FlcBytes p;
    put16(p, 0); // line count, set at the end
    int lines = 0, skipped = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* a = prev + static_cast<size_t>(y) * width;
        const uint8_t* c = cur + static_cast<size_t>(y) * width;
        const bool last_changed = (width & 1) && a[width - 1] != c[width - 1];
        auto pair_same = [&](int k) {
            return a[2 * k] == c[2 * k] && a[2 * k + 1] == c[2 * k + 1];
        };
        FlcBytes line;
        int packets = 0, k = 0, at = 0;
        while (k < pairs) {
            if (pair_same(k)) {
                ++k;
                continue;
            }
            int end = k;
            while (end < pairs && !pair_same(end))
                ++end;
            int skip = k - at; // in pairs
            while (skip > 127) {
                line.push_back(254);
                line.push_back(0);
                ++packets;
                skip -= 127;
            }
            // Runs of equal pairs are repeats, the rest copies.
            int i = k;
            bool first_packet = true;
            while (i < end) {
                int j = i + 1;
                while (j < end && j - i < 128 && c[2 * j] == c[2 * i] &&
                       c[2 * j + 1] == c[2 * i + 1])
                    ++j;
                line.push_back(static_cast<uint8_t>(first_packet ? skip * 2 : 0));
                first_packet = false;
                if (j - i >= 2) {
                    line.push_back(static_cast<uint8_t>(256 - (j - i)));
                    line.push_back(c[2 * i]);
                    line.push_back(c[2 * i + 1]);
                    i = j;
                } else {
                    int n = 1;
                    while (i + n < end && n < 127 &&
                           !(i + n + 1 < end && c[2 * (i + n)] == c[2 * (i + n + 1)] &&
                             c[2 * (i + n) + 1] == c[2 * (i + n + 1) + 1]))
                        ++n;
                    line.push_back(static_cast<uint8_t>(n));
                    line.insert(line.end(), c + 2 * i, c + 2 * (i + n));
                    i += n;
                }
                ++packets;
            }
            at = k = end;
        }
        if (packets == 0 && !last_changed) {
            ++skipped;
            continue;
        }
        if (packets > 0x7FFF) return {};
        while (skipped > 0) {
            const int n = std::min(skipped, 0x3FFF);
            put16(p, static_cast<uint32_t>(0x10000 - n));
            skipped -= n;
        }
        if (last_changed) put16(p, 0x8000u | c[width - 1]);
        put16(p, static_cast<uint32_t>(packets));
        p.insert(p.end(), line.begin(), line.end());
        ++lines;
    }
    p[0] = static_cast<uint8_t>(lines);
    p[1] = static_cast<uint8_t>(lines >> 8);
    return flc_sub_chunk(7, p);
}

FlcBytes flc_frame_chunk(const std::vector<FlcBytes>& subs) {
    FlcBytes b;
    put32(b, 0);
    put16(b, 0xF1FA);
    put16(b, static_cast<uint32_t>(subs.size()));
    b.resize(16, 0);
    for (const FlcBytes& s : subs)
        b.insert(b.end(), s.begin(), s.end());
    set32(b, 0, static_cast<uint32_t>(b.size()));
    return b;
}

FlcBytes flc_other_chunk(uint16_t type, const FlcBytes& payload) {
    return flc_sub_chunk(type, payload);
}

FlcBytes flc_file(int width, int height, uint32_t ms_per_frame,
                  const std::vector<FlcBytes>& chunks) {
    FlcBytes b(128, 0);
    int frames = 0;
    for (const FlcBytes& c : chunks) {
        if (c.size() >= 6 && c[4] == 0xFA && c[5] == 0xF1) ++frames;
        b.insert(b.end(), c.begin(), c.end());
    }
    set32(b, 0, static_cast<uint32_t>(b.size()));
    b[4] = 0x12;
    b[5] = 0xAF;
    b[6] = static_cast<uint8_t>(frames);
    b[7] = static_cast<uint8_t>(frames >> 8);
    b[8] = static_cast<uint8_t>(width);
    b[9] = static_cast<uint8_t>(width >> 8);
    b[10] = static_cast<uint8_t>(height);
    b[11] = static_cast<uint8_t>(height >> 8);
    b[12] = 8; // bits a pixel
    set32(b, 16, ms_per_frame);
    set32(b, 80, 128); // where the first frame lies
    return b;
}

FlcBytes flc_encode(int width, int height, uint32_t ms_per_frame,
                    const std::vector<FlcRgb>& palette,
                    const std::vector<std::vector<uint8_t>>& frames) {
    const size_t area = static_cast<size_t>(width) * height;
    std::vector<FlcBytes> chunks;
    for (size_t n = 0; n < frames.size(); ++n) {
        if (frames[n].size() != area) throw std::invalid_argument("frame of the wrong size");
        std::vector<FlcBytes> subs;
        if (n == 0) {
            std::vector<FlcRgb> all = palette;
            all.resize(256, FlcRgb{0, 0, 0});
            subs.push_back(flc_colour_chunk({{0, all}}));
            subs.push_back(flc_byte_run_chunk(width, height, frames[0].data()));
        } else if (frames[n] != frames[n - 1]) {
            FlcBytes word =
                flc_word_delta_chunk(width, height, frames[n - 1].data(), frames[n].data());
            FlcBytes byte =
                flc_byte_delta_chunk(width, height, frames[n - 1].data(), frames[n].data());
            if (byte.empty() || (!word.empty() && word.size() <= byte.size()))
                subs.push_back(word);
            else
                subs.push_back(byte);
        }
        chunks.push_back(flc_frame_chunk(subs));
    }
    return flc_file(width, height, ms_per_frame, chunks);
}
