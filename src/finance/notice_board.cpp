#include "finance/notice_board.h"

#include <cstdio>
#include <string>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "board/turn_steps.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "data/card_defs.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/record_io.h"
#include "engine/util.h"
#include "finance/bank.h"
#include "finance/stock_types.h"
#include "finance/trading.h"

std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT> notice_board{};

// Without the window nothing is shown.
constinit PresenterSlot<NoticeBoardPresenter> notice_board_presenter{NoticeBoardPresenter{
    .open = [](int) {},
    .close = [] {},
}};

namespace {

NoticeObserver observer = nullptr;

constexpr int POST_CHANCE = 15;
constexpr int REPRICE_CHANCE = 3;
constexpr int BUY_CHANCE = 4;
constexpr int PAIR_HAND_MIN = 13; // cards held before a computer posts a double
constexpr int ITEM_SPARE_MIN = 3; // copies held before a computer posts one
constexpr int ITEM_NASTY_GAP = 2; // nastiness - personality of an item it would shed
constexpr int ASKING_FACTOR = 10; // a human asks at most 10 x the market value
constexpr int LAND_LIMIT_FACTOR = 3;

template <typename Io, typename Rec> void notice_offer_fields(const Io& io, Rec& r) {
    io(r.type, 0);
    io(r.age, 1);
    io(r.object, 2);
    io(r.asking, 4);
    io(r.count, 8);
    io(r.land_kind, 10);
    io(r.land_level, 11);
}

// A human plays the seat himself (a handed-over human is the computer's).
bool is_human(int p) {
    return (player_table[p].control & (CTRL_HUMAN | CTRL_COMPUTER | CTRL_HANDED_OVER)) ==
           CTRL_HUMAN;
}

void human_message(int buyer, const char* text) {
    if (is_human(buyer)) msg_show(text, MSG_STANDARD_MS);
}

bool valid_type(int type) {
    return type >= NOTICE_SHARES && type <= NOTICE_CARD;
}

// The object named lies in its type's range and, for land, in the loaded map.
bool object_in_range(int type, int object) {
    switch (type) {
    case NOTICE_SHARES:
        return object >= 0 && object < STOCK_COUNT;
    case NOTICE_LAND:
        return map_lot(object) != nullptr || map_facility(object) != nullptr;
    case NOTICE_ITEM:
        return object >= 1 && object <= ITEM_KIND_COUNT;
    case NOTICE_CARD:
        return object >= 1 && object <= CARD_KIND_COUNT;
    default:
        return false;
    }
}

// The points price of an item or card in yuan: x 100 x the price index.
int64_t points_value(int points) {
    return static_cast<int64_t>(points) * 100 * game_price_index;
}

// The seller still has what the offer names, as it was posted.
bool offer_still_held(int seller, const NoticeOffer& o) {
    if (!valid_type(o.type) || !object_in_range(o.type, o.object)) return false;
    const uint8_t owner = owner_of_seat(seller);
    switch (o.type) {
    case NOTICE_SHARES:
        return o.count > 0 && o.count <= stock_holdings[seller][o.object].shares;
    case NOTICE_LAND:
        if (const LandLot* l = map_lot(o.object))
            return l->owner == owner && l->chain_store == o.land_kind && l->level == o.land_level;
        if (const FacilityLot* f = map_facility(o.object))
            return f->owner == owner && f->kind == o.land_kind && f->level == o.land_level;
        return false;
    case NOTICE_ITEM:
        return player_items[seller][o.object - 1] > 0;
    case NOTICE_CARD:
        return card_has(seller, o.object) != 0;
    default:
        return false;
    }
}

bool owns_land(int player, int code) {
    const uint8_t owner = owner_of_seat(player);
    if (const LandLot* l = map_lot(code)) return l->owner == owner;
    if (const FacilityLot* f = map_facility(code)) return f->owner == owner;
    return false;
}

int32_t held_shares(int player, int stock) {
    return stock >= 0 && stock < STOCK_COUNT ? stock_holdings[player][stock].shares : 0;
}

// Moves the offer's goods from seller to buyer; false when the buyer's hand
// or row is full (the message for a human), nothing moved then.
bool move_goods(int buyer, int seller, const NoticeOffer& o) {
    switch (o.type) {
    case NOTICE_SHARES: {
        const CompanyBuilding* c = stock_company(o.object);
        const bool chaired_before = c != nullptr && owner_is_seat(c->chairman, buyer);
        if (stock_transfer(seller, buyer, o.object, o.count, o.asking) == 0) return false;
        c = stock_company(o.object);
        if (!chaired_before && c != nullptr && owner_is_seat(c->chairman, buyer))
            human_message(buyer, NOTICE_TEXT_CHAIRMAN);
        return true;
    }
    case NOTICE_LAND:
        if (LandLot* l = map_lot(o.object)) {
            l->owner = owner_of_seat(buyer);
        } else if (FacilityLot* f = map_facility(o.object)) {
            f->owner = owner_of_seat(buyer);
        } else {
            return false;
        }
        view_draw_minimap_marks(0);
        return true;
    case NOTICE_ITEM:
        if (player_items[buyer][o.object - 1] >= ITEM_KIND_MAX) {
            human_message(buyer, NOTICE_TEXT_ITEMS_FULL);
            return false;
        }
        item_remove(seller, o.object);
        if (item_add(buyer, o.object) == 0) {
            item_add(seller, o.object); // the copy just returned goes back to him
            return false;
        }
        return true;
    case NOTICE_CARD:
        if (card_count(buyer) >= CARD_HAND_MAX) {
            human_message(buyer, NOTICE_TEXT_CARDS_FULL);
            return false;
        }
        card_remove(seller, o.object);
        if (card_add(buyer, o.object) == 0) {
            card_add(seller, o.object);
            return false;
        }
        return true;
    default:
        return false;
    }
}

// Frees the seventh slot for a computer's new offer.
void make_room(int player) {
    if (notice_row_full(player)) notice_remove(player, 0);
}

// ---------------------------------------------------------------------------
// A human's visit: the window's answers until he leaves.

int ask_post_object(int player, int type) {
    DecisionRequest r{DECIDE_BOARD_POST, player, nullptr, 0, 0};
    r.param = type;
    const int object = decide(r);
    return notice_post_allowed(player, type, object) ? object : 0;
}

int32_t ask_asking(int player, int type, int object, int count) {
    const int64_t market = notice_market_value_of(type, object, count);
    char text[96];
    std::snprintf(text, sizeof text, NOTICE_TEXT_ASKING, util_clamp32(market));
    return decide_number(player, text, notice_asking_limit(type, object, count));
}

void human_post(int player, int type) {
    const int picked = ask_post_object(player, type);
    if (picked == 0) return;
    int object = picked, count = 0;
    if (type == NOTICE_SHARES) {
        object = picked - 1;
        count = decide_number(player, NOTICE_TEXT_COUNT, held_shares(player, object));
        if (count <= 0) return;
    }
    const int32_t asking = ask_asking(player, type, object, count);
    if (asking <= 0) return;
    notice_post(player, type, object, asking, count);
}

void human_offer_button(int player, int seller, int slot) {
    if (seller == player) {
        notice_remove(player, slot);
        return;
    }
    if (!decide_confirm(player, nullptr, 320, 240)) return;
    if (notice_buy_offer(seller, slot) == 1) notice_remove(seller, slot);
}

void human_visit(int player) {
    notice_board_presenter().open(player);
    for (;;) {
        const int action = decide(DecisionRequest{DECIDE_BOARD_ACTION, player, nullptr, 0, 0});
        if (action == NOTICE_ACTION_EXIT || !notice_action_allowed(player, action)) break;
        if (action >= NOTICE_SHARES && action <= NOTICE_CARD) {
            human_post(player, action);
        } else {
            const int code = action - NOTICE_ACTION_OFFER;
            human_offer_button(player, code / 10, code % 10);
        }
    }
    notice_board_presenter().close();
}

} // namespace

void notice_offer_write(const NoticeOffer& r, uint8_t* out) {
    notice_offer_fields(RecordPut{out}, r);
}

NoticeOffer notice_offer_read(const uint8_t* in) {
    NoticeOffer r{};
    notice_offer_fields(RecordGet{in}, r);
    return r;
}

void notice_board_clear() {
    notice_board = {};
}

bool notice_row_full(int player) {
    return is_player_seat(player) && notice_board[player][NOTICE_SLOTS - 1].type != NOTICE_EMPTY;
}

int notice_post(int player, int type, int object, int32_t asking, int count) {
    if (!is_player_seat(player) || !valid_type(type) || !object_in_range(type, object)) return 0;
    for (NoticeOffer& o : notice_board[player]) {
        if (o.type != NOTICE_EMPTY && !(o.type == type && o.object == object)) continue;
        o = NoticeOffer{};
        o.type = static_cast<uint8_t>(type);
        o.object = static_cast<uint16_t>(object);
        o.asking = asking;
        if (type == NOTICE_SHARES) o.count = static_cast<uint16_t>(count);
        if (type == NOTICE_LAND) {
            if (const LandLot* l = map_lot(object)) {
                o.land_kind = l->chain_store;
                o.land_level = l->level;
            } else if (const FacilityLot* f = map_facility(object)) {
                o.land_kind = f->kind;
                o.land_level = f->level;
            }
        }
        return 1;
    }
    return 0;
}

void notice_remove(int player, int slot) {
    if (!is_player_seat(player) || slot < 0 || slot >= NOTICE_SLOTS) return;
    auto& row = notice_board[player];
    for (int k = slot; k + 1 < NOTICE_SLOTS; ++k)
        row[k] = row[k + 1];
    row[NOTICE_SLOTS - 1] = NoticeOffer{};
}

void notice_validate() {
    const int players = game_player_count < PLAYER_COUNT ? game_player_count : PLAYER_COUNT;
    for (int p = 0; p < players; ++p) {
        int slot = 0;
        for (int examined = 0; examined < NOTICE_SLOTS && slot < NOTICE_SLOTS; ++examined) {
            const NoticeOffer& o = notice_board[p][slot];
            if (o.type == NOTICE_EMPTY) break;
            if (offer_still_held(p, o))
                ++slot;
            else
                notice_remove(p, slot);
        }
    }
}

void notice_age_offers() {
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (player_table[p].control == 0) continue;
        for (NoticeOffer& o : notice_board[p])
            if (o.type != NOTICE_EMPTY && o.age < UINT8_MAX) ++o.age;
    }
}

int notice_buy_offer(int seller, int slot) {
    const int buyer = game_active_mover;
    if (!is_player_seat(buyer) || !is_player_seat(seller) || buyer == seller || slot < 0 ||
        slot >= NOTICE_SLOTS)
        return 0;
    const NoticeOffer o = notice_board[seller][slot];
    if (!valid_type(o.type) || !offer_still_held(seller, o) || o.asking < 0) return 0;
    if (player_table[buyer].cash < o.asking) {
        human_message(buyer, NOTICE_TEXT_NO_CASH);
        return 0;
    }
    if (!move_goods(buyer, seller, o)) return 0;
    money_pay(buyer, seller, o.asking, 0);
    if (observer) observer(buyer, seller, o);
    return 1;
}

int64_t notice_market_value_of(int type, int object, int count) {
    if (!object_in_range(type, object)) return 0;
    const int64_t n = game_price_index;
    switch (type) {
    case NOTICE_SHARES:
        return static_cast<int64_t>(static_cast<double>(count) * stock_table[object].price);
    case NOTICE_LAND:
        if (const LandLot* l = map_lot(object))
            return (l->land_price + static_cast<int64_t>(l->level) * l->build_price) * n;
        if (const FacilityLot* f = map_facility(object))
            return (f->price + static_cast<int64_t>(f->level) * f->fee[0]) * n;
        return 0;
    case NOTICE_ITEM:
        return points_value(item_def(object).price);
    case NOTICE_CARD:
        return points_value(card_def(object).price);
    default:
        return 0;
    }
}

int64_t notice_market_value(const NoticeOffer& o) {
    return notice_market_value_of(o.type, o.object, o.count);
}

int32_t notice_asking_limit(int type, int object, int count) {
    const int64_t market = notice_market_value_of(type, object, count);
    return market > 0 ? util_clamp32(market * ASKING_FACTOR) : 0;
}

int notice_card_pairs(int player, uint8_t* out, int out_max) {
    if (!is_player_seat(player)) return 0;
    int n = 0;
    const auto& hand = player_cards[player];
    for (int a = 0; a < HOLDING_ROW; ++a) {
        if (hand[a] == 0) continue;
        for (int b = 0; b < HOLDING_ROW; ++b) {
            if (a == b || hand[b] != hand[a]) continue;
            if (n < out_max) out[n] = hand[a];
            ++n;
        }
    }
    return n < out_max ? n : out_max;
}

void notice_ai_post(int player) {
    if (game_rand() % POST_CHANCE != 0) return;
    if (card_count(player) >= PAIR_HAND_MIN) {
        uint8_t pairs[HOLDING_ROW * HOLDING_ROW];
        const int n = notice_card_pairs(player, pairs, static_cast<int>(sizeof pairs));
        if (n > 0) {
            const int card = pairs[game_rand() % n];
            make_room(player);
            notice_post(player, NOTICE_CARD, card, util_clamp32(points_value(card_def(card).price)),
                        0);
            return;
        }
    }
    int candidates[ITEM_KIND_COUNT];
    int n = 0;
    const int personality = player_table[player].personality;
    for (int item = 1; item <= ITEM_KIND_COUNT; ++item) {
        const int held = player_items[player][item - 1];
        if (held >= ITEM_SPARE_MIN ||
            (held > 0 && item_def(item).level - personality == ITEM_NASTY_GAP))
            candidates[n++] = item;
    }
    if (n == 0) return; // nothing to shed: no draw, nothing posted
    const int item = candidates[game_rand() % n];
    make_room(player);
    notice_post(player, NOTICE_ITEM, item, util_clamp32(points_value(item_def(item).price)), 0);
}

void notice_ai_reprice(int player) {
    if (game_rand() % REPRICE_CHANCE != 0) return;
    for (NoticeOffer& o : notice_board[player]) {
        if (o.type == NOTICE_ITEM) o.asking = util_clamp32(points_value(item_def(o.object).price));
        if (o.type == NOTICE_CARD) o.asking = util_clamp32(points_value(card_def(o.object).price));
    }
}

int notice_ai_buy(int player) {
    if (game_rand() % BUY_CHANCE != 0) return 0;
    const int players = game_player_count < PLAYER_COUNT ? game_player_count : PLAYER_COUNT;
    for (int seller = 0; seller < players; ++seller) {
        if (seller == player || player_table[seller].control == 0) continue;
        for (int slot = 0; slot < NOTICE_SLOTS; ++slot) {
            const NoticeOffer& o = notice_board[seller][slot];
            bool wanted = false;
            if (o.type == NOTICE_SHARES && o.count > 0 && o.object < STOCK_COUNT) {
                wanted = static_cast<int64_t>(o.asking / o.count) < stock_table[o.object].price;
            } else if (o.type == NOTICE_LAND) {
                const int64_t asking = o.asking;
                wanted = asking < LAND_LIMIT_FACTOR * notice_market_value(o) &&
                         2 * asking < player_table[player].cash;
            }
            if (!wanted || notice_buy_offer(seller, slot) == 0) continue;
            notice_remove(seller, slot);
            return 1;
        }
    }
    return 0;
}

void notice_visit() {
    const int p = game_active_mover;
    if (!is_player_seat(p) || player_table[p].control == 0) return;
    notice_validate();
    if (is_human(p)) {
        human_visit(p);
    } else {
        notice_ai_post(p);
        notice_ai_reprice(p);
        notice_ai_buy(p);
    }
    bank_check_reserves(0);
}

bool notice_board_valid(const NoticeOffer* board) {
    return notice_board_valid(board, game_player_count);
}

bool notice_board_valid(const NoticeOffer* board, int player_count) {
    if (board == nullptr) return false;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        bool ended = false;
        for (int k = 0; k < NOTICE_SLOTS; ++k) {
            const NoticeOffer& o = board[p * NOTICE_SLOTS + k];
            if (o.type > NOTICE_CARD) return false;
            if (o.type == NOTICE_EMPTY) {
                ended = true;
                continue;
            }
            if (ended || p >= player_count) return false;
        }
    }
    return true;
}

bool notice_action_allowed(int player, int action) {
    if (!is_player_seat(player)) return false;
    if (action == NOTICE_ACTION_EXIT) return true;
    if (action >= NOTICE_SHARES && action <= NOTICE_CARD) return !notice_row_full(player);
    const int code = action - NOTICE_ACTION_OFFER;
    if (code < 0) return false;
    const int seller = code / 10, slot = code % 10;
    return seller < game_player_count && seller < PLAYER_COUNT && slot < NOTICE_SLOTS &&
           notice_board[seller][slot].type != NOTICE_EMPTY;
}

bool notice_post_allowed(int player, int type, int object) {
    if (!is_player_seat(player)) return false;
    if (object == 0) return true;
    switch (type) {
    case NOTICE_SHARES:
        return held_shares(player, object - 1) > 0;
    case NOTICE_LAND:
        return owns_land(player, object);
    case NOTICE_ITEM:
        return object >= 1 && object <= ITEM_KIND_COUNT && player_items[player][object - 1] > 0;
    case NOTICE_CARD:
        return object >= 1 && object <= CARD_KIND_COUNT && card_has(player, object) != 0;
    default:
        return false;
    }
}

void notice_set_observer(NoticeObserver o) {
    observer = o;
}

WORLD_RESET(WORLD_RESET_NOTICE, notice_board_clear)

bool notice_board_objects_valid(const NoticeOffer* board, int lots, int facilities,
                                std::string* error) {
    auto fail = [error](int p, int k, const std::string& why) {
        if (error)
            *error = "bulletin board: player " + std::to_string(p) + " offer " + std::to_string(k) +
                     " " + why;
        return false;
    };
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        for (int k = 0; k < NOTICE_SLOTS; ++k) {
            const NoticeOffer& o = board[p * NOTICE_SLOTS + k];
            if (o.type == NOTICE_EMPTY || o.type > NOTICE_CARD) continue;
            bool named = false;
            switch (o.type) {
            case NOTICE_SHARES:
                named = o.object < STOCK_COUNT && o.count >= 1 && o.count <= STOCK_TOTAL_SHARES;
                break;
            case NOTICE_LAND:
                named = object_in(o.object, OBJ_LOT_BASE, lots) ||
                        object_in(o.object, OBJ_FACILITY_BASE, facilities);
                break;
            case NOTICE_ITEM:
                named = o.object >= 1 && o.object <= 13;
                break;
            default:
                named = o.object >= 1 && o.object <= 30;
                break;
            }
            if (!named) return fail(p, k, "names object " + std::to_string(o.object));
            if (o.asking < 0) return fail(p, k, "asks " + std::to_string(o.asking));
        }
    }
    return true;
}

TURN_STEP(TURN_STEP_NOTICE_VISIT, [](int) { notice_visit(); })
NEW_DAY_STEP(NEW_DAY_NOTICE_AGE, notice_age_offers)
