// The auction's rules: minimum price, seating, the computer's limit and
// choice, the bidding chain and the sale.
#include "finance/auction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/money.h"
#include "board/turn_steps.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/balloon.h"
#include "engine/music.h"
#include "engine/random.h"
#include "engine/util.h"
#include "engine/wait.h"

const std::array<int32_t, AUCTION_RAISES> auction_raise_steps = {100, 500, 1000, 5000, 10000};
std::array<AuctionBidder, AUCTION_SEATS> auction_bidders{};
std::array<AuctionSeatView, AUCTION_SEATS> auction_seated{};

constinit PresenterSlot<AuctionPresenter> auction_presenter{AuctionPresenter{
    [](int) { return AUCTION_NOT_SHOWN; },
}};
AuctionState auction_state{};

namespace {

constexpr int AUCTION_MUSIC = 5;
constexpr uint32_t SALE_PAUSE_MS = 1000;

AuctionObserver observer = nullptr;

int32_t clamp_money(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// The property's level and its land or facility price.
bool property_of(int object, int* level, int* price) {
    if (const LandLot* lot = map_lot(object)) {
        *level = lot->level;
        *price = lot->land_price;
        return true;
    }
    if (const FacilityLot* f = map_facility(object)) {
        *level = f->level;
        *price = f->price;
        return true;
    }
    return false;
}

Owner* owner_byte(int object) {
    if (LandLot* lot = map_lot(object)) return &lot->owner;
    if (FacilityLot* f = map_facility(object)) return &f->owner;
    return nullptr;
}

uint32_t* expiry_of(int object) {
    if (LandLot* lot = map_lot(object)) return &lot->expiry;
    if (FacilityLot* f = map_facility(object)) return &f->expiry;
    return nullptr;
}

bool is_computer(const PlayerRecord& pl) {
    return (pl.control & (CTRL_COMPUTER | CTRL_HANDED_OVER)) != 0;
}

int seat_player(int seat) {
    return auction_bidders[seat].player - 1;
}

int cash_of_seat(int seat) {
    return player_table[seat_player(seat)].cash;
}

void say(const char* text) {
    balloon_show(text);
}

// The next seat after `from` in cyclic order that still bids and does not lead.
int next_turn(int from) {
    for (int k = 1; k <= AUCTION_SEATS; ++k) {
        const int s = (from + k) % AUCTION_SEATS;
        if (auction_bidders[s].player != 0 && s != auction_state.leader) return s;
    }
    return -1;
}

// After a choice: void, sold, or the next seat's turn.
int outcome_after_choice() {
    int n = 0, k = 0;
    for (const AuctionBidder& b : auction_bidders) {
        if (b.player == 0) continue;
        ++n;
        if (b.state != 0) ++k;
    }
    if (n == 0 || k == n) return AUCTION_STEP_VOID;
    if (auction_state.leader >= 0 && (n == 1 || n - k == 1)) return AUCTION_STEP_SOLD;
    auction_state.turn = next_turn(auction_state.turn);
    return auction_state.turn < 0 ? AUCTION_STEP_VOID : AUCTION_STEP_TURN;
}

void notify(int sold, int winner, int32_t price) {
    if (observer)
        observer(AuctionEvent{auction_state.seller, auction_state.object, sold, winner, price});
}

// The winner takes the property and pays; a winner who already owns it keeps it.
void sell_to(int winner) {
    int x = 0, y = 0;
    if (map_object_position(auction_state.object, &x, &y)) board_view_refresh(x, y, 0);
    wait_ms_skippable(SALE_PAUSE_MS);
    Owner* owner = owner_byte(auction_state.object);
    if (!owner_is_seat(*owner, winner)) {
        if (*owner == OWNER_NONE) land_set_purchase_expiry(*expiry_of(auction_state.object));
        *owner = owner_of_seat(winner);
        view_draw_minimap_marks(0);
        board_view_refresh(0, 0, 1);
        wait_ms_skippable(SALE_PAUSE_MS);
    }
    money_pay(winner, auction_state.seller >= 0 ? auction_state.seller : PARTY_JACKPOT,
              auction_state.price, 0);
}

} // namespace

const char* auction_seat_reason(int state) {
    static const char* const reasons[] = {"",       "住宿中", "消失中", "坐牢中",
                                          "住院中", "冬眠中", "梦游中", "卖方"};
    return state >= 1 && state <= SEAT_SELLER ? reasons[state] : "";
}

int32_t auction_minimum_price(int object) {
    int level = 0, price = 0;
    if (!property_of(object, &level, &price)) return 0;
    // price x (1 + level / 2), truncated, is price x (2 + level) / 2.
    const int64_t base = int64_t{price} * (2 + level) / 2;
    return util_clamp32(base * std::max<int64_t>(game_price_index, 0));
}

int auction_picture_frame(int object) {
    const int map = std::clamp(game_map, 0, 3);
    if (const LandLot* lot = map_lot(object)) {
        if (lot->level > 0) return lot->chain_store ? 50 : lot->level + 5 * map + 29;
        return is_player_seat(seat_of_owner(lot->owner))
                   ? 91 + player_table[seat_of_owner(lot->owner)].character % CHARACTER_COUNT
                   : 90;
    }
    if (const FacilityLot* f = map_facility(object)) {
        if (f->level > 0) return f->kind == FK_PARK ? 51 : 5 * f->kind + f->level + 46;
        return is_player_seat(seat_of_owner(f->owner))
                   ? 104 + player_table[seat_of_owner(f->owner)].character % CHARACTER_COUNT
                   : 103;
    }
    return 0;
}

int auction_seat_players(int seller, int object, int32_t minimum) {
    auction_bidders = {};
    auction_seated = {};
    int seat = 0, bidders = 0;
    for (int i = 0; i < game_player_count && i < PLAYER_COUNT; ++i) {
        const PlayerRecord& pl = player_table[i];
        if (pl.control == CTRL_OUT) continue;
        uint16_t state = SEAT_BIDDING;
        if (pl.cash <= minimum) state = SEAT_CANNOT_AFFORD;
        if (pl.hotel_days != 0) state = SEAT_HOTEL;
        if (pl.away_days != 0) state = SEAT_AWAY;
        if (pl.jail_days != 0) state = SEAT_JAIL;
        if (pl.hospital_days != 0) state = SEAT_HOSPITAL;
        if (pl.hibernation_days != 0) state = SEAT_HIBERNATING;
        if (pl.sleepwalk_days != 0) state = SEAT_SLEEPWALKING;
        if (i == seller) state = SEAT_SELLER;
        auction_seated[seat] = {owner_of_seat(i), state};
        if (state == SEAT_BIDDING) {
            auction_bidders[seat].player = owner_of_seat(i);
            ++bidders;
        }
        ++seat;
    }
    // Limits in seat order, once the seats are known.
    for (AuctionBidder& b : auction_bidders)
        if (b.player != 0 && is_computer(player_table[seat_of_owner(b.player)]))
            b.limit = auction_ai_limit(b.player, object);
    return bidders;
}

int32_t auction_ai_limit(int owner, int object) {
    const int p = seat_of_owner(owner);
    if (!is_player_seat(p)) return 0;
    int level = 0, price = 0;
    if (!property_of(object, &level, &price)) return 0;
    const double n_index = std::max(game_price_index, 0);
    const double m = auction_minimum_price(object);
    const float f = static_cast<float>(game_rand()) / 32767.0f * 0.3f + 0.5f;
    int64_t weight = level / 2 + 1;
    double unowned = 0.0;
    if (const LandLot* lot = map_lot(object)) {
        int free_lots = 0;
        for (int i = 1; i <= map_lot_count; ++i) {
            const LandLot& l = map_lot_table[i];
            if (l.owner == OWNER_NONE) ++free_lots;
            if (owner_is_seat(l.owner, p) &&
                std::strncmp(l.street, lot->street, sizeof l.street) == 0)
                ++weight;
        }
        unowned = map_lot_count > 0 ? double(free_lots) / map_lot_count : 0.0;
    } else {
        int free_facilities = 0;
        for (int i = 1; i <= map_facility_count; ++i)
            if (map_facility_table[i].owner == OWNER_NONE) ++free_facilities;
        unowned = map_facility_count > 0 ? double(free_facilities) / map_facility_count : 0.0;
    }
    // In floating point and held to the 32-bit range: the product of the
    // weight, the minimum and the index twice outgrows 32 bits.
    const int32_t a = clamp_money(
        std::trunc(double(weight) * m * n_index * (6.0 - 4.0 * unowned) * static_cast<double>(f)));
    const int32_t b =
        clamp_money(std::trunc((game_rand() / 65536.0 + 3.0) * double(price) * n_index));
    return std::min({a, b, player_table[p].cash});
}

int auction_ai_choice(int seat) {
    const AuctionBidder& me = auction_bidders[seat];
    const int64_t price = auction_state.price;
    if (cash_of_seat(seat) < price) return AUCTION_GIVE_UP;
    int step = -1;
    for (int s = AUCTION_RAISES - 1; s >= 0; --s) {
        if (price + auction_raise_steps[s] <= me.limit) {
            step = s;
            break;
        }
    }
    if (step < 0) return AUCTION_PASS;
    if (auction_state.leader >= 0) {
        const int64_t ceiling = int64_t{cash_of_seat(auction_state.leader)} + 500;
        const int64_t d = ceiling - price;
        if (price + auction_raise_steps[step] > ceiling) {
            for (int s = 0; s < AUCTION_RAISES - 1; ++s) {
                if (d <= auction_raise_steps[s]) {
                    step = s;
                    break;
                }
            }
        }
    }
    if (auction_state.start_bidders == 1) step = 0;
    return step + 1;
}

bool auction_apply_choice(int seat, int choice) {
    AuctionBidder& me = auction_bidders[seat];
    auction_state.last_seat = seat;
    auction_state.last_choice = choice;
    if (choice == AUCTION_PASS) {
        me.state = 1;
        return true;
    }
    if (choice >= 1 && choice <= AUCTION_RAISES) {
        const int64_t raised = int64_t{auction_state.price} + auction_raise_steps[choice - 1];
        if (cash_of_seat(seat) < raised) {
            auction_state.last_choice = -1;
            return false;
        }
        auction_state.price = static_cast<int32_t>(raised);
        auction_state.leader = seat;
        for (AuctionBidder& b : auction_bidders)
            b.state = 0;
        return true;
    }
    me.player = 0;
    me.state = 0;
    auction_state.last_choice = AUCTION_GIVE_UP;
    return true;
}

int auction_human_choice(int seat) {
    const int p = seat_player(seat);
    if (cash_of_seat(seat) < auction_state.price) return AUCTION_GIVE_UP;
    DecisionRequest r{DECIDE_AUCTION_BID, p, nullptr, auction_state.price, auction_state.object};
    r.param = seat;
    return decide(r);
}

bool auction_step() {
    AuctionState& a = auction_state;
    char text[96];
    switch (a.step) {
    case AUCTION_STEP_OPEN:
        say("#0131公开拍卖土地一处。");
        a.step = AUCTION_STEP_FIRST;
        return true;
    case AUCTION_STEP_FIRST:
        a.turn = next_turn(AUCTION_SEATS - 1);
        if (a.turn < 0) {
            a.step = AUCTION_STEP_VOID;
            return auction_step();
        }
        std::snprintf(text, sizeof text, "#0132底价%d元\n请意者出价。", a.minimum);
        say(text);
        a.step = AUCTION_STEP_TURN;
        return true;
    case AUCTION_STEP_TURN: {
        const int seat = a.turn;
        const bool computer = is_computer(player_table[seat_player(seat)]);
        const int choice = computer ? auction_ai_choice(seat) : auction_human_choice(seat);
        // A raise the bidder cannot cover is no bid: the window never offers one.
        if (!auction_apply_choice(seat, choice)) auction_apply_choice(seat, AUCTION_PASS);
        a.step = outcome_after_choice();
        return true;
    }
    case AUCTION_STEP_SOLD:
        std::snprintf(text, sizeof text, "#0135%d元成交", a.price);
        say(text);
        a.step = AUCTION_STEP_WINNER;
        return true;
    case AUCTION_STEP_WINNER:
        auction_winner_line(player_table[seat_player(a.leader)].character, text, sizeof text);
        say(text);
        a.step = AUCTION_STEP_DONE;
        return false;
    case AUCTION_STEP_VOID:
        say("#0148无人出价，宣布流标。");
        a.leader = -1;
        a.step = AUCTION_STEP_DONE;
        return false;
    default:
        return false;
    }
}

int auction_result() {
    return auction_state.step == AUCTION_STEP_DONE ? auction_state.leader : -1;
}

void auction_winner_line(int character, char* out, int size) {
    const int c = std::clamp(character, 0, CHARACTER_COUNT - 1);
    std::snprintf(out, static_cast<size_t>(size), "#%04d恭喜%s购得此地！", 136 + c,
                  util_without_spaces(character_name(c)).c_str());
}

int auction_run(int seller, int object, int music) {
    if (!map_lot(object) && !map_facility(object)) return 0;
    if (seller != -1 && !is_player_seat(seller)) return 0;
    auction_reset();
    AuctionState& a = auction_state;
    a.object = object;
    a.facility = map_facility(object) != nullptr;
    a.seller = seller;
    a.minimum = auction_minimum_price(object);
    a.price = a.minimum;
    a.start_bidders = auction_seat_players(seller, object, a.minimum);
    notify(-1, -1, a.price);
    if (music == 1) music_play_event(AUCTION_MUSIC);
    int winner_seat = auction_presenter().bidding(a.start_bidders);
    if (winner_seat == AUCTION_NOT_SHOWN) {
        while (auction_step()) {
        }
        winner_seat = auction_result();
    }
    int sold = 0, winner = -1;
    if (winner_seat >= 0 && winner_seat < AUCTION_SEATS && auction_bidders[winner_seat].player) {
        winner = seat_player(winner_seat);
        sell_to(winner);
        sold = 1;
    }
    if (music == 1) music_resume();
    notify(sold, winner, a.price);
    auction_reset();
    return sold;
}

void auction_set_observer(AuctionObserver o) {
    observer = o;
}

void auction_reset() {
    auction_bidders = {};
    auction_seated = {};
    auction_state = AuctionState{};
}

WORLD_RESET(WORLD_RESET_AUCTION, auction_reset)

TURN_STEP(TURN_STEP_AUCTION, [](int object) { auction_run(-1, object, 0); })
