// Item effects.
#pragma once

// The construction vehicle's arrival check on the square player p reached.
void item_construction_vehicle_arrive(int p, int square);
