// The decisions a human player takes during the board rules: buy or not,
// build or not, bail or not, and the kind of a facility that is raised from
// an empty plot.
//
// The rules ask through this one interface and never open a screen
// themselves. Answers come, in this order, from the scripted answers (tests
// and the headless runner push them), from an installed answerer (the board
// screens install theirs), or from the plain message pop-up and the
// facility-kind dialog (a spin with nobody to ask stops at once). A computer player's decisions
// never come through here: the rules compute those themselves.
#pragma once

#include <cstdint>
#include <string>

enum DecisionKind : int {
    DECIDE_BUY = 0,           // buy this plot: 1 yes, 0 no
    DECIDE_BUILD = 1,         // build on or upgrade this property: 1 yes, 0 no
    DECIDE_BAIL = 2,          // bail this person out of jail or hospital: 1 yes, 0 no
    DECIDE_FACILITY_KIND = 3, // the FacilityKind 0..4 of a facility raised from level 0
    DECIDE_SPIN_STOP = 4,     // stop the spinning wheel or reels now: 1 yes, 0 no (amount = tick,
                              // object 0 wheel, 1 reels); with nobody to ask the spin stops at once
};

struct DecisionRequest {
    DecisionKind kind;
    int player;       // the deciding player 0..3
    const char* text; // the question as shown to the player, or nullptr
    int32_t amount;   // the money at stake, yuan (0 when none)
    int32_t object;   // ObjectCode of the property, or the person to bail (0 when none)
};

// An answerer returns 1/0 for the yes/no kinds and 0..4 for a facility kind.
using DecisionAnswerer = int (*)(const DecisionRequest& request, void* context);

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
