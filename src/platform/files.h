// File look-up for the game's data files.
//
// Names come from the game in its own spelling ("MAPDAT.MKF", "A:\\KARV08.MID").
// Look-up ignores case, accepts '\\' as a separator, and maps the drive prefix
// "A:\\" to the data directory (KARVO_DATA in the environment, else the data
// set the build wrote).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The directory that stands in for the "A:\\" drive root.
const std::string& plat_data_dir();
// Overrides the data directory (tests, and a player pointing at other data).
void plat_set_data_dir(const std::string& dir);

// Resolves a game file name to an existing path, or "" when there is none.
// A name with the "A:\\" prefix is looked up in the data directory only;
// any other name relative to the working directory only.
std::string plat_find_file(const char* name);

// Opens a game file for reading ("rb") after look-up; nullptr when absent or
// not a regular file (a FIFO or a device would block or never end).
// Writing modes create the file under the name as given (case kept), and
// open only a regular file, never waiting on a FIFO.
std::FILE* plat_fopen(const char* name, const char* mode);

// What became of opening a game file for reading.
struct PlatOpenResult {
    bool found = false; // a file of that name exists where it is looked up
    std::string path;   // where it was found
    // Why it could not be opened, "" when it was: "not found", "the
    // directory D cannot be read: REASON" (not found, as the search was
    // stopped), "not a regular file" or "unreadable: REASON".
    std::string problem;
};
// Looks a game file up without opening it: found and its path, or the
// reason it was not found.
PlatOpenResult plat_locate(const char* name);
// Opens a game file for reading in binary, regular files only (checked on
// the open file, without waiting on a FIFO); nullptr with the reason in
// `result` otherwise.
std::FILE* plat_open_regular(const char* name, PlatOpenResult* result);

// Opens a path as given (no look-up) for reading, regular files only, without
// waiting on a FIFO: the descriptor, or -1 with the reason ("not found",
// "not a regular file", "unreadable: REASON").
int plat_open_regular_fd(const std::string& path, std::string* problem);
// Reads a whole regular file of at most max_bytes; false with the reason
// (as above, or "larger than N MiB").
bool plat_read_regular_file(const std::string& path, size_t max_bytes, std::string* bytes,
                            std::string* problem);
// Why a path is no regular file to open ("" when it is one), without
// opening it: for files a library opens by name itself.
std::string plat_regular_file_problem(const std::string& path);

// Where a name is looked up, for messages: "the data directory (DIR)" for a
// name with the drive prefix, else "the working directory (DIR)".
std::string plat_search_place(const char* name);
// The directory of a found path, for messages ("." made absolute).
std::string plat_path_dir(const std::string& path);

// The message for a game file that could not be opened under its own name
// (own) nor, when fallback_name is not null, under the drive prefix
// (fallback): "NAME in DIR is PROBLEM" for a file that is there, else
// "cannot open NAME: not found in PLACE nor in PLACE" (or why a place could
// not be searched).
std::string plat_open_failure(const char* name, const PlatOpenResult& own,
                              const char* fallback_name, const PlatOpenResult& fallback);
