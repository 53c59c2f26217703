// Many whole computer-only games through the runner: the checks the runner
// makes after every day (money, ownership and market invariants; see
// runner_money_check and the other runner checks) must hold on every day of
// every game, each game must reach its end, and a seed must replay exactly.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/runner_process.h"

namespace {

// The first line that reports a broken invariant, or "".
std::string first_broken(const std::string& out) {
    const size_t at = out.find("invariant broken");
    if (at == std::string::npos) return {};
    const size_t end = out.find('\n', at);
    const size_t start = out.rfind('\n', at == 0 ? 0 : at - 1);
    return out.substr(start == std::string::npos ? 0 : start + 1,
                      end == std::string::npos ? end : end - start);
}

// Plots owned at the end, and whether any of them carries houses.
struct Estate {
    int plots = 0;
    bool houses = false;
};

Estate estate_on_last_day(const std::string& out) {
    Estate e;
    const size_t own = out.rfind("| own ");
    if (own == std::string::npos) return e;
    const size_t end = out.find(" | jackpot=", own);
    const std::string part = out.substr(own, end - own);
    for (size_t at = part.find(':'); at != std::string::npos; at = part.find(':', at + 1)) {
        ++e.plots;
        if (at + 1 < part.size() && part[at + 1] != '0') e.houses = true;
    }
    return e;
}

// Whether some player took out a loan in the game, and whether some loan was
// later paid back (repaid or collected): read from the "loan=" columns.
struct Loans {
    bool taken = false;
    bool paid = false;
};

Loans loans_of(const std::string& out) {
    Loans l;
    std::vector<long> before;
    size_t line = 0;
    while (line < out.size()) {
        size_t end = out.find('\n', line);
        if (end == std::string::npos) end = out.size();
        std::vector<long> now;
        for (size_t at = out.find(" | P", line); at < end; at = out.find(" | P", at + 1)) {
            const size_t loan = out.find(" loan=", at);
            const size_t next = out.find(" | ", at + 1);
            now.push_back(loan < next && loan < end ? std::stol(out.substr(loan + 6)) : 0);
        }
        for (size_t p = 0; p < now.size(); ++p) {
            if (now[p] > 0) l.taken = true;
            if (p < before.size() && before[p] > 0 && now[p] == 0) l.paid = true;
        }
        if (!now.empty()) before = now;
        line = end + 1;
    }
    return l;
}

// The news events (" | N e,e") and fate rows (" F r,r") the day lines name.
void collect_events(const std::string& out, std::set<int>* news, std::set<int>* fate) {
    for (size_t at = out.find(" | N "); at != std::string::npos; at = out.find(" | N ", at + 1))
        for (size_t k = at + 5; k < out.size() && out[k] >= '0' && out[k] <= '9';) {
            news->insert(std::stoi(out.substr(k)));
            while (k < out.size() && out[k] >= '0' && out[k] <= '9')
                ++k;
            if (k < out.size() && out[k] == ',') ++k;
        }
    for (size_t at = out.find(" F "); at != std::string::npos; at = out.find(" F ", at + 1))
        for (size_t k = at + 3; k < out.size() && out[k] >= '0' && out[k] <= '9';) {
            fate->insert(std::stoi(out.substr(k)));
            while (k < out.size() && out[k] >= '0' && out[k] <= '9')
                ++k;
            if (k < out.size() && out[k] == ',') ++k;
        }
}

TEST(Invariants, HoldOnEveryDayOfFiftyTwoGamesOnTheFourMaps) {
    int games = 0, with_property = 0, with_houses = 0, with_loans = 0, with_paid_loans = 0;
    std::set<int> news, fate;
    for (int seed = 101; seed < 114; ++seed) {
        for (int map = 0; map < 4; ++map) {
            const int players = 2 + (seed + map) % 3;
            const std::string args = std::to_string(seed) + " " + std::to_string(map) + " " +
                                     std::to_string(players) + " 300";
            const RunOutput r = run_runner(args);
            SCOPED_TRACE(args);
            EXPECT_EQ(first_broken(r.out), "");
            EXPECT_EQ(r.status, 0) << "the game did not reach its end";
            EXPECT_NE(r.out.find("end code="), std::string::npos);
            const Estate e = estate_on_last_day(r.out);
            if (e.plots > 0) ++with_property;
            if (e.houses) ++with_houses;
            const Loans l = loans_of(r.out);
            if (l.taken) ++with_loans;
            if (l.paid) ++with_paid_loans;
            collect_events(r.out, &news, &fate);
            ++games;
        }
    }
    EXPECT_EQ(games, 52);
    // The players buy land and build on it in (nearly) every game.
    EXPECT_GE(with_property, 48);
    EXPECT_GE(with_houses, 40);
    // And they borrow from the bank, and pay back or have it collected.
    EXPECT_GE(with_loans, 26);
    EXPECT_GE(with_paid_loans, 5);
    // The players meet most of the news events and fate rows.
    EXPECT_GE(news.size(), 18u);
    EXPECT_GE(fate.size(), 25u);
    EXPECT_LE(news.size(), 36u);
    EXPECT_LE(fate.size(), 49u);
}

TEST(Invariants, ASeedReplaysTheSameGame) {
    const RunOutput a = run_runner("77 2 4 300");
    const RunOutput b = run_runner("77 2 4 300");
    ASSERT_FALSE(a.out.empty());
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out.find(" | jackpot="), std::string::npos);
    EXPECT_NE(a.out.find(" | earn "), std::string::npos);
}

} // namespace
