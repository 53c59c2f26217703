#include "cards/ai_settings.h"

#include <algorithm>
#include <utility>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/ai_cards.h"
#include "cards/ai_items.h"
#include "data/filled_table.h"
#include "engine/random.h"

std::array<int32_t, AI_CHOICE_COUNT> ai_choice{};

namespace {

// The cards a computer never tries: the house swap, the turn-around and the
// four that act by themselves.
int ai_card_never() {
    return 0;
}
// Row ITEM_ID_BASE + n: item n's routine for the current player.
template <int N> int ai_item_row() {
    return ai_item_rows[N - 1](game_active_mover);
}
template <int... N>
constexpr void put_item_rows(FilledTable<AiDecision, CARD_DEF_ROWS>& t,
                             std::integer_sequence<int, N...>) {
    ((t[ITEM_ID_BASE + 1 + N] = ai_item_row<N + 1>), ...);
}

constexpr FilledTable<AiDecision, CARD_DEF_ROWS> make_ai_card_table() {
    FilledTable<AiDecision, CARD_DEF_ROWS> t;
    t[0] = ai_card_never;
    t[CARD_SHARE_WEALTH] = ai_card_share_wealth;
    t[CARD_SHARE_POVERTY] = ai_card_share_poverty;
    t[CARD_BUY_LAND] = ai_card_buy_land;
    t[CARD_SWAP_LAND] = ai_card_swap_land;
    t[CARD_SWAP_HOUSE] = ai_card_never;
    t[CARD_TURN_AROUND] = ai_card_never;
    t[CARD_REBUILD] = ai_card_rebuild;
    t[CARD_AUCTION] = ai_card_auction;
    t[CARD_ANGEL] = ai_card_angel;
    t[CARD_DEMON] = ai_card_demon;
    t[CARD_MONSTER] = ai_card_monster;
    t[CARD_DEMOLISH] = ai_card_demolish;
    t[CARD_ROB] = ai_card_rob;
    t[CARD_STAY] = ai_card_stay;
    t[CARD_HIBERNATE] = ai_card_hibernate;
    t[CARD_SLEEPWALK] = ai_card_sleepwalk;
    t[CARD_FRAME_UP] = ai_card_sleepwalk; // the frame-up picks its victim alike
    t[CARD_REVENGE] = ai_card_never;
    t[CARD_SCAPEGOAT] = ai_card_never;
    t[CARD_FREE_PASS] = ai_card_never;
    t[CARD_PARDON] = ai_card_never;
    t[CARD_DISMISS_GOD] = ai_card_dismiss_god;
    t[CARD_INVITE_GOD] = ai_card_invite_god;
    t[CARD_RED] = ai_card_red;
    t[CARD_BLACK] = ai_card_black;
    t[CARD_TAX_AUDIT] = ai_card_tax_audit;
    t[CARD_RAISE_TOLL] = ai_card_raise_toll;
    t[CARD_SEIZE] = ai_card_seize;
    t[CARD_ALLIANCE] = ai_card_alliance;
    t[CARD_TURTLE] = ai_card_turtle;
    put_item_rows(t, std::make_integer_sequence<int, ITEM_KIND_COUNT>{});
    return t;
}
constexpr FilledTable<AiDecision, CARD_DEF_ROWS> ai_card_rows_built = make_ai_card_table();
static_assert(ai_card_rows_built.complete(), "every card and item has its decision");
constexpr std::array<AiDecision, CARD_DEF_ROWS> ai_card_rows = ai_card_rows_built.rows;

} // namespace

std::array<AiDecision, CARD_DEF_ROWS> ai_card_table = ai_card_rows;

int ai_choice_get(int i) {
    return (i >= 0 && i < AI_CHOICE_COUNT) ? ai_choice[static_cast<size_t>(i)] : 0;
}
int ai_choice_get_item(int i) {
    return ai_choice_get(3 + i);
}
void ai_choice_set(int i, int32_t value) {
    if (i >= 0 && i < AI_CHOICE_COUNT) ai_choice[static_cast<size_t>(i)] = value;
}

namespace {

int try_row(int row) {
    if (row < 1 || row >= CARD_DEF_ROWS) return 0;
    const int mover = game_active_mover;
    if (!is_player_seat(mover)) return 0;
    const int d = card_defs[static_cast<size_t>(row)].level - player_table[mover].personality;
    if (d >= 2) return 0;
    if (d == 1 && game_rand() % 3 != 0) return 0;
    const AiDecision routine = ai_card_table[static_cast<size_t>(row)];
    return routine != nullptr && routine() != 0 ? 1 : 0;
}

} // namespace

int ai_try_card(int id) {
    return (id >= 1 && id <= CARD_KIND_COUNT) ? try_row(id) : 0;
}
int ai_try_item(int n) {
    return (n >= 1 && n <= ITEM_KIND_COUNT) ? try_row(ITEM_ID_BASE + n) : 0;
}

// ---------------------------------------------------------------------------
// The settings panel

const std::array<AiPanelRect, AI_SPOT_COUNT> ai_panel_spots = {{
    {287, 106, 383, 124}, // use cards
    {287, 137, 383, 155}, // use items
    {287, 194, 383, 212}, // good
    {287, 226, 383, 244}, // normal
    {287, 259, 383, 277}, // cunning
    {298, 328, 309, 350}, // cash -
    {392, 328, 403, 350}, // cash +
    {298, 361, 309, 383}, // stock -
    {392, 361, 403, 383}, // stock +
    {479, 159, 519, 215}, // OK
    {479, 247, 519, 303}, // cancel
}};

namespace {

int kept_selection = -1; // the row selected when the panel last closed
AiPanelWindow panel_window = nullptr;

bool inside(const AiPanelRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

uint8_t minus_ten(uint8_t v) {
    return static_cast<uint8_t>(v < 11 ? 0 : v - 10);
}
uint8_t plus_ten(uint8_t v) {
    return static_cast<uint8_t>(v > 89 ? 100 : v + 10);
}
// A bar cell is 8 pixels wide; its right end (x 389) gives 90.
uint8_t bar_value(int x) {
    return static_cast<uint8_t>((x - 310) / 8 * 10);
}

void bar_set(AiPanel& p, int bar, int x) {
    if (p.selected < 0 || p.selected >= p.count) return;
    AiPanelRow& row = p.rows[static_cast<size_t>(p.selected)];
    (bar == 1 ? row.cash_pct : row.stock_pct) = bar_value(x);
}

void commit(const AiPanel& p) {
    for (int i = 0; i < p.count; ++i) {
        const AiPanelRow& row = p.rows[static_cast<size_t>(i)];
        if (!is_player_seat(row.seat)) continue;
        PlayerRecord& r = player_table[static_cast<size_t>(row.seat)];
        r.control = row.control;
        r.ai_flags = row.ai_flags;
        r.personality = row.personality;
        r.cash_pct = row.cash_pct;
        r.stock_pct = row.stock_pct;
    }
}

void close(AiPanel& p, AiPanelResult result) {
    if (result == AI_PANEL_OK) commit(p);
    p.result = result;
    p.pressed = AI_SPOT_NONE;
    p.dragging = 0;
    kept_selection = p.selected;
}

} // namespace

AiPanel ai_panel_begin() {
    AiPanel p;
    for (int seat = 0; seat < PLAYER_COUNT; ++seat) {
        const PlayerRecord& r = player_table[static_cast<size_t>(seat)];
        if ((r.control & CTRL_HUMAN) == 0) continue;
        if (seat == game_active_mover) p.selected = p.count;
        p.rows[static_cast<size_t>(p.count++)] =
            AiPanelRow{seat, r.control, r.ai_flags, r.personality, r.cash_pct, r.stock_pct};
    }
    if (p.selected < 0 && kept_selection >= 0 && kept_selection < p.count)
        p.selected = kept_selection;
    return p;
}

int ai_panel_row_at(const AiPanel& p, int x, int y) {
    if (x < AI_PANEL_ROW_LEFT || x >= AI_PANEL_ROW_RIGHT || y < AI_PANEL_ROW_TOP) return -1;
    const int row = (y - AI_PANEL_ROW_TOP) / AI_PANEL_ROW_STEP;
    return row < p.count ? row : -1;
}

int ai_panel_spot_at(int x, int y) {
    for (int s = 0; s < AI_SPOT_COUNT; ++s)
        if (inside(ai_panel_spots[static_cast<size_t>(s)], x, y)) return s;
    return AI_SPOT_NONE;
}

void ai_panel_press(AiPanel& p, int x, int y) {
    if (p.result != AI_PANEL_OPEN) return;
    const int row = ai_panel_row_at(p, x, y);
    if (row >= 0) {
        if (row == p.selected)
            p.rows[static_cast<size_t>(row)].control ^= CTRL_HANDED_OVER;
        else
            p.selected = row;
        return;
    }
    if (inside(AI_PANEL_CASH_BAR, x, y)) {
        p.dragging = 1;
        bar_set(p, 1, x);
        return;
    }
    if (inside(AI_PANEL_STOCK_BAR, x, y)) {
        p.dragging = 2;
        bar_set(p, 2, x);
        return;
    }
    p.pressed = ai_panel_spot_at(x, y);
}

void ai_panel_drag(AiPanel& p, int x, int y) {
    if (p.result != AI_PANEL_OPEN || p.dragging == 0) return;
    if (inside(p.dragging == 1 ? AI_PANEL_CASH_BAR : AI_PANEL_STOCK_BAR, x, y))
        bar_set(p, p.dragging, x);
}

void ai_panel_release(AiPanel& p, int x, int y) {
    if (p.result != AI_PANEL_OPEN) return;
    const int held = p.pressed;
    p.pressed = AI_SPOT_NONE;
    p.dragging = 0;
    if (held == AI_SPOT_NONE || ai_panel_spot_at(x, y) != held) return;
    // With no human seat there is nothing to write: only cancel leaves.
    if (held == AI_SPOT_OK && p.count > 0) return close(p, AI_PANEL_OK);
    if (held == AI_SPOT_OK) return;
    if (held == AI_SPOT_CANCEL) return close(p, AI_PANEL_CLOSED);
    if (p.selected < 0 || p.selected >= p.count) return;
    AiPanelRow& row = p.rows[static_cast<size_t>(p.selected)];
    switch (held) {
    case AI_SPOT_CARDS:
        row.ai_flags ^= 1;
        break;
    case AI_SPOT_ITEMS:
        row.ai_flags ^= 2;
        break;
    case AI_SPOT_GOOD:
    case AI_SPOT_NORMAL:
    case AI_SPOT_CUNNING:
        row.personality = static_cast<uint8_t>(held - AI_SPOT_GOOD);
        break;
    case AI_SPOT_CASH_MINUS:
        row.cash_pct = minus_ten(row.cash_pct);
        break;
    case AI_SPOT_CASH_PLUS:
        row.cash_pct = plus_ten(row.cash_pct);
        break;
    case AI_SPOT_STOCK_MINUS:
        row.stock_pct = minus_ten(row.stock_pct);
        break;
    case AI_SPOT_STOCK_PLUS:
        row.stock_pct = plus_ten(row.stock_pct);
        break;
    default:
        break;
    }
}

void ai_panel_right_button(AiPanel& p) {
    if (p.result == AI_PANEL_OPEN) close(p, AI_PANEL_CLOSED);
}

void ai_panel_set_window(AiPanelWindow window) {
    panel_window = window;
}

void ai_panel_open() {
    AiPanel panel = ai_panel_begin();
    if (panel_window != nullptr)
        panel_window(panel);
    else
        ai_panel_right_button(panel); // no window to show it in: nothing changes
    if (panel.result == AI_PANEL_OPEN) ai_panel_right_button(panel);
    board_repaint_all();
}

void ai_settings_reset() {
    ai_choice.fill(0);
    kept_selection = -1;
    ai_cards_reset();
}

WORLD_RESET(WORLD_RESET_AI, ai_settings_reset)

TURN_STEP(TURN_STEP_AUTOPLAY_PANEL, [](int) { ai_panel_open(); })
