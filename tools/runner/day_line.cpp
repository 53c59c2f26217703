#include <cstdio>
#include <string>

#include "board/calendar.h"
#include "board/game_state.h"
#include "engine/shown.h"
#include "finance/assets.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "runner_game.h"

std::string runner_day_line() {
    char buf[160];
    std::snprintf(buf, sizeof buf, "day %d %04d-%02d-%02d", game_days_elapsed, cal_year(game_date),
                  cal_month(game_date), cal_day(game_date));
    std::string line = buf;
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.control == CTRL_OUT && r.x != 0) {
            std::snprintf(buf, sizeof buf, " | P%d out", p);
        } else {
            std::snprintf(buf, sizeof buf,
                          " | P%d cash=%d dep=%d sq=%d st=%02x.%02x.%02x.%02x.%02x.%02x.%02x.%02x",
                          p, r.cash, r.deposit, r.square, r.hotel_days, r.away_days, r.jail_days,
                          r.hospital_days, r.hibernation_days, r.sleepwalk_days, r.stay_days,
                          r.turtle_days);
            line += buf;
            if (r.loan_due != 0)
                std::snprintf(buf, sizeof buf, " loan=%d sf=%d due=%04d-%02d-%02d", r.loan,
                              r.special_financing, cal_year(r.loan_due), cal_month(r.loan_due),
                              cal_day(r.loan_due));
            else
                std::snprintf(buf, sizeof buf, " loan=%d sf=%d due=-", r.loan, r.special_financing);
        }
        line += buf;
        if (r.control != CTRL_OUT) {
            std::snprintf(buf, sizeof buf, " nw=%d h=", asset_net_worth(p));
            line += buf;
            bool any = false;
            for (int i = 0; i < STOCK_COUNT; ++i) {
                if (stock_holdings[p][i].shares == 0) continue;
                std::snprintf(buf, sizeof buf, "%s%d:%d", any ? "," : "", i,
                              stock_holdings[p][i].shares);
                line += buf;
                any = true;
            }
            if (!any) line += "-";
        }
    }
    line += " | S";
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const float price = stock_table[i].price;
        std::snprintf(buf, sizeof buf, " %.*f", 2 - stock_format_class(price), price);
        line += buf;
    }
    line += runner_money_columns();
    line += runner_event_columns();
    line += runner_card_columns();
    line += runner_item_columns();
    line += runner_lottery_columns();
    line += runner_points_columns();
    line += runner_offer_columns();
    return line;
}

std::string runner_final_line(const RunnerResult& result) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "end code=%d leader=%d days=%d ticks=%llu", result.end_code,
                  result.leader, result.days, static_cast<unsigned long long>(result.ticks));
    return buf;
}

std::string runner_stop_line(const RunnerResult& result) {
    char buf[256];
    switch (result.stop) {
    case RUNNER_STALLED: {
        static const char* const phases[] = {"wait", "moving", "dice", "raze"};
        const char* phase = result.stall_phase >= 0 && result.stall_phase < 4
                                ? phases[result.stall_phase]
                                : "unknown";
        std::snprintf(buf, sizeof buf,
                      "stalled on day %d %04d-%02d-%02d: mover %d in phase %d (%s), %llu ticks "
                      "and %llu turn steps without a new day",
                      result.stall_day, cal_year(result.stall_date), cal_month(result.stall_date),
                      cal_day(result.stall_date), result.stall_mover, result.stall_phase, phase,
                      static_cast<unsigned long long>(result.stall_ticks),
                      static_cast<unsigned long long>(result.stall_steps));
        return buf;
    }
    case RUNNER_CLOSED:
        if (result.stop_signal != 0)
            std::snprintf(buf, sizeof buf, "stopped by signal %d on day %d", result.stop_signal,
                          result.days);
        else
            std::snprintf(buf, sizeof buf, "stalled on day %d: nothing could happen any more",
                          result.days);
        return buf;
    case RUNNER_ENDED:
        break;
    }
    return {};
}

int runner_exit_status(const RunnerResult& result, bool invariant_broken) {
    if (result.stop == RUNNER_CLOSED && result.stop_signal != 0) return 128 + result.stop_signal;
    if (invariant_broken) return 4;
    if (result.stop != RUNNER_ENDED || result.end_code == 0) return 3;
    return 0;
}

std::string runner_shown_messages() {
    std::string out;
    for (const ShownEvent& e : shown_log()) {
        if (e.kind != Shown::Message) continue;
        out += "  message: ";
        bool gap = false;
        for (char c : e.text) {
            if (c == '\n' || c == '\r') {
                gap = true;
                continue;
            }
            if (gap && out.back() != ' ') out += ' ';
            gap = false;
            out += c;
        }
        out += '\n';
    }
    shown_clear();
    return out;
}
