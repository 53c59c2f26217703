#include "finance/shop.h"

// The points shop is not built yet: it returns at once.
void shop_visit(uint16_t) {}
