// The state of a running game: the four player records, the five wandering
// figures, the god and object slots, the movers' animation records and the
// scalar game values.
//
// The record types are in board/game_types.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "board/game_types.h"

// ---------------------------------------------------------------------------
// Record images in files: little-endian, field by field, every byte kept.

inline constexpr size_t PLAYER_RECORD_SIZE = 104;
inline constexpr size_t WALKER_RECORD_SIZE = 16;
inline constexpr size_t GOD_OBJECT_SIZE = 24;

void player_record_write(const PlayerRecord& r, uint8_t* out);
PlayerRecord player_record_read(const uint8_t* in);
void walker_record_write(const WalkerRecord& r, uint8_t* out);
WalkerRecord walker_record_read(const uint8_t* in);
void god_object_write(const GodObject& r, uint8_t* out);
GodObject god_object_read(const uint8_t* in);

// ---------------------------------------------------------------------------
// Game-state values

extern int32_t game_player_count; // players 2..4
extern int32_t game_human_count;  // humans at the start
extern int32_t game_start_money;
extern int32_t game_asset_target; // 0 none
extern int32_t game_day_limit;    // 0 none
extern int32_t game_land_term;    // 0..5, index of land_term_delta
extern int32_t game_travel_mode;
extern int32_t game_map; // 0..3
extern int32_t game_days_elapsed;
extern int32_t game_months_elapsed;
extern int32_t game_active_mover; // 0..8
extern int32_t game_price_index;  // starts at 1, only rises
// An amount at today's prices: base times the price index, in 64 bits. Who
// stores it clamps it (util_clamp32); who compares keeps the 64-bit value.
inline int64_t price_scaled(int64_t base) {
    return base * game_price_index;
}
extern uint32_t& game_date; // PackedDate, the settings' date (engine/options.h)
extern int32_t lotto_jackpot;
extern std::array<uint8_t, CHARACTER_COUNT> character_state; // 1 played by the human, 2 beaten
extern int32_t view_rotation;                                // 0..7

extern std::array<GodObject, GOD_SLOT_COUNT> god_table;
extern std::array<WalkerRecord, WALKER_COUNT> walker_table;
extern std::array<PlayerRecord, PLAYER_COUNT> player_table;
extern std::array<ActorAnim, MOVER_COUNT> actor_anim_table;

// Not saved.
extern int32_t move_steps_left;
extern int32_t dice_total;
extern uint8_t game_end_code;
extern uint8_t turn_running;

// Clears the whole game state: every record zero, the god slots holding their
// fixed kinds, the walkers as a new game starts them, the price index 1 and
// the date left as the settings hold it.
void game_state_reset();
// Frees every god slot (slot 0 included) and gives it its fixed kind.
void god_table_reset();

// Walker record of mover 4..8.
WalkerRecord& walker_of_mover(int mover);

// ---------------------------------------------------------------------------
// Day counters

// Result of one count of a day counter.
enum StatusCount : int {
    STATUS_IDLE = 0,    // no state was running (the counter is 0)
    STATUS_RUNNING = 1, // the state goes on (counted down, or the end mark stored)
    STATUS_ENDED = 2,   // the state ends now: run its end action; the counter is 0
};
// The one counting rule of every day counter: a running value is lowered by
// one; when its day bits reach 0 the end mark 0x80 is stored (other bits kept);
// at the next count a value with the end mark ends the state and becomes 0.
// A counter set to n thus runs for n counts and ends at count n + 1.
// `day_bits` selects the bits that hold the days (0x3F for away_days, whose
// bit 6 holds the kind of disappearance).
inline constexpr uint8_t STATUS_END_MARK = 0x80;
inline constexpr uint8_t STATUS_DAY_BITS = 0x7F;
inline constexpr uint8_t AWAY_DAY_BITS = 0x3F;
StatusCount status_days_count(uint8_t& counter, uint8_t day_bits = STATUS_DAY_BITS);
// The same rule for a counter held in a wider integer (the market's closed days).
StatusCount status_days_count(int32_t& counter);
// Days shown to the player as left: (v & 0x7F) + 1; away_days (v & 0x3F) + 1.
int status_days_left(uint8_t counter, uint8_t day_bits = STATUS_DAY_BITS);

// ---------------------------------------------------------------------------
// Player queries (players 0..3)

int player_first_in_mask(uint32_t mask); // lowest set bit of the low byte, -1 none
int player_count_active();               // control not 0
int player_count_human();                // CTRL_HUMAN set
bool player_is_free(int p);              // in the game and not in hotel, away, jail, hospital
int player_most_hated(int p);            // -1 none
int player_random_other(int p);          // -1 none
void player_add_grudge(int p, int toward, int32_t amount);
void player_break_alliance(int p);
void player_end_hotel_stays();
// The player's name text (the character's name).
const char* player_name(int p);
// The name as messages write it: without its spaces.
std::string player_plain_name(int p);
// The character (0..11) of an owner byte's player, 0 for nobody: the row of
// its flag and owner marks.
int owner_character(int owner);
// Binds every player's name to its character again, after the records were
// read from a file.
void player_rebind_names();
