#include "board/gods.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/board_refresh.h"
#include "board/calendar.h"
#include "board/game_state.h"
#include "board/god_flight.h"
#include "board/map.h"
#include "board/money.h"
#include "board/movement.h"
#include "board/speech.h"
#include "board/spinner.h"
#include "board/view.h"
#include "cards/cards.h"
#include "cards/fate_gods.h"
#include "engine/flc.h"
#include "engine/message.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/wait.h"

const GodValues god_value_table[19] = {
    {0, 0, 0},                                      // none
    {-100, 100, 0},     {-200, 150, 0},             // small, big wealth
    {-100, 0, 100},     {-200, 0, 150},             // small, big fortune
    {100, -60, 0},      {200, -100, 0},             // small, big poverty
    {100, 0, -60},      {200, 0, -100},             // small, big bad luck
    {-100, 60, 60},     {100, -60, -60},            // angel, devil
    {0, 0, 0},          {-500, 0, 0},               // dog, land god
    {0, 0, 0},          {0, 0, 0},                  // gift, chest
    {1000, -200, -200},                             // death god
    {0, 0, 0},          {0, 0, 0},       {0, 0, 0}, // roadblock, mine, time bomb
};

namespace {

constexpr int ATTACH_DAYS = 7;
constexpr int DEATH_ATTACH_DAYS = 13;
// The board's building sound (element of board_effects), as when a player builds.
constexpr int FX_BUILT = 18;

// Film (data.mkf entry, FLC speed) and caption shown when a god attaches.
struct AttachShow {
    int film;
    int speed;
    const char* caption;
};
const AttachShow* attach_show(int kind) {
    static const AttachShow shows[16] = {
        {0, 0, nullptr},
        {499, 102, "呦喝！～发财发财！\n\n我虽然还小，没什么神力\n\n但是我可以让你损失减半。"},
        {500, 103, "呵呵～恭喜发财。\n\n我保佑你财源滚滚\n\n谁也不能罚你的钱。"},
        {501, 104, "Ｙｅａｈ!!不要看我小喔\n\n我可以让你投资事半功倍！"},
        {502, 105, "呵呵呵～天官赐福好运到\n\n我保佑你福星高照\n\n投资加倍顺利、买地不用钱。"},
        {503, 106, "噎噎噎～赔钱！赔钱！"},
        {504, 107, "喔～钱掉了。"},
        {505, 108, "有我小小衰神，害你一事无成。"},
        {506, 109, "哈哈哈！真是好衰啊！"},
        {507, 110, "哈雷路亚～\n\n我将使您落脚的土地更加繁荣。"},
        {508, 112, "哈～哈～与我同生共死。\n\n我要沿路破坏你所经过的土地。"},
        {0, 0, nullptr},
        {509, 111, "呵～呵，有土斯有财\n\n我就是土地公公。\n\n有我在，你想要多少土地就有多少。"},
        {0, 0, nullptr},
        {0, 0, nullptr},
        {510, 113, "嘿嘿嘿嘿．．你惨了！\n\n被我盯上，你完蛋了。"},
    };
    return (kind >= 0 && kind < 16) ? &shows[kind] : &shows[0];
}

bool valid_slot(int slot) {
    return slot >= GOD_FIRST_SLOT && slot <= GOD_LAST_SLOT;
}
std::string format1(const char* fmt, const char* a) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a);
    return buf;
}
std::string format2(const char* fmt, const char* a, const char* b) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

void say(int p, int expression, int row) {
    speech_bubble(p, expression, speech_line(player_table[p].character, row));
}

int attached_kind(int p) {
    const int slot = player_table[p].god_slot;
    return valid_slot(slot) ? god_table[slot].kind : 0;
}

void add_values(int p, int kind, int sign) {
    const GodValues& v = god_value_table[kind < 19 ? kind : 0];
    PlayerRecord& r = player_table[p];
    r.ill_fortune = static_cast<int16_t>(r.ill_fortune + sign * v.ill_fortune);
    r.money_luck = static_cast<int16_t>(r.money_luck + sign * v.money_luck);
    r.mishap_luck = static_cast<int16_t>(r.mishap_luck + sign * v.mishap_luck);
}

// Clears the square's god byte when it names this slot.
void clear_square_slot(int square, int slot) {
    if (!map_square_valid(square)) return;
    uint32_t& flags = map_square_table[square].flags;
    if (((flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT) == static_cast<uint32_t>(slot))
        flags &= ~SQF_GOD_MASK;
}

bool in_status(const PlayerRecord& r) {
    return r.hotel_days != 0 || r.away_days != 0 || r.jail_days != 0 || r.hospital_days != 0;
}

int item_of_kind(int kind) {
    return kind - GK_ROADBLOCK + 2;
} // roadblock 2, mine 3, bomb 4

int served_object(int square) {
    return map_square_valid(square) ? map_square_table[square].object : 0;
}

void move_view_to_active() {
    int x = 0, y = 0;
    mover_position(game_active_mover, x, y);
    board_view_refresh(x, y, 0);
}

// The angel's and the fortune gods' raise of the served property. Returns the
// raise result (0, MAP_RAISED or MAP_RAISED_TOP).
int raise_served(int kind, int square) {
    const int code = served_object(square);
    if (!map_lot(code) && !map_facility(code)) return 0;
    move_view_to_active();
    const std::string text = format1("%s显灵\n\n加盖一层房屋！", god_names[kind]);
    bool shown = false;
    if (const FacilityLot* f = map_facility(code); f && f->level == 0) {
        msg_show(text.c_str(), MSG_STANDARD_MS);
        shown = true;
    }
    const int r = map_raise_level(code);
    if (r != 0) {
        if (!shown) msg_show(text.c_str(), MSG_STANDARD_MS);
        snd_board_effect_play(FX_BUILT, 0);
        board_view_refresh(0, 0, 1);
        if (r == MAP_RAISED_TOP) board_play_animation();
    }
    return r;
}

} // namespace

bool god_kind_slots(int kind, int* first, int* last) {
    int a = 0, b = 0;
    switch (kind) {
    case GK_DEATH:
        a = 15;
        b = 16;
        break;
    case GK_ROADBLOCK:
        a = 17;
        b = 26;
        break;
    case GK_MINE:
        a = 27;
        b = 36;
        break;
    case GK_TIME_BOMB:
        a = 37;
        b = 46;
        break;
    default:
        if (kind < GK_SMALL_WEALTH || kind > GK_CHEST) return false;
        a = b = kind;
    }
    if (first) *first = a;
    if (last) *last = b;
    return true;
}

int god_place(int kind, int square, int days, int holder) {
    int first = 0, last = 0;
    if (!god_kind_slots(kind, &first, &last)) return 0;
    if (square != 0 && !map_square_valid(square)) return 0;
    // One slot a square: a second one would hide the first from every mover
    // and from its own removal.
    if (square != 0 && (map_square_table[square].flags & SQF_GOD_MASK) != 0 && holder == 0)
        return 0;
    if (holder < 0 || holder > PLAYER_COUNT) return 0;
    int slot = 0;
    for (int s = first; s <= last; ++s) {
        if (god_table[s].square == 0 && god_table[s].holder == 0) {
            slot = s;
            break;
        }
    }
    if (slot == 0) return 0;
    GodObject& g = god_table[slot];
    g.square = static_cast<uint16_t>(square);
    g.days = static_cast<uint8_t>(days);
    g.holder = Owner{static_cast<uint8_t>(holder)};
    if (kind == GK_DEATH && holder != 0) god_attach(seat_of_owner(holder), 0, slot);
    if (square != 0 && g.holder == 0) {
        MapSquare& sq = map_square_table[square];
        for (int i = 0; i < 4; ++i) {
            if (sq.links[i] != 0) {
                g.facing = static_cast<uint8_t>(map_direction(sq.links[i], square));
                break;
            }
        }
        sq.flags = (sq.flags & ~SQF_GOD_MASK) | (static_cast<uint32_t>(slot) << SQF_GOD_SHIFT);
    }
    return slot;
}

void god_remove(int slot) {
    if (!valid_slot(slot)) return;
    GodObject& g = god_table[slot];
    const int old_square = g.square;
    const int holder = g.holder;
    if (g.kind >= GK_ROADBLOCK && g.kind <= GK_TIME_BOMB) {
        // A placed item goes back to the shop stock it came from.
        const int item = item_of_kind(g.kind);
        if (item_stock[item - 1] < 255) ++item_stock[item - 1];
        if (holder != 0 && player_table[seat_of_owner(holder)].bomb_slot == slot)
            player_table[seat_of_owner(holder)].bomb_slot = 0;
    } else if (holder != 0) {
        PlayerRecord& r = player_table[seat_of_owner(holder)];
        if (r.god_slot == slot) {
            r.god_slot = 0;
            add_values(seat_of_owner(holder), g.kind, -1);
        }
    }
    if (holder == 0) clear_square_slot(old_square, slot);
    g.square = 0;
    g.days = 0;
    g.holder = OWNER_NONE;
    if (slot <= GK_LAND_GOD) {
        // Small and big gods, angel and devil, dog and land god take turns.
        const int counterpart = (slot & 1) ? slot + 1 : slot - 1;
        const int far = map_random_square_far(old_square);
        if (far != 0) god_place(counterpart, far, 0, 0);
    }
}

int god_is_attachable(int slot) {
    return (valid_slot(slot) && god_kind_can_attach(god_table[slot].kind)) ? 1 : 0;
}

void god_attach(int p, int square, int slot) {
    if (!is_player_seat(p) || !god_is_attachable(slot)) return;
    GodObject& g = god_table[slot];
    PlayerRecord& r = player_table[p];
    const int kind = g.kind;

    // A god that stood on a square leaves it, whichever square the caller named.
    if (g.holder == 0 && g.square != 0) clear_square_slot(g.square, slot);
    g.square = 0;
    // A god still held by someone else lets go of that holder first, so no
    // two players ever name the same slot.
    if (g.holder != 0 && !owner_is_seat(g.holder, p)) {
        PlayerRecord& old = player_table[seat_of_owner(g.holder)];
        if (old.god_slot == slot) {
            old.god_slot = 0;
            add_values(seat_of_owner(g.holder), kind, -1);
        }
        g.holder = OWNER_NONE;
    }
    // Held for the moment, so that the counterpart of a leaving god cannot
    // take this very slot to a square while it attaches.
    g.holder = owner_of_seat(p);
    if (r.god_slot != 0 && r.god_slot != slot) god_leave_player(p);
    board_view_refresh(0, 0, 1);

    const bool already = (r.god_slot == slot);
    r.god_slot = static_cast<uint8_t>(slot);
    g.square = r.square;
    g.holder = owner_of_seat(p);
    g.days = static_cast<uint8_t>(kind == GK_DEATH ? DEATH_ATTACH_DAYS : ATTACH_DAYS);
    if (square != 0) clear_square_slot(square, slot);
    if (!already) add_values(p, kind, +1);

    const AttachShow* show = attach_show(kind);
    if (show->film != 0) flc_play_entry_speed(show->film, 0, 40, 1, show->speed);
    if (show->caption != nullptr && settings_animations()) god_caption(show->caption);

    switch (kind) {
    case GK_SMALL_WEALTH: {
        const int amount = spin_god_amount(SPIN_SMALL_WEALTH);
        for (int q = 0; q < PLAYER_COUNT && game_end_code == 0; ++q) {
            if (q == p || player_table[q].control == CTRL_OUT) continue;
            money_pay(q, p, amount, MONEY_INTO_CASH);
        }
        if (amount >= 701) say(p, 0, 8);
        break;
    }
    case GK_BIG_WEALTH: {
        const int amount = spin_god_amount(SPIN_BIG_WEALTH);
        money_credit(p, amount, MONEY_INTO_CASH);
        if (amount >= 5000 * game_price_index) speech_react_gain(p, amount);
        break;
    }
    case GK_SMALL_FORTUNE: {
        const int card = card_give_random(p);
        if (card != 0) {
            msg_show(format2("%s附身\n\n得到%s！", god_names[kind], card_def(card).name).c_str(),
                     MSG_STANDARD_MS);
            speech_react_percent(p, card_def(card).level);
        }
        break;
    }
    case GK_BIG_FORTUNE: {
        const int a = card_give_random(p);
        const int b = card_give_random(p);
        if (a != 0 && b != 0) {
            msg_show(
                format2("大福神附身\n\n得到%s及%s！", card_def(a).name, card_def(b).name).c_str(),
                MSG_STANDARD_MS);
        } else if (a != 0 || b != 0) {
            msg_show(format2("%s附身\n\n得到%s！", god_names[kind], card_def(a != 0 ? a : b).name)
                         .c_str(),
                     MSG_STANDARD_MS);
        }
        if (a != 0 || b != 0) speech_react_percent(p, card_def(a).level + card_def(b).level);
        break;
    }
    case GK_SMALL_POVERTY: {
        say(p, 1, 22);
        const int amount = spin_god_amount(SPIN_SMALL_POVERTY);
        // The payments stop once the payer is out: a bankrupt player has
        // nothing left to give.
        for (int q = 0; q < PLAYER_COUNT && game_end_code == 0 && r.control != CTRL_OUT; ++q) {
            if (q == p || player_table[q].control == CTRL_OUT) continue;
            money_pay(p, q, amount, 0);
        }
        break;
    }
    case GK_BIG_POVERTY:
        say(p, 1, 22);
        money_pay(p, PARTY_JACKPOT, spin_god_amount(SPIN_BIG_POVERTY), 0);
        break;
    case GK_SMALL_BAD_LUCK: {
        say(p, 1, 22);
        const int card = card_lose_random(p);
        if (card != 0)
            msg_show(format1("小衰神附身\n\n遗失%s！", card_def(card).name).c_str(),
                     MSG_STANDARD_MS);
        break;
    }
    case GK_BIG_BAD_LUCK:
        say(p, 1, 22);
        if (card_lose_half(p) != 0) msg_show("大衰神附身\n\n遗失一半卡片！", MSG_STANDARD_MS);
        break;
    case GK_DEATH:
        say(p, 1, 22);
        item_sell_all(p);
        card_sell_all(p);
        break;
    default:
        break; // angel, devil and land god act when their holder lands
    }
}

void god_leave_player(int p) {
    if (!is_player_seat(p)) return;
    PlayerRecord& r = player_table[p];
    const int slot = r.god_slot;
    if (!valid_slot(slot)) {
        r.god_slot = 0;
        return;
    }
    const int kind = god_table[slot].kind;
    if (in_status(r)) {
        god_remove(slot);
        return;
    }
    board_view_refresh(r.x, r.y, 0);
    int x = 0, y = 0;
    const bool drawn = view_object_screen_pos(OBJ_OCCUPANTS | (slot << 8), &x, &y, nullptr);
    // Lifted off: the board is drawn without it while it flies.
    const GodObject held = god_table[slot];
    god_table[slot].holder = OWNER_NONE;
    god_table[slot].square = 0;
    board_view_refresh(0, 0, 1);
    god_fly_up(slot, kind, drawn, x, y);
    god_table[slot] = held;
    god_remove(slot);
    board_repaint_all();
    if ((kind >= GK_SMALL_POVERTY && kind <= GK_BIG_BAD_LUCK) || kind == GK_DEATH) say(p, 0, 23);
}

void god_landing_effect(int p, int square) {
    if (!is_player_seat(p) || !map_square_valid(square)) return;
    PlayerRecord& r = player_table[p];
    if (r.control == CTRL_OUT || r.hotel_days != 0) return;
    const int kind = attached_kind(p);
    const int code = served_object(square);
    switch (kind) {
    case GK_ANGEL:
        raise_served(kind, square);
        break;
    case GK_DEVIL: {
        int owner = 0, level = 0;
        if (const LandLot* lot = map_lot(code)) {
            owner = lot->owner;
            level = lot->level;
        } else if (const FacilityLot* f = map_facility(code)) {
            owner = f->owner;
            level = f->level;
        }
        if (level == 0) break;
        if (owner != 0) player_add_grudge(seat_of_owner(owner), p, 30 * game_price_index);
        msg_show("小恶魔显灵\n\n拆毁一层房屋！", MSG_STANDARD_MS);
        map_building_op(code, MAP_OP_LOWER);
        flc_play_entry_speed(485, 0, 40, 1, 95);
        break;
    }
    case GK_LAND_GOD: {
        Owner* owner = nullptr;
        uint32_t* expiry = nullptr;
        int64_t price = 0;
        int level = 0;
        if (LandLot* lot = map_lot(code)) {
            owner = &lot->owner;
            expiry = &lot->expiry;
            price = lot->land_price;
            level = lot->level;
        } else if (FacilityLot* f = map_facility(code)) {
            owner = &f->owner;
            expiry = &f->expiry;
            price = f->price;
            level = f->level;
        } else {
            break;
        }
        if (owner_is_seat(*owner, p)) break;
        const int former = *owner;
        if (former != 0) {
            const int64_t grudge = price * game_price_index * (level + 2) / 5;
            player_add_grudge(former - 1, p,
                              static_cast<int32_t>(grudge > INT32_MAX ? INT32_MAX : grudge));
        }
        *owner = owner_of_seat(p);
        if (game_land_term != 0 && former == 0)
            *expiry = cal_add_months(game_date, land_term_delta[std::clamp(game_land_term, 0, 5)]);
        board_minimap_marks(0);
        msg_show("土地公显灵\n\n强占土地！", MSG_STANDARD_MS);
        say(p, 0, 0);
        break;
    }
    default:
        break;
    }
}

void god_invest_bonus(int p, int square) {
    if (!is_player_seat(p)) return;
    const int kind = attached_kind(p);
    if (kind != GK_SMALL_FORTUNE && kind != GK_BIG_FORTUNE) return;
    const int r = raise_served(kind, square);
    if (r == MAP_RAISED_TOP) {
        say(p, 0, 15);
        board_play_animation();
    } else if (r != 0) {
        say(p, 0, game_rand() & 1);
    }
}

int god_invest_fail(int p) {
    if (!is_player_seat(p)) return 0;
    const int kind = attached_kind(p);
    if (kind != GK_SMALL_BAD_LUCK && kind != GK_BIG_BAD_LUCK && kind != GK_DEATH) return 0;
    msg_show(format1("%s显灵\n\n投资失败！", god_names[kind]).c_str(), MSG_STANDARD_MS);
    return 1;
}

int god_find_death_holder(int p) {
    for (int q = 0; q < PLAYER_COUNT; ++q) {
        if (q == p || player_table[q].control == CTRL_OUT) continue;
        if (attached_kind(q) == GK_DEATH) return q;
    }
    return -1;
}

int god_none_flying() {
    for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s)
        if (god_table[s].flight != 0) return 0;
    return 1;
}

void god_start_wander(int slot, int from, int to) {
    if (!valid_slot(slot) || !map_square_valid(from) || !map_square_valid(to)) return;
    GodObject& g = god_table[slot];
    const MapSquare& a = map_square_table[from];
    const MapSquare& b = map_square_table[to];
    g.fdx = static_cast<float>(a.x - b.x) * 0.5f;
    g.fdy = static_cast<float>(a.y - b.y) * 0.5f;
    g.fx = static_cast<float>(a.x) + g.fdx;
    g.fy = static_cast<float>(a.y) + g.fdy;
    g.flight = 255;
    g.flight_facing = g.facing;
}

void god_advance_flights() {
    for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s) {
        GodObject& g = god_table[s];
        if (g.flight == 0) continue;
        g.fx += g.fdx;
        g.fy += g.fdy;
        --g.flight;
        const bool off_board = g.fx < 0.0f || g.fy < 0.0f ||
                               g.fx >= static_cast<float>(MAP_WORLD_SIZE) ||
                               g.fy >= static_cast<float>(MAP_WORLD_SIZE);
        const bool still = g.fdx == 0.0f && g.fdy == 0.0f;
        // A flight also ends where the view stops drawing it.
        const bool out_of_view = !view_in_window(static_cast<int>(g.fx), static_cast<int>(g.fy));
        if (off_board || still || out_of_view) g.flight = 0;
    }
}

void god_caption(const char* /*text*/) {
    wait_ms_skippable(2400);
}

constinit PresenterSlot<GodFlightPresenter> god_flight_presenter{GodFlightPresenter{
    [](int, int, int, int, int, int) {},
    [](int, int, bool, int, int) {},
}};

void god_fly(int slot, int x0, int y0, int x1, int y1, int pause) {
    god_flight_presenter().fly(slot, x0, y0, x1, y1, pause);
}

void god_fly_up(int slot, int kind, bool drawn, int x, int y) {
    god_flight_presenter().fly_up(slot, kind, drawn, x, y);
}
