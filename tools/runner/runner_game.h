// A computer-only game played headless: set up by the game's own new-game
// routine from the runner's choices (characters drawn from the seed, the map
// from the stand-in MAPDAT.MKF), then the real main-loop idle pass, with the messages
// dispatched before it as in the main loop, on SDL's dummy drivers and the
// virtual clock until the game ends or its day limit is reached.
#pragma once

#include <cstdint>
#include <string>

struct PlatSurface;

struct RunnerOptions {
    uint32_t seed = 1;
    int map = 0;     // 0..3
    int players = 4; // 2..4
    int days = 400;  // the game's day limit
    bool animations = false;
    bool autosave = false; // slot 0 written after each new day
    // Seat 0 is a human's (the others stay the computer's).
    bool human = false;
    // Virtual time the game starts at (tests start it just below a limit).
    uint32_t clock_start_ms = 0;
    // The set-up screen's choices (rows of its tables): starting money
    // (3 = 50000), travel mode, land term and victory target (0 = none).
    int money = 3;
    int travel = 0;
    int land_term = 0;
    int victory = 0;
};

// Why a game stopped before it ended by its own rules.
enum RunnerStop : int {
    RUNNER_ENDED = 0,   // the game set its end code
    RUNNER_STALLED = 1, // no new day came within the work budget of a day
    RUNNER_CLOSED = 2,  // a close request: a signal, or nothing could ever happen again
};

struct RunnerResult {
    int end_code = 0;   // the game end code the game set, 0 when it stalled
    int leader = -1;    // the player in the game with the largest net worth, -1 none
    int days = 0;       // days played
    uint64_t ticks = 0; // animation ticks run
    RunnerStop stop = RUNNER_ENDED;
    int stop_signal = 0; // the signal behind a close request, 0 none
    // Where a stalled game stood: the day, the date, the active mover and its
    // turn phase, and the work done since the last new day.
    int stall_day = 0;
    uint32_t stall_date = 0;
    int stall_mover = -1;
    int stall_phase = -1;
    uint64_t stall_ticks = 0;
    uint64_t stall_steps = 0;
};

// Work a game may do without a new day before it counts as stalled: animation
// ticks, turn steps, and passes of the loop (which catch a loop that neither
// ticks nor steps). A normal day takes at most about 600 ticks, 10 turn steps
// and 1200 passes.
inline constexpr uint64_t RUNNER_STALL_TICKS = 20000;
inline constexpr uint64_t RUNNER_STALL_STEPS = 1000;
inline constexpr uint64_t RUNNER_STALL_PASSES = 200000;

// The runner's set-up: the animations option, the seed, the set-up screen's
// choices and the characters drawn from the seed (seat 0 a human's with
// options.human, every other seat the computer's), the game's new-game
// routine, then the runner's own day limit (the map itself is not loaded
// yet). False, with the routine's reason in `error`, for a choice it refuses.
bool runner_seat_players(const RunnerOptions& options, std::string* error);
// A human in seat 0 plays the board screen in the program's own window
// (headless under KARVO_HEADLESS=1), the title and set-up screens skipped.
// `script` (may be null) feeds a scripted session and closes the window at
// its end; `shot` (may be null) is where the primary surface is written as a
// 24-bit BMP when the window closes. Returns the exit status: 0 closed, 1
// the platform, the display or the map failed (the reason in `error`).
int runner_human_session(const RunnerOptions& options, const char* script, const char* shot,
                         std::string* error);
// Called once in a human session when its game has been set up and its map
// loaded, before the board screen opens (nullptr: nothing); a test that plays
// the session watches it from there.
extern void (*runner_human_game_started)();

// Sets the game up; false with the reason in `error`.
bool runner_setup(const RunnerOptions& options, std::string* error);
// Plays it; on_day (when given) runs once after every new day.
RunnerResult runner_play(const RunnerOptions& options, void (*on_day)(void* context),
                         void* context);
// Stops the platform layer that runner_setup started (a later set-up
// restarts it).
void runner_close();

// The line printed for each game day: the date and, per player, cash,
// deposit, square and status counters, loan, special financing and the
// loan's due date. Other columns are added here.
std::string runner_day_line();
// The market's invariants: for every stock the shares in the market, with
// its company and with the players make 10000, every price lies in 1.0 to
// 9999.0, and the price index is not below *last_price_index (which is then
// updated; start it at 1). Empty when all hold, else what is broken.
std::string runner_stock_check(int32_t* last_price_index);
// Money and ownership invariants: nobody in the game with negative cash or
// deposit, every money_pay so far conserved, no refused payment, owners,
// levels, kinds and chairmen in range. Empty when all hold, else what broke.
std::string runner_money_check();
// The bank's invariants: for every player in the game a loan and special
// financing not negative and a due date exactly when there is a loan, and no
// bank operation so far that broke its limits (the bank's audit). Empty when
// all hold, else what broke.
std::string runner_bank_check();
// Day-line columns of the ledger: owned plots and facilities with their
// levels per player, the jackpot, each company's earnings.
std::string runner_money_columns();
// Day-line column of the news events and fate rows shown since the last
// call, " | N e,e F r,r" in the order shown (empty when none).
std::string runner_event_columns();
// The messages the game showed since the last call (or since the log was
// last cleared), one line each, "  message: " and the text with its line
// breaks as spaces; the log is cleared. Empty when none was shown.
std::string runner_shown_messages();
// The items' invariants: for each item 1..8 the copies in the hands, the
// shop, ridden and standing on the board (roadblocks, mines, time bombs) make
// 10; no count above 9, the row's last two bytes 0; and, since the last
// check, no refused item changed counts, stock or travel (needs
// runner_watch_items). Empty when all hold, else what is broken.
std::string runner_item_check();
// Starts watching the item routines for runner_item_check.
void runner_watch_items();
// How often item n (1..14) was used since runner_watch_items.
int runner_items_used(int n);
// Day-line columns of the items: per player the travel mode and the counts
// of items 1..13, one digit each.
std::string runner_item_columns();
// Month ends and the bulletin board: since the last call every settlement
// paid the bonus exactly to the deposits without a loan and reset the
// counters, every purchase was another's offer and a computer bought only
// shares or land; and the board's rows are packed, in the game's seats, with
// objects in range (needs runner_watch_settlements). Empty when all hold.
std::string runner_settlement_check();
// Starts watching the settlements and the board's purchases.
void runner_watch_settlements();
int runner_settlements_seen();
int runner_board_purchases();
// Day-line column of the offers: per player type letter, object and asking.
std::string runner_offer_columns();
// The last line: end code, leader and days played.
std::string runner_final_line(const RunnerResult& result);
// The line of a game that did not end by its own rules: for a stall the day,
// the mover and its phase; for a close request what asked for it.
std::string runner_stop_line(const RunnerResult& result);
// The exit status: 0 the game ended, 3 it stalled, 4 an invariant broke,
// 128 + signal when a signal stopped it (a close request without a signal
// means nothing could happen any more: a stall).
int runner_exit_status(const RunnerResult& result, bool invariant_broken);

// Cards: watches every card command from now on (a refused card must leave
// the hand as it was, a played one take exactly one copy of its id).
void runner_watch_cards();
// The check of one card command (the observer runner_watch_cards installs).
struct CardCommand;
void runner_check_card_command(const CardCommand& command, void* context);
// Card commands played since runner_watch_cards.
int runner_cards_played();
// The first card command that broke that rule since the last call, else
// whether every card id's copies in all hands and the pool make its stock,
// hands are packed with valid ids, no item is held more than 9 times and no
// shop stock is above its start. Empty when all hold.
std::string runner_card_check();
// Day-line column of every player's hand: " | C 3,7 / - / 12".
std::string runner_card_columns();

// The lottery: watches every sale and draw from now on (a sale moves 1000
// cash to the jackpot and a free number to the buyer; a hit the jackpot to
// the winner's cash, every number freed; a miss nothing).
void runner_watch_lottery();
struct RunnerLottoCounts {
    int sales = 0, draws = 0, hits = 0;
};
RunnerLottoCounts runner_lottery_counts();
// The first sale or draw that broke those rules since the last call, else
// whether every owned number belongs to a player in the game. Empty when all hold.
std::string runner_lottery_check();
// Day-line column of the lottery numbers each player owns: " | L 3,17 / - / 5".
std::string runner_lottery_columns();

// Auctions: watches every auction from now on (sold: the price from the
// winner to the seller or the jackpot, the winner owning; void: the
// property's owner, level and expiry and every account as they were).
void runner_watch_auctions();
struct RunnerAuctionCounts {
    int auctions = 0, sold = 0;
};
RunnerAuctionCounts runner_auction_counts();
// The first auction that broke those rules since the last call; empty when none.
std::string runner_auction_check();

// The shop and the magic house: watches their visits from now on (runner_setup
// starts it). A shop visit must take 10 yuan a point spent plus the prices
// sold back and book it whole to the store company; the magic house must
// choose exactly who meets its condition, and a computer give the fate its
// rule allows. The first break since the last call, else empty.
void runner_watch_shop();
std::string runner_shop_check();
int runner_shop_visits();
int runner_magic_visits();
// Day-line column of every player's points and the day's visits:
// " | pts 120,45 shop0=350 magic1=3>7" (shop: the takings; magic: condition > fate).
std::string runner_points_columns();
