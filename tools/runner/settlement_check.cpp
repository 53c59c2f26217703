// The month ends and the bulletin board of a running game, checked by the
// runner: every settlement paid the bonus exactly to the deposits without a
// loan and reset the monthly counters; every purchase on the board was made
// by another player than the seller, a computer buying only shares or land;
// every day the board's rows are packed and name objects in range.
#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "data/card_defs.h"
#include "finance/notice_board.h"
#include "finance/settlement.h"
#include "finance/stock_types.h"
#include "runner_game.h"

namespace {

std::string broken;
int settlements = 0;
int purchases = 0;

void note(const char* what) {
    if (broken.empty()) broken = what;
}

void observe_settlement(const SettleReport& r) {
    ++settlements;
    char buf[160];
    for (int i = 0; i < r.list.count; ++i) {
        const int p = r.list.seats[i];
        const int64_t grown = static_cast<int64_t>(r.deposit_before[i] * 1.1);
        const int64_t expected =
            r.loan[i] != 0 ? r.deposit_before[i] : (grown > INT32_MAX ? INT32_MAX : grown);
        if (r.deposit_after[i] != expected) {
            std::snprintf(buf, sizeof buf, "settlement: player %d's deposit %d became %d, not %lld",
                          p, r.deposit_before[i], r.deposit_after[i],
                          static_cast<long long>(expected));
            note(buf);
        }
        const PlayerRecord& pr = player_table[p];
        if (pr.paid_month != 0 || pr.received_month != 0 || pr.days_lost_month != 0) {
            std::snprintf(buf, sizeof buf, "settlement: player %d's monthly counters not reset", p);
            note(buf);
        }
    }
    if (r.list.count > 0 && (r.champion < 0 || player_table[r.champion].control == 0))
        note("settlement: the champion is not a player in the game");
}

void observe_purchase(int buyer, int seller, const NoticeOffer& o) {
    ++purchases;
    char buf[120];
    if (buyer == seller) {
        std::snprintf(buf, sizeof buf, "board: player %d bought his own offer", buyer);
        note(buf);
    }
    const bool computer = (player_table[buyer].control & (CTRL_COMPUTER | CTRL_HANDED_OVER)) != 0;
    if (computer && o.type != NOTICE_SHARES && o.type != NOTICE_LAND) {
        std::snprintf(buf, sizeof buf, "board: computer %d bought an offer of type %d", buyer,
                      o.type);
        note(buf);
    }
}

bool object_in_range(const NoticeOffer& o) {
    switch (o.type) {
    case NOTICE_SHARES:
        return o.object < STOCK_COUNT && o.count > 0;
    case NOTICE_LAND:
        return map_lot(o.object) != nullptr || map_facility(o.object) != nullptr;
    case NOTICE_ITEM:
        return o.object >= 1 && o.object <= ITEM_KIND_COUNT;
    case NOTICE_CARD:
        return o.object >= 1 && o.object <= CARD_KIND_COUNT;
    default:
        return false;
    }
}

} // namespace

void runner_watch_settlements() {
    broken.clear();
    settlements = 0;
    purchases = 0;
    settle_set_observer(observe_settlement);
    notice_set_observer(observe_purchase);
}

int runner_settlements_seen() {
    return settlements;
}

int runner_board_purchases() {
    return purchases;
}

std::string runner_settlement_check() {
    if (!broken.empty()) {
        std::string b = broken;
        broken.clear();
        return b;
    }
    if (!notice_board_valid(&notice_board[0][0]))
        return "board: an unknown offer type, a gap in a row or an offer of a seat not in the game";
    char buf[120];
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int k = 0; k < NOTICE_SLOTS; ++k) {
            const NoticeOffer& o = notice_board[p][k];
            if (o.type == NOTICE_EMPTY || object_in_range(o)) continue;
            std::snprintf(buf, sizeof buf, "board: player %d's offer %d (type %d) names object %d",
                          p, k, o.type, o.object);
            return buf;
        }
    return {};
}

std::string runner_offer_columns() {
    static const char kinds[] = "-SLIC";
    std::string line = " | offers";
    for (int p = 0; p < game_player_count && p < PLAYER_COUNT; ++p) {
        line += p == 0 ? " " : " / ";
        bool any = false;
        for (const NoticeOffer& o : notice_board[p]) {
            if (o.type == NOTICE_EMPTY || o.type > NOTICE_CARD) continue;
            char buf[40];
            std::snprintf(buf, sizeof buf, "%s%c%d:%d", any ? "," : "", kinds[o.type], o.object,
                          o.asking);
            line += buf;
            any = true;
        }
        if (!any) line += "-";
    }
    return line;
}
