// Numbered-entry archives (.MKF files).
//
// An archive starts with the file offset of its index; the index (one u32 per
// entry, up to the end of the file) gives the offset of each entry's 16-byte
// header, which is followed by the entry's data, packed or stored as is.
// Reading an entry unpacks it, converts its stored pixels to the display's
// format and links it when it is a frame set ("SPR"/"SMP", see image.h).
#pragma once

#include <cstdint>
#include <string>

inline constexpr int MKF_SLOT_COUNT = 16;
// Longest file name accepted, with the fallback prefix in front (the path
// buffer holds 40 bytes with its terminating zero).
inline constexpr int MKF_PATH_MAX = 40;

struct MkfEntryHeader {
    uint32_t unpacked_size;    // bytes of the data after unpacking
    uint32_t packed_size;      // bytes after this header; equal sizes mean stored as is
    uint32_t pixel_offset;     // where the stored 16-bit pixels begin in the unpacked data
    uint32_t pixel_byte_count; // bytes of pixels to convert; 0 = none
};
static_assert(sizeof(MkfEntryHeader) == 16);

// Slots of the two archives that stay open for the whole run (-1 = not open).
extern int data_archive;   // data.mkf
extern int speech_archive; // speaking.mkf

// Second place to look for archives, films and music ("A:\\" = the data directory).
extern char mkf_fallback_prefix[4];

// Opens an archive: slot 0..15, or -1 when it is found nowhere, is not a
// well-formed archive, the name is too long or all 16 slots are in use.
int mkf_open(const char* file_name);

// Why the last mkf_open failed, as a message naming the file and where it
// was looked for or found ("" after a success), and whether a file of that
// name exists at all (then it is damaged or not a regular file).
const char* mkf_last_open_error();
bool mkf_last_open_found();

// Reads entry `entry` of an open archive into `dest` (at least the unpacked
// size) or, when dest is 0, into a new block the caller frees with free().
// `size`, when not 0, receives the unpacked size. Returns the data, or 0 when
// the slot is not open, the entry does not exist or is damaged (nothing is
// written through `size` then). A block allocated here is freed on failure.
void* mkf_read(int slot, int entry, void* dest, uint32_t* size);

// The archive an open slot holds, as "NAME in DIR" ("" for a slot not open).
const char* mkf_slot_name(int slot);

// Why the last mkf_read or mkf_read_header failed, naming the entry and the
// check ("entry 7 runs past the end of the file (cut short?)"); "" after a success.
const char* mkf_last_read_error();

// Opens an archive and checks that its index is whole and that every entry
// lies inside the file, then closes it; false with what is wrong (as
// mkf_last_open_error, or "NAME in DIR is damaged: ...") in `problem`.
// mkf_last_open_found() then tells whether the file is there at all.
bool mkf_check_archive(const char* file_name, std::string* problem);

// Closes an archive; a free or invalid slot is left alone. Returns 0.
int mkf_close(int slot);

// Number of entries of an open archive, or -1 when the slot is not open.
int mkf_entry_count(int slot);

// Reads only the header of an entry: 1 when it exists and lies inside the file.
int mkf_read_header(int slot, int entry, MkfEntryHeader* header);

// Closes every archive and restores the start state (tests call it in SetUp).
void mkf_reset();
