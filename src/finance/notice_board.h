// The bulletin board of offers between players.
#pragma once

// A visit to the board by the current mover (human window or computer rules).
void notice_visit();
// Each new day: the offers of the players in the game age by one day.
void notice_age_offers();
// Takes every offer off the board (a new game).
void notice_board_clear();
