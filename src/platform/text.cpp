#include "platform/text.h"

#include <SDL_ttf.h>
#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace {

constexpr const char* FONT_FILE = "/usr/share/fonts/truetype/arphic/uming.ttc";

// One character's lit pixels (1 = lit), rows of w, its top at the line's top.
struct Glyph {
    int w = 0, h = 0;
    int advance = 0;
    std::vector<uint8_t> lit;
};

struct FontRec {
    TTF_Font* ttf = nullptr;
    int height = 0;
    std::unordered_map<uint32_t, Glyph> glyphs;
};

} // namespace

struct PlatFont {
    FontRec rec;
};

namespace {

std::string g_file = FONT_FILE;
std::map<std::pair<int, bool>, std::unique_ptr<PlatFont>> g_fonts;
bool g_missing_reported = false;
int g_missing_reports = 0;
iconv_t g_gbk = reinterpret_cast<iconv_t>(-1);

void report_missing(const char* why) {
    if (g_missing_reported) return;
    g_missing_reported = true;
    ++g_missing_reports;
    std::fprintf(stderr,
                 "karvo: cannot open the font %s (%s); install fonts-arphic-uming. "
                 "Texts are not drawn.\n",
                 g_file.c_str(), why);
}

// The code point of one GBK character of n bytes, 0 when it is not GBK.
uint32_t gbk_code_point(const char* s, size_t n) {
    if (n == 1) return static_cast<uint8_t>(s[0]);
    if (g_gbk == reinterpret_cast<iconv_t>(-1)) {
        g_gbk = iconv_open("UTF-32LE", "GBK");
        if (g_gbk == reinterpret_cast<iconv_t>(-1)) return 0;
    }
    char in[2] = {s[0], s[1]};
    unsigned char out[4] = {};
    char* ip = in;
    char* op = reinterpret_cast<char*>(out);
    size_t il = n, ol = sizeof out;
    iconv(g_gbk, nullptr, nullptr, nullptr, nullptr);
    if (iconv(g_gbk, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || ol != 0) return 0;
    return static_cast<uint32_t>(out[0]) | static_cast<uint32_t>(out[1]) << 8 |
           static_cast<uint32_t>(out[2]) << 16 | static_cast<uint32_t>(out[3]) << 24;
}

// The bytes of the character at s: 1, 2 for a lead byte with its second
// byte, 0 at the end or at a lone last lead byte.
size_t char_bytes(const char* s) {
    if (!s || !*s) return 0;
    if (!(static_cast<uint8_t>(*s) & 0x80)) return 1;
    return s[1] ? 2 : 0;
}

const Glyph& glyph_of(PlatFont* font, uint32_t cp) {
    auto it = font->rec.glyphs.find(cp);
    if (it != font->rec.glyphs.end()) return it->second;
    Glyph g;
    int minx, maxx, miny, maxy, advance;
    if (cp && TTF_GlyphMetrics32(font->rec.ttf, cp, &minx, &maxx, &miny, &maxy, &advance) == 0)
        g.advance = advance;
    SDL_Surface* s = cp > 0x20
                         ? TTF_RenderGlyph32_Solid(font->rec.ttf, cp, SDL_Color{255, 255, 255, 255})
                         : nullptr;
    if (s) {
        if (SDL_LockSurface(s) == 0) {
            g.w = s->w;
            g.h = s->h;
            g.lit.resize(static_cast<size_t>(g.w) * g.h);
            const auto* px = static_cast<const uint8_t*>(s->pixels);
            for (int y = 0; y < g.h; ++y)
                for (int x = 0; x < g.w; ++x)
                    g.lit[static_cast<size_t>(y) * g.w + x] = px[y * s->pitch + x] ? 1 : 0;
            SDL_UnlockSurface(s);
        }
        SDL_FreeSurface(s);
    }
    return font->rec.glyphs.emplace(cp, std::move(g)).first->second;
}

// Calls f(code point, bytes) for each character of one line (up to "\n").
// Returns the bytes the line took, not counting the "\n".
template <class F> size_t each_char(const char* s, F f) {
    size_t i = 0;
    while (s[i] && s[i] != '\n') {
        size_t n = char_bytes(s + i);
        if (n == 0) break;
        f(gbk_code_point(s + i, n));
        i += n;
    }
    return i;
}

int line_width(PlatFont* font, const char* s, int extra, size_t* bytes) {
    int w = 0;
    *bytes = each_char(s, [&](uint32_t cp) { w += glyph_of(font, cp).advance + extra; });
    return w;
}

// The rest of the text after a line that took `bytes`: past its "\n", or
// nullptr when the text ends there.
const char* next_line(const char* s, size_t bytes) {
    return s[bytes] == '\n' ? s + bytes + 1 : nullptr;
}

void put_glyph(const Glyph& g, uint16_t* pixels, int pitch, int width, int height, int x, int y,
               uint16_t pixel) {
    for (int gy = 0; gy < g.h; ++gy) {
        int py = y + gy;
        if (py < 0 || py >= height) continue;
        for (int gx = 0; gx < g.w; ++gx) {
            int px = x + gx;
            if (px < 0 || px >= width || !g.lit[static_cast<size_t>(gy) * g.w + gx]) continue;
            pixels[static_cast<size_t>(py) * pitch + px] = pixel;
        }
    }
}

} // namespace

PlatFont* plat_font_get(int height, bool bold) {
    if (height <= 0) return nullptr;
    auto key = std::make_pair(height, bold);
    auto it = g_fonts.find(key);
    if (it != g_fonts.end()) return it->second.get();
    if (!TTF_WasInit() && TTF_Init() != 0) {
        report_missing(TTF_GetError());
        return nullptr;
    }
    // SDL_ttf opens the name itself: a FIFO there would hold it for ever.
    if (const std::string problem = plat_regular_file_problem(g_file); !problem.empty()) {
        report_missing(problem.c_str());
        return nullptr;
    }
    TTF_Font* ttf = TTF_OpenFontIndex(g_file.c_str(), height, 0);
    if (!ttf) {
        report_missing(TTF_GetError());
        return nullptr;
    }
    TTF_SetFontStyle(ttf, bold ? TTF_STYLE_BOLD : TTF_STYLE_NORMAL);
    TTF_SetFontHinting(ttf, TTF_HINTING_MONO);
    auto font = std::make_unique<PlatFont>();
    font->rec.ttf = ttf;
    font->rec.height = height;
    PlatFont* p = font.get();
    g_fonts.emplace(key, std::move(font));
    return p;
}

void plat_font_release_all() {
    for (auto& [key, font] : g_fonts)
        if (font->rec.ttf) TTF_CloseFont(font->rec.ttf);
    g_fonts.clear();
    if (g_gbk != reinterpret_cast<iconv_t>(-1)) iconv_close(g_gbk);
    g_gbk = reinterpret_cast<iconv_t>(-1);
    if (TTF_WasInit()) TTF_Quit();
}

void plat_font_set_file(const char* path) {
    plat_font_release_all();
    g_file = path ? path : FONT_FILE;
    g_missing_reported = false;
}

int plat_font_missing_reports() {
    return g_missing_reports;
}

void plat_text_measure(PlatFont* font, const char* gbk, int extra, int* w, int* h) {
    int width = 0, lines = 0;
    if (font && gbk && *gbk) {
        for (const char* s = gbk; s;) {
            size_t bytes = 0;
            width = std::max(width, line_width(font, s, extra, &bytes));
            ++lines;
            s = next_line(s, bytes);
        }
    }
    if (w) *w = width;
    if (h) *h = lines * (font ? font->rec.height : 0);
}

void plat_text_draw(PlatFont* font, const char* gbk, int extra, uint16_t* pixels, int pitch,
                    int width, int height, int x, int y, int centre_w, uint16_t pixel) {
    if (!font || !gbk || !pixels) return;
    width = std::min(width, pitch);
    int line_y = y;
    for (const char* s = gbk; s; line_y += font->rec.height) {
        size_t bytes = 0;
        int pen = x;
        if (centre_w > 0) pen = x + ((centre_w - line_width(font, s, extra, &bytes)) >> 1);
        bytes = each_char(s, [&](uint32_t cp) {
            const Glyph& g = glyph_of(font, cp);
            put_glyph(g, pixels, pitch, width, height, pen, line_y, pixel);
            pen += g.advance + extra;
        });
        s = next_line(s, bytes);
    }
}

int plat_text_draw_char(PlatFont* font, const char* gbk, uint16_t* pixels, int pitch, int width,
                        int height, int x, int y, uint16_t pixel) {
    size_t n = char_bytes(gbk);
    if (n == 0) return 0;
    if (font && pixels)
        put_glyph(glyph_of(font, gbk_code_point(gbk, n)), pixels, pitch, std::min(width, pitch),
                  height, x, y, pixel);
    return static_cast<int>(n);
}

// The system libraries under the platform layer (the font stack, SDL's own
// drivers, the synthesizer, the speech engine, the calendar library and its
// object system) keep allocations of their own until the process ends. The
// leak checker of sanitized builds is told so; nothing of the game's own is
// named here. It sits in the font service, which every
// program that draws text or builds the data links, so it is always linked.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:libharfbuzz.so\n"
           "leak:libSDL2_ttf-2.0.so\n"
           "leak:libSDL2-2.0.so\n"
           "leak:libdbus-1.so\n"
           "leak:libfluidsynth.so\n"
           "leak:libespeak-ng.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:liblunar-date-3.0.so\n";
}
