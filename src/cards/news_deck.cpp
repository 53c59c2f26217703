#include "cards/news_deck.h"

#include "board/world_reset.h"
#include "engine/random.h"
#include "engine/record_io.h"

std::array<uint8_t, NEWS_EVENT_COUNT> news_deck;
int32_t news_cursor = 0;
std::array<uint8_t, FATE_SLOT_COUNT> fate_deck;
int32_t fate_cursor = 0;

namespace {

std::vector<int> shown_since_take;

constexpr int DECK_MAX = 64;

template <typename Io, typename News, typename Fate>
void deck_fields(const Io& io, int32_t& news_at, int32_t& fate_at, News& news, Fate& fate) {
    io(news_at, 0);
    io(fate_at, 4);
    for (auto& b : news)
        io(b);
    for (auto& b : fate)
        io(b);
}

} // namespace

void deck_shuffle(uint8_t* deck, int n) {
    bool taken[DECK_MAX] = {};
    if (n > DECK_MAX) n = DECK_MAX;
    for (int k = 0; k < n; ++k) {
        int r = game_rand() % (n - k);
        int pick = 0;
        for (int v = 0; v < n; ++v) {
            if (taken[v]) continue;
            if (r-- == 0) {
                pick = v;
                break;
            }
        }
        taken[pick] = true;
        deck[k] = static_cast<uint8_t>(pick);
    }
}

void news_shuffle() {
    deck_shuffle(news_deck.data(), NEWS_EVENT_COUNT);
    news_cursor = 0;
}

void fate_shuffle() {
    deck_shuffle(fate_deck.data(), FATE_SLOT_COUNT);
    fate_cursor = 0;
}

bool deck_valid(const uint8_t* deck, int n, int32_t cursor) {
    if (n <= 0 || n > DECK_MAX || cursor < 0 || cursor >= n) return false;
    bool seen[DECK_MAX] = {};
    for (int k = 0; k < n; ++k) {
        if (deck[k] >= n || seen[deck[k]]) return false;
        seen[deck[k]] = true;
    }
    return true;
}

void decks_write(uint8_t* out) {
    deck_fields(RecordPut{out}, news_cursor, fate_cursor, news_deck, fate_deck);
}

bool decks_block_valid(const uint8_t* in) {
    int32_t news_at = 0, fate_at = 0;
    std::array<uint8_t, NEWS_EVENT_COUNT> news{};
    std::array<uint8_t, FATE_SLOT_COUNT> fate{};
    deck_fields(RecordGet{in}, news_at, fate_at, news, fate);
    return deck_valid(news.data(), NEWS_EVENT_COUNT, news_at) &&
           deck_valid(fate.data(), FATE_SLOT_COUNT, fate_at);
}

bool decks_read(const uint8_t* in) {
    if (!decks_block_valid(in)) return false;
    deck_fields(RecordGet{in}, news_cursor, fate_cursor, news_deck, fate_deck);
    return true;
}

bool decks_snapshot_slot_valid(const uint8_t* slot) {
    if (le_get32(slot) == 0) return true;
    return decks_block_valid(slot + SNAPSHOT_DECKS_OFFSET);
}

void events_note_shown(int code) {
    if (shown_since_take.size() < EVENTS_SHOWN_MAX) shown_since_take.push_back(code);
}

std::vector<int> events_take_shown() {
    std::vector<int> out;
    out.swap(shown_since_take);
    return out;
}

void decks_reset() {
    shown_since_take.clear();
    for (int k = 0; k < NEWS_EVENT_COUNT; ++k)
        news_deck[k] = static_cast<uint8_t>(k);
    for (int k = 0; k < FATE_SLOT_COUNT; ++k)
        fate_deck[k] = static_cast<uint8_t>(k);
    news_cursor = 0;
    fate_cursor = 0;
}

WORLD_RESET(WORLD_RESET_DECKS, decks_reset)
