// Drawing the four stand-in maps.
//
// Each map is a closed ring of squares with cross paths (forks where they
// meet the ring), one of them an indoor arcade that can be entered from one
// end only (its link at the other end is closed). Special squares are spread
// evenly over the outdoor squares; the property squares between them form
// streets of two to four plots, with single facility plots and company
// buildings at the start of runs.
#include "maps_layout.h"

#include "board/view_sets.h"
#include "engine/util.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

struct Point {
    int x;
    int y;
};

struct Path {
    std::vector<Point> vertices;  // corners; the path runs through them in order
    bool ring = false;            // closed back to the first vertex
    bool indoor = false;          // the squares strictly inside are indoor
    bool closed_at_start = false; // the first square's link into the path is closed
};

struct Company {
    const char* name;
    uint8_t listed; // stock row, 12 or more: not listed
    uint8_t kind;
    int32_t value;
    uint16_t base_fee;
};

struct Layout {
    std::vector<Path> paths;
    std::vector<Company> companies;
    std::vector<const char*> streets;
    std::vector<const char*> facilities;
    std::vector<Point> scenery; // decorations beyond the hospital and the jail
    int price_base;             // cheapest street's land price
};

// Listing prices x 10000 of the listed rows; names as the stock table has them.
const Layout& layout_of(int m) {
    static const Layout layouts[STANDIN_MAP_COUNT] = {
        {{{{{256, 384}, {1792, 384}, {1792, 1664}, {256, 1664}}, true},
          {{{1024, 384}, {1024, 1664}}},
          {{{256, 1024}, {1024, 1024}}, false, true, true}},
         {{"中国信托", 0, COMPANY_KIND_BANK, 1000000, 0},
          {"台湾人寿", 1, COMPANY_KIND_INSURANCE, 400000, 100},
          {"霁岚百货", 2, 2, 250000, 0},
          {"环岛旅行社", 12, 1, 300000, 1000},
          {"宝岛电脑", 13, 3, 200000, 20}},
         {"青石路", "松柏街", "枫林道", "桃园街", "竹溪路", "白鹭街", "柳岸路", "兰亭街", "梅花路",
          "荷塘街", "樟树路", "芦苇街", "金沙路", "银杏街", "石榴巷", "杏花巷"},
         {"东区空地", "西区空地", "南区空地", "北区空地", "中央空地", "河畔空地", "山脚空地",
          "港口空地"},
         {{640, 768}, {1408, 768}, {1408, 1280}, {640, 1344}},
         1000},
        {{{{{384, 384},
            {1536, 384},
            {1920, 768},
            {1920, 1536},
            {1536, 1920},
            {768, 1920},
            {384, 1536}},
           true},
          {{{384, 1152}, {1920, 1152}}},
          {{{1152, 384}, {1152, 1152}}, false, true, true}},
         {{"上海银行", 0, COMPANY_KIND_BANK, 700000, 0},
          {"中国人寿", 1, COMPANY_KIND_INSURANCE, 360000, 120},
          {"王井府百货", 2, 2, 200000, 0},
          {"中国石油", 3, 6, 150000, 150},
          {"神州旅行社", 12, 1, 300000, 1000}},
         {"长风路", "明珠街", "云台路", "望江街", "古井路", "石桥街", "春晖路", "秋月街", "锦绣路",
          "丹桂街", "玉带路", "翠湖街", "星河路", "晨光街", "碧波巷", "青藤巷"},
         {"江畔空地", "城东空地", "城西空地", "码头空地", "园区空地", "湖心空地", "北郊空地",
          "南郊空地"},
         {{768, 768}, {1536, 768}, {768, 1536}, {1536, 1536}},
         1200},
        {{{{{192, 256}, {2112, 256}, {2112, 1920}, {192, 1920}}, true},
          {{{960, 256}, {960, 1920}}},
          {{{960, 1024}, {2112, 1024}}},
          {{{192, 640}, {960, 640}}, false, true, true}},
         {{"富士银行", 0, COMPANY_KIND_BANK, 1600000, 0},
          {"三井生命", 1, COMPANY_KIND_INSURANCE, 990000, 150},
          {"三越百货", 2, 2, 220000, 0},
          {"日产建设", 3, 11, 280000, 0},
          {"ＳＥＧＡ", 4, 3, 3000000, 30},
          {"丰田汽车", 5, 5, 350000, 200},
          {"富士旅行社", 12, 1, 300000, 1200}},
         {"樱坂路", "雪见街", "海鸥路", "灯塔街", "稻田路", "竹林街", "朝雾路", "夕阳街", "白浪路",
          "石灯街", "风铃路", "松涛街", "红叶路", "山茶街", "萤火巷", "古桥巷", "铃兰巷", "云雀巷"},
         {"海岸空地", "神社空地", "车站空地", "渔港空地", "温泉空地", "高原空地", "工业空地",
          "花田空地"},
         {{576, 1280}, {1536, 640}, {1536, 1472}, {576, 1664}, {1856, 1664}},
         1500},
        {{{{{640, 256},
            {1664, 256},
            {2048, 640},
            {2048, 1664},
            {1664, 2048},
            {640, 2048},
            {256, 1664},
            {256, 640}},
           true},
          {{{1152, 256}, {1152, 2048}}},
          {{{1152, 1152}, {2048, 1152}}},
          {{{256, 1152}, {1152, 1152}}, false, true, true}},
         {{"花旗银行", 0, COMPANY_KIND_BANK, 2000000, 0},
          {"乔治亚人寿", 1, COMPANY_KIND_INSURANCE, 550000, 150},
          {"环球百货", 2, 2, 200000, 0},
          {"联合航空", 3, 1, 180000, 1500},
          {"福特汽车", 4, 5, 160000, 250},
          {"ＩＢＭ", 5, 3, 5500000, 40},
          {"德士古加油", 12, 6, 250000, 200}},
         {"自由路", "橡树街", "湖滨路", "枫叶街", "黄金路", "草原街", "晴空路", "海湾街", "河谷路",
          "松鼠街", "红砖路", "牧场街", "峡谷路", "灯火街", "铁轨巷", "仙人巷", "野牛巷", "鹰巢巷"},
         {"湖岸空地", "沙漠空地", "港湾空地", "市郊空地", "农场空地", "山谷空地", "机场空地",
          "河口空地"},
         {{704, 704}, {1600, 704}, {704, 1600}, {1600, 1600}, {1600, 1408}},
         2000},
    };
    return layouts[m];
}

struct Builder {
    StandinMap map;
    std::vector<int> order;      // squares in path order, for spreading the kinds
    std::vector<int> path_start; // index into order where each path's own squares begin

    int find(Point p) const {
        for (size_t i = 1; i < map.squares.size(); ++i)
            if (map.squares[i].x == p.x && map.squares[i].y == p.y) return static_cast<int>(i);
        return 0;
    }

    int add_square(Point p, bool indoor) {
        MapSquare q{};
        q.x = static_cast<int16_t>(p.x);
        q.y = static_cast<int16_t>(p.y);
        if (indoor) q.flags |= SQF_INDOOR;
        map.squares.push_back(q);
        int i = static_cast<int>(map.squares.size()) - 1;
        order.push_back(i);
        return i;
    }

    int link_slot(int a, int b) const {
        for (int k = 0; k < 4; ++k)
            if (map.squares[a].links[k] == b) return k;
        return -1;
    }

    void link(int a, int b) {
        if (a == b || link_slot(a, b) >= 0) return;
        auto free_slot = [&](int s) {
            for (int k = 0; k < 4; ++k)
                if (map.squares[s].links[k] == 0) return k;
            throw std::runtime_error("stand-in map: a square has more than four links");
        };
        int ka = free_slot(a);
        int kb = free_slot(b);
        map.squares[a].links[ka] = static_cast<uint16_t>(b);
        map.squares[b].links[kb] = static_cast<uint16_t>(a);
    }

    void add_path(const Path& path) {
        std::vector<Point> pts;
        size_t corners = path.vertices.size();
        size_t segments = path.ring ? corners : corners - 1;
        for (size_t s = 0; s < segments; ++s) {
            Point a = path.vertices[s];
            Point b = path.vertices[(s + 1) % corners];
            double len = std::hypot(b.x - a.x, b.y - a.y);
            int steps = std::max(1, static_cast<int>(std::lround(len / 128.0)));
            double step = len / steps;
            if (step < 64.0 || step > 160.0)
                throw std::runtime_error("stand-in map: link length out of range");
            for (int k = 0; k < steps; ++k)
                pts.push_back(
                    {a.x + static_cast<int>(std::lround((b.x - a.x) * double(k) / steps)),
                     a.y + static_cast<int>(std::lround((b.y - a.y) * double(k) / steps))});
        }
        if (!path.ring) pts.push_back(path.vertices.back());
        path_start.push_back(static_cast<int>(order.size()));
        std::vector<int> ids;
        for (size_t k = 0; k < pts.size(); ++k) {
            bool end = !path.ring && (k == 0 || k + 1 == pts.size());
            int id = find(pts[k]);
            if (end && id == 0)
                throw std::runtime_error("stand-in map: a cross path does not meet a square");
            if (id == 0) id = add_square(pts[k], path.indoor && !end);
            ids.push_back(id);
        }
        for (size_t k = 0; k + 1 < ids.size(); ++k)
            link(ids[k], ids[k + 1]);
        if (path.ring) link(ids.back(), ids.front());
        if (path.closed_at_start) {
            int k = link_slot(ids[0], ids[1]);
            map.squares[ids[0]].flags |= sqf_closed(k);
        }
    }
};

void set_name(char* field, size_t size, const std::string& utf8) {
    std::string g = standin_gbk(utf8, size);
    std::memset(field, 0, size);
    std::memcpy(field, g.data(), g.size());
}

// Where a building of square q stands: beside the path (across the
// direction of its first link), on the side away from the centre of the map.
Point beside(const std::vector<MapSquare>& squares, const MapSquare& q, int distance) {
    const MapSquare& n = squares[q.links[0]];
    double dx = n.x - q.x;
    double dy = n.y - q.y;
    double len = std::hypot(dx, dy);
    double px = -dy / len;
    double py = dx / len;
    double cx = q.x - MAP_WORLD_SIZE / 2.0;
    double cy = q.y - MAP_WORLD_SIZE / 2.0;
    if (px * cx + py * cy < 0 || (px * cx + py * cy == 0 && px + py < 0)) {
        px = -px;
        py = -py;
    }
    return {q.x + static_cast<int>(std::lround(px * distance)),
            q.y + static_cast<int>(std::lround(py * distance))};
}

// Puts a building beside square q, facing the square.
template <typename Rec>
void place_beside(Rec& r, const std::vector<MapSquare>& squares, const MapSquare& q, int distance) {
    Point p = beside(squares, q, distance);
    r.x = static_cast<int16_t>(p.x);
    r.y = static_cast<int16_t>(p.y);
    r.facing = static_cast<uint8_t>(util_direction8(q.x - p.x, q.y - p.y));
}

const char* special_name(int type) {
    static const char* const names[SQUARE_TYPE_COUNT] = {
        "",       "休息站", "新闻",   "命运", "监狱",   "医院", "方格游戏", "射击游戏", "赛车游戏",
        "彩券行", "五十点", "三十点", "十点", "卡片屋", "银行", "商店",     "魔法屋"};
    return names[type];
}

} // namespace

StandinMap standin_map_build(int m) {
    const Layout& lay = layout_of(m);
    Builder b;
    b.map.squares.resize(1);
    b.map.lots.resize(1);
    b.map.facilities.resize(1);
    b.map.companies.resize(1);
    b.map.decorations.resize(1);
    for (const Path& p : lay.paths)
        b.add_path(p);
    auto& sq = b.map.squares;

    // Indoor squares take light kinds of their own.
    static constexpr uint8_t indoor_kinds[] = {SQ_NEWS, SQ_POINTS_10, SQ_CARD,
                                               SQ_FATE, SQ_EMPTY,     SQ_POINTS_30};
    std::vector<bool> assigned(sq.size(), false);
    int indoor_n = 0;
    for (int id : b.order)
        if (sq[id].flags & SQF_INDOOR) {
            sq[id].flags |= indoor_kinds[indoor_n++ % 6];
            assigned[id] = true;
        }

    // Specials spread evenly over the outdoor squares in path order.
    std::vector<uint8_t> specials = {SQ_EMPTY,       SQ_BANK,
                                     SQ_NEWS,        SQ_LOTTERY,
                                     SQ_FATE,        SQ_JAIL,
                                     SQ_POINTS_50,   SQ_MINIGAME_GRID,
                                     SQ_SHOP,        SQ_NEWS,
                                     SQ_CARD,        SQ_HOSPITAL,
                                     SQ_POINTS_30,   SQ_MINIGAME_TARGETS,
                                     SQ_MAGIC_HOUSE, SQ_FATE,
                                     SQ_POINTS_10,   SQ_MINIGAME_STEER};
    std::vector<int> outdoor;
    for (int id : b.order)
        if (!assigned[id]) outdoor.push_back(id);
    if (outdoor.size() > 70) {
        specials.push_back(SQ_NEWS);
        specials.push_back(SQ_CARD);
        specials.push_back(SQ_FATE);
    }
    std::vector<bool> special(sq.size(), false);
    // In pairs, so that the property squares between them run long enough
    // for a building and a street.
    const size_t pairs = (specials.size() + 1) / 2;
    for (size_t k = 0; k < specials.size(); ++k) {
        int id = outdoor[(k / 2) * outdoor.size() / pairs + k % 2];
        sq[id].flags |= specials[k];
        special[id] = true;
    }

    // Runs of property squares along the paths, split into singles (company
    // buildings first, then facilities) and streets of two to four plots.
    size_t next_company = 0;
    size_t next_facility = 0;
    size_t next_street = 0;
    int lot_price = lay.price_base;
    auto make_company = [&](int id) {
        const Company& c = lay.companies[next_company++];
        CompanyBuilding r{};
        place_beside(r, sq, sq[id], 72);
        set_name(r.name, sizeof r.name, c.name);
        r.listed = c.listed;
        r.kind = c.kind;
        r.sprite = static_cast<uint16_t>(69 + 16 * m + b.map.companies.size() - 1);
        r.base_fee = c.base_fee;
        r.value = c.value;
        b.map.companies.push_back(r);
        int code = OBJ_COMPANY_BASE + static_cast<int>(b.map.companies.size()) - 1;
        sq[id].object = static_cast<uint16_t>(code);
        set_name(sq[id].name, sizeof sq[id].name, c.name);
    };
    auto make_facility = [&](int id) {
        FacilityLot f{};
        place_beside(f, sq, sq[id], 64);
        const char* name = lay.facilities[next_facility++ % lay.facilities.size()];
        set_name(f.name, sizeof f.name, name);
        f.price = static_cast<uint16_t>(lay.price_base * 3 + 500 * (next_facility % 4));
        f.fee[0] = static_cast<uint16_t>(f.price / 2);
        static constexpr uint16_t fees[5] = {200, 400, 700, 1000, 1500};
        for (int k = 1; k <= 5; ++k)
            f.fee[k] = static_cast<uint16_t>(fees[k - 1] * lay.price_base / 1000);
        b.map.facilities.push_back(f);
        sq[id].object = static_cast<uint16_t>(OBJ_FACILITY_BASE + b.map.facilities.size() - 1);
        set_name(sq[id].name, sizeof sq[id].name, name);
    };
    auto make_street = [&](const std::vector<int>& ids) {
        if (next_street >= lay.streets.size())
            throw std::runtime_error("stand-in map: out of street names");
        const char* name = lay.streets[next_street++];
        for (int id : ids) {
            LandLot l{};
            place_beside(l, sq, sq[id], 56);
            set_name(l.street, sizeof l.street, name);
            l.land_price = static_cast<uint16_t>(lot_price);
            l.build_price = static_cast<uint16_t>(lot_price / 2);
            static constexpr int tenths[6] = {1, 3, 6, 10, 15, 22};
            for (int k = 0; k < 6; ++k)
                l.toll[k] = static_cast<uint16_t>(lot_price * tenths[k] / 10);
            b.map.lots.push_back(l);
            sq[id].object = static_cast<uint16_t>(OBJ_LOT_BASE + b.map.lots.size() - 1);
            set_name(sq[id].name, sizeof sq[id].name, name);
        }
        lot_price = std::min(lot_price + 200, 6000);
    };
    auto single = [&](int id) {
        if (next_company < lay.companies.size())
            make_company(id);
        else
            make_facility(id);
    };

    // Runs break at specials, at indoor squares and where a new path starts.
    std::vector<std::vector<int>> runs(1);
    for (size_t k = 0; k < b.order.size(); ++k) {
        int id = b.order[k];
        bool starts_path = std::find(b.path_start.begin(), b.path_start.end(),
                                     static_cast<int>(k)) != b.path_start.end();
        if (starts_path && !runs.back().empty()) runs.emplace_back();
        if (special[id] || assigned[id]) {
            if (!runs.back().empty()) runs.emplace_back();
            continue;
        }
        runs.back().push_back(id);
    }
    for (const auto& run : runs) {
        size_t at = 0;
        size_t left = run.size();
        if (left == 0) continue;
        if (left == 1 ||
            (left != 2 && (next_company < lay.companies.size() || next_facility < 6))) {
            single(run[at++]);
            --left;
        }
        while (left > 0) {
            if (left == 1 ||
                (left >= 5 && (next_company < lay.companies.size() || next_facility < 5))) {
                single(run[at++]);
                --left;
                continue;
            }
            size_t size = left <= 4 ? left : (left - 4 >= 2 ? 4 : 3);
            make_street(std::vector<int>(run.begin() + at, run.begin() + at + size));
            at += size;
            left -= size;
        }
    }
    if (next_company < lay.companies.size())
        throw std::runtime_error("stand-in map: not every company has a square");

    // Names and markers of the specials; the places they serve.
    int jail = 0;
    int hospital = 0;
    for (size_t i = 1; i < sq.size(); ++i) {
        int type = static_cast<int>(sq[i].flags & SQF_TYPE_MASK);
        // Every square shows a marker: specials by their type, property
        // squares by a look of their own.
        sq[i].marker = static_cast<uint16_t>(type == SQ_PROPERTY ? MARKER_PROPERTY_FRAME : type);
        if (type == SQ_PROPERTY) continue;
        set_name(sq[i].name, sizeof sq[i].name, special_name(type));
        if (type == SQ_JAIL) jail = static_cast<int>(i);
        if (type == SQ_HOSPITAL) hospital = static_cast<int>(i);
        for (size_t j = 1; j < b.map.companies.size(); ++j) {
            uint8_t kind = b.map.companies[j].kind;
            if ((type == SQ_BANK && kind == COMPANY_KIND_BANK) || (type == SQ_SHOP && kind == 2))
                sq[i].object = static_cast<uint16_t>(OBJ_COMPANY_BASE + j);
        }
    }
    if (!jail || !hospital) throw std::runtime_error("stand-in map: no jail or hospital square");

    // Decoration 1 the hospital, 2 the jail, then the scenery.
    auto add_decoration = [&](Decoration d, const char* name) {
        set_name(d.name, sizeof d.name, name);
        d.sprite = static_cast<uint16_t>(77 + 16 * m + b.map.decorations.size() - 1);
        b.map.decorations.push_back(d);
    };
    Decoration place{};
    place_beside(place, sq, sq[hospital], 80);
    add_decoration(place, "市立医院");
    sq[hospital].object = OBJ_HOSPITAL;
    place_beside(place, sq, sq[jail], 80);
    add_decoration(place, "警察局");
    sq[jail].object = OBJ_JAIL;
    static const char* const scenery_names[] = {"喷水池", "大榕树", "钟楼", "铜像", "花园"};
    for (size_t k = 0; k < lay.scenery.size(); ++k) {
        Decoration d{};
        d.x = static_cast<int16_t>(lay.scenery[k].x);
        d.y = static_cast<int16_t>(lay.scenery[k].y);
        d.facing = static_cast<uint8_t>(k % 8);
        add_decoration(d, scenery_names[k % 5]);
    }
    return b.map;
}
