#include "engine/mkf.h"

#include "engine/image.h"
#include "engine/lzh.h"
#include "platform/files.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

int data_archive = -1;
int speech_archive = -1;
char mkf_fallback_prefix[4] = "A:\\";

namespace {

struct MkfSlot {
    std::FILE* file = nullptr; // nullptr = slot free
    std::vector<uint32_t> index;
    uint64_t file_size = 0;
    std::string name; // "NAME in DIR", for messages
};

std::array<MkfSlot, MKF_SLOT_COUNT> mkf_slots;

// The most a packed stream can unpack to: a symbol takes at least one bit and
// a match of 67 bytes at least ten.
constexpr uint64_t MAX_EXPANSION_PER_BYTE = 54;

MkfSlot* open_slot(int slot) {
    if (slot < 0 || slot >= MKF_SLOT_COUNT) return nullptr;
    MkfSlot& s = mkf_slots[static_cast<size_t>(slot)];
    return s.file ? &s : nullptr;
}

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool read_at(std::FILE* f, uint64_t offset, void* dst, size_t n) {
    if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
    if (fseeko(f, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    return n == 0 || std::fread(dst, 1, n, f) == n;
}

std::string g_open_error;
bool g_open_found = false;
std::string g_read_error;

// Opens the archive file: under its own name (the working directory), else
// under the fallback prefix (the data directory). `where` receives the
// directory it was found in; on failure g_open_error says why.
std::FILE* open_file(const char* file_name, std::string* where) {
    PlatOpenResult own;
    if (std::FILE* f = plat_open_regular(file_name, &own)) {
        *where = plat_path_dir(own.path);
        return f;
    }
    char path[MKF_PATH_MAX];
    int n = std::snprintf(path, sizeof path, "%s%s", mkf_fallback_prefix, file_name);
    PlatOpenResult fallback;
    std::FILE* f = nullptr;
    const bool fits = n >= 0 && n < MKF_PATH_MAX; // else too long for the fallback path
    if (!own.found && fits) f = plat_open_regular(path, &fallback);
    if (f) {
        *where = plat_path_dir(fallback.path);
        return f;
    }
    g_open_found = own.found || fallback.found;
    g_open_error = plat_open_failure(file_name, own, fits ? path : nullptr, fallback);
    return nullptr;
}

// Loads the index of an archive; false, with what is wrong in `why`, when
// the file is not a sound archive.
bool load_index(MkfSlot& s, std::string* why) {
    if (fseeko(s.file, 0, SEEK_END) != 0) return false;
    off_t end = ftello(s.file);
    if (end < 0) return false;
    s.file_size = static_cast<uint64_t>(end);
    if (s.file_size == 0) {
        *why = "it is empty";
        return false;
    }
    uint8_t word[4];
    if (s.file_size < 4 || !read_at(s.file, 0, word, 4)) {
        *why = "its " + std::to_string(s.file_size) + " bytes are too few for an archive";
        return false;
    }
    uint32_t index_offset = le32(word);
    if (index_offset < 4 || index_offset > s.file_size) {
        *why = "its index offset " + std::to_string(index_offset) + " lies outside its " +
               std::to_string(s.file_size) + " bytes (cut short, or not an archive)";
        return false;
    }
    uint64_t words = (s.file_size - index_offset) / 4;
    std::vector<uint8_t> raw;
    try {
        raw.resize(static_cast<size_t>(words * 4));
        s.index.resize(static_cast<size_t>(words));
    } catch (const std::bad_alloc&) {
        *why = "its index of " + std::to_string(words) + " entries does not fit in memory";
        return false;
    }
    if (!read_at(s.file, index_offset, raw.data(), raw.size())) {
        *why = "its index cannot be read";
        return false;
    }
    for (size_t i = 0; i < s.index.size(); ++i)
        s.index[i] = le32(&raw[i * 4]);
    return true;
}

void free_slot(MkfSlot& s) {
    if (s.file) std::fclose(s.file);
    s.file = nullptr;
    s.index.clear();
    s.index.shrink_to_fit();
    s.file_size = 0;
    s.name.clear();
}

} // namespace

int mkf_open(const char* file_name) {
    g_open_error.clear();
    g_open_found = false;
    if (!file_name || !*file_name) {
        g_open_error = "cannot open an archive without a name";
        return -1;
    }
    int slot = -1;
    for (int i = 0; i < MKF_SLOT_COUNT; ++i)
        if (!mkf_slots[static_cast<size_t>(i)].file) {
            slot = i;
            break;
        }
    if (slot < 0) {
        g_open_error = std::string("cannot open ") + file_name + ": all " +
                       std::to_string(MKF_SLOT_COUNT) + " archive slots are in use";
        return -1;
    }
    std::string where;
    std::FILE* f = open_file(file_name, &where);
    if (!f) return -1;
    MkfSlot& s = mkf_slots[static_cast<size_t>(slot)];
    s.file = f;
    s.name = std::string(file_name) + " in " + where;
    std::string why = "it cannot be read";
    if (!load_index(s, &why)) {
        free_slot(s);
        g_open_found = true;
        g_open_error = std::string(file_name) + " in " + where + " is damaged: " + why;
        return -1;
    }
    return slot;
}

const char* mkf_last_open_error() {
    return g_open_error.c_str();
}
bool mkf_last_open_found() {
    return g_open_found;
}

int mkf_entry_count(int slot) {
    MkfSlot* s = open_slot(slot);
    return s ? static_cast<int>(s->index.size()) : -1;
}

int mkf_read_header(int slot, int entry, MkfEntryHeader* header) {
    g_read_error.clear();
    MkfSlot* s = open_slot(slot);
    auto refuse = [entry](const std::string& why) {
        g_read_error = "entry " + std::to_string(entry) + " " + why;
        return 0;
    };
    if (!s) return refuse("was asked of an archive that is not open");
    if (entry < 0 || static_cast<size_t>(entry) >= s->index.size())
        return refuse("does not exist (the archive has " + std::to_string(s->index.size()) +
                      " entries)");
    uint64_t offset = s->index[static_cast<size_t>(entry)];
    if (offset + sizeof(MkfEntryHeader) > s->file_size)
        return refuse("has its header past the end of the file (cut short?)");
    uint8_t raw[16];
    if (!read_at(s->file, offset, raw, sizeof raw)) return refuse("cannot be read");
    MkfEntryHeader h;
    h.unpacked_size = le32(raw);
    h.packed_size = le32(raw + 4);
    h.pixel_offset = le32(raw + 8);
    h.pixel_byte_count = le32(raw + 12);
    if (offset + sizeof(MkfEntryHeader) + h.packed_size > s->file_size)
        return refuse("runs past the end of the file (cut short?)");
    if (static_cast<uint64_t>(h.pixel_offset) + h.pixel_byte_count > h.unpacked_size &&
        h.pixel_byte_count != 0)
        return refuse("has its pixels outside its data");
    if (header) *header = h;
    return 1;
}

void* mkf_read(int slot, int entry, void* dest, uint32_t* size) {
    MkfEntryHeader h;
    if (!mkf_read_header(slot, entry, &h)) return nullptr;
    MkfSlot* s = open_slot(slot);
    auto refuse = [entry](const char* why) -> void* {
        g_read_error = "entry " + std::to_string(entry) + " " + why;
        return nullptr;
    };
    uint64_t data_offset =
        static_cast<uint64_t>(s->index[static_cast<size_t>(entry)]) + sizeof(MkfEntryHeader);
    bool packed = h.packed_size != h.unpacked_size;
    if (packed && static_cast<uint64_t>(h.unpacked_size) >
                      static_cast<uint64_t>(h.packed_size) * MAX_EXPANSION_PER_BYTE)
        return refuse("claims more unpacked bytes than its packed data can hold");

    uint8_t* block = static_cast<uint8_t*>(dest);
    bool own = block == nullptr;
    if (own) {
        // One byte more for an empty entry, so that its block is not 0.
        block = static_cast<uint8_t*>(std::malloc(h.unpacked_size ? h.unpacked_size : 1));
        if (!block) return refuse("does not fit in memory");
    }
    auto fail = [&](const char* why) -> void* {
        spr_unlink(block);
        if (own) std::free(block);
        return refuse(why);
    };

    if (!packed) {
        if (!read_at(s->file, data_offset, block, h.unpacked_size)) return fail("cannot be read");
    } else {
        uint8_t* packed_data =
            static_cast<uint8_t*>(std::malloc(h.packed_size ? h.packed_size : 1));
        if (!packed_data) return fail("does not fit in memory");
        if (!read_at(s->file, data_offset, packed_data, h.packed_size)) {
            std::free(packed_data);
            return fail("cannot be read");
        }
        // A stream must unpack to exactly the stated size.
        const bool ok =
            lzh_decode(block, h.unpacked_size, packed_data, h.packed_size) == h.unpacked_size;
        std::free(packed_data);
        if (!ok) return fail("does not unpack to its stated size");
    }
    if (h.pixel_byte_count != 0) gfx_convert_pixels(block + h.pixel_offset, h.pixel_byte_count);
    if (spr_link_frames(block, h.unpacked_size) < 0)
        return fail("is a frame set whose frames do not fit in it");
    if (size) *size = h.unpacked_size;
    return block;
}

const char* mkf_slot_name(int slot) {
    MkfSlot* s = open_slot(slot);
    return s ? s->name.c_str() : "";
}

const char* mkf_last_read_error() {
    return g_read_error.c_str();
}

bool mkf_check_archive(const char* file_name, std::string* problem) {
    const int slot = mkf_open(file_name);
    if (slot < 0) {
        *problem = mkf_last_open_error();
        return false;
    }
    const MkfSlot& s = mkf_slots[static_cast<size_t>(slot)];
    bool ok = true;
    uint8_t word[4];
    if (read_at(s.file, 0, word, 4) && (s.file_size - le32(word)) % 4 != 0) {
        *problem = s.name + " is damaged: its index ends inside an entry offset (cut short?)";
        ok = false;
    }
    for (size_t e = 0; ok && e < s.index.size(); ++e) {
        if (!mkf_read_header(slot, static_cast<int>(e), nullptr)) {
            *problem = s.name + " is damaged: " + mkf_last_read_error();
            ok = false;
        }
    }
    mkf_close(slot);
    g_open_found = true; // the file is there, whole or not
    return ok;
}

int mkf_close(int slot) {
    if (MkfSlot* s = open_slot(slot)) free_slot(*s);
    return 0;
}

void mkf_reset() {
    for (MkfSlot& s : mkf_slots)
        free_slot(s);
    data_archive = -1;
    speech_archive = -1;
    std::memcpy(mkf_fallback_prefix, "A:\\", 4);
}
