#include <string>

#include "cards/news_deck.h"
#include "runner_game.h"

std::string runner_event_columns() {
    std::string news, fate;
    for (int code : events_take_shown()) {
        std::string& list = code >= FATE_SHOWN_BASE ? fate : news;
        const int n = code >= FATE_SHOWN_BASE ? code - FATE_SHOWN_BASE : code;
        if (!list.empty()) list += ',';
        list += std::to_string(n);
    }
    if (news.empty() && fate.empty()) return {};
    std::string out = " |";
    if (!news.empty()) out += " N " + news;
    if (!fate.empty()) out += " F " + fate;
    return out;
}
