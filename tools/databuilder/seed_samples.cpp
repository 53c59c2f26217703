// A small archive of frame sets and pixel entries and the stand-in map
// blocks, written only as fuzzing seeds (they are not part of the data set).
#include "builder.h"

#include <cstdio>
#include <filesystem>

#include "maps_layout.h"

void builder_write_seed_samples(const std::string& seed_dir) {
    ArchiveWriter a;
    a.name = "samples.mkf";
    std::vector<FrameImage> frames(3);
    for (size_t n = 0; n < frames.size(); ++n) {
        FrameImage& f = frames[n];
        f.width = static_cast<uint16_t>(4 + n);
        f.height = static_cast<uint16_t>(3 + n);
        f.hot_x = static_cast<int16_t>(n);
        for (int i = 0; i < f.width * f.height; ++i) {
            f.pixels.push_back(rgb555(i * 16, 255 - i * 8, static_cast<int>(n) * 80));
            f.indices.push_back(static_cast<uint8_t>(i % 7));
        }
    }
    std::vector<uint16_t> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[static_cast<size_t>(i)] = rgb555(i, 255 - i, i / 2);
    mkf_writer_add_frameset(a, 0, frameset_smp(frames));
    mkf_writer_add_frameset(a, 1, frameset_spr(palette, frames));
    FrameSetBytes raw_set = frameset_smp(frames);
    mkf_writer_add_raw(a, 2, raw_set.data, raw_set.pixel_offset, raw_set.pixel_byte_count);
    Bytes pixels;
    for (int i = 0; i < 300; ++i) {
        uint16_t p = rgb555(i, i / 2, 200);
        pixels.push_back(static_cast<uint8_t>(p));
        pixels.push_back(static_cast<uint8_t>(p >> 8));
    }
    mkf_writer_add(a, 4, pixels, 2, 200);
    mkf_writer_save(a, seed_dir + "/mkf/samples.mkf");
    // The stand-in maps' blocks seed the map-block target.
    std::filesystem::create_directories(seed_dir + "/map");
    for (int m = 0; m < STANDIN_MAP_COUNT; ++m) {
        const Bytes block = standin_map_pack(standin_map_build(m));
        const std::string path = seed_dir + "/map/standin" + std::to_string(m) + ".block";
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(block.data(), 1, block.size(), f);
            std::fclose(f);
        }
    }
    for (size_t n = 0; n < a.entries.size(); ++n) {
        const WriterEntry& e = a.entries[n];
        if (!e.present || e.data.size() == e.unpacked_size) continue;
        std::string path = seed_dir + "/lzh/samples.mkf." + std::to_string(n);
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(e.data.data(), 1, e.data.size(), f);
            std::fclose(f);
        }
    }
}
