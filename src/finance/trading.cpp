#include "finance/trading.h"

#include <cmath>
#include <cstring>

#include "board/board_refresh.h"
#include "board/map.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "engine/record_io.h"
#include "engine/util.h"

std::array<std::array<StockHolding, STOCK_COUNT>, PLAYER_COUNT> stock_holdings{};

bool trading_holds_shares(int player) {
    for (int s = 0; s < STOCK_COUNT; ++s)
        if (stock_holdings[player][s].shares > 0) return true;
    return false;
}

namespace {

constexpr int TOP_HOLDERS = 4;

bool valid_stock(int s) {
    return s >= 0 && s < STOCK_COUNT;
}

// Shares of a stock held by the player named by a top-holder byte (player + 1).
int32_t holder_shares(uint8_t holder, int stock) {
    if (holder == 0 || holder > PLAYER_COUNT) return 0;
    return stock_holdings[seat_of_owner(holder)][stock].shares;
}

// trunc(n x price) in yuan.
int64_t market_amount(int n, float price) {
    return static_cast<int64_t>(static_cast<double>(n) * price);
}

// The holding after n more shares that cost `cost` in all.
void add_to_holding(StockHolding& h, int n, int64_t cost) {
    const int64_t t = static_cast<int64_t>(static_cast<double>(h.shares) * h.avg_cost);
    h.shares += n;
    h.avg_cost = static_cast<float>(static_cast<double>(t + cost) / h.shares);
}

void take_from_holding(StockHolding& h, int n) {
    h.shares -= n;
    if (h.shares == 0) h.avg_cost = 0.0f;
}

template <typename Io, typename Rec> void holding_fields(const Io& io, Rec& h) {
    io(h.shares, 0);
    io(h.avg_cost, 4);
}

} // namespace

void stock_holding_write(const StockHolding& h, uint8_t* out) {
    holding_fields(RecordPut{out}, h);
}

StockHolding stock_holding_read(const uint8_t* in) {
    StockHolding h{};
    holding_fields(RecordGet{in}, h);
    return h;
}

void trading_reset() {
    for (auto& row : stock_holdings)
        row.fill(StockHolding{0, 0.0f});
}

int stock_buy(int player, int stock, int n, int from_market) {
    if (!is_player_seat(player) || !valid_stock(stock) || n <= 0) return 0;
    StockRecord& s = stock_table[stock];
    PlayerRecord& p = player_table[player];
    int64_t cost;
    if (from_market != 0) {
        // More shares than the market has would wrap its counter.
        if (n > s.market_shares) return 0;
        cost = market_amount(n, s.price);
        s.market_shares = static_cast<uint16_t>(s.market_shares - n);
        s.volume = static_cast<uint16_t>(s.volume > n ? s.volume - n : 0);
        p.deposit = util_add_sat32(p.deposit, -cost);
    } else {
        CompanyBuilding* c = stock_company(stock);
        if (c == nullptr || n > c->own_shares) return 0;
        cost = static_cast<int64_t>(n) * (c->value / 10000);
        c->own_shares -= n;
        p.cash = util_add_sat32(p.cash, -cost);
    }
    add_to_holding(stock_holdings[player][stock], n, cost);
    // Only the buyer's place changes: a change of chair makes him chairman.
    return stock_update_manager(player, stock) == 1 && stock_company(stock) != nullptr &&
                   owner_is_seat(stock_company(stock)->chairman, player)
               ? 1
               : 0;
}

void stock_sell(int player, int stock, int n, int to_deposit) {
    if (!is_player_seat(player) || !valid_stock(stock) || n <= 0) return;
    StockHolding& h = stock_holdings[player][stock];
    if (n > h.shares) return;
    StockRecord& s = stock_table[stock];
    take_from_holding(h, n);
    const int64_t proceeds = market_amount(n, s.price);
    s.market_shares = static_cast<uint16_t>(s.market_shares + n);
    s.volume = static_cast<uint16_t>(s.volume + n);
    if (to_deposit != 0) {
        player_table[player].deposit = util_add_sat32(player_table[player].deposit, proceeds);
    } else {
        lotto_jackpot = util_add_sat32(lotto_jackpot, proceeds);
    }
    stock_update_manager(player, stock);
}

int stock_update_manager(int player, int stock) {
    if (!is_player_seat(player) || !valid_stock(stock)) return 0;
    CompanyBuilding* c = stock_company(stock);
    if (c == nullptr) return 0;
    Owner* top = c->holders;
    const Owner me = owner_of_seat(player);
    for (int k = 0; k < TOP_HOLDERS; ++k) {
        if (top[k] != me) continue;
        for (int j = k; j + 1 < TOP_HOLDERS; ++j)
            top[j] = top[j + 1];
        top[TOP_HOLDERS - 1] = OWNER_NONE;
        break;
    }
    const int32_t mine = stock_holdings[player][stock].shares;
    if (mine > 0) {
        int place = 0;
        for (int k = TOP_HOLDERS - 2; k >= 0; --k) {
            if (top[k] == 0) continue;
            if (holder_shares(top[k], stock) < mine) {
                top[k + 1] = top[k];
                continue;
            }
            place = k + 1;
            break;
        }
        top[place] = me;
    }
    if (c->chairman != top[0]) {
        c->chairman = top[0];
        board_minimap_marks(0);
        return 1;
    }
    return 0;
}

int stock_transfer(int from, int to, int stock, int n, int32_t cost) {
    if (!is_player_seat(from) || !is_player_seat(to) || !valid_stock(stock) || from == to || n <= 0)
        return 0;
    StockHolding& giver = stock_holdings[from][stock];
    if (giver.shares < n) return 0;
    take_from_holding(giver, n);
    add_to_holding(stock_holdings[to][stock], n, cost);
    stock_update_manager(from, stock);
    stock_update_manager(to, stock);
    return 1;
}

void stock_sell_all_bankrupt(int player) {
    if (!is_player_seat(player)) return;
    for (int i = 0; i < STOCK_COUNT; ++i) {
        const int32_t n = stock_holdings[player][i].shares;
        if (n > 0) stock_sell(player, i, n, 0);
    }
}

int32_t stock_shares_held(int stock) {
    if (!valid_stock(stock)) return 0;
    int32_t sum = 0;
    const int count = game_player_count < PLAYER_COUNT ? game_player_count : PLAYER_COUNT;
    for (int p = 0; p < count; ++p)
        sum += stock_holdings[p][stock].shares;
    return sum;
}

StockTradeCheck stock_exchange_buy_check(int player, int stock, int32_t* max_count) {
    if (max_count != nullptr) *max_count = 0;
    if (!is_player_seat(player) || !valid_stock(stock) || stock_market_closed() != 0)
        return STOCK_TRADE_NOTHING;
    const StockRecord& s = stock_table[stock];
    if (s.suspended_days != 0) return STOCK_TRADE_NOTHING;
    if (stock_move_class(stock) == MOVE_LIMIT_UP) return STOCK_TRADE_LIMIT;
    const double affordable = player_table[player].deposit / static_cast<double>(s.price);
    const int32_t most = affordable < s.volume ? static_cast<int32_t>(affordable) : s.volume;
    if (most <= 0) return STOCK_TRADE_NOTHING;
    if (max_count != nullptr) *max_count = most;
    return STOCK_TRADE_OK;
}

StockTradeCheck stock_exchange_sell_check(int player, int stock, int32_t* max_count) {
    if (max_count != nullptr) *max_count = 0;
    if (!is_player_seat(player) || !valid_stock(stock) || stock_market_closed() != 0)
        return STOCK_TRADE_NOTHING;
    const int32_t held = stock_holdings[player][stock].shares;
    if (held <= 0 || stock_table[stock].suspended_days != 0) return STOCK_TRADE_NOTHING;
    if (stock_move_class(stock) == MOVE_LIMIT_DOWN) return STOCK_TRADE_LIMIT;
    if (max_count != nullptr) *max_count = held;
    return STOCK_TRADE_OK;
}

WORLD_RESET(WORLD_RESET_TRADING, trading_reset)

TURN_STEP(TURN_STEP_SELL_SHARES, stock_sell_all_bankrupt)
