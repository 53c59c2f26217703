// The 49 fate rows. Each handler runs twice: phase 0 sets the amount and
// draws the text and the face, phase 1 asks the god where the row says so and
// applies the outcome to the current mover.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/speech.h"
#include "board/status.h"
#include "board/view.h"
#include "cards/card_use.h"
#include "cards/cards.h"
#include "cards/fate.h"
#include "cards/fate_gods.h"
#include "cards/news_presenter.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/util.h"
#include "engine/wait.h"
#include "finance/bank.h"
#include "finance/stock.h"
#include "finance/trading.h"

const std::array<const char*, FATE_ROW_COUNT> fate_text_table = {
    "#0185强制拆除房屋一栋",
    "#0186强制徵收土地一处",
    "#0187人头被盗用冒贷%d元",
    "#0188支票跳票\n银行拒绝往来一个月",
    "#0189侵入银行电脑\n挪用其他人存款%d％",
    "#0190今天是你生日\n向每人收取一张卡片",
    "#0191强迫出国观光%d天",
    "#0192被外星人绑架%d天",
    "#0193股票违约交割损失股票%d％",
    "#0194变卖所有股票求现",
    "#0195机车被偷遗失",
    "#0196汽车撞电线杆全毁",
    "#0197掉进水沟就医%d天",
    "#0198骑摩托车摔伤住院%d天",
    "#0199行人闯越马路罚款%d元",
    "#0200骑摩托车未戴安全帽\n罚款%d元",
    "#0201汽车超速罚款%d元",
    "#0202请所有人吃大餐\n花费%d元",
    "#0203乱丢垃圾罚款%d元",
    "#0204你家小狗乱大小便\n罚款%d元",
    "#0205在路边捡到%d元",
    "#0206在路边捡到%d元",
    "#0207在路边捡到%d元",
    "#0208遗失钱包损失%d元",
    "#0209遗失钱包损失%d元",
    "#0210意外获得遗产%d元",
    "#0211被倒会损失%d元",
    "#0212发票中奖%d元",
    "#0213发票中奖%d元",
    "#0214发票中奖%d元",
    "#0215付保险金%d元",
    "#0216领取保险金%d元",
    "#0217变卖所有卡片道具",
    "#0218酒醉大闹警局坐牢%d天",
    "#0219防碍风化坐牢%d天",
    "#0220走私毒品坐牢%d天",
    "#0221贩卖大补帖坐牢%d天",
    "#0222酒醉大闹警局坐牢%d天",
    "#0223违法聚众示威坐牢%d天",
    "#0224猎捕保育动物坐牢%d天",
    "#0225盗卖国宝坐牢%d天",
    "#0226诱骗未成年少女拘役%d天",
    "#0227防碍风化坐牢%d天",
    "#0228走私毒品坐牢%d天",
    "#0229施放毒气坐牢%d天",
    "#0230非法持有枪械坐牢%d天",
    "#0231殴打警员坐牢%d天",
    "#0232猎捕保育动物坐牢%d天",
    "#0233盗卖国家机密坐牢%d天",
};

namespace {

constexpr int TEXT_Y = 330;
constexpr int FACE_Y = 344;
constexpr int ITEM_MOTORBIKE = 5;
constexpr int ITEM_CAR = 6;

int cur() {
    return game_active_mover;
}
PlayerRecord& me() {
    return player_table[game_active_mover];
}

// Phase 0 of every row: the text (with the amount where it has %d) and the face.
void draw(const char* format, int face) {
    char text[160];
    std::snprintf(text, sizeof text, format, fate_amount);
    news_presenter().text(text, EVENT_TEXT_X, TEXT_Y);
    news_presenter().face(cur(), face, EVENT_FACE_X, FACE_Y);
}

void god_message() {
    msg_show(fate_god_message, MSG_STANDARD_MS);
}

void say(int expression, int row) {
    speech_bubble(cur(), expression, speech_line(me().character, row));
}

// Asks the god and refreshes the board, as every row with a god does.
int ask_god(int kind, int loss) {
    fate_god_result = fate_god_modifier(kind, loss);
    board_view_refresh(0, 0, 3);
    return fate_god_result;
}

// ---------------------------------------------------------------------------
// The money rows 14-31 on one routine: a loss into the jackpot or a gain.

struct MoneyRow {
    int face;
    int32_t base; // yuan, times the price index
    bool gain;
};
constexpr MoneyRow MONEY_ROWS[] = {
    {2, 3000, false}, // 14 fate_jaywalking_fine
    {2, 3000, false}, // 15 fate_no_helmet_fine
    {2, 3000, false}, // 16 fate_speeding_fine
    {3, 6000, false}, // 17 fate_treat_everyone
    {3, 600, false},  // 18 fate_littering_fine
    {2, 1500, false}, // 19 fate_dog_fine
    {1, 1000, true},  // 20 fate_found_money_small
    {4, 2000, true},  // 21 fate_found_money_medium
    {4, 3000, true},  // 22 fate_found_money_large
    {2, 1000, false}, // 23 fate_lost_wallet_small
    {3, 2000, false}, // 24 fate_lost_wallet_large
    {4, 10000, true}, // 25 fate_inheritance
    {3, 8000, false}, // 26 fate_savings_club_collapse
    {1, 4000, true},  // 27 fate_receipt_prize_small
    {4, 6000, true},  // 28 fate_receipt_prize_medium
    {4, 8000, true},  // 29 fate_receipt_prize_large
    {2, 5000, false}, // 30 fate_pay_premium
    {4, 5000, true},  // 31 fate_collect_insurance
};
constexpr int FIRST_MONEY_ROW = 14;

void money_loss() {
    int32_t amount = fate_amount;
    const int g = ask_god(FATE_GOD_MONEY, 1);
    if (g == FATE_GOD_WAIVE) {
        god_message();
        speech_react_spared(cur(), amount);
        return;
    }
    if (g == FATE_GOD_DOUBLE) {
        god_message();
        amount = util_clamp32(int64_t{amount} * 2);
    }
    money_pay(cur(), PARTY_JACKPOT, amount, 0);
    // A fine that bankrupted the player ends the row here.
    if (me().control != CTRL_OUT && game_end_code == 0) {
        speech_react_pay(cur(), amount);
        fate_insurance_payout(cur(), amount);
    }
}

void money_gain() {
    int32_t amount = fate_amount;
    const int g = ask_god(FATE_GOD_MONEY, 0);
    if (g == FATE_GOD_WAIVE) {
        god_message();
        return;
    }
    if (g == FATE_GOD_DOUBLE) {
        god_message();
        amount = util_clamp32(int64_t{amount} * 2);
    }
    money_credit(cur(), amount, MONEY_INTO_CASH);
    speech_react_gain(cur(), amount);
}

template <int Row> void money_row(int phase) {
    const MoneyRow& r = MONEY_ROWS[Row - FIRST_MONEY_ROW];
    if (phase == 0) {
        fate_amount = util_clamp32(int64_t{r.base} * game_price_index);
        draw(fate_text_table[Row], r.face);
        return;
    }
    if (r.gain)
        money_gain();
    else
        money_loss();
}

// ---------------------------------------------------------------------------
// The jail rows 33-48 on one routine: the text and the days of each map.

struct JailRow {
    int days;
};
constexpr JailRow JAIL_ROWS[] = {
    {3}, // 33 fate_jail_drunk
    {5}, // 34 fate_jail_indecency
    {7}, // 35 fate_jail_drug_smuggling
    {9}, // 36 fate_jail_pirated_software
    {3}, // 37 fate_jail_drunk_2
    {5}, // 38 fate_jail_protest
    {7}, // 39 fate_jail_poaching
    {9}, // 40 fate_jail_relic_theft
    {3}, // 41 fate_jail_minor
    {5}, // 42 fate_jail_indecency_2
    {7}, // 43 fate_jail_drug_smuggling_2
    {9}, // 44 fate_jail_poison_gas
    {3}, // 45 fate_jail_firearms
    {5}, // 46 fate_jail_assault_police
    {7}, // 47 fate_jail_poaching_2
    {9}, // 48 fate_jail_state_secrets
};
constexpr int FIRST_JAIL_ROW = 33;

template <int Row> void jail_row(int phase) {
    const JailRow& r = JAIL_ROWS[Row - FIRST_JAIL_ROW];
    if (phase == 0) {
        fate_amount = r.days;
        draw(fate_text_table[Row], 3);
        return;
    }
    int days = fate_amount;
    const int g = ask_god(FATE_GOD_MISHAP, 1);
    if (g == FATE_GOD_WAIVE) {
        god_message();
        say(0, 0);
        return;
    }
    if (g == FATE_GOD_DOUBLE) {
        god_message();
        days *= 2;
    }
    const int v = card_resolve_victim(cur());
    if (v != -1) jail_send(v, days);
}

// ---------------------------------------------------------------------------
// The other rows

// A random plot of cur, built (row 0) or not (row 1), in table order.
int random_own_plot(bool built) {
    int count = 0;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        count += owner_is_seat(l.owner, cur()) && (l.level > 0) == built ? 1 : 0;
    }
    if (count == 0) return 0;
    int k = game_rand() % count;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (owner_is_seat(l.owner, cur()) && (l.level > 0) == built && k-- == 0) return i;
    }
    return 0;
}

// Rows 0 and 1: the state takes a plot's houses or the plot itself and pays.
void plot_taken(int phase, bool built, const char* text) {
    if (phase == 0) {
        fate_choice = random_own_plot(built);
        fate_amount = 0;
        draw(text, 2);
        return;
    }
    if (fate_choice <= 0 || fate_choice > map_lot_count) return;
    LandLot& l = map_lot_table[fate_choice];
    const int code = object_code(OBJ_LOT_BASE, fate_choice);
    news_scroll_to_object(code);
    news_mark_begin();
    news_mark_object(code);
    if (built) {
        money_credit(cur(), int32_t{l.build_price} * l.level, MONEY_INTO_CASH);
        l.level = 0;
        l.chain_store = 0;
    } else {
        money_credit(cur(), l.land_price, MONEY_INTO_CASH);
        l.owner = OWNER_NONE;
        l.expiry = 0;
        view_draw_minimap_marks(0);
    }
    board_flash_marked();
    board_view_refresh(0, 0, 1);
    wait_ms_skippable(300);
    say(2, 3 + (game_rand() & 1));
}

void fate_house_demolished(int phase) {
    plot_taken(phase, true, fate_text_table[0]);
}
void fate_land_expropriated(int phase) {
    plot_taken(phase, false, fate_text_table[1]);
}

void fate_identity_loan(int phase) {
    if (phase == 0) {
        fate_amount = util_clamp32(int64_t{10000} * game_price_index);
        draw(fate_text_table[2], 3);
        return;
    }
    int32_t amount = fate_amount;
    const int g = ask_god(FATE_GOD_MONEY, 1);
    if (g != FATE_GOD_NONE) god_message();
    if (g == FATE_GOD_WAIVE) return;
    if (g == FATE_GOD_DOUBLE) amount = util_clamp32(int64_t{amount} * 2);
    me().loan = util_add_sat32(me().loan, amount);
    bank_set_loan_due(cur());
    fate_insurance_payout(cur(), amount);
}

void fate_bounced_check(int phase) {
    if (phase == 0) {
        fate_amount = 0;
        draw(fate_text_table[3], 3);
        return;
    }
    fate_god_result = fate_god_modifier(FATE_GOD_MONEY, 1);
    if (fate_god_result == FATE_GOD_WAIVE) {
        board_view_refresh(0, 0, 3);
        god_message();
        return;
    }
    // An 8-bit counter: the end mark it may hold stays set.
    me().bank_refusal_days = static_cast<uint8_t>(me().bank_refusal_days + 30);
}

void fate_bank_hack(int phase) {
    if (phase == 0) {
        fate_amount = 10;
        fate_choice = 10;
        draw(fate_text_table[4], 1);
        return;
    }
    for (int q = 0; q < PLAYER_COUNT; ++q) {
        const PlayerRecord& r = player_table[q];
        if (q == cur() || r.control == CTRL_OUT || r.deposit <= 0) continue;
        const int32_t amount =
            static_cast<int32_t>(std::trunc(static_cast<double>(r.deposit) * fate_choice / 100.0));
        money_pay(q, cur(), amount, MONEY_DEPOSIT_FIRST);
    }
}

void fate_birthday(int phase) {
    if (phase == 0) {
        fate_amount = 0;
        draw(fate_text_table[5], 4);
        return;
    }
    const bool computer = (me().control & 0x0F) > CTRL_HUMAN;
    bool gave = false;
    for (int q = 0; q < PLAYER_COUNT; ++q) {
        if (q == cur() || player_table[q].control == CTRL_OUT || card_count(q) == 0) continue;
        if (computer) {
            const int id = card_lose_random(q);
            if (id != 0 && card_add(cur(), id)) gave = true;
            continue;
        }
        char line[96];
        std::snprintf(line, sizeof line, "向%s收一张卡片", player_plain_name(q).c_str());
        news_presenter().strip_text(line);
        const int before = card_count(q);
        card_steal(q, cur(), 0);
        if (card_count(q) < before) gave = true;
        news_presenter().restore_strip();
    }
    if (gave) {
        board_view_refresh(0, 0, 3);
        say(0, game_rand() & 1);
    }
}

// Rows 6, 7 (away), 12, 13 (hospital): a misfortune of days that a pardon or
// scapegoat card may turn away.
void misfortune(int phase, int days, int face, const char* text, void (*happen)(int v, int d)) {
    if (phase == 0) {
        fate_amount = days;
        draw(text, face);
        return;
    }
    int d = fate_amount;
    const int g = ask_god(FATE_GOD_MISHAP, 1);
    if (g != FATE_GOD_NONE) god_message();
    if (g == FATE_GOD_WAIVE) return;
    if (g == FATE_GOD_DOUBLE) d *= 2;
    const int v = card_resolve_victim(cur());
    if (v != -1) happen(v, d);
}

void fate_forced_tour(int phase) {
    misfortune(phase, 3, 2, fate_text_table[6], [](int v, int d) { player_send_away(v, d, 0); });
}
void fate_abducted(int phase) {
    misfortune(phase, 3, 3, fate_text_table[7], [](int v, int d) { player_send_away(v, d, 1); });
}
void to_hospital(int v, int d) {
    player_lose_vehicle(v);
    jail_send_hospital(v, d);
}
void fate_fell_in_ditch(int phase) {
    misfortune(phase, 3, 3, fate_text_table[12], to_hospital);
}
void fate_motorbike_crash(int phase) {
    misfortune(phase, 3, 3, fate_text_table[13], to_hospital);
}

void fate_stock_default(int phase) {
    if (phase == 0) {
        fate_amount = 10;
        draw(fate_text_table[8], 3);
        return;
    }
    fate_god_result = fate_god_modifier(FATE_GOD_MONEY, 1);
    if (fate_god_result == FATE_GOD_WAIVE) {
        board_view_refresh(0, 0, 3);
        god_message();
        return;
    }
    for (int s = 0; s < STOCK_COUNT; ++s) {
        const int n = static_cast<int>(
            std::trunc(static_cast<double>(stock_holdings[cur()][s].shares) * fate_amount / 100.0));
        if (n > 0) stock_sell(cur(), s, n, 0);
    }
    bank_check_reserves(0);
}

void fate_sell_all_stock(int phase) {
    if (phase == 0) {
        fate_amount = 0;
        draw(fate_text_table[9], 2);
        return;
    }
    if (ask_god(FATE_GOD_MONEY, 1) == FATE_GOD_WAIVE) {
        god_message();
        return;
    }
    for (int s = 0; s < STOCK_COUNT; ++s) {
        const int n = stock_holdings[cur()][s].shares;
        if (n > 0) stock_sell(cur(), s, n, 1);
    }
    board_refresh_actor_panel(cur());
    say(2, 5);
    bank_check_reserves(0);
}

// Rows 10 and 11: the vehicle is lost and goes back to the shop.
void vehicle_lost(int phase, int face, const char* text, int item, bool car) {
    if (phase == 0) {
        fate_amount = 0;
        draw(text, face);
        return;
    }
    fate_god_result = fate_god_modifier(FATE_GOD_MISHAP, 1);
    if (fate_god_result == FATE_GOD_WAIVE) {
        board_view_refresh(0, 0, 3);
        god_message();
        return;
    }
    me().travel = TRAVEL_WALK;
    me().dice = 1;
    actor_update_sprites(cur());
    board_view_refresh(0, 0, car ? 1 : 3);
    say(2, car ? 3 : 3 + (game_rand() & 1));
    if (item_stock[item - 1] < 255) ++item_stock[item - 1];
}

void fate_motorbike_stolen(int phase) {
    vehicle_lost(phase, 3, fate_text_table[10], ITEM_MOTORBIKE, false);
}
void fate_car_wrecked(int phase) {
    vehicle_lost(phase, 3, fate_text_table[11], ITEM_CAR, true);
}

void fate_sell_cards_items(int phase) {
    if (phase == 0) {
        fate_amount = 0;
        draw(fate_text_table[32], 2);
        return;
    }
    if (ask_god(FATE_GOD_MISHAP, 1) == FATE_GOD_WAIVE) {
        god_message();
        return;
    }
    // Points are 16 bits: the sale adds up to the most they hold.
    player_add_points(cur(), item_sell_all(cur()));
    player_add_points(cur(), card_sell_all(cur()));
    board_refresh_actor_panel(cur());
    say(2, 3);
}

} // namespace

const std::array<EventHandler, FATE_ROW_COUNT> fate_handler_table = {
    fate_house_demolished, fate_land_expropriated, fate_identity_loan,    fate_bounced_check,
    fate_bank_hack,        fate_birthday,          fate_forced_tour,      fate_abducted,
    fate_stock_default,    fate_sell_all_stock,    fate_motorbike_stolen, fate_car_wrecked,
    fate_fell_in_ditch,    fate_motorbike_crash,   money_row<14>,         money_row<15>,
    money_row<16>,         money_row<17>,          money_row<18>,         money_row<19>,
    money_row<20>,         money_row<21>,          money_row<22>,         money_row<23>,
    money_row<24>,         money_row<25>,          money_row<26>,         money_row<27>,
    money_row<28>,         money_row<29>,          money_row<30>,         money_row<31>,
    fate_sell_cards_items, jail_row<33>,           jail_row<34>,          jail_row<35>,
    jail_row<36>,          jail_row<37>,           jail_row<38>,          jail_row<39>,
    jail_row<40>,          jail_row<41>,           jail_row<42>,          jail_row<43>,
    jail_row<44>,          jail_row<45>,           jail_row<46>,          jail_row<47>,
    jail_row<48>,
};
