#include "engine/message.h"

#include "engine/shown.h"

// The message panels are not built yet: they return at once while nothing is shown.
void msg_show(const char* text, uint32_t ms) {
    shown_record(Shown::Message, 0, ms, text);
}
int msg_ask_yes_no(const char* text) {
    shown_record(Shown::Question, 0, 0, text);
    return 0;
}
