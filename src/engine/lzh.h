// Decoder of packed archive entries: a dictionary coder whose literals and
// match lengths use an adaptive Huffman code (321 symbols) and whose match
// positions use a fixed prefix code plus 6 raw bits. The output block is the
// dictionary; the stream ends with a match at position 4095.
#pragma once

#include <cstdint>

// Decodes one whole entry from `in` (in_size bytes) into `out` (out_size
// bytes) up to the end mark. Returns the number of bytes written, or -1 when
// the stream breaks its limits: more output than out_size, bits read past
// in_size, or a match reaching before the start of the output. Nothing is read
// or written outside the two blocks in either case.
int64_t lzh_decode(void* out, uint32_t out_size, const void* in, uint32_t in_size);
