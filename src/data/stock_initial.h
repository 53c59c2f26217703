// The twelve listed companies each map starts with.
#pragma once

#include <array>

#include "finance/stock_types.h"

// stock_initial_table[map][row]. The name field holds the handle
// map x 12 + row into stock_company_names.
extern const std::array<std::array<StockRecord, STOCK_COUNT>, STOCK_MAP_COUNT> stock_initial_table;
// Company names of all four maps, indexed by the name handle.
extern const std::array<const char*, STOCK_COUNT * STOCK_MAP_COUNT> stock_company_names;
