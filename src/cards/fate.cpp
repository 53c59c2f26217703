#include "cards/fate.h"

// The fate deck is not built yet: it returns at once.
void fate_show() {}
