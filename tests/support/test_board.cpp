#include "support/test_board.h"

#include <cstdint>
#include <string>
#include <vector>

#include "board/map.h"
#include "engine/record_io.h"

std::vector<uint8_t> test_board_block(const TestBoardSize& size) {
    const int counts[5] = {size.squares, size.lots, size.facilities, size.companies,
                           size.decorations};
    const size_t record[5] = {MAP_SQUARE_SIZE, MAP_LOT_SIZE, MAP_FACILITY_SIZE, MAP_COMPANY_SIZE,
                              MAP_DECORATION_SIZE};
    size_t total = MAP_HEADER_SIZE;
    for (int t = 0; t < 5; ++t)
        total += (counts[t] + 1) * record[t];
    std::vector<uint8_t> block(total, 0);
    size_t at = MAP_HEADER_SIZE;
    for (int t = 0; t < 5; ++t) {
        le_put32(&block[8 * t], static_cast<uint32_t>(counts[t]));
        le_put32(&block[8 * t + 4], static_cast<uint32_t>(at));
        at += (counts[t] + 1) * record[t];
    }
    return block;
}

bool test_board_load(const TestBoardSize& size) {
    std::vector<uint8_t> block = test_board_block(size);
    // Every square an empty square at its own place, so that no two share one.
    const size_t squares = static_cast<size_t>(MAP_HEADER_SIZE);
    for (int i = 1; i <= size.squares; ++i) {
        const size_t r = squares + i * MAP_SQUARE_SIZE;
        block[r] = static_cast<uint8_t>(32 * i);
        block[r + 2] = static_cast<uint8_t>(16 * i);
        block[r + 36] = 1; // SQ_EMPTY
    }
    std::string error;
    return map_data_read(block.data(), block.size(), &error);
}
