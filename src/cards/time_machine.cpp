#include "cards/time_machine.h"

#include <algorithm>
#include <cstring>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/status.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/news_deck.h"
#include "engine/record_io.h"
#include "finance/lottery.h"
#include "finance/stock.h"

std::array<GameSnapshot, PLAYER_COUNT> snapshot_slots;

// The decks' block of a snapshot image is laid out as the decks module
// stores it.
static_assert(SNAP_NEWS_CURSOR == SNAPSHOT_DECKS_OFFSET);
static_assert(SNAP_FATE_DECK + FATE_SLOT_COUNT == SNAPSHOT_DECKS_OFFSET + DECKS_BLOCK_SIZE);

namespace {

// Every block of a snapshot, copied between the live game state and a slot
// in one direction or the other; one list so the two cannot drift apart.
// Copy(live, kept) copies live into kept when taking, back when restoring.
template <typename Copy> void snapshot_blocks(GameSnapshot& s, const Copy& copy) {
    copy(game_date, s.date);
    copy(player_table, s.players);
    copy(walker_table, s.walkers);
    for (int g = GOD_FIRST_SLOT; g <= GOD_LAST_SLOT; ++g)
        copy(god_table[g], s.gods[g - GOD_FIRST_SLOT]);
    copy(player_cards, s.cards);
    copy(player_items, s.items);
    copy(card_stock, s.card_stock);
    copy(item_stock, s.item_stock);
    copy(stock_history_day, s.history_day);
    copy(stock_price_history, s.history);
    copy(stock_holdings, s.holdings);
    copy(stock_table, s.stocks);
    copy(notice_board, s.notices);
    copy(game_price_index, s.price_index);
    copy(game_days_elapsed, s.days_elapsed);
    copy(game_months_elapsed, s.months_elapsed);
    copy(stock_closed_days, s.closed_days);
    copy(stock_index_base, s.index_base);
    copy(stock_market_index, s.market_index);
    copy(stock_market_trend, s.market_trend);
    copy(lotto_jackpot, s.jackpot);
    for (size_t i = 0; i < s.lotto_owners.size(); ++i)
        copy(lotto_owners[i], s.lotto_owners[i]);
    copy(jail_flags, s.jail);
    copy(hospital_flags, s.hospital);
    copy(news_cursor, s.news_cursor);
    copy(fate_cursor, s.fate_cursor);
    copy(news_deck, s.news_deck);
    copy(fate_deck, s.fate_deck);
}

struct Take {
    template <typename T> void operator()(const T& live, T& kept) const { kept = live; }
};
struct Restore {
    template <typename T> void operator()(T& live, const T& kept) const { live = kept; }
};

// The image's fields, one list for both directions: Io is RecordPut or
// RecordGet, Rec a (const) GameSnapshot. Records go through their own
// field lists at their offsets.
template <typename Io, typename Rec> void snapshot_scalar_fields(const Io& io, Rec& s) {
    io(s.valid, SNAP_VALID);
    io(s.date, SNAP_DATE);
    io(s.history_day, SNAP_HISTORY_DAY);
    io(s.price_index, SNAP_PRICE_INDEX);
    io(s.days_elapsed, SNAP_DAYS_ELAPSED);
    io(s.months_elapsed, SNAP_MONTHS_ELAPSED);
    io(s.closed_days, SNAP_CLOSED_DAYS);
    io(s.index_base, SNAP_INDEX_BASE);
    io(s.market_index, SNAP_MARKET_INDEX);
    io(s.market_trend, SNAP_MARKET_TREND);
    io(s.jackpot, SNAP_JACKPOT);
    io(s.news_cursor, SNAP_NEWS_CURSOR);
    io(s.fate_cursor, SNAP_FATE_CURSOR);
    for (int st = 0; st < STOCK_COUNT; ++st)
        for (int d = 0; d < STOCK_HISTORY_DAYS; ++d)
            io(s.history[st][d], SNAP_HISTORY + 4 * (st * STOCK_HISTORY_DAYS + d));
    auto bytes = [&io](auto& table, size_t at) {
        for (auto& b : table)
            io(b, at++);
    };
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        bytes(s.cards[p], SNAP_CARDS + HOLDING_ROW * p);
        bytes(s.items[p], SNAP_ITEMS + HOLDING_ROW * p);
    }
    bytes(s.card_stock, SNAP_CARD_STOCK);
    bytes(s.item_stock, SNAP_ITEM_STOCK);
    for (size_t n = 0; n < s.lotto_owners.size(); ++n)
        io(s.lotto_owners[n].code, SNAP_LOTTO_OWNERS + n);
    bytes(s.jail, SNAP_JAIL);
    bytes(s.hospital, SNAP_HOSPITAL);
    bytes(s.news_deck, SNAP_NEWS_DECK);
    bytes(s.fate_deck, SNAP_FATE_DECK);
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = "time-machine snapshot: " + why;
    return false;
}

void clear_slots(uint32_t map_size) {
    for (GameSnapshot& s : snapshot_slots) {
        s = GameSnapshot{};
        s.map_copy.assign(map_size, 0);
    }
}

void snapshots_reset() {
    for (GameSnapshot& s : snapshot_slots)
        s = GameSnapshot{};
}

} // namespace

void snapshot_prepare_slots(uint32_t map_size) {
    clear_slots(map_size);
}

void snapshot_free_slots() {
    clear_slots(0);
    for (GameSnapshot& s : snapshot_slots)
        s.map_copy.shrink_to_fit();
}

void snapshot_take() {
    const int p = game_active_mover;
    if (!is_player_seat(p) || !(player_table[p].control & CTRL_HUMAN)) return;
    GameSnapshot& s = snapshot_slots[p];
    s.valid = 1;
    snapshot_blocks(s, Take{});
    s.map_copy.resize(map_data_loaded() ? map_data_size : 0);
    if (!s.map_copy.empty()) map_data_write(s.map_copy.data());
}

int snapshot_restore() {
    const int p = game_active_mover;
    if (!is_player_seat(p)) return 0;
    GameSnapshot& s = snapshot_slots[p];
    if (s.valid != 1) return 0;
    // The map goes first: it is the one block that can be refused (a copy
    // read from a damaged save), and then nothing has changed.
    if (!s.map_copy.empty() && !map_data_read(s.map_copy.data(), s.map_copy.size(), nullptr))
        return 0;
    snapshot_blocks(s, Restore{});
    // Name handles are never trusted from a snapshot.
    player_rebind_names();
    stock_rebind_names(game_map);
    actor_reset_all();
    for (int m = 0; m < std::min(game_player_count, PLAYER_COUNT); ++m)
        actor_update_sprites(m);
    for (int m = MOVER_THIEF; m <= MOVER_ROBOT_DOLL; ++m)
        actor_update_sprites(m);
    // A snapshot taken when the user's turn was lost to a hotel stay, an
    // absence, jail, hospital or hibernation puts him back there: the turn he
    // is playing ends as that one did, after three ticks, with no go button.
    const PlayerRecord& r = player_table[p];
    if (r.hotel_days || r.away_days || r.jail_days || r.hospital_days || r.hibernation_days) {
        board_input_disable();
        ActorAnim& a = actor_anim_table[p];
        a.phase = PHASE_WAIT;
        a.wait = ANIM_WAIT_ENDS_TURN | 3;
        turn_running = 1;
    }
    return 1;
}

void snapshot_image_write(int seat, uint8_t* out) {
    std::memset(out, 0, SNAPSHOT_IMAGE_SIZE);
    if (!is_player_seat(seat)) return;
    const GameSnapshot& s = snapshot_slots[seat];
    snapshot_scalar_fields(RecordPut{out}, s);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        player_record_write(s.players[p], out + SNAP_PLAYERS + PLAYER_RECORD_SIZE * p);
    for (int w = 0; w < WALKER_COUNT; ++w)
        walker_record_write(s.walkers[w], out + SNAP_WALKERS + WALKER_RECORD_SIZE * w);
    for (int g = 0; g < GOD_LAST_SLOT; ++g)
        god_object_write(s.gods[g], out + SNAP_GODS + GOD_OBJECT_SIZE * g);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int st = 0; st < STOCK_COUNT; ++st)
            stock_holding_write(s.holdings[p][st],
                                out + SNAP_HOLDINGS + STOCK_HOLDING_SIZE * (p * STOCK_COUNT + st));
    for (int st = 0; st < STOCK_COUNT; ++st)
        stock_record_write(s.stocks[st], out + SNAP_STOCKS + STOCK_RECORD_SIZE * st);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int k = 0; k < NOTICE_SLOTS; ++k)
            notice_offer_write(s.notices[p][k],
                               out + SNAP_NOTICES + NOTICE_OFFER_SIZE * (p * NOTICE_SLOTS + k));
}

bool snapshot_image_check(const uint8_t* in, int player_count, std::string* error) {
    const int32_t valid = static_cast<int32_t>(le_get32(in + SNAP_VALID));
    if (valid != 0 && valid != 1) return fail(error, "valid is " + std::to_string(valid));
    // Computer seats and cleared slots hold zeros: only a valid one is checked.
    if (valid == 0) return true;
    // The decks go through the one check every reader of a saved deck uses.
    const int32_t news = static_cast<int32_t>(le_get32(in + SNAP_NEWS_CURSOR));
    const int32_t fate = static_cast<int32_t>(le_get32(in + SNAP_FATE_CURSOR));
    if (!deck_valid(in + SNAP_NEWS_DECK, NEWS_EVENT_COUNT, news))
        return fail(error, "the news deck is not a permutation of 0..35 or the news cursor " +
                               std::to_string(news) + " is out of 0..35");
    if (!deck_valid(in + SNAP_FATE_DECK, FATE_SLOT_COUNT, fate))
        return fail(error, "the fate deck is not a permutation of 0..36 or the fate cursor " +
                               std::to_string(fate) + " is out of 0..36");
    const int32_t day = static_cast<int32_t>(le_get32(in + SNAP_HISTORY_DAY));
    if (day < 0 || day >= STOCK_HISTORY_DAYS)
        return fail(error, "price history position " + std::to_string(day) + " out of 0..143");
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const std::string seat = "seat " + std::to_string(p);
        const uint8_t* cards = in + SNAP_CARDS + HOLDING_ROW * p;
        bool ended = false;
        for (int i = 0; i < HOLDING_ROW; ++i) {
            if (cards[i] == 0) {
                ended = true;
            } else if (ended || cards[i] > CARD_KIND_COUNT) {
                return fail(error, seat + " card slot " + std::to_string(i) + " holds " +
                                       std::to_string(cards[i]) +
                                       (ended ? " after an empty slot" : ", no card id"));
            }
        }
        const uint8_t* items = in + SNAP_ITEMS + HOLDING_ROW * p;
        for (int i = 0; i < HOLDING_ROW; ++i) {
            const int most = i < ITEM_KIND_COUNT ? ITEM_KIND_MAX : 0;
            if (items[i] > most)
                return fail(error, seat + " item byte " + std::to_string(i) + " holds " +
                                       std::to_string(items[i]) + ", at most " +
                                       std::to_string(most));
        }
        const uint8_t character = in[SNAP_PLAYERS + PLAYER_RECORD_SIZE * p + 19];
        if (character >= CHARACTER_COUNT)
            return fail(error, seat + " character " + std::to_string(character) + " out of 0..11");
    }
    // The lottery's owners through the one check every reader of them uses.
    if (!lotto_owners_valid(in + SNAP_LOTTO_OWNERS, player_count)) {
        int n = 0;
        while (n < LOTTO_NUMBERS - 1 && in[SNAP_LOTTO_OWNERS + n] <= player_count)
            ++n;
        return fail(error, "lottery number " + std::to_string(n + 1) + " owned by " +
                               std::to_string(in[SNAP_LOTTO_OWNERS + n]) +
                               ", not free nor a seat in the game");
    }
    NoticeOffer offers[PLAYER_COUNT * NOTICE_SLOTS];
    for (int k = 0; k < PLAYER_COUNT * NOTICE_SLOTS; ++k)
        offers[k] = notice_offer_read(in + SNAP_NOTICES + NOTICE_OFFER_SIZE * k);
    if (!notice_board_valid(offers, player_count))
        return fail(error, "the bulletin board holds an unknown offer type, a gap in a row or "
                           "an offer of a seat not in the game");
    return true;
}

bool snapshot_image_read(int seat, const uint8_t* in, int player_count, std::string* error) {
    if (!is_player_seat(seat)) return fail(error, "seat " + std::to_string(seat) + " out of 0..3");
    if (!snapshot_image_check(in, player_count, error)) return false;
    GameSnapshot& s = snapshot_slots[seat];
    std::vector<uint8_t> map_copy = std::move(s.map_copy);
    s = GameSnapshot{};
    s.map_copy = std::move(map_copy);
    snapshot_scalar_fields(RecordGet{in}, s);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        s.players[p] = player_record_read(in + SNAP_PLAYERS + PLAYER_RECORD_SIZE * p);
    for (int w = 0; w < WALKER_COUNT; ++w)
        s.walkers[w] = walker_record_read(in + SNAP_WALKERS + WALKER_RECORD_SIZE * w);
    for (int g = 0; g < GOD_LAST_SLOT; ++g)
        s.gods[g] = god_object_read(in + SNAP_GODS + GOD_OBJECT_SIZE * g);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int st = 0; st < STOCK_COUNT; ++st)
            s.holdings[p][st] = stock_holding_read(in + SNAP_HOLDINGS +
                                                   STOCK_HOLDING_SIZE * (p * STOCK_COUNT + st));
    for (int st = 0; st < STOCK_COUNT; ++st)
        s.stocks[st] = stock_record_read(in + SNAP_STOCKS + STOCK_RECORD_SIZE * st);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int k = 0; k < NOTICE_SLOTS; ++k)
            s.notices[p][k] =
                notice_offer_read(in + SNAP_NOTICES + NOTICE_OFFER_SIZE * (p * NOTICE_SLOTS + k));
    return true;
}

WORLD_RESET(WORLD_RESET_SNAPSHOTS, snapshots_reset)

TURN_STEP(TURN_STEP_SNAPSHOT, [](int) { snapshot_take(); })
