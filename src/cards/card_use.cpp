#include "cards/card_use.h"

// The card effects are not built yet: they return at once, doing nothing.
int card_resolve_victim(int victim) {
    return victim;
}
int card_scapegoat(int, int, int32_t) {
    return -1;
}
int card_free_pass(int, int, int32_t) {
    return 0;
}
void card_use() {}
