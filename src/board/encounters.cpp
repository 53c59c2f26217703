#include "board/encounters.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/status.h"
#include "board/turn.h"
#include "cards/cards.h"
#include "cards/item_use.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/sound.h"
#include "engine/util.h"
#include "finance/bank.h"

namespace {

constexpr int SOUND_BOMB_TICK = 3; // board_effects element looping while a bomb is carried
constexpr int SOUND_GIFT = 6;
constexpr int SOUND_CHEST = 7;
constexpr int BEGGAR_ALMS = 1000; // yuan, times the price index
constexpr int CHEST_POINTS = 500;

template <typename... Args> std::string fmt(const char* f, Args... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, f, args...);
    return buf;
}

void travel_sound_stop() {
    if (move_sound_slot != 0) snd_board_effect_stop(move_sound_slot);
}
void travel_sound_restart() {
    if (move_sound_slot != 0) snd_board_effect_play(move_sound_slot, 1);
}

void explosion() {
    flc_play_entry(484, 0, 40, 0x30001, 82);
}
void dog_bite() {
    flc_play_entry(491, 0, 40, 0x30001, 93);
}

// The walk ends once the mover is out of the game or the game is over: an
// eliminated player must not go on collecting or paying.
bool walk_over(int cur) {
    if (game_end_code != 0) return true;
    return is_player_seat(cur) && player_table[cur].control == CTRL_OUT;
}

int slot_on(const MapSquare& sq) {
    const int slot = static_cast<int>((sq.flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT);
    return (slot >= GOD_FIRST_SLOT && slot <= GOD_LAST_SLOT) ? slot : 0;
}

int players_on(const MapSquare& sq) {
    return static_cast<int>((sq.flags & SQF_PLAYERS_MASK) >> 8);
}

void view_to_player(int p) {
    board_view_refresh(player_table[p].x, player_table[p].y, 0);
}

// The thief has taken something off the board for its patron.
void thief_took(const char* what, int patron) {
    msg_show(fmt("小偷偷得%s\n\n给%s！", what, player_plain_name(patron).c_str()).c_str(),
             MSG_STANDARD_MS);
}

bool patron_in_game(int patron) {
    return is_player_seat(patron) && player_table[patron].control != CTRL_OUT;
}

// Returns true when the bomb went off (the step ends there).
bool player_meets_bomb(int cur, int square) {
    PlayerRecord& r = player_table[cur];
    const int slot = r.bomb_slot;
    if (slot < GOD_FIRST_SLOT || slot > GOD_LAST_SLOT) return false;
    GodObject& bomb = god_table[slot];
    if (bomb.days > 0) --bomb.days;
    if (bomb.days == 0) {
        snd_board_effect_stop(SOUND_BOMB_TICK);
        god_remove(slot);
        const int code = map_square_table[square].object;
        if (code != 0) map_building_op(code, MAP_OP_LOWER);
        player_lose_vehicle(cur);
        explosion();
        move_steps_left = 0;
        jail_send_hospital(cur, 5);
        return true;
    }
    // The bomb passes to the first other player standing here who is in the
    // game and carries none, passing or stopping.
    const int other = player_first_in_mask(players_on(map_square_table[square]) & ~(1 << cur));
    if (other < 0 || other >= PLAYER_COUNT) return false;
    PlayerRecord& o = player_table[other];
    if (o.control == CTRL_OUT || o.bomb_slot != 0) return false;
    o.bomb_slot = static_cast<uint8_t>(slot);
    bomb.holder = owner_of_seat(other);
    bomb.square = o.square;
    r.bomb_slot = 0;
    snd_board_effect_stop(SOUND_BOMB_TICK);
    return false;
}

void player_meets_object(int cur, int square, bool stopping) {
    MapSquare& sq = map_square_table[square];
    const int slot = slot_on(sq);
    if (slot == 0) return;
    PlayerRecord& r = player_table[cur];
    const int kind = god_table[slot].kind;
    switch (kind) {
    case GK_DOG:
        if (!stopping) break;
        god_remove(slot);
        if (r.travel != 0) {
            flc_play_entry(511, 0, 40, 0x10001, 85); // rides away from the dog
            break;
        }
        player_lose_vehicle(cur);
        dog_bite();
        move_steps_left = 0;
        jail_send_hospital(cur, 3);
        break;
    case GK_GIFT: {
        if (!stopping) break;
        const int item = item_give_random(cur);
        if (item == 0) break; // nothing to give: the gift stays
        snd_board_effect_play(SOUND_GIFT, 0);
        god_remove(slot);
        board_view_refresh(0, 0, 1);
        msg_show(fmt("得到%s！", item_def(item).name).c_str(), MSG_STANDARD_MS);
        speech_react_percent(cur, item_def(item).price);
        break;
    }
    case GK_CHEST:
        if (!stopping) break;
        snd_board_effect_play(SOUND_CHEST, 0);
        god_remove(slot);
        board_view_refresh(0, 0, 1);
        msg_show("得到５００点卷！", MSG_STANDARD_MS);
        player_add_points(cur, CHEST_POINTS);
        speech_bubble(cur, 0, speech_line(r.character, 0));
        break;
    case GK_DEATH:
        break;
    case GK_ROADBLOCK:
        travel_sound_stop();
        god_remove(slot);
        board_view_refresh(0, 0, 1);
        move_steps_left = 0;
        speech_bubble(cur, 1, item_speech_line(r.character, 14));
        break;
    case GK_MINE:
        if (!stopping) break;
        god_remove(slot);
        player_lose_vehicle(cur);
        explosion();
        speech_bubble(cur, 1, item_speech_line(r.character, 15));
        move_steps_left = 0;
        jail_send_hospital(cur, 3);
        break;
    case GK_TIME_BOMB:
        if (!stopping || r.bomb_slot != 0) break;
        r.bomb_slot = static_cast<uint8_t>(slot);
        god_table[slot].holder = owner_of_seat(cur);
        god_table[slot].days = BOMB_STEPS;
        god_table[slot].square = r.square;
        sq.flags &= ~SQF_GOD_MASK;
        board_view_refresh(0, 0, 1);
        speech_bubble(cur, 2, item_speech_line(r.character, 16));
        break;
    default:
        // Gods and spirits (and the land god) attach to a player who stops.
        if (stopping && god_kind_can_attach(kind)) god_attach(cur, square, slot);
        break;
    }
}

void walker_meets_object(int cur, int square, bool stopping) {
    const int slot = slot_on(map_square_table[square]);
    if (slot == 0) return;
    WalkerRecord& w = walker_of_mover(cur);
    const int kind = god_table[slot].kind;
    const bool thief = cur == MOVER_THIEF;
    const bool awake_thief = thief && w.sleepwalk_days == 0;
    const int patron = w.patron;
    switch (kind) {
    case GK_DOG:
        if (!stopping) break;
        god_remove(slot);
        dog_bite();
        move_steps_left = 0;
        jail_send_hospital(cur, 3);
        break;
    case GK_GIFT: {
        if (!awake_thief || !patron_in_game(patron)) break;
        // The gift leaves the board only when the pool has an item for the
        // patron; otherwise it stays where it lies.
        const int item = item_give_random(patron);
        if (item == 0) break;
        god_remove(slot);
        board_view_refresh(0, 0, 1);
        thief_took("礼物", patron);
        view_to_player(patron);
        msg_show(fmt("得到%s！", item_def(item).name).c_str(), MSG_STANDARD_MS);
        speech_react_percent(patron, item_def(item).price);
        board_repaint_all();
        if (!stopping) travel_sound_restart();
        break;
    }
    case GK_CHEST:
        if (!awake_thief || !patron_in_game(patron)) break;
        snd_board_effect_play(SOUND_CHEST, 0);
        god_remove(slot);
        thief_took("宝箱", patron);
        view_to_player(patron);
        msg_show("得到５００点卷！", MSG_STANDARD_MS);
        player_add_points(patron, CHEST_POINTS);
        speech_bubble(patron, 0, speech_line(player_table[patron].character, 0));
        if (!stopping) travel_sound_restart();
        break;
    case GK_ROADBLOCK:
        if (!thief) {
            travel_sound_stop();
            god_remove(slot);
            board_view_refresh(0, 0, 1);
            move_steps_left = 0;
        } else if (awake_thief && patron_in_game(patron)) {
            god_remove(slot);
            board_view_refresh(0, 0, 1);
            thief_took("路障", patron);
            item_add(patron, 2);
            if (!stopping) travel_sound_restart();
        }
        break;
    case GK_MINE:
        if (!thief) {
            if (!stopping) break;
            god_remove(slot);
            explosion();
            move_steps_left = 0;
            jail_send_hospital(cur, 3);
        } else if (awake_thief && patron_in_game(patron)) {
            god_remove(slot);
            thief_took("地雷", patron);
            item_add(patron, 3);
            if (!stopping) travel_sound_restart();
        }
        break;
    case GK_TIME_BOMB:
        if (awake_thief && patron_in_game(patron)) {
            god_remove(slot);
            thief_took("定时炸弹", patron);
            item_add(patron, 4);
            if (!stopping) travel_sound_restart();
        }
        break;
    default:
        break; // gods and spirits leave the characters alone
    }
}

// Sum of the land prices of the owner's plots on the street (chain stores too).
int64_t street_land_value(int owner, const char* street) {
    int64_t sum = 0;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& lot = map_lot_table[i];
        if (lot.owner == owner && std::string(lot.street, strnlen(lot.street, sizeof lot.street)) ==
                                      std::string(street, strnlen(street, sizeof lot.street)))
            sum += lot.land_price;
    }
    return sum;
}

int32_t clamp_amount(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

void walker_acts(int cur, int square, bool stopping) {
    WalkerRecord& w = walker_of_mover(cur);
    if (w.place != WALKER_FREE || w.sleepwalk_days != 0) return;
    const int patron = w.patron;
    if (!patron_in_game(patron)) return;
    MapSquare& sq = map_square_table[square];
    const int victim = player_first_in_mask(players_on(sq) & ~(1 << patron));
    const bool victim_in =
        victim >= 0 && victim < PLAYER_COUNT && player_table[victim].control != CTRL_OUT;

    if (cur == MOVER_THIEF) {
        if (!victim_in) return;
        const int half = player_table[victim].points / 2;
        if (half == 0) return;
        travel_sound_stop();
        msg_show(fmt("偷取%s\n\n%d点点券！", player_plain_name(victim).c_str(), half).c_str(),
                 1000);
        player_add_points(victim, -half);
        player_add_points(patron, half);
        if (!stopping) travel_sound_restart();
        return;
    }
    if (cur == MOVER_ROBBER) {
        if (victim_in) {
            const int card = card_lose_random(victim);
            if (card != 0) {
                msg_show(fmt("夺取%s%s！", player_plain_name(victim).c_str(), card_def(card).name)
                             .c_str(),
                         1000);
                card_add(patron, card);
                if (!stopping) travel_sound_restart();
            }
        }
        if ((sq.flags & SQF_TYPE_MASK) == SQ_BANK) {
            int64_t total = 0;
            for (int p = 0; p < PLAYER_COUNT && game_end_code == 0; ++p) {
                if (p == patron || player_table[p].control == CTRL_OUT) continue;
                const int32_t amount = static_cast<int32_t>(player_table[p].deposit * 0.2);
                if (amount < 0) continue;
                money_pay(p, patron, amount, MONEY_DEPOSIT_FIRST | MONEY_INTO_CASH);
                total += amount;
            }
            msg_show(fmt("强盗抢夺银行\n\n得款%d元\n\n给%s！", clamp_amount(total),
                         player_plain_name(patron).c_str())
                         .c_str(),
                     2000);
            if (!stopping) travel_sound_restart();
        }
        return;
    }
    // Hooligan and spy act only where they stop, on what the square serves.
    if (!stopping) return;
    board_view_refresh(0, 0, 1);
    const int code = sq.object;
    const bool hooligan = cur == MOVER_HOOLIGAN;
    if (object_in(code, OBJ_LOT_BASE, map_lot_count)) {
        const LandLot& lot = map_lot_table[object_index(code, OBJ_LOT_BASE)];
        if (lot.owner == 0 || owner_is_seat(lot.owner, patron)) return;
        int32_t amount;
        if (hooligan) {
            amount = clamp_amount(street_land_value(lot.owner, lot.street) * game_price_index);
            msg_show(fmt("勒索%s\n\n%d元保护费！",
                         player_plain_name(seat_of_owner(lot.owner)).c_str(), amount)
                         .c_str(),
                     MSG_STANDARD_MS);
        } else {
            amount = lot.last_toll;
            if (amount <= 0) return;
            msg_show(fmt("取走过路费\n\n%d元！", amount).c_str(), MSG_STANDARD_MS);
        }
        money_pay(seat_of_owner(lot.owner), patron, amount, 0);
    } else if (object_in(code, OBJ_FACILITY_BASE, map_facility_count)) {
        const FacilityLot& f = map_facility_table[object_index(code, OBJ_FACILITY_BASE)];
        if (f.owner == 0 || owner_is_seat(f.owner, patron)) return;
        int32_t amount;
        if (hooligan) {
            amount = clamp_amount(static_cast<int64_t>(f.price) * game_price_index);
            msg_show(fmt("勒索%s\n\n%d元保护费！",
                         player_plain_name(seat_of_owner(f.owner)).c_str(), amount)
                         .c_str(),
                     MSG_STANDARD_MS);
        } else {
            amount = f.last_fee;
            if (amount <= 0) return;
            msg_show(fmt("取走过路费\n\n%d元！", amount).c_str(), MSG_STANDARD_MS);
        }
        money_pay(seat_of_owner(f.owner), patron, amount, 0);
    } else if (!hooligan && object_in(code, OBJ_COMPANY_BASE, map_company_count)) {
        const int i = object_index(code, OBJ_COMPANY_BASE);
        const CompanyBuilding& c = map_company_table[i];
        if (c.chairman == 0 || owner_is_seat(c.chairman, patron)) return;
        // Only a surplus can be taken: a company in the red has nothing to give.
        if (c.earnings <= 0) return;
        const int32_t amount = c.earnings;
        msg_show(fmt("取走盈余\n\n%d元！", amount).c_str(), MSG_STANDARD_MS);
        money_pay(party_of_company(i), patron, amount, 0);
    }
}

// A character let out of jail or hospital goes back in at the next square
// of the same kind it reaches.
void walker_return(int cur, int square) {
    WalkerRecord& w = walker_of_mover(cur);
    const int type = static_cast<int>(map_square_table[square].flags & SQF_TYPE_MASK);
    const int left = w.memory & 0x7F;
    const bool jail = left == 1 && type == SQ_JAIL;
    const bool hospital = left == 2 && type == SQ_HOSPITAL;
    if (!jail && !hospital) return;
    if ((w.memory & 0x80) == 0) {
        w.memory |= 0x80;
        return;
    }
    if (jail)
        jail_send(cur, 0);
    else
        jail_send_hospital(cur, 0);
    move_steps_left = 0;
}

} // namespace

void land_encounter() {
    const int cur = game_active_mover;
    const bool stopping = move_steps_left == 0;
    if (stopping) travel_sound_stop();
    if (walk_over(cur)) return;
    const int square = mover_square(cur);
    if (map_square_table == nullptr || square < 1 || square > map_square_count) return;
    MapSquare& sq = map_square_table[square];

    if (cur == MOVER_ROBOT_DOLL) {
        // The doll clears every slot it steps on, passing or stopping.
        const int slot = slot_on(sq);
        if (slot != 0) {
            const WalkerRecord& doll = walker_of_mover(cur);
            god_start_wander(slot, doll.square, doll.prev_square);
            god_remove(slot);
        }
        return;
    }

    if (is_player_seat(cur)) {
        PlayerRecord& r = player_table[cur];
        const int slot = slot_on(sq);
        const bool roadblock = slot != 0 && god_table[slot].kind == GK_ROADBLOCK;
        if ((sq.flags & SQF_TYPE_MASK) == SQ_BANK && r.sleepwalk_days == 0 && !stopping &&
            !roadblock) {
            travel_sound_stop();
            if (r.bomb_slot != 0) snd_board_effect_stop(SOUND_BOMB_TICK);
            bank_deposit_visit();
            if (walk_over(cur)) return;
            travel_sound_restart();
            if (r.bomb_slot != 0) snd_board_effect_play(SOUND_BOMB_TICK, 1);
        }
        if (stopping) {
            const int beggar = player_first_in_mask(players_on(sq) & ~(1 << cur));
            if (beggar >= 0 && beggar < PLAYER_COUNT && player_table[beggar].control == CTRL_OUT) {
                const int32_t alms = BEGGAR_ALMS * game_price_index;
                msg_show(fmt("施舍给乞丐%d元", alms).c_str(), MSG_STANDARD_MS);
                money_pay(cur, PARTY_JACKPOT, alms, 0);
                player_relocate_random(beggar);
                if (walk_over(cur)) return;
            }
        }
        if (r.bomb_slot != 0 && player_meets_bomb(cur, square)) return;
        if (walk_over(cur)) return;
        player_meets_object(cur, square, stopping);
        return;
    }

    if (is_wanderer(cur)) {
        walker_meets_object(cur, square, stopping);
        walker_acts(cur, square, stopping);
        walker_return(cur, square);
    }
}
