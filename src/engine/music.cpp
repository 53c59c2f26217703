#include "engine/music.h"

#include <cstdio>
#include <cstdlib>

#include "engine/data_report.h"
#include "engine/film.h"
#include "engine/mkf.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/surfaces.h"

uint8_t music_day_countdown = 0;
uint8_t music_cd_mode = 0;
uint8_t music_background = 0;
uint8_t music_current = 0;
int32_t music_stack_depth = 0;
uint8_t music_stack_ids[MUSIC_STACK_LEVELS] = {};
uint32_t music_stack_positions[MUSIC_STACK_LEVELS] = {};
uint8_t music_midi_on = 0;
uint8_t music_cd_on = 0;
uint32_t music_cd_aux_device = 0xFFFF;
uint32_t music_saved_midi_volume = 0;
uint32_t music_saved_aux_volume = 0;
uint32_t music_midi_volumes[5] = {};
uint32_t music_cd_volumes[5] = {};
uint8_t& music_level = settings.music_level;

const char* const music_midi_names[MUSIC_BACKGROUND_COUNT + MUSIC_EVENT_TUNE_COUNT] = {
    "KARV08.MID", "KARV16.MID",   "KARV17.MID",   "KARV18.MID", "KARV19.MID",
    "KARV20.MID", "KARV21.MID",   "KARV22.MID",   "MIDI01.MID", "MIDI02.MID",
    "MIDI03.MID", "MIDI04.MID",   "MIDI05.MID",   "MIDI06.MID", "MIDI07.MID",
    "MIDI08.MID", "MIDI09.MID",   "MIDI10.MID",   "MIDI11.MID", "MIDI12.MID",
    "MIDI13.MID", "MIDI14-1.MID", "MIDI14-2.MID", "MIDI15.MID", "MIDI16.MID",
};

namespace {

// Music plays only with a display; rule tests and the runner have none.
bool display_open() {
    return back_surface != nullptr;
}

int level() {
    return music_level > 4 ? 4 : music_level;
}

bool device_playing(const char* command) {
    char reply[32];
    return mci_send(command, reply, sizeof reply) == 0 &&
           std::string_view(reply) == std::string_view("playing");
}

long status_number(const char* command) {
    char reply[32];
    if (mci_send(command, reply, sizeof reply) != 0) return -1;
    return std::strtol(reply, nullptr, 10);
}

// Opens a MIDI file as "mid": in the working directory, then under the prefix.
// A piece that cannot be used is told once; the music stays quiet.
bool open_midi(const char* name) {
    char command[96];
    std::snprintf(command, sizeof command, "open sequencer!%s alias mid", name);
    if (mci_send(command) == 0) return true;
    const PlatOpenResult own = mci_last_open_result();
    char prefixed[64];
    std::snprintf(prefixed, sizeof prefixed, "%s%s", mkf_fallback_prefix, name);
    std::snprintf(command, sizeof command, "open sequencer!%s alias mid", prefixed);
    if (mci_send(command) == 0) return true;
    data_report(name, plat_open_failure(name, own, prefixed, mci_last_open_result()) +
                          "; that music is not heard");
    return false;
}

void play_midi_from(uint32_t position) {
    char command[48];
    std::snprintf(command, sizeof command, "play mid from %u notify", position);
    if (mci_send(command) == 0) music_midi_on = 1;
}

// Each 16-bit channel of a volume scaled by num / den on its own: scaling the
// 32-bit value as one number lets the left channel's bits spill into the right.
uint32_t scale_channels(uint32_t volume, uint32_t num, uint32_t den) {
    uint32_t left = (volume & 0xFFFF) * num / den;
    uint32_t right = (volume >> 16) * num / den;
    return (right << 16) | left;
}

} // namespace

void music_reset() {
    music_day_countdown = 0;
    music_cd_mode = 0;
    music_background = 0;
    music_current = 0;
    music_stack_depth = 0;
    for (int i = 0; i < MUSIC_STACK_LEVELS; ++i) {
        music_stack_ids[i] = 0;
        music_stack_positions[i] = 0;
    }
    music_midi_on = 0;
    music_cd_on = 0;
    music_cd_aux_device = 0xFFFF;
    music_saved_midi_volume = 0;
    music_saved_aux_volume = 0;
    for (int i = 0; i < 5; ++i)
        music_midi_volumes[i] = music_cd_volumes[i] = 0;
    music_level = 4;
}

void music_init() {
    music_cd_mode = 0;
    char command[48];
    std::snprintf(command, sizeof command, "open cdaudio!%c: alias cdtrack wait",
                  mkf_fallback_prefix[0]);
    if (mci_send(command) == 0) {
        mci_send("set cdtrack time format tmsf");
        if (status_number("status cdtrack number of tracks") == 9) music_cd_mode = 1;
    }
    if (music_cd_mode) {
        music_cd_aux_device = plat_aux_cd_device();
        if (music_cd_aux_device != 0xFFFF) {
            uint32_t v = music_saved_aux_volume = plat_aux_volume(music_cd_aux_device);
            static const uint32_t tenths[5] = {0, 2, 5, 7, 10};
            bool separate = plat_aux_separate_channels(music_cd_aux_device);
            for (int i = 0; i < 5; ++i)
                music_cd_volumes[i] =
                    separate ? scale_channels(v, tenths[i], 10) : v / 10 * tenths[i];
            music_cd_volumes[4] = v;
        }
    } else {
        music_cd_aux_device = 0xFFFF;
    }
    uint32_t v = music_saved_midi_volume = plat_midi_out_volume();
    static const uint32_t midi_tenths[5] = {0, 6, 8, 9, 10};
    for (int i = 0; i < 5; ++i)
        music_midi_volumes[i] = scale_channels(v, midi_tenths[i], 10);
    music_apply_level();
    // The title's tune follows the opening film: its synthesizer is made
    // while the film plays rather than after it.
    if (level() != 0) mci_prepare_sequencer();
}

void music_shutdown() {
    if (music_cd_mode) {
        mci_send("stop cdtrack wait");
        mci_send("close cdtrack wait");
    } else {
        mci_send("close mid wait");
    }
    plat_midi_out_set_volume(music_saved_midi_volume);
    if (music_cd_mode && music_cd_aux_device != 0xFFFF)
        plat_aux_set_volume(music_cd_aux_device, music_saved_aux_volume);
    music_midi_on = 0;
    music_cd_on = 0;
}

void music_apply_level() {
    plat_midi_out_set_volume(music_midi_volumes[level()]);
    if (music_cd_mode && music_cd_aux_device != 0xFFFF)
        plat_aux_set_volume(music_cd_aux_device, music_cd_volumes[level()]);
}

int music_play_event(int n) {
    shown_record(Shown::Music, n);
    if (!display_open() || avi_playing) return 0;
    int tune = n & 0x7FFF;
    // The name table has 17 event tunes; anything beyond names no tune.
    if (tune >= MUSIC_EVENT_TUNE_COUNT) return 0;
    int pushed = 0;
    if (level() != 0) {
        if ((music_current & MUSIC_BACKGROUND_BIT) && !(n & MUSIC_NO_SAVE)) {
            music_push();
            pushed = 1;
        }
        music_close_midi();
        if (!open_midi(music_midi_names[MUSIC_BACKGROUND_COUNT + tune])) {
            music_current = static_cast<uint8_t>(n & 0xFF);
            return pushed;
        }
        play_midi_from(0);
    }
    music_current = static_cast<uint8_t>(n & 0xFF);
    return pushed;
}

void music_close_midi() {
    mci_send("close mid wait");
    music_midi_on = 0;
    music_current = 0;
}

void music_stop_cd() {
    if (device_playing("status cdtrack mode")) mci_send("stop cdtrack wait");
    music_cd_on = 0;
}

void music_push() {
    if (music_cd_mode) {
        if (mci_send("stop cdtrack") == 0) music_cd_on = 0;
        return;
    }
    // A ninth level would lie outside the stack: the request is dropped.
    if (music_stack_depth >= MUSIC_STACK_LEVELS) return;
    int d = music_stack_depth;
    if (music_midi_playing()) {
        long pos = status_number("status mid position");
        music_stack_ids[d] = music_current;
        music_stack_positions[d] = pos > 0 ? static_cast<uint32_t>(pos) : 0;
    } else {
        music_background = static_cast<uint8_t>((music_background + 1) % MUSIC_BACKGROUND_COUNT);
        music_stack_ids[d] = static_cast<uint8_t>(music_background | MUSIC_BACKGROUND_BIT);
        music_stack_positions[d] = 0;
    }
    music_stack_depth = d + 1;
}

void music_resume() {
    if (!display_open() || avi_playing || level() == 0) return;
    if (!music_cd_mode && music_stack_depth <= 0) return; // nothing saved: nothing to resume
    music_close_midi();
    if (music_cd_mode) {
        if (mci_send("play cdtrack notify") == 0) {
            music_cd_on = 1;
            long t = status_number("status cdtrack current track");
            music_current = static_cast<uint8_t>(((t - 2) & 0x07) | MUSIC_BACKGROUND_BIT);
        } else {
            music_current = MUSIC_BACKGROUND_BIT;
        }
        return;
    }
    int d = --music_stack_depth;
    uint8_t id = music_stack_ids[d];
    uint32_t position = music_stack_positions[d];
    // A saved event tune is reopened as that tune: its file follows the eight
    // backgrounds in the name table.
    int index = (id & MUSIC_BACKGROUND_BIT) ? (id & 0x07) : MUSIC_BACKGROUND_COUNT + id;
    if (index < MUSIC_BACKGROUND_COUNT + MUSIC_EVENT_TUNE_COUNT &&
        open_midi(music_midi_names[index])) {
        char command[48];
        std::snprintf(command, sizeof command, "play mid from %u notify", position);
        if (mci_send(command) == 0) music_midi_on = 1;
    }
    music_current = id;
}

void music_on_notify() {
    if (music_cd_mode) {
        if (music_current & MUSIC_BACKGROUND_BIT) {
            if (mci_send("play cdtrack from 2 notify") == 0) music_cd_on = 1;
        } else {
            mci_send("play mid from 0 notify");
        }
        return;
    }
    if (music_current & MUSIC_BACKGROUND_BIT)
        music_next_background(0);
    else
        mci_send("play mid from 0 notify");
}

void music_next_background(int n) {
    if (n > 0)
        music_background = static_cast<uint8_t>((n - 1) % MUSIC_BACKGROUND_COUNT);
    else
        music_background = static_cast<uint8_t>((music_background + 1) % MUSIC_BACKGROUND_COUNT);
    shown_record(Shown::Music, music_background | MUSIC_BACKGROUND_BIT);
    if (display_open() && level() != 0) {
        if (music_cd_mode) {
            if (music_cd_playing()) mci_send("stop cdtrack wait");
            char command[40];
            std::snprintf(command, sizeof command, "play cdtrack from %d notify",
                          music_background + 2);
            if (mci_send(command) == 0) music_cd_on = 1;
        } else {
            music_close_midi();
            if (open_midi(music_midi_names[music_background])) play_midi_from(0);
        }
    }
    music_current = static_cast<uint8_t>(music_background | MUSIC_BACKGROUND_BIT);
}

void music_stop() {
    if (music_cd_mode)
        music_stop_cd();
    else
        music_close_midi();
    music_stack_depth = 0;
}

void music_turn_off() {
    const uint8_t asked = music_current;
    if (asked & MUSIC_BACKGROUND_BIT)
        music_stop();
    else
        music_close_midi();
    music_current = asked;
}

void music_turn_on() {
    if (music_current & MUSIC_BACKGROUND_BIT)
        music_next_background((music_current & 0x07) + 1);
    else
        music_play_event(music_current);
}

int music_midi_playing() {
    return music_midi_on && device_playing("status mid mode") ? 1 : 0;
}

int music_cd_playing() {
    return device_playing("status cdtrack mode") ? 1 : 0;
}

int music_track_number() {
    if (level() == 0 || !(music_current & MUSIC_BACKGROUND_BIT)) return 0;
    if (music_cd_mode) {
        long t = status_number("status cdtrack current track");
        return t >= 2 ? static_cast<int>(t - 1) : 0;
    }
    return music_background + 1;
}
