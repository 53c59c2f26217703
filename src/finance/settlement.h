// The month-end settlement: the listing of deposits and interest, the 10 %
// bonus on the deposits of players without a loan, the month's unluckiest
// player and champion (no money), and the reset of the monthly counters.
#pragma once

#include <array>
#include <cstdint>

#include "engine/presenter.h"

// The whole month end; called once per month change.
void settle_monthly();

// The listed players: those whose control is nonzero, in seat order.
struct SettleList {
    int count = 0;
    std::array<int, 4> seats{};
};
SettleList settle_listed();

// The interest the listing shows: trunc(deposit x 0.1).
int64_t settle_interest(int player);
// The bonus: every listed player without a loan gets deposit := trunc(deposit
// x 1.1), held within 32 bits; a loan of any size gets nothing.
void settle_pay_bonus();
// The picks made (indexes into the listed players, -1 none).
struct SettlePicks {
    int unluckiest = -1;
    int champion = -1;
};
// The settlement screen: it shows the listing, pays the bonus and makes the
// picks at their steps. Without it the bonus is paid and the picks made at
// once, nothing shown.
struct SettlePresenter {
    SettlePicks (*month_end)(const SettleList& list);
};
extern PresenterSlot<SettlePresenter> settle_presenter;

// The unluckiest score: paid - received this month + days lost x price
// index x 2500 + ill-fortune weight x 10.
int64_t settle_unluck_score(int player);
// Index into the listed players, or -1 for nobody: the best positive score
// with a lead over the next lower score of more than 40 %.
int settle_pick_unluckiest();
// Index into the listed players: the largest net worth (first on ties), the
// first listed player when no total is positive.
int settle_pick_champion();
// The listed players' days lost, paid and received this month back to 0.
void settle_reset_counters();

// Name lines of the awards: "#", the voice number and the character's name
// (unluckiest voices 96..107, champion voices 110..121 by character).
inline constexpr int SETTLE_UNLUCKY_VOICE = 96;
inline constexpr int SETTLE_CHAMPION_VOICE = 110;
void settle_name_line(int first_voice, int character, char* out, int size);

// What one settlement did (the runner's checks): the listed players, their
// deposits and loans before the bonus and deposits after it, the two picks
// (seats, -1 none) and whether the awards were shown.
struct SettleReport {
    SettleList list;
    std::array<int32_t, 4> deposit_before{};
    std::array<int32_t, 4> deposit_after{};
    std::array<int32_t, 4> loan{};
    int unluckiest = -1;
    int champion = -1;
};
using SettleObserver = void (*)(const SettleReport& report);
// Called after each settlement, the counters reset; nullptr removes it.
void settle_set_observer(SettleObserver observer);
