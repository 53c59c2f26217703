// Writing FLC animations: the 128-byte header, frame chunks and the five
// sub-chunk kinds the game's player reads (colour packets, word delta, byte
// delta, byte run, copy). Pixels are 8-bit colour indices, rows top to
// bottom, width x height of them per frame.
#pragma once

#include <cstdint>
#include <vector>

using FlcBytes = std::vector<uint8_t>;

struct FlcRgb {
    uint8_t r, g, b;
};

// Colours to skip, then the colours to set (1..256 of them).
struct FlcColourPacket {
    uint8_t skip;
    std::vector<FlcRgb> colours;
};

// A sub-chunk of any type around its payload.
FlcBytes flc_sub_chunk(uint16_t type, const FlcBytes& payload);
FlcBytes flc_colour_chunk(const std::vector<FlcColourPacket>& packets);
FlcBytes flc_copy_chunk(int width, int height, const uint8_t* pixels);
FlcBytes flc_byte_run_chunk(int width, int height, const uint8_t* pixels);
// The lines that differ from prev (an empty chunk when none does).
FlcBytes flc_byte_delta_chunk(int width, int height, const uint8_t* prev, const uint8_t* cur);
// Pairs of pixels that differ from prev, unchanged lines skipped; an odd
// width's last pixel by its own word.
FlcBytes flc_word_delta_chunk(int width, int height, const uint8_t* prev, const uint8_t* cur);

// A frame chunk holding the sub-chunks in order.
FlcBytes flc_frame_chunk(const std::vector<FlcBytes>& subs);
// A chunk of another type (the player skips it).
FlcBytes flc_other_chunk(uint16_t type, const FlcBytes& payload);
// The whole animation: header, then the chunks as given; the header's frame
// count is the number of frame chunks among them.
FlcBytes flc_file(int width, int height, uint32_t ms_per_frame,
                  const std::vector<FlcBytes>& chunks);

// An animation from whole frames: the palette and a byte run first, then
// each frame as the smaller of its word and byte delta.
FlcBytes flc_encode(int width, int height, uint32_t ms_per_frame,
                    const std::vector<FlcRgb>& palette,
                    const std::vector<std::vector<uint8_t>>& frames);
