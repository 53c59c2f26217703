#include "data/card_defs.h"

#include <algorithm>

namespace {

constexpr std::array<CardDef, CARD_DEF_ROWS> make_card_defs() {
    std::array<CardDef, CARD_DEF_ROWS> t{};
    t[0] = {"", 0, 0, 0};
    t[CARD_SHARE_WEALTH] = {"均富卡", 1, 200, 2};
    t[CARD_SHARE_POVERTY] = {"均贫卡", 2, 200, 2};
    t[CARD_BUY_LAND] = {"购地卡", 4, 35, 1};
    t[CARD_SWAP_LAND] = {"换地卡", 4, 25, 0};
    t[CARD_SWAP_HOUSE] = {"换屋卡", 4, 20, 0};
    t[CARD_TURN_AROUND] = {"转向卡", 3, 20, 0};
    t[CARD_REBUILD] = {"改建卡", 8, 15, 0};
    t[CARD_AUCTION] = {"拍卖卡", 3, 20, 1};
    t[CARD_ANGEL] = {"天使卡", 2, 160, 0};
    t[CARD_DEMON] = {"恶魔卡", 1, 180, 2};
    t[CARD_MONSTER] = {"怪兽卡", 2, 60, 2};
    t[CARD_DEMOLISH] = {"拆除卡", 5, 15, 1};
    t[CARD_ROB] = {"抢夺卡", 4, 25, 2};
    t[CARD_STAY] = {"停留卡", 4, 20, 0};
    t[CARD_HIBERNATE] = {"冬眠卡", 2, 100, 2};
    t[CARD_SLEEPWALK] = {"梦游卡", 4, 25, 1};
    t[CARD_FRAME_UP] = {"陷害卡", 4, 20, 2};
    t[CARD_REVENGE] = {"复仇卡", 4, 20, 0};
    t[CARD_SCAPEGOAT] = {"嫁祸卡", 4, 40, 0};
    t[CARD_FREE_PASS] = {"免费卡", 4, 25, 0};
    t[CARD_PARDON] = {"免罪卡", 4, 25, 0};
    t[CARD_DISMISS_GOD] = {"送神符", 3, 10, 0};
    t[CARD_INVITE_GOD] = {"请神符", 3, 20, 0};
    t[CARD_RED] = {"红卡", 3, 50, 0};
    t[CARD_BLACK] = {"黑卡", 3, 30, 1};
    t[CARD_TAX_AUDIT] = {"查税卡", 4, 35, 1};
    t[CARD_RAISE_TOLL] = {"涨价卡", 3, 35, 0};
    t[CARD_SEIZE] = {"查封卡", 3, 35, 1};
    t[CARD_ALLIANCE] = {"同盟卡", 2, 40, 0};
    t[CARD_TURTLE] = {"乌龟卡", 3, 70, 0};
    t[ITEM_ID_BASE + ITEM_ROBOT_DOLL] = {"机器娃娃", 10, 15, 0};
    t[ITEM_ID_BASE + ITEM_ROADBLOCK] = {"路障", 10, 30, 1};
    t[ITEM_ID_BASE + ITEM_MINE] = {"地雷", 10, 25, 1};
    t[ITEM_ID_BASE + ITEM_TIME_BOMB] = {"定时炸弹", 10, 25, 1};
    t[ITEM_ID_BASE + ITEM_MOTORBIKE] = {"机车", 10, 80, 0};
    t[ITEM_ID_BASE + ITEM_CAR] = {"汽车", 10, 150, 0};
    t[ITEM_ID_BASE + ITEM_MISSILE] = {"飞弹", 10, 100, 2};
    t[ITEM_ID_BASE + ITEM_REMOTE_DICE] = {"遥控骰子", 10, 30, 0};
    t[ITEM_ID_BASE + ITEM_ROBOT_WORKER] = {"机器工人", 0, 30, 1};
    t[ITEM_ID_BASE + ITEM_TIME_MACHINE] = {"时光机", 0, 40, 2};
    t[ITEM_ID_BASE + ITEM_TELEPORTER] = {"传送机", 0, 95, 1};
    t[ITEM_ID_BASE + ITEM_CONSTRUCTION_VEHICLE] = {"工程车", 0, 150, 2};
    t[ITEM_ID_BASE + ITEM_NUCLEAR_MISSILE] = {"核子飞弹", 0, 250, 2};
    return t;
}

} // namespace

constexpr std::array<CardDef, CARD_DEF_ROWS> card_defs = make_card_defs();
static_assert(std::none_of(card_defs.begin(), card_defs.end(),
                           [](const CardDef& d) { return d.name == nullptr; }),
              "every card and item id has its row");
