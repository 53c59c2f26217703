// Facility and company fees: the property branch of a landing on a facility
// plot or a company building.
#pragma once

// Landing of the current player on facility plot index (one-based) from square.
void fee_land_facility(int square, int facility);
// Landing of the current player on company building index (one-based) from square.
void fee_land_company(int square, int company);
