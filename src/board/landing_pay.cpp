// The payment side of a landing, shared by tolls and the facility and
// company fees: the exemptions, the payer's god, the card-rescue test, the
// computer's buying rule and the toll sums.
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "board/game_state.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/speech.h"
#include "engine/message.h"
#include "engine/util.h"

namespace {

bool holds_death_god(const PlayerRecord& pl) {
    return pl.god_slot >= GOD_FIRST_SLOT && pl.god_slot <= GOD_LAST_SLOT &&
           god_table[pl.god_slot].kind == GK_DEATH;
}

} // namespace

int32_t land_toll(int owner, const char* street) {
    if (owner <= 0 || map_lot_table == nullptr) return 0;
    int64_t sum = 0;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& lot = map_lot_table[i];
        if (lot.owner != owner) continue;
        if (street == nullptr) {
            if (lot.chain_store != 0) sum += 2000;
        } else if (lot.chain_store == 0 &&
                   std::strncmp(lot.street, street, sizeof lot.street) == 0) {
            sum += lot.toll[lot.level <= 5 ? lot.level : 5];
        }
    }
    return util_clamp32(sum * game_price_index);
}

int land_count_chain_stores(int owner) {
    return owner <= 0 ? 0 : land_chain_store_lots(owner);
}

int land_chain_store_lots(int owner) {
    if (map_lot_table == nullptr) return 0;
    int n = 0;
    for (int i = 1; i <= map_lot_count; ++i)
        if (map_lot_table[i].owner == owner && map_lot_table[i].chain_store != 0) ++n;
    return n;
}

int fee_check_exemption(int seat, uint8_t mark, const char* fee_name) {
    if (seat < 0 || seat >= PLAYER_COUNT) return 1;
    const PlayerRecord& o = player_table[seat];
    const int cur = game_active_mover;
    const std::string name = player_plain_name(seat);
    char text[256];
    text[0] = '\0';
    if ((mark & 0xF0) != 0 && (mark & 0x0F) != 0) {
        std::snprintf(text, sizeof text, "房屋查封中\n\n免收%s！", fee_name);
    } else if (o.ally != 0 && owner_is_seat(o.ally, cur)) {
        std::snprintf(text, sizeof text, "与%s同盟中\n\n免收%s！", name.c_str(), fee_name);
    } else if (holds_death_god(o)) {
        std::snprintf(text, sizeof text, "死神显灵\n\n免收%s！", fee_name);
    } else {
        struct StayReason {
            uint8_t days;
            const char* format;
        };
        const StayReason stays[] = {
            {o.hotel_days, "%s住宿中\n\n免收%s！"},
            {o.away_days, "%s消失中\n\n免收%s！"},
            {o.jail_days, "%s坐牢中\n\n免收%s！"},
            {o.hospital_days, "%s住院中\n\n免收%s！"},
            {o.hibernation_days, "%s冬眠中\n\n免收%s！"},
            {o.sleepwalk_days, "%s梦游中\n\n免收%s！"},
        };
        for (const StayReason& s : stays) {
            if (s.days != 0) {
                std::snprintf(text, sizeof text, s.format, name.c_str(), fee_name);
                break;
            }
        }
    }
    if (text[0] == '\0') return 1;
    msg_show(text, MSG_STANDARD_MS);
    if (cur >= 0 && cur < PLAYER_COUNT)
        speech_bubble(cur, 3, speech_line(player_table[cur].character, 13));
    return 0;
}

int32_t fee_apply_god(int payer, const char* fee_name, int32_t amount) {
    if (payer < 0 || payer >= PLAYER_COUNT) return amount;
    int64_t result = amount;
    const char* format = nullptr;
    switch (player_table[payer].god_slot) {
    case GK_SMALL_WEALTH:
        result = amount >> 1;
        format = "小财神显灵\n\n%s减免一半！";
        break;
    case GK_BIG_WEALTH:
        result = 0;
        format = "大财神显灵\n\n免付%s！";
        break;
    case GK_SMALL_POVERTY:
        result = int64_t{amount} + (amount >> 1);
        format = "小穷神显灵\n\n%s加付50％！";
        break;
    case GK_BIG_POVERTY:
        result = 2 * int64_t{amount};
        format = "大穷神显灵\n\n加倍付%s！";
        break;
    default:
        break;
    }
    const int32_t out = util_clamp32(result);
    if (format != nullptr && out != amount) {
        char text[256];
        std::snprintf(text, sizeof text, format, fee_name);
        msg_show(text, MSG_STANDARD_MS);
        if (out == 0) speech_react_spared(payer, amount);
    }
    return out;
}

int fee_card_rescue_due(int payer, int32_t amount) {
    if (payer < 0 || payer >= PLAYER_COUNT) return 0;
    const PlayerRecord& pl = player_table[payer];
    return (int64_t{amount} >= 2000 * int64_t{game_price_index} ||
            int64_t{pl.cash} + pl.deposit < amount)
               ? 1
               : 0;
}

int land_ai_should_buy(int32_t price) {
    const int cur = game_active_mover;
    if (cur < 0 || cur >= PLAYER_COUNT) return 0;
    int64_t reserve = static_cast<int64_t>(game_start_money * 0.05);
    if (reserve > 7000) reserve = 7000;
    reserve *= game_price_index;
    const PlayerRecord& pl = player_table[cur];
    return int64_t{pl.cash} + pl.deposit - price > reserve ? 1 : 0;
}
