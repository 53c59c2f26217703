// Item effects.
#pragma once

// The construction vehicle's arrival check on the square player p reached.
void item_construction_vehicle_arrive(int p, int square);
// The toolbar's item command and the computer's item try.
void item_use();
// Takes the remote-dice face set for this turn (0 none).
int item_remote_dice_take();
// Item speech line row (0..25) of a character.
const char* item_speech_line(int character, int row);
