// The lottery's rules: the ticket sale at the lottery square, the draw of
// the 15th and the payout. The windows only draw and take clicks.
#include "finance/lottery.h"

#include <algorithm>
#include <cstdio>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/money.h"
#include "board/square_kinds.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/music.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/util.h"

Owner lotto_owners[LOTTO_NUMBERS] = {};
const std::array<LottoSlot, 4> lotto_holder_slots = {
    {{16, 340}, {16, 410}, {328, 340}, {328, 410}}};

// Without the window nothing is shown.
constinit PresenterSlot<LotteryPresenter> lottery_presenter{LotteryPresenter{
    .open_ticket = [](int) {},
    .stamp = [](int) {},
    .open_draw = [] {},
    .spin = [] {},
    .show_number = [](int) {},
    .show_winner = [](int, const char*) {},
    .say = [](const char*) {},
    .wait = [](uint32_t) {},
    .close = [] {},
}};

namespace {

constexpr int TICKET_MUSIC = 6;
constexpr int DRAW_MUSIC = 8;
// A player owning more than this many numbers makes the draw pick among the owned.
constexpr int OWNED_FOR_A_SURE_HIT = 10;
constexpr uint32_t MISS_PAUSE_MS = 500;
constexpr int CELL_COLUMNS = 9, CELL_ROWS = 4, CELL_W = 64, CELL_H = 48;
constexpr int TICKET_LEFT = 30, TICKET_TOP = 271;

LottoObserver observer = nullptr;

void notify(LottoEventKind kind, bool after, int player, int number) {
    if (observer) observer(LottoEvent{kind, after, player, number});
}

bool in_game(int p) {
    return is_player_seat(p) && p < game_player_count && player_table[p].control != CTRL_OUT;
}

// A human at the ticket window: greeting, the number, the stamp.
void ticket_window_visit(int p) {
    music_play_event(TICKET_MUSIC);
    lottery_presenter().open_ticket(p);
    if (player_table[p].cash > LOTTO_TICKET_PRICE - 1) {
        if (settings_animations()) {
            lottery_presenter().say("#0011哈罗！\n一卷在手，\n希望无穷！");
            lottery_presenter().say("#0012只要一千元，\n就有获得大奖\n的机会！");
            lottery_presenter().say("#0013请圈选您的\n幸运号码～");
        }
        DecisionRequest r{DECIDE_LOTTERY_NUMBER, p, nullptr, player_table[p].cash, 0};
        const int number = decide(r);
        if (number != 0 && lotto_buy(p, number)) {
            lottery_presenter().stamp(number);
            lottery_presenter().say("#0014拜拜！祝您中奖！");
        } else {
            lottery_presenter().say("#0016下次再来吧！");
        }
    } else {
        lottery_presenter().say("#0015太可惜了！\n您的现金不足～");
        lottery_presenter().say("#0016下次再来吧！");
    }
    lottery_presenter().close();
    music_resume();
}

} // namespace

int lotto_free_count() {
    return static_cast<int>(std::count(lotto_owners, lotto_owners + LOTTO_NUMBERS, OWNER_NONE));
}

bool lotto_buy(int p, int number) {
    if (!in_game(p) || number < 1 || number > LOTTO_NUMBERS) return false;
    if (lotto_owners[number - 1] != OWNER_NONE) return false;
    if (player_table[p].cash < LOTTO_TICKET_PRICE) return false;
    notify(LOTTO_SALE, false, p, number);
    lotto_owners[number - 1] = owner_of_seat(p);
    // The ticket's money goes straight into the jackpot, not through the ledger.
    player_table[p].cash -= LOTTO_TICKET_PRICE;
    lotto_jackpot = util_add_sat32(lotto_jackpot, LOTTO_TICKET_PRICE);
    notify(LOTTO_SALE, true, p, number);
    return true;
}

int lotto_computer_pick(int p) {
    if (!is_player_seat(p) || player_table[p].cash <= LOTTO_TICKET_PRICE) return 0;
    const int free = lotto_free_count();
    if (free == 0) return 0;
    int k = game_rand() % free;
    for (int n = 1; n <= LOTTO_NUMBERS; ++n)
        if (lotto_owners[n - 1] == OWNER_NONE && k-- == 0) return n;
    return 0;
}

void lotto_visit() {
    const int p = game_active_mover;
    if (!in_game(p)) return;
    if (player_table[p].control == CTRL_HUMAN) {
        ticket_window_visit(p);
        return;
    }
    const int number = lotto_computer_pick(p);
    if (number != 0) lotto_buy(p, number);
}

int lotto_owner_of(int number) {
    if (number < 1 || number > LOTTO_NUMBERS) return -1;
    const int p = seat_of_owner(lotto_owners[number - 1]);
    return in_game(p) ? p : -1;
}

int lotto_draw_number() {
    int owned_by[PLAYER_COUNT] = {};
    int owned = 0;
    for (uint8_t owner : lotto_owners) {
        if (owner == OWNER_NONE) continue;
        ++owned;
        if (is_player_seat(seat_of_owner(owner))) ++owned_by[seat_of_owner(owner)];
    }
    const bool sure_hit = std::any_of(owned_by, owned_by + PLAYER_COUNT,
                                      [](int n) { return n > OWNED_FOR_A_SURE_HIT; });
    if (!sure_hit) return game_rand() % LOTTO_NUMBERS + 1;
    int k = game_rand() % owned;
    for (int n = 1; n <= LOTTO_NUMBERS; ++n)
        if (lotto_owners[n - 1] != OWNER_NONE && k-- == 0) return n;
    return 1;
}

void lotto_pay_winner(int number) {
    const int winner = lotto_owner_of(number);
    if (winner < 0) return;
    money_credit(winner, lotto_jackpot, MONEY_INTO_CASH);
    lotto_jackpot = 0;
    std::fill(lotto_owners, lotto_owners + LOTTO_NUMBERS, OWNER_NONE);
}

void lotto_monthly_draw() {
    if (lotto_free_count() == LOTTO_NUMBERS) return;
    notify(LOTTO_DRAW, false, -1, 0);
    music_play_event(DRAW_MUSIC);
    lottery_presenter().open_draw();
    lottery_presenter().say("#0017嗨！\n又到了每月\n十五号乐透\n开奖时间～");
    lottery_presenter().say("#0018现在马上为您\n开出这一期的\n号码　　。");
    lottery_presenter().spin();
    const int number = lotto_draw_number();
    lottery_presenter().show_number(number);
    const int winner = lotto_owner_of(number);
    if (winner >= 0) {
        lottery_presenter().say("#0019本月份的得主\n是　　　。");
        char line[64];
        lotto_winner_line(player_table[winner].character, line, sizeof line);
        lottery_presenter().show_winner(winner, line);
        lottery_presenter().say("#0032恭喜您独得\n所有奖金！");
        lottery_presenter().say("#0035希望下次\n得奖者就\n是您！");
        lottery_presenter().say("#0036行动要快喔！");
    } else {
        lottery_presenter().wait(MISS_PAUSE_MS);
        lottery_presenter().say("#0033SORRY！\n本月份没有人\n得奖～");
        lottery_presenter().say("#0034奖金将累积\n到下个月　\n　　　。");
        lottery_presenter().say("#0035希望下次\n得奖者就\n是您！");
        lottery_presenter().say("#0036行动要快喔！");
    }
    lottery_presenter().close();
    // The win is paid as the window ends.
    lotto_pay_winner(number);
    music_resume();
    notify(LOTTO_DRAW, true, winner, number);
}

int lotto_cell_at(int x, int y) {
    const int dx = x - TICKET_LEFT, dy = y - TICKET_TOP;
    if (dx < 0 || dy < 0 || dx >= CELL_COLUMNS * CELL_W || dy >= CELL_ROWS * CELL_H) return 0;
    return dx / CELL_W + CELL_COLUMNS * (dy / CELL_H) + 1;
}

void lotto_winner_line(int character, char* out, int size) {
    const int c = std::clamp(character, 0, CHARACTER_COUNT - 1);
    std::snprintf(out, static_cast<size_t>(size), "#%04d%s", 20 + c,
                  util_without_spaces(character_name(c)).c_str());
}

bool lotto_owners_valid(const uint8_t* owners, int player_count) {
    if (!owners) return false;
    const int seats = std::clamp(player_count, 0, PLAYER_COUNT);
    return std::all_of(owners, owners + LOTTO_NUMBERS,
                       [seats](uint8_t owner) { return owner <= seats; });
}

void lotto_set_observer(LottoObserver o) {
    observer = o;
}

void lotto_reset() {
    std::fill(lotto_owners, lotto_owners + LOTTO_NUMBERS, OWNER_NONE);
}

WORLD_RESET(WORLD_RESET_LOTTERY, lotto_reset)

NEW_DAY_STEP(NEW_DAY_LOTTERY, lotto_monthly_draw)
TURN_STEP(TURN_STEP_FREE_TICKETS, [](int p) {
    for (Owner& owner : lotto_owners)
        if (owner_is_seat(owner, p)) owner = OWNER_NONE;
})
namespace {
uint8_t land_lottery(int, int, int) {
    lotto_visit();
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_LOTTERY, land_lottery, SQUARE_SOUND_VISIT)
