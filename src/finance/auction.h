// The land auction: one plot or facility sold to the highest bidder among
// the players free to act and able to pay the minimum. Humans bid through
// the decision seam (DECIDE_AUCTION_BID), computers up to a limit worked out
// once per auction. The bidding is a chain of steps that the auction window
// runs one per timer tick and that runs straight through with nothing shown,
// so a seed plays alike either way.
#pragma once

#include <array>
#include <cstdint>

#include "engine/presenter.h"

struct LandLot;
struct FacilityLot;

inline constexpr int AUCTION_SEATS = 4;
inline constexpr int AUCTION_RAISES = 5;
// The bid choices: 0 pass, 1..5 raise by auction_raise_steps[choice - 1], 6 give up.
inline constexpr int AUCTION_PASS = 0;
inline constexpr int AUCTION_GIVE_UP = 6;
inline constexpr int AUCTION_CHOICES = 7;
// The raises, plain yuan (never scaled by the price index).
extern const std::array<int32_t, AUCTION_RAISES> auction_raise_steps;

// Why a seat takes no part (AuctionBidder::state before the bidding).
enum AuctionSeatState : uint16_t {
    SEAT_BIDDING = 0,
    SEAT_HOTEL = 1,
    SEAT_AWAY = 2,
    SEAT_JAIL = 3,
    SEAT_HOSPITAL = 4,
    SEAT_HIBERNATING = 5,
    SEAT_SLEEPWALKING = 6,
    SEAT_SELLER = 7,
    SEAT_CANNOT_AFFORD = 8,
};
// The reason shown in an excluded seat's row, states 1..7 ("" otherwise).
const char* auction_seat_reason(int state);

// PANEL.MKF entry of the bidder pictures of character c: 3 c + 27 .. 3 c + 29.
inline constexpr int AUCTION_BIDDER_PICTURE_BASE = 27;
inline constexpr int AUCTION_BIDDER_PICTURES = 3;

struct AuctionBidder {
    uint16_t player; // player + 1, 0 an empty seat (never filled, excluded or gave up)
    uint16_t state;  // AuctionSeatState at seating; while bidding 1 when passed, else 0
    int32_t limit;   // a computer bidder's most
    // The row's pictures (the window reads them; the rules never draw).
    std::array<void*, AUCTION_BIDDER_PICTURES> pictures;
};
extern std::array<AuctionBidder, AUCTION_SEATS> auction_bidders;

// What the auction stands at while auction_run runs.
struct AuctionState {
    int object = 0; // ObjectCode of the plot or facility
    bool facility = false;
    int seller = -1; // player or -1 (proceeds to the jackpot)
    int32_t minimum = 0;
    int32_t price = 0; // the current price
    int leader = -1;   // the leading seat, -1 none
    int turn = -1;     // the seat whose turn it is
    int start_bidders = 0;
    int step = 0;         // AuctionStep: where the bidding chain stands
    int last_choice = -1; // the last choice applied, -1 none (the window shows it)
    int last_seat = -1;   // whose it was
};
extern AuctionState auction_state;

// The minimum price of a plot or facility: its land or facility price times
// (1 + level / 2), truncated, times the price index; 64-bit and held to the
// 32-bit range. 0 for a code that names neither.
int32_t auction_minimum_price(int object);
// The frame of the auction set (PANEL.MKF 26) that pictures the property.
int auction_picture_frame(int object);

// Fills the seats for an auction of `object` at `minimum` with `seller`
// (player or -1): one per player in the game, reasons set, excluded seats
// emptied after, computer limits worked out. Returns the bidders.
int auction_seat_players(int seller, int object, int32_t minimum);
// The seats' states as found at seating (before the excluded were emptied),
// for the window's rows: player + 1 and reason per seat.
struct AuctionSeatView {
    uint16_t player;
    uint16_t state;
};
extern std::array<AuctionSeatView, AUCTION_SEATS> auction_seated;

// A computer bidder's limit: owner is player + 1.
int32_t auction_ai_limit(int owner, int object);
// The choice of a computer bidder in seat at the current price.
int auction_ai_choice(int seat);
// Applies a choice of seat; false when a raise is not covered by the
// bidder's cash (nothing changes then).
bool auction_apply_choice(int seat, int choice);
// A human bidder's choice through the decision seam: give up at once when
// the cash is below the price; an answer that could not be applied is a pass.
int auction_human_choice(int seat);

// The steps of the bidding chain, in the order they run.
enum AuctionStep : int {
    AUCTION_STEP_OPEN,   // the host opens the auction
    AUCTION_STEP_FIRST,  // the first seat and the minimum are announced
    AUCTION_STEP_TURN,   // one seat's turn
    AUCTION_STEP_SOLD,   // the final price
    AUCTION_STEP_WINNER, // the winner's line
    AUCTION_STEP_VOID,   // nobody bid
    AUCTION_STEP_DONE,
};
// The bidding chain: each call runs one step (the opening words, one turn,
// the closing words). Returns true while more steps follow.
bool auction_step();
// The chain's result once it has ended: the winning seat, -1 void.
int auction_result();
// The winner's line, "#01NN恭喜" + name + "购得此地！" (NN = 36 + character).
void auction_winner_line(int character, char* out, int size);

// The auction window: it runs the bidding chain one step a tick for an
// auction set up by auction_run (bidders at the start given) and gives the
// winning seat, -1 void; AUCTION_NOT_SHOWN when nothing is shown, and the
// rules run the chain themselves.
inline constexpr int AUCTION_NOT_SHOWN = -2;
struct AuctionPresenter {
    int (*bidding)(int bidders);
};
extern PresenterSlot<AuctionPresenter> auction_presenter;

// Auctions a plot (2001..3999) or facility (4001..5999); seller a player or
// -1 (the jackpot takes the proceeds); music 1 plays the auction's music
// while it runs. 1 when sold, 0 when void: a void auction leaves the
// property exactly as it was.
int auction_run(int seller, int object, int music);

// An observer of the auctions (the runner's checks): called before the
// bidding (sold -1) and after the sale or void (sold 1 or 0). nullptr removes
// it; a world reset keeps it.
struct AuctionEvent {
    int seller;
    int object;
    int sold;   // -1 before, then 1 sold or 0 void
    int winner; // player, -1 none
    int32_t price;
};
using AuctionObserver = void (*)(const AuctionEvent& event);
void auction_set_observer(AuctionObserver observer);

// Forgets the seats and the auction state (no auction runs between turns).
void auction_reset();
