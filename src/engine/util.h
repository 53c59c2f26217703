// Small utilities shared by many screens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

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
// src without its spaces (names inside messages); nullptr gives "".
std::string util_without_spaces(const char* src);

// v limited to the 32-bit range: money summed in 64 bits never wraps.
constexpr int32_t util_clamp32(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}
// a + b, saturating at the ends of the 32-bit range.
constexpr int32_t util_add_sat32(int32_t a, int64_t b) {
    return util_clamp32(int64_t{a} + b);
}

// Eight-way direction of a screen vector (y grows downward): 0 down,
// 1 down-right, 2 right, 3 up-right, 4 up, 5 up-left, 6 left, 7 down-left.
// The zero vector gives 2.
int util_direction8(int dx, int dy);
