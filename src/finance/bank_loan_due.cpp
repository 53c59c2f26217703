#include "board/calendar.h"
#include "board/game_state.h"
#include "finance/bank.h"

void bank_set_loan_due(int player) {
    if (!is_player_seat(player)) return;
    PlayerRecord& r = player_table[player];
    // A due date already running stays: every later loan falls due with the first.
    if (r.loan_due != 0) return;
    PackedDate due = cal_add_days(game_date, 90);
    while (cal_is_holiday(due))
        cal_next_day(due);
    r.loan_due = due;
}
