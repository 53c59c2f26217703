#include "engine/speech.h"

#include "engine/shown.h"

// The speech bubble and reaction lines are not built yet: they return at once while nothing is
// shown.
void speech_bubble(int player, int, const char* text) {
    shown_record(Shown::Speech, player, 0, text);
}
const char* speech_line(int, int) {
    return "";
}
void speech_react_percent(int, int32_t) {}
void speech_react_count(int, int32_t) {}
void speech_react_gain(int, int32_t) {}
void speech_react_pay(int, int32_t) {}
void speech_react_spared(int, int32_t) {}
int speech_react_rival_pays(int, int, int32_t) {
    return 0;
}
void speech_react_lot_group(const char*, int) {}
