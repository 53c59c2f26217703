#include "board/choice.h"

// The choice dialogs are not built yet: they return at once while nothing is shown.
int choose_facility_kind(int) {
    return 0;
}
int choose_player(int, const int*, const char*) {
    return -1;
}
void choose_research_item(int) {}
