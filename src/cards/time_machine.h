// The time machine: one snapshot of the whole game per seat, taken when a
// human begins a move and restored by the time machine item.
#pragma once

#include <cstdint>

// Clears every seat's snapshot and gives each a zeroed map copy of
// map_size bytes (a new map was loaded).
void snapshot_prepare_slots(uint32_t map_size);
// Clears every snapshot and frees the map copies.
void snapshot_free_slots();
// Takes the current mover's snapshot when it is a human seat.
void snapshot_take();
// Restores the current player's snapshot: 1 done, 0 when the slot is not valid.
int snapshot_restore();
