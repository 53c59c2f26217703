// Where the player's own files live, how they are written, and today's date.
//
// The settings file goes to the configuration directory and the save games
// to the save directory:
//   configuration: $KARVO_HOME, else $XDG_CONFIG_HOME/karvo, else ~/.config/karvo
//   saves:         $KARVO_HOME, else $XDG_DATA_HOME/karvo,   else ~/.local/share/karvo
// Without HOME (and the XDG variable), the working directory. A directory is
// made (mode 0700) at the first write into it; when it cannot be made the
// file goes to the working directory instead, where reading then finds it.
// Names are found without regard to case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::string plat_config_dir();
std::string plat_save_dir();

// The path of `name` in `dir` for reading: an existing entry whose name
// matches without regard to case; when `dir` is not a directory (never
// made), the same look-up in the working directory. "" when there is none.
std::string plat_find_user_file(const std::string& dir, const char* name);

// Reads a whole regular file of at most `max_size` bytes. False with the
// reason (naming the path) in `error` for a missing, non-regular, unreadable
// or larger file.
bool plat_read_user_file(const std::string& path, size_t max_size, std::vector<uint8_t>* data,
                         std::string* error);

// Writes `size` bytes as `name` in `dir` (an existing file of that name in
// another case is replaced): a temporary file beside the target, every write
// and the fsync checked, then renamed over it. On any failure the old file
// stays byte for byte, the temporary is removed, and false comes back with
// the reason in `error`. The directory is made first when missing; when it
// cannot be made the working directory is used.
bool plat_write_file_atomic(const std::string& dir, const char* name, const void* data, size_t size,
                            std::string* error);

// Today's local date; KARVO_TODAY=YYYY-MM-DD in the environment overrides
// the clock (a value that is not a real date is ignored).
struct PlatDate {
    int year;
    int month; // 1..12
    int day;   // 1..31
};
PlatDate plat_local_date();
