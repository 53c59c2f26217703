#include "shell/help.h"

#include <cstddef>

namespace {

const char* const OPERATION[] = {"游戏操作"};
const char* const SCREEN[] = {"日、月历", "地产资料", "其他资料",
                              "物价指数", "股票资料", "资金资料"};
const char* const COMMANDS[] = {"LOAD", "SAVE", "卡片", "交易", "地图", "系统",
                                "股市", "前进", "查询", "托管", "道具", "说明"};
const char* const ESTATE[] = {"公司企业", "住宅用地", "商业用地"};
const char* const PLACES[] = {"七彩气球", "公园",     "卡片",     "企鹅挖宝", "百货公司", "命运",
                              "得十点",   "得三十点", "得五十点", "喜从天降", "新闻",     "监狱",
                              "银行",     "乐透",     "医院",     "魔法屋"};
const char* const PEOPLE[] = {"乞丐",   "土地公", "大衰神", "大财神", "大福神", "大穷神",
                              "小衰神", "小财神", "小偷",   "小福神", "小穷神", "天使",
                              "死神",   "流氓",   "强盗",   "恶犬",   "恶魔",   "间谍"};
const char* const CARDS[] = {"天使卡", "冬眠卡", "同盟卡", "免费卡", "免罪卡", "均贫卡",
                             "均富卡", "改建卡", "怪兽卡", "拍卖卡", "拆除卡", "查封卡",
                             "查税卡", "红卡",   "乌龟卡", "送神符", "停留卡", "陷害卡",
                             "复仇卡", "恶魔卡", "换地卡", "换屋卡", "黑卡",   "嫁祸卡",
                             "抢夺卡", "梦游卡", "涨价卡", "请神符", "购地卡", "转向卡"};
const char* const ITEMS[] = {"工程车", "地雷",     "汽车",    "定时炸弹", "飞弹",
                             "时光机", "核子飞弹", "传送机",  "路障",     "遥控骰子",
                             "机车",   "机器工人", "机器娃娃"};

template <std::size_t N> constexpr int count(const char* const (&)[N]) {
    return static_cast<int>(N);
}

} // namespace

const HelpChapter help_chapters[HELP_CHAPTER_COUNT] = {
    {"操作说明", OPERATION, 1, count(OPERATION), 0}, {"游戏画面", SCREEN, 2, count(SCREEN), 0},
    {"游戏指令", COMMANDS, 8, count(COMMANDS), 0},   {"房 地 产", ESTATE, 20, count(ESTATE), 0},
    {"特殊地点", PLACES, 23, count(PLACES), 0},      {"特殊人物", PEOPLE, 39, count(PEOPLE), 0},
    {"卡  片", CARDS, 57, count(CARDS), 0},          {"道  具", ITEMS, 87, count(ITEMS), 0},
};

int help_line_end(const char* text, int length, int pos) {
    while (pos < length && text[pos] != 0)
        ++pos;
    return pos;
}

int help_line_shown(const char* text, int length, int pos) {
    const int end = help_line_end(text, length, pos);
    if (pos < end && text[pos] == '@') return pos + 2 < end ? pos + 2 : end;
    return pos;
}

namespace {

int next_line(const char* text, int length, int pos) {
    const int end = help_line_end(text, length, pos);
    return end < length ? end + 1 : length;
}

} // namespace

int help_page_end(const char* text, int length, int pos, bool* cut) {
    bool stopped = false;
    int lines = 0;
    while (pos < length && lines < HELP_PAGE_LINES) {
        if (lines > 0 && text[pos] == '@') {
            stopped = true;
            break;
        }
        pos = next_line(text, length, pos);
        ++lines;
    }
    if (lines == HELP_PAGE_LINES && pos < length) stopped = true;
    if (cut) *cut = stopped;
    return pos;
}

int help_page_before(const char* text, int length, int pos) {
    // Pages are found from the text's start, so going back always lands on
    // the page going forward showed, also where a full page runs into an
    // '@' page.
    int page = 0;
    while (page < pos) {
        const int next = help_page_end(text, length, page, nullptr);
        if (next >= pos || next <= page) break;
        page = next;
    }
    return page;
}
