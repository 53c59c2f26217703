// The font service: GBK texts drawn in one colour, not antialiased, into
// 16-bit pixels, with a Ming face (AR PL UMing) standing in for the game's
// Song face. GBK is turned into UTF-8 inside the layer.
//
// A missing font is reported once; every text then measures 0 x 0 and draws
// nothing.
#pragma once

#include <cstdint>

struct PlatFont;

// The font of a character height in pixels, bold or not; fonts are cached,
// the same pointer for the same pair. nullptr when no font can be opened.
PlatFont* plat_font_get(int height, bool bold);
// Closes every cached font (they are opened again when asked for).
void plat_font_release_all();
// Another font file for tests (nullptr: the installed one); closes the cache.
void plat_font_set_file(const char* path);
// How many times a missing font was reported (for tests).
int plat_font_missing_reports();

// Measures a text the way the game lays it out: lines break at "\n", each
// line advancing by the font's height; the width is the widest line with
// extra pixels after each character.
void plat_text_measure(PlatFont* font, const char* gbk, int extra, int* w, int* h);
// Draws a text at (x, y) of a 16-bit buffer (pitch in pixels, cut at
// width x height) in one pixel value: lines left-aligned at x, or, with
// centre_w > 0, each centred in the width centre_w from x. Characters are
// placed one by one so the extra spacing applies.
void plat_text_draw(PlatFont* font, const char* gbk, int extra, uint16_t* pixels, int pitch,
                    int width, int height, int x, int y, int centre_w, uint16_t pixel);
// Draws the one character at gbk (one byte, or two when the first has bit 7
// set) at (x, y); returns the bytes it took (0 at the end or at a lone last
// lead byte).
int plat_text_draw_char(PlatFont* font, const char* gbk, uint16_t* pixels, int pitch, int width,
                        int height, int x, int y, uint16_t pixel);
