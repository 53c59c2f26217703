// The types of the game state: enumerations, counts, seat and owner codes
// and the record layouts of players, characters, wandering figures, god
// slots and movers. Types only, so the constant tables (src/data) can hold
// records without reaching the rules.
//
// PlayerRecord, WalkerRecord and GodObject are stored whole in save games and
// time-machine snapshots, so their layout is a file format: every byte is
// kept, reserved bytes included, and the layout is checked below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

struct ImageRecord;
struct FrameSet;

// ---------------------------------------------------------------------------
// Enumerations

// Bits of PlayerRecord::control.
enum PlayerControl : uint8_t {
    CTRL_OUT = 0, // out of the game, or not yet on the board
    CTRL_HUMAN = 1,
    CTRL_COMPUTER = 2,
    CTRL_HANDED_OVER = 4,  // a human handed over to the computer (stored as 5)
    CTRL_STEPPING = 0x10,  // stepping out of a building back to its square
    CTRL_INSIDE = 0x20,    // stepping into a facility
    CTRL_BLAST_HIT = 0x40, // lost the vehicle to a blast
};
// The computer plays this control byte's seat: a computer player, or a human
// who handed over.
constexpr bool control_acts_by_itself(uint8_t control) {
    return (control & (CTRL_COMPUTER | CTRL_HANDED_OVER)) != 0;
}
// Bits 4-6 live for one turn only and are cleared when the turn ends.
inline constexpr uint8_t CTRL_TURN_BITS = CTRL_STEPPING | CTRL_INSIDE | CTRL_BLAST_HIT;

enum TravelMode : uint8_t {
    TRAVEL_WALK = 0,
    TRAVEL_MOTORBIKE = 1,
    TRAVEL_CAR = 2,
    TRAVEL_CONSTRUCTION = 3,
};
// PlayerRecord::travel: bits 0-1 the mode; with TRAVEL_CONSTRUCTION bits 2-7
// hold the days left.
inline constexpr uint8_t TRAVEL_MODE_MASK = 0x03;
inline constexpr uint8_t TRAVEL_FRESH_CONSTRUCTION = 0x1F; // 7 days

enum Personality : uint8_t {
    PERS_GOOD = 0,
    PERS_NORMAL = 1,
    PERS_CUNNING = 2,
};

enum WalkerPlace : uint8_t {
    WALKER_FREE = 0,
    WALKER_IN_JAIL = 1,
    WALKER_IN_HOSPITAL = 2,
    WALKER_OFF_BOARD = 3,
};

enum TurnPhase : uint8_t {
    PHASE_WAIT = 0,
    PHASE_MOVING = 1,
    PHASE_DICE = 2,
    PHASE_RAZE = 3,
};

enum GodKind : uint8_t {
    GK_NONE = 0,
    GK_SMALL_WEALTH = 1,
    GK_BIG_WEALTH = 2,
    GK_SMALL_FORTUNE = 3,
    GK_BIG_FORTUNE = 4,
    GK_SMALL_POVERTY = 5,
    GK_BIG_POVERTY = 6,
    GK_SMALL_BAD_LUCK = 7,
    GK_BIG_BAD_LUCK = 8,
    GK_ANGEL = 9,
    GK_DEVIL = 10,
    GK_DOG = 11,
    GK_LAND_GOD = 12,
    GK_GIFT = 13,
    GK_CHEST = 14,
    GK_DEATH = 15,
    GK_ROADBLOCK = 16,
    GK_MINE = 17,
    GK_TIME_BOMB = 18,
};
inline constexpr int GOD_KIND_COUNT = 19; // kinds 0..18
// Kinds 1-10, 12 and 15 can attach to a player.
bool god_kind_can_attach(int kind);

// ---------------------------------------------------------------------------
// Counts

inline constexpr int PLAYER_COUNT = 4;     // seats in player_table
inline constexpr int CHARACTER_COUNT = 12; // rows of character_table
inline constexpr int WALKER_COUNT = 5;     // movers 4..8
inline constexpr int MOVER_COUNT = 9;      // players 0-3, walkers 4-7, robot doll 8
inline constexpr int GOD_SLOT_COUNT = 47;  // slots 0..46, slot 0 never used
inline constexpr int GOD_FIRST_SLOT = 1;
inline constexpr int GOD_LAST_SLOT = 46;

// Movers.
inline constexpr int MOVER_THIEF = 4;
inline constexpr int MOVER_ROBBER = 5;
inline constexpr int MOVER_HOOLIGAN = 6;
inline constexpr int MOVER_SPY = 7;
inline constexpr int MOVER_ROBOT_DOLL = 8;
inline constexpr int MOVER_FIRST_WALKER = MOVER_THIEF; // walker_table[mover - 4]

// Seats, owner bytes and movers. A seat is 0..3; an owner byte (owners of
// plots and facilities, chairmen, top holders, god holders, allies, lottery
// tickets) stores seat + 1, OWNER_NONE for nobody; movers 0..3 are the seats.
//
// A stored owner byte (of a plot or facility, a chairman, a top holder, a
// god's holder, an ally) is an Owner: it reads as its byte, but nothing
// converts into it, so a seat is stored only through owner_of_seat (or
// copied from another Owner, or OWNER_NONE).
struct Owner {
    uint8_t code;
    constexpr operator uint8_t() const { return code; }
};
static_assert(sizeof(Owner) == 1 && alignof(Owner) == 1);
static_assert(!std::is_assignable_v<Owner&, int>, "a seat is stored only through owner_of_seat");
static_assert(!std::is_convertible_v<int, Owner>);
inline constexpr Owner OWNER_NONE{0};
constexpr bool is_player_seat(int seat) {
    return seat >= 0 && seat < PLAYER_COUNT;
}
constexpr Owner owner_of_seat(int seat) {
    return Owner{static_cast<uint8_t>(seat + 1)};
}
constexpr int seat_of_owner(int owner) {
    return owner - 1;
}
constexpr bool owner_is_seat(int owner, int seat) {
    return owner == seat + 1;
}
// The four wandering characters (thief, robber, hooligan, spy); the robot
// doll is a walker too but wanders nowhere by itself.
constexpr bool is_wanderer(int mover) {
    return mover >= MOVER_THIEF && mover <= MOVER_SPY;
}
constexpr int walker_index_of_mover(int mover) {
    return mover - MOVER_FIRST_WALKER;
}

// ---------------------------------------------------------------------------
// Records

// One seat of the game (104 bytes). Owners and allies are player + 1, 0 none.
struct PlayerRecord {
    uint32_t name;   // index of the character whose name this is (see player_rebind_names)
    uint32_t colour; // 0x00RRGGBB
    uint16_t x;      // token position, world units
    uint16_t y;
    uint16_t square;      // square the player stands on
    uint16_t prev_square; // square it came from
    uint8_t facing;       // 0..7
    uint8_t travel;       // TravelMode in bits 0-1, construction days in bits 2-7
    uint8_t dice;         // dice thrown, 1..3
    uint8_t character;    // 0..11, row of character_table
    uint8_t sex;          // 1 male, 0 female
    uint8_t control;      // PlayerControl
    uint8_t ai_flags;     // bit 0 may use cards, bit 1 may use items
    uint8_t personality;  // Personality
    uint8_t loan_pct;     // computer: share of the loan limit it borrows
    uint8_t cash_pct;     // computer: share of its money kept as cash
    uint8_t stock_pct;    // computer: share of its money put into shares
    uint8_t saved_facing; // low 4 bits, 15 none
    int32_t cash;
    int32_t deposit;
    int32_t loan;
    int32_t special_financing;
    uint32_t loan_due; // PackedDate, 0 none
    uint16_t points;
    uint8_t hotel_days; // the day counters follow status_days_count
    uint8_t away_days;  // bits 0-5 days, bits 6-7 kind (bit 6 picks the return film)
    uint8_t jail_days;
    uint8_t hospital_days;
    uint8_t hibernation_days;
    uint8_t sleepwalk_days;
    uint8_t stay_days;
    uint8_t turtle_days;
    uint8_t reserved_58;
    uint8_t bank_refusal_days;
    uint8_t bank_suspension_days;
    uint8_t alliance_days;
    uint8_t insurance_days;
    uint8_t god_slot;        // attached GodObject slot, 0 none
    uint8_t bomb_slot;       // slot of the carried time bomb, 0 none
    Owner ally;              // player + 1, 0 none
    uint8_t days_lost_month; // away, jail, hospital days this month
    uint8_t reserved_67;
    int16_t ill_fortune;
    int16_t money_luck;
    int16_t mishap_luck;
    int16_t inside_facility;      // FacilityLot index (with CTRL_INSIDE)
    int32_t grudge[PLAYER_COUNT]; // never below 0
    int32_t paid_month;
    int32_t received_month;
    uint8_t setup_control; // before the first turn the control chosen at setup; later the travel
                           // byte saved while a construction vehicle is ridden
    uint8_t saved_dice;    // dice saved while a construction vehicle is ridden
    uint8_t sleep_saved_travel;
    uint8_t sleep_saved_dice;
};
static_assert(sizeof(PlayerRecord) == 104);
static_assert(offsetof(PlayerRecord, colour) == 4);
static_assert(offsetof(PlayerRecord, x) == 8);
static_assert(offsetof(PlayerRecord, y) == 10);
static_assert(offsetof(PlayerRecord, square) == 12);
static_assert(offsetof(PlayerRecord, prev_square) == 14);
static_assert(offsetof(PlayerRecord, facing) == 16);
static_assert(offsetof(PlayerRecord, travel) == 17);
static_assert(offsetof(PlayerRecord, dice) == 18);
static_assert(offsetof(PlayerRecord, character) == 19);
static_assert(offsetof(PlayerRecord, sex) == 20);
static_assert(offsetof(PlayerRecord, control) == 21);
static_assert(offsetof(PlayerRecord, ai_flags) == 22);
static_assert(offsetof(PlayerRecord, personality) == 23);
static_assert(offsetof(PlayerRecord, loan_pct) == 24);
static_assert(offsetof(PlayerRecord, cash_pct) == 25);
static_assert(offsetof(PlayerRecord, stock_pct) == 26);
static_assert(offsetof(PlayerRecord, saved_facing) == 27);
static_assert(offsetof(PlayerRecord, cash) == 28);
static_assert(offsetof(PlayerRecord, deposit) == 32);
static_assert(offsetof(PlayerRecord, loan) == 36);
static_assert(offsetof(PlayerRecord, special_financing) == 40);
static_assert(offsetof(PlayerRecord, loan_due) == 44);
static_assert(offsetof(PlayerRecord, points) == 48);
static_assert(offsetof(PlayerRecord, hotel_days) == 50);
static_assert(offsetof(PlayerRecord, away_days) == 51);
static_assert(offsetof(PlayerRecord, jail_days) == 52);
static_assert(offsetof(PlayerRecord, hospital_days) == 53);
static_assert(offsetof(PlayerRecord, hibernation_days) == 54);
static_assert(offsetof(PlayerRecord, sleepwalk_days) == 55);
static_assert(offsetof(PlayerRecord, stay_days) == 56);
static_assert(offsetof(PlayerRecord, turtle_days) == 57);
static_assert(offsetof(PlayerRecord, reserved_58) == 58);
static_assert(offsetof(PlayerRecord, bank_refusal_days) == 59);
static_assert(offsetof(PlayerRecord, bank_suspension_days) == 60);
static_assert(offsetof(PlayerRecord, alliance_days) == 61);
static_assert(offsetof(PlayerRecord, insurance_days) == 62);
static_assert(offsetof(PlayerRecord, god_slot) == 63);
static_assert(offsetof(PlayerRecord, bomb_slot) == 64);
static_assert(offsetof(PlayerRecord, ally) == 65);
static_assert(offsetof(PlayerRecord, days_lost_month) == 66);
static_assert(offsetof(PlayerRecord, reserved_67) == 67);
static_assert(offsetof(PlayerRecord, ill_fortune) == 68);
static_assert(offsetof(PlayerRecord, money_luck) == 70);
static_assert(offsetof(PlayerRecord, mishap_luck) == 72);
static_assert(offsetof(PlayerRecord, inside_facility) == 74);
static_assert(offsetof(PlayerRecord, grudge) == 76);
static_assert(offsetof(PlayerRecord, paid_month) == 92);
static_assert(offsetof(PlayerRecord, received_month) == 96);
static_assert(offsetof(PlayerRecord, setup_control) == 100);
static_assert(offsetof(PlayerRecord, saved_dice) == 101);
static_assert(offsetof(PlayerRecord, sleep_saved_travel) == 102);
static_assert(offsetof(PlayerRecord, sleep_saved_dice) == 103);

// The playable characters are constant records in the player layout.
using CharacterTemplate = PlayerRecord;

// One wandering figure (16 bytes): thief, robber, hooligan, spy, robot doll.
struct WalkerRecord {
    uint16_t x;
    uint16_t y;
    uint16_t square;
    uint16_t prev_square;
    uint8_t patron; // player it works for
    uint8_t facing;
    uint8_t place;  // WalkerPlace
    uint8_t memory; // kept by the release rules
    uint8_t hibernation_days;
    uint8_t sleepwalk_days;
    uint8_t stay_days;
    uint8_t turtle_days;
};
static_assert(sizeof(WalkerRecord) == 16);
static_assert(offsetof(WalkerRecord, y) == 2);
static_assert(offsetof(WalkerRecord, square) == 4);
static_assert(offsetof(WalkerRecord, prev_square) == 6);
static_assert(offsetof(WalkerRecord, patron) == 8);
static_assert(offsetof(WalkerRecord, facing) == 9);
static_assert(offsetof(WalkerRecord, place) == 10);
static_assert(offsetof(WalkerRecord, memory) == 11);
static_assert(offsetof(WalkerRecord, hibernation_days) == 12);
static_assert(offsetof(WalkerRecord, sleepwalk_days) == 13);
static_assert(offsetof(WalkerRecord, stay_days) == 14);
static_assert(offsetof(WalkerRecord, turtle_days) == 15);

// A god, spirit or placed object (24 bytes).
struct GodObject {
    uint8_t kind; // GodKind, fixed per slot
    uint8_t facing;
    uint16_t square; // 0 = slot free
    uint8_t days;    // days left while attached, or the bomb's step counter
    Owner holder;    // player + 1, 0 none
    uint8_t flight;  // frames of a running flight, 0 none, 255 wandering
    uint8_t flight_facing;
    float fx;
    float fy;
    float fdx;
    float fdy;
};
static_assert(sizeof(GodObject) == 24);
static_assert(offsetof(GodObject, facing) == 1);
static_assert(offsetof(GodObject, square) == 2);
static_assert(offsetof(GodObject, days) == 4);
static_assert(offsetof(GodObject, holder) == 5);
static_assert(offsetof(GodObject, flight) == 6);
static_assert(offsetof(GodObject, flight_facing) == 7);
static_assert(offsetof(GodObject, fx) == 8);
static_assert(offsetof(GodObject, fy) == 12);
static_assert(offsetof(GodObject, fdx) == 16);
static_assert(offsetof(GodObject, fdy) == 20);

// Animation and turn phase of one mover. Only `flags` is saved; the rest is
// rebuilt when the map loads.
struct ActorAnim {
    uint8_t flags;  // bits 0-3 walking family, 4-5 extra family, 6 tinted, 7 needs a turn step
    uint8_t indoor; // 1 while shown with indoor or out-of-game sprites
    uint8_t phase;  // TurnPhase
    uint8_t frame;
    uint8_t walk_frame; // 0..5 sleepwalking cycle
    uint8_t
        wait; // low 7 bits ticks; bit 7 set: the turn ends when it runs out, clear: the mover lands
    float fx;
    float fy;
    FrameSet* portrait;               // MAP.MKF 15 + character: portrait, 4 faces, token
    std::array<FrameSet*, 8> sprites; // four pairs, each pair freed together
};
inline constexpr uint8_t ANIM_WALK_FAMILY_MASK = 0x0F;
inline constexpr uint8_t ANIM_EXTRA_INDOOR = 0x10;
inline constexpr uint8_t ANIM_EXTRA_OUT = 0x20;
inline constexpr uint8_t ANIM_EXTRA_JAIL = 0x30;
inline constexpr uint8_t ANIM_EXTRA_MASK = 0x30;
inline constexpr uint8_t ANIM_TINTED = 0x40;
inline constexpr uint8_t ANIM_NEEDS_STEP = 0x80;
inline constexpr uint8_t ANIM_WAIT_ENDS_TURN = 0x80;
