// Decoding FLC animations into 16-bit pixel buffers.
//
// An FLC animation is a 128-byte header followed by chunks (u32 size that
// includes the 6-byte chunk header, u16 type). Frame chunks (type 0xF1FA)
// hold sub-chunks: colour packets, word delta, byte delta, byte run and
// plain copy; all pixel values are colour indices into the animation's
// 256-entry palette, already converted to the display's format.
//
// This part knows nothing of surfaces: the caller describes where the frame
// goes (a canvas) and the player in flc.h does the locking, timing and
// showing. Every read stays inside the data and every write inside the
// canvas and the animation's own rectangle.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint16_t FLC_MAGIC = 0xAF12;
inline constexpr uint16_t FLC_FRAME_CHUNK = 0xF1FA;
inline constexpr uint32_t FLC_FIRST_CHUNK = 128;

// Sub-chunk kinds the decoder handles; every other kind is skipped.
enum FlcSubChunk : uint16_t {
    FLC_COLOUR = 4,
    FLC_WORD_DELTA = 7,
    FLC_BYTE_DELTA = 12,
    FLC_BYTE_RUN = 15,
    FLC_COPY = 16,
};

struct FlcHeader {
    uint16_t frames;
    uint16_t width;
    uint16_t height;
    uint32_t ms_per_frame;
};

// Reads the header: 1 when the data holds the whole header and the magic.
int flc_read_header(const void* data, size_t size, FlcHeader* out);

// Where a frame is drawn. The animation's pixel (i, j) goes to
// pixels[(y + j) * pitch + x + i] when 0 <= x + i < width and
// 0 <= y + j < height (pitch in pixels). With a background, colour index 0
// takes background[(bg_y + j) * bg_pitch + bg_x + i] instead, and a pixel is
// written only where that place lies inside bg_width x bg_height too.
struct FlcCanvas {
    uint16_t* pixels = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
    const uint16_t* background = nullptr;
    int bg_pitch = 0;
    int bg_width = 0;
    int bg_height = 0;
    int bg_x = 0;
    int bg_y = 0;
};

// Decodes the next frame: from the chunk at *offset, skips chunks that are
// not frames, runs the frame's sub-chunks onto the canvas (palette changes
// into palette[256]) and sets *offset to the chunk after the frame. Returns
// 1, or 0 when no whole frame lies at or after *offset: a chunk under 6
// bytes or past the data, a sub-chunk past its frame, a packet or run past
// its sub-chunk (what was drawn before stays).
int flc_decode_frame(const uint8_t* data, size_t size, uint32_t* offset, const FlcHeader& header,
                     uint16_t* palette, const FlcCanvas& canvas);
