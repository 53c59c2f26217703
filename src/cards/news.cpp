#include "cards/news.h"

#include "board/world_reset.h"
#include "cards/fate.h"

std::array<uint8_t, NEWS_EVENT_COUNT> news_deck{};
int32_t news_cursor = 0;
std::array<uint8_t, FATE_SLOT_COUNT> fate_deck{};
int32_t fate_cursor = 0;

namespace {
void decks_reset() {
    news_deck = {};
    news_cursor = 0;
    fate_deck = {};
    fate_cursor = 0;
}
} // namespace

// The news deck's events are not built yet: it returns at once.
void news_show() {}

WORLD_RESET(WORLD_RESET_DECKS, decks_reset)
