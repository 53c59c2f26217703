#include "board/game_state.h"

#include "board/world_reset.h"
#include "engine/options.h"
#include "engine/record_io.h"

#include <algorithm>
#include <cstring>

#include "data/characters.h"
#include "engine/random.h"
#include "engine/util.h"

int32_t game_player_count = 0;
int32_t game_human_count = 0;
int32_t game_start_money = 0;
int32_t game_asset_target = 0;
int32_t game_day_limit = 0;
int32_t game_land_term = 0;
int32_t game_travel_mode = 0;
int32_t game_map = 0;
int32_t game_days_elapsed = 0;
int32_t game_months_elapsed = 0;
int32_t game_active_mover = 0;
int32_t game_price_index = 1;
uint32_t& game_date = settings.game_date; // kept with the options, written to their file
int32_t lotto_jackpot = 0;
std::array<uint8_t, CHARACTER_COUNT> character_state{};
int32_t view_rotation = 0;

std::array<GodObject, GOD_SLOT_COUNT> god_table{};
std::array<WalkerRecord, WALKER_COUNT> walker_table{};
std::array<PlayerRecord, PLAYER_COUNT> player_table{};
std::array<ActorAnim, MOVER_COUNT> actor_anim_table{};

int32_t move_steps_left = 0;
int32_t dice_total = 0;
uint8_t game_end_code = 0;
uint8_t turn_running = 0;

bool god_kind_can_attach(int kind) {
    return (kind >= GK_SMALL_WEALTH && kind <= GK_DEVIL) || kind == GK_LAND_GOD || kind == GK_DEATH;
}

void game_state_reset() {
    game_player_count = 0;
    game_human_count = 0;
    game_start_money = 0;
    game_asset_target = 0;
    game_day_limit = 0;
    game_land_term = 0;
    game_travel_mode = 0;
    game_map = 0;
    game_days_elapsed = 0;
    game_months_elapsed = 0;
    game_active_mover = 0;
    game_price_index = 1;
    lotto_jackpot = 0;
    character_state.fill(0);
    view_rotation = 0;
    god_table_reset();
    walker_table = walker_initial;
    player_table.fill(PlayerRecord{});
    actor_anim_table.fill(ActorAnim{});
    move_steps_left = 0;
    dice_total = 0;
    game_end_code = 0;
    turn_running = 0;
}

void god_table_reset() {
    for (size_t slot = 0; slot < god_table.size(); ++slot) {
        god_table[slot] = GodObject{};
        god_table[slot].kind = god_initial_kinds[slot];
    }
}

WalkerRecord& walker_of_mover(int mover) {
    int index = std::clamp(walker_index_of_mover(mover), 0, WALKER_COUNT - 1);
    return walker_table[static_cast<size_t>(index)];
}

// ---------------------------------------------------------------------------
// Record images

namespace {

// One field list serves both directions, so reading and writing cannot drift apart.
template <typename Io, typename Rec> void player_fields(const Io& io, Rec& r) {
    io(r.name);
    io(r.colour);
    io(r.x);
    io(r.y);
    io(r.square);
    io(r.prev_square);
    io(r.facing);
    io(r.travel);
    io(r.dice);
    io(r.character);
    io(r.sex);
    io(r.control);
    io(r.ai_flags);
    io(r.personality);
    io(r.loan_pct);
    io(r.cash_pct);
    io(r.stock_pct);
    io(r.saved_facing);
    io(r.cash);
    io(r.deposit);
    io(r.loan);
    io(r.special_financing);
    io(r.loan_due);
    io(r.points);
    io(r.hotel_days);
    io(r.away_days);
    io(r.jail_days);
    io(r.hospital_days);
    io(r.hibernation_days);
    io(r.sleepwalk_days);
    io(r.stay_days);
    io(r.turtle_days);
    io(r.reserved_58);
    io(r.bank_refusal_days);
    io(r.bank_suspension_days);
    io(r.alliance_days);
    io(r.insurance_days);
    io(r.god_slot);
    io(r.bomb_slot);
    io(r.ally);
    io(r.days_lost_month);
    io(r.reserved_67);
    io(r.ill_fortune);
    io(r.money_luck);
    io(r.mishap_luck);
    io(r.inside_facility);
    for (auto& g : r.grudge)
        io(g);
    io(r.paid_month);
    io(r.received_month);
    io(r.setup_control);
    io(r.saved_dice);
    io(r.sleep_saved_travel);
    io(r.sleep_saved_dice);
}

template <typename Io, typename Rec> void walker_fields(const Io& io, Rec& r) {
    io(r.x);
    io(r.y);
    io(r.square);
    io(r.prev_square);
    io(r.patron);
    io(r.facing);
    io(r.place);
    io(r.memory);
    io(r.hibernation_days);
    io(r.sleepwalk_days);
    io(r.stay_days);
    io(r.turtle_days);
}

template <typename Io, typename Rec> void god_fields(const Io& io, Rec& r) {
    io(r.kind);
    io(r.facing);
    io(r.square);
    io(r.days);
    io(r.holder);
    io(r.flight);
    io(r.flight_facing);
    io(r.fx);
    io(r.fy);
    io(r.fdx);
    io(r.fdy);
}

} // namespace

void player_record_write(const PlayerRecord& r, uint8_t* out) {
    const RecordPut put{out};
    player_fields(put, r);
}

PlayerRecord player_record_read(const uint8_t* in) {
    PlayerRecord r{};
    const RecordGet get{in};
    player_fields(get, r);
    return r;
}

void walker_record_write(const WalkerRecord& r, uint8_t* out) {
    const RecordPut put{out};
    walker_fields(put, r);
}

WalkerRecord walker_record_read(const uint8_t* in) {
    WalkerRecord r{};
    const RecordGet get{in};
    walker_fields(get, r);
    return r;
}

void god_object_write(const GodObject& r, uint8_t* out) {
    const RecordPut put{out};
    god_fields(put, r);
}

GodObject god_object_read(const uint8_t* in) {
    GodObject r{};
    const RecordGet get{in};
    god_fields(get, r);
    return r;
}

// ---------------------------------------------------------------------------
// Day counters

StatusCount status_days_count(uint8_t& counter, uint8_t day_bits) {
    if (counter == 0) return STATUS_IDLE;
    if (counter & STATUS_END_MARK) {
        counter = 0;
        return STATUS_ENDED;
    }
    const uint8_t days = counter & day_bits;
    const uint8_t other = counter & static_cast<uint8_t>(~day_bits);
    // A counter whose day bits are already 0 (a kind bit alone) has no day
    // left: it takes the end mark like one that just ran out.
    if (days <= 1) {
        counter = static_cast<uint8_t>(other | STATUS_END_MARK);
    } else {
        counter = static_cast<uint8_t>(other | (days - 1));
    }
    return STATUS_RUNNING;
}

StatusCount status_days_count(int32_t& counter) {
    if (counter == 0) return STATUS_IDLE;
    // A wide counter follows the byte rule on its low byte; anything that does
    // not fit a byte's day bits is treated as ending, as the byte would.
    uint8_t byte = static_cast<uint8_t>(counter);
    if (counter < 0 || counter > 0xFF) byte = STATUS_END_MARK;
    StatusCount result = status_days_count(byte);
    counter = byte;
    return result;
}

int status_days_left(uint8_t counter, uint8_t day_bits) {
    return (counter & (day_bits & STATUS_DAY_BITS)) + 1;
}

// ---------------------------------------------------------------------------
// Player queries

namespace {

PlayerRecord& rec(int p) {
    return player_table[static_cast<size_t>(p)];
}

} // namespace

int player_first_in_mask(uint32_t mask) {
    for (int bit = 0; bit < 8; ++bit) {
        if (mask & (1u << bit)) return bit;
    }
    return -1;
}

int player_count_active() {
    int count = 0;
    for (const PlayerRecord& r : player_table)
        count += r.control != 0;
    return count;
}

int player_count_human() {
    int count = 0;
    for (const PlayerRecord& r : player_table)
        count += (r.control & CTRL_HUMAN) != 0;
    return count;
}

bool player_is_free(int p) {
    if (!is_player_seat(p)) return false;
    const PlayerRecord& r = rec(p);
    return r.control != 0 && r.hotel_days == 0 && r.away_days == 0 && r.jail_days == 0 &&
           r.hospital_days == 0;
}

int player_most_hated(int p) {
    if (!is_player_seat(p)) return -1;
    int best = -1;
    int32_t best_grudge = 0;
    for (int q = 0; q < PLAYER_COUNT; ++q) {
        if (q == p || rec(q).control == 0) continue;
        int32_t g = rec(p).grudge[q];
        if (g > best_grudge) {
            best_grudge = g;
            best = q;
        }
    }
    return best;
}

int player_random_other(int p) {
    int candidates[PLAYER_COUNT];
    int count = 0;
    for (int q = 0; q < PLAYER_COUNT; ++q) {
        if (q != p && player_is_free(q)) candidates[count++] = q;
    }
    if (count == 0) return -1;
    return candidates[game_rand() % count];
}

void player_add_grudge(int p, int toward, int32_t amount) {
    // Callers pass -1 for "no owner" or "no attacker": nothing to remember then.
    if (!is_player_seat(p) || !is_player_seat(toward) || p == toward) return;
    int32_t& g = rec(p).grudge[toward];
    if (amount < 0 && g <= 0) return;
    int64_t raised = static_cast<int64_t>(g) + amount;
    g = static_cast<int32_t>(std::clamp<int64_t>(raised, 0, INT32_MAX));
    if (amount > 0 && owner_is_seat(rec(p).ally, toward)) player_break_alliance(p);
}

void player_break_alliance(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = rec(p);
    r.alliance_days = 0;
    int ally = seat_of_owner(r.ally);
    if (is_player_seat(ally)) {
        rec(ally).alliance_days = 0;
        rec(ally).ally = 0;
    }
    r.ally = 0;
}

void player_end_hotel_stays() {
    for (PlayerRecord& r : player_table) {
        if (r.control != 0 && r.hotel_days != 0) r.hotel_days = STATUS_END_MARK;
    }
}

const char* player_name(int p) {
    if (!is_player_seat(p)) return "";
    const PlayerRecord& r = rec(p);
    if (r.name < CHARACTER_COUNT) return character_name(static_cast<int>(r.name));
    return character_name(r.character);
}

std::string player_plain_name(int p) {
    return util_without_spaces(player_name(p));
}

int owner_character(int owner) {
    if (owner < 1 || owner > PLAYER_COUNT) return 0;
    return player_table[static_cast<size_t>(seat_of_owner(owner))].character % CHARACTER_COUNT;
}

void player_rebind_names() {
    // An empty seat has character 0 and name 0, so it stays all zero.
    for (PlayerRecord& r : player_table)
        r.name = r.character;
}

WORLD_RESET(WORLD_RESET_GAME_STATE, game_state_reset)
