// The 36 news events. Each handler runs twice: phase 0 chooses and draws,
// phase 1 shows and applies the rest.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/speech.h"
#include "cards/card_use.h"
#include "cards/news.h"
#include "cards/news_presenter.h"
#include "engine/flc.h"
#include "engine/random.h"
#include "engine/util.h"
#include "engine/wait.h"
#include "finance/auction.h"
#include "finance/stock.h"
#include "finance/trading.h"

const std::array<const char*, NEWS_EVENT_COUNT> news_text_table = {
    "#0149狱中囚犯无罪开释",
    "#0150狱中囚犯延长刑期%d天",
    "#0151住院中病患提前出院",
    "#0152住院中病患延长住院%d天",
    "#0153外星人攻打地球",
    "#0154外星怪兽袭击%s\n摧毁建筑一栋",
    "#0155%s公告地价调涨３０％",
    "#0156公开拍卖%s\n公有土地一处",
    "#0157公开表扬第一大地主\n%s获得%d元奖励",
    "#0158公开补助土地最少者\n%s获得%d元补助",
    "#0159公开表扬股市第一大户\n%s获得%d元奖励",
    "#0160所有人缴交所得税５％",
    "#0161所有人缴交地价税５％",
    "#0162所有人缴交证交税５％",
    "#0163%s房屋闹鬼\n地价下跌３０％",
    "#0164%s一处民宅瓦斯爆炸\n房屋失火",
    "#0165豪雨特报\n行人休息一回合",
    "#0166交通阻塞\n汽车停止一回合",
    "#0167%s强烈地震房屋倒塌",
    "#0168%s山洪爆发土地流失",
    "#0169超级台风侵袭%s\n多处房屋受损",
    "#0170龙卷风侵袭%s\n摧毁房屋一栋",
    "#0171银行挤兑停止放款１５天",
    "#0172银行加发１０％储金红利",
    "#0173股市低迷不振重挫崩盘",
    "#0174股市气势如虹全面上涨",
    "#0175股市暂停交易１０天",
    "#0176%s股票暂停交易１０天",
    "#0177%s股票恢复上市交易",
    "#0178%s违法超贷\n经营者%s坐牢５天",
    "#0179%s工厂排放污水\n罚款10000元",
    "#0180%s海外投资\n获利20000元",
    "#0181%s海外投资\n亏损20000元",
    "#0182%s违规开发山坡地\n罚款10000元",
    "#0183%s制造噪音公害\n罚款5000元",
    "#0184%s获利调高一倍",
};

namespace {

constexpr int TEXT_Y = 310;
constexpr int HELD_FACE_Y = 328; // jail and hospital faces, 42 apart
constexpr int HELD_FACE_STEP = 42;
constexpr int LINE_Y = 346; // per-player lines, 32 apart, faces 12 lower
constexpr int LINE_STEP = 32;
constexpr int LINE_FACE_DY = 12;
constexpr int AREA_RADIUS = 100;
constexpr int FLC_X = 0, FLC_Y = 40;

char text[256];

void draw_text() {
    news_presenter().text(text, EVENT_TEXT_X, TEXT_Y);
}

bool active(int p) {
    return player_table[p].control != CTRL_OUT;
}

int32_t scaled(int64_t amount) {
    return util_clamp32(price_scaled(amount));
}

// ---------------------------------------------------------------------------
// Random targets

// A random plot (code 2000 + i) or facility (4000 + i) passing the test, plots
// first in table order; 0 when none does.
template <typename LotTest, typename FacilityTest>
int random_object(LotTest lot_test, FacilityTest facility_test) {
    int count = 0;
    for (int i = 1; i <= map_lot_count; ++i)
        count += lot_test(map_lot_table[i]) ? 1 : 0;
    for (int i = 1; i <= map_facility_count; ++i)
        count += facility_test(map_facility_table[i]) ? 1 : 0;
    if (count == 0) return 0;
    int r = game_rand() % count;
    for (int i = 1; i <= map_lot_count; ++i)
        if (lot_test(map_lot_table[i]) && r-- == 0) return object_code(OBJ_LOT_BASE, i);
    for (int i = 1; i <= map_facility_count; ++i)
        if (facility_test(map_facility_table[i]) && r-- == 0)
            return object_code(OBJ_FACILITY_BASE, i);
    return 0;
}

int random_built() {
    const auto built = [](const auto& r) { return r.level > 0; };
    return random_object(built, built);
}

// Any plot or facility, owned or not, built or not.
int random_property() {
    const int total = map_lot_count + map_facility_count;
    if (total <= 0) return 0;
    const int a = game_rand() % total;
    return a < map_lot_count ? object_code(OBJ_LOT_BASE, a + 1)
                             : object_code(OBJ_FACILITY_BASE, a - map_lot_count + 1);
}

// ---------------------------------------------------------------------------
// Prisoners and patients

// Faces of the held players, and the change of each one's days.
void held_players(int phase, bool hospital, int face, bool release, const char* format) {
    if (phase != 0) return;
    std::snprintf(text, sizeof text, format, 3);
    draw_text();
    auto& flags = hospital ? hospital_flags : jail_flags;
    int y = HELD_FACE_Y;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!flags[p]) continue;
        news_presenter().face(p, face, EVENT_FACE_X, y);
        y += HELD_FACE_STEP;
        uint8_t& days = hospital ? player_table[p].hospital_days : player_table[p].jail_days;
        if (release) {
            days = STATUS_END_MARK; // leaves at its next count
            flags[p] = 0;
        } else {
            // Added to the days held (the end mark holds none), at most 127.
            const int held = (days & STATUS_END_MARK) ? 0 : (days & STATUS_DAY_BITS);
            days = static_cast<uint8_t>(std::min(held + 3, int{STATUS_DAY_BITS}));
        }
    }
}

void news_prisoners_released(int phase) {
    held_players(phase, false, 4, true, news_text_table[0]);
}
void news_sentences_extended(int phase) {
    held_players(phase, false, 3, false, news_text_table[1]);
}
void news_patients_discharged(int phase) {
    held_players(phase, true, 4, true, news_text_table[2]);
}
void news_hospital_stays_extended(int phase) {
    held_players(phase, true, 3, false, news_text_table[3]);
}

// ---------------------------------------------------------------------------
// Damage on the board

void news_alien_attack(int phase) {
    if (phase == 0) {
        std::snprintf(text, sizeof text, "%s", news_text_table[4]);
        draw_text();
        return;
    }
    news_target = random_built();
    news_scroll_to_object(news_target);
    map_area_effect(AREA_RADIUS, MAP_AREA_PLOTS | MAP_AREA_FACILITIES | MAP_AREA_OCCUPANTS,
                    MAP_OP_TAKE, -1);
    flc_play_entry(490, FLC_X, FLC_Y, 0x180001, 86);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (player_table[p].control & CTRL_BLAST_HIT) jail_send_hospital(p, 3);
    board_repaint_all();
}

void news_alien_monster(int phase) {
    if (phase == 0) {
        news_target = random_built();
        news_value = news_owner_of(news_target);
        std::snprintf(text, sizeof text, news_text_table[5], news_property_name(news_target));
        draw_text();
        return;
    }
    news_scroll_to_object(news_target);
    map_building_op(news_target, MAP_OP_TAKE);
    flc_play_entry(498, FLC_X, FLC_Y, 0x200001, 84);
    news_owner_complaint(news_value);
}

// Land prices of the target's street (a plot) or of the facility times
// factor, truncated and held within 16 bits.
void land_price_change(int phase, double factor, const char* format) {
    if (phase == 0) {
        news_target = random_property();
        std::snprintf(text, sizeof text, format, news_property_name(news_target));
        draw_text();
        return;
    }
    const auto scale = [factor](uint16_t& price) {
        price = static_cast<uint16_t>(std::min(std::trunc(price * factor), 65535.0));
    };
    news_scroll_to_object(news_target);
    news_mark_begin();
    if (object_in(news_target, OBJ_LOT_BASE, map_lot_count)) {
        const LandLot& target = map_lot_table[object_index(news_target, OBJ_LOT_BASE)];
        char street[sizeof target.street];
        std::memcpy(street, target.street, sizeof street);
        for (int i = 1; i <= map_lot_count; ++i) {
            LandLot& l = map_lot_table[i];
            if (std::strncmp(l.street, street, sizeof street) != 0) continue;
            news_mark_object(object_code(OBJ_LOT_BASE, i));
            scale(l.land_price);
        }
    } else if (object_in(news_target, OBJ_FACILITY_BASE, map_facility_count)) {
        news_mark_object(news_target);
        scale(map_facility_table[object_index(news_target, OBJ_FACILITY_BASE)].price);
    }
    board_flash_marked();
}

void news_land_price_rise(int phase) {
    land_price_change(phase, 1.3, news_text_table[6]);
}
void news_haunted_houses(int phase) {
    land_price_change(phase, 0.7, news_text_table[14]);
}

void news_public_land_auction(int phase) {
    if (phase == 0) {
        const auto unowned = [](const auto& r) { return r.owner == OWNER_NONE; };
        news_target = random_object(unowned, unowned);
        std::snprintf(text, sizeof text, news_text_table[7], news_property_name(news_target));
        draw_text();
        return;
    }
    auction_run(-1, news_target, 1);
}

// ---------------------------------------------------------------------------
// Awards

// Plots and facilities owned by p.
int properties_of(int p) {
    int n = 0;
    for (int i = 1; i <= map_lot_count; ++i)
        n += owner_is_seat(map_lot_table[i].owner, p) ? 1 : 0;
    for (int i = 1; i <= map_facility_count; ++i)
        n += owner_is_seat(map_facility_table[i].owner, p) ? 1 : 0;
    return n;
}

int shares_of(int p) {
    int64_t n = 0;
    for (int s = 0; s < STOCK_COUNT; ++s)
        n += stock_holdings[p][s].shares;
    return util_clamp32(n);
}

// The award of events 8, 9 and 10: phase 0 picks the winner among the active
// players by count (largest above 0, or smallest), lowest seat on ties.
void award(int phase, int (*count_of)(int), bool largest, int64_t base, const char* format) {
    if (phase == 0) {
        int winner = -1, best = 0;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            if (!active(p)) continue;
            const int n = count_of(p);
            if (largest ? (n > 0 && (winner < 0 || n > best)) : (winner < 0 || n < best))
                winner = p, best = n;
        }
        news_target = winner;
        news_value = scaled(base);
        if (winner < 0) return;
        std::snprintf(text, sizeof text, format, player_plain_name(winner).c_str(), news_value);
        draw_text();
        news_presenter().face(winner, 4, EVENT_FACE_X, HELD_FACE_Y);
        return;
    }
    if (news_target < 0) return;
    news_scroll_to_player(news_target);
    money_credit(news_target, news_value, MONEY_INTO_CASH);
    board_refresh_actor_panel(news_target);
    speech_react_gain(news_target, news_value);
}

void news_award_top_landowner(int phase) {
    award(phase, properties_of, true, 10000, news_text_table[8]);
}
void news_subsidy_least_land(int phase) {
    award(phase, properties_of, false, 5000, news_text_table[9]);
}
void news_award_top_investor(int phase) {
    award(phase, shares_of, true, 10000, news_text_table[10]);
}

// ---------------------------------------------------------------------------
// Taxes

int32_t income_tax(int p) {
    // Negative cash owes no tax.
    return std::max(0, static_cast<int32_t>(std::trunc(player_table[p].cash * 0.05)));
}

int32_t land_tax(int p) {
    int64_t v = 0;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (owner_is_seat(l.owner, p)) v += int64_t{l.build_price} * l.level + l.land_price;
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        if (owner_is_seat(f.owner, p)) v += int64_t{f.fee[0]} * f.level + f.price;
    }
    return scaled(static_cast<int64_t>(std::trunc(0.05 * static_cast<double>(v))));
}

int32_t securities_tax(int p) {
    float v = 0.0f;
    for (int s = 0; s < STOCK_COUNT; ++s)
        v += static_cast<float>(stock_holdings[p][s].shares) * stock_table[s].price;
    return scaled(static_cast<int64_t>(std::trunc(0.05 * static_cast<double>(v))));
}

void tax(int phase, int32_t (*tax_of)(int), const char* heading) {
    if (phase == 0) {
        std::snprintf(text, sizeof text, "%s", heading);
        draw_text();
        news_presenter().font(EVENT_LINE_FONT);
        int y = LINE_Y;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            news_amounts[p] = active(p) ? tax_of(p) : 0;
            if (news_amounts[p] == 0) continue;
            char line[96];
            std::snprintf(line, sizeof line, "%s缴交%d元", player_plain_name(p).c_str(),
                          news_amounts[p]);
            news_presenter().text(line, EVENT_TEXT_X, y);
            news_presenter().face(p, 3, EVENT_FACE_X, y + LINE_FACE_DY);
            y += LINE_STEP;
        }
        return;
    }
    // A payer made bankrupt may end the game: nothing more is collected then.
    for (int p = 0; p < PLAYER_COUNT && game_end_code == 0; ++p)
        if (active(p) && news_amounts[p] > 0) money_pay(p, PARTY_JACKPOT, news_amounts[p], 0);
}

void news_income_tax(int phase) {
    tax(phase, income_tax, news_text_table[11]);
}
void news_land_tax(int phase) {
    tax(phase, land_tax, news_text_table[12]);
}
void news_securities_tax(int phase) {
    tax(phase, securities_tax, news_text_table[13]);
}

// ---------------------------------------------------------------------------
// Disasters

void news_gas_explosion(int phase) {
    if (phase == 0) {
        const auto built = [](const LandLot& r) { return r.level > 0; };
        news_target = random_object(built, [](const FacilityLot&) { return false; });
        std::snprintf(text, sizeof text, news_text_table[15], news_property_name(news_target));
        draw_text();
        return;
    }
    const int owner = news_owner_of(news_target);
    news_scroll_to_object(news_target);
    map_building_op(news_target, MAP_OP_LOWER);
    flc_play_entry(486, FLC_X, FLC_Y, 0x50001, 87);
    wait_ms_skippable(300);
    news_owner_complaint(owner);
}

// Every active player whose travel matches stays one turn.
void stay_one_turn(int phase, bool riding, const char* heading) {
    if (phase != 0) return;
    std::snprintf(text, sizeof text, "%s", heading);
    draw_text();
    int y = LINE_Y;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!active(p) || (player_table[p].travel != 0) != riding) continue;
        news_presenter().face(p, 2, EVENT_FACE_X, y + LINE_FACE_DY);
        y += LINE_STEP;
        player_table[p].stay_days = 1;
    }
}

void news_heavy_rain(int phase) {
    stay_one_turn(phase, false, news_text_table[16]);
}
void news_traffic_jam(int phase) {
    stay_one_turn(phase, true, news_text_table[17]);
}

void news_earthquake(int phase) {
    if (phase == 0) {
        news_target = random_property();
        std::snprintf(text, sizeof text, news_text_table[18], news_property_name(news_target));
        draw_text();
        return;
    }
    news_scroll_to_object(news_target);
    news_mark_begin();
    if (object_in(news_target, OBJ_LOT_BASE, map_lot_count)) {
        const LandLot& target = map_lot_table[object_index(news_target, OBJ_LOT_BASE)];
        char street[sizeof target.street];
        std::memcpy(street, target.street, sizeof street);
        for (int i = 1; i <= map_lot_count; ++i) {
            LandLot& l = map_lot_table[i];
            if (l.level == 0 || std::strncmp(l.street, street, sizeof street) != 0) continue;
            news_mark_object(object_code(OBJ_LOT_BASE, i));
            if (l.chain_store) {
                l.level = 0;
                l.chain_store = 0;
            } else {
                --l.level;
            }
        }
    } else if (object_in(news_target, OBJ_FACILITY_BASE, map_facility_count)) {
        FacilityLot& f = map_facility_table[object_index(news_target, OBJ_FACILITY_BASE)];
        if (f.level > 0) {
            news_mark_object(news_target);
            if (--f.level == 0) {
                f.kind = 0;
                player_end_hotel_stays();
            }
        }
    }
    board_flash_marked();
    board_view_refresh(0, 0, 1);
    wait_ms_skippable(500);
}

void news_flash_flood(int phase) {
    if (phase == 0) {
        news_target = random_property();
        news_value = news_owner_of(news_target);
        std::snprintf(text, sizeof text, news_text_table[19], news_property_name(news_target));
        draw_text();
        return;
    }
    news_scroll_to_object(news_target);
    news_mark_begin();
    news_mark_object(news_target);
    map_building_op(news_target, MAP_OP_TAKE);
    board_flash_marked();
    board_view_refresh(0, 0, 1);
    wait_ms_skippable(300);
    news_owner_complaint(news_value);
}

void news_typhoon(int phase) {
    if (phase == 0) {
        news_target = random_property();
        std::snprintf(text, sizeof text, news_text_table[20], news_property_name(news_target));
        draw_text();
        return;
    }
    news_scroll_to_object(news_target);
    map_area_effect(AREA_RADIUS, MAP_AREA_PLOTS | MAP_AREA_FACILITIES, MAP_OP_LOWER, -1);
    flc_play_entry(493, FLC_X, FLC_Y, 0x80001, 89);
    wait_ms_skippable(500);
}

void news_tornado(int phase) {
    if (phase == 0) {
        news_target = random_property();
        news_value = news_owner_of(news_target);
        std::snprintf(text, sizeof text, news_text_table[21], news_property_name(news_target));
        draw_text();
        return;
    }
    news_scroll_to_object(news_target);
    map_building_op(news_target, MAP_OP_LOWER);
    flc_play_entry(494, FLC_X, FLC_Y, 0x80001, 88);
    wait_ms_skippable(300);
    news_owner_complaint(news_value);
}

// ---------------------------------------------------------------------------
// The bank and the market

void news_bank_run(int phase) {
    if (phase != 0) return;
    std::snprintf(text, sizeof text, "%s", news_text_table[22]);
    draw_text();
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (active(p)) player_table[p].bank_suspension_days = 15;
}

void news_deposit_bonus(int phase) {
    if (phase != 0) return;
    std::snprintf(text, sizeof text, "%s", news_text_table[23]);
    draw_text();
    news_presenter().font(EVENT_LINE_FONT);
    int y = LINE_Y;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (!active(p) || player_table[p].loan != 0) continue;
        const int32_t bonus =
            std::max(0, static_cast<int32_t>(std::trunc(player_table[p].deposit * 0.1)));
        money_credit(p, bonus, 0);
        char line[96];
        std::snprintf(line, sizeof line, "%s得到%d元", player_plain_name(p).c_str(), bonus);
        news_presenter().text(line, EVENT_TEXT_X, y);
        news_presenter().face(p, 4, EVENT_FACE_X, y + LINE_FACE_DY);
        y += LINE_STEP;
    }
}

void market_forced(int phase, uint8_t forced, const char* heading) {
    if (phase != 0) return;
    std::snprintf(text, sizeof text, "%s", heading);
    draw_text();
    for (StockRecord& s : stock_table)
        s.forced_move = forced;
    stock_force_move(0);
}

void news_market_crash(int phase) {
    market_forced(phase, 0x01, news_text_table[24]);
}
void news_market_boom(int phase) {
    market_forced(phase, 0x10, news_text_table[25]);
}

void news_market_halt(int phase) {
    if (phase != 0) return;
    std::snprintf(text, sizeof text, "%s", news_text_table[26]);
    draw_text();
    stock_closed_days = 10;
}

void news_stock_suspended(int phase) {
    if (phase != 0) return;
    const int s = game_rand() % STOCK_COUNT;
    StockRecord& r = stock_table[s];
    r.suspended_days = 10;
    r.price = r.previous_price;
    const int day = stock_history_day - 1 < 0 ? STOCK_HISTORY_DAYS - 1 : stock_history_day - 1;
    if (day >= 0 && day < STOCK_HISTORY_DAYS) stock_price_history[s][day] = r.previous_price;
    std::snprintf(text, sizeof text, news_text_table[27], stock_name(s));
    draw_text();
}

void news_stock_resumed(int phase) {
    if (phase != 0) return;
    int count = 0;
    for (const StockRecord& r : stock_table)
        count += r.suspended_days != 0 ? 1 : 0;
    if (count == 0) return;
    int k = game_rand() % count, s = 0;
    for (; s < STOCK_COUNT; ++s)
        if (stock_table[s].suspended_days != 0 && k-- == 0) break;
    stock_table[s].suspended_days = 0;
    std::snprintf(text, sizeof text, news_text_table[28], stock_name(s));
    draw_text();
}

// ---------------------------------------------------------------------------
// The companies

const char* company_name(int c) {
    static char name[24];
    const CompanyBuilding& b = map_company_table[c];
    std::snprintf(name, sizeof name, "%.*s", static_cast<int>(sizeof b.name), b.name);
    return name;
}

void news_chairman_jailed(int phase) {
    if (phase == 0) {
        // Any chairman may be drawn: that one of them is free only lets the
        // event run, and the jail ends whatever stay the drawn one is in.
        int count = 0;
        for (int i = 1; i <= map_company_count; ++i)
            count += map_company_table[i].chairman != OWNER_NONE ? 1 : 0;
        news_target = -1;
        if (count == 0) return;
        int k = game_rand() % count, c = 1;
        for (; c <= map_company_count; ++c)
            if (map_company_table[c].chairman != OWNER_NONE && k-- == 0) break;
        news_target = seat_of_owner(map_company_table[c].chairman);
        std::snprintf(text, sizeof text, news_text_table[29], company_name(c),
                      player_plain_name(news_target).c_str());
        draw_text();
        return;
    }
    if (news_target < 0) return;
    news_scroll_to_player(news_target);
    const int v = card_resolve_victim(news_target);
    if (v != -1) jail_send(v, 5);
}

// Events 30-34: a random company's earnings change by a fixed amount (not
// scaled by the price index) and its listed stock is forced to move.
void company_earnings(int phase, int32_t change, uint8_t forced, const char* format) {
    if (phase != 0 || map_company_count <= 0) return;
    const int c = game_rand() % map_company_count + 1;
    CompanyBuilding& b = map_company_table[c];
    b.earnings = util_add_sat32(b.earnings, change);
    b.earnings_total = util_add_sat32(b.earnings_total, change);
    if (b.listed < STOCK_COUNT) {
        stock_table[b.listed].forced_move = forced;
        stock_force_move(b.listed + 1);
    }
    std::snprintf(text, sizeof text, format, company_name(c));
    draw_text();
}

void news_pollution_fine(int phase) {
    company_earnings(phase, -10000, 0x03, news_text_table[30]);
}
void news_overseas_profit(int phase) {
    company_earnings(phase, 20000, 0x30, news_text_table[31]);
}
void news_overseas_loss(int phase) {
    company_earnings(phase, -20000, 0x04, news_text_table[32]);
}
void news_hillside_fine(int phase) {
    company_earnings(phase, -10000, 0x03, news_text_table[33]);
}
void news_noise_fine(int phase) {
    company_earnings(phase, -5000, 0x03, news_text_table[34]);
}

void news_profit_doubled(int phase) {
    if (phase != 0) return;
    int count = 0;
    for (int i = 1; i <= map_company_count; ++i)
        count += map_company_table[i].earnings > 10000 ? 1 : 0;
    if (count == 0) return;
    int k = game_rand() % count, c = 1;
    for (; c <= map_company_count; ++c)
        if (map_company_table[c].earnings > 10000 && k-- == 0) break;
    CompanyBuilding& b = map_company_table[c];
    const int32_t e = b.earnings;
    b.earnings = util_clamp32(int64_t{e} * 2);
    b.earnings_total = util_add_sat32(b.earnings_total, int64_t{e} * 2);
    if (b.listed < STOCK_COUNT) {
        stock_table[b.listed].forced_move = static_cast<uint8_t>((e / 10000) * 16);
        stock_force_move(b.listed + 1);
    }
    std::snprintf(text, sizeof text, news_text_table[35], company_name(c));
    draw_text();
}

} // namespace

const std::array<EventHandler, NEWS_EVENT_COUNT> news_handler_table = {
    news_prisoners_released,
    news_sentences_extended,
    news_patients_discharged,
    news_hospital_stays_extended,
    news_alien_attack,
    news_alien_monster,
    news_land_price_rise,
    news_public_land_auction,
    news_award_top_landowner,
    news_subsidy_least_land,
    news_award_top_investor,
    news_income_tax,
    news_land_tax,
    news_securities_tax,
    news_haunted_houses,
    news_gas_explosion,
    news_heavy_rain,
    news_traffic_jam,
    news_earthquake,
    news_flash_flood,
    news_typhoon,
    news_tornado,
    news_bank_run,
    news_deposit_bonus,
    news_market_crash,
    news_market_boom,
    news_market_halt,
    news_stock_suspended,
    news_stock_resumed,
    news_chairman_jailed,
    news_pollution_fine,
    news_overseas_profit,
    news_overseas_loss,
    news_hillside_fine,
    news_noise_fine,
    news_profit_doubled,
};
