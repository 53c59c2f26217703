// Images, 16-bit pixel formats and frame sets.
//
// Pictures are stored in the archives as RGB555 and converted once, when their
// entry is read, to the display's format. Pixel value 0 is transparent in
// every format.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum PixelFormat : int {
    PIXEL_RGB555 = 0, // red bits 10-14, green 5-9, blue 0-4 (the stored format)
    PIXEL_RGB565 = 1, // red 11-15, green 5-10, blue 0-4
    PIXEL_BGR565 = 2, // blue 11-15, green 5-10, red 0-4
    PIXEL_RGB444 = 3, // red 8-11, green 4-7, blue 0-3
};
inline constexpr int PIXEL_FORMAT_COUNT = 4;

// The display's format; starts as RGB555 (nothing converted) until start-up
// sets it, before any archive entry is read.
extern int gfx_pixel_format;

// Sets the display's format (the start-up passes what the display reports).
// Values outside 0..3 leave RGB555.
void gfx_set_pixel_format(int format = PIXEL_RGB565);
// The format for a display's red and green channel masks; RGB555 for
// unknown masks.
int gfx_pixel_format_from_masks(uint32_t red_mask, uint32_t green_mask);
// Sets gfx_pixel_format from the display's red and green masks.
void gfx_detect_pixel_format(uint32_t red_mask, uint32_t green_mask);
// Back to the start state (RGB555).
void gfx_pixel_format_reset();

// An image in memory: width x height pixels, rows top to bottom, the width
// being also the row pitch. Drawing at (x, y) puts the top-left pixel at
// (x - hot_x, y - hot_y). An image made by image_new has its pixels right
// behind this header. The first 8 bytes are laid out as stored in frame sets.
struct ImageRecord {
    uint16_t width;
    uint16_t height;
    int16_t hot_x;
    int16_t hot_y;
    uint16_t* pixels; // 16-bit pixels; for a frame of an "SPR" set, 8-bit palette indices
};
static_assert(offsetof(ImageRecord, width) == 0 && offsetof(ImageRecord, height) == 2);
static_assert(offsetof(ImageRecord, hot_x) == 4 && offsetof(ImageRecord, hot_y) == 6);

// A frame record as stored in a frame set: the last field is the frame's
// byte size (a pointer cannot fit in 4 bytes here, so links are kept beside
// the set; see spr_frame).
struct StoredImageRecord {
    uint16_t width;
    uint16_t height;
    int16_t hot_x;
    int16_t hot_y;
    uint32_t size;
};
static_assert(sizeof(StoredImageRecord) == 12);

// Header of a frame set (one archive entry). Followed by `count` stored frame
// records; at data_offset an "SPR" set has a palette of 256 16-bit colours,
// and after that come the frames' pixels one after another.
struct FrameSet {
    char magic[4]; // "SPR" or "SMP" and a zero byte
    uint32_t count;
    uint32_t data_offset;
};
static_assert(sizeof(FrameSet) == 12);
inline constexpr uint32_t SPR_PALETTE_BYTES = 512;

// Checks a frame set block of `size` bytes and records where each frame's
// pixels begin. Returns 1 when linked; 0 when the block is not a frame set
// (magic other than "SPR\0"/"SMP\0"), -1 when it is one but its count,
// offsets or sizes do not fit the block (nothing is linked then).
int spr_link_frames(void* set, uint32_t size);
// Frame n of a linked set, or 0 when the set is not linked or n is out of
// range. The record stays valid until the set is linked again or unlinked.
const ImageRecord* spr_frame(const void* set, int n);
// Number of frames of a linked set, 0 when not linked.
int spr_frame_count(const void* set);
// The palette of a linked "SPR" set, 0 for anything else.
uint16_t* spr_palette(void* set);
// The palette of the linked "SPR" set whose frame record this is (as
// spr_frame gave it), 0 for a frame of a 16-bit set or any other image. The
// blitters draw such a frame as 8-bit indices through that palette.
const uint16_t* spr_record_palette(const ImageRecord* frame);
// Forgets the links of a set (call before freeing it; harmless otherwise).
void spr_unlink(const void* set);
// Forgets all links.
void spr_reset();
// Reads entry `entry` of the archive file `archive` (nullptr: data.mkf, which
// stays open) as a linked frame set; nullptr, silently, when the file or the
// entry is missing or is not a frame set. Free it with spr_free_set.
void* spr_read_set(const char* archive, int entry);
// The same from an archive already open in mkf slot `slot` (nullptr, silently,
// for a negative slot), for screens that read several entries of one file.
void* spr_read_set_from(int slot, int entry);
// Unlinks and frees a set from spr_read_set and clears the pointer (nothing
// for nullptr).
void spr_free_set(void*& set);

// Converts stored RGB555 pixels in place to the display's format; nothing in
// RGB555 mode. An odd last byte is left alone.
void gfx_convert_pixels(void* pixels, uint32_t byte_count);
// Colour 0x00RRGGBB to a pixel of the display's format (upper bits kept).
uint16_t gfx_rgb_to_pixel(uint32_t rgb);
// `count` colours stored as (red, green, blue) byte triples to pixels.
void gfx_palette_from_rgb(uint16_t* dst, const uint8_t* src, int count);

// Brightness tables for k = -31..31, each mapping a 5-bit channel value.
using BrightnessTable = std::array<uint8_t, 32>;
extern const std::array<BrightnessTable, 63> gfx_brightness_tables;
const BrightnessTable& gfx_brightness_table(int k);

// byte_count / 2 pixels from src to dst through brightness table k (-31..31).
void gfx_brightness_run(uint16_t* dst, const uint16_t* src, uint32_t byte_count, int k);
// The same in place on the w x h rectangle at (x, y) of an image.
void gfx_brightness_rect(ImageRecord* image, int x, int y, int w, int h, int k);
// Grey: every non-zero pixel becomes the average of its channels; pixel 0 is
// skipped (the destination keeps what it held).
void gfx_grey_run(uint16_t* dst, const uint16_t* src, uint32_t byte_count);
void gfx_grey_rect(ImageRecord* image, int x, int y, int w, int h);
// Blue tint of the palette of an "SPR" set, in place (red and green to the
// channels' average, blue to its maximum).
void gfx_tint_palette(void* spr_set);
// Every pixel equal to `from` among `count` becomes `to`.
void gfx_replace_pixel(uint16_t* pixels, int count, uint16_t from, uint16_t to);

// One block holding the header and width x height pixels (not cleared);
// the caller frees it with free(). 0 when it cannot be allocated.
ImageRecord* image_new(int width, int height, int hot_x, int hot_y);
// Copies the w x h rectangle at (x, y) of src into dst (its pixel block must
// hold w x h pixels) or, when dst is 0, into a new image_new block. The copy
// has hot spot (0, 0). Returns the copy, or 0 when the rectangle is not
// inside src or no block could be had.
ImageRecord* image_copy_rect(const ImageRecord* src, ImageRecord* dst, int x, int y, int w, int h);

// Copy n 16-bit pixels, moving 32 bits at a time aligned on the source
// (blit_copy_words) or on the destination (blit_copy_words_dst).
void blit_copy_words(uint16_t* dst, const uint16_t* src, int n);
void blit_copy_words_dst(uint16_t* dst, const uint16_t* src, int n);
