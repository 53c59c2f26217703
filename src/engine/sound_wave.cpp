#include "engine/sound_wave.h"

#include <cstring>

namespace {

uint32_t u32_at(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t u16_at(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

bool wave_parse(const void* wave, uint32_t size, WaveData* out) {
    constexpr uint32_t FORMAT_AT = 20, FORMAT_BYTES = 16;
    if (!wave || size < FORMAT_AT + FORMAT_BYTES) return false;
    const uint8_t* p = static_cast<const uint8_t*>(wave);
    if (std::memcmp(p, "RIFF", 4) != 0) return false;
    if (u16_at(p + FORMAT_AT) != 1) return false; // PCM only
    out->format = MixerFormat{u16_at(p + 22), u32_at(p + 24), u16_at(p + 34)};
    // Every size is checked against what is left, so the walk ends inside the image.
    uint64_t pos = FORMAT_AT + uint64_t{u32_at(p + 16)};
    while (pos + 8 <= size) {
        uint32_t chunk = u32_at(p + pos + 4);
        if (std::memcmp(p + pos, "data", 4) == 0) {
            uint64_t left = size - (pos + 8);
            out->samples = p + pos + 8;
            out->bytes = static_cast<uint32_t>(chunk < left ? chunk : left);
            return true;
        }
        uint64_t next = pos + 8 + chunk;
        // Chunks are padded to even sizes, but a writer that does not pad
        // leaves the next name right after the odd chunk.
        if ((chunk & 1) && !(next + 4 <= size && std::memcmp(p + next, "data", 4) == 0)) ++next;
        pos = next;
    }
    return false;
}
