#include "cards/fate.h"

#include "board/game_state.h"
#include "board/map.h"
#include "board/square_kinds.h"
#include "cards/cards.h"
#include "cards/news_presenter.h"
#include "engine/sound.h"
#include "engine/wait.h"
#include "finance/trading.h"

int32_t fate_amount = 0;
int32_t fate_choice = 0;
int32_t fate_god_result = 0;

const std::array<uint16_t, FATE_ROW_COUNT> fate_picture_table = {
    436, 437, 438, 439, 440, 441, 442, 443, 444, 445, 446, 447, 448, 449, 450, 451, 452,
    453, 454, 455, 456, 456, 456, 457, 457, 458, 459, 460, 460, 460, 461, 462, 463, 464,
    465, 466, 467, 464, 468, 469, 470, 471, 465, 466, 472, 473, 474, 469, 475,
};

namespace {

constexpr uint32_t FATE_VOICE_WAIT_MS = 1600;
constexpr uint32_t FATE_AFTER_MS = 800;

bool owns_plot(int p, bool built) {
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (owner_is_seat(l.owner, p) && (l.level > 0) == built) return true;
    }
    return false;
}

bool others_hold_cards(int cur) {
    for (int q = 0; q < PLAYER_COUNT; ++q)
        if (q != cur && player_table[q].control != CTRL_OUT && card_count(q) > 0) return true;
    return false;
}

} // namespace

int fate_row_of_slot(int slot) {
    if (slot < FATE_FIRST_JAIL_SLOT) return slot;
    const int map = game_map >= 0 && game_map <= 3 ? game_map : 0;
    return slot + 4 * map;
}

int fate_applicable(int& slot) {
    const int cur = game_active_mover;
    if (!is_player_seat(cur)) return 0;
    const int t = player_table[cur].travel;
    switch (slot) {
    case 0:
        return owns_plot(cur, true);
    case 1:
        return owns_plot(cur, false);
    case 5:
        return others_hold_cards(cur);
    case 8:
    case 9:
        return trading_holds_shares(cur);
    case 10:
    case 11:
        if (t != 1 && t != 2) return 0;
        slot = t == 1 ? 10 : 11;
        return 1;
    case 12:
    case 13:
        if (t != 0 && t != 1) return 0;
        slot = t == 0 ? 12 : 13;
        return 1;
    case 14:
    case 15:
    case 16:
        if (t > 2) return 0;
        slot = 14 + t;
        return 1;
    default:
        return slot >= 0 && slot < FATE_SLOT_COUNT;
    }
}

void fate_show() {
    if (!is_player_seat(game_active_mover)) return;
    news_presenter().open(EVENT_PANEL_FATE);
    int row = -1;
    // Every deck holds slots that always apply: one pass finds one.
    for (int looked = 0; looked < FATE_SLOT_COUNT && row < 0; ++looked) {
        if (fate_cursor < 0 || fate_cursor >= FATE_SLOT_COUNT) fate_cursor = 0;
        int slot = fate_deck[fate_cursor];
        const int a = slot < FATE_SLOT_COUNT ? fate_applicable(slot) : 0;
        news_presenter().font(EVENT_FONT);
        if (a) {
            row = fate_row_of_slot(slot);
            news_presenter().picture(fate_picture_table[row]);
            fate_handler_table[row](0);
        }
        fate_cursor = fate_cursor >= FATE_SLOT_COUNT - 1 ? 0 : fate_cursor + 1;
    }
    if (row < 0) {
        news_presenter().close();
        return;
    }
    events_note_shown(FATE_SHOWN_BASE + row);
    news_presenter().show();
    snd_voice_wait(FATE_VOICE_WAIT_MS);
    fate_handler_table[row](1);
    wait_ms_skippable(FATE_AFTER_MS);
    news_presenter().close();
}

namespace {
uint8_t land_fate(int, int, int) {
    fate_show();
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_FATE, land_fate, SQUARE_SOUND_VISIT)
