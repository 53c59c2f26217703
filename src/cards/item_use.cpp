#include "cards/item_use.h"

// The item effects are not built yet: they return at once.
void item_construction_vehicle_arrive(int, int) {}
