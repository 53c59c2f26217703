// The map data archive: the four stand-in city maps as entries 0 to 3.
#include <stdexcept>
#include <string>

#include "board/map.h"
#include "builder.h"
#include "maps_layout.h"

static void build_maps(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "MAPDAT.MKF");
    for (int m = 0; m < STANDIN_MAP_COUNT; ++m) {
        std::vector<uint8_t> block = standin_map_pack(standin_map_build(m));
        // The game checks every block it loads; a map that would be refused
        // there must not leave the builder.
        std::string error;
        if (!map_validate(block.data(), block.size(), &error))
            throw std::runtime_error("stand-in map " + std::to_string(m) + ": " + error);
        mkf_writer_add(a, m, block);
    }
}
KARVO_DATA_GENERATOR(build_maps);
