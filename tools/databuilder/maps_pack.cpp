// Packing a stand-in map into its block, and its names into GBK.
#include <iconv.h>

#include <cstring>
#include <stdexcept>

#include "board/map_block.h"
#include "maps_layout.h"

std::string standin_gbk(const std::string& utf8, size_t field) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("stand-in map: no UTF-8 to GBK conversion");
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* ip = in.data();
    size_t il = in.size();
    char* op = out.data();
    size_t ol = out.size();
    size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || il != 0)
        throw std::runtime_error("stand-in map: text not convertible to GBK: " + utf8);
    out.resize(out.size() - ol);
    if (out.size() + 1 > field)
        throw std::runtime_error("stand-in map: name too long for its field: " + utf8);
    return out;
}

std::vector<uint8_t> standin_map_pack(const StandinMap& m) {
    return map_block_make(m.squares, m.lots, m.facilities, m.companies, m.decorations);
}
