// Facility and company fees: the property branch of a landing on a facility
// plot or a company building. Buying a facility plot and building or raising
// its facility; the hotel, shopping and petrol fees; the fees of the company
// kinds that charge one; a chairman's own privileges (insurance days, free
// construction); the hotel stay and the trip; then the offer of the
// company's own shares (finance/stock_offer.h).
#pragma once

#include <cstdint>

// Landing of the current player on facility plot index (one-based) from square.
void fee_land_facility(int square, int facility);
// Landing of the current player on company building index (one-based) from square.
void fee_land_company(int square, int company);

// Fee names by facility kind (nullptr for the kinds that charge nothing).
const char* fee_facility_name(int kind);
// Fee names by company kind (nullptr for the kinds that charge nothing).
const char* fee_company_name(int kind);

// A day counter that held `held` (an end mark holds no day) with days added,
// at most 127 days.
uint8_t fee_add_days(uint8_t held, int days);

// The vehicle factor of a travel byte: 0 walking, 1 motorbike, 2 car, 4
// construction vehicle.
int fee_vehicle_factor(uint8_t travel);
