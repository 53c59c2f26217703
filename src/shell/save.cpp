#include "shell/save.h"

// Save games are not built yet: nothing is ever loaded.
int save_load_screen(int) {
    return -1;
}
void save_write_slot(int) {}
void save_save_screen() {}
