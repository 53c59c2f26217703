// Computer item and dice decisions.
#pragma once

// Sets how many dice the computer player whose turn it is throws.
void ai_choose_dice();
