// help.mkf: the help viewer's pictures (entry 0) and a short text for every
// topic of its chapters (entries 1-99), lines of at most ten characters,
// "@ " starting a page of its own.
#include <stdexcept>
#include <string>
#include <vector>

#include "builder.h"
#include "canvas.h"
#include "maps_layout.h"
#include "shell/help.h"
#include "shell/help_layout.h"

namespace {

const uint16_t kInk = rgb555(24, 20, 20);
const uint16_t kWood = rgb555(150, 110, 60);
const uint16_t kPaper = rgb555(248, 240, 220);
const uint16_t kTab = rgb555(200, 170, 110);
const uint16_t kLit = rgb555(250, 210, 90);

FrameImage window_picture() {
    Canvas cv(HELP_W, HELP_H);
    cv.fill(0, 0, HELP_W, HELP_H, kWood);
    cv.frame(0, 0, HELP_W, HELP_H, kInk);
    cv.frame(3, 3, HELP_W - 6, HELP_H - 6, rgb555(230, 200, 140));
    cv.label("游戏说明", HELP_W / 2, 10, 18, rgb555(250, 240, 200), true);
    for (int j = 0; j < HELP_CHAPTER_COUNT; ++j) {
        const int top = HELP_TAB_TOP + HELP_TAB_STEP * j;
        cv.fill(HELP_TAB_LEFT, top, HELP_TAB_RIGHT - HELP_TAB_LEFT + 1, HELP_TAB_H + 1, kTab);
        cv.frame(HELP_TAB_LEFT, top, HELP_TAB_RIGHT - HELP_TAB_LEFT + 1, HELP_TAB_H + 1, kInk);
    }
    // The topic column and the page.
    cv.fill(HELP_ROW_LEFT - 12, 44, 108, 334, rgb555(220, 200, 160));
    cv.frame(HELP_ROW_LEFT - 12, 44, 108, 334, kInk);
    const PlatRect& p = HELP_PAGE_RECT;
    cv.fill(p.left, p.top, p.right - p.left, p.bottom - p.top, kPaper);
    cv.frame(p.left - 1, p.top - 1, p.right - p.left + 2, p.bottom - p.top + 2, kInk);
    return cv.img;
}

FrameImage tab_picture() {
    Canvas cv(HELP_TAB_RIGHT - HELP_TAB_LEFT + 1, HELP_TAB_H + 1);
    cv.fill(0, 0, cv.img.width, cv.img.height, kLit);
    cv.frame(0, 0, cv.img.width, cv.img.height, rgb555(160, 20, 20));
    cv.frame(1, 1, cv.img.width - 2, cv.img.height - 2, rgb555(160, 20, 20));
    return cv.img;
}

// An arrow button pointing up, down, left or right, in one of its looks.
FrameImage arrow_picture(int arrow, int look) {
    const PlatRect& r = HELP_ARROW_RECTS[arrow];
    const int w = r.right - r.left, h = r.bottom - r.top;
    Canvas cv(w, h);
    const uint16_t face = look == HELP_LOOK_PRESSED ? kLit : rgb555(210, 210, 220);
    const uint16_t mark = look == HELP_LOOK_DIMMED ? rgb555(150, 150, 150) : kInk;
    cv.fill(0, 0, w, h, face);
    cv.frame(0, 0, w, h, mark);
    const int cx = w / 2, cy = h / 2;
    int xy[6];
    switch (arrow) {
    case HELP_LIST_UP:
        xy[0] = cx - 7, xy[1] = cy + 4, xy[2] = cx + 7, xy[3] = cy + 4, xy[4] = cx, xy[5] = cy - 5;
        break;
    case HELP_LIST_DOWN:
        xy[0] = cx - 7, xy[1] = cy - 4, xy[2] = cx + 7, xy[3] = cy - 4, xy[4] = cx, xy[5] = cy + 5;
        break;
    case HELP_PAGE_BACK:
        xy[0] = cx + 5, xy[1] = cy - 6, xy[2] = cx + 5, xy[3] = cy + 6, xy[4] = cx - 6, xy[5] = cy;
        break;
    default:
        xy[0] = cx - 5, xy[1] = cy - 6, xy[2] = cx - 5, xy[3] = cy + 6, xy[4] = cx + 6, xy[5] = cy;
        break;
    }
    cv.polygon(xy, 3, mark);
    return cv.img;
}

FrameImage marker_picture() {
    Canvas cv(8, 12, 4, 6);
    const int xy[6] = {0, 0, 8, 6, 0, 12};
    cv.polygon(xy, 3, rgb555(180, 20, 20));
    return cv.img;
}

// Topic texts in entry order, lines split at '|'.
const char* const TEXTS[] = {
    // 1 操作说明
    "左键按下是选择，|右键按下是取消。|轮到你时，按前进|或掷骰键掷骰子，|人物便按点数前进。|"
    "走到空地可以买下|它，走到别人的地|要付过路费。|走到自己的地可以|加盖房子。|"
    "现金不够时，会先|动用存款，再卖掉|股票与土地。|全部卖光还不够，|就是破产出局。|"
    "破产的人离开游戏，|他的土地全部收回。|"
    "@ 方向键可移动游标，|确定键等于按左键，|取消键等于按右键。|热键可在系统选单|里自行设定。|"
    "@ "
    "工具列上可随时|存档与载入。存档|有五个位置，载入|另可读出每过一天|自动存下的进度。|"
    "游戏结束时，资产|最多的人获胜。",
    // 2-7 游戏画面
    "画面上方显示今天|的日期与月历。|每走完一回合，|日期便过去一天。|月底会结算利息，|并发放股利。",
    "地产资料列出每块|土地的主人、房屋|等级与过路费。|点选地块即可查看|它的详细资料。",
    "其他资料显示每位|玩家的点数、卡片|与道具的数量。",
    "物价指数随日子|上下变动，土地与|房屋的价钱都跟着|物价指数一同涨跌。",
    "股票资料列出每支|股票今天的价钱与|涨跌，以及你持有|的张数。",
    "资金资料显示现金、|存款、股票与土地|的价值，加起来就是|你的总资产。",
    // 8-19 游戏指令
    "LOAD：读出以前存下|的进度，继续游戏。|自动存档也列在|其中。",
    "SAVE：把目前的进度|存进五个位置之一。",
    "卡片：打开你的卡片|盒，选一张卡片使用。|有的卡片要选对手，|有的要选地块。",
    "交易：与其他玩家|买卖土地，双方都|同意才会成交。",
    "地图：看整张地图，|找出各玩家的位置。",
    "系统：打开系统选单，|调整游戏速度、动画、|音乐、音效、自动|存档、乐曲与视窗，|按确定才生效。|"
    "也可以重新游戏、|认输投降或结束|游戏。",
    "股市：开盘时可买卖|股票，股价每天变动。|持股多的人会成为|董事长。",
    "前进：掷骰子，人物|按点数向前走。",
    "查询：查看任何一块|土地或一位玩家的|资料。",
    "托管：打开电脑设定|画面，设定电脑的|作风，或把你的位置|交给电脑代玩。|电脑代玩时按取消|"
    "键，换人时这个画面|会再打开，便可|收回控制。",
    "道具：打开道具箱，|选一件道具使用。",
    "说明：打开这个说明|画面。右键离开。",
    // 20-22 房地产
    "公司企业可以收购|股份，停在公司的|人要付给老板钱。|同一类的公司连成|一气，收费更多。",
    "住宅用地可盖房子，|最多盖到五层。|路过的人要付过路|费，房子越高，|过路费越贵。|"
    "@ 每停一次自己的|土地，就可以加盖|一层。相连的同色|土地收费加倍。",
    "商业用地可盖商店、|饭店或加油站等，|停下的人要付钱|消费。地段越大，|收入越高。",
    // 23-38 特殊地点
    "七彩气球：搭上气球|飞到地图上任一处。",
    "公园：在公园休息，|什么事也不会发生。",
    "卡片：停在这里可以|得到一张卡片。",
    "企鹅挖宝：玩小游戏|挖宝，得到点数。",
    "百货公司：用点数|购买道具。",
    "命运：抽一张命运，|可能好运也可能倒霉。",
    "得十点：得到十点。",
    "得三十点：得到|三十点。",
    "得五十点：得到|五十点。",
    "喜从天降：玩一个|小游戏，分数就是|你得到的点数。",
    "新闻：发布一则新闻，|影响一个或所有的|玩家。",
    "监狱：被关进监狱，|要待满天数才能|出来，其间不能收|过路费。",
    "银行：可以存款、|提款与贷款。|存款每月有利息，|贷款要按期还清。|"
    "@ 借钱的额度依你的|资产而定，到期还不|出来，银行会拍卖|你的土地。",
    "乐透：买一组号码，|开奖时号码相同就|能赢得奖金。",
    "医院：受伤的人要在|医院休养几天。",
    "魔法屋：施一个魔法，|对某位对手恶作剧。",
    // 39-56 特殊人物
    "乞丐：跟着你讨钱，|每天都要给他一点。",
    "土地公：附身时，你|走过的空地都免费|归你所有。",
    "大衰神：附身时，|会接连遇上倒霉事。",
    "大财神：附身时，|收到的钱都会加倍。",
    "大福神：附身时，|买地盖房都免费。",
    "大穷神：附身时，|付出的钱都会加倍。",
    "小衰神：附身时，|会遇上一点倒霉事。",
    "小财神：附身时，|收到的钱多一些。",
    "小偷：会偷走你的|一些现金。",
    "小福神：附身时，|买地盖房打折扣。",
    "小穷神：附身时，|付出的钱多一些。",
    "天使：附身时，你的|土地会加盖一层。",
    "死神：遇上死神的人|会直接破产出局。",
    "流氓：拦路要钱。",
    "强盗：抢走你的|一张卡片或道具。",
    "恶犬：被狗咬伤，|要进医院休养。",
    "恶魔：附身时，你的|土地房屋会被拆毁。",
    "间谍：偷看对手的|卡片与道具。",
    // 57-86 卡片
    "天使卡：让一整条街|的房屋各加盖一层。",
    "冬眠卡：让所有对手|冬眠五天，不能前进。",
    "同盟卡：与一位对手|结盟，互不收费。",
    "免费卡：这次的过路|费不用付。",
    "免罪卡：不必进监狱。",
    "均贫卡：所有人的|现金平均分配。",
    "均富卡：所有人的|土地平均分配。",
    "改建卡：把房屋改建|成另一种商店。",
    "怪兽卡：派怪兽拆掉|一整条街的房屋。",
    "拍卖卡：拍卖一块|土地给出价最高者。",
    "拆除卡：拆掉一栋|房屋。",
    "查封卡：查封一块|土地，暂停收费。",
    "查税卡：向一位对手|查税，收走部分|存款。",
    "红卡：让一支股票|连续上涨。",
    "乌龟卡：让一位玩家|每次只走一步。",
    "送神符：送走附身在|你身上的神。",
    "停留卡：原地停留|一回合。",
    "陷害卡：让一位对手|进监狱。",
    "复仇卡：对陷害过你|的人报复。",
    "恶魔卡：派恶魔拆毁|一整条街。",
    "换地卡：用你的一块|土地换对手的一块。",
    "换屋卡：交换两栋|房屋。",
    "黑卡：让一支股票|连续下跌。",
    "嫁祸卡：把附身的坏神|转给别人。",
    "抢夺卡：抢走对手的|一张卡片。",
    "梦游卡：让一位对手|乱走好几天。",
    "涨价卡：让一条街的|土地涨价。",
    "请神符：把身边的神|请来附身。",
    "购地卡：强制买下|对手的一块土地。",
    "转向卡：让一位玩家|掉头走。",
    // 87-99 道具
    "工程车：把前方的|路障与地雷清除。",
    "地雷：埋在路上，|踩到的人进医院。",
    "汽车：换骑汽车，|一次掷三颗骰子。",
    "定时炸弹：传给别人，|时间到时会爆炸。",
    "飞弹：炸毁一个地块|上的房屋与人物。",
    "时光机：回到过去的|某一天重新来过。",
    "核子飞弹：威力最大，|炸毁一大片地区。",
    "传送机：把一位玩家|传送到别处。",
    "路障：放在路上，|经过的人要停下。",
    "遥控骰子：自己决定|骰子的点数。",
    "机车：换骑机车，|一次掷两颗骰子。",
    "机器工人：替你把|房屋加盖一层。",
    "机器娃娃：清除前方|所有的障碍。",
};

constexpr int TOPIC_COUNT = 99;
static_assert(sizeof TEXTS / sizeof TEXTS[0] == TOPIC_COUNT);

// Lines as GBK, each with its zero byte.
Bytes topic_bytes(const std::string& utf8) {
    Bytes out;
    size_t start = 0;
    while (start <= utf8.size()) {
        size_t bar = utf8.find('|', start);
        if (bar == std::string::npos) bar = utf8.size();
        const std::string line = standin_gbk(utf8.substr(start, bar - start), 256);
        out.insert(out.end(), line.begin(), line.end());
        out.push_back(0);
        start = bar + 1;
    }
    return out;
}

void build_help(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "help.mkf");
    std::vector<FrameImage> frames{window_picture(), tab_picture()};
    for (int arrow = 0; arrow < HELP_ARROW_COUNT; ++arrow)
        for (int look = 0; look < 3; ++look)
            frames.push_back(arrow_picture(arrow, look));
    frames.push_back(marker_picture());
    if (static_cast<int>(frames.size()) != HELP_FRAME_COUNT)
        throw std::runtime_error("help.mkf: wrong number of viewer frames");
    mkf_writer_add_frameset(a, HELP_SET_ENTRY, frameset_smp(frames));
    for (int t = 0; t < TOPIC_COUNT; ++t)
        mkf_writer_add(a, 1 + t, topic_bytes(TEXTS[t]));
}

} // namespace

KARVO_DATA_GENERATOR(build_help);
