// Putting a player into or taking it out of a board state: disappearing and
// coming back, entering a facility and stepping back out, losing the vehicle
// to a blast, ending a jail or hospital stay. Each keeps the player record,
// its square's occupancy marks and its sprites consistent.
//
// Also the state half of setting up a mover's sprites: which sprite family a
// mover needs, its indoor flag, and stopping a mover that a blast hit.
// Loading the pictures is left to the sprite loader (board/sprites.h), so the
// rules run the same with and without graphics.
#pragma once

#include <cstdint>

struct PlayerRecord;
// The player is in a building: a hotel, away, in jail or in hospital.
bool player_in_building(const PlayerRecord& r);
void player_send_away(int p, int days, int kind);
void player_return(int p);
void player_enter_building(int p, int square, int facility);
void player_face_square(int p);
void player_lose_vehicle(int p);
void player_clear_jail_hospital(int p);

// Sets up mover m (0..8) for its state: picks the sprite families, the
// indoor flag, the travel sound, and stops a player put out of the game.
void actor_update_sprites(int m);
// Frees the walking (odd 0) or the other (odd 1) family of mover m.
void actor_free_sprites(int m, int odd);
// Shows player p behind bars (jail 1) or in a hospital bed (jail 0).
void actor_set_overlay(int p, int jail);
// Frees every mover's sprites.
void actor_reset_all();
