// The landing dispatch over the square kinds' table and the property
// kinds' own rules: buying, upgrading and the toll.
#include "board/landing.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/choice.h"
#include "board/decisions.h"
#include "board/fees.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/speech.h"
#include "board/square_kinds.h"
#include "engine/message.h"
#include "engine/sound.h"
#include "engine/util.h"

constinit PresenterSlot<LandingCards> landing_cards{LandingCards{
    [](int, int, int32_t total, int*) { return total; },
    [](int, int) {},
}};

namespace {

constexpr const char* NO_CASH = "您的现金不足！";

// Effects of board_effects used here.
constexpr int FX_BOUGHT = 17;
constexpr int FX_BUILT = 18;
constexpr int FX_TOLL = 20;

int32_t scaled(int64_t base) {
    const int64_t v = price_scaled(base);
    return v > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                   : static_cast<int32_t>(v);
}

const char* line(int p, int row) {
    return speech_line(player_table[p].character, row);
}

bool acts_by_itself(const PlayerRecord& pl) {
    return control_acts_by_itself(pl.control);
}

// A computer or handed-over player says yes without being asked; a human
// playing by hand is asked; any other control value says no.
bool agrees(int cur, DecisionKind kind, const char* text, int32_t price, int32_t object,
            bool computer_answer) {
    const PlayerRecord& pl = player_table[cur];
    if (acts_by_itself(pl)) return computer_answer;
    if (pl.control == CTRL_HUMAN) return decide_yes_no(kind, cur, text, price, object);
    return false;
}

bool out_or_ended(int p) {
    return player_table[p].control == CTRL_OUT || game_end_code != 0;
}

void upgrade_own_plot(int cur, int square, int lot_index) {
    LandLot& lot = map_lot_table[lot_index];
    PlayerRecord& pl = player_table[cur];
    if (lot.level >= 5 || lot.chain_store != 0 || pl.sleepwalk_days != 0) return;
    const int32_t price = scaled(lot.build_price);
    if (price > pl.cash) {
        msg_show(NO_CASH, MSG_STANDARD_MS);
        return;
    }
    char text[160];
    std::snprintf(text, sizeof text, "%.19s\n\n升级费用:%d元\n\n是否升级？", lot.street, price);
    if (!agrees(cur, DECIDE_BUILD, text, price, object_code(OBJ_LOT_BASE, lot_index), true)) return;
    if (god_invest_fail(cur) != 0) return;
    pl.cash -= price;
    ++lot.level;
    board_view_refresh(0, 0, 1);
    snd_board_effect_play(FX_BUILT, 0);
    if (lot.level == 5) {
        speech_bubble(cur, 0, line(cur, 15));
        board_play_animation();
    } else {
        speech_react_lot_group(lot.street, 1);
        god_invest_bonus(cur, square);
    }
}

void buy_plot(int cur, int square, int lot_index) {
    LandLot& lot = map_lot_table[lot_index];
    PlayerRecord& pl = player_table[cur];
    // The land god's holder never buys.
    if (pl.sleepwalk_days != 0 || pl.god_slot == GK_LAND_GOD) return;
    const int32_t price = scaled(int64_t{lot.level} * lot.build_price + lot.land_price);
    if (price > pl.cash) {
        msg_show(NO_CASH, MSG_STANDARD_MS);
        return;
    }
    char text[160];
    std::snprintf(text, sizeof text, "%.19s\n\n费用:%d元\n\n是否买下此地？", lot.street, price);
    const bool computer_buys = acts_by_itself(pl) && land_ai_should_buy(price) == 1;
    if (!agrees(cur, DECIDE_BUY, text, price, object_code(OBJ_LOT_BASE, lot_index), computer_buys))
        return;
    if (god_invest_fail(cur) != 0) return;
    lot.owner = owner_of_seat(cur);
    board_view_refresh(0, 0, 1);
    snd_board_effect_play(FX_BOUGHT, 0);
    board_minimap_marks(0);
    land_set_purchase_expiry(lot.expiry);
    pl.cash -= price;
    speech_react_lot_group(lot.street, 0);
    god_invest_bonus(cur, square);
}

} // namespace

void land_set_purchase_expiry(uint32_t& expiry) {
    if (game_land_term > 0 && game_land_term < static_cast<int32_t>(land_term_delta.size()))
        expiry = cal_add_months(game_date, land_term_delta[game_land_term]);
}

namespace {

// Marks in the hit-test map every plot that counts toward a toll of owner
// (player + 1); returns how many plots were marked.
int mark_toll_plots(int owner, const LandLot& landed) {
    if (owner <= 0) return 0;
    int marked = 0;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& lot = map_lot_table[i];
        if (lot.owner != owner) continue;
        const bool counts = landed.chain_store != 0
                                ? lot.chain_store != 0
                                : lot.chain_store == 0 && std::strncmp(lot.street, landed.street,
                                                                       sizeof lot.street) == 0;
        if (!counts) continue;
        board_mark_object(object_code(OBJ_LOT_BASE, i));
        ++marked;
    }
    return marked;
}

void pay_toll(int cur, int lot_index) {
    LandLot& lot = map_lot_table[lot_index];
    const int owner = lot.owner; // player + 1
    snd_board_effect_play(FX_TOLL, 0);
    if (fee_check_exemption(seat_of_owner(owner), lot.mark, FEE_NAME_TOLL) == 0) return;

    const int ally = (player_table[seat_of_owner(owner)].ally >= 1 &&
                      player_table[seat_of_owner(owner)].ally <= PLAYER_COUNT)
                         ? player_table[seat_of_owner(owner)].ally
                         : 0;
    const char* street = lot.chain_store != 0 ? nullptr : lot.street;
    int64_t t = land_toll(owner, street);
    const int64_t u = ally != 0 ? land_toll(ally, street) : 0;
    if (lot.mark != 0) t *= 2; // only the owner's part is doubled

    board_mark_begin();
    int marked = mark_toll_plots(owner, lot);
    if (ally != 0) marked += mark_toll_plots(ally, lot);
    if (marked > 1) board_flash_marked();

    char owner_name[64];
    util_strip_spaces(owner_name, player_name(seat_of_owner(owner)));
    char text[256];
    const int64_t sum = ally != 0 ? t + u : t;
    const int32_t full = sum > std::numeric_limits<int32_t>::max()
                             ? std::numeric_limits<int32_t>::max()
                             : static_cast<int32_t>(sum);
    double share = 0.0;
    if (ally != 0) {
        if (full > 0) share = static_cast<double>(u) / static_cast<double>(full);
        char ally_name[64];
        util_strip_spaces(ally_name, player_name(seat_of_owner(ally)));
        std::snprintf(text, sizeof text, "%.19s\n\n属%s与%s\n\n请付%d元%s", lot.street, owner_name,
                      ally_name, full, FEE_NAME_TOLL);
    } else {
        std::snprintf(text, sizeof text, "%.19s\n\n此地属%s\n\n请付%d元%s", lot.street, owner_name,
                      full, FEE_NAME_TOLL);
    }
    msg_show(text, MSG_STANDARD_MS);
    int32_t total = full;

    total = fee_apply_god(cur, FEE_NAME_TOLL, total);
    if (total == 0) return;

    // The grudge follows the money each of the two actually collects, from
    // the amount after the payer's god.
    const int32_t ally_part_now = ally != 0 ? static_cast<int32_t>(std::trunc(total * share)) : 0;
    player_add_grudge(cur, seat_of_owner(owner), (total - ally_part_now) / 100);
    if (ally != 0) player_add_grudge(cur, seat_of_owner(ally), ally_part_now / 100);

    int payer = cur;
    total = landing_cards().toll_rescue(cur, seat_of_owner(owner), total, &payer);
    if (total != 0) {
        const int holder = god_find_death_holder(payer);
        if (holder >= 0 && holder < PLAYER_COUNT) {
            char holder_name[64];
            util_strip_spaces(holder_name, player_name(holder));
            std::snprintf(text, sizeof text, "死神显灵\n\n由%s赔偿%s", holder_name, FEE_NAME_TOLL);
            msg_show(text, MSG_STANDARD_MS);
            payer = holder;
        }
    }
    // Nobody pays himself: the last toll stays as it was.
    if (payer == seat_of_owner(owner) || (ally != 0 && payer == seat_of_owner(ally))) return;

    if (speech_react_rival_pays(payer, seat_of_owner(owner), total) == 0)
        speech_react_pay(payer, total);
    if (ally != 0) {
        const int32_t ally_part = static_cast<int32_t>(std::trunc(total * share));
        const int32_t owner_part = total - ally_part;
        speech_react_gain(seat_of_owner(owner), owner_part);
        money_pay(payer, seat_of_owner(owner), owner_part, 0);
        money_pay(payer, seat_of_owner(ally), ally_part, 0);
    } else {
        speech_react_gain(seat_of_owner(owner), total);
        money_pay(payer, seat_of_owner(owner), total, 0);
    }
    lot.last_toll = total;
}

void land_plot(int cur, int square, int lot_index) {
    const LandLot& lot = map_lot_table[lot_index];
    if (owner_is_seat(lot.owner, cur))
        upgrade_own_plot(cur, square, lot_index);
    else if (lot.owner == 0)
        buy_plot(cur, square, lot_index);
    else if (lot.owner <= PLAYER_COUNT)
        pay_toll(cur, lot_index);
}

// What every property square does last, whatever happened before.
void property_end(int cur, int square, int code) {
    // A player eliminated by the payment, or a game that has just ended,
    // meets no god and builds nothing more.
    if (!out_or_ended(cur)) {
        god_landing_effect(cur, square);
        landing_cards().vehicle_arrive(cur, square);
    }
    board_view_refresh(0, 0, 1);
    if (out_or_ended(cur)) return;
    const int f = object_index(code, OBJ_FACILITY_BASE);
    if (f >= 1 && f <= map_facility_count && map_facility_table != nullptr) {
        const FacilityLot& fac = map_facility_table[f];
        if (owner_is_seat(fac.owner, cur) && player_table[cur].sleepwalk_days == 0 &&
            fac.kind == FK_RESEARCH_INSTITUTE && fac.level > 0 && (fac.mark & 0x0F) == 0)
            choose_research_item(f);
    }
}

uint8_t land_property(int cur, int square, int code) {
    if (code == 0) return LAND_WAIT_OTHER;
    if (object_in(code, OBJ_LOT_BASE, map_lot_count))
        land_plot(cur, square, object_index(code, OBJ_LOT_BASE));
    else if (object_in(code, OBJ_FACILITY_BASE, map_facility_count))
        fee_land_facility(square, object_index(code, OBJ_FACILITY_BASE));
    else if (object_in(code, OBJ_COMPANY_BASE, map_company_count))
        fee_land_company(square, object_index(code, OBJ_COMPANY_BASE));
    property_end(cur, square, code);
    return LAND_WAIT_PROPERTY;
}
uint8_t land_empty(int, int, int) {
    return LAND_WAIT_OTHER;
}
uint8_t land_jail(int, int, int) {
    jail_bail_visit();
    return LAND_WAIT_OTHER;
}
uint8_t land_hospital(int, int, int) {
    jail_hospital_bail_visit();
    return LAND_WAIT_OTHER;
}
} // namespace

SQUARE_KIND(SQ_PROPERTY, land_property, SQUARE_SOUND_NONE)
SQUARE_KIND(SQ_EMPTY, land_empty, SQUARE_SOUND_NONE)
SQUARE_KIND(SQ_JAIL, land_jail, SQUARE_SOUND_VISIT)
SQUARE_KIND(SQ_HOSPITAL, land_hospital, SQUARE_SOUND_VISIT)

uint8_t land_on_square(int square) {
    const int cur = game_active_mover;
    if (!is_player_seat(cur)) return LAND_WAIT_OTHER;
    const MapSquare* sq = map_square(square);
    if (sq == nullptr) return LAND_WAIT_OTHER;
    const int type = static_cast<int>(sq->flags & SQF_TYPE_MASK);
    PlayerRecord& pl = player_table[cur];

    if (pl.sleepwalk_days != 0 && type != SQ_PROPERTY) return LAND_WAIT_OTHER;
    // A type no module runs does nothing.
    const SquareKindRow* kind = square_kind_row(type);
    if (kind == nullptr) return LAND_WAIT_OTHER;
    if (kind->sound != SQUARE_SOUND_NONE) snd_board_effect_play(kind->sound, 0);
    return kind->handler(cur, square, sq->object);
}
