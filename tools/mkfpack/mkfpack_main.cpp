// mkfpack IN OUT: writes the packed stream of file IN to OUT.
#include "mkfpack.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkfpack IN OUT\n");
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
        std::fprintf(stderr, "mkfpack: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0)
        data.insert(data.end(), buf, buf + n);
    std::fclose(in);
    std::vector<uint8_t> packed = mkfpack_compress(data.data(), data.size());
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(packed.data(), 1, packed.size(), out) != packed.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "mkfpack: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%zu -> %zu bytes\n", data.size(), packed.size());
    return 0;
}
