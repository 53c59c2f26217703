#include "cards/ai_settings.h"

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/turn_steps.h"
#include "board/world_reset.h"
#include "cards/ai_cards.h"
#include "cards/ai_items.h"
#include "engine/random.h"

std::array<int32_t, AI_CHOICE_COUNT> ai_choice{};

// Rows 31..43 are the items' decisions, item n at row 30 + n.
std::array<AiDecision, CARD_DEF_ROWS> ai_card_table = {
    nullptr,
    ai_card_share_wealth,  // 1
    ai_card_share_poverty, // 2
    ai_card_buy_land,      // 3
    ai_card_swap_land,     // 4
    nullptr,               // 5 the house swap is never tried
    nullptr,               // 6 the turn-around is never tried
    ai_card_rebuild,       // 7
    ai_card_auction,       // 8
    ai_card_angel,         // 9
    ai_card_demon,         // 10
    ai_card_monster,       // 11
    ai_card_demolish,      // 12
    ai_card_rob,           // 13
    ai_card_stay,          // 14
    ai_card_hibernate,     // 15
    ai_card_sleepwalk,     // 16
    ai_card_sleepwalk,     // 17 the frame-up picks its victim alike
    nullptr,               // 18-21 act by themselves
    nullptr,
    nullptr,
    nullptr,
    ai_card_dismiss_god,                                // 22
    ai_card_invite_god,                                 // 23
    ai_card_red,                                        // 24
    ai_card_black,                                      // 25
    ai_card_tax_audit,                                  // 26
    ai_card_raise_toll,                                 // 27
    ai_card_seize,                                      // 28
    ai_card_alliance,                                   // 29
    ai_card_turtle,                                     // 30
    [] { return ai_item_rows[0](game_active_mover); },  // 31
    [] { return ai_item_rows[1](game_active_mover); },  // 32
    [] { return ai_item_rows[2](game_active_mover); },  // 33
    [] { return ai_item_rows[3](game_active_mover); },  // 34
    [] { return ai_item_rows[4](game_active_mover); },  // 35
    [] { return ai_item_rows[5](game_active_mover); },  // 36
    [] { return ai_item_rows[6](game_active_mover); },  // 37
    [] { return ai_item_rows[7](game_active_mover); },  // 38
    [] { return ai_item_rows[8](game_active_mover); },  // 39
    [] { return ai_item_rows[9](game_active_mover); },  // 40
    [] { return ai_item_rows[10](game_active_mover); }, // 41
    [] { return ai_item_rows[11](game_active_mover); }, // 42
    [] { return ai_item_rows[12](game_active_mover); }, // 43
};

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
