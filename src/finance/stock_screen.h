// The stock screens and the dividend screen.
#pragma once

// The dividend screen of the 15th.
void stock_show_dividends();
// The exchange opened by the red (mode 1) or black (mode 2) card to pick a
// company: stock index + 1, 0 when left without a pick.
int stock_open_exchange(int mode);
