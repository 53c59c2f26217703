// Jail and hospital: sending players and wandering characters there,
// releasing them, and the bail visits of a player who lands on a jail or
// hospital square. The two places are twins; every rule holds for both.
//
// Persons are numbered 0-3 (players) and 4-7 (thief, robber, hooligan, spy).
// The robot doll (8) is never sent.
#pragma once

#include <array>
#include <cstdint>

#include "engine/presenter.h"

inline constexpr int JAIL_PERSONS = 8;

// One byte per person: 1 held there. Saved with the game.
extern std::array<uint8_t, JAIL_PERSONS> jail_flags;
extern std::array<uint8_t, JAIL_PERSONS> hospital_flags;
// Points a visitor pays to free each person: 30 a player, 300 a character.
extern const std::array<int32_t, JAIL_PERSONS> jail_bail_cost;
extern const std::array<int32_t, JAIL_PERSONS> jail_hospital_bail_cost;

// Thank-you lines of the freed characters (thief, robber, hooligan, spy).
extern const std::array<const char*, 4> jail_thanks_lines;
inline constexpr const char* JAIL_SHORT_OF_POINTS = "#0002抱歉！\n你的点数不足！";
inline constexpr const char* HOSPITAL_GREETING = "#0127您好！请问您要替谁\n办理出院手续？";
inline constexpr const char* HOSPITAL_ACCEPTED = "#0129ＯＫ！您的朋友已经\n可以出院了！";
inline constexpr const char* HOSPITAL_GOODBYE = "#0130要保重身体喔！";

// Sends person 0..7 to jail or hospital. A player stays `days` days (added
// to the days still held, at most 127); a character stays until bailed.
void jail_send(int person, int days);
void jail_send_hospital(int person, int days);
// Lets person 0..7 out; a character then works for the active player.
void jail_release(int person);
void jail_release_hospital(int person);

// The landing actions of the jail and hospital squares for the current mover.
void jail_bail_visit();
void jail_hospital_bail_visit();

// The rules of the two visiting screens, which the screens call as the human
// clicks, and which the computer path and tests call directly. `hospital`
// picks the place (0 jail, 1 hospital).
int jail_held(int hospital, int person);
int jail_anyone_held(int hospital);
int jail_cost(int hospital, int person);
// Whether the active player has the points to free person (a human needs
// at least the cost).
int jail_can_pay(int hospital, int person);
// The active player bails person out, paying its cost: a player's grudge
// toward the payer falls by max(days, 1) x 100 x price index and he leaves
// at his next count; a character is released at once and works for the
// payer. Returns 1 when done, 0 when the person is not held there or the
// points fall short (then nothing changes).
int jail_bail(int hospital, int person);
// A human's visit: asks for a cell (DECIDE_BAIL_CELL, person + 1, 0 to
// leave) until one is bailed or he leaves. A cell is followed by the short-
// of-points message when he cannot pay, otherwise by the question (DECIDE_BAIL)
// and on yes by the bail and a freed character's thanks. The visit is shown
// through jail_presenter. Returns the person bailed or -1.
int jail_human_visit(int hospital);

// What the bail screens show of a human's visit; the rules carry it out. The
// rows that answer return true when the screen showed it; otherwise the
// rules put it in the message panel.
struct JailPresenter {
    // The place's screen (0 jail, 1 hospital) opens for the visitor.
    void (*open)(int hospital, int visitor);
    // The visitor cannot pay for the cell he picked.
    bool (*short_of_points)();
    // The bail of person was confirmed: his cell is emptied (in the hospital
    // after the receptionist's OK), a character steps out and thanks.
    void (*bail_accepted)(int person);
    // The bail of person is paid: the visitor's points, and a character's
    // thanks read before the screen closes.
    bool (*freed)(int person);
    // The screen closes; the board comes back.
    void (*close)();
};
extern PresenterSlot<JailPresenter> jail_presenter;
// A computer's (or handed-over human's) visit: one time in two a candidate
// by personality is bailed when the points allow (a player: more than its
// cost; a character: at least 700). Returns the person bailed or -1.
int jail_ai_visit(int hospital);

// Display name of person 0..7 (a player's name, or the character's).
const char* jail_person_name(int person);

// Clears both flag sets.
void jail_reset();
