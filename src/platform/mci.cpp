#include "platform/mci.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/media.h"
#include "platform/messages.h"
#include "platform/midi.h"
#include "platform/queue.h"

namespace {

enum class Kind { Cd, Midi, Film };
enum class Mode { Stopped, Playing, Paused };

struct Device {
    Kind kind;
    uint32_t id = 0;
    Mode mode = Mode::Stopped;
    uint32_t start_tick = 0; // clock when the play started
    uint32_t start_pos = 0;  // position the play started from
    uint32_t held_pos = 0;   // position while not playing
    uint32_t end_pos = 0;    // where the play stops
    bool notify = false;
    std::unique_ptr<MidiSong> song;
    PlatVideo* film = nullptr;
    bool film_ran_out = false;
};

std::map<std::string, Device> g_devices;
PlatOpenResult g_open_result; // of the last file a device was opened on
std::vector<std::string> g_log;
uint32_t g_next_id = 1;
int g_disc_tracks = -1;
uint32_t g_track_ms = 60000;
uint32_t g_midi_volume = 0xFFFFFFFFu;
bool g_aux_present = false;
bool g_aux_separate = false;
uint32_t g_aux_volume = 0;
std::mutex g_mix_mutex; // which song the renderer plays, against the mixer's thread
const MidiSong* g_rendering = nullptr;
// The audio device's stream that carries the pieces and the film sound, and
// the device's session it belongs to.
PlatStream g_stream = nullptr;
uint32_t g_stream_session = 0;
// The synthesizer being made ahead of the first piece; a program that ends
// without closing its devices still waits for it.
struct Preparing {
    std::thread thread;
    ~Preparing() { wait(); }
    void wait() {
        if (thread.joinable()) thread.join();
    }
} g_preparing;

// Pieces are heard only with the real clock: the virtual one passes time unheard.
bool pieces_heard() {
    return plat_audio_open() && !plat_clock_is_virtual();
}

void stream_fill(void*, int16_t* out, uint32_t frames) {
    if (out) {
        mci_mix(out, frames);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(g_mix_mutex);
        if (g_rendering) plat_media().midi_render_skip(frames);
    }
    plat_media().video_sound_skip(frames);
}

// Makes the stream when the device is open and has none of ours: a new
// set-up (after a film, say) released the one before.
void ensure_stream() {
    if (!plat_audio_open()) {
        g_stream = nullptr;
        return;
    }
    if (g_stream && g_stream_session == plat_audio_session()) return;
    g_stream = plat_stream_create(stream_fill, nullptr);
    g_stream_session = plat_audio_session();
    plat_stream_play(g_stream);
}

void release_stream() {
    if (g_stream && plat_audio_open() && g_stream_session == plat_audio_session())
        plat_stream_release(g_stream);
    g_stream = nullptr;
}

// A film brings its sound to the device even while the game's sound is shut
// down for it.
void open_audio_for_film() {
    if (plat_audio_open()) return;
    if (!(plat_audio_create() && plat_audio_set_exclusive() && plat_audio_create_primary() &&
          plat_audio_set_format()))
        plat_audio_close();
}

uint32_t position(const Device& d) {
    if (d.mode != Mode::Playing) return d.held_pos;
    uint32_t pos = d.start_pos + (plat_tick_count() - d.start_tick);
    return std::min(pos, d.end_pos);
}

uint32_t length(const Device& d) {
    switch (d.kind) {
    case Kind::Cd:
        return static_cast<uint32_t>(g_disc_tracks) * g_track_ms;
    case Kind::Midi:
        return d.song ? d.song->length_ms : 0;
    case Kind::Film:
        // A film that does not tell its length plays until it runs out.
        return plat_media().video_length_ms(d.film) ? plat_media().video_length_ms(d.film)
                                                    : 0x7FFFFFFFu;
    }
    return 0;
}

void render_song(const MidiSong* song, uint32_t from) {
    std::lock_guard<std::mutex> lock(g_mix_mutex);
    g_rendering = song;
    if (song)
        plat_media().midi_render_start(song, from);
    else
        plat_media().midi_render_stop();
}

// Stops a device where it is; its pending notification is dropped.
void halt(Device& d) {
    d.held_pos = position(d);
    d.mode = Mode::Stopped;
    d.notify = false;
    if (d.kind == Kind::Midi && g_rendering == d.song.get()) render_song(nullptr, 0);
    if (d.kind == Kind::Film) plat_media().video_sound_clear();
}

void close_device(std::map<std::string, Device>::iterator it) {
    halt(it->second);
    plat_media().video_close(it->second.film);
    g_devices.erase(it);
}

void post_end(Device& d) {
    bool notify = d.notify;
    halt(d);
    d.held_pos = d.end_pos;
    if (notify) plat_post_message(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<int32_t>(d.id));
}

void reply_text(char* reply, uint32_t size, const std::string& text) {
    if (!reply || size == 0) return;
    size_t n = std::min<size_t>(text.size(), size - 1);
    std::memcpy(reply, text.data(), n);
    reply[n] = '\0';
}

bool parse_number(const std::string& s, long* out) {
    if (s.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0') return false;
    *out = v;
    return true;
}

uint32_t open_command(const std::vector<std::string>& t) {
    // open TYPE!NAME alias A [wait]
    if (t.size() < 4 || t.size() > 5 || t[2] != "alias" || (t.size() == 5 && t[4] != "wait"))
        return MCI_ERR_UNRECOGNIZED;
    size_t bang = t[1].find('!');
    if (bang == std::string::npos) return MCI_ERR_UNRECOGNIZED;
    std::string type = t[1].substr(0, bang), name = t[1].substr(bang + 1);
    if (g_devices.count(t[3])) return MCI_ERR_IN_USE;
    g_open_result = PlatOpenResult{};
    Device d{};
    if (type == "cdaudio") {
        d.kind = Kind::Cd;
        if (g_disc_tracks < 0) return MCI_ERR_NOT_READY;
    } else if (type == "sequencer") {
        d.kind = Kind::Midi;
        g_open_result = plat_locate(name.c_str());
        if (!g_open_result.found) return MCI_ERR_FILE;
        d.song = midi_load(g_open_result.path, &g_open_result.problem);
        if (!d.song) return MCI_ERR_FILE;
        g_preparing.wait();
        if (pieces_heard()) plat_media().midi_render_prepare();
    } else if (type == "avivideo") {
        d.kind = Kind::Film;
        g_open_result = plat_locate(name.c_str());
        if (!g_open_result.found) return MCI_ERR_FILE;
        d.film = plat_media().video_open(g_open_result.path, &g_open_result.problem);
        if (!d.film) return MCI_ERR_FILE;
    } else {
        return MCI_ERR_UNRECOGNIZED;
    }
    d.id = g_next_id++;
    g_devices.emplace(t[3], std::move(d));
    return 0;
}

uint32_t play_command(Device& d, const std::vector<std::string>& t) {
    // play A [window] [from N] [notify] [wait]
    size_t i = 2;
    if (i < t.size() && t[i] == "window") {
        if (d.kind != Kind::Film) return MCI_ERR_UNRECOGNIZED;
        ++i;
    }
    bool from = false;
    long from_value = 0;
    if (i < t.size() && t[i] == "from") {
        if (i + 1 >= t.size() || !parse_number(t[i + 1], &from_value)) return MCI_ERR_UNRECOGNIZED;
        from = true;
        i += 2;
    }
    bool notify = false;
    if (i < t.size() && t[i] == "notify") notify = true, ++i;
    if (i < t.size() && t[i] == "wait") ++i;
    if (i != t.size()) return MCI_ERR_UNRECOGNIZED;

    uint32_t total = length(d);
    uint32_t start = d.held_pos;
    if (from) {
        if (d.kind == Kind::Cd) {
            // Time format tmsf: the track number in the low byte.
            long track = from_value & 0xFF;
            if (track < 1 || track > g_disc_tracks) return MCI_ERR_OUT_OF_RANGE;
            start = static_cast<uint32_t>(track - 1) * g_track_ms;
        } else if (d.kind == Kind::Film) {
            if (from_value != 0) return MCI_ERR_OUT_OF_RANGE; // films only play from the start
            start = 0;
        } else {
            if (from_value < 0 || static_cast<uint32_t>(from_value) > total)
                return MCI_ERR_OUT_OF_RANGE;
            start = static_cast<uint32_t>(from_value);
        }
    } else if (start >= total) {
        start = 0; // played to its end: a plain play starts again
    }
    d.mode = Mode::Playing;
    d.start_pos = start;
    d.held_pos = start;
    d.start_tick = plat_tick_count();
    d.end_pos = total;
    d.notify = notify;
    if (d.kind == Kind::Midi) render_song(d.song.get(), start);
    if (d.kind == Kind::Film) {
        if (plat_media().video_frames_shown(d.film) > 0 || d.film_ran_out)
            plat_media().video_rewind(d.film);
        d.film_ran_out = false;
        if (plat_media().video_has_sound(d.film)) open_audio_for_film();
        plat_media().video_advance(d.film, 0);
    }
    ensure_stream();
    return 0;
}

uint32_t status_command(Device& d, const std::vector<std::string>& t, char* reply, uint32_t size) {
    std::string what;
    for (size_t i = 2; i < t.size(); ++i)
        what += (i > 2 ? " " : "") + t[i];
    if (what == "mode") {
        static const char* names[] = {"stopped", "playing", "paused"};
        reply_text(reply, size, names[static_cast<int>(d.mode)]);
        return 0;
    }
    if (what == "position" && d.kind == Kind::Midi) {
        reply_text(reply, size, std::to_string(position(d)));
        return 0;
    }
    if (what == "number of tracks" && d.kind == Kind::Cd) {
        reply_text(reply, size, std::to_string(g_disc_tracks));
        return 0;
    }
    if (what == "current track" && d.kind == Kind::Cd) {
        uint32_t track = position(d) / g_track_ms + 1;
        reply_text(reply, size,
                   std::to_string(std::min<uint32_t>(track, static_cast<uint32_t>(g_disc_tracks))));
        return 0;
    }
    return MCI_ERR_UNRECOGNIZED;
}

uint32_t run(const std::vector<std::string>& t, char* reply, uint32_t size) {
    if (t.size() < 2) return MCI_ERR_UNRECOGNIZED;
    if (t[0] == "open") return open_command(t);
    auto it = g_devices.find(t[1]);
    const std::string& verb = t[0];
    bool known = verb == "close" || verb == "stop" || verb == "play" || verb == "pause" ||
                 verb == "resume" || verb == "status" || verb == "set" || verb == "window" ||
                 verb == "put";
    if (!known) return MCI_ERR_UNRECOGNIZED;
    if (it == g_devices.end()) return MCI_ERR_NO_DEVICE;
    Device& d = it->second;
    bool waits = t.size() == 3 && t[2] == "wait";
    if (verb == "close" || verb == "stop") {
        if (t.size() != 2 && !waits) return MCI_ERR_UNRECOGNIZED;
        if (verb == "close")
            close_device(it);
        else
            halt(d);
        return 0;
    }
    if (verb == "play") return play_command(d, t);
    if (verb == "pause" || verb == "resume") {
        if (t.size() != 2 || d.kind == Kind::Cd) return MCI_ERR_UNRECOGNIZED;
        if (verb == "pause" && d.mode == Mode::Playing) {
            bool notify = d.notify;
            halt(d);
            d.notify = notify; // the end is still to be told after resuming
            d.mode = Mode::Paused;
        } else if (verb == "resume" && d.mode == Mode::Paused) {
            d.mode = Mode::Playing;
            d.start_pos = d.held_pos;
            d.start_tick = plat_tick_count();
            if (d.kind == Kind::Midi) render_song(d.song.get(), d.held_pos);
        }
        return 0;
    }
    if (verb == "status") return status_command(d, t, reply, size);
    if (verb == "set") {
        bool ok = d.kind == Kind::Cd && t.size() == 5 && t[2] == "time" && t[3] == "format" &&
                  t[4] == "tmsf";
        return ok ? 0 : MCI_ERR_UNRECOGNIZED;
    }
    long n[4] = {};
    if (verb == "window") {
        bool ok =
            d.kind == Kind::Film && t.size() == 4 && t[2] == "handle" && parse_number(t[3], &n[0]);
        return ok ? 0 : MCI_ERR_UNRECOGNIZED; // there is only the one window
    }
    // put A destination at L T W H
    if (d.kind != Kind::Film || t.size() != 8 || t[2] != "destination" || t[3] != "at")
        return MCI_ERR_UNRECOGNIZED;
    for (int i = 0; i < 4; ++i)
        if (!parse_number(t[4 + static_cast<size_t>(i)], &n[i])) return MCI_ERR_UNRECOGNIZED;
    if (n[2] < 0 || n[3] < 0 || n[2] > 4096 || n[3] > 4096) return MCI_ERR_OUT_OF_RANGE;
    PlatRect r;
    r.left = static_cast<int32_t>(n[0]);
    r.top = static_cast<int32_t>(n[1]);
    r.right = static_cast<int32_t>(n[0] + n[2]);
    r.bottom = static_cast<int32_t>(n[1] + n[3]);
    plat_media().video_set_destination(d.film, r);
    return 0;
}

} // namespace

uint32_t mci_send(const char* command, char* reply, uint32_t reply_size) {
    reply_text(reply, reply_size, "");
    if (!command) return MCI_ERR_UNRECOGNIZED;
    g_log.emplace_back(command);
    std::vector<std::string> tokens;
    std::istringstream in(command);
    std::string word;
    while (in >> word)
        tokens.push_back(word);
    return run(tokens, reply, reply_size);
}

uint32_t mci_device_id(const char* alias) {
    if (!alias) return 0;
    const auto it = g_devices.find(alias);
    return it == g_devices.end() ? 0 : it->second.id;
}

void mci_prepare_sequencer() {
    if (g_preparing.thread.joinable() || !pieces_heard()) return;
    g_preparing.thread = std::thread([] { plat_media().midi_render_prepare(); });
}

void mci_close_all() {
    g_preparing.wait();
    while (!g_devices.empty())
        close_device(g_devices.begin());
    render_song(nullptr, 0);
    release_stream();
}

void mci_reset() {
    mci_close_all();
    g_log.clear();
    g_next_id = 1;
    g_disc_tracks = -1;
    g_track_ms = 60000;
    plat_midi_out_set_volume(0xFFFFFFFFu);
    g_aux_present = false;
    g_aux_separate = false;
    g_aux_volume = 0;
}

const PlatOpenResult& mci_last_open_result() {
    return g_open_result;
}

const std::vector<std::string>& mci_log() {
    return g_log;
}
void mci_log_clear() {
    g_log.clear();
}

void mci_poll() {
    for (auto& [alias, d] : g_devices) {
        if (d.mode != Mode::Playing) continue;
        ensure_stream();
        if (d.kind == Kind::Film) {
            if (!d.film_ran_out && !plat_media().video_advance(d.film, position(d))) {
                // Cut short or damaged: the film ends after the last frame it had.
                d.film_ran_out = true;
                d.end_pos = std::min(d.end_pos, plat_media().video_next_due_ms(d.film));
            }
        }
        // The mixer takes the sound up to now before a piece or film that
        // ends drops what it still holds: with the virtual clock nothing
        // else moves it on while only a film or a piece plays.
        plat_audio_sync();
        if (position(d) >= d.end_pos) post_end(d);
    }
}

bool mci_next_deadline(uint32_t* when) {
    bool any = false;
    uint32_t now = plat_tick_count();
    for (auto& [alias, d] : g_devices) {
        if (d.mode != Mode::Playing) continue;
        uint32_t pos = position(d);
        uint32_t next = d.end_pos;
        if (d.kind == Kind::Film && !d.film_ran_out)
            next = std::min(next, std::max(pos, plat_media().video_next_due_ms(d.film)));
        uint32_t at = now + (next > pos ? next - pos : 0);
        if (!any || static_cast<int32_t>(at - *when) < 0) *when = at;
        any = true;
    }
    return any;
}

void mci_mix(int16_t* out, size_t frames) {
    {
        std::lock_guard<std::mutex> lock(g_mix_mutex);
        if (g_rendering) plat_media().midi_render_mix(out, frames);
    }
    plat_media().video_sound_mix(out, frames);
}

void mci_test_set_disc(int tracks, uint32_t track_ms) {
    g_disc_tracks = tracks;
    g_track_ms = track_ms ? track_ms : 1;
}

uint32_t plat_midi_out_volume() {
    return g_midi_volume;
}
void plat_midi_out_set_volume(uint32_t volume) {
    g_midi_volume = volume;
    plat_media().midi_render_set_volume(static_cast<uint16_t>(volume & 0xFFFF),
                                        static_cast<uint16_t>(volume >> 16));
}

uint32_t plat_aux_cd_device() {
    return g_aux_present ? 0 : 0xFFFF;
}
bool plat_aux_separate_channels(uint32_t device) {
    return device == plat_aux_cd_device() && g_aux_separate;
}
uint32_t plat_aux_volume(uint32_t device) {
    return device == plat_aux_cd_device() ? g_aux_volume : 0;
}
void plat_aux_set_volume(uint32_t device, uint32_t volume) {
    if (device == plat_aux_cd_device()) g_aux_volume = volume;
}
void mci_test_set_aux(bool present, bool separate_channels, uint32_t volume) {
    g_aux_present = present;
    g_aux_separate = separate_channels;
    g_aux_volume = volume;
}
