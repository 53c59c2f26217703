// Any byte string as a packed entry: the decoder must stop inside both blocks,
// and a stream that decodes must decode the same into a block of exactly its
// size and fail in a block one byte smaller.
#include "engine/lzh.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {
constexpr uint32_t kLargest = 4u << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    std::vector<uint8_t> in(data, data + size);
    // Kept from run to run: clearing megabytes each time would slow the search.
    static std::vector<uint8_t> out(kLargest);
    int64_t n = lzh_decode(out.data(), kLargest, in.data(), static_cast<uint32_t>(in.size()));
    if (n < 0) return 0;
    if (n > kLargest) std::abort();
    // Exact-size blocks, so that the sanitizer sees any byte beyond them.
    std::unique_ptr<uint8_t[]> exact(new uint8_t[n ? n : 1]);
    if (lzh_decode(exact.get(), static_cast<uint32_t>(n), in.data(),
                   static_cast<uint32_t>(in.size())) != n)
        std::abort();
    if (n && std::memcmp(exact.get(), out.data(), static_cast<size_t>(n)) != 0) std::abort();
    if (n > 0) {
        std::unique_ptr<uint8_t[]> shorter(new uint8_t[n - 1 ? n - 1 : 1]);
        if (lzh_decode(shorter.get(), static_cast<uint32_t>(n - 1), in.data(),
                       static_cast<uint32_t>(in.size())) != -1)
            std::abort();
    }
    return 0;
}
