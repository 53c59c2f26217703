#include "engine/music.h"

#include "engine/shown.h"

// The music player is not built yet: these return at once while nothing plays.
uint8_t music_day_countdown = 0;
uint8_t music_background = 0;
uint8_t music_midi_on = 0;
uint8_t music_cd_on = 0;

void music_init() {}
void music_shutdown() {}
void music_next_background(int) {}
void music_on_notify() {}
uint32_t mci_send(const char*) {
    return 0;
}

void music_stop() {}

int music_play_event(int n) {
    shown_record(Shown::Music, n);
    return 0;
}
void music_close_midi() {}
void music_resume() {}
