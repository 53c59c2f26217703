// The auctions of a running game, checked by the runner: a sold auction
// moved the price from the winner to the seller (or the jackpot) and left the
// winner owning the property; a void one left its owner, level and expiry
// exactly as they were, and every account too.
#include <array>
#include <cstdio>
#include <string>

#include "board/game_state.h"
#include "board/map.h"
#include "finance/auction.h"
#include "runner_game.h"

namespace {

struct Property {
    int owner = 0, level = 0;
    uint32_t expiry = 0;
};
struct AuctionSnapshot {
    Property property;
    std::array<int64_t, PLAYER_COUNT> money{}; // cash + deposit
    std::array<int32_t, PLAYER_COUNT> deposit{};
    int32_t jackpot = 0;
};
AuctionSnapshot before;
std::string broken;
RunnerAuctionCounts counts;

Property property_of(int object) {
    if (const LandLot* l = map_lot(object)) return {l->owner, l->level, l->expiry};
    if (const FacilityLot* f = map_facility(object)) return {f->owner, f->level, f->expiry};
    return {};
}

AuctionSnapshot snapshot(int object) {
    AuctionSnapshot s;
    s.property = property_of(object);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        s.money[p] = int64_t{player_table[p].cash} + player_table[p].deposit;
        s.deposit[p] = player_table[p].deposit;
    }
    s.jackpot = lotto_jackpot;
    return s;
}

void fail(const char* what, const AuctionEvent& e) {
    if (!broken.empty()) return;
    char buf[160];
    std::snprintf(buf, sizeof buf, "auction of %d by seller %d %s", e.object, e.seller, what);
    broken = buf;
}

void observe(const AuctionEvent& e) {
    if (e.sold < 0) {
        before = snapshot(e.object);
        return;
    }
    ++counts.auctions;
    const AuctionSnapshot now = snapshot(e.object);
    if (e.sold == 0) {
        const Property& a = before.property;
        const Property& b = now.property;
        if (a.owner != b.owner || a.level != b.level || a.expiry != b.expiry)
            fail("was void but changed the property's owner, level or expiry", e);
        if (now.money != before.money || now.jackpot != before.jackpot)
            fail("was void but moved money", e);
        return;
    }
    ++counts.sold;
    if (!is_player_seat(e.winner) || !owner_is_seat(now.property.owner, e.winner)) {
        fail("was sold but the winner does not own it", e);
        return;
    }
    if (now.money[e.winner] != before.money[e.winner] - e.price)
        fail("was sold but the winner did not pay the price", e);
    const bool paid = e.seller >= 0
                          ? now.deposit[e.seller] == int64_t{before.deposit[e.seller]} + e.price
                          : int64_t{now.jackpot} == int64_t{before.jackpot} + e.price;
    if (!paid) fail("was sold but the price did not reach the seller or the jackpot", e);
}

} // namespace

void runner_watch_auctions() {
    broken.clear();
    counts = {};
    auction_set_observer(observe);
}

RunnerAuctionCounts runner_auction_counts() {
    return counts;
}

std::string runner_auction_check() {
    std::string b = broken;
    broken.clear();
    return b;
}
