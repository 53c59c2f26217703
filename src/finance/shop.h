// The points shop.
#pragma once

#include <cstdint>

// A visit from the landing rules with the object code the square serves.
void shop_visit(uint16_t object);
