// Any byte string as a save file: the check must stay inside the bytes and
// say why it refuses; an accepted file, loaded and saved again, gives its own
// bytes back except the pointer fields and the snapshots' padding (which the
// writer always writes as 0), and loading and saving that output once more
// gives the same bytes again.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cards/time_machine.h"
#include "platform/clock.h"
#include "shell/save.h"

namespace {

// Bytes whose value means nothing in a file: each seat's and each stock's
// name handle, in the game and in every snapshot, a snapshot's padding and
// its map pointer.
std::vector<bool> free_bytes(const uint8_t* image, size_t size) {
    std::vector<bool> free(size, false);
    auto mark = [&](size_t at, size_t n) {
        for (size_t i = 0; i < n && at + i < size; ++i)
            free[at + i] = true;
    };
    auto records = [&](size_t players, size_t stocks) {
        for (size_t p = 0; p < 4; ++p)
            mark(players + 104 * p, 4);
        for (size_t st = 0; st < 12; ++st)
            mark(stocks + 36 * st, 4);
    };
    records(SAVE_PLAYERS, SAVE_STOCKS);
    const size_t s = image[SAVE_MAP_SIZE] | image[SAVE_MAP_SIZE + 1] << 8 |
                     image[SAVE_MAP_SIZE + 2] << 16 |
                     static_cast<size_t>(image[SAVE_MAP_SIZE + 3]) << 24;
    for (size_t at = SAVE_MAP_BLOCK + s; at + SAVE_SNAPSHOT_SIZE <= size;
         at += SAVE_SNAPSHOT_SIZE + s) {
        records(at + SNAP_PLAYERS, at + SNAP_STOCKS);
        mark(at + 1766, 2);
        mark(at + 10001, 3);
        mark(at + SNAP_MAP_POINTER, 4);
    }
    return free;
}

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "save_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool clock_ready = (plat_clock_reset(true), true);
    (void)clock_ready;
    std::string error;
    if (!save_image_check(data, size, &error)) {
        if (error.empty()) broken("refused without a reason");
        return 0;
    }
    if (!save_image_commit(data, size, plat_tick_count(), &error)) broken("checked but refused");
    const std::vector<uint8_t> out = save_image_encode();
    if (out.size() != size) broken("saved again at another size");
    const std::vector<bool> free = free_bytes(data, size);
    for (size_t i = 0; i < size; ++i)
        if (!free[i] && out[i] != data[i]) {
            std::fprintf(stderr, "save_fuzz: byte %zu was %u, saved as %u\n", i, data[i], out[i]);
            broken("saved again with other bytes");
        }
    if (!save_image_commit(out.data(), out.size(), plat_tick_count(), &error))
        broken("its own output refused");
    if (save_image_encode() != out) broken("saved a third time with other bytes");
    return 0;
}
