// The text engine: the text surface and the font.
//
// A text (GBK, with ASCII) is drawn by the platform's font service onto a
// private 512 x 200 surface, measured by its lit pixels, placed by an
// alignment code and copied with transparency into the back buffer or an
// image. A text may begin with a voice marker "#dddd" (four ASCII digits)
// that plays voice clip dddd as it is shown.
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "platform/messages.h"

inline constexpr int TEXT_SURFACE_W = 512;
inline constexpr int TEXT_SURFACE_H = 200;

// Flags of TextStyle.
inline constexpr uint32_t TEXT_SHADOW = 1;  // second colour at (1, 1) under the text
inline constexpr uint32_t TEXT_BOLD = 2;    // weight 700 instead of 400
inline constexpr uint32_t TEXT_OUTLINE = 4; // second colour around the text (not with shadow)
inline constexpr uint32_t TEXT_CLIP = 8;    // cut the copy to the clip rectangle

struct TextStyle {
    void* font;       // the platform font, nullptr before text_set_font
    int32_t height;   // character height in pixels
    uint32_t flags;   // TEXT_*
    int32_t spacing;  // character spacing; spacing - 1 extra pixels after each character
    uint32_t colour;  // text colour, kept as 0x00BBGGRR
    uint32_t colour2; // shadow or outline colour, kept as 0x00BBGGRR
};
extern TextStyle text_style;

// Placement of the box of lit pixels (w x h) for text_draw.
enum TextAlign : int {
    ALIGN_LEFT_TOP = 0,      // (x, y)
    ALIGN_RIGHT_TOP = 1,     // (x - w, y)
    ALIGN_CENTRE = 2,        // (x - w/2, y - h/2)
    ALIGN_VERTICAL = 3,      // (x, y); one character per line
    ALIGN_CENTRE_LINES = 4,  // (x - w/2, y - h/2); lines centred on each other
    ALIGN_LEFT_MIDDLE = 5,   // (x, y - h/2)
    ALIGN_RIGHT_MIDDLE = 6,  // (x - w, y - h/2)
    ALIGN_CENTRE_BOTTOM = 7, // (x - w/2, y - h); lines centred on each other
};

// Creates the text surface and clears it (once, at start-up).
void text_init();
// Deletes the font and releases the text surface.
void text_shutdown();
// The font for the texts that follow: character height in pixels, text and
// second colour (0x00RRGGBB), flags (TEXT_*), character spacing.
void text_set_font(int height, uint32_t rgb, uint32_t rgb2, uint32_t flags, int spacing);
// Draws text into the image target, or into the back buffer when target is
// nullptr, its lit box placed at (x, y) by align (TextAlign; other values as
// 0). Nothing for a null or empty text. A leading "#dddd" plays voice dddd
// and is not drawn; a "#" not followed by four digits is drawn as it stands.
void text_draw(ImageRecord* target, const char* text, int x, int y, int align);
// The smallest box (left, top, right, bottom inclusive) holding every
// non-zero pixel of area of a buffer with rows of 512 pixels; (0, 0, 0, 0)
// when there is none.
void text_blit_box(const uint16_t* pixels, const PlatRect& area, PlatRect* box);
// One character a line from (x, y) into a surface in colour (0x00RRGGBB);
// a byte with bit 7 set starts a two-byte character (a lone last lead byte
// ends the text); each line lower by the font height plus the spacing, plus 1
// with shadow or outline.
void text_draw_vertical(ImageRecord* surface, int x, int y, const char* text, uint32_t rgb);
// The text surface (for tests: zero outside every text_draw).
const ImageRecord* text_surface();
