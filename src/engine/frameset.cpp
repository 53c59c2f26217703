// Linking of frame sets: where each frame's pixels begin.
//
// The stored frame records hold each frame's byte size in a 4-byte field,
// which cannot hold a pointer on a 64-bit build; the frames' records with
// their pixel pointers are kept here, beside the set, and the set's bytes stay
// as they were read.
#include "engine/image.h"
#include "engine/mkf.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

struct LinkedSet {
    bool is_spr = false;
    uint32_t data_offset = 0;
    std::vector<ImageRecord> frames;
};

std::mutex links_mutex;
std::unordered_map<const void*, LinkedSet> links;

// The frame records of the linked "SPR" sets, by where each set's records
// begin: any draw handed one of them reads 8-bit indices through the set's
// palette, never 16-bit pixels past the frame's bytes.
struct IndexedRecords {
    const ImageRecord* end;
    const uint16_t* palette;
};
std::map<const ImageRecord*, IndexedRecords> indexed_records;

void forget_indexed(const LinkedSet& linked) {
    if (linked.is_spr && !linked.frames.empty()) indexed_records.erase(linked.frames.data());
}

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace

int spr_link_frames(void* set, uint32_t size) {
    spr_unlink(set);
    if (!set || size < 4) return 0;
    uint8_t* base = static_cast<uint8_t*>(set);
    // The magic is a whole zero-terminated string: "SPR" with another fourth
    // byte is not a frame set.
    bool is_spr = std::memcmp(base, "SPR", 4) == 0;
    bool is_smp = std::memcmp(base, "SMP", 4) == 0;
    if (!is_spr && !is_smp) return 0;
    if (size < sizeof(FrameSet)) return -1;

    uint64_t count = le32(base + 4);
    uint64_t data_offset = le32(base + 8);
    uint64_t records_end = sizeof(FrameSet) + count * sizeof(StoredImageRecord);
    // The records, then (at an even offset past them) the palette and pixels.
    if (records_end > size || data_offset < records_end || data_offset > size || (data_offset & 1))
        return -1;
    uint64_t pos = data_offset + (is_spr ? SPR_PALETTE_BYTES : 0);
    if (pos > size) return -1;

    LinkedSet linked;
    linked.is_spr = is_spr;
    linked.data_offset = static_cast<uint32_t>(data_offset);
    linked.frames.resize(static_cast<size_t>(count));
    const uint64_t bytes_per_pixel = is_spr ? 1 : 2;
    for (uint64_t n = 0; n < count; ++n) {
        const uint8_t* rec = base + sizeof(FrameSet) + n * sizeof(StoredImageRecord);
        ImageRecord& f = linked.frames[static_cast<size_t>(n)];
        f.width = le16(rec);
        f.height = le16(rec + 2);
        f.hot_x = static_cast<int16_t>(le16(rec + 4));
        f.hot_y = static_cast<int16_t>(le16(rec + 6));
        uint64_t frame_size = le32(rec + 8);
        // A frame must hold its width x height pixels, inside the set; 16-bit
        // frames start on an even offset.
        if (pos + frame_size > size) return -1;
        if (frame_size < static_cast<uint64_t>(f.width) * f.height * bytes_per_pixel) return -1;
        if (!is_spr && (pos & 1)) return -1;
        f.pixels = reinterpret_cast<uint16_t*>(base + pos);
        pos += frame_size;
    }
    std::lock_guard<std::mutex> lock(links_mutex);
    const LinkedSet& kept = links[set] = std::move(linked);
    if (kept.is_spr && !kept.frames.empty())
        indexed_records[kept.frames.data()] = {
            kept.frames.data() + kept.frames.size(),
            reinterpret_cast<const uint16_t*>(base + kept.data_offset)};
    return 1;
}

const uint16_t* spr_record_palette(const ImageRecord* frame) {
    std::lock_guard<std::mutex> lock(links_mutex);
    if (!frame || indexed_records.empty()) return nullptr;
    auto it = indexed_records.upper_bound(frame);
    if (it == indexed_records.begin()) return nullptr;
    --it;
    return std::less<const ImageRecord*>{}(frame, it->second.end) ? it->second.palette : nullptr;
}

const ImageRecord* spr_frame(const void* set, int n) {
    std::lock_guard<std::mutex> lock(links_mutex);
    auto it = links.find(set);
    if (it == links.end() || n < 0 || static_cast<size_t>(n) >= it->second.frames.size())
        return nullptr;
    return &it->second.frames[static_cast<size_t>(n)];
}

int spr_frame_count(const void* set) {
    std::lock_guard<std::mutex> lock(links_mutex);
    auto it = links.find(set);
    return it == links.end() ? 0 : static_cast<int>(it->second.frames.size());
}

uint16_t* spr_palette(void* set) {
    std::lock_guard<std::mutex> lock(links_mutex);
    auto it = links.find(set);
    if (it == links.end() || !it->second.is_spr) return nullptr;
    return reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(set) + it->second.data_offset);
}

void spr_unlink(const void* set) {
    std::lock_guard<std::mutex> lock(links_mutex);
    auto it = links.find(set);
    if (it == links.end()) return;
    forget_indexed(it->second);
    links.erase(it);
}

void spr_reset() {
    std::lock_guard<std::mutex> lock(links_mutex);
    links.clear();
    indexed_records.clear();
}

void* spr_read_set_from(int slot, int entry) {
    // mkf_read links a frame set as it reads it; anything else is not one.
    void* set = slot >= 0 ? mkf_read(slot, entry, nullptr, nullptr) : nullptr;
    if (set != nullptr && spr_frame_count(set) == 0) {
        std::free(set);
        set = nullptr;
    }
    return set;
}

void* spr_read_set(const char* archive, int entry) {
    if (archive == nullptr) return spr_read_set_from(data_archive, entry);
    const int slot = mkf_open(archive);
    if (slot < 0) return nullptr;
    void* set = spr_read_set_from(slot, entry);
    mkf_close(slot);
    return set;
}

void spr_free_set(void*& set) {
    if (set == nullptr) return;
    spr_unlink(set);
    std::free(set);
    set = nullptr;
}
