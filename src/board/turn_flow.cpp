#include "board/turn_flow.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/speech.h"
#include "board/status.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/music.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/wait.h"
#include "finance/assets.h"

uint8_t autoplay_stop_request = 0;

namespace {

TurnFlowTrace flow_trace = nullptr;
void trace(const char* step, int value = 0) {
    if (flow_trace) flow_trace(step, value);
}

// A step of a module above the board, traced by its name.
void flow_step(TurnStepRank rank, int who) {
    trace(turn_step_name(rank), who);
    turn_step_run(rank, who);
}
void day_step(TurnStepRank rank) {
    trace(turn_step_name(rank));
    new_day_step_run(rank);
}

constexpr int FILM_BANKRUPTCY = 514;
constexpr int LINE_VICTORY = 24;
constexpr int LINE_BANKRUPT = 25;
constexpr int GIFT_SLOT = GK_GIFT;
constexpr int CHEST_SLOT = GK_CHEST;

void put_on_square(int p) {
    PlayerRecord& r = player_table[p];
    if (const MapSquare* sq = map_square(r.square)) {
        r.x = static_cast<uint16_t>(sq->x);
        r.y = static_cast<uint16_t>(sq->y);
    }
}

// Gives the vehicle saved in (travel, dice) back when the player still holds
// its item (which it then rides again), or when it is the construction
// vehicle; else the player walks with one die.
void give_vehicle_back(int p, uint8_t saved_travel, uint8_t saved_dice) {
    PlayerRecord& r = player_table[p];
    int mode = saved_travel & TRAVEL_MODE_MASK;
    auto& items = player_items[p];
    if (mode == TRAVEL_MOTORBIKE && items[ITEM_MOTORBIKE - 1] > 0) {
        --items[ITEM_MOTORBIKE - 1];
        r.travel = saved_travel;
        r.dice = saved_dice;
    } else if (mode == TRAVEL_CAR && items[ITEM_CAR - 1] > 0) {
        --items[ITEM_CAR - 1];
        r.travel = saved_travel;
        r.dice = saved_dice;
    } else if (mode == TRAVEL_CONSTRUCTION) {
        r.travel = saved_travel;
        r.dice = saved_dice;
    } else {
        r.travel = TRAVEL_WALK;
        r.dice = 1;
    }
    actor_update_sprites(p);
}

void end_hibernation(int m) {
    actor_anim_table[m].flags &= static_cast<uint8_t>(~ANIM_TINTED);
    actor_free_sprites(m, 0);
    actor_free_sprites(m, 1);
    actor_update_sprites(m);
}

void research_countdown(int p) {
    if (!map_facility_table) return;
    for (int i = 1; i <= map_facility_count; ++i) {
        FacilityLot& f = map_facility_table[i];
        if (f.kind != FK_RESEARCH_INSTITUTE || !owner_is_seat(f.owner, p) || f.research_days == 0)
            continue;
        if (f.level < f.research_item) {
            f.research_days = 0;
            continue;
        }
        if (--f.research_days == 0) {
            board_repaint_all();
            int item = 8 + f.research_item;
            char text[128];
            std::snprintf(text, sizeof text, "%s开发完成！", item_def(item).name);
            msg_show(text, MSG_STANDARD_MS);
            item_add(p, item);
        }
    }
}

void player_countdowns(int p) {
    if (game_end_code) return; // an ended game has no more turns
    turn_steps_run(TURN_STEP_STOCK_VOLUME, TURN_STEP_LOAN_DUE, p);
    PlayerRecord& r = player_table[p];
    if (r.control == CTRL_OUT || game_end_code) return;

    if (status_days_count(r.hotel_days) == STATUS_ENDED) player_face_square(p);
    if (r.away_days & STATUS_END_MARK)
        player_return(p); // reads the kind of disappearance before clearing it
    else
        status_days_count(r.away_days, AWAY_DAY_BITS);
    if (status_days_count(r.jail_days) == STATUS_ENDED) jail_release(p);
    if (status_days_count(r.hospital_days) == STATUS_ENDED) jail_release_hospital(p);

    const bool held = player_in_building(r);
    // End marks are handled and running counters counted in one pass per
    // counter; the order of the counters is kept.
    if (!held) {
        if (status_days_count(r.hibernation_days) == STATUS_ENDED) end_hibernation(p);
        if (status_days_count(r.sleepwalk_days) == STATUS_ENDED)
            give_vehicle_back(p, r.sleep_saved_travel, r.sleep_saved_dice);
        status_days_count(r.turtle_days);
    }
    if (r.alliance_days & STATUS_END_MARK) player_break_alliance(p);
    status_days_count(r.stay_days);
    status_days_count(r.bank_refusal_days);
    status_days_count(r.bank_suspension_days);
    if (r.alliance_days) {
        int ally = seat_of_owner(r.ally);
        if (is_player_seat(ally)) {
            player_add_grudge(p, ally, -20 * game_price_index);
            player_add_grudge(ally, p, -20 * game_price_index);
        }
        status_days_count(r.alliance_days);
    }
    status_days_count(r.insurance_days);

    if (r.god_slot >= GOD_FIRST_SLOT && r.god_slot <= GOD_LAST_SLOT) {
        GodObject& g = god_table[r.god_slot];
        if (g.days <= 1) {
            g.days = 0;
            god_leave_player(p);
        } else {
            --g.days;
        }
    }

    if ((r.travel & TRAVEL_MODE_MASK) == TRAVEL_CONSTRUCTION) {
        if ((r.travel >> 2) <= 1)
            give_vehicle_back(p, r.setup_control, r.saved_dice);
        else
            r.travel = static_cast<uint8_t>(r.travel - 4);
    }

    research_countdown(p);
}

void walker_countdowns(int m) {
    WalkerRecord& w = walker_of_mover(m);
    if (status_days_count(w.hibernation_days) == STATUS_ENDED) end_hibernation(m);
    status_days_count(w.sleepwalk_days);
    status_days_count(w.stay_days);
    status_days_count(w.turtle_days);
}

// Land and facility rights: marks lose a day, rights whose term is over lapse.
// A term ends on its expiry date or, when that date never occurs (a 31st of
// a short month) or the calendar jumped past it, on the first day after it.
bool age_property_marks() {
    bool lapsed = false;
    auto age_mark = [](uint8_t& mark) {
        if ((mark >> 4) == 0) return;
        mark = static_cast<uint8_t>(mark - 0x10);
        if ((mark >> 4) == 0) mark = 0;
    };
    for (int i = 1; map_lot_table && i <= map_lot_count; ++i) {
        LandLot& l = map_lot_table[i];
        age_mark(l.mark);
        if (l.expiry != 0 && l.expiry <= game_date) {
            l.owner = OWNER_NONE;
            l.expiry = 0;
            lapsed = true;
        }
    }
    for (int i = 1; map_facility_table && i <= map_facility_count; ++i) {
        FacilityLot& f = map_facility_table[i];
        age_mark(f.mark);
        if (f.expiry != 0 && f.expiry <= game_date) {
            f.owner = OWNER_NONE;
            f.expiry = 0;
            lapsed = true;
        }
    }
    return lapsed;
}

void move_gift_and_chest() {
    for (int slot : {GIFT_SLOT, CHEST_SLOT}) {
        int old = god_table[slot].square;
        god_remove(slot);
        int square = map_random_square_far(old);
        if (square)
            god_place(slot, square, 0, 0); // the gift and the chest are the kinds of their slots
    }
}

// The lost game of the single human: its seat is put back as at the start
// of the day's turn and it is offered to continue from a save, which sets
// the end code.
void human_lost() {
    game_active_mover = 0;
    PlayerRecord& r = player_table[0];
    put_on_square(0);
    auto* bytes = reinterpret_cast<uint8_t*>(&r);
    std::memset(bytes + offsetof(PlayerRecord, hotel_days), 0,
                sizeof(PlayerRecord) - offsetof(PlayerRecord, hotel_days));
    actor_update_sprites(0);
    board_repaint_all();
    turn_step_run(TURN_STEP_CONTINUE_OFFER, 1);
}

} // namespace

int turn_autosave_enabled() {
    return settings_autosave();
}

void turn_next_actor() {
    // Once the game is over nothing more of a turn or a day runs.
    if (game_end_code) return;
    board_clear_scroll_target();
    int m = game_active_mover;
    if (m == MOVER_ROBOT_DOLL) {
        WalkerRecord& doll = walker_of_mover(MOVER_ROBOT_DOLL);
        game_active_mover = is_player_seat(doll.patron) ? doll.patron : 0;
        if (doll.place == WALKER_FREE) doll.place = WALKER_OFF_BOARD;
        board_view_refresh(0, 0, 1);
    } else if (is_player_seat(m) && (player_table[m].control & (CTRL_STEPPING | CTRL_INSIDE))) {
        PlayerRecord& r = player_table[m];
        board_repaint_all();
        if (r.control & CTRL_STEPPING) {
            if ((r.saved_facing & 0x0F) != 15)
                r.facing = static_cast<uint8_t>(r.saved_facing & 0x0F);
            god_landing_effect(m, r.square);
            turn_step_run(TURN_STEP_VEHICLE_ARRIVE, m);
        }
        r.control &= 0x0F;
    } else {
        turn_step_run(TURN_STEP_ITEMS_END, m);
        // The turn-transient control bits (a blast hit) end with the turn,
        // and with them the out-of-game look.
        if (is_player_seat(m) && (player_table[m].control & CTRL_TURN_BITS)) {
            player_table[m].control &= static_cast<uint8_t>(~CTRL_TURN_BITS);
            actor_update_sprites(m);
        }
        bool new_day = false;
        int next = m;
        for (int guard = 0; guard < 2 * MOVER_COUNT; ++guard) {
            ++next;
            if (next == game_player_count && next < PLAYER_COUNT) next = PLAYER_COUNT;
            if (next >= MOVER_ROBOT_DOLL) {
                next = 0;
                new_day = true;
            }
            if (next >= PLAYER_COUNT && next < MOVER_ROBOT_DOLL) {
                if (walker_of_mover(next).place == WALKER_FREE) break;
                continue;
            }
            if (next >= game_player_count) continue; // a seat beyond the players in use
            const PlayerRecord& r = player_table[next];
            if (r.control == CTRL_OUT && r.x != 0) continue; // out of the game
            break;
        }
        game_active_mover = next;
        if (autoplay_stop_request) {
            autoplay_stop_request = 0;
            board_repaint_all();
            turn_step_run(TURN_STEP_AUTOPLAY_PANEL, next);
        }
        if (new_day) turn_new_day();
        if (game_end_code) return;
        trace("countdowns", game_active_mover);
        turn_start_countdowns(game_active_mover);
        if (game_end_code) return;
        if (new_day && turn_autosave_enabled()) {
            flow_step(TURN_STEP_AUTOSAVE, 0);
        }
    }
    int a = game_active_mover;
    if (a >= 0 && a < MOVER_COUNT) actor_anim_table[a].flags |= ANIM_NEEDS_STEP;
}

void turn_start_countdowns(int m) {
    if (is_player_seat(m))
        player_countdowns(m);
    else if (m >= PLAYER_COUNT && m < MOVER_ROBOT_DOLL)
        walker_countdowns(m);
}

void turn_new_day() {
    if (music_day_countdown & 0x0F) {
        int left = music_day_countdown & 0x0F;
        music_day_countdown = static_cast<uint8_t>((music_day_countdown & 0xF0) | (left - 1));
        if (left == 1) {
            music_day_countdown = 0;
            music_close_midi();
            music_next_background(0);
        }
    }
    trace("music");
    PackedDate date = game_date;
    bool month_changed = cal_next_day(date) != 0;
    game_date = date;
    ++game_days_elapsed;
    trace("date", static_cast<int>(game_date));
    if (turn_check_game_over()) return;
    day_step(NEW_DAY_PRICE_INDEX);
    day_step(NEW_DAY_NOTICE_AGE);
    day_step(NEW_DAY_STOCK_COUNTERS);
    trace("reseed");
    game_srand_from_clock();
    day_step(NEW_DAY_STOCK_PRICES);
    trace("holiday");
    cal_holiday_event();
    if (game_end_code) return;
    if (cal_day(game_date) == 15) {
        day_step(NEW_DAY_DIVIDENDS);
        day_step(NEW_DAY_LOTTERY);
        if (game_end_code) return;
    }
    if (month_changed) {
        day_step(NEW_DAY_SETTLEMENT);
        if (game_end_code) return;
        trace("gift_chest");
        move_gift_and_chest();
        ++game_months_elapsed;
    }
    trace("rights");
    if (age_property_marks()) board_minimap_marks(0);
}

int turn_check_game_over() {
    if (game_day_limit == 0 && game_asset_target == 0) return 0;
    int leader = -1;
    int32_t best = 0;
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        if (player_table[p].control == CTRL_OUT) continue;
        int32_t worth = asset_net_worth(p);
        if (worth > best) {
            best = worth;
            leader = p;
        }
    }
    const bool day_reached = game_day_limit != 0 && game_days_elapsed >= game_day_limit;
    const bool target_reached = game_asset_target != 0 && leader >= 0 && best >= game_asset_target;
    // The day limit ends the game even when nobody is worth anything.
    if (!day_reached && !target_reached) return 0;

    const bool leader_human = leader >= 0 && (player_table[leader].control & CTRL_HUMAN) != 0;
    if (leader >= 0) {
        game_active_mover = leader;
        board_repaint_all();
        speech_say_line(leader, LINE_VICTORY);
    }
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != leader) player_table[p].control = CTRL_OUT;

    if (game_human_count == 1) {
        if (leader_human) {
            for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p)
                if (p != leader) character_state[player_table[p].character % CHARACTER_COUNT] = 2;
            game_end_code = 2;
        } else {
            human_lost();
        }
    } else {
        game_end_code = leader_human ? 3 : 1;
    }
    return 1;
}

void player_go_bankrupt(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    if (r.control == CTRL_OUT) return;
    const bool was_human = (r.control & CTRL_HUMAN) != 0;

    put_on_square(p);
    if (MapSquare* sq = map_square(r.square)) sq->flags |= sqf_player(p);
    r.control = CTRL_OUT;
    jail_flags[p] = 0;
    hospital_flags[p] = 0;

    if (r.god_slot) god_remove(r.god_slot);
    if (r.bomb_slot) god_remove(r.bomb_slot);
    if (r.ally) player_break_alliance(p);

    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        const WalkerRecord& w = walker_of_mover(m);
        if (w.place != WALKER_FREE || w.patron != p) continue;
        if (m <= MOVER_ROBBER)
            jail_send(m, 0);
        else
            jail_send_hospital(m, 0);
    }

    auto* bytes = reinterpret_cast<uint8_t*>(&r);
    std::memset(bytes + offsetof(PlayerRecord, cash), 0,
                sizeof(PlayerRecord) - offsetof(PlayerRecord, cash));
    character_state[r.character % CHARACTER_COUNT] = 2;
    actor_update_sprites(p);
    for (int o = 0; o < PLAYER_COUNT; ++o)
        if (o != p) player_table[o].grudge[p] = 0;

    const int active = game_active_mover;
    game_active_mover = p;
    board_clear_scroll_target();
    music_play_event(2);
    board_repaint_all();
    flc_play_entry(FILM_BANKRUPTCY, 0, 40, 0, -1);
    wait_ms(2000);

    if (game_human_count == 1 && was_human) {
        turn_step_run(TURN_STEP_CONTINUE_OFFER, 0);
    } else {
        int left = 0, humans = 0, last = -1;
        for (int o = 0; o < game_player_count && o < PLAYER_COUNT; ++o) {
            if (player_table[o].control == CTRL_OUT) continue;
            ++left;
            last = o;
            if (player_table[o].control & CTRL_HUMAN) ++humans;
        }
        if (humans == 0) {
            game_end_code = 1;
        } else if (left == 1) {
            speech_say_line(last, LINE_VICTORY);
            game_end_code = game_human_count == 1 ? 2 : 3;
        } else {
            uint16_t freed[2 * 2000];
            int count = 0;
            for (int i = 1; map_lot_table && i <= map_lot_count; ++i) {
                LandLot& l = map_lot_table[i];
                if (!owner_is_seat(l.owner, p)) continue;
                l.owner = OWNER_NONE;
                l.expiry = 0;
                freed[count++] = object_code(OBJ_LOT_BASE, i);
            }
            for (int i = 1; map_facility_table && i <= map_facility_count; ++i) {
                FacilityLot& f = map_facility_table[i];
                if (!owner_is_seat(f.owner, p)) continue;
                f.owner = OWNER_NONE;
                f.expiry = 0;
                freed[count++] = object_code(OBJ_FACILITY_BASE, i);
            }
            for (int i = 1; map_company_table && i <= map_company_count; ++i)
                if (owner_is_seat(map_company_table[i].chairman, p))
                    map_company_table[i].chairman = OWNER_NONE;
            board_minimap_marks(0);
            turn_steps_run(TURN_STEP_SELL_SHARES, TURN_STEP_FREE_TICKETS, p);
            if (count > 3) {
                music_play_event(5);
                for (int k = 0; k < 3; ++k) {
                    int pick = game_rand() % (count - k);
                    int code = freed[pick];
                    freed[pick] = freed[count - k - 1];
                    flow_step(TURN_STEP_AUCTION, code);
                }
            }
            board_repaint_all();
            speech_say_line(p, LINE_BANKRUPT);
        }
    }
    if (!game_end_code) music_resume();
    game_active_mover = active;
}

void turn_flow_set_trace(TurnFlowTrace t) {
    flow_trace = t;
}

void turn_flow_reset() {
    autoplay_stop_request = 0;
    flow_trace = nullptr;
    turn_steps_set_observer(nullptr);
}

WORLD_RESET(WORLD_RESET_TURN_FLOW, turn_flow_reset)

void player_end_sleepwalk(int p) {
    if (!is_player_seat(p) || player_table[p].sleepwalk_days == 0) return;
    player_table[p].sleepwalk_days = 0;
    give_vehicle_back(p, player_table[p].sleep_saved_travel, player_table[p].sleep_saved_dice);
}
