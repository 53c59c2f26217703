#include "cards/fate_gods.h"

#include <cstdio>

#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "engine/message.h"
#include "engine/random.h"

const std::array<const char*, 19> god_names = {
    "间谍",   "小财神", "大财神", "小福神", "大福神",   "小穷神", "大穷神",
    "小衰神", "大衰神", "天使",   "恶魔",   "恶犬",     "土地公", "礼物",
    "宝箱",   "死神",   "路障",   "地雷",   "定时炸弹",
};

char fate_god_message[FATE_GOD_MESSAGE_SIZE];

namespace {

constexpr const char* GOD_BLESS_GAIN = "%s保佑\n\n奖金加倍！";
constexpr const char* GOD_CURSE_GAIN = "%s作祟\n\n奖金作废！";
constexpr const char* GOD_BLESS_LOSS = "%s保佑\n\n免付罚金！";
constexpr const char* GOD_CURSE_LOSS = "%s作祟\n\n罚金加倍！";
constexpr const char* GOD_BLESS_MISHAP = "%s保佑\n\n逃过此劫！";
constexpr const char* GOD_CURSE_MISHAP = "%s作祟\n\n倒霉加倍！";
constexpr const char* INSURANCE_PAID = "保险期间\n\n得到理赔金\n\n%d元";
constexpr uint32_t INSURANCE_MESSAGE_MS = 2000;

const char* attached_god_name(const PlayerRecord& r) {
    int kind = 0;
    if (r.god_slot >= GOD_FIRST_SLOT && r.god_slot <= GOD_LAST_SLOT)
        kind = god_table[r.god_slot].kind;
    return god_names[kind < GOD_KIND_COUNT ? kind : 0];
}

} // namespace

int fate_god_modifier(int kind, int loss) {
    fate_god_message[0] = '\0';
    const int cur = game_active_mover;
    if (!is_player_seat(cur)) return FATE_GOD_NONE;
    const PlayerRecord& r = player_table[cur];
    const int s = kind == FATE_GOD_MONEY ? r.money_luck : r.mishap_luck;

    // The blessing's answer and text, and the curse's, for this question.
    int bless = FATE_GOD_WAIVE, curse = FATE_GOD_DOUBLE;
    const char* bless_text = GOD_BLESS_MISHAP;
    const char* curse_text = GOD_CURSE_MISHAP;
    if (kind == FATE_GOD_MONEY && !loss) {
        bless = FATE_GOD_DOUBLE, curse = FATE_GOD_WAIVE;
        bless_text = GOD_BLESS_GAIN, curse_text = GOD_CURSE_GAIN;
    } else if (kind == FATE_GOD_MONEY) {
        bless_text = GOD_BLESS_LOSS, curse_text = GOD_CURSE_LOSS;
    }

    int answer = FATE_GOD_NONE;
    const char* text = nullptr;
    if (s > 100 || (s > 50 && (game_rand() & 1))) {
        answer = bless, text = bless_text;
    } else if (s < 0) {
        answer = curse, text = curse_text;
    }
    if (text) std::snprintf(fate_god_message, sizeof fate_god_message, text, attached_god_name(r));
    return answer;
}

void fate_insurance_payout(int player, int32_t amount) {
    if (!is_player_seat(player) || player_table[player].insurance_days == 0) return;
    int company = 0;
    for (int i = 1; i <= map_company_count && map_company_table; ++i) {
        if (map_company_table[i].kind == COMPANY_KIND_INSURANCE) {
            company = i;
            break;
        }
    }
    // With nobody to pay, nothing is paid and the player is not told he was.
    if (company == 0) return;
    char text[96];
    std::snprintf(text, sizeof text, INSURANCE_PAID, amount);
    msg_show(text, INSURANCE_MESSAGE_MS);
    money_pay(party_of_company(company), player, amount, MONEY_INTO_CASH);
}
