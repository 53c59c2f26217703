#include "finance/magic_house.h"

// The magic house is not built yet: it returns at once.
void magic_visit() {}
