#include "shell/new_game.h"

#include <cmath>

#include "board/game_state.h"
#include "board/jail.h"
#include "cards/cards.h"
#include "cards/fate.h"
#include "cards/news.h"
#include "data/characters.h"
#include "finance/lottery.h"
#include "finance/notice_board.h"
#include "finance/stock.h"
#include "finance/trading.h"

NewGameSettings setup_choice = {2, 1, 0, 0, 0, 0, 0};
std::array<SetupRunner, PLAYER_COUNT> setup_runners{};

const std::array<int32_t, SETUP_TABLE_ROWS> setup_money_table = {300000, 200000, 100000,
                                                                 50000,  30000,  10000};
const std::array<int32_t, SETUP_TABLE_ROWS> setup_days_table = {0, 730, 365, 182, 91, 30};
const std::array<int32_t, SETUP_TABLE_ROWS> setup_victory_table = {0, 100, 50, 10, 5, 3};

namespace {

// The number of values each choice may take.
constexpr std::array<int32_t, SETUP_CHOICE_COUNT> choice_rows = {3, 6, 3, 6, 6, 6, 4};
constexpr const char* choice_names[SETUP_CHOICE_COUNT] = {
    "player count", "starting money", "travel mode", "land term",
    "game time",    "victory target", "map"};
// Items every player starts with: robot doll, roadblock, mine, time bomb,
// remote dice and robot worker (the first five from the shop's stock).
constexpr int start_items[] = {ITEM_ROBOT_DOLL, ITEM_ROADBLOCK,   ITEM_MINE,
                               ITEM_TIME_BOMB,  ITEM_REMOTE_DICE, ITEM_ROBOT_WORKER};

bool refuse(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return false;
}

bool choices_sound(std::string* error) {
    for (int i = 0; i < SETUP_CHOICE_COUNT; ++i) {
        if (setup_choice[i] < 0 || setup_choice[i] >= choice_rows[i])
            return refuse(error, std::string("the ") + choice_names[i] + " choice " +
                                     std::to_string(setup_choice[i]) + " is not 0 to " +
                                     std::to_string(choice_rows[i] - 1));
    }
    const int players = setup_choice[SETUP_PLAYERS] + 2;
    for (int k = 0; k < players; ++k) {
        const uint32_t character = setup_runners[k].character & ~SETUP_COMPUTER_SEAT;
        if (character >= CHARACTER_COUNT)
            return refuse(error, "seat " + std::to_string(k) + " has character " +
                                     std::to_string(character) + ", not 0 to 11");
    }
    return true;
}

void seat_player(int k) {
    for (int n : start_items)
        item_add(k, n);
    const SetupRunner& runner = setup_runners[k];
    PlayerRecord& r = player_table[k];
    r = character_table[runner.character & 0xFF];
    r.setup_control = (runner.character & SETUP_COMPUTER_SEAT) ? CTRL_COMPUTER : CTRL_HUMAN;
    if (r.setup_control == CTRL_HUMAN)
        r.cash = game_start_money >> 1;
    else
        r.cash = static_cast<int32_t>(std::trunc(r.cash_pct * (game_start_money / 100.0)));
    r.deposit = game_start_money - r.cash;
    const int travel = setup_choice[SETUP_TRAVEL];
    r.travel = static_cast<uint8_t>(travel);
    const int vehicle = travel == TRAVEL_MOTORBIKE ? ITEM_MOTORBIKE
                        : travel == TRAVEL_CAR     ? ITEM_CAR
                                                   : 0;
    // The vehicle comes out of the shop's stock (an empty stock stays empty).
    if (vehicle != 0 && item_stock[vehicle - 1] != 0) --item_stock[vehicle - 1];
    r.dice = static_cast<uint8_t>(travel + 1);
    if (r.setup_control & CTRL_HUMAN) ++game_human_count;
}

} // namespace

bool new_game_init(std::string* error) {
    if (!choices_sound(error)) return false;

    game_player_count = setup_choice[SETUP_PLAYERS] + 2;
    game_human_count = 0;
    game_active_mover = 0;
    game_start_money = setup_money_table[setup_choice[SETUP_MONEY]];

    for (auto& row : player_cards)
        row.fill(0);
    for (auto& row : player_items)
        row.fill(0);
    cards_fill_pools();

    for (int k = 0; k < PLAYER_COUNT; ++k) {
        if (k >= game_player_count)
            player_table[k] = PlayerRecord{};
        else
            seat_player(k);
    }

    walker_table = walker_initial;
    jail_flags.fill(0);
    hospital_flags.fill(0);
    jail_flags[MOVER_THIEF] = jail_flags[MOVER_ROBBER] = 1;
    hospital_flags[MOVER_HOOLIGAN] = hospital_flags[MOVER_SPY] = 1;

    game_travel_mode = setup_choice[SETUP_TRAVEL];
    game_land_term = setup_choice[SETUP_LAND_TERM];
    game_day_limit = setup_days_table[setup_choice[SETUP_GAME_TIME]];
    game_asset_target = setup_victory_table[setup_choice[SETUP_VICTORY]] * game_start_money;
    game_map = setup_choice[SETUP_MAP];

    game_price_index = 1;
    game_days_elapsed = 0;
    game_months_elapsed = 0;
    // The market starts afresh from the map's table; its index is the first
    // daily update's to compute and is kept until then.
    const int32_t market_index = stock_market_index;
    stock_new_game(game_map);
    stock_market_index = market_index;

    notice_board_clear();
    trading_reset();
    lotto_reset();
    lotto_jackpot = 0;

    news_shuffle();
    fate_shuffle();
    return true;
}

void setup_rewrite_character_state() {
    for (uint8_t& state : character_state)
        state = state == 4 ? 2 : 0;
}
