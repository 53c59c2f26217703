#include "board/fees.h"

// The facility and company fees are not built yet: they return at once.
void fee_land_facility(int, int) {}
void fee_land_company(int, int) {}
