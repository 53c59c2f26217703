// The stock screens and the dividend screen.
#pragma once

// The dividend screen of the 15th.
void stock_show_dividends();
