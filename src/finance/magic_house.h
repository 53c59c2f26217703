// The magic house.
#pragma once

// Landing on the magic house, for the current mover.
void magic_visit();
