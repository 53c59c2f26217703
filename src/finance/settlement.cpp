#include "finance/settlement.h"

#include <cstdio>

#include "board/game_state.h"
#include "board/turn_steps.h"
#include "data/characters.h"
#include "engine/music.h"
#include "engine/util.h"
#include "finance/assets.h"

namespace {

SettleObserver observer = nullptr;

constexpr int SETTLE_MUSIC = 9;
constexpr int64_t DAY_LOST_WEIGHT = 2500;
constexpr int64_t ILL_FORTUNE_WEIGHT = 10;
constexpr double CLEAR_LEAD = 0.4;

SettlePicks month_end_unshown(const SettleList& list) {
    if (list.count == 0) return SettlePicks{};
    settle_pay_bonus();
    return SettlePicks{settle_pick_unluckiest(), settle_pick_champion()};
}

} // namespace

constinit PresenterSlot<SettlePresenter> settle_presenter{SettlePresenter{month_end_unshown}};

SettleList settle_listed() {
    SettleList list;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (player_table[p].control != 0) list.seats[list.count++] = p;
    return list;
}

int64_t settle_interest(int player) {
    return static_cast<int64_t>(player_table[player].deposit * 0.1);
}

void settle_pay_bonus() {
    const SettleList list = settle_listed();
    for (int i = 0; i < list.count; ++i) {
        PlayerRecord& r = player_table[list.seats[i]];
        if (r.loan != 0) continue;
        r.deposit = util_clamp32(static_cast<int64_t>(r.deposit * 1.1));
    }
}

int64_t settle_unluck_score(int player) {
    const PlayerRecord& r = player_table[player];
    return static_cast<int64_t>(r.paid_month) - r.received_month +
           static_cast<int64_t>(r.days_lost_month) * game_price_index * DAY_LOST_WEIGHT +
           static_cast<int64_t>(r.ill_fortune) * ILL_FORTUNE_WEIGHT;
}

int settle_pick_unluckiest() {
    const SettleList list = settle_listed();
    std::array<int64_t, 4> score{};
    int64_t best = 0;
    int who = -1;
    for (int i = 0; i < list.count; ++i) {
        score[i] = settle_unluck_score(list.seats[i]);
        if (score[i] > best) {
            best = score[i];
            who = i;
        }
    }
    int64_t second = 0;
    for (int i = 0; i < list.count; ++i) {
        if (score[i] == best) score[i] = 0;
        if (score[i] > second) second = score[i];
    }
    if (best == 0 || second == 0) return -1;
    return static_cast<double>(best - second) / static_cast<double>(best) > CLEAR_LEAD ? who : -1;
}

int settle_pick_champion() {
    const SettleList list = settle_listed();
    int32_t best = 0;
    int who = 0;
    for (int i = 0; i < list.count; ++i) {
        const int32_t w = asset_net_worth(list.seats[i]);
        if (w > best) {
            best = w;
            who = i;
        }
    }
    return who;
}

void settle_reset_counters() {
    const SettleList list = settle_listed();
    for (int i = 0; i < list.count; ++i) {
        PlayerRecord& r = player_table[list.seats[i]];
        r.days_lost_month = 0;
        r.paid_month = 0;
        r.received_month = 0;
    }
}

void settle_name_line(int first_voice, int character, char* out, int size) {
    std::snprintf(out, static_cast<size_t>(size), "#%04d%s", first_voice + character,
                  character_name(character));
}

void settle_monthly() {
    SettleReport report;
    report.list = settle_listed();
    for (int i = 0; i < report.list.count; ++i) {
        const PlayerRecord& r = player_table[report.list.seats[i]];
        report.deposit_before[i] = r.deposit;
        report.loan[i] = r.loan;
    }
    music_play_event(SETTLE_MUSIC);
    const SettlePicks picks = settle_presenter().month_end(report.list);
    music_resume();
    settle_reset_counters();
    for (int i = 0; i < report.list.count; ++i)
        report.deposit_after[i] = player_table[report.list.seats[i]].deposit;
    report.unluckiest = picks.unluckiest >= 0 ? report.list.seats[picks.unluckiest] : -1;
    report.champion = picks.champion >= 0 ? report.list.seats[picks.champion] : -1;
    if (observer) observer(report);
}

void settle_set_observer(SettleObserver o) {
    observer = o;
}

NEW_DAY_STEP(NEW_DAY_SETTLEMENT, settle_monthly)
