// The computer players' settings panel's pictures (PANEL.MKF 77) and where
// its parts are drawn, in screen pixels unless said otherwise. The spots,
// bars and rows that answer the mouse are the rules' (cards/ai_settings.h).
#pragma once

#include "cards/ai_settings.h"

inline constexpr int AI_PANEL_ENTRY = 77;
// The panel's top-left corner.
inline constexpr int AI_PANEL_X = 102, AI_PANEL_Y = 62;
// Frames of the panel's set.
enum AiPanelFrame : int {
    AI_F_PANEL = 0,
    AI_F_ROW = 1,
    AI_F_ROW_LIT = 2,
    AI_F_HANDED_OVER = 3,
    AI_F_CHECK = 4,
    AI_F_LEFT_PRESSED = 5,
    AI_F_RIGHT_PRESSED = 6,
    AI_F_OK_PRESSED = 7,
    AI_F_CANCEL_PRESSED = 8,
    AI_F_BAR_CELL = 9,
};
// The frame of a character's portrait set shown in its row.
inline constexpr int AI_PANEL_FACE_FRAME = 1;

// The panel's words, centred on their points within its picture: three
// headings, then the switches', personalities' and bars' names.
enum AiPanelLabel : int {
    AI_L_TITLE = 0,
    AI_L_PERSONALITY = 1,
    AI_L_SHARES = 2,
    AI_L_CARDS = 3,
    AI_L_ITEMS = 4,
    AI_L_GOOD = 5,
    AI_L_NORMAL = 6,
    AI_L_CUNNING = 7,
    AI_L_CASH = 8,
    AI_L_DEPOSIT = 9,
    AI_L_STOCKS = 10,
    AI_L_FUNDS = 11,
    AI_L_COUNT = 12,
};
inline constexpr int AI_PANEL_HEADINGS = 3; // the first labels, in the larger font
struct AiPanelPoint {
    int x, y;
};
inline constexpr AiPanelPoint AI_PANEL_LABEL_AT[AI_L_COUNT] = {
    {173, 26},  {173, 114}, {249, 246}, {244, 53},  {244, 84},  {244, 141},
    {244, 173}, {244, 206}, {175, 277}, {321, 277}, {175, 310}, {321, 310}};
// The OK and cancel buttons' words, written downwards from these points
// within the picture; pressed, a pixel lower and further right.
inline constexpr AiPanelPoint AI_PANEL_OK_WORD{387, 105}, AI_PANEL_CANCEL_WORD{387, 193};

// Within row k (its top AI_PANEL_ROW_TOP + AI_PANEL_ROW_STEP k): the
// portrait's point and the handed-over mark's.
inline constexpr int AI_PANEL_FACE_X = 182, AI_PANEL_FACE_DY = 40;
inline constexpr int AI_PANEL_HANDED_X = 121, AI_PANEL_HANDED_DY = 36;
// The selected row's checks: the switches (cards, items), then the
// personalities 0..2.
inline constexpr int AI_PANEL_CHECK_X = 288;
inline constexpr int AI_PANEL_CHECK_Y[5] = {107, 139, 195, 227, 259};
// The bars' cells, one per ten percent, a pixel inside each bar.
inline constexpr int AI_PANEL_BAR_CELL_X = AI_PANEL_CASH_BAR.left + 1, AI_PANEL_BAR_CELL_W = 8;
inline constexpr int AI_PANEL_BAR_CELLS = 10;
inline constexpr int AI_PANEL_BAR_CELL_Y[2] = {AI_PANEL_CASH_BAR.top + 1,
                                               AI_PANEL_STOCK_BAR.top + 1};
