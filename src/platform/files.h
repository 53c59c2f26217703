// File look-up for the game's data files.
//
// Names come from the game in its own spelling ("MAPDAT.MKF", "A:\\KARV08.MID").
// Look-up ignores case, accepts '\\' as a separator, and maps the drive prefix
// "A:\\" to the data directory (KARVO_DATA in the environment, else the data
// set the build wrote).
#pragma once

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

// Opens a game file for reading ("rb") after look-up; nullptr when absent.
// Writing modes create the file under the name as given (case kept).
std::FILE* plat_fopen(const char* name, const char* mode);
