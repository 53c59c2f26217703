// The computer players' settings and their decision gate.
#pragma once

// Entry i of ai_choice, the targets the last computer decision chose.
int ai_choice_get(int i);
void ai_choice_set(int i, int value); // entry i := value (i = 0..3)
// Opens the panel that hands seats over to the computer.
void ai_panel_open();
