#include "board/jail.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/status.h"
#include "board/world_reset.h"
#include "cards/fate_gods.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/util.h"

std::array<uint8_t, JAIL_PERSONS> jail_flags = {};
std::array<uint8_t, JAIL_PERSONS> hospital_flags = {};
const std::array<int32_t, JAIL_PERSONS> jail_bail_cost = {30, 30, 30, 30, 300, 300, 300, 300};
const std::array<int32_t, JAIL_PERSONS> jail_hospital_bail_cost = {30,  30,  30,  30,
                                                                   300, 300, 300, 300};
const std::array<const char*, 4> jail_thanks_lines = {
    "#0124谢谢你！你真是\n我的再生父母！",
    "#0125我先走了！大恩\n大德来日再报！",
    "#0123太感激了！我一\n定会报答你的！",
    "#0126受人点水之恩，\n必当涌泉已报！",
};

// Without the bail screens a visit shows nothing of its own.
constinit PresenterSlot<JailPresenter> jail_presenter{JailPresenter{
    [](int, int) {},
    [] { return false; },
    [](int) {},
    [](int) { return false; },
    [] {},
}};

namespace {

constexpr int AI_CHARACTER_BAIL_POINTS = 700;
// A human's visit asks again after a cell he cannot pay for or a "no"; an
// answerer that never leaves still ends the visit after this many questions.
constexpr int MOST_CELL_QUESTIONS = 32;

int visit_bailed = -1; // the person the current human visit freed, -1 none

// What differs between the two places.
struct Place {
    std::array<uint8_t, JAIL_PERSONS>* flags;
    const std::array<int32_t, JAIL_PERSONS>* cost;
    uint8_t PlayerRecord::*days;
    int32_t* square;
    uint16_t decoration_code;
    uint8_t walker_place;
    uint8_t memory_mark; // release memory: 1 left the jail, 2 the hospital
    uint8_t square_type;
    int speech_row;
    int film, film_x, film_y;
    uint32_t film_flags;
    int film_sound;
};

const Place& place_of(int hospital) {
    static const Place jail = {&jail_flags,
                               &jail_bail_cost,
                               &PlayerRecord::jail_days,
                               &jail_square,
                               OBJ_JAIL,
                               WALKER_IN_JAIL,
                               1,
                               SQ_JAIL,
                               19,
                               497,
                               0,
                               40,
                               0x120001,
                               94};
    static const Place hosp = {&hospital_flags,
                               &jail_hospital_bail_cost,
                               &PlayerRecord::hospital_days,
                               &hospital_square,
                               OBJ_HOSPITAL,
                               WALKER_IN_HOSPITAL,
                               2,
                               SQ_HOSPITAL,
                               20,
                               483,
                               0,
                               210,
                               0x1E0001,
                               92};
    return hospital ? hosp : jail;
}

// Days a counter holds: the end mark alone holds none.
int days_held(uint8_t v) {
    return (v & STATUS_END_MARK) ? 0 : (v & STATUS_DAY_BITS);
}

// A counter that runs `days` more days, at most 127; with no day left it
// carries the end mark so that the next count still ends the stay.
uint8_t days_counter(int days) {
    days = std::clamp(days, 0, 127);
    return days == 0 ? STATUS_END_MARK : static_cast<uint8_t>(days);
}

void decoration_position(uint16_t code, uint16_t& x, uint16_t& y) {
    const int i = object_index(code, OBJ_DECORATION_BASE);
    if (map_decoration_table != nullptr && i >= 1 && i <= map_decoration_count) {
        x = static_cast<uint16_t>(map_decoration_table[i].x);
        y = static_cast<uint16_t>(map_decoration_table[i].y);
    }
}

void send(int hospital, int person, int days) {
    const Place& pl = place_of(hospital);
    if (person >= 0 && person < PLAYER_COUNT) {
        PlayerRecord& r = player_table[person];
        // A player out of the game (a beggar) is nobody's to lock up or bail.
        if (r.control == CTRL_OUT) return;
        board_view_refresh(r.x, r.y, 0);
        if ((r.*pl.days) == 0) {
            player_clear_jail_hospital(person);
            speech_react_count(person, days);
            r.control &= 0x0F;
            if (map_square_valid(r.square)) map_square_table[r.square].flags &= ~sqf_player(person);
            if (map_square_valid(*pl.square)) r.square = static_cast<uint16_t>(*pl.square);
            r.prev_square = 0;
            r.saved_facing = 15;
            decoration_position(pl.decoration_code, r.x, r.y);
            r.*pl.days = days_counter(days);
            god_follow_holder(person);
            (*pl.flags)[person] = 1;
            if (settings_animations())
                flc_play_entry(pl.film, pl.film_x, pl.film_y, pl.film_flags, pl.film_sound);
        } else {
            // Already held: the days add up. A counter that holds its end
            // mark holds no day, and the person is held again, so the flag
            // that lets others bail him is set here too.
            r.*pl.days = days_counter(days_held(r.*pl.days) + days);
            (*pl.flags)[person] = 1;
        }
        board_view_refresh(r.x, r.y, 0);
        speech_bubble(person, 2, speech_line(r.character, pl.speech_row));
        fate_insurance_payout(person, days * 2000 * game_price_index);
        r.days_lost_month =
            static_cast<uint8_t>(std::min(255, r.days_lost_month + std::max(days, 0)));
        return;
    }
    if (is_wanderer(person)) {
        WalkerRecord& w = walker_of_mover(person);
        if (map_square_valid(w.square)) map_square_table[w.square].flags &= ~sqf_walker(person);
        w.place = pl.walker_place;
        w.memory = 0;
        w.hibernation_days = 0;
        w.sleepwalk_days = 0;
        w.stay_days = 0;
        w.turtle_days = 0;
        (*pl.flags)[person] = 1;
    }
}

void release(int hospital, int person) {
    const Place& pl = place_of(hospital);
    if (person >= 0 && person < PLAYER_COUNT) {
        player_face_square(person);
        (*pl.flags)[person] = 0;
    } else if (is_wanderer(person)) {
        WalkerRecord& w = walker_of_mover(person);
        if (game_active_mover >= 0 && game_active_mover < PLAYER_COUNT)
            w.patron = static_cast<uint8_t>(game_active_mover);
        w.place = WALKER_FREE;
        w.prev_square = 0;
        w.memory = pl.memory_mark;
        if (map_square_valid(*pl.square)) {
            MapSquare& sq = map_square_table[*pl.square];
            w.square = static_cast<uint16_t>(*pl.square);
            w.x = static_cast<uint16_t>(sq.x);
            w.y = static_cast<uint16_t>(sq.y);
            sq.flags |= sqf_walker(person);
            // Put down on a square of the place's own type, the character
            // goes back in at the next such square it reaches.
            if ((sq.flags & SQF_TYPE_MASK) == pl.square_type) w.memory |= 0x80;
        }
        (*pl.flags)[person] = 0;
    } else {
        return;
    }
    actor_update_sprites(person);
}

void release_at(int hospital, int person) {
    if (hospital)
        jail_release_hospital(person);
    else
        jail_release(person);
}

int current_visitor() {
    const int p = game_active_mover;
    return (p >= 0 && p < PLAYER_COUNT) ? p : -1;
}

void visit(int hospital) {
    const int cur = current_visitor();
    if (cur < 0 || !jail_anyone_held(hospital)) return;
    if (player_table[cur].control == CTRL_HUMAN)
        jail_human_visit(hospital);
    else
        jail_ai_visit(hospital);
}

} // namespace

void jail_reset() {
    jail_flags.fill(0);
    hospital_flags.fill(0);
}

const char* jail_person_name(int person) {
    static const char* const names[4] = {"小偷", "强盗", "流氓", "间谍"};
    if (person >= 0 && person < PLAYER_COUNT) return player_name(person);
    if (is_wanderer(person)) return names[walker_index_of_mover(person)];
    return "";
}

void jail_send(int person, int days) {
    send(0, person, days);
}
void jail_send_hospital(int person, int days) {
    send(1, person, days);
}
void jail_release(int person) {
    release(0, person);
}
void jail_release_hospital(int person) {
    release(1, person);
}

int jail_held(int hospital, int person) {
    if (person < 0 || person >= JAIL_PERSONS) return 0;
    return (*place_of(hospital).flags)[person] != 0 ? 1 : 0;
}

int jail_anyone_held(int hospital) {
    for (int i = 0; i < JAIL_PERSONS; ++i)
        if (jail_held(hospital, i)) return 1;
    return 0;
}

int jail_cost(int hospital, int person) {
    if (person < 0 || person >= JAIL_PERSONS) return 0;
    return (*place_of(hospital).cost)[person];
}

int jail_can_pay(int hospital, int person) {
    const int cur = current_visitor();
    if (cur < 0) return 0;
    return player_table[cur].points >= jail_cost(hospital, person) ? 1 : 0;
}

int jail_bail(int hospital, int person) {
    const int cur = current_visitor();
    if (cur < 0 || !jail_held(hospital, person) || !jail_can_pay(hospital, person)) return 0;
    const Place& pl = place_of(hospital);
    if (person < PLAYER_COUNT) {
        PlayerRecord& r = player_table[person];
        const int days = std::max(r.*pl.days & STATUS_DAY_BITS, 1);
        player_add_grudge(person, cur, -(days * 100 * game_price_index));
        r.*pl.days = STATUS_END_MARK;
        (*pl.flags)[person] = 0;
    } else {
        release_at(hospital, person);
    }
    player_add_points(cur, -jail_cost(hospital, person));
    visit_bailed = person;
    return 1;
}

int jail_human_visit(int hospital) {
    const int cur = current_visitor();
    if (cur < 0 || !jail_anyone_held(hospital)) return -1;
    int held[JAIL_PERSONS];
    int count = 0;
    for (int person = 0; person < JAIL_PERSONS; ++person)
        if (jail_held(hospital, person)) held[count++] = person;
    visit_bailed = -1;
    const JailPresenter& screen = jail_presenter();
    screen.open(hospital, cur);
    for (int asked = 0; asked < MOST_CELL_QUESTIONS && visit_bailed < 0; ++asked) {
        DecisionRequest request{DECIDE_BAIL_CELL, cur, nullptr, player_table[cur].points, 0};
        request.param = hospital;
        request.list = held;
        request.list_count = count;
        const int answer = decide(request);
        if (answer <= 0) break; // left
        const int person = answer - 1;
        if (!jail_can_pay(hospital, person)) {
            if (!screen.short_of_points()) msg_show(JAIL_SHORT_OF_POINTS, MSG_STANDARD_MS);
            continue;
        }
        // The question stands in the message panel above the yes/no.
        const std::string text = "保释" + util_without_spaces(jail_person_name(person));
        if (!decide_yes_no(DECIDE_BAIL, cur, text.c_str(), 0, person)) continue;
        screen.bail_accepted(person);
        jail_bail(hospital, person);
        if (!screen.freed(person) && person >= MOVER_THIEF)
            msg_show(jail_thanks_lines[walker_index_of_mover(person)], MSG_STANDARD_MS);
    }
    screen.close();
    return visit_bailed;
}

int jail_ai_visit(int hospital) {
    const int cur = current_visitor();
    if (cur < 0 || !jail_anyone_held(hospital)) return -1;
    if ((game_rand() & 1) == 0) return -1;
    PlayerRecord& r = player_table[cur];
    bool players = false, characters = false;
    switch (r.personality) {
    case PERS_GOOD:
        players = true;
        break;
    case PERS_NORMAL:
        players = true;
        characters = (game_rand() % 3 == 0);
        break;
    case PERS_CUNNING:
        characters = true;
        break;
    default:
        break;
    }
    std::vector<int> candidates;
    for (int person = 0; person < JAIL_PERSONS; ++person) {
        if (!jail_held(hospital, person)) continue;
        const bool is_player = person < PLAYER_COUNT;
        if ((is_player && players) || (!is_player && characters)) candidates.push_back(person);
    }
    if (candidates.empty()) return -1;
    const int person = candidates[game_rand() % static_cast<int>(candidates.size())];
    const int cost = jail_cost(hospital, person);
    const bool able =
        person < PLAYER_COUNT ? (r.points > cost) : (r.points >= AI_CHARACTER_BAIL_POINTS);
    if (!able) return -1;
    char text[128];
    std::snprintf(text, sizeof text, "保释%s",
                  util_without_spaces(jail_person_name(person)).c_str());
    msg_show(text, MSG_STANDARD_MS);
    player_add_points(cur, -cost);
    if (person < PLAYER_COUNT) {
        player_table[person].*place_of(hospital).days = STATUS_END_MARK;
        (*place_of(hospital).flags)[person] = 0;
    } else {
        release_at(hospital, person);
    }
    return person;
}

void jail_bail_visit() {
    visit(0);
}
void jail_hospital_bail_visit() {
    visit(1);
}

WORLD_RESET(WORLD_RESET_JAIL, jail_reset)
