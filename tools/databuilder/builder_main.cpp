// karvo_databuilder OUT_DIR [--seeds SEED_DIR]
//
// Runs every registered generator, writes each archive into OUT_DIR, and
// checks that every packed entry unpacks to the bytes that went in. With
// --seeds it also writes each packed stream and each archive as a fuzzing
// seed.
#include "builder.h"

#include "engine/lzh.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, DataGenerator>>& generators() {
    static std::vector<std::pair<std::string, DataGenerator>> list;
    return list;
}

bool write_file(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// The game's own decoder must give back exactly what was packed.
bool verify(const ArchiveWriter& a) {
    for (size_t n = 0; n < a.entries.size(); ++n) {
        const WriterEntry& e = a.entries[n];
        if (e.data.size() == e.unpacked_size) continue;
        Bytes out(e.unpacked_size);
        int64_t got = lzh_decode(out.data(), e.unpacked_size, e.data.data(),
                                 static_cast<uint32_t>(e.data.size()));
        if (got != static_cast<int64_t>(e.unpacked_size) || out != e.plain) {
            std::fprintf(stderr, "databuilder: %s entry %zu does not unpack to its data\n",
                         a.name.c_str(), n);
            return false;
        }
    }
    return true;
}

} // namespace

ArchiveWriter& builder_archive(DataBuilder& b, const std::string& file_name) {
    ArchiveWriter& a = b.archives[file_name];
    a.name = file_name;
    return a;
}

bool builder_register(const char* name, DataGenerator generator) {
    generators().emplace_back(name, generator);
    return true;
}

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--seeds")) {
        std::fprintf(stderr, "usage: karvo_databuilder OUT_DIR [--seeds SEED_DIR]\n");
        return 2;
    }
    DataBuilder b;
    b.out_dir = argv[1];
    std::string seeds = argc == 4 ? argv[3] : "";
    auto& list = generators();
    std::sort(list.begin(), list.end());
    try {
        for (auto& [name, generate] : list)
            generate(b);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "databuilder: %s\n", e.what());
        return 1;
    }
    for (auto& [file_name, archive] : b.archives) {
        if (!verify(archive)) return 1;
        std::string path = b.out_dir + "/" + file_name;
        if (!mkf_writer_save(archive, path)) {
            std::fprintf(stderr, "databuilder: cannot write %s\n", path.c_str());
            return 1;
        }
        if (seeds.empty()) continue;
        for (size_t n = 0; n < archive.entries.size(); ++n) {
            const WriterEntry& e = archive.entries[n];
            if (e.data.size() != e.unpacked_size)
                write_file(seeds + "/lzh/" + file_name + "." + std::to_string(n), e.data);
        }
        write_file(seeds + "/mkf/" + file_name, mkf_writer_image(archive));
    }
    if (!seeds.empty()) builder_write_seed_samples(seeds);
    if (!seeds.empty()) builder_write_flc_seeds(seeds);
    if (!seeds.empty()) builder_write_wave_seeds(seeds);
    return 0;
}
