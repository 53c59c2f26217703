// The facility and company branches of a landing.
#include "board/fees.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/money.h"
#include "board/speech.h"
#include "board/spinner.h"
#include "board/status.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "cards/fate_gods.h"
#include "cards/target_pick.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/util.h"
#include "finance/stock_offer.h"

namespace {

constexpr const char* NO_CASH = "您的现金不足！";

// Effects of board_effects used here.
constexpr int FX_BOUGHT = 17;
constexpr int FX_BUILT = 18;
constexpr int FX_FEE = 20;

constexpr uint8_t COMPANY_KIND_TRAVEL = 1;
constexpr uint8_t COMPANY_KIND_COMPUTER = 3;
constexpr uint8_t COMPANY_KIND_REPAIR = 5;
constexpr uint8_t COMPANY_KIND_PETROL = 6;
constexpr uint8_t COMPANY_KIND_CONSTRUCTION = 11;

// The building film: a robot raising the building over the board.
constexpr int CONSTRUCTION_FILM = 512;
constexpr int CONSTRUCTION_SOUND = 91;
constexpr uint32_t CONSTRUCTION_FILM_FLAGS = 0x2C0001;
// Plots and facilities, scrolling, the building cursor.
constexpr uint32_t CONSTRUCTION_PICK =
    target_pick_param(PICK_LOTS | PICK_FACILITIES | PICK_SCROLL, PICK_ANY, 9, 3);

constexpr int SPEECH_ROW_NO_TRIP = 2;
constexpr int SPEECH_ROW_TOP_LEVEL = 15;

int32_t scaled(int64_t base) {
    return util_clamp32(price_scaled(base));
}

const char* line(int p, int row) {
    return speech_line(player_table[p].character, row);
}

bool by_hand(const PlayerRecord& pl) {
    return pl.control == CTRL_HUMAN;
}

bool acts_by_itself(const PlayerRecord& pl) {
    return control_acts_by_itself(pl.control);
}

// A name field of a map record (not always terminated) as a string.
template <size_t N> void record_name(char (&out)[N + 1], const char (&field)[N]) {
    std::memcpy(out, field, N);
    out[N] = '\0';
}

// ---------------------------------------------------------------------------
// Own facility: building and upgrading

void build_facility(int cur, int square, FacilityLot& fac) {
    PlayerRecord& pl = player_table[cur];
    const int32_t cost = scaled(fac.price);
    if (cost > pl.cash) {
        msg_show(NO_CASH, MSG_STANDARD_MS);
        return;
    }
    int kind;
    if (by_hand(pl)) {
        const int code =
            object_code(OBJ_FACILITY_BASE, static_cast<int>(&fac - map_facility_table));
        kind = decide_facility_kind(cur, code);
    } else {
        kind = game_rand() % 4 + 1;
    }
    if (kind < 0 || kind >= FACILITY_KIND_COUNT) kind = FK_PARK;
    // The kind stays written even when a god voids the building.
    fac.kind = static_cast<uint8_t>(kind);
    if (god_invest_fail(cur) != 0) return;
    fac.level = 1;
    board_view_refresh(0, 0, 1);
    snd_board_effect_play(FX_BUILT, 0);
    pl.cash -= cost;
    god_invest_bonus(cur, square);
}

void upgrade_facility(int cur, int square, FacilityLot& fac) {
    PlayerRecord& pl = player_table[cur];
    if (fac.kind >= FACILITY_KIND_COUNT || fac.level >= facility_max_level[fac.kind]) return;
    const int32_t cost = scaled(fac.fee[0]);
    if (cost > pl.cash) {
        msg_show(NO_CASH, MSG_STANDARD_MS);
        return;
    }
    char name[21];
    record_name(name, fac.name);
    char text[160];
    std::snprintf(text, sizeof text, "%s\n\n升级费用:%d元\n\n是否升级？", name, cost);
    bool yes = false;
    if (acts_by_itself(pl))
        yes = true;
    else if (by_hand(pl))
        yes = decide_yes_no(
            DECIDE_BUILD, cur, text, cost,
            object_code(OBJ_FACILITY_BASE, static_cast<int>(&fac - map_facility_table)));
    if (!yes) return;
    if (god_invest_fail(cur) != 0) return;
    pl.cash -= cost;
    ++fac.level;
    if (fac.level == 5) {
        speech_bubble(cur, 0, line(cur, SPEECH_ROW_TOP_LEVEL));
        board_play_animation();
    } else {
        god_invest_bonus(cur, square);
    }
}

void buy_facility_plot(int cur, int square, int index) {
    FacilityLot& fac = map_facility_table[index];
    PlayerRecord& pl = player_table[cur];
    if (pl.sleepwalk_days != 0 || pl.god_slot == GK_LAND_GOD) return;
    const int32_t price = scaled(fac.price);
    if (price > pl.cash) {
        msg_show(NO_CASH, MSG_STANDARD_MS);
        return;
    }
    char name[21];
    record_name(name, fac.name);
    char text[160];
    std::snprintf(text, sizeof text, "%s\n\n费用:%d元\n\n是否买下此地？", name, price);
    bool yes = false;
    if (acts_by_itself(pl))
        yes = land_ai_should_buy(price) == 1;
    else if (by_hand(pl))
        yes = decide_yes_no(DECIDE_BUY, cur, text, price, object_code(OBJ_FACILITY_BASE, index));
    if (!yes) return;
    if (god_invest_fail(cur) != 0) return;
    fac.owner = owner_of_seat(cur);
    board_view_refresh(0, 0, 1);
    snd_board_effect_play(FX_BOUGHT, 0);
    board_minimap_marks(0);
    land_set_purchase_expiry(fac.expiry);
    pl.cash -= price;
    god_invest_bonus(cur, square);
}

// ---------------------------------------------------------------------------
// Another's facility: the fee and the hotel stay

// The death god's holder pays in the payer's place; returns the payer.
int death_god_pays(int payer, const char* fee_name) {
    const int holder = god_find_death_holder(payer);
    if (!is_player_seat(holder)) return payer;
    const std::string holder_name = player_plain_name(holder);
    char text[160];
    std::snprintf(text, sizeof text, "死神显灵\n\n由%s赔偿%s", holder_name.c_str(), fee_name);
    msg_show(text, MSG_STANDARD_MS);
    return holder;
}

void hotel_stay(int cur, int payer, int owner_seat, int days, int square, int facility) {
    PlayerRecord& p = player_table[payer];
    player_add_grudge(cur, owner_seat, scaled(int64_t{days} * 20));
    player_clear_jail_hospital(payer);
    if (payer == cur) speech_react_count(cur, days);
    p.hotel_days = days == 1 ? STATUS_END_MARK : static_cast<uint8_t>(days - 1);
    fate_insurance_payout(payer, scaled(int64_t{days} * 2000));
    const int lost = p.days_lost_month + days;
    p.days_lost_month = static_cast<uint8_t>(lost > 255 ? 255 : lost);
    player_enter_building(payer, square, facility);
}

void pay_facility_fee(int cur, int square, int index) {
    FacilityLot& fac = map_facility_table[index];
    const int owner_seat = seat_of_owner(fac.owner);
    if (fac.level == 0 || fac.kind == FK_PARK || fac.kind == FK_RESEARCH_INSTITUTE ||
        fac.kind >= FACILITY_KIND_COUNT)
        return;
    const char* fee_name = fee_facility_name(fac.kind);
    snd_board_effect_play(FX_FEE, 0);
    if (fee_check_exemption(owner_seat, fac.mark, fee_name) == 0) return;

    const std::string owner_name = player_plain_name(owner_seat);
    const int level = fac.level <= 5 ? fac.level : 5;
    int64_t base = int64_t{fac.fee[level]} * game_price_index;
    if (fac.mark != 0) base *= 2;
    const bool hotel = fac.kind == FK_HOTEL;
    int days = 0;
    int32_t fee = 0;
    char text[200];
    switch (fac.kind) {
    case FK_HOTEL:
        days = spin_building_prompt(WHEEL_HOTEL_DAYS, owner_name.c_str());
        fee = util_clamp32(days * base);
        std::snprintf(text, sizeof text, "休息%d天\n\n费用%d元！", days, fee);
        msg_show(text, MSG_STANDARD_MS);
        break;
    case FK_SHOPPING_CENTRE: {
        const int multiple = spin_building_prompt(WHEEL_SHOPPING_MULTIPLE, owner_name.c_str());
        fee = util_clamp32(multiple * base);
        std::snprintf(text, sizeof text, "您的消费金额为\n\n%dx%d倍=%d元", util_clamp32(base),
                      multiple, fee);
        msg_show(text, MSG_STANDARD_MS);
        break;
    }
    default: { // the petrol station
        const int factor = fee_vehicle_factor(player_table[cur].travel);
        if (factor == 0) return; // a walker tanks nothing
        fee = scaled(int64_t{factor} * 500 * dice_total);
        std::snprintf(text, sizeof text, "%s\n\n董事长%s\n\n请付%d元%s", "加油站",
                      owner_name.c_str(), fee, fee_name);
        msg_show(text, MSG_STANDARD_MS);
        break;
    }
    }

    fee = fee_apply_god(cur, fee_name, fee);
    if (fee == 0) return;
    player_add_grudge(cur, owner_seat, fee / 100);

    int payer = cur;
    if (!hotel && fee_card_rescue_due(payer, fee) && card_has(cur, CARD_FREE_PASS) &&
        card_free_pass(cur, owner_seat, fee) == 1)
        fee = 0;
    if (fee_card_rescue_due(payer, fee) && card_has(cur, CARD_SCAPEGOAT)) {
        const int next = card_scapegoat(payer, 1, fee);
        if (is_player_seat(next)) payer = next;
    }
    if (fee != 0 || hotel) payer = death_god_pays(payer, fee_name);
    if (payer != owner_seat) {
        if (speech_react_rival_pays(payer, owner_seat, fee) == 0) speech_react_pay(payer, fee);
        speech_react_gain(owner_seat, fee);
        money_pay(payer, owner_seat, fee, 0);
        fac.last_fee = fee;
    }
    if (hotel && player_table[payer].control != CTRL_OUT && game_end_code == 0)
        hotel_stay(cur, payer, owner_seat, days, square, index);
}

// ---------------------------------------------------------------------------
// Companies

// The plot or facility a construction company raises for cur: a human
// playing by hand picks it on the board, anyone else gets his best one.
int construction_target(int cur, const char* company_name) {
    int target;
    if (by_hand(player_table[cur])) {
        char text[160];
        std::snprintf(text, sizeof text, "%s\n\n请选择欲加盖地点", company_name);
        msg_show(text, MSG_STANDARD_MS);
        target = decide(DecisionRequest{DECIDE_TARGET, cur, text, 0, 0,
                                        static_cast<int32_t>(CONSTRUCTION_PICK)});
    } else {
        target = map_best_building(cur);
    }
    if (object_in(target, OBJ_LOT_BASE, map_lot_count) ||
        object_in(target, OBJ_FACILITY_BASE, map_facility_count))
        return target;
    return 0;
}

// Moves the view to the target and raises it once, or twice when free.
int raise_with_film(int cur, int target, bool twice) {
    int x = 0, y = 0;
    map_object_position(target, &x, &y);
    board_view_refresh(x, y, 0);
    int result = map_raise_level(target);
    if (twice && (result & 0x80) == 0) result = map_raise_level(target);
    flc_play_entry(CONSTRUCTION_FILM, 0, 40, CONSTRUCTION_FILM_FLAGS, CONSTRUCTION_SOUND);
    if (result & 0x80) {
        if (twice) speech_bubble(cur, 0, line(cur, SPEECH_ROW_TOP_LEVEL));
        board_play_animation();
    }
    return result;
}

void chairman_privilege(int cur, const CompanyBuilding& c, const char* company_name) {
    if (c.kind == COMPANY_KIND_INSURANCE) {
        const int days = spin_building_prompt(WHEEL_INSURANCE_DAYS, company_name);
        PlayerRecord& pl = player_table[cur];
        pl.insurance_days = fee_add_days(pl.insurance_days, days);
    } else if (c.kind == COMPANY_KIND_CONSTRUCTION) {
        const int target = construction_target(cur, company_name);
        if (target == 0) return;
        raise_with_film(cur, target, true);
        board_repaint_all();
    }
}

void pay_company_fee(int cur, int company, const CompanyBuilding& c, const char* company_name) {
    PlayerRecord& pl = player_table[cur];
    const int64_t base = c.base_fee;
    int trip = 0;
    int64_t fee = 0;
    switch (c.kind) {
    case COMPANY_KIND_TRAVEL:
        trip = spin_building_prompt(WHEEL_TRAVEL, company_name);
        if (trip != 0) {
            fee = int64_t{trip} * base * game_price_index;
        } else {
            msg_show("不用出国！", MSG_STANDARD_MS);
            speech_bubble(cur, 0, line(cur, SPEECH_ROW_NO_TRIP));
        }
        break;
    case COMPANY_KIND_COMPUTER:
        fee = base * game_days_elapsed;
        break;
    case COMPANY_KIND_INSURANCE: {
        const int days = spin_building_prompt(WHEEL_INSURANCE_DAYS, company_name);
        fee = int64_t{days} * base * game_price_index;
        pl.insurance_days = fee_add_days(pl.insurance_days, days);
        break;
    }
    case COMPANY_KIND_REPAIR:
    case COMPANY_KIND_PETROL:
        fee = int64_t{fee_vehicle_factor(pl.travel)} * dice_total * base * game_price_index;
        break;
    case COMPANY_KIND_CONSTRUCTION: {
        const int target = construction_target(cur, company_name);
        if (target != 0) {
            raise_with_film(cur, target, false);
            const int lot = object_index(target, OBJ_LOT_BASE);
            fee = object_in(target, OBJ_LOT_BASE, map_lot_count)
                      ? int64_t{map_lot_table[lot].land_price} * game_price_index
                      : int64_t{map_facility_table[object_index(target, OBJ_FACILITY_BASE)].price} *
                            game_price_index;
        } else {
            fee = int64_t{1000} * game_price_index;
        }
        board_repaint_all();
        break;
    }
    default:
        break;
    }
    int32_t amount = util_clamp32(fee);
    if (amount == 0) return;

    const char* fee_name = fee_company_name(c.kind);
    const std::string chairman = player_plain_name(seat_of_owner(c.chairman));
    char text[200];
    std::snprintf(text, sizeof text, "%s\n\n董事长%s\n\n请付%d元%s", company_name, chairman.c_str(),
                  amount, fee_name);
    msg_show(text, MSG_STANDARD_MS);
    amount = fee_apply_god(cur, fee_name, amount);

    int payer = cur;
    if (fee_card_rescue_due(payer, amount) && card_has(cur, CARD_FREE_PASS) &&
        card_free_pass(cur, -1, amount) == 1)
        amount = 0;
    if (fee_card_rescue_due(payer, amount) && card_has(cur, CARD_SCAPEGOAT)) {
        const int next = card_scapegoat(payer, 1, amount);
        if (is_player_seat(next)) payer = next;
    }
    if (amount != 0 || trip != 0) payer = death_god_pays(payer, fee_name);
    if (payer == cur) speech_react_pay(cur, amount);
    money_pay(payer, party_of_company(company), amount, 0);
    if (trip != 0 && player_table[payer].control != CTRL_OUT && game_end_code == 0)
        player_send_away(payer, trip, 0);
    board_repaint_all();
}

} // namespace

const char* fee_facility_name(int kind) {
    switch (kind) {
    case FK_HOTEL:
        return "住宿费";
    case FK_SHOPPING_CENTRE:
        return "购物费";
    case FK_PETROL_STATION:
        return "加油费";
    default:
        return nullptr;
    }
}

const char* fee_company_name(int kind) {
    switch (kind) {
    case COMPANY_KIND_TRAVEL:
        return "旅游费";
    case COMPANY_KIND_COMPUTER:
        return "电脑费";
    case COMPANY_KIND_INSURANCE:
        return "保险费";
    case COMPANY_KIND_REPAIR:
        return "修车费";
    case COMPANY_KIND_PETROL:
        return "加油费";
    case COMPANY_KIND_CONSTRUCTION:
        return "工程费";
    default:
        return nullptr;
    }
}

uint8_t fee_add_days(uint8_t held, int days) {
    const int have = (held & STATUS_END_MARK) ? 0 : (held & STATUS_DAY_BITS);
    int total = have + (days > 0 ? days : 0);
    if (total > STATUS_DAY_BITS) total = STATUS_DAY_BITS;
    // Nothing held and nothing added keeps the counter as it was.
    return total == 0 ? held : static_cast<uint8_t>(total);
}

int fee_vehicle_factor(uint8_t travel) {
    const int v = travel & TRAVEL_MODE_MASK;
    return v == TRAVEL_WALK ? 0 : 1 << (v - 1);
}

void fee_land_facility(int square, int facility) {
    const int cur = game_active_mover;
    if (!is_player_seat(cur) || map_facility_table == nullptr || facility < 1 ||
        facility > map_facility_count)
        return;
    FacilityLot& fac = map_facility_table[facility];
    if (owner_is_seat(fac.owner, cur)) {
        if (player_table[cur].sleepwalk_days != 0) return;
        if (fac.level == 0)
            build_facility(cur, square, fac);
        else
            upgrade_facility(cur, square, fac);
    } else if (fac.owner == OWNER_NONE) {
        buy_facility_plot(cur, square, facility);
    } else if (fac.owner <= PLAYER_COUNT) {
        pay_facility_fee(cur, square, facility);
    }
}

void fee_land_company(int /*square*/, int company) {
    const int cur = game_active_mover;
    if (!is_player_seat(cur) || map_company_table == nullptr || company < 1 ||
        company > map_company_count)
        return;
    const CompanyBuilding& c = map_company_table[company];
    char name[21];
    record_name(name, c.name);
    if (owner_is_seat(c.chairman, cur))
        chairman_privilege(cur, c, name);
    else if (c.chairman != OWNER_NONE && c.chairman <= PLAYER_COUNT)
        pay_company_fee(cur, company, c, name);
    land_offer_shares(cur, company);
}
