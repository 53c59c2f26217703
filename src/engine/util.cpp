#include "engine/util.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

void util_format_thousands(char* buf, int32_t value) {
    // Widen first so that the smallest value keeps its magnitude.
    int64_t v = value;
    bool negative = v < 0;
    uint64_t magnitude = negative ? static_cast<uint64_t>(-v) : static_cast<uint64_t>(v);
    char digits[24];
    int n =
        std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(magnitude));
    char* out = buf;
    if (negative) *out++ = '-';
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) *out++ = ',';
        *out++ = digits[i];
    }
    *out = '\0';
}

void util_rect_union(const UtilRect* a, const UtilRect* b, UtilRect* out) {
    UtilRect r;
    r.left = a->left < b->left ? a->left : b->left;
    r.top = a->top < b->top ? a->top : b->top;
    r.right = a->right > b->right ? a->right : b->right;
    r.bottom = a->bottom > b->bottom ? a->bottom : b->bottom;
    *out = r;
}

int util_strip_spaces(char* dst, const char* src) {
    int length = static_cast<int>(std::strlen(src));
    // Forward copy, so dst may be src itself.
    char* out = dst;
    for (int i = 0; i < length; ++i)
        if (src[i] != ' ') *out++ = src[i];
    *out = '\0';
    return length;
}

std::string util_without_spaces(const char* src) {
    if (src == nullptr) return {};
    std::string out(std::strlen(src), '\0');
    util_strip_spaces(out.data(), src);
    out.resize(std::strlen(out.c_str()));
    return out;
}

namespace {

constexpr int ATAN_STEPS = 2048;

// T[i] = trunc(atan(i / 2048) x 8192 / pi): angles up to 45 degrees in units of
// 1/65536 of a turn, divided by 4.
const std::array<int32_t, ATAN_STEPS + 1>& atan_table() {
    static const std::array<int32_t, ATAN_STEPS + 1> table = [] {
        std::array<int32_t, ATAN_STEPS + 1> t{};
        const double pi = std::acos(-1.0);
        for (int i = 0; i <= ATAN_STEPS; ++i)
            t[i] =
                static_cast<int32_t>(std::atan(static_cast<double>(i) / ATAN_STEPS) * 8192.0 / pi);
        return t;
    }();
    return table;
}

} // namespace

int util_direction8(int dx, int dy) {
    constexpr std::array<int, 8> by_sector = {2, 3, 4, 5, 6, 7, 0, 1};
    // The zero vector has no angle; it faces right, as the angle 0 would.
    if (dx == 0 && dy == 0) return 2;
    int64_t x = dx;
    int64_t y = -static_cast<int64_t>(dy);
    int64_t a = x < 0 ? -x : x;
    int64_t b = y < 0 ? -y : y;
    int64_t smaller = a < b ? a : b;
    int64_t larger = a < b ? b : a;
    int32_t t = atan_table()[static_cast<size_t>(smaller * ATAN_STEPS / larger)];
    int32_t within = (a < b ? 4096 - t : t) * 4;
    int32_t angle;
    if (x >= 0)
        angle = y >= 0 ? within : -within;
    else
        angle = y >= 0 ? 32768 - within : 32768 + within;
    uint16_t turn = static_cast<uint16_t>(angle);
    int sector = (((turn >> 12) + 1) >> 1) % 8;
    return by_sector[static_cast<size_t>(sector)];
}
