// Writing archives for the stand-in data set.
//
// An archive is built in memory, entry by entry, and written whole. Entries
// are numbered from 0; numbers skipped are written as empty entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct WriterEntry {
    bool present = false;
    uint32_t unpacked_size = 0;
    uint32_t pixel_offset = 0;
    uint32_t pixel_byte_count = 0;
    Bytes data;  // the bytes as they go into the file (packed or not)
    Bytes plain; // the unpacked bytes, for the builder's own checks
};

struct ArchiveWriter {
    std::string name; // file name as the game opens it, e.g. "data.mkf"
    std::vector<WriterEntry> entries;
};

// Stores `data` as entry `entry`, packed when packing makes it smaller, else
// as is (equal sizes mean stored as is). The pixel fields name the stored
// RGB555 pixels (byte offset and byte count) that reading converts.
void mkf_writer_add(ArchiveWriter& archive, int entry, const Bytes& data, uint32_t pixel_offset = 0,
                    uint32_t pixel_byte_count = 0);
// Stores `data` as is, never packed.
void mkf_writer_add_raw(ArchiveWriter& archive, int entry, const Bytes& data,
                        uint32_t pixel_offset = 0, uint32_t pixel_byte_count = 0);
// The whole archive file.
Bytes mkf_writer_image(const ArchiveWriter& archive);
// Writes the archive file to `path`; false on an I/O error.
bool mkf_writer_save(const ArchiveWriter& archive, const std::string& path);

// A picture drawn by the builder: RGB555 pixels (or 8-bit palette indices for
// an "SPR" set), rows top to bottom.
struct FrameImage {
    uint16_t width = 0;
    uint16_t height = 0;
    int16_t hot_x = 0;
    int16_t hot_y = 0;
    std::vector<uint16_t> pixels; // "SMP": width x height RGB555 pixels
    std::vector<uint8_t> indices; // "SPR": width x height palette indices
};

// A frame set entry with its pixel fields, ready for mkf_writer_add.
struct FrameSetBytes {
    Bytes data;
    uint32_t pixel_offset = 0;
    uint32_t pixel_byte_count = 0;
};
// "SMP": 16-bit frames; every frame's pixels are converted on reading.
FrameSetBytes frameset_smp(const std::vector<FrameImage>& frames);
// "SPR": 8-bit frames with a 256-colour RGB555 palette (the palette alone is
// converted on reading).
FrameSetBytes frameset_spr(const std::vector<uint16_t>& palette,
                           const std::vector<FrameImage>& frames);
// Adds a frame set as an entry.
void mkf_writer_add_frameset(ArchiveWriter& archive, int entry, const FrameSetBytes& set);

// RGB555 pixel of 8-bit channels (upper 5 bits kept).
constexpr uint16_t rgb555(int r, int g, int b) {
    return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}
