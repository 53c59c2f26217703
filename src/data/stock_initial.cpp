#include "data/stock_initial.h"

namespace {

struct Row {
    float price;
    float volatility;
    uint16_t building;
    uint16_t market_shares;
};

constexpr Row ROWS[STOCK_MAP_COUNT][STOCK_COUNT] = {
    {{100, 1.0f, 1, 10000},
     {40, 0.6f, 1, 5000},
     {25, 1.5f, 1, 10000},
     {180, 1.6f, 0, 10000},
     {80, 1.2f, 0, 10000},
     {60, 1.0f, 0, 10000},
     {60, 1.4f, 0, 10000},
     {27, 0.9f, 0, 10000},
     {310, 0.7f, 0, 10000},
     {66, 1.0f, 0, 10000},
     {171, 1.4f, 0, 10000},
     {280, 0.8f, 0, 10000}},
    {{70, 1.2f, 1, 10000},
     {36, 1.0f, 1, 5000},
     {20, 1.6f, 1, 10000},
     {15, 1.5f, 1, 0},
     {300, 2.0f, 0, 10000},
     {296, 1.8f, 0, 10000},
     {133, 1.4f, 0, 10000},
     {170, 1.5f, 0, 10000},
     {121, 0.8f, 0, 10000},
     {60, 0.4f, 0, 10000},
     {92, 0.6f, 0, 10000},
     {366, 1.0f, 0, 10000}},
    {{160, 0.8f, 1, 10000},
     {99, 1.4f, 1, 5000},
     {22, 2.0f, 1, 10000},
     {28, 2.0f, 1, 5000},
     {300, 1.0f, 1, 5000},
     {35, 1.2f, 1, 5000},
     {540, 1.0f, 0, 10000},
     {830, 1.0f, 0, 10000},
     {300, 1.2f, 0, 10000},
     {225, 0.7f, 0, 10000},
     {300, 1.0f, 0, 10000},
     {150, 0.8f, 0, 10000}},
    {{200, 1.0f, 1, 10000},
     {55, 0.8f, 1, 5000},
     {20, 2.0f, 1, 10000},
     {18, 1.0f, 1, 5000},
     {16, 1.4f, 1, 5000},
     {550, 2.0f, 1, 5000},
     {245, 1.5f, 0, 10000},
     {166, 1.3f, 0, 10000},
     {955, 1.4f, 0, 10000},
     {1030, 0.8f, 0, 10000},
     {1440, 1.0f, 0, 10000},
     {310, 1.2f, 0, 10000}},
};

constexpr std::array<std::array<StockRecord, STOCK_COUNT>, STOCK_MAP_COUNT> build_table() {
    std::array<std::array<StockRecord, STOCK_COUNT>, STOCK_MAP_COUNT> t{};
    for (int m = 0; m < STOCK_MAP_COUNT; ++m) {
        for (int i = 0; i < STOCK_COUNT; ++i) {
            const Row& r = ROWS[m][i];
            StockRecord& s = t[m][i];
            s.name = static_cast<uint32_t>(m * STOCK_COUNT + i);
            s.building = r.building;
            s.market_shares = r.market_shares;
            s.reference_price = r.price;
            s.previous_price = r.price;
            s.price = r.price;
            s.volatility = r.volatility;
        }
    }
    return t;
}

} // namespace

constinit const std::array<std::array<StockRecord, STOCK_COUNT>, STOCK_MAP_COUNT>
    stock_initial_table = build_table();

const std::array<const char*, STOCK_COUNT* STOCK_MAP_COUNT> stock_company_names = {
    "中国信托",   "台湾人寿", "霁岚百货",   "台 积 电", "宏棋电脑", "台湾塑胶", "裕隆汽车",
    "远东纺织",   "统一超商", "震 旦 行",   "莱 尔 富", "联 合 报", "上海银行", "中国人寿",
    "王井府百货", "中国石油", "联想科技",   "顶新食品", "东方实业", "汇丰证券", "大庆石油",
    "长城电机",   "长江建设", "大众软件",   "富士银行", "三井生命", "三越百货", "日产建设",
    "ＳＥＧＡ",   "丰田汽车", "松下电机",   "日立机电", "ＳＯＮＹ", "三菱工业", "任天堂",
    "德间书店",   "花旗银行", "乔治亚人寿", "环球百货", "联合航空", "福特汽车", "ＩＢＭ",
    "德州仪器",   "摩托罗拉", "迪士尼",     "可口可乐", "麦当劳",   "百事可乐",
};
