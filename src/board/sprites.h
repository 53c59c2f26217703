// Loading and freeing the movers' sprite sets. Which families a mover needs
// is decided by the game state (board/status.h); this module only reads the
// pictures for the families named in the mover's ActorAnim flags.
#pragma once

// Loads the sprite sets named by mover m's family bits into its empty slots.
void sprites_load(int m);
// Loads player p's jail (1) or hospital (0) overlay set.
void sprites_load_overlay(int p, int jail);
// Frees the even (odd 0) or odd (odd 1) group of mover m's sets.
void sprites_release(int m, int odd);
