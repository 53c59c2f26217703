// Small utilities shared by many screens.
#pragma once

#include <cstdint>

struct UtilRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Size of the buffer util_format_thousands needs, with its terminating zero.
inline constexpr int UTIL_THOUSANDS_BUF = 15;

// `value` as decimal text with a comma before every group of three digits
// counted from the right ("-1,234,567"). buf holds UTIL_THOUSANDS_BUF bytes.
void util_format_thousands(char* buf, int32_t value);

// out = the smallest rectangle holding a and b; out may be a or b.
void util_rect_union(const UtilRect* a, const UtilRect* b, UtilRect* out);

// Copies src to dst without its spaces (0x20); returns the length of src.
int util_strip_spaces(char* dst, const char* src);

// Eight-way direction of a screen vector (y grows downward): 0 down,
// 1 down-right, 2 right, 3 up-right, 4 up, 5 up-left, 6 left, 7 down-left.
// The zero vector gives 2.
int util_direction8(int dx, int dy);
