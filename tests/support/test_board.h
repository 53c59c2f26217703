// A small board for rule tests: a map block with the given numbers of
// records, all zero, loaded through the map module's own reader, so tests
// set owners, levels and prices straight in the map tables.
#pragma once

#include <cstdint>
#include <vector>

struct TestBoardSize {
    int squares = 8;
    int lots = 6;
    int facilities = 2;
    int companies = 3;
    int decorations = 2;
};

// The map block itself: its header and the given numbers of all-zero records.
std::vector<uint8_t> test_board_block(const TestBoardSize& size);
// Replaces the current map with the block, each square an empty square at a
// place of its own; false when the map module refuses the block.
bool test_board_load(const TestBoardSize& size = TestBoardSize{});
