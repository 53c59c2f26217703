#include "shell/help.h"

// The intro is not built yet: it returns at once while nothing is shown.
void intro_run() {}
// The help viewer is not built yet either.
void help_show(int, int) {}
