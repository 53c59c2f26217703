// The voice clips of the lottery's and the auction's lines, which live
// inside their rules: the voice builder speaks them with the game's other
// lines in its one speech session.
#pragma once

#include <string>
#include <vector>

struct FinanceVoice {
    int number;
    std::string words; // UTF-8, without the line's placeholders
};
// The clerk's, the host's and the auctioneer's lines and the winners' names
// they call out.
std::vector<FinanceVoice> finance_voice_lines();
