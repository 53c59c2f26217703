#include "mkf_writer.h"

#include "mkfpack.h"

#include <cstdio>
#include <stdexcept>

namespace {

void put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

WriterEntry& slot_for(ArchiveWriter& archive, int entry) {
    if (entry < 0) throw std::invalid_argument("negative entry number");
    if (archive.entries.size() <= static_cast<size_t>(entry))
        archive.entries.resize(static_cast<size_t>(entry) + 1);
    WriterEntry& e = archive.entries[static_cast<size_t>(entry)];
    if (e.present)
        throw std::invalid_argument(archive.name + ": entry " + std::to_string(entry) +
                                    " written twice");
    return e;
}

void check_pixels(const Bytes& data, uint32_t pixel_offset, uint32_t pixel_byte_count) {
    if (pixel_byte_count != 0 &&
        static_cast<uint64_t>(pixel_offset) + pixel_byte_count > data.size())
        throw std::invalid_argument("pixel fields beyond the entry's data");
}

} // namespace

void mkf_writer_add(ArchiveWriter& archive, int entry, const Bytes& data, uint32_t pixel_offset,
                    uint32_t pixel_byte_count) {
    check_pixels(data, pixel_offset, pixel_byte_count);
    Bytes packed = mkfpack_compress(data.data(), data.size());
    // Equal sizes would read as stored, so a pack must be strictly smaller.
    if (packed.size() >= data.size()) {
        mkf_writer_add_raw(archive, entry, data, pixel_offset, pixel_byte_count);
        return;
    }
    WriterEntry& e = slot_for(archive, entry);
    e.present = true;
    e.unpacked_size = static_cast<uint32_t>(data.size());
    e.pixel_offset = pixel_offset;
    e.pixel_byte_count = pixel_byte_count;
    e.data = std::move(packed);
    e.plain = data;
}

void mkf_writer_add_raw(ArchiveWriter& archive, int entry, const Bytes& data, uint32_t pixel_offset,
                        uint32_t pixel_byte_count) {
    check_pixels(data, pixel_offset, pixel_byte_count);
    WriterEntry& e = slot_for(archive, entry);
    e.present = true;
    e.unpacked_size = static_cast<uint32_t>(data.size());
    e.pixel_offset = pixel_offset;
    e.pixel_byte_count = pixel_byte_count;
    e.data = data;
    e.plain = data;
}

Bytes mkf_writer_image(const ArchiveWriter& archive) {
    Bytes file;
    put32(file, 0); // index offset, filled in below
    std::vector<uint32_t> offsets;
    for (const WriterEntry& e : archive.entries) {
        offsets.push_back(static_cast<uint32_t>(file.size()));
        put32(file, e.unpacked_size);
        put32(file, static_cast<uint32_t>(e.data.size()));
        put32(file, e.pixel_offset);
        put32(file, e.pixel_byte_count);
        file.insert(file.end(), e.data.begin(), e.data.end());
    }
    uint32_t index_offset = static_cast<uint32_t>(file.size());
    for (uint32_t o : offsets)
        put32(file, o);
    for (int i = 0; i < 4; ++i)
        file[static_cast<size_t>(i)] = static_cast<uint8_t>(index_offset >> (8 * i));
    return file;
}

bool mkf_writer_save(const ArchiveWriter& archive, const std::string& path) {
    Bytes file = mkf_writer_image(archive);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

namespace {

Bytes frameset_header(const char* magic, const std::vector<FrameImage>& frames,
                      uint32_t& data_offset) {
    Bytes b(magic, magic + 4);
    put32(b, static_cast<uint32_t>(frames.size()));
    data_offset = static_cast<uint32_t>(12 + 12 * frames.size());
    put32(b, data_offset);
    return b;
}

// One stored frame record: size, hot spot, and the frame's byte size.
void put_frame_record(Bytes& b, const FrameImage& f, uint32_t byte_size) {
    put16(b, f.width);
    put16(b, f.height);
    put16(b, static_cast<uint16_t>(f.hot_x));
    put16(b, static_cast<uint16_t>(f.hot_y));
    put32(b, byte_size);
}

} // namespace

FrameSetBytes frameset_smp(const std::vector<FrameImage>& frames) {
    FrameSetBytes set;
    uint32_t data_offset = 0;
    set.data = frameset_header("SMP", frames, data_offset);
    for (const FrameImage& f : frames) {
        if (f.pixels.size() != static_cast<size_t>(f.width) * f.height)
            throw std::invalid_argument("SMP frame pixel count differs from its size");
        put_frame_record(set.data, f, static_cast<uint32_t>(f.pixels.size() * 2));
    }
    for (const FrameImage& f : frames)
        for (uint16_t p : f.pixels)
            put16(set.data, p);
    set.pixel_offset = data_offset;
    set.pixel_byte_count = static_cast<uint32_t>(set.data.size()) - data_offset;
    return set;
}

FrameSetBytes frameset_spr(const std::vector<uint16_t>& palette,
                           const std::vector<FrameImage>& frames) {
    if (palette.size() != 256) throw std::invalid_argument("SPR palette must hold 256 colours");
    FrameSetBytes set;
    uint32_t data_offset = 0;
    set.data = frameset_header("SPR", frames, data_offset);
    for (const FrameImage& f : frames) {
        if (f.indices.size() != static_cast<size_t>(f.width) * f.height)
            throw std::invalid_argument("SPR frame index count differs from its size");
        put_frame_record(set.data, f, static_cast<uint32_t>(f.indices.size()));
    }
    for (uint16_t c : palette)
        put16(set.data, c);
    for (const FrameImage& f : frames)
        set.data.insert(set.data.end(), f.indices.begin(), f.indices.end());
    set.pixel_offset = data_offset;
    set.pixel_byte_count = 512;
    return set;
}

void mkf_writer_add_frameset(ArchiveWriter& archive, int entry, const FrameSetBytes& set) {
    mkf_writer_add(archive, entry, set.data, set.pixel_offset, set.pixel_byte_count);
}
