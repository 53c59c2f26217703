#include "platform/clock.h"

#include <chrono>

uint32_t plat_tick_count() {
    static const auto start = std::chrono::steady_clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return static_cast<uint32_t>(ms.count());
}
