// The land auction.
#pragma once

// Auctions a plot or facility; seller a player or -1. 1 when it was sold.
int auction_run(int seller, int object, int music);
