// Any byte string as an FLC animation: every frame is decoded onto a
// 640 x 480 screen and a 440 x 440 board buffer, with and without a
// background, at places partly off the target; every read must stay inside
// the data and every write inside the targets.
#include "engine/flc_decode.h"
#include "engine/image.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void decode_all(const uint8_t* data, size_t size, const FlcHeader& h, uint16_t* target, int w,
                int height, int x, int y, const uint16_t* background) {
    FlcCanvas c;
    c.pixels = target;
    c.pitch = c.width = w;
    c.height = height;
    c.x = x;
    c.y = y;
    if (background) {
        c.background = background;
        c.bg_pitch = c.bg_width = 640;
        c.bg_height = 480;
        c.bg_x = x;
        c.bg_y = y + 40;
    }
    uint16_t palette[256] = {};
    uint32_t at = FLC_FIRST_CHUNK;
    for (int n = 0; n < h.frames; ++n)
        if (!flc_decode_frame(data, size, &at, h, palette, c)) break;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    // An exact copy, so that a read one byte past the data is caught.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(copy.get(), data, size);
    FlcHeader h{};
    if (!flc_read_header(copy.get(), size, &h)) return 0;
    // Bytes the header reader leaves alone choose the place and the format.
    const int x = static_cast<int8_t>(copy[12]) * 4;
    const int y = static_cast<int8_t>(copy[13]) * 4;
    gfx_set_pixel_format(copy[14] % PIXEL_FORMAT_COUNT);
    // Kept from run to run (heap blocks of exactly their size, so a write
    // past one is caught).
    static std::vector<uint16_t> screen(640 * 480), board(440 * 440), back(640 * 480, 0x1234);
    decode_all(copy.get(), size, h, screen.data(), 640, 480, x, y, nullptr);
    decode_all(copy.get(), size, h, screen.data(), 640, 480, x, y, back.data());
    decode_all(copy.get(), size, h, board.data(), 440, 440, x, y, nullptr);
    decode_all(copy.get(), size, h, board.data(), 440, 440, 0, 0, back.data());
    gfx_pixel_format_reset();
    return 0;
}
