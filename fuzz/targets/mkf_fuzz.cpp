// Any byte string as an archive file: opening, reading every entry in each
// pixel format, and walking the frames of every linked frame set must stay
// inside the file's data, the index and the blocks; so must reading any entry
// as a map's terrain.
#include "board/view_terrain.h"
#include "engine/image.h"
#include "engine/mkf.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string archive_path() {
    static const std::string path = "/tmp/karvo_mkf_fuzz_" + std::to_string(::getpid()) + ".mkf";
    return path;
}

// Reads every byte of each frame, so that a frame reaching past its set is seen.
unsigned touch_frames(const void* set) {
    unsigned sum = 0;
    int count = spr_frame_count(set);
    for (int n = 0; n < count; ++n) {
        const ImageRecord* f = spr_frame(set, n);
        const uint8_t* p = reinterpret_cast<const uint8_t*>(f->pixels);
        size_t bytes = static_cast<size_t>(f->width) * f->height *
                       (spr_palette(const_cast<void*>(set)) ? 1 : 2);
        for (size_t i = 0; i < bytes; ++i)
            sum += p[i];
    }
    return sum;
}

// Every entry read as a map's terrain: each cell's tile and the palette.
unsigned touch_terrain(const uint8_t* block, uint32_t size) {
    unsigned sum = 0;
    for (int i = 0; i < 256; ++i)
        sum += view_terrain_colour(block, size, i);
    for (int cy = -1; cy <= 72; ++cy)
        for (int cx = -1; cx <= 72; ++cx)
            if (const uint8_t* t = view_terrain_tile(block, size, cx, cy)) sum += t[0] + t[1023];
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const std::string& path = archive_path();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);

    mkf_reset();
    spr_reset();
    int slot = mkf_open(path.c_str());
    if (slot >= 0) {
        int count = mkf_entry_count(slot);
        volatile unsigned sink = 0;
        for (int e = 0; e < count && e < 600; ++e) {
            gfx_set_pixel_format(e % PIXEL_FORMAT_COUNT);
            uint32_t n = 0;
            void* p = mkf_read(slot, e, nullptr, &n);
            if (!p) continue;
            sink = sink + touch_frames(p);
            sink = sink + touch_terrain(static_cast<const uint8_t*>(p), n);
            gfx_tint_palette(p);
            spr_unlink(p);
            std::free(p);
        }
        mkf_close(slot);
    }
    gfx_pixel_format_reset();
    return 0;
}
