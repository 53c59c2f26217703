#include "shell/intro.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "board/game_state.h"
#include "data/characters.h"
#include "engine/data_report.h"
#include "engine/draw.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/music.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/surfaces.h"
#include "platform/queue.h"
#include "shell/app.h"

namespace {

constexpr int SOUND_BOARD = 0, SOUND_LANDING = 1;
constexpr const char* JUMP_ARCHIVE = "JUMP.MKF";
constexpr const char* WITHOUT_PICTURES = "the intro plays without its pictures";
constexpr const char* const FILMS[4] = {"FLYTW.AVI", "FLYCHINA.AVI", "FLYJP.AVI", "FLYUS.AVI"};

struct Anim {
    void* data = nullptr;
    uint32_t size = 0;
};

struct Seat {
    int character = -1;
    Anim jump_in;
    Anim closing;
};

struct Intro {
    void* pictures = nullptr;
    Anim opening;
    Seat seats[PLAYER_COUNT];
    int seat_count = 0;
    EffectListEntry effects[3] = {
        {INTRO_EFFECT_BOARD, nullptr}, {INTRO_EFFECT_LANDING, nullptr}, {-1, nullptr}};
};

Anim read_anim(int slot, int entry) {
    Anim a;
    a.data = mkf_read(slot, entry, nullptr, &a.size);
    if (!a.data) {
        a.size = 0;
        data_report_bad_entry(slot, JUMP_ARCHIVE, entry, "an animation", WITHOUT_PICTURES);
    }
    return a;
}

void free_anim(Anim& a) {
    std::free(a.data);
    a = Anim{};
}

// The players in seat order with a character the pictures can show.
void take_seats(Intro& in) {
    const int count = std::clamp(static_cast<int>(game_player_count), 0, PLAYER_COUNT);
    for (int k = 0; k < count; ++k) {
        const int c = player_table[k].character;
        if (c < 0 || c >= CHARACTER_COUNT) continue;
        in.seats[in.seat_count++].character = c;
    }
}

void read_data(Intro& in) {
    const int slot = mkf_open(JUMP_ARCHIVE);
    if (slot < 0) { // nothing to draw: the intro is the film and the music
        data_report_open_failure(JUMP_ARCHIVE, WITHOUT_PICTURES);
        return;
    }
    in.pictures = spr_read_set_from(slot, INTRO_PICTURES_ENTRY);
    if (!in.pictures)
        data_report_bad_entry(slot, JUMP_ARCHIVE, INTRO_PICTURES_ENTRY, "a picture set",
                              WITHOUT_PICTURES);
    in.opening = read_anim(slot, INTRO_OPENING_ENTRY);
    for (int i = 0; i < in.seat_count; ++i) {
        Seat& s = in.seats[i];
        s.jump_in = read_anim(slot, INTRO_JUMP_IN_FIRST + s.character);
        s.closing = read_anim(slot, INTRO_CLOSING_FIRST + s.character);
    }
    mkf_close(slot);
}

void free_data(Intro& in) {
    snd_effects_free(in.effects);
    spr_free_set(in.pictures);
    free_anim(in.opening);
    for (Seat& s : in.seats) {
        free_anim(s.jump_in);
        free_anim(s.closing);
    }
}

// Plays an animation to its end; true when it was skipped (or the window is
// closing, which ends the intro as well). Data that is no animation plays
// nothing.
bool play(const Anim& a, int x, int y, uint32_t flags, PlatRect* covered = nullptr) {
    FlcHeader h{};
    const bool anim = a.data && flc_read_header(a.data, a.size, &h);
    if (covered) *covered = anim ? PlatRect{x, y, x + h.width, y + h.height} : PlatRect{0, 0, 0, 0};
    const bool skipped = anim && flc_play(a.data, a.size, x, y, flags, -1) == 1;
    flc_stop();
    return skipped || plat_close_requested();
}

// A whole picture of the set into the back buffer and onto the display.
void show_picture(const Intro& in, int frame) {
    ImageRecord* back = popup_lock_back();
    if (const ImageRecord* f = popup_frame(in.pictures, frame)) popup_blit(back, f, 0, 0, false);
    popup_unlock_back();
    popup_update(screen_rect);
}

// The portrait area from the board picture, the player's portrait darkened in
// it and the portrait frame over both.
void draw_waiting_portrait(const Intro& in, int character) {
    const PlatRect& area = INTRO_PORTRAIT_AREA;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    if (const ImageRecord* board = popup_frame(in.pictures, INTRO_BOARD_FRAME))
        popup_blit_part(back, board, area.left, area.top, area.left + board->hot_x,
                        area.top + board->hot_y, area.right - area.left, area.bottom - area.top);
    if (const ImageRecord* face = popup_frame(in.pictures, INTRO_PORTRAIT_FIRST + character)) {
        if (ImageRecord* dark = image_copy_rect(face, nullptr, 0, 0, face->width, face->height)) {
            dark->hot_x = face->hot_x;
            dark->hot_y = face->hot_y;
            gfx_brightness_rect(dark, 0, 0, dark->width, dark->height, -INTRO_PORTRAIT_DARKEN);
            popup_blit(back, dark, INTRO_PORTRAIT_X, INTRO_PORTRAIT_Y, true);
            std::free(dark);
        }
    }
    if (const ImageRecord* frame = popup_frame(in.pictures, INTRO_PORTRAIT_FRAME))
        popup_blit(back, frame, INTRO_FRAME_X, INTRO_FRAME_Y, true);
    popup_unlock_back();
    popup_update(area);
}

// Steps 4 to 6 after the film; returns when they are over or one is skipped.
void board_and_players(Intro& in) {
    constexpr uint32_t OVER = FLC_OVER_BACKGROUND | FLC_SKIPPABLE;
    shown_record(Shown::Panel, INTRO_PICTURES_ENTRY, INTRO_BOARD_FRAME, "intro board");
    show_picture(in, INTRO_BOARD_FRAME);
    snd_effect_play(&in.effects[SOUND_BOARD], 0);
    shown_record(Shown::Panel, INTRO_OPENING_ENTRY, 0, "intro opening");
    if (play(in.opening, INTRO_OPENING_X, INTRO_OPENING_Y, OVER)) return;

    for (int i = 0; i < in.seat_count; ++i) {
        const Seat& s = in.seats[i];
        shown_record(Shown::Panel, INTRO_JUMP_IN_FIRST + s.character, i, "intro jump-in");
        draw_waiting_portrait(in, s.character);
        flc_set_sounds(in.effects, SOUND_LANDING);
        PlatRect covered;
        const bool skipped =
            play(s.jump_in, INTRO_PLAYER_FLC_X, INTRO_PLAYER_FLC_Y,
                 OVER | (uint32_t{INTRO_JUMP_SOUND_FRAME} << FLC_SOUND_SHIFT), &covered);
        flc_set_sounds(nullptr, 0);
        if (skipped) return;
        // The animation drew on the display only: its rows come back from
        // the back buffer.
        if (covered.bottom > covered.top)
            popup_update(PlatRect{0, covered.top, SCREEN_W, covered.bottom});
    }

    shown_record(Shown::Panel, INTRO_PICTURES_ENTRY, INTRO_FINAL_FRAME, "intro final");
    show_picture(in, INTRO_FINAL_FRAME);
    for (int i = 0; i < in.seat_count; ++i) {
        const Seat& s = in.seats[i];
        shown_record(Shown::Panel, INTRO_CLOSING_FIRST + s.character, i, "intro closing");
        if (play(s.closing, INTRO_PLAYER_FLC_X, INTRO_PLAYER_FLC_Y, OVER)) return;
        popup_update(INTRO_CLOSING_STRIP);
    }
}

} // namespace

const char* intro_film_name(int map) {
    return map >= 0 && map < 4 ? FILMS[map] : nullptr;
}

void intro_run() {
    const bool display = gfx_display_open();
    Intro in;
    if (display) {
        take_seats(in);
        read_data(in);
    }
    music_close_midi();
    const char* film = intro_film_name(game_map);
    const bool film_skipped = film && app_services.avi_play(film, &screen_rect, 1) == 1;
    if (display) snd_effects_load(in.effects);
    // The music starts before anything can be skipped past it.
    app_services.music_next_background(1);
    if (display && !film_skipped && !plat_close_requested()) board_and_players(in);
    free_data(in);
}
