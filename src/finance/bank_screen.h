// The bank's windows for a human player: the loan counter (with the special
// financing page for the bank company's chairman), the deposit window and
// the clerk's reminder before a loan falls due. The deals they make go
// through the rules of finance/bank.h.
#pragma once

#include <cstdint>

#include "engine/layout.h"
#include "platform/messages.h"

// ---- The deposit window (PANEL.MKF 24), its top-left corner on the screen.
inline constexpr int BANK_DEPOSIT_ENTRY = 24;
inline constexpr int BANK_DEPOSIT_X = 160, BANK_DEPOSIT_Y = 90;
inline constexpr int BANK_DEPOSIT_W = 320, BANK_DEPOSIT_H = 300;
inline constexpr PlatRect BANK_DEPOSIT_RECT{BANK_DEPOSIT_X, BANK_DEPOSIT_Y,
                                            BANK_DEPOSIT_X + BANK_DEPOSIT_W,
                                            BANK_DEPOSIT_Y + BANK_DEPOSIT_H};
// Its buttons, as numbered by their pressed looks (frame button + 1).
enum BankDepositButton : int {
    BANK_B_WITHDRAW = 0,
    BANK_B_DEPOSIT = 1,
    BANK_B_LEAVE = 2,
    BANK_B_SLIDER = 3,
    BANK_B_DIGIT0 = 4, // .. BANK_B_DIGIT0 + 9
    BANK_B_CLEAR = 14,
    BANK_B_BACKSPACE = 15,
    BANK_B_ALL = 16,
    BANK_B_OK = 17,
    BANK_B_COUNT = 18,
    BANK_B_NONE = -1,
};
inline constexpr int BANK_DEPOSIT_F_BAR = 19; // the slider's filled bar
// The slider's bar and the amount's right edge, in the window.
inline constexpr int BANK_BAR_X = 58, BANK_BAR_Y = 104, BANK_BAR_W = 204, BANK_BAR_H = 16;
inline constexpr int BANK_DISPLAY_RIGHT = 296, BANK_DISPLAY_Y = 74;
// A button's rectangle in the window. The digit keys lie as on a
// calculator: 7 8 9 on top, 0 below 1.
constexpr PlatRect bank_deposit_spot(int button) {
    constexpr PlatRect TOP[4] = {
        {16, 16, 106, 46},
        {116, 16, 206, 46},
        {216, 16, 304, 46},
        {BANK_BAR_X, BANK_BAR_Y, BANK_BAR_X + BANK_BAR_W, BANK_BAR_Y + BANK_BAR_H}};
    if (button < BANK_B_DIGIT0) return TOP[button];
    if (button == BANK_B_DIGIT0) return {16, 256, 68, 290};
    if (button < BANK_B_CLEAR) {
        const int d = button - BANK_B_DIGIT0;
        const int row = 2 - (d - 1) / 3, col = (d - 1) % 3;
        return {16 + 60 * col, 136 + 40 * row, 68 + 60 * col, 170 + 40 * row};
    }
    const int k = button - BANK_B_CLEAR;
    return {196, 136 + 40 * k, 304, 170 + 40 * k};
}
// The keys beside the digits, Backspace and Enter: C clears, M takes all,
// H clicks the slider BANK_KEY_SLIDER_AT pixels from its left end.
inline constexpr uint32_t BANK_KEY_CLEAR = 'C', BANK_KEY_ALL = 'M', BANK_KEY_SLIDER = 'H';
inline constexpr int BANK_KEY_SLIDER_AT = 102;

// ---- The loan counter (PANEL.MKF 23) over the board view, with its two
// cards on the side panel; the calendar card lies on the board calendar's
// day pages (PANEL.MKF 2).
inline constexpr int BANK_COUNTER_ENTRY = 23;
inline constexpr int BANK_COUNTER_X = LAYOUT_BOARD_AREA.left,
                     BANK_COUNTER_Y = LAYOUT_BOARD_AREA.top;
// Frames of the counter's set.
enum BankCounterFrame : int {
    BANK_F_COUNTER = 0,
    BANK_F_CLERK = 1,  // .. BANK_F_CLERK + BANK_CLERK_FRAMES - 1, the mouth moving
    BANK_F_BUTTON = 5, // + 3 x item + state: plain, grey, pressed
    BANK_F_FINANCE = 14,
    BANK_F_ACCOUNTS = 15,
    BANK_F_BALLOON = 16,
    BANK_F_PAGE_BUTTON = 17, // + state: plain, grey, pressed
};
inline constexpr int BANK_CLERK_FRAMES = 4;
// In the board view: the clerk, the menu's buttons one below the other, her
// balloon above her.
inline constexpr int BANK_CLERK_X = 150, BANK_CLERK_Y = 70, BANK_CLERK_W = 140, BANK_CLERK_H = 160;
inline constexpr int BANK_MENU_X = 150, BANK_MENU_Y = 300, BANK_MENU_STEP = 46;
inline constexpr int BANK_MENU_W = 140, BANK_MENU_H = 36;
enum BankMenuItem : int { BANK_M_BORROW = 0, BANK_M_REPAY = 1, BANK_M_FINANCE = 2 };
inline constexpr int BANK_BALLOON_X = 236, BANK_BALLOON_Y = 6;
// On the screen: the accounts card (200 x 280) and the calendar card (200 x 200).
inline constexpr int BANK_ACCOUNTS_X = 440, BANK_ACCOUNTS_Y = 0;
inline constexpr int BANK_CALENDAR_X = 440, BANK_CALENDAR_Y = 280;
inline constexpr int BANK_FACE_DY = 16; // the face's top below the accounts card's
// The special-financing page, in the board view over the menu: its figures'
// rows, its buttons side by side.
inline constexpr int BANK_PAGE_X = 70, BANK_PAGE_Y = 216, BANK_PAGE_W = 300;
inline constexpr int BANK_PAGE_FIGURE_Y = 50, BANK_PAGE_FIGURE_STEP = 36;
inline constexpr int BANK_PAGE_BUTTON_X = 12, BANK_PAGE_BUTTON_Y = 172, BANK_PAGE_BUTTON_STEP = 94;
inline constexpr int BANK_PAGE_BUTTON_W = 88, BANK_PAGE_BUTTON_H = 34;
enum BankPageButton : int {
    BANK_P_BORROW = 0,
    BANK_P_REPAY = 1,
    BANK_P_EXIT = 2,
    BANK_P_COUNT = 3
};
// A menu item's and a page button's rectangle on the screen.
constexpr PlatRect bank_menu_rect(int item) {
    const int x = BANK_COUNTER_X + BANK_MENU_X,
              y = BANK_COUNTER_Y + BANK_MENU_Y + BANK_MENU_STEP * item;
    return {x, y, x + BANK_MENU_W, y + BANK_MENU_H};
}
constexpr PlatRect bank_page_button_rect(int button) {
    const int x =
        BANK_COUNTER_X + BANK_PAGE_X + BANK_PAGE_BUTTON_X + BANK_PAGE_BUTTON_STEP * button;
    const int y = BANK_COUNTER_Y + BANK_PAGE_Y + BANK_PAGE_BUTTON_Y;
    return {x, y, x + BANK_PAGE_BUTTON_W, y + BANK_PAGE_BUTTON_H};
}

// The loan counter, its pictures and music around it; finance 1 offers the
// special-financing page, whose deals name the object code the bank square
// serves.
void bank_loan_screen(int finance, uint16_t object);
// The deposit window, the side panel on its first tab meanwhile.
void bank_deposit_screen();
// The clerk's reminder three days before the current player's loan falls
// due: for a human at the controls only; it closes by itself or at a click.
void bank_clerk_reminder();
