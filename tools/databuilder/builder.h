// The stand-in data builder: generators fill archives, the builder writes them.
//
// Each generator lives in its own source file of this folder and registers
// itself with one line at file scope:
//
//     static void build_maps(DataBuilder& b) { ArchiveWriter& a = builder_archive(b, "MAPDAT.MKF");
//     ... } KARVO_DATA_GENERATOR(build_maps);
//
// Generators run in the order of their names; several may add to one archive.
#pragma once

#include "mkf_writer.h"

#include <map>
#include <string>

struct DataBuilder {
    std::string out_dir;                           // where the archives go
    std::map<std::string, ArchiveWriter> archives; // by file name
};

// The archive of that file name, created empty on first use.
ArchiveWriter& builder_archive(DataBuilder& b, const std::string& file_name);

using DataGenerator = void (*)(DataBuilder&);
// Registers a generator; returns true (for the registration macro).
bool builder_register(const char* name, DataGenerator generator);

// Writes a small archive of frame sets (SEED_DIR/mkf) and its packed
// streams (SEED_DIR/lzh), and the stand-in map blocks (SEED_DIR/map), as
// fuzzing seeds.
void builder_write_seed_samples(const std::string& seed_dir);

#define KARVO_DATA_GENERATOR(fn)                                                                   \
    [[maybe_unused]] static const bool karvo_generator_registered_##fn = builder_register(#fn, fn)
