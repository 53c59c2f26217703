#include "cards/card_use.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/speech.h"
#include "board/square_kinds.h"
#include "board/turn_steps.h"
#include "cards/ai_cards.h"
#include "cards/ai_settings.h"
#include "cards/cards.h"
#include "cards/item_use.h"
#include "data/card_defs.h"
#include "data/card_speech_lines.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/ui_effects.h"
#include "finance/stock.h"

constinit PresenterSlot<CardPresenter> card_presenter{CardPresenter{[](int, const char*) {}}};

namespace {

CardCommandObserver observer = nullptr;
void* observer_context = nullptr;

bool acts_by_itself(int p) {
    return control_acts_by_itself(player_table[static_cast<size_t>(p)].control);
}

void view_to(int p) {
    const PlayerRecord& r = player_table[static_cast<size_t>(p)];
    board_view_refresh(r.x, r.y, 0);
}

void show_card(int id, const char* format, const char* word) {
    char text[192];
    std::snprintf(text, sizeof text, format, word);
    card_presenter().picture(id, text);
}

// Runs the routine of id for user, reports it and repaints the board.
int run_card(int user, int id) {
    CardCommand command{user, id, 0, player_cards[static_cast<size_t>(user)]};
    show_card(id, "使用%s", card_def(id).name);
    command.played = card_handler_table[static_cast<size_t>(id)]() != 0 ? 1 : 0;
    if (command.played) board_repaint_all();
    if (observer != nullptr) observer(command, observer_context);
    return command.played;
}

void human_uses(int user) {
    board_repaint_all();
    for (;;) {
        const int id = decide(DecisionRequest{DECIDE_CARD_PICK, user, nullptr, 0, 0});
        if (id < 1 || id > CARD_KIND_COUNT || !card_has(user, id)) return;
        if (run_card(user, id)) return;
        snd_effect_play(&ui_effects[UI_REFUSED], 0);
    }
}

void computer_uses(int user) {
    const int id = card_ai_choose(user);
    if (id != 0) run_card(user, id);
}

} // namespace

// Up to 8 held cards from a start slot: the whole hand from slot 0 when it
// holds 8 or fewer (an empty slot then ends the list), else 8 slots from a
// random start, wrapping to slot 0. The first the gate lets through is chosen.
int card_ai_choose(int user) {
    if (!is_player_seat(user)) return 0;
    const auto& hand = player_cards[static_cast<size_t>(user)];
    const int n = card_count(user);
    const int start = n <= 8 ? 0 : game_rand() % n;
    uint8_t tries[8] = {};
    for (int i = 0; i < 8; ++i) {
        int slot = start + i;
        if (n > 8) slot %= n;
        tries[i] = slot < HOLDING_ROW ? hand[static_cast<size_t>(slot)] : 0;
    }
    ai_view_hold();
    int chosen = 0;
    for (uint8_t id : tries) {
        if (id == 0) break;
        if (ai_try_card(id) == 1) {
            chosen = id;
            break;
        }
    }
    ai_view_release();
    return chosen;
}

void card_use() {
    const int user = game_active_mover;
    if (!is_player_seat(user)) return;
    const PlayerRecord& r = player_table[static_cast<size_t>(user)];
    if (r.control == CTRL_HUMAN) {
        human_uses(user);
        return;
    }
    if (acts_by_itself(user) && (r.ai_flags & 1) != 0 && card_count(user) > 0) computer_uses(user);
}

void card_set_observer(CardCommandObserver o, void* context) {
    observer = o;
    observer_context = context;
}

void card_say(int p, int entry, int mood) {
    if (!is_player_seat(p) || entry < 0 || entry >= CARD_SPEECH_ENTRIES) return;
    const int c = player_table[static_cast<size_t>(p)].character;
    if (c < 0 || c >= SPEECH_CHARACTERS) return;
    const char* text = card_speech_lines[static_cast<size_t>(c)][static_cast<size_t>(entry)];
    if (text != nullptr) speech_bubble(p, mood, text);
}

void card_force_company(int company, int card) {
    if (company < 0 || company >= STOCK_COUNT) return;
    stock_table[static_cast<size_t>(company)].forced_move =
        card == CARD_RED ? STOCK_FORCE_RISE : STOCK_FORCE_FALL;
    stock_force_move(company + 1);
}

namespace {
int picked_company = 0; // stock + 1 the exchange's click applied, 0 none
} // namespace

void card_pick_company(int company, int card) {
    card_force_company(company, card);
    picked_company = company + 1;
}

int card_take_picked_company() {
    const int k = picked_company;
    picked_company = 0;
    return k;
}

// ---------------------------------------------------------------------------
// The cards that act by themselves

int card_resolve_victim(int victim) {
    if (!is_player_seat(victim)) return victim;
    if (card_has(victim, CARD_PARDON)) {
        card_pardon(victim);
        return -1;
    }
    if (card_has(victim, CARD_SCAPEGOAT)) {
        const int other = card_scapegoat(victim, 0, 0);
        if (other != -1) return other;
    }
    return victim;
}

int card_revenge(int victim) {
    if (!is_player_seat(victim)) return 1;
    view_to(victim);
    show_card(CARD_REVENGE, "%s\n\n复仇卡生效！", player_plain_name(victim).c_str());
    card_remove(victim, CARD_REVENGE);
    card_say(victim, card_line_user(CARD_REVENGE), 0);
    card_say(game_active_mover, card_line_victim(CARD_REVENGE), 2);
    return 1;
}

int card_pardon(int holder) {
    if (!is_player_seat(holder)) return 1;
    view_to(holder);
    show_card(CARD_PARDON, "%s\n\n免罪卡生效！", player_plain_name(holder).c_str());
    card_remove(holder, CARD_PARDON);
    card_say(holder, card_line_user(CARD_PARDON), 0);
    return 1;
}

namespace {

int human_scapegoat(int holder) {
    int candidates[PLAYER_COUNT];
    int count = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != holder && player_table[static_cast<size_t>(p)].control != CTRL_OUT)
            candidates[count++] = p;
    if (count == 0) return -1;
    show_card(CARD_SCAPEGOAT, "%s\n\n嫁祸卡生效！", player_plain_name(holder).c_str());
    if (count == 1) {
        char text[160];
        std::snprintf(text, sizeof text, "是否嫁祸给%s？",
                      player_plain_name(candidates[0]).c_str());
        return decide(DecisionRequest{DECIDE_USE_CARD, holder, text, 0, CARD_SCAPEGOAT}) == 1
                   ? candidates[0]
                   : -1;
    }
    const int answer = decide(
        DecisionRequest{DECIDE_PLAYER, holder, "请选择嫁祸对象...", 0, 0, 0, candidates, count});
    for (int i = 0; i < count; ++i)
        if (candidates[i] == answer) return answer;
    return -1;
}

int computer_scapegoat(int holder, int context, int32_t amount) {
    int candidate = player_most_hated(holder);
    if (candidate < 0) candidate = player_random_other(holder);
    if (candidate < 0) return -1;
    const PlayerRecord& r = player_table[static_cast<size_t>(holder)];
    const int64_t n = game_price_index;
    bool passes = false;
    if (context == 0)
        passes = true;
    else if (context == 1)
        passes = amount > r.cash || amount > (game_rand() % 4000 + 4000) * n;
    else if (context == 2)
        passes = r.cash * 0.2 > 4000.0 * static_cast<double>(n);
    if (!passes) return -1;
    show_card(CARD_SCAPEGOAT, "%s\n\n嫁祸卡生效！", player_plain_name(holder).c_str());
    char text[160];
    std::snprintf(text, sizeof text, "嫁祸给%s！", player_plain_name(candidate).c_str());
    msg_show(text, MSG_STANDARD_MS);
    return candidate;
}

} // namespace

int card_scapegoat(int holder, int context, int32_t amount) {
    if (!is_player_seat(holder) || !card_has(holder, CARD_SCAPEGOAT)) return -1;
    view_to(holder);
    const int result = acts_by_itself(holder) ? computer_scapegoat(holder, context, amount)
                                              : human_scapegoat(holder);
    if (result == -1) return -1;
    card_remove(holder, CARD_SCAPEGOAT);
    card_say(holder, card_line_user(CARD_SCAPEGOAT), 0);
    card_say(result, card_line_victim(CARD_SCAPEGOAT), 2);
    return result;
}

int card_free_pass(int holder, int payee, int32_t amount) {
    if (!is_player_seat(holder) || !card_has(holder, CARD_FREE_PASS)) return 0;
    view_to(holder);
    if (acts_by_itself(holder)) {
        const PlayerRecord& r = player_table[static_cast<size_t>(holder)];
        if (!(amount > r.cash || amount > (game_rand() % 3000 + 3000) * int64_t{game_price_index}))
            return 0;
    } else {
        char text[160];
        std::snprintf(text, sizeof text, "%s\n\n是否使用免费卡？",
                      player_plain_name(holder).c_str());
        if (decide(DecisionRequest{DECIDE_USE_CARD, holder, text, amount, CARD_FREE_PASS}) != 1)
            return 0;
    }
    show_card(CARD_FREE_PASS, "使用%s", card_def(CARD_FREE_PASS).name);
    card_remove(holder, CARD_FREE_PASS);
    card_say(holder, card_line_user(CARD_FREE_PASS), 0);
    if (payee != -1) card_say(payee, card_line_victim(CARD_FREE_PASS), 1);
    return 1;
}

int card_nearest_free_god() {
    const int user = game_active_mover;
    if (!is_player_seat(user)) return 0;
    const PlayerRecord& r = player_table[static_cast<size_t>(user)];
    const uint16_t* codes = nullptr;
    const int count = ai_view_list(&codes);
    int best = 0;
    double best_distance = 10000.0;
    for (int i = 0; i < count; ++i) {
        if ((codes[i] & OBJ_OCCUPANTS) == 0) continue;
        const int slot = (codes[i] >> 8) & 0x7F;
        if (slot < GOD_FIRST_SLOT || slot > GOD_LAST_SLOT || !god_is_attachable(slot)) continue;
        const GodObject& g = god_table[static_cast<size_t>(slot)];
        const MapSquare* sq = map_square(g.square);
        if (g.holder != 0 || !sq) continue;
        const double d =
            std::hypot(static_cast<double>(sq->x - r.x), static_cast<double>(sq->y - r.y));
        if (d < best_distance) {
            best_distance = d;
            best = slot;
        }
    }
    return best;
}

TURN_STEP(TURN_STEP_CARD, [](int) { card_use(); })
namespace {
// The card square gives a card from the pool and shows it.
uint8_t land_card(int cur, int, int) {
    flc_play_entry(495, 208, 180, 1, 99);
    const int id = card_give_random(cur);
    if (id == 0) return LAND_WAIT_OTHER;
    char text[128];
    std::snprintf(text, sizeof text, "得到%s！", card_def(id).name);
    card_presenter().picture(id, text);
    speech_react_percent(cur, card_def(id).price);
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_CARD, land_card, SQUARE_SOUND_GIFT)

namespace {

// A toll's card rescue: the free pass first, then the scapegoat, each only
// while the toll is one to be rescued from.
int32_t toll_rescue(int cur, int payee, int32_t total, int* payer) {
    if (fee_card_rescue_due(*payer, total) && card_has(cur, CARD_FREE_PASS) &&
        card_free_pass(cur, payee, total) == 1)
        total = 0;
    if (fee_card_rescue_due(*payer, total) && card_has(cur, CARD_SCAPEGOAT)) {
        const int next = card_scapegoat(cur, 1, total);
        if (next >= 0 && next < PLAYER_COUNT) *payer = next;
    }
    return total;
}

} // namespace

PRESENTER(landing_cards, LandingCards{toll_rescue, item_construction_vehicle_arrive});
