// The month-end settlement screen: the listing of deposits and interest, the
// bank's greeting, the bonus, the month's awards with each winner's
// animation. With no display its steps run at once in the same order.
#pragma once

#include "finance/settlement.h"

// PANEL.MKF entry of the screen's pictures and its frames.
inline constexpr int SETTLE_PANEL_ENTRY = 25;
inline constexpr int SETTLE_F_BACKGROUND = 0; // 640 x 480
inline constexpr int SETTLE_F_BALLOON = 1;
inline constexpr int SETTLE_F_AWARD = 2; // the award board
// data.mkf animations of character k: the champion's cheer and the
// unluckiest's droop.
inline constexpr int SETTLE_CHEER_FLC = 375;
inline constexpr int SETTLE_DROOP_FLC = 376;
constexpr int settle_cheer_flc(int character) {
    return SETTLE_CHEER_FLC + 2 * character;
}
constexpr int settle_droop_flc(int character) {
    return SETTLE_DROOP_FLC + 2 * character;
}
// EFFECT.MKF entries of the screen's effect list.
inline constexpr int SETTLE_EFFECT_FIRST = 145;
inline constexpr int SETTLE_EFFECT_COUNT = 5;

// Geometry of the listing: row i of the listed players at y SETTLE_ROW_Y +
// SETTLE_ROW_H x i; the faces in the left column before the bonus, in the
// right one after it.
inline constexpr int SETTLE_ROW_Y = 64, SETTLE_ROW_H = 84;
inline constexpr int SETTLE_LEFT_FACE_X = 56, SETTLE_RIGHT_FACE_X = 376;
inline constexpr int SETTLE_FACE_DY = 38; // the face's centre below the row's top
inline constexpr int SETTLE_BALLOON_X = 320, SETTLE_BALLOON_Y = 436;
inline constexpr int SETTLE_AWARD_X = 90, SETTLE_AWARD_Y = 70; // the award board's corner
inline constexpr int SETTLE_AWARD_W = 460, SETTLE_AWARD_H = 290;
inline constexpr int SETTLE_FLC_X = 110, SETTLE_FLC_Y = 120;
inline constexpr int SETTLE_TICK_MS = 100;

// Runs the screen over the listed players; the bonus is paid and the picks
// made at their steps.
SettlePicks settle_screen_run(const SettleList& list);
