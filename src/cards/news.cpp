#include "cards/news.h"

#include <cstdio>
#include <cstring>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/speech.h"
#include "board/square_kinds.h"
#include "cards/news_presenter.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "finance/stock.h"
#include "finance/trading.h"

// With no event window nothing is shown.
constinit PresenterSlot<NewsPresenter> news_presenter{NewsPresenter{
    [](int) {},
    [](int) {},
    [](int) {},
    [](const char*, int, int) {},
    [](int, int, int, int) {},
    [] {},
    [](const char*) {},
    [] {},
    [] {},
}};

int32_t news_target = 0;
int32_t news_value = 0;
std::array<int32_t, 4> news_amounts{};

const std::array<uint8_t, NEWS_EVENT_COUNT> news_category_table = {
    0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 3, 3,
    4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5,
};
const std::array<const char*, 6> news_category_names = {
    "无责任新闻", "政府公告", "社会新闻", "路况报导", "气象报导", "财经新闻",
};

namespace {

constexpr uint32_t NEWS_VOICE_WAIT_MS = 2400;
constexpr int HEADING_Y = 8;

bool any_held(const std::array<uint8_t, JAIL_PERSONS>& flags) {
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (flags[p]) return true;
    return false;
}

template <typename Test> bool any_lot(Test test) {
    for (int i = 1; i <= map_lot_count; ++i)
        if (test(map_lot_table[i])) return true;
    return false;
}
template <typename Test> bool any_facility(Test test) {
    for (int i = 1; i <= map_facility_count; ++i)
        if (test(map_facility_table[i])) return true;
    return false;
}

bool active(int p) {
    return player_table[p].control != CTRL_OUT;
}

} // namespace

int news_applicable(int e) {
    const auto built = [](const auto& r) { return r.level > 0; };
    const auto unowned = [](const auto& r) { return r.owner == OWNER_NONE; };
    const auto owned = [](const auto& r) { return r.owner != OWNER_NONE; };
    switch (e) {
    case 0:
    case 1:
        return any_held(jail_flags);
    case 2:
    case 3:
        return any_held(hospital_flags);
    case 4:
    case 5:
        return any_lot(built) || any_facility(built);
    case 15:
        return any_lot(built);
    case 7:
        return any_lot(unowned) || any_facility(unowned);
    case 8:
    case 9:
    case 12:
        return any_lot(owned) || any_facility(owned);
    case 10:
    case 13:
        for (int p = 0; p < PLAYER_COUNT; ++p)
            if (active(p) && trading_holds_shares(p)) return 1;
        return 0;
    case 16:
    case 17:
        for (int p = 0; p < PLAYER_COUNT; ++p)
            if (active(p) && (player_table[p].travel != 0) == (e == 17)) return 1;
        return 0;
    case 28:
        for (const StockRecord& s : stock_table)
            if (s.suspended_days != 0) return 1;
        return 0;
    case 29:
        for (int i = 1; i <= map_company_count; ++i) {
            const int chairman = map_company_table[i].chairman;
            if (chairman != OWNER_NONE && player_is_free(seat_of_owner(chairman))) return 1;
        }
        return 0;
    case 35:
        for (int i = 1; i <= map_company_count; ++i)
            if (map_company_table[i].earnings > 10000) return 1;
        return 0;
    // A random property needs a plot or facility, a company event a company.
    case 6:
    case 14:
    case 18:
    case 19:
    case 20:
    case 21:
        return map_lot_count + map_facility_count > 0;
    case 30:
    case 31:
    case 32:
    case 33:
    case 34:
        return map_company_count > 0;
    default:
        return e >= 0 && e < NEWS_EVENT_COUNT;
    }
}

void news_show() {
    news_presenter().open(EVENT_PANEL_NEWS);
    int shown = -1;
    // Every deck holds events that always apply: one pass finds one.
    for (int looked = 0; looked < NEWS_EVENT_COUNT && shown < 0; ++looked) {
        if (news_cursor < 0 || news_cursor >= NEWS_EVENT_COUNT) news_cursor = 0;
        const int e = news_deck[news_cursor];
        const int a = e < NEWS_EVENT_COUNT ? news_applicable(e) : 0;
        news_presenter().font(EVENT_FONT);
        if (a) {
            news_presenter().picture(NEWS_PICTURE_BASE + e);
            news_presenter().text(news_category_names[news_category_table[e]], EVENT_TEXT_X,
                                  HEADING_Y);
            shown = e;
            news_handler_table[e](0);
        }
        news_cursor = news_cursor >= NEWS_EVENT_COUNT - 1 ? 0 : news_cursor + 1;
    }
    if (shown < 0) {
        news_presenter().close();
        return;
    }
    events_note_shown(shown);
    news_presenter().show();
    snd_voice_wait(NEWS_VOICE_WAIT_MS);
    news_handler_table[shown](1);
    news_presenter().close();
}

// ---------------------------------------------------------------------------
// Helpers of the events, shared with the fate events.

const char* news_property_name(int code) {
    static char name[24];
    name[0] = '\0';
    if (object_in(code, OBJ_LOT_BASE, map_lot_count)) {
        const LandLot& l = map_lot_table[object_index(code, OBJ_LOT_BASE)];
        std::snprintf(name, sizeof name, "%.*s", static_cast<int>(sizeof l.street), l.street);
    } else if (object_in(code, OBJ_FACILITY_BASE, map_facility_count)) {
        const FacilityLot& f = map_facility_table[object_index(code, OBJ_FACILITY_BASE)];
        std::snprintf(name, sizeof name, "%.*s", static_cast<int>(sizeof f.name), f.name);
    }
    return name;
}

int news_owner_of(int code) {
    if (object_in(code, OBJ_LOT_BASE, map_lot_count))
        return map_lot_table[object_index(code, OBJ_LOT_BASE)].owner;
    if (object_in(code, OBJ_FACILITY_BASE, map_facility_count))
        return map_facility_table[object_index(code, OBJ_FACILITY_BASE)].owner;
    return OWNER_NONE;
}

void news_scroll_to_object(int code) {
    int x = 0, y = 0;
    map_object_position(code, &x, &y);
    board_view_refresh(x, y, 2);
}

void news_scroll_to_player(int p) {
    if (!is_player_seat(p)) return;
    board_view_refresh(player_table[p].x, player_table[p].y, 2);
}

void news_mark_begin() {
    board_mark_begin();
}

void news_mark_object(int code) {
    board_mark_object(code);
}

void news_owner_complaint(int owner) {
    if (owner == OWNER_NONE) return;
    const int p = seat_of_owner(owner);
    if (!is_player_seat(p)) return;
    const int row = 3 + (game_rand() & 1);
    speech_bubble(p, 2, speech_line(player_table[p].character, row));
}

namespace {
uint8_t land_news(int, int, int) {
    news_show();
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_NEWS, land_news, SQUARE_SOUND_VISIT)
