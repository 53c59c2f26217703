// Encoder for packed archive entries.
//
// Written from the stream format alone, apart from the game's decoder, so that
// a misreading of the format in one cannot hide in the other: literals and
// match lengths (3..67) through the adaptive Huffman code of 321 symbols,
// match distances 1..4095 through the fixed 6-bit prefix code plus 6 raw bits,
// bits packed from the least significant bit of each byte, and a final match
// at position 4095 as end mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The packed stream for `size` bytes of `data`, end mark included.
std::vector<uint8_t> mkfpack_compress(const uint8_t* data, size_t size);

// Lower-level writer for hand-made streams (tests and fuzz seeds): a stream
// that writes exactly the given symbols. Literal bytes are 0..255; a match is
// a length 3..67 and a position 0..4094 (the source is output - 1 - position).
struct MkfpackStream;
MkfpackStream* mkfpack_stream_new();
void mkfpack_stream_literal(MkfpackStream* s, uint8_t byte);
void mkfpack_stream_match(MkfpackStream* s, int length, int position);
// Writes the end mark, after a length symbol (3..67) of the caller's choice.
// Returns the packed bytes and frees the stream.
std::vector<uint8_t> mkfpack_stream_finish(MkfpackStream* s, int end_length = 3);
