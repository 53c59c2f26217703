#include "shell/save.h"

// The slot lists are drawn here.
int save_load_screen(int) {
    return -1;
}
void save_save_screen() {}
void save_draw_slots() {}
