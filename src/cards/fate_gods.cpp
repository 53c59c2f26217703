#include "cards/fate_gods.h"

const std::array<const char*, 19> god_names = {
    "间谍",   "小财神", "大财神", "小福神", "大福神",   "小穷神", "大穷神",
    "小衰神", "大衰神", "天使",   "恶魔",   "恶犬",     "土地公", "礼物",
    "宝箱",   "死神",   "路障",   "地雷",   "定时炸弹",
};

// Fate insurance is not built yet: it returns at once and pays nothing.
void fate_insurance_payout(int, int32_t) {}
