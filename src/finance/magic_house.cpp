#include "finance/magic_house.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/square_kinds.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "cards/fate.h"
#include "data/card_defs.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/util.h"
#include "engine/wait.h"
#include "finance/assets.h"
#include "finance/auction.h"

std::array<uint8_t, 5> magic_chosen{};

const std::array<const char*, MAGIC_CONDITION_COUNT> magic_condition_texts = {
    "#0046财产最多的人", "#0047土地最多的人", "#0048房屋最多的人", "#0049现金最多的人",
    "#0050存款最多的人", "#0051点卷最多的人", "#0052走路的人",     "#0053骑摩托车的人",
    "#0054开汽车的人",   "#0055神明附身的人", "#0056所有男生",     "#0057所有女生",
};

// The buttons lie in three columns of four rows under the condition wheel.
const std::array<MagicFate, MAGIC_FATE_COUNT> magic_fate_table = {{
    {24, 286, "变卖所有卡片"},
    {162, 286, "抽取命运三张"},
    {300, 286, "立刻坐牢三天"},
    {24, 332, "原地停留一回合"},
    {162, 332, "存入所有现金"},
    {300, 332, "就地加盖房屋"},
    {24, 378, "得一张卡片"},
    {162, 378, "向后转"},
    {300, 378, "变卖所有道具"},
    {24, 424, "就地拆除房屋"},
    {162, 424, "住院检查三天"},
    {300, 424, "拍卖当格土地"},
}};

namespace {

constexpr int FATE_GRUDGE = 90;   // x the price index, toward the visitor
constexpr int FATE_LOCK_DAYS = 3; // jail or hospital
constexpr int FATE_DRAWS = 3;     // fate events in a row
constexpr int BUILD_FILM = 512;
constexpr uint32_t BUILD_FILM_FLAGS = 0x2C0001; // the board redrawn from frame 44
constexpr int BUILD_FILM_SOUND = 91;
constexpr int DEMOLISH_FILM = 488;
constexpr uint32_t DEMOLISH_FILM_FLAGS = 0x260001;
constexpr int DEMOLISH_FILM_SOUND = 97;
constexpr uint32_t PANEL_PAUSE_MS = 200;
constexpr uint32_t TURN_PAUSE_MS = 500;
constexpr const char* PUZZLED = "？？？...";
constexpr int PUZZLED_MOOD = 1;

MagicObserver observer = nullptr;

PlayerRecord& rec(int p) {
    return player_table[static_cast<size_t>(p)];
}
bool in_game(int p) {
    return rec(p).control != CTRL_OUT;
}

int properties_owned(int p, bool built_only) {
    int n = 0;
    for (int i = 1; i <= map_lot_count; ++i)
        if (owner_is_seat(map_lot_table[i].owner, p) && (!built_only || map_lot_table[i].level > 0))
            ++n;
    for (int i = 1; i <= map_facility_count; ++i)
        if (owner_is_seat(map_facility_table[i].owner, p) &&
            (!built_only || map_facility_table[i].level > 0))
            ++n;
    return n;
}

// The value a "most" condition compares.
int64_t most_value(int k, int p) {
    switch (k) {
    case 0:
        return asset_net_worth(p);
    case 1:
        return properties_owned(p, false);
    case 2:
        return properties_owned(p, true);
    case 3:
        return rec(p).cash;
    case 4:
        return rec(p).deposit;
    default:
        return rec(p).points;
    }
}

bool meets(int k, int p) {
    const int mode = rec(p).travel & TRAVEL_MODE_MASK;
    switch (k) {
    case 6:
        return mode == TRAVEL_WALK;
    case 7:
        return mode == TRAVEL_MOTORBIKE;
    case 8:
        return mode == TRAVEL_CAR;
    case 9:
        return rec(p).god_slot != 0;
    case 10:
        return rec(p).sex == 1;
    default:
        return rec(p).sex == 0;
    }
}

bool is_chosen(int p) {
    for (const uint8_t c : magic_chosen)
        if (c == 0)
            break;
        else if (owner_is_seat(c, p))
            return true;
    return false;
}

std::string condition_words(int k) {
    const char* rest = magic_condition_texts[k];
    speech_voice_marker(rest, &rest);
    return rest;
}

// Plot or facility the square under p serves, 0 none.
int served_property(int p) {
    const MapSquare* sq = map_square(rec(p).square);
    if (sq == nullptr) return 0;
    const int code = sq->object;
    return (map_lot(code) != nullptr || map_facility(code) != nullptr) ? code : 0;
}

bool free_to_act(int p) {
    const PlayerRecord& r = rec(p);
    return r.hotel_days == 0 && r.away_days == 0 && r.jail_days == 0 && r.hospital_days == 0;
}

void announce(int p, const char* words) {
    char text[160];
    std::snprintf(text, sizeof text, "%s\n\n%s", util_without_spaces(player_name(p)).c_str(),
                  words);
    msg_show(text, MSG_STANDARD_MS);
}

void lock_up(int p, int visitor, bool hospital) {
    player_add_grudge(p, visitor, util_clamp32(int64_t{FATE_GRUDGE} * game_price_index));
    const int victim = card_resolve_victim(p);
    if (victim < 0) return;
    if (hospital)
        jail_send_hospital(victim, FATE_LOCK_DAYS);
    else
        jail_send(victim, FATE_LOCK_DAYS);
}

void deposit_cash(int p) {
    PlayerRecord& r = rec(p);
    if (r.cash <= 0) return;
    // What the deposit cannot hold stays in cash, so no money is lost.
    const int64_t room = int64_t{std::numeric_limits<int32_t>::max()} - r.deposit;
    const int32_t moved =
        static_cast<int32_t>(std::min<int64_t>(r.cash, std::max<int64_t>(room, 0)));
    r.deposit += moved;
    r.cash -= moved;
}

// The days held (an end mark counts as none) plus one, at most 127.
void stay_one_more(int p) {
    uint8_t& s = rec(p).stay_days;
    s = static_cast<uint8_t>(std::min<int>(STATUS_DAY_BITS, (s & STATUS_DAY_BITS) + 1));
}

void build(int p, int code) {
    const int raised = map_raise_level(code);
    flc_play_entry(BUILD_FILM, 0, VIEW_TOP, BUILD_FILM_FLAGS, BUILD_FILM_SOUND);
    if (raised == MAP_RAISED_TOP) view_play_animation();
    board_repaint_all();
    speech_bubble(p, PUZZLED_MOOD, PUZZLED);
}

void demolish(int p, int code) {
    map_building_op(code, MAP_OP_LOWER);
    flc_play_entry(DEMOLISH_FILM, 0, VIEW_TOP, DEMOLISH_FILM_FLAGS, DEMOLISH_FILM_SOUND);
    board_repaint_all();
    speech_bubble(p, PUZZLED_MOOD, PUZZLED);
}

void apply_to(int f, int p, int visitor) {
    const bool needs_property = f == FATE_BUILD || f == FATE_DEMOLISH || f == FATE_AUCTION;
    const int code = needs_property ? served_property(p) : 0;
    if (needs_property && (!free_to_act(p) || code == 0)) return;
    if (f == FATE_TURN_ROUND && !free_to_act(p)) return;
    game_active_mover = p;
    board_repaint_all(); // the view follows p and the side panel shows him
    if (f == FATE_GIVE_CARD) {
        const int id = card_give_random(p);
        if (id == 0) return; // the pool is empty: nothing given, nothing said
        char words[64];
        std::snprintf(words, sizeof words, "得到%s！", card_def(id).name);
        announce(p, words);
        return;
    }
    announce(p, magic_fate_table[f].text);
    switch (f) {
    case FATE_SELL_CARDS:
        player_add_points(p, card_sell_all(p));
        break;
    case FATE_THREE_FATES:
        for (int i = 0; i < FATE_DRAWS && game_end_code == 0 && in_game(p); ++i) {
            game_active_mover = p;
            fate_show();
        }
        break;
    case FATE_JAIL:
    case FATE_HOSPITAL:
        lock_up(p, visitor, f == FATE_HOSPITAL);
        break;
    case FATE_STAY:
        stay_one_more(p);
        break;
    case FATE_DEPOSIT_CASH:
        deposit_cash(p);
        break;
    case FATE_BUILD:
        build(p, code);
        break;
    case FATE_TURN_ROUND:
        move_turn_around(p);
        break;
    case FATE_SELL_ITEMS:
        player_add_points(p, item_sell_all(p));
        break;
    case FATE_DEMOLISH:
        demolish(p, code);
        break;
    case FATE_AUCTION:
        auction_run(p, code, 1);
        board_repaint_all();
        speech_bubble(p, PUZZLED_MOOD, PUZZLED);
        break;
    default:
        break;
    }
    if (f == FATE_SELL_CARDS || f == FATE_DEPOSIT_CASH || f == FATE_SELL_ITEMS) {
        board_refresh_actor_panel(p);
        wait_ms(PANEL_PAUSE_MS);
    } else if (f == FATE_TURN_ROUND) {
        wait_ms(TURN_PAUSE_MS);
    }
}

void report(int visitor, int k, int f) {
    if (observer != nullptr) observer(MagicReport{visitor, k, f, magic_chosen});
}

} // namespace

int magic_select_players(int k) {
    magic_chosen = {};
    if (k < 0 || k >= MAGIC_CONDITION_COUNT) return 0;
    int count = 0;
    int64_t best = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!in_game(p)) continue;
        if (k <= 5) {
            const int64_t v = most_value(k, p);
            if (k > 0 && v == 0) continue;
            if (v > best) {
                best = v;
                count = 0;
                magic_chosen = {};
            } else if (v < best) {
                continue;
            }
        } else if (!meets(k, p)) {
            continue;
        }
        magic_chosen[static_cast<size_t>(count++)] = owner_of_seat(p);
    }
    return count;
}

int magic_draw_condition() {
    bool any = false;
    for (int k = 0; k < MAGIC_CONDITION_COUNT && !any; ++k)
        any = magic_select_players(k) > 0;
    if (!any) {
        magic_chosen = {};
        return -1;
    }
    int k;
    do {
        k = game_rand() % MAGIC_CONDITION_COUNT;
    } while (magic_select_players(k) == 0);
    return k;
}

int magic_ai_fate(int visitor) {
    if (is_chosen(visitor)) return FATE_GIVE_CARD;
    const int f = game_rand() % (MAGIC_FATE_COUNT - 1);
    return f == FATE_GIVE_CARD ? FATE_TURN_ROUND : f;
}

void magic_apply_fate(int f) {
    if (f < 0 || f >= MAGIC_FATE_COUNT) return;
    const int visitor = game_active_mover;
    board_clear_scroll_target();
    const std::array<uint8_t, 5> chosen = magic_chosen;
    for (int i = 0; i < PLAYER_COUNT && chosen[static_cast<size_t>(i)] != 0; ++i) {
        if (game_end_code != 0) break;
        const int p = seat_of_owner(chosen[static_cast<size_t>(i)]);
        if (!is_player_seat(p) || !in_game(p)) continue;
        apply_to(f, p, visitor);
    }
    game_active_mover = visitor;
}

void magic_visit() {
    const int v = game_active_mover;
    if (!is_player_seat(v) || !in_game(v)) return;
    const int k = magic_draw_condition();
    if (k < 0) return;
    int f;
    if (rec(v).control == CTRL_HUMAN) {
        f = decide(DecisionRequest{DECIDE_MAGIC_FATE, v, nullptr, 0, k});
    } else {
        f = magic_ai_fate(v);
        char text[160];
        std::snprintf(text, sizeof text, "%s\n\n%s", condition_words(k).c_str(),
                      magic_fate_table[f].text);
        msg_show(text, MSG_STANDARD_MS);
    }
    report(v, k, f);
    magic_apply_fate(f);
}

int magic_revenge_candidates(int leaver, int list[4]) {
    int n = 0;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != leaver && in_game(p)) list[n++] = p;
    return n;
}

int magic_pick_revenge_target(int leaver) {
    int list[4];
    const int n = magic_revenge_candidates(leaver, list);
    if (n < 2) return 0;
    return decide(DecisionRequest{DECIDE_REVENGE_TARGET, leaver, nullptr, 0, 0, 0, list, n});
}

void magic_set_observer(MagicObserver o) {
    observer = o;
}

void magic_reset() {
    magic_chosen = {};
}

WORLD_RESET(WORLD_RESET_MAGIC_HOUSE, magic_reset)

namespace {
uint8_t land_magic_house(int, int, int) {
    magic_visit();
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_MAGIC_HOUSE, land_magic_house, SQUARE_SOUND_VISIT)
