// Little-endian record images, field by field.
//
// Every record the game stores (save games, map blocks, snapshots) is read
// and written through one field list per record type, which serves both
// directions so the two cannot drift apart:
//
//     template <typename Io, typename Rec> void stock_fields(const Io& io, Rec& r) {
//         io(r.name, 0);     // a field at its byte offset in the image
//         io(r.building, 4);
//     }
//     stock_fields(RecordPut{out}, record);   // writes the image
//     stock_fields(RecordGet{in}, record);    // reads it back
//
// A field named without an offset follows the previous one at once, so a
// packed record may list its fields in order only. Bytes no field names are
// left as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

inline uint16_t le_get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t le_get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void le_put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void le_put32(uint8_t* p, uint32_t v) {
    for (size_t i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

struct RecordGet {
    const uint8_t* p;
    mutable size_t next = 0; // where a field named without an offset lies

    void operator()(uint8_t& v, size_t at) const {
        v = p[at];
        next = at + 1;
    }
    void operator()(uint16_t& v, size_t at) const {
        v = le_get16(p + at);
        next = at + 2;
    }
    void operator()(int16_t& v, size_t at) const {
        v = static_cast<int16_t>(le_get16(p + at));
        next = at + 2;
    }
    void operator()(uint32_t& v, size_t at) const {
        v = le_get32(p + at);
        next = at + 4;
    }
    void operator()(int32_t& v, size_t at) const {
        v = static_cast<int32_t>(le_get32(p + at));
        next = at + 4;
    }
    void operator()(float& v, size_t at) const {
        const uint32_t bits = le_get32(p + at);
        std::memcpy(&v, &bits, 4);
        next = at + 4;
    }
    template <size_t N> void operator()(char (&text)[N], size_t at) const {
        std::memcpy(text, p + at, N);
        next = at + N;
    }
    template <typename T> void operator()(T& v) const { (*this)(v, next); }
};

struct RecordPut {
    uint8_t* p;
    mutable size_t next = 0;

    void operator()(uint8_t v, size_t at) const {
        p[at] = v;
        next = at + 1;
    }
    void operator()(uint16_t v, size_t at) const {
        le_put16(p + at, v);
        next = at + 2;
    }
    void operator()(int16_t v, size_t at) const {
        le_put16(p + at, static_cast<uint16_t>(v));
        next = at + 2;
    }
    void operator()(uint32_t v, size_t at) const {
        le_put32(p + at, v);
        next = at + 4;
    }
    void operator()(int32_t v, size_t at) const {
        le_put32(p + at, static_cast<uint32_t>(v));
        next = at + 4;
    }
    void operator()(float v, size_t at) const {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        le_put32(p + at, bits);
        next = at + 4;
    }
    template <size_t N> void operator()(const char (&text)[N], size_t at) const {
        std::memcpy(p + at, text, N);
        next = at + N;
    }
    template <typename T> void operator()(const T& v) const { (*this)(v, next); }
};
