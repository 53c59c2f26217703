// The decisions a human player takes during the board rules: buy or not,
// build or not, bail or not, and the kind of a facility that is raised from
// an empty plot.
//
// The rules ask through this one interface and never open a screen
// themselves. Answers come, in this order, from the scripted answers (tests
// and the headless runner push them), from an installed answerer (the board
// screens install theirs), or from the window the kind's module registers
// (DECISION_KIND), the plain message pop-up for the first three kinds. A
// computer player's decisions never come through here: the rules compute
// those themselves.
#pragma once

#include <cstdint>
#include <string>

#include "board/world_reset.h"

enum DecisionKind : int {
    DECIDE_BUY = 0,   // buy this plot: 1 yes, 0 no
    DECIDE_BUILD = 1, // build on or upgrade this property: 1 yes, 0 no
    DECIDE_BAIL = 2,  // a yes or no on a bail (the bail screens ask DECIDE_BAIL_CELL)
    // The kinds below are registered by the modules that own their windows
    // (decision_register_kind); each module documents its answers there.
    DECIDE_FACILITY_KIND = 3, // the FacilityKind 0..4 of a facility raised from level 0
    DECIDE_SPIN_STOP = 4,     // stop the spinning wheel or reels now: 1 yes, 0 no (amount = tick,
                              // object 0 wheel, 1 reels); with nobody to ask the spin stops at once
    DECIDE_SHARE_OFFER = 5,   // buy shares of the company landed on: 1 yes, 0 no
    DECIDE_SHARE_COUNT = 6,   // how many shares to buy (the number pad), 0 none
    DECIDE_RESEARCH_SLOT = 7, // the research institute's item cell
    DECIDE_PLAYER = 8,        // one of the listed players, -1 cancelled
    DECIDE_FACILITY_KIND_CANCEL = 9, // a FacilityKind 0..4, -1 cancelled
    DECIDE_CARD_PICK = 10,           // a held card id from the card window, 0 closes
    DECIDE_TARGET = 11,              // a board target's object code, 0 cancelled
    DECIDE_THIEF_PICK = 12,          // card id, 0x8000 | item, or 0 for nothing
    DECIDE_USE_CARD = 13,            // use an automatic card: 1 yes, 0 no
    DECIDE_COMPANY = 14,             // a company: stock index + 1, 0 cancelled
    DECIDE_ITEM_PICK = 15,           // an item number from the item menu, 0 closes
    DECIDE_REMOTE_DICE = 16,         // the remote dice's face 1..6, 0 closes
    // Shared by the finance windows, the saves and the bail screens: the
    // number pad (amount the maximum; the number, 0 none) and a confirmation
    // (1 yes, 0 no) asked by a rule or a window rather than by the engine's
    // own pop-ups, which stay unaware of decisions.
    DECIDE_NUMBER = 17,
    DECIDE_CONFIRM = 18,
    DECIDE_AUCTION_BID = 19,    // 0 pass, 1-5 raise by that step, 6 give up (amount the price,
                                // object the property)
    DECIDE_LOTTERY_NUMBER = 20, // a free number 1..36, 0 leaves
    DECIDE_MAGIC_FATE = 21,     // the fate button 0..11 (object the condition)
    DECIDE_REVENGE_TARGET = 22, // player + 1, 0 none
    DECIDE_BOARD_ACTION = 23,   // 0 exit, 1-4 post shares/land/item/card, 100 + 10 x seller +
                                // slot that offer's button
    DECIDE_BOARD_POST = 24,     // what to post: stock + 1, object code, item or card id; 0 cancels
    DECIDE_SHOP_ACTION = 25,    // 0 leave, 1 switch counter, 100 + row buy, 200 + slot sell that
                                // card, 300 + n sell one item n
    DECIDE_BAIL_CELL = 26,      // the jail's or hospital's person + 1, 0 leaves
    DECIDE_KIND_COUNT = 27,
};

struct DecisionRequest {
    DecisionKind kind;
    int player;                // the deciding player 0..3
    const char* text;          // the question as shown to the player, or nullptr
    int32_t amount;            // the money at stake, yuan (0 when none)
    int32_t object;            // ObjectCode of the property, or the person to bail (0 when none)
    int32_t param = 0;         // the kind's own parameter (the picker's kind and mode, ...)
    const int* list = nullptr; // the listed choices (players, cells), when the kind has a list
    int list_count = 0;
};

// An answerer returns 1/0 for the yes/no kinds and 0..4 for a facility kind.
using DecisionAnswerer = int (*)(const DecisionRequest& request, void* context);

// A registered kind: its window, the default source of its answers, and the
// test of what that window could answer. An answer from the script or the
// answerer that the window would refuse counts as the window's cancel.
struct DecisionKindInfo {
    int (*ask_window)(const DecisionRequest& request) = nullptr; // nullptr: answers cancel
    bool (*accepts)(const DecisionRequest& request, int answer) = nullptr; // nullptr: any
    int cancel = 0;
};
// Registers kind (at most once per kind; a second registration aborts).
void decision_register_kind(DecisionKind kind, const DecisionKindInfo& info);
// Registers from a file-scope initialiser of the module that owns the kind's window.
#define DECISION_KIND(kind, ...)                                                                   \
    static const bool WORLD_RESET_JOIN(decision_kind_registered_, __LINE__) =                      \
        (decision_register_kind(kind, DecisionKindInfo{__VA_ARGS__}), true)

// Forgets the script, the answerer and the record of questions asked.
void decisions_reset();

// Installs (or with nullptr removes) the answerer that takes a human's answers.
void decision_set_answerer(DecisionAnswerer answerer, void* context);

// Asks; the answer is normalised: yes/no kinds give 0 or 1, the facility
// kind 0..4 (anything out of range becomes the park, 0).
int decide(const DecisionRequest& request);
bool decide_yes_no(DecisionKind kind, int player, const char* text, int32_t amount = 0,
                   int32_t object = 0);
int decide_facility_kind(int player, int32_t object);
// The number pad through the seam: 0..most, 0 when cancelled (and at once,
// with nothing asked, when most is not positive).
int decide_number(int player, const char* text, int32_t most, int32_t object = 0);
// The confirmation pop-up centred on (x, y) through the seam: true for yes.
bool decide_confirm(int player, const char* text, int x = 320, int y = 240, int32_t object = 0);
// The confirmation's point packed into a request's param, and back.
int32_t decision_confirm_param(int x, int y);
void decision_confirm_point(int32_t param, int* x, int* y);

// Scripted answers, taken in the order pushed before any other source.
void decision_script_push(int answer);
void decision_script_clear();
int decision_script_left();

// What has been asked since the last reset (for tests and the runner's log).
int decision_asked_count();
DecisionKind decision_last_kind();
int decision_last_player();
int32_t decision_last_amount();
int32_t decision_last_object();
const std::string& decision_last_text();
