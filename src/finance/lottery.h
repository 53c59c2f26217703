// The monthly lottery of 36 numbers: a number costs 1000 yuan, paid straight
// into the jackpot; on the 15th one number is drawn and its owner takes the
// whole jackpot, after which every number is free again. A month without a
// winner carries the jackpot and every owned number over.
#pragma once

#include <array>
#include <cstdint>

#include "board/game_types.h"
#include "engine/presenter.h"

inline constexpr int LOTTO_NUMBERS = 36;
inline constexpr int32_t LOTTO_TICKET_PRICE = 1000; // never scaled by the price index

// Owner (player + 1, 0 free) of each lottery number 1..36 at index n - 1.
extern Owner lotto_owners[LOTTO_NUMBERS];

// Where the holders' panels stand, the k-th player in the game at slot k.
struct LottoSlot {
    int16_t x, y;
};
extern const std::array<LottoSlot, 4> lotto_holder_slots;

// Landing on a lottery square, for the current mover: a human playing by
// hand (control exactly 1) at the ticket window, anybody else by the
// computer's rule (one free number at random when cash is above 1000).
void lotto_visit();
// The monthly draw of the 15th; nothing at all while no number is owned.
void lotto_monthly_draw();

// Free numbers.
int lotto_free_count();
// Sells free number 1..36 to player p: owner p + 1, 1000 from p's cash
// straight into the jackpot. False, changing nothing, for a number owned or
// out of range or a player not in the game.
bool lotto_buy(int p, int number);
// The computer's pick for p: one of the free numbers at random when p's
// cash is above 1000, else 0 (no draw from the generator then).
int lotto_computer_pick(int p);
// The drawn number 1..36: among the owned numbers when somebody owns more
// than ten of them, else any of the 36.
int lotto_draw_number();
// The winner of number (a player in the game), -1 when it is free.
int lotto_owner_of(int number);
// Pays number's owner the jackpot into cash through the ledger's credit,
// empties the jackpot and frees every number. Nothing for a free number.
void lotto_pay_winner(int number);

// The ticket's number under a click at (x, y): the 9 x 4 cells of 64 x 48
// from (30, 271); 0 outside them.
int lotto_cell_at(int x, int y);
// The winner's line of a character: "#00NN" + name, NN = 20 + character.
void lotto_winner_line(int character, char* out, int size);

// A saved or snapshot image of the owners is sound: every byte 0 or a seat
// below player_count (player + 1 in 1..player_count).
bool lotto_owners_valid(const uint8_t* owners, int player_count);

// An observer of the lottery (the runner's checks): called just before and
// just after each sale and each draw, with the buyer or -1, the number
// (0 before a draw) and after = false / true. nullptr removes it; a world
// reset keeps it.
enum LottoEventKind : int { LOTTO_SALE = 0, LOTTO_DRAW = 1 };
struct LottoEvent {
    LottoEventKind kind;
    bool after;
    int player;
    int number;
};
using LottoObserver = void (*)(const LottoEvent& event);
void lotto_set_observer(LottoObserver observer);

// Frees every lottery number.
void lotto_reset();

// What the lottery's windows show, step by step (the ticket window of a
// human's visit, the monthly draw), filled by the window module; without it
// nothing is shown and every step returns at once.
struct LotteryPresenter {
    void (*open_ticket)(int player);                   // the ticket window for player
    void (*stamp)(int number);                         // the stamp on the number bought
    void (*open_draw)();                               // the draw window
    void (*spin)();                                    // the drum turns
    void (*show_number)(int number);                   // the drawn number in big digits
    void (*show_winner)(int winner, const char* line); // the winner's face and name line
    void (*say)(const char* text);                     // the open window's balloon says text
    void (*wait)(uint32_t ms);                         // a pause of the open window
    void (*close)();                                   // the open window gone, the board repainted
};
extern PresenterSlot<LotteryPresenter> lottery_presenter;
