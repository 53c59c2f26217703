// The seven films: START.AVI, END.AVI, OVER.AVI and the map intros
// FLYTW.AVI, FLYCHINA.AVI, FLYJP.AVI, FLYUS.AVI. Each is 320 x 240 at 15
// frames a second, a few seconds long: the film's name in large letters over
// moving art of its own colours, with a short tune as 8-bit PCM sound. The
// frames and the sound are made here and encoded as Microsoft Video 1 in AVI
// by the ffmpeg command.
#include "builder.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFps = 15;
constexpr int kSoundRate = 22050;

struct Film {
    const char* name;
    const char* title; // the letters drawn
    int seconds;
    uint8_t sky[3], ground[3], shape[3];
    int base_note; // the tune's first note (MIDI number)
};

const Film kFilms[7] = {
    {"START.AVI", "START", 6, {30, 40, 110}, {200, 120, 40}, {250, 220, 90}, 60},
    {"END.AVI", "END", 6, {90, 20, 60}, {40, 30, 30}, {240, 160, 200}, 57},
    {"OVER.AVI", "OVER", 5, {20, 20, 20}, {80, 20, 20}, {230, 60, 40}, 52},
    {"FLYTW.AVI", "FLYTW", 5, {60, 140, 220}, {40, 140, 70}, {255, 255, 255}, 64},
    {"FLYCHINA.AVI", "FLYCHINA", 5, {120, 170, 230}, {170, 60, 40}, {250, 210, 60}, 62},
    {"FLYJP.AVI", "FLYJP", 5, {230, 200, 210}, {60, 110, 60}, {200, 30, 40}, 65},
    {"FLYUS.AVI", "FLYUS", 5, {40, 80, 160}, {120, 120, 130}, {230, 230, 240}, 67},
};

// 5 x 7 capitals, one row a byte, bit 4 the left column.
struct Glyph {
    char c;
    uint8_t rows[7];
};
const Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
};

const uint8_t* glyph_rows(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return g.rows;
    return nullptr;
}

struct Frame {
    std::vector<uint8_t> rgb = std::vector<uint8_t>(kWidth * kHeight * 3);
    void put(int x, int y, const uint8_t c[3]) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
        uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
        p[0] = c[0], p[1] = c[1], p[2] = c[2];
    }
    void box(int x0, int y0, int w, int h, const uint8_t c[3]) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                put(x, y, c);
    }
};

// The title centred, scale pixels a dot, with a dark shadow.
void draw_title(Frame& f, const char* text, int scale, int y0, const uint8_t colour[3]) {
    int n = static_cast<int>(std::string(text).size());
    int w = n * 6 * scale - scale;
    int x0 = (kWidth - w) / 2;
    static const uint8_t shadow[3] = {24, 24, 32};
    for (int pass = 0; pass < 2; ++pass) {
        int off = pass == 0 ? scale / 2 + 1 : 0;
        for (int i = 0; i < n; ++i) {
            const uint8_t* rows = glyph_rows(text[i]);
            if (!rows) continue;
            for (int r = 0; r < 7; ++r)
                for (int col = 0; col < 5; ++col)
                    if (rows[r] & (0x10 >> col))
                        f.box(x0 + i * 6 * scale + col * scale + off, y0 + r * scale + off, scale,
                              scale, pass == 0 ? shadow : colour);
        }
    }
}

Frame draw_frame(const Film& film, int index, int frames) {
    Frame f;
    double t = static_cast<double>(index) / frames;
    // Sky shading to the horizon, the ground below.
    for (int y = 0; y < kHeight; ++y) {
        uint8_t c[3];
        for (int k = 0; k < 3; ++k) {
            int v = y < 160 ? film.sky[k] + (y * 60) / 160 : film.ground[k] - (y - 160) / 2;
            c[k] = static_cast<uint8_t>(std::min(255, std::max(32, v))); // never black
        }
        for (int x = 0; x < kWidth; ++x)
            f.put(x, y, c);
    }
    // Hills and towers sliding past, nearer ones faster.
    for (int layer = 0; layer < 2; ++layer) {
        int speed = layer == 0 ? 2 : 5;
        uint8_t c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = static_cast<uint8_t>(std::max(32, film.ground[k] * (layer == 0 ? 3 : 2) / 4));
        for (int x = 0; x < kWidth; ++x) {
            int wx = x + index * speed;
            int h = layer == 0 ? 20 + static_cast<int>(14 * std::sin(wx / 23.0))
                               : ((wx / 28) % 3 + 1) * 14;
            f.box(x, 160 - h + layer * 10, 1, h, c);
        }
    }
    // A bright shape crossing the sky on a curve, and a sun that rises.
    int sx = static_cast<int>(-40 + t * (kWidth + 80));
    int sy = static_cast<int>(60 + 30 * std::sin(t * 6.283));
    for (int dy = -10; dy <= 10; ++dy)
        for (int dx = -16; dx <= 16; ++dx)
            if (dx * dx * 100 / 256 + dy * dy <= 100 && std::abs(dy) < 10 - std::abs(dx) / 3)
                f.put(sx + dx, sy + dy, film.shape);
    static const uint8_t sun[3] = {255, 240, 160};
    int sun_y = 130 - static_cast<int>(t * 70);
    for (int dy = -14; dy <= 14; ++dy)
        for (int dx = -14; dx <= 14; ++dx)
            if (dx * dx + dy * dy <= 196) f.put(260 + dx, sun_y + dy, sun);
    // The title grows in over the first second and then stays.
    int scale = std::min(6, 2 + index * 4 / kFps);
    if (std::string(film.title).size() > 6) scale = std::min(scale, 5);
    static const uint8_t white[3] = {255, 255, 255};
    draw_title(f, film.title, scale, 180 - 4 * scale, white);
    return f;
}

// A tune of square-ish notes rising and falling, 8-bit unsigned mono.
std::vector<uint8_t> make_sound(const Film& film) {
    size_t count = static_cast<size_t>(film.seconds) * kSoundRate;
    std::vector<uint8_t> out(count, 128);
    static const int steps[8] = {0, 4, 7, 12, 7, 4, 9, 5};
    double note_seconds = 0.25;
    for (size_t i = 0; i < count; ++i) {
        double s = static_cast<double>(i) / kSoundRate;
        int n = static_cast<int>(s / note_seconds);
        int key = film.base_note + steps[n % 8] + (n / 8 % 2 ? 2 : 0);
        double freq = 440.0 * std::pow(2.0, (key - 69) / 12.0);
        double in_note = s - n * note_seconds;
        double env = std::exp(-in_note * 6.0);
        double fade = std::min(1.0, (film.seconds - s) * 2.0);
        double v = std::sin(2 * M_PI * freq * s) + 0.3 * std::sin(4 * M_PI * freq * s);
        out[i] = static_cast<uint8_t>(128 + std::lround(70 * env * fade * v / 1.3));
    }
    return out;
}

void write_all(const std::string& path, const void* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    bool ok = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

void build_films(DataBuilder& b) {
    for (const Film& film : kFilms) {
        int frames = film.seconds * kFps;
        std::string video = b.out_dir + "/" + film.name + ".rgb";
        std::string sound = b.out_dir + "/" + film.name + ".pcm";
        std::vector<uint8_t> all;
        all.reserve(static_cast<size_t>(frames) * kWidth * kHeight * 3);
        for (int i = 0; i < frames; ++i) {
            Frame f = draw_frame(film, i, frames);
            all.insert(all.end(), f.rgb.begin(), f.rgb.end());
        }
        write_all(video, all.data(), all.size());
        std::vector<uint8_t> pcm = make_sound(film);
        write_all(sound, pcm.data(), pcm.size());
        std::string out = b.out_dir + "/" + film.name;
        std::string command = "ffmpeg -nostdin -y -loglevel error -f rawvideo -pix_fmt rgb24 -s " +
                              std::to_string(kWidth) + "x" + std::to_string(kHeight) + " -r " +
                              std::to_string(kFps) + " -i '" + video + "' -f u8 -ar " +
                              std::to_string(kSoundRate) + " -ac 1 -i '" + sound +
                              "' -c:v msvideo1 -pix_fmt rgb555le -c:a pcm_u8 -f avi '" + out + "'";
        int status = std::system(command.c_str());
        std::remove(video.c_str());
        std::remove(sound.c_str());
        if (status != 0) throw std::runtime_error("ffmpeg could not encode " + out);
    }
}

} // namespace

KARVO_DATA_GENERATOR(build_films);
