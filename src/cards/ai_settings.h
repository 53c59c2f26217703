// The computer players' settings and their decision gate: the targets the
// last decision chose (ai_choice), the gate that weighs a card's or item's
// nastiness against the player's personality before its own decision, and
// the rules of the settings panel that hands human seats over to the
// computer (its window drives the plain state machine below).
#pragma once

#include <array>
#include <cstdint>

#include "data/card_defs.h"

// Entry 0 the card's target (object code, god slot, company or facility
// kind), 1 the card the rob card's decision chose, 2 the length of the view
// list while a decision runs, 3 the item's target. Not saved.
inline constexpr int AI_CHOICE_COUNT = 4;
extern std::array<int32_t, AI_CHOICE_COUNT> ai_choice;
// Entry i of ai_choice (0 outside 0..3); the item's entries from 3 on.
int ai_choice_get(int i);
int ai_choice_get_item(int i);
void ai_choice_set(int i, int32_t value);

// One decision routine per row of card_defs: the cards at their ids, then
// the items (item n at row ITEM_ID_BASE + n). A routine answers 1 to play now
// (leaving its target in ai_choice) or 0; every row has one (a card never
// tried answers 0).
using AiDecision = int (*)();
extern std::array<AiDecision, CARD_DEF_ROWS> ai_card_table;

// The gate for the current player: d = the row's level - personality; d >= 2
// never, d == 1 one try in three (rand() % 3 == 0), else the row's routine.
int ai_try_card(int id);
int ai_try_item(int n);

// ---------------------------------------------------------------------------
// The settings panel's rows (screen coordinates, as the window shows them).

struct AiPanelRow {
    int seat;            // 0..3
    uint8_t control;     // PlayerControl, bit 2 the hand-over
    uint8_t ai_flags;    // bit 0 cards, bit 1 items
    uint8_t personality; // 0..2
    uint8_t cash_pct;    // 0..100
    uint8_t stock_pct;   // 0..100
};

// The hot spots that act when the button is released over them.
enum AiPanelSpot : int {
    AI_SPOT_NONE = -1,
    AI_SPOT_CARDS = 0,
    AI_SPOT_ITEMS,
    AI_SPOT_GOOD,
    AI_SPOT_NORMAL,
    AI_SPOT_CUNNING,
    AI_SPOT_CASH_MINUS,
    AI_SPOT_CASH_PLUS,
    AI_SPOT_STOCK_MINUS,
    AI_SPOT_STOCK_PLUS,
    AI_SPOT_OK,
    AI_SPOT_CANCEL,
    AI_SPOT_COUNT,
};
struct AiPanelRect {
    int left, top, right, bottom; // right and bottom excluded
};
extern const std::array<AiPanelRect, AI_SPOT_COUNT> ai_panel_spots;
inline constexpr AiPanelRect AI_PANEL_CASH_BAR = {310, 327, 390, 351};
inline constexpr AiPanelRect AI_PANEL_STOCK_BAR = {310, 360, 390, 384};
inline constexpr int AI_PANEL_ROW_LEFT = 110, AI_PANEL_ROW_RIGHT = 226;
inline constexpr int AI_PANEL_ROW_TOP = 70, AI_PANEL_ROW_STEP = 83, AI_PANEL_ROW_HEIGHT = 83;

enum AiPanelResult : int {
    AI_PANEL_OPEN = 0,  // the panel stays open
    AI_PANEL_OK = 1,    // closed, every row written back
    AI_PANEL_CLOSED = 2 // closed without writing
};

struct AiPanel {
    std::array<AiPanelRow, 4> rows{};
    int count = 0;
    int selected = -1;          // row, -1 none
    int pressed = AI_SPOT_NONE; // spot held down (drawn pressed)
    int dragging = 0;           // 1 cash bar, 2 stock bar, 0 none
    AiPanelResult result = AI_PANEL_OPEN;
};

// Rows of the human seats in seat order; the current player's row selected
// when it is among them, else the row selected when the panel last closed.
AiPanel ai_panel_begin();
// Row under a screen point, -1 none; spot under it, AI_SPOT_NONE.
int ai_panel_row_at(const AiPanel& panel, int x, int y);
int ai_panel_spot_at(int x, int y);
// Left button down, mouse move with the button held, left button up, right button.
void ai_panel_press(AiPanel& panel, int x, int y);
void ai_panel_drag(AiPanel& panel, int x, int y);
void ai_panel_release(AiPanel& panel, int x, int y);
void ai_panel_right_button(AiPanel& panel);

// The panel's window: runs the panel modally and leaves its result in it.
// Installed by the module that draws the panel; without one the panel
// closes as cancelled and nothing changes.
using AiPanelWindow = void (*)(AiPanel& panel);
void ai_panel_set_window(AiPanelWindow window);
// Opens the panel that hands seats over to the computer.
void ai_panel_open();

// Forgets ai_choice and the panel's kept selection.
void ai_settings_reset();
